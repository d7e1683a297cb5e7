// Font dialog of the designers: the sample made horizontal at 14 points, "@" faces, a face that is not
// installed, the styles, the apply-to-all box and the colour dialog's custom colours on Cancel.
#include "layoutobjects/LayoutFontDialog.h"

#include "core/CstmClr.h"
#include "core/PDFHelp.h"
#include "support/ModalDriver.h"
#include "support/SettingDialogFixture.h"
#include "support/XvfbShot.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class LayoutFont : public SettingDialogTest
{
};

TEST_F(LayoutFont, AtFaceOpensWithoutTheAt)
{
    TLayoutFontDialog dialog;
    auto* faces = child<QListWidget>(dialog, "lbFonts");
    ASSERT_GT(faces->count(), 1);
    TFontSpec font;
    font.name = u'@' + faces->item(1)->text();
    font.size = 30;
    font.escapement = 2700;
    font.style = FontStyleItalic;
    dialog.SetSampleFont(font, 0x0000FF);
    dialog.show();
    EXPECT_EQ(faces->currentRow(), 1);
    EXPECT_EQ(dialog.GetSampleFont().name, faces->item(1)->text());
    EXPECT_EQ(dialog.GetSampleFont().size, LayoutFontSampleSize);
    EXPECT_EQ(dialog.GetSampleFont().escapement, 0);
    EXPECT_TRUE(child<QCheckBox>(dialog, "ckbItalic")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(dialog, "ckbBold")->isChecked());
    EXPECT_EQ(dialog.GetSampleColor(), 0x0000FFu);
    EXPECT_EQ(child<QLabel>(dialog, "pnlSample")->text(), QStringLiteral("Tovarel"));
    EXPECT_EQ(child<QLabel>(dialog, "lblCharset")->text(), QStringLiteral("日本語"));
    EXPECT_EQ(HelpContextOf(&dialog), LayoutFontHelp);
    KeepXvfbScreen("layout-font.xwd");
    EXPECT_TRUE(dialog.GetApplyToAll());
}

TEST_F(LayoutFont, UninstalledFaceKeptUntilPicked)
{
    TLayoutFontDialog dialog;
    TFontSpec font;
    font.name = QStringLiteral("どこにもない書体");
    dialog.SetSampleFont(font);
    dialog.show();
    auto* faces = child<QListWidget>(dialog, "lbFonts");
    ASSERT_GT(faces->count(), 1);
    EXPECT_EQ(faces->currentRow(), 0);
    EXPECT_EQ(dialog.GetSampleFont().name, QStringLiteral("どこにもない書体"));
    child<QCheckBox>(dialog, "ckbBold")->click();
    child<QCheckBox>(dialog, "ckbItalic")->click();
    EXPECT_EQ(dialog.GetSampleFont().style, FontStyleBold | FontStyleItalic);
    faces->setCurrentRow(faces->count() - 1);
    EXPECT_EQ(dialog.GetSampleFont().name, faces->item(faces->count() - 1)->text());
    child<QCheckBox>(dialog, "ckbAll")->click();
    EXPECT_FALSE(dialog.GetApplyToAll());
}

TEST_F(LayoutFont, ColourDialogWritesCustomColoursOnCancel)
{
    TLayoutFontDialog dialog;
    dialog.SetSampleFont(TFontSpec(), 0x123456);
    dialog.show();
    ModalDriver driver;
    driver.on("ColorDialog", [](QWidget* w) {
        QColorDialog::setCustomColor(5, QColor(0x44, 0x55, 0x66));
        static_cast<QDialog*>(w)->reject();
    });
    child<QPushButton>(dialog, "bbtnFontColor")->click();
    EXPECT_EQ(ReadCustomColors(CustomColorsFileName())[5], ColorToValue(QColor(0x44, 0x55, 0x66)));
    EXPECT_EQ(dialog.GetSampleColor(), 0x123456u);
    driver.on("ColorDialog", [](QWidget* w) {
        static_cast<QColorDialog*>(w)->setCurrentColor(QColor(0, 0x80, 0));
        static_cast<QDialog*>(w)->accept();
    });
    child<QPushButton>(dialog, "bbtnFontColor")->click();
    EXPECT_EQ(dialog.GetSampleColor(), quint32(ColorToValue(QColor(0, 0x80, 0))));
}

} // namespace
