// Keyword and protected-memo item names and input modes: "AdrsList.ini" round trip and the twin dialogs.
#include "addressbook/KeywdEdt.h"
#include "addressbook/PrtctMemoEdt.h"
#include "core/DialogSub.h"
#include "BookDialogFixture.h"
#include "platform/IniFile.h"
#include "support/MessageRecorder.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class KeywdEdt : public BookDialogFixture
{
protected:
    void SetUp() override
    {
        BookDialogFixture::SetUp();
        ReadItemNameSettings(TMemIniFile(AdrsListIniPath()));
    }
};

TEST_F(KeywdEdt, MissingFileGivesDefaultNamesAndHiragana)
{
    ASSERT_EQ(KeywordNames.size(), 8);
    ASSERT_EQ(ProtectMemoNames.size(), 10);
    EXPECT_EQ(KeywordNames[0], QStringLiteral("キーワード１"));
    EXPECT_EQ(KeywordNames[7], QStringLiteral("キーワード８"));
    EXPECT_EQ(ProtectMemoNames[9], QStringLiteral("保護メモ１０"));
    EXPECT_EQ(KeywordInputModes, QList<uint8_t>(8, 6));
    EXPECT_EQ(ProtectMemoInputModes, QList<uint8_t>(10, 6));
}

TEST_F(KeywdEdt, StoredValuesAreReadWithDefaultsForBadOnes)
{
    WriteFileBytes(
        AdrsListIniPath(),
        "[HEADER]\r\nHeaderIndex=1,2\r\n[KEYWORD]\r\nName1=" + Cp932::fromUnicode(QStringLiteral("趣味")) +
            "\r\nName2=\r\nMode1=8\r\nMode2=3\r\nMode3=abc\r\nMode4=1\r\nMode5=5\r\n"
            "Mode6=7\r\nMode7=-6\r\n[PROTECT MEMO]\r\nName10=PIN\r\nMode10=1\r\n");
    ReadItemNameSettings(TMemIniFile(AdrsListIniPath()));
    EXPECT_EQ(KeywordNames[0], QStringLiteral("趣味"));
    EXPECT_EQ(KeywordNames[1], QStringLiteral("キーワード２"));
    EXPECT_EQ(KeywordInputModes, QList<uint8_t>({8, 6, 6, 1, 5, 7, 6, 6}));
    EXPECT_EQ(ProtectMemoNames[9], "PIN");
    EXPECT_EQ(ProtectMemoInputModes[9], 1);
    EXPECT_EQ(ProtectMemoInputModes[0], 6);
}

TEST_F(KeywdEdt, StoringWritesEveryKeyAndKeepsOtherSections)
{
    WriteFileBytes(AdrsListIniPath(), "[HEADER]\r\nHeaderIndex=1,2\r\n[KEYWORD]\r\nMode1=3\r\n");
    ReadItemNameSettings(TMemIniFile(AdrsListIniPath()));
    QStringList names = KeywordNames;
    QList<uint8_t> modes = KeywordInputModes;

    // Nothing changed: the file is written whole anyway, both flags false.
    TNamedItemsResult r = StoreNamedItems(KeywordItemKind(), names, modes, AdrsListIniPath());
    EXPECT_TRUE(r.error.isEmpty());
    EXPECT_FALSE(r.namesChanged);
    EXPECT_FALSE(r.modesChanged);
    // The lines read are written back as they stood.
    QByteArray expected = "[HEADER]\r\nHeaderIndex=1,2\r\n[KEYWORD]\r\nMode1=6\r\n";
    for (int i = 1; i <= 8; ++i) {
        expected += "Name" + QByteArray::number(i) + '=' +
                    Cp932::fromUnicode(QStringLiteral("キーワード") + FullWidthNumber(i)) + "\r\n";
        if (i > 1)
            expected += "Mode" + QByteArray::number(i) + "=6\r\n";
    }
    EXPECT_EQ(ReadFileBytes(AdrsListIniPath()), expected);

    names[2] = QStringLiteral("  会員番号 ");
    r = StoreNamedItems(KeywordItemKind(), names, modes, AdrsListIniPath());
    EXPECT_TRUE(r.namesChanged);
    EXPECT_FALSE(r.modesChanged);
    EXPECT_EQ(KeywordNames[2], QStringLiteral("会員番号"));
    modes[7] = 7;
    r = StoreNamedItems(KeywordItemKind(), names, modes, AdrsListIniPath());
    EXPECT_FALSE(r.namesChanged);
    EXPECT_TRUE(r.modesChanged);

    ReadItemNameSettings(TMemIniFile(AdrsListIniPath()));
    EXPECT_EQ(KeywordNames[2], QStringLiteral("会員番号"));
    EXPECT_EQ(KeywordInputModes[7], 7);

    // An empty name stops everything; so does a file that cannot be written.
    const QStringList before = KeywordNames;
    names[5] = " ";
    r = StoreNamedItems(KeywordItemKind(), names, modes, AdrsListIniPath());
    EXPECT_EQ(r.emptyItem, 6);
    names[5] = "new";
    r = StoreNamedItems(KeywordItemKind(), names, modes, AdrsFolder + "missing/AdrsList.ini");
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_EQ(KeywordNames, before);
}

TEST_F(KeywdEdt, KeywordDialogShowsAndStoresTheChoices)
{
    WriteFileBytes(AdrsListIniPath(), "[KEYWORD]\r\nMode2=3\r\nMode3=8\r\n");
    ReadItemNameSettings(TMemIniFile(AdrsListIniPath()));
    MessageRecorder rec;
    rec.answer(MsgSeam::IdOk);
    TKeywordEdit dlg(nullptr);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("キーワード項目の設定"));
    auto* edit1 = dlg.findChild<QLineEdit*>("edtKeyword1");
    auto* combo2 = dlg.findChild<QComboBox*>("cbxKeyword2");
    auto* combo3 = dlg.findChild<QComboBox*>("cbxKeyword3");
    ASSERT_TRUE(edit1 && combo2 && combo3 && dlg.findChild<QLineEdit*>("edtKeyword8"));
    EXPECT_EQ(combo2->count(), 5);
    EXPECT_EQ(combo2->currentText(), QStringLiteral("全角ひらがな")); // stored 3 reads as 6
    EXPECT_EQ(combo3->currentText(), QStringLiteral("全角カタカナ"));
    EXPECT_EQ(ImeModeOf(edit1), 6);
    const int result =
        RunModal(dlg, {[&] {
                     QApplication::setActiveWindow(&dlg);
                     edit1->setFocus();
                     QTest::keyClick(edit1, Qt::Key_Return);
                     EXPECT_EQ(dlg.focusWidget(), dlg.findChild<QComboBox*>("cbxKeyword1"));
                     QTest::keyClick(dlg.focusWidget(), Qt::Key_Return);
                     EXPECT_EQ(dlg.focusWidget(), dlg.findChild<QLineEdit*>("edtKeyword2"));
                     QTest::keyClick(dlg.focusWidget(), Qt::Key_Tab); // Tab leaves the next name unselected
                     QTest::keyClick(dlg.focusWidget(), Qt::Key_Tab);
                     EXPECT_EQ(dlg.focusWidget(), dlg.findChild<QLineEdit*>("edtKeyword3"));
                     EXPECT_FALSE(dlg.findChild<QLineEdit*>("edtKeyword3")->hasSelectedText());

                     // Pasted 14 bytes: cut to 12, or to 11 when a double-byte character straddles the limit.
                     edit1->setFocus();
                     edit1->setText("abcdefghijklmn");
                     combo2->setFocus();
                     EXPECT_EQ(edit1->text(), "abcdefghijkl");
                     edit1->setFocus();
                     edit1->setText(QStringLiteral("abcdefghijkあ"));
                     combo2->setFocus();
                     EXPECT_EQ(edit1->text(), "abcdefghijk");

                     dlg.findChild<QLineEdit*>("edtKeyword4")->setText("");
                     dlg.btnOkClick();
                     EXPECT_EQ(rec.last().text, QStringLiteral("キーワード項目４が未入力です  "));
                     EXPECT_EQ(dlg.focusWidget(), dlg.findChild<QLineEdit*>("edtKeyword4"));
                     dlg.findChild<QLineEdit*>("edtKeyword4")->setText("Club");
                     combo2->setCurrentIndex(4);
                     dlg.findChild<QPushButton*>("btnOk")->click();
                 }});
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(dlg.NamesChanged);
    EXPECT_TRUE(dlg.ModesChanged);
    EXPECT_EQ(KeywordNames[0], "abcdefghijk");
    EXPECT_EQ(KeywordNames[3], "Club");
    EXPECT_EQ(KeywordInputModes[1], 1);
    const TMemIniFile ini(AdrsListIniPath());
    EXPECT_EQ(ini.ReadInteger("KEYWORD", "Mode2", 0), 1);
    EXPECT_EQ(ini.ReadString("KEYWORD", "Name4", ""), "Club");
}

TEST_F(KeywdEdt, ProtectMemoTwinReportsTheTenthItemInFullWidthDigits)
{
    MessageRecorder rec;
    rec.answer(MsgSeam::IdOk);
    TProtectMemoEdit dlg(nullptr);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("保護メモ項目の設定"));
    auto* edit10 = dlg.findChild<QLineEdit*>("edtProtectMemo10");
    ASSERT_TRUE(edit10 && dlg.findChild<QComboBox*>("cbxProtectMemo10"));
    const int result =
        RunModal(dlg, {[&] {
                     edit10->setText("   ");
                     dlg.btnOkClick();
                     EXPECT_EQ(rec.last().text, QStringLiteral("保護メモ項目１０が未入力です  "));
                     dlg.findChild<QPushButton*>("btnCancel")->click();
                 }});
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(ProtectMemoNames[9], QStringLiteral("保護メモ１０"));
    EXPECT_FALSE(QFile::exists(AdrsListIniPath()));
}

TEST_F(KeywdEdt, OkWithoutChangesReportsNothingButWrites)
{
    TProtectMemoEdit dlg(nullptr);
    EXPECT_EQ(RunModal(dlg, {[&] { dlg.findChild<QPushButton*>("btnOk")->click(); }}), QDialog::Accepted);
    EXPECT_FALSE(dlg.NamesChanged);
    EXPECT_FALSE(dlg.ModesChanged);
    const TMemIniFile ini(AdrsListIniPath());
    EXPECT_EQ(ini.ReadSection("PROTECT MEMO").size(), 20);
}

TEST_F(KeywdEdt, Screenshot)
{
    TProtectMemoEdit dlg(nullptr);
    dlg.show();
    EXPECT_TRUE(
        dlg.grab().save(QCoreApplication::applicationDirPath() + QStringLiteral("/ProtectMemoEdit.png")));
}

} // namespace
