// Custom label sheets and cards.
#include "layoutobjects/CustomLabel.h"

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

namespace {

const char* const EditNames[10] = {"edtSheetWidth", "edtSheetHeight", "edtPieceWidth", "edtPieceHeight",
                                   "edtColumns",    "edtRows",        "edtLeft",       "edtTop",
                                   "edtHorzGap",    "edtVertGap"};

} // namespace

TCustomLabelDialog::TCustomLabelDialog(const TStandardFormats& standard, const TCustomFormats& custom,
                                       QWidget* parent)
    : QDialog(parent), m_standard(standard), m_custom(custom)
{
    setObjectName(QStringLiteral("CustomLabelDialog"));
    setWindowTitle(QStringLiteral("カスタム用紙の作成"));
    m_name = Named<QLineEdit>(this, "edtName");
    m_name->setMaxLength(20);
    SetImeMode(m_name, imHira);

    m_pages = Named<QStackedWidget>(this, "pgcSource");
    for (const char* prefix : {"Label", "Card"}) {
        auto* w = new QWidget;
        const QString p = QLatin1String(prefix);
        Page page{Named<QListWidget>(w, ("lbx" + p + "Category").toLatin1().constData()),
                  Named<QListWidget>(w, ("lbx" + p + "Paper").toLatin1().constData()),
                  Named<QRadioButton>(w, ("rb" + p + "Upright").toLatin1().constData(), QStringLiteral("縦")),
                  Named<QRadioButton>(w, ("rb" + p + "Lying").toLatin1().constData(), QStringLiteral("横"))};
        auto* grid = new QGridLayout(w);
        grid->addWidget(new QLabel(QStringLiteral("種類："), w), 0, 0, Qt::AlignTop);
        grid->addWidget(page.category, 0, 1);
        grid->addWidget(new QLabel(QStringLiteral("用紙："), w), 1, 0, Qt::AlignTop);
        grid->addWidget(page.paper, 1, 1);
        grid->addWidget(new QLabel(QStringLiteral("用紙方向："), w), 2, 0);
        grid->addWidget(RadioPair(w, page.upright, page.lying), 2, 1);
        if (p == QLatin1String("Card")) {
            m_cardVertical = Named<QRadioButton>(w, "rbCardVertical", QStringLiteral("縦書き"));
            m_cardHorizontal = Named<QRadioButton>(w, "rbCardHorizontal", QStringLiteral("横書き"));
            grid->addWidget(new QLabel(QStringLiteral("方向："), w), 3, 0);
            grid->addWidget(RadioPair(w, m_cardVertical, m_cardHorizontal), 3, 1);
            m_card = page;
        } else {
            m_label = page;
        }
        m_pages->addWidget(w);
    }
    auto* sourceBox = new QGroupBox(QStringLiteral("元にする用紙"), this);
    (new QVBoxLayout(sourceBox))->addWidget(m_pages);

    auto* infoBox = new QGroupBox(QStringLiteral("用紙情報"), this);
    auto* grid = new QGridLayout(infoBox);
    for (int tag = 0; tag < 10; ++tag) {
        auto* e = new TUpDownEdit(infoBox, tag == 4 || tag == 5 ? TUpDownEdit::Style::Count
                                                                 : TUpDownEdit::Style::Length);
        e->setObjectName(QLatin1String(EditNames[tag]));
        e->setProperty("tag", tag);
        e->setFixedWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 6 + 40);
        connect(e, &TUpDownEdit::ValueApplied, this, &TCustomLabelDialog::Apply);
        m_edits[tag] = e;
    }
    m_edits[0]->SetRange(500, 5940);
    m_edits[1]->SetRange(500, 5940);
    const auto row = [&](int r, const QString& caption, int first, const QString& a, const QString& b,
                         const QString& tail) {
        grid->addWidget(new QLabel(caption, infoBox), r, 0);
        if (!a.isEmpty())
            grid->addWidget(new QLabel(a, infoBox), r, 1);
        grid->addWidget(m_edits[first], r, 2);
        grid->addWidget(new QLabel(b, infoBox), r, 3);
        grid->addWidget(m_edits[first + 1], r, 4);
        grid->addWidget(new QLabel(tail, infoBox), r, 5);
    };
    const QString x = QStringLiteral("ｘ");
    row(0, QStringLiteral("用紙："), 0, QString(), x, QStringLiteral("mm"));
    row(1, QStringLiteral("ラベル："), 2, QString(), x, QStringLiteral("mm"));
    row(2, QStringLiteral("枚数："), 4, QString(), x, QStringLiteral("枚"));
    row(3, QStringLiteral("余白："), 6, QStringLiteral("左"), QStringLiteral("上"), QStringLiteral("mm"));
    row(4, QStringLiteral("間隔："), 8, QStringLiteral("横"), QStringLiteral("縦"), QStringLiteral("mm"));

    m_preview = new TPaperPreview(this);
    m_preview->setObjectName(QStringLiteral("pnlPreview"));
    auto* ok = MakeButton(this, "btnOK", QStringLiteral("OK"), true);
    auto* cancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("用紙名："), this));
    nameRow->addWidget(m_name, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(nameRow);
    left->addWidget(sourceBox, 1);
    left->addWidget(infoBox);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(m_preview, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(ButtonRow({ok, cancel}));

    for (Page* page : {&m_label, &m_card}) {
        connect(page->category, &QListWidget::currentRowChanged, this, [this, page] {
            if (m_updating)
                return;
            FillPapers(*page);
            page->paper->setCurrentRow(0);
        });
        connect(page->paper, &QListWidget::currentRowChanged, this, &TCustomLabelDialog::ChooseSource);
        connect(page->lying, &QRadioButton::clicked, this, &TCustomLabelDialog::ChooseSource);
    }
    connect(m_label.upright, &QRadioButton::clicked, this, &TCustomLabelDialog::ChooseSource);
    connect(m_card.upright, &QRadioButton::clicked, this, [this] {
        CheckQuietly(m_cardHorizontal);
        ChooseSource();
    });
    connect(m_card.lying, &QRadioButton::toggled, m_cardVertical, &QWidget::setEnabled);
    connect(m_cardVertical, &QRadioButton::clicked, this, &TCustomLabelDialog::ChooseSource);
    connect(m_cardHorizontal, &QRadioButton::clicked, this, &TCustomLabelDialog::ChooseSource);
    connect(m_preview, &TPaperPreview::Resized, this, &TCustomLabelDialog::UpdatePreview);

    auto* enter = new TEnterMovesFocus(this);
    for (QWidget* w : std::initializer_list<QWidget*>{m_name, m_label.category, m_label.paper, m_label.upright,
                                                      m_label.lying, m_card.category, m_card.paper,
                                                      m_card.upright, m_card.lying, m_cardVertical,
                                                      m_cardHorizontal})
        enter->addNext(w);
    resize(780, 520);
}

TCustomLabelDialog::Page& TCustomLabelDialog::CurrentPage()
{
    return m_pages->currentIndex() == 1 ? m_card : m_label;
}

void TCustomLabelDialog::FillPapers(Page& page)
{
    FillList(page.paper, StandardPaperEntries(m_standard, ListObject(page.category), false));
}

void TCustomLabelDialog::SetSource(int index)
{
    if (index < 0 || index >= int(m_standard.Formats.size()) || m_standard.Formats[index].Kind < PaperLabel)
        return;
    m_updating = true;
    m_source = index;
    m_work = m_standard.Formats[index];
    m_sheet = m_standard.SheetOf(m_work);
    const bool card = m_work.Kind == PaperCard;
    m_pages->setCurrentIndex(card ? 1 : 0);
    SetHelpContext(this, card ? 99 : 91);
    Page& page = CurrentPage();
    FillList(page.category, CategoryEntries(m_standard, m_work.Kind, false));
    page.category->setCurrentRow(RowOfText(page.category, Cp932::toUnicode(m_work.Category)));
    FillPapers(page);
    page.paper->setCurrentRow(RowOfText(page.paper, Cp932::toUnicode(m_work.Name)));
    CheckQuietly(m_work.Direction == 0 ? page.upright : page.lying);
    if (card) {
        CheckQuietly(m_work.Direction == 2 ? m_cardVertical : m_cardHorizontal);
        m_cardVertical->setEnabled(m_work.Direction != 0);
    }
    m_updating = false;
    Display();
}

void TCustomLabelDialog::SetSourceFromCustom(const TCustomPaperFormat& custom, const TMultiUpSheet& sheet)
{
    SetSource(custom.Source);
    m_work = custom.Format;
    m_sheet = sheet;
    Display();
}

void TCustomLabelDialog::ChooseSource()
{
    if (m_updating)
        return;
    Page& page = CurrentPage();
    int index = ListObject(page.paper);
    if (index < 0)
        return;
    index += page.lying->isChecked() ? 1 : 0;
    if (&page == &m_card)
        index += m_cardVertical->isChecked() ? 1 : 0;
    if (index != m_source && index < int(m_standard.Formats.size())) {
        m_source = index;
        m_work = m_standard.Formats[index];
        m_sheet = m_standard.SheetOf(m_work);
    }
    Display();
}

void TCustomLabelDialog::Display()
{
    TShownSheet shown = ShownSheetOf(m_work, m_sheet);
    int32_t pieceWidth = m_work.Width;
    int32_t pieceHeight = m_work.Height;
    const TSheetLimits limits = ClampShownSheet(shown, pieceWidth, pieceHeight);
    const int32_t highs[10] = {5940,           5940,        limits.PieceWidth, limits.PieceHeight, limits.Columns,
                               limits.Rows,    limits.Left, limits.Top,        limits.HorzGap,     limits.VertGap};
    const int32_t lows[10] = {500, 500, 50, 50, 1, 1, 0, 0, 0, 0};
    const int32_t values[10] = {shown.Width, shown.Height, pieceWidth,  pieceHeight,   shown.Columns,
                                shown.Rows,  shown.Left,   shown.Top,   shown.HorzGap, shown.VertGap};
    m_updating = true;
    for (int tag = 0; tag < 10; ++tag) {
        m_edits[tag]->SetRange(lows[tag], highs[tag]);
        m_edits[tag]->SetValue(values[tag]);
        // Counts lock when only one fits, margins and gaps when there is no room.
        if (tag >= 4)
            m_edits[tag]->SetLocked(highs[tag] <= lows[tag]);
    }
    m_updating = false;
    if (m_work.Kind == PaperLabel && m_source >= 0) {
        const TPaperFormat& source = m_standard.Formats[m_source];
        int size = 0;
        m_noBarcode = !PaperBarcodeFits(source.Height > source.Width ? m_work.Height : m_work.Width, size);
    } else {
        m_noBarcode = false;
    }
    UpdatePreview();
}

void TCustomLabelDialog::Apply()
{
    if (m_updating || m_source < 0)
        return;
    TShownSheet shown{m_edits[0]->Value(), m_edits[1]->Value(), m_edits[4]->Value(), m_edits[5]->Value(),
                      m_edits[6]->Value(), m_edits[7]->Value(), m_edits[8]->Value(), m_edits[9]->Value()};
    int32_t pieceWidth = m_edits[2]->Value();
    int32_t pieceHeight = m_edits[3]->Value();
    ClampShownSheet(shown, pieceWidth, pieceHeight);
    m_work.Width = pieceWidth;
    m_work.Height = pieceHeight;
    RescalePresets(m_standard.Formats[m_source], m_work);
    m_sheet = StoredSheet(shown, pieceHeight, m_work.Direction);
    Display();
}

void TCustomLabelDialog::UpdatePreview()
{
    const TShownSheet shown = ShownSheetOf(m_work, m_sheet);
    const bool hasSheet = shown.Columns > 0 && shown.Rows > 0 && shown.Width > 0 && shown.Height > 0;
    const TPreviewGeometry g = PreviewGeometry(m_work, hasSheet ? &shown : nullptr, m_preview->size(), false);
    TPreviewScene scene;
    scene.Panel = g.Panel;
    scene.Presets = g.Presets;
    if (m_noBarcode && m_work.Kind == PaperLabel && !scene.Presets.isEmpty())
        scene.Presets.removeLast();
    if (hasSheet)
        scene.Pieces = PieceOutlines(g);
    m_preview->SetScene(scene);
}

void TCustomLabelDialog::done(int result)
{
    if (result == Accepted && !CustomNameAccepted(this, m_name, m_work.Kind, m_custom))
        return;
    QDialog::done(result);
}

TCustomPaperFormat TCustomLabelDialog::Result() const
{
    TCustomPaperFormat c;
    c.Source = m_source;
    c.Format = m_work;
    c.Format.Category = CustomCategory();
    c.Format.Name = CustomPaperName(m_name->text());
    const TPaperFormat& source = m_standard.Formats.at(m_source);
    if (source.Height > source.Width)
        c.Horizontal = source.Kind == PaperCard && source.Direction == 1 ? 1 : 0;
    else
        c.Horizontal = 1;
    return c;
}
