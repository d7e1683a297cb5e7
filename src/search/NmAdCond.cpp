// The name and address search's condition rules.
#include "search/NmAdCond.h"

AnsiString StripControlChars(const AnsiString& text)
{
    AnsiString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (Cp932::isLeadByteValue(b) && i + 1 < text.size()) {
            out += text.mid(i, 2);
            i += 2;
            continue;
        }
        if ((b >= 0x20 && b <= 0x7F) || (b >= 0xA1 && b <= 0xDF))
            out += char(b);
        ++i;
    }
    return out;
}

bool NameIsBlank(const AnsiString& name)
{
    const AnsiString clean = StripControlChars(name);
    for (int i = 0; i < clean.size();) {
        const int n = Cp932::charLengthAt(clean, i);
        const AnsiString ch = clean.mid(i, n);
        if (ch != " " && ch != "\x81\x40")
            return false;
        i += n;
    }
    return true;
}

TNameCheckResult CheckNameConditions(const TNameCheckInput& in)
{
    if (in.job == 1 && in.region == 0)
        return {QStringLiteral("全国を指定したファイル出力はできません  "), false};
    if (in.job == 1 && in.prefectureCount > 1)
        return {QStringLiteral("複数都道府県を指定したファイル出力はできません  "), false};
    if (!(in.phoneKinds & (1 | 8)) || !NameIsBlank(in.name))
        return {};
    if (in.job != 1 ? in.citySpecific : in.oazaSpecific)
        return {};
    static const QString jobs[] = {QStringLiteral("件数確認"), QStringLiteral("ファイル出力"),
                                   QStringLiteral("検索")};
    return {QStringLiteral("この条件で") + jobs[std::clamp(in.job, 0, 2)] +
                QStringLiteral("を行うために  \r\n名称が入力されている必要があります  "),
            true};
}

AnsiString IncludeNamesText(const AnsiString& name, const QStringList& names)
{
    AnsiString out = name.isEmpty() ? AnsiString() : name + ',';
    for (const QString& n : names)
        out += ToAnsi(n) + ',';
    out += '\0';
    return out;
}

AnsiString ExcludeNamesText(const QStringList& names)
{
    return IncludeNamesText({}, names);
}
