// Reading the example-sentence index and example files.
#include "layoutobjects/ExampleFiles.h"

#include "platform/Cp932.h"

namespace {

bool isBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 0x20;
}

// A whole decimal number, with blanks around it allowed; false for anything else or a negative one.
bool readCount(const QString& line, int& count)
{
    const QString text = line.trimmed();
    if (text.isEmpty() || text.size() > 9)
        return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    count = text.toInt();
    return true;
}

} // namespace

QStringList SplitExampleLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

QStringList SplitExampleFields(const QString& line)
{
    QStringList fields;
    const qsizetype n = line.size();
    qsizetype p = 0;
    while (p < n && isBlank(line[p]))
        ++p;
    while (p < n) {
        QString field;
        if (line[p] == QLatin1Char('"')) {
            ++p;
            while (p < n) {
                if (line[p] == QLatin1Char('"')) {
                    if (p + 1 < n && line[p + 1] == QLatin1Char('"')) {
                        field += QLatin1Char('"');
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                field += line[p++];
            }
        } else {
            const qsizetype start = p;
            while (p < n && !isBlank(line[p]) && line[p] != QLatin1Char(','))
                ++p;
            field = line.mid(start, p - start);
        }
        fields.append(field);
        while (p < n && isBlank(line[p]))
            ++p;
        if (p < n && line[p] == QLatin1Char(',')) {
            if (p + 1 == n)
                fields.append(QString());
            do
                ++p;
            while (p < n && isBlank(line[p]));
        }
    }
    return fields;
}

TExampleRead<TExampleClass> ParseExampleIndex(const QByteArray& bytes)
{
    TExampleRead<TExampleClass> read;
    for (const QString& line : SplitExampleLines(ToWide(bytes))) {
        if (line.trimmed().isEmpty())
            break;
        const QStringList fields = SplitExampleFields(line);
        if (fields.size() < 2) {
            read.complete = false;
            break;
        }
        read.items.append({fields[0], fields[1]});
    }
    return read;
}

TExampleRead<TExample> ParseExampleFile(const QByteArray& bytes)
{
    TExampleRead<TExample> read;
    const QStringList lines = SplitExampleLines(ToWide(bytes));
    qsizetype next = 0;
    int count = 0;
    if (lines.isEmpty() || !readCount(lines[next++], count)) {
        read.complete = false;
        return read;
    }
    for (int k = 1; k <= count; ++k) {
        int lineCount = 0;
        if (next >= lines.size() || !readCount(lines[next++], lineCount) || lineCount > lines.size() - next) {
            read.complete = false;
            break;
        }
        if (lineCount > 0)
            read.items.append({k, lines.mid(next, lineCount)});
        next += lineCount;
    }
    return read;
}

QString ExampleFilePath(const QString& commonFolder, const QString& file)
{
    QString relative = file;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return commonFolder + relative;
}
