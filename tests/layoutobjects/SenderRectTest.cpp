// Sender block: members laid out from the unit space, shown and hidden members, turning the block, item
// mode (clicks, moves, the fit to the members), copies, and the block's record of every version.
#include "layoutobjects/SenderRect.h"

#include "support/DrawingFixture.h"

#include "core/AppSub.h"

#include <QPainter>

#include <algorithm>

namespace {

struct VersionScope
{
    explicit VersionScope(int version) { LoadedFileVersion = version; }
    ~VersionScope() { LoadedFileVersion = CurrentFileVersion; }
};

class SenderBlock : public DrawingTest
{
protected:
    void SetUp() override { PaperLongSide = PostcardLongSide; }
    TScopedPrinter m_printer{600};
};

std::vector<int> members(std::initializer_list<int> list)
{
    return list;
}

TEST_F(SenderBlock, LaysOutMembersInTheUnitSpace)
{
    TSenderRect block;
    block.SetDesignRect({100, 50, 325, 275}); // 225 x 225: one unit per pixel
    block.SetHorizontal(true);
    block.ResetItemRect(-1);
    block.UpdateImage(false);
    EXPECT_TRUE(block.LaidOut());
    EXPECT_EQ(block.GetPostal(true)->GetDesignRect(), (TRect{110, 60, 196, 80}));
    EXPECT_EQ(block.GetName(true)->GetDesignRect(), (TRect{153, 140, 315, 209}));
    EXPECT_EQ(block.ShownMembers(),
              members({SimplePostal, SimpleAddress, SimpleName, SimpleAddition1, SimpleAddition2}));

    // A border moves the members inside it.
    block.Frame().SetFrameVisible(true);
    EXPECT_FALSE(block.LaidOut());
    block.UpdateImage(false);
    EXPECT_EQ(block.GetPostal(true)->GetDesignRect().left, 112);

    // The detailed set in vertical writing.
    TSenderRect detailed;
    detailed.SetDesignRect({0, 0, 225, 225});
    detailed.SetSimpleLayout(false);
    detailed.UpdateImage(false);
    EXPECT_EQ(detailed.ShownMembers().size(), size_t(DetailedMemberCount));
    EXPECT_EQ(detailed.GetTitle()->GetDesignRect(), (TRect{73, 64, 107, 215}));
}

TEST_F(SenderBlock, HidingAndShowingMembers)
{
    TSenderRect block;
    block.SetDesignRect({0, 0, 225, 225});
    block.SetSimpleLayout(false);
    block.SetUpsideDown(true); // the title's rectangle moves away from its default
    const TRect turned = block.ItemRect(DetailedTitle);
    block.SetTitleVisible(false);
    EXPECT_FALSE(block.GetTitleVisible());
    const auto shown = block.ShownMembers();
    EXPECT_EQ(std::count(shown.begin(), shown.end(), int(DetailedTitle)), 0);
    block.SetTitleVisible(true);
    EXPECT_EQ(block.ShownMembers().back(), DetailedTitle);
    EXPECT_EQ(block.ItemRect(DetailedTitle), SenderItemDefaultRects[DetailedTitle][0]);
    EXPECT_NE(block.ItemRect(DetailedTitle), turned);

    // Indices outside their range do nothing and read 0.
    block.SetContactVisible(4, false);
    EXPECT_FALSE(block.GetContactVisible(4));
    EXPECT_EQ(block.GetContact(4), nullptr);

    // A hidden simple addition leaves the simple set's shown list.
    TSenderRect simple;
    simple.SetSimpleAdditionVisible(1, false);
    EXPECT_EQ(simple.ShownMembers(), members({SimplePostal, SimpleAddress, SimpleName, SimpleAddition1}));
    // A detailed member shown while the simple set is shown stays out of the simple list.
    simple.SetNameVisible(false);
    simple.SetNameVisible(true);
    EXPECT_EQ(simple.ShownMembers().size(), 4u);
}

TEST_F(SenderBlock, UpsideDownTwiceRestoresTheRectangles)
{
    TSenderRect block;
    block.SetHorizontal(true);
    block.ResetItemRect(-1);
    std::array<TRect, SenderMemberCount> before;
    for (int i = 0; i < SenderMemberCount; ++i)
        before[size_t(i)] = block.ItemRect(i);
    block.SetUpsideDown(true);
    EXPECT_TRUE(block.GetName(false)->UpsideDown());
    EXPECT_EQ(block.ItemRect(SimplePostal), (TRect{119, 185, 205, 205}));
    block.SetUpsideDown(true); // no change
    EXPECT_EQ(block.ItemRect(SimplePostal), (TRect{119, 185, 205, 205}));
    block.SetUpsideDown(false);
    for (int i = 0; i < SenderMemberCount; ++i)
        EXPECT_EQ(block.ItemRect(i), before[size_t(i)]) << i;
}

TEST_F(SenderBlock, ItemModeClicksAndMoves)
{
    TSenderRect block;
    block.SetDesignRect({0, 0, 225, 225});
    block.UpdateImage(false);
    block.SetWholeBlock(false);

    // No selection: rectangles are refused and the zones are none.
    block.SetDesignRect({1, 2, 3, 4});
    EXPECT_EQ(block.GetDesignRect(), (TRect{0, 0, 225, 225}));
    EXPECT_EQ(block.GetHandleZone(5, 5), quint16(ZoneNone | ZoneNone << 8));
    EXPECT_EQ(block.GetCursorAt(5, 5), CursorDefault);

    // Additions 1 (24-52) and 2 (0-28) overlap in vertical writing: the first in the list is found and
    // moves to the head.
    struct Click
    {
        QPoint at;
        int selected;
        int head;
    };
    const Click clicks[] = {
        {{10 + 26, 10 + 100}, SimpleAddition1, SimpleAddition1},
        {{10 + 5, 10 + 100}, SimpleAddition2, SimpleAddition2},
        {{10 + 26, 10 + 100}, SimpleAddition2, SimpleAddition2}, // now first in the list
        {{10 + 26, 10 + 3}, -1, SimpleAddition2},                // on no member
    };
    for (const Click& c : clicks) {
        EXPECT_EQ(block.ContainsPoint(c.at.x(), c.at.y()), c.selected >= 0);
        EXPECT_EQ(block.SelectedMember(), c.selected);
        EXPECT_EQ(block.ShownMembers().front(), c.head);
    }

    // Moving a member refits the block around the members.
    ASSERT_TRUE(block.ContainsPoint(10 + 150, 10 + 50)); // the address
    EXPECT_EQ(block.SelectedMember(), SimpleAddress);
    EXPECT_EQ(block.GetDesignRect(), (TRect{146, 33, 210, 203}));
    block.SetDesignRect({146, 33, 250, 203});
    EXPECT_EQ(block.GetBlockScreenRect(), (TRect{0, 0, 260, 225}));
    EXPECT_EQ(block.ItemRect(SimpleAddress).right, 205);
    EXPECT_EQ(block.ItemRect(SimplePostal).left, qint32(RoundHalfAway(107 * 205.0 / 240)));
}

TEST_F(SenderBlock, FitWithMembersOfNoExtentKeepsTheRectangles)
{
    TSenderRect block;
    block.SetDesignRect({0, 0, 225, 225});
    block.SetSimpleAdditionVisible(0, false);
    block.SetSimpleAdditionVisible(1, false);
    block.UpdateImage(false);
    block.SetWholeBlock(false);
    for (const QPoint at :
         {QPoint(10 + 150, 10 + 10), QPoint(10 + 150, 10 + 50), QPoint(10 + 100, 10 + 100)}) {
        ASSERT_TRUE(block.ContainsPoint(at.x(), at.y()));
        block.SetDesignRect({40, 40, 40, 40});
    }
    for (int i = 0; i < SimpleMemberCount; ++i) {
        const TRect r = block.ItemRect(i);
        EXPECT_TRUE(r.left >= -1000 && r.right <= 1000) << i; // no scale from a zero width
    }
    EXPECT_EQ(block.GetBlockScreenRect(), (TRect{30, 30, 50, 50}));
}

TEST_F(SenderBlock, DrawsAndPrintsItsMembers)
{
    TSenderRect block;
    block.SetDesignRect({0, 0, 225, 225});
    block.GetPostal(true)->SetText(QStringLiteral("1000013"));
    block.GetName(true)->SetName(QStringLiteral("山田 太郎"));
    block.Frame().SetFrameVisible(true);
    QImage image(300, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        block.Draw(painter, 0, 0);
    }
    EXPECT_EQ(image.pixel(1, 100), qRgb(0, 0, 0)); // the border
    EXPECT_NE(image.pixel(250, 250), qRgb(0, 0, 0));
    EXPECT_FALSE(block.GetName(true)->Metafile().IsEmpty());

    block.CalcPrintRect({}, true);
    EXPECT_EQ(block.GetName(true)->GetPrinterRect().left,
              qint32(RoundHalfAway(block.GetName(true)->GetDesignRect().left * 600 / 96.0)));
}

TEST_F(SenderBlock, AssignCopiesTheArrangement)
{
    TSenderRect source;
    source.SetDesignRect({10, 10, 235, 235});
    source.SetSimpleLayout(false);
    source.SetContactVisible(2, false);
    source.GetContact(0)->SetItemKind(AdditionFixedText);
    source.GetContact(0)->SetText(QStringLiteral("賀正"));
    source.SetUpsideDown(true);
    source.Frame().SetRoundCorner(true);
    source.SetSenderTitle("home");

    TSenderRect copy;
    copy.Assign(source);
    EXPECT_EQ(copy.GetDesignRect(), source.GetDesignRect());
    EXPECT_FALSE(copy.SimpleLayout());
    EXPECT_FALSE(copy.GetContactVisible(2));
    EXPECT_EQ(copy.GetContact(0)->Text(), QStringLiteral("賀正"));
    EXPECT_TRUE(copy.GetUpsideDown());
    for (int i = 0; i < SenderMemberCount; ++i)
        EXPECT_EQ(copy.ItemRect(i), source.ItemRect(i)) << i; // not turned a second time
    EXPECT_TRUE(copy.Frame().RoundCorner());
    EXPECT_EQ(copy.SenderTitle(), "home");
    EXPECT_EQ(copy.ShownMembers(), source.ShownMembers());

    // A clone owns members of its own.
    std::unique_ptr<TDrawRect> clone = source.Clone();
    static_cast<TSenderRect&>(*clone).GetName(true)->SetName(QStringLiteral("別人"));
    EXPECT_EQ(source.GetName(true)->Name(), QString());
}

// ---- records ----

QByteArray version200Block()
{
    QByteArray bytes;
    TFrameWriter w(bytes);
    for (const int v : {0, 0, 225, 225})
        w.WriteInt32(v);
    WriteInvertedString("home", w);
    for (int i = 0; i < SimpleMemberCount; ++i) {
        for (const int v : {i, i, i + 10, i + 10})
            w.WriteInt32(v);
    }
    w.WriteInt32(ShiftJisCharset);
    WriteInvertedString(ToAnsi(QStringLiteral("ＭＳ ゴシック")), w);
    w.WriteInt32(11);
    w.WriteInt32(FontStyleBold);
    w.WriteUInt32(0x0000FF);
    w.WriteByte(1); // horizontal
    w.WriteByte(0); // item mode
    w.WriteByte(2); // selected: the name
    w.WriteBytes(QByteArray(RectFrameRecordSize, '\0'));
    w.WriteByte(0); // upside down
    return bytes;
}

TEST_F(SenderBlock, Version200Record)
{
    TSenderRect block;
    {
        VersionScope scope(200);
        TFrameReader reader(version200Block());
        block.LoadFromStream(reader);
        EXPECT_EQ(reader.Remaining(), 0);
    }
    EXPECT_EQ(block.SenderTitle(), "home");
    EXPECT_TRUE(block.SimpleLayout());
    EXPECT_FALSE(block.WholeBlock());
    EXPECT_EQ(block.SelectedMember(), SimpleName);
    EXPECT_TRUE(block.GetHorizontal());
    EXPECT_EQ(block.GetFont().name, QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(block.GetTitle()->FontColor(), 0xFFu);
    EXPECT_EQ(block.ItemRect(SimpleName), (TRect{2, 2, 12, 12}));
    for (int i = DetailedPostal; i < SenderMemberCount; ++i) {
        EXPECT_TRUE(block.Member(i)->Visible()) << i;
        EXPECT_EQ(block.ItemRect(i), SenderItemDefaultRects[size_t(i)][1]) << i;
    }
    EXPECT_EQ(block.GetContact(0)->ItemKind(), AdditionFixedText);
    EXPECT_EQ(block.GetSimpleAddition(1)->ItemKind(), AdditionFixedText);

    // The newest form reads back what it wrote.
    block.GetContact(1)->SetItemKind(AdditionFixedText);
    block.GetContact(1)->SetText(QStringLiteral("携帯"));
    block.SetUpsideDown(true);
    QByteArray saved;
    TFrameWriter writer(saved);
    block.SaveToStream(writer);
    TSenderRect back;
    TFrameReader reader(saved);
    back.LoadFromStream(reader);
    EXPECT_EQ(reader.Remaining(), 0);
    QByteArray again;
    TFrameWriter rewriter(again);
    back.SaveToStream(rewriter);
    EXPECT_EQ(again, saved);
    EXPECT_EQ(back.GetContact(1)->Text(), QStringLiteral("携帯"));
    EXPECT_TRUE(back.GetName(false)->UpsideDown());
    EXPECT_EQ(back.ItemRect(SimplePostal), block.ItemRect(SimplePostal));

    // A short record is refused and changes nothing.
    TFrameReader shortReader(saved.left(saved.size() - 5));
    EXPECT_THROW(back.LoadFromStream(shortReader), EFrameStreamError);
    EXPECT_EQ(back.GetContact(1)->Text(), QStringLiteral("携帯"));
}

} // namespace
