// Paper formats: the standard formats of "Lyt.fmt", the user's custom formats of "CstmL.fmt", their records,
// the multi-up sheets and the turned-sheet geometry.
#pragma once

#include "platform/Cp932.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// Paper kinds.
constexpr int PaperPostcard = 0;
constexpr int PaperEnvelope = 1;
constexpr int PaperLabel = 2;
constexpr int PaperCard = 3;

constexpr int PresetCount1 = 13;
constexpr int PresetCount2 = 22;
constexpr int PaperFormatSize = 656;
constexpr int MultiUpSheetSize = 32;
constexpr int CustomPaperFormatSize = 668;
// Longest paper name the program writes, in bytes.
constexpr int PaperNameLimit = 30;

inline const QString LayoutFormatFileName = QStringLiteral("Lyt.fmt");
inline const QString CustomFormatFileName = QStringLiteral("CstmL.fmt");
// The category every custom format carries.
AnsiString CustomCategory();

struct TPresetRect
{
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    bool operator==(const TPresetRect&) const = default;
};

struct TPaperFormat
{
    uint8_t Kind = 0;
    AnsiString Category; // at most 20 bytes
    AnsiString Name;     // at most 33 bytes
    int32_t Direction = 0;
    int32_t Width = 0; // one piece, 0.1 mm
    int32_t Height = 0;
    AnsiString Picture; // at most 15 bytes; a file in Common/Format/
    int32_t Count1 = 0;
    std::array<TPresetRect, PresetCount1> Rects1{};
    int32_t Count2 = 0;
    std::array<TPresetRect, PresetCount2> Rects2{};
    int32_t SheetIndex = 0; // 1-based; 0 one piece per page
    bool operator==(const TPaperFormat&) const = default;
};

// Always stored as fed into the printer.
struct TMultiUpSheet
{
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Columns = 0;
    int32_t Rows = 0;
    int32_t LeftMargin = 0;
    int32_t TopMargin = 0;
    int32_t HorzGap = 0;
    int32_t VertGap = 0;
    bool operator==(const TMultiUpSheet&) const = default;
};

struct TCustomPaperFormat
{
    int32_t Id = 0;     // the format index is -Id
    int32_t Source = 0; // the "Lyt.fmt" record it derives from
    TPaperFormat Format;
    int32_t Horizontal = 0; // horizontal-writing flag of custom label sheets and cards
    bool operator==(const TCustomPaperFormat&) const = default;
};

struct TStandardFormats
{
    std::vector<TPaperFormat> Formats;
    std::vector<TMultiUpSheet> Sheets;
    // Sheet of a format, all zero without one.
    TMultiUpSheet SheetOf(const TPaperFormat& format) const;
};

struct TCustomFormats
{
    int32_t LastId = 0;
    std::vector<TCustomPaperFormat> Formats;
    std::vector<TMultiUpSheet> Sheets;

    // Position of the custom format with that id, -1 when there is none.
    int Find(int32_t id) const;
    bool HasKind(int kind) const;
    // Sheet of a custom label sheet or card (counted in the custom sheets), all zero without one.
    TMultiUpSheet SheetOf(const TPaperFormat& format) const;
    // Gives the format the next id and appends it; a label sheet or card gets the sheet as its own.
    int32_t Add(TCustomPaperFormat format, const TMultiUpSheet& sheet);
    // Removes the format and, for a label sheet or card, its sheet; later sheet indexes move down.
    bool Remove(int32_t id);
};

enum class FormatFileState { Missing, Foreign, Damaged, Read };

// One record; the bytes must hold PaperFormatSize.
TPaperFormat DecodePaperFormat(const char* bytes);
QByteArray EncodePaperFormat(const TPaperFormat& format);
TMultiUpSheet DecodeMultiUpSheet(const char* bytes);
QByteArray EncodeMultiUpSheet(const TMultiUpSheet& sheet);

// Whole files. A header whose counts run past the bytes is damaged; nothing is taken from it.
FormatFileState DecodeLayoutFile(const QByteArray& bytes, TStandardFormats& out);
QByteArray EncodeLayoutFile(const TStandardFormats& formats);
FormatFileState DecodeCustomFile(const QByteArray& bytes, TCustomFormats& out);
QByteArray EncodeCustomFile(const TCustomFormats& formats);

// Reads the files; what cannot be read leaves the lists empty.
FormatFileState LoadLayoutFormats(const QString& path, TStandardFormats& out);
FormatFileState LoadCustomFormats(const QString& path, TCustomFormats& out);
// Writes "CstmL.fmt" through a save file, or deletes it when there is no custom format.
bool SaveCustomFormats(const QString& path, const TCustomFormats& formats, QString* error = nullptr);
// One standard record and its sheet (all zero without one), as the designers read them.
bool ReadLayoutFormat(const QString& path, int index, TPaperFormat& format, TMultiUpSheet& sheet);

// ProgramFolder + "Common/Lyt.fmt", DataFolder + "CstmL.fmt", and the folder of the paper pictures.
QString LayoutFormatPath();
QString CustomFormatPath();
QString FormatPictureFolder();

// A sheet as the dialogs show it: for a turned paper (direction not 0) turned by a quarter.
struct TShownSheet
{
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Columns = 0;
    int32_t Rows = 0;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t HorzGap = 0;
    int32_t VertGap = 0;
    bool operator==(const TShownSheet&) const = default;
};
TShownSheet ShownSheet(const TMultiUpSheet& sheet, int32_t pieceHeight, int32_t direction);
TMultiUpSheet StoredSheet(const TShownSheet& shown, int32_t pieceHeight, int32_t direction);
// The sheet of a paper as shown: only label sheets and cards are turned (a postcard's direction is its writing).
TShownSheet ShownSheetOf(const TPaperFormat& paper, const TMultiUpSheet& sheet);

// Upper limits of a custom label sheet's shown values, each from the values before it clamped to theirs:
// pieces within the sheet, counts that fit, margins and gaps that leave the pieces on the sheet.
struct TSheetLimits
{
    int32_t PieceWidth = 0;
    int32_t PieceHeight = 0;
    int32_t Columns = 0;
    int32_t Rows = 0;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t HorzGap = 0;
    int32_t VertGap = 0;
};
// Clamps the shown values (lower limits: piece 50, counts 1, margins and gaps 0) and answers the limits.
TSheetLimits ClampShownSheet(TShownSheet& sheet, int32_t& pieceWidth, int32_t& pieceHeight);

// Index of the barcode rectangle in preset set 1 or 2, -1 when the paper has none.
int BarcodeRectIndex(const TPaperFormat& format, int set);

// 0.1 mm to 96-dpi design units, rounded half away from zero.
int32_t TenthMmToDesign(double tenths);

// The preset rectangles of source scaled to the working size: every rectangle by the size ratio (at least
// 10 × 10); the barcode rectangle keeps its size and moves only along the axis its orientation allows,
// never off the piece.
void RescalePresets(const TPaperFormat& source, TPaperFormat& work);

// A custom paper name: trimmed, CP932, cut to 30 bytes at a character boundary.
AnsiString CustomPaperName(const QString& text);

// Whether any barcode size fits an available length in 0.1 mm; sets the largest fitting size index.
bool PaperBarcodeFits(int available, int& sizeIndex);
