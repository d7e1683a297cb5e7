// tablestore: CSV round trip through a table, refused loads that leave nothing behind, usage errors.
#include "core/TableDefs.h"
#include "platform/TableEngine.h"
#include "support/TestFiles.h"
#include "support/ToolRun.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

ToolRun tablestore(const QStringList& args, const QString& workDir)
{
    return RunTool(QStringLiteral(TOVAREL_PROGRAM_DIR "tablestore"), args, workDir);
}

class TableStoreTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const char* name) const { return m_dir.path() + QLatin1Char('/') + QLatin1String(name); }
    void write(const char* name, const QByteArray& bytes) const { WriteFileBytes(path(name), bytes); }
    QTemporaryDir m_dir;
};

TEST_F(TableStoreTest, LoadThenDumpGivesTheSameCsvBytes)
{
    const QString golden = QStringLiteral(TOVAREL_TEST_DATA_DIR "tablestore/Category.csv");
    const ToolRun load = tablestore({"load", "Category.DB", golden}, m_dir.path());
    ASSERT_EQ(load.exitCode, 0) << load.err.toStdString();
    EXPECT_EQ(TableRowCount(path("Category.DB")), 5);

    const ToolRun toFile = tablestore({"dump", "Category.DB", "out.csv"}, m_dir.path());
    ASSERT_EQ(toFile.exitCode, 0) << toFile.err.toStdString();
    EXPECT_EQ(ReadFileBytes(path("out.csv")), ReadFileBytes(golden));
    const ToolRun toStdout = tablestore({"dump", "Category.DB"}, m_dir.path());
    EXPECT_EQ(toStdout.out, ReadFileBytes(golden));

    // The loaded table carries the program's password.
    TableSession bare;
    Table t(bare);
    t.setTableName(path("Category.DB"));
    EXPECT_THROW(t.open(), TableNoPasswordError);
}

TEST_F(TableStoreTest, RefusedLoadLeavesTheTableAsItWas)
{
    const QByteArray header = "RecNo,Kana\r\n";
    const QByteArray tooLong = header + "1,abc\r\n2," + QByteArray(31, 'k') + "\r\n";

    ToolRun r = tablestore({"load", "Category.DB", path("long.csv")}, m_dir.path());
    EXPECT_EQ(r.exitCode, 1) << "missing CSV file";

    write("long.csv", tooLong);
    r = tablestore({"load", "Category.DB", "long.csv"}, m_dir.path());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("record 2")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("Category.DB"))) << "a table made for a failed load is removed";

    write("good.csv", header + "1,abc\r\n");
    ASSERT_EQ(tablestore({"load", "Category.DB", "good.csv"}, m_dir.path()).exitCode, 0);
    const struct
    {
        const char* why;
        QByteArray csv;
    } bad[] = {
        {"too long", header + "5,x\r\n6," + QByteArray(31, 'k') + "\r\n"},
        {"key taken", header + "5,x\r\n1,y\r\n"},
        {"value count", header + "5,x\r\n6\r\n"},
        {"open quote", header + "5,\"x\r\n"},
        {"unknown field", "RecNo,Nope\r\n5,x\r\n"},
    };
    for (const auto& c : bad) {
        SCOPED_TRACE(c.why);
        write("bad.csv", c.csv);
        EXPECT_EQ(tablestore({"load", "Category.DB", "bad.csv"}, m_dir.path()).exitCode, 1);
        EXPECT_EQ(TableRowCount(path("Category.DB")), 1);
    }
}

TEST_F(TableStoreTest, CreateMakesAnEmptyTableAndUsageErrorsAreTold)
{
    ASSERT_EQ(tablestore({"create", "Adrs.DB"}, m_dir.path()).exitCode, 0);
    const ToolRun dump = tablestore({"dump", "Adrs.DB"}, m_dir.path());
    ASSERT_EQ(dump.exitCode, 0);
    EXPECT_EQ(dump.out.count(','), 84);
    EXPECT_TRUE(dump.out.startsWith("RecNo,Group,CustomCode,Tel,"));
    EXPECT_EQ(tablestore({"create", "Adrs.DB"}, m_dir.path()).exitCode, 1) << "an existing table stays";

    EXPECT_EQ(tablestore({"create", "Other.DB"}, m_dir.path()).exitCode, 1);
    EXPECT_EQ(tablestore({"frobnicate"}, m_dir.path()).exitCode, 2);
    EXPECT_EQ(tablestore({}, m_dir.path()).exitCode, 2);
}

} // namespace
