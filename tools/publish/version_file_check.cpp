#include "tools/publish/version_file_check.h"

#include "catalogue/update_selection.h"
#include "catalogue/version_file.h"
#include "platform/sha256.h"
#include "platform/text.h"
#include "service/package_request.h"

#include <windows.h>

#include <algorithm>

namespace publish {
namespace {

constexpr wchar_t kWholeSection[] = L"section";
constexpr wchar_t kNeverDownloaded[] =
    L"; the section is incomplete, so its package is never downloaded";

struct RequiredKey {
    unsigned bit;
    const wchar_t* name;
    const wchar_t* unreadable; // why a value that is there was passed over
};

constexpr RequiredKey kRequiredKeys[] = {
    {kBuildKeyName, L"name", L""},
    {kBuildKeyVersion, L"version", L"has no point between major and minor"},
    {kBuildKeyBuild, L"build", L""},
    {kBuildKeyDate, L"date", L"is shorter than the eight characters of YYYYMMDD"},
    {kBuildKeyMethod, L"method", L""},
    {kBuildKeyUrl, L"url", L""},
    {kBuildKeyResId, L"res_id", L""},
    {kBuildKeyLangId, L"lang_id", L""},
};

// The length of the section's text as the profile functions give it, however long.
size_t SectionTextLength(const std::wstring& path, const std::wstring& section) {
    for (DWORD size = 4096;; size *= 4) {
        std::vector<wchar_t> buffer(size);
        const DWORD length =
            ::GetPrivateProfileSectionW(section.c_str(), buffer.data(), size, path.c_str());
        if (length < size - 2 || size >= (1u << 24))
            return length;
    }
}

const SectionEntry* LastEntry(const std::vector<SectionEntry>& entries, const wchar_t* key) {
    const auto found = std::find_if(entries.rbegin(), entries.rend(), [key](const auto& entry) {
        return ::lstrcmpiW(entry.key.c_str(), key) == 0;
    });
    return found == entries.rend() ? nullptr : &*found;
}

bool LooksLikeParameter(const std::wstring& key) {
    return key.size() >= 6 &&
           ::CompareStringOrdinal(key.c_str(), 6, L"param_", 6, TRUE) == CSTR_EQUAL;
}

std::wstring Quoted(const std::wstring& value) {
    return L"\"" + value + L"\"";
}

class SectionChecker {
public:
    SectionChecker(const std::wstring& section, std::vector<VersionFileProblem>& problems)
        : section_(section), problems_(problems) {}

    void Report(const std::wstring& key, const std::wstring& text) {
        problems_.push_back({section_, key, text});
    }

    void CheckRequiredKeys(unsigned bits, const std::vector<SectionEntry>& entries) {
        for (const RequiredKey& key : kRequiredKeys) {
            if ((bits & key.bit) != 0)
                continue;
            const SectionEntry* entry = LastEntry(entries, key.name);
            Report(key.name, entry ? Quoted(entry->value) + L" " + key.unreadable + kNeverDownloaded
                                   : std::wstring(L"missing") + kNeverDownloaded);
        }
    }

    void CheckParameterKeys(const std::vector<SectionEntry>& entries) {
        for (const SectionEntry& entry : entries) {
            if (LooksLikeParameter(entry.key) && !IsParameterKey(entry.key))
                Report(entry.key, L"ignored: a parameter's key is \"param_\" in lower case "
                                  L"followed by at least two characters");
        }
    }

    void CheckRequest(unsigned bits, const OfferedBuild& build) {
        service::CRequestInfo request;
        const std::wstring url = platform::WideFromAnsi(build.url);
        if ((bits & kBuildKeyUrl) != 0 && !service::SplitPackageUrl(build.url, request))
            Report(L"url", Quoted(url) + L" cannot be split into scheme://host[:port]/path, so "
                                         L"the package cannot be requested");
        if ((bits & kBuildKeyMethod) != 0 && build.method != "GET" && build.method != "POST")
            Report(L"method", Quoted(platform::WideFromAnsi(build.method)) +
                                  L" is neither GET nor POST (in capitals)");
    }

    void CheckSha256(const OfferedBuild& build) {
        if (build.sha256 && !platform::ParseSha256Text(*build.sha256))
            Report(L"sha256", Quoted(platform::WideFromAnsi(*build.sha256)) +
                                  L" is not 64 hexadecimal digits, so the package is never "
                                  L"installed");
    }

private:
    std::wstring section_;
    std::vector<VersionFileProblem>& problems_;
};

void CheckBuild(const VersionFile& file, const std::vector<OfferedBuild>& builds, size_t index,
                std::vector<VersionFileProblem>& problems) {
    const OfferedBuild& listed = builds[index];
    SectionChecker checker(listed.sectionName, problems);
    const size_t length = SectionTextLength(file.Path(), listed.sectionName);
    if (length > VersionFile::kSectionTextLimit) {
        checker.Report(kWholeSection,
                       platform::FormatWide(L"%u characters of text, more than the %u that the "
                                            L"wizard reads, so it reads none of them",
                                            static_cast<unsigned>(length),
                                            static_cast<unsigned>(VersionFile::kSectionTextLimit)));
        return;
    }
    OfferedBuild build = listed;
    const unsigned bits = file.ParseSectionKeys(listed.sectionName, build).value_or(0);
    const std::vector<SectionEntry> entries =
        file.ReadSectionEntries(listed.sectionName).value_or(std::vector<SectionEntry>{});
    checker.CheckRequiredKeys(bits, entries);
    checker.CheckParameterKeys(entries);
    checker.CheckRequest(bits, build);
    checker.CheckSha256(build);
    // The wizard pairs with the first offer in file order that fits a product.
    const auto earlier =
        std::find_if(builds.begin(), builds.begin() + index,
                     [&](const OfferedBuild& other) { return OffersPairAlike(other, listed); });
    if (earlier != builds.begin() + index)
        checker.Report(kWholeSection, L"never chosen: the earlier section [" +
                                          earlier->sectionName + L"] offers for the same products");
}

} // namespace

std::vector<VersionFileProblem> CheckVersionFile(const std::wstring& path) {
    std::vector<VersionFileProblem> problems;
    VersionFile file;
    if (!file.LoadVersionFile(path)) {
        problems.push_back({L"", kWholeSection, L"the file has no sections (missing or empty)"});
        return problems;
    }
    for (size_t i = 0; i < file.Builds().size(); ++i)
        CheckBuild(file, file.Builds(), i, problems);
    return problems;
}

std::wstring ProblemLine(const VersionFileProblem& problem) {
    return L"[" + problem.section + L"] " + problem.key + L": " + problem.text;
}

} // namespace publish
