// Industry category names ("dbctgry.dat"), name-search table working copies and the directory data check.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

class QWidget;

constexpr int MajorCategoryCount = 17;
constexpr int MaxMinorCategoryCode = 99;

// One entry of a category list: the name with its code (major 1..17, or major * 100 + minor).
struct CodedName
{
    QString name;
    int code = 0;
};
using CodedNameList = QList<CodedName>;

// Filled once at start-up and only read afterwards (also by the search threads).
extern CodedNameList MajorCategoryNames;
// List k holds the minor categories of major category k + 1, in file order.
extern std::array<CodedNameList, MajorCategoryCount> MinorCategoryLists;

// Rebuilds both lists from the CP932 bytes of the category file.
void ParseCategoryNames(const QByteArray& fileBytes);
// Rebuilds both lists from the file; when it cannot be read, says so once (the lists stay empty and the
// program goes on without category names) and answers false.
bool LoadCategoryNames(const QString& filePath);

// Empty when the code is not in the table.
QString GetMajorCategoryName(int major);
QString GetMinorCategoryName(int major, int minor);

// For each table family (the table file first, then its other members), when the table file is missing in
// categoryFolder, copies the family's members from programFolder + "Category/". categoryFolder is created
// when missing; copies that fail are skipped.
void CopyCategoryTables(const QString& programFolder, const QString& categoryFolder,
                        const QList<QStringList>& tableFamilies);

// Whether the directory data folder exists (the installed copy when hddInstalled, else the disc's);
// tells the user when it does not.
bool CheckPhoneDataPresent(bool hddInstalled, const QString& hddInstallFolder, const QString& discFolder,
                           QWidget* owner = nullptr);
