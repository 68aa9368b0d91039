#include "config/cfg_storage_factory.h"

#include "config/cfg_storage_files.h"
#include "config/cfg_storage_win32_reg.h"

namespace {

// An image storage needs exactly one format, and text separators it can write back.
bool HasUsableFormat(DWORD flags, const CACfgStorageInfo& info) {
    const DWORD format = flags & (kCfgFormatText | kCfgFormatBinary);
    if (format == kCfgFormatBinary)
        return true;
    if (format != kCfgFormatText)
        return false;
    return CfgTextSeparators{info.separators[0], info.separators[1], info.separators[2]}.IsValid();
}

std::unique_ptr<CACfgStorage> CreateRegistryStorage(CfgValueTree& tree, DWORD flags,
                                                    const CACfgStorageInfo& info) {
    if (info.path == nullptr)
        return nullptr;
    auto storage = std::make_unique<CACfgStorageWin32Reg>(tree, flags, info.path, info.machine);
    // A registry storage that reaches nothing is still one, unless another kind may be tried.
    if (storage->IsInert() && (flags & (kCfgStorageFile | kCfgStorageMemory)) != 0)
        return nullptr;
    return storage;
}

std::unique_ptr<CACfgStorage> CreateFileStorage(CfgValueTree& tree, DWORD flags,
                                                const CACfgStorageInfo& info) {
    if (info.path == nullptr || *info.path == L'\0' || !HasUsableFormat(flags, info))
        return nullptr;
    return std::make_unique<CACfgStorageFiles>(tree, flags, CACfgStorageFiles::Target::File, info);
}

std::unique_ptr<CACfgStorage> CreateMemoryStorage(CfgValueTree& tree, DWORD flags,
                                                  const CACfgStorageInfo& info) {
    if (!HasUsableFormat(flags, info))
        return nullptr;
    if (info.buffer != nullptr)
        return std::make_unique<CACfgStorageFiles>(tree, flags, CACfgStorageFiles::Target::Buffer,
                                                   info);
    if (info.memory != nullptr && info.memorySize != 0)
        return std::make_unique<CACfgStorageFiles>(tree, flags, CACfgStorageFiles::Target::Block,
                                                   info);
    return nullptr;
}

} // namespace

std::unique_ptr<CACfgStorage> CreateCfgStorage(CfgValueTree& tree, DWORD flags,
                                               const CACfgStorageInfo& info) {
    std::unique_ptr<CACfgStorage> storage;
    if ((flags & kCfgStorageRegistry) != 0)
        storage = CreateRegistryStorage(tree, flags, info);
    if (!storage && (flags & kCfgStorageFile) != 0)
        storage = CreateFileStorage(tree, flags, info);
    if (!storage && (flags & kCfgStorageMemory) != 0)
        storage = CreateMemoryStorage(tree, flags, info);
    return storage;
}
