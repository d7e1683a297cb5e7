// The data module: counted shared opens, exclusive opens, table file creation and the history lists.
#include "core/DBInfo.h"

#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/TableDefs.h"

#include <QDir>
#include <QFileInfo>

TDMQuenrid215* DMQuenrid215 = nullptr;

namespace {

struct TTableInfo
{
    const char* fileName;
    TableDef (*definition)();
    const char* failureText;
};

// Indexed by TDMQuenrid215::TTableKind.
const TTableInfo TableInfos[] = {
    {"Adrs.DB", AdrsTableDef, "アドレス帳ファイルがオープンできませんでした  "},
    {"Sender.DB", SenderTableDef, "差出人ファイルがオープンできませんでした  "},
    {"Category.DB", CategoryTableDef, "カテゴリファイルがオープンできませんでした  "},
    {"Target.DB", TargetTableDef, "対象ファイルがオープンできませんでした  "},
    {"Exception.DB", ExceptionTableDef, "除外ファイルがオープンできませんでした  "},
    {"Original.DB", OriginalTableDef, "オリジナルファイルがオープンできませんでした  "},
};

const char* const AdrsExclusiveFailure = "アドレス帳ファイルがオープンできませんでした（サブ）  ";
const char* const SenderExclusiveFailure = "差出人ファイルがオープンできませんでした（サブ）  ";

// The engine's own texts are never shown; only the table's fixed message is.
void showOpenFailure(const QString& text)
{
    ApplicationMessageBox(text, MsgSeam::MbIconStop);
}

QString bookFolderPath(const QString& bookFolder)
{
    return AdrsFolder + bookFolder + QLatin1Char('/');
}

} // namespace

const QList<QStringList>& TableFileFamilies()
{
    static const QList<QStringList> families = [] {
        QList<QStringList> list;
        for (const TTableInfo& info : TableInfos) {
            const QString name = QLatin1String(info.fileName);
            list.append({name, name + QStringLiteral("-journal")});
        }
        return list;
    }();
    return families;
}

QStringList TableFileFamily(const QString& tableFileName)
{
    for (const QStringList& family : TableFileFamilies()) {
        if (family.first().compare(tableFileName, Qt::CaseInsensitive) == 0)
            return family;
    }
    return {};
}

void TDatabase::Connect()
{
    if (!QFileInfo(m_databaseName).isDir())
        throw TableMissingError(QStringLiteral("%1: the data folder does not exist").arg(m_databaseName));
    m_connected = true;
}

TDMQuenrid215::TDMQuenrid215(QObject* owner) : QObject(owner)
{
    setObjectName(QStringLiteral("DMQuenrid215"));
    DMQuenrid215 = this;
    DataModuleCreate();
}

TDMQuenrid215::~TDMQuenrid215()
{
    // Whatever the run left open goes before the password leaves the session.
    m_adrsExclusive.reset();
    m_senderExclusive.reset();
    for (int kind = 0; kind < TableKindCount; ++kind)
        FreeShared(TTableKind(kind));
    FreeDatabase();
    DataModuleDestroy();
    if (DMQuenrid215 == this)
        DMQuenrid215 = nullptr;
}

void TDMQuenrid215::DataModuleCreate()
{
    TableSession& session = TableSession::global();
    session.setNetFileDir(DataRootFolder);
    session.addPassword(TablePassword);
    m_sessionPrepared = true;
    for (TSharedTable& shared : m_shared)
        shared.openCount = 0;
}

void TDMQuenrid215::DataModuleDestroy()
{
    if (m_sessionPrepared)
        TableSession::global().removePassword(TablePassword);
    m_sessionPrepared = false;
}

void TDMQuenrid215::InitDatabase()
{
    try {
        m_database = std::make_unique<TDatabase>(DataFolder);
        m_dptmntHistory =
            std::make_unique<THistoryData>(HistoryFolder + QStringLiteral("Dptmnt.mtd"), true, 100);
        m_postHistory = std::make_unique<THistoryData>(HistoryFolder + QStringLiteral("Post.mtd"), true, 50);
        m_honorHistory =
            std::make_unique<THistoryData>(HistoryFolder + QStringLiteral("Honor.mtd"), true, 10);
        for (int i = 0; i < 3; ++i)
            m_keywordHistories[i] =
                std::make_unique<THistoryData>(HistoryFolder + HistoryFileNames[i], true, 100);
    } catch (...) {
        FreeDatabase();
    }
}

void TDMQuenrid215::FreeDatabase()
{
    for (THistoryData* history : Histories()) {
        if (history)
            history->Unload();
    }
    m_dptmntHistory.reset();
    m_postHistory.reset();
    m_honorHistory.reset();
    for (auto& history : m_keywordHistories)
        history.reset();
    if (m_database && m_database->Connected())
        m_database->Disconnect();
    m_database.reset();
}

std::array<THistoryData*, 6> TDMQuenrid215::Histories() const
{
    return {m_dptmntHistory.get(),       m_postHistory.get(),         m_honorHistory.get(),
            m_keywordHistories[0].get(), m_keywordHistories[1].get(), m_keywordHistories[2].get()};
}

bool TDMQuenrid215::Connect()
{
    try {
        if (!m_database)
            return false;
        m_database->Connect();
        for (THistoryData* history : Histories()) {
            if (!history || !history->Load()) {
                Disconnect();
                return false;
            }
        }
        return true;
    } catch (...) {
        Disconnect();
        return false;
    }
}

void TDMQuenrid215::Disconnect()
{
    for (THistoryData* history : Histories()) {
        if (history && history->IsLoaded())
            history->Unload();
    }
    if (m_database && m_database->Connected())
        m_database->Disconnect();
}

void TDMQuenrid215::CreateShared(TTableKind kind, const QString& folder)
{
    // A table object made afresh starts uncounted; an old one of the same kind goes first.
    FreeShared(kind);
    auto table = std::make_unique<Table>();
    table->setDatabaseName(folder);
    table->setTableName(QLatin1String(TableInfos[kind].fileName));
    table->setExclusive(false);
    m_shared[kind].table = std::move(table);
}

void TDMQuenrid215::FreeShared(TTableKind kind)
{
    TSharedTable& shared = m_shared[kind];
    if (shared.table && shared.table->active())
        shared.table->close();
    shared.table.reset();
    // No reference can outlive the object it counted.
    shared.openCount = 0;
}

void TDMQuenrid215::CreateAdrsTable(const QString& bookFolder)
{
    CreateShared(tkAdrs, bookFolderPath(bookFolder));
}

void TDMQuenrid215::CreateSenderTable()
{
    CreateShared(tkSender, OtherFolder);
}

void TDMQuenrid215::CreateCategoryTables()
{
    CreateShared(tkCategory, CategoryFolder);
    CreateShared(tkTarget, CategoryFolder);
    CreateShared(tkException, CategoryFolder);
    CreateShared(tkOriginal, OtherFolder);
}

void TDMQuenrid215::FreeAdrsTable()
{
    FreeShared(tkAdrs);
}

void TDMQuenrid215::FreeSenderTable()
{
    FreeShared(tkSender);
}

void TDMQuenrid215::FreeCategoryTables()
{
    FreeShared(tkCategory);
    FreeShared(tkTarget);
    FreeShared(tkException);
    FreeShared(tkOriginal);
}

bool TDMQuenrid215::CreateTableFile(TTableKind kind)
{
    Table* table = m_shared[kind].table.get();
    if (!table)
        return false;
    if (table->exists())
        return true;
    const QString folder = table->databaseName();
    // An address book's table goes only into a book folder that is there: a missing one is no book.
    if (kind != tkAdrs && !QDir().mkpath(folder))
        return false;
    try {
        // The engine builds the file aside and moves it into place whole, password included.
        Table::createTable(table->filePath(), TableInfos[kind].definition(), TablePassword);
        return true;
    } catch (const TableError& e) {
        // Another start may have made it meanwhile.
        return e.code() == TableErrorCode::Exists;
    } catch (const std::exception&) {
        return false;
    }
}

bool TDMQuenrid215::OpenShared(TTableKind kind)
{
    TSharedTable& shared = m_shared[kind];
    const QString failure = QString::fromUtf8(TableInfos[kind].failureText);
    if (!shared.table) {
        showOpenFailure(failure);
        return false;
    }
    if (++shared.openCount >= 2)
        return true;
    CreateTableFile(kind);
    try {
        shared.table->setIndexName(QString());
        shared.table->open();
        return true;
    } catch (const std::exception&) {
        shared.openCount = 0;
        showOpenFailure(failure);
        return false;
    }
}

void TDMQuenrid215::CloseShared(TTableKind kind)
{
    TSharedTable& shared = m_shared[kind];
    if (shared.openCount <= 0)
        return;
    if (--shared.openCount == 0 && shared.table && shared.table->active())
        shared.table->close();
}

bool TDMQuenrid215::OpenExclusive(std::unique_ptr<Table>& slot, const QString& folder,
                                  const QString& tableName, const QString& failureText)
{
    slot = std::make_unique<Table>();
    slot->setDatabaseName(folder);
    slot->setTableName(tableName);
    slot->setExclusive(true);
    try {
        slot->setIndexName(QString());
        slot->open();
        return true;
    } catch (const std::exception&) {
        showOpenFailure(failureText);
        return false;
    }
}

bool TDMQuenrid215::OpenAdrsExclusive(const QString& bookFolder)
{
    return OpenExclusive(m_adrsExclusive, bookFolderPath(bookFolder), QStringLiteral("Adrs.DB"),
                         QString::fromUtf8(AdrsExclusiveFailure));
}

void TDMQuenrid215::CloseAdrsExclusive()
{
    if (m_adrsExclusive && m_adrsExclusive->active())
        m_adrsExclusive->close();
    m_adrsExclusive.reset();
}

bool TDMQuenrid215::OpenSenderExclusive()
{
    return OpenExclusive(m_senderExclusive, OtherFolder, QStringLiteral("Sender.DB"),
                         QString::fromUtf8(SenderExclusiveFailure));
}

void TDMQuenrid215::CloseSenderExclusive()
{
    if (m_senderExclusive && m_senderExclusive->active())
        m_senderExclusive->close();
    m_senderExclusive.reset();
}
