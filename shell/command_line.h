#pragma once
// Splitting a command line into arguments as the program's starters expect it.

#include <string>
#include <string_view>
#include <vector>

// Splits `line` into arguments. Argument 0 is everything up to the next double quote when the
// line starts with one (the quotes removed), else everything up to the first character below 33.
// The rest follows the Windows rules (blanks and tabs separate outside double quotes, quotes
// group and are removed, "" inside quotes gives one quote, 2n backslashes before a quote give n
// and the quote acts, 2n+1 give n and a literal quote), except that a forward slash counts as a
// backslash: every run of either is written out as backslashes only.
std::vector<std::string> SplitCommandLine(std::string_view line);
std::vector<std::wstring> SplitCommandLine(std::wstring_view line);
