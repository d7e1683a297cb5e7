// The word search: the dialog's word, and the search over the shown rows (start, wrap, vanished rows).
#include "addressbook/FakeAddressList.h"
#include "addressbook/WordSch.h"
#include "support/MessageRecorder.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

QStringList Row(std::initializer_list<const char*> texts)
{
    QStringList row;
    for (const char* text : texts)
        row.append(QString::fromUtf8(text));
    return row;
}

TEST(WordSch, SearchStartsAtTheFocusedRowAndWrapsOnce)
{
    FakeAddressList list;
    list.rows = {Row({"1", "山田商事"}), Row({"2", "鈴木"}), Row({"3", "山田"}), Row({"4", "Yamada"})};
    struct Case
    {
        const char* name;
        int focused;
        int nextWordIndex;
        const char* word;
        bool found;
        int selected;
        QList<int> visited;
    } cases[] = {
        {"from the focused row", 1, -1, "山田", true, 2, {1, 2}},
        {"from the kept next row", 0, 3, "山田", true, 0, {3, 0}},
        {"next row past the end wraps", 3, 4, "山田", true, 0, {0}},
        {"above the focused row, after wrapping", 2, -1, "商事", true, 0, {2, 3, 0}},
        {"no focus starts at row 0", -1, -1, "鈴木", true, 1, {0, 1}},
        {"case counts", 0, -1, "yamada", false, -1, {0, 1, 2, 3}},
        {"nowhere: each row once", 2, -1, "佐藤", false, -1, {2, 3, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        list.focused = c.focused;
        list.selected = -1;
        list.visited.clear();
        int next = c.nextWordIndex;
        EXPECT_EQ(FindNextWord(list, QString::fromUtf8(c.word), next, nullptr), c.found);
        EXPECT_EQ(list.selected, c.selected);
        EXPECT_EQ(list.visited, c.visited);
        EXPECT_EQ(next, c.found ? c.selected + 1 : c.nextWordIndex);
    }

    // "次の候補を検索" walks on from the hit.
    list.focused = 0;
    list.visited.clear();
    int next = -1;
    QList<int> hits;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(FindNextWord(list, QString::fromUtf8("山田"), next, nullptr));
        hits.append(list.selected);
    }
    EXPECT_EQ(hits, (QList<int>{0, 2, 0}));
}

TEST(WordSch, VanishedRowEndsTheSearchWithAMessage)
{
    MessageRecorder messages;
    FakeAddressList list;
    list.rows = {Row({"a"}), std::nullopt, Row({"word"})};
    list.focused = 0;
    int next = -1;
    messages.answer(MsgSeam::IdOk);
    EXPECT_FALSE(FindNextWord(list, "word", next, nullptr));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("アドレス帳が読み出せませんでした  "));
    EXPECT_EQ(messages.last().flags & 0xF0, unsigned(MsgSeam::MbIconStop));
    EXPECT_EQ(list.selected, -1);

    // An empty list or an empty word finds nothing and reads nothing.
    FakeAddressList empty;
    EXPECT_FALSE(FindNextWord(empty, "word", next, nullptr));
    list.visited.clear();
    EXPECT_FALSE(FindNextWord(list, "", next, nullptr));
    EXPECT_TRUE(list.visited.isEmpty());
}

TEST(WordSch, DialogHandsBackTheTrimmedWord)
{
    struct Case
    {
        const char* name;
        const char* typed;
        const char* button;
        int result;
        const char* word;
    } cases[] = {
        {"search", "  山田 ", "btnSearch", QDialog::Accepted, "山田"},
        {"blanks only", " \t ", "btnSearch", QDialog::Accepted, ""},
        {"full-width blanks are part of the word", "　山田", "btnSearch", QDialog::Accepted, "　山田"},
        {"release", "山田", "btnRelease", QDialog::Accepted, ""},
        {"cancel", "山田", "btnCancel", QDialog::Rejected, "山田"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TWordSearch dialog(nullptr);
        dialog.SetWord("old");
        auto* edit = dialog.findChild<QLineEdit*>("edtWord");
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->selectedText(), "old");
        const int result = RunModal(dialog, [&](QDialog& d) {
            edit->setText(QString::fromUtf8(c.typed));
            d.findChild<QPushButton*>(c.button)->click();
        });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(dialog.GetWord(), QString::fromUtf8(c.word));
    }
}

TEST(WordSch, CommandTakesTheWordBackOnlyOnOk)
{
    QString word = "old";
    {
        ModalDriver cancel;
        cancel.on("WordSearch", [](QWidget* d) {
            d->findChild<QLineEdit*>("edtWord")->setText("new");
            d->findChild<QPushButton*>("btnCancel")->click();
        });
        EXPECT_FALSE(ExecuteWordSearch(nullptr, word));
    }
    EXPECT_EQ(word, "old");
    ModalDriver release;
    release.on("WordSearch", [](QWidget* d) { d->findChild<QPushButton*>("btnRelease")->click(); });
    EXPECT_TRUE(ExecuteWordSearch(nullptr, word));
    EXPECT_EQ(word, "");
}

TEST(WordSch, EnterInTheWordGoesToSearch)
{
    TWordSearch dialog(nullptr);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    auto* edit = dialog.findChild<QLineEdit*>("edtWord");
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), dialog.findChild<QPushButton*>("btnSearch"));
    EXPECT_TRUE(dialog.isVisible());
}

} // namespace
