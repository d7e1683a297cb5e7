// The process-wide frame clipboard of the designers: for each copied free frame its kind byte, then the
// frame's stream, with no length prefix.
#pragma once

#include "layoutobjects/DrawRect.h"

#include <QByteArray>

#include <memory>
#include <optional>
#include <vector>

// Empty until the first copy.
std::optional<QByteArray>& FrameClipboard();
// Writes the illustrations, texts, figures and QR codes among the frames; other kinds are left out.
void CopyFramesToClipboard(const std::vector<TDrawRect*>& frames);
// The free frames of the clipboard, new, in order. Reading stops at a kind that is not a free frame or at a
// damaged record; the frames read before it are kept.
std::vector<std::unique_ptr<TDrawRect>> ReadClipboardFrames(const QByteArray& bytes);
// A new free frame of a kind (10 to 13), null for any other.
std::unique_ptr<TDrawRect> CreateFreeFrame(quint8 kind);
