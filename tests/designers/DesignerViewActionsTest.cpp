// The designer windows' shared view commands: the grid tool button keeps actGrid's check after a size is chosen
// from its drop-down.
#include "designers/DesignerWindow.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

TEST(DesignerViewActions, GridButtonShowsTheGridCheckAfterItsDropDown)
{
    QMainWindow window;
    for (const char* name : {"actNew", "actOpen", "actSave", "actExit"})
        (new QAction(QString::fromLatin1(name), &window))->setObjectName(QString::fromLatin1(name));
    auto* view = new TDesignerViewActions(window, true);
    BuildDesignerToolBar(window, *view);
    auto* button = window.findChild<QToolButton*>(QStringLiteral("tbtnGrid"));
    ASSERT_NE(button, nullptr);
    auto* grid = window.findChild<QAction*>(QStringLiteral("actGrid"));
    ASSERT_NE(button->menu(), nullptr);
    EXPECT_EQ(button->menu()->objectName(), QStringLiteral("GridPopupMenu"));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    // Size by size through the dropped-down menu, as a click on the button opens it.
    for (int size : {2, 0, 3, 1}) {
        SCOPED_TRACE(size);
        bool chosen = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu || chosen)
                return;
            chosen = true;
            menu->setActiveAction(menu->actions().at(size));
            QTest::keyClick(menu, Qt::Key_Return);
        });
        poll.start(0);
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return chosen && !QApplication::activePopupWidget(); }));
        poll.stop();
        EXPECT_EQ(view->GridSize(), size);
        EXPECT_EQ(grid->isChecked(), size != 0);
        EXPECT_EQ(button->isChecked(), grid->isChecked());
        EXPECT_FALSE(button->isDown());
    }
    // The menu bar's choice shows on the button too.
    window.findChild<QAction*>(QStringLiteral("actGridBig"))->trigger();
    EXPECT_TRUE(button->isChecked());
}

} // namespace
