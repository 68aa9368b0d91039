#pragma once
// Lays out and draws marked-up text on a device context in two passes over the same text: the
// measure pass finds the size the text needs and the geometry of every line, the draw pass paints
// into a rectangle with that geometry and records where the links are.

#include "platform/unique_resource.h"
#include "richtext/html_parser.h"
#include "richtext/layout_images.h"
#include "richtext/layout_paint.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace richtext {
struct TableMarkup;
}

// One laid-out line, kept from the measure pass for the draw pass.
struct LineRecord {
    int width = 0;
    int height = 0;
    int ascent = 0;
    int descent = 0;
    int align = richtext::kAlignLeft;
    int percentWidth = 0; // of the drawing rectangle's width, for rules given in percent
    int breakCount = 0;   // blanks that justification spreads the free space over
    bool wrapped = false; // ended because the next piece did not fit
};

// Where a link was drawn.
struct HotArea {
    RECT rect{};
    int linkKind = richtext::kLinkNone;
    int linkNumber = -1;
    richtext::SharedText target; // the link's own text, shared by all of its areas
};

class CHtmlDrawer {
public:
    static constexpr int kTabWidth = 32;
    // Tables nested deeper than this are laid out as plain flow text.
    static constexpr int kMaxTableNesting = 16;
    // Bounds of what one font, rule (or table border) may ask for.
    static constexpr int kMaxFontHeight = 2048;
    static constexpr int kMaxRuleThickness = 1024;

    CHtmlDrawer();
    ~CHtmlDrawer();
    CHtmlDrawer(const CHtmlDrawer&) = delete;
    CHtmlDrawer& operator=(const CHtmlDrawer&) = delete;

    // The style sheet, rules, colours and enabled state of the markup.
    richtext::MarkupParser& Markup() { return parser_; }
    void LoadStyleSheet(std::wstring_view text = {}) { parser_.Sheet().LoadStyleSheet(text); }
    void SetStyleRule(std::wstring_view selector, std::wstring_view declarations) {
        parser_.Sheet().SetStyleRule(selector, declarations);
    }
    void SetEnabled(bool enabled) { parser_.SetEnabled(enabled); }
    bool Enabled() const { return parser_.Enabled(); }
    void SetDisabledColour(COLORREF colour) { parser_.SetDisabledColour(colour); }

    // 0: no wrapping.
    void SetMaxWidth(int width) { maxWidth_ = width > 0 ? width : 0; }
    int MaxWidth() const { return maxWidth_; }

    // Prepares `text` and measures it: (0, 0) for an empty text.
    SIZE MeasureMarkup(HDC dc, std::wstring_view text);
    // Paints the text of the last measure into `rect`.
    void DrawMarkup(HDC dc, const RECT& rect);
    // Measures, then draws at `origin` in a rectangle of the measured size.
    SIZE DrawMarkupAt(HDC dc, std::wstring_view text, POINT origin);

    // Index of the first hot area that holds `point` (edges included), or -1.
    int HitTest(POINT point) const;
    // Follows the mouse: the hovered link changes (and the hover notification is sent) when the
    // point enters another link or leaves all of them. True when it changed.
    bool TrackMouse(POINT point);
    // The mouse has left the window: no link is hovered any more, wherever the hot areas reach.
    // True when that changed the hovered link.
    bool LeaveLinks() { return SetHoverLink(richtext::MarkupParser::kNoHoverLink); }
    // A click: opens an `href` link or sends the link message of a `msg` link. False when no
    // link is under the point.
    bool ClickAt(POINT point);

    void SetHoverNotify(HWND window, UINT message, LPARAM lParam);
    void SetLinkMessage(HWND window, UINT message, LPARAM lParam);
    // How an `href` target is opened; by default richtext::OpenLink.
    void SetLinkOpener(std::function<void(const std::wstring&)> opener);

    // Advances the animated image lists; true when any image changed.
    bool Tick() { return animations_.Tick(); }

    int HoverLink() const { return parser_.HoverLink(); }
    const std::vector<HotArea>& HotAreas() const { return hotAreas_; }
    const std::vector<LineRecord>& Lines() const { return lines_; }
    const richtext::AnimationList& Animations() const { return animations_; }

private:
    enum class Mode { Measure, Draw };

    // The area one sequence of blocks is laid out in.
    struct Frame {
        int left = 0;
        int top = 0;
        int width = 0;    // of the drawing rectangle (draw pass)
        int maxWidth = 0; // wrapping width, 0 for none
    };

    // The layout of one piece of a run or one object, made by the measure pass and followed by
    // the draw pass.
    struct Cut {
        size_t take = 0;
        size_t skip = 0;
        bool endLine = false; // after a text piece, before an object
    };

    // Where a cell's content starts and ends in the pass records, so a cell left out of the grid
    // can be stepped over.
    struct RecordMarks {
        size_t line = 0;
        size_t cut = 0;
        size_t table = 0;
        size_t animation = 0;
    };

    struct CellRecord {
        SIZE content{};
        RecordMarks begin;
        RecordMarks end;
    };

    struct TableRecord {
        std::vector<int> columns;
        std::vector<bool> fixedColumns;
        std::vector<int> rows;
        std::vector<int> cellColumn, cellRow, cellColspan, cellRowspan;
        std::vector<CellRecord> cells;
        SIZE size{};
        bool ownWidth = false;
    };

    // The line being built.
    struct LineState {
        int ascent = 0;
        int descent = 0;
        int align = richtext::kAlignLeft;
        int percentWidth = 0;
        int breakCount = 0;
        bool empty = true;
        LineRecord record; // draw pass: the record of this line
    };

    // Trailing blanks of the last piece, dropped when the line wraps right after it.
    struct TrailingBlanks {
        bool valid = false;
        size_t cut = 0;
        size_t count = 0;
        int width = 0;
    };

    class PassScope;
    class FlowLayout;
    friend class FlowLayout;

    SIZE RunPass(HDC dc, Mode mode, const RECT& rect);
    SIZE LayoutBlocks(std::wstring_view text, const Frame& frame, int nesting);
    SIZE LayoutFlow(std::wstring_view text, const Frame& frame);
    SIZE LayoutTable(std::wstring_view block, const Frame& frame, int nesting);
    void MeasureTable(const richtext::TableMarkup& markup, const Frame& frame, int nesting,
                      size_t index);
    SIZE DrawTable(const richtext::TableMarkup& markup, const Frame& frame, int nesting,
                   size_t index);
    void DrawTableBackground(const RECT& rect, int outerBorder);
    SIZE LayoutCellContent(std::wstring_view content, const Frame& frame, int nesting);
    int CellMaxWidth(const Frame& frame) const;
    // Frame colours: both the disabled colour while disabled.
    COLORREF FrameLight(const richtext::HtmlStyle& style) const;
    COLORREF FrameDark(const richtext::HtmlStyle& style) const;
    RecordMarks Marks() const;
    void SkipTo(const RecordMarks& marks);

    void RebuildFont();
    int TextWidth(std::wstring_view text) const;
    bool SetHoverLink(int link);
    void SendHoverNotify() const;

    richtext::MarkupParser parser_;
    int maxWidth_ = 0;
    std::wstring text_;

    // Pass state.
    Mode mode_ = Mode::Measure;
    HDC dc_ = nullptr;
    platform::UniqueFont font_;
    int fontHeight_ = 0;
    int fontAscent_ = 0;
    size_t lineIndex_ = 0;
    size_t cutIndex_ = 0;
    size_t tableIndex_ = 0;
    size_t animationIndex_ = 0;

    std::vector<LineRecord> lines_;
    std::vector<Cut> cuts_;
    std::vector<TableRecord> tables_;
    std::vector<HotArea> hotAreas_;
    richtext::AnimationList animations_;

    HWND hoverWindow_ = nullptr;
    UINT hoverMessage_ = 0;
    LPARAM hoverLParam_ = 0;
    HWND linkWindow_ = nullptr;
    UINT linkMessage_ = 0;
    LPARAM linkLParam_ = 0;
    std::function<void(const std::wstring&)> linkOpener_;
};
