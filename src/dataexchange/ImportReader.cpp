#include "dataexchange/ImportReader.h"

#include "core/AppSub.h"

namespace {

constexpr qint64 ChunkSize = 64 * 1024;

} // namespace

bool TImportLineReader::fill()
{
    if (m_end)
        return false;
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    const qsizetype old = m_buffer.size();
    m_buffer.resize(old + ChunkSize);
    const qint64 got = m_device.read(m_buffer.data() + old, ChunkSize);
    if (got < 0) {
        m_buffer.resize(old);
        throw EImportReadError(m_device.errorString().toStdString());
    }
    m_buffer.resize(old + got);
    if (got == 0)
        m_end = true;
    return got > 0;
}

bool TImportLineReader::ReadLine(AnsiString& line)
{
    qsizetype scan = m_pos;
    for (;;) {
        const char* begin = m_buffer.constData();
        qsizetype i = scan;
        while (i < m_buffer.size() && begin[i] != '\r' && begin[i] != '\n')
            ++i;
        if (i < m_buffer.size()) {
            // A CR at the buffer's end may be followed by LF in the next chunk.
            if (begin[i] == '\r' && i + 1 == m_buffer.size() && !m_end) {
                const qsizetype offset = i - m_pos;
                fill();
                i = m_pos + offset;
                begin = m_buffer.constData();
            }
            line = m_buffer.mid(m_pos, i - m_pos);
            qsizetype next = i + 1;
            if (begin[i] == '\r' && next < m_buffer.size() && begin[next] == '\n')
                ++next;
            m_pos = next;
            return true;
        }
        const qsizetype offset = i - m_pos;
        if (!fill()) {
            if (m_pos >= m_buffer.size())
                return false;
            line = m_buffer.mid(m_pos);
            m_pos = m_buffer.size();
            return true;
        }
        scan = m_pos + offset;
    }
}

int CountFieldSeparators(const AnsiString& line)
{
    int count = 0;
    bool quoted = false;
    for (int i = 0; i < line.size();) {
        const char c = line[i];
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            ++count;
        i += Cp932::charLengthAt(line, i);
    }
    return count;
}

QList<AnsiString> ImportPreviewFields(const AnsiString& firstLine)
{
    QList<AnsiString> fields{firstLine};
    SplitText(fields, CountFieldSeparators(firstLine), SplitCsvQuoted, 0, ",");
    return fields;
}

qint64 CountImportLines(QIODevice& device, bool skipFirst)
{
    TImportLineReader reader(device);
    AnsiString line;
    qint64 count = 0;
    while (reader.ReadLine(line))
        ++count;
    return skipFirst ? qMax<qint64>(count - 1, 0) : count;
}

void PrepareImportLine(const AnsiString& line, int columnCount, int matchColumn, const TImportMapping& mapping,
                       TImportLine& out)
{
    out.line = line;
    out.matchKey.clear();
    for (AnsiString& text : out.itemTexts)
        text.clear();
    const int separators = CountFieldSeparators(line);
    if (separators < columnCount - 1)
        out.line.append(QByteArray(columnCount - 1 - separators, ','));
    if (separators > columnCount - 1) {
        out.errorCode = ImportColumnCountError;
        return;
    }
    out.errorCode = 0;
    QList<AnsiString> fields{out.line};
    SplitText(fields, columnCount - 1, SplitCsvUnquoted, 0, ",");
    out.matchKey = fields.value(matchColumn);
    for (int item = 1; item <= ImportItemCount; ++item) {
        AnsiString& text = out.itemTexts[std::size_t(item - 1)];
        for (int part = 1; part <= ImportPartCount; ++part) {
            const TImportPartSpec& spec = mapping.Spec(item, part);
            if (spec.kind == TImportPartSpec::Empty)
                break;
            text += spec.kind == TImportPartSpec::Constant ? ToAnsi(mapping.CellText(item, part))
                                                           : fields.value(spec.column);
        }
    }
}
