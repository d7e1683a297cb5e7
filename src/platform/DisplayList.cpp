// The recording paint device and its engine.
#include "platform/DisplayList.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QRawFont>

#include <cmath>
#include <optional>

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
    m_replay.reset();
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

namespace {

// The uniform scale of an affine transform, 0 when it scales unevenly, shears or is projective.
double uniformScale(const QTransform& t)
{
    if (!t.isAffine())
        return 0;
    const double scale = std::hypot(t.m11(), t.m12());
    const bool uniform = std::abs(scale - std::hypot(t.m21(), t.m22())) < 1e-9 * qMax(1.0, scale) &&
                         std::abs(t.m11() * t.m21() + t.m12() * t.m22()) < 1e-9 * qMax(1.0, scale * scale);
    return uniform ? scale : 0;
}

bool sameLinear(const QTransform& a, const QTransform& b)
{
    return a.m11() == b.m11() && a.m12() == b.m12() && a.m21() == b.m21() && a.m22() == b.m22();
}

} // namespace

// Text items drawn one after another with the same font, pen and turn become one glyph run with its glyphs
// sized for the target, so a replay neither shapes text nor scales glyph outlines.
void TDisplayList::prepareReplay(const QTransform& linear) const
{
    if (m_replay && sameLinear(m_replay->linear, linear) && m_replay->itemCount == m_items.size())
        return;
    m_replay = std::make_unique<TReplayPlan>();
    m_replay->linear = linear;
    m_replay->itemCount = m_items.size();
    // Raw fonts are costly to make; the few faces and sizes in use are kept (drawing is GUI-thread only).
    static QHash<QString, QRawFont> rawFonts;
    if (rawFonts.size() > 256)
        rawFonts.clear();
    size_t i = 0;
    while (i < m_items.size()) {
        const TDisplayItem& first = m_items[i];
        const QTransform t = first.transform * linear;
        const double scale = first.kind == TDisplayItem::Text && !first.clipped && first.font.pixelSize() > 0
                                 ? uniformScale(t)
                                 : 0;
        if (scale <= 0) {
            m_replay->ops.push_back({i, {}, {}});
            ++i;
            continue;
        }
        const double pixelSize = first.font.pixelSize() * scale;
        const QString key = first.font.key() + u'/' + QString::number(pixelSize);
        auto raw = rawFonts.find(key);
        if (raw == rawFonts.end()) {
            // Unhinted glyphs keep the recorded advances; hinting here would only shape each glyph's own
            // pixels, and the glyph cache serves hinted glyphs far faster.
            QFont hinted = first.font;
            hinted.setHintingPreference(QFont::PreferDefaultHinting);
            QRawFont sized = QRawFont::fromFont(hinted);
            sized.setPixelSize(pixelSize);
            raw = rawFonts.insert(key, sized);
        }
        const QTransform unit(t.m11() / scale, t.m12() / scale, t.m21() / scale, t.m22() / scale, 0, 0);
        const QTransform toUnit = unit.inverted();
        QList<quint32> glyphs;
        QList<QPointF> positions;
        size_t j = i;
        for (; j < m_items.size(); ++j) {
            const TDisplayItem& item = m_items[j];
            if (item.kind != TDisplayItem::Text || item.clipped || item.font != first.font ||
                item.pen != first.pen || item.opacity != first.opacity)
                break;
            const QTransform tj = item.transform * linear;
            if (!sameLinear(tj, t))
                break;
            QPointF pos = toUnit.map(tj.map(item.position));
            const QList<quint32> indexes = raw->glyphIndexesForString(item.text);
            const QList<QPointF> advances = raw->advancesForGlyphIndexes(indexes);
            for (qsizetype g = 0; g < indexes.size(); ++g) {
                glyphs << indexes[g];
                positions << pos;
                pos += advances.value(g);
            }
        }
        QGlyphRun run;
        run.setRawFont(*raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        m_replay->ops.push_back({i, run, unit});
        i = j;
    }
}

void TDisplayList::Replay(QPainter& painter, double sx, double sy) const
{
    replay(painter, QTransform::fromScale(sx, sy) * painter.transform());
}

void TDisplayList::replay(QPainter& painter, const QTransform& base) const
{
    if (m_items.empty())
        return;
    // The painter's state is put back by hand: a full save and restore costs more than a small replay.
    const QTransform savedTransform = painter.transform();
    const QPen savedPen = painter.pen();
    const QBrush savedBrush = painter.brush();
    const double savedOpacity = painter.opacity();
    std::optional<QFont> savedFont;
    const QTransform linear(base.m11(), base.m12(), base.m21(), base.m22(), 0, 0);
    const QTransform shift = QTransform::fromTranslate(base.dx(), base.dy());
    const bool outerClip = painter.hasClipping();
    // Another recording takes the text items as they are: a glyph run would reach it without its characters.
    const bool recording = dynamic_cast<const TDisplayList*>(painter.device()) != nullptr;
    if (!recording)
        prepareReplay(linear);
    const size_t count = recording ? m_items.size() : m_replay->ops.size();
    // State is set only when it changes.
    std::optional<QPen> pen;
    std::optional<QBrush> brush;
    double opacity = -1;
    for (size_t n = 0; n < count; ++n) {
        const TReplayOp* op = recording ? nullptr : &m_replay->ops[n];
        const TDisplayItem& item = m_items[op ? op->item : n];
        if (item.clipped) {
            painter.save();
            painter.setTransform(base);
            painter.setClipPath(item.clip, outerClip ? Qt::IntersectClip : Qt::ReplaceClip);
            pen.reset();
            brush.reset();
            opacity = -1;
        }
        if (!pen || *pen != item.pen)
            painter.setPen(*(pen = item.pen));
        if (!brush || *brush != item.brush)
            painter.setBrush(*(brush = item.brush));
        if (opacity != item.opacity)
            painter.setOpacity(opacity = item.opacity);
        if (op && !op->run.isEmpty()) {
            painter.setTransform(op->unit * shift);
            painter.drawGlyphRun(QPointF(0, 0), op->run);
            continue;
        }
        painter.setTransform(item.transform * base);
        switch (item.kind) {
        case TDisplayItem::Text:
            if (!savedFont)
                savedFont = painter.font();
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
        if (item.clipped) {
            painter.restore();
            pen.reset();
            brush.reset();
            opacity = -1;
        }
    }
    painter.setTransform(savedTransform);
    painter.setPen(savedPen);
    painter.setBrush(savedBrush);
    painter.setOpacity(savedOpacity);
    if (savedFont)
        painter.setFont(*savedFont);
}

void TDisplayList::ReplayInto(QPainter& painter, const QRectF& target) const
{
    if (m_size.isEmpty())
        return;
    replay(painter,
           QTransform::fromScale(target.width() / m_size.width(), target.height() / m_size.height()) *
               QTransform::fromTranslate(target.left(), target.top()) * painter.transform());
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
