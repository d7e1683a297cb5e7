// Additional information dialog: the item combos and their codes, the barcode switch and size list.
#include "layoutobjects/AdditionInfo.h"

#include "addressbook/KeywdEdt.h"
#include "core/DialogSub.h"
#include "core/PDFHelp.h"
#include "core/ShellSub.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

constexpr int CodeRole = Qt::UserRole;

struct TItemEntry
{
    QString text;
    int code;
};

// The entries of the code table that apply to a paper kind and item source, in their order.
QList<TItemEntry> ItemEntries(int paperKind, int source)
{
    using namespace AdditionCode;
    QList<TItemEntry> entries;
    if (paperKind == 2) {
        entries.append({QStringLiteral("逆順電話番号"), ReversedTel});
        entries.append({QStringLiteral("日付 (yyyymmdd)"), Today});
    }
    if (source == 1) {
        entries.append({QStringLiteral("TEL"), Tel});
        entries.append({QStringLiteral("FAX"), Fax});
        entries.append({QStringLiteral("携帯1"), Mobile1});
        entries.append({QStringLiteral("携帯2"), Mobile2});
        entries.append({QStringLiteral("URL"), Url});
        entries.append({QStringLiteral("E-Mail1"), Mail1});
        entries.append({QStringLiteral("E-Mail2"), Mail2});
        for (int k = 0; k < KeywordCount; ++k)
            entries.append({KeywordNames.value(k), FirstKeyword + k});
    } else if (source == 2) {
        for (int k = 0; k < 4; ++k)
            entries.append({QStringLiteral("連絡先") + QChar(u'１' + k), FirstContact + k});
    }
    return entries;
}

} // namespace

TAdditionInfoDialog::TAdditionInfoDialog(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("AdditionInfoDialog"));
    setWindowTitle(QStringLiteral("追加情報の設定"));
    auto* root = new QVBoxLayout(this);
    auto* enter = new TEnterMovesFocus(this);

    gbxAddition = Named<QGroupBox>(this, "gbxAddition", QStringLiteral("追加情報："));
    auto* grid = new QGridLayout(gbxAddition);
    static const char* const checkNames[] = {"ckbAddition1", "ckbAddition2", "ckbAddition3", "ckbAddition4"};
    static const char* const comboNames[] = {"cbxAddition1", "cbxAddition2", "cbxAddition3", "cbxAddition4"};
    for (int i = 0; i < AdditionItemCount; ++i) {
        QCheckBox* box =
            Named<QCheckBox>(gbxAddition, checkNames[i], QStringLiteral("項目%1：").arg(QChar(u'1' + i)));
        box->setProperty("tag", i);
        box->setChecked(true);
        PaintCheckedBlue(box);
        connect(box, &QCheckBox::toggled, this, [this, i] { itemClick(i); });
        QComboBox* combo = Named<QComboBox>(gbxAddition, comboNames[i]);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
        combo->setMaxVisibleItems(15);
        combo->lineEdit()->setMaxLength(AdditionItemMaxChars);
        combo->setMinimumContentsLength(20);
        SetImeMode(combo, imClose);
        ckbAddition[size_t(i)] = box;
        cbxAddition[size_t(i)] = combo;
        grid->addWidget(box, i, 0);
        grid->addWidget(combo, i, 1);
        enter->addNext(box);
        enter->addNext(combo);
    }
    root->addWidget(gbxAddition);

    gbxBarcode = Named<QGroupBox>(this, "gbxBarcode");
    auto* barRow = new QHBoxLayout(gbxBarcode);
    ckbBarcode = Named<QCheckBox>(gbxBarcode, "ckbBarcode", QStringLiteral("バーコード："));
    ckbBarcode->setChecked(true);
    PaintCheckedBlue(ckbBarcode);
    connect(ckbBarcode, &QCheckBox::toggled, this, &TAdditionInfoDialog::barcodeClick);
    lblBarSize = Named<QLabel>(gbxBarcode, "lblBarSize", QStringLiteral("サイズ（ポイント）："));
    cbxBarSize = Named<QComboBox>(gbxBarcode, "cbxBarSize");
    cbxBarSize->addItems(
        {QStringLiteral("8"), QStringLiteral("9"), QStringLiteral("10"), QStringLiteral("11")});
    cbxBarSize->setCurrentIndex(0);
    connect(cbxBarSize, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index > m_maxBarcodeSize)
            cbxBarSize->setCurrentIndex(m_maxBarcodeSize);
    });
    barRow->addWidget(ckbBarcode);
    barRow->addSpacing(12);
    barRow->addWidget(lblBarSize);
    barRow->addWidget(cbxBarSize);
    barRow->addStretch();
    enter->addNext(ckbBarcode);
    enter->addNext(cbxBarSize);
    root->addWidget(gbxBarcode);

    btnOK = MakeButton(this, "btnOK", QStringLiteral("OK"), true);
    btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    root->addLayout(ButtonRow({btnOK, btnCancel}));
    root->setSizeConstraint(QLayout::SetFixedSize);
}

void TAdditionInfoDialog::SetPaperKind(int kind)
{
    m_paperKind = kind;
    if (kind < 0 || kind > 3)
        return;
    SetHelpContext(this, AdditionInfoHelp);
    if (kind <= 1) {
        setWindowTitle(QStringLiteral("バーコードの設定"));
        gbxAddition->hide();
        adjustSize();
    }
}

void TAdditionInfoDialog::SetItemSource(int source)
{
    m_itemSource = source;
    const QList<TItemEntry> entries = ItemEntries(m_paperKind, source);
    for (QComboBox* combo : cbxAddition) {
        combo->clear();
        for (const TItemEntry& e : entries)
            combo->addItem(e.text, e.code);
        combo->setCurrentIndex(-1);
    }
}

void TAdditionInfoDialog::SetItemChecked(int i, bool checked)
{
    ckbAddition[size_t(item(i))]->setChecked(checked);
    itemClick(item(i));
}

bool TAdditionInfoDialog::GetItemChecked(int i) const
{
    return ckbAddition[size_t(item(i))]->isChecked();
}

void TAdditionInfoDialog::SetItemKind(int i, int code)
{
    QComboBox* combo = cbxAddition[size_t(item(i))];
    combo->setCurrentIndex(code == AdditionCode::FreeText ? -1 : combo->findData(code, CodeRole));
}

int TAdditionInfoDialog::GetItemKind(int i) const
{
    const QComboBox* combo = cbxAddition[size_t(item(i))];
    const int index = combo->currentIndex();
    // Text typed over the entry leaves Qt's index where it was: the entry counts only while it is shown.
    if (index < 0 || combo->currentText() != combo->itemText(index))
        return AdditionCode::FreeText;
    return combo->itemData(index, CodeRole).toInt();
}

void TAdditionInfoDialog::SetItemText(int i, const QString& text)
{
    QComboBox* combo = cbxAddition[size_t(item(i))];
    combo->setCurrentIndex(-1);
    combo->setEditText(text.left(AdditionItemMaxChars));
}

QString TAdditionInfoDialog::GetItemText(int i) const
{
    if (GetItemKind(i) != AdditionCode::FreeText)
        return {};
    return cbxAddition[size_t(item(i))]->currentText().trimmed();
}

void TAdditionInfoDialog::SetBarcode(bool on)
{
    ckbBarcode->setChecked(on);
    barcodeClick();
}

bool TAdditionInfoDialog::GetBarcode() const
{
    return ckbBarcode->isChecked();
}

void TAdditionInfoDialog::SetBarcodeSize(int index)
{
    cbxBarSize->setCurrentIndex(qMin(index, m_maxBarcodeSize));
}

int TAdditionInfoDialog::GetBarcodeSize() const
{
    return qMax(cbxBarSize->currentIndex(), 0);
}

void TAdditionInfoDialog::SetMaxBarcodeSize(int index)
{
    if (index == m_maxBarcodeSize)
        return;
    m_maxBarcodeSize = index;
    if (cbxBarSize->currentIndex() > index)
        cbxBarSize->setCurrentIndex(index);
    while (cbxBarSize->count() > index + 1 && cbxBarSize->count() > 0)
        cbxBarSize->removeItem(cbxBarSize->count() - 1);
}

void TAdditionInfoDialog::DisableBarcode(bool disable)
{
    if (!disable)
        return;
    ckbBarcode->setChecked(false);
    ckbBarcode->setEnabled(false);
    cbxBarSize->clear();
    barcodeClick();
}

void TAdditionInfoDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        CenterForm(this, parentWidget());
}

void TAdditionInfoDialog::itemClick(int i)
{
    cbxAddition[size_t(i)]->setEnabled(ckbAddition[size_t(i)]->isChecked());
}

void TAdditionInfoDialog::barcodeClick()
{
    const bool on = ckbBarcode->isChecked();
    cbxBarSize->setEnabled(on);
    lblBarSize->setEnabled(on);
}
