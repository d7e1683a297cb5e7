// The message-side document: empty designs on the shipped papers, ".gpd" files (golden files, a round trip
// with every frame kind, a background and a sender block, safe save, damaged files), prototypes taken from
// a file, the paper lookup and the sender block's record.
#include "core/MainSettings.h"
#include "designers/DesignDocument.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/ImageFiles.h"
#include "layoutobjects/QRCodeRect.h"
#include "platform/Printers.h"
#include "support/DesignFixture.h"
#include "support/MessageRecorder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <QtEndian>

#include <csignal>
#include <sys/resource.h>

namespace {

const QString GoldenEmpty = QStringLiteral(TOVAREL_TEST_DATA_DIR "designers/empty-postcard.gpd");
const QString GoldenFull = QStringLiteral(TOVAREL_TEST_DATA_DIR "designers/every-kind.gpd");

class DesignDocumentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_saved = {ProgramFolder, DataRootFolder, DataFolder};
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = DataFolder = m_dir.path() + u'/';
        TPrinterList::Instance().SetPrinters({});
        m_senders.Rows = {SenderRow(1, "home", QStringLiteral("山田 太郎")),
                          SenderRow(2, "office", QStringLiteral("山田 花子"))};
        m_context.Senders = &m_senders;
    }
    void TearDown() override
    {
        ProgramFolder = m_saved[0];
        DataRootFolder = m_saved[1];
        DataFolder = m_saved[2];
    }
    std::unique_ptr<TDesignDocument> Fresh() { return std::make_unique<TDesignDocument>(m_context); }
    std::unique_ptr<TDesignDocument> NewDesign(int index = 0)
    {
        auto document = Fresh();
        document->PaperIndex = index;
        EXPECT_TRUE(document->LoadPaperFormat());
        document->NewDesign();
        return document;
    }
    // A text, a figure, a QR code, an illustration, a sender block and a colour background.
    std::unique_ptr<TDesignDocument> EveryKind(bool withIllustration)
    {
        auto document = NewDesign();
        document->BackImage.SetMode(BackColor);
        document->BackImage.SetColor(0xE0F0FF);
        if (withIllustration) {
            TGraphic graphic;
            graphic.Bitmap = QImage(16, 16, QImage::Format_RGB888);
            graphic.Bitmap.fill(QColor(200, 30, 30));
            auto* illust = static_cast<TIllustRect*>(
                document->AddFreeFrame(FreeIllustration, std::make_unique<TIllustRect>()));
            illust->SetDesignRect({10, 10, 90, 90});
            illust->SetGraphic(&graphic);
        }
        auto* text = static_cast<TWordRect*>(document->AddFreeFrame(FreeText, std::make_unique<TWordRect>()));
        text->SetDesignRect({20, 120, 300, 200});
        text->SetLineCount(1);
        text->SetLine(0, QStringLiteral("謹賀新年"));
        text->SetAlignment(1);
        auto* figure =
            static_cast<TFigureRect*>(document->AddFreeFrame(FreeFigure, std::make_unique<TFigureRect>()));
        figure->SetDesignRect({40, 250, 200, 330});
        figure->SetFigureKind(FigureSector);
        figure->SetLineColor(0x123456);
        auto* qr = static_cast<TQRCodeRect*>(document->AddFreeFrame(FreeQRCode, std::make_unique<TQRCodeRect>()));
        qr->SetText("https://example.org/");
        qr->SetDesignRect({250, 400, 0, 0});
        auto* sender = document->SetSenderBlock(std::make_unique<TSenderRect>());
        sender->SetSenderTitle("office");
        sender->SetDesignRect({200, 350, 360, 540});
        document->ShowSenderData();
        return document;
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QStringList m_saved;
    TMemorySenders m_senders;
    TDesignContext m_context;
};

TEST_F(DesignDocumentTest, EmptyPostcardIsHeaderSettingsAndPreview)
{
    auto document = NewDesign(0);
    EXPECT_EQ(document->PaperPixelSize, QSize(378, 559));
    EXPECT_EQ(document->Caption(), QStringLiteral("文面印刷 - 新規"));
    using namespace LayoutSettingsField;
    EXPECT_EQ(document->Settings.Int(SenderNameLevel), 3);
    EXPECT_EQ(document->Settings.Int(TitleRatio), 5);
    EXPECT_EQ(document->Settings.Int(SenderPostalMark), 1);
    EXPECT_EQ(document->Settings.Int(AdditionLevel), 0); // the recipient's addition level is not set

    const QByteArray bytes = document->EncodeDesignFile(QByteArray());
    if (qEnvironmentVariableIsSet("TOVAREL_WRITE_GOLDEN"))
        WriteFileBytes(GoldenEmpty, bytes);
    EXPECT_EQ(bytes, ReadFileBytes(GoldenEmpty));
    EXPECT_EQ(bytes.size(), 166);

    const QString path = Path("designs/Empty.gpd");
    ASSERT_TRUE(document->SaveToFile(path));
    const QByteArray saved = ReadFileBytes(path);
    const qint32 n = qFromLittleEndian<qint32>(saved.constData() + 54);
    EXPECT_EQ(saved.size(), 166 + n);
    EXPECT_EQ(DecodeJpeg(saved.mid(58, n)).size(), QSize(135, 200));
    const TDesignFileHeader header = TDesignFileHeader::FromBytes(saved.mid(22, 32));
    EXPECT_FALSE(header.HasBackground || header.HasSender);
    EXPECT_EQ(header.Counts, (std::array<qint32, 4>{}));
    EXPECT_EQ(document->Caption(), QStringLiteral("文面印刷 - Empty"));
}

TEST_F(DesignDocumentTest, EveryKindSavesLoadsAndSavesIdentically)
{
    auto document = EveryKind(false);
    const QByteArray encoded = document->EncodeDesignFile(QByteArray());
    if (qEnvironmentVariableIsSet("TOVAREL_WRITE_GOLDEN"))
        WriteFileBytes(GoldenFull, encoded);
    EXPECT_EQ(encoded, ReadFileBytes(GoldenFull));

    document = EveryKind(true);
    document->SenderBlock()->SetWholeBlock(false); // item mode is stored as a whole block
    const QString path = Path("Every.gpd");
    ASSERT_TRUE(document->SaveToFile(path));
    EXPECT_TRUE(document->SenderBlock()->WholeBlock());
    const QByteArray first = ReadFileBytes(path);

    auto reopened = Fresh();
    ASSERT_TRUE(reopened->LoadFromFile(path));
    EXPECT_TRUE(reopened->DocumentOpen);
    EXPECT_FALSE(reopened->Modified);
    for (int kind = 0; kind < FreeKindCount; ++kind)
        EXPECT_EQ(reopened->FreeFrames(kind).size(), 1u) << kind;
    ASSERT_NE(reopened->SenderBlock(), nullptr);
    EXPECT_EQ(reopened->ZOrder.size(), 5u);
    EXPECT_EQ(reopened->ZOrder.front(), reopened->SenderBlock());
    EXPECT_EQ(reopened->BackImage.Mode(), BackColor);
    EXPECT_EQ(reopened->SenderBlock()->GetName(true)->Name(), QStringLiteral("山田 花子"));
    ASSERT_TRUE(reopened->SaveToFile(path));
    EXPECT_EQ(ReadFileBytes(path), first);
    EXPECT_FALSE(QFile::exists(Path("$$Every.gpd")));

    // New frames follow the last text, figure and sender block read.
    const TDesignPrototypes& prototypes = *m_context.Prototypes;
    EXPECT_EQ(prototypes.Rects->Text->Alignment(), 1);
    EXPECT_EQ(prototypes.Rects->Figure->FigureKind(), FigureSector);
    EXPECT_EQ(prototypes.Rects->Figure->LineColor(), 0x123456u);
    EXPECT_EQ(prototypes.Sender.SenderTitle(), "office");
    EXPECT_TRUE(prototypes.Changed());
}

TEST_F(DesignDocumentTest, FailedSaveKeepsTheOldFile)
{
    auto document = EveryKind(true);
    document->Modified = true;
    const QString path = Path("Old.gpd");
    WriteFileBytes(path, "old design");
    MessageRecorder messages;
    messages.allowUnexpected();
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
    EXPECT_EQ(ReadFileBytes(path), "old design");
    EXPECT_FALSE(QFile::exists(Path("$$Old.gpd")));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, SaveFailedMessage);
    EXPECT_TRUE(document->Modified);
    EXPECT_TRUE(document->FileName.isEmpty());
}

// Three texts stored with stacking indexes 2, 1, 0.
TEST_F(DesignDocumentTest, DamagedFilesAreRefusedAndChangeNothing)
{
    auto document = NewDesign();
    for (int i = 0; i < 3; ++i) {
        auto* text = static_cast<TWordRect*>(document->AddFreeFrame(FreeText, std::make_unique<TWordRect>()));
        text->SetAlignment(2);
    }
    const QByteArray good = document->EncodeDesignFile(QByteArray());
    std::vector<qsizetype> at;
    TFrameReader reader(good, 166);
    while (reader.Remaining() > 0) {
        at.push_back(reader.Position());
        EXPECT_EQ(reader.ReadInt32(), 2 - qint32(at.size() - 1));
        TWordRect().LoadFromStream(reader);
    }
    ASSERT_EQ(at.size(), 3u);
    auto withInt = [&](qsizetype offset, qint32 value) {
        QByteArray b = good;
        qToLittleEndian<qint32>(value, b.data() + offset);
        return b;
    };
    const std::pair<const char*, QByteArray> cases[] = {
        {"empty", QByteArray()},
        {"other signature", ComplementBytes("Pomrek Layout File") + good.mid(18)},
        {"truncated", good.left(good.size() - 5)},
        {"preview past the end", withInt(54, 1 << 30)},
        {"count past the end", withInt(22 + 12, 100000)},
        {"negative count", withInt(22 + 16, -1)},
        {"a sender block that is not there", [&] { QByteArray b = good; b[22 + 24] = 1; return b; }()},
        {"index repeated", withInt(at[0], 1)},
        {"index reaching the count", withInt(at[0], 3)},
        {"gap", withInt(at[1], 7)},
    };
    m_context.Prototypes->Rects->Text->SetAlignment(0);
    for (const auto& [what, bytes] : cases) {
        WriteFileBytes(Path("bad.gpd"), bytes);
        MessageRecorder messages;
        messages.allowUnexpected();
        auto fresh = Fresh();
        EXPECT_FALSE(fresh->LoadFromFile(Path("bad.gpd"))) << what;
        ASSERT_EQ(messages.count(), 1) << what;
        EXPECT_EQ(messages.last().text, InvalidFileMessage) << what;
        EXPECT_FALSE(fresh->DocumentOpen) << what;
        EXPECT_TRUE(fresh->ZOrder.empty() && fresh->FreeFrames(FreeText).empty()) << what;
        EXPECT_EQ(m_context.Prototypes->Rects->Text->Alignment(), 0) << what;
    }

    // A negative index drops that record only; the others keep their order.
    WriteFileBytes(Path("dropped.gpd"), withInt(at[0], -1));
    auto reopened = Fresh();
    ASSERT_TRUE(reopened->LoadFromFile(Path("dropped.gpd")));
    EXPECT_EQ(reopened->FreeFrames(FreeText).size(), 2u);
    EXPECT_EQ(reopened->ZOrder.size(), 2u);
}

TEST_F(DesignDocumentTest, UnknownPaperKeepsThePreviousOne)
{
    auto document = NewDesign(2);
    QByteArray bytes = document->EncodeDesignFile(QByteArray());
    qToLittleEndian<qint32>(99, bytes.data() + 22);
    WriteFileBytes(Path("paper.gpd"), bytes);
    MessageRecorder messages;
    messages.allowUnexpected();
    auto reopened = Fresh();
    reopened->PaperIndex = 1;
    ASSERT_TRUE(reopened->LoadPaperFormat());
    ASSERT_TRUE(reopened->LoadFromFile(Path("paper.gpd")));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, PaperFileMissingMessage);
    EXPECT_EQ(reopened->PaperIndex, 1);
    EXPECT_EQ(reopened->PaperFormat.Direction(), 1);
    EXPECT_EQ(reopened->PaperPixelSize, QSize(559, 378));
}

TEST_F(DesignDocumentTest, SenderBlockFollowsItsKeyOrTheFirstSender)
{
    auto document = NewDesign();
    auto* block = document->SetSenderBlock(std::make_unique<TSenderRect>());
    block->SetSenderTitle("office");
    document->ShowSenderData();
    EXPECT_EQ(block->GetName(true)->Name(), QStringLiteral("山田 花子"));
    EXPECT_EQ(block->GetPostal(true)->Text(), QStringLiteral("〒１００-０００１"));

    block->SetSenderTitle("moved away");
    document->ShowSenderData();
    EXPECT_EQ(block->SenderTitle(), "home");
    EXPECT_EQ(m_context.Prototypes->Sender.SenderTitle(), "home");
    EXPECT_EQ(block->GetName(true)->Name(), QStringLiteral("山田 太郎"));

    m_senders.Rows.clear();
    document->ShowSenderData();
    EXPECT_TRUE(block->GetName(true)->Name().isEmpty());
}

} // namespace
