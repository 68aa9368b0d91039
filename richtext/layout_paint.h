#pragma once
// The drawing the layout hands to the effects library: backgrounds, rules, frames and images.
// Kept behind plain parameters because the effects library names its styles in a header of its
// own that cannot share a translation unit with the markup's style definitions.

#include <windows.h>

namespace richtext {

struct LayoutShadow {
    int offsetX = 4;
    int offsetY = 4;
    int depth = 50;
    bool gradient = true;
    int blurX = 7;
    int blurY = 7;
};

void PaintBackground(HDC dc, int effect, const RECT& rect, COLORREF begin, COLORREF middle,
                     COLORREF end, int granularity, int paletteBlend = 0);
void PaintRule(HDC dc, int x1, int y, int x2, COLORREF colour, int thickness);
void PaintFrame(HDC dc, const RECT& rect, COLORREF light, COLORREF dark, int borderStyle,
                int width);
bool PaintBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, bool maskGiven,
                 COLORREF mask, unsigned style, const LayoutShadow& shadow);
bool PaintIcon(HDC dc, int x, int y, int width, int height, HICON icon, bool maskGiven,
               COLORREF mask, unsigned style, const LayoutShadow& shadow);

} // namespace richtext
