// "DrRect.def" with and without the message-side designer's sender part, and the part surviving a rewrite
// by the address-side designer.
#include "core/FontSub.h"
#include "designers/DesignPrototypes.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace {

class DesignPrototypesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath("DrRect.def");
    }
    QTemporaryDir m_dir;
    QString m_path;
};

TEST_F(DesignPrototypesTest, WithoutSenderPartTheSenderStartsFromDefaults)
{
    // The address-side designer's file: text and figure only.
    TDefaultRects layout;
    layout.Text->SetAlignment(2);
    layout.Changed = true;
    ASSERT_TRUE(SaveDefaultRects(m_path, layout));

    TDesignPrototypes prototypes;
    LoadDesignPrototypes(m_path, prototypes);
    EXPECT_EQ(prototypes.Rects->Text->Alignment(), 2);
    EXPECT_EQ(prototypes.Sender.GetFont().name, QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(prototypes.Sender.GetFont().size, 12);
    EXPECT_EQ(prototypes.Sender.Member(SimpleName)->FontColor(), 0u);
    EXPECT_FALSE(prototypes.Changed());

    // Unchanged prototypes leave the file alone.
    const QByteArray before = ReadFileBytes(m_path);
    ASSERT_TRUE(SaveDesignPrototypes(m_path, prototypes));
    EXPECT_EQ(ReadFileBytes(m_path), before);
}

TEST_F(DesignPrototypesTest, SenderPartSurvivesTheLayoutWindowsRewrite)
{
    TDesignPrototypes prototypes;
    LoadDesignPrototypes(m_path, prototypes); // no file yet
    prototypes.Sender.SetSenderTitle("office");
    prototypes.Sender.SetSimpleLayout(false);
    prototypes.Sender.SetHorizontal(true);
    prototypes.SetChanged();
    ASSERT_TRUE(SaveDesignPrototypes(m_path, prototypes));

    // The address-side designer reads the file, changes its text prototype and writes it back.
    TDefaultRects layout;
    LoadDefaultRects(m_path, layout);
    layout.Text->SetAlignment(1);
    layout.Changed = true;
    ASSERT_TRUE(SaveDefaultRects(m_path, layout));

    TDesignPrototypes again;
    LoadDesignPrototypes(m_path, again);
    EXPECT_EQ(again.Rects->Text->Alignment(), 1);
    EXPECT_EQ(again.Sender.SenderTitle(), "office");
    EXPECT_FALSE(again.Sender.SimpleLayout());
    EXPECT_TRUE(again.Sender.GetHorizontal());
}

TEST_F(DesignPrototypesTest, DamagedSenderPartCountsAsNone)
{
    TDesignPrototypes prototypes;
    prototypes.Sender.SetSenderTitle("office");
    prototypes.SetChanged();
    ASSERT_TRUE(SaveDesignPrototypes(m_path, prototypes));
    const QByteArray whole = ReadFileBytes(m_path);
    const QByteArray twoParts = EncodeDefaultRects(TDefaultRects());
    WriteFileBytes(m_path, whole.left(twoParts.size() + 10));
    TDesignPrototypes again;
    LoadDesignPrototypes(m_path, again);
    EXPECT_EQ(again.Sender.GetFont().name, QStringLiteral("ＭＳ Ｐゴシック"));
}

} // namespace
