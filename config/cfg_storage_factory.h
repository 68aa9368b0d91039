#pragma once
// Makes the storage that AddStorage's flags and info ask for.

#include "config/cfg.h"
#include "config/cfg_storage.h"

#include <memory>

// Tries the registry (kCfgStorageRegistry), a file (kCfgStorageFile) and a memory image
// (kCfgStorageMemory) in that order and returns the first that can be made; null when none.
std::unique_ptr<CACfgStorage> CreateCfgStorage(CfgValueTree& tree, DWORD flags,
                                               const CACfgStorageInfo& info);
