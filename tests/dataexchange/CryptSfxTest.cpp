// The enciphered self-restoring export: the program file and its restorer, the work folder, the library's
// results, the saved password file and the password dialog.
#include "dataexchange/CryptSfx.h"

#include "CryptSfxArchive.h"
#include "core/MainSettings.h"
#include "dataexchange/FExportPwd.h"
#include "platform/IniFile.h"
#include "platform/LibraryLoader.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

mode_t ModeOf(const QString& path)
{
    struct stat st
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

class CryptSfxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = m_dir.path() + "/root/";
        QDir().mkpath(DataRootFolder);
    }
    void TearDown() override
    {
        qunsetenv(CryptSfxForceResultVariable);
        LibraryLoader::ClearFailures();
    }

    // Runs a restorer with input on its standard input (no terminal); answers its exit code.
    static int Restore(const QString& program, const QByteArray& input)
    {
        QProcess process;
        process.start(program, {});
        if (!process.waitForStarted(10000))
            return -1;
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(60000))
            return -2;
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -3;
    }

    QString path(const QString& name) const { return m_dir.path() + "/" + name; }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(CryptSfxTest, TheProgramFileRestoresTheTextWithThePasswordOnly)
{
    MessageRecorder messages;
    QByteArray text = ToAnsi(QStringLiteral("名前＋敬称,電話番号\r\n\"山田様\",\"03-1234-5678\"\r\n"));
    text.append(QByteArray("\x00\xff\x81", 3)); // any bytes come back as they were
    const QString workFolder = CreateWorkFolder(m_dir.path());
    ASSERT_FALSE(workFolder.isEmpty());
    WriteFileBytes(workFolder + "book.txt", text);
    ASSERT_TRUE(MakeSelfRestoringFile(nullptr, "Passw0rd1", workFolder + "book.txt", path("book.exe")));
    EXPECT_EQ(messages.count(), 0);
    EXPECT_TRUE(QFileInfo(path("book.exe")).isExecutable());
    EXPECT_EQ(ReadFileBytes(path("book.exe")).indexOf(text.left(20)), -1); // nothing readable inside

    EXPECT_NE(Restore(path("book.exe"), "passw0rd1\n"), 0);
    EXPECT_FALSE(QFile::exists(path("book.txt")));
    EXPECT_EQ(Restore(path("book.exe"), "Passw0rd1\n"), 0);
    EXPECT_EQ(ReadFileBytes(path("book.txt")), text);
    EXPECT_EQ(ModeOf(path("book.txt")), 0600u);

    // An existing text is replaced only after a yes on a terminal.
    WriteFileBytes(path("book.txt"), "mine");
    EXPECT_NE(Restore(path("book.exe"), "Passw0rd1\n"), 0);
    EXPECT_EQ(ReadFileBytes(path("book.txt")), "mine");

    // A changed byte of the archive is found out.
    QByteArray damaged = ReadFileBytes(path("book.exe"));
    damaged[damaged.size() - 20] = char(damaged[damaged.size() - 20] ^ 1);
    WriteFileBytes(path("copy.exe"), damaged);
    QFile::setPermissions(path("copy.exe"), QFile::permissions(path("book.exe")));
    EXPECT_NE(Restore(path("copy.exe"), "Passw0rd1\n"), 0);
    EXPECT_FALSE(QFile::exists(path("copy.txt")));
}

TEST_F(CryptSfxTest, ArchivesOpenOnlyWhereTheyBegin)
{
    const std::vector<uint8_t> plain{'a', 'b', 'c'};
    const std::vector<uint8_t> sealed = CryptSfx::Seal(plain, "Passw0rd1");
    CryptSfx::Archive archive;
    ASSERT_TRUE(CryptSfx::ParseArchive(sealed.data(), sealed.size(), 0, archive));
    EXPECT_EQ(archive.iterations, CryptSfx::Iterations);
    std::vector<uint8_t> out;
    EXPECT_TRUE(CryptSfx::Open(archive, "Passw0rd1", out));
    EXPECT_EQ(out, plain);
    EXPECT_FALSE(CryptSfx::Open(archive, "Passw0rd2", out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(CryptSfx::ParseArchive(sealed.data(), sealed.size(), 1, archive));
    EXPECT_FALSE(CryptSfx::ParseArchive(sealed.data(), CryptSfx::HeaderSize + 3, 0, archive));
    const QByteArray restorer = ReadFileBytes(QStringLiteral(TOVAREL_PROGRAM_DIR) + CryptSfxRestorerFile);
    EXPECT_EQ(CryptSfx::ElfImageEnd(reinterpret_cast<const uint8_t*>(restorer.constData()),
                                    size_t(restorer.size())),
              size_t(restorer.size()));
}

TEST_F(CryptSfxTest, AFolderOfTheWorkFolderNameIsLeftAlone)
{
    QDir().mkpath(path("Encrypt.Tmp"));
    WriteFileBytes(path("Encrypt.Tmp/mine.txt"), "mine");
    const QString work = CreateWorkFolder(m_dir.path());
    ASSERT_FALSE(work.isEmpty());
    EXPECT_NE(QDir(work).absolutePath(), QDir(path("Encrypt.Tmp")).absolutePath());
    EXPECT_TRUE(work.contains("Encrypt.Tmp.")) << work.toStdString();
    EXPECT_EQ(ModeOf(work), 0700u);
    EXPECT_EQ(ReadFileBytes(path("Encrypt.Tmp/mine.txt")), "mine");
    EXPECT_TRUE(CreateWorkFolder(path("missing/deeper")).isEmpty());
}

TEST_F(CryptSfxTest, LibraryFailuresAreToldWithTheirCodes)
{
    const QString workFolder = CreateWorkFolder(m_dir.path());
    WriteFileBytes(workFolder + "book.txt", "text");
    struct Case
    {
        const char* forced;
        const char* failingLoad;
        const char* failingSymbol;
        QStringList texts;
    };
    const Case cases[] = {
        {"11", "", "", {"空き容量が足りなかったため出力できませんでした  "}},
        {"7", "", "", {"暗号化出力に失敗しました  \r\nRC = 7  "}},
        {"",
         "DrcCryptSFX.dll",
         "",
         {"DrcCryptSFX.dll LoadLibrary Error\r\nDLLのロードに失敗しました",
          "暗号化出力に失敗しました  \r\nRC = 103  "}},
        {"",
         "",
         "DCSXCreate_TC",
         {"DCSXCreate_TC (DrcCryptSFX.dll) GetProcAddress Error\r\n関数の割り当てに失敗しました",
          "暗号化出力に失敗しました  \r\nRC = 103  "}},
    };
    for (const Case& c : cases) {
        MessageRecorder messages;
        messages.allowUnexpected();
        qputenv(CryptSfxForceResultVariable, c.forced);
        LibraryLoader::ClearFailures();
        LibraryLoader::SetFailingLoad(QString::fromLatin1(c.failingLoad));
        if (*c.failingSymbol)
            LibraryLoader::SetFailingSymbol(CryptSfxLibraryFile, QString::fromLatin1(c.failingSymbol));
        EXPECT_FALSE(MakeSelfRestoringFile(nullptr, "Passw0rd1", workFolder + "book.txt", path("book.exe")));
        QStringList texts;
        for (const MsgSeam::Request& r : messages.messages())
            texts.append(r.text);
        EXPECT_EQ(texts, c.texts);
        EXPECT_FALSE(QFile::exists(path("book.exe")));
    }
    // Each load was undone: a later call loads afresh and succeeds.
    qunsetenv(CryptSfxForceResultVariable);
    LibraryLoader::ClearFailures();
    EXPECT_EQ(CallDCSXCreate(TCryptSfxOptions{}, TCryptSfxFileName{}, nullptr), 103);
    EXPECT_EQ(LoadCryptSfxLibrary(QString()), 0);
    UnloadCryptSfxLibrary();
}

TEST_F(CryptSfxTest, PasswordFileKeepsItsFormatAndStaysPrivate)
{
    const QString file = DataRootFolder + PasswordFileName;
    ASSERT_TRUE(WritePrivateFile(file, PasswordFileBytes("Abc12345")));
    const QByteArray bytes = ReadFileBytes(file);
    EXPECT_EQ(bytes.left(4), QByteArray("\x08\x00\x00\x00", 4));
    EXPECT_EQ(quint8(bytes[4]), quint8(~'A'));
    EXPECT_EQ(ModeOf(file), 0600u);
    EXPECT_EQ(ParsePasswordFile(bytes), QByteArray("Abc12345"));
    EXPECT_EQ(ParsePasswordFile(QByteArray("\x09\x00\x00\x00", 4) + bytes.mid(4)), std::nullopt);
    EXPECT_EQ(ParsePasswordFile("\x01\x00"), std::nullopt);
    EXPECT_EQ(ParsePasswordFile(QByteArray("\xff\xff\xff\xff", 4)), std::nullopt);
}

TEST_F(CryptSfxTest, PasswordDialogChecksItsEntriesInOrder)
{
    struct Case
    {
        const char* first;
        const char* second;
        const char* message; // empty: accepted
    };
    const Case cases[] = {
        {"", "", "パスワードを入力してください  "},
        {"Abcd1234", "", "確認用のパスワードも入力してください  "},
        {"Abc1234", "Abc1234", "パスワードは8文字～16文字で入力してください  "},
        {"Abcd-1234", "Abcd-1234",
         "パスワードに使用できる文字は  \r\n　半角数字  \r\n　半角英大文字  \r\n　半角英小文字  "
         "\r\nのいずれかになります  "},
        {"Abcd1234", "abcd1234", "確認用パスワードが一致しません  \r\n再度入力してください  "},
        {"Abcd1234", "Abcd1234", ""},
    };
    for (const Case& c : cases) {
        MessageRecorder messages;
        messages.allowUnexpected();
        TFileExportPassword dialog(nullptr);
        dialog.findChild<QLineEdit*>("edtPassword1")->setText(c.first);
        dialog.findChild<QLineEdit*>("edtPassword2")->setText(c.second);
        const int result = RunModal(dialog, [](QDialog& d) {
            d.findChild<QPushButton*>("btnSet")->click();
            if (d.isVisible())
                d.reject();
        });
        if (*c.message) {
            EXPECT_EQ(result, QDialog::Rejected) << c.first;
            ASSERT_EQ(messages.count(), 1) << c.first;
            EXPECT_EQ(messages.last().text, QString::fromUtf8(c.message));
        } else {
            EXPECT_EQ(result, QDialog::Accepted);
            EXPECT_EQ(dialog.Password(), "Abcd1234");
            EXPECT_EQ(messages.count(), 0);
        }
    }
    EXPECT_EQ(TFileExportPassword(nullptr).findChild<QLineEdit*>("edtPassword1")->maxLength(), 16);
}

TEST_F(CryptSfxTest, ASavedPasswordComesBackAndGoesWhenSavingIsSwitchedOff)
{
    const QString file = DataRootFolder + PasswordFileName;
    const auto confirm = [](bool save, const char* password) {
        TFileExportPassword dialog(nullptr);
        if (*password) {
            dialog.findChild<QLineEdit*>("edtPassword1")->setText(password);
            dialog.findChild<QLineEdit*>("edtPassword2")->setText(password);
        }
        dialog.findChild<QCheckBox*>("chkSavePassword")->setChecked(save);
        return RunModal(dialog, [](QDialog& d) { d.findChild<QPushButton*>("btnSet")->click(); });
    };
    ASSERT_EQ(confirm(true, "Secret12"), QDialog::Accepted);
    EXPECT_EQ(ModeOf(file), 0600u);
    {
        TFileExportPassword dialog(nullptr);
        EXPECT_TRUE(dialog.findChild<QCheckBox*>("chkSavePassword")->isChecked());
        EXPECT_EQ(dialog.findChild<QLineEdit*>("edtPassword2")->text(), "Secret12");
    }
    ASSERT_EQ(confirm(false, ""), QDialog::Accepted);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_FALSE(
        TMemIniFile(DataRootFolder + MainSettingsFileName).ReadBool(PasswordSection, "SavePassword", true));

    // A saved password of other characters switches saving off and shows nothing.
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteBool(PasswordSection, "SavePassword", true);
    ASSERT_TRUE(ini.UpdateFile());
    WriteFileBytes(file, PasswordFileBytes("pass word"));
    TFileExportPassword dialog(nullptr);
    EXPECT_FALSE(dialog.findChild<QCheckBox*>("chkSavePassword")->isChecked());
    EXPECT_TRUE(dialog.findChild<QLineEdit*>("edtPassword1")->text().isEmpty());
}
