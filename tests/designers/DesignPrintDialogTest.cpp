// The design print dialog: stored settings and their fall-backs, offset read-outs, copies reaching the
// printer, the printable-area warning, a printer changed and then cancelled, and [DESIGN PRINT] written
// only after the question was answered "はい".
#include "designers/DesignPrintDialog.h"

#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/SettingDialogFixture.h"
#include "support/XvfbShot.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

class DesignPrintDialogTest : public SettingDialogTest
{
protected:
    static void store(std::initializer_list<std::pair<const char*, int>> values)
    {
        TMemIniFile ini(DataRootFolder + MainSettingsFileName);
        for (const auto& [key, value] : values)
            ini.WriteInteger(DesignPrintSection, QString::fromLatin1(key), value);
        ASSERT_TRUE(ini.UpdateFile());
    }
    static int stored(const char* key)
    {
        return TMemIniFile(DataRootFolder + MainSettingsFileName)
            .ReadInteger(DesignPrintSection, QString::fromLatin1(key), -99);
    }
    static QString text(QWidget& dialog, const char* name) { return child<QLabel>(dialog, name)->text(); }
};

TEST_F(DesignPrintDialogTest, StoredSettingsAndTheirFallBacks)
{
    TScopedPrinter printer(600);
    {
        TDesignPrintDialog first;
        EXPECT_EQ(first.GetOffset(), QPoint(0, 0));
        EXPECT_EQ(text(first, "lblVert"), QStringLiteral("上："));
        EXPECT_EQ(text(first, "lblOffsetV"), QStringLiteral("0.0 mm"));
        EXPECT_EQ(text(first, "lblHorz"), QStringLiteral("左："));
        EXPECT_EQ(first.GetCopies(), 1);
        EXPECT_EQ(text(first, "lblCopy"), QStringLiteral("1 枚"));
        EXPECT_FALSE(first.GetLimitedPrinter());
        EXPECT_EQ(text(first, "pnlPrinter"), QStringLiteral("Recorder"));
        EXPECT_EQ(text(first, "pnlOriental"), QStringLiteral("縦"));
    }
    struct Case
    {
        int copyStored, copies;
        int offsetX, offsetY;
        QPoint offset;
    };
    const Case cases[] = {{0, 1, 1200, -3, {500, -500}}, {1001, 1, 487, 513, {-13, 13}}, {1000, 1000, 0, 0, {-500, -500}}};
    for (const Case& c : cases) {
        store({{"Copy", c.copyStored}, {"OffsetX", c.offsetX}, {"OffsetY", c.offsetY}, {"LimitedPrinter", 1}});
        TDesignPrintDialog dialog;
        EXPECT_EQ(dialog.GetCopies(), c.copies) << c.copyStored;
        EXPECT_EQ(printer.Printer()->Copies(), c.copies) << "the printer takes the copies at once";
        EXPECT_EQ(dialog.GetOffset(), c.offset) << c.offsetX;
        EXPECT_TRUE(dialog.GetLimitedPrinter());
    }
}

TEST_F(DesignPrintDialogTest, OffsetReadOutsFollowTheScrollBars)
{
    TScopedPrinter printer(600);
    TDesignPrintDialog dialog;
    struct Case
    {
        int position;
        const char *vertical, *horizontal, *distance;
    };
    const Case cases[] = {{500, "上：", "左：", "0.0 mm"},
                          {501, "下：", "右：", "0.1 mm"},
                          {0, "上：", "左：", "50.0 mm"},
                          {1000, "下：", "右：", "50.0 mm"}};
    for (const Case& c : cases) {
        child<QScrollBar>(dialog, "scbVert")->setValue(c.position);
        child<QScrollBar>(dialog, "scbHorz")->setValue(c.position);
        EXPECT_EQ(text(dialog, "lblVert"), QString::fromUtf8(c.vertical)) << c.position;
        EXPECT_EQ(text(dialog, "lblHorz"), QString::fromUtf8(c.horizontal)) << c.position;
        EXPECT_EQ(text(dialog, "lblOffsetV"), QString::fromUtf8(c.distance)) << c.position;
        EXPECT_EQ(text(dialog, "lblOffsetH"), QString::fromUtf8(c.distance)) << c.position;
    }
}

TEST_F(DesignPrintDialogTest, CopiesEditKeepsOneToAThousand)
{
    TScopedPrinter printer(600);
    TDesignPrintDialog dialog;
    auto* copies = child<TUpDownEdit>(dialog, "edCopy");
    struct Case
    {
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {{"12", "12"}, {"0", "1"}, {"abc", "1"}, {"3", "3"}, {"-4", "3"}, {"9999", "1000"}};
    for (const Case& c : cases) {
        EXPECT_EQ(leave(copies, QString::fromUtf8(c.typed)), QString::fromUtf8(c.shown)) << c.typed;
        EXPECT_EQ(text(dialog, "lblCopy"), QString::fromUtf8(c.shown) + QStringLiteral(" 枚")) << c.typed;
        EXPECT_EQ(printer.Printer()->Copies(), QString::fromUtf8(c.shown).toInt()) << c.typed;
    }
}

TEST_F(DesignPrintDialogTest, PrintableAreaWarning)
{
    // 600 dpi, 50 printer pixels (about 2.1 mm) kept on every side of A4.
    TScopedPrinter printer(600, {50, 50});
    TDesignPrintDialog dialog;
    dialog.SetContentBounds({});
    EXPECT_FALSE(dialog.WarningShown()) << "a design without frames";
    // Frames from 4 design pixels (about 1 mm) on: before the printable area.
    dialog.SetContentBounds({4, 40, 300, 500});
    EXPECT_TRUE(dialog.WarningShown());
    child<QScrollBar>(dialog, "scbHorz")->setValue(520); // 2 mm to the right
    EXPECT_FALSE(dialog.WarningShown());
    child<QScrollBar>(dialog, "scbVert")->setValue(0); // 50 mm up
    EXPECT_TRUE(dialog.WarningShown());
}

TEST_F(DesignPrintDialogTest, PrinterChangedThenCancelledStaysChosen)
{
    std::vector<std::unique_ptr<TPrinter>> printers;
    printers.push_back(std::make_unique<TRecordingPrinter>(QStringLiteral("First"), 600, 600));
    printers.push_back(std::make_unique<TRecordingPrinter>(QStringLiteral("Second"), 300, 300));
    TPrinterList::Instance().SetPrinters(std::move(printers));
    TPrinterList::Instance().At(1)->SetCopies(4);

    TDesignPrintDialog dialog;
    ModalDriver driver;
    driver.on("PrinterSetupDialog", [](QWidget* w) {
        w->findChild<QComboBox*>(QStringLiteral("cbxPrinter"))->setCurrentIndex(1);
        w->findChild<QComboBox*>(QStringLiteral("cbxPaper"))->setCurrentIndex(0);
        static_cast<QDialog*>(w)->accept();
    });
    child<QPushButton>(dialog, "bbtnPrinters")->click();
    EXPECT_TRUE(dialog.PrinterChanged);
    EXPECT_EQ(text(dialog, "pnlPrinter"), QStringLiteral("Second"));
    EXPECT_EQ(dialog.GetCopies(), 4) << "the new printer's copies";
    EXPECT_EQ(text(dialog, "lblCopy"), QStringLiteral("4 枚"));

    // A setup left with Cancel changes nothing.
    dialog.PrinterChanged = false;
    driver.on("PrinterSetupDialog", [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    child<QPushButton>(dialog, "bbtnPrinters")->click();
    EXPECT_FALSE(dialog.PrinterChanged);
    dialog.PrinterChanged = true;

    child<QPushButton>(dialog, "btnCancel")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(TPrinterList::Instance().CurrentIndex(), 1);
    EXPECT_FALSE(QFile::exists(DataRootFolder + MainSettingsFileName)) << "nothing written on Cancel";
    TPrinterList::Instance().SetPrinters({});
}

TEST_F(DesignPrintDialogTest, SettingsWrittenOnlyAfterYes)
{
    TScopedPrinter printer(600);
    MessageRecorder messages;
    messages.answer(MsgSeam::IdNo).answer(MsgSeam::IdYes);
    TDesignPrintDialog dialog;
    dialog.show();
    child<QScrollBar>(dialog, "scbHorz")->setValue(530);
    child<QScrollBar>(dialog, "scbVert")->setValue(480);
    leave(child<TUpDownEdit>(dialog, "edCopy"), QStringLiteral("7"));
    child<QCheckBox>(dialog, "ckbLimitedPrinter")->setChecked(true);

    child<QPushButton>(dialog, "btnPrint")->click();
    EXPECT_TRUE(dialog.isVisible()) << "No keeps the dialog open";
    EXPECT_FALSE(QFile::exists(DataRootFolder + MainSettingsFileName));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("文面デザインを印刷します  \r\nよろしいですか？"));
    EXPECT_EQ(messages.last().caption, QStringLiteral("Tovarel"));
    EXPECT_EQ(messages.last().flags & 0xF0u, unsigned(MsgSeam::MbIconQuestion));
    EXPECT_EQ(messages.last().source, MsgSeam::Source::Application);

    child<QPushButton>(dialog, "btnPrint")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(stored("OffsetX"), 530);
    EXPECT_EQ(stored("OffsetY"), 480);
    EXPECT_EQ(stored("Copy"), 7);
    EXPECT_EQ(stored("LimitedPrinter"), 1);
    EXPECT_EQ(dialog.GetOffset(), QPoint(30, -20));
}

TEST_F(DesignPrintDialogTest, ScreenUnderXvfb)
{
    TScopedPrinter printer(600, {50, 50});
    TDesignPrintDialog dialog;
    dialog.SetContentBounds({4, 40, 300, 500});
    dialog.show();
    KeepXvfbScreen(QStringLiteral("design-print-dialog.xwd"));
    EXPECT_TRUE(dialog.WarningShown());
}

} // namespace
