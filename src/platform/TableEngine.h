// Table engine over SQLite: one file per table, typed fields, ordered indexes, cursors, locks and passwords.
#pragma once

#include "platform/Cp932.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <stdexcept>

enum class FieldType { AutoInc, LongInt, Alpha, Logical, Memo, Timestamp };

struct FieldDef
{
    QString name;
    FieldType type = FieldType::LongInt;
    // Alpha: the most bytes the field holds. Memo: the part kept in the record (informational; memos are
    // unbounded).
    int size = 0;
};

struct IndexDef
{
    QString name; // empty for the primary key
    QStringList fields;
    bool primary = false;
    bool caseInsensitive = false;
};

struct TableDef
{
    QString fileName; // "Adrs.DB"
    QList<FieldDef> fields;
    QList<IndexDef> indexes;

    int fieldIndex(const QString& name) const; // -1 when absent; names compare without regard to ASCII case
    const IndexDef* findIndex(const QString& name) const; // empty name: the primary key
};

enum class TableErrorCode {
    General,
    Missing,
    Locked,
    NoPassword,
    Damaged,
    FieldTooLong,
    KeyViolation,
    Exists,
    BadDefinition,
    UnknownField,
    UnknownIndex,
    BadValue,
    WrongState,
    RecordGone,
};

class TableError : public std::runtime_error
{
public:
    TableError(TableErrorCode code, const QString& message);
    TableErrorCode code() const { return m_code; }
    QString message() const { return QString::fromUtf8(what()); }

private:
    TableErrorCode m_code;
};

// The four failures a caller tells apart when a table cannot be used, and the refused value.
class TableMissingError : public TableError
{
public:
    explicit TableMissingError(const QString& m) : TableError(TableErrorCode::Missing, m) {}
};
class TableLockedError : public TableError
{
public:
    explicit TableLockedError(const QString& m) : TableError(TableErrorCode::Locked, m) {}
};
class TableNoPasswordError : public TableError
{
public:
    explicit TableNoPasswordError(const QString& m) : TableError(TableErrorCode::NoPassword, m) {}
};
class TableDamagedError : public TableError
{
public:
    explicit TableDamagedError(const QString& m) : TableError(TableErrorCode::Damaged, m) {}
};
class FieldTooLongError : public TableError
{
public:
    explicit FieldTooLongError(const QString& m) : TableError(TableErrorCode::FieldTooLong, m) {}
};
class KeyViolationError : public TableError
{
public:
    explicit KeyViolationError(const QString& m) : TableError(TableErrorCode::KeyViolation, m) {}
};
// The cursor stands on a record that another table object or process has deleted since it was placed.
class RecordGoneError : public TableError
{
public:
    explicit RecordGoneError(const QString& m) : TableError(TableErrorCode::RecordGone, m) {}
};

// Passwords the run holds for protected tables, and the network control folder of the run.
class TableSession
{
public:
    static TableSession& global();

    void addPassword(const QString& password);
    void removePassword(const QString& password);
    void removeAllPasswords();
    QStringList passwords() const { return m_passwords; }

    // Kept for the callers that set it; the engine coordinates through lock files beside each table.
    void setNetFileDir(const QString& folder) { m_netFileDir = folder; }
    QString netFileDir() const { return m_netFileDir; }

    // True when one of the held passwords matches the stored verifier.
    bool holdsPassword(const QByteArray& salt, int iterations, const QByteArray& verifier) const;

private:
    QStringList m_passwords;
    QString m_netFileDir;
    mutable QHash<QByteArray, bool> m_verified; // verifier -> matched, so that each file costs one derivation
};

enum class TableState { Inactive, Browse, Edit, Insert };

struct LocateOptions
{
    bool caseInsensitive = false;
    bool partialKey = false;
};

class Table;

// One field of a table's current record (or of the record being edited).
class TableField
{
public:
    TableField(Table* table, int index) : m_table(table), m_index(index) {}

    QString name() const;
    FieldType type() const;
    int size() const;
    int index() const { return m_index; }

    bool isNull() const;
    AnsiString asAnsi() const; // alpha and memo bytes; numbers as decimal text; logical "True"/"False"
    QString asString() const { return ToWide(asAnsi()); }
    qint64 asInteger() const;     // null reads 0
    bool asBoolean() const;       // null reads false
    QDateTime asDateTime() const; // null reads an invalid date-time
    QVariant value() const;       // null: an invalid QVariant

    void setAnsi(const AnsiString& bytes); // an empty text stores null; too long raises FieldTooLongError
    void setString(const QString& text) { setAnsi(ToAnsi(text)); }
    void setInteger(qint64 v);
    void setBoolean(bool v);
    void setDateTime(const QDateTime& v); // kept to the whole millisecond
    void setValue(const QVariant& v);
    void clear();

private:
    Table* m_table;
    int m_index;
};

// A table object: the file, its open mode, and one cursor with an edit buffer.
class Table
{
public:
    explicit Table(TableSession& session = TableSession::global());
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // Creates the table file complete or not at all: built under a temporary name, renamed into place.
    static void createTable(const QString& path, const TableDef& def, const QString& password = {});
    // Writes a consistent copy of the table file source to target, a new file (never replacing one): the
    // committed state of the moment, even while others have the table open, checked and synced to disc.
    // On failure no target is left behind.
    static void copyTableFile(const QString& source, const QString& target);

    // The session whose passwords open the table; another object on the same file uses it too.
    TableSession& session() const { return m_session; }
    void setDatabaseName(const QString& folder); // with or without a trailing "/"
    QString databaseName() const { return m_folder; }
    void setTableName(const QString& fileName);
    QString tableName() const { return m_tableName; }
    QString filePath() const;
    bool exists() const;

    void setExclusive(bool on);
    bool exclusive() const { return m_exclusive; }

    void open();
    void close();
    bool active() const;
    TableState state() const;
    const TableDef& definition() const;

    // Order: an index by name; empty gives primary-key order.
    void setIndexName(const QString& name);
    QString indexName() const;
    QStringList indexFieldNames() const;

    void first();
    void last();
    void next();
    void prior();
    bool eof() const;
    bool bof() const;
    bool isEmpty() const;
    int recordCount();
    int recNo() const;         // 1-based position in the current order and range; 0 when there is none
    qint64 currentKey() const; // primary key of the current record; -1 when there is none

    // Key values compare with the leading fields of the current index.
    bool findKey(const QVariantList& key);
    void findNearest(const QVariantList& key);
    void setRangeStart(const QVariantList& key);
    void setRangeEnd(const QVariantList& key);
    void applyRange();
    void setRange(const QVariantList& start, const QVariantList& end);
    void cancelRange();
    bool locate(const QStringList& fields, const QVariantList& values, LocateOptions options = {});
    // Reloads the order after other table objects or processes changed the table.
    void refresh();

    int fieldCount() const;
    TableField field(int index);
    TableField fieldByName(const QString& name);
    int fieldIndex(const QString& name) const;

    void append();
    void insert();
    void edit();
    qint64 post(); // the primary key of the posted record
    void cancel();
    void deleteRecord();
    void flushBuffers();

    // Posts inside a transaction are committed together (batch loads); without one every post commits.
    void startTransaction();
    void commit();
    void rollback();
    bool inTransaction() const;

    void pack(); // exclusive open only
    void regenerateIndexes();
    QStringList integrityCheck(); // empty when the file is sound

    struct Private;

private:
    friend class TableField;

    TableSession& m_session;
    QString m_folder;
    QString m_tableName;
    bool m_exclusive = false;
    std::unique_ptr<Private> d;
};

// A table's lock held as an exclusive open holds it, without opening the table: while held, nobody else has
// the table open. For work on a table's files, such as deleting or moving its folder.
class TableFileLock
{
public:
    explicit TableFileLock(const QString& tablePath);
    ~TableFileLock();
    TableFileLock(const TableFileLock&) = delete;
    TableFileLock& operator=(const TableFileLock&) = delete;

    // False while anyone has the table open, or when its lock file cannot be opened.
    bool tryLock();

private:
    QString m_path;
    int m_fd = -1;
};

namespace TableEngine {

// Test hook: creation throws after this many of its steps (0: never).
void setCreateFailureStep(int step);
// Folds single-byte ASCII letters to lower case, leaving double-byte characters alone; the order of
// case-insensitive indexes is the byte order of this form.
int compareIgnoringCase(const char* a, int aLen, const char* b, int bLen);

} // namespace TableEngine
