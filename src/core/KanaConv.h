// Kana conversions for readings: hiragana to half-width katakana and full-width to half-width forms.
#pragma once

#include <QString>

namespace KanaConv {

// Hiragana (and the long mark and the two full-width stops) to half-width katakana; voiced kana become a
// base kana plus a voicing mark. Every other character stays.
QString HiraganaToHalfKatakana(const QString& text);

// Full-width katakana, Latin letters, digits, signs and the ideographic space to their half-width forms,
// the way the system's half-width mapping does it. Characters without a half-width form stay.
QString ToHalfWidth(const QString& text);

} // namespace KanaConv
