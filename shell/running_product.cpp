#include "shell/running_product.h"

#include "platform/resource_strings.h"
#include "platform/run_log.h"
#include "platform/text.h"
#include "platform/unique_resource.h"
#include "resources/resource_ids.h"

#include <windows.h>

#include <cstdio>

bool IsFamilyProductRunning(uint32_t productId) {
    char name[256];
    std::snprintf(name, sizeof name, "kv_family_running_mutex.%d", static_cast<int>(productId));
    const platform::UniqueHandle mutex(::CreateMutexA(nullptr, FALSE, name));
    return mutex && ::GetLastError() == ERROR_ALREADY_EXISTS;
}

void ShowProductRunningMessage(const wchar_t* displayName) {
    const std::wstring text =
        platform::FormatWide(platform::ResourceString(IDS_CLOSE_PRODUCT).c_str(), displayName);
    platform::LogRunStepF(L"message shown: %s", text.c_str());
    ::MessageBoxW(nullptr, text.c_str(), platform::ResourceString(IDS_WIZARD_TITLE).c_str(), MB_OK);
}
