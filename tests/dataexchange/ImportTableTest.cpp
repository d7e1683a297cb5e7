// The import's table operations on a real Adrs.DB: every field written reads back, look-ups by code.
#include "dataexchange/ImportTable.h"

#include "core/TableDefs.h"
#include "platform/TableEngine.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

AnsiString A(const char* utf8)
{
    return ToAnsi(QString::fromUtf8(utf8));
}

class ImportTableTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_session.addPassword(TablePassword);
        Table::createTable(m_dir.filePath("Adrs.DB"), AdrsTableDef(), TablePassword);
        table.setDatabaseName(m_dir.path());
        table.setTableName(QStringLiteral("Adrs.DB"));
        table.open();
    }

    QTemporaryDir m_dir;
    TableSession m_session;

public:
    Table table{m_session};
};

} // namespace

TEST_F(ImportTableTest, AppendedAndUpdatedRecordsReadBack)
{
    TAdrsImportTable target(table);
    TImportTexts texts;
    const auto set = [&](int item, const AnsiString& text) { texts[std::size_t(item - 1)] = text; };
    set(2, "C-1");
    set(3, "0312345678");
    set(10, A("東京都千代田区") + QByteArray(40, '1'));
    set(24, A("山田"));
    set(31, A("花子"));
    set(36, A("様"));
    set(55, A(" 趣味 "));
    set(63, "a\tb");
    set(64, A("秘密"));
    set(77, "0000FF");
    TImportLookups lookups;
    lookups.today = QDate(2024, 1, 1);
    lookups.now = QDateTime(lookups.today, QTime(8, 0, 1));
    const TAdrsDataRec image = BuildAppendRecord(texts, {}, lookups);

    target.Begin();
    ASSERT_TRUE(target.Append(image));
    target.Commit();
    EXPECT_EQ(target.RecordCount(), 1);
    const std::optional<qint32> recNo = target.FindCustomCode("C-1");
    ASSERT_TRUE(recNo);
    EXPECT_FALSE(target.FindCustomCode("C-2"));

    std::optional<TAdrsDataRec> back = target.ReadRecord(*recNo);
    ASSERT_TRUE(back);
    TAdrsDataRec expected = image;
    expected.RecNo = *recNo;
    expected.Keyword1 = A("趣味"); // the record reading trims
    EXPECT_EQ(*back, expected);

    back->CorpKanji = A("会社");
    target.Begin();
    ASSERT_TRUE(target.Update(*back));
    target.Commit();
    EXPECT_EQ(target.ReadRecord(*recNo)->CorpKanji.text(), A("会社"));
    EXPECT_FALSE(target.ReadRecord(*recNo + 1));
}

TEST_F(ImportTableTest, CodeLookUpsFollowTheStoredLines)
{
    // Two records already share a code: the first in index order (the lower RecNo) answers.
    qint32 first = 0;
    for (const char* code : {"DUP", "DUP", "OLD"}) {
        table.append();
        table.fieldByName(QStringLiteral("CustomCode")).setAnsi(code);
        const qint32 recNo = qint32(table.post());
        first = first ? first : recNo;
    }
    TAdrsImportTable target(table);
    EXPECT_EQ(target.FindCustomCode("DUP"), first);
    EXPECT_FALSE(target.FindCustomCode("dup")); // the index compares exactly

    target.Begin();
    TAdrsDataRec rec;
    rec.CustomCode = "NEW";
    ASSERT_TRUE(target.Append(rec));
    std::optional<TAdrsDataRec> old = target.ReadRecord(*target.FindCustomCode("OLD"));
    ASSERT_TRUE(old);
    old->CustomCode = "MOVED";
    ASSERT_TRUE(target.Update(*old));
    std::optional<TAdrsDataRec> dup = target.ReadRecord(first);
    dup->CustomCode = "";
    ASSERT_TRUE(target.Update(*dup));
    target.Commit();
    EXPECT_TRUE(target.FindCustomCode("NEW"));
    EXPECT_FALSE(target.FindCustomCode("OLD"));
    EXPECT_EQ(target.FindCustomCode("MOVED"), old->RecNo);
    EXPECT_EQ(target.FindCustomCode("DUP"), first + 1);
}
