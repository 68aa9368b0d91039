#pragma once
// Where a run of text that does not fit the rest of a line is cut.

#include <functional>
#include <string_view>

namespace richtext {

// The characters after which a line may break.
inline constexpr std::wstring_view kBreakCharacters = L" -.,!:;)}]?";

// Width in pixels of a text in the font of the moment.
using TextMeasure = std::function<int(std::wstring_view)>;

struct RunBreak {
    size_t pieceLength = 0; // characters placed on this line (trailing blanks removed)
    size_t skipLength = 0;  // characters dropped after the piece (blanks)
    int pieceWidth = 0;
};

// Cuts `text` for a line with `available` pixels left. After the last break character whose
// prefix still fits; with none, an empty line takes as many characters as fit but at least one
// (a surrogate pair counts as one), while a line that holds something already gets an empty
// piece and must end first. Takes O(log n) measurements of at most about twice the piece.
RunBreak BreakRun(std::wstring_view text, bool lineIsEmpty, int available,
                  const TextMeasure& measure);

} // namespace richtext
