// The message-side design's sender block and arrangement commands without widgets: showing the block, the
// senders editor's result, the block's look, details and data format, item mode, the paper change, centring,
// equal spacing, alignment and stacking. Each takes what its dialog chose and records one undo action.
#pragma once

#include "designers/DesignDocument.h"
#include "designers/FrameArrange.h"

#include <array>

struct TPaperModel;

// The sender items of the details dialog: postal code, address lines 1-3, name, company, department, title,
// contacts 1-4.
using TSenderShown = std::array<bool, 12>;

// Where a new sender block lands on a paper (pixels).
TRect NewSenderRect(bool horizontal, QSize paper);

// The prototype of new blocks takes a block's look without its decoration, upright; marked changed.
void TakeSenderPrototype(TDesignDocument& document, const TSenderRect& block);

// The model of the paper view learns the block's item mode: drops then change the block and the sender
// prototype follows them.
void AddSenderItemMode(TPaperModel& model, TDesignDocument& document);

class TDesignArranger
{
public:
    explicit TDesignArranger(TDesignDocument& document) : d(document) {}

    // The grid pitch the new block's screen rect goes out to, 0 when not snapping.
    int SnapPitch = 0;

    TSenderRect* FocusedSender() const;
    // An open design without a block and with at least one sender.
    bool CanShowSender() const;
    TSenderRect* ShowSender();
    // After the senders editor: the block (when there is one) takes the prototype's sender as one recorded
    // change that leaves the design unmarked.
    void SenderEdited();
    // The look dialog's block over the focused block, its top-left corner kept; the other selected
    // illustrations and texts take its decoration (texts its direction and font too).
    bool TakeSenderLook(const TSenderRect& chosen);
    // Sizes, ratios and spacing of the details dialog, its sender items and the layout set (no undo).
    bool ApplyDetails(const TLayoutSettings& detail, bool manual, const TSenderShown& shown);
    TSenderShown DetailShown() const;
    // The data-format part (no undo).
    bool ApplyDataForm(const TLayoutSettings& form);
    // Item mode of the focused block; false when no block is focused.
    bool SetItemMode(bool on);

    // Whether changing to that paper asks whether to rescale the frames.
    bool PaperChangeAsks(const TDesignPaperFormat& paper) const;
    // The new paper: frames scaled (rescale) or kept on it; the history ends.
    void ChangePaper(qint32 index, const TDesignPaperFormat& paper, bool rescale);

    bool CentreOnPaper(TPaperCentre how);
    bool EqualSpacing(TEqualSpacing how);
    bool Align(TFrameAlign how);
    // True when a frame moved; the design is marked changed in every case.
    bool ZOrder(TZOrderMove how);

private:
    TDrawRect* focused() const;
    bool itemMode() const;
    int zIndex(const TDrawRect* frame) const;
    void record(TUndoDatas& action, const TDrawRect& frame, quint8 side) const;
    void storeSelection(TUndoDatas& action, quint8 side) const;
    void push(std::unique_ptr<TUndoDatas> action);
    void prototypeFollows();
    bool moveEach(const std::vector<TFramePlacement>& placed);

    TDesignDocument& d;
};
