#pragma once
// Whole-file reads and whole-file replacement for the file storage.

#include "config/cfg_value_tree.h"

#include <string>

enum class CfgFileRead {
    Read,    // the content is in the buffer
    Missing, // there is no such file (or folder)
    Failed,  // the file is there but could not be read, or is beyond `limit`
};

CfgFileRead ReadCfgFile(const std::wstring& path, size_t limit, CfgBytes& content);

// Writes `content` into a temporary file beside `path` and then puts it in the place of the
// file, so a save that fails on the way leaves the old file whole. A read-only file is not
// replaced. With `createFolder`, the folders on the way are created first.
bool ReplaceCfgFile(const std::wstring& path, const CfgBytes& content, bool createFolder);

// Creates `folder` and every folder above it that is missing.
bool CreateCfgFolderTree(const std::wstring& folder);
