// The address list window over the real start: the start-up messages and book choice, opening and switching
// books, deleting rows, item names, the settings written at close, refused child closes and stored orders.
#include "support/SessionFixture.h"

#include "addressbook/AdrsCopy.h"
#include "addressbook/AdrsList.h"
#include "addressbook/DtInqiry.h"
#include "addressbook/GrpEdt.h"
#include "addressbook/KeywdEdt.h"
#include "core/AdrsFolderList.h"
#include "core/DBInfo.h"
#include "core/Main.h"
#include "core/MainServices.h"
#include "support/TestFiles.h"
#include "core/PDFHelp.h"
#include "support/AdrsBookGenerator.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/TableFaults.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <csignal>
#include <set>

namespace {

class AdrsListTest : public SessionFixture
{
protected:
    void SetUp() override
    {
        SessionFixture::SetUp();
        AdminPassword.clear();
        AdminMode = false;
    }

    QString data() const { return DataRootFolder + "Data/"; }
    QString adrs() const { return data() + "Adrs/"; }

    // A later start: the settings name the data folder and the book to open; each book gets its rows.
    void prepare(const QList<std::pair<QString, int>>& books, const QString& open)
    {
        QDir().mkpath(adrs());
        writeSettings({{"BASE", "DataPath", data()}, {"BASE", "AdrsName", open}});
        for (const auto& [folder, rows] : books)
            AdrsBookGenerator::WriteBook(adrs(), folder, rows);
    }

    // Runs the program's start; before queues what the start shows ahead of the list.
    void run(const std::function<void(TAddressList&)>& body, const std::function<void()>& before = {})
    {
        if (before)
            before();
        runSession(body);
    }

    // Clicks OK in the book choice once the book named name is selected (empty: as offered).
    void chooseBook(const QString& name)
    {
        m_driver.on("AddressSelect", [name](QWidget* w) {
            if (!name.isEmpty()) {
                auto* list = w->findChild<QListWidget*>("lvAdrs");
                for (int i = 0; i < list->count(); ++i)
                    if (list->item(i)->text() == name)
                        list->setCurrentRow(i);
            }
            w->findChild<QPushButton*>("btnOk")->click();
        });
    }

    static QAction* action(TAddressList& list, const char* name)
    {
        return list.Action(QString::fromLatin1(name));
    }
};

// A follower that counts what the list tells it.
struct CountingFollower : TAddressListFollower
{
    int refreshed = 0, deleted = 0, keywords = 0, ranges = 0;
    void RefreshData() override { ++refreshed; }
    void RefreshDataAfterDelete() override { ++deleted; }
    void UpdateKeywordNames() override { ++keywords; }
    void UpdateDataRange() override { ++ranges; }
};

// A modeless child that may refuse to close (a search running).
struct RefusingChild : QWidget
{
    bool refuse = true;
    void closeEvent(QCloseEvent* e) override
    {
        if (refuse)
            e->ignore();
        else
            e->accept();
    }
};

} // namespace

TEST_F(AdrsListTest, StartShowsOneMessageThenTheBookChoice)
{
    struct Case
    {
        const char* name;
        bool settings;    // a main settings file exists
        bool dataPath;    // it names the data folder
        QString adrsName; // the saved book name
        QString message;  // the one message shown
        QString caption;
    } cases[] = {
        {"first run", false, false, "",
         "使用するアドレス帳を指定するために  \r\nアドレス帳の作成画面に入ります  ", "Tovarel - アドレス"},
        {"book gone", true, true, "Gone", "開くアドレス帳を指定してください  ", "Tovarel - Work"},
        {"data folder reset", true, false, "Work",
         "データ保存フォルダーが切り替わりました  \r\n新しく開くアドレス帳を指定してください  ",
         "Tovarel - Work"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(DataRootFolder).removeRecursively();
        QDir().mkpath(DataRootFolder);
        if (c.settings) {
            QDir().mkpath(adrs());
            AdrsBookGenerator::WriteBook(adrs(), "Work", 3);
            writeSettings({{"BASE", "AdrsName", c.adrsName}});
            if (c.dataPath)
                writeSettings({{"BASE", "DataPath", data()}});
        }
        MessageRecorder rec;
        rec.answer(MsgSeam::IdOk);
        chooseBook({});
        run([&](TAddressList& list) {
            EXPECT_EQ(list.windowTitle(), c.caption);
            EXPECT_TRUE(list.AdrsOpen());
            EXPECT_EQ(list.GetRecordCount(), c.settings ? 3 : 0);
        });
        ASSERT_EQ(rec.count(), 1);
        EXPECT_EQ(rec.last().text, c.message);
        EXPECT_EQ(rec.last().flags, unsigned(MsgSeam::MbIconInformation));
        EXPECT_EQ(TMemIniFile(DataRootFolder + MainSettingsFileName).ReadString("BASE", "AdrsName", ""),
                  c.caption.mid(10));
    }
}

TEST_F(AdrsListTest, CancellingTheStartChoiceEndsTheProgram)
{
    MessageRecorder rec;
    rec.answer(MsgSeam::IdOk).answer(MsgSeam::IdYes); // the first-run message, then "end the start?"
    bool asked = false;
    m_driver.on("AddressSelect", [&](QWidget* w) {
        asked = true;
        w->findChild<QPushButton*>("btnCancel")->click();
    });
    {
        TMainForm form;
        form.FormCreate();
        QCoreApplication::sendPostedEvents(&form);
    }
    EXPECT_TRUE(asked);
    EXPECT_EQ(rec.count(), 2);
    EXPECT_FALSE(StartupServices().AddressListExists());
    EXPECT_TRUE(AdrsFolderList.isEmpty());
}

TEST_F(AdrsListTest, StartNoticesComeBeforeTheBookAndAStartedUpdaterEndsTheProgram)
{
    prepare({{"Work", 2}}, "Work");
    int notices = 0;
    RegisterListCommand(TListCommand::StartupNotices, [&](TAddressList& list) {
        ++notices;
        EXPECT_FALSE(list.AdrsOpen());
        MainSettings.Info = false;
        MainSettings.UpdateCheck = true;
        return TListCommandResult{true};
    });
    run([&](TAddressList& list) { EXPECT_TRUE(list.AdrsOpen()); });
    EXPECT_EQ(notices, 1);
    const auto option = [](const char* section, const char* key) {
        return TMemIniFile(DataRootFolder + MainSettingsFileName).ReadString(section, key, "");
    };
    EXPECT_EQ(option("BASE", "Info"), "0");
    EXPECT_EQ(option("UPDATE", "UpdateCheck"), "1");

    // The updater runs: the list closes at once, without the book and without writing the options.
    RegisterListCommand(TListCommand::StartupNotices, [](TAddressList&) {
        MainSettings.Info = true;
        TListCommandResult result{true};
        result.updaterStarted = true;
        return result;
    });
    {
        TMainForm form;
        form.FormCreate();
        QCoreApplication::sendPostedEvents(&form);
    }
    EXPECT_FALSE(StartupServices().AddressListExists());
    EXPECT_EQ(option("BASE", "Info"), "0");
    RegisterListCommand(TListCommand::StartupNotices, {});
}

TEST_F(AdrsListTest, SwitchingBooksOpensTheOtherBookWithItsGroups)
{
    prepare({{"Home", 3}, {"Work", 5}}, "Home");
    QFile group(adrs() + "Work/Group.dat");
    ASSERT_TRUE(group.open(QIODevice::WriteOnly));
    group.write(Cp932::fromUnicode(QStringLiteral("[GROUP]\r\nGroup1=取引先\r\n")));
    group.close();

    MessageRecorder rec;
    run([&](TAddressList& list) {
        EXPECT_EQ(list.windowTitle(), QStringLiteral("Tovarel - Home"));
        EXPECT_EQ(list.GetRecordCount(), 3);
        EXPECT_EQ(list.findChild<QLabel*>("pnlShownCount")->text(), QStringLiteral("表示件数： 3"));
        // The copy window follows the open book's list; switching books closes it first.
        action(list, "actAdrsCopy")->trigger();
        ASSERT_TRUE(AddressCopy);
        EXPECT_EQ(AddressCopy->parentWidget(), &list);
        chooseBook("Work");
        action(list, "actOpen")->trigger();
        EXPECT_EQ(list.windowTitle(), QStringLiteral("Tovarel - Work"));
        EXPECT_EQ(list.GetRecordCount(), 5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(AddressCopy.isNull());
        EXPECT_EQ(DMQuenrid215->OpenCount(TDMQuenrid215::tkAdrs), 1);
        EXPECT_EQ(DMQuenrid215->AdrsTable()->filePath(), adrs() + "Work/Adrs.DB");
        EXPECT_EQ(AdrsFolderList[CurrentAdrsIndex].Folder, QStringLiteral("Work"));
        auto* cbxGroup = list.findChild<QComboBox*>("cbxGroup");
        ASSERT_EQ(cbxGroup->count(), 12);
        EXPECT_EQ(cbxGroup->itemText(2), QStringLiteral(" 1： 取引先"));
        EXPECT_EQ(cbxGroup->itemText(11), QStringLiteral("10： グループ１０"));
        EXPECT_EQ(list.findChild<QLabel*>("pnlShownCount")->text(), QStringLiteral("表示件数： 5"));

        // Choosing a group reloads the list: rows of group 1 only.
        cbxGroup->setCurrentIndex(2);
        emit cbxGroup->activated(2);
        EXPECT_EQ(list.Engine().ViewGroup(), 2);
        for (int i = 0; i < list.GetRecordCount(); ++i)
            EXPECT_EQ(list.GetRecNo(i) % 4, 2) << "RecNo " << list.GetRecNo(i); // rows i % 4 == 1
    });
    EXPECT_EQ(rec.count(), 0);
    EXPECT_EQ(TMemIniFile(DataRootFolder + MainSettingsFileName).ReadString("BASE", "AdrsName", ""), "Work");
}

// The book dialog reorders the list at once; cancelling it must not leave the group names pointing at
// another book's "Group.dat".
TEST_F(AdrsListTest, GroupNamesGoToTheOpenBookAfterACancelledReorder)
{
    prepare({{"Home", 1}, {"Work", 1}}, "Home");
    MessageRecorder rec;
    run([&](TAddressList& list) {
        ASSERT_EQ(AdrsFolderList[CurrentAdrsIndex].Folder, QStringLiteral("Home"));
        m_driver.on("AddressSelect", [](QWidget* w) {
            auto* books = w->findChild<QListWidget*>("lvAdrs");
            books->setCurrentRow(0); // Home
            w->findChild<QAction*>("actDown")->trigger();
            w->findChild<QPushButton*>("btnCancel")->click();
        });
        action(list, "actOpen")->trigger();
        EXPECT_EQ(AdrsFolderList[1].Folder, QStringLiteral("Home"));
        EXPECT_EQ(AdrsFolderList[CurrentAdrsIndex].Folder, QStringLiteral("Home"));

        m_driver.on("GruopEdit", [](QWidget* w) {
            w->findChild<QLineEdit*>("edtGroup1")->setText(QStringLiteral("家族"));
            w->findChild<QPushButton*>("btnOk")->click();
        });
        action(list, "actEditGroup")->trigger();
    });
    EXPECT_EQ(TMemIniFile(adrs() + "Home/Group.dat").ReadString("GROUP", "Group1", ""),
              QStringLiteral("家族"));
    EXPECT_FALSE(QFile::exists(adrs() + "Work/Group.dat"));
}

TEST_F(AdrsListTest, DeletingRowsAsksFirstAndClosesTheCardOfADeletedRow)
{
    prepare({{"Book", 6}}, "Book");
    MessageRecorder rec;
    CountingFollower follower;
    run([&](TAddressList& list) {
        list.AddFollower(&follower);
        ASSERT_EQ(list.GetRecordCount(), 6);
        EXPECT_TRUE(action(list, "actDelete")->isEnabled());

        // The card on row 1: three rows selected, only the focused one stays.
        list.SelectIndex(0, true, false);
        list.SelectIndex(3, false, false);
        list.SelectIndex(1, false, false);
        action(list, "actInquiry")->trigger();
        ASSERT_TRUE(DataInquiry);
        EXPECT_EQ(list.GetSelectedCount(), 1);
        EXPECT_TRUE(list.IsSelected(1));
        EXPECT_EQ(DataInquiry->GetLoadedRecNo(), list.GetRecNo(1));
        EXPECT_EQ(list.GetCurrentIndex(), 1);

        list.SelectIndex(1, true, false);
        list.SelectIndex(4, false, false);
        const qint32 kept = list.GetRecNo(2);
        rec.answer(MsgSeam::IdNo);
        action(list, "actDelete")->trigger();
        EXPECT_EQ(list.GetRecordCount(), 6);
        EXPECT_EQ(rec.last().text, QStringLiteral("選択したデータを削除します  \r\nよろしいですか？  "));
        EXPECT_EQ(rec.last().flags,
                  unsigned(MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2));

        rec.answer(MsgSeam::IdYes);
        action(list, "actDelete")->trigger();
        EXPECT_EQ(list.GetRecordCount(), 4);
        EXPECT_EQ(DMQuenrid215->AdrsTable()->recordCount(), 4);
        EXPECT_EQ(follower.deleted, 1);
        EXPECT_EQ(list.GetRecNo(1), kept);
        EXPECT_TRUE(list.IsSelected(1)) << "the first selected index stays selected";
        // The card's row went: the card closed without its save question.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(DataInquiry.isNull());
        EXPECT_EQ(list.GetCurrentIndex(), -1);
        list.RemoveFollower(&follower);
    });
    EXPECT_EQ(rec.count(), 2);
}

TEST_F(AdrsListTest, DeletingRowsReportsTheRowsThatCouldNotBeDeleted)
{
    prepare({{"Book", 5}}, "Book");
    RefuseDeleting(adrs() + "Book/Adrs.DB", {2, 4});
    MessageRecorder rec;
    CountingFollower follower;
    run([&](TAddressList& list) {
        list.AddFollower(&follower);
        ASSERT_EQ(list.GetRecordCount(), 5);
        for (int i = 0; i < 5; ++i)
            list.SelectIndex(i, false, false);
        rec.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
        action(list, "actDelete")->trigger();
        EXPECT_EQ(rec.last().text, QStringLiteral("2件のデータを削除できませんでした  "));
        EXPECT_EQ(list.GetRecordCount(), 2);
        EXPECT_EQ(std::set<qint32>({list.GetRecNo(0), list.GetRecNo(1)}), (std::set<qint32>{2, 4}));
        EXPECT_EQ(follower.deleted, 1);
        list.RemoveFollower(&follower);
    });
    EXPECT_EQ(rec.count(), 2);
}

TEST_F(AdrsListTest, KeywordNamesReachTheSortChoiceAndTheColumns)
{
    prepare({{"Book", 2}}, "Book");
    MessageRecorder rec;
    CountingFollower follower;
    run([&](TAddressList& list) {
        list.AddFollower(&follower);
        TAddressColumns columns = list.Engine().Columns();
        for (TAddressColumnRec& c : columns)
            if (c.item == 34)
                c.shown = true;
        list.Engine().SetColumns(columns);
        list.RefreshList(true, false, false);

        m_driver.on("KeywordEdit", [](QWidget* w) {
            w->findChild<QLineEdit*>("edtKeyword1")->setText(QStringLiteral("担当者"));
            w->findChild<QPushButton*>("btnOk")->click();
        });
        action(list, "actKeywordEdit")->trigger();
        EXPECT_EQ(list.findChild<QComboBox*>("cbxSort")->itemText(8), QStringLiteral("担当者順"));
        int column = -1;
        for (int c = 0; c < list.GetVisibleColumnCount(); ++c)
            if (list.GetVisibleColumnItem(c) == 34)
                column = c;
        ASSERT_GE(column, 0);
        EXPECT_EQ(list.ListView()->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(),
                  QStringLiteral("担当者"));
        EXPECT_EQ(follower.keywords, 1);
        list.RemoveFollower(&follower);
    });
    EXPECT_EQ(TMemIniFile(data() + "AdrsList.ini").ReadString("KEYWORD", "Name1", ""),
              QStringLiteral("担当者"));
}

TEST_F(AdrsListTest, ClosingWritesTheViewSettingsAndTheNextStartReadsThem)
{
    prepare({{"Book", 8}}, "Book");
    MessageRecorder rec;
    int textRow = -1;
    for (int row = 0; row < int(NarrowDownItemTable.size()) && textRow < 0; ++row)
        if (NarrowDownKindOfRow(row) == TNarrowDownItem::TextTest)
            textRow = row;
    ASSERT_GE(textRow, 0);
    TNarrowDownCondition condition;
    condition.items.append(
        {textRow, TNarrowDownItem::TextTest, "abc", 0, 0, TNarrowDownItem::Contains, false});
    QRect bounds;
    run([&](TAddressList& list) {
        list.setGeometry(60, 40, 820, 530);
        bounds = list.geometry();
        list.Engine().ChooseSortType(5);
        list.Engine().FlipSortDir();
        list.Engine().SetNarrowCondition(condition);
        TAddressColumns columns = list.Engine().Columns();
        std::swap(columns[0], columns[3]);
        list.Engine().SetColumns(columns);
    });
    const TMemIniFile main(DataRootFolder + MainSettingsFileName);
    EXPECT_EQ(main.ReadInteger("ADRS LIST", "Left", -1), ScaleByDpi(bounds.x(), 0));
    EXPECT_EQ(main.ReadInteger("ADRS LIST", "Top", -1), ScaleByDpi(bounds.y(), 0));
    EXPECT_EQ(main.ReadInteger("ADRS LIST", "Width", -1), ScaleByDpi(bounds.width(), 0));
    EXPECT_EQ(main.ReadInteger("ADRS LIST", "Height", -1), ScaleByDpi(bounds.height(), 0));
    EXPECT_EQ(main.ReadString("DUPLI SEARCH", "Item1", ""), "0");
    const TMemIniFile ini(data() + "AdrsList.ini");
    EXPECT_EQ(ini.ReadString("SORT", "SortType", ""), "5");
    EXPECT_EQ(ini.ReadString("SORT", "SortDir", ""), "0");
    EXPECT_EQ(ini.ReadString("GROUP", "ViewGroup", ""), "0");
    EXPECT_TRUE(ini.ReadString("HEADER", "HeaderIndex", "").startsWith("3,1,2,0,4,"));
    EXPECT_EQ(ini.ReadString("HEADER", "HeaderView", "").split(',').size(), 52);
    TNarrowDownCondition saved;
    EXPECT_TRUE(LoadNarrowDownFile(data() + "Search.lst", saved));
    EXPECT_EQ(saved, condition);
    EXPECT_EQ(TMemIniFile(adrs() + "AdrsMng.ini").ReadString("SORT", "1", ""), "Book");

    run([&](TAddressList& list) {
        EXPECT_EQ(list.geometry(), bounds);
        EXPECT_EQ(list.findChild<QComboBox*>("cbxSort")->currentIndex(), 5);
        EXPECT_FALSE(list.Engine().SortDir());
        EXPECT_EQ(list.GetVisibleColumnItem(0), 3);
        EXPECT_EQ(list.findChild<QLabel*>("pnlNarrowState")->text(), QStringLiteral("絞り込み中"));
        EXPECT_TRUE(action(list, "actCancelSearch")->isEnabled());
        EXPECT_EQ(list.GetRecordCount(), 0) << "no row holds the text";
        action(list, "actCancelSearch")->trigger();
        EXPECT_EQ(list.GetRecordCount(), 8);
        EXPECT_EQ(list.findChild<QLabel*>("pnlNarrowState")->text(), QString());
        EXPECT_FALSE(action(list, "actCancelSearch")->isEnabled());
    });
    EXPECT_FALSE(QFileInfo::exists(data() + "Search.lst")) << "no narrowing left to keep";
    EXPECT_EQ(rec.count(), 0);
}

TEST_F(AdrsListTest, DuplicateViewDropsTheNarrowingAndSuspendingShowsEverything)
{
    prepare({{"Book", 15}}, "Book"); // names repeat from row 10: rows 0-4 and 10-14 have partners
    TNarrowDownCondition condition;
    condition.items.append({11, TNarrowDownItem::TextTest, Cp932::fromUnicode(QStringLiteral("東都")), 0, 0,
                            TNarrowDownItem::Contains, false});
    ASSERT_TRUE(SaveNarrowDownFile(data() + "Search.lst", condition, nullptr));
    MessageRecorder rec;
    run([&](TAddressList& list) {
        auto* panel = list.findChild<QLabel*>("pnlNarrowState");
        auto* cbxSort = list.findChild<QComboBox*>("cbxSort");
        EXPECT_EQ(list.GetRecordCount(), 2);
        EXPECT_EQ(panel->text(), QStringLiteral("絞り込み中"));

        m_driver.on("DuplicateSearch", [](QWidget* w) {
            w->findChild<QComboBox*>("cbxItem1")->setCurrentIndex(3); // name
            w->findChild<QPushButton*>("btnView")->click();
        });
        action(list, "actDuplicateSearch")->trigger();
        EXPECT_TRUE(list.Engine().NarrowCondition().items.isEmpty());
        EXPECT_EQ(list.Engine().DuplicateItems(), (std::array<int, 2>{4, 0}));
        EXPECT_EQ(list.GetRecordCount(), 10);
        EXPECT_EQ(panel->text(), QStringLiteral("重複表示中"));
        EXPECT_FALSE(cbxSort->isEnabled());

        action(list, "actDisableSearch")->trigger();
        EXPECT_TRUE(action(list, "actDisableSearch")->isChecked());
        EXPECT_EQ(list.GetRecordCount(), 15);
        EXPECT_EQ(panel->text(), QStringLiteral("重複表示無効"));
        EXPECT_TRUE(cbxSort->isEnabled());

        // Cancelling while suspended leaves the rows and clears the check and the panel.
        action(list, "actCancelSearch")->trigger();
        EXPECT_FALSE(action(list, "actDisableSearch")->isChecked());
        EXPECT_FALSE(action(list, "actDisableSearch")->isEnabled());
        EXPECT_EQ(list.GetRecordCount(), 15);
        EXPECT_EQ(panel->text(), QString());

        // The word search: a miss is told, a hit selects its row alone.
        m_driver.on("WordSearch", [](QWidget* w) {
            w->findChild<QLineEdit*>("edtWord")->setText(QStringLiteral("見当たらない"));
            w->findChild<QPushButton*>("btnSearch")->click();
        });
        rec.answer(MsgSeam::IdOk);
        action(list, "actWordSearch")->trigger();
        ASSERT_EQ(rec.count(), 1);
        EXPECT_EQ(rec.last().text, QStringLiteral("指定した文字列は見つかりませんでした  "));
        EXPECT_TRUE(action(list, "actWordNext")->isEnabled());
        m_driver.on("WordSearch", [](QWidget* w) {
            w->findChild<QLineEdit*>("edtWord")->setText(QStringLiteral("北斗精機"));
            w->findChild<QPushButton*>("btnSearch")->click();
        });
        action(list, "actWordSearch")->trigger();
        EXPECT_EQ(list.GetSelectedCount(), 1);
        EXPECT_TRUE(list.IsSelected(1));
        action(list, "actWordNext")->trigger();
        EXPECT_TRUE(list.IsSelected(11)) << "北斗精機1 holds the word too";
        EXPECT_EQ(list.SearchWord(), QStringLiteral("北斗精機"));
    });
    EXPECT_EQ(rec.count(), 1);
}

TEST_F(AdrsListTest, AdministratorModeEndsAtOnceAndItsPanelGoes)
{
    prepare({{"Book", 1}}, "Book");
    MessageRecorder rec;
    run([&](TAddressList& list) {
        auto* panel = list.findChild<QLabel*>("pnlAdminMode");
        QAction* admin = action(list, "actSwitchAdminMode");
        EXPECT_FALSE(admin->isEnabled()) << "no administrator password";
        AdminPassword = QStringLiteral("stored");
        AdminMode = true;
        list.UpdateActions();
        list.UpdateStatusPanels();
        EXPECT_EQ(panel->text(), QStringLiteral("管理者モード"));
        ASSERT_TRUE(admin->isEnabled());
        admin->trigger();
        EXPECT_FALSE(AdminMode);
        EXPECT_EQ(admin->text(), QStringLiteral("管理者モードへの移行(&A)..."));
        EXPECT_EQ(panel->text(), QString());
        list.UpdateActions();
        EXPECT_FALSE(admin->isEnabled()) << "switching on needs the password prompt, not built here";

        // With the prompt registered, a right password switches it on again.
        RegisterListCommand(TListCommand::SwitchAdminMode, [](TAddressList&) {
            TListCommandResult r;
            r.ok = true;
            return r;
        });
        list.UpdateActions();
        admin->trigger();
        EXPECT_TRUE(AdminMode);
        EXPECT_EQ(admin->text(), QStringLiteral("管理者モードを終了(&A)"));
        EXPECT_TRUE(list.Engine().CellContext().AdminMode);
        RegisterListCommand(TListCommand::SwitchAdminMode, {});
    });
    AdminPassword.clear();
    AdminMode = false;
}

TEST_F(AdrsListTest, ANewDataFolderFromTheSettingsIsOpenedAfresh)
{
    prepare({{"Book", 4}}, "Book");
    const QString other = m_root + "other/";
    QDir().mkpath(other + "Adrs/");
    AdrsBookGenerator::WriteBook(other + "Adrs/", "Elsewhere", 7);
    MessageRecorder rec;
    run([&](TAddressList& list) {
        ASSERT_EQ(list.GetRecordCount(), 4);
        // What the settings dialog does before it changes the data folder.
        RegisterListCommand(TListCommand::Environment, [&](TAddressList& l) {
            l.SaveNarrowDown();
            EXPECT_TRUE(l.CloseChildWindows());
            l.SaveViewSettings();
            CurrentAdrsName = DefaultAdrsName;
            DataFolder = other;
            SetDataSubFolders();
            TListCommandResult r;
            r.ok = true;
            r.dataPathChanged = true;
            return r;
        });
        list.UpdateActions();
        chooseBook("Elsewhere");
        action(list, "actEnvironment")->trigger();
        RegisterListCommand(TListCommand::Environment, {});
        EXPECT_EQ(list.windowTitle(), QStringLiteral("Tovarel - Elsewhere"));
        EXPECT_EQ(list.GetRecordCount(), 7);
        EXPECT_EQ(DMQuenrid215->AdrsTable()->filePath(), other + "Adrs/Elsewhere/Adrs.DB");
        EXPECT_EQ(DMQuenrid215->OpenCount(TDMQuenrid215::tkAdrs), 1);
        EXPECT_TRUE(DMQuenrid215->PostHistory()->IsLoaded());
    });
    EXPECT_EQ(rec.count(), 0);
    EXPECT_TRUE(QFileInfo::exists(data() + "AdrsList.ini")) << "the old folder's settings were kept";
    EXPECT_TRUE(QFileInfo::exists(other + "AdrsList.ini"));
}

TEST_F(AdrsListTest, AChildThatRefusesToCloseKeepsTheProgramRunning)
{
    prepare({{"Book", 1}}, "Book");
    MessageRecorder rec;
    RefusingChild child;
    child.show();
    RegisterListChild(TListChild::CategorySearch, [&child] { return &child; });
    run([&](TAddressList& list) {
        action(list, "actExit")->trigger();
        EXPECT_TRUE(list.isVisible());
        list.close();
        EXPECT_TRUE(list.isVisible());
        // Ending the run asks the session to end first; it stays while the child refuses.
        EXPECT_FALSE(MainForm->CloseMainForm());
        EXPECT_TRUE(list.isVisible());
        EXPECT_TRUE(StartupServices().AddressListExists());
        EXPECT_FALSE(list.CloseChildWindows());
        EXPECT_FALSE(QFileInfo::exists(data() + "AdrsList.ini")) << "nothing is saved yet";
        child.refuse = false;
        QTest::keyClick(list.ListView(), Qt::Key_Escape); // Escape runs actExit

        EXPECT_FALSE(list.isVisible());
        EXPECT_FALSE(child.isVisible());
    });
    RegisterListChild(TListChild::CategorySearch, {});
    EXPECT_TRUE(QFileInfo::exists(data() + "AdrsList.ini"));
}

TEST_F(AdrsListTest, EndingTheDesktopSessionClosesAsTheUserWouldAndAsksAboutUnsavedInput)
{
    prepare({{"Book", 2}}, "Book");
    MessageRecorder rec;
    run([&](TAddressList& list) {
        list.SelectIndex(0, true, false);
        action(list, "actInquiry")->trigger();
        ASSERT_TRUE(DataInquiry);
        DataInquiry->edtTel->setText(QStringLiteral("0312345678"));

        // SIGTERM (a logout or shutdown) reaches the card's question; Cancel keeps everything open.
        rec.answer(MsgSeam::IdCancel);
        ::raise(SIGTERM);
        EXPECT_TRUE(QTest::qWaitFor([&] { return rec.count() == 1; }, 5000));
        EXPECT_EQ(rec.last().flags, unsigned(MsgSeam::MbYesNoCancel | MsgSeam::MbIconQuestion));
        ASSERT_TRUE(DataInquiry);
        EXPECT_TRUE(DataInquiry->isVisible());
        EXPECT_TRUE(list.isVisible());
        EXPECT_FALSE(QFileInfo::exists(data() + "AdrsList.ini"));

        // SIGHUP the same way; No discards the input and the session ends.
        rec.answer(MsgSeam::IdNo);
        ::raise(SIGHUP);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !list.isVisible(); }, 5000));
        EXPECT_EQ(rec.count(), 2);
    });
    EXPECT_TRUE(QFileInfo::exists(data() + "AdrsList.ini")) << "the list saved its settings on the way out";
}

TEST_F(AdrsListTest, F1InTheListOpensItsHelpPage)
{
    prepare({{"Book", 1}}, "Book");
    const QString guide = m_root + "guide.pdf";
    WriteFileBytes(guide, "%PDF-1.4\n");
    MessageRecorder rec;
    run([&](TAddressList& list) {
        TPDFHelp* help = MainForm->Help();
        ASSERT_TRUE(help);
        QStringList launched;
        help->SetViewer({"viewer", {"%p", "%f"}, {"%f"}});
        help->SetLauncher([&](const QString&, const QStringList& arguments) {
            launched = arguments;
            return true;
        });
        help->SetDocument(guide);
        list.ListView()->setFocus();
        QTest::keyClick(list.ListView(), Qt::Key_F1);
        // Context 39, shifted by the guide's three front pages, counted from 1.
        EXPECT_EQ(launched, QStringList({"43", guide}));

        // Without a viewer the advice is about installing one.
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_root + "no-programs"));
        help->LocateReader();
        qputenv("PATH", path);
        ASSERT_TRUE(help->NotAvailable());
        rec.answer(MsgSeam::IdOk);
        QTest::keyClick(list.ListView(), Qt::Key_F1);
        ASSERT_EQ(rec.count(), 1);
        EXPECT_FALSE(rec.last().text.contains(QStringLiteral("スタートメニュー")));
        EXPECT_TRUE(
            rec.last().text.contains(QStringLiteral("PDF ビューアー（Evince、Okular など）をインストール")));
    });
}

TEST_F(AdrsListTest, StoredColumnOrdersAreTakenOnlyAsPermutations)
{
    const TAddressColumns defaults = DefaultAddressColumns();
    QStringList reversed, widths52, views52;
    for (int i = 51; i >= 0; --i)
        reversed.append(QString::number(i));
    for (int i = 0; i < 52; ++i) {
        widths52.append(QString::number(10 + i));
        views52.append(i % 2 ? "1" : "0");
    }
    QStringList tooShort = reversed.mid(1);
    QStringList doubled = reversed;
    doubled[0] = "0"; // item 0 twice, item 51 missing
    QStringList outside = reversed;
    outside[0] = "52";
    QStringList notNumber = reversed;
    notNumber[5] = "x";

    struct Case
    {
        const char* name;
        QString index, width, view;
        bool customOrder, customWidths, customViews;
    } cases[] = {
        {"51 items", tooShort.join(','), widths52.join(','), views52.join(','), false, false, false},
        {"an item twice", doubled.join(','), widths52.join(','), views52.join(','), false, false, false},
        {"an item outside", outside.join(','), widths52.join(','), views52.join(','), false, false, false},
        {"not a number", notNumber.join(','), widths52.join(','), views52.join(','), false, false, false},
        {"valid order, 50 widths", reversed.join(','), widths52.mid(2).join(','), views52.join(','), true,
         false, true},
        {"valid order, all keys", reversed.join(','), widths52.join(','), views52.join(','), true, true,
         true},
        {"missing", "", "", "", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMemIniFile ini(m_root + "none.ini");
        if (!c.index.isEmpty()) {
            ini.WriteString("HEADER", "HeaderIndex", c.index);
            ini.WriteString("HEADER", "HeaderWidth", c.width);
            ini.WriteString("HEADER", "HeaderView", c.view);
        }
        const TAddressColumns columns = ReadHeaderSettings(ini);
        ASSERT_EQ(columns.size(), 52);
        for (int i = 0; i < 52; ++i) {
            const int item = c.customOrder ? 51 - i : i;
            ASSERT_EQ(columns[i].item, item) << i;
            EXPECT_EQ(columns[i].tableRow, item);
            EXPECT_EQ(columns[i].width, ScaleByDpi(c.customWidths ? 10 + i : defaults[item].width, 1)) << i;
            EXPECT_EQ(columns[i].shown, c.customViews ? i % 2 == 1 : defaults[item].shown) << i;
        }
    }
}

TEST_F(AdrsListTest, StoredGroupSortAndDuplicateChoicesOutOfRangeReadAsNone)
{
    DataFolder = m_root + "data/";
    QDir().mkpath(DataFolder);
    writeSettings({{"DUPLI SEARCH", "Item1", "0"}, {"DUPLI SEARCH", "Item2", "3"}});
    {
        TMemIniFile ini(DataFolder + "AdrsList.ini");
        ini.WriteString("GROUP", "ViewGroup", "12");
        ini.WriteString("SORT", "SortType", "17");
        ini.WriteString("SORT", "SortDir", "0");
        ASSERT_TRUE(ini.UpdateFile());
    }
    {
        TAddressList list;
        EXPECT_EQ(list.Engine().ViewGroup(), 0);
        EXPECT_EQ(list.Engine().SortType(), 0);
        EXPECT_FALSE(list.Engine().SortDir());
        EXPECT_EQ(list.Engine().DuplicateItems(), (std::array<int, 2>{0, 0}));
        EXPECT_FALSE(list.Action("actDisableSearch")->isEnabled());
        // No book: the record actions and the windows of other parts stay disabled.
        for (const char* name : {"actInquiry", "actDelete", "actListPrint", "actEnvironment", "actVersion",
                                 "actNameAdrsSearch", "actLayoutPrint", "actImportFile", "actWordNext"})
            EXPECT_FALSE(list.Action(name)->isEnabled()) << name;
        for (const char* name : {"actCreate", "actOpen", "actAdrsSearch", "actWordSearch", "actExit"})
            EXPECT_TRUE(list.Action(name)->isEnabled()) << name;
        EXPECT_FALSE(list.Action("actMarkExport")->isVisible());
        EXPECT_EQ(list.Action("actInquiry")->shortcut(), QKeySequence("Ctrl+I"));
        EXPECT_EQ(list.Action("actCreate")->statusTip(), QStringLiteral("新しくアドレス帳を作成します"));
        EXPECT_EQ(list.findChild<QLabel*>("pnlSelectedCount")->text(), QStringLiteral("選択件数： 0"));

        // A registered opener enables its action and runs it.
        int opened = 0;
        RegisterListCommand(TListCommand::Version, [&](TAddressList&) {
            ++opened;
            return TListCommandResult{};
        });
        list.UpdateActions();
        EXPECT_TRUE(list.Action("actVersion")->isEnabled());
        list.Action("actVersion")->trigger();
        EXPECT_EQ(opened, 1);
        RegisterListCommand(TListCommand::Version, {});
    }
    writeSettings({{"DUPLI SEARCH", "Item1", "5"}, {"DUPLI SEARCH", "Item2", "2"}});
    {
        TAddressList list;
        EXPECT_EQ(list.Engine().DuplicateItems(), (std::array<int, 2>{0, 0}));
    }
    writeSettings({{"DUPLI SEARCH", "Item1", "1"}, {"DUPLI SEARCH", "Item2", "9"}});
    {
        TAddressList list;
        EXPECT_EQ(list.Engine().DuplicateItems(), (std::array<int, 2>{1, 0}));
        EXPECT_TRUE(list.Action("actCancelSearch")->isEnabled());
    }
}

TEST(AdrsListDemo, PostalCodesFitTheFieldAtAnyRowCount)
{
    for (int row : {0, 9878, 9879, 100000, 5000000})
        EXPECT_EQ(AdrsBookGenerator::PostalCode(row).size(), 7) << row;
}

// Writes a data tree with one book of TOVAREL_DEMO_ROWS rows (default 300) under TOVAREL_DEMO_ROOT (the common
// application-data folder of a screenshot run); skipped otherwise.
TEST(AdrsListDemo, WriteDemoTree)
{
    const QString root = qEnvironmentVariable("TOVAREL_DEMO_ROOT");
    if (root.isEmpty())
        GTEST_SKIP() << "TOVAREL_DEMO_ROOT not set";
    const QString dataRoot = root + "/Morvane/Quenrid215/";
    const QString adrsFolder = dataRoot + "Data/Adrs/";
    ASSERT_TRUE(QDir().mkpath(adrsFolder));
    TMemIniFile main(dataRoot + MainSettingsFileName);
    main.WriteString("BASE", "DataPath", dataRoot + "Data/");
    main.WriteString("BASE", "AdrsName", QStringLiteral("取引先"));
    main.WriteString("OPERATION", "ViewSplash", "0");
    ASSERT_TRUE(main.UpdateFile());
    bool rowsOk = false;
    const int rows = qEnvironmentVariableIntValue("TOVAREL_DEMO_ROWS", &rowsOk);
    AdrsBookGenerator::WriteBook(adrsFolder, QStringLiteral("取引先"), rowsOk && rows > 0 ? rows : 300);
    AdrsBookGenerator::WriteBook(adrsFolder, QStringLiteral("個人"), 20, 3);
    QFile group(adrsFolder + QStringLiteral("取引先/Group.dat"));
    ASSERT_TRUE(group.open(QIODevice::WriteOnly));
    group.write(Cp932::fromUnicode(
        QStringLiteral("[GROUP]\r\nGroup1=得意先\r\nGroup2=仕入先\r\nGroup3=協力会社\r\n")));
}

TEST_F(AdrsListTest, OpeningADesignerClosesTheOtherKindsFirst)
{
    DataFolder = m_root + "data/";
    QDir().mkpath(DataFolder);
    RefusingChild label, layout;
    label.show();
    layout.show();
    RegisterListChild(TListChild::LabelForm, [&label] { return label.isVisible() ? &label : nullptr; });
    RegisterListChild(TListChild::LayoutForm, [&layout] { return layout.isVisible() ? &layout : nullptr; });
    QList<TListCommand> opened;
    for (TListCommand c : {TListCommand::CardPrint, TListCommand::LayoutPrint})
        RegisterListCommand(c, [&opened, c](TAddressList&) {
            opened.append(c);
            return TListCommandResult{};
        });
    {
        TAddressList list;
        list.UpdateActions();
        // Card printing must close the label window (and the address print window); both refuse.
        list.Action("actCardPrint")->trigger();
        EXPECT_TRUE(opened.isEmpty());
        layout.refuse = false;
        label.refuse = true;
        list.Action("actCardPrint")->trigger();
        EXPECT_FALSE(layout.isVisible());
        EXPECT_TRUE(label.isVisible());
        EXPECT_TRUE(opened.isEmpty()) << "the label window refused";
        label.refuse = false;
        list.Action("actCardPrint")->trigger();
        EXPECT_FALSE(label.isVisible());
        EXPECT_EQ(opened, QList<TListCommand>{TListCommand::CardPrint});

        // The address print window itself is not closed when address printing opens again.
        layout.refuse = true;
        layout.show();
        list.Action("actLayoutPrint")->trigger();
        EXPECT_TRUE(layout.isVisible());
        EXPECT_EQ(opened.size(), 2);
        layout.refuse = false;
    }
    for (TListChild c : {TListChild::LabelForm, TListChild::LayoutForm})
        RegisterListChild(c, {});
    for (TListCommand c : {TListCommand::CardPrint, TListCommand::LayoutPrint})
        RegisterListCommand(c, {});
}
