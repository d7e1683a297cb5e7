// Category name file, name lookups, table working copies, directory data check and the shipped data.
#include "core/CategoryNames.h"

#include "platform/Cp932.h"
#include "support/AnsiText.h"
#include "support/MessageRecorder.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString W(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// A category file with every kind of line the reader must skip, mixed line ends, no final line end.
QByteArray mixedCategoryFile()
{
    QByteArray b;
    b += A("1,1,農林水産業,耕種農業\r\n");
    b += A("1,2,農林水産業,畜産農業\r\n");
    b += A("3,4,製造業,印刷\r\n");
    b += A("3,0,製造業,零\r\n");       // minor 0
    b += A("3,5,別名の製造業,製本\n"); // same major: only the minor name counts
    b += A("2,1,建設業,総合工事\r\n");
    b += A("4,1,卸売業,各種,商品\r\n"); // a name with a comma: four commas
    b += A("4,2,卸売業\r\n");           // two commas
    b += A("4,100,卸売業,百\r\n");
    b += A("18,1,謎,謎\r\n");
    b += A("0,1,謎,謎\r\n");
    b += A("x,1,謎,謎\r\n");
    b += A("\r\n");
    // A lead byte swallows the comma after it: the line has three separating commas, not four.
    b += A("5,1,小売業") + "\x81" + A(",X,店\r\n");
    b += A(" 6 , 2 ,飲食,食堂");
    return b;
}

TEST(CategoryNames, FileRules)
{
    ParseCategoryNames(mixedCategoryFile());

    struct Major
    {
        int code;
        const char* name;
    };
    const Major majors[] = {{1, "農林水産業"}, {3, "製造業"}, {2, "建設業"}, {5, nullptr}, {6, "飲食"}};
    ASSERT_EQ(MajorCategoryNames.size(), std::size(majors));
    for (size_t i = 0; i < std::size(majors); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(MajorCategoryNames[i].code, majors[i].code);
        if (majors[i].name) {
            EXPECT_EQ(MajorCategoryNames[i].name, W(majors[i].name));
        }
    }

    struct Minor
    {
        int list;
        QList<int> codes;
    };
    const Minor minors[] = {{0, {101, 102}}, {1, {201}}, {2, {304, 305}}, {3, {}},
                            {4, {501}},      {5, {602}}, {16, {}}};
    for (const Minor& m : minors) {
        SCOPED_TRACE(m.list);
        QList<int> codes;
        for (const CodedName& e : MinorCategoryLists[m.list])
            codes.append(e.code);
        EXPECT_EQ(codes, m.codes);
    }
    EXPECT_EQ(MinorCategoryLists[2][1].name, W("製本"));
    EXPECT_EQ(MinorCategoryLists[4][0].name, W("店"));
}

TEST(CategoryNames, Lookups)
{
    ParseCategoryNames(mixedCategoryFile());
    struct Case
    {
        int major;
        int minor;
        const char* majorName;
        const char* minorName;
    };
    const Case cases[] = {
        {3, 5, "製造業", "製本"},
        {3, 6, "製造業", ""},
        {3, 0, "製造業", ""},
        {2, 105, "建設業", ""}, // 2 * 100 + 105 is the code of 製本, but not in the list of major 2
        {4, 1, "", ""},
        {0, 1, "", ""},
        {18, 1, "", ""},
        {-1, 1, "", ""},
        {1, 2, "農林水産業", "畜産農業"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1/%2").arg(c.major).arg(c.minor).toStdString());
        EXPECT_EQ(GetMajorCategoryName(c.major), W(c.majorName));
        EXPECT_EQ(GetMinorCategoryName(c.major, c.minor), W(c.minorName));
    }
}

TEST(CategoryNames, UnreadableFileStopsOnceAndLeavesEmptyLists)
{
    QTemporaryDir dir;
    const QString paths[] = {dir.filePath("Dic/dbctgry.dat"), dir.path()};
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        ParseCategoryNames(mixedCategoryFile());
        MessageRecorder recorder;
        recorder.answer(MsgSeam::IdOk);
        EXPECT_FALSE(LoadCategoryNames(path));
        ASSERT_EQ(recorder.count(), 1);
        EXPECT_EQ(recorder.last().source, MsgSeam::Source::Application);
        EXPECT_EQ(recorder.last().flags, unsigned(MsgSeam::MbIconStop));
        EXPECT_EQ(recorder.last().caption, W("Tovarel"));
        EXPECT_TRUE(recorder.last().text.contains(path));
        EXPECT_TRUE(MajorCategoryNames.isEmpty());
        for (const CodedNameList& list : MinorCategoryLists)
            EXPECT_TRUE(list.isEmpty());
        EXPECT_EQ(GetMinorCategoryName(1, 1), QString());
    }
}

TEST(CategoryNames, ShippedFileHasSeventeenMajors)
{
    const QString path = QStringLiteral(TOVAREL_PROGRAM_DIR "Dic/dbctgry.dat");
    MessageRecorder recorder;
    ASSERT_TRUE(LoadCategoryNames(path));
    ASSERT_EQ(MajorCategoryNames.size(), MajorCategoryCount);
    const QByteArray bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
    qsizetype minors = 0;
    for (int k = 0; k < MajorCategoryCount; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(MajorCategoryNames[k].code, k + 1);
        EXPECT_FALSE(MajorCategoryNames[k].name.isEmpty());
        EXPECT_FALSE(MinorCategoryLists[k].isEmpty());
        QSet<int> codes;
        for (const CodedName& e : MinorCategoryLists[k])
            codes.insert(e.code);
        EXPECT_EQ(codes.size(), MinorCategoryLists[k].size()) << "minor codes repeat";
        minors += MinorCategoryLists[k].size();
    }
    // Every line of the shipped file is a valid one.
    EXPECT_EQ(minors, bytes.count("\r\n"));
    EXPECT_EQ(GetMajorCategoryName(3), W("製造業"));
}

struct PresenceCase
{
    const char* label;
    bool hddInstalled;
    QString hddFolder;
    QString discFolder;
    bool present;
    const char* message; // nullptr: no message
};

TEST(CategoryNames, CheckPhoneDataPresent)
{
    QTemporaryDir dir;
    const QString hdd = dir.filePath("hdd/");
    const QString hddEmpty = dir.filePath("hddEmpty/");
    const QString disc = dir.filePath("disc");
    const QString discEmpty = dir.filePath("discEmpty");
    QDir().mkpath(hdd + "Dt00");
    QDir().mkpath(hddEmpty);
    QDir().mkpath(disc + "/Quenrid215");
    QDir().mkpath(discEmpty);
    const char* hddText = "Tovarelの電話帳データがHDD内に見つかりません  \r\n確認してください  ";
    const char* discText = "Tovarelのディスクを入れてください  ";

    const PresenceCase cases[] = {
        {"installed", true, hdd, discEmpty, true, nullptr},
        {"installed, folder without slash", true, dir.filePath("hdd"), discEmpty, true, nullptr},
        {"installed copy gone, disc present", true, hddEmpty, disc, false, hddText},
        {"installed, no folder", true, QString(), disc, false, hddText},
        {"disc present", false, hddEmpty, disc, true, nullptr},
        {"disc drive empty", false, hdd, discEmpty, false, discText},
        {"disc folder missing", false, hdd, dir.filePath("nodrive"), false, discText},
        {"no disc drive at all", false, hdd, QString(), false, discText},
    };
    for (const PresenceCase& c : cases) {
        SCOPED_TRACE(c.label);
        MessageRecorder recorder;
        if (c.message)
            recorder.answer(MsgSeam::IdOk);
        EXPECT_EQ(CheckPhoneDataPresent(c.hddInstalled, c.hddFolder, c.discFolder), c.present);
        ASSERT_EQ(recorder.count(), c.message ? 1 : 0);
        if (!c.message)
            continue;
        const MsgSeam::Request& r = recorder.last();
        EXPECT_EQ(r.text, W(c.message));
        EXPECT_EQ(r.caption, W("Tovarel"));
        EXPECT_EQ(r.flags, 64u);
        EXPECT_EQ(r.mode, 2);
        EXPECT_EQ(r.source, MsgSeam::Source::Positioned);
        EXPECT_EQ(r.owner, nullptr);
    }
}

TEST(CategoryNames, CopyCategoryTablesCopiesOnlyMissingTables)
{
    QTemporaryDir dir;
    const QString program = dir.filePath("prog/");
    const QString shipped = program + "Category/";
    const QString working = dir.filePath("data/Morvane/Category/"); // parents missing too
    const QList<QStringList> families = {{"Category.DB", "Category.PX", "Category.X02"},
                                         {"Target.DB", "Target.PX"},
                                         {"Exception.DB", "Exception.PX"}};
    WriteFileBytes(shipped + "Category.DB", "shipped category");
    WriteFileBytes(shipped + "Category.PX", "shipped category px");
    // Category.X02 is not shipped.
    WriteFileBytes(shipped + "Target.DB", "shipped target");
    WriteFileBytes(shipped + "Target.PX", "shipped target px");
    WriteFileBytes(shipped + "Exception.DB", "shipped exception");
    WriteFileBytes(shipped + "Exception.PX", "shipped exception px");
    QFile::setPermissions(shipped + "Category.DB", QFileDevice::ReadOwner | QFileDevice::ReadGroup);

    // Target is already there: it keeps the user's rows. A stale member of a missing table is replaced.
    WriteFileBytes(working + "Target.DB", "user target");
    WriteFileBytes(working + "Exception.PX", "stale");

    CopyCategoryTables(program.chopped(1), working, families);

    struct Expect
    {
        const char* file;
        const char* content; // nullptr: absent
    };
    const Expect expects[] = {{"Category.DB", "shipped category"},
                              {"Category.PX", "shipped category px"},
                              {"Category.X02", nullptr},
                              {"Target.DB", "user target"},
                              {"Target.PX", nullptr},
                              {"Exception.DB", "shipped exception"},
                              {"Exception.PX", "shipped exception px"}};
    for (const Expect& e : expects) {
        SCOPED_TRACE(e.file);
        const QString path = working + e.file;
        EXPECT_EQ(QFile::exists(path), e.content != nullptr);
        if (e.content) {
            EXPECT_EQ(ReadFileBytes(path), QByteArray(e.content));
        }
    }
    EXPECT_TRUE(QFile::permissions(working + "Category.DB") & QFileDevice::WriteOwner);
    EXPECT_EQ(QDir(working).entryList(QDir::Files).size(), 5) << "no temporary copies left behind";

    // A second start copies nothing over the working tables.
    WriteFileBytes(working + "Category.DB", "user category");
    CopyCategoryTables(program, working, families);
    EXPECT_EQ(ReadFileBytes(working + "Category.DB"), QByteArray("user category"));
}

// The seed tables' sources: every value must fit its field in CP932 and every search name a kana row.
QList<QList<QString>> readCsv(const QString& name, const QStringList& header)
{
    QFile f(QStringLiteral(TOVAREL_SOURCE_DIR "data/") + name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    EXPECT_FALSE(lines.isEmpty());
    if (lines.isEmpty())
        return {};
    EXPECT_EQ(lines.first().split(','), header);
    QList<QList<QString>> rows;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList values = lines[i].split(',');
        EXPECT_EQ(values.size(), header.size()) << name.toStdString() << " line " << i + 1;
        EXPECT_FALSE(lines[i].contains('"'));
        EXPECT_EQ(values.value(0), QString::number(i - 1)) << name.toStdString() << " line " << i + 1;
        if (values.size() == header.size())
            rows.append(values);
    }
    return rows;
}

int bytesOf(const QString& text)
{
    EXPECT_TRUE(Cp932::canEncode(text)) << text.toStdString();
    return int(ToAnsi(text).size());
}

TEST(CategoryNames, SeedTableSources)
{
    const auto categories = readCsv("Category.csv", {"RecNo", "AxsDateTime", "Original", "Kana", "Kanji"});
    EXPECT_GE(categories.size(), 200);
    QHash<QString, QString> kanaOf;
    const QByteArray rowHeads = A("ｱｶｻﾀﾅﾊﾏﾔﾗﾜﾝ");
    QList<int> perRow(10, 0);
    for (const auto& row : categories) {
        SCOPED_TRACE(row[4].toStdString());
        EXPECT_TRUE(row[1].isEmpty());
        EXPECT_EQ(row[2], "False");
        EXPECT_LE(bytesOf(row[3]), 30);
        EXPECT_LE(bytesOf(row[4]), 50);
        const QByteArray kana = ToAnsi(row[3]);
        for (char ch : kana)
            EXPECT_TRUE(uchar(ch) >= 0xA1 && uchar(ch) <= 0xDF) << "half-width katakana only";
        for (int k = 0; k < 10; ++k) {
            if (!kana.isEmpty() && uchar(kana[0]) >= uchar(rowHeads[k]) &&
                uchar(kana[0]) < uchar(rowHeads[k + 1]))
                ++perRow[k];
        }
        EXPECT_FALSE(kanaOf.contains(row[4])) << "search name twice";
        kanaOf.insert(row[4], row[3]);
    }
    for (int k = 0; k < 10; ++k)
        EXPECT_GT(perRow[k], 0) << "kana row " << k << " is empty";
    EXPECT_EQ(perRow[0] + perRow[1] + perRow[2] + perRow[3] + perRow[4] + perRow[5] + perRow[6] + perRow[7] +
                  perRow[8] + perRow[9],
              categories.size());

    for (const char* table : {"Target.csv", "Exception.csv"}) {
        SCOPED_TRACE(table);
        const auto rows = readCsv(table, {"RecNo", "Name", "Category", "CategoryKana", "Show"});
        EXPECT_GE(rows.size(), 40);
        QSet<QString> seen;
        for (const auto& row : rows) {
            SCOPED_TRACE(row[1].toStdString());
            EXPECT_LE(bytesOf(row[1]), 60);
            EXPECT_NE(row[1], row[2]) << "a search name never includes or excludes itself";
            EXPECT_EQ(kanaOf.value(row[2]), row[3]) << "the search name and its reading come from Category";
            EXPECT_TRUE(row[4] == "True" || row[4] == "False");
            EXPECT_FALSE(seen.contains(row[2] + '\t' + row[1]));
            seen.insert(row[2] + '\t' + row[1]);
        }
    }
}

} // namespace
