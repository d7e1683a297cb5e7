// Writes address books with plausible rows into a data folder, for the list tests and the screenshot run.
#pragma once

#include "core/AppSub.h"
#include "core/TableDefs.h"
#include "platform/Cp932.h"
#include "platform/TableEngine.h"

#include <QDateTime>
#include <QDir>
#include <QString>
#include <QStringList>

namespace AdrsBookGenerator {

// The postal code of row i: seven digits whatever the row count (the codes wrap within 1000001-9999999).
inline QString PostalCode(int i)
{
    return QString::number(1000001 + qint64(i) * 911 % 8999999);
}

// Creates (or extends) adrsFolder + folder + "/Adrs.DB" with count rows; answers their RecNo values.
inline QList<qint32> WriteBook(const QString& adrsFolder, const QString& folder, int count, int seed = 0)
{
    static const char* const corps[] = {"東都商事",   "北斗精機",   "青葉建設", "みなと物産", "桜井印刷",
                                        "大和製作所", "ひかり電機", "丸山食品", "光栄運輸",   "中央設計"};
    static const char* const corpKanas[] = {"ﾄｳﾄｼｮｳｼﾞ",  "ﾎｸﾄｾｲｷ",  "ｱｵﾊﾞｹﾝｾﾂ",  "ﾐﾅﾄﾌﾞｯｻﾝ", "ｻｸﾗｲｲﾝｻﾂ",
                                            "ﾔﾏﾄｾｲｻｸｼｮ", "ﾋｶﾘﾃﾞﾝｷ", "ﾏﾙﾔﾏｼｮｸﾋﾝ", "ｺｳｴｲｳﾝﾕ",  "ﾁｭｳｵｳｾｯｹｲ"};
    static const char* const names[] = {"山田 太郎", "佐藤 花子", "鈴木 一郎", "高橋 美咲", "田中 健",
                                        "伊藤 由美", "渡辺 誠",   "中村 彩",   "小林 大輔", "加藤 直子"};
    static const char* const nameKanas[] = {"ﾔﾏﾀﾞ ﾀﾛｳ", "ｻﾄｳ ﾊﾅｺ",   "ｽｽﾞｷ ｲﾁﾛｳ", "ﾀｶﾊｼ ﾐｻｷ",    "ﾀﾅｶ ｹﾝ",
                                            "ｲﾄｳ ﾕﾐ",   "ﾜﾀﾅﾍﾞ ﾏｺﾄ", "ﾅｶﾑﾗ ｱﾔ",   "ｺﾊﾞﾔｼ ﾀﾞｲｽｹ", "ｶﾄｳ ﾅｵｺ"};
    static const char* const prefs[] = {"東京都", "神奈川県", "大阪府", "愛知県", "福岡県"};
    static const char* const cities[] = {"千代田区丸の内", "横浜市西区みなとみらい", "大阪市北区梅田",
                                         "名古屋市中村区名駅", "福岡市博多区博多駅前"};
    static const char* const depts[] = {"営業部", "総務部", "開発部", "経理部", "企画室"};

    const QString path = adrsFolder + folder + QStringLiteral("/Adrs.DB");
    QDir().mkpath(adrsFolder + folder);
    if (!QFileInfo::exists(path))
        Table::createTable(path, AdrsTableDef(), TablePassword);
    TableSession session;
    session.addPassword(TablePassword);
    Table t(session);
    t.setTableName(path);
    t.open();
    QList<qint32> recNos;
    const QDateTime base(QDate(2024, 4, 1), QTime(9, 0));
    for (int i = 0; i < count; ++i) {
        const int k = (i + seed) % 10;
        const int p = (i * 7 + seed) % 5;
        t.append();
        auto set = [&](const char* field, const QString& text) {
            t.fieldByName(QString::fromLatin1(field)).setAnsi(Cp932::fromUnicode(text));
        };
        set("CorpKanji", QString::fromUtf8(corps[k]) + (i >= 10 ? QString::number(i / 10) : QString()));
        set("CorpKana", QString::fromUtf8(corpKanas[k]));
        t.fieldByName(QStringLiteral("NameKanji"))
            .setAnsi(WideToHexText(QString::fromUtf8(names[(i * 3 + seed) % 10])));
        set("NameKana", QString::fromUtf8(nameKanas[(i * 3 + seed) % 10]));
        set("Dptmnt", QString::fromUtf8(depts[i % 5]));
        set("Tel", QStringLiteral("03%1").arg(52000000 + i * 137 + seed, 8, 10, QLatin1Char('0')));
        set("Pos", PostalCode(i));
        set("Tdfkn", QString::fromUtf8(prefs[p]));
        set("Adrs1", QString::fromUtf8(cities[p]));
        set("Adrs2", QStringLiteral("%1-%2-%3").arg(1 + i % 9).arg(1 + i % 20).arg(1 + i % 7));
        t.fieldByName(QStringLiteral("Group")).setValue(i % 4);
        t.fieldByName(QStringLiteral("PrivCorp")).setValue(false);
        t.fieldByName(QStringLiteral("AddDateTime")).setDateTime(base.addSecs(qint64(i) * 3671));
        t.fieldByName(QStringLiteral("UpdDateTime")).setDateTime(base.addSecs(qint64(i) * 3671 + 60));
        recNos.append(qint32(t.post()));
    }
    t.close();
    return recNos;
}

} // namespace AdrsBookGenerator
