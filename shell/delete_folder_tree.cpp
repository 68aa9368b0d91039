#include "shell/delete_folder_tree.h"

#include "platform/unique_resource.h"

#include <windows.h>

#include <cwchar>

namespace {

bool IsDotEntry(const wchar_t* name) {
    return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0;
}

} // namespace

void DeleteFolderTree(const std::wstring& folder) {
    if (folder.empty())
        return;
    WIN32_FIND_DATAW entry;
    platform::UniqueFindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (find) {
        do {
            if (IsDotEntry(entry.cFileName))
                continue;
            const std::wstring path = folder + L"\\" + entry.cFileName;
            if (path.size() > MAX_PATH)
                continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteFolderTree(path);
            } else {
                // A read-only or hidden file would refuse the deletion otherwise.
                ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(path.c_str());
            }
        } while (::FindNextFileW(find.Get(), &entry));
    }
    find.Reset();
    ::RemoveDirectoryW(folder.c_str());
}
