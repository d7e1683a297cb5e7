// The program's message boxes go through the seam with their caption, flags and placement.
#include "core/MsgBoxPos.h"
#include "support/MessageRecorder.h"

#include <gtest/gtest.h>
#include <QWidget>

namespace {

TEST(MsgBoxPos, RequestsCarryOwnerFlagsAndPlacement)
{
    QWidget owner;
    MessageRecorder rec;
    rec.answer(MsgSeam::IdNo).answer(MsgSeam::IdOk).answer(MsgSeam::IdOk).answer(MsgSeam::IdYes);
    EXPECT_EQ(MessageBoxPos(&owner, "削除しますか？  ", ProductTitle, 292), MsgSeam::IdNo);
    EXPECT_EQ(MessageBoxPos(&owner, "a", ProductTitle, 64, 2), MsgSeam::IdOk);
    // Nothing to centre on: left where the system puts it.
    EXPECT_EQ(MessageBoxPos(nullptr, "b", ProductTitle, 16, 0), MsgSeam::IdOk);
    EXPECT_EQ(ApplicationMessageBox("c", 48 | MsgSeam::MbYesNo), MsgSeam::IdYes);

    ASSERT_EQ(rec.count(), 4);
    const auto& m = rec.messages();
    EXPECT_EQ(m[0].owner, &owner);
    EXPECT_EQ(m[0].mode, 0);
    EXPECT_EQ(m[0].flags, 292u);
    EXPECT_EQ(m[0].source, MsgSeam::Source::Positioned);
    EXPECT_EQ(m[1].mode, 2);
    EXPECT_EQ(m[2].mode, 2);
    EXPECT_EQ(m[3].source, MsgSeam::Source::Application);
    EXPECT_EQ(m[3].caption, QStringLiteral("Tovarel"));
    EXPECT_EQ(m[3].owner, nullptr);
}

} // namespace
