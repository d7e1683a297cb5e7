// The narrowing dialog of the address list and the named condition patterns kept in "Search.ptn".
#include "addressbook/AdrsSch.h"

#include "core/ButtonPictures.h"
#include "core/PDFHelp.h"
#include "core/DialogSub.h"
#include "core/AppSub.h"
#include "core/CategoryNames.h"
#include "core/MainSettings.h"
#include "core/ShellSub.h"
#include "platform/IniFile.h"
#include "platform/MessageSeam.h"

#include <QBuffer>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDataStream>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QTreeWidget>
#include <QVBoxLayout>

// ---- "Search.ptn" ----

std::optional<QByteArray> EncodeSearchPatterns(const QList<TSearchPattern>& patterns)
{
    if (patterns.size() > MaxSearchPatterns)
        return std::nullopt;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint8(patterns.size());
    for (const TSearchPattern& pattern : patterns) {
        if (pattern.name.size() > 255)
            return std::nullopt;
        out << quint8(pattern.name.size());
        out.writeRawData(pattern.name.constData(), int(pattern.name.size()));
        if (!WriteNarrowDownCondition(out, pattern.condition))
            return std::nullopt;
    }
    if (out.status() != QDataStream::Ok)
        return std::nullopt;
    return bytes;
}

QList<TSearchPattern> DecodeSearchPatterns(const QByteArray& bytes)
{
    QList<TSearchPattern> patterns;
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QDataStream in(&buffer);
    in.setByteOrder(QDataStream::LittleEndian);
    quint8 count = 0;
    in >> count;
    if (in.status() != QDataStream::Ok)
        return patterns;
    for (int i = 0; i < count; ++i) {
        quint8 length = 0;
        in >> length;
        if (in.status() != QDataStream::Ok || length > buffer.bytesAvailable())
            break;
        TSearchPattern pattern;
        pattern.name.resize(length);
        if (length > 0 && in.readRawData(pattern.name.data(), length) != length)
            break;
        if (!ReadNarrowDownCondition(in, pattern.condition))
            break;
        patterns.append(pattern);
    }
    return patterns;
}

void TSearchPatternStore::Load()
{
    m_patterns.clear();
    QFile file(m_fileName);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return;
    m_patterns = DecodeSearchPatterns(file.readAll());
}

QStringList TSearchPatternStore::Names() const
{
    QStringList names;
    for (const TSearchPattern& pattern : m_patterns)
        names.append(ToWide(pattern.name));
    return names;
}

int TSearchPatternStore::IndexOf(const AnsiString& name) const
{
    const AnsiString trimmed = TrimAnsiText(name);
    for (int i = 0; i < m_patterns.size(); ++i) {
        if (TrimAnsiText(m_patterns[i].name) == trimmed)
            return i;
    }
    return -1;
}

namespace {

void ShowPatternSaveFailure(QWidget* owner)
{
    ListToolMessage(owner, QStringLiteral("パターンが保存できませんでした  "),
                    MsgSeam::MbOk | MsgSeam::MbIconStop);
}

} // namespace

bool TSearchPatternStore::Save(const AnsiString& name, const TNarrowDownCondition& condition, QWidget* owner)
{
    const AnsiString trimmed = TrimAnsiText(name);
    const int index = IndexOf(trimmed);
    if (index >= 0) {
        m_patterns[index].condition = condition;
    } else {
        // The count byte cannot hold a 256th pattern; wrapping it would lose every pattern on the next read.
        if (m_patterns.size() >= MaxSearchPatterns) {
            ShowPatternSaveFailure(owner);
            return false;
        }
        m_patterns.append(TSearchPattern{trimmed, condition});
    }
    return Write(owner);
}

bool TSearchPatternStore::Remove(const AnsiString& name, QWidget* owner)
{
    const int index = IndexOf(name);
    if (index < 0)
        return true;
    m_patterns.removeAt(index);
    return Write(owner);
}

bool TSearchPatternStore::Write(QWidget* owner)
{
    if (m_patterns.isEmpty()) {
        if (QFile::exists(m_fileName) && !QFile::remove(m_fileName)) {
            ShowPatternSaveFailure(owner);
            return false;
        }
        return true;
    }
    const std::optional<QByteArray> bytes = EncodeSearchPatterns(m_patterns);
    QSaveFile file(m_fileName);
    if (!bytes || !file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit()) {
        ShowPatternSaveFailure(owner);
        return false;
    }
    return true;
}

// ---- conditions and their rows ----

namespace {

bool IsHyphenFreeRow(int row)
{
    return row == 1 || row == 3 || row == 5 || row == 6 || row == 7;
}

int InputKindOf(int row)
{
    if (row < 0 || row >= int(NarrowDownItemTable.size()))
        return -1;
    return NarrowDownItemTable[row].inputKind;
}

const QStringList& ConditionNames()
{
    static const QStringList names{QStringLiteral("前方一致"), QStringLiteral("あいまい"),
                                   QStringLiteral("後方一致")};
    return names;
}

} // namespace

TNarrowDownItem BuildNarrowDownItem(const TNarrowDownPanelInput& input)
{
    TNarrowDownItem item;
    item.item = input.row;
    switch (InputKindOf(input.row)) {
    case 0:
    case 1:
        item.kind = TNarrowDownItem::TextTest;
        if (IsNarrowDownUnicodeRow(input.row)) {
            item.text = WideToHexText(input.text);
        } else {
            QString text = input.text;
            if (IsHyphenFreeRow(input.row))
                text.remove(QLatin1Char('-'));
            item.text = ToAnsi(text);
        }
        break;
    case 2:
        item.kind = TNarrowDownItem::FixedChoice;
        item.value1 = input.choice;
        break;
    case 3:
        item.kind = TNarrowDownItem::YearMonthRange;
        item.value1 = input.fromYear * 100 + input.fromMonth;
        item.value2 = input.toYear * 100 + input.toMonth;
        if (item.value2 < item.value1)
            std::swap(item.value1, item.value2);
        break;
    case 4:
        item.kind = TNarrowDownItem::Category;
        item.value1 = input.categoryCode;
        break;
    default:
        break;
    }
    if (!item.text.isEmpty() && input.conditionShown) {
        item.condition = std::clamp(input.conditionIndex, 0, 2);
        item.negate = false;
    } else {
        item.condition = TNarrowDownItem::NotUsed;
        item.negate = input.notShown && input.notChecked;
    }
    return item;
}

QString NarrowDownCategoryCaption(int code)
{
    const int major = code / 100;
    const int minor = code % 100;
    QString caption = GetMajorCategoryName(major);
    if (minor != 0)
        caption += QLatin1Char('-') + GetMinorCategoryName(major, minor);
    return caption;
}

TNarrowDownRowTexts NarrowDownRowTexts(const TNarrowDownItem& item, const TAddressListView& list)
{
    TNarrowDownRowTexts texts;
    texts.name = NarrowDownItemCaption(item.item, list.KeywordNames());
    switch (item.kind) {
    case TNarrowDownItem::TextTest:
        if (item.text.isEmpty()) {
            texts.content = QStringLiteral("＜空白＞");
        } else if (IsNarrowDownUnicodeRow(item.item)) {
            try {
                texts.content = HexTextToWide(item.text);
            } catch (const std::exception&) {
                texts.content = ToWide(item.text); // a damaged pattern still shows what it holds
            }
        } else {
            texts.content = ToWide(item.text);
        }
        break;
    case TNarrowDownItem::FixedChoice:
        texts.content = NarrowDownChoiceList(item.item).value(item.value1);
        break;
    case TNarrowDownItem::YearMonthRange:
        texts.content = QString::asprintf("%.4d年%.2d月～%.4d年%.2d月", item.value1 / 100, item.value1 % 100,
                                          item.value2 / 100, item.value2 % 100);
        break;
    case TNarrowDownItem::Category:
        texts.content = NarrowDownCategoryCaption(item.value1);
        break;
    default:
        break;
    }
    if (item.condition >= 0 && item.condition <= 2)
        texts.condition = ConditionNames()[item.condition];
    else if (item.negate)
        texts.condition = QStringLiteral("以外");
    return texts;
}

// ---- the dialog ----

namespace {

QFrame* Panel(QWidget* parent, const char* name)
{
    auto* panel = Named<QFrame>(parent, name);
    panel->setFrameShape(QFrame::NoFrame);
    return panel;
}

} // namespace

TAddressSearch::TAddressSearch(QWidget* owner, TAddressListView& list)
    : QDialog(owner), m_list(list), m_patterns(DataFolder + QLatin1String(SearchPatternFileName))
{
    setObjectName(QStringLiteral("AddressSearch"));
    BuildWindow();

    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    m_viewType = ini.ReadInteger(QStringLiteral("ADRS SCH"), QStringLiteral("ViewType"), 0);

    LoadPatterns();
    RefillPatternCombo();

    const QStringList keywordNames = m_list.KeywordNames();
    for (int row = 0; row < int(NarrowDownItemTable.size()); ++row)
        m_cbxItem->addItem(NarrowDownItemCaption(row, keywordNames));
    m_cbxItem->setMaxVisibleItems(10);
    m_cbxItem->setCurrentIndex(0);
    ChooseItem(0);

    m_cbxCondition->addItems(ConditionNames());
    m_cbxCondition->setCurrentIndex(0);
    m_chkNot->setChecked(false);
    m_rbtnAnd->setChecked(true);
    UpdateButtons();
    ApplyViewType(); // sized once the item panel shows only its first row's fields
}

TAddressSearch::~TAddressSearch()
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteInteger(QStringLiteral("ADRS SCH"), QStringLiteral("ViewType"), m_viewType);
    ini.UpdateFile();
}

void TAddressSearch::BuildWindow()
{
    auto* root = new QVBoxLayout(this);
    root->setSizeConstraint(QLayout::SetFixedSize);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    m_enter = new TEnterMovesFocus(this);

    // Pattern row.
    m_pnlPattern = Panel(this, "pnlPattern");
    {
        auto* row = new QHBoxLayout(m_pnlPattern);
        row->addWidget(new QLabel(QStringLiteral("条件パターン："), m_pnlPattern));
        m_cbxPattern = Named<QComboBox>(m_pnlPattern, "cbxPattern");
        m_cbxPattern->setEditable(true);
        m_cbxPattern->setInsertPolicy(QComboBox::NoInsert);
        m_cbxPattern->setMinimumWidth(220);
        LimitAnsiBytes(m_cbxPattern->lineEdit(), MaxPatternNameBytes);
        row->addWidget(m_cbxPattern, 1);
        m_btnPatternView = MakeButton(m_pnlPattern, "btnPatternView", QStringLiteral("表示"));
        m_btnPatternSave = MakeButton(m_pnlPattern, "btnPatternSave", QStringLiteral("保存"));
        m_btnPatternDelete = MakeButton(m_pnlPattern, "btnPatternDelete", QStringLiteral("削除"));
        SetButtonPicture(m_btnPatternView, QStringLiteral("VIEW"));
        SetButtonPicture(m_btnPatternSave, QStringLiteral("SAVE"));
        SetButtonPicture(m_btnPatternDelete, QStringLiteral("DELETE"));
        row->addWidget(m_btnPatternView);
        row->addWidget(m_btnPatternSave);
        row->addWidget(m_btnPatternDelete);
    }
    root->addWidget(m_pnlPattern);

    // Item panel: one condition.
    m_pnlItem = Panel(this, "pnlItem");
    {
        auto* grid = new QGridLayout(m_pnlItem);
        grid->addWidget(new QLabel(QStringLiteral("項目："), m_pnlItem), 0, 0);
        m_cbxItem = Named<QComboBox>(m_pnlItem, "cbxItem");
        grid->addWidget(m_cbxItem, 0, 1, Qt::AlignLeft);
        grid->addWidget(new QLabel(QStringLiteral("内容："), m_pnlItem), 1, 0);
        auto* content = new QHBoxLayout;
        m_edtText = Named<QLineEdit>(m_pnlItem, "edtText");
        m_edtWideText = Named<QLineEdit>(m_pnlItem, "edtWideText");
        m_cbxHistory = Named<QComboBox>(m_pnlItem, "cbxHistory");
        m_cbxHistory->setEditable(true);
        m_cbxHistory->setInsertPolicy(QComboBox::NoInsert);
        m_cbxChoice = Named<QComboBox>(m_pnlItem, "cbxChoice");
        m_pnlRange = Panel(m_pnlItem, "pnlRange");
        auto* range = new QHBoxLayout(m_pnlRange);
        range->setContentsMargins(0, 0, 0, 0);
        m_cbxFromYear = Named<QComboBox>(m_pnlRange, "cbxFromYear");
        m_cbxFromMonth = Named<QComboBox>(m_pnlRange, "cbxFromMonth");
        m_cbxToYear = Named<QComboBox>(m_pnlRange, "cbxToYear");
        m_cbxToMonth = Named<QComboBox>(m_pnlRange, "cbxToMonth");
        range->addWidget(m_cbxFromYear);
        range->addWidget(m_cbxFromMonth);
        range->addWidget(new QLabel(QStringLiteral("～"), m_pnlRange));
        range->addWidget(m_cbxToYear);
        range->addWidget(m_cbxToMonth);
        m_cbxMajor = Named<QComboBox>(m_pnlItem, "cbxMajor");
        m_cbxMinor = Named<QComboBox>(m_pnlItem, "cbxMinor");
        for (QWidget* w : {static_cast<QWidget*>(m_edtText), static_cast<QWidget*>(m_edtWideText),
                           static_cast<QWidget*>(m_cbxHistory)})
            w->setMinimumWidth(360);
        content->addWidget(m_edtText);
        content->addWidget(m_edtWideText);
        content->addWidget(m_cbxHistory);
        content->addWidget(m_cbxChoice);
        content->addWidget(m_pnlRange);
        content->addWidget(m_cbxMajor);
        content->addWidget(m_cbxMinor);
        content->addStretch(1);
        grid->addLayout(content, 1, 1);
        for (QWidget* w : std::initializer_list<QWidget*>{m_edtText, m_edtWideText, m_cbxHistory, m_cbxChoice,
                                                          m_pnlRange, m_cbxMajor, m_cbxMinor})
            w->hide();
        m_cbxItem->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        m_lblCondition = Named<QLabel>(m_pnlItem, "lblCondition");
        m_lblCondition->setText(QStringLiteral("条件："));
        grid->addWidget(m_lblCondition, 2, 0);
        auto* conditionRow = new QHBoxLayout;
        m_cbxCondition = Named<QComboBox>(m_pnlItem, "cbxCondition");
        m_chkNot = Named<QCheckBox>(m_pnlItem, "chkNot");
        m_chkNot->setText(QStringLiteral("以外を検索"));
        conditionRow->addWidget(m_cbxCondition);
        conditionRow->addWidget(m_chkNot);
        conditionRow->addStretch(1);
        grid->addLayout(conditionRow, 2, 1);
        grid->setColumnStretch(1, 1);
    }
    root->addWidget(m_pnlItem);

    // Condition list and its buttons.
    m_pnlCondition = Panel(this, "pnlCondition");
    {
        auto* row = new QHBoxLayout(m_pnlCondition);
        m_lvCondition = Named<QTreeWidget>(m_pnlCondition, "lvCondition");
        m_lvCondition->setColumnCount(3);
        m_lvCondition->setHeaderLabels(
            {QStringLiteral("項目名"), QStringLiteral("内容"), QStringLiteral("条件")});
        m_lvCondition->setRootIsDecorated(false);
        m_lvCondition->setSelectionMode(QAbstractItemView::ExtendedSelection);
        m_lvCondition->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_lvCondition->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_lvCondition->setColumnWidth(0, 130);
        m_lvCondition->setColumnWidth(1, 260);
        m_lvCondition->setMinimumSize(520, 200);
        row->addWidget(m_lvCondition, 1);
        auto* buttons = new QVBoxLayout;
        m_btnListAdd = MakeButton(m_pnlCondition, "btnListAdd", QStringLiteral("追加"));
        m_btnListUpdate = MakeButton(m_pnlCondition, "btnListUpdate", QStringLiteral("変更"));
        m_btnListDelete = MakeButton(m_pnlCondition, "btnListDelete", QStringLiteral("削除"));
        m_btnListClear = MakeButton(m_pnlCondition, "btnListClear", QStringLiteral("クリア"));
        SetButtonPicture(m_btnListAdd, QStringLiteral("LISTADD"));
        SetButtonPicture(m_btnListUpdate, QStringLiteral("LISTUPD"));
        SetButtonPicture(m_btnListDelete, QStringLiteral("LISTDEL"));
        SetButtonPicture(m_btnListClear, QStringLiteral("LISTCLEAR"));
        buttons->addWidget(m_btnListAdd);
        buttons->addWidget(m_btnListUpdate);
        buttons->addWidget(m_btnListDelete);
        buttons->addWidget(m_btnListClear);
        buttons->addStretch(1);
        row->addLayout(buttons);
    }
    root->addWidget(m_pnlCondition);

    // AND/OR choice.
    m_pnlAndOr = Panel(this, "pnlAndOr");
    {
        auto* row = new QHBoxLayout(m_pnlAndOr);
        m_rbtnAnd = Named<QRadioButton>(m_pnlAndOr, "rbtnAnd");
        m_rbtnAnd->setText(QStringLiteral("すべて一致"));
        m_rbtnOr = Named<QRadioButton>(m_pnlAndOr, "rbtnOr");
        m_rbtnOr->setText(QStringLiteral("いずれかが一致"));
        row->addWidget(m_rbtnAnd);
        row->addWidget(m_rbtnOr);
        row->addStretch(1);
    }
    root->addWidget(m_pnlAndOr);

    // Bottom buttons.
    m_pnlBottom = Panel(this, "pnlBottom");
    {
        auto* row = new QHBoxLayout(m_pnlBottom);
        m_btnSwitchView = MakeButton(m_pnlBottom, "btnSwitchView", QString());
        row->addWidget(m_btnSwitchView);
        row->addStretch(1);
        m_btnSearch = MakeButton(m_pnlBottom, "btnSearch", QStringLiteral("絞り込む"));
        m_btnSearch->setDefault(true);
        m_btnRelease = MakeButton(m_pnlBottom, "btnRelease", QStringLiteral("絞り込みの解除"));
        m_btnCancel = MakeButton(m_pnlBottom, "btnCancel", QStringLiteral("キャンセル"));
        row->addWidget(m_btnSearch);
        row->addWidget(m_btnRelease);
        row->addWidget(m_btnCancel);
    }
    root->addWidget(m_pnlBottom);

    PaintCheckedBlue(m_chkNot);
    PaintCheckedBlue(m_rbtnAnd);
    PaintCheckedBlue(m_rbtnOr);

    // Enter moves on.
    m_enter->addTarget(m_cbxPattern, m_cbxItem);
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_cbxItem, m_edtText, m_edtWideText, m_cbxHistory, m_cbxChoice,
                                         m_cbxFromYear, m_cbxFromMonth, m_cbxToYear, m_cbxToMonth})
        m_enter->addNext(w);
    const auto afterCondition = [this]() -> QWidget* { return m_viewType == 0 ? m_btnSearch : nullptr; };
    m_enter->addTarget(m_cbxCondition, afterCondition);
    m_enter->addTarget(m_chkNot, afterCondition);
    m_enter->addTarget(m_lvCondition,
                       [this]() -> QWidget* { return m_rbtnOr->isChecked() ? m_rbtnOr : m_rbtnAnd; });
    m_enter->addTarget(m_rbtnAnd, m_btnSearch);
    m_enter->addTarget(m_rbtnOr, m_btnSearch);

    connect(m_cbxItem, &QComboBox::currentIndexChanged, this, [this](int row) { ChooseItem(row); });
    connect(m_cbxMajor, &QComboBox::currentIndexChanged, this, [this](int index) {
        const int major = m_cbxMajor->itemData(index).toInt();
        if (index >= 0 && major != m_shownMajor)
            FillMinorCategories(major);
    });
    connect(m_lvCondition, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    connect(m_lvCondition, &QTreeWidget::itemDoubleClicked, this, [this] {
        const QList<int> rows = SelectedRows();
        if (!rows.isEmpty())
            LoadPanelFrom(m_items[rows.first()]);
    });
    connect(m_btnListAdd, &QPushButton::clicked, this, [this] { ListAdd(); });
    connect(m_btnListUpdate, &QPushButton::clicked, this, [this] { ListUpdate(); });
    connect(m_btnListDelete, &QPushButton::clicked, this, [this] { ListDelete(); });
    connect(m_btnListClear, &QPushButton::clicked, this, [this] { ListClear(); });
    connect(m_btnPatternView, &QPushButton::clicked, this, [this] { PatternView(); });
    connect(m_btnPatternSave, &QPushButton::clicked, this, [this] { PatternSave(); });
    connect(m_btnPatternDelete, &QPushButton::clicked, this, [this] { PatternDelete(); });
    connect(m_btnSearch, &QPushButton::clicked, this, [this] { Narrow(); });
    connect(m_btnRelease, &QPushButton::clicked, this, [this] { Release(); });
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnSwitchView, &QPushButton::clicked, this, [this] { SwitchView(); });
}

void TAddressSearch::ApplyViewType()
{
    const bool advanced = m_viewType != 0;
    m_pnlPattern->setVisible(advanced);
    m_pnlCondition->setVisible(advanced);
    m_pnlAndOr->setVisible(advanced);
    setWindowTitle(advanced ? QStringLiteral("絞り込み - 高度な設定") : QStringLiteral("絞り込み"));
    m_btnSwitchView->setText(advanced ? QStringLiteral("通常の設定方法に戻す")
                                      : QStringLiteral("高度な設定方法に切り替える"));
    SetHelpContext(this, HelpTopic());
    if (QLayout* root = layout())
        root->activate();
    adjustSize();
    CenterForm(this, parentWidget());
}

void TAddressSearch::SwitchView()
{
    m_viewType = m_viewType != 0 ? 0 : 1;
    ApplyViewType();
    m_cbxItem->setFocus();
}

void TAddressSearch::ChooseItem(int row)
{
    if (row < 0 || row >= int(NarrowDownItemTable.size()) || row == m_shownItem)
        return;
    m_shownItem = row;
    if (m_cbxItem->currentIndex() != row)
        m_cbxItem->setCurrentIndex(row); // re-enters with the row already shown

    const TNarrowDownItemDef& def = NarrowDownItemTable[row];
    for (QWidget* w : std::initializer_list<QWidget*>{m_edtText, m_edtWideText, m_cbxHistory, m_cbxChoice,
                                                      m_pnlRange, m_cbxMajor, m_cbxMinor})
        w->hide();
    bool conditionShown = false;
    bool notShown = false;
    bool labelShown = true;
    switch (def.inputKind) {
    case 0:
        if (IsNarrowDownUnicodeRow(row)) {
            m_edtWideText->clear();
            m_edtWideText->setMaxLength(def.maxLength > 0 ? def.maxLength : 32767);
            m_edtWideText->show();
        } else {
            m_edtText->clear();
            LimitAnsiBytes(m_edtText, def.maxLength);
            m_edtText->show();
        }
        conditionShown = true;
        break;
    case 1:
        m_cbxHistory->clear();
        for (const AnsiString& entry : m_list.HistoryEntries(row))
            m_cbxHistory->addItem(ToWide(entry));
        m_cbxHistory->setCurrentIndex(-1);
        m_cbxHistory->clearEditText();
        LimitAnsiBytes(m_cbxHistory->lineEdit(), def.maxLength);
        m_cbxHistory->show();
        conditionShown = true;
        break;
    case 2:
        m_cbxChoice->clear();
        m_cbxChoice->addItems(NarrowDownChoiceList(row));
        m_cbxChoice->setCurrentIndex(0);
        m_chkNot->setChecked(false);
        m_cbxChoice->show();
        notShown = true;
        break;
    case 3:
        for (QComboBox* year : {m_cbxFromYear, m_cbxToYear}) {
            year->clear();
            for (int y = NarrowDownLastYear; y >= NarrowDownFirstYear; --y)
                year->addItem(QStringLiteral("%1年").arg(y), y);
        }
        for (QComboBox* month : {m_cbxFromMonth, m_cbxToMonth}) {
            month->clear();
            for (int m = 1; m <= 12; ++m)
                month->addItem(QStringLiteral("%1月").arg(m));
        }
        m_cbxFromYear->setCurrentIndex(m_cbxFromYear->findData(NarrowDownFirstYear));
        m_cbxFromMonth->setCurrentIndex(0);
        m_cbxToYear->setCurrentIndex(m_cbxToYear->findData(NarrowDownLastYear));
        m_cbxToMonth->setCurrentIndex(11);
        m_pnlRange->show();
        labelShown = false;
        break;
    case 4: {
        const QSignalBlocker block(m_cbxMajor);
        m_cbxMajor->clear();
        for (const CodedName& entry : MajorCategoryNames)
            m_cbxMajor->addItem(entry.name, entry.code);
        m_cbxMajor->setCurrentIndex(m_cbxMajor->findData(1));
        FillMinorCategories(1);
        m_cbxMajor->show();
        m_cbxMinor->show();
        notShown = true;
        break;
    }
    default:
        break;
    }
    m_cbxCondition->setVisible(conditionShown);
    m_chkNot->setVisible(notShown);
    m_lblCondition->setVisible(labelShown);
    // Fields were hidden and shown before the window is on screen, when no layout hears of it.
    for (QLayout* sub : m_pnlItem->findChildren<QLayout*>())
        sub->invalidate();
    m_pnlItem->layout()->invalidate();
    m_pnlItem->updateGeometry();
    if (QLayout* root = layout())
        root->activate();
}

void TAddressSearch::FillMinorCategories(int major)
{
    m_shownMajor = major;
    m_cbxMinor->clear();
    m_cbxMinor->addItem(QStringLiteral("指定しない"), major * 100);
    if (major >= 1 && major <= MajorCategoryCount) {
        for (const CodedName& entry : MinorCategoryLists[major - 1])
            m_cbxMinor->addItem(entry.name, entry.code);
    }
    m_cbxMinor->setCurrentIndex(0);
}

TNarrowDownItem TAddressSearch::PanelCondition() const
{
    TNarrowDownPanelInput input;
    input.row = m_cbxItem->currentIndex();
    switch (InputKindOf(input.row)) {
    case 0:
        input.text = IsNarrowDownUnicodeRow(input.row) ? m_edtWideText->text() : m_edtText->text();
        break;
    case 1:
        input.text = m_cbxHistory->currentText();
        break;
    case 2:
        input.choice = std::max(0, m_cbxChoice->currentIndex());
        break;
    case 3:
        input.fromYear = m_cbxFromYear->currentData().toInt();
        input.fromMonth = m_cbxFromMonth->currentIndex() + 1;
        input.toYear = m_cbxToYear->currentData().toInt();
        input.toMonth = m_cbxToMonth->currentIndex() + 1;
        break;
    case 4:
        input.categoryCode = m_cbxMinor->currentData().toInt();
        break;
    default:
        break;
    }
    input.conditionShown = !m_cbxCondition->isHidden();
    input.conditionIndex = m_cbxCondition->currentIndex();
    input.notShown = !m_chkNot->isHidden();
    input.notChecked = m_chkNot->isChecked();
    return BuildNarrowDownItem(input);
}

void TAddressSearch::LoadPanelFrom(const TNarrowDownItem& item)
{
    ChooseItem(item.item);
    switch (item.kind) {
    case TNarrowDownItem::TextTest:
        if (IsNarrowDownUnicodeRow(item.item)) {
            try {
                m_edtWideText->setText(HexTextToWide(item.text));
            } catch (const std::exception&) {
                m_edtWideText->setText(ToWide(item.text));
            }
        } else if (InputKindOf(item.item) == 1) {
            m_cbxHistory->setEditText(ToWide(item.text));
        } else {
            m_edtText->setText(ToWide(item.text));
        }
        break;
    case TNarrowDownItem::FixedChoice:
        m_cbxChoice->setCurrentIndex(item.value1);
        break;
    case TNarrowDownItem::YearMonthRange:
        m_cbxFromYear->setCurrentIndex(m_cbxFromYear->findData(item.value1 / 100));
        m_cbxFromMonth->setCurrentIndex(item.value1 % 100 - 1);
        m_cbxToYear->setCurrentIndex(m_cbxToYear->findData(item.value2 / 100));
        m_cbxToMonth->setCurrentIndex(item.value2 % 100 - 1);
        break;
    case TNarrowDownItem::Category: {
        const int major = item.value1 / 100;
        m_cbxMajor->setCurrentIndex(m_cbxMajor->findData(major));
        if (major != m_shownMajor)
            FillMinorCategories(major);
        m_cbxMinor->setCurrentIndex(m_cbxMinor->findData(item.value1));
        break;
    }
    default:
        break;
    }
    m_cbxCondition->setCurrentIndex(item.condition < 0 ? 0 : item.condition);
    m_chkNot->setChecked(item.negate);
}

void TAddressSearch::SetCondition(const TNarrowDownCondition& condition)
{
    m_items = condition.items;
    m_lvCondition->clear();
    for (const TNarrowDownItem& item : m_items)
        AppendRow(item);
    (condition.andFlag ? m_rbtnAnd : m_rbtnOr)->setChecked(true);
    UpdateButtons();
    if (!m_items.isEmpty())
        LoadPanelFrom(m_items.first());
    m_btnRelease->setEnabled(!m_items.isEmpty());
}

void TAddressSearch::GetCondition(TNarrowDownCondition& condition) const
{
    condition.items = m_items;
    condition.andFlag = m_rbtnAnd->isChecked();
}

void TAddressSearch::AppendRow(const TNarrowDownItem& item)
{
    new QTreeWidgetItem(m_lvCondition);
    SetRowTexts(m_lvCondition->topLevelItemCount() - 1, item);
}

void TAddressSearch::SetRowTexts(int index, const TNarrowDownItem& item)
{
    QTreeWidgetItem* row = m_lvCondition->topLevelItem(index);
    const TNarrowDownRowTexts texts = NarrowDownRowTexts(item, m_list);
    row->setText(0, texts.name);
    row->setText(1, texts.content);
    row->setText(2, texts.condition);
}

QList<int> TAddressSearch::SelectedRows() const
{
    QList<int> rows;
    for (int i = 0; i < m_lvCondition->topLevelItemCount(); ++i) {
        if (m_lvCondition->topLevelItem(i)->isSelected())
            rows.append(i);
    }
    return rows;
}

void TAddressSearch::UpdateButtons()
{
    const int count = int(m_items.size());
    const int selected = int(SelectedRows().size());
    m_btnPatternSave->setEnabled(count > 0);
    m_btnListAdd->setEnabled(count < MaxNarrowDownItems);
    m_btnListUpdate->setEnabled(selected == 1);
    m_btnListDelete->setEnabled(selected >= 1);
    m_btnListClear->setEnabled(count > 0);
}

void TAddressSearch::ListAdd()
{
    const TNarrowDownItem item = PanelCondition();
    if (m_items.size() >= MaxNarrowDownItems || m_items.contains(item))
        return;
    m_items.append(item);
    AppendRow(item);
    QTreeWidgetItem* row = m_lvCondition->topLevelItem(m_lvCondition->topLevelItemCount() - 1);
    m_lvCondition->clearSelection();
    m_lvCondition->setCurrentItem(row);
    row->setSelected(true);
    m_lvCondition->scrollToItem(row);
    UpdateButtons();
    if (m_viewType != 0)
        m_lvCondition->setFocus();
}

QList<int> TAddressSearch::RowsToActOn()
{
    // With nothing listed the item panel takes the focus; with nothing selected, the list does.
    if (m_items.isEmpty()) {
        m_cbxItem->setFocus();
        return {};
    }
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty())
        m_lvCondition->setFocus();
    return rows;
}

void TAddressSearch::ListUpdate()
{
    const QList<int> rows = RowsToActOn();
    if (rows.isEmpty())
        return;
    const TNarrowDownItem item = PanelCondition();
    if (m_items.contains(item))
        return;
    m_items[rows.first()] = item;
    SetRowTexts(rows.first(), item);
    UpdateButtons();
}

void TAddressSearch::ListDelete()
{
    const QList<int> rows = RowsToActOn();
    if (rows.isEmpty())
        return;
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        m_items.removeAt(*it);
        delete m_lvCondition->takeTopLevelItem(*it);
    }
    const int count = m_lvCondition->topLevelItemCount();
    if (count > 0) {
        QTreeWidgetItem* row = m_lvCondition->topLevelItem(std::min(rows.first(), count - 1));
        m_lvCondition->setCurrentItem(row);
        row->setSelected(true);
    }
    UpdateButtons();
}

void TAddressSearch::ListClear()
{
    m_items.clear();
    m_lvCondition->clear();
    UpdateButtons();
}

void TAddressSearch::LoadPatterns()
{
    m_patterns.Load();
}

void TAddressSearch::SavePatterns()
{
    m_patterns.Write(this);
}

AnsiString TAddressSearch::PatternName() const
{
    return TrimAnsiText(ToAnsi(m_cbxPattern->currentText()));
}

void TAddressSearch::RefillPatternCombo()
{
    const QString typed = m_cbxPattern->currentText();
    const QSignalBlocker block(m_cbxPattern);
    m_cbxPattern->clear();
    m_cbxPattern->addItems(m_patterns.Names());
    const int index = m_cbxPattern->findText(typed, Qt::MatchExactly | Qt::MatchCaseSensitive);
    m_cbxPattern->setCurrentIndex(index);
    if (index < 0)
        m_cbxPattern->setEditText(typed);
    const bool any = !m_patterns.Patterns().isEmpty();
    m_btnPatternView->setEnabled(any);
    m_btnPatternDelete->setEnabled(any);
}

void TAddressSearch::PatternView()
{
    const AnsiString name = PatternName();
    if (name.isEmpty()) {
        ListToolMessage(this, QStringLiteral("表示したいパターン名を入力してください  "),
                        MsgSeam::MbOk | MsgSeam::MbIconInformation);
        m_cbxPattern->setFocus();
        return;
    }
    const int index = m_patterns.IndexOf(name);
    if (index < 0) {
        ListToolMessage(this, QStringLiteral("指定したパターン名は保存されていません  "),
                        MsgSeam::MbOk | MsgSeam::MbIconInformation);
        return;
    }
    m_cbxPattern->setCurrentIndex(index);
    SetCondition(m_patterns.Patterns()[index].condition);
}

void TAddressSearch::PatternSave()
{
    const AnsiString name = PatternName();
    if (name.isEmpty()) {
        ListToolMessage(this, QStringLiteral("保存するにはパターン名を入力してください  "),
                        MsgSeam::MbOk | MsgSeam::MbIconInformation);
        m_cbxPattern->setFocus();
        return;
    }
    TNarrowDownCondition condition;
    GetCondition(condition);
    m_patterns.Save(name, condition, this);
    RefillPatternCombo();
}

void TAddressSearch::PatternDelete()
{
    const AnsiString name = PatternName();
    if (name.isEmpty()) {
        ListToolMessage(this, QStringLiteral("削除したいパターン名を入力してください  "),
                        MsgSeam::MbOk | MsgSeam::MbIconInformation);
        m_cbxPattern->setFocus();
        return;
    }
    if (ListToolMessage(this, QStringLiteral("選択しているパターンを削除します  \r\nよろしいですか？  "),
                        MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) != MsgSeam::IdYes)
        return;
    if (m_patterns.IndexOf(name) < 0)
        return;
    m_patterns.Remove(name, this);
    RefillPatternCombo();
    m_cbxPattern->setFocus();
}

void TAddressSearch::Narrow()
{
    if (m_viewType == 0) {
        // The simple view's single condition becomes the whole condition.
        ListClear();
        const TNarrowDownItem item = PanelCondition();
        m_items.append(item);
        AppendRow(item);
    }
    accept();
}

bool ExecuteAddressSearch(QWidget* owner, TAddressListView& list, TNarrowDownCondition& condition)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TAddressSearch dialog(owner, list);
    CenterForm(&dialog, owner);
    dialog.SetCondition(condition);
    QApplication::restoreOverrideCursor();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.GetCondition(condition);
    return true;
}

void TAddressSearch::Release()
{
    ListClear();
    accept();
}
