#include "tools/demo_products/product_registration.h"

#include "platform/text.h"
#include "platform/unique_resource.h"

#include <shlobj.h>

#include <cstring>
#include <vector>

namespace demo {

namespace {

constexpr REGSAM kView32 = KEY_WOW64_32KEY;

bool SetText(HKEY key, const char* name, const std::string& text) {
    if (text.empty())
        return true;
    return ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

std::vector<char> ReadWholeFile(const std::wstring& path) {
    const platform::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                    nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return {};
    LARGE_INTEGER size = {};
    ::GetFileSizeEx(file.Get(), &size);
    std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return {};
    bytes.resize(read);
    return bytes;
}

// Seconds from 1969-12-31 16:00:00 (the products' link-time epoch) to noon of `date`.
uint32_t LinkTimeOf(ProductDate date) {
    SYSTEMTIME noon = {};
    noon.wYear = date.year;
    noon.wMonth = date.month;
    noon.wDay = date.day;
    noon.wHour = 12;
    FILETIME time = {};
    ::SystemTimeToFileTime(&noon, &time);
    const uint64_t ticks = (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
    constexpr uint64_t kEpoch = 116444736000000000ULL - 8ULL * 3600 * 10000000;
    return static_cast<uint32_t>((ticks - kEpoch) / 10000000);
}

} // namespace

std::string ProductKeyName(const ProductRecord& record) {
    return platform::FormatAnsi("SOFTWARE\\Velk\\%s\\%.4X%.4X", record.family.c_str(),
                                record.installCode, record.keyProductId);
}

bool RegisterProduct(const ProductRecord& record) {
    platform::UniqueRegKey key;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, ProductKeyName(record).c_str(), 0, nullptr, 0,
                          KEY_WRITE | kView32, nullptr, key.Put(), nullptr) != ERROR_SUCCESS)
        return false;
    return SetText(key.Get(), "InstallPath", record.installPath) &&
           SetText(key.Get(), "LanguageCode", record.languageCode) &&
           SetText(key.Get(), "InstalledVer", record.installedVersion) &&
           SetText(key.Get(), "InstalledBuild", record.installedBuild);
}

void RemoveAllProducts() {
    platform::UniqueRegKey software;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS | kView32,
                        software.Put()) == ERROR_SUCCESS)
        ::RegDeleteTreeA(software.Get(), "Velk");
}

bool WriteProgramFile(const std::wstring& path, ProductDate date, size_t minimumSize) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return CopyProgramFile(self, path, date, minimumSize);
}

bool CopyProgramFile(const std::wstring& source, const std::wstring& path, ProductDate date,
                     size_t minimumSize) {
    std::vector<char> image = ReadWholeFile(source);
    if (image.size() < 64)
        return false;
    uint32_t peOffset = 0;
    std::memcpy(&peOffset, image.data() + 60, 4);
    if (image.size() < size_t{peOffset} + 12)
        return false;
    const uint32_t stamp = LinkTimeOf(date);
    std::memcpy(image.data() + peOffset + 8, &stamp, 4);
    if (image.size() < minimumSize)
        image.resize(minimumSize, '\0');
    const platform::UniqueHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file &&
           ::WriteFile(file.Get(), image.data(), static_cast<DWORD>(image.size()), &written,
                       nullptr) &&
           written == image.size();
}

bool MakeInstallFolder(const std::wstring& folder, const std::wstring& programName,
                       ProductDate date) {
    ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return WriteProgramFile(folder + L"\\" + programName, date);
}

} // namespace demo
