#include "richtext/html_drawer.h"

#include "richtext/html_entities.h"
#include "richtext/html_link_opener.h"
#include "richtext/layout_blocks.h"
#include "richtext/layout_coordinates.h"

#include <algorithm>

using namespace richtext;

// Saves what a pass changes in the device context and puts it back, whatever path the pass
// returns by; the pass's own font is released only after the original font is selected again.
class CHtmlDrawer::PassScope {
public:
    PassScope(CHtmlDrawer& drawer, HDC dc, Mode mode)
        : drawer_(drawer), dc_(dc), font_(::GetCurrentObject(dc, OBJ_FONT)),
          textColour_(::GetTextColor(dc)), backColour_(::GetBkColor(dc)),
          backMode_(::GetBkMode(dc)) {
        drawer_.dc_ = dc;
        drawer_.mode_ = mode;
        drawer_.lineIndex_ = drawer_.cutIndex_ = drawer_.tableIndex_ = 0;
        drawer_.animationIndex_ = 0;
        ::SetTextJustification(dc, 0, 0);
        drawer_.parser_.BeginPass(DcMetrics(dc));
        drawer_.RebuildFont();
    }
    ~PassScope() {
        drawer_.parser_.EndPass();
        ::SetTextJustification(dc_, 0, 0);
        if (font_)
            ::SelectObject(dc_, font_);
        ::SetTextColor(dc_, textColour_);
        ::SetBkColor(dc_, backColour_);
        ::SetBkMode(dc_, backMode_);
        drawer_.font_.Reset();
        drawer_.dc_ = nullptr;
    }
    PassScope(const PassScope&) = delete;
    PassScope& operator=(const PassScope&) = delete;

private:
    CHtmlDrawer& drawer_;
    HDC dc_;
    HGDIOBJ font_;
    COLORREF textColour_;
    COLORREF backColour_;
    int backMode_;
};

CHtmlDrawer::CHtmlDrawer() = default;
CHtmlDrawer::~CHtmlDrawer() = default;

SIZE CHtmlDrawer::MeasureMarkup(HDC dc, std::wstring_view text) {
    text_ = PrepareMarkupText(text);
    lines_.clear();
    cuts_.clear();
    tables_.clear();
    hotAreas_.clear();
    if (!dc || text_.empty())
        return {0, 0};
    animations_.BeginPass();
    SIZE size = RunPass(dc, Mode::Measure, RECT{0, 0, maxWidth_, 0});
    animations_.EndPass();
    if (maxWidth_ > 0 && size.cx > maxWidth_) {
        size.cx = maxWidth_;
    } else {
        ++size.cx;
        ++size.cy;
    }
    return size;
}

void CHtmlDrawer::DrawMarkup(HDC dc, const RECT& rect) {
    if (!dc || text_.empty())
        return;
    hotAreas_.clear();
    RunPass(dc, Mode::Draw, rect);
}

SIZE CHtmlDrawer::DrawMarkupAt(HDC dc, std::wstring_view text, POINT origin) {
    const SIZE size = MeasureMarkup(dc, text);
    if (size.cx > 0 && size.cy > 0)
        DrawMarkup(dc,
                   RECT{origin.x, origin.y, SumOf(origin.x, size.cx), SumOf(origin.y, size.cy)});
    return size;
}

SIZE CHtmlDrawer::RunPass(HDC dc, Mode mode, const RECT& rect) {
    const PassScope scope(*this, dc, mode);
    Frame frame;
    frame.left = rect.left;
    frame.top = rect.top;
    frame.width = std::max(SumOf(rect.right, -static_cast<long long>(rect.left)), 0);
    frame.maxWidth = maxWidth_;
    return LayoutBlocks(text_, frame, 0);
}

SIZE CHtmlDrawer::LayoutBlocks(std::wstring_view text, const Frame& frame, int nesting) {
    SIZE total{0, 0};
    Frame block = frame;
    for (const TextBlock& part : SplitBlocks(text)) {
        const SIZE size = part.isTable && nesting < kMaxTableNesting
                              ? LayoutTable(part.text, block, nesting)
                              : LayoutFlow(part.text, block);
        total.cx = std::max(total.cx, size.cx);
        total.cy = SumOf(total.cy, size.cy);
        block.top = SumOf(block.top, size.cy);
    }
    return total;
}

void CHtmlDrawer::RebuildFont() {
    LOGFONTW description = FontDescription(parser_.Current());
    // Glyphs beyond this height only cost the rasteriser time; no screen shows them whole.
    description.lfHeight = std::clamp<LONG>(description.lfHeight, -kMaxFontHeight, kMaxFontHeight);
    platform::UniqueFont font(::CreateFontIndirectW(&description));
    if (font) {
        ::SelectObject(dc_, font.Get());
        font_ = std::move(font);
    }
    const HtmlStyle& style = parser_.Current();
    ::SetTextColor(dc_, style.color);
    ::SetBkColor(dc_, style.backgroundColor);
    ::SetBkMode(dc_, style.backgroundMode == kBackgroundOpaque ? OPAQUE : TRANSPARENT);
    TEXTMETRICW metrics{};
    if (::GetTextMetricsW(dc_, &metrics)) {
        fontHeight_ = metrics.tmHeight;
        fontAscent_ = metrics.tmAscent;
    }
}

int CHtmlDrawer::TextWidth(std::wstring_view text) const {
    SIZE size{0, 0};
    // The extent functions take an int count; longer texts are measured in parts.
    constexpr size_t kPart = 1 << 20;
    long long width = 0;
    while (!text.empty()) {
        const std::wstring_view part = text.substr(0, kPart);
        if (::GetTextExtentPoint32W(dc_, part.data(), static_cast<int>(part.size()), &size))
            width += size.cx;
        text.remove_prefix(part.size());
    }
    return ClampCoordinate(width);
}

int CHtmlDrawer::HitTest(POINT point) const {
    for (size_t i = 0; i < hotAreas_.size(); ++i) {
        const RECT& r = hotAreas_[i].rect;
        if (point.x >= r.left && point.x <= r.right && point.y >= r.top && point.y <= r.bottom)
            return static_cast<int>(i);
    }
    return -1;
}

bool CHtmlDrawer::TrackMouse(POINT point) {
    const int index = HitTest(point);
    return SetHoverLink(index >= 0 ? hotAreas_[index].linkNumber : MarkupParser::kNoHoverLink);
}

bool CHtmlDrawer::SetHoverLink(int link) {
    if (link == parser_.HoverLink())
        return false;
    parser_.SetHoverLink(link);
    SendHoverNotify();
    return true;
}

bool CHtmlDrawer::ClickAt(POINT point) {
    const int index = HitTest(point);
    if (index < 0)
        return false;
    // A copy: the handlers may repaint, which rebuilds the hot areas.
    const HotArea area = hotAreas_[index];
    if (area.linkKind == kLinkHref) {
        if (linkOpener_)
            linkOpener_(area.target.Get());
        else
            ::ShellExecuteW(nullptr, L"open", area.target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    } else if (area.linkKind == kLinkMessage && linkWindow_ && linkMessage_ != 0) {
        ::SendMessageW(linkWindow_, linkMessage_, reinterpret_cast<WPARAM>(area.target.c_str()),
                       linkLParam_);
    }
    return true;
}

void CHtmlDrawer::SetHoverNotify(HWND window, UINT message, LPARAM lParam) {
    hoverWindow_ = window;
    hoverMessage_ = message;
    hoverLParam_ = lParam;
}

void CHtmlDrawer::SetLinkMessage(HWND window, UINT message, LPARAM lParam) {
    linkWindow_ = window;
    linkMessage_ = message;
    linkLParam_ = lParam;
}

void CHtmlDrawer::SetLinkOpener(std::function<void(const std::wstring&)> opener) {
    linkOpener_ = std::move(opener);
}

void CHtmlDrawer::SendHoverNotify() const {
    if (hoverWindow_ && hoverMessage_ != 0)
        ::SendMessageW(hoverWindow_, hoverMessage_, 0, hoverLParam_);
}

CHtmlDrawer::RecordMarks CHtmlDrawer::Marks() const {
    if (mode_ == Mode::Measure)
        return {lines_.size(), cuts_.size(), tables_.size(), animations_.Seen()};
    return {lineIndex_, cutIndex_, tableIndex_, animationIndex_};
}

void CHtmlDrawer::SkipTo(const RecordMarks& marks) {
    lineIndex_ = marks.line;
    cutIndex_ = marks.cut;
    tableIndex_ = marks.table;
    animationIndex_ = marks.animation;
}
