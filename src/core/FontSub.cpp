// Font values, full/half-width mapping and the merge-time text rewrites.
#include "core/FontSub.h"

#include "core/AppSub.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>

#include <mutex>

namespace {

// Document face names and the installed faces drawn in their place, best first.
struct FaceSubstitution
{
    const char16_t* documentFace;
    const char16_t* installedFaces[2];
};

const FaceSubstitution FaceSubstitutions[] = {
    {u"ＭＳ 明朝", {u"IPAMincho", u"IPA明朝"}},
    {u"ＭＳ Ｐ明朝", {u"IPAPMincho", u"IPA P明朝"}},
    {u"ＭＳ ゴシック", {u"IPAGothic", u"IPAゴシック"}},
    {u"ＭＳ Ｐゴシック", {u"IPAPGothic", u"IPA Pゴシック"}},
    {u"ＭＳ ＵＩ Gothic", {u"IPAPGothic", u"IPA Pゴシック"}},
    {u"MS Mincho", {u"IPAMincho", u"IPA明朝"}},
    {u"MS PMincho", {u"IPAPMincho", u"IPA P明朝"}},
    {u"MS Gothic", {u"IPAGothic", u"IPAゴシック"}},
    {u"MS PGothic", {u"IPAPGothic", u"IPA Pゴシック"}},
    {u"MS UI Gothic", {u"IPAPGothic", u"IPA Pゴシック"}},
};

QString stripVerticalMark(const QString& name)
{
    return name.startsWith(u'@') ? name.mid(1) : name;
}

// Escapement and orientation are kept in 0..3599 tenths of a degree.
int turnBy1800(int angle)
{
    return angle < 1800 ? angle + 1800 : angle - 1800;
}

// Replaces one occurrence at a time and searches again from where a new occurrence could start, so that a
// replacement that completes a new occurrence with its neighbours is replaced as well (as a restart from the
// beginning would). The replacement must not contain the pattern.
QString replaceRepeatedly(QString text, QStringView pattern, QStringView replacement)
{
    qsizetype from = 0;
    for (;;) {
        const qsizetype pos = text.indexOf(pattern, from);
        if (pos < 0)
            return text;
        text.replace(pos, pattern.size(), replacement.toString());
        from = qMax<qsizetype>(0, pos - pattern.size() + 1);
    }
}

// Half-width katakana U+FF61..U+FF9F with their full-width forms and the composed voiced (゛) and
// semi-voiced (゜) forms where the letter has them.
struct KanaWidthPair
{
    char16_t half;
    char16_t full;
    char16_t voiced;
    char16_t semiVoiced;
};

const KanaWidthPair KanaWidthTable[] = {
    {0xFF61, 0x3002, 0, 0},           {0xFF62, 0x300C, 0, 0},           {0xFF63, 0x300D, 0, 0},
    {0xFF64, 0x3001, 0, 0},           {0xFF65, 0x30FB, 0, 0},           {0xFF66, 0x30F2, 0, 0},
    {0xFF67, 0x30A1, 0, 0},           {0xFF68, 0x30A3, 0, 0},           {0xFF69, 0x30A5, 0, 0},
    {0xFF6A, 0x30A7, 0, 0},           {0xFF6B, 0x30A9, 0, 0},           {0xFF6C, 0x30E3, 0, 0},
    {0xFF6D, 0x30E5, 0, 0},           {0xFF6E, 0x30E7, 0, 0},           {0xFF6F, 0x30C3, 0, 0},
    {0xFF70, 0x30FC, 0, 0},           {0xFF71, 0x30A2, 0, 0},           {0xFF72, 0x30A4, 0, 0},
    {0xFF73, 0x30A6, 0x30F4, 0},      {0xFF74, 0x30A8, 0, 0},           {0xFF75, 0x30AA, 0, 0},
    {0xFF76, 0x30AB, 0x30AC, 0},      {0xFF77, 0x30AD, 0x30AE, 0},      {0xFF78, 0x30AF, 0x30B0, 0},
    {0xFF79, 0x30B1, 0x30B2, 0},      {0xFF7A, 0x30B3, 0x30B4, 0},      {0xFF7B, 0x30B5, 0x30B6, 0},
    {0xFF7C, 0x30B7, 0x30B8, 0},      {0xFF7D, 0x30B9, 0x30BA, 0},      {0xFF7E, 0x30BB, 0x30BC, 0},
    {0xFF7F, 0x30BD, 0x30BE, 0},      {0xFF80, 0x30BF, 0x30C0, 0},      {0xFF81, 0x30C1, 0x30C2, 0},
    {0xFF82, 0x30C4, 0x30C5, 0},      {0xFF83, 0x30C6, 0x30C7, 0},      {0xFF84, 0x30C8, 0x30C9, 0},
    {0xFF85, 0x30CA, 0, 0},           {0xFF86, 0x30CB, 0, 0},           {0xFF87, 0x30CC, 0, 0},
    {0xFF88, 0x30CD, 0, 0},           {0xFF89, 0x30CE, 0, 0},           {0xFF8A, 0x30CF, 0x30D0, 0x30D1},
    {0xFF8B, 0x30D2, 0x30D3, 0x30D4}, {0xFF8C, 0x30D5, 0x30D6, 0x30D7}, {0xFF8D, 0x30D8, 0x30D9, 0x30DA},
    {0xFF8E, 0x30DB, 0x30DC, 0x30DD}, {0xFF8F, 0x30DE, 0, 0},           {0xFF90, 0x30DF, 0, 0},
    {0xFF91, 0x30E0, 0, 0},           {0xFF92, 0x30E1, 0, 0},           {0xFF93, 0x30E2, 0, 0},
    {0xFF94, 0x30E4, 0, 0},           {0xFF95, 0x30E6, 0, 0},           {0xFF96, 0x30E8, 0, 0},
    {0xFF97, 0x30E9, 0, 0},           {0xFF98, 0x30EA, 0, 0},           {0xFF99, 0x30EB, 0, 0},
    {0xFF9A, 0x30EC, 0, 0},           {0xFF9B, 0x30ED, 0, 0},           {0xFF9C, 0x30EF, 0, 0},
    {0xFF9D, 0x30F3, 0, 0},           {0xFF9E, 0x309B, 0, 0},           {0xFF9F, 0x309C, 0, 0},
};

constexpr char16_t HalfVoicedMark = 0xFF9E;
constexpr char16_t HalfSemiVoicedMark = 0xFF9F;
constexpr char16_t IdeographicSpace = 0x3000;

// Full-width character -> its half-width spelling (one or two units).
const QHash<char16_t, QString>& halfWidthForms()
{
    static const QHash<char16_t, QString> forms = [] {
        QHash<char16_t, QString> h;
        for (const KanaWidthPair& k : KanaWidthTable) {
            h.insert(k.full, QString(QChar(k.half)));
            if (k.voiced)
                h.insert(k.voiced, QString(QChar(k.half)) + QChar(HalfVoicedMark));
            if (k.semiVoiced)
                h.insert(k.semiVoiced, QString(QChar(k.half)) + QChar(HalfSemiVoicedMark));
        }
        return h;
    }();
    return forms;
}

const KanaWidthPair* halfKana(char16_t c)
{
    if (c < KanaWidthTable[0].half || c > HalfSemiVoicedMark)
        return nullptr;
    return &KanaWidthTable[c - KanaWidthTable[0].half];
}

// Maps CP932 text through a wide mapping; undecodable text, or a result CP932 cannot hold, leaves it as it
// was.
AnsiString mapAnsi(const AnsiString& text, QString (*mapping)(const QString&))
{
    const QString wide = Cp932::toUnicode(text);
    if (wide.contains(QChar::ReplacementCharacter))
        return text;
    bool ok = true;
    const AnsiString mapped = Cp932::fromUnicode(mapping(wide), &ok);
    return ok ? mapped : text;
}

struct CompanyType
{
    const char16_t* fullWord;
    const char16_t* fullWidthAbbreviation;
    const char16_t* halfWidthAbbreviation;
    const char16_t* spellings[6];
};

const CompanyType CompanyTypes[] = {
    {u"株式会社", u"（株）", u"(株)", {u"（株）", u"（株", u"株）", u"(株)", u"(株", u"株)"}},
    {u"有限会社", u"（有）", u"(有)", {u"（有）", u"（有", u"有）", u"(有)", u"(有", u"有)"}},
    {u"合資会社", u"（資）", u"(資)", {u"（資）", u"（資", u"資）", u"(資)", u"(資", u"資)"}},
    {u"合名会社", u"（名）", u"(名)", {u"（名）", u"（名", u"名）", u"(名)", u"(名", u"名)"}},
    {u"相互会社", u"（相）", u"(相)", {u"（相）", u"（相", u"相）", u"(相)", u"(相", u"相)"}},
    {u"財団法人", u"（財）", u"(財)", {u"（財）", u"（財", u"財）", u"(財)", u"(財", u"財)"}},
    {u"社団法人", u"（社）", u"(社)", {u"（社）", u"（社", u"社）", u"(社)", u"(社", u"社)"}},
    {u"宗教法人", u"（宗）", u"(宗)", {u"（宗）", u"（宗", u"宗）", u"(宗)", u"(宗", u"宗)"}},
    {u"学校法人", u"（学）", u"(学)", {u"（学）", u"（学", u"学）", u"(学)", u"(学", u"学)"}},
};

const char16_t KanjiDigits[] = u"〇一二三四五六七八九";
const char16_t Dashes[] = {0xFF0D, 0x2015, 0x2010};
const char16_t DashReplacements[] = {0x30FC, u'の'};

} // namespace

void InstallFontSubstitutions()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (const FaceSubstitution& s : FaceSubstitutions) {
            QStringList faces;
            for (const char16_t* face : s.installedFaces)
                faces << QString::fromUtf16(face);
            QFont::insertSubstitutions(QString::fromUtf16(s.documentFace), faces);
        }
    });
}

QFont ToQFont(const TFontSpec& font, const QPaintDevice* device)
{
    InstallFontSubstitutions();
    QFont f;
    // The fall-back face stands behind every face, so Japanese text never ends up without glyphs.
    f.setFamilies({stripVerticalMark(font.name), FallbackFontFace});
    f.setPointSize(qMax(1, font.size));
    f.setBold(font.style & FontStyleBold);
    f.setItalic(font.style & FontStyleItalic);
    f.setUnderline(font.style & FontStyleUnderline);
    f.setStrikeOut(font.style & FontStyleStrikeOut);
    if (font.width > 0) {
        const int natural =
            device ? QFontMetrics(f, device).averageCharWidth() : QFontMetrics(f).averageCharWidth();
        if (natural > 0)
            f.setStretch(qBound(1, int(RoundHalfAway(font.width * 100.0 / natural)), 4000));
    }
    return f;
}

void EnumFontNames(QList<TFontNameEntry>& names, bool fixedPitchOnly, bool includeSymbol)
{
    const QStringList families = QFontDatabase::families();
    for (const QString& family : families) {
        if (family.startsWith(u'@') || !QFontDatabase::isScalable(family) ||
            QFontDatabase::isPrivateFamily(family))
            continue;
        if (fixedPitchOnly && !QFontDatabase::isFixedPitch(family))
            continue;
        const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
        int charset;
        if (systems.contains(QFontDatabase::Japanese))
            charset = ShiftJisCharset;
        else if (systems.contains(QFontDatabase::Latin))
            charset = AnsiCharset;
        else if (includeSymbol && systems.contains(QFontDatabase::Symbol))
            charset = SymbolCharset;
        else
            continue;
        names.append({family, charset});
    }
}

bool SetFontAttributes(TFontSpec* font, int charset, const QString& faceName, int size, int styleBits)
{
    if (!font)
        return false;
    font->charset = charset;
    font->name = faceName;
    font->size = size;
    font->style = styleBits & (FontStyleBold | FontStyleItalic | FontStyleUnderline | FontStyleStrikeOut);
    return true;
}

int GetFontStyleBits(const TFontSpec& font)
{
    return font.style & (FontStyleBold | FontStyleItalic | FontStyleUnderline | FontStyleStrikeOut);
}

int GetFontStyleBits(const QFont& font)
{
    return (font.bold() ? FontStyleBold : 0) | (font.italic() ? FontStyleItalic : 0) |
           (font.underline() ? FontStyleUnderline : 0) | (font.strikeOut() ? FontStyleStrikeOut : 0);
}

void MakeVerticalFont(TFontSpec& font)
{
    if (font.charset == ShiftJisCharset && !font.name.startsWith(u'@'))
        font.name.prepend(u'@');
    font.escapement = 2700;
    font.orientation = 2700;
}

void MakeHorizontalFont(TFontSpec& font)
{
    font.name = stripVerticalMark(font.name);
    font.escapement = 0;
    font.orientation = 0;
}

void SetFontWidthFactor(TFontSpec& font, double factor, const QPaintDevice* device)
{
    if (factor == 0.0 || factor == 1.0) {
        font.width = 0;
        return;
    }
    int current = font.width;
    if (current <= 0) {
        const QFont f = ToQFont(font, device);
        current = device ? QFontMetrics(f, device).averageCharWidth() : QFontMetrics(f).averageCharWidth();
    }
    font.width = int(factor * current + 0.5);
}

void RotateFont180(TFontSpec& font)
{
    font.escapement = turnBy1800(font.escapement);
    font.orientation = turnBy1800(font.orientation);
}

QString ToFullWidthW(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u' ') {
            out += QChar(IdeographicSpace);
        } else if (c >= 0x21 && c <= 0x7E) {
            out += QChar(char16_t(c - 0x21 + 0xFF01));
        } else if (const KanaWidthPair* k = halfKana(c)) {
            const char16_t next = i + 1 < text.size() ? text[i + 1].unicode() : 0;
            if (next == HalfVoicedMark && k->voiced) {
                out += QChar(k->voiced);
                ++i;
            } else if (next == HalfSemiVoicedMark && k->semiVoiced) {
                out += QChar(k->semiVoiced);
                ++i;
            } else {
                out += QChar(k->full);
            }
        } else {
            out += QChar(c);
        }
    }
    return out;
}

QString ToHalfWidthW(const QString& text)
{
    const QHash<char16_t, QString>& forms = halfWidthForms();
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == IdeographicSpace) {
            out += u' ';
        } else if (c >= 0xFF01 && c <= 0xFF5E) {
            out += QChar(char16_t(c - 0xFF01 + 0x21));
        } else if (auto it = forms.constFind(c); it != forms.constEnd()) {
            out += *it;
        } else {
            out += ch;
        }
    }
    return out;
}

AnsiString ToFullWidth(const AnsiString& text)
{
    return mapAnsi(text, ToFullWidthW);
}

AnsiString ToHalfWidth(const AnsiString& text)
{
    return mapAnsi(text, ToHalfWidthW);
}

QString RemovePrefectureNames(const QString& text)
{
    QString out = text;
    for (const QString& name : PrefectureNames())
        out = replaceRepeatedly(std::move(out), name, u"");
    return out;
}

QString ExpandCompanyType(const QString& text)
{
    QString out = text;
    for (const CompanyType& type : CompanyTypes) {
        for (const char16_t* spelling : type.spellings)
            out = replaceRepeatedly(std::move(out), QStringView(spelling), QStringView(type.fullWord));
    }
    return out;
}

QString AbbreviateCompanyType(const QString& text, bool fullWidth)
{
    QString out = text;
    for (const CompanyType& type : CompanyTypes) {
        const char16_t* abbreviation = fullWidth ? type.fullWidthAbbreviation : type.halfWidthAbbreviation;
        out = replaceRepeatedly(std::move(out), QStringView(type.fullWord), QStringView(abbreviation));
    }
    return out;
}

QString DigitsToKanji(const QString& text)
{
    QString out = text;
    for (QChar& ch : out) {
        if (ch.unicode() >= 0xFF10 && ch.unicode() <= 0xFF19)
            ch = QChar(KanjiDigits[ch.unicode() - 0xFF10]);
    }
    return out;
}

QString ReplaceDashes(const QString& text, int index)
{
    if (index < 0 || index > 1)
        return text;
    QString out = text;
    for (QChar& ch : out) {
        if (std::find(std::begin(Dashes), std::end(Dashes), ch.unicode()) != std::end(Dashes))
            ch = QChar(DashReplacements[index]);
    }
    return out;
}
