// In-memory INI file: read whole as CP932, edited in memory, written back whole and atomically.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class TMemIniFile
{
public:
    // Reads the file when it exists; a missing or unreadable file gives an empty INI.
    explicit TMemIniFile(const QString& fileName);

    const QString& FileName() const { return m_fileName; }
    // False when the file existed but could not be read.
    bool LoadedOk() const { return m_loadedOk; }

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // The value as an integer (decimal, or hex as "$1F"/"0x1F"); def when missing or not a number.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    // ReadInteger(...) != 0, with def as 0/1.
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    // Keys of a section in file order.
    QStringList ReadSection(const QString& section) const;
    // Section names in file order.
    QStringList ReadSections() const;
    // "key=value" lines of a section in file order.
    QStringList ReadSectionValues(const QString& section) const;
    void EraseSection(const QString& section);
    void DeleteKey(const QString& section, const QString& key);
    void Clear();

    // Writes the whole file (CP932, CR LF) through a temporary file renamed over the target.
    // On failure the old file is untouched and the reason is in *error.
    bool UpdateFile(QString* error = nullptr) const;
    // The file's text as UpdateFile writes it.
    QByteArray ToBytes() const;
    // Replaces the contents from CP932 bytes.
    void SetBytes(const QByteArray& bytes);

    // Case-insensitive comparison folding single-byte ASCII only.
    static bool SameName(const QString& a, const QString& b);

private:
    struct Entry
    {
        QString key;   // empty for a line without "=" (kept as it was)
        QString value; // the value, or the whole line when key is empty
        QByteArray raw; // the line's bytes as read; written back while the entry is unchanged
        bool hasRaw = false;
    };
    // One "[name]" block as it stands in the file; a name may head several blocks, which read as one
    // section and are written back where they were.
    struct Section
    {
        QString name;
        QList<QByteArray> leadBlanks; // blank lines before the header, as read
        QByteArray rawHeader;
        bool hasRaw = false;
        QList<Entry> entries;
    };

    QList<int> blocksOf(const QString& name) const;
    Section& firstBlockFor(const QString& name);
    void reindex();
    static QByteArray entryBytes(const Entry& e);

    QString m_fileName;
    bool m_loadedOk = true;
    QList<Entry> m_preamble; // lines before the first section
    QList<Section> m_sections;
    QHash<QString, QList<int>> m_index; // folded name -> its blocks in file order
};
