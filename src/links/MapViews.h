// The embedded map windows over the offline map control: one layout and set of behaviours (range, copy,
// print, close), with the area/layer window of program 1 and the scale window of program 5.
#pragma once

#include "links/MapControl.h"
#include "links/MapSearch.h"

#include <QDialog>

class QAction;
class QComboBox;
class QMenu;
class QPainter;
class QHBoxLayout;
class QToolButton;

// The position of an address through the address dictionary; 0 when found, else 1.
int SearchMapAddress(const QString& address, TMapPoint& position);

class TEmbeddedMapView : public QDialog, public TMapAdaptor
{
    Q_OBJECT
public:
    TEmbeddedMapView(QWidget* owner, const QString& caption, const QString& glyphPrefix);

    void SetHelpContext(int context) override { setProperty("helpTopic", context); }
    void Show() override;
    TMapControl* Map() const { return m_map; }
    QToolButton* ClipButton() const { return m_sbtnClip; }

    // The region a copy takes: the range when one is shown, else the whole map.
    QRect CopyRegion() const;
    bool RangeShown() const { return m_rangeShown; }
    void actCopyExecute();
    void sbtnPrintClick();
    // The picture of a copy or a print.
    virtual QImage CopyPicture() const;
    virtual void PositionMap() = 0;

protected:
    void RemoveRange();
    // The range rectangle over the map, while one is shown.
    void DrawRange(QPainter& p) const;
    virtual QString CopyText() const { return {}; }
    virtual QString PrintTitle() const = 0;
    virtual void OnRangeDrawn() {}
    void resizeEvent(QResizeEvent* event) override;

    QHBoxLayout* m_panel = nullptr;
    TMapControl* m_map = nullptr;
    QToolButton* m_sbtnClip = nullptr;
    QToolButton* m_sbtnCopy = nullptr;
    QToolButton* m_sbtnPrint = nullptr;
    QToolButton* m_sbtnExit = nullptr;
    QAction* m_actCopy = nullptr;
    bool m_rangeShown = false;
    bool m_drawing = false;
    QPoint m_start, m_end;

    int m_searchKind = 0;
    quint32 m_latitude = 0, m_longitude = 0;
    QString m_address;
};

class TProAtlasView : public TEmbeddedMapView
{
    Q_OBJECT
public:
    explicit TProAtlasView(QWidget* owner = nullptr);
    int SetSearchParams(const TMapSearchParams& params) override;
    std::optional<std::pair<quint32, quint32>> Position() const override
    {
        return std::make_pair(m_current.lat, m_current.lon);
    }
    void PositionMap() override;
    void FillLayerBox();
    QComboBox* AreaBox() const { return m_cbxArea; }
    TMapPoint Current() const { return m_current; }

protected:
    QString CopyText() const override;
    QString PrintTitle() const override { return QStringLiteral("プロアトラス地図"); }
    void OnRangeDrawn() override { m_rangeCentre = m_map->Centre(); }

private:
    void ContextMenu(QPoint at);
    QComboBox* m_cbxArea = nullptr;
    QComboBox* m_cbxLayer = nullptr;
    TMapPoint m_current;
    TMapPoint m_rangeCentre;
};

class TMapFanView : public TEmbeddedMapView
{
    Q_OBJECT
public:
    explicit TMapFanView(QWidget* owner = nullptr);
    int SetSearchParams(const TMapSearchParams& params) override;
    // The current position handed back in milliseconds (it is kept in 1/256 second).
    std::optional<std::pair<quint32, quint32>> Position() const override;
    void PositionMap() override;
    void SelectScale(int index);
    int ScaleIndex() const { return m_scaleIndex; }
    QImage CopyPicture() const override;

protected:
    QString PrintTitle() const override { return QStringLiteral("MapFan 地図"); }

private:
    void ContextMenu(QPoint at);
    QComboBox* m_cbxScale = nullptr;
    QMenu* m_pmMapFan = nullptr;
    QList<QAction*> m_scaleItems;
    quint32 m_latitude256 = 0, m_longitude256 = 0;
    int m_scaleIndex = -1;
    bool m_showSpot = true;
};
