// The address side's print loop and preview pages on a recording printer: pages and faces per record, start
// face, overflow, records that cannot be found, sender-only layouts, offsets and flap, the half turn undone
// after a failure, the barcode told of the turn, copies, the sender per record in the preview, and a
// change of resolution.
#include "core/MainSettings.h"
#include "designers/LayoutDocument.h"
#include "designers/LayoutPrint.h"
#include "designers/LayoutPrintCommand.h"
#include "layoutobjects/LayoutPrintDialog.h"
#include "platform/Printers.h"
#include "support/DrawingFixture.h"
#include "support/FakeListRows.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace {

TMemoryRow Row(std::initializer_list<std::pair<const char*, QVariant>> fields)
{
    TMemoryRow row;
    for (const auto& [name, value] : fields)
        row.Fields.insert(QString::fromLatin1(name), value);
    return row;
}

const char* const Surnames[] = {"青木", "石井", "上田", "江藤"};

// A job whose second page cannot be begun.
class TFailingPrinter : public TPrinter
{
public:
    QString Name() const override { return QStringLiteral("Failing"); }
    int DpiX() const override { return 300; }
    int DpiY() const override { return 300; }
    std::unique_ptr<TPrintJob> BeginJob(const QString&) override
    {
        struct Job : TPrintJob
        {
            TDisplayList page{QSize(100, 100), 300, 300};
            QPainter painter{&page};
            QPainter& Painter() override { return painter; }
            bool NewPage() override { return false; }
            bool Finish() override { return painter.end(); }
        };
        return std::make_unique<Job>();
    }
};

// The document's client noting, at each merge, whether the barcode was turned and the first characters of
// the recipient's and the sender's name merged.
class TWatchingClient : public TLayoutPrintClient
{
public:
    TWatchingClient(TLayoutDocument& document) : TLayoutPrintClient(document), m_doc(document) {}
    bool MergeRecord(qint32 recNo) override
    {
        Turned.push_back(m_doc.Simple().Barcode->PageTurned());
        const bool merged = TLayoutPrintClient::MergeRecord(recNo);
        Merged << m_doc.Simple().Name->Name().left(1) + m_doc.Simple().SenderName->Name().mid(3, 1);
        return merged;
    }
    std::vector<bool> Turned;
    QStringList Merged;

private:
    TLayoutDocument& m_doc;
};

class LayoutPrintTest : public DrawingTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_saved = {ProgramFolder, DataRootFolder};
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = m_dir.path() + u'/';
        TPrinterList::Instance().SetPrinters({});
        m_context.AddressList = &m_list;
        m_context.Senders = &m_senders;
        for (int i = 0; i < 4; ++i)
            m_list.Rows.push_back(Row({{"RecNo", i + 1},
                                       {"PrivCorp", true},
                                       {"NameKanji", QString::fromUtf8(Surnames[i]) + QStringLiteral(" 太郎")},
                                       {"JointPrint", true},
                                       {"Pos", "1000013"},
                                       {"Sender", i % 2 == 0 ? 7 : 8}}));
        m_senders.Rows = {Row({{"RecNo", 7}, {"Name", "差出 七子"}, {"SelectInfo", 0}, {"NamePrint", true}}),
                          Row({{"RecNo", 8}, {"Name", "差出 八子"}, {"SelectInfo", 0}, {"NamePrint", true}})};
        m_senders.Default = 7;
    }
    void TearDown() override
    {
        ProgramFolder = m_saved[0];
        DataRootFolder = m_saved[1];
    }
    // A new layout: paper 0 a postcard, 4 the postcard on an A4 sheet of 2 × 2.
    std::unique_ptr<TLayoutDocument> Layout(int index, quint8 mode = 0)
    {
        auto document = std::make_unique<TLayoutDocument>(m_context);
        document->PaperIndex = index;
        EXPECT_TRUE(document->LoadPaperFormat());
        document->SenderDisplayMode = mode;
        document->SetIndividualLayout(false, true);
        document->NewLayout();
        document->RefreshData();
        return document;
    }
    // The placed frames' printer rectangles after printing record 1 at 254 dpi, where 0.1 mm is one pixel.
    std::vector<TRect> PrintedRects(int paper, TPrintSettings settings)
    {
        TScopedPrinter printer(254);
        auto document = Layout(paper);
        TLayoutPrintClient client(*document);
        settings.RecNos = {1};
        EXPECT_TRUE(RunPrintJob(client, *printer.Printer(), settings, {}).Ok);
        std::vector<TRect> rects;
        for (TDrawRect* frame : document->Stacking)
            rects.push_back(frame->GetPrinterRect());
        return rects;
    }
    static int GreyOutlines(const TDisplayList& page)
    {
        int n = 0;
        for (const TDisplayItem& item : page.Items())
            if (item.kind == TDisplayItem::Path && item.pen.color() == QColor(128, 128, 128) &&
                item.brush.style() == Qt::NoBrush)
                ++n;
        return n;
    }

    QTemporaryDir m_dir;
    QStringList m_saved;
    TMemoryAddressList m_list;
    TMemorySenders m_senders;
    TLayoutContext m_context;
};

TEST_F(LayoutPrintTest, SheetGeometryAtTheDeviceResolution)
{
    auto document = Layout(4);
    const std::optional<TLabelGrid> grid = GetLabelGrid(document->Paper, document->Sheet, 600, 300);
    ASSERT_TRUE(grid);
    // 100 mm, 148 mm, 5 mm and 0.5 mm, halves away from zero.
    EXPECT_EQ(*grid, (TLabelGrid{2362, 1748, 2, 2, 118, 6, 0, 0}));
    EXPECT_FALSE(GetLabelGrid(Layout(0)->Paper, {}, 600, 600));
}

TEST_F(LayoutPrintTest, StartFaceWalksTheSheetRowByRow)
{
    const TLabelGrid grid{10, 20, 2, 5, 0, 0, 0, 0};
    TPieceWalk walk(grid, 4);
    std::vector<std::pair<int, int>> faces;
    bool full = false;
    while (!full) {
        faces.emplace_back(walk.Column(), walk.Row());
        full = walk.Advance();
    }
    const std::vector<std::pair<int, int>> expected = {{1, 1}, {0, 2}, {1, 2}, {0, 3}, {1, 3}, {0, 4}, {1, 4}};
    EXPECT_EQ(faces, expected);
    EXPECT_EQ(TPieceWalk(grid, 99).Column() + 2 * TPieceWalk(grid, 99).Row(), 9); // the last face
}

TEST_F(LayoutPrintTest, PagesPerRecordPrintsAndStartFace)
{
    struct Case
    {
        const char* what;
        int paper;
        int records;
        int prints;
        int start;
        int copies;
        int pages;
    };
    const Case cases[] = {
        {"postcard, 3 records × 2", 0, 3, 2, 1, 1, 6},
        {"sheet exactly full: no empty page after it", 4, 2, 2, 1, 1, 1},
        {"overflow onto the next sheet", 4, 3, 3, 1, 1, 3},
        {"start face 4", 4, 1, 2, 4, 1, 2},
        {"copies from a printer that cannot make them", 4, 3, 1, 1, 2, 2},
    };
    for (const Case& c : cases) {
        TScopedPrinter printer(300);
        printer.Printer()->SetCopies(c.copies);
        auto document = Layout(c.paper);
        TLayoutPrintClient client(*document);
        TPrintSettings settings;
        for (int i = 0; i < c.records; ++i)
            settings.RecNos.push_back(i + 1);
        settings.Prints = c.prints;
        settings.Start = c.start;
        const TPrintResult result = RunPrintJob(client, *printer.Printer(), settings, QStringLiteral("宛名印刷"));
        EXPECT_TRUE(result.Ok) << c.what;
        EXPECT_EQ(result.Pages, c.pages) << c.what;
        EXPECT_EQ(int(printer.Printer()->Pages().size()), c.pages) << c.what;
        EXPECT_EQ(result.Pieces, c.records * c.prints * c.copies) << c.what;
        EXPECT_EQ(printer.Printer()->JobTitles(), QStringList{QStringLiteral("宛名印刷")}) << c.what;
    }
}

TEST_F(LayoutPrintTest, RecordsMergeInTurnAndMissingOnesUseNoFace)
{
    TScopedPrinter printer(300);
    auto document = Layout(4);
    TWatchingClient client(*document);
    TPrintSettings settings;
    settings.RecNos = {1, 99, 2, 3};
    settings.Prints = 2;
    const TPrintResult result = RunPrintJob(client, *printer.Printer(), settings, {});
    EXPECT_TRUE(result.Ok);
    // The missing record is never merged, so no face goes blank: 6 faces, two sheets.
    EXPECT_EQ(client.Merged, (QStringList{QStringLiteral("青七"), QStringLiteral("石八"), QStringLiteral("上七")}));
    EXPECT_EQ(result.Pieces, 6);
    ASSERT_EQ(printer.Printer()->Pages().size(), 2u);
    // The second sheet holds the third record's two faces, the top row only.
    const QRectF topRow(0, 0, 2 * 1181 + 60, 1748);
    int inTop = 0, below = 0;
    for (const TDisplayItem& item : printer.Printer()->Pages()[1]->Items())
        if (item.kind == TDisplayItem::Text)
            ++(topRow.contains(item.DevicePosition()) ? inTop : below);
    EXPECT_GT(inTop, 0);
    EXPECT_EQ(below, 0);
    // Afterwards the list's selected record is shown again.
    EXPECT_EQ(document->Simple().Name->Name().left(1), QStringLiteral("青"));

    settings.RecNos = {98, 99};
    const TPrintResult none = RunPrintJob(client, *printer.Printer(), settings, {});
    EXPECT_FALSE(none.Ok);
    EXPECT_FALSE(none.Error.isEmpty());
}

TEST_F(LayoutPrintTest, SenderOnlyLayoutPrintsAsShown)
{
    TScopedPrinter printer(300);
    auto document = Layout(0, 2);
    TLayoutPrintClient client(*document);
    EXPECT_FALSE(client.MergesRecords());
    TPrintSettings settings;
    settings.Prints = 3;
    const TPrintResult result = RunPrintJob(client, *printer.Printer(), settings, {});
    EXPECT_TRUE(result.Ok);
    EXPECT_EQ(result.Pages, 3);
    EXPECT_TRUE(document->Simple().Name->Name().isEmpty());
}

TEST_F(LayoutPrintTest, OffsetAndFlapMoveEveryFrameOnPaper)
{
    TPrintSettings settings;
    const std::vector<TRect> plain = PrintedRects(0, settings);
    settings.Flap = 150;
    const std::vector<TRect> flap = PrintedRects(0, settings);
    settings.Offset = {-20, 30};
    const std::vector<TRect> moved = PrintedRects(0, settings);
    ASSERT_EQ(plain.size(), moved.size());
    for (size_t i = 0; i < plain.size(); ++i) {
        EXPECT_NEAR(flap[i].top - plain[i].top, 150, 1) << i;
        EXPECT_NEAR(moved[i].left - plain[i].left, -20, 1) << i;
        EXPECT_NEAR(moved[i].top - plain[i].top, 180, 1) << i;
    }
}

TEST_F(LayoutPrintTest, ReverseIsUndoneAfterAFailureAndTurnsTheBarcode)
{
    auto document = Layout(0);
    ASSERT_TRUE(ShowPaperBarcode(*document, 3));
    std::vector<TRect> before;
    for (TDrawRect* frame : document->Stacking)
        before.push_back(frame->GetDesignRect());
    {
        std::vector<std::unique_ptr<TPrinter>> printers;
        printers.push_back(std::make_unique<TFailingPrinter>());
        TPrinterList::Instance().SetPrinters(std::move(printers));
    }
    TWatchingClient client(*document);
    TPrintSettings settings;
    settings.RecNos = {1, 2};
    settings.Reverse = true;
    const TPrintResult result = RunPrintJob(client, *TPrinterList::Instance().Current(), settings, {});
    TPrinterList::Instance().SetPrinters({});
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Pieces, 1);
    // Told of the turn while merging, so the record's barcode reads right side up on paper.
    EXPECT_EQ(client.Turned, (std::vector<bool>{true, true}));
    EXPECT_FALSE(document->Simple().Barcode->PageTurned());
    std::vector<TRect> after;
    for (TDrawRect* frame : document->Stacking)
        after.push_back(frame->GetDesignRect());
    EXPECT_EQ(after, before);
    EXPECT_FALSE(document->Simple().Name->UpsideDown());
}

TEST_F(LayoutPrintTest, PreviewPagesOutlinesAndSenders)
{
    TScopedPrinter printer(300);
    auto document = Layout(4);
    // A sheet of 2 × 5 faces.
    document->Sheet.Rows = 5;
    TWatchingClient client(*document);
    TPrintPreview preview(client);
    TPrintSettings settings;
    settings.RecNos = {1, 2, 3};
    settings.Prints = 3;
    settings.Start = 4;
    preview.Start(settings, document->DesignSize, SheetSize96(*document));
    // (3 × 3 + 3) faces on sheets of 10.
    EXPECT_EQ(preview.PageCount(), 2);
    EXPECT_EQ(preview.PageSize(), QSize(794, 1123));
    EXPECT_TRUE(preview.CanGoNext());
    EXPECT_FALSE(preview.CanGoPrior());
    // Every face has its grey outline: 3 empty before, 7 drawn.
    EXPECT_EQ(GreyOutlines(preview.Page()), 10);
    // Each record with its own sender.
    EXPECT_EQ(client.Merged, (QStringList{QStringLiteral("青七"), QStringLiteral("石八"), QStringLiteral("上七")}));
    client.Merged.clear();

    preview.DrawPage(1);
    EXPECT_EQ(preview.CurrentPage(), 1);
    EXPECT_FALSE(preview.CanGoNext());
    EXPECT_EQ(GreyOutlines(preview.Page()), 10);
    EXPECT_EQ(client.Merged, QStringList{QStringLiteral("上七")});
    preview.Close();
    EXPECT_FALSE(preview.Active());
    EXPECT_EQ(document->Simple().SenderName->Name().mid(3, 1), QStringLiteral("七"));

    auto postcard = Layout(0);
    TLayoutPrintClient postcardClient(*postcard);
    TPrintPreview single(postcardClient);
    settings.Start = 1;
    single.Start(settings, postcard->DesignSize, SheetSize96(*postcard));
    EXPECT_EQ(single.PageCount(), 3);
    EXPECT_EQ(GreyOutlines(single.Page()), 0);
}

TEST_F(LayoutPrintTest, ReversePrintsEveryFrameHalfTurned)
{
    TPrintSettings settings;
    const std::vector<TRect> upright = PrintedRects(6, settings);
    settings.Reverse = true;
    const std::vector<TRect> turned = PrintedRects(6, settings);
    const QSize size = Layout(6)->DesignSize * 254 / 96;
    ASSERT_EQ(upright.size(), turned.size());
    for (size_t i = 0; i < upright.size(); ++i) {
        EXPECT_NEAR(turned[i].left, size.width() - upright[i].right, 2) << i;
        EXPECT_NEAR(turned[i].top, size.height() - upright[i].bottom, 2) << i;
    }
}

TEST_F(LayoutPrintTest, ResolutionChangeRebuildsTheFrames)
{
    auto document = Layout(0);
    std::vector<std::unique_ptr<TPrinter>> printers;
    printers.push_back(std::make_unique<TRecordingPrinter>(QStringLiteral("A"), 300, 300));
    printers.push_back(std::make_unique<TRecordingPrinter>(QStringLiteral("B"), 600, 600));
    TPrinterList::Instance().SetPrinters(std::move(printers));
    TNameRect* name = document->Simple().Name;
    name->UpdateImage(true);
    EXPECT_EQ(name->Metafile().DpiX(), 300);
    const TDisplayList* kept = &name->Metafile();
    TakePrinterChange(*document, {300, 300});
    EXPECT_EQ(&name->Metafile(), kept); // the same resolution: nothing rebuilt
    TPrinterList::Instance().SetCurrentIndex(1);
    TakePrinterChange(*document, {300, 300});
    EXPECT_EQ(name->Metafile().DpiX(), 600);
    TPrinterList::Instance().SetPrinters({});
}

TEST_F(LayoutPrintTest, PrintCommandAroundTheWizard)
{
    auto document = Layout(4);
    EXPECT_EQ(LayoutPrintRefusal(*document), NoPrinterMessage);
    TScopedPrinter printer(300);
    EXPECT_EQ(LayoutPrintRefusal(*document), QString());
    const std::vector<TMemoryRow> rows = m_list.Rows;
    m_list.Rows.clear();
    EXPECT_EQ(LayoutPrintRefusal(*document), NothingToPrintMessage);
    m_list.Rows = rows;
    const std::vector<TDrawRect*> placed = document->Stacking;
    document->Stacking.clear();
    EXPECT_EQ(LayoutPrintRefusal(*document), NothingToPrintMessage);
    document->Stacking = placed;

    FakeListRows list = FakeListRows::ofCount(2);
    TLayoutPrintDialog wizard(nullptr, &list, {});
    SetUpPrintWizard(wizard, *document);
    EXPECT_TRUE(wizard.SelectRecords);
    EXPECT_TRUE(wizard.MultiFace);
    // The frames' union widened over the 2 × 2 sheet of 100 × 148 mm pieces.
    const TRect bounds = PrintContentBounds(*document);
    TRect frames = document->Stacking.front()->GetDesignRect();
    for (TDrawRect* frame : document->Stacking) {
        const TRect r = frame->GetDesignRect();
        frames = {std::min(frames.left, r.left), std::min(frames.top, r.top), std::max(frames.right, r.right),
                  std::max(frames.bottom, r.bottom)};
    }
    EXPECT_EQ(bounds.left - frames.left, 19);
    EXPECT_EQ(bounds.right - frames.right, 378 + 19);
    EXPECT_EQ(bounds.bottom - frames.bottom, 559 + 2);
    EXPECT_EQ(wizard.ContentBounds, bounds);
    wizard.RecNos = {5, 6};
    const TPrintSettings settings = TakePrintWizard(wizard, *document);
    EXPECT_EQ(settings.RecNos, (TDataList{5, 6}));
    EXPECT_EQ(settings.Start, 1);
    EXPECT_EQ(settings.Prints, 1);
    EXPECT_EQ(settings.Offset, QPoint());
    EXPECT_EQ(settings.Flap, 0);
}

} // namespace
