#pragma once
// The named entities of the markup and the preparation of a text before it is laid out.

#include <map>
#include <string>
#include <string_view>

namespace richtext {

using EntityTable = std::map<std::wstring, std::wstring, std::less<>>;

// The 13 entities, keyed by their full text ("&amp;") in exact order of comparison.
const EntityTable& Entities();

// Rewrites `text` for layout: every entity of the table is replaced until none of it is left,
// entity by entity in key order (so "&amp;lt;" ends up as the escape of a literal "<"); then
// carriage returns are removed. Linear in the length of the text.
std::wstring PrepareMarkupText(std::wstring_view text);

} // namespace richtext
