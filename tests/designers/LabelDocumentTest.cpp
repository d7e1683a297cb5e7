// Label and card documents: the fixed sets of each mode, new layouts, the writing direction and long side,
// set switches and the barcode, the printable area of a turned sheet, ".gpa" and ".gpc" files (golden files,
// entries, damaged files, the safe save), the mode's names and the window settings.
#include "core/MainSettings.h"
#include "designers/LabelDocument.h"
#include "designers/LayoutDocument.h"
#include "layoutobjects/PrinterInfo.h"
#include "platform/IniFile.h"
#include "platform/Printers.h"
#include "support/MessageRecorder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

using namespace LayoutSettingsField;

const QString GoldenLabel = QStringLiteral(TOVAREL_TEST_DATA_DIR "designers/new-label.gpa");
const QString GoldenCard = QStringLiteral(TOVAREL_TEST_DATA_DIR "designers/new-card.gpc");

class LabelDocumentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_saved = {ProgramFolder, DataRootFolder, DataFolder, LabelFolder, CardFolder};
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = DataFolder = m_dir.path() + u'/';
        LabelFolder = DataFolder + QStringLiteral("Label/");
        CardFolder = DataFolder + QStringLiteral("Card/");
        TPrinterList::Instance().SetPrinters({});
        ASSERT_EQ(LoadLayoutFormats(LayoutFormatPath(), m_formats), FormatFileState::Read);
    }
    void TearDown() override
    {
        ProgramFolder = m_saved[0];
        DataRootFolder = m_saved[1];
        DataFolder = m_saved[2];
        LabelFolder = m_saved[3];
        CardFolder = m_saved[4];
        TPrinterList::Instance().SetPrinters({});
    }
    // The shipped paper of that kind and direction.
    int Shipped(int kind, int direction) const
    {
        for (size_t i = 0; i < m_formats.Formats.size(); ++i)
            if (m_formats.Formats[i].Kind == kind && m_formats.Formats[i].Direction == direction)
                return int(i);
        ADD_FAILURE() << "no paper of kind " << kind << " direction " << direction;
        return 0;
    }
    std::unique_ptr<TLayoutDocument> New(quint8 mode, int paper, quint8 source = 1)
    {
        auto document = NewLabelDocument(m_context, mode, paper, source);
        EXPECT_TRUE(document);
        return document;
    }
    // A custom paper of the kind, a copy of a shipped one with its size, presets and horizontal byte changed.
    qint32 AddCustom(int kind, int width, int height, bool horizontal, int count1 = -1)
    {
        TCustomFormats custom;
        LoadCustomFormats(CustomFormatPath(), custom);
        TCustomPaperFormat format;
        format.Format = m_formats.Formats[size_t(Shipped(kind, 0))];
        format.Format.Width = width;
        format.Format.Height = height;
        if (count1 >= 0)
            format.Format.Count1 = count1;
        format.Horizontal = horizontal ? 1 : 0;
        const qint32 id = custom.Add(format, TMultiUpSheet{});
        EXPECT_TRUE(SaveCustomFormats(CustomFormatPath(), custom));
        return -id;
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QStringList m_saved;
    TStandardFormats m_formats;
    TLayoutContext m_context;
};

TEST_F(LabelDocumentTest, SetsOfEachMode)
{
    TLayoutDocument label(m_context, LabelModeLabel), card(m_context, LabelModeCard);
    ASSERT_EQ(label.SimpleFrames().size(), 8u);
    ASSERT_EQ(label.DetailedFrames().size(), 13u);
    ASSERT_EQ(card.SimpleFrames().size(), 7u);
    ASSERT_EQ(card.DetailedFrames().size(), 12u);
    // The barcode closes a label's sets; a card has none.
    EXPECT_EQ(label.SimpleFrames().back().get(), label.Simple().Barcode);
    EXPECT_EQ(label.DetailedFrames().back().get(), label.Detailed().Barcode);
    EXPECT_EQ(card.Simple().Barcode, nullptr);
    EXPECT_EQ(card.Detailed().Barcode, nullptr);
    for (const auto* set : {&card.SimpleFrames(), &card.DetailedFrames()})
        for (const auto& frame : *set)
            EXPECT_EQ(dynamic_cast<TBarcodeRect*>(frame.get()), nullptr);
    // Individual order: postal code, three address lines, company, department, title, name, four items.
    const TDetailedSet& d = card.Detailed();
    const std::vector<TDrawRect*> order = {d.Postal,  d.Address[0], d.Address[1], d.Address[2],
                                           d.Corp[0], d.Corp[1],    d.Corp[2],    d.Name};
    for (size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(card.DetailedFrames()[i].get(), order[i]) << i;
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(card.DetailedFrames()[8 + i].get(), card.Additions(true)[i]);
        EXPECT_EQ(card.SimpleFrames()[3 + i].get(), card.Additions(false)[i]);
    }
}

TEST_F(LabelDocumentTest, NewLabelAndNewCardDefaults)
{
    auto label = New(LabelModeLabel, Shipped(PaperLabel, 0));
    auto card = New(LabelModeCard, Shipped(PaperCard, 0));
    struct Expect
    {
        TLayoutDocument* document;
        const char* honorifics[4];
        int postalMark;
    };
    const Expect cases[] = {{label.get(), {"様", "御中", "様", "行"}, 2}, {card.get(), {"", "", "", ""}, 1}};
    for (const Expect& c : cases) {
        const TLayoutSettings& s = c.document->Settings;
        const int offsets[] = {DefaultHonorific, CompanyHonorific, TitleHonorific, SenderHonorific};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(s.Honorific(offsets[i]), QString::fromUtf8(c.honorifics[i]))
                << int(c.document->LabelMode);
        EXPECT_EQ(s.Int(RecipientPostalMark), c.postalMark);
        EXPECT_EQ(s.Int(SenderPostalMark), 0);
        for (int level : {AddressLevel, NameLevel, AdditionLevel, SenderAddressLevel, SenderNameLevel,
                          SenderAdditionLevel})
            EXPECT_EQ(s.Int(level), 3);
        EXPECT_EQ(s.Int(CompanyRatio), 3);
        EXPECT_EQ(s.Int(TitleRatio), 5);
        EXPECT_EQ(s.Byte(WidenSpacing), 1);
        // Postal code, address and name placed, postal code on top; items and barcode not placed.
        const TSimpleSet& set = c.document->Simple();
        const std::vector<TDrawRect*> stacking = {set.Postal, set.Address, set.Name};
        EXPECT_EQ(c.document->Stacking, stacking);
        for (TAdditionRect* item : c.document->Additions(false)) {
            EXPECT_FALSE(item->Visible());
            EXPECT_EQ(item->ItemKind(), AdditionFixedText);
        }
        EXPECT_TRUE(c.document->Modified);
        EXPECT_TRUE(c.document->FileName.isEmpty());
        EXPECT_TRUE(c.document->Background.isNull());
    }
    EXPECT_FALSE(label->Simple().Barcode->Visible());
    // Preset rectangle i goes to frame i of its set.
    const TPresetRect& r = label->Paper.Rects2[7];
    EXPECT_EQ(label->DetailedFrames()[7]->GetDesignRect(), (TRect{r.Left, r.Top, r.Right, r.Bottom}));
}

TEST_F(LabelDocumentTest, WritingDirectionAndLongSide)
{
    struct Case
    {
        quint8 mode;
        int kind, direction;
        bool horizontal;
    };
    // Lying paper, or a card written across (direction 1); a label sheet's direction alone says nothing.
    const Case cases[] = {{LabelModeLabel, PaperLabel, 0, true},
                          {LabelModeLabel, PaperLabel, 1, false},
                          {LabelModeCard, PaperCard, 0, true},
                          {LabelModeCard, PaperCard, 1, true},
                          {LabelModeCard, PaperCard, 2, false}};
    for (const Case& c : cases) {
        auto document = New(c.mode, Shipped(c.kind, c.direction));
        EXPECT_EQ(document->Horizontal, c.horizontal) << c.kind << " " << c.direction;
        EXPECT_EQ(document->Simple().Name->Horizontal(), c.horizontal);
    }
    // A custom paper keeps its own flag; 911 × 551 gives 455 × 3.
    auto custom = New(LabelModeCard, AddCustom(PaperCard, 911, 551, false));
    EXPECT_FALSE(custom->Horizontal);
    EXPECT_EQ(PaperLongSide, 1365);
    auto across = New(LabelModeCard, AddCustom(PaperCard, 551, 911, true));
    EXPECT_TRUE(across->Horizontal);
}

TEST_F(LabelDocumentTest, PapersOfAnotherKindAreNotFound)
{
    MessageRecorder messages;
    EXPECT_FALSE(NewLabelDocument(m_context, LabelModeLabel, Shipped(PaperCard, 0), 1));
    EXPECT_FALSE(NewLabelDocument(m_context, LabelModeCard, Shipped(PaperLabel, 0), 1));
    EXPECT_FALSE(NewLabelDocument(m_context, LabelModeCard, 0, 1)); // a postcard
    EXPECT_FALSE(NewLabelDocument(m_context, LabelModeLabel, AddCustom(PaperCard, 910, 550, true), 1));
    EXPECT_FALSE(NewLabelDocument(m_context, LabelModeLabel, -99, 1));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(LabelDocumentTest, PresetsBeyondTheSetAreIgnored)
{
    // Thirteen rectangles for the combined set of seven card frames.
    auto document = New(LabelModeCard, AddCustom(PaperCard, 910, 550, true, 13));
    ASSERT_TRUE(document);
    EXPECT_EQ(document->SimpleFrames().size(), 7u);
}

TEST_F(LabelDocumentTest, SetSwitchKeepsItemsAndBarcode)
{
    auto document = New(LabelModeLabel, Shipped(PaperLabel, 0));
    ASSERT_FALSE(document->BarcodeImpossible);
    TAdditionRect* item = document->Additions(false)[2];
    item->SetItemKind(AdditionFixedText);
    item->SetText(QStringLiteral("見本"));
    item->SetVisible(true);
    document->InsertIntoStacking(item, true);
    TBarcodeRect* barcode = document->Simple().Barcode;
    barcode->SetSizeIndex(qMin(1, document->MaxBarcodeSize));
    barcode->SetVisible(true);
    document->InsertIntoStacking(barcode, true);

    for (const bool individual : {true, false}) {
        document->SetIndividualLayout(individual);
        TAdditionRect* now = document->Additions(individual)[2];
        EXPECT_TRUE(now->Visible());
        EXPECT_EQ(now->Text(), QStringLiteral("見本"));
        EXPECT_GE(document->StackingIndex(now), 0);
        EXPECT_FALSE(document->Additions(individual)[0]->Visible());
        TBarcodeRect* bar = individual ? document->Detailed().Barcode : document->Simple().Barcode;
        EXPECT_TRUE(bar->Visible());
        EXPECT_EQ(bar->SizeIndex(), qMin(1, document->MaxBarcodeSize));
        // The barcode on top, then the items; only the set's own frames are placed.
        EXPECT_EQ(document->Stacking.front(), bar);
        for (TDrawRect* frame : document->Stacking)
            EXPECT_NE(std::find(document->CurrentSet().begin(), document->CurrentSet().end(), frame),
                      document->CurrentSet().end());
    }
    // Switching to the individual set places only its placed frames: all eight fixed ones after a new layout.
    document->SetIndividualLayout(true);
    EXPECT_EQ(document->Stacking.size(), 8u + 2u);
}

TEST_F(LabelDocumentTest, ImpossibleBarcodeIsUnplaced)
{
    // 30 mm fits no barcode size.
    auto document = New(LabelModeLabel, AddCustom(PaperLabel, 300, 200, true));
    ASSERT_TRUE(document->BarcodeImpossible);
    TBarcodeRect* barcode = document->Simple().Barcode;
    barcode->SetVisible(true);
    document->SetIndividualLayout(true);
    EXPECT_FALSE(document->Detailed().Barcode->Visible());
    EXPECT_LT(document->StackingIndex(document->Detailed().Barcode), 0);
}

TEST_F(LabelDocumentTest, PrintableAreaOfATurnedSheet)
{
    std::vector<std::unique_ptr<TPrinter>> printers;
    printers.push_back(std::make_unique<TPdfPrinter>(VirtualPdfPrinterName, Path("out"), true));
    TPrinterList::Instance().SetPrinters(std::move(printers), 0);
    TPrinterInfo info(Path("Card.pi"));
    info.LoadFromFile();
    m_context.Printer = &info;
    // Counted from the first piece: the sheet's margins upright; a turned sheet is fed lying, so its top
    // margin runs along and the space right of the pieces down.
    for (const int direction : {0, 1}) {
        auto document = New(LabelModeLabel, Shipped(PaperLabel, direction));
        const TMultiUpSheet& s = document->Sheet;
        ASSERT_GT(s.Columns, 0);
        const TRect& area = document->PrintArea;
        if (direction == 0) {
            EXPECT_EQ(area.left, -TenthMmToDesign(s.LeftMargin));
            EXPECT_EQ(area.top, -TenthMmToDesign(s.TopMargin));
            EXPECT_EQ(area.right - area.left, TenthMmToDesign(s.Width));
        } else {
            const int free =
                s.Width - s.Columns * document->Paper.Height - s.HorzGap * (s.Columns - 1) - s.LeftMargin;
            EXPECT_EQ(area.left, -TenthMmToDesign(s.TopMargin));
            EXPECT_EQ(area.top, -TenthMmToDesign(free));
            EXPECT_EQ(area.right - area.left, TenthMmToDesign(s.Height));
        }
    }
}

// Files.

TEST_F(LabelDocumentTest, NewLayoutsMatchTheGoldenFiles)
{
    const std::pair<quint8, QString> cases[] = {{LabelModeLabel, GoldenLabel}, {LabelModeCard, GoldenCard}};
    for (const auto& [mode, golden] : cases) {
        // A new card shows its sender.
        const quint8 source = mode == LabelModeCard ? 2 : 1;
        auto document = New(mode, Shipped(mode == LabelModeCard ? PaperCard : PaperLabel, 0), source);
        const QByteArray bytes = document->EncodeLayoutFile(QByteArray());
        if (qEnvironmentVariableIsSet("TOVAREL_WRITE_GOLDEN"))
            WriteFileBytes(golden, bytes);
        EXPECT_EQ(bytes, ReadFileBytes(golden)) << golden.toStdString();

        // Signature, version, header (data source at 4), the preview length, settings, then 21 or 19
        // entries of the two sets in set order.
        const QByteArray& signature = mode == LabelModeCard ? CardFileSignature : LabelFileSignature;
        TPrintFilePreamble preamble;
        const qsizetype body = ReadPrintFilePreamble(bytes, signature, LayoutFileHeaderSize, preamble);
        ASSERT_EQ(body, signature.size() + 4 + 28 + 4 + 108);
        EXPECT_EQ(preamble.Header[4], char(source));
        QByteArray expected;
        TFrameWriter entries(expected);
        int count = 0;
        for (const auto* set : {&document->SimpleFrames(), &document->DetailedFrames()})
            for (const auto& frame : *set) {
                entries.WriteInt32(document->StackingIndex(frame.get()));
                frame->SaveToStream(entries);
                ++count;
            }
        EXPECT_EQ(count, mode == LabelModeCard ? 19 : 21);
        EXPECT_EQ(bytes.mid(body), expected);
    }
}

TEST_F(LabelDocumentTest, SavedFilesReopenIdentically)
{
    for (const quint8 mode : {LabelModeLabel, LabelModeCard}) {
        auto document = New(mode, Shipped(mode == LabelModeCard ? PaperCard : PaperLabel, 1), 2);
        auto* text = static_cast<TWordRect*>(document->AddFreeFrame(FreeText, std::make_unique<TWordRect>()));
        text->SetDesignRect({10, 10, 100, 40});
        text->SetAlignment(1);
        document->InsertIntoStacking(text, false);
        document->AddFreeFrame(FreeText, std::make_unique<TWordRect>()); // stored with -1
        TAdditionRect* item = document->Additions(false)[0];
        item->SetItemKind(AdditionFixedText);
        item->SetText(QStringLiteral("ご案内"));
        item->SetVisible(true);
        document->InsertIntoStacking(item, true);
        document->SetIndividualLayout(true);
        const QString path = LabelDocumentFolder(mode) + QStringLiteral("見本") + LabelExtension(mode);
        ASSERT_TRUE(document->SaveToFile(path));
        EXPECT_EQ(document->FileName, path);

        m_context.Prototypes->Text->SetAlignment(0);
        auto reopened = LoadLabelDocument(m_context, mode, path);
        ASSERT_TRUE(reopened);
        EXPECT_EQ(reopened->DataSource, 2);
        EXPECT_TRUE(reopened->DetailedSet);
        EXPECT_EQ(reopened->FreeFrames(FreeText).size(), 1u); // the unplaced one is dropped
        EXPECT_EQ(reopened->Stacking.size(), document->Stacking.size());
        EXPECT_EQ(reopened->Additions(true)[0]->Text(), QStringLiteral("ご案内"));
        EXPECT_EQ(reopened->Additions(false)[0]->Text(), QStringLiteral("ご案内"));
        EXPECT_EQ(m_context.Prototypes->Text->Alignment(), 1); // new texts follow the file's last text
        EXPECT_FALSE(reopened->Modified);
        // Saved again and read back: the same bytes (the preview aside).
        ASSERT_TRUE(reopened->SaveToFile(path));
        auto again = LoadLabelDocument(m_context, mode, path);
        ASSERT_TRUE(again);
        EXPECT_EQ(again->EncodeLayoutFile(QByteArray()), reopened->EncodeLayoutFile(QByteArray()));
        EXPECT_FALSE(
            QFile::exists(QFileInfo(path).path() + QStringLiteral("/$$") + QFileInfo(path).fileName()));
    }
}

TEST_F(LabelDocumentTest, EachModeRefusesTheOthersFiles)
{
    auto label = New(LabelModeLabel, Shipped(PaperLabel, 0));
    auto card = New(LabelModeCard, Shipped(PaperCard, 0));
    ASSERT_TRUE(label->SaveToFile(Path("a.gpa")));
    ASSERT_TRUE(card->SaveToFile(Path("c.gpc")));
    const std::pair<quint8, QString> cases[] = {{LabelModeCard, Path("a.gpa")},
                                                {LabelModeLabel, Path("c.gpc")}};
    for (const auto& [mode, path] : cases) {
        MessageRecorder messages;
        messages.allowUnexpected();
        EXPECT_FALSE(LoadLabelDocument(m_context, mode, path));
        ASSERT_EQ(messages.count(), 1);
        EXPECT_EQ(messages.last().text, InvalidFileMessage);
    }
}

TEST_F(LabelDocumentTest, DamagedFilesAreRefused)
{
    auto document = New(LabelModeLabel, Shipped(PaperLabel, 0));
    const QByteArray good = document->EncodeLayoutFile(QByteArray());
    const qsizetype header = LabelFileSignature.size() + 4;
    const qsizetype body = header + 28 + 4 + 108;
    auto withInt = [&](qsizetype at, qint32 value) {
        QByteArray b = good;
        qToLittleEndian<qint32>(value, b.data() + at);
        return b;
    };
    auto withByte = [&](qsizetype at, char value) {
        QByteArray b = good;
        b[at] = value;
        return b;
    };
    TFrameReader reader(good, body + 4);
    document->Simple().Postal->LoadFromStream(reader);
    const qsizetype second = reader.Position();
    const std::pair<const char*, QByteArray> cases[] = {
        {"empty", QByteArray()},
        {"an address layout", ComplementBytes(LayoutFileSignature) + good.mid(LabelFileSignature.size())},
        {"data source 0", withByte(header + 4, 0)},
        {"data source 3", withByte(header + 4, 3)},
        {"set byte 2", withByte(header + 5, 2)},
        {"truncated body", good.left(good.size() - 5)},
        {"negative count", withInt(header + 8, -1)},
        {"figure count past the end", withInt(header + 16, 100000)},
        {"stacking index used twice", withInt(second, 0)},
        {"stacking index past the entries", withInt(body, 21)},
    };
    for (const auto& [what, bytes] : cases) {
        WriteFileBytes(Path("bad.gpa"), bytes);
        MessageRecorder messages;
        messages.allowUnexpected();
        EXPECT_FALSE(LoadLabelDocument(m_context, LabelModeLabel, Path("bad.gpa"))) << what;
        ASSERT_GE(messages.count(), 1) << what;
        EXPECT_EQ(messages.last().text, InvalidFileMessage) << what;
    }
}

TEST_F(LabelDocumentTest, DeletedPaperStillLoads)
{
    for (const quint8 mode : {LabelModeLabel, LabelModeCard}) {
        auto document = New(mode, Shipped(mode == LabelModeCard ? PaperCard : PaperLabel, 0));
        document->PaperIndex = -42;
        WriteFileBytes(Path("gone"), document->EncodeLayoutFile(QByteArray()));
        MessageRecorder messages;
        messages.allowUnexpected();
        // It stays on the paper shown before.
        auto reopened = LoadLabelDocument(m_context, mode, Path("gone"), document.get());
        ASSERT_TRUE(reopened);
        EXPECT_FALSE(reopened->PaperFound);
        EXPECT_EQ(reopened->Paper.Width, document->Paper.Width);
        EXPECT_EQ(reopened->DesignSize, document->DesignSize);
        ASSERT_EQ(messages.count(), 1);
        EXPECT_EQ(messages.last().text, LabelDeletedPaperMessage(mode));
    }
    EXPECT_EQ(LabelDeletedPaperMessage(LabelModeCard),
              QStringLiteral("選択された名刺は用紙情報が削除されています  "));
}

TEST_F(LabelDocumentTest, LoadingClampsTheBarcodeOfTheSetInUse)
{
    auto document = New(LabelModeLabel, Shipped(PaperLabel, 0));
    document->SetIndividualLayout(true);
    TBarcodeRect* barcode = document->Detailed().Barcode;
    barcode->SetVisible(true);
    barcode->SetSizeIndex(3);
    document->InsertIntoStacking(barcode, true);
    document->MaxBarcodeSize = 3;
    ASSERT_TRUE(document->SaveToFile(Path("big.gpa")));
    auto reopened = LoadLabelDocument(m_context, LabelModeLabel, Path("big.gpa"));
    ASSERT_TRUE(reopened);
    ASSERT_LT(reopened->MaxBarcodeSize, 3);
    EXPECT_EQ(reopened->Detailed().Barcode->SizeIndex(), reopened->MaxBarcodeSize);
}

TEST_F(LabelDocumentTest, SaveQuestions)
{
    auto document = New(LabelModeLabel, Shipped(PaperLabel, 0));
    {
        // No, then No: the document stays.
        MessageRecorder messages;
        messages.answer(MsgSeam::IdNo).answer(MsgSeam::IdNo);
        EXPECT_FALSE(ConfirmLabelSave(*document, nullptr, [] { return false; }));
        ASSERT_EQ(messages.count(), 2);
        EXPECT_EQ(messages.messages()[0].text,
                  QStringLiteral("ラベル印刷のレイアウトの変更を保存しますか？  "));
        EXPECT_EQ(messages.last().text,
                  QStringLiteral("作成したラベル印刷のレイアウトは破棄されます  \r\n本当によろしいですか？"));
        EXPECT_TRUE(document->Modified);
    }
    {
        // Yes on a new layout runs save-as; a cancelled save-as keeps the caller waiting.
        MessageRecorder messages;
        messages.answer(MsgSeam::IdYes);
        int asked = 0;
        EXPECT_FALSE(ConfirmLabelSave(*document, nullptr, [&] { return ++asked, false; }));
        EXPECT_EQ(asked, 1);
    }
    ASSERT_TRUE(document->SaveToFile(Path("x.gpa")));
    document->Modified = true;
    {
        MessageRecorder messages;
        messages.answer(MsgSeam::IdNo).answer(MsgSeam::IdYes);
        EXPECT_TRUE(ConfirmLabelSave(*document, nullptr, [] { return false; }));
        EXPECT_EQ(
            messages.last().text,
            QStringLiteral("ラベル印刷のレイアウトは変更前の状態に戻ります  \r\n本当によろしいですか？"));
        EXPECT_FALSE(document->Modified);
    }
    MessageRecorder none;
    EXPECT_TRUE(ConfirmLabelSave(*document, nullptr, [] { return false; }));
    EXPECT_EQ(LabelSaveQuestion(LabelModeCard),
              QStringLiteral("名刺印刷のレイアウトの変更を保存しますか？  "));
}

TEST_F(LabelDocumentTest, FrameListOfTheCombo)
{
    auto names = [](const TLayoutDocument& document) {
        QStringList list;
        for (const TLabelFrameEntry& entry : LabelFrameList(document))
            list << entry.Name;
        return list.join(u',');
    };
    // The combined set lists postal code, address and name even when they are not placed.
    auto label = New(LabelModeLabel, Shipped(PaperLabel, 0));
    label->Simple().Address->SetVisible(false);
    label->Additions(false)[1]->SetVisible(true);
    label->Simple().Barcode->SetVisible(true);
    label->AddFreeFrame(FreeText, std::make_unique<TWordRect>());
    label->AddFreeFrame(FreeText, std::make_unique<TWordRect>());
    EXPECT_EQ(names(*label), QStringLiteral("なし,郵便番号,住所,名前,追加情報２,バーコード,文章1,文章2"));
    // The individual set of a sender card lists only placed frames, and never a barcode.
    auto card = New(LabelModeCard, Shipped(PaperCard, 0), 2);
    card->SetIndividualLayout(true);
    card->Detailed().Corp[2]->SetVisible(false);
    EXPECT_EQ(names(*card),
              QStringLiteral("なし,差出人郵便番号,差出人住所１,差出人住所２,差出人住所３,差出人名前,"
                             "差出人会社,差出人部署１"));
    EXPECT_EQ(LabelFrameList(*card)[5].Frame, card->Detailed().Name);
    EXPECT_EQ(LabelDoubleClickAction(KindBarcode), QStringLiteral("actAdditionSet"));
    EXPECT_EQ(LabelDoubleClickAction(KindRecipientName), QStringLiteral("actFont"));
}

// Names and settings.

TEST_F(LabelDocumentTest, NamesOfEachMode)
{
    EXPECT_EQ(LabelPrinterFile(LabelModeLabel), DataRootFolder + QStringLiteral("Card.pi"));
    EXPECT_EQ(LabelPrinterFile(LabelModeCard), DataRootFolder + QStringLiteral("Label.pi"));
    EXPECT_EQ(LabelSettingsSection(LabelModeLabel), QStringLiteral("LABEL"));
    EXPECT_EQ(LabelSettingsSection(LabelModeCard), QStringLiteral("CARD"));
    EXPECT_EQ(LabelCaption(LabelModeLabel, QString()), QStringLiteral("ラベル印刷 - 新規"));
    EXPECT_EQ(LabelCaption(LabelModeCard, QStringLiteral("/x/Card/社用.gpc"), true),
              QStringLiteral("名刺印刷 - 社用 (更新)"));
    EXPECT_EQ(LabelDocumentFolder(LabelModeCard), CardFolder);
    EXPECT_EQ(LabelExtension(LabelModeLabel), QStringLiteral(".gpa"));
}

TEST_F(LabelDocumentTest, SettingsOfTheModesSection)
{
    TMemIniFile ini(Path("Quenrid215.ini"));
    ini.WriteInteger("LABEL", "Width", 300);
    ini.WriteInteger("LABEL", "Height", 200);
    ini.WriteInteger("LABEL", "Left", 10);
    ini.WriteInteger("LABEL", "Top", 20);
    ini.WriteInteger("LABEL", "Ratio", 9);
    ini.WriteInteger("LABEL", "Grid", 4);
    ini.WriteString("LABEL", "History1", LabelFolder.toUpper() + QStringLiteral("a.gpa"));
    ini.WriteString("LABEL", "History2", CardFolder + QStringLiteral("b.gpc")); // another folder
    ini.WriteString("LABEL", "History3", LabelFolder + QStringLiteral("sub/c.gpa"));
    ini.WriteString("LABEL", "History4", LabelFolder + QStringLiteral("d.gpa"));
    ini.WriteString("LABEL", "History5", QString()); // empty
    ini.WriteString("CARD", "History1", CardFolder + QStringLiteral("b.gpc"));
    ini.WriteString("CARD", "History3", CardFolder + QStringLiteral("after-a-gap.gpc"));

    TLabelWindowSettings label = LoadLabelSettings(ini, LabelModeLabel);
    EXPECT_EQ(label.History, (QStringList{LabelFolder.toUpper() + QStringLiteral("a.gpa"),
                                          LabelFolder + QStringLiteral("d.gpa")}));
    EXPECT_EQ(label.Ratio, 0);
    EXPECT_EQ(label.Grid, 0);
    EXPECT_EQ(label.Menu, 1);
    // The empty second entry ends the card list.
    TLabelWindowSettings card = LoadLabelSettings(ini, LabelModeCard);
    EXPECT_EQ(card.History, QStringList{CardFolder + QStringLiteral("b.gpc")});
    EXPECT_FALSE(card.HasBounds());

    auto same = [](int v) { return v; };
    const QRect work(0, 0, 1000, 800);
    EXPECT_EQ(LabelWindowGeometry(label, work, 24, same), QRect(10, 20, 498, 524));
    EXPECT_EQ(LabelWindowGeometry(card, work, 24, same).size(), QSize(690, 680));
    EXPECT_EQ(LabelWindowGeometry(card, work, 24, same).center(), work.center());
    EXPECT_EQ(LabelWindowGeometry(card, QRect(0, 0, 1000, 600), 24, same).size(), QSize(690, 550));

    // Written back: no repeats, keys past the list deleted.
    InsertRecentFile(label.History, LabelFolder + QStringLiteral("d.gpa"));
    label.History.append(LabelFolder + QStringLiteral("d.gpa"));
    SaveLabelSettings(ini, LabelModeLabel, label);
    EXPECT_EQ(ini.ReadString("LABEL", "History1", QString()), LabelFolder + QStringLiteral("d.gpa"));
    EXPECT_EQ(ini.ReadString("LABEL", "History2", QString()),
              LabelFolder.toUpper() + QStringLiteral("a.gpa"));
    EXPECT_EQ(ini.ReadString("LABEL", "History3", QStringLiteral("gone")), QStringLiteral("gone"));
    EXPECT_EQ(ini.ReadInteger("LABEL", "Width", 0), 300);
}

} // namespace
