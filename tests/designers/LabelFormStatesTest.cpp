// The label window's command states, recent files, context menu and card mode.
#include "core/MainSettings.h"
#include "core/PDFHelp.h"
#include "designers/LabelForm.h"
#include "layoutobjects/FigureRect.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/QRCodeRect.h"
#include "layoutobjects/WordRect.h"
#include "platform/Printers.h"
#include "support/DesignerFolders.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

class LabelFormStatesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folders.FoldersMade());
        QDir().mkpath(DataFolder + QStringLiteral("elsewhere"));
    }
    void TearDown() override { delete m_window.data(); }
    // A shown window of the mode with a new layout from its start menu.
    TLabelForm& Open(quint8 mode)
    {
        m_window = new TLabelForm();
        m_window->SetCardMode(mode == LabelModeCard);
        ModalDriver driver;
        for (const char* dialog : {"PrintMenuDialog", "NewLabelDialog"})
            driver.on(QString::fromLatin1(dialog), [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
        m_window->show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return m_window->Document().DocumentOpen; }));
        return *m_window;
    }
    QStringList RecentItems() const
    {
        m_window->UpdateCommandStates();
        QStringList items;
        for (QAction* a : m_window->Commands().Recent().Menu()->actions())
            items << a->text() + (a->isEnabled() ? QString() : QStringLiteral(" (off)"));
        return items;
    }

    TDesignerFolders m_folders;
    QPointer<TLabelForm> m_window;
    MessageRecorder m_messages;
};

TEST_F(LabelFormStatesTest, CardModeCaptionHelpHintsAndRecentFilesFromTheCardFolder)
{
    TLabelForm& window = Open(LabelModeCard);
    EXPECT_TRUE(window.windowTitle().startsWith(QStringLiteral("名刺印刷")));
    EXPECT_EQ(HelpContextOf(&window), 96);
    auto* newAction = window.findChild<QAction*>(QStringLiteral("actNew"));
    EXPECT_EQ(newAction->statusTip(), QStringLiteral("新規作成|新しく名刺のレイアウトを作成します"));
    EXPECT_EQ(newAction->toolTip(), QStringLiteral("新規作成"));

    // Recent entries name a file; the item opens the file of that name in the card folder.
    const QString card = CardFolder + QStringLiteral("a.gpc");
    ASSERT_TRUE(window.SaveToFile(card));
    window.Document().FileName.clear();
    ASSERT_TRUE(window.SaveToFile(DataFolder + QStringLiteral("elsewhere/a.gpc")));
    // Saved under another name, the layout takes that name.
    ModalDriver driver;
    driver.on(QStringLiteral("PrintDataSaveDialog"), [](QWidget* w) {
        w->findChild<QLineEdit*>(QStringLiteral("edTitle"))->setText(QStringLiteral("b"));
        w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    ASSERT_TRUE(window.actSaveAsExecute());
    EXPECT_EQ(window.Document().FileName, CardFolder + QStringLiteral("b.gpc"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("名刺印刷 - b"));
    EXPECT_EQ(RecentItems(), (QStringList{"&1 b", "&2 a", "&3 a"}));
    EXPECT_EQ(window.Commands().Recent().Menu()->actions()[0]->statusTip(),
              QStringLiteral("最近開いた名刺印刷レイアウトを開きます"));

    // The first item is the open file: nothing happens, not even the save question.
    window.Document().Modified = true;
    window.Commands().Recent().Click(0);
    EXPECT_EQ(m_messages.count(), 0);
    EXPECT_EQ(window.Document().FileName, CardFolder + QStringLiteral("b.gpc"));

    window.Document().Modified = false;
    window.Commands().Recent().Click(1);
    EXPECT_EQ(window.Document().FileName, card);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("名刺印刷 - a"));

    // A file deleted on disk stays listed, disabled.
    ASSERT_TRUE(QFile::remove(CardFolder + QStringLiteral("b.gpc")));
    EXPECT_EQ(RecentItems(), (QStringList{"&1 a", "&2 b (off)", "&3 a"}));
    EXPECT_EQ(m_messages.count(), 0);
}

TEST_F(LabelFormStatesTest, LabelModeKeepsItsCaptionAndHelp)
{
    TLabelForm& window = Open(LabelModeLabel);
    EXPECT_TRUE(window.windowTitle().startsWith(QStringLiteral("ラベル印刷")));
    EXPECT_EQ(HelpContextOf(&window), 88);
    window.UpdateCommandStates();
    EXPECT_FALSE(window.Commands().Recent().Menu()->menuAction()->isEnabled());
    ASSERT_TRUE(window.SaveToFile(LabelFolder + QStringLiteral("x.gpa")));
    EXPECT_EQ(RecentItems(), QStringList{"&1 x"});
    EXPECT_TRUE(window.Commands().Recent().Menu()->menuAction()->isEnabled());
    EXPECT_EQ(window.Commands().Recent().Menu()->actions()[0]->statusTip(),
              QStringLiteral("最近開いたラベル印刷レイアウトを開きます"));
}

TEST_F(LabelFormStatesTest, ContextMenuOffersTheFocusedKindsCommands)
{
    TLabelForm& window = Open(LabelModeLabel);
    TLayoutDocument& d = window.Document();
    // Commands that other parts of the window bring; made here when they are not there yet.
    for (const char* name :
         {"actFont", "actDetail", "actDataForm", "actEditData", "actSenderEdit", "actIllust", "pmiIllustDef",
          "actRectPos", "actRectUnite", "actZOrder", "actDefaultLayout", "actCopy", "actPaste", "actDelete"})
        if (!DesignerAction(window, QString::fromLatin1(name)))
            (new QAction(QString::fromLatin1(name), &window))->setObjectName(QString::fromLatin1(name));
    // The free-frame lists: 0 illustrations, 1 texts, 3 QR codes.
    TDrawRect* illust = d.AddFreeFrame(0, std::make_unique<TIllustRect>());
    TDrawRect* word = d.AddFreeFrame(1, std::make_unique<TWordRect>());
    TDrawRect* qr = d.AddFreeFrame(3, std::make_unique<TQRCodeRect>());
    const QString tail =
        QStringLiteral("mniRectPos mniRectUnite mniZOrder actDefaultLayout | actCopy actPaste actDelete");
    const QString fixed =
        QStringLiteral("actFont actDetail actDataForm | actEditData actSenderEdit actAdditionSet | ");
    struct Case
    {
        const char* what;
        TDrawRect* frame;
        QString items;
        const char* viewSet;
    };
    const Case cases[] = {
        {"no frame", nullptr, fixed + tail, nullptr},
        {"address frame", d.CurrentSet().at(1), fixed + tail, nullptr},
        {"illustration", illust, "actIllust pmiIllustDef pmiViewSet | " + tail, "actIllustSet"},
        {"text", word, "pmiViewSet | " + tail, "actWordSet"},
        {"QR code", qr, "pmiViewSet | " + tail, "actQRCodeSet"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        d.Selection.clear();
        d.FocusIndex = -1;
        if (c.frame) {
            d.Selection = {c.frame};
            d.FocusIndex = 0;
        }
        QMenu* menu = window.Commands().Popup();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(MenuItemNames(*menu), c.items);
        if (!c.viewSet)
            continue;
        // The view item runs the kind's settings command.
        QAction* target = window.findChild<QAction*>(QString::fromLatin1(c.viewSet));
        QSignalSpy ran(target, &QAction::triggered);
        target->setEnabled(true);
        QAction* viewSet = menu->findChild<QAction*>(QStringLiteral("pmiViewSet"));
        ASSERT_NE(viewSet, nullptr);
        viewSet->setEnabled(true);
        ModalDriver driver;
        driver.on<QDialog>([](QDialog* dialog) { dialog->reject(); });
        viewSet->trigger();
        EXPECT_EQ(ran.count(), 1);
    }
}

TEST_F(LabelFormStatesTest, StatesFollowTheDocumentAndPlaceholdersStayOff)
{
    TLabelForm& window = Open(LabelModeCard);
    TLayoutDocument& d = window.Document();
    auto enabled = [&](const char* name) {
        window.UpdateCommandStates();
        return window.findChild<QAction*>(QString::fromLatin1(name))->isEnabled();
    };
    EXPECT_TRUE(enabled("actSave"));
    EXPECT_TRUE(enabled("actSaveAs"));
    ASSERT_TRUE(window.SaveToFile(CardFolder + QStringLiteral("c.gpc")));
    EXPECT_FALSE(enabled("actSave"));
    // The frame commands that come later are never enabled while they do nothing.
    d.Selection = {d.CurrentSet().at(1)};
    d.FocusIndex = 0;
    EXPECT_TRUE(window.CommandState().FocusedHasText);
    auto* font = window.findChild<QAction*>(QStringLiteral("actFont"));
    if (font->property("pending").toBool())
        EXPECT_FALSE(enabled("actFont"));
    else
        EXPECT_TRUE(enabled("actFont"));

    // A change without a direct update is taken up when the event loop idles, once for many requests.
    d.Modified = true;
    auto* save = window.findChild<QAction*>(QStringLiteral("actSave"));
    QSignalSpy changed(save, &QAction::enabledChanged);
    window.Commands().Request();
    window.Commands().Request();
    EXPECT_FALSE(save->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return save->isEnabled(); }));
    EXPECT_EQ(changed.count(), 1);
}

} // namespace
