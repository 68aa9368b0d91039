#pragma once
// A drawer with a fixed body style laid out on a real memory device context.

#include "richtext/html_drawer.h"
#include "tests/richtext/canvas.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace layout_test {

class LayoutTest : public ::testing::Test {
protected:
    LayoutTest() : canvas_(400, 300) {
        drawer_.SetStyleRule(L"body", L"font-family:Tahoma; font-size:16px; color:black");
    }

    SIZE Measure(std::wstring_view text, int maxWidth = 0) {
        drawer_.SetMaxWidth(maxWidth);
        return drawer_.MeasureMarkup(canvas_.Dc(), text);
    }
    // Width of `text` alone on one line.
    int WidthOf(std::wstring_view text) {
        CHtmlDrawer other;
        other.SetStyleRule(L"body", L"font-family:Tahoma; font-size:16px; color:black");
        return other.MeasureMarkup(canvas_.Dc(), text).cx - 1;
    }
    // Measures with `maxWidth`, then draws into a rectangle `rectWidth` wide (default the
    // maximum width) at the canvas's origin.
    SIZE MeasureAndDraw(std::wstring_view text, int maxWidth = 0, int rectWidth = 0) {
        const SIZE size = Measure(text, maxWidth);
        canvas_.Fill(RGB(255, 255, 255));
        const int width = rectWidth ? rectWidth : (maxWidth ? maxWidth : size.cx);
        drawer_.DrawMarkup(canvas_.Dc(), RECT{0, 0, width, size.cy});
        return size;
    }
    // The rightmost column in rows top..bottom (exclusive) that is not white; -1 for none.
    int RightmostInk(int top, int bottom) const {
        for (int x = canvas_.Width() - 1; x >= 0; --x)
            for (int y = std::max(top, 0); y < bottom && y < canvas_.Height(); ++y)
                if (canvas_.Pixel(x, y) != RGB(255, 255, 255))
                    return x;
        return -1;
    }
    int CountColour(const RECT& rect, COLORREF colour) const {
        int count = 0;
        for (int y = std::max<int>(rect.top, 0); y < rect.bottom && y < canvas_.Height(); ++y)
            for (int x = std::max<int>(rect.left, 0); x < rect.right && x < canvas_.Width(); ++x)
                if (canvas_.Pixel(x, y) == colour)
                    ++count;
        return count;
    }

    CHtmlDrawer drawer_;
    testing_canvas::Canvas canvas_;
};

} // namespace layout_test
