// The record card window: its controls, the modes it shows records in, navigation, saving and closing.
#include "addressbook/DtInqiry.h"

#include "addressbook/CpItmSet.h"
#include "addressbook/GrpEdt.h"
#include "addressbook/InputLst.h"
#include "addressbook/KeywdEdt.h"
#include "core/DialogSub.h"
#include "addressbook/PrtctMemoEdt.h"
#include "addressbook/TntNMDic.h"
#include "core/AppSub.h"
#include "core/ButtonPictures.h"
#include "core/CategoryNames.h"
#include "core/CstmClr.h"
#include "core/HisInfo.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/NMDEdit.h"
#include "core/ShellSub.h"
#include "core/TntNMDEdit.h"
#include "platform/IniFile.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QRegularExpressionValidator>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

QPointer<TDataInquiry> DataInquiry;

namespace {

const QString SectionName = QStringLiteral("DATA INQUIRY");
constexpr qint32 InvalidNumberColor = 0xDFDFFF;

// Colours are stored with red in the low byte.
QColor WinColor(qint32 c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QColor WindowColor()
{
    return QApplication::palette().color(QPalette::Base);
}

QColor ButtonFaceColor()
{
    return QApplication::palette().color(QPalette::Button);
}

void SetBaseColor(QWidget* w, const QColor& color)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, color);
    w->setPalette(p);
}

// The number-status pictures: a small badge for an individual (12 digits) or a corporate (13) number.
QPixmap StatusPicture(bool corporate)
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(corporate ? QColor(0x2F, 0x6F, 0xC0) : QColor(0x3F, 0xA0, 0x4F));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(1, 1, 18, 18), 4, 4);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setPixelSize(13);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(0, 0, 20, 20), Qt::AlignCenter,
               corporate ? QStringLiteral("法") : QStringLiteral("個"));
    return pixmap;
}

// Protected items show one "*" per character.
class TMaskStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QLabel* Caption(const QString& text, int width = 72)
{
    auto* label = new QLabel(text);
    label->setFixedWidth(width);
    return label;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets, bool stretch = true)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    for (QWidget* w : widgets)
        row->addWidget(w);
    if (stretch)
        row->addStretch(1);
    return row;
}

} // namespace

// Escape pressed while a pop-up list is open belongs to that list; the window's Escape shortcut can still
// fire for the same key after the list has closed itself, so the key is noted (its shortcut override comes
// first).
class TPopupEscapeWatch : public QObject
{
public:
    explicit TPopupEscapeWatch(QObject* parent) : QObject(parent) { qApp->installEventFilter(this); }
    // True once for the key press that an open pop-up took.
    bool Taken() { return std::exchange(m_taken, false); }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if ((e->type() == QEvent::ShortcutOverride || e->type() == QEvent::KeyPress) &&
            static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape && QApplication::activePopupWidget() &&
            !m_taken) {
            m_taken = true;
            QTimer::singleShot(0, this, [this] { m_taken = false; });
        }
        return false;
    }

private:
    bool m_taken = false;
};

// ---------------------------------------------------------------------------------------------------------
// Construction

TDataInquiry::TDataInquiry(TCardAddressBook* addressList, TCardDataModule& data, QWidget* parent)
    : QWidget(parent, Qt::Window), m_book(addressList), m_data(data)
{
    setObjectName(QStringLiteral("DataInquiry"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_clock = [] { return QDateTime::currentDateTime(); };
    m_maskStyle = new TMaskStyle;
    m_maskStyle->setParent(this);

    BuildControls();
    ReadSettings();
    BuildEnterRoutes();
    WireNameEdits();

    // Lists, names, protection and the switch, then an empty card.
    FillGroupList();
    FillCategoryMainList(0);
    FillCategorySubList(1);
    FillDptmntList();
    FillPostList();
    FillHonorLists();
    for (int k = 0; k < 3; ++k)
        FillKeywordList(k);
    UpdateMyNumberStatus({0, 1, 2, 3, 4, 5});
    FillSenderList();
    ShowOwnNumber();
    UpdateLinkHints();
    ApplyProtection();
    ApplyKeywordNames();
    ApplyKeywordInputModes();
    ApplyProtectMemoNames();
    ApplyProtectMemoInputModes();
    sbtnPriv->setChecked(true);
    UpdatePrivCorpControls();
    FillSymbolMarkList();
    ClearForm();

    btnUpdate->setEnabled(false);
    btnDelete->setEnabled(false);
    m_snapshot.reset();
    m_loaded.reset();
    UpdateNavigation();
    m_listSource = -1;
    m_showingItem = -1;
    m_skipConfirm = 0;
    SelectPage(0);
    cbxGroup->setMaxVisibleItems(11);
    setProperty("helpContext", 53);
    LoadButtonPictures();
    m_popupEscape = new TPopupEscapeWatch(this);
}

TDataInquiry::~TDataInquiry()
{
    // The edits outlive this part of the card; their events must not reach it any more. Their signals
    // neither: a focused edit that loses its focus while it is destroyed still says its editing finished.
    for (int tag = 0; tag <= 6; ++tag) {
        NameEdit(tag)->OnConvertNeed = nullptr;
        NameEdit(tag)->OnConvertKeyDown = nullptr;
    }
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
    WriteSettings();
}

void TDataInquiry::ReadSettings()
{
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    adjustSize();
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry()
                                                          : QRect(0, 0, 1280, 1024);
    const int width96 = ScaleByDpi(width(), 0);
    const int height96 = ScaleByDpi(height(), 0);
    const int left =
        ini.ReadInteger(SectionName, QStringLiteral("Left"), (ScaleByDpi(screen.width(), 0) - width96) / 2);
    const int top =
        ini.ReadInteger(SectionName, QStringLiteral("Top"), (ScaleByDpi(screen.height(), 0) - height96) / 2);
    move(ScaleByDpi(left, 1), ScaleByDpi(top, 1));
    m_continualAdd = ini.ReadBool(SectionName, QStringLiteral("ContinualAdd"), false);
    chkContinualAdd->setChecked(m_continualAdd);
    m_copyItems = ParseCopyItems(ini.ReadString(SectionName, QStringLiteral("CopyItemIndex"), QString()),
                                 ini.ReadString(SectionName, QStringLiteral("CopyItemCopy"), QString()));
    m_lastReturn = ini.ReadBool(SectionName, QStringLiteral("LastReturn"), true);
}

void TDataInquiry::WriteSettings()
{
    if (DataRootFolder.isEmpty())
        return;
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteInteger(SectionName, QStringLiteral("Left"), ScaleByDpi(x(), 0));
    ini.WriteInteger(SectionName, QStringLiteral("Top"), ScaleByDpi(y(), 0));
    ini.WriteBool(SectionName, QStringLiteral("ContinualAdd"), chkContinualAdd->isChecked());
    ini.UpdateFile();
}

void TDataInquiry::ConnectServiceButton(QAbstractButton* button, TCardService service, int argument)
{
    // Windows of other parts of the program: usable only once their opener is registered.
    button->setEnabled(HasCardService(service));
    connect(button, &QAbstractButton::clicked, this,
            [this, service, argument] { RunCardService(service, *this, argument); });
}

void TDataInquiry::BuildControls()
{
    const auto named = [](auto* w, const char* name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };
    const auto tool = [&named](const char* name, const QString& text) {
        auto* b = named(new QToolButton, name);
        b->setText(text);
        b->setAutoRaise(false);
        return b;
    };

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(6, 6, 6, 6);
    pgctlData = named(new QTabWidget, "pgctlData");
    tabstMain = named(BuildMainPage(), "tabstMain");
    tabstSub = named(BuildSubPage(), "tabstSub");
    tabstMemo = named(BuildMemoPage(), "tabstMemo");
    tabstProtectMemo = named(BuildProtectPage(), "tabstProtectMemo");
    tabstOther = named(BuildOtherPage(), "tabstOther");
    pgctlData->addTab(tabstMain, QStringLiteral("メイン"));
    pgctlData->addTab(tabstSub, QStringLiteral("サブ"));
    pgctlData->addTab(tabstMemo, QStringLiteral("メモ"));
    pgctlData->addTab(tabstProtectMemo, QStringLiteral("保護メモ"));
    pgctlData->addTab(tabstOther, QStringLiteral("その他"));
    root->addWidget(pgctlData, 1);
    connect(pgctlData, &QTabWidget::currentChanged, this, [this](int index) {
        if (!m_pageByProgram)
            pgctlDataChange(index);
    });
    pgctlData->tabBar()->installEventFilter(this);

    sbtnFirst = tool("sbtnFirst", QStringLiteral("|◀"));
    sbtnPrior = tool("sbtnPrior", QStringLiteral("◀"));
    sbtnNext = tool("sbtnNext", QStringLiteral("▶"));
    sbtnLast = tool("sbtnLast", QStringLiteral("▶|"));
    lblNowRec = named(new QLabel(QStringLiteral("---")), "lblNowRec");
    lblTotalRec = named(new QLabel(QStringLiteral("---")), "lblTotalRec");
    lblNowRec->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblNowRec->setMinimumWidth(44);
    lblTotalRec->setMinimumWidth(44);
    const std::array<QToolButton*, 4> moves{sbtnFirst, sbtnPrior, sbtnNext, sbtnLast};
    for (int tag = 0; tag < 4; ++tag)
        connect(moves[size_t(tag)], &QToolButton::clicked, this, [this, tag] { sbtnMoveRecordClick(tag); });
    bbtnNew = tool("bbtnNew", QStringLiteral("新規登録"));
    connect(bbtnNew, &QToolButton::clicked, this, &TDataInquiry::bbtnNewClick);
    chkContinualAdd = named(new QCheckBox(QStringLiteral("連続して登録")), "chkContinualAdd");
    PaintCheckedBlue(chkContinualAdd);
    btnCopy = named(new QPushButton(QStringLiteral("項目コピー")), "btnCopy");
    btnCopy->setAutoDefault(false);
    connect(btnCopy, &QPushButton::clicked, this, &TDataInquiry::btnCopyClick);
    bbtnCopySetting = tool("bbtnCopySetting", QStringLiteral("…"));
    bbtnCopySetting->setToolTip(QStringLiteral("コピーする項目の設定"));
    connect(bbtnCopySetting, &QToolButton::clicked, this, &TDataInquiry::bbtnCopySettingClick);
    btnAdd = named(new QPushButton(QStringLiteral("登録")), "btnAdd");
    btnUpdate = named(new QPushButton(QStringLiteral("変更")), "btnUpdate");
    btnDelete = named(new QPushButton(QStringLiteral("削除")), "btnDelete");
    btnClose = named(new QPushButton(QStringLiteral("閉じる")), "btnClose");
    for (QPushButton* b : {btnAdd, btnUpdate, btnDelete, btnClose})
        b->setAutoDefault(false);
    // Escape closes the card, except while a drop-down (a list or a completion) is open: that closes first.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (m_popupEscape->Taken())
            return;
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
            return;
        }
        btnClose->click();
    });
    connect(btnAdd, &QPushButton::clicked, this, &TDataInquiry::btnAddClick);
    connect(btnUpdate, &QPushButton::clicked, this, &TDataInquiry::btnUpdateClick);
    connect(btnDelete, &QPushButton::clicked, this, &TDataInquiry::btnDeleteClick);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);

    auto* slash = new QLabel(QStringLiteral("/"));
    auto* bottom = Row({sbtnFirst, sbtnPrior, lblNowRec, slash, lblTotalRec, sbtnNext, sbtnLast}, false);
    bottom->addSpacing(12);
    bottom->addWidget(bbtnNew);
    bottom->addWidget(chkContinualAdd);
    bottom->addSpacing(12);
    bottom->addWidget(btnCopy);
    bottom->addWidget(bbtnCopySetting);
    bottom->addStretch(1);
    for (QPushButton* b : {btnAdd, btnUpdate, btnDelete, btnClose})
        bottom->addWidget(b);
    root->addLayout(bottom);

    // The speed buttons never take the focus: Enter and Tab pass over them.
    for (QToolButton* b : findChildren<QToolButton*>())
        if (b->objectName().startsWith(QLatin1String("sbtn")))
            b->setFocusPolicy(Qt::NoFocus);
}

QWidget* TDataInquiry::BuildMainPage()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->setSpacing(4);
    const auto edit = [](const char* name, int maxLength, int width) {
        auto* e = new QLineEdit;
        e->setObjectName(QLatin1String(name));
        e->setMaxLength(maxLength);
        e->setProperty("byteLimit", maxLength);
        if (width > 0)
            e->setFixedWidth(width);
        return e;
    };
    const auto tool = [](const char* name, const QString& text) {
        auto* b = new QToolButton;
        b->setObjectName(QLatin1String(name));
        b->setText(text);
        return b;
    };
    const auto combo = [](const char* name, bool editable, int maxBytes, int width) {
        auto* c = new QComboBox;
        c->setObjectName(QLatin1String(name));
        c->setEditable(editable);
        if (editable) {
            c->setInsertPolicy(QComboBox::NoInsert);
            c->lineEdit()->setMaxLength(maxBytes);
            c->lineEdit()->setProperty("byteLimit", maxBytes);
        }
        if (width > 0)
            c->setFixedWidth(width);
        return c;
    };

    cbxGroup = combo("cbxGroup", false, 0, 220);
    bbtnEditGroup = tool("bbtnEditGroup", QStringLiteral("…"));
    bbtnEditGroup->setToolTip(QStringLiteral("グループ名の設定"));
    connect(bbtnEditGroup, &QToolButton::clicked, this, [this] {
        if (m_book)
            m_book->EditGroupNames();
        cbxGroup->setFocus();
    });
    bbtnEditGroup->setEnabled(m_book != nullptr);
    connect(cbxGroup, &QComboBox::activated, this, [this](int index) { m_group = index; });
    edtCustomCode = edit("edtCustomCode", 20, 150);
    lblEnvMyNumber = new QLabel;
    lblEnvMyNumber->setObjectName(QStringLiteral("lblEnvMyNumber"));
    edtEnvMyNumber = edit("edtEnvMyNumber", 13, 110);
    edtEnvMyNumber->setReadOnly(true);
    v->addLayout(Row({Caption(QStringLiteral("グループ")), cbxGroup, bbtnEditGroup,
                      Caption(QStringLiteral("顧客コード")), edtCustomCode, lblEnvMyNumber, edtEnvMyNumber}));

    edtTel = edit("edtTel", 13, 120);
    bbtnTelSch = tool("bbtnTelSch", QStringLiteral("検索"));
    ConnectServiceButton(bbtnTelSch, TCardService::TelLookup);
    chkMainNumber = new QCheckBox(QStringLiteral("代表電話"));
    chkMainNumber->setObjectName(QStringLiteral("chkMainNumber"));
    PaintCheckedBlue(chkMainNumber);
    edtFax = edit("edtFax", 13, 120);
    edtPubDate = edit("edtPubDate", 16, 100);
    edtPubDate->setReadOnly(true);
    v->addLayout(Row({Caption(QStringLiteral("電話番号")), edtTel, bbtnTelSch, chkMainNumber,
                      Caption(QStringLiteral("FAX番号")), edtFax, Caption(QStringLiteral("初期掲載年月"), 84),
                      edtPubDate}));

    edtPortable1 = edit("edtPortable1", 13, 120);
    edtPortable2 = edit("edtPortable2", 13, 120);
    v->addLayout(Row({Caption(QStringLiteral("携帯番号１")), edtPortable1,
                      Caption(QStringLiteral("携帯番号２")), edtPortable2}));

    edtPos = edit("edtPos", 8, 80);
    bbtnPosSch = tool("bbtnPosSch", QStringLiteral("〒検索"));
    ConnectServiceButton(bbtnPosSch, TCardService::PosLookup);
    edtJisCode = edit("edtJisCode", 8, 70);
    edtJisCode->setReadOnly(true);
    lblKajoCode = new QLabel;
    lblKajoCode->setObjectName(QStringLiteral("lblKajoCode"));
    lblKajoCode->setVisible(false);
    bbtnGetJisCode = tool("bbtnGetJisCode", QStringLiteral("取得"));
    ConnectServiceButton(bbtnGetJisCode, TCardService::JisCodeLookup);
    v->addLayout(Row({Caption(QStringLiteral("郵便番号")), edtPos, bbtnPosSch,
                      Caption(QStringLiteral("市町村コード"), 84), edtJisCode, bbtnGetJisCode, lblKajoCode}));

    edtTdfkn = edit("edtTdfkn", 8, 80);
    edtAdrs1 = edit("edtAdrs1", 32, 220);
    bbtnAdrsSearch = tool("bbtnAdrsSearch", QStringLiteral("住所検索"));
    ConnectServiceButton(bbtnAdrsSearch, TCardService::AdrsLookup);
    v->addLayout(Row({Caption(QStringLiteral("住所")), edtTdfkn, edtAdrs1, bbtnAdrsSearch}));
    edtAdrs2 = edit("edtAdrs2", 100, 0);
    v->addLayout(Row({Caption(QString()), edtAdrs2}, false));
    edtAdrs3 = edit("edtAdrs3", 116, 0);
    v->addLayout(Row({Caption(QString()), edtAdrs3}, false));
    edtAdrsKana = edit("edtAdrsKana", 80, 0);
    bbtnMap = tool("bbtnMap", QStringLiteral("地図"));
    bbtnQRMap = tool("bbtnQRMap", QStringLiteral("QR"));
    bbtnRoot = tool("bbtnRoot", QStringLiteral("路線"));
    ConnectServiceButton(bbtnMap, TCardService::Map);
    ConnectServiceButton(bbtnQRMap, TCardService::QRMap);
    ConnectServiceButton(bbtnRoot, TCardService::Route);
    v->addLayout(
        Row({Caption(QStringLiteral("住所カナ")), edtAdrsKana, bbtnMap, bbtnQRMap, bbtnRoot}, false));

    sbtnPriv = tool("sbtnPriv", QStringLiteral("個人"));
    sbtnCorp = tool("sbtnCorp", QStringLiteral("会社"));
    for (QToolButton* b : {sbtnPriv, sbtnCorp}) {
        b->setCheckable(true);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setFixedWidth(48);
    }
    auto* privCorp = new QButtonGroup(this);
    privCorp->addButton(sbtnPriv);
    privCorp->addButton(sbtnCorp);
    privCorp->setExclusive(true);
    for (QToolButton* b : {sbtnPriv, sbtnCorp})
        connect(b, &QToolButton::clicked, this, [this, b] {
            UpdatePrivCorpControls();
            if (isVisible()) {
                QLineEdit* target = b == sbtnPriv ? static_cast<QLineEdit*>(nmedtNameKanji) : nmedtCorpKanji;
                target->setFocus();
                target->end(false);
            }
        });
    edtMyNumber = edit("edtMyNumber", 13, 120);
    edtMyNumber->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edtMyNumber));
    imgMyNumberStatus = new QLabel;
    imgMyNumberStatus->setObjectName(QStringLiteral("imgMyNumberStatus"));
    imgMyNumberStatus->setFixedSize(20, 20);
    lblMyNumberCount = new QLabel;
    lblMyNumberCount->setObjectName(QStringLiteral("lblMyNumberCount"));
    connect(edtMyNumber, &QLineEdit::textChanged, this, [this] { UpdateMyNumberStatus({0}); });
    auto* myNumberCaption = Caption(QStringLiteral("マイナンバー"), 84);
    v->addLayout(Row({sbtnPriv, sbtnCorp, Caption(QString(), 16), myNumberCaption, edtMyNumber,
                      imgMyNumberStatus, lblMyNumberCount}));

    nmedtCorpKanji = new TNMDEdit;
    nmedtCorpKanji->setObjectName(QStringLiteral("nmedtCorpKanji"));
    nmedtCorpKanji->setMaxLength(112);
    bbtnWebSearch = tool("bbtnWebSearch", QStringLiteral("Web"));
    bbtnWebSearch->setEnabled(HasCardService(TCardService::WebSearch));
    connect(bbtnWebSearch, &QToolButton::clicked, this, &TDataInquiry::bbtnWebSearchClick);
    auto* corpCaption = Caption(QStringLiteral("会社名"));
    v->addLayout(Row({corpCaption, nmedtCorpKanji, bbtnWebSearch}, false));
    edtCorpKana = edit("edtCorpKana", 80, 0);
    nmedtCorpKanji->SetAssociate(edtCorpKana);
    auto* corpKanaCaption = Caption(QStringLiteral("会社名カナ"));
    v->addLayout(Row({corpKanaCaption, edtCorpKana}, false));
    cbxDptmnt = combo("cbxDptmnt", true, 100, 200);
    bbtnDptmnt = tool("bbtnDptmnt", QStringLiteral("…"));
    cbxPost = combo("cbxPost", true, 50, 140);
    bbtnPost = tool("bbtnPost", QStringLiteral("…"));
    edtEmployeeNo = edit("edtEmployeeNo", 15, 110);
    auto* dptmntCaption = Caption(QStringLiteral("部署"));
    auto* postCaption = Caption(QStringLiteral("役職"), 36);
    auto* employeeCaption = Caption(QStringLiteral("従業員番号"), 72);
    v->addLayout(Row({dptmntCaption, cbxDptmnt, bbtnDptmnt, postCaption, cbxPost, bbtnPost, employeeCaption,
                      edtEmployeeNo}));
    m_corpLabels = {corpCaption, corpKanaCaption, dptmntCaption, postCaption, employeeCaption};

    nmedtNameKanji = new TTntNMDEdit;
    nmedtNameKanji->setObjectName(QStringLiteral("nmedtNameKanji"));
    nmedtNameKanji->setMaxLength(15);
    nmedtNameKanji->setFixedWidth(180);
    nmedtNameKana = new TTntNMDEdit;
    nmedtNameKana->setObjectName(QStringLiteral("nmedtNameKana"));
    nmedtNameKana->setMaxLength(25);
    nmedtNameKana->SetByteLimit(25); // NameKana holds 25 bytes
    nmedtNameKana->setFixedWidth(200);
    nmedtNameKana->SetInputType(itKana);
    nmedtNameKanji->SetAssociate(nmedtNameKana);
    nmedtNameKana->SetAssociate(nmedtNameKanji);
    v->addLayout(Row({Caption(QStringLiteral("氏名")), nmedtNameKanji,
                      Caption(QStringLiteral("フリガナ"), 60), nmedtNameKana}));
    cbxHonor = combo("cbxHonor", true, 10, 100);
    bbtnHonor = tool("bbtnHonor", QStringLiteral("…"));
    chkIgnoreName = new QCheckBox(QStringLiteral("宛名の印刷に名前を使用しない"));
    chkIgnoreName->setObjectName(QStringLiteral("chkIgnoreName"));
    connect(chkIgnoreName, &QCheckBox::toggled, this, [this](bool on) {
        QPalette p = chkIgnoreName->palette();
        p.setColor(QPalette::WindowText,
                   on ? QColor(Qt::blue) : QApplication::palette().color(QPalette::WindowText));
        chkIgnoreName->setPalette(p);
    });
    v->addLayout(Row({Caption(QStringLiteral("敬称")), cbxHonor, bbtnHonor, chkIgnoreName}));
    cbxCatMain = combo("cbxCatMain", false, 0, 200);
    cbxCatSub = combo("cbxCatSub", false, 0, 260);
    connect(cbxCatMain, &QComboBox::activated, this, [this](int index) {
        const int code = cbxCatMain->itemData(index).toInt();
        if (code != m_catMain) {
            m_catMain = code;
            FillCategorySubList(1);
        }
    });
    v->addLayout(Row({Caption(QStringLiteral("カテゴリ")), cbxCatMain, cbxCatSub}));
    v->addStretch(1);

    const std::array<std::pair<QToolButton*, int>, 3> lists{{{bbtnDptmnt, 0}, {bbtnPost, 1}, {bbtnHonor, 2}}};
    for (const auto& [button, tag] : lists)
        connect(button, &QToolButton::clicked, this, [this, tag = tag] { bbtnEditListClick(tag); });
    for (QLineEdit* e : page->findChildren<QLineEdit*>())
        e->installEventFilter(this);
    return page;
}

QWidget* TDataInquiry::BuildSubPage()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->setSpacing(4);
    const auto edit = [](const QString& name, int maxLength, int width) {
        auto* e = new QLineEdit;
        e->setObjectName(name);
        e->setMaxLength(maxLength);
        e->setProperty("byteLimit", maxLength);
        if (width > 0)
            e->setFixedWidth(width);
        return e;
    };
    const auto tool = [](const QString& name, const QString& text) {
        auto* b = new QToolButton;
        b->setObjectName(name);
        b->setText(text);
        return b;
    };

    edtURL = edit(QStringLiteral("edtURL"), 128, 0);
    bbtnGetURL = tool(QStringLiteral("bbtnGetURL"), QStringLiteral("取得"));
    bbtnOpenURL = tool(QStringLiteral("bbtnOpenURL"), QStringLiteral("開く"));
    ConnectServiceButton(bbtnGetURL, TCardService::GetURL);
    ConnectServiceButton(bbtnOpenURL, TCardService::OpenURL);
    v->addLayout(Row({Caption(QStringLiteral("URL")), edtURL, bbtnGetURL, bbtnOpenURL}, false));
    edtEMail1 = edit(QStringLiteral("edtEMail1"), 64, 0);
    bbtnEMail1 = tool(QStringLiteral("bbtnEMail1"), QStringLiteral("メール"));
    ConnectServiceButton(bbtnEMail1, TCardService::Mail, 1);
    v->addLayout(Row({Caption(QStringLiteral("E-Mail1")), edtEMail1, bbtnEMail1}, false));
    edtEMail2 = edit(QStringLiteral("edtEMail2"), 64, 0);
    bbtnEMail2 = tool(QStringLiteral("bbtnEMail2"), QStringLiteral("メール"));
    ConnectServiceButton(bbtnEMail2, TCardService::Mail, 2);
    v->addLayout(Row({Caption(QStringLiteral("E-Mail2")), edtEMail2, bbtnEMail2}, false));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->addWidget(new QLabel(QStringLiteral("連名")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("敬称")), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("マイナンバー")), 0, 3);
    bbtnJointHonor = tool(QStringLiteral("bbtnJointHonor"), QStringLiteral("…"));
    connect(bbtnJointHonor, &QToolButton::clicked, this, [this] { bbtnEditListClick(2); });
    grid->addWidget(bbtnJointHonor, 0, 4);
    for (int i = 0; i < 5; ++i) {
        const QString n = QString::number(i + 1);
        grid->addWidget(new QLabel(QStringLiteral("連名") + n), i + 1, 0);
        auto* joint = new TTntNMDEdit;
        joint->setObjectName(QStringLiteral("nmedtJoint") + n);
        joint->setMaxLength(11);
        joint->setFixedWidth(160);
        nmedtJoint[size_t(i)] = joint;
        grid->addWidget(joint, i + 1, 1);
        auto* honor = new QComboBox;
        honor->setObjectName(QStringLiteral("cbxJointHonor") + n);
        honor->setEditable(true);
        honor->setInsertPolicy(QComboBox::NoInsert);
        honor->lineEdit()->setMaxLength(10);
        honor->lineEdit()->setProperty("byteLimit", 10);
        honor->setFixedWidth(100);
        cbxJointHonor[size_t(i)] = honor;
        grid->addWidget(honor, i + 1, 2);
        auto* number = edit(QStringLiteral("edtJointMyNumber") + n, 13, 120);
        number->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), number));
        edtJointMyNumber[size_t(i)] = number;
        grid->addWidget(number, i + 1, 3);
        auto* status = new QLabel;
        status->setObjectName(QStringLiteral("imgJointMyNumberStatus") + n);
        status->setFixedSize(20, 20);
        imgJointMyNumberStatus[size_t(i)] = status;
        grid->addWidget(status, i + 1, 4);
        auto* count = new QLabel;
        count->setObjectName(QStringLiteral("lblJointMyNumberCount") + n);
        lblJointMyNumberCount[size_t(i)] = count;
        grid->addWidget(count, i + 1, 5);
        connect(joint, &QLineEdit::textChanged, this, [this, i] { nmedtJointChange(i + 1); });
        connect(joint, &QLineEdit::editingFinished, this, [this] { RebuildJointOwnerList(); });
        connect(number, &QLineEdit::textChanged, this, [this, i] { UpdateMyNumberStatus({i + 1}); });
    }
    grid->setColumnStretch(6, 1);
    v->addLayout(grid);

    cbxJointOwner = new QComboBox;
    cbxJointOwner->setObjectName(QStringLiteral("cbxJointOwner"));
    cbxJointOwner->setFixedWidth(160);
    connect(cbxJointOwner, &QComboBox::activated, this, [this](int index) {
        const int k = cbxJointOwner->itemData(index).toInt();
        if (k != m_jointOwner) {
            m_jointOwner = k;
            QToolButton* b = k == 0 ? sbtnJointPrintM : sbtnJointPrint[size_t(k - 1)];
            b->setChecked(true);
            UpdateJointPrintGlyph(k);
        }
    });
    v->addLayout(Row({Caption(QStringLiteral("連名主の変更"), 84), cbxJointOwner}));

    sbtnJointPrintM = tool(QStringLiteral("sbtnJointPrintM"), QStringLiteral("本"));
    sbtnJointPrintM->setCheckable(true);
    connect(sbtnJointPrintM, &QToolButton::clicked, this, [this] { sbtnJointPrintClick(0); });
    auto* printRow = Row({Caption(QStringLiteral("連名印刷対象"), 84), sbtnJointPrintM}, false);
    const QStringList digits{QStringLiteral("１"), QStringLiteral("２"), QStringLiteral("３"),
                             QStringLiteral("４"), QStringLiteral("５")};
    for (int i = 0; i < 5; ++i) {
        auto* b = tool(QStringLiteral("sbtnJointPrint") + QString::number(i + 1), digits[i]);
        b->setCheckable(true);
        sbtnJointPrint[size_t(i)] = b;
        connect(b, &QToolButton::clicked, this, [this, i] { sbtnJointPrintClick(i + 1); });
        printRow->addWidget(b);
    }
    printRow->addStretch(1);
    v->addLayout(printRow);

    cbxSender = new QComboBox;
    cbxSender->setObjectName(QStringLiteral("cbxSender"));
    cbxSender->setFixedWidth(220);
    connect(cbxSender, &QComboBox::activated, this,
            [this](int index) { m_sender = cbxSender->itemData(index).toInt(); });
    v->addLayout(Row({Caption(QStringLiteral("差出人"), 84), cbxSender}));

    sbtnPrintTarget = tool(QStringLiteral("sbtnPrintTarget"), QStringLiteral("印刷"));
    sbtnPrintException = tool(QStringLiteral("sbtnPrintException"), QStringLiteral("除外"));
    for (QToolButton* b : {sbtnPrintTarget, sbtnPrintException}) {
        b->setCheckable(true);
        connect(b, &QToolButton::toggled, this, [this, b](bool on) {
            // One of the two at most; both may be up.
            if (on)
                (b == sbtnPrintTarget ? sbtnPrintException : sbtnPrintTarget)->setChecked(false);
        });
    }
    v->addLayout(Row({Caption(QStringLiteral("印刷対象"), 84), sbtnPrintTarget, sbtnPrintException}));
    v->addStretch(1);
    for (QLineEdit* e : page->findChildren<QLineEdit*>())
        e->installEventFilter(this);
    return page;
}

QWidget* TDataInquiry::BuildMemoPage()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->setSpacing(4);
    for (int i = 0; i < 8; ++i) {
        const QString n = QString::number(i + 1);
        auto* label = new QLabel;
        label->setObjectName(QStringLiteral("lblKeyword") + n);
        label->setFixedWidth(110);
        lblKeyword[size_t(i)] = label;
        if (i < 5) {
            auto* e = new QLineEdit;
            e->setObjectName(QStringLiteral("edtKeyword") + n);
            e->setMaxLength(100);
            e->setProperty("byteLimit", 100);
            edtKeyword[size_t(i)] = e;
            v->addLayout(Row({label, e}, false));
        } else {
            auto* c = new QComboBox;
            c->setObjectName(QStringLiteral("cbxKeyword") + n);
            c->setEditable(true);
            c->setInsertPolicy(QComboBox::NoInsert);
            c->lineEdit()->setMaxLength(100);
            c->lineEdit()->setProperty("byteLimit", 100);
            c->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            cbxKeyword[size_t(i - 5)] = c;
            auto* b = new QToolButton;
            b->setObjectName(QStringLiteral("bbtnKeyword") + n);
            b->setText(QStringLiteral("…"));
            bbtnKeyword[size_t(i - 5)] = b;
            const int tag = i - 2;
            connect(b, &QToolButton::clicked, this, [this, tag] { bbtnEditListClick(tag); });
            v->addLayout(Row({label, c, b}, false));
        }
    }
    mmoNote = new QPlainTextEdit;
    mmoNote->setObjectName(QStringLiteral("mmoNote"));
    v->addWidget(new QLabel(QStringLiteral("備考")));
    v->addWidget(mmoNote, 1);
    for (QLineEdit* e : page->findChildren<QLineEdit*>())
        e->installEventFilter(this);
    return page;
}

QWidget* TDataInquiry::BuildProtectPage()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->setSpacing(4);
    auto* grid = new QGridLayout;
    for (int i = 0; i < 10; ++i) {
        const QString n = QString::number(i + 1);
        auto* label = new QLabel;
        label->setObjectName(QStringLiteral("lblProtectMemo") + n);
        lblProtectMemo[size_t(i)] = label;
        auto* e = new QLineEdit;
        e->setObjectName(QStringLiteral("edtProtectMemo") + n);
        e->setMaxLength(60);
        e->setProperty("byteLimit", 60);
        edtProtectMemo[size_t(i)] = e;
        grid->addWidget(label, i % 5, (i / 5) * 2);
        grid->addWidget(e, i % 5, (i / 5) * 2 + 1);
    }
    v->addLayout(grid);
    v->addWidget(new QLabel(QStringLiteral("保護フリーメモ")));
    auto* holder = new QWidget;
    auto* stack = new QGridLayout(holder);
    stack->setContentsMargins(0, 0, 0, 0);
    mmoProtectNote = new QPlainTextEdit;
    mmoProtectNote->setObjectName(QStringLiteral("mmoProtectNote"));
    connect(mmoProtectNote, &QPlainTextEdit::textChanged, this, [this] {
        // The stored note holds at most 1000 bytes; never cut inside a double-byte character.
        if (MemoToStored(mmoProtectNote->toPlainText()).size() <= 1000)
            return;
        QString text = mmoProtectNote->toPlainText();
        while (!text.isEmpty() && MemoToStored(text).size() > 1000)
            text.chop(text.size() >= 2 && text.at(text.size() - 1).isLowSurrogate() ? 2 : 1);
        const QSignalBlocker block(mmoProtectNote);
        mmoProtectNote->setPlainText(text);
        mmoProtectNote->moveCursor(QTextCursor::End);
    });
    pnlProtectNoteMask = new QLabel(QStringLiteral("閲覧・編集できません"));
    pnlProtectNoteMask->setObjectName(QStringLiteral("pnlProtectNoteMask"));
    pnlProtectNoteMask->setAlignment(Qt::AlignCenter);
    pnlProtectNoteMask->setAutoFillBackground(true);
    pnlProtectNoteMask->setFrameShape(QFrame::Panel);
    stack->addWidget(mmoProtectNote, 0, 0);
    stack->addWidget(pnlProtectNoteMask, 0, 0);
    v->addWidget(holder, 1);
    for (QLineEdit* e : page->findChildren<QLineEdit*>())
        e->installEventFilter(this);
    return page;
}

QWidget* TDataInquiry::BuildOtherPage()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->setSpacing(4);
    v->addWidget(new QLabel(QStringLiteral("外部リンク")));
    lvExtLink = new QTreeWidget;
    lvExtLink->setObjectName(QStringLiteral("lvExtLink"));
    lvExtLink->setColumnCount(2);
    lvExtLink->setHeaderLabels({QStringLiteral("No."), QStringLiteral("リンク先")});
    lvExtLink->setRootIsDecorated(false);
    lvExtLink->header()->resizeSection(0, 40);
    v->addWidget(lvExtLink, 1);
    const auto tool = [](const char* name, const QString& text) {
        auto* b = new QToolButton;
        b->setObjectName(QLatin1String(name));
        b->setText(text);
        return b;
    };
    bbtnAddExtLink = tool("bbtnAddExtLink", QStringLiteral("登録"));
    bbtnDelExtLink = tool("bbtnDelExtLink", QStringLiteral("解除"));
    bbtnOpenExtLink = tool("bbtnOpenExtLink", QStringLiteral("開く"));
    connect(bbtnAddExtLink, &QToolButton::clicked, this, &TDataInquiry::bbtnAddExtLinkClick);
    connect(bbtnDelExtLink, &QToolButton::clicked, this, &TDataInquiry::bbtnDelExtLinkClick);
    connect(bbtnOpenExtLink, &QToolButton::clicked, this, &TDataInquiry::bbtnOpenExtLinkClick);
    connect(lvExtLink, &QTreeWidget::itemDoubleClicked, this, [this] { bbtnOpenExtLinkClick(); });
    pmAddExtLink = new QMenu(this);
    pmAddExtLink->setObjectName(QStringLiteral("pmAddExtLink"));
    pmiCancel = pmAddExtLink->addAction(QStringLiteral("キャンセル"));
    pmiCancel->setObjectName(QStringLiteral("pmiCancel"));
    pmAddExtLink->addSeparator();
    pmiExtFile = pmAddExtLink->addAction(QStringLiteral("ファイルを登録"));
    pmiExtFile->setObjectName(QStringLiteral("pmiExtFile"));
    pmiExtURL = pmAddExtLink->addAction(QStringLiteral("URLを登録"));
    pmiExtURL->setObjectName(QStringLiteral("pmiExtURL"));
    v->addLayout(Row({bbtnAddExtLink, bbtnDelExtLink, bbtnOpenExtLink}));

    cbxSymbolMark = new QComboBox;
    cbxSymbolMark->setObjectName(QStringLiteral("cbxSymbolMark"));
    pnlSymbolColor = new QFrame;
    pnlSymbolColor->setObjectName(QStringLiteral("pnlSymbolColor"));
    pnlSymbolColor->setFixedSize(40, 22);
    pnlSymbolColor->setFrameShape(QFrame::Panel);
    pnlSymbolColor->setFrameShadow(QFrame::Sunken);
    pnlSymbolColor->setAutoFillBackground(true);
    bbtnSymbolColor = tool("bbtnSymbolColor", QStringLiteral("色の変更"));
    connect(bbtnSymbolColor, &QToolButton::clicked, this, &TDataInquiry::bbtnSymbolColorClick);
    v->addLayout(Row({Caption(QStringLiteral("シンボル")), cbxSymbolMark, pnlSymbolColor, bbtnSymbolColor}));

    edtAddDateTime = new QLineEdit;
    edtAddDateTime->setObjectName(QStringLiteral("edtAddDateTime"));
    edtUpdDateTime = new QLineEdit;
    edtUpdDateTime->setObjectName(QStringLiteral("edtUpdDateTime"));
    for (QLineEdit* e : {edtAddDateTime, edtUpdDateTime}) {
        e->setReadOnly(true);
        e->setFixedWidth(160);
    }
    v->addLayout(Row({Caption(QStringLiteral("登録日時")), edtAddDateTime,
                      Caption(QStringLiteral("更新日時")), edtUpdDateTime}));
    return page;
}

// ---------------------------------------------------------------------------------------------------------
// Lists and item state

namespace {

// The text of an edit within its byte limit (input-method text may run past it until the edit is left).
QString LimitedText(const QLineEdit* edit)
{
    const int limit = edit->property("byteLimit").toInt();
    return limit > 0 ? Cp932::cutToBytes(edit->text(), limit) : edit->text();
}

QString LimitedText(const QComboBox* combo)
{
    return combo->lineEdit() ? LimitedText(combo->lineEdit()) : combo->currentText();
}

} // namespace

void TDataInquiry::FillGroupList()
{
    cbxGroup->clear();
    cbxGroup->addItem(QStringLiteral("指定しない"));
    for (int g = 1; g <= 10; ++g)
        cbxGroup->addItem(QStringLiteral("%1： %2").arg(g, 2).arg(GroupNames.value(g)));
    cbxGroup->setCurrentIndex(0);
}

void TDataInquiry::RefreshGroups()
{
    FillGroupList();
    cbxGroup->setCurrentIndex(m_group >= 0 && m_group <= 10 ? m_group : 0);
}

void TDataInquiry::FillCategoryMainList(int code)
{
    cbxCatMain->clear();
    cbxCatMain->addItem(QStringLiteral("指定しない"), 0);
    for (const CodedName& entry : MajorCategoryNames)
        cbxCatMain->addItem(entry.name, entry.code);
    cbxCatMain->setCurrentIndex(0);
    const int index = cbxCatMain->findData(code);
    if (index >= 0)
        cbxCatMain->setCurrentIndex(index);
    cbxCatMain->setMaxVisibleItems(std::max(1, cbxCatMain->count()));
    m_catMain = cbxCatMain->currentData().toInt();
}

void TDataInquiry::FillCategorySubList(int minorCode)
{
    cbxCatSub->clear();
    if (m_catMain <= 0 || m_catMain > MajorCategoryCount) {
        SetBaseColor(cbxCatSub, ButtonFaceColor());
        cbxCatSub->setEnabled(false);
        return;
    }
    SetBaseColor(cbxCatSub, WindowColor());
    cbxCatSub->setEnabled(true);
    for (const CodedName& entry : MinorCategoryLists[size_t(m_catMain - 1)])
        cbxCatSub->addItem(entry.name, entry.code);
    cbxCatSub->setCurrentIndex(cbxCatSub->count() > 0 ? 0 : -1);
    if (minorCode > 0)
        for (int i = 1; i < cbxCatSub->count(); ++i)
            if (cbxCatSub->itemData(i).toInt() == m_catMain * 100 + minorCode) {
                cbxCatSub->setCurrentIndex(i);
                break;
            }
    cbxCatSub->setMaxVisibleItems(std::max(1, cbxCatSub->count()));
}

void TDataInquiry::FillDptmntList()
{
    FillHistoryCombo(cbxDptmnt, m_data.InputHistory(ilDptmnt));
}

void TDataInquiry::FillPostList()
{
    FillHistoryCombo(cbxPost, m_data.InputHistory(ilPost));
}

void TDataInquiry::FillHonorLists()
{
    FillHistoryCombo(cbxHonor, m_data.InputHistory(ilHonor));
    for (QComboBox* combo : cbxJointHonor)
        FillHistoryCombo(combo, m_data.InputHistory(ilHonor));
}

void TDataInquiry::FillKeywordList(int k)
{
    if (k >= 0 && k < 3)
        FillHistoryCombo(cbxKeyword[size_t(k)], m_data.InputHistory(TInputListKind(ilKeyword1 + k)));
}

void TDataInquiry::RefillInputLists(unsigned changed)
{
    if (changed & (1u << ilDptmnt))
        FillDptmntList();
    if (changed & (1u << ilPost))
        FillPostList();
    if (changed & (1u << ilHonor))
        FillHonorLists();
    for (int k = 0; k < 3; ++k)
        if (changed & (1u << (ilKeyword1 + k)))
            FillKeywordList(k);
}

void TDataInquiry::FillSenderList()
{
    cbxSender->clear();
    cbxSender->addItem(QStringLiteral("標準"), 0);
    if (m_book)
        for (const TCardSender& sender : m_book->Senders())
            cbxSender->addItem(sender.title, sender.recNo);
    cbxSender->setCurrentIndex(0);
}

void TDataInquiry::ChooseSender(int recNo, int from)
{
    for (int i = from; i < cbxSender->count(); ++i)
        if (cbxSender->itemData(i).toInt() == recNo) {
            cbxSender->setCurrentIndex(i);
            m_sender = recNo;
            return;
        }
    cbxSender->setCurrentIndex(0);
    m_sender = 0;
}

void TDataInquiry::RefreshSenders()
{
    const int sender = m_sender;
    FillSenderList();
    ChooseSender(sender, 1);
    if (m_sender == 0 && sender != 0 && m_loaded)
        m_loaded->Sender = 0;
}

void TDataInquiry::SetRecordSender(int senderRecNo)
{
    if (!m_loaded)
        return;
    m_loaded->Sender = senderRecNo;
    cbxSender->setCurrentIndex(0);
    ChooseSender(senderRecNo, 1);
}

void TDataInquiry::FillSymbolMarkList()
{
    cbxSymbolMark->clear();
    cbxSymbolMark->addItem(QStringLiteral("指定しない"));
    for (const char* mark : SymbolMarks)
        cbxSymbolMark->addItem(QString::fromUtf8(mark));
    cbxSymbolMark->setCurrentIndex(0);
}

void TDataInquiry::SetSymbolColor(qint32 color)
{
    m_symbolColor = color;
    QPalette p = pnlSymbolColor->palette();
    p.setColor(QPalette::Window, WinColor(color));
    pnlSymbolColor->setPalette(p);
}

void TDataInquiry::UpdateMyNumberStatus(const QList<int>& edits)
{
    for (const int index : edits) {
        if (index < 0 || index > 5)
            continue;
        QLineEdit* edit = index == 0 ? edtMyNumber : edtJointMyNumber[size_t(index - 1)];
        QLabel* picture = index == 0 ? imgMyNumberStatus : imgJointMyNumberStatus[size_t(index - 1)];
        QLabel* count = index == 0 ? lblMyNumberCount : lblJointMyNumberCount[size_t(index - 1)];
        const AnsiString text = ToAnsi(edit->text());
        const int n = int(edit->text().size());
        const bool valid = n == 0 || (n == 12 && CheckMyNumber(text, MyNumberIndividual) == MyNumberOk) ||
                           (n == 13 && CheckMyNumber(text, MyNumberCorporate) == MyNumberOk);
        if (!valid) {
            SetBaseColor(edit, WinColor(InvalidNumberColor));
            picture->clear();
            picture->setProperty("picture", QString());
            count->setVisible(true);
        } else {
            SetBaseColor(edit, edit->isEnabled() ? WindowColor() : ButtonFaceColor());
            const QString name = n == 12 ? QStringLiteral("MYNUMBERPRIV")
                                         : (n == 13 ? QStringLiteral("MYNUMBERCORP") : QString());
            picture->setProperty("picture", name);
            if (name.isEmpty())
                picture->clear();
            else
                picture->setPixmap(StatusPicture(n == 13));
            count->setVisible(false);
        }
        count->setText(n == 0 ? QString() : QString::number(n) + QStringLiteral("桁"));
    }
}

void TDataInquiry::UpdatePrivCorpControls()
{
    const bool corp = sbtnCorp->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(nmedtCorpKanji), static_cast<QWidget*>(edtCorpKana),
                       static_cast<QWidget*>(cbxDptmnt), static_cast<QWidget*>(cbxPost),
                       static_cast<QWidget*>(edtEmployeeNo)}) {
        w->setEnabled(corp);
        SetBaseColor(w, corp ? WindowColor() : ButtonFaceColor());
    }
    for (QWidget* w : m_corpLabels)
        w->setEnabled(corp);
    bbtnDptmnt->setEnabled(corp);
    bbtnPost->setEnabled(corp);
    chkIgnoreName->setVisible(corp);
}

bool TDataInquiry::IsProtected() const
{
    return !AdminPassword.isEmpty() && !AdminMode;
}

void TDataInquiry::SetProtectedEdit(QLineEdit* edit, bool on)
{
    edit->setStyle(m_maskStyle);
    edit->setEchoMode(on ? QLineEdit::Password : QLineEdit::Normal);
}

void TDataInquiry::ApplyProtection()
{
    const bool on = IsProtected();
    SetProtectedEdit(edtEnvMyNumber, on);
    SetProtectedEdit(edtMyNumber, on);
    edtMyNumber->setReadOnly(on);
    for (QLineEdit* e : edtJointMyNumber) {
        SetProtectedEdit(e, on);
        e->setReadOnly(on);
    }
    for (QLineEdit* e : edtProtectMemo) {
        SetProtectedEdit(e, on);
        e->setReadOnly(on);
    }
    mmoProtectNote->setReadOnly(on);
    mmoProtectNote->setEnabled(!on);
    pnlProtectNoteMask->setVisible(on);
    if (on)
        pnlProtectNoteMask->raise();
}

void TDataInquiry::ShowOwnNumber()
{
    lblEnvMyNumber->setText(MainSettings.MyNumberLabel.isEmpty() ? QStringLiteral("共通マイナンバー")
                                                                 : MainSettings.MyNumberLabel);
    edtEnvMyNumber->setText(DecryptOrEmpty(MyNumberData));
}

void TDataInquiry::UpdateLinkHints()
{
    bbtnMap->setToolTip(QStringLiteral("地図表示\n") + MapSoftNames().value(MainSettings.Map));
    bbtnRoot->setToolTip(QStringLiteral("路線検索\n") + RootSoftNames().value(MainSettings.Root));
}

void TDataInquiry::ApplyKeywordNames()
{
    for (int i = 0; i < 8; ++i)
        lblKeyword[size_t(i)]->setText(KeywordNames.value(i));
    for (int k = 0; k < 3; ++k)
        bbtnKeyword[size_t(k)]->setToolTip(lblKeyword[size_t(k + 5)]->text() + QStringLiteral("の編集"));
}

void TDataInquiry::ApplyKeywordInputModes()
{
    // The input method cannot be switched by the program here; the mode is kept for the input-method layer.
    for (int i = 0; i < 8; ++i) {
        QWidget* w = i < 5 ? static_cast<QWidget*>(edtKeyword[size_t(i)]) : cbxKeyword[size_t(i - 5)];
        w->setProperty("inputMode", int(KeywordInputModes.value(i, 1)));
    }
}

void TDataInquiry::ApplyProtectMemoNames()
{
    for (int i = 0; i < 10; ++i)
        lblProtectMemo[size_t(i)]->setText(ProtectMemoNames.value(i));
}

void TDataInquiry::ApplyProtectMemoInputModes()
{
    for (int i = 0; i < 10; ++i)
        edtProtectMemo[size_t(i)]->setProperty("inputMode", int(ProtectMemoInputModes.value(i, 1)));
}

void TDataInquiry::RebuildJointOwnerList()
{
    cbxJointOwner->clear();
    cbxJointOwner->addItem(QStringLiteral("本人"), 0);
    for (int k = 1; k <= 5; ++k) {
        const QString name = nmedtJoint[size_t(k - 1)]->text();
        if (!name.isEmpty())
            cbxJointOwner->addItem(name, k);
    }
    cbxJointOwner->setCurrentIndex(cbxJointOwner->findData(m_jointOwner));
}

void TDataInquiry::nmedtJointChange(int k)
{
    const QString text = nmedtJoint[size_t(k - 1)]->text();
    if (!text.isEmpty() && k == m_jointOwner && cbxJointOwner->currentIndex() > 0)
        cbxJointOwner->setItemText(cbxJointOwner->currentIndex(), text);
    QComboBox* honor = cbxJointHonor[size_t(k - 1)];
    const bool enable = !text.isEmpty();
    const bool was = honor->isEnabled();
    honor->setEnabled(enable);
    SetBaseColor(honor, enable ? WindowColor() : ButtonFaceColor());
    if (!enable && was) {
        if (k == m_jointOwner) {
            cbxJointOwner->setCurrentIndex(0);
            m_jointOwner = 0;
        }
        honor->setEditText(QString());
        sbtnJointPrint[size_t(k - 1)]->setChecked(false);
        UpdateJointPrintGlyph(k);
    }
    bool any = false;
    for (QComboBox* c : cbxJointHonor)
        any = any || c->isEnabled();
    bbtnJointHonor->setEnabled(any);
}

void TDataInquiry::sbtnJointPrintClick(int k)
{
    QToolButton* b = k == 0 ? sbtnJointPrintM : sbtnJointPrint[size_t(k - 1)];
    if (b->isChecked()) {
        if (k > 0 && !cbxJointHonor[size_t(k - 1)]->isEnabled())
            b->setChecked(false);
    } else if (k == m_jointOwner) {
        b->setChecked(true);
    }
    UpdateJointPrintGlyph(k);
}

void TDataInquiry::SetPicture(QToolButton* button, const QString& name)
{
    button->setProperty("picture", name);
    button->setIcon(ButtonPicture(name));
    // Buttons that carry a word keep it beside the picture; "…" and the arrows are the picture alone.
    const QString text = button->text();
    const bool symbolOnly =
        text == QStringLiteral("…") || text.contains(QChar(0x25C0)) || text.contains(QChar(0x25B6));
    button->setToolButtonStyle(symbolOnly ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
}

void TDataInquiry::LoadButtonPictures()
{
    static const std::pair<const char*, const char*> pictures[] = {
        {"sbtnFirst", "LEFTEND"},
        {"sbtnPrior", "LEFT"},
        {"sbtnNext", "RIGHT"},
        {"sbtnLast", "RIGHTEND"},
        {"bbtnNew", "NEWADD"},
        {"bbtnEditGroup", "EDIT"},
        {"bbtnGetJisCode", "EDIT"},
        {"bbtnTelSch", "TELSCH"},
        {"bbtnPosSch", "POSSCH"},
        {"bbtnAdrsSearch", "ADRSSCH"},
        {"bbtnMap", "MAP"},
        {"bbtnQRMap", "QRCODE"},
        {"bbtnRoot", "TRAIN"},
        {"sbtnPriv", "HOME"},
        {"sbtnCorp", "CORP"},
        {"bbtnWebSearch", "WEBSEARCH"},
        {"bbtnDptmnt", "LISTEDIT"},
        {"bbtnPost", "LISTEDIT"},
        {"bbtnHonor", "LISTEDIT"},
        {"bbtnJointHonor", "LISTEDIT"},
        {"bbtnKeyword6", "LISTEDIT"},
        {"bbtnKeyword7", "LISTEDIT"},
        {"bbtnKeyword8", "LISTEDIT"},
        {"bbtnGetURL", "GETURL"},
        {"bbtnOpenURL", "OPENURL"},
        {"bbtnEMail1", "MAIL"},
        {"bbtnEMail2", "MAIL"},
        {"sbtnPrintTarget", "PRINTER"},
        {"sbtnPrintException", "NOPRINT"},
        {"bbtnAddExtLink", "SETFILE"},
        {"bbtnDelExtLink", "DELFILE"},
        {"bbtnOpenExtLink", "INQUIRY"},
        {"bbtnSymbolColor", "COLORSET"},
        {"bbtnCopySetting", "COPY"},
    };
    for (const auto& [button, picture] : pictures)
        if (auto* b = findChild<QToolButton*>(QLatin1String(button)))
            SetPicture(b, QLatin1String(picture));
}

void TDataInquiry::UpdateJointPrintGlyph(int k)
{
    QToolButton* b = k == 0 ? sbtnJointPrintM : sbtnJointPrint[size_t(k - 1)];
    SetPicture(b, b->isChecked() ? QStringLiteral("PRINTER") : QStringLiteral("NOPRINT"));
}

void TDataInquiry::ShowExtLinks(const QStringList& links)
{
    lvExtLink->clear();
    for (int i = 0; i < links.size(); ++i)
        new QTreeWidgetItem(lvExtLink, {QString::number(i + 1), links[i]});
    UpdateExtLinkButtons();
}

void TDataInquiry::UpdateExtLinkButtons()
{
    const int n = lvExtLink->topLevelItemCount();
    // A file can always be added; a URL waits for the URL entry window.
    bbtnAddExtLink->setEnabled(n < MaxExtLinks);
    pmiExtURL->setEnabled(HasCardService(TCardService::AddExtLink));
    bbtnDelExtLink->setEnabled(n > 0);
}

// ---------------------------------------------------------------------------------------------------------
// Values of the controls

TCardValues TDataInquiry::FormValues() const
{
    TCardValues v;
    v.Group = m_group;
    v.CustomCode = LimitedText(edtCustomCode);
    v.Tel = LimitedText(edtTel);
    v.MainNumber = chkMainNumber->isChecked();
    v.Fax = LimitedText(edtFax);
    v.PubDate = edtPubDate->text();
    v.Portable1 = LimitedText(edtPortable1);
    v.Portable2 = LimitedText(edtPortable2);
    v.Pos = LimitedText(edtPos);
    v.Tdfkn = LimitedText(edtTdfkn);
    v.Adrs1 = LimitedText(edtAdrs1);
    v.Adrs2 = LimitedText(edtAdrs2);
    v.Adrs3 = LimitedText(edtAdrs3);
    v.AdrsKana = edtAdrsKana->text(); // readings are checked against their fields, never cut
    v.JisCode = edtJisCode->text();
    v.KajoCode = lblKajoCode->text();
    v.Latitude = m_latitude;
    v.Longitude = m_longitude;
    v.Priv = sbtnPriv->isChecked();
    v.MyNumber = LimitedText(edtMyNumber);
    v.CorpKanji = Cp932::cutToBytes(nmedtCorpKanji->text(), 112);
    v.CorpKana = edtCorpKana->text();
    v.Dptmnt = LimitedText(cbxDptmnt);
    v.Post = LimitedText(cbxPost);
    v.EmployeeNo = LimitedText(edtEmployeeNo);
    v.NameKanji = nmedtNameKanji->text().left(15);
    v.NameKana = nmedtNameKana->text();
    v.Honor = LimitedText(cbxHonor);
    v.IgnoreName = chkIgnoreName->isChecked();
    v.CodeMain = cbxCatMain->currentData().toInt();
    v.CodeSub = cbxCatSub->currentIndex() >= 0 ? cbxCatSub->currentData().toInt() % 100 : 0;
    v.URL = LimitedText(edtURL);
    v.EMail1 = LimitedText(edtEMail1);
    v.EMail2 = LimitedText(edtEMail2);
    for (size_t i = 0; i < 5; ++i) {
        v.Joint[i] = nmedtJoint[i]->text().left(11);
        v.JointHonor[i] = LimitedText(cbxJointHonor[i]);
        v.JointMyNumber[i] = LimitedText(edtJointMyNumber[i]);
        v.JointPrint[i] = sbtnJointPrint[i]->isChecked();
    }
    v.JointOwner = m_jointOwner;
    v.JointPrintM = sbtnJointPrintM->isChecked();
    v.PrintTarget = sbtnPrintTarget->isChecked();
    v.PrintException = sbtnPrintException->isChecked();
    v.Sender = m_sender;
    for (size_t i = 0; i < 5; ++i)
        v.Keyword[i] = LimitedText(edtKeyword[i]);
    for (size_t i = 0; i < 3; ++i)
        v.Keyword[i + 5] = LimitedText(cbxKeyword[i]);
    v.Note = mmoNote->toPlainText();
    for (size_t i = 0; i < 10; ++i)
        v.ProtectMemo[i] = LimitedText(edtProtectMemo[i]);
    v.ProtectNote = mmoProtectNote->toPlainText();
    for (int i = 0; i < lvExtLink->topLevelItemCount(); ++i)
        v.ExtLink.append(lvExtLink->topLevelItem(i)->text(1));
    v.SymbolIndex = std::max(0, cbxSymbolMark->currentIndex());
    v.SymbolColor = m_symbolColor;
    v.AddDateTime = edtAddDateTime->text();
    v.UpdDateTime = edtUpdDateTime->text();
    return v;
}

void TDataInquiry::SetFormValues(const TCardValues& v)
{
    m_group = v.Group >= 0 && v.Group <= 10 ? v.Group : 0;
    cbxGroup->setCurrentIndex(m_group);
    edtCustomCode->setText(v.CustomCode);
    edtTel->setText(v.Tel);
    chkMainNumber->setChecked(v.MainNumber);
    edtFax->setText(v.Fax);
    edtPubDate->setText(v.PubDate);
    edtPortable1->setText(v.Portable1);
    edtPortable2->setText(v.Portable2);
    edtPos->setText(v.Pos);
    edtTdfkn->setText(v.Tdfkn);
    edtAdrs1->setText(v.Adrs1);
    edtAdrs2->setText(v.Adrs2);
    edtAdrs3->setText(v.Adrs3);
    edtAdrsKana->setText(v.AdrsKana);
    edtJisCode->setText(v.JisCode);
    lblKajoCode->setText(v.KajoCode);
    m_latitude = v.Latitude;
    m_longitude = v.Longitude;
    (v.Priv ? sbtnPriv : sbtnCorp)->setChecked(true);
    UpdatePrivCorpControls();
    edtMyNumber->setText(v.MyNumber);
    nmedtCorpKanji->setText(v.CorpKanji);
    edtCorpKana->setText(v.CorpKana);
    cbxDptmnt->setCurrentIndex(-1);
    cbxDptmnt->setEditText(v.Dptmnt);
    cbxPost->setCurrentIndex(-1);
    cbxPost->setEditText(v.Post);
    edtEmployeeNo->setText(v.EmployeeNo);
    nmedtNameKanji->setText(v.NameKanji);
    nmedtNameKana->setText(v.NameKana);
    cbxHonor->setCurrentIndex(-1);
    cbxHonor->setEditText(v.Honor);
    chkIgnoreName->setChecked(v.IgnoreName);
    FillCategoryMainList(v.CodeMain);
    FillCategorySubList(v.CodeSub);
    edtURL->setText(v.URL);
    edtEMail1->setText(v.EMail1);
    edtEMail2->setText(v.EMail2);

    m_jointOwner = 0;
    for (size_t i = 0; i < 5; ++i) {
        nmedtJoint[i]->setText(v.Joint[i]);
        nmedtJointChange(int(i) + 1);
        cbxJointHonor[i]->setCurrentIndex(-1);
        cbxJointHonor[i]->setEditText(v.JointHonor[i]);
        edtJointMyNumber[i]->setText(v.JointMyNumber[i]);
    }
    m_jointOwner = v.JointOwner;
    RebuildJointOwnerList();
    sbtnJointPrintM->setChecked(v.JointPrintM);
    UpdateJointPrintGlyph(0);
    for (size_t i = 0; i < 5; ++i) {
        sbtnJointPrint[i]->setChecked(v.JointPrint[i]);
        UpdateJointPrintGlyph(int(i) + 1);
    }
    sbtnPrintTarget->setChecked(v.PrintTarget);
    sbtnPrintException->setChecked(!v.PrintTarget && v.PrintException);
    ChooseSender(v.Sender, 1);
    for (size_t i = 0; i < 5; ++i)
        edtKeyword[i]->setText(v.Keyword[i]);
    for (size_t i = 0; i < 3; ++i) {
        cbxKeyword[i]->setCurrentIndex(-1);
        cbxKeyword[i]->setEditText(v.Keyword[i + 5]);
    }
    mmoNote->setPlainText(v.Note);
    for (size_t i = 0; i < 10; ++i)
        edtProtectMemo[i]->setText(v.ProtectMemo[i]);
    mmoProtectNote->setPlainText(v.ProtectNote);
    ShowExtLinks(v.ExtLink);
    cbxSymbolMark->setCurrentIndex(v.SymbolIndex >= 0 && v.SymbolIndex <= 6 ? v.SymbolIndex : 0);
    SetSymbolColor(v.SymbolColor);
    edtAddDateTime->setText(v.AddDateTime);
    edtUpdDateTime->setText(v.UpdDateTime);
}

void TDataInquiry::ClearForm()
{
    SelectPage(0);
    TCardValues empty;
    empty.Group = m_group;
    empty.Priv = sbtnPriv->isChecked();
    SetFormValues(empty);
    cbxDptmnt->setEditText(QString());
}

void TDataInquiry::RecordToForm(TAdrsDataRec& rec)
{
    SetFormValues(RecordToValues(rec));
    // A sender that is gone shows as the standard one and is not a change.
    if (m_sender != rec.Sender)
        rec.Sender = 0;
}

void TDataInquiry::DirectoryRecordToForm(const TDirDetailRec& detail)
{
    SetFormValues(DirectoryToValues(detail, FormValues()));
}

void TDataInquiry::KeepRecordCopy(const TAdrsDataRec& rec)
{
    m_loaded = rec;
}

void TDataInquiry::FormToRecord(bool takeSnapshot)
{
    m_snapshot.reset();
    if (takeSnapshot)
        m_snapshot = ValuesToRecord(FormValues());
}

bool TDataInquiry::IsModified(const TAdrsDataRec& baseline) const
{
    return ::IsModified(FormValues(), baseline);
}

bool TDataInquiry::HasUnsavedInput() const
{
    if (m_loaded)
        return IsModified(*m_loaded);
    if (m_snapshot)
        return IsModified(*m_snapshot);
    return IsModified(BlankTemplate(sbtnPriv->isChecked()));
}

void TDataInquiry::ApplyBatchChange(const TAdrsDataRec& rec, const std::bitset<17>& flags)
{
    TCardValues v = FormValues();
    const TCardValues n = RecordToValues(rec);
    TAdrsDataRec* loaded = m_loaded ? &*m_loaded : nullptr;
    if (flags[0]) {
        v.Group = n.Group;
        if (loaded)
            loaded->Group = rec.Group;
    }
    if (flags[1]) {
        v.JisCode = n.JisCode;
        v.KajoCode = n.KajoCode;
        if (loaded) {
            loaded->JisCode = rec.JisCode;
            loaded->KajoCode = rec.KajoCode;
        }
    }
    if (flags[2]) {
        v.Priv = n.Priv;
        if (loaded)
            loaded->PrivCorp = rec.PrivCorp;
    }
    if (flags[3]) {
        v.IgnoreName = n.IgnoreName;
        if (loaded)
            loaded->IgnoreName = rec.IgnoreName;
    }
    if (flags[4]) {
        v.CodeMain = n.CodeMain;
        v.CodeSub = n.CodeSub;
        if (loaded) {
            loaded->CodeMain = rec.CodeMain;
            loaded->CodeSub = rec.CodeSub;
        }
    }
    if (flags[5]) {
        v.PrintTarget = n.PrintTarget;
        v.PrintException = n.PrintException;
        if (loaded)
            loaded->PrintTarget = rec.PrintTarget;
    }
    if (flags[6] && cbxSender->findData(rec.Sender) >= 0) {
        v.Sender = rec.Sender;
        if (loaded)
            loaded->Sender = rec.Sender;
    }
    for (size_t i = 0; i < 8; ++i)
        if (flags[7 + i]) {
            v.Keyword[i] = n.Keyword[i];
            if (loaded)
                loaded->*AdrsKeywordFields[i] = rec.*AdrsKeywordFields[i];
        }
    if (flags[15]) {
        v.SymbolIndex = n.SymbolIndex;
        if (loaded)
            loaded->SymbolMark = rec.SymbolMark;
    }
    if (flags[16]) {
        v.SymbolColor = n.SymbolColor;
        if (loaded)
            loaded->SymbolColor = rec.SymbolColor;
    }
    v.UpdDateTime = FormatCardDateTime(rec.UpdDateTime, false);
    const int page = pgctlData->currentIndex();
    SetFormValues(v);
    SelectPage(page);
    if (loaded)
        loaded->UpdDateTime = rec.UpdDateTime;
}

// ---------------------------------------------------------------------------------------------------------
// Modes and navigation

namespace {

// The busy cursor for the length of a handler.
const QString CaptionRegister = QStringLiteral("アドレス帳情報登録");
const QString CaptionInquiry = QStringLiteral("アドレス帳情報照会");

} // namespace

TCardListSource* TDataInquiry::SourceWindow(int kind) const
{
    if (TCardListSource* source = CardListWindow(kind))
        return source;
    return kind == lsAddressList ? m_book : nullptr;
}

void TDataInquiry::ResetListCurrents()
{
    for (const int kind : {lsNameAdrsSearch, lsCategorySearch, lsAddressList})
        if (TCardListSource* source = SourceWindow(kind))
            source->SetCurrentIndex(-1);
}

void TDataInquiry::SetListSource(int source)
{
    if (source == m_listSource)
        return;
    m_listSource = source;
    for (const int kind : {lsNameAdrsSearch, lsCategorySearch, lsAddressList})
        if (TCardListSource* window = SourceWindow(kind))
            window->UpdateListColor();
}

void TDataInquiry::SetShowingItem(int mark)
{
    if (mark == m_showingItem)
        return;
    m_showingItem = mark;
    for (const int kind : {lsNameAdrsSearch, lsCategorySearch, lsAddressList})
        if (TCardListSource* window = SourceWindow(kind))
            window->UpdateListColor();
}

void TDataInquiry::DisableNavigation()
{
    for (QToolButton* b : {sbtnFirst, sbtnPrior, sbtnNext, sbtnLast})
        b->setEnabled(false);
    lblNowRec->setText(QStringLiteral("---"));
    lblTotalRec->setText(QStringLiteral("---"));
}

void TDataInquiry::UpdateNavigation()
{
    TCardListSource* source = m_listSource >= 0 ? SourceWindow(m_listSource) : nullptr;
    if (!source) {
        DisableNavigation();
        return;
    }
    const bool first = source->IsAtFirst();
    const bool last = source->IsAtLast();
    sbtnFirst->setEnabled(!first);
    sbtnPrior->setEnabled(!first);
    sbtnNext->setEnabled(!last);
    sbtnLast->setEnabled(!last);
    const int index = source->GetCurrentIndex();
    const int count = source->GetItemCount();
    lblNowRec->setText(index >= 0 ? QString::number(index + 1) : QStringLiteral("---"));
    lblTotalRec->setText(count > 0 ? QString::number(count) : QStringLiteral("---"));
}

void TDataInquiry::ShowAddressRecord(const TAdrsDataRec& rec)
{
    SetShowingItem(1);
    setWindowTitle(CaptionInquiry);
    if (m_snapshot) {
        m_snapshot.reset();
        if (TCardListSource* search = SourceWindow(lsNameAdrsSearch))
            search->SetCurrentIndex(-1);
    }
    chkContinualAdd->setEnabled(false);
    TAdrsDataRec copy = rec;
    RecordToForm(copy);
    UpdateMyNumberStatus({0, 1, 2, 3, 4, 5});
    KeepRecordCopy(copy);
    UpdateNavigation();
    btnUpdate->setEnabled(true);
    btnDelete->setEnabled(true);
    if (isVisible() && pgctlData->currentIndex() == 0)
        cbxGroup->setFocus();
}

void TDataInquiry::ShowDirectoryRecord(const TDirDetailRec& detail)
{
    SetShowingItem(1);
    setWindowTitle(CaptionRegister);
    if (m_loaded) {
        m_loaded.reset();
        if (TCardListSource* list = SourceWindow(lsAddressList))
            list->SetCurrentIndex(-1);
    }
    chkContinualAdd->setEnabled(false);
    chkContinualAdd->setChecked(false);
    ClearForm();
    DirectoryRecordToForm(detail);
    UpdateMyNumberStatus({0, 1, 2, 3, 4, 5});
    if (MainSettings.OutOfTarget)
        FormToRecord(true);
    else
        m_snapshot.reset();
    UpdateNavigation();
    btnUpdate->setEnabled(false);
    btnDelete->setEnabled(false);
    if (isVisible() && pgctlData->currentIndex() == 0)
        cbxGroup->setFocus();
}

void TDataInquiry::NewRecord()
{
    if (isVisible())
        bbtnNewClick();
    else
        m_showingItem = 0;
}

void TDataInquiry::OpenNumberSearch()
{
    // Argument 1: the lookup of a new record, offering to keep the searched area code.
    RunCardService(TCardService::TelLookup, *this, 1);
    cbxGroup->setFocus();
}

void TDataInquiry::bbtnNewClick()
{
    TBusyCursor busy;
    if (ConfirmPendingChanges(0, 1) == 9)
        return;
    SetShowingItem(0);
    setWindowTitle(CaptionRegister);
    m_snapshot.reset();
    m_loaded.reset();
    ResetListCurrents();
    chkContinualAdd->setEnabled(true);
    UpdateNavigation();
    btnUpdate->setEnabled(false);
    btnDelete->setEnabled(false);
    ClearForm();
    OpenNumberSearch();
}

void TDataInquiry::sbtnMoveRecordClick(int tag)
{
    TBusyCursor busy;
    const int answer = ConfirmPendingChanges(0, 0);
    if (answer == 9)
        return;
    if (TCardListSource* source = m_listSource >= 0 ? SourceWindow(m_listSource) : nullptr) {
        TCardItem item;
        if (source->MoveAndRead(TCardMove(tag), item)) {
            if (item.isDirectory)
                ShowDirectoryRecord(item.directory);
            else
                ShowAddressRecord(item.address);
        }
    }
    if (answer == 0 && m_book) {
        m_book->RefreshList(false, true, true);
        m_book->SelectIndex(m_book->GetCurrentIndex(), false);
        UpdateNavigation();
    }
}

void TDataInquiry::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (e->spontaneous())
        return;
    if (m_showingItem == 0) {
        setWindowTitle(CaptionRegister);
        QApplication::postEvent(this, new QEvent(MsgOpenNumberSearch));
    } else {
        cbxGroup->setFocus();
    }
}

bool TDataInquiry::event(QEvent* e)
{
    if (e->type() == MsgOpenNumberSearch) {
        OpenNumberSearch();
        return true;
    }
    if (e->type() == MsgNameChosen) {
        const QPointer<TTntNameDic> popup = NameDicPopup;
        if (popup && popup->parentWidget() == this) {
            // Read the pick first: ending the composition may close the popup.
            const QString word = popup->ChosenWord();
            const QString reading = popup->Reading();
            const TNameDicKind kind = popup->NameKind();
            TTntNMDEdit* edit = NameEdit(popup->Tag());
            if (edit)
                edit->InsertWordAndReading(word, reading, kind);
            if (popup)
                popup->close();
            if (edit)
                edit->setFocus();
        }
        return true;
    }
    return QWidget::event(e);
}

// ---------------------------------------------------------------------------------------------------------
// Checking and saving

void TDataInquiry::FocusField(TCardField field)
{
    QLineEdit* edit = nullptr;
    switch (field) {
    case TCardField::CustomCode:
        edit = edtCustomCode;
        break;
    case TCardField::Tel:
        edit = edtTel;
        break;
    case TCardField::Fax:
        edit = edtFax;
        break;
    case TCardField::Portable1:
        edit = edtPortable1;
        break;
    case TCardField::Portable2:
        edit = edtPortable2;
        break;
    case TCardField::Pos:
        edit = edtPos;
        break;
    case TCardField::AdrsKana:
        edit = edtAdrsKana;
        break;
    case TCardField::CorpKana:
        edit = edtCorpKana;
        break;
    case TCardField::NameKana:
        edit = nmedtNameKana;
        break;
    case TCardField::None:
        return;
    }
    SelectPage(0);
    if (field == TCardField::Pos)
        edit->end(false);
    else
        edit->selectAll();
    edit->setFocus();
}

bool TDataInquiry::ValidateInput(bool isNew)
{
    TCardRecordWriter writer(m_data.AdrsTable(), this);
    const auto inUse = [&writer](const AnsiString& code) {
        try {
            return writer.CustomCodeInUse(code);
        } catch (const std::exception&) {
            return false; // an unreadable table shows up when the row is written
        }
    };
    const TValidationResult result =
        ValidateValues(FormValues(), isNew, m_loaded ? &*m_loaded : nullptr, inUse);
    if (result.ok)
        return true;
    MessageBoxPos(this, result.message, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconInformation);
    FocusField(result.field);
    return false;
}

int TDataInquiry::WriteRecord(bool update, qint32* newRecNo)
{
    TCardRecordWriter writer(m_data.AdrsTable(), this);
    writer.CheckSameNumbers = MainSettings.SameNum;
    const int result =
        writer.WriteRecord(FormValues(), update, m_loaded ? &*m_loaded : nullptr, newRecNo, m_clock());
    if (result == wrWritten)
        UpdateInputHistories();
    return result;
}

void TDataInquiry::UpdateInputHistories()
{
    unsigned changed = 0;
    try {
        changed = ::UpdateInputHistories(FormValues(),
                                         [this](TInputListKind kind) { return m_data.InputHistory(kind); });
    } catch (const EHistoryDataError& e) {
        MessageBoxPos(this, e.Message(), ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconStop);
        changed = (1u << InputListCount) - 1;
    }
    RefillInputLists(changed);
}

int TDataInquiry::ConfirmPendingChanges(int onClose, int refreshList)
{
    TConfirmRequest request;
    request.onClose = onClose == 1;
    request.changeData = MainSettings.ChangeData;
    request.formClose = MainSettings.FormClose;
    request.confirmation = MainSettings.Confirmation;
    request.recordLoaded = m_loaded.has_value();
    request.hasUnsavedInput = [this] { return HasUnsavedInput(); };
    request.ask = [this](const QString& text) {
        return MessageBoxPos(this, text, ProductTitle, MsgSeam::MbYesNoCancel | MsgSeam::MbIconQuestion);
    };
    request.validate = [this] { return ValidateInput(!m_loaded); };
    qint32 newRecNo = -1;
    request.write = [this, &newRecNo] { return WriteRecord(m_loaded.has_value(), &newRecNo); };
    request.afterWritten = [this, refreshList, &newRecNo] {
        if (!m_book)
            return;
        if (refreshList == 1) {
            const qint32 recNo = m_loaded ? m_loaded->RecNo : newRecNo;
            m_book->RefreshList(false, true, true);
            m_book->SelectIndex(m_book->IndexOfRecNo(recNo), true);
        }
        if (m_loaded)
            m_book->NotifyRecordsEdited({m_loaded->RecNo});
    };
    request.reportFailure = [] { ApplicationMessageBox(QStringLiteral("update error"), MsgSeam::MbOk); };
    request.askDiscard = [this] {
        return MessageBoxPos(this, DiscardAfterFailureQuestion(), ProductTitle,
                             MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2) ==
               MsgSeam::IdYes;
    };
    return ConfirmPendingChangesPolicy(request, m_skipConfirm);
}

void TDataInquiry::btnAddClick()
{
    TBusyCursor busy;
    if (!ValidateInput(true))
        return;
    qint32 newRecNo = -1;
    const int result = WriteRecord(false, &newRecNo);
    if (result == wrDeclined)
        return;
    if (result == wrFailed) {
        ApplicationMessageBox(QStringLiteral("add error"), MsgSeam::MbOk);
        return;
    }
    if (m_book) {
        m_book->RefreshList(false, true, true);
        m_book->SelectIndex(m_book->IndexOfRecNo(newRecNo), true);
    }
    if (!m_loaded && chkContinualAdd->isChecked()) {
        m_skipConfirm = 1;
        bbtnNewClick();
        return;
    }
    if (m_loaded) {
        TAdrsDataRec rec;
        const int index = m_book ? m_book->IndexOfRecNo(newRecNo) : -1;
        if (index >= 0 && m_book->ReadRecordAt(index, rec)) {
            ShowAddressRecord(rec);
        } else {
            m_skipConfirm = 1;
            CloseCard();
        }
        return;
    }
    const auto hasHit = [this](int kind) {
        TCardListSource* s = CardListWindow(kind);
        return s && s->GetCurrentIndex() >= 0;
    };
    if (hasHit(lsNameAdrsSearch) || hasHit(lsCategorySearch)) {
        FormToRecord(true);
        return;
    }
    m_skipConfirm = 1;
    CloseCard();
}

void TDataInquiry::btnUpdateClick()
{
    TBusyCursor busy;
    // An unchanged card does nothing, not even the input check.
    if (!m_loaded || !HasUnsavedInput() || !ValidateInput(false))
        return;
    const int result = WriteRecord(true);
    if (result == wrDeclined)
        return;
    if (result == wrFailed) {
        ApplicationMessageBox(QStringLiteral("update error"), MsgSeam::MbOk);
        return;
    }
    const qint32 recNo = m_loaded->RecNo;
    if (!m_book) {
        m_skipConfirm = 1;
        CloseCard();
        return;
    }
    const int before = m_book->GetCurrentIndex();
    m_book->RefreshList(false, true, true);
    int index = m_book->GetCurrentIndex();
    if (index < 0) {
        index = std::min(before, m_book->GetItemCount() - 1);
    }
    m_book->SelectIndex(index, true);
    m_book->NotifyRecordsEdited({recNo});
    TAdrsDataRec rec;
    const int current = m_book->GetCurrentIndex();
    if (current >= 0 && m_book->ReadRecordAt(current, rec)) {
        ShowAddressRecord(rec);
    } else {
        m_skipConfirm = 1;
        CloseCard();
    }
}

void TDataInquiry::btnDeleteClick()
{
    if (!m_loaded)
        return;
    if (MessageBoxPos(this, QStringLiteral("このデータを削除します  \r\nよろしいですか？  "), ProductTitle,
                      MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2) != MsgSeam::IdYes)
        return;
    TBusyCursor busy;
    const qint32 recNo = m_loaded->RecNo;
    TCardRecordWriter writer(m_data.AdrsTable(), this);
    QString error;
    if (!writer.DeleteRecord(recNo, &error)) {
        // The row is still there: the card stays and nobody is told of a deletion.
        MessageBoxPos(this,
                      QStringLiteral("このデータを削除できませんでした  \r\n") + error + QStringLiteral("  "),
                      ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconStop);
        return;
    }
    if (m_book) {
        const int current = m_book->GetCurrentIndex();
        m_book->RefreshList(false, true, true);
        m_book->SelectIndex(current, true);
        m_book->NotifyRecordsDeleted({recNo});
    }
    m_skipConfirm = 1;
    CloseCard();
}

void TDataInquiry::bbtnEditListClick(int tag)
{
    TBusyCursor busy;
    TInputList dialog(m_data, KeywordNames, this);
    CenterForm(&dialog, this);
    dialog.SetListKind(tag);
    QApplication::restoreOverrideCursor();
    const int result = dialog.exec();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (result == QDialog::Accepted)
        RefillInputLists(dialog.GetChangedLists());
}

// ---------------------------------------------------------------------------------------------------------
// Closing

void TDataInquiry::CloseCard()
{
    close();
}

void TDataInquiry::closeEvent(QCloseEvent* e)
{
    if (ConfirmPendingChanges(1, 1) == 9) {
        e->ignore();
        return;
    }
    m_snapshot.reset();
    m_loaded.reset();
    m_listSource = -1;
    for (const int kind : {lsNameAdrsSearch, lsCategorySearch, lsAddressList})
        if (TCardListSource* source = SourceWindow(kind)) {
            source->SetCurrentIndex(-1);
            source->UpdateListColor();
        }
    e->accept();
}

// ---------------------------------------------------------------------------------------------------------
// Keyboard, pages and the mouse wheel

namespace {

// Focuses control; with caretAtEnd an edit (or an editable drop-down) gets its caret at the end of its text,
// otherwise the control is entered as by Tab.
void FocusControl(QWidget* control, bool caretAtEnd)
{
    if (!control)
        return;
    QLineEdit* edit = qobject_cast<QLineEdit*>(control);
    if (auto* combo = qobject_cast<QComboBox*>(control))
        edit = combo->lineEdit();
    if (caretAtEnd && edit) {
        edit->deselect();
        edit->setCursorPosition(int(edit->text().size()));
        control->setFocus(Qt::OtherFocusReason);
    } else {
        control->setFocus(Qt::TabFocusReason);
    }
}

bool CanTakeFocus(const QWidget* w)
{
    return w && w->isVisible() && w->isEnabled() && w->focusPolicy() != Qt::NoFocus;
}

} // namespace

QWidget* TDataInquiry::SaveButton() const
{
    return m_loaded ? btnUpdate : btnAdd;
}

void TDataInquiry::BuildEnterRoutes()
{
    const auto next = [this](QWidget* control) { m_enterRoutes.insert(control, TEnterRoute{}); };
    const auto to = [this](QWidget* control, bool caretAtEnd, std::function<QWidget*()> target) {
        m_enterRoutes.insert(control, TEnterRoute{std::move(target), caretAtEnd});
    };
    const auto fixed = [to](QWidget* control, QWidget* target, bool caretAtEnd) {
        to(control, caretAtEnd, [target] { return target; });
    };

    for (QWidget* w : std::initializer_list<QWidget*>{
             edtFax, edtPortable1, edtPortable2, edtTdfkn, edtAdrs2, edtAdrs3, edtCorpKana, chkIgnoreName,
             nmedtNameKanji, nmedtNameKana, chkMainNumber, edtCustomCode, edtPubDate, edtEnvMyNumber,
             edtEmployeeNo, cbxJointOwner, edtUpdDateTime})
        next(w);
    for (size_t i = 0; i < 5; ++i) {
        next(nmedtJoint[i]);
        next(edtJointMyNumber[i]);
        next(edtKeyword[i]);
        if (i > 0)
            next(cbxJointHonor[i]);
    }
    for (QLineEdit* e : edtProtectMemo)
        next(e);

    const auto hasPrefecture = [this] { return !TrimBlanks(edtTdfkn->text()).isEmpty(); };
    fixed(cbxGroup, edtCustomCode, true);
    to(edtTel, false,
       [this, hasPrefecture] { return hasPrefecture() ? static_cast<QWidget*>(chkMainNumber) : bbtnTelSch; });
    to(edtPos, true,
       [this, hasPrefecture] { return hasPrefecture() ? static_cast<QWidget*>(edtTdfkn) : bbtnPosSch; });
    fixed(edtJisCode, edtTdfkn, true);
    fixed(edtAdrs1, edtAdrs2, true);
    const auto afterMyNumber = [this]() -> QWidget* {
        return sbtnPriv->isChecked() ? static_cast<QWidget*>(nmedtNameKanji) : nmedtCorpKanji;
    };
    // Locked protected fields are passed over.
    to(edtAdrsKana, true, [this, afterMyNumber] { return IsProtected() ? afterMyNumber() : edtMyNumber; });
    to(edtMyNumber, true, afterMyNumber);
    fixed(nmedtCorpKanji, edtCorpKana, true);
    fixed(cbxDptmnt, cbxPost, false);
    fixed(cbxPost, edtEmployeeNo, true);
    to(cbxHonor, false,
       [this] { return sbtnCorp->isChecked() ? static_cast<QWidget*>(chkIgnoreName) : cbxCatMain; });
    to(cbxCatMain, false, [this] { return cbxCatSub->isEnabled() ? cbxCatSub : SaveButton(); });
    to(cbxCatSub, false, [this] { return SaveButton(); });
    fixed(edtURL, edtEMail1, true);
    fixed(edtEMail1, edtEMail2, true);
    fixed(edtEMail2, nmedtJoint[0], true);
    fixed(cbxJointHonor[0], edtJointMyNumber[0], true);
    to(cbxSender, false, [this] { return SaveButton(); });
    fixed(cbxKeyword[0], cbxKeyword[1], false);
    fixed(cbxKeyword[1], cbxKeyword[2], false);
    fixed(cbxKeyword[2], mmoNote, false);
    fixed(lvExtLink, cbxSymbolMark, false);
    to(cbxSymbolMark, false, [this] { return SaveButton(); });
    fixed(edtAddDateTime, edtUpdDateTime, true);

    for (auto it = m_enterRoutes.cbegin(); it != m_enterRoutes.cend(); ++it)
        it.key()->installEventFilter(this);
    // Enter on a focused button presses it, so that the last field's Enter and a second Enter save.
    for (QAbstractButton* b : findChildren<QAbstractButton*>())
        if (!b->isCheckable() && !m_enterRoutes.contains(b))
            b->installEventFilter(this);
    mmoNote->installEventFilter(this);
}

bool TDataInquiry::EnterPressed(QWidget* control)
{
    const auto found = m_enterRoutes.constFind(control);
    if (found == m_enterRoutes.constEnd()) {
        auto* button = qobject_cast<QAbstractButton*>(control);
        if (!button || button->isCheckable())
            return false;
        button->click();
        return true;
    }
    QWidget* target = found->target ? found->target() : nullptr;
    bool caretAtEnd = found->caretAtEnd;
    if (!CanTakeFocus(target)) {
        target = TEnterMovesFocus::nextInTabOrder(control);
        // The Unicode name edits keep their select-all entry; the others get the caret at the end.
        caretAtEnd = qobject_cast<QLineEdit*>(target) && !qobject_cast<TTntNMDEdit*>(target);
    }
    FocusControl(target, caretAtEnd);
    return true;
}

bool TDataInquiry::eventFilter(QObject* watched, QEvent* e)
{
    switch (e->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(e);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier))
            break;
        // During a composition Enter belongs to the input method and the name-reading popup.
        if (const auto* nmd = dynamic_cast<const TNMDBehaviour*>(watched); nmd && nmd->Composing())
            break;
        if (auto* w = qobject_cast<QWidget*>(watched); w && EnterPressed(w))
            return true;
        break;
    }
    case QEvent::FocusOut:
        if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
            const int limit = edit->property("byteLimit").toInt();
            if (limit > 0 && Cp932::byteLength(edit->text()) > limit)
                edit->setText(Cp932::cutToBytes(edit->text(), limit));
        } else if (watched == mmoNote) {
            // A note that holds anything ends with a line break.
            const QString text = mmoNote->toPlainText();
            if (!TrimBlanks(text).isEmpty() && !text.endsWith(QLatin1Char('\n'))) {
                QTextCursor cursor(mmoNote->document());
                cursor.movePosition(QTextCursor::End);
                cursor.insertText(QStringLiteral("\n"));
            }
        }
        break;
    case QEvent::Wheel:
        if (watched == pgctlData->tabBar()) {
            auto* wheel = static_cast<QWheelEvent*>(e);
            const QPoint at = wheel->position().toPoint();
            QTabBar* bar = pgctlData->tabBar();
            const int count = bar->count();
            for (int i = 0; i < count; ++i)
                if (bar->tabRect(i).contains(at)) {
                    const int delta =
                        wheel->angleDelta().y() != 0 ? wheel->angleDelta().y() : wheel->angleDelta().x();
                    const int current = pgctlData->currentIndex();
                    pgctlData->setCurrentIndex(delta < 0 ? (current + 1) % count
                                                         : (current + count - 1) % count);
                    wheel->accept();
                    return true;
                }
        }
        break;
    case QEvent::Show:
        if (watched->property("placeOverCard").toBool())
            PlaceDialog(static_cast<QWidget*>(watched));
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, e);
}

void TDataInquiry::SelectPage(int index)
{
    // Pages the card turns itself do not move the focus; only the user's choice does.
    const bool was = m_pageByProgram;
    m_pageByProgram = true;
    pgctlData->setCurrentIndex(index);
    m_pageByProgram = was;
}

void TDataInquiry::pgctlDataChange(int index)
{
    struct Page
    {
        QWidget* page;
        int helpContext;
        QWidget* focus;
        bool caretAtEnd;
    };
    const Page pages[] = {
        {tabstMain, 53, cbxGroup, false},     {tabstSub, 55, edtURL, true},
        {tabstMemo, 56, edtKeyword[0], true}, {tabstProtectMemo, 57, edtProtectMemo[0], true},
        {tabstOther, 58, lvExtLink, false},
    };
    QWidget* shown = pgctlData->widget(index);
    for (const Page& p : pages)
        if (p.page == shown) {
            setProperty("helpContext", p.helpContext);
            FocusControl(p.focus, p.caretAtEnd);
        }
}

void TDataInquiry::moveEvent(QMoveEvent* e)
{
    QWidget::moveEvent(e);
    if (NameDicPopup && NameDicPopup->parentWidget() == this)
        if (TTntNMDEdit* edit = NameEdit(NameDicPopup->Tag()))
            NameDicPopup->PlaceUnder(edit);
}

void TDataInquiry::PlaceDialog(QWidget* dialog) const
{
    // 15 pixels into the card, kept on the desktop's work area; the size stays.
    const QPoint corner = frameGeometry().topLeft() + QPoint(15, 15);
    int x = std::max(0, corner.x());
    int y = std::max(0, corner.y());
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect work = screen->availableGeometry();
        const QSize size = dialog->frameGeometry().size();
        if (x + size.width() > work.x() + work.width())
            x = work.x() + work.width() - size.width();
        if (y + size.height() > work.y() + work.height())
            y = work.y() + work.height() - size.height();
    }
    dialog->move(x, y);
}

// ---------------------------------------------------------------------------------------------------------
// The name-reading popup

TTntNMDEdit* TDataInquiry::NameEdit(int tag) const
{
    if (tag == 0)
        return nmedtNameKanji;
    if (tag == 1)
        return nmedtNameKana;
    if (tag >= 2 && tag <= 6)
        return nmedtJoint[size_t(tag - 2)];
    return nullptr;
}

void TDataInquiry::WireNameEdits()
{
    for (int tag = 0; tag <= 6; ++tag) {
        TTntNMDEdit* edit = NameEdit(tag);
        edit->setProperty("tag", tag);
        edit->OnConvertNeed = [this, tag](QWidget*, TNameDicKind kind, bool show, const QString& value) {
            nmedtNameConvertNeed(tag, kind, show, value);
        };
        edit->OnConvertKeyDown = [](QWidget*, int& key, bool& result) {
            result = TTntNameDic::ConvertKeyDown(key);
        };
    }
}

void TDataInquiry::nmedtNameConvertNeed(int tag, TNameDicKind kind, bool show, const QString& value)
{
    const bool showing = NameDicPopup && NameDicPopup->isVisible();
    if (show && !showing && tag <= 1) {
        // A surname typed while the reading edit already holds one does not overwrite it; a given name is
        // always added to it.
        const bool copy = kind == nkFirst || TrimBlanks(nmedtNameKana->text()).isEmpty();
        nmedtNameKanji->SetAssociate(copy ? nmedtNameKana : nullptr);
    }
    TTntNameDic::ConvertNeed(this, NameEdit(tag), tag, tag > 1 ? nkFirst : kind, show, value, Qt::blue,
                             ProgramFolder);
}

// ---------------------------------------------------------------------------------------------------------
// Item copy

QString TDataInquiry::CopyText() const
{
    TCopyContext c;
    c.GroupName = m_group > 0 ? GroupNames.value(m_group) : QString();
    c.EnvMyNumber = edtEnvMyNumber->text();
    c.JointOwnerText = cbxJointOwner->currentText();
    c.SenderText = cbxSender->currentText();
    c.CatMainText = cbxCatMain->currentText();
    c.CatSubText = cbxCatSub->currentText();
    c.Loaded = m_loaded ? &*m_loaded : nullptr;
    c.Protected = IsProtected();
    return CopyItemsText(CopyItemTexts(FormValues(), c), m_copyItems, m_lastReturn);
}

void TDataInquiry::btnCopyClick()
{
    TBusyCursor busy;
    QGuiApplication::clipboard()->setText(CopyText());
}

void TDataInquiry::bbtnCopySettingClick()
{
    TBusyCursor busy;
    TCopyItemSet dialog(this);
    CenterForm(&dialog, this);
    dialog.SetItems(m_copyItems, m_lastReturn);
    QApplication::restoreOverrideCursor();
    const int result = dialog.exec();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (result != QDialog::Accepted)
        return;
    dialog.GetItems(m_copyItems, m_lastReturn);
    SaveCopySettings();
}

void TDataInquiry::SaveCopySettings()
{
    if (DataRootFolder.isEmpty())
        return;
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteString(SectionName, QStringLiteral("CopyItemIndex"), CopyItemIndexText(m_copyItems));
    ini.WriteString(SectionName, QStringLiteral("CopyItemCopy"), CopyItemCopyText(m_copyItems));
    ini.WriteBool(SectionName, QStringLiteral("LastReturn"), m_lastReturn);
    QString error;
    if (!ini.UpdateFile(&error))
        MessageBoxPos(this, QStringLiteral("コピーする項目の設定を保存できませんでした  \r\n") + error,
                      ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconStop);
}

// ---------------------------------------------------------------------------------------------------------
// External links, symbol colour and web search

void TDataInquiry::AddExtLink(const QString& text)
{
    if (text.isEmpty())
        return;
    const int n = lvExtLink->topLevelItemCount();
    for (int i = 0; i < n; ++i)
        if (TMemIniFile::SameName(lvExtLink->topLevelItem(i)->text(1), text))
            return;
    if (n >= MaxExtLinks)
        return;
    // The book keeps links as Shift-JIS text: a link it cannot hold would be stored broken.
    if (!Cp932::canEncode(text)) {
        MessageBoxPos(
            this,
            QStringLiteral("このリンク先には保存できない文字が含まれているため登録できません  \r\n") + text,
            ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconInformation);
        return;
    }
    auto* item = new QTreeWidgetItem(lvExtLink, {QString::number(n + 1), text});
    lvExtLink->setCurrentItem(item);
    UpdateExtLinkButtons();
}

void TDataInquiry::bbtnAddExtLinkClick()
{
    QAction* chosen = pmAddExtLink->exec(bbtnAddExtLink->mapToGlobal(QPoint(4, 4)));
    if (chosen == pmiExtFile)
        pmiExtFileClick();
    else if (chosen == pmiExtURL)
        pmiExtURLClick();
}

void TDataInquiry::pmiExtFileClick()
{
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && !documents.endsWith(QLatin1Char('/')))
        documents += QLatin1Char('/');
    QFileDialog dialog(this, QString(), documents, QStringLiteral("すべてのファイル (*)"));
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setProperty("placeOverCard", true);
    dialog.installEventFilter(this);
    if (dialog.exec() == QDialog::Accepted) {
        const QString file = dialog.selectedFiles().value(0);
        if (QFileInfo(file).isFile())
            AddExtLink(file);
    }
    lvExtLink->setFocus();
}

void TDataInquiry::pmiExtURLClick()
{
    RunCardService(TCardService::AddExtLink, *this);
}

void TDataInquiry::bbtnDelExtLinkClick()
{
    QTreeWidgetItem* item = lvExtLink->currentItem();
    if (!item || !item->isSelected())
        return;
    const int at = lvExtLink->indexOfTopLevelItem(item);
    delete item;
    const int n = lvExtLink->topLevelItemCount();
    for (int i = 0; i < n; ++i)
        lvExtLink->topLevelItem(i)->setText(0, QString::number(i + 1));
    if (n > 0)
        lvExtLink->setCurrentItem(lvExtLink->topLevelItem(std::min(at, n - 1)));
    UpdateExtLinkButtons();
}

void TDataInquiry::bbtnOpenExtLinkClick()
{
    QTreeWidgetItem* item = lvExtLink->currentItem();
    if (!item || !item->isSelected())
        return;
    // The link itself is what opens: never a command line made of the record's text. Links come with
    // imported records too, so one that would start a program asks first.
    const QString link = item->text(1);
    if (IsProgramFile(link) &&
        MessageBoxPos(this,
                      QStringLiteral("「") + link + QStringLiteral("」はプログラムです  \r\n") +
                          QStringLiteral("起動してもよろしいですか？  "),
                      ProductTitle,
                      MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2) != MsgSeam::IdYes)
        return;
    const int result = ShellOpen(link, QString(), QString(), true);
    if (result != 0)
        MessageBoxPos(this,
                      QStringLiteral("リンク先を開くことができませんでした  \r\n") + link +
                          QStringLiteral("  \r\nRC = ") + QString::number(result) + QStringLiteral("  "),
                      ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconInformation);
}

void TDataInquiry::TakeMapPosition(quint32 latitude, quint32 longitude)
{
    if (qint32(latitude) == m_latitude && qint32(longitude) == m_longitude)
        return;
    m_latitude = qint32(latitude);
    m_longitude = qint32(longitude);
    if (!m_loaded)
        return;
    m_loaded->Latitude = m_latitude;
    m_loaded->Longitude = m_longitude;
    int result = wrFailed;
    try {
        TCardRecordWriter writer(m_data.AdrsTable(), this);
        result = writer.WritePosition(m_loaded->RecNo, m_latitude, m_longitude, m_clock());
    } catch (const std::exception&) {
        result = wrFailed; // no table to write to
    }
    if (result == wrFailed)
        ApplicationMessageBox(QStringLiteral("update error"), MsgSeam::MbOk);
}

void TDataInquiry::bbtnSymbolColorClick()
{
    qint32 color = m_symbolColor;
    if (ExecuteColorDialog(this, color, [this](QWidget* dialog) { PlaceDialog(dialog); }))
        SetSymbolColor(color);
}

QString TDataInquiry::WebSearchWord() const
{
    return nmedtCorpKanji->isEnabled() ? nmedtCorpKanji->text() : QString();
}

void TDataInquiry::bbtnWebSearchClick()
{
    // The service shows the hourglass while it makes its window, not while the window is open.
    RunCardService(TCardService::WebSearch, *this);
}
