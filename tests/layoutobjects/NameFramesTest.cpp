// Name, company-line and additional-item frames on the display list: the given-name column, joint names and
// alignments, the centred block of lines, honorific widths, the company block with short and long titles,
// breaking at full-width spaces; and their records of every format version.
#include "layoutobjects/CorpRect.h"

#include "support/DrawingFixture.h"

#include <map>

namespace {

struct VersionScope
{
    explicit VersionScope(int version) { LoadedFileVersion = version; }
    ~VersionScope() { LoadedFileVersion = CurrentFileVersion; }
};

class NameFrames : public DrawingTest
{
protected:
    void SetUp() override { PaperLongSide = PostcardLongSide; }
    TScopedPrinter m_printer{600};
};

std::vector<const TDisplayItem*> texts(const TMetaRect& frame)
{
    std::vector<const TDisplayItem*> out;
    for (const TDisplayItem& item : frame.Metafile().Items()) {
        if (item.kind == TDisplayItem::Text)
            out.push_back(&item);
    }
    return out;
}

// The first drawn item of a character, or null.
const TDisplayItem* find(const TMetaRect& frame, const QString& ch, int occurrence = 0)
{
    for (const TDisplayItem* item : texts(frame)) {
        if (item->text == ch && occurrence-- == 0)
            return item;
    }
    return nullptr;
}

double xOf(const TMetaRect& frame, const char* ch, int occurrence = 0)
{
    const TDisplayItem* item = find(frame, QString::fromUtf8(ch), occurrence);
    EXPECT_NE(item, nullptr) << ch;
    return item ? item->DevicePosition().x() : -1;
}

double yOf(const TMetaRect& frame, const char* ch)
{
    const TDisplayItem* item = find(frame, QString::fromUtf8(ch));
    EXPECT_NE(item, nullptr) << ch;
    return item ? item->DevicePosition().y() : -1;
}

// The characters drawn, grouped by baseline, top to bottom.
QStringList rows(const TMetaRect& frame)
{
    std::map<int, std::map<double, QString>> byY;
    for (const TDisplayItem* item : texts(frame))
        byY[qRound(item->DevicePosition().y())][item->DevicePosition().x()] += item->text;
    QStringList out;
    for (const auto& [y, line] : byY) {
        QString text;
        for (const auto& [x, t] : line)
            text += t;
        out << text;
    }
    return out;
}

int textHeight(const TDisplayItem& item)
{
    const QFontMetricsF metrics(item.font);
    return qRound(metrics.ascent()) + qRound(metrics.descent());
}

std::unique_ptr<TNameRect> person(const TRect& rect, const QString& name, const QStringList& joints = {})
{
    auto frame = std::make_unique<TNameRect>();
    frame->SetHorizontal(true);
    frame->SetDesignRect(rect);
    frame->SetNameKind(NameKindPerson);
    frame->SetName(name);
    frame->SetJointCount(int(joints.size()));
    for (int i = 0; i < joints.size(); ++i)
        frame->SetJointName(i, joints[i]);
    return frame;
}

TEST(BreakAtFullWidthSpace, NearestTheMiddle)
{
    struct Case
    {
        const char* text;
        const char* first; // null: not broken
        const char* second;
    };
    const Case cases[] = {
        {"見本商事　東日本営業", "見本商事", "東日本営業"},
        {"あいう　えおか　きくけこさしす", "あいう　えおか", "きくけこさしす"}, // the middle character itself
        {"あいう　かきく　けこさ", "あいう", "かきく　けこさ"},                 // a tie takes the earlier
        {"見本商事株式会社", nullptr, nullptr},
        {"あい　うえおか", nullptr, nullptr}, // a part shorter than 3 characters
    };
    for (const Case& c : cases) {
        const auto parts = BreakAtFullWidthSpace(QString::fromUtf8(c.text));
        ASSERT_EQ(parts.has_value(), c.first != nullptr) << c.text;
        if (parts) {
            EXPECT_EQ(parts->first, QString::fromUtf8(c.first));
            EXPECT_EQ(parts->second, QString::fromUtf8(c.second));
        }
    }
}

TEST_F(NameFrames, GivenNameColumn)
{
    // A name without a space is stored with a leading one and starts at the given-name column.
    auto frame = person({0, 0, 300, 100}, QStringLiteral("太郎"), {QStringLiteral("山田 花子")});
    EXPECT_EQ(frame->Name(), QStringLiteral(" 太郎"));
    frame->UpdateImage(false);
    EXPECT_EQ(xOf(*frame, "山"), 25);
    EXPECT_EQ(xOf(*frame, "太"), xOf(*frame, "花"));
    EXPECT_GT(xOf(*frame, "太"), 25);

    // With ignore name it is taken as it is and printed from the line start.
    auto ignored = std::make_unique<TNameRect>(*frame);
    ignored->SetIgnoreName(true);
    ignored->SetName(QStringLiteral("太郎"));
    EXPECT_EQ(ignored->Name(), QStringLiteral("太郎"));
    ignored->UpdateImage(false);
    EXPECT_EQ(xOf(*ignored, "太"), 25);

    // An empty name draws nothing, joint names or not.
    frame->SetName(QString());
    frame->UpdateImage(false);
    EXPECT_TRUE(frame->Metafile().IsEmpty());
}

TEST_F(NameFrames, JointGivenNamesAndAlignments)
{
    struct Case
    {
        quint8 align;
        const char* joint;
        // Where the joint's given name lies in the name's given-name extent (太 .. 郎 of 太一郎): first and
        // last character, as fractions of the distance from 太 to 郎.
        double firstAt;
        double lastAt;
    };
    const Case cases[] = {
        {0, "花子", 0, 1},       // spread over the full width
        {0, "花", 0.5, 0.5},     // one character centred
        {1, "花子", 0, 0.5},     // left
        {2, "花子", 0.5, 1},     // right
        {3, "花子", 0.25, 0.75}, // centred
        {0, "花子代", 0, 1},     // as long as the longest: no shift
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.joint);
        SCOPED_TRACE(int(c.align));
        auto frame = person({0, 0, 400, 100}, QStringLiteral("山田 太一郎"), {QString::fromUtf8(c.joint)});
        frame->SetNameAlign(c.align);
        frame->UpdateImage(false);
        const double from = xOf(*frame, "太");
        const double to = xOf(*frame, "郎");
        const QStringList chars = SplitCharacters(QString::fromUtf8(c.joint));
        const double first = xOf(*frame, chars.front().toUtf8().constData());
        const double last = xOf(*frame, chars.back().toUtf8().constData());
        EXPECT_NEAR(first, from + c.firstAt * (to - from), 2);
        EXPECT_NEAR(last, from + c.lastAt * (to - from), 2);
    }
}

TEST_F(NameFrames, SixLinesFormACentredBlock)
{
    const QStringList joints = {QStringLiteral("花子"), QStringLiteral("一郎"), QStringLiteral("二郎"),
                                QStringLiteral("三郎"), QStringLiteral("四郎")};
    for (const bool horizontal : {true, false}) {
        SCOPED_TRACE(horizontal);
        auto frame = person({0, 0, 300, 300}, QStringLiteral("山田 太郎"), joints);
        frame->SetHorizontal(horizontal);
        frame->UpdateImage(false);
        std::vector<double> across;
        for (const char* ch : {"太", "花", "一", "二", "三", "四"}) {
            const TDisplayItem* item = find(*frame, QString::fromUtf8(ch));
            ASSERT_NE(item, nullptr) << ch;
            across.push_back(horizontal ? item->DevicePosition().y() : item->DevicePosition().x());
        }
        const int th = textHeight(*find(*frame, QStringLiteral("太")));
        const int pitch = th + th / 8;
        for (size_t i = 1; i < across.size(); ++i)
            EXPECT_NEAR(std::abs(across[i] - across[i - 1]), pitch, 1) << i;
        // Horizontal: the name on top; vertical: the name in the rightmost column.
        EXPECT_EQ(horizontal ? across[1] > across[0] : across[1] < across[0], true);
        // The block's middle is the frame's middle (1875 / 2), within the rounding of the halves.
        const double middle = (across.front() + across.back()) / 2;
        const QFontMetricsF metrics(find(*frame, QStringLiteral("太"))->font);
        const double cellMiddle = horizontal ? middle - metrics.ascent() + th / 2.0
                                             : middle + metrics.horizontalAdvance(QStringLiteral("太")) / 2;
        EXPECT_NEAR(cellMiddle, 1875 / 2.0, 3);
    }
}

TEST_F(NameFrames, Honorifics)
{
    struct Case
    {
        const char* honorific;
        bool printed;
        double widthFactor; // of the honorific's glyphs; 0 none drawn
    };
    const Case cases[] = {{"様", true, 1}, {"御中", true, 1}, {"御一同", true, 0.75}, {"様", false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.honorific);
        auto frame = person({0, 0, 400, 100}, QStringLiteral("山田 太郎"));
        frame->SetHonorificPrinted(c.printed);
        frame->SetHonorific(QString::fromUtf8(c.honorific));
        frame->UpdateImage(false);
        const QString first = SplitCharacters(QString::fromUtf8(c.honorific)).front();
        const TDisplayItem* item = find(*frame, first);
        if (c.widthFactor == 0) {
            EXPECT_EQ(item, nullptr);
            EXPECT_FALSE(frame->Metafile().AllText().contains(QString::fromUtf8(c.honorific)));
            // Not printed: changing the honorific keeps the rendering.
            frame->SetHonorific(QStringLiteral("殿"));
            EXPECT_TRUE(frame->IsValid());
            continue;
        }
        ASSERT_NE(item, nullptr);
        EXPECT_NEAR(item->transform.m11(), c.widthFactor, 0.02);
        EXPECT_GT(item->DevicePosition().x(), xOf(*frame, "郎"));
        EXPECT_EQ(item->DevicePosition().y(), yOf(*frame, "郎"));
    }
}

TEST_F(NameFrames, UpsideDownMirrorsEveryPlacement)
{
    auto frame = person({0, 0, 300, 120}, QStringLiteral("山田 太郎"), {QStringLiteral("花子")});
    frame->SetHonorific(QStringLiteral("御一同"));
    frame->UpdateImage(false);
    std::vector<QPointF> upright;
    for (const TDisplayItem* item : texts(*frame))
        upright.push_back(item->DevicePosition());
    frame->SetUpsideDown(true);
    frame->UpdateImage(false);
    const auto turned = texts(*frame);
    ASSERT_EQ(turned.size(), upright.size());
    for (size_t i = 0; i < turned.size(); ++i) {
        EXPECT_NEAR(turned[i]->DevicePosition().x() + upright[i].x(), 1875, 1)
            << turned[i]->text.toStdString();
        EXPECT_NEAR(turned[i]->DevicePosition().y() + upright[i].y(), 750, 1)
            << turned[i]->text.toStdString();
    }
}

TEST_F(NameFrames, NotesSitBetweenGivenNamesAndHonorifics)
{
    for (const bool horizontal : {true, false}) {
        SCOPED_TRACE(horizontal);
        auto frame = person({0, 0, 300, 300}, QStringLiteral("山田 太郎"), {QStringLiteral("花子")});
        frame->SetHorizontal(horizontal);
        frame->SetHonorific(QStringLiteral("様"));
        frame->SetJointHonorific(0, QStringLiteral("様"));
        frame->SetNote(QStringLiteral("喪中"));
        frame->SetJointNote(0, QStringLiteral("旧姓"));
        frame->UpdateImage(false);
        auto along = [&](const char* ch, int occurrence = 0) {
            const TDisplayItem* item = find(*frame, QString::fromUtf8(ch), occurrence);
            EXPECT_NE(item, nullptr) << ch;
            return item ? (horizontal ? item->DevicePosition().x() : item->DevicePosition().y()) : 0.0;
        };
        const TDisplayItem* note = find(*frame, QStringLiteral("喪"));
        ASSERT_NE(note, nullptr);
        EXPECT_LT(textHeight(*note), textHeight(*find(*frame, QStringLiteral("郎"))));
        // Given name, then the note, then the honorific, on both lines; the honorifics in one column.
        EXPECT_LT(along("郎"), along("喪"));
        EXPECT_LT(along("中") + textHeight(*note), along("様") + 2);
        EXPECT_EQ(along("様"), along("様", 1));
        EXPECT_LT(along("姓"), along("様", 1));
    }
}

TEST_F(NameFrames, CompanyBlockAndShortTitle)
{
    struct Case
    {
        const char* title;
        bool titleOnNameLine;
    };
    const Case cases[] = {{"課長代理補佐", true}, {"取締役営業部長", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        TNameRect frame;
        frame.SetHorizontal(true);
        frame.SetDesignRect({0, 0, 400, 200});
        frame.SetNameKind(NameKindCompany);
        frame.SetName(QStringLiteral("山田 太郎"));
        frame.SetHonorific(QStringLiteral("様"));
        frame.SetCompany(QStringLiteral("株式会社見本商事"));
        frame.SetCorpLine(0, QStringLiteral("営業本部"));
        frame.SetTitle(QString::fromUtf8(c.title));
        frame.UpdateImage(false);
        const QStringList lines = rows(frame);
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_EQ(lines.front(), QStringLiteral("株式会社見本商事"));
        const TDisplayItem* title = find(frame, SplitCharacters(QString::fromUtf8(c.title)).front());
        const TDisplayItem* name = find(frame, QStringLiteral("山"));
        ASSERT_TRUE(title && name);
        // The title is drawn smaller than the name.
        EXPECT_LT(textHeight(*title), textHeight(*name));
        const double titleMiddle =
            title->DevicePosition().y() - QFontMetricsF(title->font).ascent() + textHeight(*title) / 2.0;
        const double nameMiddle =
            name->DevicePosition().y() - QFontMetricsF(name->font).ascent() + textHeight(*name) / 2.0;
        if (c.titleOnNameLine) {
            EXPECT_NEAR(titleMiddle, nameMiddle, 2);
            EXPECT_LT(title->DevicePosition().x(), name->DevicePosition().x());
            EXPECT_EQ(title->DevicePosition().x(), 25);
            EXPECT_EQ(lines.size(), 3 + 1); // company, department, and the title and name on two baselines
        } else {
            EXPECT_LT(titleMiddle, nameMiddle - textHeight(*name) / 2.0);
            EXPECT_GT(title->DevicePosition().y(), yOf(frame, "営"));
            EXPECT_EQ(lines.size(), 4);
            EXPECT_EQ(lines[2], QString::fromUtf8(c.title));
        }
    }
}

TEST_F(NameFrames, CompanyNameBreaksAtTheSpaceNearestItsMiddle)
{
    struct Case
    {
        const char* company;
        QStringList companyRows;
    };
    const Case cases[] = {
        {"見本商事株式会社　東日本営業本部　第一営業部", {"見本商事株式会社", "東日本営業本部　第一営業部"}},
        {"見本商事株式会社東日本営業本部　第一", {"見本商事株式会社東日本営業本部　第一"}}, // part too short
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.company);
        TNameRect frame;
        frame.SetHorizontal(true);
        frame.SetDesignRect({0, 0, 250, 160});
        frame.SetNameKind(NameKindCompany);
        frame.SetCorpBreak(true);
        frame.SetName(QStringLiteral("山田 太郎"));
        frame.SetCompany(QString::fromUtf8(c.company));
        frame.UpdateImage(false);
        const QStringList lines = rows(frame);
        ASSERT_EQ(lines.size(), c.companyRows.size() + 1);
        EXPECT_EQ(lines.mid(0, c.companyRows.size()), c.companyRows);
        // Nothing is cut: the last company row ends inside the frame.
        QString lastRow = c.companyRows.back();
        const TDisplayItem* last = nullptr;
        for (const TDisplayItem* item : texts(frame)) {
            if (item->text == lastRow.right(1))
                last = item;
        }
        ASSERT_NE(last, nullptr);
        EXPECT_LE(last->DevicePosition().x() + QFontMetricsF(last->font).horizontalAdvance(last->text),
                  1563 - 25 + 1);
    }
}

TEST_F(NameFrames, CorpLineBrokenInTwoEndsWithTheHonorific)
{
    for (const bool horizontal : {true, false}) {
        SCOPED_TRACE(horizontal);
        TCorpRect frame;
        frame.SetHorizontal(horizontal);
        frame.SetDesignRect(horizontal ? TRect{0, 0, 200, 80} : TRect{0, 0, 80, 200});
        frame.SetCorpBreak(true);
        frame.SetText(QStringLiteral("見本商事株式会社　東日本営業本部"));
        frame.SetHonorific(QStringLiteral("御中"));
        frame.UpdateImage(false);
        const TDisplayItem* first = find(frame, QStringLiteral("見"));
        const TDisplayItem* second = find(frame, QStringLiteral("東"));
        const TDisplayItem* honorific = find(frame, QStringLiteral("中"));
        ASSERT_TRUE(first && second && honorific);
        const int th = textHeight(*first);
        if (horizontal) {
            EXPECT_EQ(first->DevicePosition().x(), 25);
            EXPECT_NEAR(second->DevicePosition().y() - first->DevicePosition().y(), th, 1);
            EXPECT_EQ(honorific->DevicePosition().y(), second->DevicePosition().y());
            const double end =
                honorific->DevicePosition().x() + QFontMetricsF(honorific->font).horizontalAdvance("中");
            EXPECT_NEAR(end, 1250 - 25, 2);
        } else {
            EXPECT_NEAR(first->DevicePosition().y() - QFontMetricsF(first->font).ascent(), 25, 1);
            EXPECT_NEAR(first->DevicePosition().x() - second->DevicePosition().x(), th, 1);
            EXPECT_NEAR(honorific->DevicePosition().x(), second->DevicePosition().x(), 1);
        }
    }

    // A short text stays on one line with the honorific behind it.
    TCorpRect frame;
    frame.SetHorizontal(true);
    frame.SetDesignRect({0, 0, 400, 80});
    frame.SetCorpBreak(true);
    frame.SetText(QStringLiteral("見本商事　営業部"));
    frame.SetHonorific(QStringLiteral("御中"));
    frame.UpdateImage(false);
    EXPECT_EQ(rows(frame), QStringList{QStringLiteral("見本商事　営業部御中")});
}

TEST_F(NameFrames, AdditionHeadingAndFixedText)
{
    TAdditionRect frame;
    frame.SetHorizontal(true);
    frame.SetDesignRect({0, 0, 300, 30});
    frame.SetHeading(QStringLiteral("TEL"));
    frame.SetText(QStringLiteral("03-1234-5678"));
    frame.UpdateImage(false);
    EXPECT_EQ(frame.Metafile().AllText().remove(u' '), QStringLiteral("TEL03-1234-5678"));

    // A merged item empties on clear; a fixed text is the user's and stays.
    frame.SetItemKind(AdditionSenderContact1);
    frame.Clear();
    EXPECT_EQ(frame.Text(), QString());
    frame.SetItemKind(AdditionFixedText);
    frame.SetText(QStringLiteral("謹賀新年"));
    frame.Clear();
    EXPECT_EQ(frame.Text(), QStringLiteral("謹賀新年"));
    TAdditionRect copy;
    copy.Assign(frame);
    EXPECT_EQ(copy.Text(), QStringLiteral("謹賀新年"));
}

// ---- records ----

// The text frame part of a record as a given version wrote it.
QByteArray metaRecord(int version, bool horizontal = true)
{
    QByteArray bytes;
    TFrameWriter w(bytes);
    for (const int v : {10, 20, 110, 70})
        w.WriteInt32(v);
    if (version > 200)
        w.WriteByte(1);
    w.WriteInt32(ShiftJisCharset);
    WriteInvertedString(ToAnsi(QStringLiteral("ＭＳ 明朝")), w);
    w.WriteInt32(12);
    w.WriteInt32(0);
    w.WriteUInt32(0);
    if (version >= 600)
        w.WriteInt32(0);
    w.WriteByte(horizontal ? 1 : 0);
    if (version >= 200)
        w.WriteByte(0);
    return bytes;
}

template <class Frame> void load(Frame& frame, const QByteArray& bytes, int version)
{
    VersionScope scope(version);
    TFrameReader reader(bytes);
    frame.LoadFromStream(reader);
    EXPECT_EQ(reader.Remaining(), 0);
}

TEST_F(NameFrames, NameRecords)
{
    struct Case
    {
        int version;
        QByteArray tail;
        bool printed;
        int level;
    };
    const Case cases[] = {
        {100, {}, true, 3},
        {200, QByteArray(1, '\0'), false, 3},
        {500, QByteArray("\x01\x05\0\0\0", 5), true, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        TNameRect frame;
        frame.SetHonorificPrinted(!c.printed);
        load(frame, metaRecord(c.version) + c.tail, c.version);
        EXPECT_EQ(frame.HonorificPrinted(), c.printed);
        EXPECT_EQ(frame.Level(), c.level);
        EXPECT_EQ(frame.GetDesignRect(), (TRect{10, 20, 110, 70}));
    }

    // A version-100 name prints its honorific.
    TNameRect frame;
    load(frame, metaRecord(100), 100);
    frame.SetName(QStringLiteral("山田 太郎"));
    frame.SetHonorific(QStringLiteral("様"));
    frame.UpdateImage(false);
    EXPECT_TRUE(frame.Metafile().AllText().endsWith(QStringLiteral("様")));

    // The newest form reads back what it wrote, and Assign takes the printed byte and the level.
    TNameRect copy;
    copy.Assign(frame);
    frame.SetHonorificPrinted(false);
    frame.SetLevel(4);
    QByteArray saved;
    TFrameWriter writer(saved);
    frame.SaveToStream(writer);
    TNameRect back;
    load(back, saved, CurrentFileVersion);
    EXPECT_FALSE(back.HonorificPrinted());
    EXPECT_EQ(back.Level(), 4);
    copy.Assign(back);
    EXPECT_FALSE(copy.HonorificPrinted());
    EXPECT_EQ(copy.Level(), 4);
}

TEST_F(NameFrames, AdditionRecords)
{
    struct Case
    {
        int version;
        QByteArray tail;
        quint8 kind;
        const char* text;
    };
    auto kindAndText = [](quint8 kind, const char* text) {
        QByteArray bytes(1, char(kind));
        if (kind == 0) {
            TFrameWriter w(bytes);
            WriteInvertedString(ToAnsi(QString::fromUtf8(text)), w);
        }
        return bytes;
    };
    const QByteArray visible(1, '\1');
    const QByteArray level5("\x05\0\0\0", 4);
    const Case cases[] = {
        {200, visible + kindAndText(5, ""), 13, ""},
        {200, visible + kindAndText(8, ""), 19, ""},
        {200, visible + kindAndText(2, ""), 2, ""},
        {200, visible + kindAndText(0, "謹賀新年"), 0, "謹賀新年"},
        {102, visible, 19, ""},
        {500, kindAndText(5, "") + level5, 5, ""},
        {600, kindAndText(0, "賀正") + level5, 0, "賀正"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        SCOPED_TRACE(int(c.kind));
        TAdditionRect frame;
        load(frame, metaRecord(c.version) + c.tail, c.version);
        EXPECT_EQ(frame.ItemKind(), c.kind);
        EXPECT_EQ(frame.Text(), QString::fromUtf8(c.text));
        EXPECT_EQ(frame.Level(), c.version >= 500 ? 5 : 3);
    }

    // The old form's second visible byte replaces the first.
    TAdditionRect hidden;
    load(hidden, metaRecord(200) + QByteArray(1, '\0') + kindAndText(19, ""), 200);
    EXPECT_FALSE(hidden.Visible());

    // A fixed text survives a clear and is saved.
    TAdditionRect fixed;
    load(fixed, metaRecord(600) + kindAndText(0, "賀正") + level5, 600);
    fixed.Clear();
    QByteArray saved;
    TFrameWriter writer(saved);
    fixed.SaveToStream(writer);
    EXPECT_EQ(saved, metaRecord(600) + kindAndText(0, "賀正") + level5);
}

} // namespace
