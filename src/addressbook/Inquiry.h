// The address record, its reading from an Adrs.DB row, and the fixed item tables the windows share.
#pragma once

#include "core/AppSub.h"
#include "platform/Cp932.h"

#include <QByteArrayList>
#include <QDateTime>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

class QWidget;

// Text of at most N CP932 bytes with its length; cuts never split a double-byte character.
template <int N> class TShortText
{
    static_assert(N > 0 && N < 256, "the length must fit one byte");

public:
    static constexpr int Capacity = N;

    TShortText() = default;
    explicit TShortText(const AnsiString& text) { assign(text); }

    void assign(const AnsiString& text)
    {
        const AnsiString cut = Cp932::cutAtBoundary(text, N);
        m_bytes.fill(0); // a clean tail keeps equality byte-exact
        std::copy(cut.cbegin(), cut.cend(), m_bytes.begin());
        m_length = quint8(cut.size());
    }
    TShortText& operator=(const AnsiString& text)
    {
        assign(text);
        return *this;
    }
    AnsiString text() const { return AnsiString(m_bytes.data(), m_length); }
    QString wide() const { return Cp932::toUnicode(text()); }
    int length() const { return m_length; }
    bool isEmpty() const { return m_length == 0; }
    void clear() { *this = TShortText(); }
    friend bool operator==(const TShortText&, const TShortText&) = default;

private:
    quint8 m_length = 0;
    std::array<char, N> m_bytes{};
};

// Text of up to N CP932 bytes in a zero-terminated buffer (no terminator when it fills all N bytes).
template <int N> class TZeroText
{
public:
    static constexpr int Capacity = N;

    void assign(const AnsiString& text)
    {
        const qsizetype zero = text.indexOf('\0');
        const AnsiString cut = Cp932::cutAtBoundary(zero < 0 ? text : text.left(zero), N);
        m_bytes.fill(0);
        std::copy(cut.cbegin(), cut.cend(), m_bytes.begin());
    }
    TZeroText& operator=(const AnsiString& text)
    {
        assign(text);
        return *this;
    }
    AnsiString text() const
    {
        const auto end = std::find(m_bytes.cbegin(), m_bytes.cend(), '\0');
        return AnsiString(m_bytes.data(), int(end - m_bytes.cbegin()));
    }
    QString wide() const { return Cp932::toUnicode(text()); }
    bool isEmpty() const { return m_bytes[0] == 0; }
    void clear() { m_bytes.fill(0); }
    friend bool operator==(const TZeroText&, const TZeroText&) = default;

private:
    std::array<char, N> m_bytes{};
};

// One row of the address book in memory. Protected and Unicode name fields hold their stored form;
// the phone fields hold the hyphenated form. Copying clones the two lists.
struct TAdrsDataRec
{
    qint32 RecNo = 0;
    qint32 Group = 0;
    TShortText<20> CustomCode;
    TShortText<13> Tel;
    qint32 TelDiv = 0;
    TShortText<13> Fax;
    TShortText<8> PubDate;
    TShortText<13> Portable1;
    TShortText<13> Portable2;
    TShortText<7> Pos;
    TShortText<8> Tdfkn;
    TShortText<32> Adrs1;
    TShortText<100> Adrs2;
    TShortText<116> Adrs3;
    TShortText<100> AdrsKana;
    TShortText<5> JisCode;
    TShortText<6> KajoCode;
    qint32 Latitude = 0;
    qint32 Longitude = 0;
    bool PrivCorp = false;
    TShortText<34> MyNumber;
    TShortText<112> CorpKanji;
    TShortText<80> CorpKana;
    TShortText<100> Dptmnt;
    TShortText<50> Post;
    TShortText<15> EmployeeNo;
    TShortText<75> NameKanji;
    TShortText<25> NameKana;
    TShortText<10> Honor;
    bool IgnoreName = false;
    TShortText<128> URL;
    TShortText<64> EMail1;
    TShortText<64> EMail2;
    TShortText<55> Joint1, Joint2, Joint3, Joint4, Joint5;
    TShortText<10> JointHonor1, JointHonor2, JointHonor3, JointHonor4, JointHonor5;
    TShortText<34> JointMyNumber1, JointMyNumber2, JointMyNumber3, JointMyNumber4, JointMyNumber5;
    qint32 JointOwner = 0;
    bool JointPrint = false;
    bool JointPrint1 = false, JointPrint2 = false, JointPrint3 = false, JointPrint4 = false,
         JointPrint5 = false;
    qint32 PrintTarget = 0;
    qint32 Sender = 0;
    TShortText<100> Keyword1, Keyword2, Keyword3, Keyword4, Keyword5, Keyword6, Keyword7, Keyword8;
    TShortText<130> ProtectMemo1, ProtectMemo2, ProtectMemo3, ProtectMemo4, ProtectMemo5, ProtectMemo6,
        ProtectMemo7, ProtectMemo8, ProtectMemo9, ProtectMemo10;
    TZeroText<1000> ProtectNote;
    TShortText<10> SymbolMark;
    qint32 SymbolColor = 0;
    double AddDateTime = 0;
    double UpdDateTime = 0;
    qint32 CodeMain = 0;
    qint32 CodeSub = 0;
    qint32 CodeGenre = 0;
    std::optional<QByteArrayList> Note;    // absent when the note is empty
    std::optional<QByteArrayList> ExtLink; // absent when there are no links

    friend bool operator==(const TAdrsDataRec&, const TAdrsDataRec&) = default;
};

// The numbered fields as arrays, so that loops can reach field i (0-based).
inline constexpr std::array<TShortText<55> TAdrsDataRec::*, 5> AdrsJointFields{
    &TAdrsDataRec::Joint1, &TAdrsDataRec::Joint2, &TAdrsDataRec::Joint3, &TAdrsDataRec::Joint4,
    &TAdrsDataRec::Joint5};
inline constexpr std::array<TShortText<10> TAdrsDataRec::*, 5> AdrsJointHonorFields{
    &TAdrsDataRec::JointHonor1, &TAdrsDataRec::JointHonor2, &TAdrsDataRec::JointHonor3,
    &TAdrsDataRec::JointHonor4, &TAdrsDataRec::JointHonor5};
inline constexpr std::array<TShortText<34> TAdrsDataRec::*, 5> AdrsJointMyNumberFields{
    &TAdrsDataRec::JointMyNumber1, &TAdrsDataRec::JointMyNumber2, &TAdrsDataRec::JointMyNumber3,
    &TAdrsDataRec::JointMyNumber4, &TAdrsDataRec::JointMyNumber5};
inline constexpr std::array<bool TAdrsDataRec::*, 5> AdrsJointPrintFields{
    &TAdrsDataRec::JointPrint1, &TAdrsDataRec::JointPrint2, &TAdrsDataRec::JointPrint3,
    &TAdrsDataRec::JointPrint4, &TAdrsDataRec::JointPrint5};
inline constexpr std::array<TShortText<100> TAdrsDataRec::*, 8> AdrsKeywordFields{
    &TAdrsDataRec::Keyword1, &TAdrsDataRec::Keyword2, &TAdrsDataRec::Keyword3, &TAdrsDataRec::Keyword4,
    &TAdrsDataRec::Keyword5, &TAdrsDataRec::Keyword6, &TAdrsDataRec::Keyword7, &TAdrsDataRec::Keyword8};
inline constexpr std::array<TShortText<130> TAdrsDataRec::*, 10> AdrsProtectMemoFields{
    &TAdrsDataRec::ProtectMemo1, &TAdrsDataRec::ProtectMemo2, &TAdrsDataRec::ProtectMemo3,
    &TAdrsDataRec::ProtectMemo4, &TAdrsDataRec::ProtectMemo5, &TAdrsDataRec::ProtectMemo6,
    &TAdrsDataRec::ProtectMemo7, &TAdrsDataRec::ProtectMemo8, &TAdrsDataRec::ProtectMemo9,
    &TAdrsDataRec::ProtectMemo10};

// Empties the record: texts empty, numbers 0, flags false, both lists absent. No record: nothing.
void ClearAdrsDataRec(TAdrsDataRec* rec);

// One row of Adrs.DB as the table engine delivers it, fields by name. A null field reads as empty,
// 0, false or an invalid date-time.
class TAdrsRow
{
public:
    virtual ~TAdrsRow() = default;
    virtual AnsiString FieldBytes(const char* name) const = 0; // alpha and memo fields
    virtual qint32 FieldInt(const char* name) const = 0;
    virtual bool FieldBool(const char* name) const = 0;
    virtual QDateTime FieldDateTime(const char* name) const = 0;
};

// The shared Adrs.DB table object: moves to the row with the given RecNo on the primary index.
class TAdrsTableCursor : public TAdrsRow
{
public:
    virtual bool FindRecNo(qint32 recNo) = 0;
};

// The hyphenation of a telephone number (HyphenatePhoneText with the default data folder): given the
// trimmed digits, answers the hyphenated number, or the digits when the library cannot.
using THyphenateFunc = std::function<AnsiString(const AnsiString&)>;

// Fills the record from the current row (the record is emptied first). Without a hyphenation function
// the phone fields keep their digits.
void ReadAdrsDataRec(const TAdrsRow& row, TAdrsDataRec& rec, const THyphenateFunc& hyphenate);

// Looks the row up by RecNo and reads it; a missing row (also one deleted by another user while it is
// read) answers false with the record untouched.
bool ReadAddressRecordQuietly(TAdrsTableCursor& table, qint32 recNo, TAdrsDataRec& rec,
                              const THyphenateFunc& hyphenate);
// The same, and a missing row shows "アドレス帳が読み出せませんでした  " over owner.
bool ReadAddressRecord(TAdrsTableCursor& table, qint32 recNo, TAdrsDataRec& rec, QWidget* owner,
                       const THyphenateFunc& hyphenate);
void ShowUnreadableRecord(QWidget* owner);

// A memo text split into lines (CR, LF or CR LF end a line; a final line break adds no empty line).
QByteArrayList TextToLines(const AnsiString& text);
// The lines joined back, each followed by CR LF, as the memo field keeps them.
AnsiString LinesToText(const QByteArrayList& lines);
// A memo as the record keeps it: absent when empty.
std::optional<QByteArrayList> MemoToList(const AnsiString& text);

// Date-times as days since 1899-12-30 with the time of day as the fraction (local time).
double ToTDateTime(const QDateTime& dateTime);
QDateTime FromTDateTime(double value);

// ---- Fixed tables ----

// The six symbol marks (UTF-8 source text) and their CP932 bytes.
inline constexpr std::array<const char*, 6> SymbolMarks{"●", "▲", "▼", "■", "◆", "★"};
AnsiString SymbolMarkBytes(int index); // empty outside 0 to 5

enum class TColumnAlign { Left, Right, Center };

// One column the address list can show.
struct TAddressListColumnDef
{
    int item;
    const char* caption; // UTF-8
    TColumnAlign alignment;
    int defaultWidth; // pixels at 96 dpi
    bool shownByDefault;
    int listPrintItem; // row of ListPrintItemTable
};

// One item a narrowing condition can test.
struct TNarrowDownItemDef
{
    int row;
    const char* caption; // UTF-8
    int inputKind;       // 0 text, 1 text with history, 2 fixed choice, 3 year-month range, 4 category
    int maxLength;       // bytes, or characters for the Unicode name rows; 0 no limit
};

// One item the record card can copy to the clipboard.
struct TCopyItemDef
{
    int row;
    const char* caption; // UTF-8
    int defaultFlag;
};

// One item of the directory export: its caption and whether its value needs the entry's detail.
struct TDirectoryExportItemDef
{
    int no;
    const char* caption; // UTF-8
    bool needsDetail;
};

// One chosen export item of a search window, in the user's order.
struct TExportItemRec
{
    int ItemNo = 0;
    int Row = 0;
    bool Chosen = false;
};

extern const std::array<TAddressListColumnDef, 52> AddressListColumnTable;
extern const std::array<TNarrowDownItemDef, 35> NarrowDownItemTable;
extern const std::array<TCopyItemDef, 75> CopyItemTable;
extern const std::array<TDirectoryExportItemDef, 19> DirectoryExportItemTable;

// Captions as shown: the keyword columns and rows, the protected memos and the own number take the
// user's names in place of the table's captions (a missing name keeps the table's caption).
QString AddressListColumnCaption(int item, const QStringList& keywordNames);
QString NarrowDownItemCaption(int row, const QStringList& keywordNames);
QString CopyItemCaption(int row, const QStringList& keywordNames, const QStringList& protectMemoNames,
                        const QString& myNumberLabel);

// Entries of the fixed-choice narrowing rows (2, 9 and 33); empty for other rows.
QStringList NarrowDownChoiceList(int row);

// Unicode name rows of the narrowing table, whose maximum length counts characters.
bool IsNarrowDownUnicodeRow(int row);
