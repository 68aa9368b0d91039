#include "config/cfg_registry_path.h"

#include "platform/text.h"

namespace {

bool ConsumePrefix(std::string_view& text, std::string_view prefix) {
    if (text.substr(0, prefix.size()) != prefix)
        return false;
    text.remove_prefix(prefix.size());
    return true;
}

} // namespace

std::optional<CfgRegistryLocation> ParseCfgRegistryPath(std::string_view path, bool system64) {
    CfgRegistryLocation location;
    // The 32-bit view is asked for explicitly, so "32:" means the same in the 64-bit build as in
    // the 32-bit one.
    if (ConsumePrefix(path, "32:"))
        location.view = KEY_WOW64_32KEY;
    else if (ConsumePrefix(path, "64:"))
        location.view = system64 ? KEY_WOW64_64KEY : 0;
    if (ConsumePrefix(path, "HKCU\\"))
        location.root = HKEY_CURRENT_USER;
    else if (ConsumePrefix(path, "HKLM\\"))
        location.root = HKEY_LOCAL_MACHINE;
    else
        return std::nullopt;
    location.baseKey = platform::WideFromAnsi(path);
    while (!location.baseKey.empty() && location.baseKey.back() == L'\\')
        location.baseKey.pop_back();
    return location;
}

std::optional<CfgRegistryName> SplitCfgRegistryName(const std::wstring& baseKey,
                                                    std::string_view name) {
    CfgRegistryName split;
    split.key = baseKey;
    const size_t separator = name.find_last_of("\\/");
    if (separator != std::string_view::npos) {
        const std::wstring keyPart = platform::WideFromAnsi(name.substr(0, separator));
        if (!keyPart.empty()) {
            if (!split.key.empty())
                split.key += L'\\';
            split.key += keyPart;
        }
        split.value = platform::WideFromAnsi(name.substr(separator + 1));
    } else {
        split.value = platform::WideFromAnsi(name);
    }
    if (split.key.size() > kCfgRegistryNameLimit || split.value.size() > kCfgRegistryNameLimit)
        return std::nullopt;
    return split;
}

bool CfgSystemIs64Bit() {
#ifdef _WIN64
    return true;
#else
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
#endif
}
