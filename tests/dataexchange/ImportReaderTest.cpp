// Reading the import file: line ends, field counting, completion of short lines and the item texts.
#include "dataexchange/ImportReader.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

AnsiString A(const char* utf8) { return ToAnsi(QString::fromUtf8(utf8)); }

QList<AnsiString> ReadAll(QByteArray bytes)
{
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    TImportLineReader reader(device);
    QList<AnsiString> lines;
    AnsiString line;
    while (reader.ReadLine(line))
        lines.append(line);
    return lines;
}

// A device that fails after its first bytes.
class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(QByteArray head) : m_head(std::move(head)) { open(ReadOnly); }

protected:
    qint64 readData(char* data, qint64 max) override
    {
        if (m_head.isEmpty())
            return -1;
        const qint64 n = qMin<qint64>(max, m_head.size());
        memcpy(data, m_head.constData(), size_t(n));
        m_head.remove(0, n);
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_head;
};

} // namespace

TEST(ImportReaderTest, EveryLineEndEndsALine)
{
    EXPECT_EQ(ReadAll("a\r\nb\nc\rd"), QList<AnsiString>({"a", "b", "c", "d"}));
    EXPECT_EQ(ReadAll("a\r\n\r\n"), QList<AnsiString>({"a", ""}));
    EXPECT_EQ(ReadAll("\r\r"), QList<AnsiString>({"", ""}));
    EXPECT_EQ(ReadAll(""), QList<AnsiString>());
    // A CR LF split across the reader's chunks is one line end.
    QByteArray big(64 * 1024 - 1, 'x');
    big += "\r\ny";
    const QList<AnsiString> lines = ReadAll(big);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1], "y");
    QByteArray device = "1\r\n2\r\n3";
    QBuffer buffer(&device);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_EQ(CountImportLines(buffer, true), 2);
}

TEST(ImportReaderTest, ReadFailureIsAnError)
{
    FailingDevice device("a\r\nb");
    TImportLineReader reader(device);
    AnsiString line;
    EXPECT_THROW(
        {
            while (reader.ReadLine(line)) {
            }
        },
        EImportReadError);
}

TEST(ImportReaderTest, SeparatorsOutsideQuotesAndDoubleByteCharacters)
{
    struct Case
    {
        AnsiString line;
        int count;
    };
    for (const Case& c : {Case{"", 0}, Case{"a,\"b,c\",d", 2}, Case{"\"open,a,b", 0}, Case{A("表,ソ,x"), 2},
                          Case{"\x82,", 0}, Case{"a,\x82", 1}, Case{QByteArray(3000, ','), 3000}})
        EXPECT_EQ(CountFieldSeparators(c.line), c.count) << c.line.toStdString();
    EXPECT_EQ(ImportPreviewFields("a,\"b,c\",d"), QList<AnsiString>({"a", "\"b,c\"", "d"}));
    EXPECT_EQ(ImportPreviewFields(""), QList<AnsiString>({""}));
}

TEST(ImportReaderTest, DataLinesAreCompletedSplitAndJoined)
{
    TImportMapping m;
    m.SetPart(24, 1, 1, "b");
    m.AddConstant(24, QStringLiteral("様"));
    m.AddColumn(24, 0, "a");
    m.SetPart(3, 1, 2, "c");
    TImportLine line;

    PrepareImportLine("a,\"b,c\",d", 3, 0, m, line);
    EXPECT_EQ(line.errorCode, 0);
    EXPECT_EQ(line.Item(24), A("b,c様a"));
    EXPECT_EQ(line.Item(3), "d");
    EXPECT_EQ(line.matchKey, "a");

    PrepareImportLine("x", 3, 2, m, line);
    EXPECT_EQ(line.line, "x,,");
    EXPECT_EQ(line.Item(24), A("様x"));
    EXPECT_EQ(line.matchKey, "");

    PrepareImportLine("\"\",\"q\"\"q\",", 3, 0, m, line);
    EXPECT_EQ(line.Item(24), A("q\"\"q様"));

    PrepareImportLine("1,2,3,4", 3, 0, m, line);
    EXPECT_EQ(line.errorCode, ImportColumnCountError);
    EXPECT_EQ(line.line, "1,2,3,4");
    EXPECT_EQ(line.Item(24), "");
}
