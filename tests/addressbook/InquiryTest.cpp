// The address record: fixed tables, field cuts, reading a row, clearing, memo lines and date-times.
#include "addressbook/Inquiry.h"
#include "support/AnsiText.h"
#include "support/FakeAdrsRow.h"
#include "support/MessageRecorder.h"

#include <gtest/gtest.h>

namespace {

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

TEST(InquiryTables, SizesOrderAndSpotRows)
{
    ASSERT_EQ(AddressListColumnTable.size(), 52u);
    ASSERT_EQ(NarrowDownItemTable.size(), 35u);
    ASSERT_EQ(CopyItemTable.size(), 75u);
    for (int i = 0; i < 52; ++i)
        EXPECT_EQ(AddressListColumnTable[i].item, i);
    for (int i = 0; i < 35; ++i)
        EXPECT_EQ(NarrowDownItemTable[i].row, i);
    for (int i = 0; i < 75; ++i) {
        EXPECT_EQ(CopyItemTable[i].row, i);
        EXPECT_EQ(CopyItemTable[i].defaultFlag, 1);
    }

    const auto& no = AddressListColumnTable[0];
    EXPECT_STREQ(no.caption, "No.");
    EXPECT_EQ(no.alignment, TColumnAlign::Right);
    EXPECT_EQ(no.defaultWidth, 56);
    EXPECT_EQ(AddressListColumnTable[12].listPrintItem, 14); // list-print row 13 has no column
    const auto& symbol = AddressListColumnTable[43];
    EXPECT_STREQ(symbol.caption, "シンボル");
    EXPECT_EQ(symbol.alignment, TColumnAlign::Center);
    EXPECT_EQ(symbol.listPrintItem, 56);
    EXPECT_STREQ(AddressListColumnTable[33].caption, "連名マイナンバー5");
    EXPECT_EQ(AddressListColumnTable[51].defaultWidth, 210);
    EXPECT_EQ(AddressListColumnTable[51].listPrintItem, 64);
    QList<int> shown;
    for (const auto& c : AddressListColumnTable)
        if (c.shownByDefault)
            shown.append(c.item);
    EXPECT_EQ(shown, (QList<int>{0, 1, 3, 4, 10, 13, 14, 19}));

    EXPECT_STREQ(NarrowDownItemTable[8].caption, "住所");
    EXPECT_EQ(NarrowDownItemTable[8].maxLength, 256);
    EXPECT_EQ(NarrowDownItemTable[28].inputKind, 0);
    EXPECT_EQ(NarrowDownItemTable[29].inputKind, 1);
    EXPECT_STREQ(NarrowDownItemTable[33].caption, "シンボルマーク");
    EXPECT_EQ(NarrowDownItemTable[34].inputKind, 4);

    EXPECT_STREQ(CopyItemTable[6].caption, "初回掲載年月");
    EXPECT_STREQ(CopyItemTable[7].caption, "携帯番号１");
    EXPECT_STREQ(CopyItemTable[65].caption, "保護メモ１０");
    EXPECT_STREQ(CopyItemTable[74].caption, "小分類名");
}

TEST(InquiryTables, CaptionsTakeTheUsersNamesAndMarksAreCp932)
{
    const QStringList keywords{U("趣味"), "k2", "k3", "k4", "k5", "k6", "k7", U("最後")};
    QStringList memos;
    for (int i = 1; i <= 10; ++i)
        memos.append(QStringLiteral("m%1").arg(i));
    EXPECT_EQ(AddressListColumnCaption(34, keywords), U("趣味"));
    EXPECT_EQ(AddressListColumnCaption(42, keywords), U("備考"));
    EXPECT_EQ(NarrowDownItemCaption(31, keywords), U("最後"));
    EXPECT_EQ(NarrowDownItemCaption(32, keywords), U("備考"));
    EXPECT_EQ(CopyItemCaption(2, keywords, memos, U("法人番号")), U("法人番号"));
    EXPECT_EQ(CopyItemCaption(47, keywords, memos, {}), U("趣味"));
    EXPECT_EQ(CopyItemCaption(65, keywords, memos, {}), "m10");
    EXPECT_EQ(CopyItemCaption(66, keywords, memos, {}), U("保護フリーメモ"));

    EXPECT_EQ(NarrowDownChoiceList(9), (QStringList{U("個人"), U("会社")}));
    EXPECT_EQ(NarrowDownChoiceList(33).size(), 6);
    EXPECT_EQ(SymbolMarkBytes(0), QByteArray("\x81\x9C"));
    EXPECT_EQ(SymbolMarkBytes(5), A("★"));
    EXPECT_TRUE(SymbolMarkBytes(6).isEmpty());
}

TEST(AdrsDataRec, FieldCutsNeverSplitDoubleByteCharacters)
{
    struct Case
    {
        const char* name;
        QByteArray input;
        QByteArray expected;
    } cases[] = {
        {"fits", "0312345678", "0312345678"},
        {"ascii over width", "0123456789ABCDEF", "0123456789ABC"},
        {"lead byte at the last place", "012345678901" + A("亜"), "012345678901"},
        {"trail byte that looks like a lead", "0" + A("亜亜亜亜亜亜") + "X", "0" + A("亜亜亜亜亜亜")},
        {"trail byte that looks like ASCII", "0" + A("アアアアアア") + "A", "0" + A("アアアアアア")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TShortText<13> text(c.input);
        EXPECT_EQ(text.text(), c.expected);
        EXPECT_EQ(text.length(), c.expected.size());
    }

    TZeroText<1000> note;
    note.assign(QByteArray(999, 'x') + A("亜"));
    EXPECT_EQ(note.text(), QByteArray(999, 'x'));
    note.assign(QByteArray(1000, 'y') + "z");
    EXPECT_EQ(note.text(), QByteArray(1000, 'y'));
    note.assign(" a\r\nb ");
    EXPECT_EQ(note.text(), " a\r\nb ");
}

TEST(AdrsDataRec, ReadsARowWithTheDefinedConversions)
{
    FakeAdrsRow row;
    row.setValue("RecNo", 42).setValue("Group", 3).setValue("TelDiv", 3).setValue("PrivCorp", true);
    row.set("CustomCode", " C-001\t")
        .set("Tel", "0312345678 ")
        .set("Fax", "")
        .set("Portable1", "09012345678");
    row.set("Pos", "1000001")
        .set("Tdfkn", U(" 東京都"))
        .set("Adrs2", U("千代田区　")); // full-width blank stays
    row.set("CorpKanji", A("A") + QByteArray(A("亜")).repeated(59).constData());
    row.set("NameKanji", "@6771@5B50").set("MyNumber", "0C1F2E").set("JointMyNumber2", "99AA");
    row.set("Joint3", U("花子")).set("JointHonor5", U("様")).setValue("JointPrint4", true);
    row.set("Keyword8", U(" 八 ")).set("ProtectMemo10", "ABCDEF");
    row.set("ProtectNote", " keep \r\n").set("SymbolMark", " " + A("★"));
    row.set("Note", "").set("ExtLink", "http://a\r\nhttp://b\r\n");
    row.setValue("AddDateTime", QDateTime(QDate(2024, 1, 2), QTime(12, 0)));
    row.setValue("SymbolColor", 0x0000FF).setValue("CodeGenre", 7);

    TAdrsDataRec rec;
    ReadAdrsDataRec(row, rec, [](const AnsiString& digits) { return "03-1234-" + digits.right(4); });
    EXPECT_EQ(rec.RecNo, 42);
    EXPECT_EQ(rec.Group, 3);
    EXPECT_EQ(rec.TelDiv, 3);
    EXPECT_TRUE(rec.PrivCorp);
    EXPECT_EQ(rec.CustomCode.text(), "C-001");
    EXPECT_EQ(rec.Tel.text(), "03-1234-5678");
    EXPECT_TRUE(rec.Fax.isEmpty()); // empty numbers are not handed to the hyphenation
    EXPECT_EQ(rec.Portable1.text(), "03-1234-5678");
    EXPECT_EQ(rec.Tdfkn.wide(), U("東京都"));
    EXPECT_EQ(rec.Adrs2.wide(), U("千代田区　"));
    EXPECT_EQ(rec.CorpKanji.length(), 111); // 112 would split the 56th character
    EXPECT_EQ(rec.NameKanji.text(), "@6771@5B50");
    EXPECT_EQ(rec.MyNumber.text(), "0C1F2E");
    EXPECT_EQ(rec.JointMyNumber2.text(), "99AA");
    EXPECT_EQ(rec.Joint3.wide(), U("花子"));
    EXPECT_EQ((rec.*AdrsJointHonorFields[4]).wide(), U("様"));
    EXPECT_TRUE(rec.JointPrint4);
    EXPECT_FALSE(rec.JointPrint5);
    EXPECT_EQ(rec.Keyword8.wide(), U("八"));
    EXPECT_EQ(rec.ProtectMemo10.text(), "ABCDEF");
    EXPECT_EQ(rec.ProtectNote.text(), " keep \r\n");
    EXPECT_EQ(rec.SymbolMark.text(), " " + A("★"));
    EXPECT_FALSE(rec.Note.has_value());
    ASSERT_TRUE(rec.ExtLink.has_value());
    EXPECT_EQ(*rec.ExtLink, (QByteArrayList{"http://a", "http://b"}));
    EXPECT_DOUBLE_EQ(rec.AddDateTime, 45293.5);
    EXPECT_DOUBLE_EQ(rec.UpdDateTime, 0);
    EXPECT_EQ(rec.SymbolColor, 0xFF);
    EXPECT_EQ(rec.CodeGenre, 7);

    // Without the hyphenation library the digits stay as stored.
    TAdrsDataRec plain;
    ReadAdrsDataRec(row, plain, {});
    EXPECT_EQ(plain.Tel.text(), "0312345678");

    // Reading into a filled record leaves nothing of the earlier row.
    row.set("ExtLink", "").set("Keyword8", "");
    ReadAdrsDataRec(row, rec, {});
    EXPECT_FALSE(rec.ExtLink.has_value());
    EXPECT_TRUE(rec.Keyword8.isEmpty());
}

TEST(AdrsDataRec, ClearFreesListsAndCopiesAreIndependent)
{
    ClearAdrsDataRec(nullptr);

    TAdrsDataRec rec;
    rec.RecNo = 5;
    rec.CorpKanji = A("会社");
    rec.Note = QByteArrayList{"a"};
    rec.ExtLink = QByteArrayList{"x", "y"};
    TAdrsDataRec copy = rec;
    copy.ExtLink->append("z");
    EXPECT_EQ(rec.ExtLink->size(), 2);

    ClearAdrsDataRec(&rec);
    EXPECT_EQ(rec, TAdrsDataRec());
    EXPECT_FALSE(rec.Note.has_value());
    EXPECT_FALSE(rec.ExtLink.has_value());
    EXPECT_TRUE(rec.CorpKanji.isEmpty());
    EXPECT_EQ(copy.ExtLink->size(), 3);
}

TEST(AdrsDataRec, ReadAddressRecordByRecNo)
{
    FakeAdrsRow table;
    table.addRow(7, {{"RecNo", 7}, {"CustomCode", QByteArray("K7")}});

    TAdrsDataRec rec;
    rec.CustomCode = "before";
    {
        MessageRecorder messages;
        messages.answer(MsgSeam::IdOk);
        EXPECT_FALSE(ReadAddressRecord(table, 8, rec, nullptr, {}));
        ASSERT_EQ(messages.count(), 1);
        EXPECT_EQ(messages.last().text, U("アドレス帳が読み出せませんでした  "));
        EXPECT_EQ(messages.last().caption, "Tovarel");
        EXPECT_EQ(messages.last().flags, unsigned(MsgSeam::MbIconStop));
    }
    EXPECT_EQ(rec.CustomCode.text(), "before");

    MessageRecorder none;
    EXPECT_TRUE(ReadAddressRecord(table, 7, rec, nullptr, {}));
    EXPECT_EQ(rec.RecNo, 7);
    EXPECT_EQ(rec.CustomCode.text(), "K7");
    EXPECT_EQ(none.count(), 0);
}

TEST(AdrsDataRec, MemoLinesAndTrim)
{
    struct Case
    {
        QByteArray text;
        QByteArrayList lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\n\nb\r", {"a", "", "b"}},
        {"a\r\r\n", {"a", ""}},
        {"\x83\x41\r\n\x88\x9F", {"\x83\x41", "\x88\x9F"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toHex().constData());
        EXPECT_EQ(TextToLines(c.text), c.lines);
    }
    EXPECT_EQ(LinesToText({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_FALSE(MemoToList("").has_value());
    EXPECT_EQ(TrimAnsiText(QByteArray("\x01 \t\x83\x41 \x1F", 7)), "\x83\x41");
}

TEST(AdrsDataRec, DateTimesAsDaySerials)
{
    struct Case
    {
        QDateTime dateTime;
        double serial;
    } cases[] = {
        {QDateTime(QDate(1899, 12, 30), QTime(0, 0)), 0.0},
        {QDateTime(QDate(2024, 1, 2), QTime(18, 0)), 45293.75},
        {QDateTime(QDate(1899, 12, 29), QTime(6, 0)), -1.25},
        {QDateTime(QDate(2000, 2, 29), QTime(23, 59, 59, 999)), 36585 + 86399999.0 / 86400000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dateTime.toString(Qt::ISODateWithMs).toStdString());
        EXPECT_DOUBLE_EQ(ToTDateTime(c.dateTime), c.serial);
        EXPECT_EQ(FromTDateTime(c.serial), c.dateTime);
    }
    EXPECT_EQ(ToTDateTime(QDateTime()), 0.0);
}

} // namespace
