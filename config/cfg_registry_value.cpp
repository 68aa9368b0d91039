#include "config/cfg_registry_value.h"

#include "config/cfg_flags.h"
#include "platform/text.h"

#include <cstring>
#include <string>

namespace {

std::optional<CfgRegistryData> IntegerToRegistry(DWORD type, const CfgBytes& data) {
    if (data.empty() || data.size() > 8)
        return std::nullopt;
    unsigned long long value = 0;
    std::memcpy(&value, data.data(), data.size());
    const bool negative = type == kCfgTypeSigned && (data.back() & 0x80) != 0;
    if (negative && data.size() < 8)
        value |= ~0ull << (data.size() * 8);
    CfgRegistryData out;
    out.type = data.size() <= 4 ? REG_DWORD : REG_QWORD;
    out.bytes.resize(out.type == REG_DWORD ? 4 : 8);
    std::memcpy(out.bytes.data(), &value, out.bytes.size());
    return out;
}

CfgRegistryData WideTextToRegistry(const wchar_t* text, size_t length) {
    CfgRegistryData out;
    out.type = REG_SZ;
    out.bytes.resize((length + 1) * sizeof(wchar_t), 0);
    if (length != 0)
        std::memcpy(out.bytes.data(), text, length * sizeof(wchar_t));
    return out;
}

} // namespace

std::optional<CfgRegistryData> CfgToRegistry(DWORD type, const CfgBytes& data) {
    if (data.size() > kCfgRegistryValueLimit)
        return std::nullopt;
    switch (type) {
    case kCfgTypeUnsigned:
    case kCfgTypeSigned:
        return IntegerToRegistry(type, data);
    case kCfgTypeString: {
        const std::wstring wide = platform::WideFromAnsi(
            std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
        return WideTextToRegistry(wide.data(), wide.size());
    }
    case kCfgTypeWideString: {
        if (data.size() % 2 != 0)
            return std::nullopt;
        std::wstring wide(data.size() / 2, L'\0');
        if (!data.empty())
            std::memcpy(wide.data(), data.data(), data.size());
        return WideTextToRegistry(wide.data(), wide.size());
    }
    default:
        return CfgRegistryData{REG_BINARY, data};
    }
}

CfgLoadedValue CfgFromRegistry(const std::string& name, DWORD registryType, CfgBytes bytes) {
    CfgLoadedValue loaded{name, kCfgTypeBinary, std::move(bytes)};
    if (registryType == REG_SZ || registryType == REG_EXPAND_SZ) {
        CfgBytes& text = loaded.data;
        text.resize(text.size() & ~size_t{1});
        while (text.size() >= 2 && text[text.size() - 1] == 0 && text[text.size() - 2] == 0)
            text.resize(text.size() - 2);
        loaded.type = kCfgTypeWideString;
    } else if ((registryType == REG_DWORD && loaded.data.size() == 4) ||
               (registryType == REG_QWORD && loaded.data.size() == 8)) {
        loaded.type = kCfgTypeUnsigned;
    }
    return loaded;
}
