#include "config/cfg_file_io.h"

#include "platform/text.h"
#include "platform/unique_resource.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <optional>
#include <string_view>

namespace {

std::wstring FolderOf(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A drive ("C:") or a share ("\\\\server\\share"): nothing to create there.
bool IsVolumeRoot(const std::wstring& folder) {
    if (folder.empty() || (folder.size() == 2 && folder[1] == L':'))
        return true;
    if (folder.rfind(L"\\\\", 0) != 0)
        return false;
    const size_t server = folder.find_first_of(L"\\/", 2);
    return server == std::wstring::npos ||
           folder.find_first_of(L"\\/", server + 1) == std::wstring::npos;
}

// Unique within the process and, by the process id, among processes saving the same file.
std::wstring TemporaryNameBeside(const std::wstring& path) {
    static std::atomic<unsigned> counter{0};
    return path + platform::FormatWide(L".%lx.%x.tmp", ::GetCurrentProcessId(), ++counter);
}

// 1 to 8 hexadecimal digits, and nothing else.
std::optional<DWORD> ReadHex(std::wstring_view text) {
    char digits[8];
    if (text.empty() || text.size() > sizeof digits)
        return std::nullopt;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] > 0x7F)
            return std::nullopt;
        digits[i] = static_cast<char>(text[i]);
    }
    DWORD value = 0;
    const auto [end, error] = std::from_chars(digits, digits + text.size(), value, 16);
    if (error != std::errc() || end != digits + text.size())
        return std::nullopt;
    return value;
}

// The process that made `name` as a temporary of `file` (TemporaryNameBeside); nothing when
// `name` is not one.
std::optional<DWORD> MakerOfTemporary(std::wstring_view name, std::wstring_view file) {
    constexpr std::wstring_view suffix = L".tmp";
    if (name.size() <= file.size() + 1 + suffix.size() || name[file.size()] != L'.' ||
        !name.ends_with(suffix) ||
        ::CompareStringOrdinal(name.data(), static_cast<int>(file.size()), file.data(),
                               static_cast<int>(file.size()), TRUE) != CSTR_EQUAL)
        return std::nullopt;
    const std::wstring_view numbers =
        name.substr(file.size() + 1, name.size() - file.size() - 1 - suffix.size());
    const size_t dot = numbers.find(L'.');
    if (dot == std::wstring_view::npos || !ReadHex(numbers.substr(dot + 1)))
        return std::nullopt;
    return ReadHex(numbers.substr(0, dot));
}

// A process that cannot be opened because there is no such process has ended; one that is
// there but may not be opened has not, as far as we know.
bool HasEnded(DWORD process) {
    platform::UniqueHandle handle(::OpenProcess(SYNCHRONIZE, FALSE, process));
    if (!handle)
        return ::GetLastError() == ERROR_INVALID_PARAMETER;
    return ::WaitForSingleObject(handle.Get(), 0) == WAIT_OBJECT_0;
}

// A save that was cut short (its process ended in it) leaves its temporary behind: delete the
// temporaries of `path` whose process has ended. Those of running processes are theirs to move.
void DeleteLeftTemporaries(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    const std::wstring folder =
        separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
    const std::wstring_view file = std::wstring_view(path).substr(folder.size());
    WIN32_FIND_DATAW found{};
    platform::UniqueFindHandle find(::FindFirstFileW((path + L".*.tmp").c_str(), &found));
    if (!find)
        return;
    do {
        const auto maker = MakerOfTemporary(found.cFileName, file);
        if (maker && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && HasEnded(*maker))
            ::DeleteFileW((folder + found.cFileName).c_str());
    } while (::FindNextFileW(find.Get(), &found));
}

bool WriteAll(HANDLE file, const CfgBytes& content) {
    size_t written = 0;
    while (written < content.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<size_t>(content.size() - written, 1u << 20));
        DWORD done = 0;
        if (!::WriteFile(file, content.data() + written, chunk, &done, nullptr) || done == 0)
            return false;
        written += done;
    }
    return ::FlushFileBuffers(file) != FALSE;
}

// Deletes the temporary file unless it has been moved into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!kept_)
            ::DeleteFileW(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::wstring& Path() const { return path_; }
    void Keep() { kept_ = true; }

private:
    std::wstring path_;
    bool kept_ = false;
};

} // namespace

CfgFileRead ReadCfgFile(const std::wstring& path, size_t limit, CfgBytes& content) {
    content.clear();
    // No writer may have it open: a file being written is not read half-way.
    platform::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? CfgFileRead::Missing
                                                                              : CfgFileRead::Failed;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > limit)
        return CfgFileRead::Failed;
    content.resize(static_cast<size_t>(size.QuadPart));
    size_t read = 0;
    while (read < content.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size() - read, 1u << 20));
        DWORD done = 0;
        if (!::ReadFile(file.Get(), content.data() + read, chunk, &done, nullptr) || done == 0) {
            content.clear();
            return CfgFileRead::Failed;
        }
        read += done;
    }
    return CfgFileRead::Read;
}

bool CreateCfgFolderTree(const std::wstring& folder) {
    if (IsVolumeRoot(folder) || IsFolder(folder))
        return true;
    if (!CreateCfgFolderTree(FolderOf(folder)))
        return false;
    return ::CreateDirectoryW(folder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

bool ReplaceCfgFile(const std::wstring& path, const CfgBytes& content, bool createFolder) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return false;
    if (createFolder && !CreateCfgFolderTree(FolderOf(path)))
        return false;
    DeleteLeftTemporaries(path);
    TemporaryFile temporary(TemporaryNameBeside(path));
    {
        platform::UniqueHandle file(::CreateFileW(temporary.Path().c_str(), GENERIC_WRITE, 0,
                                                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                                  nullptr));
        if (!file) {
            temporary.Keep(); // nothing was created, so nothing of someone else's is deleted
            return false;
        }
        if (!WriteAll(file.Get(), content))
            return false;
    }
    if (!::MoveFileExW(temporary.Path().c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    temporary.Keep();
    return true;
}
