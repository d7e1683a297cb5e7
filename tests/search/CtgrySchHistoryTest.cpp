// Tests of the category search window's history and selection export over the directory fixture.
#include "search/CtgrySch.h"

#include "core/AppSub.h"
#include "platform/IniFile.h"
#include "search/DirExportLine.h"
#include "search/DirSearchFixture.h"
#include "search/EItmSel.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QTemporaryDir>
#include <QToolButton>

#include <numeric>

namespace {

class CtgrySchHistoryTest : public DirSearchTest
{
protected:
    void SetUp() override
    {
        DirSearchTest::SetUp();
        HddInstalled = false;
        DiscFolder = DirFixtureFolder.chopped(QStringLiteral("Quenrid215/").size());
        m_saved = {DataRootFolder, DataFolder};
        m_hisCount = MainSettings.HisCount;
        DataRootFolder = TempFolder();
        DataFolder = TempFolder() + QStringLiteral("Data/");
        QDir().mkpath(DataFolder);
        MainSettings.HisCount = 10;
        window = new TCategorySearch(nullptr, nullptr);
    }
    void TearDown() override
    {
        delete window.data();
        DataRootFolder = m_saved[0];
        DataFolder = m_saved[1];
        MainSettings.HisCount = m_hisCount;
        DirSearchTest::TearDown();
    }
    void Reopen()
    {
        delete window.data();
        window = new TCategorySearch(nullptr, nullptr);
    }
    void Search()
    {
        Button("bbtnSearch")->click();
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
    QPushButton* Button(const char* name) { return window->findChild<QPushButton*>(name); }
    QComboBox* Combo() { return window->findChild<QComboBox*>("nmcbxName"); }
    QListWidget* List(TCategorySearch::AreaList l) { return window->AreaListWidget(l); }
    QList<int> Rows(TCategorySearch::AreaList l, const QList<QByteArray>& codes)
    {
        QList<int> rows;
        for (int i = 0; i < List(l)->count(); ++i)
            if (codes.contains(List(l)->item(i)->data(Qt::UserRole).toByteArray()))
                rows << i;
        return rows;
    }
    QList<QByteArray> Selected(TCategorySearch::AreaList l)
    {
        QList<QByteArray> codes;
        for (int i = 0; i < List(l)->count(); ++i)
            if (List(l)->item(i)->isSelected())
                codes << List(l)->item(i)->data(Qt::UserRole).toByteArray();
        return codes;
    }
    // A search of the given Tokyo cities under a name; nothing found answers the message.
    void SearchCities(const QString& name, const QList<QByteArray>& cities)
    {
        window->SelectRegion(3);
        window->ClickAreaList(TCategorySearch::alCity, Rows(TCategorySearch::alCity, cities));
        Combo()->setEditText(name);
        messages.allowUnexpected();
        Search();
    }
    QStringList ComboItems()
    {
        QStringList items;
        for (int i = 0; i < Combo()->count(); ++i)
            items << Combo()->itemText(i);
        return items;
    }

    MessageRecorder messages;
    QPointer<TCategorySearch> window;
    QStringList m_saved;
    int m_hisCount = 10;
};

} // namespace

TEST_F(CtgrySchHistoryTest, SearchesAreRecordedAndTheirConditionsComeBack)
{
    EXPECT_TRUE(Combo()->isVisibleTo(window));
    EXPECT_FALSE(window->findChild<QLineEdit*>("nmedtName")->isVisibleTo(window));
    window->findChild<QCheckBox*>("chkFax")->click();
    auto* from = window->findChild<QComboBox*>("cbxPubFromYear");
    from->setCurrentIndex(from->findData(2000));
    window->findChild<QComboBox*>("cbxPubToYear")->setCurrentIndex(0);
    SearchCities("", {"13101", "13103"});
    SearchCities("abc", {"13104"});
    ASSERT_EQ(window->History().entries.size(), 2);
    EXPECT_EQ(ComboItems(), (QStringList{"abc", ""}));
    EXPECT_EQ(window->ChosenHistoryIndex(), 0);
    // The same search under another letter case moves nothing new in.
    SearchCities("ABC", {"13104"});
    EXPECT_EQ(window->History().entries.size(), 2);

    Reopen();
    EXPECT_EQ(Combo()->currentText(), "ABC");
    EXPECT_EQ(Selected(TCategorySearch::alCity), QList<QByteArray>{"13104"});
    EXPECT_EQ(window->AreaCodeList(), (TAreaCodeList{{"13104", AreaKindCity}}));
    EXPECT_EQ(window->PhoneKinds(), 13);
    EXPECT_FALSE(window->findChild<QCheckBox*>("chkFax")->isChecked());
    EXPECT_EQ(window->findChild<QComboBox*>("cbxPubFromYear")->currentData().toInt(), 2000);

    // Choosing the older entry puts its two cities back, in the list's own order.
    Combo()->activated(1);
    EXPECT_EQ(window->ChosenHistoryIndex(), 1);
    EXPECT_EQ(Combo()->currentText(), "");
    EXPECT_EQ(Selected(TCategorySearch::alCity), (QList<QByteArray>{"13101", "13103"}));
    EXPECT_EQ(window->AreaCodeList().size(), 2);
    window->BuildConditions();
    EXPECT_EQ(window->Conditions().size(), 2);
}

TEST_F(CtgrySchHistoryTest, PrefectureAndOazaSelectionsAndUnknownKinds)
{
    TCategorySearchHistory h;
    TCategorySearchHistoryRec oaza;
    oaza.Name = "o";
    oaza.Region = 3;
    window->SelectRegion(3);
    window->ClickAreaList(TCategorySearch::alCity, Rows(TCategorySearch::alCity, {"13101"}));
    const QByteArray oazaCode = List(TCategorySearch::alOaza)->item(2)->data(Qt::UserRole).toByteArray();
    oaza.AreaCodes = {{oazaCode, AreaKindOaza}};
    oaza.AreaKind = AreaKindOaza;
    oaza.AreaCount = 1;
    oaza.Major = 11;
    TCategorySearchHistoryRec prefs;
    prefs.Name = "p";
    prefs.Region = 2;
    prefs.AreaCodes = {{"08", AreaKindPrefecture}, {"10", AreaKindPrefecture}};
    prefs.AreaKind = AreaKindPrefecture;
    prefs.AreaCount = 2;
    TCategorySearchHistoryRec unknown = prefs;
    unknown.Name = "u";
    unknown.AreaKind = 3;
    unknown.AreaCodes.clear();
    h.current = oaza;
    h.entries = {oaza, prefs, unknown};
    ASSERT_TRUE(TCategoryHistoryFile::Save(TCategorySearch::HistoryFileName(), h));
    Reopen();

    EXPECT_EQ(Selected(TCategorySearch::alPrefecture), QList<QByteArray>{"13"});
    EXPECT_EQ(Selected(TCategorySearch::alCity), QList<QByteArray>{"13101"});
    // Every oaza item of the code (an oaza may be listed in parts).
    const QList<QByteArray> oazas = Selected(TCategorySearch::alOaza);
    ASSERT_FALSE(oazas.isEmpty());
    EXPECT_EQ(oazas.count(oazaCode), oazas.size());
    EXPECT_EQ(window->findChild<QListWidget*>("lbxMain")->currentItem()->data(Qt::UserRole).toInt(), 11);
    window->BuildConditions();
    EXPECT_EQ(window->AreaCaption().left(7), QStringLiteral("東京都千代田区"));

    Combo()->activated(1);
    EXPECT_EQ(Selected(TCategorySearch::alPrefecture), (QList<QByteArray>{"08", "10"}));
    EXPECT_EQ(List(TCategorySearch::alCity)->count(), 1);
    // An unknown kind applies as the whole country, so a job has a condition.
    Combo()->activated(2);
    EXPECT_EQ(window->AreaCodeList(), TAreaCodeList{TAreaCode{}});
    EXPECT_EQ(window->findChild<QComboBox*>("cbxArea")->currentIndex(), 0);
    window->BuildConditions();
    EXPECT_EQ(window->Conditions().size(), 1);
}

TEST_F(CtgrySchHistoryTest, DeleteInTheDropDownAndTheHistoryCount)
{
    for (const char* name : {"a", "b", "c"})
        SearchCities(QString::fromLatin1(name), {"13101"});
    ASSERT_EQ(ComboItems(), (QStringList{"c", "b", "a"}));
    window->show();
    Combo()->showPopup();
    QAbstractItemView* view = Combo()->view();
    view->setCurrentIndex(Combo()->model()->index(1, 0));
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(view, &del);
    EXPECT_EQ(ComboItems(), (QStringList{"c", "a"}));
    EXPECT_EQ(TCategoryHistoryFile::Load(TCategorySearch::HistoryFileName(), 10).entries.size(), 2);
    Combo()->hidePopup();

    MainSettings.HisCount = 1;
    window->ApplyHistoryCount();
    EXPECT_EQ(window->History().entries.size(), 1);
    MainSettings.HisCount = 0;
    window->ApplyHistoryCount();
    EXPECT_FALSE(Combo()->isVisibleTo(window));
    auto* edit = window->findChild<QLineEdit*>("nmedtName");
    EXPECT_TRUE(edit->isVisibleTo(window));
    EXPECT_EQ(edit->text(), "c");
    // No history: the last conditions are still kept and restored.
    window->hide();
    edit->setText("zz");
    window->SelectRegion(3);
    window->ClickAreaList(TCategorySearch::alCity, Rows(TCategorySearch::alCity, {"13103"}));
    Search();
    const TCategorySearchHistory stored = TCategoryHistoryFile::Load(TCategorySearch::HistoryFileName(), 10);
    EXPECT_EQ(stored.entries.size(), 1) << "one entry: the current conditions";
    EXPECT_EQ(stored.current.Name, "zz");
    Reopen();
    EXPECT_EQ(window->findChild<QLineEdit*>("nmedtName")->text(), "zz");
    EXPECT_EQ(Selected(TCategorySearch::alCity), QList<QByteArray>{"13103"});
}

TEST_F(CtgrySchHistoryTest, AHistoryThatCannotBeWrittenNamesTheFile)
{
    DataFolder = TempFolder() + QStringLiteral("missing/");
    SearchCities("a", {"13101"});
    bool named = false;
    for (const MsgSeam::Request& m : messages.messages())
        named = named ||
                (m.text.contains(QStringLiteral("missing/Ctgry.shc")) && (m.flags & MsgSeam::MbIconStop));
    EXPECT_TRUE(named);
}

TEST_F(CtgrySchHistoryTest, SelectionExportWritesCp932LinesAndAppendsWithoutHeader)
{
    SearchCities("", {"13101"});
    ASSERT_EQ(window->GetHitCount(), 7);
    auto* list = window->findChild<QTableView*>("lvResult");
    list->clearSelection();
    list->selectionModel()->select(list->model()->index(2, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    list->selectionModel()->select(list->model()->index(0, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QString path = DataFolder + QStringLiteral("out/hits.csv");
    QDir().mkpath(DataFolder + QStringLiteral("out"));

    // The first time the file dialog chooses the file ("hits" gets the chosen filter's extension).
    messages.allowUnexpected(false);
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    ModalDriver driver;
    driver.on("dlgExportFile", [&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_TRUE(dialog);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        dialog->selectNameFilter(dialog->nameFilters()[1]);
        dialog->setDirectory(DataFolder + QStringLiteral("out"));
        // The name as typed (selectFile leaves a focused name field alone).
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QStringLiteral("hits"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    window->findChild<QToolButton*>("sbtnFileExport")->click();
    EXPECT_EQ(messages.messages()[0].text.left(4), QStringLiteral("2 件の"));
    EXPECT_EQ(messages.last().text, QStringLiteral("2 件のデータを出力しました  "));
    EXPECT_EQ(window->ExportFileName().toStdString(), path.toStdString());
    QByteArray bytes = ReadFileBytes(path);
    QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], DirExportHeader(DefaultDirExportItems()) + '\r');
    EXPECT_TRUE(lines[1].startsWith("03-3211-0001,")) << "page order";
    EXPECT_TRUE(lines[1].contains(ToAnsi(QStringLiteral("東京都")))) << "CP932";
    EXPECT_TRUE(lines[2].endsWith('\r'));

    // The second time: keep the file, append; no second header.
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdNo).answer(MsgSeam::IdNo).answer(MsgSeam::IdOk);
    window->findChild<QToolButton*>("sbtnFileExport")->click();
    EXPECT_TRUE(messages.messages()[3].text.contains(QStringLiteral("出力先を変更しますか？")));
    EXPECT_EQ(messages.messages()[3].flags & MsgSeam::MbDefButton2, unsigned(MsgSeam::MbDefButton2));
    EXPECT_TRUE(messages.messages()[4].text.startsWith(QStringLiteral("既にあるファイルを指定しました")));
    lines = ReadFileBytes(path).split('\n');
    EXPECT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[3], lines[1]);

    // Overwrite with only the phone item: one header, then the lines.
    QList<TExportItemRec> items = DefaultDirExportItems();
    for (TExportItemRec& it : items)
        it.Chosen = it.Row == 0;
    TExportItemSelect* shown = nullptr;
    driver.on("ExportItemSelect", [&](QWidget* w) {
        shown = static_cast<TExportItemSelect*>(w);
        ASSERT_TRUE(shown);
        shown->LoadItems(items);
        shown->accept();
    });
    window->findChild<QToolButton*>("sbtnExportItemSelect")->click();
    ASSERT_TRUE(shown);
    EXPECT_EQ(window->ExportItems()[1].Chosen, false);
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    EXPECT_EQ(ReadDirExportItems(ini, "CATEGORY SEARCH")[0].Chosen, true);
    EXPECT_EQ(ReadDirExportItems(ini, "CATEGORY SEARCH")[5].Chosen, false);
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdNo).answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    window->findChild<QToolButton*>("sbtnFileExport")->click();
    // Row 2 is a fax number: with the phone item alone its line is empty and not written.
    EXPECT_EQ(window->RowText(2, TDirSearchForm::ColKind), "Fax");
    EXPECT_EQ(ReadFileBytes(path), ToAnsi(QStringLiteral("電話番号\r\n03-3211-0001\r\n")));
    EXPECT_EQ(messages.last().text, QStringLiteral("1 件のデータを出力しました  "));
}

TEST_F(CtgrySchHistoryTest, ItemDialogMovesResortsAndRefusesNoItem)
{
    TExportItemSelect dialog(window);
    dialog.LoadItems(DefaultDirExportItems());
    auto* list = dialog.findChild<QListWidget*>("lvExportItem");
    EXPECT_EQ(list->currentRow(), 0);
    auto order = [&] {
        QList<TExportItemRec> items;
        dialog.StoreItems(items);
        QList<int> rows;
        for (const TExportItemRec& it : items)
            rows << it.Row;
        return rows;
    };
    dialog.MoveFocused(TExportItemSelect::mvUp);
    EXPECT_EQ(order().first(), 0) << "nothing at the top";
    list->item(0)->setCheckState(Qt::Unchecked);
    dialog.MoveFocused(TExportItemSelect::mvBottom);
    EXPECT_EQ(order().last(), 0);
    EXPECT_EQ(list->currentRow(), 18);
    EXPECT_EQ(list->item(18)->checkState(), Qt::Unchecked) << "the mark moves with the row";
    dialog.MoveFocused(TExportItemSelect::mvDown);
    EXPECT_EQ(order().last(), 0);
    dialog.MoveFocused(TExportItemSelect::mvUp);
    EXPECT_EQ(order()[17], 0);
    list->setCurrentRow(5);
    dialog.MoveFocused(TExportItemSelect::mvTop);
    EXPECT_EQ(order().first(), 6);
    dialog.findChild<QPushButton*>("bbtnReSort")->click();
    QList<int> sorted(19);
    std::iota(sorted.begin(), sorted.end(), 0);
    EXPECT_EQ(order(), sorted);
    EXPECT_EQ(list->item(0)->checkState(), Qt::Unchecked) << "並びを戻す keeps the marks";
    EXPECT_EQ(list->currentRow(), 0);

    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setCheckState(Qt::Unchecked);
    messages.answer(MsgSeam::IdOk);
    dialog.findChild<QPushButton*>("btnOk")->click();
    EXPECT_EQ(messages.last().text, QStringLiteral("出力する項目は１つ以上選択してください  "));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    dialog.findChild<QPushButton*>("bbtnAll")->click();
    dialog.findChild<QPushButton*>("btnOk")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(DirExportItemsTest, KeysRoundTripAndFallBack)
{
    QTemporaryDir dir;
    TMemIniFile ini(dir.filePath("a.ini"));
    QList<TExportItemRec> items = DefaultDirExportItems();
    items.move(3, 0);
    items[4].Chosen = false;
    WriteDirExportItems(ini, "S", items);
    EXPECT_EQ(ini.ReadString("S", "ExportItemIndex", ""), "3,0,1,2,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18");
    const QList<TExportItemRec> back = ReadDirExportItems(ini, "S");
    ASSERT_EQ(back.size(), 19);
    for (int i = 0; i < 19; ++i) {
        EXPECT_EQ(back[i].ItemNo, items[i].ItemNo);
        EXPECT_EQ(back[i].Row, items[i].Row);
        EXPECT_EQ(back[i].Chosen, items[i].Chosen);
    }
    // Marks of another length: all chosen; numbers of another length: table order.
    ini.WriteString("S", "ExportItemExport", "1,0");
    for (const TExportItemRec& it : ReadDirExportItems(ini, "S"))
        EXPECT_TRUE(it.Chosen);
    EXPECT_EQ(ReadDirExportItems(ini, "S")[0].Row, 3);
    ini.WriteString("S", "ExportItemIndex", "3,0");
    EXPECT_EQ(ReadDirExportItems(ini, "S")[0].Row, 0);
}

TEST_F(CtgrySchHistoryTest, AWholeDataExportThatCannotOpenItsFileNamesIt)
{
    const QString folderAsFile = DataFolder + QStringLiteral("taken.csv");
    QDir().mkpath(folderAsFile);
    // Written after the window goes, which writes its own.
    delete window.data();
    {
        TMemIniFile ini(DataRootFolder + MainSettingsFileName);
        ini.WriteString("CATEGORY SEARCH", "ExportFile", folderAsFile);
        ASSERT_TRUE(ini.UpdateFile());
    }
    window = new TCategorySearch(nullptr, nullptr);
    EXPECT_EQ(window->ExportFileName(), folderAsFile);
    EXPECT_FALSE(Button("bbtnFileExport")->isVisibleTo(window)) << "only the selection export here";
    window->SelectRegion(3);
    window->ClickAreaList(TCategorySearch::alCity, Rows(TCategorySearch::alCity, {"13101"}));
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdNo).answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    window->bbtnFileExportClick();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!window->IsSearching())
            loop.quit();
    });
    poll.start(0);
    if (window->IsSearching())
        loop.exec();
    ASSERT_EQ(messages.count(), 4);
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("ファイル出力エラー  \r\nRC = 104  \r\n")));
    EXPECT_TRUE(messages.last().text.contains(folderAsFile));
    EXPECT_EQ(window->LastOutcome(), 3);
    EXPECT_TRUE(window->History().entries.isEmpty()) << "an error records nothing";
}

TEST_F(CtgrySchHistoryTest, ActivatingTheWindowBringsTheModalWindowForward)
{
    window->show();
    QDialog other;
    other.setObjectName("other");
    bool active = false;
    ModalDriver driver;
    driver.on("other", [&](QWidget* w) {
        QApplication::setActiveWindow(window);
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(window, &activate);
        QCoreApplication::processEvents();
        active = QApplication::activeWindow() == w;
        static_cast<QDialog*>(w)->reject();
    });
    other.exec();
    EXPECT_TRUE(active);
}
