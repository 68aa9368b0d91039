#include "richtext/style_sheet.h"

#include "richtext/html_tokenizer.h"

namespace richtext {
namespace {

constexpr std::wstring_view kDefaultSheet =
    L"body {font-size: 10pt; color:black; font-family:Verdana}\r\n"
    L"p {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
    L"h1 {font-size: 14pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
    L"h2 {font-size: 13pt; color:#ff9900; font-family:Verdana; font-weight:bold}\r\n"
    L"h3 {font-size: 12pt; color:#ff9900; font-family:Arial; font-weight:bold}\r\n"
    L"h4 {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
    L"h5 {font-size: 9pt; color:#ff9900; font-family:Verdana; font-weight:bold}\r\n"
    L"h6 {font-size: 65%; color:#626262; font-family:Verdana; font-weight:normal}\r\n"
    L"pre {font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb}\r\n"
    L"code {color:#990000; font-family:Arial}\r\n"
    L"a:link {text-decoration:none; color:blue}\r\n"
    L"a:hover {text-decoration:underline; color:blue}\r\n"
    L"sub {font-size:65%; vertical-align:bottom}\r\n"
    L"sup {font-size:65%; vertical-align:top}\r\n"
    L"big {font-size:125%}\r\n"
    L"small {font-size:75%}\r\n"
    L".cpp-comment {color:green; font-style:italic}\r\n";

} // namespace

StyleSheet::StyleSheet() {
    LoadStyleSheet();
}

std::wstring_view StyleSheet::DefaultText() {
    return kDefaultSheet;
}

void StyleSheet::LoadStyleSheet(std::wstring_view text) {
    rules_.clear();
    ReadRules(text.empty() ? kDefaultSheet : text);
}

void StyleSheet::SetStyleRule(std::wstring_view selector, std::wstring_view declarations) {
    rules_.insert_or_assign(std::wstring(selector), std::wstring(declarations));
}

const std::wstring* StyleSheet::Find(std::wstring_view selector) const {
    const auto found = rules_.find(selector);
    return found == rules_.end() ? nullptr : &found->second;
}

// selector, blanks, "{", declarations, "}"; anything between rules that cannot start a selector
// is passed over. A rule without "{" ends the sheet; one without "}" runs to the end.
void StyleSheet::ReadRules(std::wstring_view text) {
    size_t i = 0;
    while (i < text.size()) {
        std::wstring_view selector;
        if (!ReadName(text, i, L'{', selector))
            return;
        const size_t open = text.find(L'{', i);
        if (open == std::wstring_view::npos)
            return;
        size_t close = text.find(L'}', open + 1);
        if (close == std::wstring_view::npos)
            close = text.size();
        SetStyleRule(selector, text.substr(open + 1, close - open - 1));
        i = close + 1;
    }
}

} // namespace richtext
