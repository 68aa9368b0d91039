#include "crash/minidump.h"

#include "crash/report_text.h"
#include "platform/unique_resource.h"

#include <dbghelp.h>

namespace crash {
namespace {

using MiniDumpWriter = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                     PMINIDUMP_EXCEPTION_INFORMATION,
                                     PMINIDUMP_USER_STREAM_INFORMATION,
                                     PMINIDUMP_CALLBACK_INFORMATION);

// One request at a time: only the crash routine writes minidumps.
struct DumpRequest {
    MiniDumpWriter writer = nullptr;
    const char* path = nullptr;
    DWORD type = 0;
    EXCEPTION_POINTERS* pointers = nullptr;
    DWORD threadId = 0;
    bool written = false;
};
DumpRequest g_request;

DWORD WINAPI DumpThread(void*) {
    DumpRequest& request = g_request;
    platform::UniqueHandle file(::CreateFileA(request.path, GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return 1;
    MINIDUMP_EXCEPTION_INFORMATION exception = {};
    exception.ThreadId = request.threadId;
    exception.ExceptionPointers = request.pointers;
    exception.ClientPointers = FALSE;
    request.written =
        request.writer(::GetCurrentProcess(), ::GetCurrentProcessId(), file.Get(),
                       static_cast<MINIDUMP_TYPE>(request.type),
                       request.pointers ? &exception : nullptr, nullptr, nullptr) != FALSE;
    return 0;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

} // namespace

bool WriteMinidump(FARPROC writer, const char* path, DWORD type, EXCEPTION_POINTERS* pointers,
                   DWORD threadId) {
    if (!writer || !path || !path[0])
        return false;
    g_request = {};
    g_request.writer = reinterpret_cast<MiniDumpWriter>(reinterpret_cast<void*>(writer));
    g_request.path = path;
    g_request.type = type;
    g_request.pointers = pointers;
    g_request.threadId = threadId;
    platform::UniqueHandle thread(::CreateThread(nullptr, 0, &DumpThread, nullptr, 0, nullptr));
    if (!thread)
        return false;
    ::WaitForSingleObject(thread.Get(), INFINITE);
    if (!g_request.written)
        ::DeleteFileA(path);
    return g_request.written;
}

bool CreateFolderPath(const char* folder) {
    char partial[MAX_PATH];
    std::size_t length = 0;
    for (const char* p = folder; *p; ++p) {
        if (length + 1 >= sizeof(partial))
            return false;
        // Each prefix that ends before a separator is one folder of the path ("C:" is none).
        if (IsSeparator(*p) && length > 0 && partial[length - 1] != ':' &&
            !IsSeparator(partial[length - 1])) {
            partial[length] = 0;
            ::CreateDirectoryA(partial, nullptr);
        }
        partial[length++] = *p;
    }
    partial[length] = 0;
    if (length > 0 && !IsSeparator(partial[length - 1]))
        ::CreateDirectoryA(partial, nullptr);
    const DWORD attributes = ::GetFileAttributesA(folder);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool PrepareKeptMinidumpPath(const char* folder, char (&path)[MAX_PATH]) {
    path[0] = 0;
    if (!folder || !folder[0] || !CreateFolderPath(folder))
        return false;
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    std::size_t length = 0;
    while (folder[length])
        ++length;
    const char* separator = IsSeparator(folder[length - 1]) ? "" : "\\";
    if (FormatInto(path, "%s%sminidump_%.4d%.2d%.2d_%.2d%.2d%.2d.dmp", folder, separator, now.wYear,
                   now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond))
        return true;
    path[0] = 0; // a cut path would name another file
    return false;
}

bool TemporaryMinidumpPath(char (&path)[MAX_PATH]) {
    char folder[MAX_PATH];
    const DWORD length = ::GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) {
        path[0] = 0;
        return false;
    }
    if (FormatInto(path, "%sminidump.dmp", folder))
        return true;
    path[0] = 0;
    return false;
}

} // namespace crash
