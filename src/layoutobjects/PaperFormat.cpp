// Paper format records and the two format files.
#include "layoutobjects/PaperFormat.h"

#include "layoutobjects/BarcodeRect.h"

#include "core/AppSub.h"
#include "core/MainSettings.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

const char LayoutSignature[] = "Pomrek Layout FormatFile";
const char CustomSignature[] = "Pomrek Custom FormatFile";
constexpr int SignatureSize = 24;
constexpr int LayoutHeaderSize = SignatureSize + 12;
constexpr int CustomHeaderSize = SignatureSize + 16;

int32_t GetInt(const char* p)
{
    return qFromLittleEndian<qint32>(p);
}

void PutInt(QByteArray& out, int32_t value)
{
    char bytes[4];
    qToLittleEndian<qint32>(value, bytes);
    out.append(bytes, 4);
}

// A length byte and up to capacity bytes; a length byte past the capacity reads the capacity.
AnsiString GetShortString(const char* p, int capacity)
{
    const int length = std::min<int>(static_cast<unsigned char>(p[0]), capacity);
    return AnsiString(p + 1, length);
}

void PutShortString(QByteArray& out, const AnsiString& text, int capacity)
{
    const AnsiString cut = Cp932::cutAtBoundary(text, capacity);
    out.append(char(cut.size()));
    out.append(cut);
    out.append(QByteArray(capacity - cut.size(), '\0'));
}

template <size_t N>
void GetRects(const char* p, std::array<TPresetRect, N>& rects)
{
    for (size_t i = 0; i < N; ++i, p += 16)
        rects[i] = {GetInt(p), GetInt(p + 4), GetInt(p + 8), GetInt(p + 12)};
}

template <size_t N>
void PutRects(QByteArray& out, const std::array<TPresetRect, N>& rects)
{
    for (const TPresetRect& r : rects) {
        PutInt(out, r.Left);
        PutInt(out, r.Top);
        PutInt(out, r.Right);
        PutInt(out, r.Bottom);
    }
}

QByteArray Signature(const char* text)
{
    QByteArray bytes(text, SignatureSize);
    for (char& c : bytes)
        c = char(~c);
    return bytes;
}

bool SignatureMatches(const QByteArray& bytes, const char* text)
{
    return bytes.size() >= SignatureSize && bytes.left(SignatureSize) == Signature(text);
}

// Whether count records of size bytes fit in the bytes after offset.
bool CountFits(qint64 count, qint64 size, qint64 offset, qint64 total)
{
    return count >= 0 && count <= (total - offset) / size;
}

void GetSheets(const char* p, int count, std::vector<TMultiUpSheet>& sheets)
{
    sheets.reserve(count);
    for (int i = 0; i < count; ++i, p += MultiUpSheetSize)
        sheets.push_back(DecodeMultiUpSheet(p));
}

FormatFileState ReadWholeFile(const QString& path, QByteArray& bytes)
{
    QFile file(path);
    if (!file.exists())
        return FormatFileState::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return FormatFileState::Damaged;
    bytes = file.readAll();
    return FormatFileState::Read;
}

// Keeps the rectangle's size and puts it at the scaled place, inside a piece of width × height.
TPresetRect MoveKeepingSize(const TPresetRect& r, double sx, double sy, int32_t width, int32_t height)
{
    const int32_t w = r.Width();
    const int32_t h = r.Height();
    const int32_t x = int32_t(std::clamp<qint64>(RoundHalfAway(r.Left * sx), 0, std::max(0, width - w)));
    const int32_t y = int32_t(std::clamp<qint64>(RoundHalfAway(r.Top * sy), 0, std::max(0, height - h)));
    return {x, y, x + w, y + h};
}

TPresetRect Scale(const TPresetRect& r, double sx, double sy)
{
    TPresetRect out{int32_t(RoundHalfAway(r.Left * sx)), int32_t(RoundHalfAway(r.Top * sy)),
                    int32_t(RoundHalfAway(r.Right * sx)), int32_t(RoundHalfAway(r.Bottom * sy))};
    if (out.Width() < 10)
        out.Right = out.Left + 10;
    if (out.Height() < 10)
        out.Bottom = out.Top + 10;
    return out;
}

template <size_t N>
void RescaleSet(const std::array<TPresetRect, N>& from, std::array<TPresetRect, N>& to, int count,
                int barcode, double sx, double sy, int32_t width, int32_t height)
{
    count = std::clamp(count, 0, int(N));
    for (int i = 0; i < count; ++i)
        to[i] = i == barcode ? MoveKeepingSize(from[i], sx, sy, width, height) : Scale(from[i], sx, sy);
}

} // namespace

AnsiString CustomCategory()
{
    return Cp932::fromUnicode(QStringLiteral("カスタム"));
}

TMultiUpSheet TStandardFormats::SheetOf(const TPaperFormat& format) const
{
    if (format.SheetIndex > 0 && size_t(format.SheetIndex) <= Sheets.size())
        return Sheets[format.SheetIndex - 1];
    return {};
}

int TCustomFormats::Find(int32_t id) const
{
    for (size_t i = 0; i < Formats.size(); ++i)
        if (Formats[i].Id == id)
            return int(i);
    return -1;
}

bool TCustomFormats::HasKind(int kind) const
{
    return std::any_of(Formats.begin(), Formats.end(),
                       [kind](const TCustomPaperFormat& f) { return f.Format.Kind == kind; });
}

TMultiUpSheet TCustomFormats::SheetOf(const TPaperFormat& format) const
{
    if (format.Kind >= PaperLabel && format.SheetIndex > 0 && size_t(format.SheetIndex) <= Sheets.size())
        return Sheets[format.SheetIndex - 1];
    return {};
}

int32_t TCustomFormats::Add(TCustomPaperFormat format, const TMultiUpSheet& sheet)
{
    format.Id = ++LastId;
    if (format.Format.Kind >= PaperLabel) {
        Sheets.push_back(sheet);
        format.Format.SheetIndex = int32_t(Sheets.size());
    }
    Formats.push_back(format);
    return format.Id;
}

bool TCustomFormats::Remove(int32_t id)
{
    const int at = Find(id);
    if (at < 0)
        return false;
    const TPaperFormat removed = Formats[at].Format;
    Formats.erase(Formats.begin() + at);
    const int32_t s = removed.SheetIndex;
    if (removed.Kind >= PaperLabel && s > 0 && size_t(s) <= Sheets.size()) {
        Sheets.erase(Sheets.begin() + (s - 1));
        for (TCustomPaperFormat& f : Formats)
            if (f.Format.Kind >= PaperLabel && f.Format.SheetIndex > s)
                --f.Format.SheetIndex;
    }
    return true;
}

TPaperFormat DecodePaperFormat(const char* p)
{
    TPaperFormat f;
    f.Kind = uint8_t(p[0]);
    f.Category = GetShortString(p + 1, 20);
    f.Name = GetShortString(p + 22, 33);
    f.Direction = GetInt(p + 56);
    f.Width = GetInt(p + 60);
    f.Height = GetInt(p + 64);
    f.Picture = GetShortString(p + 68, 15);
    f.Count1 = GetInt(p + 84);
    GetRects(p + 88, f.Rects1);
    f.Count2 = GetInt(p + 296);
    GetRects(p + 300, f.Rects2);
    f.SheetIndex = GetInt(p + 652);
    return f;
}

QByteArray EncodePaperFormat(const TPaperFormat& f)
{
    QByteArray out;
    out.reserve(PaperFormatSize);
    out.append(char(f.Kind));
    PutShortString(out, f.Category, 20);
    PutShortString(out, f.Name, 33);
    PutInt(out, f.Direction);
    PutInt(out, f.Width);
    PutInt(out, f.Height);
    PutShortString(out, f.Picture, 15);
    PutInt(out, f.Count1);
    PutRects(out, f.Rects1);
    PutInt(out, f.Count2);
    PutRects(out, f.Rects2);
    PutInt(out, f.SheetIndex);
    Q_ASSERT(out.size() == PaperFormatSize);
    return out;
}

TMultiUpSheet DecodeMultiUpSheet(const char* p)
{
    return {GetInt(p),      GetInt(p + 4),  GetInt(p + 8),  GetInt(p + 12),
            GetInt(p + 16), GetInt(p + 20), GetInt(p + 24), GetInt(p + 28)};
}

QByteArray EncodeMultiUpSheet(const TMultiUpSheet& s)
{
    QByteArray out;
    for (int32_t v : {s.Width, s.Height, s.Columns, s.Rows, s.LeftMargin, s.TopMargin, s.HorzGap, s.VertGap})
        PutInt(out, v);
    return out;
}

FormatFileState DecodeLayoutFile(const QByteArray& bytes, TStandardFormats& out)
{
    out = {};
    if (!SignatureMatches(bytes, LayoutSignature))
        return FormatFileState::Foreign;
    if (bytes.size() < LayoutHeaderSize)
        return FormatFileState::Damaged;
    const char* p = bytes.constData();
    const qint64 n = GetInt(p + 24);
    const qint64 m = GetInt(p + 32);
    if (!CountFits(n, PaperFormatSize, LayoutHeaderSize, bytes.size()))
        return FormatFileState::Damaged;
    const qint64 sheetsAt = LayoutHeaderSize + n * PaperFormatSize;
    if (!CountFits(m, MultiUpSheetSize, sheetsAt, bytes.size()))
        return FormatFileState::Damaged;
    TStandardFormats read;
    read.Formats.reserve(n);
    for (qint64 i = 0; i < n; ++i)
        read.Formats.push_back(DecodePaperFormat(p + LayoutHeaderSize + i * PaperFormatSize));
    GetSheets(p + sheetsAt, int(m), read.Sheets);
    out = std::move(read);
    return FormatFileState::Read;
}

QByteArray EncodeLayoutFile(const TStandardFormats& formats)
{
    QByteArray out = Signature(LayoutSignature);
    const int n = int(formats.Formats.size());
    PutInt(out, n);
    PutInt(out, LayoutHeaderSize + n * PaperFormatSize);
    PutInt(out, int32_t(formats.Sheets.size()));
    for (const TPaperFormat& f : formats.Formats)
        out.append(EncodePaperFormat(f));
    for (const TMultiUpSheet& s : formats.Sheets)
        out.append(EncodeMultiUpSheet(s));
    return out;
}

FormatFileState DecodeCustomFile(const QByteArray& bytes, TCustomFormats& out)
{
    out = {};
    if (!SignatureMatches(bytes, CustomSignature))
        return FormatFileState::Foreign;
    if (bytes.size() < CustomHeaderSize)
        return FormatFileState::Damaged;
    const char* p = bytes.constData();
    const int32_t lastId = GetInt(p + 24);
    const qint64 n = GetInt(p + 28);
    const qint64 m = GetInt(p + 36);
    if (!CountFits(n, CustomPaperFormatSize, CustomHeaderSize, bytes.size()))
        return FormatFileState::Damaged;
    const qint64 sheetsAt = CustomHeaderSize + n * CustomPaperFormatSize;
    if (!CountFits(m, MultiUpSheetSize, sheetsAt, bytes.size()))
        return FormatFileState::Damaged;
    TCustomFormats read;
    read.LastId = lastId;
    read.Formats.reserve(n);
    for (qint64 i = 0; i < n; ++i) {
        const char* r = p + CustomHeaderSize + i * CustomPaperFormatSize;
        read.Formats.push_back({GetInt(r), GetInt(r + 4), DecodePaperFormat(r + 8), GetInt(r + 664)});
    }
    GetSheets(p + sheetsAt, int(m), read.Sheets);
    out = std::move(read);
    return FormatFileState::Read;
}

QByteArray EncodeCustomFile(const TCustomFormats& formats)
{
    QByteArray out = Signature(CustomSignature);
    const int n = int(formats.Formats.size());
    PutInt(out, formats.LastId);
    PutInt(out, n);
    PutInt(out, CustomHeaderSize + n * CustomPaperFormatSize);
    PutInt(out, int32_t(formats.Sheets.size()));
    for (const TCustomPaperFormat& f : formats.Formats) {
        PutInt(out, f.Id);
        PutInt(out, f.Source);
        out.append(EncodePaperFormat(f.Format));
        PutInt(out, f.Horizontal);
    }
    for (const TMultiUpSheet& s : formats.Sheets)
        out.append(EncodeMultiUpSheet(s));
    return out;
}

FormatFileState LoadLayoutFormats(const QString& path, TStandardFormats& out)
{
    out = {};
    QByteArray bytes;
    const FormatFileState state = ReadWholeFile(path, bytes);
    return state == FormatFileState::Read ? DecodeLayoutFile(bytes, out) : state;
}

FormatFileState LoadCustomFormats(const QString& path, TCustomFormats& out)
{
    out = {};
    QByteArray bytes;
    const FormatFileState state = ReadWholeFile(path, bytes);
    return state == FormatFileState::Read ? DecodeCustomFile(bytes, out) : state;
}

bool SaveCustomFormats(const QString& path, const TCustomFormats& formats, QString* error)
{
    if (formats.Formats.empty()) {
        QFile file(path);
        if (!file.exists() || file.remove())
            return true;
        if (error)
            *error = file.errorString();
        return false;
    }
    QSaveFile file(path);
    const QByteArray bytes = EncodeCustomFile(formats);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

bool ReadLayoutFormat(const QString& path, int index, TPaperFormat& format, TMultiUpSheet& sheet)
{
    QFile file(path);
    if (index < 0 || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(LayoutHeaderSize);
    if (header.size() < LayoutHeaderSize || !SignatureMatches(header, LayoutSignature))
        return false;
    const qint64 n = GetInt(header.constData() + 24);
    const qint64 sheetsAt = GetInt(header.constData() + 28);
    const qint64 m = GetInt(header.constData() + 32);
    if (index >= n || !file.seek(LayoutHeaderSize + qint64(index) * PaperFormatSize))
        return false;
    const QByteArray record = file.read(PaperFormatSize);
    if (record.size() < PaperFormatSize)
        return false;
    format = DecodePaperFormat(record.constData());
    sheet = {};
    if (format.SheetIndex > 0 && format.SheetIndex <= m) {
        if (!file.seek(sheetsAt + qint64(format.SheetIndex - 1) * MultiUpSheetSize))
            return false;
        const QByteArray bytes = file.read(MultiUpSheetSize);
        if (bytes.size() < MultiUpSheetSize)
            return false;
        sheet = DecodeMultiUpSheet(bytes.constData());
    }
    return true;
}

QString LayoutFormatPath()
{
    return ProgramFolder + QStringLiteral("Common/") + LayoutFormatFileName;
}

QString CustomFormatPath()
{
    return DataFolder + CustomFormatFileName;
}

QString FormatPictureFolder()
{
    return ProgramFolder + QStringLiteral("Common/Format/");
}

TShownSheet ShownSheet(const TMultiUpSheet& s, int32_t pieceHeight, int32_t direction)
{
    if (direction == 0)
        return {s.Width, s.Height, s.Columns, s.Rows, s.LeftMargin, s.TopMargin, s.HorzGap, s.VertGap};
    const int32_t top =
        s.Width - pieceHeight * s.Columns - s.HorzGap * std::max(0, s.Columns - 1) - s.LeftMargin;
    return {s.Height, s.Width, s.Rows, s.Columns, s.TopMargin, top, s.VertGap, s.HorzGap};
}

TMultiUpSheet StoredSheet(const TShownSheet& s, int32_t pieceHeight, int32_t direction)
{
    if (direction == 0)
        return {s.Width, s.Height, s.Columns, s.Rows, s.Left, s.Top, s.HorzGap, s.VertGap};
    const int32_t left = s.Height - s.Rows * pieceHeight - s.VertGap * std::max(0, s.Rows - 1) - s.Top;
    return {s.Height, s.Width, s.Rows, s.Columns, left, s.Left, s.VertGap, s.HorzGap};
}

TShownSheet ShownSheetOf(const TPaperFormat& paper, const TMultiUpSheet& sheet)
{
    return ShownSheet(sheet, paper.Height, paper.Kind >= PaperLabel ? paper.Direction : 0);
}

TSheetLimits ClampShownSheet(TShownSheet& s, int32_t& pieceWidth, int32_t& pieceHeight)
{
    const auto fit = [](int32_t& value, int32_t low, int32_t high) {
        value = std::clamp(value, low, std::max(low, high));
        return high;
    };
    TSheetLimits l;
    l.PieceWidth = fit(pieceWidth, 50, s.Width);
    l.PieceHeight = fit(pieceHeight, 50, s.Height);
    l.Columns = fit(s.Columns, 1, s.Width / pieceWidth);
    l.Rows = fit(s.Rows, 1, s.Height / pieceHeight);
    l.Left = fit(s.Left, 0, s.Width - pieceWidth * s.Columns);
    l.Top = fit(s.Top, 0, s.Height - pieceHeight * s.Rows);
    l.HorzGap = fit(s.HorzGap, 0, s.Columns <= 1 ? 0 : (s.Width - s.Columns * pieceWidth - s.Left) / (s.Columns - 1));
    l.VertGap = fit(s.VertGap, 0, s.Rows <= 1 ? 0 : (s.Height - s.Rows * pieceHeight - s.Top) / (s.Rows - 1));
    return l;
}

int BarcodeRectIndex(const TPaperFormat& format, int set)
{
    switch (format.Kind) {
    case PaperPostcard:
    case PaperEnvelope: {
        const int index = set == 1 ? 3 : 8;
        return index < (set == 1 ? format.Count1 : format.Count2) ? index : -1;
    }
    case PaperLabel: {
        const int count = std::min<int32_t>(set == 1 ? format.Count1 : format.Count2,
                                            set == 1 ? PresetCount1 : PresetCount2);
        return count > 0 ? count - 1 : -1;
    }
    default:
        return -1;
    }
}

int32_t TenthMmToDesign(double tenths)
{
    return int32_t(RoundHalfAway(tenths / 254.0 * 96.0));
}

void RescalePresets(const TPaperFormat& source, TPaperFormat& work)
{
    if (source.Width <= 0 || source.Height <= 0)
        return;
    const double sx = double(work.Width) / source.Width;
    const double sy = double(work.Height) / source.Height;
    const int32_t w = TenthMmToDesign(work.Width);
    const int32_t h = TenthMmToDesign(work.Height);
    work.Count1 = source.Count1;
    work.Count2 = source.Count2;
    RescaleSet(source.Rects1, work.Rects1, source.Count1, BarcodeRectIndex(source, 1), sx, sy, w, h);
    RescaleSet(source.Rects2, work.Rects2, source.Count2, BarcodeRectIndex(source, 2), sx, sy, w, h);
}

AnsiString CustomPaperName(const QString& text)
{
    return TruncateMbcs(Cp932::fromUnicode(TrimBlanks(text)), PaperNameLimit);
}

bool PaperBarcodeFits(int available, int& sizeIndex)
{
    return FitBarcodeSize(available, &sizeIndex);
}
