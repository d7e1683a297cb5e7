// The sender records editor: one record of "Sender.DB" at a time, saved on leaving it.
#include "layoutobjects/SenderForm.h"

#include "addressbook/CardServices.h"
#include "addressbook/InputLst.h"
#include "addressbook/KeywdEdt.h"
#include "addressbook/TntNMDic.h"
#include "core/AppSub.h"
#include "core/ButtonPictures.h"
#include "core/DBInfo.h"
#include "core/DialogSub.h"
#include "core/Dlhyp.h"
#include "core/HisInfo.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "core/TntNMDEdit.h"
#include "core/WindowPlace.h"
#include "platform/IniFile.h"
#include "platform/TableEngine.h"
#include "search/DicSch.h"
#include "search/DicWrapper.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QValidator>
#include <QVBoxLayout>

#include <limits>
#include <set>

qint32 DefaultSenderNo = 0;

namespace {

const QString SenderSection = QStringLiteral("SENDER");
const QString InfoTitleEmpty = QStringLiteral("登録名を入力してください  ");
const QString InfoTitleTaken = QStringLiteral("おなじ登録名が存在します．別の登録名を入力してください  ");
const QString StopSaveFailed = QStringLiteral("保存できませんでした  ");
const QString StopCreateFailed = QStringLiteral("差出人情報の作成に失敗しました  ");
const QString StopClearFailed = QStringLiteral("クリアできませんでした  ");
const QString StopDeleteFailed = QStringLiteral("削除できませんでした  ");

enum { HeadTel = 1, HeadFax = 2, HeadTelFax = 3 };

// The heading item a contact combo shows; -1 for a text of the user's own.
int HeadItem(const QComboBox* combo)
{
    return TSenderForm::HeadItems.indexOf(combo->currentText());
}

QString SenderIniPath()
{
    return DataFolder + QStringLiteral("Sender.ini");
}

QString Numbered(const char* name, int i)
{
    return QLatin1String(name) + QString::number(i);
}

AnsiString Trimmed(const QString& text)
{
    return ToAnsi(TrimBlanks(text));
}

AnsiString Digits(const QString& text, int flags = KeepDigits)
{
    return KeepNumberChars(ToAnsi(text), flags);
}

// A postal code shows a hyphen after its third digit when it has 5 or 7.
QString ShowPos(const AnsiString& digits)
{
    QString text = ToWide(digits);
    if (text.size() == 5 || text.size() == 7)
        text.insert(3, QLatin1Char('-'));
    return text;
}

// Keeps the digits of a number edit within the bytes of its field, so that no save fails for length.
class TDigitLimit : public QValidator
{
public:
    TDigitLimit(int maxDigits, QObject* parent) : QValidator(parent), m_maxDigits(maxDigits) {}
    State validate(QString& input, int&) const override
    {
        return Digits(input).size() <= m_maxDigits ? Acceptable : Invalid;
    }

private:
    int m_maxDigits;
};

// The dictionary lookup dialog of the directory search.
class TDicSearchLookup : public TSenderLookup
{
public:
    explicit TDicSearchLookup(QWidget* owner) : m_dialog(owner)
    {
        CenterForm(&m_dialog, owner);
        m_dialog.Configure(TDicSearch::dsTelWithDirectory | TDicSearch::dsPostal | TDicSearch::dsAddress, false,
                           false);
        m_dialog.SetListHelpContext(35);
    }
    int StartSearch(int kind, const QString& text) override { return m_dialog.StartSearch(kind, text); }
    bool Exec() override { return m_dialog.exec() == QDialog::Accepted; }
    TDicResultRec GetResult() const override { return m_dialog.GetResult(); }

private:
    TDicSearch m_dialog;
};

TSenderLookupFactory& LookupFactory()
{
    static TSenderLookupFactory factory;
    return factory;
}

// Enter moves on to the next control of the tab order that is not a bitmap button.
QWidget* NextDataControl(QWidget* from)
{
    QWidget* next = TEnterMovesFocus::nextInTabOrder(from);
    for (int guard = 0; next && next != from && guard < 200; ++guard) {
        if (!next->objectName().startsWith(QLatin1String("bbtn")))
            return next;
        next = TEnterMovesFocus::nextInTabOrder(next);
    }
    return next;
}

} // namespace

void SetSenderLookupFactory(TSenderLookupFactory factory)
{
    LookupFactory() = std::move(factory);
}

const QStringList TSenderForm::HeadItems = {QString(),           QStringLiteral("TEL"), QStringLiteral("FAX"),
                                            QStringLiteral("TEL/FAX"), QStringLiteral("携帯"), QStringLiteral("URL"),
                                            QStringLiteral("E-Mail")};

bool ExecuteSenderForm(QWidget* owner, qint32& senderNo)
{
    if (!DMQuenrid215 || !DMQuenrid215->OpenSender())
        return false;
    bool chosen = false;
    {
        TSenderForm form(owner);
        form.SenderNo = senderNo;
        chosen = form.exec() == QDialog::Accepted;
        if (chosen)
            senderNo = form.SenderNo;
    }
    DMQuenrid215->CloseSender();
    return chosen;
}

// ---------------------------------------------------------------------------------------------------------
// Building

TSenderForm::TSenderForm(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("SenderForm"));
    setWindowTitle(QStringLiteral("差出人の編集"));
    m_table = DMQuenrid215 ? DMQuenrid215->SenderTable() : nullptr;
    BuildControls();
    FormCreate();
}

TSenderForm::~TSenderForm()
{
    // Hiding the dialog moves the focus: no handler may run on a half-destroyed form.
    edTitle->removeEventFilter(this);
    for (int tag = 0; tag <= 5; ++tag) {
        TTntNMDEdit* edit = NameEditByTag(tag);
        edit->removeEventFilter(this);
        edit->OnConvertNeed = nullptr;
        edit->OnConvertKeyDown = nullptr;
    }
    if (NameDicPopup && NameDicPopup->parentWidget() == this)
        delete NameDicPopup.data();
}

void TSenderForm::BuildControls()
{
    auto* enter = new TEnterMovesFocus(this);
    const auto edit = [&](const char* name, int maxLength) {
        auto* e = Named<QLineEdit>(this, name);
        if (maxLength > 0)
            e->setMaxLength(maxLength);
        return e;
    };
    const auto bytes = [&](const char* name, int maxBytes) {
        QLineEdit* e = edit(name, 0);
        LimitAnsiBytes(e, maxBytes);
        return e;
    };
    const auto toolButton = [&](const char* name, const QString& text, const char* picture) {
        auto* b = Named<QToolButton>(this, name);
        b->setText(text);
        if (picture)
            SetButtonPicture(b, QLatin1String(picture));
        b->setToolButtonStyle(text.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
        b->setAutoRaise(QByteArray(name).startsWith("sbtn"));
        return b;
    };
    const auto printToggle = [&](const QString& name, const QString& text) {
        auto* b = toolButton(name.toLatin1().constData(), text, "NOPRINT");
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    const auto label = [&](const QString& text) { return new QLabel(text, this); };

    edTitle = bytes("edTitle", 30);
    ckbDefault = Named<QCheckBox>(this, "ckbDefault", QStringLiteral("この差出人を標準にする"));
    edName = new TTntNMDEdit(this);
    edName->setObjectName(QStringLiteral("edName"));
    edName->setMaxLength(15);
    edPos = edit("edPos", 8);
    edPos->setValidator(new TDigitLimit(7, edPos));
    edTdfkn = bytes("edTdfkn", 8);
    edAdrs1 = bytes("edAdrs1", 32);
    edAdrs2 = bytes("edAdrs2", 100);
    edAdrs3 = bytes("edAdrs3", 100);
    edTel = edit("edTel", 13);
    edTel->setValidator(new TDigitLimit(11, edTel));
    edFax = edit("edFax", 13);
    edFax->setValidator(new TDigitLimit(11, edFax));
    for (QLineEdit* e : {edPos, edTel, edFax})
        SetImeMode(e, imClose);

    sbtnPrint[0] = printToggle(QStringLiteral("sbtnNamePrint"), QStringLiteral("本"));
    bbtnSearch[0] = toolButton("bbtnTelSch", QString(), "TELSCH");
    bbtnSearch[1] = toolButton("bbtnPosSch", QString(), "POSSCH");
    bbtnSearch[2] = toolButton("bbtnAdrsSch", QString(), "ADRSSCH");

    sbtnFirst = toolButton("sbtnFirst", QString(), "LEFTEND");
    sbtnPrior = toolButton("sbtnPrior", QString(), "LEFT");
    sbtnNext = toolButton("sbtnNext", QString(), "RIGHT");
    sbtnLast = toolButton("sbtnLast", QString(), "RIGHTEND");
    sbtnFirst->setToolTip(QStringLiteral("先頭のデータ"));
    sbtnPrior->setToolTip(QStringLiteral("前のデータ"));
    sbtnNext->setToolTip(QStringLiteral("次のデータ"));
    sbtnLast->setToolTip(QStringLiteral("最後のデータ"));
    lblRecord = Named<QLabel>(this, "lblRecord");
    lblCount = Named<QLabel>(this, "lblCount");

    auto* top = new QGridLayout;
    top->addWidget(label(QStringLiteral("登録名")), 0, 0);
    top->addWidget(edTitle, 0, 1, 1, 2);
    top->addWidget(ckbDefault, 0, 3, 1, 2);
    auto* nav = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{sbtnFirst, sbtnPrior, lblRecord, lblCount, sbtnNext, sbtnLast})
        nav->addWidget(w);
    nav->addStretch();
    top->addLayout(nav, 1, 1, 1, 4);
    top->addWidget(label(QStringLiteral("氏名")), 2, 0);
    top->addWidget(edName, 2, 1, 1, 2);
    top->addWidget(sbtnPrint[0], 2, 3);
    top->addWidget(label(QStringLiteral("郵便番号")), 3, 0);
    top->addWidget(edPos, 3, 1);
    top->addWidget(bbtnSearch[1], 3, 2, Qt::AlignLeft);
    top->addWidget(label(QStringLiteral("都道府県")), 4, 0);
    top->addWidget(edTdfkn, 4, 1);
    top->addWidget(label(QStringLiteral("住所１")), 5, 0);
    top->addWidget(edAdrs1, 5, 1, 1, 3);
    top->addWidget(label(QStringLiteral("住所２")), 6, 0);
    top->addWidget(edAdrs2, 6, 1, 1, 3);
    top->addWidget(bbtnSearch[2], 6, 4);
    top->addWidget(label(QStringLiteral("住所３")), 7, 0);
    top->addWidget(edAdrs3, 7, 1, 1, 3);
    top->addWidget(label(QStringLiteral("電話番号")), 8, 0);
    top->addWidget(edTel, 8, 1);
    top->addWidget(bbtnSearch[0], 8, 2, Qt::AlignLeft);
    top->addWidget(label(QStringLiteral("FAX番号")), 9, 0);
    top->addWidget(edFax, 9, 1);
    top->setColumnStretch(3, 1);

    pgctlSender = Named<QTabWidget>(this, "pgctlSender");
    tbsJoint = Named<QWidget>(pgctlSender, "tbsJoint");
    tbsCorp = Named<QWidget>(pgctlSender, "tbsCorp");
    tbsContact = Named<QWidget>(pgctlSender, "tbsContact");
    pgctlSender->addTab(tbsJoint, QStringLiteral("連名"));
    pgctlSender->addTab(tbsCorp, QStringLiteral("会社"));
    pgctlSender->addTab(tbsContact, QStringLiteral("連絡先"));

    ckbHome = Named<QCheckBox>(tbsJoint, "ckbHome", QStringLiteral("連名を印刷する"));
    auto* joint = new QGridLayout(tbsJoint);
    joint->addWidget(ckbHome, 0, 0, 1, 4);
    joint->addWidget(label(QStringLiteral("連名")), 1, 1);
    joint->addWidget(label(QStringLiteral("敬称・肩書")), 1, 2);
    for (int i = 0; i < 5; ++i) {
        edJoint[size_t(i)] = new TTntNMDEdit(tbsJoint);
        edJoint[size_t(i)]->setObjectName(Numbered("edJoint", i + 1));
        edJoint[size_t(i)]->setMaxLength(11);
        edNote[size_t(i)] = bytes(Numbered("edNote", i + 1).toLatin1().constData(), 20);
        sbtnPrint[size_t(i + 1)] = printToggle(Numbered("sbtnJointPrint", i + 1), QString::number(i + 1));
        joint->addWidget(label(QString::number(i + 1)), i + 2, 0);
        joint->addWidget(edJoint[size_t(i)], i + 2, 1);
        joint->addWidget(edNote[size_t(i)], i + 2, 2);
        joint->addWidget(sbtnPrint[size_t(i + 1)], i + 2, 3);
    }

    ckbCorp = Named<QCheckBox>(tbsCorp, "ckbCorp", QStringLiteral("会社情報を印刷する"));
    edCorp = bytes("edCorp", 100);
    const auto historyCombo = [&](const char* name, int maxBytes) {
        auto* c = Named<QComboBox>(tbsCorp, name);
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        LimitAnsiBytes(c->lineEdit(), maxBytes);
        return c;
    };
    cbxDptmnt = historyCombo("cbxDptmnt", 100);
    cbxPost = historyCombo("cbxPost", 50);
    bbtnEditList[0] = toolButton("bbtnEditDptmnt", QString(), "LISTEDIT");
    bbtnEditList[1] = toolButton("bbtnEditPost", QString(), "LISTEDIT");
    for (QToolButton* b : bbtnEditList)
        b->setToolTip(QStringLiteral("リストの編集"));
    auto* corp = new QGridLayout(tbsCorp);
    corp->addWidget(ckbCorp, 0, 0, 1, 3);
    corp->addWidget(label(QStringLiteral("会社名")), 1, 0);
    corp->addWidget(edCorp, 1, 1);
    corp->addWidget(label(QStringLiteral("部署名")), 2, 0);
    corp->addWidget(cbxDptmnt, 2, 1);
    corp->addWidget(bbtnEditList[0], 2, 2);
    corp->addWidget(label(QStringLiteral("役職名")), 3, 0);
    corp->addWidget(cbxPost, 3, 1);
    corp->addWidget(bbtnEditList[1], 3, 2);
    corp->setColumnStretch(1, 1);
    corp->setRowStretch(4, 1);

    auto* contact = new QGridLayout(tbsContact);
    for (int i = 0; i < 4; ++i) {
        auto* head = Named<QComboBox>(tbsContact, Numbered("cbxHead", i + 1).toLatin1().constData());
        head->setEditable(true);
        head->setInsertPolicy(QComboBox::NoInsert);
        LimitAnsiBytes(head->lineEdit(), 10);
        head->setProperty("tag", i);
        cbxHead[size_t(i)] = head;
        edAddition[size_t(i)] = bytes(Numbered("edAddition", i + 1).toLatin1().constData(), 128);
        sbtnAdditionPrint[size_t(i)] =
            printToggle(Numbered("sbtnAdditionPrint", i + 1), QString::number(i + 1));
        contact->addWidget(head, i, 0);
        contact->addWidget(edAddition[size_t(i)], i, 1);
        contact->addWidget(sbtnAdditionPrint[size_t(i)], i, 2);
    }
    contact->setColumnStretch(1, 1);
    contact->setRowStretch(4, 1);

    bbtnNew = toolButton("bbtnNew", QStringLiteral("新規"), "NEWADD");
    bbtnDelete = toolButton("bbtnDelete", QStringLiteral("削除"), "DELETE");
    btnChoice = MakeButton(this, "btnChoice", QStringLiteral("選択"));
    btnClose = MakeButton(this, "btnClose", QStringLiteral("閉じる"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(bbtnNew);
    buttons->addWidget(bbtnDelete);
    buttons->addStretch();
    buttons->addWidget(btnChoice);
    buttons->addWidget(btnClose);

    auto* v = new QVBoxLayout(this);
    v->addLayout(top);
    v->addWidget(pgctlSender);
    v->addLayout(buttons);

    // Handlers.
    connect(edTitle, &QLineEdit::textChanged, this, [this] {
        if (m_loading)
            return;
        m_modified = true;
        m_titleChanged = true;
    });
    edTitle->installEventFilter(this);
    QList<QLineEdit*> dataEdits = {edName, edPos, edTdfkn, edAdrs1, edAdrs2, edAdrs3, edTel, edFax, edCorp};
    for (int i = 0; i < 5; ++i)
        dataEdits << edJoint[size_t(i)] << edNote[size_t(i)];
    for (QLineEdit* e : edAddition)
        dataEdits << e;
    for (QLineEdit* e : dataEdits)
        connect(e, &QLineEdit::textChanged, this, [this, e] { DataChange(e); });
    for (QComboBox* c : {cbxDptmnt, cbxPost})
        connect(c, &QComboBox::editTextChanged, this, [this, c] { DataChange(c); });
    for (int i = 0; i < 4; ++i) {
        connect(cbxHead[size_t(i)], &QComboBox::activated, this, [this, i] { cbxHeadClick(i); });
        connect(cbxHead[size_t(i)], &QComboBox::editTextChanged, this,
                [this, i] { DataChange(cbxHead[size_t(i)]); });
        connect(sbtnAdditionPrint[size_t(i)], &QToolButton::clicked, this, [this, i] { sbtnAdditionPrintClick(i); });
    }
    for (QToolButton* b : sbtnPrint)
        connect(b, &QToolButton::clicked, this, [this, b] {
            if (m_loading)
                return;
            m_modified = true;
            SetPrintGlyph(b);
        });
    connect(ckbDefault, &QCheckBox::clicked, this, [this] { ckbDefaultClick(); });
    PaintCheckedBlue(ckbDefault);
    for (QCheckBox* box : {ckbHome, ckbCorp}) {
        PaintCheckedBlue(box);
        connect(box, &QCheckBox::toggled, this, [this, box] { ckbSelInfoClick(box); });
    }
    for (int tag = 0; tag < 3; ++tag)
        connect(bbtnSearch[size_t(tag)], &QToolButton::clicked, this, [this, tag] { bbtnSearchClick(tag); });
    for (int tag = 0; tag < 2; ++tag)
        connect(bbtnEditList[size_t(tag)], &QToolButton::clicked, this, [this, tag] { bbtnEditListClick(tag); });
    connect(sbtnFirst, &QToolButton::clicked, this, [this] { sbtnMoveClick(0); });
    connect(sbtnPrior, &QToolButton::clicked, this, [this] { sbtnMoveClick(1); });
    connect(sbtnNext, &QToolButton::clicked, this, [this] { sbtnMoveClick(2); });
    connect(sbtnLast, &QToolButton::clicked, this, [this] { sbtnMoveClick(3); });
    connect(bbtnNew, &QToolButton::clicked, this, [this] { bbtnNewClick(); });
    connect(bbtnDelete, &QToolButton::clicked, this, [this] { bbtnDeleteClick(); });
    connect(btnChoice, &QPushButton::clicked, this, [this] { btnChoiceClick(); });
    connect(btnClose, &QPushButton::clicked, this, [this] { reject(); });

    for (int tag = 0; tag <= 5; ++tag) {
        TTntNMDEdit* e = NameEditByTag(tag);
        e->setProperty("tag", tag);
        e->OnConvertNeed = [this, tag](QWidget*, TNameDicKind kind, bool show, const QString& value) {
            NameConvertNeed(tag, kind, show, value);
        };
        e->OnConvertKeyDown = [](QWidget*, int& key, bool& result) { result = TTntNameDic::ConvertKeyDown(key); };
    }

    // The name edits move on from their own filter: during a composition Enter belongs to the input method
    // and the name-reading popup.
    for (int tag = 0; tag <= 5; ++tag)
        NameEditByTag(tag)->installEventFilter(this);
    QList<QWidget*> enterControls = {edTitle, edPos, edTdfkn, edAdrs1, edAdrs2, edAdrs3, edTel, edFax,
                                     edCorp, cbxDptmnt, cbxPost};
    for (int i = 0; i < 5; ++i)
        enterControls << edNote[size_t(i)];
    for (int i = 0; i < 4; ++i)
        enterControls << cbxHead[size_t(i)] << edAddition[size_t(i)];
    for (QWidget* w : enterControls)
        enter->addTarget(w, [w] { return NextDataControl(w); });
}

TTntNMDEdit* TSenderForm::NameEditByTag(int tag) const
{
    if (tag <= 0)
        return edName;
    return edJoint[size_t(std::min(tag, 5) - 1)];
}

void TSenderForm::SetPrintGlyph(QToolButton* button)
{
    SetButtonPicture(button, button->isChecked() ? QStringLiteral("PRINTER") : QStringLiteral("NOPRINT"));
}

// ---------------------------------------------------------------------------------------------------------
// Create, show, close

void TSenderForm::LoadSettings()
{
    PlaceFromSettings(this, TMemIniFile(DataRootFolder + MainSettingsFileName), SenderSection);
    const TMemIniFile ini(SenderIniPath());
    m_lastNo = ini.ReadInteger(SenderSection, QStringLiteral("LastNo"), 0);
    // Nothing else loads the default before the editor: it starts from the file.
    DefaultSenderNo = ini.ReadInteger(SenderSection, QStringLiteral("Default"), DefaultSenderNo);
}

void TSenderForm::SaveSettings()
{
    SaveWindowPosition(this, SenderSection);
    TMemIniFile ini(SenderIniPath());
    ini.WriteInteger(SenderSection, QStringLiteral("Default"), DefaultSenderNo);
    ini.WriteInteger(SenderSection, QStringLiteral("LastNo"), m_lastNo);
    QString error;
    if (!ini.UpdateFile(&error))
        MessageBoxPos(this, error, ProductTitle, MsgSeam::MbIconStop);
}

bool TSenderForm::AppendSender(qint32 recNo, const QString& title)
{
    try {
        m_table->append();
        m_table->fieldByName(QStringLiteral("RecNo")).setInteger(recNo);
        m_table->fieldByName(QStringLiteral("Title")).setString(title);
        m_table->fieldByName(QStringLiteral("NamePrint")).setBoolean(true);
        for (int i = 1; i <= 5; ++i)
            m_table->fieldByName(Numbered("JointPrint", i)).setBoolean(true);
        m_table->post();
        m_table->flushBuffers();
        LocateSender(recNo);
        return true;
    } catch (const std::exception&) {
        if (m_table->state() != TableState::Browse)
            m_table->cancel();
        MessageBoxPos(this, StopCreateFailed, ProductTitle, MsgSeam::MbIconStop);
        return false;
    }
}

void TSenderForm::FormCreate()
{
    LoadSettings();
    pgctlSender->setCurrentWidget(tbsJoint);
    for (QComboBox* head : cbxHead) {
        head->addItems(HeadItems);
        head->setCurrentIndex(0);
    }
    m_loading = m_modified = m_titleChanged = false;
    for (int i = 0; i < 6; ++i)
        sbtnPrint[size_t(i)]->setEnabled(false);
    if (!m_table || !m_table->active()) {
        // Without the table only closing is left.
        for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w != btnClose)
                w->setEnabled(false);
        return;
    }
    if (m_table->isEmpty()) {
        if (!AppendSender(1, QStringLiteral("差出人1")))
            return;
        m_lastNo = 1;
    } else {
        m_table->last();
        m_lastNo = std::max(m_lastNo, qint32(m_table->fieldByName(QStringLiteral("RecNo")).asInteger()));
    }
    if (DefaultSenderNo == 0) {
        m_table->first();
        DefaultSenderNo = qint32(m_table->fieldByName(QStringLiteral("RecNo")).asInteger());
    }
    ShowCount();
    FillHistoryCombo(cbxDptmnt, DMQuenrid215->DptmntHistory());
    FillHistoryCombo(cbxPost, DMQuenrid215->PostHistory());
}

void TSenderForm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TSenderForm::FormShow()
{
    if (!m_table || !m_table->active() || m_table->isEmpty())
        return;
    if (!LocateSender(SenderNo)) {
        if (!LocateSender(DefaultSenderNo)) {
            m_table->first();
            DefaultSenderNo = qint32(m_table->fieldByName(QStringLiteral("RecNo")).asInteger());
        }
        SenderNo = qint32(m_table->fieldByName(QStringLiteral("RecNo")).asInteger());
    }
    ShowRecord();
    // Not a tab reason: the name would come up selected.
    edName->setFocus(Qt::OtherFocusReason);
    edName->deselect();
    edName->setCursorPosition(int(edName->text().size()));
}

bool TSenderForm::LocateSender(qint32 recNo)
{
    return m_table->locate({QStringLiteral("RecNo")}, {recNo});
}

void TSenderForm::ShowCount()
{
    lblCount->setText(QStringLiteral("/ %1 件").arg(m_table->recordCount()));
}

bool TSenderForm::FormCloseQuery()
{
    if (!m_modified || !m_table || !m_table->active())
        return true;
    if (StopOnDuplicateTitle(true))
        return false;
    return SaveRecord();
}

void TSenderForm::done(int result)
{
    if (!FormCloseQuery())
        return;
    if (NameDicPopup && NameDicPopup->parentWidget() == this)
        NameDicPopup->close();
    SaveSettings();
    QDialog::done(result);
}

void TSenderForm::btnChoiceClick()
{
    if (!m_modified || SaveRecord())
        accept();
}

// ---------------------------------------------------------------------------------------------------------
// Showing and saving the record

void TSenderForm::ShowRecord()
{
    m_loading = true;
    Table& t = *m_table;
    const auto text = [&t](const QString& field) { return t.fieldByName(field).asString(); };
    const auto wide = [&t](const QString& field) {
        try {
            return HexTextToWide(t.fieldByName(field).asAnsi());
        } catch (const std::exception&) {
            return t.fieldByName(field).asString();
        }
    };
    const auto flag = [&t](const QString& field) { return t.fieldByName(field).asBoolean(); };
    const qint32 recNo = qint32(t.fieldByName(QStringLiteral("RecNo")).asInteger());
    ckbDefault->setChecked(recNo == DefaultSenderNo);
    edTitle->setText(text(QStringLiteral("Title")));
    edName->setText(wide(QStringLiteral("Name")));
    edTel->setText(ToWide(HyphenatePhoneText(t.fieldByName(QStringLiteral("Tel")).asAnsi())));
    edFax->setText(ToWide(HyphenatePhoneText(t.fieldByName(QStringLiteral("Fax")).asAnsi())));
    edPos->setText(ShowPos(t.fieldByName(QStringLiteral("Pos")).asAnsi()));
    edTdfkn->setText(text(QStringLiteral("Tdfkn")));
    edAdrs1->setText(text(QStringLiteral("Adrs1")));
    edAdrs2->setText(text(QStringLiteral("Adrs2")));
    edAdrs3->setText(text(QStringLiteral("Adrs3")));
    const qint64 selectInfo = t.fieldByName(QStringLiteral("SelectInfo")).asInteger();
    ckbHome->setChecked(selectInfo == 1);
    ckbCorp->setChecked(selectInfo == 2);
    if (pgctlSender->currentWidget() != tbsContact)
        pgctlSender->setCurrentWidget(selectInfo == 2 ? tbsCorp : tbsJoint);
    sbtnPrint[0]->setChecked(flag(QStringLiteral("NamePrint")));
    for (int i = 1; i <= 5; ++i) {
        edJoint[size_t(i - 1)]->setText(wide(Numbered("Joint", i)));
        edNote[size_t(i - 1)]->setText(text(Numbered("Note", i)));
        sbtnPrint[size_t(i)]->setChecked(flag(Numbered("JointPrint", i)));
    }
    for (QToolButton* b : sbtnPrint)
        SetPrintGlyph(b);
    edCorp->setText(text(QStringLiteral("Corp")));
    for (const auto& [combo, field] : {std::pair{cbxDptmnt, QStringLiteral("Dptmnt")},
                                       std::pair{cbxPost, QStringLiteral("Post")}}) {
        const QString value = text(field);
        const int index = combo->findText(value);
        combo->setCurrentIndex(index);
        if (index < 0)
            combo->setEditText(value);
    }
    const QString shownTel = edTel->text(), shownFax = edFax->text();
    const AnsiString telDigits = Digits(shownTel), faxDigits = Digits(shownFax);
    m_additionPressed = 0;
    for (int i = 1; i <= 4; ++i) {
        QComboBox* head = cbxHead[size_t(i - 1)];
        const QString heading = text(Numbered("Head", i));
        const int item = head->findText(heading);
        head->setCurrentIndex(item);
        if (item < 0)
            head->setEditText(heading);
        QString addition = text(Numbered("Addition", i));
        const AnsiString stored = ToAnsi(addition);
        if ((item == HeadTel || item == HeadTelFax) && !stored.isEmpty() && stored == telDigits)
            addition = shownTel;
        else if (item == HeadFax && !stored.isEmpty() && stored == faxDigits)
            addition = shownFax;
        edAddition[size_t(i - 1)]->setText(addition);
        bool pressed = flag(Numbered("AdditionPrint", i));
        if (pressed && m_additionPressed >= 2)
            pressed = false;
        if (pressed)
            ++m_additionPressed;
        sbtnAdditionPrint[size_t(i - 1)]->setChecked(pressed);
        SetPrintGlyph(sbtnAdditionPrint[size_t(i - 1)]);
    }
    const int position = t.recNo(), count = t.recordCount();
    lblRecord->setText(QString::number(position));
    sbtnFirst->setEnabled(position != 1);
    sbtnPrior->setEnabled(position != 1);
    sbtnNext->setEnabled(position != count);
    sbtnLast->setEnabled(position != count);
    m_loading = false;
    ckbSelInfoClick(nullptr);
    m_modified = false;
    m_titleChanged = false;
}

void TSenderForm::UpdateHistory(QComboBox* combo, THistoryData* history)
{
    const AnsiString value = Trimmed(combo->currentText());
    if (value.isEmpty() || !history || !history->IsLoaded())
        return;
    try {
        history->PutFirst(value, std::numeric_limits<int>::max());
        history->Save();
    } catch (const std::exception& e) {
        MessageBoxPos(this, QString::fromUtf8(e.what()), ProductTitle, MsgSeam::MbIconStop);
    }
    const bool loading = m_loading;
    m_loading = true;
    FillHistoryCombo(combo, history);
    const int index = combo->findText(ToWide(value));
    if (index >= 0)
        combo->setCurrentIndex(index);
    m_loading = loading;
}

bool TSenderForm::SaveRecord()
{
    if (TrimBlanks(edTitle->text()).isEmpty()) {
        MessageBoxPos(this, InfoTitleEmpty, ProductTitle, MsgSeam::MbIconInformation);
        TEnterMovesFocus::focusWithCaretAtEnd(edTitle);
        return false;
    }
    Table& t = *m_table;
    try {
        t.edit();
        const auto set = [&t](const QString& field, const AnsiString& value) { t.fieldByName(field).setAnsi(value); };
        set(QStringLiteral("Title"), Trimmed(edTitle->text()));
        set(QStringLiteral("Name"), WideToHexText(TrimBlanks(edName->text())));
        set(QStringLiteral("Tel"), Digits(edTel->text()));
        set(QStringLiteral("Fax"), Digits(edFax->text()));
        set(QStringLiteral("Pos"), Digits(edPos->text()));
        set(QStringLiteral("Tdfkn"), Trimmed(edTdfkn->text()));
        set(QStringLiteral("Adrs1"), Trimmed(edAdrs1->text()));
        set(QStringLiteral("Adrs2"), Trimmed(edAdrs2->text()));
        set(QStringLiteral("Adrs3"), Trimmed(edAdrs3->text()));
        t.fieldByName(QStringLiteral("SelectInfo")).setInteger(ckbHome->isChecked() ? 1 : ckbCorp->isChecked() ? 2 : 0);
        t.fieldByName(QStringLiteral("NamePrint")).setBoolean(sbtnPrint[0]->isChecked());
        for (int i = 1; i <= 5; ++i) {
            set(Numbered("Joint", i), WideToHexText(TrimBlanks(edJoint[size_t(i - 1)]->text())));
            set(Numbered("Note", i), Trimmed(edNote[size_t(i - 1)]->text()));
            t.fieldByName(Numbered("JointPrint", i)).setBoolean(sbtnPrint[size_t(i)]->isChecked());
        }
        set(QStringLiteral("Corp"), Trimmed(edCorp->text()));
        set(QStringLiteral("Dptmnt"), Trimmed(cbxDptmnt->currentText()));
        set(QStringLiteral("Post"), Trimmed(cbxPost->currentText()));
        for (int i = 1; i <= 4; ++i) {
            QComboBox* head = cbxHead[size_t(i - 1)];
            const QString addition = edAddition[size_t(i - 1)]->text();
            const int item = HeadItem(head);
            set(Numbered("Head", i), Trimmed(head->currentText()));
            AnsiString stored = Trimmed(addition);
            if ((item == HeadTel || item == HeadTelFax) && addition == edTel->text())
                stored = Digits(addition);
            else if (item == HeadFax && addition == edFax->text())
                stored = Digits(addition);
            set(Numbered("Addition", i), stored);
            t.fieldByName(Numbered("AdditionPrint", i)).setBoolean(sbtnAdditionPrint[size_t(i - 1)]->isChecked());
        }
    } catch (const std::exception&) {
        if (t.state() != TableState::Browse)
            t.cancel();
        MessageBoxPos(this, StopSaveFailed, ProductTitle, MsgSeam::MbIconStop);
        return false;
    }
    UpdateHistory(cbxDptmnt, DMQuenrid215->DptmntHistory());
    UpdateHistory(cbxPost, DMQuenrid215->PostHistory());
    try {
        t.post();
        t.flushBuffers();
    } catch (const std::exception&) {
        if (t.state() != TableState::Browse)
            t.cancel();
        MessageBoxPos(this, StopSaveFailed, ProductTitle, MsgSeam::MbIconStop);
        return false;
    }
    m_modified = false;
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Title uniqueness

bool TSenderForm::TitleExists()
{
    const AnsiString title = Trimmed(edTitle->text());
    bool found = false;
    m_table->first();
    while (!m_table->eof() && !found) {
        found = m_table->fieldByName(QStringLiteral("RecNo")).asInteger() != SenderNo &&
                m_table->fieldByName(QStringLiteral("Title")).asAnsi() == title;
        m_table->next();
    }
    if (found)
        MessageBoxPos(this, InfoTitleTaken, ProductTitle, MsgSeam::MbIconInformation);
    LocateSender(SenderNo);
    return found;
}

// The check of a changed title; on a match the title is selected (and focused when asked) and the caller
// stops.
bool TSenderForm::StopOnDuplicateTitle(bool focus)
{
    if (!m_titleChanged || m_checkingTitle)
        return false;
    m_checkingTitle = true;
    m_titleChanged = TitleExists();
    m_checkingTitle = false;
    if (!m_titleChanged)
        return false;
    edTitle->selectAll();
    if (focus)
        edTitle->setFocus();
    return true;
}

bool TSenderForm::edTitleExit()
{
    return !StopOnDuplicateTitle(true);
}

bool TSenderForm::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == edTitle && e->type() == QEvent::FocusOut && !m_loading && isVisible())
        edTitleExit();
    if (e->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(e);
        auto* edit = qobject_cast<TTntNMDEdit*>(watched);
        if (edit && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(key->modifiers() & ~Qt::KeypadModifier) && !edit->Composing()) {
            TEnterMovesFocus::focusWithCaretAtEnd(NextDataControl(edit));
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

// ---------------------------------------------------------------------------------------------------------
// Moving, new, delete

void TSenderForm::sbtnMoveClick(int direction)
{
    if (m_table->isEmpty())
        return;
    if (m_modified) {
        if (StopOnDuplicateTitle(false) || !SaveRecord())
            return;
    }
    switch (direction) {
    case 0:
        m_table->first();
        break;
    case 1:
        m_table->prior();
        break;
    case 2:
        m_table->next();
        break;
    default:
        m_table->last();
        break;
    }
    ShowRecord();
    SenderNo = qint32(m_table->fieldByName(QStringLiteral("RecNo")).asInteger());
}

void TSenderForm::bbtnNewClick()
{
    if (m_modified && !SaveRecord())
        return;
    QString title = QStringLiteral("差出人1");
    const int count = m_table->recordCount();
    if (count > 0) {
        std::set<AnsiString> titles;
        for (m_table->first(); !m_table->eof(); m_table->next())
            titles.insert(m_table->fieldByName(QStringLiteral("Title")).asAnsi());
        for (int n = 0;; ++n) {
            title = QStringLiteral("差出人%1").arg(count + n);
            if (!titles.count(ToAnsi(title)))
                break;
        }
    }
    const qint32 recNo = m_lastNo + 1;
    if (!AppendSender(recNo, title)) {
        LocateSender(SenderNo);
        return;
    }
    SenderNo = recNo;
    m_lastNo = recNo;
    ShowCount();
    ShowRecord();
    TEnterMovesFocus::focusWithCaretAtEnd(edName);
}

void TSenderForm::bbtnDeleteClick()
{
    const QString question = QStringLiteral("差出人'") + TrimBlanks(edTitle->text()) +
                             QStringLiteral("'を削除します  \r\nよろしいですか？");
    if (MessageBoxPos(this, question, ProductTitle,
                      MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2) != MsgSeam::IdYes)
        return;
    Table& t = *m_table;
    if (t.recordCount() <= 1) {
        try {
            t.edit();
            for (int i = 0; i < t.fieldCount(); ++i) {
                TableField f = t.field(i);
                if (f.type() == FieldType::Alpha || f.type() == FieldType::Memo)
                    f.clear();
            }
            t.fieldByName(QStringLiteral("RecNo")).setInteger(1);
            t.fieldByName(QStringLiteral("Title")).setString(QStringLiteral("差出人1"));
            t.fieldByName(QStringLiteral("SelectInfo")).setInteger(0);
            t.fieldByName(QStringLiteral("NamePrint")).setBoolean(true);
            for (int i = 1; i <= 5; ++i)
                t.fieldByName(Numbered("JointPrint", i)).setBoolean(true);
            for (int i = 1; i <= 4; ++i)
                t.fieldByName(Numbered("AdditionPrint", i)).setBoolean(false);
            t.post();
            t.flushBuffers();
        } catch (const std::exception&) {
            if (t.state() != TableState::Browse)
                t.cancel();
            MessageBoxPos(this, StopClearFailed, ProductTitle, MsgSeam::MbIconStop);
            return;
        }
        SenderNo = 1;
        DefaultSenderNo = 1;
        m_additionPressed = 0;
        t.first();
        ShowRecord();
        return;
    }
    const qint32 deleted = qint32(t.fieldByName(QStringLiteral("RecNo")).asInteger());
    try {
        t.deleteRecord();
        t.flushBuffers();
    } catch (const std::exception&) {
        if (t.state() != TableState::Browse)
            t.cancel();
        MessageBoxPos(this, StopDeleteFailed, ProductTitle, MsgSeam::MbIconStop);
        return;
    }
    if (t.eof())
        t.last();
    const qint32 current = qint32(t.fieldByName(QStringLiteral("RecNo")).asInteger());
    if (deleted == DefaultSenderNo)
        DefaultSenderNo = current;
    SenderNo = current;
    ShowCount();
    ShowRecord();
}

// ---------------------------------------------------------------------------------------------------------
// Change handlers

void TSenderForm::DataChange(QObject* sender)
{
    if (m_loading)
        return;
    m_modified = true;
    if (sender != edTel && sender != edFax)
        return;
    const bool tel = sender == edTel;
    const QString text = tel ? edTel->text() : edFax->text();
    for (int i = 0; i < 4; ++i) {
        const int item = HeadItem(cbxHead[size_t(i)]);
        if (tel ? (item == HeadTel || item == HeadTelFax) : item == HeadFax)
            edAddition[size_t(i)]->setText(text);
    }
}

void TSenderForm::cbxHeadClick(int index)
{
    const QString t = ToWide(Digits(edTel->text(), KeepDigits | KeepHyphens));
    const QString f = ToWide(Digits(edFax->text(), KeepDigits | KeepHyphens));
    QLineEdit* addition = edAddition[size_t(index)];
    if (!t.isEmpty() || !f.isEmpty()) {
        const int item = HeadItem(cbxHead[size_t(index)]);
        if (item == HeadTel || item == HeadTelFax)
            addition->setText(t);
        else if (item == HeadFax)
            addition->setText(f);
        else if (addition->text() == t || addition->text() == f)
            addition->clear();
    }
    m_modified = true;
}

void TSenderForm::sbtnAdditionPrintClick(int index)
{
    if (m_loading)
        return;
    m_modified = true;
    QToolButton* button = sbtnAdditionPrint[size_t(index)];
    if (button->isChecked()) {
        if (m_additionPressed >= 2) {
            for (int i = 3; i >= 0; --i)
                if (i != index && sbtnAdditionPrint[size_t(i)]->isChecked()) {
                    sbtnAdditionPrint[size_t(i)]->setChecked(false);
                    SetPrintGlyph(sbtnAdditionPrint[size_t(i)]);
                    break;
                }
        } else {
            ++m_additionPressed;
        }
    } else {
        m_additionPressed = std::max(0, m_additionPressed - 1);
    }
    SetPrintGlyph(button);
}

void TSenderForm::ckbSelInfoClick(QCheckBox* box)
{
    for (QToolButton* b : sbtnPrint)
        b->setEnabled(ckbHome->isChecked());
    if (m_loading || !box)
        return;
    if (box->isChecked()) {
        QCheckBox* other = box == ckbHome ? ckbCorp : ckbHome;
        m_loading = true;
        other->setChecked(false);
        m_loading = false;
        for (QToolButton* b : sbtnPrint)
            b->setEnabled(ckbHome->isChecked());
    }
    m_modified = true;
}

void TSenderForm::ckbDefaultClick()
{
    if (!m_loading && ckbDefault->isChecked())
        DefaultSenderNo = SenderNo;
}

// ---------------------------------------------------------------------------------------------------------
// Lookups, readings and lists

void TSenderForm::bbtnSearchClick(int tag)
{
    QString text;
    if (tag == 0)
        text = edTel->text();
    else if (tag == 1)
        text = edPos->text();
    else
        text = edTdfkn->text() + edAdrs1->text() + edAdrs2->text() + edAdrs3->text();
    try {
        std::unique_ptr<TSenderLookup> lookup =
            LookupFactory() ? LookupFactory()(this) : std::make_unique<TDicSearchLookup>(this);
        const int start = lookup->StartSearch(tag, text);
        if (start == 0) {
            if (!lookup->Exec())
                return;
        } else if (start != 1) {
            return;
        }
        const TDicResultRec result = lookup->GetResult();
        lookup.reset();
        ApplyLookup(tag, result);
    } catch (const EDictionaryError& e) {
        MessageBoxPos(this, e.Message(), ProductTitle, MsgSeam::MbIconStop);
    } catch (const std::exception& e) {
        MessageBoxPos(this, QString::fromUtf8(e.what()), ProductTitle, MsgSeam::MbIconStop);
    }
}

void TSenderForm::ApplyLookup(int tag, const TDicResultRec& r)
{
    if (!r.Name.isEmpty()) {
        if (r.IsPerson) {
            edName->setText(ToWide(r.Name));
        } else {
            edCorp->setText(ToWide(r.Name));
            pgctlSender->setCurrentWidget(tbsCorp);
        }
    }
    if (!r.Tel.isEmpty()) {
        const QString tel = ToWide(r.Tel);
        switch (r.PhoneKind) {
        case 1:
            edTel->clear();
            edFax->setText(tel);
            break;
        case 2:
            edTel->setText(tel);
            edFax->setText(tel);
            break;
        default:
            edTel->setText(tel);
            edFax->clear();
            break;
        }
    }
    edPos->setText(ShowPos(KeepNumberChars(r.PostalCode, KeepDigits)));
    if (!(r.Prefecture + r.Address1 + r.Address2 + r.Address3).isEmpty()) {
        edTdfkn->setText(ToWide(r.Prefecture));
        edAdrs1->setText(ToWide(r.Address1));
        if (!edAdrs2->text().startsWith(ToWide(r.Address2))) {
            edAdrs2->setText(ToWide(r.Address2));
            edAdrs3->setText(ToWide(r.Address3));
        } else if (!r.Address3.isEmpty()) {
            edAdrs3->setText(ToWide(r.Address3));
        }
    }
    TEnterMovesFocus::focusWithCaretAtEnd(tag == 0 ? edTel : tag == 1 ? edPos : edAdrs2);
}

void TSenderForm::NameConvertNeed(int tag, int kind, bool show, const QString& value)
{
    TBusyCursor busy;
    TTntNameDic::ConvertNeed(this, NameEditByTag(tag), tag, tag > 0 ? nkFirst : TNameDicKind(kind), show, value,
                             Qt::blue, ProgramFolder);
}

bool TSenderForm::event(QEvent* e)
{
    if (e->type() == MsgNameChosen) {
        const QPointer<TTntNameDic> popup = NameDicPopup;
        if (popup && popup->parentWidget() == this) {
            // Read the pick first: ending the composition may close the popup.
            const QString word = popup->ChosenWord();
            const QString reading = popup->Reading();
            const TNameDicKind kind = popup->NameKind();
            TTntNMDEdit* edit = NameEditByTag(popup->Tag());
            edit->InsertWordAndReading(word, reading, kind);
            if (popup)
                popup->close();
            edit->setFocus();
        }
        return true;
    }
    return QDialog::event(e);
}

void TSenderForm::moveEvent(QMoveEvent* e)
{
    QDialog::moveEvent(e);
    if (NameDicPopup && NameDicPopup->parentWidget() == this)
        NameDicPopup->PlaceUnder(NameEditByTag(NameDicPopup->Tag()));
}

void TSenderForm::bbtnEditListClick(int tag)
{
    TInputList dialog(ModuleCardData(), KeywordNames, this);
    CenterForm(&dialog, this);
    dialog.SetListKind(tag);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const unsigned changed = dialog.GetChangedLists();
    const bool loading = m_loading;
    m_loading = true;
    if (changed & (1u << ilDptmnt))
        FillHistoryCombo(cbxDptmnt, DMQuenrid215->DptmntHistory());
    if (changed & (1u << ilPost))
        FillHistoryCombo(cbxPost, DMQuenrid215->PostHistory());
    m_loading = loading;
}
