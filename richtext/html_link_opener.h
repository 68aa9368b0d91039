#pragma once
// Opening the target of an `href` link: the shell first, then the program registered for web
// pages when the shell cannot.

#include <string>
#include <string_view>

namespace richtext {

// Opens `target` shown normally; false when neither way started anything.
bool OpenLink(const std::wstring& target);

// The command line that opens `target` with the registered handler `command`: the command is
// cut at the first quoted "%1" (quotes included), else at the first "%1", then a blank and the
// target follow.
std::wstring HandlerCommandLine(std::wstring_view command, std::wstring_view target);

} // namespace richtext
