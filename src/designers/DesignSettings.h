// The message-side designer's window state and options in the main settings file ([DESIGN], [LAYOUT]):
// bounds with their minimum, recent files of the design folder, zoom choice, start menu, grid and tool bars.
#pragma once

#include "designers/DesignerWindowSettings.h"

constexpr int DesignMinWidth = 529;
constexpr int DesignMinHeight = 500;
constexpr int DesignHistoryCount = DesignerHistoryCount;
constexpr int DesignRatioCount = 8;
constexpr int DesignGridSizes = 4;

// The view part lives in [LAYOUT] (shared with the address printing window), its zoom in [DESIGN].
struct TDesignWindowSettings : TDesignerViewSettings
{
    // Bounds in 96-dpi units, the height without the caption; absent on a first start.
    bool HasBounds = false;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Max = false;
    QStringList History; // newest first
};

// Reads [DESIGN] and [LAYOUT]; only recent files in designFolder are kept, width and height are raised to
// the minimum, a grid size or zoom choice out of range reads as 0.
TDesignWindowSettings LoadDesignSettings(const QString& iniPath, const QString& designFolder);
// Reads the file afresh and writes the keys back: recent files without repeats, at most five, and History
// keys past them deleted. False when the file could not be written.
bool SaveDesignSettings(const QString& iniPath, const TDesignWindowSettings& settings);

// The window's frame in screen pixels: the stored bounds scaled (the caption height added), or on a first
// start 690 x 680 (690 x 550 when that does not fit the work area) centred on the work area.
QRect DesignWindowGeometry(const TDesignWindowSettings& settings, const QRect& workArea, int captionHeight,
                           double screenDpi);
// The bounds to store for a window frame (its normal-state rectangle when maximised).
void StoreDesignWindowGeometry(TDesignWindowSettings& settings, const QRect& frame, int captionHeight,
                               double screenDpi);
