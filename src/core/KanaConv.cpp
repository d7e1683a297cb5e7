// Table-driven kana conversions used by the reading-copy edits.
#include "core/KanaConv.h"

#include <QHash>

namespace {

// Position by position: the plain kana and marks, then the voiced ones that take two half-width characters.
const char16_t kPlainFrom[] = u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよ"
                              u"らりるれろわをんぁぃぅぇぉっゃゅょー、。";
const char16_t kPlainTo[] = u"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝｧｨｩｪｫｯｬｭｮｰ､｡";
const char16_t kVoicedFrom[] = u"ヴがぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ";
const char16_t kVoicedTo[] = u"ｳﾞｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ";

static_assert(std::size(kPlainFrom) == 59 && std::size(kPlainTo) == 59);
static_assert(std::size(kVoicedFrom) == 27 && std::size(kVoicedTo) == 53);

const QHash<char16_t, QString>& hiraganaTable()
{
    static const QHash<char16_t, QString> table = [] {
        QHash<char16_t, QString> t;
        for (size_t i = 0; i + 1 < std::size(kPlainFrom); ++i)
            t.insert(kPlainFrom[i], QString(QChar(kPlainTo[i])));
        for (size_t i = 0; i + 1 < std::size(kVoicedFrom); ++i)
            t.insert(kVoicedFrom[i], QString::fromUtf16(kVoicedTo + 2 * i, 2));
        // Input methods on this platform give the hiragana form of "vu".
        t.insert(u'ゔ', QStringLiteral(u"ｳﾞ"));
        return t;
    }();
    return table;
}

// Full-width katakana U+30A1..U+30FC; an empty entry has no half-width form.
const char16_t* const kKatakanaHalf[] = {
    u"ｧ", u"ｱ",  u"ｨ",  u"ｲ",  u"ｩ",  u"ｳ",  u"ｪ",  u"ｴ",  u"ｫ",  u"ｵ",         // ァ..オ
    u"ｶ", u"ｶﾞ", u"ｷ",  u"ｷﾞ", u"ｸ",  u"ｸﾞ", u"ｹ",  u"ｹﾞ", u"ｺ",  u"ｺﾞ",        // カ..ゴ
    u"ｻ", u"ｻﾞ", u"ｼ",  u"ｼﾞ", u"ｽ",  u"ｽﾞ", u"ｾ",  u"ｾﾞ", u"ｿ",  u"ｿﾞ",        // サ..ゾ
    u"ﾀ", u"ﾀﾞ", u"ﾁ",  u"ﾁﾞ", u"ｯ",  u"ﾂ",  u"ﾂﾞ", u"ﾃ",  u"ﾃﾞ", u"ﾄ",  u"ﾄﾞ", // タ..ド
    u"ﾅ", u"ﾆ",  u"ﾇ",  u"ﾈ",  u"ﾉ",                                            // ナ..ノ
    u"ﾊ", u"ﾊﾞ", u"ﾊﾟ", u"ﾋ",  u"ﾋﾞ", u"ﾋﾟ", u"ﾌ",  u"ﾌﾞ", u"ﾌﾟ",               // ハ..プ
    u"ﾍ", u"ﾍﾞ", u"ﾍﾟ", u"ﾎ",  u"ﾎﾞ", u"ﾎﾟ",                                    // ヘ..ポ
    u"ﾏ", u"ﾐ",  u"ﾑ",  u"ﾒ",  u"ﾓ",                                            // マ..モ
    u"ｬ", u"ﾔ",  u"ｭ",  u"ﾕ",  u"ｮ",  u"ﾖ",                                     // ャ..ヨ
    u"ﾗ", u"ﾘ",  u"ﾙ",  u"ﾚ",  u"ﾛ",                                            // ラ..ロ
    u"",  u"ﾜ",  u"",   u"",   u"ｦ",  u"ﾝ",  u"ｳﾞ", u"",   u"",                 // ヮ..ヶ
    u"",  u"",   u"",   u"",   u"･",  u"ｰ",                                     // ヷ..ー
};
static_assert(std::size(kKatakanaHalf) == 0x30FC - 0x30A1 + 1);

struct SignPair
{
    char16_t from;
    char16_t to;
};
// Signs outside the full-width ASCII block. The yen sign is the backslash byte in CP932; U+2212 and
// U+301C are the forms Linux input methods give for the full-width minus and wave dash.
const SignPair kSigns[] = {
    {u'\u3000', u' '}, {u'、', u'､'}, {u'。', u'｡'},  {u'「', u'｢'},     {u'」', u'｣'},
    {u'゛', u'ﾞ'},     {u'゜', u'ﾟ'}, {u'￥', u'\\'}, {u'\u2212', u'-'}, {u'\u301C', u'~'},
};

} // namespace

namespace KanaConv {

QString HiraganaToHalfKatakana(const QString& text)
{
    const auto& table = hiraganaTable();
    QString out;
    out.reserve(text.size() * 2);
    for (QChar ch : text) {
        auto it = table.constFind(ch.unicode());
        if (it != table.constEnd())
            out += *it;
        else
            out += ch;
    }
    return out;
}

QString ToHalfWidth(const QString& text)
{
    QString out;
    out.reserve(text.size() * 2);
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E) {
            out += QChar(char16_t(u - 0xFF01 + 0x21));
            continue;
        }
        if (u >= 0x30A1 && u <= 0x30FC) {
            const char16_t* half = kKatakanaHalf[u - 0x30A1];
            out += half[0] ? QString::fromUtf16(half) : QString(ch);
            continue;
        }
        const auto* sign = std::find_if(std::begin(kSigns), std::end(kSigns),
                                        [u](const SignPair& pair) { return pair.from == u; });
        out += sign != std::end(kSigns) ? QChar(sign->to) : ch;
    }
    return out;
}

} // namespace KanaConv
