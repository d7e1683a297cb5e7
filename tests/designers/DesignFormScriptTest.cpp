// One scripted session on a postcard design in the design window, driven through its actions, the paper's
// mouse and drops and the picker's answer: frames added, pasted, arranged, the paper changed, the sender
// block shown and an item dragged. The design is saved after every step; each round of steps is then undone
// to its first state and redone, every saved file identical to the one saved on the way forward.
#include "core/MainSettings.h"
#include "designers/DesignForm.h"
#include "designers/DesignPaperFormat.h"
#include "designers/PaperView.h"
#include "layoutobjects/QRCodeRect.h"
#include "layoutobjects/SenderRect.h"
#include "layoutobjects/WordRect.h"
#include "platform/IniFile.h"
#include "platform/MessageSeam.h"
#include "support/DesignFixture.h"
#include "support/FakeImageToolLink.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/PanelMouse.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <functional>

namespace {

constexpr int ZoomIndex100 = 5;

// The program folder with one more postcard paper, twice as wide as the first: every entry of the real
// folder linked, the paper table copied with the new record appended.
QString ProgramWithWidePaper(const TDesignerFolders& folders)
{
    const QDir real(QStringLiteral(TOVAREL_PROGRAM_DIR));
    const QString program = folders.FilePath(QStringLiteral("program/"));
    EXPECT_TRUE(QDir().mkpath(program + QStringLiteral("Common")));
    for (const QString& name : real.entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        if (name != QStringLiteral("Common"))
            QFile::link(real.filePath(name), program + name);
    const QDir common(real.filePath(QStringLiteral("Common")));
    for (const QString& name : common.entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        if (name != DesignFormatFileName)
            QFile::link(common.filePath(name), program + QStringLiteral("Common/") + name);
    std::vector<TDesignPaperFormat> formats = LoadDesignFormats(common.filePath(DesignFormatFileName));
    EXPECT_FALSE(formats.empty());
    TDesignPaperFormat wide = formats.front();
    wide.SetName(ToAnsi(QStringLiteral("往復はがき")));
    wide.SetWidth(2 * wide.Width());
    formats.push_back(wide);
    QFile file(program + QStringLiteral("Common/") + DesignFormatFileName);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(EncodeDesignFormats(formats));
    return program;
}

struct TStep
{
    const char* what;
    std::function<void()> run;
};

class DesignFormScriptTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folders.FoldersMade());
        ProgramFolder = ProgramWithWidePaper(m_folders);
        // No start menu: the window starts with the new-design dialog, a postcard.
        m_folders.WriteSettings(QStringLiteral("LAYOUT"), {{QStringLiteral("Menu"), QStringLiteral("0")}});
        auto senders = std::make_unique<TMemorySenders>();
        senders->Rows = {SenderRow(1, "home", QStringLiteral("山田 太郎"))};
        TDesignSources sources;
        sources.Senders = std::move(senders);
        ModalDriver driver;
        driver.on(QStringLiteral("NewDesignDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
        m_window = new TDesignForm(std::move(sources));
        m_window->resize(1000, 760);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return Doc().DocumentOpen; }));
        m_window->findChild<QComboBox*>(QStringLiteral("cbxRatio"))->setCurrentIndex(ZoomIndex100);
        ASSERT_EQ(Doc().Zoom, 1.0);
        m_tool = new FakeImageToolLink;
        m_window->SetImageToolLink(m_tool);
    }
    void TearDown() override
    {
        if (m_window)
            Doc().Modified = false;
        delete m_window.data();
    }

    TDesignDocument& Doc() { return m_window->Document(); }
    QAction* Action(const char* name) { return m_window->findChild<QAction*>(QString::fromLatin1(name)); }
    void Trigger(const char* name)
    {
        QAction* action = Action(name);
        ASSERT_TRUE(action) << name;
        m_window->UpdateCommandStates();
        ASSERT_TRUE(action->isEnabled()) << name;
        action->trigger();
    }
    // Selection changes stand for the clicks the steps are not about.
    void Select(const std::vector<TDrawRect*>& frames, int focused = 0)
    {
        Doc().Selection = frames;
        Doc().FocusedIndex = focused;
        m_window->SyncRectCombo();
    }
    PanelMouse Mouse() const { return {m_window->PaperView()->Panel()}; }
    void DropOnPaper(const QString& path, QPoint at)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QWidget* panel = m_window->PaperView()->Panel();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(panel, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(panel, &drop);
    }
    QByteArray Saved()
    {
        const QString path = DesignFolder + QStringLiteral("session.gpd");
        EXPECT_TRUE(m_window->SaveToFile(path));
        // Saving ends item mode, and its check with it.
        EXPECT_FALSE(Action("actSenderLayout")->isChecked());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }
    // Runs the steps, saving after each, then undoes them all and redoes them through the window's actions.
    // The history is five actions deep, so a session is a series of rounds of at most five.
    void Round(const std::vector<TStep>& steps)
    {
        std::vector<QByteArray> saved{Saved()};
        for (const TStep& step : steps) {
            SCOPED_TRACE(step.what);
            const int recorded = Doc().Undo.Count();
            step.run();
            if (HasFatalFailure())
                return;
            EXPECT_EQ(Doc().Undo.Count(), std::min(recorded + 1, int(TUndoList::Depth)));
            saved.push_back(Saved());
            EXPECT_NE(saved.back(), saved[saved.size() - 2]);
        }
        for (size_t k = steps.size(); k > 0; --k) {
            SCOPED_TRACE(std::string("undo ") + steps[k - 1].what);
            Trigger("actUndo");
            EXPECT_EQ(Saved(), saved[k - 1]);
            EXPECT_TRUE(DesignConsistent(Doc()));
        }
        m_window->UpdateCommandStates();
        EXPECT_FALSE(Action("actUndo")->isEnabled());
        for (size_t k = 1; k <= steps.size(); ++k) {
            SCOPED_TRACE(std::string("redo ") + steps[k - 1].what);
            Trigger("actRedo");
            EXPECT_EQ(Saved(), saved[k]);
            EXPECT_TRUE(DesignConsistent(Doc()));
        }
        m_window->UpdateCommandStates();
        EXPECT_FALSE(Action("actRedo")->isEnabled());
    }
    // One more frame of a kind through its dialog, filled by fill (OK alone when none).
    void AddThroughDialog(const char* dialog, const char* action, int kind, ModalDriver::Handler fill = {})
    {
        const size_t frames = Doc().FreeFrames(kind).size();
        m_driver.on(
            QString::fromLatin1(dialog),
            fill ? fill : [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
        Trigger(action);
        ASSERT_EQ(Doc().FreeFrames(kind).size(), frames + 1);
    }
    TDrawRect* Free(int kind, size_t index) { return Doc().FreeFrames(kind).at(index).get(); }

    TDesignerFolders m_folders;
    QPointer<TDesignForm> m_window;
    FakeImageToolLink* m_tool = nullptr;
    MessageRecorder m_messages;
    ModalDriver m_driver;
};

TEST_F(DesignFormScriptTest, PostcardSessionUndoesAndRedoesToTheSameFiles)
{
    ASSERT_EQ(Doc().PaperPixelSize, QSize(378, 559));
    const QString picked = m_folders.Picture(QStringLiteral("picked.bmp"), QSize(100, 60));
    const QString dropped = m_folders.Picture(QStringLiteral("dropped.bmp"), QSize(100, 60));

    // Frames of every free kind; the two illustrations are 100 x 60.
    Round({
        {"text",
         [&] {
             AddThroughDialog("WordEditDialog", "actWord", FreeText, [](QWidget* w) {
                 w->findChild<QPlainTextEdit*>()->setPlainText(QStringLiteral("謹賀新年"));
                 static_cast<QDialog*>(w)->accept();
             });
         }},
        {"figure", [&] { AddThroughDialog("FigureSettingDialog", "actFigure", FreeFigure); }},
        {"QR code", [&] { AddThroughDialog("QRCodeSettingDialog", "actQRCode", FreeQRCode); }},
        {"picked illustration",
         [&] {
             Trigger("actIllust");
             ASSERT_EQ(m_tool->Requests, 1);
             m_tool->Answer(picked);
             ASSERT_EQ(Doc().FreeFrames(FreeIllustration).size(), 1u);
             const int left = std::max(0, Doc().PrintableArea.left),
                       top = std::max(0, Doc().PrintableArea.top);
             EXPECT_EQ(Free(FreeIllustration, 0)->GetDesignRect(), (TRect{left, top, left + 100, top + 60}));
         }},
        {"dropped illustration",
         [&] {
             DropOnPaper(dropped, {200, 300});
             ASSERT_EQ(Doc().FreeFrames(FreeIllustration).size(), 2u);
             EXPECT_EQ(Free(FreeIllustration, 1)->GetDesignRect(), (TRect{200, 300, 300, 360}));
             EXPECT_EQ(Doc().ZOrder.front(), Free(FreeIllustration, 1));
         }},
    });
    if (HasFatalFailure())
        return;
    TDrawRect* text = Free(FreeText, 0);
    TDrawRect* figure = Free(FreeFigure, 0);
    TDrawRect* qr = Free(FreeQRCode, 0);
    TDrawRect* first = Free(FreeIllustration, 0);
    TDrawRect* second = Free(FreeIllustration, 1);

    Round({
        {"paste of three",
         [&] {
             Select({text, figure, qr});
             Trigger("actCopy");
             Select({first});
             Trigger("actPaste");
             const auto& pasted = Doc().Selection;
             ASSERT_EQ(pasted.size(), 3u);
             qint32 left = INT32_MAX, top = INT32_MAX;
             for (const TDrawRect* frame : pasted) {
                 left = std::min(left, frame->GetDesignRect().left);
                 top = std::min(top, frame->GetDesignRect().top);
             }
             EXPECT_EQ(left, 0);
             EXPECT_EQ(top, 0);
             EXPECT_EQ(Doc().ZOrder.front(), pasted.back());
             EXPECT_EQ(pasted.back()->GetKind(), qr->GetKind());
         }},
        {"centre",
         [&] {
             Select({first});
             Trigger("actPaperCenter");
             EXPECT_EQ(first->GetDesignRect(), (TRect{139, 249, 239, 309}));
         }},
        {"equal spacing",
         [&] {
             Select({second, first});
             Trigger("actEqualPaperH");
             EXPECT_EQ(first->GetDesignRect().left, 59);
             EXPECT_EQ(second->GetDesignRect().left, 218);
         }},
        {"align tops",
         [&] {
             Select({second, first}, 1);
             Trigger("actRectTop");
             EXPECT_EQ(second->GetDesignRect(), (TRect{218, 249, 318, 309}));
         }},
        {"to the bottom",
         [&] {
             Select({second});
             Trigger("actBottom");
             EXPECT_EQ(Doc().ZOrder.back(), second);
         }},
    });
    if (HasFatalFailure())
        return;

    // The paper twice as wide, the frames rescaled: x doubled, y kept; the history ends there.
    std::vector<std::pair<TDrawRect*, TRect>> before;
    for (TDrawRect* frame : Doc().ZOrder)
        before.emplace_back(frame, frame->GetDesignRect());
    m_messages.answer(MsgSeam::IdYes);
    m_driver.on(QStringLiteral("NewDesignDialog"), [](QWidget* w) {
        auto* list = w->findChild<QListWidget*>(QStringLiteral("lbFormat"));
        list->setCurrentItem(list->findItems(QStringLiteral("往復はがき"), Qt::MatchExactly).value(0));
        w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    Trigger("actFormat");
    ASSERT_EQ(Doc().PaperPixelSize, QSize(756, 559));
    // A QR code keeps the size of its symbol.
    for (const auto& [frame, r] : before) {
        const int width = frame->GetKind() == KindQRCode ? r.Width() : 2 * r.Width();
        EXPECT_EQ(frame->GetDesignRect(), (TRect{2 * r.left, r.top, 2 * r.left + width, r.bottom}));
    }
    EXPECT_EQ(Doc().Undo.Count(), 0);
    m_window->UpdateCommandStates();
    EXPECT_FALSE(Action("actUndo")->isEnabled());

    // The sender block shown, then one of its items dragged in item mode: the prototype follows.
    Round({
        {"sender block",
         [&] {
             Trigger("actSender");
             ASSERT_TRUE(Doc().SenderBlock());
             EXPECT_EQ(Doc().ZOrder.front(), Doc().SenderBlock());
         }},
        {"item dragged",
         [&] {
             TSenderRect* block = Doc().SenderBlock();
             Select({block});
             Trigger("actSenderLayout");
             ASSERT_FALSE(block->WholeBlock());
             const int member = block->ShownMembers().front();
             const TRect item = block->Member(member)->GetDesignRect();
             const TRect shape = m_window->Prototypes().Sender.ItemRect(member);
             const QPoint from((item.left + item.right) / 2, (item.top + item.bottom) / 2);
             Mouse().Drag(from, from + QPoint(20, 10));
             ASSERT_EQ(block->SelectedMember(), member);
             EXPECT_EQ(block->Member(member)->GetDesignRect(), item.Moved(20, 10));
             EXPECT_EQ(m_window->Prototypes().Sender.ItemRect(member), block->ItemRect(member));
             EXPECT_NE(m_window->Prototypes().Sender.ItemRect(member), shape);
         }},
    });
    if (HasFatalFailure())
        return;

    // A click on empty paper ends item mode and its check; nothing is recorded.
    TSenderRect* block = Doc().SenderBlock();
    Select({block});
    Trigger("actSenderLayout");
    ASSERT_TRUE(Action("actSenderLayout")->isChecked());
    const QPoint empty(740, 540);
    for (const TDrawRect* frame : Doc().ZOrder)
        ASSERT_FALSE(frame->GetDesignRect().Contains(empty.x(), empty.y()));
    Mouse().Click(empty);
    EXPECT_TRUE(block->WholeBlock());
    EXPECT_TRUE(Doc().Selection.empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Action("actSenderLayout")->isChecked(); }));
    EXPECT_EQ(Doc().Undo.Count(), 2);
}

} // namespace
