#include "shell/delete_folder_tree.h"

#include "platform/unique_resource.h"

#include <windows.h>

#include <cwchar>

namespace {

bool IsDotEntry(const wchar_t* name) {
    return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0;
}

// A junction or directory symbolic link: its contents belong to its target, which may lie
// anywhere (a user's documents), so only the link itself is ever removed.
bool IsFolderLink(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

void DeleteContents(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    platform::UniqueFindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!find)
        return;
    do {
        if (IsDotEntry(entry.cFileName))
            continue;
        const std::wstring path = folder + L"\\" + entry.cFileName;
        if (path.size() > MAX_PATH)
            continue;
        if (IsFolderLink(entry.dwFileAttributes)) {
            ::RemoveDirectoryW(path.c_str());
        } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            DeleteFolderTree(path);
        } else {
            // A read-only or hidden file would refuse the deletion otherwise.
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(path.c_str());
        }
    } while (::FindNextFileW(find.Get(), &entry));
}

} // namespace

void DeleteFolderTree(const std::wstring& folder) {
    if (folder.empty())
        return;
    if (!IsFolderLink(::GetFileAttributesW(folder.c_str())))
        DeleteContents(folder);
    ::RemoveDirectoryW(folder.c_str());
}
