// Customer barcode: sizes and their fitting, the frame's rectangle rules and stream record, the library
// wrapper's failures, and the stand-in library's address numbers read back from the bars of its BMP.
#include "layoutobjects/BarcodeRect.h"

#include "platform/LibraryLoader.h"
#include "support/MessageRecorder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString ProgramDir = QStringLiteral(TOVAREL_PROGRAM_DIR);
const QString FixtureDic = QStringLiteral(TOVAREL_ADDRESS_FIXTURE_DIR);

struct VersionScope
{
    explicit VersionScope(int version) { LoadedFileVersion = version; }
    ~VersionScope() { LoadedFileVersion = CurrentFileVersion; }
};

// A symbol read back from its bars.
struct Decoded
{
    QString data; // the 20 characters, letters folded back, padding left out
    QChar check;  // the check character as its value's digit or '-', 'a'.. for the control codes
    int sum = 0;  // the values of all 21 characters
    bool ok = false;
};

// Bars as F (long), A (upper half), D (lower half), T (timing), from left to right.
QString barsOf(const QImage& image)
{
    QString bars;
    const int third = image.height() / 3;
    const auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
    for (int x = 0; x < image.width(); ++x) {
        if (!dark(x, third + third / 2) || (x > 0 && dark(x - 1, third + third / 2)))
            continue;
        const bool upper = dark(x, third / 2);
        const bool lower = dark(x, 2 * third + third / 2);
        bars += upper && lower ? u'F' : upper ? u'A' : lower ? u'D' : u'T';
    }
    return bars;
}

Decoded decode(const QImage& image)
{
    // Japan Post customer barcode: the characters 1..9, 0, -, CC1..CC8 as three bars each.
    static const QStringList codes = {"FFT", "FDA", "DFA", "FAD", "FTF", "DAF", "AFD", "ADF", "TFF", "FTT",
                                      "TFT", "DAT", "DTA", "ADT", "TDA", "ATD", "TAD", "TTF", "FFF"};
    const auto value = [](int code) { return code == 9 ? 0 : code < 9 ? code + 1 : code; };
    Decoded d;
    const QString bars = barsOf(image);
    if (bars.size() != 67 || !bars.startsWith("FD") || !bars.endsWith("DF"))
        return d;
    int control = 0;
    for (int i = 0; i < 21; ++i) {
        const int code = int(codes.indexOf(bars.mid(2 + 3 * i, 3)));
        if (code < 0)
            return d;
        const int v = value(code);
        d.sum += v;
        if (i == 20) {
            d.check = v <= 9 ? QChar(u'0' + v) : v == 10 ? QChar(u'-') : QChar(u'a' + v - 11);
        } else if (control) {
            d.data += QChar(u'A' + (control - 11) * 10 + v);
            control = 0;
        } else if (v >= 11 && v <= 13) {
            control = v;
        } else if (v <= 10) {
            d.data += v == 10 ? QChar(u'-') : QChar(u'0' + v);
        }
    }
    d.ok = true;
    return d;
}

class Barcode : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_EQ(LoadBarcodeLibrary(ProgramDir), 0);
    }
    void TearDown() override
    {
        FreeBarcodeLibrary();
        LibraryLoader::ClearFailures();
    }
    QString bmp() const { return m_dir.filePath("out.bmp"); }

    QTemporaryDir m_dir;
};

TEST(BarcodeSizes, HeightsLengthsAndFitting)
{
    const int heights[] = {11, 12, 13, 15};
    const int lengths[] = {258, 281, 304, 351};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(BarcodeHeight(i), heights[i]);
        EXPECT_EQ(BarcodeLength(i), lengths[i]);
    }
    // Lengths in 0.1 mm: 682, 744, 806, 930; a size fits when shorter than the space.
    const struct
    {
        int available;
        int index; // -1: none fits
    } cases[] = {{1000, 3}, {931, 3}, {930, 2}, {900, 2}, {745, 1}, {744, 0}, {683, 0}, {682, -1}, {0, -1}};
    for (const auto& c : cases) {
        int index = 7;
        EXPECT_EQ(FitBarcodeSize(c.available, &index), c.index >= 0) << c.available;
        EXPECT_EQ(index, c.index >= 0 ? c.index : 7) << c.available;
    }
}

TEST(BarcodeFrame, RectangleFollowsSizeAndOrientation)
{
    TBarcodeRect frame;
    frame.SetDesignRect({100, 50, 101, 51});
    EXPECT_EQ(frame.GetDesignRect(), (TRect{100, 50, 358, 61}));
    frame.SetSizeIndex(1); // centred: left moves by (258 - 281) / 2 = -11, top by (11 - 12) / 2 = 0
    EXPECT_EQ(frame.GetDesignRect(), (TRect{89, 50, 370, 62}));
    frame.SetHorizontal(false); // only with the next rectangle
    EXPECT_EQ(frame.GetDesignRect(), (TRect{89, 50, 370, 62}));
    frame.SetDesignRect({0, 0, 5, 5});
    EXPECT_EQ(frame.GetDesignRect(), (TRect{0, 0, 12, 281}));
    frame.SetZoom(2);
    frame.SetScreenRect({21, 0, 500, 500}); // moves only: dx = round(21 / 2) = 11
    EXPECT_EQ(frame.GetDesignRect(), (TRect{11, 0, 23, 281}));
    EXPECT_EQ(frame.GetCursorAt(frame.GetScreenRect().left, frame.GetScreenRect().top), CursorDefault);
}

TEST(BarcodeFrame, LongAddressIsCutOnACharacterBoundary)
{
    // 150 double-byte characters: byte 255 is a lead byte, so 254 bytes go.
    const AnsiString address = ToAnsi(QString(150, QChar(0x3042)));
    ASSERT_EQ(address.size(), 300);
    EXPECT_EQ(BarcodeAddress(address), address.left(254));
    // Half-width text becomes full width first.
    EXPECT_EQ(BarcodeAddress("1-2"), ToAnsi(QStringLiteral("１－２")));
}

TEST(BarcodeFrame, StreamRecords)
{
    TBarcodeRect frame;
    frame.SetDesignRect({10, 20, 0, 0});
    frame.SetSizeIndex(2);
    frame.SetHorizontal(false);
    QByteArray bytes;
    TFrameWriter writer(bytes);
    frame.SaveToStream(writer);
    ASSERT_EQ(bytes.size(), 16 + 1 + 2);
    EXPECT_EQ(bytes.right(2), QByteArray("\x02\x00", 2));

    TBarcodeRect loaded;
    TFrameReader reader(bytes);
    loaded.LoadFromStream(reader);
    EXPECT_EQ(loaded.SizeIndex(), 2);
    EXPECT_FALSE(loaded.Horizontal());
    EXPECT_EQ(loaded.GetDesignRect().Width(), 13);
    EXPECT_EQ(loaded.GetDesignRect().Height(), 304);

    {
        // Version 150: the frame's own visible byte, no base one.
        VersionScope version(150);
        QByteArray old = bytes.left(16) + QByteArray("\x00\x01\x01", 3);
        TFrameReader r(old);
        TBarcodeRect f;
        f.LoadFromStream(r);
        EXPECT_FALSE(f.Visible());
        EXPECT_EQ(f.SizeIndex(), 1);
        EXPECT_TRUE(f.Horizontal());
    }
    // A size index beyond the four sizes is a damaged record.
    QByteArray bad = bytes;
    bad[17] = 4;
    TFrameReader r(bad);
    EXPECT_THROW(loaded.LoadFromStream(r), EFrameStreamError);
    EXPECT_EQ(loaded.SizeIndex(), 2);
}

TEST_F(Barcode, AddressNumbersReadBackFromTheBars)
{
    const struct
    {
        const char* postal;
        const char* address;
        const char* data;
    } cases[] = {
        {"2630023", "千葉市稲毛区緑町3丁目30-8　郵便ビル403号", "26300233-30-8-403"},
        {"1980036", "東京都青梅市河辺町十一丁目六番地一号　郵便タワー601", "198003611-6-1-601"},
        {"2730102", "千葉県鎌ケ谷市右京塚　東3丁目-20-5　郵便・A&bコーポB604号", "27301023-20-5B604"},
        {"1100016", "東京都台東区台東5-6-3　ABCビル10F", "11000165-6-3-10"},
        {"6500046", "神戸市中央区港島中町9丁目7-6　郵便シティA棟1F1号", "65000469-7-6A1-1"},
        {"0640804", "札幌市中央区南四条西29丁目1524-23　第2郵便ハウス501", "064080429-1524-23-2-"},
        // The town of the postal code holds a numeral and a block suffix: the number starts after it.
        {"1020075", "東京都千代田区三番町6-2　弥生館4階", "10200756-2-4"},
        {"102-0075", "三番町６－２", "10200756-2"},
        // A letter that would be split by the 20-character cut is left out.
        {"1000013", "霞が関1-3-2-50-6-7X", "10000131-3-2-50-6-7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        const AnsiString address = BarcodeAddress(ToAnsi(QString::fromUtf8(c.address)));
        ASSERT_EQ(CreateAddressBarcode(c.postal, address, false, ProgramDir, FixtureDic, bmp()), 0);
        QImage image(bmp(), "BMP");
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.depth(), 1);
        const Decoded d = decode(image);
        ASSERT_TRUE(d.ok) << barsOf(image).toStdString();
        EXPECT_EQ(d.data, QString::fromLatin1(c.data));
        EXPECT_EQ(d.sum % 19, 0);

        // Vertical: a quarter turn clockwise, the start code at the top.
        ASSERT_EQ(CreateAddressBarcode(c.postal, address, true, ProgramDir, FixtureDic, bmp()), 0);
        const QImage vertical(bmp(), "BMP");
        EXPECT_EQ(vertical.size(), image.size().transposed());
        EXPECT_EQ(vertical.transformed(QTransform().rotate(-90)).convertToFormat(QImage::Format_RGB32),
                  image.convertToFormat(QImage::Format_RGB32));
    }
    ASSERT_EQ(CreateAddressBarcode("1000013", ToAnsi(QStringLiteral("東京都千代田区霞が関1-3-2-503")), false,
                                   ProgramDir, FixtureDic, bmp()),
              0);
    const Decoded d = decode(QImage(bmp(), "BMP"));
    EXPECT_EQ(d.data, QStringLiteral("10000131-3-2-503"));
    EXPECT_EQ(d.check, u'9');
}

TEST_F(Barcode, BadInputWritesNothing)
{
    const AnsiString address = ToAnsi(QStringLiteral("東京都千代田区霞が関1-3-2"));
    const struct
    {
        AnsiString postal, address;
    } cases[] = {{"100001", address}, {"10000133", address}, {"100001a", address},
                 {"", address},       {"1000013", ""},       {"1000013", ToAnsi(QStringLiteral("　 "))}};
    for (const auto& c : cases) {
        EXPECT_NE(CreateAddressBarcode(c.postal, c.address, false, ProgramDir, FixtureDic, bmp()), 0)
            << c.postal.constData();
        EXPECT_FALSE(QFile::exists(bmp()));
    }
    // An empty path means the dictionary folder's "Barcode.bmp".
    const QString dic = m_dir.filePath("dic/");
    ASSERT_TRUE(QDir().mkpath(dic));
    ASSERT_EQ(CreateAddressBarcode("1000013", address, false, ProgramDir, dic, "  "), 0);
    EXPECT_TRUE(QFile::exists(dic + "Barcode.bmp"));
}

TEST_F(Barcode, FrameMakesItsPictureAndDeletesTheWorkFile)
{
    MessageRecorder recorder;
    const QString work = m_dir.path() + u'/';
    TBarcodeRect frame;
    frame.SetDesignRect({0, 0, 0, 0});
    frame.MakeBarcode("1000013", ToAnsi(QStringLiteral("霞が関1-3-2")), ProgramDir, FixtureDic, work);
    ASSERT_FALSE(frame.Image().isNull());
    EXPECT_FALSE(QFile::exists(work + "Barcode.bmp"));
    const QImage upright = frame.Image();

    // A turned page turns the picture, and the next merge keeps it turned.
    frame.Rotate180();
    const QImage turned = upright.transformed(QTransform().rotate(180));
    EXPECT_EQ(frame.Image(), turned);
    frame.MakeBarcode("1000013", ToAnsi(QStringLiteral("霞が関1-3-2")), ProgramDir, FixtureDic, work);
    EXPECT_EQ(frame.Image(), turned);

    frame.MakeBarcode("123", ToAnsi(QStringLiteral("霞が関1-3-2")), ProgramDir, FixtureDic, work);
    EXPECT_TRUE(frame.Image().isNull());
    EXPECT_FALSE(QFile::exists(work + "Barcode.bmp"));
    EXPECT_EQ(recorder.count(), 0);
}

TEST(BarcodeLibrary, LoadFailuresAreShownOncePerFrame)
{
    const struct
    {
        bool symbol;
        QString text, caption;
    } cases[] = {
        {false, "Dlbarckj.dll\r\nDLLのロードに失敗しました", "Dlbarckj.dll LoadLibrary Error"},
        {true, "CreateAdrsBar\r\n関数の割り当てに失敗しました", "Dlbarckj.dll GetProcAddress Error"}};
    QTemporaryDir dir;
    for (const auto& c : cases) {
        if (c.symbol)
            LibraryLoader::SetFailingSymbol("Dlbarckj.dll", "CreateAdrsBar");
        else
            LibraryLoader::SetFailingLoad("Dlbarckj.dll");
        MessageRecorder recorder;
        recorder.answer(MsgSeam::IdOk);
        {
            TBarcodeRect frame;
            for (int i = 0; i < 2; ++i) {
                frame.MakeBarcode("1000013", ToAnsi(QStringLiteral("霞が関1-3-2")), ProgramDir, FixtureDic,
                                  dir.path() + u'/');
                EXPECT_TRUE(frame.Image().isNull());
            }
        }
        ASSERT_EQ(recorder.count(), 1);
        EXPECT_EQ(recorder.last().text, c.text);
        EXPECT_EQ(recorder.last().caption, c.caption);
        EXPECT_EQ(recorder.last().flags, MsgSeam::MbIconStop);
        LibraryLoader::ClearFailures();
    }
    // The failed load's reference went with its frame: the library loads afresh.
    EXPECT_EQ(LoadBarcodeLibrary(ProgramDir), 0);
    EXPECT_EQ(CreateAddressBarcode("1000013", ToAnsi(QStringLiteral("霞が関1")), false, ProgramDir,
                                   FixtureDic, dir.filePath("a.bmp")),
              0);
    FreeBarcodeLibrary();
    EXPECT_EQ(CreateAddressBarcode("1000013", "x", false, ProgramDir, FixtureDic, dir.filePath("a.bmp")),
              BarcodeNotLoaded);
}

} // namespace
