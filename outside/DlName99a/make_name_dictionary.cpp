// Build tool: turns a name list (UTF-8 "kind<TAB>katakana reading<TAB>written form" lines) into the two
// dictionary files of DlName99a.dll (format described in DlName99a.cpp).
#include "DlName99a.h"
#include "core/FontSub.h"
#include "platform/Cp932.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <set>
#include <utility>

namespace {

struct Entry
{
    QByteArray reading;
    QByteArray word;
};

struct Kind
{
    const char* name;
    const char* file;
    QList<Entry> entries;
    std::set<std::pair<QByteArray, QByteArray>> seen;
};

bool isHalfWidthKatakana(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() >= 0xFF66 && c.unicode() <= 0xFF9F;
    });
}

int fail(const QString& message)
{
    std::fprintf(stderr, "make_name_dictionary: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return fail(QStringLiteral("usage: make_name_dictionary NAMES.tsv OUTPUT-FOLDER"));
    const QString source = QFile::decodeName(argv[1]);
    const QString folder = QFile::decodeName(argv[2]);
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(source, in.errorString()));

    Kind kinds[] = {{"sei", NameDicSeiFile, {}, {}}, {"mei", NameDicMeiFile, {}, {}}};
    int tooLong = 0, notEncodable = 0, duplicates = 0;
    int lineNo = 0;
    while (!in.atEnd()) {
        ++lineNo;
        const QString line = QString::fromUtf8(in.readLine()).remove(u'\r').remove(u'\n');
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u'\t');
        Kind* kind = nullptr;
        for (Kind& k : kinds) {
            if (fields.value(0) == QLatin1String(k.name))
                kind = &k;
        }
        if (fields.size() != 3 || !kind || fields[2].isEmpty())
            return fail(QStringLiteral("%1:%2: expected \"sei|mei<TAB>reading<TAB>written form\"")
                            .arg(source)
                            .arg(lineNo));
        const QString reading = ToHalfWidthW(fields[1]);
        if (!isHalfWidthKatakana(reading))
            return fail(QStringLiteral("%1:%2: the reading \"%3\" is not katakana")
                            .arg(source)
                            .arg(lineNo)
                            .arg(fields[1]));
        bool ok = true;
        Entry e{ToAnsi(reading), Cp932::fromUnicode(fields[2], &ok)};
        if (!ok) {
            ++notEncodable;
            continue;
        }
        // A candidate record keeps at most 11 bytes of each text; a name that does not fit is left out
        // rather than offered cut short.
        if (e.reading.size() > NameCandidateTextMax || e.word.size() > NameCandidateTextMax) {
            ++tooLong;
            continue;
        }
        if (!kind->seen.insert({e.reading, e.word}).second) {
            ++duplicates;
            continue;
        }
        kind->entries.append(e);
    }

    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("cannot create %1").arg(folder));
    for (Kind& k : kinds) {
        std::stable_sort(k.entries.begin(), k.entries.end(), [](const Entry& a, const Entry& b) {
            return a.reading < b.reading; // QByteArray compares bytes unsigned
        });
        QSaveFile out(QDir(folder).filePath(QLatin1String(k.file)));
        if (!out.open(QIODevice::WriteOnly))
            return fail(QStringLiteral("cannot write %1: %2").arg(out.fileName(), out.errorString()));
        for (const Entry& e : k.entries)
            out.write(e.reading + '\t' + e.word + '\n');
        if (!out.commit())
            return fail(QStringLiteral("cannot write %1: %2").arg(out.fileName(), out.errorString()));
    }
    std::printf("make_name_dictionary: %lld surnames, %lld given names; left out: %d longer than %d bytes, "
                "%d without a CP932 form, %d repeated\n",
                qlonglong(kinds[0].entries.size()), qlonglong(kinds[1].entries.size()), tooLong,
                NameCandidateTextMax, notEncodable, duplicates);
    return 0;
}
