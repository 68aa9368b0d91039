#pragma once

#include <string>

// Deletes `folder` with everything below it. Failures are ignored: what is in use stays.
void DeleteFolderTree(const std::wstring& folder);
