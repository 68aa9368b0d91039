#include "richtext/html_table_attributes.h"

#include "richtext/css_number.h"
#include "richtext/html_tokenizer.h"

#include <algorithm>

namespace richtext {
namespace {

constexpr const wchar_t* kEffectNames[] = {
    L"solid",      L"hgradient", L"vgradient", L"hcgradient", L"vcgradient", L"3hgradient",
    L"3vgradient", L"noise",     L"diagshade", L"hshade",     L"vshade",     L"hbump",
    L"vbump",      L"softbump",  L"hardbump",  L"metal",
};

// Grids larger than this are refused span by span; a hostile colspan must not make the table
// layer allocate millions of slots.
constexpr int kMaxSpan = 1000;

void ReadSize(std::wstring_view value, int& size, bool& percent, const CssMetrics& metrics) {
    if (value.empty())
        return;
    percent = value.back() == L'%';
    size = percent ? LeadingNumber(value) : ParseLength(value, size, false, metrics);
}

int Span(std::wstring_view value) {
    return std::clamp(LeadingNumber(value), 1, kMaxSpan);
}

int HorizontalAlignOf(std::wstring_view value, int current) {
    if (value == L"left")
        return kAlignLeft;
    if (value == L"center")
        return kAlignCenter;
    if (value == L"right")
        return kAlignRight;
    if (value == L"justify")
        return kAlignJustify;
    return current;
}

int VerticalAlignOf(std::wstring_view value, int current) {
    if (value == L"top")
        return kAlignTop;
    if (value == L"middle" || value == L"vcenter")
        return kAlignMiddle;
    if (value == L"bottom")
        return kAlignBottom;
    if (value == L"baseline")
        return kAlignBaseline;
    return current;
}

void ApplyBackground(std::wstring_view name, std::wstring_view value, HtmlStyle& style,
                     const StyleContext& context) {
    if (context.disabledColour)
        return;
    if (name == L"bgcolor") {
        style.backgroundColor = ParseColour(value, style.backgroundColor, context.colours);
        if (style.backgroundEffect == kEffectTransparent)
            style.backgroundEffect = kEffectSolid;
    } else if (name == L"bgmidcolor") {
        style.backgroundMiddleColor =
            ParseColour(value, style.backgroundMiddleColor, context.colours);
    } else if (name == L"bgendcolor") {
        style.backgroundEndColor = ParseColour(value, style.backgroundEndColor, context.colours);
    } else if (name == L"bgeffect") {
        style.backgroundEffect = ParseBackgroundEffect(value, style.backgroundEffect);
    }
}

} // namespace

TableBackground ParseTableBackground(std::wstring_view declarations) {
    TableBackground background;
    DeclarationReader reader(declarations);
    std::wstring_view name;
    std::wstring_view value;
    while (reader.Next(name, value)) {
        if (name == L"idres")
            background.idres = LeadingNumber(value);
        else if (name == L"iddll")
            background.iddll = LeadingNumber(value);
        else if (name == L"file")
            background.file.assign(value);
    }
    return background;
}

int ParseBackgroundEffect(std::wstring_view value, int current) {
    if (value == L"transparent")
        return kEffectTransparent;
    // Names first: "3hgradient" is a name, not the number 3.
    for (int effect = 0; effect <= 15; ++effect) {
        if (value == kEffectNames[effect])
            return effect;
    }
    if (!value.empty() && IsAsciiDigit(value.front()))
        return std::clamp(LeadingNumber(value), 0, 15);
    return current;
}

TableAttributes ApplyTableAttributes(TableElement element, std::wstring_view attributes,
                                     HtmlStyle& style, const StyleContext& context) {
    TableAttributes table;
    const bool isTable = element == TableElement::Table;
    AttributeReader reader(attributes);
    std::wstring_view name;
    std::wstring_view value;
    while (reader.Next(name, value)) {
        if (name == L"bgcolor" || name == L"bgmidcolor" || name == L"bgendcolor" ||
            name == L"bgeffect") {
            ApplyBackground(name, value, style, context);
        } else if (name == L"bordercolor") {
            ApplyBorderColour(value, style.borderColorLight, context);
            ApplyBorderColour(value, style.borderColorDark, context);
        } else if (name == L"bordercolorlight") {
            ApplyBorderColour(value, style.borderColorLight, context);
        } else if (name == L"bordercolordark") {
            ApplyBorderColour(value, style.borderColorDark, context);
        } else if (name == L"border") {
            ApplyBorderWidth(value, style, context.metrics);
        } else if (name == L"borderstyle") {
            ApplyBorderStyle(value, style);
        } else if (name == L"width") {
            ReadSize(value, style.cellWidth, style.cellWidthPercent, context.metrics);
        } else if (name == L"height") {
            ReadSize(value, style.cellHeight, style.cellHeightPercent, context.metrics);
        } else if (name == L"align") {
            style.horizontalAlign = HorizontalAlignOf(value, style.horizontalAlign);
        } else if (name == L"valign") {
            style.verticalAlign = VerticalAlignOf(value, style.verticalAlign);
        } else if (name == L"colspan") {
            table.colspan = Span(value);
        } else if (name == L"rowspan") {
            table.rowspan = Span(value);
        } else if (isTable && name == L"cellpadding") {
            style.cellPadding = ParseLength(value, style.cellPadding, false, context.metrics);
        } else if (isTable && name == L"cellspacing") {
            style.cellSpacing = ParseLength(value, style.cellSpacing, false, context.metrics);
        } else if (isTable && name == L"background") {
            style.backgroundImage = SharedText(value);
        }
    }
    return table;
}

} // namespace richtext
