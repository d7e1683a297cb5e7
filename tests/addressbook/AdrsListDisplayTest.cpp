// The list widget offscreen: texts made only for rows shown, click, range and drag selection, column fit,
// and the word search over the engine's texts.
#include "addressbook/AdrsListDisplay.h"
#include "addressbook/WordSch.h"
#include "core/AppSub.h"
#include "support/AdrsTableFixture.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class ListWidgetTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 100; ++i)
            db.add({{"CorpKanji", ToAnsi(QStringLiteral("会社%1").arg(i))}});
        engine = std::make_unique<TAdrsListEngine>(db.adrs());
        view = std::make_unique<TAdrsListView>(*engine);
        view->resize(640, 300);
        view->show();
        engine->RefreshList(true, true, false);
        QApplication::processEvents();
    }

    QPoint rowPoint(int row) const { return view->RowRect(row).center(); }

    void send(QEvent::Type type, int row, Qt::MouseButton button, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers mods = {})
    {
        const QPoint local = rowPoint(row);
        QMouseEvent e(type, local, view->viewport()->mapToGlobal(local), button, buttons, mods);
        QApplication::sendEvent(view->viewport(), &e);
    }

    std::vector<int> selected() const
    {
        std::vector<int> rows;
        for (int i = 0; i < engine->GetRecordCount(); ++i)
            if (engine->IsSelected(i))
                rows.push_back(i);
        return rows;
    }

    AdrsTableFixture db;
    std::unique_ptr<TAdrsListEngine> engine;
    std::unique_ptr<TAdrsListView> view;
};

} // namespace

TEST_F(ListWidgetTest, TextsAreMadeOnlyForRowsShown)
{
    EXPECT_EQ(view->objectName(), QStringLiteral("lvAddress"));
    view->grab(); // paints the visible rows
    EXPECT_TRUE(engine->HasRowTexts(0));
    EXPECT_FALSE(engine->HasRowTexts(90));
    EXPECT_EQ(view->model()->columnCount(), engine->GetVisibleColumnCount());
    EXPECT_EQ(view->model()->rowCount(), 100);

    // A refresh without reload drops the texts; they come back on the next paint.
    engine->RefreshList(false, false, false);
    EXPECT_FALSE(engine->HasRowTexts(0));
    view->grab();
    EXPECT_TRUE(engine->HasRowTexts(0));
}

TEST_F(ListWidgetTest, DragSelectionAddsToTheExistingSelection)
{
    engine->SelectIndex(0, true, false);
    engine->SelectIndex(3, false, false);
    send(QEvent::MouseButtonPress, 3, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, 5, Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(view->InDragRange(4));
    EXPECT_FALSE(engine->IsSelected(4)); // only shown as highlighted while dragging
    send(QEvent::MouseMove, 7, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, 7, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(selected(), (std::vector<int>{0, 3, 4, 5, 6, 7}));
    EXPECT_EQ(engine->GetFocusedIndex(), 7);
    EXPECT_EQ(view->DragAnchor(), -1);

    // A plain click on a row selects it alone.
    send(QEvent::MouseButtonPress, 10, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, 10, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(selected(), (std::vector<int>{10}));

    // Shift extends from the anchor; Ctrl toggles one row.
    send(QEvent::MouseButtonPress, 13, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    send(QEvent::MouseButtonRelease, 13, Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_EQ(selected(), (std::vector<int>{10, 11, 12, 13}));
    send(QEvent::MouseButtonPress, 11, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
    send(QEvent::MouseButtonRelease, 11, Qt::LeftButton, Qt::NoButton, Qt::ControlModifier);
    EXPECT_EQ(selected(), (std::vector<int>{10, 12, 13}));
}

TEST_F(ListWidgetTest, RefreshKeepsTheTopRow)
{
    view->ScrollToTop(50);
    ASSERT_EQ(view->TopIndex(), 50);
    engine->RefreshList(false, true, true);
    EXPECT_EQ(view->TopIndex(), 50);
    engine->RefreshList(false, true, false);
    view->ScrollToTop(0);
    EXPECT_EQ(view->TopIndex(), 0);
}

TEST_F(ListWidgetTest, KeyboardAndDoubleClick)
{
    engine->SelectIndex(2, true, false);
    QTest::keyClick(view.get(), Qt::Key_Down);
    EXPECT_EQ(selected(), (std::vector<int>{3}));
    QTest::keyClick(view.get(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(view.get(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(selected(), (std::vector<int>{3, 4, 5}));
    QTest::keyClick(view.get(), Qt::Key_End);
    EXPECT_EQ(selected(), (std::vector<int>{99}));

    int opened = -1;
    QObject::connect(view.get(), &TAdrsListView::rowDoubleClicked, [&](int row) { opened = row; });
    send(QEvent::MouseButtonDblClick, 1, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(opened, 1);
}

TEST_F(ListWidgetTest, DividerDoubleClickFitsTheWidestText)
{
    int corp = -1;
    for (int c = 0; c < engine->GetVisibleColumnCount(); ++c)
        if (engine->GetVisibleColumnItem(c) == 14)
            corp = c;
    ASSERT_GE(corp, 0);
    view->grab();
    const int fit = engine->ColumnFitWidth(corp);
    EXPECT_GE(fit, view->fontMetrics().horizontalAdvance(QStringLiteral("会社99")));
    emit view->horizontalHeader()->sectionHandleDoubleClicked(corp);
    EXPECT_EQ(view->horizontalHeader()->sectionSize(corp), fit);
    EXPECT_EQ(engine->VisibleColumnWidth(corp), fit);

    view->horizontalHeader()->resizeSection(corp, 333);
    EXPECT_EQ(engine->VisibleColumnWidth(corp), 333);
}

namespace {

// The address list as the word search sees it, over the engine.
class EngineWordSearchList : public TAddressListView
{
public:
    explicit EngineWordSearchList(TAdrsListEngine& engine) : m_engine(engine) {}
    QStringList KeywordNames() const override { return {}; }
    QList<AnsiString> HistoryEntries(int) const override { return {}; }
    int GetRecordCount() const override { return m_engine.GetRecordCount(); }
    int GetFocusedIndex() const override { return m_engine.GetFocusedIndex(); }
    std::optional<QStringList> WordSearchTexts(int index) override { return m_engine.WordSearchTexts(index); }
    void SelectIndex(int index, bool clearOthers, bool makeVisible) override
    {
        m_engine.SelectIndex(index, clearOthers, makeVisible);
    }

private:
    TAdrsListEngine& m_engine;
};

} // namespace

TEST(AdrsListWordSearch, WrapsAndSkipsHiddenNumbers)
{
    AdrsTableFixture db;
    db.add({{"CorpKanji", ToAnsi(QStringLiteral("山田商事"))}});
    db.add({{"MyNumber", EncryptFieldText("987654321098", FieldCipherKey)}});
    db.add({{"CorpKanji", ToAnsi(QStringLiteral("鈴木"))}});
    TAdrsListEngine engine(db.adrs());
    engine.RefreshList(true, true, false);
    EngineWordSearchList list(engine);

    engine.SelectIndex(2, true, false);
    int next = -1;
    EXPECT_TRUE(FindNextWord(list, QStringLiteral("商事"), next, nullptr)); // above the focus: after wrapping
    EXPECT_EQ(engine.GetFirstSelectedIndex(), 0);
    EXPECT_EQ(next, 1);

    engine.CellContext().AdminPasswordSet = true;
    next = -1;
    EXPECT_FALSE(FindNextWord(list, QStringLiteral("654"), next, nullptr));
    engine.CellContext().AdminMode = true;
    EXPECT_TRUE(FindNextWord(list, QStringLiteral("654"), next, nullptr));
    EXPECT_EQ(engine.GetFirstSelectedIndex(), 1);
}

TEST_F(ListWidgetTest, PictureOnRequest)
{
    engine->SelectIndex(2, true, false);
    engine->SelectIndex(4, false, false);
    view->SetSearchWord(QStringLiteral("会社1"));
    const QImage image = view->grab().toImage();
    // A selected row is filled in the highlight colour, an unselected one in the base colour.
    const QPalette pal = view->palette();
    const int x = view->viewport()->x() + 2;
    EXPECT_EQ(image.pixelColor(x, view->viewport()->y() + view->RowRect(2).center().y()),
              pal.color(QPalette::Highlight));
    EXPECT_EQ(image.pixelColor(x, view->viewport()->y() + view->RowRect(3).center().y()),
              pal.color(QPalette::Base));
    const QString dir = qEnvironmentVariable("TOVAREL_GRAB_DIR");
    if (!dir.isEmpty()) {
        EXPECT_TRUE(image.save(dir + QStringLiteral("/adrslist.png")));
    }
}
