// Tests of the embedded map windows' decisions.
#include "links/MapViewLogic.h"

#include <gtest/gtest.h>

namespace {

TEST(MapViewLogic, BestAreaChoice)
{
    const TMapPoint coords{128412345, 503315678};
    const TMapPoint tokyo{128400000, 503300000};
    // Coordinates inside two areas: the smaller scale wins; equal scales keep the earlier area.
    EXPECT_EQ(ChooseMapArea(0, {{{}, 50000}, {{}, 25000}}, coords).area, 1);
    EXPECT_EQ(ChooseMapArea(0, {{{}, 25000}, {{}, 25000}}, coords).area, 0);
    // Kind 1 prefers the address; an address that no area finds falls back to the coordinates' area.
    const TAreaChoice byAddress = ChooseMapArea(1, {{{}, 25000}, {std::pair{100000, tokyo}, {}}}, coords);
    EXPECT_EQ(byAddress.area, 1);
    EXPECT_EQ(byAddress.position, tokyo);
    const TAreaChoice fallback = ChooseMapArea(1, {{{}, {}}, {{}, 50000}}, coords);
    EXPECT_EQ(fallback.area, 1);
    EXPECT_EQ(fallback.position, coords);
    EXPECT_EQ(ChooseMapArea(0, {{{}, {}}, {{}, {}}}, coords).area, -1);
}

TEST(MapViewLogic, ScaleFromTheAvailabilityMask)
{
    quint32 lowEight = 0;
    for (int i = 0; i <= 7; ++i)
        lowEight |= MapScaleBit(i);
    EXPECT_EQ(ScaleIndexFromMask(lowEight), 7);
    EXPECT_EQ(MapScaleCaption(7), QStringLiteral("1/50000"));
    EXPECT_EQ(ScaleIndexFromMask(lowEight | MapScaleBit(11)), 11);
    EXPECT_EQ(ScaleIndexFromMask(0x3FFFF), -1);
}

TEST(MapViewLogic, CopyRegionAndCornerText)
{
    EXPECT_EQ(RangeRegion({200, 150}, {40, 30}), RangeRegion({40, 30}, {200, 150}));
    EXPECT_EQ(RangeRegion({200, 30}, {40, 150}), QRect(40, 30, 160, 120));
    EXPECT_EQ(MapCoordinateText(128412045), QStringLiteral("35度40分12.045秒"));
    EXPECT_EQ(MapCoordinateText(126005007), QStringLiteral("35度00分05.007秒"));
    EXPECT_EQ(MapCornerText({128412045, 503315678}, {128000000, 504000000}),
              QStringLiteral("左上 北緯 : 35度40分12.045秒  東経 : 139度48分35.678秒\r\n"
                             "右下 北緯 : 35度33分20.000秒  東経 : 140度00分00.000秒\r\n"));
}

} // namespace
