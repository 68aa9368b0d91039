// A console program that installs the crash handler and then crashes in the way its command line
// names; the crash tests run it as a real process and read the report it leaves.
//
//   crash_child <way> <report file> [dialog] [embedded <type>] [kept <type> <folder>]

#include "crash/crash_handler.h"
#include "crash/exception_codes.h"
#include "platform/thread.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

// Outside the anonymous namespace: the compiler must not assume it knows every override.
namespace child {
struct Base;
__attribute__((noinline)) void CallPure(Base* base);

// A base whose constructor calls the function that only the derived class defines.
struct Base {
    Base() { CallPure(this); }
    virtual ~Base() = default;
    virtual void Pure() = 0;
};

void CallPure(Base* base) {
    asm volatile("" : "+r"(base)); // the compiler must not know the object's dynamic type
    base->Pure();
}
struct Derived : Base {
    void Pure() override {}
};
} // namespace child

namespace {

volatile int* volatile g_nowhere = reinterpret_cast<int*>(0x10);

volatile int g_stopDepth = 0x7FFFFFFF; // never reached: the stack runs out first

__attribute__((noinline)) int Recurse(int depth) {
    volatile char block[4096];
    block[0] = static_cast<char>(depth);
    if (depth == g_stopDepth)
        return block[0];
    return Recurse(depth + 1) + block[0];
}

void WriteToNowhere() {
    *g_nowhere = 1;
}

// A call the runtime rejects because of its argument.
void PassInvalidArgument() {
    char target[4];
    strcpy_s(target, sizeof(target), "far too long for the target");
    std::printf("%s\n", target);
}

// A heap block that the crashing frame points to, which points to a second block.
__attribute__((noinline)) void CrashHoldingHeapBlocks() {
    auto** first = static_cast<char**>(::HeapAlloc(::GetProcessHeap(), 0, 64));
    char* second = static_cast<char*>(::HeapAlloc(::GetProcessHeap(), 0, 64));
    std::strcpy(second, "SECONDBLOCKMARKER");
    first[0] = second;
    std::strcpy(reinterpret_cast<char*>(first + 1), "FIRSTBLOCKMARKER");
    char* volatile held[2] = {reinterpret_cast<char*>(first), second};
    WriteToNowhere();
    std::printf("%p\n", static_cast<void*>(held[0]));
}

// A second fault while the crash dialog stands: another registered thread faults then.
void FaultAgainWhileTheDialogStands() {
    platform::UniqueHandle thread = platform::StartThread([] {
        while (crash::CurrentCrashStage() != crash::kStageDialogShown)
            ::Sleep(50);
        ::Sleep(500);
        WriteToNowhere();
        return 0u;
    });
    thread.Release(); // runs until the process ends
    WriteToNowhere();
}

void CrashOnSecondThread() {
    platform::UniqueHandle thread = platform::StartThread([] {
        crash::Trace("second-thread", 2u);
        WriteToNowhere();
        return 0u;
    });
    ::WaitForSingleObject(thread.Get(), INFINITE);
}

// Another component tries to take over the unhandled-exception filter.
LONG WINAPI ForeignFilter(EXCEPTION_POINTERS*) {
    ::ExitProcess(77);
}

void DisplaceFilterThenCrash() {
    const LPTOP_LEVEL_EXCEPTION_FILTER previous = ::SetUnhandledExceptionFilter(&ForeignFilter);
    crash::Trace("filter-change", previous);
    WriteToNowhere();
}

// An access violation raised by hand with fewer parameters than the system gives one.
void RaiseViolation(DWORD parameterCount) {
    const ULONG_PTR parameters[1] = {1};
    ::RaiseException(EXCEPTION_ACCESS_VIOLATION, 0, parameterCount, parameters);
}

// Every record of the ring taken, each with the longest label and all its values 64 bits wide.
void FillTraceRing() {
    const unsigned long long wide = 0xFEDCBA9876543210ull;
    for (std::size_t i = 0; i < crash::kTraceCapacity + 16; ++i)
        crash::Trace("a-label-of-the-longest-length-there-is-", wide, wide, wide, wide, wide, wide,
                     wide, wide, wide, wide, wide, static_cast<unsigned long long>(i) << 32);
}

// Maps up to `count` more of the system's libraries without running or linking them: the
// module list then holds more entries than a report lists.
void LoadSystemImages(int count) {
    wchar_t folder[MAX_PATH] = {};
    ::GetSystemDirectoryW(folder, MAX_PATH);
    const std::wstring prefix = std::wstring(folder) + L"\\";
    WIN32_FIND_DATAW found = {};
    HANDLE search = ::FindFirstFileW((prefix + L"*.dll").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    int loaded = 0;
    do {
        if (::LoadLibraryExW((prefix + found.cFileName).c_str(), nullptr,
                             DONT_RESOLVE_DLL_REFERENCES))
            ++loaded;
    } while (loaded < count && ::FindNextFileW(search, &found));
    ::FindClose(search);
}

// Modules that every Windows has; each brings its own dependencies along.
void LoadManyModules() {
    const wchar_t* const names[] = {
        L"comctl32.dll", L"shell32.dll",  L"ole32.dll",    L"oleaut32.dll", L"wininet.dll",
        L"ws2_32.dll",   L"crypt32.dll",  L"urlmon.dll",   L"setupapi.dll", L"winmm.dll",
        L"msxml3.dll",   L"gdiplus.dll",  L"riched20.dll", L"msi.dll",      L"wintrust.dll",
        L"shlwapi.dll",  L"version.dll",  L"imm32.dll",    L"uxtheme.dll",  L"secur32.dll",
        L"netapi32.dll", L"iphlpapi.dll", L"dnsapi.dll",   L"mpr.dll",      L"comdlg32.dll",
        L"cabinet.dll",  L"dbghelp.dll",  L"psapi.dll",    L"userenv.dll",  L"winhttp.dll",
        L"bcrypt.dll",   L"rsaenh.dll",   L"d3d9.dll",     L"dxgi.dll",     L"mshtml.dll",
        L"jscript.dll",  L"msvcp140.dll", L"hid.dll",      L"wtsapi32.dll", L"powrprof.dll"};
    for (const wchar_t* name : names)
        ::LoadLibraryW(name);
    LoadSystemImages(300);
}

// Far more than a report holds: 200 more registered threads, many modules, a full trace ring.
void CrashInACrowd() {
    static platform::UniqueHandle never(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    for (int i = 0; i < 200; ++i) {
        platform::UniqueHandle thread = platform::StartThread([] {
            ::WaitForSingleObject(never.Get(), INFINITE);
            return 0u;
        });
        thread.Release(); // waits until the process ends
    }
    LoadManyModules();
    FillTraceRing();
    WriteToNowhere();
}

void Crash(const std::string& way) {
    if (way == "write")
        WriteToNowhere();
    else if (way == "read")
        std::printf("%d\n", *g_nowhere);
    else if (way == "pure")
        child::Derived derived;
    else if (way == "invalid")
        PassInvalidArgument();
    else if (way == "abort")
        std::abort();
    else if (way == "overflow")
        std::printf("%d\n", Recurse(0));
    else if (way == "heap")
        CrashHoldingHeapBlocks();
    else if (way == "twice")
        FaultAgainWhileTheDialogStands();
    else if (way == "thread")
        CrashOnSecondThread();
    else if (way == "displace")
        DisplaceFilterThenCrash();
    else if (way == "throw")
        throw std::runtime_error("nobody catches this");
    else if (way == "new")
        std::printf("%p\n", ::operator new(static_cast<std::size_t>(-1) / 2));
    else if (way == "violation0")
        RaiseViolation(0);
    else if (way == "violation1")
        RaiseViolation(1);
    else if (way == "crowd")
        CrashInACrowd();
    else if (way == "trace") {
        FillTraceRing();
        WriteToNowhere();
    } else if (way == "raise")
        ::RaiseException(0xE0001234, 0, 0, nullptr);
    else if (way == "pseudo")
        crash::RaisePseudoException(crash::kTerminationRequest);
    else if (way == "divide") {
        volatile int zero = 0;
        std::printf("%d\n", 10 / zero);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: crash_child <way> <report file> [options]\n");
        return 2;
    }
    char way[64] = {};
    char report[crash::kConfigTextSize] = {};
    ::WideCharToMultiByte(CP_ACP, 0, argv[1], -1, way, sizeof(way), nullptr, nullptr);
    ::WideCharToMultiByte(CP_ACP, 0, argv[2], -1, report, sizeof(report), nullptr, nullptr);

    crash::CrashHandlerConfig config = {};
    config.flags = crash::kCrashFlagSilent;
    crash::SetConfigText(config.supportAddress, "support@velk.example");
    crash::SetConfigText(config.applicationName, "Crash Child");
    crash::SetConfigText(config.reportCopyPath, report);
    crash::SetConfigText(config.versionText, "v1.0 Build 10028");
    crash::SetConfigText(config.operatingSystem, "Test OS");
    crash::SetConfigText(config.machine, "Test machine");
    for (int i = 3; i < argc; ++i) {
        const std::wstring option = argv[i];
        if (option == L"dialog")
            config.flags &= ~crash::kCrashFlagSilent;
        else if (option == L"embedded" && i + 1 < argc)
            config.embeddedMinidumpType = std::wcstoul(argv[++i], nullptr, 0);
        else if (option == L"kept" && i + 2 < argc) {
            config.keptMinidumpType = std::wcstoul(argv[++i], nullptr, 0);
            char folder[crash::kConfigTextSize] = {};
            ::WideCharToMultiByte(CP_ACP, 0, argv[++i], -1, folder, sizeof(folder), nullptr,
                                  nullptr);
            crash::SetConfigText(config.keptMinidumpFolder, folder);
        }
    }
    if (!crash::InstallCrashHandler(config))
        return 3;
    crash::Trace("child-start", 0x1234u, 0x123456789ABCull);
    crash::Trace("no-values");
    Crash(way);
    crash::UninstallCrashHandler();
    return 0; // the chosen way did not crash
}
