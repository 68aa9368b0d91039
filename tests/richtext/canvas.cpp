#include "tests/richtext/canvas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace testing_canvas {
namespace {

constexpr size_t kGuardBytes = 4096;
constexpr BYTE kGuardValue = 0xA5;

std::uint32_t PixelFrom(COLORREF c) {
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

BITMAPINFO TopDownInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

} // namespace

Canvas::Canvas(int width, int height, COLORREF background) : width_(width), height_(height) {
    const size_t imageBytes = static_cast<size_t>(width) * height * 4;
    const size_t total = kGuardBytes + imageBytes + kGuardBytes;
    mapping_.Reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        static_cast<DWORD>(total), nullptr));
    if (!mapping_)
        return;
    view_.Reset(::MapViewOfFile(mapping_.Get(), FILE_MAP_ALL_ACCESS, 0, 0, total));
    if (!view_)
        return;
    BYTE* bytes = static_cast<BYTE*>(view_.Get());
    std::memset(bytes, kGuardValue, kGuardBytes);
    std::memset(bytes + kGuardBytes + imageBytes, kGuardValue, kGuardBytes);

    const BITMAPINFO info = TopDownInfo(width, height);
    void* bits = nullptr;
    bitmap_.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, mapping_.Get(),
                                     static_cast<DWORD>(kGuardBytes)));
    dc_.Reset(::CreateCompatibleDC(nullptr));
    if (!bitmap_ || !bits || !dc_)
        return;
    original_ = ::SelectObject(dc_.Get(), bitmap_.Get());
    pixels_ = static_cast<std::uint32_t*>(bits);
    Fill(background);
}

Canvas::~Canvas() {
    if (dc_ && original_)
        ::SelectObject(dc_.Get(), original_);
}

std::uint32_t& Canvas::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        std::abort();
    return pixels_[static_cast<size_t>(y) * width_ + x];
}

void Canvas::Fill(COLORREF colour) {
    ::GdiFlush();
    std::fill(pixels_, pixels_ + static_cast<size_t>(width_) * height_, PixelFrom(colour));
}

COLORREF Canvas::Pixel(int x, int y) const {
    ::GdiFlush();
    return Read(x, y);
}

COLORREF Canvas::Read(int x, int y) const {
    const std::uint32_t p = At(x, y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void Canvas::SetPixel(int x, int y, COLORREF colour) {
    ::GdiFlush();
    At(x, y) = PixelFrom(colour);
}

// The counts flush the drawing queue once, not for every pixel.
int Canvas::CountOf(COLORREF colour) const {
    ::GdiFlush();
    int count = 0;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            count += Read(x, y) == colour;
    return count;
}

int Canvas::CountOtherThan(COLORREF colour) const {
    return width_ * height_ - CountOf(colour);
}

int Canvas::CountOtherThanOutside(COLORREF colour, const RECT& rect) const {
    ::GdiFlush();
    int count = 0;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const POINT p{x, y};
            count += !::PtInRect(&rect, p) && Read(x, y) != colour;
        }
    return count;
}

bool Canvas::ViewSeesPixels() const {
    ::GdiFlush();
    const BYTE* bytes = static_cast<const BYTE*>(view_.Get());
    return std::memcmp(bytes + kGuardBytes, pixels_, static_cast<size_t>(width_) * height_ * 4) ==
           0;
}

bool Canvas::GuardsIntact() const {
    ::GdiFlush();
    const BYTE* bytes = static_cast<const BYTE*>(view_.Get());
    const size_t imageBytes = static_cast<size_t>(width_) * height_ * 4;
    const auto intact = [](const BYTE* p) {
        return std::all_of(p, p + kGuardBytes, [](BYTE b) { return b == kGuardValue; });
    };
    return intact(bytes) && intact(bytes + kGuardBytes + imageBytes);
}

platform::UniqueBitmap MakeBitmap(int width, int height, const std::vector<std::uint32_t>& pixels) {
    const BITMAPINFO info = TopDownInfo(width, height);
    void* bits = nullptr;
    platform::UniqueBitmap bitmap(
        ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap && bits)
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
