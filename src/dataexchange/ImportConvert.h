// Turning the 81 item texts of an import line into address-record values: pure functions.
#pragma once

#include "addressbook/Inquiry.h"
#include "dataexchange/ImportItems.h"

#include <QDate>

#include <optional>

struct TImportOptions
{
    bool noCompletion = false;  // "取り込み項目の自動補完をおこなわない"
    bool companyRule = false;   // "会社名が入力された場合に以下の処理をおこなう"
    bool allCompany = true;     // "すべて会社扱いにする"; false: "名前の無いデータは会社扱いにする"
    bool privCorpFirst = false; // "個人会社区分を優先する"
};

// What the address converter answers for a complete address.
struct TImportCompletion
{
    AnsiString postal;       // "123-4567"
    AnsiString municipality; // 6 characters
    AnsiString block;        // 7 characters
    qint32 latitude = 0;
    qint32 longitude = 0;
};

struct TImportLookups
{
    QStringList groupNames;                         // index 0..10
    QList<std::pair<AnsiString, qint32>> senders;   // title, Sender.DB record number
    std::function<bool(int)> isMajorCode;           // code of MajorCategoryNames
    std::function<bool(int, int)> isMinorCode;      // (major, major * 100 + minor) in its list
    // Null, or the converter: nothing when it does not resolve the address (its errors are swallowed).
    std::function<std::optional<TImportCompletion>(const AnsiString&)> complete;
    QDate today;                                    // for the 0720 prefix
    QDateTime now;                                  // timestamps
};

AnsiString ImportDigits(const AnsiString& text);
AnsiString RenumberPhone(const AnsiString& digits);
AnsiString Convert0720Prefix(const AnsiString& digits, const QDate& today);
AnsiString ImportPhone(const AnsiString& text, const QDate& today);
// Digits cut to 13 and enciphered; empty stays empty.
AnsiString ImportMyNumber(const AnsiString& text);
AnsiString ImportProtectMemo(const AnsiString& text);
// Empty, "0" and 11 characters or more give 0; throws EConvertError on a text that is no integer.
qint32 ImportCoordinate(const AnsiString& text);
// Lines cut at tabs; nothing for an empty text.
std::optional<QByteArrayList> ImportLines(const AnsiString& text);
AnsiString ImportProtectNote(const AnsiString& text);
AnsiString ImportSymbolMark(const AnsiString& text);
qint32 ImportSymbolColor(const AnsiString& text);

struct TImportAddress
{
    AnsiString tdfkn, adrs1, adrs2, adrs3;
    bool overflow1 = false; // item 10 spilled into Adrs2
    bool overflow2 = false; // Adrs2's step spilled into Adrs3
};
TImportAddress SplitImportAddress(const AnsiString& item10, const AnsiString& item11, const AnsiString& item12);

// 0 for the name itself, "本人" or "0"; k for a joint k that has a name and matches it, "連名k" or k;
// -1 when t matches nothing.
int ImportJointOwner(const QString& owner, const QString& name, const std::array<QString, 5>& joints);
// The registration moment of items 78 and 79, or nothing when they do not form one.
std::optional<QDateTime> ImportTimestamp(const AnsiString& date, const AnsiString& time, bool requireTime);

using TImportTexts = std::array<AnsiString, ImportItemCount>;

// The complete record image of an appended line (RecNo left 0); every text fits its table field. Throws EConvertError on a bad coordinate.
TAdrsDataRec BuildAppendRecord(const TImportTexts& texts, const TImportOptions& options,
                               const TImportLookups& lookups);
// Writes the set items into the stored record; true when a value changed (UpdDateTime then set).
bool ApplyUpdateFields(const TImportTexts& texts, const TImportMapping& mapping, const TImportLookups& lookups,
                       TAdrsDataRec& rec);
