#pragma once
// The version file: the builds that the update service offers, one section each, and its global
// section with the service address.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct OfferedBuild {
    std::wstring sectionName;
    std::wstring familyTag;
    uint32_t resId = 0xFFFFFFFF;
    uint32_t offeredProductId = 0xFFFFFFFF;
    std::wstring name;
    uint32_t minor = 0;
    uint32_t major = 0;
    uint32_t build = 0;
    uint32_t year = 0;
    uint32_t month = 0;
    uint32_t day = 0;
    std::string method;
    std::string url;
    std::string langId;
    bool wtlVariant = false;
    std::vector<std::pair<std::wstring, std::wstring>> params;
    // The package's published SHA-256 as the file gives it (trimmed); nothing when the section
    // has no "sha256" key. It takes no part in completeness.
    std::optional<std::string> sha256;
};

// The bits of the eight keys that make a build section complete.
enum BuildKeyBits : unsigned {
    kBuildKeyName = 0x01,
    kBuildKeyVersion = 0x02,
    kBuildKeyBuild = 0x04,
    kBuildKeyDate = 0x08,
    kBuildKeyMethod = 0x10,
    kBuildKeyUrl = 0x20,
    kBuildKeyResId = 0x40,
    kBuildKeyLangId = 0x80,
    kBuildKeysComplete = 0xFF,
};

// One "key=value" line of a section, split at the first "=" and trimmed.
struct SectionEntry {
    std::wstring key;
    std::wstring value;
};

struct GlobalInfo {
    uint32_t version = 0;
    std::wstring url;
};

// A section name of the form family:A:B (after leading blanks), which names an offered build.
bool IsBuildSectionName(std::wstring_view name);
// The text without white space at either end, as keys and values of build sections are read.
std::wstring TrimVersionFileText(std::wstring_view text);
// A key that adds a parameter: "param_" exactly, and at least eight characters in all.
bool IsParameterKey(std::wstring_view key);

class VersionFile {
public:
    // Reads every section name and every build section; false when the file has no sections
    // (missing, empty, or too big to list).
    bool LoadVersionFile(const std::wstring& path);

    // Reads one section into `build`; true when all eight of its required keys were found.
    // An unreadable section (absent, empty or too long) leaves `build` untouched.
    bool ParseSection(const std::wstring& sectionName, OfferedBuild& build) const;
    // The same, returning the bits of the required keys found (kBuildKeysComplete when all are);
    // nothing when the section cannot be read.
    std::optional<unsigned> ParseSectionKeys(const std::wstring& sectionName,
                                             OfferedBuild& build) const;
    // The section's "key=value" lines as ParseSection reads them; nothing when the section
    // cannot be read.
    std::optional<std::vector<SectionEntry>>
    ReadSectionEntries(const std::wstring& sectionName) const;

    // The longest section text (its lines with their separators) that can be read.
    static constexpr size_t kSectionTextLimit = 1021;

    // Reads the global section; true when both "version" and "url" were found.
    bool ReadGlobalInfo(GlobalInfo& info) const;

    const std::wstring& Path() const { return path_; }
    bool HasGlobalSection() const { return hasGlobalSection_; }
    const std::vector<OfferedBuild>& Builds() const { return builds_; }

private:
    std::wstring path_;
    bool hasGlobalSection_ = false;
    std::vector<OfferedBuild> builds_;
};
