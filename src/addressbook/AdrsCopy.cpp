// The address copy: the copy job over two table objects, its texts and settings, and its window.
#include "addressbook/AdrsCopy.h"

#include "addressbook/AdrsListRows.h"
#include "core/PDFHelp.h"
#include "core/DialogSub.h"
#include "core/AdrsFolderList.h"
#include "core/AppSub.h"
#include "core/DBInfo.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "platform/IniFile.h"
#include "platform/TableEngine.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

QPointer<TAddressCopy> AddressCopy;

namespace {

const QString Section = QStringLiteral("ADRS COPY");

// The fields copied as they are stored, in copy order; RecNo is the target's own, the stamps are set apart.
const char* const CopiedFields[] = {
    "Group",
    "CustomCode",
    "Tel",
    "TelDiv",
    "Fax",
    "PubDate",
    "Portable1",
    "Portable2",
    "Pos",
    "Tdfkn",
    "Adrs1",
    "Adrs2",
    "Adrs3",
    "AdrsKana",
    "JisCode",
    "KajoCode",
    "Latitude",
    "Longitude",
    "PrivCorp",
    "MyNumber",
    "CorpKanji",
    "CorpKana",
    "Dptmnt",
    "Post",
    "EmployeeNo",
    "NameKanji",
    "NameKana",
    "Honor",
    "IgnoreName",
    "URL",
    "EMail1",
    "EMail2",
    "Joint1",
    "Joint2",
    "Joint3",
    "Joint4",
    "Joint5",
    "JointHonor1",
    "JointHonor2",
    "JointHonor3",
    "JointHonor4",
    "JointHonor5",
    "JointMyNumber1",
    "JointMyNumber2",
    "JointMyNumber3",
    "JointMyNumber4",
    "JointMyNumber5",
    "JointOwner",
    "JointPrint",
    "JointPrint1",
    "JointPrint2",
    "JointPrint3",
    "JointPrint4",
    "JointPrint5",
    "PrintTarget",
    "Sender",
    "Keyword1",
    "Keyword2",
    "Keyword3",
    "Keyword4",
    "Keyword5",
    "Keyword6",
    "Keyword7",
    "Keyword8",
    "Note",
    "ProtectMemo1",
    "ProtectMemo2",
    "ProtectMemo3",
    "ProtectMemo4",
    "ProtectMemo5",
    "ProtectMemo6",
    "ProtectMemo7",
    "ProtectMemo8",
    "ProtectMemo9",
    "ProtectMemo10",
    "ProtectNote",
    "ExtLink",
    "SymbolMark",
    "SymbolColor",
    "CodeMain",
    "CodeSub",
    "CodeGenre",
};

const char* const NumberFields[4] = {"Tel", "Fax", "Portable1", "Portable2"};

int RequireField(const Table& table, const char* name)
{
    const int index = table.fieldIndex(QLatin1String(name));
    if (index < 0)
        throw TableError(TableErrorCode::UnknownField,
                         QStringLiteral("%1: no field \"%2\"").arg(table.tableName(), QLatin1String(name)));
    return index;
}

int OneOf(int value, int count, int def)
{
    return value >= 0 && value < count ? value : def;
}

QString CountLine(const char* label, int count)
{
    return QString::fromUtf8(label) + QStringLiteral(" : \t") + QString::number(count) +
           QStringLiteral(" 件  ");
}

// The source walks in RecNo order for the copy; the list's own order comes back afterwards.
class TPrimaryOrder
{
public:
    explicit TPrimaryOrder(Table& table) : m_table(table), m_saved(table.indexName())
    {
        if (!m_saved.isEmpty())
            m_table.setIndexName(QString());
    }
    ~TPrimaryOrder()
    {
        if (m_saved.isEmpty())
            return;
        try {
            m_table.setIndexName(m_saved);
        } catch (const std::exception&) {
            // The table broke during the copy; its owner meets that on its next read.
        }
    }
    TPrimaryOrder(const TPrimaryOrder&) = delete;
    TPrimaryOrder& operator=(const TPrimaryOrder&) = delete;

private:
    Table& m_table;
    QString m_saved;
};

} // namespace

// ---- settings and texts ---------------------------------------------------------------------------------

void TAddressCopySettings::Read(const TMemIniFile& ini)
{
    DataSelect = OneOf(ini.ReadInteger(Section, QStringLiteral("DataSelect"), 0), 3, 0);
    BeginPos = ini.ReadInteger(Section, QStringLiteral("BeginPos"), 0);
    EndPos = ini.ReadInteger(Section, QStringLiteral("EndPos"), 0);
    Tel = ini.ReadBool(Section, QStringLiteral("Tel"), false);
    Fax = ini.ReadBool(Section, QStringLiteral("Fax"), false);
    Portable1 = ini.ReadBool(Section, QStringLiteral("Portable1"), false);
    Portable2 = ini.ReadBool(Section, QStringLiteral("Portable2"), false);
    BothType = OneOf(ini.ReadInteger(Section, QStringLiteral("BothType"), 0), 2, 0);
    SameNumCheck = OneOf(ini.ReadInteger(Section, QStringLiteral("SameNumCheck"), 0), 2, 0);
    SameCustomCheck = OneOf(ini.ReadInteger(Section, QStringLiteral("SameCustomCheck"), 1), 2, 1);
    SameAddDateTime = ini.ReadBool(Section, QStringLiteral("SameAddDateTime"), true);
    SameUpdDateTime = ini.ReadBool(Section, QStringLiteral("SameUpdDateTime"), true);
}

void TAddressCopySettings::Write(TMemIniFile& ini) const
{
    ini.WriteInteger(Section, QStringLiteral("DataSelect"), DataSelect);
    ini.WriteInteger(Section, QStringLiteral("BeginPos"), BeginPos);
    ini.WriteInteger(Section, QStringLiteral("EndPos"), EndPos);
    ini.WriteBool(Section, QStringLiteral("Tel"), Tel);
    ini.WriteBool(Section, QStringLiteral("Fax"), Fax);
    ini.WriteBool(Section, QStringLiteral("Portable1"), Portable1);
    ini.WriteBool(Section, QStringLiteral("Portable2"), Portable2);
    ini.WriteInteger(Section, QStringLiteral("BothType"), BothType);
    ini.WriteInteger(Section, QStringLiteral("SameNumCheck"), SameNumCheck);
    ini.WriteInteger(Section, QStringLiteral("SameCustomCheck"), SameCustomCheck);
    ini.WriteBool(Section, QStringLiteral("SameAddDateTime"), SameAddDateTime);
    ini.WriteBool(Section, QStringLiteral("SameUpdDateTime"), SameUpdDateTime);
}

int TAddressCopySettings::NumberBoxCount() const
{
    return int(Tel) + int(Fax) + int(Portable1) + int(Portable2);
}

QString AddressCopySummary(const TAddressCopyCounts& counts)
{
    QString text = QStringLiteral("アドレス帳のコピーが完了しました  \r\n\r\n") +
                   CountLine("対象件数", counts.DataCount) + QStringLiteral("\r\n") +
                   CountLine("登録件数", counts.Added);
    if (counts.Overwritten > 0)
        text += QStringLiteral("\r\n") + CountLine("上書き件数", counts.Overwritten);
    if (counts.Skipped > 0)
        text += QStringLiteral("\r\n") + CountLine("未処理件数", counts.Skipped);
    if (counts.Failed > 0)
        text += QStringLiteral("\r\n") + CountLine("コピー失敗件数", counts.Failed);
    return text;
}

int AddressCopyDataCount(const TAddressCopySettings& settings, const TAddressListRows& rows)
{
    switch (settings.DataSelect) {
    case 0:
        return rows.GetSelectedCount();
    case 1:
        return settings.BeginPos <= 0 ? 0 : std::max(0, settings.EndPos - settings.BeginPos + 1);
    default:
        return rows.GetRecordCount();
    }
}

QList<int> AddressCopyIndexes(const TAddressCopySettings& settings, const TAddressListRows& rows)
{
    QList<int> indexes;
    switch (settings.DataSelect) {
    case 0: {
        const int first = rows.GetFirstSelectedIndex();
        const int last = rows.GetLastSelectedIndex();
        if (first < 0)
            break;
        for (int i = first; i <= last; ++i)
            if (rows.IsSelected(i))
                indexes.append(i);
        break;
    }
    case 1:
        if (settings.BeginPos > 0)
            for (int i = settings.BeginPos - 1; i <= settings.EndPos - 1; ++i)
                indexes.append(i);
        break;
    default:
        for (int i = 0; i < rows.GetRecordCount(); ++i)
            indexes.append(i);
        break;
    }
    return indexes;
}

// ---- the copy job ---------------------------------------------------------------------------------------

TAddressCopyJob::TAddressCopyJob(Table& source, Table& target, const TAddressCopySettings& settings,
                                 QWidget* messageOwner)
    : m_source(source), m_target(target), m_settings(settings), m_messageOwner(messageOwner)
{
    for (const char* name : CopiedFields)
        m_fields.emplace_back(RequireField(source, name), RequireField(target, name));
    m_srcAdd = RequireField(source, "AddDateTime");
    m_dstAdd = RequireField(target, "AddDateTime");
    m_srcUpd = RequireField(source, "UpdDateTime");
    m_dstUpd = RequireField(target, "UpdDateTime");
    m_srcCustomCode = RequireField(source, "CustomCode");
    for (int i = 0; i < 4; ++i)
        m_srcNumbers[i] = RequireField(source, NumberFields[i]);
}

void TAddressCopyJob::CopyRecords(const TAddressListRows& rows)
{
    const QList<int> indexes = AddressCopyIndexes(m_settings, rows);
    m_counts = {};
    m_counts.DataCount = int(indexes.size());
    m_limitShown = false;
    m_batching = BatchSize > 1;
    m_inBatch = false;
    m_batchRecNos.clear();
    m_targetCount = m_target.recordCount();

    std::optional<TPrimaryOrder> order;
    try {
        order.emplace(m_source);
    } catch (const std::exception&) {
        m_counts.Failed = m_counts.DataCount;
        return;
    }

    int done = 0;
    for (const int index : indexes) {
        if (m_batching && !m_inBatch && !BeginBatch())
            m_batching = false;
        const int recNo = rows.GetRecNo(index);
        const TCopyResult result = CopyRecNo(recNo);
        if (result == TCopyResult::Limit) {
            m_counts.LimitReached = true;
            break;
        }
        Count(result);
        if (m_inBatch) {
            m_batchRecNos.append(recNo);
            // An engine that gave up the transaction kept nothing of the batch.
            if (!m_target.inTransaction())
                ReplayBatch();
            else if (m_batchRecNos.size() >= BatchSize && !CommitBatch())
                ReplayBatch();
        }
        if (m_counts.LimitReached)
            break;
        if (OnProgress)
            OnProgress(++done);
    }
    if (m_inBatch && !CommitBatch())
        ReplayBatch();
}

bool TAddressCopyJob::BeginBatch()
{
    try {
        m_target.startTransaction();
    } catch (const std::exception&) {
        return false;
    }
    m_inBatch = true;
    m_batchRecNos.clear();
    m_batchStartCounts = m_counts;
    m_batchStartTargetCount = m_targetCount;
    return true;
}

bool TAddressCopyJob::CommitBatch()
{
    m_inBatch = false;
    try {
        m_target.commit();
        m_batchRecNos.clear();
        return true;
    } catch (const std::exception&) {
        try {
            if (m_target.inTransaction())
                m_target.rollback();
        } catch (const std::exception&) {
        }
        return false;
    }
}

// The batch's writes are gone: its rows are written again one by one, each committed on its own, and the
// rest of the copy goes on that way.
void TAddressCopyJob::ReplayBatch()
{
    m_inBatch = false;
    m_batching = false;
    try {
        if (m_target.inTransaction())
            m_target.rollback();
        else
            m_target.refresh();
    } catch (const std::exception&) {
    }
    const QList<int> recNos = m_batchRecNos;
    m_batchRecNos.clear();
    m_counts = m_batchStartCounts;
    m_targetCount = m_batchStartTargetCount;
    for (const int recNo : recNos) {
        const TCopyResult result = CopyRecNo(recNo);
        if (result == TCopyResult::Limit) {
            m_counts.LimitReached = true;
            return;
        }
        Count(result);
    }
}

void TAddressCopyJob::Count(TCopyResult result)
{
    switch (result) {
    case TCopyResult::Added:
        ++m_counts.Added;
        break;
    case TCopyResult::Overwritten:
        ++m_counts.Overwritten;
        break;
    case TCopyResult::Skipped:
        ++m_counts.Skipped;
        break;
    case TCopyResult::Failed:
        ++m_counts.Failed;
        break;
    case TCopyResult::Limit:
        break;
    }
}

TCopyResult TAddressCopyJob::CopyRecNo(int recNo)
{
    if (recNo < 0)
        return TCopyResult::Failed;
    try {
        if (!m_source.findKey({recNo}))
            return TCopyResult::Failed; // deleted since the list was read
    } catch (const std::exception&) {
        return TCopyResult::Failed;
    }
    return CopyRecord();
}

TCopyResult TAddressCopyJob::CopyRecord()
{
    if (m_targetCount >= MaxAdrsRecordCount) {
        if (!m_limitShown)
            MessageBoxPos(m_messageOwner,
                          QStringLiteral("最大登録件数10万件に達しました  \r\nこれ以上登録できません  "),
                          ProductTitle, MsgSeam::MbIconInformation);
        m_limitShown = true;
        return TCopyResult::Limit;
    }
    try {
        if (m_settings.NumberBoxCount() > 0 && m_settings.SameNumCheck == 1) {
            const bool same = m_settings.BothType == 1 ? FindSameNumberAny() : FindSameNumbersAll();
            if (same)
                return TCopyResult::Skipped;
        }
        bool overwrite = false;
        const AnsiString code = m_source.field(m_srcCustomCode).asAnsi();
        if (!code.isEmpty() && m_target.locate({QStringLiteral("CustomCode")}, {code})) {
            if (m_settings.SameCustomCheck == 1)
                return TCopyResult::Skipped;
            m_target.edit();
            overwrite = true;
        } else {
            m_target.append();
        }
        CopyFields();
        SetDateStamps();
        if (BeforePost)
            BeforePost();
        m_target.post();
        if (overwrite)
            return TCopyResult::Overwritten;
        ++m_targetCount;
        return TCopyResult::Added;
    } catch (const std::exception&) {
        try {
            m_target.cancel();
        } catch (const std::exception&) {
        }
        return TCopyResult::Failed;
    }
}

void TAddressCopyJob::CopyFields()
{
    for (const auto& [from, to] : m_fields) {
        const TableField src = m_source.field(from);
        TableField dst = m_target.field(to);
        switch (src.type()) {
        case FieldType::LongInt:
        case FieldType::AutoInc:
            dst.setInteger(src.asInteger());
            break;
        case FieldType::Logical:
            dst.setBoolean(src.asBoolean());
            break;
        case FieldType::Timestamp:
            if (src.isNull())
                dst.clear();
            else
                dst.setDateTime(src.asDateTime());
            break;
        default:
            dst.setAnsi(src.asAnsi());
            break;
        }
    }
}

void TAddressCopyJob::SetDateStamps()
{
    const QDateTime now = Now ? Now() : QDateTime::currentDateTime();
    const auto copyStamp = [this](int from, int to) {
        const TableField src = m_source.field(from);
        if (src.isNull())
            m_target.field(to).clear();
        else
            m_target.field(to).setDateTime(src.asDateTime());
    };
    if (m_settings.SameAddDateTime) {
        copyStamp(m_srcAdd, m_dstAdd);
        if (m_settings.SameUpdDateTime)
            copyStamp(m_srcUpd, m_dstUpd);
        else
            m_target.field(m_dstUpd).setDateTime(now);
    } else {
        m_target.field(m_dstAdd).setDateTime(TruncateToSeconds(now));
        m_target.field(m_dstUpd).setDateTime(now);
    }
}

QList<TAddressCopyJob::TNumberItem> TAddressCopyJob::CheckedNumbers()
{
    const bool checked[4] = {m_settings.Tel, m_settings.Fax, m_settings.Portable1, m_settings.Portable2};
    QList<TNumberItem> items;
    for (int i = 0; i < 4; ++i)
        if (checked[i] && !m_source.field(m_srcNumbers[i]).asAnsi().isEmpty())
            items.append({m_srcNumbers[i], QLatin1String(NumberFields[i])});
    return items;
}

// Each checked number with a value is looked for on its own; any hit is a match.
bool TAddressCopyJob::FindSameNumberAny()
{
    for (const TNumberItem& item : CheckedNumbers())
        if (m_target.locate({item.name}, {m_source.field(item.sourceField).asAnsi()}))
            return true;
    return false;
}

// One target row must hold every checked number that has a value; numbers left empty take no part.
bool TAddressCopyJob::FindSameNumbersAll()
{
    const QList<TNumberItem> items = CheckedNumbers();
    if (items.isEmpty())
        return false;
    QStringList fields;
    QVariantList values;
    for (const TNumberItem& item : items) {
        fields.append(item.name);
        values.append(m_source.field(item.sourceField).asAnsi());
    }
    return m_target.locate(fields, values);
}

// ---- the window -----------------------------------------------------------------------------------------

namespace {

bool DigitsOnly(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

} // namespace

TAddressCopy::TAddressCopy(QWidget* owner, TAddressListRows& rows) : QWidget(owner, Qt::Window), m_rows(rows)
{
    setObjectName(QStringLiteral("AddressCopy"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("他のアドレス帳にコピー"));
    SetHelpContext(this, HelpTopic);
    BuildWindow();

    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    TAddressCopySettings settings;
    settings.Read(ini);
    FillTargets();
    InitRange(settings.BeginPos, settings.EndPos);
    ApplySettings(settings);
    UpdateControls();
    UpdateDataCount();

    adjustSize();
    if (ini.ValueExists(Section, QStringLiteral("Left")) && ini.ValueExists(Section, QStringLiteral("Top")))
        move(ScaleByDpi(ini.ReadInteger(Section, QStringLiteral("Left"), 0), 1),
             ScaleByDpi(ini.ReadInteger(Section, QStringLiteral("Top"), 0), 1));
    else
        CenterForm(this, nullptr);
}

TAddressCopy::~TAddressCopy()
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteInteger(Section, QStringLiteral("Left"), ScaleByDpi(x(), 0));
    ini.WriteInteger(Section, QStringLiteral("Top"), ScaleByDpi(y(), 0));
    ini.UpdateFile();
}

void TAddressCopy::BuildWindow()
{
    auto* root = new QVBoxLayout(this);
    root->setSizeConstraint(QLayout::SetFixedSize);
    auto* enter = new TEnterMovesFocus(this);

    auto* grpTarget = Named<QGroupBox>(this, "grpTarget", QStringLiteral("コピー先のアドレス帳"));
    {
        auto* box = new QVBoxLayout(grpTarget);
        m_lvAdrs = Named<QListWidget>(grpTarget, "lvAdrs");
        m_lvAdrs->setSelectionMode(QAbstractItemView::SingleSelection);
        m_lvAdrs->setMinimumSize(360, 110);
        m_lvAdrs->setMaximumHeight(110);
        box->addWidget(m_lvAdrs);
    }
    root->addWidget(grpTarget);

    auto* grpData = Named<QGroupBox>(this, "grpData", QStringLiteral("コピーするデータ"));
    {
        auto* box = new QVBoxLayout(grpData);
        m_rbtnSelectData =
            Named<QRadioButton>(grpData, "rbtnSelectData", QStringLiteral("一覧で選択したデータ"));
        m_rbtnRangeData = Named<QRadioButton>(grpData, "rbtnRangeData", QStringLiteral("数値で範囲を指定"));
        m_rbtnAllData =
            Named<QRadioButton>(grpData, "rbtnAllData", QStringLiteral("一覧に表示されているすべてのデータ"));
        box->addWidget(m_rbtnSelectData);
        box->addWidget(m_rbtnRangeData);

        auto* range = new QHBoxLayout;
        range->setContentsMargins(20, 0, 0, 0);
        const auto rangeEdit = [&](const char* labelName, const QString& caption, const char* editName,
                                   const char* upName, const char* downName, QLabel*& label, QLineEdit*& edit,
                                   QToolButton*& up, QToolButton*& down) {
            label = Named<QLabel>(grpData, labelName, caption);
            edit = Named<QLineEdit>(grpData, editName);
            edit->setMaxLength(6);
            edit->setFixedWidth(64);
            edit->setAlignment(Qt::AlignRight);
            edit->setAttribute(Qt::WA_InputMethodEnabled, false);
            edit->installEventFilter(this);
            up = ArrowButton(grpData, upName, Qt::UpArrow);
            down = ArrowButton(grpData, downName, Qt::DownArrow);
            auto* arrows = new QVBoxLayout;
            arrows->setSpacing(0);
            arrows->addWidget(up);
            arrows->addWidget(down);
            range->addWidget(label);
            range->addWidget(edit);
            range->addLayout(arrows);
        };
        rangeEdit("lblBeginPos", QStringLiteral("開始位置"), "edtBeginPos", "udBeginPosUp", "udBeginPosDown",
                  m_lblBeginPos, m_edtBeginPos, m_udBeginPosUp, m_udBeginPosDown);
        range->addSpacing(12);
        rangeEdit("lblEndPos", QStringLiteral("終了位置"), "edtEndPos", "udEndPosUp", "udEndPosDown",
                  m_lblEndPos, m_edtEndPos, m_udEndPosUp, m_udEndPosDown);
        range->addStretch();
        box->addLayout(range);
        box->addWidget(m_rbtnAllData);

        auto* count = new QHBoxLayout;
        count->addStretch();
        count->addWidget(new QLabel(QStringLiteral("コピーする件数："), grpData));
        m_lblDataCount = Named<QLabel>(grpData, "lblDataCount");
        m_lblDataCount->setMinimumWidth(80);
        m_lblDataCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        count->addWidget(m_lblDataCount);
        box->addLayout(count);
    }
    root->addWidget(grpData);

    auto* grpNumber = Named<QGroupBox>(this, "grpNumber", QStringLiteral("電話番号の重複チェック"));
    {
        auto* box = new QVBoxLayout(grpNumber);
        auto* boxes = new QHBoxLayout;
        m_chkTel = Named<QCheckBox>(grpNumber, "chkTel", QStringLiteral("電話番号"));
        m_chkFax = Named<QCheckBox>(grpNumber, "chkFax", QStringLiteral("FAX番号"));
        m_chkPortable1 = Named<QCheckBox>(grpNumber, "chkPortable1", QStringLiteral("携帯番号１"));
        m_chkPortable2 = Named<QCheckBox>(grpNumber, "chkPortable2", QStringLiteral("携帯番号２"));
        for (QCheckBox* check : {m_chkTel, m_chkFax, m_chkPortable1, m_chkPortable2})
            boxes->addWidget(check);
        boxes->addStretch();
        box->addLayout(boxes);

        auto* pnlBothType = Named<QWidget>(grpNumber, "pnlBothType");
        auto* both = new QHBoxLayout(pnlBothType);
        both->setContentsMargins(0, 0, 0, 0);
        m_rbtnBothAll = Named<QRadioButton>(pnlBothType, "rbtnBothAll", QStringLiteral("すべての項目が一致"));
        m_rbtnBothAny =
            Named<QRadioButton>(pnlBothType, "rbtnBothAny", QStringLiteral("いずれかの項目が一致"));
        both->addWidget(m_rbtnBothAll);
        both->addWidget(m_rbtnBothAny);
        both->addStretch();
        box->addWidget(pnlBothType);

        auto* pnlSameNum = Named<QWidget>(grpNumber, "pnlSameNum");
        auto* same = new QHBoxLayout(pnlSameNum);
        same->setContentsMargins(0, 0, 0, 0);
        same->addWidget(new QLabel(QStringLiteral("一致したデータは"), pnlSameNum));
        m_rbtnSameNumAdd =
            Named<QRadioButton>(pnlSameNum, "rbtnSameNumAdd", QStringLiteral("新規で登録する"));
        m_rbtnSameNumSkip = Named<QRadioButton>(pnlSameNum, "rbtnSameNumSkip", QStringLiteral("登録しない"));
        same->addWidget(m_rbtnSameNumAdd);
        same->addWidget(m_rbtnSameNumSkip);
        same->addStretch();
        box->addWidget(pnlSameNum);
    }
    root->addWidget(grpNumber);

    auto* grpCustom = Named<QGroupBox>(this, "grpCustom", QStringLiteral("同じ顧客コードのデータがある場合"));
    {
        auto* box = new QHBoxLayout(grpCustom);
        m_rbtnCustomOverwrite =
            Named<QRadioButton>(grpCustom, "rbtnCustomOverwrite", QStringLiteral("コピー先を上書きする"));
        m_rbtnCustomSkip = Named<QRadioButton>(grpCustom, "rbtnCustomSkip", QStringLiteral("コピーしない"));
        box->addWidget(m_rbtnCustomOverwrite);
        box->addWidget(m_rbtnCustomSkip);
        box->addStretch();
    }
    root->addWidget(grpCustom);

    auto* grpDate = Named<QGroupBox>(this, "grpDate", QStringLiteral("登録日時と更新日時"));
    {
        auto* box = new QVBoxLayout(grpDate);
        m_chkSameAddDateTime =
            Named<QCheckBox>(grpDate, "chkSameAddDateTime", QStringLiteral("コピー元の登録日時と同じにする"));
        m_chkSameUpdDateTime =
            Named<QCheckBox>(grpDate, "chkSameUpdDateTime", QStringLiteral("コピー元の更新日時と同じにする"));
        box->addWidget(m_chkSameAddDateTime);
        auto* upd = new QHBoxLayout;
        upd->setContentsMargins(20, 0, 0, 0);
        upd->addWidget(m_chkSameUpdDateTime);
        box->addLayout(upd);
    }
    root->addWidget(grpDate);

    m_pbCopy = Named<QProgressBar>(this, "pbCopy");
    m_pbCopy->setTextVisible(false);
    m_pbCopy->setValue(0);
    root->addWidget(m_pbCopy);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_btnCopy = Named<QPushButton>(this, "btnCopy", QStringLiteral("コピー"));
    m_btnCancel = Named<QPushButton>(this, "btnCancel", QStringLiteral("キャンセル"));
    m_btnCancel->setAutoDefault(false);
    buttons->addWidget(m_btnCopy);
    buttons->addWidget(m_btnCancel);
    root->addLayout(buttons);

    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
             m_rbtnSelectData, m_rbtnRangeData, m_rbtnAllData, m_chkTel, m_chkFax, m_chkPortable1,
             m_chkPortable2, m_rbtnBothAll, m_rbtnBothAny, m_rbtnSameNumAdd, m_rbtnSameNumSkip,
             m_rbtnCustomOverwrite, m_rbtnCustomSkip, m_chkSameAddDateTime, m_chkSameUpdDateTime}) {
        PaintCheckedBlue(button);
        if (button == m_rbtnSelectData)
            enter->addTarget(button, m_chkTel);
        else
            enter->addNext(button);
        connect(button, &QAbstractButton::toggled, this, [this] {
            UpdateControls();
            UpdateDataCount();
        });
    }

    connect(m_udBeginPosUp, &QToolButton::clicked, this, [this] { StepRange(m_edtBeginPos, 1); });
    connect(m_udBeginPosDown, &QToolButton::clicked, this, [this] { StepRange(m_edtBeginPos, -1); });
    connect(m_udEndPosUp, &QToolButton::clicked, this, [this] { StepRange(m_edtEndPos, 1); });
    connect(m_udEndPosDown, &QToolButton::clicked, this, [this] { StepRange(m_edtEndPos, -1); });
    connect(m_btnCopy, &QPushButton::clicked, this, [this] { Copy(); });
    connect(m_btnCancel, &QPushButton::clicked, this, &QWidget::close);
}

void TAddressCopy::FillTargets()
{
    m_lvAdrs->clear();
    for (const TAdrsFolderInfo& info : AdrsFolderList) {
        if (info.State == 1 || TMemIniFile::SameName(info.Name, CurrentAdrsName))
            continue;
        auto* item = new QListWidgetItem(info.Name, m_lvAdrs);
        item->setData(Qt::UserRole, info.Folder);
    }
    if (m_lvAdrs->count() > 0)
        m_lvAdrs->setCurrentRow(0);
}

void TAddressCopy::InitRange(int savedBegin, int savedEnd)
{
    const int count = m_rows.GetRecordCount();
    m_lowerBound = count > 0 ? 1 : 0;
    m_upperBound = count;
    m_beginPos = savedBegin <= 0 || savedBegin > count ? m_lowerBound : savedBegin;
    m_endPos = savedEnd <= 0 || savedEnd > count ? count : savedEnd;
    if (m_beginPos > m_endPos)
        m_beginPos = m_lowerBound;
    ShowRange();
}

void TAddressCopy::ApplySettings(const TAddressCopySettings& settings)
{
    QRadioButton* const data[] = {m_rbtnSelectData, m_rbtnRangeData, m_rbtnAllData};
    data[settings.DataSelect]->setChecked(true);
    m_chkTel->setChecked(settings.Tel);
    m_chkFax->setChecked(settings.Fax);
    m_chkPortable1->setChecked(settings.Portable1);
    m_chkPortable2->setChecked(settings.Portable2);
    (settings.BothType == 1 ? m_rbtnBothAny : m_rbtnBothAll)->setChecked(true);
    (settings.SameNumCheck == 1 ? m_rbtnSameNumSkip : m_rbtnSameNumAdd)->setChecked(true);
    (settings.SameCustomCheck == 0 ? m_rbtnCustomOverwrite : m_rbtnCustomSkip)->setChecked(true);
    m_chkSameAddDateTime->setChecked(settings.SameAddDateTime);
    m_chkSameUpdDateTime->setChecked(settings.SameUpdDateTime);
}

TAddressCopySettings TAddressCopy::Settings() const
{
    TAddressCopySettings s;
    s.DataSelect = m_rbtnRangeData->isChecked() ? 1 : (m_rbtnAllData->isChecked() ? 2 : 0);
    s.BeginPos = m_beginPos;
    s.EndPos = m_endPos;
    s.Tel = m_chkTel->isChecked();
    s.Fax = m_chkFax->isChecked();
    s.Portable1 = m_chkPortable1->isChecked();
    s.Portable2 = m_chkPortable2->isChecked();
    s.BothType = m_rbtnBothAny->isChecked() ? 1 : 0;
    s.SameNumCheck = m_rbtnSameNumSkip->isChecked() ? 1 : 0;
    s.SameCustomCheck = m_rbtnCustomOverwrite->isChecked() ? 0 : 1;
    s.SameAddDateTime = m_chkSameAddDateTime->isChecked();
    s.SameUpdDateTime = m_chkSameUpdDateTime->isChecked();
    return s;
}

void TAddressCopy::UpdateControls()
{
    const bool range = m_rbtnRangeData->isChecked();
    SetEditEnabled(m_edtBeginPos, range);
    SetEditEnabled(m_edtEndPos, range);
    for (QWidget* w : std::initializer_list<QWidget*>{m_lblBeginPos, m_lblEndPos, m_udBeginPosUp,
                                                      m_udBeginPosDown, m_udEndPosUp, m_udEndPosDown})
        w->setEnabled(range);

    const int boxes = Settings().NumberBoxCount();
    m_rbtnBothAll->setEnabled(boxes >= 2);
    m_rbtnBothAny->setEnabled(boxes >= 2);
    m_rbtnSameNumAdd->setEnabled(boxes >= 1);
    m_rbtnSameNumSkip->setEnabled(boxes >= 1);
    m_chkSameUpdDateTime->setEnabled(m_chkSameAddDateTime->isChecked());
}

void TAddressCopy::UpdateDataCount()
{
    m_dataCount = AddressCopyDataCount(Settings(), m_rows);
    m_lblDataCount->setText(QString::number(m_dataCount) + QStringLiteral(" 件"));
    m_btnCopy->setEnabled(m_dataCount > 0);
}

void TAddressCopy::UpdateDataRange()
{
    const int count = m_rows.GetRecordCount();
    if (count != m_upperBound) {
        m_lowerBound = count > 0 ? 1 : 0;
        m_upperBound = count;
        m_beginPos = m_lowerBound;
        m_endPos = count;
        m_enteredBegin = m_beginPos;
        m_enteredEnd = m_endPos;
        ShowRange();
    }
    UpdateDataCount();
}

void TAddressCopy::ShowRange()
{
    m_edtBeginPos->setText(QString::number(m_beginPos));
    m_edtEndPos->setText(QString::number(m_endPos));
}

void TAddressCopy::SetBeginPos(int value)
{
    m_beginPos = value;
    if (m_beginPos > m_endPos)
        m_endPos = m_beginPos;
    ShowRange();
    UpdateDataCount();
}

void TAddressCopy::SetEndPos(int value)
{
    m_endPos = value;
    if (m_endPos < m_beginPos)
        m_beginPos = m_endPos;
    ShowRange();
    UpdateDataCount();
}

int TAddressCopy::RangeValue(QLineEdit* edit) const
{
    return edit == m_edtBeginPos ? m_beginPos : m_endPos;
}

// Takes a valid value from the edit, or puts back the one it had when it was entered; true when the
// value changed.
bool TAddressCopy::ApplyRangeEdit(QLineEdit* edit)
{
    const bool begin = edit == m_edtBeginPos;
    int& entered = begin ? m_enteredBegin : m_enteredEnd;
    const QString text = edit->text().trimmed();
    bool ok = DigitsOnly(text);
    const int value = ok ? text.toInt(&ok) : 0;
    if (!ok || value < m_lowerBound || value > m_upperBound) {
        const int restored = std::clamp(entered, m_lowerBound, m_upperBound);
        begin ? SetBeginPos(restored) : SetEndPos(restored);
        return false;
    }
    const bool changed = value != RangeValue(edit);
    begin ? SetBeginPos(value) : SetEndPos(value);
    entered = value;
    edit->selectAll();
    return changed;
}

void TAddressCopy::StepRange(QLineEdit* edit, int delta)
{
    const int value = std::clamp(RangeValue(edit) + delta, m_lowerBound, m_upperBound);
    edit == m_edtBeginPos ? SetBeginPos(value) : SetEndPos(value);
    if (edit->hasFocus())
        edit->selectAll();
}

bool TAddressCopy::eventFilter(QObject* watched, QEvent* event)
{
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit != m_edtBeginPos && edit != m_edtEndPos)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        (edit == m_edtBeginPos ? m_enteredBegin : m_enteredEnd) = RangeValue(edit);
        break;
    case QEvent::FocusOut:
        ApplyRangeEdit(edit);
        break;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Up:
            StepRange(edit, 1);
            return true;
        case Qt::Key_PageUp:
            StepRange(edit, 10);
            return true;
        case Qt::Key_Down:
            StepRange(edit, -1);
            return true;
        case Qt::Key_PageDown:
            StepRange(edit, -10);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!ApplyRangeEdit(edit))
                if (QWidget* next = TEnterMovesFocus::nextInTabOrder(edit))
                    TEnterMovesFocus::focusWithCaretAtEnd(next);
            return true;
        default:
            break;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

QString TAddressCopy::TargetFolder() const
{
    const QListWidgetItem* item = m_lvAdrs->currentItem();
    if (!item || !item->isSelected())
        return QString();
    for (const TAdrsFolderInfo& info : AdrsFolderList)
        if (info.State != 1 && TMemIniFile::SameName(info.Name, item->text()))
            return info.Folder;
    return item->data(Qt::UserRole).toString();
}

void TAddressCopy::Copy()
{
    const QString folder = TargetFolder();
    if (folder.isEmpty()) {
        MessageBoxPos(this, QStringLiteral("コピー先のアドレス帳を選択してください  "), ProductTitle,
                      MsgSeam::MbIconInformation);
        m_lvAdrs->setFocus();
        return;
    }
    if (MessageBoxPos(
            this,
            QStringLiteral(
                "アドレス帳のデータを、指定した他のアドレス帳にコピーします  \r\nよろしいですか？  "),
            ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) != MsgSeam::IdYes)
        return;
    const TAddressCopySettings settings = Settings();
    if (settings.SameCustomCheck == 0 &&
        MessageBoxPos(this,
                      QStringLiteral("コピー先のアドレス帳に、同じ顧客コードのデータが見つかった場合に  \r\n"
                                     "そのデータを上書きしてしまう設定ですが、よろしいですか？  "),
                      ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconExclamation | MsgSeam::MbDefButton2) !=
            MsgSeam::IdYes)
        return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const struct TCursorBack
    {
        ~TCursorBack() { QApplication::restoreOverrideCursor(); }
    } cursorBack;
    m_pbCopy->setRange(0, std::max(1, m_dataCount));
    m_pbCopy->setValue(0);
    m_pbCopy->repaint();

    Table* source = DMQuenrid215 ? DMQuenrid215->AdrsTable() : nullptr;
    if (!source || !source->active() || !DMQuenrid215->OpenAdrsExclusive(folder))
        return;
    TAddressCopyCounts counts;
    counts.DataCount = m_dataCount;
    try {
        TAddressCopyJob job(*source, *DMQuenrid215->AdrsExclusiveTable(), settings, this);
        const int step = std::max(1, m_dataCount / 200);
        job.OnProgress = [this, step](int done) {
            if (done % step == 0 || done == m_dataCount) {
                m_pbCopy->setValue(done);
                m_pbCopy->repaint();
            }
        };
        job.CopyRecords(m_rows);
        counts = job.Counts();
    } catch (const std::exception&) {
        counts.Failed = counts.DataCount;
    }
    DMQuenrid215->CloseAdrsExclusive();

    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    settings.Write(ini);
    ini.UpdateFile();

    MessageBoxPos(this, AddressCopySummary(counts), ProductTitle, MsgSeam::MbIconInformation);
    close();
}

void TAddressCopyObserver::UpdateDataRange()
{
    if (AddressCopy)
        AddressCopy->UpdateDataRange();
}

TAddressCopy* ShowAddressCopy(QWidget* owner, TAddressListRows& rows)
{
    if (AddressCopy) {
        if (AddressCopy->isMinimized())
            AddressCopy->showNormal();
        else
            AddressCopy->show();
        AddressCopy->raise();
        AddressCopy->activateWindow();
        return AddressCopy;
    }
    AddressCopy = new TAddressCopy(owner, rows);
    AddressCopy->show();
    return AddressCopy;
}
