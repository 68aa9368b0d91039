#include "shell/resource_language.h"

#include "platform/resource_modules.h"
#include "platform/text.h"
#include "platform/unique_resource.h"
#include "shell/language_table.h"

#include <cwctype>
#include <vector>

namespace {

constexpr LANGID kUsEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

bool ReadLanguageValue(DWORD& language) {
    platform::UniqueRegKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Velk", 0, KEY_READ, key.Put()) !=
        ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    DWORD size = sizeof language;
    const LONG result = ::RegQueryValueExW(key.Get(), L"Language", nullptr, &type,
                                           reinterpret_cast<BYTE*>(&language), &size);
    return result == ERROR_SUCCESS && type == REG_DWORD && size == 4 && language < 65535;
}

LANGID UserDefaultUiLanguage() {
    using GetLanguageFn = LANGID(WINAPI*)();
    const HMODULE kernel = ::GetModuleHandleW(L"Kernel32.dll");
    const auto get = kernel ? reinterpret_cast<GetLanguageFn>(reinterpret_cast<void*>(
                                  ::GetProcAddress(kernel, "GetUserDefaultUILanguage")))
                            : nullptr;
    return get ? get() : kUsEnglish;
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring SatelliteFileName(const std::wstring& executablePath) {
    const size_t slash = executablePath.find_last_of(L"\\/");
    std::wstring name =
        slash == std::wstring::npos ? executablePath : executablePath.substr(slash + 1);
    if (name.size() >= 4 && ::_wcsicmp(name.c_str() + name.size() - 4, L".exe") == 0)
        name.replace(name.size() - 4, 4, L".dll");
    return name;
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The candidates for one language, first found wins.
std::wstring FindCandidate(const std::wstring& folder, const std::wstring& file, LANGID language) {
    std::vector<std::wstring> candidates = {
        platform::FormatWide(L"%d\\%ls", static_cast<int>(language), file.c_str())};
    if (const LanguageTableRow* row = FindLanguageRow(language)) {
        candidates.push_back(platform::FormatWide(L"%hs\\%ls", row->cultureName, file.c_str()));
        candidates.push_back(platform::FormatWide(L"%hs\\%ls", row->isoCode, file.c_str()));
    }
    for (const std::wstring& candidate : candidates) {
        if (FileExists(folder + candidate))
            return folder + candidate;
    }
    return {};
}

// The language a folder name stands for: 4 or 5 decimal digits, or a culture name of the table.
bool LanguageOfFolderName(const std::wstring& name, LANGID& language) {
    if ((name.size() == 4 || name.size() == 5) &&
        name.find_first_not_of(L"0123456789") == std::wstring::npos) {
        const unsigned long value = platform::ReadDecimal(name);
        if (value > 0xFFFF)
            return false;
        language = static_cast<LANGID>(value);
        return true;
    }
    if (const LanguageTableRow* row = FindLanguageRowByCulture(platform::AnsiFromWide(name))) {
        language = row->languageId;
        return true;
    }
    return false;
}

std::vector<LANGID> LanguageFoldersHolding(const std::wstring& folder, const std::wstring& file) {
    std::vector<LANGID> languages;
    WIN32_FIND_DATAW entry;
    platform::UniqueFindHandle find(::FindFirstFileW((folder + L"*").c_str(), &entry));
    if (!find)
        return languages;
    do {
        LANGID language = 0;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            LanguageOfFolderName(entry.cFileName, language) &&
            FileExists(folder + entry.cFileName + L"\\" + file))
            languages.push_back(language);
    } while (::FindNextFileW(find.Get(), &entry));
    return languages;
}

std::wstring ExecutablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring& SatelliteRelativePath() {
    static std::wstring path;
    return path;
}

} // namespace

const std::wstring& LoadedSatelliteRelativePath() {
    return SatelliteRelativePath();
}

LANGID ReadWantedLanguage() {
    DWORD language = 0;
    if (ReadLanguageValue(language))
        return static_cast<LANGID>(language);
    return UserDefaultUiLanguage();
}

SatelliteChoice FindSatellite(const std::wstring& executablePath, LANGID language) {
    const std::wstring folder = FolderOf(executablePath);
    const std::wstring file = SatelliteFileName(executablePath);
    if (std::wstring path = FindCandidate(folder, file, language); !path.empty())
        return {path, language};
    for (LANGID candidate : LanguageFoldersHolding(folder, file)) {
        if (PRIMARYLANGID(candidate) != PRIMARYLANGID(language))
            continue;
        if (std::wstring path = FindCandidate(folder, file, candidate); !path.empty())
            return {path, candidate};
    }
    return {};
}

void SelectResourceLanguage() {
    const HMODULE executable = ::GetModuleHandleW(nullptr);
    const LANGID wanted = ReadWantedLanguage();
    if (wanted == kUsEnglish) {
        platform::SetResourceModules(nullptr, executable, wanted);
        return;
    }
    const SatelliteChoice choice = FindSatellite(ExecutablePath(), wanted);
    // Lives for the whole process as the primary resource module: never freed.
    const HMODULE satellite = choice.path.empty() ? nullptr
                                                  : ::LoadLibraryExW(choice.path.c_str(), nullptr,
                                                                     DONT_RESOLVE_DLL_REFERENCES);
    const std::wstring folder = FolderOf(ExecutablePath());
    if (satellite && choice.path.compare(0, folder.size(), folder) == 0)
        SatelliteRelativePath() = choice.path.substr(folder.size());
    // A satellite found through a folder of the same primary language carries that folder's
    // language, so its resources are looked up in it (an Austrian user gets the German texts).
    platform::SetResourceModules(satellite, executable, satellite ? choice.language : wanted);
}
