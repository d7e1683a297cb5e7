// Additional information dialog: the combo contents per paper and source, codes against typed text, the
// size list under its maximum, the disabled barcode, the check boxes and the compact barcode form.
#include "layoutobjects/AdditionInfo.h"

#include "addressbook/KeywdEdt.h"
#include "core/PDFHelp.h"
#include "support/SettingDialogFixture.h"
#include "support/XvfbShot.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class AdditionInfo : public SettingDialogTest
{
protected:
    static QStringList entries(QComboBox* combo)
    {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    }
    static QList<int> codes(QComboBox* combo)
    {
        QList<int> list;
        for (int i = 0; i < combo->count(); ++i)
            list << combo->itemData(i).toInt();
        return list;
    }
};

TEST_F(AdditionInfo, ComboContents)
{
    const QStringList addressItems =
        QStringList{"TEL", "FAX", "携帯1", "携帯2", "URL", "E-Mail1", "E-Mail2"} + KeywordNames;
    const QList<int> addressCodes = {3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    const struct
    {
        int kind, source;
        QStringList texts;
        QList<int> codes;
    } cases[] = {
        {3, 1, addressItems, addressCodes},
        {2, 1, QStringList{"逆順電話番号", "日付 (yyyymmdd)"} + addressItems,
         QList<int>{1, 2} + addressCodes},
        {3, 2, {"連絡先１", "連絡先２", "連絡先３", "連絡先４"}, {19, 20, 21, 22}},
        {2,
         2,
         {"逆順電話番号", "日付 (yyyymmdd)", "連絡先１", "連絡先２", "連絡先３", "連絡先４"},
         {1, 2, 19, 20, 21, 22}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind * 10 + c.source);
        TAdditionInfoDialog dialog;
        dialog.SetPaperKind(c.kind);
        dialog.SetItemSource(c.source);
        for (const char* name : {"cbxAddition1", "cbxAddition2", "cbxAddition3", "cbxAddition4"}) {
            auto* combo = child<QComboBox>(dialog, name);
            EXPECT_EQ(entries(combo), c.texts);
            EXPECT_EQ(codes(combo), c.codes);
            EXPECT_EQ(combo->maxVisibleItems(), 15);
            EXPECT_EQ(combo->lineEdit()->maxLength(), 50);
        }
    }
}

TEST_F(AdditionInfo, CodesAndTypedText)
{
    TAdditionInfoDialog dialog;
    dialog.SetPaperKind(3);
    dialog.SetItemSource(1);
    dialog.SetItemKind(0, 4);
    EXPECT_EQ(dialog.GetItemKind(0), 4);
    EXPECT_EQ(dialog.GetItemText(0), QString());
    EXPECT_EQ(child<QComboBox>(dialog, "cbxAddition1")->currentText(), QStringLiteral("FAX"));
    // Typing over the chosen entry makes it free text, trimmed.
    child<QComboBox>(dialog, "cbxAddition1")->lineEdit()->setText(QStringLiteral("  誕生日 "));
    EXPECT_EQ(dialog.GetItemKind(0), 0);
    EXPECT_EQ(dialog.GetItemText(0), QStringLiteral("誕生日"));
    // A free text set by the designer, then an entry chosen by the user.
    dialog.SetItemKind(1, 0);
    dialog.SetItemText(1, QStringLiteral("メモ"));
    EXPECT_EQ(dialog.GetItemKind(1), 0);
    EXPECT_EQ(dialog.GetItemText(1), QStringLiteral("メモ"));
    child<QComboBox>(dialog, "cbxAddition2")->setCurrentIndex(7);
    EXPECT_EQ(dialog.GetItemKind(1), 11);
    EXPECT_EQ(dialog.GetItemText(1), QString());
    // Code 8 is offered nowhere: nothing is chosen. Item indexes past 3 mean item 4.
    dialog.SetItemKind(9, 8);
    EXPECT_EQ(dialog.GetItemKind(3), 0);
    dialog.SetItemKind(3, 10);
    EXPECT_EQ(dialog.GetItemKind(-1), 10);
}

TEST_F(AdditionInfo, SizeList)
{
    TAdditionInfoDialog dialog;
    auto* sizes = child<QComboBox>(dialog, "cbxBarSize");
    EXPECT_EQ(dialog.MaxBarcodeSize(), 3);
    dialog.SetBarcodeSize(2);
    EXPECT_EQ(dialog.GetBarcodeSize(), 2);
    dialog.SetMaxBarcodeSize(1);
    EXPECT_EQ(sizes->count(), 2);
    EXPECT_EQ(sizes->itemText(1), QStringLiteral("9"));
    EXPECT_EQ(dialog.GetBarcodeSize(), 1);
    dialog.SetBarcodeSize(3);
    EXPECT_EQ(sizes->currentText(), QStringLiteral("9"));
    // A size that no longer fits: the barcode goes off and the list empties.
    dialog.DisableBarcode(true);
    EXPECT_FALSE(dialog.GetBarcode());
    EXPECT_FALSE(child<QCheckBox>(dialog, "ckbBarcode")->isEnabled());
    EXPECT_EQ(sizes->count(), 0);
    EXPECT_EQ(dialog.GetBarcodeSize(), 0);
}

TEST_F(AdditionInfo, CheckBoxesEnableTheirControls)
{
    TAdditionInfoDialog dialog;
    dialog.SetPaperKind(2);
    dialog.SetItemSource(1);
    auto* box = child<QCheckBox>(dialog, "ckbAddition3");
    EXPECT_TRUE(dialog.GetItemChecked(2));
    EXPECT_TRUE(blue(box));
    box->click();
    EXPECT_FALSE(dialog.GetItemChecked(2));
    EXPECT_FALSE(blue(box));
    EXPECT_FALSE(child<QComboBox>(dialog, "cbxAddition3")->isEnabled());
    dialog.SetItemChecked(2, true);
    EXPECT_TRUE(child<QComboBox>(dialog, "cbxAddition3")->isEnabled());
    dialog.SetBarcode(false);
    EXPECT_FALSE(child<QComboBox>(dialog, "cbxBarSize")->isEnabled());
    EXPECT_FALSE(child<QLabel>(dialog, "lblBarSize")->isEnabled());
}

TEST_F(AdditionInfo, EnterMovesOnWithoutClosing)
{
    TAdditionInfoDialog dialog;
    dialog.SetPaperKind(2);
    dialog.SetItemSource(1);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto* combo = child<QComboBox>(dialog, "cbxAddition1");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_TRUE(child<QCheckBox>(dialog, "ckbAddition2")->hasFocus());
    QTest::keyClick(child<QCheckBox>(dialog, "ckbAddition2"), Qt::Key_Return);
    EXPECT_TRUE(child<QComboBox>(dialog, "cbxAddition2")->hasFocus());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(combo->count(), 17); // Enter adds no entry
}

TEST_F(AdditionInfo, CompactBarcodeForm)
{
    TAdditionInfoDialog full;
    full.SetPaperKind(3);
    full.show();
    KeepXvfbScreen("addition-info.xwd");
    EXPECT_EQ(full.windowTitle(), QStringLiteral("追加情報の設定"));
    EXPECT_EQ(HelpContextOf(&full), AdditionInfoHelp);
    for (int kind : {0, 1}) {
        SCOPED_TRACE(kind);
        TAdditionInfoDialog dialog;
        dialog.SetPaperKind(kind);
        dialog.SetItemSource(1);
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("バーコードの設定"));
        EXPECT_FALSE(child<QGroupBox>(dialog, "gbxAddition")->isVisible());
        EXPECT_TRUE(child<QCheckBox>(dialog, "ckbBarcode")->isVisible());
        EXPECT_LT(dialog.height(), full.height());
        EXPECT_EQ(HelpContextOf(&dialog), AdditionInfoHelp);
        if (kind == 0)
            KeepXvfbScreen("addition-barcode.xwd");
    }
}

} // namespace
