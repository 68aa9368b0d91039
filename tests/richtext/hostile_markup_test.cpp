// Markup written to exhaust the label, drawn as the label draws it, ends within bounded memory;
// its time against plain text is the benchmark's concern (bench/richtext_hostile).

#include "bench/support/hostile_markup.h"
#include "richtext/html_drawer.h"
#include "tests/richtext/canvas.h"
#include "bench/support/peak_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using bench::kMegabyte;
using bench::PeakGrowth;

namespace {

constexpr size_t kMemoryBound = 64 * kMegabyte;

// A measure for the width of the canvas, a draw, and the mouse over every tenth hot area with
// the redraw that follows, as the label does.
void DrawLikeTheLabel(CHtmlDrawer& drawer, testing_canvas::Canvas& canvas,
                      const std::wstring& markup) {
    drawer.SetMaxWidth(canvas.Width() - 1);
    const SIZE size = drawer.MeasureMarkup(canvas.Dc(), markup);
    const RECT rect{0, 0, std::min<LONG>(size.cx, canvas.Width()), size.cy};
    drawer.DrawMarkup(canvas.Dc(), rect);
    const std::vector<HotArea> areas = drawer.HotAreas();
    for (size_t i = 0; i < areas.size(); i += std::max<size_t>(areas.size() / 10, 1))
        if (drawer.TrackMouse(POINT{areas[i].rect.left, areas[i].rect.top}))
            drawer.DrawMarkup(canvas.Dc(), rect);
}

} // namespace

TEST(HostileMarkup, KnownCasesAndGeneratedMarkupDrawWithinBoundedMemory) {
    testing_canvas::Canvas canvas(400, 300);
    std::vector<hostile::Case> cases = hostile::KnownCases();
    hostile::Generator generator(20261206);
    for (int i = 0; i < 24; ++i)
        cases.push_back({"generated", generator.Next(64 * 1024)});
    for (size_t i = 0; i < cases.size(); ++i) {
        CHtmlDrawer drawer;
        const size_t growth =
            PeakGrowth([&] { DrawLikeTheLabel(drawer, canvas, cases[i].markup); });
        EXPECT_LT(growth, kMemoryBound) << cases[i].name << " " << i;
    }
}
