// The undo history: recorded items, actions and the five-deep list.
#include "designers/UndoList.h"

TDrawRectUndoData::TDrawRectUndoData(quint8 kind, qint32 listIndex, qint32 zOrder)
    : TObjectUndoData(UndoTargetFrame), m_kinds{kind, kind}, m_listIndex(listIndex), m_zOrder(zOrder)
{
}

void TUndoDatas::AddDrawRect(const TDrawRect& frame, qint32 zOrder, qint32 listIndex, quint8 side)
{
    auto item = std::make_unique<TDrawRectUndoData>(frame.GetKind(), listIndex, zOrder);
    item->SetStream(side, StreamImage(frame));
    m_items.push_back(std::move(item));
}

void TUndoDatas::AddRect(const TRect& rect, qint32 zOrder, qint32 fixedIndex, quint8 side)
{
    auto item = std::make_unique<TRectUndoData>(zOrder, fixedIndex);
    item->SetRect(side, rect);
    m_items.push_back(std::move(item));
}

void TUndoDatas::AddZOrder(qint32 newIndex, qint32 oldIndex)
{
    m_items.push_back(std::make_unique<TZOrderUndoData>(newIndex, oldIndex));
}

void TUndoDatas::StoreObject(int index, const TDrawRect& frame, quint8 side)
{
    auto* object = dynamic_cast<TObjectUndoData*>(GetItem(index));
    if (!object)
        return;
    object->SetStream(side, StreamImage(frame));
    if (auto* drawRect = dynamic_cast<TDrawRectUndoData*>(object))
        drawRect->SetObjectKind(side, frame.GetKind());
}

void TUndoDatas::StoreRect(int index, const TRect& rect, quint8 side)
{
    if (auto* item = dynamic_cast<TRectUndoData*>(GetItem(index)))
        item->SetRect(side, rect);
}

TUndoData* TUndoDatas::GetItem(int index) const
{
    return index >= 0 && index < Count() ? m_items[size_t(index)].get() : nullptr;
}

void TUndoDatas::SetSelectionCount(quint8 side, int count)
{
    m_selection[side & 1].resize(size_t(qMax(0, count)), -1);
}

qint32 TUndoDatas::GetSelection(quint8 side, int index) const
{
    const auto& selection = m_selection[side & 1];
    return index >= 0 && size_t(index) < selection.size() ? selection[size_t(index)] : -1;
}

void TUndoDatas::SetSelection(quint8 side, int index, qint32 value)
{
    auto& selection = m_selection[side & 1];
    if (index >= 0 && size_t(index) < selection.size())
        selection[size_t(index)] = value;
}

void TUndoList::Push(std::unique_ptr<TUndoDatas> action)
{
    // The undone actions can no longer be redone.
    m_entries.erase(m_entries.begin(), m_entries.begin() + (m_position + 1));
    m_entries.insert(m_entries.begin(), std::move(action));
    if (Count() > Depth)
        m_entries.pop_back();
    m_position = -1;
}

void TUndoList::Undo()
{
    if (!CanUndo())
        return;
    ++m_position;
    TUndoDatas& action = *m_entries[size_t(m_position)];
    for (int i = action.Count() - 1; i >= 0; --i)
        if (OnUndoRedo)
            OnUndoRedo(*this, action.UndoActionKind(), *action.GetItem(i), 0);
}

void TUndoList::Redo()
{
    if (!CanRedo())
        return;
    TUndoDatas& action = *m_entries[size_t(m_position)];
    for (int i = 0; i < action.Count(); ++i)
        if (OnUndoRedo)
            OnUndoRedo(*this, action.UndoActionKind(), *action.GetItem(i), 1);
    --m_position;
}

void TUndoList::Clear()
{
    m_entries.clear();
    m_position = -1;
}

TUndoDatas* TUndoList::GetEntry(int index) const
{
    return index >= 0 && index < Count() ? m_entries[size_t(index)].get() : nullptr;
}
