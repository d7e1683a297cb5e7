// In-memory INI file: case folding, typed reads, round trip and atomic write-back.
#include "platform/IniFile.h"
#include "platform/Cp932.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

namespace {

TEST(IniFile, NamesMatchIgnoringAsciiCaseOnly)
{
    TMemIniFile ini(QString{});
    ini.SetBytes(Cp932::fromUnicode(QStringLiteral("[Base]\r\nDataPath = /x/データ \r\nＡ=full\r\n")));
    EXPECT_EQ(ini.ReadString("BASE", "datapath", "-"), QStringLiteral("/x/データ"));
    EXPECT_TRUE(ini.SectionExists("base"));
    EXPECT_EQ(ini.ReadString("BASE", "Ａ", "-"), QStringLiteral("full"));
    EXPECT_EQ(ini.ReadString("BASE", "ａ", "-"), QStringLiteral("-")); // full-width letters are not folded
    ini.WriteString("base", "DATAPATH", "y");
    EXPECT_EQ(ini.ReadSection("BASE"), QStringList({"DataPath", "Ａ"}));
}

TEST(IniFile, IntegerAndBoolReadsFallBackWhenInvalid)
{
    TMemIniFile ini(QString{});
    ini.SetBytes("[S]\r\na=12\r\nb=x12\r\nc=\r\nd=$1F\r\ne=99999999999\r\nf=-3\r\n");
    struct Case
    {
        const char* key;
        int expected;
    } cases[] = {{"a", 12}, {"b", 7}, {"c", 7}, {"d", 31}, {"e", 7}, {"f", -3}, {"missing", 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(ini.ReadInteger("S", c.key, 7), c.expected);
    }
    EXPECT_TRUE(ini.ReadBool("S", "a", false));
    EXPECT_TRUE(ini.ReadBool("S", "b", true));
    EXPECT_FALSE(ini.ReadBool("S", "b", false));
}

TEST(IniFile, RoundTripKeepsOrderAndWritesCp932CrLf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.ini");
    {
        TMemIniFile ini(path);
        ini.WriteString("B", "k1", QStringLiteral("日本"));
        ini.WriteInteger("A", "n", 5);
        ini.WriteBool("B", "f", true);
        ASSERT_TRUE(ini.UpdateFile());
    }
    const QByteArray expected =
        "[B]\r\nk1=" + Cp932::fromUnicode(QStringLiteral("日本")) + "\r\nf=1\r\n\r\n[A]\r\nn=5\r\n";
    EXPECT_EQ(ReadFileBytes(path), expected);
    TMemIniFile again(path);
    EXPECT_EQ(again.ReadSections(), QStringList({"B", "A"}));
    again.DeleteKey("b", "K1");
    again.EraseSection("a");
    ASSERT_TRUE(again.UpdateFile());
    EXPECT_EQ(ReadFileBytes(path), QByteArray("[B]\r\nf=1\r\n"));
}

// A rewrite changes only the lines that were written: bytes CP932 cannot decode, comments, blank lines,
// spacing and a section that appears twice all come back as they were.
TEST(IniFile, RewriteKeepsUntouchedLinesByteForByte)
{
    const QByteArray original = "; settings\r\n"
                                "[A]\r\n"
                                "raw=\x80\xFD\xA0 bytes\r\n"
                                " spaced = value \r\n"
                                "\r\n"
                                "[B]\r\n"
                                "k=1\r\n"
                                "\r\n"
                                "[a]\r\n"
                                "second=2\r\n"
                                "\r\n";
    TMemIniFile ini(QString{});
    ini.SetBytes(original);
    EXPECT_EQ(ini.ToBytes(), original);
    // The two blocks of A read as one section.
    EXPECT_EQ(ini.ReadSections(), QStringList({"A", "B"}));
    EXPECT_EQ(ini.ReadString("A", "second", "-"), QStringLiteral("2"));
    EXPECT_EQ(ini.ReadSection("a"), QStringList({"raw", "spaced", "second"}));

    ini.WriteString("B", "k", "2");
    ini.WriteString("A", "spaced", "value"); // the same value: the line stays as it was
    ini.WriteString("A", "new", "3");
    ini.WriteString("C", "x", "y");
    EXPECT_EQ(ini.ToBytes(), QByteArray("; settings\r\n"
                                        "[A]\r\n"
                                        "raw=\x80\xFD\xA0 bytes\r\n"
                                        " spaced = value \r\n"
                                        "new=3\r\n"
                                        "\r\n"
                                        "[B]\r\n"
                                        "k=2\r\n"
                                        "\r\n"
                                        "[a]\r\n"
                                        "second=2\r\n"
                                        "\r\n"
                                        "[C]\r\n"
                                        "x=y\r\n"));
    ini.EraseSection("A");
    EXPECT_EQ(ini.ToBytes(), QByteArray("; settings\r\n\r\n[B]\r\nk=2\r\n\r\n[C]\r\nx=y\r\n"));
    EXPECT_FALSE(ini.SectionExists("a"));
}

TEST(IniFile, FailedWriteReportsAndCreatesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/t.ini");
    TMemIniFile ini(path);
    ini.WriteString("S", "k", "new");
    QString error;
    EXPECT_FALSE(ini.UpdateFile(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

} // namespace
