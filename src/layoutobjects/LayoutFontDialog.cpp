// Font dialog of the designers: the face list, the two styles, the colour and the sample.
#include "layoutobjects/LayoutFontDialog.h"

#include "core/CstmClr.h"
#include "core/DialogSub.h"
#include "core/PDFHelp.h"
#include "core/ShellSub.h"
#include "layoutobjects/SettingDialogSub.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TLayoutFontDialog::TLayoutFontDialog(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("LayoutFontDialog"));
    setWindowTitle(QStringLiteral("フォントの設定"));
    SetHelpContext(this, LayoutFontHelp);
    auto* root = new QVBoxLayout(this);
    auto* grid = new QGridLayout;

    grid->addWidget(new QLabel(QStringLiteral("フォント名"), this), 0, 0, 1, 2);
    lbFonts = FaceList(this);
    connect(lbFonts, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_updating || row < 0)
            return;
        m_font.charset = FaceCharset(lbFonts, row);
        m_font.name = lbFonts->item(row)->text();
        showCharset(m_font.charset);
        updateSample();
    });
    grid->addWidget(lbFonts, 1, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("書体："), this), 2, 0);
    lblCharset = Named<QLabel>(this, "lblCharset");
    grid->addWidget(lblCharset, 2, 1);

    grid->addWidget(new QLabel(QStringLiteral("スタイル："), this), 3, 0);
    auto* styles = new QHBoxLayout;
    ckbBold = Named<QCheckBox>(this, "ckbBold", QStringLiteral("太字"));
    ckbItalic = Named<QCheckBox>(this, "ckbItalic", QStringLiteral("斜体"));
    for (QCheckBox* box : {ckbBold, ckbItalic}) {
        PaintCheckedBlue(box);
        styles->addWidget(box);
        connect(box, &QCheckBox::toggled, this, [this] {
            if (m_updating)
                return;
            m_font.style =
                (ckbBold->isChecked() ? FontStyleBold : 0) | (ckbItalic->isChecked() ? FontStyleItalic : 0);
            updateSample();
        });
    }
    styles->addStretch();
    grid->addLayout(styles, 3, 1);

    pnlFontColor = new TColorPanel(this, "pnlFontColor");
    bbtnFontColor = ColorButton(this, "bbtnFontColor", QStringLiteral("色："), pnlFontColor,
                                TCustomColorFile::WriteAlways, [this](quint32 color) {
                                    m_color = color;
                                    updateSample();
                                });
    auto* color = new QHBoxLayout;
    color->addWidget(bbtnFontColor);
    color->addWidget(pnlFontColor);
    color->addStretch();
    grid->addLayout(color, 4, 0, 1, 2);
    root->addLayout(grid);

    auto* sampleBox = new QGroupBox(QStringLiteral("サンプル"), this);
    auto* sampleLayout = new QVBoxLayout(sampleBox);
    pnlSample = Named<QLabel>(sampleBox, "pnlSample");
    pnlSample->setFrameShape(QFrame::Panel);
    pnlSample->setFrameShadow(QFrame::Sunken);
    pnlSample->setAlignment(Qt::AlignCenter);
    pnlSample->setAutoFillBackground(true);
    pnlSample->setMinimumSize(240, 56);
    sampleLayout->addWidget(pnlSample);
    root->addWidget(sampleBox);

    ckbAll = Named<QCheckBox>(this, "ckbAll", QStringLiteral("すべての枠のフォントを変更する"));
    ckbAll->setChecked(true);
    PaintCheckedBlue(ckbAll);
    root->addWidget(ckbAll);

    auto* enter = new TEnterMovesFocus(this);
    for (QWidget* w : std::initializer_list<QWidget*>{lbFonts, ckbBold, ckbItalic, ckbAll})
        enter->addNext(w);

    btnOK = MakeButton(this, "btnOK", QStringLiteral("OK"), true);
    btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    root->addLayout(ButtonRow({btnOK, btnCancel}));
}

void TLayoutFontDialog::SetSampleFont(const TFontSpec& font, quint32 color)
{
    m_font = font;
    MakeHorizontalFont(m_font);
    m_font.size = LayoutFontSampleSize;
    m_color = color;
    updateSample();
}

bool TLayoutFontDialog::GetApplyToAll() const
{
    return ckbAll->isChecked();
}

void TLayoutFontDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    CenterForm(this, parentWidget());
    ShowFont();
}

void TLayoutFontDialog::ShowFont()
{
    if (m_font.name.startsWith(QLatin1Char('@')))
        m_font.name.remove(0, 1);
    m_updating = true;
    if (lbFonts->count() > 0) {
        const int row = FaceRow(lbFonts, m_font.name);
        lbFonts->setCurrentRow(row);
        showCharset(FaceCharset(lbFonts, row));
    }
    ckbBold->setChecked(m_font.style & FontStyleBold);
    ckbItalic->setChecked(m_font.style & FontStyleItalic);
    pnlFontColor->SetColor(m_color);
    m_updating = false;
    updateSample();
}

void TLayoutFontDialog::showCharset(int charset)
{
    lblCharset->setText(CharsetName(charset));
}

void TLayoutFontDialog::updateSample()
{
    pnlSample->setFont(ToQFont(m_font));
    QPalette palette = pnlSample->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, ColorFromValue(qint32(m_color)));
    pnlSample->setPalette(palette);
    pnlSample->setText(QStringLiteral("Tovarel"));
}
