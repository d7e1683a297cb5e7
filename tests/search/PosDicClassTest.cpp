// Tests of the postal-code dictionary wrapper over the fixture dictionary.
#include "search/PosDicClass.h"

#include "search/DicFixture.h"
#include "search/Dlmtad.h"
#include "support/MessageRecorder.h"

namespace {

class PosDicClassTest : public DicTest
{
protected:
    TPosSearch search{DicLibraryFolder, FixtureDicFolder};
};

} // namespace

TEST_F(PosDicClassTest, InputIsItsSingleByteDigitsWrittenBackWithTheHyphen)
{
    const struct
    {
        const char* input;
        int code;
        const char* formatted;
    } cases[] = {
        {"100-0001", 0, "100-0001"},
        {"〒 100-0001", 0, "100-0001"},
        {"10000", 0, "100-00"},
        {"100", 0, "100"},
        {"10", 4, ""},      // fewer than 3 digits
        {"9999999", 8, ""}, // no such code
    };
    for (const auto& c : cases) {
        AnsiString formatted;
        EXPECT_EQ(search.Search(A(c.input), &formatted), c.code) << c.input;
        EXPECT_EQ(formatted, AnsiString(c.formatted)) << c.input;
    }
    for (const char* empty : {"---", "１００－０００１", ""}) {
        try {
            search.Search(A(empty));
            ADD_FAILURE() << empty;
        } catch (const EDlzplstError&) {
            ADD_FAILURE() << "a library error for " << empty;
        } catch (const EPosSearchError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("検索郵便番号が未入力です"));
        }
    }
}

TEST_F(PosDicClassTest, MunicipalityTownAndResult)
{
    ASSERT_EQ(search.Search("1000001"), 0);
    ASSERT_EQ(search.CityCount(), 1);
    EXPECT_EQ(Text(search.GetCity(0).Name), QStringLiteral("東京都千代田区"));
    ASSERT_EQ(search.ListTowns(0, 0), 0);
    ASSERT_EQ(search.TownCount(), 1);

    // -1: the municipality alone, no lookup.
    const TDicAdrsResultRec& city = search.GetResult(-1, true);
    EXPECT_EQ(Text(city.PrefName), QStringLiteral("東京都"));
    EXPECT_EQ(Text(city.PrefKana), QStringLiteral("ﾄｳｷﾖｳﾄ"));
    EXPECT_EQ(Text(city.CityName), QStringLiteral("千代田区"));
    EXPECT_EQ(Text(city.CityKana), QStringLiteral("ﾁﾖﾀﾞｸ"));
    EXPECT_EQ(Text(city.JisCode), QStringLiteral("13101"));
    EXPECT_EQ(Text(city.PostalCode), QString());
    EXPECT_EQ(city.Latitude, 0);

    const TDicAdrsResultRec& plain = search.GetResult(0, false);
    EXPECT_EQ(Text(plain.PostalCode), QStringLiteral("100-0001"));
    EXPECT_EQ(Text(plain.TownName), QStringLiteral("千代田"));
    EXPECT_EQ(Text(plain.BlockCode), QStringLiteral("048000"));
    EXPECT_EQ(plain.Latitude, 0);

    const TDicAdrsResultRec& placed = search.GetResult(0, true);
    EXPECT_EQ(Text(placed.TownName), QStringLiteral("千代田"));
    EXPECT_EQ(placed.Latitude, ToMilliseconds(32957093));
    EXPECT_EQ(placed.Longitude, ToMilliseconds(128707694));
}

TEST_F(PosDicClassTest, LargeOfficesKeepTheirNamesAndGetOnlyCoordinates)
{
    ASSERT_EQ(search.Search("10089"), 0); // offices of the ministries' own codes only
    ASSERT_EQ(search.CityCount(), 1);
    EXPECT_EQ(search.GetCity(0).TownCount, 0);
    EXPECT_EQ(search.ListTowns(0, 0), 8);
    EXPECT_EQ(search.TownCount(), 0);
    ASSERT_EQ(search.ListTowns(0, 1), 0);
    ASSERT_EQ(search.OfficeCount(), search.GetCity(0).OfficeCount);
    const TDicAdrsResultRec& r = search.GetResult(0, true);
    EXPECT_EQ(Text(r.OfficeName), QStringLiteral("経済産業省"));
    EXPECT_EQ(Text(r.PostalCode), QStringLiteral("100-8901"));
    EXPECT_EQ(Text(r.TownName), QStringLiteral("霞が関"));
    EXPECT_NE(r.Latitude, 0);
}

TEST_F(PosDicClassTest, AccessorsOfEmptyListsRaise)
{
    const struct
    {
        std::function<void()> call;
        QString text;
    } cases[] = {
        {[&] { search.GetCity(0); }, QStringLiteral("市区郡町村検索の結果がありません")},
        {[&] { search.GetTown(0); }, QStringLiteral("町大字検索の結果がありません")},
        {[&] { search.GetOffice(0); }, QStringLiteral("大口事業所検索の結果がありません")},
    };
    for (const auto& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << qPrintable(c.text);
        } catch (const EPosSearchError& e) {
            EXPECT_EQ(e.Message(), c.text);
        }
    }
    ASSERT_EQ(search.Search("1000001"), 0);
    EXPECT_THROW(search.GetCity(1), EPosSearchError); // past the end
}

TEST_F(PosDicClassTest, LibraryFailuresRaiseTheDerivedError)
{
    LibraryLoader::SetFailingLoad(QStringLiteral("Dlzplst.dll"));
    try {
        TPosSearch s(DicLibraryFolder, FixtureDicFolder);
        ADD_FAILURE();
    } catch (const EDlzplstError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Dlzplst.dll LoadLibrary Error\r\nDLLのロードに失敗しました"));
    }
    LibraryLoader::ClearFailures();
    LibraryLoader::SetFailingSymbol(QStringLiteral("Dlzplst.dll"), QStringLiteral("DLZPLSTPost"));
    try {
        TPosSearch s(DicLibraryFolder, FixtureDicFolder);
        ADD_FAILURE();
    } catch (const EDlzplstError& e) {
        EXPECT_EQ(
            e.Message(),
            QStringLiteral("DLZPLSTPost (Dlzplst.dll) GetProcAddress Error\r\n関数の割り当てに失敗しました"));
    }
    LibraryLoader::ClearFailures();
    TPosSearch damaged(DicLibraryFolder, TempFolder());
    WriteFileBytes(TempFolder() + QStringLiteral("Adrs.dic"), "TOVAREL ADRS 1\nP\t01\n");
    try {
        damaged.Search("1000001");
        ADD_FAILURE();
    } catch (const EDlzplstError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("DLZPLSTFirst (Dlzplst.dll) Call Error\r\nRC = 14"));
    }
}

TEST_F(PosDicClassTest, WithoutTheCoordinateLibraryCoordinatesStayZero)
{
    MessageRecorder recorder;
    recorder.allowUnexpected();
    LibraryLoader::SetFailingLoad(QStringLiteral("Dlmtad.dll"));
    ASSERT_EQ(search.Search("1000001"), 0);
    ASSERT_EQ(search.ListTowns(0, 0), 0);
    const TDicAdrsResultRec& r = search.GetResult(0, true);
    EXPECT_EQ(Text(r.PostalCode), QStringLiteral("100-0001"));
    EXPECT_EQ(r.Latitude, 0);
    EXPECT_EQ(r.Longitude, 0);
    ASSERT_EQ(recorder.count(), 1);
    EXPECT_EQ(recorder.last().caption, QStringLiteral("Dlmtad.dll LoadLibrary Error"));
}
