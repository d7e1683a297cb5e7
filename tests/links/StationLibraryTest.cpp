// The stand-in station library through its entry points, and the distance and bearing of the route windows.
#include "links/RouteGeometry.h"
#include "links/StationLibrary.h"
#include "platform/Cp932.h"
#include "support/MessageRecorder.h"

#include <gtest/gtest.h>

namespace {

const QString ProgramDir = QStringLiteral(TOVAREL_PROGRAM_DIR);
const QString DicDir = ProgramDir + QStringLiteral("Dic/");

QByteArray Kana(const char* utf8)
{
    return Cp932::fromUnicode(QString::fromUtf8(utf8));
}

TStationRec StationByReading(TStationLibrary& picker, const char* reading)
{
    std::vector<TStationRec> rows;
    EXPECT_EQ(picker.ListByKana(Kana(reading), DicDir, rows), 0);
    EXPECT_EQ(rows.size(), 1u) << reading;
    return rows.empty() ? TStationRec{} : rows.front();
}

} // namespace

TEST(StationLibrary, NearestThreeAroundTokyoNearestFirstAndNoneAtSea)
{
    TStationLibrary picker(TStationLibrary::Use::Picker);
    TStationLibrary main(TStationLibrary::Use::Main);
    ASSERT_EQ(picker.Load(ProgramDir), TStationLibrary::Loaded);
    ASSERT_EQ(main.Load(ProgramDir), TStationLibrary::Loaded);

    // About 400 m south of the station of Kanda.
    const TStationRec kanda = StationByReading(picker, "ｶﾝﾀﾞ");
    std::array<TStationRec, StationSearchBufferCount> near;
    ASSERT_EQ(main.SearchFromPoint(kanda.Latitude - 13 * 256, kanda.Longitude, DicDir, near), 0);
    EXPECT_EQ(StationText(near[0].Name), QStringLiteral("神田"));
    EXPECT_EQ(near[0].Bearing, 1);
    EXPECT_NEAR(near[0].Distance, 400, 20);
    for (int i = 1; i < StationNearestCount; ++i) {
        EXPECT_NE(near[size_t(i)].Latitude, 0u);
        EXPECT_LE(near[size_t(i - 1)].Distance, near[size_t(i)].Distance);
        EXPECT_GE(near[size_t(i)].Bearing, 1);
        EXPECT_LE(near[size_t(i)].Bearing, 8);
    }
    EXPECT_EQ(near[3].Latitude, 0u) << "only three are handed out";
    EXPECT_EQ(StationText(near[1].Name), QStringLiteral("東京"));
    EXPECT_EQ(near[1].Bearing, 6) << "Tokyo lies south-south-west of that point";

    // Sagami Bay, 30 km from any station.
    const uint32_t seaLat = uint32_t(35.1 * 3600 * 256);
    const uint32_t seaLon = uint32_t(139.4 * 3600 * 256);
    EXPECT_EQ(main.SearchFromPoint(seaLat, seaLon, DicDir, near), DlstinfNotFound);
    EXPECT_EQ(near[0].Latitude, 0u);
}

TEST(StationLibrary, KanaRowsPrefixesAndLines)
{
    TStationLibrary picker(TStationLibrary::Use::Picker);
    TStationLibrary main(TStationLibrary::Use::Main);
    ASSERT_EQ(picker.Load(ProgramDir), 0);
    ASSERT_EQ(main.Load(ProgramDir), 0);

    // The row of わ holds the single letter 0xDC.
    std::vector<TStationRec> rows;
    EXPECT_EQ(picker.ListByKana(QByteArray(1, char(0xDC)), DicDir, rows), 0);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(StationText(rows[0].Name), QStringLiteral("和歌山"));

    // A one-letter reading lists every station beginning with it; longer prefixes narrow down.
    rows.clear();
    EXPECT_EQ(picker.ListByKana(Kana("ｼ"), DicDir, rows), 0);
    QStringList names;
    for (const TStationRec& r : rows)
        names << StationText(r.Name);
    EXPECT_TRUE(names.contains(QStringLiteral("品川")) && names.contains(QStringLiteral("新宿")) &&
                names.contains(QStringLiteral("静岡")))
        << names.join(u' ').toStdString();
    rows.clear();
    EXPECT_EQ(picker.ListByKana(Kana("ｼﾝｼﾞｭ"), DicDir, rows), 0);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(QByteArray(rows[0].Code, 6).size(), 6);
    rows.clear();
    EXPECT_EQ(picker.ListByKana(Kana("ｦ"), DicDir, rows), DlstinfNotFound);
    EXPECT_TRUE(rows.empty());

    QStringList lines;
    const TStationRec tokyo = StationByReading(picker, "ﾄｳｷｮｳ");
    EXPECT_EQ(main.Lines(tokyo.Serial, DicDir, lines), 0);
    EXPECT_EQ(lines.value(0), QStringLiteral("山手線"));
    EXPECT_TRUE(lines.contains(QStringLiteral("東海道新幹線")));
    EXPECT_EQ(main.Lines(9999, DicDir, lines), DlstinfNotFound);
    EXPECT_EQ(main.Lines(1, QStringLiteral("/nonexistent/"), lines), DlstinfNoData);
}

TEST(StationLibrary, LoadAndEntryPointFailuresShowTheirBoxes)
{
    MessageRecorder boxes;
    boxes.allowUnexpected();
    {
        LibraryLoader::SetFailingLoad(QStringLiteral("Dlstinf.dll"));
        TStationLibrary main(TStationLibrary::Use::Main);
        EXPECT_EQ(main.Load(ProgramDir), TStationLibrary::LoadFailed);
        EXPECT_FALSE(main.IsLoaded());
        LibraryLoader::ClearFailures();
    }
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("Dlstinf.dll\r\nDLLのロードに失敗しました"));
    EXPECT_EQ(boxes.last().caption, QStringLiteral("Dlstinf.dll LoadLibrary Error"));
    EXPECT_EQ(boxes.last().flags & 0xF0, unsigned(MsgSeam::MbIconStop));
    {
        LibraryLoader::SetFailingSymbol(QStringLiteral("Dlstinf.dll"), QStringLiteral("LineList"));
        TStationLibrary main(TStationLibrary::Use::Main);
        EXPECT_EQ(main.Load(ProgramDir), TStationLibrary::EntryPointMissing);
        EXPECT_FALSE(main.IsLoaded());
        LibraryLoader::ClearFailures();
    }
    ASSERT_EQ(boxes.count(), 2);
    EXPECT_EQ(boxes.last().text, QStringLiteral("LineList\r\n関数の割り当てに失敗しました"));
    EXPECT_EQ(boxes.last().caption, QStringLiteral("Dlstinf.dll GetProcAddress Error"));
    TStationLibrary::ShowCallError("StationListEx", 3);
    EXPECT_EQ(boxes.last().text, QStringLiteral("StationListEx (Dlstinf.dll) Call Error\r\nRC = 3"));
    EXPECT_EQ(boxes.last().caption, QStringLiteral("Tovarel"));
}

TEST(RouteGeometry, BearingsAndDistances)
{
    struct Case
    {
        int dLat, dLon, bearing;
    };
    const uint32_t lat = 500000;
    const uint32_t lon = 2000000;
    for (const Case c : {Case{100, 0, 1}, Case{100, 100, 2}, Case{0, 100, 3}, Case{-100, 100, 4},
                         Case{-100, 0, 5}, Case{-100, -100, 6}, Case{0, -100, 7}, Case{100, -100, 8},
                         Case{0, 0, 0}, Case{100, 41, 1}, Case{100, 42, 2}})
        EXPECT_EQ(RouteGeometry::GetBearing(lat, lon, uint32_t(int64_t(lat) + c.dLat),
                                            uint32_t(int64_t(lon) + c.dLon)),
                  c.bearing)
            << c.dLat << "," << c.dLon;

    EXPECT_EQ(RouteGeometry::DistanceMetres(0, 0, 0, 0), 0);
    // 1000 ms is 30.86 m; 3 s north and 4 s east make 5 s, 154.32 m.
    EXPECT_EQ(RouteGeometry::DistanceMetres(0, 0, 1000, 0), 31);
    EXPECT_EQ(RouteGeometry::DistanceMetres(0, 0, -3000, 4000), 154);
    EXPECT_EQ(RouteGeometry::DistanceMetres(INT32_MIN, 0, INT32_MAX, 0), 132560719);
}
