// Table engine over SQLite: creation, open modes and locks, password check, cursor, edits and maintenance.
#include "platform/TableEngine.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>
#include <sqlite3.h>

#include <algorithm>
#include <unordered_map>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kCollation = "CP932NOCASE";
constexpr const char* kInfoTable = "TableInfo";
constexpr int kFormat = 1;
constexpr int kPasswordIterations = 20000;
// A stored count above this is damage: a huge count would hold an open for many minutes.
constexpr int kMaxPasswordIterations = 1000000;
// Temporary files of table creations: "." + the table's file name + "." + six characters.
constexpr int kTempSuffixLength = 6;

int g_createFailureStep = 0;

struct Cell
{
    enum Kind : quint8 {
        Null,
        Int,
        Bytes,
        Absent
    }; // the order SQLite gives storage classes; Absent: not read
    Kind kind = Null;
    qint64 i = 0;
    QByteArray b;

    static Cell integer(qint64 v)
    {
        Cell c;
        c.kind = Int;
        c.i = v;
        return c;
    }
    static Cell bytes(const QByteArray& v)
    {
        Cell c;
        if (!v.isEmpty()) {
            c.kind = Bytes;
            c.b = v;
        }
        return c;
    }
};
using Row = std::vector<Cell>;

struct IndexPart
{
    int field;
    bool fold;
};

QString quoted(const QString& name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QString baseName(const QString& fileName)
{
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? fileName.left(dot) : fileName;
}

bool isText(FieldType t)
{
    return t == FieldType::Alpha || t == FieldType::Memo;
}

int compareBytes(const QByteArray& a, const QByteArray& b)
{
    const int n = std::min(a.size(), b.size());
    const int c = n ? std::memcmp(a.constData(), b.constData(), size_t(n)) : 0;
    if (c)
        return c < 0 ? -1 : 1;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int compareCells(const Cell& a, const Cell& b, bool fold)
{
    if (a.kind != b.kind)
        return a.kind < b.kind ? -1 : 1;
    switch (a.kind) {
    case Cell::Null:
    case Cell::Absent:
        return 0;
    case Cell::Int:
        return a.i == b.i ? 0 : (a.i < b.i ? -1 : 1);
    case Cell::Bytes:
        return fold ? TableEngine::compareIgnoringCase(a.b.constData(), a.b.size(), b.b.constData(),
                                                       b.b.size())
                    : compareBytes(a.b, b.b);
    }
    return 0;
}

int collate(void*, int an, const void* a, int bn, const void* b)
{
    return TableEngine::compareIgnoringCase(static_cast<const char*>(a), an, static_cast<const char*>(b), bn);
}

[[noreturn]] void raise(sqlite3* db, int rc, const QString& what)
{
    const QString msg =
        what + QLatin1String(": ") + QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw TableLockedError(msg);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        throw TableDamagedError(msg);
    case SQLITE_CANTOPEN:
        throw TableMissingError(msg);
    case SQLITE_CONSTRAINT:
        if (rc == SQLITE_CONSTRAINT_PRIMARYKEY || rc == SQLITE_CONSTRAINT_UNIQUE ||
            rc == SQLITE_CONSTRAINT_ROWID)
            throw KeyViolationError(msg);
        if (rc == SQLITE_CONSTRAINT_CHECK)
            throw FieldTooLongError(msg);
        break;
    default:
        break;
    }
    throw TableError(TableErrorCode::General, msg);
}

// A prepared statement that is reset after every use, so no read transaction outlives a call.
class Stmt
{
public:
    Stmt() = default;
    Stmt(sqlite3* db, const QString& sql) { prepare(db, sql); }
    ~Stmt() { sqlite3_finalize(m_stmt); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;

    void prepare(sqlite3* db, const QString& sql)
    {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        m_db = db;
        const QByteArray utf8 = sql.toUtf8();
        const int rc = sqlite3_prepare_v3(db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT,
                                          &m_stmt, nullptr);
        if (rc != SQLITE_OK)
            raise(db, rc, QLatin1String("prepare"));
    }
    void finalize()
    {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
    bool valid() const { return m_stmt != nullptr; }
    sqlite3_stmt* get() const { return m_stmt; }

    void bind(int i, const Cell& c)
    {
        switch (c.kind) {
        case Cell::Null:
        case Cell::Absent:
            sqlite3_bind_null(m_stmt, i);
            break;
        case Cell::Int:
            sqlite3_bind_int64(m_stmt, i, c.i);
            break;
        case Cell::Bytes:
            sqlite3_bind_blob(m_stmt, i, c.b.constData(), int(c.b.size()), SQLITE_TRANSIENT);
            break;
        }
    }
    void bindInt(int i, qint64 v) { sqlite3_bind_int64(m_stmt, i, v); }
    // True while a row is there; raises on an error; resets itself at the end.
    bool step(const char* what)
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        sqlite3_reset(m_stmt);
        if (rc != SQLITE_DONE)
            raise(m_db, rc, QLatin1String(what));
        return false;
    }
    void reset()
    {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
    Cell cell(int col) const
    {
        switch (sqlite3_column_type(m_stmt, col)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
            return Cell::integer(sqlite3_column_int64(m_stmt, col));
        case SQLITE_FLOAT:
            return Cell::integer(qint64(sqlite3_column_double(m_stmt, col)));
        default: {
            const void* p = sqlite3_column_blob(m_stmt, col);
            const int n = sqlite3_column_bytes(m_stmt, col);
            return Cell::bytes(QByteArray(static_cast<const char*>(p), n));
        }
        }
    }

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
};

void exec(sqlite3* db, const QString& sql, const char* what)
{
    char* err = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK)
        raise(db, rc, QLatin1String(what));
}

void configure(sqlite3* db)
{
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 5000);
    sqlite3_create_collation(db, kCollation, SQLITE_UTF8, nullptr, collate);
    exec(db, QStringLiteral("PRAGMA synchronous=FULL; PRAGMA cache_size=-32768"), "configure");
}

const char* typeName(FieldType t)
{
    switch (t) {
    case FieldType::AutoInc:
        return "AutoInc";
    case FieldType::LongInt:
        return "LongInt";
    case FieldType::Alpha:
        return "Alpha";
    case FieldType::Logical:
        return "Logical";
    case FieldType::Memo:
        return "Memo";
    case FieldType::Timestamp:
        return "Timestamp";
    }
    return "";
}

std::optional<FieldType> typeFromName(const QString& s)
{
    for (FieldType t : {FieldType::AutoInc, FieldType::LongInt, FieldType::Alpha, FieldType::Logical,
                        FieldType::Memo, FieldType::Timestamp})
        if (s == QLatin1String(typeName(t)))
            return t;
    return std::nullopt;
}

QByteArray definitionToJson(const TableDef& def)
{
    QJsonArray fields;
    for (const FieldDef& f : def.fields)
        fields.append(QJsonObject{{"name", f.name}, {"type", typeName(f.type)}, {"size", f.size}});
    QJsonArray indexes;
    for (const IndexDef& i : def.indexes)
        indexes.append(QJsonObject{{"name", i.name},
                                   {"fields", QJsonArray::fromStringList(i.fields)},
                                   {"primary", i.primary},
                                   {"caseInsensitive", i.caseInsensitive}});
    return QJsonDocument(QJsonObject{{"fileName", def.fileName}, {"fields", fields}, {"indexes", indexes}})
        .toJson(QJsonDocument::Compact);
}

std::optional<TableDef> definitionFromJson(const QByteArray& json)
{
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &err);
    if (err.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonObject o = doc.object();
    TableDef def;
    def.fileName = o.value("fileName").toString();
    for (const QJsonValue& v : o.value("fields").toArray()) {
        const QJsonObject f = v.toObject();
        const auto type = typeFromName(f.value("type").toString());
        if (!type)
            return std::nullopt;
        def.fields.append({f.value("name").toString(), *type, f.value("size").toInt()});
    }
    for (const QJsonValue& v : o.value("indexes").toArray()) {
        const QJsonObject i = v.toObject();
        IndexDef idx;
        idx.name = i.value("name").toString();
        for (const QJsonValue& f : i.value("fields").toArray())
            idx.fields.append(f.toString());
        idx.primary = i.value("primary").toBool();
        idx.caseInsensitive = i.value("caseInsensitive").toBool();
        def.indexes.append(idx);
    }
    return def;
}

bool validIdentifier(const QString& s)
{
    if (s.isEmpty() || s.size() > 64)
        return false;
    for (QChar c : s)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('_'))
            return false;
    return true;
}

// Refuses a definition the engine could not honour, before anything is written.
void validate(const TableDef& def)
{
    auto bad = [&](const QString& why) {
        throw TableError(TableErrorCode::BadDefinition, def.fileName + QLatin1String(": ") + why);
    };
    if (def.fields.isEmpty())
        bad(QStringLiteral("no fields"));
    int autoIncs = 0;
    for (int i = 0; i < def.fields.size(); ++i) {
        const FieldDef& f = def.fields[i];
        if (!validIdentifier(f.name))
            bad(QStringLiteral("bad field name \"%1\"").arg(f.name));
        if (def.fieldIndex(f.name) != i)
            bad(QStringLiteral("field \"%1\" twice").arg(f.name));
        if (f.type == FieldType::Alpha && (f.size < 1 || f.size > 255))
            bad(QStringLiteral("alpha field \"%1\" of size %2").arg(f.name).arg(f.size));
        if (f.type == FieldType::AutoInc)
            ++autoIncs;
    }
    int primaries = 0;
    QStringList names;
    for (const IndexDef& idx : def.indexes) {
        if (idx.fields.isEmpty())
            bad(QStringLiteral("index without fields"));
        for (const QString& name : idx.fields) {
            const int fi = def.fieldIndex(name);
            if (fi < 0)
                bad(QStringLiteral("index on unknown field \"%1\"").arg(name));
            if (def.fields[fi].type == FieldType::Memo)
                bad(QStringLiteral("index on memo field \"%1\"").arg(name));
        }
        if (idx.primary) {
            ++primaries;
            const FieldType t = def.fields[def.fieldIndex(idx.fields[0])].type;
            if (idx.fields.size() != 1 || (t != FieldType::AutoInc && t != FieldType::LongInt))
                bad(QStringLiteral("the primary key must be one integer field"));
        } else {
            if (!validIdentifier(idx.name) || names.contains(idx.name, Qt::CaseInsensitive))
                bad(QStringLiteral("bad or repeated index name \"%1\"").arg(idx.name));
            names.append(idx.name);
        }
    }
    if (primaries != 1)
        bad(QStringLiteral("exactly one primary key is needed"));
    if (autoIncs > 1)
        bad(QStringLiteral("more than one auto-increment field"));
    for (const IndexDef& idx : def.indexes)
        if (!idx.primary)
            continue;
        else if (autoIncs == 1 && def.fields[def.fieldIndex(idx.fields[0])].type != FieldType::AutoInc)
            bad(QStringLiteral("the auto-increment field must be the primary key"));
}

int primaryField(const TableDef& def)
{
    for (const IndexDef& idx : def.indexes)
        if (idx.primary)
            return def.fieldIndex(idx.fields[0]);
    return -1;
}

QString indexSqlName(const QString& table, const QString& index)
{
    return quoted(table + QLatin1Char('.') + index);
}

QString partExpr(const TableDef& def, const IndexPart& p)
{
    const QString col = quoted(def.fields[p.field].name);
    return p.fold ? QStringLiteral("CAST(%1 AS TEXT) COLLATE %2").arg(col, QLatin1String(kCollation)) : col;
}

QStringList schemaSql(const TableDef& def)
{
    const QString table = baseName(def.fileName);
    const int key = primaryField(def);
    QStringList cols;
    for (int i = 0; i < def.fields.size(); ++i) {
        const FieldDef& f = def.fields[i];
        const QString q = quoted(f.name);
        QString col = q + QLatin1Char(' ');
        if (i == key)
            col += f.type == FieldType::AutoInc ? QLatin1String("INTEGER PRIMARY KEY AUTOINCREMENT")
                                                : QLatin1String("INTEGER PRIMARY KEY");
        else if (f.type == FieldType::Alpha)
            col += QStringLiteral("BLOB CHECK(length(%1) <= %2)").arg(q).arg(f.size);
        else if (f.type == FieldType::Memo)
            col += QLatin1String("BLOB");
        else if (f.type == FieldType::Logical)
            col += QStringLiteral("INTEGER CHECK(%1 IN (0, 1))").arg(q);
        else
            col += QLatin1String("INTEGER");
        cols.append(col);
    }
    QStringList sql;
    sql.append(QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(table), cols.join(QLatin1String(", "))));
    for (const IndexDef& idx : def.indexes) {
        if (idx.primary)
            continue;
        QStringList parts;
        for (const QString& name : idx.fields) {
            const int fi = def.fieldIndex(name);
            parts.append(partExpr(def, {fi, idx.caseInsensitive && isText(def.fields[fi].type)}));
        }
        // The rowid closes every SQLite index, so ties come in primary-key order.
        sql.append(QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                       .arg(indexSqlName(table, idx.name), quoted(table), parts.join(QLatin1String(", "))));
    }
    return sql;
}

QByteArray derive(const QByteArray& password, const QByteArray& salt, int iterations)
{
    QByteArray out(32, Qt::Uninitialized);
    if (PKCS5_PBKDF2_HMAC(password.constData(), int(password.size()),
                          reinterpret_cast<const uchar*>(salt.constData()), int(salt.size()), iterations,
                          EVP_sha256(), int(out.size()), reinterpret_cast<uchar*>(out.data())) != 1)
        throw TableError(TableErrorCode::General, QStringLiteral("password derivation failed"));
    return out;
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Renames without ever replacing a table that appeared meanwhile; file systems without that rename
// (some network shares) get a hard link, and those without links a plain rename after a last look.
void moveIntoPlace(const QByteArray& from, const QByteArray& to, const QString& path)
{
    auto fail = [&](int err) {
        throw TableError(err == EEXIST ? TableErrorCode::Exists : TableErrorCode::General,
                         QStringLiteral("%1: create: %2").arg(path, qt_error_string(err)));
    };
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        fail(errno);
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return;
    }
    if (errno != EPERM && errno != ENOSYS && errno != EOPNOTSUPP)
        fail(errno);
    if (::access(to.constData(), F_OK) == 0)
        fail(EEXIST);
    if (::rename(from.constData(), to.constData()) != 0)
        fail(errno);
}

QString randomSuffix()
{
    static const char chars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    uchar bytes[kTempSuffixLength];
    if (RAND_bytes(bytes, int(sizeof bytes)) != 1)
        throw TableError(TableErrorCode::General, QStringLiteral("no random bytes for a temporary name"));
    QString s;
    for (const uchar b : bytes)
        s += QLatin1Char(chars[b % (sizeof chars - 1)]);
    return s;
}

// Removes what killed table creations left in the folder: temporaries no live creation holds locked,
// and journals whose temporary is gone.
void removeStaleTemporaries(const QString& folder)
{
    const QDir dir(folder);
    const QStringList names =
        dir.entryList({QStringLiteral(".*.DB.??????"), QStringLiteral(".*.DB.??????-journal")},
                      QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    for (const QString& name : names) {
        const QByteArray file = QFile::encodeName(dir.filePath(name));
        if (name.endsWith(QLatin1String("-journal"))) {
            if (!QFileInfo::exists(dir.filePath(name.chopped(8))))
                ::unlink(file.constData());
            continue;
        }
        const int fd = ::open(file.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat st;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            ::unlink(file.constData());
            ::unlink((file + "-journal").constData());
        }
        ::close(fd);
    }
}

// Wall-clock time without a zone, as the tables have always kept it.
qint64 toStored(const QDateTime& v)
{
    const QDateTime local = v.toLocalTime();
    return QDateTime(local.date(), local.time(), Qt::UTC).toMSecsSinceEpoch();
}

QDateTime fromStored(qint64 ms)
{
    const QDateTime u = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
    return QDateTime(u.date(), u.time());
}

const char* kDateTimeFormat = "yyyy-MM-dd hh:mm:ss.zzz";

} // namespace

// ---------------------------------------------------------------------------------------------------------

int TableDef::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const IndexDef* TableDef::findIndex(const QString& name) const
{
    for (const IndexDef& idx : indexes)
        if (name.isEmpty() ? idx.primary : (!idx.primary && idx.name.compare(name, Qt::CaseInsensitive) == 0))
            return &idx;
    return nullptr;
}

TableError::TableError(TableErrorCode code, const QString& message)
    : std::runtime_error(message.toUtf8().toStdString()), m_code(code)
{
}

namespace TableEngine {

void setCreateFailureStep(int step)
{
    g_createFailureStep = step;
}

int compareIgnoringCase(const char* a, int aLen, const char* b, int bLen)
{
    // Both texts are walked from their start so that a trail byte (ア = 83 41) is never taken for a letter.
    bool aTrail = false;
    bool bTrail = false;
    const int n = std::min(aLen, bLen);
    for (int i = 0; i < n; ++i) {
        uchar ca = uchar(a[i]);
        uchar cb = uchar(b[i]);
        if (aTrail)
            aTrail = false;
        else if (Cp932::isLeadByteValue(ca))
            aTrail = true;
        else if (ca >= 'A' && ca <= 'Z')
            ca = uchar(ca + 32);
        if (bTrail)
            bTrail = false;
        else if (Cp932::isLeadByteValue(cb))
            bTrail = true;
        else if (cb >= 'A' && cb <= 'Z')
            cb = uchar(cb + 32);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return aLen == bLen ? 0 : (aLen < bLen ? -1 : 1);
}

} // namespace TableEngine

// ---------------------------------------------------------------------------------------------------------

TableSession& TableSession::global()
{
    static TableSession session;
    return session;
}

void TableSession::addPassword(const QString& password)
{
    if (!m_passwords.contains(password))
        m_passwords.append(password);
    m_verified.clear();
}

void TableSession::removePassword(const QString& password)
{
    m_passwords.removeAll(password);
    m_verified.clear();
}

void TableSession::removeAllPasswords()
{
    m_passwords.clear();
    m_verified.clear();
}

bool TableSession::holdsPassword(const QByteArray& salt, int iterations, const QByteArray& verifier) const
{
    const QByteArray cacheKey = salt + QByteArray::number(iterations) + verifier;
    const auto it = m_verified.constFind(cacheKey);
    if (it != m_verified.constEnd())
        return *it;
    bool ok = false;
    for (const QString& pw : m_passwords) {
        const QByteArray d = derive(ToAnsi(pw), salt, iterations);
        if (d.size() == verifier.size() &&
            CRYPTO_memcmp(d.constData(), verifier.constData(), size_t(d.size())) == 0) {
            ok = true;
            break;
        }
    }
    m_verified.insert(cacheKey, ok);
    return ok;
}

// ---------------------------------------------------------------------------------------------------------

struct Table::Private
{
    TableDef def;
    QString table; // SQL name
    int keyField = -1;
    sqlite3* db = nullptr;
    int lockFd = -1;
    TableState state = TableState::Inactive;

    // Order: the keys of the whole table in index order; the range is the slice [lo, hi).
    QString pendingIndex;
    const IndexDef* index = nullptr;
    std::vector<IndexPart> parts;
    std::vector<qint64> keys;
    size_t lo = 0;
    size_t hi = 0;
    QVariantList rangeStart;
    QVariantList rangeEnd;
    bool rangeOn = false;
    size_t pos = 0;
    bool bof = true;
    bool eof = true;
    qint64 dataVersion = -1;

    // The current record, read on demand; a walk reads the rows ahead of it in blocks.
    static constexpr int kBlock = 64;
    bool rowLoaded = false;
    bool rowFound = false;
    const Row* row = nullptr;
    Row emptyRow;
    std::unordered_map<qint64, Row> cache;
    size_t lastReadPos = SIZE_MAX;
    // Fields a walk reads: only these come in blocks, the rest when first asked for.
    std::vector<int> wanted;
    bool blockStale = true;
    // The record being edited or inserted.
    Row buffer;
    std::vector<bool> changed;
    qint64 editKey = -1;

    Stmt selectRow;
    Stmt selectTuple;
    Stmt insertRow;
    Stmt deleteRow;
    Stmt versionStmt;
    Stmt selectBlock;
    Stmt beginStmt;
    Stmt commitStmt;

    bool hasCurrent() const { return pos >= lo && pos < hi; }

    void closeAll()
    {
        for (Stmt* s : {&selectRow, &selectTuple, &insertRow, &deleteRow, &versionStmt, &selectBlock,
                        &beginStmt, &commitStmt})
            s->finalize();
        if (db)
            sqlite3_close_v2(db);
        db = nullptr;
        if (lockFd >= 0)
            ::close(lockFd); // releases the flock
        lockFd = -1;
        state = TableState::Inactive;
        keys.clear();
        lo = hi = pos = 0;
        bof = eof = true;
        dropCache();
        buffer.clear();
        rangeOn = false;
        index = nullptr;
        parts.clear();
    }

    qint64 currentVersion()
    {
        versionStmt.step("data version");
        const qint64 v = sqlite3_column_int64(versionStmt.get(), 0);
        versionStmt.reset();
        return v;
    }

    QString orderBy() const
    {
        QStringList e;
        if (index && !index->primary)
            for (const IndexPart& p : parts)
                e.append(partExpr(def, p));
        e.append(QStringLiteral("rowid"));
        return e.join(QLatin1String(", "));
    }

    void useIndex(const IndexDef* idx)
    {
        index = idx;
        parts.clear();
        for (const QString& name : idx->fields) {
            const int fi = def.fieldIndex(name);
            parts.push_back({fi, idx->caseInsensitive && isText(def.fields[fi].type)});
        }
        if (!idx->primary) {
            QStringList cols;
            for (const IndexPart& p : parts)
                cols.append(quoted(def.fields[p.field].name));
            selectTuple.prepare(db, QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                                        .arg(cols.join(QLatin1String(", ")), quoted(table)));
        }
    }

    void readTuple(qint64 key, Row& out)
    {
        out.resize(parts.size());
        if (index->primary) {
            out[0] = Cell::integer(key);
            return;
        }
        selectTuple.bindInt(1, key);
        if (selectTuple.step("read key")) {
            for (size_t i = 0; i < parts.size(); ++i)
                out[i] = selectTuple.cell(int(i));
            selectTuple.reset();
        } else {
            std::fill(out.begin(), out.end(), Cell());
        }
    }

    int comparePrefix(const Row& tuple, const Row& key) const
    {
        for (size_t i = 0; i < key.size() && i < tuple.size(); ++i)
            if (const int c = compareCells(tuple[i], key[i], parts[i].fold))
                return c;
        return 0;
    }

    // First position in [from, to) whose key prefix is not below (upper: above) the given key.
    size_t bound(const Row& key, size_t from, size_t to, bool upper)
    {
        Row t;
        size_t a = from;
        size_t b = to;
        while (a < b) {
            const size_t mid = a + (b - a) / 2;
            readTuple(keys[mid], t);
            const int c = comparePrefix(t, key);
            if (upper ? c <= 0 : c < 0)
                a = mid + 1;
            else
                b = mid;
        }
        return a;
    }

    // Where a record with this key belongs in the whole order.
    size_t slotFor(qint64 key)
    {
        Row target;
        readTuple(key, target);
        Row t;
        size_t a = 0;
        size_t b = keys.size();
        while (a < b) {
            const size_t mid = a + (b - a) / 2;
            readTuple(keys[mid], t);
            int c = comparePrefix(t, target);
            if (c == 0)
                c = keys[mid] < key ? -1 : (keys[mid] > key ? 1 : 0);
            if (c < 0)
                a = mid + 1;
            else
                b = mid;
        }
        return a;
    }

    Cell toCell(int fi, const QVariant& v, bool check) const;

    Row keyCells(const QVariantList& key) const
    {
        if (size_t(key.size()) > parts.size())
            throw TableError(
                TableErrorCode::BadValue,
                QStringLiteral("%1: the key has more values than the index fields").arg(def.fileName));
        Row r;
        for (int i = 0; i < key.size(); ++i)
            r.push_back(toCell(parts[size_t(i)].field, key[i], false));
        return r;
    }

    void computeRange()
    {
        lo = 0;
        hi = keys.size();
        if (!rangeOn)
            return;
        if (!rangeStart.isEmpty())
            lo = bound(keyCells(rangeStart), 0, keys.size(), false);
        if (!rangeEnd.isEmpty())
            hi = std::max(lo, bound(keyCells(rangeEnd), lo, keys.size(), true));
    }

    void dropCache()
    {
        cache.clear();
        rowLoaded = false;
        lastReadPos = SIZE_MAX;
    }

    void loadKeys()
    {
        dropCache();
        dataVersion = currentVersion();
        Stmt q(db, QStringLiteral("SELECT rowid FROM %1 ORDER BY %2").arg(quoted(table), orderBy()));
        keys.clear();
        while (q.step("read order"))
            keys.push_back(sqlite3_column_int64(q.get(), 0));
        computeRange();
        rowLoaded = false;
    }

    // After a load: the same record when it is still within the range, else the first.
    void reposition(qint64 key)
    {
        const auto it = std::find(keys.begin() + qint64(lo), keys.begin() + qint64(hi), key);
        if (key >= 0 && it != keys.begin() + qint64(hi)) {
            pos = size_t(it - keys.begin());
            bof = eof = false;
        } else {
            goFirst();
        }
    }

    void goFirst()
    {
        pos = lo;
        bof = true;
        eof = lo == hi;
        rowLoaded = false;
    }

    qint64 key() const { return hasCurrent() ? keys[pos] : -1; }

    void reloadWhenChanged()
    {
        if (currentVersion() != dataVersion) {
            const qint64 k = key();
            loadKeys();
            reposition(k);
        }
    }

    const Row& current()
    {
        if (state == TableState::Edit || state == TableState::Insert)
            return buffer;
        if (!rowLoaded) {
            row = &emptyRow;
            rowFound = false;
            if (hasCurrent()) {
                auto it = cache.find(keys[pos]);
                if (it == cache.end()) {
                    fill();
                    it = cache.find(keys[pos]);
                }
                if (it != cache.end()) {
                    row = &it->second;
                    rowFound = true;
                }
                lastReadPos = pos;
            }
            rowLoaded = true;
        }
        return *row;
    }

    // One field of the current record; a field the block left out is read now and joins the next blocks.
    // Without a current record every field reads null; a record deleted under the cursor is an error.
    const Cell& cell(int f)
    {
        const Row* r = &current();
        if (r->empty())
            return missingCell();
        if ((*r)[size_t(f)].kind != Cell::Absent)
            return (*r)[size_t(f)];
        wanted.push_back(f);
        blockStale = true;
        const size_t keep = lastReadPos;
        dropCache();
        lastReadPos = SIZE_MAX; // a single read of the whole record
        r = &current();
        lastReadPos = keep;
        return r->empty() ? missingCell() : (*r)[size_t(f)];
    }

    const Cell& missingCell() const
    {
        if (hasCurrent())
            throw RecordGoneError(def.fileName +
                                  QStringLiteral(": record %1 was deleted by another user").arg(keys[pos]));
        static const Cell null;
        return null;
    }

    // Reads the current row; when the cursor walks, the next rows of the walk come with it.
    void fill()
    {
        cache.clear();
        const size_t n = size_t(def.fields.size());
        const bool forward = lastReadPos != SIZE_MAX && pos == lastReadPos + 1;
        const bool backward = lastReadPos != SIZE_MAX && pos + 1 == lastReadPos;
        if (!forward && !backward) {
            selectRow.bindInt(1, keys[pos]);
            if (selectRow.step("read record")) {
                Row r(n);
                for (size_t i = 0; i < n; ++i)
                    r[i] = selectRow.cell(int(i));
                selectRow.reset();
                cache.emplace(keys[pos], std::move(r));
            }
            return;
        }
        if (blockStale) {
            QStringList cols;
            for (int f : wanted)
                cols.append(quoted(def.fields[f].name));
            QStringList marks(kBlock, QStringLiteral("?"));
            selectBlock.prepare(
                db,
                QStringLiteral("SELECT rowid%1 FROM %2 WHERE rowid IN (%3)")
                    .arg(cols.isEmpty() ? QString() : QLatin1String(", ") + cols.join(QLatin1String(", ")),
                         quoted(table), marks.join(QLatin1String(", "))));
            blockStale = false;
        }
        const size_t from = forward ? pos : (pos + 1 >= lo + kBlock ? pos + 1 - kBlock : lo);
        const size_t to = forward ? std::min(hi, pos + kBlock) : pos + 1;
        for (int i = 0; i < kBlock; ++i)
            if (from + size_t(i) < to)
                selectBlock.bindInt(i + 1, keys[from + size_t(i)]);
            else
                selectBlock.bind(i + 1, Cell());
        Cell absent;
        absent.kind = Cell::Absent;
        while (selectBlock.step("read records")) {
            Row r(n, absent);
            for (size_t i = 0; i < wanted.size(); ++i)
                r[size_t(wanted[i])] = selectBlock.cell(int(i + 1));
            cache.emplace(sqlite3_column_int64(selectBlock.get(), 0), std::move(r));
        }
    }

    // One read transaction around a series of lookups, instead of one lock and header check per lookup.
    class ReadScope
    {
    public:
        explicit ReadScope(Private& p) : m_p(p)
        {
            if (p.db && sqlite3_get_autocommit(p.db)) {
                p.beginStmt.step("begin");
                m_began = true;
            }
        }
        ~ReadScope()
        {
            if (m_began) {
                sqlite3_step(m_p.commitStmt.get());
                sqlite3_reset(m_p.commitStmt.get());
            }
        }
        ReadScope(const ReadScope&) = delete;
        ReadScope& operator=(const ReadScope&) = delete;

    private:
        Private& m_p;
        bool m_began = false;
    };

    void requireActive() const
    {
        if (state == TableState::Inactive)
            throw TableError(TableErrorCode::WrongState,
                             def.fileName + QLatin1String(": the table is not open"));
    }
    void requireBrowse() const
    {
        requireActive();
        if (state != TableState::Browse)
            throw TableError(TableErrorCode::WrongState,
                             def.fileName + QLatin1String(": a record is being edited"));
    }
};

Cell Table::Private::toCell(int fi, const QVariant& v, bool check) const
{
    const FieldDef& f = def.fields[fi];
    if (!v.isValid() || v.isNull())
        return {};
    auto badValue = [&]() -> Cell {
        throw TableError(
            TableErrorCode::BadValue,
            QStringLiteral("%1: no value of field \"%2\": %3").arg(def.fileName, f.name, v.toString()));
    };
    switch (f.type) {
    case FieldType::Alpha:
    case FieldType::Memo: {
        QByteArray bytes;
        if (v.typeId() == QMetaType::QByteArray)
            bytes = v.toByteArray();
        else if (v.typeId() == QMetaType::QString)
            bytes = ToAnsi(v.toString());
        else if (v.canConvert<QString>())
            bytes = v.toString().toLatin1();
        else
            return badValue();
        if (check && f.type == FieldType::Alpha && bytes.size() > f.size)
            throw FieldTooLongError(
                QStringLiteral("%1: field \"%2\" holds at most %3 bytes, the value has %4")
                    .arg(def.fileName, f.name)
                    .arg(f.size)
                    .arg(bytes.size()));
        return Cell::bytes(bytes);
    }
    case FieldType::Timestamp:
        if (v.typeId() == QMetaType::QDateTime) {
            const QDateTime dt = v.toDateTime();
            return dt.isValid() ? Cell::integer(toStored(dt)) : Cell();
        }
        if (v.typeId() == QMetaType::QDate)
            return Cell::integer(toStored(v.toDate().startOfDay()));
        if (v.typeId() == QMetaType::QByteArray || v.typeId() == QMetaType::QString) {
            const QString s = v.toString().trimmed();
            if (s.isEmpty())
                return {};
            QDateTime dt = QDateTime::fromString(s, QLatin1String(kDateTimeFormat));
            if (!dt.isValid())
                dt = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
            return dt.isValid() ? Cell::integer(toStored(dt)) : badValue();
        }
        return badValue();
    case FieldType::Logical:
        if (v.typeId() == QMetaType::QByteArray || v.typeId() == QMetaType::QString) {
            const QString s = v.toString().trimmed();
            if (s.isEmpty())
                return {};
            if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || s == QLatin1String("1"))
                return Cell::integer(1);
            if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 || s == QLatin1String("0"))
                return Cell::integer(0);
            return badValue();
        }
        return Cell::integer(v.toLongLong() != 0 ? 1 : 0);
    case FieldType::AutoInc:
    case FieldType::LongInt: {
        if (v.typeId() == QMetaType::QByteArray || v.typeId() == QMetaType::QString) {
            const QString s = v.toString().trimmed();
            if (s.isEmpty())
                return {};
            bool ok = false;
            const qint64 n = s.toLongLong(&ok);
            return ok && n >= INT32_MIN && n <= INT32_MAX ? Cell::integer(n) : badValue();
        }
        bool ok = false;
        const qint64 n = v.toLongLong(&ok);
        if (!ok || n < INT32_MIN || n > INT32_MAX)
            return badValue();
        return Cell::integer(n);
    }
    }
    return {};
}

// ---------------------------------------------------------------------------------------------------------

Table::Table(TableSession& session) : m_session(session), d(std::make_unique<Private>()) {}

Table::~Table()
{
    d->closeAll();
}

void Table::createTable(const QString& path, const TableDef& def, const QString& password)
{
    validate(def);
    const QFileInfo fi(path);
    const QString folder = fi.absolutePath();
    if (!QFileInfo(folder).isDir())
        throw TableMissingError(QStringLiteral("%1: the folder does not exist").arg(path));
    if (fi.exists())
        throw TableError(TableErrorCode::Exists, QStringLiteral("%1: the table exists").arg(path));

    removeStaleTemporaries(folder);
    // The file is built under a temporary name with the mode any new file of the user gets (the umask
    // applies), locked while it is built so that a later sweep tells it from the leftover of a killed run.
    QByteArray tmp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tmp = QFile::encodeName(folder + QLatin1String("/.") + fi.fileName() + QLatin1Char('.') +
                                randomSuffix());
        fd = ::open(tmp.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        throw TableError(TableErrorCode::General,
                         QStringLiteral("%1: cannot create: %2").arg(path, qt_error_string(errno)));
    ::flock(fd, LOCK_EX);
    sqlite3* db = nullptr;
    auto discard = [&] {
        if (db)
            sqlite3_close_v2(db);
        db = nullptr;
        ::unlink(tmp.constData());
        ::unlink((tmp + "-journal").constData());
        ::close(fd);
    };
    auto stepDone = [](int step) {
        if (g_createFailureStep == step)
            throw TableError(TableErrorCode::General,
                             QStringLiteral("creation stopped at step %1").arg(step));
    };
    try {
        const int rc = sqlite3_open_v2(tmp.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK)
            raise(db, rc, QStringLiteral("%1: create").arg(path));
        configure(db);
        exec(db, QStringLiteral("BEGIN"), "create");
        exec(db, QStringLiteral("CREATE TABLE %1 (key TEXT PRIMARY KEY, value BLOB)").arg(quoted(kInfoTable)),
             "create");
        Stmt info(db, QStringLiteral("INSERT INTO %1 VALUES (?, ?)").arg(quoted(kInfoTable)));
        // Keys and readable values as text, so that the record reads plainly in any SQLite tool.
        auto put = [&](const char* key, const QByteArray& value, bool text = true) {
            sqlite3_bind_text(info.get(), 1, key, -1, SQLITE_TRANSIENT);
            if (text)
                sqlite3_bind_text(info.get(), 2, value.constData(), int(value.size()), SQLITE_TRANSIENT);
            else
                info.bind(2, Cell::bytes(value));
            info.step("create");
            info.reset();
        };
        put("format", QByteArray::number(kFormat));
        put("definition", definitionToJson(def));
        if (!password.isEmpty()) {
            QByteArray salt(16, Qt::Uninitialized);
            if (RAND_bytes(reinterpret_cast<uchar*>(salt.data()), int(salt.size())) != 1)
                throw TableError(TableErrorCode::General,
                                 QStringLiteral("no random bytes for the password salt"));
            put("password.salt", salt, false);
            put("password.iterations", QByteArray::number(kPasswordIterations));
            put("password.verifier", derive(ToAnsi(password), salt, kPasswordIterations), false);
        }
        info.finalize();
        stepDone(1);
        const QStringList sql = schemaSql(def);
        exec(db, sql.first(), "create");
        stepDone(2);
        for (int i = 1; i < sql.size(); ++i)
            exec(db, sql[i], "create index");
        stepDone(3);
        exec(db, QStringLiteral("COMMIT"), "create");
        const int closeRc = sqlite3_close(db);
        db = nullptr;
        if (closeRc != SQLITE_OK)
            raise(nullptr, closeRc, QStringLiteral("%1: create").arg(path));
        stepDone(4);
        moveIntoPlace(tmp, QFile::encodeName(path), path);
        ::close(fd);
        syncFolder(folder);
    } catch (...) {
        discard();
        throw;
    }
}

void Table::copyTableFile(const QString& source, const QString& target)
{
    const QByteArray src = QFile::encodeName(source);
    const QByteArray dst = QFile::encodeName(target);
    if (!QFileInfo(source).isFile())
        throw TableMissingError(QStringLiteral("%1: the table does not exist").arg(source));
    // The target is made here, so that an existing file is never taken over.
    const int fd = ::open(dst.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        throw TableError(errno == EEXIST ? TableErrorCode::Exists : TableErrorCode::General,
                         QStringLiteral("%1: cannot create: %2").arg(target, qt_error_string(errno)));
    sqlite3* from = nullptr;
    sqlite3* to = nullptr;
    auto closeBoth = [&] {
        if (from)
            sqlite3_close_v2(from);
        if (to)
            sqlite3_close_v2(to);
        from = to = nullptr;
    };
    try {
        // Read-write, so that a journal left by an interrupted write is rolled back first; a file the user
        // may not write opens read-only.
        int rc = sqlite3_open_v2(src.constData(), &from, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK)
            raise(from, rc, source);
        sqlite3_busy_timeout(from, 5000);
        rc = sqlite3_open_v2(dst.constData(), &to, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK)
            raise(to, rc, target);
        configure(to);
        sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
        if (!backup)
            raise(to, sqlite3_errcode(to), target);
        rc = sqlite3_backup_step(backup, -1);
        const int finishRc = sqlite3_backup_finish(backup);
        if (rc != SQLITE_DONE)
            raise(to, rc, source);
        if (finishRc != SQLITE_OK)
            raise(to, finishRc, target);
        {
            Stmt q(to, QStringLiteral("PRAGMA integrity_check"));
            if (!q.step("integrity check") ||
                qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(q.get(), 0)), "ok") != 0)
                throw TableDamagedError(source + QLatin1String(": the copy is not sound"));
        }
        rc = sqlite3_close(to);
        to = nullptr;
        if (rc != SQLITE_OK)
            raise(nullptr, rc, target);
        closeBoth();
        if (::fsync(fd) != 0)
            throw TableError(TableErrorCode::General,
                             QStringLiteral("%1: sync: %2").arg(target, qt_error_string(errno)));
        ::close(fd);
    } catch (...) {
        closeBoth();
        ::close(fd);
        ::unlink(dst.constData());
        ::unlink((dst + "-journal").constData());
        throw;
    }
}

void Table::setDatabaseName(const QString& folder)
{
    if (active())
        throw TableError(TableErrorCode::WrongState, QStringLiteral("the table is open"));
    m_folder = folder;
}

void Table::setTableName(const QString& fileName)
{
    if (active())
        throw TableError(TableErrorCode::WrongState, QStringLiteral("the table is open"));
    m_tableName = fileName;
}

QString Table::filePath() const
{
    if (m_folder.isEmpty())
        return m_tableName;
    return m_folder.endsWith(QLatin1Char('/')) ? m_folder + m_tableName
                                               : m_folder + QLatin1Char('/') + m_tableName;
}

bool Table::exists() const
{
    return QFileInfo(filePath()).isFile();
}

void Table::setExclusive(bool on)
{
    if (active())
        throw TableError(TableErrorCode::WrongState, QStringLiteral("the table is open"));
    m_exclusive = on;
}

bool Table::active() const
{
    return d->state != TableState::Inactive;
}
TableState Table::state() const
{
    return d->state;
}
const TableDef& Table::definition() const
{
    return d->def;
}

void Table::open()
{
    if (active())
        return;
    const QString path = filePath();
    if (!QFileInfo(path).isFile())
        throw TableMissingError(QStringLiteral("%1: the table does not exist").arg(path));
    try {
        // Opens of this program meet on the lock file: shared opens share it, an exclusive open needs it
        // alone.
        // The lock file is never a link or anything but a regular file: a planted link must not make
        // this program create or lock a file elsewhere.
        const QByteArray lockPath = QFile::encodeName(path + QLatin1String(".lck"));
        d->lockFd =
            ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
        if (d->lockFd < 0 && errno != ELOOP)
            d->lockFd = ::open(lockPath.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (d->lockFd < 0)
            throw TableError(TableErrorCode::General,
                             QStringLiteral("%1: no lock file: %2").arg(path, qt_error_string(errno)));
        struct stat lockStat;
        if (::fstat(d->lockFd, &lockStat) != 0 || !S_ISREG(lockStat.st_mode))
            throw TableError(TableErrorCode::General,
                             QStringLiteral("%1: the lock file is not a regular file").arg(path));
        if (::flock(d->lockFd, (m_exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0)
            throw TableLockedError(QStringLiteral("%1: the table is in use").arg(path));

        const int rc =
            sqlite3_open_v2(QFile::encodeName(path).constData(), &d->db, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK)
            raise(d->db, rc, path);
        configure(d->db);

        QHash<QByteArray, QByteArray> info;
        {
            sqlite3_stmt* raw = nullptr;
            const QByteArray sql = "SELECT key, value FROM " + quoted(kInfoTable).toUtf8();
            const int prc = sqlite3_prepare_v2(d->db, sql.constData(), -1, &raw, nullptr);
            if (prc != SQLITE_OK) {
                sqlite3_finalize(raw);
                if ((prc & 0xff) == SQLITE_ERROR)
                    throw TableDamagedError(path + QLatin1String(": not a table file"));
                raise(d->db, prc, path);
            }
            int src;
            while ((src = sqlite3_step(raw)) == SQLITE_ROW)
                info.insert(QByteArray(reinterpret_cast<const char*>(sqlite3_column_blob(raw, 0)),
                                       sqlite3_column_bytes(raw, 0)),
                            QByteArray(static_cast<const char*>(sqlite3_column_blob(raw, 1)),
                                       sqlite3_column_bytes(raw, 1)));
            sqlite3_finalize(raw);
            if (src != SQLITE_DONE)
                raise(d->db, src, path);
        }
        if (info.value("format").toInt() != kFormat)
            throw TableDamagedError(path + QLatin1String(": unknown table format"));
        const auto def = definitionFromJson(info.value("definition"));
        if (!def)
            throw TableDamagedError(path + QLatin1String(": the table definition cannot be read"));
        try {
            validate(*def);
        } catch (const TableError& e) {
            throw TableDamagedError(path + QLatin1String(": ") + e.message());
        }
        d->def = *def;
        d->table = baseName(d->def.fileName);
        d->keyField = primaryField(d->def);

        const int iterations = info.value("password.iterations").toInt();
        if (info.contains("password.verifier") &&
            (info.value("password.salt").isEmpty() || iterations < 1 || iterations > kMaxPasswordIterations))
            throw TableDamagedError(path + QLatin1String(": the password record cannot be read"));
        if (info.contains("password.verifier") &&
            !m_session.holdsPassword(info.value("password.salt"), info.value("password.iterations").toInt(),
                                     info.value("password.verifier")))
            throw TableNoPasswordError(path + QLatin1String(": the session holds no password of the table"));

        QStringList cols;
        for (const FieldDef& f : d->def.fields)
            cols.append(quoted(f.name));
        QStringList marks(cols.size(), QStringLiteral("?"));
        d->selectRow.prepare(d->db, QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                                        .arg(cols.join(QLatin1String(", ")), quoted(d->table)));
        d->insertRow.prepare(d->db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                        .arg(quoted(d->table), cols.join(QLatin1String(", ")),
                                             marks.join(QLatin1String(", "))));
        d->deleteRow.prepare(d->db, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(d->table)));
        d->versionStmt.prepare(d->db, QStringLiteral("PRAGMA data_version"));
        d->wanted.clear();
        d->blockStale = true;
        d->beginStmt.prepare(d->db, QStringLiteral("BEGIN"));
        d->commitStmt.prepare(d->db, QStringLiteral("COMMIT"));

        const IndexDef* idx = d->def.findIndex(d->pendingIndex);
        if (!idx)
            throw TableError(TableErrorCode::UnknownIndex,
                             QStringLiteral("%1: no index \"%2\"").arg(path, d->pendingIndex));
        d->useIndex(idx);
        d->state = TableState::Browse;
        Private::ReadScope scope(*d);
        d->loadKeys();
        d->goFirst();
    } catch (...) {
        d->closeAll();
        throw;
    }
}

void Table::close()
{
    if (d->db && !sqlite3_get_autocommit(d->db))
        sqlite3_exec(d->db, "ROLLBACK", nullptr, nullptr, nullptr);
    d->closeAll();
}

void Table::setIndexName(const QString& name)
{
    if (!active()) {
        d->pendingIndex = name;
        return;
    }
    d->requireBrowse();
    const IndexDef* idx = d->def.findIndex(name);
    if (!idx)
        throw TableError(TableErrorCode::UnknownIndex,
                         QStringLiteral("%1: no index \"%2\"").arg(d->def.fileName, name));
    d->pendingIndex = name;
    if (idx == d->index)
        return;
    Private::ReadScope scope(*d);
    const qint64 k = d->key();
    d->rangeOn = false;
    d->useIndex(idx);
    d->loadKeys();
    d->reposition(k);
}

QString Table::indexName() const
{
    return d->pendingIndex;
}

QStringList Table::indexFieldNames() const
{
    const IndexDef* idx = active() ? d->index : nullptr;
    return idx ? idx->fields : QStringList();
}

void Table::first()
{
    d->requireBrowse();
    Private::ReadScope scope(*d);
    d->reloadWhenChanged();
    d->goFirst();
}

void Table::last()
{
    d->requireBrowse();
    Private::ReadScope scope(*d);
    d->reloadWhenChanged();
    d->pos = d->hi > d->lo ? d->hi - 1 : d->lo;
    d->eof = true;
    d->bof = d->lo == d->hi;
    d->rowLoaded = false;
}

void Table::next()
{
    d->requireBrowse();
    if (d->hasCurrent() && d->pos + 1 < d->hi) {
        ++d->pos;
        d->bof = d->eof = false;
        d->rowLoaded = false;
    } else {
        d->eof = true;
    }
}

void Table::prior()
{
    d->requireBrowse();
    if (d->hasCurrent() && d->pos > d->lo) {
        --d->pos;
        d->bof = d->eof = false;
        d->rowLoaded = false;
    } else {
        d->bof = true;
    }
}

bool Table::eof() const
{
    return !active() || d->eof;
}
bool Table::bof() const
{
    return !active() || d->bof;
}
bool Table::isEmpty() const
{
    return !active() || d->lo == d->hi;
}

int Table::recordCount()
{
    d->requireActive();
    if (d->state == TableState::Browse) {
        Private::ReadScope scope(*d);
        d->reloadWhenChanged();
    }
    return int(d->hi - d->lo);
}

int Table::recNo() const
{
    return active() && d->hasCurrent() ? int(d->pos - d->lo + 1) : 0;
}

qint64 Table::currentKey() const
{
    if (d->state == TableState::Edit)
        return d->editKey;
    if (d->state != TableState::Browse)
        return -1;
    return d->key();
}

bool Table::findKey(const QVariantList& key)
{
    d->requireBrowse();
    Private::ReadScope scope(*d);
    d->reloadWhenChanged();
    const Row k = d->keyCells(key);
    const size_t p = d->bound(k, d->lo, d->hi, false);
    if (p >= d->hi)
        return false;
    Row t;
    d->readTuple(d->keys[p], t);
    if (d->comparePrefix(t, k) != 0)
        return false;
    d->pos = p;
    d->bof = d->eof = false;
    d->rowLoaded = false;
    return true;
}

void Table::findNearest(const QVariantList& key)
{
    d->requireBrowse();
    Private::ReadScope scope(*d);
    d->reloadWhenChanged();
    const size_t p = d->bound(d->keyCells(key), d->lo, d->hi, false);
    d->rowLoaded = false;
    if (p < d->hi) {
        d->pos = p;
        d->bof = d->eof = false;
    } else {
        last();
    }
}

void Table::setRangeStart(const QVariantList& key)
{
    d->requireBrowse();
    d->keyCells(key); // refuses a key that does not fit the index now rather than at apply
    d->rangeStart = key;
}

void Table::setRangeEnd(const QVariantList& key)
{
    d->requireBrowse();
    d->keyCells(key);
    d->rangeEnd = key;
}

void Table::applyRange()
{
    d->requireBrowse();
    Private::ReadScope scope(*d);
    d->reloadWhenChanged();
    d->rangeOn = true;
    d->computeRange();
    d->goFirst();
}

void Table::setRange(const QVariantList& start, const QVariantList& end)
{
    setRangeStart(start);
    setRangeEnd(end);
    applyRange();
}

void Table::cancelRange()
{
    d->requireBrowse();
    Private::ReadScope scope(*d);
    const qint64 k = d->key();
    d->rangeOn = false;
    d->rangeStart.clear();
    d->rangeEnd.clear();
    d->reloadWhenChanged();
    d->computeRange();
    d->reposition(k);
}

bool Table::locate(const QStringList& fields, const QVariantList& values, LocateOptions options)
{
    d->requireBrowse();
    if (fields.size() != values.size() || fields.isEmpty())
        throw TableError(TableErrorCode::BadValue, QStringLiteral("locate: fields and values do not pair"));
    Private::ReadScope scope(*d);
    d->reloadWhenChanged();
    QStringList where;
    Row binds;
    for (int i = 0; i < fields.size(); ++i) {
        const int fi = fieldIndex(fields[i]);
        if (fi < 0)
            throw TableError(TableErrorCode::UnknownField,
                             QStringLiteral("%1: no field \"%2\"").arg(d->def.fileName, fields[i]));
        const Cell c = d->toCell(fi, values[i], false);
        QString col = quoted(d->def.fields[fi].name);
        if (c.kind == Cell::Null) {
            where.append(col + QLatin1String(" IS NULL"));
            continue;
        }
        if (c.kind == Cell::Bytes && options.partialKey)
            col = QStringLiteral("substr(%1, 1, %2)").arg(col).arg(c.b.size());
        if (c.kind == Cell::Bytes && options.caseInsensitive)
            where.append(QStringLiteral("CAST(%1 AS TEXT) COLLATE %2 = CAST(? AS TEXT)")
                             .arg(col, QLatin1String(kCollation)));
        else
            where.append(col + QLatin1String(" = ?"));
        binds.push_back(c);
    }
    Stmt q(d->db, QStringLiteral("SELECT rowid FROM %1 WHERE %2 ORDER BY %3")
                      .arg(quoted(d->table), where.join(QLatin1String(" AND ")), d->orderBy()));
    for (size_t i = 0; i < binds.size(); ++i)
        q.bind(int(i + 1), binds[i]);
    const auto begin = d->keys.begin() + qint64(d->lo);
    const auto end = d->keys.begin() + qint64(d->hi);
    while (q.step("locate")) {
        const qint64 k = sqlite3_column_int64(q.get(), 0);
        const auto it = std::find(begin, end, k);
        if (it != end) {
            q.reset();
            d->pos = size_t(it - d->keys.begin());
            d->bof = d->eof = false;
            d->rowLoaded = false;
            return true;
        }
    }
    return false;
}

void Table::refresh()
{
    d->requireBrowse();
    Private::ReadScope scope(*d);
    const qint64 k = d->key();
    d->loadKeys();
    d->reposition(k);
}

int Table::fieldCount() const
{
    return int(d->def.fields.size());
}

int Table::fieldIndex(const QString& name) const
{
    return d->def.fieldIndex(name);
}

TableField Table::field(int index)
{
    d->requireActive();
    if (index < 0 || index >= d->def.fields.size())
        throw TableError(TableErrorCode::UnknownField,
                         QStringLiteral("%1: no field %2").arg(d->def.fileName).arg(index));
    return TableField(this, index);
}

TableField Table::fieldByName(const QString& name)
{
    d->requireActive();
    const int i = d->def.fieldIndex(name);
    if (i < 0)
        throw TableError(TableErrorCode::UnknownField,
                         QStringLiteral("%1: no field \"%2\"").arg(d->def.fileName, name));
    return TableField(this, i);
}

void Table::append()
{
    d->requireBrowse();
    d->buffer.assign(size_t(d->def.fields.size()), Cell());
    d->changed.assign(d->buffer.size(), false);
    d->editKey = -1;
    d->state = TableState::Insert;
}

void Table::insert()
{
    append();
} // an indexed table places a new record by its keys

void Table::edit()
{
    d->requireBrowse();
    if (!d->hasCurrent())
        throw RecordGoneError(d->def.fileName + QLatin1String(": no current record"));
    d->dropCache(); // edit what is stored now, not what was read before
    d->buffer = d->current();
    if (!d->rowFound)
        throw RecordGoneError(d->def.fileName + QLatin1String(": the record was deleted"));
    d->changed.assign(d->buffer.size(), false);
    d->editKey = d->keys[d->pos];
    d->state = TableState::Edit;
}

qint64 Table::post()
{
    d->requireActive();
    if (d->state == TableState::Browse)
        return d->key();
    const int n = d->def.fields.size();
    for (int i = 0; i < n; ++i) {
        const FieldDef& f = d->def.fields[i];
        const Cell& c = d->buffer[size_t(i)];
        if (f.type == FieldType::Alpha && c.kind == Cell::Bytes && c.b.size() > f.size)
            throw FieldTooLongError(QStringLiteral("%1: field \"%2\" holds at most %3 bytes")
                                        .arg(d->def.fileName, f.name)
                                        .arg(f.size));
    }
    qint64 key = -1;
    if (d->state == TableState::Insert) {
        for (int i = 0; i < n; ++i)
            d->insertRow.bind(i + 1, d->buffer[size_t(i)]);
        try {
            d->insertRow.step("post");
        } catch (...) {
            d->insertRow.reset();
            throw;
        }
        d->insertRow.reset();
        key = sqlite3_last_insert_rowid(d->db);
    } else {
        QStringList sets;
        Row binds;
        for (int i = 0; i < n; ++i)
            if (d->changed[size_t(i)]) {
                sets.append(quoted(d->def.fields[i].name) + QLatin1String(" = ?"));
                binds.push_back(d->buffer[size_t(i)]);
            }
        key = d->editKey;
        if (!sets.isEmpty()) {
            Stmt u(d->db, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                              .arg(quoted(d->table), sets.join(QLatin1String(", "))));
            for (size_t i = 0; i < binds.size(); ++i)
                u.bind(int(i + 1), binds[i]);
            u.bindInt(int(binds.size() + 1), d->editKey);
            u.step("post");
            if (sqlite3_changes(d->db) == 0)
                throw RecordGoneError(d->def.fileName + QLatin1String(": the record was deleted"));
            if (d->changed[size_t(d->keyField)] && d->buffer[size_t(d->keyField)].kind == Cell::Int)
                key = d->buffer[size_t(d->keyField)].i;
        }
    }
    const qint64 oldKey = d->state == TableState::Edit ? d->editKey : -1;
    d->state = TableState::Browse;
    d->buffer.clear();
    d->dropCache();
    Private::ReadScope scope(*d);
    // Our own commits leave data_version alone; a move means another writer came too.
    if (d->currentVersion() != d->dataVersion) {
        d->loadKeys();
    } else {
        // Keep the order in step with our own write instead of reading every key again.
        if (oldKey >= 0) {
            const auto it = d->hasCurrent() && d->keys[d->pos] == oldKey
                                ? d->keys.begin() + qint64(d->pos)
                                : std::find(d->keys.begin(), d->keys.end(), oldKey);
            if (it != d->keys.end())
                d->keys.erase(it);
        }
        const size_t slot = d->slotFor(key);
        d->keys.insert(d->keys.begin() + qint64(slot), key);
        d->computeRange();
        d->dataVersion = d->currentVersion();
        if (slot >= d->lo && slot < d->hi) {
            d->pos = slot;
            d->bof = d->eof = false;
            return key;
        }
    }
    d->reposition(key);
    return key;
}

void Table::cancel()
{
    d->requireActive();
    if (d->state == TableState::Edit || d->state == TableState::Insert) {
        d->state = TableState::Browse;
        d->buffer.clear();
        d->rowLoaded = false;
    }
}

void Table::deleteRecord()
{
    d->requireActive();
    if (d->state == TableState::Insert) {
        cancel();
        return;
    }
    cancel();
    if (!d->hasCurrent())
        throw RecordGoneError(d->def.fileName + QLatin1String(": no current record"));
    const qint64 key = d->keys[d->pos];
    d->deleteRow.bindInt(1, key);
    d->deleteRow.step("delete");
    d->deleteRow.reset();
    d->dropCache();
    if (sqlite3_changes(d->db) == 0)
        throw RecordGoneError(d->def.fileName + QLatin1String(": the record was deleted"));
    const size_t at = d->pos;
    Private::ReadScope scope(*d);
    if (d->currentVersion() != d->dataVersion) {
        d->loadKeys();
        d->pos = std::clamp(at, d->lo, d->hi);
    } else {
        d->keys.erase(d->keys.begin() + qint64(at));
        --d->hi;
        d->dataVersion = d->currentVersion();
    }
    d->rowLoaded = false;
    if (d->lo == d->hi) {
        d->goFirst();
    } else {
        if (d->pos >= d->hi)
            d->pos = d->hi - 1;
        d->bof = d->eof = false;
    }
}

// Every post is committed with synchronous=FULL, so nothing waits in a buffer of ours.
void Table::flushBuffers()
{
    d->requireActive();
}

void Table::startTransaction()
{
    d->requireBrowse();
    exec(d->db, QStringLiteral("BEGIN IMMEDIATE"), "start transaction");
}

void Table::commit()
{
    d->requireBrowse();
    exec(d->db, QStringLiteral("COMMIT"), "commit");
}

void Table::rollback()
{
    d->requireActive();
    cancel();
    exec(d->db, QStringLiteral("ROLLBACK"), "rollback");
    const qint64 k = d->key();
    d->loadKeys();
    d->reposition(k);
}

bool Table::inTransaction() const
{
    return d->db && !sqlite3_get_autocommit(d->db);
}

void Table::pack()
{
    d->requireBrowse();
    if (!m_exclusive)
        throw TableLockedError(d->def.fileName + QLatin1String(": packing needs an exclusive open"));
    // The auto-increment counter lives in sqlite_sequence and survives, so numbers are never given twice.
    exec(d->db, QStringLiteral("VACUUM"), "pack");
    const qint64 k = d->key();
    d->loadKeys();
    d->reposition(k);
}

void Table::regenerateIndexes()
{
    d->requireBrowse();
    exec(d->db, QStringLiteral("REINDEX"), "regenerate indexes");
    const qint64 k = d->key();
    d->loadKeys();
    d->reposition(k);
}

QStringList Table::integrityCheck()
{
    d->requireBrowse();
    QStringList problems;
    try {
        Stmt q(d->db, QStringLiteral("PRAGMA integrity_check"));
        while (q.step("integrity check"))
            problems.append(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(q.get(), 0))));
    } catch (const TableDamagedError& e) {
        problems.append(e.message());
    }
    if (problems == QStringList{QStringLiteral("ok")})
        problems.clear();
    return problems;
}

// ---------------------------------------------------------------------------------------------------------

QString TableField::name() const
{
    return m_table->d->def.fields[m_index].name;
}
FieldType TableField::type() const
{
    return m_table->d->def.fields[m_index].type;
}
int TableField::size() const
{
    return m_table->d->def.fields[m_index].size;
}

bool TableField::isNull() const
{
    return m_table->d->cell(m_index).kind == Cell::Null;
}

AnsiString TableField::asAnsi() const
{
    const Cell& c = m_table->d->cell(m_index);
    if (c.kind == Cell::Null)
        return {};
    if (c.kind == Cell::Bytes)
        return c.b;
    switch (type()) {
    case FieldType::Logical:
        return c.i ? QByteArrayLiteral("True") : QByteArrayLiteral("False");
    case FieldType::Timestamp:
        return fromStored(c.i).toString(QLatin1String(kDateTimeFormat)).toLatin1();
    default:
        return QByteArray::number(c.i);
    }
}

qint64 TableField::asInteger() const
{
    const Cell& c = m_table->d->cell(m_index);
    if (c.kind == Cell::Int)
        return c.i;
    if (c.kind == Cell::Null)
        return 0;
    bool ok = false;
    const qint64 v = c.b.trimmed().toLongLong(&ok);
    if (!ok)
        throw TableError(TableErrorCode::BadValue,
                         QStringLiteral("field \"%1\" holds no number").arg(name()));
    return v;
}

bool TableField::asBoolean() const
{
    return asInteger() != 0;
}

QDateTime TableField::asDateTime() const
{
    const Cell& c = m_table->d->cell(m_index);
    if (c.kind != Cell::Int)
        return {};
    return fromStored(c.i);
}

QVariant TableField::value() const
{
    const Cell& c = m_table->d->cell(m_index);
    if (c.kind == Cell::Null)
        return {};
    switch (type()) {
    case FieldType::Alpha:
    case FieldType::Memo:
        return asAnsi();
    case FieldType::Logical:
        return c.i != 0;
    case FieldType::Timestamp:
        return fromStored(c.i);
    default:
        return c.i;
    }
}

void TableField::setValue(const QVariant& v)
{
    Table::Private& p = *m_table->d;
    if (p.state != TableState::Edit && p.state != TableState::Insert)
        throw TableError(TableErrorCode::WrongState,
                         QStringLiteral("%1: field \"%2\" set outside edit").arg(p.def.fileName, name()));
    if (type() == FieldType::AutoInc && p.state == TableState::Edit)
        throw TableError(
            TableErrorCode::WrongState,
            QStringLiteral("%1: auto-increment field \"%2\" is read-only").arg(p.def.fileName, name()));
    p.buffer[size_t(m_index)] = p.toCell(m_index, v, true);
    p.changed[size_t(m_index)] = true;
}

void TableField::setAnsi(const AnsiString& bytes)
{
    setValue(QVariant(bytes));
}
void TableField::setInteger(qint64 v)
{
    setValue(QVariant(v));
}
void TableField::setBoolean(bool v)
{
    setValue(QVariant(v));
}
void TableField::setDateTime(const QDateTime& v)
{
    setValue(QVariant(v));
}
void TableField::clear()
{
    setValue(QVariant());
}

TableFileLock::TableFileLock(const QString& tablePath) : m_path(tablePath + QLatin1String(".lck")) {}

TableFileLock::~TableFileLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // releases the flock
}

bool TableFileLock::tryLock()
{
    if (m_fd >= 0)
        return true;
    const QByteArray path = QFile::encodeName(m_path);
    int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0)
        fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}
