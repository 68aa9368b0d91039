#pragma once
// The attributes of "table", "tr" and "td", which the table layer reads into the style of the
// level it opens.

#include "richtext/css_declarations.h"
#include "richtext/html_style.h"

#include <string>
#include <string_view>

namespace richtext {

enum class TableElement { Table, Row, Cell };

// What a cell tells the grid beyond its style.
struct TableAttributes {
    int colspan = 1;
    int rowspan = 1;
};

// A table's `background` attribute: "idres:N; iddll:N; file:path" naming the bitmap that fills
// the table (a resource of the program, a module handle's resource, or a file).
struct TableBackground {
    int idres = 0;
    int iddll = 0;
    std::wstring file;
};
TableBackground ParseTableBackground(std::wstring_view declarations);

// Background effects by name or number: "solid" 0, "hgradient" 1 ... "metal" 15; "transparent"
// -1. Anything else gives `current`.
int ParseBackgroundEffect(std::wstring_view value, int current);

// Reads `attributes` into `style`. `cellpadding`, `cellspacing` and `background` count only on
// a table. While disabled the background colours and effect are left alone and the border
// colours become the disabled colour.
TableAttributes ApplyTableAttributes(TableElement element, std::wstring_view attributes,
                                     HtmlStyle& style, const StyleContext& context);

} // namespace richtext
