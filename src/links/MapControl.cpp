#include "links/MapControl.h"

#include "core/AppSub.h"
#include "core/MainSettings.h"
#include "links/MapLaunch.h"
#include "links/MapPlaces.h"

#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr double MetresPerDegree = 111320.0;
constexpr double MetresPerPixelAtScale1 = 0.0254 / 96;
// Prefecture names down to this layer scale, municipality names from it on.
constexpr qint32 PlaceNameScale = 400000;

double degrees(quint32 ms)
{
    return ms / 3600000.0;
}

quint32 toMs(double deg)
{
    return deg <= 0 ? 0 : quint32(std::llround(deg * 3600000.0));
}

// Tokyo datum degrees to the map's (WGS84) and back (by iteration).
QPointF toMap(TMapPoint p)
{
    long double lat = degrees(p.lat), lon = degrees(p.lon);
    TokyoToWgs84(lat, lon);
    return QPointF(double(lon), double(lat));
}

TMapPoint fromMap(QPointF wgs)
{
    long double lat = wgs.y(), lon = wgs.x();
    for (int i = 0; i < 3; ++i) {
        long double la = lat, lo = lon;
        TokyoToWgs84(la, lo);
        lat += wgs.y() - la;
        lon += wgs.x() - lo;
    }
    return {toMs(double(lat)), toMs(double(lon))};
}

// A graticule line's label: degrees and minutes, and seconds below a minute's spacing.
QString GraticuleLabel(double deg, double step)
{
    const QString text = MapCoordinateText(toMs(deg));
    const QString minutes = text.section(QStringLiteral("分"), 0, 0) + QStringLiteral("分");
    return step < 1 / 60.0 ? minutes + text.section(QStringLiteral("分"), 1).section(u'.', 0, 0) + QStringLiteral("秒")
                           : minutes;
}

} // namespace

QList<QPolygonF> ReadLandRings(const QByteArray& bytes)
{
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype size = bytes.size();
    constexpr qsizetype Header = 4 + 4 + 32 + 4;
    if (size < Header || std::memcmp(data, "TLND", 4) != 0 || qFromLittleEndian<quint32>(data + 4) != 1)
        return {};
    double box[4];
    for (int i = 0; i < 4; ++i) {
        const quint64 bits = qFromLittleEndian<quint64>(data + 8 + 8 * i);
        std::memcpy(&box[i], &bits, 8);
    }
    if (!(box[2] > box[0]) || !(box[3] > box[1]))
        return {};
    const quint32 count = qFromLittleEndian<quint32>(data + 40);
    QList<QPolygonF> rings;
    qsizetype at = Header;
    for (quint32 r = 0; r < count; ++r) {
        if (size - at < 4)
            return {};
        const quint32 n = qFromLittleEndian<quint32>(data + at);
        at += 4;
        if (quint64(size - at) < quint64(n) * 4)
            return {};
        QPolygonF ring;
        ring.reserve(n);
        for (quint32 i = 0; i < n; ++i, at += 4)
            ring << QPointF(box[0] + (box[2] - box[0]) * qFromLittleEndian<quint16>(data + at) / 65535.0,
                            box[1] + (box[3] - box[1]) * qFromLittleEndian<quint16>(data + at + 2) / 65535.0);
        rings << ring;
    }
    return at == size ? rings : QList<QPolygonF>();
}

const QList<QPolygonF>& LandRings()
{
    static const QList<QPolygonF> rings = [] {
        QFile f(ProgramFolder + QStringLiteral("Map/land-japan.bin"));
        return f.open(QIODevice::ReadOnly) ? ReadLandRings(f.readAll()) : QList<QPolygonF>();
    }();
    return rings;
}

const QList<TMapAreaInfo>& MapAreas()
{
    static const QList<TMapAreaInfo> areas = {
        {QStringLiteral("北海道"), QStringLiteral("01"), QRectF(QPointF(139.3, 41.2), QPointF(148.9, 45.6))},
        {QStringLiteral("東北"), QStringLiteral("02"), QRectF(QPointF(139.0, 36.7), QPointF(142.2, 41.6))},
        {QStringLiteral("関東"), QStringLiteral("03"), QRectF(QPointF(138.3, 34.8), QPointF(141.0, 37.2))},
        {QStringLiteral("中部"), QStringLiteral("04"), QRectF(QPointF(135.4, 34.5), QPointF(139.9, 38.6))},
        {QStringLiteral("近畿"), QStringLiteral("05"), QRectF(QPointF(134.2, 33.4), QPointF(136.9, 36.0))},
        {QStringLiteral("中国"), QStringLiteral("06"), QRectF(QPointF(130.8, 33.7), QPointF(134.5, 36.4))},
        {QStringLiteral("四国"), QStringLiteral("07"), QRectF(QPointF(132.0, 32.6), QPointF(134.9, 34.5))},
        {QStringLiteral("九州・沖縄"), QStringLiteral("08"), QRectF(QPointF(122.9, 24.0), QPointF(132.1, 34.8))},
    };
    return areas;
}

const QList<TMapLayerInfo>& MapLayers()
{
    static const QList<TMapLayerInfo> layers = [] {
        static const qint32 scales[MapScaleCount] = {6400000, 3200000, 1600000, 800000, 400000, 200000,
                                                     100000,  50000,   25000,   12500,  6250,   3000};
        QList<TMapLayerInfo> out;
        for (int i = 0; i < MapScaleCount; ++i)
            out.append({MapScaleCaption(i), scales[i], i});
        return out;
    }();
    return layers;
}

TMapControl::TMapControl(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setMinimumSize(200, 150);
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetAreaCode(MapAreas().constFirst().AreaCode);
}

void TMapControl::SetAreaCode(const QString& code)
{
    for (const TMapAreaInfo& a : MapAreas()) {
        if (a.AreaCode != code)
            continue;
        m_areaCode = code;
        m_centre = {toMs(a.Bounds.center().y()), toMs(a.Bounds.center().x())};
        // The most detailed layer that still shows the whole area in a window of 640 × 480.
        const QSize px(640, 480);
        m_scale = MapLayers().constFirst().LayerScale;
        for (const TMapLayerInfo& l : MapLayers()) {
            const double mpp = l.LayerScale * MetresPerPixelAtScale1;
            const double wide = a.Bounds.width() * MetresPerDegree * std::cos(qDegreesToRadians(a.Bounds.center().y()));
            if (wide / mpp <= px.width() && a.Bounds.height() * MetresPerDegree / mpp <= px.height())
                m_scale = l.LayerScale;
        }
        update();
        emit layerChanged();
        return;
    }
}

bool TMapControl::Include(int area, TMapPoint p) const
{
    if (area < 0 || area >= MapAreas().size())
        return false;
    return MapAreas()[area].Bounds.contains(QPointF(degrees(p.lon), degrees(p.lat)));
}

qint32 TMapControl::LayerID() const
{
    for (const TMapLayerInfo& l : MapLayers())
        if (l.LayerScale == m_scale)
            return l.LayerID;
    return -1;
}

void TMapControl::SetLayer(qint32 scale)
{
    if (scale == m_scale)
        return;
    m_scale = scale;
    update();
    emit layerChanged();
}

void TMapControl::CentreOn(TMapPoint p)
{
    m_centre = p;
    update();
    emit scrolled();
}

double TMapControl::DegreesPerPixelLat() const
{
    return m_scale * MetresPerPixelAtScale1 / MetresPerDegree;
}

double TMapControl::DegreesPerPixelLon() const
{
    return DegreesPerPixelLat() / std::max(0.1, std::cos(qDegreesToRadians(degrees(m_centre.lat))));
}

QPointF TMapControl::Project(double lon, double lat) const
{
    const QPointF c = toMap(m_centre);
    return QPointF(width() / 2.0 + (lon - c.x()) / DegreesPerPixelLon(),
                   height() / 2.0 - (lat - c.y()) / DegreesPerPixelLat());
}

QPoint TMapControl::PositionToPixel(TMapPoint p) const
{
    const QPointF m = toMap(p);
    return Project(m.x(), m.y()).toPoint();
}

TMapPoint TMapControl::PixelToPosition(QPoint pixel) const
{
    const QPointF c = toMap(m_centre);
    return fromMap(QPointF(c.x() + (pixel.x() - width() / 2.0) * DegreesPerPixelLon(),
                           c.y() - (pixel.y() - height() / 2.0) * DegreesPerPixelLat()));
}

quint32 TMapControl::AvailableScales() const
{
    const QPointF c = toMap(m_centre);
    bool onLand = false;
    for (const QPolygonF& ring : LandRings())
        if (ring.boundingRect().contains(c) && ring.containsPoint(c, Qt::OddEvenFill)) {
            onLand = !onLand;
        }
    quint32 mask = 0;
    for (int i = 0; i < (onLand ? MapScaleCount : 8); ++i)
        mask |= MapScaleBit(i);
    return mask;
}

void TMapControl::DrawMap(QPainter& p, const QRect& view) const
{
    p.fillRect(view, QColor(0xB8, 0xD8, 0xF0));
    p.setRenderHint(QPainter::Antialiasing);
    // Land: every ring whose bounds meet the view, as one odd-even path (lakes stay water).
    QPainterPath land;
    land.setFillRule(Qt::OddEvenFill);
    const QRectF shown = QRectF(view).adjusted(-2, -2, 2, 2);
    for (const QPolygonF& ring : LandRings()) {
        QPolygonF projected;
        projected.reserve(ring.size());
        for (const QPointF& pt : ring)
            projected << Project(pt.x(), pt.y());
        if (projected.boundingRect().intersects(shown))
            land.addPolygon(projected);
    }
    p.setPen(QPen(QColor(0x60, 0x80, 0x98), 1));
    p.setBrush(QColor(0xF4, 0xEF, 0xE0));
    p.drawPath(land);

    // Graticule: a spacing of about 100 pixels or more.
    static const double steps[] = {5 / 3600.0, 10 / 3600.0, 30 / 3600.0, 1 / 60.0, 2 / 60.0, 5 / 60.0, 10 / 60.0, 0.5, 1, 2, 5};
    double step = steps[std::size(steps) - 1];
    for (double s : steps)
        if (s / DegreesPerPixelLat() >= 100) {
            step = s;
            break;
        }
    const TMapPoint topLeft = PixelToPosition(view.topLeft());
    const TMapPoint bottomRight = PixelToPosition(view.bottomRight());
    p.setPen(QPen(QColor(0x80, 0x80, 0xA0, 0x90), 1, Qt::DashLine));
    p.setFont(QFont(font().family(), 8));
    for (double lon = std::floor(degrees(topLeft.lon) / step) * step; lon <= degrees(bottomRight.lon) + step; lon += step) {
        const double x = Project(lon, 0).x();
        p.drawLine(QPointF(x, view.top()), QPointF(x, view.bottom()));
        p.drawText(QPointF(x + 2, view.bottom() - 4), GraticuleLabel(lon, step));
    }
    for (double lat = std::floor(degrees(bottomRight.lat) / step) * step; lat <= degrees(topLeft.lat) + step; lat += step) {
        const double y = Project(0, lat).y();
        p.drawLine(QPointF(view.left(), y), QPointF(view.right(), y));
        p.drawText(QPointF(view.left() + 2, y - 2), GraticuleLabel(lat, step));
    }

    // The scale bar: a round length of about 100 pixels.
    DrawPlaceNames(p);

    const double metresPerPixel = m_scale * MetresPerPixelAtScale1;
    double length = std::pow(10.0, std::floor(std::log10(metresPerPixel * 100)));
    for (double f : {5.0, 2.0})
        if (length * f / metresPerPixel <= 150) {
            length *= f;
            break;
        }
    const int barPx = int(length / metresPerPixel);
    const QPoint at(view.left() + 12, view.bottom() - 24);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(at, at + QPoint(barPx, 0));
    p.drawLine(at, at - QPoint(0, 5));
    p.drawLine(at + QPoint(barPx, 0), at + QPoint(barPx, -5));
    p.drawText(at + QPoint(0, -8),
               length >= 1000 ? QStringLiteral("%1 km").arg(length / 1000) : QStringLiteral("%1 m").arg(length));
    p.drawText(QPoint(view.right() - 120, view.bottom() - 8),
               QStringLiteral("1/%1").arg(QLocale::c().toString(m_scale)));
}

QFont TMapControl::LabelFont(bool prefecture) const
{
    QFont f(font().family(), prefecture ? 11 : 9);
    f.setBold(prefecture);
    return f;
}

QList<TMapLabel> TMapControl::PlaceLabels() const
{
    const bool prefectures = m_scale >= PlaceNameScale, municipalities = m_scale <= PlaceNameScale;
    const QFontMetrics wide(LabelFont(true)), narrow(LabelFont(false));
    // The bottom strip holds the scale bar and the scale.
    const QRect free = rect().adjusted(0, 0, 0, -36);
    QList<TMapLabel> labels;
    // Prefectures first, then municipalities in code order: a name is left out where it would cover one
    // placed before it, so the choice stays steady while the map scrolls.
    for (const bool prefecture : {true, false}) {
        if (prefecture ? !prefectures : !municipalities)
            continue;
        const QFontMetrics& metrics = prefecture ? wide : narrow;
        for (const TMapPlace& place : MapPlaces()) {
            if ((place.PlaceKind == TMapPlace::Prefecture) != prefecture)
                continue;
            const QPoint anchor = PositionToPixel(place.Position);
            const QSize size = metrics.boundingRect(place.Name).size() + QSize(2, 0);
            // Right of the dot where there is room, else left of it, above or below.
            const QPoint tries[] = {
                QPoint(4, -size.height() / 2), QPoint(-4 - size.width(), -size.height() / 2),
                QPoint(-size.width() / 2, -3 - size.height()), QPoint(-size.width() / 2, 3)};
            QRect box;
            for (const QPoint& offset : tries) {
                const QRect candidate(anchor + offset, size);
                const QRect spaced = candidate.adjusted(-2, -2, 2, 2);
                if (free.contains(candidate) &&
                    std::none_of(labels.cbegin(), labels.cend(), [&](const TMapLabel& l) {
                        return l.Box.intersects(spaced) || spaced.contains(l.Anchor) ||
                               l.Box.adjusted(-3, -3, 3, 3).contains(anchor);
                    })) {
                    box = candidate;
                    break;
                }
            }
            if (box.isNull())
                continue;
            labels.append({place.Name, box, anchor, prefecture});
        }
    }
    return labels;
}

void TMapControl::DrawPlaceNames(QPainter& p) const
{
    for (const TMapLabel& label : PlaceLabels()) {
        p.setPen(Qt::NoPen);
        p.setBrush(label.Prefecture ? QColor(0x80, 0x20, 0x20) : QColor(0x30, 0x30, 0x30));
        p.drawEllipse(QPointF(label.Anchor), 2.5, 2.5);
        p.setFont(LabelFont(label.Prefecture));
        // A light halo keeps the name readable over coastlines and graticule lines.
        p.setPen(QPen(QColor(255, 255, 255, 200), 3));
        QPainterPath path;
        path.addText(QPointF(label.Box.left(), label.Box.top() + QFontMetrics(p.font()).ascent()), p.font(),
                     label.Text);
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        p.fillPath(path, label.Prefecture ? QColor(0x60, 0x10, 0x10) : QColor(0x20, 0x20, 0x20));
    }
}

QImage TMapControl::Picture(const QRect& region) const
{
    const QRect r = region.isValid() ? region : rect();
    QImage image(r.size(), QImage::Format_RGB32);
    QPainter p(&image);
    p.translate(-r.topLeft());
    DrawMap(p, rect());
    return image;
}

void TMapControl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    DrawMap(p, rect());
    if (PaintOverlay) {
        p.setRenderHint(QPainter::Antialiasing, false);
        PaintOverlay(p);
    }
}

void TMapControl::mousePressEvent(QMouseEvent* event)
{
    m_mouse = event->position().toPoint();
    if (event->button() == Qt::LeftButton && m_mouseScroll) {
        m_dragging = true;
        m_dragFrom = m_mouse;
    }
    emit mousePressedAt(m_mouse, event->button());
}

void TMapControl::mouseMoveEvent(QMouseEvent* event)
{
    m_mouse = event->position().toPoint();
    if (m_dragging) {
        const QPoint delta = m_mouse - m_dragFrom;
        m_dragFrom = m_mouse;
        CentreOn(PixelToPosition(QPoint(width() / 2, height() / 2) - delta));
    }
    emit mouseMovedTo(m_mouse);
}

void TMapControl::mouseReleaseEvent(QMouseEvent* event)
{
    m_mouse = event->position().toPoint();
    m_dragging = false;
    emit mouseReleasedAt(m_mouse);
}

void TMapControl::mouseDoubleClickEvent(QMouseEvent* event)
{
    m_mouse = event->position().toPoint();
    emit doubleClicked(m_mouse);
}
