// Figure settings dialog: the shape and line-and-fill pages, the line-type grid and the preview.
#include "layoutobjects/FigureSetting.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/PDFHelp.h"
#include "core/PaintPanel.h"
#include "core/UpDownEdit.h"
#include "layoutobjects/SettingDialogSub.h"

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
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString PageKey = QStringLiteral("FigureSet");
constexpr int PreviewSide = 239;
constexpr int LineTypeWidth = 76;
constexpr int LineTypeHeight = 16;

// The sample lines of the five line types.
class TLineTypeDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        static const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                              Qt::DashDotDotLine};
        const QRect r = option.rect;
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        const auto* view = qobject_cast<const QWidget*>(option.widget);
        painter->fillRect(r, selected ? QColor(191, 223, 255) : view->palette().color(QPalette::Base));
        if (selected) {
            painter->setPen(QPen(Qt::black, 1, Qt::DotLine));
            painter->drawRect(r.adjusted(0, 0, -1, -1));
        }
        const int middle = r.top() + r.height() / 2;
        painter->setPen(QPen(Qt::black, 1, styles[qBound(0, index.row(), 4)]));
        for (int y : {middle, middle + 1})
            painter->drawLine(r.left() + 4, y, r.right() - 4, y);
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return {LineTypeWidth, LineTypeHeight};
    }
};

QLabel* label(QWidget* parent, const char* name, const QString& caption)
{
    return Named<QLabel>(parent, name, caption);
}

} // namespace

TFigureSettingDialog::TFigureSettingDialog(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FigureSettingDialog"));
    setWindowTitle(QStringLiteral("図形の設定"));
    m_copy = std::make_unique<TFigureRect>();

    auto* root = new QHBoxLayout(this);
    pgcSetting = Named<QTabWidget>(this, "pgcSetting");
    pgcSetting->addTab(BuildShapePage(), QStringLiteral("図形"));
    pgcSetting->addTab(BuildLinePage(), QStringLiteral("色・設定"));
    connect(pgcSetting, &QTabWidget::currentChanged, this,
            [this] { SetHelpContext(this, FigureSettingHelp); });
    root->addWidget(pgcSetting, 1);

    auto* right = new QVBoxLayout;
    pnlPreview = Named<TPaintPanel>(this, "pnlPreview");
    pnlPreview->SetBevelOuter(bvLowered);
    pnlPreview->SetColor(Qt::white);
    pnlPreview->setFixedSize(PreviewSide, PreviewSide);
    pnlPreview->OnPaint = [this](TPaintPanel*, QPainter* painter, const QRect&) {
        m_copy->Draw(*painter, 0, 0);
        const bool drawnRectangle =
            m_copy->FigureKind() == FigureRectangle && (m_copy->FrameVisible() || m_copy->FillVisible());
        if (!drawnRectangle)
            OutlinePreview(*painter, m_copy->GetScreenRect());
    };
    right->addWidget(pnlPreview);
    right->addStretch();
    right->addLayout(OkCancelRow(this, btnOK, btnCancel));
    root->addLayout(right);

    auto* enter = new TEnterMovesFocus(this);
    QList<QWidget*> next{cbxFigureKind, cbxDiameterV, cbxDiameterH, dgLineType, ckbFrame, ckbBack};
    for (QCheckBox* box : m_directionBoxes)
        next.append(box);
    for (QRadioButton* button : m_sectorButtons)
        next.append(button);
    for (QWidget* w : next)
        enter->addNext(w);
    enter->addTarget(edLineWidth, ckbBack);
    for (QRadioButton* r : {rbFilled, rbGradation})
        enter->addTarget(r, [this]() -> QWidget* {
            return edAngle->isEnabled() ? static_cast<QWidget*>(edAngle) : btnOK;
        });

    LoadSettingPage(pgcSetting, PageKey);
}

TFigureSettingDialog::~TFigureSettingDialog()
{
    SaveSettingPage(pgcSetting, PageKey);
}

QWidget* TFigureSettingDialog::BuildShapePage()
{
    auto* page = Named<QWidget>(pgcSetting, "tbsFigure");
    auto* layout = new QVBoxLayout(page);
    auto* kindRow = new QHBoxLayout;
    cbxFigureKind = Named<QComboBox>(page, "cbxFigureKind");
    cbxFigureKind->addItems({QStringLiteral("直線"), QStringLiteral("四角"), QStringLiteral("四角（角丸）"),
                             QStringLiteral("円"), QStringLiteral("扇形"), QStringLiteral("ひし形")});
    connect(cbxFigureKind, &QComboBox::currentIndexChanged, this, &TFigureSettingDialog::cbxFigureKindChange);
    kindRow->addWidget(new QLabel(QStringLiteral("種類："), page));
    kindRow->addWidget(cbxFigureKind);
    kindRow->addStretch();
    layout->addLayout(kindRow);

    pnlLine = new QGroupBox(QStringLiteral("線の方向"), page);
    pnlLine->setObjectName(QStringLiteral("pnlLine"));
    auto* lineLayout = new QVBoxLayout(pnlLine);
    const std::pair<const char*, const char*> boxes[] = {{"ckbHorizontal", "水平線"},
                                                         {"ckbVertical", "垂直線"},
                                                         {"ckbDiagonal_L", "対角線： 左上から右下"},
                                                         {"ckbDiagonal_R", "対角線： 右上から左下"}};
    for (int tag = 0; tag < 4; ++tag) {
        auto* box = Named<QCheckBox>(pnlLine, boxes[tag].first, QString::fromUtf8(boxes[tag].second));
        PaintCheckedBlue(box);
        connect(box, &QCheckBox::toggled, this, [this, tag](bool on) {
            const quint8 bit = quint8(1 << tag);
            const quint8 directions = m_copy->LineDirections();
            m_copy->SetLineDirections(on ? quint8(directions | bit) : quint8(directions & ~bit));
            repaintPreview();
        });
        lineLayout->addWidget(box);
        m_directionBoxes.append(box);
    }
    layout->addWidget(pnlLine);

    pnlRoundRect = new QGroupBox(QStringLiteral("角の半径"), page);
    pnlRoundRect->setObjectName(QStringLiteral("pnlRoundRect"));
    auto* cornerLayout = new QGridLayout(pnlRoundRect);
    cbxDiameterV = Named<QComboBox>(pnlRoundRect, "cbxDiameterV");
    cbxDiameterH = Named<QComboBox>(pnlRoundRect, "cbxDiameterH");
    int row = 0;
    for (auto [box, tag, caption] :
         {std::tuple{cbxDiameterV, 1, "縦方向："}, std::tuple{cbxDiameterH, 0, "横方向："}}) {
        box->addItems({QStringLiteral("小さい"), QStringLiteral("普通"), QStringLiteral("大きい")});
        connect(box, &QComboBox::currentIndexChanged, this, [this, tag = tag](int index) {
            m_copy->SetCornerSize(tag, quint8(index));
            repaintPreview();
        });
        cornerLayout->addWidget(new QLabel(QString::fromUtf8(caption), pnlRoundRect), row, 0);
        cornerLayout->addWidget(box, row++, 1);
    }
    cornerLayout->setColumnStretch(2, 1);
    layout->addWidget(pnlRoundRect);

    pnlSector = new QGroupBox(QStringLiteral("頂点の方向"), page);
    pnlSector->setObjectName(QStringLiteral("pnlSector"));
    auto* sectorLayout = new QGridLayout(pnlSector);
    const std::pair<const char*, const char*> sectors[] = {
        {"rbBottomRight", "右下"}, {"rbBottomLeft", "左下"}, {"rbTopRight", "右上"}, {"rbTopLeft", "左上"}};
    for (int tag = 0; tag < 4; ++tag) {
        auto* button =
            Named<QRadioButton>(pnlSector, sectors[tag].first, QString::fromUtf8(sectors[tag].second));
        PaintCheckedBlue(button);
        connect(button, &QRadioButton::clicked, this, [this, tag] {
            if (tag == m_copy->SectorDirection())
                return;
            m_copy->SetSectorDirection(quint8(tag));
            repaintPreview();
        });
        // Top row: the upper apexes.
        sectorLayout->addWidget(button, tag >= 2 ? 0 : 1, tag % 2 == 1 ? 0 : 1);
        m_sectorButtons.append(button);
    }
    layout->addWidget(pnlSector);
    layout->addStretch();
    return page;
}

QWidget* TFigureSettingDialog::BuildLinePage()
{
    auto* page = Named<QWidget>(pgcSetting, "tbsColor");
    auto* grid = new QGridLayout(page);
    ckbFrame = Named<QCheckBox>(page, "ckbFrame", QStringLiteral("枠線"));
    PaintCheckedBlue(ckbFrame);
    connect(ckbFrame, &QCheckBox::toggled, this, &TFigureSettingDialog::ckbFrameClick);
    dgLineType = Named<QListWidget>(page, "dgLineType");
    dgLineType->setItemDelegate(new TLineTypeDelegate(dgLineType));
    for (int i = 0; i < 5; ++i)
        dgLineType->addItem(QString());
    dgLineType->setFixedSize(LineTypeWidth + 4, LineTypeHeight * 5 + 4);
    dgLineType->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    dgLineType->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(dgLineType, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        m_copy->SetLineType(quint8(row));
        repaintPreview();
    });
    edLineWidth = new TUpDownEdit(page);
    edLineWidth->setObjectName(QStringLiteral("edLineWidth"));
    edLineWidth->SetRange(1, 50);
    edLineWidth->SetMaxLength(4);
    edLineWidth->setMinimumWidth(ScaleByDpi(56, 1));
    SetImeMode(edLineWidth, imClose);
    connect(edLineWidth, &TUpDownEdit::ValueApplied, this, [this](int value) {
        m_copy->SetLineWidth(value);
        repaintPreview();
    });
    pnlFrameColor = new TColorPanel(page, "pnlFrameColor");
    bbtnFrameColor = ColorButton(page, "bbtnFrameColor", QStringLiteral("色："), pnlFrameColor,
                                 TCustomColorFile::WriteAlways, [this](quint32 color) {
                                     m_copy->SetLineColor(color);
                                     repaintPreview();
                                 });
    auto* lblLineType = label(page, "lblLineType", QStringLiteral("種類："));
    auto* lblLineWidth = label(page, "lblLineWidth", QStringLiteral("太さ："));
    auto* lblPixel = label(page, "lblPixel", QStringLiteral("(ピクセル)"));
    m_lineLabels = {lblLineType, lblLineWidth, lblPixel, bbtnFrameColor, pnlFrameColor};

    ckbBack = Named<QCheckBox>(page, "ckbBack", QStringLiteral("背景"));
    PaintCheckedBlue(ckbBack);
    connect(ckbBack, &QCheckBox::toggled, this, &TFigureSettingDialog::ckbBackClick);
    rbFilled = Named<QRadioButton>(page, "rbFilled", QStringLiteral("単色"));
    rbGradation = Named<QRadioButton>(page, "rbGradation", QStringLiteral("グラデーション"));
    for (QRadioButton* r : {rbFilled, rbGradation}) {
        PaintCheckedBlue(r);
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                gradientClick();
        });
    }
    pnlColor1 = new TColorPanel(page, "pnlColor1");
    bbtnColorDlg1 = ColorButton(page, "bbtnColorDlg1", QString(), pnlColor1, TCustomColorFile::None,
                                [this](quint32 color) {
                                    m_copy->SetFillColor(color);
                                    repaintPreview();
                                });
    pnlColor2 = new TColorPanel(page, "pnlColor2");
    bbtnColorDlg2 = ColorButton(page, "bbtnColorDlg2", QString(), pnlColor2, TCustomColorFile::None,
                                [this](quint32 color) {
                                    m_copy->SetFillColor2(color);
                                    repaintPreview();
                                });
    edAngle = new TUpDownEdit(page);
    edAngle->setObjectName(QStringLiteral("edAngle"));
    edAngle->SetRange(0, 359);
    edAngle->SetMaxLength(3);
    edAngle->setMinimumWidth(ScaleByDpi(56, 1));
    SetImeMode(edAngle, imClose);
    connect(edAngle, &TUpDownEdit::ValueApplied, this, [this](int value) {
        m_copy->SetGradientAngle(value);
        repaintPreview();
    });
    lblColor1 = label(page, "lblColor1", QStringLiteral("色１："));
    lblColor2 = label(page, "lblColor2", QStringLiteral("色２："));
    lblAngle = label(page, "lblAngle", QStringLiteral("角度："));

    grid->addWidget(ckbFrame, 0, 0, 1, 4);
    grid->addWidget(lblLineType, 1, 1, Qt::AlignTop);
    grid->addWidget(dgLineType, 1, 2, 1, 2);
    grid->addWidget(lblLineWidth, 2, 1);
    auto* width = new QHBoxLayout;
    width->addWidget(edLineWidth);
    width->addWidget(lblPixel);
    width->addStretch();
    grid->addLayout(width, 2, 2, 1, 2);
    auto* lineColor = new QHBoxLayout;
    lineColor->addWidget(bbtnFrameColor);
    lineColor->addWidget(pnlFrameColor);
    lineColor->addStretch();
    grid->addLayout(lineColor, 3, 1, 1, 3);
    grid->addWidget(ckbBack, 4, 0, 1, 4);
    grid->addWidget(rbFilled, 5, 1);
    grid->addWidget(rbGradation, 5, 2, 1, 2);
    const std::tuple<QLabel*, QPushButton*, QWidget*> colorRows[] = {{lblColor1, bbtnColorDlg1, pnlColor1},
                                                                     {lblColor2, bbtnColorDlg2, pnlColor2}};
    int row = 6;
    for (const auto& [caption, button, panel] : colorRows) {
        grid->addWidget(caption, row, 1);
        auto* line = new QHBoxLayout;
        line->addWidget(button);
        line->addWidget(panel);
        line->addStretch();
        grid->addLayout(line, row++, 2, 1, 2);
    }
    grid->addWidget(lblAngle, row, 1);
    grid->addWidget(edAngle, row, 2);
    grid->setColumnMinimumWidth(0, ScaleByDpi(12, 1));
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(row + 1, 1);
    return page;
}

// ---- filling ----

void TFigureSettingDialog::SetFigure(const TFigureRect& figure)
{
    m_copy->Assign(figure);
    FitToPreview(*m_copy, pnlPreview->PictureRect().size());

    cbxFigureKind->setCurrentIndex(qBound(0, int(m_copy->FigureKind()), 5));
    cbxFigureKindChange();
    const quint8 directions = m_copy->LineDirections();
    for (int tag = 0; tag < 4; ++tag)
        m_directionBoxes[tag]->setChecked(directions & (1 << tag));
    cbxDiameterH->setCurrentIndex(qBound(0, int(m_copy->GetCornerSize(0)), 2));
    cbxDiameterV->setCurrentIndex(qBound(0, int(m_copy->GetCornerSize(1)), 2));
    m_sectorButtons[qBound(0, int(m_copy->SectorDirection()), 3)]->setChecked(true);

    ckbFrame->setChecked(m_copy->FrameVisible());
    ckbFrameClick();
    dgLineType->setCurrentRow(qBound(0, int(m_copy->LineType()), 4));
    edLineWidth->SetValue(m_copy->LineWidth());
    pnlFrameColor->SetColor(m_copy->LineColor());

    ckbBack->setChecked(m_copy->FillVisible());
    if (!m_copy->FillVisible() && m_copy->FillColor() == 0)
        m_copy->SetFillColor(LightRed);
    if (m_copy->Gradient()) {
        rbGradation->setChecked(true);
    } else {
        rbFilled->setChecked(true);
        if (m_copy->FillColor2() == 0)
            m_copy->SetFillColor2(PureWhite);
    }
    ckbBackClick();
    edAngle->SetValue(m_copy->GradientAngle());
    pnlColor1->SetColor(m_copy->FillColor());
    pnlColor2->SetColor(m_copy->FillColor2());
    repaintPreview();
}

void TFigureSettingDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    SetHelpContext(this, FigureSettingHelp);
    if (pgcSetting->currentIndex() == 1)
        (ckbFrame->isEnabled() ? static_cast<QWidget*>(ckbFrame) : dgLineType)->setFocus();
    else
        cbxFigureKind->setFocus();
}

void TFigureSettingDialog::repaintPreview()
{
    pnlPreview->update();
}

// ---- handlers ----

void TFigureSettingDialog::cbxFigureKindChange()
{
    const int kind = cbxFigureKind->currentIndex();
    m_copy->SetFigureKind(quint8(kind));
    pnlLine->setVisible(kind == FigureLines);
    pnlRoundRect->setVisible(kind == FigureRoundRect);
    pnlSector->setVisible(kind == FigureSector);
    if (kind == FigureLines) {
        // A line figure always has its line.
        ckbFrame->setChecked(true);
        ckbFrameClick();
        ckbFrame->setEnabled(false);
    } else {
        ckbFrame->setEnabled(true);
    }
    repaintPreview();
}

void TFigureSettingDialog::ckbFrameClick()
{
    const bool on = ckbFrame->isChecked();
    m_copy->SetFrameVisible(on);
    dgLineType->setEnabled(on);
    edLineWidth->setEnabled(on);
    edLineWidth->SetLocked(!on);
    for (QWidget* w : m_lineLabels)
        w->setEnabled(on);
    QPalette p = dgLineType->palette();
    p.setColor(QPalette::Base, palette().color(on ? QPalette::Base : QPalette::Button));
    dgLineType->setPalette(p);
    repaintPreview();
}

void TFigureSettingDialog::ckbBackClick()
{
    const bool on = ckbBack->isChecked();
    m_copy->SetFillVisible(on);
    for (QWidget* w :
         std::initializer_list<QWidget*>{rbFilled, rbGradation, bbtnColorDlg1, pnlColor1, lblColor1})
        w->setEnabled(on);
    enableAngle(on && m_copy->Gradient());
    repaintPreview();
}

void TFigureSettingDialog::gradientClick()
{
    m_copy->SetGradient(rbGradation->isChecked());
    enableAngle(m_copy->Gradient());
    repaintPreview();
}

void TFigureSettingDialog::enableAngle(bool on)
{
    for (QWidget* w : std::initializer_list<QWidget*>{bbtnColorDlg2, pnlColor2, lblColor2, lblAngle, edAngle})
        w->setEnabled(on);
    edAngle->SetLocked(!on);
}
