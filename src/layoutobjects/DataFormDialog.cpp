// Data format dialog: the check boxes, the three choices and the honorific edits over the settings record.
#include "layoutobjects/DataFormDialog.h"

#include "core/DialogSub.h"
#include "core/PDFHelp.h"
#include "core/ShellSub.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

constexpr int HonorificBytes = 10;

int chosen(const std::array<QRadioButton*, 3>& buttons)
{
    for (int i = 0; i < 3; ++i)
        if (buttons[size_t(i)]->isChecked())
            return i;
    return 0;
}

void choose(const std::array<QRadioButton*, 3>& buttons, qint32 value)
{
    buttons[size_t(value == 0 ? 0 : value == 1 ? 1 : 2)]->setChecked(true);
}

} // namespace

TDataFormDialog::TDataFormDialog(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("DataFormDialog"));
    setWindowTitle(QStringLiteral("書式の設定"));
    auto* root = new QVBoxLayout(this);
    auto* enter = new TEnterMovesFocus(this);

    auto* convert = group("gbxConvert", QStringLiteral("変換"));
    auto* convertLayout = new QVBoxLayout(convert);
    ckbTdfkn = Named<QCheckBox>(convert, "ckbTdfkn", QStringLiteral("都道府県を表示しない"));
    ckbVertNumeral =
        Named<QCheckBox>(convert, "ckbVertNumeral", QStringLiteral("縦書き時に住所の数字も縦に並べる"));
    ckbChineseNumeral =
        Named<QCheckBox>(convert, "ckbChineseNumeral", QStringLiteral("数字を漢数字に変換する"));
    ckbConnect = Named<QCheckBox>(convert, "ckbConnect", QStringLiteral("「－」 を 「の」 に変換する"));
    for (QCheckBox* box : {ckbTdfkn, ckbVertNumeral, ckbChineseNumeral, ckbConnect}) {
        PaintCheckedBlue(box);
        convertLayout->addWidget(box);
        enter->addNext(box);
    }
    root->addWidget(convert);

    auto* company = group("gbxCompany", QStringLiteral("法人格の表記"));
    auto* companyLayout = new QHBoxLayout(company);
    m_company = choice(company, {"rbNone", "rbOmittion", "rbFull"},
                       {QStringLiteral("そのまま"), QStringLiteral("省略（株式会社→（株））"),
                        QStringLiteral("展開（（株）→株式会社）")});
    for (QRadioButton* r : m_company)
        companyLayout->addWidget(r);
    companyLayout->addStretch();
    root->addWidget(company);

    auto* postal = group("gbxPostal", QStringLiteral("郵便記号"));
    auto* postalGrid = new QGridLayout(postal);
    const std::array<QString, 3> markTexts = {QStringLiteral("数字のみ"), QStringLiteral("〒を付加"),
                                              QStringLiteral("ハイフンを付加")};
    lblRecipient = Named<QLabel>(postal, "lblRecipient", QStringLiteral("宛先："));
    m_recipient = choice(postal, {"rbPosNone", "rbPosMark", "rbPosHyphen"}, markTexts);
    lblSender = Named<QLabel>(postal, "lblSender", QStringLiteral("差出人："));
    m_sender = choice(postal, {"rbSendPosNone", "rbSendPosMark", "rbSendPosHyphen"}, markTexts);
    postalGrid->addWidget(lblRecipient, 0, 0);
    postalGrid->addWidget(lblSender, 1, 0);
    for (int i = 0; i < 3; ++i) {
        postalGrid->addWidget(m_recipient[size_t(i)], 0, i + 1);
        postalGrid->addWidget(m_sender[size_t(i)], 1, i + 1);
    }
    root->addWidget(postal);

    gbxHonor = group("gbxHonor", QStringLiteral("敬称"));
    auto* honorGrid = new QGridLayout(gbxHonor);
    static const char* const editNames[] = {"edDefHonor", "edCorpHonor", "edPostHonor", "edSenderHonor"};
    static const char* const labelNames[] = {"lblDefHonor", "lblCorpHonor", "lblPostHonor", "lblSenderHonor"};
    const QString captions[] = {QStringLiteral("標準の敬称："), QStringLiteral("会社："),
                                QStringLiteral("役職："), QStringLiteral("差出人宛：")};
    for (int i = 0; i < 4; ++i) {
        auto* label = Named<QLabel>(gbxHonor, labelNames[i], captions[i]);
        auto* edit = Named<QLineEdit>(gbxHonor, editNames[i]);
        LimitAnsiBytes(edit, HonorificBytes);
        SetImeMode(edit, imHira);
        edit->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("あ")) * 7);
        label->setBuddy(edit);
        m_honorLabels[size_t(i)] = label;
        m_honors[size_t(i)] = edit;
        honorGrid->addWidget(label, i / 2, (i % 2) * 2);
        honorGrid->addWidget(edit, i / 2, (i % 2) * 2 + 1);
        enter->addNext(edit);
    }
    lblNote = Named<QLabel>(gbxHonor, "lblNote", QStringLiteral("※連名のない場合のみ"));
    lblNote->hide();
    honorGrid->addWidget(lblNote, 2, 2, 1, 2, Qt::AlignRight);
    root->addWidget(gbxHonor);

    for (const TChoice* c : {&m_company, &m_recipient, &m_sender})
        for (QRadioButton* r : *c)
            enter->addNext(r);

    btnOK = MakeButton(this, "btnOK", QStringLiteral("OK"), true);
    btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    root->addLayout(ButtonRow({btnOK, btnCancel}));
    root->setSizeConstraint(QLayout::SetFixedSize);
}

QGroupBox* TDataFormDialog::group(const char* name, const QString& caption)
{
    return Named<QGroupBox>(this, name, caption);
}

TDataFormDialog::TChoice TDataFormDialog::choice(QWidget* parent, const std::array<const char*, 3>& names,
                                                 const std::array<QString, 3>& texts)
{
    TChoice buttons{};
    auto* exclusive = new QButtonGroup(parent);
    for (int i = 0; i < 3; ++i) {
        auto* r = Named<QRadioButton>(parent, names[size_t(i)], texts[size_t(i)]);
        PaintCheckedBlue(r);
        exclusive->addButton(r);
        buttons[size_t(i)] = r;
    }
    buttons[0]->setChecked(true);
    return buttons;
}

void TDataFormDialog::SetDataForm(const TLayoutSettings& settings)
{
    using namespace LayoutSettingsField;
    ckbTdfkn->setChecked(settings.Byte(HidePrefecture) != 0);
    ckbVertNumeral->setChecked(settings.Byte(VerticalDigits) != 0);
    ckbChineseNumeral->setChecked(settings.Byte(KanjiNumerals) != 0);
    ckbConnect->setChecked(settings.Byte(HyphenToNo) != 0);
    choose(m_company, settings.Int(CompanyForm));
    choose(m_recipient, settings.Int(RecipientPostalMark));
    choose(m_sender, settings.Int(SenderPostalMark));
    const int offsets[] = {DefaultHonorific, CompanyHonorific, TitleHonorific, SenderHonorific};
    for (int i = 0; i < 4; ++i)
        m_honors[size_t(i)]->setText(settings.Honorific(offsets[i]));
}

void TDataFormDialog::GetDataForm(TLayoutSettings& settings) const
{
    using namespace LayoutSettingsField;
    settings.SetByte(HidePrefecture, ckbTdfkn->isChecked());
    settings.SetByte(VerticalDigits, ckbVertNumeral->isChecked());
    settings.SetByte(KanjiNumerals, ckbChineseNumeral->isChecked());
    settings.SetByte(HyphenToNo, ckbConnect->isChecked());
    settings.SetInt(CompanyForm, chosen(m_company));
    settings.SetInt(RecipientPostalMark, chosen(m_recipient));
    settings.SetInt(SenderPostalMark, chosen(m_sender));
    const int offsets[] = {DefaultHonorific, CompanyHonorific, TitleHonorific, SenderHonorific};
    for (int i = 0; i < 4; ++i)
        settings.SetHonorific(offsets[i], m_honors[size_t(i)]->text());
}

void TDataFormDialog::SetPaperKind(int kind)
{
    if (kind == 2 || kind == 3) {
        lblSender->setEnabled(false);
        for (QRadioButton* r : m_sender)
            r->setEnabled(false);
    }
    if (kind == 2)
        lblNote->show();
    if (kind == 3)
        disableHonorifics();
    SetHelpContext(this, DataFormHelp);
}

void TDataFormDialog::DisableRecipientItems(int flag)
{
    if (flag == 0)
        return;
    lblRecipient->setEnabled(false);
    for (QRadioButton* r : m_recipient)
        r->setEnabled(false);
    disableHonorifics();
    SetHelpContext(this, DataFormHelp);
}

void TDataFormDialog::disableHonorifics()
{
    gbxHonor->setEnabled(false);
    for (QLabel* label : m_honorLabels)
        label->setEnabled(false);
    for (QLineEdit* edit : m_honors)
        SetEditEnabled(edit, false);
}

void TDataFormDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        CenterForm(this, parentWidget());
}
