// The category and area search window.
#include "search/CtgrySch.h"

#include "addressbook/AdrsList.h"
#include "addressbook/AdrsListServices.h"
#include "core/AppSub.h"
#include "core/CategoryNames.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "platform/IniFile.h"
#include "platform/MessageSeam.h"
#include "search/DicWrapper.h"
#include "search/SchCtgryThred.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

QPointer<TCategorySearch> CategorySearch;

namespace {

constexpr int CodeRole = Qt::UserRole;
const QString CategorySection = QStringLiteral("CATEGORY SEARCH");

} // namespace

TCategorySearch::TCategorySearch(TCardAddressBook* book, QWidget* cardOwner)
    : TDirSearchForm(book, cardOwner, lsCategorySearch)
{
    setObjectName(QStringLiteral("CategorySearch"));
    setWindowTitle(QStringLiteral("カテゴリ検索"));
    BuildLayout();
    FillCategoryLists();
    FillPeriodCombos(cbxPubFromYear, cbxPubFromMonth, cbxPubToYear, cbxPubToMonth);
    setMinimumSize(ScaleByDpi(640, 1), ScaleByDpi(440, 1));
    ReadFormSettings(CategorySection, 727, 357, m_splitter, m_area->splitter);
    LoadExportSettings(TMemIniFile(DataRootFolder + MainSettingsFileName));
    LoadHistory();
    ShowNameField();
    FillHistoryCombo();
    ApplyHistoryEntry(m_history.current);
}

TCategorySearch::~TCategorySearch()
{
    WriteFormSettings(CategorySection, m_splitter, m_area->lbxCity);
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    SaveExportFile(ini);
    ini.UpdateFile();
}

TDirSearchWorker* TCategorySearch::CreateWorker()
{
    return new TSearchCategoryThread(this);
}

void TCategorySearch::BuildLayout()
{
    auto* conditions = new QWidget(this);
    auto* grid = new QGridLayout(conditions);

    nmedtName = new QLineEdit(conditions);
    nmedtName->setObjectName(QStringLiteral("nmedtName"));
    nmcbxName = new THistoryNameCombo(conditions);
    nmcbxName->setObjectName(QStringLiteral("nmcbxName"));
    nmcbxName->chosenEntry = [this] { return m_chosenHistory; };
    nmcbxName->deleteEntry = [this](int row) { DeleteHistoryEntry(row); };
    connect(nmcbxName, &QComboBox::activated, this, [this](int i) { HistoryChosen(i); });
    for (QLineEdit* edit : {nmedtName, nmcbxName->lineEdit()})
        connect(edit, &QLineEdit::editingFinished, this, [edit] {
            const AnsiString cut = CutListedName(ToAnsi(edit->text()));
            if (ToAnsi(edit->text()) != cut)
                edit->setText(ToWide(cut));
        });
    auto* name = new QHBoxLayout;
    name->addWidget(nmedtName);
    name->addWidget(nmcbxName);
    grid->addWidget(new QLabel(QStringLiteral("掲載名"), conditions), 0, 0);
    grid->addLayout(name, 0, 1, 1, 3);

    lbxMain = new QListWidget(conditions);
    lbxMain->setObjectName(QStringLiteral("lbxMain"));
    lbxSub = new QListWidget(conditions);
    lbxSub->setObjectName(QStringLiteral("lbxSub"));
    connect(lbxMain, &QListWidget::currentRowChanged, this,
            [this](int row) { FillMinorList(row > 0 ? lbxMain->item(row)->data(CodeRole).toInt() : 0); });
    grid->addWidget(new QLabel(QStringLiteral("大分類"), conditions), 1, 0);
    grid->addWidget(lbxMain, 2, 0, 6, 1);
    grid->addWidget(new QLabel(QStringLiteral("小分類"), conditions), 1, 1);
    grid->addWidget(lbxSub, 2, 1, 6, 1);

    pnlTelDiv = new QWidget(conditions);
    pnlTelDiv->setObjectName(QStringLiteral("pnlTelDiv"));
    MakePhoneKindBoxes(pnlTelDiv, chkPhone, [this](int tag, bool on) { PhoneKindClicked(tag, on); });
    PhoneKindClicked(1, true);
    grid->addWidget(new QLabel(QStringLiteral("電話種別"), conditions), 1, 2);
    grid->addWidget(pnlTelDiv, 1, 3);

    cbxCorpDiv = new QComboBox(conditions);
    cbxCorpDiv->setObjectName(QStringLiteral("cbxCorpDiv"));
    cbxCorpDiv->addItems(LegalFormCaptions());
    grid->addWidget(new QLabel(QStringLiteral("法人区分"), conditions), 2, 2);
    grid->addWidget(cbxCorpDiv, 2, 3);

    auto combo = [conditions](const char* name) {
        auto* c = new QComboBox(conditions);
        c->setObjectName(QString::fromLatin1(name));
        return c;
    };
    cbxPubFromYear = combo("cbxPubFromYear");
    cbxPubFromMonth = combo("cbxPubFromMonth");
    cbxPubToYear = combo("cbxPubToYear");
    cbxPubToMonth = combo("cbxPubToMonth");
    auto* period = new QHBoxLayout;
    period->addWidget(cbxPubFromYear);
    period->addWidget(cbxPubFromMonth);
    period->addWidget(new QLabel(QStringLiteral("～"), conditions));
    period->addWidget(cbxPubToYear);
    period->addWidget(cbxPubToMonth);
    grid->addWidget(new QLabel(QStringLiteral("初期掲載年月"), conditions), 3, 2);
    grid->addLayout(period, 3, 3);

    m_area = new TAreaChoice(this, conditions);
    grid->addWidget(new QLabel(QStringLiteral("地域"), conditions), 4, 2);
    grid->addWidget(m_area->cbxArea, 4, 3);
    grid->addWidget(m_area->splitter, 5, 2, 3, 2);
    grid->addWidget(chkOmissionAdrs, 8, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {bbtnCount, bbtnFileExport, bbtnSearch, bbtnPrior, bbtnNext, bbtnStop, bbtnClose})
        buttons->addWidget(b);
    // Only the selection export is offered here.
    bbtnFileExport->hide();
    auto* busy = new QHBoxLayout(pnlSearch);
    busy->setContentsMargins(0, 0, 0, 0);
    busy->addWidget(aniSearch);
    buttons->addWidget(pnlSearch);
    grid->addLayout(buttons, 8, 2, 1, 2);

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

    auto* splitter = m_splitter = new QSplitter(Qt::Vertical, this);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(conditions);
    splitter->addWidget(results);
    conditions->setMinimumHeight(ScaleByDpi(289, 1));
    results->setMinimumHeight(ScaleByDpi(160, 1));

    auto* main = new QVBoxLayout(this);
    main->addWidget(splitter, 1);
    main->addWidget(stbarInfo);
}

// ---- conditions ----

void TCategorySearch::FillCategoryLists()
{
    lbxMain->clear();
    lbxMain->addItem(QStringLiteral("指定しない"));
    for (const CodedName& major : MajorCategoryNames) {
        auto* item = new QListWidgetItem(major.name, lbxMain);
        item->setData(CodeRole, major.code);
    }
    lbxMain->setCurrentRow(0);
    FillMinorList(0);
}

void TCategorySearch::FillMinorList(int major)
{
    lbxSub->clear();
    if (major > 0 && major <= MajorCategoryCount) {
        lbxSub->addItem(QStringLiteral("指定しない"));
        for (const CodedName& minor : MinorCategoryLists[major - 1]) {
            auto* item = new QListWidgetItem(minor.name, lbxSub);
            item->setData(CodeRole, minor.code);
        }
        lbxSub->setCurrentRow(0);
    }
    lbxSub->setEnabled(major > 0 && lbxMain->isEnabled());
    QPalette pal = lbxSub->palette();
    pal.setColor(QPalette::Base,
                 major > 0 ? palette().color(QPalette::Base) : palette().color(QPalette::Button));
    lbxSub->setPalette(pal);
}

void TCategorySearch::PhoneKindClicked(int tag, bool checked)
{
    m_phoneKinds = ToggledPhoneKinds(m_phoneKinds, tag, checked);
    ShowPhoneKinds(chkPhone, m_phoneKinds, palette().color(QPalette::WindowText));
}

void TCategorySearch::BuildConditions()
{
    const AnsiString name = CutListedName(ToAnsi(NameText()));
    m_includeNames = name.isEmpty() ? AnsiString() : name + ',';
    m_excludeNames.clear();
    const int majorRow = lbxMain->currentRow();
    const int major = majorRow > 0 ? lbxMain->item(majorRow)->data(CodeRole).toInt() : 0;
    const int minorRow = lbxSub->currentRow();
    const int minor = major > 0 && minorRow > 0 ? lbxSub->item(minorRow)->data(CodeRole).toInt() : 0;
    AnsiString from, to;
    PeriodFields(cbxPubFromYear->currentData().toInt(), cbxPubFromMonth->currentData().toInt(),
                 cbxPubToYear->currentData().toInt(), cbxPubToMonth->currentData().toInt(), from, to);
    m_conditions = BuildConditionRecords(m_area->AreaCodeList(), CategoryCodeText(major, minor), m_phoneKinds,
                                         from, to, cbxCorpDiv->currentIndex(), DataFolder(), DicFolder());
    m_areaCaption = AreaCaptionOf(m_area->AreaCodeList(), m_area->RememberedName(alPrefecture),
                                  m_area->RememberedName(alCity), m_area->RememberedName(alOaza));
}

bool TCategorySearch::ValidateConditions(int kind)
{
    if (kind != 1)
        return true;
    QString refusal;
    if (m_area->Region() == 0)
        refusal = QStringLiteral("全国を指定したファイル出力はできません  ");
    else if (m_area->lbxTdfkn->selectedItems().size() > 1)
        refusal = QStringLiteral("複数都道府県を指定したファイル出力はできません  ");
    if (refusal.isEmpty())
        return true;
    MessageBoxPos(this, refusal, ProductTitle, MsgSeam::MbIconInformation);
    return false;
}

void TCategorySearch::EnableConditionInputs(bool enable)
{
    for (QWidget* w : std::initializer_list<QWidget*>{nmedtName, nmcbxName, lbxMain, pnlTelDiv, cbxCorpDiv,
                                                      cbxPubFromYear, chkOmissionAdrs, sbtnInquiry,
                                                      sbtnFileExport, sbtnExportItemSelect, lvResult})
        w->setEnabled(enable);
    for (QCheckBox* c : chkPhone)
        c->setEnabled(enable);
    lbxSub->setEnabled(enable && lbxSub->count() > 0);
    UpdatePeriodState(cbxPubFromYear, cbxPubFromMonth, cbxPubToYear, cbxPubToMonth);
    m_area->SetEnabled(enable);
    QPalette pal = pnlAdrs->palette();
    pal.setColor(QPalette::WindowText,
                 palette().color(enable ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    pnlAdrs->setPalette(pal);
}

void TCategorySearch::FocusNameField()
{
    NameField()->setFocus();
    if (nmcbxName->isHidden())
        nmedtName->selectAll();
    else
        nmcbxName->lineEdit()->selectAll();
}

void TCategorySearch::SetPhoneKinds(int kinds)
{
    m_phoneKinds = (kinds & 15) == 0 ? 15 : kinds & 15;
    PhoneKindClicked(1, m_phoneKinds & 1);
}

// ---- history ----

QWidget* TCategorySearch::NameField() const
{
    return nmcbxName->isHidden() ? static_cast<QWidget*>(nmedtName) : nmcbxName;
}

QString TCategorySearch::NameText() const
{
    return nmcbxName->isHidden() ? nmedtName->text() : nmcbxName->currentText();
}

void TCategorySearch::SetNameText(const QString& text)
{
    if (nmcbxName->isHidden())
        nmedtName->setText(text);
    else
        nmcbxName->setEditText(text);
}

void TCategorySearch::ShowNameField()
{
    const QString text = NameText();
    const bool combo = MainSettings.HisCount > 0;
    nmcbxName->setVisible(combo);
    nmedtName->setVisible(!combo);
    SetNameText(text);
}

QString TCategorySearch::HistoryFileName()
{
    return ::DataFolder + TCategoryHistoryFile::FileName;
}

void TCategorySearch::LoadHistory()
{
    m_history = TCategoryHistoryFile::Load(HistoryFileName(), MainSettings.HisCount);
    m_chosenHistory = -1;
}

bool TCategorySearch::SaveHistory()
{
    QString error;
    if (TCategoryHistoryFile::Save(HistoryFileName(), m_history, &error))
        return true;
    MessageBoxPos(this, HistoryWriteFailureText(HistoryFileName(), error), ProductTitle, MsgSeam::MbIconStop);
    return false;
}

void TCategorySearch::AddToHistory()
{
    TCategorySearchHistoryRec& c = m_history.current;
    c.Name = Cp932::cutAtBoundary(ToAnsi(NameText()), HistoryNameBytes);
    c.Fixed1 = c.Fixed2 = 1;
    if (!m_conditions.isEmpty()) {
        const TDirSearchCondRec& r = m_conditions.first();
        c.PhoneKinds = r.PhoneKinds;
        c.LegalForm = r.LegalForm;
        c.PeriodFrom = FieldText(r.PeriodFrom);
        c.PeriodTo = FieldText(r.PeriodTo);
        c.PageSize = r.PageSize;
    }
    const TAreaCodeList& areas = m_area->AreaCodeList();
    c.AreaCount = qint32(areas.size());
    c.AreaKind = areas.isEmpty() ? AreaKindCountry : areas.first().kind;
    c.Region = m_area->Region();
    c.AreaCodes = areas;
    const int majorRow = lbxMain->currentRow();
    c.Major = majorRow > 0 ? lbxMain->item(majorRow)->data(CodeRole).toInt() : 0;
    if (c.Major > 0) {
        const int minorRow = lbxSub->currentRow();
        c.Minor = minorRow > 0 ? lbxSub->item(minorRow)->data(CodeRole).toInt() % 100 : 0;
    }
    if (MainSettings.HisCount <= 0)
        return;
    RecordHistoryEntry(m_history.entries, c, MainSettings.HisCount);
    m_chosenHistory = 0;
}

int TCategorySearch::FindHistoryEntry() const
{
    return ::FindHistoryEntry(m_history.entries, m_history.current);
}

void TCategorySearch::RecordHistory()
{
    AddToHistory();
    SaveHistory();
    FillHistoryCombo();
}

void TCategorySearch::FillHistoryCombo()
{
    if (nmcbxName->isHidden())
        return;
    QStringList names;
    for (const TCategorySearchHistoryRec& entry : m_history.entries)
        names << ToWide(entry.Name);
    nmcbxName->Fill(names);
}

void TCategorySearch::ApplyHistoryCount()
{
    TrimHistory(m_history.entries, MainSettings.HisCount, m_chosenHistory);
    ShowNameField();
    SaveHistory();
    FillHistoryCombo();
}

void TCategorySearch::HistoryChosen(int i)
{
    if (i < 0 || i >= m_history.entries.size())
        return;
    m_chosenHistory = i;
    ApplyHistoryEntry(m_history.entries[i]);
}

void TCategorySearch::DeleteHistoryEntry(int i)
{
    if (!RemoveHistoryEntry(m_history.entries, i, m_chosenHistory))
        return;
    SaveHistory();
    FillHistoryCombo();
}

void TCategorySearch::ApplyHistoryEntry(const TCategorySearchHistoryRec& entry)
{
    SetNameText(ToWide(entry.Name));
    SetPhoneKinds(entry.PhoneKinds);
    cbxCorpDiv->setCurrentIndex(
        entry.LegalForm >= 0 && entry.LegalForm < cbxCorpDiv->count() ? entry.LegalForm : 0);
    ShowPeriod(cbxPubFromYear, cbxPubFromMonth, cbxPubToYear, cbxPubToMonth, entry.PeriodFrom, entry.PeriodTo);
    RestoreAreas(entry.Region, entry.AreaKind, entry.AreaCodes);
    SelectCategories(entry.Major, entry.Minor);
}

void TCategorySearch::SelectCategories(int major, int minor)
{
    int row = 0;
    for (int i = 1; i < lbxMain->count(); ++i)
        if (lbxMain->item(i)->data(CodeRole).toInt() == major)
            row = i;
    lbxMain->setCurrentRow(row);
    FillMinorList(row > 0 ? major : 0);
    for (int i = 1; i < lbxSub->count(); ++i)
        if (minor > 0 && lbxSub->item(i)->data(CodeRole).toInt() % 100 == minor)
            lbxSub->setCurrentRow(i);
}

void TCategorySearch::RestoreAreas(int region, int kind, const TAreaCodeList& saved)
{
    // An unknown kind, or areas without a region, apply as the whole country so that a job has conditions.
    if (AreaCodeBytes(kind) == 0 || region <= 0 || region >= RegionCaptions().size())
        m_area->SelectRegion(0);
    else
        m_area->SelectRegionCodes(region, saved);
}

// ---- keys ----

QWidget* TCategorySearch::EnterTarget(QWidget* w) const
{
    if (w == cbxPubFromYear)
        return cbxPubFromYear->currentIndex() > 0 ? static_cast<QWidget*>(cbxPubFromMonth) : m_area->cbxArea;
    if (w == cbxPubToMonth)
        return m_area->cbxArea;
    return m_area->EnterTarget(w, bbtnSearch);
}

// ---- the address list's road to the window ----

TCategorySearch* ShowCategorySearch(TAddressList& list)
{
    if (!CategorySearch) {
        CategorySearch = new TCategorySearch(&list, &list);
        list.AddFollower(CategorySearch);
        TAddressListFollower* follower = CategorySearch;
        CategorySearch->SetDetach([guard = QPointer<TAddressList>(&list), follower] {
            if (guard)
                guard->RemoveFollower(follower);
        });
    }
    if (CategorySearch->isMinimized())
        CategorySearch->showNormal();
    CategorySearch->show();
    CategorySearch->raise();
    CategorySearch->activateWindow();
    return CategorySearch;
}

QString TCategorySearch::SettingsSection() const
{
    return CategorySection;
}
