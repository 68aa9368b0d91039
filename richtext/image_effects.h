#pragma once
// Images prepared for drawing: copied into 32-bit pixels at the drawn size, with the pixels of
// the mask colour marked transparent, then given colour steps and drawn over the background.

#include "richtext/dib.h"

#include <windows.h>

#include <vector>

namespace richtext {

// 32-bit pixels are 0xAARRGGBB; colours are 0x00BBGGRR.
constexpr DWORD PixelFromColour(COLORREF colour) {
    return (static_cast<DWORD>(GetRValue(colour)) << 16) |
           (static_cast<DWORD>(GetGValue(colour)) << 8) | GetBValue(colour);
}
constexpr COLORREF ColourFromPixel(DWORD pixel) {
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

struct PreparedImage {
    CDib pixels;                   // 32 bits per pixel, rows without padding
    std::vector<bool> transparent; // per pixel, in the order of the stored rows
    bool hasAlpha = false;         // some pixel carries a non-zero alpha byte

    int Width() const { return pixels.Width(); }
    int Height() const { return pixels.Height(); }
    size_t Count() const { return transparent.size(); }
    const DWORD* Data() const { return reinterpret_cast<const DWORD*>(pixels.Bits()); }
    DWORD* Data() { return reinterpret_cast<DWORD*>(pixels.Bits()); }
    // How much of a pixel covers the background: 0 transparent .. 255 opaque.
    int Coverage(size_t i) const;
};

// Copies `bitmap`, stretched to width x height when its size differs.
bool PrepareBitmap(PreparedImage& image, HBITMAP bitmap, int width, int height, bool maskGiven,
                   COLORREF mask);
// Copies `icon` at width x height; its own mask marks the transparent pixels.
bool PrepareIcon(PreparedImage& image, HICON icon, int width, int height, bool maskGiven,
                 COLORREF mask);

// A copy of the image's pixels after the colour steps of `style` (grey, darker, lighter, fill
// with `fillColour`) on the opaque pixels, then inverting every pixel when asked.
bool StyledPixels(const PreparedImage& image, unsigned style, COLORREF fillColour, CDib& out);

// Draws the picture in `style` at (x, y): through its mask, or blended by its alpha channel.
bool DrawPicture(HDC dc, int x, int y, const PreparedImage& image, unsigned style);

// Blends a source area over a destination area: percent 100 or more copies, 0 or less keeps
// the destination.
bool AlphaCopy(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
               int sourceY, int percent);

} // namespace richtext
