// Writes a history file from a UTF-8 text file of one entry a line, in the order given, all with one date.
#include "core/HisInfo.h"

#include <QFile>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: make_history LIST.txt OUT.mtd ITEM_SIZE DATE\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString target = QString::fromLocal8Bit(argv[2]);
    const int itemSize = std::atoi(argv[3]);
    const double date = std::atof(argv[4]);
    try {
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "make_history: cannot read %s\n", argv[1]);
            return 1;
        }
        QFile::remove(target);
        THistoryData history(target, true, itemSize);
        history.Load();
        for (const QByteArray& line : in.readAll().split('\n')) {
            const QString text = QString::fromUtf8(line).trimmed();
            if (text.isEmpty())
                continue;
            bool ok = true;
            const AnsiString ansi = Cp932::fromUnicode(text, &ok);
            // An entry the list would cut or cannot hold is a mistake in the source list.
            if (!ok || ansi.size() > itemSize) {
                std::fprintf(stderr, "make_history: %s: entry \"%s\" does not fit\n", argv[1],
                             line.constData());
                return 1;
            }
            history.Add(ansi, date);
        }
        if (!history.Save()) {
            std::fprintf(stderr, "make_history: cannot write %s\n", argv[2]);
            return 1;
        }
    } catch (const EHistoryDataError& e) {
        std::fprintf(stderr, "make_history: %s\n", e.what());
        return 1;
    }
    return 0;
}
