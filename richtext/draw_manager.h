#pragma once
// Paints what rich text asks for beyond plain text: effect backgrounds, rule lines, cell
// frames, and images with transparency, colour effects and drop shadows.

#include "richtext/effect_codes.h"

#include <windows.h>

class CDrawManager {
public:
    // Background fill: `effect` 0 solid (and any unknown number), 1..6 gradients, 7..15 palette
    // effects with `granularity` grain and the table blended `paletteBlend` % toward `begin`.
    void FillEffect(HDC dc, int effect, const RECT& rect, COLORREF begin, COLORREF middle,
                    COLORREF end, int granularity, int paletteBlend);

    void DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int borderStyle,
                  int width);
    void DrawFrame(HDC dc, const RECT& rect, COLORREF light, COLORREF dark, int borderStyle,
                   int width);

    // Draws `bitmap` stretched to width x height at (x, y). `style` takes the image-style flags
    // of richtext::ImageStyle; the fill step paints black. Shadow flags draw the shadow first.
    bool DrawBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, bool maskGiven,
                    COLORREF maskColour, unsigned style, const richtext::ShadowSettings& shadow);
    bool DrawIcon(HDC dc, int x, int y, int width, int height, HICON icon, bool maskGiven,
                  COLORREF maskColour, unsigned style, const richtext::ShadowSettings& shadow);

    // Blends a source area over the destination by `percent` (100 or more copies).
    bool AlphaCopy(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                   int sourceY, int percent);

    // Whether the last image drawn carried an alpha channel of its own.
    bool ImageHadAlpha() const { return imageHadAlpha_; }

private:
    bool imageHadAlpha_ = false;
};
