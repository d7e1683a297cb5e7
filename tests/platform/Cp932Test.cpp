// CP932 codec: round trips of the characters Windows and Linux disagree on, and boundary walks.
#include "platform/Cp932.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp932, RoundTripsOfCharactersThatDifferBetweenCodePages)
{
    struct Case
    {
        const char16_t* text;
        const char* hex;
    };
    const Case cases[] = {
        {u"ABC", "414243"},
        {u"\uFF5E", "8160"}, // ～ (Windows form of 〜)
        {u"\uFF0D", "817c"}, // －
        {u"\u2460", "8740"}, // ① NEC special row
        {u"\u9AD9", "fbfc"}, // 髙 IBM extension
        {u"\u7E8A", "fa5c"}, // 纊 IBM extension, the form Windows writes
        {u"\u4E9C", "889f"}, // 亜
        {u"\uFF71", "b1"},   // ｱ half-width
        {u"\u30A2", "8341"}, // ア
    };
    for (const Case& c : cases) {
        const QString wide = QString::fromUtf16(c.text);
        SCOPED_TRACE(c.hex);
        bool ok = false;
        EXPECT_EQ(Cp932::fromUnicode(wide, &ok).toHex(), QByteArray(c.hex));
        EXPECT_TRUE(ok);
        EXPECT_EQ(Cp932::toUnicode(QByteArray::fromHex(c.hex)), wide);
    }
}

TEST(Cp932, InputMethodFormsMapLikeWindowsBestFit)
{
    EXPECT_EQ(Cp932::toUnicode(QByteArray::fromHex("ed40")), QString(QChar(0x7E8A))); // NEC-selected row reads

    EXPECT_EQ(Cp932::fromUnicode(QString(QChar(0x301C))).toHex(), QByteArray("8160")); // 〜
    EXPECT_EQ(Cp932::fromUnicode(QString(QChar(0x2212))).toHex(), QByteArray("817c")); // −
}

TEST(Cp932, UnrepresentableBecomesQuestionMark)
{
    bool ok = true;
    EXPECT_EQ(Cp932::fromUnicode(QStringLiteral("a\u00E9b"), &ok), QByteArray("a?b"));
    EXPECT_FALSE(ok);
    EXPECT_FALSE(Cp932::canEncode(QString::fromUtf16(u"\U0001F600")));
    EXPECT_EQ(Cp932::fromUnicode(QString::fromUtf16(u"x\U0001F600y")), QByteArray("x?y"));
}

TEST(Cp932, BadBytesDecodeToReplacementAndGoOn)
{
    EXPECT_EQ(Cp932::toUnicode(QByteArray::fromHex("41FF42")), QStringLiteral("A\uFFFDB"));
    EXPECT_EQ(Cp932::toUnicode(QByteArray::fromHex("4188")), QStringLiteral("A\uFFFD"));
}

TEST(Cp932, BoundaryWalkFromStart)
{
    // ア (83 41) then 亜 (88 9F) then A: the 41 and 9F trail bytes look like lead/ASCII bytes.
    const QByteArray s = QByteArray::fromHex("8341889F41");
    EXPECT_TRUE(Cp932::isLeadByteAt(s, 0));
    EXPECT_TRUE(Cp932::isTrailByteAt(s, 1));
    EXPECT_TRUE(Cp932::isLeadByteAt(s, 2));
    EXPECT_FALSE(Cp932::isLeadByteAt(s, 3)); // 9F here is a trail byte
    EXPECT_FALSE(Cp932::isLeadByteAt(s, 4));
    EXPECT_EQ(Cp932::cutAtBoundary(s, 1), QByteArray::fromHex(""));
    EXPECT_EQ(Cp932::cutAtBoundary(s, 3), QByteArray::fromHex("8341"));
    EXPECT_EQ(Cp932::cutAtBoundary(s, 4), QByteArray::fromHex("8341889F"));
    EXPECT_EQ(Cp932::cutAtBoundary(s, 99), s);
    EXPECT_EQ(Cp932::cutToBytes(QStringLiteral("アイウ"), 5), QStringLiteral("アイ"));
}

} // namespace
