// Deleting a folder tree: everything below it goes, but never what a folder link points to.

#include "platform/text.h"
#include "shell/delete_folder_tree.h"
#include "tests/support/ui_automation.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

bool Exists(const std::wstring& path, DWORD attribute = 0) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & attribute) == attribute;
}

void WriteFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    const platform::UniqueHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr));
}

// The Unix path of a file under Wine; empty elsewhere.
std::wstring UnixPath(const std::wstring& path) {
    using UnixNameFn = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixNameFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    const auto release = [](char* p) { ::HeapFree(::GetProcessHeap(), 0, p); };
    const std::unique_ptr<char, decltype(release)> name(unixName ? unixName(path.c_str()) : nullptr,
                                                        release);
    return name ? platform::WideFromUtf8(name.get()) : std::wstring();
}

// Makes `link` a directory link to `target`. Wine's CreateSymbolicLinkW reports success without
// making anything and its FSCTL_SET_REPARSE_POINT is not supported, so no junction can be made
// there; but Wine shows a Unix symbolic link to a folder as a directory with a reparse point, so
// /bin/ln makes one (Wine starts Unix programs; their handles cannot be waited on).
bool MakeFolderLink(const std::wstring& link, const std::wstring& target) {
    if (::CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) &&
        Exists(link, FILE_ATTRIBUTE_REPARSE_POINT))
        return true;
    const std::wstring from = UnixPath(target), to = UnixPath(link);
    if (from.empty() || to.empty())
        return false;
    uitest::Launch(L"/bin/ln -s \"" + from + L"\" \"" + to + L"\"");
    return uitest::WaitUntil([&] { return Exists(link, FILE_ATTRIBUTE_REPARSE_POINT); }, 30000);
}

} // namespace

TEST(DeleteFolderTree, RemovesLinksAsLinksAndNeverWhatTheyPointTo) {
    const std::wstring root = uitest::MakeTempFolder(L"zapdate-delete-tree-test");
    const std::wstring target = root + L"\\target", tree = root + L"\\tree";
    for (const std::wstring& folder : {target, tree, tree + L"\\sub"})
        ::CreateDirectoryW(folder.c_str(), nullptr);
    WriteFile(target + L"\\keep.txt");
    WriteFile(tree + L"\\Zapdate.exe");
    WriteFile(tree + L"\\sub\\kvu_1_6_32_64.exe", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(MakeFolderLink(tree + L"\\sub\\link", target));
    ASSERT_TRUE(MakeFolderLink(root + L"\\linked", target));

    DeleteFolderTree(tree);
    EXPECT_TRUE(Exists(target + L"\\keep.txt")) << "a link inside the tree was followed";
    EXPECT_FALSE(Exists(tree + L"\\Zapdate.exe"));
    EXPECT_FALSE(Exists(tree + L"\\sub\\kvu_1_6_32_64.exe"));
    DeleteFolderTree(root + L"\\linked");
    EXPECT_TRUE(Exists(target + L"\\keep.txt")) << "the tree that is a link was followed";
}
