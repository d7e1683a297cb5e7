// Figure settings dialog: the remembered page, kinds and the line check box, the number edits, the colour
// defaults after OK, the preview outline and the sector buttons.
#include "layoutobjects/FigureSetting.h"

#include "core/PaintPanel.h"
#include "layoutobjects/SettingDialogSub.h"
#include "support/SettingDialogFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class FigureSetting : public SettingDialogTest
{
protected:
    static TFigureRect figure(quint8 kind)
    {
        TFigureRect f;
        f.SetDesignRect({0, 0, 250, 250});
        f.SetFigureKind(kind);
        return f;
    }
    TScopedPrinter m_printer{600};
};

TEST_F(FigureSetting, RememberedPage)
{
    const struct
    {
        int stored;
        int page;
    } cases[] = {{4, 0}, {-1, 0}, {1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        writeDesign("FigureSet", c.stored);
        TFigureSettingDialog dialog;
        EXPECT_EQ(child<QTabWidget>(dialog, "pgcSetting")->currentIndex(), c.page);
    }
    EXPECT_EQ(readDesign("FigureSet"), 1);
}

TEST_F(FigureSetting, LineKindAlwaysHasItsLine)
{
    TFigureRect f = figure(FigureEllipse);
    f.SetFrameVisible(false);
    TFigureSettingDialog dialog;
    dialog.SetFigure(f);
    dialog.show();
    auto* kind = child<QComboBox>(dialog, "cbxFigureKind");
    auto* frame = child<QCheckBox>(dialog, "ckbFrame");
    EXPECT_TRUE(frame->isEnabled());
    EXPECT_FALSE(frame->isChecked());
    kind->setCurrentIndex(FigureLines);
    EXPECT_TRUE(frame->isChecked());
    EXPECT_FALSE(frame->isEnabled());
    EXPECT_TRUE(dialog.FigureRect().FrameVisible());
    EXPECT_TRUE(child<QWidget>(dialog, "pnlLine")->isVisibleTo(&dialog));
    EXPECT_FALSE(child<QWidget>(dialog, "pnlRoundRect")->isVisibleTo(&dialog));
    EXPECT_FALSE(child<QWidget>(dialog, "pnlSector")->isVisibleTo(&dialog));
    kind->setCurrentIndex(FigureEllipse);
    EXPECT_TRUE(frame->isEnabled());
    EXPECT_TRUE(frame->isChecked());
    EXPECT_FALSE(child<QWidget>(dialog, "pnlLine")->isVisibleTo(&dialog));
    kind->setCurrentIndex(FigureRoundRect);
    EXPECT_TRUE(child<QWidget>(dialog, "pnlRoundRect")->isVisibleTo(&dialog));
    child<QComboBox>(dialog, "cbxDiameterV")->setCurrentIndex(2);
    EXPECT_EQ(dialog.FigureRect().GetCornerSize(1), 2);
    EXPECT_EQ(dialog.FigureRect().GetCornerSize(0), 0);

    // The direction boxes set and clear their bits.
    kind->setCurrentIndex(FigureLines);
    child<QCheckBox>(dialog, "ckbDiagonal_R")->click();
    EXPECT_EQ(dialog.FigureRect().LineDirections(), LineHorizontal | LineRising);
    child<QCheckBox>(dialog, "ckbHorizontal")->click();
    EXPECT_EQ(dialog.FigureRect().LineDirections(), LineRising);
}

TEST_F(FigureSetting, NumberEditsKeepTheirRanges)
{
    TFigureRect f = figure(FigureRectangle);
    f.SetLineWidth(5);
    f.SetGradient(true);
    f.SetFillVisible(true);
    f.SetGradientAngle(355);
    TFigureSettingDialog dialog;
    dialog.SetFigure(f);
    dialog.show();
    auto* width = child<TUpDownEdit>(dialog, "edLineWidth");
    auto* angle = child<TUpDownEdit>(dialog, "edAngle");
    QTest::keyClick(angle, Qt::Key_PageUp);
    EXPECT_EQ(angle->Value(), 359);
    EXPECT_EQ(dialog.FigureRect().GradientAngle(), 359);
    const struct
    {
        TUpDownEdit* edit;
        const char* typed;
        const char* shown;
    } cases[] = {{width, "80", "50"},   {width, "-3", "50"},  {width, "0", "1"},   {width, "7", "7"},
                 {angle, "400", "359"}, {angle, "-3", "359"}, {angle, "x", "359"}, {angle, "0", "0"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(leave(c.edit, c.typed), c.shown);
    }
    EXPECT_EQ(dialog.FigureRect().LineWidth(), 7);
    EXPECT_EQ(dialog.FigureRect().GradientAngle(), 0);
    QTest::keyClick(width, Qt::Key_PageDown);
    EXPECT_EQ(dialog.FigureRect().LineWidth(), 1);

    // The angle follows the gradient, the gradient the fill.
    child<QRadioButton>(dialog, "rbFilled")->click();
    EXPECT_FALSE(angle->isEnabled());
    child<QRadioButton>(dialog, "rbGradation")->click();
    EXPECT_TRUE(angle->isEnabled());
    child<QCheckBox>(dialog, "ckbBack")->click();
    EXPECT_FALSE(angle->isEnabled());
    EXPECT_FALSE(child<QRadioButton>(dialog, "rbFilled")->isEnabled());
}

TEST_F(FigureSetting, ColourDefaultsReachTheFigure)
{
    TFigureRect f = figure(FigureRectangle);
    f.SetFillVisible(false);
    f.SetGradient(false);
    f.SetFillColor(0);
    f.SetFillColor2(0);
    f.SetLineColor(0x123456);
    TFigureSettingDialog dialog;
    dialog.SetFigure(f);
    dialog.show();
    child<QPushButton>(dialog, "btnOK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.FigureRect().FillColor(), LightRed);
    EXPECT_EQ(dialog.FigureRect().FillColor2(), PureWhite);
    EXPECT_FALSE(dialog.FigureRect().FillVisible());
    EXPECT_EQ(dialog.FigureRect().LineColor(), 0x123456u);
    // A gradient keeps its black second colour.
    TFigureRect g = figure(FigureRectangle);
    g.SetGradient(true);
    g.SetFillColor2(0);
    TFigureSettingDialog gradient;
    gradient.SetFigure(g);
    EXPECT_EQ(gradient.FigureRect().FillColor2(), 0u);
}

TEST_F(FigureSetting, PreviewOutline)
{
    // The preview's corner pixel of the figure's screen rect is grey exactly where the outline is drawn.
    const struct
    {
        quint8 kind;
        bool line;
        bool outlined;
    } cases[] = {{FigureEllipse, true, true}, {FigureRectangle, true, false}, {FigureRectangle, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.kind));
        TFigureRect f = figure(c.kind);
        f.SetFrameVisible(c.line);
        f.SetLineColor(0xFF0000);
        f.SetFillVisible(false);
        TFigureSettingDialog dialog;
        dialog.SetFigure(f);
        dialog.show();
        auto* preview = child<TPaintPanel>(dialog, "pnlPreview");
        const QImage image = preview->grab().toImage();
        const TRect r = dialog.FigureRect().GetScreenRect();
        // A dotted line: one of four neighbouring pixels on the top edge is grey.
        bool grey = false;
        for (int x = r.left + 2; x < r.left + 6; ++x)
            grey = grey || image.pixelColor(x, r.top) == QColor(128, 128, 128);
        EXPECT_EQ(grey, c.outlined);
    }
}

TEST_F(FigureSetting, SectorButtons)
{
    TFigureRect f = figure(FigureSector);
    f.SetSectorDirection(2);
    TFigureSettingDialog dialog;
    dialog.SetFigure(f);
    dialog.show();
    auto* topRight = child<QRadioButton>(dialog, "rbTopRight");
    auto* topLeft = child<QRadioButton>(dialog, "rbTopLeft");
    EXPECT_TRUE(topRight->isChecked());
    EXPECT_TRUE(blue(topRight));
    topRight->click();
    EXPECT_EQ(dialog.FigureRect().SectorDirection(), 2);
    EXPECT_TRUE(blue(topRight));
    topLeft->click();
    EXPECT_EQ(dialog.FigureRect().SectorDirection(), 3);
    EXPECT_TRUE(blue(topLeft));
    EXPECT_FALSE(blue(topRight));
}

} // namespace
