#include "richtext/css_declarations.h"

#include "richtext/css_number.h"
#include "richtext/html_tokenizer.h"

#include <map>

namespace richtext {
namespace {

enum class Property {
    FontSize,
    FontFamily,
    FontStyle,
    FontWeight,
    TextAlign,
    TextTransform,
    Color,
    BackgroundColor,
    TextDecoration,
    VerticalAlign,
    BorderColor,
    BorderWidth,
    BorderStyle,
    Margin,
    Padding,
    LfWidth,
    LfEscapement,
    LfOrientation,
    LfCharset,
    LfOutPrecision,
    LfClipPrecision,
    LfQuality,
    LfPitchAndFamily,
    LfItalic,
    LfUnderline,
    LfStrikeout,
};

const std::map<std::wstring_view, Property>& Properties() {
    static const std::map<std::wstring_view, Property> properties = {
        {L"font-size", Property::FontSize},
        {L"font-family", Property::FontFamily},
        {L"font-style", Property::FontStyle},
        {L"font-weight", Property::FontWeight},
        {L"text-align", Property::TextAlign},
        {L"text-transform", Property::TextTransform},
        {L"color", Property::Color},
        {L"background-color", Property::BackgroundColor},
        {L"text-decoration", Property::TextDecoration},
        {L"vertical-align", Property::VerticalAlign},
        {L"border-color", Property::BorderColor},
        {L"border-width", Property::BorderWidth},
        {L"size", Property::BorderWidth},
        {L"border-style", Property::BorderStyle},
        {L"margin", Property::Margin},
        {L"padding", Property::Padding},
        {L"lfwidth", Property::LfWidth},
        {L"lfescapement", Property::LfEscapement},
        {L"lforientation", Property::LfOrientation},
        {L"lfcharset", Property::LfCharset},
        {L"lfoutprecision", Property::LfOutPrecision},
        {L"lfclipprecision", Property::LfClipPrecision},
        {L"lfquality", Property::LfQuality},
        {L"lfpitchandfamily", Property::LfPitchAndFamily},
        {L"lfitalic", Property::LfItalic},
        {L"lfunderline", Property::LfUnderline},
        {L"lfstrikeout", Property::LfStrikeout},
    };
    return properties;
}

BYTE NumberByte(std::wstring_view value) {
    return static_cast<BYTE>(static_cast<unsigned>(LeadingNumber(value)));
}

int TextAlign(std::wstring_view value, int current) {
    if (value.empty() || value == L"left")
        return kAlignLeft;
    if (value == L"center")
        return kAlignCenter;
    if (value == L"right")
        return kAlignRight;
    return current;
}

int TextTransformOf(std::wstring_view value, int current) {
    if (value.empty() || value == L"none")
        return kTransformNone;
    if (value == L"uppercase")
        return kTransformUppercase;
    if (value == L"lowercase")
        return kTransformLowercase;
    if (value == L"capitalize")
        return kTransformCapitalize;
    return current;
}

int VerticalAlignOf(std::wstring_view value, int current) {
    if (value.empty() || value == L"baseline")
        return kAlignBaseline;
    if (value == L"middle" || value == L"vcenter")
        return kAlignMiddle;
    if (value == L"top")
        return kAlignTop;
    if (value == L"bottom")
        return kAlignBottom;
    return current;
}

} // namespace

bool DeclarationReader::Next(std::wstring_view& name, std::wstring_view& value) {
    const size_t size = text_.size();
    size_t i = position_;
    while (true) {
        if (!ReadName(text_, i, L':', name)) {
            position_ = size;
            return false;
        }
        SkipBlanks(text_, i);
        if (i < size && text_[i] == L':')
            break;
        const size_t end = text_.find(L';', i);
        i = end == std::wstring_view::npos ? size : end + 1;
    }
    ++i;
    SkipBlanks(text_, i);
    if (i < size && text_[i] == L'"') {
        const size_t close = text_.find(L'"', i + 1);
        value = close == std::wstring_view::npos ? std::wstring_view{}
                                                 : text_.substr(i + 1, close - i - 1);
        position_ = close == std::wstring_view::npos ? size : close + 1;
        return true;
    }
    size_t end = text_.find(L';', i);
    if (end == std::wstring_view::npos)
        end = size;
    value = text_.substr(i, end - i);
    position_ = end < size ? end + 1 : size;
    return true;
}

void ApplyDeclarations(std::wstring_view declarations, HtmlStyle& style,
                       const StyleContext& context) {
    DeclarationReader reader(declarations);
    std::wstring_view name;
    std::wstring_view value;
    while (reader.Next(name, value))
        ApplyProperty(name, value, style, context);
}

int ParseFontWeight(std::wstring_view value) {
    if (value.empty() || value == L"normal")
        return FW_NORMAL;
    if (value == L"bold")
        return FW_BOLD;
    if (value == L"bolder")
        return FW_HEAVY;
    if (value == L"lighter")
        return FW_THIN;
    return LeadingNumber(value);
}

BYTE ParseFontStyle(std::wstring_view value) {
    if (value.empty() || value == L"normal")
        return 0;
    if (value == L"italic" || value == L"oblique")
        return 1;
    return NumberByte(value);
}

void ApplyTextDecoration(std::wstring_view value, HtmlStyle& style) {
    if (value.empty()) {
        style.overline = style.underline = style.strikeout = 0;
        return;
    }
    size_t i = 0;
    while (i < value.size()) {
        while (i < value.size() && (IsBlank(value[i]) || value[i] == L','))
            ++i;
        const size_t start = i;
        while (i < value.size() && !IsBlank(value[i]) && value[i] != L',')
            ++i;
        const std::wstring_view word = value.substr(start, i - start);
        if (word == L"none")
            style.overline = style.underline = style.strikeout = 0;
        else if (word == L"underline")
            style.underline = 1;
        else if (word == L"line-through")
            style.strikeout = 1;
        else if (word == L"overline")
            style.overline = 1;
    }
}

void ApplyBorderWidth(std::wstring_view value, HtmlStyle& style, const CssMetrics& metrics) {
    if (value == L"thin")
        style.borderWidth = PercentOf(style.borderWidth, 75);
    else if (value == L"thick")
        style.borderWidth = PercentOf(style.borderWidth, 125);
    else if (value != L"medium")
        style.borderWidth = ParseLength(value, style.borderWidth, false, metrics);
    if (style.borderWidth == 0)
        style.borderStyle = kBorderNone;
    else if (style.borderStyle == kBorderNone)
        style.borderStyle = kBorderSolid;
}

void ApplyBorderStyle(std::wstring_view value, HtmlStyle& style) {
    if (value.empty() || value == L"none")
        style.borderStyle = kBorderNone;
    else if (value == L"solid")
        style.borderStyle = kBorderSolid;
    else if (value == L"dashed")
        style.borderStyle = kBorderDashed;
    else if (value == L"dotted")
        style.borderStyle = kBorderDotted;
    else if (value == L"double")
        style.borderStyle = kBorderDouble;
    if (style.borderStyle != kBorderNone && style.borderWidth == 0)
        style.borderWidth = 1;
}

void ApplyTextColour(std::wstring_view value, HtmlStyle& style, const StyleContext& context) {
    style.color = context.disabledColour ? *context.disabledColour
                                         : ParseColour(value, style.color, context.colours);
}

void ApplyBorderColour(std::wstring_view value, COLORREF& colour, const StyleContext& context) {
    colour = context.disabledColour ? *context.disabledColour
                                    : ParseColour(value, colour, context.colours);
}

void ApplyTextBackground(std::wstring_view value, HtmlStyle& style, const StyleContext& context) {
    if (context.disabledColour || value == L"transparent") {
        style.backgroundMode = kBackgroundTransparent;
        return;
    }
    style.backgroundMode = kBackgroundOpaque;
    style.backgroundColor = ParseColour(value, style.backgroundColor, context.colours);
}

void ApplyProperty(std::wstring_view property, std::wstring_view value, HtmlStyle& style,
                   const StyleContext& context) {
    const auto& properties = Properties();
    const auto found = properties.find(property);
    if (found == properties.end())
        return;
    switch (found->second) {
    case Property::FontSize:
        style.height = ParseLength(value, style.height, true, context.metrics);
        break;
    case Property::FontFamily:
        SetFace(style, value);
        break;
    case Property::FontStyle:
        style.italic = ParseFontStyle(value);
        break;
    case Property::FontWeight:
        style.weight = ParseFontWeight(value);
        break;
    case Property::TextAlign:
        style.horizontalAlign = TextAlign(value, style.horizontalAlign);
        break;
    case Property::TextTransform:
        style.textTransform = TextTransformOf(value, style.textTransform);
        break;
    case Property::Color:
        ApplyTextColour(value, style, context);
        break;
    case Property::BackgroundColor:
        ApplyTextBackground(value, style, context);
        break;
    case Property::TextDecoration:
        ApplyTextDecoration(value, style);
        break;
    case Property::VerticalAlign:
        style.verticalAlign = VerticalAlignOf(value, style.verticalAlign);
        break;
    case Property::BorderColor:
        ApplyBorderColour(value, style.borderColorLight, context);
        ApplyBorderColour(value, style.borderColorDark, context);
        break;
    case Property::BorderWidth:
        ApplyBorderWidth(value, style, context.metrics);
        break;
    case Property::BorderStyle:
        ApplyBorderStyle(value, style);
        break;
    case Property::Margin:
        style.cellPadding = ParseLength(value, style.cellPadding, false, context.metrics);
        break;
    case Property::Padding:
        style.cellSpacing = ParseLength(value, style.cellSpacing, false, context.metrics);
        break;
    case Property::LfWidth:
        style.width = LeadingNumber(value);
        break;
    case Property::LfEscapement:
        style.escapement = LeadingNumber(value);
        break;
    case Property::LfOrientation:
        style.orientation = LeadingNumber(value);
        break;
    case Property::LfCharset:
        style.charset = NumberByte(value);
        break;
    case Property::LfOutPrecision:
        style.outPrecision = NumberByte(value);
        break;
    case Property::LfClipPrecision:
        style.clipPrecision = NumberByte(value);
        break;
    case Property::LfQuality:
        style.quality = NumberByte(value);
        break;
    case Property::LfPitchAndFamily:
        style.pitchAndFamily = NumberByte(value);
        break;
    case Property::LfItalic:
        style.italic = NumberByte(value);
        break;
    case Property::LfUnderline:
        style.underline = NumberByte(value);
        break;
    case Property::LfStrikeout:
        style.strikeout = NumberByte(value);
        break;
    }
}

} // namespace richtext
