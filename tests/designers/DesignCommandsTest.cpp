// The message-side design's commands on the document: new frames on small papers, the shared clipboard,
// deleting with its stacking restored, pictures from files, and every command undone and redone back to the
// same ".gpd" bytes.
#include "designers/DesignCommands.h"
#include "designers/FrameClipboard.h"
#include "designers/PaperEditing.h"
#include "layoutobjects/FigureRect.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/QRCodeRect.h"
#include "layoutobjects/WordRect.h"
#include "support/DesignerFolders.h"

#include <gtest/gtest.h>
#include <QImage>

#include <functional>

namespace {

class DesignCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The loop below sets up again: the old folders go back first.
        e.reset();
        d.reset();
        m_folders.reset();
        m_folders = std::make_unique<TDesignerFolders>();
        d = std::make_unique<TDesignDocument>();
        d->PaperIndex = 0;
        ASSERT_TRUE(d->LoadPaperFormat());
        d->NewDesign();
        d->Zoom = 1.0;
        e = std::make_unique<TDesignEditor>(*d);
    }
    void TearDown() override
    {
        e.reset();
        d.reset();
        m_folders.reset();
    }
    QByteArray Bytes() const { return d->EncodeDesignFile(QByteArray()); }
    TFigureRect* Figure(const TRect& r)
    {
        TFigureRect* figure = e->AddFigure(TFigureRect());
        figure->SetDesignRect(r);
        return figure;
    }
    TSenderRect* Sender()
    {
        auto block = std::make_unique<TSenderRect>();
        block->SetPageSize(PaperLongSide);
        block->SetDesignRect({200, 300, 360, 540});
        block->SetZoom(d->Zoom);
        return d->SetSenderBlock(std::move(block));
    }
    QString Picture(const QString& name, QSize size, int dpi, QColor colour = Qt::red)
    {
        return m_folders->Picture(name, size, dpi, colour);
    }
    void Select(std::vector<TDrawRect*> frames, int focus = 0)
    {
        d->Selection = std::move(frames);
        d->FocusedIndex = focus;
    }

    std::unique_ptr<TDesignerFolders> m_folders;
    std::unique_ptr<TDesignDocument> d;
    std::unique_ptr<TDesignEditor> e;
};

TEST_F(DesignCommandsTest, NewFramesOnSmallPapers)
{
    d->PaperPixelSize = QSize(200, 400);
    EXPECT_EQ(e->AddText({QStringLiteral("a")}, 1)->GetDesignRect(), (TRect{0, 40, 200, 160}));
    EXPECT_EQ(e->AddFigure(TFigureRect())->GetDesignRect(), (TRect{0, 40, 200, 240}));
    d->PaperPixelSize = QSize(60, 60);
    TQRCodeRect chosen;
    chosen.SetText(QByteArray("https://example.jp/a-long-enough-text"));
    chosen.SetModuleSize(8);
    const TRect code = e->AddQRCode(chosen)->GetDesignRect();
    EXPECT_EQ(code.left, 0);
    EXPECT_EQ(code.top, 0);
    EXPECT_EQ(d->Undo.Count(), 3);
    EXPECT_TRUE(DesignConsistent(*d));
}

TEST_F(DesignCommandsTest, NewFramesOnTheGrid)
{
    e->SnapPitch = 16;
    const TRect r = e->AddText({QStringLiteral("a")}, 1)->GetScreenRect();
    EXPECT_EQ(r, (TRect{48, 48, 304, 208}));
}

TEST_F(DesignCommandsTest, PastedGroupStartsAtTheCornerWithTheLastOnTop)
{
    TFigureRect* a = Figure({120, 80, 170, 130});
    TFigureRect* b = Figure({150, 100, 200, 200});
    TFigureRect* c = Figure({300, 90, 350, 120});
    Select({a, b, c});
    e->Copy();
    ASSERT_TRUE(e->Paste());
    ASSERT_EQ(d->FreeFrames(FreeFigure).size(), 6u);
    const auto& figures = d->FreeFrames(FreeFigure);
    EXPECT_EQ(figures[3]->GetDesignRect(), (TRect{0, 0, 50, 50}));
    EXPECT_EQ(figures[4]->GetDesignRect(), (TRect{30, 20, 80, 120}));
    EXPECT_EQ(figures[5]->GetDesignRect(), (TRect{180, 10, 230, 40}));
    EXPECT_EQ(d->ZOrder[0], figures[5].get());
    EXPECT_EQ(d->Selection.size(), 3u);
    EXPECT_EQ(d->FocusedIndex, 0);
    EXPECT_TRUE(DesignConsistent(*d));
    ASSERT_TRUE(e->UndoRedo(false));
    EXPECT_EQ(d->FreeFrames(FreeFigure).size(), 3u);
    EXPECT_TRUE(DesignConsistent(*d));

    // Only the sender block selected: nothing is copied, so nothing is pasted.
    Select({Sender()});
    e->Copy();
    EXPECT_FALSE(e->Paste());
}

// Deleting frames from the middle of the stacking and undoing puts each back at its own place.
TEST_F(DesignCommandsTest, DeleteOfThreeFramesRestoresTheirStacking)
{
    TFigureRect* f1 = Figure({0, 0, 10, 10});
    TWordRect* t1 = e->AddText({QStringLiteral("a")}, 1);
    TFigureRect* f2 = Figure({20, 0, 30, 10});
    TSenderRect* sender = Sender();
    TFigureRect* f3 = Figure({40, 0, 50, 10});
    (void)f2;
    std::vector<quint8> kinds;
    for (const TDrawRect* frame : d->ZOrder)
        kinds.push_back(frame->GetKind());
    const QByteArray bytes = Bytes();
    Select({f3, t1, sender}, 1);
    ASSERT_TRUE(e->DeleteSelection());
    EXPECT_EQ(d->ZOrder.size(), 2u);
    EXPECT_EQ(d->SenderBlock(), nullptr);
    EXPECT_TRUE(d->Selection.empty());
    EXPECT_EQ(d->FocusedIndex, -1);
    const QByteArray deleted = Bytes();
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(e->UndoRedo(false));
        ASSERT_TRUE(DesignConsistent(*d));
        ASSERT_EQ(d->ZOrder.size(), kinds.size());
        for (size_t i = 0; i < kinds.size(); ++i)
            EXPECT_EQ(d->ZOrder[i]->GetKind(), kinds[i]) << i;
        EXPECT_EQ(d->ZOrder[4], d->FreeFrames(FreeFigure)[0].get());
        EXPECT_EQ(Bytes(), bytes);
        EXPECT_EQ(d->Selection.size(), 3u);
        EXPECT_EQ(d->FocusedIndex, 1);
        EXPECT_EQ(d->Selection[1]->GetKind(), KindWord);
        ASSERT_TRUE(e->UndoRedo(true));
        ASSERT_TRUE(DesignConsistent(*d));
        EXPECT_EQ(Bytes(), deleted);
    }
    (void)f1;
}

TEST_F(DesignCommandsTest, PicturesFromFiles)
{
    d->PrintableArea = TRect{4, 4, 374, 544};
    ASSERT_TRUE(e->TakePickedImage(Picture("p.bmp", {600, 300}, 300)));
    EXPECT_EQ(d->FreeFrames(FreeIllustration)[0]->GetDesignRect(), (TRect{4, 4, 196, 100}));
    ASSERT_TRUE(e->TakePickedImage(Picture("q.bmp", {3000, 3000}, 72, Qt::blue)));
    // The focused illustration takes the picture, its rectangle stays.
    ASSERT_EQ(d->FreeFrames(FreeIllustration).size(), 1u);
    EXPECT_EQ(d->Undo.GetEntry(0)->UndoActionKind(), UndoChange);
    ASSERT_TRUE(e->RestorePictureSize());
    EXPECT_EQ(d->FreeFrames(FreeIllustration)[0]->GetDesignRect(), (TRect{4, 4, 374, 374}));

    const int count = d->Undo.Count();
    EXPECT_FALSE(e->TakePickedImage(m_folders->FilePath(QStringLiteral("gone.jpg"))));
    EXPECT_EQ(d->Undo.Count(), count);

    Select({});
    const QStringList pictures = {Picture("1.bmp", {96, 96}, 96), Picture("2.bmp", {96, 96}, 96),
                                  Picture("3.bmp", {96, 96}, 96)};
    ASSERT_TRUE(e->DropFiles(pictures, {40, 60}));
    const auto& illusts = d->FreeFrames(FreeIllustration);
    ASSERT_EQ(illusts.size(), 4u);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(illusts[size_t(i)]->GetDesignRect(), (TRect{40 + 10 * (i - 1), 60 + 10 * (i - 1),
                                                               136 + 10 * (i - 1), 156 + 10 * (i - 1)}));
    EXPECT_EQ(d->Selection.size(), 3u);
    EXPECT_EQ(d->FocusedIndex, 2);
    ASSERT_TRUE(e->UndoRedo(false));
    EXPECT_EQ(illusts.size(), 1u);
    EXPECT_TRUE(DesignConsistent(*d));
    EXPECT_FALSE(e->DropFiles({m_folders->FilePath(QStringLiteral("none.bmp"))}, {0, 0}));
}

TEST_F(DesignCommandsTest, NewFrameEndsItemModeOfTheSenderBlock)
{
    Sender()->SetWholeBlock(false);
    e->AddText({QStringLiteral("a")}, 0);
    EXPECT_TRUE(d->SenderBlock()->WholeBlock());
    EXPECT_TRUE(e->SenderLayoutReset);
}

TEST_F(DesignCommandsTest, TextDirectionTurnsTheSelectedTextsAndTheSenderBlock)
{
    TWordRect* a = e->AddText({QStringLiteral("a")}, 1);
    TWordRect* b = e->AddText({QStringLiteral("b")}, 1);
    b->SetDesignRect({10, 10, 110, 40});
    TSenderRect* sender = Sender();
    sender->SetHorizontal(true);
    sender->SetDesignRect({200, 300, 360, 540});
    Select({a, b, sender});
    ASSERT_TRUE(e->EditText({QStringLiteral("c")}, 0));
    EXPECT_FALSE(b->Horizontal());
    EXPECT_EQ(b->GetDesignRect(), (TRect{10, 10, 40, 110}));
    EXPECT_FALSE(sender->GetHorizontal());
    EXPECT_EQ(sender->GetDesignRect(), (TRect{200, 300, 440, 460}));
    EXPECT_FALSE(d->Context.Prototypes->Rects->Text->Horizontal());
    EXPECT_EQ(d->Undo.GetEntry(0)->Count(), 3);
}

TEST_F(DesignCommandsTest, SenderLayoutResetPutsTheItemsBackAndThePrototypeTakesTheLook)
{
    EXPECT_FALSE(e->ResetSenderLayout());
    EXPECT_EQ(d->Undo.Count(), 0);
    TWordRect* text = e->AddText({QStringLiteral("a")}, 1);
    TSenderRect* block = Sender();
    // Turned without resetting: the items keep their upright vertical places, upside down.
    block->SetHorizontal(true);
    block->SetUpsideDown(true);
    block->Frame().SetFrameVisible(true);
    TFontSpec font = block->GetFont();
    font.name = QStringLiteral("IPAGothic");
    block->SetFont(font, 0x112233);
    Select({text, block}, 1);
    d->Context.Prototypes->Rects->Changed = false;
    d->Modified = false;
    const int steps = d->Undo.Count();
    const QByteArray before = Bytes();

    ASSERT_TRUE(e->ResetSenderLayout());
    for (int i = 0; i < SenderMemberCount; ++i)
        EXPECT_EQ(block->ItemRect(i), SenderItemDefaultRects[size_t(i)][1]) << i;
    EXPECT_TRUE(block->GetUpsideDown());
    EXPECT_TRUE(block->Frame().FrameVisible());
    EXPECT_TRUE(d->Modified);
    ASSERT_EQ(d->Undo.Count(), steps + 1);
    const TUndoDatas* step = d->Undo.GetEntry(0);
    EXPECT_EQ(step->UndoActionKind(), UndoChange);
    EXPECT_EQ(step->Count(), 1);
    // The prototype: the block's direction and font, no decoration, upright; marked for saving.
    const TSenderRect& prototype = d->Context.Prototypes->Sender;
    EXPECT_TRUE(prototype.GetHorizontal());
    EXPECT_EQ(prototype.GetFont().name, QStringLiteral("IPAGothic"));
    EXPECT_FALSE(prototype.Frame().FrameVisible());
    EXPECT_FALSE(prototype.GetUpsideDown());
    EXPECT_TRUE(d->Context.Prototypes->Changed());

    const QByteArray after = Bytes();
    ASSERT_TRUE(e->UndoRedo(false));
    EXPECT_TRUE(DesignConsistent(*d));
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(d->Selection, (std::vector<TDrawRect*>{text, block}));
    EXPECT_EQ(d->FocusedIndex, 1);
    ASSERT_TRUE(e->UndoRedo(true));
    EXPECT_EQ(Bytes(), after);
}

// Every command followed by undo gives back the saved bytes; redo gives the changed bytes again.
TEST_F(DesignCommandsTest, EveryCommandUndoesAndRedoesToTheSameFile)
{
    using TCommand = std::function<bool(TDesignEditor&, TDesignDocument&)>;
    auto focusOn = [](TDesignDocument& d, int kind) {
        d.Selection = {d.FreeFrames(kind)[0].get(), d.SenderBlock()};
        d.FocusedIndex = 0;
    };
    const std::vector<std::pair<const char*, TCommand>> commands = {
        {"add text",
         [](TDesignEditor& e, TDesignDocument&) { return e.AddText({QStringLiteral("a")}, 1) != nullptr; }},
        {"edit text", [](TDesignEditor& e, TDesignDocument&) { return e.EditText({QStringLiteral("b")}, 0); }},
        {"add figure", [](TDesignEditor& e, TDesignDocument&) { return e.AddFigure(TFigureRect()) != nullptr; }},
        {"change figure",
         [&](TDesignEditor& e, TDesignDocument& d) {
             focusOn(d, FreeFigure);
             TFigureRect chosen;
             chosen.SetLineWidth(7);
             return e.ChangeFigure(chosen);
         }},
        {"add QR code",
         [](TDesignEditor& e, TDesignDocument&) { return e.AddQRCode(TQRCodeRect()) != nullptr; }},
        {"change QR code",
         [&](TDesignEditor& e, TDesignDocument& d) {
             focusOn(d, FreeQRCode);
             TQRCodeRect chosen;
             chosen.SetModuleSize(5);
             return e.ChangeQRCode(chosen);
         }},
        {"illustration look",
         [&](TDesignEditor& e, TDesignDocument& d) {
             focusOn(d, FreeIllustration);
             d.Selection.push_back(d.FreeFrames(FreeText)[0].get());
             TIllustRect chosen;
             chosen.Assign(*d.FreeFrames(FreeIllustration)[0]);
             chosen.Frame().SetFrameVisible(true);
             return e.SetIllustDisplay(chosen);
         }},
        {"text look",
         [&](TDesignEditor& e, TDesignDocument& d) {
             focusOn(d, FreeText);
             TWordRect chosen;
             chosen.Assign(*d.FreeFrames(FreeText)[0]);
             chosen.SetHorizontal(false);
             chosen.SetAlignment(2);
             return e.SetWordDisplay(chosen);
         }},
        {"delete", [](TDesignEditor& e, TDesignDocument&) { return e.DeleteSelection(); }},
        {"paste",
         [](TDesignEditor& e, TDesignDocument&) {
             e.Copy();
             return e.Paste();
         }},
        {"picked picture",
         [&](TDesignEditor& e, TDesignDocument&) { return e.TakePickedImage(Picture("n.bmp", {30, 20}, 96)); }},
        {"replaced picture",
         [&](TDesignEditor& e, TDesignDocument& d) {
             focusOn(d, FreeIllustration);
             return e.TakePickedImage(Picture("r.bmp", {30, 20}, 96, Qt::green));
         }},
        {"dropped pictures",
         [&](TDesignEditor& e, TDesignDocument&) {
             return e.DropFiles({Picture("d1.bmp", {8, 8}, 96), Picture("d2.bmp", {8, 8}, 96)}, {5, 5});
         }},
        {"natural size",
         [&](TDesignEditor& e, TDesignDocument& d) {
             focusOn(d, FreeIllustration);
             return e.RestorePictureSize();
         }},
        {"clear background", [](TDesignEditor& e, TDesignDocument&) { return e.ClearBackImage(); }},
        {"drag",
         [](TDesignEditor&, TDesignDocument& d) {
             TPaperModel model;
             model.Stacking = &d.ZOrder;
             model.Selection = &d.Selection;
             model.FocusIndex = &d.FocusedIndex;
             model.Zoom = &d.Zoom;
             model.DesignSize = &d.PaperPixelSize;
             model.Undo = &d.Undo;
             model.Modified = &d.Modified;
             std::vector<TRect> outlines;
             for (const TDrawRect* frame : d.Selection)
                 outlines.push_back(frame->GetScreenRect().Moved(7, 9));
             TPaperEditor(model).Drop(outlines);
             return true;
         }},
        {"stacking",
         [](TDesignEditor&, TDesignDocument& d) {
             auto action = std::make_unique<TUndoDatas>(UndoZOrder);
             TDrawRect* top = d.ZOrder[0];
             d.ZOrder.erase(d.ZOrder.begin());
             d.ZOrder.push_back(top);
             action->AddZOrder(int(d.ZOrder.size()) - 1, 0);
             d.Undo.Push(std::move(action));
             return true;
         }},
    };
    for (const auto& [name, command] : commands) {
        SetUp();
        d->BackImage.SetMode(BackColor);
        d->BackImage.SetColor(0xE0F0FF);
        e->AddText({QStringLiteral("本文")}, 1)->SetDesignRect({10, 300, 90, 340});
        e->AddFigure(TFigureRect())->SetDesignRect({200, 20, 260, 80});
        e->AddQRCode(TQRCodeRect());
        ASSERT_TRUE(e->TakePickedImage(Picture("base.bmp", {40, 40}, 96, Qt::blue)));
        d->FreeFrames(FreeIllustration)[0]->SetDesignRect({30, 30, 50, 60});
        Sender();
        Select({d->FreeFrames(FreeText)[0].get(), d->FreeFrames(FreeFigure)[0].get(), d->SenderBlock()});
        const QByteArray before = Bytes();
        ASSERT_TRUE(command(*e, *d)) << name;
        ASSERT_TRUE(DesignConsistent(*d)) << name;
        const QByteArray after = Bytes();
        EXPECT_NE(after, before) << name;
        ASSERT_TRUE(e->UndoRedo(false)) << name;
        ASSERT_TRUE(DesignConsistent(*d)) << name;
        EXPECT_EQ(Bytes(), before) << name;
        ASSERT_TRUE(e->UndoRedo(true)) << name;
        ASSERT_TRUE(DesignConsistent(*d)) << name;
        EXPECT_EQ(Bytes(), after) << name;
        TearDown();
    }
}

} // namespace
