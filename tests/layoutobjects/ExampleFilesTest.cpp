// Example-sentence library files: field splitting, the index's end and faults, example files and their
// faults, and the library the program ships.
#include "layoutobjects/ExampleFiles.h"

#include "support/AnsiText.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(ExampleFiles, FieldsSplitAtCommasBlanksAndQuotes)
{
    const struct
    {
        const char* line;
        QStringList fields;
    } cases[] = {
        {"年賀,Text/a.rbf", {"年賀", "Text/a.rbf"}},
        {"  年賀 , Text/a.rbf  ", {"年賀", "Text/a.rbf"}},
        {"New Year,a.rbf", {"New", "Year", "a.rbf"}},
        {"\"New Year\",a.rbf", {"New Year", "a.rbf"}},
        {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a", ""}},
        {"\"open", {"open"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(SplitExampleFields(QString::fromUtf8(c.line)), c.fields);
    }
}

TEST(ExampleFiles, IndexEndsAtBlankLineAndStopsAtAMissingField)
{
    const struct
    {
        const char* text;
        int classes;
        bool complete;
    } cases[] = {
        {"年賀,a.rbf\r\nお礼,b.rbf\r\n", 2, true},
        {"年賀,a.rbf\r\nお礼,b.rbf\r\n\r\n季節,c.rbf\r\n", 2, true},
        {"年賀,a.rbf\r\nお礼,b.rbf\r\n   \r\n季節,c.rbf\r\n", 2, true},
        {"年賀,a.rbf\nお礼\n季節,c.rbf\n", 1, false},
        {"", 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto read = ParseExampleIndex(A(c.text));
        EXPECT_EQ(read.items.size(), c.classes);
        EXPECT_EQ(read.complete, c.complete);
    }
    EXPECT_EQ(ParseExampleIndex(A("a b,c\r\n")).items.value(0), (TExampleClass{"a", "b"}));
}

TEST(ExampleFiles, ExamplesKeepTheirLinesAndStopAtAFault)
{
    const auto read = ParseExampleFile(A("2\r\n3\r\nA\r\nB\r\nC\r\n1\r\nD\r\n"));
    EXPECT_TRUE(read.complete);
    ASSERT_EQ(read.items.size(), 2);
    EXPECT_EQ(read.items[0], (TExample{1, {"A", "B", "C"}}));
    EXPECT_EQ(read.items[1], (TExample{2, {"D"}}));

    const struct
    {
        const char* text;
        int examples;
    } faults[] = {{"x\r\n1\r\nA\r\n", 0},           {"-1\r\n", 0},          {"3\r\n1\r\nA\r\nzz\r\nB\r\n", 1},
                  {"2\r\n1\r\nA\r\n4\r\nB\r\n", 1}, {"5\r\n1\r\nA\r\n", 1}, {"", 0}};
    for (const auto& c : faults) {
        SCOPED_TRACE(c.text);
        const auto bad = ParseExampleFile(A(c.text));
        EXPECT_FALSE(bad.complete);
        EXPECT_EQ(bad.items.size(), c.examples);
    }
    // An example of no lines gives no row; the numbers stay those of the file.
    const auto empty = ParseExampleFile(A("2\r\n0\r\n1\r\nB\r\n"));
    ASSERT_EQ(empty.items.size(), 1);
    EXPECT_EQ(empty.items[0].number, 2);
}

TEST(ExampleFiles, ShippedLibraryReadsWhole)
{
    const QString common = QStringLiteral(TOVAREL_PROGRAM_DIR) + QStringLiteral("Common/");
    QFile index(common + QStringLiteral("Text/Index.rbf"));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    const QByteArray indexBytes = index.readAll();
    EXPECT_TRUE(indexBytes.contains("\r\n"));
    const auto classes = ParseExampleIndex(indexBytes);
    EXPECT_TRUE(classes.complete);
    EXPECT_GE(classes.items.size(), 8);
    for (const TExampleClass& c : classes.items) {
        SCOPED_TRACE(c.name.toStdString());
        QFile file(ExampleFilePath(common, c.file));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const auto examples = ParseExampleFile(file.readAll());
        EXPECT_TRUE(examples.complete);
        EXPECT_GE(examples.items.size(), 5);
        EXPECT_LE(examples.items.size(), 15);
        for (const TExample& e : examples.items)
            for (const QString& line : e.lines)
                EXPECT_LE(line.size(), 40) << line.toStdString();
    }
}

} // namespace
