// Industry category names, the working copies of the name-search tables and the directory data check.
#include "core/CategoryNames.h"

#include "core/AppSub.h"
#include "core/MsgBoxPos.h"
#include "platform/Cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>

CodedNameList MajorCategoryNames;
std::array<CodedNameList, MajorCategoryCount> MinorCategoryLists;

namespace {

// A code field: decimal digits, blanks around them tolerated.
bool codeField(const AnsiString& field, int low, int high, int& value)
{
    bool ok = false;
    value = field.trimmed().toInt(&ok);
    return ok && value >= low && value <= high;
}

QList<AnsiString> splitLines(const QByteArray& bytes)
{
    QByteArray text = bytes;
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    return text.split('\n');
}

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// Copies through a temporary name, so that an interrupted copy never looks like a finished member.
void copyMember(const QString& source, const QString& target)
{
    if (!QFileInfo(source).isFile())
        return;
    const QString temp = target + QLatin1String(".copying");
    QFile::remove(temp);
    if (!QFile::copy(source, temp))
        return;
    // The shipped files may be read-only; the working copies are written to.
    QFile::setPermissions(temp, QFile::permissions(temp) | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(temp).toStdString(), QFile::encodeName(target).toStdString(),
                            ec);
    if (ec)
        QFile::remove(temp);
}

bool folderExists(const QString& path)
{
    return QFileInfo(path).isDir();
}

void showDataMissing(QWidget* owner, const QString& text)
{
    MessageBoxPos(owner, text, ProductTitle, MsgSeam::MbIconInformation, 2);
}

} // namespace

void ParseCategoryNames(const QByteArray& fileBytes)
{
    MajorCategoryNames.clear();
    for (CodedNameList& list : MinorCategoryLists)
        list.clear();

    int lastMajor = -1;
    for (const AnsiString& line : splitLines(fileBytes)) {
        // Only commas that are characters of their own separate fields.
        if (CountSubstring(line, ",") != 3)
            continue;
        QList<AnsiString> fields{line};
        SplitText(fields, 3, SplitDelimiter, 0, ",");
        int major = 0;
        int minor = 0;
        if (!codeField(fields[0], 1, MajorCategoryCount, major) ||
            !codeField(fields[1], 1, MaxMinorCategoryCode, minor))
            continue;
        MinorCategoryLists[major - 1].append({ToWide(fields[3]), major * 100 + minor});
        if (major != lastMajor) {
            MajorCategoryNames.append({ToWide(fields[2]), major});
            lastMajor = major;
        }
    }
}

bool LoadCategoryNames(const QString& filePath)
{
    QFile file(filePath);
    QByteArray bytes;
    bool read = QFileInfo(filePath).isFile() && file.open(QIODevice::ReadOnly);
    if (read) {
        bytes = file.readAll();
        read = file.error() == QFileDevice::NoError;
    }
    if (!read) {
        ParseCategoryNames({});
        ApplicationMessageBox(
            QStringLiteral("業種名のファイルが読み込めませんでした  \r\n%1  \r\n業種名は表示されません  ")
                .arg(filePath),
            MsgSeam::MbIconStop);
        return false;
    }
    ParseCategoryNames(bytes);
    return true;
}

QString GetMajorCategoryName(int major)
{
    for (const CodedName& entry : MajorCategoryNames) {
        if (entry.code == major)
            return entry.name;
    }
    return {};
}

QString GetMinorCategoryName(int major, int minor)
{
    if (major < 1 || major > MajorCategoryCount)
        return {};
    const int code = major * 100 + minor;
    for (const CodedName& entry : MinorCategoryLists[major - 1]) {
        if (entry.code == code)
            return entry.name;
    }
    return {};
}

void CopyCategoryTables(const QString& programFolder, const QString& categoryFolder,
                        const QList<QStringList>& tableFamilies)
{
    const QString target = withSlash(categoryFolder);
    QDir().mkpath(target);
    const QString source = withSlash(programFolder) + QLatin1String("Category/");
    for (const QStringList& family : tableFamilies) {
        if (family.isEmpty() || QFileInfo::exists(target + family.first()))
            continue;
        // The table file goes last: until it is there, the next start copies the family again.
        for (qsizetype i = family.size() - 1; i >= 0; --i)
            copyMember(source + family[i], target + family[i]);
    }
}

bool CheckPhoneDataPresent(bool hddInstalled, const QString& hddInstallFolder, const QString& discFolder,
                           QWidget* owner)
{
    // An empty folder means there is nothing to look at, not the file system's root.
    if (hddInstalled) {
        if (!hddInstallFolder.isEmpty() && folderExists(withSlash(hddInstallFolder) + QLatin1String("Dt00/")))
            return true;
        showDataMissing(
            owner, QStringLiteral("Tovarelの電話帳データがHDD内に見つかりません  \r\n確認してください  "));
        return false;
    }
    if (!discFolder.isEmpty() && folderExists(withSlash(discFolder) + QLatin1String("Quenrid215/")))
        return true;
    showDataMissing(owner, QStringLiteral("Tovarelのディスクを入れてください  "));
    return false;
}
