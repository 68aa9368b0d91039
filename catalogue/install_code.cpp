#include "catalogue/install_code.h"

#include "platform/resource_strings.h"
#include "resources/resource_ids.h"

const wchar_t* EditionLabel(uint32_t edition) {
    switch (edition) {
    case 2:
        return L"Home";
    case 3:
        return L"Business";
    default:
        return L"";
    }
}

std::wstring EditionSuffix(const InstallCode& code) {
    const std::wstring label = EditionLabel(code.edition);
    if (label.empty() && !code.cdVersion)
        return {};
    std::wstring suffix = L" [" + label;
    if (!label.empty() && code.cdVersion)
        suffix += L", ";
    if (code.cdVersion)
        suffix += platform::ResourceString(IDS_CD_VERSION);
    return suffix + L"]";
}
