// The editing commands of the address-side designers on their document, without widgets: each takes what
// its dialog chose, changes the frames and records one undo action; undo and redo, the frame clipboard,
// illustrations from picture files, drops and the picker's answer.
#pragma once

#include "core/FontSub.h"
#include "designers/FrameArrange.h"
#include "designers/LayoutDocument.h"

#include <QPoint>
#include <QStringList>

#include <functional>
#include <optional>

class TFigureRect;
class TIllustRect;
class TQRCodeRect;
class TWordRect;
struct TGraphic;

// What differs between the designers that share these commands: where the sender frames start in each set
// (at the set's end for label and card documents, which have none).
struct TFixedSetData
{
    int SimpleSenderStart = 4;
    int DetailedSenderStart = 9;
};

// What the additional information dialog chose for one additional item (kind 0: the fixed text).
struct TAdditionChoice
{
    bool Checked = false;
    int Kind = 0;
    QString Text;
};

// New frames' start rectangles on the paper.
TRect NewFrameRect(const TRect& start, QSize paper);
// A picture's size in design units at its dpi, reduced to fit the printable area within the paper.
QSize PictureDesignSize(QSize pixels, int dpi, const TRect& printArea, QSize paper);

// Frame rules the designers share.
// Width and height exchanged about the top-left corner, pulled back onto the paper's top and left edges.
TRect TurnedRect(const TRect& r);
// The new size at the old top-left corner, pulled back onto the paper's top and left edges.
TRect AtCorner(const TRect& old, const TRect& now);
// A text's writing direction; a change exchanges its width and height.
void SetTextDirection(TWordRect& text, bool horizontal);
void SetTextLines(TWordRect& text, const QStringList& lines);
QStringList TextLines(const TWordRect& text);
// The text prototype takes a changed writing direction.
void TakeTextDirection(TDefaultRects& prototypes, bool horizontal);
// A text frame's look (direction, font, sizes, alignment, wrap, frame line and fill) from another.
void TakeWordLook(TWordRect& target, const TWordRect& source);
void TakeQRCodeLook(TQRCodeRect& target, const TQRCodeRect& source);
// The chosen frame's contents at the frame's old top-left corner (pulled onto the paper when asked).
void TakeKeepingCorner(TDrawRect& frame, const TDrawRect& chosen, double zoom, bool pullBack);
// Left and top of the screen rectangle down to the grid (pitch 0: none), the size kept.
void SnapCorner(TDrawRect& frame, int pitch);
// A new frame's start rectangle fitted to the paper, at the zoom, put on the grid outward.
void PlaceNewFrame(TDrawRect& frame, const TRect& start, QSize paper, double zoom, int pitch);
// A new text in the prototype's look; the prototype takes a changed direction.
std::unique_ptr<TWordRect> NewTextFrame(const QStringList& lines, bool horizontal, TDefaultRects& prototypes,
                                        QSize paper, double zoom, int pitch);
// A new QR code at (50, 50) sized by its symbol, at (0, 0) when it does not fit on the paper.
std::unique_ptr<TQRCodeRect> NewQRCodeFrame(const TQRCodeRect& chosen, QSize paper, double zoom, int pitch);
// A pasted frame's rectangle (already moved) brought back to the paper.
TRect PastedRect(const TRect& moved, QSize paper);
// A BMP or JPEG picture file with its dpi; none for anything else.
std::optional<TGraphic> LoadPicture(const QString& path, int& dpi);
// A new illustration of a picture at a design point, sized to fit the printable area, its corner on the grid.
std::unique_ptr<TIllustRect> NewIllustFrame(const TGraphic& graphic, int dpi, QPoint topLeft, const TRect& printArea,
                                            QSize paper, double zoom, int pitch);
// Pictures dropped at a panel point (screen pixels), cascading by 10 design pixels: add(path, design point)
// for each; the count of those added.
int AddCascade(const QStringList& paths, QPoint panelPoint, double zoom,
               const std::function<bool(const QString&, QPoint)>& add);
// A stacking move of the history: undo (side 0) takes the frame at the new index back to the old one.
void ApplyZOrderItem(const TZOrderUndoData& item, quint8 side, std::vector<TDrawRect*>& stacking);
// An illustration's rectangle at its picture's own size, the corner kept (at least 0).
TRect NaturalPictureRect(const TIllustRect& illust, const TRect& printArea, QSize paper);
// Undoes or redoes one action of the history (LoadedFileVersion kept); the action applied, null at the end.
const TUndoDatas* StepHistory(TUndoList& list, bool redo);
// The selection recorded on one side of an action, taken from the stacking again.
void RestoreUndoSelection(const TUndoDatas& action, quint8 side, const std::vector<TDrawRect*>& stacking,
                          std::vector<TDrawRect*>& selection, int& focus);

class TLayoutEditor
{
public:
    explicit TLayoutEditor(TLayoutDocument& document, TFixedSetData sets = {});

    // The grid pitch new frames snap to (screen pixels), 0 when not snapping.
    int SnapPitch = 0;

    // Undo (redo false) or redo one action: the frames, the merge when needed and the selection. False at
    // the end of the history. The kind of the applied action goes to *kind.
    bool UndoRedo(bool redo, quint8* kind = nullptr);
    // Applies one recorded item (the history's callback).
    void ApplyUndo(TUndoList& list, quint8 kind, TUndoData& item, quint8 direction);
    void StoreUndoSelection(TUndoDatas& action, quint8 side) const;
    // Whether the last undo or redo merged the record data again.
    bool Remerged() const { return m_remerge; }
    TLayoutDocument& Document() const { return d; }
    TDrawRect* Focused() const { return focused(); }

    // Text: direction 0 vertical, 1 horizontal. Edit needs a focused text.
    TWordRect* AddText(const QStringList& lines, int direction);
    bool EditText(const QStringList& lines, int direction);
    TFigureRect* AddFigure(const TFigureRect& chosen);
    bool ChangeFigure(const TFigureRect& chosen);
    TQRCodeRect* AddQRCode(const TQRCodeRect& chosen);
    bool ChangeQRCode(const TQRCodeRect& chosen);
    // Display settings of the focused illustration or text.
    bool SetIllustDisplay(const TIllustRect& chosen);
    bool SetWordDisplay(const TWordRect& chosen);
    // The face, character set, style and colour of the chosen font for the focused text-type frame, then
    // the selected ones (or all of them).
    bool ApplyFont(const TFontSpec& chosen, quint32 color, bool allFrames);
    // The selected illustrations back to their picture's size.
    bool RestorePictureSize();
    bool DeleteSelection();
    // Pushes also an empty action.
    void ShowSender(bool show);
    bool SetBarcode(bool visible, int sizeIndex);
    // Labels and cards: the additional items and the barcode (when the set has one) of the set in use, in
    // one action; placed frames join the selection, the last one focused. False when nothing changed.
    bool SetAdditions(const std::array<TAdditionChoice, 4>& items, bool barcode, int barcodeSize);
    bool CentreOnPaper(TPaperCentre how);
    bool EqualSpacing(TEqualSpacing how);
    bool Align(TFrameAlign how);
    // True when a frame moved; the document is marked modified in every case.
    bool ZOrder(TZOrderMove how);
    // Pushes also an empty action.
    void DefaultLayout();

    void Copy() const;
    bool Paste();

    // An illustration from a picture file at a design point: as new (appended to the action as an
    // addition) or replacing the focused illustration (the action's first item completed). False for a
    // missing file or anything but a BMP or JPEG picture.
    bool AddIllustration(const QString& path, QPoint topLeft, bool asNew, TUndoDatas& action);
    // The picker's answer: replaces the focused illustration or adds one at the printable area's corner.
    bool TakePickedImage(const QString& path);
    // Illustrations cascading by 10 from a point on the paper panel (screen pixels).
    bool DropFiles(const QStringList& paths, QPoint panelPoint);

private:
    TDrawRect* focused() const;
    int fixedIndex(const TDrawRect* frame) const;
    int listIndex(const TDrawRect* frame) const;
    void record(TUndoDatas& action, const TDrawRect& frame, quint8 side) const;
    void finish(std::unique_ptr<TUndoDatas> action);
    void placeNew(TDrawRect& frame, const TRect& start);
    TDrawRect* addFree(std::unique_ptr<TDrawRect> frame, TUndoDatas& action);
    void selectOnly(TDrawRect* frame);
    // A fixed frame placed (first: the first of its command) or unplaced as recorded into action, with its
    // own change between the recorded sides.
    void changePlaced(TUndoDatas& action, TDrawRect& frame, bool placed, bool& first,
                      const std::function<void()>& change);
    void remerge();
    TDrawRect* fixedAt(int index) const;
    template <class Change> bool moveEach(const std::vector<TDrawRect*>& frames, Change change);

    TLayoutDocument& d;
    TFixedSetData m_sets;
    bool m_remerge = false;
};
