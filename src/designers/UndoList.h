// The undo history of a designer: recorded items (frame images, rectangles, stacking moves), one user action
// with the selection before and after, and the five-deep history that hands items back to its window.
#pragma once

#include "core/Canvas.h"
#include "layoutobjects/DrawRect.h"

#include <QByteArray>

#include <array>
#include <functional>
#include <memory>
#include <vector>

// Action kinds.
constexpr quint8 UndoAdd = 0;
constexpr quint8 UndoDelete = 1;
constexpr quint8 UndoChange = 2;
constexpr quint8 UndoMove = 3;
constexpr quint8 UndoZOrder = 4;

constexpr quint8 UndoTargetObject = 0;
constexpr quint8 UndoTargetFrame = 2;

class TUndoData
{
public:
    explicit TUndoData(quint8 target) : m_target(target) {}
    virtual ~TUndoData() = default;
    quint8 Target() const { return m_target; }

private:
    quint8 m_target;
};

// An object's stream image before (side 0) and after (side 1) the action. Readers start at the beginning
// of the bytes every time, so an image can be applied any number of times.
class TObjectUndoData : public TUndoData
{
public:
    explicit TObjectUndoData(quint8 target = UndoTargetObject) : TUndoData(target) {}
    const QByteArray& GetStream(quint8 side) const { return m_streams[side & 1]; }
    void SetStream(quint8 side, QByteArray image) { m_streams[side & 1] = std::move(image); }

private:
    std::array<QByteArray, 2> m_streams;
};

class TDrawRectUndoData : public TObjectUndoData
{
public:
    TDrawRectUndoData(quint8 kind, qint32 listIndex, qint32 zOrder);
    quint8 GetObjectKind(quint8 side) const { return m_kinds[side & 1]; }
    void SetObjectKind(quint8 side, quint8 kind) { m_kinds[side & 1] = kind; }
    qint32 ListIndex() const { return m_listIndex; }
    qint32 ZOrder() const { return m_zOrder; }

private:
    std::array<quint8, 2> m_kinds{};
    qint32 m_listIndex;
    qint32 m_zOrder;
};

class TRectUndoData : public TUndoData
{
public:
    TRectUndoData(qint32 zOrder, qint32 fixedIndex)
        : TUndoData(UndoTargetFrame), m_zOrder(zOrder), m_fixedIndex(fixedIndex)
    {
    }
    const TRect& GetRect(quint8 side) const { return m_rects[side & 1]; }
    void SetRect(quint8 side, const TRect& rect) { m_rects[side & 1] = rect; }
    // Negative for a fixed frame that is not placed; the fixed index then finds it.
    qint32 ZOrder() const { return m_zOrder; }
    qint32 FixedIndex() const { return m_fixedIndex; }

private:
    std::array<TRect, 2> m_rects{};
    qint32 m_zOrder;
    qint32 m_fixedIndex;
};

class TZOrderUndoData : public TUndoData
{
public:
    TZOrderUndoData(qint32 newIndex, qint32 oldIndex)
        : TUndoData(UndoTargetFrame), m_newIndex(newIndex), m_oldIndex(oldIndex)
    {
    }
    qint32 NewIndex() const { return m_newIndex; }
    qint32 OldIndex() const { return m_oldIndex; }

private:
    qint32 m_newIndex;
    qint32 m_oldIndex;
};

// The stream image of anything with SaveToStream (frames, the page background).
template <class T> QByteArray StreamImage(const T& object)
{
    QByteArray bytes;
    TFrameWriter writer(bytes);
    object.SaveToStream(writer);
    return bytes;
}

// Loads a stream image into an object; a damaged image leaves the object as the read left it.
template <class T> void LoadStreamImage(T& object, const QByteArray& image)
{
    TFrameReader reader(image);
    try {
        object.LoadFromStream(reader);
    } catch (const EFrameStreamError&) {
        // The history's own images; a failed read keeps what was read.
    }
}

// One user action.
class TUndoDatas
{
public:
    explicit TUndoDatas(quint8 kind) : m_kind(kind) {}
    quint8 UndoActionKind() const { return m_kind; }

    template <class T> void AddObject(const T& object, quint8 side)
    {
        auto item = std::make_unique<TObjectUndoData>();
        item->SetStream(side, StreamImage(object));
        m_items.push_back(std::move(item));
    }
    void AddDrawRect(const TDrawRect& frame, qint32 zOrder, qint32 listIndex, quint8 side);
    void AddRect(const TRect& rect, qint32 zOrder, qint32 fixedIndex, quint8 side);
    void AddZOrder(qint32 newIndex, qint32 oldIndex);
    // Completes the other side of an item; an index past the end or an item of another class is ignored.
    void StoreObject(int index, const TDrawRect& frame, quint8 side);
    void StoreRect(int index, const TRect& rect, quint8 side);

    int Count() const { return int(m_items.size()); }
    TUndoData* GetItem(int index) const;

    int GetSelectionCount(quint8 side) const { return int(m_selection[side & 1].size()); }
    void SetSelectionCount(quint8 side, int count);
    qint32 GetSelection(quint8 side, int index) const;
    void SetSelection(quint8 side, int index, qint32 value);
    qint32 GetFocused(quint8 side) const { return m_focused[side & 1]; }
    void SetFocused(quint8 side, qint32 index) { m_focused[side & 1] = index; }

private:
    quint8 m_kind;
    std::vector<std::unique_ptr<TUndoData>> m_items;
    std::array<std::vector<qint32>, 2> m_selection;
    std::array<qint32, 2> m_focused{-1, -1};
};

class TUndoList
{
public:
    // (history, action kind, item, direction 0 undo / 1 redo)
    using TCallback = std::function<void(TUndoList&, quint8, TUndoData&, quint8)>;
    static constexpr int Depth = 5;

    TCallback OnUndoRedo;

    void Push(std::unique_ptr<TUndoDatas> action);
    void Undo();
    void Redo();
    void Clear();
    int Count() const { return int(m_entries.size()); }
    TUndoDatas* GetEntry(int index) const;
    int Position() const { return m_position; }
    bool CanUndo() const { return m_position < Count() - 1; }
    bool CanRedo() const { return m_position >= 0; }

private:
    std::vector<std::unique_ptr<TUndoDatas>> m_entries; // 0 the newest
    int m_position = -1;
};
