// Tests of the name dictionary library DlName99a.dll and of the tool that builds its dictionary.
#include "DlName99a.h"
#include "platform/Cp932.h"
#include "platform/LibraryLoader.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

namespace {

const QString FixtureFolder = QStringLiteral(TOVAREL_TEST_DATA_DIR "NameDic/");

struct Api
{
    LibraryLoader::Handle handle = nullptr;
    TDLNMCount seiCount = nullptr, meiCount = nullptr;
    TDLNMList seiList = nullptr, meiList = nullptr;

    Api()
    {
        handle = LibraryLoader::Load(QStringLiteral(TOVAREL_PROGRAM_DIR), QStringLiteral("DlName99a.dll"));
        seiCount = reinterpret_cast<TDLNMCount>(LibraryLoader::Symbol(handle, DLNMSeiCountName));
        meiCount = reinterpret_cast<TDLNMCount>(LibraryLoader::Symbol(handle, DLNMMeiCountName));
        seiList = reinterpret_cast<TDLNMList>(LibraryLoader::Symbol(handle, DLNMSeiListName));
        meiList = reinterpret_cast<TDLNMList>(LibraryLoader::Symbol(handle, DLNMMeiListName));
    }
    ~Api() { LibraryLoader::Free(handle); }
};

QByteArray sj(const char* utf8)
{
    return Cp932::fromUnicode(QString::fromUtf8(utf8));
}

// "reading/word" of each record, both as UTF-8, up to the first zero of each field.
QStringList describe(const std::vector<TNameCandidateRec>& recs)
{
    QStringList out;
    for (const TNameCandidateRec& r : recs) {
        char reading[12], word[12];
        std::memcpy(reading, r.Reading, 12);
        std::memcpy(word, r.Word, 12);
        out << Cp932::toUnicode(QByteArray(reading, int(qstrnlen(reading, 12)))) + u'/' +
                   Cp932::toUnicode(QByteArray(word, int(qstrnlen(word, 12))));
    }
    return out;
}

class DlName99aTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(api.seiCount && api.meiCount && api.seiList && api.meiList); }

    int count(bool given, const QByteArray& reading, int32_t* n, const QString& folder = FixtureFolder)
    {
        return (given ? api.meiCount : api.seiCount)(reading.constData(), 0, n,
                                                     QFile::encodeName(folder).constData());
    }
    int list(bool given, const QByteArray& reading, std::vector<TNameCandidateRec>& recs,
             const QString& folder = FixtureFolder)
    {
        return (given ? api.meiList : api.seiList)(reading.constData(), 0, recs.data(), int32_t(recs.size()),
                                                   QFile::encodeName(folder).constData());
    }

    Api api;
};

} // namespace

TEST_F(DlName99aTest, PrefixLookupsAgainstTheFixture)
{
    struct Case
    {
        bool given;
        const char* reading;
        int rc;
        int count;
        const char* first; // first candidate, "" when none
        const char* last;
    };
    const Case cases[] = {
        {false, "ｻﾄｳ", 0, 7, "ｻﾄｳ/佐藤", "ｻﾄｳ/砂東"},
        {false, "ｻﾄ", 0, 14, "ｻﾄｳ/佐藤", "ｻﾄﾐ/里美"},
        {false, "ｻﾄﾀ", 0, 5, "ｻﾄﾀﾞ/里田", "ｻﾄﾀﾞ/智田"}, // the voiced mark is a byte of its own
        {false, "ｻﾄﾀﾞ", 0, 5, "ｻﾄﾀﾞ/里田", "ｻﾄﾀﾞ/智田"},
        {false, "ｻﾄﾅ", 8, 0, "", ""},
        {false, "ｻﾄｼ", 8, 0, "", ""}, // a given name only
        {true, "ｻﾄ", 0, 2, "ｻﾄｼ/聡", "ｻﾄｼ/智"},
        {true, "ｻﾄｳ", 8, 0, "", ""},
        {true, "ﾋﾛ", 0, 10, "ﾋﾛｺ/裕子", "ﾋﾛﾐ/裕美"},
        {false, "", 8, 0, "", ""},
        {false, "ﾖｼﾀﾞ", 0, 1, "ﾖｼﾀﾞ/吉田", "ﾖｼﾀﾞ/吉田"}, // the name without a CP932 form was left out
        {false, "ﾀﾅｶ", 0, 2, "ﾀﾅｶ/田中", "ﾀﾅｶ/田仲"},    // the repeated line once
        // The 11-byte limit of a record field: an 11-byte reading is kept and found whole, longer ones were
        // left out and a longer prefix finds nothing.
        {false, "ｷﾞｮｳｼﾞｮｳｶﾞﾜ", 0, 1, "ｷﾞｮｳｼﾞｮｳｶﾞﾜ/京城川", "ｷﾞｮｳｼﾞｮｳｶﾞﾜ/京城川"},
        {false, "ｷﾞｮｳｼﾞｮｳｶﾞﾜｱ", 8, 0, "", ""},
        {false, "ﾋｶﾞｼ", 8, 0, "", ""},
        {false, "ｶﾃﾞﾉ", 0, 1, "ｶﾃﾞﾉｺｳｼﾞ/勘解由小路", "ｶﾃﾞﾉｺｳｼﾞ/勘解由小路"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf8(c.reading).toStdString() + (c.given ? " given" : " surname"));
        int32_t n = -1;
        EXPECT_EQ(count(c.given, sj(c.reading), &n), c.rc);
        EXPECT_EQ(n, c.count);
        std::vector<TNameCandidateRec> recs(std::max(c.count, 1));
        std::memset(recs.data(), 0, recs.size() * sizeof(TNameCandidateRec));
        EXPECT_EQ(list(c.given, sj(c.reading), recs), c.rc);
        if (c.count > 0) {
            const QStringList got = describe(recs);
            EXPECT_EQ(got.first(), QString::fromUtf8(c.first));
            EXPECT_EQ(got.last(), QString::fromUtf8(c.last));
        }
        for (const TNameCandidateRec& r : recs) {
            char copy[24];
            std::memcpy(copy, &r, 24);
            EXPECT_EQ(copy[11], 0) << "reading without its zero";
            EXPECT_EQ(copy[23], 0) << "written form without its zero";
        }
    }
}

TEST_F(DlName99aTest, ListFillsAtMostTheGivenCountAndLeavesTheRestZero)
{
    std::vector<TNameCandidateRec> recs(3);
    std::memset(recs.data(), 0, sizeof(TNameCandidateRec) * 3);
    ASSERT_EQ(list(false, sj("ｻﾄｳ"), recs), 0);
    EXPECT_EQ(describe(recs), (QStringList{"ｻﾄｳ/佐藤", "ｻﾄｳ/佐東", "ｻﾄｳ/左藤"}));

    std::vector<TNameCandidateRec> more(4);
    std::memset(more.data(), 0, sizeof(TNameCandidateRec) * 4);
    ASSERT_EQ(list(false, sj("ﾀﾅｶ"), more), 0);
    EXPECT_EQ(describe(more), (QStringList{"ﾀﾅｶ/田中", "ﾀﾅｶ/田仲", "/", "/"}));
}

TEST_F(DlName99aTest, BadArgumentsAndMissingOrDamagedDictionaries)
{
    const QByteArray folder = QFile::encodeName(FixtureFolder);
    int32_t n = 5;
    TNameCandidateRec rec;
    EXPECT_EQ(api.seiCount(nullptr, 0, &n, folder.constData()), DLNM_BAD_ARGUMENT);
    EXPECT_EQ(api.seiCount(sj("ｻﾄｳ").constData(), 1, &n, folder.constData()), DLNM_BAD_ARGUMENT);
    EXPECT_EQ(api.seiCount(sj("ｻﾄｳ").constData(), 0, nullptr, folder.constData()), DLNM_BAD_ARGUMENT);
    EXPECT_EQ(api.seiCount(sj("ｻﾄｳ").constData(), 0, &n, nullptr), DLNM_BAD_ARGUMENT);
    EXPECT_EQ(api.meiList(sj("ﾋﾛｼ").constData(), 0, &rec, -1, folder.constData()), DLNM_BAD_ARGUMENT);
    EXPECT_EQ(api.meiList(sj("ﾋﾛｼ").constData(), 0, nullptr, 1, folder.constData()), DLNM_BAD_ARGUMENT);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    n = 5;
    EXPECT_EQ(count(false, sj("ｻﾄｳ"), &n, dir.path()), DLNM_NO_DICTIONARY);
    EXPECT_EQ(n, 0);

    const QByteArray good = sj("ｻﾄｳ\t佐藤\n");
    struct Case
    {
        const char* what;
        QByteArray bytes;
    };
    const Case damaged[] = {
        {"unsorted", sj("ｽｽﾞｷ\t鈴木\nｻﾄｳ\t佐藤\n")},
        {"reading of 12 bytes", sj("ｷﾞｮｳｼﾞｮｳｶﾞﾜｱ\t京城川\n")},
        {"written form of 12 bytes", sj("ｻﾄｳ\t東三条西洞院\n")},
        {"no written form", sj("ｻﾄｳ\n")},
        {"last line unterminated", sj("ｻﾄｳ\t佐藤")},
        {"zero byte", QByteArray("\xbb\xc4\xb3\t\x00\x8d\xb2\n", 8)},
    };
    const QString path = dir.filePath(QLatin1String(NameDicSeiFile));
    for (const Case& c : damaged) {
        SCOPED_TRACE(c.what);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.bytes);
        f.close();
        EXPECT_EQ(count(false, sj("ｻﾄｳ"), &n, dir.path()), DLNM_BAD_DICTIONARY);
        // Mended in place: the next call sees the new file.
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(good);
        f.close();
        EXPECT_EQ(count(false, sj("ｻﾄｳ"), &n, dir.path()), 0);
        EXPECT_EQ(n, 1);
    }
}

TEST_F(DlName99aTest, ConcurrentLookupsAgreeAndTheBuiltDictionaryIsInstalled)
{
    const QString installed = QStringLiteral(TOVAREL_PROGRAM_DIR "Dic/");
    int32_t sato = 0, hiroshi = 0;
    ASSERT_EQ(count(false, sj("ｻﾄｳ"), &sato, installed), 0);
    ASSERT_EQ(count(true, sj("ﾋﾛｼ"), &hiroshi, installed), 0);
    std::vector<TNameCandidateRec> first(1);
    std::memset(first.data(), 0, sizeof(TNameCandidateRec));
    ASSERT_EQ(list(false, sj("ｻﾄｳ"), first, installed), 0);
    EXPECT_EQ(describe(first).value(0), QStringLiteral("ｻﾄｳ/佐藤"));

    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            const QByteArray folder = QFile::encodeName(t % 2 ? installed : FixtureFolder);
            const QByteArray sato = sj("ｻﾄｳ"), hiro = sj("ﾋﾛｼ");
            const int32_t wantSato = t % 2 ? 0 : 7, wantHiro = t % 2 ? 0 : 7;
            for (int i = 0; i < 300; ++i) {
                int32_t a = 0, b = 0;
                api.seiCount(sato.constData(), 0, &a, folder.constData());
                api.meiCount(hiro.constData(), 0, &b, folder.constData());
                if (t % 2 == 0 && (a != wantSato || b != wantHiro))
                    ++mismatches;
                if (t % 2 == 1 && (a == 0 || b == 0))
                    ++mismatches;
            }
        });
    }
    for (std::thread& th : threads)
        th.join();
    EXPECT_EQ(mismatches.load(), 0);
}

TEST(MakeNameDictionaryTest, RebuildsTheFixtureByteForByteAndRefusesMalformedLists)
{
    const QString tool = QStringLiteral(TOVAREL_PROGRAM_DIR "../tools/make_name_dictionary");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcess p;
    p.start(tool, {FixtureFolder + QStringLiteral("names.tsv"), dir.path()});
    ASSERT_TRUE(p.waitForFinished(30000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_TRUE(p.readAllStandardOutput().contains(
        "left out: 2 longer than 11 bytes, 1 without a CP932 form, 1 repeated"));
    for (const char* file : {NameDicSeiFile, NameDicMeiFile}) {
        SCOPED_TRACE(file);
        QFile built(dir.filePath(QLatin1String(file))), fixture(FixtureFolder + QLatin1String(file));
        ASSERT_TRUE(built.open(QIODevice::ReadOnly) && fixture.open(QIODevice::ReadOnly));
        EXPECT_EQ(built.readAll(), fixture.readAll());
    }

    struct Case
    {
        const char* line;
        const char* message;
    };
    const Case bad[] = {
        {"sei\tサトウ\n", ":2: expected"},
        {"sir\tサトウ\t佐藤\n", ":2: expected"},
        {"sei\t佐藤\t佐藤\n", ":2: the reading"},
    };
    for (const Case& c : bad) {
        SCOPED_TRACE(c.line);
        QFile list(dir.filePath(QStringLiteral("bad.tsv")));
        ASSERT_TRUE(list.open(QIODevice::WriteOnly | QIODevice::Truncate));
        list.write(QByteArray("# comment\n") + QByteArray(c.line));
        list.close();
        p.start(tool, {list.fileName(), dir.filePath(QStringLiteral("out"))});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_NE(p.exitCode(), 0);
        EXPECT_TRUE(p.readAllStandardError().contains(c.message));
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("out/NmSei.dic"))));
    }
}
