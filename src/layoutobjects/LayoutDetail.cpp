// The font and placement details dialog.
#include "layoutobjects/LayoutDetail.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/ExTrackBar.h"
#include "core/MainSettings.h"
#include "core/PDFHelp.h"
#include "platform/IniFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString PageSection = QStringLiteral("PRINTFORM");
const QString PageKey = QStringLiteral("Detail");
constexpr int MinLevel = 1, MaxLevel = 5;

// The four alignment buttons of one side, in their stored order.
const char* const AlignTexts[] = {"均等", "左・上寄せ", "右・下寄せ", "中央寄せ"};

} // namespace

int TrackBarClickPosition(int x, int left, int right, int maximum)
{
    if (x <= left)
        return 0;
    if (x >= right || maximum <= 1)
        return maximum;
    return RoundHalfAway((x - left) / (double(right - left) / (maximum - 1))) + 1;
}

TLayoutDetailDialog::TLayoutDetailDialog(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("LayoutDetailDialog"));
    setWindowTitle(QStringLiteral("フォント・配置の詳細設定"));
    setWindowModality(Qt::ApplicationModal);
    auto* column = new QVBoxLayout(this);
    pgcDetail = Named<QTabWidget>(this, "pgcDetail");
    column->addWidget(pgcDetail);
    buildPlacedPage();
    buildFontPage();
    buildAlignPage();

    QPushButton* ok = MakeButton(this, "btnOK", QStringLiteral("OK"), true);
    QPushButton* cancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    column->addLayout(ButtonRow({ok, cancel}));

    // Enter moves on through the controls instead of pressing OK.
    auto* enter = new TEnterMovesFocus(this);
    for (QWidget* w : findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus && !qobject_cast<QPushButton*>(w) &&
            !qobject_cast<QTabWidget*>(w))
            enter->addNext(w);

    ckbAuto->setChecked(true);
    ckbAutoClick();
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    const int page = ini.ReadInteger(PageSection, PageKey, 0);
    pgcDetail->setCurrentIndex(page >= 0 && page < pgcDetail->count() ? page : 0);
    pageChanged(pgcDetail->currentIndex());
    connect(pgcDetail, &QTabWidget::currentChanged, this, &TLayoutDetailDialog::pageChanged);
}

void TLayoutDetailDialog::buildPlacedPage()
{
    auto* page = new QWidget(pgcDetail);
    page->setObjectName(QStringLiteral("tbsAuto"));
    auto* column = new QVBoxLayout(page);
    ckbAuto = Named<QCheckBox>(page, "ckbAuto", QStringLiteral("表示情報のレイアウトを自動でおこなう"));
    PaintCheckedBlue(ckbAuto);
    connect(ckbAuto, &QCheckBox::toggled, this, &TLayoutDetailDialog::ckbAutoClick);
    column->addWidget(ckbAuto);
    auto* group = new QGroupBox(QStringLiteral("表示情報："), page);
    auto* grid = new QGridLayout(group);
    column->addWidget(group);
    column->addStretch();

    const QString digits[] = {QStringLiteral("１"), QStringLiteral("２"), QStringLiteral("３"),
                              QStringLiteral("４")};
    auto box = [group](const QString& name, const QString& text) {
        auto* b = new QCheckBox(text, group);
        b->setObjectName(name);
        PaintCheckedBlue(b);
        return b;
    };
    auto items = [&](const QString& prefix, std::array<QCheckBox*, 8>& out, int col) {
        out[0] = box(prefix + QStringLiteral("Pos"), QStringLiteral("郵便番号"));
        for (int i = 0; i < 3; ++i)
            out[size_t(1 + i)] =
                box(prefix + QStringLiteral("Address%1").arg(i + 1), QStringLiteral("住所") + digits[i]);
        out[4] = box(prefix + QStringLiteral("Name"), QStringLiteral("名前"));
        out[5] = box(prefix + QStringLiteral("Corp"), QStringLiteral("会社名"));
        out[6] = box(prefix + QStringLiteral("Dptmnt"), QStringLiteral("部署"));
        out[7] = box(prefix + QStringLiteral("Post"), QStringLiteral("役職"));
        for (int i = 0; i < 8; ++i)
            grid->addWidget(out[size_t(i)], i + 1, col);
    };
    grid->addWidget(new QLabel(QStringLiteral("宛先："), group), 0, 0);
    lblSender = Named<QLabel>(group, "lblSender", QStringLiteral("差出人："));
    grid->addWidget(lblSender, 0, 1);
    items(QStringLiteral("ckb"), m_recipientBoxes, 0);
    std::array<QCheckBox*, 8> sender{};
    items(QStringLiteral("ckbS_"), sender, 1);
    std::copy(sender.begin(), sender.end(), m_senderBoxes.begin());
    for (int i = 0; i < 4; ++i) {
        m_senderBoxes[size_t(8 + i)] =
            box(QStringLiteral("ckbAddition%1").arg(i + 1), QStringLiteral("連絡先") + digits[i]);
        grid->addWidget(m_senderBoxes[size_t(8 + i)], i + 1, 2);
    }
    pgcDetail->addTab(page, QStringLiteral("自動レイアウト"));
}

TExTrackBar* TLayoutDetailDialog::levelBar(QWidget* parent, const char* name)
{
    auto* bar = Named<TExTrackBar>(parent, name);
    bar->setRange(MinLevel, MaxLevel);
    bar->setPageStep(1);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setTickInterval(1);
    bar->setMinimumWidth(120);
    bar->OnMouseDown = [this](TExTrackBar* sender, Qt::MouseButton button, Qt::KeyboardModifiers, int x,
                              int) { tbrMouseDown(sender, button, x); };
    return bar;
}

void TLayoutDetailDialog::buildFontPage()
{
    auto* page = new QWidget(pgcDetail);
    page->setObjectName(QStringLiteral("tbsFont"));
    auto* column = new QVBoxLayout(page);
    auto* sizes = new QGroupBox(QStringLiteral("文字の最大サイズ："), page);
    auto* grid = new QGridLayout(sizes);
    column->addWidget(sizes);

    auto label = [sizes](const char* name, const QString& text) { return Named<QLabel>(sizes, name, text); };
    auto row = [&](int r, int col, QLabel* caption, TExTrackBar* bar, const char* minName,
                   const char* maxName) {
        grid->addWidget(caption, r, col);
        grid->addWidget(minName ? label(minName, QStringLiteral("小"))
                                : new QLabel(QStringLiteral("小"), sizes),
                        r, col + 1);
        grid->addWidget(bar, r, col + 2);
        grid->addWidget(maxName ? label(maxName, QStringLiteral("大"))
                                : new QLabel(QStringLiteral("大"), sizes),
                        r, col + 3);
    };
    grid->addWidget(label("lblAddress2", QStringLiteral("宛先：")), 0, 0);
    lblSender2 = label("lblSender2", QStringLiteral("差出人："));
    grid->addWidget(lblSender2, 0, 4);
    tbrName = levelBar(sizes, "tbrName");
    tbrAddress = levelBar(sizes, "tbrAddress");
    tbrAddition = levelBar(sizes, "tbrAddition");
    tbrSendName = levelBar(sizes, "tbrSendName");
    tbrSendAddress = levelBar(sizes, "tbrSendAddress");
    tbrSendAddition = levelBar(sizes, "tbrSendAddition");
    row(1, 0, label("lblNameFont", QStringLiteral("名前：")), tbrName, "lblMin1", "lblMax1");
    row(2, 0, label("lblAddressFont", QStringLiteral("住所：")), tbrAddress, nullptr, nullptr);
    row(3, 0, label("lblAdditionFont", QStringLiteral("追加情報：")), tbrAddition, nullptr, nullptr);
    row(1, 4, label("lblSendNameFont", QStringLiteral("名前：")), tbrSendName, nullptr, nullptr);
    row(2, 4, label("lblSendAddressFont", QStringLiteral("住所：")), tbrSendAddress, nullptr, nullptr);
    row(3, 4, label("lblSendAdditionFont", QStringLiteral("連絡先：")), tbrSendAddition, nullptr, nullptr);

    auto* ratios = new QGroupBox(QStringLiteral("会社情報の文字サイズの比率："), page);
    auto* line = new QHBoxLayout(ratios);
    column->addWidget(ratios);
    column->addStretch();
    edNameRatio = Named<QLineEdit>(ratios, "edNameRatio");
    edNameRatio->setText(QStringLiteral("10"));
    edNameRatio->setReadOnly(true);
    edNameRatio->setMaximumWidth(40);
    m_ratioLabels[0] = Named<QLabel>(ratios, "lblNameRatio", QStringLiteral("： 名前"));
    line->addWidget(edNameRatio);
    line->addWidget(m_ratioLabels[0]);
    const char* const listNames[] = {"cbxCorpRatio", "cbxDptmntRatio", "cbxPostRatio"};
    const char* const labelNames[] = {"lblCorpRatio", "lblDptmntRatio", "lblPostRatio"};
    const char* const labelTexts[] = {"： 会社", "： 部署", "： 役職"};
    for (int i = 0; i < 3; ++i) {
        auto* list = Named<QComboBox>(ratios, listNames[i]);
        for (int value = 10; value >= 5; --value)
            list->addItem(QString::number(value));
        m_ratioLists[size_t(i)] = list;
        m_ratioLabels[size_t(i + 1)] = Named<QLabel>(ratios, labelNames[i], QString::fromUtf8(labelTexts[i]));
        line->addWidget(list);
        line->addWidget(m_ratioLabels[size_t(i + 1)]);
    }
    line->addStretch();
    pgcDetail->addTab(page, QStringLiteral("フォント"));
}

void TLayoutDetailDialog::buildAlignPage()
{
    auto* page = new QWidget(pgcDetail);
    page->setObjectName(QStringLiteral("tbsAlign"));
    auto* column = new QVBoxLayout(page);

    auto* align = new QGroupBox(QStringLiteral("名前の文字揃え："), page);
    auto* grid = new QGridLayout(align);
    column->addWidget(align);
    grid->addWidget(Named<QLabel>(align, "lblNameAlign", QStringLiteral("宛先：")), 0, 0);
    grid->addWidget(Named<QLabel>(align, "lblSendNameAlign", QStringLiteral("差出人：")), 1, 0);
    // Each side's buttons are a group of their own.
    auto* recipient = new QWidget(align);
    auto* sender = new QWidget(align);
    auto* recipientRow = new QHBoxLayout(recipient);
    auto* senderRow = new QHBoxLayout(sender);
    recipientRow->setContentsMargins(0, 0, 0, 0);
    senderRow->setContentsMargins(0, 0, 0, 0);
    const char* const names[] = {"Equal", "Left", "Right", "Center"};
    for (int i = 0; i < 4; ++i) {
        m_nameAlign[size_t(i)] = new QRadioButton(QString::fromUtf8(AlignTexts[i]), recipient);
        m_nameAlign[size_t(i)]->setObjectName(QStringLiteral("rb") + QLatin1String(names[i]));
        m_senderAlign[size_t(i)] = new QRadioButton(QString::fromUtf8(AlignTexts[i]), sender);
        m_senderAlign[size_t(i)]->setObjectName(QStringLiteral("rbS_") + QLatin1String(names[i]));
        PaintCheckedBlue(m_nameAlign[size_t(i)]);
        PaintCheckedBlue(m_senderAlign[size_t(i)]);
        recipientRow->addWidget(m_nameAlign[size_t(i)]);
        senderRow->addWidget(m_senderAlign[size_t(i)]);
    }
    grid->addWidget(recipient, 0, 1);
    grid->addWidget(sender, 1, 1);

    auto* joint = new QGroupBox(QStringLiteral("差出人の連名："), page);
    auto* jointRow = new QHBoxLayout(joint);
    rbParallel = Named<QRadioButton>(joint, "rbParallel", QStringLiteral("横に並べる"));
    rbSeries = Named<QRadioButton>(joint, "rbSeries", QStringLiteral("まとめて表示する"));
    PaintCheckedBlue(rbParallel);
    PaintCheckedBlue(rbSeries);
    jointRow->addWidget(rbParallel);
    jointRow->addWidget(rbSeries);
    jointRow->addStretch();
    column->addWidget(joint);

    auto* corp = new QGroupBox(QStringLiteral("会社情報："), page);
    auto* corpRow = new QHBoxLayout(corp);
    ckbCorpBreak = Named<QCheckBox>(corp, "ckbCorpBreak", QStringLiteral("長い会社情報を空白で改行する"));
    PaintCheckedBlue(ckbCorpBreak);
    corpRow->addWidget(ckbCorpBreak);
    column->addWidget(corp);

    auto* spacing = new QGroupBox(QStringLiteral("名前の文字間："), page);
    auto* spacingRow = new QHBoxLayout(spacing);
    ckbCharSpace = Named<QCheckBox>(spacing, "ckbCharSpace", QStringLiteral("枠にあわせて文字間を広げる"));
    PaintCheckedBlue(ckbCharSpace);
    spacingRow->addWidget(ckbCharSpace);
    column->addWidget(spacing);
    column->addStretch();
    pgcDetail->addTab(page, QStringLiteral("配置"));
}

// ---- set-up ----

void TLayoutDetailDialog::SetPaperKind(quint8 kind)
{
    m_paperKind = kind;
    const bool labels = kind == 2 || kind == 3;
    for (QWidget* w :
         std::initializer_list<QWidget*>{lblSender, lblSender2, tbrSendName, tbrSendAddress, tbrSendAddition})
        w->setEnabled(!labels);
    for (const char* name :
         {"lblSendNameFont", "lblSendAddressFont", "lblSendAdditionFont", "lblSendNameAlign"})
        findChild<QLabel*>(QLatin1String(name))->setEnabled(!labels);
    for (QRadioButton* b : m_senderAlign)
        b->setEnabled(!labels);
    tbrAddition->setEnabled(labels);
    findChild<QLabel*>(QStringLiteral("lblAdditionFont"))->setEnabled(labels);
}

void TLayoutDetailDialog::SetManualLayout(quint8 manual)
{
    m_manualLayout = manual;
    ckbAuto->setChecked(manual == 0);
    if (manual) {
        edNameRatio->setEnabled(false);
        for (QComboBox* list : m_ratioLists)
            list->setEnabled(false);
        for (QLabel* l : m_ratioLabels)
            l->setEnabled(false);
    }
}

void TLayoutDetailDialog::SetPlacedSides(quint8 mode)
{
    m_placedSides = mode;
    if (!m_manualLayout)
        return;
    for (QCheckBox* b : m_recipientBoxes)
        b->setEnabled(mode != 2);
    for (QCheckBox* b : m_senderBoxes)
        b->setEnabled(mode != 1);
}

void TLayoutDetailDialog::ckbAutoClick()
{
    const bool automatic = ckbAuto->isChecked();
    m_manualLayout = automatic ? 0 : 1;
    for (QCheckBox* b : m_recipientBoxes)
        b->setEnabled(!automatic && m_placedSides != 2);
    for (QCheckBox* b : m_senderBoxes)
        b->setEnabled(!automatic && m_placedSides != 1);
    edNameRatio->setEnabled(automatic);
    for (QComboBox* list : m_ratioLists)
        list->setEnabled(automatic);
    for (QLabel* l : m_ratioLabels)
        l->setEnabled(automatic);
}

void TLayoutDetailDialog::DisableRecipientFonts(quint8 disable)
{
    if (!disable)
        return;
    for (const char* name :
         {"lblAddress2", "lblNameFont", "lblAddressFont", "lblMin1", "lblMax1", "lblNameAlign"})
        findChild<QLabel*>(QLatin1String(name))->setEnabled(false);
    tbrName->setEnabled(false);
    tbrAddress->setEnabled(false);
    for (QRadioButton* b : m_nameAlign)
        b->setEnabled(false);
}

void TLayoutDetailDialog::SetDetailSettings(const TLayoutSettings& settings)
{
    using namespace LayoutSettingsField;
    tbrAddress->setValue(settings.Int(AddressLevel));
    tbrName->setValue(settings.Int(NameLevel));
    tbrAddition->setValue(settings.Int(AdditionLevel));
    tbrSendAddress->setValue(settings.Int(SenderAddressLevel));
    tbrSendName->setValue(settings.Int(SenderNameLevel));
    tbrSendAddition->setValue(settings.Int(SenderAdditionLevel));
    const int ratioFields[] = {CompanyRatio, DepartmentRatio, TitleRatio};
    for (int i = 0; i < 3; ++i) {
        const int index = settings.Int(ratioFields[i]);
        m_ratioLists[size_t(i)]->setCurrentIndex(index >= 0 && index < 6 ? index : 0);
    }
    ckbCharSpace->setChecked(settings.Byte(WidenSpacing) != 0);
    const auto alignIndex = [](quint8 value) { return value <= 2 ? value : 3; };
    m_nameAlign[alignIndex(settings.Byte(NameAlign))]->setChecked(true);
    m_senderAlign[alignIndex(settings.Byte(SenderNameAlign))]->setChecked(true);
    (settings.Byte(JointNamesTogether) == 1 ? rbSeries : rbParallel)->setChecked(true);
    ckbCorpBreak->setChecked(settings.Byte(CompanyBreak) != 0);
}

void TLayoutDetailDialog::GetDetailSettings(TLayoutSettings& settings) const
{
    using namespace LayoutSettingsField;
    settings.SetInt(AddressLevel, tbrAddress->value());
    settings.SetInt(NameLevel, tbrName->value());
    settings.SetInt(AdditionLevel, tbrAddition->value());
    settings.SetInt(SenderAddressLevel, tbrSendAddress->value());
    settings.SetInt(SenderNameLevel, tbrSendName->value());
    settings.SetInt(SenderAdditionLevel, tbrSendAddition->value());
    settings.SetInt(CompanyRatio, m_ratioLists[0]->currentIndex());
    settings.SetInt(DepartmentRatio, m_ratioLists[1]->currentIndex());
    settings.SetInt(TitleRatio, m_ratioLists[2]->currentIndex());
    settings.SetByte(WidenSpacing, ckbCharSpace->isChecked() ? 1 : 0);
    const auto checkedIndex = [](const std::array<QRadioButton*, 4>& buttons) {
        for (int i = 0; i < 4; ++i)
            if (buttons[size_t(i)]->isChecked())
                return quint8(i);
        return quint8(0);
    };
    settings.SetByte(NameAlign, checkedIndex(m_nameAlign));
    settings.SetByte(SenderNameAlign, checkedIndex(m_senderAlign));
    settings.SetByte(JointNamesTogether, rbSeries->isChecked() ? 1 : 0);
    settings.SetByte(CompanyBreak, ckbCorpBreak->isChecked() ? 1 : 0);
}

// ---- the item boxes ----

std::array<bool, 8> TLayoutDetailDialog::GetRecipientShown() const
{
    std::array<bool, 8> shown{};
    for (size_t i = 0; i < shown.size(); ++i)
        shown[i] = m_recipientBoxes[i]->isChecked();
    return shown;
}
void TLayoutDetailDialog::SetRecipientShown(const std::array<bool, 8>& shown)
{
    for (size_t i = 0; i < shown.size(); ++i)
        m_recipientBoxes[i]->setChecked(shown[i]);
}

bool TLayoutDetailDialog::GetShowPostal() const
{
    return m_recipientBoxes[0]->isChecked();
}
void TLayoutDetailDialog::SetShowPostal(bool on)
{
    m_recipientBoxes[0]->setChecked(on);
}
bool TLayoutDetailDialog::GetShowAddress(int i) const
{
    return m_recipientBoxes[size_t(1 + qBound(0, i, 2))]->isChecked();
}
void TLayoutDetailDialog::SetShowAddress(int i, bool on)
{
    m_recipientBoxes[size_t(1 + qBound(0, i, 2))]->setChecked(on);
}
bool TLayoutDetailDialog::GetShowName() const
{
    return m_recipientBoxes[4]->isChecked();
}
void TLayoutDetailDialog::SetShowName(bool on)
{
    m_recipientBoxes[4]->setChecked(on);
}
bool TLayoutDetailDialog::GetShowCorp() const
{
    return m_recipientBoxes[5]->isChecked();
}
void TLayoutDetailDialog::SetShowCorp(bool on)
{
    m_recipientBoxes[5]->setChecked(on);
}
bool TLayoutDetailDialog::GetShowDepartment() const
{
    return m_recipientBoxes[6]->isChecked();
}
void TLayoutDetailDialog::SetShowDepartment(bool on)
{
    m_recipientBoxes[6]->setChecked(on);
}
bool TLayoutDetailDialog::GetShowTitle() const
{
    return m_recipientBoxes[7]->isChecked();
}
void TLayoutDetailDialog::SetShowTitle(bool on)
{
    m_recipientBoxes[7]->setChecked(on);
}
bool TLayoutDetailDialog::GetShowSenderPostal() const
{
    return m_senderBoxes[0]->isChecked();
}
void TLayoutDetailDialog::SetShowSenderPostal(bool on)
{
    m_senderBoxes[0]->setChecked(on);
}
bool TLayoutDetailDialog::GetShowSenderAddress(int i) const
{
    return m_senderBoxes[size_t(1 + qBound(0, i, 2))]->isChecked();
}
void TLayoutDetailDialog::SetShowSenderAddress(int i, bool on)
{
    m_senderBoxes[size_t(1 + qBound(0, i, 2))]->setChecked(on);
}
bool TLayoutDetailDialog::GetShowSenderName() const
{
    return m_senderBoxes[4]->isChecked();
}
void TLayoutDetailDialog::SetShowSenderName(bool on)
{
    m_senderBoxes[4]->setChecked(on);
}
bool TLayoutDetailDialog::GetShowSenderCorp() const
{
    return m_senderBoxes[5]->isChecked();
}
void TLayoutDetailDialog::SetShowSenderCorp(bool on)
{
    m_senderBoxes[5]->setChecked(on);
}
bool TLayoutDetailDialog::GetShowSenderDepartment() const
{
    return m_senderBoxes[6]->isChecked();
}
void TLayoutDetailDialog::SetShowSenderDepartment(bool on)
{
    m_senderBoxes[6]->setChecked(on);
}
bool TLayoutDetailDialog::GetShowSenderTitle() const
{
    return m_senderBoxes[7]->isChecked();
}
void TLayoutDetailDialog::SetShowSenderTitle(bool on)
{
    m_senderBoxes[7]->setChecked(on);
}
bool TLayoutDetailDialog::GetShowSenderContact(int i) const
{
    return m_senderBoxes[size_t(8 + qBound(0, i, 3))]->isChecked();
}
void TLayoutDetailDialog::SetShowSenderContact(int i, bool on)
{
    m_senderBoxes[size_t(8 + qBound(0, i, 3))]->setChecked(on);
}

// ---- behaviour ----

void TLayoutDetailDialog::pageChanged(int index)
{
    SetHelpContext(this, index == 2 ? LayoutDetailPlacementHelp : LayoutDetailHelp);
    QWidget* focus = index == 0   ? static_cast<QWidget*>(ckbAuto)
                     : index == 1 ? static_cast<QWidget*>(tbrName)
                                  : static_cast<QWidget*>(ckbCharSpace);
    if (focus->isEnabled())
        focus->setFocus();
}

void TLayoutDetailDialog::tbrMouseDown(TExTrackBar* bar, Qt::MouseButton button, int x)
{
    if (button != Qt::LeftButton || !bar->isEnabled())
        return;
    const QRect channel = bar->ChannelRect();
    bar->setValue(TrackBarClickPosition(x, channel.left(), channel.right(), bar->maximum()));
}

void TLayoutDetailDialog::done(int result)
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteInteger(PageSection, PageKey, pgcDetail->currentIndex());
    ini.UpdateFile();
    QDialog::done(result);
}

std::array<bool, 12> TLayoutDetailDialog::GetSenderShown() const
{
    std::array<bool, 12> shown{};
    for (size_t i = 0; i < shown.size(); ++i)
        shown[i] = m_senderBoxes[i]->isChecked();
    return shown;
}

void TLayoutDetailDialog::SetSenderShown(const std::array<bool, 12>& shown)
{
    for (size_t i = 0; i < shown.size(); ++i)
        m_senderBoxes[i]->setChecked(shown[i]);
}
