// Undo history: push, undo and redo positions, item order, the five-deep limit and the item accessors.
#include "designers/UndoList.h"
#include "layoutobjects/WordRect.h"

#include <gtest/gtest.h>

namespace {

// A history whose callback logs (action kind, item tag, direction); the tag is the z-order of a z-order item.
struct Logged
{
    TUndoList list;
    std::vector<std::tuple<int, int, int>> calls;
    Logged()
    {
        list.OnUndoRedo = [this](TUndoList&, quint8 kind, TUndoData& item, quint8 direction) {
            calls.emplace_back(kind, static_cast<TZOrderUndoData&>(item).NewIndex(), direction);
        };
    }
    void Push(quint8 kind, std::initializer_list<int> tags = {})
    {
        auto action = std::make_unique<TUndoDatas>(kind);
        for (int tag : tags)
            action->AddZOrder(tag, 0);
        list.Push(std::move(action));
    }
};

TEST(UndoList, PushAfterUndoFreesTheUndoneActions)
{
    Logged h;
    h.Push(UndoAdd, {1});
    h.Push(UndoMove, {2});
    h.Push(UndoZOrder, {3});
    h.list.Undo();
    h.list.Undo();
    EXPECT_EQ(h.list.Position(), 1);
    h.Push(UndoDelete, {4});
    EXPECT_EQ(h.list.Count(), 2);
    EXPECT_EQ(h.list.Position(), -1);
    EXPECT_FALSE(h.list.CanRedo());
    EXPECT_EQ(h.list.GetEntry(0)->UndoActionKind(), UndoDelete);
    EXPECT_EQ(h.list.GetEntry(1)->UndoActionKind(), UndoAdd);
    EXPECT_EQ(h.list.GetEntry(2), nullptr);
}

TEST(UndoList, DepthAndEndsOfTheHistory)
{
    Logged h;
    for (int i = 0; i < 6; ++i)
        h.Push(UndoMove, {i});
    EXPECT_EQ(h.list.Count(), 5);
    // The oldest (tag 0) went; the last entry is tag 1.
    EXPECT_EQ(static_cast<TZOrderUndoData*>(h.list.GetEntry(4)->GetItem(0))->NewIndex(), 1);

    h.list.Redo(); // nothing undone
    EXPECT_TRUE(h.calls.empty());
    for (int i = 0; i < 5; ++i)
        h.list.Undo();
    EXPECT_EQ(h.list.Position(), 4);
    EXPECT_FALSE(h.list.CanUndo());
    h.calls.clear();
    h.list.Undo();
    EXPECT_TRUE(h.calls.empty());
    EXPECT_EQ(h.list.Position(), 4);
}

TEST(UndoList, UndoUnwindsInReverseAndRedoReplaysInOrder)
{
    Logged h;
    h.Push(UndoZOrder, {10, 11, 12});
    h.list.Undo();
    h.list.Redo();
    using C = std::tuple<int, int, int>;
    const std::vector<C> expected = {C{4, 12, 0}, C{4, 11, 0}, C{4, 10, 0},
                                     C{4, 10, 1}, C{4, 11, 1}, C{4, 12, 1}};
    EXPECT_EQ(h.calls, expected);
    EXPECT_EQ(h.list.Position(), -1);
}

TEST(UndoList, EmptyActionUndoesAndRedoesTheSelectionOnly)
{
    Logged h;
    auto action = std::make_unique<TUndoDatas>(UndoChange);
    action->SetSelectionCount(0, 2);
    action->SetSelection(0, 0, 7);
    action->SetSelection(0, 1, 3);
    action->SetSelection(0, 2, 9); // past the end: ignored
    action->SetFocused(0, 1);
    h.list.Push(std::move(action));
    h.list.Undo();
    EXPECT_TRUE(h.calls.empty());
    const TUndoDatas* entry = h.list.GetEntry(h.list.Position());
    EXPECT_EQ(entry->GetSelectionCount(0), 2);
    EXPECT_EQ(entry->GetSelection(0, 0), 7);
    EXPECT_EQ(entry->GetSelection(0, 1), 3);
    EXPECT_EQ(entry->GetSelection(0, 2), -1);
    EXPECT_EQ(entry->GetFocused(0), 1);
    EXPECT_EQ(entry->GetFocused(1), -1);
    EXPECT_EQ(entry->GetSelectionCount(1), 0);
    h.list.Redo();
    EXPECT_EQ(h.list.Position(), -1);
}

TEST(UndoList, FrameImagesApplyAgainAndAgain)
{
    TWordRect before;
    before.SetDesignRect({10, 20, 110, 80});
    before.SetLineCount(1);
    before.SetLine(0, QStringLiteral("前"));
    TWordRect after;
    after.SetDesignRect({30, 40, 130, 100});
    after.SetLineCount(1);
    after.SetLine(0, QStringLiteral("後"));

    auto action = std::make_unique<TUndoDatas>(UndoChange);
    action->AddDrawRect(before, 2, 0, 0);
    action->AddRect({1, 2, 3, 4}, -1, 5, 0);
    action->StoreObject(0, after, 1);
    action->StoreRect(1, {5, 6, 7, 8}, 1);
    action->StoreRect(0, {9, 9, 9, 9}, 1); // another class: ignored
    action->StoreObject(7, after, 1);      // past the end: ignored
    EXPECT_EQ(action->GetItem(0)->Target(), UndoTargetFrame);

    TUndoList list;
    QStringList applied;
    list.OnUndoRedo = [&](TUndoList&, quint8, TUndoData& item, quint8 direction) {
        if (auto* frame = dynamic_cast<TDrawRectUndoData*>(&item)) {
            EXPECT_EQ(frame->GetObjectKind(direction), KindWord);
            EXPECT_EQ(frame->ListIndex(), 0);
            EXPECT_EQ(frame->ZOrder(), 2);
            TWordRect target;
            TFrameReader reader(frame->GetStream(direction));
            target.LoadFromStream(reader);
            applied << target.GetLine(0);
        } else if (auto* rect = dynamic_cast<TRectUndoData*>(&item)) {
            EXPECT_EQ(rect->FixedIndex(), 5);
            applied << QString::number(rect->GetRect(direction).left);
        }
    };
    list.Push(std::move(action));
    for (int round = 0; round < 2; ++round) {
        list.Undo();
        list.Redo();
    }
    EXPECT_EQ(applied, QStringList({"1", "前", "後", "5", "1", "前", "後", "5"}));
}

TEST(UndoList, ObjectImageOfAnyStreamable)
{
    TWordRect frame;
    TUndoDatas action(UndoChange);
    action.AddObject(frame, 1);
    auto* item = dynamic_cast<TObjectUndoData*>(action.GetItem(0));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Target(), UndoTargetObject);
    EXPECT_TRUE(item->GetStream(0).isEmpty());
    EXPECT_EQ(item->GetStream(1), StreamImage(frame));
}

} // namespace
