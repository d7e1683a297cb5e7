// The conditions of the category and area search as plain rules: name cut, category code, phone kinds,
// listing period, regions and the area codes the chosen areas give.
#pragma once

#include "DirRecords.h"
#include "platform/Cp932.h"

#include <QList>
#include <QString>

// Kinds of an area code.
enum : int { AreaKindCountry = 0, AreaKindPrefecture = 2, AreaKindCity = 5, AreaKindOaza = 8 };

struct TAreaCode
{
    AnsiString code; // "" for the whole country, else 2, 5 or 8 digits
    int kind = AreaKindCountry;
    bool operator==(const TAreaCode&) const = default;
};
using TAreaCodeList = QList<TAreaCode>;

inline constexpr int ListedNameMaxBytes = 50;

// The listed name cut to 50 bytes on a character boundary.
AnsiString CutListedName(const AnsiString& name);
// "" nothing chosen, "%.2d" a major alone, "%.4d" of major * 100 + minor.
AnsiString CategoryCodeText(int major, int minorObject);
// The phone-kind sum after a box changed; unchecking the last kind keeps it (the box must be checked again).
int ToggledPhoneKinds(int kinds, int tag, bool checked);
// "yyyymm" of both ends, the earlier first; both empty when fromYear is 0.
void PeriodFields(int fromYear, int fromMonth, int toYear, int toMonth, AnsiString& from, AnsiString& to);

// The captions of the region combo; index = region number.
const QStringList& RegionCaptions();
// The prefecture indexes (0..46) of region 1..7; empty for the whole country.
QList<int> RegionPrefectureIndexes(int region);
// The shown group head of a reading's head letter: half-width ｱ..ﾝ as the hiragana of the same place.
QString GroupHeadText(const char (&head)[2]);

// One condition record per area, in list order.
QList<TDirSearchCondRec> BuildConditionRecords(const TAreaCodeList& areas, const AnsiString& category,
                                               int phoneKinds, const AnsiString& periodFrom,
                                               const AnsiString& periodTo, int legalForm,
                                               const QString& dataFolder, const QString& dicFolder);

// The common area text of the chosen areas from the first kind and their number, and the names remembered.
QString AreaCaptionOf(const TAreaCodeList& areas, const QString& prefecture, const QString& city,
                      const QString& oaza);
// The address with the first occurrence of the caption removed (the part before "（丁目）" when it holds
// one).
QString OmitAreaCaption(const QString& address, const QString& caption);

// "前方一致", "あいまい", "後方一致", "完全一致"; index = match kind.
const QStringList& MatchKindCaptions();
// The legal form items; index = value sent.
const QStringList& LegalFormCaptions();
