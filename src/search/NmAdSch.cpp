// The name and address search window.
#include "search/NmAdSch.h"

#include "addressbook/AdrsList.h"
#include "core/AppSub.h"
#include "core/DBInfo.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "platform/IniFile.h"
#include "platform/MessageSeam.h"
#include "platform/TableEngine.h"
#include "search/CtgryLst.h"
#include "search/DicWrapper.h"
#include "search/NameLists.h"
#include "search/NmAdCond.h"
#include "search/SchThred.h"
#include "search/TgtExcpt.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

QPointer<TNameAdrsSearch> NameAdrsSearch;

namespace {

const QString NameSection = QStringLiteral("NAMEADRS SEARCH");

// The name tables the window opens, in their order.
struct TNameTable
{
    bool (TDMQuenrid215::*open)();
    void (TDMQuenrid215::*close)();
};
const TNameTable NameTables[3] = {{&TDMQuenrid215::OpenTarget, &TDMQuenrid215::CloseTarget},
                                  {&TDMQuenrid215::OpenException, &TDMQuenrid215::CloseException},
                                  {&TDMQuenrid215::OpenOriginal, &TDMQuenrid215::CloseOriginal}};

void PaintList(QListWidget* list, bool on, const QPalette& window)
{
    QPalette pal = list->palette();
    pal.setColor(QPalette::Base, window.color(on ? QPalette::Base : QPalette::Button));
    list->setPalette(pal);
    list->setEnabled(on);
}

} // namespace

TNameAdrsSearch::TNameAdrsSearch(TCardAddressBook* book, QWidget* cardOwner)
    : TDirSearchForm(book, cardOwner, lsNameAdrsSearch)
{
    setObjectName(QStringLiteral("NameAdrsSearch"));
    setWindowTitle(QStringLiteral("名称住所検索"));
    BuildLayout();
    AddMatchKindPanel();
    ShowNameField();
    FillPeriodCombos(cbxPubFromYear, cbxPubFromMonth, cbxPubToYear, cbxPubToMonth);
    setMinimumSize(ScaleByDpi(640, 1), ScaleByDpi(440, 1));
    if (DMQuenrid215)
        for (int t = 0; t < 3; ++t)
            m_tablesOpen[t] = (DMQuenrid215->*NameTables[t].open)();
    ReadFormSettings(NameSection, 720, 369, m_splitter, m_area->splitter);
    LoadExportSettings(TMemIniFile(DataRootFolder + MainSettingsFileName));
    LoadHistory();
    FillHistoryCombo();
    // The controls hold the current conditions before the first showing puts them in again.
    ApplyHistoryEntry(m_history.current);
    connect(nmcbxName, &QComboBox::activated, this, [this](int i) { ChooseHistoryEntry(i); });
}

TNameAdrsSearch::~TNameAdrsSearch()
{
    if (DMQuenrid215)
        for (int t = 0; t < 3; ++t)
            if (m_tablesOpen[t])
                (DMQuenrid215->*NameTables[t].close)();
    WriteFormSettings(NameSection, m_splitter, m_area->lbxCity);
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    SaveExportFile(ini);
    ini.UpdateFile();
}

TDirSearchWorker* TNameAdrsSearch::CreateWorker()
{
    return new TSearchThread(this);
}

void TNameAdrsSearch::BuildLayout()
{
    auto* conditions = new QWidget(this);
    auto* grid = new QGridLayout(conditions);
    auto label = [conditions](const QString& text) { return new QLabel(text, conditions); };
    auto button = [conditions](const char* name, const QString& caption, const QString& hint) {
        auto* b = new QPushButton(caption, conditions);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(hint);
        b->setAutoDefault(false);
        return b;
    };

    nmcbxName = new THistoryNameCombo(conditions);
    nmcbxName->setObjectName(QStringLiteral("nmcbxName"));
    nmcbxName->chosenEntry = [this] { return m_chosen; };
    nmcbxName->deleteEntry = [this](int row) { DeleteHistoryEntry(row); };
    nmedtName = new QLineEdit(conditions);
    nmedtName->setObjectName(QStringLiteral("nmedtName"));
    connect(nmedtName, &QLineEdit::textChanged, this, [this](const QString& t) { NameChanged(t); });
    connect(nmcbxName, &QComboBox::editTextChanged, this, [this](const QString& t) { NameChanged(t); });
    connect(nmedtName, &QLineEdit::editingFinished, this, [this] { CutNameField(); });
    connect(nmcbxName->lineEdit(), &QLineEdit::editingFinished, this, [this] { CutNameField(); });
    bbtnNameList = button("bbtnNameList", QStringLiteral("名称一覧"),
                          QStringLiteral("検索する名称を一覧から選択します"));
    connect(bbtnNameList, &QPushButton::clicked, this, [this] { bbtnNameListClick(); });
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nmcbxName, 1);
    nameRow->addWidget(nmedtName, 1);
    nameRow->addWidget(bbtnNameList);
    grid->addWidget(label(QStringLiteral("名称：")), 0, 0);
    grid->addLayout(nameRow, 0, 1, 1, 3);

    auto* kinds = new QHBoxLayout;
    const char* rbNames[] = {"rbFront", "rbAmbiguous", "rbRear", "rbFull"};
    auto* group = new QButtonGroup(this);
    for (int k = 0; k < 4; ++k) {
        rbMatch[k] = new QRadioButton(MatchKindCaptions()[k], conditions);
        rbMatch[k]->setObjectName(QString::fromLatin1(rbNames[k]));
        group->addButton(rbMatch[k], k);
        connect(rbMatch[k], &QRadioButton::clicked, this, [this, k] { ClickMatchKind(k); });
        kinds->addWidget(rbMatch[k]);
    }
    kinds->addStretch();
    grid->addWidget(label(QStringLiteral("検索方法：")), 1, 0);
    grid->addLayout(kinds, 1, 1, 1, 3);

    auto nameList = [conditions](const char* name) {
        auto* l = new QListWidget(conditions);
        l->setObjectName(QString::fromLatin1(name));
        l->setSelectionMode(QAbstractItemView::NoSelection);
        l->setFocusPolicy(Qt::NoFocus);
        l->setMaximumHeight(ScaleByDpi(64, 1));
        return l;
    };
    lbxTarget = nameList("lbxTarget");
    lbxException = nameList("lbxException");
    bbtnTargetException =
        button("bbtnTargetException", QStringLiteral("対象除外選択"),
               QStringLiteral("あいまい検索の時に、検索対象に含める名称と、除外する名称を選択します"));
    connect(bbtnTargetException, &QPushButton::clicked, this, [this] { bbtnTargetExceptionClick(); });
    auto* lists = new QHBoxLayout;
    lists->addWidget(label(QStringLiteral("対象に追加\nする名称：")));
    lists->addWidget(lbxTarget, 1);
    lists->addWidget(label(QStringLiteral("対象から除外\nする名称：")));
    lists->addWidget(lbxException, 1);
    lists->addWidget(bbtnTargetException);
    grid->addLayout(lists, 2, 0, 1, 4);

    pnlTelDiv = new QWidget(conditions);
    pnlTelDiv->setObjectName(QStringLiteral("pnlTelDiv"));
    MakePhoneKindBoxes(pnlTelDiv, chkPhone, [this](int tag, bool on) { ClickPhoneKind(tag, on); });
    ShowPhoneKinds(chkPhone, m_phoneKinds, palette().color(QPalette::WindowText));
    grid->addWidget(label(QStringLiteral("電話区分：")), 3, 0);
    grid->addWidget(pnlTelDiv, 3, 1);

    auto combo = [conditions](const char* name) {
        auto* c = new QComboBox(conditions);
        c->setObjectName(QString::fromLatin1(name));
        return c;
    };
    cbxCorpDiv = combo("cbxCorpDiv");
    cbxCorpDiv->addItems(LegalFormCaptions());
    grid->addWidget(label(QStringLiteral("法人格：")), 3, 2);
    grid->addWidget(cbxCorpDiv, 3, 3);

    cbxPubFromYear = combo("cbxPubFromYear");
    cbxPubFromMonth = combo("cbxPubFromMonth");
    cbxPubToYear = combo("cbxPubToYear");
    cbxPubToMonth = combo("cbxPubToMonth");
    auto* period = new QHBoxLayout;
    period->addWidget(cbxPubFromYear);
    period->addWidget(cbxPubFromMonth);
    period->addWidget(label(QStringLiteral("～")));
    period->addWidget(cbxPubToYear);
    period->addWidget(cbxPubToMonth);
    grid->addWidget(label(QStringLiteral("初期掲載年月：")), 4, 0);
    grid->addLayout(period, 4, 1);

    cbxGetCount = combo("cbxGetCount");
    for (int n : {20, 50, 100, 200})
        cbxGetCount->addItem(QString::number(n) + QStringLiteral(" 件"), n);
    grid->addWidget(label(QStringLiteral("取得件数：")), 4, 2);
    grid->addWidget(cbxGetCount, 4, 3);

    m_area = new TAreaChoice(this, conditions);
    grid->addWidget(label(QStringLiteral("住所：")), 5, 0);
    grid->addWidget(m_area->cbxArea, 5, 1);
    grid->addWidget(m_area->splitter, 6, 0, 1, 4);
    grid->setRowStretch(6, 1);

    bbtnFileExport->setToolTip(
        QStringLiteral("指定した検索条件に該当するデータをすべてテキストファイルに書き出します"));
    bbtnFileExport->setVisible(true);
    bbtnCount->setToolTip(QStringLiteral("指定した検索条件に該当する件数を確認します"));
    bbtnSearch->setToolTip(QStringLiteral("指定した検索条件で検索を行います"));
    bbtnStop->setToolTip(QStringLiteral("検索を中断します"));
    bbtnClose->setToolTip(QStringLiteral("名称住所検索を終了します"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkOmissionAdrs);
    buttons->addStretch();
    auto* busy = new QHBoxLayout(pnlSearch);
    busy->setContentsMargins(0, 0, 0, 0);
    busy->addWidget(aniSearch);
    buttons->addWidget(pnlSearch);
    for (QPushButton* b : {bbtnCount, bbtnFileExport, bbtnSearch, bbtnPrior, bbtnNext, bbtnStop, bbtnClose})
        buttons->addWidget(b);
    grid->addLayout(buttons, 7, 0, 1, 4);

    auto* toolbar = new QHBoxLayout(ResultToolBar);
    toolbar->setContentsMargins(0, 0, 0, 0);
    toolbar->addWidget(sbtnInquiry);
    toolbar->addWidget(sbtnFileExport);
    toolbar->addWidget(sbtnExportItemSelect);
    toolbar->addWidget(pnlAdrs, 1);

    auto* results = new QWidget(this);
    auto* resultsLayout = new QVBoxLayout(results);
    resultsLayout->setContentsMargins(0, 0, 0, 0);
    resultsLayout->addWidget(ResultToolBar);
    resultsLayout->addWidget(lvResult);

    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(conditions);
    m_splitter->addWidget(results);
    conditions->setMinimumHeight(ScaleByDpi(301, 1));
    results->setMinimumHeight(ScaleByDpi(160, 1));

    auto* main = new QVBoxLayout(this);
    main->addWidget(m_splitter, 1);
    main->addWidget(stbarInfo);
}

// ---- name ----

void TNameAdrsSearch::ShowNameField()
{
    const bool combo = MainSettings.HisCount > 0;
    const QString text = m_typedName;
    nmcbxName->setVisible(combo);
    nmedtName->setVisible(!combo);
    if (combo)
        nmcbxName->setEditText(text);
    else
        nmedtName->setText(text);
}

QWidget* TNameAdrsSearch::NameField() const
{
    return MainSettings.HisCount > 0 ? static_cast<QWidget*>(nmcbxName) : nmedtName;
}

void TNameAdrsSearch::SetName(const QString& name)
{
    if (MainSettings.HisCount > 0)
        nmcbxName->setEditText(name);
    else
        nmedtName->setText(name);
    NameChanged(name);
}

void TNameAdrsSearch::NameChanged(const QString& text)
{
    if (sender() && sender() != NameField() && sender() != nmcbxName->lineEdit())
        return;
    if (m_typedName == text)
        return;
    m_typedName = text;
    UpdateNameListsState();
}

void TNameAdrsSearch::CutNameField()
{
    const AnsiString cut = CutListedName(ToAnsi(m_typedName));
    if (cut != ToAnsi(m_typedName))
        SetName(ToWide(cut));
}

void TNameAdrsSearch::FocusNameField()
{
    NameField()->setFocus();
    if (MainSettings.HisCount > 0)
        nmcbxName->lineEdit()->selectAll();
    else
        nmedtName->selectAll();
}

void TNameAdrsSearch::ClickMatchKind(int kind)
{
    if (kind < 0 || kind > 3)
        kind = 0;
    rbMatch[kind]->setChecked(true);
    if (kind == m_matchKind)
        return;
    for (int k = 0; k < 4; ++k) {
        QPalette pal = rbMatch[k]->palette();
        pal.setColor(QPalette::WindowText,
                     k == kind ? QColor(Qt::blue) : palette().color(QPalette::WindowText));
        rbMatch[k]->setPalette(pal);
    }
    m_matchKind = kind;
    UpdateNameListsState();
}

void TNameAdrsSearch::ClickPhoneKind(int tag, bool checked)
{
    m_phoneKinds = ToggledPhoneKinds(m_phoneKinds, tag, checked);
    ShowPhoneKinds(chkPhone, m_phoneKinds, palette().color(QPalette::WindowText));
}

void TNameAdrsSearch::UpdateNameListsState()
{
    const bool on = !m_typedName.isEmpty() && m_matchKind == 1;
    for (QListWidget* l : {lbxTarget, lbxException})
        PaintList(l, on, palette());
    bbtnTargetException->setEnabled(on);
    if (on) {
        LoadNameLists();
    } else {
        lbxTarget->clear();
        lbxException->clear();
    }
}

void TNameAdrsSearch::LoadNameLists()
{
    lbxTarget->setUpdatesEnabled(false);
    lbxException->setUpdatesEnabled(false);
    lbxTarget->clear();
    lbxException->clear();
    const AnsiString name = ToAnsi(m_typedName);
    if (DMQuenrid215) {
        Table* tables[3] = {DMQuenrid215->TargetTable(), DMQuenrid215->ExceptionTable(),
                            DMQuenrid215->OriginalTable()};
        for (int t = 0; t < 3; ++t) {
            if (!m_tablesOpen[t] || !tables[t])
                continue;
            try {
                for (const TNameListRow& row : ReadNameListRows(*tables[t], name, t == 2))
                    if (row.show)
                        (t == 1 || (t == 2 && row.flag != 0) ? lbxException : lbxTarget)->addItem(row.name);
            } catch (const TableError& e) {
                MessageBoxPos(this, e.message(), ProductTitle, MsgSeam::MbIconStop);
            }
        }
    }
    lbxTarget->setUpdatesEnabled(true);
    lbxException->setUpdatesEnabled(true);
}

QStringList TNameAdrsSearch::ListNames(QListWidget* list) const
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

void TNameAdrsSearch::bbtnNameListClick()
{
    std::unique_ptr<TCategoryList> dialog;
    {
        TBusyCursor busy;
        dialog = std::make_unique<TCategoryList>(this);
    }
    CenterForm(dialog.get(), this);
    if (dialog->exec() != QDialog::Accepted)
        return;
    SetName(dialog->GetSelectedName());
    NameField()->setFocus();
}

void TNameAdrsSearch::bbtnTargetExceptionClick()
{
    std::unique_ptr<TTargetException> dialog;
    {
        TBusyCursor busy;
        dialog = std::make_unique<TTargetException>(this);
        dialog->SetSearchName(m_typedName);
    }
    CenterForm(dialog.get(), this);
    dialog->exec();
    if (dialog->Changed())
        LoadNameLists();
}

// ---- conditions ----

bool TNameAdrsSearch::ValidateConditions(int kind)
{
    TNameCheckInput in;
    in.job = kind;
    in.region = m_area->Region();
    in.prefectureCount = int(m_area->lbxTdfkn->selectedItems().size());
    in.phoneKinds = m_phoneKinds;
    in.name = ToAnsi(m_typedName);
    in.citySpecific = m_area->SpecificChosen(TAreaChoice::alCity);
    in.oazaSpecific = m_area->SpecificChosen(TAreaChoice::alOaza);
    const TNameCheckResult check = CheckNameConditions(in);
    if (check.refusal.isEmpty())
        return true;
    MessageBoxPos(this, check.refusal, ProductTitle, MsgSeam::MbIconInformation);
    if (check.focusName)
        FocusNameField();
    return false;
}

void TNameAdrsSearch::BuildConditions()
{
    const AnsiString name = StripControlChars(ToAnsi(m_typedName));
    m_includeNames = IncludeNamesText(name, ListNames(lbxTarget));
    m_excludeNames = ExcludeNamesText(ListNames(lbxException));
    AnsiString from, to;
    PeriodFields(cbxPubFromYear->currentData().toInt(), cbxPubFromMonth->currentData().toInt(),
                 cbxPubToYear->currentData().toInt(), cbxPubToMonth->currentData().toInt(), from, to);
    m_conditions = BuildConditionRecords(m_area->AreaCodeList(), AnsiString(), m_phoneKinds, from, to,
                                         cbxCorpDiv->currentIndex(), DataFolder(), DicFolder());
    for (TDirSearchCondRec& c : m_conditions) {
        c.MatchKind = m_matchKind < 0 ? 0 : m_matchKind;
        c.PageSize = cbxGetCount->currentData().toInt();
    }
    m_areaCaption = AreaCaptionOf(m_area->AreaCodeList(), m_area->RememberedName(TAreaChoice::alPrefecture),
                                  m_area->RememberedName(TAreaChoice::alCity),
                                  m_area->RememberedName(TAreaChoice::alOaza));
}

void TNameAdrsSearch::EnableConditionInputs(bool enable)
{
    for (QWidget* w : std::initializer_list<QWidget*>{
             nmcbxName, nmedtName, bbtnNameList, pnlTelDiv, cbxCorpDiv, cbxPubFromYear, cbxGetCount,
             chkOmissionAdrs, sbtnInquiry, sbtnFileExport, sbtnExportItemSelect, lvResult})
        w->setEnabled(enable);
    for (QRadioButton* r : rbMatch)
        r->setEnabled(enable);
    for (QCheckBox* c : chkPhone)
        c->setEnabled(enable);
    if (enable) {
        UpdateNameListsState();
    } else {
        for (QListWidget* l : {lbxTarget, lbxException})
            PaintList(l, false, palette());
        bbtnTargetException->setEnabled(false);
    }
    UpdatePeriodState(cbxPubFromYear, cbxPubFromMonth, cbxPubToYear, cbxPubToMonth);
    m_area->SetEnabled(enable);
    QPalette pal = pnlAdrs->palette();
    pal.setColor(QPalette::WindowText,
                 palette().color(enable ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    pnlAdrs->setPalette(pal);
}

// ---- history ----

void TNameAdrsSearch::LoadHistory()
{
    m_history = TNameHistoryFile::Load(::DataFolder + TNameHistoryFile::FileName, MainSettings.HisCount);
    m_chosen = -1;
    m_matchKind = -1;
    m_phoneKinds = 0;
}

void TNameAdrsSearch::SaveHistory()
{
    const QString path = ::DataFolder + TNameHistoryFile::FileName;
    QString error;
    if (!TNameHistoryFile::Save(path, m_history, &error))
        MessageBoxPos(this, HistoryWriteFailureText(path, error), ProductTitle, MsgSeam::MbIconStop);
}

void TNameAdrsSearch::AddToHistory()
{
    if (m_conditions.isEmpty())
        return;
    const TDirSearchCondRec& c = m_conditions.first();
    TNameSearchHistoryRec rec;
    rec.Name = Cp932::cutAtBoundary(StripControlChars(ToAnsi(m_typedName)), HistoryNameBytes);
    rec.MatchKind = c.MatchKind;
    rec.PhoneKinds = c.PhoneKinds;
    rec.LegalForm = c.LegalForm;
    rec.PeriodFrom = FieldText(c.PeriodFrom);
    rec.PeriodTo = FieldText(c.PeriodTo);
    rec.PageSize = c.PageSize;
    rec.AreaCodes = m_area->AreaCodeList();
    rec.AreaCount = qint32(rec.AreaCodes.size());
    rec.AreaKind = rec.AreaCodes.isEmpty() ? AreaKindCountry : rec.AreaCodes.first().kind;
    rec.Region = m_area->Region();
    m_history.current = rec;
    if (MainSettings.HisCount > 0) {
        RecordHistoryEntry(m_history.entries, rec, MainSettings.HisCount);
        m_chosen = 0;
    }
    SaveHistory();
    FillHistoryCombo();
}

void TNameAdrsSearch::ApplyHistoryEntry(const TNameSearchHistoryRec& rec)
{
    SetName(ToWide(rec.Name));
    ClickMatchKind(rec.MatchKind >= 0 && rec.MatchKind <= 3 ? rec.MatchKind : 0);
    m_phoneKinds = rec.PhoneKinds == 0 ? 15 : rec.PhoneKinds & 15;
    if (m_phoneKinds == 0)
        m_phoneKinds = 15;
    ShowPhoneKinds(chkPhone, m_phoneKinds, palette().color(QPalette::WindowText));
    cbxCorpDiv->setCurrentIndex(rec.LegalForm >= 0 && rec.LegalForm < cbxCorpDiv->count() ? rec.LegalForm
                                                                                          : 0);
    ShowPeriod(cbxPubFromYear, cbxPubFromMonth, cbxPubToYear, cbxPubToMonth, rec.PeriodFrom, rec.PeriodTo);
    cbxGetCount->setCurrentIndex(std::max(cbxGetCount->findData(rec.PageSize), 0));
    m_area->SelectRegionCodes(rec.Region, rec.AreaCodes);
    UpdateNameListsState();
}

void TNameAdrsSearch::ChooseHistoryEntry(int i)
{
    if (i < 0 || i >= m_history.entries.size())
        return;
    m_chosen = i;
    ApplyHistoryEntry(m_history.entries[i]);
}

void TNameAdrsSearch::DeleteHistoryEntry(int i)
{
    if (!RemoveHistoryEntry(m_history.entries, i, m_chosen))
        return;
    SaveHistory();
    FillHistoryCombo();
}

void TNameAdrsSearch::FillHistoryCombo()
{
    if (MainSettings.HisCount <= 0)
        return;
    QStringList names;
    for (const TNameSearchHistoryRec& rec : m_history.entries)
        names << ToWide(rec.Name);
    nmcbxName->Fill(names);
    const QSignalBlocker block(nmcbxName);
    nmcbxName->setEditText(m_typedName);
}

void TNameAdrsSearch::ApplyHistoryCount()
{
    TrimHistory(m_history.entries, MainSettings.HisCount, m_chosen);
    ShowNameField();
    SaveHistory();
    FillHistoryCombo();
}

void TNameAdrsSearch::showEvent(QShowEvent* e)
{
    TDirSearchForm::showEvent(e);
    if (e->spontaneous())
        return;
    m_chosen = -1;
    ApplyHistoryEntry(m_history.current);
}

// ---- keys ----

QWidget* TNameAdrsSearch::EnterTarget(QWidget* w) const
{
    if (w == nmedtName || w == nmcbxName || w == nmcbxName->lineEdit())
        return rbMatch[std::max(0, m_matchKind)];
    if (std::find(std::begin(rbMatch), std::end(rbMatch), w) != std::end(rbMatch))
        return chkPhone[0];
    if (w == cbxGetCount)
        return m_area->cbxArea;
    return m_area->EnterTarget(w, bbtnSearch);
}

// ---- the address list's road to the window ----

TNameAdrsSearch* ShowNameAdrsSearch(TAddressList& list)
{
    const bool created = !NameAdrsSearch;
    if (created)
        NameAdrsSearch = new TNameAdrsSearch(&list, &list);
    NameAdrsSearch->ShowFor(list, created);
    return NameAdrsSearch;
}
