// The import window in the running program: opened by the address list's command, run into the open book,
// which the list reloads. With TOVAREL_XVFB_FBDIR set, the screen is kept as import-shot.xwd there.
#include "dataexchange/FImport.h"

#include "core/DBInfo.h"
#include "support/MessageRecorder.h"
#include "support/SessionFixture.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

namespace {

class FImportSessionTest : public SessionFixture
{
protected:
    void SetUp() override
    {
        SessionFixture::SetUp();
        AdminPassword.clear();
        AdminMode = false;
        RegisterFileImport();
    }
    void TearDown() override
    {
        RegisterListCommand(TListCommand::ImportFile, {});
        SessionFixture::TearDown();
    }
};

// Keeps the X server's frame buffer once the windows have been drawn.
void KeepScreenshot()
{
    const QString folder = qEnvironmentVariable("TOVAREL_XVFB_FBDIR");
    if (folder.isEmpty())
        return;
    QElapsedTimer shown;
    shown.start();
    while (shown.elapsed() < 1500)
        QTest::qWait(50);
    QFile::remove(folder + "/import-shot.xwd");
    QFile::copy(folder + "/Xvfb_screen0", folder + "/import-shot.xwd");
}

} // namespace

TEST_F(FImportSessionTest, TheListCommandImportsIntoTheOpenBook)
{
    const QString data = writeWorkBook(5);
    const QString file = data + "in.csv";
    WriteFileBytes(file,
                   ToAnsi(QStringLiteral("会社名,電話,〒,都道府県,住所,名前,グループ\r\n"
                                         "青葉建設,0311112222,1000001,東京都,千代田区千代田1-1,青木 一郎,\r\n"
                                         "\"みなと物産,本店\",0322223333,,大阪府,大阪市北区梅田2-2,,グループ２\r\n")));
    MessageRecorder messages;
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    runSession([&](TAddressList& list) {
        QAction* action = list.Action("actImportFile");
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), "テキストファイルの取り込み(&I)...");
        list.UpdateActions();
        ASSERT_TRUE(action->isEnabled());
        EXPECT_EQ(list.GetRecordCount(), 5);
        m_driver.on("FileImport", [&](QWidget* w) {
            auto* window = static_cast<TFileImport*>(w);
            window->findChild<QLineEdit*>("edtFile")->setText(file);
            ASSERT_TRUE(window->LoadFilePreview(file));
            window->findChild<QToolButton*>("bbtnAllSet")->click();
            window->SelectItem(19);
            KeepScreenshot();
            window->btnImportClick();
        });
        action->trigger();
        EXPECT_EQ(list.GetRecordCount(), 7);
        // The book's group names are what the group column is matched against.
        Table& book = *DMQuenrid215->AdrsTable();
        book.last();
        EXPECT_EQ(book.fieldByName("CorpKanji").asString(), "みなと物産,本店");
        EXPECT_EQ(book.fieldByName("Group").asInteger(), 2);
    });
    ASSERT_EQ(messages.count(), 3);
    EXPECT_EQ(messages.last().text,
              "テキストファイルの追加取り込みが完了しました  \r\n\r\n読込件数 : 2 件  \r\n"
              "登録件数 : 2 件  ");
    EXPECT_TRUE(QFile::exists(data + "backup.imp/Adrs/Work/Adrs.DB"));
}
