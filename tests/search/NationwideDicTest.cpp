// Tests of the dictionary built from the nationwide data in ProgramFolder/Dic, and of concurrent use.
#include "search/AdrsDicClass.h"
#include "search/ConAdrsDicClass.h"
#include "search/KykbnDicClass.h"
#include "search/PosDicClass.h"

#include "search/DicFixture.h"

#include <thread>
#include <vector>

namespace {

class NationwideDicTest : public DicTest
{
};

} // namespace

TEST_F(NationwideDicTest, PostalCodeTelephoneAndConversion)
{
    TPosSearch pos(DicLibraryFolder, NationwideDicFolder);
    ASSERT_EQ(pos.Search("100-0001"), 0);
    ASSERT_EQ(pos.CityCount(), 1);
    ASSERT_EQ(pos.ListTowns(0, 0), 0);
    const TDicAdrsResultRec& r = pos.GetResult(0, false);
    EXPECT_EQ(Text(r.PrefName) + Text(r.CityName) + Text(r.TownName), QStringLiteral("東京都千代田区千代田"));
    EXPECT_EQ(Text(r.JisCode), QStringLiteral("13101"));

    TKykbnSearch tel(DicLibraryFolder, NationwideDicFolder);
    ASSERT_EQ(tel.Search("0466-22-1234"), 0);
    QStringList areas;
    for (int i = 0; i < tel.CityCount(); ++i)
        areas << Text(tel.GetCity(i).Name);
    EXPECT_TRUE(areas.contains(QStringLiteral("神奈川県藤沢市"))) << qPrintable(areas.join(u' '));

    TContinualAdrsSearch conv(DicLibraryFolder, NationwideDicFolder);
    ASSERT_EQ(conv.Search(A("東京都千代田区千代田１－１")), 0);
    const TAdrsConvResultRec& c = conv.GetResult(true);
    EXPECT_EQ(Text(c.PostalCode), QStringLiteral("100-0001"));
    EXPECT_EQ(Text(c.JisCode), QStringLiteral("13101"));
    // The Tokyo office lies at 35.6863 N, 139.6949 E on the Tokyo datum.
    EXPECT_NEAR(c.Latitude / 3600000.0, 35.6863, 0.2);
    EXPECT_NEAR(c.Longitude / 3600000.0, 139.6949, 0.2);
}

TEST_F(NationwideDicTest, ConcurrentSearchesAnswerAlike)
{
    auto run = [] {
        QStringList out;
        TAdrsSearch adrs(DicLibraryFolder, FixtureDicFolder);
        TPosSearch pos(DicLibraryFolder, FixtureDicFolder);
        TKykbnSearch tel(DicLibraryFolder, FixtureDicFolder);
        for (int round = 0; round < 5; ++round) {
            adrs.Search(A("東京都千代田区千代田"));
            adrs.ListTowns(0, 0);
            out << Text(adrs.GetResult(0, true).TownName);
            pos.Search("1000001");
            pos.ListTowns(0, 0);
            out << QString::number(pos.GetResult(0, true).Latitude);
            tel.Search("0459710000");
            tel.ListTowns(16);
            out << QString::number(tel.TownCount());
        }
        return out;
    };
    const QStringList expected = run();
    std::vector<QStringList> results(6);
    std::vector<std::thread> threads;
    for (auto& r : results)
        threads.emplace_back([&r, &run] { r = run(); });
    for (auto& t : threads)
        t.join();
    for (const QStringList& r : results)
        EXPECT_EQ(r, expected);
}
