#include "richtext/dib.h"
#include "richtext/draw_manager.h"
#include "richtext/palette_effects.h"

#include "tests/richtext/canvas.h"
#include "bench/support/peak_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace richtext;
using testing_canvas::Canvas;

namespace {

constexpr COLORREF kBegin = RGB(250, 10, 0);
constexpr COLORREF kMiddle = RGB(0, 250, 10);
constexpr COLORREF kEnd = RGB(10, 0, 250);
constexpr PaletteColours kColours{kBegin, kMiddle, kEnd};

int Stored(const CDib& dib, int x, int y) {
    return dib.Bits()[y * dib.RowLength() + x];
}

COLORREF TableColour(const CDib& dib, int index) {
    const RGBQUAD q = dib.ColourTableEntry(index);
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

int Cube(int t) {
    return t * t * t;
}

void Fill(Canvas& canvas, int effect, const RECT& rect, int granularity = 0) {
    CDrawManager().FillEffect(canvas.Dc(), effect, rect, kBegin, kMiddle, kEnd, granularity, 0);
}

} // namespace

TEST(PaletteEffects, ShadesAndBumpsFollowTheirFormulasWithoutGrainAtGranularityZero) {
    constexpr int w = 64, h = 48;
    const auto check = [&](int effect, auto formula) {
        CDib dib;
        ASSERT_TRUE(RenderPaletteEffect(dib, effect, w, h, kColours, 0, 0));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(Stored(dib, x, y), formula(x, y) & 0xFF)
                    << effect << " " << x << "," << y;
    };
    check(kEffectNoise, [](int, int) { return 128; });
    check(kEffectHShade, [](int, int y) { return 255 * y / h; });
    check(kEffectVShade, [](int x, int) { return 255 * (w - x) / w; });
    check(kEffectDiagShade, [](int x, int y) { return 127 * (w - x) / w + 127 * y / h; });
    check(kEffectHBump, [](int, int y) { return Cube(255 * y / h - 127) / 128 / 128 + 128; });
    check(kEffectSoftBump, [](int x, int y) {
        const int v =
            Cube(255 * (w - x) / w - 127) / 128 / 128 + Cube(255 * y / h - 127) / 128 / 128;
        return std::clamp(v + 128, 0, 255);
    });
}

TEST(PaletteEffects, GrainCoversZeroToTwiceTheGranularityAndNothingMore) {
    EXPECT_EQ(GrainFromRandom(32767, 0), 0);
    for (int g = 1; g <= kMaxGranularity; ++g) {
        EXPECT_EQ(GrainFromRandom(32767, g), 2 * g) << g;
        for (int random = 0; random <= 32767; random += 97)
            ASSERT_LE(GrainFromRandom(random, g), 2 * g) << g << " " << random;
    }
    CDib dib;
    ASSERT_TRUE(RenderPaletteEffect(dib, kEffectNoise, 48, 48, kColours, 5, 0)); // no padding
    const std::set<int> seen(dib.Bits(), dib.Bits() + dib.ImageSize());
    EXPECT_GE(*seen.begin(), 123);
    EXPECT_LE(*seen.rbegin(), 133);
    EXPECT_GE(seen.size(), 8u) << "the grain uses its whole range";
}

TEST(PaletteEffects, APartLooksLikeTheSameAreaOfTheWhole) {
    const RECT part{13, 7, 50, 31};
    for (int effect = kEffectDiagShade; effect <= kEffectHardBump; ++effect) {
        CDib whole, piece;
        ASSERT_TRUE(RenderPaletteEffect(whole, effect, 60, 40, kColours, 0, 0));
        ASSERT_TRUE(RenderPaletteEffect(piece, effect, SIZE{60, 40}, part, kColours, 0, 0));
        for (int y = part.top; y < part.bottom; ++y)
            for (int x = part.left; x < part.right; ++x)
                ASSERT_EQ(piece.PixelIndex(x - part.left, y - part.top), whole.PixelIndex(x, y))
                    << effect << " " << x << "," << y;
    }
    CDib dib;
    EXPECT_FALSE(
        RenderPaletteEffect(dib, kEffectNoise, SIZE{10, 10}, RECT{5, 5, 11, 8}, kColours, 0, 0));
    EXPECT_FALSE(RenderPaletteEffect(dib, kEffectVGradient, 4, 4, kColours, 5, 0));
}

TEST(PaletteEffects, TheDrawnPictureShowsTheTableWithTheLastStoredRowOnTop) {
    Canvas canvas(8, 100);
    Fill(canvas, kEffectHShade, RECT{2, 0, 6, 100});
    CDib dib;
    ASSERT_TRUE(RenderPaletteEffect(dib, kEffectHShade, 4, 100, kColours, 0, 0));
    EXPECT_EQ(canvas.Pixel(2, 0), TableColour(dib, 255 * 99 / 100));
    EXPECT_EQ(canvas.Pixel(5, 99), kEnd);
    EXPECT_EQ(canvas.Pixel(1, 50), RGB(255, 255, 255));
    EXPECT_EQ(canvas.Pixel(6, 50), RGB(255, 255, 255));
}

// Cells may be far larger than the window, which redraws on every hover change.
TEST(PaletteEffects, OnlyTheVisiblePartIsComputedWhateverTheSize) {
    for (int effect = kEffectNoise; effect <= kEffectMetal; ++effect) {
        Canvas canvas(100, 100);
        const size_t growth = bench::PeakGrowth([&] {
            Fill(canvas, effect, RECT{-6000, -6000, 6000, 6000}, 5);
        });
        EXPECT_LT(growth, 8 * bench::kMegabyte) << effect;
        EXPECT_EQ(canvas.CountOf(RGB(255, 255, 255)), 0) << effect;
        for (const SIZE size : {SIZE{1, 1}, SIZE{2, 1}, SIZE{97, 13}}) {
            CDib dib;
            ASSERT_TRUE(RenderPaletteEffect(dib, effect, size.cx, size.cy, kColours, 40000, 0));
        }
    }
}

TEST(PaletteEffects, AShadeWiderThanSixteenMillionPixelsKeepsItsLevels) {
    Canvas canvas(10, 2);
    Fill(canvas, kEffectVShade, RECT{0, 0, 20000000, 2});
    CDib dib;
    ASSERT_TRUE(RenderPaletteEffect(dib, kEffectHShade, 2, 2, kColours, 0, 0));
    EXPECT_EQ(canvas.Pixel(0, 0), kBegin);
    EXPECT_EQ(canvas.Pixel(9, 1), TableColour(dib, 254));
}
