// Font values and their Qt fonts, full/half-width mapping and the merge-time text rewrites.
#include "core/FontSub.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>

#include <gtest/gtest.h>

namespace {

QString W(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

TEST(FontSub, FullAndHalfWidthBothWays)
{
    struct Case
    {
        const char* half;
        const char* full;
    };
    const Case cases[] = {
        {"ABC xyz~!09", "ＡＢＣ　ｘｙｚ～！０９"},
        {"\"'\\", "＂＇＼"},
        {"ｶﾞｷﾞﾊﾟﾎﾟｳﾞﾂﾞ", "ガギパポヴヅ"},
        {"｡｢｣､･ｰ", "。「」、・ー"},
        {"ｱﾞｶﾟﾞ", "ア゛カ゜゛"}, // marks that do not compose stay marks
        {"ｦｧｯｬ", "ヲァッャ"},
        {"あ漢ヶ", "あ漢ヶ"}, // nothing to map
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.half);
        EXPECT_EQ(ToFullWidthW(W(c.half)), W(c.full));
        EXPECT_EQ(ToHalfWidthW(W(c.full)), W(c.half));
        EXPECT_EQ(ToFullWidth(ToAnsi(W(c.half))), ToAnsi(W(c.full)));
        EXPECT_EQ(ToHalfWidth(ToAnsi(W(c.full))), ToAnsi(W(c.half)));
    }
    // Bytes that are not CP932 text come back as they were.
    const AnsiString broken("a\x81", 2);
    EXPECT_EQ(ToFullWidth(broken), broken);
    EXPECT_EQ(ToHalfWidth(broken), broken);
}

TEST(FontSub, CompanyTypes)
{
    struct Case
    {
        const char* text;
        const char* expanded;
    };
    const Case expansions[] = {
        {"（株）山田商店", "株式会社山田商店"}, {"山田(有", "山田有限会社"},
        {"株）山田", "株式会社山田"},           {"（財）日本（社）(学)", "財団法人日本社団法人学校法人"},
        {"（株）（株）", "株式会社株式会社"},   {"株式会社", "株式会社"},
    };
    for (const Case& c : expansions) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ExpandCompanyType(W(c.text)), W(c.expanded));
    }
    EXPECT_EQ(AbbreviateCompanyType(W("株式会社山田"), true), W("（株）山田"));
    EXPECT_EQ(AbbreviateCompanyType(W("株式会社山田"), false), W("(株)山田"));
    EXPECT_EQ(AbbreviateCompanyType(W("宗教法人甲合名会社"), false), W("(宗)甲(名)"));
}

TEST(FontSub, PrefecturesDigitsAndDashes)
{
    EXPECT_EQ(RemovePrefectureNames(W("東京都千代田区")), W("千代田区"));
    EXPECT_EQ(RemovePrefectureNames(W("京都府京都市と大阪府")), W("京都市と"));
    // Removing one name can bring another together: it goes as well.
    EXPECT_EQ(RemovePrefectureNames(W("東京東京都都")), W(""));
    EXPECT_EQ(DigitsToKanji(W("１２－３0")), W("一二－三0"));
    EXPECT_EQ(ReplaceDashes(W("一二－三"), 1), W("一二の三"));
    EXPECT_EQ(ReplaceDashes(W("ア－イ―ウ‐エ-"), 0), W("アーイーウーエ-"));
}

TEST(FontSub, AttributesAndStyleBits)
{
    EXPECT_FALSE(SetFontAttributes(nullptr, ShiftJisCharset, W("ＭＳ 明朝"), 10, 0));
    TFontSpec spec;
    ASSERT_TRUE(SetFontAttributes(&spec, AnsiCharset, QStringLiteral("Arial"), 12, 0x1F));
    EXPECT_EQ(spec.charset, AnsiCharset);
    EXPECT_EQ(spec.name, QStringLiteral("Arial"));
    EXPECT_EQ(spec.size, 12);
    EXPECT_EQ(GetFontStyleBits(spec), 0x0F);

    QFont f;
    f.setBold(true);
    f.setUnderline(true);
    EXPECT_EQ(GetFontStyleBits(f), FontStyleBold | FontStyleUnderline);
    EXPECT_EQ(GetFontStyleBits(ToQFont(spec)), 0x0F);
}

TEST(FontSub, VerticalHorizontalAndRotation)
{
    TFontSpec mincho;
    mincho.name = W("ＭＳ 明朝");
    MakeVerticalFont(mincho);
    EXPECT_EQ(mincho.name, W("@ＭＳ 明朝"));
    EXPECT_EQ(mincho.escapement, 2700);
    EXPECT_EQ(mincho.orientation, 2700);
    MakeVerticalFont(mincho);
    EXPECT_EQ(mincho.name, W("@ＭＳ 明朝"));
    MakeHorizontalFont(mincho);
    EXPECT_EQ(mincho.name, W("ＭＳ 明朝"));
    EXPECT_EQ(mincho.escapement, 0);

    TFontSpec ansi;
    SetFontAttributes(&ansi, AnsiCharset, QStringLiteral("Arial"), 10, 0);
    MakeVerticalFont(ansi);
    EXPECT_EQ(ansi.name, QStringLiteral("Arial"));
    EXPECT_EQ(ansi.escapement, 2700);
    ansi.name = QStringLiteral("@Arial");
    MakeHorizontalFont(ansi);
    EXPECT_EQ(ansi.name, QStringLiteral("Arial"));

    const std::pair<int, int> turns[] = {{0, 1800}, {900, 2700}, {1799, 3599}, {1800, 0}, {2700, 900}};
    for (auto [from, to] : turns) {
        TFontSpec f;
        f.escapement = f.orientation = from;
        RotateFont180(f);
        EXPECT_EQ(f.escapement, to) << from;
        EXPECT_EQ(f.orientation, to) << from;
    }
}

TEST(FontSub, WidthFactor)
{
    QImage device(10, 10, QImage::Format_RGB32);
    device.setDotsPerMeterX(3780); // 96 dpi
    device.setDotsPerMeterY(3780);
    TFontSpec spec;
    spec.size = 20;
    const int natural = QFontMetrics(ToQFont(spec, &device), &device).averageCharWidth();
    ASSERT_GT(natural, 0);

    SetFontWidthFactor(spec, 2.0, &device);
    EXPECT_EQ(spec.width, natural * 2);
    EXPECT_NEAR(ToQFont(spec, &device).stretch(), 200, 1);
    SetFontWidthFactor(spec, 0.5, &device); // relative to the width now in force
    EXPECT_EQ(spec.width, natural);
    SetFontWidthFactor(spec, 1.0, &device);
    EXPECT_EQ(spec.width, 0);
    spec.width = 7;
    SetFontWidthFactor(spec, 0.0, &device);
    EXPECT_EQ(spec.width, 0);
}

TEST(FontSub, DocumentFacesResolveToInstalledJapaneseFaces)
{
    struct Case
    {
        const char* face;
        const char* installed;
    };
    const Case cases[] = {
        {"ＭＳ 明朝", "IPAMincho"},
        {"@ＭＳ 明朝", "IPAMincho"},
        {"ＭＳ ゴシック", "IPAGothic"},
        {"ＭＳ Ｐゴシック", "IPAPGothic"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face);
        TFontSpec spec;
        spec.name = W(c.face);
        const QFontInfo info(ToQFont(spec));
        EXPECT_EQ(info.family(), QLatin1String(c.installed));
    }
}

TEST(FontSub, EnumFontNames)
{
    QList<TFontNameEntry> names;
    EnumFontNames(names, false, false);
    ASSERT_FALSE(names.isEmpty());
    bool sawMincho = false;
    for (const TFontNameEntry& e : names) {
        EXPECT_FALSE(e.name.startsWith(u'@')) << e.name.toStdString();
        EXPECT_TRUE(e.charset == AnsiCharset || e.charset == ShiftJisCharset) << e.name.toStdString();
        if (e.name == QLatin1String("IPAMincho")) {
            sawMincho = true;
            EXPECT_EQ(e.charset, ShiftJisCharset);
        }
    }
    EXPECT_TRUE(sawMincho);

    QList<TFontNameEntry> fixed;
    EnumFontNames(fixed, true, true);
    EXPECT_LE(fixed.size(), names.size() + 100);
    for (const TFontNameEntry& e : fixed)
        EXPECT_TRUE(QFontDatabase::isFixedPitch(e.name)) << e.name.toStdString();
}

} // namespace
