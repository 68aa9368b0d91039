#pragma once

#include <string>

// Deletes `folder` with everything below it. Failures are ignored: what is in use stays. A
// junction or directory link (the folder itself or any below it) is removed as a link; what it
// points to is never touched.
void DeleteFolderTree(const std::wstring& folder);
