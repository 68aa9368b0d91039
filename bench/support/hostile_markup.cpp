#include "bench/support/hostile_markup.h"

#include <iterator>

namespace hostile {
namespace {

std::wstring Times(std::wstring_view piece, size_t count) {
    std::wstring text;
    text.reserve(piece.size() * count);
    for (size_t i = 0; i < count; ++i)
        text += piece;
    return text;
}

std::wstring Table(std::wstring_view cellAttributes, std::wstring_view content) {
    return L"<table><tr><td " + std::wstring(cellAttributes) + L">" + std::wstring(content) +
           L"</td></tr></table>";
}

// A surrogate pair (an emoji) and a lone high surrogate.
constexpr wchar_t kPair[] = L"\U0001F600";
constexpr wchar_t kLoneHigh[] = L"\xD83D";

} // namespace

std::vector<Case> KnownCases() {
    std::vector<Case> cases;
    cases.push_back(
        {"long link over many lines", L"<a href='" + std::wstring(1000000, L'h') + L"'>" +
                                          Times(L"a line of the link<br>", 1200) + L"</a>"});
    cases.push_back({"stacked tall tables", Times(Table(L"height=2000000000", L"x"), 5)});
    cases.push_back(
        {"noise cell 12000 x 12000", Table(L"width=12000 height=12000 bgeffect=noise", L"x")});
    cases.push_back(
        {"vshade cell 20000000 x 2", Table(L"width=20000000 height=2 bgeffect=vshade", L"x")});
    cases.push_back({"forced breaks in surrogate pairs", Times(kPair, 200000)});
    cases.push_back({"one long line at 1 px", L"<font size=1px>" + Times(L"a ", 500000)});
    return cases;
}

std::wstring PlainText(size_t size) {
    static constexpr std::wstring_view kSentence =
        L"The licensee may install the product on every computer of the household. ";
    std::wstring text;
    text.reserve(size + kSentence.size());
    while (text.size() < size)
        text += kSentence;
    text.resize(size);
    return text;
}

size_t Generator::Below(size_t n) {
    return std::uniform_int_distribution<size_t>(0, n - 1)(random_);
}

std::wstring Generator::Next(size_t size) {
    std::wstring text;
    while (text.size() < size)
        AppendPiece(text);
    return text;
}

void Generator::AppendPiece(std::wstring& text) {
    static const wchar_t* const kWords[] = {L"plain words ", L"<br>", L"<br=1000>", L"<t=1000>",
                                            L"&amp;lt;",     L"<<",   L"<",         L"</b>",
                                            L"</a>"};
    switch (Below(9)) {
    case 0:
        AppendNesting(text);
        break;
    case 1: // a long attribute value
        text += Below(2) ? L"<font face='" : L"<span class='";
        text.append(1000 + Below(100000), L'F');
        text += L"'>styled";
        break;
    case 2: // a long link over several pieces
        text += L"<a href='" + std::wstring(1000 + Below(300000), L'h') + L"'>" +
                Times(L"link piece<br>", 1 + Below(200)) + L"</a>";
        break;
    case 3: // huge sizes
        text += L"<font size=" + std::to_wstring(Below(3000000)) + L"px>W</font><hr size=" +
                std::to_wstring(Below(100000000)) + L" width=" + std::to_wstring(Below(100000)) +
                L"%>";
        break;
    case 4:
        AppendTable(text, 0);
        break;
    case 5:
        AppendImage(text);
        break;
    case 6:
        AppendSurrogates(text);
        break;
    default:
        text += kWords[Below(std::size(kWords))];
        break;
    }
}

void Generator::AppendNesting(std::wstring& text) {
    static const wchar_t* const kOpen[] = {
        L"<b>", L"<i>", L"<font size=+1>", L"<a href=x>", L"<span class=x>", L"<table><tr><td>"};
    const wchar_t* open = kOpen[Below(std::size(kOpen))];
    text += Times(open, Below(6000));
    text += L"deep";
}

// Tables inside tables: one cell of each table holds the next, down to 40 levels.
void Generator::AppendTable(std::wstring& text, int depth) {
    static const wchar_t* const kCell[] = {
        L"width=2000000000", L"height=2000000000", L"colspan=100000", L"rowspan=100000",
        L"bgeffect=",        L"width=100%",        L"valign=middle",  L"border=1000000"};
    text += L"<table cellpadding=" + std::to_wstring(Below(2000000)) + L" cellspacing=" +
            std::to_wstring(Below(2000000)) + L" bgeffect=" + std::to_wstring(Below(16)) + L">";
    const size_t rows = 1 + Below(4), cells = 1 + Below(4);
    const size_t nested = depth < 40 && Below(4) != 0 ? Below(rows * cells) : rows * cells;
    for (size_t row = 0; row < rows; ++row) {
        text += L"<tr>";
        for (size_t cell = 0; cell < cells; ++cell) {
            std::wstring attributes = kCell[Below(std::size(kCell))];
            if (attributes == L"bgeffect=")
                attributes += std::to_wstring(Below(16)) + L" width=" +
                              std::to_wstring(Below(30000)) + L" height=" +
                              std::to_wstring(Below(30000));
            text += L"<td " + attributes + L">";
            if (row * cells + cell == nested)
                AppendTable(text, depth + 1);
            else
                text += L"cell";
            text += L"</td>";
        }
        text += L"</tr>";
    }
    text += L"</table>";
}

// Pictures the drawing process always has: the system's user library holds window-part
// bitmaps and the stock icons.
void Generator::AppendImage(std::wstring& text) {
    static const wchar_t* const kSource[] = {L"<bmp srcdll=user32.dll iddll=32754",
                                             L"<icon srcdll=user32.dll iddll=32512",
                                             L"<ilst srcdll=user32.dll iddll=32754 cx=1 speed=1"};
    text += kSource[Below(std::size(kSource))];
    text += L" width=" + std::to_wstring(Below(100000)) + L" height=" +
            std::to_wstring(Below(100000)) + (Below(2) ? L" style=gs>" : L" hotstyle=ls>");
}

void Generator::AppendSurrogates(std::wstring& text) {
    for (size_t n = Below(20000); n > 0; --n) {
        switch (Below(8)) {
        case 0:
            text += kLoneHigh;
            break;
        case 1:
            text += L"<b>";
            break;
        default:
            text += kPair;
            break;
        }
    }
}

} // namespace hostile
