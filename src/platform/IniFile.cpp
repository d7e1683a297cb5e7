// In-memory INI file over CP932 bytes.
#include "platform/IniFile.h"

#include "platform/Cp932.h"

#include <QFile>
#include <QSaveFile>

namespace {

QChar foldAscii(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') ? QChar(u + 32) : c;
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
    const QString text = Cp932::toUnicode(bytes);
    Section* current = nullptr;
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (i == lines.size() - 1 && line.isEmpty())
            break;
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
            const QString name = trimmed.mid(1, trimmed.size() - 2).trimmed();
            current = &sectionFor(name);
            continue;
        }
        Entry e;
        const int eq = line.indexOf(u'=');
        if (eq > 0 && !trimmed.startsWith(u';')) {
            e.key = line.left(eq).trimmed();
            e.value = line.mid(eq + 1).trimmed();
        }
        if (e.key.isEmpty()) {
            if (trimmed.isEmpty())
                continue;
            e.value = line;
        }
        if (current) {
            // A repeated key keeps its first value, as lookups see only the first.
            current->entries.append(e);
        } else {
            m_preamble.append(e);
        }
    }
}

void TMemIniFile::Clear()
{
    m_preamble.clear();
    m_sections.clear();
}

const TMemIniFile::Section* TMemIniFile::findSection(const QString& name) const
{
    for (const Section& s : m_sections)
        if (SameName(s.name, name))
            return &s;
    return nullptr;
}

TMemIniFile::Section* TMemIniFile::findSection(const QString& name)
{
    for (Section& s : m_sections)
        if (SameName(s.name, name))
            return &s;
    return nullptr;
}

TMemIniFile::Section& TMemIniFile::sectionFor(const QString& name)
{
    if (Section* s = findSection(name))
        return *s;
    m_sections.append(Section{name, {}});
    return m_sections.last();
}

QString TMemIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    if (const Section* s = findSection(section))
        for (const Entry& e : s->entries)
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
    Section& s = sectionFor(section);
    for (Entry& e : s.entries)
        if (!e.key.isEmpty() && SameName(e.key, key)) {
            e.value = value;
            return;
        }
    s.entries.append(Entry{key, value});
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
    return findSection(section) != nullptr;
}

bool TMemIniFile::ValueExists(const QString& section, const QString& key) const
{
    if (const Section* s = findSection(section))
        for (const Entry& e : s->entries)
            if (!e.key.isEmpty() && SameName(e.key, key))
                return true;
    return false;
}

QStringList TMemIniFile::ReadSection(const QString& section) const
{
    QStringList keys;
    if (const Section* s = findSection(section))
        for (const Entry& e : s->entries)
            if (!e.key.isEmpty())
                keys.append(e.key);
    return keys;
}

QStringList TMemIniFile::ReadSections() const
{
    QStringList names;
    for (const Section& s : m_sections)
        names.append(s.name);
    return names;
}

QStringList TMemIniFile::ReadSectionValues(const QString& section) const
{
    QStringList lines;
    if (const Section* s = findSection(section))
        for (const Entry& e : s->entries)
            if (!e.key.isEmpty())
                lines.append(e.key + u'=' + e.value);
    return lines;
}

void TMemIniFile::EraseSection(const QString& section)
{
    for (int i = 0; i < m_sections.size(); ++i)
        if (SameName(m_sections[i].name, section)) {
            m_sections.removeAt(i);
            return;
        }
}

void TMemIniFile::DeleteKey(const QString& section, const QString& key)
{
    if (Section* s = findSection(section))
        for (int i = 0; i < s->entries.size(); ++i)
            if (!s->entries[i].key.isEmpty() && SameName(s->entries[i].key, key)) {
                s->entries.removeAt(i);
                return;
            }
}

QByteArray TMemIniFile::ToBytes() const
{
    QString text;
    auto writeEntry = [&text](const Entry& e) {
        text += e.key.isEmpty() ? e.value : e.key + u'=' + e.value;
        text += QLatin1String("\r\n");
    };
    for (const Entry& e : m_preamble)
        writeEntry(e);
    for (int i = 0; i < m_sections.size(); ++i) {
        if (i > 0 || !m_preamble.isEmpty())
            text += QLatin1String("\r\n");
        text += u'[' + m_sections[i].name + QLatin1String("]\r\n");
        for (const Entry& e : m_sections[i].entries)
            writeEntry(e);
    }
    return Cp932::fromUnicode(text);
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
