// The table blocks of CHtmlDrawer: the grid is measured with the cells' content in the measure
// pass and drawn from that record, cell by cell in the same order, in the draw pass.

#include "richtext/html_drawer.h"

#include "platform/gdi.h"
#include "richtext/html_table_attributes.h"
#include "richtext/layout_blocks.h"
#include "richtext/layout_coordinates.h"
#include "richtext/table_layout.h"

#include <algorithm>

using namespace richtext;

namespace {

// A table's own border: styles other than solid are one pixel wide, and no border is wider than
// a rule may be thick.
int TableBorder(const HtmlStyle& style) {
    if (style.borderStyle == kBorderNone || style.borderWidth <= 0)
        return 0;
    return style.borderStyle == kBorderSolid
               ? std::min(style.borderWidth, CHtmlDrawer::kMaxRuleThickness)
               : 1;
}

// The border is drawn inside the table; a double one takes three times its width.
int OuterBorder(const HtmlStyle& style) {
    const int border = TableBorder(style);
    return style.borderStyle == kBorderDouble ? 3 * border : border;
}

int CellBorder(const HtmlStyle& style) {
    return std::min(TableBorder(style), 1);
}

int CellInset(const HtmlStyle& style) {
    return SumOf(CellBorder(style), std::max(style.cellPadding, 0));
}

int CellSpacing(const HtmlStyle& style) {
    return std::clamp(style.cellSpacing, 0, kMaxCoordinate);
}

// A width or height given in percent counts against `whole`, when there is one.
int OwnSize(int value, bool percent, int whole) {
    if (value <= 0)
        return 0;
    if (!percent)
        return std::min(value, kMaxCoordinate);
    return whole > 0 ? ClampCoordinate(static_cast<long long>(whole) * value / 100) : 0;
}

// A table's or cell's own width and height belong to it alone: inherited, a table's width would
// become every cell's minimum width. The same holds for the table's background bitmap.
void ForgetOwnSize(HtmlStyle& style) {
    style.cellWidth = style.cellHeight = 0;
    style.cellWidthPercent = style.cellHeightPercent = false;
    style.backgroundImage = SharedText();
}

// Opens one of the table's elements and closes it again, whatever its content left open; when
// the element could not be opened, the style is put back as it was.
class ElementScope {
public:
    ElementScope(MarkupParser& parser, std::wstring_view key, const CssMetrics& metrics)
        : parser_(parser), depth_(parser.Depth()), saved_(parser.Current()),
          opened_(parser.OpenElement(key, metrics)) {
        ForgetOwnSize(parser.Current());
    }
    ~ElementScope() {
        parser_.CloseTo(depth_);
        if (!opened_)
            parser_.Current() = saved_;
    }
    ElementScope(const ElementScope&) = delete;
    ElementScope& operator=(const ElementScope&) = delete;

private:
    MarkupParser& parser_;
    size_t depth_;
    HtmlStyle saved_;
    bool opened_;
};

} // namespace

SIZE CHtmlDrawer::LayoutTable(std::wstring_view block, const Frame& frame, int nesting) {
    const TableMarkup markup = ReadTableMarkup(block);
    size_t index = 0;
    if (mode_ == Mode::Measure) {
        index = tables_.size();
        tables_.emplace_back();
    } else {
        index = tableIndex_++;
        if (index >= tables_.size())
            return {0, 0}; // the text changed between the passes
    }
    SIZE size{0, 0};
    {
        const DcMetrics metrics(dc_);
        const ElementScope table(parser_, L"table", metrics);
        ApplyTableAttributes(TableElement::Table, markup.attributes, parser_.Current(),
                             parser_.Context(metrics));
        RebuildFont();
        if (mode_ == Mode::Measure) {
            MeasureTable(markup, frame, nesting, index);
            size = tables_[index].size;
        } else {
            size = DrawTable(markup, frame, nesting, index);
        }
    }
    RebuildFont();
    return size;
}

COLORREF CHtmlDrawer::FrameLight(const HtmlStyle& style) const {
    return parser_.Enabled() ? style.borderColorLight : parser_.DisabledColour();
}

COLORREF CHtmlDrawer::FrameDark(const HtmlStyle& style) const {
    return parser_.Enabled() ? style.borderColorDark : parser_.DisabledColour();
}

int CHtmlDrawer::CellMaxWidth(const Frame& frame) const {
    const HtmlStyle& style = parser_.Current();
    return OwnSize(style.cellWidth, style.cellWidthPercent, frame.maxWidth);
}

SIZE CHtmlDrawer::LayoutCellContent(std::wstring_view content, const Frame& frame, int nesting) {
    const SIZE size = LayoutBlocks(content, frame, nesting + 1);
    RebuildFont();
    return size;
}

void CHtmlDrawer::MeasureTable(const TableMarkup& markup, const Frame& frame, int nesting,
                               size_t index) {
    const HtmlStyle tableStyle = parser_.Current();
    const DcMetrics metrics(dc_);
    std::vector<std::vector<CellSpan>> spans;
    std::vector<CellRecord> cells;
    std::vector<SIZE> cellSizes;
    std::vector<bool> fixedWidth, fixedHeight;
    for (const RowMarkup& row : markup.rows) {
        const ElementScope rowScope(parser_, L"tr", metrics);
        ApplyTableAttributes(TableElement::Row, row.attributes, parser_.Current(),
                             parser_.Context(metrics));
        RebuildFont();
        spans.emplace_back();
        for (const CellMarkup& cell : row.cells) {
            const ElementScope cellScope(parser_, L"td", metrics);
            const TableAttributes attributes = ApplyTableAttributes(
                TableElement::Cell, cell.attributes, parser_.Current(), parser_.Context(metrics));
            RebuildFont();
            const HtmlStyle& style = parser_.Current();
            Frame content = frame;
            content.maxWidth = CellMaxWidth(frame);
            CellRecord record;
            record.begin = Marks();
            record.content = LayoutCellContent(cell.content, content, nesting);
            record.end = Marks();
            const long long inset = 2LL * CellInset(style);
            const int ownWidth = OwnSize(style.cellWidth, style.cellWidthPercent, frame.maxWidth);
            const int ownHeight = OwnSize(style.cellHeight, style.cellHeightPercent, 0);
            cellSizes.push_back({SumOf(std::max<int>(ownWidth, record.content.cx), inset),
                                 SumOf(std::max<int>(ownHeight, record.content.cy), inset)});
            fixedWidth.push_back(ownWidth > 0);
            fixedHeight.push_back(ownHeight > 0);
            cells.push_back(record);
            spans.back().push_back({attributes.colspan, attributes.rowspan});
        }
        RebuildFont();
    }

    int columnCount = 0;
    const std::vector<CellPlacement> placements = PlaceCells(spans, columnCount);
    std::vector<TrackDemand> columnDemands, rowDemands;
    for (size_t i = 0; i < placements.size(); ++i) {
        const CellPlacement& p = placements[i];
        if (p.column < 0)
            continue;
        columnDemands.push_back({p.column, p.colspan, cellSizes[i].cx, fixedWidth[i]});
        rowDemands.push_back({p.row, p.rowspan, cellSizes[i].cy, fixedHeight[i]});
    }
    Tracks columns = SizeTracks(columnCount, std::move(columnDemands));
    Tracks rows = SizeTracks(static_cast<int>(spans.size()), std::move(rowDemands));

    const int outer = OuterBorder(tableStyle);
    const int spacing = CellSpacing(tableStyle);
    // The table's own width and height are minimums; what they add is shared like a surplus.
    const int ownWidth = OwnSize(tableStyle.cellWidth, tableStyle.cellWidthPercent, frame.maxWidth);
    const int ownHeight = OwnSize(tableStyle.cellHeight, tableStyle.cellHeightPercent, 0);
    int width = TableExtent(columns.sizes, spacing, outer);
    if (ownWidth > width && ShareSurplus(columns, ownWidth - width))
        width = TableExtent(columns.sizes, spacing, outer);
    int height = TableExtent(rows.sizes, spacing, outer);
    if (ownHeight > height) {
        std::vector<bool> open(rows.sizes.size(), false);
        rows.fixed = open;
        if (ShareSurplus(rows, ownHeight - height))
            height = TableExtent(rows.sizes, spacing, outer);
    }

    TableRecord& record = tables_[index];
    record.columns = std::move(columns.sizes);
    record.fixedColumns = std::move(columns.fixed);
    record.rows = std::move(rows.sizes);
    record.cells = std::move(cells);
    for (const CellPlacement& p : placements) {
        record.cellColumn.push_back(p.column);
        record.cellRow.push_back(p.row);
        record.cellColspan.push_back(p.colspan);
        record.cellRowspan.push_back(p.rowspan);
    }
    record.size = {width, height};
    record.ownWidth = ownWidth > 0;
}

SIZE CHtmlDrawer::DrawTable(const TableMarkup& markup, const Frame& frame, int nesting,
                            size_t index) {
    const TableRecord& record = tables_[index];
    const HtmlStyle tableStyle = parser_.Current();
    const DcMetrics metrics(dc_);
    const int outer = OuterBorder(tableStyle);
    const int spacing = CellSpacing(tableStyle);

    Tracks columns{record.columns, record.fixedColumns};
    int width = record.size.cx;
    int left = frame.left;
    const int surplus = record.ownWidth ? 0 : frame.width - width;
    if (surplus > 0) {
        if (ShareSurplus(columns, surplus))
            width = TableExtent(columns.sizes, spacing, outer);
        else if (tableStyle.horizontalAlign == kAlignCenter)
            left = SumOf(left, surplus / 2);
        else if (tableStyle.horizontalAlign == kAlignRight)
            left = SumOf(left, surplus);
    }
    const RECT tableRect{left, frame.top, SumOf(left, width), SumOf(frame.top, record.size.cy)};
    DrawTableBackground(tableRect, outer);
    const int border = TableBorder(tableStyle);
    if (border > 0)
        PaintFrame(dc_, tableRect, FrameLight(tableStyle), FrameDark(tableStyle),
                   tableStyle.borderStyle, border);

    const std::vector<int> columnOffsets = TrackOffsets(columns.sizes, spacing, outer);
    const std::vector<int> rowOffsets = TrackOffsets(record.rows, spacing, outer);
    size_t cellIndex = 0;
    for (const RowMarkup& row : markup.rows) {
        const ElementScope rowScope(parser_, L"tr", metrics);
        ApplyTableAttributes(TableElement::Row, row.attributes, parser_.Current(),
                             parser_.Context(metrics));
        RebuildFont();
        for (const CellMarkup& cell : row.cells) {
            const size_t i = cellIndex++;
            if (i >= record.cells.size())
                return {width, record.size.cy};
            const ElementScope cellScope(parser_, L"td", metrics);
            ApplyTableAttributes(TableElement::Cell, cell.attributes, parser_.Current(),
                                 parser_.Context(metrics));
            RebuildFont();
            const CellRecord& cellRecord = record.cells[i];
            const int column = record.cellColumn[i];
            const int rowIndex = record.cellRow[i];
            if (column < 0 || rowIndex >= static_cast<int>(rowOffsets.size())) {
                SkipTo(cellRecord.end);
                continue;
            }
            const HtmlStyle style = parser_.Current();
            RECT cellRect;
            cellRect.left = SumOf(left, columnOffsets[column]);
            cellRect.top = SumOf(frame.top, rowOffsets[rowIndex]);
            cellRect.right = SumOf(
                cellRect.left, SpanExtent(columns.sizes, column, record.cellColspan[i], spacing));
            cellRect.bottom = SumOf(
                cellRect.top, SpanExtent(record.rows, rowIndex, record.cellRowspan[i], spacing));
            if (style.backgroundEffect != kEffectTransparent)
                PaintBackground(dc_, style.backgroundEffect, cellRect, style.backgroundColor,
                                style.backgroundMiddleColor, style.backgroundEndColor, 5);
            const int cellBorder = CellBorder(style);
            if (cellBorder > 0)
                PaintFrame(dc_, cellRect, FrameLight(style), FrameDark(style), style.borderStyle,
                           cellBorder);
            const int inset = CellInset(style);
            Frame content;
            content.left = SumOf(cellRect.left, inset);
            content.top = SumOf(cellRect.top, inset);
            content.width =
                ClampCoordinate(std::max(cellRect.right - cellRect.left - 2LL * inset, 0LL));
            content.maxWidth = CellMaxWidth(frame);
            const long long free =
                (cellRect.bottom - cellRect.top - 2LL * inset) - cellRecord.content.cy;
            if (free > 0 && style.verticalAlign == kAlignMiddle)
                content.top = SumOf(content.top, free / 2);
            else if (free > 0 && style.verticalAlign == kAlignBottom)
                content.top = SumOf(content.top, free);
            SkipTo(cellRecord.begin);
            LayoutCellContent(cell.content, content, nesting);
            SkipTo(cellRecord.end);
        }
        RebuildFont();
    }
    return {width, record.size.cy};
}

void CHtmlDrawer::DrawTableBackground(const RECT& rect, int outerBorder) {
    const HtmlStyle& style = parser_.Current();
    const RECT inside{SumOf(rect.left, outerBorder), SumOf(rect.top, outerBorder),
                      SumOf(rect.right, -outerBorder), SumOf(rect.bottom, -outerBorder)};
    if (inside.right <= inside.left || inside.bottom <= inside.top)
        return;
    if (style.backgroundEffect != kEffectTransparent)
        PaintBackground(dc_, style.backgroundEffect, inside, style.backgroundColor,
                        style.backgroundMiddleColor, style.backgroundEndColor, 5);
    if (style.backgroundImage.empty())
        return;
    // Tiles are laid only where the device context can show them.
    RECT clip{};
    RECT inner = inside;
    if (::GetClipBox(dc_, &clip) != ERROR && !::IntersectRect(&inner, &inside, &clip))
        return;
    const TableBackground background = ParseTableBackground(style.backgroundImage.Get());
    ImageAttributes source;
    source.idres = background.iddll == 0 ? background.idres : 0;
    source.file = background.file;
    LayoutImage image;
    HBITMAP bitmap = nullptr;
    platform::UniqueBitmap fromModule;
    if (background.iddll != 0 && background.idres > 0 && background.idres <= 0xFFFF) {
        // iddll names a module already loaded by the program.
        const HMODULE module = reinterpret_cast<HMODULE>(
            static_cast<INT_PTR>(static_cast<unsigned>(background.iddll)));
        fromModule.Reset(static_cast<HBITMAP>(::LoadImageW(
            module, MAKEINTRESOURCEW(background.idres), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        bitmap = fromModule.Get();
    } else if (image.LoadBitmap(source)) {
        bitmap = image.Bitmap();
    }
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info) || info.bmWidth <= 0)
        return;
    const int tileHeight = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    if (tileHeight <= 0)
        return;
    platform::UniqueMemoryDc source_dc(::CreateCompatibleDC(dc_));
    if (!source_dc)
        return;
    const platform::SelectedObject selection(source_dc.Get(), bitmap);
    // Tiled like a page background, clipped to the table's inside.
    const int firstX = inner.left - (inner.left - inside.left) % info.bmWidth;
    const int firstY = inner.top - (inner.top - inside.top) % tileHeight;
    for (int y = firstY; y < inner.bottom; y += tileHeight)
        for (int x = firstX; x < inner.right; x += info.bmWidth)
            ::BitBlt(dc_, x, y, std::min<int>(info.bmWidth, inner.right - x),
                     std::min<int>(tileHeight, inner.bottom - y), source_dc.Get(), 0, 0, SRCCOPY);
}
