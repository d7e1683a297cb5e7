// Tests of the category search history: the file layout, damaged files, and the list rules.
#include "search/CtgryHistory.h"

#include "support/AnsiText.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

TCategorySearchHistoryRec Rec(const char* name, TAreaCodeList areas, int region = 3)
{
    TCategorySearchHistoryRec r;
    r.Name = A(name);
    r.PhoneKinds = 5;
    r.LegalForm = 2;
    r.PeriodFrom = "201001";
    r.PeriodTo = "201512";
    r.Major = 12;
    r.Minor = 34;
    r.Region = region;
    r.AreaKind = areas.isEmpty() ? AreaKindCountry : areas.first().kind;
    r.AreaCount = qint32(areas.size());
    r.AreaCodes = areas;
    return r;
}

const TAreaCodeList Country{TAreaCode{}};
const TAreaCodeList Cities{{"13101", AreaKindCity}, {"13103", AreaKindCity}};

qint32 IntAt(const QByteArray& b, int offset)
{
    return qFromLittleEndian<qint32>(b.constData() + offset);
}

QByteArray Int(qint32 v)
{
    char bytes[4];
    qToLittleEndian(v, bytes);
    return QByteArray(bytes, 4);
}

} // namespace

TEST(CtgryHistoryTest, EntryLayoutAndRoundTrip)
{
    TCategorySearchHistory h;
    h.current = Rec("喫茶", Cities);
    h.entries = {h.current, Rec("Bar", Country, 0), Rec("寿司", {{"13", AreaKindPrefecture}}, 3)};
    const QByteArray bytes = TCategoryHistoryFile::Encode(h);

    // Entry 0: two 5-digit codes in slots of 6 bytes, major and minor after them.
    EXPECT_EQ(IntAt(bytes, 0), 3);
    const int e0 = 4;
    EXPECT_EQ(bytes[e0], 4);
    EXPECT_EQ(bytes.mid(e0 + 1, 4), A("喫茶"));
    EXPECT_EQ(IntAt(bytes, e0 + 35), 1);
    EXPECT_EQ(IntAt(bytes, e0 + 39), 1);
    EXPECT_EQ(IntAt(bytes, e0 + 43), 5);
    EXPECT_EQ(IntAt(bytes, e0 + 47), 2);
    EXPECT_EQ(bytes.mid(e0 + 51, 7), QByteArray("\x06"
                                                "201001"));
    EXPECT_EQ(bytes.mid(e0 + 60, 7), QByteArray("\x06"
                                                "201512"));
    EXPECT_EQ(IntAt(bytes, e0 + 69), 20);
    EXPECT_EQ(IntAt(bytes, e0 + 73), 3);
    EXPECT_EQ(IntAt(bytes, e0 + 77), 2);
    EXPECT_EQ(IntAt(bytes, e0 + 81), 5);
    EXPECT_EQ(bytes.mid(e0 + 85, 12), QByteArray("\x05"
                                                 "13101\x05"
                                                 "13103"));
    EXPECT_EQ(IntAt(bytes, e0 + 97), 12);
    EXPECT_EQ(IntAt(bytes, e0 + 101), 34);
    // The whole country: count 1, kind 0, no code bytes.
    const int e1 = e0 + 105;
    EXPECT_EQ(IntAt(bytes, e1 + 77), 1);
    EXPECT_EQ(IntAt(bytes, e1 + 81), 0);
    EXPECT_EQ(IntAt(bytes, e1 + 85), 12);
    const int e2 = e1 + 93;
    EXPECT_EQ(bytes.mid(e2 + 85, 3), QByteArray("\x02"
                                                "13"));
    EXPECT_EQ(bytes.size(), e2 + 96);

    const TCategorySearchHistory back = TCategoryHistoryFile::Decode(bytes, 10);
    EXPECT_EQ(back.current, h.current);
    EXPECT_EQ(back.entries, h.entries);
    EXPECT_EQ(back.entries[1].AreaCodes, Country);
}

TEST(CtgryHistoryTest, HistoryCountLimitsWhatIsRead)
{
    TCategorySearchHistory h;
    h.current = Rec("a", Country);
    h.entries = {h.current, Rec("b", Country), Rec("c", Country), Rec("d", Country)};
    const QByteArray bytes = TCategoryHistoryFile::Encode(h);
    EXPECT_EQ(TCategoryHistoryFile::Decode(bytes, 2).entries.size(), 2);
    // With no history the file still keeps and gives back the last conditions.
    const TCategorySearchHistory none = TCategoryHistoryFile::Decode(bytes, 0);
    EXPECT_TRUE(none.entries.isEmpty());
    EXPECT_EQ(none.current.Name, "a");
    TCategorySearchHistory last;
    last.current = Rec("z", Cities);
    const QByteArray one = TCategoryHistoryFile::Encode(last);
    EXPECT_EQ(IntAt(one, 0), 1);
    EXPECT_EQ(TCategoryHistoryFile::Decode(one, 0).current, last.current);
}

TEST(CtgryHistoryTest, DamagedFiles)
{
    TCategorySearchHistory h;
    h.current = Rec("a", Cities);
    h.entries = {h.current, Rec("b", Country), Rec("c", Cities)};
    const QByteArray good = TCategoryHistoryFile::Encode(h);
    const int e1 = 4 + 105, e2 = e1 + 93;

    QByteArray longName = good;
    longName[4] = char(200);
    QByteArray zeroArea = good;
    std::memcpy(zeroArea.data() + e1 + 77, Int(0).constData(), 4);
    QByteArray hugeArea = good;
    std::memcpy(hugeArea.data() + e2 + 77, Int(0x7FFFFFFF).constData(), 4);
    QByteArray negativeArea = good;
    std::memcpy(negativeArea.data() + e2 + 77, Int(-3).constData(), 4);
    QByteArray hugeCount = good;
    std::memcpy(hugeCount.data(), Int(0x7FFFFFFF).constData(), 4);
    QByteArray unknownKind = good;
    std::memcpy(unknownKind.data() + e2 + 81, Int(3).constData(), 4);
    unknownKind.remove(e2 + 85, 12);

    struct Case
    {
        const char* what;
        QByteArray bytes;
        int entries;       // read into the list
        const char* name0; // the current conditions' name (null: not looked at)
    } cases[] = {
        {"empty", {}, 0, ""},
        {"count only partly there", good.left(3), 0, ""},
        {"no entry", Int(1), 0, ""},
        {"count 0", Int(0) + good.mid(4), 0, ""},
        {"negative count", Int(-1) + good.mid(4), 0, ""},
        {"first entry cut", good.left(60), 0, ""},
        {"second entry cut", good.left(e1 + 50), 1, "a"},
        {"third entry's codes cut", good.left(e2 + 90), 2, "a"},
        {"major of the third cut", good.chopped(6), 2, "a"},
        {"area count 0 in the second", zeroArea, 1, "a"},
        {"huge area count", hugeArea, 2, "a"},
        {"negative area count", negativeArea, 2, "a"},
        {"count past the entries", hugeCount, 3, "a"},
        {"name length past its slot", longName, 3, nullptr},
        {"unknown area kind", unknownKind, 3, "a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TCategorySearchHistory back = TCategoryHistoryFile::Decode(c.bytes, 10);
        EXPECT_EQ(back.entries.size(), c.entries);
        if (c.name0)
            EXPECT_EQ(back.current.Name, c.name0);
        if (c.entries == 0) {
            EXPECT_EQ(back.current.PageSize, 20);
            EXPECT_TRUE(back.current.AreaCodes.isEmpty());
        }
    }
    // The length byte is clamped to the 34 bytes of the slot.
    const TCategorySearchHistory clamped = TCategoryHistoryFile::Decode(longName, 10);
    EXPECT_EQ(clamped.current.Name.size(), 34);
    EXPECT_EQ(clamped.current.Name.left(1), "a");
    // An unknown kind keeps its entry with no codes, and the entry after it is read.
    const TCategorySearchHistory unknown = TCategoryHistoryFile::Decode(unknownKind, 10);
    EXPECT_EQ(unknown.entries[2].AreaKind, 3);
    EXPECT_TRUE(unknown.entries[2].AreaCodes.isEmpty());
    EXPECT_EQ(TCategoryHistoryFile::Decode(TCategoryHistoryFile::Encode(unknown), 10).entries,
              unknown.entries);
}

TEST(CtgryHistoryTest, ListRules)
{
    QList<TCategorySearchHistoryRec> list;
    for (const char* name : {"1", "2", "3", "4", "5"})
        RecordHistoryEntry(list, Rec(name, Country), 5);
    ASSERT_EQ(list.size(), 5);
    EXPECT_EQ(list.first().Name, "5");
    // A sixth distinct search drops the oldest.
    RecordHistoryEntry(list, Rec("6", Country), 5);
    EXPECT_EQ(list.size(), 5);
    EXPECT_EQ(list.first().Name, "6");
    EXPECT_EQ(list.last().Name, "2");
    // Repeating entry 3 moves it to the head.
    RecordHistoryEntry(list, list[3], 5);
    EXPECT_EQ(list.size(), 5);
    EXPECT_EQ(list.first().Name, "3");
    // Letter case of the name, the period and the codes does not count; the fixed values do not either.
    TCategorySearchHistoryRec abc = Rec("Abc", Cities), other = Rec("aBC", Cities);
    other.Fixed1 = 7;
    EXPECT_TRUE(abc.SameConditions(other));
    RecordHistoryEntry(list, abc, 5);
    RecordHistoryEntry(list, other, 5);
    EXPECT_EQ(list.first().Name, "Abc");
    EXPECT_EQ(FindHistoryEntry(list, other), 0);
    // Only single-byte letters fold: ア (83 41) and ャ (83 61) stay different.
    EXPECT_FALSE(SameAnsiTextIgnoringCase(A("ア"), A("ャ")));
    EXPECT_TRUE(SameAnsiTextIgnoringCase(A("ア") + "X", A("ア") + "x"));
    TCategorySearchHistoryRec moved = abc;
    moved.Minor = 35;
    EXPECT_FALSE(abc.SameConditions(moved));
    moved = abc;
    moved.AreaCodes[1].code = "13104";
    EXPECT_FALSE(abc.SameConditions(moved));

    int chosen = 4;
    TrimHistory(list, 3, chosen);
    EXPECT_EQ(list.size(), 3);
    EXPECT_EQ(chosen, -1);
    // No history: nothing is recorded.
    RecordHistoryEntry(list, Rec("new", Country), 0);
    EXPECT_EQ(list.size(), 3);
}

TEST(CtgryHistoryTest, SaveKeepsTheOldFileWhenItCannotWrite)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(TCategoryHistoryFile::FileName);
    TCategorySearchHistory h;
    h.current = Rec("a", Cities);
    ASSERT_TRUE(TCategoryHistoryFile::Save(path, h));
    EXPECT_EQ(TCategoryHistoryFile::Load(path, 10).current, h.current);
    // A folder where the file's folder should be.
    WriteFileBytes(dir.filePath("file"), "x");
    QString error;
    EXPECT_FALSE(TCategoryHistoryFile::Save(dir.filePath("file/Ctgry.shc"), h, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(HistoryWriteFailureText(dir.filePath("file/Ctgry.shc"), error).contains("Ctgry.shc"));
    EXPECT_EQ(ReadFileBytes(dir.filePath("file")), "x");
}
