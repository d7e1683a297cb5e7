// Custom postcards and envelopes.
#include "layoutobjects/CustomLayoutFormat.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "core/UpDownEdit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

TCustomLayoutFormatDialog::TCustomLayoutFormatDialog(const TStandardFormats& standard,
                                                     const TCustomFormats& custom, QWidget* parent)
    : QDialog(parent), m_standard(standard), m_custom(custom)
{
    setObjectName(QStringLiteral("CustomLayoutFormatDialog"));
    setWindowTitle(QStringLiteral("カスタム用紙の作成"));

    m_pages = Named<QStackedWidget>(this, "pgcSource");
    auto* postPage = new QWidget;
    auto* postGrid = new QGridLayout(postPage);
    m_postPaper = Named<QListWidget>(postPage, "lbxPostPaper");
    m_postVertical = Named<QRadioButton>(postPage, "rbPostVertical", QStringLiteral("縦書き"));
    m_postHorizontal = Named<QRadioButton>(postPage, "rbPostHorizontal", QStringLiteral("横書き"));
    postGrid->addWidget(new QLabel(QStringLiteral("用紙："), postPage), 0, 0, Qt::AlignTop);
    postGrid->addWidget(m_postPaper, 0, 1);
    postGrid->addWidget(new QLabel(QStringLiteral("方向："), postPage), 1, 0);
    postGrid->addWidget(RadioPair(postPage, m_postVertical, m_postHorizontal), 1, 1);

    auto* envPage = new QWidget;
    auto* envGrid = new QGridLayout(envPage);
    m_envCategory = Named<QListWidget>(envPage, "lbxEnvCategory");
    m_envPaper = Named<QListWidget>(envPage, "lbxEnvPaper");
    m_envUpright = Named<QRadioButton>(envPage, "rbEnvUpright", QStringLiteral("縦"));
    m_envLying = Named<QRadioButton>(envPage, "rbEnvLying", QStringLiteral("横"));
    m_envVertical = Named<QRadioButton>(envPage, "rbEnvVertical", QStringLiteral("縦書き"));
    m_envHorizontal = Named<QRadioButton>(envPage, "rbEnvHorizontal", QStringLiteral("横書き"));
    envGrid->addWidget(new QLabel(QStringLiteral("分類："), envPage), 0, 0, Qt::AlignTop);
    envGrid->addWidget(m_envCategory, 0, 1);
    envGrid->addWidget(new QLabel(QStringLiteral("用紙："), envPage), 1, 0, Qt::AlignTop);
    envGrid->addWidget(m_envPaper, 1, 1);
    envGrid->addWidget(new QLabel(QStringLiteral("用紙方向："), envPage), 2, 0);
    envGrid->addWidget(RadioPair(envPage, m_envUpright, m_envLying), 2, 1);
    envGrid->addWidget(new QLabel(QStringLiteral("方向："), envPage), 3, 0);
    envGrid->addWidget(RadioPair(envPage, m_envVertical, m_envHorizontal), 3, 1);
    m_pages->addWidget(postPage);
    m_pages->addWidget(envPage);
    auto* sourceBox = new QGroupBox(QStringLiteral("元にする用紙："), this);
    (new QVBoxLayout(sourceBox))->addWidget(m_pages);

    m_width = new TUpDownEdit(this, TUpDownEdit::Style::Length);
    m_width->setObjectName(QStringLiteral("edtWidth"));
    m_height = new TUpDownEdit(this, TUpDownEdit::Style::Length);
    m_height->setObjectName(QStringLiteral("edtHeight"));
    for (TUpDownEdit* e : {m_width, m_height}) {
        e->SetRange(500, 5940);
        e->setFixedWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 6 + 40);
        connect(e, &TUpDownEdit::ValueApplied, this, &TCustomLayoutFormatDialog::SizeChanged);
    }
    m_name = Named<QLineEdit>(this, "edtName");
    m_name->setMaxLength(20);
    SetImeMode(m_name, imHira);
    m_preview = new TPaperPreview(this);
    m_preview->setObjectName(QStringLiteral("pnlPreview"));

    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(new QLabel(QStringLiteral("用紙サイズ："), this));
    sizeRow->addWidget(m_width);
    sizeRow->addWidget(new QLabel(QStringLiteral("ｘ"), this));
    sizeRow->addWidget(m_height);
    sizeRow->addWidget(new QLabel(QStringLiteral("mm"), this));
    sizeRow->addStretch();
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("用紙名："), this));
    nameRow->addWidget(m_name);

    auto* ok = MakeButton(this, "btnOK", QStringLiteral("OK"), true);
    auto* cancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(sourceBox);
    left->addLayout(sizeRow);
    left->addLayout(nameRow);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(m_preview, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(ButtonRow({ok, cancel}));

    connect(m_postPaper, &QListWidget::currentRowChanged, this, &TCustomLayoutFormatDialog::ChooseSource);
    connect(m_envPaper, &QListWidget::currentRowChanged, this, &TCustomLayoutFormatDialog::ChooseSource);
    connect(m_envCategory, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_updating)
            return;
        FillEnvelopePapers(row);
        m_envPaper->setCurrentRow(0);
    });
    for (QRadioButton* b : {m_postVertical, m_postHorizontal, m_envVertical, m_envHorizontal, m_envUpright})
        connect(b, &QRadioButton::clicked, this, &TCustomLayoutFormatDialog::ChooseSource);
    connect(m_envUpright, &QRadioButton::toggled, m_envVertical, &QWidget::setEnabled);
    connect(m_envLying, &QRadioButton::clicked, this, [this] {
        CheckQuietly(m_envHorizontal);
        ChooseSource();
    });

    connect(m_preview, &TPaperPreview::Resized, this, &TCustomLayoutFormatDialog::Refresh);
    auto* enter = new TEnterMovesFocus(this);
    for (QWidget* w : std::initializer_list<QWidget*>{m_postPaper, m_envCategory, m_envPaper, m_postVertical,
                                                      m_postHorizontal, m_envUpright, m_envLying,
                                                      m_envVertical, m_envHorizontal, m_name})
        enter->addNext(w);
    resize(640, 420);
}

void TCustomLayoutFormatDialog::FillEnvelopePapers(int categoryRow)
{
    FillList(m_envPaper, StandardPaperEntries(m_standard, ListObject(m_envCategory, categoryRow), true));
}

void TCustomLayoutFormatDialog::SetSource(int index)
{
    if (index < 0 || size_t(index) >= m_standard.Formats.size())
        return;
    m_updating = true;
    m_source = index;
    m_work = m_standard.Formats[index];
    const TPaperFormat& f = m_work;
    if (f.Kind == PaperPostcard) {
        m_pages->setCurrentIndex(0);
        SetHelpContext(this, 78);
        QList<TPaperEntry> entries;
        for (size_t i = 0; i < m_standard.Formats.size(); ++i) {
            const TPaperFormat& r = m_standard.Formats[i];
            const QString name = Cp932::toUnicode(r.Name);
            if (r.Kind == PaperPostcard && r.SheetIndex <= 0 && (entries.isEmpty() || entries.last().Text != name))
                entries.append({name, int(i)});
        }
        FillList(m_postPaper, entries);
        m_postPaper->setCurrentRow(RowOfText(m_postPaper, Cp932::toUnicode(f.Name)));
        CheckQuietly(f.Direction == 0 ? m_postVertical : m_postHorizontal);
    } else {
        m_pages->setCurrentIndex(1);
        SetHelpContext(this, 84);
        FillList(m_envCategory, CategoryEntries(m_standard, PaperEnvelope, false));
        m_envCategory->setCurrentRow(RowOfText(m_envCategory, Cp932::toUnicode(f.Category)));
        FillEnvelopePapers(m_envCategory->currentRow());
        m_envPaper->setCurrentRow(RowOfText(m_envPaper, Cp932::toUnicode(f.Name)));
        CheckQuietly(f.Direction == 2 ? m_envLying : m_envUpright);
        CheckQuietly(f.Direction == 0 ? m_envVertical : m_envHorizontal);
        m_envVertical->setEnabled(f.Direction != 2);
    }
    m_updating = false;
    Refresh();
}

void TCustomLayoutFormatDialog::SetSourceFromCustom(const TCustomPaperFormat& custom)
{
    SetSource(custom.Source);
    m_work = custom.Format;
    Refresh();
}

int TCustomLayoutFormatDialog::ChosenIndex() const
{
    if (m_pages->currentIndex() == 0)
        return ListObject(m_postPaper) + (m_postHorizontal->isChecked() ? 1 : 0);
    return ListObject(m_envPaper) + (m_envHorizontal->isChecked() ? 1 : 0) + (m_envLying->isChecked() ? 1 : 0);
}

void TCustomLayoutFormatDialog::ChooseSource()
{
    if (m_updating)
        return;
    const int index = ChosenIndex();
    if (index >= 0 && size_t(index) < m_standard.Formats.size() && index != m_source) {
        m_source = index;
        m_work = m_standard.Formats[index];
    }
    Refresh();
}

void TCustomLayoutFormatDialog::SizeChanged()
{
    if (m_updating || size_t(m_source) >= m_standard.Formats.size())
        return;
    m_work.Width = m_width->Value();
    m_work.Height = m_height->Value();
    RescalePresets(m_standard.Formats[m_source], m_work);
    Refresh();
}

void TCustomLayoutFormatDialog::Refresh()
{
    if (size_t(m_source) >= m_standard.Formats.size())
        return;
    m_updating = true;
    m_width->SetValue(m_work.Width);
    m_height->SetValue(m_work.Height);
    m_updating = false;
    int size = 0;
    m_noBarcode = !PaperBarcodeFits(m_work.Direction != 0 ? m_work.Width : m_work.Height, size);
    m_picture = QImage();
    if (!m_work.Picture.isEmpty())
        m_picture.load(FormatPictureFolder() + Cp932::toUnicode(m_work.Picture));

    const TPreviewGeometry g = PreviewGeometry(m_work, nullptr, m_preview->size(), true);
    TPreviewScene scene;
    scene.Panel = g.Panel;
    scene.Frame = Qt::black;
    const TPaperFormat& source = m_standard.Formats.at(m_source);
    if (!m_picture.isNull() && m_work.Width == source.Width && m_work.Height == source.Height) {
        scene.Picture = m_picture.scaled(g.Panel, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scene.PictureAt = {QPoint()};
    }
    scene.Presets = g.Presets;
    const int barcode = BarcodeRectIndex(m_work, 1);
    if (m_noBarcode && barcode >= 0 && barcode < scene.Presets.size())
        scene.Presets.removeAt(barcode);
    m_preview->SetScene(scene);
}

void TCustomLayoutFormatDialog::done(int result)
{
    if (result == Accepted && !CustomNameAccepted(this, m_name, m_work.Kind, m_custom))
        return;
    QDialog::done(result);
}

TCustomPaperFormat TCustomLayoutFormatDialog::Result() const
{
    TCustomPaperFormat c;
    c.Source = m_source;
    c.Format = m_work;
    c.Format.Category = CustomCategory();
    c.Format.Name = CustomPaperName(m_name->text());
    const TPaperFormat& source = m_standard.Formats.at(m_source);
    if (m_work.Width != source.Width || m_work.Height != source.Height)
        c.Format.Picture.clear();
    return c;
}
