#include "catalogue/version_file.h"

#include "platform/text.h"

#include <windows.h>

#include <cwctype>
#include <string_view>

namespace {

constexpr DWORD kBufferStep = 1024;
constexpr DWORD kSectionNamesLimit = 10 * 1024 * 1024;
constexpr DWORD kSectionBufferChars = 1024;
// The profile function's answer fills the buffer but for its two terminators when it was cut.
static_assert(VersionFile::kSectionTextLimit == kSectionBufferChars - 3);
constexpr wchar_t kGlobalSection[] = L"global";

// A double-zero-terminated list as the profile functions return it.
std::vector<std::wstring> SplitZeroList(const wchar_t* text, size_t length) {
    std::vector<std::wstring> items;
    for (size_t start = 0; start < length;) {
        const std::wstring_view item(text + start);
        if (item.empty())
            break;
        items.emplace_back(item);
        start += item.size() + 1;
    }
    return items;
}

// The file's section names; the buffer grows while the answer fills it.
std::vector<std::wstring> ReadSectionNames(const std::wstring& path) {
    for (DWORD size = kBufferStep; size <= kSectionNamesLimit; size += kBufferStep) {
        std::vector<wchar_t> buffer(size, L'\0');
        const DWORD length = ::GetPrivateProfileSectionNamesW(buffer.data(), size, path.c_str());
        if (length < size - 2)
            return SplitZeroList(buffer.data(), length);
    }
    return {};
}

// One section's lines; nothing when it is absent, empty or longer than the buffer.
std::vector<std::wstring> ReadSectionLines(const std::wstring& path, const wchar_t* section) {
    wchar_t buffer[kSectionBufferChars] = {};
    const DWORD length =
        ::GetPrivateProfileSectionW(section, buffer, kSectionBufferChars, path.c_str());
    if (length == 0 || length >= kSectionBufferChars - 2)
        return {};
    return SplitZeroList(buffer, length);
}

std::wstring_view SkipLeadingBlanks(std::wstring_view text) {
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t'))
        text.remove_prefix(1);
    return text;
}

bool EqualsNoCase(std::wstring_view a, const wchar_t* b) {
    return ::lstrcmpiW(std::wstring(a).c_str(), b) == 0;
}

uint32_t Decimal(std::wstring_view text) {
    return platform::ReadDecimal(text);
}

// "family:A:B" → a build with its tag and the two numbers; false for any other name.
bool SplitBuildSectionName(const std::wstring& sectionName, OfferedBuild& build) {
    const std::wstring_view name = SkipLeadingBlanks(sectionName);
    const size_t first = name.find(L':');
    if (name.empty() || first == std::wstring_view::npos)
        return false;
    const size_t second = name.find(L':', first + 1);
    if (second == std::wstring_view::npos)
        return false;
    const size_t third = name.find(L':', second + 1);
    build.sectionName = sectionName;
    build.familyTag = std::wstring(name.substr(0, first));
    build.resId = Decimal(name.substr(first + 1, second - first - 1));
    build.offeredProductId = Decimal(
        name.substr(second + 1, third == std::wstring_view::npos ? third : third - second - 1));
    return true;
}

// Stores one key of a build section; returns the bit it sets (0 for none).
unsigned StoreBuildKey(const std::wstring& key, const std::wstring& value, OfferedBuild& build) {
    if (EqualsNoCase(key, L"name")) {
        build.name = value;
        return kBuildKeyName;
    }
    if (EqualsNoCase(key, L"version")) {
        const size_t point = value.find(L'.');
        if (point == std::wstring::npos)
            return 0;
        build.major = Decimal(std::wstring_view(value).substr(0, point));
        build.minor = Decimal(std::wstring_view(value).substr(point + 1));
        return kBuildKeyVersion;
    }
    if (EqualsNoCase(key, L"build")) {
        build.build = Decimal(value);
        return kBuildKeyBuild;
    }
    if (EqualsNoCase(key, L"date")) {
        if (value.size() < 8)
            return 0;
        build.year = Decimal(std::wstring_view(value).substr(0, 4));
        build.month = Decimal(std::wstring_view(value).substr(4, 2));
        build.day = Decimal(std::wstring_view(value).substr(6, 2));
        return kBuildKeyDate;
    }
    if (EqualsNoCase(key, L"method")) {
        build.method = platform::AnsiFromWide(value);
        return kBuildKeyMethod;
    }
    if (EqualsNoCase(key, L"url")) {
        build.url = platform::AnsiFromWide(value);
        return kBuildKeyUrl;
    }
    if (EqualsNoCase(key, L"res_id")) {
        build.resId = Decimal(value);
        return kBuildKeyResId;
    }
    if (EqualsNoCase(key, L"platform")) {
        if (EqualsNoCase(value, L"wtl"))
            build.wtlVariant = true;
        return 0;
    }
    if (EqualsNoCase(key, L"lang_id")) {
        build.langId = platform::AnsiFromWide(value);
        return kBuildKeyLangId;
    }
    if (EqualsNoCase(key, L"sha256")) {
        build.sha256 = platform::AnsiFromWide(value);
        return 0;
    }
    if (IsParameterKey(key))
        build.params.emplace_back(key.substr(6), value);
    return 0;
}

} // namespace

bool IsBuildSectionName(std::wstring_view name) {
    OfferedBuild ignored;
    return SplitBuildSectionName(std::wstring(name), ignored);
}

std::wstring TrimVersionFileText(std::wstring_view text) {
    while (!text.empty() && std::iswspace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && std::iswspace(text.back()))
        text.remove_suffix(1);
    return std::wstring(text);
}

bool IsParameterKey(std::wstring_view key) {
    return key.size() >= 8 && key.substr(0, 6) == L"param_";
}

bool VersionFile::LoadVersionFile(const std::wstring& path) {
    path_ = path;
    hasGlobalSection_ = false;
    builds_.clear();
    const std::vector<std::wstring> names = ReadSectionNames(path);
    if (names.empty())
        return false;
    for (const std::wstring& name : names) {
        if (SkipLeadingBlanks(name) == kGlobalSection) {
            hasGlobalSection_ = true;
            continue;
        }
        OfferedBuild build;
        if (SplitBuildSectionName(name, build))
            builds_.push_back(std::move(build));
    }
    for (OfferedBuild& build : builds_)
        ParseSection(build.sectionName, build);
    return true;
}

bool VersionFile::ParseSection(const std::wstring& sectionName, OfferedBuild& build) const {
    return ParseSectionKeys(sectionName, build) == kBuildKeysComplete;
}

std::optional<unsigned> VersionFile::ParseSectionKeys(const std::wstring& sectionName,
                                                      OfferedBuild& build) const {
    const std::optional<std::vector<SectionEntry>> entries = ReadSectionEntries(sectionName);
    if (!entries)
        return std::nullopt;
    build.params.clear();
    build.sha256.reset();
    unsigned bits = 0;
    for (const SectionEntry& entry : *entries)
        bits |= StoreBuildKey(entry.key, entry.value, build);
    return bits;
}

std::optional<std::vector<SectionEntry>>
VersionFile::ReadSectionEntries(const std::wstring& sectionName) const {
    const std::vector<std::wstring> lines = ReadSectionLines(path_, sectionName.c_str());
    if (lines.empty())
        return std::nullopt;
    std::vector<SectionEntry> entries;
    for (const std::wstring& line : lines) {
        const size_t equals = line.find(L'=');
        if (equals != std::wstring::npos)
            entries.push_back({TrimVersionFileText(std::wstring_view(line).substr(0, equals)),
                               TrimVersionFileText(std::wstring_view(line).substr(equals + 1))});
    }
    return entries;
}

bool VersionFile::ReadGlobalInfo(GlobalInfo& info) const {
    bool haveVersion = false;
    bool haveUrl = false;
    for (const std::wstring& line : ReadSectionLines(path_, kGlobalSection)) {
        const size_t equals = line.find(L'=');
        if (equals == std::wstring::npos)
            continue;
        const std::wstring_view key = std::wstring_view(line).substr(0, equals);
        const std::wstring_view value = std::wstring_view(line).substr(equals + 1);
        if (key == L"version") {
            info.version = Decimal(value);
            haveVersion = true;
        } else if (key == L"url") {
            info.url = std::wstring(value);
            haveUrl = true;
        }
    }
    return haveVersion && haveUrl;
}
