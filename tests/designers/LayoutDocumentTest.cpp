// The address-side document: new layouts on the shipped papers, ".gpl" files (golden file, round trip with
// illustrations and figures, safe save, damaged files, deleted papers), the print-file preamble, "DrRect.def"
// and switching the fixed set.
#include "core/MainSettings.h"
#include "designers/LayoutDocument.h"
#include "layoutobjects/FigureRect.h"
#include "layoutobjects/FrameClasses.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/ImageFiles.h"
#include "platform/Printers.h"
#include "support/MessageRecorder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <csignal>
#include <set>
#include <sys/resource.h>

namespace {

const QString GoldenNewPostcard = QStringLiteral(TOVAREL_TEST_DATA_DIR "designers/new-postcard.gpl");

class LayoutDocumentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_saved = {ProgramFolder, DataRootFolder, DataFolder};
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = DataFolder = m_dir.path() + u'/';
        TPrinterList::Instance().SetPrinters({});
    }
    void TearDown() override
    {
        ProgramFolder = m_saved[0];
        DataRootFolder = m_saved[1];
        DataFolder = m_saved[2];
    }
    std::unique_ptr<TLayoutDocument> Fresh() { return std::make_unique<TLayoutDocument>(m_context); }
    std::unique_ptr<TLayoutDocument> NewLayout(int index, quint8 mode = 0)
    {
        auto document = Fresh();
        document->PaperIndex = index;
        EXPECT_TRUE(document->LoadPaperFormat());
        document->FitPaperBarcode();
        document->SenderDisplayMode = mode;
        document->SetIndividualLayout(false, true);
        document->NewLayout();
        return document;
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QStringList m_saved;
    TLayoutContext m_context;
};

TEST_F(LayoutDocumentTest, NewPostcardMatchesTheGoldenFile)
{
    auto document = NewLayout(0);
    const QByteArray bytes = document->EncodeLayoutFile(QByteArray());
    if (qEnvironmentVariableIsSet("TOVAREL_WRITE_GOLDEN"))
        WriteFileBytes(GoldenNewPostcard, bytes);
    EXPECT_EQ(bytes, ReadFileBytes(GoldenNewPostcard));

    // Preamble of 18 + 4 + 28 + 4 + n + 108 bytes, then 30 entries; the JPEG length at offset 50.
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + 50), 0);
    TPrintFilePreamble preamble;
    EXPECT_EQ(ReadPrintFilePreamble(bytes, LayoutFileSignature, LayoutFileHeaderSize, preamble), 162);
    EXPECT_EQ(preamble.Settings, document->Settings);
    // Six frames placed: recipient postal code, address, name, then the sender's, in that order.
    const TSimpleSet& s = document->Simple();
    const std::vector<TDrawRect*> expected = {s.Postal,       s.Address,       s.Name,
                                              s.SenderPostal, s.SenderAddress, s.SenderName};
    EXPECT_EQ(document->Stacking, expected);
    EXPECT_TRUE(document->Modified);
    // A postcard with a picture: both postal marks 0; honorifics of new layouts.
    using namespace LayoutSettingsField;
    EXPECT_EQ(document->Settings.Int(RecipientPostalMark), 0);
    EXPECT_EQ(document->Settings.Int(SenderPostalMark), 0);
    EXPECT_EQ(document->Settings.Honorific(CompanyHonorific), QStringLiteral("御中"));
    EXPECT_EQ(document->Settings.Honorific(SenderHonorific), QStringLiteral("行"));
    EXPECT_EQ(document->PrintArea,
              (TRect{0, 0, document->DesignSize.width(), document->DesignSize.height()}));
}

TEST_F(LayoutDocumentTest, SavedFileReopensIdentically)
{
    auto document = NewLayout(0);
    auto* text = static_cast<TWordRect*>(document->AddFreeFrame(FreeText, std::make_unique<TWordRect>()));
    text->SetDesignRect({10, 10, 200, 60});
    text->SetAlignment(2);
    document->InsertIntoStacking(text, false);
    auto* unplaced = document->AddFreeFrame(FreeText, std::make_unique<TWordRect>());
    Q_UNUSED(unplaced);
    document->Settings.SetByte(104, 0x5A); // an unused byte travels unchanged
    const QString path = Path("layouts/Card.gpl");
    ASSERT_TRUE(document->SaveToFile(path));
    EXPECT_FALSE(document->Modified);
    EXPECT_EQ(document->FileName, path);
    const QByteArray saved = ReadFileBytes(path);

    // The stacking indexes are a permutation of 0 .. placed - 1; the unplaced text is stored with -1.
    auto reopened = Fresh();
    ASSERT_TRUE(reopened->LoadFromFile(path));
    EXPECT_EQ(reopened->Stacking.size(), 7u);
    EXPECT_EQ(reopened->FreeFrames(FreeText).size(), 1u); // the unplaced one is dropped on reading
    EXPECT_EQ(reopened->Settings.Byte(104), 0x5A);
    EXPECT_EQ(static_cast<TWordRect*>(reopened->FreeFrames(FreeText)[0].get())->Alignment(), 2);
    EXPECT_EQ(m_context.Prototypes->Text->Alignment(), 2); // new texts follow the last one read
    TPrintFilePreamble preamble;
    const qsizetype body = ReadPrintFilePreamble(saved, LayoutFileSignature, LayoutFileHeaderSize, preamble);
    ASSERT_GT(body, 0);
    EXPECT_FALSE(DecodeJpeg(preamble.Preview).isNull());
    EXPECT_EQ(DecodeJpeg(preamble.Preview).size(), QSize(135, 200));
}

TEST_F(LayoutDocumentTest, ResaveIsIdenticalAndDetailedSetReopens)
{
    auto document = NewLayout(0);
    document->SetIndividualLayout(true);
    EXPECT_TRUE(document->DetailedSet);
    const QString path = Path("Detailed.gpl");
    ASSERT_TRUE(document->SaveToFile(path));
    const QByteArray first = ReadFileBytes(path);
    auto reopened = Fresh();
    ASSERT_TRUE(reopened->LoadFromFile(path));
    EXPECT_TRUE(reopened->DetailedSet);
    for (const auto& frame : reopened->SimpleFrames())
        EXPECT_LT(reopened->StackingIndex(frame.get()), 0);
    ASSERT_TRUE(reopened->SaveToFile(path));
    EXPECT_EQ(ReadFileBytes(path), first);
    EXPECT_FALSE(QFile::exists(Path("$$Detailed.gpl")));
}

// Illustrations and figures are read by their class: the file reopens and re-saves identically, new figures
// follow the last figure read, and the preview draws illustrations smoothly.
TEST_F(LayoutDocumentTest, IllustrationsAndFiguresRoundTrip)
{
    auto document = NewLayout(0);
    // A fine checkerboard: smoothing shrinks it to greys, a plain stretch keeps black and white.
    TGraphic checker;
    checker.Bitmap = QImage(64, 64, QImage::Format_RGB888);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            checker.Bitmap.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    auto* illust =
        static_cast<TIllustRect*>(document->AddFreeFrame(FreeIllustration, std::make_unique<TIllustRect>()));
    illust->SetDesignRect({20, 20, 120, 120});
    illust->SetGraphic(&checker);
    document->InsertIntoStacking(illust, false);
    auto figure = [&](quint8 kind, quint32 color, quint8 sector) {
        auto* f =
            static_cast<TFigureRect*>(document->AddFreeFrame(FreeFigure, std::make_unique<TFigureRect>()));
        f->SetDesignRect({150, 300, 300, 450});
        f->SetFigureKind(kind);
        f->SetCornerSize(1, 2);
        f->SetFillVisible(true);
        f->SetGradient(true);
        f->SetLineType(3);
        f->SetLineWidth(9);
        f->SetLineColor(color);
        f->SetFillColor(0x00FF00);
        f->SetFillColor2(0x0000FF);
        f->SetGradientAngle(45);
        f->SetSectorDirection(sector);
        document->InsertIntoStacking(f, false);
        return f;
    };
    figure(FigureRectangle, 0x111111, 0);
    const TFigureRect* last = figure(FigureSector, 0x222222, 2);

    const QString path = Path("Pictures.gpl");
    ASSERT_TRUE(document->SaveToFile(path));
    EXPECT_FALSE(illust->SmoothScaling()); // switched on for the preview only
    const QByteArray first = ReadFileBytes(path);
    auto reopened = Fresh();
    ASSERT_TRUE(reopened->LoadFromFile(path));
    ASSERT_EQ(reopened->FreeFrames(FreeIllustration).size(), 1u);
    ASSERT_EQ(reopened->FreeFrames(FreeFigure).size(), 2u);
    EXPECT_EQ(reopened->Stacking.size(), 9u);
    const auto* read = static_cast<const TIllustRect*>(reopened->FreeFrames(FreeIllustration)[0].get());
    EXPECT_EQ(read->GetBitmap().convertToFormat(QImage::Format_RGB888), checker.Bitmap);
    ASSERT_TRUE(reopened->SaveToFile(path));
    EXPECT_EQ(ReadFileBytes(path), first);

    const TFigureRect& prototype = *m_context.Prototypes->Figure;
    EXPECT_EQ(prototype.FigureKind(), FigureSector);
    EXPECT_EQ(prototype.GetCornerSize(1), 2);
    EXPECT_TRUE(prototype.FillVisible() && prototype.Gradient());
    EXPECT_EQ(std::tuple(prototype.LineType(), prototype.LineWidth(), prototype.LineColor()),
              std::tuple(quint8(3), 9, quint32(0x222222)));
    EXPECT_EQ(std::tuple(prototype.FillColor(), prototype.FillColor2(), prototype.GradientAngle()),
              std::tuple(quint32(0x00FF00), quint32(0x0000FF), 45));
    EXPECT_EQ(prototype.SectorDirection(), 0); // the apex direction is not taken over
    EXPECT_NE(last->SectorDirection(), prototype.SectorDirection());
    EXPECT_FALSE(m_context.Prototypes->Changed);

    // The illustration covers thumbnail pixels 7..43: inside it the checkerboard is averaged to grey.
    const QImage thumbnail = document->CreateThumbnail(0);
    int grey = 0;
    for (int y = 12; y < 38; ++y)
        for (int x = 12; x < 38; ++x)
            grey += qAbs(qGray(thumbnail.pixel(x, y)) - 128) < 64;
    EXPECT_EQ(grey, 26 * 26);
    EXPECT_FALSE(illust->SmoothScaling());
}

TEST_F(LayoutDocumentTest, FailedSaveRestoresTheOldFile)
{
    auto document = NewLayout(0);
    const QString path = Path("Old.gpl");
    WriteFileBytes(path, "old layout");
    MessageRecorder messages;
    messages.allowUnexpected();
    // A file-size limit makes the write fail half way.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 512;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = document->SaveToFile(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadFileBytes(path), "old layout");
    EXPECT_FALSE(QFile::exists(Path("$$Old.gpl")));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, SaveFailedMessage);
    EXPECT_TRUE(document->Modified);
}

// Damaged files: each is refused with the one message and reads nothing.
TEST_F(LayoutDocumentTest, DamagedFilesAreRefused)
{
    auto document = NewLayout(0);
    const QByteArray good = document->EncodeLayoutFile(QByteArray());
    const qsizetype body = 162;
    auto withInt = [&](qsizetype at, qint32 value) {
        QByteArray b = good;
        qToLittleEndian<qint32>(value, b.data() + at);
        return b;
    };
    // The first entry's stacking index, then the one of the second entry (the first frame's length).
    TFrameReader reader(good, body + 4);
    document->Simple().Postal->LoadFromStream(reader);
    const qsizetype second = reader.Position();
    const std::pair<const char*, QByteArray> cases[] = {
        {"empty", QByteArray()},
        {"signature only", good.left(18)},
        {"other signature", ComplementBytes("Pomrek Label File!") + good.mid(18)},
        {"preview longer than the file", withInt(50, 1 << 30)},
        {"negative preview", withInt(50, -1)},
        {"truncated body", good.left(good.size() - 7)},
        {"text count past the end", withInt(22 + 12, 100000)},
        {"negative count", withInt(22 + 8, -1)},
        {"illustration without bytes", withInt(22 + 8, 1)},
        {"stacking index used twice", withInt(second, 0)},
        {"stacking index past the entries", withInt(body, 30)},
    };
    for (const auto& [what, bytes] : cases) {
        WriteFileBytes(Path("bad.gpl"), bytes);
        MessageRecorder messages;
        messages.allowUnexpected();
        auto fresh = Fresh();
        EXPECT_FALSE(fresh->LoadFromFile(Path("bad.gpl"))) << what;
        ASSERT_EQ(messages.count(), 1) << what;
        EXPECT_EQ(messages.last().text, InvalidFileMessage) << what;
        EXPECT_TRUE(fresh->FileName.isEmpty()) << what;
    }
}

TEST_F(LayoutDocumentTest, StackingGapsCloseUp)
{
    auto document = NewLayout(0);
    QByteArray bytes = document->EncodeLayoutFile(QByteArray());
    // Indexes 0..5 become 0, 3, 6, ...: the order stays, the gaps go.
    TFrameReader reader(bytes, 162);
    for (const auto& frame : document->SimpleFrames()) {
        const qsizetype at = reader.Position();
        const qint32 index = reader.ReadInt32();
        if (index >= 0)
            qToLittleEndian<qint32>(index * 3, bytes.data() + at);
        frame->Clone()->LoadFromStream(reader);
    }
    WriteFileBytes(Path("gaps.gpl"), bytes);
    auto reopened = Fresh();
    ASSERT_TRUE(reopened->LoadFromFile(Path("gaps.gpl")));
    const TSimpleSet& s = reopened->Simple();
    const std::vector<TDrawRect*> expected = {s.Postal,       s.Address,       s.Name,
                                              s.SenderPostal, s.SenderAddress, s.SenderName};
    EXPECT_EQ(reopened->Stacking, expected);
}

TEST_F(LayoutDocumentTest, DeletedPaperLoadsOnThePreviousPaper)
{
    auto document = NewLayout(0);
    document->PaperIndex = 9999;
    WriteFileBytes(Path("gone.gpl"), document->EncodeLayoutFile(QByteArray()));
    auto reopened = Fresh();
    reopened->Paper.Width = 1234;
    MessageRecorder messages;
    messages.allowUnexpected();
    ASSERT_TRUE(reopened->LoadFromFile(Path("gone.gpl")));
    EXPECT_FALSE(reopened->PaperFound);
    EXPECT_EQ(reopened->Paper.Width, 1234);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, DeletedPaperMessage);

    // A custom paper that is not there is a deleted paper as well.
    document->PaperIndex = -7;
    WriteFileBytes(Path("gone.gpl"), document->EncodeLayoutFile(QByteArray()));
    auto custom = Fresh();
    MessageRecorder more;
    more.allowUnexpected();
    ASSERT_TRUE(custom->LoadFromFile(Path("gone.gpl")));
    EXPECT_FALSE(custom->PaperFound);
}

TEST_F(LayoutDocumentTest, PaperWithoutItsPictureStillLoads)
{
    QDir().mkpath(Path("program/Common"));
    ASSERT_TRUE(
        QFile::copy(ProgramFolder + QStringLiteral("Common/Lyt.fmt"), Path("program/Common/Lyt.fmt")));
    ProgramFolder = Path("program/");
    auto document = NewLayout(0);
    EXPECT_TRUE(document->Background.isNull());
    EXPECT_EQ(document->DesignSize, QSize(378, 559));
    EXPECT_FALSE(document->CreateThumbnail(0).isNull());
}

TEST_F(LayoutDocumentTest, EnvelopeWithoutPictureAndReplyPaper)
{
    // The shipped label sheets are not address-side papers; the reply side of a return postcard (index 2)
    // has four simple rectangles: the sender fills the recipient frames and only those are placed.
    TMemorySenders senders;
    TMemoryRow sender;
    sender.Fields = {
        {"RecNo", 4}, {"Name", "見本 花子"}, {"SelectInfo", 1}, {"NamePrint", true}, {"Pos", "1000013"}};
    senders.Rows.push_back(sender);
    m_context.Senders = &senders;
    auto reply = NewLayout(2, 1);
    EXPECT_EQ(reply->Paper.Count1, 4);
    EXPECT_EQ(reply->Stacking.size(), 3u);
    EXPECT_EQ(reply->Simple().Name->Name(), QStringLiteral("見本 花子"));
    EXPECT_EQ(reply->Simple().Name->Honorific(), QStringLiteral("行"));
    EXPECT_EQ(reply->SenderRecNo, 4);
}

TEST_F(LayoutDocumentTest, SwitchingToTheDetailedSetClampsTheBarcode)
{
    auto document = NewLayout(0);
    document->Simple().Barcode->SetVisible(true);
    document->Simple().Barcode->SetSizeIndex(3);
    document->MaxBarcodeSize = 1;
    document->SetIndividualLayout(true);
    EXPECT_TRUE(document->Detailed().Barcode->Visible());
    EXPECT_EQ(document->Detailed().Barcode->SizeIndex(), 1);
    EXPECT_GE(document->StackingIndex(document->Detailed().Barcode), 0);
    for (const auto& frame : document->SimpleFrames())
        EXPECT_LT(document->StackingIndex(frame.get()), 0);
    // Every detailed frame is placed (all visible after emptying), the barcode among them.
    EXPECT_EQ(document->Stacking.size(), 21u);
}

TEST(PrintFilePreamble, PreviewLengthOffsets)
{
    const std::tuple<QByteArray, int, int> kinds[] = {{LayoutFileSignature, 28, 50},
                                                      {LabelFileSignature, 28, 49},
                                                      {CardFileSignature, 28, 48},
                                                      {DesignFileSignature, 32, 54}};
    for (const auto& [signature, headerSize, offset] : kinds) {
        TPrintFilePreamble preamble;
        preamble.Header = QByteArray(headerSize, '\x11');
        preamble.Preview = "JPEG";
        const QByteArray bytes = WritePrintFilePreamble(signature, preamble) + "body";
        EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + offset), 4) << signature.constData();
        TPrintFilePreamble read;
        LoadedFileVersion = 0;
        EXPECT_EQ(ReadPrintFilePreamble(bytes, signature, headerSize, read), bytes.size() - 4);
        EXPECT_EQ(LoadedFileVersion, CurrentFileVersion);
        EXPECT_EQ(read.Preview, "JPEG");
    }
}

class DefaultRectsTest : public ::testing::Test
{
protected:
    QString Path() const { return m_dir.filePath(DefaultRectsFileName); }
    QTemporaryDir m_dir;
};

TEST_F(DefaultRectsTest, MissingForeignAndDamagedFiles)
{
    {
        TDefaultRects rects;
        LoadDefaultRects(Path(), rects);
        EXPECT_EQ(rects.Text->Font().name, QStringLiteral("ＭＳ Ｐゴシック"));
        EXPECT_EQ(rects.Text->FontColor(), 0u);
    }
    {
        WriteFileBytes(Path(), ComplementBytes("Pomrek OtherSettings") + QByteArray(40, '\0'));
        TDefaultRects rects;
        const QString constructed = rects.Text->Font().name;
        LoadDefaultRects(Path(), rects);
        EXPECT_EQ(rects.Text->Font().name, constructed);
    }
    {
        // A damaged text prototype leaves the prototype as constructed, silently.
        TDefaultRects written;
        written.Text->SetAlignment(3);
        WriteFileBytes(Path(), EncodeDefaultRects(written).left(40));
        TDefaultRects rects;
        LoadDefaultRects(Path(), rects);
        EXPECT_EQ(rects.Text->Alignment(), TWordRect().Alignment());
    }
}

TEST_F(DefaultRectsTest, BytesAfterThePrototypesAreKept)
{
    TDefaultRects written;
    written.Text->SetAlignment(3);
    written.Tail = "sender block prototype";
    written.Changed = true;
    ASSERT_TRUE(SaveDefaultRects(Path(), written));
    const QString golden = QStringLiteral(TOVAREL_TEST_DATA_DIR "designers/DrRect.def");
    if (qEnvironmentVariableIsSet("TOVAREL_WRITE_GOLDEN"))
        WriteFileBytes(golden, ReadFileBytes(Path()));
    EXPECT_EQ(ReadFileBytes(Path()), ReadFileBytes(golden));
    TDefaultRects read;
    LoadDefaultRects(Path(), read);
    EXPECT_EQ(read.Text->Alignment(), 3);
    EXPECT_TRUE(read.Tail.endsWith("sender block prototype"));
    read.Changed = true;
    ASSERT_TRUE(SaveDefaultRects(m_dir.filePath("again.def"), read));
    EXPECT_EQ(ReadFileBytes(m_dir.filePath("again.def")), ReadFileBytes(Path()));

    // Unchanged prototypes are not written.
    TDefaultRects unchanged;
    EXPECT_TRUE(SaveDefaultRects(m_dir.filePath("none.def"), unchanged));
    EXPECT_FALSE(QFile::exists(m_dir.filePath("none.def")));
}

} // namespace
