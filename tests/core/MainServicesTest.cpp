// The program's start-up services over the built ProgramFolder: the first and a later start, the session
// over the current book, the shut-down order and the start-up password gate.
#include "support/SessionFixture.h"

#include "addressbook/AdrsList.h"
#include "core/AdrsFolderList.h"
#include "core/CategoryNames.h"
#include "core/DBInfo.h"
#include "core/Dlhyp.h"
#include "core/Main.h"
#include "core/MainServices.h"
#include "core/TableDefs.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace {

class MainServicesTest : public SessionFixture
{
protected:
    // Runs the whole start; inSession runs once the address list has opened its book, then closes it. A
    // start that asks for a book (first start) takes the offered name.
    void runStart(const std::function<void(TAddressList*)>& inSession, bool choose = false)
    {
        if (choose)
            m_driver.on("AddressSelect", [](QWidget* w) { w->findChild<QPushButton*>("btnOk")->click(); });
        runSession([&](TAddressList& list) { inSession(&list); });
    }
};

TEST_F(MainServicesTest, FirstStartBuildsTheDataTreeAndOpensAnEmptyBook)
{
    for (const char* table : {"Category.DB", "Target.DB", "Exception.DB"})
        ASSERT_GT(TableRowCount(ProgramFolder + "Category/" + table), 0) << table << " is built by the build";

    MessageRecorder rec;
    rec.answer(MsgSeam::IdOk);
    runStart(
        [&](TAddressList* window) {
            EXPECT_EQ(window->windowTitle(), QStringLiteral("Tovarel - アドレス"));
            EXPECT_EQ(window->GetRecordCount(), 0);
            ASSERT_NE(DMQuenrid215, nullptr);
            EXPECT_EQ(DMQuenrid215->OpenCount(TDMQuenrid215::tkAdrs), 1);
            EXPECT_EQ(DMQuenrid215->AdrsTable()->filePath(), DataRootFolder + "Data/Adrs/アドレス/Adrs.DB");
            EXPECT_TRUE(DMQuenrid215->PostHistory()->IsLoaded());
            EXPECT_NE(DMQuenrid215->SenderTable(), nullptr);
            EXPECT_NE(DMQuenrid215->OriginalTable(), nullptr);
            EXPECT_EQ(AdrsFolderList.size(), 1);
            EXPECT_EQ(CurrentAdrsIndex, 0);
            EXPECT_EQ(MajorCategoryNames.size(), MajorCategoryCount);
            AnsiString number("0312345678");
            EXPECT_NE(HyphenatePhone(number), HyphenNotLoaded);
        },
        true);
    ASSERT_EQ(rec.count(), 1);
    EXPECT_EQ(rec.last().text,
              QStringLiteral("使用するアドレス帳を指定するために  \r\nアドレス帳の作成画面に入ります  "));

    // The shut-down freed everything in its order.
    EXPECT_EQ(DMQuenrid215, nullptr);
    EXPECT_FALSE(TableSession::global().passwords().contains(TablePassword));
    EXPECT_TRUE(MajorCategoryNames.isEmpty());
    AnsiString number("0312345678");
    EXPECT_EQ(HyphenatePhone(number), HyphenNotLoaded);

    // What the first start leaves behind.
    for (const char* table : {"Category.DB", "Target.DB", "Exception.DB"}) {
        SCOPED_TRACE(table);
        EXPECT_EQ(ReadFileBytes(DataRootFolder + "Category/" + table),
                  ReadFileBytes(ProgramFolder + "Category/" + table));
    }
    for (const char* list : {"Post.mtd", "Honor.mtd"}) {
        SCOPED_TRACE(list);
        EXPECT_FALSE(ReadFileBytes(DataRootFolder + "Data/History/" + list).isEmpty());
        EXPECT_EQ(ReadFileBytes(DataRootFolder + "Data/History/" + list),
                  ReadFileBytes(ProgramFolder + "Common/History/" + list));
    }
    EXPECT_FALSE(QFileInfo::exists(DataRootFolder + "Data/History/Dptmnt.mtd")) << "no default of its own";
    EXPECT_EQ(TableRowCount(DataRootFolder + "Data/Adrs/アドレス/Adrs.DB"), 0);
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    EXPECT_EQ(ini.ReadString("BASE", "DataPath", ""), DataRootFolder + "Data/");
    EXPECT_EQ(ini.ReadString("BASE", "AdrsName", ""), QStringLiteral("アドレス"));
}

TEST_F(MainServicesTest, LaterStartKeepsTheUsersFilesAndOpensTheSavedBook)
{
    MessageRecorder rec;
    rec.answer(MsgSeam::IdOk);
    runStart([](TAddressList*) {}, true);
    const QString history = DataRootFolder + "Data/History/Post.mtd";
    const QByteArray mine = MtdHistoryFile::Encode({{46000.0, "mine"}});
    {
        QFile f(history);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(mine);
    }
    QFile::remove(DataRootFolder + "Data/History/Honor.mtd");
    const QString category = DataRootFolder + "Category/Target.DB";
    const QByteArray target = ReadFileBytes(category);
    {
        // A book with one row, named in the settings.
        QDir().mkpath(DataRootFolder + "Data/Adrs/Work");
        Table::createTable(DataRootFolder + "Data/Adrs/Work/Adrs.DB", AdrsTableDef(), TablePassword);
        TableSession session;
        session.addPassword(TablePassword);
        Table t(session);
        t.setTableName(DataRootFolder + "Data/Adrs/Work/Adrs.DB");
        t.open();
        t.append();
        t.fieldByName("Tel").setAnsi("0312345678");
        t.post();
    }
    writeSettings({{"BASE", "AdrsName", "Work"}});

    runStart([](TAddressList* window) {
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Tovarel - Work"));
        EXPECT_EQ(window->GetRecordCount(), 1);
        EXPECT_EQ(AdrsFolderList.size(), 2);
    });
    EXPECT_EQ(rec.count(), 1);
    EXPECT_EQ(ReadFileBytes(history), mine);
    EXPECT_EQ(ReadFileBytes(DataRootFolder + "Data/History/Honor.mtd"),
              ReadFileBytes(ProgramFolder + "Common/History/Honor.mtd"));
    EXPECT_EQ(ReadFileBytes(category), target);
}

TEST_F(MainServicesTest, DamagedBookIsToldAndLeftAsItWasWhileTheSessionGoesOn)
{
    MessageRecorder rec;
    rec.answer(MsgSeam::IdOk);
    runStart([](TAddressList*) {}, true);
    const QString table = DataRootFolder + "Data/Adrs/アドレス/Adrs.DB";
    const QByteArray garbage(8192, 'x');
    {
        QFile f(table);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(garbage);
    }
    rec.answer(MsgSeam::IdOk);
    runStart([](TAddressList* window) {
        EXPECT_FALSE(window->AdrsOpen());
        EXPECT_EQ(window->GetRecordCount(), 0);
        EXPECT_EQ(DMQuenrid215->OpenCount(TDMQuenrid215::tkAdrs), 0);
    });
    ASSERT_EQ(rec.count(), 2);
    EXPECT_EQ(rec.last().text, QStringLiteral("アドレス帳ファイルがオープンできませんでした  "));
    EXPECT_EQ(rec.last().source, MsgSeam::Source::Application);
    EXPECT_EQ(ReadFileBytes(table), garbage);
}

TEST_F(MainServicesTest, StoredStartupPasswordAsksAndCancelEndsTheRun)
{
    QFile reg(m_root + "registry.ini");
    ASSERT_TRUE(reg.open(QIODevice::WriteOnly));
    reg.write("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zantor\\Quenrid\\21.5]\r\nType=8182\r\n");
    reg.close();

    MessageRecorder rec;
    rec.answer(MsgSeam::IdYes);
    bool prompted = false;
    bool session = false;
    m_driver.on("InputPassword", [&](QWidget* w) {
        prompted = true;
        w->findChild<QPushButton*>("btnCancel")->click();
    });
    m_driver.maybe("AddressList", [&](QWidget* w) {
        session = true;
        w->close();
    });
    {
        TMainForm form;
        form.FormCreate();
        QCoreApplication::sendPostedEvents(&form);
    }
    EXPECT_TRUE(prompted);
    EXPECT_FALSE(session);
    ASSERT_EQ(rec.count(), 1);
    EXPECT_EQ(rec.last().text, QStringLiteral("Tovarel の起動を中止します  \r\nよろしいですか？  "));
    EXPECT_EQ(DMQuenrid215, nullptr);
    EXPECT_FALSE(QFileInfo::exists(DataRootFolder + "Data/Adrs/アドレス"));
}

} // namespace
