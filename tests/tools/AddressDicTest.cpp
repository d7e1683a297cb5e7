// Tests of the dictionary stand-in libraries at their boundary: bad arguments, damaged dictionaries,
// handles, block fetches and buffers they must not overrun.
#include "DicRecords.h"
#include "platform/LibraryLoader.h"
#include "support/AnsiText.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <array>
#include <cstring>

namespace {

const QString LibraryFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
const QByteArray Fixture = TOVAREL_ADDRESS_FIXTURE_DIR;

template <typename F> F Bind(LibraryLoader::Handle h, const char* name)
{
    return reinterpret_cast<F>(LibraryLoader::Symbol(h, name));
}

struct Api
{
    LibraryLoader::Handle zplst = LibraryLoader::Load(LibraryFolder, QStringLiteral("Dlzplst.dll"));
    LibraryLoader::Handle zs = LibraryLoader::Load(LibraryFolder, QStringLiteral("Dlzs.dll"));
    LibraryLoader::Handle mtad = LibraryLoader::Load(LibraryFolder, QStringLiteral("Dlmtad.dll"));
    LibraryLoader::Handle k1ad = LibraryLoader::Load(LibraryFolder, QStringLiteral("Dlk1ad.dll"));
    LibraryLoader::Handle cnv = LibraryLoader::Load(LibraryFolder, QStringLiteral("DLZsCnv.dll"));
    LibraryLoader::Handle tel = LibraryLoader::Load(LibraryFolder, QStringLiteral("Dltel.dll"));
    TDLZPLSTFirst first = Bind<TDLZPLSTFirst>(zplst, "DLZPLSTFirst");
    TDLZPLSTCityList cityList = Bind<TDLZPLSTCityList>(zplst, "DLZPLSTCityList");
    TDLZPLSTTownList townList = Bind<TDLZPLSTTownList>(zplst, "DLZPLSTTownList");
    TDLZPLSTClose close = Bind<TDLZPLSTClose>(zplst, "DLZPLSTClose");
    TDLZPLSTPost post = Bind<TDLZPLSTPost>(zplst, "DLZPLSTPost");
    TDLZsJisCount jisCount = Bind<TDLZsJisCount>(zs, "DLZsJisCount");
    TDLZsJisList jisList = Bind<TDLZsJisList>(zs, "DLZsJisList");
    TDLZsTownList zsTownList = Bind<TDLZsTownList>(zs, "DLZsTownList");
    TDLMTAdrs mtAdrs = Bind<TDLMTAdrs>(mtad, "DLMTAdrs");
    TDLK1ADTdfknPart tdfknPart = Bind<TDLK1ADTdfknPart>(k1ad, "DLK1ADTdfknPart");
    TDLK1ADCityAll cityAll = Bind<TDLK1ADCityAll>(k1ad, "DLK1ADCityAll");
    TDLK1ADAzaAll azaAll = Bind<TDLK1ADAzaAll>(k1ad, "DLK1ADAzaAll");
    TDLZSCAdrs convert = Bind<TDLZSCAdrs>(cnv, "DLZSCAdrs");
    TDLTLPrefix prefix = Bind<TDLTLPrefix>(tel, "DLTLPrefix");
    TDLTLCity2 city2 = Bind<TDLTLCity2>(tel, "DLTLCity2");
    TDLTLTown2First townFirst = Bind<TDLTLTown2First>(tel, "DLTLTown2First");
    TDLTLTown2Next townNext = Bind<TDLTLTown2Next>(tel, "DLTLTown2Next");
    TDLTLTown2Close townClose = Bind<TDLTLTown2Close>(tel, "DLTLTown2Close");
    TDLTLTown2Prev townPrev = Bind<TDLTLTown2Prev>(tel, "DLTLTown2Prev");

    ~Api()
    {
        for (auto h : {zplst, zs, mtad, k1ad, cnv, tel})
            LibraryLoader::Free(h);
    }
};

class AddressDicTest : public ::testing::Test
{
protected:
    Api api;
};

} // namespace

TEST_F(AddressDicTest, NullPointersAndNegativeCountsAreRefused)
{
    TPosCityRec city{};
    TAdrsCityRec adrsCity{};
    TAdrsTownRec adrsTown{};
    TMtAdrsAnswerRec answer{};
    TKanaCityRec kanaCity{};
    TAdrsConvAnswerRec conv{};
    std::array<char, 14> area{};
    int16_t n16 = 0;
    int32_t n = 0;
    const char* dic = Fixture.constData();
    const int32_t codes[] = {
        api.jisCount(nullptr, &n, dic),
        api.jisCount("a", nullptr, dic),
        api.jisCount("a", &n, nullptr),
        api.jisList(A("東京都").constData(), &adrsCity, -1, dic),
        api.zsTownList("a", nullptr, &adrsTown, 1, dic),
        api.mtAdrs(nullptr, &answer, dic),
        api.mtAdrs("13101048001", nullptr, dic),
        api.cityAll(13, nullptr, 5, dic),
        api.cityAll(13, &kanaCity, -5, dic),
        api.tdfknPart(1, nullptr, dic),
        api.convert(nullptr, &conv, dic),
        api.convert("a", &conv, nullptr),
        api.prefix(nullptr, area.data(), &n16, dic),
        api.prefix("0466", area.data(), nullptr, dic),
        api.city2("0466", nullptr, dic),
    };
    for (size_t i = 0; i < std::size(codes); ++i)
        EXPECT_EQ(codes[i], DIC_BAD_ARGUMENT) << i;
    int16_t code = 0;
    EXPECT_EQ(api.first(nullptr, &n, &code, dic), 0);
    EXPECT_EQ(code, DIC_BAD_INPUT);
    EXPECT_EQ(api.first("1000001", nullptr, &code, dic), 0);
    const int32_t h = api.first("1000001", &n, &code, dic);
    ASSERT_NE(h, 0);
    EXPECT_EQ(api.cityList(h, nullptr, 0, 1), DIC_BAD_ARGUMENT);
    EXPECT_EQ(api.cityList(h, &city, 0, -1), DIC_BAD_ARGUMENT);
    EXPECT_EQ(api.townList(h, nullptr, nullptr, 0, 1), DIC_BAD_ARGUMENT);
    EXPECT_EQ(api.close(h), DIC_OK);
    int32_t status = 0;
    EXPECT_EQ(api.townFirst("0466", nullptr, nullptr, &status, dic), 0);
    EXPECT_EQ(status, DIC_BAD_ARGUMENT);
}

TEST_F(AddressDicTest, HandlesAndBindOnlyEntryPoints)
{
    TPosCityRec city{};
    std::array<TKykbnTownRec, KykbnBlockSize> block{};
    EXPECT_EQ(api.cityList(12345, &city, 0, 1), DIC_BAD_HANDLE);
    EXPECT_EQ(api.close(0), DIC_BAD_HANDLE);
    EXPECT_EQ(api.townNext(999, block.data()), DIC_BAD_HANDLE);
    EXPECT_EQ(api.townClose(999), DIC_BAD_HANDLE);
    EXPECT_EQ(api.post(1), DIC_NOT_SUPPORTED);
    EXPECT_EQ(api.townPrev(1, block.data()), DIC_NOT_SUPPORTED);
    EXPECT_EQ(api.azaAll("13101048", nullptr, 0, Fixture.constData()), DIC_NOT_SUPPORTED);
}

TEST_F(AddressDicTest, MissingAndDamagedDictionaries)
{
    QTemporaryDir temp;
    const QByteArray folder = QFile::encodeName(temp.path() + u'/');
    int32_t n = 0;
    TMtAdrsAnswerRec answer{};
    EXPECT_EQ(api.jisCount(A("東京都").constData(), &n, folder.constData()), DIC_NO_DICTIONARY);
    const QByteArray good = ReadFileBytes(QString::fromUtf8(Fixture) + QStringLiteral("Adrs.dic"));
    const QByteArray damaged[] = {
        "",
        "TOVAREL ADRS 2\n",
        "TOVAREL ADRS 1\nP\t01\tx\ty\t1\t1",                       // no final LF
        "TOVAREL ADRS 1\nP\t02\tx\ty\t1\t1\n",                     // prefectures out of order
        "TOVAREL ADRS 1\nP\t01\tx\ty\t1\t99999999999\n",           // past uint32
        "TOVAREL ADRS 1\nT\t01101\t001\t0600000\tx\ty\t0\t1\t1\n", // a town before its municipality
        "TOVAREL ADRS 1\nP\t01\tx\ty\t1\t1\nC\t01101\tx\ty\t1\t1\t\nX\t123\t02101\n", // unknown municipality
        "TOVAREL ADRS 1\nQ\n",
        good.left(good.size() / 2),
    };
    for (const QByteArray& bytes : damaged) {
        WriteFileBytes(temp.path() + QStringLiteral("/Adrs.dic"), bytes);
        EXPECT_EQ(api.jisCount(A("東京都").constData(), &n, folder.constData()), DIC_BAD_DICTIONARY)
            << bytes.left(60).constData();
        EXPECT_EQ(api.mtAdrs("13101048001", &answer, folder.constData()), DIC_BAD_DICTIONARY);
    }
    // A repaired file is read again.
    WriteFileBytes(temp.path() + QStringLiteral("/Adrs.dic"), good);
    EXPECT_EQ(api.jisCount(A("東京都").constData(), &n, folder.constData()), DIC_OK);
}

TEST_F(AddressDicTest, ListsFillNoMoreThanTheBufferHolds)
{
    int32_t n = 0;
    ASSERT_EQ(api.jisCount(A("東京都").constData(), &n, Fixture.constData()), DIC_OK);
    ASSERT_GT(n, 3);
    std::array<TAdrsCityRec, 4> cities;
    std::memset(cities.data(), 0x7F, sizeof cities);
    ASSERT_EQ(api.jisList(A("東京都").constData(), cities.data(), 3, Fixture.constData()), DIC_OK);
    EXPECT_EQ(cities[3].JisCode[0], 0x7F);
    EXPECT_EQ(std::string(cities[0].JisCode, 5), "13101");

    std::array<TKanaPrefRec, KanaRegionSlots> prefs{};
    EXPECT_EQ(api.tdfknPart(6, prefs.data(), Fixture.constData()), DIC_BAD_INPUT);
    EXPECT_EQ(api.cityAll(48, nullptr, 0, Fixture.constData()), DIC_BAD_ARGUMENT);
}

TEST_F(AddressDicTest, TownFetchReportsBlocksThenTheEnd)
{
    std::array<TKykbnCityRec, KykbnBlockSize> areas{};
    ASSERT_EQ(api.city2("0459710000", areas.data(), Fixture.constData()), DIC_OK);
    const TKykbnCityRec* aoba = nullptr;
    for (const TKykbnCityRec& a : areas)
        if (std::string(a.JisCode, 5) == "14117")
            aoba = &a;
    ASSERT_TRUE(aoba);
    std::array<TKykbnTownRec, KykbnBlockSize> block{};
    int32_t status = -1;
    const int32_t h = api.townFirst("0459710000", aoba, block.data(), &status, Fixture.constData());
    ASSERT_NE(h, 0);
    EXPECT_EQ(status, DLTL_MORE_BLOCKS);
    EXPECT_EQ(api.townNext(h, block.data()), DLTL_MORE_BLOCKS);
    EXPECT_EQ(api.townNext(h, block.data()), DLTL_LAST_BLOCK);
    EXPECT_NE(block[4].Name[0], 0);
    EXPECT_EQ(block[5].Name[0], 0); // the rest of the last block is zeroed
    EXPECT_EQ(api.townNext(h, block.data()), DIC_NOT_FOUND);
    EXPECT_EQ(api.townClose(h), DIC_OK);
    EXPECT_EQ(api.townClose(h), DIC_BAD_HANDLE);
}
