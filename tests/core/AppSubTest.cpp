// Text, number and date routines, the field cipher and the scrambles.
#include "core/AppSub.h"

#include "core/AES.h"
#include "support/AnsiText.h"

#include <gtest/gtest.h>

namespace {

TEST(AppSub, KeepNumberCharsByFlags)
{
    struct Case
    {
        int flags;
        const char* expected;
    };
    const Case cases[] = {{KeepDigits, "012"},
                          {KeepDigits | KeepHyphens, "0-12"},
                          {KeepPeriods, "."},
                          {KeepDigits | KeepHyphens | KeepPeriods, "0-1.2"},
                          {0, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        EXPECT_EQ(KeepNumberChars(A("0-1.2６ａ"), c.flags), QByteArray(c.expected));
    }
}

TEST(AppSub, StripSpacesAndReverse)
{
    EXPECT_EQ(StripSpaces(QString::fromUtf8(" 山田　太郎 様 ")), A("山田太郎様"));
    EXPECT_EQ(ReverseMbcsText(A("a亜bア")), A("アb亜a"));
    EXPECT_EQ(ReverseMbcsText(""), QByteArray());
}

TEST(AppSub, RoundHalfAwayAndScaleByDpi)
{
    const std::pair<double, qint64> rounds[] = {{2.5, 3},  {-2.5, -3}, {-2.4, -2},
                                                {2.49, 2}, {0.0, 0},   {-0.5, -1}};
    for (auto [x, expected] : rounds) {
        SCOPED_TRACE(x);
        EXPECT_EQ(RoundHalfAway(x), expected);
    }
    struct Case
    {
        int length, direction;
        double dpi;
        int expected;
    };
    const Case scales[] = {{100, 1, 120, 125}, {125, 0, 120, 100}, {125, 2, 120, 100},
                           {7, 1, 144, 11},    {100, 1, 96, 100},  {6, 1, 120, 8}};
    for (const Case& c : scales) {
        SCOPED_TRACE(testing::Message() << c.length << " " << c.direction << " " << c.dpi);
        EXPECT_EQ(ScaleByDpi(c.length, c.direction, c.dpi), c.expected);
    }
}

TEST(AppSub, TruncateMbcsCutsOnlyAtCharacterBoundaries)
{
    const AnsiString thirty = QByteArray("ABCDEFGHIJKLMNOPQRSTU") + A("亜") + "1234567";
    ASSERT_EQ(thirty.size(), 30);
    struct Case
    {
        AnsiString text;
        int n;
        AnsiString expected;
    };
    const Case cases[] = {
        {thirty, 22, thirty.left(21)}, // byte 22 is the lead byte of 亜
        {thirty, 23, thirty.left(23)},
        {A("亜亜亜"), 2, A("亜")}, // byte 2 is 9F: a trail byte that looks like a lead byte
        {A("亜亜亜"), 3, A("亜")},
        {A("亜亜亜"), 4, A("亜亜")},
        {A("ア"), 1, ""},
        {"abc", 10, "abc"},
        {"abc", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text.toHex().constData() << " " << c.n);
        EXPECT_EQ(TruncateMbcs(c.text, c.n), c.expected);
    }
}

TEST(AppSub, TruncateToSecondsDropsOnlyTheFraction)
{
    const QDateTime value(QDate(2024, 2, 29), QTime(23, 59, 59, 999));
    const QDateTime cut = TruncateToSeconds(value);
    EXPECT_EQ(cut, QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59)));
    EXPECT_EQ(cut.timeSpec(), value.timeSpec());
}

TEST(AppSub, SplitTextModes)
{
    struct Case
    {
        const char* name;
        AnsiString source;
        int lastIndex, mode, fixedLength;
        AnsiString delimiter;
        QList<AnsiString> expected;
    };
    const Case cases[] = {
        {"fixed", "ABCDEF", 1, 0, 3, "", {"ABC", "DEF"}},
        {"fixed, fits", "ABC", 1, 0, 3, "", {"ABC", ""}},
        {"fixed, lead byte at the cut", "AB" + A("亜") + "C", 1, 0, 3, "", {"AB ", A("亜") + "C"}},
        {"fixed, trail byte like a lead byte at the cut", A("亜亜"), 1, 0, 2, "", {A("亜"), A("亜")}},
        {"fixed, lead byte after a double-byte character", A("亜亜"), 1, 0, 3, "", {A("亜") + " ", A("亜")}},
        {"plain, rest in the last element", "a,b,c,d", 1, 1, 0, ",", {"a", "b,c,d"}},
        {"plain, all cut", "a,b,c,d", 3, 1, 0, ",", {"a", "b", "c", "d"}},
        {"plain, fewer fields", "a,b", 3, 1, 0, ",", {"a", "b", "", ""}},
        {"plain, cuts inside quotes", "x,\"y,z\",w", 2, 1, 0, ",", {"x", "\"y", "z\",w"}},
        {"plain, long delimiter", "a<>b<>c", 2, 1, 0, "<>", {"a", "b", "c"}},
        {"plain, delimiter like a trail byte", A("－") + "|x", 1, 1, 0, "|", {A("－"), "x"}}, // － = 81 7C
        {"quoted, unquoted", "x,\"y,z\",w", 2, 2, 0, ",", {"x", "y,z", "w"}},
        {"quoted, kept", "x,\"y,z\",w", 2, 3, 0, ",", {"x", "\"y,z\"", "w"}},
        {"quoted, doubled quotes stay", "\"a\"\"b\",c", 1, 2, 0, ",", {"a\"\"b", "c"}},
        {"quoted, lone quote kept", "\",x", 1, 2, 0, ",", {"\",x", ""}},
        {"quoted, never closed", "\"a,b,c", 2, 3, 0, ",", {"\"a,b,c", "", ""}},
        {"quoted, tab", "1\t\"2\t3\"\t4", 2, 2, 0, "\t", {"1", "2\t3", "4"}},
        {"quoted, closed by a piece of three", "\",\"\"\",b", 1, 3, 0, ",", {"\",\"\"\"", "b"}},
        {"quoted, one-character field keeps its quote", "a,\"", 1, 2, 0, ",", {"a", "\""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QList<AnsiString> parts{c.source, "old", "old", "old", "old", "old"};
        SplitText(parts, c.lastIndex, c.mode, c.fixedLength, c.delimiter);
        EXPECT_EQ(parts.mid(0, c.expected.size()), c.expected);
    }
}

TEST(AppSub, SplitTextGrowsAShortList)
{
    QList<AnsiString> parts{"a,b,c"};
    SplitText(parts, 2, SplitDelimiter, 0, ",");
    EXPECT_EQ(parts, (QList<AnsiString>{"a", "b", "c"}));
}

TEST(AppSub, CountSubstring)
{
    struct Case
    {
        AnsiString text, pattern;
        int expected;
    };
    const Case cases[] = {
        {"aaaa", "aa", 3},
        {"abcabc", "bc", 2},
        {"abc", "", 0},
        {"", "a", 0},
        {A("アア"), "A", 0}, // ア = 83 41
        {"A" + A("ア") + "A", "A", 2},
        {A("亜亜"), A("亜"), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.text.toHex().constData() << " / " << c.pattern.toHex().constData());
        EXPECT_EQ(CountSubstring(c.text, c.pattern), c.expected);
    }
}

TEST(AppSub, PrefectureTables)
{
    ASSERT_EQ(PrefectureNames().size(), PrefectureCount);
    ASSERT_EQ(PrefectureKanaNames().size(), PrefectureCount);
    EXPECT_EQ(PrefectureNames().first(), QString::fromUtf8("北海道"));
    EXPECT_EQ(PrefectureNames()[12], QString::fromUtf8("東京都"));
    EXPECT_EQ(PrefectureNames().last(), QString::fromUtf8("沖縄県"));
    EXPECT_EQ(PrefectureKanaNames()[27], QString::fromUtf8("ﾋﾖｳｺﾞｹﾝ"));
    for (const QString& kana : PrefectureKanaNames())
        EXPECT_EQ(Cp932::byteLength(kana), kana.size()) << "half-width only: " << kana.toStdString();
}

TEST(AppSub, SplitPrefecture)
{
    struct Case
    {
        const char* address;
        bool found;
        const char* prefecture;
        const char* rest;
        bool kana;
    };
    const Case cases[] = {
        {"京都府京都市", true, "京都府", "京都市", false},
        {"東京都千代田区", true, "東京都", "千代田区", false},
        {"神奈川県横浜市", true, "神奈川県", "横浜市", false},
        {"沖縄県", true, "沖縄県", "", false},
        {"千代田区東京都", false, "", "千代田区東京都", false},
        {"", false, "", "", false},
        {"ﾄｳｷﾖｳﾄﾁﾖﾀﾞｸ", true, "ﾄｳｷﾖｳﾄ", "ﾁﾖﾀﾞｸ", true},
        {"ｷﾖｳﾄﾌｷﾖｳﾄｼ", true, "ｷﾖｳﾄﾌ", "ｷﾖｳﾄｼ", true},
        {"ﾁﾖﾀﾞｸ", false, "", "ﾁﾖﾀﾞｸ", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        AnsiString prefecture = "x", rest = "x";
        const bool found = c.kana ? SplitPrefectureKana(A(c.address), prefecture, rest)
                                  : SplitPrefecture(A(c.address), prefecture, rest);
        EXPECT_EQ(found, c.found);
        EXPECT_EQ(prefecture, A(c.prefecture));
        EXPECT_EQ(rest, A(c.rest));
    }
}

TEST(AppSub, CheckMyNumber)
{
    struct Case
    {
        const char* text;
        int kind;
        int expected;
    };
    const Case cases[] = {
        {"123456789018", MyNumberIndividual, MyNumberOk},
        {" 123456789018 ", MyNumberIndividual, MyNumberOk},
        {"123456789017", MyNumberIndividual, MyNumberBadCheckDigit},
        {"000000000000", MyNumberIndividual, MyNumberOk}, // remainder 0
        {"000000000060", MyNumberIndividual, MyNumberOk}, // remainder 1 also gives 0
        {"000000000061", MyNumberIndividual, MyNumberBadCheckDigit},
        {"12345678901", MyNumberIndividual, MyNumberBadLength},
        {"7000012050002", MyNumberIndividual, MyNumberBadLength},
        {"", MyNumberIndividual, MyNumberBadLength},
        {"12345678901１", MyNumberIndividual, MyNumberNotDigits},
        {"1234-5678-9018", MyNumberIndividual, MyNumberNotDigits},
        {"7000012050002", MyNumberCorporate, MyNumberOk},
        {"9000000000000", MyNumberCorporate, MyNumberOk},
        {"8000012050002", MyNumberCorporate, MyNumberBadCheckDigit},
        {"0000000000000", MyNumberCorporate, MyNumberBadCheckDigit},
        {"123456789018", MyNumberCorporate, MyNumberBadLength},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " kind " << c.kind);
        EXPECT_EQ(CheckMyNumber(A(c.text), c.kind), c.expected);
    }
}

TEST(AppSub, HexConversions)
{
    EXPECT_EQ(BytesToHex(QByteArray::fromHex("00ff7a")), QByteArray("00FF7A"));
    EXPECT_EQ(HexToBytes("4142"), QByteArray("AB"));
    EXPECT_EQ(HexToBytes("4a"), QByteArray("J"));
    EXPECT_EQ(HexToBytes("414"), QByteArray("A\x04", 2)); // odd last digit is a byte of its own
    EXPECT_THROW(HexToBytes("4G"), EConvertError);
}

TEST(AppSub, FieldCipherLengths)
{
    struct Case
    {
        int length;
        int digits;
    };
    const Case cases[] = {{1, 34}, {12, 34}, {16, 34}, {17, 66}, {32, 66}, {33, 98}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        const AnsiString text(c.length, '7');
        const AnsiString cipher = EncryptFieldText(text, FieldCipherKey);
        EXPECT_EQ(cipher.size(), c.digits);
        EXPECT_EQ(cipher.left(2), BytesToHex(QByteArray(1, char(c.length))));
        EXPECT_EQ(cipher, cipher.toUpper());
        EXPECT_EQ(DecryptFieldText(cipher, FieldCipherKey), text);
    }
}

TEST(AppSub, FieldCipherMatchesThePublishedBlockCipher)
{
    // FIPS-197 C.1 through the field format: length byte 10, then the one enciphered block.
    const AnsiString key = QByteArray::fromHex("000102030405060708090a0b0c0d0e0f");
    const AnsiString plain = QByteArray::fromHex("00112233445566778899aabbccddeeff");
    EXPECT_EQ(EncryptFieldText(plain, key), QByteArray("1069C4E0D86A7B0430D8CDB78070B4C55A"));
}

TEST(AppSub, FieldCipherRoundTrips)
{
    struct Case
    {
        AnsiString plain;
        AnsiString expected;
    };
    const Case cases[] = {
        {"123456789012", "123456789012"},
        {A("秘密のメモ"), A("秘密のメモ")},
        {"  abc  ", "abc"}, // blanks at both ends are read back, trimmed
        {"\tx\t", "x"},
        {" 1234567890123456", "1234567890123456"},    // blank pushes the text into a second block
        {AnsiString(300, 'z'), AnsiString(300, 'z')}, // length byte 300 mod 256
        {AnsiString(256, 'y'), AnsiString(256, 'y')}, // length byte 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plain.toStdString());
        const AnsiString cipher = EncryptFieldText(c.plain, FieldCipherKey);
        EXPECT_EQ(DecryptFieldText(cipher, FieldCipherKey), c.expected);
        EXPECT_EQ(DecryptFieldText(" " + cipher + " ", FieldCipherKey), c.expected);
    }
    // The exact form keeps what the trimmed form drops.
    EXPECT_EQ(DecryptFieldTextExact(EncryptFieldText("  abc\t", FieldCipherKey), FieldCipherKey), "  abc\t");
    EXPECT_EQ(EncryptFieldText("   ", FieldCipherKey), QByteArray());
    EXPECT_EQ(EncryptFieldText("", FieldCipherKey), QByteArray());
    EXPECT_EQ(DecryptFieldText("", FieldCipherKey), QByteArray());
    EXPECT_EQ(DecryptFieldText("  ", FieldCipherKey), QByteArray());
    EXPECT_EQ(DecryptFieldText(EncryptFieldText("admin", AdminPasswordKey), AdminPasswordKey),
              QByteArray("admin"));
}

TEST(AppSub, FieldCipherRefusesWhatDoesNotDecode)
{
    const AnsiString cipher = EncryptFieldText("abc", FieldCipherKey);
    const AnsiString wrongLength = "04" + cipher.mid(2);
    const AnsiString cases[] = {
        EncryptFieldText("abc", AdminPasswordKey), // read with the other key below
        wrongLength,
        cipher.left(cipher.size() - 2), // not whole blocks
        "03",                           // no cipher blocks
        "ZZ" + cipher.mid(2),           // not hexadecimal
        cipher + "0",
    };
    for (const AnsiString& c : cases) {
        SCOPED_TRACE(c.toStdString());
        EXPECT_THROW(DecryptFieldText(c, FieldCipherKey), EFieldCipherError);
    }
}

TEST(AppSub, UnicodeNameForm)
{
    EXPECT_EQ(WideToHexText(QStringLiteral("abc")), QByteArray("@0061@0062@0063"));
    EXPECT_EQ(HexTextToWide("@0041@30A2"), QString::fromUtf8("Aア"));
    EXPECT_EQ(HexTextToWide("@0041@30a2@30"), QString::fromUtf8("Aア")); // incomplete group ignored
    EXPECT_EQ(HexTextToWide("ABC"), QStringLiteral("ABC"));
    EXPECT_EQ(HexTextToWide(A("髙橋")), QString::fromUtf8("髙橋"));
    EXPECT_EQ(HexTextToWide(""), QString());
    const QString rare = QString::fromUtf8("𠮷野家 ©");
    EXPECT_EQ(HexTextToWide(WideToHexText(rare)), rare);
    EXPECT_THROW(HexTextToWide("@00G1"), EConvertError);
}

TEST(AppSub, ScrambleAllByteValues)
{
    AnsiString all(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const AnsiString scrambled = ScrambleText(all);
    ASSERT_EQ(scrambled.size(), 256);
    EXPECT_EQ(UnscrambleText(scrambled), all);
    for (int i = 0; i < 256; ++i) {
        const uchar expected = uchar(~(((i & 0x0F) << 4) | (i >> 4)));
        EXPECT_EQ(uchar(scrambled[i]), expected) << i;
    }
    EXPECT_EQ(ScrambleText("abc").toHex(), QByteArray("e9d9c9"));
}

// The stored start-up password as the administrator tool writes it: 16 slots of 4 hex digits, slot i at
// (i mod 8) * 8 + (i div 8) * 4, the character's second byte first; unused slots hold a filler.
AnsiString storePassword(const QList<AnsiString>& characters, const AnsiString& filler = A("＋"))
{
    AnsiString stored(64, '?');
    for (int i = 0; i < 16; ++i) {
        AnsiString c = i < characters.size() ? characters[i] : filler;
        c.resize(2, '\0');
        const AnsiString slot = BytesToHex(c.mid(1, 1)) + BytesToHex(c.left(1));
        stored.replace((i % 8) * 8 + (i / 8) * 4, 4, slot);
    }
    return stored;
}

TEST(AppSub, DescrambleStartupPassword)
{
    ASSERT_EQ(storePassword({A("ａ")}).left(4), QByteArray("8182"));
    struct Case
    {
        const char* name;
        AnsiString stored;
        std::optional<AnsiString> expected;
    };
    const Case cases[] = {
        {"full-width letters", storePassword({A("ｐ"), A("Ａ"), A("ｓ"), A("１")}), AnsiString("pAs1")},
        {"single bytes", storePassword({"a", "B", "9"}), AnsiString("aB9")},
        {"katakana", storePassword({A("ア"), A("ｶ")}), A("ｱｶ")},
        {"all sixteen slots", storePassword(QList<AnsiString>(16, A("ｘ"))), AnsiString(16, 'x')},
        {"every filler", storePassword({A("ａ"), A("－"), A("＊"), A("／"), "+", A("ｂ")}), AnsiString("ab")},
        {"fillers only", storePassword({}), AnsiString()},
        {"one slot", "8182", AnsiString("a")},
        {"empty", "", AnsiString()},
        {"three characters", "818", AnsiString()},
        {"second slot outside the text", "82818282", std::nullopt},
        {"not hexadecimal", "8X82" + storePassword({"a"}).mid(4), std::nullopt},
        {"more than sixteen slots", storePassword({"a"}) + "8182", std::nullopt},
        {"blank", "    ", std::nullopt},
        {"half a double-byte character", "0082", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DescrambleStartupPassword(c.stored), c.expected);
    }
}

} // namespace
