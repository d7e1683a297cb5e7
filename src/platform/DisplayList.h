// A recording paint device: what a painter draws on it is kept as a list of items (text runs, paths, images,
// each with its transform, pen, brush and clip) that replays onto any painter at any scale and that tests
// read.
#pragma once

#include <QBrush>
#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QPaintDevice>
#include <QPainterPath>
#include <QPen>
#include <QSize>
#include <QTransform>

#include <memory>
#include <vector>

class TRecordingEngine;
struct TReplayPlan;

struct TDisplayItem
{
    enum Kind { Text, Path, Image };
    Kind kind = Path;
    QTransform transform; // logical to device pixels of the recording
    QPen pen;
    QBrush brush;
    bool clipped = false;
    QPainterPath clip; // in device pixels of the recording
    // Text: the run drawn with its baseline start at position.
    QFont font;
    QString text;
    QPointF position;
    // Path: filled with the brush and outlined with the pen.
    QPainterPath path;
    // Image: source part drawn into target (logical coordinates).
    QImage image;
    QRectF target;
    QRectF source;
    double opacity = 1.0;

    // The run's baseline start in device pixels of the recording.
    QPointF DevicePosition() const { return transform.map(position); }
};

class TDisplayList : public QPaintDevice
{
public:
    // size in device pixels, dpi the resolution the contents are laid out for.
    explicit TDisplayList(QSize size = {}, int dpiX = 96, int dpiY = 96);
    ~TDisplayList() override;
    TDisplayList(const TDisplayList&) = delete;
    TDisplayList& operator=(const TDisplayList&) = delete;

    QSize Size() const { return m_size; }
    int DpiX() const { return m_dpiX; }
    int DpiY() const { return m_dpiY; }
    bool IsEmpty() const { return m_items.empty(); }
    const std::vector<TDisplayItem>& Items() const { return m_items; }
    // Empties the list and sets a new size; no painter may be active on it.
    void Reset(QSize size, int dpiX, int dpiY);

    // Draws the contents with the recording's origin at the painter's current origin, scaled by (sx, sy).
    void Replay(QPainter& painter, double sx = 1.0, double sy = 1.0) const;
    // Stretches the whole recording into target (logical coordinates of the painter).
    void ReplayInto(QPainter& painter, const QRectF& target) const;
    // The texts of the runs, in drawing order, joined without separator.
    QString AllText() const;

    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    friend class TRecordingEngine;
    void prepareReplay(const QTransform& linear) const;
    void replay(QPainter& painter, const QTransform& base) const;
    QSize m_size;
    int m_dpiX;
    int m_dpiY;
    std::vector<TDisplayItem> m_items;
    std::unique_ptr<TRecordingEngine> m_engine;
    // How the items were last prepared for replay (for one scale and turn of the target).
    mutable std::unique_ptr<TReplayPlan> m_replay;
};

struct TReplayOp
{
    size_t item;     // the item, or the first of the text items the run holds
    QGlyphRun run;   // empty: draw the item itself
    QTransform unit; // the run's turn, in target pixels
};

struct TReplayPlan
{
    QTransform linear;
    size_t itemCount = 0;
    std::vector<TReplayOp> ops;
};
