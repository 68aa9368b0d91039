#pragma once
// The messages that the update server writes into a reply it refuses to serve, as HTML comments
// "<!-- VelkInfo: text -->".

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace service {

// How much of a refused reply is searched for messages.
inline constexpr DWORD kServerMessageScanLimit = 131072;

// Every text between "<!-- VelkInfo: " and the next " -->", in order.
std::vector<std::string> FindServerMessages(std::string_view reply);

// The messages of the first kServerMessageScanLimit bytes of `file` (read from its start), each
// followed by a line feed, as wide text; empty when there is none or the file cannot be read.
std::wstring ReadServerMessages(HANDLE file);

} // namespace service
