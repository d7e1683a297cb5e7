// Address list engine on 100,000 generated Adrs.DB rows: reloads, narrowing, duplicate view, row texts and
// a save followed by a reload (milliseconds, first run and best of three).
#include "addressbook/AdrsListEngine.h"
#include "core/AppSub.h"
#include "core/Dlhyp.h"
#include "core/TableDefs.h"
#include "platform/TableEngine.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <random>

namespace {

constexpr int kRows = 100000;

// Synthetic contents: kana readings, kanji names and addresses, numbers, groups, notes.
struct Generator
{
    std::mt19937 rng{20261210};
    int number(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    template <size_t N> QString pick(const char16_t* const (&list)[N])
    {
        return QString::fromUtf16(list[size_t(number(0, int(N) - 1))]);
    }
    QByteArray digits(int n)
    {
        QByteArray s;
        for (int i = 0; i < n; ++i)
            s += char('0' + number(0, 9));
        return s;
    }
};

void AddRows(Table& table)
{
    static const char16_t* const surnamesKana[] = {u"ｻﾄｳ", u"ｽｽﾞｷ", u"ﾀｶﾊｼ", u"ﾀﾅｶ",   u"ﾜﾀﾅﾍﾞ",
                                                   u"ｲﾄｳ", u"ﾔﾏﾓﾄ", u"ﾅｶﾑﾗ", u"ｺﾊﾞﾔｼ", u"ｶﾄｳ"};
    static const char16_t* const surnames[] = {u"佐藤", u"鈴木", u"高橋", u"田中", u"渡辺",
                                               u"伊藤", u"山本", u"中村", u"小林", u"加藤"};
    static const char16_t* const givenKana[] = {u"ﾀﾛｳ", u"ﾊﾅｺ", u"ｹﾝｼﾞ", u"ﾕｲ", u"ｼｮｳﾀ", u"ﾐｻｷ"};
    static const char16_t* const given[] = {u"太郎", u"花子", u"健二", u"結衣", u"翔太", u"美咲"};
    static const char16_t* const prefs[] = {u"東京都", u"大阪府", u"神奈川県",
                                            u"愛知県", u"福岡県", u"北海道"};
    static const char16_t* const cities[] = {u"千代田区", u"横浜市中区", u"名古屋市中村区", u"福岡市博多区",
                                             u"札幌市中央区"};
    static const char16_t* const towns[] = {u"本町", u"栄", u"中央", u"錦", u"南町", u"桜ケ丘"};
    static const char16_t* const corps[] = {u"株式会社山田商事", u"有限会社ソフト工房", u"合同会社表計算",
                                            u"株式会社日本ＡＢＣ"};
    static const char16_t* const notes[] = {u"年賀状送付先", u"取引先（重要）", u"展示会で名刺交換",
                                            u"紹介者あり"};
    Generator g;
    QList<QByteArray> recentTels;
    table.startTransaction();
    for (int i = 0; i < kRows; ++i) {
        table.append();
        auto set = [&](const char* name, const QByteArray& v) {
            if (!v.isEmpty())
                table.fieldByName(QLatin1String(name)).setAnsi(v);
        };
        const int s = g.number(0, 9);
        const int n = g.number(0, 5);
        set("NameKana", ToAnsi(QString::fromUtf16(surnamesKana[s]) + QLatin1Char(' ') +
                               QString::fromUtf16(givenKana[n])));
        set("NameKanji",
            ToAnsi(QString::fromUtf16(surnames[s]) + QChar(0x3000) + QString::fromUtf16(given[n])));
        // 5 % repeat a number registered shortly before.
        QByteArray tel = "0" + g.digits(9);
        if (!recentTels.isEmpty() && g.number(0, 99) < 5)
            tel = recentTels[g.number(0, int(recentTels.size()) - 1)];
        recentTels.append(tel);
        if (recentTels.size() > 500)
            recentTels.removeFirst();
        set("Tel", tel);
        set("Pos", g.digits(7));
        set("Tdfkn", ToAnsi(g.pick(prefs)));
        set("Adrs1", ToAnsi(g.pick(cities)));
        set("Adrs2", ToAnsi(g.pick(towns)) + QByteArray::number(g.number(1, 9)) + "-" +
                         QByteArray::number(g.number(1, 30)));
        set("CorpKanji", ToAnsi(g.pick(corps)));
        if (i % 3 == 0)
            set("Note", ToAnsi(g.pick(notes) + QStringLiteral("\r\n%1回訪問\r\n").arg(g.number(1, 20))));
        if (i % 10 == 0)
            set("MyNumber", EncryptFieldText(g.digits(12), FieldCipherKey));
        table.fieldByName(QStringLiteral("Group")).setInteger(g.number(0, 10));
        table.fieldByName(QStringLiteral("AddDateTime"))
            .setDateTime(QDateTime(QDate(2024, 1, 1), QTime(9, 0)));
        table.post();
    }
    table.commit();
}

struct Figure
{
    double first = 0;
    double best = 1e300;
};

Figure Measure(const std::function<void()>& run, int times = 3)
{
    Figure f;
    for (int i = 0; i < times; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        const double ms = double(t.nsecsElapsed()) / 1e6;
        if (i == 0)
            f.first = ms;
        f.best = std::min(f.best, ms);
    }
    return f;
}

// The figure is taken before the row count is read.
void Report(const char* what, const std::function<void()>& run, const std::function<int()>& shown,
            double targetMs)
{
    const Figure f = Measure(run);
    std::printf("%-58s %9.1f %9.1f %8d   %s\n", what, f.first, f.best, shown(),
                f.best <= targetMs ? "ok" : "OVER TARGET");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString programDir = QStringLiteral(TOVAREL_PROGRAM_DIR);
    const bool hyphen = LoadHyphenLibrary(programDir, programDir + QStringLiteral("Dic/")) == 0;

    QTemporaryDir dir;
    Table::createTable(dir.filePath(QStringLiteral("Adrs.DB")), AdrsTableDef(), TablePassword);
    TableSession::global().addPassword(TablePassword);
    Table table;
    table.setDatabaseName(dir.path());
    table.setTableName(QStringLiteral("Adrs.DB"));
    table.open();
    QElapsedTimer build;
    build.start();
    AddRows(table);
    std::printf("generated %d rows in %.1f s (hyphenation %s)\n\n", kRows, double(build.elapsed()) / 1000,
                hyphen ? "loaded" : "not loaded");
    std::printf("%-58s %9s %9s %8s\n", "operation", "first ms", "best ms", "rows");

    TAdrsListEngine engine(table);
    const auto count = [&] { return engine.GetRecordCount(); };
    const auto forty = [] { return 40; };
    HyphenatePhoneText("0312345678"); // the library reads its tables once per run
    engine.CellContext().GroupNames = {QStringLiteral("家族"), QStringLiteral("友人")};

    engine.SetViewState(0, 0, true);
    Report(
        "reload, registration order", [&] { engine.RefreshList(true, true, false); }, count, 500);

    engine.SetViewState(0, 7, false);
    Report(
        "reload, NameKana descending", [&] { engine.RefreshList(true, true, false); }, count, 500);

    engine.SetViewState(3, 5, true);
    Report(
        "reload, group 2, CorpKana ascending", [&] { engine.RefreshList(true, true, false); }, count, 500);

    TNarrowDownCondition cond;
    auto item = [](int row, const AnsiString& text, int condition) {
        TNarrowDownItem it;
        it.item = row;
        it.text = text;
        it.condition = condition;
        return it;
    };
    cond.items = {item(32, ToAnsi(QStringLiteral("取引先")), TNarrowDownItem::Contains),
                  item(1, "03", TNarrowDownItem::BeginsWith), item(10, "1", TNarrowDownItem::Contains)};
    engine.SetViewState(0, 0, true);
    engine.SetNarrowCondition(cond);
    engine.CellContext().AdminPasswordSet = true;
    engine.CellContext().AdminMode = true;
    Report(
        "reload, AND of note / telephone / MyNumber (administrator)",
        [&] { engine.RefreshList(true, true, false); }, count, 500);
    engine.SetNarrowCondition({});

    engine.SetDuplicateItems(2, 4);
    Report(
        "duplicate view, address + name", [&] { engine.RefreshList(true, true, false); }, count, 1000);
    engine.SetDuplicateItems(1, 0);
    Report(
        "duplicate view, telephone", [&] { engine.RefreshList(true, true, false); }, count, 1000);
    engine.SetDuplicateItems(0, 0);

    engine.SetViewState(0, 7, true);
    engine.RefreshList(true, true, false);
    auto texts = [&](int from) {
        return [&engine, from] {
            engine.RefreshList(false, false, false); // drops the texts
            for (int i = from; i < from + 40; ++i)
                engine.RowTexts(i);
        };
    };
    Report("texts of 40 rows, default columns", texts(50000), forty, 20);
    TAddressColumns all = engine.Columns();
    for (TAddressColumnRec& c : all)
        c.shown = true;
    engine.SetColumns(all);
    engine.RefreshList(true, false, false);
    Report("texts of 40 rows, all 52 columns", texts(60000), forty, 20);

    engine.SetViewState(0, 0, true);
    engine.RefreshList(true, true, false);
    Report("texts of 40 rows in registration order, all columns", texts(70000), forty, 20);
    engine.SetViewState(3, 5, true);
    Report(
        "reload, group 2, CorpKana ascending, after the texts",
        [&] { engine.RefreshList(true, true, false); }, count, 500);
    engine.SetViewState(0, 7, true);
    engine.RefreshList(true, true, false);
    Report(
        "reload, NameKana ascending, after the texts", [&] { engine.RefreshList(true, true, false); }, count,
        500);

    int found = -1;
    int step = 0;
    Report(
        "save one row + reload + IndexOfRecNo",
        [&] {
            const qint32 recNo = engine.GetRecNo(1000 + step++);
            TAdrsTableRow& row = engine.AdrsRow();
            row.FindRecNo(recNo);
            table.edit();
            table.fieldByName(QStringLiteral("NameKana")).setAnsi(ToAnsi(QStringLiteral("ｱｱｱ%1").arg(step)));
            table.post();
            engine.RefreshList(false, true, true);
            found = engine.IndexOfRecNo(recNo);
        },
        [&] { return found; }, 500);

    table.close();
    if (hyphen)
        FreeHyphenLibrary();
    return 0;
}
