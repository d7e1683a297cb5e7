// Tests of the record card's logic: transfers, change test, input check, writer, histories, unsaved input.
#include "addressbook/DtInqiryLogic.h"

#include "support/CardFixtures.h"
#include "support/MessageRecorder.h"
#include "core/AppSub.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void SetText(char* field, size_t size, const QString& text)
{
    const AnsiString bytes = ToAnsi(text);
    std::memcpy(field, bytes.constData(), std::min(size, size_t(bytes.size())));
}

TDirDetailRec Detail()
{
    TDirDetailRec d;
    std::memset(&d, 0, sizeof d);
    return d;
}

void SetInt(TDirDetailRec& d, size_t offset, qint32 value)
{
    std::memcpy(reinterpret_cast<char*>(&d) + offset, &value, sizeof value);
}

// A full record as the card would show it.
TCardValues FullValues()
{
    TCardValues v;
    v.Group = 3;
    v.CustomCode = QStringLiteral("K-001");
    v.Tel = QStringLiteral("03-1234-5678");
    v.MainNumber = true;
    v.Fax = QStringLiteral("03-1234-5679");
    v.Pos = QStringLiteral("100-0001");
    v.Tdfkn = QStringLiteral("東京都");
    v.Adrs1 = QStringLiteral("千代田区");
    v.Adrs2 = QStringLiteral("千代田１－１");
    v.Priv = false;
    v.MyNumber = QStringLiteral("1234567890123");
    v.CorpKanji = QStringLiteral("株式会社テスト");
    v.NameKanji = QStringLiteral("髙橋 一郎");
    v.NameKana = QStringLiteral("ﾀｶﾊｼ ｲﾁﾛｳ");
    v.Honor = QStringLiteral("様");
    v.CodeMain = 4;
    v.CodeSub = 2;
    v.Joint[0] = QStringLiteral("花子");
    v.JointHonor[0] = QStringLiteral("様");
    v.JointMyNumber[1] = QStringLiteral("123456789012");
    v.JointOwner = 1;
    v.JointPrint[0] = true;
    v.PrintException = true;
    v.Sender = 4;
    v.Keyword[7] = QStringLiteral("年賀");
    v.Note = QStringLiteral("一行目\n二行目\n");
    v.ProtectMemo[9] = QStringLiteral("秘密");
    v.ProtectNote = QStringLiteral("保護\nメモ");
    v.ExtLink = {QStringLiteral("https://Example.jp/"), QStringLiteral("/home/a.txt")};
    v.SymbolIndex = 6;
    v.SymbolColor = 0x123456;
    return v;
}

} // namespace

TEST(DtInqiryLogic, DirectoryEntryPutOnTheCard)
{
    TDirDetailRec d = Detail();
    SetText(d.Tel, sizeof d.Tel, QStringLiteral("0312345678"));
    SetInt(d, offsetof(TDirDetailRec, PhoneKind), 2);
    SetText(d.PostalCode, sizeof d.PostalCode, QStringLiteral("10000"));
    SetText(d.Name, sizeof d.Name, QStringLiteral("（株）山田商店"));
    SetText(d.NameKana, sizeof d.NameKana, QStringLiteral("ﾔﾏﾀﾞｼｮｳﾃﾝ"));
    SetText(d.Tdfkn, sizeof d.Tdfkn, QStringLiteral("東京都"));
    SetText(d.City, sizeof d.City, QStringLiteral("港区"));
    SetText(d.Address3, sizeof d.Address3, QStringLiteral("芝"));
    SetText(d.Address4, sizeof d.Address4, QStringLiteral("１丁目"));
    SetText(d.Address5, sizeof d.Address5, QStringLiteral("２－３ "));
    SetText(d.TdfknKana, sizeof d.TdfknKana, QStringLiteral("ﾄｳｷｮｳﾄ"));
    SetText(d.CityKana, sizeof d.CityKana, QStringLiteral("ﾐﾅﾄｸ"));
    SetText(d.AreaCode, sizeof d.AreaCode, QStringLiteral("13103012345"));
    SetText(d.FirstListing, sizeof d.FirstListing, QStringLiteral("201504"));
    SetInt(d, offsetof(TDirDetailRec, Latitude), 9000000);
    SetInt(d, offsetof(TDirDetailRec, Longitude), -1); // taken unsigned
    SetText(d.Category, sizeof d.Category, QStringLiteral("0412"));

    const TCardValues v = DirectoryToValues(d, TCardValues());
    EXPECT_EQ(v.Tel, QStringLiteral("0312345678"));
    EXPECT_EQ(v.Fax, QStringLiteral("0312345678")); // shared phone and fax
    EXPECT_FALSE(v.MainNumber);
    EXPECT_EQ(v.PubDate, QStringLiteral(" 2015年04月"));
    EXPECT_EQ(v.Pos, QStringLiteral("100-00"));
    EXPECT_EQ(v.Adrs2, QStringLiteral("芝１丁目２－３"));
    EXPECT_TRUE(v.Adrs3.isEmpty());
    EXPECT_EQ(v.AdrsKana, QStringLiteral("ﾄｳｷｮｳﾄﾐﾅﾄｸ"));
    EXPECT_EQ(v.JisCode, QStringLiteral("13103"));
    EXPECT_EQ(v.KajoCode, QStringLiteral("012345"));
    EXPECT_EQ(v.Latitude, 35156250);
    EXPECT_EQ(v.Longitude, qint32(RoundHalfAway(4294967295.0 * 1000 / 256)));
    EXPECT_FALSE(v.Priv);
    EXPECT_EQ(v.CorpKanji, QStringLiteral("株式会社山田商店"));
    EXPECT_EQ(v.CorpKana, QStringLiteral("ﾔﾏﾀﾞｼｮｳﾃﾝ"));
    EXPECT_EQ(v.CodeMain, 4);
    EXPECT_EQ(v.CodeSub, 12);
    EXPECT_TRUE(v.NameKanji.isEmpty());

    // A person: the name goes to the name edits and the category is not taken.
    SetInt(d, offsetof(TDirDetailRec, PersonFlag), 99);
    SetInt(d, offsetof(TDirDetailRec, PhoneKind), 1);
    const TCardValues p = DirectoryToValues(d, TCardValues());
    EXPECT_TRUE(p.Priv);
    EXPECT_TRUE(p.Tel.isEmpty()) << "a fax-only number is not the telephone";
    EXPECT_EQ(p.NameKanji, QStringLiteral("（株）山田商店"));
    EXPECT_EQ(p.CodeMain, 0);
    EXPECT_TRUE(p.CorpKanji.isEmpty());
}

TEST(DtInqiryLogic, SnapshotOfTheCardIsUnchangedAndEachItemCounts)
{
    const TCardValues v = FullValues();
    const TAdrsDataRec rec = ValuesToRecord(v);
    EXPECT_FALSE(IsModified(v, rec));
    EXPECT_EQ(DecryptFieldText(rec.MyNumber.text(), FieldCipherKey), "1234567890123");
    EXPECT_EQ(rec.Pos.text(), "1000001");
    // The record shown again gives the same values.
    const TCardValues back = RecordToValues(rec);
    EXPECT_FALSE(IsModified(back, rec));
    EXPECT_EQ(back.NameKanji, v.NameKanji);
    EXPECT_EQ(back.ProtectMemo[9], v.ProtectMemo[9]);
    EXPECT_EQ(back.Note, v.Note);

    struct Case
    {
        const char* what;
        std::function<void(TCardValues&)> change;
        bool modified;
    };
    const Case cases[] = {
        {"blanks round a text", [](TCardValues& c) { c.Adrs1 = QStringLiteral("  千代田区 "); }, false},
        {"hyphens of a number", [](TCardValues& c) { c.Tel = QStringLiteral("0312345678"); }, false},
        {"telephone digits", [](TCardValues& c) { c.Tel = QStringLiteral("03-1234-5670"); }, true},
        {"main number", [](TCardValues& c) { c.MainNumber = false; }, true},
        {"full-width blank is text", [](TCardValues& c) { c.Adrs1 += QStringLiteral("　"); }, true},
        {"my number", [](TCardValues& c) { c.MyNumber.chop(1); }, true},
        {"protected memo", [](TCardValues& c) { c.ProtectMemo[9] = QStringLiteral("秘密2"); }, true},
        {"protected note", [](TCardValues& c) { c.ProtectNote += QStringLiteral("!"); }, true},
        {"minor category", [](TCardValues& c) { c.CodeSub = 3; }, true},
        {"note without its last line break", [](TCardValues& c) { c.Note.chop(1); }, false},
        {"note with a blank line more", [](TCardValues& c) { c.Note += QStringLiteral("\n"); }, true},
        {"note text", [](TCardValues& c) { c.Note += QStringLiteral("x"); }, true},
        {"link letter case", [](TCardValues& c) { c.ExtLink[0] = QStringLiteral("https://example.JP/"); },
         false},
        {"link count", [](TCardValues& c) { c.ExtLink.removeLast(); }, true},
        {"print target", [](TCardValues& c) { c.PrintException = false; }, true},
        {"symbol", [](TCardValues& c) { c.SymbolIndex = 0; }, true},
        {"symbol colour", [](TCardValues& c) { c.SymbolColor = 0; }, true},
        {"joint owner", [](TCardValues& c) { c.JointOwner = 0; }, true},
        {"sender", [](TCardValues& c) { c.Sender = 0; }, true},
        {"dates are not compared",
         [](TCardValues& c) { c.AddDateTime = QStringLiteral(" 2020/01/01 00:00:00"); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TCardValues changed = v;
        c.change(changed);
        EXPECT_EQ(IsModified(changed, rec), c.modified);
    }

    // The empty card against its blank template.
    TCardValues empty;
    EXPECT_FALSE(IsModified(empty, BlankTemplate(true)));
    empty.Priv = false;
    EXPECT_FALSE(IsModified(empty, BlankTemplate(false)));
    EXPECT_TRUE(IsModified(empty, BlankTemplate(true)));
}

TEST(DtInqiryLogic, ValidationTable)
{
    TAdrsDataRec loaded;
    loaded.CustomCode = AnsiString("abc");
    const QList<AnsiString> used{"ABC", "X-1"};
    struct Case
    {
        const char* what;
        std::function<void(TCardValues&)> set;
        bool isNew;
        TCardField field; // None: passes
        const char* message;
    };
    const Case cases[] = {
        {"empty card", [](TCardValues&) {}, true, TCardField::None, ""},
        {"code with blank, hyphen, slash", [](TCardValues& v) { v.CustomCode = QStringLiteral(" A 1-2/b "); },
         true, TCardField::None, ""},
        {"code with underscore", [](TCardValues& v) { v.CustomCode = QStringLiteral("A_1"); }, true,
         TCardField::CustomCode, "顧客コードは、以下の半角文字で入力してください"},
        {"code with full-width letter", [](TCardValues& v) { v.CustomCode = QStringLiteral("Ａ1"); }, true,
         TCardField::CustomCode, "顧客コードは、以下の半角文字で入力してください"},
        {"code in use", [](TCardValues& v) { v.CustomCode = QStringLiteral("X-1"); }, true,
         TCardField::CustomCode, "入力した顧客コードは既に使われています"},
        {"loaded code kept", [](TCardValues& v) { v.CustomCode = QStringLiteral("abc"); }, false,
         TCardField::None, ""},
        {"loaded code in other case held by another row",
         [](TCardValues& v) { v.CustomCode = QStringLiteral("ABC"); }, false, TCardField::CustomCode,
         "入力した顧客コードは既に使われています"},
        {"loaded code registered as new", [](TCardValues& v) { v.CustomCode = QStringLiteral("ABC"); }, true,
         TCardField::CustomCode, "入力した顧客コードは既に使われています"},
        {"telephone with blanks around", [](TCardValues& v) { v.Tel = QStringLiteral(" 03-1234-5678 "); },
         true, TCardField::None, ""},
        {"telephone with blank inside", [](TCardValues& v) { v.Tel = QStringLiteral("03 1234"); }, true,
         TCardField::Tel, "電話番号は半角数字かハイフンのみが有効です"},
        {"telephone full-width", [](TCardValues& v) { v.Tel = QStringLiteral("０３"); }, true,
         TCardField::Tel, "電話番号は半角数字かハイフンのみが有効です"},
        {"fax", [](TCardValues& v) { v.Fax = QStringLiteral("03(1234)"); }, true, TCardField::Fax,
         "FAX番号は半角数字かハイフンのみが有効です"},
        {"mobile 1", [](TCardValues& v) { v.Portable1 = QStringLiteral("090.1"); }, true,
         TCardField::Portable1, "携帯番号は半角数字かハイフンのみが有効です"},
        {"mobile 2", [](TCardValues& v) { v.Portable2 = QStringLiteral("a"); }, true, TCardField::Portable2,
         "携帯番号は半角数字かハイフンのみが有効です"},
        {"postal 3", [](TCardValues& v) { v.Pos = QStringLiteral("100"); }, true, TCardField::None, ""},
        {"postal 5 with hyphen", [](TCardValues& v) { v.Pos = QStringLiteral("100-01"); }, true,
         TCardField::None, ""},
        {"postal 7", [](TCardValues& v) { v.Pos = QStringLiteral("1000001"); }, true, TCardField::None, ""},
        {"postal 4", [](TCardValues& v) { v.Pos = QStringLiteral("100-0"); }, true, TCardField::Pos,
         "正しい桁数の郵便番号を入力してください"},
        {"postal 6", [](TCardValues& v) { v.Pos = QStringLiteral("100000"); }, true, TCardField::Pos,
         "正しい桁数の郵便番号を入力してください"},
        {"postal letters", [](TCardValues& v) { v.Pos = QStringLiteral("〒1000001"); }, true, TCardField::Pos,
         "正しい郵便番号を入力してください"},
        {"11 digits with hyphens", [](TCardValues& v) { v.Portable1 = QStringLiteral(" 090-1234-5678 "); },
         true, TCardField::None, ""},
        {"telephone of 12 digits", [](TCardValues& v) { v.Tel = QStringLiteral("031234567890"); }, true,
         TCardField::Tel, "電話番号は11桁以内で入力してください"},
        {"fax of 13 digits", [](TCardValues& v) { v.Fax = QStringLiteral("0312345678901"); }, true,
         TCardField::Fax, "FAX番号は11桁以内で入力してください"},
        {"mobile 2 of 12 digits", [](TCardValues& v) { v.Portable2 = QStringLiteral("090-1234-567890"); },
         true, TCardField::Portable2, "携帯番号２は11桁以内で入力してください"},
        {"reading of 25 bytes", [](TCardValues& v) { v.NameKana = QString(25, QChar(0xFF71)); }, true,
         TCardField::None, ""},
        {"reading of 13 full-width characters",
         [](TCardValues& v) { v.NameKana = QString(13, QChar(0x30A2)); }, true, TCardField::NameKana,
         "フリガナは半角25文字（全角12文字）以内で入力してください"},
        {"company reading of 81 bytes",
         [](TCardValues& v) { v.CorpKana = QString(40, QChar(0x30A2)) + QLatin1Char('A'); }, true,
         TCardField::CorpKana, "会社名カナは"},
        {"address reading of 101 bytes", [](TCardValues& v) { v.AdrsKana = QString(101, QChar(0xFF71)); },
         true, TCardField::AdrsKana, "住所カナは"},
        {"first failure wins",
         [](TCardValues& v) {
             v.Tel = QStringLiteral("x");
             v.Pos = QStringLiteral("1");
         },
         true, TCardField::Tel, "電話番号は半角数字かハイフンのみが有効です"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TCardValues v;
        c.set(v);
        QList<AnsiString> looked;
        const auto inUse = [&](const AnsiString& code) {
            looked.append(code);
            return used.contains(code);
        };
        const TValidationResult r = ValidateValues(v, c.isNew, c.isNew ? nullptr : &loaded, inUse);
        EXPECT_EQ(r.ok, c.field == TCardField::None);
        EXPECT_EQ(r.field, c.field);
        if (*c.message)
            EXPECT_TRUE(r.message.startsWith(QString::fromUtf8(c.message))) << r.message.toStdString();
        else
            EXPECT_TRUE(r.message.isEmpty());
        if (QString::fromUtf8(c.what) == QStringLiteral("loaded code kept")) {
            EXPECT_TRUE(looked.isEmpty()) << "an unchanged code is not looked up";
        }
    }
}

TEST(DtInqiryLogic, UnsavedInputPolicyPerSetting)
{
    struct Case
    {
        const char* what;
        bool skip, onClose, changeData, formClose, confirmation, unsaved;
        int answer; // 0: no question expected
        bool valid;
        int write; // -1: no write expected
        int expected;
        bool failureReported;
        int discard = 0; // the answer to the question after a failed save; 0: not asked
    };
    const Case cases[] = {
        {"skip flag", true, false, true, true, true, true, 0, true, -1, 1, false},
        {"ChangeData off", false, false, false, true, true, true, 0, true, -1, 1, false},
        {"FormClose off on close", false, true, true, false, true, true, 0, true, -1, 1, false},
        {"FormClose off, not closing", false, false, true, false, true, true, MsgSeam::IdNo, true, -1, 1,
         false},
        {"nothing changed", false, false, true, true, true, false, 0, true, -1, 1, false},
        {"cancel", false, false, true, true, true, true, MsgSeam::IdCancel, true, -1, 9, false},
        {"no", false, false, true, true, true, true, MsgSeam::IdNo, true, -1, 1, false},
        {"yes, check fails", false, false, true, true, true, true, MsgSeam::IdYes, false, -1, 9, false},
        {"yes, written", false, false, true, true, true, true, MsgSeam::IdYes, true, wrWritten, 0, false},
        {"yes, declined", false, false, true, true, true, true, MsgSeam::IdYes, true, wrDeclined, 0, false},
        {"yes, save failed, input kept", false, false, true, true, true, true, MsgSeam::IdYes, true, wrFailed,
         9, true, MsgSeam::IdNo},
        {"yes, save failed, input discarded", false, false, true, true, true, true, MsgSeam::IdYes, true,
         wrFailed, 1, true, MsgSeam::IdYes},
        {"no confirmation saves at once", false, false, true, true, false, true, 0, true, wrWritten, 0,
         false},
        // Without the question the save is tried on every close; a failure must still let the card go.
        {"no confirmation, save failed, discarded", false, true, true, true, false, true, 0, true, wrFailed,
         1, true, MsgSeam::IdYes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        quint8 skip = c.skip ? 1 : 0;
        bool asked = false, wrote = false, after = false, reported = false;
        TConfirmRequest r;
        r.onClose = c.onClose;
        r.changeData = c.changeData;
        r.formClose = c.formClose;
        r.confirmation = c.confirmation;
        r.hasUnsavedInput = [&] { return c.unsaved; };
        r.ask = [&](const QString& text) {
            asked = true;
            EXPECT_TRUE(text.startsWith(QStringLiteral("入力途中のデータがあります  \r\n\r\n")));
            return c.answer;
        };
        r.validate = [&] { return c.valid; };
        r.write = [&] {
            wrote = true;
            return c.write;
        };
        r.afterWritten = [&] { after = true; };
        r.reportFailure = [&] { reported = true; };
        bool discardAsked = false;
        r.askDiscard = [&] {
            discardAsked = true;
            return c.discard == MsgSeam::IdYes;
        };
        EXPECT_EQ(ConfirmPendingChangesPolicy(r, skip), c.expected);
        EXPECT_EQ(discardAsked, c.discard != 0);
        EXPECT_EQ(skip, 0);
        EXPECT_EQ(asked, c.answer != 0);
        EXPECT_EQ(wrote, c.write != -1);
        EXPECT_EQ(after, c.write == wrWritten);
        EXPECT_EQ(reported, c.failureReported);
    }
    EXPECT_TRUE(
        PendingChangesQuestion(true).startsWith(QStringLiteral("照会中のデータが変更されています  ")));
    EXPECT_TRUE(PendingChangesQuestion(true).endsWith(QStringLiteral("を押してください  ")));
}

class CardWriterTest : public ::testing::Test
{
protected:
    FakeCardData data;
    MessageRecorder messages;
    const QDateTime now{QDate(2026, 3, 4), QTime(5, 6, 7, 890)};
};

TEST_F(CardWriterTest, NewRowEnciphersProtectedFieldsAndKeepsWholeSeconds)
{
    TCardRecordWriter writer(*data.table, nullptr);
    qint32 recNo = -1;
    data.addRow({{"Tel", QByteArray("0999")}}); // RecNo 1
    TCardValues v = FullValues();
    v.Tel = QStringLiteral(" 03-1234-5678 ");
    ASSERT_EQ(writer.WriteRecord(v, false, nullptr, &recNo, now), wrWritten)
        << writer.LastError().toStdString();
    EXPECT_EQ(recNo, 2);

    Table& t = *data.table;
    t.setIndexName(QString());
    ASSERT_TRUE(t.findKey({recNo}));
    const auto bytes = [&t](const char* name) { return t.fieldByName(QLatin1String(name)).asAnsi(); };
    EXPECT_EQ(bytes("Tel"), "0312345678");
    EXPECT_EQ(bytes("Pos"), "1000001");
    EXPECT_EQ(t.fieldByName(QStringLiteral("TelDiv")).asInteger(), 3);
    EXPECT_EQ(t.fieldByName(QStringLiteral("AddDateTime")).asDateTime(),
              QDateTime(now.date(), QTime(5, 6, 7)));
    EXPECT_EQ(t.fieldByName(QStringLiteral("UpdDateTime")).asDateTime(), now);
    EXPECT_EQ(t.fieldByName(QStringLiteral("CodeGenre")).asInteger(), 0);
    EXPECT_EQ(t.fieldByName(QStringLiteral("CodeSub")).asInteger(), 2);
    EXPECT_EQ(t.fieldByName(QStringLiteral("PrintTarget")).asInteger(), 2);
    // Protected fields leave the card enciphered; the free protected note stays plain.
    for (const char* name : {"MyNumber", "JointMyNumber2", "ProtectMemo10"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(bytes(name).isEmpty());
        EXPECT_EQ(bytes(name), BytesToHex(HexToBytes(bytes(name)))) << "upper-case hexadecimal";
    }
    EXPECT_EQ(DecryptFieldText(bytes("MyNumber"), FieldCipherKey), "1234567890123");
    EXPECT_EQ(DecryptFieldText(bytes("ProtectMemo10"), FieldCipherKey), ToAnsi(QStringLiteral("秘密")));
    EXPECT_EQ(bytes("ProtectNote"), ToAnsi(QStringLiteral("保護\r\nメモ")));
    EXPECT_EQ(bytes("NameKanji"), WideToHexText(QStringLiteral("髙橋 一郎")));
    EXPECT_EQ(bytes("Note"), ToAnsi(QStringLiteral("一行目\r\n二行目\r\n")));
    EXPECT_EQ(bytes("ExtLink"), "https://Example.jp/\r\n/home/a.txt\r\n");

    // The row read back equals what the card held.
    TAdrsDataRec rec;
    ASSERT_TRUE(data.readRow(recNo, rec));
    EXPECT_FALSE(IsModified(v, rec));

    // An update keeps AddDateTime and CodeGenre, and rewrites UpdDateTime.
    rec.CodeGenre = 7;
    v.Adrs3 = QStringLiteral("ビル");
    const QDateTime later = now.addSecs(3600);
    ASSERT_EQ(writer.WriteRecord(v, true, &rec, nullptr, later), wrWritten);
    ASSERT_TRUE(t.findKey({recNo}));
    EXPECT_EQ(t.fieldByName(QStringLiteral("AddDateTime")).asDateTime(),
              QDateTime(now.date(), QTime(5, 6, 7)));
    EXPECT_EQ(t.fieldByName(QStringLiteral("UpdDateTime")).asDateTime(), later);
    EXPECT_EQ(t.fieldByName(QStringLiteral("CodeGenre")).asInteger(), 7);
    EXPECT_EQ(bytes("Adrs3"), ToAnsi(QStringLiteral("ビル")));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(CardWriterTest, DuplicateNumberAskedOnceForTheFirstRegistered)
{
    data.addRow({{"Tel", QByteArray("0311112222")}, {"Fax", QByteArray("0333334444")}});
    TCardRecordWriter writer(*data.table, nullptr);
    QStringList asked;
    bool answer = false;
    writer.ConfirmDuplicate = [&](const QString& label) {
        asked.append(label);
        return answer;
    };
    TCardValues v;
    v.Tel = QStringLiteral("03-1111-2222");
    v.Fax = QStringLiteral("03-3333-4444");
    EXPECT_EQ(writer.WriteRecord(v, false, nullptr, nullptr, now), wrDeclined);
    EXPECT_EQ(asked, QStringList{QStringLiteral("電話番号")});
    EXPECT_EQ(data.table->recordCount(), 1);

    asked.clear();
    answer = true;
    EXPECT_EQ(writer.WriteRecord(v, false, nullptr, nullptr, now), wrWritten);
    EXPECT_EQ(asked, QStringList{QStringLiteral("電話番号")}) << "Yes registers at once";

    // Only the fax registered: its label; with the check off no question at all.
    asked.clear();
    v.Tel.clear();
    v.Portable2 = QStringLiteral("090-0000-0000");
    EXPECT_EQ(writer.WriteRecord(v, false, nullptr, nullptr, now), wrWritten);
    EXPECT_EQ(asked, QStringList{QStringLiteral("FAX番号")});
    asked.clear();
    writer.CheckSameNumbers = false;
    EXPECT_EQ(writer.WriteRecord(v, false, nullptr, nullptr, now), wrWritten);
    EXPECT_TRUE(asked.isEmpty());

    // Through the message box when no callback is set.
    writer.CheckSameNumbers = true;
    writer.ConfirmDuplicate = nullptr;
    messages.answer(MsgSeam::IdNo);
    EXPECT_EQ(writer.WriteRecord(v, false, nullptr, nullptr, now), wrDeclined);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("既に同一のFAX番号のデータが登録されています  \r\n登録しますか？  "));
    EXPECT_EQ(messages.last().flags, 0x24u);
}

TEST_F(CardWriterTest, RecordLimitCountsEveryRowOfTheBook)
{
    Table& t = *data.table;
    t.startTransaction();
    for (int i = 0; i < AdrsRecordLimit - 1; ++i) {
        t.append();
        t.post();
    }
    t.commit();
    // A range on the shared table object does not hide rows from the count.
    t.setRange({1}, {10});
    TCardRecordWriter writer(t, nullptr);
    qint32 recNo = 0;
    EXPECT_EQ(writer.WriteRecord(TCardValues(), false, nullptr, &recNo, now), wrWritten);
    EXPECT_EQ(recNo, AdrsRecordLimit);
    messages.answer(MsgSeam::IdOk);
    EXPECT_EQ(writer.WriteRecord(TCardValues(), false, nullptr, &recNo, now), wrDeclined);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("最大登録件数10万件に達しました  \r\nこれ以上登録できません  "));
    EXPECT_EQ(messages.last().flags, 0x40u);
    t.cancelRange();
    EXPECT_EQ(t.recordCount(), AdrsRecordLimit);
}

TEST_F(CardWriterTest, FailedWriteAndMissingRow)
{
    TCardRecordWriter writer(*data.table, nullptr);
    TAdrsDataRec gone;
    gone.RecNo = 42;
    messages.answer(MsgSeam::IdOk);
    EXPECT_EQ(writer.WriteRecord(TCardValues(), true, &gone, nullptr, now), wrDeclined);
    EXPECT_EQ(messages.last().text, QStringLiteral("変更データを参照できませんでした  "));
    EXPECT_EQ(messages.last().flags, 0x10u);

    data.table->close();
    qint32 recNo = -5;
    EXPECT_EQ(writer.WriteRecord(TCardValues(), false, nullptr, &recNo, now), wrFailed);
    EXPECT_EQ(recNo, -5) << "no RecNo for a row that was not written";
    EXPECT_FALSE(writer.LastError().isEmpty());
    EXPECT_EQ(messages.count(), 1) << "the caller reports the failure";
}

TEST_F(CardWriterTest, HistoriesTakeTheTypedTextsFirst)
{
    THistoryData& honor = *data.histories[ilHonor];
    honor.Add(ToAnsi(QStringLiteral("殿")), 1);
    honor.Add(ToAnsi(QStringLiteral("様")), 2);
    honor.Save();
    THistoryData& post = *data.histories[ilPost];
    post.Add(ToAnsi(QStringLiteral("部長")), 1);
    post.Save();
    const QDateTime postSaved = QFileInfo(data.path(QStringLiteral("Post.mtd"))).lastModified();

    TCardValues v;
    v.Honor = QStringLiteral("様");
    v.JointHonor[1] = QStringLiteral("様");
    v.Post = QStringLiteral("部長"); // already first: the file stays as it is
    v.Keyword[6] = QStringLiteral("取引先");
    const unsigned changed =
        UpdateInputHistories(v, [this](TInputListKind k) { return data.histories[size_t(k)].get(); });
    EXPECT_EQ(changed, (1u << ilHonor) | (1u << ilKeyword2));
    ASSERT_EQ(honor.Count(), 2);
    EXPECT_EQ(honor.GetText(0), ToAnsi(QStringLiteral("様")));
    EXPECT_EQ(honor.GetText(1), ToAnsi(QStringLiteral("殿")));
    EXPECT_EQ(data.histories[ilKeyword2]->GetText(0), ToAnsi(QStringLiteral("取引先")));
    EXPECT_EQ(QFileInfo(data.path(QStringLiteral("Post.mtd"))).lastModified(), postSaved);
    THistoryData reread(data.path(QStringLiteral("Honor.mtd")), false, 10);
    reread.Load();
    EXPECT_EQ(reread.GetText(0), ToAnsi(QStringLiteral("様")));
}
