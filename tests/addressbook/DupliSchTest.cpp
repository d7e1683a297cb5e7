// The duplicate view dialog: the pair in force, refusing one item twice, release and unchanged pairs.
#include "addressbook/DupliSch.h"
#include "addressbook/FakeAddressList.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"

#include <QComboBox>
#include <QLabel>
#include <QScreen>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TEST(DupliSch, ChoicesAgainstThePairInForce)
{
    struct Case
    {
        const char* name;
        TDuplicatePair inForce;
        TDuplicatePair chosen;
        TDuplicateChoice expected;
    } cases[] = {
        {"address alone", {0, 0}, {2, 0}, TDuplicateChoice::Accepted},
        {"address twice", {0, 0}, {2, 2}, TDuplicateChoice::SameItem},
        {"same pair", {2, 4}, {2, 4}, TDuplicateChoice::Unchanged},
        {"same item twice, also when in force", {1, 1}, {1, 1}, TDuplicateChoice::SameItem},
        {"second item changed", {2, 4}, {2, 1}, TDuplicateChoice::Accepted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CheckDuplicateChoice(c.inForce, c.chosen), c.expected);
    }
}

TEST(DupliSch, SameItemTwiceIsRefusedAndTheDialogStaysOpen)
{
    MessageRecorder messages;
    TDuplicateSearch dialog(nullptr);
    dialog.SetPair({});
    auto* item1 = dialog.findChild<QComboBox*>("cbxItem1");
    auto* item2 = dialog.findChild<QComboBox*>("cbxItem2");
    auto* view = dialog.findChild<QPushButton*>("btnView");
    EXPECT_FALSE(dialog.findChild<QPushButton*>("btnRelease")->isEnabled());
    EXPECT_EQ(item1->currentIndex(), 0);
    EXPECT_EQ(item2->currentIndex(), 0);
    bool stayedOpen = false;
    messages.answer(MsgSeam::IdOk);
    const int result = RunModal(dialog, [&](QDialog& d) {
        item1->setCurrentIndex(1); // 住所
        item2->setCurrentIndex(2); // 住所 again
        view->click();
        stayedOpen = d.isVisible();
        item2->setCurrentIndex(4); // 名前
        view->click();
    });
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("同じ項目を指定できません  "));
    EXPECT_EQ(messages.last().flags & 0xF0, unsigned(MsgSeam::MbIconInformation));
    EXPECT_EQ(result, QDialog::Accepted);
    TDuplicatePair pair;
    dialog.GetPair(pair);
    EXPECT_EQ(pair, (TDuplicatePair{2, 4}));
}

TEST(DupliSch, PairInForceShowsAndUnchangedPairRecomputesNothing)
{
    TDuplicateSearch dialog(nullptr);
    dialog.SetPair({2, 4});
    EXPECT_EQ(dialog.findChild<QComboBox*>("cbxItem1")->currentText(), QStringLiteral("住所"));
    EXPECT_EQ(dialog.findChild<QComboBox*>("cbxItem2")->currentText(), QStringLiteral("名前"));
    EXPECT_TRUE(dialog.findChild<QPushButton*>("btnRelease")->isEnabled());
    EXPECT_EQ(RunModal(dialog, [](QDialog& d) { d.findChild<QPushButton*>("btnView")->click(); }),
              QDialog::Rejected);

    EXPECT_EQ(RunModal(dialog, [](QDialog& d) { d.findChild<QPushButton*>("btnRelease")->click(); }),
              QDialog::Accepted);
    TDuplicatePair pair{3, 3};
    dialog.GetPair(pair);
    EXPECT_EQ(pair, TDuplicatePair());
}

TEST(DupliSch, CommandTakesThePairBackOnlyOnOk)
{
    TDuplicatePair pair{2, 4};
    {
        ModalDriver unchanged;
        unchanged.on("DuplicateSearch", [](QWidget* d) { d->findChild<QPushButton*>("btnView")->click(); });
        EXPECT_FALSE(ExecuteDuplicateSearch(nullptr, pair));
    }
    EXPECT_EQ(pair, (TDuplicatePair{2, 4}));
    ModalDriver release;
    release.on("DuplicateSearch", [](QWidget* d) { d->findChild<QPushButton*>("btnRelease")->click(); });
    EXPECT_TRUE(ExecuteDuplicateSearch(nullptr, pair));
    EXPECT_EQ(pair, TDuplicatePair());
}

TEST(DupliSch, EnterMovesFromTheFirstItemToTheSecondToView)
{
    TDuplicateSearch dialog(nullptr);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    auto* item1 = dialog.findChild<QComboBox*>("cbxItem1");
    item1->setFocus();
    QTest::keyClick(item1, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), dialog.findChild<QComboBox*>("cbxItem2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), dialog.findChild<QPushButton*>("btnView"));
    EXPECT_TRUE(dialog.isVisible());
}

TEST(DupliSch, NotesStayOnOneLineAndTheDialogIsCentredByItsRealSize)
{
    TDuplicatePair pair{2, 4};
    bool seen = false;
    ModalDriver driver;
    driver.on("DuplicateSearch", [&](QWidget* d) {
        seen = true;
        for (const QLabel* label : d->findChildren<QLabel*>()) {
            SCOPED_TRACE(label->text().toStdString());
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
        }
        const QRect work = d->screen()->availableGeometry();
        EXPECT_LE((d->frameGeometry().center() - work.center()).manhattanLength(), 4);
        d->findChild<QPushButton*>("btnCancel")->click();
    });
    EXPECT_FALSE(ExecuteDuplicateSearch(nullptr, pair));
    EXPECT_TRUE(seen);
}

} // namespace
