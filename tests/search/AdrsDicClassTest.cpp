// Tests of the address dictionary wrapper over the fixture dictionary.
#include "search/AdrsDicClass.h"

#include "search/DicFixture.h"

namespace {

class AdrsDicClassTest : public DicTest
{
protected:
    QStringList CityNames(TAdrsSearch& s)
    {
        QStringList names;
        for (int i = 0; i < s.CityCount(); ++i)
            names << Text(s.GetCity(i).PrefName) + Text(s.GetCity(i).CityName);
        return names;
    }
};

} // namespace

TEST_F(AdrsDicClassTest, TheHeadNamesTheMunicipalities)
{
    TAdrsSearch search(DicLibraryFolder, FixtureDicFolder);
    const struct
    {
        const char* input;
        int code;
        QStringList cities; // some of the expected ones
    } cases[] = {
        {"東京都千代田区千代田１－１", 0, {QStringLiteral("東京都千代田区")}},
        {" 千代田区 ", 0, {QStringLiteral("東京都千代田区")}},
        {"千代田", 0, {QStringLiteral("東京都千代田区"), QStringLiteral("群馬県邑楽郡千代田町")}},
        {"榛東村", 0, {QStringLiteral("群馬県北群馬郡榛東村")}}, // without its county
        {"富山県", 0, {QStringLiteral("富山県富山市"), QStringLiteral("富山県中新川郡立山町")}},
        {"ｱｲｳ", 8, {}},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(search.Search(A(c.input)), c.code) << c.input;
        const QStringList names = c.code == 0 ? CityNames(search) : QStringList();
        for (const QString& city : c.cities)
            EXPECT_TRUE(names.contains(city)) << c.input << " " << qPrintable(names.join(u' '));
    }
    try {
        search.Search("  ");
        ADD_FAILURE();
    } catch (const EAdrsSearchError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("検索住所が未入力です"));
    }
}

TEST_F(AdrsDicClassTest, TextIsFullWidthAndCutTo254BytesOnACharacterBoundary)
{
    TAdrsSearch search(DicLibraryFolder, FixtureDicFolder);
    search.Search(A("ﾁﾖﾀﾞ"));
    EXPECT_EQ(search.SearchedText(), A("チヨダ"));
    const AnsiString longText = A("東京都千代田区") + A("あ").repeated(200);
    EXPECT_EQ(search.Search(longText), 0);
    EXPECT_EQ(search.SearchedText(), longText.left(254));
    // A half-width letter shifts the characters by one byte before conversion; after it all are two bytes.
    search.Search("a" + longText);
    EXPECT_EQ(search.SearchedText().size(), 254);
    EXPECT_FALSE(Cp932::isLeadByteAt(search.SearchedText(), 253));
}

TEST_F(AdrsDicClassTest, TownsLoadOncePerMunicipalityAndKind)
{
    const QString folder = CopyOfFixture();
    TAdrsSearch search(DicLibraryFolder, folder);
    ASSERT_EQ(search.Search(A("東京都千代田区千代田")), 0);
    ASSERT_EQ(search.ListTowns(0, 0), 0);
    ASSERT_EQ(search.TownCount(), 1);
    EXPECT_EQ(Text(search.GetTown(0).Name), QStringLiteral("千代田"));
    // Without its dictionary the library fails every call, so an answer now comes from the wrapper alone.
    ASSERT_TRUE(QFile::remove(folder + QStringLiteral("Adrs.dic")));
    EXPECT_EQ(search.ListTowns(0, 0), 0);
    EXPECT_EQ(search.TownCount(), 1);
    try {
        search.ListTowns(0, 1);
        ADD_FAILURE();
    } catch (const EDLZsError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("DLZsLargeCount (Dlzs.dll) Call Error\r\nRC = 13"));
    }
}

TEST_F(AdrsDicClassTest, ResultsOfTownsAndOffices)
{
    TAdrsSearch search(DicLibraryFolder, FixtureDicFolder);
    ASSERT_EQ(search.Search(A("東京都千代田区霞が関")), 0);
    ASSERT_EQ(search.ListTowns(0, 0), 0);
    const TDicAdrsResultRec& town = search.GetResult(0, true);
    EXPECT_EQ(Text(town.PrefName), QStringLiteral("東京都"));
    EXPECT_EQ(Text(town.CityName), QStringLiteral("千代田区"));
    EXPECT_TRUE(Text(town.TownName).startsWith(QStringLiteral("霞が関")));
    EXPECT_EQ(Text(town.JisCode), QStringLiteral("13101"));
    EXPECT_NE(town.Latitude, 0);

    ASSERT_EQ(search.ListTowns(0, 1), 0);
    ASSERT_GT(search.OfficeCount(), 0);
    EXPECT_EQ(search.OfficeCount(), search.TownCount());
    const TDicAdrsResultRec& office = search.GetResult(0, false);
    EXPECT_EQ(Text(office.OfficeName), Text(search.GetOffice(0).Name));
    EXPECT_EQ(Text(office.TownName), QStringLiteral("霞が関"));
}
