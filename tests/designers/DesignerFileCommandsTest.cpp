// The designer windows' save-as command: the chosen title in the window's folder, the name emptied while it
// saves, the old name back after a failed save, and nothing done when the dialog is cancelled.
#include "designers/DesignerFileCommands.h"
#include "core/MainSettings.h"
#include "support/DesignerFolders.h"
#include "support/ModalDriver.h"

#include <gtest/gtest.h>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace {

class DesignerFileCommandsTest : public ::testing::Test, protected TDesignerFolders
{
protected:
    void SetUp() override { ASSERT_TRUE(FoldersMade()); }
};

TEST_F(DesignerFileCommandsTest, SaveAsTakesTheTitleAndKeepsTheNameOfAFailedSave)
{
    QWidget window;
    const TDesignerFiles files{3, -1, DesignFolder, QStringLiteral(".gpd"), nullptr};
    const QString old = DesignFolder + QStringLiteral("old.gpd");
    struct Case
    {
        const char* what;
        bool chosen, saves;
        QString nameAfter;
    };
    const Case cases[] = {{"cancelled", false, true, old}, {"failed", true, false, old}, {"saved", true, true, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ModalDriver driver;
        driver.on(QStringLiteral("PrintDataSaveDialog"), [&c](QWidget* w) {
            if (!c.chosen) {
                static_cast<QDialog*>(w)->reject();
                return;
            }
            w->findChild<QLineEdit*>(QStringLiteral("edTitle"))->setText(QStringLiteral("new"));
            w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        });
        QString name = old;
        int repainted = 0;
        QStringList written;
        const bool result = RunDesignerSaveAs(
            window, files, name, [&] { ++repainted; },
            [&](const QString& path) {
                // The save sees no name, so that it counts as one under a new name.
                EXPECT_TRUE(name.isEmpty());
                written << path;
                return c.saves;
            });
        EXPECT_EQ(result, c.chosen && c.saves);
        EXPECT_EQ(name, c.nameAfter);
        EXPECT_EQ(repainted, c.chosen ? 1 : 0);
        EXPECT_EQ(written, c.chosen ? QStringList{DesignFolder + QStringLiteral("new.gpd")} : QStringList{});
    }
}

} // namespace
