// Tests of the form encoding, the web search engines and dialog, and the URL entry with its browser capture.
#include "links/AddExtURL.h"
#include "links/WebLinks.h"
#include "links/WebSearch.h"

#include "core/ShellSub.h"
#include "links/LinkFixtures.h"
#include "platform/IniFile.h"
#include "support/MessageRecorder.h"
#include "support/RecordingOpener.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

TEST(FormEncodeShiftJis, BytesOneByOne)
{
    struct Case
    {
        QByteArray bytes;
        const char* encoded;
    };
    const Case cases[] = {
        {"a b", "a+b"},
        {" ", "+"},
        {"AZaz09*-.@_", "AZaz09*-.@_"},
        {"~/?&=+%", "%7E%2F%3F%26%3D%2B%25"},
        // Each byte of a double-byte character by itself: a trail byte in the kept set stays.
        {"\x83\x40", "%83@"},                 // ァ
        {"\x83\x41 \x88\x9F", "%83A+%88%9F"}, // ア 亜
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormEncodeShiftJis(c.bytes), QLatin1String(c.encoded)) << c.encoded;
    EXPECT_EQ(FormEncodeShiftJis(ToAnsi(QStringLiteral("ァ ア"))), QStringLiteral("%83@+%83A"));
}

TEST(WebSearch, EngineUrls)
{
    const QString word = QStringLiteral(" a b ");
    EXPECT_EQ(WebSearchUrl(0, word), WebLinks::GooHost + "/web.jsp?from=" + WebLinks::GooPartnerCode +
                                         "&PT=" + WebLinks::GooPartnerCode + "&IE=SJIS&MT=a+b");
    EXPECT_EQ(WebSearchUrl(1, word), WebLinks::YahooHost + "/search?ei=SJIS&p=a+b");
    EXPECT_EQ(WebSearchUrl(2, word),
              WebLinks::ExciteHost + "/search.gw?target=combined&look=excite_jp&lang=jp&search=a+b");
    EXPECT_EQ(WebSearchUrl(3, word), WebLinks::InfoseekHost + "/Web?col=OW&svx=101102&qt=%61%20%62");
    EXPECT_EQ(WebSearchUrl(1, QStringLiteral("亜")), WebLinks::YahooHost + "/search?ei=SJIS&p=%88%9F");
}

class WebSearchDialogTest : public ::testing::Test
{
protected:
    void writeEngine(const char* value)
    {
        TMemIniFile ini(DataRootFolder + MainSettingsFileName);
        ini.WriteString(QStringLiteral("WEB SEARCH"), QStringLiteral("Engine"), QLatin1String(value));
        ini.UpdateFile();
    }
    int storedEngine() const
    {
        return TMemIniFile(DataRootFolder + MainSettingsFileName)
            .ReadInteger(QStringLiteral("WEB SEARCH"), QStringLiteral("Engine"), -1);
    }
    TempDataRoot root;
};

TEST_F(WebSearchDialogTest, StoredEngineOutOfRangeReadsAsTheFirst)
{
    for (const auto& [stored, engine] : {std::pair{"2", 2}, {"4", 0}, {"-1", 0}, {"x", 0}}) {
        writeEngine(stored);
        TWebSearch dialog(nullptr);
        EXPECT_EQ(dialog.findChild<QComboBox*>("cbxEngine")->currentIndex(), engine) << stored;
    }
}

TEST_F(WebSearchDialogTest, SearchOpensThePageAndKeepsTheEngine)
{
    QList<TShellOpenRequest> opened;
    auto previous = SetShellOpener(std::make_unique<RecordingOpener>(&opened));
    MessageRecorder messages;
    {
        TWebSearch dialog(nullptr);
        auto* word = dialog.findChild<QLineEdit*>("edtWord");
        dialog.SetWord(QString());
        messages.answer(MsgSeam::IdOk);
        dialog.bbtnSearchClick();
        ASSERT_EQ(messages.count(), 1);
        EXPECT_EQ(messages.last().text, QStringLiteral("検索名称を入力してください  "));
        EXPECT_TRUE(opened.isEmpty());
        EXPECT_EQ(storedEngine(), -1);

        dialog.SetWord(QStringLiteral("a b"));
        EXPECT_EQ(word->cursorPosition(), 3);
        dialog.findChild<QComboBox*>("cbxEngine")->setCurrentIndex(3);
        dialog.bbtnSearchClick();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    {
        // A word of blanks passes and searches for nothing.
        TWebSearch dialog(nullptr);
        EXPECT_EQ(dialog.findChild<QComboBox*>("cbxEngine")->currentIndex(), 3);
        dialog.SetWord(QStringLiteral("  "));
        dialog.bbtnSearchClick();
    }
    SetShellOpener(std::move(previous));
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0].file, WebSearchUrl(3, QStringLiteral("a b")));
    EXPECT_TRUE(opened[1].file.endsWith(QStringLiteral("qt=")));
    EXPECT_EQ(storedEngine(), 3);
    EXPECT_EQ(messages.count(), 1);
}

// A desktop of scripted windows.
class FakeDirectory : public TWindowDirectory
{
public:
    struct Window
    {
        QString title;
        QList<TChildWindow> children;
    };
    QList<Window> windows;
    QStringList TopLevelTitles() const override
    {
        QStringList titles;
        for (const Window& w : windows)
            titles << w.title;
        return titles;
    }
    QList<TChildWindow> Children(int index) const override { return windows.value(index).children; }
};

TEST(CaptureBrowserURL, FirstBrowserWithAnAddressWins)
{
    FakeDirectory desktop;
    EXPECT_EQ(CaptureBrowserURL(desktop), QString());
    desktop.windows = {
        {"メモ帳", {{"Edit", "http://not-a-browser/"}}},
        // A browser without an address field: the search goes on to the next window.
        {"新しいタブ - Mozilla Firefox", {{"MozillaWindowClass", "http://x/"}, {"Edit", "about:blank"}}},
        // Capitals are no address.
        {"Example - Windows Internet Explorer", {{"ComboBox", ""}, {"Edit", "HTTP://CAPS/"}}},
        {"Google Chrome", {{"Chrome_OmniboxView", ""}, {"RichEdit20W", "https://second.example/ "}}},
        {"Netscape", {{"Edit", "http://third.example/"}}},
    };
    EXPECT_EQ(CaptureBrowserURL(desktop), QStringLiteral("https://second.example/"));
    // "Internet Explorer" counts only with its leading blank, and the markers are case-sensitive.
    desktop.windows = {{"Internet Explorer", {{"Edit", "http://a/"}}},
                       {"firefox", {{"Edit", "http://b/"}}},
                       {"x Internet Explorer", {{"Edit", "http://c/"}}}};
    EXPECT_EQ(CaptureBrowserURL(desktop), QStringLiteral("http://c/"));
}

TEST(AddExtURL, EntryAndCapture)
{
    {
        // This desktop lets no program read another's windows: the capture button stays off.
        TAddExtURL dialog(nullptr);
        EXPECT_FALSE(dialog.findChild<QPushButton*>("bbtnGetURL")->isEnabled());
        auto* url = dialog.findChild<QLineEdit*>("edtURL");
        url->setText(QStringLiteral("   "));
        dialog.btnAddClick();
        EXPECT_EQ(dialog.result(), 0);
        url->setText(QStringLiteral("  https://example.jp/  "));
        dialog.btnAddClick();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.GetURL(), QStringLiteral("https://example.jp/"));
    }
    FakeDirectory desktop;
    desktop.windows = {{"Mozilla Firefox", {{"Edit", "http://captured.example/"}}}};
    TAddExtURL dialog(nullptr, &desktop);
    auto* capture = dialog.findChild<QPushButton*>("bbtnGetURL");
    ASSERT_TRUE(capture->isEnabled());
    dialog.findChild<QLineEdit*>("edtURL")->setText(QStringLiteral("old"));
    capture->click();
    EXPECT_EQ(dialog.GetURL(), QStringLiteral("http://captured.example/"));
    desktop.windows.clear();
    capture->click();
    EXPECT_EQ(dialog.GetURL(), QString());
}

} // namespace
