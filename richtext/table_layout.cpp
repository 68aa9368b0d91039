#include "richtext/table_layout.h"

#include "richtext/layout_coordinates.h"

#include <algorithm>

namespace richtext {
namespace {

// Slots a table may mark as covered; beyond it further cells span one slot only.
constexpr long long kCoverBudget = 16 * 1024 * 1024;

int Clamp(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

int FirstFreeColumn(const std::vector<bool>& covered, int from) {
    int column = from;
    while (column < static_cast<int>(covered.size()) && covered[column])
        ++column;
    return column;
}

void Cover(std::vector<std::vector<bool>>& covered, const CellPlacement& cell) {
    for (int r = cell.row; r < cell.row + cell.rowspan; ++r) {
        std::vector<bool>& row = covered[r];
        if (static_cast<int>(row.size()) < cell.column + cell.colspan)
            row.resize(cell.column + cell.colspan, false);
        std::fill(row.begin() + cell.column, row.begin() + cell.column + cell.colspan, true);
    }
}

} // namespace

std::vector<CellPlacement> PlaceCells(const std::vector<std::vector<CellSpan>>& rows,
                                      int& columnCount) {
    std::vector<CellPlacement> placements;
    std::vector<std::vector<bool>> covered(rows.size());
    const int rowCount = static_cast<int>(rows.size());
    long long budget = kCoverBudget;
    columnCount = 0;
    for (int r = 0; r < rowCount; ++r) {
        int column = 0;
        for (const CellSpan& span : rows[r]) {
            CellPlacement cell;
            cell.row = r;
            column = FirstFreeColumn(covered[r], column);
            if (column >= kMaxTableColumns) {
                placements.push_back(cell);
                continue;
            }
            cell.column = column;
            cell.colspan =
                Clamp(span.colspan, 1, std::min(kMaxTableSpan, kMaxTableColumns - column));
            cell.rowspan = Clamp(span.rowspan, 1, std::min(kMaxTableSpan, rowCount - r));
            const long long slots = static_cast<long long>(cell.colspan) * cell.rowspan;
            if (slots > budget)
                cell.colspan = cell.rowspan = 1;
            budget -=
                std::min<long long>(budget, static_cast<long long>(cell.colspan) * cell.rowspan);
            Cover(covered, cell);
            column += cell.colspan;
            columnCount = std::max(columnCount, column);
            placements.push_back(cell);
        }
    }
    return placements;
}

Tracks SizeTracks(int count, std::vector<TrackDemand> demands) {
    Tracks tracks;
    tracks.sizes.assign(std::max(count, 0), 0);
    tracks.fixed.assign(std::max(count, 0), false);
    std::stable_sort(demands.begin(), demands.end(),
                     [](const TrackDemand& a, const TrackDemand& b) { return a.span < b.span; });
    for (const TrackDemand& demand : demands) {
        if (demand.first < 0 || demand.span < 1 || demand.first + demand.span > count)
            continue;
        if (demand.fixed)
            std::fill_n(tracks.fixed.begin() + demand.first, demand.span, true);
        if (demand.span == 1) {
            int& size = tracks.sizes[demand.first];
            size = std::max(size, demand.size);
            continue;
        }
        long long sum = 0;
        for (int i = demand.first; i < demand.first + demand.span; ++i)
            sum += tracks.sizes[i];
        if (sum >= demand.size)
            continue;
        const long long shortfall = demand.size - sum;
        const int share = static_cast<int>(shortfall / demand.span);
        for (int i = demand.first; i < demand.first + demand.span; ++i)
            tracks.sizes[i] += share;
        tracks.sizes[demand.first + demand.span - 1] += static_cast<int>(shortfall % demand.span);
    }
    return tracks;
}

bool ShareSurplus(Tracks& tracks, int surplus) {
    int open = static_cast<int>(std::count(tracks.fixed.begin(), tracks.fixed.end(), false));
    if (open == 0 || surplus <= 0)
        return open != 0;
    int left = surplus;
    for (size_t i = 0; i < tracks.sizes.size(); ++i) {
        if (tracks.fixed[i])
            continue;
        const int share = left / open;
        tracks.sizes[i] += share;
        left -= share;
        --open;
    }
    return true;
}

int TableExtent(const std::vector<int>& sizes, int spacing, int outerBorder) {
    const long long count = static_cast<long long>(sizes.size());
    long long extent = 0;
    for (int size : sizes)
        extent += size; // at most kMaxTableColumns sizes of at most an int each
    extent += (count + 1) * spacing + std::max<long long>(count - 1, 0) + 2LL * outerBorder;
    return ClampCoordinate(extent);
}

std::vector<int> TrackOffsets(const std::vector<int>& sizes, int spacing, int outerBorder) {
    std::vector<int> offsets;
    offsets.reserve(sizes.size());
    long long offset = static_cast<long long>(outerBorder) + spacing;
    for (int size : sizes) {
        offsets.push_back(ClampCoordinate(offset));
        offset += static_cast<long long>(size) + spacing + 1;
    }
    return offsets;
}

int SpanExtent(const std::vector<int>& sizes, int first, int span, int spacing) {
    long long extent = static_cast<long long>(span - 1) * (spacing + 1);
    for (int i = first; i < first + span && i < static_cast<int>(sizes.size()); ++i)
        extent += sizes[i];
    return ClampCoordinate(extent);
}

} // namespace richtext
