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
    return GradientBandColour(from, to, i);
}

void Fill(Canvas& canvas, int effect, const RECT& rect) {
    CDrawManager().FillEffect(canvas.Dc(), effect, rect, kRed, kGreen, kBlue, 5, 0);
}

} // namespace

TEST(Gradients, SixtyFourBandsRunFromTheBeginToTheEndColoursNeighbour) {
    EXPECT_EQ(Band(kRed, kBlue, 63), RGB(3, 0, 251));
    Canvas canvas(130, 3);
    Fill(canvas, kEffectHGradient, RECT{0, 0, 128, 3});
    for (int x = 0; x < 128; ++x)
        ASSERT_EQ(canvas.Pixel(x, 2), Band(kRed, kBlue, x / 2)) << x;
    EXPECT_EQ(canvas.Pixel(128, 0), kWhite);
    // Narrower than 64 pixels: empty bands are skipped and the last one is still drawn.
    Canvas narrow(12, 2);
    Fill(narrow, kEffectVGradient, RECT{1, 0, 11, 1});
    EXPECT_EQ(narrow.Pixel(1, 0), Band(kRed, kBlue, 63)) << "one pixel high: the last band";
    Fill(narrow, kEffectHGradient, RECT{1, 1, 11, 2});
    EXPECT_EQ(narrow.Pixel(10, 1), Band(kRed, kBlue, 63));
    EXPECT_EQ(narrow.Pixel(11, 1), kWhite);
}

TEST(Gradients, RectanglesBeyondTheTargetKeepTheirGeometry) {
    Canvas canvas(30, 4);
    Fill(canvas, kEffectHGradient, RECT{-20, -5, 44, 2});
    for (int x = 0; x < 30; ++x)
        ASSERT_EQ(canvas.Pixel(x, 1), Band(kRed, kBlue, x + 20)) << x;
    EXPECT_EQ(canvas.Pixel(0, 2), kWhite);
    Fill(canvas, kEffectVCGradient, RECT{-1000000, -1000000, 1000000, 1000000});
    EXPECT_EQ(canvas.Pixel(0, 0), kBlue) << "the centre of a huge gradient is its end colour";
}

TEST(SolidFill, UnknownEffectsAreSolidAndTransparentOrEmptyRectanglesDrawNothing) {
    Canvas canvas(10, 10);
    Fill(canvas, kEffectSolid, RECT{1, 1, 4, 4});
    Fill(canvas, 99, RECT{5, 5, 7, 7});
    EXPECT_EQ(canvas.CountOf(kRed), 9 + 4);
    Fill(canvas, kEffectTransparent, RECT{0, 0, 10, 10});
    for (int effect = 0; effect <= 15; ++effect) {
        Fill(canvas, effect, RECT{5, 5, 5, 9});
        Fill(canvas, effect, RECT{8, 8, 2, 2});
    }
    EXPECT_EQ(canvas.CountOtherThan(kWhite), 13);
}
