// Printing a design through the recording printer: the paper put on the printer, device positions with the
// physical offset taken off and the print offset added, a background alone, nothing to print, a printer
// change with a new resolution, and the clean-up after a failing job.
#include "core/MainSettings.h"
#include "designers/DesignDocument.h"
#include "designers/DesignPrint.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/ImageFiles.h"
#include "layoutobjects/PrinterInfo.h"
#include "platform/Printers.h"
#include "support/DrawingFixture.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace {

// A figure that counts the forced rebuilds of its image.
class TCountingFigure : public TFigureRect
{
public:
    void UpdateImage(bool force) override
    {
        if (force)
            ++forced;
        TFigureRect::UpdateImage(force);
    }
    int forced = 0;
};

class DesignPrintTest : public DrawingTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_saved = {ProgramFolder, DataRootFolder, DataFolder};
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = DataFolder = m_dir.path() + u'/';
    }
    void TearDown() override
    {
        TPrinterList::Instance().SetPrinters({});
        ProgramFolder = m_saved[0];
        DataRootFolder = m_saved[1];
        DataFolder = m_saved[2];
    }
    static void usePrinters(std::vector<std::unique_ptr<TPrinter>> printers)
    {
        TPrinterList::Instance().SetPrinters(std::move(printers), 0);
    }
    // A new design on paper index of the shipped papers, printing through m_info.
    std::unique_ptr<TDesignDocument> design(int index)
    {
        m_info.LoadFromFile();
        TDesignContext context;
        context.Printer = &m_info;
        auto document = std::make_unique<TDesignDocument>(context);
        document->PaperIndex = index;
        EXPECT_TRUE(document->LoadPaperFormat());
        document->NewDesign();
        return document;
    }
    static TFigureRect* addFigure(TDesignDocument& document, const TRect& rect,
                                  std::unique_ptr<TFigureRect> figure = std::make_unique<TFigureRect>())
    {
        figure->SetDesignRect(rect);
        return static_cast<TFigureRect*>(document.AddFreeFrame(FreeFigure, std::move(figure)));
    }

    QTemporaryDir m_dir;
    QStringList m_saved;
    TPrinterInfo m_info{m_dir.filePath(QStringLiteral("Design.pi"))};
};

TEST_F(DesignPrintTest, PaperPutOnThePrinter)
{
    TScopedPrinter printer(600, {100, 100});
    struct Case
    {
        int index;
        QSize paperMm;
        QPageLayout::Orientation orientation;
    };
    // The shipped papers: postcard upright, lying, then A4 upright and lying.
    const Case cases[] = {{0, {100, 148}, QPageLayout::Portrait},
                          {1, {100, 148}, QPageLayout::Landscape},
                          {2, {210, 297}, QPageLayout::Portrait},
                          {3, {210, 297}, QPageLayout::Landscape}};
    for (const Case& c : cases) {
        auto document = design(c.index);
        EXPECT_EQ(printer.Printer()->Paper().size(QPageSize::Millimeter).toSize(), c.paperMm) << c.index;
        EXPECT_EQ(printer.Printer()->Orientation(), c.orientation) << c.index;
        // 100 device pixels at 600 dpi are 16 design pixels.
        EXPECT_EQ(document->PrintableArea.left, 16) << c.index;
        EXPECT_EQ(document->BackImage.VisibleRect(), document->PrintableArea) << c.index;
    }
    // The lying postcard is 1480 wide and 1000 high; the printer got 1000 by 1480, turned, by its number.
    auto lying = design(1);
    EXPECT_EQ(lying->PaperFormat.Width(), 1480);
    EXPECT_EQ(lying->PaperFormat.Height(), 1000);
    EXPECT_EQ(printer.Printer()->Paper().windowsId(), PostcardPaperNumber);
}

TEST_F(DesignPrintTest, FramesPrintAtTheirDevicePosition)
{
    TScopedPrinter printer(600, {100, 100});
    auto document = design(0);
    TFigureRect* figure = addFigure(*document, {96, 192, 192, 288});
    ASSERT_TRUE(DesignHasPrintData(*document));
    EXPECT_EQ(DesignContentBounds(*document), (TRect{96, 192, 192, 288}));
    struct Case
    {
        QPoint offset;
        int left, top;
    };
    const Case cases[] = {{{0, 0}, 500, 1100}, {{50, 0}, 618, 1100}, {{0, -50}, 500, 982}};
    for (const Case& c : cases) {
        const TPrintResult result = PrintDesign(*document, *printer.Printer(), c.offset, false);
        ASSERT_TRUE(result.Ok) << result.Error.toStdString();
        EXPECT_EQ(figure->GetPrinterRect().left, c.left) << c.offset.x();
        EXPECT_EQ(figure->GetPrinterRect().top, c.top) << c.offset.y();
        EXPECT_EQ(figure->GetPrinterRect().Width(), 600);
    }
    EXPECT_EQ(printer.Printer()->JobTitles().first(), QStringLiteral("文面印刷"));
    // Copies the printer cannot make itself are pages.
    printer.Printer()->SetCopies(3);
    EXPECT_EQ(PrintDesign(*document, *printer.Printer(), {}, false).Pages, 3);

    // The union of several frames.
    addFigure(*document, {10, 300, 50, 400});
    EXPECT_EQ(DesignContentBounds(*document), (TRect{10, 192, 192, 400}));
}

TEST_F(DesignPrintTest, BackgroundAloneOrNothing)
{
    TScopedPrinter printer(300);
    auto document = design(0);
    EXPECT_FALSE(DesignHasPrintData(*document));
    EXPECT_TRUE(DesignContentBounds(*document).IsEmpty());
    EXPECT_EQ(DesignNoPrintDataMessage, QStringLiteral("印刷するデータがありません  "));

    document->BackImage.SetMode(BackColor);
    document->BackImage.SetColor(0x3366CC);
    ASSERT_TRUE(DesignHasPrintData(*document));
    const size_t before = printer.Printer()->Pages().size();
    ASSERT_TRUE(PrintDesign(*document, *printer.Printer(), {}, false).Ok);
    ASSERT_EQ(printer.Printer()->Pages().size(), before + 1);
    EXPECT_FALSE(printer.Printer()->Pages().back()->Items().empty());
}

TEST_F(DesignPrintTest, PrinterChangeTakesAreaAndResolution)
{
    std::vector<std::unique_ptr<TPrinter>> printers;
    printers.push_back(std::make_unique<TRecordingPrinter>(QStringLiteral("Fine"), 600, 600, QPoint(100, 100)));
    printers.push_back(std::make_unique<TRecordingPrinter>(QStringLiteral("Coarse"), 300, 300, QPoint(30, 30)));
    usePrinters(std::move(printers));
    auto document = design(0);
    auto* figure = static_cast<TCountingFigure*>(
        addFigure(*document, {10, 10, 100, 100}, std::make_unique<TCountingFigure>()));
    const TRect before = document->PrintableArea;
    const QPoint dpi(m_info.DpiX, m_info.DpiY);

    // The same printer again: nothing rebuilt.
    TakeDesignPrinterChange(*document, dpi);
    EXPECT_EQ(figure->forced, 0);
    EXPECT_EQ(document->PrintableArea, before);

    TPrinterList::Instance().SetCurrentIndex(1);
    TakeDesignPrinterChange(*document, dpi);
    EXPECT_EQ(figure->forced, 1);
    EXPECT_EQ(document->PrintableArea.left, 10); // 30 pixels at 300 dpi
    EXPECT_EQ(document->BackImage.VisibleRect(), document->PrintableArea);
    EXPECT_EQ(m_info.DpiX, 300);
}

TEST_F(DesignPrintTest, FailingJobStillFreesThePrintImages)
{
    std::vector<std::unique_ptr<TPrinter>> printers;
    printers.push_back(std::make_unique<TFailingEndPrinter>());
    usePrinters(std::move(printers));
    auto document = design(0);
    document->BackImage.SetMode(BackGradient);
    document->BackImage.SetColor(0x3366CC);
    TGraphic graphic;
    graphic.Bitmap = QImage(16, 16, QImage::Format_RGB888);
    graphic.Bitmap.fill(Qt::red);
    auto* illust =
        static_cast<TIllustRect*>(document->AddFreeFrame(FreeIllustration, std::make_unique<TIllustRect>()));
    illust->SetDesignRect({10, 10, 90, 90});
    illust->SetGraphic(&graphic);

    const TPrintResult result = PrintDesign(*document, *TPrinterList::Instance().Current(), {}, true);
    EXPECT_FALSE(result.Ok);
    EXPECT_FALSE(result.Error.isEmpty());
    EXPECT_TRUE(illust->LimitedPrinter());
    EXPECT_TRUE(illust->PrintCopy().isNull());
    EXPECT_TRUE(document->BackImage.PrintGradient().isNull());
}

} // namespace
