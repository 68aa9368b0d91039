#include "richtext/image_effects.h"

#include "platform/gdi.h"
#include "richtext/effect_codes.h"

#include <algorithm>
#include <climits>

namespace richtext {
namespace {

constexpr DWORD kRgbMask = 0x00FFFFFF;
constexpr DWORD kAlphaMask = 0xFF000000;

int Red(DWORD p) {
    return (p >> 16) & 0xFF;
}
int Green(DWORD p) {
    return (p >> 8) & 0xFF;
}
int Blue(DWORD p) {
    return p & 0xFF;
}
DWORD Compose(DWORD alpha, int r, int g, int b) {
    return (alpha & kAlphaMask) | (static_cast<DWORD>(r) << 16) | (static_cast<DWORD>(g) << 8) |
           static_cast<DWORD>(b);
}

// Integer weights: truncating the floating-point sum turns a quarter of the grey levels one
// darker (level 1 becomes 0), so a grey image would not stay as it is.
DWORD Grey(DWORD p) {
    const int level = (299 * Red(p) + 587 * Green(p) + 114 * Blue(p)) / 1000;
    return Compose(p, level, level, level);
}
DWORD Darker(DWORD p) {
    return Compose(p, Red(p) * 3 / 4, Green(p) * 3 / 4, Blue(p) * 3 / 4);
}
int Lighten(int c) {
    return std::min(c * 5 / 4, 255);
}
DWORD Lighter(DWORD p) {
    return Compose(p, Lighten(Red(p)), Lighten(Green(p)), Lighten(Blue(p)));
}
DWORD Invert(DWORD p) {
    return (p & kAlphaMask) | (~p & kRgbMask);
}

DWORD ApplyColourSteps(DWORD p, unsigned style, DWORD fill) {
    if (style & kImageGrey)
        p = Grey(p);
    if (style & kImageDarker)
        p = Darker(p);
    if (style & kImageLighter)
        p = Lighter(p);
    if (style & kImageFill)
        p = (p & kAlphaMask) | fill;
    return p;
}

int BlendChannel(int source, int destination, int weight, int scale) {
    return (source * weight + destination * (scale - weight)) / scale;
}

DWORD BlendPixel(DWORD source, DWORD destination, int weight, int scale) {
    return Compose(destination, BlendChannel(Red(source), Red(destination), weight, scale),
                   BlendChannel(Green(source), Green(destination), weight, scale),
                   BlendChannel(Blue(source), Blue(destination), weight, scale));
}

void FindAlpha(PreparedImage& image) {
    const DWORD* data = image.Data();
    image.hasAlpha =
        std::any_of(data, data + image.Count(), [](DWORD p) { return (p & kAlphaMask) != 0; });
}

void MarkMaskColour(PreparedImage& image, bool maskGiven, COLORREF mask) {
    if (!maskGiven)
        return;
    const DWORD key = PixelFromColour(mask);
    DWORD* data = image.Data();
    for (size_t i = 0; i < image.Count(); ++i) {
        if ((data[i] & kRgbMask) == key) {
            data[i] = 0;
            image.transparent[i] = true;
        }
    }
}

int WidthOf(const RECT& r) {
    return r.right - r.left;
}
int HeightOf(const RECT& r) {
    return r.bottom - r.top;
}

// The `window` part of `bitmap` (rows sourceY.. of sourceHeight, or all) stretched to `whole`.
bool CopyStretched(CDib& target, HBITMAP bitmap, SIZE whole, const RECT& window, int sourceY,
                   int sourceHeight) {
    BITMAP info{};
    if (!::GetObjectW(bitmap, sizeof info, &info) || info.bmWidth < 1 || info.bmHeight < 1)
        return false;
    if (sourceHeight <= 0)
        sourceHeight = info.bmHeight;
    const platform::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc)
        return false;
    const platform::SelectedObject selected(dc.Get(), bitmap);
    if (!selected.Succeeded())
        return false;
    return target.Create(WidthOf(window), HeightOf(window), 32) &&
           target.CaptureStretchedPart(dc.Get(), 0, sourceY, info.bmWidth, sourceHeight, whole,
                                       POINT{window.left, window.top});
}

bool StartImage(PreparedImage& image, HBITMAP bitmap, SIZE whole, const RECT& window, int sourceY,
                int sourceHeight) {
    if (!bitmap || !CopyStretched(image.pixels, bitmap, whole, window, sourceY, sourceHeight))
        return false;
    image.window = window;
    image.transparent.assign(static_cast<size_t>(WidthOf(window)) * HeightOf(window), false);
    FindAlpha(image);
    return true;
}

// Pixels where the icon's AND mask is set show the background.
void MarkIconMask(PreparedImage& image, const CDib& andMask) {
    const DWORD* mask = reinterpret_cast<const DWORD*>(andMask.Bits());
    DWORD* data = image.Data();
    for (size_t i = 0; i < image.Count(); ++i) {
        if ((mask[i] & kRgbMask) != 0) {
            data[i] = 0;
            image.transparent[i] = true;
        }
    }
}

bool PrepareIcon(PreparedImage& image, HICON icon, SIZE whole, const RECT& window) {
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info))
        return false;
    const platform::UniqueBitmap colour(info.hbmColor);
    const platform::UniqueBitmap andMask(info.hbmMask);
    BITMAP maskInfo{};
    if (!andMask || !::GetObjectW(andMask.Get(), sizeof maskInfo, &maskInfo))
        return false;

    // A monochrome icon keeps its picture in the lower half of a double-height mask.
    const int maskHeight = colour ? maskInfo.bmHeight : maskInfo.bmHeight / 2;
    const bool started =
        colour ? StartImage(image, colour.Get(), whole, window, 0, 0)
               : StartImage(image, andMask.Get(), whole, window, maskHeight, maskHeight);
    if (!started)
        return false;
    if (!image.hasAlpha) {
        CDib maskPixels;
        if (!CopyStretched(maskPixels, andMask.Get(), whole, window, 0, maskHeight))
            return false;
        MarkIconMask(image, maskPixels);
    }
    return true;
}

} // namespace

int PreparedImage::Coverage(size_t i) const {
    if (transparent[i])
        return 0;
    return hasAlpha ? static_cast<int>(Data()[i] >> 24) : 255;
}

int PreparedImage::CoverageAt(int x, int y) const {
    // Stored rows run bottom-up.
    const size_t row = static_cast<size_t>(window.bottom - 1 - y);
    return Coverage(row * static_cast<size_t>(Width()) + static_cast<size_t>(x - window.left));
}

RECT VisiblePart(const RECT& rect, const RECT& visible) {
    RECT both{};
    if (!::IntersectRect(&both, &rect, &visible))
        return RECT{};
    ::OffsetRect(&both, -rect.left, -rect.top);
    return both;
}

RECT VisibleArea(HDC dc) {
    RECT clip{};
    const int kind = ::GetClipBox(dc, &clip);
    if (kind == NULLREGION)
        return RECT{};
    if (kind == ERROR)
        return RECT{INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2};
    return clip;
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool PrepareImage(PreparedImage& image, const ImageSource& source, const RECT& window) {
    RECT part{};
    const RECT whole{0, 0, source.width, source.height};
    if (!::IntersectRect(&part, &window, &whole))
        return false;
    const SIZE size{source.width, source.height};
    const bool prepared = source.icon ? PrepareIcon(image, source.icon, size, part)
                                      : StartImage(image, source.bitmap, size, part, 0, 0);
    if (!prepared)
        return false;
    MarkMaskColour(image, source.maskGiven, source.mask);
    return true;
}

bool StyledPixels(const PreparedImage& image, unsigned style, COLORREF fillColour, CDib& out) {
    if (!out.Create(image.Width(), image.Height(), 32))
        return false;
    const DWORD fill = PixelFromColour(fillColour);
    const DWORD* source = image.Data();
    DWORD* target = reinterpret_cast<DWORD*>(out.Bits());
    for (size_t i = 0; i < image.Count(); ++i) {
        DWORD p = image.transparent[i] ? 0 : ApplyColourSteps(source[i], style, fill);
        if (style & kImageInvert)
            p = Invert(p);
        target[i] = p;
    }
    return true;
}

namespace {

bool DrawMasked(HDC dc, int x, int y, const PreparedImage& image, unsigned style) {
    CDib mask;
    CDib picture;
    if (!StyledPixels(image, kImageFill | kImageInvert, RGB(255, 255, 255), mask) ||
        !StyledPixels(image, style, RGB(0, 0, 0), picture))
        return false;
    DWORD* maskData = reinterpret_cast<DWORD*>(mask.Bits());
    DWORD* pictureData = reinterpret_cast<DWORD*>(picture.Bits());
    for (size_t i = 0; i < image.Count(); ++i) {
        if (image.transparent[i]) {
            // The background stays whole under transparent pixels, its alpha byte included,
            // even when the picture was inverted.
            maskData[i] = 0xFFFFFFFF;
            pictureData[i] = 0;
        }
    }
    return mask.Draw(dc, x, y, SRCAND) && picture.Draw(dc, x, y, SRCPAINT);
}

bool DrawBlended(HDC dc, int x, int y, const PreparedImage& image, unsigned style) {
    CDib picture;
    CDib background;
    if (!StyledPixels(image, style, RGB(0, 0, 0), picture) ||
        !background.Create(image.Width(), image.Height(), 32) || !background.Capture(dc, x, y))
        return false;
    const DWORD* source = reinterpret_cast<const DWORD*>(picture.Bits());
    DWORD* target = reinterpret_cast<DWORD*>(background.Bits());
    for (size_t i = 0; i < image.Count(); ++i) {
        const int coverage = image.Coverage(i);
        if (coverage > 0)
            target[i] = BlendPixel(source[i], target[i], coverage, 255);
    }
    return background.Draw(dc, x, y);
}

} // namespace

bool DrawPicture(HDC dc, int x, int y, const PreparedImage& image, unsigned style) {
    const unsigned pictureStyle =
        style & (kImageGrey | kImageDarker | kImageLighter | kImageFill | kImageInvert);
    x += image.window.left;
    y += image.window.top;
    return image.hasAlpha ? DrawBlended(dc, x, y, image, pictureStyle)
                          : DrawMasked(dc, x, y, image, pictureStyle);
}

bool AlphaCopy(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
               int sourceY, int percent) {
    if (!destination || !source || width < 1 || height < 1)
        return false;
    if (percent >= 100)
        return ::BitBlt(destination, x, y, width, height, source, sourceX, sourceY, SRCCOPY) !=
               FALSE;
    if (percent <= 0)
        return true;
    CDib over;
    CDib under;
    if (!over.Create(width, height, 32) || !under.Create(width, height, 32) ||
        !over.Capture(source, sourceX, sourceY) || !under.Capture(destination, x, y))
        return false;
    const DWORD* top = reinterpret_cast<const DWORD*>(over.Bits());
    DWORD* bottom = reinterpret_cast<DWORD*>(under.Bits());
    const size_t count = static_cast<size_t>(width) * height;
    for (size_t i = 0; i < count; ++i)
        bottom[i] = BlendPixel(top[i], bottom[i], percent, 100);
    return under.Draw(destination, x, y);
}

} // namespace richtext
