#include "richtext/dib.h"
#include "richtext/draw_manager.h"
#include "richtext/palette_effects.h"

#include "tests/richtext/canvas.h"

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

COLORREF Mix(COLORREF a, COLORREF b, int step) {
    return RGB((GetRValue(a) * (128 - step) + GetRValue(b) * step) / 128,
               (GetGValue(a) * (128 - step) + GetGValue(b) * step) / 128,
               (GetBValue(a) * (128 - step) + GetBValue(b) * step) / 128);
}

int Cube(int t) {
    return t * t * t;
}

} // namespace

TEST(PaletteTable, RunsFromTheEndOverTheMiddleToTheBeginColour) {
    CDib dib;
    ASSERT_TRUE(RenderPaletteEffect(dib, kEffectHShade, 4, 4, kColours, 0, 0));
    EXPECT_EQ(dib.BitCount(), 8);
    EXPECT_EQ(TableColour(dib, 0), kEnd);
    EXPECT_EQ(TableColour(dib, 64), Mix(kEnd, kMiddle, 64));
    EXPECT_EQ(TableColour(dib, 127), Mix(kEnd, kMiddle, 127));
    EXPECT_EQ(TableColour(dib, 128), Mix(kMiddle, kBegin, 1));
    EXPECT_EQ(TableColour(dib, 200), Mix(kMiddle, kBegin, 73));
    EXPECT_EQ(TableColour(dib, 255), kBegin);
}

TEST(PaletteTable, PaletteBlendMovesTheTableTowardTheBeginColour) {
    CDib dib;
    ASSERT_TRUE(RenderPaletteEffect(dib, kEffectNoise, 2, 2, kColours, 0, 100));
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(TableColour(dib, i), kBegin) << i;
}

TEST(PaletteShades, GranularityZeroGivesFullRangeShadesWithoutGrain) {
    constexpr int h = 255, w = 255;
    CDib dib;
    ASSERT_TRUE(RenderPaletteEffect(dib, kEffectHShade, 3, h, kColours, 0, 0));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < 3; ++x)
            ASSERT_EQ(Stored(dib, x, y), 255 * y / h) << x << "," << y;

    ASSERT_TRUE(RenderPaletteEffect(dib, kEffectVShade, w, 3, kColours, 0, 0));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(Stored(dib, x, y), 255 * (w - x) / w % 256) << x << "," << y;
    EXPECT_EQ(Stored(dib, 1, 0), 254);
    EXPECT_EQ(Stored(dib, w - 1, 0), 1);

    ASSERT_TRUE(RenderPaletteEffect(dib, kEffectNoise, 40, 40, kColours, 0, 0));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(Stored(dib, x, y), 128);

    ASSERT_TRUE(RenderPaletteEffect(dib, kEffectDiagShade, 20, 10, kColours, 0, 0));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(Stored(dib, x, y), (127 * (20 - x) / 20 + 127 * y / 10) % 256);
}

TEST(PaletteShades, GrainCoversZeroToTwiceTheGranularityAndNothingMore) {
    for (const int random : {0, 1, 16383, 32766, 32767})
        EXPECT_EQ(GrainFromRandom(random, 0), 0) << random;
    EXPECT_EQ(GrainFromRandom(0, 5), 0);
    EXPECT_EQ(GrainFromRandom(32767, 5), 10);
    for (int g = 1; g <= kMaxGranularity; ++g) {
        EXPECT_EQ(GrainFromRandom(32767, g), 2 * g) << g;
        for (int random = 0; random <= 32767; random += 97)
            ASSERT_LE(GrainFromRandom(random, g), 2 * g) << g << " " << random;
    }
}

TEST(PaletteShades, GrainStaysWithinTheGranularity) {
    CDib dib;
    ASSERT_TRUE(RenderPaletteEffect(dib, kEffectNoise, 50, 50, kColours, 5, 0));
    std::set<int> seen;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) {
            const int v = Stored(dib, x, y);
            ASSERT_GE(v, 123);
            ASSERT_LE(v, 133);
            seen.insert(v);
        }
    EXPECT_GE(seen.size(), 8u) << "the grain uses its whole range";

    ASSERT_TRUE(RenderPaletteEffect(dib, kEffectHShade, 10, 100, kColours, 5, 0));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 10; ++x) {
            const int centre = 245 * y / 100 + 5;
            ASSERT_LE(std::abs(Stored(dib, x, y) - centre), 5) << x << "," << y;
        }
}

TEST(PaletteShades, BumpsFollowTheCubicProfile) {
    constexpr int h = 64;
    CDib dib;
    ASSERT_TRUE(RenderPaletteEffect(dib, kEffectHBump, 2, h, kColours, 0, 0));
    for (int y = 0; y < h; ++y) {
        const int t = 255 * y / h - 127;
        ASSERT_EQ(Stored(dib, 0, y), (Cube(t) / 128 / 128 * 128 / 128 + 128) & 0xFF) << y;
    }
    ASSERT_TRUE(RenderPaletteEffect(dib, kEffectVBump, h, 2, kColours, 0, 0));
    for (int x = 0; x < h; ++x) {
        const int t = 255 * (h - x) / h - 127;
        ASSERT_EQ(Stored(dib, x, 1), (Cube(t) / 128 / 128 + 128) & 0xFF) << x;
    }
    ASSERT_TRUE(RenderPaletteEffect(dib, kEffectSoftBump, 32, 16, kColours, 0, 0));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) {
            const int ty = 255 * y / 16 - 127, tx = 255 * (32 - x) / 32 - 127;
            const int v = std::clamp(Cube(tx) / 128 / 128 + Cube(ty) / 128 / 128 + 128, 0, 255);
            ASSERT_EQ(Stored(dib, x, y), v) << x << "," << y;
        }
}

TEST(PaletteShades, DrawnColoursComeFromTheTable) {
    Canvas canvas(8, 100);
    CDrawManager drawer;
    drawer.FillEffect(canvas.Dc(), kEffectHShade, RECT{2, 0, 6, 100}, kBegin, kMiddle, kEnd, 0, 0);
    CDib dib;
    ASSERT_TRUE(RenderPaletteEffect(dib, kEffectHShade, 4, 100, kColours, 0, 0));
    // The picture's top row is the last stored row: it is nearest the begin colour.
    EXPECT_EQ(canvas.Pixel(2, 0), TableColour(dib, 255 * 99 / 100));
    EXPECT_EQ(canvas.Pixel(5, 99), kEnd);
    EXPECT_EQ(canvas.Pixel(3, 50), TableColour(dib, 255 * 49 / 100));
    EXPECT_EQ(canvas.Pixel(1, 50), RGB(255, 255, 255));
    EXPECT_EQ(canvas.Pixel(6, 50), RGB(255, 255, 255));
}

TEST(PaletteShades, RefusesNonPaletteEffectsAndEmptySizes) {
    CDib dib;
    EXPECT_FALSE(RenderPaletteEffect(dib, kEffectVGradient, 4, 4, kColours, 5, 0));
    EXPECT_FALSE(RenderPaletteEffect(dib, 16, 4, 4, kColours, 5, 0));
    EXPECT_FALSE(RenderPaletteEffect(dib, kEffectMetal, 0, 4, kColours, 5, 0));
    EXPECT_FALSE(RenderPaletteEffect(dib, kEffectMetal, 4, -4, kColours, 5, 0));
}

TEST(PaletteShades, EveryEffectSurvivesTinyOddAndClippedRectangles) {
    CDrawManager drawer;
    for (int effect = kEffectNoise; effect <= kEffectMetal; ++effect) {
        for (const int g : {0, 5, 64, 127, 128, 40000, -3}) {
            for (const SIZE size : {SIZE{1, 1}, SIZE{2, 1}, SIZE{1, 2}, SIZE{5, 7}, SIZE{97, 13}}) {
                CDib dib;
                ASSERT_TRUE(RenderPaletteEffect(dib, effect, size.cx, size.cy, kColours, g, 0))
                    << effect << " g " << g;
            }
        }
        Canvas canvas(20, 20);
        drawer.FillEffect(canvas.Dc(), effect, RECT{-30, -7, 12, 45}, kBegin, kMiddle, kEnd, 5, 0);
        drawer.FillEffect(canvas.Dc(), effect, RECT{15, 15, 80, 90}, kBegin, kMiddle, kEnd, 5, 0);
        EXPECT_TRUE(canvas.GuardsIntact()) << effect;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                const bool painted = x < 12 || (x >= 15 && y >= 15);
                if (!painted) {
                    ASSERT_EQ(canvas.Pixel(x, y), RGB(255, 255, 255)) << effect;
                }
            }
    }
}

TEST(PaletteShades, HardBumpBevelsBothSides) {
    CDib dib;
    ASSERT_TRUE(RenderPaletteEffect(dib, kEffectHardBump, 60, 41, kColours, 0, 0));
    // Middle row: the band starts at the edge, dark on the left and light on the right.
    EXPECT_EQ(Stored(dib, 0, 20), 0);
    EXPECT_EQ(Stored(dib, 59, 20), 255);
    EXPECT_LT(Stored(dib, 1, 20), Stored(dib, 9, 20));
    EXPECT_GT(Stored(dib, 58, 20), Stored(dib, 50, 20));
}

TEST(PaletteShades, MetalAddsScratchesOfAtMostFortyToADiagonalShade) {
    constexpr int w = 30, h = 20, k = (255 - 40) / 2;
    CDib dib;
    ASSERT_TRUE(RenderPaletteEffect(dib, kEffectMetal, w, h, kColours, 0, 0));
    int scratched = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int base = k * (w - x) / w + k * y / h;
            ASSERT_GE(Stored(dib, x, y), base) << x << "," << y;
            ASSERT_LE(Stored(dib, x, y), base + 40) << x << "," << y;
            scratched += Stored(dib, x, y) != base;
        }
    EXPECT_GT(scratched, 0);
}

TEST(PaletteShades, TooLargeToComputeFallsBackToSolid) {
    Canvas canvas(10, 10);
    CDrawManager drawer;
    drawer.FillEffect(canvas.Dc(), kEffectHShade, RECT{-70000, -70000, 70000, 70000}, kBegin,
                      kMiddle, kEnd, 5, 0);
    EXPECT_EQ(canvas.CountOf(kBegin), 100);
    EXPECT_TRUE(canvas.GuardsIntact());
}
