#include "richtext/html_parser.h"

#include "richtext/css_declarations.h"
#include "richtext/css_number.h"

#include <algorithm>

namespace richtext {

int RepeatCount(std::wstring_view attributes, const CssMetrics& metrics) {
    if (attributes.empty() || attributes.front() != L'=')
        return 1;
    const int count = ParseLength(attributes.substr(1), 1, false, metrics);
    return std::clamp(count, 1, MarkupParser::kMaxRepeat);
}

void ApplyStyleLetters(std::wstring_view letters, HtmlStyle& style) {
    bool on = true;
    for (const wchar_t letter : letters) {
        switch (letter) {
        case L'+':
            on = true;
            continue;
        case L'-':
            on = false;
            continue;
        case L'b':
            style.weight = on ? FW_BOLD : FW_NORMAL;
            break;
        case L'i':
            style.italic = on ? 1 : 0;
            break;
        case L'u':
            style.underline = on ? 1 : 0;
            break;
        case L's':
            style.strikeout = on ? 1 : 0;
            break;
        case L'o':
            style.overline = on ? 1 : 0;
            break;
        default:
            continue;
        }
        on = true;
    }
}

MarkupParser::MarkupParser() : disabledColour_(::GetSysColor(COLOR_3DSHADOW)) {}

StyleContext MarkupParser::Context(const CssMetrics& metrics) const {
    return StyleContext{colours_, metrics, enabled_ ? nullptr : &disabledColour_};
}

void MarkupParser::BeginPass(const CssMetrics& metrics) {
    stack_.Clear();
    ResetStyle(current_);
    ApplyRule(L"body", metrics);
    linkCounter_ = 0;
    linkNumber_ = -1;
}

void MarkupParser::EndPass() {
    stack_.Clear();
}

void MarkupParser::ApplyRule(std::wstring_view selector, const CssMetrics& metrics) {
    ApplyRule(selector, current_, metrics);
}

void MarkupParser::ApplyRule(std::wstring_view selector, HtmlStyle& style,
                             const CssMetrics& metrics) const {
    if (const std::wstring* declarations = sheet_.Find(selector))
        ApplyDeclarations(*declarations, style, Context(metrics));
}

bool MarkupParser::OpenElement(std::wstring_view key, const CssMetrics& metrics) {
    if (!stack_.Push(current_, key))
        return false;
    ApplyRule(key, metrics);
    return true;
}

bool MarkupParser::CloseElement(std::wstring_view key) {
    return stack_.Close(current_, key);
}

MarkupAction MarkupParser::HandleTag(const MarkupTag& tag, const CssMetrics& metrics) {
    const TagEntry* entry = FindTag(tag.name);
    if (!entry)
        return {};
    if (IsEmptyElement(*entry))
        return tag.closing ? MarkupAction{} : EmptyElement(*entry, tag, metrics);
    if (tag.closing) {
        MarkupAction action;
        if (stack_.Close(current_, entry->closingKey))
            action.kind = MarkupAction::Kind::StyleChanged;
        return action;
    }
    return OpenTag(*entry, tag, metrics);
}

MarkupAction MarkupParser::OpenTag(const TagEntry& entry, const MarkupTag& tag,
                                   const CssMetrics& metrics) {
    if (!stack_.Push(current_, entry.closingKey))
        return {};
    switch (entry.kind) {
    case TagKind::Bold:
        current_.weight = static_cast<int>(std::min<long long>(current_.weight * 2LL, FW_HEAVY));
        break;
    case TagKind::Italic:
        current_.italic = current_.italic ? 0 : 1;
        break;
    case TagKind::Underline:
        current_.underline = current_.underline ? 0 : 1;
        break;
    case TagKind::Strikeout:
        current_.strikeout = current_.strikeout ? 0 : 1;
        break;
    case TagKind::Font:
        ApplyFontAttributes(tag.attributes, metrics);
        break;
    case TagKind::Left:
        current_.horizontalAlign = kAlignLeft;
        break;
    case TagKind::Center:
        current_.horizontalAlign = kAlignCenter;
        break;
    case TagKind::Right:
        current_.horizontalAlign = kAlignRight;
        break;
    case TagKind::Justify:
        current_.horizontalAlign = kAlignJustify;
        break;
    case TagKind::Baseline:
        current_.verticalAlign = kAlignBaseline;
        break;
    case TagKind::Top:
        current_.verticalAlign = kAlignTop;
        break;
    case TagKind::VCenter:
        current_.verticalAlign = kAlignMiddle;
        break;
    case TagKind::Bottom:
        current_.verticalAlign = kAlignBottom;
        break;
    case TagKind::StyleRule:
        ApplyRule(entry.closingKey, metrics);
        break;
    case TagKind::Span:
        ApplySpanClasses(tag.attributes, metrics);
        break;
    case TagKind::Link:
        ApplyLinkAttributes(tag.attributes, metrics);
        break;
    default:
        break;
    }
    MarkupAction action;
    action.kind = MarkupAction::Kind::StyleChanged;
    return action;
}

MarkupAction MarkupParser::EmptyElement(const TagEntry& entry, const MarkupTag& tag,
                                        const CssMetrics& metrics) const {
    using Kind = MarkupAction::Kind;
    MarkupAction action;
    switch (entry.kind) {
    case TagKind::LineBreak:
        action.kind = Kind::LineBreak;
        action.count = RepeatCount(tag.attributes, metrics);
        break;
    case TagKind::Tab:
        action.kind = Kind::Tab;
        action.count = RepeatCount(tag.attributes, metrics);
        break;
    case TagKind::Rule:
        action.kind = Kind::Rule;
        action.rule = ReadRule(tag.attributes, metrics);
        break;
    case TagKind::Bitmap:
    case TagKind::Icon:
    case TagKind::ImageList:
        action.kind = entry.kind == TagKind::Bitmap ? Kind::Bitmap
                      : entry.kind == TagKind::Icon ? Kind::Icon
                                                    : Kind::ImageList;
        action.image = ReadImageAttributes(tag.attributes, metrics, colours_, shadow_);
        break;
    case TagKind::String:
        action.kind = Kind::String;
        action.stringId = ReadStringId(tag.attributes, metrics);
        break;
    default:
        break;
    }
    return action;
}

void MarkupParser::ApplyFontAttributes(std::wstring_view attributes, const CssMetrics& metrics) {
    const StyleContext context = Context(metrics);
    AttributeReader reader(attributes);
    std::wstring_view name;
    std::wstring_view value;
    while (reader.Next(name, value)) {
        if (name == L"face")
            SetFace(current_, value);
        else if (name == L"size")
            current_.height = ParseLength(value, current_.height, true, metrics);
        else if (name == L"color")
            ApplyTextColour(value, current_, context);
        else if (name == L"style")
            ApplyStyleLetters(value, current_);
        else if (name == L"weight")
            current_.weight = ParseFontWeight(value);
        else if (name == L"bkgnd")
            ApplyTextBackground(value, current_, context);
    }
}

void MarkupParser::ApplyLinkAttributes(std::wstring_view attributes, const CssMetrics& metrics) {
    AttributeReader reader(attributes);
    std::wstring_view name;
    std::wstring_view value;
    while (reader.Next(name, value)) {
        if (name == L"href") {
            current_.linkKind = kLinkHref;
            current_.linkTarget = SharedText(value);
        } else if (name == L"msg") {
            current_.linkKind = kLinkMessage;
            current_.linkTarget = SharedText(value);
        }
    }
    linkNumber_ = linkCounter_++;
    ApplyRule(linkNumber_ == hoverLink_ ? L"a:hover" : L"a:link", metrics);
}

void MarkupParser::ApplySpanClasses(std::wstring_view attributes, const CssMetrics& metrics) {
    AttributeReader reader(attributes);
    std::wstring_view name;
    std::wstring_view value;
    std::wstring selector;
    while (reader.Next(name, value)) {
        if (name != L"class")
            continue;
        selector.assign(L".");
        selector.append(value);
        ApplyRule(selector, metrics);
    }
}

RuleAttributes MarkupParser::ReadRule(std::wstring_view attributes,
                                      const CssMetrics& metrics) const {
    HtmlStyle ruleStyle = current_;
    ruleStyle.borderWidth = 1;
    ApplyRule(L"hr", ruleStyle, metrics);
    RuleAttributes rule;
    rule.colour = ruleStyle.color;
    rule.thickness = ruleStyle.borderWidth;
    AttributeReader reader(attributes);
    std::wstring_view name;
    std::wstring_view value;
    while (reader.Next(name, value)) {
        if (name == L"width" && !value.empty()) {
            rule.widthPercent = !value.empty() && value.back() == L'%';
            rule.width = rule.widthPercent ? LeadingNumber(value)
                                           : ParseLength(value, rule.width, false, metrics);
        } else if (name == L"size") {
            rule.thickness = ParseLength(value, rule.thickness, false, metrics);
        } else if (name == L"color") {
            rule.colour = enabled_ ? ParseColour(value, rule.colour, colours_) : disabledColour_;
        }
    }
    return rule;
}

int MarkupParser::ReadStringId(std::wstring_view attributes, const CssMetrics& metrics) const {
    AttributeReader reader(attributes);
    std::wstring_view name;
    std::wstring_view value;
    int id = 0;
    while (reader.Next(name, value)) {
        if (name == L"idres")
            id = ParseLength(value, id, false, metrics);
    }
    return id;
}

} // namespace richtext
