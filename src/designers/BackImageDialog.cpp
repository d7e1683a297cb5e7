// The background dialog of the message-side design.
#include "designers/BackImageDialog.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/PDFHelp.h"
#include "core/PaintPanel.h"
#include "core/UpDownEdit.h"
#include "designers/ImageToolLink.h"
#include "layoutobjects/ImageUtils.h"
#include "layoutobjects/SettingDialogSub.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int PreviewSide = 315;

QRadioButton* radio(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = Named<QRadioButton>(parent, name, caption);
    PaintCheckedBlue(button);
    return button;
}

QStringList localFiles(const QMimeData* data)
{
    QStringList files;
    if (!data)
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    return files;
}

} // namespace

TBackImageDialog::TBackImageDialog(QWidget* owner, TImageToolLink* link) : QDialog(owner), m_link(link)
{
    setObjectName(QStringLiteral("BackImageDialog"));
    setWindowTitle(QStringLiteral("背景の設定"));
    SetHelpContext(this, BackImageHelp);
    auto* root = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    auto* left = new QVBoxLayout;

    auto* kind = new QGroupBox(QStringLiteral("種類"), this);
    auto* kindRow = new QHBoxLayout(kind);
    rbNone = radio(kind, "rbNone", QStringLiteral("なし"));
    rbImage = radio(kind, "rbImage", QStringLiteral("画像を使用"));
    rbColor = radio(kind, "rbColor", QStringLiteral("色を指定"));
    for (QRadioButton* b : {rbNone, rbImage, rbColor})
        kindRow->addWidget(b);
    left->addWidget(kind);

    m_pages = new QStackedWidget(this);
    m_emptyPage = new QWidget(m_pages);
    tbsImage = BuildImagePage();
    tbsColor = BuildColorPage();
    for (QWidget* page : {m_emptyPage, tbsImage, tbsColor})
        m_pages->addWidget(page);
    left->addWidget(m_pages, 1);
    body->addLayout(left, 1);

    auto* preview = Named<QFrame>(this, "pnlPreview");
    preview->setFrameShape(QFrame::Panel);
    preview->setFrameShadow(QFrame::Sunken);
    preview->setFixedSize(PreviewSide, PreviewSide);
    preview->setAcceptDrops(true);
    preview->installEventFilter(this);
    pnlPreview = preview;
    auto* card = Named<TPaintPanel>(preview, "pnlCard");
    card->SetBevelOuter(bvNone);
    card->SetColor(Qt::white);
    card->OnPaint = [this](TPaintPanel* panel, QPainter* painter, const QRect&) {
        BackImage.Draw(*painter, 0, 0);
        painter->setPen(QColor(0x80, 0x80, 0x80));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(panel->rect().adjusted(0, 0, -1, -1));
    };
    pnlCard = card;
    body->addWidget(preview, 0, Qt::AlignTop);
    root->addLayout(body);

    btnOK = MakeButton(this, "btnOK", QStringLiteral("OK"), true);
    btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    root->addLayout(ButtonRow({btnOK, btnCancel}));

    const auto onChecked = [this](QRadioButton* button, auto handler) {
        connect(button, &QRadioButton::toggled, this, [handler](bool checked) {
            if (checked)
                handler();
        });
    };
    onChecked(rbNone, [this] { BackImageTypeClick(0); });
    onChecked(rbImage, [this] { BackImageTypeClick(1); });
    onChecked(rbColor, [this] { BackImageTypeClick(2); });
    onChecked(rbStretch, [this] { ImageViewClick(BackFitted); });
    onChecked(rbCenter, [this] { ImageViewClick(BackCentred); });
    onChecked(rbTiled, [this] { ImageViewClick(BackTiled); });
    onChecked(rbFilled, [this] { ColorKindClick(); });
    onChecked(rbGradation, [this] { ColorKindClick(); });
    if (m_link)
        connect(m_link, &TImageToolLink::imageChosen, this, &TBackImageDialog::TakePictureFile);
    else
        bbtnImage->setEnabled(false);

    // Create.
    for (QRadioButton* b : {rbStretch, rbVert, rbL90, rbFilled, rbNone})
        b->setChecked(true);
    edAngle->SetValue(0);
}

TBackImageDialog::~TBackImageDialog() = default;

QWidget* TBackImageDialog::BuildImagePage()
{
    auto* page = Named<QWidget>(m_pages, "tbsImage");
    auto* box = new QVBoxLayout(page);
    bbtnImage = MakeButton(page, "bbtnImage", QStringLiteral("画像を選択(&S)"));
    connect(bbtnImage, &QPushButton::clicked, this, &TBackImageDialog::RequestPicture);
    box->addWidget(bbtnImage, 0, Qt::AlignLeft);

    auto* tabs = Named<QTabWidget>(page, "pgcImage");
    auto* placement = new QWidget(tabs);
    auto* placementBox = new QVBoxLayout(placement);
    rbStretch = radio(placement, "rbStretch", QStringLiteral("用紙サイズにあわせて表示"));
    rbCenter = radio(placement, "rbCenter", QStringLiteral("中央に表示"));
    rbTiled = radio(placement, "rbTiled", QStringLiteral("並べて表示"));
    for (QRadioButton* b : {rbStretch, rbCenter, rbTiled})
        placementBox->addWidget(b);
    placementBox->addStretch();
    tabs->addTab(placement, QStringLiteral("画像の配置"));

    auto* turning = new QWidget(tabs);
    auto* turningRow = new QHBoxLayout(turning);
    auto* flip = new QGroupBox(QStringLiteral("反転"), turning);
    auto* flipBox = new QVBoxLayout(flip);
    rbVert = radio(flip, "rbVert", QStringLiteral("上下に反転"));
    rbHorz = radio(flip, "rbHorz", QStringLiteral("左右に反転"));
    bbtnReverse = MakeButton(flip, "bbtnReverse", QStringLiteral("実行(&R)"));
    for (QWidget* w : std::initializer_list<QWidget*>{rbVert, rbHorz, bbtnReverse})
        flipBox->addWidget(w);
    auto* turn = new QGroupBox(QStringLiteral("回転"), turning);
    auto* turnBox = new QVBoxLayout(turn);
    rbL90 = radio(turn, "rbL90", QStringLiteral("左90°"));
    rbR90 = radio(turn, "rbR90", QStringLiteral("右90°"));
    rb180 = radio(turn, "rb180", QStringLiteral("180°"));
    bbtnRotate = MakeButton(turn, "bbtnRotate", QStringLiteral("実行(&T)"));
    for (QWidget* w : std::initializer_list<QWidget*>{rbL90, rbR90, rb180, bbtnRotate})
        turnBox->addWidget(w);
    turningRow->addWidget(flip);
    turningRow->addWidget(turn);
    tabs->addTab(turning, QStringLiteral("画像の向き"));
    connect(bbtnReverse, &QPushButton::clicked, this, &TBackImageDialog::Reverse);
    connect(bbtnRotate, &QPushButton::clicked, this, &TBackImageDialog::Rotate);
    box->addWidget(tabs, 1);
    return page;
}

QWidget* TBackImageDialog::BuildColorPage()
{
    auto* page = Named<QWidget>(m_pages, "tbsColor");
    auto* grid = new QGridLayout(page);
    auto* kinds = new QWidget(page);
    auto* kindsRow = new QHBoxLayout(kinds);
    kindsRow->setContentsMargins(0, 0, 0, 0);
    rbFilled = radio(kinds, "rbFilled", QStringLiteral("単色"));
    rbGradation = radio(kinds, "rbGradation", QStringLiteral("グラデーション"));
    kindsRow->addWidget(rbFilled);
    kindsRow->addWidget(rbGradation);
    kindsRow->addStretch();
    pnlColor1 = new TColorPanel(page, "pnlColor1");
    bbtnColorDlg1 = ColorButton(page, "bbtnColorDlg1", QString(), pnlColor1, TCustomColorFile::WriteAlways,
                                [this](quint32 color) {
                                    BackImage.SetColor(color);
                                    RepaintPreview();
                                });
    pnlColor2 = new TColorPanel(page, "pnlColor2");
    bbtnColorDlg2 = ColorButton(page, "bbtnColorDlg2", QString(), pnlColor2, TCustomColorFile::WriteAlways,
                                [this](quint32 color) {
                                    BackImage.SetColor2(color);
                                    RepaintPreview();
                                });
    edAngle = Named<TUpDownEdit>(page, "edAngle");
    edAngle->SetRange(0, 359);
    edAngle->SetMaxLength(3);
    SetImeMode(edAngle, imClose);
    connect(edAngle, &TUpDownEdit::ValueApplied, this, [this](int angle) {
        BackImage.SetGradientAngle(angle);
        RepaintPreview();
    });
    auto* lblColor2 = Named<QLabel>(page, "lblColor2", QStringLiteral("色２"));
    auto* lblAngle = Named<QLabel>(page, "lblAngle", QStringLiteral("角度"));
    grid->addWidget(kinds, 0, 0, 1, 3);
    grid->addWidget(Named<QLabel>(page, "lblColor1", QStringLiteral("色１")), 1, 0);
    grid->addWidget(pnlColor1, 1, 1);
    grid->addWidget(bbtnColorDlg1, 1, 2);
    grid->addWidget(lblColor2, 2, 0);
    grid->addWidget(pnlColor2, 2, 1);
    grid->addWidget(bbtnColorDlg2, 2, 2);
    grid->addWidget(lblAngle, 3, 0);
    grid->addWidget(edAngle, 3, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(4, 1);
    m_color2Controls = {lblColor2, pnlColor2, bbtnColorDlg2, lblAngle, edAngle};
    return page;
}

QWidget* TBackImageDialog::Preview() const
{
    return pnlPreview;
}

void TBackImageDialog::SetBackImage(const TBackImage& background)
{
    BackImage.Assign(background);
    const QSize paper = background.PaperSize();
    const int w = int(RoundHalfAway(paper.width() / 254.0 * 96));
    const int h = int(RoundHalfAway(paper.height() / 254.0 * 96));
    const QRect client = pnlPreview->contentsRect();
    if (w > 0 && h > 0) {
        const double zoom = client.height() * 0.9 / std::max(w, h);
        BackImage.SetZoom(zoom);
        // Halves to even, as the panel is sized.
        const int pw = int(std::nearbyint(w * zoom));
        const int ph = int(std::nearbyint(h * zoom));
        pnlCard->setGeometry(client.x() + (client.width() - pw) / 2, client.y() + (client.height() - ph) / 2,
                             pw, ph);
    }
    const quint8 mode = BackImage.Mode();
    if (mode < BackColor) {
        BackImage.SetColor(BackDefaultColor);
        BackImage.SetColor2(PureWhite);
    } else if (mode == BackColor) {
        BackImage.SetColor2(PureWhite);
    } else {
        edAngle->SetValue(BackImage.GradientAngle());
    }
    switch (mode) {
    case BackFitted:
    case BackCentred:
    case BackTiled:
        (mode == BackFitted ? rbStretch : mode == BackCentred ? rbCenter : rbTiled)->setChecked(true);
        rbImage->setChecked(true);
        break;
    case BackColor:
    case BackGradient:
        (mode == BackColor ? rbFilled : rbGradation)->setChecked(true);
        rbColor->setChecked(true);
        break;
    default:
        rbNone->setChecked(true);
        break;
    }
    // The checks above may all have been set already; the mode is the background's own.
    BackImage.SetMode(mode);
    ShowColors();
    ColorKindClick();
    BackImageTypeClick(rbImage->isChecked() ? 1 : rbColor->isChecked() ? 2 : 0);
}

void TBackImageDialog::BackImageTypeClick(int tag)
{
    m_pages->setCurrentWidget(tag == 1 ? tbsImage : tag == 2 ? tbsColor : m_emptyPage);
    if (tag == 0)
        BackImage.SetMode(BackNone);
    else if (tag == 1)
        BackImage.SetMode(rbStretch->isChecked() ? BackFitted : rbCenter->isChecked() ? BackCentred : BackTiled);
    else
        BackImage.SetMode(rbFilled->isChecked() ? BackColor : BackGradient);
    SetHelpContext(this, BackImageHelp);
    RepaintPreview();
}

void TBackImageDialog::ImageViewClick(int mode)
{
    if (rbImage->isChecked())
        BackImage.SetMode(quint8(mode));
    RepaintPreview();
}

void TBackImageDialog::ColorKindClick()
{
    const bool gradient = rbGradation->isChecked();
    if (rbColor->isChecked())
        BackImage.SetMode(gradient ? BackGradient : BackColor);
    for (QWidget* w : m_color2Controls)
        w->setVisible(gradient);
    RepaintPreview();
}

void TBackImageDialog::Reverse()
{
    if (BackImage.Picture().isNull())
        return;
    BackImage.Flip(rbVert->isChecked() ? 0 : 1);
    RepaintPreview();
}

void TBackImageDialog::Rotate()
{
    if (BackImage.Picture().isNull())
        return;
    BackImage.Rotate(rbL90->isChecked() ? 0 : rbR90->isChecked() ? 1 : 2);
    RepaintPreview();
}

void TBackImageDialog::RequestPicture()
{
    if (m_link)
        m_link->RequestSelect(this);
}

void TBackImageDialog::TakePictureFile(const QString& path)
{
    if (!rbImage->isChecked()) {
        rbImage->setChecked(true);
        rbImage->setFocus();
    }
    {
        TBusyCursor busy;
        if (GetImageFileType(path) > 0) {
            int dpi = 72;
            try {
                if (std::optional<TGraphic> graphic = LoadImageWithDpi(path, dpi)) {
                    BackImage.SetGraphic(&*graphic);
                    BackImage.SetDpi(dpi);
                }
            } catch (const EImageFileError&) {
                // An unreadable file leaves the background as it was.
            }
        }
    }
    RepaintPreview();
}

void TBackImageDialog::DropFiles(const QStringList& paths)
{
    if (!paths.isEmpty())
        TakePictureFile(paths.first());
}

void TBackImageDialog::ShowColors()
{
    pnlColor1->SetColor(BackImage.Color());
    pnlColor2->SetColor(BackImage.Color2());
}

void TBackImageDialog::RepaintPreview()
{
    pnlCard->update();
}

bool TBackImageDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == pnlPreview) {
        if (event->type() == QEvent::DragEnter) {
            auto* drag = static_cast<QDragEnterEvent*>(event);
            if (!localFiles(drag->mimeData()).isEmpty()) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            const QStringList files = localFiles(drop->mimeData());
            if (!files.isEmpty()) {
                drop->acceptProposedAction();
                DropFiles(files);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TBackImageDialog::done(int result)
{
    const quint8 mode = BackImage.Mode();
    if (mode >= BackFitted && mode <= BackTiled && BackImage.Picture().isNull())
        BackImage.SetMode(BackNone);
    QDialog::done(result);
}
