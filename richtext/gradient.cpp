#include "richtext/gradient.h"

#include "platform/gdi.h"
#include "richtext/effect_codes.h"

#include <cstdint>

namespace richtext {
namespace {

constexpr int kBands = 64;

enum class Direction { kHorizontal, kVertical };

int BandChannel(int from, int to, int band) {
    return (from * (kBands - band) + to * band) / kBands;
}

// Band edges are computed in 64 bits: a span times the band number can exceed an int.
int BandEdge(int start, int span, int band) {
    return start + static_cast<int>(static_cast<std::int64_t>(span) * band / kBands);
}

void Ramp(HDC dc, const RECT& area, Direction direction, COLORREF from, COLORREF to) {
    const bool horizontal = direction == Direction::kHorizontal;
    const int start = horizontal ? area.left : area.top;
    const int span = horizontal ? area.right - area.left : area.bottom - area.top;
    if (span <= 0 || area.right <= area.left || area.bottom <= area.top)
        return;
    for (int band = 0; band < kBands; ++band) {
        const int first = BandEdge(start, span, band);
        const int last = BandEdge(start, span, band + 1);
        if (first >= last)
            continue;
        RECT piece = area;
        if (horizontal) {
            piece.left = first;
            piece.right = last;
        } else {
            piece.top = first;
            piece.bottom = last;
        }
        FillSolid(dc, piece, GradientBandColour(from, to, band));
    }
}

RECT LeftHalf(const RECT& r) {
    return RECT{r.left, r.top, r.left + (r.right - r.left) / 2, r.bottom};
}
RECT RightHalf(const RECT& r) {
    return RECT{r.left + (r.right - r.left) / 2, r.top, r.right, r.bottom};
}
RECT TopHalf(const RECT& r) {
    return RECT{r.left, r.top, r.right, r.top + (r.bottom - r.top) / 2};
}
RECT BottomHalf(const RECT& r) {
    return RECT{r.left, r.top + (r.bottom - r.top) / 2, r.right, r.bottom};
}

} // namespace

COLORREF GradientBandColour(COLORREF from, COLORREF to, int band) {
    return RGB(BandChannel(GetRValue(from), GetRValue(to), band),
               BandChannel(GetGValue(from), GetGValue(to), band),
               BandChannel(GetBValue(from), GetBValue(to), band));
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    const platform::UniqueBrush brush(::CreateSolidBrush(colour));
    if (brush)
        ::FillRect(dc, &rect, brush.Get());
}

void FillGradient(HDC dc, int effect, const RECT& rect, COLORREF begin, COLORREF middle,
                  COLORREF end) {
    constexpr Direction h = Direction::kHorizontal;
    constexpr Direction v = Direction::kVertical;
    switch (effect) {
    case kEffectHGradient:
        Ramp(dc, rect, h, begin, end);
        break;
    case kEffectVGradient:
        Ramp(dc, rect, v, begin, end);
        break;
    case kEffectHCGradient:
        Ramp(dc, LeftHalf(rect), h, begin, end);
        Ramp(dc, RightHalf(rect), h, end, begin);
        break;
    case kEffectVCGradient:
        Ramp(dc, TopHalf(rect), v, begin, end);
        Ramp(dc, BottomHalf(rect), v, end, begin);
        break;
    case kEffect3HGradient:
        Ramp(dc, LeftHalf(rect), h, begin, middle);
        Ramp(dc, RightHalf(rect), h, middle, end);
        break;
    case kEffect3VGradient:
        Ramp(dc, TopHalf(rect), v, begin, middle);
        Ramp(dc, BottomHalf(rect), v, middle, end);
        break;
    default:
        FillSolid(dc, rect, begin);
        break;
    }
}

} // namespace richtext
