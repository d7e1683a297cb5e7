// The up-down number edit: steps by key, accepted and refused text, read-only state, Enter moving on.
#include "core/UpDownEdit.h"

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

TEST(UpDownEdit, ParsesLengthsAndCounts)
{
    const struct
    {
        const char* text;
        bool ok;
        int tenths;
    } lengths[] = {{"150", true, 1500}, {"12.34", true, 123}, {"12.35", true, 124}, {"3.", true, 30},
                   {".5", true, 5},     {"9999", true, 32767}, {"", false, 0},      {"1.2.3", false, 0},
                   {"-5", false, 0},    {"1,5", false, 0},     {"１２", false, 0},   {".", false, 0}};
    for (const auto& c : lengths) {
        int value = -1;
        EXPECT_EQ(ParseLengthText(QString::fromUtf8(c.text), value), c.ok) << c.text;
        if (c.ok)
            EXPECT_EQ(value, c.tenths) << c.text;
    }
    int count = 0;
    EXPECT_TRUE(ParseCountText(QStringLiteral("12"), count));
    EXPECT_EQ(count, 12);
    EXPECT_TRUE(ParseCountText(QStringLiteral("123456789012"), count));
    EXPECT_EQ(count, 32767);
    EXPECT_FALSE(ParseCountText(QStringLiteral("1.5"), count));
    EXPECT_FALSE(ParseCountText(QString(), count));
}

TEST(UpDownEdit, KeysStepAndTextIsJudgedOnLeaving)
{
    QWidget form;
    auto* layout = new QVBoxLayout(&form);
    auto* edit = new TUpDownEdit(&form, TUpDownEdit::Style::Length);
    auto* next = new QLineEdit(&form);
    layout->addWidget(edit);
    layout->addWidget(next);
    edit->SetRange(500, 5940);
    edit->SetValue(1000);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QSignalSpy applied(edit, &TUpDownEdit::ValueApplied);
    edit->setFocus();

    const struct
    {
        Qt::Key key;
        int value;
    } steps[] = {{Qt::Key_PageUp, 1010}, {Qt::Key_Up, 1011}, {Qt::Key_Down, 1010}, {Qt::Key_PageDown, 1000}};
    for (const auto& s : steps) {
        QTest::keyClick(edit, s.key);
        EXPECT_EQ(edit->Value(), s.value);
    }
    EXPECT_EQ(applied.count(), 4);
    EXPECT_EQ(edit->findChild<QLineEdit*>()->text(), QStringLiteral("100.0"));

    // Refused text comes back when the edit is left; accepted text is clamped to the range.
    edit->findChild<QLineEdit*>()->setText(QStringLiteral("abc"));
    next->setFocus();
    EXPECT_EQ(edit->findChild<QLineEdit*>()->text(), QStringLiteral("100.0"));
    EXPECT_EQ(applied.count(), 4);
    edit->setFocus();
    edit->findChild<QLineEdit*>()->setText(QStringLiteral("9000"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(edit->Value(), 5940);
    EXPECT_EQ(applied.count(), 5);
    EXPECT_TRUE(next->hasFocus());

    // Locked: no steps, no edits.
    edit->SetLocked(true);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_PageDown);
    EXPECT_EQ(edit->Value(), 5940);
    EXPECT_NE(edit->palette().color(QPalette::Base), QPalette().color(QPalette::Base));
    edit->SetLocked(false);
    EXPECT_EQ(edit->palette().color(QPalette::Base), QPalette().color(QPalette::Base));
}

} // namespace
