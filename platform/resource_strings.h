#pragma once
// The process-wide cache of resource strings, read by number.

#include <windows.h>

#include <string>

namespace platform {

// The text of string `id` from the resource modules, or "Unknown resource" when none holds it.
// The reference stays valid for the life of the process. Any thread may call it.
const std::wstring& ResourceString(UINT id);

// The same text in the system's ANSI code page, for the 8-bit interfaces.
const std::string& ResourceStringA(UINT id);

} // namespace platform
