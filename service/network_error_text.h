#pragma once
// The texts that the user sees for WinInet errors and HTTP statuses, from the string table.

#include <windows.h>

#include <optional>
#include <string>

namespace service {

// The string-table text of WinInet error `error`, or "Can't connect with Velk Update Service"
// when the table has none.
std::wstring WinInetErrorText(DWORD error);

// The string-table text of WinInet error `error`, or nothing when the table has none.
std::optional<std::wstring> FindWinInetErrorText(DWORD error);

// The string-table text of HTTP status `status`, or nothing when the table has none; the caller
// then shows the connection text.
std::optional<std::wstring> HttpStatusText(unsigned status);

// The system's message text for a Win32 error code, without the trailing line break; empty
// when the system has none.
std::wstring SystemMessageText(DWORD error);

} // namespace service
