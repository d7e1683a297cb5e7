// The message-side design window: its [DESIGN]/[LAYOUT] settings, the start menu's choices, the save-changes
// question on closing, opening a design onto the paper view, and the prototypes written at close.
#include "core/AppSub.h"
#include "core/MainSettings.h"
#include "designers/DesignForm.h"
#include "designers/PaperView.h"
#include "layoutobjects/PrintDataDlg.h"
#include "platform/IniFile.h"
#include "platform/Printers.h"
#include "support/DesignerFolders.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

const QString Design = QStringLiteral("DESIGN");
const QString Layout = QStringLiteral("LAYOUT");

class DesignFormTest : public ::testing::Test, protected TDesignerFolders
{
protected:
    void SetUp() override { ASSERT_TRUE(FoldersMade()); }
    void TearDown() override { delete m_window.data(); }
    TDesignForm& Window()
    {
        if (!m_window)
            m_window = new TDesignForm();
        return *m_window;
    }
    QAction* Action(const char* name) { return Window().findChild<QAction*>(QString::fromLatin1(name)); }
    QStringList ComboEntries() { return RectComboEntries(Window()); }
    // Shows the window and waits until its start menu has run.
    void Start(ModalDriver& driver, int dialogs)
    {
        Window().show();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return driver.handled() == dialogs && !QApplication::activeModalWidget(); }));
        QTest::qWait(0);
    }

    QPointer<TDesignForm> m_window;
    MessageRecorder m_messages;
};

TEST_F(DesignFormTest, FirstStartIsCentredOnTheWorkArea)
{
    TDesignForm& window = Window();
    const QRect work = window.screen()->availableGeometry();
    const int w = ScaleByDpi(690, 1), h = ScaleByDpi(680, 1);
    const QSize frame(w, w < work.width() && h < work.height() ? h : ScaleByDpi(550, 1));
    EXPECT_EQ(window.size() + QSize(0, window.CaptionHeight()), frame);
    EXPECT_EQ(window.pos(), work.topLeft() + QPoint((work.width() - frame.width()) / 2,
                                                    (work.height() - frame.height()) / 2));
    EXPECT_EQ(window.minimumSize(), QSize(529, 500));
    EXPECT_EQ(window.Printer(), nullptr);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("文面印刷"));
    EXPECT_EQ(ComboEntries(), QStringList{QStringLiteral("なし")});
    EXPECT_FALSE(Action("actSaveAs")->isEnabled());
    // Without a design the paper, print and background commands are not available.
    for (const char* name : {"actFormat", "actPrint", "actBackImage"})
        EXPECT_FALSE(Action(name)->isEnabled()) << name;
}

TEST_F(DesignFormTest, StoredSettingsAreReadWithTheirLimitsAndWrittenBack)
{
    WriteSettings(Design,
                  {{"Left", "10"}, {"Top", "20"}, {"Width", "400"}, {"Height", "300"}, {"Ratio", "9"}});
    WriteSettings(Layout, {{"Grid", "7"}, {"Menu", "0"}, {"ToolBar", "0"}, {"AdjustGrid", "1"}});
    TDesignForm& window = Window();
    EXPECT_EQ(window.size(), QSize(ScaleByDpi(529, 1), ScaleByDpi(500, 1)));
    EXPECT_EQ(window.pos(), QPoint(10, 20));
    EXPECT_EQ(window.GridSize(), 0);
    EXPECT_TRUE(Action("actGridNone")->isChecked());
    EXPECT_FALSE(Action("actGrid")->isChecked());
    EXPECT_EQ(window.findChild<QComboBox*>(QStringLiteral("cbxRatio"))->currentIndex(), 0);
    EXPECT_TRUE(Action("mmiPaperSize")->isChecked());
    EXPECT_FALSE(Action("mmiShowMenu")->isChecked());
    EXPECT_FALSE(Action("mmiToolBar")->isChecked());
    EXPECT_TRUE(Action("actAdjustGrid")->isChecked());
    EXPECT_TRUE(Action("actPrintRange")->isChecked());

    Action("actGridBig")->trigger();
    Action("mmi75")->trigger();
    window.SaveSettings();
    const TMemIniFile ini = Ini();
    EXPECT_EQ(ini.ReadInteger(Design, QStringLiteral("Width"), 0), 529);
    EXPECT_EQ(ini.ReadInteger(Design, QStringLiteral("Height"), 0), 500);
    EXPECT_EQ(ini.ReadInteger(Design, QStringLiteral("Left"), 0), 10);
    EXPECT_EQ(ini.ReadInteger(Design, QStringLiteral("Ratio"), -1), 6);
    EXPECT_EQ(ini.ReadInteger(Design, QStringLiteral("Max"), -1), 0);
    EXPECT_EQ(ini.ReadInteger(Layout, QStringLiteral("Grid"), -1), 3);
    EXPECT_EQ(ini.ReadInteger(Layout, QStringLiteral("Menu"), -1), 0);
    EXPECT_EQ(ini.ReadInteger(Layout, QStringLiteral("ToolBar"), -1), 0);
}

TEST_F(DesignFormTest, HistoryIsFilteredByFolderAndWrittenWithoutRepeats)
{
    const QString a = GoldenDesign(QStringLiteral("a"));
    const QString c = DesignFolder + QStringLiteral("c.gpd");
    WriteSettings(Design,
                  {{"History1", a}, {"History2", QStringLiteral("/elsewhere/x.gpd")}, {"History3", c}});
    TDesignForm& window = Window();
    EXPECT_EQ(window.RecentFiles(), (QStringList{a, c}));
    // The same file loaded twice: listed and written back once.
    const QString b = GoldenDesign(QStringLiteral("b"));
    ASSERT_TRUE(window.LoadFromFile(b));
    ASSERT_TRUE(window.LoadFromFile(a));
    // The recent menu drops the repeat as soon as the window's commands are brought up to date.
    EXPECT_EQ(window.RecentFiles(), (QStringList{a, b, c}));
    window.SaveSettings();
    const TMemIniFile ini = Ini();
    EXPECT_EQ(ini.ReadString(Design, QStringLiteral("History1"), {}), a);
    EXPECT_EQ(ini.ReadString(Design, QStringLiteral("History2"), {}), b);
    EXPECT_EQ(ini.ReadString(Design, QStringLiteral("History3"), {}), c);
    EXPECT_FALSE(ini.ValueExists(Design, QStringLiteral("History4")));
}

TEST_F(DesignFormTest, WithoutTheMenuANewDesignOrTheLastFileStartsAtOnce)
{
    struct Case
    {
        const char* name;
        bool lastExists;
    };
    for (const Case& c : {Case{"missing last file", false}, Case{"last file", true}}) {
        SCOPED_TRACE(c.name);
        const QString last = DesignFolder + QStringLiteral("last.gpd");
        if (c.lastExists)
            GoldenDesign(QStringLiteral("last"));
        WriteSettings(Layout, {{"Menu", "0"}});
        WriteSettings(Design, {{"History1", last}});
        ModalDriver driver;
        int paperDialogs = 0;
        if (!c.lastExists)
            driver.on(QStringLiteral("NewDesignDialog"), [&](QWidget* w) {
                ++paperDialogs;
                static_cast<QDialog*>(w)->accept();
            });
        TDesignForm& window = Window();
        window.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.Document().DocumentOpen; }));
        const TDesignDocument& d = window.Document();
        if (c.lastExists) {
            EXPECT_EQ(paperDialogs, 0);
            EXPECT_EQ(d.FileName, last);
            EXPECT_FALSE(d.Modified);
            EXPECT_EQ(window.windowTitle(), QStringLiteral("文面印刷 - last"));
        } else {
            EXPECT_EQ(paperDialogs, 1);
            EXPECT_TRUE(d.FileName.isEmpty());
            EXPECT_TRUE(d.Modified);
            EXPECT_TRUE(d.ZOrder.empty());
            EXPECT_EQ(d.PaperPixelSize, QSize(378, 559));
            EXPECT_EQ(window.windowTitle(), QStringLiteral("文面印刷 - 新規"));
            EXPECT_TRUE(Action("actSave")->isEnabled());
        }
        delete m_window.data();
        QFile::remove(last);
    }
}

TEST_F(DesignFormTest, StartMenuOffersTheMessageSideChoices)
{
    const QString last = GoldenDesign(QStringLiteral("last"));
    WriteSettings(Design, {{"History1", last}});
    {
        // Cancel: no design; the last file was the default.
        ModalDriver driver;
        bool offered = false;
        driver.on(QStringLiteral("PrintMenuDialog"), [&](QWidget* w) {
            offered = w->findChild<QRadioButton*>(QStringLiteral("rbContinue"))->isChecked();
            static_cast<QDialog*>(w)->reject();
        });
        Start(driver, 1);
        EXPECT_TRUE(offered);
        EXPECT_FALSE(Window().Document().DocumentOpen);
        EXPECT_EQ(Window().windowTitle(), QStringLiteral("文面印刷"));
    }
    delete m_window.data();
    {
        // Open, and the menu not to be shown again.
        ModalDriver driver;
        driver.on(QStringLiteral("PrintMenuDialog"), [](QWidget* w) {
            w->findChild<QRadioButton*>(QStringLiteral("rbOpen"))->setChecked(true);
            w->findChild<QCheckBox*>(QStringLiteral("ckbShowMenu"))->setChecked(false);
            static_cast<QDialog*>(w)->accept();
        });
        driver.on(QStringLiteral("PrintDataOpenDialog"), [](QWidget* w) {
            auto* list = w->findChild<QTreeWidget*>(QStringLiteral("lvFile"));
            list->setCurrentItem(list->findItems(QStringLiteral("last"), Qt::MatchExactly).value(0));
            w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        });
        Start(driver, 2);
        EXPECT_FALSE(Action("mmiShowMenu")->isChecked());
        EXPECT_EQ(Window().Document().FileName, last);
    }
}

TEST_F(DesignFormTest, SaveQuestionOnClosing)
{
    const QString path = GoldenDesign(QStringLiteral("kept"));
    TDesignForm& window = Window();
    ASSERT_TRUE(window.LoadFromFile(path));
    TDesignDocument& d = window.Document();
    d.Modified = true;

    // Cancel, and No then No, keep the window and the changes.
    m_messages.answer(MsgSeam::IdCancel);
    EXPECT_FALSE(window.close());
    m_messages.answer(MsgSeam::IdNo).answer(MsgSeam::IdNo);
    EXPECT_FALSE(window.close());
    ASSERT_EQ(m_messages.count(), 3);
    EXPECT_EQ(m_messages.messages()[0].text, QStringLiteral("文面印刷のデザインの変更を保存しますか？  "));
    EXPECT_EQ(m_messages.last().text,
              QStringLiteral("文面印刷のデザインは変更前の状態に戻ります  \r\n本当によろしいですか？"));
    EXPECT_TRUE(m_window);
    EXPECT_TRUE(d.Modified);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("文面印刷 - kept (更新)"));

    // Yes saves to the design's file.
    QFile::remove(path);
    m_messages.answer(MsgSeam::IdYes);
    EXPECT_TRUE(window.ConfirmSave());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(d.Modified);

    // No then Yes discards the changes and the window closes.
    d.Modified = true;
    m_messages.answer(MsgSeam::IdNo).answer(MsgSeam::IdYes);
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_window; }));
}

TEST_F(DesignFormTest, YesOnANewDesignGoesThroughSaveAs)
{
    TDesignForm& window = Window();
    ModalDriver driver;
    driver.on(QStringLiteral("NewDesignDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
    window.actNewExecute();
    ASSERT_TRUE(window.Document().Modified);
    // Save as cancelled: the design stays, still changed.
    driver.on(QStringLiteral("PrintDataSaveDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    m_messages.answer(MsgSeam::IdYes);
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.Document().Modified);
    // Saved under a name: the window may close.
    driver.on(QStringLiteral("PrintDataSaveDialog"), [](QWidget* w) {
        w->findChild<QLineEdit*>(QStringLiteral("edTitle"))->setText(QStringLiteral("card"));
        w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    m_messages.answer(MsgSeam::IdYes);
    EXPECT_TRUE(window.ConfirmSave());
    const QString saved = DesignFolder + QStringLiteral("card.gpd");
    EXPECT_TRUE(QFile::exists(saved));
    EXPECT_EQ(window.RecentFiles().value(0), saved);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("文面印刷 - card"));
}

TEST_F(DesignFormTest, LoadedDesignIsShownAndABadFileChangesNothing)
{
    TDesignForm& window = Window();
    ModalDriver driver;
    driver.on(QStringLiteral("PrintMenuDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    Start(driver, 1);

    ASSERT_TRUE(window.LoadFromFile(GoldenDesign(QStringLiteral("every"))));
    const TDesignDocument* shown = &window.Document();
    EXPECT_EQ(ComboEntries(), (QStringList{"なし", "文章1", "図形1", "QRコード1", "差出人"}));
    EXPECT_EQ(shown->ZOrder.size(), 4u);
    EXPECT_EQ(shown->ZOrder.front(), shown->SenderBlock());
    TPaperView* view = window.PaperView();
    QWidget* panel = view->Panel();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->width(), qRound(shown->PaperPixelSize.width() * shown->Zoom));
    // The colour background fills the paper inside its outline.
    const QImage picture = panel->grab().toImage();
    EXPECT_EQ(picture.pixelColor(3, picture.height() - 4), QColor(0xFF, 0xF0, 0xE0));
    // Choosing a frame in the box selects it.
    auto* combo = window.findChild<QComboBox*>(QStringLiteral("cbxViewRect"));
    emit combo->activated(4);
    EXPECT_EQ(shown->Selection, std::vector<TDrawRect*>{shown->SenderBlock()});

    // A file cut short is refused and the design stays.
    const QString bad = DesignFolder + QStringLiteral("bad.gpd");
    WriteFileBytes(bad, ReadFileBytes(GoldenDesignFile).left(400));
    m_messages.answer(MsgSeam::IdOk);
    EXPECT_FALSE(window.LoadFromFile(bad));
    EXPECT_EQ(m_messages.last().text, QStringLiteral("このファイルは有効な形式ではありません  "));
    EXPECT_EQ(&window.Document(), shown);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("文面印刷 - every"));
    EXPECT_EQ(window.RecentFiles().size(), 1);

    // Closing the design empties the window.
    window.actCloseExecute();
    EXPECT_FALSE(window.Document().DocumentOpen);
    EXPECT_EQ(ComboEntries(), QStringList{QStringLiteral("なし")});
    EXPECT_EQ(window.windowTitle(), QStringLiteral("文面印刷"));
}

TEST_F(DesignFormTest, PrototypesAreWrittenAtCloseOnlyAfterAChange)
{
    const QString file = DataFolder + QStringLiteral("DrRect.def");
    Window();
    delete m_window.data();
    EXPECT_FALSE(QFile::exists(file));

    // A design with a sender block hands its block to the sender prototype.
    ASSERT_TRUE(Window().LoadFromFile(GoldenDesign(QStringLiteral("every"))));
    const QByteArray title = Window().Prototypes().Sender.SenderTitle();
    delete m_window.data();
    ASSERT_TRUE(QFile::exists(file));
    TDesignPrototypes read;
    LoadDesignPrototypes(file, read);
    EXPECT_EQ(read.Sender.SenderTitle(), title);
    EXPECT_FALSE(title.isEmpty());
}

} // namespace
