// Font values of the designers and list printing, full/half-width mapping and the text rewrites used when
// records are merged into frames (prefecture names, company types, kanji numerals, dashes).
#pragma once

#include "platform/Cp932.h"

#include <QList>
#include <QString>

class QFont;
class QPaintDevice;

// Character sets a face is listed under.
constexpr int AnsiCharset = 0;
constexpr int SymbolCharset = 2;
constexpr int ShiftJisCharset = 128;

// Style bits as the designers' files and the list-print templates keep them.
constexpr int FontStyleBold = 1;
constexpr int FontStyleItalic = 2;
constexpr int FontStyleUnderline = 4;
constexpr int FontStyleStrikeOut = 8;

// Face used when a font has nothing better to fall back on.
inline const QString FallbackFontFace = QStringLiteral("ＭＳ 明朝");
// The installed stand-in of the system's UI face, the program's own font.
inline const QString UiFontFace = QStringLiteral("IPAPGothic");

// A font as the documents describe it; `ToQFont` turns it into something Qt can draw with.
struct TFontSpec
{
    QString name = FallbackFontFace;
    int charset = ShiftJisCharset;
    int size = 10;       // points
    int style = 0;       // FontStyle* bits
    int escapement = 0;  // tenths of a degree, counter-clockwise
    int orientation = 0; // tenths of a degree
    int width = 0;       // average character width in device pixels; 0 = the face's own

    bool operator==(const TFontSpec&) const = default;
};

// One face offered by the font lists, with the character set it is listed under.
struct TFontNameEntry
{
    QString name;
    int charset = AnsiCharset;
};

// Maps the document face names ("ＭＳ 明朝" and kin) to the installed IPA faces; safe to call repeatedly.
void InstallFontSubstitutions();
// The Qt font for a spec, drawn on the given device (null: the screen). A leading "@" is dropped: vertical
// placement is done glyph by glyph by the callers, not by the face.
QFont ToQFont(const TFontSpec& font, const QPaintDevice* device = nullptr);

void EnumFontNames(QList<TFontNameEntry>& names, bool fixedPitchOnly, bool includeSymbol);
bool SetFontAttributes(TFontSpec* font, int charset, const QString& faceName, int size, int styleBits);
int GetFontStyleBits(const TFontSpec& font);
int GetFontStyleBits(const QFont& font);
void MakeVerticalFont(TFontSpec& font);
void MakeHorizontalFont(TFontSpec& font);
// Factor 0 or 1 restores the face's own width; the current width is measured on the device (null: screen).
void SetFontWidthFactor(TFontSpec& font, double factor, const QPaintDevice* device = nullptr);
void RotateFont180(TFontSpec& font);

// The locale's full-width mapping: ASCII and blank, half-width katakana (voiced marks composed) and
// half-width punctuation. Text that is not valid CP932 comes back unchanged.
AnsiString ToFullWidth(const AnsiString& text);
QString ToFullWidthW(const QString& text);
// The reverse mapping; full-width characters without a half-width form stay as they are.
AnsiString ToHalfWidth(const AnsiString& text);
QString ToHalfWidthW(const QString& text);

QString RemovePrefectureNames(const QString& text);
QString ExpandCompanyType(const QString& text);
QString AbbreviateCompanyType(const QString& text, bool fullWidth);
QString DigitsToKanji(const QString& text);
// Index 0: the long-vowel mark ー; index 1: の.
QString ReplaceDashes(const QString& text, int index);
