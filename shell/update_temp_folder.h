#pragma once
// The update temporary folder: the temporary copy of the executable, the version file and the
// downloaded packages live there.

#include <string>

// The folder's name inside the user's temporary folder.
inline constexpr wchar_t kUpdateTempFolderName[] = L"FB4B2B76-3823-4004-A4F5-C019BA623A48-Velk";

// The path (no trailing backslash); empty when the temporary folder could not be obtained or
// before start-up set it. Read-only once start-up is over.
const std::wstring& UpdateTempFolder();

// Start-up: sets the path from the user's temporary folder. The wide temporary path is used, so
// a user name outside the ANSI code page still gives a usable folder.
void SetUpdateTempFolderFromSystem();

// For tests and tools: sets the path directly.
void SetUpdateTempFolder(std::wstring path);
