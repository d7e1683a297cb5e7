// The printer list: the virtual PDF printer and its job files, the recording printer, and the resolution
// frames take with and without a printer.
#include "platform/Printers.h"

#include "support/DrawingFixture.h"
#include "support/TestFiles.h"

#include <QPainter>
#include <QTemporaryDir>

namespace {

struct EnvScope
{
    EnvScope(const char* name, const QByteArray& value) : m_name(name) { qputenv(name, value); }
    ~EnvScope()
    {
        qunsetenv(m_name);
        TPrinterList::Instance().SetPrinters({});
    }
    const char* m_name;
};

TEST(Printers, VirtualPdfPrinterWritesNumberedJobs)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("out");
    EnvScope env("TOVAREL_PDF_PRINTER", folder.toUtf8());
    TPrinterList& list = TPrinterList::Instance();
    list.Refresh();
    const int index = list.IndexOf(VirtualPdfPrinterName);
    ASSERT_GE(index, 0) << list.Names().join(',').toStdString();
    TPrinter* pdf = list.At(index);
    EXPECT_EQ(pdf->DpiX(), 600);
    EXPECT_EQ(pdf->PhysicalOffset(), QPoint());
    pdf->SetPaper(QPageSize(QSizeF(100, 148), QPageSize::Millimeter), QPageLayout::Portrait);
    EXPECT_EQ(pdf->PhysicalSize(), QSize(2362, 3496));

    for (int n = 1; n <= 2; ++n) {
        auto job = pdf->BeginJob(QStringLiteral("test"));
        ASSERT_TRUE(job);
        job->Painter().fillRect(0, 0, 600, 600, Qt::black);
        EXPECT_TRUE(job->NewPage());
        ASSERT_TRUE(job->Finish());
        EXPECT_EQ(job->OutputFile(), folder + QStringLiteral("/job-%1.pdf").arg(n));
        EXPECT_TRUE(ReadFileBytes(job->OutputFile()).startsWith("%PDF"));
    }
}

TEST(Printers, CurrentPrinterGivesTheResolution)
{
    {
        TScopedPrinter none(0);
        EXPECT_EQ(TPrinterList::Instance().CurrentIndex(), -1);
        EXPECT_EQ(CurrentPrinterDpi(), QPoint(96, 96));
        EXPECT_EQ(CurrentPrinterOffset(), QPoint());
    }
    TScopedPrinter recorder(300, {12, 34});
    EXPECT_EQ(CurrentPrinterDpi(), QPoint(300, 300));
    EXPECT_EQ(CurrentPrinterOffset(), QPoint(12, 34));
    auto job = recorder.Printer()->BeginJob(QStringLiteral("two pages"));
    job->Painter().drawLine(0, 0, 10, 10);
    job->NewPage();
    job->Painter().drawLine(0, 0, 10, 10);
    job->Painter().drawLine(0, 0, 10, 10);
    ASSERT_TRUE(job->Finish());
    ASSERT_EQ(recorder.Printer()->Pages().size(), 2u);
    EXPECT_EQ(recorder.Printer()->Pages()[1]->Items().size(), 2u);
    EXPECT_EQ(recorder.Printer()->Pages()[0]->Size(), QSize(2480, 3508)); // A4 at 300 dpi
}

} // namespace
