// Text display settings dialog: the three pages, the preview and what each control does to the copy.
#include "layoutobjects/WordSetting.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/PDFHelp.h"
#include "core/PaintPanel.h"
#include "core/UpDownEdit.h"
#include "layoutobjects/SettingDialogSub.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString PageKey = QStringLiteral("WordSet");
constexpr int PreviewSide = 239;

QRadioButton* radio(QWidget* parent, const char* name, const QString& caption, int tag)
{
    auto* button = Named<QRadioButton>(parent, name, caption);
    button->setProperty("tag", tag);
    PaintCheckedBlue(button);
    return button;
}

} // namespace

TWordSettingDialog::TWordSettingDialog(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("WordSettingDialog"));
    setWindowTitle(QStringLiteral("文章の表示設定"));
    m_copy = std::make_unique<TWordRect>();
    BuildWindow();
    LoadSettingPage(pgcSetting, PageKey);
}

TWordSettingDialog::~TWordSettingDialog()
{
    SaveSettingPage(pgcSetting, PageKey);
}

void TWordSettingDialog::BuildWindow()
{
    auto* root = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    pgcSetting = Named<QTabWidget>(this, "pgcSetting");
    pgcSetting->addTab(BuildFontPage(), QStringLiteral("フォント"));
    pgcSetting->addTab(BuildPlacementPage(), QStringLiteral("文字の配置"));
    m_framePage = new TRectFramePage(pgcSetting, TCustomColorFile::None);
    pgcSetting->addTab(m_framePage, QStringLiteral("飾り枠"));
    connect(pgcSetting, &QTabWidget::currentChanged, this, &TWordSettingDialog::pageChanged);
    left->addWidget(pgcSetting, 1);

    left->addWidget(
        DirectionGroup(this, rbVertical, rbHorizontal, [this](QRadioButton* r) { directionClick(r); }));
    root->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    pnlPreview = Named<TPaintPanel>(this, "pnlPreview");
    pnlPreview->SetBevelOuter(bvLowered);
    pnlPreview->SetColor(Qt::white);
    pnlPreview->setFixedSize(PreviewSide, PreviewSide);
    pnlPreview->OnPaint = [this](TPaintPanel*, QPainter* painter, const QRect&) {
        m_copy->Draw(*painter, 0, 0);
        if (!m_copy->Frame().FrameVisible() && !m_copy->Frame().FillVisible())
            OutlinePreview(*painter, m_copy->GetScreenRect());
    };
    right->addWidget(pnlPreview);
    right->addStretch();
    right->addLayout(OkCancelRow(this, btnOK, btnCancel));
    root->addLayout(right);

    m_framePage->SetBackEnterTarget(
        [this]() -> QWidget* { return rbVertical->isChecked() ? rbVertical : rbHorizontal; });
    auto* enter = new TEnterMovesFocus(this);
    for (QWidget* w : std::initializer_list<QWidget*>{lbFonts, cbxFSize, ckbBold, rbLeft, rbHorzCenter,
                                                      rbRight, rbTop, rbVertCenter, rbBottom, ckbLineSpace,
                                                      cbxLineSpace, ckbWrap, rbVertical, rbHorizontal})
        enter->addNext(w);
    enter->addTarget(ckbItalic,
                     [this]() -> QWidget* { return rbVertical->isChecked() ? rbVertical : rbHorizontal; });
}

QWidget* TWordSettingDialog::BuildFontPage()
{
    auto* page = Named<QWidget>(pgcSetting, "tbsFont");
    auto* grid = new QGridLayout(page);
    auto* controls = new TFontControls(
        page, [this] { return m_copy->Font(); },
        [this](const TFontSpec& font) { setFontOfCopy(font, m_copy->FontColor()); });
    lbFonts = controls->lbFonts;
    lblCharset = controls->lblCharset;
    ckbBold = controls->ckbBold;
    ckbItalic = controls->ckbItalic;
    m_fontControls = controls;
    cbxFSize = Named<QComboBox>(page, "cbxFSize");
    cbxFSize->addItem(QStringLiteral("自動"));
    for (int i = 1; i <= MaxFixedSizeIndex; ++i)
        cbxFSize->addItem(QString::number(FixedPointSize(i)));
    connect(cbxFSize, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_updating || index < 0)
            return;
        m_copy->SetFixedFontSize(index);
        repaintPreview();
    });
    edVHRatio = new TUpDownEdit(page);
    edVHRatio->setObjectName(QStringLiteral("edVHRatio"));
    edVHRatio->SetRange(20, 300);
    edVHRatio->SetMaxLength(3);
    edVHRatio->setMinimumWidth(ScaleByDpi(56, 1));
    SetImeMode(edVHRatio, imClose);
    connect(edVHRatio, &TUpDownEdit::ValueApplied, this, [this](int value) {
        m_copy->SetAspectRatio(value);
        repaintPreview();
    });
    pnlFontColor = new TColorPanel(page, "pnlFontColor");
    bbtnFontColor = ColorButton(page, "bbtnFontColor", QStringLiteral("色："), pnlFontColor,
                                TCustomColorFile::WriteAlways,
                                [this](quint32 color) { setFontOfCopy(m_copy->Font(), color); });

    grid->addWidget(new QLabel(QStringLiteral("書体："), page), 0, 0);
    grid->addWidget(lblCharset, 0, 1);
    grid->addWidget(lbFonts, 1, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("サイズ："), page), 2, 0);
    grid->addWidget(cbxFSize, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("縦横比："), page), 2, 2);
    auto* ratio = new QHBoxLayout;
    ratio->addWidget(edVHRatio);
    ratio->addWidget(new QLabel(QStringLiteral("%"), page));
    grid->addLayout(ratio, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("書式："), page), 3, 0);
    grid->addWidget(ckbBold, 3, 1);
    grid->addWidget(ckbItalic, 3, 2);
    auto* color = new QHBoxLayout;
    color->addWidget(bbtnFontColor);
    color->addWidget(pnlFontColor);
    color->addStretch();
    grid->addLayout(color, 4, 0, 1, 4);
    grid->setRowStretch(1, 1);
    return page;
}

QWidget* TWordSettingDialog::BuildPlacementPage()
{
    auto* page = Named<QWidget>(pgcSetting, "tbsPlacement");
    auto* layout = new QVBoxLayout(page);
    auto* horizontal = new QGroupBox(QStringLiteral("横方向"), page);
    auto* hLayout = new QVBoxLayout(horizontal);
    auto* hGroup = new QButtonGroup(horizontal);
    rbLeft = radio(horizontal, "rbLeft", QStringLiteral("左に寄せる"), 2);
    rbHorzCenter = radio(horizontal, "rbHorzCenter", QStringLiteral("中央に表示"), 1);
    rbRight = radio(horizontal, "rbRight", QStringLiteral("右に寄せる"), 0);
    auto* vertical = new QGroupBox(QStringLiteral("縦方向"), page);
    auto* vLayout = new QVBoxLayout(vertical);
    auto* vGroup = new QButtonGroup(vertical);
    rbTop = radio(vertical, "rbTop", QStringLiteral("上に寄せる"), 0);
    rbVertCenter = radio(vertical, "rbVertCenter", QStringLiteral("中央に表示"), 1);
    rbBottom = radio(vertical, "rbBottom", QStringLiteral("下に寄せる"), 2);
    for (QRadioButton* r : {rbLeft, rbHorzCenter, rbRight}) {
        hGroup->addButton(r);
        hLayout->addWidget(r);
    }
    for (QRadioButton* r : {rbTop, rbVertCenter, rbBottom}) {
        vGroup->addButton(r);
        vLayout->addWidget(r);
    }
    for (QRadioButton* r : {rbLeft, rbHorzCenter, rbRight, rbTop, rbVertCenter, rbBottom})
        connect(r, &QRadioButton::toggled, this, [this, r](bool on) {
            if (on)
                alignmentClick(r);
        });
    auto* groups = new QHBoxLayout;
    groups->addWidget(horizontal);
    groups->addWidget(vertical);
    layout->addLayout(groups);

    auto* spacing = new QHBoxLayout;
    ckbLineSpace = Named<QCheckBox>(page, "ckbLineSpace", QStringLiteral("行間の幅を指定する："));
    PaintCheckedBlue(ckbLineSpace);
    connect(ckbLineSpace, &QCheckBox::toggled, this, &TWordSettingDialog::lineSpaceClick);
    cbxLineSpace = Named<QComboBox>(page, "cbxLineSpace");
    cbxLineSpace->addItems({QStringLiteral("なし"), QStringLiteral("狭い"), QStringLiteral("普通"),
                            QStringLiteral("やや広い"), QStringLiteral("広い")});
    connect(cbxLineSpace, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_updating || index < 0)
            return;
        m_copy->SetLineSpacing(quint8(index + 1));
        repaintPreview();
    });
    spacing->addWidget(ckbLineSpace);
    spacing->addWidget(cbxLineSpace);
    spacing->addStretch();
    layout->addLayout(spacing);
    ckbWrap = Named<QCheckBox>(page, "ckbWrap", QStringLiteral("枠に合わせて自動改行する"));
    PaintCheckedBlue(ckbWrap);
    connect(ckbWrap, &QCheckBox::toggled, this, [this](bool on) {
        if (m_updating)
            return;
        m_copy->SetAutoWrap(on);
        repaintPreview();
    });
    layout->addWidget(ckbWrap);
    layout->addStretch();
    return page;
}

// ---- filling ----

void TWordSettingDialog::SetWord(const TWordRect& frame)
{
    m_copy->Assign(frame);
    FitToPreview(*m_copy, pnlPreview->PictureRect().size());

    m_updating = true;
    cbxFSize->setCurrentIndex(qBound(0, m_copy->FixedSizeIndex(), MaxFixedSizeIndex));
    edVHRatio->SetValue(m_copy->AspectRatio());
    (m_copy->Horizontal() ? rbHorizontal : rbVertical)->setChecked(true);
    const int alignment = m_copy->Alignment();
    (alignment / 3 == 0 ? rbTop : alignment / 3 == 1 ? rbVertCenter : rbBottom)->setChecked(true);
    (alignment % 3 == 0 ? rbRight : alignment % 3 == 1 ? rbHorzCenter : rbLeft)->setChecked(true);
    const int spacing = m_copy->LineSpacing();
    ckbLineSpace->setChecked(spacing != 0);
    cbxLineSpace->setEnabled(spacing != 0);
    cbxLineSpace->setCurrentIndex(spacing != 0 ? qBound(0, spacing - 1, 4) : 0);
    ckbWrap->setChecked(m_copy->AutoWrap());
    m_updating = false;

    m_framePage->Bind(&m_copy->Frame(), [this] { repaintPreview(); });
    repaintPreview();
}

void TWordSettingDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    ShowFont();
    pageChanged();
    switch (pgcSetting->currentIndex()) {
    case 0:
        lbFonts->setFocus();
        break;
    case 1:
        (rbLeft->isChecked() ? rbLeft : rbHorzCenter->isChecked() ? rbHorzCenter : rbRight)->setFocus();
        break;
    default:
        m_framePage->ckbFrame->setFocus();
        break;
    }
}

void TWordSettingDialog::ShowFont()
{
    TFontSpec font = m_copy->Font();
    if (font.name.startsWith(QLatin1Char('@'))) {
        font.name.remove(0, 1);
        m_copy->SetFont(font, m_copy->FontColor());
    }
    m_fontControls->Show(font);
    pnlFontColor->SetColor(m_copy->FontColor());
}

void TWordSettingDialog::pageChanged()
{
    SetHelpContext(this, pgcSetting->currentIndex() == 2 ? WordSettingHelpFrame : WordSettingHelpFont);
}

void TWordSettingDialog::repaintPreview()
{
    pnlPreview->update();
}

// ---- handlers ----

void TWordSettingDialog::setFontOfCopy(const TFontSpec& font, quint32 color)
{
    m_copy->SetFont(font, color);
    repaintPreview();
}

void TWordSettingDialog::alignmentClick(QRadioButton* button)
{
    if (m_updating)
        return;
    const int tag = button->property("tag").toInt();
    const int alignment = m_copy->Alignment();
    const bool horizontal = button == rbLeft || button == rbHorzCenter || button == rbRight;
    m_copy->SetAlignment(horizontal ? tag + (alignment / 3) * 3 : tag * 3 + alignment % 3);
    repaintPreview();
}

void TWordSettingDialog::lineSpaceClick()
{
    const bool on = ckbLineSpace->isChecked();
    if (m_updating)
        return;
    cbxLineSpace->setEnabled(on);
    m_copy->SetLineSpacing(on ? quint8(cbxLineSpace->currentIndex() + 1) : 0);
    repaintPreview();
}

void TWordSettingDialog::directionClick(QRadioButton* button)
{
    if (m_updating)
        return;
    m_copy->SetHorizontal(button->property("tag").toInt() == 1);
    const TRect r = m_copy->GetDesignRect();
    m_copy->SetDesignRect({r.top, r.left, r.top + r.Height(), r.left + r.Width()});
    repaintPreview();
}
