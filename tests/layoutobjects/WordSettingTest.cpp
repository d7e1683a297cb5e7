// Text display settings dialog: the remembered page, the preview fit, the ratio edit, the direction switch,
// an uninstalled face, the colour defaults after OK, and the custom colours of the font colour button.
#include "layoutobjects/WordSetting.h"

#include "core/CstmClr.h"
#include "core/PaintPanel.h"
#include "layoutobjects/SettingDialogSub.h"
#include "support/ModalDriver.h"
#include "support/SettingDialogFixture.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace {

class WordSetting : public SettingDialogTest
{
protected:
    static TWordRect frame(int w, int h)
    {
        TWordRect word;
        word.SetDesignRect({10, 20, 10 + w, 20 + h});
        word.SetLineCount(1);
        word.SetLine(0, QStringLiteral("謹賀新年"));
        return word;
    }
    TScopedPrinter m_printer{600};
};

TEST_F(WordSetting, RememberedPage)
{
    const struct
    {
        int stored;
        int page;
    } cases[] = {{5, 0}, {-1, 0}, {1, 1}, {2, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        writeDesign("WordSet", c.stored);
        {
            TWordSettingDialog dialog;
            EXPECT_EQ(child<QTabWidget>(dialog, "pgcSetting")->currentIndex(), c.page);
            child<QTabWidget>(dialog, "pgcSetting")->setCurrentIndex(1);
        }
        EXPECT_EQ(readDesign("WordSet"), 1);
    }
}

TEST_F(WordSetting, PreviewFit)
{
    TWordRect word = frame(400, 100);
    ASSERT_TRUE(FitToPreview(word, {200, 200}));
    EXPECT_DOUBLE_EQ(word.Zoom(), 0.45);
    EXPECT_EQ(word.GetDesignRect(), (TRect{22, 172, 422, 272}));
    // Without a width nothing changes.
    TWordRect flat = frame(0, 100);
    EXPECT_FALSE(FitToPreview(flat, {200, 200}));
    EXPECT_EQ(flat.GetDesignRect(), (TRect{10, 20, 10, 120}));
    EXPECT_DOUBLE_EQ(flat.Zoom(), 1.0);
}

TEST_F(WordSetting, RatioEditKeepsItsRange)
{
    TWordRect word = frame(200, 100);
    word.SetAspectRatio(120);
    TWordSettingDialog dialog;
    dialog.SetWord(word);
    auto* edit = child<TUpDownEdit>(dialog, "edVHRatio");
    EXPECT_EQ(edit->Value(), 120);
    const struct
    {
        const char* typed;
        const char* shown;
        int ratio;
    } cases[] = {
        {"500", "300", 300}, {"abc", "300", 300}, {"-5", "300", 300}, {"10", "20", 20}, {"150", "150", 150}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(leave(edit, c.typed), c.shown);
        EXPECT_EQ(dialog.WordRect().AspectRatio(), c.ratio);
    }
}

TEST_F(WordSetting, DirectionSwitchTransposesAndRestores)
{
    TWordSettingDialog dialog;
    dialog.SetWord(frame(300, 100));
    const TRect before = dialog.WordRect().GetDesignRect();
    auto* horizontal = child<QRadioButton>(dialog, "rbHorizontal");
    auto* vertical = child<QRadioButton>(dialog, "rbVertical");
    EXPECT_TRUE(vertical->isChecked());
    EXPECT_TRUE(blue(vertical));
    horizontal->click();
    EXPECT_TRUE(dialog.WordRect().Horizontal());
    EXPECT_EQ(dialog.WordRect().GetDesignRect(),
              (TRect{before.top, before.left, before.top + 100, before.left + 300}));
    EXPECT_TRUE(blue(horizontal));
    EXPECT_FALSE(blue(vertical));
    vertical->click();
    EXPECT_EQ(dialog.WordRect().GetDesignRect(), before);
}

TEST_F(WordSetting, UninstalledFaceAndStyle)
{
    TWordRect word = frame(200, 100);
    TFontSpec font = word.Font();
    font.name = QStringLiteral("@どこにもない書体");
    word.SetFont(font, 0x00FF00);
    TWordSettingDialog dialog;
    dialog.SetWord(word);
    dialog.show();
    auto* faces = child<QListWidget>(dialog, "lbFonts");
    ASSERT_GT(faces->count(), 0);
    EXPECT_EQ(faces->currentRow(), 0);
    EXPECT_EQ(dialog.WordRect().Font().name, QStringLiteral("どこにもない書体"));
    EXPECT_EQ(child<QLabel>(dialog, "lblCharset")->text(), QStringLiteral("日本語"));
    child<QCheckBox>(dialog, "ckbBold")->click();
    EXPECT_EQ(dialog.WordRect().Font().style, FontStyleBold);
    EXPECT_EQ(dialog.WordRect().FontColor(), 0x00FF00u);
    faces->setCurrentRow(faces->count() - 1);
    EXPECT_EQ(dialog.WordRect().Font().name, faces->item(faces->count() - 1)->text());
}

TEST_F(WordSetting, LineAndFillDefaultsReachTheFrame)
{
    TWordRect word = frame(200, 100);
    word.Frame().SetLineColor(0x123456);
    word.Frame().SetFillColor(0x654321);
    TWordSettingDialog dialog;
    dialog.SetWord(word);
    dialog.show();
    child<QPushButton>(dialog, "btnOK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const TRectFrame& result = dialog.WordRect().Frame();
    EXPECT_EQ(result.LineColor(), PureRed);
    EXPECT_EQ(result.FillColor(), LightRed);
    EXPECT_FALSE(result.FrameVisible());
    EXPECT_FALSE(result.FillVisible());
    // Lists stay disabled until the line is on.
    EXPECT_FALSE(child<QWidget>(dialog, "cbxLineCount")->isEnabled());
    child<QCheckBox>(dialog, "ckbFrame")->click();
    EXPECT_TRUE(dialog.WordRect().Frame().FrameVisible());
    EXPECT_TRUE(child<QWidget>(dialog, "cbxLineCount")->isEnabled());
}

TEST_F(WordSetting, FontColourWritesCustomColoursEvenOnCancel)
{
    TWordSettingDialog dialog;
    dialog.SetWord(frame(200, 100));
    dialog.show();
    const QString file = CustomColorsFileName();
    ModalDriver driver;
    driver.on("ColorDialog", [](QWidget* w) {
        QColorDialog::setCustomColor(3, QColor(0x11, 0x22, 0x33));
        static_cast<QDialog*>(w)->reject();
    });
    child<QPushButton>(dialog, "bbtnFontColor")->click();
    EXPECT_EQ(ReadCustomColors(file)[3], ColorToValue(QColor(0x11, 0x22, 0x33)));
    // The frame colour button neither reads nor writes the file.
    QFile::remove(file);
    driver.on("ColorDialog", [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    child<QTabWidget>(dialog, "pgcSetting")->setCurrentIndex(2);
    child<QCheckBox>(dialog, "ckbFrame")->click();
    child<QPushButton>(dialog, "bbtnFrameColor")->click();
    EXPECT_FALSE(QFile::exists(file));
}

} // namespace
