#pragma once
// Colour values of the markup: "#RRGGBB", whole numbers in 0x00BBGGRR order, and named colours.

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace richtext {

// The named colours: the extended colour keywords of the web (with "gray" spellings only, apart
// from "lightgrey") and the names of the Windows system colours. The system colours are read
// when the table is built, so a table follows a change of the scheme only when built anew.
class ColourTable {
public:
    ColourTable();

    std::optional<COLORREF> Find(std::wstring_view name) const;
    size_t Size() const { return colours_.size(); }

private:
    std::map<std::wstring, COLORREF, std::less<>> colours_;
};

// `value` as a colour, or `current` when it is empty or not recognised. A name gives
// `*disabledColour` instead when that is given (the drawer is disabled).
COLORREF ParseColour(std::wstring_view value, COLORREF current, const ColourTable& table,
                     const COLORREF* disabledColour = nullptr);

} // namespace richtext
