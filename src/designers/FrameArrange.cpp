// Centring, equal spacing, alignment and stacking moves of frames.
#include "designers/FrameArrange.h"

#include "core/AppSub.h"
#include "layoutobjects/DrawRect.h"

#include <algorithm>

namespace {

TRect sized(qint32 left, qint32 top, qint32 width, qint32 height)
{
    return {left, top, left + width, top + height};
}

int scaled(qint32 v, double factor)
{
    return int(RoundHalfAway(v * factor));
}

// The offset that brings [low, high) inside [0, size): a frame longer than the paper goes to 0.
int pullInside(int low, int high, int size)
{
    if (low < 0)
        return -low;
    if (high > size)
        return high - low > size ? -low : size - high;
    return 0;
}

} // namespace

TRect CentredOnPaper(const TRect& r, TPaperCentre how, QSize paper)
{
    const int left = how == TPaperCentre::Vertical ? r.left : (paper.width() - r.Width()) / 2;
    const int top = how == TPaperCentre::Horizontal ? r.top : (paper.height() - r.Height()) / 2;
    return sized(left, top, r.Width(), r.Height());
}

std::vector<TFramePlacement> EqualSpacingPlacements(const std::vector<TDrawRect*>& frames, TEqualSpacing how,
                                                    QSize paper)
{
    const int n = int(frames.size());
    if (n < 2)
        return {};
    const bool horizontal = how == TEqualSpacing::PaperH || how == TEqualSpacing::EndsH;
    const bool paperSpan = how == TEqualSpacing::PaperH || how == TEqualSpacing::PaperV;
    auto position = [horizontal](const TRect& r) { return horizontal ? r.left : r.top; };
    auto size = [horizontal](const TRect& r) { return horizontal ? r.Width() : r.Height(); };
    auto end = [horizontal](const TRect& r) { return horizontal ? r.right : r.bottom; };
    std::vector<TDrawRect*> sorted = frames;
    std::stable_sort(sorted.begin(), sorted.end(), [&](const TDrawRect* a, const TDrawRect* b) {
        return position(a->GetDesignRect()) < position(b->GetDesignRect());
    });
    qint64 total = 0;
    for (const TDrawRect* frame : sorted)
        total += size(frame->GetDesignRect());
    const int limit = horizontal ? paper.width() : paper.height();
    const int a = paperSpan ? 0 : position(sorted.front()->GetDesignRect());
    const int b = paperSpan ? limit : end(sorted.back()->GetDesignRect());
    const qint64 free = qint64(b) - a - total;
    const int gap = int(paperSpan && total < qint64(b) - a ? free / (n + 1) : free / (n - 1));
    int start = paperSpan ? (gap >= 1 ? gap : 0) : a;
    std::vector<TFramePlacement> placed;
    for (TDrawRect* frame : sorted) {
        const TRect r = frame->GetDesignRect();
        int pos = start;
        const int length = size(r);
        if (pos + length < 0)
            pos = 0;
        else if (pos > limit)
            pos = limit - length;
        start = pos + length + gap;
        placed.push_back({frame, horizontal ? sized(pos, r.top, length, r.Height())
                                            : sized(r.left, pos, r.Width(), length)});
    }
    return placed;
}

TRect AlignedRect(const TRect& r, const TRect& f, TFrameAlign how)
{
    const int W = f.Width(), H = f.Height();
    int l = r.left, t = r.top, w = r.Width(), h = r.Height();
    switch (how) {
    case TFrameAlign::Top:
        t = f.top;
        break;
    case TFrameAlign::Bottom:
        t = f.bottom - h;
        break;
    case TFrameAlign::Right:
        l = f.right - w;
        break;
    case TFrameAlign::Left:
        l = f.left;
        break;
    case TFrameAlign::CentreV:
        t = (H - h) / 2 + f.top;
        break;
    case TFrameAlign::CentreH:
        l = (W - w) / 2 + f.left;
        break;
    case TFrameAlign::Centre:
        l = (W - w) / 2 + f.left;
        t = (H - h) / 2 + f.top;
        break;
    case TFrameAlign::Width:
        w = W;
        break;
    case TFrameAlign::Height:
        h = H;
        break;
    case TFrameAlign::Size:
        w = W;
        h = H;
        break;
    }
    return sized(l, t, w, h);
}

std::vector<std::pair<int, int>> MoveInStacking(std::vector<TDrawRect*>& stack,
                                                const std::vector<TDrawRect*>& selection, TZOrderMove how)
{
    const int n = int(stack.size());
    auto selected = [&selection](const TDrawRect* frame) {
        return std::find(selection.begin(), selection.end(), frame) != selection.end();
    };
    std::vector<std::pair<int, int>> moves;
    auto moved = [&](int from, int to) {
        TDrawRect* frame = stack[size_t(from)];
        stack.erase(stack.begin() + from);
        stack.insert(stack.begin() + to, frame);
        moves.emplace_back(to, from);
    };
    switch (how) {
    case TZOrderMove::Top:
        for (int i = 0, t = 0; i < n; ++i)
            if (selected(stack[size_t(i)])) {
                if (i != t)
                    moved(i, t);
                ++t;
            }
        break;
    case TZOrderMove::Bottom:
        for (int i = n - 1, t = n - 1; i >= 0; --i)
            if (selected(stack[size_t(i)])) {
                if (i != t)
                    moved(i, t);
                --t;
            }
        break;
    case TZOrderMove::Up:
        for (int i = 1; i < n; ++i)
            if (selected(stack[size_t(i)]) && !selected(stack[size_t(i - 1)]))
                moved(i, i - 1);
        break;
    case TZOrderMove::Down:
        for (int i = n - 2; i >= 0; --i)
            if (selected(stack[size_t(i)]) && !selected(stack[size_t(i + 1)]))
                moved(i, i + 1);
        break;
    }
    return moves;
}

TRect ScaleFrameRect(const TRect& r, QSize oldPaper, QSize newPaper)
{
    return ScaledRect(r, PaperSideFactor(newPaper.width(), oldPaper.width()),
                      PaperSideFactor(newPaper.height(), oldPaper.height()));
}

double PaperSideFactor(int now, int old)
{
    return old > 0 ? double(now) / old : 1.0;
}

TRect ScaledRect(const TRect& r, double fx, double fy)
{
    return {scaled(r.left, fx), scaled(r.top, fy), scaled(r.right, fx), scaled(r.bottom, fy)};
}

TRect KeepFrameOnPaper(const TRect& r, QSize paper)
{
    return r.Moved(pullInside(r.left, r.right, paper.width()), pullInside(r.top, r.bottom, paper.height()));
}
