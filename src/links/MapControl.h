// The offline map control of the embedded map windows: the land of the Japan region, a graticule, place
// names, a scale bar; eight regional areas and a ladder of layer scales; positions on the Tokyo datum,
// drawn through the datum conversion.
#pragma once

#include "links/MapViewLogic.h"

#include <QPolygonF>
#include <QWidget>

#include <functional>

class QImage;

// The land rings of a ring file ("TLND", see outside/MapData), in degrees (x longitude, y latitude);
// empty when the bytes break the format.
QList<QPolygonF> ReadLandRings(const QByteArray& bytes);
// The rings of ProgramFolder + "Map/land-japan.bin", read once.
const QList<QPolygonF>& LandRings();

struct TMapAreaInfo
{
    QString Title;
    QString AreaCode;
    QRectF Bounds; // degrees: x longitude, y latitude
};
struct TMapLayerInfo
{
    QString Title;
    qint32 LayerScale = 0;
    qint32 LayerID = 0;
};
// A place name as drawn: its text, the box it takes and the dot of its place, in pixels of the control.
struct TMapLabel
{
    QString Text;
    QRect Box;
    QPoint Anchor;
    bool Prefecture = false;
};

const QList<TMapAreaInfo>& MapAreas();
const QList<TMapLayerInfo>& MapLayers();

class TMapControl : public QWidget
{
    Q_OBJECT
public:
    explicit TMapControl(QWidget* parent = nullptr);

    // The area shown: setting it centres the map on the area at the layer that shows all of it.
    void SetAreaCode(const QString& code);
    QString AreaCode() const { return m_areaCode; }
    bool Include(int area, TMapPoint p) const;
    qint32 LayerScale() const { return m_scale; }
    qint32 LayerID() const;
    void SetLayer(qint32 scale);
    void SetMouseScroll(bool on) { m_mouseScroll = on; }
    bool MouseScroll() const { return m_mouseScroll; }

    void CentreOn(TMapPoint p);
    TMapPoint Centre() const { return m_centre; }
    QPoint PositionToPixel(TMapPoint p) const;
    TMapPoint PixelToPosition(QPoint pixel) const;
    TMapPoint PositionUnderMouse() const { return PixelToPosition(m_mouse); }
    QPoint MousePoint() const { return m_mouse; }
    // The scales that show detail at the centre: all twelve on land, the first eight at sea.
    quint32 AvailableScales() const;
    // The map (without overlays) of region, or of the whole control.
    QImage Picture(const QRect& region = QRect()) const;
    // The place names of the current view: prefectures at the wide layers, municipalities at the detailed
    // ones, none overlapping another.
    QList<TMapLabel> PlaceLabels() const;

    // Drawn over the map on every paint (the marker and the range).
    std::function<void(QPainter&)> PaintOverlay;

signals:
    void layerChanged();
    void scrolled();
    void doubleClicked(QPoint pixel);
    void mousePressedAt(QPoint pixel, Qt::MouseButton button);
    void mouseMovedTo(QPoint pixel);
    void mouseReleasedAt(QPoint pixel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void DrawMap(QPainter& painter, const QRect& view) const;
    void DrawPlaceNames(QPainter& painter) const;
    QFont LabelFont(bool prefecture) const;
    QPointF Project(double lon, double lat) const;
    double DegreesPerPixelLat() const;
    double DegreesPerPixelLon() const;

    QString m_areaCode;
    TMapPoint m_centre;
    qint32 m_scale = 3200000;
    bool m_mouseScroll = true;
    QPoint m_mouse;
    QPoint m_dragFrom;
    bool m_dragging = false;
};
