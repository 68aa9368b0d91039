#include "tests/richtext/canvas.h"

#include <algorithm>
#include <cstring>

namespace testing_canvas {
namespace {

std::uint32_t PixelFrom(COLORREF c) {
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

platform::UniqueBitmap TopDownBitmap(int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    return platform::UniqueBitmap(
        ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

} // namespace

Canvas::Canvas(int width, int height, COLORREF background)
    : width_(width), height_(height), dc_(::CreateCompatibleDC(nullptr)) {
    void* bits = nullptr;
    bitmap_ = TopDownBitmap(width, height, &bits);
    pixels_ = static_cast<std::uint32_t*>(bits);
    if (bitmap_ && dc_)
        original_ = ::SelectObject(dc_.Get(), bitmap_.Get());
    Fill(background);
}

Canvas::~Canvas() {
    if (original_)
        ::SelectObject(dc_.Get(), original_);
}

void Canvas::Fill(COLORREF colour) {
    ::GdiFlush();
    std::fill(pixels_, pixels_ + static_cast<size_t>(width_) * height_, PixelFrom(colour));
}

COLORREF Canvas::Pixel(int x, int y) const {
    ::GdiFlush();
    const std::uint32_t p = pixels_[static_cast<size_t>(y) * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int Canvas::CountOf(COLORREF colour, const RECT* area, bool other) const {
    ::GdiFlush();
    const RECT all{0, 0, width_, height_};
    RECT inside{};
    ::IntersectRect(&inside, area ? area : &all, &all);
    int count = 0;
    for (int y = inside.top; y < inside.bottom; ++y)
        for (int x = inside.left; x < inside.right; ++x)
            count += ((pixels_[static_cast<size_t>(y) * width_ + x] & 0xFFFFFF) ==
                      PixelFrom(colour)) != other;
    return count;
}

platform::UniqueBitmap MakeBitmap(int width, int height, const std::vector<std::uint32_t>& pixels) {
    void* bits = nullptr;
    platform::UniqueBitmap bitmap = TopDownBitmap(width, height, &bits);
    if (bits)
        std::memcpy(bits, pixels.data(),
                    std::min(pixels.size(), static_cast<size_t>(width) * height) * 4);
    ::GdiFlush();
    return bitmap;
}

platform::UniqueBitmap MakeSolidBitmap(int width, int height, COLORREF colour) {
    return MakeBitmap(
        width, height,
        std::vector<std::uint32_t>(static_cast<size_t>(width) * height, PixelFrom(colour)));
}

} // namespace testing_canvas
