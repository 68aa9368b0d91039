#pragma once
// Declarations ("font-size: 10pt; color:black") and what each property changes in a style.

#include "richtext/css_colour.h"
#include "richtext/css_length.h"
#include "richtext/html_style.h"

#include <string_view>

namespace richtext {

// What applying declarations needs besides the style itself.
struct StyleContext {
    const ColourTable& colours;
    const CssMetrics& metrics;
    // Set while the drawer is disabled: text and border colours become this colour and text
    // backgrounds turn transparent.
    const COLORREF* disabledColour = nullptr;
};

// Reads "name: value; name: value" one declaration after the other. A value in double quotes
// loses the quotes (with no closing quote it is empty); any other value runs to the next ";",
// trailing blanks included. A name with no ":" after it has no value and is passed over.
class DeclarationReader {
public:
    explicit DeclarationReader(std::wstring_view declarations) : text_(declarations) {}
    bool Next(std::wstring_view& name, std::wstring_view& value);

private:
    std::wstring_view text_;
    size_t position_ = 0;
};

// Applies every declaration in order; unknown properties change nothing.
void ApplyDeclarations(std::wstring_view declarations, HtmlStyle& style,
                       const StyleContext& context);
void ApplyProperty(std::wstring_view property, std::wstring_view value, HtmlStyle& style,
                   const StyleContext& context);

// The keyword values shared by properties and tag attributes.
int ParseFontWeight(std::wstring_view value);
BYTE ParseFontStyle(std::wstring_view value);
void ApplyTextDecoration(std::wstring_view value, HtmlStyle& style);
// Border width and style keep each other consistent: no width means no border and a border
// needs a width.
void ApplyBorderWidth(std::wstring_view value, HtmlStyle& style, const CssMetrics& metrics);
void ApplyBorderStyle(std::wstring_view value, HtmlStyle& style);
void ApplyTextColour(std::wstring_view value, HtmlStyle& style, const StyleContext& context);
void ApplyBorderColour(std::wstring_view value, COLORREF& colour, const StyleContext& context);
// "transparent" or a colour that makes the text background opaque.
void ApplyTextBackground(std::wstring_view value, HtmlStyle& style, const StyleContext& context);

} // namespace richtext
