// The name and address search history file.
#include "search/NmAdHistory.h"

const QString TNameHistoryFile::FileName = QStringLiteral("NmAd.shc");

namespace {

bool ReadEntry(THistoryReader& in, TNameSearchHistoryRec& rec)
{
    if (!in.ReadShortString(HistoryNameBytes, rec.Name) || !in.ReadInt(rec.MatchKind) ||
        !in.ReadInt(rec.Fixed) || !in.ReadInt(rec.PhoneKinds) || !in.ReadInt(rec.LegalForm) ||
        !in.ReadShortString(HistoryPeriodBytes, rec.PeriodFrom) ||
        !in.ReadShortString(HistoryPeriodBytes, rec.PeriodTo) || !in.ReadInt(rec.PageSize) ||
        !in.ReadInt(rec.Region) || !in.ReadInt(rec.AreaCount) || rec.AreaCount == 0 ||
        !in.ReadInt(rec.AreaKind))
        return false;
    return in.ReadAreaCodes(rec.AreaCount, rec.AreaKind, rec.AreaCodes);
}

void WriteEntry(THistoryWriter& out, const TNameSearchHistoryRec& rec)
{
    out.WriteShortString(rec.Name, HistoryNameBytes);
    out.WriteInt(rec.MatchKind);
    out.WriteInt(rec.Fixed);
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
}

} // namespace

bool TNameSearchHistoryRec::SameConditions(const TNameSearchHistoryRec& o) const
{
    return SameAnsiTextIgnoringCase(Name, o.Name) && SameAnsiTextIgnoringCase(PeriodFrom, o.PeriodFrom) &&
           SameAnsiTextIgnoringCase(PeriodTo, o.PeriodTo) && MatchKind == o.MatchKind &&
           PhoneKinds == o.PhoneKinds && LegalForm == o.LegalForm && PageSize == o.PageSize &&
           AreaCount == o.AreaCount && AreaKind == o.AreaKind && Region == o.Region &&
           SameAreaCodes(AreaCodes, o.AreaCodes);
}

TNameSearchHistory TNameHistoryFile::Decode(const QByteArray& bytes, int hisCount)
{
    return DecodeHistoryEntries<TNameSearchHistory>(bytes, hisCount, ReadEntry);
}

QByteArray TNameHistoryFile::Encode(const TNameSearchHistory& history)
{
    return EncodeHistoryEntries(history, WriteEntry);
}

TNameSearchHistory TNameHistoryFile::Load(const QString& path, int hisCount)
{
    return Decode(ReadHistoryFile(path), hisCount);
}

bool TNameHistoryFile::Save(const QString& path, const TNameSearchHistory& history, QString* error)
{
    return WriteHistoryFile(path, Encode(history), error);
}
