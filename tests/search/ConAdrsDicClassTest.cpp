// Tests of the address conversion wrapper over the fixture dictionary.
#include "search/ConAdrsDicClass.h"

#include "search/DicFixture.h"
#include "support/MessageRecorder.h"

namespace {

class ConAdrsDicClassTest : public DicTest
{
protected:
    TContinualAdrsSearch search{DicLibraryFolder, FixtureDicFolder};
};

} // namespace

TEST_F(ConAdrsDicClassTest, WrittenVariantsConvertAlike)
{
    const struct
    {
        const char* input;
        int code;
        const char *postal, *jis, *block, *rest;
    } cases[] = {
        {"東京都千代田区千代田１－１", 0, "100-0001", "13101", "048001", "千代田１丁目１"},
        {"千代田区千代田1-1", 0, "100-0001", "13101", "048001", "千代田１丁目１"},
        {"東京都 千代田区 千代田一丁目1番地", 0, "100-0001", "13101", "048001", "千代田１丁目１"},
        {"東京都千代田区千代田３丁目２番５号", 0, "100-0001", "13101", "048003", "千代田３丁目２－５"},
        {"東京都千代田区千代田9-1", 0, "100-0001", "13101", "048000", "千代田９－１"}, // no 9th 丁目
        {"東京都千代田区", 1, "100-0000", "13101", "", ""},
        {"東京都ほげ市", 8, "", "", "", ""},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(search.Search(A(c.input)), c.code) << c.input;
        const TAdrsConvResultRec& r = search.GetResult(false);
        EXPECT_EQ(Text(r.PostalCode), QString::fromUtf8(c.postal)) << c.input;
        EXPECT_EQ(Text(r.JisCode), QString::fromUtf8(c.jis)) << c.input;
        EXPECT_EQ(Text(r.BlockCode), QString::fromUtf8(c.block)) << c.input;
        EXPECT_EQ(Text(r.Rest), QString::fromUtf8(c.rest)) << c.input;
    }
    try {
        search.Search("  ");
        ADD_FAILURE();
    } catch (const EContinualAdrsSearchError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("検索住所が未入力です"));
    }
}

TEST_F(ConAdrsDicClassTest, ResultIsRebuiltOnlyForCoordinatesOrANewSearch)
{
    ASSERT_EQ(search.Search(A("東京都千代田区千代田１－１")), 0);
    const TAdrsConvResultRec& first = search.GetResult(false);
    EXPECT_EQ(first.Latitude, 0);
    EXPECT_EQ(Text(first.Rest), QStringLiteral("千代田１丁目１"));
    const TAdrsConvResultRec& placed = search.GetResult(true);
    EXPECT_NE(placed.Latitude, 0);
    EXPECT_EQ(Text(placed.Rest), QStringLiteral("千代田１丁目")); // oaza and aza of the lookup
    const qint32 latitude = placed.Latitude;
    EXPECT_EQ(search.GetResult(false).Latitude, latitude); // the same record, not rebuilt
    ASSERT_EQ(search.Search(A("東京都千代田区千代田２－１")), 0);
    EXPECT_EQ(search.GetResult(false).Latitude, 0);
    EXPECT_EQ(Text(search.GetResult(false).BlockCode), QStringLiteral("048002"));
}

TEST_F(ConAdrsDicClassTest, WithoutTheCoordinateLibraryTheAddressStillConverts)
{
    MessageRecorder recorder;
    recorder.allowUnexpected();
    LibraryLoader::SetFailingLoad(QStringLiteral("Dlmtad.dll"));
    ASSERT_EQ(search.Search(A("東京都千代田区千代田１－１")), 0);
    const TAdrsConvResultRec& r = search.GetResult(true);
    EXPECT_EQ(Text(r.PostalCode), QStringLiteral("100-0001"));
    EXPECT_EQ(Text(r.JisCode), QStringLiteral("13101"));
    EXPECT_EQ(r.Latitude, 0);
    EXPECT_EQ(r.Longitude, 0);
    EXPECT_EQ(recorder.count(), 1);
    // The next request tries the library again.
    LibraryLoader::ClearFailures();
    ASSERT_EQ(search.Search(A("東京都千代田区千代田１－１")), 0);
    EXPECT_NE(search.GetResult(true).Latitude, 0);
}
