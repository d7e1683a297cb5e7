// The list-print preview.
#include "dataexchange/ListPrintPreview.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/ShellSub.h"
#include "dataexchange/ListPrint.h"
#include "layoutobjects/PrinterInfo.h"
#include "platform/IniFile.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

const QStringList ZoomNames = {QStringLiteral("用紙全体"), QStringLiteral("200%"), QStringLiteral("175%"),
                               QStringLiteral("150%"),     QStringLiteral("125%"), QStringLiteral("100%"),
                               QStringLiteral("75%"),      QStringLiteral("50%")};
constexpr double ZoomFactors[8] = {0, 2.0, 1.75, 1.5, 1.25, 1.0, 0.75, 0.5};

// The sheet stretched over the panel, inside a grey frame.
class TSheetPanel : public QWidget
{
public:
    TSheetPanel(QWidget* parent, const TDisplayList& sheet) : QWidget(parent), m_sheet(sheet)
    {
        setObjectName(QStringLiteral("pnlImage"));
        setCursor(Qt::OpenHandCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        m_sheet.ReplayInto(p, QRectF(rect()));
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QColor(128, 128, 128));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    const TDisplayList& m_sheet;
};

QToolButton* PageButton(QWidget* parent, const char* name, const QString& glyph, const QString& hint, int tag)
{
    auto* button = Named<QToolButton>(parent, name);
    button->setText(glyph);
    button->setToolTip(hint);
    button->setProperty("tag", tag);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TListPrintPreview::TListPrintPreview(TListPrint* owner) : QWidget(owner, Qt::Window), m_owner(owner)
{
    setObjectName(QStringLiteral("ListPrintPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("印刷プレビュー"));
    setMinimumSize(520, 260);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    auto* pnlTop = Named<QWidget>(this, "pnlTop");
    auto* bar = new QHBoxLayout(pnlTop);
    m_sbtnFirst = PageButton(pnlTop, "sbtnFirst", QStringLiteral("|◀"), QStringLiteral("先頭のデータ"), 0);
    m_sbtnPrior = PageButton(pnlTop, "sbtnPrior", QStringLiteral("◀"), QStringLiteral("１つ前のデータ"), 1);
    m_lblNowPage = Named<QLabel>(pnlTop, "lblNowPage");
    m_lblTotalPage = Named<QLabel>(pnlTop, "lblTotalPage");
    m_sbtnNext = PageButton(pnlTop, "sbtnNext", QStringLiteral("▶"), QStringLiteral("次のデータ"), 2);
    m_sbtnLast = PageButton(pnlTop, "sbtnLast", QStringLiteral("▶|"), QStringLiteral("最後のデータ"), 3);
    m_cbxZoom = Named<QComboBox>(pnlTop, "cbxZoom");
    m_cbxZoom->addItems(ZoomNames);
    m_btnClose = MakeButton(pnlTop, "btnClose", QStringLiteral("閉じる"));
    bar->addWidget(m_sbtnFirst);
    bar->addWidget(m_sbtnPrior);
    bar->addWidget(m_lblNowPage);
    bar->addWidget(new QLabel(QStringLiteral("/"), pnlTop));
    bar->addWidget(m_lblTotalPage);
    bar->addWidget(m_sbtnNext);
    bar->addWidget(m_sbtnLast);
    bar->addStretch();
    bar->addWidget(new QLabel(QStringLiteral("倍率："), pnlTop));
    bar->addSpacing(8);
    bar->addWidget(m_cbxZoom);
    bar->addSpacing(16);
    bar->addWidget(m_btnClose);
    bar->addSpacing(16);
    root->addWidget(pnlTop);

    m_sbxPreview = Named<QScrollArea>(this, "sbxPreview");
    m_sbxPreview->setWidgetResizable(false);
    m_sbxPreview->setBackgroundRole(QPalette::Dark);
    m_space = Named<QWidget>(m_sbxPreview, "bvlSpace");
    m_pnlImage = new TSheetPanel(m_space, m_sheet);
    m_sbxPreview->setWidget(m_space);
    m_sbxPreview->viewport()->installEventFilter(this);
    m_sbxPreview->installEventFilter(this);
    m_pnlImage->installEventFilter(this);
    root->addWidget(m_sbxPreview, 1);

    m_stbarInfo = Named<QStatusBar>(this, "stbarInfo");
    m_zoomPanel = new QLabel(QStringLiteral("  表示： 100%"), m_stbarInfo);
    m_zoomPanel->setFixedWidth(ScaleByDpi(90, 1));
    m_stbarInfo->addPermanentWidget(m_zoomPanel);
    root->addWidget(m_stbarInfo);

    m_pmZoom = new QMenu(this);
    m_pmZoom->setObjectName(QStringLiteral("pmZoom"));
    auto* zoomGroup = new QActionGroup(m_pmZoom);
    const char* zoomNames[8] = {"pmiZoomPaperSize", "pmiZoom200", "pmiZoom175", "pmiZoom150",
                                "pmiZoom125",       "pmiZoom100", "pmiZoom75",  "pmiZoom50"};
    for (int i = 0; i < 8; ++i) {
        QAction* action = m_pmZoom->addAction(ZoomNames[i]);
        action->setObjectName(QLatin1String(zoomNames[i]));
        action->setCheckable(true);
        zoomGroup->addAction(action);
        connect(action, &QAction::triggered, this, [this, i] { ChooseZoom(i); });
    }

    for (QToolButton* b : {m_sbtnFirst, m_sbtnPrior, m_sbtnNext, m_sbtnLast})
        connect(b, &QToolButton::clicked, this, [this, b] {
            switch (b->property("tag").toInt()) {
            case 0:
                GoToPage(1);
                break;
            case 1:
                GoToPage(m_page - 1);
                break;
            case 2:
                GoToPage(m_page + 1);
                break;
            default:
                GoToPage(m_total);
                break;
            }
        });
    connect(m_cbxZoom, &QComboBox::activated, this, [this](int i) { ChooseZoom(i); });
    (new TEnterMovesFocus(this))->addTarget(m_cbxZoom, m_btnClose);
    connect(m_btnClose, &QPushButton::clicked, this, &QWidget::close);
    auto* esc = new QAction(this);
    esc->setShortcut(Qt::Key_Escape);
    connect(esc, &QAction::triggered, this, &QWidget::close);
    addAction(esc);

    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    const QString& s = ListPrintPreviewSection;
    resize(ScaleByDpi(ini.ReadInteger(s, QStringLiteral("Width"), 960), 1),
           ScaleByDpi(ini.ReadInteger(s, QStringLiteral("Height"), 720), 1));
    if (ini.ValueExists(s, QStringLiteral("Left")) && ini.ValueExists(s, QStringLiteral("Top")))
        move(ScaleByDpi(ini.ReadInteger(s, QStringLiteral("Left"), 0), 1),
             ScaleByDpi(ini.ReadInteger(s, QStringLiteral("Top"), 0), 1));
    else
        CenterForm(this, nullptr);
    m_zoom = ini.ReadInteger(s, QStringLiteral("Zoom"), 0);
    if (m_zoom < 0 || m_zoom > 7)
        m_zoom = 0;
    m_cbxZoom->setCurrentIndex(m_zoom);

    m_page96 = m_owner->Printer().GetPageSize96();
    ComputeTotal();
    m_page = m_total > 0 ? 1 : 0;
    UpdatePageButtons();
    DrawCurrentPage();
}

TListPrintPreview::~TListPrintPreview()
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    const QString& s = ListPrintPreviewSection;
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    ini.WriteInteger(s, QStringLiteral("Left"), ScaleByDpi(normal.x(), 0));
    ini.WriteInteger(s, QStringLiteral("Top"), ScaleByDpi(normal.y(), 0));
    ini.WriteInteger(s, QStringLiteral("Width"), ScaleByDpi(normal.width(), 0));
    ini.WriteInteger(s, QStringLiteral("Height"), ScaleByDpi(normal.height(), 0));
    ini.WriteInteger(s, QStringLiteral("Zoom"), m_zoom);
    ini.UpdateFile();
}

void TListPrintPreview::ComputeTotal()
{
    m_total = ListPageCount(m_owner->TargetCount(), m_owner->RowsPerPage());
}

void TListPrintPreview::PreparePage()
{
    TPrinterInfo& printer = m_owner->Printer();
    m_sheet.Reset(QSize(std::max(1, printer.PhysicalWidth), std::max(1, printer.PhysicalHeight)),
                  std::max(1, printer.DpiX), std::max(1, printer.DpiY));
}

void TListPrintPreview::DrawCurrentPage()
{
    PreparePage();
    TPrinterInfo& printer = m_owner->Printer();
    if (printer.DpiX > 0) {
        const TListPageSource source = m_owner->PageSource();
        QPainter painter(&m_sheet);
        const QRect area(printer.OffsetX, printer.OffsetY, printer.PhysicalWidth - 2 * printer.OffsetX,
                         printer.PhysicalHeight - 2 * printer.OffsetY);
        TListPageDrawer drawer(source, painter, area, printer.DpiX, printer.DpiY);
        drawer.DrawPreviewPage(m_page, m_total);
    }
    m_pnlImage->update();
}

void TListPrintPreview::UpdatePageButtons()
{
    m_sbtnFirst->setEnabled(m_page > 1);
    m_sbtnPrior->setEnabled(m_page > 1);
    m_sbtnNext->setEnabled(m_page < m_total);
    m_sbtnLast->setEnabled(m_page < m_total);
    m_lblNowPage->setText(QString::number(m_page));
    m_lblTotalPage->setText(QString::number(m_total));
}

void TListPrintPreview::GoToPage(int page)
{
    m_page = std::clamp(page, std::min(1, m_total), m_total);
    UpdatePageButtons();
    DrawCurrentPage();
}

void TListPrintPreview::Rebuild()
{
    m_sizedZoom = -1;
    m_page96 = m_owner->Printer().GetPageSize96();
    ComputeTotal();
    m_page = m_total > 0 ? 1 : 0;
    UpdatePageButtons();
    DrawCurrentPage();
    m_sbxPreview->horizontalScrollBar()->setValue(0);
    m_sbxPreview->verticalScrollBar()->setValue(0);
    FitImage();
}

void TListPrintPreview::ChooseZoom(int index)
{
    if (index == m_zoom || index < 0 || index > 7)
        return;
    m_zoom = index;
    m_cbxZoom->setCurrentIndex(index);
    m_sbxPreview->horizontalScrollBar()->setValue(0);
    m_sbxPreview->verticalScrollBar()->setValue(0);
    FitImage();
}

void TListPrintPreview::FitImage()
{
    const QSize client = m_sbxPreview->viewport()->size();
    if ((m_zoom == 0 || m_zoom != m_sizedZoom) && m_page96.width() > 0 && m_page96.height() > 0) {
        double factor = ZoomFactors[m_zoom];
        if (m_zoom == 0)
            factor = std::min((client.width() - 44) / double(m_page96.width()),
                              (client.height() - 44) / double(m_page96.height()));
        factor = std::max(factor, 0.01);
        m_pnlImage->resize(int(RoundHalfAway(m_page96.width() * factor)),
                           int(RoundHalfAway(m_page96.height() * factor)));
        m_zoomPanel->setText(QString::asprintf("  表示： %d%%", int(RoundHalfAway(factor * 100))));
        m_sizedZoom = m_zoom;
    }
    const QSize panel = m_pnlImage->size();
    const int left = std::max(20, int(RoundHalfAway((client.width() - panel.width()) / 2.0)));
    const int top = std::max(20, int(RoundHalfAway((client.height() - panel.height()) / 2.0)));
    m_space->resize(std::max(client.width(), left + panel.width() + 20),
                    std::max(client.height(), top + panel.height() + 20));
    m_pnlImage->move(left, top);
    m_sbxPreview->horizontalScrollBar()->setValue(0);
    m_sbxPreview->verticalScrollBar()->setValue(0);
    m_pnlImage->update();
}

void TListPrintPreview::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_owner->PreviewShown(true);
    m_shown = true;
    FitImage();
}

void TListPrintPreview::closeEvent(QCloseEvent* event)
{
    m_owner->PreviewShown(false);
    QWidget::closeEvent(event);
}

// Page Up/Down and Up/Down scroll the sheet only while the box has the focus and can scroll up and down;
// otherwise they go to the window.
bool TListPrintPreview::ScrollKey(QKeyEvent* key)
{
    QScrollBar* v = m_sbxPreview->verticalScrollBar();
    int step = 0;
    switch (key->key()) {
    case Qt::Key_PageUp:
        step = -m_sbxPreview->viewport()->height();
        break;
    case Qt::Key_PageDown:
        step = m_sbxPreview->viewport()->height();
        break;
    case Qt::Key_Up:
        step = -v->singleStep();
        break;
    case Qt::Key_Down:
        step = v->singleStep();
        break;
    default:
        return false;
    }
    if (!m_sbxPreview->hasFocus() || !v->isVisible()) {
        key->ignore();
        return true;
    }
    v->setValue(v->value() + step);
    return true;
}

bool TListPrintPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_sbxPreview->viewport() && event->type() == QEvent::Resize && m_shown) {
        FitImage();
        return false;
    }
    if (watched == m_sbxPreview && event->type() == QEvent::KeyPress)
        return ScrollKey(static_cast<QKeyEvent*>(event));
    if (watched == m_sbxPreview->viewport() && event->type() == QEvent::Wheel) {
        QScrollBar* v = m_sbxPreview->verticalScrollBar();
        if (m_sbxPreview->hasFocus() && v->isVisible()) {
            const double notches = static_cast<QWheelEvent*>(event)->angleDelta().y() / 120.0;
            v->setValue(v->value() - qRound(notches * QApplication::wheelScrollLines() * v->singleStep()));
        }
        return true;
    }
    if (watched != m_pnlImage)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        m_sbxPreview->setFocus();
        if (mouse->button() == Qt::RightButton) {
            const auto actions = m_pmZoom->actions();
            actions[m_zoom]->setChecked(true);
            m_pmZoom->popup(mouse->globalPosition().toPoint());
            return true;
        }
        if (mouse->button() == Qt::LeftButton) {
            m_dragStart = mouse->position().toPoint();
            m_pnlImage->setCursor(Qt::ClosedHandCursor);
        }
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->buttons() & Qt::LeftButton) {
            const QPoint delta = m_dragStart - mouse->position().toPoint();
            QScrollBar* h = m_sbxPreview->horizontalScrollBar();
            QScrollBar* v = m_sbxPreview->verticalScrollBar();
            h->setValue(std::clamp(h->value() + delta.x(), 0, h->maximum()));
            v->setValue(std::clamp(v->value() + delta.y(), 0, v->maximum()));
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
        m_pnlImage->setCursor(Qt::OpenHandCursor);
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}
