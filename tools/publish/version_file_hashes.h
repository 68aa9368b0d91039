#pragma once
// "zapdate_publish hash": writes the packages' SHA-256 into the version file, in place, so that
// every other byte of the file stays as it was.

#include <string>
#include <vector>

namespace publish {

// For each build section whose url's path names a file under `root`, writes or updates its
// "sha256" line. Sections without such a file are left alone and listed in `notes`. False, with
// the reason in `notes`, when the file cannot be read or written.
bool HashVersionFile(const std::wstring& path, const std::wstring& root,
                     std::vector<std::wstring>& notes);

} // namespace publish
