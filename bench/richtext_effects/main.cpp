// Costs of the background effects and image shadows, each as a ratio against a simple
// per-pixel reference measured in the same run on the same memory bitmap.

#include "bench/support/memory_surface.h"
#include "platform/gdi.h"
#include "richtext/draw_manager.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>

namespace {

constexpr int kSize = 600;
constexpr int kRounds = 5;

using Surface = bench::MemorySurface;

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRounds; ++i)
        work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The reference: every pixel of the area computed and stored one by one.
void PerPixelGradient(Surface& surface) {
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const std::uint32_t level = static_cast<std::uint32_t>(255 * x / kSize);
            surface.pixels[y * kSize + x] = level << 16 | (255 - level);
        }
    ::GdiFlush();
}

// A bitmap not selected anywhere, as images reach the drawer.
platform::UniqueBitmap SolidImage(int width, int height, std::uint32_t pixel) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    platform::UniqueBitmap bitmap(
        ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bits)
        std::fill_n(static_cast<std::uint32_t*>(bits), static_cast<size_t>(width) * height, pixel);
    return bitmap;
}

void Report(const char* figure, double seconds, double reference) {
    std::printf("%s: %.2f against per-pixel fill\n", figure, seconds / reference);
}

} // namespace

int wmain() {
    Surface surface(kSize, kSize);
    if (!surface.pixels) {
        std::printf("no memory bitmap\n");
        return 1;
    }
    CDrawManager drawer;
    const RECT area{0, 0, kSize, kSize};
    const double reference = Seconds([&] { PerPixelGradient(surface); });

    Report("hgradient", Seconds([&] {
               drawer.FillEffect(surface.dc.Get(), richtext::kEffectHGradient, area, RGB(255, 0, 0),
                                 RGB(0, 255, 0), RGB(0, 0, 255), 5, 0);
               ::GdiFlush();
           }),
           reference);
    Report("softbump", Seconds([&] {
               drawer.FillEffect(surface.dc.Get(), richtext::kEffectSoftBump, area, RGB(255, 0, 0),
                                 RGB(0, 255, 0), RGB(0, 0, 255), 5, 0);
               ::GdiFlush();
           }),
           reference);
    Report("metal", Seconds([&] {
               drawer.FillEffect(surface.dc.Get(), richtext::kEffectMetal, area, RGB(255, 0, 0),
                                 RGB(0, 255, 0), RGB(0, 0, 255), 5, 0);
               ::GdiFlush();
           }),
           reference);

    const platform::UniqueBitmap image = SolidImage(kSize / 2, kSize / 2, 0xC82828);
    const richtext::ShadowSettings shadow;
    Report("image with gradient shadow", Seconds([&] {
               drawer.DrawBitmap(surface.dc.Get(), 10, 10, kSize / 2, kSize / 2, image.Get(), false,
                                 0, richtext::kImageGradientShadow, shadow);
           }),
           reference);
    return 0;
}
