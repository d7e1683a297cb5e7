// Builds Common/Dsn.fmt from the paper list: each paper upright, then lying, kinds in order, no name twice.
#include "designers/DesignPaperFormat.h"
#include "FormatTool.h"

#include <QFile>
#include <QSet>
#include <QStringList>

using FormatTool::Fail;
using FormatTool::Failure;

namespace {

int ToInt(const QString& text, int line)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value <= 0)
        Fail(line, QStringLiteral("not a positive number: \"%1\"").arg(text));
    return value;
}

void Build(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw Failure{QStringLiteral("cannot read %1").arg(source)};
    std::vector<TDesignPaperFormat> formats;
    QSet<QString> names;
    int line = 0;
    for (const QByteArray& raw : in.readAll().split('\n')) {
        ++line;
        const QString text = QString::fromUtf8(raw).trimmed();
        if (text.isEmpty() || text.startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = text.split(QLatin1Char(';'));
        if (f.size() != 4)
            Fail(line, QStringLiteral("expected kind;name;width;height"));
        TDesignPaperFormat upright;
        const int kind = f[0].trimmed().toInt();
        if (f[0].trimmed() != QString::number(kind) || kind < DesignPostcard || kind > DesignPlainPaper)
            Fail(line, QStringLiteral("kind \"%1\"").arg(f[0]));
        if (!formats.empty() && formats.back().Kind() > kind)
            Fail(line, QStringLiteral("kinds out of order"));
        bool ok = true;
        const AnsiString name = Cp932::fromUnicode(f[1].trimmed(), &ok);
        if (!ok || name.isEmpty() || name.size() > 31)
            Fail(line, QStringLiteral("\"%1\" is not a name of 1 to 31 bytes").arg(f[1]));
        if (names.contains(f[1].trimmed()))
            Fail(line, QStringLiteral("\"%1\" is listed twice").arg(f[1]));
        names.insert(f[1].trimmed());
        upright.SetKind(quint8(kind));
        upright.SetName(name);
        upright.SetWidth(ToInt(f[2], line));
        upright.SetHeight(ToInt(f[3], line));
        if (upright.Width() > upright.Height())
            Fail(line, QStringLiteral("give the paper upright"));
        TDesignPaperFormat lying = upright;
        lying.SetDirection(1);
        lying.SetWidth(upright.Height());
        lying.SetHeight(upright.Width());
        formats.push_back(upright);
        formats.push_back(lying);
    }
    if (formats.empty() || formats.front().Kind() != DesignPostcard)
        throw Failure{QStringLiteral("the first paper must be a postcard")};
    FormatTool::WriteFile(target + QLatin1Char('/') + DesignFormatFileName, EncodeDesignFormats(formats));
}

} // namespace

int main(int argc, char** argv)
{
    return FormatTool::Run(argc, argv, "make_design_formats", "Dsn.txt", Build);
}
