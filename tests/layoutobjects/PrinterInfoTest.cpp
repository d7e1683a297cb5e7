// Printer information: ".pi" files against a list of fake printers, the paper of the current printer and the
// printable bounds.
#include "layoutobjects/PrinterInfo.h"
#include "platform/Printers.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

const QString LongName = QStringLiteral("Office printer on the third floor, colour, duplex");

class PrinterInfoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        std::vector<std::unique_ptr<TPrinter>> printers;
        printers.push_back(std::make_unique<TRecordingPrinter>("Default", 300, 300));
        printers.push_back(std::make_unique<TRecordingPrinter>(LongName, 600, 600, QPoint(50, 60)));
        printers.push_back(std::make_unique<TRecordingPrinter>("Twin", 600, 600));
        printers.push_back(std::make_unique<TRecordingPrinter>("Twin", 1200, 1200));
        TPrinterList::Instance().SetPrinters(std::move(printers), 0);
    }
    void TearDown() override { TPrinterList::Instance().SetPrinters({}); }
    QString Path() const { return m_dir.filePath("Layout.pi"); }
    void Write(const QByteArray& bytes) const
    {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QTemporaryDir m_dir;
};

TEST_F(PrinterInfoTest, RemembersPrinterPaperAndCopies)
{
    TPrinterList& list = TPrinterList::Instance();
    list.SetCurrentIndex(1);
    list.At(1)->SetPaper(QPageSize(QPageSize::A5), QPageLayout::Landscape);
    {
        TPrinterInfo info(Path()); // no file: the default printer
        EXPECT_EQ(info.DeviceName, "Default");
        info.SelectPrinter(1);
        info.SetCopies(3);
        ASSERT_TRUE(info.Save());
    }
    const QString golden = QStringLiteral(TOVAREL_TEST_DATA_DIR "paper/Layout.pi");
    if (qEnvironmentVariableIsSet("TOVAREL_WRITE_GOLDEN"))
        WriteFileBytes(golden, ReadFileBytes(Path()));
    EXPECT_EQ(ReadFileBytes(Path()), ReadFileBytes(golden));
    list.SetCurrentIndex(0);
    list.At(1)->SetPaper(QPageSize(QPageSize::A4), QPageLayout::Portrait);

    TPrinterInfo again(Path());
    EXPECT_EQ(list.CurrentIndex(), 1);
    EXPECT_EQ(again.DeviceName, LongName); // longer than 32 characters, still found
    EXPECT_EQ(list.At(1)->Paper().id(), QPageSize::A5);
    EXPECT_EQ(list.At(1)->Orientation(), QPageLayout::Landscape);
    EXPECT_EQ(again.GetCopies(), 3);
    EXPECT_EQ(again.GetOrientation(), 2);
    // The public name field holds the first 31 bytes.
    EXPECT_EQ(again.DevModeCopy.left(31), LongName.toLatin1().left(31));
    EXPECT_EQ(again.DevModeCopy.at(31), '\0');
}

TEST_F(PrinterInfoTest, UnusableFilesFallBackToTheDefaultPrinter)
{
    TPrinterList& list = TPrinterList::Instance();
    list.SetCurrentIndex(1);
    TPrinterInfo info(Path());
    info.SelectPrinter(1);
    ASSERT_TRUE(info.Save());
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();
    file.close();

    QByteArray tooBig = good;
    qToLittleEndian<qint32>(qint32(good.size()), tooBig.data());
    QByteArray foreign = good;
    foreign[4 + PrinterSettingsPublicSize] = 'X'; // our magic gone
    QByteArray unknown = good;
    unknown.replace(LongName.toLatin1(), LongName.toLatin1().replace("Office", "Garden"));
    QByteArray oldDriver = good;
    qToLittleEndian<quint16>(quint16(PrinterDriverVersion + 1), oldDriver.data() + 4 + 34);
    QByteArray negative = good;
    qToLittleEndian<qint32>(-5, negative.data());

    const std::pair<const char*, QByteArray> cases[] = {{"3 bytes", good.left(3)},
                                                        {"size too big", tooBig},
                                                        {"foreign block", foreign},
                                                        {"unknown printer", unknown},
                                                        {"other driver", oldDriver},
                                                        {"negative size", negative},
                                                        {"public part only", good.left(4 + 60)}};
    for (const auto& [what, bytes] : cases) {
        Write(bytes);
        list.SetCurrentIndex(2);
        TPrinterInfo loaded(Path());
        EXPECT_EQ(loaded.DeviceName, "Default") << what;
        EXPECT_EQ(list.CurrentIndex(), 0) << what;
        EXPECT_EQ(loaded.DpiX, 300) << what;
    }
}

TEST_F(PrinterInfoTest, EqualNamesTakeTheFirstPrinter)
{
    TPrinterInfo info(Path());
    info.SelectPrinter(3);
    ASSERT_TRUE(info.Save());
    TPrinterInfo again(Path());
    EXPECT_EQ(TPrinterList::Instance().CurrentIndex(), 2);
    EXPECT_EQ(again.DpiX, 600);
}

TEST_F(PrinterInfoTest, SetPrinterPaperExactOrCustom)
{
    TPrinterList& list = TPrinterList::Instance();
    list.SetCurrentIndex(1);
    TPrinter* printer = list.At(1);
    struct Case
    {
        const char* what;
        qint16 id, orientation;
        qint32 width, length;
        QPageSize::PageSizeId expected;
        QPageLayout::Orientation turned;
    };
    const Case cases[] = {
        {"A4 by size", 0, 1, 2100, 2970, QPageSize::A4, QPageLayout::Portrait},
        {"postcard by size", 0, 1, 1000, 1480, QPageSize::Postcard, QPageLayout::Portrait},
        {"0.1 mm off", 0, 1, 1000, 1481, QPageSize::Custom, QPageLayout::Portrait},
        {"envelope lying", 0, 2, 2350, 1200, QPageSize::EnvelopeChou3, QPageLayout::Landscape},
        {"lying custom", 0, 2, 2000, 1000, QPageSize::Custom, QPageLayout::Landscape},
        {"by number (A5 = 11)", 11, 1, 1, 1, QPageSize::A5, QPageLayout::Portrait},
    };
    for (const Case& c : cases) {
        SetPrinterPaper(c.id, c.orientation, c.width, c.length);
        EXPECT_EQ(printer->Paper().id(), c.expected) << c.what;
        EXPECT_EQ(printer->Orientation(), c.turned) << c.what;
    }
    SetPrinterPaper(0, 1, 1000, 1481);
    const QSizeF mm = printer->Paper().size(QPageSize::Millimeter);
    EXPECT_NEAR(mm.width(), 100.0, 0.01);
    EXPECT_NEAR(mm.height(), 148.1, 0.01);

    QString printerName, paperName;
    qint32 orientation = 0;
    SetPrinterPaper(0, 1, 2100, 2970);
    GetPrinterPaperInfo(printerName, paperName, orientation);
    EXPECT_EQ(printerName, LongName);
    EXPECT_EQ(paperName, QPageSize(QPageSize::A4).name());
    EXPECT_EQ(orientation, 1);
}

TEST_F(PrinterInfoTest, MetricsBoundsAndConversions)
{
    TPrinterList& list = TPrinterList::Instance();
    list.At(1)->SetPaper(QPageSize(QPageSize::A4), QPageLayout::Portrait);
    TPrinterInfo info(Path());
    info.SelectPrinter(1);
    EXPECT_EQ(info.DpiX, 600);
    EXPECT_EQ(info.OffsetX, 50);
    EXPECT_EQ(info.PhysicalWidth, 4961);
    EXPECT_EQ(info.RightMargin, 50);
    EXPECT_DOUBLE_EQ(info.ScaleX, 6.25);
    const TRect bounds = info.GetPrintableBounds(0, 0);
    EXPECT_EQ(bounds.left, 8);                  // 50 / 6.25
    EXPECT_EQ(bounds.top, 10);                  // 60 / 6.25 = 9.6
    EXPECT_EQ(bounds.right - bounds.left, 786); // (4961 - 50) / 6.25 = 785.76
    EXPECT_EQ(info.GetPrintableBounds(5, 7).left, 13);
    EXPECT_EQ(info.GetPageSize96(), QSize(794, 1123));
    EXPECT_EQ(info.TenthMmToDevice(QPoint(254, 127)), QPoint(600, 300));
    EXPECT_EQ(info.PointsToDevice(12), 100);

    qint32 error = -1;
    QString name;
    info.GetPaperName(error, name);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(name, QPageSize(QPageSize::A4).name());
    // A paper number no printer offers: the first paper, and the copy takes it.
    qToLittleEndian<qint16>(qint16(999), info.DevModeCopy.data() + 46);
    info.GetPaperName(error, name);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(name, PaperOfNumber(1).name());
    EXPECT_EQ(qFromLittleEndian<qint16>(info.DevModeCopy.constData() + 46), 1);
}

TEST_F(PrinterInfoTest, NoPrinterAtAll)
{
    TPrinterList::Instance().SetPrinters({});
    TPrinterInfo info(Path());
    EXPECT_TRUE(info.DeviceName.isEmpty());
    EXPECT_EQ(info.DpiX, 0);
    EXPECT_TRUE(info.DevModeCopy.isEmpty());
}

} // namespace
