#include "shell/update_temp_folder.h"

#include <windows.h>

namespace {

std::wstring& Folder() {
    static std::wstring folder;
    return folder;
}

} // namespace

const std::wstring& UpdateTempFolder() {
    return Folder();
}

void SetUpdateTempFolderFromSystem() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) {
        Folder().clear();
        return;
    }
    // GetTempPath ends with a backslash; the folder name follows it directly.
    Folder() = std::wstring(temp, length) + kUpdateTempFolderName;
}

void SetUpdateTempFolder(std::wstring path) {
    Folder() = std::move(path);
}
