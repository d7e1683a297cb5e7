// QR code settings dialog: building the window, filling it from the copy and a sender, applying it.
#include "layoutobjects/QRCodeSetting.h"

#include "addressbook/TntNMDic.h"
#include "core/AppSub.h"
#include "core/ButtonPictures.h"
#include "core/CstmClr.h"
#include "core/DBInfo.h"
#include "core/DialogSub.h"
#include "core/LimitedScrollBox.h"
#include "core/MainSettings.h"
#include "core/PDFHelp.h"
#include "core/PaintPanel.h"
#include "core/PrivateMessages.h"
#include "core/ShellSub.h"
#include "core/TntNMDEdit.h"
#include "platform/IniFile.h"
#include "platform/TableEngine.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSizeGrip>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

const QString DesignSection = QStringLiteral("DESIGN");
constexpr int UnsetSize = 32767;
constexpr int MinWidth = 580;
constexpr int MinHeight = 460;
constexpr int MinModuleSize = 1;
constexpr int MaxModuleSize = 5;
constexpr int NameTag = 0;

QLineEdit* lineEdit(const char* name, int maxLength, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(maxLength);
    return edit;
}

QRadioButton* radio(const char* name, const QString& caption, int tag, QWidget* parent)
{
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setProperty("tag", tag);
    return button;
}

// The non-empty values in order, as the first and second of two slots.
std::array<AnsiString, 2> packed(const AnsiString& first, const AnsiString& second)
{
    std::array<AnsiString, 2> out;
    int n = 0;
    for (const AnsiString& value : {first, second})
        if (!value.isEmpty())
            out[size_t(n++)] = value;
    return out;
}

} // namespace

TQRCodeSettingDialog::TQRCodeSettingDialog(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("QRCodeSettingDialog"));
    setWindowTitle(QStringLiteral("QRコードの設定"));
    BuildWindow();
    setMinimumSize(ScaleByDpi(MinWidth, 1), ScaleByDpi(MinHeight, 1));
    resize(minimumSize());
    LoadSettings();
    m_copy = std::make_unique<TQRCodeRect>();
    FillSenderList();
}

TQRCodeSettingDialog::~TQRCodeSettingDialog()
{
    m_copy.reset();
    SaveSettings();
}

void TQRCodeSettingDialog::BuildWindow()
{
    auto* root = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    root->addLayout(top);

    auto* kinds = new QGroupBox(QStringLiteral("種類"), this);
    auto* kindsLayout = new QVBoxLayout(kinds);
    rbText = radio("rbText", QStringLiteral("文章"), 0, kinds);
    rbAddress = radio("rbAddress", QStringLiteral("電話帳登録"), 1, kinds);
    rbMail = radio("rbMail", QStringLiteral("メール作成"), 2, kinds);
    for (QRadioButton* r : {rbText, rbAddress, rbMail}) {
        kindsLayout->addWidget(r);
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                rbKindClick();
        });
    }
    top->addWidget(kinds);

    auto* carriers = new QGroupBox(QStringLiteral("キャリア"), this);
    auto* carriersLayout = new QVBoxLayout(carriers);
    rbDocomo = radio("rbDocomo", QStringLiteral("docomo"), 0, carriers);
    rbSoftBank = radio("rbSoftBank", QStringLiteral("SoftBank"), 1, carriers);
    lblCarrierNote = new QLabel(QStringLiteral("※auはどちらの仕様にも対応しています"), carriers);
    lblCarrierNote->setObjectName(QStringLiteral("lblCarrierNote"));
    for (QRadioButton* r : {rbDocomo, rbSoftBank}) {
        carriersLayout->addWidget(r);
        connect(r, &QRadioButton::toggled, this, [this] { recolourRadios(); });
    }
    carriersLayout->addWidget(lblCarrierNote);
    top->addWidget(carriers, 1);

    auto* view = new QGroupBox(QStringLiteral("表示"), this);
    auto* viewLayout = new QFormLayout(view);
    auto* sizeRow = new QHBoxLayout;
    edSize = lineEdit("edSize", 1, view);
    edSize->setFixedWidth(fontMetrics().horizontalAdvance(u'0') * 3 + 8);
    edSize->setAttribute(Qt::WA_InputMethodEnabled, false);
    edSize->installEventFilter(this);
    udSize = new QScrollBar(Qt::Vertical, view);
    udSize->setObjectName(QStringLiteral("udSize"));
    udSize->setRange(MinModuleSize, MaxModuleSize);
    udSize->setPageStep(1);
    udSize->setInvertedAppearance(true); // the upper arrow counts up
    udSize->setInvertedControls(false);
    udSize->setFixedHeight(edSize->sizeHint().height());
    connect(udSize, &QScrollBar::valueChanged, this,
            [this](int value) { edSize->setText(QString::number(value)); });
    sizeRow->addWidget(edSize);
    sizeRow->addWidget(udSize);
    sizeRow->addStretch();
    viewLayout->addRow(QStringLiteral("サイズ："), sizeRow);
    auto* colorRow = new QHBoxLayout;
    pnlColor = new QFrame(view);
    pnlColor->setObjectName(QStringLiteral("pnlColor"));
    pnlColor->setFrameShape(QFrame::Panel);
    pnlColor->setFrameShadow(QFrame::Sunken);
    pnlColor->setFixedSize(edSize->sizeHint().height() * 2, edSize->sizeHint().height());
    pnlColor->setAutoFillBackground(true);
    bbtnColor = new QPushButton(QStringLiteral("色："), view);
    bbtnColor->setObjectName(QStringLiteral("bbtnColor"));
    bbtnColor->setIcon(ButtonPicture(QStringLiteral("COLORSET")));
    bbtnColor->setAutoDefault(false);
    connect(bbtnColor, &QPushButton::clicked, this, &TQRCodeSettingDialog::bbtnColorClick);
    colorRow->addWidget(bbtnColor);
    colorRow->addWidget(pnlColor);
    colorRow->addStretch();
    viewLayout->addRow(colorRow);
    top->addWidget(view);

    auto* contents = new QGroupBox(QStringLiteral("内容"), this);
    auto* contentsLayout = new QVBoxLayout(contents);
    pgcContents = new QStackedWidget(contents);
    pgcContents->setObjectName(QStringLiteral("pgcContents"));
    contentsLayout->addWidget(pgcContents);

    tbsText = new QWidget(pgcContents);
    tbsText->setObjectName(QStringLiteral("tbsText"));
    auto* textLayout = new QGridLayout(tbsText);
    memText = new QPlainTextEdit(tbsText);
    memText->setObjectName(QStringLiteral("memText"));
    memText->setTabChangesFocus(true);
    bbtnTelHeader = new QPushButton(QStringLiteral("「TEL:」を付加"), tbsText);
    bbtnTelHeader->setObjectName(QStringLiteral("bbtnTelHeader"));
    bbtnURLHeader = new QPushButton(QStringLiteral("「http://」を付加"), tbsText);
    bbtnURLHeader->setObjectName(QStringLiteral("bbtnURLHeader"));
    const std::pair<QPushButton*, QString> headers[] = {{bbtnTelHeader, QStringLiteral("TEL:")},
                                                        {bbtnURLHeader, QStringLiteral("http://")}};
    for (const auto& header : headers) {
        header.first->setAutoDefault(false);
        connect(header.first, &QPushButton::clicked, this,
                [this, text = header.second] { bbtnAddHeaderClick(text); });
    }
    textLayout->addWidget(new QLabel(QStringLiteral("文章："), tbsText), 0, 0, Qt::AlignTop);
    textLayout->addWidget(memText, 0, 1, 1, 3);
    textLayout->addWidget(bbtnTelHeader, 1, 1);
    textLayout->addWidget(bbtnURLHeader, 1, 2);
    textLayout->setColumnStretch(3, 1);
    pgcContents->addWidget(tbsText);

    tbsAddress = new QWidget(pgcContents);
    tbsAddress->setObjectName(QStringLiteral("tbsAddress"));
    auto* addressLayout = new QGridLayout(tbsAddress);
    edName = new TTntNMDEdit(tbsAddress);
    edName->setObjectName(QStringLiteral("edName"));
    edName->setMaxLength(15);
    edName->setProperty("tag", NameTag);
    edName->OnConvertNeed = [this](QWidget*, TNameDicKind kind, bool show, const QString& value) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        TTntNameDic::ConvertNeed(this, edName, NameTag, kind, show, value, Qt::blue, ProgramFolder);
        QApplication::restoreOverrideCursor();
    };
    edName->OnConvertKeyDown = [](QWidget*, int& key, bool& result) {
        result = TTntNameDic::ConvertKeyDown(key);
    };
    edKana = lineEdit("edKana", 30, tbsAddress);
    edTel1 = lineEdit("edTel1", 13, tbsAddress);
    edTel2 = lineEdit("edTel2", 13, tbsAddress);
    edMail1 = lineEdit("edMail1", 128, tbsAddress);
    edMail2 = lineEdit("edMail2", 128, tbsAddress);
    for (QLineEdit* edit : {edTel1, edTel2, edMail1, edMail2})
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edMemo = lineEdit("edMemo", 200, tbsAddress);
    btnSender = new QPushButton(QStringLiteral("差出人から取得"), tbsAddress);
    btnSender->setObjectName(QStringLiteral("btnSender"));
    btnSender->setAutoDefault(false);
    connect(btnSender, &QPushButton::clicked, this,
            [this] { LoadFromSender(cbxSender->currentIndex() + 1); });
    cbxSender = new QComboBox(tbsAddress);
    cbxSender->setObjectName(QStringLiteral("cbxSender"));
    const std::pair<const char*, QWidget*> addressRows[] = {
        {"名前：", edName},    {"カナ：", edKana},    {"TEL：", edTel1}, {"TEL：", edTel2},
        {"E-Mail：", edMail1}, {"E-Mail：", edMail2}, {"メモ：", edMemo}};
    int row = 0;
    for (const auto& [caption, edit] : addressRows) {
        addressLayout->addWidget(new QLabel(QString::fromUtf8(caption), tbsAddress), row, 0);
        addressLayout->addWidget(edit, row++, 1, 1, 2);
    }
    addressLayout->addWidget(btnSender, row, 1);
    addressLayout->addWidget(cbxSender, row, 2);
    addressLayout->setColumnStretch(2, 1);
    pgcContents->addWidget(tbsAddress);

    tbsMail = new QWidget(pgcContents);
    tbsMail->setObjectName(QStringLiteral("tbsMail"));
    auto* mailLayout = new QFormLayout(tbsMail);
    edMailTo = lineEdit("edMailTo", 128, tbsMail);
    edMailTo->setAttribute(Qt::WA_InputMethodEnabled, false);
    edSubject = lineEdit("edSubject", 100, tbsMail);
    edBody = lineEdit("edBody", 200, tbsMail);
    mailLayout->addRow(QStringLiteral("宛先："), edMailTo);
    mailLayout->addRow(QStringLiteral("件名："), edSubject);
    mailLayout->addRow(QStringLiteral("本文："), edBody);
    pgcContents->addWidget(tbsMail);
    root->addWidget(contents);

    auto* previewRow = new QHBoxLayout;
    sbxPreview = new TLimitedScrollBox(this);
    sbxPreview->setObjectName(QStringLiteral("sbxPreview"));
    sbxPreview->setAlignment(Qt::AlignCenter);
    sbxPreview->setWidgetResizable(false);
    QPalette white = sbxPreview->palette();
    white.setColor(QPalette::Window, Qt::white);
    sbxPreview->setPalette(white);
    sbxPreview->setBackgroundRole(QPalette::Window);
    pbxPreview = new TPaintPanel;
    pbxPreview->setObjectName(QStringLiteral("pbxPreview"));
    pbxPreview->SetBevelOuter(bvNone);
    pbxPreview->SetColor(Qt::white);
    pbxPreview->OnPaint = [this](TPaintPanel*, QPainter* painter, const QRect&) {
        m_copy->Draw(*painter, -m_copy->GetScreenRect().left, -m_copy->GetScreenRect().top);
    };
    sbxPreview->setWidget(pbxPreview);
    previewRow->addWidget(sbxPreview, 1);

    auto* buttons = new QVBoxLayout;
    btnRefresh = new QPushButton(QStringLiteral("更新"), this);
    btnRefresh->setObjectName(QStringLiteral("btnRefresh"));
    btnRefresh->setAutoDefault(false);
    connect(btnRefresh, &QPushButton::clicked, this, &TQRCodeSettingDialog::btnRefreshClick);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &TQRCodeSettingDialog::btnOKClick);
    btnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* grip = new QSizeGrip(this);
    grip->setObjectName(QStringLiteral("pnlGrip"));
    buttons->addWidget(btnRefresh);
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    buttons->addWidget(grip, 0, Qt::AlignRight | Qt::AlignBottom);
    previewRow->addLayout(buttons);
    root->addLayout(previewRow, 1);

    auto* enter = new TEnterMovesFocus(this);
    for (QWidget* w : std::initializer_list<QWidget*>{rbText, rbAddress, rbMail, rbDocomo, rbSoftBank, edName,
                                                      edKana, edTel1, edTel2, edMail1, edMail2, edMemo,
                                                      cbxSender, edMailTo, edSubject, edBody})
        enter->addNext(w);
    enter->addTarget(edSize, btnOK);
}

// ---- settings ----

void TQRCodeSettingDialog::LoadSettings()
{
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    const int width = ini.ReadInteger(DesignSection, QStringLiteral("QRWidth"), UnsetSize);
    const int height = ini.ReadInteger(DesignSection, QStringLiteral("QRHeight"), UnsetSize);
    if (width != UnsetSize && height != UnsetSize)
        resize(ScaleByDpi(qMax(width, MinWidth), 1), ScaleByDpi(qMax(height, MinHeight), 1));
}

void TQRCodeSettingDialog::SaveSettings() const
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    const QRect bounds = isMaximized() ? normalGeometry() : geometry();
    ini.WriteInteger(DesignSection, QStringLiteral("QRWidth"), ScaleByDpi(bounds.width(), 0));
    ini.WriteInteger(DesignSection, QStringLiteral("QRHeight"), ScaleByDpi(bounds.height(), 0));
    ini.UpdateFile();
}

void TQRCodeSettingDialog::FillSenderList()
{
    cbxSender->clear();
    if (DMQuenrid215 && DMQuenrid215->OpenSender()) {
        try {
            Table* sender = DMQuenrid215->SenderTable();
            sender->setIndexName(QString());
            const int title = sender->fieldIndex(QStringLiteral("Title"));
            for (sender->first(); !sender->eof(); sender->next())
                cbxSender->addItem(ToWide(sender->field(title).asAnsi()));
        } catch (...) {
            DMQuenrid215->CloseSender();
            throw;
        }
        DMQuenrid215->CloseSender();
    }
    // Without senders (or without a table that opens) the list says so.
    const bool any = cbxSender->count() > 0;
    if (!any)
        cbxSender->addItem(QStringLiteral("なし"));
    btnSender->setEnabled(any);
    cbxSender->setCurrentIndex(0);
}

// ---- filling and applying ----

void TQRCodeSettingDialog::SetQRCode(const TQRCodeRect& frame)
{
    m_copy->Assign(frame);
    m_copy->SetZoom(1.0);
    m_copy->SetExplicitRect();
    m_copy->SetDesignRect({0, 0, 0, 0});
}

void TQRCodeSettingDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    ShowQRCode();
    m_copy->UpdateImage(false);
    layoutPreview();
}

void TQRCodeSettingDialog::ShowQRCode()
{
    const quint8 kind = m_copy->ContentKind();
    (kind == QRFreeText ? rbText : kind <= QRPhoneBook ? rbAddress : rbMail)->setChecked(true);
    (kind == QRPhoneBook || kind == QRMailLink ? rbSoftBank : rbDocomo)->setChecked(true);
    rbKindClick();
    memText->setPlainText(ToWide(m_copy->Text()));
    edName->setText(ToWide(m_copy->Name()));
    edKana->setText(ToWide(m_copy->NameReading()));
    edTel1->setText(ToWide(m_copy->GetTel(0)));
    edTel2->setText(ToWide(m_copy->GetTel(1)));
    edMail1->setText(ToWide(m_copy->GetMail(0)));
    edMail2->setText(ToWide(m_copy->GetMail(1)));
    edMemo->setText(ToWide(m_copy->Memo()));
    edMailTo->setText(ToWide(m_copy->MailTo()));
    edSubject->setText(ToWide(m_copy->Subject()));
    edBody->setText(ToWide(m_copy->Body()));
    udSize->setValue(qBound(MinModuleSize, int(m_copy->ModuleSize()), MaxModuleSize));
    edSize->setText(QString::number(udSize->value()));
    m_color = qint32(m_copy->ForeColor());
    showColor();
}

void TQRCodeSettingDialog::recolourRadios()
{
    for (QRadioButton* r : {rbText, rbAddress, rbMail, rbDocomo, rbSoftBank}) {
        QPalette p = r->palette();
        p.setColor(QPalette::WindowText,
                   r->isChecked() ? QColor(Qt::blue) : palette().color(QPalette::WindowText));
        r->setPalette(p);
    }
}

void TQRCodeSettingDialog::rbKindClick()
{
    recolourRadios();
    SetHelpContext(this, rbMail->isChecked() ? QRSettingHelpMail : QRSettingHelpText);
    const bool carriers = !rbText->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{rbDocomo, rbSoftBank, lblCarrierNote})
        w->setEnabled(carriers);
    pgcContents->setCurrentWidget(rbText->isChecked()      ? tbsText
                                  : rbAddress->isChecked() ? tbsAddress
                                                           : tbsMail);
}

void TQRCodeSettingDialog::bbtnAddHeaderClick(const QString& header)
{
    memText->textCursor().insertText(header);
    memText->setFocus();
}

void TQRCodeSettingDialog::LoadFromSender(int recNo)
{
    if (!DMQuenrid215 || !DMQuenrid215->OpenSender())
        return;
    try {
        Table* sender = DMQuenrid215->SenderTable();
        sender->setIndexName(QString());
        sender->first();
        for (int i = 1; i < recNo && !sender->eof(); ++i)
            sender->next();
        if (!sender->eof() && recNo >= 1) {
            const auto text = [sender](const QString& name) { return sender->fieldByName(name).asAnsi(); };
            edName->setText(HexTextToWide(text(QStringLiteral("Name"))));
            edKana->clear();
            edTel1->setText(ToWide(text(QStringLiteral("Tel"))));
            std::array<AnsiString, 2> mobiles, mails;
            const auto fillFree = [](std::array<AnsiString, 2>& pair, const AnsiString& value) {
                for (AnsiString& slot : pair)
                    if (slot.isEmpty()) {
                        slot = value;
                        return;
                    }
            };
            for (int i = 1; i <= 4; ++i) {
                const AnsiString head = TrimAnsiText(text(QStringLiteral("Head%1").arg(i)));
                const AnsiString addition = text(QStringLiteral("Addition%1").arg(i));
                if (ToWide(head).compare(QStringLiteral("携帯"), Qt::CaseInsensitive) == 0)
                    fillFree(mobiles, KeepNumberChars(addition, KeepDigits));
                else if (ToWide(head).compare(QStringLiteral("E-Mail"), Qt::CaseInsensitive) == 0)
                    fillFree(mails, addition);
            }
            if (edTel1->text().isEmpty()) {
                edTel1->setText(ToWide(mobiles[0]));
                edTel2->setText(ToWide(mobiles[1]));
            } else {
                edTel2->setText(ToWide(mobiles[0]));
            }
            edMail1->setText(ToWide(mails[0]));
            edMail2->setText(ToWide(mails[1]));
        }
    } catch (...) {
        DMQuenrid215->CloseSender();
        throw;
    }
    DMQuenrid215->CloseSender();
}

void TQRCodeSettingDialog::edSizeExit()
{
    bool ok = false;
    const int value = edSize->text().trimmed().toInt(&ok);
    if (ok && value >= 0)
        udSize->setValue(qBound(MinModuleSize, value, MaxModuleSize));
    edSize->setText(QString::number(udSize->value()));
}

void TQRCodeSettingDialog::stepSize(int delta)
{
    udSize->setValue(qBound(MinModuleSize, udSize->value() + delta, MaxModuleSize));
    edSize->setText(QString::number(udSize->value()));
}

bool TQRCodeSettingDialog::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == edSize) {
        if (e->type() == QEvent::FocusOut) {
            edSizeExit();
        } else if (e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            const int delta = key == Qt::Key_PageUp     ? 10
                              : key == Qt::Key_PageDown ? -10
                              : key == Qt::Key_Up       ? 1
                              : key == Qt::Key_Down     ? -1
                                                        : 0;
            if (delta != 0) {
                stepSize(delta);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, e);
}

void TQRCodeSettingDialog::bbtnColorClick()
{
    qint32 color = m_color;
    if (ExecuteColorDialog(this, color)) {
        m_color = color;
        showColor();
    }
}

void TQRCodeSettingDialog::showColor()
{
    QPalette p = pnlColor->palette();
    p.setColor(QPalette::Window, ColorRefToQColor(quint32(m_color)));
    pnlColor->setPalette(p);
}

void TQRCodeSettingDialog::btnRefreshClick()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // A size typed but not yet left counts.
    edSizeExit();
    const bool docomo = rbDocomo->isChecked();
    m_copy->SetContentKind(rbText->isChecked()      ? QRFreeText
                           : rbAddress->isChecked() ? (docomo ? QRContactCard : QRPhoneBook)
                                                    : (docomo ? QRMailMessage : QRMailLink));
    m_copy->SetModuleSize(udSize->value());
    m_copy->SetForeColor(quint32(m_color));
    m_copy->SetText(ToAnsi(memText->toPlainText()));
    m_copy->SetName(ToAnsi(edName->text()));
    m_copy->SetNameReading(ToAnsi(edKana->text()));
    // Filled edits fill the first slots; an emptied edit empties its value.
    const auto tels = packed(KeepNumberChars(ToAnsi(edTel1->text()), KeepDigits),
                             KeepNumberChars(ToAnsi(edTel2->text()), KeepDigits));
    const auto mails = packed(ToAnsi(edMail1->text()), ToAnsi(edMail2->text()));
    for (int i = 0; i < 2; ++i) {
        m_copy->SetTel(i, tels[size_t(i)]);
        m_copy->SetMail(i, mails[size_t(i)]);
    }
    m_copy->SetMemo(ToAnsi(edMemo->text()));
    m_copy->SetMailTo(ToAnsi(edMailTo->text()));
    m_copy->SetSubject(ToAnsi(edSubject->text()));
    m_copy->SetBody(ToAnsi(edBody->text()));
    m_copy->UpdateImage(false);
    const TRect r = m_copy->GetDesignRect();
    m_copy->SetDesignRect({0, 0, r.Width(), r.Height()});
    layoutPreview();
    QApplication::restoreOverrideCursor();
}

void TQRCodeSettingDialog::btnOKClick()
{
    btnRefreshClick();
    accept();
}

void TQRCodeSettingDialog::layoutPreview()
{
    const TRect r = m_copy->GetDesignRect();
    pbxPreview->setFixedSize(qMax(0, r.Width()), qMax(0, r.Height()));
    pbxPreview->update();
}

// ---- the name-reading popup ----

bool TQRCodeSettingDialog::event(QEvent* e)
{
    if (e->type() == MsgNameChosen) {
        const QPointer<TTntNameDic> popup = NameDicPopup;
        if (popup && popup->parentWidget() == this) {
            const QString word = popup->ChosenWord();
            const QString reading = popup->Reading();
            const TNameDicKind kind = popup->NameKind();
            edName->InsertWordAndReading(word, reading, kind);
            if (popup)
                popup->close();
            edName->setFocus();
        }
        return true;
    }
    return QDialog::event(e);
}

void TQRCodeSettingDialog::moveEvent(QMoveEvent* e)
{
    QDialog::moveEvent(e);
    if (NameDicPopup && NameDicPopup->parentWidget() == this)
        NameDicPopup->PlaceUnder(edName);
}
