// Moving an address-side layout onto another paper: free frames scaled or pulled inside, the fixed frames on
// the new paper's preset places, placed by the new mode.
#include "core/AppSub.h"
#include "core/MainSettings.h"
#include "designers/LayoutDocument.h"
#include "layoutobjects/WordRect.h"
#include "platform/Printers.h"
#include "support/MessageRecorder.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace {

class LayoutPaperChangeTest : public ::testing::Test
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
    }
    void TearDown() override
    {
        ProgramFolder = m_saved[0];
        DataRootFolder = m_saved[1];
        DataFolder = m_saved[2];
    }
    // A new postcard with one text frame placed at the paper's right edge.
    std::unique_ptr<TLayoutDocument> Postcard(TDrawRect** text)
    {
        auto document = std::make_unique<TLayoutDocument>();
        document->PaperIndex = 0;
        EXPECT_TRUE(document->LoadPaperFormat());
        document->FitPaperBarcode();
        document->SetIndividualLayout(false, true);
        document->NewLayout();
        const int w = document->DesignSize.width();
        *text = document->AddFreeFrame(FreeText, std::make_unique<TWordRect>());
        (*text)->SetDesignRect({w - 100, 10, w - 20, 50});
        document->InsertIntoStacking(*text, false);
        document->Selection = {*text};
        document->FocusIndex = 0;
        return document;
    }
    // Moves the document onto the standard paper of that index, with the mode a new layout would take.
    void MoveTo(TLayoutDocument& d, int index, TLayoutDocument::TFrameFit fit)
    {
        const QSize old = d.DesignSize;
        d.PaperIndex = index;
        d.Paper = m_formats.Formats[size_t(index)];
        d.Sheet = m_formats.SheetOf(d.Paper);
        d.FitPaperBarcode();
        d.SenderDisplayMode = d.Paper.Kind == PaperEnvelope ? 1 : (d.Paper.Count1 < 5 ? 1 : 0);
        d.ChangePaper(old, fit);
    }
    int Envelope() const
    {
        for (size_t i = 0; i < m_formats.Formats.size(); ++i)
            if (m_formats.Formats[i].Kind == PaperEnvelope)
                return int(i);
        return -1;
    }

    QTemporaryDir m_dir;
    QStringList m_saved;
    TStandardFormats m_formats;
    MessageRecorder m_messages;
};

TEST_F(LayoutPaperChangeTest, FreeFramesAreScaledOrPulledInside)
{
    const int envelope = Envelope();
    ASSERT_GE(envelope, 0);
    for (auto fit : {TLayoutDocument::TFrameFit::Scale, TLayoutDocument::TFrameFit::PullInside}) {
        TDrawRect* text = nullptr;
        auto d = Postcard(&text);
        const QSize old = d->DesignSize;
        const TRect before = text->GetDesignRect();
        MoveTo(*d, envelope, fit);
        const QSize size = d->DesignSize;
        ASSERT_NE(size, old);
        const TRect r = text->GetDesignRect();
        if (fit == TLayoutDocument::TFrameFit::Scale) {
            EXPECT_EQ(r.left, RoundHalfAway(before.left * double(size.width()) / old.width()));
            EXPECT_EQ(r.bottom, RoundHalfAway(before.bottom * double(size.height()) / old.height()));
        } else {
            EXPECT_EQ(r.Width(), before.Width());
            EXPECT_LE(r.right, size.width());
            EXPECT_GE(r.left, 0);
        }
        // Mode 1 on an envelope: the recipient frames on their preset places, the text still placed.
        const TSimpleSet& s = d->Simple();
        EXPECT_EQ(d->StackingIndex(s.SenderName), -1);
        EXPECT_GE(d->StackingIndex(s.Name), 0);
        EXPECT_GE(d->StackingIndex(text), 0);
        const TPresetRect& p = d->Paper.Rects1[2];
        EXPECT_EQ(s.Name->GetDesignRect(), (TRect{p.Left, p.Top, p.Right, p.Bottom}));
        EXPECT_TRUE(d->Selection.empty());
        EXPECT_EQ(d->FocusIndex, -1);
        EXPECT_TRUE(d->Modified);
    }
}

} // namespace
