// The address-book choice: creating, opening, deleting, renaming and reordering books, and its dialog.
#include "addressbook/AdrsSel.h"
#include "core/DialogSub.h"
#include "BookDialogFixture.h"
#include "support/MessageRecorder.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

using Choice = TAddressBookChoice;
const unsigned Info = MsgSeam::MbIconInformation;
const unsigned AskYesDefault = MsgSeam::MbYesNo | MsgSeam::MbIconQuestion;
const unsigned AskNoDefault = MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2;

QByteArray sjis(const QString& text)
{
    return Cp932::fromUnicode(text);
}

class AdrsSel : public BookDialogFixture
{
};

TEST_F(AdrsSel, CreatesANewBookFolderBeforeRecordingIt)
{
    makeBooks({"Home"});
    MessageRecorder rec;
    Choice c(nullptr);
    c.BookName = "Home";
    c.FillBookList();
    EXPECT_EQ(c.CreateBook("  Work  "), Choice::okClose);
    EXPECT_EQ(rec.count(), 0);
    EXPECT_TRUE(QDir(AdrsFolder + "Work").exists());
    EXPECT_EQ(names(), QStringList({"Home|Home|0", "Work|Work|0"}));
    EXPECT_EQ(c.BookName, "Work");
    EXPECT_EQ(c.BookChanged, 1);
    EXPECT_FALSE(QFile::exists(AdrsFolder + AdrsOpFileName));
}

TEST_F(AdrsSel, FailedFolderCreationLeavesNoBookBehind)
{
    makeBooks({"Home"});
    WriteFileBytes(AdrsFolder + "Blocked", "a file where the folder would go");
    MessageRecorder rec;
    rec.answer(MsgSeam::IdOk);
    Choice c(nullptr);
    c.BookName = "Home";
    c.FillBookList();
    EXPECT_EQ(c.CreateBook("Blocked"), Choice::okFocusList);
    ASSERT_EQ(rec.count(), 1);
    EXPECT_EQ(rec.last().text, QStringLiteral("アドレス帳を作成できませんでした  "));
    EXPECT_EQ(names(), QStringList({"Home|Home|0"}));
    EXPECT_EQ(c.BookName, "Home");
    EXPECT_EQ(c.BookChanged, 0);
}

TEST_F(AdrsSel, NewBookNamesAreLimitedLikeRenamesAndKeepIdeographicBlanks)
{
    makeBooks({"Home"});
    struct Case
    {
        QString text;
        int result;
        QString book; // the book made, or the message shown
    } cases[] = {
        {QString(51, QChar(0x6F22)), Choice::okFocusEdit,
         "アドレス帳の名前の長さは全角で５０文字分までです  "},
        {QString(50, QChar(0x6F22)), Choice::okClose, QString(50, QChar(0x6F22))},
        {QStringLiteral("\t 　仕事　 "), Choice::okClose, QStringLiteral("　仕事　")},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.text.left(10).toStdString());
        MessageRecorder rec;
        rec.answer(MsgSeam::IdOk);
        Choice c(nullptr);
        c.BookName = "Home";
        c.FillBookList();
        EXPECT_EQ(c.CreateBook(tc.text), tc.result);
        if (tc.result == Choice::okClose) {
            EXPECT_EQ(rec.count(), 0);
            EXPECT_EQ(c.BookName, tc.book);
            EXPECT_TRUE(QDir(AdrsFolder + tc.book).exists());
        } else {
            ASSERT_EQ(rec.count(), 1);
            EXPECT_EQ(rec.last().text, tc.book);
            EXPECT_EQ(c.BookName, "Home");
        }
    }
}

TEST_F(AdrsSel, ExistingNameInOtherCaseOffersToOpenThatBook)
{
    makeBooks({"Home", "Work"});
    MessageRecorder rec;
    rec.answer(MsgSeam::IdNo).answer(MsgSeam::IdYes);
    Choice c(nullptr);
    c.BookName = "Home";
    c.FillBookList();
    EXPECT_EQ(c.CreateBook("WORK"), Choice::okFocusEdit);
    EXPECT_EQ(c.CreateBook("WORK"), Choice::okClose);
    ASSERT_EQ(rec.count(), 2);
    EXPECT_EQ(rec.last().text, QStringLiteral("アドレス帳 'Work' は存在します  \r\n開きますか？  "));
    EXPECT_EQ(rec.last().flags, AskYesDefault);
    EXPECT_EQ(c.BookName, "Work");
    EXPECT_EQ(c.BookChanged, 1);
    EXPECT_EQ(AdrsFolderList.size(), 2);
}

TEST_F(AdrsSel, BadNamesAreRefusedWithTheirMessage)
{
    makeBooks({"Home", "Work"});
    const QString empty = QStringLiteral("作成するアドレス帳の名前を入力してください  ");
    const QString dot = QStringLiteral("' . ' で始まる名前は指定できません  ");
    const QString forbidden = Choice::ForbiddenCharsMessage();
    EXPECT_EQ(forbidden, QStringLiteral("アドレス帳には次の文字は使えません\r\n \\ / : ; * ? \" < > |   "));
    const struct
    {
        QString name;
        QString message;
    } cases[] = {
        {"", empty},
        {"   ", empty},
        {".hidden", dot},
        {"..", dot},
        {"a/b", forbidden},
        {"a\\b", forbidden},
        {"x:y", forbidden},
        {"x|y", forbidden},
        {"a?", forbidden},
        {"a\tb", forbidden},
        {"a\"b", forbidden},
        {"<a>", forbidden},
        {QString::fromUtf8("Book \xF0\x9F\x98\x80"),
         QStringLiteral("アドレス帳の名前に使えない文字が含まれています  ")},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name.toStdString());
        MessageRecorder rec;
        rec.answer(MsgSeam::IdOk).answer(MsgSeam::IdOk);
        Choice c(nullptr);
        c.BookName = "Home";
        c.FillBookList();
        EXPECT_EQ(c.CreateBook(tc.name), Choice::okFocusEdit);
        ASSERT_EQ(rec.count(), 1);
        EXPECT_EQ(rec.last().text, tc.message);
        EXPECT_EQ(rec.last().flags, Info);
        QString reopen;
        if (!tc.name.trimmed().isEmpty()) {
            EXPECT_EQ(c.RenameItem(1, tc.name, &reopen), Choice::rnRefused);
            EXPECT_EQ(rec.last().text, tc.message);
        }
        EXPECT_EQ(names(), QStringList({"Home|Home|0", "Work|Work|0"}));
        EXPECT_EQ(QDir(AdrsFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList({"AdrsMng.ini", "Home", "Work"}));
    }
}

TEST_F(AdrsSel, DeletingRecordsThePendingDeletion)
{
    makeBooks({"Home", "Work", QStringLiteral("取引先"), "Old"});
    MessageRecorder rec;
    Choice c(nullptr);
    c.BookName = "home";
    c.FillBookList();

    rec.answer(MsgSeam::IdOk);
    EXPECT_EQ(c.DeleteItem(0), -2); // the open book
    EXPECT_EQ(rec.last().text, QStringLiteral("現在編集中のアドレス帳は削除できません  "));

    rec.answer(MsgSeam::IdNo);
    EXPECT_EQ(c.DeleteItem(2), -2);
    EXPECT_EQ(rec.last().text, QStringLiteral("アドレス帳 '取引先' を削除します  \r\nよろしいですか？  "));
    EXPECT_EQ(rec.last().flags, AskNoDefault);
    EXPECT_FALSE(QFile::exists(AdrsFolder + AdrsOpFileName));

    rec.answer(MsgSeam::IdYes).answer(MsgSeam::IdYes);
    EXPECT_EQ(c.DeleteItem(2), 2); // the next item moves up into its place
    EXPECT_EQ(c.DeleteItem(2), 1); // the last one: the new last is selected
    EXPECT_EQ(opBytes(), "[DELETE]\r\nCount=2\r\n1=" + sjis(QStringLiteral("取引先")) + "\r\n2=Old\r\n");
    EXPECT_EQ(names(), QStringList({"Home|Home|0", "Work|Work|0", QStringLiteral("|取引先|1"), "|Old|1"}));
    ASSERT_EQ(c.Items().size(), 2);
    EXPECT_EQ(c.Items()[1].Name, "Work");
    // The folders stay until the next start carries the deletions out.
    EXPECT_TRUE(QDir(AdrsFolder + "Old").exists());
    LoadAddressBookList(true);
    EXPECT_FALSE(QDir(AdrsFolder + "Old").exists());
    EXPECT_EQ(names(), QStringList({"Home|Home|0", "Work|Work|0"}));
}

TEST_F(AdrsSel, RenameChecksAndRecords)
{
    makeBooks({"Home", "Work", "Club"});
    MessageRecorder rec;
    Choice c(nullptr);
    c.BookName = "Home";
    c.FillBookList();
    QString reopen;

    EXPECT_EQ(c.RenameItem(1, "Work", &reopen), Choice::rnUnchanged);
    rec.answer(MsgSeam::IdOk);
    EXPECT_EQ(c.RenameItem(1, "", &reopen), Choice::rnRefused);
    EXPECT_EQ(rec.last().text, QStringLiteral("空白の名前に変更することはできません  "));
    rec.answer(MsgSeam::IdOk);
    EXPECT_EQ(c.RenameItem(0, "House", &reopen), Choice::rnRefused);
    EXPECT_EQ(rec.last().text, QStringLiteral("現在編集中のアドレス帳の名前は変更できません  "));
    rec.answer(MsgSeam::IdOk);
    EXPECT_EQ(c.RenameItem(1, "CLUB", &reopen), Choice::rnReopen);
    EXPECT_EQ(rec.last().text, QStringLiteral("指定された名前のアドレス帳は既に存在します  "));
    EXPECT_EQ(reopen, "Work");
    EXPECT_FALSE(QFile::exists(AdrsFolder + AdrsOpFileName));

    // Renamed and renamed back: two renames, the second from the new name to the old one.
    EXPECT_EQ(c.RenameItem(1, "Job", &reopen), Choice::rnAccepted);
    EXPECT_EQ(c.RenameItem(1, "Work", &reopen), Choice::rnAccepted);
    EXPECT_EQ(c.RenameItem(2, "club", &reopen), Choice::rnAccepted); // its own name in other case
    EXPECT_EQ(opBytes(), "[RENAME]\r\nCount=3\r\n1=Work/Job\r\n2=Job/Work\r\n3=Club/club\r\n");
    EXPECT_EQ(names(), QStringList({"Home|Home|0", "Work|Work|2", "club|Club|2"}));
    EXPECT_EQ(rec.count(), 3);

    LoadAddressBookList(true);
    EXPECT_EQ(names(), QStringList({"Home|Home|0", "Work|Work|0", "club|club|0"}));
    EXPECT_FALSE(QFile::exists(AdrsFolder + AdrsOpFileName));
}

TEST_F(AdrsSel, OverlongRenameReopensWithTheNameCutAtACharacter)
{
    makeBooks({"Home", "Work"});
    const struct
    {
        QString typed;
        QString cut;
    } cases[] = {
        {QString(101, u'a'), QString(100, u'a')},
        {u'a' + QString(50, QChar(0x6F22)), u'a' + QString(49, QChar(0x6F22))}, // 99 bytes
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.typed.size());
        QFile::remove(AdrsFolder + AdrsOpFileName);
        LoadAddressBookList(false);
        MessageRecorder rec;
        rec.answer(MsgSeam::IdOk);
        Choice c(nullptr);
        c.BookName = "Home";
        c.FillBookList();
        QString reopen;
        EXPECT_EQ(c.RenameItem(1, tc.typed, &reopen), Choice::rnReopen);
        EXPECT_EQ(rec.last().text, QStringLiteral("アドレス帳の名前の長さは全角で５０文字分までです  "));
        EXPECT_EQ(reopen, tc.cut);
        EXPECT_FALSE(QFile::exists(AdrsFolder + AdrsOpFileName));
        EXPECT_EQ(c.RenameItem(1, reopen, &reopen), Choice::rnAccepted);
        EXPECT_EQ(opBytes(), "[RENAME]\r\nCount=1\r\n1=Work/" + sjis(tc.cut) + "\r\n");
    }
}

TEST_F(AdrsSel, NewBookInAFolderStillPendingGetsAFolderOfItsOwn)
{
    makeBooks({"Home", "Work"});
    ASSERT_TRUE(QDir().mkpath(AdrsFolder + QStringLiteral("Work（1）"))); // already taken
    MessageRecorder rec;
    rec.answer(MsgSeam::IdYes);
    Choice c(nullptr);
    c.BookName = "Home";
    c.FillBookList();
    EXPECT_EQ(c.DeleteItem(1), 0);
    c.FillBookList();
    EXPECT_EQ(c.CreateBook("work"), Choice::okClose);
    EXPECT_EQ(opBytes(), "[DELETE]\r\nCount=1\r\n1=Work\r\n\r\n[RENAME]\r\nCount=1\r\n1=" +
                             sjis(QStringLiteral("work（2）/work")) + "\r\n");
    EXPECT_EQ(names(), QStringList({"Home|Home|0", "|Work|1", QStringLiteral("work|work（2）|2")}));
    EXPECT_EQ(c.BookName, "work");

    // Opened (its table created), then the next start carries both out.
    makeBook(QStringLiteral("work（2）"));
    WriteFileBytes(AdrsFolder + "Work/Adrs.DB", "old book");
    LoadAddressBookList(true);
    EXPECT_EQ(names(), QStringList({"Home|Home|0", "work|work|0"}));
    EXPECT_EQ(ReadFileBytes(AdrsFolder + "work/Adrs.DB"), QByteArray());
}

TEST_F(AdrsSel, RecordedRenameNeverReplacesAnExistingFolder)
{
    makeBooks({"Home", "Work"});
    ASSERT_TRUE(QDir().mkpath(AdrsFolder + "Stray"));
    WriteFileBytes(AdrsFolder + "Stray/keep.txt", "keep");
    WriteFileBytes(AdrsFolder + "Work/Adrs.DB", "work rows");
    MessageRecorder rec;
    Choice c(nullptr);
    c.BookName = "Home";
    c.FillBookList();
    QString reopen;
    EXPECT_EQ(c.RenameItem(1, "Stray", &reopen), Choice::rnAccepted);
    LoadAddressBookList(true);
    EXPECT_EQ(ReadFileBytes(AdrsFolder + "Stray/keep.txt"), "keep");
    EXPECT_EQ(ReadFileBytes(AdrsFolder + "Work/Adrs.DB"), "work rows");
    EXPECT_EQ(opBytes(), "[RENAME]\r\nCount=1\r\n1=Work/Stray\r\n");
    EXPECT_EQ(names(), QStringList({"Home|Home|0", "Stray|Work|2"}));
}

TEST_F(AdrsSel, ReorderingSkipsPendingDeletionsAndIsSavedAsTheBookOrder)
{
    makeBooks({"A", "B", "C", "D"});
    MessageRecorder rec;
    rec.answer(MsgSeam::IdYes);
    Choice c(nullptr);
    c.BookName = "A";
    c.FillBookList();
    EXPECT_EQ(c.DeleteItem(1), 1);    // B
    EXPECT_EQ(c.MoveItem(1, -1), 0);  // C above A
    EXPECT_EQ(c.MoveItem(0, -1), -1); // already first
    EXPECT_EQ(c.MoveItem(2, +1), -1); // already last
    EXPECT_EQ(c.MoveItem(1, +1), 2);  // A below D
    EXPECT_EQ(names(), QStringList({"C|C|0", "|B|1", "D|D|0", "A|A|0"}));
    ASSERT_TRUE(SaveAddressBookOrder());
    EXPECT_EQ(ReadFileBytes(AdrsFolder + AdrsMngFileName), "[SORT]\r\n1=C\r\n2=B\r\n3=D\r\n4=A\r\n");
    LoadAddressBookList(true);
    EXPECT_EQ(names(), QStringList({"C|C|0", "D|D|0", "A|A|0"}));
}

TEST_F(AdrsSel, OpeningNeedsASelectedBook)
{
    makeBooks({"Home", "Work"});
    MessageRecorder rec;
    rec.answer(MsgSeam::IdOk);
    Choice c(nullptr);
    c.BookName = "work";
    c.FillBookList();
    EXPECT_EQ(c.InitialRow(), 1);
    EXPECT_EQ(c.OpenBook(-1), Choice::okFocusList);
    EXPECT_EQ(rec.last().text, QStringLiteral("アドレス帳を選択してください  "));
    EXPECT_EQ(c.OpenBook(1), Choice::okClose);
    EXPECT_EQ(c.BookChanged, 0); // the same book in other case
    EXPECT_EQ(c.BookName, "Work");
}

// ---- the dialog ----

QRadioButton* radio(QWidget& w, const char* name)
{
    return w.findChild<QRadioButton*>(name);
}

TEST_F(AdrsSel, StartUpChoiceWithoutBooksStartsInCreateMode)
{
    MessageRecorder rec;
    TAddressSelect dlg(nullptr);
    dlg.BookName() = QStringLiteral("アドレス");
    dlg.SetMode(9);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("アドレス帳の作成"));
    EXPECT_TRUE(radio(dlg, "rbNew")->isChecked());
    EXPECT_FALSE(radio(dlg, "rbOpen")->isEnabled());
    EXPECT_FALSE(dlg.findChild<QListWidget*>("lvAdrs")->isEnabled());
    for (const char* a : {"actDelete", "actRename", "actUp", "actDown"})
        EXPECT_FALSE(dlg.findChild<QAction*>(a)->isEnabled()) << a;
    auto* edtNew = dlg.findChild<QLineEdit*>("edtNew");
    EXPECT_EQ(edtNew->text(), QStringLiteral("アドレス"));
    EXPECT_EQ(edtNew->maxLength(), 100);
    EXPECT_EQ(ImeModeOf(edtNew), 6);

    // Cancel asks first; No keeps the dialog, Yes ends it.
    rec.answer(MsgSeam::IdNo).answer(MsgSeam::IdYes);
    const int result = RunModal(dlg, {[&] {
                                          EXPECT_EQ(dlg.focusWidget(), edtNew);
                                          EXPECT_EQ(edtNew->cursorPosition(), 4);
                                          EXPECT_FALSE(edtNew->hasSelectedText());
                                          QTest::keyClick(&dlg, Qt::Key_Escape);
                                      },
                                      [&] {
                                          EXPECT_TRUE(dlg.isVisible());
                                          dlg.close();
                                      }});
    EXPECT_EQ(result, TAddressSelect::mrCancel);
    ASSERT_EQ(rec.count(), 2);
    EXPECT_EQ(rec.last().text, QStringLiteral("キャンセルした場合アドレス帳が開けませんので  \r\nTovarel "
                                              "を終了することになります  \r\nよろしいですか？  "));
    EXPECT_EQ(rec.last().flags, AskNoDefault);

    // Created on OK: the first run's book.
    TAddressSelect again(nullptr);
    again.BookName() = QStringLiteral("アドレス");
    again.SetMode(9);
    EXPECT_EQ(RunModal(again, {[&] { again.findChild<QPushButton*>("btnOk")->click(); }}),
              TAddressSelect::mrOk);
    EXPECT_EQ(again.BookChanged(), 0);
    EXPECT_TRUE(QDir(AdrsFolder + QStringLiteral("アドレス")).exists());
}

TEST_F(AdrsSel, OpenModeSelectsTheOpenBookAndKeysMoveTheFocus)
{
    makeBooks({"Home", "Work", "Club"});
    MessageRecorder rec;
    TAddressSelect dlg(nullptr);
    dlg.BookName() = "WORK";
    dlg.SetMode(1);
    auto* list = dlg.findChild<QListWidget*>("lvAdrs");
    auto* edtNew = dlg.findChild<QLineEdit*>("edtNew");
    auto* btnOk = dlg.findChild<QPushButton*>("btnOk");
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("アドレス帳の切り替え"));
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(2)->data(Qt::UserRole).toInt(), 2);
    const int result =
        RunModal(dlg, {[&] {
                     QApplication::setActiveWindow(&dlg);
                     EXPECT_EQ(list->currentRow(), 1);
                     EXPECT_TRUE(list->item(1)->isSelected());
                     EXPECT_EQ(dlg.focusWidget(), list);
                     EXPECT_TRUE(dlg.findChild<QAction*>("actUp")->isEnabled());
                     EXPECT_TRUE(dlg.findChild<QAction*>("actDown")->isEnabled());
                     EXPECT_EQ(radio(dlg, "rbOpen")->palette().color(QPalette::WindowText), QColor(Qt::blue));
                     EXPECT_NE(radio(dlg, "rbNew")->palette().color(QPalette::WindowText), QColor(Qt::blue));
                     QTest::keyClick(list, Qt::Key_Return);
                     EXPECT_EQ(dlg.focusWidget(), btnOk);
                     // Clicking "create" moves to the edit; entering the edit keeps "create" checked.
                     radio(dlg, "rbNew")->click();
                     EXPECT_EQ(dlg.focusWidget(), edtNew);
                     EXPECT_EQ(radio(dlg, "rbNew")->palette().color(QPalette::WindowText), QColor(Qt::blue));
                     radio(dlg, "rbOpen")->setFocus();
                     QTest::keyClick(radio(dlg, "rbOpen"), Qt::Key_Return);
                     EXPECT_EQ(dlg.focusWidget(), list);
                     EXPECT_TRUE(radio(dlg, "rbOpen")->isChecked());
                     list->setCurrentRow(2);
                     dlg.actUpExecute();
                     EXPECT_EQ(list->currentRow(), 1);
                     EXPECT_EQ(list->item(1)->text(), "Club");
                     btnOk->click();
                 }});
    EXPECT_EQ(result, TAddressSelect::mrOk);
    EXPECT_EQ(dlg.BookName(), "Club");
    EXPECT_EQ(dlg.BookChanged(), 1);
    EXPECT_EQ(names(), QStringList({"Home|Home|0", "Club|Club|0", "Work|Work|0"}));
    EXPECT_EQ(rec.count(), 0);
}

TEST_F(AdrsSel, InPlaceRenameReopensTheEditorOnAClash)
{
    makeBooks({"Home", "Work", "Club"});
    MessageRecorder rec;
    rec.answer(MsgSeam::IdOk);
    TAddressSelect dlg(nullptr);
    dlg.BookName() = "Home";
    dlg.SetMode(1);
    auto* list = dlg.findChild<QListWidget*>("lvAdrs");
    QLineEdit* editor = nullptr;
    const auto openEditor = [&] {
        for (QLineEdit* e : list->viewport()->findChildren<QLineEdit*>("edtRename"))
            if (e->isVisible())
                return e;
        return static_cast<QLineEdit*>(nullptr);
    };
    const auto typeInEditor = [&](const QString& text) {
        editor = openEditor();
        ASSERT_TRUE(editor);
        EXPECT_EQ(ImeModeOf(editor), 6);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the checks run once the editor has closed
    };
    const int result = RunModal(dlg, {[&] {
                                          list->setCurrentRow(1);
                                          QTest::keyClick(list, Qt::Key_F2);
                                          typeInEditor("club");
                                      },
                                      [&] {
                                          // Refused: the editor is open again with the old name.
                                          editor = openEditor();
                                          ASSERT_TRUE(editor);
                                          EXPECT_EQ(editor->text(), "Work");
                                          typeInEditor("Office");
                                      },
                                      [&] {
                                          EXPECT_EQ(list->item(1)->text(), "Office");
                                          dlg.findChild<QPushButton*>("btnCancel")->click();
                                      }});
    EXPECT_EQ(result, TAddressSelect::mrCancel);
    EXPECT_EQ(rec.count(), 1);
    EXPECT_EQ(opBytes(), "[RENAME]\r\nCount=1\r\n1=Work/Office\r\n");
    EXPECT_EQ(dlg.BookName(), "Home");
}

TEST_F(AdrsSel, MouseOnTheList)
{
    makeBooks({"Home", "Work"});
    MessageRecorder rec;
    TAddressSelect dlg(nullptr);
    dlg.BookName() = "Home";
    dlg.SetMode(1);
    auto* list = dlg.findChild<QListWidget*>("lvAdrs");
    const int result = RunModal(dlg, {[&] {
                                    list->clearSelection();
                                    EXPECT_FALSE(dlg.findChild<QAction*>("actDelete")->isEnabled());
                                    // Pressed below the items while nothing is selected: the focused item
                                    // becomes selected.
                                    QTest::mousePress(list->viewport(), Qt::LeftButton, {},
                                                      QPoint(5, list->viewport()->height() - 5));
                                    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {},
                                                        QPoint(5, list->viewport()->height() - 5));
                                    EXPECT_TRUE(list->item(0)->isSelected());
                                    EXPECT_TRUE(dlg.findChild<QAction*>("actDelete")->isEnabled());
                                    const QPoint second = list->visualItemRect(list->item(1)).center();
                                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
                                    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
                                }});
    EXPECT_EQ(result, TAddressSelect::mrOk);
    EXPECT_EQ(dlg.BookName(), "Work");
    EXPECT_EQ(rec.count(), 0);
}

TEST_F(AdrsSel, Screenshot)
{
    makeBooks({QStringLiteral("アドレス"), QStringLiteral("取引先"), QStringLiteral("年賀状 2027"), "Club"});
    TAddressSelect dlg(nullptr);
    dlg.BookName() = QStringLiteral("取引先");
    dlg.SetMode(1);
    dlg.show();
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/AddressSelect.png");
    EXPECT_TRUE(dlg.grab().save(path));
}

} // namespace
