// The settings dialog and the files it writes.
#include "maintenance/Env.h"

#include "core/AppSub.h"
#include "core/ButtonPictures.h"
#include "core/CstmClr.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "core/ShellSub.h"
#include "maintenance/HDDInst.h"
#include "maintenance/UpdDlg.h"
#include "platform/Cp932.h"
#include "platform/DiskSpace.h"
#include "platform/IniFile.h"
#include "platform/SystemPaths.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSaveFile>
#include <QScreen>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString EnvSection = QStringLiteral("ENVIRONMENT");
const int PageHelpContexts[EnvironmentPageCount] = {2, 5, 6, 7, 8, 9, 10};

QString mainSettingsPath()
{
    return DataRootFolder + MainSettingsFileName;
}

QString withoutFinalSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

int info(QWidget* owner, const QString& text, unsigned icon = MsgSeam::MbIconInformation)
{
    return MessageBoxPos(owner, text, ProductTitle, icon);
}

QGroupBox* group(QWidget* parent, const QString& caption, QLayout* contents)
{
    auto* box = new QGroupBox(caption, parent);
    box->setLayout(contents);
    return box;
}

QWidget* page(const QString& name, std::initializer_list<QWidget*> parts)
{
    auto* w = new QWidget;
    w->setObjectName(name);
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(8, 8, 8, 8);
    for (QWidget* part : parts)
        layout->addWidget(part);
    layout->addStretch(1);
    return w;
}

} // namespace

// ---- the dialog's memory and the checks ----

TEnvironmentMemory ReadEnvironmentMemory(const QString& iniPath)
{
    const TMemIniFile ini(iniPath);
    TEnvironmentMemory memory;
    const int tab = ini.ReadInteger(EnvSection, QStringLiteral("InitTab"), 0);
    memory.initTab = (tab < 0 || tab >= EnvironmentPageCount) ? 0 : tab;
    for (int i = 1; i <= DataPathHistoryCount; ++i) {
        const QString path = ini.ReadString(EnvSection, QStringLiteral("DataPath%1").arg(i), QString());
        if (path.trimmed().isEmpty())
            continue;
        const QString folder = SystemPaths::WithSlash(DecodeDataPath(path));
        if (!memory.dataPaths.contains(folder))
            memory.dataPaths.append(folder);
    }
    return memory;
}

bool WriteEnvironmentMemory(const QString& iniPath, const TEnvironmentMemory& memory)
{
    if (!QFileInfo(iniPath).isFile())
        return false;
    TMemIniFile ini(iniPath);
    if (!ini.LoadedOk())
        return false;
    ini.WriteInteger(EnvSection, QStringLiteral("InitTab"), memory.initTab);
    for (const QString& key : ini.ReadSection(EnvSection))
        if (key.startsWith(QStringLiteral("DataPath"), Qt::CaseInsensitive))
            ini.DeleteKey(EnvSection, key);
    for (int i = 0; i < DataPathHistoryCount && i < memory.dataPaths.size(); ++i)
        ini.WriteString(EnvSection, QStringLiteral("DataPath%1").arg(i + 1),
                        EncodeDataPath(memory.dataPaths[i]));
    return ini.UpdateFile();
}

QStringList PushDataPath(QStringList list, const QString& folder)
{
    list.removeAll(folder);
    list.prepend(folder);
    return list;
}

QString CheckDataFolderText(const QString& text)
{
    if (text.isEmpty())
        return QStringLiteral("フォルダーを指定してください  ");
    const QString folder = SystemPaths::WithSlash(QDir::cleanPath(text));
    // The start-up takes a longer stored folder for a damaged one, so it is never stored.
    if (!QDir::isAbsolutePath(text) || Cp932::byteLength(EncodeDataPath(folder)) > DataPathMax)
        return QStringLiteral("指定したフォルダーは無効です  ");
    if (DiskSpace::IsNetworkFolder(folder))
        return QStringLiteral("ハードディスクドライブか  \r\nリムーバブルドライブを指定してください  ");
    return QString();
}

std::optional<int> ParseHisCount(const QString& text)
{
    if (text.isEmpty() || text.size() > 2)
        return std::nullopt;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    const int value = text.toInt();
    if (value > HisCountMax)
        return std::nullopt;
    return value;
}

QStringList MapSearchKinds(int map)
{
    if (map == 0)
        return {QStringLiteral("緯度・経度を優先"), QStringLiteral("電話番号を優先")};
    if (map == MapSoftGoogle)
        return {QStringLiteral("住所から検索")};
    return {QStringLiteral("緯度・経度を優先"), QStringLiteral("住所を優先")};
}

const QStringList& MyNumberLabels()
{
    static const QStringList labels = {QStringLiteral("共通マイナンバー"),
                                       QStringLiteral("自分のマイナンバー"), QStringLiteral("自社法人番号")};
    return labels;
}

bool WriteMainSettingsFile(QString* error)
{
    TMemIniFile ini(mainSettingsPath());
    // A file that exists but could not be read must not be replaced by one holding these keys alone.
    if (!ini.LoadedOk()) {
        if (error)
            *error = QStringLiteral("cannot read %1").arg(ini.FileName());
        return false;
    }
    const TMainSettings& s = MainSettings;
    const QString base = QStringLiteral("BASE");
    ini.WriteString(base, QStringLiteral("CD"), DiscFolder);
    ini.WriteString(base, QStringLiteral("DataPath"), EncodeDataPath(DataFolder));
    ini.WriteString(base, QStringLiteral("AdrsName"), CurrentAdrsName);
    const QString operation = QStringLiteral("OPERATION");
    ini.WriteInteger(operation, QStringLiteral("HisCount"), s.HisCount);
    ini.WriteBool(operation, QStringLiteral("ViewSplash"), s.ViewSplash);
    const QString address = QStringLiteral("ADDRESS");
    ini.WriteBool(address, QStringLiteral("ChangeData"), s.ChangeData);
    ini.WriteBool(address, QStringLiteral("FormClose"), s.FormClose);
    ini.WriteBool(address, QStringLiteral("Confirmation"), s.Confirmation);
    ini.WriteBool(address, QStringLiteral("OutOfTarget"), s.OutOfTarget);
    ini.WriteBool(address, QStringLiteral("SameNum"), s.SameNum);
    const QString view = QStringLiteral("VIEW");
    ini.WriteBool(view, QStringLiteral("BGPaint"), s.BGPaint);
    ini.WriteInteger(view, QStringLiteral("BGColor"), s.BGColor);
    const QString cooperate = QStringLiteral("COOPERATE");
    ini.WriteInteger(cooperate, QStringLiteral("Map"), s.Map);
    ini.WriteInteger(cooperate, QStringLiteral("MapSearchKind"), s.MapSearchKind);
    ini.WriteInteger(cooperate, QStringLiteral("Root"), s.Root);
    ini.WriteBool(QStringLiteral("UPDATE"), QStringLiteral("UpdateCheck"), s.UpdateCheck);
    ini.WriteString(QStringLiteral("MYNUMBER"), QStringLiteral("MyNumberLabel"), s.MyNumberLabel);
    return ini.UpdateFile(error);
}

bool WriteMyNumberFile()
{
    const QString path = DataRootFolder + MyNumberFileName;
    if (MyNumberData.isEmpty())
        return !QFileInfo::exists(path) || QFile::remove(path);
    const QByteArray bytes = ScrambleText(MyNumberData);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return file.write(bytes) == bytes.size() && file.commit();
}

// ---- TEnvironment ----

TEnvironment::TEnvironment(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("Environment"));
    setWindowTitle(QStringLiteral("環境設定"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_memory = ReadEnvironmentMemory(mainSettingsPath());

    tvEnv = Named<QTreeWidget>(this, "tvEnv");
    tvEnv->setHeaderHidden(true);
    tvEnv->setFixedWidth(170);
    tvEnv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const char* captions[EnvironmentPageCount] = {
        "基本設定", "動作", "アドレス帳", "表示", "連携ソフト・サービス", "アップデート", "マイナンバー"};
    for (int i = 0; i < EnvironmentPageCount; ++i) {
        QTreeWidgetItem* item = i == 2 ? new QTreeWidgetItem(m_nodes[1]) : new QTreeWidgetItem(tvEnv);
        item->setText(0, QString::fromUtf8(captions[i]));
        m_nodes.append(item);
    }
    tvEnv->expandAll();
    // The tree stays fully expanded.
    connect(tvEnv, &QTreeWidget::itemCollapsed, this, [](QTreeWidgetItem* item) { item->setExpanded(true); });
    tvEnv->setItemsExpandable(false);
    tvEnv->installEventFilter(this);

    m_pages = Named<QStackedWidget>(this, "pgcEnv");
    for (QWidget* p : {buildBasePage(), buildOperationPage(), buildAddressPage(), buildViewPage(),
                       buildCooperatePage(), buildUpdatePage(), buildMyNumberPage()})
        m_pages->addWidget(p);
    connect(tvEnv, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        const int index = int(m_nodes.indexOf(item));
        if (index < 0)
            return;
        m_pages->setCurrentIndex(index);
        SetHelpContext(this, PageHelpContexts[index]);
    });

    btnSet = MakeButton(this, "btnSet", QStringLiteral("設定"), true);
    btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    connect(btnSet, &QPushButton::clicked, this, &TEnvironment::btnSetClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* body = new QHBoxLayout;
    body->addWidget(tvEnv);
    body->addWidget(m_pages, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(ButtonRow({btnSet, btnCancel}));

    auto* enter = new TEnterMovesFocus(this);
    enter->addTarget(cbxDrive, cbxDataPath);
    enter->addTarget(cbxDataPath, [this]() -> QWidget* {
        return cbxDataPath->currentText().trimmed().isEmpty() ? static_cast<QWidget*>(bbtnBrowseDataPath)
                                                              : btnSet;
    });
    for (QWidget* w : std::initializer_list<QWidget*>{chkViewSplash, chkChangeData, chkFormClose,
                                                      chkConfirmation, chkOutOfTarget, chkSameNum, cbxMapSoft,
                                                      cbxMapSearchKind, cbxRootSoft, cbxMyNumberLabel})
        enter->addNext(w);
    enter->addTarget(chkBGPaint, btnSet);
    enter->addTarget(chkUpdate, btnSet);

    ShowPage(m_memory.initTab);
    resize(640, 420);
}

TEnvironment::~TEnvironment()
{
    m_memory.initTab = CurrentPage();
    WriteEnvironmentMemory(mainSettingsPath(), m_memory);
}

QWidget* TEnvironment::buildBasePage()
{
    cbxDrive = Named<QComboBox>(nullptr, "cbxDrive");
    cbxDrive->setMinimumWidth(260);
    bbtnDriveUpdate = MakeButton(nullptr, "bbtnDriveUpdate", QStringLiteral("更新"));
    bbtnHDDInstall = MakeButton(nullptr, "bbtnHDDInstall", QStringLiteral("電話帳データのインストール"));
    SetButtonPicture(bbtnDriveUpdate, QStringLiteral("CD_DRIVE"));
    SetButtonPicture(bbtnHDDInstall, QStringLiteral("HDDINSTALL"));
    connect(bbtnDriveUpdate, &QPushButton::clicked, this, &TEnvironment::bbtnDriveUpdateClick);
    connect(bbtnHDDInstall, &QPushButton::clicked, this, &TEnvironment::bbtnHDDInstallClick);
    fillDrives();
    auto* drive = new QGridLayout;
    drive->addWidget(cbxDrive, 0, 0);
    drive->addWidget(bbtnDriveUpdate, 0, 1);
    drive->addWidget(bbtnHDDInstall, 1, 0, 1, 2, Qt::AlignLeft);

    cbxDataPath = Named<QComboBox>(nullptr, "cbxDataPath");
    cbxDataPath->setEditable(true);
    cbxDataPath->setInsertPolicy(QComboBox::NoInsert);
    cbxDataPath->lineEdit()->setMaxLength(DataPathMax);
    cbxDataPath->addItems(m_memory.dataPaths);
    m_startDataPath = withoutFinalSlash(DataFolder);
    cbxDataPath->setEditText(m_startDataPath);
    bbtnBrowseDataPath = MakeButton(nullptr, "bbtnBrowseDataPath", QStringLiteral("参照"));
    SetButtonPicture(bbtnBrowseDataPath, QStringLiteral("FOLDER"));
    connect(bbtnBrowseDataPath, &QPushButton::clicked, this, &TEnvironment::bbtnBrowseDataPathClick);
    auto* data = new QHBoxLayout;
    data->addWidget(cbxDataPath, 1);
    data->addWidget(bbtnBrowseDataPath);

    return page(QStringLiteral("tabstBase"), {group(nullptr, QStringLiteral("検索データドライブ"), drive),
                                              group(nullptr, QStringLiteral("データ保存フォルダー"), data)});
}

QWidget* TEnvironment::buildOperationPage()
{
    chkViewSplash = Named<QCheckBox>(nullptr, "chkViewSplash",
                                     QStringLiteral("アプリケーション起動時にスプラッシュ画面を表示する"));
    chkViewSplash->setChecked(MainSettings.ViewSplash);
    PaintCheckedBlue(chkViewSplash);
    auto* start = new QVBoxLayout;
    start->addWidget(chkViewSplash);

    edtHisCount = Named<QLineEdit>(nullptr, "edtHisCount");
    edtHisCount->setMaxLength(2);
    edtHisCount->setFixedWidth(40);
    edtHisCount->setAlignment(Qt::AlignRight);
    m_hisCount = MainSettings.HisCount;
    edtHisCount->setText(QString::number(m_hisCount));
    edtHisCount->installEventFilter(this);
    m_hisUp = ArrowButton(nullptr, "udHisCountUp", Qt::UpArrow);
    m_hisDown = ArrowButton(nullptr, "udHisCountDown", Qt::DownArrow);
    connect(m_hisUp, &QToolButton::clicked, this, [this] { stepHisCount(1); });
    connect(m_hisDown, &QToolButton::clicked, this, [this] { stepHisCount(-1); });
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(m_hisUp);
    arrows->addWidget(m_hisDown);
    auto* history = new QHBoxLayout;
    history->addWidget(new QLabel(QStringLiteral("保存する検索履歴数")));
    history->addWidget(edtHisCount);
    history->addLayout(arrows);
    history->addStretch(1);

    return page(QStringLiteral("tabstOperation"),
                {group(nullptr, QStringLiteral("起動時"), start),
                 group(nullptr, QStringLiteral("名称住所検索・カテゴリ検索"), history)});
}

QWidget* TEnvironment::buildAddressPage()
{
    auto box = [](const char* name, const QString& caption, bool checked) {
        auto* b = Named<QCheckBox>(nullptr, name, caption);
        b->setChecked(checked);
        PaintCheckedBlue(b);
        return b;
    };
    chkChangeData = box("chkChangeData", QStringLiteral("別のデータを照会する時"), MainSettings.ChangeData);
    chkFormClose = box("chkFormClose", QStringLiteral("画面を閉じる時"), MainSettings.FormClose);
    chkConfirmation =
        box("chkConfirmation", QStringLiteral("保存前に確認メッセージを表示する"), MainSettings.Confirmation);
    chkOutOfTarget = box("chkOutOfTarget", QStringLiteral("検索した直後のデータは登録保存の対象にしない"),
                         MainSettings.OutOfTarget);
    chkSameNum = box("chkSameNum", QStringLiteral("登録時に同じ電話番号のデータが存在するかチェックする"),
                     MainSettings.SameNum);
    for (QCheckBox* b : {chkChangeData, chkFormClose})
        connect(b, &QCheckBox::toggled, this, &TEnvironment::updateAutoSaveBoxes);
    updateAutoSaveBoxes();

    auto* autoSave = new QVBoxLayout;
    autoSave->addWidget(chkChangeData);
    autoSave->addWidget(chkFormClose);
    autoSave->addWidget(chkConfirmation);
    autoSave->addWidget(chkOutOfTarget);
    auto* same = new QVBoxLayout;
    same->addWidget(chkSameNum);
    return page(QStringLiteral("tabstAddress"),
                {group(nullptr, QStringLiteral("詳細画面での自動保存"), autoSave),
                 group(nullptr, QStringLiteral("同一電話番号チェック"), same)});
}

QWidget* TEnvironment::buildViewPage()
{
    chkBGPaint = Named<QCheckBox>(nullptr, "chkBGPaint",
                                  QStringLiteral("データ照会画面の参照先となる一覧の背景に色をつける"));
    chkBGPaint->setChecked(MainSettings.BGPaint);
    PaintCheckedBlue(chkBGPaint);
    pnlBGColor = Named<QLabel>(nullptr, "pnlBGColor");
    pnlBGColor->setFixedSize(80, 24);
    pnlBGColor->setFrameShape(QFrame::Box);
    pnlBGColor->setAutoFillBackground(true);
    bbtnBGColor = MakeButton(nullptr, "bbtnBGColor", QString());
    bbtnBGColor->setToolTip(QStringLiteral("色の変更"));
    SetButtonPicture(bbtnBGColor, QStringLiteral("COLORSET"));
    bbtnResetColor = MakeButton(nullptr, "bbtnResetColor", QString());
    bbtnResetColor->setToolTip(QStringLiteral("色の初期化"));
    SetButtonPicture(bbtnResetColor, QStringLiteral("COLORDELETE"));
    auto setColor = [this](int value) {
        m_bgColor = value;
        QPalette p = pnlBGColor->palette();
        p.setColor(QPalette::Window, ColorFromValue(value));
        pnlBGColor->setPalette(p);
    };
    setColor(MainSettings.BGColor);
    connect(bbtnBGColor, &QPushButton::clicked, this, &TEnvironment::bbtnBGColorClick);
    connect(bbtnResetColor, &QPushButton::clicked, this, [setColor] { setColor(TMainSettings().BGColor); });
    auto enableColors = [this](bool on) {
        bbtnBGColor->setEnabled(on);
        bbtnResetColor->setEnabled(on);
    };
    connect(chkBGPaint, &QCheckBox::toggled, this, enableColors);
    enableColors(chkBGPaint->isChecked());

    auto* colors = new QHBoxLayout;
    colors->addWidget(pnlBGColor);
    colors->addWidget(bbtnBGColor);
    colors->addWidget(bbtnResetColor);
    colors->addStretch(1);
    auto* list = new QVBoxLayout;
    list->addWidget(chkBGPaint);
    list->addLayout(colors);
    return page(QStringLiteral("tabstView"), {group(nullptr, QStringLiteral("一覧背景色"), list)});
}

QWidget* TEnvironment::buildCooperatePage()
{
    cbxMapSoft = Named<QComboBox>(nullptr, "cbxMapSoft");
    cbxMapSoft->addItems(MapSoftNames());
    cbxMapSoft->setMaxVisibleItems(11);
    cbxMapSoft->setCurrentIndex(MainSettings.Map);
    cbxMapSearchKind = Named<QComboBox>(nullptr, "cbxMapSearchKind");
    fillMapSearchKinds();
    const int kind = MainSettings.MapSearchKind;
    cbxMapSearchKind->setCurrentIndex(kind < cbxMapSearchKind->count() ? kind : -1);
    connect(cbxMapSoft, &QComboBox::activated, this, &TEnvironment::fillMapSearchKinds);
    cbxRootSoft = Named<QComboBox>(nullptr, "cbxRootSoft");
    cbxRootSoft->addItems(RootSoftNames());
    cbxRootSoft->setCurrentIndex(MainSettings.Root);

    auto* map = new QGridLayout;
    map->addWidget(cbxMapSoft, 0, 0);
    map->addWidget(cbxMapSearchKind, 0, 1);
    map->setColumnStretch(0, 1);
    auto* root = new QHBoxLayout;
    root->addWidget(cbxRootSoft, 1);
    return page(QStringLiteral("tabstCooperate"),
                {group(nullptr, QStringLiteral("使用する地図ソフト・サービス／検索方法"), map),
                 group(nullptr, QStringLiteral("使用する路線検索ソフト"), root)});
}

QWidget* TEnvironment::buildUpdatePage()
{
    chkUpdate =
        Named<QCheckBox>(nullptr, "chkUpdate", QStringLiteral("起動時に最新アップデートの確認をする"));
    chkUpdate->setChecked(MainSettings.UpdateCheck);
    PaintCheckedBlue(chkUpdate);
    bbtnUpdate = MakeButton(nullptr, "bbtnUpdate", QStringLiteral("アップデートの確認"));
    SetButtonPicture(bbtnUpdate, QStringLiteral("COMM"));
    connect(bbtnUpdate, &QPushButton::clicked, this, &TEnvironment::bbtnUpdateClick);
    auto* update = new QVBoxLayout;
    update->addWidget(chkUpdate);
    update->addWidget(bbtnUpdate, 0, Qt::AlignLeft);
    return page(QStringLiteral("tabstUpdate"),
                {group(nullptr, QStringLiteral("アップデートの設定"), update)});
}

QWidget* TEnvironment::buildMyNumberPage()
{
    auto* intro =
        new QLabel(QStringLiteral("Tovarelをご利用になられるお客様のマイナンバー/法人番号を登録します"));
    intro->setWordWrap(true);
    cbxMyNumberLabel = Named<QComboBox>(nullptr, "cbxMyNumberLabel");
    cbxMyNumberLabel->setEditable(true);
    cbxMyNumberLabel->setInsertPolicy(QComboBox::NoInsert);
    cbxMyNumberLabel->addItems(MyNumberLabels());
    int labelIndex = int(MyNumberLabels().indexOf(MainSettings.MyNumberLabel));
    if (labelIndex < 0 && !MainSettings.MyNumberLabel.isEmpty()) {
        cbxMyNumberLabel->addItem(MainSettings.MyNumberLabel);
        labelIndex = cbxMyNumberLabel->count() - 1;
    }
    cbxMyNumberLabel->setCurrentIndex(labelIndex);
    if (labelIndex < 0)
        cbxMyNumberLabel->setEditText(QString());
    CutOnLeave(cbxMyNumberLabel->lineEdit(), 22);

    edtMyNumber = Named<QLineEdit>(nullptr, "edtMyNumber");
    edtMyNumber->setMaxLength(13);
    edtMyNumber->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,13}")), edtMyNumber));
    SetImeMode(edtMyNumber, imClose);
    try {
        edtMyNumber->setText(ToWide(DecryptFieldText(MyNumberData, FieldCipherKey)));
    } catch (const EFieldCipherError&) {
        edtMyNumber->clear();
    }
    imgMyNumberStatus = Named<QLabel>(nullptr, "imgMyNumberStatus");
    imgMyNumberStatus->setFixedSize(20, 20);
    lblMyNumberCount = Named<QLabel>(nullptr, "lblMyNumberCount");
    lblMyNumberNotice =
        Named<QLabel>(nullptr, "lblMyNumberNotice",
                      QStringLiteral("※管理者モードでなければ「マイナンバー/法人番号」は編集できません"));
    const bool masked = !AdminPassword.isEmpty() && !AdminMode;
    lblMyNumberNotice->setVisible(masked);
    if (masked) {
        edtMyNumber->setReadOnly(true);
        edtMyNumber->setEchoMode(QLineEdit::Password);
        edtMyNumber->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    }
    connect(edtMyNumber, &QLineEdit::textChanged, this, &TEnvironment::edtMyNumberChange);
    edtMyNumberChange();

    auto* grid = new QGridLayout;
    grid->addWidget(intro, 0, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("表示名：")), 1, 0);
    grid->addWidget(cbxMyNumberLabel, 1, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("マイナンバー/法人番号：")), 2, 0);
    grid->addWidget(edtMyNumber, 2, 1);
    grid->addWidget(imgMyNumberStatus, 2, 2);
    grid->addWidget(lblMyNumberCount, 2, 3);
    grid->addWidget(lblMyNumberNotice, 3, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    return page(QStringLiteral("tabstMyNumber"),
                {group(nullptr, QStringLiteral("マイナンバー/法人番号の設定"), grid)});
}

void TEnvironment::fillDrives()
{
    cbxDrive->clear();
    for (int i = 0; i < DriveCount && i < DriveList.size(); ++i) {
        const QString& drive = DriveList[i];
        const std::optional<QString> label = SystemPaths::DriveVolumeLabel(drive);
        const QString trimmed = label ? label->trimmed() : QString();
        cbxDrive->addItem(trimmed.isEmpty() ? drive : drive + QStringLiteral(" [") + trimmed + u']', drive);
    }
    int chosen = cbxDrive->count() > 0 ? 0 : -1;
    for (int i = 0; i < cbxDrive->count(); ++i)
        if (cbxDrive->itemData(i).toString() == DiscFolder) {
            chosen = i;
            break;
        }
    cbxDrive->setCurrentIndex(chosen);
}

void TEnvironment::bbtnDriveUpdateClick()
{
    CollectDrives(MainSettings.SearchDriveExtend ? (dfCdRom | dfRemote) : dfCdRom);
    if (DriveCount == 0)
        info(this, QStringLiteral("使用可能なCD-ROMドライブが検出できませんでした  \r\n"
                                  "ディスクを使用した検索を利用できません  "));
    fillDrives();
}

void TEnvironment::fillMapSearchKinds()
{
    const int previous = cbxMapSearchKind->currentIndex();
    cbxMapSearchKind->clear();
    cbxMapSearchKind->addItems(MapSearchKinds(cbxMapSoft->currentIndex()));
    cbxMapSearchKind->setCurrentIndex(std::min(previous, cbxMapSearchKind->count() - 1));
}

void TEnvironment::updateAutoSaveBoxes()
{
    const bool on = chkChangeData->isChecked() || chkFormClose->isChecked();
    chkConfirmation->setEnabled(on);
    chkOutOfTarget->setEnabled(on);
}

void TEnvironment::edtHisCountEnter()
{
    m_hisCountBefore = m_hisCount;
}

bool TEnvironment::edtHisCountExit()
{
    const std::optional<int> value = ParseHisCount(edtHisCount->text());
    if (!value) {
        m_hisCount = m_hisCountBefore;
        edtHisCount->setText(QString::number(m_hisCount));
        return false;
    }
    m_hisCount = *value;
    return true;
}

void TEnvironment::stepHisCount(int delta)
{
    if (const std::optional<int> typed = ParseHisCount(edtHisCount->text()))
        m_hisCount = *typed;
    m_hisCount = std::clamp(m_hisCount + delta, 0, HisCountMax);
    m_hisCountBefore = m_hisCount;
    edtHisCount->setText(QString::number(m_hisCount));
    edtHisCount->selectAll();
}

void TEnvironment::edtMyNumberChange()
{
    const QString text = edtMyNumber->text();
    bool valid = text.isEmpty();
    if (text.size() == 12)
        valid = CheckMyNumber(ToAnsi(text), MyNumberIndividual) == MyNumberOk;
    else if (text.size() == 13)
        valid = CheckMyNumber(ToAnsi(text), MyNumberCorporate) == MyNumberOk;
    QPalette p = edtMyNumber->palette();
    p.setColor(QPalette::Base, valid ? palette().color(QPalette::Base) : ColorFromValue(0xDFDFFF));
    edtMyNumber->setPalette(p);
    const QString picture = !valid || text.isEmpty() ? QString()
                            : text.size() == 12      ? QStringLiteral("MYNUMBERPRIV")
                                                     : QStringLiteral("MYNUMBERCORP");
    imgMyNumberStatus->setPixmap(picture.isEmpty() ? QPixmap() : ButtonPicture(picture).pixmap(16, 16));
    imgMyNumberStatus->setProperty("picture", picture);
    lblMyNumberCount->setText(text.isEmpty() ? QString()
                                             : QString::number(text.size()) + QStringLiteral("桁"));
    lblMyNumberCount->setVisible(!valid);
}

void TEnvironment::bbtnBrowseDataPathClick()
{
    const QString typed = cbxDataPath->currentText().trimmed();
    QString folder = QFileInfo(typed).isDir() && QDir::isAbsolutePath(typed) ? typed : DataRootFolder;
    if (SelectFolder(folder, this, QStringLiteral("データの保存先を指定してください"), false, true)) {
        cbxDataPath->setEditText(folder);
        cbxDataPath->lineEdit()->setCursorPosition(int(folder.size()));
    }
}

void TEnvironment::bbtnHDDInstallClick()
{
    THDDInstall install(this);
    CenterForm(&install, this);
    install.exec();
}

void TEnvironment::bbtnBGColorClick()
{
    qint32 color = m_bgColor;
    const auto place = [this](QWidget* dialog) {
        QRect box = dialog->frameGeometry();
        box.moveTopLeft(frameGeometry().topLeft() + QPoint(15, 15));
        if (QScreen* screen = this->screen()) {
            const QRect work = screen->availableGeometry();
            box.moveLeft(std::max(work.left(), std::min(box.left(), work.right() - box.width())));
            box.moveTop(std::max(work.top(), std::min(box.top(), work.bottom() - box.height())));
        }
        dialog->move(box.topLeft());
    };
    if (ExecuteColorDialog(this, color, place)) {
        m_bgColor = color;
        QPalette p = pnlBGColor->palette();
        p.setColor(QPalette::Window, ColorFromValue(color));
        pnlBGColor->setPalette(p);
    }
}

void TEnvironment::bbtnUpdateClick()
{
    auto update = std::make_unique<TUpdateDialog>();
    {
        TBusyCursor hourglass;
        if (!update->CheckInternet()) {
            info(this, update->LastMessage(), MsgSeam::MbIconExclamation);
            return;
        }
        if (!update->ConnectAndCheck()) {
            info(this, QStringLiteral("アップデートの確認がおこなえません  \r\n\r\n") +
                           update->LastMessage() + u'(' + QString::number(update->LastCode()) +
                           QStringLiteral(")  \r\n\r\n次の内容を確認をしてみてください  \r\n"
                                          "・インターネットに接続できる状態か  \r\n"
                                          "・セキュリティソフトなどで接続の制限をかけていないか  "));
            return;
        }
        if (!update->FindUpdates()) {
            info(this, QStringLiteral("最新のプログラムを使用しています  "));
            return;
        }
    }
    QString question = QStringLiteral(
        "最新のアップデートが見つかりました  \r\nこのアップデートを適用してもよろしいですか？  \r\n\r\n");
    if (update->RestartNeeded())
        question += QStringLiteral("※自動的にアプリケーションが再起動されます  \r\n\r\n");
    question +=
        QStringLiteral("※Windows 10 / 8 / 7 / Vista の場合、アップデートの途中で  \r\n"
                       "　ユーザーアカウント制御（UAC）のダイアログが表示される  \r\n　ことがあります  ");
    if (info(this, question, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) != MsgSeam::IdYes)
        return;
    TBusyCursor hourglass;
    if (!update->DownloadUpdates()) {
        info(this,
             QStringLiteral("アップデートファイルがダウンロードできませんでした  "
                            "\r\n接続先が混み合っている可能性があります  "
                            "\r\n\r\nしばらくしてからお試しいただくか  "
                            "\r\nMorvaneのWebサイトから直接ダウンロードしてください  "),
             MsgSeam::MbIconExclamation);
        return;
    }
    setEnabled(false);
    const int result = update->RunUpdater();
    setEnabled(true);
    ForceForegroundWindow(this);
    if (result == 1)
        info(this,
             QStringLiteral("アップデートプログラムが起動できませんでした  "
                            "\r\n\r\n再度アップデートの確認をお試しいただくか  "
                            "\r\nMorvaneのWebサイトから直接ダウンロードしてください  "),
             MsgSeam::MbIconStop);
    else if (result == 9)
        info(this, QStringLiteral("アップデートを中止しました  "));
    else if (result == 0 && update->RestartNeeded()) {
        RestartRequested = true;
        reject();
    }
}

int TEnvironment::CurrentPage() const
{
    return m_pages->currentIndex();
}

void TEnvironment::ShowPage(int page)
{
    if (page < 0 || page >= EnvironmentPageCount)
        page = 0;
    tvEnv->setCurrentItem(m_nodes[page]);
    m_pages->setCurrentIndex(page);
    SetHelpContext(this, PageHelpContexts[page]);
}

void TEnvironment::refuseDataFolder(const QString& text)
{
    ShowPage(0);
    info(this, text);
    TEnterMovesFocus::focusWithCaretAtEnd(cbxDataPath);
}

void TEnvironment::btnSetClick()
{
    TBusyCursor hourglass;
    // The history count as it stands when "設定" is pressed while its edit has the focus.
    if (edtHisCount->hasFocus())
        edtHisCountExit();

    QString folder = TrimBlanks(cbxDataPath->currentText());
    const QString refused = CheckDataFolderText(folder);
    if (!refused.isEmpty()) {
        refuseDataFolder(refused);
        return;
    }
    folder = SystemPaths::WithSlash(QDir::cleanPath(folder));
    cbxDataPath->setEditText(folder);
    if (!QFileInfo(folder).isDir()) {
        ShowPage(0);
        if (info(this, QStringLiteral("指定したフォルダーが見つかりません  \r\n作成してもよろしいですか？  "),
                 MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) != MsgSeam::IdYes) {
            TEnterMovesFocus::focusWithCaretAtEnd(cbxDataPath);
            return;
        }
        if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
            info(this, QStringLiteral("フォルダーが作成できませんでした  "), MsgSeam::MbIconStop);
            cbxDataPath->setFocus();
            return;
        }
    }

    const QString label = ToWide(TruncateMbcs(ToAnsi(cbxMyNumberLabel->currentText()), 22));
    const QString number = edtMyNumber->text();
    const QByteArray numberData =
        number.isEmpty() ? QByteArray() : EncryptFieldText(ToAnsi(number), FieldCipherKey);
    // Paths name folders exactly: letter case makes another folder here.
    const bool dataFolderChanged = folder != SystemPaths::WithSlash(m_startDataPath);
    const bool hisCountChanged = m_hisCount != MainSettings.HisCount;
    const bool listColorChanged =
        chkBGPaint->isChecked() != MainSettings.BGPaint || m_bgColor != MainSettings.BGColor;
    const bool linkSoftChanged =
        cbxMapSoft->currentIndex() != MainSettings.Map || cbxRootSoft->currentIndex() != MainSettings.Root;
    // A stored number that could not be read stays while the edit was left empty.
    bool keepStoredNumber = false;
    if (number.isEmpty() && !MyNumberData.isEmpty()) {
        try {
            DecryptFieldText(MyNumberData, FieldCipherKey);
        } catch (const EFieldCipherError&) {
            keepStoredNumber = true;
        }
    }
    const QByteArray newNumberData = keepStoredNumber ? MyNumberData : numberData;
    const bool myNumberChanged = label != MainSettings.MyNumberLabel || newNumberData != MyNumberData;

    if (label.isEmpty())
        info(this, QStringLiteral(
                       "マイナンバーの表示名を設定しない場合  \r\n「共通マイナンバー」と表示されます  "));

    if (dataFolderChanged) {
        if (m_dataFolderChangeHook && !m_dataFolderChangeHook())
            return;
        CurrentAdrsName = DefaultAdrsName;
    }

    const QString drive = cbxDrive->currentIndex() >= 0 ? cbxDrive->currentData().toString() : QString();
    DiscFolder = drive;
    DataFolder = folder;
    SetDataSubFolders();
    MainSettings.ViewSplash = chkViewSplash->isChecked();
    MainSettings.HisCount = m_hisCount;
    MainSettings.ChangeData = chkChangeData->isChecked();
    MainSettings.FormClose = chkFormClose->isChecked();
    MainSettings.Confirmation = chkConfirmation->isChecked();
    MainSettings.OutOfTarget = chkOutOfTarget->isChecked();
    MainSettings.SameNum = chkSameNum->isChecked();
    MainSettings.BGPaint = chkBGPaint->isChecked();
    MainSettings.BGColor = m_bgColor;
    MainSettings.Map = cbxMapSoft->currentIndex();
    MainSettings.MapSearchKind = cbxMapSearchKind->currentIndex();
    MainSettings.Root = cbxRootSoft->currentIndex();
    MainSettings.UpdateCheck = chkUpdate->isChecked();
    MainSettings.MyNumberLabel = label;
    MyNumberData = newNumberData;

    WriteMainSettings();
    DataFolderChanged = dataFolderChanged;
    HisCountChanged = hisCountChanged;
    ListColorChanged = listColorChanged;
    LinkSoftChanged = linkSoftChanged;
    MyNumberChanged = myNumberChanged;
    m_memory.dataPaths = PushDataPath(m_memory.dataPaths, DataFolder);
    accept();
}

void TEnvironment::WriteMainSettings()
{
    if (!WriteMainSettingsFile())
        info(this, QStringLiteral("環境設定が保存できませんでした  "), MsgSeam::MbIconStop);
    if (!WriteMyNumberFile())
        info(this, QStringLiteral("マイナンバーの保存できませんでした  "), MsgSeam::MbIconStop);
}

bool TEnvironment::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tvEnv && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            QWidget* first[EnvironmentPageCount] = {cbxDrive,   edtHisCount, chkChangeData,   chkBGPaint,
                                                    cbxMapSoft, chkUpdate,   cbxMyNumberLabel};
            TEnterMovesFocus::focusWithCaretAtEnd(first[CurrentPage()]);
            return true;
        }
    }
    if (watched == edtHisCount) {
        if (event->type() == QEvent::FocusIn)
            edtHisCountEnter();
        else if (event->type() == QEvent::FocusOut)
            edtHisCountExit();
        else if (event->type() == QEvent::KeyPress) {
            switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_PageUp:
                stepHisCount(10);
                return true;
            case Qt::Key_PageDown:
                stepHisCount(-10);
                return true;
            case Qt::Key_Up:
                stepHisCount(1);
                return true;
            case Qt::Key_Down:
                stepHisCount(-1);
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                if (edtHisCountExit())
                    TEnterMovesFocus::focusWithCaretAtEnd(TEnterMovesFocus::nextInTabOrder(edtHisCount));
                return true;
            default:
                break;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}
