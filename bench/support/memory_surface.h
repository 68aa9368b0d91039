#pragma once
// A 32-bit top-down memory surface with its device context, as a control's paint draws into.

#include "platform/gdi.h"

#include <windows.h>

#include <cstdint>

namespace bench {

struct MemorySurface {
    platform::UniqueBitmap bitmap;
    platform::UniqueMemoryDc dc;
    std::uint32_t* pixels = nullptr;
    HGDIOBJ original = nullptr;

    MemorySurface(int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        dc.Reset(::CreateCompatibleDC(nullptr));
        pixels = static_cast<std::uint32_t*>(bits);
        if (bitmap && dc)
            original = ::SelectObject(dc.Get(), bitmap.Get());
    }
    ~MemorySurface() {
        if (original)
            ::SelectObject(dc.Get(), original);
    }
    MemorySurface(const MemorySurface&) = delete;
    MemorySurface& operator=(const MemorySurface&) = delete;

    bool IsValid() const { return bitmap && dc; }
    HDC Dc() const { return dc.Get(); }
};

} // namespace bench
