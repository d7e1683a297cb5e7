// The font and placement details dialog: the remembered page, the paper kinds, automatic layout, the bytes
// it reads and writes, and the level bars' clicks.
#include "core/ExTrackBar.h"
#include "core/MainSettings.h"
#include "layoutobjects/LayoutDetail.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

class LayoutDetailTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_saved = DataRootFolder;
        DataRootFolder = m_dir.path() + u'/';
    }
    void TearDown() override { DataRootFolder = m_saved; }
    void StorePage(const QString& value)
    {
        TMemIniFile ini(DataRootFolder + MainSettingsFileName);
        ini.WriteString(QStringLiteral("PRINTFORM"), QStringLiteral("Detail"), value);
        ASSERT_TRUE(ini.UpdateFile());
    }
    template <class W> static W* Child(const QWidget& dialog, const char* name)
    {
        W* w = dialog.findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static std::vector<QCheckBox*> ItemBoxes(const QWidget& dialog, bool sender)
    {
        std::vector<QCheckBox*> boxes;
        const QString prefix = sender ? QStringLiteral("ckbS_") : QStringLiteral("ckb");
        for (const char* item : {"Pos", "Address1", "Address2", "Address3", "Name", "Corp", "Dptmnt", "Post"})
            boxes.push_back(dialog.findChild<QCheckBox*>(prefix + QLatin1String(item)));
        if (sender)
            for (int i = 1; i <= 4; ++i)
                boxes.push_back(dialog.findChild<QCheckBox*>(QStringLiteral("ckbAddition%1").arg(i)));
        return boxes;
    }

    QTemporaryDir m_dir;
    QString m_saved;
};

TEST_F(LayoutDetailTest, StoredPageOutsideTheRangeOpensTheFirst)
{
    for (const auto& [stored, expected] : {std::pair{"7", 0}, {"-1", 0}, {"2", 2}, {"x", 0}}) {
        StorePage(QLatin1String(stored));
        TLayoutDetailDialog dialog;
        EXPECT_EQ(Child<QTabWidget>(dialog, "pgcDetail")->currentIndex(), expected) << stored;
    }
    // Closing writes the page shown.
    {
        TLayoutDetailDialog dialog;
        Child<QTabWidget>(dialog, "pgcDetail")->setCurrentIndex(1);
        dialog.reject();
    }
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("PRINTFORM"), QStringLiteral("Detail"), -5), 1);
}

TEST_F(LayoutDetailTest, LabelKindsDisableTheSenderControlsAndEnableTheAdditionalItem)
{
    for (quint8 kind : {0, 1, 2, 3}) {
        TLayoutDetailDialog dialog;
        dialog.SetPaperKind(kind);
        const bool labels = kind >= 2;
        for (const char* name : {"tbrSendName", "tbrSendAddress", "tbrSendAddition"})
            EXPECT_EQ(Child<TExTrackBar>(dialog, name)->isEnabled(), !labels) << name << int(kind);
        for (const char* name : {"rbS_Equal", "rbS_Left", "rbS_Right", "rbS_Center"})
            EXPECT_EQ(Child<QRadioButton>(dialog, name)->isEnabled(), !labels) << name << int(kind);
        for (const char* name : {"lblSender", "lblSender2", "lblSendNameAlign"})
            EXPECT_EQ(Child<QLabel>(dialog, name)->isEnabled(), !labels) << name << int(kind);
        EXPECT_EQ(Child<TExTrackBar>(dialog, "tbrAddition")->isEnabled(), labels) << int(kind);
        EXPECT_EQ(Child<QLabel>(dialog, "lblAdditionFont")->isEnabled(), labels) << int(kind);
        EXPECT_TRUE(Child<TExTrackBar>(dialog, "tbrName")->isEnabled());
    }
}

TEST_F(LayoutDetailTest, AutomaticLayoutLocksTheItemsAndManualLayoutTheRatios)
{
    struct Case
    {
        quint8 manual, sides;
        bool recipient, sender, ratios;
    } cases[] = {
        {0, 0, false, false, true}, {1, 0, true, true, false},  {1, 1, true, false, false},
        {1, 2, false, true, false}, {0, 2, false, false, true},
    };
    for (const Case& c : cases) {
        TLayoutDetailDialog dialog;
        dialog.SetPaperKind(0);
        dialog.SetManualLayout(c.manual);
        dialog.SetPlacedSides(c.sides);
        const QString what = QStringLiteral("manual %1 sides %2").arg(c.manual).arg(c.sides);
        EXPECT_EQ(Child<QCheckBox>(dialog, "ckbAuto")->isChecked(), c.manual == 0);
        for (QCheckBox* box : ItemBoxes(dialog, false))
            EXPECT_EQ(box->isEnabled(), c.recipient) << qPrintable(what) << qPrintable(box->objectName());
        for (QCheckBox* box : ItemBoxes(dialog, true))
            EXPECT_EQ(box->isEnabled(), c.sender) << qPrintable(what) << qPrintable(box->objectName());
        for (const char* name : {"cbxCorpRatio", "cbxDptmntRatio", "cbxPostRatio"})
            EXPECT_EQ(Child<QComboBox>(dialog, name)->isEnabled(), c.ratios) << qPrintable(what);
        EXPECT_EQ(dialog.ManualLayout(), c.manual);
    }
    // Turning automatic layout off by hand opens the boxes of the placed sides.
    TLayoutDetailDialog dialog;
    dialog.SetManualLayout(0);
    dialog.SetPlacedSides(1);
    Child<QCheckBox>(dialog, "ckbAuto")->click();
    EXPECT_EQ(dialog.ManualLayout(), 1);
    EXPECT_TRUE(ItemBoxes(dialog, false).front()->isEnabled());
    EXPECT_FALSE(ItemBoxes(dialog, true).back()->isEnabled());
    EXPECT_FALSE(Child<QComboBox>(dialog, "cbxCorpRatio")->isEnabled());
    // The getters and setters of the twenty boxes meet the boxes.
    dialog.SetShowSenderContact(3, true);
    dialog.SetShowAddress(1, true);
    EXPECT_TRUE(Child<QCheckBox>(dialog, "ckbAddition4")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(dialog, "ckbAddress2")->isChecked());
    EXPECT_TRUE(dialog.GetShowAddress(1));
    EXPECT_FALSE(dialog.GetShowSenderAddress(1));
}

TEST_F(LayoutDetailTest, OnlyTheDetailBytesAreWritten)
{
    using namespace LayoutSettingsField;
    TLayoutSettings given;
    for (int i = 0; i < LayoutSettingsSize; ++i)
        given.SetByte(i, quint8(0xA0 + i % 16));
    given.SetInt(AddressLevel, 1);
    given.SetInt(NameLevel, 5);
    given.SetInt(AdditionLevel, 2);
    given.SetInt(SenderAddressLevel, 4);
    given.SetInt(SenderNameLevel, 3);
    given.SetInt(SenderAdditionLevel, 2);
    given.SetInt(CompanyRatio, 0);
    given.SetInt(DepartmentRatio, 5);
    given.SetInt(TitleRatio, 2);
    given.SetByte(WidenSpacing, 1);
    given.SetByte(NameAlign, 7); // not one of the first three: the centre button
    given.SetByte(SenderNameAlign, 1);
    given.SetByte(JointNamesTogether, 1);
    given.SetByte(CompanyBreak, 0);

    TLayoutDetailDialog dialog;
    dialog.SetDetailSettings(given);
    EXPECT_TRUE(Child<QRadioButton>(dialog, "rbCenter")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(dialog, "rbS_Left")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(dialog, "rbSeries")->isChecked());
    EXPECT_EQ(Child<TExTrackBar>(dialog, "tbrName")->value(), 5);
    EXPECT_EQ(Child<QComboBox>(dialog, "cbxDptmntRatio")->currentText(), QStringLiteral("5"));

    Child<QCheckBox>(dialog, "ckbCorpBreak")->setChecked(true);
    Child<QRadioButton>(dialog, "rbParallel")->setChecked(true);
    TLayoutSettings out;
    for (int i = 0; i < LayoutSettingsSize; ++i)
        out.SetByte(i, quint8(0x11 * (i % 7)));
    const TLayoutSettings before = out;
    dialog.GetDetailSettings(out);
    for (int i = 0; i < LayoutSettingsSize; ++i) {
        if (i < AddressLevel || i > CompanyBreak)
            EXPECT_EQ(out.Byte(i), before.Byte(i)) << i;
    }
    EXPECT_EQ(out.Int(AddressLevel), 1);
    EXPECT_EQ(out.Int(NameLevel), 5);
    EXPECT_EQ(out.Int(SenderAddressLevel), 4);
    EXPECT_EQ(out.Int(DepartmentRatio), 5);
    EXPECT_EQ(out.Int(TitleRatio), 2);
    EXPECT_EQ(out.Byte(WidenSpacing), 1);
    EXPECT_EQ(out.Byte(NameAlign), 3);
    EXPECT_EQ(out.Byte(SenderNameAlign), 1);
    EXPECT_EQ(out.Byte(JointNamesTogether), 0);
    EXPECT_EQ(out.Byte(CompanyBreak), 1);
}

TEST_F(LayoutDetailTest, ClicksBesideTheThumbJumpToTheirStep)
{
    struct Case
    {
        int x, expected;
    } cases[] = {{0, 0}, {10, 0}, {110, 5}, {200, 5}, {60, 3}, {35, 2}, {22, 1}, {23, 2}};
    for (const Case& c : cases)
        EXPECT_EQ(TrackBarClickPosition(c.x, 10, 110, 5), c.expected) << c.x;

    StorePage(QStringLiteral("1"));
    TLayoutDetailDialog dialog;
    dialog.resize(600, 400);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* bar = Child<TExTrackBar>(dialog, "tbrName");
    bar->setValue(1);
    const QRect channel = bar->ChannelRect();
    const int y = bar->height() / 2;
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(channel.center().x(), y));
    EXPECT_EQ(bar->value(), 3);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 1, y));
    EXPECT_EQ(bar->value(), 5);
    bar->setValue(5);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(0, y));
    EXPECT_EQ(bar->value(), 1);
}

} // namespace
