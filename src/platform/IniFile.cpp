// In-memory INI file over CP932 bytes.
#include "platform/IniFile.h"

#include "platform/Cp932.h"

#include <QFile>
#include <QSaveFile>

#include <utility>

namespace {

QChar foldAscii(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') ? QChar(u + 32) : c;
}

QString foldName(const QString& name)
{
    QString folded = name;
    for (QChar& c : folded)
        c = foldAscii(c);
    return folded;
}

bool parseInteger(const QString& text, int* out)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    qint64 v = 0;
    if (t.startsWith(u'$'))
        v = t.mid(1).toLongLong(&ok, 16);
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = t.mid(2).toLongLong(&ok, 16);
    else if (t.startsWith(QLatin1String("-0x"), Qt::CaseInsensitive)) {
        v = -t.mid(3).toLongLong(&ok, 16);
    } else
        v = t.toLongLong(&ok, 10);
    if (!ok || v < INT_MIN || v > INT_MAX)
        return false;
    *out = int(v);
    return true;
}

} // namespace

bool TMemIniFile::SameName(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i)
        if (foldAscii(a[i]) != foldAscii(b[i]))
            return false;
    return true;
}

TMemIniFile::TMemIniFile(const QString& fileName) : m_fileName(fileName)
{
    QFile f(fileName);
    if (!f.exists())
        return;
    if (!f.open(QIODevice::ReadOnly)) {
        m_loadedOk = false;
        return;
    }
    SetBytes(f.readAll());
}

void TMemIniFile::SetBytes(const QByteArray& bytes)
{
    Clear();
    // Lines are cut at LF bytes (no CP932 trail byte takes that value) and decoded one by one, so every line
    // keeps its bytes for the write-back and the parse stays linear.
    int current = -1; // the block being read
    const auto entries = [&]() -> QList<Entry>& {
        return current < 0 ? m_preamble : m_sections[current].entries;
    };
    QList<QByteArray> blanks; // blank lines not yet placed: before the next header, or where they stood
    const auto placeBlanks = [&] {
        for (const QByteArray& b : std::as_const(blanks))
            entries().append(Entry{QString(), QString(), b, true});
        blanks.clear();
    };
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QByteArray raw = bytes.mid(start, end - start);
        start = end + 1;
        if (raw.endsWith('\r'))
            raw.chop(1);
        const QString line = Cp932::toUnicode(raw);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty()) {
            blanks.append(raw);
            continue;
        }
        if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
            Section block;
            block.name = trimmed.mid(1, trimmed.size() - 2).trimmed();
            block.leadBlanks = std::move(blanks);
            blanks.clear();
            block.rawHeader = raw;
            block.hasRaw = true;
            m_index[foldName(block.name)].append(int(m_sections.size()));
            current = int(m_sections.size());
            m_sections.append(std::move(block));
            continue;
        }
        placeBlanks();
        Entry e;
        e.raw = raw;
        e.hasRaw = true;
        const int eq = line.indexOf(u'=');
        if (eq > 0 && !trimmed.startsWith(u';')) {
            e.key = line.left(eq).trimmed();
            e.value = line.mid(eq + 1).trimmed();
        }
        if (e.key.isEmpty())
            e.value = line;
        // A repeated key keeps its first value, as lookups see only the first.
        entries().append(std::move(e));
    }
    placeBlanks();
}

void TMemIniFile::Clear()
{
    m_preamble.clear();
    m_sections.clear();
    m_index.clear();
}

QList<int> TMemIniFile::blocksOf(const QString& name) const
{
    return m_index.value(foldName(name));
}

TMemIniFile::Section& TMemIniFile::firstBlockFor(const QString& name)
{
    const QList<int> blocks = blocksOf(name);
    if (!blocks.isEmpty())
        return m_sections[blocks.first()];
    m_index[foldName(name)].append(int(m_sections.size()));
    m_sections.append(Section{name, {}, {}, false, {}});
    return m_sections.last();
}

void TMemIniFile::reindex()
{
    m_index.clear();
    for (int i = 0; i < m_sections.size(); ++i)
        m_index[foldName(m_sections[i].name)].append(i);
}

QString TMemIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    for (const int b : blocksOf(section))
        for (const Entry& e : m_sections[b].entries)
            if (!e.key.isEmpty() && SameName(e.key, key))
                return e.value;
    return def;
}

int TMemIniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    int v = 0;
    return parseInteger(ReadString(section, key, QString()), &v) ? v : def;
}

bool TMemIniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TMemIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    for (const int b : blocksOf(section))
        for (Entry& e : m_sections[b].entries)
            if (!e.key.isEmpty() && SameName(e.key, key)) {
                if (e.value != value) {
                    e.value = value;
                    e.hasRaw = false;
                }
                return;
            }
    // A new key goes after the last line of the section's first block that is not blank.
    QList<Entry>& entries = firstBlockFor(section).entries;
    qsizetype at = entries.size();
    while (at > 0 && entries[at - 1].key.isEmpty() && entries[at - 1].value.trimmed().isEmpty())
        --at;
    entries.insert(at, Entry{key, value, {}, false});
}

void TMemIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TMemIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TMemIniFile::SectionExists(const QString& section) const
{
    return m_index.contains(foldName(section));
}

bool TMemIniFile::ValueExists(const QString& section, const QString& key) const
{
    for (const int b : blocksOf(section))
        for (const Entry& e : m_sections[b].entries)
            if (!e.key.isEmpty() && SameName(e.key, key))
                return true;
    return false;
}

QStringList TMemIniFile::ReadSection(const QString& section) const
{
    QStringList keys;
    for (const int b : blocksOf(section))
        for (const Entry& e : m_sections[b].entries)
            if (!e.key.isEmpty())
                keys.append(e.key);
    return keys;
}

QStringList TMemIniFile::ReadSections() const
{
    QStringList names;
    for (int i = 0; i < m_sections.size(); ++i)
        if (blocksOf(m_sections[i].name).first() == i)
            names.append(m_sections[i].name);
    return names;
}

QStringList TMemIniFile::ReadSectionValues(const QString& section) const
{
    QStringList lines;
    for (const int b : blocksOf(section))
        for (const Entry& e : m_sections[b].entries)
            if (!e.key.isEmpty())
                lines.append(e.key + u'=' + e.value);
    return lines;
}

void TMemIniFile::EraseSection(const QString& section)
{
    const QList<int> blocks = blocksOf(section);
    for (auto it = blocks.crbegin(); it != blocks.crend(); ++it)
        m_sections.removeAt(*it);
    if (!blocks.isEmpty())
        reindex();
}

void TMemIniFile::DeleteKey(const QString& section, const QString& key)
{
    for (const int b : blocksOf(section)) {
        QList<Entry>& entries = m_sections[b].entries;
        for (int i = 0; i < entries.size(); ++i)
            if (!entries[i].key.isEmpty() && SameName(entries[i].key, key)) {
                entries.removeAt(i);
                return;
            }
    }
}

QByteArray TMemIniFile::entryBytes(const Entry& e)
{
    if (e.hasRaw)
        return e.raw;
    return Cp932::fromUnicode(e.key.isEmpty() ? e.value : e.key + u'=' + e.value);
}

QByteArray TMemIniFile::ToBytes() const
{
    QByteArray out;
    const auto line = [&out](const QByteArray& bytes) {
        out += bytes;
        out += "\r\n";
    };
    for (const Entry& e : m_preamble)
        line(entryBytes(e));
    for (const Section& s : m_sections) {
        if (s.hasRaw) {
            for (const QByteArray& blank : s.leadBlanks)
                line(blank);
            line(s.rawHeader);
        } else {
            // A section made here is set off from what comes before by one blank line.
            if (!out.isEmpty() && !out.endsWith("\r\n\r\n") && out != "\r\n")
                out += "\r\n";
            line(Cp932::fromUnicode(u'[' + s.name + u']'));
        }
        for (const Entry& e : s.entries)
            line(entryBytes(e));
    }
    return out;
}

bool TMemIniFile::UpdateFile(QString* error) const
{
    QSaveFile f(m_fileName);
    if (!f.open(QIODevice::WriteOnly) || f.write(ToBytes()) < 0 || !f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}
