// Hyphenation wrapper: reference counting, load failures and their messages, and the stand-in library's
// answers.
#include "core/Dlhyp.h"
#include "DlhypApi.h"
#include "platform/LibraryLoader.h"
#include "support/MessageRecorder.h"

#include <gtest/gtest.h>
#include <QDateTime>

#include <atomic>
#include <thread>

namespace {

const QString ProgramDir = QStringLiteral(TOVAREL_PROGRAM_DIR);
const QString DicDir = QStringLiteral(TOVAREL_PROGRAM_DIR "Dic/");

class Dlhyp : public ::testing::Test
{
protected:
    void TearDown() override { LibraryLoader::ClearFailures(); }

    static bool Loaded()
    {
        AnsiString probe = "0312345678";
        return HyphenatePhone(probe) != HyphenNotLoaded;
    }
};

TEST_F(Dlhyp, SecondLoadSharesTheLibraryAndTheLastFreeReleasesIt)
{
    EXPECT_FALSE(Loaded());
    EXPECT_EQ(LoadHyphenLibrary(ProgramDir, DicDir), 0);
    EXPECT_EQ(LoadHyphenLibrary(ProgramDir, DicDir), 0);
    EXPECT_TRUE(Loaded());
    FreeHyphenLibrary();
    EXPECT_TRUE(Loaded());
    FreeHyphenLibrary();
    EXPECT_FALSE(Loaded());
    FreeHyphenLibrary(); // one too many: nothing happens, and the count does not go below zero
    EXPECT_FALSE(Loaded());
    EXPECT_EQ(LoadHyphenLibrary(ProgramDir, DicDir), 0);
    EXPECT_TRUE(Loaded());
    FreeHyphenLibrary();
    EXPECT_FALSE(Loaded());
}

TEST_F(Dlhyp, LoadFailureIsReportedOnceAndStaysCounted)
{
    LibraryLoader::SetFailingLoad("Dlhyp.dll");
    MessageRecorder recorder;
    recorder.answer(MsgSeam::IdOk);
    EXPECT_EQ(LoadHyphenLibrary(ProgramDir, DicDir), HyphenLoadError);
    ASSERT_EQ(recorder.count(), 1);
    EXPECT_EQ(recorder.last().source, MsgSeam::Source::Application);
    EXPECT_EQ(recorder.last().caption, QStringLiteral("Dlhyp.dll LoadLibrary Error"));
    EXPECT_EQ(recorder.last().text, QStringLiteral("Dlhyp.dll\r\nDLLのロードに失敗しました"));
    EXPECT_EQ(recorder.last().flags, 16u);

    AnsiString number = "0312345678";
    EXPECT_EQ(HyphenatePhone(number), HyphenNotLoaded);
    EXPECT_EQ(number, "0312345678");
    EXPECT_EQ(HyphenatePhoneText(" 0312345678 "), "0312345678");

    // Later loads only count, without a second message; the paired frees bring the count back to zero.
    LibraryLoader::ClearFailures();
    EXPECT_EQ(LoadHyphenLibrary(ProgramDir, DicDir), 0);
    EXPECT_FALSE(Loaded());
    FreeHyphenLibrary();
    FreeHyphenLibrary();
    EXPECT_EQ(recorder.count(), 1);
    EXPECT_EQ(LoadHyphenLibrary(ProgramDir, DicDir), 0);
    EXPECT_TRUE(Loaded());
    FreeHyphenLibrary();
}

TEST_F(Dlhyp, MissingEntryPointReleasesTheLibrary)
{
    LibraryLoader::SetFailingSymbol("Dlhyp.dll", "GetHyphen");
    MessageRecorder recorder;
    recorder.answer(MsgSeam::IdOk);
    EXPECT_EQ(LoadHyphenLibrary(ProgramDir, DicDir), HyphenEntryPointError);
    ASSERT_EQ(recorder.count(), 1);
    EXPECT_EQ(recorder.last().source, MsgSeam::Source::Application);
    EXPECT_EQ(recorder.last().caption, QStringLiteral("Dlhyp.dll GetProcAddress Error"));
    EXPECT_EQ(recorder.last().text, QStringLiteral("GetHyphen\r\n関数の割り当てに失敗しました"));
    EXPECT_EQ(recorder.last().flags, 16u);
    EXPECT_FALSE(Loaded());

    // The count is back to zero: the next load loads, and one free releases.
    LibraryLoader::ClearFailures();
    EXPECT_EQ(LoadHyphenLibrary(ProgramDir, DicDir), 0);
    EXPECT_TRUE(Loaded());
    FreeHyphenLibrary();
    EXPECT_FALSE(Loaded());
}

TEST_F(Dlhyp, NotLoadedLeavesNumbersAsTheyAre)
{
    AnsiString number = "0312345678";
    EXPECT_EQ(HyphenatePhone(number), HyphenNotLoaded);
    EXPECT_EQ(number, "0312345678");
    EXPECT_EQ(HyphenatePhoneText("  0312345678\t "), "0312345678");
    EXPECT_EQ(HyphenatePhoneText("   "), "");
}

TEST_F(Dlhyp, StandInHyphenatesJapaneseNumbers)
{
    ASSERT_EQ(LoadHyphenLibrary(ProgramDir, DicDir), 0);
    struct Case
    {
        AnsiString number;
        AnsiString expected;
    } cases[] = {
        {"0312345678", "03-1234-5678"},   {"0467231234", "0467-23-1234"}, {"0120123456", "0120-123-456"},
        {"09012345678", "090-1234-5678"}, {"0612345678", "06-1234-5678"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number.constData());
        AnsiString number = c.number;
        EXPECT_EQ(HyphenatePhone(number), 0);
        EXPECT_EQ(number, c.expected);
        EXPECT_EQ(HyphenatePhoneText(" " + c.number + " "), c.expected);
    }
    FreeHyphenLibrary();
}

TEST_F(Dlhyp, NumbersTheStandInCannotFormatAreLeftUnchanged)
{
    ASSERT_EQ(LoadHyphenLibrary(ProgramDir, DicDir), 0);
    const AnsiString numbers[] = {
        "",                  // nothing
        "abc",               // not digits
        "03-1234-5678",      // already hyphenated: not the digits of a number
        "0800123456",        // one digit short for its range
        "0312345678901234",  // too long
        "01012125551234",    // dialled abroad: a foreign number
        AnsiString(40, '0'), // far beyond any number
        "\x83\x41",          // double-byte text
    };
    for (const AnsiString& original : numbers) {
        SCOPED_TRACE(original.constData());
        AnsiString number = original;
        EXPECT_NE(HyphenatePhone(number), 0);
        EXPECT_EQ(number, original);
        EXPECT_EQ(HyphenatePhoneText(" " + original), original.trimmed());
    }
    FreeHyphenLibrary();
}

TEST_F(Dlhyp, StandInIsSafeFromManyThreads)
{
    ASSERT_EQ(LoadHyphenLibrary(ProgramDir, DicDir), 0);
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&wrong, t] {
            for (int i = 0; i < 200; ++i) {
                AnsiString number = (t % 2) ? "0467231234" : "09012345678";
                const AnsiString expected = (t % 2) ? "0467-23-1234" : "090-1234-5678";
                if (HyphenatePhone(number) != 0 || number != expected)
                    ++wrong;
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong.load(), 0);
    FreeHyphenLibrary();
}

TEST_F(Dlhyp, ResultFillingTheWholeBufferIsTakenWhole)
{
    const QString fakeDir = QStringLiteral(TOVAREL_FAKE_DLHYP_DIR);
    ASSERT_EQ(LoadHyphenLibrary(fakeDir, QStringLiteral("/data/default/")), 0);
    AnsiString number = "0120345678";
    EXPECT_EQ(HyphenatePhone(number), 0);
    EXPECT_EQ(number, "0120-3456-7890");
    EXPECT_EQ(number.size(), HyphenResultSize);

    // The default data folder, or the one given; the time in UTC.
    LibraryLoader::Handle fake = LibraryLoader::Load(fakeDir, "Dlhyp.dll");
    ASSERT_TRUE(fake);
    using LastCall = void (*)(char*, int, TSystemTime*);
    const auto lastCall = reinterpret_cast<LastCall>(LibraryLoader::Symbol(fake, "FakeLastCall"));
    ASSERT_TRUE(lastCall);
    char folder[64];
    TSystemTime time{};
    lastCall(folder, sizeof folder, &time);
    EXPECT_STREQ(folder, "/data/default/");
    const QDateTime utc = QDateTime::currentDateTimeUtc();
    EXPECT_EQ(time.wYear, utc.date().year());
    EXPECT_LE(std::abs(int(time.wHour) * 60 + time.wMinute - (utc.time().hour() * 60 + utc.time().minute())),
              1);
    EXPECT_EQ(time.wDayOfWeek, utc.date().dayOfWeek() % 7);

    EXPECT_EQ(HyphenatePhoneText("0120345678", QStringLiteral("/data/given/")), "0120-3456-7890");
    lastCall(folder, sizeof folder, &time);
    EXPECT_STREQ(folder, "/data/given/");
    LibraryLoader::Free(fake);
    FreeHyphenLibrary();
}

} // namespace
