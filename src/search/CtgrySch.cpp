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
#include <QProgressBar>
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
const QString SettingsSection = QStringLiteral("CATEGORY SEARCH");

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
    LoadSettings();
}

TCategorySearch::~TCategorySearch()
{
    SaveSettings();
}

void TCategorySearch::LoadSettings()
{
    ReadFormSettings(SettingsSection, 727, 357, m_splitter, m_area->splitter);
}

void TCategorySearch::SaveSettings() const
{
    WriteFormSettings(SettingsSection, m_splitter, m_area->lbxCity);
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
    connect(nmedtName, &QLineEdit::editingFinished, this, [this] {
        const AnsiString cut = CutListedName(ToAnsi(nmedtName->text()));
        if (ToAnsi(nmedtName->text()) != cut)
            nmedtName->setText(ToWide(cut));
    });
    grid->addWidget(new QLabel(QStringLiteral("掲載名"), conditions), 0, 0);
    grid->addWidget(nmedtName, 0, 1, 1, 3);

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
    for (QPushButton* b : {bbtnCount, bbtnSearch, bbtnPrior, bbtnNext, bbtnStop, bbtnClose})
        buttons->addWidget(b);
    auto* busy = new QHBoxLayout(pnlSearch);
    busy->setContentsMargins(0, 0, 0, 0);
    busy->addWidget(aniSearch);
    buttons->addWidget(pnlSearch);
    grid->addLayout(buttons, 8, 2, 1, 2);

    auto* toolbar = new QHBoxLayout(ResultToolBar);
    toolbar->setContentsMargins(0, 0, 0, 0);
    toolbar->addWidget(sbtnInquiry);
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
    const AnsiString name = CutListedName(ToAnsi(nmedtName->text()));
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
    for (QWidget* w : std::initializer_list<QWidget*>{nmedtName, lbxMain, pnlTelDiv, cbxCorpDiv,
                                                      cbxPubFromYear, chkOmissionAdrs, sbtnInquiry, lvResult})
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
    nmedtName->setFocus();
    nmedtName->selectAll();
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
    const bool created = !CategorySearch;
    if (created)
        CategorySearch = new TCategorySearch(&list, &list);
    CategorySearch->ShowFor(list, created);
    return CategorySearch;
}
