// The address-side document moving onto another paper.
#include "designers/LayoutDocument.h"

#include "core/AppSub.h"
#include "designers/FrameArrange.h"
#include "layoutobjects/DrawRect.h"

bool TLayoutDocument::HasFreeFrames() const
{
    for (const auto& list : m_free)
        if (!list.empty())
            return true;
    return false;
}

void TLayoutDocument::ChangePaper(QSize oldSize, TFrameFit fit)
{
    PaperLongSide = qMax(Paper.Width, Paper.Height);
    takePicture();
    SetPrintArea();
    for (TDrawRect* frame : m_current)
        RemoveFromStacking(frame);

    const QSize size = DesignSize;
    for (TDrawRect* frame : Stacking) {
        const TRect r = frame->GetDesignRect();
        if (fit == TFrameFit::Scale)
            frame->SetDesignRect(ScaleFrameRect(r, oldSize, size));
        else if (fit == TFrameFit::PullInside)
            frame->SetDesignRect(KeepFrameOnPaper(r, size));
    }

    SetIndividualLayout(false, true);
    const bool horizontal = Paper.Direction != 0;
    auto placeFrames = [horizontal](const std::vector<std::unique_ptr<TDrawRect>>& set, int count,
                                    const auto& rects) {
        for (size_t i = 0; i < set.size(); ++i) {
            TDrawRect* frame = set[i].get();
            if (auto* barcode = dynamic_cast<TBarcodeRect*>(frame))
                barcode->SetHorizontal(horizontal);
            else if (auto* text = dynamic_cast<TMetaRect*>(frame)) {
                text->SetHorizontal(horizontal);
                text->UpdateFontHeight();
            }
            if (int(i) < count && i < rects.size()) {
                const TPresetRect& p = rects[i];
                frame->SetDesignRect(TRect{p.Left, p.Top, p.Right, p.Bottom});
            }
        }
    };
    placeFrames(m_simple, Paper.Count1, Paper.Rects1);
    placeFrames(m_detailed, Paper.Count2, Paper.Rects2);

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
