// The recording device: what is drawn comes back as items with transforms and clips, and replays at any
// scale as it was drawn.
#include "platform/DisplayList.h"

#include "support/DrawingFixture.h"

#include <QImage>
#include <QPainter>

namespace {

class DisplayListTest : public DrawingTest
{
};

void drawScene(QPainter& p)
{
    p.fillRect(10, 10, 40, 40, Qt::red);
    p.save();
    p.setClipRect(60, 0, 20, 100);
    p.fillRect(50, 50, 50, 50, Qt::blue); // only 60..80 shows
    p.restore();
    p.save();
    p.translate(20, 80);
    p.rotate(90);
    p.setPen(Qt::black);
    QFont font("IPAGothic");
    font.setPixelSize(12);
    p.setFont(font);
    p.drawText(QPointF(0, 0), QStringLiteral("字"));
    QImage dot(2, 2, QImage::Format_RGB32);
    dot.fill(Qt::green);
    p.restore();
    p.drawImage(QRectF(90, 0, 10, 10), dot);
}

TEST_F(DisplayListTest, RecordsItemsWithTheirState)
{
    TDisplayList list(QSize(100, 100), 600, 600);
    EXPECT_EQ(list.logicalDpiY(), 600);
    QPainter painter(&list);
    drawScene(painter);
    painter.end();
    const auto& items = list.Items();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].kind, TDisplayItem::Path);
    EXPECT_FALSE(items[0].clipped);
    EXPECT_TRUE(items[1].clipped);
    EXPECT_EQ(items[1].clip.boundingRect(), QRectF(60, 0, 20, 100));
    EXPECT_EQ(items[2].kind, TDisplayItem::Text);
    EXPECT_EQ(items[2].text, QStringLiteral("字"));
    EXPECT_EQ(items[2].font.pixelSize(), 12);
    EXPECT_EQ(items[2].DevicePosition(), QPointF(20, 80));
    EXPECT_NEAR(items[2].transform.m12(), 1, 1e-9);
    EXPECT_EQ(items[3].kind, TDisplayItem::Image);
    EXPECT_EQ(list.AllText(), QStringLiteral("字"));
}

TEST_F(DisplayListTest, ReplayIntoAnotherRecordingKeepsTheText)
{
    TDisplayList inner(QSize(100, 100), 600, 600);
    QPainter painter(&inner);
    drawScene(painter);
    painter.end();
    TDisplayList outer(QSize(50, 50), 96, 96);
    QPainter again(&outer);
    inner.ReplayInto(again, QRectF(0, 0, 50, 50));
    again.end();
    EXPECT_EQ(outer.AllText(), QStringLiteral("字"));
    EXPECT_EQ(outer.Items().size(), inner.Items().size());
}

TEST_F(DisplayListTest, ReplayMatchesDirectDrawingAtAnyScale)
{
    TDisplayList list(QSize(100, 100), 600, 600);
    QPainter recorder(&list);
    drawScene(recorder);
    recorder.end();

    for (double scale : {1.0, 0.5, 2.0}) {
        SCOPED_TRACE(scale);
        const int side = int(100 * scale);
        QImage direct(side, side, QImage::Format_RGB32);
        QImage replayed(side, side, QImage::Format_RGB32);
        direct.fill(Qt::white);
        replayed.fill(Qt::white);
        QPainter d(&direct);
        d.scale(scale, scale);
        drawScene(d);
        d.end();
        QPainter r(&replayed);
        list.ReplayInto(r, QRectF(0, 0, side, side));
        r.end();
        int differing = 0;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                differing += direct.pixel(x, y) != replayed.pixel(x, y);
        EXPECT_LE(differing,
                  side * side / 50); // glyph edges only: the replay draws glyphs sized for the target
        EXPECT_EQ(replayed.pixel(int(30 * scale), int(30 * scale)), qRgb(255, 0, 0));
        EXPECT_EQ(replayed.pixel(int(55 * scale), int(70 * scale)), qRgb(255, 255, 255));
        EXPECT_EQ(replayed.pixel(int(70 * scale), int(70 * scale)), qRgb(0, 0, 255));
    }
}

TEST_F(DisplayListTest, ReplayKeepsTheTargetsOwnClip)
{
    TDisplayList list(QSize(100, 100));
    QPainter recorder(&list);
    recorder.setClipRect(0, 0, 50, 100);
    recorder.fillRect(0, 0, 100, 100, Qt::black);
    recorder.end();
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setClipRect(0, 0, 100, 30);
    list.Replay(p);
    p.end();
    EXPECT_EQ(image.pixel(10, 10), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(10, 50), qRgb(255, 255, 255)); // outside the target's clip
    EXPECT_EQ(image.pixel(70, 10), qRgb(255, 255, 255)); // outside the recorded clip
}

} // namespace
