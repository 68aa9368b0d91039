#include "richtext/draw_manager.h"

#include "tests/richtext/canvas.h"

#include <gtest/gtest.h>

#include <string>

using namespace richtext;
using testing_canvas::Canvas;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// Row y (or column x) from a to b (excluded) as '#' for ink and '.' for white.
std::string Row(const Canvas& canvas, int y, int a, int b) {
    std::string row;
    for (int x = a; x < b; ++x)
        row += canvas.Pixel(x, y) == kWhite ? '.' : '#';
    return row;
}

std::string Column(const Canvas& canvas, int x, int a, int b) {
    std::string column;
    for (int y = a; y < b; ++y)
        column += canvas.Pixel(x, y) == kWhite ? '.' : '#';
    return column;
}

} // namespace

TEST(BorderLines, SolidDoubleAndWideLinesCoverTheirPixels) {
    Canvas canvas(40, 40);
    CDrawManager drawer;
    drawer.DrawLine(canvas.Dc(), 5, 10, 20, 10, kRed, kBorderDouble, 1);
    EXPECT_EQ(Row(canvas, 10, 4, 21), "." + std::string(15, '#') + ".") << "no end point";
    EXPECT_EQ(Row(canvas, 11, 5, 20), std::string(15, '.'));
    EXPECT_EQ(Row(canvas, 12, 5, 20), std::string(15, '#')) << "the second stroke";
    drawer.DrawLine(canvas.Dc(), 30, 5, 30, 25, kRed, kBorderDouble, 1);
    EXPECT_EQ(Column(canvas, 32, 5, 25), std::string(20, '#'));
    drawer.DrawLine(canvas.Dc(), 2, 35, 28, 35, kRed, 9, 3); // unknown styles are solid
    EXPECT_EQ(Column(canvas, 15, 32, 39), "..###..");
    canvas.Fill(kWhite);
    drawer.DrawLine(canvas.Dc(), 0, 5, 19, 5, kRed, kBorderNone, 3);
    drawer.DrawLine(canvas.Dc(), 0, 5, 19, 5, kRed, kBorderSolid, -4);
    drawer.DrawFrame(canvas.Dc(), RECT{0, 0, 20, 20}, kRed, kRed, kBorderDouble, 0);
    EXPECT_EQ(canvas.CountOtherThan(kWhite), 0) << "no style or no width draws nothing";
}

TEST(BorderFrames, LightOnTopAndLeftDarkOnBottomAndRightInsideTheRectangle) {
    Canvas canvas(20, 20);
    CDrawManager().DrawFrame(canvas.Dc(), RECT{5, 5, 15, 12}, kRed, kBlue, kBorderSolid, 1);
    EXPECT_EQ(canvas.Pixel(5, 11), kRed);
    EXPECT_EQ(canvas.Pixel(13, 5), kRed);
    EXPECT_EQ(canvas.Pixel(14, 5), kBlue);
    EXPECT_EQ(canvas.Pixel(6, 11), kBlue);
    const RECT frame{5, 5, 15, 12};
    EXPECT_EQ(canvas.CountOtherThan(kWhite), canvas.CountOtherThan(kWhite, &frame));
    EXPECT_EQ(canvas.CountOf(kRed) + canvas.CountOf(kBlue), 2 * 10 + 2 * 5);
}

TEST(BorderFrames, DoubleAndWideFramesKeepTheirPlaces) {
    Canvas canvas(20, 20);
    CDrawManager drawer;
    drawer.DrawFrame(canvas.Dc(), RECT{2, 2, 18, 18}, kRed, kBlue, kBorderDouble, 1);
    EXPECT_EQ(Row(canvas, 10, 0, 20), "..#.#..........#.#..");
    canvas.Fill(kWhite);
    drawer.DrawFrame(canvas.Dc(), RECT{3, 3, 17, 17}, kRed, kRed, kBorderSolid, 3);
    EXPECT_EQ(Column(canvas, 10, 0, 20), "...###........###...") << "inset by half the width";
    canvas.Fill(kWhite);
    drawer.DrawFrame(canvas.Dc(), RECT{1, 1, 2, 9}, kRed, kBlue, kBorderSolid, 1);
    EXPECT_EQ(Column(canvas, 1, 0, 10), ".########.") << "a one-pixel-wide frame is one column";
}

TEST(BorderFrames, FramesMillionsOfPixelsWideAreDrawnAtABoundedWidth) {
    Canvas canvas(40, 40);
    CDrawManager drawer;
    drawer.DrawFrame(canvas.Dc(), RECT{-3000000, -3000000, 3000000, 3000000}, kRed, kBlue,
                     kBorderSolid, 2000000);
    drawer.DrawLine(canvas.Dc(), -3000000, 20, 3000000, 20, kRed, kBorderDouble, 2000000);
    drawer.DrawFrame(canvas.Dc(), RECT{0, 0, 40, 40}, kRed, kRed, kBorderSolid, 2000000);
    EXPECT_EQ(canvas.CountOf(kRed), 40 * 40);
}
