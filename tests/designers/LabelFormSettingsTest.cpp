// The label and card window's settings commands through their dialogs: Cancel changing nothing, the same paper
// again, the paper command after a file whose paper is gone, additional items with undo, the card's barcode
// controls, the details switching to and editing the individual set, new layouts kept by Cancel, the card's
// sender side, and the arrangement commands.
#include "designers/LabelForm.h"
#include "designers/PaperView.h"
#include "layoutobjects/NewLabel.h"
#include "layoutobjects/WordRect.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/DesignerFolders.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

namespace {

void Accept(QWidget* dialog)
{
    static_cast<QDialog*>(dialog)->accept();
}

void Reject(QWidget* dialog)
{
    static_cast<QDialog*>(dialog)->reject();
}

template <class T> T* Child(QWidget* parent, const char* name)
{
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

class LabelFormSettingsTest : public ::testing::Test
{
protected:
    ~LabelFormSettingsTest() override { delete m_window.data(); }
    // The shown window of the mode with the new layout the start menu offers, unmodified.
    TLabelForm& Open(quint8 mode = LabelModeLabel)
    {
        m_window = new TLabelForm();
        m_window->SetCardMode(mode == LabelModeCard);
        ModalDriver driver;
        driver.on(QStringLiteral("PrintMenuDialog"), Accept).on(QStringLiteral("NewLabelDialog"), Accept);
        m_window->show();
        EXPECT_TRUE(QTest::qWaitFor([this] { return m_window->Document().DocumentOpen; }));
        m_window->Document().Modified = false;
        return *m_window;
    }
    // Runs an action while a dialog named dialog is handled.
    void Run(const char* action, const char* dialog, const ModalDriver::Handler& handler)
    {
        ModalDriver driver;
        driver.on(QString::fromLatin1(dialog), handler);
        m_window->findChild<QAction*>(QString::fromLatin1(action))->trigger();
    }

    TDesignerFolders m_folders;
    QPointer<TLabelForm> m_window;
    MessageRecorder m_messages;
};

TEST_F(LabelFormSettingsTest, CancelInEveryDialogChangesNothing)
{
    TLabelForm& window = Open();
    TLayoutDocument& d = window.Document();
    d.Undo.Push(std::make_unique<TUndoDatas>(UndoMove));
    const QByteArray before = d.EncodeLayoutFile(QByteArray());
    const std::vector<TDrawRect*> stacking = d.Stacking;
    const std::pair<const char*, const char*> commands[] = {{"actFormat", "NewLabelDialog"},
                                                            {"actAdditionSet", "AdditionInfoDialog"},
                                                            {"actDetail", "LayoutDetailDialog"},
                                                            {"actDataForm", "DataFormDialog"},
                                                            {"actNew", "NewLabelDialog"}};
    for (const auto& [action, dialog] : commands) {
        SCOPED_TRACE(action);
        Run(action, dialog, Reject);
        EXPECT_EQ(&window.Document(), &d);
        EXPECT_EQ(d.EncodeLayoutFile(QByteArray()), before);
        EXPECT_EQ(d.Stacking, stacking);
        EXPECT_EQ(d.Undo.Count(), 1);
        EXPECT_FALSE(d.Modified);
    }
    EXPECT_EQ(m_messages.count(), 0);
}

// The paper dialog opens as the change on the paper and side shown; taking them again changes nothing.
TEST_F(LabelFormSettingsTest, SamePaperAgainChangesNothing)
{
    TLabelForm& window = Open(LabelModeCard);
    TLayoutDocument& d = window.Document();
    d.Undo.Push(std::make_unique<TUndoDatas>(UndoMove));
    Run("actFormat", "NewLabelDialog", [&](QWidget* w) {
        auto* dialog = static_cast<TNewLabelDialog*>(w);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("用紙の変更"));
        EXPECT_EQ(dialog->FormatIndex, d.PaperIndex);
        EXPECT_EQ(dialog->GetSide(), 1);
        dialog->accept();
    });
    EXPECT_FALSE(d.Modified);
    EXPECT_EQ(d.Undo.Count(), 1);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("名刺印刷 - 新規"));
}

// A layout whose paper was deleted opens the paper command after loading; a paper chosen there is taken.
TEST_F(LabelFormSettingsTest, LostPaperRunsThePaperCommand)
{
    TLabelForm& window = Open();
    TLayoutDocument& d = window.Document();
    const qint32 shipped = d.PaperIndex;
    d.PaperIndex = -42;
    const QString path = LabelFolder + QStringLiteral("gone.gpa");
    WriteFileBytes(path, d.EncodeLayoutFile(QByteArray()));
    d.PaperIndex = shipped;
    m_messages.allowUnexpected();
    QString title;
    {
        ModalDriver driver;
        driver.on(QStringLiteral("NewLabelDialog"), [&](QWidget* w) {
            title = w->windowTitle();
            Accept(w);
        });
        ASSERT_TRUE(window.LoadFromFile(path));
    }
    EXPECT_EQ(title, QStringLiteral("用紙の変更"));
    EXPECT_TRUE(window.Document().PaperFound);
    EXPECT_EQ(window.Document().PaperIndex, shipped);
    EXPECT_TRUE(window.Document().Modified);
}

// An item ticked and typed in the dialog is placed, focused, listed and undone as one action.
TEST_F(LabelFormSettingsTest, AdditionalItemThroughTheDialog)
{
    TLabelForm& window = Open();
    TLayoutDocument& d = window.Document();
    Run("actAdditionSet", "AdditionInfoDialog", [](QWidget* w) {
        EXPECT_TRUE(Child<QCheckBox>(w, "ckbBarcode")->isEnabled());
        Child<QCheckBox>(w, "ckbAddition1")->setChecked(true);
        Child<QComboBox>(w, "cbxAddition1")->setEditText(QStringLiteral("割れ物注意"));
        Accept(w);
    });
    TAdditionRect* item = d.Additions(false)[0];
    EXPECT_TRUE(item->Visible());
    EXPECT_EQ(item->Text(), QStringLiteral("割れ物注意"));
    EXPECT_EQ(d.Stacking.front(), item);
    EXPECT_EQ(d.Selection, std::vector<TDrawRect*>{item});
    EXPECT_EQ(d.Undo.Count(), 1);
    EXPECT_TRUE(d.Modified);
    EXPECT_EQ(window.findChild<QComboBox*>(QStringLiteral("cbxViewRect"))->currentText(),
              QStringLiteral("追加情報１"));
}

TEST_F(LabelFormSettingsTest, CardBarcodeControlsAreDisabled)
{
    Open(LabelModeCard);
    Run("actAdditionSet", "AdditionInfoDialog", [](QWidget* w) {
        EXPECT_FALSE(Child<QCheckBox>(w, "ckbBarcode")->isEnabled());
        EXPECT_FALSE(Child<QCheckBox>(w, "ckbBarcode")->isChecked());
        EXPECT_FALSE(Child<QComboBox>(w, "cbxBarSize")->isEnabled());
        Accept(w);
    });
    EXPECT_EQ(m_window->Document().Undo.Count(), 0);
}

// Manual layout switches to the individual set and empties the history; then unticking the title takes it
// off the paper.
TEST_F(LabelFormSettingsTest, DetailsSwitchAndEditTheIndividualSet)
{
    TLabelForm& window = Open();
    TLayoutDocument& d = window.Document();
    d.Undo.Push(std::make_unique<TUndoDatas>(UndoMove));
    Run("actDetail", "LayoutDetailDialog", [](QWidget* w) {
        Child<QCheckBox>(w, "ckbAuto")->setChecked(false);
        Child<QCheckBox>(w, "ckbPost")->setChecked(true);
        Accept(w);
    });
    ASSERT_TRUE(d.DetailedSet);
    TCorpRect* title = d.Detailed().Corp[2];
    EXPECT_GE(d.StackingIndex(title), 0);
    EXPECT_EQ(d.Undo.Count(), 0);

    d.Selection = {title};
    d.FocusIndex = 0;
    Run("actDetail", "LayoutDetailDialog", [](QWidget* w) {
        EXPECT_TRUE(Child<QCheckBox>(w, "ckbPost")->isChecked());
        Child<QCheckBox>(w, "ckbPost")->setChecked(false);
        Accept(w);
    });
    EXPECT_TRUE(d.DetailedSet);
    EXPECT_EQ(d.StackingIndex(title), -1);
    EXPECT_TRUE(d.Selection.empty());
    EXPECT_FALSE(window.findChild<QComboBox*>(QStringLiteral("cbxViewRect"))->findText(QStringLiteral("役職")) >= 0);
}

// New: a cancelled paper dialog and a cancelled save question keep the changed layout; a card offers the
// sender side.
TEST_F(LabelFormSettingsTest, NewKeepsTheLayoutOnCancel)
{
    for (quint8 mode : {LabelModeLabel, LabelModeCard}) {
        SCOPED_TRACE(mode);
        delete m_window.data();
        TLabelForm& window = Open(mode);
        TLayoutDocument& d = window.Document();
        d.Modified = true;
        Run("actNew", "NewLabelDialog", [mode](QWidget* w) {
            EXPECT_EQ(static_cast<TNewLabelDialog*>(w)->GetSide(), mode == LabelModeCard ? 1 : 0);
            Reject(w);
        });
        EXPECT_EQ(&window.Document(), &d);
        const int asked = m_messages.count();
        m_messages.answer(MsgSeam::IdCancel);
        Run("actNew", "NewLabelDialog", Accept);
        EXPECT_EQ(&window.Document(), &d);
        EXPECT_TRUE(d.Modified);
        ASSERT_EQ(m_messages.count(), asked + 1);
        EXPECT_EQ(m_messages.last().text, LabelSaveQuestion(mode));
    }
}

// The arrangement commands run on the selection, and do nothing without a layout.
TEST_F(LabelFormSettingsTest, ArrangementCommands)
{
    TLabelForm& window = Open();
    TLayoutDocument& d = window.Document();
    TDrawRect* name = d.Simple().Name;
    d.Selection = {name};
    d.FocusIndex = 0;
    window.UpdateCommandStates();
    window.findChild<QAction*>(QStringLiteral("actPaperCenterH"))->trigger();
    const TRect r = name->GetDesignRect();
    EXPECT_LE(qAbs(r.left + r.right - d.DesignSize.width()), 1);
    EXPECT_EQ(d.Undo.Count(), 1);
    window.findChild<QAction*>(QStringLiteral("actBottom"))->trigger();
    EXPECT_EQ(d.Stacking.back(), name);
    window.findChild<QAction*>(QStringLiteral("actDefaultLayout"))->trigger();
    const TPresetRect& p = d.Paper.Rects1[2];
    EXPECT_EQ(name->GetDesignRect(), (TRect{p.Left, p.Top, p.Right, p.Bottom}));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("ラベル印刷 - 新規"));
    for (const char* parent : {"actRectPos", "actRectUnite", "actZOrder"})
        EXPECT_NE(window.findChild<QAction*>(QString::fromLatin1(parent)), nullptr) << parent;

    d.DocumentOpen = false;
    const int actions = d.Undo.Count();
    for (const char* command : {"actPaperCenter", "actRectTop", "actTop", "actDefaultLayout", "actFormat",
                                "actAdditionSet", "actDetail", "actDataForm", "actSenderEdit", "actNext"})
        window.findChild<QAction*>(QString::fromLatin1(command))->trigger();
    EXPECT_EQ(d.Undo.Count(), actions);
}

} // namespace
