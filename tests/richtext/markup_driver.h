#pragma once
// Drives the markup parser over a text the way a layout pass does and records what it yields.

#include "richtext/css_length.h"
#include "richtext/html_parser.h"

#include <string>
#include <string_view>
#include <vector>

namespace markup_test {

struct Run {
    std::wstring text;
    richtext::HtmlStyle style;
};

struct PassRecord {
    std::vector<Run> runs;
    std::vector<richtext::MarkupAction> actions; // every action but None and StyleChanged
};

// 96 pixels per inch, a font 16 pixels high, "x" 8 pixels high.
const richtext::CssMetrics& TestMetrics();

// Prepares `text` and runs one pass over it.
PassRecord RunPass(richtext::MarkupParser& parser, std::wstring_view text);

// All runs of a pass joined.
std::wstring VisibleText(const PassRecord& pass);

} // namespace markup_test
