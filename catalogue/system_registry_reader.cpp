#include "catalogue/system_registry_reader.h"

#include <vector>

namespace {

HKEY AsHkey(CRegistryReader::Key key) {
    return static_cast<HKEY>(key);
}

} // namespace

CRegistryReader::Key CSystemRegistryReader::Open(const std::string& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key) !=
        ERROR_SUCCESS)
        return nullptr;
    return key;
}

CRegistryReader::EnumResult
CSystemRegistryReader::EnumerateSubKey(Key key, DWORD index, DWORD bufferChars, std::string& name) {
    std::vector<char> buffer(bufferChars + 1, '\0');
    DWORD length = bufferChars;
    const LONG result = ::RegEnumKeyExA(AsHkey(key), index, buffer.data(), &length, nullptr,
                                        nullptr, nullptr, nullptr);
    if (result == ERROR_MORE_DATA)
        return EnumResult::NameTooLong;
    if (result != ERROR_SUCCESS)
        return EnumResult::End;
    name.assign(buffer.data(), std::min<DWORD>(length, bufferChars));
    return EnumResult::Name;
}

std::optional<std::string> CSystemRegistryReader::QueryValue(Key key, const char* name,
                                                             DWORD bufferBytes) {
    std::string data(bufferBytes, '\0');
    DWORD size = bufferBytes;
    if (::RegQueryValueExA(AsHkey(key), name, nullptr, nullptr,
                           reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(std::min(size, bufferBytes));
    return data;
}

void CSystemRegistryReader::Close(Key key) {
    ::RegCloseKey(AsHkey(key));
}

CRegistryReader& TheSystemRegistryReader() {
    static CSystemRegistryReader reader;
    return reader;
}
