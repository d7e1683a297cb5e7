// The label and card window: the mode switch before showing, each mode's settings section and printer file,
// new layouts from the start menu, saving, opening and the recent files, closing, the selected-frame combo,
// the double click on the barcode, the preview lock and the refresh hooks.
#include "core/AppSub.h"
#include "core/MainSettings.h"
#include "designers/LabelForm.h"
#include "designers/PaperView.h"
#include "layoutobjects/PrinterInfo.h"
#include "platform/DisplayList.h"
#include "platform/IniFile.h"
#include "platform/Printers.h"
#include "support/DesignerFolders.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

using namespace LayoutSettingsField;

class LabelFormTest : public ::testing::Test, protected TDesignerFolders
{
protected:
    void SetUp() override { ASSERT_TRUE(FoldersMade()); }
    void TearDown() override { delete m_window.data(); }
    TLabelForm& Window(quint8 mode = LabelModeLabel, TLayoutSources sources = {})
    {
        if (!m_window) {
            m_window = new TLabelForm(std::move(sources));
            m_window->SetCardMode(mode == LabelModeCard);
        }
        return *m_window;
    }
    // Shows the window and takes the start menu's new layout on the paper the dialog offers.
    TLabelForm& NewLayout(quint8 mode, TLayoutSources sources = {})
    {
        TLabelForm& window = Window(mode, std::move(sources));
        ModalDriver driver;
        driver.on(QStringLiteral("PrintMenuDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
        driver.on(QStringLiteral("NewLabelDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
        window.show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.Document().DocumentOpen; }));
        return window;
    }
    QAction* Action(const char* name) { return m_window->findChild<QAction*>(QString::fromLatin1(name)); }
    // Saves the new layout under a title through the save dialog.
    void SaveUnder(const QString& title)
    {
        ModalDriver driver;
        driver.on(QStringLiteral("PrintDataSaveDialog"), [title](QWidget* w) {
            w->findChild<QLineEdit*>(QStringLiteral("edTitle"))->setText(title);
            w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        });
        Action("actSave")->trigger();
    }
    QStringList ComboEntries() { return RectComboEntries(*m_window); }
    // A click, then the double click's press and its release (which runs the command).
    static void DoubleClick(QWidget* panel, QPoint p)
    {
        QTest::mouseClick(panel, Qt::LeftButton, {}, p);
        for (const auto& [type, buttons] : {std::pair{QEvent::MouseButtonDblClick, Qt::LeftButton},
                                            std::pair{QEvent::MouseButtonRelease, Qt::NoButton}}) {
            QMouseEvent event(type, QPointF(p), panel->mapToGlobal(QPointF(p)), Qt::LeftButton, buttons, {});
            QApplication::sendEvent(panel, &event);
        }
    }
    static QPoint Centre(const TDrawRect* frame)
    {
        const TRect r = frame->GetScreenRect();
        return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    QPointer<TLabelForm> m_window;
    MessageRecorder m_messages;
};

TEST_F(LabelFormTest, CardModeIsSwitchedOnlyBeforeShowing)
{
    TLabelForm& window = Window();
    window.SetCardMode(false);
    EXPECT_FALSE(window.IsCardMode());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("ラベル印刷"));
    EXPECT_NE(window.Document().Simple().Barcode, nullptr);

    window.SetCardMode(true);
    EXPECT_TRUE(window.IsCardMode());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("名刺印刷"));
    EXPECT_EQ(Action("actNew")->statusTip(), QStringLiteral("新規作成|新しく名刺のレイアウトを作成します"));
    // The card document: the sender shown, the sets of 7 and 12 without a barcode.
    const TLayoutDocument& d = window.Document();
    EXPECT_TRUE(d.IsCardMode());
    EXPECT_EQ(d.DataSource, 2);
    EXPECT_EQ(d.SimpleFrames().size(), 7u);
    EXPECT_EQ(d.DetailedFrames().size(), 12u);
    EXPECT_EQ(ComboEntries(), QStringList{QStringLiteral("なし")});
}

// Each mode reads its own section and the printer file of the other's name; the recent files keep only the
// mode's folder up to the first empty entry; a stored width of 300 opens at the minimum.
TEST_F(LabelFormTest, EachModeReadsItsSectionAndPrinterFile)
{
    struct Case
    {
        quint8 mode;
        QString section, other, printerFile, extension;
    };
    const Case cases[] = {{LabelModeLabel, "LABEL", "CARD", "Card.pi", ".gpa"},
                          {LabelModeCard, "CARD", "LABEL", "Label.pi", ".gpc"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section.toStdString());
        std::vector<std::unique_ptr<TPrinter>> printers;
        printers.push_back(std::make_unique<TPdfPrinter>(VirtualPdfPrinterName, DataFolder + "out", true));
        TPrinterList::Instance().SetPrinters(std::move(printers), 0);
        const QString folder = LabelDocumentFolder(c.mode);
        WriteSettings(c.section, {{"Left", "10"},
                                  {"Top", "20"},
                                  {"Width", "300"},
                                  {"Height", "300"},
                                  {"Menu", "1"},
                                  {"Grid", "2"},
                                  {"History1", folder + "a" + c.extension},
                                  {"History2", DataFolder + "b" + c.extension},
                                  {"History3", ""},
                                  {"History4", folder + "c" + c.extension}});
        WriteSettings(c.other, {{"Width", "900"}, {"Grid", "3"}});
        TLabelForm& window = Window(c.mode);
        ModalDriver driver;
        driver.on(QStringLiteral("PrintMenuDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
        window.show();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return driver.handled() == 1 && !QApplication::activeModalWidget(); }));
        EXPECT_EQ(window.width(), ScaleByDpi(LabelMinWidth, 1));
        EXPECT_EQ(window.height(), ScaleByDpi(LabelMinHeight, 1));
        EXPECT_EQ(window.RecentFiles(), QStringList{folder + "a" + c.extension});
        EXPECT_EQ(window.PaperView()->GridSize(), 2);
        ASSERT_NE(window.Printer(), nullptr);
        EXPECT_EQ(window.Printer()->FileName, DataRootFolder + c.printerFile);
        EXPECT_FALSE(window.Document().DocumentOpen);

        window.close();
        QTest::qWait(0);
        EXPECT_TRUE(QFile::exists(DataRootFolder + c.printerFile));
        const TMemIniFile ini = Ini();
        EXPECT_EQ(ini.ReadInteger(c.section, "Width", 0), LabelMinWidth);
        EXPECT_EQ(ini.ReadString(c.section, "History1", ""), folder + "a" + c.extension);
        EXPECT_FALSE(ini.ValueExists(c.section, "History2"));
        EXPECT_EQ(ini.ReadInteger(c.other, "Width", 0), 900);
        delete m_window.data();
        QFile::remove(DataRootFolder + c.printerFile);
    }
}

TEST_F(LabelFormTest, NewLabelAndNewCardFromTheStartMenu)
{
    {
        TLabelForm& window = NewLayout(LabelModeLabel);
        const TLayoutDocument& d = window.Document();
        EXPECT_EQ(window.windowTitle(), QStringLiteral("ラベル印刷 - 新規"));
        EXPECT_TRUE(d.Modified);
        EXPECT_TRUE(Action("actSave")->isEnabled());
        EXPECT_EQ(d.DataSource, 1);
        EXPECT_EQ(d.Paper.Kind, PaperLabel);
        EXPECT_EQ(d.Settings.Honorific(DefaultHonorific), QStringLiteral("様"));
        EXPECT_EQ(d.Settings.Int(RecipientPostalMark), 2);
        EXPECT_EQ(ComboEntries().mid(0, 4), (QStringList{"なし", "郵便番号", "住所", "名前"}));
        delete m_window.data();
    }
    TLabelForm& window = NewLayout(LabelModeCard);
    const TLayoutDocument& d = window.Document();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("名刺印刷 - 新規"));
    EXPECT_EQ(d.Paper.Kind, PaperCard);
    EXPECT_EQ(d.DataSource, 2);
    EXPECT_TRUE(d.Settings.Honorific(DefaultHonorific).isEmpty());
    EXPECT_EQ(d.Settings.Int(RecipientPostalMark), 1);
    // The sender's names; a card never lists a barcode, even in the individual set.
    EXPECT_EQ(ComboEntries(), (QStringList{"なし", "差出人郵便番号", "差出人住所", "差出人名前"}));
    window.Document().SetIndividualLayout(true);
    window.UpdateRectList();
    EXPECT_FALSE(ComboEntries().contains(QStringLiteral("バーコード")));
    EXPECT_TRUE(ComboEntries().contains(QStringLiteral("差出人部署１")));
    EXPECT_EQ(m_messages.count(), 0);
}

TEST_F(LabelFormTest, SavedLayoutReopensAndLeadsTheRecentFiles)
{
    TLabelForm& window = NewLayout(LabelModeCard);
    SaveUnder(QStringLiteral("mine"));
    const QString path = CardFolder + QStringLiteral("mine.gpc");
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("名刺印刷 - mine"));
    EXPECT_EQ(window.RecentFiles().value(0), path);
    EXPECT_FALSE(Action("actSave")->isEnabled());

    // A label file is not a card: refused, the card stays.
    TLayoutDocument* before = &window.Document();
    m_messages.allowUnexpected();
    EXPECT_FALSE(window.LoadFromFile(QStringLiteral(TOVAREL_TEST_DATA_DIR "designers/new-label.gpa")));
    EXPECT_EQ(&window.Document(), before);
    EXPECT_EQ(m_messages.count(), 1);

    ASSERT_TRUE(window.LoadFromFile(path));
    EXPECT_EQ(window.Document().FileName, path);
    EXPECT_FALSE(window.Document().Modified);
    EXPECT_EQ(window.RecentFiles(), QStringList{path});

    // A change shows in the caption; closing asks in the card's words.
    TDrawRect* name = window.Document().Simple().Name;
    QWidget* panel = window.PaperView()->Panel();
    QTest::mouseClick(panel, Qt::LeftButton, {}, Centre(name));
    QTest::keyClick(panel, Qt::Key_Down);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("名刺印刷 - mine (更新)"));
    m_messages.answer(MsgSeam::IdCancel);
    EXPECT_FALSE(window.close());
    EXPECT_EQ(m_messages.last().text, QStringLiteral("名刺印刷のレイアウトの変更を保存しますか？  "));
}

// Close asks first: Cancel and a refused second question keep the layout; Yes saves and closes; No with the
// second question agreed closes without saving. The paper and the data source stay for the next layout.
TEST_F(LabelFormTest, CloseAsksAndEmptiesTheWindow)
{
    TLabelForm& window = NewLayout(LabelModeLabel);
    SaveUnder(QStringLiteral("closing"));
    const QString path = LabelFolder + QStringLiteral("closing.gpa");
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(Action("actClose")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F4));
    EXPECT_TRUE(Action("actClose")->isEnabled());
    auto moveName = [&] {
        TDrawRect* name = window.Document().Simple().Name;
        QWidget* panel = window.PaperView()->Panel();
        QTest::mouseClick(panel, Qt::LeftButton, {}, Centre(name));
        QTest::keyClick(panel, Qt::Key_Down);
        EXPECT_TRUE(window.Document().Modified);
        return name->GetDesignRect();
    };
    const TRect saved = moveName();
    m_messages.answer(MsgSeam::IdCancel);
    Action("actClose")->trigger();
    m_messages.answer(MsgSeam::IdNo).answer(MsgSeam::IdNo);
    Action("actClose")->trigger();
    EXPECT_EQ(m_messages.count(), 3);
    EXPECT_EQ(m_messages.last().text, LabelDiscardQuestion(LabelModeLabel, true));
    EXPECT_TRUE(window.Document().DocumentOpen);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("ラベル印刷 - closing (更新)"));

    auto expectClosed = [&] {
        const TLayoutDocument& d = window.Document();
        EXPECT_FALSE(d.DocumentOpen);
        EXPECT_FALSE(d.Modified);
        EXPECT_TRUE(d.FileName.isEmpty());
        EXPECT_TRUE(d.Stacking.empty());
        EXPECT_EQ(d.Undo.Count(), 0);
        EXPECT_EQ(d.DataSource, 1);
        EXPECT_EQ(d.Paper.Kind, PaperLabel);
        EXPECT_EQ(window.windowTitle(), QStringLiteral("ラベル印刷"));
        EXPECT_FALSE(window.PaperView()->Panel()->isVisible());
        EXPECT_EQ(ComboEntries(), QStringList{QStringLiteral("なし")});
        EXPECT_FALSE(Action("actClose")->isEnabled());
        EXPECT_FALSE(Action("actSave")->isEnabled());
    };
    m_messages.answer(MsgSeam::IdYes);
    Action("actClose")->trigger();
    expectClosed();
    ASSERT_TRUE(window.LoadFromFile(path));
    EXPECT_EQ(window.Document().Simple().Name->GetDesignRect(), saved);

    moveName();
    m_messages.answer(MsgSeam::IdNo).answer(MsgSeam::IdYes);
    Action("actClose")->trigger();
    expectClosed();
    ASSERT_TRUE(window.LoadFromFile(path));
    EXPECT_EQ(window.Document().Simple().Name->GetDesignRect(), saved);
    // An unchanged layout closes without a question.
    const int asked = m_messages.count();
    Action("actClose")->trigger();
    EXPECT_FALSE(window.Document().DocumentOpen);
    EXPECT_EQ(m_messages.count(), asked);
}

TEST_F(LabelFormTest, ComboPicksFramesAndFollowsTheSelection)
{
    TLabelForm& window = NewLayout(LabelModeLabel);
    auto* combo = window.findChild<QComboBox*>(QStringLiteral("cbxViewRect"));
    TLayoutDocument& d = window.Document();
    combo->setCurrentIndex(3);
    emit combo->activated(3);
    ASSERT_EQ(d.Selection, std::vector<TDrawRect*>{d.Simple().Name});
    emit combo->activated(0);
    EXPECT_TRUE(d.Selection.empty());

    QTest::mouseClick(window.PaperView()->Panel(), Qt::LeftButton, {}, Centre(d.Simple().Address));
    EXPECT_EQ(combo->currentText(), QStringLiteral("住所"));

    // A placed item and barcode follow the set switch into the individual set's list, and back.
    d.Additions(false)[1]->SetVisible(true);
    d.Simple().Barcode->SetVisible(true);
    d.SetIndividualLayout(true);
    window.UpdateRectList();
    EXPECT_EQ(ComboEntries(), (QStringList{"なし", "郵便番号", "住所１", "住所２", "住所３", "名前", "会社",
                                           "部署", "役職", "追加情報２", "バーコード"}));
    d.SetIndividualLayout(false);
    window.UpdateRectList();
    EXPECT_EQ(ComboEntries(), (QStringList{"なし", "郵便番号", "住所", "名前", "追加情報２", "バーコード"}));
}

TEST_F(LabelFormTest, DoubleClickOnTheBarcodeOpensTheAdditionalInformation)
{
    TLabelForm& window = NewLayout(LabelModeLabel);
    TLayoutDocument& d = window.Document();
    TBarcodeRect* barcode = d.Simple().Barcode;
    ASSERT_FALSE(d.BarcodeImpossible);
    barcode->SetVisible(true);
    d.InsertIntoStacking(barcode, true);
    window.PaperView()->sbxPreviewResize();
    QSignalSpy addition(Action("actAdditionSet"), &QAction::triggered);
    QSignalSpy font(Action("actFont"), &QAction::triggered);
    Action("actAdditionSet")->setEnabled(true);
    Action("actFont")->setEnabled(true);
    QWidget* panel = window.PaperView()->Panel();
    ModalDriver driver;
    driver.on(QStringLiteral("AdditionInfoDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    driver.on(QStringLiteral("LayoutFontDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    DoubleClick(panel, Centre(barcode));
    EXPECT_EQ(addition.count(), 1);
    DoubleClick(panel, Centre(d.Simple().Name));
    EXPECT_EQ(font.count(), 1);
    EXPECT_EQ(addition.count(), 1);
}

TEST_F(LabelFormTest, PreviewLocksTheEditing)
{
    TLabelForm& window = NewLayout(LabelModeLabel);
    TLayoutDocument& d = window.Document();
    const QPoint name = Centre(d.Simple().Name);
    const TRect before = d.Simple().Name->GetDesignRect();
    window.PaperView()->SetPreviewPage(std::make_shared<TDisplayList>(), d.DesignSize);
    QWidget* panel = window.PaperView()->Panel();
    QTest::mouseClick(panel, Qt::LeftButton, {}, name);
    QTest::keyClick(panel, Qt::Key_Down);
    EXPECT_TRUE(d.Selection.empty());
    EXPECT_EQ(d.Simple().Name->GetDesignRect(), before);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("ラベル印刷 - 新規"));
}

TEST_F(LabelFormTest, RefreshHooksMergeOnlyTheAddressBook)
{
    auto list = std::make_unique<TMemoryAddressList>();
    TMemoryAddressList* rows = list.get();
    TMemoryRow record;
    record.Fields = {{"RecNo", 1}, {"Pos", "1000001"}};
    rows->Rows = {record};
    TLayoutSources sources;
    sources.AddressList = std::move(list);
    TLabelForm& window = NewLayout(LabelModeLabel, std::move(sources));
    TPosRect* postal = window.Document().Simple().Postal;
    EXPECT_EQ(postal->Text(), QStringLiteral("１００-０００１"));

    rows->Rows[0].Fields["Pos"] = "2000002";
    window.RefreshDataAfterEdit();
    EXPECT_EQ(postal->Text(), QStringLiteral("２００-０００２"));
    // Showing the sender, the hooks leave the frames alone.
    window.Document().DataSource = 2;
    rows->Rows[0].Fields["Pos"] = "3000003";
    window.RefreshData();
    EXPECT_EQ(postal->Text(), QStringLiteral("２００-０００２"));
}

} // namespace
