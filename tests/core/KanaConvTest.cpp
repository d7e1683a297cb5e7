// Tests of the hiragana and half-width conversions.
#include "core/KanaConv.h"

#include <gtest/gtest.h>

TEST(KanaConv, HiraganaAndHalfWidth)
{
    struct Case
    {
        const char16_t* in;
        const char16_t* hira; // after HiraganaToHalfKatakana
        const char16_t* half; // after ToHalfWidth of the original
    } cases[] = {
        {u"やまだ", u"ﾔﾏﾀﾞ", u"やまだ"},
        {u"ぱーてぃー、。", u"ﾊﾟｰﾃｨｰ､｡", u"ぱｰてぃｰ､｡"},
        {u"ヴぁ", u"ｳﾞｧ", u"ｳﾞぁ"},
        {u"ゔ", u"ｳﾞ", u"ゔ"},
        {u"ゐ山", u"ゐ山", u"ゐ山"},
        {u"ガッコウ", u"ガッコウ", u"ｶﾞｯｺｳ"},
        {u"ヂヅヲン・", u"ヂヅヲン・", u"ﾁﾞﾂﾞｦﾝ･"},
        {u"ヵヶヰ", u"ヵヶヰ", u"ヵヶヰ"},
        {u"ＡＢｃ１２　！", u"ＡＢｃ１２　！", u"ABc12 !"},
        {u"「￥」", u"「￥」", u"｢\\｣"},
    };
    for (const Case& c : cases) {
        const QString in = QString::fromUtf16(c.in);
        SCOPED_TRACE(in.toStdString());
        EXPECT_EQ(KanaConv::HiraganaToHalfKatakana(in), QString::fromUtf16(c.hira));
        EXPECT_EQ(KanaConv::ToHalfWidth(in), QString::fromUtf16(c.half));
    }
}
