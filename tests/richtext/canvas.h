#pragma once
// A 32-bit top-down memory bitmap selected into a memory device context, whose pixel buffer
// sits between two guard areas, so tests can read pixels back and prove nothing was written
// outside the buffer.

#include "platform/gdi.h"
#include "platform/unique_resource.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace testing_canvas {

class Canvas {
public:
    Canvas(int width, int height, COLORREF background = RGB(255, 255, 255));
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool IsValid() const { return pixels_ != nullptr; }
    HDC Dc() const { return dc_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

    void Fill(COLORREF colour);
    COLORREF Pixel(int x, int y) const; // 0x00BBGGRR
    void SetPixel(int x, int y, COLORREF colour);
    int CountOf(COLORREF colour) const;
    int CountOtherThan(COLORREF colour) const;
    // Pixels that differ from `colour` outside `rect`.
    int CountOtherThanOutside(COLORREF colour, const RECT& rect) const;
    bool GuardsIntact() const;
    // The guards are checked through a second view of the bitmap's memory; this proves that the
    // view and the bitmap share their pages.
    bool ViewSeesPixels() const;

private:
    std::uint32_t& At(int x, int y) const;
    COLORREF Read(int x, int y) const; // without flushing the drawing queue

    int width_;
    int height_;
    platform::UniqueHandle mapping_;
    platform::UniqueView view_;
    platform::UniqueBitmap bitmap_;
    platform::UniqueMemoryDc dc_;
    HGDIOBJ original_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
};

// A 32-bit bitmap (alpha bytes as given) whose pixels come from `pixels` (row-major, top row
// first, 0xAARRGGBB).
platform::UniqueBitmap MakeBitmap(int width, int height, const std::vector<std::uint32_t>& pixels);
// A bitmap of one colour (alpha 0).
platform::UniqueBitmap MakeSolidBitmap(int width, int height, COLORREF colour);

} // namespace testing_canvas
