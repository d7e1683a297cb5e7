// Tests of the reading-copy edits: reading conversion, posting rules and composition sequences.
#include "core/NMDEdit.h"
#include "core/TntNMDEdit.h"
#include "support/InputMethodEvents.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTest>

namespace {

struct NeedLog
{
    struct Entry
    {
        TNameDicKind kind;
        bool show;
        QString value;
    };
    std::vector<Entry> entries;
    void attach(TNMDBehaviour& b)
    {
        b.OnConvertNeed = [this](QWidget*, TNameDicKind k, bool s, const QString& v) {
            entries.push_back({k, s, v});
        };
    }
    // Delivers the posted MsgConvertNeed events.
    void deliver() { QCoreApplication::sendPostedEvents(nullptr, MsgConvertNeed); }
    std::vector<QString> shownValues() const
    {
        std::vector<QString> v;
        for (const Entry& e : entries)
            if (e.show)
                v.push_back(e.value);
        return v;
    }
};

void typeChar(QWidget* w, const QString& ch, int key = 0)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, ch);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, ch);
    QApplication::sendEvent(w, &release);
}

void focusOut(QWidget* w)
{
    QFocusEvent e(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w, &e);
}

QString w(const char16_t* s)
{
    return QString::fromUtf16(s);
}

} // namespace

TEST(NMDReading, ConvertReading)
{
    struct Case
    {
        const char16_t* reading;
        bool finished;
        const char16_t* expected;
    } cases[] = {
        {u"やまだ", true, u"ﾔﾏﾀﾞ"},    {u"カブシキガイシャ", true, u"ｶﾌﾞｼｷｶﾞｲｼｬ"},
        {u"東京がす", true, u"ｶﾞｽ"},   {u"東京がす", false, u"東京ｶﾞｽ"},
        {u"ｋａ", false, u"ka"},       {u"ゐの😀", true, u"ﾉ"},
        {u"やま　だ", true, u"ﾔﾏ ﾀﾞ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(w(c.reading).toStdString());
        EXPECT_EQ(ToWide(NMDReading::ConvertReading(w(c.reading), c.finished)), w(c.expected));
    }
}

TEST(NMDReading, RomajiPostingRules)
{
    // Each reading in turn, starting with nothing pending: whether it posts and what stays pending.
    struct Step
    {
        const char16_t* reading;
        bool post;
        bool pending;
    };
    const Step typing[] = {
        {u"k", false, true},
        {u"ｶ", true, false},
        {u"ｶk", false, true},
        {u"ｶｷ", true, false},
    };
    bool pending = false;
    for (const Step& s : typing) {
        SCOPED_TRACE(w(s.reading).toStdString());
        EXPECT_EQ(NMDReading::NeedPost(ToAnsi(w(s.reading)), pending), s.post);
        EXPECT_EQ(pending, s.pending);
    }

    // With a letter pending: which endings complete a kana.
    const std::pair<const char16_t*, bool> pendingCases[] = {
        {u"ch", false}, {u"sh", false}, {u"ah", true},  {u"hh", false}, {u"hhh", true}, {u"lt", false},
        {u"tt", false}, {u"ttt", true}, {u"at", true},  {u"ky", false}, {u"ay", true},  {u"yy", false},
        {u"yyy", true}, {u"kk", false}, {u"kkk", true}, {u"ak", true},  {u"ｶｯ", true},  {u"ｶﾞ", true},
    };
    for (auto [reading, post] : pendingCases) {
        SCOPED_TRACE(w(reading).toStdString());
        bool p = true;
        EXPECT_EQ(NMDReading::NeedPost(ToAnsi(w(reading)), p), post);
        EXPECT_EQ(p, !post);
    }

    // A double-byte character whose trail byte looks like "A" is no letter.
    bool p = false;
    EXPECT_TRUE(NMDReading::NeedPost(ToAnsi(w(u"Б")), p));
    EXPECT_FALSE(p);
}

TEST(NMDEdit, ReadingsAreAppendedReplacedAndCleared)
{
    TNMDEdit edit;
    QLineEdit kana;
    edit.SetAssociate(&kana);

    TestIme::Convert(&edit, w(u"やまだ"), w(u"山田"));
    TestIme::Convert(&edit, w(u"しょうじ"), w(u"商事"));
    EXPECT_EQ(edit.text(), w(u"山田商事"));
    EXPECT_EQ(kana.text(), w(u"ﾔﾏﾀﾞｼｮｳｼﾞ"));

    // A new name over the whole selected text replaces the reading.
    edit.selectAll();
    TestIme::Convert(&edit, w(u"かわい"), w(u"河合"));
    EXPECT_EQ(edit.text(), w(u"河合"));
    EXPECT_EQ(kana.text(), w(u"ｶﾜｲ"));

    // Kanji in the result's reading are lost; a blank committed outside a composition separates names.
    TestIme::Commit(&edit, w(u"　"));
    TestIme::Commit(&edit, w(u"東京がす"));
    EXPECT_EQ(kana.text(), w(u"ｶﾜｲ ｶﾞｽ"));

    // Deleting the whole text empties the reading.
    edit.selectAll();
    typeChar(&edit, QString(), Qt::Key_Backspace);
    EXPECT_TRUE(edit.text().isEmpty());
    EXPECT_TRUE(kana.text().isEmpty());

    // A kana edit copies nothing.
    edit.SetInputType(itKana);
    TestIme::Convert(&edit, w(u"やま"), w(u"山"));
    EXPECT_TRUE(kana.text().isEmpty());
}

TEST(NMDEdit, CommitThatStartsNextCompositionAndCancelledComposition)
{
    TNMDEdit edit;
    QLineEdit kana;
    edit.SetAssociate(&kana);
    TestIme::Preedit(&edit, w(u"やま"));
    TestIme::Preedit(&edit, w(u"山"), true);
    // Typing on after a conversion commits it and opens the next composition in one event.
    TestIme::Commit(&edit, w(u"山"), w(u"か"));
    EXPECT_EQ(kana.text(), w(u"ﾔﾏ"));
    EXPECT_TRUE(edit.Composing());
    EXPECT_EQ(edit.NameKind(), nkFirst);
    TestIme::Preedit(&edit, w(u"かわ"));
    TestIme::Cancel(&edit);
    EXPECT_FALSE(edit.Composing());
    EXPECT_EQ(edit.text(), w(u"山"));
    EXPECT_EQ(kana.text(), w(u"ﾔﾏ"));
}

TEST(NMDEdit, AssociateKeepsItsByteLimit)
{
    TNMDEdit edit;
    edit.setMaxLength(4);
    QLineEdit kana;
    kana.setMaxLength(5);
    kana.setText(w(u"ア"));
    edit.setText(w(u"亜"));
    edit.SetAssociate(&kana);
    TestIme::Convert(&edit, w(u"いうえお"), w(u"上男"));
    // 2 bytes + 4 would be 6: the reading is cut to 5 bytes; the edit itself is not cut by the copy.
    EXPECT_EQ(kana.text(), w(u"アｲｳｴ"));
    EXPECT_EQ(edit.text(), w(u"亜上男"));
    // Leaving the edit cuts the input-method text to its byte limit, on a character boundary.
    focusOut(&edit);
    EXPECT_EQ(edit.text(), w(u"亜上"));
}

TEST(NMDEdit, TypingStopsAtByteLimit)
{
    TNMDEdit edit;
    edit.setMaxLength(5);
    for (const char16_t* ch : {u"山", u"田", u"a", u"b"})
        typeChar(&edit, w(ch));
    EXPECT_EQ(edit.text(), w(u"山田a"));
    edit.setCursorPosition(0);
    typeChar(&edit, w(u"川"));
    EXPECT_EQ(edit.text(), w(u"山田a"));
}

TEST(NMDEdit, CandidatePopupFollowsComposition)
{
    NeedLog log; // outlives the edit, which still reports while it is destroyed
    TNMDEdit edit;
    log.attach(edit);

    TestIme::Preedit(&edit, w(u"や"));
    TestIme::Preedit(&edit, w(u"やま"));
    log.deliver();
    // Posted events read the state when they arrive: both show the latest reading.
    ASSERT_EQ(log.entries.size(), 2u);
    EXPECT_EQ(log.entries[0].kind, nkLineage);
    EXPECT_TRUE(log.entries[1].show);
    EXPECT_EQ(log.entries[1].value, w(u"ﾔﾏ"));

    TestIme::Preedit(&edit, w(u"山"), true);
    log.deliver();
    EXPECT_FALSE(log.entries.back().show);
    EXPECT_EQ(log.entries.back().value, w(u"ﾔﾏ"));
    TestIme::Commit(&edit, w(u"山"));
    EXPECT_FALSE(log.entries.back().show);
    EXPECT_TRUE(log.entries.back().value.isEmpty());

    // After a full-width blank the given name is being typed.
    TestIme::Commit(&edit, w(u"　"));
    log.entries.clear();
    TestIme::Preedit(&edit, w(u"た"));
    log.deliver();
    ASSERT_FALSE(log.entries.empty());
    EXPECT_EQ(log.entries.back().kind, nkFirst);
    TestIme::Commit(&edit, w(u"た"));

    // A reading of 30 bytes or more no longer updates the popup.
    log.entries.clear();
    const QString fourteen = w(u"あいうえおかきくけこさしすせ");
    TestIme::Preedit(&edit, fourteen);
    TestIme::Preedit(&edit, fourteen + w(u"そ"));
    log.deliver();
    EXPECT_EQ(log.shownValues(), std::vector<QString>{w(u"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾ")});
}

TEST(NMDEdit, RomajiCompositionPostsOnCompletedKana)
{
    NeedLog log; // outlives the edit, which still reports while it is destroyed
    TNMDEdit edit;
    log.attach(edit);
    std::vector<size_t> postsAfter;
    for (const char16_t* preedit : {u"k", u"か", u"かk", u"かき", u"かきs", u"かきsh", u"かきしゃ"}) {
        TestIme::Preedit(&edit, w(preedit));
        log.deliver();
        postsAfter.push_back(log.entries.size());
    }
    EXPECT_EQ(postsAfter, (std::vector<size_t>{0, 1, 1, 2, 2, 2, 3}));
    EXPECT_EQ(log.entries.back().value, w(u"ｶｷｼｬ"));
}

TEST(NMDEdit, KeysDuringCompositionGoToOwner)
{
    NeedLog log;
    TNMDEdit edit;
    edit.setText("ab");
    std::vector<int> offered;
    edit.OnConvertKeyDown = [&](QWidget*, int& key, bool& result) {
        offered.push_back(key);
        result = key == Qt::Key_Down;
    };
    typeChar(&edit, QString(), Qt::Key_Down); // no composition: not offered
    TestIme::Preedit(&edit, w(u"か"));
    edit.setCursorPosition(2);
    typeChar(&edit, QString(), Qt::Key_Down);
    typeChar(&edit, QString(), Qt::Key_Left);
    typeChar(&edit, QString(), Qt::Key_Home);
    EXPECT_EQ(offered, (std::vector<int>{Qt::Key_Down, Qt::Key_Left}));
    EXPECT_EQ(edit.cursorPosition(), 0); // Left and Home were left to the edit

    // Leaving the edit hides the popup and cancels the composition.
    log.attach(edit);
    focusOut(&edit);
    EXPECT_FALSE(edit.Composing());
    ASSERT_FALSE(log.entries.empty());
    EXPECT_FALSE(log.entries.front().show);
}

TEST(NMDEdit, BytePositions)
{
    TNMDEdit edit;
    edit.setText(w(u"山田abc"));
    edit.setCursorPosition(3);
    EXPECT_EQ(edit.XPSelStart(), 5);
    struct Case
    {
        int bytes;
        int chars;
    } starts[] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {6, 4}, {99, 5}};
    for (const Case& c : starts) {
        SCOPED_TRACE(c.bytes);
        edit.SetXPSelStart(c.bytes);
        EXPECT_EQ(edit.cursorPosition(), c.chars);
    }
    edit.SetXPSelStart(2);
    edit.SetXPSelLength(4);
    EXPECT_EQ(edit.selectedText(), w(u"田ab"));
    EXPECT_EQ(edit.XPSelLength(), 4);
    EXPECT_EQ(edit.XPSelStart(), 2);
}

TEST(NMDEdit, AssociateIsNeverItselfAndForgetsDestroyedEdit)
{
    TNMDEdit edit;
    edit.SetAssociate(&edit);
    EXPECT_EQ(edit.Associate(), nullptr);
    auto* kana = new QLineEdit;
    edit.SetAssociate(kana);
    delete kana;
    EXPECT_EQ(edit.Associate(), nullptr);
    TestIme::Convert(&edit, w(u"き"), w(u"木")); // no associate left to write to
    EXPECT_EQ(edit.text(), w(u"木"));
}

TEST(NMDEdit, DestructionHidesPopupUnlessOwnerIsGoing)
{
    NeedLog log;
    auto* owner = new QWidget;
    auto* alone = new TNMDEdit(owner);
    auto* withOwner = new TNMDEdit(owner);
    log.attach(*alone);
    log.attach(*withOwner);
    delete alone;
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_FALSE(log.entries[0].show);
    delete owner;
    EXPECT_EQ(log.entries.size(), 1u);
}

TEST(NMDComboBox, OnlyTheEditableStyleCopiesReadings)
{
    NeedLog log; // outlives the combo box, which still reports while it is destroyed
    TNMDComboBox combo;
    QLineEdit kana;
    combo.SetAssociate(&kana);
    log.attach(combo);
    TestIme::Convert(&combo, w(u"やまだ"), w(u"山田"));
    EXPECT_EQ(combo.currentText(), w(u"山田"));
    EXPECT_EQ(kana.text(), w(u"ﾔﾏﾀﾞ"));

    // The kind looks at the text before the caret less its last byte.
    combo.setEditText("a");
    TestIme::Preedit(&combo, w(u"か"));
    EXPECT_EQ(combo.NameKind(), nkLineage);
    TestIme::Commit(&combo, w(u"か"));
    combo.setEditText("ab");
    TestIme::Preedit(&combo, w(u"か"));
    EXPECT_EQ(combo.NameKind(), nkFirst);
    TestIme::Cancel(&combo);
    log.deliver();

    combo.setEditable(false);
    combo.addItem(w(u"候補"));
    kana.setText("x");
    log.entries.clear();
    TestIme::Convert(&combo, w(u"やま"), w(u"山"));
    log.deliver();
    EXPECT_EQ(kana.text(), "x");
    EXPECT_TRUE(log.entries.empty());
}

TEST(TntNMDEdit, CopiesReadingsAndBlanks)
{
    TTntNMDEdit name;
    TTntNMDEdit kana;
    kana.SetInputType(itKana);
    kana.SetAssociate(&name);
    name.SetAssociate(&kana);
    TestIme::Convert(&name, w(u"やまだ"), w(u"山田"));
    TestIme::Commit(&name, " ");
    TestIme::Convert(&name, w(u"はなこ"), w(u"花子"));
    EXPECT_EQ(name.text(), w(u"山田 花子"));
    EXPECT_EQ(kana.text(), w(u"ﾔﾏﾀﾞ ﾊﾅｺ"));
    // Typing in the kana edit does not echo back.
    TestIme::Convert(&kana, w(u"あ"), w(u"ｱ"));
    EXPECT_EQ(name.text(), w(u"山田 花子"));
}

TEST(TntNMDEdit, InsertWordAndReading)
{
    TTntNMDEdit name;
    TTntNMDEdit kana;
    kana.SetInputType(itKana);
    kana.SetAssociate(&name);
    name.SetAssociate(&kana);
    kana.setMaxLength(8);

    name.InsertWordAndReading(w(u"山田"), w(u"ﾔﾏﾀﾞ"), nkLineage);
    EXPECT_EQ(name.text(), w(u"山田　"));
    EXPECT_EQ(kana.text(), w(u"ﾔﾏﾀﾞ "));
    name.InsertWordAndReading(w(u"花子"), w(u"ﾊﾅｺ"), nkFirst);
    EXPECT_EQ(name.text(), w(u"山田　花子"));
    EXPECT_EQ(kana.text(), w(u"ﾔﾏﾀﾞ ﾊﾅｺ").left(8));
    EXPECT_EQ(name.cursorPosition(), name.text().size());

    // From the kana edit over its whole text: both are replaced, the word going into the name edit.
    kana.selectAll();
    kana.InsertWordAndReading(w(u"佐藤"), w(u"ｻﾄｳ"), nkLineage);
    EXPECT_EQ(kana.text(), w(u"ｻﾄｳ "));
    EXPECT_EQ(name.text(), w(u"佐藤　"));
}
