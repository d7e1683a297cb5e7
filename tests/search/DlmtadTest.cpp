// Tests of the coordinate lookup unit and the shared field helpers of the dictionary wrappers.
#include "search/Dlmtad.h"

#include "search/DicFixture.h"
#include "search/DicWrapper.h"
#include "support/MessageRecorder.h"

namespace {

class DlmtadTest : public DicTest
{
};

} // namespace

TEST_F(DlmtadTest, CodeIsJisThenBlockThenZerosCutToEleven)
{
    const struct
    {
        const char *jis, *block, *code;
    } cases[] = {
        {"13101", "048001", "13101048001"},
        {"131010", "0480012", "13101004800"}, // 6-character JIS: the first five of the block follow
        {"13101", "", "13101000000"},
        {"", "", "00000000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MtAdrsCode(c.jis, c.block), AnsiString(c.code)) << c.jis << " " << c.block;
}

TEST_F(DlmtadTest, CoordinatesAreUnsignedAndRoundHalfAway)
{
    EXPECT_EQ(ToMilliseconds(0), 0);
    EXPECT_EQ(ToMilliseconds(256), 1000);
    EXPECT_EQ(ToMilliseconds(1), 4); // 3.906
    EXPECT_EQ(ToMilliseconds(128), 500);
    EXPECT_EQ(ToMilliseconds(32957093), 128738645); // 128738644.53
    // The top bit set is a large positive value, never a negative one; past the int32 range it saturates.
    EXPECT_EQ(ToMilliseconds(0x80000000u), INT32_MAX);
    EXPECT_GT(ToMilliseconds(0x20000000u), 0);
}

TEST_F(DlmtadTest, PostalCodeHyphenRule)
{
    const struct
    {
        const char *in, *out;
    } cases[] = {
        {"1000001", "100-0001"}, {"10000", "100-00"}, {"100", "100"}, {"100000", "100000"}, {"", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(FormatPostalCode(c.in), AnsiString(c.out)) << c.in;
}

TEST_F(DlmtadTest, FieldsCutOnCharacterBoundaries)
{
    char field[6];
    SetField(field, A("あいう")); // 6 bytes into room for 5
    EXPECT_EQ(Text(field), QStringLiteral("あい"));
    SetField(field, A("aあいう"));
    EXPECT_EQ(Text(field), QStringLiteral("aあい"));
    const char full[4] = {'1', '2', ' ', '4'};
    EXPECT_EQ(FieldText(full), AnsiString("12 4")); // a full field has no zero
}

TEST_F(DlmtadTest, LookupFallsBackFromChomeToOazaToMunicipality)
{
    ASSERT_EQ(LoadMtAdrsLibrary(DicLibraryFolder), MtAdrsOk);
    TMtAdrsAnswerRec a;
    ASSERT_EQ(MtAdrsLookup("13101048001", a, FixtureDicFolder), 0);
    EXPECT_EQ(Text(a.OazaName), QStringLiteral("千代田"));
    EXPECT_EQ(Text(a.AzaName), QStringLiteral("１丁目"));
    EXPECT_EQ(Text(a.PostalCode), QStringLiteral("1000001"));
    const quint32 chomeLatitude = a.Latitude;
    ASSERT_EQ(MtAdrsLookup("13101048099", a, FixtureDicFolder), 0); // no 99th 丁目: the oaza
    EXPECT_EQ(Text(a.OazaName), QStringLiteral("千代田"));
    EXPECT_EQ(Text(a.AzaName), QString());
    EXPECT_NE(a.Latitude, chomeLatitude);
    ASSERT_EQ(MtAdrsLookup("13101999000", a, FixtureDicFolder), 0); // no such oaza: the municipality
    EXPECT_EQ(Text(a.CityName), QStringLiteral("千代田区"));
    EXPECT_EQ(Text(a.OazaName), QString());
    EXPECT_EQ(Text(a.PostalCode), QStringLiteral("1000000"));
    EXPECT_EQ(MtAdrsLookup("99999000000", a, FixtureDicFolder), 8);
    FreeMtAdrsLibrary();
    EXPECT_EQ(MtAdrsLookup("13101048001", a, FixtureDicFolder), MtAdrsNotLoaded);
}

TEST_F(DlmtadTest, ReferencesCountAndFreesBeyondThemDoNothing)
{
    ASSERT_EQ(LoadMtAdrsLibrary(DicLibraryFolder), MtAdrsOk);
    ASSERT_EQ(LoadMtAdrsLibrary(DicLibraryFolder), MtAdrsOk);
    TMtAdrsAnswerRec a;
    FreeMtAdrsLibrary();
    EXPECT_EQ(MtAdrsLookup("13101048001", a, FixtureDicFolder), 0);
    FreeMtAdrsLibrary();
    FreeMtAdrsLibrary(); // nothing held: nothing happens
    EXPECT_EQ(MtAdrsLookup("13101048001", a, FixtureDicFolder), MtAdrsNotLoaded);
}

TEST_F(DlmtadTest, LoadFailuresShowTheirBoxes)
{
    MessageRecorder recorder;
    recorder.allowUnexpected();
    LibraryLoader::SetFailingLoad(QStringLiteral("Dlmtad.dll"));
    EXPECT_EQ(LoadMtAdrsLibrary(DicLibraryFolder), MtAdrsLoadError);
    FreeMtAdrsLibrary(); // the failed load's reference
    ASSERT_EQ(recorder.count(), 1);
    EXPECT_EQ(recorder.last().caption, QStringLiteral("Dlmtad.dll LoadLibrary Error"));
    EXPECT_EQ(recorder.last().text, QStringLiteral("Dlmtad.dll\r\nDLLのロードに失敗しました"));

    LibraryLoader::ClearFailures();
    LibraryLoader::SetFailingSymbol(QStringLiteral("Dlmtad.dll"), QStringLiteral("DLMTAdrs"));
    EXPECT_EQ(LoadMtAdrsLibrary(DicLibraryFolder), MtAdrsEntryPointError);
    ASSERT_EQ(recorder.count(), 2);
    EXPECT_EQ(recorder.last().caption, QStringLiteral("Dlmtad.dll GetProcAddress Error"));
    EXPECT_EQ(recorder.last().text, QStringLiteral("DLMTAdrs\r\n関数の割り当てに失敗しました"));
    TMtAdrsAnswerRec a;
    EXPECT_EQ(MtAdrsLookup("13101048001", a, FixtureDicFolder), MtAdrsNotLoaded);
    FreeMtAdrsLibrary(); // the reference was dropped already: nothing happens

    LibraryLoader::ClearFailures();
    ASSERT_EQ(LoadMtAdrsLibrary(DicLibraryFolder), MtAdrsOk);
    EXPECT_EQ(MtAdrsLookup("13101048001", a, FixtureDicFolder), 0);
    FreeMtAdrsLibrary();
}
