#pragma once
// A drawer with a fixed body style laid out on a real memory device context.

#include "richtext/html_drawer.h"
#include "tests/richtext/canvas.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace layout_test {

constexpr wchar_t kBody[] = L"font-family:Tahoma; font-size:16px; color:black";

class LayoutTest : public ::testing::Test {
protected:
    LayoutTest() : canvas_(400, 300) { drawer_.SetStyleRule(L"body", kBody); }

    SIZE Measure(std::wstring_view text, int maxWidth = 0) {
        drawer_.SetMaxWidth(maxWidth);
        return drawer_.MeasureMarkup(canvas_.Dc(), text);
    }
    // Width of `text` alone on one line.
    int WidthOf(std::wstring_view text) {
        CHtmlDrawer other;
        other.SetStyleRule(L"body", kBody);
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
        for (int x = canvas_.Width() - 1; x >= 0; --x) {
            const RECT column{x, top, x + 1, bottom};
            if (canvas_.CountOtherThan(RGB(255, 255, 255), &column) > 0)
                return x;
        }
        return -1;
    }
    // The hot area of the link whose target is `target`.
    RECT AreaOf(std::wstring_view target) const {
        for (const HotArea& area : drawer_.HotAreas())
            if (area.target == target)
                return area.rect;
        ADD_FAILURE() << "no hot area for a target of " << target.size() << " characters";
        return RECT{};
    }

    CHtmlDrawer drawer_;
    testing_canvas::Canvas canvas_;
};

} // namespace layout_test
