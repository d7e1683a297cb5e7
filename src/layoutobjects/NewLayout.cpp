// Paper choice of the address side.
#include "layoutobjects/NewLayout.h"

#include "core/DialogSub.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "core/ShellSub.h"
#include "layoutobjects/CustomLayoutFormat.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QListWidget* PaperList(QWidget* parent, const char* name)
{
    auto* list = Named<QListWidget>(parent, name);
    list->setUniformItemSizes(true);
    return list;
}

} // namespace

TNewLayoutDialog::TNewLayoutDialog(QWidget* parent) : TPaperDialog(parent)
{
    setObjectName(QStringLiteral("NewLayoutDialog"));
    setWindowTitle(QStringLiteral("新規作成"));

    m_kind = Named<QComboBox>(this, "cmbKind");
    m_kind->addItems({QStringLiteral("はがき"), QStringLiteral("封筒")});
    m_tabs = Named<QTabWidget>(this, "pgcPaper");
    m_tabs->tabBar()->hide();

    auto* postPage = new QWidget;
    postPage->setObjectName(QStringLiteral("tshPostcard"));
    m_post = {PaperPostcard, PaperList(postPage, "lbxPostCategory"), PaperList(postPage, "lbxPostPaper"),
              MakeButton(postPage, "btnPostNew", QStringLiteral("登録")),
              MakeButton(postPage, "btnPostDelete", QStringLiteral("削除"))};
    m_postVertical = Named<QRadioButton>(postPage, "rbPostVertical", QStringLiteral("縦書き"));
    m_postHorizontal = Named<QRadioButton>(postPage, "rbPostHorizontal", QStringLiteral("横書き"));
    m_pieceSize = Named<QLabel>(postPage, "lblPieceSize");
    m_sheetSize = Named<QLabel>(postPage, "lblSheetSize");
    m_count = Named<QLabel>(postPage, "lblCount");
    auto* postGrid = new QGridLayout(postPage);
    postGrid->addWidget(new QLabel(QStringLiteral("分類："), postPage), 0, 0, Qt::AlignTop);
    postGrid->addWidget(m_post.category, 0, 1);
    postGrid->addWidget(new QLabel(QStringLiteral("用紙："), postPage), 1, 0, Qt::AlignTop);
    postGrid->addWidget(m_post.paper, 1, 1);
    postGrid->addWidget(new QLabel(QStringLiteral("方向："), postPage), 2, 0);
    postGrid->addWidget(RadioPair(postPage, m_postVertical, m_postHorizontal), 2, 1);
    postGrid->addWidget(new QLabel(QStringLiteral("一枚のサイズ："), postPage), 3, 0);
    postGrid->addWidget(m_pieceSize, 3, 1);
    postGrid->addWidget(new QLabel(QStringLiteral("用紙サイズ："), postPage), 4, 0);
    postGrid->addWidget(m_sheetSize, 4, 1);
    postGrid->addWidget(new QLabel(QStringLiteral("枚数："), postPage), 5, 0);
    postGrid->addWidget(m_count, 5, 1);
    postGrid->addLayout(ButtonRow({m_post.add, m_post.remove}), 6, 0, 1, 2);

    auto* envPage = new QWidget;
    envPage->setObjectName(QStringLiteral("tshEnvelope"));
    m_env = {PaperEnvelope, PaperList(envPage, "lbxEnvCategory"), PaperList(envPage, "lbxEnvPaper"),
             MakeButton(envPage, "btnEnvNew", QStringLiteral("登録")),
             MakeButton(envPage, "btnEnvDelete", QStringLiteral("削除"))};
    m_envUpright = Named<QRadioButton>(envPage, "rbEnvUpright", QStringLiteral("縦"));
    m_envLying = Named<QRadioButton>(envPage, "rbEnvLying", QStringLiteral("横"));
    m_envVertical = Named<QRadioButton>(envPage, "rbEnvVertical", QStringLiteral("縦書き"));
    m_envHorizontal = Named<QRadioButton>(envPage, "rbEnvHorizontal", QStringLiteral("横書き"));
    m_envRecipient = Named<QRadioButton>(envPage, "rbEnvRecipient", QStringLiteral("宛先"));
    m_envSender = Named<QRadioButton>(envPage, "rbEnvSender", QStringLiteral("差出人"));
    m_envSize = Named<QLabel>(envPage, "lblEnvSize");
    auto* envGrid = new QGridLayout(envPage);
    envGrid->addWidget(new QLabel(QStringLiteral("分類："), envPage), 0, 0, Qt::AlignTop);
    envGrid->addWidget(m_env.category, 0, 1);
    envGrid->addWidget(new QLabel(QStringLiteral("用紙："), envPage), 1, 0, Qt::AlignTop);
    envGrid->addWidget(m_env.paper, 1, 1);
    envGrid->addWidget(new QLabel(QStringLiteral("用紙方向："), envPage), 2, 0);
    envGrid->addWidget(RadioPair(envPage, m_envUpright, m_envLying), 2, 1);
    envGrid->addWidget(new QLabel(QStringLiteral("方向："), envPage), 3, 0);
    envGrid->addWidget(RadioPair(envPage, m_envVertical, m_envHorizontal), 3, 1);
    envGrid->addWidget(new QLabel(QStringLiteral("表示："), envPage), 4, 0);
    envGrid->addWidget(RadioPair(envPage, m_envRecipient, m_envSender), 4, 1);
    envGrid->addWidget(new QLabel(QStringLiteral("用紙サイズ："), envPage), 5, 0);
    envGrid->addWidget(m_envSize, 5, 1);
    envGrid->addLayout(ButtonRow({m_env.add, m_env.remove}), 6, 0, 1, 2);
    m_tabs->addTab(postPage, QStringLiteral("はがき"));
    m_tabs->addTab(envPage, QStringLiteral("封筒"));

    m_preview = new TPaperPreview(this);
    m_preview->setObjectName(QStringLiteral("pnlPreview"));
    m_noBarcode = Named<QLabel>(this, "lblNoBarcode", QStringLiteral("※バーコードは印刷できません"));
    auto* ok = MakeButton(this, "btnOK", QStringLiteral("OK"), true);
    auto* cancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(new QLabel(QStringLiteral("種類："), this));
    kindRow->addWidget(m_kind, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(kindRow);
    left->addWidget(m_tabs, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(m_preview, 1);
    right->addWidget(m_noBarcode);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(ButtonRow({ok, cancel}));

    // Standard categories in file order, each once.
    LoadLayoutFormats(LayoutFormatPath(), m_standard);
    LoadCustomFormats(CustomFormatPath(), m_custom);
    for (Tab* tab : {&m_post, &m_env})
        FillTab(*tab, true);
    m_updating = true;
    for (QRadioButton* b : {m_postVertical, m_envUpright, m_envVertical, m_envRecipient})
        CheckQuietly(b);
    m_updating = false;

    connect(m_kind, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_tabs->setCurrentIndex(index);
        SetHelpContext(this, index == 0 ? 77 : 83);
        SelectFormat();
    });
    for (Tab* tab : {&m_post, &m_env})
        ConnectTab(tab);
    for (QRadioButton* b : {m_postVertical, m_postHorizontal, m_envUpright, m_envVertical, m_envHorizontal})
        connect(b, &QRadioButton::clicked, this, &TNewLayoutDialog::SelectFormat);
    connect(m_envUpright, &QRadioButton::toggled, m_envVertical, &QWidget::setEnabled);
    connect(m_envLying, &QRadioButton::clicked, this, [this] {
        CheckQuietly(m_envHorizontal);
        SelectFormat();
    });
    for (QRadioButton* b : {m_envRecipient, m_envSender})
        connect(b, &QRadioButton::clicked, this, &TNewLayoutDialog::UpdatePreview);
    connect(m_preview, &TPaperPreview::Resized, this, &TNewLayoutDialog::UpdatePreview);

    auto* enter = new TEnterMovesFocus(this);
    for (QWidget* w : std::initializer_list<QWidget*>{m_kind, m_post.category, m_env.category, m_postVertical,
                                                      m_postHorizontal, m_envUpright, m_envLying,
                                                      m_envVertical, m_envHorizontal, m_envRecipient,
                                                      m_envSender})
        enter->addNext(w);
    enter->addTarget(m_post.paper,
                     [this]() -> QWidget* { return m_postVertical->isChecked() ? m_postVertical : m_postHorizontal; });
    enter->addTarget(m_env.paper,
                     [this]() -> QWidget* { return m_envUpright->isChecked() ? m_envUpright : m_envLying; });
    SetHelpContext(this, 77);
    resize(760, 520);
    SelectFormat();
}

void TNewLayoutDialog::SetChangeMode(int mode)
{
    if (mode == 1)
        setWindowTitle(QStringLiteral("用紙の変更"));
}

TNewLayoutDialog::Tab& TNewLayoutDialog::CurrentTab()
{
    return m_tabs->currentIndex() == 0 ? m_post : m_env;
}

bool TNewLayoutDialog::CustomCategoryShown(const Tab& tab) const
{
    const QListWidgetItem* item = tab.category->currentItem();
    if (!item)
        return false;
    // Postcards: every entry after the first is the custom one; envelopes: the entry with object 0.
    return tab.kind == PaperPostcard ? tab.category->currentRow() > 0 : ListObject(tab.category) == 0;
}

void TNewLayoutDialog::ListPapers(Tab& tab)
{
    if (CustomCategoryShown(tab))
        FillList(tab.paper, CustomPaperEntries(m_custom, tab.kind));
    else
        FillList(tab.paper, StandardPaperEntries(m_standard, ListObject(tab.category, 0) < 0
                                                                 ? -1
                                                                 : ListObject(tab.category), true));
}

void TNewLayoutDialog::CheckDirection(const TPaperFormat& f, bool custom)
{
    m_updating = true;
    if (f.Kind == PaperPostcard) {
        CheckQuietly(f.Direction == 0 ? m_postVertical : m_postHorizontal);
        m_postVertical->setEnabled(!custom || m_postVertical->isChecked());
        m_postHorizontal->setEnabled(!custom || m_postHorizontal->isChecked());
    } else {
        CheckQuietly(f.Direction == 2 ? m_envLying : m_envUpright);
        CheckQuietly(f.Direction == 0 ? m_envVertical : m_envHorizontal);
        for (QRadioButton* b : {m_envUpright, m_envLying, m_envHorizontal})
            b->setEnabled(!custom || b->isChecked());
        m_envVertical->setEnabled(custom ? m_envVertical->isChecked() : m_envUpright->isChecked());
    }
    m_updating = false;
}

void TNewLayoutDialog::SelectFormat()
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
        CheckDirection(Paper, true);
    } else {
        const int index = tab.kind == PaperPostcard
                              ? object + (m_postHorizontal->isChecked() ? 1 : 0)
                              : object + (m_envHorizontal->isChecked() ? 1 : 0) + (m_envLying->isChecked() ? 1 : 0);
        if (index >= FormatCount())
            return;
        FormatIndex = index;
        Paper = m_standard.Formats[index];
        for (QRadioButton* b : {m_postVertical, m_postHorizontal, m_envUpright, m_envLying, m_envHorizontal})
            b->setEnabled(true);
        m_envVertical->setEnabled(m_envUpright->isChecked());
    }
    Sheet = m_standard.SheetOf(Paper);
    FitBarcode();
    UpdatePreview();
}

void TNewLayoutDialog::FitBarcode()
{
    int size = 0;
    NoBarcode = !PaperBarcodeFits(Paper.Direction != 0 ? Paper.Width : Paper.Height, size);
    BarcodeSize = NoBarcode ? 0 : uint8_t(size);
}

void TNewLayoutDialog::UpdatePreview()
{
    const bool envelope = Paper.Kind == PaperEnvelope;
    const bool hasSheet = Paper.SheetIndex > 0 && Sheet.Columns > 0 && Sheet.Rows > 0;
    const QString piece = MmText(Paper.Width) + QStringLiteral(" x ") + MmText(Paper.Height) + QStringLiteral(" mm");
    m_pieceSize->setText(piece);
    m_envSize->setText(piece);
    m_sheetSize->setText(hasSheet ? MmText(Sheet.Width) + QStringLiteral(" x ") + MmText(Sheet.Height) +
                                        QStringLiteral(" mm")
                                  : piece);
    m_count->setText(hasSheet ? QStringLiteral("%1 x %2 枚").arg(Sheet.Columns).arg(Sheet.Rows)
                              : QStringLiteral("1 x 1 枚"));
    m_noBarcode->setVisible(NoBarcode);
    m_picture = QImage();
    if (!Paper.Picture.isEmpty())
        m_picture.load(FormatPictureFolder() + Cp932::toUnicode(Paper.Picture));

    const TShownSheet shown = ShownSheetOf(Paper, Sheet);
    const TPreviewGeometry g = PreviewGeometry(Paper, hasSheet ? &shown : nullptr, m_preview->size(), true);
    TPreviewScene scene;
    scene.Panel = g.Panel;
    const bool sender = envelope && m_envSender->isChecked();
    if (!m_picture.isNull() && !sender && !g.Panel.isEmpty()) {
        if (!hasSheet) {
            scene.Picture = m_picture.scaled(g.Panel, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            scene.PictureAt = {QPoint()};
        } else {
            scene.Picture = m_picture.scaled(g.Piece, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            if (m_picture.pixelColor(0, 0) != QColor(Qt::white))
                scene.Fill = m_picture.pixelColor(m_picture.width() / 2, m_picture.height() / 2);
        }
    }
    if (hasSheet) {
        scene.Pieces = PieceOutlines(g);
        if (!scene.Picture.isNull())
            for (const QRect& r : scene.Pieces)
                scene.PictureAt.append(r.topLeft());
    }
    for (int i = 0; i < g.Presets.size(); ++i) {
        if (envelope && (sender ? i < 4 : i >= 4))
            continue;
        if (i == 3 && NoBarcode)
            continue;
        scene.Presets.append(g.Presets[i]);
    }
    m_preview->SetScene(scene);
}

void TNewLayoutDialog::SetFormatIndex(int index)
{
    m_updating = true;
    m_passedIndex = index;
    FormatIndex = index;
    bool found = false;
    if (index < 0) {
        const int at = m_custom.Find(-index);
        if (at >= 0 && m_custom.Formats[at].Format.Kind <= PaperEnvelope) {
            Paper = m_custom.Formats[at].Format;
            TabOf(Paper.Kind).remove->setEnabled(true);
            found = true;
        }
    } else if (index < FormatCount() && m_standard.Formats[index].Kind <= PaperEnvelope) {
        Paper = m_standard.Formats[index];
        found = true;
    }
    if (!found) {
        FormatIndex = 0;
        if (FormatCount() == 0) {
            m_updating = false;
            return;
        }
        Paper = m_standard.Formats[0];
    }
    Sheet = m_standard.SheetOf(Paper);
    m_kind->setCurrentIndex(Paper.Kind);
    m_tabs->setCurrentIndex(Paper.Kind);
    SetHelpContext(this, Paper.Kind == PaperPostcard ? 77 : 83);
    ShowPaperInTab(TabOf(Paper.Kind));
    CheckDirection(Paper, FormatIndex < 0);
    FitBarcode();
    UpdatePreview();
}

void TNewLayoutDialog::SetEnvelopeSide(int side)
{
    CheckQuietly(side == 1 ? m_envSender : m_envRecipient);
    UpdatePreview();
}

int TNewLayoutDialog::GetEnvelopeSide() const
{
    return m_envSender->isChecked() ? 1 : 0;
}

void TNewLayoutDialog::NewCustom()
{
    Tab& tab = CurrentTab();
    TCustomLayoutFormatDialog dialog(m_standard, m_custom, this);
    if (CustomCategoryShown(tab)) {
        const int at = m_custom.Find(ListObject(tab.paper));
        if (at < 0)
            return;
        dialog.SetSourceFromCustom(m_custom.Formats[at]);
    } else if (FormatIndex >= 0 && FormatIndex < FormatCount()) {
        // Multi-up papers are no sources: start from the first single paper of the tab.
        dialog.SetSource(Paper.SheetIndex <= 0 ? FormatIndex
                         : tab.kind == PaperPostcard ? 0
                                                     : ListObject(m_env.category, 0));
    } else {
        return;
    }
    CenterForm(&dialog, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    AddCustom(tab, dialog.Result(), {});
}
