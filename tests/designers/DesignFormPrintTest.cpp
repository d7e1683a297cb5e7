// The design window's print and background commands: the missing printer, and the background dialog taken
// back as one undo action on OK and left alone on Cancel.
#include "core/MainSettings.h"
#include "designers/DesignForm.h"
#include "designers/UndoList.h"
#include "platform/Printers.h"
#include "support/DesignerFolders.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QDialog>
#include <QDir>
#include <QTemporaryDir>

namespace {

class DesignFormPrintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folders.FoldersMade());
        m_window = new TDesignForm();
        ASSERT_TRUE(m_window->LoadFromFile(m_folders.GoldenDesign(QStringLiteral("a"))));
    }
    void TearDown() override
    {
        delete m_window.data();
    }
    void trigger(const char* name)
    {
        m_window->findChild<QAction*>(QString::fromLatin1(name))->trigger();
    }

    TDesignerFolders m_folders;
    QPointer<TDesignForm> m_window;
    MessageRecorder m_messages;
};

TEST_F(DesignFormPrintTest, PrintCommandsWithoutPrinterSayItIsMissing)
{
    m_messages.allowUnexpected();
    trigger("actPrint");
    ASSERT_EQ(m_messages.count(), 1);
    EXPECT_EQ(m_messages.last().text, QStringLiteral("プリンターがインストールされていません  "));
    trigger("actPrintSet");
    ASSERT_EQ(m_messages.count(), 2);
    EXPECT_EQ(m_messages.last().text, QStringLiteral("プリンタがインストールされていません  "));
}

TEST_F(DesignFormPrintTest, BackgroundDialogOkIsOneUndoActionAndCancelChangesNothing)
{
    TDesignDocument& d = m_window->Document();
    d.Modified = false;
    const int before = d.Undo.Count();
    {
        ModalDriver driver;
        driver.on(QStringLiteral("BackImageDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
        trigger("actBackImage");
    }
    EXPECT_EQ(d.Undo.Count(), before);
    EXPECT_FALSE(d.Modified);
    {
        ModalDriver driver;
        driver.on(QStringLiteral("BackImageDialog"), [this](QWidget* w) {
            EXPECT_TRUE(m_window->BackImageDialogOpen());
            static_cast<QDialog*>(w)->accept();
        });
        trigger("actBackImage");
    }
    EXPECT_FALSE(m_window->BackImageDialogOpen());
    ASSERT_EQ(d.Undo.Count(), before + 1);
    EXPECT_EQ(d.Undo.GetEntry(0)->UndoActionKind(), 2);
    EXPECT_TRUE(d.Modified);
}

} // namespace
