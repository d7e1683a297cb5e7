// The example-sentence library of the text editing dialog: the class index ("Common/Text/Index.rbf") and
// the example files it names, both CP932 text.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One class of examples: its name and its example file, relative to ProgramFolder + "Common/".
struct TExampleClass
{
    QString name;
    QString file;

    bool operator==(const TExampleClass&) const = default;
};

// One example: its number counted from 1 in its file, and its lines (the first is its heading).
struct TExample
{
    int number = 0;
    QStringList lines;

    bool operator==(const TExample&) const = default;
};

// What was read, and whether the reading ran to its end; a malformed file keeps what came before the fault.
template <class T> struct TExampleRead
{
    QList<T> items;
    bool complete = true;
};

// The text's lines, broken at CR LF, LF or CR; a final line break starts no further line.
QStringList SplitExampleLines(const QString& text);
// A line split into fields at commas; outside double quotes, blanks and control characters also end a
// field and are skipped around separators; a doubled double quote inside quotes stands for one.
QStringList SplitExampleFields(const QString& line);

// The index: one class a line, up to the end or the first empty or blank line. A line without its second
// field ends the reading as incomplete.
TExampleRead<TExampleClass> ParseExampleIndex(const QByteArray& bytes);
// An example file: the count, then per example its line count and its lines. A count that is no decimal
// number, or lines missing at the end, end the reading as incomplete. An example of no lines is skipped.
TExampleRead<TExample> ParseExampleFile(const QByteArray& bytes);

// The path of a class's example file under commonFolder (ending in "/"), backslashes turned to slashes.
QString ExampleFilePath(const QString& commonFolder, const QString& file);
