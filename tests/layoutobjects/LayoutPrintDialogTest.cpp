// The print wizard against a scripted address list and a real "Adrs.DB": the record list by range and
// filter, the stored settings fitted at show, the range spinners and edits, flap texts, sheet count, offset
// labels, the printable-area warning, copies and the page restored after a preview, and the messages.
#include "core/MainSettings.h"
#include "core/UpDownEdit.h"
#include "layoutobjects/LayoutPrintDialog.h"
#include "platform/IniFile.h"
#include "platform/Printers.h"
#include "support/AdrsTableFixture.h"
#include "support/DrawingFixture.h"
#include "support/FakeListRows.h"
#include "support/MessageRecorder.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString NoData = QStringLiteral("印刷するデータがありません  ");

template <class W> W* Child(QWidget* parent, const char* name)
{
    W* w = parent->findChild<W*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

class LayoutPrintDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_savedRoot = DataRootFolder;
        DataRootFolder = m_dir.path() + u'/';
        TPrinterList::Instance().SetPrinters({});
        // Ten records; their PrintTarget 0, 1, 2, 0, 1, 2, ...
        for (int i = 0; i < 10; ++i)
            m_rows.recNos.append(m_table.add({{"PrintTarget", i % 3}}));
    }
    void TearDown() override { DataRootFolder = m_savedRoot; }

    void Store(std::initializer_list<std::pair<const char*, int>> values, int kind = 0)
    {
        TMemIniFile ini(DataRootFolder + MainSettingsFileName);
        for (const auto& [key, value] : values)
            ini.WriteInteger(LayoutPrintSection(kind), QString::fromLatin1(key), value);
        ASSERT_TRUE(ini.UpdateFile());
    }
    int Stored(const char* key, int kind = 0)
    {
        return TMemIniFile(DataRootFolder + MainSettingsFileName)
            .ReadInteger(LayoutPrintSection(kind), QString::fromLatin1(key), -99);
    }
    // A wizard set up as the address window does, shown.
    std::unique_ptr<TLayoutPrintDialog> Show(bool select = true, int kind = 0, int faces = 1,
                                             bool restore = false)
    {
        auto dialog =
            std::make_unique<TLayoutPrintDialog>(nullptr, &m_rows, TablePrintTargetReader(m_table.adrs()));
        dialog->SetRecordSelection(select);
        dialog->SetPaperKind(kind);
        dialog->SetFacesPerSheet(faces);
        dialog->RestorePage = restore;
        dialog->show();
        return dialog;
    }
    QString Text(QWidget* dialog, const char* name)
    {
        if (auto* edit = dialog->findChild<QLineEdit*>(QLatin1String(name)))
            return edit->text();
        return Child<QLabel>(dialog, name)->text();
    }

    QTemporaryDir m_dir;
    QString m_savedRoot;
    AdrsTableFixture m_table;
    FakeListRows m_rows;
};

TEST_F(LayoutPrintDialogTest, RecordListByRangeAndFilter)
{
    m_rows.selected = {1, 2, 5};
    const TPrintTargetReader reader = TablePrintTargetReader(m_table.adrs());
    const auto& r = m_rows.recNos;
    struct Case
    {
        const char* what;
        int kind, filter, start, end;
        TDataList expected;
    };
    const Case cases[] = {
        {"shown record, filter ignored", 0, 2, 1, 10, {r[1]}},
        {"selected rows", 1, 0, 1, 10, {r[1], r[2], r[5]}},
        {"selected, print only", 1, 1, 1, 10, {r[1]}},
        {"range 3..6 without excluded", 2, 2, 3, 6, {r[3], r[4]}},
        {"all, print only", 3, 1, 1, 10, {r[1], r[4], r[7]}},
        {"empty range", 2, 0, 5, 4, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildPrintList(m_rows, reader, c.kind, c.filter, c.start, c.end), c.expected) << c.what;

    // No selected row: nothing, never a record of -1.
    m_rows.selected.clear();
    EXPECT_TRUE(BuildPrintList(m_rows, reader, 0, 0, 1, 10).empty());
    // A row whose record is gone is dropped by a filter; it never takes the previous row's mark.
    m_rows.recNos[3] = 999;
    EXPECT_EQ(BuildPrintList(m_rows, reader, 3, 2, 1, 10).size(), 6u);
    EXPECT_EQ(BuildPrintList(m_rows, reader, 3, 0, 1, 10).size(), 10u);
}

TEST_F(LayoutPrintDialogTest, StoredSettingsAreFittedAtShow)
{
    struct Case
    {
        const char* what;
        std::initializer_list<std::pair<const char*, int>> stored;
        int range, filter;
        const char *start, *end;
        int count;
    };
    m_rows.selected = {2}; // PrintTarget 2
    const Case cases[] = {
        {"range 0 resets the exclude filter", {{"Range", 0}, {"Limit", 2}}, 0, 0, "1", "10", 1},
        {"start 5 above end 3", {{"Range", 2}, {"StartRange", 5}, {"EndRange", 3}}, 2, 0, "5", "5", 1},
        {"end above the count", {{"Range", 2}, {"StartRange", 4}, {"EndRange", 40}}, 2, 0, "4", "10", 7},
        {"unknown range reads 0", {{"Range", 9}, {"Limit", 1}}, 0, 0, "1", "10", 1},
        {"all rows, excluded left out", {{"Range", 3}, {"Limit", 2}}, 3, 2, "1", "10", 7},
    };
    for (const Case& c : cases) {
        QFile::remove(DataRootFolder + MainSettingsFileName);
        Store(c.stored);
        auto dialog = Show();
        EXPECT_EQ(dialog->RangeKind, c.range) << c.what;
        EXPECT_EQ(dialog->PrintFilter, c.filter) << c.what;
        EXPECT_EQ(Text(dialog.get(), "edStartRange"), QString::fromLatin1(c.start)) << c.what;
        EXPECT_EQ(Text(dialog.get(), "edEndRange"), QString::fromLatin1(c.end)) << c.what;
        EXPECT_EQ(int(dialog->RecNos.size()), c.count) << c.what;
        EXPECT_EQ(Text(dialog.get(), "lblDataCount"), QStringLiteral("%1 件").arg(c.count)) << c.what;
        EXPECT_EQ(Child<QWidget>(dialog.get(), "edStartRange")->isEnabled(), c.range == 2) << c.what;
    }
}

TEST_F(LayoutPrintDialogTest, EmptyListStopsOnPageOne)
{
    MessageRecorder messages;
    messages.answer(MsgSeam::IdOk).answer(MsgSeam::IdOk);
    auto dialog = Show(true, 0, 4);
    ASSERT_TRUE(dialog->RecNos.empty()); // range 0, nothing selected
    for (const char* name : {"btnNext", "btnPreview1"}) {
        Child<QPushButton>(dialog.get(), name)->click();
        EXPECT_EQ(messages.last().text, NoData) << name;
        EXPECT_EQ(dialog->CurrentPageIndex(), 0);
        EXPECT_TRUE(dialog->isVisible());
    }
    EXPECT_EQ(messages.count(), 2);
}

TEST_F(LayoutPrintDialogTest, RangeSpinnersAndEdits)
{
    Store({{"Range", 2}, {"StartRange", 7}, {"EndRange", 7}});
    auto dialog = Show();
    auto range = [&] { return std::make_pair(dialog->StartRange, dialog->EndRange); };
    dialog->StepRange(true, true);
    EXPECT_EQ(range(), std::make_pair(8, 8));
    EXPECT_EQ(Text(dialog.get(), "edEndRange"), QStringLiteral("8"));
    EXPECT_EQ(dialog->RecNos.size(), 1u);
    dialog->StepRange(false, false); // both 8: the start comes down too
    EXPECT_EQ(range(), std::make_pair(7, 7));

    struct Case
    {
        bool start;
        const char* text;
        int delta;
        std::pair<int, int> expected;
    };
    const Case cases[] = {
        {true, "abc", 0, {7, 7}},  // not a number: the value comes back
        {true, "-3", 0, {7, 7}},   // negative too
        {true, "0", 0, {1, 7}},    // at or below 0 becomes 1
        {false, "50", 0, {1, 10}}, // above the count becomes the count
        {true, "12", 0, {10, 10}}, // the end is pulled along
        {false, "2", 0, {2, 2}},   // the start is pulled along
        {false, "", 10, {2, 10}},  // Page Up, clamped
        {true, "", -10, {1, 10}},  // Page Down, to 1
    };
    for (const Case& c : cases) {
        if (c.delta == 0)
            Child<QLineEdit>(dialog.get(), c.start ? "edStartRange" : "edEndRange")->setText(c.text);
        dialog->TakeRangeEdit(c.start, c.delta);
        EXPECT_EQ(range(), c.expected) << c.text << " " << c.delta;
        EXPECT_EQ(Text(dialog.get(), "edStartRange"), QString::number(c.expected.first));
    }
    dialog->StepRange(true, false); // start 1: nothing
    dialog->TakeRangeEdit(false, 0);
    EXPECT_EQ(range(), std::make_pair(1, 10));
    dialog->TakeRangeEdit(false, -9);
    dialog->StepRange(false, false); // both 1: nothing
    EXPECT_EQ(range(), std::make_pair(1, 1));
}

TEST_F(LayoutPrintDialogTest, FlapTextsFallBackSilently)
{
    MessageRecorder messages;
    auto dialog = Show(false, 1);
    auto* flap = Child<TUpDownEdit>(dialog.get(), "edFlap");
    struct Case
    {
        const char* text;
        int position;
        const char* shown;
    };
    const Case cases[] = {{"12.34", 123, "12.3"}, {"1.2.3", 123, "12.3"}, {"12a", 123, "12.3"},
                          {"", 123, "12.3"},      {"99", 500, "50.0"},    {"0.04", 0, "0.0"}};
    for (const Case& c : cases) {
        flap->setFocus();
        flap->findChild<QLineEdit*>()->setText(QString::fromLatin1(c.text));
        QTest::keyClick(flap, Qt::Key_Return);
        EXPECT_EQ(dialog->GetFlapLength(), c.position) << c.text;
        EXPECT_EQ(flap->findChild<QLineEdit*>()->text(), QString::fromLatin1(c.shown)) << c.text;
    }
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(LayoutPrintDialogTest, SheetCountsAndOffsetLabels)
{
    struct SheetCase
    {
        int records;
        bool select;
        int faces, start, prints, copies, sheets;
    };
    const SheetCase sheets[] = {{3, true, 10, 6, 2, 2, 4}, {3, true, 0, 1, 1, 2, 6}, {3, false, 0, 1, 1, 2, 2},
                                {0, false, 4, 3, 5, 1, 2}, {10, true, 4, 1, 1, 1, 3}};
    for (const SheetCase& c : sheets)
        EXPECT_EQ(PrintSheetCount(c.records, c.select, c.faces, c.start, c.prints, c.copies), c.sheets)
            << c.records << " " << c.faces << " " << c.start;

    struct OffsetCase
    {
        int position;
        const char *vertical, *horizontal, *distance;
    };
    const OffsetCase offsets[] = {{500, "上：", "左：", "0.0 mm"},
                                  {487, "上：", "左：", "1.3 mm"},
                                  {513, "下：", "右：", "1.3 mm"},
                                  {0, "上：", "左：", "50.0 mm"}};
    for (const OffsetCase& c : offsets) {
        EXPECT_EQ(OffsetDirectionText(true, c.position), QString::fromUtf8(c.vertical));
        EXPECT_EQ(OffsetDirectionText(false, c.position), QString::fromUtf8(c.horizontal));
        EXPECT_EQ(OffsetDistanceText(c.position), QString::fromUtf8(c.distance));
    }

    // The wizard itself: 10 faces, 3 records, 2 prints, start 6, 2 copies.
    m_rows.selected = {0, 1, 2};
    Store({{"Range", 1}, {"LabelStart", 6}, {"LabelCount", 2}, {"Copy", 2}, {"OffsetY", 487}});
    TScopedPrinter printer(600);
    auto dialog = Show(true, 0, 10, true);
    EXPECT_EQ(Text(dialog.get(), "lblSheetCount"), QStringLiteral("4 枚"));
    EXPECT_EQ(Text(dialog.get(), "lblVertDir"), QStringLiteral("上："));
    EXPECT_EQ(Text(dialog.get(), "lblVertValue"), QStringLiteral("1.3 mm"));
    EXPECT_EQ(dialog->GetOffset(), QPoint(0, -13));
}

TEST_F(LayoutPrintDialogTest, PrintableAreaWarning)
{
    const QRect printable(50, 50, 4860, 6914); // 600 dpi A4 with 50 pixels kept on each side
    struct Case
    {
        TRect bounds;
        QPoint positions;
        int flap;
        bool leaves;
    };
    const Case cases[] = {
        {{10, 10, 300, 500}, {500, 500}, 0, false},
        {{4, 10, 300, 500}, {500, 500}, 0, true},   // 25 pixels from the edge
        {{10, 10, 300, 500}, {480, 500}, 0, true},  // 2 mm to the left
        {{10, 10, 300, 1100}, {500, 500}, 0, false},
        {{10, 10, 300, 1100}, {500, 500}, 150, true}, // the flap pushes it off the bottom
    };
    for (const Case& c : cases)
        EXPECT_EQ(ContentLeavesPrintable(c.bounds, c.positions, c.flap, 600, 600, printable), c.leaves)
            << c.bounds.left << " " << c.positions.x() << " " << c.flap;

    TScopedPrinter printer(600, {50, 50});
    auto dialog = Show(false, 1);
    dialog->SetContentBounds({10, 10, 300, 1100});
    EXPECT_FALSE(dialog->WarningShown());
    auto* flap = Child<TUpDownEdit>(dialog.get(), "edFlap");
    flap->setFocus();
    flap->findChild<QLineEdit*>()->setText(QStringLiteral("15"));
    QTest::keyClick(flap, Qt::Key_Return);
    EXPECT_TRUE(dialog->WarningShown());
}

TEST_F(LayoutPrintDialogTest, CopiesAndPageRestoredAfterAPreview)
{
    m_rows.selected = {0};
    TScopedPrinter printer(600);
    struct Case
    {
        const char* what;
        int faces;
        int printerCopies;
    };
    // A multi-face sheet keeps the printer's copies; one piece per page hands them to the printer.
    const Case cases[] = {{"multi-face", 4, 1}, {"single", 1, 3}};
    for (const Case& c : cases) {
        Store({{"Page", 1}, {"Copy", 3}});
        auto dialog = Show(true, 0, c.faces, true);
        EXPECT_EQ(dialog->CurrentPageIndex(), 1) << c.what;
        EXPECT_EQ(dialog->GetCopies(), 3) << c.what;
        EXPECT_EQ(printer.Printer()->Copies(), c.printerCopies) << c.what;
        EXPECT_EQ(dialog->RecNos.size(), 1u) << c.what; // rebuilt at show
    }
    // Without the restore byte the wizard starts on page 1 with one copy.
    auto fresh = Show(true, 0, 4, false);
    EXPECT_EQ(fresh->CurrentPageIndex(), 0);
    EXPECT_EQ(fresh->GetCopies(), 1);

    // On page 2 print and preview do not test the list; print asks first.
    m_rows.selected.clear();
    MessageRecorder messages;
    messages.answer(MsgSeam::IdNo).answer(MsgSeam::IdYes);
    auto restored = Show(true, 0, 4, true);
    ASSERT_TRUE(restored->RecNos.empty());
    Child<QPushButton>(restored.get(), "btnPrint")->click();
    EXPECT_TRUE(restored->isVisible());
    EXPECT_EQ(messages.last().text, QStringLiteral("宛名レイアウトを印刷します  \r\nよろしいですか？"));
    Child<QPushButton>(restored.get(), "btnPrint")->click();
    EXPECT_EQ(restored->result(), QDialog::Accepted);
    EXPECT_FALSE(restored->PreviewRequested);
    auto preview = Show(true, 0, 4, true);
    Child<QPushButton>(preview.get(), "btnPreview2")->click();
    EXPECT_TRUE(preview->PreviewRequested);
    EXPECT_EQ(preview->result(), QDialog::Accepted);
    EXPECT_EQ(messages.count(), 2);
}

TEST_F(LayoutPrintDialogTest, SettingsSavedOnlyThroughPrintOrPreview)
{
    m_rows.selected = {0, 4};
    MessageRecorder messages;
    messages.answer(MsgSeam::IdYes);
    auto dialog = Show(true, 2, 12);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("ラベル印刷"));
    Child<QRadioButton>(dialog.get(), "rbDataRange1")->click();
    Child<QRadioButton>(dialog.get(), "rbDataLimit1")->click();
    EXPECT_EQ(dialog->RecNos, (TDataList{m_rows.recNos[4]}));
    Child<QPushButton>(dialog.get(), "btnCancel1")->click();
    EXPECT_EQ(Stored("Range", 2), -99);

    dialog = Show(true, 2, 12);
    Child<QRadioButton>(dialog.get(), "rbDataRange1")->click();
    Child<QPushButton>(dialog.get(), "btnNext")->click();
    EXPECT_EQ(dialog->CurrentPageIndex(), 1);
    Child<QPushButton>(dialog.get(), "btnPrint")->click();
    EXPECT_EQ(messages.last().text, QStringLiteral("ラベルレイアウトを印刷します  \r\nよろしいですか？"));
    EXPECT_EQ(Stored("Range", 2), 1);
    EXPECT_EQ(Stored("Page", 2), 1);
    EXPECT_EQ(Stored("LabelStart", 2), 1);
    EXPECT_EQ(Stored("Flap", 2), -99); // envelopes only
    EXPECT_EQ(Stored("Range", 0), -99);
}

} // namespace
