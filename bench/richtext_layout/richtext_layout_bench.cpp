// Measure and draw of a 20 KB and a 200 KB marked-up text (paragraphs, links and tables) in a
// 400-pixel-wide layout on a memory device context. The 200 KB figure is its time per byte
// against the 20 KB time per byte: about 1 means the layout grows no worse than linearly.

#include "bench/support/bench_report.h"
#include "bench/support/memory_surface.h"
#include "platform/gdi.h"
#include "richtext/html_drawer.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace {

constexpr int kWidth = 400;
constexpr int kSurfaceHeight = 600;
constexpr size_t kKilobyte = 1024;
constexpr int kRuns = 7;
// Layouts per timed run, so that both sizes are timed over about the same stretch of time and a
// busy machine disturbs the small one no more than the large one.
constexpr int kSmallRepeats = 10;
constexpr int kLargeRepeats = 1;

// One section of a release-notes page: a heading, wrapped text with both kinds of link, a list
// and a small table with a spanning cell.
std::wstring Section(int number) {
    const std::wstring n = std::to_wstring(number);
    return L"<h2>Release " + n +
           L"</h2>\r\n"
           L"This release of <b>Velk Studio</b> brings faster start-up, a new "
           L"<a href=\"http://127.0.0.1/notes/" +
           n + L"\">change log</a> and the <i>usual</i> fixes; see <a msg=\"details " + n +
           L"\">the details</a> for what changed in the file formats, the printing of long "
           L"documents and the <font color=#008000>spelling checker</font>.<br>"
           L"<t>&bull; Opens projects of earlier releases.<br>"
           L"<t>&bull; Saves <u>twice as fast</u> on network drives.<br>"
           L"<table border=1 cellpadding=3 bordercolor=#808080>"
           L"<tr><td colspan=2 bgcolor=#e0e8f0><b>Component</b></td><td>Size</td></tr>"
           L"<tr><td>Editor</td><td>core</td><td align=right>12 MB</td></tr>"
           L"<tr><td rowspan=2>Tools</td><td>spell</td><td align=right>3 MB</td></tr>"
           L"<tr><td>print</td><td align=right>1 MB</td></tr>"
           L"</table>\r\n";
}

// Long runs between tags: a paragraph whose links are far apart, so every line is cut from a
// long run.
std::wstring LongParagraph(int number) {
    std::wstring text = L"Paragraph " + std::to_wstring(number) + L": ";
    for (int i = 0; i < 40; ++i)
        text += L"the wizard checks every installed product, asks the maker's server and ";
    return text + L"<a href=\"http://127.0.0.1/\">opens the page</a>. ";
}

// Plain text without a single tag, such as a licence: one run as long as the whole text.
std::wstring PlainSentence(int) {
    return L"The licensee may install the product on every computer of the household. ";
}

// Rows of one big table.
std::wstring TableRow(int number) {
    const std::wstring n = std::to_wstring(number);
    return L"<tr><td>Product " + n + L"</td><td><a msg=\"row " + n +
           L"\">details</a></td><td align=right>" + n + L" KB</td></tr>";
}

template <typename Piece>
std::wstring MarkupOfSize(size_t size, Piece piece, std::wstring_view before = {},
                          std::wstring_view after = {}) {
    std::wstring text(before);
    for (int number = 1; text.size() + after.size() < size; ++number)
        text += piece(number);
    return text + std::wstring(after);
}

volatile LONG g_sink;

void MeasureAndDraw(CHtmlDrawer& drawer, HDC dc, const std::wstring& text) {
    drawer.SetMaxWidth(kWidth);
    const SIZE size = drawer.MeasureMarkup(dc, text);
    const RECT rect{0, 0, size.cx, size.cy};
    drawer.DrawMarkup(dc, rect);
    g_sink = size.cy + static_cast<LONG>(drawer.HotAreas().size());
}

double SecondsPerByte(const std::wstring& text, HDC dc, int repeats) {
    CHtmlDrawer drawer;
    MeasureAndDraw(drawer, dc, text); // warms the font cache
    const double seconds = bench::MedianSeconds(kRuns, [&] {
        for (int i = 0; i < repeats; ++i)
            MeasureAndDraw(drawer, dc, text);
    });
    return seconds / repeats / static_cast<double>(text.size());
}

// The 200 KB time per byte against the 20 KB time per byte of one kind of text.
template <typename Make>
void Report(HDC dc, const char* kind, Make make) {
    const std::wstring small = make(20 * kKilobyte);
    const std::wstring large = make(200 * kKilobyte);
    const double smallPerByte = SecondsPerByte(small, dc, kSmallRepeats);
    const double largePerByte = SecondsPerByte(large, dc, kLargeRepeats);
    // Both figures in seconds for 20 KB, so the printed times compare directly.
    const double smallBytes = static_cast<double>(small.size());
    char figure[96];
    std::snprintf(figure, sizeof figure, "%s, 200 KB per byte", kind);
    bench::PrintRatio(figure, largePerByte * smallBytes, "20 KB time per byte",
                      smallPerByte * smallBytes);
}

} // namespace

int wmain() {
    const bench::MemorySurface surface(kWidth, kSurfaceHeight);
    if (!surface.IsValid()) {
        std::printf("no memory surface\n");
        return 1;
    }
    Report(surface.Dc(), "sections", [](size_t size) { return MarkupOfSize(size, Section); });
    Report(surface.Dc(), "long paragraphs",
           [](size_t size) { return MarkupOfSize(size, LongParagraph); });
    Report(surface.Dc(), "one untagged run",
           [](size_t size) { return MarkupOfSize(size, PlainSentence); });
    Report(surface.Dc(), "one big table", [](size_t size) {
        return MarkupOfSize(size, TableRow, L"<table border=1 cellpadding=2>", L"</table>");
    });
    return 0;
}
