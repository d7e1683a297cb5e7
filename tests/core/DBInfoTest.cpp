// Data module: table creation through it, counted shared opens, exclusive opens, failures told by the
// fixed messages, the history lists, the table file families and opens across processes.
#include "core/DBInfo.h"
#include "core/MainSettings.h"
#include "core/TableDefs.h"
#include "support/HolderProcess.h"
#include "support/MessageRecorder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>
#include <iostream>
#include <string>

namespace {

// Helper mode of this executable: a data module over DBINFO_HOLD_DATA holds Sender.DB ("shared" or
// "exclusive" in DBINFO_HOLD_MODE) until its standard input closes. Prints "open" or "failed".
const int g_holdHelper = [] {
    const QByteArray data = qgetenv("DBINFO_HOLD_DATA");
    if (data.isEmpty())
        return 0;
    MsgSeam::SetHandler([](const MsgSeam::Request&) { return int(MsgSeam::IdOk); });
    DataFolder = QString::fromLocal8Bit(data);
    SetDataSubFolders();
    bool opened = false;
    {
        TDMQuenrid215 dm;
        dm.CreateSenderTable();
        opened = qgetenv("DBINFO_HOLD_MODE") == "exclusive" ? dm.OpenSenderExclusive() : dm.OpenSender();
        std::cout << (opened ? "open" : "failed") << std::endl;
        std::string line;
        while (opened && std::getline(std::cin, line)) {
        }
    }
    std::_Exit(0);
}();

class DBInfoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_root = m_dir.path() + QStringLiteral("/");
        DataRootFolder = m_root + QStringLiteral("root/");
        DataFolder = DataRootFolder + QStringLiteral("Data/");
        CategoryFolder = DataRootFolder + QStringLiteral("Category/");
        SetDataSubFolders();
        QDir().mkpath(AdrsFolder);
        m_dm = std::make_unique<TDMQuenrid215>();
    }
    void TearDown() override { m_dm.reset(); }

    static QString book(const QString& folder = QStringLiteral("Book")) { return AdrsFolder + folder + "/"; }

    // Everything in a folder, hidden files included.
    static QStringList entries(const QString& folder)
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    // The engine's lock files come and go with opens; they are no table files.
    static QStringList withoutLocks(QStringList names)
    {
        names.removeIf([](const QString& n) { return n.endsWith(".lck"); });
        return names;
    }

    QTemporaryDir m_dir;
    QString m_root;
    std::unique_ptr<TDMQuenrid215> m_dm;
};

TEST_F(DBInfoTest, AdrsTableIsCreatedWithItsDefinitionAndPassword)
{
    MessageRecorder rec;
    QDir().mkpath(book());
    m_dm->CreateAdrsTable("Book");
    ASSERT_TRUE(m_dm->OpenAdrs());
    Table* t = m_dm->AdrsTable();
    ASSERT_TRUE(t->active());
    EXPECT_EQ(t->databaseName(), book());
    EXPECT_FALSE(t->exclusive());
    EXPECT_TRUE(t->indexName().isEmpty());
    EXPECT_EQ(t->recordCount(), 0);

    const TableDef expected = AdrsTableDef();
    const TableDef& def = t->definition();
    ASSERT_EQ(def.fields.size(), 85);
    ASSERT_EQ(def.indexes.size(), 22);
    for (int i = 0; i < 85; ++i) {
        SCOPED_TRACE(def.fields[i].name.toStdString());
        EXPECT_EQ(def.fields[i].name, expected.fields[i].name);
        EXPECT_EQ(def.fields[i].type, expected.fields[i].type);
        EXPECT_EQ(def.fields[i].size, expected.fields[i].size);
    }
    for (int i = 0; i < 22; ++i) {
        EXPECT_EQ(def.indexes[i].name, expected.indexes[i].name);
        EXPECT_EQ(def.indexes[i].fields, expected.indexes[i].fields);
        EXPECT_EQ(def.indexes[i].caseInsensitive, expected.indexes[i].caseInsensitive);
    }
    // The book folder holds the table and the engine's lock file, nothing half made.
    EXPECT_EQ(entries(book()), QStringList({"Adrs.DB", "Adrs.DB.lck"}));

    // A session without the table password is refused.
    TableSession bare;
    Table other(bare);
    other.setDatabaseName(book());
    other.setTableName("Adrs.DB");
    EXPECT_THROW(other.open(), TableNoPasswordError);
    EXPECT_EQ(rec.count(), 0);
}

TEST_F(DBInfoTest, SharedOpensAreCountedAndFreeingDropsTheCount)
{
    MessageRecorder rec;
    QDir().mkpath(book());
    m_dm->CreateAdrsTable("Book");
    Table* t = m_dm->AdrsTable();
    ASSERT_TRUE(m_dm->OpenAdrs());
    ASSERT_TRUE(m_dm->OpenAdrs());
    EXPECT_EQ(m_dm->OpenCount(TDMQuenrid215::tkAdrs), 2);
    m_dm->CloseAdrs();
    EXPECT_TRUE(t->active()) << "one reference is left";
    m_dm->CloseAdrs();
    EXPECT_FALSE(t->active());
    m_dm->CloseAdrs();
    EXPECT_EQ(m_dm->OpenCount(TDMQuenrid215::tkAdrs), 0) << "a close too many is ignored";
    EXPECT_EQ(m_dm->AdrsTable(), t) << "closing keeps the object";

    // References of a freed object must not make the next object's first open look done.
    ASSERT_TRUE(m_dm->OpenAdrs());
    ASSERT_TRUE(m_dm->OpenAdrs());
    m_dm->FreeAdrsTable();
    EXPECT_EQ(m_dm->AdrsTable(), nullptr);
    EXPECT_EQ(m_dm->OpenCount(TDMQuenrid215::tkAdrs), 0);
    m_dm->CreateAdrsTable("Book");
    ASSERT_TRUE(m_dm->OpenAdrs());
    EXPECT_TRUE(m_dm->AdrsTable()->active());
    EXPECT_EQ(m_dm->OpenCount(TDMQuenrid215::tkAdrs), 1);
    EXPECT_EQ(rec.count(), 0);
}

TEST_F(DBInfoTest, FailedOpenTellsAndTakesNoReferenceThenOpensOnceTheCauseIsGone)
{
    struct Case
    {
        const char* name;
        std::function<void()> cause;
        std::function<void()> remedy;
    } cases[] = {
        {"missing book folder", [] {}, [] { QDir().mkpath(book()); }},
        {"locked by an exclusive open",
         [this] {
             QDir().mkpath(book());
             Table::createTable(book() + "Adrs.DB", AdrsTableDef(), TablePassword);
             MessageRecorder none;
             ASSERT_TRUE(m_dm->OpenAdrsExclusive("Book"));
         },
         [this] { m_dm->CloseAdrsExclusive(); }},
        {"damaged file",
         [] {
             QDir().mkpath(book());
             WriteFileBytes(book() + "Adrs.DB", QByteArray(4096, 'x'));
         },
         [] { QFile::remove(book() + "Adrs.DB"); }},
        {"creation stopped half way",
         [] {
             QDir().mkpath(book());
             TableEngine::setCreateFailureStep(3);
         },
         [] { TableEngine::setCreateFailureStep(0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(AdrsFolder).removeRecursively();
        QDir().mkpath(AdrsFolder);
        c.cause();
        const QStringList before = entries(AdrsFolder);
        const QStringList beforeBook = withoutLocks(entries(book()));
        QByteArray damaged;
        if (QFile f(book() + "Adrs.DB"); c.name == std::string("damaged file") && f.open(QIODevice::ReadOnly))
            damaged = f.readAll();
        m_dm->CreateAdrsTable("Book");
        {
            MessageRecorder rec;
            rec.answer(MsgSeam::IdOk);
            EXPECT_FALSE(m_dm->OpenAdrs());
            ASSERT_EQ(rec.count(), 1);
            EXPECT_EQ(rec.last().text, QStringLiteral("アドレス帳ファイルがオープンできませんでした  "));
            EXPECT_EQ(rec.last().caption, QStringLiteral("Tovarel"));
            EXPECT_EQ(rec.last().flags, 16u);
            EXPECT_EQ(rec.last().source, MsgSeam::Source::Application);
        }
        EXPECT_EQ(m_dm->OpenCount(TDMQuenrid215::tkAdrs), 0);
        // Nothing made outside the book, and a damaged file is left as it was.
        EXPECT_EQ(entries(AdrsFolder), before);
        EXPECT_EQ(withoutLocks(entries(book())), beforeBook);
        if (!damaged.isEmpty()) {
            QFile f(book() + "Adrs.DB");
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_EQ(f.readAll(), damaged);
        }
        c.remedy();
        MessageRecorder rec;
        EXPECT_TRUE(m_dm->OpenAdrs());
        EXPECT_EQ(m_dm->OpenCount(TDMQuenrid215::tkAdrs), 1);
        m_dm->FreeAdrsTable();
    }
}

TEST_F(DBInfoTest, OtherTablesCreateTheirFoldersAndOpenProtected)
{
    MessageRecorder rec;
    ASSERT_FALSE(QFileInfo::exists(OtherFolder));
    m_dm->CreateSenderTable();
    m_dm->CreateCategoryTables();
    struct Case
    {
        TDMQuenrid215::TTableKind kind;
        QString folder;
        QString file;
        int fields;
    } cases[] = {
        {TDMQuenrid215::tkSender, OtherFolder, "Sender.DB", 42},
        {TDMQuenrid215::tkCategory, CategoryFolder, "Category.DB", 5},
        {TDMQuenrid215::tkTarget, CategoryFolder, "Target.DB", 5},
        {TDMQuenrid215::tkException, CategoryFolder, "Exception.DB", 5},
        {TDMQuenrid215::tkOriginal, OtherFolder, "Original.DB", 6},
    };
    const std::function<bool()> opens[] = {
        [&] { return m_dm->OpenSender(); },   [&] { return m_dm->OpenCategory(); },
        [&] { return m_dm->OpenTarget(); },   [&] { return m_dm->OpenException(); },
        [&] { return m_dm->OpenOriginal(); },
    };
    for (int i = 0; i < 5; ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.file.toStdString());
        ASSERT_TRUE(opens[i]());
        Table* t = m_dm->SharedTable(c.kind);
        EXPECT_TRUE(t->active());
        EXPECT_EQ(t->filePath(), c.folder + c.file);
        EXPECT_EQ(t->definition().fields.size(), c.fields);
        TableSession bare;
        Table other(bare);
        other.setDatabaseName(c.folder);
        other.setTableName(c.file);
        EXPECT_THROW(other.open(), TableNoPasswordError);
    }
    m_dm->CloseSender();
    m_dm->FreeCategoryTables();
    for (auto kind : {TDMQuenrid215::tkCategory, TDMQuenrid215::tkTarget, TDMQuenrid215::tkException,
                      TDMQuenrid215::tkOriginal}) {
        EXPECT_EQ(m_dm->SharedTable(kind), nullptr);
        EXPECT_EQ(m_dm->OpenCount(kind), 0);
    }
}

TEST_F(DBInfoTest, ExclusiveOpensCreateNothingAndConflictWithSharedOnes)
{
    QDir().mkpath(book());
    {
        MessageRecorder rec;
        rec.answer(MsgSeam::IdOk).answer(MsgSeam::IdOk);
        EXPECT_FALSE(m_dm->OpenAdrsExclusive("Book"));
        EXPECT_FALSE(m_dm->OpenSenderExclusive());
        ASSERT_EQ(rec.count(), 2);
        EXPECT_EQ(rec.messages()[0].text,
                  QStringLiteral("アドレス帳ファイルがオープンできませんでした（サブ）  "));
        EXPECT_EQ(rec.messages()[1].text,
                  QStringLiteral("差出人ファイルがオープンできませんでした（サブ）  "));
        EXPECT_EQ(rec.last().flags, 16u);
        EXPECT_TRUE(entries(book()).isEmpty());
        EXPECT_FALSE(QFileInfo::exists(OtherFolder));
        // The object stays until its close frees it.
        EXPECT_NE(m_dm->AdrsExclusiveTable(), nullptr);
        m_dm->CloseAdrsExclusive();
        m_dm->CloseSenderExclusive();
        EXPECT_EQ(m_dm->AdrsExclusiveTable(), nullptr);
    }

    MessageRecorder rec;
    rec.allowUnexpected();
    m_dm->CreateAdrsTable("Book");
    ASSERT_TRUE(m_dm->OpenAdrs());
    EXPECT_FALSE(m_dm->OpenAdrsExclusive("Book")) << "the shared open is in the way";
    m_dm->CloseAdrs();
    ASSERT_TRUE(m_dm->OpenAdrsExclusive("Book"));
    EXPECT_TRUE(m_dm->AdrsExclusiveTable()->exclusive());
    EXPECT_FALSE(m_dm->OpenAdrs());
    m_dm->CloseAdrsExclusive();
    EXPECT_TRUE(m_dm->OpenAdrs());
    EXPECT_EQ(rec.count(), 2);
}

TEST_F(DBInfoTest, SharedAndExclusiveOpensConflictBetweenProcesses)
{
    MessageRecorder rec;
    rec.allowUnexpected();
    m_dm->CreateSenderTable();
    ASSERT_TRUE(m_dm->CreateSenderFile());
    auto startHolder = [&](QProcess& p, const char* mode) {
        return StartHolder(p, {{"DBINFO_HOLD_DATA", DataFolder}, {"DBINFO_HOLD_MODE", QLatin1String(mode)}});
    };
    {
        QProcess holder;
        ASSERT_EQ(startHolder(holder, "exclusive"), "open");
        EXPECT_FALSE(m_dm->OpenSender());
        EXPECT_FALSE(m_dm->OpenSenderExclusive());
        m_dm->CloseSenderExclusive();
        StopHolder(holder);
    }
    {
        QProcess holder;
        ASSERT_EQ(startHolder(holder, "shared"), "open");
        EXPECT_TRUE(m_dm->OpenSender());
        m_dm->CloseSender();
        EXPECT_FALSE(m_dm->OpenSenderExclusive());
        m_dm->CloseSenderExclusive();
        StopHolder(holder);
    }
    ASSERT_TRUE(m_dm->OpenSenderExclusive());
    QProcess holder;
    EXPECT_EQ(startHolder(holder, "shared"), "failed");
    holder.waitForFinished(20000);
    m_dm->CloseSenderExclusive();
    EXPECT_EQ(rec.count(), 3);
}

TEST_F(DBInfoTest, HistoryListsLoadOnConnectAndGoWithTheDatabase)
{
    QDir().mkpath(HistoryFolder);
    WriteFileBytes(HistoryFolder + "Post.mtd", MtdHistoryFile::Encode({{45000.5, "abc"}}));
    WriteFileBytes(HistoryFolder + "Dptmnt.mtd", QByteArray("\x05\x00\x00", 3)); // damaged

    m_dm->InitDatabase();
    ASSERT_NE(m_dm->Database(), nullptr);
    EXPECT_EQ(m_dm->Database()->DatabaseName(), DataFolder);
    struct Case
    {
        THistoryData* list;
        QString file;
        int itemSize;
    } cases[] = {
        {m_dm->DptmntHistory(), "Dptmnt.mtd", 100},       {m_dm->PostHistory(), "Post.mtd", 50},
        {m_dm->HonorHistory(), "Honor.mtd", 10},          {m_dm->KeywordHistories(0), "Keyword1.mtd", 100},
        {m_dm->KeywordHistories(1), "Keyword2.mtd", 100}, {m_dm->KeywordHistories(2), "Keyword3.mtd", 100},
    };
    for (const Case& c : cases) {
        ASSERT_NE(c.list, nullptr);
        EXPECT_EQ(c.list->FileName(), HistoryFolder + c.file);
        EXPECT_EQ(c.list->ItemSize(), c.itemSize);
        EXPECT_FALSE(c.list->IsLoaded());
    }
    {
        // The damaged list is told about, moved aside and starts empty; the others load.
        MessageRecorder rec;
        rec.answer(MsgSeam::IdOk);
        ASSERT_TRUE(m_dm->Connect());
        EXPECT_EQ(rec.count(), 1);
    }
    EXPECT_TRUE(m_dm->Database()->Connected());
    for (const Case& c : cases)
        EXPECT_TRUE(c.list->IsLoaded());
    EXPECT_EQ(m_dm->DptmntHistory()->Count(), 0);
    ASSERT_EQ(m_dm->PostHistory()->Count(), 1);
    EXPECT_EQ(m_dm->PostHistory()->GetText(0), QByteArray("abc"));
    EXPECT_TRUE(QFileInfo::exists(HistoryFolder + "Dptmnt.mtd.bad"));

    m_dm->Disconnect();
    EXPECT_FALSE(m_dm->Database()->Connected());
    for (const Case& c : cases)
        EXPECT_FALSE(c.list->IsLoaded());
    m_dm->FreeDatabase();
    EXPECT_EQ(m_dm->Database(), nullptr);
    EXPECT_EQ(m_dm->PostHistory(), nullptr);

    // A data folder that is gone: no connection, no list left loaded.
    DataFolder = m_root + "gone/";
    m_dm->InitDatabase();
    EXPECT_FALSE(m_dm->Connect());
    EXPECT_FALSE(m_dm->PostHistory()->IsLoaded());
    EXPECT_FALSE(m_dm->Database()->Connected());
    EXPECT_FALSE(QFileInfo::exists(DataFolder));
    m_dm->FreeDatabase();
    EXPECT_FALSE(m_dm->Connect()) << "no database made";
}

TEST_F(DBInfoTest, SessionHoldsThePasswordWhileTheModuleLives)
{
    EXPECT_TRUE(TableSession::global().passwords().contains(TablePassword));
    EXPECT_EQ(TableSession::global().netFileDir(), DataRootFolder);
    EXPECT_EQ(DMQuenrid215, m_dm.get());
    m_dm.reset();
    EXPECT_FALSE(TableSession::global().passwords().contains(TablePassword));
    EXPECT_EQ(DMQuenrid215, nullptr);
}

TEST(DBInfo, TableFileFamiliesAreTheTableAndItsJournal)
{
    const QStringList names = {"Adrs", "Sender", "Category", "Target", "Exception", "Original"};
    ASSERT_EQ(TableFileFamilies().size(), names.size());
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(TableFileFamilies()[i], QStringList({names[i] + ".DB", names[i] + ".DB-journal"}));
    EXPECT_EQ(TableFileFamily("sender.db"), TableFileFamilies()[1]);
    EXPECT_TRUE(TableFileFamily("Other.DB").isEmpty());
}

} // namespace
