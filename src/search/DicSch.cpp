// The lookup dialog.
#include "search/DicSch.h"

#include "core/AppSub.h"
#include "core/ButtonPictures.h"
#include "core/DialogSub.h"
#include "core/Dlhyp.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "platform/TableEngine.h"
#include "search/AdrsDicClass.h"
#include "search/Dlkelvor17.h"
#include "search/KykbnDicClass.h"
#include "search/PosDicClass.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cstring>

namespace {

enum { TabTel = 0, TabPos = 1, TabAdrs = 2 };
const int TabHelpContexts[] = {35, 37, 38};
const QColor Maroon(0x80, 0, 0);
const QString ChooseFromListText = QStringLiteral("確定したいデータをリストから選択してください。");
const QString NotShownText = QStringLiteral("該当するデータは表示できません。");
const QString NotFoundDataText = QStringLiteral("該当するデータは見つかりませんでした。");
const QString NoAddressText = QStringLiteral("該当する住所は見つかりませんでした。");

// The town's index in the wrapper.
constexpr int TownIndexRole = Qt::UserRole;

void SetTextColor(QWidget* w, const QColor& color)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText,
               color.isValid() ? color : QApplication::palette().color(QPalette::WindowText));
    p.setColor(QPalette::ButtonText,
               color.isValid() ? color : QApplication::palette().color(QPalette::ButtonText));
    w->setPalette(p);
}

QTreeWidget* MakeList(QWidget* parent, const char* name, const QStringList& headers)
{
    auto* list = Named<QTreeWidget>(parent, name);
    list->setRootIsDecorated(false);
    list->setColumnCount(int(headers.size()));
    list->setHeaderLabels(headers);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setAllColumnsShowFocus(true);
    return list;
}

int SelectedRow(const QTreeWidget* list)
{
    const QList<QTreeWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->indexOfTopLevelItem(items.first());
}

void SelectFirst(QTreeWidget* list, bool focus)
{
    if (list->topLevelItemCount() == 0)
        return;
    list->setCurrentItem(list->topLevelItem(0));
    list->topLevelItem(0)->setSelected(true);
    if (focus)
        list->setFocus();
}

} // namespace

TDicSearch::TDicSearch(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("DicSearch"));
    setWindowTitle(QStringLiteral("検索"));
    setFixedSize(565, 485);
    m_ownerWindow = owner ? owner->window() : nullptr;

    auto* v = new QVBoxLayout(this);
    pgctlDicSch = Named<QStackedWidget>(this, "pgctlDicSch");
    tabstSearch = Named<QWidget>(pgctlDicSch, "tabstSearch");
    auto* sv = new QVBoxLayout(tabstSearch);
    sv->setContentsMargins(0, 0, 0, 0);
    pgctlDicType = Named<QTabWidget>(tabstSearch, "pgctlDicType");
    sv->addWidget(pgctlDicType);
    tabstTelSch = BuildTab(TabTel, QStringLiteral("検索する電話番号を入力してください。"), 13);
    tabstPosSch = BuildTab(TabPos, QStringLiteral("検索する郵便番号を入力してください。"), 8);
    tabstAdrsSch = BuildTab(TabAdrs, QStringLiteral("検索する住所を入力してください。"), 200);
    pgctlDicType->addTab(tabstTelSch, QStringLiteral("電話番号検索"));
    pgctlDicType->addTab(tabstPosSch, QStringLiteral("郵便番号検索"));
    pgctlDicType->addTab(tabstAdrsSch, QStringLiteral("住所検索"));
    pgctlDicType->tabBar()->installEventFilter(this);
    connect(pgctlDicType, &QTabWidget::currentChanged, this, [this] { TabChange(); });
    pgctlDicSch->addWidget(tabstSearch);
    pgctlDicSch->addWidget(BuildListPage());
    v->addWidget(pgctlDicSch);

    btnPrior = MakeButton(this, "btnPrior", QStringLiteral("戻る"));
    btnDecision = MakeButton(this, "btnDecision", QStringLiteral("決定"));
    btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    v->addLayout(ButtonRow({btnPrior, btnDecision, btnCancel}));
    btnPrior->setVisible(false);
    connect(btnPrior, &QPushButton::clicked, this, [this] { btnPriorClick(); });
    connect(btnDecision, &QPushButton::clicked, this, [this] { btnDecisionClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    edtTelSch = m_tabs[TabTel].edit;
    edtPosSch = m_tabs[TabPos].edit;
    edtAdrsSch = m_tabs[TabAdrs].edit;
    bbtnTelSch = m_tabs[TabTel].button;
    bbtnPosSch = m_tabs[TabPos].button;
    bbtnAdrsSch = m_tabs[TabAdrs].button;
    lblTelSch = m_tabs[TabTel].label;
    lblPosSch = m_tabs[TabPos].label;
    lblAdrsSch = m_tabs[TabAdrs].label;
    lvTelCity = m_tabs[TabTel].city;
    lvPosCity = m_tabs[TabPos].city;
    lvAdrsCity = m_tabs[TabAdrs].city;
    lvTelTown = m_tabs[TabTel].town;
    lvPosTown = m_tabs[TabPos].town;
    lvAdrsTown = m_tabs[TabAdrs].town;
    cbxTelViewKana = m_tabs[TabTel].kana;
    cbxPosViewKana = m_tabs[TabPos].kana;
    cbxAdrsViewKana = m_tabs[TabAdrs].kana;
    rbPosViewTown = m_tabs[TabPos].viewTown;
    rbPosViewOhguchi = m_tabs[TabPos].viewOhguchi;
    rbAdrsViewTown = m_tabs[TabAdrs].viewTown;
    rbAdrsViewOhguchi = m_tabs[TabAdrs].viewOhguchi;
    edtTelSch->setFont([] {
        QFont f;
        f.setPixelSize(19);
        f.setBold(true);
        return f;
    }());
    SetImeMode(edtTelSch, imClose);
    SetImeMode(edtPosSch, imClose);
    SetImeMode(edtAdrsSch, imHira);
    TabChange();
}

TDicSearch::~TDicSearch() = default;

QWidget* TDicSearch::BuildTab(int tab, const QString& prompt, int maxLength)
{
    static const char* const names[3][9] = {
        {"tabstTelSch", "lblTelSch", "edtTelSch", "bbtnTelSch", "lvTelCity", "lvTelTown", "cbxTelViewKana",
         "", ""},
        {"tabstPosSch", "lblPosSch", "edtPosSch", "bbtnPosSch", "lvPosCity", "lvPosTown", "cbxPosViewKana",
         "rbPosViewTown", "rbPosViewOhguchi"},
        {"tabstAdrsSch", "lblAdrsSch", "edtAdrsSch", "bbtnAdrsSch", "lvAdrsCity", "lvAdrsTown",
         "cbxAdrsViewKana", "rbAdrsViewTown", "rbAdrsViewOhguchi"}};
    const auto& n = names[tab];
    TTab& t = m_tabs[size_t(tab)];
    t.prompt = prompt;
    t.page = Named<QWidget>(nullptr, n[0]);
    auto* v = new QVBoxLayout(t.page);
    t.label = Named<QLabel>(t.page, n[1], prompt);
    v->addWidget(t.label);
    t.edit = Named<QLineEdit>(t.page, n[2]);
    t.edit->setMaxLength(maxLength);
    t.button = Named<QToolButton>(t.page, n[3]);
    t.button->setText(QStringLiteral("検索"));
    SetButtonPicture(t.button, QStringLiteral("SEARCH"));
    t.button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto* row = new QHBoxLayout;
    row->addWidget(t.edit, 1);
    row->addWidget(t.button);
    v->addLayout(row);
    connect(t.edit, &QLineEdit::returnPressed, t.button, &QToolButton::click);
    connect(t.button, &QToolButton::clicked, this, [this, tab] { bbtnSchClick(tab); });
    if (tab == TabTel) {
        chkSaveTel =
            Named<QCheckBox>(t.page, "chkSaveTel", QStringLiteral("検索した番号の市外局番を保存する"));
        PaintCheckedBlue(chkSaveTel);
        chkSaveTel->setVisible(false);
        connect(chkSaveTel, &QCheckBox::toggled, this, [this] { edtTelSch->setFocus(); });
        v->addWidget(chkSaveTel);
    }
    auto* lists = new QHBoxLayout;
    t.city = MakeList(t.page, n[4], {QString()});
    t.city->setHeaderHidden(true);
    t.city->setFixedWidth(tab == TabAdrs ? 190 : 150);
    t.town = MakeList(t.page, n[5], {QStringLiteral("〒"), QString(), QStringLiteral("住所")});
    t.town->header()->setStretchLastSection(false);
    t.town->setColumnWidth(0, 76);
    t.town->setColumnWidth(1, 28);
    t.town->setColumnWidth(2, 360);
    lists->addWidget(t.city);
    lists->addWidget(t.town, 1);
    v->addLayout(lists, 1);
    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(QStringLiteral("表示カナ")));
    t.kana = Named<QComboBox>(t.page, n[6]);
    t.kana->addItems(DicKanaFilterItems());
    t.kana->setMaxVisibleItems(11);
    t.kana->setCurrentIndex(0);
    filters->addWidget(t.kana);
    if (tab != TabTel) {
        filters->addSpacing(16);
        filters->addWidget(new QLabel(QStringLiteral("表示種類")));
        t.viewTown = Named<QRadioButton>(t.page, n[7], QStringLiteral("町大字一覧"));
        t.viewOhguchi = Named<QRadioButton>(t.page, n[8], QStringLiteral("大口事業所等名一覧"));
        t.viewTown->setChecked(true);
        PaintCheckedBlue(t.viewTown);
        PaintCheckedBlue(t.viewOhguchi);
        filters->addWidget(t.viewTown);
        filters->addWidget(t.viewOhguchi);
        for (QRadioButton* rb : {t.viewTown, t.viewOhguchi}) {
            connect(rb, &QRadioButton::clicked, this, [this, tab] { rbViewTypeClick(tab); });
            rb->installEventFilter(this);
        }
    }
    filters->addStretch(1);
    v->addLayout(filters);
    connect(t.kana, &QComboBox::currentIndexChanged, this, [this, tab] {
        if (SelectedRow(m_tabs[size_t(tab)].city) >= 0)
            FillTownList(tab);
    });
    connect(t.city, &QTreeWidget::itemSelectionChanged, this, [this, tab] { CityChanged(tab); });
    connect(t.town, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item)
            ChooseOrListHits();
    });
    for (QWidget* w : {static_cast<QWidget*>(t.city), static_cast<QWidget*>(t.town),
                       static_cast<QWidget*>(t.kana), t.city->viewport(), t.town->viewport()})
        w->installEventFilter(this);
    return t.page;
}

QWidget* TDicSearch::BuildListPage()
{
    tabstTelList = Named<QWidget>(pgctlDicSch, "tabstTelList");
    auto* v = new QVBoxLayout(tabstTelList);
    lblTelList1 = Named<QLabel>(tabstTelList, "lblTelList1");
    lblTelList2 = Named<QLabel>(tabstTelList, "lblTelList2", ChooseFromListText);
    pnlSchTel = Named<QLabel>(tabstTelList, "pnlSchTel");
    pnlSchKey = Named<QLabel>(tabstTelList, "pnlSchKey");
    for (QLabel* panel : {pnlSchTel, pnlSchKey}) {
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setAlignment(Qt::AlignCenter);
        panel->setMinimumWidth(60);
    }
    QFont big = pnlSchTel->font();
    big.setPixelSize(19);
    big.setBold(true);
    pnlSchTel->setFont(big);
    pnlSchTel->setMinimumWidth(200);
    v->addWidget(lblTelList1);
    auto* row = new QHBoxLayout;
    row->addWidget(pnlSchTel);
    row->addWidget(pnlSchKey);
    row->addStretch(1);
    v->addLayout(row);
    v->addWidget(lblTelList2);
    lvTelList =
        MakeList(tabstTelList, "lvTelList", {QStringLiteral("種類"), QStringLiteral("名称"), QString()});
    lvTelList->setColumnWidth(0, 88);
    lvTelList->setColumnWidth(1, 300);
    lvTelList->setColumnWidth(2, 108);
    lvTelList->installEventFilter(this);
    lvTelList->viewport()->installEventFilter(this);
    connect(lvTelList, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item)
            ChooseOrListHits();
    });
    v->addWidget(lvTelList, 1);
    return tabstTelList;
}

void TDicSearch::Configure(int flags, bool addressBookFirst, bool showSaveBox)
{
    pgctlDicType->setTabVisible(TabTel, (flags & (dsTelWithDirectory | dsTelOnly)) != 0);
    pgctlDicType->setTabVisible(TabPos, (flags & dsPostal) != 0);
    pgctlDicType->setTabVisible(TabAdrs, (flags & dsAddress) != 0);
    m_directoryAllowed = (flags & dsTelWithDirectory) != 0;
    m_addressBookFirst = addressBookFirst;
    m_showSaveBox = showSaveBox;
    chkSaveTel->setVisible(showSaveBox);
}

bool TDicSearch::SaveBoxShown() const
{
    return m_showSaveBox;
}

int TDicSearch::CurrentTab() const
{
    return qBound(0, pgctlDicType->currentIndex(), 2);
}

void TDicSearch::TabChange()
{
    ResultKind = CurrentTab();
    m_tabHelpContext = TabHelpContexts[ResultKind];
    SetHelpContext(this, m_tabHelpContext);
}

QWidget* TDicSearch::MessageOwner()
{
    if (isVisible())
        return this;
    return m_ownerWindow ? m_ownerWindow.data() : QApplication::activeWindow();
}

void TDicSearch::ShowError(const QString& message)
{
    MessageBoxPos(MessageOwner(), message, ProductTitle, MsgSeam::MbIconStop);
}

void TDicSearch::SetStatus(int tab, const QString& text, bool maroon)
{
    QLabel* label = m_tabs[size_t(tab)].label;
    label->setText(text);
    SetTextColor(label, maroon ? Maroon : QColor());
}

int TDicSearch::StartSearch(int kind, const QString& text)
{
    kind = qBound(0, kind, 2);
    const QString start = kind == TabAdrs ? text : DicStartText(text);
    pgctlDicType->setCurrentIndex(kind);
    m_tabs[size_t(kind)].edit->setText(start);
    TabChange();
    int result = 0;
    if (start.isEmpty()) {
        if (SaveBoxShown() && kind == TabTel)
            LoadSavedAreaCode();
    } else if (kind == TabTel) {
        result = RunPhoneSearch();
    } else {
        m_tabs[size_t(kind)].button->click();
    }
    return m_decided ? 1 : result;
}

int TDicSearch::CheckInput(int tab)
{
    TTab& t = m_tabs[size_t(tab)];
    const TDicInputCheck check = tab == TabAdrs
                                     ? (t.edit->text().trimmed().isEmpty() ? dicInputEmpty : dicInputOk)
                                     : CheckDicNumberInput(t.edit->text());
    switch (check) {
    case dicInputOk:
        return 0;
    case dicInputEmpty:
        SetStatus(tab, t.prompt, false);
        break;
    case dicInputBadChar:
        SetStatus(tab, DicBadCharText, true);
        break;
    case dicInputHyphensOnly:
        SetStatus(tab, DicHyphensOnlyText, true);
        break;
    }
    t.edit->setFocus();
    return 1;
}

void TDicSearch::bbtnSchClick(int tab)
{
    if (tab == TabTel) {
        RunPhoneSearch();
        return;
    }
    if (CheckInput(tab) != 0)
        return;
    const int rc = tab == TabPos ? SearchPostalCode() : SearchAddress();
    if (rc != 0)
        ClearLists(tab);
    else if (isVisible())
        m_tabs[size_t(tab)].city->setFocus();
}

void TDicSearch::ClearLists(int tab)
{
    TTab& t = m_tabs[size_t(tab)];
    const QSignalBlocker block(t.city);
    t.city->clear();
    t.town->clear();
    t.loaded = -1;
}

int TDicSearch::RunPhoneSearch()
{
    if (CheckInput(TabTel) != 0)
        return 9;
    m_matchedField.clear();
    const int book = m_addressBookFirst ? SearchAddressBook() : 8;
    int final = 0;
    if (book == 0) {
        ResultKind = rkAddressBook;
        ChooseOrListHits();
    } else if (book == 8) {
        int dir = 1;
        if (m_directoryAllowed) {
            dir = SearchDirectoryPhone();
            m_notDisplayable = dir == KELVOR_NOT_SHOWN;
        }
        if (dir == 0) {
            ResultKind = rkDirectory;
            ChooseOrListHits();
        } else {
            final = SearchExchangeCode();
            if (final == 0 && isVisible())
                lvTelCity->setFocus();
        }
    } else {
        return 9;
    }
    if (final != 0)
        ClearLists(TabTel);
    else if (SaveBoxShown())
        SaveAreaCode();
    return 0;
}

int TDicSearch::SearchAddressBook()
{
    m_adrsHits.clear();
    m_adrsRecNos.clear();
    m_haveAdrsHits = true;
    if (!m_book)
        return 8;
    const AnsiString digits = KeepNumberChars(ToAnsi(edtTelSch->text()), KeepDigits);
    static const char* const indexes[] = {"Tel", "Fax", "Portable1", "Portable2"};
    static const QString fieldNames[] = {QStringLiteral("TEL"), QStringLiteral("FAX"),
                                         QStringLiteral("携帯１"), QStringLiteral("携帯２")};
    try {
        // A table object of its own: the shared cursor keeps its index and position.
        Table table(m_book->session());
        table.setDatabaseName(m_book->databaseName());
        table.setTableName(m_book->tableName());
        table.open();
        for (int i = 0; i < 4 && m_adrsHits.isEmpty(); ++i) {
            const QString name = QLatin1String(indexes[i]);
            table.setIndexName(name);
            table.findNearest({QVariant(digits)});
            while (!table.eof() && TrimAnsiText(table.fieldByName(name).asAnsi()) == digits) {
                TAdrsSchInfo info;
                info.isPerson = table.fieldByName(QStringLiteral("PrivCorp")).asBoolean();
                const AnsiString nameKanji =
                    TrimAnsiText(table.fieldByName(QStringLiteral("NameKanji")).asAnsi());
                if (info.isPerson) {
                    info.name = nameKanji;
                } else {
                    info.name = TrimAnsiText(table.fieldByName(QStringLiteral("CorpKanji")).asAnsi());
                    info.contact = nameKanji;
                }
                m_adrsHits.append(info);
                m_adrsRecNos.append(qint32(table.fieldByName(QStringLiteral("RecNo")).asInteger()));
                table.next();
            }
            if (!m_adrsHits.isEmpty())
                m_matchedField = fieldNames[i];
        }
    } catch (const std::exception& e) {
        ShowError(QString::fromUtf8(e.what()));
        return 9;
    }
    if (m_adrsHits.isEmpty())
        return 8;
    const int answer = MessageBoxPos(
        MessageOwner(),
        QStringLiteral(
            "アドレス帳の中に該当するデータが見つかりました  \r\nこのデータを照会しますか？  \r\n\r\n"
            "照会しない場合はCDを検索します  \r\n\r\nキャンセルすると検索を中止します  "),
        ProductTitle, MsgSeam::MbYesNoCancel | MsgSeam::MbIconQuestion);
    if (answer == MsgSeam::IdYes) {
        if (isVisible())
            activateWindow();
        m_hitCount = int(m_adrsHits.size());
        return 0;
    }
    return answer == MsgSeam::IdNo ? 8 : 9;
}

int TDicSearch::SearchDirectoryPhone()
{
    TBusyCursor busy;
    const AnsiString digits = KeepNumberChars(ToAnsi(edtTelSch->text()), KeepDigits);
    if (digits.size() < 2)
        return 1;
    LoadDirSearchLibrary(ProgramFolder);
    TDirTelRequestRec request;
    std::memset(&request, 0, sizeof request);
    SetField(request.Tel, digits);
    request.Fixed1 = 1;
    SetDirFolderField(request.DataFolder, DirDataFolder(HddInstalled, HddInstallFolder, DiscFolder));
    SetDirFolderField(request.DicFolder, ProgramFolder + QStringLiteral("Dic/"));
    std::memset(m_dirHits.data(), 0, sizeof(TDirDetailRec) * m_dirHits.size());
    int32_t count = 0;
    int rc = DirSearchTel(&request, m_dirHits.data(), &count);
    FreeDirSearchLibrary();
    if (rc != KELVOR_OK)
        return rc;
    // A count beyond the block is the block; no hits is not found.
    m_hitCount = ClampCount(count, DirTelBlockSize);
    if (m_hitCount == 0)
        return KELVOR_NONE;
    for (TDirDetailRec& hit : m_dirHits) {
        AnsiString number = FieldText(hit.Tel);
        if (!number.isEmpty() && HyphenatePhone(number) == 0 && number.size() < int(sizeof hit.Tel))
            SetField(hit.Tel, number);
    }
    SetStatus(TabTel, m_tabs[TabTel].prompt, false);
    edtTelSch->setText(ToWide(FieldText(m_dirHits[0].Tel)));
    return rc;
}

int TDicSearch::SearchExchangeCode()
{
    TBusyCursor busy;
    try {
        if (!m_kykbn)
            m_kykbn = std::make_unique<TKykbnSearch>(ProgramFolder, ProgramFolder + QStringLiteral("Dic/"));
        AnsiString hyphenated;
        const int rc = m_kykbn->Search(ToAnsi(edtTelSch->text()), &hyphenated);
        if (rc == 0) {
            edtTelSch->setText(ToWide(hyphenated).trimmed());
            ClearLists(TabTel);
            {
                const QSignalBlocker block(lvTelCity);
                for (int i = 0; i < m_kykbn->CityCount(); ++i)
                    new QTreeWidgetItem(lvTelCity, {ToWide(FieldText(m_kykbn->GetCity(i).Name))});
            }
            SelectFirst(lvTelCity, true);
        } else if (rc == 4) {
            SetStatus(TabTel, QStringLiteral("入力した局番に誤りがあります。"), true);
        } else {
            SetStatus(TabTel, QStringLiteral("該当する局番は見つかりませんでした。"), true);
        }
        return rc;
    } catch (const EDictionaryError& e) {
        ShowError(e.Message());
        ClearLists(TabTel);
        return 9;
    }
}

int TDicSearch::SearchPostalCode()
{
    TBusyCursor busy;
    try {
        if (!m_pos)
            m_pos = std::make_unique<TPosSearch>(ProgramFolder, ProgramFolder + QStringLiteral("Dic/"));
        AnsiString formatted;
        const int rc = m_pos->Search(ToAnsi(edtPosSch->text()), &formatted);
        if (rc == 0) {
            edtPosSch->setText(ToWide(formatted).trimmed());
            ClearLists(TabPos);
            {
                const QSignalBlocker block(lvPosCity);
                for (int i = 0; i < m_pos->CityCount(); ++i)
                    new QTreeWidgetItem(lvPosCity, {ToWide(FieldText(m_pos->GetCity(i).Name))});
            }
            SelectFirst(lvPosCity, true);
        } else {
            SetStatus(TabPos, rc == 4 ? QStringLiteral("入力した郵便番号に誤りがあります。") : NoAddressText,
                      true);
        }
        return rc;
    } catch (const EDictionaryError& e) {
        ShowError(e.Message());
        ClearLists(TabPos);
        return 9;
    }
}

int TDicSearch::SearchAddress()
{
    TBusyCursor busy;
    try {
        if (!m_adrs)
            m_adrs = std::make_unique<TAdrsSearch>(ProgramFolder, ProgramFolder + QStringLiteral("Dic/"));
        const int rc = m_adrs->Search(ToAnsi(edtAdrsSch->text().trimmed()));
        if (rc == 0) {
            ClearLists(TabAdrs);
            {
                const QSignalBlocker block(lvAdrsCity);
                for (int i = 0; i < m_adrs->CityCount(); ++i) {
                    const TAdrsCityRec city = m_adrs->GetCity(i);
                    new QTreeWidgetItem(lvAdrsCity,
                                        {ToWide(FieldText(city.PrefName) + FieldText(city.CityName))});
                }
            }
            SelectFirst(lvAdrsCity, true);
        } else {
            SetStatus(TabAdrs, rc == 4 ? QStringLiteral("入力した住所に誤りがあります。") : NoAddressText,
                      true);
        }
        return rc;
    } catch (const EDictionaryError& e) {
        ShowError(e.Message());
        ClearLists(TabAdrs);
        return 9;
    }
}

void TDicSearch::CityChanged(int tab)
{
    const int row = SelectedRow(m_tabs[size_t(tab)].city);
    if (row >= 0 && row != m_tabs[size_t(tab)].loaded)
        FillTownList(tab);
}

void TDicSearch::FillTownList(int tab)
{
    TTab& t = m_tabs[size_t(tab)];
    const int city = SelectedRow(t.city);
    if (city < 0)
        return;
    TBusyCursor busy;
    t.loaded = city;
    t.town->clear();
    const int kind = t.viewOhguchi && t.viewOhguchi->isChecked() ? 1 : 0;
    struct Row
    {
        AnsiString reading, postal, name, office;
    };
    QList<Row> rows;
    try {
        if (tab == TabTel && m_kykbn) {
            if (m_kykbn->ListTowns(city) == 0)
                for (int i = 0; i < m_kykbn->TownCount(); ++i) {
                    const TKykbnTownRec town = m_kykbn->GetTown(i);
                    rows.append({FieldText(town.Head), FieldText(town.PostalCode), FieldText(town.Name), {}});
                }
        } else if (tab == TabPos && m_pos) {
            if (m_pos->ListTowns(city, kind) == 0)
                for (int i = 0; i < m_pos->TownCount(); ++i) {
                    const TPosTownRec town = m_pos->GetTown(i);
                    rows.append({FieldText(town.Reading), FieldText(town.PostalCode), FieldText(town.Name),
                                 kind == 1 ? FieldText(m_pos->GetOffice(i).Name) : AnsiString()});
                }
        } else if (tab == TabAdrs && m_adrs) {
            if (m_adrs->ListTowns(city, kind) == 0)
                for (int i = 0; i < m_adrs->TownCount(); ++i) {
                    const TAdrsTownRec town = m_adrs->GetTown(i);
                    rows.append({FieldText(town.Reading), FieldText(town.PostalCode), FieldText(town.Name),
                                 kind == 1 ? FieldText(m_adrs->GetOffice(i).Name) : AnsiString()});
                }
        }
    } catch (const EDictionaryError& e) {
        ShowError(e.Message());
        rows.clear();
    }
    const int filter = t.kana->currentIndex();
    QString lastHead;
    bool first = true;
    for (int i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        if (r.reading.isEmpty() && r.name.isEmpty())
            continue;
        if (!DicKanaFilterPasses(filter, r.reading))
            continue;
        const QString head = DicGroupHead(r.reading);
        auto* item = new QTreeWidgetItem(t.town);
        item->setText(0, ToWide(FormatPostalCode(r.postal)));
        if (first || head != lastHead)
            item->setText(1, head);
        item->setText(2, ToWide(r.name));
        if (kind == 1)
            item->setText(3, ToWide(r.office));
        item->setData(0, TownIndexRole, i);
        lastHead = head;
        first = false;
    }
    if (t.town->topLevelItemCount() > 0) {
        SelectFirst(t.town, true);
        QString status;
        if (tab == TabPos)
            status = QStringLiteral("郵便番号検索結果から住所を選択してください。");
        else if (tab == TabAdrs)
            status = QStringLiteral("住所検索結果から住所を選択してください。");
        else
            status = (m_directoryAllowed ? (m_notDisplayable ? NotShownText : NotFoundDataText) : QString()) +
                     QStringLiteral("局番検索結果から住所を選択してください。");
        SetStatus(tab, status, false);
    } else {
        SetStatus(tab, NoAddressText, true);
    }
}

void TDicSearch::rbViewTypeClick(int tab)
{
    TTab& t = m_tabs[size_t(tab)];
    const bool offices = t.viewOhguchi->isChecked();
    if (offices) {
        t.town->setColumnCount(4);
        t.town->setHeaderLabels(
            {QStringLiteral("〒"), QString(), QStringLiteral("住所"), QStringLiteral("大口事業所等名")});
        t.town->setColumnWidth(2, 190);
        t.town->setColumnWidth(3, 190);
    } else {
        t.town->setColumnCount(3);
        t.town->setColumnWidth(2, 380);
    }
    if (SelectedRow(t.city) >= 0)
        FillTownList(tab);
}

void TDicSearch::ChooseOrListHits()
{
    if (pgctlDicSch->currentWidget() == tabstTelList) {
        m_chosen = SelectedRow(lvTelList);
        btnDecisionClick();
        return;
    }
    if ((ResultKind == rkAddressBook || ResultKind == rkDirectory) && m_hitCount != 1) {
        pgctlDicSch->setCurrentWidget(tabstTelList);
        SetHelpContext(this, m_listHelpContext);
        pnlSchTel->setText(edtTelSch->text());
        pnlSchKey->setText(m_matchedField);
        pnlSchKey->setVisible(ResultKind == rkAddressBook && !m_matchedField.isEmpty());
        btnPrior->setVisible(true);
        lblTelList1->setText(ResultKind == rkAddressBook
                                 ? QStringLiteral("アドレス帳に複数のデータが見つかりました。")
                                 : QStringLiteral("電話帳データに複数のデータが見つかりました。"));
        FillHitList();
        return;
    }
    if (ResultKind == rkAddressBook || ResultKind == rkDirectory)
        m_chosen = 0;
    btnDecisionClick();
}

void TDicSearch::FillHitList()
{
    lvTelList->clear();
    const QString person = QStringLiteral("個人");
    const QString company = QStringLiteral("会社");
    if (ResultKind == rkAddressBook) {
        for (const TAdrsSchInfo& hit : m_adrsHits) {
            if (hit.isPerson)
                new QTreeWidgetItem(lvTelList, {person, HexTextToWide(hit.name), QString()});
            else
                new QTreeWidgetItem(lvTelList, {company, ToWide(hit.name), HexTextToWide(hit.contact)});
        }
    } else {
        for (int i = 0; i < m_hitCount; ++i) {
            qint32 flag;
            std::memcpy(&flag,
                        reinterpret_cast<const char*>(&m_dirHits[size_t(i)]) +
                            offsetof(TDirDetailRec, PersonFlag),
                        sizeof flag);
            new QTreeWidgetItem(lvTelList, {flag == 99 ? person : company,
                                            ToWide(FieldText(m_dirHits[size_t(i)].Name)), QString()});
        }
    }
    SelectFirst(lvTelList, true);
}

bool TDicSearch::BuildResult()
{
    m_result = TDicResultRec();
    try {
        switch (ResultKind) {
        case TabTel:
            if (!m_kykbn || lvTelCity->topLevelItemCount() == 0 || lvTelTown->topLevelItemCount() == 0)
                return false;
            {
                const QList<QTreeWidgetItem*> sel = lvTelTown->selectedItems();
                const int town = sel.isEmpty() ? -1 : sel.first()->data(0, TownIndexRole).toInt();
                m_result = DicResultFromKykbn(m_kykbn->GetResult(town, true));
            }
            return true;
        case TabPos:
        case TabAdrs: {
            const TTab& t = m_tabs[size_t(ResultKind)];
            if (t.city->topLevelItemCount() == 0 || t.town->topLevelItemCount() == 0)
                return false;
            const QList<QTreeWidgetItem*> sel = t.town->selectedItems();
            const int town = sel.isEmpty() ? -1 : sel.first()->data(0, TownIndexRole).toInt();
            if (ResultKind == TabPos && m_pos)
                m_result = DicResultFromDicAdrs(m_pos->GetResult(town, true));
            else if (ResultKind == TabAdrs && m_adrs)
                m_result = DicResultFromDicAdrs(m_adrs->GetResult(town, true));
            else
                return false;
            return true;
        }
        case rkDirectory:
            if (m_chosen < 0 || m_chosen >= m_hitCount)
                return false;
            m_result = DicResultFromDirectory(m_dirHits[size_t(m_chosen)]);
            return true;
        case rkAddressBook:
            return m_chosen >= 0 && m_chosen < m_adrsRecNos.size();
        default:
            return false;
        }
    } catch (const EDictionaryError& e) {
        ShowError(e.Message());
        return false;
    }
}

void TDicSearch::btnDecisionClick()
{
    if (pgctlDicSch->currentWidget() == tabstTelList)
        m_chosen = SelectedRow(lvTelList);
    if (!BuildResult())
        return;
    m_decided = true;
    accept();
}

void TDicSearch::btnPriorClick()
{
    pgctlDicSch->setCurrentWidget(tabstSearch);
    TabChange();
    TEnterMovesFocus::focusWithCaretAtEnd(m_tabs[size_t(CurrentTab())].edit);
    btnPrior->setVisible(false);
}

int TDicSearch::GetChosenRecNo() const
{
    if (!m_haveAdrsHits || m_chosen < 0 || m_chosen >= m_adrsRecNos.size())
        return -1;
    return m_adrsRecNos[m_chosen];
}

void TDicSearch::LoadSavedAreaCode()
{
    const TSavedAreaCode saved = ::LoadSavedAreaCode(DataRootFolder);
    chkSaveTel->setChecked(saved.save);
    if (saved.save) {
        edtTelSch->setText(saved.tel);
        edtTelSch->setCursorPosition(int(edtTelSch->text().size()));
    }
}

void TDicSearch::SaveAreaCode()
{
    TSavedAreaCode value;
    value.save = chkSaveTel->isChecked();
    if (value.save)
        value.tel = AreaCodeToSave(edtTelSch->text());
    SaveSavedAreaCode(DataRootFolder, value);
}

void TDicSearch::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (pgctlDicSch->currentWidget() == tabstTelList) {
        lvTelList->setFocus();
        return;
    }
    const TTab& t = m_tabs[size_t(CurrentTab())];
    if (t.city->topLevelItemCount() > 0)
        t.city->setFocus();
    else
        TEnterMovesFocus::focusWithCaretAtEnd(t.edit);
}

bool TDicSearch::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::Wheel && watched == pgctlDicType->tabBar()) {
        // The wheel over the tabs turns them round, skipping hidden ones.
        const auto* wheel = static_cast<QWheelEvent*>(e);
        const int step = wheel->angleDelta().y() < 0 ? 1 : -1;
        int index = pgctlDicType->currentIndex();
        for (int n = 0; n < 3; ++n) {
            index = (index + step + 3) % 3;
            if (pgctlDicType->isTabVisible(index))
                break;
        }
        pgctlDicType->setCurrentIndex(index);
        return true;
    }
    if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return QDialog::eventFilter(watched, e);
        if (watched == lvTelList) {
            btnDecision->setFocus();
            return true;
        }
        for (TTab& t : m_tabs) {
            if (watched == t.city) {
                t.town->setFocus();
                return true;
            }
            if (watched == t.town) {
                if (t.town->topLevelItemCount() > 0)
                    ChooseOrListHits();
                return true;
            }
            if (watched == t.viewTown || watched == t.viewOhguchi) {
                t.kana->setFocus();
                return true;
            }
            if (watched == t.kana) {
                if (QWidget* next = TEnterMovesFocus::nextInTabOrder(t.kana))
                    TEnterMovesFocus::focusWithCaretAtEnd(next);
                return true;
            }
        }
    }
    if (e->type() == QEvent::MouseButtonRelease) {
        // A click that leaves no row selected selects the focused row again.
        for (QTreeWidget* list :
             {lvTelCity, lvPosCity, lvAdrsCity, lvTelTown, lvPosTown, lvAdrsTown, lvTelList})
            if (watched == list->viewport() && list->selectedItems().isEmpty() && list->currentItem())
                list->currentItem()->setSelected(true);
    }
    return QDialog::eventFilter(watched, e);
}
