#pragma once
// Facts read from a Windows executable image file.

#include <windows.h>

#include <string>

namespace platform {

// The link time stamp of an executable file (the 32-bit seconds count 8 bytes behind the "PE"
// signature) as a calendar date and time counted from 1969-12-31 16:00:00. False when the file
// cannot be read or is not an executable image (shorter than 65 bytes, or no signature inside it).
bool ReadLinkTime(const std::wstring& path, SYSTEMTIME& linkTime);

} // namespace platform
