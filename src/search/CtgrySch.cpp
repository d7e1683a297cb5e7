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
#include "search/KanaAdrsDic.h"
#include "search/SchCtgryThred.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

QPointer<TCategorySearch> CategorySearch;

namespace {

constexpr int CodeRole = Qt::UserRole;
constexpr int ChildCountRole = Qt::UserRole + 1;
constexpr int NameRole = Qt::UserRole + 2;
constexpr int FirstYear = 2016, LastYear = 1995;
const QString CategorySection = QStringLiteral("CATEGORY SEARCH");

// Area list rows: the group head in a column 24 pixels wide, the name after it.
class TAreaItemDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        opt.widget->style()->drawControl(QStyle::CE_ItemViewItem, &opt, p, opt.widget);
        const qsizetype tab = text.indexOf(u'\t');
        const int head = ScaleByDpi(24, 1), pad = ScaleByDpi(2, 1);
        const bool selected = opt.state & QStyle::State_Selected;
        const bool enabled = opt.state & QStyle::State_Enabled;
        p->setPen(opt.palette.color(enabled ? QPalette::Active : QPalette::Disabled,
                                    selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect r = opt.rect;
        p->drawText(QRect(r.left() + pad, r.top(), head - pad, r.height()), Qt::AlignVCenter, text.left(tab));
        p->drawText(QRect(r.left() + head + pad, r.top(), r.width() - head - pad, r.height()),
                    Qt::AlignVCenter, text.mid(tab + 1));
    }
};

QListWidgetItem* AreaItem(QListWidget* list, const QString& head, const QString& name, const AnsiString& code,
                          int childCount)
{
    auto* item = new QListWidgetItem(head + u'\t' + name, list);
    item->setData(CodeRole, code);
    item->setData(ChildCountRole, childCount);
    item->setData(NameRole, name);
    return item;
}

} // namespace

TCategorySearch::TCategorySearch(TCardAddressBook* book, QWidget* cardOwner)
    : TDirSearchForm(book, cardOwner, lsCategorySearch)
{
    setObjectName(QStringLiteral("CategorySearch"));
    setWindowTitle(QStringLiteral("カテゴリ検索"));
    try {
        m_dic = std::make_unique<TKanaAdrsSearch>(ProgramFolder, ProgramFolder + QStringLiteral("Dic/"));
        m_dic->ListPrefectures(AllRegions);
    } catch (const EKanaAdrsSearchError& e) {
        m_dic.reset();
        MessageBoxPos(this, e.Message(), ProductTitle, MsgSeam::MbIconStop);
    }
    BuildLayout();
    FillCategoryLists();
    FillPeriodCombos();
    SelectRegion(0);
    setMinimumSize(ScaleByDpi(640, 1), ScaleByDpi(440, 1));
    LoadSettings();
    LoadHistory();
    ShowNameField();
    FillHistoryCombo();
    ApplyHistoryEntry(m_history.current);
}

TCategorySearch::~TCategorySearch()
{
    SaveSettings();
}

void TCategorySearch::LoadSettings()
{
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    auto read = [&ini](const char* key, int def) {
        return ScaleByDpi(ini.ReadInteger(CategorySection, QString::fromLatin1(key), def), 1);
    };
    resize(read("Width", 960), read("Height", 727));
    const QRect screen = this->screen()->availableGeometry();
    move(read("Left", ScaleByDpi(screen.x() + (screen.width() - width()) / 2, 0)),
         read("Top", ScaleByDpi(screen.y() + (screen.height() - height()) / 2, 0)));
    m_splitter->setSizes(
        {read("TopHeight", 357), std::max(ScaleByDpi(160, 1), height() - read("TopHeight", 357))});
    const int city = read("CityWidth", 188);
    m_areaSplitter->setSizes({ScaleByDpi(120, 1), city, std::max(ScaleByDpi(140, 1), city)});
    chkOmissionAdrs->setChecked(ini.ReadBool(CategorySection, QStringLiteral("OmissionAdrs"), true));
    LoadExportSettings(ini);
    for (int c = 0; c < ColCount; ++c) {
        const int stored =
            ini.ReadInteger(CategorySection, QStringLiteral("HeaderWidth") + QString::number(c + 1), 0);
        lvResult->setColumnWidth(c, ScaleByDpi(stored < 1 ? DefaultColumnWidths()[c] : stored, 1));
    }
}

void TCategorySearch::SaveSettings() const
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    auto write = [&ini](const char* key, int pixels) {
        ini.WriteInteger(CategorySection, QString::fromLatin1(key), ScaleByDpi(pixels, 0));
    };
    const QRect normal = isMinimized() || isMaximized() ? normalGeometry() : geometry();
    write("Width", normal.width());
    write("Height", normal.height());
    write("Left", normal.x());
    write("Top", normal.y());
    write("TopHeight", m_splitter->sizes().value(0));
    write("CityWidth", lbxCity->width());
    ini.WriteBool(CategorySection, QStringLiteral("OmissionAdrs"), chkOmissionAdrs->isChecked());
    SaveExportFile(ini);
    for (int c = 0; c < ColCount; ++c)
        write(QStringLiteral("HeaderWidth%1").arg(c + 1).toLatin1().constData(), lvResult->columnWidth(c));
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
    auto* tel = new QHBoxLayout(pnlTelDiv);
    tel->setContentsMargins(0, 0, 0, 0);
    const char* names[] = {"chkNormal", "chkFax", "chkFaxCombi", "chkMainNumber"};
    const QString captions[] = {QStringLiteral("通常"), QStringLiteral("FAX"), QStringLiteral("FAX兼用"),
                                QStringLiteral("代表")};
    for (int i = 0; i < 4; ++i) {
        chkPhone[i] = new QCheckBox(captions[i], pnlTelDiv);
        chkPhone[i]->setObjectName(QString::fromLatin1(names[i]));
        chkPhone[i]->setChecked(true);
        const int tag = 1 << i;
        connect(chkPhone[i], &QCheckBox::clicked, this, [this, tag](bool on) { PhoneKindClicked(tag, on); });
        tel->addWidget(chkPhone[i]);
    }
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

    cbxArea = combo("cbxArea");
    for (int r = 0; r < RegionCaptions().size(); ++r)
        cbxArea->addItem(RegionCaptions()[r], r);
    connect(cbxArea, &QComboBox::activated, this, [this](int index) { SelectRegion(index); });
    grid->addWidget(new QLabel(QStringLiteral("地域"), conditions), 4, 2);
    grid->addWidget(cbxArea, 4, 3);

    m_areaSplitter = new QSplitter(Qt::Horizontal, conditions);
    QSplitter* areas = m_areaSplitter;
    auto areaList = [this, conditions, areas](const char* name, AreaList which) {
        auto* l = new QListWidget(conditions);
        l->setObjectName(QString::fromLatin1(name));
        l->setSelectionMode(QAbstractItemView::ExtendedSelection);
        l->setItemDelegate(new TAreaItemDelegate(l));
        connect(l, &QListWidget::itemSelectionChanged, this, [this, which] {
            if (!m_areaUpdating)
                AreaListClicked(which);
        });
        areas->addWidget(l);
        return l;
    };
    lbxTdfkn = areaList("lbxTdfkn", alPrefecture);
    lbxCity = areaList("lbxCity", alCity);
    lbxOhaza = areaList("lbxOhaza", alOaza);
    lbxCity->setMinimumWidth(ScaleByDpi(140, 1));
    lbxOhaza->setMinimumWidth(ScaleByDpi(140, 1));
    areas->setChildrenCollapsible(false);
    grid->addWidget(areas, 5, 2, 3, 2);
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

void TCategorySearch::FillPeriodCombos()
{
    cbxPubFromYear->addItem(QStringLiteral("指定しない"), 0);
    for (int y = FirstYear; y >= LastYear; --y) {
        cbxPubFromYear->addItem(QString::number(y) + QStringLiteral("年"), y);
        cbxPubToYear->addItem(QString::number(y) + QStringLiteral("年"), y);
    }
    for (int m = 1; m <= 12; ++m) {
        cbxPubFromMonth->addItem(QString::number(m) + QStringLiteral("月"), m);
        cbxPubToMonth->addItem(QString::number(m) + QStringLiteral("月"), m);
    }
    for (QComboBox* c : {cbxPubFromYear, cbxPubFromMonth, cbxPubToYear, cbxPubToMonth})
        c->setMaxVisibleItems(c->count());
    connect(cbxPubFromYear, &QComboBox::currentIndexChanged, this, [this] { UpdatePeriodState(); });
    UpdatePeriodState();
}

void TCategorySearch::UpdatePeriodState()
{
    const bool on = cbxPubFromYear->isEnabled() && cbxPubFromYear->currentIndex() > 0;
    for (QComboBox* c : {cbxPubFromMonth, cbxPubToYear, cbxPubToMonth})
        c->setEnabled(on);
}

void TCategorySearch::PhoneKindClicked(int tag, bool checked)
{
    m_phoneKinds = ToggledPhoneKinds(m_phoneKinds, tag, checked);
    for (int i = 0; i < 4; ++i) {
        const bool on = m_phoneKinds & (1 << i);
        chkPhone[i]->setChecked(on);
        QPalette pal = chkPhone[i]->palette();
        pal.setColor(QPalette::WindowText, on ? QColor(Qt::blue) : palette().color(QPalette::WindowText));
        chkPhone[i]->setPalette(pal);
    }
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
    m_conditions = BuildConditionRecords(m_areaCodes, CategoryCodeText(major, minor), m_phoneKinds, from, to,
                                         cbxCorpDiv->currentIndex(), DataFolder(), DicFolder());
    m_areaCaption = AreaCaptionOf(m_areaCodes, RememberedName(lbxTdfkn), RememberedName(lbxCity),
                                  RememberedName(lbxOhaza));
}

bool TCategorySearch::ValidateConditions(int kind)
{
    if (kind != 1)
        return true;
    QString refusal;
    if (m_region == 0)
        refusal = QStringLiteral("全国を指定したファイル出力はできません  ");
    else if (lbxTdfkn->selectedItems().size() > 1)
        refusal = QStringLiteral("複数都道府県を指定したファイル出力はできません  ");
    if (refusal.isEmpty())
        return true;
    MessageBoxPos(this, refusal, ProductTitle, MsgSeam::MbIconInformation);
    return false;
}

void TCategorySearch::EnableConditionInputs(bool enable)
{
    for (QWidget* w : std::initializer_list<QWidget*>{nmedtName, nmcbxName, lbxMain, pnlTelDiv, cbxCorpDiv,
                                                      cbxPubFromYear, cbxArea, chkOmissionAdrs, sbtnInquiry,
                                                      sbtnFileExport, sbtnExportItemSelect, lvResult})
        w->setEnabled(enable);
    for (QCheckBox* c : chkPhone)
        c->setEnabled(enable);
    lbxSub->setEnabled(enable && lbxSub->count() > 0);
    UpdatePeriodState();
    for (QListWidget* l : {lbxTdfkn, lbxCity, lbxOhaza})
        l->setEnabled(enable && m_region > 0);
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
    c.AreaCount = qint32(m_areaCodes.size());
    c.AreaKind = m_areaCodes.isEmpty() ? AreaKindCountry : m_areaCodes.first().kind;
    c.Region = m_region;
    c.AreaCodes = m_areaCodes;
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
    if (i < 0 || i >= m_history.entries.size())
        return;
    m_history.entries.removeAt(i);
    // The chosen index keeps pointing at the same entry.
    if (m_chosenHistory == i)
        m_chosenHistory = -1;
    else if (m_chosenHistory > i)
        --m_chosenHistory;
    SaveHistory();
    FillHistoryCombo();
}

void TCategorySearch::ApplyHistoryEntry(const TCategorySearchHistoryRec& entry)
{
    SetNameText(ToWide(entry.Name));
    SetPhoneKinds(entry.PhoneKinds);
    cbxCorpDiv->setCurrentIndex(
        entry.LegalForm >= 0 && entry.LegalForm < cbxCorpDiv->count() ? entry.LegalForm : 0);
    auto pick = [](QComboBox* c, int value, int fallback) {
        const int i = c->findData(value);
        c->setCurrentIndex(i >= 0 ? i : fallback);
    };
    if (!entry.PeriodFrom.isEmpty()) {
        pick(cbxPubFromYear, entry.PeriodFrom.left(4).toInt(), 0);
        pick(cbxPubFromMonth, entry.PeriodFrom.mid(4, 2).toInt(), 0);
        pick(cbxPubToYear, entry.PeriodTo.left(4).toInt(), 0);
        pick(cbxPubToMonth, entry.PeriodTo.mid(4, 2).toInt(), 11);
    } else {
        cbxPubFromYear->setCurrentIndex(0);
        cbxPubFromMonth->setCurrentIndex(0);
        cbxPubToYear->setCurrentIndex(0);
        cbxPubToMonth->setCurrentIndex(11);
    }
    UpdatePeriodState();
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

bool TCategorySearch::SelectSaved(QListWidget* list, const TAreaCodeList& saved, int chars)
{
    list->clearSelection();
    int first = -1;
    for (int i = 0; i < list->count(); ++i) {
        const AnsiString code = list->item(i)->data(CodeRole).toByteArray();
        if (code.isEmpty())
            continue;
        for (const TAreaCode& s : saved)
            if (s.code.left(chars) == code) {
                list->item(i)->setSelected(true);
                if (first < 0)
                    first = i;
                break;
            }
    }
    const bool found = first >= 0;
    if (!found && list->count() > 0) {
        first = 0;
        list->item(0)->setSelected(true);
    }
    if (first >= 0) {
        list->setCurrentRow(first, QItemSelectionModel::Current);
        list->scrollToItem(list->item(first));
    }
    return found;
}

void TCategorySearch::RestoreAreas(int region, int kind, const TAreaCodeList& saved)
{
    if (region < 0 || region >= RegionCaptions().size())
        region = 0;
    // An unknown kind, or areas without a region, apply as the whole country so that a job has conditions.
    if (AreaCodeBytes(kind) == 0 || region == 0 || !m_dic) {
        SelectRegion(0);
        return;
    }
    if (saved.isEmpty()) {
        SelectRegion(region);
        return;
    }
    SelectRegion(region);
    m_areaUpdating = true;
    if (SelectSaved(lbxTdfkn, saved, 2))
        FillCities();
    if (kind >= AreaKindCity && SelectSaved(lbxCity, saved, 5))
        FillOazas();
    if (kind >= AreaKindOaza)
        SelectSaved(lbxOhaza, saved, 8);
    m_areaCodes = saved;
    RememberSelections();
    m_areaUpdating = false;
}

// ---- areas ----

QListWidget* TCategorySearch::AreaListWidget(AreaList list) const
{
    return list == alPrefecture ? lbxTdfkn : list == alCity ? lbxCity : lbxOhaza;
}

void TCategorySearch::ResetAreaList(QListWidget* list)
{
    list->clear();
    AreaItem(list, QString(), QStringLiteral("指定しない"), AnsiString(), 0);
}

QList<int> TCategorySearch::SelectedRows(QListWidget* list) const
{
    QList<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            rows << i;
    return rows;
}

QString TCategorySearch::RememberedName(QListWidget* list) const
{
    const QList<int> rows = SelectedRows(list);
    if (rows.isEmpty() || (list != lbxTdfkn && rows.first() == 0))
        return {};
    return list->item(rows.first())->data(NameRole).toString();
}

void TCategorySearch::RememberSelections()
{
    for (int l = 0; l < 3; ++l) {
        const QList<int> rows = SelectedRows(AreaListWidget(AreaList(l)));
        m_remembered[l] = {rows.isEmpty() ? -1 : rows.first(), int(rows.size())};
    }
}

void TCategorySearch::SelectRegion(int region)
{
    m_areaUpdating = true;
    m_region = region;
    cbxArea->setCurrentIndex(region);
    lbxTdfkn->clear();
    lbxCity->clear();
    lbxOhaza->clear();
    m_areaCodes.clear();
    if (region == 0 || !m_dic) {
        m_areaCodes << TAreaCode{};
    } else {
        for (int index : RegionPrefectureIndexes(region)) {
            const TKanaPrefRec pref = m_dic->GetPrefecture(index);
            AreaItem(lbxTdfkn, QString(), ToWide(FieldText(pref.Name)),
                     QByteArray::number(pref.Code).rightJustified(2, '0'), pref.CityCount);
        }
        lbxTdfkn->item(0)->setSelected(true);
        lbxTdfkn->setCurrentRow(0, QItemSelectionModel::Current);
        m_areaCodes << TAreaCode{lbxTdfkn->item(0)->data(CodeRole).toByteArray(), AreaKindPrefecture};
        FillCities();
    }
    for (QListWidget* l : {lbxTdfkn, lbxCity, lbxOhaza}) {
        l->setEnabled(region > 0 && cbxArea->isEnabled());
        QPalette pal = l->palette();
        pal.setColor(QPalette::Base,
                     region > 0 ? palette().color(QPalette::Base) : palette().color(QPalette::Button));
        l->setPalette(pal);
    }
    RememberSelections();
    m_areaUpdating = false;
}

void TCategorySearch::FillCities()
{
    ResetAreaList(lbxCity);
    const QList<int> prefs = SelectedRows(lbxTdfkn);
    if (prefs.size() == 1 && m_dic) {
        QListWidgetItem* pref = lbxTdfkn->item(prefs.first());
        try {
            if (m_dic->ListCities(pref->data(CodeRole).toByteArray().toInt(),
                                  pref->data(ChildCountRole).toInt()) == 0) {
                QString lastHead;
                for (int i = 0; i < m_dic->CityCount(); ++i) {
                    const TKanaCityRec city = m_dic->GetCity(i);
                    const QString head = GroupHeadText(city.Head);
                    AreaItem(lbxCity, head == lastHead ? QString() : head, ToWide(FieldText(city.Name)),
                             FieldText(city.Code), city.OazaCount);
                    lastHead = head;
                }
            }
        } catch (const EKanaAdrsSearchError& e) {
            ResetAreaList(lbxCity);
            MessageBoxPos(this, e.Message(), ProductTitle, MsgSeam::MbIconStop);
        }
    }
    lbxCity->item(0)->setSelected(true);
    lbxCity->setCurrentRow(0, QItemSelectionModel::Current);
    FillOazas();
}

void TCategorySearch::FillOazas()
{
    ResetAreaList(lbxOhaza);
    const QList<int> cities = SelectedRows(lbxCity);
    if (cities.size() == 1 && cities.first() > 0 && m_dic) {
        QListWidgetItem* city = lbxCity->item(cities.first());
        try {
            if (m_dic->ListOazas(city->data(CodeRole).toByteArray(), city->data(ChildCountRole).toInt(),
                                 true) == 0) {
                QString lastHead;
                for (int i = 0; i < m_dic->OazaCount(); ++i) {
                    const TKanaOazaRec oaza = m_dic->GetOaza(i);
                    const QString name = ToWide(FieldText(oaza.Name));
                    if (name.isEmpty())
                        continue;
                    const QString head = GroupHeadText(oaza.Head);
                    AreaItem(lbxOhaza, head == lastHead ? QString() : head, name, FieldText(oaza.AreaCode),
                             oaza.AreaCount);
                    lastHead = head;
                }
            }
        } catch (const EKanaAdrsSearchError& e) {
            ResetAreaList(lbxOhaza);
            MessageBoxPos(this, e.Message(), ProductTitle, MsgSeam::MbIconStop);
        }
    }
    lbxOhaza->item(0)->setSelected(true);
    lbxOhaza->setCurrentRow(0, QItemSelectionModel::Current);
}

void TCategorySearch::ClickAreaList(AreaList list, const QList<int>& rows)
{
    QListWidget* l = AreaListWidget(list);
    m_areaUpdating = true;
    l->clearSelection();
    for (int r : rows)
        if (QListWidgetItem* item = l->item(r))
            item->setSelected(true);
    if (!rows.isEmpty())
        l->setCurrentRow(rows.last(), QItemSelectionModel::Current);
    m_areaUpdating = false;
    AreaListClicked(list);
}

void TCategorySearch::AreaListClicked(AreaList list)
{
    QListWidget* l = AreaListWidget(list);
    m_areaUpdating = true;
    QList<int> rows = SelectedRows(l);
    if (rows.isEmpty() && l->currentRow() >= 0) {
        l->item(l->currentRow())->setSelected(true);
        rows = SelectedRows(l);
    }
    if (list != alPrefecture && rows.size() > 1 && rows.first() == 0) {
        for (int r : rows.mid(1))
            l->item(r)->setSelected(false);
        rows = {0};
    }
    const Remembered& before = m_remembered[list];
    const bool unchanged = !rows.isEmpty() && rows.first() == before.first && rows.size() == before.count;
    const bool ignored =
        (list == alCity && m_remembered[alPrefecture].count > 1) ||
        (list == alOaza && (m_remembered[alCity].count > 1 || m_remembered[alCity].first == 0));
    if (unchanged || ignored || rows.isEmpty()) {
        m_areaUpdating = false;
        return;
    }
    m_areaCodes.clear();
    for (int r : rows) {
        const AnsiString code = l->item(r)->data(CodeRole).toByteArray();
        if (list == alPrefecture)
            m_areaCodes << TAreaCode{code, AreaKindPrefecture};
        else if (r > 0)
            m_areaCodes << TAreaCode{code, list == alCity ? AreaKindCity : AreaKindOaza};
        else {
            QListWidget* parent = list == alCity ? lbxTdfkn : lbxCity;
            const QList<int> parentRows = SelectedRows(parent);
            m_areaCodes << TAreaCode{parent->item(parentRows.value(0))->data(CodeRole).toByteArray(),
                                     list == alCity ? AreaKindPrefecture : AreaKindCity};
        }
    }
    if (list == alPrefecture)
        FillCities();
    else if (list == alCity)
        FillOazas();
    RememberSelections();
    m_areaUpdating = false;
}

// ---- keys ----

void TCategorySearch::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && focusWidget() != lvResult) {
        QWidget* w = focusWidget();
        if (w == cbxPubFromYear)
            (cbxPubFromYear->currentIndex() > 0 ? static_cast<QWidget*>(cbxPubFromMonth) : cbxArea)
                ->setFocus();
        else if (w == cbxPubToMonth)
            cbxArea->setFocus();
        else if (w == cbxArea)
            (lbxTdfkn->isEnabled() ? static_cast<QWidget*>(lbxTdfkn) : bbtnSearch)->setFocus();
        else if (w == lbxOhaza)
            bbtnSearch->setFocus();
        else
            focusNextChild();
        if (auto* edit = qobject_cast<QLineEdit*>(focusWidget()))
            edit->end(false);
        return;
    }
    TDirSearchForm::keyPressEvent(e);
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
