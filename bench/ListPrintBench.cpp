// Benchmark of the list printing: 10,000 records, 10 columns, every rule and two band colours printed to the
// virtual PDF printer (pages per second), and the preview moved to its last page (milliseconds).
#include "BenchBook.h"
#include "addressbook/AdrsTableRow.h"
#include "core/AppSub.h"
#include "dataexchange/ListPrintPage.h"
#include "platform/Printers.h"

#include "support/FakeListRows.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QPainter>

#include <cstdio>

namespace {

constexpr int Rows = 10000;

void Populate(Table& table)
{
    const QDateTime stamp(QDate(2024, 4, 1), QTime(9, 0));
    table.startTransaction();
    for (int i = 0; i < Rows; ++i) {
        table.append();
        table.fieldByName("NameKanji").setAnsi(WideToHexText(QStringLiteral("山田 太郎%1").arg(i)));
        table.fieldByName("NameKana").setString(QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ"));
        table.fieldByName("Pos").setAnsi("1000001");
        table.fieldByName("Tdfkn").setString(QStringLiteral("東京都"));
        table.fieldByName("Adrs1").setString(QStringLiteral("千代田区"));
        table.fieldByName("Adrs2").setString(QStringLiteral("丸の内%1丁目").arg(i % 9 + 1));
        table.fieldByName("Tel").setAnsi(QByteArray("03") + QByteArray::number(52000000 + i));
        table.fieldByName("Fax").setAnsi(QByteArray("06") + QByteArray::number(63000000 + i));
        table.fieldByName("CorpKanji").setString(QStringLiteral("株式会社サンプル%1").arg(i));
        table.fieldByName("EMail1").setAnsi(QByteArray("user") + QByteArray::number(i) + "@example.jp");
        table.fieldByName("AddDateTime").setDateTime(stamp.addSecs(i));
        table.post();
    }
    table.commit();
}

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenPlatform();
    QApplication app(argc, argv);
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/listprint-bench-XXXXXX"));
    TDMQuenrid215 dm;
    if (!OpenBenchBook(dir, QStringLiteral("Book"), dm))
        return 1;
    Populate(*dm.AdrsTable());
    dm.AdrsTable()->refresh();
    FakeListRows rows;
    for (dm.AdrsTable()->first(); !dm.AdrsTable()->eof(); dm.AdrsTable()->next())
        rows.recNos.append(int(dm.AdrsTable()->currentKey()));
    TAdrsTableRow cursor(*dm.AdrsTable());

    const TItemCatalogue catalogue = BuildItemTable({}, {});
    TListPrintColumns columns;
    for (int item : {1, 21, 22, 10, 11, 4, 6, 16, 24, 58})
        columns.append({item, std::min(catalogue[item].Width, 20), catalogue[item].Align});
    TListPrintLayout layout;
    layout.Title = QStringLiteral("顧客一覧");
    layout.Line.fill(true);
    layout.Colors = {0xF0F0F0, 0xFFE0C0};
    TPdfPrinter printer(VirtualPdfPrinterName, dir.path(), true, 600);

    TListPageSource source;
    source.Layout = &layout;
    source.Columns = &columns;
    source.Catalogue = &catalogue;
    source.Values.Hyphenate = AdrsHyphenateFunc();
    source.Range.DataSelect = dsAll;
    source.Rows = &rows;
    source.Cursor = &cursor;
    const QSize page = printer.PageSize();
    source.RowsPerPage = CountRowsPerPage(layout, printer.DpiY(), page.height(), 0);
    const int pages = ListPageCount(Rows, source.RowsPerPage);

    QElapsedTimer timer;
    timer.start();
    QString file;
    const TListPrintResult result = PrintListPages(source, printer, pages, &file);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    std::printf("print %d records, %d rows a page, %d pages in %.2f s: %.1f pages/s (%s, %lld bytes)\n", Rows,
                source.RowsPerPage, pages, seconds, pages / seconds, result == lpOk ? "ok" : "failed",
                static_cast<long long>(QFileInfo(file).size()));

    // The preview's sheet at the printer's resolution, moved to the last page.
    TDisplayList sheet;
    for (int run = 0; run < 3; ++run) {
        timer.restart();
        sheet.Reset(printer.PhysicalSize(), printer.DpiX(), printer.DpiY());
        QPainter painter(&sheet);
        TListPageDrawer drawer(source, painter, QRect(QPoint(0, 0), page), printer.DpiX(), printer.DpiY());
        drawer.DrawPreviewPage(pages, pages);
        painter.end();
        std::printf("preview of the last page (%d of %d): %.1f ms\n", pages, pages,
                    double(timer.nsecsElapsed()) / 1e6);
    }
    dm.CloseAdrs();
    FreeHyphenLibrary();
    return 0;
}
