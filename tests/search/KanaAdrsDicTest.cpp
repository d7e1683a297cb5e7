// Tests of the area-list wrapper over the fixture dictionary.
#include "search/KanaAdrsDic.h"

#include "search/DicFixture.h"

namespace {

class KanaAdrsDicTest : public DicTest
{
protected:
    TKanaAdrsSearch search{DicLibraryFolder, FixtureDicFolder};
};

QString ErrorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const EKanaAdrsSearchError& e) {
        return e.Message();
    }
    return QString();
}

} // namespace

TEST_F(KanaAdrsDicTest, PrefecturesOfTheCountryAndOfRegions)
{
    ASSERT_EQ(search.ListPrefectures(AllRegions), 0);
    ASSERT_EQ(search.PrefectureCount(), 47);
    EXPECT_EQ(Text(search.GetPrefecture(0).Name), QStringLiteral("北海道"));
    EXPECT_EQ(search.GetPrefecture(46).Code, 47);
    const struct
    {
        int region, count;
        const char *first, *last;
    } regions[] = {{0, 7, "北海道", "福島県"},   {1, 7, "茨城県", "神奈川県"}, {2, 9, "新潟県", "愛知県"},
                   {3, 7, "三重県", "和歌山県"}, {4, 9, "鳥取県", "高知県"},   {5, 8, "福岡県", "沖縄県"}};
    for (const auto& r : regions) {
        ASSERT_EQ(search.ListPrefectures(r.region), 0);
        ASSERT_EQ(search.PrefectureCount(), r.count) << r.region;
        EXPECT_EQ(Text(search.GetPrefecture(0).Name), QString::fromUtf8(r.first));
        EXPECT_EQ(Text(search.GetPrefecture(r.count - 1).Name), QString::fromUtf8(r.last));
    }
}

TEST_F(KanaAdrsDicTest, OutOfRangeArgumentsRaiseAndLeaveTheLists)
{
    ASSERT_EQ(search.ListPrefectures(AllRegions), 0);
    ASSERT_EQ(search.ListCities(13, search.GetPrefecture(12).CityCount), 0);
    const int cities = search.CityCount();
    for (int region : {6, -1, 98})
        EXPECT_EQ(ErrorOf([&] { search.ListPrefectures(region); }), QStringLiteral("検索地域が範囲外です"));
    EXPECT_EQ(search.PrefectureCount(), 47);
    EXPECT_EQ(search.CityCount(), cities);
    for (int pref : {0, 48})
        EXPECT_EQ(ErrorOf([&] { search.ListCities(pref, 10); }), QStringLiteral("検索都道府県が範囲外です"));
    EXPECT_EQ(ErrorOf([&] { search.ListOazas("1310", 10, true); }),
              QStringLiteral("検索住所コードの桁数が違います"));
    EXPECT_EQ(ErrorOf([&] { search.GetOaza(0); }), QStringLiteral("大字検索の結果がありません"));
}

TEST_F(KanaAdrsDicTest, MunicipalitiesAndOazasTopDown)
{
    ASSERT_EQ(search.ListPrefectures(AllRegions), 0);
    ASSERT_EQ(search.ListCities(13, search.GetPrefecture(12).CityCount), 0);
    int chiyoda = -1;
    for (int i = 0; i < search.CityCount(); ++i)
        if (Text(search.GetCity(i).Name) == QStringLiteral("千代田区"))
            chiyoda = i;
    ASSERT_GE(chiyoda, 0);
    const TKanaCityRec city = search.GetCity(chiyoda);
    EXPECT_EQ(Text(city.Code), QStringLiteral("13101"));
    EXPECT_EQ(Text(city.Head), QStringLiteral("ﾁ"));

    ASSERT_EQ(search.ListOazas("13101", city.OazaCount, false), 0);
    EXPECT_EQ(search.OazaCount(), city.OazaCount);
    const int plain = search.OazaCount();
    ASSERT_EQ(search.ListOazas("13101", 500, true), 0);
    QStringList names;
    for (int i = 0; i < search.OazaCount(); ++i)
        names << Text(search.GetOaza(i).Name);
    EXPECT_TRUE(names.contains(QStringLiteral("千代田１丁目")));
    EXPECT_TRUE(names.contains(QStringLiteral("千代田３丁目")));
    EXPECT_FALSE(names.contains(QStringLiteral("千代田")));
    EXPECT_GT(names.indexOf(QString()), plain); // the split list needs more slots than the plain one

    // A new list empties the lists below it.
    ASSERT_EQ(search.ListCities(16, 20), 0);
    EXPECT_EQ(search.OazaCount(), 0);
    ASSERT_EQ(search.ListOazas("13101", 5, false), 0);
    ASSERT_EQ(search.ListPrefectures(1), 0);
    EXPECT_EQ(search.CityCount(), 0);
    EXPECT_EQ(search.OazaCount(), 0);
}

TEST_F(KanaAdrsDicTest, OazaCodesContinueWithLettersPast999)
{
    ASSERT_EQ(search.ListOazas("16201", 2000, false), 0);
    QStringList codes;
    for (int i = 0; i < search.OazaCount(); ++i)
        if (!Text(search.GetOaza(i).Name).isEmpty())
            codes << ToWide(FieldText(search.GetOaza(i).AreaCode));
    ASSERT_GT(codes.size(), 999);
    EXPECT_EQ(codes[998], QStringLiteral("16201999"));
    EXPECT_EQ(codes[999], QStringLiteral("16201A00"));
}
