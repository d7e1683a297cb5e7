// The data module: the database, the six tables with their counted shared opens, the two exclusive table
// objects, the creation of missing table files, the table file families and the six input-history lists.
#pragma once

#include "core/HisInfo.h"
#include "platform/TableEngine.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>

// The files that make up each table on disk, table file first, in the order Adrs, Sender, Category, Target,
// Exception, Original. A table is one file; its rollback journal belongs to it while one is left over
// from an interrupted write. The engine's lock file is no part of a table.
const QList<QStringList>& TableFileFamilies();
// The family of one table by its file name ("Sender.DB"; ASCII case ignored); empty for an unknown name.
QStringList TableFileFamily(const QString& tableFileName);

inline const QStringList HistoryFileNames = {QStringLiteral("Keyword1.mtd"), QStringLiteral("Keyword2.mtd"),
                                             QStringLiteral("Keyword3.mtd")};

// The database the tables belong to: the data folder, connected while the run works on it.
class TDatabase
{
public:
    explicit TDatabase(const QString& databaseName) : m_databaseName(databaseName) {}
    QString DatabaseName() const { return m_databaseName; }
    // Throws TableMissingError when the folder is not there.
    void Connect();
    void Disconnect() { m_connected = false; }
    bool Connected() const { return m_connected; }

private:
    QString m_databaseName;
    bool m_connected = false;
};

class TDMQuenrid215 : public QObject
{
    Q_OBJECT
public:
    // The shared tables in the order of their open counts.
    enum TTableKind { tkAdrs, tkSender, tkCategory, tkTarget, tkException, tkOriginal, TableKindCount };

    // Runs the create step; the destroy step runs when the module is deleted.
    explicit TDMQuenrid215(QObject* owner = nullptr);
    ~TDMQuenrid215() override;

    void DataModuleCreate();
    void DataModuleDestroy();

    void InitDatabase();
    void FreeDatabase();
    bool Connect();
    void Disconnect();

    void CreateAdrsTable(const QString& bookFolder);
    void CreateSenderTable();
    void CreateCategoryTables();
    void FreeAdrsTable();
    void FreeSenderTable();
    void FreeCategoryTables();

    // Counted opens: only a successful first open counts; false (after the table's message) takes no
    // reference, so the caller calls no close.
    bool OpenAdrs() { return OpenShared(tkAdrs); }
    bool OpenSender() { return OpenShared(tkSender); }
    bool OpenCategory() { return OpenShared(tkCategory); }
    bool OpenTarget() { return OpenShared(tkTarget); }
    bool OpenException() { return OpenShared(tkException); }
    bool OpenOriginal() { return OpenShared(tkOriginal); }
    void CloseAdrs() { CloseShared(tkAdrs); }
    void CloseSender() { CloseShared(tkSender); }
    void CloseCategory() { CloseShared(tkCategory); }
    void CloseTarget() { CloseShared(tkTarget); }
    void CloseException() { CloseShared(tkException); }
    void CloseOriginal() { CloseShared(tkOriginal); }

    // Create the table file, with its password, when it is missing; true when it exists afterwards.
    bool CreateAdrsFile() { return CreateTableFile(tkAdrs); }
    bool CreateSenderFile() { return CreateTableFile(tkSender); }
    bool CreateCategoryFile() { return CreateTableFile(tkCategory); }
    bool CreateTargetFile() { return CreateTableFile(tkTarget); }
    bool CreateExceptionFile() { return CreateTableFile(tkException); }
    bool CreateOriginalFile() { return CreateTableFile(tkOriginal); }

    // Exclusive opens are not counted: each is paired with its close, which frees the object.
    bool OpenAdrsExclusive(const QString& bookFolder);
    void CloseAdrsExclusive();
    bool OpenSenderExclusive();
    void CloseSenderExclusive();

    // The table objects (null while not created) and their open counts.
    Table* AdrsTable() const { return m_shared[tkAdrs].table.get(); }
    Table* SenderTable() const { return m_shared[tkSender].table.get(); }
    Table* CategoryTable() const { return m_shared[tkCategory].table.get(); }
    Table* TargetTable() const { return m_shared[tkTarget].table.get(); }
    Table* ExceptionTable() const { return m_shared[tkException].table.get(); }
    Table* OriginalTable() const { return m_shared[tkOriginal].table.get(); }
    Table* AdrsExclusiveTable() const { return m_adrsExclusive.get(); }
    Table* SenderExclusiveTable() const { return m_senderExclusive.get(); }
    Table* SharedTable(TTableKind kind) const { return m_shared[kind].table.get(); }
    int OpenCount(TTableKind kind) const { return m_shared[kind].openCount; }

    TDatabase* Database() const { return m_database.get(); }
    THistoryData* DptmntHistory() const { return m_dptmntHistory.get(); }
    THistoryData* PostHistory() const { return m_postHistory.get(); }
    THistoryData* HonorHistory() const { return m_honorHistory.get(); }
    THistoryData* KeywordHistories(int index) const { return m_keywordHistories.at(index).get(); }

private:
    struct TSharedTable
    {
        std::unique_ptr<Table> table;
        int openCount = 0;
    };

    bool OpenShared(TTableKind kind);
    void CloseShared(TTableKind kind);
    void CreateShared(TTableKind kind, const QString& folder);
    void FreeShared(TTableKind kind);
    bool CreateTableFile(TTableKind kind);
    bool OpenExclusive(std::unique_ptr<Table>& slot, const QString& folder, const QString& tableName,
                       const QString& failureText);
    // The history lists in their load order: department, post, honorific, keyword 1 to 3.
    std::array<THistoryData*, 6> Histories() const;

    std::unique_ptr<TDatabase> m_database;
    std::unique_ptr<THistoryData> m_dptmntHistory;
    std::unique_ptr<THistoryData> m_postHistory;
    std::unique_ptr<THistoryData> m_honorHistory;
    std::array<std::unique_ptr<THistoryData>, 3> m_keywordHistories;
    std::array<TSharedTable, TableKindCount> m_shared;
    std::unique_ptr<Table> m_adrsExclusive;
    std::unique_ptr<Table> m_senderExclusive;
    bool m_sessionPrepared = false;
};

// The one data module of the run; null while none exists.
extern TDMQuenrid215* DMQuenrid215;
