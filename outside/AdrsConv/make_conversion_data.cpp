// Build tool: the dictionary folder "AddConv" of the address conversion libraries. Writes "Merger.dic"
// (format in AdrsConvApi.h) from the committed UTF-8 mergers table, after checking every row against the
// address dictionary, and puts a copy of that dictionary ("Adrs.dic") beside it.
//
// Usage: make_conversion_data MERGERS.tsv DIC-FOLDER OUTPUT-FOLDER
#include "AddressMaster.h"
#include "MergerTable.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "make_conversion_data: %s\n", qPrintable(message));
    return 1;
}

std::u32string wide(const QString& text)
{
    const QList<uint> ucs = text.toUcs4();
    return std::u32string(ucs.begin(), ucs.end());
}

// The municipality named name in prefecture pref, -1 when none.
int findCity(const AddressMaster::Dictionary& dic, int pref, const QString& name)
{
    const std::u32string wanted = AddressMaster::Normalise(wide(name));
    for (int c : dic.prefectures[size_t(pref)].cities)
        if (dic.keys().cityNames[size_t(c)] == wanted)
            return c;
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return fail(QStringLiteral("usage: make_conversion_data MERGERS.tsv DIC-FOLDER OUTPUT-FOLDER"));
    const QString dicFolder = QFile::decodeName(argv[2]) + u'/';
    const QString outFolder = QFile::decodeName(argv[3]) + u'/';
    std::shared_ptr<const AddressMaster::Dictionary> dic;
    if (AddressMaster::Load(QFile::encodeName(dicFolder).constData(), dic) != DIC_OK)
        return fail(QStringLiteral("cannot read %1Adrs.dic").arg(dicFolder));
    QFile source(QFile::decodeName(argv[1]));
    if (!source.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1").arg(source.fileName()));

    std::string out = "TOVAREL MERGER 1\n";
    int line = 0;
    int rows = 0;
    for (const QByteArray& raw : source.readAll().split('\n')) {
        ++line;
        const QString text = QString::fromUtf8(raw).trimmed();
        if (text.isEmpty() || text.startsWith(u'#'))
            continue;
        // prefecture, former municipality, today's municipalities (comma-separated), date of the change
        const QStringList f = text.split(u'\t');
        if (f.size() != 4)
            return fail(QStringLiteral("line %1: four fields expected").arg(line));
        const std::u32string prefName = AddressMaster::Normalise(wide(f[0]));
        const auto& prefs = dic->keys().prefNames;
        const auto p = std::find(prefs.begin(), prefs.end(), prefName);
        if (p == prefs.end())
            return fail(QStringLiteral("line %1: no prefecture %2").arg(line).arg(f[0]));
        const int pref = int(p - prefs.begin());
        if (findCity(*dic, pref, f[1]) >= 0)
            return fail(QStringLiteral("line %1: %2 is a municipality of today").arg(line).arg(f[1]));
        std::string row = AddressMaster::Encode(wide(f[0])) + '\t' + AddressMaster::Encode(wide(f[1]));
        for (const QString& today : f[2].split(u',')) {
            if (findCity(*dic, pref, today) < 0)
                return fail(
                    QStringLiteral("line %1: %2 is no municipality of %3").arg(line).arg(today, f[0]));
            row += '\t' + AddressMaster::Encode(wide(today));
        }
        out += row + '\n';
        ++rows;
    }
    AdrsConv::MergerTable check;
    check.bytes = out;
    if (!check.parse() || int(check.mergers.size()) != rows)
        return fail(QStringLiteral("the table does not fit the file format"));

    QDir().mkpath(outFolder);
    QSaveFile merger(outFolder + QLatin1String(AdrsConv::MergerDicFile));
    if (!merger.open(QIODevice::WriteOnly) ||
        merger.write(out.data(), qint64(out.size())) != qint64(out.size()) || !merger.commit())
        return fail(QStringLiteral("cannot write %1").arg(merger.fileName()));
    const QString copy = outFolder + QStringLiteral("Adrs.dic");
    const QString part = copy + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(dicFolder + QStringLiteral("Adrs.dic"), part) ||
        (QFile::exists(copy) && !QFile::remove(copy)) || !QFile::rename(part, copy))
        return fail(QStringLiteral("cannot write %1").arg(copy));
    std::printf("make_conversion_data: %d former municipalities\n", rows);
    return 0;
}
