// Label and card sheets in the print loop on a recording printer: where each piece goes (start face, overflow,
// the last sheet, no sheet, a turned sheet), the sender printed once, records that cannot be found, an empty
// list, the preview's first record and outlines, the wizard's set-up and a change of resolution.
#include "core/MainSettings.h"
#include "designers/LabelDocument.h"
#include "designers/LabelPrint.h"
#include "designers/LayoutDocument.h"
#include "designers/LayoutPrintCommand.h"
#include "layoutobjects/LayoutPrintDialog.h"
#include "platform/Printers.h"
#include "support/DrawingFixture.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace {

// Notes where each piece is printed or drawn.
class TProbeRect : public TDrawRect
{
public:
    explicit TProbeRect(std::vector<QPoint>& at) : m_at(at) {}
    std::unique_ptr<TDrawRect> Clone() const override { return std::make_unique<TProbeRect>(m_at); }
    quint8 GetKind() const override { return 12; }
    void Draw(QPainter&, int dx, int dy) override { m_at.emplace_back(dx, dy); }
    void Print(QPainter&, int dx, int dy) override { m_at.emplace_back(dx, dy); }
    void CopyAllFrom(const TDrawRect&) override {}

private:
    std::vector<QPoint>& m_at;
};

// The label client with the probe on top, noting the records merged.
class TProbingClient : public TLabelPrintClient
{
public:
    explicit TProbingClient(TLayoutDocument& document) : TLabelPrintClient(document), m_probe(At) {}
    std::vector<TDrawRect*> Stacking() const override
    {
        std::vector<TDrawRect*> frames = TLabelPrintClient::Stacking();
        frames.insert(frames.begin(), const_cast<TProbeRect*>(&m_probe));
        return frames;
    }
    bool MergeRecord(qint32 recNo) override
    {
        Merged.push_back(recNo);
        return TLabelPrintClient::MergeRecord(recNo);
    }
    std::vector<QPoint> At;
    std::vector<qint32> Merged;

private:
    TProbeRect m_probe;
};

class LabelPrintTest : public DrawingTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_saved = {ProgramFolder, DataRootFolder, DataFolder};
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = DataFolder = m_dir.path() + u'/';
        TPrinterList::Instance().SetPrinters({});
        ASSERT_EQ(LoadLayoutFormats(LayoutFormatPath(), m_formats), FormatFileState::Read);
        for (int i = 1; i <= 13; ++i) {
            TMemoryRow row;
            row.Fields = {{"RecNo", i},
                          {"PrivCorp", true},
                          {"NameKanji", QStringLiteral("見本 %1郎").arg(i)},
                          {"JointPrint", true},
                          {"Pos", "1000013"}};
            m_list.Rows.push_back(row);
        }
        TMemoryRow sender;
        sender.Fields = {{"RecNo", 7}, {"Name", "差出 七子"}, {"SelectInfo", 1}, {"NamePrint", true}};
        m_senders.Rows = {sender};
        m_senders.Default = 7;
        m_context.AddressList = &m_list;
        m_context.Senders = &m_senders;
    }
    void TearDown() override
    {
        ProgramFolder = m_saved[0];
        DataRootFolder = m_saved[1];
        DataFolder = m_saved[2];
        TPrinterList::Instance().SetPrinters({});
    }
    // The shipped paper of a kind with a sheet of columns × rows; turned or upright.
    int Paper(int kind, int columns, int rows, bool turned) const
    {
        for (size_t i = 0; i < m_formats.Formats.size(); ++i) {
            const TPaperFormat& f = m_formats.Formats[i];
            const TMultiUpSheet sheet = m_formats.SheetOf(f);
            if (f.Kind == kind && (f.Direction != 0) == turned && sheet.Columns == columns && sheet.Rows == rows)
                return int(i);
        }
        ADD_FAILURE() << "no paper " << kind << " " << columns << "x" << rows;
        return 0;
    }
    std::unique_ptr<TLayoutDocument> Document(int paper, quint8 source = 1)
    {
        const quint8 mode = m_formats.Formats[size_t(paper)].Kind == PaperCard ? LabelModeCard : LabelModeLabel;
        auto document = NewLabelDocument(m_context, mode, paper, source);
        EXPECT_TRUE(document);
        document->RefreshData();
        return document;
    }
    static TDataList Records(int n)
    {
        TDataList list;
        for (int i = 1; i <= n; ++i)
            list.push_back(i);
        return list;
    }

    QTemporaryDir m_dir;
    QStringList m_saved;
    TStandardFormats m_formats;
    TMemoryAddressList m_list;
    TMemorySenders m_senders;
    TLayoutContext m_context;
};

TEST_F(LabelPrintTest, TurnedSheetLiesOnALandscapePage)
{
    // 10 labels of 86.4 × 50.8 mm: 2 columns and 5 rows as fed, margins 18.6 and 21.5 mm.
    auto upright = Document(Paper(PaperLabel, 2, 5, false));
    auto turned = Document(Paper(PaperLabel, 2, 5, true));
    EXPECT_EQ(*GetLabelSheetGrid(upright->Paper, upright->Sheet, 254, 254),
              (TLabelGrid{864, 508, 2, 5, 186, 215, 0, 0}));
    // Turned: 5 columns, 2 rows; the top margin is the space right of the last column, 210 − 2 × 86.4 − 18.6.
    EXPECT_EQ(*GetLabelSheetGrid(turned->Paper, turned->Sheet, 254, 254),
              (TLabelGrid{508, 864, 5, 2, 215, 186, 0, 0}));
    EXPECT_EQ(SheetSize96(*upright), QSize(794, 1123));
    EXPECT_EQ(SheetSize96(*turned), QSize(1123, 794));
    TPaperFormat loose = turned->Paper;
    loose.SheetIndex = 0;
    EXPECT_FALSE(GetLabelSheetGrid(loose, turned->Sheet, 254, 254));
}

TEST_F(LabelPrintTest, PiecesOnTheSheet)
{
    using Faces = std::vector<std::pair<int, int>>;
    struct Case
    {
        const char* what;
        int kind;
        bool turned;
        bool sheet;
        quint8 source;
        TDataList records;
        int prints;
        int start;
        Faces faces; // (k, l) of every piece in order
        int pages;
    };
    const Case cases[] = {
        {"start 5, 3 prints", PaperLabel, false, true, 1, {1}, 3, 5, {{0, 2}, {1, 2}, {0, 3}}, 1},
        {"overflow onto the next sheet, no empty page before a record", PaperLabel, false, true, 1,
         {1, 2}, 2, 9, {{0, 4}, {1, 4}, {0, 0}, {1, 0}}, 2},
        {"a full last sheet has no empty page after it", PaperLabel, false, true, 1, Records(5), 2, 1,
         {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}, {0, 3}, {1, 3}, {0, 4}, {1, 4}}, 1},
        {"no sheet: one piece a page", PaperLabel, false, false, 1, {1, 2}, 2, 3, Faces(4, {0, 0}), 4},
        {"a missing record uses no piece", PaperLabel, false, true, 1, {1, 99, 2}, 1, 1, {{0, 0}, {1, 0}}, 1},
        {"the sender printed once", PaperCard, false, true, 2, {1, 2, 3}, 2, 1, {{0, 0}, {1, 0}}, 1},
        {"turned 2 × 5 prints 5 × 2", PaperLabel, true, true, 1, Records(7), 1, 1,
         {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {0, 1}, {1, 1}}, 1},
    };
    for (const Case& c : cases) {
        TScopedPrinter printer(254);
        auto document = Document(Paper(c.kind, 2, 5, c.turned), c.source);
        if (!c.sheet)
            document->Paper.SheetIndex = 0;
        TProbingClient client(*document);
        TPrintSettings settings;
        settings.RecNos = c.records;
        settings.Prints = c.prints;
        settings.Start = c.start;
        const TPrintResult result = RunPrintJob(client, *printer.Printer(), settings, LabelTitle(LabelModeLabel));
        EXPECT_TRUE(result.Ok) << c.what;
        EXPECT_EQ(result.Pages, c.pages) << c.what;
        EXPECT_EQ(int(printer.Printer()->Pages().size()), c.pages) << c.what;
        const std::optional<TLabelGrid> grid = client.Grid(254, 254);
        Faces faces;
        for (QPoint at : client.At) {
            if (!grid) {
                faces.emplace_back(at.x(), at.y());
                continue;
            }
            const int k = (at.x() - grid->LeftMargin) / (grid->PieceWidth + grid->HorzGap);
            const int l = (at.y() - grid->TopMargin) / (grid->PieceHeight + grid->VertGap);
            EXPECT_EQ(grid->PieceAt(k, l), at) << c.what;
            faces.emplace_back(k, l);
        }
        EXPECT_EQ(faces, c.faces) << c.what;
        if (c.source == 2)
            EXPECT_TRUE(client.Merged.empty()) << c.what;
    }
}

TEST_F(LabelPrintTest, AnEmptyListNeverPrints)
{
    TScopedPrinter printer(254);
    auto document = Document(Paper(PaperLabel, 2, 6, false));
    const QString shown = document->Simple().Name->Name();
    for (const TDataList& records : {TDataList{}, TDataList{98, 99}}) {
        const TPrintResult result = RunPrintJob(*MakePrintClient(*document), *printer.Printer(),
                                                TPrintSettings{records}, LabelTitle(LabelModeLabel));
        EXPECT_FALSE(result.Ok);
        EXPECT_EQ(result.Pages, 0);
    }
    EXPECT_TRUE(printer.Printer()->Pages().empty());
    EXPECT_TRUE(printer.Printer()->JobTitles().isEmpty());
    EXPECT_EQ(document->Simple().Name->Name(), shown);
}

TEST_F(LabelPrintTest, PreviewStartsPage1WithTheRightRecordAndOutlinesEmptyPieces)
{
    auto document = Document(Paper(PaperLabel, 2, 5, false));
    const QString shown = document->Simple().Name->Name();
    ASSERT_FALSE(shown.isEmpty());
    TProbingClient client(*document);
    TPrintPreview preview(client);
    TPrintSettings settings;
    settings.RecNos = Records(13);
    settings.Prints = 2;
    settings.Start = 3;
    preview.Start(settings, document->DesignSize, SheetSize96(*document));
    // (13 × 2 + 2) pieces on sheets of 10.
    EXPECT_EQ(preview.PageCount(), 3);
    auto outlines = [&preview] {
        int n = 0;
        for (const TDisplayItem& item : preview.Page().Items())
            if (item.kind == TDisplayItem::Path && item.pen.color() == QColor(128, 128, 128))
                ++n;
        return n;
    };
    // Page 0: 2 empty outlines, then 8 pieces each outlined.
    EXPECT_EQ(outlines(), 10);
    EXPECT_EQ(client.At.size(), 8u);
    client.Merged.clear();
    preview.DrawPage(1);
    // t = 10 − 2 = 8: the fifth record, its first print.
    ASSERT_FALSE(client.Merged.empty());
    EXPECT_EQ(client.Merged.front(), 5);
    client.At.clear();
    preview.DrawPage(2);
    // 26 pieces + 2: the last page holds 8 and outlines the 2 left.
    EXPECT_EQ(client.At.size(), 8u);
    EXPECT_EQ(outlines(), 10);
    // The record shown before is merged again.
    EXPECT_NE(document->Simple().Name->Name(), shown);
    preview.Close();
    EXPECT_EQ(document->Simple().Name->Name(), shown);
}

TEST_F(LabelPrintTest, WizardSetUpAndRefusals)
{
    TScopedPrinter printer(300);
    auto label = Document(Paper(PaperLabel, 2, 6, false));
    auto card = Document(Paper(PaperCard, 2, 5, false), 2);
    EXPECT_EQ(LayoutPrintRefusal(*label), QString());
    EXPECT_EQ(LayoutPrintRefusal(*card), QString());
    card->SenderRecNo = 0;
    EXPECT_EQ(LayoutPrintRefusal(*card), NothingToPrintMessage);
    m_list.Rows.clear();
    EXPECT_EQ(LayoutPrintRefusal(*label), NothingToPrintMessage);

    TLayoutPrintDialog wizard(nullptr, nullptr, {});
    SetUpPrintWizard(wizard, *card);
    EXPECT_FALSE(wizard.SelectRecords);
    EXPECT_TRUE(wizard.MultiFace);
    EXPECT_EQ(wizard.CurrentPageIndex(), 1);
}

TEST_F(LabelPrintTest, ResolutionChangeRebuildsTheLabelFrames)
{
    auto document = Document(Paper(PaperLabel, 2, 6, true));
    std::vector<std::unique_ptr<TPrinter>> printers;
    printers.push_back(std::make_unique<TRecordingPrinter>(QStringLiteral("A"), 300, 300));
    printers.push_back(std::make_unique<TRecordingPrinter>(QStringLiteral("B"), 600, 600));
    TPrinterList::Instance().SetPrinters(std::move(printers));
    TNameRect* name = document->Simple().Name;
    name->UpdateImage(true);
    EXPECT_EQ(name->Metafile().DpiX(), 300);
    TPrinterList::Instance().SetCurrentIndex(1);
    TakePrinterChange(*document, {300, 300});
    EXPECT_EQ(name->Metafile().DpiX(), 600);
    // The grid follows the printer: the turned 12-up sheet at 600 dpi.
    EXPECT_EQ(*MakePrintClient(*document)->Grid(600, 600), (TLabelGrid{999, 2041, 6, 2, 510, 439, 0, 0}));
}

} // namespace
