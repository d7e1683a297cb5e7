// Narrowing conditions: the row test and the byte codec of "Search.lst" and the saved patterns.
#include "addressbook/NarrowDown.h"

#include "platform/MessageSeam.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QSaveFile>

#include <string_view>

qint32 NarrowDownKindOfRow(int row)
{
    if (row < 0 || row >= int(NarrowDownItemTable.size()))
        return -1;
    switch (NarrowDownItemTable[row].inputKind) {
    case 0:
    case 1:
        return TNarrowDownItem::TextTest;
    case 2:
        return TNarrowDownItem::FixedChoice;
    case 3:
        return TNarrowDownItem::YearMonthRange;
    case 4:
        return TNarrowDownItem::Category;
    default:
        return -1;
    }
}

namespace {

// True when the walk over sub from its start ends exactly at its end (no dangling lead byte).
bool EndsOnBoundary(const AnsiString& sub)
{
    qsizetype pos = 0;
    while (pos < sub.size())
        pos += Cp932::isLeadByteValue(quint8(sub[pos])) ? 2 : 1;
    return pos == sub.size();
}

// sub occurs at byte pos of text, pos being a character boundary, and ends on a boundary of text.
bool OccursAt(const AnsiString& sub, const AnsiString& text, qsizetype pos, bool subWhole)
{
    if (pos + sub.size() > text.size())
        return false;
    if (std::memcmp(text.constData() + pos, sub.constData(), size_t(sub.size())) != 0)
        return false;
    // Equal bytes from a common boundary walk alike, so the end is a boundary when sub's own walk ends
    // whole, or when the text ends there as well.
    return subWhole || pos + sub.size() == text.size();
}

AnsiString FieldText(const TAdrsRow& row, const char* name)
{
    return TrimAnsiText(row.FieldBytes(name));
}

// The row's text for a text test, or nullopt when the row has no text to test.
std::optional<AnsiString> RowText(int item, const TAdrsRow& row, const TNarrowDownContext& context)
{
    static const char* const fields[] = {
        "CustomCode", "Tel",       "",         "Fax",      "",          "Portable1", "Portable2",
        "Pos",        "",          "",         "",         "CorpKanji", "Dptmnt",    "Post",
        "EmployeeNo", "NameKanji", "URL",      "EMail1",   "EMail2",    "Joint1",    "Joint2",
        "Joint3",     "Joint4",    "Joint5",   "Keyword1", "Keyword2",  "Keyword3",  "Keyword4",
        "Keyword5",   "Keyword6",  "Keyword7", "Keyword8", "Note"};
    static_assert(std::size(fields) == 33);
    if (item == 8) {
        return FieldText(row, "Tdfkn") + FieldText(row, "Adrs1") + FieldText(row, "Adrs2") +
               FieldText(row, "Adrs3");
    }
    if (item == 10) {
        if (!context.decipher)
            return std::nullopt;
        return context.decipher(row.FieldBytes("MyNumber"));
    }
    if (item < 0 || item >= int(std::size(fields)) || fields[item][0] == '\0')
        return std::nullopt;
    return FieldText(row, fields[item]);
}

bool TextTestMatches(const TNarrowDownItem& item, const TAdrsRow& row, const TNarrowDownContext& context)
{
    if (item.item == 10 && context.adminPasswordSet && !context.adminMode)
        return false;
    const std::optional<AnsiString> text = RowText(item.item, row, context);
    if (!text)
        return false;
    if (item.text.isEmpty())
        return text->isEmpty();
    switch (item.condition) {
    case TNarrowDownItem::BeginsWith:
        return OccursAt(item.text, *text, 0, EndsOnBoundary(item.text));
    case TNarrowDownItem::Contains:
        return AnsiPosAtBoundary(item.text, *text) >= 0;
    case TNarrowDownItem::EndsWith: {
        const qsizetype start = text->size() - item.text.size();
        if (start < 0 || Cp932::isTrailByteAt(*text, int(start)))
            return false;
        return OccursAt(item.text, *text, start, true);
    }
    default:
        return false;
    }
}

bool ChoiceMatches(const TNarrowDownItem& item, const TAdrsRow& row)
{
    switch (item.item) {
    case 2: {
        const bool main = row.FieldInt("TelDiv") == 3;
        return (main && item.value1 == 0) || (!main && item.value1 == 1);
    }
    case 9: {
        const bool priv = row.FieldBool("PrivCorp");
        return (priv && item.value1 == 0) || (!priv && item.value1 == 1);
    }
    case 33: {
        const AnsiString mark = SymbolMarkBytes(item.value1);
        return !mark.isEmpty() && row.FieldBytes("SymbolMark") == mark;
    }
    default:
        return false;
    }
}

bool YearMonthMatches(const TNarrowDownItem& item, const TAdrsRow& row)
{
    bool ok = false;
    const int yearMonth = FieldText(row, "PubDate").toInt(&ok);
    return ok && item.value1 <= yearMonth && yearMonth <= item.value2;
}

bool CategoryMatches(const TNarrowDownItem& item, const TAdrsRow& row)
{
    if (row.FieldInt("CodeMain") != item.value1 / 100)
        return false;
    return item.value1 % 100 == 0 || row.FieldInt("CodeSub") == item.value1 % 100;
}

} // namespace

qsizetype AnsiPosAtBoundary(const AnsiString& sub, const AnsiString& text)
{
    if (sub.isEmpty())
        return -1;
    const bool subWhole = EndsOnBoundary(sub);
    // Byte search finds candidates fast; a character walk that only moves forward tells whether a
    // candidate starts on a boundary.
    const std::string_view haystack(text.constData(), size_t(text.size()));
    const std::string_view needle(sub.constData(), size_t(sub.size()));
    qsizetype walk = 0;
    size_t from = 0;
    for (;;) {
        const size_t found = haystack.find(needle, from);
        if (found == std::string_view::npos)
            return -1;
        const qsizetype hit = qsizetype(found);
        while (walk < hit)
            walk += Cp932::isLeadByteValue(quint8(text[walk])) ? 2 : 1;
        if (walk == hit && OccursAt(sub, text, hit, subWhole))
            return hit;
        from = found + 1;
    }
}

namespace {

// An item the row test can evaluate: a known row, the kind of that row, a condition in range.
bool IsValidItem(const TNarrowDownItem& item)
{
    if (item.item < 0 || item.item >= int(NarrowDownItemTable.size()))
        return false;
    if (item.kind != NarrowDownKindOfRow(item.item))
        return false;
    if (item.condition < TNarrowDownItem::NotUsed || item.condition > TNarrowDownItem::EndsWith)
        return false;
    if (item.kind == TNarrowDownItem::TextTest && !item.text.isEmpty() &&
        item.condition == TNarrowDownItem::NotUsed)
        return false;
    return true;
}

} // namespace

bool NarrowDownItemMatches(const TNarrowDownItem& item, const TAdrsRow& row,
                           const TNarrowDownContext& context)
{
    // Items a file may hold that this program cannot evaluate never match.
    if (!IsValidItem(item))
        return false;
    switch (item.kind) {
    case TNarrowDownItem::TextTest:
        return TextTestMatches(item, row, context);
    case TNarrowDownItem::FixedChoice:
        return ChoiceMatches(item, row) != item.negate;
    case TNarrowDownItem::YearMonthRange:
        return YearMonthMatches(item, row);
    case TNarrowDownItem::Category:
        return CategoryMatches(item, row) != item.negate;
    default:
        return false;
    }
}

bool MatchesNarrowDown(const TNarrowDownCondition& condition, const TAdrsRow& row,
                       const TNarrowDownContext& context)
{
    if (condition.items.isEmpty() || context.disabled)
        return true;
    for (const TNarrowDownItem& item : condition.items) {
        const bool result = NarrowDownItemMatches(item, row, context);
        if (result != condition.andFlag)
            return result;
    }
    return condition.andFlag;
}

bool WriteNarrowDownCondition(QDataStream& out, const TNarrowDownCondition& condition)
{
    // Any item that was read is written back as it was; only what the byte layout cannot hold is refused.
    if (condition.items.size() > 255)
        return false;
    for (const TNarrowDownItem& item : condition.items) {
        if (item.item < 0 || item.item > 255 || item.kind < 0 || item.kind > 255 || item.condition < -128 ||
            item.condition > 127)
            return false;
    }
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint8(condition.items.size());
    for (const TNarrowDownItem& item : condition.items) {
        out << quint8(item.item) << quint8(item.kind);
        switch (item.kind) {
        case TNarrowDownItem::TextTest:
            out << qint32(item.text.size());
            if (!item.text.isEmpty())
                out.writeRawData(item.text.constData(), int(item.text.size()));
            break;
        case TNarrowDownItem::FixedChoice:
        case TNarrowDownItem::Category:
            out << item.value1;
            break;
        case TNarrowDownItem::YearMonthRange:
            out << item.value1 << item.value2;
            break;
        }
        out << qint8(item.condition) << quint8(item.negate ? 1 : 0);
    }
    out << quint8(condition.andFlag ? 1 : 0);
    return out.status() == QDataStream::Ok;
}

bool ReadNarrowDownCondition(QDataStream& in, TNarrowDownCondition& condition)
{
    condition.clear();
    in.setByteOrder(QDataStream::LittleEndian);
    const auto ok = [&in] { return in.status() == QDataStream::Ok; };

    quint8 count = 0;
    in >> count;
    if (!ok())
        return false;
    QList<TNarrowDownItem> items;
    items.reserve(count);
    for (int i = 0; i < count; ++i) {
        TNarrowDownItem item;
        quint8 number = 0;
        quint8 kind = 0;
        in >> number >> kind;
        if (!ok())
            return false;
        item.item = number;
        item.kind = kind;
        switch (item.kind) {
        case TNarrowDownItem::TextTest: {
            qint32 length = 0;
            in >> length;
            if (!ok() || length < 0 || !in.device() || length > in.device()->bytesAvailable())
                return false;
            item.text.resize(length);
            if (length > 0 && in.readRawData(item.text.data(), length) != length)
                return false;
            break;
        }
        case TNarrowDownItem::FixedChoice:
        case TNarrowDownItem::Category:
            in >> item.value1;
            break;
        case TNarrowDownItem::YearMonthRange:
            in >> item.value1 >> item.value2;
            break;
        default:
            break; // other kinds carry nothing, and never match
        }
        qint8 match = 0;
        quint8 negate = 0;
        in >> match >> negate;
        if (!ok())
            return false;
        item.condition = match;
        item.negate = negate != 0;
        items.append(item);
    }
    quint8 andFlag = 0;
    in >> andFlag;
    if (!ok())
        return false;
    condition.items = items;
    condition.andFlag = andFlag != 0;
    return true;
}

bool LoadNarrowDownFile(const QString& fileName, TNarrowDownCondition& condition)
{
    condition.clear();
    QFile file(fileName);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = file.readAll();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QDataStream in(&buffer);
    TNarrowDownCondition loaded;
    // Only a short read is damage; bytes after the AND flag are left alone.
    if (!ReadNarrowDownCondition(in, loaded))
        return false;
    condition = loaded;
    return true;
}

namespace {

void ShowSaveFailure(QWidget* owner)
{
    MsgSeam::Request request;
    request.owner = owner;
    request.text = QStringLiteral("絞り込み条件が保存できませんでした  ");
    request.caption = QStringLiteral("Tovarel");
    request.flags = MsgSeam::MbOk | MsgSeam::MbIconStop;
    MsgSeam::Show(request);
}

} // namespace

bool SaveNarrowDownFile(const QString& fileName, const TNarrowDownCondition& condition, QWidget* owner)
{
    if (condition.items.isEmpty()) {
        // A file left behind would bring the old narrowing back on the next start.
        if (QFile::exists(fileName) && !QFile::remove(fileName)) {
            ShowSaveFailure(owner);
            return false;
        }
        return true;
    }
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        if (!WriteNarrowDownCondition(out, condition)) {
            ShowSaveFailure(owner);
            return false;
        }
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        ShowSaveFailure(owner);
        return false;
    }
    return true;
}
