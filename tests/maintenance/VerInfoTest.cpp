// The about box: version label, memory lines, system name, links; and a demo run for screenshots.
#include "maintenance/VerInfo.h"

#include "core/ShellSub.h"
#include "maintenance/Info.h"
#include "support/RecordingOpener.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

namespace {

TEST(VerInfo, VersionLabels)
{
    EXPECT_EQ(FormatAppVersion({3, 2, 0, 7}), "(3.2)");
    EXPECT_EQ(FormatAppVersion({3, 2, 1, 0}), "(3.2.1)");
    EXPECT_EQ(FormatAppVersion({10, 0, 12, 99}), "(10.0.12)");
}

TEST(VerInfo, MemoryLines)
{
    const TMemoryStatus twoOfEight{2 * 1024 * 1024, 8 * 1024 * 1024};
    EXPECT_EQ(MemoryPercentText(twoOfEight), "[25.0 %]");
    EXPECT_EQ(MemoryAvailableText(twoOfEight),
              QStringLiteral("利用可能なメモリ:  2,097,152 / 8,388,608 (KB)"));
    EXPECT_EQ(MemoryPercentText({1, 3}), "[33.3 %]");
    EXPECT_EQ(MemoryPercentText({0, 0}), "[0.0 %]");

    const auto memory =
        ParseMemInfo("MemTotal:        8388608 kB\nMemFree:  1 kB\nMemAvailable:    2097152 kB\n");
    ASSERT_TRUE(memory);
    EXPECT_EQ(memory->availableKb, 2097152);
    EXPECT_EQ(memory->totalKb, 8388608);
    for (const char* bad : {"MemTotal: 8 kB\n", "MemTotal: x kB\nMemAvailable: 1 kB\n", ""})
        EXPECT_FALSE(ParseMemInfo(bad)) << bad;
}

TEST(VerInfo, SystemName)
{
    struct Case
    {
        const char* text;
        const char* name;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n",
              "Debian GNU/Linux 12 (bookworm)"},
             {"PRETTY_NAME=Plain\n", "Plain"},
             {"PRETTY_NAME='Single quoted'", "Single quoted"},
             {"PRETTY_NAME=\"With \\\"quotes\\\"\"", "With \"quotes\""},
             {"NAME=Only\n", ""},
         })
        EXPECT_EQ(ParseOsPrettyName(c.text), QString::fromUtf8(c.name)) << c.text;
    EXPECT_EQ(OsVersionText("Debian GNU/Linux 12 (bookworm)", "6.1.0-18-amd64"),
              "Debian GNU/Linux 12 (bookworm)  [6.1.0-18-amd64]");
}

TEST(VerInfo, BoxShowsVersionMemoryAndOpensLinks)
{
    TVersionInfo::SetMemorySource([] {
        return std::optional<TMemoryStatus>(TMemoryStatus{2097152, 8388608});
    });
    QList<TShellOpenRequest> opened;
    SetShellOpener(std::make_unique<RecordingOpener>(&opened));
    {
        TVersionInfo box(nullptr);
        EXPECT_EQ(box.windowTitle(), QStringLiteral("バージョン情報"));
        EXPECT_EQ(box.findChild<QLabel*>("lblTitle")->text(), "Tovarel");
        EXPECT_EQ(box.findChild<QLabel*>("lblAppVersion")->text(), FormatAppVersion(ProgramFileVersion()));
        EXPECT_TRUE(box.findChild<QLabel*>("lblOSVersion")->text().contains("  ["));
        EXPECT_EQ(box.findChild<QLabel*>("lblMemoryAvailablePer")->text(), "[25.0 %]");
        const auto* bar = box.findChild<QProgressBar*>("pgbarMemoryAvailable");
        EXPECT_EQ(bar->maximum(), 8388608);
        EXPECT_EQ(bar->value(), 2097152);
        const auto* timer = box.findChild<QTimer*>("tmrMemory");
        EXPECT_TRUE(timer->isActive());
        EXPECT_EQ(timer->interval(), 1000);

        TVersionInfo::SetMemorySource([] { return std::optional<TMemoryStatus>(TMemoryStatus{4, 8}); });
        box.UpdateMemory();
        EXPECT_EQ(box.findChild<QLabel*>("lblMemoryAvailablePer")->text(), "[50.0 %]");

        box.show();
        for (const char* name : {"lblURL", "lblURLApp"}) {
            auto* link = box.findChild<QLabel*>(name);
            EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
            QTest::mouseClick(link, Qt::LeftButton);
        }
    }
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0].file, MakerHomeUrl);
    EXPECT_EQ(opened[1].file, ProductPageUrl);
    SetShellOpener(nullptr);
    TVersionInfo::SetMemorySource(nullptr);
}

// Shows the about box and the notices window for TOVAREL_DEMO_SHOW_MS milliseconds (for a screenshot under
// Xvfb); skipped otherwise.
TEST(VerInfoDemo, ShowForAScreenshot)
{
    const int ms = qEnvironmentVariableIntValue("TOVAREL_DEMO_SHOW_MS");
    if (ms <= 0)
        GTEST_SKIP() << "TOVAREL_DEMO_SHOW_MS not set";
    TVersionInfo box(nullptr);
    box.move(40, 40);
    box.show();
    TInfoDialog info(nullptr);
    info.ShowNotice(true);
    info.move(560, 40);
    info.show();
    QTest::qWait(ms);
}

} // namespace
