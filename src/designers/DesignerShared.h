// Steps that the designers' documents share: the "$$" safe write of a print file, new frames following the
// last text and figure read, and the frames of a stacking list drawn into a preview.
#pragma once

#include "layoutobjects/FigureRect.h"
#include "layoutobjects/WordRect.h"

#include <memory>
#include <vector>

class QImage;
class QPainter;
class QSize;

// Keeps an existing file as "$$" + its name until the new bytes are written, then deletes it; on failure the
// new file goes and the old one comes back. Missing folders are made.
bool WriteWithRollback(const QString& path, const QByteArray& bytes);

// A document's save: the safe write, with the message on failure; once written the document is unmodified
// and named path unless it had a name.
bool SaveDocumentFile(const QString& path, const QByteArray& bytes, bool& modified, QString& fileName);

// A frame into an owning list at an index (clamped), and one out of it (null for an index past the end).
TDrawRect* InsertOwnedFrame(std::vector<std::unique_ptr<TDrawRect>>& list, int index,
                            std::unique_ptr<TDrawRect> frame);
std::unique_ptr<TDrawRect> TakeOwnedFrame(std::vector<std::unique_ptr<TDrawRect>>& list, int index);

// The text prototype takes the look of a text read from a file (a font of another character set becomes the
// fall-back face); the figure prototype the look of a figure, its apex direction aside.
void TakeTextPrototype(TWordRect& prototype, const TWordRect& last);
void TakeFigurePrototype(TFigureRect& prototype, const TFigureRect& last);

// A white thumbnail of a design of the given size: 200 pixels on its longer side, 500 for size index 1. The
// scale goes to *scale.
QImage BlankThumbnail(int sizeIndex, QSize design, double* scale);

// Draws the frames from the last entry (bottom) to the first at zoom s, illustrations smoothly, and gives
// them back zoom restore.
void DrawStackedFrames(QPainter& painter, const std::vector<TDrawRect*>& stacking, double s, double restore);
