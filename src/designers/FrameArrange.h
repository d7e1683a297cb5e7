// Arranging frames on a paper without recording anything: centring, equal spacing, aligning to a reference
// frame and moves in the stacking order, shared by the designers' commands.
#pragma once

#include "core/Canvas.h"

#include <QSize>

#include <utility>
#include <vector>

class TDrawRect;

// Command tags.
enum class TPaperCentre { Vertical, Horizontal, Both };
enum class TEqualSpacing { PaperH, PaperV, EndsH, EndsV };
enum class TFrameAlign { Top, Bottom, Right, Left, CentreV, CentreH, Centre, Width, Height, Size };
enum class TZOrderMove { Top, Up, Down, Bottom };

// The arrangement commands of the designer windows by tag: action name and caption.
struct TArrangeCommand
{
    const char* name;
    const char* text;
};
inline constexpr TArrangeCommand PaperCentreCommands[] = {{"actPaperCenterV", "用紙の上下中央に移動(&V)"},
                                                          {"actPaperCenterH", "用紙の左右中央に移動(&H)"},
                                                          {"actPaperCenter", "用紙の中央に移動(&C)"}};
inline constexpr TArrangeCommand EqualCommands[] = {
    {"actEqualPaperH", "用紙に合わせて横に等間隔に並べる(&E)"},
    {"actEqualPaperV", "用紙に合わせて縦に等間隔に並べる(&Q)"},
    {"actEqualEndsH", "両端の枠に合わせて横に等間隔に並べる(&N)"},
    {"actEqualEndsV", "両端の枠に合わせて縦に等間隔に並べる(&D)"}};
inline constexpr TArrangeCommand AlignCommands[] = {
    {"actRectTop", "上に揃える(&T)"},           {"actRectBottom", "下に揃える(&B)"},
    {"actRectRight", "右に揃える(&R)"},         {"actRectLeft", "左に揃える(&L)"},
    {"actRectCenterV", "上下中央に揃える(&F)"}, {"actRectCenterH", "左右中央に揃える(&D)"},
    {"actRectCenter", "中心に揃える(&O)"},      {"actRectWidth", "幅を揃える(&W)"},
    {"actRectHeight", "高さを揃える(&E)"},      {"actRectSize", "幅・高さを揃える(&A)"}};
inline constexpr TArrangeCommand ZOrderCommands[] = {{"actTop", "最も上へ(&T)"},
                                                     {"actUp", "ひとつ上へ(&U)"},
                                                     {"actDown", "ひとつ下へ(&D)"},
                                                     {"actBottom", "最も下へ(&B)"}};
// The submenus that hold them.
inline constexpr TArrangeCommand ArrangeMenus[] = {
    {"actRectPos", "枠の移動(&M)"}, {"actRectUnite", "枠の位置あわせ(&O)"}, {"actZOrder", "枠の上下(&Z)"}};

// A frame and its new design rect.
struct TFramePlacement
{
    TDrawRect* Frame = nullptr;
    TRect Rect;
};

TRect CentredOnPaper(const TRect& r, TPaperCentre how, QSize paper);
// The frames sorted by their leading edge (ties in list order) with their evenly spaced rects; empty for
// fewer than two frames.
std::vector<TFramePlacement> EqualSpacingPlacements(const std::vector<TDrawRect*>& frames, TEqualSpacing how,
                                                    QSize paper);
// r aligned to the reference rect; the size kept except by Width, Height and Size, which keep the corner.
TRect AlignedRect(const TRect& r, const TRect& reference, TFrameAlign how);
// A paper change: x scaled by new width / old width and y by new height / old height, halves away from zero.
// A side whose old size is 0 keeps its coordinates.
TRect ScaleFrameRect(const TRect& r, QSize oldPaper, QSize newPaper);
// The new side over the old one, 1 for an old side of 0.
double PaperSideFactor(int now, int old);
TRect ScaledRect(const TRect& r, double fx, double fy);
// The rect moved wholly onto the paper; one longer than the paper starts at its edge.
TRect KeepFrameOnPaper(const TRect& r, QSize paper);
// Moves the selected frames within the stacking (entry 0 on top); the moves made as (new, old) indexes.
std::vector<std::pair<int, int>> MoveInStacking(std::vector<TDrawRect*>& stacking,
                                                const std::vector<TDrawRect*>& selection, TZOrderMove how);
