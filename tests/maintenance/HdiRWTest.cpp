// The install record reader on crafted files: every result code, and damaged values refused.
#include "maintenance/HdiRW.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray tagBytes(const QByteArray& tag)
{
    return char(tag.size()) + ScrambleInstallText(tag);
}

QByteArray entry(int number, int length, const QByteArray& path = {})
{
    QByteArray e;
    e += char(number);
    e += char(length & 0xFF);
    e += char((length >> 8) & 0xFF);
    e += ScrambleInstallText(path);
    return e;
}

TEST(HdiRW, ScrambleIsItsOwnInverse)
{
    EXPECT_EQ(ScrambleInstallText("abc"), QByteArray::fromHex("E9D9C9"));
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    EXPECT_EQ(UnscrambleInstallText(ScrambleInstallText(all)), all);
}

TEST(HdiRW, ResultCodesOnCraftedFiles)
{
    const QByteArray tag = tagBytes("Quenrid215");
    struct Case
    {
        const char* name;
        std::optional<QByteArray> file; // nullopt: no file at all
        int expected;
    } cases[] = {
        {"installed in the data root", tag + char(1) + entry(0, 0), irOk},
        {"no entries", tag + char(0), irOk},
        {"no file", std::nullopt, irNoFile},
        {"empty file", QByteArray(), irTagLength},
        {"tag cut short", tag.left(6), irTagShort},
        {"another program", tagBytes("Quenrid210") + char(1) + entry(0, 0), irOtherProgram},
        {"tag longer than any", tagBytes(QByteArray(40, 'Q')) + char(0), irOtherProgram},
        {"no entry count", tag, irCount},
        {"no entry number", tag + char(1), irEntryNumber},
        {"entry number above 6", tag + char(1) + entry(7, 0), irOutOfRange},
        {"path length above 260", tag + char(1) + entry(0, 261, QByteArray(261, 'a')), irOutOfRange},
        {"negative path length", tag + char(1) + entry(0, -2), irOutOfRange},
        {"path length cut short", tag + char(1) + char(0) + char(5), irPathLength},
        {"path cut short", tag + char(1) + entry(0, 10, "/abc"), irPathShort},
        {"second entry missing", tag + char(2) + entry(0, 0), irEntryNumber},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        TInstallRecord record;
        record.FilePath = dir.path() + "/Quenrid215.hdi";
        record.Tag = "Quenrid215";
        for (TInstallEntry& e : record.Entries)
            e.Length = 0;
        if (c.file) {
            QFile f(record.FilePath);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(*c.file);
        }
        EXPECT_EQ(ReadInstallRecord(record), c.expected);
        if (c.expected == irOk) {
            for (int i = 1; i < InstallEntryCount; ++i)
                EXPECT_EQ(record.Entries[i].Length, -1) << i;
        }
        if (c.expected == irOtherProgram) {
            EXPECT_EQ(record.Entries[0].Length, -1);
        }
    }
}

TEST(HdiRW, EntriesCarryTheirPaths)
{
    QTemporaryDir dir;
    TInstallRecord record;
    record.FilePath = dir.path() + "/Quenrid215.hdi";
    record.Tag = "Quenrid215";
    const QByteArray path = ToAnsi(QStringLiteral("/srv/電話帳"));
    QFile f(record.FilePath);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(tagBytes("Quenrid215") + char(3) + entry(2, int(path.size()), path) + entry(0, 0) + entry(5, -1) +
            "trailing bytes are ignored");
    f.close();
    ASSERT_EQ(ReadInstallRecord(record), irOk);
    EXPECT_EQ(record.Count, 3);
    EXPECT_EQ(record.Entries[0].Length, 0);
    EXPECT_TRUE(record.Entries[0].Path.isEmpty());
    EXPECT_EQ(record.Entries[2].Length, path.size());
    EXPECT_EQ(record.Entries[2].Path, path);
    EXPECT_EQ(record.Entries[5].Length, -1);
    EXPECT_EQ(record.Entries[1].Length, -1);
}

} // namespace
