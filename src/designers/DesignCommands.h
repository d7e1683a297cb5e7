// The message-side design's editing commands without widgets: each takes what its dialog chose, changes the
// frames or the background and records one undo action (or none); undo and redo, the frame clipboard,
// illustrations from picture files, drops and the picker's answer.
#pragma once

#include "designers/DesignDocument.h"

#include <QPoint>
#include <QStringList>

#include <functional>

class TFigureRect;
class TIllustRect;
class TQRCodeRect;
class TWordRect;

// Whether the kind lists, the stacking and the selection agree: every frame stacked once, nothing else
// stacked or selected, the focus inside the selection.
bool DesignConsistent(const TDesignDocument& document);

class TDesignEditor
{
public:
    // Installs the undo callback on the document's history.
    explicit TDesignEditor(TDesignDocument& document);
    TDesignEditor(const TDesignEditor&) = delete;
    TDesignEditor& operator=(const TDesignEditor&) = delete;

    TDesignDocument& Document() const { return d; }
    // The grid pitch new frames snap to (screen pixels), 0 when not snapping.
    int SnapPitch = 0;
    // Set when an undo item put the sender block back; the undo command merges the sender again.
    bool SenderRemergePending = false;
    // Set when a command or an undo returned a sender block in item mode to whole-block placement.
    bool SenderLayoutReset = false;

    // Undo (redo false) or redo one action: the items, the sender merge when needed and the selection.
    // False at the end of the history. The kind of the applied action goes to *kind.
    bool UndoRedo(bool redo, quint8* kind = nullptr);
    // Applies one recorded item (the history's callback); direction 0 undo, 1 redo.
    void ApplyUndo(TUndoList& list, quint8 kind, TUndoData& item, quint8 direction);
    // The selection as stacking indices and the focused index on one side of an action.
    void RecordSelection(TUndoDatas& action, quint8 side) const;

    void Copy() const;
    bool Paste();
    bool DeleteSelection();
    // The background cleared (nothing when it has none).
    bool ClearBackImage();
    // The sender block's items back to their default places for its direction; the sender prototype takes
    // the block's look. False without a block.
    bool ResetSenderLayout();

    // Text: direction 0 vertical, 1 horizontal. Edit needs a focused text.
    TWordRect* AddText(const QStringList& lines, int direction);
    bool EditText(const QStringList& lines, int direction);
    TFigureRect* AddFigure(const TFigureRect& chosen);
    bool ChangeFigure(const TFigureRect& chosen);
    TQRCodeRect* AddQRCode(const TQRCodeRect& chosen);
    bool ChangeQRCode(const TQRCodeRect& chosen);
    // The look of the focused illustration or text, passed on to the other selected frames.
    bool SetIllustDisplay(const TIllustRect& chosen);
    bool SetWordDisplay(const TWordRect& chosen);
    // The selected illustrations back to their picture's size.
    bool RestorePictureSize();

    // An illustration from a picture file at a design point: new (an addition item) or replacing the
    // focused illustration (the action's first item completed). False for anything but a BMP or JPEG.
    bool AddIllustration(const QString& path, QPoint topLeft, bool asNew, TUndoDatas& action);
    // The picker's answer: replaces the focused illustration or adds one at the printable area's corner.
    bool TakePickedImage(const QString& path);
    // Illustrations cascading by 10 from a point on the paper panel (screen pixels).
    bool DropFiles(const QStringList& paths, QPoint panelPoint);

private:
    TDrawRect* focused() const;
    int stackIndex(const TDrawRect* frame) const;
    void record(TUndoDatas& action, TDrawRect& frame, quint8 side) const;
    void finish(std::unique_ptr<TUndoDatas> action);
    TDrawRect* addFree(std::unique_ptr<TDrawRect> frame, TUndoDatas& action);
    TDrawRect* placeNew(std::unique_ptr<TDrawRect> frame, TUndoDatas& action);
    void wholeBlockSender();
    template <class Frame> Frame* addNew(std::unique_ptr<TDrawRect> frame);
    // One change action of the focused frame of a class: own(frame) changes it, other(each, frame) each
    // other selected frame (true when it took something); both sides are recorded.
    template <class Frame, class Own, class Other> bool changeFocused(Own own, Other other);
    // A picture action: add fills it (false: nothing read, the selection restored, nothing recorded).
    using Intake = std::function<bool(TUndoDatas&)>;
    bool intake(quint8 kind, Intake add);
    void putBack(const TDrawRectUndoData& item, quint8 kind, quint8 side);
    void takeAway(const TDrawRectUndoData& item, quint8 kind);

    TDesignDocument& d;
};
