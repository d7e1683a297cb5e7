// The address list window: creation, the deferred start, opening and switching books, the commands of its
// menus and tool bar, the status panels, the closing of its children and the settings it saves.
#include "addressbook/AdrsList.h"

#include "addressbook/AdrsSch.h"
#include "addressbook/AdrsSel.h"
#include "addressbook/DtInqiry.h"
#include "addressbook/DupliSch.h"
#include "addressbook/GrpEdt.h"
#include "addressbook/HdrSel.h"
#include "addressbook/KeywdEdt.h"
#include "addressbook/PrtctMemoEdt.h"
#include "addressbook/WordSch.h"
#include "core/AdrsFolderList.h"
#include "core/AppSub.h"
#include "core/CategoryNames.h"
#include "core/DBInfo.h"
#include "core/Main.h"
#include "core/MainSettings.h"
#include "core/ButtonPictures.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "core/PrivateMessages.h"
#include "core/ShellSub.h"
#include "core/StartupServices.h"
#include "platform/IniFile.h"
#include "platform/Printers.h"
#include "platform/TableEngine.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

QPointer<TAddressList> AddressList;

namespace {

constexpr int ColumnCount = 52;

// One action: its name, caption, hint ("short|long"), shortcut, the registered window it opens (-1: the
// list's own command) and whether it needs rows.
struct TActionDef
{
    const char* name;
    const char* caption;
    const char* hint;
    const char* shortcut;
    int command;
    bool rows;
};

constexpr int Own = -1;

const TActionDef ActionDefs[] = {
    {"actCreate", "アドレス帳の新規作成(&C)...", "アドレス帳の新規作成|新しくアドレス帳を作成します", "", Own,
     false},
    {"actOpen", "開く(&O)...", "開く|別のアドレス帳を開きます", "", Own, false},
    {"actEditGroup", "グループ名の設定(&G)...", "グループ名の設定|アドレス帳のグループ項目の名称を設定します",
     "", Own, false},
    {"actAdrsCopy", "他のアドレス帳にコピー(&A)...",
     "他のアドレス帳にコピー|アドレス帳データを別のアドレス帳にコピーします", "", Own, true},
    {"actImportFile", "テキストファイルの取り込み(&I)...",
     "テキストファイルの取り込み|テキストファイルの内容をアドレス帳に取り込みます", "",
     int(TListCommand::ImportFile), false},
    {"actExportFile", "テキストファイルの出力(&E)...",
     "テキストファイルの出力|アドレス帳データをテキストファイル出力します", "", int(TListCommand::ExportFile),
     true},
    {"actMarkExport", "マークファイルの出力(&M)",
     "マークファイルの出力|緯度経度情報の保存されているアドレス帳データをマークファイルとして出力します", "",
     int(TListCommand::MarkExport), true},
    {"actExit", "Tovarelの終了(&X)", "Tovarel の終了|Tovarel を終了します", "", Own, false},
    {"actInquiry", "照会(&I)...", "照会|選択しているアドレス帳データを照会します", "Ctrl+I", Own, true},
    {"actDelete", "削除(&D)", "削除|選択しているアドレス帳データを削除します", "Del", Own, true},
    {"actBatchChange", "一括編集(&B)...", "一括編集|選択しているアドレス帳データの内容を一括で編集します", "",
     int(TListCommand::BatchChange), true},
    {"actNameAdrsSearch", "名称住所検索(&A)...", "名称住所検索|名称と住所から検索します", "Ctrl+S",
     int(TListCommand::NameAdrsSearch), false},
    {"actCategorySearch", "カテゴリ検索(&C)...", "カテゴリ検索|業種カテゴリと住所から検索します", "Ctrl+C",
     int(TListCommand::CategorySearch), false},
    {"actNumerSearch", "番号検索(&N)...", "番号検索|電話番号や郵便番号などから検索します", "Ctrl+N", Own,
     false},
    {"actWordSearch", "一覧内のワード検索(&W)...",
     "一覧内のワード検索|アドレス帳一覧に表示されている内容を対象に、指定した文字列を検索します", "Ctrl+W",
     Own, false},
    {"actWordNext", "次の候補を検索(&S)", "次の候補を検索|ワード検索の次の候補を検索します", "F3", Own,
     false},
    {"actAdrsSearch", "アドレス帳の絞り込み(&S)...",
     "アドレス帳の絞り込み|一覧表示するアドレス帳データを絞り込みます", "Ctrl+F", Own, false},
    {"actDuplicateSearch", "重複データの表示(&D)...",
     "重複データの表示|指定した項目内容が重複しているデータのみを一覧表示します", "Ctrl+D", Own, false},
    {"actDisableSearch", "絞り込みと重複表示の無効化(&N)",
     "絞り込みと重複表示の無効化|アドレス帳の絞り込みや重複データの表示を一時的に解除します", "", Own, false},
    {"actCancelSearch", "絞り込みと重複表示の解除(&C)",
     "絞り込みと重複表示の解除|アドレス帳の絞り込みや重複データの表示を解除します", "", Own, false},
    {"actKeywordEdit", "キーワード項目の設定(&K)...", "キーワード項目の設定|キーワード項目の設定します", "",
     Own, false},
    {"actProtectMemoEdit", "保護メモ項目の設定(&P)...", "保護メモ項目の設定|保護メモ項目の設定します", "",
     Own, false},
    {"actViewColumn", "表示項目の設定(&V)...", "表示項目の設定|一覧に表示する項目を設定します", "", Own,
     false},
    {"actInitColumn", "項目幅の初期化(&I)",
     "項目幅の初期化|一覧に表示できる項目の表示幅を初期の状態に戻します", "", Own, false},
    {"actReload", "一覧の再表示(&R)", "一覧の再表示|アドレス帳の一覧を表示し直します", "F5", Own, false},
    {"actLayoutPrint", "宛名印刷(&A)...", "宛名印刷|宛名印刷をします", "", int(TListCommand::LayoutPrint),
     false},
    {"actLabelPrint", "ラベル印刷(&B)...", "ラベル印刷|ラベル印刷をします", "", int(TListCommand::LabelPrint),
     false},
    {"actCardPrint", "名刺印刷(&C)...", "名刺印刷|名刺印刷をします", "", int(TListCommand::CardPrint), false},
    {"actDesignPrint", "文面印刷(&D)...", "文面印刷|文面印刷をします", "", int(TListCommand::DesignPrint),
     false},
    {"actListPrint", "一覧表印刷(&L)...", "一覧表印刷|アドレス帳データの一覧を印刷します", "",
     int(TListCommand::ListPrint), true},
    {"actEnvironment", "環境設定(&E)...", "環境設定|実行環境を設定します", "Ctrl+E",
     int(TListCommand::Environment), false},
    {"actBackup", "バックアップ(&B)...", "バックアップ|データのバックアップを取ります", "",
     int(TListCommand::Backup), false},
    {"actRestore", "復元(&R)...", "復元|バックアップしたデータを復元します", "", int(TListCommand::Restore),
     false},
    {"actOptimize", "データの最適化(&O)...", "データの最適化|データベースを最適化します", "",
     int(TListCommand::Optimize), true},
    {"actConvertKykbn", "局番変換(&K)...", "局番変換|アドレス帳データの局番を変換します", "",
     int(TListCommand::ConvertKykbn), true},
    {"actConvertAdrsPos", "住所・郵便番号変換(&A)...",
     "住所・郵便番号変換|アドレス帳データの住所と郵便番号を変換します", "", int(TListCommand::ConvertAdrsPos),
     true},
    {"actRepairIndex", "インデックス修復(&I)...",
     "インデックス修復|インデックスが破損したり古くなったりしたアドレス帳データを修復します", "",
     int(TListCommand::RepairIndex), true},
    {"actSwitchAdminMode", "管理者モードへの移行(&S)...",
     "管理者モードへの移行を行います。管理者モードではマイナンバー/法人番号の閲覧・編集が可能になります。",
     "", Own, false},
    {"actTopic", "Tovarel 操作ガイド(&H)", "Tovarel 操作ガイド|Tovarel の操作ガイドを表示します", "", Own,
     false},
    {"actInfo", "お知らせ(&I)", "お知らせ|製品情報などのお知らせを表示します", "", int(TListCommand::Info),
     false},
    {"actVersion", "バージョン情報(&A)", "バージョン情報|バージョン情報を表示します", "",
     int(TListCommand::Version), false},
};

// The eleven actions that need rows (the engine's refresh switches them).
const char* const RecordActions[] = {"actAdrsCopy",     "actExportFile",     "actMarkExport", "actInquiry",
                                     "actDelete",       "actBatchChange",    "actListPrint",  "actOptimize",
                                     "actConvertKykbn", "actConvertAdrsPos", "actRepairIndex"};

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

QString shortHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.left(bar);
}

QString longHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

// A comma list of whole numbers; nothing when an entry is not one.
std::optional<QList<int>> numberList(const QString& text)
{
    QList<int> numbers;
    for (const QString& part : text.split(u',')) {
        bool ok = false;
        const int n = part.trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
        numbers.append(n);
    }
    return numbers;
}

TMemIniFile mainSettings()
{
    return TMemIniFile(DataRootFolder + MainSettingsFileName);
}

void writeAdrsName()
{
    TMemIniFile ini = mainSettings();
    ini.WriteString(QStringLiteral("BASE"), QStringLiteral("AdrsName"), CurrentAdrsName);
    ini.UpdateFile();
}

int indexOfBook(const QString& name)
{
    for (int i = 0; i < AdrsFolderList.size(); ++i)
        if (AdrsFolderList[i].Name == name)
            return i;
    return -1;
}

// The panel's light background colours.
void paintPanel(QLabel* panel, const QString& text, const QColor& color)
{
    panel->setText(text);
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, text.isEmpty() ? QApplication::palette().color(QPalette::Window) : color);
    panel->setPalette(p);
}

} // namespace

// ---- [HEADER] ----

TAddressColumns ReadHeaderSettings(const TMemIniFile& ini)
{
    const TAddressColumns defaults = DefaultAddressColumns();
    const QString section = QStringLiteral("HEADER");
    const std::optional<QList<int>> order =
        numberList(ini.ReadString(section, QStringLiteral("HeaderIndex"), {}));
    bool orderOk = order && order->size() == ColumnCount;
    if (orderOk) {
        // Only a permutation of the items names every column once; anything else would show a column
        // twice and lose another.
        std::set<int> seen;
        for (int item : *order)
            if (item < 0 || item >= ColumnCount || !seen.insert(item).second)
                orderOk = false;
    }
    std::optional<QList<int>> widths;
    std::optional<QList<int>> shown;
    if (orderOk) {
        widths = numberList(ini.ReadString(section, QStringLiteral("HeaderWidth"), {}));
        if (widths && (widths->size() != ColumnCount ||
                       std::any_of(widths->cbegin(), widths->cend(), [](int w) { return w < 0; })))
            widths.reset();
        const QStringList views = ini.ReadString(section, QStringLiteral("HeaderView"), {}).split(u',');
        if (views.size() == ColumnCount) {
            shown = QList<int>();
            for (const QString& v : views)
                shown->append(v.trimmed() == QStringLiteral("1") ? 1 : 0);
        }
    }
    TAddressColumns columns;
    for (int i = 0; i < ColumnCount; ++i) {
        const int item = orderOk ? (*order)[i] : i;
        const TAddressColumnRec& def = defaults[item];
        TAddressColumnRec rec;
        rec.item = item;
        rec.tableRow = item;
        rec.width = ScaleByDpi(widths ? (*widths)[i] : def.width, 1);
        rec.shown = shown ? (*shown)[i] != 0 : def.shown;
        columns.append(rec);
    }
    return columns;
}

void WriteHeaderSettings(TMemIniFile& ini, const TAddressColumns& columns)
{
    QStringList items, widths, views;
    for (const TAddressColumnRec& rec : columns) {
        items.append(QString::number(rec.item));
        widths.append(QString::number(ScaleByDpi(rec.width, 0)));
        views.append(rec.shown ? QStringLiteral("1") : QStringLiteral("0"));
    }
    const QString section = QStringLiteral("HEADER");
    ini.WriteString(section, QStringLiteral("HeaderIndex"), items.join(u','));
    ini.WriteString(section, QStringLiteral("HeaderWidth"), widths.join(u','));
    ini.WriteString(section, QStringLiteral("HeaderView"), views.join(u','));
}

// ---- creation ----

TAddressList::TAddressList(QWidget* owner) : QDialog(owner), m_noTable(std::make_unique<Table>())
{
    AddressList = this;
    SetCardListWindow(lsAddressList, this);
    setObjectName(QStringLiteral("AddressList"));
    // A top-level window of its own with a taskbar entry, not a dialog frame.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    setWindowTitle(ProductTitle);
    setMinimumSize(520, 260);
    SetHelpContext(this, HelpContext);

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    BuildActions();
    BuildMenus();
    BuildToolBar();
    m_layout->addWidget(m_tbarTool);
    BuildStatusBar();
    m_layout->addWidget(m_stbarInfo);

    ReadBounds();
    AttachTable(nullptr);
    LoadViewSettings();
    LoadNarrowDown();
    ReadDupliSearch();
    FillSortCombo();
    FillGroupCombo();
    SetSortDirGlyph();
    Action(QStringLiteral("actWordNext"))->setEnabled(false);
    RefreshList(true, false, false);
    UpdateActions();
    UpdateStatusPanels();
}

TAddressList::~TAddressList()
{
    // The card and the copy window go before the list they read.
    delete DataInquiry.data();
    delete AddressCopy.data();
    WriteSettingsOnDestroy();
    SetCardListWindow(lsAddressList, nullptr);
    // The view goes before the engine it shows.
    delete m_lvAddress;
    m_lvAddress = nullptr;
    m_engine.reset();
}

QAction* TAddressList::NewAction(const char* name, const QString& caption, const QString& hint,
                                 const QKeySequence& shortcut)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(shortHint(hint));
    action->setStatusTip(longHint(hint));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    addAction(action);
    return action;
}

QAction* TAddressList::Action(const QString& name) const
{
    return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

void TAddressList::BuildActions()
{
    for (const TActionDef& def : ActionDefs)
        NewAction(def.name, utf8(def.caption), utf8(def.hint),
                  QKeySequence(QString::fromLatin1(def.shortcut)));

    auto on = [this](const char* name, auto handler) {
        connect(Action(QString::fromLatin1(name)), &QAction::triggered, this, handler);
    };
    Action(QStringLiteral("actCreate"))->setData(0);
    Action(QStringLiteral("actOpen"))->setData(1);
    on("actCreate", [this] { actAddressSelectExecute(0); });
    on("actOpen", [this] { actAddressSelectExecute(1); });
    on("actEditGroup", [this] { actEditGroupExecute(); });
    on("actAdrsCopy", [this] { actAdrsCopyExecute(); });
    on("actImportFile", [this] { actImportFileExecute(); });
    on("actExportFile", [this] { RunListCommand(TListCommand::ExportFile, *this); });
    on("actMarkExport", [this] { RunListCommand(TListCommand::MarkExport, *this); });
    on("actExit", [this] { actExitExecute(); });
    on("actInquiry", [this] { actInquiryExecute(); });
    on("actDelete", [this] { actDeleteExecute(); });
    on("actBatchChange", [this] { actBatchChangeExecute(); });
    on("actNameAdrsSearch", [this] { RunListCommand(TListCommand::NameAdrsSearch, *this); });
    on("actCategorySearch", [this] { RunListCommand(TListCommand::CategorySearch, *this); });
    on("actNumerSearch", [this] { actNumerSearchExecute(); });
    on("actWordSearch", [this] { actWordSearchExecute(); });
    on("actWordNext", [this] { actWordNextExecute(); });
    on("actAdrsSearch", [this] { actAdrsSearchExecute(); });
    on("actDuplicateSearch", [this] { actDuplicateSearchExecute(); });
    Action(QStringLiteral("actDisableSearch"))->setCheckable(true);
    on("actDisableSearch", [this] { actDisableSearchExecute(); });
    on("actCancelSearch", [this] { actCancelSearchExecute(); });
    on("actKeywordEdit", [this] { actKeywordEditExecute(); });
    on("actProtectMemoEdit", [this] { actProtectMemoEditExecute(); });
    on("actViewColumn", [this] { actViewColumnExecute(); });
    on("actInitColumn", [this] { actInitColumnExecute(); });
    on("actReload", [this] { actReloadExecute(); });
    on("actLayoutPrint", [this] { actDesignerExecute(TListCommand::LayoutPrint, 1); });
    on("actLabelPrint", [this] { actDesignerExecute(TListCommand::LabelPrint, 2); });
    on("actCardPrint", [this] { actDesignerExecute(TListCommand::CardPrint, 3); });
    on("actDesignPrint", [this] { actDesignerExecute(TListCommand::DesignPrint, 4); });
    on("actListPrint", [this] { actListPrintExecute(); });
    on("actEnvironment", [this] { actEnvironmentExecute(); });
    on("actBackup", [this] {
        RunListCommand(TListCommand::Backup, *this);
        FocusList();
    });
    on("actRestore", [this] { actRestoreExecute(); });
    on("actOptimize", [this] { actMaintenanceExecute(TListCommand::Optimize); });
    on("actConvertKykbn", [this] { actMaintenanceExecute(TListCommand::ConvertKykbn); });
    on("actConvertAdrsPos", [this] { actMaintenanceExecute(TListCommand::ConvertAdrsPos); });
    on("actRepairIndex", [this] { actMaintenanceExecute(TListCommand::RepairIndex); });
    on("actSwitchAdminMode", [this] { actSwitchAdminModeExecute(); });
    on("actTopic", [this] { actTopicExecute(); });
    on("actInfo", [this] { actInfoExecute(); });
    on("actVersion", [this] { RunListCommand(TListCommand::Version, *this); });
    Action(QStringLiteral("actMarkExport"))->setVisible(false);
}

void TAddressList::BuildMenus()
{
    m_mmMain = new QMenuBar(this);
    m_mmMain->setObjectName(QStringLiteral("mmMain"));
    m_layout->setMenuBar(m_mmMain);
    auto fill = [this](QMenu* menu, const QStringList& names) {
        for (const QString& name : names) {
            if (name == u'-')
                menu->addSeparator();
            else
                menu->addAction(Action(name));
        }
        connect(menu, &QMenu::aboutToShow, this, &TAddressList::UpdateActions);
    };
    auto menu = [&](const char* objectName, const char* caption, const QStringList& names) {
        QMenu* m = m_mmMain->addMenu(utf8(caption));
        m->setObjectName(QString::fromLatin1(objectName));
        fill(m, names);
        return m;
    };
    menu("mniFile", "ファイル(&F)",
         {"actCreate", "actOpen", "actEditGroup", "-", "actAdrsCopy", "actImportFile", "actExportFile", "-",
          "actMarkExport", "-", "actExit"});
    menu("mniEdit", "編集(&E)", {"actInquiry", "actDelete", "-", "actBatchChange"});
    menu("mniSearch", "検索(&S)",
         {"actNameAdrsSearch", "actCategorySearch", "actNumerSearch", "-", "actWordSearch", "actWordNext"});
    menu("mniView", "表示(&V)",
         {"actAdrsSearch", "actDuplicateSearch", "actDisableSearch", "actCancelSearch", "-", "actKeywordEdit",
          "actProtectMemoEdit", "actViewColumn", "actInitColumn", "-", "actReload"});
    menu("mniPrint", "印刷(&P)",
         {"actLayoutPrint", "actLabelPrint", "actCardPrint", "actDesignPrint", "-", "actListPrint"});
    menu("mniOption", "オプション(&O)",
         {"actEnvironment", "-", "actBackup", "actRestore", "-", "actOptimize", "actConvertKykbn",
          "actConvertAdrsPos", "actRepairIndex", "-", "actSwitchAdminMode"});
    menu("mniHelp", "ヘルプ(&H)", {"actTopic", "-", "actInfo", "-", "actVersion"});

    // The row popup shows no shortcuts: its items stand in for the actions without theirs.
    m_pmAdrs = new QMenu(this);
    m_pmAdrs->setObjectName(QStringLiteral("pmAdrs"));
    for (const char* name : {"actInquiry", "actDelete", "", "actBatchChange"}) {
        if (!*name) {
            m_pmAdrs->addSeparator();
            continue;
        }
        QAction* source = Action(QString::fromLatin1(name));
        auto* item = new QAction(source->text(), m_pmAdrs);
        item->setObjectName(QStringLiteral("pmi") + QString::fromLatin1(name + 3));
        item->setStatusTip(source->statusTip());
        item->setEnabled(source->isEnabled());
        connect(source, &QAction::enabledChanged, item, &QAction::setEnabled);
        connect(item, &QAction::triggered, source, &QAction::trigger);
        m_pmAdrs->addAction(item);
    }
    connect(m_pmAdrs, &QMenu::aboutToShow, this, &TAddressList::UpdateActions);
    m_pmColumn = new QMenu(this);
    m_pmColumn->setObjectName(QStringLiteral("pmColumn"));
    fill(m_pmColumn, {"actViewColumn", "-", "actInitColumn"});
    m_pmSearch = new QMenu(this);
    m_pmSearch->setObjectName(QStringLiteral("pmSearch"));
    fill(m_pmSearch, {"actAdrsSearch", "actDuplicateSearch", "actDisableSearch", "actCancelSearch"});
    m_pmPrint = new QMenu(this);
    m_pmPrint->setObjectName(QStringLiteral("pmPrint"));
    fill(m_pmPrint,
         {"actLayoutPrint", "actLabelPrint", "actCardPrint", "actDesignPrint", "-", "actListPrint"});
}

void TAddressList::BuildToolBar()
{
    m_tbarTool = new QToolBar(this);
    m_tbarTool->setObjectName(QStringLiteral("tbarTool"));
    m_tbarTool->setMovable(false);
    m_tbarTool->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_tbarTool->setIconSize(QSize(24, 24));

    // Tool buttons keep captions of their own; they follow their action's state and hints.
    auto button = [&](const char* objectName, const char* caption, QAction* action, const char* picture) {
        auto* b = new QToolButton(m_tbarTool);
        b->setObjectName(QString::fromLatin1(objectName));
        b->setText(utf8(caption));
        SetButtonPicture(b, QLatin1String(picture));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        if (action) {
            b->setToolTip(action->toolTip());
            b->setStatusTip(action->statusTip());
            b->setEnabled(action->isEnabled());
            connect(action, &QAction::enabledChanged, b, &QWidget::setEnabled);
            connect(b, &QToolButton::clicked, action, &QAction::trigger);
        }
        m_tbarTool->addWidget(b);
        return b;
    };
    button("tbtnNameAdrsSearch", "名称検索", Action(QStringLiteral("actNameAdrsSearch")), "NAMESCH");
    button("tbtnCategorySearch", "ｶﾃｺﾞﾘ検索", Action(QStringLiteral("actCategorySearch")), "CTGRYSCH");
    button("tbtnNumerSearch", "番号検索", Action(QStringLiteral("actNumerSearch")), "NUMSCH");
    m_tbarTool->addSeparator();
    button("tbtnInquiry", "照会", Action(QStringLiteral("actInquiry")), "INQUIRY");
    button("tbtnDelete", "削除", Action(QStringLiteral("actDelete")), "DELETE");
    m_tbarTool->addSeparator();
    QToolButton* search =
        button("tbtnAdrsSearch", "絞り込み", Action(QStringLiteral("actAdrsSearch")), "NARROW");
    search->setMenu(m_pmSearch);
    search->setPopupMode(QToolButton::MenuButtonPopup);
    QToolButton* print = button("tbtnPrint", "印刷", nullptr, "PRINT");
    print->setToolTip(QStringLiteral("印刷"));
    print->setStatusTip(QStringLiteral("アドレス帳データを元に印刷処理をします"));
    print->setMenu(m_pmPrint);
    print->setPopupMode(QToolButton::InstantPopup);
    m_tbarTool->addSeparator();

    auto* panel = new QWidget(m_tbarTool);
    panel->setObjectName(QStringLiteral("pnlViewChoice"));
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(3);
    auto* lblGroup = new QLabel(QStringLiteral("グループ："), panel);
    lblGroup->setObjectName(QStringLiteral("lblGroup"));
    m_cbxGroup = new QComboBox(panel);
    m_cbxGroup->setObjectName(QStringLiteral("cbxGroup"));
    m_cbxGroup->setMaxVisibleItems(12);
    m_cbxGroup->setMinimumContentsLength(16);
    m_cbxGroup->setToolTip(QStringLiteral("表示グループ"));
    m_cbxGroup->setStatusTip(QStringLiteral("表示するアドレス帳グループを指定します"));
    m_sbtnEditGroup = new QToolButton(panel);
    m_sbtnEditGroup->setObjectName(QStringLiteral("sbtnEditGroup"));
    SetButtonPicture(m_sbtnEditGroup, QStringLiteral("EDIT"));
    m_sbtnEditGroup->setAutoRaise(true);
    m_sbtnEditGroup->setToolTip(Action(QStringLiteral("actEditGroup"))->toolTip());
    m_sbtnEditGroup->setStatusTip(Action(QStringLiteral("actEditGroup"))->statusTip());
    connect(m_sbtnEditGroup, &QToolButton::clicked, Action(QStringLiteral("actEditGroup")),
            &QAction::trigger);
    auto* lblSort = new QLabel(QStringLiteral("表示順："), panel);
    lblSort->setObjectName(QStringLiteral("lblSort"));
    m_cbxSort = new QComboBox(panel);
    m_cbxSort->setObjectName(QStringLiteral("cbxSort"));
    m_cbxSort->setMaxVisibleItems(17);
    m_cbxSort->setMinimumContentsLength(16);
    m_cbxSort->setToolTip(QStringLiteral("表示順"));
    m_cbxSort->setStatusTip(QStringLiteral("アドレス帳データの表示順を指定します"));
    m_sbtnSortDirection = new QToolButton(panel);
    m_sbtnSortDirection->setObjectName(QStringLiteral("sbtnSortDirection"));
    m_sbtnSortDirection->setAutoRaise(true);
    grid->addWidget(lblGroup, 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(m_cbxGroup, 0, 1);
    grid->addWidget(m_sbtnEditGroup, 0, 2);
    grid->addWidget(lblSort, 1, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(m_cbxSort, 1, 1);
    grid->addWidget(m_sbtnSortDirection, 1, 2);
    m_tbarTool->addWidget(panel);

    // The engine reloads on a new choice; a table that fails keeps the list whole and is told.
    auto choose = [this](const std::function<void()>& change) {
        try {
            change();
        } catch (const std::exception& e) {
            UpdateStatusPanels();
            MessageBoxPos(this,
                          QStringLiteral("アドレス帳が読み出せませんでした  \r\n") +
                              QString::fromLocal8Bit(e.what()),
                          ProductTitle, MsgSeam::MbIconStop);
        }
        SetSortDirGlyph();
        FocusList();
    };
    connect(m_cbxGroup, qOverload<int>(&QComboBox::activated), this,
            [this, choose](int index) { choose([this, index] { m_engine->ChooseGroup(index); }); });
    connect(m_cbxSort, qOverload<int>(&QComboBox::activated), this,
            [this, choose](int index) { choose([this, index] { m_engine->ChooseSortType(index); }); });
    connect(m_sbtnSortDirection, &QToolButton::clicked, this,
            [this, choose] { choose([this] { m_engine->FlipSortDir(); }); });

    auto* spacer = new QWidget(m_tbarTool);
    spacer->setObjectName(QStringLiteral("pnlSpacer"));
    spacer->setMinimumWidth(1);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_tbarTool->addWidget(spacer);
    button("tbtnExit", "終了", Action(QStringLiteral("actExit")), "EXIT");
}

void TAddressList::BuildStatusBar()
{
    m_stbarInfo = new QStatusBar(this);
    m_stbarInfo->setObjectName(QStringLiteral("stbarInfo"));
    m_stbarInfo->setSizeGripEnabled(true);
    auto panel = [this](const char* name, int width) {
        auto* label = new QLabel(m_stbarInfo);
        label->setObjectName(QString::fromLatin1(name));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setAutoFillBackground(true);
        if (width > 0) {
            label->setFixedWidth(ScaleByDpi(width, 1));
            m_stbarInfo->addPermanentWidget(label);
        } else {
            m_stbarInfo->addWidget(label, 1);
        }
        return label;
    };
    m_pnlHint = panel("pnlHint", 0);
    m_pnlAdminMode = panel("pnlAdminMode", 76);
    m_pnlAdminMode->setAlignment(Qt::AlignCenter);
    m_pnlNarrowState = panel("pnlNarrowState", 84);
    m_pnlNarrowState->setAlignment(Qt::AlignCenter);
    m_pnlSelectedCount = panel("pnlSelectedCount", 108);
    m_pnlShownCount = panel("pnlShownCount", 108);
}

void TAddressList::ReadBounds()
{
    const TMemIniFile ini = mainSettings();
    const QString section = QStringLiteral("ADRS LIST");
    const int width = ini.ReadInteger(section, QStringLiteral("Width"), 960);
    const int height = ini.ReadInteger(section, QStringLiteral("Height"), 572);
    QSize screen(1280, 1024);
    if (QScreen* s = QGuiApplication::primaryScreen())
        screen = s->geometry().size();
    const int left =
        ini.ReadInteger(section, QStringLiteral("Left"), (ScaleByDpi(screen.width(), 0) - width) / 2);
    const int top =
        ini.ReadInteger(section, QStringLiteral("Top"), (ScaleByDpi(screen.height(), 0) - height) / 2);
    setGeometry(ScaleByDpi(left, 1), ScaleByDpi(top, 1), std::max(ScaleByDpi(width, 1), 520),
                std::max(ScaleByDpi(height, 1), 260));
}

void TAddressList::ReadDupliSearch()
{
    const TMemIniFile ini = mainSettings();
    const QString section = QStringLiteral("DUPLI SEARCH");
    auto item = [&](const char* key) {
        const int value = ini.ReadInteger(section, QString::fromLatin1(key), 0);
        return value < 0 || value > 4 ? 0 : value;
    };
    const int first = item("Item1");
    m_engine->SetDuplicateItems(first, first == 0 ? 0 : item("Item2"));
}

void TAddressList::LoadViewSettings()
{
    const TMemIniFile ini(AdrsListIniPath());
    int viewGroup = ini.ReadInteger(QStringLiteral("GROUP"), QStringLiteral("ViewGroup"), 0);
    if (viewGroup < 0 || viewGroup > 11)
        viewGroup = 0;
    int sortType = ini.ReadInteger(QStringLiteral("SORT"), QStringLiteral("SortType"), 0);
    if (sortType < 0 || sortType >= int(AddressSortTable.size()))
        sortType = 0;
    const bool sortDir = ini.ReadBool(QStringLiteral("SORT"), QStringLiteral("SortDir"), true);
    ReadItemNameSettings(ini);
    m_engine->SetColumns(ReadHeaderSettings(ini));
    m_engine->SetViewState(viewGroup, sortType, sortDir);
    m_engine->SetKeywordNames(::KeywordNames);
}

void TAddressList::SaveViewSettings()
{
    TMemIniFile ini(AdrsListIniPath());
    WriteHeaderSettings(ini, m_engine->Columns());
    ini.WriteInteger(QStringLiteral("GROUP"), QStringLiteral("ViewGroup"), m_engine->ViewGroup());
    ini.WriteInteger(QStringLiteral("SORT"), QStringLiteral("SortType"), m_engine->SortType());
    ini.WriteBool(QStringLiteral("SORT"), QStringLiteral("SortDir"), m_engine->SortDir());
    ini.UpdateFile();
}

void TAddressList::LoadNarrowDown()
{
    TNarrowDownCondition condition;
    LoadNarrowDownFile(DataFolder + QString::fromLatin1(NarrowDownFileName), condition);
    m_engine->SetNarrowCondition(condition);
    const bool any = !condition.items.isEmpty() || m_engine->DuplicateItems()[0] != 0;
    Action(QStringLiteral("actDisableSearch"))->setEnabled(any);
    Action(QStringLiteral("actCancelSearch"))->setEnabled(any);
}

void TAddressList::SaveNarrowDown()
{
    SaveNarrowDownFile(DataFolder + QString::fromLatin1(NarrowDownFileName), m_engine->NarrowCondition(),
                       this);
}

void TAddressList::WriteSettingsOnDestroy()
{
    // The table object itself stays with the data module until it frees its tables.
    auto dropTableReference = [this] {
        if (m_adrsOpen && DMQuenrid215)
            DMQuenrid215->CloseAdrs();
        m_adrsOpen = false;
    };
    if (DataRootFolder.isEmpty()) {
        dropTableReference();
        return;
    }
    TMemIniFile main = mainSettings();
    const std::array<int, 2> dupli = m_engine->DuplicateItems();
    main.WriteInteger(QStringLiteral("DUPLI SEARCH"), QStringLiteral("Item1"), dupli[0]);
    main.WriteInteger(QStringLiteral("DUPLI SEARCH"), QStringLiteral("Item2"), dupli[1]);
    if (!DataFolder.isEmpty()) {
        SaveNarrowDown();
        SaveViewSettings();
    }
    if (!AdrsFolder.isEmpty())
        SaveAddressBookOrder();
    // A maximized or minimized window keeps its normal place; being maximized is not kept.
    const QRect r = (isMaximized() || isMinimized()) ? normalGeometry() : geometry();
    const QString section = QStringLiteral("ADRS LIST");
    main.WriteInteger(section, QStringLiteral("Left"), ScaleByDpi(r.x(), 0));
    main.WriteInteger(section, QStringLiteral("Top"), ScaleByDpi(r.y(), 0));
    main.WriteInteger(section, QStringLiteral("Width"), ScaleByDpi(r.width(), 0));
    main.WriteInteger(section, QStringLiteral("Height"), ScaleByDpi(r.height(), 0));
    main.UpdateFile();
    dropTableReference();
}

// ---- the table and the list ----

void TAddressList::AttachTable(Table* table)
{
    auto engine = std::make_unique<TAdrsListEngine>(table ? *table : *m_noTable);
    if (m_engine) {
        engine->SetColumns(m_engine->Columns());
        engine->SetViewState(m_engine->ViewGroup(), m_engine->SortType(), m_engine->SortDir());
        engine->SetNarrowCondition(m_engine->NarrowCondition());
        const std::array<int, 2> dupli = m_engine->DuplicateItems();
        engine->SetDuplicateItems(dupli[0], dupli[1]);
        engine->SetDisableSearch(m_engine->DisableSearch());
        engine->SetKeywordNames(m_engine->KeywordNames());
    }
    engine->SetHost(this);
    m_senderSource.reset();
    if (DMQuenrid215) {
        m_senderSource = DataModuleSenderSource(*DMQuenrid215);
        engine->SetSenderSource(m_senderSource.get());
    }
    engine->AddObserver(&m_copyObserver);
    for (TAddressListFollower* f : m_followers)
        engine->AddObserver(f);

    auto* view = new TAdrsListView(*engine, this);
    view->SetSearchWord(m_searchWord);
    connect(view, &TAdrsListView::rowDoubleClicked, this, [this](int) { actInquiryExecute(); });
    connect(view, &TAdrsListView::rowsPopup, this, [this](const QPoint& at) { m_pmAdrs->popup(at); });
    connect(view, &TAdrsListView::columnsPopup, this, [this](const QPoint& at) { m_pmColumn->popup(at); });
    if (m_lvAddress) {
        // The layout hands back the old view's item: it is ours to delete.
        delete m_layout->replaceWidget(m_lvAddress, view);
        delete m_lvAddress;
    } else {
        m_layout->insertWidget(1, view, 1);
    }
    m_lvAddress = view;
    m_engine = std::move(engine);
    UpdateCellContext();
}

void TAddressList::ReleaseTable()
{
    if (m_adrsOpen && DMQuenrid215)
        DMQuenrid215->CloseAdrs();
    m_adrsOpen = false;
    if (m_engine && &m_engine->AdrsTable() != m_noTable.get()) {
        AttachTable(nullptr);
        RefreshList(true, false, false);
    }
}

void TAddressList::UpdateCellContext()
{
    TAdrsCellContext& context = m_engine->CellContext();
    context.GroupNames = GroupNames.mid(1);
    context.AdminPasswordSet = !AdminPassword.isEmpty();
    context.AdminMode = AdminMode;
    context.MajorCategoryName = [](int major) { return GetMajorCategoryName(major); };
    context.MinorCategoryName = [](int major, int minor) { return GetMinorCategoryName(major, minor); };
}

void TAddressList::RefreshList(bool rebuildColumns, bool reload, bool keepScroll)
{
    try {
        // Without a book there is nothing to read: the list stays empty.
        m_engine->RefreshList(rebuildColumns, reload && m_adrsOpen, keepScroll);
    } catch (const std::exception& e) {
        MessageBoxPos(
            this, QStringLiteral("アドレス帳が読み出せませんでした  \r\n") + QString::fromLocal8Bit(e.what()),
            ProductTitle, MsgSeam::MbIconStop);
    }
    UpdateStatusPanels();
}

void TAddressList::SelectIndex(int index, bool clearOthers, bool makeVisible)
{
    m_engine->SelectIndex(index, clearOthers, makeVisible);
}

void TAddressList::AddFollower(TAddressListFollower* follower)
{
    if (!follower || m_followers.contains(follower))
        return;
    m_followers.append(follower);
    m_engine->AddObserver(follower);
}

void TAddressList::RemoveFollower(TAddressListFollower* follower)
{
    m_followers.removeAll(follower);
    m_engine->RemoveObserver(follower);
}

bool TAddressList::FindNextWord()
{
    int next = m_engine->NextWordIndex();
    const bool found = ::FindNextWord(*this, m_searchWord, next, this);
    m_engine->SetNextWordIndex(next);
    return found;
}

void TAddressList::FocusList()
{
    if (m_lvAddress && isVisible())
        m_lvAddress->setFocus();
}

QStringList TAddressList::KeywordNames() const
{
    return ::KeywordNames;
}

QList<AnsiString> TAddressList::HistoryEntries(int narrowRow) const
{
    QList<AnsiString> entries;
    if (!DMQuenrid215)
        return entries;
    THistoryData* list = nullptr;
    if (narrowRow == 12)
        list = DMQuenrid215->DptmntHistory();
    else if (narrowRow == 13)
        list = DMQuenrid215->PostHistory();
    else if (narrowRow >= 29 && narrowRow <= 31)
        list = DMQuenrid215->KeywordHistories(narrowRow - 29);
    if (list && list->IsLoaded())
        for (int i = 0; i < list->Count(); ++i)
            entries.append(list->GetText(i));
    return entries;
}

// ---- host ----

void TAddressList::ShowCounts(int selected, int shown)
{
    m_pnlSelectedCount->setText(QStringLiteral("選択件数： %1").arg(selected));
    m_pnlShownCount->setText(QStringLiteral("表示件数： %1").arg(shown));
}

void TAddressList::EnableRecordActions(bool)
{
    UpdateActions();
}

void TAddressList::SetBusy(bool on)
{
    if (on) {
        if (m_busy++ == 0)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_busy > 0 && --m_busy == 0) {
        QApplication::restoreOverrideCursor();
    }
}

void TAddressList::UpdateActions()
{
    const bool rows = m_engine && m_engine->GetRecordCount() > 0;
    for (const TActionDef& def : ActionDefs) {
        QAction* action = Action(QString::fromLatin1(def.name));
        bool enabled = def.rows ? rows : true;
        if (def.command >= 0)
            enabled = enabled && HasListCommand(TListCommand(def.command));
        const QString name = QString::fromLatin1(def.name);
        if (name == u"actAdrsCopy")
            enabled = enabled && AddressCopyAvailable();
        else if (name == u"actInquiry" || name == u"actNumerSearch")
            enabled = enabled && RecordCardAvailable();
        else if (name == u"actSwitchAdminMode")
            enabled =
                !AdminPassword.isEmpty() && (AdminMode || HasListCommand(TListCommand::SwitchAdminMode));
        else if (name == u"actTopic")
            enabled = !MainForm.isNull();
        else if (name == u"actWordNext")
            enabled = !m_searchWord.isEmpty();
        else if (name == u"actDisableSearch" || name == u"actCancelSearch")
            enabled = m_engine &&
                      (!m_engine->NarrowCondition().items.isEmpty() || m_engine->DuplicateItems()[0] != 0);
        if (action->isEnabled() != enabled)
            action->setEnabled(enabled);
    }
}

void TAddressList::UpdateStatusPanels()
{
    paintPanel(m_pnlAdminMode, AdminMode ? QStringLiteral("管理者モード") : QString(), QColor(255, 191, 191));
    const TNarrowPanelState state = m_engine->NarrowPanelState();
    paintPanel(m_pnlNarrowState, NarrowPanelText(state), NarrowPanelColor(state));
    ShowCounts(m_engine->GetSelectedCount(), m_engine->GetRecordCount());
}

void TAddressList::UpdateListColor()
{
    std::optional<QColor> color;
    if (MainSettings.BGPaint && CardShowsListRow()) {
        const int v = MainSettings.BGColor;
        color = QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
    }
    m_lvAddress->SetBackgroundColor(color);
    m_lvAddress->viewport()->update();
}

// ---- combos ----

void TAddressList::FillGroupCombo()
{
    m_cbxGroup->clear();
    m_cbxGroup->addItem(QStringLiteral("すべて"));
    m_cbxGroup->addItem(QStringLiteral("未指定のみ"));
    for (int i = 1; i <= GroupCount; ++i)
        m_cbxGroup->addItem(
            QStringLiteral("%1： %2").arg(i, 2).arg(GroupNames.value(i, DefaultGroupName(i))));
    m_cbxGroup->setCurrentIndex(m_engine->ViewGroup());
    UpdateCellContext();
}

void TAddressList::FillSortCombo()
{
    m_cbxSort->clear();
    for (int i = 0; i < int(AddressSortTable.size()); ++i)
        m_cbxSort->addItem(AddressSortCaption(i, ::KeywordNames));
    m_cbxSort->setCurrentIndex(m_engine->SortType());
}

void TAddressList::SetSortDirGlyph()
{
    const bool ascending = m_engine->SortDir();
    SetButtonPicture(m_sbtnSortDirection, ascending ? QStringLiteral("UP") : QStringLiteral("DOWN"));
    m_sbtnSortDirection->setProperty("glyph", ascending ? QStringLiteral("UP") : QStringLiteral("DOWN"));
    m_sbtnSortDirection->setToolTip(ascending ? QStringLiteral("表示方向： 昇順")
                                              : QStringLiteral("表示方向： 降順"));
    m_sbtnSortDirection->setStatusTip(QStringLiteral("指定中の表示順の昇順と降順を切り替えます"));
    m_cbxSort->setCurrentIndex(m_engine->SortType());
}

void TAddressList::SetSortControls(bool enabled, bool buttonFace)
{
    m_cbxSort->setEnabled(enabled);
    m_sbtnSortDirection->setEnabled(enabled);
    QPalette p = m_cbxSort->palette();
    const QPalette app = QApplication::palette();
    p.setColor(QPalette::Base, buttonFace ? app.color(QPalette::Button) : app.color(QPalette::Base));
    p.setColor(QPalette::Button, buttonFace ? app.color(QPalette::Button) : app.color(QPalette::Base));
    m_cbxSort->setPalette(p);
}

// ---- events ----

bool TAddressList::event(QEvent* event)
{
    if (event->type() == MsgAddressListStart) {
        WMStartup();
        return true;
    }
    if (event->type() == QEvent::StatusTip) {
        if (isActiveWindow())
            m_pnlHint->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    if (event->type() == QEvent::WindowDeactivate)
        m_pnlHint->clear();
    return QDialog::event(event);
}

void TAddressList::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    UpdateActions();
    if (!m_started) {
        m_started = true;
        QCoreApplication::postEvent(this, new QEvent(MsgAddressListStart));
    }
}

void TAddressList::reject()
{
    // Escape and the window's close button both run actExit.
    actExitExecute();
}

void TAddressList::done(int result)
{
    // The close query: every modeless child must have closed first.
    if (!CloseChildWindows())
        return;
    QDialog::done(result);
}

void TAddressList::actExitExecute()
{
    done(QDialog::Rejected);
}

// ---- start-up and books ----

void TAddressList::WMStartup()
{
    repaint();
    // The notices and the update offer come first; a started updater ends the program at once.
    if (HasListCommand(TListCommand::StartupNotices)) {
        const TListCommandResult notices = RunListCommand(TListCommand::StartupNotices, *this);
        if (notices.updaterStarted) {
            actExitExecute();
            return;
        }
        SaveStartOptions();
    }
    QString text;
    if (FirstRun)
        text = QStringLiteral("使用するアドレス帳を指定するために  \r\nアドレス帳の作成画面に入ります  ");
    else if (DataPathReset)
        text = QStringLiteral(
            "データ保存フォルダーが切り替わりました  \r\n新しく開くアドレス帳を指定してください  ");
    else if (AdrsNameDefaulted)
        text = QStringLiteral("開くアドレス帳を指定してください  ");
    if (!text.isEmpty())
        MessageBoxPos(this, text, ProductTitle, MsgSeam::MbIconInformation);
    OpenAddressBook(DataPathReset || AdrsNameDefaulted);
    m_startupDone = true;
}

bool TAddressList::OpenAddressBook(bool choose)
{
    if (choose) {
        TAddressSelect select(this);
        select.BookName() = CurrentAdrsName;
        select.SetMode(9);
        CenterForm(&select, this);
        if (select.exec() != TAddressSelect::mrOk) {
            actExitExecute();
            return false;
        }
        CurrentAdrsName = select.BookName();
        writeAdrsName();
    }
    CurrentAdrsIndex = indexOfBook(CurrentAdrsName);
    setWindowTitle(ProductTitle + QStringLiteral(" - ") + CurrentAdrsName);
    ReleaseTable();

    TDMQuenrid215* dm = DMQuenrid215;
    if (!dm || CurrentAdrsIndex < 0)
        return false;
    dm->InitDatabase();
    if (!dm->Connect())
        return false;
    dm->CreateAdrsTable(AdrsFolderList[CurrentAdrsIndex].Folder);
    if (!dm->OpenAdrs())
        return false;
    m_adrsOpen = true;
    dm->CreateSenderTable();
    dm->CreateCategoryTables();
    AttachTable(dm->AdrsTable());

    LoadGroupFile(CurrentGroupFilePath());
    FillGroupCombo();
    RefreshList(true, true, false);
    SelectIndex(0, false, false);
    LoadSenderList();
    UpdateListColor();
    return true;
}

void TAddressList::actAddressSelectExecute(int tag)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TAddressSelect select(this);
    select.BookName() = CurrentAdrsName;
    select.SetMode(tag);
    CenterForm(&select, this);
    QApplication::restoreOverrideCursor();
    const int result = select.exec();
    // The dialog may have reordered, deleted or added books whatever closed it: the open book's entry is
    // found again by its name.
    CurrentAdrsIndex = indexOfBook(CurrentAdrsName);
    if (result != TAddressSelect::mrOk || !select.BookChanged() || !CloseChildWindows())
        return;

    SetBusy(true);
    TDMQuenrid215* dm = DMQuenrid215;
    ReleaseTable();
    if (dm)
        dm->FreeAdrsTable();
    CurrentAdrsName = select.BookName();
    writeAdrsName();
    CurrentAdrsIndex = indexOfBook(CurrentAdrsName);
    setWindowTitle(ProductTitle + QStringLiteral(" - ") + CurrentAdrsName);
    if (dm && CurrentAdrsIndex >= 0) {
        dm->CreateAdrsTable(AdrsFolderList[CurrentAdrsIndex].Folder);
        if (dm->OpenAdrs()) {
            m_adrsOpen = true;
            AttachTable(dm->AdrsTable());
            LoadGroupFile(CurrentGroupFilePath());
            FillGroupCombo();
            RefreshList(true, true, false);
            SelectIndex(0, false, false);
            LoadSenderList();
            FocusList();
        }
    }
    SetBusy(false);
}

void TAddressList::ReopenDataFolder()
{
    TNarrowDownCondition none;
    m_engine->SetNarrowCondition(none);
    Action(QStringLiteral("actDisableSearch"))->setChecked(false);
    m_engine->SetDisableSearch(false);
    LoadNarrowDown();
    ReleaseTable();
    StartupServices().CopyDefaultHistories();
    ::LoadAddressBookList(false);
    if (TDMQuenrid215* dm = DMQuenrid215) {
        dm->FreeCategoryTables();
        dm->FreeSenderTable();
        dm->FreeAdrsTable();
        dm->Disconnect();
        dm->FreeDatabase();
    }
    LoadViewSettings();
    FillSortCombo();
    SetSortDirGlyph();
    OpenAddressBook(true);
    UpdateStatusPanels();
}

bool TAddressList::CloseChildWindows()
{
    for (TListChild child :
         {TListChild::NameAdrsSearch, TListChild::CategorySearch, TListChild::DataInquiry,
          TListChild::AddressCopy, TListChild::FileExport, TListChild::MarkExport, TListChild::ListPrint}) {
        QWidget* window = ChildWindow(child);
        if (!window)
            continue;
        QPointer<QWidget> guard(window);
        // A window that refuses (a search running, unsaved input) stays; so does the program.
        if (!window->close() && guard)
            return false;
    }
    return CloseDesignWindows(0);
}

bool TAddressList::CloseDesignWindows(int kind)
{
    const std::pair<TListChild, int> designers[] = {{TListChild::LayoutForm, 1},
                                                    {TListChild::LabelForm, 2},
                                                    {TListChild::CardForm, 3},
                                                    {TListChild::DesignForm, 4}};
    for (const auto& [child, childKind] : designers) {
        if (childKind == kind)
            continue;
        QWidget* window = ChildWindow(child);
        if (!window)
            continue;
        QPointer<QWidget> guard(window);
        if (!window->close() && guard)
            return false;
    }
    return true;
}

// ---- commands ----

void TAddressList::actEditGroupExecute()
{
    QWidget* active = QApplication::activeWindow();
    QWidget* other = nullptr;
    if (active == this || (active && active == ChildWindow(TListChild::DataInquiry)))
        other = active;
    TGruopEdit edit(this, other);
    if (edit.exec() == QDialog::Accepted && edit.GroupsChanged) {
        FillGroupCombo();
        const int first = GetFirstSelectedIndex();
        RefreshList(true, false, true);
        SelectIndex(first, false, false);
        TellCard(&TDataInquiry::RefreshGroups);
        for (TAddressListFollower* f : m_followers)
            f->RefreshPreview();
    }
    if (QApplication::activeWindow() == this)
        FocusList();
}

void TAddressList::actDeleteExecute()
{
    if (GetSelectedCount() == 0)
        return;
    if (MessageBoxPos(this, QStringLiteral("選択したデータを削除します  \r\nよろしいですか？  "),
                      ProductTitle,
                      MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2) != MsgSeam::IdYes)
        return;
    SetBusy(true);
    const int first = GetFirstSelectedIndex();
    const qint32 currentRecNo = GetRecNo(GetCurrentIndex());
    QList<qint32> selected;
    for (int i = first; i >= 0 && i < GetRecordCount(); ++i)
        if (IsSelected(i))
            selected.append(GetRecNo(i));
    // Small deletions finish before the progress would show.
    QProgressDialog progress(QStringLiteral("削除しています..."), QString(), 0, int(selected.size()), this);
    progress.setWindowTitle(ProductTitle);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    const TAdrsListEngine::TDeleteResult result = m_engine->DeleteRecords(selected, [&progress](int done) {
        progress.setValue(done);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    progress.close();
    try {
        m_engine->AdrsTable().flushBuffers();
    } catch (const std::exception&) {
    }
    if (currentRecNo >= 0 && result.deleted.contains(currentRecNo)) {
        SetCurrentIndex(-1);
        CardCloseDeleted();
    }
    if (!result.deleted.isEmpty()) {
        RefreshList(false, true, true);
        SelectIndex(first, false, true);
        NotifyRecordsDeleted(result.deleted);
    }
    SetBusy(false);
    if (result.failed > 0)
        MessageBoxPos(this, QStringLiteral("%1件のデータを削除できませんでした  ").arg(result.failed),
                      ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconStop);
}

void TAddressList::actWordSearchExecute()
{
    QString word = m_searchWord;
    if (!ExecuteWordSearch(this, word))
        return;
    m_searchWord = word;
    Action(QStringLiteral("actWordNext"))->setEnabled(!word.isEmpty());
    m_lvAddress->SetSearchWord(word);
    m_lvAddress->viewport()->update();
    if (word.isEmpty())
        return;
    m_engine->SetNextWordIndex(-1);
    if (!FindNextWord())
        MessageBoxPos(this, QStringLiteral("指定した文字列は見つかりませんでした  "), ProductTitle,
                      MsgSeam::MbIconInformation);
}

void TAddressList::actWordNextExecute()
{
    if (!m_searchWord.isEmpty())
        FindNextWord();
}

void TAddressList::RefreshAfterNarrowing()
{
    RefreshList(false, true, false);
    SelectIndex(GetCurrentIndex(), false, true);
    for (TAddressListFollower* f : m_followers)
        f->RefreshData();
    UpdateActions();
    UpdateStatusPanels();
}

void TAddressList::actAdrsSearchExecute()
{
    TNarrowDownCondition condition = m_engine->NarrowCondition();
    if (!ExecuteAddressSearch(this, *this, condition))
        return;
    m_engine->SetNarrowCondition(condition);
    Action(QStringLiteral("actDisableSearch"))->setChecked(false);
    m_engine->SetDisableSearch(false);
    SetSortControls(true, false);
    if (m_engine->DuplicateItems()[0] != 0)
        m_engine->SetDuplicateItems(0, 0);
    RefreshAfterNarrowing();
}

void TAddressList::actDuplicateSearchExecute()
{
    const std::array<int, 2> items = m_engine->DuplicateItems();
    TDuplicatePair pair{items[0], items[1]};
    if (!ExecuteDuplicateSearch(this, pair))
        return;
    m_engine->SetDuplicateItems(pair.first, pair.second);
    Action(QStringLiteral("actDisableSearch"))->setChecked(false);
    m_engine->SetDisableSearch(false);
    const bool on = m_engine->DuplicateItems()[0] != 0;
    SetSortControls(!on, on);
    if (on && !m_engine->NarrowCondition().items.isEmpty()) {
        TNarrowDownCondition none;
        m_engine->SetNarrowCondition(none);
    }
    RefreshAfterNarrowing();
}

void TAddressList::actDisableSearchExecute()
{
    const bool checked = Action(QStringLiteral("actDisableSearch"))->isChecked();
    m_engine->SetDisableSearch(checked);
    if (checked) {
        SetSortControls(true, false);
    } else {
        const bool duplicates = m_engine->DuplicateItems()[0] != 0;
        SetSortControls(!duplicates, duplicates);
    }
    RefreshAfterNarrowing();
}

void TAddressList::actCancelSearchExecute()
{
    TNarrowDownCondition none;
    m_engine->SetNarrowCondition(none);
    m_engine->SetDuplicateItems(0, 0);
    SetSortControls(true, false);
    QAction* disable = Action(QStringLiteral("actDisableSearch"));
    if (disable->isChecked()) {
        // The list already shows everything of the group.
        disable->setChecked(false);
        m_engine->SetDisableSearch(false);
    } else {
        RefreshAfterNarrowing();
    }
    UpdateActions();
    UpdateStatusPanels();
}

void TAddressList::actKeywordEditExecute()
{
    TKeywordEdit edit(this);
    CenterForm(&edit, this);
    if (edit.exec() == QDialog::Accepted) {
        if (edit.NamesChanged) {
            m_engine->SetKeywordNames(::KeywordNames);
            FillSortCombo();
            const int first = GetFirstSelectedIndex();
            RefreshList(true, false, true);
            SelectIndex(first, false, false);
            TellCard(&TDataInquiry::ApplyKeywordNames);
            for (TAddressListFollower* f : m_followers)
                f->UpdateKeywordNames();
        }
        if (edit.ModesChanged)
            TellCard(&TDataInquiry::ApplyKeywordInputModes);
    }
    FocusList();
}

void TAddressList::actProtectMemoEditExecute()
{
    TProtectMemoEdit edit(this);
    CenterForm(&edit, this);
    if (edit.exec() == QDialog::Accepted) {
        if (edit.NamesChanged) {
            TellCard(&TDataInquiry::ApplyProtectMemoNames);
            for (TAddressListFollower* f : m_followers)
                f->UpdateProtectMemoNames();
        }
        if (edit.ModesChanged)
            TellCard(&TDataInquiry::ApplyProtectMemoInputModes);
    }
    FocusList();
}

void TAddressList::actViewColumnExecute()
{
    QList<TAddressColumnRec> columns = m_engine->Columns();
    if (!ExecuteHeaderSelect(this, *this, columns))
        return;
    m_engine->SetColumns(columns);
    const int first = GetFirstSelectedIndex();
    RefreshList(true, false, true);
    SelectIndex(first, false, false);
    for (TAddressListFollower* f : m_followers)
        f->UpdateListLayoutTemplate();
    FocusList();
}

void TAddressList::actInitColumnExecute()
{
    TAddressColumns columns = m_engine->Columns();
    for (TAddressColumnRec& rec : columns)
        if (rec.shown && rec.item >= 0 && rec.item < int(AddressListColumnTable.size()))
            rec.width = ScaleByDpi(AddressListColumnTable[size_t(rec.item)].defaultWidth, 1);
    m_engine->SetColumns(columns);
    RefreshList(true, false, true);
}

void TAddressList::actReloadExecute()
{
    const int first = GetFirstSelectedIndex();
    RefreshList(false, true, true);
    SelectIndex(first, false, false);
    FocusList();
}

void TAddressList::actImportFileExecute()
{
    if (!CloseChildWindows())
        return;
    if (RunListCommand(TListCommand::ImportFile, *this).ok) {
        RefreshList(false, true, false);
        SelectIndex(0, false, false);
    }
    FocusList();
}

void TAddressList::actBatchChangeExecute()
{
    if (QWidget* card = ChildWindow(TListChild::DataInquiry))
        card->close();
    if (RunListCommand(TListCommand::BatchChange, *this).ok) {
        const int first = GetFirstSelectedIndex();
        RefreshList(false, true, true);
        SelectIndex(first, false, true);
        for (TAddressListFollower* f : m_followers)
            f->RefreshData();
    }
    FocusList();
}

void TAddressList::actDesignerExecute(TListCommand command, int kind)
{
    if (CloseDesignWindows(kind))
        RunListCommand(command, *this);
}

void TAddressList::actListPrintExecute()
{
    if (TPrinterList::Instance().Count() == 0) {
        MessageBoxPos(this, QStringLiteral("プリンターがインストールされていません  "), ProductTitle,
                      MsgSeam::MbIconInformation);
        return;
    }
    RunListCommand(TListCommand::ListPrint, *this);
}

void TAddressList::actEnvironmentExecute()
{
    const TListCommandResult result = RunListCommand(TListCommand::Environment, *this);
    if (result.updaterStarted) {
        QCoreApplication::processEvents();
        actExitExecute();
        return;
    }
    if (!result.ok)
        return;
    if (result.dataPathChanged) {
        ReopenDataFolder();
        return;
    }
    if (result.hisCountChanged)
        for (TAddressListFollower* f : m_followers)
            f->ApplyHistoryCount();
    if (result.viewColorChanged) {
        for (TAddressListFollower* f : m_followers)
            f->UpdateResultColor();
        UpdateListColor();
    }
    if (result.linkProgramChanged)
        TellCard(&TDataInquiry::UpdateLinkHints);
    if (result.myNumberChanged)
        TellCard(&TDataInquiry::ShowOwnNumber);
}

void TAddressList::actRestoreExecute()
{
    const TListCommandResult result = RunListCommand(TListCommand::Restore, *this);
    if (result.ok) {
        ::LoadAddressBookList(false);
        TDMQuenrid215* dm = DMQuenrid215;
        if (result.changeDataPath) {
            ReleaseTable();
            StartupServices().CopyDefaultHistories();
            if (dm) {
                dm->FreeCategoryTables();
                dm->FreeSenderTable();
                dm->FreeAdrsTable();
                dm->Disconnect();
                dm->FreeDatabase();
            }
            OpenAddressBook(true);
        } else if (dm) {
            dm->Disconnect();
            dm->Connect();
            CurrentAdrsIndex = indexOfBook(CurrentAdrsName);
            RefreshList(false, true, false);
            SelectIndex(0, false, false);
        }
    }
    FocusList();
}

void TAddressList::actMaintenanceExecute(TListCommand command)
{
    const TListCommandResult result = RunListCommand(command, *this);
    if (!result.ok || (command == TListCommand::RepairIndex && !result.repaired))
        return;
    RefreshList(false, true, false);
    SelectIndex(0, false, false);
    if (command == TListCommand::ConvertKykbn)
        LoadSenderList();
}

void TAddressList::actSwitchAdminModeExecute()
{
    QAction* action = Action(QStringLiteral("actSwitchAdminMode"));
    if (AdminMode) {
        action->setText(QStringLiteral("管理者モードへの移行(&A)..."));
        AdminMode = false;
    } else {
        if (!RunListCommand(TListCommand::SwitchAdminMode, *this).ok)
            return;
        action->setText(QStringLiteral("管理者モードを終了(&A)"));
        AdminMode = true;
    }
    UpdateCellContext();
    actReloadExecute();
    UpdateStatusPanels();
    TellCard(&TDataInquiry::ApplyProtection);
}

void TAddressList::actInfoExecute()
{
    const TListCommandResult result = RunListCommand(TListCommand::Info, *this);
    if (!result.ok)
        return;
    if (result.noticeAtStart)
        MainSettings.Info = *result.noticeAtStart;
    if (result.updateCheckAtStart)
        MainSettings.UpdateCheck = *result.updateCheckAtStart;
    SaveStartOptions();
}

void TAddressList::SaveStartOptions()
{
    TMemIniFile ini = mainSettings();
    ini.WriteBool(QStringLiteral("BASE"), QStringLiteral("Info"), MainSettings.Info);
    ini.WriteBool(QStringLiteral("UPDATE"), QStringLiteral("UpdateCheck"), MainSettings.UpdateCheck);
    ini.UpdateFile();
}

void TAddressList::actTopicExecute()
{
    if (MainForm)
        MainForm->HelpHandler(0);
}

// ---- the record card ----

QWidget* TAddressList::ChildWindow(TListChild child) const
{
    if (child == TListChild::DataInquiry)
        return DataInquiry.data();
    if (child == TListChild::AddressCopy)
        return AddressCopy.data();
    return ListChildWindow(child);
}

void TAddressList::actAdrsCopyExecute()
{
    ShowAddressCopy(this, *this);
}

bool TAddressList::CardExists() const
{
    return !DataInquiry.isNull();
}

bool TAddressList::CardWalksList() const
{
    return DataInquiry && DataInquiry->ListSource() == lsAddressList;
}

qint32 TAddressList::CardLoadedRecNo() const
{
    return DataInquiry ? DataInquiry->GetLoadedRecNo() : -1;
}

void TAddressList::CardUpdateNavigation()
{
    if (DataInquiry)
        DataInquiry->UpdateNavigation();
}

void TAddressList::CardRefreshSenders()
{
    if (DataInquiry)
        DataInquiry->RefreshSenders();
}

void TAddressList::CardSetRecordSender(qint32 senderRecNo)
{
    if (DataInquiry)
        DataInquiry->SetRecordSender(senderRecNo);
}

bool TAddressList::CardShowsListRow() const
{
    return CardWalksList() && GetCurrentIndex() >= 0;
}

void TAddressList::CardCloseDeleted()
{
    if (!CardWalksList())
        return;
    DataInquiry->SetSkipConfirm(1);
    DataInquiry->close();
}

void TAddressList::TellCard(void (TDataInquiry::*step)())
{
    if (DataInquiry)
        (DataInquiry->*step)();
}

bool TAddressList::MoveAndRead(TCardMove move, TCardItem& item)
{
    item.isDirectory = false;
    switch (move) {
    case cmFirst:
        return ReadFirstRecord(item.address);
    case cmPrior:
        return ReadPriorRecord(item.address);
    case cmNext:
        return ReadNextRecord(item.address);
    case cmLast:
        return ReadLastRecord(item.address);
    }
    return false;
}

QList<TCardSender> TAddressList::Senders() const
{
    QList<TCardSender> senders;
    for (int i = 0; i < GetSenderCount(); ++i)
        senders.append({GetSenderTitle(i), GetSenderRecNo(i)});
    return senders;
}

bool TAddressList::EditGroupNames()
{
    actEditGroupExecute();
    return true;
}

namespace {

// The card, created with the list as owner when missing, restored when minimized.
TDataInquiry* ensureCard(TAddressList* list)
{
    if (!DataInquiry)
        DataInquiry = new TDataInquiry(list, ModuleCardData(), list);
    if (DataInquiry->isMinimized())
        DataInquiry->showNormal();
    return DataInquiry;
}

} // namespace

void TAddressList::actInquiryExecute()
{
    if (GetRecordCount() == 0 || GetSelectedCount() == 0)
        return;
    // Only the focused row stays selected.
    const int focused = GetFocusedIndex();
    for (int i = GetRecordCount() - 1; i >= 0 && GetSelectedCount() > 1; --i)
        if (i != focused && IsSelected(i))
            SetItemSelected(i, false);
    const int first = GetFirstSelectedIndex();

    bool saved = false;
    if (DataInquiry) {
        if (CardWalksList() && first == GetCurrentIndex()) {
            ForceForegroundWindow(DataInquiry);
            return;
        }
        const int answer = DataInquiry->ConfirmPendingChanges(0, 0);
        if (answer == 9)
            return;
        saved = answer == 0;
    }
    TAdrsDataRec rec;
    if (ReadRecordAt(first, rec)) {
        TDataInquiry* card = ensureCard(this);
        card->SetListSource(lsAddressList);
        card->ShowAddressRecord(rec);
        ClearAdrsDataRec(&rec);
        card->show();
        card->raise();
        card->activateWindow();
    }
    if (saved) {
        RefreshList(false, true, true);
        SelectIndex(GetCurrentIndex(), false, false);
    }
    UpdateListColor();
}

void TAddressList::actNumerSearchExecute()
{
    TDataInquiry* card = ensureCard(this);
    card->NewRecord();
    card->show();
    card->raise();
    card->activateWindow();
}
