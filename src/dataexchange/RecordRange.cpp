// The record range of the output windows and its group of controls.
#include "dataexchange/RecordRange.h"

#include "addressbook/Inquiry.h"
#include "core/DialogSub.h"
#include "platform/IniFile.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

// ---- the range ----

void TRecordRange::ReadSettings(const TMemIniFile& ini, const QString& section)
{
    DataSelect = ini.ReadInteger(section, QStringLiteral("DataSelect"), dsList);
    if (DataSelect < dsList || DataSelect > dsAll)
        DataSelect = dsList;
    BeginPos = ini.ReadInteger(section, QStringLiteral("BeginPos"), 0);
    EndPos = ini.ReadInteger(section, QStringLiteral("EndPos"), 0);
}

void TRecordRange::WriteSettings(TMemIniFile& ini, const QString& section) const
{
    ini.WriteInteger(section, QStringLiteral("DataSelect"), std::max(DataSelect, 0));
    ini.WriteInteger(section, QStringLiteral("BeginPos"), BeginPos);
    ini.WriteInteger(section, QStringLiteral("EndPos"), EndPos);
}

void TRecordRange::Fit(int shownCount)
{
    BeginMin = EndMin = shownCount > 0 ? 1 : 0;
    BeginMax = EndMax = shownCount;
    if (BeginPos < 1 || BeginPos > EndMax)
        BeginPos = BeginMin;
    if (EndPos < 1 || EndPos > EndMax)
        EndPos = EndMax;
    if (EndPos < BeginPos)
        BeginPos = BeginMin;
}

void TRecordRange::SetBegin(int value)
{
    BeginPos = value;
    if (EndPos < BeginPos)
        EndPos = BeginPos;
}

void TRecordRange::SetEnd(int value)
{
    EndPos = value;
    if (EndPos < BeginPos)
        BeginPos = EndPos;
}

bool TRecordRange::StepBegin(int delta)
{
    const int value = std::clamp(BeginPos + delta, BeginMin, BeginMax);
    if (value == BeginPos)
        return false;
    SetBegin(value);
    return true;
}

bool TRecordRange::StepEnd(int delta)
{
    const int value = std::clamp(EndPos + delta, EndMin, EndMax);
    if (value == EndPos)
        return false;
    SetEnd(value);
    return true;
}

namespace {

// The value of a text of single-byte digits within min..max.
std::optional<int> RangeText(const QString& text, int min, int max)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > 9 || !std::all_of(trimmed.begin(), trimmed.end(), [](QChar c) {
            return c >= QLatin1Char('0') && c <= QLatin1Char('9');
        }))
        return std::nullopt;
    const int value = trimmed.toInt();
    if (value < min || value > max)
        return std::nullopt;
    return value;
}

} // namespace

bool TRecordRange::TakeBeginText(const QString& text)
{
    const std::optional<int> value = RangeText(text, BeginMin, BeginMax);
    if (!value)
        return false;
    if (*value != BeginOnEnter)
        SetBegin(*value);
    return true;
}

bool TRecordRange::TakeEndText(const QString& text)
{
    const std::optional<int> value = RangeText(text, EndMin, EndMax);
    if (!value)
        return false;
    if (*value != EndOnEnter)
        SetEnd(*value);
    return true;
}

void TRecordRange::ListChanged(int shownCount)
{
    if (shownCount == EndMax)
        return;
    BeginMin = EndMin = shownCount > 0 ? 1 : 0;
    BeginMax = EndMax = shownCount;
    BeginPos = BeginMin;
    EndPos = EndMax;
}

int TRecordRange::Count(const TAddressListRows& rows) const
{
    switch (DataSelect) {
    case dsList:
        return rows.GetSelectedCount();
    case dsRange:
        return BeginPos == 0 ? 0 : EndPos - BeginPos + 1;
    case dsAll:
        return rows.GetRecordCount();
    default:
        return 0;
    }
}

int WalkRecordRange(const TRecordRange& range, const TAddressListRows& rows, TAdrsTableCursor& cursor,
                    const std::function<bool()>& visit)
{
    int first = 0;
    int last = -1;
    switch (range.DataSelect) {
    case dsList:
        first = rows.GetFirstSelectedIndex();
        last = rows.GetLastSelectedIndex();
        break;
    case dsRange:
        first = range.BeginPos - 1;
        last = range.EndPos - 1;
        break;
    case dsAll:
        last = rows.GetRecordCount() - 1;
        break;
    default:
        break;
    }
    int visited = 0;
    for (int index = std::max(first, 0); index <= last; ++index) {
        if (range.DataSelect == dsList && !rows.IsSelected(index))
            continue;
        const int recNo = rows.GetRecNo(index);
        if (recNo < 0 || !cursor.FindRecNo(recNo))
            continue;
        ++visited;
        if (!visit())
            break;
    }
    return visited;
}

// ---- the group of controls ----

TRecordRangeGroup::TRecordRangeGroup(QWidget* parent, const QString& title, const QString& countTitle)
    : QGroupBox(title, parent)
{
    setObjectName(QStringLiteral("grpSelect"));
    auto* root = new QVBoxLayout(this);
    auto* pnlSelect = Named<QWidget>(this, "pnlSelect");
    auto* choices = new QVBoxLayout(pnlSelect);
    choices->setContentsMargins(0, 0, 0, 0);
    m_rbList = Named<QRadioButton>(pnlSelect, "rbList", QStringLiteral("一覧で選択したデータ"));
    m_rbRange = Named<QRadioButton>(pnlSelect, "rbRange", QStringLiteral("数値で範囲を指定"));
    m_rbAll = Named<QRadioButton>(pnlSelect, "rbAll", QStringLiteral("一覧に表示されているすべてのデータ"));
    choices->addWidget(m_rbList);
    choices->addWidget(m_rbRange);

    auto* range = new QHBoxLayout;
    range->setContentsMargins(20, 0, 0, 0);
    const auto rangeEdit = [&](const char* editName, const char* udName, const char* labelName,
                               const QString& caption, QLineEdit*& edit, QWidget*& ud, QLabel*& label) {
        edit = Named<QLineEdit>(pnlSelect, editName);
        edit->setMaxLength(6);
        edit->setFixedWidth(64);
        edit->setAlignment(Qt::AlignRight);
        SetImeMode(edit, imClose);
        edit->installEventFilter(this);
        ud = Named<QWidget>(pnlSelect, udName);
        auto* arrows = new QVBoxLayout(ud);
        arrows->setContentsMargins(0, 0, 0, 0);
        arrows->setSpacing(0);
        QToolButton* up = ArrowButton(ud, "btnUp", Qt::UpArrow);
        QToolButton* down = ArrowButton(ud, "btnDown", Qt::DownArrow);
        arrows->addWidget(up);
        arrows->addWidget(down);
        const bool begin = edit == m_edtRangeBegin;
        const auto step = [this, begin](int delta) {
            if (m_range.DataSelect != dsRange)
                return;
            if (begin ? m_range.StepBegin(delta) : m_range.StepEnd(delta)) {
                ShowRange();
                UpdateTargetCount();
            }
        };
        connect(up, &QToolButton::clicked, this, [step] { step(1); });
        connect(down, &QToolButton::clicked, this, [step] { step(-1); });
        label = Named<QLabel>(pnlSelect, labelName, caption);
        range->addWidget(edit);
        range->addWidget(ud);
        range->addWidget(label);
    };
    rangeEdit("edtRangeBegin", "udRangeBegin", "lblRangeBegin", QStringLiteral("件目 ～"), m_edtRangeBegin,
              m_udRangeBegin, m_lblRangeBegin);
    rangeEdit("edtRangeEnd", "udRangeEnd", "lblRangeEnd", QStringLiteral("件目"), m_edtRangeEnd, m_udRangeEnd,
              m_lblRangeEnd);
    range->addStretch();
    choices->addLayout(range);
    choices->addWidget(m_rbAll);
    root->addWidget(pnlSelect);

    auto* count = new QHBoxLayout;
    count->addStretch();
    count->addWidget(Named<QLabel>(this, "lblDataCountTitle", countTitle));
    m_lblDataCount = Named<QLabel>(this, "lblDataCount", QStringLiteral("000000 件"));
    count->addWidget(m_lblDataCount);
    root->addLayout(count);

    int tag = dsList;
    for (QRadioButton* rb : {m_rbList, m_rbRange, m_rbAll}) {
        PaintCheckedBlue(rb);
        connect(rb, &QRadioButton::toggled, this, [this, tag](bool on) {
            if (on)
                ChooseDataSelect(tag);
        });
        ++tag;
    }
    auto* enter = new TEnterMovesFocus(this);
    enter->addNext(m_rbRange);
    enter->addNext(m_rbAll);
}

void TRecordRangeGroup::InitDataRange(const TRecordRange& stored, const TAddressListRows& rows)
{
    m_rows = &rows;
    m_range = stored;
    m_range.TargetCount = 0;
    m_range.Fit(rows.GetRecordCount());
    ShowRange();
    EnableRangeControls(false);
    const int choice = std::clamp(stored.DataSelect, int(dsList), int(dsAll));
    m_range.DataSelect = -1;
    QRadioButton* button = choice == dsRange ? m_rbRange : (choice == dsAll ? m_rbAll : m_rbList);
    if (button->isChecked())
        ChooseDataSelect(choice);
    else
        button->setChecked(true);
}

void TRecordRangeGroup::UpdateDataRange()
{
    if (!m_rows)
        return;
    const int before = m_range.EndMax;
    m_range.ListChanged(m_rows->GetRecordCount());
    if (m_range.EndMax != before)
        ShowRange();
    UpdateTargetCount();
}

void TRecordRangeGroup::ChooseDataSelect(int choice)
{
    if (choice == m_range.DataSelect)
        return;
    if (m_range.DataSelect == dsRange)
        EnableRangeControls(false);
    m_range.DataSelect = choice;
    if (choice == dsRange)
        EnableRangeControls(true);
    UpdateTargetCount();
}

void TRecordRangeGroup::EnableRangeControls(bool on)
{
    SetEditEnabled(m_edtRangeBegin, on);
    SetEditEnabled(m_edtRangeEnd, on);
    for (QWidget* w : {m_udRangeBegin, m_udRangeEnd, static_cast<QWidget*>(m_lblRangeBegin),
                       static_cast<QWidget*>(m_lblRangeEnd)})
        w->setEnabled(on);
}

void TRecordRangeGroup::ShowRange()
{
    m_edtRangeBegin->setText(QString::number(m_range.BeginPos));
    m_edtRangeEnd->setText(QString::number(m_range.EndPos));
}

void TRecordRangeGroup::UpdateTargetCount()
{
    m_range.TargetCount = m_rows ? m_range.Count(*m_rows) : 0;
    m_lblDataCount->setText(QString::number(m_range.TargetCount) + QStringLiteral(" 件"));
    emit targetCountChanged(m_range.TargetCount);
}

// The leave step of a range edit; true when its position changed.
bool TRecordRangeGroup::LeaveEdit(QLineEdit* edit)
{
    const bool begin = edit == m_edtRangeBegin;
    const int before = begin ? m_range.BeginPos : m_range.EndPos;
    const bool taken = begin ? m_range.TakeBeginText(edit->text()) : m_range.TakeEndText(edit->text());
    if (!taken) {
        edit->setText(QString::number(begin ? m_range.BeginOnEnter : m_range.EndOnEnter));
        return false;
    }
    const int after = begin ? m_range.BeginPos : m_range.EndPos;
    if (after == before)
        return false;
    edit->selectAll();
    ShowRange();
    if (m_range.DataSelect == dsRange)
        UpdateTargetCount();
    return true;
}

bool TRecordRangeGroup::eventFilter(QObject* watched, QEvent* event)
{
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit != m_edtRangeBegin && edit != m_edtRangeEnd)
        return QGroupBox::eventFilter(watched, event);
    const bool begin = edit == m_edtRangeBegin;
    switch (event->type()) {
    case QEvent::FocusIn:
        (begin ? m_range.BeginOnEnter : m_range.EndOnEnter) = begin ? m_range.BeginPos : m_range.EndPos;
        break;
    case QEvent::FocusOut:
        LeaveEdit(edit);
        break;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        int delta = 0;
        switch (key) {
        case Qt::Key_Up:
            delta = 1;
            break;
        case Qt::Key_PageUp:
            delta = 10;
            break;
        case Qt::Key_Down:
            delta = -1;
            break;
        case Qt::Key_PageDown:
            delta = -10;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!LeaveEdit(edit))
                if (QWidget* next = TEnterMovesFocus::nextInTabOrder(edit))
                    TEnterMovesFocus::focusWithCaretAtEnd(next);
            return true;
        default:
            return QGroupBox::eventFilter(watched, event);
        }
        if (begin ? m_range.StepBegin(delta) : m_range.StepEnd(delta)) {
            ShowRange();
            UpdateTargetCount();
        }
        return true;
    }
    default:
        break;
    }
    return QGroupBox::eventFilter(watched, event);
}
