#include "sample_picture.h"

#include "platform/gdi.h"

namespace gallery {
namespace {

// A vertical ramp inside the box, drawn as bands so it looks the same on every display depth.
void FillRamp(HDC dc, const RECT& box, COLORREF top, COLORREF bottom) {
    const int height = box.bottom - box.top;
    for (int y = 0; y < height; ++y) {
        const auto mix = [&](int a, int b) { return (a * (height - y) + b * y) / height; };
        const platform::UniqueBrush band(::CreateSolidBrush(
            RGB(mix(GetRValue(top), GetRValue(bottom)), mix(GetGValue(top), GetGValue(bottom)),
                mix(GetBValue(top), GetBValue(bottom)))));
        const RECT line{box.left, box.top + y, box.right, box.top + y + 1};
        ::FillRect(dc, &line, band.Get());
    }
}

void DrawBox(HDC dc) {
    const RECT all{0, 0, kPictureSize, kPictureSize};
    const platform::UniqueBrush mask(::CreateSolidBrush(kPictureMask));
    ::FillRect(dc, &all, mask.Get());

    // The ramp is clipped to a rounded box; the clip region goes with the device context.
    const RECT box{3, 3, kPictureSize - 3, kPictureSize - 3};
    const platform::UniqueRegion rounded(
        ::CreateRoundRectRgn(box.left, box.top, box.right + 1, box.bottom + 1, 12, 12));
    ::SelectClipRgn(dc, rounded.Get());
    FillRamp(dc, box, RGB(0x4F, 0x9D, 0xE8), RGB(0x12, 0x3E, 0x7A));
    ::SelectClipRgn(dc, nullptr);

    // A white tick: the sign of a product that is up to date.
    const platform::UniquePen pen(::CreatePen(PS_SOLID, 5, RGB(255, 255, 255)));
    const platform::SelectedObject selectedPen(dc, pen.Get());
    const platform::SavedPenPosition position(dc);
    const POINT tick[] = {{13, 25}, {21, 33}, {35, 16}};
    ::Polyline(dc, tick, 3);
}

} // namespace

platform::UniqueBitmap MakeSamplePicture() {
    const platform::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kPictureSize;
    info.bmiHeader.biHeight = -kPictureSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24; // no alpha byte, so the mask colour decides what shows
    void* bits = nullptr;
    platform::UniqueBitmap picture(
        ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !picture)
        return {};
    {
        const platform::SelectedObject selected(dc.Get(), picture.Get());
        DrawBox(dc.Get());
        ::GdiFlush();
    }
    return picture;
}

} // namespace gallery
