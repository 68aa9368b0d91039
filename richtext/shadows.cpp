#include "richtext/shadows.h"

#include "richtext/dib.h"
#include "richtext/image_effects.h"

#include <algorithm>
#include <cstdint>

namespace richtext {
namespace {

int OddBlurSize(int size) {
    size = std::max(size, 1);
    return (size % 2 == 0) ? size + 1 : size;
}

std::vector<int> Shrink(const std::vector<int>& silhouette, int width, int height, int marginX,
                        int marginY) {
    std::vector<int> shrunk(silhouette.size(), 255);
    const int innerWidth = std::max(width - 2 * marginX, 1);
    const int innerHeight = std::max(height - 2 * marginY, 1);
    const int left = (width - innerWidth) / 2;
    const int top = (height - innerHeight) / 2;
    for (int y = 0; y < innerHeight; ++y) {
        const int sourceY = static_cast<int>(static_cast<std::int64_t>(y) * height / innerHeight);
        for (int x = 0; x < innerWidth; ++x) {
            const int sourceX = static_cast<int>(static_cast<std::int64_t>(x) * width / innerWidth);
            shrunk[static_cast<size_t>(top + y) * width + left + x] =
                silhouette[static_cast<size_t>(sourceY) * width + sourceX];
        }
    }
    return shrunk;
}

// Sums of the rectangle from (0, 0) to (x - 1, y - 1), for window sums in constant time.
std::vector<std::int64_t> SummedArea(const std::vector<int>& values, int width, int height) {
    const size_t stride = static_cast<size_t>(width) + 1;
    std::vector<std::int64_t> sums(stride * (static_cast<size_t>(height) + 1), 0);
    for (int y = 0; y < height; ++y) {
        std::int64_t rowSum = 0;
        for (int x = 0; x < width; ++x) {
            rowSum += values[static_cast<size_t>(y) * width + x];
            sums[(y + 1) * stride + x + 1] = sums[y * stride + x + 1] + rowSum;
        }
    }
    return sums;
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

std::vector<int> Silhouette(const PreparedImage& image, int depth) {
    const int darkening = 255 - ShadowLevel(depth);
    std::vector<int> silhouette(image.Count());
    for (size_t i = 0; i < silhouette.size(); ++i)
        silhouette[i] = 255 - darkening * image.Coverage(i) / 255;
    return silhouette;
}

std::vector<int> SoftSilhouette(const std::vector<int>& silhouette, int width, int height,
                                int blurX, int blurY) {
    const int bx = OddBlurSize(blurX);
    const int by = OddBlurSize(blurY);
    const std::vector<int> shrunk = Shrink(silhouette, width, height, bx / 2, by / 2);
    const std::vector<std::int64_t> sums = SummedArea(shrunk, width, height);
    const size_t stride = static_cast<size_t>(width) + 1;
    const std::int64_t window = static_cast<std::int64_t>(bx) * by;

    std::vector<int> soft(silhouette.size());
    for (int y = 0; y < height; ++y) {
        const int y0 = std::max(y - by / 2, 0), y1 = std::min(y + by / 2 + 1, height);
        for (int x = 0; x < width; ++x) {
            const int x0 = std::max(x - bx / 2, 0), x1 = std::min(x + bx / 2 + 1, width);
            const std::int64_t inside = sums[y1 * stride + x1] - sums[y0 * stride + x1] -
                                        sums[y1 * stride + x0] + sums[y0 * stride + x0];
            const std::int64_t insideCount = static_cast<std::int64_t>(x1 - x0) * (y1 - y0);
            const std::int64_t total = inside + 255 * (window - insideCount);
            soft[static_cast<size_t>(y) * width + x] = static_cast<int>(total / window);
        }
    }
    return soft;
}

bool DrawShadow(HDC dc, int x, int y, const PreparedImage& image, bool gradient,
                const ShadowSettings& settings) {
    const int width = image.Width(), height = image.Height();
    if (width < 1 || height < 1)
        return false;
    std::vector<int> factors = Silhouette(image, settings.depth);
    if (gradient)
        factors = SoftSilhouette(factors, width, height, settings.blurX, settings.blurY);
    return Darken(dc, x + settings.offsetX, y + settings.offsetY, width, height, factors);
}

} // namespace richtext
