#pragma once
// The grid of a table: which slots its cells take, and the widths of its columns and the heights
// of its rows from the sizes the cells ask for.

#include <vector>

namespace richtext {

// Bounds that keep hostile tables from costing more memory or time than real ones ever need.
inline constexpr int kMaxTableColumns = 1024;
inline constexpr int kMaxTableSpan = 1024;

struct CellSpan {
    int colspan = 1;
    int rowspan = 1;
};

// Where a cell sits. A cell that finds no free column within the bounds has column -1 and is
// left out of the table.
struct CellPlacement {
    int row = 0;
    int column = -1;
    int colspan = 1;
    int rowspan = 1;
};

// Places the cells row by row: each takes the first slot of its row that no cell above spans
// into, and covers its spans. Spans are kept within the grid (rowspan within the rows there are).
std::vector<CellPlacement> PlaceCells(const std::vector<std::vector<CellSpan>>& rows,
                                      int& columnCount);

// What one cell asks of the columns (or rows) it spans.
struct TrackDemand {
    int first = 0;
    int span = 1;
    int size = 0;
    bool fixed = false; // the cell gives its own width (height)
};

struct Tracks {
    std::vector<int> sizes;
    std::vector<bool> fixed;
};

// Sizes `count` tracks in rounds of growing span: single cells set a minimum, spanning cells
// share what their tracks lack equally, the remainder going to the last track.
Tracks SizeTracks(int count, std::vector<TrackDemand> demands);

// Shares `surplus` pixels among the tracks not fixed, each taking what is left divided by the
// tracks still to serve. False when every track is fixed (nothing taken).
bool ShareSurplus(Tracks& tracks, int surplus);

// The outer size of a table: tracks, the spacing around and between them, one pixel between
// neighbours, and the border on both sides.
int TableExtent(const std::vector<int>& sizes, int spacing, int outerBorder);

// Offset of every track from the table's edge, and the extent of `span` tracks from `first`.
std::vector<int> TrackOffsets(const std::vector<int>& sizes, int spacing, int outerBorder);
int SpanExtent(const std::vector<int>& sizes, int first, int span, int spacing);

} // namespace richtext
