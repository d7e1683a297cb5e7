// Illustration settings dialog: the pages, the zoomable preview with the cut-out handles, the thumbnails of
// the cut-out shapes, and the drag rules of the cut-out rectangle.
#include "layoutobjects/IllustSetting.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/PDFHelp.h"
#include "core/PaintPanel.h"
#include "layoutobjects/SettingDialogSub.h"
#include "platform/IniFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>

namespace {

const QString DesignSection = QStringLiteral("DESIGN");
constexpr int PreviewSide = 229;
constexpr int ThumbnailSide = 62;
constexpr int ThumbnailGap = 8;

bool isEdge(quint8 zone, quint8 first)
{
    return zone == first || zone == first + 1;
}

QRadioButton* radio(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = Named<QRadioButton>(parent, name, caption);
    PaintCheckedBlue(button);
    return button;
}

} // namespace

TRect DragMaskRect(const TRect& o, qint16 cursor, quint8& hZone, quint8& vZone, int x, int y, int lastX,
                   int lastY, bool keepRatio)
{
    if (cursor == CursorSizeAll)
        return o.Moved(x - lastX, y - lastY);
    TRect n = o;
    if (hZone == ZoneLeft)
        n.left = x;
    else if (hZone == ZoneRight)
        n.right = x;
    if (vZone == ZoneTop)
        n.top = y;
    else if (vZone == ZoneBottom)
        n.bottom = y;
    // The ratio rule divides by the sides of o; without one of them the edges simply follow.
    if (keepRatio && o.Width() != 0 && o.Height() != 0) {
        const bool hEdge = isEdge(hZone, ZoneLeft);
        const bool vEdge = isEdge(vZone, ZoneTop);
        const double sx = hEdge ? double(n.Width()) / o.Width() : 0;
        const double sy = vEdge ? double(n.Height()) / o.Height() : 0;
        qint64 dx = hZone == ZoneLeft ? n.left - o.left : hZone == ZoneRight ? n.right - o.right : 0;
        qint64 dy = vZone == ZoneTop ? n.top - o.top : vZone == ZoneBottom ? n.bottom - o.bottom : 0;
        const double a = double(o.Width()) / o.Height();
        if (std::abs(sx) >= std::abs(sy)) {
            dy = RoundHalfAway(dx / a);
            if ((hZone == ZoneRight && vZone == ZoneTop) || (hZone == ZoneLeft && vZone != ZoneTop))
                dy = -dy;
        } else {
            dx = RoundHalfAway(dy * a);
            if ((hZone != ZoneLeft && vZone == ZoneTop) || (hZone == ZoneLeft && vZone == ZoneBottom))
                dx = -dx;
        }
        const auto at = [](qint64 v) { return qint32(std::clamp<qint64>(v, INT32_MIN, INT32_MAX)); };
        if (hZone == ZoneLeft) {
            n.left = at(o.left + dx);
        } else if (hZone == ZoneRight) {
            n.right = at(o.right + dx);
        } else {
            n.left = at(o.left - dx / 2);
            n.right = at(o.right + dx / 2);
        }
        if (vZone == ZoneTop) {
            n.top = at(o.top + dy);
        } else if (vZone == ZoneBottom) {
            n.bottom = at(o.bottom + dy);
        } else {
            n.top = at(o.top - dy / 2);
            n.bottom = at(o.bottom + dy / 2);
        }
    }
    if (n.right < n.left) {
        std::swap(n.left, n.right);
        if (isEdge(hZone, ZoneLeft))
            hZone = hZone == ZoneLeft ? ZoneRight : ZoneLeft;
    }
    if (n.bottom < n.top) {
        std::swap(n.top, n.bottom);
        if (isEdge(vZone, ZoneTop))
            vZone = vZone == ZoneTop ? ZoneBottom : ZoneTop;
    }
    return n;
}

TRect DropMaskRect(const TRect& r, const TRect& s)
{
    TRect out = r;
    if (r.right < s.left)
        out = out.Moved(s.left - r.left, 0);
    else if (r.left > s.right)
        out = out.Moved(r.Width() > s.Width() ? s.left - r.left : s.right - r.right, 0);
    if (r.bottom < s.top)
        out = out.Moved(0, s.top - r.top);
    else if (r.top > s.bottom)
        out = out.Moved(0, r.Height() > s.Height() ? s.top - r.top : s.bottom - r.bottom);
    return out;
}

// ---- the window ----

TIllustSettingDialog::TIllustSettingDialog(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("IllustSettingDialog"));
    setWindowTitle(QStringLiteral("イラストの表示設定"));
    m_copy = std::make_unique<TIllustRect>();

    auto* root = new QHBoxLayout(this);
    pgcSetting = Named<QTabWidget>(this, "pgcSetting");
    pgcSetting->addTab(BuildPicturePage(), QStringLiteral("画像の向き"));
    pgcSetting->addTab(BuildMaskPage(), QStringLiteral("型抜き・透明化"));
    m_framePage = new TRectFramePage(pgcSetting, TCustomColorFile::WriteAlways);
    auto* frameLayout = qobject_cast<QGridLayout*>(m_framePage->layout());
    frameLayout->addLayout(BuildRatioRow(m_framePage, 3), frameLayout->rowCount(), 0, 1, 4);
    pgcSetting->addTab(m_framePage, QStringLiteral("飾り枠"));
    connect(pgcSetting, &QTabWidget::currentChanged, this, [this](int index) {
        SetHelpContext(this, index == 2 ? IllustSettingHelpFrame : IllustSettingHelpPicture);
    });
    root->addWidget(pgcSetting, 1);

    auto* right = new QVBoxLayout;
    sbxPreview = Named<QScrollArea>(this, "sbxPreview");
    sbxPreview->setFixedSize(PreviewSide, PreviewSide);
    sbxPreview->setWidgetResizable(false);
    QPalette white = sbxPreview->palette();
    white.setColor(QPalette::Window, Qt::white);
    sbxPreview->setPalette(white);
    sbxPreview->setBackgroundRole(QPalette::Window);
    sbxPreview->setFocusPolicy(Qt::StrongFocus);
    pbxPreview = new TPaintPanel;
    pbxPreview->setObjectName(QStringLiteral("pbxPreview"));
    pbxPreview->SetBevelOuter(bvNone);
    pbxPreview->SetColor(Qt::white);
    pbxPreview->setMouseTracking(true);
    pbxPreview->OnPaint = [this](TPaintPanel*, QPainter* painter, const QRect&) { paintPreview(*painter); };
    pbxPreview->OnMouseDown = [this](TPaintPanel*, QMouseEvent* e) { previewMouseDown(e); };
    pbxPreview->OnMouseMove = [this](TPaintPanel*, QMouseEvent* e) { previewMouseMove(e); };
    pbxPreview->OnMouseUp = [this](TPaintPanel*, QMouseEvent* e) { previewMouseUp(e); };
    pbxPreview->installEventFilter(this);
    sbxPreview->setWidget(pbxPreview);
    sbxPreview->viewport()->installEventFilter(this);
    right->addWidget(sbxPreview);
    right->addStretch();
    right->addLayout(OkCancelRow(this, btnOK, btnCancel));
    root->addLayout(right);

    m_framePage->SetBackEnterTarget([this] { return btnOK; });
    auto* enter = new TEnterMovesFocus(this);
    for (QWidget* w : std::initializer_list<QWidget*>{rbNone, rbMask, rbTransparent})
        enter->addNext(w);
    const auto checkedTurn = [this]() -> QWidget* {
        return rbL90->isChecked() ? rbL90 : rbR90->isChecked() ? rbR90 : rb180;
    };
    for (QWidget* w : std::initializer_list<QWidget*>{rbVert, rbHorz})
        enter->addTarget(w, checkedTurn);
    for (QWidget* w : std::initializer_list<QWidget*>{rbL90, rbR90, rb180})
        enter->addTarget(w, btnOK);

    LoadSettings();
    rbVert->setChecked(true);
    rbL90->setChecked(true);
    BuildMaskThumbnails();
}

TIllustSettingDialog::~TIllustSettingDialog()
{
    SaveSettings();
}

QHBoxLayout* TIllustSettingDialog::BuildRatioRow(QWidget* page, int number)
{
    auto* row = new QHBoxLayout;
    const std::pair<const char*, const char*> buttons[] = {
        {"sbtnJust", "全体"}, {"sbtnSame", "ｘ１"}, {"sbtnDouble", "ｘ２"}};
    for (int ratio = 0; ratio < 3; ++ratio) {
        auto* button = new QToolButton(page);
        button->setObjectName(QLatin1String(buttons[ratio].first) + QString::number(number));
        button->setText(QString::fromUtf8(buttons[ratio].second));
        button->setCheckable(true);
        button->setProperty("tag", ratio);
        PaintCheckedBlue(button);
        connect(button, &QToolButton::clicked, this, [this, ratio] { sbtnRatioClick(ratio); });
        row->addWidget(button);
        m_ratioButtons.append(button);
    }
    row->addStretch();
    return row;
}

QWidget* TIllustSettingDialog::BuildPicturePage()
{
    auto* page = Named<QWidget>(pgcSetting, "tbsPicture");
    auto* layout = new QVBoxLayout(page);
    auto* mirror = new QGroupBox(QStringLiteral("反転"), page);
    auto* mirrorLayout = new QHBoxLayout(mirror);
    rbVert = radio(mirror, "rbVert", QStringLiteral("上下に反転"));
    rbHorz = radio(mirror, "rbHorz", QStringLiteral("左右に反転"));
    bbtnReverse = MakeButton(mirror, "bbtnReverse", QStringLiteral("実行(&R)"));
    connect(bbtnReverse, &QPushButton::clicked, this, &TIllustSettingDialog::bbtnReverseClick);
    for (QWidget* w : std::initializer_list<QWidget*>{rbVert, rbHorz})
        mirrorLayout->addWidget(w);
    mirrorLayout->addStretch();
    mirrorLayout->addWidget(bbtnReverse);
    layout->addWidget(mirror);

    auto* turn = new QGroupBox(QStringLiteral("回転"), page);
    auto* turnLayout = new QHBoxLayout(turn);
    rbL90 = radio(turn, "rbL90", QStringLiteral("左90°"));
    rbR90 = radio(turn, "rbR90", QStringLiteral("右90°"));
    rb180 = radio(turn, "rb180", QStringLiteral("180°"));
    bbtnRotate = MakeButton(turn, "bbtnRotate", QStringLiteral("実行(&T)"));
    connect(bbtnRotate, &QPushButton::clicked, this, &TIllustSettingDialog::bbtnRotateClick);
    for (QWidget* w : std::initializer_list<QWidget*>{rbL90, rbR90, rb180})
        turnLayout->addWidget(w);
    turnLayout->addStretch();
    turnLayout->addWidget(bbtnRotate);
    layout->addWidget(turn);
    layout->addStretch();
    layout->addLayout(BuildRatioRow(page, 1));
    return page;
}

QWidget* TIllustSettingDialog::BuildMaskPage()
{
    auto* page = Named<QWidget>(pgcSetting, "tbsMask");
    auto* layout = new QVBoxLayout(page);
    auto* mode = new QGroupBox(QStringLiteral("表示"), page);
    auto* modeLayout = new QHBoxLayout(mode);
    rbNone = radio(mode, "rbNone", QStringLiteral("そのまま"));
    rbMask = radio(mode, "rbMask", QStringLiteral("型抜き"));
    rbTransparent = radio(mode, "rbTransparent", QStringLiteral("透明色の指定"));
    for (QRadioButton* r : {rbNone, rbMask, rbTransparent}) {
        modeLayout->addWidget(r);
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                rbImageViewClick();
        });
    }
    modeLayout->addStretch();
    layout->addWidget(mode);

    sbxMask = Named<QScrollArea>(page, "sbxMask");
    sbxMask->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sbxMask->setWidgetResizable(false);
    sbxMask->setFocusPolicy(Qt::StrongFocus);
    sbxMask->installEventFilter(this);
    sbxMask->viewport()->installEventFilter(this);
    m_maskHolder = new QWidget;
    m_maskHolder->setObjectName(QStringLiteral("maskHolder"));
    sbxMask->setWidget(m_maskHolder);
    const int c = ScaleByDpi(ThumbnailSide, 1);
    const int g = ScaleByDpi(ThumbnailGap, 1);
    sbxMask->setFixedHeight(2 * c + 3 * g + sbxMask->horizontalScrollBar()->sizeHint().height() + 4);
    layout->addWidget(sbxMask);
    lblMaskNote = Named<QLabel>(page, "lblMaskNote", QStringLiteral("※切り抜き位置はドラッグで調整できます"));
    layout->addWidget(lblMaskNote);

    auto* transparent = new QHBoxLayout;
    auto* lblTransparent = Named<QLabel>(page, "lblTransparent", QStringLiteral("透明色："));
    pnlTransparentColor = new TColorPanel(page, "pnlTransparentColor");
    auto* lblClick = Named<QLabel>(page, "lblClickPicture", QStringLiteral("(画像をクリックしてください)"));
    m_transparentLabels = {lblTransparent, lblClick};
    transparent->addWidget(lblTransparent);
    transparent->addWidget(pnlTransparentColor);
    transparent->addWidget(lblClick);
    transparent->addStretch();
    layout->addLayout(transparent);
    layout->addStretch();
    layout->addLayout(BuildRatioRow(page, 2));
    return page;
}

// ---- settings ----

void TIllustSettingDialog::LoadSettings()
{
    LoadSettingPage(pgcSetting, QStringLiteral("IllustSet"));
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    const int ratio = ini.ReadInteger(DesignSection, QStringLiteral("IllustSetRatio"), 0);
    const int pressed = ratio == 0 ? RatioWhole : ratio == 1 ? RatioSame : RatioDouble;
    for (QToolButton* button : m_ratioButtons)
        button->setChecked(button->property("tag").toInt() == pressed);
}

void TIllustSettingDialog::SaveSettings() const
{
    SaveSettingPage(pgcSetting, QStringLiteral("IllustSet"));
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteInteger(DesignSection, QStringLiteral("IllustSetRatio"), currentRatio());
    ini.UpdateFile();
}

int TIllustSettingDialog::currentRatio() const
{
    for (int i = 0; i < 3; ++i)
        if (m_ratioButtons[i]->isChecked())
            return i;
    return RatioWhole;
}

void TIllustSettingDialog::BuildMaskThumbnails()
{
    const int c = ScaleByDpi(ThumbnailSide, 1);
    const int g = ScaleByDpi(ThumbnailGap, 1);
    const QStringList& names = FrameMetafileNames();
    for (int i = 0; i < names.size(); ++i) {
        QImage thumbnail(ThumbnailSide, ThumbnailSide, QImage::Format_RGB32);
        thumbnail.fill(Qt::white);
        const TMaskPicture mask = TMaskPicture::FromFile(names[i]);
        if (!mask.IsNull()) {
            QSvgRenderer renderer(mask.Data());
            QPainter painter(&thumbnail);
            renderer.render(&painter, QRectF(0, 0, ThumbnailSide, ThumbnailSide));
        }
        m_thumbnails.append(thumbnail);

        auto* box = new TPaintPanel(m_maskHolder);
        box->setObjectName(QStringLiteral("pbxMask%1").arg(i));
        box->setProperty("tag", i);
        box->SetBevelOuter(bvNone);
        const int column = i / 2;
        const int row = i % 2;
        box->setGeometry((column + 1) * g + column * c, (row + 1) * g + row * c, c, c);
        box->OnPaint = [this, i](TPaintPanel* sender, QPainter* painter, const QRect&) {
            const QRect r = sender->rect();
            painter->drawImage(r, m_thumbnails[i]);
            painter->setBrush(Qt::NoBrush);
            if (i == m_selectedMask) {
                painter->setPen(QPen(Qt::red, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
                painter->drawRect(r.adjusted(1, 1, -2, -2));
            } else {
                painter->setPen(QColor(128, 128, 128));
                painter->drawRect(r.adjusted(0, 0, -1, -1));
            }
        };
        box->OnMouseDown = [this, i](TPaintPanel*, QMouseEvent*) {
            sbxMask->setFocus();
            if (i != m_selectedMask)
                selectMask(i);
        };
        m_thumbnailBoxes.append(box);
    }
    const int columns = int((names.size() + 1) / 2);
    m_maskHolder->resize(columns * (c + g) + g, 2 * (c + g) + g);
    sbxMask->horizontalScrollBar()->setSingleStep((c + g) / 2);
}

// ---- filling ----

void TIllustSettingDialog::SetIllust(const TIllustRect& frame)
{
    m_copy->Assign(frame);
    const TRect r = m_copy->GetDesignRect();
    m_copy->SetDesignRect({0, 0, r.Width(), r.Height()});

    m_selectedMask = 0;
    const QImage& bitmap = m_copy->GetBitmap();
    if (!bitmap.isNull())
        pnlTransparentColor->SetColor(QColorToColorRef(bitmap.pixelColor(0, bitmap.height() - 1)));
    if (m_copy->FrameIndex() < 0) {
        if (m_copy->TransparentColor() == NoTransparentColor) {
            rbNone->setChecked(true);
        } else {
            pnlTransparentColor->SetColor(m_copy->TransparentColor());
            rbTransparent->setChecked(true);
        }
    } else {
        m_selectedMask = m_copy->FrameIndex();
        rbMask->setChecked(true);
    }
    rbImageViewClick();
    m_framePage->Bind(&m_copy->Frame(), [this] { repaintPreview(); });
}

void TIllustSettingDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    switch (pgcSetting->currentIndex()) {
    case 0:
        SetHelpContext(this, IllustSettingHelpPicture);
        rbVert->setFocus();
        break;
    case 1:
        SetHelpContext(this, IllustSettingHelpPicture);
        (rbMask->isChecked() ? rbMask : rbTransparent->isChecked() ? rbTransparent : rbNone)->setFocus();
        break;
    default:
        SetHelpContext(this, IllustSettingHelpFrame);
        m_framePage->ckbFrame->setFocus();
        break;
    }
    sbtnRatioClick(currentRatio());
}

// ---- ratio, mirror and turn ----

void TIllustSettingDialog::sbtnRatioClick(int ratio)
{
    pbxPreview->resize(0, 0);
    sbxPreview->horizontalScrollBar()->setValue(0);
    sbxPreview->verticalScrollBar()->setValue(0);
    const TRect design = m_copy->GetDesignRect();
    const int side = qMax(design.Width(), design.Height());
    double zoom = ratio == RatioSame ? 1.0 : 2.0;
    if (ratio == RatioWhole)
        zoom = side > 0 ? 0.9 * sbxPreview->height() / side : 1.0;
    for (QToolButton* button : m_ratioButtons)
        button->setChecked(button->property("tag").toInt() == ratio);
    m_copy->SetZoom(zoom);
    layoutPreview();
}

void TIllustSettingDialog::layoutPreview()
{
    const TRect screen = m_copy->GetScreenRect();
    const int w = screen.Width();
    const int h = screen.Height();
    const int W = sbxPreview->width();
    const int H = sbxPreview->height();
    const int left = qMax(0, (W - w - 4) / 2);
    const int top = qMax(0, (H - h - 4) / 2);
    m_copy->SetScreenRect({left, top, left + w, top + h});
    pbxPreview->move(0, 0);
    pbxPreview->resize(qMax(W - 4, w), qMax(H - 4, h));
    repaintPreview();
}

void TIllustSettingDialog::bbtnReverseClick()
{
    m_copy->Flip(rbVert->isChecked() ? 0 : 1);
    repaintPreview();
}

void TIllustSettingDialog::bbtnRotateClick()
{
    const int kind = rbL90->isChecked() ? 0 : rbR90->isChecked() ? 1 : 2;
    m_copy->Rotate(kind);
    if (kind != 2) {
        const TRect r = m_copy->GetDesignRect();
        m_copy->SetDesignRect({r.left, r.top, r.left + r.Height(), r.top + r.Width()});
        sbxPreview->horizontalScrollBar()->setValue(0);
        sbxPreview->verticalScrollBar()->setValue(0);
        layoutPreview();
    }
    repaintPreview();
}

// ---- display mode and cut-out shapes ----

void TIllustSettingDialog::rbImageViewClick()
{
    update();
    const bool mask = rbMask->isChecked();
    const bool transparent = rbTransparent->isChecked();
    sbxMask->setVisible(mask);
    lblMaskNote->setVisible(mask);
    pnlTransparentColor->setVisible(transparent);
    for (QLabel* label : m_transparentLabels)
        label->setVisible(transparent);
    if (mask) {
        m_copy->SetFrameIndex(m_selectedMask);
    } else if (transparent) {
        m_copy->SetTransparentColor(pnlTransparentColor->Color());
    } else {
        m_copy->SetFrameIndex(-1);
        m_copy->SetTransparentColor(NoTransparentColor);
    }
    repaintPreview();
}

void TIllustSettingDialog::selectMask(int index)
{
    m_selectedMask = index;
    for (TPaintPanel* box : m_thumbnailBoxes)
        box->update();
    m_copy->SetFrameIndex(index);
    repaintPreview();
}

void TIllustSettingDialog::maskKey(int key)
{
    const int count = int(m_thumbnailBoxes.size());
    int index = m_selectedMask;
    if (key == Qt::Key_Left && index >= 2)
        index -= 2;
    else if (key == Qt::Key_Right && index + 2 < count)
        index += 2;
    else if (key == Qt::Key_Up && index > 0)
        index -= 1;
    else if (key == Qt::Key_Down && index + 1 < count)
        index += 1;
    if (index == m_selectedMask || index < 0 || index >= count)
        return;
    m_selectedMask = index;
    for (TPaintPanel* box : m_thumbnailBoxes)
        box->update();
    // Keep the new thumbnail in view with a margin of 8 pixels.
    QScrollBar* bar = sbxMask->horizontalScrollBar();
    const QWidget* box = m_thumbnailBoxes[index];
    const int left = box->x() + m_maskHolder->x();
    const int clientWidth = sbxMask->viewport()->width();
    if (left - 8 < 0)
        bar->setValue(bar->value() - (8 - left));
    else if (left + box->width() + 8 > clientWidth)
        bar->setValue(left + box->width() + bar->value() - clientWidth + 8);
    m_copy->SetFrameIndex(index);
    repaintPreview();
}

bool TIllustSettingDialog::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == sbxMask && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down) {
            maskKey(key);
            return true;
        }
    }
    if (e->type() == QEvent::Wheel && (watched == sbxMask->viewport() || watched == sbxPreview->viewport())) {
        const int steps = static_cast<QWheelEvent*>(e)->angleDelta().y() / 120;
        QScrollArea* box = watched == sbxMask->viewport() ? sbxMask : sbxPreview;
        QScrollBar* bar = box == sbxPreview && box->verticalScrollBar()->isVisible()
                              ? box->verticalScrollBar()
                              : box->horizontalScrollBar();
        if (bar->isVisible()) {
            const int lines = box == sbxPreview ? QApplication::wheelScrollLines() : 1;
            bar->setValue(bar->value() - steps * lines * bar->singleStep());
        }
        return true;
    }
    if (watched == pbxPreview && e->type() == QEvent::Leave) {
        m_cursor = CursorDefault;
        pbxPreview->unsetCursor();
    }
    return QDialog::eventFilter(watched, e);
}

// ---- the preview ----

void TIllustSettingDialog::paintPreview(QPainter& painter)
{
    m_copy->Draw(painter, 0, 0);
    if (!m_copy->Frame().FrameVisible() && !m_copy->Frame().FillVisible())
        OutlinePreview(painter, m_copy->GetScreenRect());
    if (!rbMask->isChecked())
        return;
    // The handles show on any picture: yellow taken away from what lies under them.
    const TRect r = m_copy->ImageScreenRect();
    const int L = r.left, T = r.top, R = r.right, B = r.bottom;
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.setPen(QPen(QColor(255, 255, 0), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(L, T, R - L - 1, B - T - 1);
    const QPoint corners[] = {
        {L - 3, T - 3}, {L - 3, T + (B - T) / 2 - 3}, {L - 3, B - 4}, {L + (R - L) / 2 - 3, T - 3},
        {R - 4, T - 3}, {R - 4, T + (B - T) / 2 - 3}, {R - 4, B - 4}, {L + (R - L) / 2 - 3, B - 4}};
    for (const QPoint& p : corners)
        painter.fillRect(QRect(p, QSize(7, 7)), QColor(255, 255, 0));
    painter.restore();
}

void TIllustSettingDialog::repaintPreview()
{
    pbxPreview->update();
}

void TIllustSettingDialog::previewMouseDown(QMouseEvent* e)
{
    sbxPreview->setFocus();
    const QPoint p = e->position().toPoint();
    if (!rbMask->isChecked()) {
        if (pgcSetting->currentIndex() == 1 && rbTransparent->isChecked() &&
            m_copy->GetScreenRect().Contains(p.x(), p.y())) {
            const QImage canvas = pbxPreview->grab().toImage();
            if (canvas.rect().contains(p)) {
                pnlTransparentColor->SetColor(QColorToColorRef(canvas.pixelColor(p)));
                m_copy->SetTransparentColor(pnlTransparentColor->Color());
                repaintPreview();
            }
        }
        return;
    }
    if (e->button() != Qt::LeftButton || m_cursor == CursorDefault)
        return;
    m_last = p;
    m_dragging = false;
    m_pressed = true;
    m_dragCursor = m_cursor;
    const quint16 zone = m_copy->GetMaskHandleZone(p.x(), p.y());
    m_hZone = quint8(zone & 0xFF);
    m_vZone = quint8(zone >> 8);
}

void TIllustSettingDialog::previewMouseMove(QMouseEvent* e)
{
    if (!rbMask->isChecked())
        return;
    const QPoint p = e->position().toPoint();
    if (!(e->buttons() & Qt::LeftButton) || !m_pressed) {
        m_cursor = m_copy->GetMaskCursorAt(p.x(), p.y());
        pbxPreview->setCursor(CursorShapeFor(m_cursor));
        return;
    }
    m_dragging = true;
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    const TRect moved = DragMaskRect(m_copy->ImageScreenRect(), m_dragCursor, m_hZone, m_vZone, p.x(), p.y(),
                                     m_last.x(), m_last.y(), shift);
    m_copy->SetImageScreenRect(moved);
    m_last = p;
    repaintPreview();
}

void TIllustSettingDialog::previewMouseUp(QMouseEvent*)
{
    m_pressed = false;
    if (!m_dragging)
        return;
    m_copy->SetImageScreenRect(DropMaskRect(m_copy->ImageScreenRect(), m_copy->GetScreenRect()));
    m_dragging = false;
    repaintPreview();
}
