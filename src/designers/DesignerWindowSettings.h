// What the designer windows keep in the main settings file: the view part all three share (zoom, start menu,
// printable area, grid, tool bar), their recent files, and the window part of the windows that keep all of
// it in one section (bounds, maximised, recent files and view).
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

class TMemIniFile;

constexpr int DesignerHistoryCount = 5;

struct TDesignerViewSettings
{
    int Ratio = 0;    // item of the zoom box, 0 the whole paper
    bool Menu = true; // show the start menu
    bool PrintRange = true;
    int Grid = 0; // 0 none, 1 small, 2 normal, 3 big
    bool AdjustGrid = false;
    bool ToolBar = true;
};

// Reads the view keys of section, Ratio from ratioSection when one is given; a zoom or grid out of range
// reads as 0.
void ReadDesignerView(const TMemIniFile& ini, const QString& section, TDesignerViewSettings& settings,
                      const QString& ratioSection = {});
void WriteDesignerView(TMemIniFile& ini, const QString& section, const TDesignerViewSettings& settings,
                       const QString& ratioSection = {});
// History1.. of section up to the first empty entry; only files directly in folder are kept.
QStringList ReadRecentFiles(const TMemIniFile& ini, const QString& section, const QString& folder);
// The first DesignerHistoryCount files without repeats (case ignored, the first of each kept); the History
// keys past them are deleted.
void WriteRecentFiles(TMemIniFile& ini, const QString& section, const QStringList& files);

struct TDesignerWindowSettings : TDesignerViewSettings
{
    static constexpr int Missing = 2147483647;
    // 96-dpi units, the height without the caption; any Missing: the default size, centred.
    int Left = Missing, Top = Missing, Width = Missing, Height = Missing;
    bool Max = false;
    QStringList History; // full paths, newest first
    bool HasBounds() const;
};

// Reads a window's section; the recent files are those of folder.
TDesignerWindowSettings LoadDesignerWindowSettings(const TMemIniFile& ini, const QString& section,
                                                   const QString& folder);
void SaveDesignerWindowSettings(TMemIniFile& ini, const QString& section, const TDesignerWindowSettings& settings);
// The window's frame in screen pixels: the default size (690 x 680, 690 x 550 when that does not fit) centred
// on the work area when a bound is missing, else the stored bounds raised to the minimum; scale is
// ScaleByDpi towards the screen.
QRect DesignerWindowGeometry(const TDesignerWindowSettings& settings, const QRect& workArea, int captionHeight,
                             QSize minimum, const std::function<int(int)>& scale);
