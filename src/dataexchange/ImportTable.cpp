#include "dataexchange/ImportTable.h"

#include "platform/TableEngine.h"

namespace {

QByteArray numbered(const char* base, int n)
{
    return QByteArray(base) + QByteArray::number(n);
}

// Every field of the record in the form the table stores it: texts trimmed, lists as CR LF text.
class TFieldWriter
{
public:
    explicit TFieldWriter(TAdrsFieldSink& sink) : m_sink(sink) {}
    void text(const QByteArray& name, const AnsiString& value) { m_sink.Bytes(name, TrimAnsiText(value)); }
    template <int N> void text(const QByteArray& name, const TShortText<N>& value)
    {
        text(name, value.text());
    }
    void raw(const QByteArray& name, const AnsiString& value) { m_sink.Bytes(name, value); }
    void number(const QByteArray& name, qint64 value) { m_sink.Integer(name, value); }
    void flag(const QByteArray& name, bool value) { m_sink.Boolean(name, value); }
    void moment(const QByteArray& name, double value) { m_sink.Moment(name, FromTDateTime(value)); }

private:
    TAdrsFieldSink& m_sink;
};

// The sink of the engine's row being appended or edited.
class TTableSink : public TAdrsFieldSink
{
public:
    TTableSink(Table& table, QHash<QByteArray, int>& positions) : m_table(table), m_positions(positions) {}
    void Bytes(const QByteArray& name, const AnsiString& value) override { field(name).setAnsi(value); }
    void Integer(const QByteArray& name, qint64 value) override { field(name).setInteger(value); }
    void Boolean(const QByteArray& name, bool value) override { field(name).setBoolean(value); }
    void Moment(const QByteArray& name, const QDateTime& value) override { field(name).setDateTime(value); }

private:
    // Positions are kept by name: a search by name for every field of every row is what costs.
    TableField field(const QByteArray& name)
    {
        auto it = m_positions.find(name);
        if (it == m_positions.end())
            it = m_positions.insert(name, m_table.fieldIndex(QString::fromLatin1(name)));
        return *it >= 0 ? m_table.field(*it) : m_table.fieldByName(QString::fromLatin1(name));
    }
    Table& m_table;
    QHash<QByteArray, int>& m_positions;
};

} // namespace

void WriteAdrsDataRec(Table& table, const TAdrsDataRec& rec, QHash<QByteArray, int>* positions)
{
    QHash<QByteArray, int> own;
    TTableSink sink(table, positions ? *positions : own);
    VisitAdrsDataRec(rec, sink);
}

void VisitAdrsDataRec(const TAdrsDataRec& rec, TAdrsFieldSink& sink)
{
    TFieldWriter w(sink);
    w.number("Group", rec.Group);
    w.text("CustomCode", rec.CustomCode);
    w.text("Tel", rec.Tel);
    w.number("TelDiv", rec.TelDiv);
    w.text("Fax", rec.Fax);
    w.text("PubDate", rec.PubDate);
    w.text("Portable1", rec.Portable1);
    w.text("Portable2", rec.Portable2);
    w.text("Pos", rec.Pos);
    w.text("Tdfkn", rec.Tdfkn);
    w.text("Adrs1", rec.Adrs1);
    w.text("Adrs2", rec.Adrs2);
    w.text("Adrs3", rec.Adrs3);
    w.text("AdrsKana", rec.AdrsKana);
    w.text("JisCode", rec.JisCode);
    w.text("KajoCode", rec.KajoCode);
    w.number("Latitude", rec.Latitude);
    w.number("Longitude", rec.Longitude);
    w.flag("PrivCorp", rec.PrivCorp);
    w.text("MyNumber", rec.MyNumber);
    w.text("CorpKanji", rec.CorpKanji);
    w.text("CorpKana", rec.CorpKana);
    w.text("Dptmnt", rec.Dptmnt);
    w.text("Post", rec.Post);
    w.text("EmployeeNo", rec.EmployeeNo);
    w.text("NameKanji", rec.NameKanji);
    w.text("NameKana", rec.NameKana);
    w.text("Honor", rec.Honor);
    w.flag("IgnoreName", rec.IgnoreName);
    w.number("CodeMain", rec.CodeMain);
    w.number("CodeSub", rec.CodeSub);
    w.number("CodeGenre", rec.CodeGenre);
    w.text("URL", rec.URL);
    w.text("EMail1", rec.EMail1);
    w.text("EMail2", rec.EMail2);
    w.flag("JointPrint", rec.JointPrint);
    for (int i = 0; i < 5; ++i) {
        w.text(numbered("Joint", i + 1), rec.*AdrsJointFields[i]);
        w.text(numbered("JointHonor", i + 1), rec.*AdrsJointHonorFields[i]);
        w.text(numbered("JointMyNumber", i + 1), rec.*AdrsJointMyNumberFields[i]);
        w.flag(numbered("JointPrint", i + 1), rec.*AdrsJointPrintFields[i]);
    }
    w.number("JointOwner", rec.JointOwner);
    w.number("PrintTarget", rec.PrintTarget);
    w.number("Sender", rec.Sender);
    for (int i = 0; i < 8; ++i)
        w.raw(numbered("Keyword", i + 1), (rec.*AdrsKeywordFields[i]).text());
    w.raw("Note", LinesToText(rec.Note.value_or(QByteArrayList())));
    for (int i = 0; i < 10; ++i)
        w.text(numbered("ProtectMemo", i + 1), rec.*AdrsProtectMemoFields[i]);
    w.raw("ProtectNote", rec.ProtectNote.text());
    w.raw("ExtLink", LinesToText(rec.ExtLink.value_or(QByteArrayList())));
    w.text("SymbolMark", rec.SymbolMark);
    w.number("SymbolColor", rec.SymbolColor);
    w.moment("AddDateTime", rec.AddDateTime);
    w.moment("UpdDateTime", rec.UpdDateTime);
}

qint64 TAdrsImportTable::RecordCount()
{
    return m_table.recordCount();
}

// The codes are read once and then kept with every stored line: switching the table to the code index would
// reload the whole order on each look-up.
void TAdrsImportTable::loadCodes()
{
    m_codes.clear();
    m_codeOf.clear();
    const qint64 current = m_table.currentKey();
    for (m_table.first(); !m_table.eof(); m_table.next())
        addCode(qint32(m_table.currentKey()), m_table.fieldByName(QStringLiteral("CustomCode")).asAnsi());
    if (current >= 0)
        m_row.FindRecNo(qint32(current));
    m_codesLoaded = true;
}

void TAdrsImportTable::addCode(qint32 recNo, const AnsiString& code)
{
    if (code.isEmpty())
        return;
    m_codes[code].insert(recNo);
    m_codeOf.insert(recNo, code);
}

void TAdrsImportTable::removeCode(qint32 recNo)
{
    const auto it = m_codeOf.find(recNo);
    if (it == m_codeOf.end())
        return;
    const auto codes = m_codes.find(*it);
    if (codes != m_codes.end()) {
        codes->second.erase(recNo);
        if (codes->second.empty())
            m_codes.erase(codes);
    }
    m_codeOf.erase(it);
}

std::optional<qint32> TAdrsImportTable::FindCustomCode(const AnsiString& code)
{
    if (!m_codesLoaded)
        loadCodes();
    const auto it = m_codes.find(code);
    if (it == m_codes.end())
        return std::nullopt;
    return *it->second.begin(); // the first in index order: ties go by RecNo
}

std::optional<TAdrsDataRec> TAdrsImportTable::ReadRecord(qint32 recNo)
{
    if (!m_row.FindRecNo(recNo))
        return std::nullopt;
    TAdrsDataRec rec;
    ReadAdrsDataRec(m_row, rec, {});
    return rec;
}

bool TAdrsImportTable::post(const TAdrsDataRec& rec)
{
    try {
        WriteAdrsDataRec(m_table, rec, &m_positions);
        const qint32 recNo = qint32(m_table.post());
        if (m_codesLoaded) {
            removeCode(recNo);
            addCode(recNo, TrimAnsiText(rec.CustomCode.text()));
        }
        return true;
    } catch (const TableError&) {
        m_table.cancel();
        return false;
    }
}

bool TAdrsImportTable::Append(const TAdrsDataRec& rec)
{
    m_table.append();
    return post(rec);
}

bool TAdrsImportTable::Update(const TAdrsDataRec& rec)
{
    if (!m_row.FindRecNo(rec.RecNo))
        return false;
    m_table.edit();
    return post(rec);
}

void TAdrsImportTable::Begin()
{
    m_table.startTransaction();
}

void TAdrsImportTable::Commit()
{
    try {
        if (m_table.inTransaction())
            m_table.commit();
        m_table.flushBuffers();
    } catch (...) {
        m_codesLoaded = false; // what was rolled back may be in the kept codes
        throw;
    }
}
