// Group names: "Group.dat" round trip, damaged files and the group-name dialog.
#include "addressbook/GrpEdt.h"
#include "core/DialogSub.h"
#include "BookDialogFixture.h"
#include "support/MessageRecorder.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class GrpEdt : public BookDialogFixture
{
protected:
    void SetUp() override
    {
        BookDialogFixture::SetUp();
        makeBooks({"Home"});
        CurrentAdrsIndex = 0;
        GroupNames.clear();
        for (int i = 0; i <= GroupCount; ++i)
            GroupNames.append(QStringLiteral("x"));
    }
    QString groupFile() const { return AdrsFolder + QStringLiteral("Home/Group.dat"); }
};

QStringList defaults()
{
    QStringList list{QStringLiteral("指定なし")};
    for (int i = 1; i <= GroupCount; ++i)
        list.append(DefaultGroupName(i));
    return list;
}

TEST_F(GrpEdt, MissingOrDamagedFileGivesTheDefaults)
{
    EXPECT_EQ(DefaultGroupName(10), QStringLiteral("グループ１０"));
    QByteArray garbage;
    for (int i = 0; i < 600; ++i)
        garbage.append(char((i * 37) & 0xFF));
    const struct
    {
        const char* what;
        QByteArray bytes; // null: no file
    } cases[] = {
        {"missing", QByteArray()},
        {"binary garbage", garbage},
        {"empty values", "[GROUP]\r\nGroup1=\r\nGroup2=\r\n"},
        {"other section", "[GRUOP]\r\nGroup1=Friends\r\n"},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.what);
        QFile::remove(groupFile());
        if (!tc.bytes.isNull())
            WriteFileBytes(groupFile(), tc.bytes);
        LoadGroupFile(groupFile());
        EXPECT_EQ(GroupNames, defaults());
    }
}

TEST_F(GrpEdt, NamesAreCutTo20BytesAtACharacterBoundary)
{
    const QString kanji10 = QString(10, QChar(0x6F22));
    WriteFileBytes(groupFile(), "[group]\r\ngroup1=" + Cp932::fromUnicode(u'a' + kanji10) +
                                    "\r\nGroup10=" + QByteArray(25, 'b') +
                                    "\r\nGroup3=" + Cp932::fromUnicode(kanji10) + "\r\n");
    LoadGroupFile(groupFile());
    EXPECT_EQ(GroupNames[1], u'a' + QString(9, QChar(0x6F22))); // 19 bytes
    EXPECT_EQ(GroupNames[3], kanji10);
    EXPECT_EQ(GroupNames[10], QString(20, u'b'));
    EXPECT_EQ(GroupNames[2], DefaultGroupName(2));
}

TEST_F(GrpEdt, StoringChecksAndWritesAllTenKeys)
{
    LoadGroupFile(groupFile());
    QStringList typed = defaults().mid(1);
    typed[3] = QStringLiteral("  取引先 ");
    typed[4] = "Friends";
    typed[5] = "friends"; // letter case makes them different
    const TGroupNamesResult ok = StoreGroupNames(typed, groupFile());
    EXPECT_TRUE(ok.error.isEmpty());
    EXPECT_EQ(ok.emptyItem, 0);
    EXPECT_EQ(ok.sameItem, 0);
    EXPECT_TRUE(ok.changed);
    QByteArray expected = "[GROUP]\r\n";
    for (int i = 1; i <= GroupCount; ++i)
        expected += "Group" + QByteArray::number(i) + '=' +
                    Cp932::fromUnicode(i == 4   ? QStringLiteral("取引先")
                                       : i == 5 ? QStringLiteral("Friends")
                                       : i == 6 ? QStringLiteral("friends")
                                                : DefaultGroupName(i)) +
                    "\r\n";
    EXPECT_EQ(ReadFileBytes(groupFile()), expected);
    const QStringList stored = GroupNames;
    LoadGroupFile(groupFile());
    EXPECT_EQ(GroupNames, stored);

    // Unchanged: the file is written again, and nothing is reported changed.
    QFile::remove(groupFile());
    EXPECT_FALSE(StoreGroupNames(GroupNames.mid(1), groupFile()).changed);
    EXPECT_EQ(ReadFileBytes(groupFile()), expected);

    QStringList bad = GroupNames.mid(1);
    bad[9] = " ";
    EXPECT_EQ(StoreGroupNames(bad, groupFile()).emptyItem, 10);
    bad[9] = bad[2];
    EXPECT_EQ(StoreGroupNames(bad, groupFile()).sameItem, 10);
    EXPECT_EQ(GroupNames, stored);

    // A file that cannot be written changes nothing.
    const TGroupNamesResult failed =
        StoreGroupNames(typed.mid(0, 9) << "New", AdrsFolder + "nowhere/Group.dat");
    EXPECT_FALSE(failed.error.isEmpty());
    EXPECT_EQ(GroupNames, stored);
}

TEST_F(GrpEdt, DialogRefusesEmptyAndEqualNames)
{
    LoadGroupFile(groupFile());
    MessageRecorder rec;
    rec.answer(MsgSeam::IdOk).answer(MsgSeam::IdOk);
    TGruopEdit dlg(nullptr);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("グループ名の設定"));
    QLineEdit* e1 = dlg.GroupEdit(0);
    EXPECT_EQ(e1->objectName(), "edtGroup1");
    EXPECT_EQ(dlg.GroupEdit(9)->objectName(), "edtGroup10");
    EXPECT_EQ(ImeModeOf(e1), 6);
    EXPECT_EQ(e1->text(), DefaultGroupName(1));
    const int result =
        RunModal(dlg, {[&] {
                     QApplication::setActiveWindow(&dlg);
                     EXPECT_EQ(dlg.focusWidget(), e1);
                     EXPECT_EQ(e1->cursorPosition(), e1->text().size());
                     QTest::keyClick(e1, Qt::Key_Return);
                     EXPECT_EQ(dlg.focusWidget(), dlg.GroupEdit(1));
                     QTest::keyClick(dlg.GroupEdit(9), Qt::Key_Return); // wraps round through the buttons
                     EXPECT_EQ(dlg.focusWidget()->objectName(), "btnOk");

                     // Pasted text is cut when the edit is left.
                     dlg.GroupEdit(2)->setFocus();
                     dlg.GroupEdit(2)->setText(QString(11, QChar(0x6F22)));
                     dlg.GroupEdit(3)->setFocus();
                     EXPECT_EQ(dlg.GroupEdit(2)->text(), QString(10, QChar(0x6F22)));

                     dlg.GroupEdit(4)->setText(" ");
                     dlg.btnOkClick();
                     EXPECT_EQ(rec.last().text, QStringLiteral("グループ項目５が未入力です  "));
                     EXPECT_EQ(dlg.focusWidget(), dlg.GroupEdit(4));
                     dlg.GroupEdit(4)->setText(DefaultGroupName(8));
                     dlg.btnOkClick();
                     EXPECT_EQ(rec.last().text, QStringLiteral("同じグループ名は設定できません  "));
                     EXPECT_EQ(dlg.focusWidget(), dlg.GroupEdit(7));
                     dlg.GroupEdit(4)->setText("Family");
                     dlg.findChild<QPushButton*>("btnOk")->click();
                 }});
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dlg.GroupsChanged, 1);
    EXPECT_EQ(rec.count(), 2);
    LoadGroupFile(groupFile());
    EXPECT_EQ(GroupNames[5], "Family");
    EXPECT_EQ(GroupNames[3], QString(10, QChar(0x6F22)));
}

TEST_F(GrpEdt, CancelChangesNothing)
{
    LoadGroupFile(groupFile());
    TGruopEdit dlg(nullptr);
    const int result = RunModal(dlg, {[&] {
                                    dlg.GroupEdit(0)->setText("Changed");
                                    dlg.findChild<QPushButton*>("btnCancel")->click();
                                }});
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(GroupNames, defaults());
    EXPECT_FALSE(QFile::exists(groupFile()));
}

TEST_F(GrpEdt, Screenshot)
{
    LoadGroupFile(groupFile());
    TGruopEdit dlg(nullptr);
    EXPECT_FALSE(dlg.GroupEdit(0)->hasSelectedText());
    dlg.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(dlg.GroupEdit(0)->hasSelectedText());
    EXPECT_TRUE(dlg.grab().save(QCoreApplication::applicationDirPath() + QStringLiteral("/GruopEdit.png")));
}

} // namespace
