// The address-side document under the window's commands: the paper change's scaling, sets and sender side,
// the details, the data format's vertical numerals and honorifics, and the sender follow-up.
#include "core/AppSub.h"
#include "core/MainSettings.h"
#include "designers/LayoutDocument.h"
#include "layoutobjects/WordRect.h"
#include "platform/Printers.h"
#include "support/MessageRecorder.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace {

using namespace LayoutSettingsField;

TMemoryRow Row(std::initializer_list<std::pair<const char*, QVariant>> fields)
{
    TMemoryRow row;
    for (const auto& [name, value] : fields)
        row.Fields.insert(QString::fromLatin1(name), value);
    return row;
}

class LayoutDocumentCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_saved = {ProgramFolder, DataRootFolder, DataFolder};
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = DataFolder = m_dir.path() + u'/';
        TPrinterList::Instance().SetPrinters({});
        ASSERT_EQ(LoadLayoutFormats(LayoutFormatPath(), m_formats), FormatFileState::Read);
        m_context.AddressList = &m_list;
        m_context.Senders = &m_senders;
        m_list.Rows = {Row({{"RecNo", 1}, {"NameKanji", "見本 一郎"}, {"Adrs1", "東京都千代田区1-2-3"}})};
    }
    void TearDown() override
    {
        ProgramFolder = m_saved[0];
        DataRootFolder = m_saved[1];
        DataFolder = m_saved[2];
    }
    // A new layout on the shipped paper of that index.
    std::unique_ptr<TLayoutDocument> Layout(int index)
    {
        auto d = std::make_unique<TLayoutDocument>(m_context);
        d->PaperIndex = index;
        EXPECT_TRUE(d->LoadPaperFormat());
        d->FitPaperBarcode();
        d->SenderDisplayMode = d->Paper.Kind == PaperEnvelope ? 1 : (d->Paper.Count1 < 5 ? 1 : 0);
        d->SetIndividualLayout(false, true);
        d->NewLayout();
        return d;
    }
    int Envelope() const
    {
        for (size_t i = 0; i < m_formats.Formats.size(); ++i)
            if (m_formats.Formats[i].Kind == PaperEnvelope && m_formats.Formats[i].Count1 >= 5)
                return int(i);
        return -1;
    }
    static void PushUndo(TLayoutDocument& d) { d.Undo.Push(std::make_unique<TUndoDatas>(quint8(1))); }
    std::vector<TAddressRect*> AddressFrames(const TLayoutDocument& d)
    {
        std::vector<TAddressRect*> frames;
        for (const auto* set : {&d.SimpleFrames(), &d.DetailedFrames()})
            for (const auto& frame : *set)
                if (auto* a = dynamic_cast<TAddressRect*>(frame.get()))
                    frames.push_back(a);
        return frames;
    }

    QTemporaryDir m_dir;
    QStringList m_saved;
    TStandardFormats m_formats;
    TMemoryAddressList m_list;
    TMemorySenders m_senders;
    TLayoutContext m_context;
    MessageRecorder m_messages;
};

TEST_F(LayoutDocumentCommandsTest, AWiderPostcardScalesTheFreeFramesBy107)
{
    auto d = Layout(0);
    ASSERT_EQ(d->Paper.Width, 1000);
    ASSERT_EQ(d->Paper.Height, 1480);
    TDrawRect* text = d->AddFreeFrame(FreeText, std::make_unique<TWordRect>());
    text->SetDesignRect({100, 40, 200, 90});
    d->InsertIntoStacking(text, false);
    ASSERT_TRUE(d->HasFreeFrames());
    const QSize old = d->DesignSize;
    d->Paper.Width = 1070;
    d->ChangePaper(old, TLayoutDocument::TFrameFit::Scale);
    EXPECT_EQ(d->DesignSize.width(), RoundHalfAway(1070 / 254.0 * 96));
    const TRect r = text->GetDesignRect();
    EXPECT_EQ(r.left, RoundHalfAway(100 * 1.07));
    EXPECT_EQ(r.right, RoundHalfAway(200 * 1.07));
    EXPECT_EQ(r.top, 40); // the height did not change
    EXPECT_EQ(r.bottom, 90);
    EXPECT_GE(d->StackingIndex(text), 0);
}

TEST_F(LayoutDocumentCommandsTest, APaperChangeReturnsToTheSimpleSetWithoutUndo)
{
    auto d = Layout(0);
    d->SetIndividualLayout(true);
    ASSERT_TRUE(d->DetailedSet);
    PushUndo(*d);
    const TSimpleSet& s = d->Simple();
    s.Name->SetDesignRect({1, 2, 30, 40});
    const QSize old = d->DesignSize;
    d->PaperIndex = 1;
    d->Paper = m_formats.Formats[1];
    d->ChangePaper(old, TLayoutDocument::TFrameFit::Keep);
    EXPECT_FALSE(d->DetailedSet);
    EXPECT_EQ(d->Undo.Count(), 0);
    // Every fixed frame where a new layout on that paper has it.
    const auto fresh = Layout(1);
    for (size_t i = 0; i < d->SimpleFrames().size(); ++i)
        EXPECT_EQ(d->SimpleFrames()[i]->GetDesignRect(), fresh->SimpleFrames()[i]->GetDesignRect()) << i;
    EXPECT_GE(d->StackingIndex(s.Name), 0);
    EXPECT_LT(d->StackingIndex(d->Detailed().Name), 0);
}

TEST_F(LayoutDocumentCommandsTest, TheEnvelopeSenderSidePlacesNoRecipientAndNoBarcode)
{
    const int envelope = Envelope();
    ASSERT_GE(envelope, 0);
    auto d = Layout(0);
    const TSimpleSet& s = d->Simple();
    s.Barcode->SetVisible(true);
    const QSize old = d->DesignSize;
    d->PaperIndex = envelope;
    d->Paper = m_formats.Formats[size_t(envelope)];
    d->Sheet = m_formats.SheetOf(d->Paper);
    d->FitPaperBarcode();
    d->SenderDisplayMode = 2;
    d->ChangePaper(old, TLayoutDocument::TFrameFit::Keep);
    EXPECT_FALSE(s.Barcode->Visible());
    for (TDrawRect* f : std::initializer_list<TDrawRect*>{s.Postal, s.Address, s.Name, s.Barcode})
        EXPECT_LT(d->StackingIndex(f), 0);
    for (TDrawRect* f : std::initializer_list<TDrawRect*>{s.SenderPostal, s.SenderAddress, s.SenderName})
        EXPECT_GE(d->StackingIndex(f), 0);
}

TEST_F(LayoutDocumentCommandsTest, VerticalNumeralsReachEveryAddressFrame)
{
    auto d = Layout(0);
    const auto frames = AddressFrames(*d);
    ASSERT_EQ(frames.size(), 8u);
    TLayoutSettings form = d->Settings;
    form.SetByte(VerticalDigits, 1);
    form.SetByte(KanjiNumerals, 1);
    form.SetHonorific(DefaultHonorific, QStringLiteral("殿"));
    d->Settings.SetInt(NameLevel, 5);
    d->Modified = false;
    d->ApplyDataForm(form);
    for (TAddressRect* a : frames)
        EXPECT_TRUE(a->VerticalDigits());
    EXPECT_EQ(d->Settings.Byte(KanjiNumerals), 1);
    EXPECT_EQ(d->Settings.Honorific(DefaultHonorific), QStringLiteral("殿"));
    EXPECT_EQ(d->Settings.Int(NameLevel), 5); // the detail part is not the data format's
    EXPECT_TRUE(d->Modified);
    form.SetByte(VerticalDigits, 0);
    d->ApplyDataForm(form);
    for (TAddressRect* a : frames)
        EXPECT_FALSE(a->VerticalDigits());
}

TEST_F(LayoutDocumentCommandsTest, DetailsStoreTheirBytesLevelsAndPlacedFrames)
{
    auto d = Layout(0);
    for (int i = 0; i < LayoutSettingsSize; ++i)
        if (i < AddressLevel || i > CompanyBreak)
            d->Settings.SetByte(i, quint8(i));
    const TLayoutSettings before = d->Settings;
    PushUndo(*d);

    TLayoutSettings detail = d->Settings;
    detail.SetInt(NameLevel, 5);
    detail.SetInt(SenderAdditionLevel, 1);
    detail.SetByte(0, 0xEE); // outside the detail part: not taken
    TLayoutDocument::TDetailShown shown = d->DetailShown();
    shown[5] = false;  // the recipient company
    shown[19] = false; // sender contact 4
    // Same set: the levels and ratios reach the frames, the undo history stays.
    EXPECT_FALSE(d->ApplyDetails(detail, false, shown));
    EXPECT_EQ(d->Simple().Name->Level(), 5);
    EXPECT_EQ(d->Detailed().Name->Level(), 5);
    EXPECT_EQ(d->Detailed().Contacts[3]->Level(), 1);
    EXPECT_FALSE(d->Detailed().Corp[0]->Visible());
    EXPECT_FALSE(d->Detailed().Contacts[3]->Visible());
    EXPECT_EQ(d->Undo.Count(), 1);
    EXPECT_TRUE(d->Modified);
    for (int i = 0; i < LayoutSettingsSize; ++i)
        if (i < AddressLevel || i > CompanyBreak)
            EXPECT_EQ(d->Settings.Byte(i), before.Byte(i)) << i;

    // Manual layout: the detailed set is placed without the switched-off frames, the undo history goes.
    EXPECT_TRUE(d->ApplyDetails(detail, true, shown));
    EXPECT_TRUE(d->DetailedSet);
    EXPECT_EQ(d->Undo.Count(), 0);
    EXPECT_GE(d->StackingIndex(d->Detailed().Name), 0);
    EXPECT_LT(d->StackingIndex(d->Detailed().Corp[0]), 0);
    EXPECT_LT(d->StackingIndex(d->Simple().Name), 0);

    // Still manual: switching a frame on places it.
    shown[5] = true;
    EXPECT_TRUE(d->ApplyDetails(detail, true, shown));
    EXPECT_GE(d->StackingIndex(d->Detailed().Corp[0]), 0);
    EXPECT_TRUE(d->Selection.empty());
    EXPECT_EQ(d->FocusIndex, -1);
}

TEST_F(LayoutDocumentCommandsTest, ASenderWithOtherContactsChangesTheShownLines)
{
    m_senders.Rows = {Row({{"RecNo", 3}, {"Name", "差出 花子"}, {"SelectInfo", 1}, {"NamePrint", true}}),
                      Row({{"RecNo", 4},
                           {"Name", "差出 次郎"},
                           {"SelectInfo", 1},
                           {"NamePrint", true},
                           {"AdditionPrint1", true},
                           {"Head1", "E-Mail"},
                           {"Addition1", "jiro@example.jp"}})};
    m_senders.Default = 3;
    auto d = Layout(0);
    ASSERT_EQ(d->SenderDisplayMode, 0);
    d->Remerge();
    EXPECT_FALSE(d->Simple().Contacts[0]->Visible());
    d->SenderRecNo = 4;
    EXPECT_TRUE(d->SenderRecordsChanged());
    EXPECT_GE(d->StackingIndex(d->Simple().Contacts[0]), 0);
    EXPECT_TRUE(d->Simple().SenderName->Name().contains(QStringLiteral("次郎")));
    EXPECT_FALSE(d->SenderRecordsChanged()); // nothing new
}

} // namespace
