// The flow blocks of CHtmlDrawer: runs of text, line breaks, tabs, rules, string resources and
// images, put on lines in the measure pass and drawn along the same lines in the draw pass.

#include "richtext/html_drawer.h"

#include "platform/gdi.h"
#include "platform/resource_strings.h"
#include "richtext/html_text_transform.h"
#include "richtext/layout_coordinates.h"
#include "richtext/layout_break.h"

#include <algorithm>

using namespace richtext;

namespace {

// A long run is first measured in growing parts: when a part alone is too wide the whole is too,
// and the rest of a long text need not be measured for every line.
constexpr size_t kFirstProbe = 64;
constexpr size_t kProbeGrowth = 16;

size_t CountBlanks(std::wstring_view text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), L' '));
}

size_t CountTrailingBlanks(std::wstring_view text) {
    size_t count = 0;
    while (count < text.size() && text[text.size() - 1 - count] == L' ')
        ++count;
    return count;
}

LayoutShadow ShadowOf(const ImageShadowSettings& settings) {
    LayoutShadow shadow;
    shadow.offsetX = settings.offsetX;
    shadow.offsetY = settings.offsetY;
    shadow.depth = std::min(settings.depth, 100);
    shadow.gradient = settings.gradient;
    shadow.blurX = settings.blurX;
    shadow.blurY = settings.blurY;
    return shadow;
}

} // namespace

class CHtmlDrawer::FlowLayout {
public:
    FlowLayout(CHtmlDrawer& drawer, const Frame& frame)
        : d_(drawer), frame_(frame), metrics_(drawer.dc_), x_(frame.left), y_(frame.top) {
        StartLine();
    }

    SIZE Run(std::wstring_view text) {
        MarkupTokenizer tokenizer(text);
        MarkupToken token;
        while (tokenizer.Next(token)) {
            if (token.kind == MarkupToken::Kind::Text)
                PlaceText(std::move(token.text));
            else
                Act(d_.parser_.HandleTag(token.tag, metrics_));
        }
        if (!line_.empty)
            EndLine(false, 1);
        return {width_, ClampCoordinate(static_cast<long long>(y_) - frame_.top)};
    }

private:
    bool Measuring() const { return d_.mode_ == Mode::Measure; }
    int Right() const {
        return ClampCoordinate(static_cast<long long>(frame_.left) + frame_.maxWidth);
    }
    int Available() const { return Right() - x_; }

    void Act(const MarkupAction& action) {
        switch (action.kind) {
        case MarkupAction::Kind::StyleChanged:
            d_.RebuildFont();
            break;
        case MarkupAction::Kind::LineBreak:
            EndLine(false, std::max(action.count, 1));
            break;
        case MarkupAction::Kind::Tab:
            PlaceTab(std::max(action.count, 1));
            break;
        case MarkupAction::Kind::Rule:
            PlaceRule(action.rule);
            break;
        case MarkupAction::Kind::String:
            PlaceString(platform::ResourceString(static_cast<UINT>(action.stringId)));
            break;
        case MarkupAction::Kind::Bitmap:
        case MarkupAction::Kind::Icon:
        case MarkupAction::Kind::ImageList:
            PlaceImage(action);
            break;
        case MarkupAction::Kind::None:
            break;
        }
    }

    // Lines.

    void StartLine() {
        line_ = LineState{};
        x_ = frame_.left;
        trailing_ = TrailingBlanks{};
        if (Measuring())
            return;
        if (d_.lineIndex_ < d_.lines_.size())
            line_.record = d_.lines_[d_.lineIndex_];
        LineRecord& record = line_.record;
        record.width = ClampCoordinate(record.width + static_cast<long long>(record.percentWidth) *
                                                          frame_.width / 100);
        const int free = frame_.width - record.width;
        if (record.align == kAlignJustify && record.wrapped && record.breakCount > 0 && free > 0)
            ::SetTextJustification(d_.dc_, free, record.breakCount);
        else
            ::SetTextJustification(d_.dc_, 0, 0);
        if (record.align == kAlignCenter)
            x_ = SumOf(frame_.left, free / 2);
        else if (record.align == kAlignRight)
            x_ = SumOf(frame_.left, free);
    }

    void EndLine(bool wrapped, int count) {
        int height = 0;
        if (Measuring()) {
            if (wrapped)
                DropTrailingBlanks();
            if (line_.ascent == 0 && line_.descent == 0)
                line_.ascent = d_.fontHeight_;
            LineRecord record;
            record.ascent = line_.ascent;
            record.descent = line_.descent;
            record.height = line_.ascent + line_.descent;
            record.width = x_ - frame_.left;
            record.align = line_.align;
            record.percentWidth = line_.percentWidth;
            record.breakCount = line_.breakCount;
            record.wrapped = wrapped;
            d_.lines_.push_back(record);
            width_ = std::max(width_, record.width);
            height = record.height;
        } else {
            height = line_.record.height;
            width_ = std::max(width_, x_ - frame_.left);
        }
        ++d_.lineIndex_;
        y_ = ClampCoordinate(y_ + static_cast<long long>(height) * count);
        StartLine();
    }

    // Justification and right alignment must not count the blanks a wrapped line ends with.
    void DropTrailingBlanks() {
        if (!trailing_.valid)
            return;
        Cut& cut = d_.cuts_[trailing_.cut];
        cut.take -= trailing_.count;
        cut.skip += trailing_.count;
        x_ -= trailing_.width;
        line_.breakCount -= static_cast<int>(trailing_.count);
    }

    // Text.

    void PlaceText(std::wstring run) {
        ApplyTextTransform(run, d_.parser_.Current().textTransform);
        std::wstring_view rest = run;
        while (!rest.empty()) {
            const Cut cut = Measuring() ? MeasureCut(rest) : NextCut(rest);
            const std::wstring_view piece = rest.substr(0, std::min(cut.take, rest.size()));
            if (!piece.empty())
                PutPiece(piece, cut.take >= rest.size() || cut.endLine);
            rest.remove_prefix(std::min(rest.size(), cut.take + cut.skip));
            if (cut.endLine)
                EndLine(true, 1);
        }
    }

    // Measure pass: how much of `rest` goes on this line.
    Cut MeasureCut(std::wstring_view rest) {
        Cut cut;
        if (frame_.maxWidth <= 0 || Fits(rest, Available())) {
            cut.take = rest.size();
        } else {
            const RunBreak cutAt =
                BreakRun(rest, line_.empty, Available(),
                         [this](std::wstring_view text) { return d_.TextWidth(text); });
            cut.take = cutAt.pieceLength;
            cut.skip = cutAt.skipLength;
            // A piece of blanks only is dropped and the rest tried again on this line.
            cut.endLine = cut.take > 0 || cut.skip == 0;
            if (cut.take + cut.skip >= rest.size() && cut.take > 0)
                cut.endLine = false;
        }
        d_.cuts_.push_back(cut);
        return cut;
    }

    bool Fits(std::wstring_view text, int available) const {
        for (size_t probe = kFirstProbe; probe < text.size(); probe *= kProbeGrowth)
            if (d_.TextWidth(text.substr(0, probe)) > available)
                return false;
        return d_.TextWidth(text) <= available;
    }

    // Draw pass: the cut the measure pass made.
    Cut NextCut(std::wstring_view rest) {
        if (d_.cutIndex_ < d_.cuts_.size())
            return d_.cuts_[d_.cutIndex_++];
        Cut whole; // the text changed between the passes: finish the run on this line
        whole.take = rest.size();
        return whole;
    }

    void PutPiece(std::wstring_view piece, bool lastOfCut) {
        const int width = d_.TextWidth(piece);
        const HtmlStyle& style = d_.parser_.Current();
        Grow(d_.fontAscent_, d_.fontHeight_ - d_.fontAscent_);
        if (Measuring()) {
            line_.breakCount += static_cast<int>(CountBlanks(piece));
            trailing_.valid = false;
            const size_t blanks = lastOfCut ? CountTrailingBlanks(piece) : 0;
            if (blanks > 0) {
                trailing_.valid = true;
                trailing_.cut = d_.cuts_.size() - 1;
                trailing_.count = blanks;
                trailing_.width = width - d_.TextWidth(piece.substr(0, piece.size() - blanks));
            }
        } else {
            const int top = TextTop();
            ::TextOutW(d_.dc_, x_, top, piece.data(), static_cast<int>(piece.size()));
            if (style.overline) {
                // A wide pen is centred on its line; keep both pixels inside the piece.
                const int thickness = style.weight >= 700 ? 2 : 1;
                PaintRule(d_.dc_, x_, top + thickness / 2, x_ + width, style.color, thickness);
            }
            AddHotArea(x_, top, width, d_.fontHeight_);
        }
        x_ = ClampCoordinate(static_cast<long long>(x_) + width);
    }

    // In both passes: the draw pass ends a line that holds something as the measure pass did.
    void Grow(int ascent, int descent) {
        line_.ascent = std::max(line_.ascent, ascent);
        line_.descent = std::max(line_.descent, descent);
        line_.align = d_.parser_.Current().horizontalAlign;
        line_.empty = false;
    }

    int TextTop() const {
        const LineRecord& record = line_.record;
        switch (d_.parser_.Current().verticalAlign) {
        case kAlignTop:
            return y_;
        case kAlignMiddle:
            return y_ + (record.height - d_.fontHeight_) / 2;
        case kAlignBottom:
            return y_ + record.height - d_.fontAscent_;
        default:
            return y_ + record.height - record.descent - d_.fontAscent_;
        }
    }

    int ObjectTop(int height) const {
        const LineRecord& record = line_.record;
        switch (d_.parser_.Current().verticalAlign) {
        case kAlignTop:
            return y_;
        case kAlignMiddle:
            return y_ + (record.height - height) / 2;
        case kAlignBottom:
            return y_ + record.height - height;
        default:
            return y_ + record.height - record.descent - height;
        }
    }

    void AddHotArea(int x, int top, int width, int height) {
        const HtmlStyle& style = d_.parser_.Current();
        if (style.linkKind == kLinkNone)
            return;
        HotArea area;
        area.rect = RECT{x, top, x + width, top + height};
        area.linkKind = style.linkKind;
        area.linkNumber = d_.parser_.LinkNumber();
        area.target = style.linkTarget;
        d_.hotAreas_.push_back(std::move(area));
    }

    // Objects that are never broken: they start a new line when they do not fit the rest of a
    // line that holds something already.
    bool StartsNewLine(int width) {
        if (Measuring()) {
            Cut cut;
            cut.endLine = frame_.maxWidth > 0 && !line_.empty && width > Available();
            d_.cuts_.push_back(cut);
            trailing_.valid = false;
            return cut.endLine;
        }
        return d_.cutIndex_ < d_.cuts_.size() && d_.cuts_[d_.cutIndex_++].endLine;
    }

    void PlaceString(const std::wstring& text) {
        if (text.empty())
            return;
        if (StartsNewLine(d_.TextWidth(text)))
            EndLine(true, 1);
        const int width = d_.TextWidth(text);
        Grow(d_.fontAscent_, d_.fontHeight_ - d_.fontAscent_);
        if (Measuring()) {
            line_.breakCount += static_cast<int>(CountBlanks(text));
        } else {
            const int top = TextTop();
            ::TextOutW(d_.dc_, x_, top, text.data(), static_cast<int>(text.size()));
            AddHotArea(x_, top, width, d_.fontHeight_);
        }
        x_ = ClampCoordinate(static_cast<long long>(x_) + width);
    }

    void PlaceTab(int count) {
        const long long offset = static_cast<long long>(x_) - frame_.left;
        long long stop = (offset / kTabWidth + 1) * kTabWidth;
        stop += static_cast<long long>(count - 1) * kTabWidth;
        x_ = ClampCoordinate(frame_.left + stop);
        line_.empty = false;
        trailing_.valid = false;
    }

    void PlaceRule(const RuleAttributes& rule) {
        const int thickness = std::clamp(rule.thickness, 0, kMaxRuleThickness);
        int width = std::max(rule.width, 0);
        Grow(thickness + 8, 0);
        if (Measuring()) {
            if (rule.widthPercent) {
                line_.percentWidth += width;
                width = 1;
            }
        } else {
            if (rule.widthPercent)
                width = ClampCoordinate(static_cast<long long>(width) * frame_.width / 100);
            const int y = y_ + line_.record.height / 2;
            if (thickness > 0 && width > 0)
                PaintRule(d_.dc_, x_, y, x_ + width, rule.colour, thickness);
        }
        trailing_.valid = false;
        x_ = ClampCoordinate(static_cast<long long>(x_) + width);
    }

    // Images.

    struct PreparedImage {
        LayoutImage image;
        platform::UniqueBitmap piece; // one image of a strip
        SIZE natural{};
        SIZE drawn{};
        bool icon = false;
    };

    bool Prepare(const MarkupAction& action, PreparedImage& prepared) {
        const ImageAttributes& attributes = action.image;
        if (action.kind == MarkupAction::Kind::Icon) {
            prepared.icon = true;
            prepared.natural = StandardIconSize();
            prepared.drawn = DrawnImageSize(attributes, prepared.natural);
            return prepared.drawn.cx > 0 && prepared.drawn.cy > 0 &&
                   prepared.image.LoadIcon(attributes, prepared.drawn.cx, prepared.drawn.cy);
        }
        if (!prepared.image.LoadBitmap(attributes))
            return false;
        prepared.natural = prepared.image.BitmapSize();
        if (action.kind == MarkupAction::Kind::ImageList &&
            !PrepareStripImage(attributes, prepared))
            return false;
        prepared.drawn = DrawnImageSize(attributes, prepared.natural);
        return prepared.drawn.cx > 0 && prepared.drawn.cy > 0;
    }

    bool PrepareStripImage(const ImageAttributes& attributes, PreparedImage& prepared) {
        const StripGeometry strip = CutStrip(attributes, prepared.natural);
        if (strip.count <= 0)
            return false;
        int index = std::clamp(attributes.index, 0, strip.count - 1);
        if (attributes.speed > 0) {
            if (Measuring())
                index = d_.animations_.Register(index, strip.count, attributes.speed);
            else
                index = d_.animations_.CurrentIndex(d_.animationIndex_);
            ++d_.animationIndex_;
        }
        prepared.natural = {strip.cx, strip.cy};
        if (!Measuring())
            prepared.piece = ExtractStripImage(d_.dc_, prepared.image.Bitmap(), strip,
                                               std::min(index, strip.count - 1));
        return true;
    }

    void PlaceImage(const MarkupAction& action) {
        PreparedImage prepared;
        if (!Prepare(action, prepared))
            return;
        const SIZE size = prepared.drawn;
        if (StartsNewLine(size.cx))
            EndLine(true, 1);
        Grow(size.cy, 0);
        if (!Measuring()) {
            const int top = ObjectTop(size.cy);
            DrawImage(action.image, prepared, top);
            AddHotArea(x_, top, size.cx, size.cy);
        }
        x_ = ClampCoordinate(static_cast<long long>(x_) + size.cx);
    }

    // Images the device context cannot show are not drawn: effects and shadows of large images
    // cost time in proportion to their size.
    bool Visible(int left, int top, SIZE size) const {
        RECT clip{};
        if (::GetClipBox(d_.dc_, &clip) == ERROR)
            return true;
        const RECT image{left, top, ClampCoordinate(static_cast<long long>(left) + size.cx),
                         ClampCoordinate(static_cast<long long>(top) + size.cy)};
        RECT both{};
        return ::IntersectRect(&both, &clip, &image) != FALSE;
    }

    void DrawImage(const ImageAttributes& attributes, const PreparedImage& prepared, int top) {
        if (!Visible(x_, top, prepared.drawn))
            return;
        const HtmlStyle& style = d_.parser_.Current();
        const bool hot =
            style.linkKind != kLinkNone && d_.parser_.LinkNumber() == d_.parser_.HoverLink();
        const unsigned flags = hot ? attributes.hotStyle : attributes.style;
        const LayoutShadow shadow = ShadowOf(d_.parser_.ImageShadow());
        const SIZE size = prepared.drawn;
        if (prepared.icon) {
            PaintIcon(d_.dc_, x_, top, size.cx, size.cy, prepared.image.Icon(),
                      attributes.maskGiven, attributes.maskColour, flags, shadow);
            return;
        }
        const HBITMAP bitmap = prepared.piece ? prepared.piece.Get() : prepared.image.Bitmap();
        PaintBitmap(d_.dc_, x_, top, size.cx, size.cy, bitmap, attributes.maskGiven,
                    attributes.maskColour, flags, shadow);
    }

    CHtmlDrawer& d_;
    Frame frame_;
    DcMetrics metrics_;
    int x_;
    int y_;
    int width_ = 0;
    LineState line_;
    TrailingBlanks trailing_;
};

SIZE CHtmlDrawer::LayoutFlow(std::wstring_view text, const Frame& frame) {
    return FlowLayout(*this, frame).Run(text);
}
