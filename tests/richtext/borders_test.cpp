#include "richtext/draw_manager.h"

#include "tests/richtext/canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

using namespace richtext;
using testing_canvas::Canvas;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// The row y from x0 to x1 (excluded) as a string of '#' (not white) and '.' (white).
std::string Row(const Canvas& canvas, int y, int x0, int x1) {
    std::string row;
    for (int x = x0; x < x1; ++x)
        row += canvas.Pixel(x, y) == kWhite ? '.' : '#';
    return row;
}

std::string Column(const Canvas& canvas, int x, int y0, int y1) {
    std::string column;
    for (int y = y0; y < y1; ++y)
        column += canvas.Pixel(x, y) == kWhite ? '.' : '#';
    return column;
}

} // namespace

TEST(BorderLines, SolidLineCoversItsPixelsWithoutTheEndPoint) {
    Canvas canvas(40, 20);
    CDrawManager drawer;
    drawer.DrawLine(canvas.Dc(), 5, 10, 30, 10, kBlack, kBorderSolid, 1);
    EXPECT_EQ(Row(canvas, 10, 5, 30), std::string(25, '#'));
    EXPECT_EQ(canvas.Pixel(30, 10), kWhite);
    EXPECT_EQ(canvas.Pixel(4, 10), kWhite);
    EXPECT_EQ(canvas.CountOf(kBlack), 25);
}

TEST(BorderLines, EachBrokenStyleHasItsOwnPattern) {
    std::set<std::string> patterns;
    for (const int style : {kBorderDashed, kBorderDotted, kBorderDashDot, kBorderDashDotDot}) {
        Canvas canvas(130, 3);
        CDrawManager drawer;
        drawer.DrawLine(canvas.Dc(), 0, 1, 120, 1, kBlack, style, 1);
        const std::string row = Row(canvas, 1, 0, 120);
        EXPECT_NE(row.find('#'), std::string::npos) << style;
        EXPECT_NE(row.find('.'), std::string::npos) << "style " << style << " has gaps";
        EXPECT_EQ(canvas.CountOtherThan(kWhite),
                  static_cast<int>(std::count(row.begin(), row.end(), '#')));
        patterns.insert(row);
    }
    EXPECT_EQ(patterns.size(), 4u);
}

TEST(BorderLines, DoubleLineAddsASecondStrokeTwoWidthsAway) {
    Canvas canvas(40, 40);
    CDrawManager drawer;
    drawer.DrawLine(canvas.Dc(), 5, 10, 20, 10, kRed, kBorderDouble, 1);
    EXPECT_EQ(Row(canvas, 10, 5, 20), std::string(15, '#'));
    EXPECT_EQ(Row(canvas, 11, 5, 20), std::string(15, '.'));
    EXPECT_EQ(Row(canvas, 12, 5, 20), std::string(15, '#'));
    EXPECT_EQ(canvas.CountOf(kRed), 30);

    canvas.Fill(kWhite);
    drawer.DrawLine(canvas.Dc(), 30, 5, 30, 25, kRed, kBorderDouble, 1);
    EXPECT_EQ(Column(canvas, 30, 5, 25), std::string(20, '#'));
    EXPECT_EQ(Column(canvas, 32, 5, 25), std::string(20, '#'));
    EXPECT_EQ(canvas.CountOf(kRed), 40);

    canvas.Fill(kWhite);
    drawer.DrawLine(canvas.Dc(), 0, 0, 10, 10, kRed, kBorderDouble, 1);
    EXPECT_EQ(canvas.Pixel(5, 5), kRed);
    EXPECT_EQ(canvas.Pixel(7, 7), kRed) << "the second diagonal starts at (2, 2)";
    EXPECT_EQ(canvas.Pixel(11, 11), kRed);
    EXPECT_EQ(canvas.Pixel(12, 12), kWhite);
}

TEST(BorderLines, NoStyleOrNoWidthDrawsNothing) {
    Canvas canvas(20, 20);
    CDrawManager drawer;
    drawer.DrawLine(canvas.Dc(), 0, 5, 19, 5, kBlack, kBorderNone, 3);
    drawer.DrawLine(canvas.Dc(), 0, 5, 19, 5, kBlack, kBorderSolid, 0);
    drawer.DrawLine(canvas.Dc(), 0, 5, 19, 5, kBlack, kBorderSolid, -4);
    drawer.DrawFrame(canvas.Dc(), RECT{0, 0, 20, 20}, kBlack, kBlack, kBorderNone, 1);
    drawer.DrawFrame(canvas.Dc(), RECT{0, 0, 20, 20}, kBlack, kBlack, kBorderDouble, 0);
    EXPECT_EQ(canvas.CountOtherThan(kWhite), 0);
}

TEST(BorderLines, WideLinesAndUnknownStylesAreSolid) {
    Canvas canvas(30, 20);
    CDrawManager drawer;
    drawer.DrawLine(canvas.Dc(), 2, 10, 28, 10, kBlack, 9, 3);
    EXPECT_EQ(Row(canvas, 10, 3, 27), std::string(24, '#'));
    EXPECT_EQ(Column(canvas, 15, 8, 13), ".###.");
}

TEST(BorderFrames, LightOnTopAndLeftDarkOnBottomAndRightInsideTheRectangle) {
    Canvas canvas(20, 20);
    CDrawManager drawer;
    drawer.DrawFrame(canvas.Dc(), RECT{5, 5, 15, 12}, kRed, kBlue, kBorderSolid, 1);
    for (int y = 5; y < 12; ++y) {
        EXPECT_EQ(canvas.Pixel(5, y), kRed) << y;
        EXPECT_EQ(canvas.Pixel(14, y), kBlue) << y;
    }
    for (int x = 5; x < 14; ++x)
        EXPECT_EQ(canvas.Pixel(x, 5), kRed) << x;
    for (int x = 6; x < 15; ++x)
        EXPECT_EQ(canvas.Pixel(x, 11), kBlue) << x;
    EXPECT_EQ(canvas.CountOtherThanOutside(kWhite, RECT{5, 5, 15, 12}), 0);
    EXPECT_EQ(canvas.CountOf(kRed) + canvas.CountOf(kBlue), 2 * 10 + 2 * 5);
    EXPECT_EQ(canvas.Pixel(8, 8), kWhite);
}

TEST(BorderFrames, DoubleFrameAddsAnInnerFrameTwoWidthsInside) {
    Canvas canvas(20, 20);
    CDrawManager drawer;
    drawer.DrawFrame(canvas.Dc(), RECT{2, 2, 18, 18}, kRed, kBlue, kBorderDouble, 1);
    EXPECT_EQ(Row(canvas, 10, 0, 20), "..#.#..........#.#..");
    EXPECT_EQ(canvas.Pixel(4, 10), kRed);
    EXPECT_EQ(canvas.Pixel(15, 10), kBlue);
    EXPECT_EQ(canvas.Pixel(10, 4), kRed);
    EXPECT_EQ(canvas.Pixel(10, 15), kBlue);
}

TEST(BorderFrames, WideFrameIsInsetByHalfItsWidth) {
    Canvas canvas(20, 20);
    CDrawManager drawer;
    drawer.DrawFrame(canvas.Dc(), RECT{3, 3, 17, 17}, kRed, kRed, kBorderSolid, 3);
    EXPECT_EQ(Row(canvas, 10, 0, 20), "...###........###...");
    EXPECT_EQ(Column(canvas, 10, 0, 20), "...###........###...");
}

TEST(BorderFrames, BrokenStylesHaveGapsAlongTheEdges) {
    for (const int style : {kBorderDashed, kBorderDotted, kBorderDashDot, kBorderDashDotDot}) {
        Canvas canvas(100, 100);
        CDrawManager drawer;
        drawer.DrawFrame(canvas.Dc(), RECT{0, 0, 100, 100}, kRed, kBlue, style, 1);
        const std::string top = Row(canvas, 0, 0, 99);
        const std::string right = Column(canvas, 99, 0, 100);
        EXPECT_NE(top.find('.'), std::string::npos) << style;
        EXPECT_NE(top.find('#'), std::string::npos) << style;
        EXPECT_NE(right.find('.'), std::string::npos) << style;
        EXPECT_NE(right.find('#'), std::string::npos) << style;
    }
}

TEST(BorderFrames, FramesPartlyOutsideAndTinyFramesStayInBounds) {
    Canvas canvas(10, 10);
    CDrawManager drawer;
    drawer.DrawFrame(canvas.Dc(), RECT{-5, -5, 5, 5}, kRed, kBlue, kBorderDouble, 2);
    drawer.DrawFrame(canvas.Dc(), RECT{8, 8, 30, 30}, kRed, kBlue, kBorderSolid, 4);
    drawer.DrawFrame(canvas.Dc(), RECT{6, 6, 6, 6}, kRed, kBlue, kBorderSolid, 1);
    drawer.DrawFrame(canvas.Dc(), RECT{7, 7, 3, 3}, kRed, kBlue, kBorderSolid, 1);
    EXPECT_GT(canvas.CountOf(kBlue), 0);
    EXPECT_GT(canvas.CountOf(kRed), 0);
    EXPECT_EQ(canvas.Pixel(6, 6), kWhite);
    EXPECT_TRUE(canvas.GuardsIntact());

    canvas.Fill(kWhite);
    drawer.DrawFrame(canvas.Dc(), RECT{1, 1, 2, 9}, kRed, kBlue, kBorderSolid, 1);
    EXPECT_EQ(Column(canvas, 1, 0, 10), ".########.") << "a one-pixel-wide frame is one column";
}

TEST(BorderFrames, LeavesTheDeviceContextAsItWas) {
    Canvas canvas(20, 20);
    const HGDIOBJ pen = ::GetCurrentObject(canvas.Dc(), OBJ_PEN);
    ::MoveToEx(canvas.Dc(), 7, 3, nullptr);
    CDrawManager drawer;
    drawer.DrawFrame(canvas.Dc(), RECT{2, 2, 18, 18}, kRed, kBlue, kBorderDouble, 1);
    drawer.DrawLine(canvas.Dc(), 1, 1, 9, 9, kRed, kBorderDashed, 1);
    POINT position{};
    ::GetCurrentPositionEx(canvas.Dc(), &position);
    EXPECT_EQ(position.x, 7);
    EXPECT_EQ(position.y, 3);
    EXPECT_EQ(::GetCurrentObject(canvas.Dc(), OBJ_PEN), pen);
}
