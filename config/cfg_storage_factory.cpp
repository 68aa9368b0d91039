#include "config/cfg_storage_factory.h"

#include "config/cfg_storage_files.h"
#include "config/cfg_storage_win32_reg.h"

namespace {

// An image storage needs exactly one format, and text separators it can write back.
bool HasUsableFormat(DWORD flags, const CACfgStorageSpec& spec) {
    const DWORD format = flags & (kCfgFormatText | kCfgFormatBinary);
    if (format == kCfgFormatBinary)
        return true;
    if (format != kCfgFormatText)
        return false;
    return CfgTextSeparators{spec.separators[0], spec.separators[1], spec.separators[2]}.IsValid();
}

std::unique_ptr<CACfgStorage> CreateRegistryStorage(CfgValueTree& tree, DWORD flags,
                                                    const CACfgStorageSpec& spec) {
    if (spec.path == nullptr)
        return nullptr;
    auto storage = std::make_unique<CACfgStorageWin32Reg>(tree, flags, spec.path, spec.machine);
    // A registry storage that reaches nothing is still one, unless another kind may be tried.
    if (storage->IsInert() && (flags & (kCfgStorageFile | kCfgStorageMemory)) != 0)
        return nullptr;
    return storage;
}

std::unique_ptr<CACfgStorage> CreateFileStorage(CfgValueTree& tree, DWORD flags,
                                                const CACfgStorageSpec& spec) {
    if (spec.path == nullptr || *spec.path == L'\0' || !HasUsableFormat(flags, spec))
        return nullptr;
    return std::make_unique<CACfgStorageFiles>(tree, flags, CACfgStorageFiles::Target::File, spec);
}

std::unique_ptr<CACfgStorage> CreateMemoryStorage(CfgValueTree& tree, DWORD flags,
                                                  const CACfgStorageSpec& spec) {
    if (!HasUsableFormat(flags, spec))
        return nullptr;
    if (spec.buffer != nullptr)
        return std::make_unique<CACfgStorageFiles>(tree, flags, CACfgStorageFiles::Target::Buffer,
                                                   spec);
    if (spec.memory != nullptr && spec.memorySize != 0)
        return std::make_unique<CACfgStorageFiles>(tree, flags, CACfgStorageFiles::Target::Block,
                                                   spec);
    return nullptr;
}

} // namespace

std::unique_ptr<CACfgStorage> CreateCfgStorage(CfgValueTree& tree, DWORD flags,
                                               const CACfgStorageSpec& spec) {
    std::unique_ptr<CACfgStorage> storage;
    if ((flags & kCfgStorageRegistry) != 0)
        storage = CreateRegistryStorage(tree, flags, spec);
    if (!storage && (flags & kCfgStorageFile) != 0)
        storage = CreateFileStorage(tree, flags, spec);
    if (!storage && (flags & kCfgStorageMemory) != 0)
        storage = CreateMemoryStorage(tree, flags, spec);
    return storage;
}
