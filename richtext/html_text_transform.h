#pragma once
// The text-transform of a style applied to one run of text.

#include <string>

namespace richtext {

// Upper or lower case for the whole run, or capitalize: lower case first, then every letter
// a..z at the start of the run or after a blank becomes upper case.
void ApplyTextTransform(std::wstring& run, int transform);

} // namespace richtext
