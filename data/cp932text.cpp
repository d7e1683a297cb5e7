// cp932text: turns UTF-8 text of the source tree into the CP932 bytes with CR LF line ends the program reads.
#include "platform/Cp932.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <cstdio>

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "cp932text: %s\n", message.toLocal8Bit().constData());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 2) {
        std::fputs("usage: cp932text input.utf8 output\n", stderr);
        return 2;
    }
    QFile in(args[0]);
    if (!in.open(QIODevice::ReadOnly))
        return fail(args[0] + QLatin1String(": ") + in.errorString());
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(in.readAll());
    if (utf8.hasError())
        return fail(args[0] + QLatin1String(": not UTF-8 text"));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    const QStringList lines = text.split(QLatin1Char('\n'));
    QByteArray out;
    for (int i = 0; i < lines.size(); ++i) {
        // A trailing line break ends the last line; it does not start an empty one.
        if (i == lines.size() - 1 && lines[i].isEmpty())
            break;
        bool ok = true;
        out += Cp932::fromUnicode(lines[i], &ok);
        if (!ok)
            return fail(QStringLiteral("%1:%2: a character has no CP932 form").arg(args[0]).arg(i + 1));
        out += "\r\n";
    }

    QSaveFile save(args[1]);
    if (!save.open(QIODevice::WriteOnly) || save.write(out) != out.size() || !save.commit())
        return fail(args[1] + QLatin1String(": ") + save.errorString());
    return 0;
}
