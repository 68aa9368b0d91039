#include "catalogue/product_files.h"

#include "platform/executable_image.h"
#include "platform/unique_resource.h"

#include <initializer_list>

namespace {

constexpr ULONGLONG kMinimumProgramFileSize = 16384;

bool IsWizardFile(const WIN32_FIND_DATAW& found) {
    return ::lstrcmpiW(found.cFileName, L"Zapdate.exe") == 0;
}

std::optional<WIN32_FIND_DATAW> FindFirstProductFile(const std::wstring& folder,
                                                     const wchar_t* pattern) {
    WIN32_FIND_DATAW found = {};
    const platform::UniqueFindHandle search(
        ::FindFirstFileW((folder + L"\\" + pattern).c_str(), &found));
    if (!search)
        return std::nullopt;
    // The wizard lives beside the product's files and may match: the next match counts instead.
    if (IsWizardFile(found) && !::FindNextFileW(search.Get(), &found))
        return std::nullopt;
    return found;
}

} // namespace

std::optional<std::wstring> FindProductFile(const std::wstring& folder, const wchar_t* pattern) {
    const auto found = FindFirstProductFile(folder, pattern);
    if (!found)
        return std::nullopt;
    return folder + L"\\" + found->cFileName;
}

BuildDate FindBuildDate(const std::wstring& folder) {
    for (const wchar_t* pattern : {L"k*_un.bin", L"k*_an.bin", L"k*.exe"}) {
        const auto path = FindProductFile(folder, pattern);
        SYSTEMTIME linkTime = {};
        if (path && platform::ReadLinkTime(*path, linkTime))
            return {linkTime.wYear, linkTime.wMonth, linkTime.wDay};
    }
    return {};
}

bool HasProgramFile(const std::wstring& folder) {
    const auto found = FindFirstProductFile(folder, L"k*.exe");
    if (!found)
        return false;
    const ULONGLONG size =
        (static_cast<ULONGLONG>(found->nFileSizeHigh) << 32) | found->nFileSizeLow;
    return size >= kMinimumProgramFileSize;
}
