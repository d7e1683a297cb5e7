// Sender block settings dialog: the sender list, the font and frame pages, the direction and the preview.
#include "designers/SenderSettingDialog.h"

#include "core/DialogSub.h"
#include "core/PDFHelp.h"
#include "core/PaintPanel.h"
#include "designers/DesignerData.h"
#include "designers/SenderMerge.h"
#include "layoutobjects/SettingDialogSub.h"
#include "platform/Cp932.h"

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
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString PageKey = QStringLiteral("SenderSet");
constexpr int PreviewSide = 239;

} // namespace

TSenderSettingDialog::TSenderSettingDialog(TSenderSource* senders, QWidget* owner)
    : QDialog(owner), m_senders(senders), m_block(std::make_unique<TSenderRect>())
{
    setObjectName(QStringLiteral("SenderSettingDialog"));
    setWindowTitle(QStringLiteral("差出人情報の表示設定"));
    BuildWindow();
    LoadSettingPage(pgcSetting, PageKey);
    if (m_senders)
        for (qint32 recNo : m_senders->SenderRecNos())
            if (const TMergeRow* row = m_senders->LocateSender(recNo))
                cbxSender->addItem(Cp932::toUnicode(row->Text("Title")), recNo);
    cbxSender->setCurrentIndex(-1);
}

TSenderSettingDialog::~TSenderSettingDialog()
{
    SaveSettingPage(pgcSetting, PageKey);
}

void TSenderSettingDialog::BuildWindow()
{
    auto* root = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* senderRow = new QHBoxLayout;
    senderRow->addWidget(new QLabel(QStringLiteral("表示差出人"), this));
    cbxSender = Named<QComboBox>(this, "cbxSender");
    connect(cbxSender, &QComboBox::activated, this, &TSenderSettingDialog::cbxSenderClick);
    senderRow->addWidget(cbxSender, 1);
    left->addLayout(senderRow);

    pgcSetting = Named<QTabWidget>(this, "pgcSetting");
    pgcSetting->addTab(BuildFontPage(), QStringLiteral("フォント"));
    m_framePage = new TRectFramePage(pgcSetting, TCustomColorFile::WriteAlways);
    m_framePage->setObjectName(QStringLiteral("tbsFrameRect"));
    pgcSetting->addTab(m_framePage, QStringLiteral("飾り枠"));
    connect(pgcSetting, &QTabWidget::currentChanged, this,
            [this] { SetHelpContext(this, SenderSettingHelp); });
    left->addWidget(pgcSetting, 1);
    root->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    pnlPreview = Named<TPaintPanel>(this, "pnlPreview");
    pnlPreview->SetBevelOuter(bvLowered);
    pnlPreview->SetColor(Qt::white);
    pnlPreview->setFixedSize(PreviewSide, PreviewSide);
    pnlPreview->OnPaint = [this](TPaintPanel*, QPainter* painter, const QRect&) { paintPreview(*painter); };
    right->addWidget(pnlPreview);
    right->addWidget(
        DirectionGroup(this, rbVertical, rbHorizontal, [this](QRadioButton* r) { rbDirectionClick(r); }));
    right->addStretch();
    right->addLayout(OkCancelRow(this, btnOK, btnCancel));
    root->addLayout(right);
}

QWidget* TSenderSettingDialog::BuildFontPage()
{
    auto* page = Named<QWidget>(pgcSetting, "tbsFont");
    auto* grid = new QGridLayout(page);
    m_fontControls = new TFontControls(
        page, [this] { return m_block->GetFont(); },
        [this](const TFontSpec& font) { setFontOfBlock(font, m_block->Member(SimplePostal)->FontColor()); });
    lbFonts = m_fontControls->lbFonts;
    pnlFontColor = new TColorPanel(page, "pnlFontColor");
    bbtnFontColor =
        ColorButton(page, "bbtnFontColor", QStringLiteral("色"), pnlFontColor, TCustomColorFile::WriteAlways,
                    [this](quint32 color) { setFontOfBlock(m_block->GetFont(), color); });

    grid->addWidget(new QLabel(QStringLiteral("フォント名"), page), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("書体："), page), 0, 1, Qt::AlignRight);
    grid->addWidget(m_fontControls->lblCharset, 0, 2);
    grid->addWidget(lbFonts, 1, 0, 1, 3);
    auto* style = new QGroupBox(QStringLiteral("スタイル"), page);
    auto* styleRow = new QHBoxLayout(style);
    styleRow->addWidget(m_fontControls->ckbBold);
    styleRow->addWidget(m_fontControls->ckbItalic);
    grid->addWidget(style, 2, 0, 1, 2);
    auto* color = new QHBoxLayout;
    color->addWidget(bbtnFontColor);
    color->addWidget(pnlFontColor);
    color->addStretch();
    grid->addLayout(color, 2, 2);
    grid->setRowStretch(1, 1);
    return page;
}

// ---- filling ----

void TSenderSettingDialog::SetSenderRect(const TSenderRect& block)
{
    m_block->Assign(block);
    m_block->SetWholeBlock(true);
    FitToPreview(*m_block, pnlPreview->PictureRect().size());
    cbxSender->setCurrentIndex(cbxSender->findText(Cp932::toUnicode(m_block->SenderTitle())));
    m_updating = true;
    (m_block->GetHorizontal() ? rbHorizontal : rbVertical)->setChecked(true);
    m_updating = false;
    m_framePage->Bind(&m_block->Frame(), [this] { pnlPreview->update(); });
    pnlPreview->update();
}

void TSenderSettingDialog::SetPageSize(int paperLongSide)
{
    m_block->SetPageSize(paperLongSide);
    pnlPreview->update();
}

void TSenderSettingDialog::ShowSenderData()
{
    // Without a chosen sender the copy shows its frame and items empty.
    TSenderMergePolicy policy;
    policy.RecNo = cbxSender->currentIndex() >= 0 ? cbxSender->currentData().toInt() : 0;
    policy.AdditionsFromRow = false;
    policy.VerticalDashes = !m_block->GetHorizontal();
    if (policy.RecNo == 0)
        m_block->ClearItems();
    else
        ::ShowSenderData(*m_block, m_senders, Settings, policy);
}

void TSenderSettingDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    ShowFontSettings();
    SetHelpContext(this, SenderSettingHelp);
    if (pgcSetting->currentIndex() == 0)
        lbFonts->setFocus();
    else
        m_framePage->ckbFrame->setFocus();
    cbxSenderClick();
}

void TSenderSettingDialog::ShowFontSettings()
{
    m_fontControls->Show(m_block->GetFont());
    pnlFontColor->SetColor(m_block->Member(SimplePostal)->FontColor());
}

// ---- handlers ----

void TSenderSettingDialog::cbxSenderClick()
{
    ShowSenderData();
    if (cbxSender->currentIndex() >= 0)
        m_block->SetSenderTitle(Cp932::fromUnicode(cbxSender->currentText()));
    pnlPreview->update();
}

void TSenderSettingDialog::rbDirectionClick(QRadioButton* button)
{
    if (m_updating)
        return;
    m_block->SetHorizontal(button == rbHorizontal);
    // Transposed, the block stays centred in the square preview.
    const TRect r = m_block->GetDesignRect();
    m_block->SetDesignRect({r.top, r.left, r.top + r.Height(), r.left + r.Width()});
    m_block->ResetItemRect(-1);
    ShowSenderData();
    pnlPreview->update();
}

void TSenderSettingDialog::setFontOfBlock(const TFontSpec& font, quint32 color)
{
    m_block->SetFont(font, color);
    pnlPreview->update();
}

void TSenderSettingDialog::paintPreview(QPainter& painter)
{
    m_block->Draw(painter, 0, 0);
    painter.save();
    painter.setPen(QPen(QColor(255, 0, 0), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    for (int member : m_block->ShownMembers()) {
        const TRect s = m_block->Member(member)->GetScreenRect();
        painter.drawRect(QRect(s.left, s.top, s.Width() - 1, s.Height() - 1));
    }
    painter.restore();
    if (!m_block->Frame().FrameVisible() && !m_block->Frame().FillVisible())
        OutlinePreview(painter, m_block->GetScreenRect());
}
