#include "links/MapViews.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "platform/Printers.h"
#include "search/ConAdrsDicClass.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

int SearchMapAddress(const QString& address, TMapPoint& position)
{
    const QString text = address.trimmed();
    if (text.isEmpty())
        return 1;
    try {
        TContinualAdrsSearch search(ProgramFolder, ProgramFolder + QStringLiteral("Dic/"));
        if (search.Search(Cp932::fromUnicode(text)) != 0)
            return 1;
        const TAdrsConvResultRec& r = search.GetResult(true);
        if (r.Latitude <= 0 || r.Longitude <= 0)
            return 1;
        position = {quint32(r.Latitude), quint32(r.Longitude)};
        return 0;
    } catch (const std::exception&) {
        return 1;
    }
}

namespace {

QToolButton* PanelButton(QWidget* parent, const char* name, const QString& hint, const QString& text)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->setText(text);
    b->setAutoRaise(true);
    return b;
}

// The printer choice before a print: false when cancelled.
bool ChoosePrinter(QWidget* over)
{
    TPrinterList& list = TPrinterList::Instance();
    QDialog dialog(over);
    dialog.setObjectName(QStringLiteral("PrinterSetupDialog"));
    dialog.setWindowTitle(QStringLiteral("プリンターの設定"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* printers = new QComboBox(&dialog);
    printers->setObjectName(QStringLiteral("cbxPrinter"));
    for (int i = 0; i < list.Count(); ++i)
        printers->addItem(list.At(i)->Name());
    printers->setCurrentIndex(std::max(0, list.CurrentIndex()));
    layout->addWidget(printers);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.adjustSize();
    // Just below and right of the window's corner, inside the work area.
    QPoint at = over->pos() + QPoint(15, 15);
    if (const QScreen* screen = over->screen()) {
        const QRect work = screen->availableGeometry();
        at.setX(std::max(0, std::min(at.x(), work.right() + 1 - dialog.width())));
        at.setY(std::max(0, std::min(at.y(), work.bottom() + 1 - dialog.height())));
    }
    dialog.move(at);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    list.SetCurrentIndex(printers->currentIndex());
    return true;
}

} // namespace

// ---- the shared window ----

TEmbeddedMapView::TEmbeddedMapView(QWidget* owner, const QString& caption, const QString& glyphPrefix)
    : QDialog(owner)
{
    setWindowTitle(caption);
    resize(720, 560);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    m_panel = new QHBoxLayout;
    m_panel->setContentsMargins(6, 4, 6, 4);
    root->addLayout(m_panel);
    m_map = new TMapControl(this);
    m_map->setObjectName(QStringLiteral("MapControl"));
    root->addWidget(m_map, 1);

    m_sbtnClip = PanelButton(this, "sbtnClip", QStringLiteral("範囲選択"), QStringLiteral("範囲"));
    m_sbtnClip->setCheckable(true);
    m_actCopy = new QAction(QStringLiteral("コピー"), this);
    m_actCopy->setObjectName(QStringLiteral("actCopy"));
    m_actCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    addAction(m_actCopy);
    m_sbtnCopy = PanelButton(this, "sbtnCopy", QStringLiteral("コピー"), QStringLiteral("コピー"));
    m_sbtnPrint = PanelButton(this, "sbtnPrint", QStringLiteral("印刷"), QStringLiteral("印刷"));
    m_sbtnExit = PanelButton(this, "sbtnExit", QStringLiteral("閉じる"), QStringLiteral("閉じる"));
    setProperty("glyphPrefix", glyphPrefix);

    connect(m_actCopy, &QAction::triggered, this, &TEmbeddedMapView::actCopyExecute);
    connect(m_sbtnCopy, &QToolButton::clicked, m_actCopy, &QAction::trigger);
    connect(m_sbtnPrint, &QToolButton::clicked, this, &TEmbeddedMapView::sbtnPrintClick);
    connect(m_sbtnExit, &QToolButton::clicked, this, &QDialog::reject);
    connect(m_sbtnClip, &QToolButton::toggled, this, [this](bool down) {
        if (down)
            RemoveRange();
        m_map->setCursor(down ? Qt::CrossCursor : Qt::ArrowCursor);
        m_map->SetMouseScroll(!down);
    });
    connect(m_map, &TMapControl::mousePressedAt, this, [this](QPoint at, Qt::MouseButton button) {
        if (button != Qt::LeftButton)
            return;
        if (!m_sbtnClip->isChecked()) {
            RemoveRange();
            return;
        }
        m_rangeShown = m_drawing = true;
        m_start = m_end = at;
        m_map->update();
    });
    connect(m_map, &TMapControl::mouseMovedTo, this, [this](QPoint at) {
        if (!m_sbtnClip->isChecked() || !m_drawing)
            return;
        m_end = QPoint(std::clamp(at.x(), 0, m_map->width() - 1), std::clamp(at.y(), 0, m_map->height() - 1));
        m_map->update();
    });
    connect(m_map, &TMapControl::mouseReleasedAt, this, [this](QPoint) {
        if (!m_sbtnClip->isChecked() || !m_drawing)
            return;
        m_drawing = false;
        if (m_end == m_start)
            m_rangeShown = false;
        else
            OnRangeDrawn();
        m_sbtnClip->setChecked(false);
        m_map->update();
    });
}

void TEmbeddedMapView::Show()
{
    CenterForm(this, parentWidget());
    PositionMap();
    exec();
}

void TEmbeddedMapView::DrawRange(QPainter& p) const
{
    if (!m_rangeShown)
        return;
    p.setPen(QPen(QColor(0, 0, 255), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(RangeRegion(m_start, m_end));
}

void TEmbeddedMapView::RemoveRange()
{
    if (!m_rangeShown && !m_drawing)
        return;
    m_rangeShown = m_drawing = false;
    m_map->update();
}

void TEmbeddedMapView::resizeEvent(QResizeEvent* event)
{
    RemoveRange();
    QDialog::resizeEvent(event);
}

QRect TEmbeddedMapView::CopyRegion() const
{
    return m_rangeShown ? RangeRegion(m_start, m_end) : m_map->rect();
}

QImage TEmbeddedMapView::CopyPicture() const
{
    return m_map->Picture(CopyRegion());
}

void TEmbeddedMapView::actCopyExecute()
{
    if (isMinimized())
        return;
    TBusyCursor busy;
    auto* data = new QMimeData;
    data->setImageData(CopyPicture());
    const QString text = CopyText();
    if (!text.isEmpty())
        data->setText(text);
    QGuiApplication::clipboard()->setMimeData(data);
}

void TEmbeddedMapView::sbtnPrintClick()
{
    if (TPrinterList::Instance().Count() == 0) {
        MessageBoxPos(nullptr, QStringLiteral("プリンターがインストールされていません"), ProductTitle,
                      MsgSeam::MbOk | MsgSeam::MbIconInformation);
        return;
    }
    if (!ChoosePrinter(this))
        return;
    TPrinter* printer = TPrinterList::Instance().Current();
    const QImage picture = CopyPicture();
    bool printed = false;
    if (printer) {
        if (auto job = printer->BeginJob(PrintTitle())) {
            QPainter& p = job->Painter();
            p.setRenderHint(QPainter::SmoothPixmapTransform, false);
            const double screenDpi = picture.logicalDpiX() > 0 ? 96.0 : 96.0;
            p.drawImage(QRectF(0, 0, picture.width() * printer->DpiX() / screenDpi,
                               picture.height() * printer->DpiY() / screenDpi),
                        picture);
            printed = job->Finish();
        }
    }
    MessageBoxPos(this, printed ? QStringLiteral("印刷しました") : QStringLiteral("印刷できませんでした"),
                  ProductTitle, MsgSeam::MbOk | (printed ? MsgSeam::MbIconInformation : MsgSeam::MbIconStop));
}

// ---- program 1 ----

TProAtlasView::TProAtlasView(QWidget* owner)
    : TEmbeddedMapView(owner, QStringLiteral("ProAtlasView"), QStringLiteral("PROATLAS_"))
{
    setObjectName(QStringLiteral("ProAtlasView"));
    m_cbxArea = new QComboBox(this);
    m_cbxArea->setObjectName(QStringLiteral("cbxArea"));
    for (const TMapAreaInfo& a : MapAreas())
        m_cbxArea->addItem(a.Title, a.AreaCode);
    m_cbxLayer = new QComboBox(this);
    m_cbxLayer->setObjectName(QStringLiteral("cbxLayer"));
    m_panel->addWidget(new QLabel(QStringLiteral("地域"), this));
    m_panel->addWidget(m_cbxArea);
    m_panel->addWidget(new QLabel(QStringLiteral("地図階層"), this));
    m_panel->addWidget(m_cbxLayer);
    for (QToolButton* b : {m_sbtnClip, m_sbtnCopy, m_sbtnPrint, m_sbtnExit})
        m_panel->addWidget(b);
    m_panel->addStretch();

    connect(m_cbxArea, &QComboBox::activated, this, [this](int i) {
        m_map->SetAreaCode(m_cbxArea->itemData(i).toString());
        m_map->CentreOn(m_current);
        FillLayerBox();
    });
    connect(m_cbxLayer, &QComboBox::activated, this,
            [this](int i) { m_map->SetLayer(MapLayers()[i].LayerScale); });
    connect(m_map, &TMapControl::layerChanged, this, [this] { RemoveRange(); });
    connect(m_map, &TMapControl::scrolled, this, [this] {
        if (m_rangeShown && !m_drawing && !(m_map->Centre() == m_rangeCentre))
            RemoveRange();
    });
    connect(m_map, &TMapControl::doubleClicked, this, [this](QPoint at) {
        m_current = m_map->PixelToPosition(at);
        m_map->update();
    });
    m_map->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_map, &QWidget::customContextMenuRequested, this, &TProAtlasView::ContextMenu);
    m_map->PaintOverlay = [this](QPainter& p) {
        if (m_current.lat != 0) {
            const QPoint c = m_map->PositionToPixel(m_current);
            p.setPen(QPen(QColor(255, 0, 0), 3));
            p.drawLine(c.x() - 5, c.y(), c.x() + 5, c.y());
            p.drawLine(c.x(), c.y() - 5, c.x(), c.y() + 5);
        }
        DrawRange(p);
    };
}

int TProAtlasView::SetSearchParams(const TMapSearchParams& params)
{
    TMapSearchParams p = params;
    const int decision = DecideAdaptorSearch(msProAtlas, 0, p);
    m_searchKind = p.SearchKind;
    m_latitude = p.Latitude;
    m_longitude = p.Longitude;
    m_address = p.Address;
    m_current = {p.Latitude, p.Longitude};
    return decision;
}

void TProAtlasView::PositionMap()
{
    const TMapPoint coords{m_latitude, m_longitude};
    TAreaChoice choice;
    if (!m_address.isEmpty() || (m_latitude != 0 && m_longitude != 0)) {
        TMapPoint found;
        const bool addressFound = !m_address.isEmpty() && SearchMapAddress(m_address, found) == 0;
        QList<TAreaProbe> probes;
        for (int i = 0; i < MapAreas().size(); ++i) {
            m_map->SetAreaCode(MapAreas()[i].AreaCode);
            TAreaProbe probe;
            if (addressFound && m_map->Include(i, found)) {
                m_map->CentreOn(found);
                probe.address = std::pair{m_map->LayerScale(), found};
            }
            if (m_map->Include(i, coords)) {
                m_map->CentreOn(coords);
                probe.coordinates = m_map->LayerScale();
            }
            probes << probe;
        }
        choice = ChooseMapArea(m_searchKind, probes, coords);
    }
    if (choice.area < 0) {
        m_cbxArea->setCurrentIndex(0);
        m_map->SetAreaCode(MapAreas().constFirst().AreaCode);
        m_current = m_map->Centre();
    } else {
        m_cbxArea->setCurrentIndex(choice.area);
        m_map->SetAreaCode(MapAreas()[choice.area].AreaCode);
        m_map->SetLayer(choice.scale);
        m_current = choice.position;
        m_map->CentreOn(m_current);
    }
    FillLayerBox();
}

void TProAtlasView::FillLayerBox()
{
    m_cbxLayer->clear();
    int selected = -1;
    for (const TMapLayerInfo& l : MapLayers()) {
        m_cbxLayer->addItem(l.Title);
        if (selected < 0 && l.LayerScale == m_map->LayerScale() && l.LayerID == m_map->LayerID())
            selected = int(m_cbxLayer->count() - 1);
    }
    if (selected < 0) {
        selected = 0;
        m_map->SetLayer(MapLayers().constFirst().LayerScale);
    }
    m_cbxLayer->setCurrentIndex(selected);
}

void TProAtlasView::ContextMenu(QPoint at)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("中心を選択位置にする"), this, [this] { m_map->CentreOn(m_current); });
    menu.addSeparator();
    menu.addAction(QStringLiteral("マウス位置を中心にする"), this, [this] {
        const TMapPoint p = m_map->PositionUnderMouse();
        m_map->CentreOn(p);
        m_current = p;
    });
    menu.addSeparator();
    menu.exec(m_map->mapToGlobal(at));
}

QString TProAtlasView::CopyText() const
{
    const QRect r = CopyRegion();
    return MapCornerText(m_map->PixelToPosition(r.topLeft()),
                         m_map->PixelToPosition(QPoint(r.left() + r.width() - 1, r.top() + r.height() - 1)));
}

// ---- program 5 ----

TMapFanView::TMapFanView(QWidget* owner)
    : TEmbeddedMapView(owner, QStringLiteral("MapFan"), QStringLiteral("MAPFAN_"))
{
    setObjectName(QStringLiteral("MapFanView"));
    m_cbxScale = new QComboBox(this);
    m_cbxScale->setObjectName(QStringLiteral("cbxScale"));
    m_pmMapFan = new QMenu(this);
    m_pmMapFan->setObjectName(QStringLiteral("pmMapFan"));
    QAction* centring = m_pmMapFan->addAction(QStringLiteral("中心を選択位置にする"));
    m_pmMapFan->addSeparator();
    QAction* mouseCentre = m_pmMapFan->addAction(QStringLiteral("マウス位置を中心にする"));
    m_pmMapFan->addSeparator();
    for (int i = 0; i < MapScaleCount; ++i) {
        m_cbxScale->addItem(MapScaleCaption(i));
        QAction* item = m_pmMapFan->addAction(MapScaleCaption(i));
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, i] { SelectScale(i); });
        m_scaleItems << item;
    }
    m_panel->addWidget(new QLabel(QStringLiteral("地図縮尺"), this));
    m_panel->addWidget(m_cbxScale);
    for (QToolButton* b : {m_sbtnClip, m_sbtnCopy, m_sbtnPrint, m_sbtnExit})
        m_panel->addWidget(b);
    m_panel->addStretch();

    connect(m_cbxScale, &QComboBox::activated, this, &TMapFanView::SelectScale);
    connect(centring, &QAction::triggered, this, [this] {
        m_map->CentreOn({From256thsToMilliseconds(m_latitude256), From256thsToMilliseconds(m_longitude256)});
    });
    connect(mouseCentre, &QAction::triggered, this, [this] { m_map->CentreOn(m_map->PositionUnderMouse()); });
    connect(m_map, &TMapControl::doubleClicked, this, [this](QPoint at) {
        const TMapPoint p = m_map->PixelToPosition(at);
        m_latitude256 = MillisecondsTo256ths(p.lat);
        m_longitude256 = MillisecondsTo256ths(p.lon);
        m_map->CentreOn(p);
    });
    connect(m_sbtnClip, &QToolButton::toggled, this, [this](bool down) {
        if (!down && !m_rangeShown)
            m_cbxScale->setFocus();
    });
    m_map->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_map, &QWidget::customContextMenuRequested, this, &TMapFanView::ContextMenu);
    m_map->PaintOverlay = [this](QPainter& p) {
        // The spot of the current position.
        if (m_showSpot && m_latitude256 != 0) {
            const QPoint c = m_map->PositionToPixel(
                {From256thsToMilliseconds(m_latitude256), From256thsToMilliseconds(m_longitude256)});
            p.setPen(QPen(QColor(255, 0, 0), 2));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(c, 6, 6);
        }
        DrawRange(p);
    };
}

int TMapFanView::SetSearchParams(const TMapSearchParams& params)
{
    TMapSearchParams p = params;
    const int decision = DecideAdaptorSearch(msMapFan, 0, p);
    m_searchKind = p.SearchKind;
    m_latitude = p.Latitude;
    m_longitude = p.Longitude;
    m_address = p.Address;
    m_latitude256 = MillisecondsTo256ths(p.Latitude);
    m_longitude256 = MillisecondsTo256ths(p.Longitude);
    return decision;
}

std::optional<std::pair<quint32, quint32>> TMapFanView::Position() const
{
    return std::make_pair(From256thsToMilliseconds(m_latitude256), From256thsToMilliseconds(m_longitude256));
}

void TMapFanView::PositionMap()
{
    const bool hasCoordinates = m_latitude != 0 && m_longitude != 0;
    TMapPoint found;
    const auto search = [&] {
        m_map->update();
        return SearchMapAddress(m_address, found) == 0;
    };
    const auto take = [this](TMapPoint p) {
        m_latitude256 = MillisecondsTo256ths(p.lat);
        m_longitude256 = MillisecondsTo256ths(p.lon);
    };
    if (m_searchKind == 0) {
        if (hasCoordinates)
            take({m_latitude, m_longitude});
        else if (!m_address.isEmpty() && search())
            take(found);
    } else if (!m_address.isEmpty() && search()) {
        take(found);
    } else if (hasCoordinates) {
        take({m_latitude, m_longitude});
    }
    if (m_latitude256 != 0 && m_longitude256 != 0)
        m_map->CentreOn({From256thsToMilliseconds(m_latitude256), From256thsToMilliseconds(m_longitude256)});
    const int index = ScaleIndexFromMask(m_map->AvailableScales());
    if (index >= 0)
        SelectScale(index);
}

void TMapFanView::SelectScale(int index)
{
    if (index < 0 || index >= MapScaleCount)
        return;
    if (m_scaleIndex >= 0)
        m_scaleItems[m_scaleIndex]->setChecked(false);
    m_scaleIndex = index;
    m_scaleItems[index]->setChecked(true);
    m_cbxScale->setCurrentIndex(index);
    m_map->SetLayer(MapLayers()[index].LayerScale);
    m_map->update();
}

void TMapFanView::ContextMenu(QPoint at)
{
    const quint32 mask = m_map->AvailableScales();
    for (int i = 0; i < MapScaleCount; ++i)
        m_scaleItems[i]->setEnabled(mask & MapScaleBit(i));
    m_pmMapFan->exec(m_map->mapToGlobal(at));
}

QImage TMapFanView::CopyPicture() const
{
    QImage picture = TEmbeddedMapView::CopyPicture();
    // The map data's attribution goes with every copy.
    QPainter p(&picture);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, picture.width(), 20), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("Natural Earth"));
    return picture;
}
