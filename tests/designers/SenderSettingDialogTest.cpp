// Sender block settings dialog: the remembered page, the merge of the chosen sender with the dialog's own
// differences, the direction switch, and the custom colours written also on Cancel.
#include "core/CstmClr.h"
#include "designers/DesignerData.h"
#include "designers/SenderMerge.h"
#include "designers/UndoList.h"
#include "designers/SenderSettingDialog.h"
#include "layoutobjects/NameRect.h"
#include "support/DesignFixture.h"
#include "support/ModalDriver.h"
#include "support/SettingDialogFixture.h"
#include "support/TestFiles.h"
#include "support/XvfbShot.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

using namespace LayoutSettingsField;

// A sender whose address has dashes and whose first contact is printed.
TMemoryRow Sender(qint32 recNo, const char* title, const char* name)
{
    TMemoryRow row = SenderRow(recNo, title, QString::fromUtf8(name));
    row.Fields["Adrs1"] = ToAnsi("中央1-2-3");
    row.Fields["AdditionPrint1"] = true;
    row.Fields["Head1"] = QByteArray("TEL");
    row.Fields["Addition1"] = QByteArray("0312345678");
    return row;
}

class SenderSettingDialogTest : public SettingDialogTest
{
protected:
    void SetUp() override
    {
        SettingDialogTest::SetUp();
        m_senders.Rows = {Sender(3, "home", "山田 太郎"), Sender(8, "office", "川上 花子")};
        m_block.SetSenderTitle("office");
        m_block.SetHorizontal(false);
        m_block.SetDesignRect({50, 50, 200, 275});
        m_block.SetSimpleAdditionVisible(0, false);
        m_settings.SetInt(SenderPostalMark, 1);
    }
    // The dialog as the design window opens it.
    std::unique_ptr<TSenderSettingDialog> Open()
    {
        auto dialog = std::make_unique<TSenderSettingDialog>(&m_senders);
        dialog->SetSenderRect(m_block);
        dialog->SetPageSize(1480);
        dialog->Settings = m_settings;
        dialog->show();
        return dialog;
    }

    TMemorySenders m_senders;
    TSenderRect m_block;
    TLayoutSettings m_settings;
};

TEST_F(SenderSettingDialogTest, RememberedPage)
{
    const struct
    {
        int stored;
        int page;
    } cases[] = {{5, 0}, {-1, 0}, {1, 1}, {0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        writeDesign("SenderSet", c.stored);
        {
            TSenderSettingDialog dialog(&m_senders);
            EXPECT_EQ(child<QTabWidget>(dialog, "pgcSetting")->currentIndex(), c.page);
            child<QTabWidget>(dialog, "pgcSetting")->setCurrentIndex(1);
            dialog.reject();
        }
        EXPECT_EQ(readDesign("SenderSet"), 1);
    }
}

TEST_F(SenderSettingDialogTest, MergesTheChosenSenderWithItsOwnDifferences)
{
    auto dialog = Open();
    TSenderRect& copy = dialog->SenderBlock();
    auto* senders = child<QComboBox>(*dialog, "cbxSender");
    EXPECT_EQ(senders->count(), 2);
    EXPECT_EQ(senders->currentText(), QStringLiteral("office"));
    EXPECT_TRUE(copy.GetName(true)->Name().contains(QStringLiteral("花子")));

    // The design's merge on a horizontal paper: no vertical dashes, the row's additions shown.
    TSenderRect design;
    design.Assign(m_block);
    TSenderMergePolicy policy;
    ShowSenderData(design, &m_senders, m_settings, policy);
    EXPECT_TRUE(design.GetSimpleAddition(0)->Visible());
    // The dialog: the copy is written vertically, so its dashes take the vertical form, and the additions
    // keep the visibility of the copied block.
    EXPECT_NE(copy.GetSimpleAddress()->GetLine(0), design.GetSimpleAddress()->GetLine(0));
    EXPECT_FALSE(copy.GetSimpleAddition(0)->Visible());

    // Another sender shows at once and becomes the copy's key.
    senders->setCurrentIndex(0);
    emit senders->activated(0);
    EXPECT_EQ(copy.SenderTitle(), QByteArray("home"));
    EXPECT_TRUE(copy.GetName(true)->Name().contains(QStringLiteral("太郎")));
    KeepXvfbScreen(QStringLiteral("sender-setting-dialog.xwd"));
}

TEST_F(SenderSettingDialogTest, DirectionSwitchTransposesAndResetsTheItems)
{
    auto dialog = Open();
    TSenderRect& copy = dialog->SenderBlock();
    const TRect first = copy.GetDesignRect();
    const QByteArray original = StreamImage(copy);
    child<QRadioButton>(*dialog, "rbHorizontal")->click();
    EXPECT_TRUE(copy.GetHorizontal());
    const TRect turned = copy.GetDesignRect();
    EXPECT_EQ(turned, (TRect{first.top, first.left, first.top + first.Height(), first.left + first.Width()}));
    for (int member = 0; member < SenderMemberCount; ++member)
        EXPECT_EQ(copy.ItemRect(member), SenderItemDefaultRects[size_t(member)][1]) << member;
    child<QRadioButton>(*dialog, "rbVertical")->click();
    EXPECT_EQ(copy.GetDesignRect(), first);
    for (int member = 0; member < SenderMemberCount; ++member)
        EXPECT_EQ(copy.ItemRect(member), SenderItemDefaultRects[size_t(member)][0]) << member;
    EXPECT_EQ(StreamImage(copy), original);
}

TEST_F(SenderSettingDialogTest, AnUnknownSenderLeavesTheListWithoutSelection)
{
    m_block.SetSenderTitle("gone");
    auto dialog = Open();
    EXPECT_EQ(child<QComboBox>(*dialog, "cbxSender")->currentIndex(), -1);
    EXPECT_TRUE(dialog->SenderBlock().GetName(true)->Name().isEmpty());
    EXPECT_EQ(dialog->SenderBlock().SenderTitle(), QByteArray("gone"));
}

TEST_F(SenderSettingDialogTest, ColourButtonsWriteCustomColoursAlsoOnCancel)
{
    auto dialog = Open();
    const QString file = CustomColorsFileName();
    const struct
    {
        const char* button;
        int page;
    } buttons[] = {{"bbtnFontColor", 0}, {"bbtnFrameColor", 1}};
    for (const auto& [button, page] : buttons) {
        SCOPED_TRACE(button);
        QFile::remove(file);
        ModalDriver driver;
        driver.on("ColorDialog", [](QWidget* w) {
            QColorDialog::setCustomColor(5, QColor(0x44, 0x55, 0x66));
            static_cast<QDialog*>(w)->reject();
        });
        child<QTabWidget>(*dialog, "pgcSetting")->setCurrentIndex(page);
        child<QCheckBox>(*dialog, "ckbFrame")->setChecked(true);
        child<QPushButton>(*dialog, button)->click();
        EXPECT_EQ(ReadCustomColors(file)[5], ColorToValue(QColor(0x44, 0x55, 0x66)));
    }
}

} // namespace
