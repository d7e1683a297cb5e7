// The import run over a table fixture: append, update, the error file, the limit and failures.
#include "dataexchange/ImportRun.h"

#include "core/HisInfo.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

AnsiString A(const char* utf8) { return ToAnsi(QString::fromUtf8(utf8)); }

// Rows by RecNo; posts are kept apart until committed. Refusals and failures are injected by customer code.
class FakeTable : public TImportTable
{
public:
    std::map<qint32, TAdrsDataRec> rows, pending;
    qint64 extraCount = 0; // rows that are not in the map
    int commits = 0;

    qint64 RecordCount() override { return extraCount + qint64(rows.size() + pending.size()); }
    std::optional<qint32> FindCustomCode(const AnsiString& code) override
    {
        for (const auto* map : {&rows, &pending})
            for (const auto& [recNo, rec] : *map)
                if (rec.CustomCode.text() == code)
                    return recNo;
        return std::nullopt;
    }
    std::optional<TAdrsDataRec> ReadRecord(qint32 recNo) override
    {
        for (const auto* map : {&pending, &rows})
            if (auto it = map->find(recNo); it != map->end())
                return it->second;
        return std::nullopt;
    }
    bool Append(const TAdrsDataRec& rec) override
    {
        if (rec.CustomCode.text() == "REFUSE")
            return false;
        TAdrsDataRec stored = rec;
        stored.RecNo = ++m_last;
        pending[stored.RecNo] = stored;
        return true;
    }
    bool Update(const TAdrsDataRec& rec) override
    {
        if (rec.CustomCode.text() == "REFUSE")
            return false;
        pending[rec.RecNo] = rec;
        return true;
    }
    void Begin() override {}
    void Commit() override
    {
        for (auto& [recNo, rec] : pending)
            rows[recNo] = rec;
        pending.clear();
        ++commits;
    }
    qint32 add(const AnsiString& code, const AnsiString& corp = {})
    {
        TAdrsDataRec rec;
        rec.RecNo = ++m_last;
        rec.CustomCode = code;
        rec.CorpKanji = corp;
        rows[rec.RecNo] = rec;
        return rec.RecNo;
    }

private:
    qint32 m_last = 0;
};

// A device that fails after its bytes are read.
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

class ImportRunTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    FakeTable table;
    TImportMapping mapping;
    TImportRunSettings settings;
    TImportLookups lookups;
    THistoryData post{dir.filePath("Post.his"), true, 50};
    TImportHistories histories{{nullptr, &post, nullptr, nullptr, nullptr, nullptr}};
    QString errorPath = dir.filePath("InError.txt");

    void SetUp() override
    {
        post.Load();
        lookups.today = QDate(2024, 1, 1);
        lookups.now = QDateTime(lookups.today, QTime(9, 0));
        // Columns: code, company, post, latitude.
        mapping.SetPart(2, 1, 0, "code");
        mapping.SetPart(19, 1, 1, "corp");
        mapping.SetPart(22, 1, 2, "post");
        mapping.SetPart(15, 1, 3, "lat");
        settings.columnCount = 4;
        settings.skipFirst = true;
    }

    TImportRunResult run(QByteArray file)
    {
        QBuffer device(&file);
        device.open(QIODevice::ReadOnly);
        return run(device);
    }
    TImportRunResult run(QIODevice& device)
    {
        TImportErrorFile errors(errorPath);
        TImportRun importRun(settings, mapping, lookups, table, errors, histories);
        return importRun.Run(device);
    }
    QByteArray errorFile() const
    {
        QFile f(errorPath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
};

} // namespace

TEST_F(ImportRunTest, AppendRecordsRefusalsWithTheirLineNumbers)
{
    table.add("USED");
    const QByteArray file = "code,corp,post,lat\r\n"
                            "A-1,one," + A("課長") + ",\r\n"
                            "1,2,3,4,5\r\n"
                            "A_1,x,,\r\n"
                            "USED,x,,\r\n"
                            "B 2,two,,north\r\n"
                            "REFUSE,x,,\r\n"
                            "\r\n";
    const TImportRunResult result = run(file);
    EXPECT_EQ(result.readCount, 7);
    EXPECT_EQ(result.doneCount, 2);
    EXPECT_TRUE(result.failure.isEmpty());
    EXPECT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.rows.at(2).CorpKanji.text(), "one");
    EXPECT_EQ(errorFile(), "2," + A("１件目と項目数が不一致") + ",1,2,3,4,5\r\n"
                           "3," + A("顧客コードに使用不可な文字が含まれていた") + ",A_1,x,,\r\n"
                           "4," + A("同じ顧客コードのデータが登録済み") + ",USED,x,,\r\n"
                           "5," + A("その他のエラー") + ",B 2,two,,north\r\n"
                           "6," + A("アドレス帳登録失敗") + ",REFUSE,x,,\r\n");
    EXPECT_EQ(QFile(errorPath).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), 0);
    ASSERT_TRUE(post.Load());
    EXPECT_EQ(post.Count(), 1);
    EXPECT_EQ(post.GetText(0), A("課長"));

    // The same file again: every stored line is now a used code; the error file is replaced.
    const TImportRunResult again = run(file);
    EXPECT_EQ(again.doneCount, 1); // the empty line has no code
    EXPECT_TRUE(errorFile().startsWith("1," + A("同じ顧客コードのデータが登録済み") + ",A-1"));
}

TEST_F(ImportRunTest, RunWithoutErrorsLeavesTheOldErrorFile)
{
    QFile old(errorPath);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old\r\n");
    old.close();
    settings.skipFirst = false;
    EXPECT_EQ(run("X1,a,,\r\n").doneCount, 1);
    EXPECT_EQ(errorFile(), "old\r\n");
}

TEST_F(ImportRunTest, TheRecordLimitStopsTheRun)
{
    table.extraCount = ImportRecordLimit - 1;
    settings.skipFirst = false;
    const TImportRunResult result = run("a,,,\r\nb,,,\r\nc,,,\r\n");
    EXPECT_TRUE(result.limitReached);
    EXPECT_EQ(result.readCount, 2);
    EXPECT_EQ(result.doneCount, 1);
    EXPECT_EQ(errorFile(), "<none>");
}

TEST_F(ImportRunTest, UpdateByCustomCodeAndByRecordNumber)
{
    const qint32 first = table.add("K1", "old");
    table.add("K2", "same");
    settings.update = true;
    settings.matchByRecNo = false;
    mapping.ClearRow(2);
    const TImportRunResult byCode = run("code,corp,post,lat\r\nK1,new,,\r\nK2,same,,\r\nK9,x,,\r\n,x,,\r\n");
    EXPECT_EQ(byCode.doneCount, 1);
    EXPECT_EQ(table.rows.at(first).CorpKanji.text(), "new");
    EXPECT_EQ(errorFile(), "2," + A("内容が同じなので更新の必要が無い") + ",K2,same,,\r\n"
                           "3," + A("突き合わす項目と一致するデータが無い") + ",K9,x,,\r\n"
                           "4," + A("突き合わす項目と一致するデータが無い") + ",,x,,\r\n");

    settings.matchByRecNo = true;
    settings.matchColumn = 2;
    mapping.SetPart(2, 1, 0, "code");
    mapping.ClearRow(22);
    const TImportRunResult byNumber =
        run("code,corp,recno,lat\r\nK5,n,1,\r\nK2,n,1,\r\nK*,n,1,\r\nK3,n,x,\r\nK3,n,2,bad\r\n");
    EXPECT_EQ(byNumber.doneCount, 1);
    EXPECT_EQ(table.rows.at(first).CustomCode.text(), "K5");
    EXPECT_EQ(errorFile(), "2," + A("同じ顧客コードのデータが登録済み") + ",K2,n,1,\r\n"
                           "3," + A("顧客コードに使用不可な文字が含まれていた") + ",K*,n,1,\r\n"
                           "4," + A("突き合わす項目と一致するデータが無い") + ",K3,n,x,\r\n"
                           "5," + A("その他のエラー") + ",K3,n,2,bad\r\n");
}

TEST_F(ImportRunTest, ReadFailureKeepsWhatWasStoredAndSavesHistories)
{
    QByteArray file = "code,corp,post,lat\r\n";
    for (int i = 0; i < 1500; ++i)
        file += "C" + QByteArray::number(i) + ",x," + A("部長") + ",\r\n";
    FailingDevice device(file);
    const TImportRunResult result = run(device);
    EXPECT_FALSE(result.failure.isEmpty());
    EXPECT_EQ(result.readCount, 1500);
    EXPECT_EQ(result.doneCount, 1500);
    EXPECT_EQ(qint64(table.rows.size()), result.doneCount);
    EXPECT_TRUE(table.pending.empty());
    EXPECT_EQ(table.commits, 2);
    ASSERT_TRUE(post.Load());
    EXPECT_EQ(post.GetText(0), A("部長"));
}
