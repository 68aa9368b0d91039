#pragma once
// The tags of the markup: what kind each is and the key that closes it.

#include <map>
#include <string>
#include <string_view>

namespace richtext {

enum class TagKind : int {
    Bold = 1,
    Italic = 2,
    Underline = 3,
    Strikeout = 4,
    Font = 5,
    Rule = 6,
    LineBreak = 7,
    Tab = 8,
    Left = 9,
    Center = 10,
    Right = 11,
    Justify = 12,
    Baseline = 13,
    Top = 14,
    VCenter = 15,
    Bottom = 16,
    Bitmap = 17,
    Icon = 18,
    ImageList = 19,
    String = 20,
    StyleRule = 21,
    Span = 22,
    Link = 23,
};

struct TagEntry {
    TagKind kind;
    std::wstring closingKey; // empty for elements that take no closing tag
};

using TagTable = std::map<std::wstring, TagEntry, std::less<>>;

// Every tag the markup knows, by exact name; built once and never changed.
const TagTable& Tags();

// The entry of tag `name`, or null for an unknown tag (which is ignored).
const TagEntry* FindTag(std::wstring_view name);

// Empty elements act at once, change no style and take no closing tag.
inline bool IsEmptyElement(const TagEntry& entry) {
    return entry.closingKey.empty();
}

} // namespace richtext
