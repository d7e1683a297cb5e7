// Message box placement and the recorder seam.
#include "platform/MessageSeam.h"
#include "support/MessageRecorder.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageSeam, PlacementModesStayInsideWorkArea)
{
    const QRect work(0, 0, 1000, 700);
    struct Case
    {
        const char* name;
        QRect owner;
        int mode;
        QPoint point;
        QPoint expected;
    } cases[] = {
        {"centred over owner", QRect(100, 100, 400, 300), 0, {}, QPoint(200, 200)},
        {"owner smaller than box", QRect(300, 300, 100, 50), 0, {}, QPoint(250, 275)},
        {"odd difference truncates", QRect(0, 0, 201, 101), 0, {}, QPoint(0, 0)},
        {"point mode at origin", QRect(), 1, QPoint(0, 0), QPoint(0, 0)},
        {"unplaced centres on work area", QRect(), 2, {}, QPoint(400, 300)},
        {"pushed back from right/bottom edge", QRect(900, 650, 100, 50), 0, {}, QPoint(800, 600)},
        {"pushed back from negative", QRect(-500, -500, 100, 100), 0, {}, QPoint(0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MsgSeam::PlaceBox(c.owner, QSize(200, 100), c.mode, c.point, work), c.expected);
    }
}

TEST(MessageSeam, RecorderAnswersFromScriptAndRestoresHandler)
{
    {
        MessageRecorder rec;
        rec.answer(MsgSeam::IdNo);
        MsgSeam::Request r;
        r.text = QStringLiteral("削除しますか？  ");
        r.flags = MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2;
        EXPECT_EQ(MsgSeam::Show(r), MsgSeam::IdNo);
        ASSERT_EQ(rec.count(), 1);
        EXPECT_EQ(rec.last().flags, 292u);
    }
    // Nested recorders restore the outer one.
    MessageRecorder outer;
    outer.answer(MsgSeam::IdOk);
    {
        MessageRecorder inner;
        inner.answer(MsgSeam::IdCancel);
        EXPECT_EQ(MsgSeam::Show({}), MsgSeam::IdCancel);
    }
    EXPECT_EQ(MsgSeam::Show({}), MsgSeam::IdOk);
    EXPECT_EQ(outer.count(), 1);
}

} // namespace
