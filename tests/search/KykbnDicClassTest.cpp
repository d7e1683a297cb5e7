// Tests of the exchange-code dictionary wrapper over the fixture dictionary.
#include "search/KykbnDicClass.h"

#include "search/DicFixture.h"

namespace {

class KykbnDicClassTest : public DicTest
{
protected:
    TKykbnSearch search{DicLibraryFolder, FixtureDicFolder};
};

} // namespace

TEST_F(KykbnDicClassTest, NumberIsItsDigitsAndListsItsAreas)
{
    AnsiString tel;
    ASSERT_EQ(search.Search(A("(0466) 22-1234"), &tel), 0);
    EXPECT_EQ(tel, AnsiString("0466-22-1234"));
    ASSERT_EQ(search.CityCount(), 1);
    EXPECT_EQ(Text(search.GetCity(0).Name), QStringLiteral("神奈川県藤沢市"));
    EXPECT_EQ(search.Search("1234"), 4); // no trunk 0
    for (const char* empty : {"ー", "０４６６", ""}) {
        try {
            search.Search(A(empty));
            ADD_FAILURE() << empty;
        } catch (const EKykbnSearchError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("検索電話番号が未入力です"));
        }
    }
    // Tokyo's number lies in more areas than an answer holds: the list keeps 20.
    ASSERT_EQ(search.Search("0312345678"), 0);
    EXPECT_EQ(search.CityCount(), KykbnBlockSize);
}

TEST_F(KykbnDicClassTest, FortyFiveTownsComeInThreeBlocks)
{
    ASSERT_EQ(search.Search("0459710000"), 0);
    int aoba = -1;
    for (int i = 0; i < search.CityCount(); ++i)
        if (Text(search.GetCity(i).JisCode) == QStringLiteral("14117"))
            aoba = i;
    ASSERT_GE(aoba, 0);
    ASSERT_EQ(search.GetCity(aoba).TownCount, 45);
    ASSERT_EQ(search.ListTowns(aoba), 0);
    ASSERT_EQ(search.TownCount(), 45);
    EXPECT_EQ(Text(search.GetTown(0).Name), QStringLiteral("青葉台"));
    EXPECT_EQ(Text(search.GetTown(19).Name), QStringLiteral("鉄町"));
    EXPECT_EQ(Text(search.GetTown(20).Name), QStringLiteral("黒須田"));
    EXPECT_EQ(Text(search.GetTown(44).Name), QStringLiteral("若草台"));
    EXPECT_EQ(Text(search.GetTown(44).AreaCode), QStringLiteral("14117045000"));

    const TKykbnResultRec& r = search.GetResult(44, true);
    EXPECT_EQ(Text(r.Tel), QStringLiteral("045-971-0000"));
    EXPECT_EQ(Text(r.PostalCode), QStringLiteral("227-0045"));
    EXPECT_EQ(Text(r.BlockCode), QStringLiteral("045000"));
    EXPECT_EQ(Text(r.PrefKana), QStringLiteral("ｶﾅｶﾞﾜｹﾝ")); // replaced by the lookup
    EXPECT_EQ(Text(r.TownName), QStringLiteral("若草台"));
    EXPECT_NE(r.Latitude, 0);
}

TEST_F(KykbnDicClassTest, TownsOfTheLoadedAreaAreNotFetchedAgain)
{
    const QString folder = CopyOfFixture();
    TKykbnSearch s(DicLibraryFolder, folder);
    ASSERT_EQ(s.Search("0466221234"), 0);
    ASSERT_EQ(s.ListTowns(0), 0);
    const int towns = s.TownCount();
    ASSERT_GT(towns, 0);
    ASSERT_TRUE(QFile::remove(folder + QStringLiteral("Adrs.dic")));
    EXPECT_EQ(s.ListTowns(0), 0);
    EXPECT_EQ(s.TownCount(), towns);
}

TEST_F(KykbnDicClassTest, ResultWithoutTownHasTheAreaOnly)
{
    ASSERT_EQ(search.Search("0466221234"), 0);
    ASSERT_EQ(search.ListTowns(0), 0);
    const TKykbnResultRec& r = search.GetResult(-1, true);
    EXPECT_EQ(Text(r.Tel), QStringLiteral("0466-22-1234"));
    EXPECT_EQ(Text(r.PrefName), QStringLiteral("神奈川県"));
    EXPECT_EQ(Text(r.CityName), QStringLiteral("藤沢市"));
    EXPECT_EQ(Text(r.JisCode), QStringLiteral("14205"));
    EXPECT_EQ(Text(r.PostalCode), QString());
    EXPECT_EQ(Text(r.PrefKana), QString());
    EXPECT_EQ(r.Latitude, 0);
}
