// The condition rules of the category and area search.
#include "search/CtgryCond.h"

#include "search/Dlkelvor17.h"

#include <cstring>

AnsiString CutListedName(const AnsiString& name)
{
    return Cp932::cutAtBoundary(name, ListedNameMaxBytes);
}

AnsiString CategoryCodeText(int major, int minorObject)
{
    if (minorObject > 0)
        return QByteArray::number(minorObject).rightJustified(4, '0');
    if (major > 0)
        return QByteArray::number(major).rightJustified(2, '0');
    return {};
}

int ToggledPhoneKinds(int kinds, int tag, bool checked)
{
    const int next = checked ? (kinds | tag) : (kinds & ~tag);
    return next == 0 ? kinds : next;
}

void PeriodFields(int fromYear, int fromMonth, int toYear, int toMonth, AnsiString& from, AnsiString& to)
{
    from.clear();
    to.clear();
    if (fromYear <= 0)
        return;
    auto text = [](int year, int month) {
        return QByteArray::number(year).rightJustified(4, '0') +
               QByteArray::number(month).rightJustified(2, '0');
    };
    from = text(fromYear, fromMonth);
    to = text(toYear, toMonth);
    if (from > to)
        std::swap(from, to);
}

const QStringList& RegionCaptions()
{
    static const QStringList captions{QStringLiteral("全国"),       QStringLiteral("北海道・東北"),
                                      QStringLiteral("関東"),       QStringLiteral("東京都"),
                                      QStringLiteral("中部"),       QStringLiteral("近畿"),
                                      QStringLiteral("中国・四国"), QStringLiteral("九州・沖縄")};
    return captions;
}

QList<int> RegionPrefectureIndexes(int region)
{
    auto range = [](int from, int to) {
        QList<int> out;
        for (int i = from; i <= to; ++i)
            out << i;
        return out;
    };
    switch (region) {
    case 1:
        return range(0, 6);
    case 2:
        return {7, 8, 9, 10, 11, 13};
    case 3:
        return {12};
    case 4:
        return range(14, 22);
    case 5:
        return range(23, 29);
    case 6:
        return range(30, 38);
    case 7:
        return range(39, 46);
    default:
        return {};
    }
}

QString GroupHeadText(const char (&head)[2])
{
    static const QString hiragana = QStringLiteral(
        "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわん");
    const auto first = static_cast<unsigned char>(head[0]);
    if (first >= 0xB1 && first <= 0xDD)
        return hiragana.mid(first - 0xB1, 1);
    const int n = first == 0 ? 0 : (Cp932::isLeadByteValue(first) && head[1] ? 2 : 1);
    return ToWide(AnsiString(head, n));
}

QList<TDirSearchCondRec> BuildConditionRecords(const TAreaCodeList& areas, const AnsiString& category,
                                               int phoneKinds, const AnsiString& periodFrom,
                                               const AnsiString& periodTo, int legalForm,
                                               const QString& dataFolder, const QString& dicFolder)
{
    auto put = [](auto& field, const AnsiString& text) {
        std::memset(field, 0, sizeof field);
        std::memcpy(field, text.constData(), std::min<size_t>(text.size(), sizeof field - 1));
    };
    QList<TDirSearchCondRec> out;
    for (const TAreaCode& area : areas) {
        TDirSearchCondRec c;
        std::memset(&c, 0, sizeof c);
        put(c.Category, category);
        put(c.AreaCode, area.code);
        c.Fixed1 = 1;
        c.PhoneKinds = phoneKinds;
        put(c.PeriodFrom, periodFrom);
        put(c.PeriodTo, periodTo);
        c.LegalForm = legalForm;
        c.Fixed2 = 1;
        c.MatchKind = 1;
        c.PageSize = 20;
        SetDirFolderField(c.DataFolder, dataFolder);
        SetDirFolderField(c.DicFolder, dicFolder);
        out << c;
    }
    return out;
}

QString AreaCaptionOf(const TAreaCodeList& areas, const QString& prefecture, const QString& city,
                      const QString& oaza)
{
    if (areas.isEmpty())
        return {};
    const int k = areas.first().kind;
    const qsizetype n = areas.size();
    if (k == AreaKindCountry || (k == AreaKindPrefecture && n > 1))
        return {};
    QString caption = prefecture;
    if (k == AreaKindOaza || (k == AreaKindCity && n == 1))
        caption += city;
    if (k == AreaKindOaza && n == 1)
        caption += oaza;
    return caption;
}

QString OmitAreaCaption(const QString& address, const QString& caption)
{
    QString part = caption;
    const qsizetype chome = part.indexOf(QStringLiteral("（丁目）"));
    if (chome >= 0)
        part.truncate(chome);
    if (part.isEmpty())
        return address;
    const qsizetype at = address.indexOf(part);
    if (at < 0)
        return address;
    QString out = address;
    return out.remove(at, part.size());
}

const QStringList& LegalFormCaptions()
{
    static const QStringList captions{QStringLiteral("指定しない"), QStringLiteral("株式"),
                                      QStringLiteral("有限"),       QStringLiteral("合資"),
                                      QStringLiteral("合名"),       QStringLiteral("相互"),
                                      QStringLiteral("財団法人"),   QStringLiteral("社団法人")};
    return captions;
}

const QStringList& MatchKindCaptions()
{
    static const QStringList captions{QStringLiteral("前方一致"), QStringLiteral("あいまい"),
                                      QStringLiteral("後方一致"), QStringLiteral("完全一致")};
    return captions;
}
