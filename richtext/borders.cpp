#include "richtext/borders.h"

#include "platform/gdi.h"
#include "richtext/effect_codes.h"

#include <algorithm>

namespace richtext {
namespace {

// Wider pens make the rasteriser build shapes whose cost grows with the width (a width in the
// millions exhausts it), and no window shows a wider border whole.
constexpr int kMaxPenWidth = 1024;

bool DrawsNothing(int borderStyle, int width) {
    return borderStyle == kBorderNone || width < 1;
}

platform::UniquePen MakePen(int borderStyle, int width, COLORREF colour) {
    return platform::UniquePen(::CreatePen(PenStyleFor(borderStyle), width, colour));
}

void Stroke(HDC dc, int x1, int y1, int x2, int y2) {
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
}

void SingleFrame(HDC dc, const RECT& rect, COLORREF light, COLORREF dark, int borderStyle,
                 int width) {
    const int inset = width / 2;
    const int left = rect.left + inset;
    const int top = rect.top + inset;
    const int right = rect.right - 1 - inset;
    const int bottom = rect.bottom - 1 - inset;
    if (right < left || bottom < top)
        return;

    const platform::UniquePen lightPen = MakePen(borderStyle, width, light);
    if (!lightPen)
        return;
    platform::UniquePen darkPen;
    if (dark != light) {
        darkPen = MakePen(borderStyle, width, dark);
        if (!darkPen)
            return;
    }
    {
        const platform::SelectedObject selected(dc, lightPen.Get());
        ::MoveToEx(dc, left, bottom, nullptr);
        ::LineTo(dc, left, top);
        ::LineTo(dc, right, top);
    }
    const platform::SelectedObject selected(dc, darkPen ? darkPen.Get() : lightPen.Get());
    ::MoveToEx(dc, right, top, nullptr);
    ::LineTo(dc, right, bottom);
    ::LineTo(dc, left, bottom);
}

} // namespace

int PenStyleFor(int borderStyle) {
    switch (borderStyle) {
    case kBorderDashed:
        return PS_DASH;
    case kBorderDotted:
        return PS_DOT;
    case kBorderDashDot:
        return PS_DASHDOT;
    case kBorderDashDotDot:
        return PS_DASHDOTDOT;
    default:
        return PS_SOLID;
    }
}

void DrawBorderLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int borderStyle,
                    int width) {
    if (DrawsNothing(borderStyle, width))
        return;
    width = std::min(width, kMaxPenWidth);
    const platform::UniquePen pen = MakePen(borderStyle, width, colour);
    if (!pen)
        return;
    const platform::SavedPenPosition position(dc);
    const platform::SelectedObject selected(dc, pen.Get());
    Stroke(dc, x1, y1, x2, y2);
    if (borderStyle == kBorderDouble) {
        const int dy = (x1 != x2) ? 2 * width : 0;
        const int dx = (y1 != y2) ? 2 * width : 0;
        Stroke(dc, x1 + dx, y1 + dy, x2 + dx, y2 + dy);
    }
}

void DrawBorderFrame(HDC dc, const RECT& rect, COLORREF light, COLORREF dark, int borderStyle,
                     int width) {
    if (DrawsNothing(borderStyle, width))
        return;
    width = std::min(width, kMaxPenWidth);
    const platform::SavedPenPosition position(dc);
    SingleFrame(dc, rect, light, dark, borderStyle, width);
    if (borderStyle == kBorderDouble) {
        const int gap = 2 * width;
        const RECT inner{rect.left + gap, rect.top + gap, rect.right - gap, rect.bottom - gap};
        SingleFrame(dc, inner, light, dark, borderStyle, width);
    }
}

} // namespace richtext
