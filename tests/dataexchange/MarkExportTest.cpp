// The mark export window: the marks of a range, the target file, the run with real mark libraries, failures.
#include "dataexchange/MarkExport.h"

#include "AtlasMateApi.h"
#include "addressbook/AdrsTableRow.h"
#include "core/AppSub.h"
#include "core/MainSettings.h"
#include "platform/IniFile.h"
#include "platform/LibraryLoader.h"
#include "support/AdrsTableFixture.h"
#include "support/FakeListRows.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString Report4 =
    QStringLiteral("マークファイルの出力が完了しました  \r\n\r\n対象件数 : 10 件  \r\n出力件数 : 4 件  ");

class MarkExportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = m_dir.path() + "/root/";
        DataFolder = m_dir.path() + "/data/";
        QDir().mkpath(DataRootFolder);
        QDir().mkpath(DataFolder);
        // Ten records; the 2nd, 4th, 6th and 8th carry both coordinates, the 3rd only a latitude, the 5th
        // negative ones. The 2nd is a company that also has a person's name.
        for (int i = 0; i < 10; ++i) {
            const bool both = i % 2 == 1 && i < 8;
            const qint32 lat = both || i == 2 ? 128412345 + i : i == 4 ? -128412345 : 0;
            const qint32 lon = both ? 503315678 : i == 4 ? -503315678 : 0;
            m_rows.recNos.append(m_book.add({
                {"NameKanji", QVariant(WideToHexText(QStringLiteral("人%1").arg(i)))},
                {"PrivCorp", QVariant(i != 1)},
                {"CorpKanji", QVariant(i == 1 ? QStringLiteral("東京商事") : QString())},
                {"Latitude", QVariant(lat)},
                {"Longitude", QVariant(lon)},
            }));
        }
        m_cursor = std::make_unique<TAdrsTableRow>(m_book.adrs());
        settings({{"DataSelect", "2"}});
    }
    void TearDown() override
    {
        delete m_window;
        LibraryLoader::ClearFailures();
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
    }

    void settings(const QList<std::pair<QString, QString>>& keys)
    {
        TMemIniFile ini(DataRootFolder + MainSettingsFileName);
        for (const auto& [key, value] : keys)
            ini.WriteString(MarkExportSection, key, value);
        ASSERT_TRUE(ini.UpdateFile());
    }
    QString stored(const QString& key) const
    {
        return TMemIniFile(DataRootFolder + MainSettingsFileName).ReadString(MarkExportSection, key, "<none>");
    }
    TMarkExport& open()
    {
        TMarkExportSource source;
        source.Rows = &m_rows;
        source.Cursor = [this]() -> TAdrsTableCursor* { return m_cursor.get(); };
        m_window = new TMarkExport(nullptr, std::move(source));
        return *m_window;
    }
    static QStringList texts(const MessageRecorder& messages)
    {
        QStringList all;
        for (const MsgSeam::Request& r : messages.messages())
            all.append(r.text);
        return all;
    }
    static int marksIn(const QString& file) { return int(ReadFileBytes(file).size() / 532); }
    QString path(const QString& name) const { return m_dir.path() + "/" + name; }
    // The remembered target that exists, holding one old record.
    QString existingTarget()
    {
        const QString target = path("old.mri");
        WriteFileBytes(target, QByteArray(532, 'o'));
        settings({{"File", target}});
        return target;
    }

    QTemporaryDir m_dir;
    AdrsTableFixture m_book;
    FakeListRows m_rows;
    std::unique_ptr<TAdrsTableRow> m_cursor;
    QPointer<TMarkExport> m_window;
};

TEST_F(MarkExportTest, TenRecordsWithFourPositionsGiveFourMarks)
{
    TMarkExport& window = open();
    MessageRecorder messages;
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    ModalDriver driver;
    driver.on("SaveDialog", [this](QWidget* w) {
        auto* dialog = static_cast<QFileDialog*>(w);
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path("marks"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    window.btnExportClick();
    const QString target = path("marks.mri");
    EXPECT_EQ(texts(messages),
              QStringList({QStringLiteral("地図情報を持つ 4 件のデータを  \r\nマークファイルとして出力します  "
                                          "\r\nよろしいですか？  "),
                           Report4}));
    const QByteArray bytes = ReadFileBytes(target);
    ASSERT_EQ(bytes.size(), 4 * 532);
    // The company marks its company name; the persons their decoded names, in list order.
    QStringList names;
    for (int i = 0; i < 4; ++i) {
        TAtlasMarkRec rec;
        std::memcpy(&rec, bytes.constData() + i * 532, sizeof rec);
        names << Cp932::toUnicode(QByteArray(rec.name));
    }
    EXPECT_EQ(names, QStringList({"東京商事", "人3", "人5", "人7"}));
    EXPECT_EQ(stored("File"), target);
    EXPECT_EQ(stored("DataSelect"), "2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(m_window); // closed after the report
}

TEST_F(MarkExportTest, OverwriteReplacesAndAppendAddsToTheOldFile)
{
    const QString target = existingTarget();
    {
        MessageRecorder messages;
        // Go on, keep the target, "はい" overwrites, the report.
        messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdNo).answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
        open().btnExportClick();
        EXPECT_EQ(texts(messages).last(), Report4);
        EXPECT_EQ(marksIn(target), 4);
        EXPECT_FALSE(ReadFileBytes(target).contains("ooo"));
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    {
        MessageRecorder messages;
        // "いいえ" appends.
        messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdNo).answer(MsgSeam::IdNo).answer(MsgSeam::IdOk);
        open().btnExportClick();
        EXPECT_EQ(texts(messages).last(), Report4);
        EXPECT_EQ(marksIn(target), 8);
    }
    // No other file stays behind in the target's folder.
    EXPECT_EQ(QDir(m_dir.path()).entryList({"old.mri*"}, QDir::Files), QStringList{"old.mri"});
}

TEST_F(MarkExportTest, MissingLibrariesLeaveTheOldFileAndSayItOnce)
{
    const QString target = existingTarget();
    const QByteArray old = ReadFileBytes(target);
    QTemporaryDir noLibraries;
    ProgramFolder = noLibraries.path() + u'/';
    {
        MessageRecorder messages;
        messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdNo).answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
        TMarkExport& window = open();
        window.btnExportClick();
        ASSERT_EQ(messages.count(), 4);
        EXPECT_EQ(messages.last().flags & 0xF0, unsigned(MsgSeam::MbIconStop));
        EXPECT_FALSE(messages.last().text.contains(QStringLiteral("完了")));
        EXPECT_EQ(ReadFileBytes(target), old);
        EXPECT_EQ(stored("DataSelect"), "2");
        EXPECT_TRUE(m_window); // stays open
    }
    // A library that does not load says so itself, and only once.
    ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
    LibraryLoader::SetFailingLoad(QStringLiteral("MarkDll.dll"));
    MessageRecorder messages;
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdNo).answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    m_window->btnExportClick();
    ASSERT_EQ(messages.count(), 4);
    EXPECT_EQ(messages.last().text, QStringLiteral("MarkDll.dll LoadLibrary Error\r\nDLLのロードに失敗しました"));
    EXPECT_EQ(ReadFileBytes(target), old);
}

TEST_F(MarkExportTest, NoRecordWithAPositionKeepsTheWindowOpen)
{
    settings({{"DataSelect", "0"}});
    m_rows.selected = {0, 2, 4};
    TMarkExport& window = open();
    MessageRecorder messages;
    messages.answer(MsgSeam::IdOk);
    window.btnExportClick();
    EXPECT_EQ(texts(messages),
              QStringList{"一覧で選択したデータの中には  \r\n地図情報を持つデータがありませんでした  "});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(m_window);
}

} // namespace
