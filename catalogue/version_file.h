#pragma once
// The version file: the builds that the update service offers, one section each, and its global
// section with the service address.

#include <cstdint>
#include <string>
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
};

struct GlobalInfo {
    uint32_t version = 0;
    std::wstring url;
};

class VersionFile {
public:
    // Reads every section name and every build section; false when the file has no sections
    // (missing, empty, or too big to list).
    bool LoadVersionFile(const std::wstring& path);

    // Reads one section into `build`; true when all eight of its required keys were found.
    // An unreadable section (absent, empty or too long) leaves `build` untouched.
    bool ParseSection(const std::wstring& sectionName, OfferedBuild& build) const;

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
