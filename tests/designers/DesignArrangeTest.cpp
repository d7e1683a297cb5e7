// The message-side design's sender block and arrangement commands: the shared arrangement geometry, what
// each command does to the frames and the one undo action it records, the paper change, and item mode with
// the prototype following a drag.
#include "designers/DesignArrange.h"
#include "designers/PaperEditing.h"
#include "layoutobjects/FigureRect.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/NameRect.h"
#include "layoutobjects/WordRect.h"
#include "support/DesignFixture.h"
#include "support/MessageRecorder.h"

#include <gtest/gtest.h>
#include <QPainter>

namespace {

using namespace LayoutSettingsField;

class DesignArrangeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folders.FoldersMade());
        m_senders.Rows = {SenderRow(1, "home", QStringLiteral("山田 太郎")),
                          SenderRow(2, "office", QStringLiteral("山田 花子"))};
        m_context.Senders = &m_senders;
        d = std::make_unique<TDesignDocument>(m_context);
        d->PaperIndex = 0;
        ASSERT_TRUE(d->LoadPaperFormat());
        d->NewDesign();
        d->Zoom = 1;
    }
    void TearDown() override { d.reset(); }
    TDrawRect* Figure(const TRect& r)
    {
        TDrawRect* frame = d->AddFreeFrame(FreeFigure, std::make_unique<TFigureRect>());
        frame->SetDesignRect(r);
        return frame;
    }
    void Select(std::vector<TDrawRect*> frames, int focus = 0)
    {
        d->Selection = std::move(frames);
        d->FocusedIndex = focus;
    }
    TUndoDatas* Last() const { return d->Undo.Count() ? d->Undo.GetEntry(0) : nullptr; }
    static std::vector<qint32> Recorded(const TUndoDatas& action, quint8 side)
    {
        std::vector<qint32> out;
        for (int i = 0; i < action.GetSelectionCount(side); ++i)
            out.push_back(action.GetSelection(side, i));
        return out;
    }

    TDesignerFolders m_folders;
    TMemorySenders m_senders;
    TDesignContext m_context;
    std::unique_ptr<TDesignDocument> d;
    MessageRecorder m_messages;
};

TEST(FrameArrange, AlignmentsKeepSizeOrCorner)
{
    const TRect reference{100, 100, 200, 160}; // 100 x 60
    const TRect r{10, 20, 50, 40};             // 40 x 20
    const struct
    {
        TFrameAlign how;
        TRect expected;
    } cases[] = {
        {TFrameAlign::Top, {10, 100, 50, 120}},      {TFrameAlign::Bottom, {10, 140, 50, 160}},
        {TFrameAlign::Right, {160, 20, 200, 40}},    {TFrameAlign::Left, {100, 20, 140, 40}},
        {TFrameAlign::CentreV, {10, 120, 50, 140}},  {TFrameAlign::CentreH, {130, 20, 170, 40}},
        {TFrameAlign::Centre, {130, 120, 170, 140}}, {TFrameAlign::Width, {10, 20, 110, 40}},
        {TFrameAlign::Height, {10, 20, 50, 80}},     {TFrameAlign::Size, {10, 20, 110, 80}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AlignedRect(r, reference, c.how), c.expected) << int(c.how);
}

TEST(FrameArrange, PaperChangeScalesOrKeepsFramesOnThePaper)
{
    EXPECT_EQ(ScaleFrameRect({10, 20, 110, 70}, {1000, 1480}, {2000, 1480}), (TRect{20, 20, 220, 70}));
    EXPECT_EQ(ScaleFrameRect({3, 3, 5, 5}, {2, 2}, {3, 3}), (TRect{5, 5, 8, 8})); // 4.5 and 7.5 round away
    EXPECT_EQ(KeepFrameOnPaper({-10, 5, 40, 25}, {100, 100}), (TRect{0, 5, 50, 25}));
    EXPECT_EQ(KeepFrameOnPaper({80, 90, 130, 120}, {100, 100}), (TRect{50, 70, 100, 100}));
    EXPECT_EQ(KeepFrameOnPaper({30, 0, 180, 10}, {100, 100}), (TRect{0, 0, 150, 10})); // wider than the paper
}

TEST(FrameArrange, NewSenderBlockShrinksOntoASmallPaper)
{
    EXPECT_EQ(NewSenderRect(true, {378, 559}), (TRect{50, 50, 275, 200}));
    EXPECT_EQ(NewSenderRect(false, {378, 559}), (TRect{50, 50, 200, 275}));
    // 150 / 225 of the rect, then moved back to end at the paper's right edge.
    EXPECT_EQ(NewSenderRect(true, {150, 300}), (TRect{0, 33, 150, 133}));
}

TEST_F(DesignArrangeTest, EqualSpacingAcrossThePaperAndBetweenTheEnds)
{
    // Selected in reverse order: the sort by left edge decides the order.
    TDrawRect* right = Figure({250, 300, 350, 340});
    TDrawRect* left = Figure({10, 100, 110, 150});
    Select({right, left});
    TDesignArranger arranger(*d);
    ASSERT_TRUE(arranger.EqualSpacing(TEqualSpacing::PaperH));
    EXPECT_EQ(left->GetDesignRect(), (TRect{59, 100, 159, 150}));
    EXPECT_EQ(right->GetDesignRect(), (TRect{218, 300, 318, 340}));
    const TUndoDatas* action = Last();
    ASSERT_TRUE(action);
    EXPECT_EQ(action->UndoActionKind(), UndoMove);
    ASSERT_EQ(action->Count(), 2);
    const auto* first = static_cast<const TRectUndoData*>(action->GetItem(0));
    EXPECT_EQ(first->GetRect(0), (TRect{10, 100, 110, 150}));
    EXPECT_EQ(first->GetRect(1), left->GetDesignRect());
    EXPECT_EQ(first->ZOrder(), 0);
    EXPECT_EQ(Recorded(*action, 0), (std::vector<qint32>{1, 0}));
    EXPECT_EQ(Recorded(*action, 1), (std::vector<qint32>{1, 0}));
    EXPECT_TRUE(d->Modified);

    // Between the ends: 3 frames, 7 pixels to share leaves a remainder; the first stays.
    TDrawRect* a = Figure({0, 0, 10, 10});
    TDrawRect* b = Figure({12, 0, 22, 10});
    TDrawRect* c = Figure({27, 0, 37, 10});
    Select({a, b, c});
    ASSERT_TRUE(arranger.EqualSpacing(TEqualSpacing::EndsH));
    EXPECT_EQ(a->GetDesignRect().left, 0);
    EXPECT_EQ(b->GetDesignRect().left, 13);
    EXPECT_EQ(c->GetDesignRect().left, 26);
    EXPECT_GE(c->GetDesignRect().right, 37 - 1);

    Select({a});
    EXPECT_FALSE(arranger.EqualSpacing(TEqualSpacing::PaperV));
}

TEST_F(DesignArrangeTest, CentringAndAlignmentRecordOneMoveEach)
{
    TDrawRect* a = Figure({0, 0, 100, 50});
    TDrawRect* b = Figure({300, 400, 340, 420});
    Select({a, b}, 0);
    TDesignArranger arranger(*d);
    ASSERT_TRUE(arranger.CentreOnPaper(TPaperCentre::Both));
    EXPECT_EQ(a->GetDesignRect(), (TRect{139, 254, 239, 304}));
    EXPECT_EQ(Last()->Count(), 2);
    ASSERT_TRUE(arranger.Align(TFrameAlign::Width));
    EXPECT_EQ(b->GetDesignRect(), (TRect{169, 269, 269, 289})); // the corner kept
    EXPECT_EQ(Last()->Count(), 1);
    EXPECT_EQ(d->Undo.Count(), 2);

    // Nothing selected: nothing recorded, the design still marked.
    d->Modified = false;
    Select({}, -1);
    EXPECT_FALSE(arranger.CentreOnPaper(TPaperCentre::Vertical));
    EXPECT_FALSE(arranger.Align(TFrameAlign::Top));
    EXPECT_EQ(d->Undo.Count(), 2);
    EXPECT_TRUE(d->Modified);
}

TEST_F(DesignArrangeTest, StackingMovesAreRecordedAsIndexPairs)
{
    TDrawRect* bottom = Figure({0, 0, 10, 10});
    TDrawRect* middle = Figure({0, 0, 10, 10});
    TDrawRect* upper = Figure({0, 0, 10, 10});
    TDrawRect* top = Figure({0, 0, 10, 10});
    ASSERT_EQ(d->ZOrder, (std::vector<TDrawRect*>{top, upper, middle, bottom}));
    Select({middle, upper});
    TDesignArranger arranger(*d);
    ASSERT_TRUE(arranger.ZOrder(TZOrderMove::Up));
    // Two adjacent frames one step up keep their order.
    EXPECT_EQ(d->ZOrder, (std::vector<TDrawRect*>{upper, middle, top, bottom}));
    const TUndoDatas* action = Last();
    EXPECT_EQ(action->UndoActionKind(), UndoZOrder);
    ASSERT_EQ(action->Count(), 2);
    const auto* move = static_cast<const TZOrderUndoData*>(action->GetItem(0));
    EXPECT_EQ(std::pair(move->NewIndex(), move->OldIndex()), std::pair(0, 1));
    EXPECT_EQ(Recorded(*action, 0), (std::vector<qint32>{2, 1}));
    EXPECT_EQ(Recorded(*action, 1), (std::vector<qint32>{1, 0}));

    ASSERT_TRUE(arranger.ZOrder(TZOrderMove::Bottom));
    EXPECT_EQ(d->ZOrder, (std::vector<TDrawRect*>{top, bottom, upper, middle}));
    // Already at the bottom: nothing moves, nothing is recorded.
    const int count = d->Undo.Count();
    EXPECT_FALSE(arranger.ZOrder(TZOrderMove::Down));
    EXPECT_EQ(d->Undo.Count(), count);
}

TEST_F(DesignArrangeTest, PaperChangeRescalesOrKeepsAndEndsTheHistory)
{
    TDrawRect* frame = Figure({100, 200, 300, 260});
    Select({frame});
    TDesignArranger arranger(*d);
    arranger.CentreOnPaper(TPaperCentre::Horizontal);
    ASSERT_EQ(d->Undo.Count(), 1);
    const TRect before = frame->GetDesignRect();

    TDesignPaperFormat wide = d->PaperFormat;
    wide.SetWidth(d->PaperFormat.Width() * 2);
    EXPECT_TRUE(arranger.PaperChangeAsks(wide));
    EXPECT_FALSE(arranger.PaperChangeAsks(d->PaperFormat));
    d->Modified = false;
    arranger.ChangePaper(7, wide, true);
    EXPECT_EQ(frame->GetDesignRect(), (TRect{before.left * 2, before.top, before.right * 2, before.bottom}));
    EXPECT_EQ(d->PaperIndex, 7);
    EXPECT_EQ(d->PaperPixelSize.width(), 756);
    EXPECT_EQ(d->Undo.Count(), 0);
    EXPECT_EQ(d->Zoom, 0);
    EXPECT_TRUE(d->Modified);

    // Back on the narrow paper without rescaling: the frame is pulled wholly onto it.
    TDesignPaperFormat narrow = wide;
    narrow.SetWidth(wide.Width() / 2);
    arranger.ChangePaper(0, narrow, false);
    EXPECT_EQ(frame->GetDesignRect(), (TRect{0, before.top, 400, before.bottom})); // wider than the paper
}

TEST_F(DesignArrangeTest, ShowingTheSenderBlockAddsItOnTopAsOneAddition)
{
    TDrawRect* figure = Figure({0, 0, 10, 10});
    TDesignArranger arranger(*d);
    ASSERT_TRUE(arranger.CanShowSender());
    TSenderRect* block = arranger.ShowSender();
    ASSERT_TRUE(block);
    EXPECT_FALSE(arranger.CanShowSender());
    EXPECT_EQ(arranger.ShowSender(), nullptr);
    EXPECT_EQ(d->ZOrder, (std::vector<TDrawRect*>{block, figure}));
    EXPECT_EQ(block->GetDesignRect(), NewSenderRect(block->GetHorizontal(), d->PaperPixelSize));
    // An unknown key moves the block and the prototype to the first sender.
    EXPECT_EQ(block->SenderTitle(), QByteArray("home"));
    EXPECT_EQ(m_context.Prototypes->Sender.SenderTitle(), QByteArray("home"));
    EXPECT_TRUE(block->GetName(block->SimpleLayout())->Name().contains(QStringLiteral("太郎")));
    const TUndoDatas* action = Last();
    EXPECT_EQ(action->UndoActionKind(), UndoAdd);
    const auto* item = static_cast<const TDrawRectUndoData*>(action->GetItem(0));
    EXPECT_EQ(item->ZOrder(), 0);
    EXPECT_EQ(item->ListIndex(), -1);
    EXPECT_TRUE(item->GetStream(0).isEmpty());
    EXPECT_EQ(item->GetStream(1), StreamImage(*block));
    EXPECT_EQ(Recorded(*action, 1), (std::vector<qint32>{0}));
    EXPECT_EQ(d->Selection, (std::vector<TDrawRect*>{block}));
    EXPECT_TRUE(d->Modified);

    // Without senders the command is not offered.
    m_senders.Rows.clear();
    d->SetSenderBlock(nullptr);
    EXPECT_FALSE(arranger.CanShowSender());
}

TEST_F(DesignArrangeTest, SendersEditorRecordsAStepWithoutMarkingTheDesign)
{
    TDesignArranger arranger(*d);
    TSenderRect* block = arranger.ShowSender();
    d->Modified = false;
    m_context.Prototypes->Sender.SetSenderTitle("office");
    Select({}, -1);
    arranger.SenderEdited();
    EXPECT_FALSE(d->Modified);
    EXPECT_EQ(d->Undo.Count(), 2);
    const TUndoDatas* action = Last();
    EXPECT_EQ(action->UndoActionKind(), UndoChange);
    const auto* item = static_cast<const TDrawRectUndoData*>(action->GetItem(0));
    EXPECT_NE(item->GetStream(0), item->GetStream(1));
    EXPECT_EQ(Recorded(*action, 0), (std::vector<qint32>{0}));
    EXPECT_EQ(block->SenderTitle(), QByteArray("office"));
    EXPECT_TRUE(block->GetName(block->SimpleLayout())->Name().contains(QStringLiteral("花子")));
}

TEST_F(DesignArrangeTest, TheLookIsTakenOverWithTheCornerKept)
{
    TDesignArranger arranger(*d);
    TSenderRect* block = arranger.ShowSender();
    auto* text = static_cast<TWordRect*>(d->AddFreeFrame(FreeText, std::make_unique<TWordRect>()));
    text->SetHorizontal(!block->GetHorizontal());
    text->SetDesignRect({10, 300, 110, 340});
    Select({block, text}, 0);
    const TRect corner = block->GetDesignRect();

    TSenderRect chosen;
    chosen.Assign(*block);
    chosen.SetDesignRect({5, 7, 5 + corner.Height(), 7 + corner.Width()});
    chosen.SetUpsideDown(true);
    chosen.Frame().SetFrameVisible(true);
    chosen.Frame().SetLineColor(0x0000FF);
    TFontSpec font = chosen.GetFont();
    font.name = QStringLiteral("IPAGothic");
    chosen.SetFont(font, 0x112233);
    ASSERT_TRUE(arranger.TakeSenderLook(chosen));

    const TRect now = block->GetDesignRect();
    EXPECT_EQ(std::pair(now.left, now.top), std::pair(corner.left, corner.top));
    EXPECT_EQ(now.Width(), corner.Height());
    EXPECT_TRUE(block->Frame().FrameVisible());
    // The prototype: no decoration, upright.
    EXPECT_FALSE(m_context.Prototypes->Sender.Frame().FrameVisible());
    EXPECT_FALSE(m_context.Prototypes->Sender.GetUpsideDown());
    EXPECT_TRUE(m_context.Prototypes->Changed());
    // The text takes the direction (width and height exchanged), the font and the decoration.
    EXPECT_EQ(text->Horizontal(), block->GetHorizontal());
    EXPECT_EQ(text->GetDesignRect(), (TRect{10, 300, 50, 400}));
    EXPECT_EQ(text->Font().name, QStringLiteral("IPAGothic"));
    EXPECT_EQ(text->FontColor(), 0x112233u);
    EXPECT_EQ(text->Frame().LineColor(), 0x0000FFu);
    const TUndoDatas* action = Last();
    EXPECT_EQ(action->UndoActionKind(), UndoChange);
    ASSERT_EQ(action->Count(), 2);
    const auto* textItem = static_cast<const TDrawRectUndoData*>(action->GetItem(1));
    EXPECT_EQ(textItem->ListIndex(), 0);
    EXPECT_EQ(textItem->GetStream(1), StreamImage(*text));

    // Only the focused block is taken.
    Select({text}, 0);
    EXPECT_FALSE(arranger.TakeSenderLook(chosen));
}

TEST_F(DesignArrangeTest, DetailsAndDataFormGoToTheSettingsAndTheBlock)
{
    TDesignArranger arranger(*d);
    TSenderRect* block = arranger.ShowSender();
    ASSERT_TRUE(block->SimpleLayout());
    TLayoutSettings detail = d->Settings;
    const qint32 additionLevel = detail.Int(AdditionLevel);
    detail.SetInt(SenderNameLevel, 5);
    detail.SetInt(SenderAddressLevel, 1);
    detail.SetInt(SenderAdditionLevel, 2);
    detail.SetInt(AdditionLevel, 4);
    detail.SetByte(NameAlign, 1);
    detail.SetByte(JointNamesTogether, 1);
    TSenderShown shown{};
    shown.fill(true);
    shown[5] = false; // company
    ASSERT_TRUE(arranger.ApplyDetails(detail, true, shown));
    EXPECT_FALSE(block->SimpleLayout());
    EXPECT_FALSE(block->GetCompanyVisible());
    EXPECT_EQ(arranger.DetailShown(), shown);
    EXPECT_EQ(static_cast<TNameRect*>(block->Member(DetailedName))->Level(), 5);
    EXPECT_EQ(static_cast<TCorpRect*>(block->Member(DetailedTitle))->Level(), 5);
    EXPECT_EQ(static_cast<TAddressRect*>(block->Member(DetailedAddress2))->Level(), 1);
    EXPECT_EQ(static_cast<TAdditionRect*>(block->Member(DetailedContact3))->Level(), 2);
    EXPECT_EQ(d->Settings.Byte(JointNamesTogether), 1);
    // The name alignment and the addition size are not taken.
    EXPECT_EQ(d->Settings.Byte(NameAlign), 0);
    EXPECT_EQ(d->Settings.Int(AdditionLevel), additionLevel);
    EXPECT_FALSE(m_context.Prototypes->Sender.SimpleLayout());

    ASSERT_TRUE(arranger.ApplyDetails(detail, false, shown));
    EXPECT_TRUE(block->SimpleLayout());

    TLayoutSettings form = d->Settings;
    form.SetInt(SenderPostalMark, 2);
    form.SetHonorific(DefaultHonorific, QStringLiteral("殿"));
    d->Modified = false;
    ASSERT_TRUE(arranger.ApplyDataForm(form));
    EXPECT_EQ(block->GetPostal(true)->Text(), QStringLiteral("１００-０００１"));
    EXPECT_NE(d->Settings.Honorific(DefaultHonorific), QStringLiteral("殿"));
    EXPECT_TRUE(d->Modified);
    EXPECT_EQ(d->Undo.Count(), 1); // neither records an undo step
}

TEST_F(DesignArrangeTest, ADragInItemModeChangesTheBlockAndThePrototypeFollows)
{
    TDesignArranger arranger(*d);
    TSenderRect* block = arranger.ShowSender();
    block->SetZoom(1);
    Select({}, -1);
    EXPECT_FALSE(arranger.SetItemMode(true)); // the block must be focused
    Select({block}, 0);
    ASSERT_TRUE(arranger.SetItemMode(true));
    EXPECT_FALSE(block->WholeBlock());
    // Arrangement commands leave the items to the mouse and keys.
    EXPECT_FALSE(arranger.CentreOnPaper(TPaperCentre::Both));

    TPaperModel model;
    model.Stacking = &d->ZOrder;
    model.Selection = &d->Selection;
    model.FocusIndex = &d->FocusedIndex;
    model.Zoom = &d->Zoom;
    model.DesignSize = &d->PaperPixelSize;
    model.Undo = &d->Undo;
    model.Modified = &d->Modified;
    AddSenderItemMode(model, *d);
    TPaperEditor editor(model);

    // No item selected: a drop does nothing.
    const int count = d->Undo.Count();
    editor.Drop({block->GetScreenRect().Moved(5, 5)});
    EXPECT_EQ(d->Undo.Count(), count);

    QImage canvas(400, 600, QImage::Format_RGB32);
    {
        QPainter painter(&canvas);
        block->Draw(painter, 0, 0); // lays the items out
    }
    const int member = block->ShownMembers().front();
    const TRect item = block->Member(member)->GetScreenRect();
    ASSERT_TRUE(block->ContainsPoint(item.left + 1, item.top + 1));
    ASSERT_GE(block->SelectedMember(), 0);
    const QByteArray before = StreamImage(*block);
    const TRect moved = block->GetScreenRect().Moved(7, 3);
    editor.Drop({moved});
    const TUndoDatas* action = Last();
    ASSERT_EQ(d->Undo.Count(), count + 1);
    EXPECT_EQ(action->UndoActionKind(), UndoChange);
    const auto* recorded = static_cast<const TDrawRectUndoData*>(action->GetItem(0));
    EXPECT_EQ(recorded->GetStream(0), before);
    EXPECT_EQ(recorded->GetStream(1), StreamImage(*block));
    EXPECT_EQ(block->ItemRect(block->SelectedMember()),
              m_context.Prototypes->Sender.ItemRect(block->SelectedMember()));
    EXPECT_TRUE(m_context.Prototypes->Changed());

    // An arrow key in item mode records a change but leaves the prototype.
    const TRect prototypeItem = m_context.Prototypes->Sender.ItemRect(block->SelectedMember());
    ASSERT_TRUE(editor.ArrowKey(Qt::Key_Right, false, false, 0));
    EXPECT_EQ(Last()->UndoActionKind(), UndoChange);
    EXPECT_EQ(m_context.Prototypes->Sender.ItemRect(block->SelectedMember()), prototypeItem);
}

} // namespace
