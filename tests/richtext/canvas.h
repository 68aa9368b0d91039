#pragma once
// A 32-bit top-down memory bitmap selected into a memory device context, whose pixels tests read
// back.

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

    HDC Dc() const { return dc_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

    void Fill(COLORREF colour);
    COLORREF Pixel(int x, int y) const; // 0x00BBGGRR
    // Pixels of `colour` (or, with `other`, of any other colour) in `area` (default: all).
    int CountOf(COLORREF colour, const RECT* area = nullptr, bool other = false) const;
    int CountOtherThan(COLORREF colour, const RECT* area = nullptr) const {
        return CountOf(colour, area, true);
    }

private:
    int width_;
    int height_;
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
