#pragma once
// Cutting a prepared text into flow blocks and table blocks, and a table block into its rows and
// cells. Everything is a view into the text that was cut.

#include <string_view>
#include <vector>

namespace richtext {

struct TextBlock {
    std::wstring_view text;
    bool isTable = false;
};

// The blocks of `text` in order: the text before each "table" tag is a flow block; the table
// runs to the "/table" that matches it (nested tables counted) or to the end of the text.
std::vector<TextBlock> SplitBlocks(std::wstring_view text);

struct CellMarkup {
    std::wstring_view attributes;
    std::wstring_view content;
};

struct RowMarkup {
    std::wstring_view attributes;
    std::vector<CellMarkup> cells;
};

struct TableMarkup {
    std::wstring_view attributes;
    std::vector<RowMarkup> rows;
};

// The rows and cells of one table block. A cell's content runs to its "/td", or to the next
// cell, row or the table's end; text outside cells is dropped, and a cell outside any row opens
// one.
TableMarkup ReadTableMarkup(std::wstring_view block);

} // namespace richtext
