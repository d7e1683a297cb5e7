// The category search history file.
#include "search/CtgryHistory.h"

const QString TCategoryHistoryFile::FileName = QStringLiteral("Ctgry.shc");

namespace {

bool ReadEntry(THistoryReader& in, TCategorySearchHistoryRec& rec)
{
    if (!in.ReadShortString(HistoryNameBytes, rec.Name) || !in.ReadInt(rec.Fixed1) ||
        !in.ReadInt(rec.Fixed2) || !in.ReadInt(rec.PhoneKinds) || !in.ReadInt(rec.LegalForm) ||
        !in.ReadShortString(HistoryPeriodBytes, rec.PeriodFrom) ||
        !in.ReadShortString(HistoryPeriodBytes, rec.PeriodTo) || !in.ReadInt(rec.PageSize) ||
        !in.ReadInt(rec.Region) || !in.ReadInt(rec.AreaCount) || rec.AreaCount == 0 ||
        !in.ReadInt(rec.AreaKind))
        return false;
    return in.ReadAreaCodes(rec.AreaCount, rec.AreaKind, rec.AreaCodes) && in.ReadInt(rec.Major) &&
           in.ReadInt(rec.Minor);
}

void WriteEntry(THistoryWriter& out, const TCategorySearchHistoryRec& rec)
{
    out.WriteShortString(rec.Name, HistoryNameBytes);
    out.WriteInt(rec.Fixed1);
    out.WriteInt(rec.Fixed2);
    out.WriteInt(rec.PhoneKinds);
    out.WriteInt(rec.LegalForm);
    out.WriteShortString(rec.PeriodFrom, HistoryPeriodBytes);
    out.WriteShortString(rec.PeriodTo, HistoryPeriodBytes);
    out.WriteInt(rec.PageSize);
    out.WriteInt(rec.Region);
    const bool coded = AreaCodeBytes(rec.AreaKind) > 0;
    out.WriteInt(coded ? qint32(rec.AreaCodes.size()) : rec.AreaCount);
    out.WriteInt(rec.AreaKind);
    out.WriteAreaCodes(rec.AreaCodes, rec.AreaKind);
    out.WriteInt(rec.Major);
    out.WriteInt(rec.Minor);
}

} // namespace

bool TCategorySearchHistoryRec::SameConditions(const TCategorySearchHistoryRec& o) const
{
    return SameAnsiTextIgnoringCase(Name, o.Name) && SameAnsiTextIgnoringCase(PeriodFrom, o.PeriodFrom) &&
           SameAnsiTextIgnoringCase(PeriodTo, o.PeriodTo) && PhoneKinds == o.PhoneKinds &&
           LegalForm == o.LegalForm && PageSize == o.PageSize && AreaCount == o.AreaCount &&
           AreaKind == o.AreaKind && Region == o.Region && Major == o.Major && Minor == o.Minor &&
           SameAreaCodes(AreaCodes, o.AreaCodes);
}

TCategorySearchHistory TCategoryHistoryFile::Decode(const QByteArray& bytes, int hisCount)
{
    return DecodeHistoryEntries<TCategorySearchHistory>(bytes, hisCount, ReadEntry);
}

QByteArray TCategoryHistoryFile::Encode(const TCategorySearchHistory& history)
{
    return EncodeHistoryEntries(history, WriteEntry);
}

TCategorySearchHistory TCategoryHistoryFile::Load(const QString& path, int hisCount)
{
    return Decode(ReadHistoryFile(path), hisCount);
}

bool TCategoryHistoryFile::Save(const QString& path, const TCategorySearchHistory& history, QString* error)
{
    return WriteHistoryFile(path, Encode(history), error);
}
