#include "richtext/draw_manager.h"
#include "richtext/gradient.h"

#include "tests/richtext/canvas.h"

#include <gtest/gtest.h>

using namespace richtext;
using testing_canvas::Canvas;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 200, 0);

COLORREF Band(COLORREF from, COLORREF to, int i) {
    return RGB((GetRValue(from) * (64 - i) + GetRValue(to) * i) / 64,
               (GetGValue(from) * (64 - i) + GetGValue(to) * i) / 64,
               (GetBValue(from) * (64 - i) + GetBValue(to) * i) / 64);
}

// The band that covers offset p of a span of n pixels.
int BandAt(int p, int n) {
    for (int i = 0; i < 64; ++i)
        if (i * n / 64 <= p && p < (i + 1) * n / 64)
            return i;
    return -1;
}

void Fill(Canvas& canvas, int effect, const RECT& rect, COLORREF begin, COLORREF middle,
          COLORREF end) {
    CDrawManager drawer;
    drawer.FillEffect(canvas.Dc(), effect, rect, begin, middle, end, 5, 0);
}

} // namespace

TEST(GradientBands, HorizontalRunsLeftToRightWithTheEndColoursNeighbourLast) {
    Canvas canvas(130, 3);
    Fill(canvas, kEffectHGradient, RECT{0, 0, 128, 3}, kRed, kGreen, kBlue);
    for (int x = 0; x < 128; ++x)
        for (int y = 0; y < 3; ++y)
            ASSERT_EQ(canvas.Pixel(x, y), Band(kRed, kBlue, x / 2)) << x << "," << y;
    EXPECT_EQ(canvas.Pixel(0, 0), kRed);
    EXPECT_EQ(canvas.Pixel(127, 0), RGB(3, 0, 251));
    EXPECT_EQ(canvas.Pixel(128, 0), kWhite);
    EXPECT_EQ(canvas.Pixel(129, 2), kWhite);
}

TEST(GradientBands, VerticalRunsTopToBottom) {
    Canvas canvas(3, 66);
    Fill(canvas, kEffectVGradient, RECT{0, 1, 2, 65}, kRed, kGreen, kBlue);
    for (int y = 1; y < 65; ++y)
        ASSERT_EQ(canvas.Pixel(1, y), Band(kRed, kBlue, y - 1)) << y;
    EXPECT_EQ(canvas.Pixel(0, 0), kWhite);
    EXPECT_EQ(canvas.Pixel(0, 65), kWhite);
    EXPECT_EQ(canvas.Pixel(2, 30), kWhite);
}

TEST(GradientBands, NarrowerThanSixtyFourPixelsSkipsEmptyBands) {
    Canvas canvas(12, 2);
    Fill(canvas, kEffectHGradient, RECT{1, 0, 11, 2}, kRed, kGreen, kBlue);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(canvas.Pixel(1 + x, 0), Band(kRed, kBlue, BandAt(x, 10))) << x;
    EXPECT_EQ(canvas.Pixel(10, 1), Band(kRed, kBlue, 63));
    EXPECT_EQ(canvas.Pixel(0, 0), kWhite);
    EXPECT_EQ(canvas.Pixel(11, 0), kWhite);

    Canvas one(3, 3);
    Fill(one, kEffectVGradient, RECT{1, 1, 2, 2}, kRed, kGreen, kBlue);
    EXPECT_EQ(one.Pixel(1, 1), Band(kRed, kBlue, 63));
    EXPECT_EQ(one.CountOtherThan(kWhite), 1);
}

TEST(GradientBands, CentredGradientsReturnToTheBeginColour) {
    Canvas canvas(128, 128);
    Fill(canvas, kEffectHCGradient, RECT{0, 0, 128, 1}, kRed, kGreen, kBlue);
    EXPECT_EQ(canvas.Pixel(0, 0), kRed);
    EXPECT_EQ(canvas.Pixel(63, 0), Band(kRed, kBlue, 63));
    EXPECT_EQ(canvas.Pixel(64, 0), kBlue);
    EXPECT_EQ(canvas.Pixel(127, 0), Band(kBlue, kRed, 63));

    Fill(canvas, kEffectVCGradient, RECT{5, 0, 6, 128}, kRed, kGreen, kBlue);
    EXPECT_EQ(canvas.Pixel(5, 0), kRed);
    EXPECT_EQ(canvas.Pixel(5, 64), kBlue);
    EXPECT_EQ(canvas.Pixel(5, 127), Band(kBlue, kRed, 63));
}

TEST(GradientBands, ThreeColourGradientsPassTheMiddleColourHalfway) {
    Canvas canvas(128, 128);
    Fill(canvas, kEffect3HGradient, RECT{0, 0, 128, 1}, kRed, kGreen, kBlue);
    EXPECT_EQ(canvas.Pixel(0, 0), kRed);
    EXPECT_EQ(canvas.Pixel(32, 0), Band(kRed, kGreen, 32));
    EXPECT_EQ(canvas.Pixel(64, 0), kGreen);
    EXPECT_EQ(canvas.Pixel(127, 0), Band(kGreen, kBlue, 63));

    Fill(canvas, kEffect3VGradient, RECT{9, 0, 10, 128}, kRed, kGreen, kBlue);
    EXPECT_EQ(canvas.Pixel(9, 0), kRed);
    EXPECT_EQ(canvas.Pixel(9, 64), kGreen);
    EXPECT_EQ(canvas.Pixel(9, 127), Band(kGreen, kBlue, 63));
}

TEST(GradientBands, OddWidthsSplitAtHalfTheWidth) {
    Canvas canvas(7, 1);
    Fill(canvas, kEffect3HGradient, RECT{0, 0, 7, 1}, kRed, kGreen, kBlue);
    // Left half: 3 pixels, right half: 4 pixels starting with the middle colour.
    EXPECT_EQ(canvas.Pixel(2, 0), Band(kRed, kGreen, 63));
    EXPECT_EQ(canvas.Pixel(3, 0), Band(kGreen, kBlue, BandAt(0, 4)));
    EXPECT_EQ(canvas.Pixel(6, 0), Band(kGreen, kBlue, 63));
}

TEST(GradientBands, RectanglesPartlyOutsideTheTargetKeepTheirGeometry) {
    Canvas canvas(30, 4);
    Fill(canvas, kEffectHGradient, RECT{-20, -5, 44, 2}, kRed, kGreen, kBlue);
    for (int x = 0; x < 30; ++x) {
        ASSERT_EQ(canvas.Pixel(x, 1), Band(kRed, kBlue, x + 20)) << x;
        ASSERT_EQ(canvas.Pixel(x, 2), kWhite) << x;
    }
    EXPECT_TRUE(canvas.GuardsIntact());

    Fill(canvas, kEffectVCGradient, RECT{-1000000, -1000000, 1000000, 1000000}, kRed, kGreen,
         kBlue);
    EXPECT_EQ(canvas.Pixel(0, 0), kBlue) << "the centre of a huge gradient is its end colour";
    EXPECT_TRUE(canvas.GuardsIntact());
}

TEST(SolidFill, SolidAndUnknownEffectsUseTheBeginColourAndTransparentDrawsNothing) {
    Canvas canvas(10, 10);
    Fill(canvas, kEffectSolid, RECT{1, 1, 4, 4}, kRed, kGreen, kBlue);
    EXPECT_EQ(canvas.CountOf(kRed), 9);
    EXPECT_EQ(canvas.Pixel(1, 1), kRed);
    EXPECT_EQ(canvas.Pixel(3, 3), kRed);
    Fill(canvas, 99, RECT{5, 5, 7, 7}, kBlue, kGreen, kRed);
    EXPECT_EQ(canvas.CountOf(kBlue), 4);
    Fill(canvas, -7, RECT{0, 8, 1, 9}, kGreen, kGreen, kGreen);
    EXPECT_EQ(canvas.Pixel(0, 8), kGreen);
    Fill(canvas, kEffectTransparent, RECT{0, 0, 10, 10}, kRed, kRed, kRed);
    EXPECT_EQ(canvas.CountOf(kRed), 9);
}

TEST(SolidFill, EmptyAndInvertedRectanglesDrawNothing) {
    Canvas canvas(10, 10);
    for (int effect = 0; effect <= 15; ++effect) {
        Fill(canvas, effect, RECT{5, 5, 5, 9}, kRed, kGreen, kBlue);
        Fill(canvas, effect, RECT{5, 5, 9, 5}, kRed, kGreen, kBlue);
        Fill(canvas, effect, RECT{8, 8, 2, 2}, kRed, kGreen, kBlue);
        Fill(canvas, effect, RECT{2, 8, 8, 2}, kRed, kGreen, kBlue);
    }
    EXPECT_EQ(canvas.CountOtherThan(kWhite), 0);
    CDrawManager drawer;
    drawer.FillEffect(nullptr, kEffectHGradient, RECT{0, 0, 5, 5}, kRed, kGreen, kBlue, 5, 0);
}
