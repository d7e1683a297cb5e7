// make_conversion_data: the mergers file built from a checked table beside a copy of the address dictionary,
// and the rows it refuses.
#include "platform/Cp932.h"
#include "support/TestFiles.h"
#include "support/ToolRun.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

const QString Tool = QStringLiteral(TOVAREL_PROGRAM_DIR "../tools/make_conversion_data");
const QString Fixture = QStringLiteral(TOVAREL_ADDRESS_FIXTURE_DIR);

TEST(MakeConversionData, BuildsTheFolderAndRefusesRowsTheDictionaryContradicts)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString table = dir.filePath(QStringLiteral("mergers.tsv"));
    const QString out = dir.filePath(QStringLiteral("AddConv"));
    WriteFileBytes(table, "# comment\n埼玉県\t浦和市\tさいたま市浦和区,さいたま市南区\t2001-05-01\n");
    ToolRun run = RunTool(Tool, {table, Fixture, out});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(ReadFileBytes(out + QStringLiteral("/Merger.dic")),
              QByteArray("TOVAREL MERGER 1\n") +
                  ToAnsi(QStringLiteral("埼玉県\t浦和市\tさいたま市浦和区\tさいたま市南区\n")));
    EXPECT_EQ(ReadFileBytes(out + QStringLiteral("/Adrs.dic")),
              ReadFileBytes(Fixture + QStringLiteral("Adrs.dic")));

    const struct
    {
        const char* row;
        const char* message;
    } bad[] = {
        {"埼玉県\t浦和市\tさいたま市浦和区\n", "four fields"},
        {"埼玉県\t浦和市\t浦和区\t2001-05-01\n", "no municipality"},  // today's name without its city
        {"埼玉県\t川口市\tさいたま市南区\t2001-05-01\n", "of today"}, // not a former municipality
        {"埼玉都\t浦和市\tさいたま市南区\t2001-05-01\n", "no prefecture"},
    };
    for (const auto& c : bad) {
        WriteFileBytes(table, c.row);
        run = RunTool(Tool, {table, Fixture, out});
        EXPECT_EQ(run.exitCode, 1) << c.row;
        EXPECT_TRUE(run.err.contains(c.message)) << c.row << run.err.toStdString();
    }
}

} // namespace
