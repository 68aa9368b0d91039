#include "platform/resource_modules.h"

#include <array>

namespace platform {
namespace {

struct ResourceModules {
    std::array<HMODULE, 2> search{};
    LANGID language = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    bool set = false;
};

ResourceModules g_modules;

HMODULE RunningImage() {
    return ::GetModuleHandleW(nullptr);
}

std::array<LANGID, 3> FallbackLanguages() {
    return {g_modules.language, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
            MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)};
}

// A string block holds 16 strings, each a length followed by that many characters.
bool StringFromBlock(HMODULE module, HRSRC block, UINT index, std::wstring& text) {
    const HGLOBAL loaded = ::LoadResource(module, block);
    const auto* data = static_cast<const WORD*>(::LockResource(loaded));
    if (!data)
        return false;
    const DWORD size = ::SizeofResource(module, block) / sizeof(WORD);
    DWORD offset = 0;
    for (UINT i = 0; i < index; ++i) {
        if (offset >= size)
            return false;
        offset += 1 + data[offset];
    }
    if (offset >= size || data[offset] == 0 || offset + 1 + data[offset] > size)
        return false;
    text.assign(reinterpret_cast<const wchar_t*>(data + offset + 1), data[offset]);
    return true;
}

} // namespace

void SetResourceModules(HMODULE primary, HMODULE executable, LANGID language) {
    g_modules.search = {primary ? primary : executable, primary ? executable : nullptr};
    g_modules.language = language;
    g_modules.set = true;
}

LANGID ResourceLanguage() {
    return g_modules.language;
}

HMODULE PrimaryResourceModule() {
    return g_modules.set ? g_modules.search[0] : RunningImage();
}

HMODULE ExecutableModule() {
    if (!g_modules.set)
        return RunningImage();
    return g_modules.search[1] ? g_modules.search[1] : g_modules.search[0];
}

HMODULE FindResourceModule(LPCWSTR type, LPCWSTR name, HRSRC* found) {
    const std::array<HMODULE, 2> search =
        g_modules.set ? g_modules.search : std::array<HMODULE, 2>{RunningImage(), nullptr};
    for (HMODULE module : search) {
        if (!module)
            continue;
        for (LANGID language : FallbackLanguages()) {
            if (HRSRC resource = ::FindResourceExW(module, type, name, language)) {
                if (found)
                    *found = resource;
                return module;
            }
        }
    }
    return nullptr;
}

bool LoadStringResource(UINT id, std::wstring& text) {
    const std::array<HMODULE, 2> search =
        g_modules.set ? g_modules.search : std::array<HMODULE, 2>{RunningImage(), nullptr};
    const LPCWSTR block = MAKEINTRESOURCEW(id / 16 + 1);
    // A module may hold the block in one language but not this string; go on searching then.
    for (HMODULE module : search) {
        if (!module)
            continue;
        for (LANGID language : FallbackLanguages()) {
            HRSRC resource = ::FindResourceExW(module, RT_STRING, block, language);
            if (resource && StringFromBlock(module, resource, id % 16, text))
                return true;
        }
    }
    return false;
}

} // namespace platform
