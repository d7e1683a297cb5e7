// The designer documents moving onto another paper.
#include "designers/LayoutDocument.h"

#include "core/AppSub.h"
#include "designers/FrameArrange.h"
#include "layoutobjects/DrawRect.h"

#include <span>

bool TLayoutDocument::HasFreeFrames() const
{
    for (const auto& list : m_free)
        if (!list.empty())
            return true;
    return false;
}

namespace {

// Scales each frame by the factors or pulls it inside the paper of that size (design units).
void fitFrames(const std::vector<TDrawRect*>& frames, double sx, double sy, QSize size,
               TLayoutDocument::TFrameFit fit)
{
    for (TDrawRect* frame : frames) {
        const TRect r = frame->GetDesignRect();
        if (fit == TLayoutDocument::TFrameFit::Scale)
            frame->SetDesignRect(ScaledRect(r, sx, sy));
        else if (fit == TLayoutDocument::TFrameFit::PullInside)
            frame->SetDesignRect(KeepFrameOnPaper(r, size));
    }
}

// The set's frames take the writing direction (every frame, or only those with a preset) and their preset
// places.
void presetPlaces(const std::vector<std::unique_ptr<TDrawRect>>& set, int count,
                  std::span<const TPresetRect> rects, bool horizontal, bool turnEvery)
{
    for (size_t i = 0; i < set.size(); ++i) {
        const bool preset = int(i) < count && i < rects.size();
        if (!preset && !turnEvery)
            continue;
        TDrawRect* frame = set[i].get();
        if (auto* barcode = dynamic_cast<TBarcodeRect*>(frame))
            barcode->SetHorizontal(horizontal);
        else if (auto* text = dynamic_cast<TMetaRect*>(frame)) {
            text->SetHorizontal(horizontal);
            text->UpdateFontHeight();
        }
        if (preset) {
            const TPresetRect& p = rects[i];
            frame->SetDesignRect(TRect{p.Left, p.Top, p.Right, p.Bottom});
        }
    }
}

} // namespace

void TLayoutDocument::ChangePaper(QSize oldSize, TFrameFit fit)
{
    PaperLongSide = qMax(Paper.Width, Paper.Height);
    takePicture();
    SetPrintArea();
    for (TDrawRect* frame : m_current)
        RemoveFromStacking(frame);

    const QSize size = DesignSize;
    if (fit != TFrameFit::Scale || (oldSize.width() > 0 && oldSize.height() > 0))
        fitFrames(Stacking, PaperSideFactor(size.width(), oldSize.width()),
                  PaperSideFactor(size.height(), oldSize.height()), size, fit);

    SetIndividualLayout(false, true);
    const bool horizontal = Paper.Direction != 0;
    presetPlaces(m_simple, Paper.Count1, Paper.Rects1, horizontal, true);
    presetPlaces(m_detailed, Paper.Count2, Paper.Rects2, horizontal, true);

    TBarcodeRect* barcode = m_s.Barcode;
    if (barcode->Visible() && (SenderDisplayMode == 2 || BarcodeImpossible)) {
        barcode->ClearImage();
        barcode->SetVisible(false);
    }
    if (barcode->Visible() && barcode->SizeIndex() > MaxBarcodeSize)
        barcode->SetSizeIndex(MaxBarcodeSize);

    if (SenderDisplayMode == 0 || SenderDisplayMode == 1) {
        for (TDrawRect* f : std::initializer_list<TDrawRect*>{m_s.Postal, m_s.Address, m_s.Name})
            InsertIntoStacking(f, false);
        InsertIntoStacking(barcode, true);
    }
    if (SenderDisplayMode == 0 || SenderDisplayMode == 2) {
        for (TDrawRect* f :
             std::initializer_list<TDrawRect*>{m_s.SenderPostal, m_s.SenderAddress, m_s.SenderName})
            InsertIntoStacking(f, false);
        for (TAdditionRect* contact : m_s.Contacts)
            if (StackingIndex(contact) < 0)
                InsertIntoStacking(contact, true);
    }

    if (Paper.Count1 < 5)
        FillSimpleFrames();
    else {
        ShowRecordData(-1);
        ShowSenderData();
    }
    Selection.clear();
    FocusIndex = -1;
    Undo.Clear();
    Modified = true;
}

bool TLayoutDocument::ChangeLabelPaper(const TLabelPaper& chosen, const std::function<bool()>& scale)
{
    const QSize oldPaper(Paper.Width, Paper.Height);
    const bool same = chosen.Index == PaperIndex && chosen.DataSource == DataSource && PaperFound;
    PaperIndex = chosen.Index;
    Paper = chosen.Paper;
    Sheet = chosen.Sheet;
    BarcodeImpossible = chosen.BarcodeImpossible;
    MaxBarcodeSize = chosen.MaxBarcodeSize;
    Horizontal = chosen.Horizontal;
    DataSource = chosen.DataSource == 2 ? 2 : 1;
    if (same)
        return false;

    PaperLongSide = qMax(Paper.Width, Paper.Height) / 2 * 3;
    takePicture();
    SetPrintArea();
    for (TDrawRect* frame : m_current)
        RemoveFromStacking(frame);
    if (HasFreeFrames() && oldPaper != QSize(Paper.Width, Paper.Height)) {
        const TFrameFit fit = scale && scale() ? TFrameFit::Scale : TFrameFit::PullInside;
        fitFrames(Stacking, PaperSideFactor(Paper.Width, oldPaper.width()),
                  PaperSideFactor(Paper.Height, oldPaper.height()), DesignSize, fit);
    }

    if (DetailedSet)
        SetIndividualLayout(false, true);
    presetPlaces(m_simple, Paper.Count1, Paper.Rects1, Horizontal, false);
    presetPlaces(m_detailed, Paper.Count2, Paper.Rects2, Horizontal, false);

    TBarcodeRect* barcode = Paper.Kind == PaperLabel ? m_s.Barcode : nullptr;
    if (barcode && barcode->Visible() && BarcodeImpossible) {
        barcode->ClearImage();
        barcode->SetVisible(false);
    }
    if (barcode && barcode->Visible() && barcode->SizeIndex() > MaxBarcodeSize)
        barcode->SetSizeIndex(MaxBarcodeSize);
    for (TDrawRect* f : std::initializer_list<TDrawRect*>{m_s.Postal, m_s.Address, m_s.Name})
        InsertIntoStacking(f, false);
    for (TAdditionRect* item : m_additions[0])
        InsertIntoStacking(item, true);
    if (barcode)
        InsertIntoStacking(barcode, true);

    labelMerge();
    Selection.clear();
    FocusIndex = -1;
    Undo.Clear();
    PaperFound = true;
    Modified = true;
    return true;
}
