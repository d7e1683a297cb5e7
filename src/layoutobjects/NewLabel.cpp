// Paper choice of labels and cards.
#include "layoutobjects/NewLabel.h"

#include "core/DialogSub.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "core/ShellSub.h"
#include "layoutobjects/CustomLabel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

TNewLabelDialog::TNewLabelDialog(QWidget* parent) : TPaperDialog(parent)
{
    setObjectName(QStringLiteral("NewLabelDialog"));
    setWindowTitle(QStringLiteral("新規作成"));
    m_tabs = Named<QTabWidget>(this, "pgcPaper");
    m_tabs->tabBar()->hide();

    const auto makeTab = [this](int kind, const char* prefix) {
        auto* page = new QWidget;
        page->setObjectName(QStringLiteral("tsh%1").arg(QLatin1String(prefix)));
        const auto name = [prefix](const char* part) {
            return QByteArray(part).replace('*', prefix);
        };
        Tab tab;
        tab.kind = kind;
        tab.category = Named<QListWidget>(page, name("lbx*Category").constData());
        tab.paper = Named<QListWidget>(page, name("lbx*Paper").constData());
        tab.upright = Named<QRadioButton>(page, name("rb*Upright").constData(), QStringLiteral("縦"));
        tab.lying = Named<QRadioButton>(page, name("rb*Lying").constData(), QStringLiteral("横"));
        tab.recipient = Named<QRadioButton>(page, name("rb*Recipient").constData(), QStringLiteral("宛先"));
        tab.sender = Named<QRadioButton>(page, name("rb*Sender").constData(), QStringLiteral("差出人"));
        tab.add = MakeButton(page, name("btn*New").constData(), QStringLiteral("登録"));
        tab.remove = MakeButton(page, name("btn*Delete").constData(), QStringLiteral("削除"));
        m_tabs->addTab(page, QString::fromLatin1(prefix));
        return tab;
    };
    m_label = makeTab(PaperLabel, "Label");
    m_card = makeTab(PaperCard, "Card");
    m_cardVertical = Named<QRadioButton>(m_card.paper->parentWidget(), "rbCardVertical", QStringLiteral("縦書き"));
    m_cardHorizontal =
        Named<QRadioButton>(m_card.paper->parentWidget(), "rbCardHorizontal", QStringLiteral("横書き"));
    m_cardVertical->setEnabled(false);
    for (Tab* tab : {&m_label, &m_card}) {
        QWidget* page = tab->paper->parentWidget();
        auto* grid = new QGridLayout(page);
        int row = 0;
        grid->addWidget(new QLabel(QStringLiteral("種類："), page), row, 0, Qt::AlignTop);
        grid->addWidget(tab->category, row++, 1);
        grid->addWidget(new QLabel(QStringLiteral("用紙："), page), row, 0, Qt::AlignTop);
        grid->addWidget(tab->paper, row++, 1);
        grid->addWidget(new QLabel(QStringLiteral("用紙方向："), page), row, 0);
        grid->addWidget(RadioPair(page, tab->upright, tab->lying), row++, 1);
        if (tab == &m_card) {
            grid->addWidget(new QLabel(QStringLiteral("方向："), page), row, 0);
            grid->addWidget(RadioPair(page, m_cardVertical, m_cardHorizontal), row++, 1);
        }
        grid->addWidget(new QLabel(QStringLiteral("表示："), page), row, 0);
        grid->addWidget(RadioPair(page, tab->recipient, tab->sender), row++, 1);
        grid->addLayout(ButtonRow({tab->add, tab->remove}), row, 0, 1, 2);
    }

    m_pieceSize = Named<QLabel>(this, "lblPieceSize");
    m_sheetSize = Named<QLabel>(this, "lblSheetSize");
    m_countCaption = Named<QLabel>(this, "lblCountCaption", QStringLiteral("ラベル数："));
    m_count = Named<QLabel>(this, "lblCount");
    m_preview = new TPaperPreview(this);
    m_preview->setObjectName(QStringLiteral("pnlPreview"));
    m_noBarcode = Named<QLabel>(this, "lblNoBarcode", QStringLiteral("※バーコードは印刷できません"));
    auto* ok = MakeButton(this, "btnOK", QStringLiteral("OK"), true);
    auto* cancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* sizes = new QGridLayout;
    sizes->addWidget(new QLabel(QStringLiteral("一枚のサイズ："), this), 0, 0);
    sizes->addWidget(m_pieceSize, 0, 1);
    sizes->addWidget(new QLabel(QStringLiteral("用紙サイズ："), this), 1, 0);
    sizes->addWidget(m_sheetSize, 1, 1);
    sizes->addWidget(m_countCaption, 2, 0);
    sizes->addWidget(m_count, 2, 1);
    auto* left = new QVBoxLayout;
    left->addWidget(m_tabs, 1);
    left->addLayout(sizes);
    auto* right = new QVBoxLayout;
    right->addWidget(m_preview, 1);
    right->addWidget(m_noBarcode);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(ButtonRow({ok, cancel}));

    LoadLayoutFormats(LayoutFormatPath(), m_standard);
    for (size_t i = 0; i < m_standard.Formats.size(); ++i) {
        const int kind = m_standard.Formats[i].Kind;
        if (kind == PaperLabel && m_firstLabel < 0)
            m_firstLabel = int(i);
        if (kind == PaperCard && m_firstCard < 0)
            m_firstCard = int(i);
    }
    LoadCustomFormats(CustomFormatPath(), m_custom);
    for (Tab* tab : {&m_label, &m_card}) {
        FillTab(*tab, false);
        CheckQuietly(tab->upright);
        CheckQuietly(tab->recipient);
    }
    CheckQuietly(m_cardHorizontal);

    for (Tab* tab : {&m_label, &m_card}) {
        ConnectTab(tab);
        connect(tab->upright, &QRadioButton::clicked, this, &TNewLabelDialog::SelectFormat);
        connect(tab->lying, &QRadioButton::clicked, this, &TNewLabelDialog::SelectFormat);
        connect(tab->recipient, &QRadioButton::clicked, m_preview, qOverload<>(&QWidget::update));
        connect(tab->sender, &QRadioButton::clicked, m_preview, qOverload<>(&QWidget::update));
    }
    connect(m_card.upright, &QRadioButton::clicked, this, [this] {
        CheckQuietly(m_cardHorizontal);
        SelectFormat();
    });
    connect(m_card.lying, &QRadioButton::toggled, m_cardVertical, &QWidget::setEnabled);
    connect(m_cardVertical, &QRadioButton::clicked, this, &TNewLabelDialog::SelectFormat);
    connect(m_cardHorizontal, &QRadioButton::clicked, this, &TNewLabelDialog::SelectFormat);
    connect(m_preview, &TPaperPreview::Resized, this, &TNewLabelDialog::UpdatePreview);

    auto* enter = new TEnterMovesFocus(this);
    for (Tab* tab : {&m_label, &m_card}) {
        for (QWidget* w : std::initializer_list<QWidget*>{tab->category, tab->upright, tab->lying, tab->recipient,
                                                          tab->sender})
            enter->addNext(w);
        enter->addTarget(tab->paper, [tab]() -> QWidget* { return tab->upright->isChecked() ? tab->upright : tab->lying; });
    }
    enter->addNext(m_cardVertical);
    enter->addNext(m_cardHorizontal);
    resize(760, 520);
    SetKind(PaperLabel);
}

void TNewLabelDialog::ShowTab(int kind)
{
    m_kind = kind == PaperCard ? PaperCard : PaperLabel;
    m_tabs->setCurrentIndex(m_kind == PaperCard ? 1 : 0);
    SetHelpContext(this, m_kind == PaperCard ? 98 : 90);
    m_countCaption->setText(m_kind == PaperCard ? QStringLiteral("カード数：") : QStringLiteral("ラベル数："));
}

void TNewLabelDialog::SetKind(int kind)
{
    ShowTab(kind);
    SelectFormat();
}

void TNewLabelDialog::SetChangeMode(int mode)
{
    if (mode == 1)
        setWindowTitle(QStringLiteral("用紙の変更"));
}

bool TNewLabelDialog::CustomCategoryShown(const TPaperTab& tab) const
{
    return tab.category->currentItem() && ListObject(tab.category) == 0;
}

void TNewLabelDialog::ListPapers(TPaperTab& tab)
{
    if (CustomCategoryShown(tab))
        FillList(tab.paper, CustomPaperEntries(m_custom, tab.kind));
    else
        FillList(tab.paper, StandardPaperEntries(m_standard, ListObject(tab.category), false));
}

void TNewLabelDialog::CheckDirection(const TPaperFormat& f, bool custom)
{
    Tab& tab = TabOf(f.Kind);
    m_updating = true;
    CheckQuietly(f.Direction == 0 ? tab.upright : tab.lying);
    if (f.Kind == PaperCard)
        CheckQuietly(f.Direction == 2 ? m_cardVertical : m_cardHorizontal);
    for (QRadioButton* b : {tab.upright, tab.lying})
        b->setEnabled(!custom || b->isChecked());
    if (f.Kind == PaperCard) {
        m_cardHorizontal->setEnabled(!custom || m_cardHorizontal->isChecked());
        m_cardVertical->setEnabled(custom ? m_cardVertical->isChecked() : f.Direction != 0);
    }
    m_updating = false;
}

void TNewLabelDialog::SelectFormat()
{
    if (m_updating)
        return;
    Tab& tab = CurrentTab();
    const int object = ListObject(tab.paper);
    if (object < 0)
        return;
    const bool custom = CustomCategoryShown(tab);
    if (custom) {
        const int at = m_custom.Find(object);
        if (at < 0)
            return;
        FormatIndex = -object;
        Paper = m_custom.Formats[at].Format;
        Sheet = m_custom.SheetOf(Paper);
        CheckDirection(Paper, true);
    } else {
        int index = object + (tab.lying->isChecked() ? 1 : 0);
        if (tab.kind == PaperCard)
            index += m_cardVertical->isChecked() ? 1 : 0;
        if (index >= FormatCount())
            return;
        FormatIndex = index;
        Paper = m_standard.Formats[index];
        Sheet = m_standard.SheetOf(Paper);
        tab.upright->setEnabled(true);
        tab.lying->setEnabled(true);
        if (tab.kind == PaperCard) {
            m_cardHorizontal->setEnabled(true);
            m_cardVertical->setEnabled(tab.lying->isChecked());
        }
    }
    FitBarcode(custom);
    UpdatePreview();
}

void TNewLabelDialog::FitBarcode(bool custom)
{
    const int length = custom ? (Paper.Direction != 0 ? Paper.Height : Paper.Width)
                              : std::max(Paper.Width, Paper.Height);
    int size = 0;
    NoBarcode = !PaperBarcodeFits(length, size);
    BarcodeSize = NoBarcode ? 0 : uint8_t(size);
}

void TNewLabelDialog::UpdatePreview()
{
    const bool hasSheet = Paper.SheetIndex > 0 && Sheet.Columns > 0 && Sheet.Rows > 0;
    const TShownSheet shown = ShownSheetOf(Paper, Sheet);
    const QString piece = MmText(Paper.Width) + QStringLiteral(" x ") + MmText(Paper.Height) + QStringLiteral(" mm");
    m_pieceSize->setText(piece);
    m_sheetSize->setText(hasSheet ? MmText(Sheet.Width) + QStringLiteral(" x ") + MmText(Sheet.Height) +
                                        QStringLiteral(" mm")
                                  : piece);
    m_count->setText(hasSheet ? QStringLiteral("%1 x %2 枚").arg(shown.Columns).arg(shown.Rows)
                              : QStringLiteral("1 x 1 枚"));
    const bool label = Paper.Kind == PaperLabel;
    m_noBarcode->setVisible(NoBarcode && label);

    const TPreviewGeometry g = PreviewGeometry(Paper, hasSheet ? &shown : nullptr, m_preview->size(), false);
    TPreviewScene scene;
    scene.Panel = g.Panel;
    scene.Presets = g.Presets;
    if (NoBarcode && label && !scene.Presets.isEmpty())
        scene.Presets.removeLast();
    if (hasSheet)
        scene.Pieces = PieceOutlines(g);
    m_preview->SetScene(scene);
}

void TNewLabelDialog::SetFormatIndex(int index)
{
    m_updating = true;
    const int first = FirstOfKind(m_kind);
    if (index >= 0 && index < first)
        index = first;
    m_passedIndex = index;
    FormatIndex = index;
    bool found = false;
    if (index < 0) {
        const int at = m_custom.Find(-index);
        if (at >= 0 && m_custom.Formats[at].Format.Kind >= PaperLabel) {
            Paper = m_custom.Formats[at].Format;
            Sheet = m_custom.SheetOf(Paper);
            TabOf(Paper.Kind).remove->setEnabled(true);
            found = true;
        }
    } else if (index < FormatCount() && m_standard.Formats[index].Kind >= PaperLabel) {
        Paper = m_standard.Formats[index];
        Sheet = m_standard.SheetOf(Paper);
        found = true;
    }
    if (!found) {
        if (first < 0) {
            m_updating = false;
            return;
        }
        FormatIndex = first;
        Paper = m_standard.Formats[first];
        Sheet = m_standard.SheetOf(Paper);
    }
    ShowTab(Paper.Kind);
    ShowPaperInTab(TabOf(Paper.Kind));
    CheckDirection(Paper, FormatIndex < 0);
    FitBarcode(FormatIndex < 0);
    UpdatePreview();
}

bool TNewLabelDialog::IsLandscape() const
{
    TPaperFormat f = Paper;
    if (FormatIndex < 0) {
        const int at = m_custom.Find(-FormatIndex);
        if (at >= 0 && m_custom.Formats[at].Source >= 0 && m_custom.Formats[at].Source < FormatCount())
            f = m_standard.Formats[m_custom.Formats[at].Source];
    }
    return f.Height < f.Width || (f.Kind != PaperLabel && f.Direction == 1);
}

int TNewLabelDialog::GetSide() const
{
    const Tab& tab = Paper.Kind == PaperCard ? m_card : m_label;
    return tab.sender->isChecked() ? 1 : 0;
}

void TNewLabelDialog::SetSide(int side)
{
    Tab& tab = TabOf(Paper.Kind == PaperCard ? PaperCard : m_kind);
    CheckQuietly(side == 1 ? tab.sender : tab.recipient);
}

void TNewLabelDialog::NewCustom()
{
    Tab& tab = CurrentTab();
    TCustomLabelDialog dialog(m_standard, m_custom, this);
    if (CustomCategoryShown(tab)) {
        const int at = m_custom.Find(ListObject(tab.paper));
        if (at < 0)
            return;
        dialog.SetSourceFromCustom(m_custom.Formats[at], m_custom.SheetOf(m_custom.Formats[at].Format));
    } else if (FormatIndex >= 0 && FormatIndex < FormatCount()) {
        dialog.SetSource(FormatIndex);
    } else {
        return;
    }
    CenterForm(&dialog, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    AddCustom(tab, dialog.Result(), dialog.WorkSheet());
}
