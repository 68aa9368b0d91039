#include "config/cfg_file_io.h"

#include "platform/text.h"
#include "platform/unique_resource.h"

#include <algorithm>
#include <atomic>

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
