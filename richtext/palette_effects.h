#pragma once
// Background effects computed as 8-bit colour indices in a CDib whose colour table runs from
// the end colour (index 0) over the middle colour (128) to the begin colour (255).

#include <windows.h>

class CDib;

namespace richtext {

struct PaletteColours {
    COLORREF begin;
    COLORREF middle;
    COLORREF end;
};

// Largest granularity that still leaves room for a shade between the noise limits.
constexpr int kMaxGranularity = 127;

// The grain for a pseudo-random value in 0..32767: an integer in 0..2 * granularity, where
// granularity is at most kMaxGranularity.
int GrainFromRandom(int random15, int granularity);

// Makes `dib` an 8-bit image of the `part` (picture coordinates within the whole) of effect
// 7..15 over an area of `whole` size; the part looks exactly like the same area of the whole.
// Fails for sizes below 1, a part outside the whole, effects outside 7..15 or when the image
// cannot be allocated.
bool RenderPaletteEffect(CDib& dib, int effect, SIZE whole, const RECT& part,
                         const PaletteColours& colours, int granularity, int paletteBlend);

// The whole of a width x height effect.
inline bool RenderPaletteEffect(CDib& dib, int effect, int width, int height,
                                const PaletteColours& colours, int granularity, int paletteBlend) {
    return RenderPaletteEffect(dib, effect, SIZE{width, height}, RECT{0, 0, width, height}, colours,
                               granularity, paletteBlend);
}

// Renders the part of the effect for `rect` that the device context shows, and draws it there.
bool FillPaletteEffect(HDC dc, int effect, const RECT& rect, const PaletteColours& colours,
                       int granularity, int paletteBlend);

} // namespace richtext
