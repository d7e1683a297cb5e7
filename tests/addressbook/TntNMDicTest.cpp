// Tests of the name-reading popup: grid layout, keys, mouse picks, kind switch, closing and a missing
// library.
#include "addressbook/TntNMDic.h"
#include "platform/LibraryLoader.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <cstring>

namespace {

const QString ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
const QString FixtureFolder = QStringLiteral(TOVAREL_TEST_DATA_DIR "NameDic/");

// A form with one name edit that records what the popup tells it.
class OwnerForm : public QWidget
{
public:
    OwnerForm()
    {
        setWindowTitle(QStringLiteral("個人"));
        auto* layout = new QVBoxLayout(this);
        edit = new QLineEdit(this);
        layout->addWidget(edit);
        layout->addStretch(1);
        resize(420, 300);
    }

    struct Chosen
    {
        QString word, reading;
        TNameDicKind kind;
        int tag;
    };
    QList<Chosen> chosen;
    QLineEdit* edit;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == MsgNameChosen && NameDicPopup) {
            chosen.append({NameDicPopup->ChosenWord(), NameDicPopup->Reading(), NameDicPopup->NameKind(),
                           NameDicPopup->Tag()});
            return true;
        }
        return QWidget::event(e);
    }
};

QStringList rowsOf(const TNameGrid& g)
{
    QStringList out;
    for (int r = 0; r < g.RowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < g.ColCount(); ++c)
            cells << g.Cell(c, r);
        while (cells.size() > 1 && cells.last().isEmpty())
            cells.removeLast();
        out << cells.join(u'|');
    }
    return out;
}

void deliverPosted()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class TntNMDicTest : public ::testing::Test
{
protected:
    void SetUp() override { LibraryLoader::ClearFailures(); }
    void TearDown() override
    {
        if (NameDicPopup)
            NameDicPopup->close();
        deliverPosted();
        LibraryLoader::ClearFailures();
    }

    // A popup over the fixture dictionary, showing the candidates of a reading.
    TTntNameDic* popupFor(OwnerForm& owner, const QString& reading, TNameDicKind kind = nkLineage)
    {
        auto* p = new TTntNameDic(&owner);
        p->SetFolders(ProgramFolder, FixtureFolder);
        p->Initialize();
        p->SetNameKind(kind);
        p->SetReading(reading);
        p->ShowCandidates(p->CountCandidates(reading, kind));
        return p;
    }

    static void activate(QWidget& w)
    {
        w.show();
        w.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    }

    QModelIndex cellIndex(TTntNameDic* p, int col, int row)
    {
        auto* grid = p->findChild<QTableView*>(QStringLiteral("sgNameList"));
        return grid->model()->index(row, col);
    }
    QPoint cellCentre(TTntNameDic* p, int col, int row)
    {
        auto* grid = p->findChild<QTableView*>(QStringLiteral("sgNameList"));
        return grid->visualRect(cellIndex(p, col, row)).center();
    }
    QWidget* gridViewport(TTntNameDic* p)
    {
        return p->findChild<QTableView*>(QStringLiteral("sgNameList"))->viewport();
    }
};

const QStringList SatoRows = {
    "ｻﾄｳ|佐藤|佐東|左藤|佐頭|里",
    "|沙藤|砂東",
    "ｻﾄﾀﾞ|里田|郷田|佐土田|聡田|智田",
    "ｻﾄﾐ|里見|里美",
};

} // namespace

TEST_F(TntNMDicTest, ComponentsAndTheGridOfTheFixture)
{
    OwnerForm owner;
    TTntNameDic* p = popupFor(owner, QStringLiteral("ｻﾄ"));
    for (const char* name : {"sgNameList", "rbLineage", "rbFirst", "lblItem", "sbtnClose", "tmrActive"})
        EXPECT_TRUE(p->findChild<QObject*>(QLatin1String(name))) << name;
    EXPECT_EQ(NameDicPopup, p);
    EXPECT_TRUE(p->HasDictionary());
    EXPECT_EQ(p->findChild<QRadioButton*>(QStringLiteral("rbLineage"))->text(), QStringLiteral("姓"));
    EXPECT_EQ(p->findChild<QRadioButton*>(QStringLiteral("rbFirst"))->text(), QStringLiteral("名"));

    const TNameGrid& g = p->Grid();
    EXPECT_EQ(rowsOf(g), SatoRows);
    EXPECT_EQ(g.ColCount(), 6);
    EXPECT_FALSE(g.HasSelection());
    EXPECT_EQ(g.Col(), 1);
    EXPECT_EQ(g.Row(), -1);
    auto* view = p->findChild<QTableView*>(QStringLiteral("sgNameList"));
    EXPECT_EQ(view->model()->rowCount(), 4);
    EXPECT_EQ(view->model()->columnCount(), 6);
    EXPECT_EQ(view->verticalHeader()->defaultSectionSize(), view->fontMetrics().height() + 4);
}

TEST(TNameGridTest, LayoutStopsAtTheFirstUnfilledRecord)
{
    TNameGrid g;
    g.SetCandidates({{"ｱ", "亜"}, {"ｱ", "阿"}, {"ｲ", "伊"}, {"", ""}, {"ｳ", "宇"}});
    EXPECT_EQ(rowsOf(g), (QStringList{"ｱ|亜|阿", "ｲ|伊"}));
    EXPECT_EQ(g.ColCount(), 3);
    g.SetCandidates({});
    EXPECT_EQ(g.RowCount(), 0);
    EXPECT_FALSE(g.IsEmpty());
    g.SetEmpty();
    EXPECT_TRUE(g.IsEmpty());
    EXPECT_EQ(g.ColCount(), 0);
    EXPECT_EQ(g.HandleKey(Qt::Key_Down, 8), TNameGrid::krNotUsed);
}

TEST(TNameGridTest, KeyMovesKeepTheRememberedColumn)
{
    TNameGrid g;
    QList<TNameCandidate> c;
    for (const QString& row : SatoRows) {
        const QStringList cells = row.split(u'|');
        for (int i = 1; i < cells.size(); ++i)
            c.append({cells[0].isEmpty() ? QStringLiteral("ｻﾄｳ") : cells[0], cells[i]});
    }
    g.SetCandidates(c);
    ASSERT_EQ(rowsOf(g), SatoRows);

    struct Step
    {
        int key;
        TNameGrid::TKeyResult result;
        int col, row, remembered;
    };
    const int none = -1;
    const Step steps[] = {
        {Qt::Key_Up, TNameGrid::krNotUsed, 1, none, 1}, // nothing selected: keys go to the input method
        {Qt::Key_Return, TNameGrid::krNotUsed, 1, none, 1},
        {Qt::Key_Down, TNameGrid::krUsed, 1, 0, 1}, // enters the grid
        {Qt::Key_Right, TNameGrid::krUsed, 2, 0, 2},
        {Qt::Key_Right, TNameGrid::krUsed, 3, 0, 3},
        {Qt::Key_Right, TNameGrid::krUsed, 4, 0, 4},
        {Qt::Key_Right, TNameGrid::krUsed, 5, 0, 5},
        {Qt::Key_Right, TNameGrid::krUsed, 5, 0, 5}, // no sixth form
        {Qt::Key_Down, TNameGrid::krUsed, 2, 1, 5},  // row of two: its last form, column 5 kept in mind
        {Qt::Key_Down, TNameGrid::krUsed, 5, 2, 5},  // full row again: column 5
        {Qt::Key_Down, TNameGrid::krUsed, 2, 3, 5},
        {Qt::Key_Down, TNameGrid::krUsed, 2, 3, 5}, // last row stays
        {Qt::Key_Tab, TNameGrid::krUsed, 2, 3, 5},  // any key is used while a cell is selected
        {Qt::Key_Up, TNameGrid::krUsed, 5, 2, 5},
        {Qt::Key_Left, TNameGrid::krUsed, 4, 2, 4},
        {Qt::Key_PageUp, TNameGrid::krUsed, 4, 0, 4},
        {Qt::Key_PageUp, TNameGrid::krUsed, 1, none, 1},    // leaves the grid from row 0
        {Qt::Key_Return, TNameGrid::krNotUsed, 1, none, 1}, // Enter goes to the input method again
        {Qt::Key_PageDown, TNameGrid::krUsed, 1, 0, 1},
        {Qt::Key_Left, TNameGrid::krUsed, 1, 0, 1},
        {Qt::Key_PageDown, TNameGrid::krUsed, 1, 2, 1},
        {Qt::Key_PageDown, TNameGrid::krUsed, 1, 3, 1},
        {Qt::Key_PageDown, TNameGrid::krUsed, 1, 3, 1},
        {Qt::Key_Right, TNameGrid::krUsed, 2, 3, 2},
        {Qt::Key_Up, TNameGrid::krUsed, 2, 2, 2},
        {Qt::Key_Up, TNameGrid::krUsed, 2, 1, 2},
        {Qt::Key_Enter, TNameGrid::krPicked, 2, 1, 2},
    };
    int n = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "step " << n++);
        EXPECT_EQ(g.HandleKey(s.key, 2), s.result);
        EXPECT_EQ(g.Col(), s.col);
        EXPECT_EQ(g.Row(), s.row);
        EXPECT_EQ(g.RememberedCol(), s.remembered);
    }
    // The continuation row answers with the reading of the row above.
    const auto pick = g.CurrentPick();
    ASSERT_TRUE(pick.has_value());
    EXPECT_EQ(pick->word, QStringLiteral("砂東"));
    EXPECT_EQ(pick->reading, QStringLiteral("ｻﾄｳ"));
}

TEST(TNameGridTest, ScrollBarRules)
{
    struct Case
    {
        TNameGrid::TScrollAction action;
        int t, v, r, expected;
    };
    const Case cases[] = {
        {TNameGrid::saLineUp, 0, 8, 30, 0},     {TNameGrid::saLineUp, 5, 8, 30, 4},
        {TNameGrid::saLineDown, 22, 8, 30, 22}, {TNameGrid::saLineDown, 5, 8, 30, 6},
        {TNameGrid::saPageUp, 8, 8, 30, 0},     {TNameGrid::saPageUp, 12, 8, 30, 5},
        {TNameGrid::saPageDown, 0, 8, 30, 7},   {TNameGrid::saPageDown, 14, 8, 30, 22},
        {TNameGrid::saPageDown, 0, 8, 5, 0},    {TNameGrid::saPageDown, 3, 1, 10, 4},
        {TNameGrid::saPageUp, 3, 1, 10, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.action << " t=" << c.t << " v=" << c.v << " r=" << c.r);
        EXPECT_EQ(TNameGrid::ScrollTarget(c.action, c.t, c.v, c.r), c.expected);
    }
}

TEST_F(TntNMDicTest, EnterPostsTheChoiceToTheOwner)
{
    OwnerForm owner;
    TTntNameDic* p = popupFor(owner, QStringLiteral("ｻﾄ"));
    p->SetTag(3);
    EXPECT_FALSE(p->HandleKey(Qt::Key_Return));
    EXPECT_TRUE(p->HandleKey(Qt::Key_Down));
    EXPECT_TRUE(p->HandleKey(Qt::Key_Down));
    EXPECT_TRUE(p->HandleKey(Qt::Key_Right));
    EXPECT_TRUE(p->HandleKey(Qt::Key_Return));
    deliverPosted();
    ASSERT_EQ(owner.chosen.size(), 1);
    EXPECT_EQ(owner.chosen[0].word, QStringLiteral("砂東"));
    EXPECT_EQ(owner.chosen[0].reading, QStringLiteral("ｻﾄｳ"));
    EXPECT_EQ(owner.chosen[0].kind, nkLineage);
    EXPECT_EQ(owner.chosen[0].tag, 3);
    EXPECT_TRUE(TTntNameDic::ConvertKeyDown(Qt::Key_Up));
}

TEST_F(TntNMDicTest, MousePicksWithoutTakingTheFocus)
{
    OwnerForm owner;
    activate(owner);
    owner.edit->setFocus();
    TTntNameDic::ConvertNeed(&owner, owner.edit, 0, nkLineage, true, QStringLiteral("ｻﾄｳ"), Qt::blue,
                             ProgramFolder);
    QPointer<TTntNameDic> p = NameDicPopup;
    ASSERT_TRUE(p);
    ASSERT_TRUE(p->isVisible());
    // Switch it to the fixture so that the cells are known.
    p->SetFolders(ProgramFolder, FixtureFolder);
    p->ShowCandidates(p->CountCandidates(QStringLiteral("ｻﾄｳ"), nkLineage));
    ASSERT_EQ(rowsOf(p->Grid()).value(1), QStringLiteral("|沙藤|砂東"));

    QWidget* viewport = gridViewport(p);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, cellCentre(p, 0, 0)); // the reading column
    EXPECT_FALSE(p->Grid().HasSelection());
    QTest::mouseClick(viewport, Qt::LeftButton, {}, cellCentre(p, 4, 1)); // empty cell
    EXPECT_FALSE(p->Grid().HasSelection());
    QTest::mouseClick(viewport, Qt::RightButton, {}, cellCentre(p, 3, 0));
    EXPECT_FALSE(p->Grid().HasSelection());
    QTest::mouseClick(viewport, Qt::LeftButton, {}, cellCentre(p, 3, 0));
    EXPECT_EQ(p->Grid().Col(), 3);
    EXPECT_EQ(p->Grid().Row(), 0);
    EXPECT_EQ(p->Grid().RememberedCol(), 3);
    EXPECT_TRUE(owner.chosen.isEmpty());

    QTest::mouseDClick(viewport, Qt::LeftButton, {}, cellCentre(p, 2, 1));
    deliverPosted();
    ASSERT_EQ(owner.chosen.size(), 1);
    EXPECT_EQ(owner.chosen[0].word, QStringLiteral("砂東"));
    EXPECT_EQ(owner.chosen[0].reading, QStringLiteral("ｻﾄｳ"));
    EXPECT_EQ(QApplication::focusWidget(), owner.edit);
    EXPECT_EQ(QApplication::activeWindow(), &owner);
    EXPECT_FALSE(p->hasFocus());
}

TEST_F(TntNMDicTest, KindSwitchShowsAnEmptyGridOrClosesOnFailure)
{
    OwnerForm owner;
    QPointer<TTntNameDic> p = popupFor(owner, QStringLiteral("ｻﾄｳ"));
    auto* rbFirst = p->findChild<QRadioButton*>(QStringLiteral("rbFirst"));
    auto* rbLineage = p->findChild<QRadioButton*>(QStringLiteral("rbLineage"));
    ASSERT_EQ(p->Grid().RowCount(), 2);
    EXPECT_EQ(rbLineage->palette().color(QPalette::WindowText), QColor(Qt::blue));

    QTest::mouseClick(rbFirst, Qt::LeftButton);
    EXPECT_EQ(p->NameKind(), nkFirst);
    EXPECT_TRUE(rbFirst->isChecked());
    EXPECT_TRUE(p->Grid().IsEmpty());
    EXPECT_EQ(p->Grid().RowCount(), 0);
    EXPECT_EQ(p->HighlightedRadio(), 1);
    EXPECT_EQ(rbFirst->palette().color(QPalette::WindowText), QColor(Qt::blue));
    EXPECT_NE(rbLineage->palette().color(QPalette::WindowText), QColor(Qt::blue));
    EXPECT_EQ(NameDicPopup, p.data());

    p->SetReading(QStringLiteral("ｻﾄ"));
    QTest::mouseClick(rbLineage, Qt::LeftButton);
    EXPECT_EQ(rowsOf(p->Grid()), SatoRows);
    QTest::mouseClick(rbFirst, Qt::LeftButton);
    EXPECT_EQ(rowsOf(p->Grid()), QStringList{"ｻﾄｼ|聡|智"});

    // A dictionary that has gone: the count fails and the popup closes.
    p->SetFolders(ProgramFolder, FixtureFolder + QStringLiteral("missing/"));
    QTest::mouseClick(rbLineage, Qt::LeftButton);
    EXPECT_EQ(NameDicPopup, nullptr);
    deliverPosted();
    EXPECT_TRUE(p.isNull());
}

TEST_F(TntNMDicTest, WithoutTheLibraryThereAreNoCandidates)
{
    struct Case
    {
        const char* what;
        std::function<void()> arrange;
        QString folder;
    };
    const Case cases[] = {
        {"load fails", [] { LibraryLoader::SetFailingLoad(QStringLiteral("DlName99a.dll")); }, ProgramFolder},
        {"entry point missing",
         [] {
             LibraryLoader::SetFailingSymbol(QStringLiteral("DlName99a.dll"), QStringLiteral("DLNMMeiList"));
         },
         ProgramFolder},
        {"no file", [] {}, FixtureFolder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LibraryLoader::ClearFailures();
        c.arrange();
        OwnerForm owner;
        TNameDicLibrary lib;
        EXPECT_NE(lib.Load(c.folder), 0);
        EXPECT_FALSE(lib.IsLoaded());

        QPointer<TTntNameDic> p = new TTntNameDic(&owner);
        p->SetFolders(c.folder, FixtureFolder);
        p->Initialize();
        EXPECT_FALSE(p->HasDictionary());
        EXPECT_EQ(p->CountCandidates(QStringLiteral("ｻﾄｳ"), nkLineage), 0);
        p->close();
        deliverPosted();
        EXPECT_TRUE(p.isNull());

        // The owner's way: nothing to show, so the popup goes again at once.
        TTntNameDic::ConvertNeed(&owner, owner.edit, 0, nkLineage, true, QStringLiteral("ｻﾄｳ"), Qt::blue,
                                 c.folder);
        EXPECT_EQ(NameDicPopup, nullptr);
        EXPECT_FALSE(TTntNameDic::ConvertKeyDown(Qt::Key_Down));
        deliverPosted();
    }
}

TEST_F(TntNMDicTest, OwnerDrivingPlacesKeepsKindAndCloses)
{
    OwnerForm owner;
    activate(owner);
    TTntNameDic::ConvertNeed(&owner, owner.edit, 2, nkFirst, true, QStringLiteral("ﾋﾛ"), Qt::blue,
                             ProgramFolder);
    QPointer<TTntNameDic> p = NameDicPopup;
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->isVisible());
    EXPECT_EQ(p->pos(), owner.edit->mapToGlobal(QPoint(0, owner.edit->height())));
    EXPECT_EQ(p->Tag(), 2);
    EXPECT_EQ(p->NameKind(), nkFirst);
    EXPECT_EQ(p->Reading(), QStringLiteral("ﾋﾛ"));
    EXPECT_GT(p->Grid().RowCount(), 1);
    EXPECT_EQ(p->Grid().Cell(0, 0).left(2), QStringLiteral("ﾋﾛ"));

    // While it shows, its own kind and tag stay whatever the owner would choose.
    TTntNameDic::ConvertNeed(&owner, owner.edit, 4, nkLineage, true, QStringLiteral("ﾋﾛｼ"), Qt::blue,
                             ProgramFolder);
    EXPECT_EQ(NameDicPopup, p.data());
    EXPECT_EQ(p->NameKind(), nkFirst);
    EXPECT_EQ(p->Tag(), 2);
    EXPECT_EQ(p->Grid().Cell(0, 0), QStringLiteral("ﾋﾛｼ"));

    // A reading without candidates closes it; so does Show false.
    TTntNameDic::ConvertNeed(&owner, owner.edit, 2, nkFirst, true, QStringLiteral("ﾋﾛｼｯｯｯ"), Qt::blue,
                             ProgramFolder);
    EXPECT_EQ(NameDicPopup, nullptr);
    deliverPosted();
    EXPECT_TRUE(p.isNull());
    TTntNameDic::ConvertNeed(&owner, owner.edit, 0, nkLineage, true, QStringLiteral("ｻﾄｳ"), Qt::blue,
                             ProgramFolder);
    ASSERT_TRUE(NameDicPopup);
    TTntNameDic::ConvertNeed(&owner, owner.edit, 0, nkLineage, false, QString(), Qt::blue, ProgramFolder);
    EXPECT_EQ(NameDicPopup, nullptr);
}

TEST_F(TntNMDicTest, ClosesWhenItsOwnerIsNoLongerActive)
{
    OwnerForm owner;
    activate(owner);
    TTntNameDic::ConvertNeed(&owner, owner.edit, 0, nkLineage, true, QStringLiteral("ｻﾄｳ"), Qt::blue,
                             ProgramFolder);
    QPointer<TTntNameDic> p = NameDicPopup;
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->findChild<QTimer*>(QStringLiteral("tmrActive"))->isActive());
    EXPECT_EQ(p->findChild<QTimer*>(QStringLiteral("tmrActive"))->interval(), 100);
    p->tmrActiveTimer();
    EXPECT_EQ(NameDicPopup, p.data());

    QWidget other;
    other.resize(100, 100);
    activate(other);
    if (p)
        p->tmrActiveTimer();
    EXPECT_EQ(NameDicPopup, nullptr);
    deliverPosted();
    EXPECT_TRUE(p.isNull());
}

TEST_F(TntNMDicTest, Screenshot)
{
    OwnerForm owner;
    activate(owner);
    owner.edit->setText(QStringLiteral("佐藤 "));
    owner.edit->end(false);
    TTntNameDic::ConvertNeed(&owner, owner.edit, 0, nkFirst, true, QStringLiteral("ﾋﾛ"), Qt::blue,
                             ProgramFolder);
    QPointer<TTntNameDic> p = NameDicPopup;
    ASSERT_TRUE(p);
    for (int key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Right})
        p->HandleKey(key);
    const QPixmap form = owner.grab();
    const QPixmap popup = p->grab();
    ASSERT_FALSE(popup.isNull());
    EXPECT_GT(popup.width(), 6 * 60);
    const QString dir = qEnvironmentVariable("TOVAREL_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QImage shot(form.width() + 40, form.height() + popup.height(), QImage::Format_RGB32);
        shot.fill(Qt::darkGray);
        QPainter painter(&shot);
        painter.drawPixmap(0, 0, form);
        painter.drawPixmap(owner.mapFromGlobal(p->pos()), popup);
        painter.end();
        EXPECT_TRUE(shot.save(dir + QStringLiteral("/namedic.png")));
    }
}

TEST(TNameCandidateRecTest, FieldsEndAtTheirZeroOrTheirEndNeverInsideACharacter)
{
    struct Case
    {
        QByteArray reading, word;
        const char* wantReading;
        const char* wantWord;
    };
    const auto sj = [](const char* utf8) { return Cp932::fromUnicode(QString::fromUtf8(utf8)); };
    const Case cases[] = {
        {sj("ｻﾄｳ"), sj("佐藤"), "ｻﾄｳ", "佐藤"},
        {sj("ｷﾞｮｳｼﾞｮｳｶﾞﾜ"), sj("勘解由小路"), "ｷﾞｮｳｼﾞｮｳｶﾞﾜ", "勘解由小路"},
        // Filled to the end without a zero: all 12 bytes, or 11 when the last is a lone lead byte.
        {sj("ｱｲｳｴｵｶｷｸｹｺｻｼ"), sj("一二三四五六"), "ｱｲｳｴｵｶｷｸｹｺｻｼ", "一二三四五六"},
        {sj("ｱ") + QByteArray("\x88\x9f\x88\x9f\x88\x9f\x88\x9f\x88\x9f\x88", 11),
         sj("ｱ") + sj("亜亜亜亜亜") + "\x88", "ｱ亜亜亜亜亜", "ｱ亜亜亜亜亜"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wantReading);
        TNameCandidateRec rec;
        std::memset(&rec, 0, sizeof rec);
        std::memcpy(rec.Reading, c.reading.constData(), std::min<size_t>(12, size_t(c.reading.size())));
        std::memcpy(rec.Word, c.word.constData(), std::min<size_t>(12, size_t(c.word.size())));
        const TNameCandidate got = CandidateFromRecord(rec);
        EXPECT_EQ(got.reading, QString::fromUtf8(c.wantReading));
        EXPECT_EQ(got.word, QString::fromUtf8(c.wantWord));
    }
}
