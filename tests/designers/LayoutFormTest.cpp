// The address printing window: its "LAYOUT" settings, start menu, the unsaved-changes question, the new,
// open, save and save-as commands, the selected-frame combo and closing.
#include "core/MainSettings.h"
#include "designers/LayoutForm.h"
#include "designers/PaperView.h"
#include "layoutobjects/NewLayout.h"
#include "layoutobjects/PrintDataDlg.h"
#include "platform/IniFile.h"
#include "platform/Printers.h"
#include "support/DesignerFolders.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QtEndian>

namespace {

const QString Section = QStringLiteral("LAYOUT");

class LayoutFormTest : public ::testing::Test, protected TDesignerFolders
{
protected:
    void SetUp() override { ASSERT_TRUE(FoldersMade()); }
    void TearDown() override { delete m_window.data(); }
    void WriteSettings(const QList<std::pair<QString, QString>>& values)
    {
        TDesignerFolders::WriteSettings(Section, values);
    }
    // A saved postcard layout in the layout folder.
    QString SavedLayout(const QString& title)
    {
        TLayoutDocument document;
        document.PaperIndex = 0;
        EXPECT_TRUE(document.LoadPaperFormat());
        document.SetIndividualLayout(false, true);
        document.NewLayout();
        const QString path = LayoutFolder + title + QStringLiteral(".gpl");
        EXPECT_TRUE(document.SaveToFile(path));
        return path;
    }
    TLayoutForm& Window()
    {
        if (!m_window)
            m_window = new TLayoutForm();
        return *m_window;
    }
    // The view holds the paper's picture resampled to its panel.
    bool ViewShowsBackground()
    {
        auto* view = Window().findChild<TPaperView*>(QStringLiteral("sbxPreview"));
        return view && !Window().Document().Background.isNull() && !view->WorkingPicture().isNull() &&
               view->WorkingPicture().size() == view->Panel()->size();
    }
    QAction* Action(const char* name) { return Window().findChild<QAction*>(QString::fromLatin1(name)); }
    QStringList ComboEntries() { return RectComboEntries(Window()); }

    QPointer<TLayoutForm> m_window;
    MessageRecorder m_messages;
};

TEST_F(LayoutFormTest, FirstStartSizeIsCentredOnTheWorkArea)
{
    TLayoutForm& window = Window();
    const QRect work = window.screen()->availableGeometry();
    const int w = ScaleByDpi(690, 1), h = ScaleByDpi(680, 1);
    const QSize expected(w, w < work.width() && h < work.height() ? h : ScaleByDpi(550, 1));
    EXPECT_EQ(window.size(), expected);
    EXPECT_EQ(window.minimumSize(), QSize(529, 500));
    // No printer: no printer information.
    EXPECT_EQ(window.Printer(), nullptr);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("宛名印刷"));
    EXPECT_EQ(ComboEntries(), QStringList{QStringLiteral("なし")});
}

TEST_F(LayoutFormTest, StoredSettingsAreReadWithTheirLimits)
{
    WriteSettings({{"Left", "10"},
                   {"Top", "20"},
                   {"Width", "400"},
                   {"Height", "300"},
                   {"Grid", "7"},
                   {"Ratio", "9"},
                   {"Menu", "0"},
                   {"ToolBar", "0"},
                   {"AdjustGrid", "1"}});
    TLayoutForm& window = Window();
    EXPECT_GE(window.width(), 529);
    EXPECT_GE(window.height(), 500);
    EXPECT_EQ(window.GridSize(), 0);
    EXPECT_TRUE(Action("actGridNone")->isChecked());
    EXPECT_FALSE(Action("actGrid")->isChecked());
    EXPECT_EQ(window.findChild<QComboBox*>(QStringLiteral("cbxRatio"))->currentIndex(), 0);
    EXPECT_FALSE(Action("mmiShowMenu")->isChecked());
    EXPECT_FALSE(Action("mmiToolBar")->isChecked());
    EXPECT_TRUE(Action("actAdjustGrid")->isChecked());
    EXPECT_TRUE(Action("actPrintRange")->isChecked());

    Action("actGridBig")->trigger();
    EXPECT_TRUE(Action("actGrid")->isChecked());
    window.SaveSettings();
    const TMemIniFile ini = Ini();
    EXPECT_EQ(ini.ReadInteger(Section, QStringLiteral("Grid"), -1), 3);
    EXPECT_EQ(ini.ReadInteger(Section, QStringLiteral("Menu"), -1), 0);
    EXPECT_GE(ini.ReadInteger(Section, QStringLiteral("Width"), 0), ScaleByDpi(529, 0));
}

TEST_F(LayoutFormTest, RecentFilesKeepFiveWithoutDuplicates)
{
    // Entries outside the layout folder are dropped; reading stops at the first missing one.
    const QString a = LayoutFolder + QStringLiteral("a.gpl");
    WriteSettings({{"History1", a},
                   {"History2", QStringLiteral("/elsewhere/x.gpl")},
                   {"History3", LayoutFolder + QStringLiteral("c.gpl")},
                   {"History4", LayoutFolder + QStringLiteral("d.gpl")},
                   {"History5", LayoutFolder + QStringLiteral("e.gpl")}});
    {
        TLayoutForm& window = Window();
        EXPECT_EQ(window.RecentFiles().size(), 4);
        EXPECT_EQ(window.RecentFiles().value(1), LayoutFolder + QStringLiteral("c.gpl"));
        // Two more files opened: six distinct entries and one duplicate of "A" in another case.
        ASSERT_TRUE(window.LoadFromFile(SavedLayout(QStringLiteral("f"))));
        ASSERT_TRUE(window.LoadFromFile(SavedLayout(QStringLiteral("g"))));
        const QString upper = SavedLayout(QStringLiteral("A"));
        ASSERT_TRUE(window.LoadFromFile(upper));
        window.SaveSettings();
        const TMemIniFile ini = Ini();
        const QStringList expected = {
            upper, LayoutFolder + QStringLiteral("g.gpl"), LayoutFolder + QStringLiteral("f.gpl"),
            LayoutFolder + QStringLiteral("c.gpl"), LayoutFolder + QStringLiteral("d.gpl")};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(ini.ReadString(Section, QStringLiteral("History%1").arg(i + 1), {}), expected[i]) << i;
    }
    {
        // Fewer entries than keys: the keys of missing positions go.
        delete m_window.data();
        TMemIniFile ini = Ini();
        ini.WriteString(Section, QStringLiteral("History2"), QString());
        ASSERT_TRUE(ini.UpdateFile());
        EXPECT_EQ(Window().RecentFiles().size(), 1);
        Window().SaveSettings();
        EXPECT_FALSE(Ini().ValueExists(Section, QStringLiteral("History3")));
    }
}

TEST_F(LayoutFormTest, CancelledStartMenuLeavesAnEmptyWindow)
{
    TLayoutForm& window = Window();
    bool offered = false;
    ModalDriver driver;
    driver.on(QStringLiteral("PrintMenuDialog"), [&](QWidget* w) {
        auto* menu = static_cast<TPrintMenuDialog*>(w);
        // No last file: the last-file choice is not offered.
        offered = menu->findChild<QRadioButton*>(QStringLiteral("rbContinue"))->isEnabled();
        menu->findChild<QCheckBox*>(QStringLiteral("ckbShowMenu"))->setChecked(false);
        menu->reject();
    });
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return driver.handled() == 1 && !QApplication::activeModalWidget(); }));
    QTest::qWait(0);
    EXPECT_FALSE(offered);
    EXPECT_FALSE(window.Document().DocumentOpen);
    EXPECT_TRUE(window.Document().Stacking.empty());
    EXPECT_TRUE(Action("mmiShowMenu")->isChecked());
    EXPECT_FALSE(Action("actSaveAs")->isEnabled());
}

TEST_F(LayoutFormTest, WithoutTheMenuTheLastFileOpens)
{
    const QString path = SavedLayout(QStringLiteral("last"));
    WriteSettings({{"Menu", "0"}, {"History1", path}});
    TLayoutForm& window = Window();
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Document().DocumentOpen; }));
    EXPECT_EQ(window.Document().FileName, path);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("宛名印刷 - last"));
    EXPECT_FALSE(window.Document().Modified);
    EXPECT_EQ(m_messages.count(), 0);
    // Postcard with the recipient and the sender: the fixed frames in combo order.
    EXPECT_EQ(ComboEntries(), (QStringList{"なし", "郵便番号", "住所", "名前", "差出人郵便番号", "差出人住所",
                                           "差出人名前"}));
    EXPECT_TRUE(Action("actSender")->isChecked());
    EXPECT_TRUE(ViewShowsBackground());
}

TEST_F(LayoutFormTest, StartMenuNewLayoutGoesThroughThePaperDialog)
{
    TLayoutForm& window = Window();
    ModalDriver driver;
    driver.on(QStringLiteral("PrintMenuDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
    driver.on(QStringLiteral("NewLayoutDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Document().DocumentOpen; }));
    EXPECT_TRUE(window.Document().Modified);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("宛名印刷 - 新規"));
    EXPECT_TRUE(Action("actSave")->isEnabled());
    EXPECT_EQ(window.Document().Stacking.size(), 6u);
    EXPECT_TRUE(ViewShowsBackground());
}

TEST_F(LayoutFormTest, NoThenNoKeepsTheWindowOpen)
{
    TLayoutForm& window = Window();
    window.Document().DocumentOpen = true;
    window.Document().Modified = true;
    m_messages.answer(MsgSeam::IdNo).answer(MsgSeam::IdNo);
    EXPECT_FALSE(window.close());
    ASSERT_EQ(m_messages.count(), 2);
    EXPECT_EQ(m_messages.messages()[0].text, QStringLiteral("宛名印刷のレイアウトの変更を保存しますか？  "));
    EXPECT_EQ(m_messages.messages()[0].flags, MsgSeam::MbYesNoCancel | MsgSeam::MbIconQuestion);
    EXPECT_EQ(m_messages.last().text,
              QStringLiteral("作成した宛名印刷のレイアウトは破棄されます  \r\n本当によろしいですか？"));
    EXPECT_EQ(m_messages.last().flags, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2);
    EXPECT_TRUE(m_window);
    EXPECT_TRUE(window.Document().Modified);

    // Cancel keeps it too; No then Yes lets it close.
    m_messages.answer(MsgSeam::IdCancel);
    EXPECT_FALSE(window.ConfirmSave());
    m_messages.answer(MsgSeam::IdNo).answer(MsgSeam::IdYes);
    EXPECT_TRUE(window.ConfirmSave());
    EXPECT_FALSE(window.Document().Modified);
}

TEST_F(LayoutFormTest, SaveAsWritesTheLayoutAndNamesTheWindow)
{
    const QString path = SavedLayout(QStringLiteral("first"));
    TLayoutForm& window = Window();
    ASSERT_TRUE(window.LoadFromFile(path));
    window.Document().Modified = true;
    ModalDriver driver;
    driver.on(QStringLiteral("PrintDataSaveDialog"), [](QWidget* w) {
        w->findChild<QLineEdit*>(QStringLiteral("edTitle"))->setText(QStringLiteral("second"));
        w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    window.actSaveAsExecute();
    const QString second = LayoutFolder + QStringLiteral("second.gpl");
    EXPECT_TRUE(QFile::exists(second));
    EXPECT_EQ(window.Document().FileName, second);
    EXPECT_FALSE(window.Document().Modified);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("宛名印刷 - second"));
    EXPECT_EQ(window.RecentFiles().first(), second);
    EXPECT_FALSE(Action("actSave")->isEnabled());

    // A modified layout with a file name saves to it.
    window.Document().Modified = true;
    QFile::remove(second);
    window.actSaveExecute();
    EXPECT_TRUE(QFile::exists(second));
    EXPECT_EQ(window.RecentFiles().size(), 2);
}

TEST_F(LayoutFormTest, OpenReadsTheChosenFileAndADamagedOneChangesNothing)
{
    const QString good = SavedLayout(QStringLiteral("good"));
    WriteFileBytes(LayoutFolder + QStringLiteral("bad.gpl"),
                   ReadFileBytes(good).left(300)); // listed, but cut short
    TLayoutForm& window = Window();
    {
        ModalDriver driver;
        driver.on(QStringLiteral("PrintDataOpenDialog"), [](QWidget* w) {
            auto* list = w->findChild<QTreeWidget*>(QStringLiteral("lvFile"));
            list->setCurrentItem(list->findItems(QStringLiteral("good"), Qt::MatchExactly).first());
            w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        });
        window.actOpenExecute();
    }
    EXPECT_EQ(window.Document().FileName, good);
    const TLayoutDocument* before = &window.Document();
    {
        ModalDriver driver;
        driver.on(QStringLiteral("PrintDataOpenDialog"), [](QWidget* w) {
            auto* list = w->findChild<QTreeWidget*>(QStringLiteral("lvFile"));
            list->setCurrentItem(list->findItems(QStringLiteral("bad"), Qt::MatchExactly).first());
            w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        });
        // The changes are to be dropped, but the file cannot be read: the layout stays, still modified.
        window.Document().Modified = true;
        m_messages.answer(MsgSeam::IdNo).answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
        window.actOpenExecute();
    }
    ASSERT_EQ(m_messages.count(), 3);
    EXPECT_EQ(m_messages.last().text, QStringLiteral("このファイルは有効な形式ではありません  "));
    EXPECT_EQ(&window.Document(), before);
    EXPECT_EQ(window.Document().FileName, good);
    EXPECT_TRUE(window.Document().Modified);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("宛名印刷 - good (更新)"));
}

TEST_F(LayoutFormTest, ALayoutWhosePaperIsGoneAsksForAPaper)
{
    const QString path = SavedLayout(QStringLiteral("gone"));
    QByteArray bytes = ReadFileBytes(path);
    qToLittleEndian<qint32>(9999, bytes.data() + 22); // the header's paper index
    WriteFileBytes(path, bytes);
    TLayoutForm& window = Window();
    ModalDriver driver;
    driver.on(QStringLiteral("NewLayoutDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
    m_messages.allowUnexpected();
    ASSERT_TRUE(window.LoadFromFile(path));
    EXPECT_EQ(m_messages.messages().value(0).text,
              QStringLiteral("選択された宛名レイアウトは用紙情報が削除されています  "));
    EXPECT_EQ(window.Document().PaperIndex, 0);
    EXPECT_TRUE(window.Document().PaperFound);
    EXPECT_TRUE(window.Document().Modified);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("宛名印刷 - gone (更新)"));
    EXPECT_EQ(window.Document().Stacking.size(), 6u);
}

TEST_F(LayoutFormTest, ComboSelectsAndFocusesFrames)
{
    TLayoutForm& window = Window();
    ASSERT_TRUE(window.LoadFromFile(SavedLayout(QStringLiteral("combo"))));
    auto* combo = window.findChild<QComboBox*>(QStringLiteral("cbxViewRect"));
    TLayoutDocument& d = window.Document();
    combo->setCurrentIndex(3);
    emit combo->activated(3);
    ASSERT_EQ(d.Selection.size(), 1u);
    EXPECT_EQ(d.Selection[0], d.Simple().Name);
    EXPECT_EQ(d.FocusIndex, 0);
    // A selected frame is focused without changing the selection.
    d.Selection = {d.Simple().Postal, d.Simple().Name};
    emit combo->activated(3);
    EXPECT_EQ(d.Selection.size(), 2u);
    EXPECT_EQ(d.FocusIndex, 1);
    window.ShowFocusedInRectList();
    EXPECT_EQ(combo->currentIndex(), 3);
    emit combo->activated(0);
    EXPECT_TRUE(d.Selection.empty());
    EXPECT_EQ(d.FocusIndex, -1);

    // Emptying the layout leaves "なし" only.
    window.ClearLayout();
    EXPECT_EQ(ComboEntries(), QStringList{QStringLiteral("なし")});
    EXPECT_TRUE(d.Stacking.empty());
}

} // namespace
