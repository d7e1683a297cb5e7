// What a person sees of the design window under Xvfb (TOVAREL_XVFB_FBDIR set; skipped otherwise): a postcard
// with a text, a figure, a QR code, an illustration and the sender block, the arrangement and sender menus, and
// the sender block's look dialog on each of its tabs.
#include "designers/DesignForm.h"
#include "designers/PaperView.h"
#include "support/DesignFixture.h"
#include "support/ModalDriver.h"
#include "support/XvfbShot.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

namespace {

TEST(DesignFormScreens, PostcardMenusAndSenderDialog)
{
    if (qEnvironmentVariable("TOVAREL_XVFB_FBDIR").isEmpty())
        GTEST_SKIP() << "only under Xvfb";
    TDesignerFolders folders;
    ASSERT_TRUE(folders.FoldersMade());
    auto senders = std::make_unique<TMemorySenders>();
    senders->Rows = {SenderRow(1, "home", QStringLiteral("山田 太郎"))};
    TDesignSources sources;
    sources.Senders = std::move(senders);
    TDesignForm window(std::move(sources));
    TDesignDocument& d = window.Document();
    d.PaperIndex = 0;
    ASSERT_TRUE(d.LoadPaperFormat());
    d.NewDesign();
    d.Modified = false;
    window.move(0, 0);
    window.resize(1000, 760);
    ModalDriver driver;
    driver.on(QStringLiteral("PrintMenuDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return driver.handled() == 1 && !QApplication::activeModalWidget(); }));
    ASSERT_TRUE(d.DocumentOpen);

    auto trigger = [&](const char* name) {
        window.UpdateCommandStates();
        window.findChild<QAction*>(QString::fromLatin1(name))->trigger();
    };
    driver.on("WordEditDialog", [](QWidget* w) {
        w->findChild<QPlainTextEdit*>(QStringLiteral("memWords"))
            ->setPlainText(QStringLiteral("謹賀新年\n本年もよろしくお願いします"));
        w->findChild<QRadioButton*>(QStringLiteral("rbHorizontal"))->click();
        static_cast<QDialog*>(w)->accept();
    });
    trigger("actWord");
    d.FreeFrames(FreeText)[0]->SetDesignRect({30, 300, 350, 380});
    driver.on("FigureSettingDialog", [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
    trigger("actFigure");
    d.FreeFrames(FreeFigure)[0]->SetDesignRect({30, 410, 130, 510});
    driver.on("QRCodeSettingDialog", [](QWidget* w) {
        w->findChild<QPlainTextEdit*>(QStringLiteral("memText"))->setPlainText(QStringLiteral("https://example.jp/"));
        w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    trigger("actQRCode");
    d.FreeFrames(FreeQRCode)[0]->SetDesignRect({240, 60, 340, 160});
    d.Selection.clear();
    d.FocusedIndex = -1;
    window.WMCopyData(folders.Picture(QStringLiteral("sun.bmp"), QSize(120, 90), 96, QColor(240, 160, 40)));
    ASSERT_EQ(d.FreeFrames(FreeIllustration).size(), 1u);
    d.FreeFrames(FreeIllustration)[0]->SetDesignRect({150, 410, 270, 500});
    trigger("actSender");
    ASSERT_NE(d.SenderBlock(), nullptr);
    d.Selection = {d.FreeFrames(FreeText)[0].get(), d.FreeFrames(FreeFigure)[0].get()};
    d.FocusedIndex = 0;
    window.ShowFocusedInRectList();
    window.UpdateCommandStates();
    window.PaperView()->update();
    KeepXvfbScreen(QStringLiteral("design-postcard.xwd"));

    auto* edit = window.findChild<QMenu*>(QStringLiteral("mniEdit"));
    edit->popup(window.mapToGlobal(QPoint(window.menuBar()->actionGeometry(edit->menuAction()).left(),
                                          window.menuBar()->height())));
    auto* unite = window.findChild<QMenu*>(QStringLiteral("mniRectUnite"));
    ASSERT_NE(unite, nullptr);
    edit->setActiveAction(unite->menuAction());
    unite->popup(edit->geometry().topRight() + QPoint(0, edit->actionGeometry(unite->menuAction()).top()));
    KeepXvfbScreen(QStringLiteral("design-arrange-menu.xwd"));
    unite->hide();
    edit->hide();

    d.Selection = {d.SenderBlock()};
    d.FocusedIndex = 0;
    window.UpdateCommandStates();
    auto* sender = window.findChild<QMenu*>(QStringLiteral("mniSender"));
    sender->popup(window.mapToGlobal(QPoint(window.menuBar()->actionGeometry(sender->menuAction()).left(),
                                            window.menuBar()->height())));
    KeepXvfbScreen(QStringLiteral("design-sender-menu.xwd"));
    sender->hide();

    int tabs = 0;
    driver.on("SenderSettingDialog", [&](QWidget* w) {
        auto* pages = w->findChild<QTabWidget*>(QStringLiteral("pgcSetting"));
        tabs = pages->count();
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            KeepXvfbScreen(QStringLiteral("sender-dialog-tab%1.xwd").arg(i));
        }
        static_cast<QDialog*>(w)->reject();
    });
    trigger("actSenderSet");
    EXPECT_GE(tabs, 2);
    window.Document().Modified = false;
}

} // namespace
