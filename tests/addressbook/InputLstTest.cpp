// Tests of the input list editor: private copies, the list buttons, and writing back only changed lists.
#include "addressbook/InputLst.h"

#include "support/CardFixtures.h"
#include "support/MessageRecorder.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

QStringList Entries(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

QList<int> Selected(const QListWidget* list)
{
    QList<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            rows.append(i);
    return rows;
}

} // namespace

class InputListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* d : {"営業部", "総務部", "経理部"})
            data.histories[ilDptmnt]->Add(ToAnsi(QString::fromUtf8(d)), 5);
        data.histories[ilDptmnt]->Save();
        data.histories[ilPost]->Add(ToAnsi(QStringLiteral("部長")), 3);
        data.histories[ilPost]->Save();
    }

    FakeCardData data;
    MessageRecorder messages;
    const QStringList keywordNames{"k1", "k2", "k3", "k4", "k5", "分類", "地域", "担当"};
};

TEST_F(InputListTest, OkRewritesOnlyTheChangedLists)
{
    const QByteArray dptmntBefore = ReadFileBytes(data.path(QStringLiteral("Dptmnt.mtd")));
    const QDateTime dptmntTime = QFileInfo(data.path(QStringLiteral("Dptmnt.mtd"))).lastModified();
    TInputList dialog(data, keywordNames);
    EXPECT_EQ(dialog.tabctlInputList->tabText(5), QStringLiteral(" 担当 "));
    dialog.SetListKind(1);
    EXPECT_EQ(dialog.edtName->maxLength(), 50);
    EXPECT_EQ(Entries(dialog.lbxList), QStringList{QStringLiteral("部長")});
    dialog.edtName->setText(QStringLiteral("課長"));
    dialog.bbtnAddClick();
    EXPECT_TRUE(dialog.edtName->text().isEmpty());
    // A tab visited but not changed is not written.
    dialog.SetListKind(0);
    dialog.SetListKind(3);
    dialog.btnOkClick();
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    EXPECT_EQ(dialog.GetChangedLists(), 1u << ilPost);

    THistoryData post(data.path(QStringLiteral("Post.mtd")), false, 50);
    post.Load();
    ASSERT_EQ(post.Count(), 2);
    EXPECT_EQ(post.GetText(0), ToAnsi(QStringLiteral("課長")));
    EXPECT_EQ(post.GetDate(0), 2.0);
    EXPECT_EQ(post.GetDate(1), 1.0);
    EXPECT_EQ(ReadFileBytes(data.path(QStringLiteral("Dptmnt.mtd"))), dptmntBefore);
    EXPECT_EQ(QFileInfo(data.path(QStringLiteral("Dptmnt.mtd"))).lastModified(), dptmntTime);
    EXPECT_FALSE(QFileInfo::exists(data.path(QStringLiteral("Keyword1.mtd"))));
}

TEST_F(InputListTest, ListButtons)
{
    messages.allowUnexpected();
    TInputList dialog(data, keywordNames);
    dialog.SetListKind(0);
    QListWidget* list = dialog.lbxList;

    // Add: required, exact duplicates refused, letter case counts.
    dialog.bbtnAddClick();
    EXPECT_EQ(messages.last().text, QStringLiteral("名称を入力してください  "));
    dialog.edtName->setText(QStringLiteral("総務部"));
    dialog.bbtnAddClick();
    EXPECT_EQ(messages.last().text, QStringLiteral("既に同じ名称が登録されています  "));
    EXPECT_EQ(list->count(), 3);
    dialog.edtName->setText(QStringLiteral("IT"));
    dialog.bbtnAddClick();
    dialog.edtName->setText(QStringLiteral("it"));
    dialog.bbtnAddClick();
    EXPECT_EQ(Entries(list).mid(0, 2), (QStringList{QStringLiteral("it"), QStringLiteral("IT")}));
    EXPECT_EQ(Selected(list), QList<int>{0});
    EXPECT_FALSE(dialog.bbtnUp->isEnabled());

    // Update: one selected entry only.
    list->clearSelection();
    dialog.edtName->setText(QStringLiteral("開発"));
    dialog.bbtnUpdateClick();
    EXPECT_EQ(messages.last().text, QStringLiteral("変更するデータを選択してください  "));
    list->item(1)->setSelected(true);
    list->item(2)->setSelected(true);
    dialog.bbtnUpdateClick();
    EXPECT_EQ(messages.last().text, QStringLiteral("変更するデータを１件だけ選択してください  "));
    list->item(2)->setSelected(false);
    dialog.bbtnUpdateClick();
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("開発"));

    // A block moves up keeping its order and selection; at the top nothing moves.
    // it, 開発, 営業部, 総務部, 経理部
    list->clearSelection();
    list->item(3)->setSelected(true);
    list->item(4)->setSelected(true);
    EXPECT_TRUE(dialog.bbtnUp->isEnabled());
    EXPECT_FALSE(dialog.bbtnDown->isEnabled());
    dialog.bbtnUpClick();
    EXPECT_EQ(Entries(list),
              (QStringList{QStringLiteral("it"), QStringLiteral("開発"), QStringLiteral("総務部"),
                           QStringLiteral("経理部"), QStringLiteral("営業部")}));
    EXPECT_EQ(Selected(list), (QList<int>{2, 3}));
    list->item(0)->setSelected(true);
    dialog.bbtnUpClick();
    EXPECT_EQ(Selected(list), (QList<int>{0, 2, 3}));
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("it"));
    dialog.bbtnDeleteClick();
    EXPECT_EQ(Entries(list), (QStringList{QStringLiteral("開発"), QStringLiteral("営業部")}));

    // Each tab keeps its name, list and selection.
    dialog.edtName->setText(QStringLiteral("途中"));
    list->item(1)->setSelected(true);
    dialog.SetListKind(2);
    EXPECT_EQ(list->count(), 0);
    EXPECT_TRUE(dialog.edtName->text().isEmpty());
    EXPECT_EQ(dialog.edtName->maxLength(), 10);
    dialog.SetListKind(0);
    EXPECT_EQ(dialog.edtName->text(), QStringLiteral("途中"));
    EXPECT_EQ(Entries(list), (QStringList{QStringLiteral("開発"), QStringLiteral("営業部")}));
    EXPECT_EQ(Selected(list), QList<int>{1});
}

TEST_F(InputListTest, CancelNamesTheChangedTabs)
{
    TInputList dialog(data, keywordNames);
    dialog.reject();
    EXPECT_EQ(messages.count(), 0) << "no changes: closes at once";

    TInputList changed(data, keywordNames);
    changed.SetListKind(1);
    changed.lbxList->item(0)->setSelected(true);
    changed.bbtnDeleteClick();
    changed.SetListKind(4);
    changed.edtName->setText(QStringLiteral("北"));
    changed.bbtnAddClick();
    messages.answer(MsgSeam::IdNo);
    changed.reject();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text,
              QStringLiteral(" 役職   \r\n 地域   \r\n\r\n以上のリストが変更されています  \r\n"
                             "このままキャンセルすると変更内容が破棄されますが  \r\nよろしいですか？  "));
    EXPECT_EQ(messages.last().flags, 0x124u);
    EXPECT_NE(changed.result(), int(QDialog::Rejected) + 100);
    EXPECT_TRUE(changed.isVisible() == false);
    messages.answer(MsgSeam::IdYes);
    changed.reject();
    EXPECT_EQ(changed.result(), int(QDialog::Rejected));
    THistoryData post(data.path(QStringLiteral("Post.mtd")), false, 50);
    post.Load();
    EXPECT_EQ(post.Count(), 1) << "nothing written on Cancel";
}
