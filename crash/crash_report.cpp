#include "crash/crash_report.h"

#include "crash/exception_codes.h"
#include "crash/execution_trace.h"
#include "crash/memory_dump.h"
#include "platform/unique_resource.h"

#include <psapi.h>
#include <tlhelp32.h>

namespace crash {
namespace {

constexpr int kMaxModules = 234;

template <typename Function>
Function KernelFunction(const wchar_t* module, const char* name) {
    const HMODULE handle = ::GetModuleHandleW(module);
    if (!handle)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(handle, name)));
}

unsigned long long KiB(unsigned long long bytes) {
    return bytes / 1024;
}

bool WriteSystemMemory(ReportText& text) {
    using StatusEx = BOOL(WINAPI*)(LPMEMORYSTATUSEX);
    if (auto statusEx = KernelFunction<StatusEx>(L"kernel32.dll", "GlobalMemoryStatusEx")) {
        MEMORYSTATUSEX status = {};
        status.dwLength = sizeof(status);
        if (statusEx(&status))
            return text.Append(" System physical memory: Used: %lluKB, Total %lluKB\r\n",
                               KiB(status.ullTotalPhys - status.ullAvailPhys),
                               KiB(status.ullTotalPhys)) &&
                   text.Append(" System virtual memory:  Used: %lluKB, Total %lluKB\r\n",
                               KiB(status.ullTotalPageFile - status.ullAvailPageFile),
                               KiB(status.ullTotalPageFile));
    }
    MEMORYSTATUS status = {};
    status.dwLength = sizeof(status);
    ::GlobalMemoryStatus(&status);
    return text.Append(" System physical memory: Used: %lluKB, Total %lluKB\r\n",
                       KiB(status.dwTotalPhys - status.dwAvailPhys), KiB(status.dwTotalPhys)) &&
           text.Append(" System virtual memory:  Used: %lluKB, Total %lluKB\r\n",
                       KiB(status.dwTotalPageFile - status.dwAvailPageFile),
                       KiB(status.dwTotalPageFile));
}

bool WriteProcessMemory(ReportText& text) {
    using MemoryInfo = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
    auto memoryInfo = KernelFunction<MemoryInfo>(L"kernel32.dll", "K32GetProcessMemoryInfo");
    if (!memoryInfo)
        memoryInfo = KernelFunction<MemoryInfo>(L"psapi.dll", "GetProcessMemoryInfo");
    if (!memoryInfo)
        return true;
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (!memoryInfo(::GetCurrentProcess(), &counters, sizeof(counters)))
        return true;
    return text.Append(" Process virtual memory: Current %lluKB, Maximum: %lluKB\r\n",
                       KiB(counters.WorkingSetSize), KiB(counters.PeakWorkingSetSize));
}

} // namespace

bool WriteEnvironmentSection(ReportText& text, const CrashHandlerConfig& config) {
    if (!text.HasRoomForSection())
        return false;
    return text.Append("[Environment information]\r\n") &&
           text.Append(" Application: %s %s\r\n", config.applicationName, config.versionText) &&
           text.Append(" System:      %s\r\n", config.machine) &&
           text.Append(" OS:          %s\r\n", config.operatingSystem);
}

bool WriteMemorySection(ReportText& text) {
    if (!text.HasRoomForSection())
        return false;
    return text.Append("[Memory usage information]\r\n") && WriteSystemMemory(text) &&
           WriteProcessMemory(text);
}

bool WriteExceptionSection(ReportText& text, const EXCEPTION_RECORD& record, bool wide) {
    if (!text.HasRoomForSection())
        return false;
    const DWORD code = record.ExceptionCode;
    if (!text.Append("[Exception information]\r\n") ||
        !text.Append(" Exception Code:      0x%.8x", static_cast<unsigned>(code)))
        return false;
    if (const char* name = ExceptionCodeName(code); name && !text.Append(" (%s)", name))
        return false;
    if (!text.Append("\r\n"))
        return false;
    const char* const addressLine =
        wide ? " Exception Address:   0x%.16llx\r\n" : " Exception Address:   0x%.8llx\r\n";
    const char* const operationLine = wide ? " Exception Operation: %s address 0x%.16llx\r\n"
                                           : " Exception Operation: %s address 0x%.8llx\r\n";
    if (!text.Append(addressLine, static_cast<unsigned long long>(
                                      reinterpret_cast<std::uintptr_t>(record.ExceptionAddress))))
        return false;
    if (code == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2)
        return text.Append(operationLine,
                           record.ExceptionInformation[0] == 1 ? "Write to" : "Read from",
                           static_cast<unsigned long long>(record.ExceptionInformation[1]));
    return true;
}

bool WriteModulesSection(ReportText& text) {
    if (!text.HasRoomForSection())
        return false;
    if (!text.Append("[Loaded modules]\r\n"))
        return false;
    platform::UniqueHandle snapshot(
        ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, ::GetCurrentProcessId()));
    if (!snapshot)
        return true;
    MODULEENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    static char path[MAX_PATH]; // static: the report is written after the fault
    int listed = 0;
    for (BOOL more = ::Module32FirstW(snapshot.Get(), &entry); more && listed < kMaxModules;
         more = ::Module32NextW(snapshot.Get(), &entry), ++listed) {
        if (!::WideCharToMultiByte(CP_ACP, 0, entry.szExePath, -1, path, sizeof(path), nullptr,
                                   nullptr))
            path[0] = 0;
        const auto first =
            static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(entry.modBaseAddr));
        const unsigned long long last = first + entry.modBaseSize - 1;
        if (!text.Append("  %.8x%.8x - %.8x%.8x %s\r\n", static_cast<unsigned>(first >> 32),
                         static_cast<unsigned>(first), static_cast<unsigned>(last >> 32),
                         static_cast<unsigned>(last), path))
            return false;
    }
    return true;
}

void WriteCrashReport(ReportText& text, const CrashHandlerConfig& config,
                      const EXCEPTION_POINTERS& pointers, DWORD crashThreadId, WorkArea& area) {
    area.stackRegionCount = 0;
    if (!WriteEnvironmentSection(text, config) || !WriteMemorySection(text))
        return;
    if (pointers.ExceptionRecord &&
        !WriteExceptionSection(text, *pointers.ExceptionRecord, kWideAddresses))
        return;
    if (pointers.ContextRecord &&
        !WriteCrashThreadSection(text, *pointers.ContextRecord, crashThreadId, area))
        return;
    if (!WriteModulesSection(text) || !WriteOtherThreadsSection(text, crashThreadId, area) ||
        !WriteHeapReferencesSection(text, area))
        return;
    WriteExecutionSection(text);
}

} // namespace crash
