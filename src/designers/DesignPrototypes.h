// The looks of new frames in the message-side designer: the text and figure prototypes shared with the other
// designers in "DrRect.def", and the sender-block prototype that this designer appends to that file.
#pragma once

#include "designers/PrintDataFile.h"
#include "layoutobjects/SenderRect.h"

#include <memory>

struct TDesignPrototypes
{
    std::shared_ptr<TDefaultRects> Rects = std::make_shared<TDefaultRects>();
    TSenderRect Sender;
    bool Changed() const { return Rects->Changed; }
    void SetChanged() { Rects->Changed = true; }
};

// Reads the file; without a sender part (or without a readable file) the sender prototype gets the fall-back
// font and default item places. The text and sender fonts are black in every case. Never fails outward.
void LoadDesignPrototypes(const QString& path, TDesignPrototypes& prototypes);
// Writes the text, figure and sender prototypes when they changed; false when the file could not be
// written.
bool SaveDesignPrototypes(const QString& path, TDesignPrototypes& prototypes);
