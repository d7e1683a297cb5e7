// The recording paint device and its engine.
#include "platform/DisplayList.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>

class TRecordingEngine : public QPaintEngine
{
public:
    explicit TRecordingEngine(TDisplayList* list) : QPaintEngine(AllFeatures), m_list(list) {}

    bool begin(QPaintDevice*) override
    {
        m_transform = QTransform();
        m_pen = QPen();
        m_brush = QBrush();
        m_clipped = false;
        m_clipEnabled = true;
        m_clip = QPainterPath();
        m_opacity = 1.0;
        return true;
    }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState& state) override
    {
        const DirtyFlags dirty = state.state();
        if (dirty & DirtyTransform)
            m_transform = state.transform();
        if (dirty & DirtyPen)
            m_pen = state.pen();
        if (dirty & DirtyBrush)
            m_brush = state.brush();
        if (dirty & DirtyOpacity)
            m_opacity = state.opacity();
        if (dirty & DirtyClipPath)
            applyClip(state.clipOperation(), state.clipPath());
        if (dirty & DirtyClipRegion) {
            QPainterPath path;
            path.addRegion(state.clipRegion());
            applyClip(state.clipOperation(), path);
        }
        if (dirty & DirtyClipEnabled)
            m_clipEnabled = state.isClipEnabled();
    }

    void drawPath(const QPainterPath& path) override
    {
        TDisplayItem& item = add(TDisplayItem::Path);
        item.path = path;
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        QPainterPath path;
        if (count <= 0)
            return;
        path.moveTo(points[0]);
        for (int i = 1; i < count; ++i)
            path.lineTo(points[i]);
        if (mode != PolylineMode)
            path.closeSubpath();
        path.setFillRule(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
        TDisplayItem& item = add(TDisplayItem::Path);
        item.path = path;
        if (mode == PolylineMode)
            item.brush = Qt::NoBrush;
    }

    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override
    {
        drawImage(r, pm.toImage(), sr, Qt::AutoColor);
    }

    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr, Qt::ImageConversionFlags) override
    {
        TDisplayItem& item = add(TDisplayItem::Image);
        item.image = image;
        item.target = r;
        item.source = sr;
    }

    void drawTextItem(const QPointF& p, const QTextItem& textItem) override
    {
        TDisplayItem& item = add(TDisplayItem::Text);
        item.font = textItem.font();
        item.text = textItem.text();
        item.position = p;
    }

private:
    void applyClip(Qt::ClipOperation op, const QPainterPath& logical)
    {
        const QPainterPath device = m_transform.map(logical);
        switch (op) {
        case Qt::NoClip:
            m_clipped = false;
            m_clip = QPainterPath();
            return;
        case Qt::ReplaceClip:
            m_clip = device;
            break;
        case Qt::IntersectClip:
            m_clip = m_clipped ? m_clip.intersected(device) : device;
            break;
        }
        m_clipped = true;
        m_clipEnabled = true;
    }

    TDisplayItem& add(TDisplayItem::Kind kind)
    {
        TDisplayItem& item = m_list->m_items.emplace_back();
        item.kind = kind;
        item.transform = m_transform;
        item.pen = m_pen;
        item.brush = m_brush;
        item.clipped = m_clipped && m_clipEnabled;
        if (item.clipped)
            item.clip = m_clip;
        item.opacity = m_opacity;
        return item;
    }

    TDisplayList* m_list;
    QTransform m_transform;
    QPen m_pen;
    QBrush m_brush;
    bool m_clipped = false;
    bool m_clipEnabled = true;
    QPainterPath m_clip;
    double m_opacity = 1.0;
};

TDisplayList::TDisplayList(QSize size, int dpiX, int dpiY)
    : m_size(size), m_dpiX(dpiX), m_dpiY(dpiY), m_engine(std::make_unique<TRecordingEngine>(this))
{
}

TDisplayList::~TDisplayList() = default;

void TDisplayList::Reset(QSize size, int dpiX, int dpiY)
{
    m_size = size;
    m_dpiX = dpiX;
    m_dpiY = dpiY;
    m_items.clear();
}

QPaintEngine* TDisplayList::paintEngine() const
{
    return m_engine.get();
}

int TDisplayList::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return m_size.width();
    case PdmHeight:
        return m_size.height();
    case PdmWidthMM:
        return qRound(m_size.width() * 25.4 / m_dpiX);
    case PdmHeightMM:
        return qRound(m_size.height() * 25.4 / m_dpiY);
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmPhysicalDpiX:
        return m_dpiX;
    case PdmDpiY:
    case PdmPhysicalDpiY:
        return m_dpiY;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    default:
        return QPaintDevice::metric(metric);
    }
}

void TDisplayList::Replay(QPainter& painter, double sx, double sy) const
{
    if (m_items.empty())
        return;
    painter.save();
    const QTransform base = QTransform::fromScale(sx, sy) * painter.transform();
    const bool outerClip = painter.hasClipping();
    for (const TDisplayItem& item : m_items) {
        if (item.clipped) {
            painter.save();
            painter.setTransform(base);
            painter.setClipPath(item.clip, outerClip ? Qt::IntersectClip : Qt::ReplaceClip);
        }
        painter.setTransform(item.transform * base);
        painter.setPen(item.pen);
        painter.setBrush(item.brush);
        painter.setOpacity(item.opacity);
        switch (item.kind) {
        case TDisplayItem::Text:
            painter.setFont(item.font);
            painter.drawText(item.position, item.text);
            break;
        case TDisplayItem::Path:
            painter.drawPath(item.path);
            break;
        case TDisplayItem::Image:
            painter.drawImage(item.target, item.image, item.source);
            break;
        }
        if (item.clipped)
            painter.restore();
    }
    painter.restore();
}

void TDisplayList::ReplayInto(QPainter& painter, const QRectF& target) const
{
    if (m_size.isEmpty())
        return;
    painter.save();
    painter.translate(target.topLeft());
    Replay(painter, target.width() / m_size.width(), target.height() / m_size.height());
    painter.restore();
}

QString TDisplayList::AllText() const
{
    QString text;
    for (const TDisplayItem& item : m_items) {
        if (item.kind == TDisplayItem::Text)
            text += item.text;
    }
    return text;
}
