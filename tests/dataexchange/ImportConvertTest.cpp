// Converting import item texts into record values, for new records and for updates.
#include "dataexchange/ImportConvert.h"

#include <gtest/gtest.h>

namespace {

AnsiString A(const char* utf8) { return ToAnsi(QString::fromUtf8(utf8)); }

const QDate Today(2024, 5, 1);
const QDateTime Now(Today, QTime(10, 20, 30, 456));

TImportLookups Lookups()
{
    TImportLookups l;
    l.groupNames = {"", "友人", "仕事"};
    l.senders = {{A("本社"), 7}};
    l.isMajorCode = [](int code) { return code == 3; };
    l.isMinorCode = [](int major, int code) { return major == 3 && code == 305; };
    l.today = Today;
    l.now = Now;
    return l;
}

struct Line
{
    TImportTexts texts;
    TImportMapping mapping;
    Line& set(int item, const AnsiString& text)
    {
        texts[std::size_t(item - 1)] = text;
        mapping.AddConstant(item, "x"); // marks the item as set
        return *this;
    }
};

} // namespace

TEST(ImportConvertTest, PhoneRenumberingAndPrefix)
{
    struct Case
    {
        const char* in;
        const char* out;
    };
    for (const Case& c : {Case{"0101234567", "09011234567"}, Case{"02012345678", "02012345678"},
                          Case{"0201234567", "09021234567"}, Case{"0501234567", "07051234567"},
                          Case{"061234567", "0661234567"}, Case{"06123456", "066123456"},
                          Case{"0612345678", "0612345678"}, Case{"072012345", "072812345"},
                          Case{"0720", "0720"}, Case{"(03) 1234-5678", "0312345678"}, Case{"", ""},
                          Case{"0201234567890123", "02012345678"}})
        EXPECT_EQ(ImportPhone(c.in, Today), c.out) << c.in;
    EXPECT_EQ(ImportPhone("072012345", QDate(1999, 12, 31)), "072012345");
}

TEST(ImportConvertTest, CoordinatesSymbolsAndLines)
{
    EXPECT_EQ(ImportCoordinate("2147483647"), 2147483647);
    EXPECT_EQ(ImportCoordinate("2147483648"), 0);
    EXPECT_EQ(ImportCoordinate(" -5 "), -5);
    EXPECT_EQ(ImportCoordinate("12345678901"), 0);
    EXPECT_EQ(ImportCoordinate(""), 0);
    EXPECT_THROW(ImportCoordinate("12a"), EConvertError);

    EXPECT_EQ(ImportSymbolColor("0000FF"), 255);
    EXPECT_EQ(ImportSymbolColor(""), 8380223);
    EXPECT_EQ(ImportSymbolColor("GG"), 8380223);
    EXPECT_EQ(ImportSymbolColor("FFFFFFFF"), -1);
    EXPECT_EQ(ImportSymbolMark(A(" ★ ")), A("★"));
    EXPECT_EQ(ImportSymbolMark(A("☆")), "");

    EXPECT_EQ(ImportLines("a\t\tb"), QByteArrayList({"a", "", "b"}));
    EXPECT_EQ(ImportLines("a\t"), QByteArrayList({"a"}));
    EXPECT_EQ(ImportLines("  "), std::nullopt);
    EXPECT_EQ(ImportProtectNote(" a\tb "), "a\r\nb");
}

TEST(ImportConvertTest, AddressSplitsAtCharacterBoundaries)
{
    const AnsiString rest40 = A("千代田区丸の内一丁目二番三号ビル") + "12345678"; // 32 + 8 bytes
    TImportAddress a = SplitImportAddress(A("東京都") + rest40, A("別館"), "");
    EXPECT_EQ(a.tdfkn, A("東京都"));
    EXPECT_EQ(a.adrs1, A("千代田区丸の内一丁目二番三号ビル"));
    EXPECT_EQ(a.adrs2, "12345678" + A("別館"));
    EXPECT_TRUE(a.overflow1);

    a = SplitImportAddress(A("北海道"), "", "");
    EXPECT_EQ(a.tdfkn, A("北海道"));
    EXPECT_EQ(a.adrs1, "");

    // Byte 32 is a lead byte: 31 bytes and a blank, the character moves on.
    a = SplitImportAddress("x" + A("あいうえおかきくけこさしすせそた"), "", "");
    EXPECT_EQ(a.adrs1, "x" + A("あいうえおかきくけこさしすせそ") + " ");
    EXPECT_EQ(a.adrs2, A("た"));

    const AnsiString long2 = QByteArray(99, 'b') + A("漢") + "tail";
    a = SplitImportAddress("", long2, QByteArray(120, 'c'));
    EXPECT_EQ(a.adrs2, QByteArray(99, 'b') + ' ');
    EXPECT_TRUE(a.overflow2);
    EXPECT_EQ(a.adrs3.size(), 116);
    EXPECT_TRUE(a.adrs3.startsWith(A("漢") + "tail"));
    EXPECT_EQ(a.tdfkn, "");
}

TEST(ImportConvertTest, JointOwnerAndTimestamps)
{
    const std::array<QString, 5> joints{"花子", "次郎", "", "", "五郎"};
    EXPECT_EQ(ImportJointOwner("", "太郎", joints), 0);
    EXPECT_EQ(ImportJointOwner("太郎", "太郎", joints), 0);
    EXPECT_EQ(ImportJointOwner("本人", "太郎", joints), 0);
    EXPECT_EQ(ImportJointOwner("花子", "太郎", joints), 1);
    EXPECT_EQ(ImportJointOwner("連名２", "太郎", joints), 2);
    EXPECT_EQ(ImportJointOwner("5", "太郎", joints), 5);
    EXPECT_EQ(ImportJointOwner("誰か", "太郎", joints), -1);
    EXPECT_EQ(ImportJointOwner("連名３", "太郎", joints), -1); // joint 3 has no name

    EXPECT_EQ(ImportTimestamp("2023/04/05", "123", false), QDateTime(QDate(2023, 4, 5), QTime(0, 0)));
    EXPECT_EQ(ImportTimestamp("20230405", "12:34:56", false), QDateTime(QDate(2023, 4, 5), QTime(12, 34, 56)));
    EXPECT_EQ(ImportTimestamp("20231305", "", false), std::nullopt);
    EXPECT_EQ(ImportTimestamp("2023045", "", false), std::nullopt);
    EXPECT_EQ(ImportTimestamp("20230405", "1234", true), std::nullopt);
}

TEST(ImportConvertTest, AppendRecordFromItemTexts)
{
    Line line;
    line.set(1, A("仕事")).set(2, " AB-1 ").set(4, A("代表")).set(9, "100-0001");
    line.set(10, A("東京都千代田区")).set(24, A(" 山田太郎 ")).set(32, A("花子")).set(37, A("様"));
    line.set(46, A("連名２")).set(47, "0").set(53, "2").set(54, A("本社")).set(77, "0000FF");
    line.set(78, "20231305").set(80, "3").set(81, "5").set(18, "1234-5678-9012");
    const TAdrsDataRec rec = BuildAppendRecord(line.texts, {}, Lookups());
    EXPECT_EQ(rec.Group, 2);
    EXPECT_EQ(rec.CustomCode.text(), "AB-1");
    EXPECT_EQ(rec.TelDiv, 3);
    EXPECT_EQ(rec.Pos.text(), "1000001");
    EXPECT_EQ(rec.Tdfkn.text(), A("東京都"));
    EXPECT_EQ(rec.Adrs1.text(), A("千代田区"));
    EXPECT_EQ(HexTextToWide(rec.NameKanji.text()), "山田太郎");
    EXPECT_EQ(rec.JointOwner, 2);
    EXPECT_TRUE(rec.JointPrint2);
    EXPECT_FALSE(rec.JointPrint);
    EXPECT_EQ(rec.JointHonor2.text(), A("様"));
    EXPECT_EQ(rec.PrintTarget, 2);
    EXPECT_EQ(rec.Sender, 7);
    EXPECT_EQ(rec.SymbolColor, 255);
    EXPECT_EQ(rec.CodeMain, 3);
    EXPECT_EQ(rec.CodeSub, 5);
    EXPECT_EQ(DecryptFieldText(rec.MyNumber.text(), FieldCipherKey), "123456789012");
    EXPECT_EQ(FromTDateTime(rec.AddDateTime), TruncateToSeconds(Now));
    EXPECT_TRUE(rec.PrivCorp); // empty item 17: a person

    Line owner;
    owner.set(46, A("連名２"));
    const TAdrsDataRec noJoint = BuildAppendRecord(owner.texts, {}, Lookups());
    EXPECT_EQ(noJoint.JointOwner, 0);
    EXPECT_TRUE(noJoint.JointPrint);

    Line bad;
    bad.set(15, "north");
    EXPECT_THROW(BuildAppendRecord(bad.texts, {}, Lookups()), EConvertError);
}

TEST(ImportConvertTest, CompanyRuleAndCompletion)
{
    struct Case
    {
        bool allCompany, privCorpFirst;
        const char* name;
        const char* privCorp;
        bool person;
    };
    for (const Case& c : {Case{false, false, "", "", false}, Case{false, false, "太郎", "", true},
                          Case{true, false, "太郎", "", false}, Case{false, true, "", "個人", true},
                          Case{true, true, "", "", false}}) {
        Line line;
        line.set(19, A("株式会社")).set(24, A(c.name)).set(17, A(c.privCorp));
        const TImportOptions options{true, true, c.allCompany, c.privCorpFirst};
        EXPECT_EQ(BuildAppendRecord(line.texts, options, Lookups()).PrivCorp, c.person) << c.name << c.privCorp;
    }

    TImportLookups lookups = Lookups();
    int calls = 0;
    lookups.complete = [&](const AnsiString& address) -> std::optional<TImportCompletion> {
        ++calls;
        EXPECT_EQ(address, A("大阪府大阪市北区"));
        return TImportCompletion{"530-0001", "27127 ", "123456 ", 1000, 2000};
    };
    Line line;
    line.set(10, A("大阪府大阪市北区")).set(15, "5");
    TAdrsDataRec rec = BuildAppendRecord(line.texts, {}, lookups);
    EXPECT_EQ(rec.Pos.text(), "5300001");
    EXPECT_EQ(rec.JisCode.text(), "27127");
    EXPECT_EQ(rec.KajoCode.text(), "123456");
    EXPECT_EQ(rec.Latitude, 1000);
    EXPECT_EQ(rec.Longitude, 2000);
    rec = BuildAppendRecord(line.texts, {true}, lookups);
    EXPECT_EQ(rec.Pos.text(), "");
    EXPECT_EQ(calls, 1);
}

TEST(ImportConvertTest, UpdateWritesOnlySetItemsThatDiffer)
{
    TAdrsDataRec stored;
    stored.PrivCorp = true;
    stored.Joint2 = WideToHexText("次郎");
    stored.JointHonor2 = A("様");
    stored.JointPrint2 = true;
    stored.AddDateTime = 1.0;
    stored.Tel = "0312345678";

    Line same;
    same.set(3, "03-1234-5678").set(17, "").set(78, "20230101");
    TAdrsDataRec rec = stored;
    EXPECT_FALSE(ApplyUpdateFields(same.texts, same.mapping, Lookups(), rec));
    EXPECT_EQ(rec, stored);

    Line clear;
    clear.set(32, "");
    EXPECT_TRUE(ApplyUpdateFields(clear.texts, clear.mapping, Lookups(), rec));
    EXPECT_TRUE(rec.Joint2.isEmpty());
    EXPECT_TRUE(rec.JointHonor2.isEmpty());
    EXPECT_FALSE(rec.JointPrint2);
    EXPECT_EQ(FromTDateTime(rec.UpdDateTime), Now);

    Line words;
    words.set(1, A("無い")).set(27, A("何か")).set(53, "0").set(78, "20230405").set(79, "010203");
    rec = stored;
    rec.PrintTarget = 2;
    EXPECT_TRUE(ApplyUpdateFields(words.texts, words.mapping, Lookups(), rec));
    EXPECT_EQ(rec.PrintTarget, 0);
    EXPECT_EQ(FromTDateTime(rec.AddDateTime), QDateTime(QDate(2023, 4, 5), QTime(1, 2, 3)));
    EXPECT_EQ(rec.Group, 0);
}
