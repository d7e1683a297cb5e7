// The designers' editing commands on the address-side document: new frames' places, turning, spacing,
// stacking, deletion rules, sender and barcode, fonts, picture sizes, the clipboard, illustrations from
// files, and undo and redo giving back the saved bytes.
#include "core/MainSettings.h"
#include "designers/FrameClipboard.h"
#include "designers/LayoutCommands.h"
#include "layoutobjects/FigureRect.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/WordRect.h"
#include "platform/Printers.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

namespace {

class LayoutCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_saved = {ProgramFolder, DataRootFolder, DataFolder};
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = DataFolder = m_dir.path() + u'/';
        TPrinterList::Instance().SetPrinters({});
        FrameClipboard().reset();
        d = std::make_unique<TLayoutDocument>();
        d->PaperIndex = 0;
        ASSERT_TRUE(d->LoadPaperFormat());
        d->FitPaperBarcode();
        d->SetIndividualLayout(false, true);
        d->NewLayout();
        d->Modified = false;
    }
    void TearDown() override
    {
        FrameClipboard().reset();
        ProgramFolder = m_saved[0];
        DataRootFolder = m_saved[1];
        DataFolder = m_saved[2];
    }
    TLayoutEditor Editor() { return TLayoutEditor(*d); }
    QByteArray Bytes() const { return d->EncodeLayoutFile(QByteArray()); }
    TWordRect* Text(const TRect& r, bool horizontal = true)
    {
        TWordRect* text = Editor().AddText({QStringLiteral("本文")}, horizontal ? 1 : 0);
        text->SetDesignRect(r);
        return text;
    }
    TFigureRect* Figure(const TRect& r)
    {
        TFigureRect* figure = Editor().AddFigure(TFigureRect());
        figure->SetDesignRect(r);
        return figure;
    }
    // A BMP of a size at a dpi.
    QString Picture(const QString& name, QSize size, int dpi, QColor colour = Qt::red)
    {
        QImage image(size, QImage::Format_RGB888);
        image.fill(colour);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }
    void Select(std::vector<TDrawRect*> frames, int focus = 0)
    {
        d->Selection = std::move(frames);
        d->FocusIndex = focus;
    }
    std::vector<TRect> Rects(const std::vector<TDrawRect*>& frames) const
    {
        std::vector<TRect> rects;
        for (const TDrawRect* f : frames)
            rects.push_back(f->GetDesignRect());
        return rects;
    }

    QTemporaryDir m_dir;
    QStringList m_saved;
    std::unique_ptr<TLayoutDocument> d;
};

TEST(LayoutCommandRules, NewFrameRectangles)
{
    struct Case
    {
        TRect start;
        QSize paper;
        TRect expected;
    } cases[] = {
        {{50, 50, 300, 200}, {600, 400}, {50, 50, 300, 200}},
        {{50, 50, 300, 200}, {200, 100}, {33, 0, 200, 100}},
        {{50, 50, 200, 300}, {200, 100}, {20, 0, 80, 100}},
        {{50, 50, 300, 300}, {280, 600}, {30, 50, 280, 300}},
        {{50, 50, 300, 300}, {200, 600}, {0, 40, 200, 240}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NewFrameRect(c.start, c.paper), c.expected) << c.paper.width() << "x" << c.paper.height();
}

TEST(LayoutCommandRules, PictureSizes)
{
    struct Case
    {
        QSize pixels;
        int dpi;
        TRect area;
        QSize expected;
    } cases[] = {
        {{600, 900}, 300, {0, 0, 378, 559}, {192, 288}},
        {{600, 900}, 300, {0, 0, 378, 150}, {100, 150}},
        // 960 x 480 at 72 dpi, reduced to the width within the paper.
        {{720, 360}, 72, {-5, 0, 400, 559}, {378, 189}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PictureDesignSize(c.pixels, c.dpi, c.area, {378, 559}), c.expected);
}

TEST_F(LayoutCommandsTest, NewTextOnThePaperTakesThePrototypeAndFollowsItsDirection)
{
    d->Context.Prototypes->Text->SetHorizontal(true);
    TWordRect* text = Editor().AddText({QStringLiteral("一"), QStringLiteral("二")}, 0);
    EXPECT_EQ(text->GetDesignRect(), (TRect{50, 50, 200, 300}));
    EXPECT_FALSE(text->Horizontal());
    EXPECT_FALSE(d->Context.Prototypes->Text->Horizontal());
    EXPECT_TRUE(d->Context.Prototypes->Changed);
    EXPECT_EQ(d->Stacking.front(), text);
    EXPECT_EQ(d->Selection, std::vector<TDrawRect*>{text});
    EXPECT_EQ(d->Undo.Count(), 1);
    EXPECT_EQ(d->Undo.GetEntry(0)->UndoActionKind(), UndoAdd);
    EXPECT_TRUE(d->Modified);
}

TEST_F(LayoutCommandsTest, DirectionChangeTurnsTheSelectedTexts)
{
    TWordRect* text = Text({10, 20, 110, 60});
    TWordRect* other = Text({-200, 0, -150, 30});
    TWordRect* same = Text({0, 0, 50, 200}, false);
    Select({text, other, same});
    ASSERT_TRUE(Editor().EditText({QStringLiteral("新しい")}, 0));
    EXPECT_EQ(text->GetDesignRect(), (TRect{10, 20, 50, 120}));
    EXPECT_EQ(text->GetLine(0), QStringLiteral("新しい"));
    // Turned off the left edge: pulled back to 0.
    EXPECT_EQ(other->GetDesignRect(), (TRect{0, 0, 30, 50}));
    EXPECT_EQ(same->GetDesignRect(), (TRect{0, 0, 50, 200}));
    EXPECT_EQ(d->Undo.GetEntry(0)->Count(), 2);
}

TEST_F(LayoutCommandsTest, EqualSpacing)
{
    struct Case
    {
        TEqualSpacing how;
        std::vector<int> widths;
        int firstLeft, lastRight;
        std::vector<int> lefts;
    } cases[] = {
        {TEqualSpacing::PaperH, {100, 100, 100}, 0, 0, {50, 200, 350}},
        {TEqualSpacing::PaperH, {200, 200, 200}, 0, 0, {0, 150, 300}},
        {TEqualSpacing::EndsH, {100, 50, 100}, 0, 401, {0, 175, 300}},
    };
    for (const Case& c : cases) {
        SetUp();
        d->DesignSize = {500, 559};
        std::vector<TDrawRect*> frames;
        // Selected in reverse order: sorting goes by position.
        for (int i = 2; i >= 0; --i) {
            const int left = i == 0                  ? c.firstLeft
                             : i == 2 && c.lastRight ? c.lastRight - c.widths[2]
                                                     : 10 * i;
            frames.push_back(Figure({left, 10, left + c.widths[size_t(i)], 60}));
        }
        Select(frames);
        ASSERT_TRUE(Editor().EqualSpacing(c.how));
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(frames[size_t(2 - i)]->GetDesignRect().left, c.lefts[size_t(i)]) << i;
        EXPECT_EQ(d->Undo.GetEntry(0)->UndoActionKind(), UndoMove);
        TearDown();
    }
}

TEST_F(LayoutCommandsTest, StackingOneStepUp)
{
    std::vector<TDrawRect*> before = d->Stacking;
    ASSERT_GE(before.size(), 4u);
    Select({before[2], before[3]});
    ASSERT_TRUE(Editor().ZOrder(TZOrderMove::Up));
    EXPECT_EQ(d->Stacking[1], before[2]);
    EXPECT_EQ(d->Stacking[2], before[3]);
    EXPECT_EQ(d->Stacking[3], before[1]);
    ASSERT_TRUE(Editor().UndoRedo(false));
    EXPECT_EQ(d->Stacking, before);
    // The top entry selected: nothing moves, nothing is recorded, yet the document is modified.
    d->Modified = false;
    Select({before[0]});
    EXPECT_FALSE(Editor().ZOrder(TZOrderMove::Up));
    EXPECT_FALSE(Editor().ZOrder(TZOrderMove::Top));
    EXPECT_TRUE(d->Modified);
    EXPECT_EQ(d->Undo.Count(), 1);
}

TEST_F(LayoutCommandsTest, DeleteRulesOfTheSimpleSet)
{
    TWordRect* text = Text({0, 0, 50, 50});
    d->Zoom = 1;
    TLayoutEditor editor(*d);
    TUndoDatas scratch(UndoAdd);
    ASSERT_TRUE(editor.AddIllustration(Picture("a.bmp", {20, 20}, 96), {5, 5}, true, scratch));
    TDrawRect* illust = d->FreeFrames(FreeIllustration)[0].get();
    TDrawRect* address = d->Simple().Address;
    Select({text, illust, address}, 2);
    ASSERT_TRUE(editor.DeleteSelection());
    EXPECT_EQ(d->Selection, std::vector<TDrawRect*>{address});
    EXPECT_EQ(d->FocusIndex, 0);
    EXPECT_TRUE(d->FreeFrames(FreeText).empty());
    EXPECT_TRUE(d->FreeFrames(FreeIllustration).empty());
    EXPECT_GE(d->StackingIndex(address), 0);

    // The barcode of the simple set is hidden, not removed; undo shows it again.
    TBarcodeRect* barcode = d->Simple().Barcode;
    ASSERT_TRUE(editor.SetBarcode(true, barcode->SizeIndex()));
    const int placed = d->StackingIndex(barcode);
    Select({barcode});
    ASSERT_TRUE(editor.DeleteSelection());
    EXPECT_FALSE(barcode->Visible());
    EXPECT_LT(d->StackingIndex(barcode), 0);
    EXPECT_EQ(d->CurrentSet()[3], barcode);
    ASSERT_TRUE(editor.UndoRedo(false));
    EXPECT_TRUE(barcode->Visible());
    EXPECT_EQ(d->StackingIndex(barcode), placed);
    EXPECT_EQ(d->Selection, std::vector<TDrawRect*>{barcode});
    // A lone fixed frame of the simple set is not deleted: nothing is recorded.
    const int count = d->Undo.Count();
    Select({address});
    EXPECT_FALSE(editor.DeleteSelection());
    EXPECT_EQ(d->Undo.Count(), count);
}

TEST_F(LayoutCommandsTest, UndoAndRedoOfDeletingFreeFramesAndADetailedFixedFrame)
{
    d->SetIndividualLayout(true);
    TWordRect* text = Text({0, 0, 50, 50});
    TFigureRect* figure = Figure({60, 60, 90, 90});
    TDrawRect* corp = d->Detailed().Corp[0];
    ASSERT_GE(d->StackingIndex(corp), 0);
    const std::vector<TDrawRect*> stacking = d->Stacking;
    const QByteArray before = Bytes();
    Select({figure, corp, text}, 1);
    TLayoutEditor editor(*d);
    ASSERT_TRUE(editor.DeleteSelection());
    EXPECT_EQ(d->Stacking.size(), stacking.size() - 3);
    EXPECT_FALSE(corp->Visible());

    quint8 kind = 9;
    ASSERT_TRUE(editor.UndoRedo(false, &kind));
    EXPECT_EQ(kind, UndoDelete);
    EXPECT_EQ(Bytes(), before);
    EXPECT_TRUE(corp->Visible());
    ASSERT_EQ(d->Stacking.size(), stacking.size());
    EXPECT_EQ(d->Stacking[size_t(std::find(stacking.begin(), stacking.end(), corp) - stacking.begin())],
              corp);
    ASSERT_EQ(d->Selection.size(), 3u);
    EXPECT_EQ(d->Selection[1], corp);
    EXPECT_EQ(d->FocusIndex, 1);

    ASSERT_TRUE(editor.UndoRedo(true));
    EXPECT_EQ(d->Stacking.size(), stacking.size() - 3);
    EXPECT_FALSE(corp->Visible());
    EXPECT_TRUE(d->FreeFrames(FreeText).empty());
    ASSERT_TRUE(editor.UndoRedo(false));
    EXPECT_EQ(Bytes(), before);
}

TEST_F(LayoutCommandsTest, HidingTheSenderAndUndoing)
{
    const TSimpleSet& s = d->Simple();
    TLayoutEditor editor(*d);
    const QByteArray before = Bytes();
    editor.ShowSender(false);
    EXPECT_EQ(d->SenderDisplayMode, 1);
    EXPECT_LT(d->StackingIndex(s.SenderName), 0);
    EXPECT_EQ(d->Undo.GetEntry(0)->UndoActionKind(), UndoDelete);
    ASSERT_TRUE(editor.UndoRedo(false));
    EXPECT_EQ(d->SenderDisplayMode, 0);
    EXPECT_TRUE(editor.Remerged());
    EXPECT_GE(d->StackingIndex(s.SenderName), 0);
    EXPECT_EQ(Bytes(), before);

    // Showing while every sender frame is placed: an empty action is pushed all the same.
    editor.ShowSender(true);
    EXPECT_EQ(d->Undo.Position(), -1);
    EXPECT_EQ(d->Undo.GetEntry(0)->Count(), 0);
    EXPECT_EQ(d->Undo.GetEntry(0)->UndoActionKind(), UndoAdd);
    ASSERT_TRUE(editor.UndoRedo(false));
    EXPECT_EQ(Bytes(), before);
}

TEST_F(LayoutCommandsTest, RemergeOnUndoOnlyForAdditionalItemsAndBarcodes)
{
    d->SetIndividualLayout(true);
    TLayoutEditor editor(*d);
    struct Case
    {
        TDrawRect* frame;
        bool remerge;
    } cases[] = {
        {d->Detailed().Contacts[0], true}, {d->Detailed().Name, false}, {d->Detailed().Postal, false}};
    for (const Case& c : cases) {
        Select({c.frame});
        TFontSpec font;
        font.name = QStringLiteral("ＭＳ 明朝");
        ASSERT_TRUE(editor.ApplyFont(font, 0, false) || c.frame->GetKind() == KindAddition)
            << int(c.frame->GetKind());
        if (d->Undo.Count() == 0)
            continue;
        ASSERT_TRUE(editor.UndoRedo(false));
        EXPECT_EQ(editor.Remerged(), c.remerge) << int(c.frame->GetKind());
    }
    ASSERT_TRUE(editor.SetBarcode(!d->Detailed().Barcode->Visible(), d->Detailed().Barcode->SizeIndex()));
    ASSERT_TRUE(editor.UndoRedo(false));
    EXPECT_TRUE(editor.Remerged());
}

TEST_F(LayoutCommandsTest, FontForAllFrames)
{
    TWordRect* selectedText = Text({0, 0, 50, 50});
    TWordRect* otherText = Text({60, 0, 110, 50});
    TFontSpec font;
    font.name = QStringLiteral("ＭＳ 明朝");
    font.style = 1;
    Select({d->Simple().Name, selectedText}, 0);
    ASSERT_TRUE(Editor().ApplyFont(font, 0x0000ff, true));
    for (TDrawRect* frame : d->CurrentSet())
        if (auto* meta = dynamic_cast<TMetaRect*>(frame)) {
            EXPECT_EQ(meta->Font().name, font.name) << int(frame->GetKind());
            EXPECT_EQ(meta->FontColor(), 0x0000ffu);
        }
    EXPECT_EQ(otherText->Font().name, font.name);
    EXPECT_EQ(selectedText->Font().style, 1);

    // Without "all": only the selected ones.
    TFontSpec gothic;
    gothic.name = QStringLiteral("ＭＳ ゴシック");
    Select({d->Simple().Address, selectedText}, 0);
    ASSERT_TRUE(Editor().ApplyFont(gothic, 0, false));
    EXPECT_EQ(selectedText->Font().name, gothic.name);
    EXPECT_EQ(otherText->Font().name, font.name);
    EXPECT_EQ(d->Simple().Name->Font().name, font.name);
}

TEST_F(LayoutCommandsTest, PictureSizeIsRestoredAndReduced)
{
    TLayoutEditor editor(*d);
    TUndoDatas scratch(UndoAdd);
    ASSERT_TRUE(editor.AddIllustration(Picture("wide.bmp", {720, 360}, 72), {-20, 30}, true, scratch));
    auto* illust = static_cast<TIllustRect*>(d->FreeFrames(FreeIllustration)[0].get());
    illust->SetDesignRect({-20, 30, 10, 40});
    Select({illust});
    ASSERT_TRUE(editor.RestorePictureSize());
    const QSize paper = d->DesignSize;
    const TRect r = illust->GetDesignRect();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.Width(), paper.width());
    EXPECT_EQ(r.Height(), qRound(480.0 * paper.width() / 960));
    ASSERT_TRUE(editor.UndoRedo(false));
    EXPECT_EQ(illust->GetDesignRect(), (TRect{-20, 30, 10, 40}));
}

TEST_F(LayoutCommandsTest, PastingTwiceGivesTwoGroupsAtTheCorner)
{
    TWordRect* text = Text({100, 120, 200, 160});
    TFigureRect* figure = Figure({150, 100, 180, 130});
    Select({text, figure, d->Simple().Name});
    TLayoutEditor editor(*d);
    editor.Copy();
    ASSERT_TRUE(FrameClipboard().has_value());
    for (int round = 1; round <= 2; ++round) {
        ASSERT_TRUE(editor.Paste());
        ASSERT_EQ(d->Selection.size(), 2u) << "the fixed frame is not copied";
        EXPECT_EQ(Rects(d->Selection), (std::vector<TRect>{{0, 20, 100, 60}, {50, 0, 80, 30}}));
        EXPECT_EQ(d->Stacking.front(), d->Selection.back());
        EXPECT_EQ(d->FocusIndex, 0);
    }
    EXPECT_EQ(d->FreeFrames(FreeText).size(), 3u);
    EXPECT_EQ(d->FreeFrames(FreeFigure).size(), 3u);
    EXPECT_EQ(d->FreeFrames(FreeText)[2]->GetKind(), KindWord);
    EXPECT_EQ(static_cast<TWordRect*>(d->FreeFrames(FreeText)[2].get())->GetLine(0), QStringLiteral("本文"));
    ASSERT_TRUE(editor.UndoRedo(false));
    ASSERT_TRUE(editor.UndoRedo(false));
    EXPECT_EQ(d->FreeFrames(FreeText).size(), 1u);
}

TEST_F(LayoutCommandsTest, ClipboardReadingStopsAtDamage)
{
    TWordRect* text = Text({0, 0, 40, 40});
    CopyFramesToClipboard({text, text});
    QByteArray bytes = *FrameClipboard();
    EXPECT_EQ(quint8(bytes[0]), KindWord);
    EXPECT_EQ(ReadClipboardFrames(bytes).size(), 2u);
    EXPECT_EQ(ReadClipboardFrames(bytes.left(bytes.size() - 3)).size(), 1u);
    EXPECT_EQ(ReadClipboardFrames(QByteArray("\x05\x00", 2)).size(), 0u);
}

TEST_F(LayoutCommandsTest, IllustrationSizeFromThePicture)
{
    TLayoutEditor editor(*d);
    const QString picture = Picture("p.bmp", {600, 900}, 300);
    TUndoDatas action(UndoAdd);
    ASSERT_TRUE(editor.AddIllustration(picture, {3, 4}, true, action));
    EXPECT_EQ(d->FreeFrames(FreeIllustration)[0]->GetDesignRect(), (TRect{3, 4, 195, 292}));
    EXPECT_EQ(static_cast<TIllustRect*>(d->FreeFrames(FreeIllustration)[0].get())->Resolution(), 300);
    d->PrintArea = {0, 0, d->DesignSize.width(), 150};
    ASSERT_TRUE(editor.AddIllustration(picture, {0, 0}, true, action));
    EXPECT_EQ(d->FreeFrames(FreeIllustration)[1]->GetDesignRect(), (TRect{0, 0, 100, 150}));
    EXPECT_EQ(action.Count(), 2);
}

TEST_F(LayoutCommandsTest, DropsCascadeAndNonPicturesAddNothing)
{
    d->Zoom = 2.0;
    TLayoutEditor editor(*d);
    const QStringList pictures = {Picture("1.bmp", {96, 96}, 96), Picture("2.bmp", {96, 96}, 96),
                                  Picture("3.bmp", {96, 96}, 96)};
    ASSERT_TRUE(editor.DropFiles(pictures, {41, 60}));
    const auto& list = d->FreeFrames(FreeIllustration);
    ASSERT_EQ(list.size(), 3u);
    for (int b = 0; b < 3; ++b)
        EXPECT_EQ(list[size_t(b)]->GetDesignRect(),
                  (TRect{21 + 10 * b, 30 + 10 * b, 117 + 10 * b, 126 + 10 * b}));
    EXPECT_EQ(d->Selection.size(), 3u);
    EXPECT_EQ(d->FocusIndex, 2);
    EXPECT_EQ(d->Undo.Count(), 1);
    ASSERT_TRUE(editor.UndoRedo(false));
    EXPECT_TRUE(list.empty());

    // A text file, a name that is not a picture, a missing file: nothing added, nothing recorded.
    const QString textFile = m_dir.filePath(QStringLiteral("note.txt"));
    WriteFileBytes(textFile, "text");
    const QString fakeBmp = m_dir.filePath(QStringLiteral("fake.bmp"));
    WriteFileBytes(fakeBmp, "not a bitmap");
    Select({d->Simple().Name});
    d->Modified = false;
    EXPECT_FALSE(editor.DropFiles({textFile, fakeBmp, m_dir.filePath(QStringLiteral("gone.bmp"))}, {0, 0}));
    EXPECT_EQ(d->Undo.Count(), 1);
    EXPECT_EQ(d->Undo.Position(), 0);
    EXPECT_EQ(d->Selection, std::vector<TDrawRect*>{d->Simple().Name});
    EXPECT_FALSE(d->Modified);
}

TEST_F(LayoutCommandsTest, PickedImageReplacesTheFocusedPictureAndUndoBringsItBack)
{
    TLayoutEditor editor(*d);
    d->PrintArea = {-4, 7, 300, 500};
    ASSERT_TRUE(editor.TakePickedImage(Picture("red.bmp", {50, 40}, 96, Qt::red)));
    ASSERT_EQ(d->FreeFrames(FreeIllustration).size(), 1u);
    auto* illust = static_cast<TIllustRect*>(d->FreeFrames(FreeIllustration)[0].get());
    EXPECT_EQ(illust->GetDesignRect(), (TRect{0, 7, 50, 47}));
    EXPECT_EQ(d->Selection, std::vector<TDrawRect*>{illust});
    illust->SetDesignRect({30, 40, 130, 120});
    const QByteArray before = Bytes();

    ASSERT_TRUE(editor.TakePickedImage(Picture("blue.bmp", {20, 10}, 96, Qt::blue)));
    EXPECT_EQ(d->FreeFrames(FreeIllustration).size(), 1u);
    EXPECT_EQ(illust->GetDesignRect(), (TRect{30, 40, 130, 120}));
    EXPECT_EQ(QColor(illust->GetBitmap().pixel(0, 0)), QColor(Qt::blue));
    EXPECT_EQ(d->Undo.GetEntry(0)->UndoActionKind(), UndoChange);
    ASSERT_TRUE(editor.UndoRedo(false));
    illust = static_cast<TIllustRect*>(d->Stacking.front());
    EXPECT_EQ(QColor(illust->GetBitmap().pixel(0, 0)), QColor(Qt::red));
    EXPECT_EQ(Bytes(), before);

    // A missing file adds and records nothing.
    const int count = d->Undo.Count();
    EXPECT_FALSE(editor.TakePickedImage(m_dir.filePath(QStringLiteral("missing.jpg"))));
    EXPECT_EQ(d->Undo.Count(), count);
}

TEST_F(LayoutCommandsTest, DataFormTakesTheFormatPartWithoutUndo)
{
    using namespace LayoutSettingsField;
    TLayoutSettings chosen = d->Settings;
    chosen.SetByte(VerticalDigits, 1);
    chosen.SetHonorific(DefaultHonorific, QStringLiteral("様様様様様様"));
    chosen.SetInt(NameLevel, 5);
    d->ApplyDataForm(chosen);
    EXPECT_EQ(d->Settings.Honorific(DefaultHonorific), QStringLiteral("様様様様様"));
    EXPECT_EQ(d->Settings.Byte(DefaultHonorific), 10);
    EXPECT_TRUE(d->Simple().Address->VerticalDigits());
    EXPECT_NE(d->Settings.Int(NameLevel), 5) << "the detail part is not the format's";
    EXPECT_EQ(d->Undo.Count(), 0);
    EXPECT_TRUE(d->Modified);
}

// Every command followed by undo gives back the saved bytes; redo gives the changed bytes again.
TEST_F(LayoutCommandsTest, AnyActionThenUndoGivesTheSameFile)
{
    using TCommand = std::function<bool(TLayoutEditor&, TLayoutDocument&)>;
    const std::vector<std::pair<const char*, TCommand>> commands = {
        {"add text",
         [](TLayoutEditor& e, TLayoutDocument&) { return e.AddText({QStringLiteral("a")}, 1) != nullptr; }},
        {"edit text",
         [](TLayoutEditor& e, TLayoutDocument&) { return e.EditText({QStringLiteral("b")}, 0); }},
        {"add figure",
         [](TLayoutEditor& e, TLayoutDocument&) { return e.AddFigure(TFigureRect()) != nullptr; }},
        {"change figure",
         [](TLayoutEditor& e, TLayoutDocument& d) {
             d.Selection = {d.FreeFrames(FreeFigure)[0].get()};
             TFigureRect chosen;
             chosen.SetLineWidth(7);
             return e.ChangeFigure(chosen);
         }},
        {"word display",
         [](TLayoutEditor& e, TLayoutDocument& d) {
             d.Selection = {d.FreeFrames(FreeText)[0].get(), d.Simple().Name};
             TWordRect chosen;
             chosen.SetAlignment(2);
             return e.SetWordDisplay(chosen);
         }},
        {"font", [](TLayoutEditor& e, TLayoutDocument&) { return e.ApplyFont(TFontSpec(), 0xff, true); }},
        {"delete", [](TLayoutEditor& e, TLayoutDocument&) { return e.DeleteSelection(); }},
        {"hide sender",
         [](TLayoutEditor& e, TLayoutDocument&) {
             e.ShowSender(false);
             return true;
         }},
        {"barcode", [](TLayoutEditor& e, TLayoutDocument&) { return e.SetBarcode(true, 1); }},
        {"centre", [](TLayoutEditor& e, TLayoutDocument&) { return e.CentreOnPaper(TPaperCentre::Both); }},
        {"spacing", [](TLayoutEditor& e, TLayoutDocument&) { return e.EqualSpacing(TEqualSpacing::PaperV); }},
        {"align", [](TLayoutEditor& e, TLayoutDocument&) { return e.Align(TFrameAlign::Size); }},
        {"bottom", [](TLayoutEditor& e, TLayoutDocument&) { return e.ZOrder(TZOrderMove::Bottom); }},
        {"preset",
         [](TLayoutEditor& e, TLayoutDocument&) {
             e.DefaultLayout();
             return true;
         }},
        {"paste",
         [](TLayoutEditor& e, TLayoutDocument&) {
             e.Copy();
             return e.Paste();
         }},
    };
    for (const auto& [name, command] : commands) {
        SetUp();
        TLayoutEditor editor(*d);
        editor.AddText({QStringLiteral("本文")}, 1)->SetDesignRect({10, 300, 90, 340});
        editor.AddFigure(TFigureRect())->SetDesignRect({200, 20, 260, 80});
        d->Simple().Address->SetDesignRect({5, 5, 100, 100});
        d->Selection = {d->FreeFrames(FreeText)[0].get(), d->Simple().Address,
                        d->FreeFrames(FreeFigure)[0].get()};
        d->FocusIndex = 0;
        const QByteArray before = Bytes();
        ASSERT_TRUE(command(editor, *d)) << name;
        const QByteArray after = Bytes();
        EXPECT_NE(after, before) << name;
        ASSERT_TRUE(editor.UndoRedo(false)) << name;
        EXPECT_EQ(Bytes(), before) << name;
        ASSERT_TRUE(editor.UndoRedo(true)) << name;
        EXPECT_EQ(Bytes(), after) << name;
        TearDown();
    }
}

} // namespace
