// Label and card documents under the settings commands: the paper change (same paper, other side, free frames
// scaled or pulled inside, the long side, the barcode), the additional items and the barcode with their undo,
// the details and the data format.
#include "core/AppSub.h"
#include "designers/LabelDocument.h"
#include "designers/LayoutCommands.h"
#include "layoutobjects/AdditionInfo.h"
#include "layoutobjects/WordRect.h"
#include "support/MessageRecorder.h"
#include "support/DesignerFolders.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace {

using namespace LayoutSettingsField;

class LabelSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(LoadLayoutFormats(LayoutFormatPath(), m_formats), FormatFileState::Read); }
    int Shipped(int kind) const
    {
        for (size_t i = 0; i < m_formats.Formats.size(); ++i)
            if (m_formats.Formats[i].Kind == kind && m_formats.Formats[i].Direction == 0)
                return int(i);
        ADD_FAILURE() << "no paper of kind " << kind;
        return 0;
    }
    std::unique_ptr<TLayoutDocument> New(quint8 mode = LabelModeLabel, quint8 source = 1)
    {
        auto document = NewLabelDocument({}, mode, Shipped(mode == LabelModeCard ? PaperCard : PaperLabel), source);
        EXPECT_TRUE(document);
        document->Modified = false;
        return document;
    }
    // The document's own paper under another index, size and data source.
    static TLayoutDocument::TLabelPaper Paper(const TLayoutDocument& d, qint32 index, int width, int height,
                                              quint8 source = 1)
    {
        TLayoutDocument::TLabelPaper paper;
        paper.Index = index;
        paper.Paper = d.Paper;
        paper.Paper.Width = width;
        paper.Paper.Height = height;
        paper.Sheet = d.Sheet;
        paper.MaxBarcodeSize = 3;
        paper.Horizontal = d.Horizontal;
        paper.DataSource = source;
        return paper;
    }
    static TDrawRect* AddText(TLayoutDocument& d, const TRect& r)
    {
        TDrawRect* text = d.AddFreeFrame(FreeText, std::make_unique<TWordRect>());
        text->SetDesignRect(r);
        d.InsertIntoStacking(text, false);
        return text;
    }
    static bool Contains(const std::vector<TDrawRect*>& list, const TDrawRect* frame)
    {
        return std::find(list.begin(), list.end(), frame) != list.end();
    }

    TDesignerFolders m_folders;
    TStandardFormats m_formats;
    MessageRecorder m_messages;
};

TEST_F(LabelSettingsTest, SamePaperAndSideChangeNothing)
{
    auto d = New();
    TDrawRect* text = AddText(*d, {10, 10, 60, 40});
    d->Selection = {text};
    d->FocusIndex = 0;
    d->Undo.Push(std::make_unique<TUndoDatas>(UndoMove));
    const std::vector<TDrawRect*> stacking = d->Stacking;
    bool asked = false;
    EXPECT_FALSE(d->ChangeLabelPaper(Paper(*d, d->PaperIndex, d->Paper.Width, d->Paper.Height),
                                     [&] { return asked = true; }));
    EXPECT_FALSE(asked);
    EXPECT_FALSE(d->Modified);
    EXPECT_EQ(d->Stacking, stacking);
    EXPECT_EQ(d->FocusIndex, 0);
    EXPECT_EQ(d->Undo.Count(), 1);
}

// The same paper with the sender: the fixed frames are rebuilt at the presets, the sender merged, the
// selection and history emptied; the individual set in use goes back to the combined one.
TEST_F(LabelSettingsTest, OtherSideRebuildsTheCombinedSet)
{
    auto d = New();
    d->SetIndividualLayout(true);
    const TDetailedSet& individual = d->Detailed();
    ASSERT_GE(d->StackingIndex(individual.Postal), 0);
    const TSimpleSet& s = d->Simple();
    s.Name->SetDesignRect({1, 1, 2, 2});
    d->Selection = {individual.Postal};
    d->FocusIndex = 0;
    d->Undo.Push(std::make_unique<TUndoDatas>(UndoMove));

    EXPECT_TRUE(d->ChangeLabelPaper(Paper(*d, d->PaperIndex, d->Paper.Width, d->Paper.Height, 2), {}));
    EXPECT_EQ(d->DataSource, 2);
    EXPECT_FALSE(d->DetailedSet);
    EXPECT_EQ(d->StackingIndex(individual.Postal), -1);
    // Postal code at the bottom of the group, the name on top.
    ASSERT_EQ(d->Stacking.size(), 3u);
    EXPECT_EQ(d->Stacking, (std::vector<TDrawRect*>{s.Name, s.Address, s.Postal}));
    const TPresetRect& p = d->Paper.Rects1[2];
    EXPECT_EQ(s.Name->GetDesignRect(), (TRect{p.Left, p.Top, p.Right, p.Bottom}));
    EXPECT_TRUE(d->Selection.empty());
    EXPECT_EQ(d->FocusIndex, -1);
    EXPECT_EQ(d->Undo.Count(), 0);
    EXPECT_TRUE(d->Modified);
}

// From 500 × 300 to 1000 × 300 (0.1 mm): Yes doubles the x coordinates; No pulls the frames onto the new
// paper, 378 units wide; a side whose old size was 0 keeps its coordinates.
TEST_F(LabelSettingsTest, FreeFramesScaledOrPulledInside)
{
    struct Case
    {
        const char* name;
        int oldWidth;
        bool yes;
        TRect before, after;
    };
    const Case cases[] = {
        {"yes doubles x", 500, true, {30, 10, 80, 50}, {60, 10, 160, 50}},
        {"no pulls left", 500, false, {300, 10, 420, 50}, {258, 10, 378, 50}},
        {"no: wider than the paper goes to 0", 500, false, {10, 20, 410, 60}, {0, 20, 400, 60}},
        {"old width 0 keeps x", 0, true, {30, 10, 80, 50}, {30, 10, 80, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto d = New();
        ASSERT_TRUE(d->ChangeLabelPaper(Paper(*d, 900, c.oldWidth, 300), {}));
        TDrawRect* text = AddText(*d, c.before);
        int asked = 0;
        ASSERT_TRUE(d->ChangeLabelPaper(Paper(*d, 901, 1000, 300), [&] {
            ++asked;
            return c.yes;
        }));
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(d->DesignSize.width(), 378);
        EXPECT_EQ(text->GetDesignRect(), c.after);
        EXPECT_GE(d->StackingIndex(text), 0);
    }
}

TEST_F(LabelSettingsTest, LongSideAndNoQuestionWithoutFreeFramesOrNewSize)
{
    auto d = New(LabelModeCard, 2);
    bool asked = false;
    auto ask = [&] { return asked = true; };
    ASSERT_TRUE(d->ChangeLabelPaper(Paper(*d, 900, 911, 550, 2), ask));
    EXPECT_EQ(PaperLongSide, 1365);
    EXPECT_EQ(d->DesignSize, QSize(344, 208));
    AddText(*d, {10, 10, 50, 50});
    ASSERT_TRUE(d->ChangeLabelPaper(Paper(*d, 901, 911, 550, 2), ask));
    EXPECT_FALSE(asked);
}

TEST_F(LabelSettingsTest, PaperChangeFitsThePlacedBarcode)
{
    auto d = New();
    TBarcodeRect* barcode = d->Simple().Barcode;
    barcode->SetVisible(true);
    barcode->SetSizeIndex(3);
    d->InsertIntoStacking(barcode, true);
    auto small = Paper(*d, 900, d->Paper.Width, d->Paper.Height);
    small.MaxBarcodeSize = 1;
    ASSERT_TRUE(d->ChangeLabelPaper(small, {}));
    EXPECT_EQ(barcode->SizeIndex(), 1);
    EXPECT_EQ(d->Stacking.front(), barcode);

    auto none = Paper(*d, 901, d->Paper.Width, d->Paper.Height);
    none.BarcodeImpossible = true;
    ASSERT_TRUE(d->ChangeLabelPaper(none, {}));
    EXPECT_FALSE(barcode->Visible());
    EXPECT_EQ(d->StackingIndex(barcode), -1);
}

// Changing only a free text is one undoable action; ticking an item already placed with the same kind records
// nothing; unticking the focused item leaves nothing focused; the last placed item is focused.
TEST_F(LabelSettingsTest, AdditionalItemsAndTheirUndo)
{
    auto d = New();
    TLayoutEditor editor(*d);
    const auto& items = d->Additions(false);
    std::array<TAdditionChoice, 4> chosen{};
    chosen[0] = {true, AdditionFixedText, QStringLiteral("配送")};
    chosen[1] = {true, AdditionCode::Tel, {}};
    ASSERT_TRUE(editor.SetAdditions(chosen, false, 0));
    EXPECT_EQ(d->Selection, (std::vector<TDrawRect*>{items[0], items[1]}));
    EXPECT_EQ(d->FocusIndex, 1);
    EXPECT_EQ(d->Stacking.front(), items[1]);
    EXPECT_EQ(d->Undo.Count(), 1);

    EXPECT_FALSE(editor.SetAdditions(chosen, false, 0));
    EXPECT_EQ(d->Undo.Count(), 1);

    chosen[0].Text = QStringLiteral("至急");
    ASSERT_TRUE(editor.SetAdditions(chosen, false, 0));
    EXPECT_EQ(items[0]->Text(), QStringLiteral("至急"));
    EXPECT_EQ(d->Undo.Count(), 2);
    ASSERT_TRUE(editor.UndoRedo(false));
    EXPECT_EQ(items[0]->Text(), QStringLiteral("配送"));
    EXPECT_GE(d->StackingIndex(items[0]), 0);

    d->Selection = {items[0], items[1]};
    d->FocusIndex = 1;
    chosen[0].Text = QStringLiteral("配送");
    chosen[1].Checked = false;
    ASSERT_TRUE(editor.SetAdditions(chosen, false, 0));
    EXPECT_FALSE(items[1]->Visible());
    EXPECT_EQ(d->StackingIndex(items[1]), -1);
    EXPECT_EQ(d->Selection, std::vector<TDrawRect*>{items[0]});
    EXPECT_EQ(d->FocusIndex, -1);
    ASSERT_TRUE(editor.UndoRedo(false));
    EXPECT_TRUE(items[1]->Visible());
    EXPECT_GE(d->StackingIndex(items[1]), 0);
}

TEST_F(LabelSettingsTest, BarcodeOfTheSetInUse)
{
    auto d = New();
    d->SetIndividualLayout(true);
    TLayoutEditor editor(*d);
    TBarcodeRect* barcode = d->Detailed().Barcode;
    ASSERT_TRUE(editor.SetAdditions({}, true, 2));
    EXPECT_TRUE(barcode->Visible());
    EXPECT_EQ(barcode->SizeIndex(), 2);
    EXPECT_EQ(d->Stacking.front(), barcode);
    EXPECT_FALSE(d->Simple().Barcode->Visible());
    ASSERT_TRUE(editor.UndoRedo(false));
    EXPECT_FALSE(barcode->Visible());
    EXPECT_EQ(d->StackingIndex(barcode), -1);

    // A card has no barcode: only the items count.
    auto card = New(LabelModeCard, 2);
    EXPECT_FALSE(TLayoutEditor(*card).SetAdditions({}, true, 2));
}

// The combined set takes sizes and ratios and places nothing; the individual set's title box unplaces the
// title; the sender's sizes and alignment are not taken.
TEST_F(LabelSettingsTest, DetailsOnEachSet)
{
    auto d = New();
    TLayoutSettings detail = d->Settings;
    detail.SetInt(NameLevel, 7);
    detail.SetInt(CompanyRatio, 2);
    detail.SetInt(SenderNameLevel, 9);
    detail.SetByte(SenderNameAlign, 2);
    const quint8 senderAlign = d->Settings.Byte(SenderNameAlign);
    const int senderLevel = d->Settings.Int(SenderNameLevel);
    TLayoutDocument::TDetailShown shown = d->DetailShown();
    shown[7] = !shown[7];
    const std::vector<TDrawRect*> stacking = d->Stacking;
    EXPECT_FALSE(d->ApplyDetails(detail, false, shown));
    EXPECT_EQ(d->Stacking, stacking);
    EXPECT_EQ(d->Settings.Int(NameLevel), 7);
    EXPECT_EQ(d->Simple().Name->Level(), 7);
    EXPECT_EQ(d->Settings.Int(CompanyRatio), 2);
    EXPECT_EQ(d->Settings.Int(SenderNameLevel), senderLevel);
    EXPECT_EQ(d->Settings.Byte(SenderNameAlign), senderAlign);

    d->SetIndividualLayout(true);
    TCorpRect* title = d->Detailed().Corp[2];
    title->SetVisible(true);
    if (d->StackingIndex(title) < 0)
        d->InsertIntoStacking(title, false);
    d->Selection = {d->Detailed().Name, title};
    d->FocusIndex = 1;
    shown = d->DetailShown();
    ASSERT_TRUE(shown[7]);
    shown[7] = false;
    EXPECT_TRUE(d->ApplyDetails(d->Settings, true, shown));
    EXPECT_FALSE(title->Visible());
    EXPECT_EQ(d->StackingIndex(title), -1);
    EXPECT_FALSE(Contains(d->Selection, title));
    EXPECT_EQ(d->FocusIndex, -1);
}

TEST_F(LabelSettingsTest, DataFormKeepsTheSenderPostalMark)
{
    auto d = New();
    TLayoutSettings form = d->Settings;
    form.SetByte(VerticalDigits, 1);
    form.SetInt(RecipientPostalMark, 0);
    form.SetInt(SenderPostalMark, d->Settings.Int(SenderPostalMark) + 1);
    form.SetHonorific(DefaultHonorific, QStringLiteral("御中"));
    const int senderMark = d->Settings.Int(SenderPostalMark);
    d->ApplyDataForm(form);
    EXPECT_EQ(d->Settings.Int(RecipientPostalMark), 0);
    EXPECT_EQ(d->Settings.Int(SenderPostalMark), senderMark);
    EXPECT_EQ(d->Settings.Honorific(DefaultHonorific), QStringLiteral("御中"));
    EXPECT_TRUE(d->Simple().Address->VerticalDigits());
    EXPECT_TRUE(d->Detailed().Address[2]->VerticalDigits());
    EXPECT_TRUE(d->Modified);
}

} // namespace
