#pragma once
// The style side of the markup: the current style, the open elements, the style sheet and the
// colours. A layout pass drives it over the prepared text (PrepareMarkupText), block by block:
//
//     parser.BeginPass(metrics);
//     MarkupTokenizer tokenizer(block);
//     MarkupToken token;
//     while (tokenizer.Next(token)) {
//         if (token.kind == MarkupToken::Kind::Text)
//             ... lay out token.text in parser.Current() ...
//         else
//             ... act on parser.HandleTag(token.tag, metrics): rebuild the font on
//                 StyleChanged, break lines, place tabs, rules and images ...
//     }
//     parser.EndPass();
//
// The metrics are the pass's device context with the current font selected (DcMetrics).

#include "richtext/css_colour.h"
#include "richtext/css_declarations.h"
#include "richtext/css_length.h"
#include "richtext/html_image_attributes.h"
#include "richtext/html_style.h"
#include "richtext/html_tags.h"
#include "richtext/html_tokenizer.h"
#include "richtext/style_sheet.h"
#include "richtext/style_stack.h"

#include <string>
#include <string_view>

namespace richtext {

// "<hr>": width (percent of the drawing rectangle's width, or pixels), thickness and colour.
struct RuleAttributes {
    int width = 100;
    bool widthPercent = true;
    int thickness = 1;
    COLORREF colour = 0;
};

struct MarkupAction {
    enum class Kind {
        None,         // unknown tag, ignored closing tag: nothing to do
        StyleChanged, // rebuild the font from Current()
        LineBreak,    // `count` line breaks
        Tab,          // `count` tab stops
        Rule,         // `rule`
        Bitmap,       // `image`
        Icon,         // `image`
        ImageList,    // `image`
        String,       // string resource `stringId`
    };
    Kind kind = Kind::None;
    int count = 1;
    RuleAttributes rule;
    ImageAttributes image;
    int stringId = 0;
};

class MarkupParser {
public:
    // Line breaks and tab stops one tag may ask for; more would only push the layout's
    // coordinates toward overflow.
    static constexpr int kMaxRepeat = 1000;
    static constexpr int kNoHoverLink = -2;

    // Builds the colour table, reading the system colours now.
    MarkupParser();

    StyleSheet& Sheet() { return sheet_; }
    const StyleSheet& Sheet() const { return sheet_; }
    const ColourTable& Colours() const { return colours_; }

    // While disabled, text and border colours become `disabledColour` (default: the system's 3D
    // shadow colour) and text backgrounds are transparent.
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Enabled() const { return enabled_; }
    void SetDisabledColour(COLORREF colour) { disabledColour_ = colour; }
    COLORREF DisabledColour() const { return disabledColour_; }

    void SetImageShadow(const ImageShadowSettings& shadow) { shadow_ = shadow; }
    const ImageShadowSettings& ImageShadow() const { return shadow_; }

    // The link drawn with "a:hover"; kNoHoverLink for none. Kept across passes.
    void SetHoverLink(int linkNumber) { hoverLink_ = linkNumber; }
    int HoverLink() const { return hoverLink_; }

    // Start of a layout pass: no open elements, the built-in style with the "body" rule, link
    // numbers counted from 0 again.
    void BeginPass(const CssMetrics& metrics);
    // End of a pass: elements left open are closed.
    void EndPass();

    // Acts on one tag. Unknown tags and closing tags that do not close the innermost element
    // change nothing.
    MarkupAction HandleTag(const MarkupTag& tag, const CssMetrics& metrics);

    // For the table layer, which handles "table", "tr" and "td" itself: opens a level with
    // `key`, applies the rule of that name; CloseElement closes it again.
    bool OpenElement(std::wstring_view key, const CssMetrics& metrics);
    bool CloseElement(std::wstring_view key);
    // Closes every element opened above `depth` (see Depth()), the innermost first.
    void CloseTo(size_t depth) { stack_.UnwindTo(current_, depth); }

    // Applies the style-sheet rule of `selector` to the current style, when there is one.
    void ApplyRule(std::wstring_view selector, const CssMetrics& metrics);
    void ApplyRule(std::wstring_view selector, HtmlStyle& style, const CssMetrics& metrics) const;

    const HtmlStyle& Current() const { return current_; }
    HtmlStyle& Current() { return current_; }
    size_t Depth() const { return stack_.Depth(); }
    // The number of the innermost link opened so far in this pass (-1 before the first).
    int LinkNumber() const { return linkNumber_; }

    StyleContext Context(const CssMetrics& metrics) const;

private:
    MarkupAction OpenTag(const TagEntry& entry, const MarkupTag& tag, const CssMetrics& metrics);
    MarkupAction EmptyElement(const TagEntry& entry, const MarkupTag& tag,
                              const CssMetrics& metrics) const;
    void ApplyFontAttributes(std::wstring_view attributes, const CssMetrics& metrics);
    void ApplyLinkAttributes(std::wstring_view attributes, const CssMetrics& metrics);
    void ApplySpanClasses(std::wstring_view attributes, const CssMetrics& metrics);
    RuleAttributes ReadRule(std::wstring_view attributes, const CssMetrics& metrics) const;
    int ReadStringId(std::wstring_view attributes, const CssMetrics& metrics) const;

    StyleSheet sheet_;
    ColourTable colours_;
    HtmlStyle current_;
    StyleStack stack_;
    bool enabled_ = true;
    COLORREF disabledColour_;
    ImageShadowSettings shadow_;
    int hoverLink_ = kNoHoverLink;
    int linkCounter_ = 0;
    int linkNumber_ = -1;
};

// "<br=N>" and "<t=N>": N read from the attribute text after "=", 1 when not given, kept within
// 1..MarkupParser::kMaxRepeat.
int RepeatCount(std::wstring_view attributes, const CssMetrics& metrics);

// The `style` letters of "<font>": "b" bold, "i" italic, "u" underline, "s" strike-out,
// "o" overline, each set, or cleared when "-" stands before it.
void ApplyStyleLetters(std::wstring_view letters, HtmlStyle& style);

} // namespace richtext
