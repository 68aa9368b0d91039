#include "platform/run_log.h"

#include "platform/text.h"

#include <cstdarg>

namespace platform {
namespace {

std::wstring UserTempFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    return length > 0 && length <= MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

std::string LogLine(const std::wstring& text) {
    SYSTEMTIME now = {};
    ::GetSystemTime(&now);
    std::string line =
        FormatAnsi("%04u-%02u-%02u %02u:%02u:%02u.%03uZ [%lu] ", now.wYear, now.wMonth, now.wDay,
                   now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, ::GetCurrentProcessId());
    // One step, one line, whatever the text holds.
    std::wstring flat = text;
    for (wchar_t& c : flat)
        if (c == L'\r' || c == L'\n')
            c = L' ';
    return line + Utf8FromWide(flat) + "\r\n";
}

} // namespace

void LogRunStep(std::wstring text) {
    TheLogger().Log(kLogRunRecord, 0, std::move(text));
}

void LogRunStepF(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::wstring text = FormatWideV(format, args);
    va_end(args);
    LogRunStep(std::move(text));
}

std::wstring FileNamePart(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

CRunLogFile::CRunLogFile(std::wstring folder) : folder_(std::move(folder)) {}

UniqueHandle CRunLogFile::Open() const {
    // Opened for each line and shared for deleting too: other runs may append or move the log
    // aside at any time, and each line goes to the log that is there now.
    return UniqueHandle(::CreateFileW((folder_ + kRunLogName).c_str(),
                                      FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

void CRunLogFile::Append(const std::wstring& text) {
    if (folder_.empty())
        return;
    const std::string line = LogLine(text);
    ScopedLock hold(lock_);
    UniqueHandle file = Open();
    LARGE_INTEGER size = {};
    if (file && ::GetFileSizeEx(file.Get(), &size) &&
        static_cast<uint64_t>(size.QuadPart) + line.size() > kRunLogLimit) {
        file.Reset();
        ::MoveFileExW((folder_ + kRunLogName).c_str(), (folder_ + kOldRunLogName).c_str(),
                      MOVEFILE_REPLACE_EXISTING);
        file = Open();
    }
    DWORD written = 0;
    if (file)
        ::WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

CRunLogSink::CRunLogSink() : file_(std::make_shared<CRunLogFile>(UserTempFolder())) {
    const LogLevelRange levels[] = {{kLogRunRecord, kLogRunRecord}};
    // The sink keeps the file: a thread may still log while this object goes.
    id_ = TheLogger().AddSink(
        [file = file_](const LogMessage& message) { file->Append(message.text); }, levels);
}

CRunLogSink::~CRunLogSink() {
    TheLogger().RemoveSink(id_);
}

} // namespace platform
