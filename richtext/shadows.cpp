#include "richtext/shadows.h"

#include "richtext/dib.h"
#include "richtext/image_effects.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace richtext {
namespace {

int OddBlurSize(int size) {
    size = std::max(size, 1);
    return (size % 2 == 0) ? size + 1 : size;
}

// An area of the shadow in stored rows (bottom-up, as the pixels of a CDib): columns
// [x0, x1) and stored rows [s0, s1) of the whole image.
struct StoredArea {
    int x0 = 0, x1 = 0, s0 = 0, s1 = 0;
    int Width() const { return x1 - x0; }
    int Height() const { return s1 - s0; }
    bool Empty() const { return x1 <= x0 || s1 <= s0; }
};

StoredArea FromPicture(const RECT& r, int height) {
    return {r.left, r.right, height - r.bottom, height - r.top};
}

RECT ToPicture(const StoredArea& a, int height) {
    return RECT{a.x0, height - a.s1, a.x1, height - a.s0};
}

// The silhouette of a width x height image as its shadow sees it: the shadow level where the
// image covers the background, 255 elsewhere; for the soft shadow shrunk into an inner rectangle
// that leaves half a blur size free on each side. Positions are columns and stored rows.
class Silhouette {
public:
    Silhouette(const PreparedImage& image, int width, int height, int depth, int marginX,
               int marginY)
        : image_(image), height_(height), darkening_(255 - ShadowLevel(depth)),
          innerWidth_(std::max(width - 2 * marginX, 1)),
          innerHeight_(std::max(height - 2 * marginY, 1)), left_((width - innerWidth_) / 2),
          top_((height - innerHeight_) / 2), width_(width) {}

    // The unshrunk silhouette (mono shadow).
    int At(int x, int s) const {
        return 255 - darkening_ * image_.CoverageAt(x, height_ - 1 - s) / 255;
    }
    // The shrunk silhouette (soft shadow).
    int ShrunkAt(int x, int s) const {
        if (x < left_ || x >= left_ + innerWidth_ || s < top_ || s >= top_ + innerHeight_)
            return 255;
        return At(SourceX(x), SourceS(s));
    }
    // The part of the image the shrunk silhouette reads within `area`.
    StoredArea SourceOf(StoredArea area) const {
        area.x0 = std::max(area.x0, left_);
        area.x1 = std::min(area.x1, left_ + innerWidth_);
        area.s0 = std::max(area.s0, top_);
        area.s1 = std::min(area.s1, top_ + innerHeight_);
        if (area.Empty())
            return {};
        return {SourceX(area.x0), SourceX(area.x1 - 1) + 1, SourceS(area.s0),
                SourceS(area.s1 - 1) + 1};
    }

private:
    int SourceX(int x) const {
        return static_cast<int>(static_cast<std::int64_t>(x - left_) * width_ / innerWidth_);
    }
    int SourceS(int s) const {
        return static_cast<int>(static_cast<std::int64_t>(s - top_) * height_ / innerHeight_);
    }

    const PreparedImage& image_;
    int height_;
    int darkening_;
    int innerWidth_, innerHeight_, left_, top_, width_;
};

std::vector<int> MonoFactors(const Silhouette& silhouette, const StoredArea& out) {
    std::vector<int> factors;
    factors.reserve(static_cast<size_t>(out.Width()) * out.Height());
    for (int s = out.s0; s < out.s1; ++s)
        for (int x = out.x0; x < out.x1; ++x)
            factors.push_back(silhouette.At(x, s));
    return factors;
}

// Each pixel of `out` gets the average of the shrunk silhouette over a blur-size window around
// it, outside the image counted as 255; `around` is `out` widened by half a blur size within the
// image, summed once so that every window costs four look-ups.
std::vector<int> SoftFactors(const Silhouette& silhouette, const StoredArea& out,
                             const StoredArea& around, int bx, int by) {
    const size_t stride = static_cast<size_t>(around.Width()) + 1;
    std::vector<std::int64_t> sums(stride * (static_cast<size_t>(around.Height()) + 1), 0);
    for (int s = 0; s < around.Height(); ++s) {
        std::int64_t rowSum = 0;
        for (int x = 0; x < around.Width(); ++x) {
            rowSum += silhouette.ShrunkAt(around.x0 + x, around.s0 + s);
            sums[(s + 1) * stride + x + 1] = sums[s * stride + x + 1] + rowSum;
        }
    }
    const std::int64_t window = static_cast<std::int64_t>(bx) * by;
    std::vector<int> factors;
    factors.reserve(static_cast<size_t>(out.Width()) * out.Height());
    for (int s = out.s0; s < out.s1; ++s) {
        const int y0 = std::max(s - by / 2, around.s0) - around.s0;
        const int y1 = std::min(s + by / 2 + 1, around.s1) - around.s0;
        for (int x = out.x0; x < out.x1; ++x) {
            const int x0 = std::max(x - bx / 2, around.x0) - around.x0;
            const int x1 = std::min(x + bx / 2 + 1, around.x1) - around.x0;
            const std::int64_t inside = sums[y1 * stride + x1] - sums[y0 * stride + x1] -
                                        sums[y1 * stride + x0] + sums[y0 * stride + x0];
            const std::int64_t insideCount = static_cast<std::int64_t>(x1 - x0) * (y1 - y0);
            factors.push_back(static_cast<int>((inside + 255 * (window - insideCount)) / window));
        }
    }
    return factors;
}

bool Darken(HDC dc, int x, int y, int width, int height, const std::vector<int>& factors) {
    CDib background;
    if (!background.Create(width, height, 32) || !background.Capture(dc, x, y))
        return false;
    DWORD* pixels = reinterpret_cast<DWORD*>(background.Bits());
    for (size_t i = 0; i < factors.size(); ++i) {
        const DWORD p = pixels[i];
        const int f = factors[i];
        const DWORD r = ((p >> 16) & 0xFF) * f / 255;
        const DWORD g = ((p >> 8) & 0xFF) * f / 255;
        const DWORD b = (p & 0xFF) * f / 255;
        pixels[i] = (p & 0xFF000000) | (r << 16) | (g << 8) | b;
    }
    return background.Draw(dc, x, y);
}

} // namespace

int ShadowLevel(int depth) {
    return 255 * (100 - std::clamp(depth, 0, 100)) / 100;
}

bool DrawShadow(HDC dc, int x, int y, const ImageSource& source, const PreparedImage* picture,
                bool gradient, const ShadowSettings& settings, const RECT& visible) {
    const int width = source.width, height = source.height;
    if (width < 1 || height < 1)
        return false;
    const int left = x + settings.offsetX, top = y + settings.offsetY;
    const RECT shown = VisiblePart(RECT{left, top, left + width, top + height}, visible);
    if (::IsRectEmpty(&shown))
        return true;
    const StoredArea out = FromPicture(shown, height);
    const int bx = gradient ? OddBlurSize(settings.blurX) : 1;
    const int by = gradient ? OddBlurSize(settings.blurY) : 1;
    const StoredArea around{std::max(out.x0 - bx / 2, 0), std::min(out.x1 + bx / 2, width),
                            std::max(out.s0 - by / 2, 0), std::min(out.s1 + by / 2, height)};

    // The part of the image the shadow reads, prepared unless the picture's part holds it.
    PreparedImage own;
    const PreparedImage* image = picture;
    const Silhouette probe(own, width, height, settings.depth, gradient ? bx / 2 : 0,
                           gradient ? by / 2 : 0);
    const StoredArea read = gradient ? probe.SourceOf(around) : out;
    if (!read.Empty()) {
        const RECT needed = ToPicture(read, height);
        if (!picture || !Contains(picture->window, needed)) {
            if (!PrepareImage(own, source, needed))
                return false;
            image = &own;
        }
    }
    const Silhouette silhouette(image ? *image : own, width, height, settings.depth,
                                gradient ? bx / 2 : 0, gradient ? by / 2 : 0);
    const std::vector<int> factors =
        gradient ? SoftFactors(silhouette, out, around, bx, by) : MonoFactors(silhouette, out);
    return Darken(dc, left + shown.left, top + shown.top, out.Width(), out.Height(), factors);
}

} // namespace richtext
