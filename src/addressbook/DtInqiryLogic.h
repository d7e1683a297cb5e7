// The record card's logic over a value snapshot of its controls: transfers to and from the records, the
// change test, the input check, the row writer and the unsaved-input policy.
#pragma once

#include "addressbook/CardServices.h"
#include "addressbook/CpItmSet.h"
#include "addressbook/Inquiry.h"

#include "DirRecords.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class Table;
class QWidget;

inline constexpr qint32 DefaultSymbolColor = 0x7FDF3F;
inline constexpr int AdrsRecordLimit = 100000;
// Digits the table keeps of a telephone, fax or mobile number.
inline constexpr int AdrsNumberDigits = 11;

// What the card's controls hold, as the controls hold it (wide texts untrimmed).
struct TCardValues
{
    int Group = 0;
    QString CustomCode;
    QString Tel;
    bool MainNumber = false;
    QString Fax;
    QString PubDate; // as shown: " 2015年04月"
    QString Portable1;
    QString Portable2;
    QString Pos; // as shown: "123-4567"
    QString Tdfkn, Adrs1, Adrs2, Adrs3, AdrsKana;
    QString JisCode, KajoCode;
    qint32 Latitude = 0;
    qint32 Longitude = 0;
    bool Priv = true; // "個人" down, else "会社"
    QString MyNumber;
    QString CorpKanji, CorpKana, Dptmnt, Post, EmployeeNo;
    QString NameKanji, NameKana, Honor;
    bool IgnoreName = false;
    int CodeMain = 0; // 0 "指定しない"
    int CodeSub = 0;  // the chosen minor entry's code mod 100 (only read while CodeMain > 0)
    QString URL, EMail1, EMail2;
    std::array<QString, 5> Joint, JointHonor, JointMyNumber;
    int JointOwner = 0;
    bool JointPrintM = true;
    std::array<bool, 5> JointPrint{};
    bool PrintTarget = false;    // "印刷" down
    bool PrintException = false; // "除外" down
    int Sender = 0;
    std::array<QString, 8> Keyword;
    std::array<QString, 10> ProtectMemo;
    QString Note; // lines separated by "\n" as a plain-text memo holds them
    QString ProtectNote;
    QStringList ExtLink;
    int SymbolIndex = 0; // 0 "指定しない", 1 to 6 the marks
    qint32 SymbolColor = DefaultSymbolColor;
    QString AddDateTime, UpdDateTime; // display only
};

// " yyyy年mm月" of a "yyyymm" first listing; empty for an empty one.
QString FormatPubDate(const QString& yyyymm);
// A postal code of 5 or 7 characters with "-" after the third; others as they are.
QString FormatPostalCode(const QString& code);
// " yyyy/mm/dd hh:nn:ss" (with the leading blank when asked); empty for 0.
QString FormatCardDateTime(double value, bool leadingBlank);
// A coordinate of the directory library in milliseconds of arc.
qint32 DirectoryCoordinate(qint32 raw);
// The memo text in its stored form: CR LF line ends.
AnsiString MemoToStored(const QString& memo);
// The stored memo lines as the memo shows them: each line followed by a line break.
QString LinesToMemo(const QByteArrayList& lines);

// The decipherment of a protected field; empty when it does not decode. Exact keeps blanks at the ends
// (free texts); otherwise they are trimmed.
QString DecryptOrEmpty(const AnsiString& cipher, bool exact = false);

// An address record on the controls. The sender is taken as it is; the card resolves it against its list.
TCardValues RecordToValues(const TAdrsDataRec& rec);
// A directory entry on an emptied card (empty: the values of the emptied card).
TCardValues DirectoryToValues(const TDirDetailRec& detail, const TCardValues& empty);
// The snapshot of the controls: texts cut to the record's widths, protected fields enciphered.
TAdrsDataRec ValuesToRecord(const TCardValues& values);
// The baseline of an empty card.
TAdrsDataRec BlankTemplate(bool priv);
// True at the first item that differs from the baseline.
bool IsModified(const TCardValues& values, const TAdrsDataRec& baseline);

// Items the input check can send the focus back to.
enum class TCardField { None, CustomCode, Tel, Fax, Portable1, Portable2, Pos, AdrsKana, CorpKana, NameKana };

struct TValidationResult
{
    bool ok = true;
    QString message;
    TCardField field = TCardField::None;
};

// The input check in its order; customCodeInUse answers whether a row holds the given (trimmed) code.
TValidationResult ValidateValues(const TCardValues& values, bool isNew, const TAdrsDataRec* loaded,
                                 const std::function<bool(const AnsiString&)>& customCodeInUse);

// Result codes of a write.
inline constexpr int wrWritten = 0;
inline constexpr int wrDeclined = 1;
inline constexpr int wrFailed = 9;

// Writes card values into Adrs.DB through the shared table object.
class TCardRecordWriter
{
public:
    TCardRecordWriter(Table& table, QWidget* messageOwner);

    // Asked with the label ("電話番号", "FAX番号", "携帯番号１", "携帯番号２") of the first number already
    // registered; true registers anyway. Unset: the question goes through the message box.
    std::function<bool(const QString& label)> ConfirmDuplicate;
    // [ADDRESS] SameNum.
    bool CheckSameNumbers = true;

    bool CustomCodeInUse(const AnsiString& code);
    // update false appends a new row (its RecNo into *newRecNo), true rewrites the loaded row. Answers
    // wrWritten, wrDeclined (limit, duplicate declined, row gone; its message shown) or wrFailed (nothing
    // written; the caller reports it). now: the instant of the write.
    int WriteRecord(const TCardValues& values, bool update, const TAdrsDataRec* loaded, qint32* newRecNo,
                    const QDateTime& now);
    // Deletes the row (a row already gone counts as deleted); false with the reason when it could not be.
    bool DeleteRecord(qint32 recNo, QString* error);
    // Sets Latitude, Longitude and UpdDateTime (now) of the row and writes the buffers to disk. Answers
    // wrWritten, wrDeclined (no such row; the table is left as it was) or wrFailed (nothing written).
    int WritePosition(qint32 recNo, qint32 latitude, qint32 longitude, const QDateTime& now);

    // The last failure's reason (for diagnostics).
    QString LastError() const { return m_lastError; }

private:
    bool FindRecNo(qint32 recNo);
    // Leaves an edit or insert state without writing; never raises.
    void cancelEdit();
    void SetFields(const TCardValues& values, bool isNew, const TAdrsDataRec* loaded, const QDateTime& now);

    Table& m_table;
    QWidget* m_owner;
    QString m_lastError;
};

// The input histories a save touches, by list kind.
using TCardHistoryLookup = std::function<THistoryData*(TInputListKind)>;
// Puts the typed department, post, honorifics and keywords 6 to 8 at the head of their histories and saves
// each changed file. Answers the changed lists (bit = TInputListKind).
unsigned UpdateInputHistories(const TCardValues& values, const TCardHistoryLookup& histories);

// The unsaved-input decision, shared by the card's navigation, new record, close and the list windows.
struct TConfirmRequest
{
    bool onClose = false;
    bool changeData = true;   // [ADDRESS] ChangeData
    bool formClose = true;    // [ADDRESS] FormClose
    bool confirmation = true; // [ADDRESS] Confirmation
    bool recordLoaded = false;
    std::function<bool()> hasUnsavedInput;
    std::function<int(const QString& text)> ask; // answers MsgSeam Yes, No or Cancel
    std::function<bool()> validate;
    std::function<int()> write;          // wrWritten, wrDeclined or wrFailed
    std::function<void()> afterWritten;  // refresh the list, tell the designers
    std::function<void()> reportFailure; // "update error"
    // After a failed save: true discards the input (the caller goes on), false stays.
    std::function<bool()> askDiscard;
};
// 0 a save was attempted (or declined by the user or a limit), 1 nothing to save or the input discarded
// after a failed save, 9 stay (cancelled, input check failed, or the save failed and the input is kept).
// Clears skipConfirm when it is set.
int ConfirmPendingChangesPolicy(const TConfirmRequest& request, quint8& skipConfirm);

// The question of unsaved input.
QString PendingChangesQuestion(bool recordLoaded);
// The question after a failed save.
QString DiscardAfterFailureQuestion();

// What the copy of items takes from the card beside the control values.
struct TCopyContext
{
    QString GroupName;      // the group's name; empty for group 0
    QString EnvMyNumber;    // the own number as shown
    QString JointOwnerText; // the entry shown in the joint owner list
    QString SenderText;     // the entry shown in the sender list
    QString CatMainText, CatSubText;
    const TAdrsDataRec* Loaded = nullptr; // the address record shown, if any
    bool Protected = false;               // protected items are copied as one "*" per byte
};
// The texts of the 75 copy items in table order.
QStringList CopyItemTexts(const TCardValues& values, const TCopyContext& context);
// The clipboard text: the copied items in the user's order separated by ",", with CR LF at the end when
// lastReturn is set.
QString CopyItemsText(const QStringList& texts, const TCopyItemEntries& entries, bool lastReturn);
