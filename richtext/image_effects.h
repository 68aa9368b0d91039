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

// What an image is drawn from, and its drawn size.
struct ImageSource {
    HBITMAP bitmap = nullptr; // a bitmap, stretched to the drawn size when its size differs
    HICON icon = nullptr;     // or an icon, whose own mask marks transparent pixels
    int width = 0;
    int height = 0;
    bool maskGiven = false;
    COLORREF mask = 0;
};

// The prepared pixels of one part of an image: the `window` of the drawn image (in its own
// coordinates, (0, 0) at its top-left corner). Only the part that can be seen is prepared, so an
// image far larger than the window costs no more than one the window's size.
struct PreparedImage {
    CDib pixels;                   // 32 bits per pixel, rows without padding
    std::vector<bool> transparent; // per pixel, in the order of the stored rows
    bool hasAlpha = false;         // some pixel of the part carries a non-zero alpha byte
    RECT window{};

    int Width() const { return pixels.Width(); }
    int Height() const { return pixels.Height(); }
    size_t Count() const { return transparent.size(); }
    const DWORD* Data() const { return reinterpret_cast<const DWORD*>(pixels.Bits()); }
    DWORD* Data() { return reinterpret_cast<DWORD*>(pixels.Bits()); }
    // How much of a pixel covers the background: 0 transparent .. 255 opaque.
    int Coverage(size_t i) const;
    // The same for the pixel at (x, y) of the whole image, which the window must hold.
    int CoverageAt(int x, int y) const;
};

// The part of `rect` inside `visible`, moved into the coordinates of `rect`'s top-left corner;
// empty when they do not meet.
RECT VisiblePart(const RECT& rect, const RECT& visible);
// What `dc` can show: its clip box, or everything when it has none.
RECT VisibleArea(HDC dc);
bool Contains(const RECT& outer, const RECT& inner);

// Prepares the `window` part of the image (within its drawn size).
bool PrepareImage(PreparedImage& image, const ImageSource& source, const RECT& window);

// A copy of the image's pixels after the colour steps of `style` (grey, darker, lighter, fill
// with `fillColour`) on the opaque pixels, then inverting every pixel when asked.
bool StyledPixels(const PreparedImage& image, unsigned style, COLORREF fillColour, CDib& out);

// Draws the prepared part of the picture in `style` where it belongs when the image's top-left
// corner is at (x, y): through its mask, or blended by its alpha channel.
bool DrawPicture(HDC dc, int x, int y, const PreparedImage& image, unsigned style);

// Blends a source area over a destination area: percent 100 or more copies, 0 or less keeps
// the destination.
bool AlphaCopy(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
               int sourceY, int percent);

} // namespace richtext
