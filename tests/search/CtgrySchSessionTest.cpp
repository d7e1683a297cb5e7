// The category search window in the running program: opened by the address list's command, handing a hit to
// the record card. With TOVAREL_XVFB_FBDIR set, the screen is kept as category-hits.xwd and category-card.xwd
// there.
#include "search/CtgrySch.h"

#include "addressbook/DtInqiry.h"
#include "core/MainSettings.h"
#include "search/SearchWindows.h"
#include "platform/MessageSeam.h"
#include "support/MessageRecorder.h"
#include "support/SessionFixture.h"

#include <QAction>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

class CtgrySchSessionTest : public SessionFixture
{
protected:
    void SetUp() override
    {
        SessionFixture::SetUp();
        AdminPassword.clear();
        AdminMode = false;
        RegisterSearchWindows();
    }
    void TearDown() override
    {
        RegisterListCommand(TListCommand::CategorySearch, {});
        RegisterListChild(TListChild::CategorySearch, {});
        SessionFixture::TearDown();
    }
};

void WaitForJob(TCategorySearch* window)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!window->IsSearching())
            loop.quit();
    });
    poll.start(0);
    if (window->IsSearching())
        loop.exec();
}

void KeepScreenshot(const QString& name)
{
    const QString folder = qEnvironmentVariable("TOVAREL_XVFB_FBDIR");
    if (folder.isEmpty())
        return;
    QElapsedTimer shown;
    shown.start();
    while (shown.elapsed() < 1500)
        QTest::qWait(50);
    QFile::remove(folder + '/' + name + ".xwd");
    QFile::copy(folder + "/Xvfb_screen0", folder + '/' + name + ".xwd");
}

// The hits of 千代田区 in the window.
void SearchChiyoda(TCategorySearch* window)
{
    window->SelectRegion(3);
    QListWidget* cities = window->AreaListWidget(TCategorySearch::alCity);
    for (int i = 0; i < cities->count(); ++i)
        if (cities->item(i)->data(Qt::UserRole).toByteArray() == "13101")
            window->ClickAreaList(TCategorySearch::alCity, {i});
    window->findChild<QPushButton*>("bbtnSearch")->click();
    WaitForJob(window);
}

} // namespace

TEST_F(CtgrySchSessionTest, TheListCommandOpensTheWindowWhoseHitsTheCardWalks)
{
    writeWorkBook(5);
    MessageRecorder messages;
    messages.allowUnexpected();
    runSession([](TAddressList& list) {
        HddInstalled = false;
        DiscFolder =
            QStringLiteral(TOVAREL_DIRECTORY_FIXTURE_DIR).chopped(QStringLiteral("Quenrid215/").size());
        QAction* action = list.Action("actCategorySearch");
        list.UpdateActions();
        ASSERT_TRUE(action->isEnabled());
        action->trigger();
        ASSERT_TRUE(CategorySearch);
        TCategorySearch* window = CategorySearch;
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->windowTitle(), "カテゴリ検索");
        action->trigger();
        EXPECT_EQ(CategorySearch.data(), window);
        EXPECT_EQ(ListChildWindow(TListChild::CategorySearch), window);

        SearchChiyoda(window);
        ASSERT_EQ(window->GetHitCount(), 7);
        KeepScreenshot("category-hits");

        window->findChild<QToolButton*>("sbtnInquiry")->click();
        ASSERT_TRUE(DataInquiry);
        EXPECT_EQ(DataInquiry->ListSource(), lsCategorySearch);
        EXPECT_EQ(window->GetCurrentIndex(), 0);
        EXPECT_EQ(DataInquiry->windowTitle(), QStringLiteral("アドレス帳情報登録"));
        auto* next = DataInquiry->findChild<QToolButton*>("sbtnNext");
        ASSERT_TRUE(next && next->isEnabled());
        DataInquiry->sbtnMoveRecordClick(cmNext);
        EXPECT_EQ(window->GetCurrentIndex(), 1);
        EXPECT_EQ(window->findChild<QTableView*>("lvResult")->currentIndex().row(), 1);
        KeepScreenshot("category-card");

        QPointer<TCategorySearch> guard(window);
        EXPECT_TRUE(window->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(guard);
        EXPECT_FALSE(next->isEnabled()) << "the card no longer walks the hits";
    });
}

TEST_F(CtgrySchSessionTest, UnsavedInputOnTheCardAnsweredCancelLeavesEverything)
{
    writeWorkBook(5);
    MessageRecorder messages;
    messages.allowUnexpected();
    runSession([&messages](TAddressList& list) {
        HddInstalled = false;
        DiscFolder =
            QStringLiteral(TOVAREL_DIRECTORY_FIXTURE_DIR).chopped(QStringLiteral("Quenrid215/").size());
        list.Action("actCategorySearch")->trigger();
        TCategorySearch* window = CategorySearch;
        ASSERT_TRUE(window);
        SearchChiyoda(window);
        ASSERT_EQ(window->GetHitCount(), 7);
        window->findChild<QTableView*>("lvResult")->selectRow(1);
        window->findChild<QToolButton*>("sbtnInquiry")->click();
        ASSERT_TRUE(DataInquiry);
        ASSERT_EQ(window->GetCurrentIndex(), 1);

        // Unsaved input on the card answered Cancel: the card, its hit and the lists stay as they are.
        QTableView* results = window->findChild<QTableView*>("lvResult");
        results->selectRow(4);
        const int asked = messages.count();
        auto shownName = [] {
            return DataInquiry->findChild<QWidget*>("nmedtCorpKanji")->property("text").toString() + u'/' +
                   DataInquiry->findChild<QWidget*>("nmedtNameKanji")->property("text").toString();
        };
        const QString shown = shownName();
        ASSERT_NE(shown, "/");
        MainSettings.ChangeData = true;
        MainSettings.Confirmation = true;
        DataInquiry->findChild<QLineEdit*>("edtKeyword1")->setText("typed");
        messages.answer(MsgSeam::IdCancel);
        window->findChild<QToolButton*>("sbtnInquiry")->click();
        ASSERT_EQ(messages.count(), asked + 1);
        EXPECT_EQ(messages.last().flags & 0x0F, unsigned(MsgSeam::MbYesNoCancel));
        EXPECT_EQ(window->GetCurrentIndex(), 1);
        EXPECT_EQ(results->selectionModel()->selectedRows().size(), 1);
        EXPECT_EQ(results->currentIndex().row(), 4);
        EXPECT_EQ(shownName(), shown);
        EXPECT_EQ(DataInquiry->findChild<QLineEdit*>("edtKeyword1")->text(), "typed");
        DataInquiry->findChild<QLineEdit*>("edtKeyword1")->clear();
        window->close();
    });
}
