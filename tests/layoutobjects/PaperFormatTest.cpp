// Paper formats: the custom file against a golden file, ids and sheets of custom papers, damaged files, the
// turned sheet, rescaled presets and the shipped "Lyt.fmt".
#include "layoutobjects/PaperFormat.h"
#include "support/AnsiText.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

const QString GoldenCustom = QStringLiteral(TOVAREL_TEST_DATA_DIR "paper/CstmL-postcard.fmt");

TPaperFormat Postcard()
{
    TPaperFormat f;
    f.Kind = PaperPostcard;
    f.Category = A("はがき");
    f.Name = A("郵便はがき");
    f.Width = 1000;
    f.Height = 1480;
    f.Picture = "Hagaki.bmp";
    f.Count1 = 4;
    f.Rects1[0] = {20, 30, 60, 90};
    f.Rects1[1] = {100, 40, 200, 300};
    f.Rects1[2] = {150, 100, 250, 400};
    f.Rects1[3] = {40, 150, 55, 501}; // vertical barcode, 15 × 351
    f.Count2 = 9;
    f.Rects2[8] = {40, 150, 55, 501};
    return f;
}

TCustomPaperFormat Custom(const TPaperFormat& source, int32_t sourceIndex, const char* name)
{
    TCustomPaperFormat c;
    c.Source = sourceIndex;
    c.Format = source;
    c.Format.Category = CustomCategory();
    c.Format.Name = A(name);
    return c;
}

TPaperFormat Label(int32_t sheetIndex)
{
    TPaperFormat f;
    f.Kind = PaperLabel;
    f.Width = 864;
    f.Height = 423;
    f.SheetIndex = sheetIndex;
    return f;
}

class PaperFormatTest : public ::testing::Test
{
protected:
    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath(CustomFormatFileName); }
};

TEST_F(PaperFormatTest, OneCustomPostcardWritesTheGoldenFile)
{
    TCustomFormats formats;
    TPaperFormat source = Postcard();
    source.SheetIndex = 0;
    EXPECT_EQ(formats.Add(Custom(source, 0, "私の葉書"), {}), 1);
    ASSERT_TRUE(SaveCustomFormats(path(), formats));
    const QByteArray bytes = ReadFileBytes(path());
    ASSERT_EQ(bytes.size(), 708);
    EXPECT_EQ(bytes, ReadFileBytes(GoldenCustom));
    EXPECT_EQ(char(~bytes[0]), 'P');
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + 24), 1);   // last id
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + 28), 1);   // N
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + 32), 708); // sheet block
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + 36), 0);   // M

    TCustomFormats read;
    ASSERT_EQ(LoadCustomFormats(path(), read), FormatFileState::Read);
    EXPECT_EQ(read.LastId, 1);
    ASSERT_EQ(read.Formats.size(), 1u);
    EXPECT_EQ(read.Formats[0], formats.Formats[0]);
}

TEST_F(PaperFormatTest, IdsAreNeverReusedAndTheLastDeletionDeletesTheFile)
{
    TCustomFormats formats;
    EXPECT_EQ(formats.Add(Custom(Postcard(), 0, "一"), {}), 1);
    EXPECT_EQ(formats.Add(Custom(Postcard(), 0, "二"), {}), 2);
    ASSERT_TRUE(SaveCustomFormats(path(), formats));
    EXPECT_TRUE(formats.Remove(2));
    EXPECT_FALSE(formats.Remove(2));
    EXPECT_TRUE(formats.Remove(1));
    ASSERT_TRUE(SaveCustomFormats(path(), formats));
    EXPECT_FALSE(QFileInfo::exists(path()));

    // The open dialog still holds the last id; a fresh start without a file begins at 1.
    EXPECT_EQ(formats.Add(Custom(Postcard(), 0, "三"), {}), 3);
    TCustomFormats fresh;
    ASSERT_EQ(LoadCustomFormats(path(), fresh), FormatFileState::Missing);
    EXPECT_EQ(fresh.Add(Custom(Postcard(), 0, "四"), {}), 1);
}

TEST_F(PaperFormatTest, DeletingACustomLabelMovesLaterSheetsDown)
{
    TCustomFormats formats;
    TPaperFormat postcard = Postcard();
    postcard.SheetIndex = 1; // its source's sheet in "Lyt.fmt"
    formats.Add(Custom(Label(0), 20, "ラベルA"), {2100, 2970, 2, 6, 186, 216, 0, 0});
    const int32_t second = formats.Add(Custom(Label(0), 22, "ラベルB"), {2100, 2970, 3, 7, 0, 4, 0, 0});
    const int32_t card = formats.Add(Custom(postcard, 4, "葉書"), {});
    ASSERT_EQ(formats.Sheets.size(), 2u);
    EXPECT_EQ(formats.Formats[1].Format.SheetIndex, 2);

    ASSERT_TRUE(formats.Remove(1));
    ASSERT_TRUE(SaveCustomFormats(path(), formats));
    TCustomFormats read;
    ASSERT_EQ(LoadCustomFormats(path(), read), FormatFileState::Read);
    ASSERT_EQ(read.Sheets.size(), 1u);
    EXPECT_EQ(read.Formats[read.Find(second)].Format.SheetIndex, 1);
    EXPECT_EQ(read.SheetOf(read.Formats[read.Find(second)].Format).Columns, 3);
    EXPECT_EQ(read.Formats[read.Find(card)].Format.SheetIndex, 1);
    EXPECT_EQ(read.LastId, 3);
}

TEST_F(PaperFormatTest, DamagedAndForeignFilesGiveNothing)
{
    TCustomFormats one;
    one.Add(Custom(Label(0), 20, "ラベル"), {2100, 2970, 2, 6, 186, 216, 0, 0});
    const QByteArray good = EncodeCustomFile(one);
    QByteArray countPastEnd = good;
    qToLittleEndian<qint32>(2, countPastEnd.data() + 28);
    QByteArray sheetsPastEnd = good;
    qToLittleEndian<qint32>(0x7fffffff, sheetsPastEnd.data() + 36);
    QByteArray negative = good;
    qToLittleEndian<qint32>(-1, negative.data() + 28);
    const struct
    {
        const char* what;
        QByteArray bytes;
        FormatFileState state;
    } cases[] = {
        {"good", good, FormatFileState::Read},
        {"records past the end", countPastEnd, FormatFileState::Damaged},
        {"sheets past the end", sheetsPastEnd, FormatFileState::Damaged},
        {"negative count", negative, FormatFileState::Damaged},
        {"header cut", good.left(30), FormatFileState::Damaged},
        {"foreign", QByteArray("Pomrek Custom FormatFile plain text"), FormatFileState::Foreign},
        {"empty", QByteArray(), FormatFileState::Foreign},
    };
    for (const auto& c : cases) {
        WriteFileBytes(path(), c.bytes);
        TCustomFormats read;
        read.LastId = 99;
        EXPECT_EQ(LoadCustomFormats(path(), read), c.state) << c.what;
        EXPECT_EQ(read.Formats.size(), c.state == FormatFileState::Read ? 1u : 0u) << c.what;
    }
    TStandardFormats standard;
    EXPECT_EQ(LoadLayoutFormats(m_dir.filePath("none.fmt"), standard), FormatFileState::Missing);
    WriteFileBytes(path(), good);
    EXPECT_EQ(LoadLayoutFormats(path(), standard), FormatFileState::Foreign);
    EXPECT_TRUE(standard.Formats.empty());
}

TEST_F(PaperFormatTest, ALongNameIsCutAtACharacterBoundary)
{
    EXPECT_EQ(CustomPaperName(QStringLiteral("  名前  ")), A("名前"));
    // 15 double-byte characters after one single byte: the 31st byte would split the last one.
    const AnsiString cut = CustomPaperName(QStringLiteral("a亜亜亜亜亜亜亜亜亜亜亜亜亜亜亜"));
    EXPECT_EQ(cut.size(), 29);
    EXPECT_EQ(cut, A("a亜亜亜亜亜亜亜亜亜亜亜亜亜亜"));
    EXPECT_EQ(CustomPaperName(QStringLiteral("亜亜亜亜亜亜亜亜亜亜亜亜亜亜亜亜")).size(), 30);
}

TEST(PaperSheetTest, TurnedSheetGeometry)
{
    const TMultiUpSheet stored{2100, 2970, 5, 7, 50, 30, 0, 20};
    const TShownSheet shown = ShownSheet(stored, 400, 1);
    EXPECT_EQ(shown, (TShownSheet{2970, 2100, 7, 5, 30, 50, 20, 0}));
    EXPECT_EQ(StoredSheet(shown, 400, 1), stored);
    const TMultiUpSheet gaps{2100, 2970, 2, 6, 186, 216, 30, 10};
    EXPECT_EQ(StoredSheet(ShownSheet(gaps, 423, 1), 423, 1), gaps);
    EXPECT_EQ(StoredSheet(ShownSheet(gaps, 423, 0), 423, 0), gaps);
    EXPECT_EQ(ShownSheet(gaps, 423, 0).Left, 186);
}

TEST(PaperPresetTest, RescaledPresetsKeepTheBarcodeInside)
{
    const TPaperFormat source = Postcard();
    TPaperFormat work = source;
    work.Width = 1500;
    work.Height = 2000;
    RescalePresets(source, work);
    EXPECT_EQ(work.Rects1[0], (TPresetRect{30, 41, 90, 122}));
    EXPECT_EQ(work.Rects1[3].Width(), 15);
    EXPECT_EQ(work.Rects1[3].Height(), 351);
    EXPECT_EQ(work.Rects2[8], work.Rects1[3]);

    // Shrunk to 60 × 60 mm (227 design units): the barcode keeps its size and stays on the paper as far as
    // it can; small rectangles keep 10 × 10.
    work.Width = 600;
    work.Height = 600;
    RescalePresets(source, work);
    const TPresetRect bar = work.Rects1[3];
    EXPECT_EQ(bar.Width(), 15);
    EXPECT_EQ(bar.Height(), 351);
    EXPECT_EQ(bar.Top, 0);
    EXPECT_GE(bar.Left, 0);
    EXPECT_EQ(work.Rects2[0], (TPresetRect{0, 0, 10, 10}));

    // A label's barcode is its last rectangle.
    TPaperFormat label = Label(1);
    label.Count1 = 2;
    label.Rects1[1] = {10, 130, 314, 143};
    TPaperFormat smaller = label;
    smaller.Width = 820;
    RescalePresets(label, smaller);
    EXPECT_EQ(smaller.Rects1[1].Width(), 304);
    EXPECT_EQ(smaller.Rects1[1].Right, TenthMmToDesign(820));
    EXPECT_EQ(BarcodeRectIndex(label, 1), 1);
    TPaperFormat card = label;
    card.Kind = PaperCard;
    EXPECT_EQ(BarcodeRectIndex(card, 1), -1);
}

// The shipped "Lyt.fmt": complete variant groups, pieces inside their sheets, pictures present.
TEST(ShippedPaperTest, LytFmtReadsBack)
{
    const QString common = QStringLiteral(TOVAREL_PROGRAM_DIR "Common/");
    TStandardFormats standard;
    ASSERT_EQ(LoadLayoutFormats(common + LayoutFormatFileName, standard), FormatFileState::Read);
    const auto& f = standard.Formats;
    ASSERT_FALSE(f.empty());
    EXPECT_EQ(f[0].Kind, PaperPostcard);
    QSet<int> kinds;
    for (size_t i = 0; i < f.size();) {
        const int variants = f[i].Kind == PaperPostcard || f[i].Kind == PaperLabel ? 2 : 3;
        kinds.insert(f[i].Kind);
        for (int d = 0; d < variants; ++d) {
            ASSERT_LT(i + d, f.size());
            const TPaperFormat& r = f[i + d];
            EXPECT_EQ(r.Direction, d) << r.Name.toStdString();
            EXPECT_EQ(r.Name, f[i].Name);
            EXPECT_EQ(r.Category, f[i].Category);
            if (!r.Picture.isEmpty())
                EXPECT_TRUE(QFileInfo::exists(common + "Format/" + QString::fromLatin1(r.Picture)))
                    << r.Picture.toStdString();
            if (r.SheetIndex > 0) {
                ASSERT_LE(size_t(r.SheetIndex), standard.Sheets.size());
                const TShownSheet s = ShownSheetOf(r, standard.SheetOf(r));
                EXPECT_GE(s.Top, 0);
                EXPECT_GE(s.Left, 0);
                EXPECT_LE(s.Left + s.Columns * r.Width + (s.Columns - 1) * s.HorzGap, s.Width);
                EXPECT_LE(s.Top + s.Rows * r.Height + (s.Rows - 1) * s.VertGap, s.Height);
            }
        }
        i += variants;
    }
    EXPECT_EQ(kinds, (QSet<int>{0, 1, 2, 3}));
    TPaperFormat one;
    TMultiUpSheet sheet;
    const int last = int(f.size()) - 1;
    ASSERT_TRUE(ReadLayoutFormat(common + LayoutFormatFileName, last, one, sheet));
    EXPECT_EQ(one, f[last]);
    EXPECT_EQ(sheet, standard.SheetOf(f[last]));
    EXPECT_FALSE(ReadLayoutFormat(common + LayoutFormatFileName, last + 1, one, sheet));
}

} // namespace
