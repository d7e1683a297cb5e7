// The export window: protected items, the target choice, the run and its report, the settings, failures.
#include "dataexchange/FExport.h"

#include "addressbook/AdrsTableRow.h"
#include "core/AppSub.h"
#include "core/MainSettings.h"
#include "dataexchange/CryptSfx.h"
#include "support/FakeListRows.h"
#include "platform/IniFile.h"
#include "platform/LibraryLoader.h"
#include "support/AdrsTableFixture.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

const QString Confirm = QStringLiteral("アドレス帳のデータをファイルに出力します  \r\nよろしいですか？  ");

class FExportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = m_dir.path() + "/root/";
        DataFolder = m_dir.path() + "/data/";
        QDir().mkpath(DataRootFolder);
        QDir().mkpath(DataFolder);
        AdminPassword.clear();
        AdminMode = false;
        for (const char* name : {"山田", "佐藤", "鈴木"})
            m_rows.recNos.append(m_book.add({{"NameKanji", QVariant(WideToHexText(QString::fromUtf8(name)))},
                                             {"Tel", QByteArray("0312345678")}}));
        m_cursor = std::make_unique<TAdrsTableRow>(m_book.adrs());
    }
    void TearDown() override
    {
        delete m_window;
        qunsetenv(CryptSfxForceResultVariable);
        LibraryLoader::ClearFailures();
        AdminPassword.clear();
        AdminMode = false;
    }

    void settings(const QList<std::pair<QString, QString>>& keys)
    {
        TMemIniFile ini(DataRootFolder + MainSettingsFileName);
        for (const auto& [key, value] : keys)
            ini.WriteString(FileExportSection, key, value);
        ASSERT_TRUE(ini.UpdateFile());
    }
    QString stored(const QString& key) const
    {
        return TMemIniFile(DataRootFolder + MainSettingsFileName)
            .ReadString(FileExportSection, key, "<none>");
    }

    TFileExport& open()
    {
        TFileExportSource source;
        source.Rows = &m_rows;
        source.Cursor = [this]() -> TAdrsTableCursor* { return m_cursor.get(); };
        m_window = new TFileExport(nullptr, std::move(source));
        return *m_window;
    }

    static QStringList texts(const MessageRecorder& messages)
    {
        QStringList all;
        for (const MsgSeam::Request& r : messages.messages())
            all.append(r.text);
        return all;
    }

    QString path(const QString& name) const { return m_dir.path() + "/" + name; }

    QTemporaryDir m_dir;
    AdrsTableFixture m_book;
    FakeListRows m_rows;
    std::unique_ptr<TAdrsTableRow> m_cursor;
    QPointer<TFileExport> m_window;
};

} // namespace

TEST_F(FExportTest, ProtectedItemsNeedAdministratorModeFirstAndThenTheEncipheredType)
{
    struct Case
    {
        bool adminPassword;
        bool adminMode;
        const char* type;
        const char* message; // empty: the run goes on to the confirmation
    };
    const Case cases[] = {
        {false, false, "1",
         "マイナンバー項目や保護メモ項目などを出力する場合  "
         "\r\n出力タイプを「暗号化出力」にする必要があります  "},
        {true, false, "1",
         "管理者モードでなければマイナンバー項目や  \r\n保護メモ項目などを出力できません  "},
        {true, false, "0",
         "管理者モードでなければマイナンバー項目や  \r\n保護メモ項目などを出力できません  "},
        {true, true, "1",
         "マイナンバー項目や保護メモ項目などを出力する場合  "
         "\r\n出力タイプを「暗号化出力」にする必要があります  "},
        {false, false, "0", ""},
        {true, true, "0", ""},
    };
    settings({{"Layout1", "23,17"}, {"DataSelect", "2"}});
    for (const Case& c : cases) {
        AdminPassword = c.adminPassword ? QStringLiteral("0123ABCD") : QString();
        AdminMode = c.adminMode;
        settings({{"Type", c.type}});
        MessageRecorder messages;
        messages.answer(MsgSeam::IdOk).answer(MsgSeam::IdNo);
        open().btnExportClick();
        EXPECT_EQ(messages.messages().first().text, *c.message ? QString::fromUtf8(c.message) : Confirm)
            << c.adminPassword << c.adminMode << c.type;
        delete m_window;
    }
}

TEST_F(FExportTest, TargetNamesTakeTheExtensionOfTheirType)
{
    const std::tuple<const char*, int, int, const char*> cases[] = {
        {"/d/list", etNormal, 1, "/d/list.csv"},      {"/d/list", etNormal, 0, "/d/list.txt"},
        {"/d/list", etNormal, 2, "/d/list.txt"},      {"/d/list.dat", etNormal, 1, "/d/list.dat"},
        {"/d/book.txt", etEncrypt, 0, "/d/book.exe"}, {"/d/book", etEncrypt, 0, "/d/book.exe"},
        {"/d.x/book", etEncrypt, 0, "/d.x/book.exe"},
    };
    for (const auto& [name, type, filter, want] : cases)
        EXPECT_EQ(ApplyTargetExtension(name, type, filter), QString::fromLatin1(want)) << name;
}

TEST_F(FExportTest, ThePlainRunWritesTheChosenFileReportsItsCountsAndSavesTheSettings)
{
    settings({{"Layout1", "23"}, {"Layout2", "3"}, {"Type", "1"}, {"EditHyphen", "0"}});
    m_rows.selected = {0, 2};
    TFileExport& window = open();
    EXPECT_EQ(window.TargetCount(), 2);
    MessageRecorder messages;
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    ModalDriver driver;
    driver.on("SaveDialog", [this](QWidget* w) {
        auto* dialog = static_cast<QFileDialog*>(w);
        dialog->selectNameFilter(dialog->nameFilters().at(1));
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path("list"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    window.btnExportClick();
    const QString target = path("list.csv");
    EXPECT_EQ(ReadFileBytes(target),
              ToAnsi(QStringLiteral("名前,電話番号\r\n山田,0312345678\r\n鈴木,0312345678\r\n")));
    EXPECT_EQ(texts(messages).last(),
              "テキストファイルの出力が完了しました  \r\n\r\n対象件数 : 2 件  \r\n出力件数 : 2 件  ");
    EXPECT_EQ(stored("FileNormal"), target);
    EXPECT_EQ(stored("Layout2"), "3");

    // Keeping the remembered target asks nothing more; "いいえ" on the existing file appends.
    MessageRecorder again;
    again.answer(MsgSeam::IdYes).answer(MsgSeam::IdNo).answer(MsgSeam::IdNo).answer(MsgSeam::IdOk);
    window.btnExportClick();
    EXPECT_EQ(texts(again).at(1),
              QDir::toNativeSeparators(target) + "  \r\nへ出力します  \r\n\r\n出力先を変更しますか？  ");
    EXPECT_EQ(ReadFileBytes(target).count(ToAnsi(QStringLiteral("名前,電話番号"))), 2);
    EXPECT_EQ(ReadFileBytes(target).count("\r\n"), 6);
    EXPECT_EQ(driver.handled(), 1);
}

TEST_F(FExportTest, SettingsAreSavedOnlyOnRequestOrAfterSuccess)
{
    settings({{"Layout1", "23"}});
    TFileExport& window = open();
    window.findChild<QToolButton*>("bbtnAllDelete")->click();
    window.findChild<QRadioButton*>("rbNormal")->click();
    EXPECT_FALSE(window.findChild<QPushButton*>("btnExport")->isEnabled());
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_Escape); // closes like "閉じる"
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(m_window);
    EXPECT_EQ(stored("Layout1"), "23");
    EXPECT_EQ(stored("Type"), "<none>");
    EXPECT_NE(stored("Left"), "<none>");

    open().findChild<QToolButton*>("bbtnAllDelete")->click();
    m_window->findChild<QPushButton*>("btnSave")->click();
    EXPECT_EQ(stored("Layout1"), "<none>");
    EXPECT_EQ(stored("Type"), "0");
}

TEST_F(FExportTest, AFailedWriteLeavesTheOldTargetAndSavesNothing)
{
    const QString target = path("list.txt");
    WriteFileBytes(target, "old\r\n");
    settings({{"Layout1", "23"}, {"Type", "1"}, {"DataSelect", "2"}, {"FileNormal", target}});
    TFileExport& window = open();
    window.findChild<QCheckBox*>("chkBindDblQuote")->setChecked(true);
    int lines = 0;
    window.BeforeWriteLine = [&] {
        if (++lines == 3)
            throw EExportWriteError("No space left on device");
    };
    MessageRecorder messages;
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdNo).answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    window.btnExportClick();
    EXPECT_TRUE(texts(messages).last().startsWith("ファイルに書き込めませんでした  \r\n"));
    EXPECT_TRUE(texts(messages).last().contains("No space left on device"));
    EXPECT_EQ(ReadFileBytes(target), "old\r\n");
    EXPECT_EQ(QDir(m_dir.path()).entryList({"list.txt*"}, QDir::Files), QStringList{"list.txt"});
    EXPECT_EQ(stored("BindDblQuote"), "<none>");
}

TEST_F(FExportTest, TheEncipheredRunMakesAProgramThatRestoresTheText)
{
    const QString target = path("book.exe");
    settings({{"Layout1", "23,17"},
              {"Layout2", "3"},
              {"Type", "0"},
              {"DataSelect", "2"},
              {"FileEncrypt", target},
              {"EditHyphen", "0"}});
    m_book.adrs().findKey({m_rows.recNos[1]});
    m_book.adrs().edit();
    m_book.adrs().fieldByName("MyNumber").setAnsi(EncryptFieldText("123456789018", FieldCipherKey));
    m_book.adrs().post();
    TFileExport& window = open();
    MessageRecorder messages;
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdNo).answer(MsgSeam::IdOk);
    ModalDriver driver;
    driver.on("FileExportPassword", [](QWidget* w) {
        w->findChild<QLineEdit*>("edtPassword1")->setText("Passw0rd1");
        w->findChild<QLineEdit*>("edtPassword2")->setText("Passw0rd1");
        w->findChild<QPushButton*>("btnSet")->click();
    });
    window.btnExportClick();
    EXPECT_EQ(texts(messages).last(),
              "テキストファイルの出力が完了しました  \r\n\r\n対象件数 : 3 件  \r\n出力件数 : 3 件  ");
    EXPECT_EQ(QDir(m_dir.path()).entryList({"Encrypt.Tmp*"}, QDir::Dirs), QStringList());

    QProcess restorer;
    restorer.start(target, {});
    ASSERT_TRUE(restorer.waitForStarted(10000));
    restorer.write("Passw0rd1\n");
    restorer.closeWriteChannel();
    ASSERT_TRUE(restorer.waitForFinished(60000));
    EXPECT_EQ(restorer.exitCode(), 0);
    EXPECT_EQ(ReadFileBytes(path("book.txt")),
              ToAnsi(QStringLiteral("名前＋マイナンバー,電話番号\r\n山田,0312345678\r\n佐藤123456789018,"
                                    "0312345678\r\n鈴木,0312345678\r\n")));
}

TEST_F(FExportTest, LibraryFailuresAndUndecipherableValuesLeaveNoFileAndNoWorkFolder)
{
    const QString target = path("book.exe");
    QDir().mkpath(path("Encrypt.Tmp"));
    WriteFileBytes(path("Encrypt.Tmp/mine.txt"), "mine");
    settings({{"Layout1", "23,17"}, {"Type", "0"}, {"DataSelect", "2"}, {"FileEncrypt", target}});
    struct Case
    {
        const char* forced;
        bool failLoad;
        bool damaged;
        QString message;
    };
    const Case cases[] = {
        {"11", false, false, "空き容量が足りなかったため出力できませんでした  "},
        {"", true, false, "暗号化出力に失敗しました  \r\nRC = 103  "},
        {"5", false, false, "暗号化出力に失敗しました  \r\nRC = 5  "},
        {"", false, true, "保護項目が復号できなかったため出力できませんでした  \r\nレコード番号 : %1  "},
    };
    for (const Case& c : cases) {
        qputenv(CryptSfxForceResultVariable, c.forced);
        LibraryLoader::SetFailingLoad(c.failLoad ? CryptSfxLibraryFile : QString());
        m_book.adrs().findKey({m_rows.recNos[2]});
        m_book.adrs().edit();
        m_book.adrs()
            .fieldByName("MyNumber")
            .setAnsi(c.damaged ? QByteArray("0C" + QByteArray(32, 'A')) : QByteArray());
        m_book.adrs().post();
        MessageRecorder messages;
        messages.allowUnexpected();
        messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdNo);
        ModalDriver driver;
        driver.on("FileExportPassword", [](QWidget* w) {
            w->findChild<QLineEdit*>("edtPassword1")->setText("Passw0rd1");
            w->findChild<QLineEdit*>("edtPassword2")->setText("Passw0rd1");
            w->findChild<QPushButton*>("btnSet")->click();
        });
        open().btnExportClick();
        EXPECT_EQ(texts(messages).last(), QString(c.message).replace("%1", QString::number(m_rows.recNos[2])))
            << c.forced;
        EXPECT_FALSE(QFile::exists(target)) << c.forced;
        EXPECT_EQ(QDir(m_dir.path()).entryList({"Encrypt.Tmp*"}, QDir::Dirs), QStringList{"Encrypt.Tmp"});
        EXPECT_EQ(ReadFileBytes(path("Encrypt.Tmp/mine.txt")), "mine");
        EXPECT_EQ(stored("Layout1"), "23,17"); // unchanged: nothing saved
        delete m_window;
    }
}

TEST_F(FExportTest, TheOutputButtonNeedsItemsAndRecordsAndTheLayoutStopsAtItsLimit)
{
    settings({{"Type", "1"}});
    TFileExport& window = open();
    auto* exportButton = window.findChild<QPushButton*>("btnExport");
    auto* set = window.findChild<QToolButton*>("bbtnSet");
    EXPECT_FALSE(exportButton->isEnabled());
    EXPECT_FALSE(window.findChild<QToolButton*>("bbtnAdd")->isEnabled());
    set->click();
    EXPECT_FALSE(exportButton->isEnabled()); // nothing selected yet
    m_rows.selected = {1};
    window.UpdateDataRange();
    EXPECT_TRUE(exportButton->isEnabled());
    for (int i = 1; i < MaxExportEntries; ++i)
        set->click();
    EXPECT_EQ(window.Layout().Count(), MaxExportEntries);
    MessageRecorder messages;
    messages.answer(MsgSeam::IdOk).answer(MsgSeam::IdOk);
    set->click();
    window.findChild<QToolButton*>("bbtnAdd")->click();
    EXPECT_EQ(texts(messages), QStringList(2, "セットできる最大項目数は150項目です  "));
    EXPECT_EQ(window.Layout().Count(), MaxExportEntries);
    EXPECT_EQ(window.Layout().Entries()[1].Item, 1); // the item list moved on after each set
}
