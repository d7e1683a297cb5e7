// The lookup dialog's model: its result record and how each source fills it, the input check of the
// number and postal-code tabs, the kana filter and group heads of the town lists and the saved area code.
#pragma once

#include "platform/Cp932.h"

#include "DirRecords.h"

#include <QString>

struct TKykbnResultRec;
struct TDicAdrsResultRec;

// The answer of the lookup dialog. Texts are CP932, each at most its cap in bytes (cut on a character
// boundary); what a source does not provide stays empty or 0.
struct TDicResultRec
{
    quint8 IsPerson = 0;
    AnsiString Tel;
    qint32 PhoneKind = 0; // 0 normal, 1 fax, 2 shared phone and fax, 3 main line
    AnsiString PostalCode;
    AnsiString Prefecture;
    AnsiString Address1;
    AnsiString Address2;
    AnsiString Address3;
    AnsiString AddressKana;
    AnsiString JisCode;
    AnsiString BlockCode;
    AnsiString Name;
    AnsiString NameKana;
    AnsiString FirstListing; // "yyyymm"
    qint32 Latitude = 0;     // milliseconds of arc
    qint32 Longitude = 0;
    qint32 CodeMain = 0;
    qint32 CodeSub = 0;

    friend bool operator==(const TDicResultRec&, const TDicResultRec&) = default;
};

// Byte caps of the text fields.
namespace DicResultCap {
inline constexpr int Tel = 13, PostalCode = 8, Prefecture = 8, Address1 = 32, Address2 = 100, Address3 = 116,
                     AddressKana = 146, JisCode = 5, BlockCode = 6, Name = 120, NameKana = 62,
                     FirstListing = 6;
}

// The result of the number tab (kind 0), of the postal and address tabs (kinds 1, 2) and of a directory
// entry (kind 9); each starts from an empty record.
TDicResultRec DicResultFromKykbn(const TKykbnResultRec& r);
TDicResultRec DicResultFromDicAdrs(const TDicAdrsResultRec& r);
TDicResultRec DicResultFromDirectory(const TDirDetailRec& d);

// The input check of the number and postal-code tabs: 0 good, 1 empty, 2 another character than a
// single-byte digit or hyphen, 3 hyphens only. The address tab checks emptiness only.
enum TDicInputCheck { dicInputOk = 0, dicInputEmpty = 1, dicInputBadChar = 2, dicInputHyphensOnly = 3 };
TDicInputCheck CheckDicNumberInput(const QString& text);
inline const QString DicBadCharText = QStringLiteral("半角の数字とハイフン以外は無効です。");
inline const QString DicHyphensOnlyText = QStringLiteral("ハイフンのみは無効です。");

// The text a number or postal-code search starts with: digits and hyphens when it holds a single-byte
// digit, else empty.
QString DicStartText(const QString& text);

// The kana filter items: 0 "すべて", 1 あ行 .. 10 わ行.
QStringList DicKanaFilterItems();
// Whether a reading's first byte passes the filter.
bool DicKanaFilterPasses(int filter, const AnsiString& reading);
// The group head of a reading: its first byte in hiragana (half-width katakana ｱ..ﾝ), else that byte.
QString DicGroupHead(const AnsiString& reading);

// "Kykbn.dat" in the given folder: the save box and the saved area code.
struct TSavedAreaCode
{
    bool save = false;
    QString tel;
};
TSavedAreaCode LoadSavedAreaCode(const QString& dataRootFolder);
void SaveSavedAreaCode(const QString& dataRootFolder, const TSavedAreaCode& value);
// The area code kept of a searched number: its hyphenated form up to the first hyphen (when that is not
// the first character), the whole of it without such a hyphen, empty when it cannot be hyphenated.
QString AreaCodeToSave(const QString& number);
