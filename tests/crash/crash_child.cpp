// crash_child <way> <report file> [dialog] [nomail]: installs the crash handler and crashes in
// `way`. "dialog" shows the crash dialog; "nomail" names a mail library that is not there.

#include "crash/crash_handler.h"
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

// Runs `then` on another thread once the crash dialog stands.
void OnceTheDialogStands(void (*then)()) {
    static void (*g_then)() = then;
    platform::UniqueHandle thread = platform::StartThread([] {
        while (crash::CurrentCrashStage() != crash::kStageDialogShown)
            ::Sleep(50);
        ::Sleep(500);
        g_then();
        return 0u;
    });
    thread.Release(); // runs until the process ends
}

// A buffer underrun over the header that the heap keeps in front of a large block: the heap's
// list of large blocks then leads into nowhere, and so does walking the heap.
void CorruptTheHeapThenFault() {
    auto* block = static_cast<unsigned char*>(::HeapAlloc(::GetProcessHeap(), 0, 4 << 20));
    MEMORY_BASIC_INFORMATION region = {};
    ::VirtualQuery(block, &region, sizeof(region));
    auto* header = static_cast<unsigned char*>(region.AllocationBase);
    if (block - header <= 256)
        std::memset(header, 0x41, static_cast<std::size_t>(block - header));
    // Once the dialog stands, another thread takes memory from that heap, as the mail thread
    // would, and says so by a named event.
    OnceTheDialogStands([] {
        ::HeapFree(::GetProcessHeap(), 0, ::HeapAlloc(::GetProcessHeap(), 0, 100000));
        const std::wstring name = L"crash_child_heap_" + std::to_wstring(::GetCurrentProcessId());
        ::CreateEventW(nullptr, TRUE, TRUE, name.c_str());
    });
    WriteToNowhere();
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

// Another component tries to take over the unhandled-exception filter.
LONG WINAPI ForeignFilter(EXCEPTION_POINTERS*) {
    ::ExitProcess(77);
}

// Far more than a report holds: 200 more registered threads.
void CrashInACrowd() {
    static platform::UniqueHandle never(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    for (int i = 0; i < 200; ++i) {
        platform::UniqueHandle thread = platform::StartThread([] {
            ::WaitForSingleObject(never.Get(), INFINITE);
            return 0u;
        });
        thread.Release(); // waits until the process ends
    }
    WriteToNowhere();
}

const struct {
    const char* name;
    void (*crash)();
} kWays[] = {
    {"write", &WriteToNowhere},
    {"divide",
     [] {
         volatile int zero = 0;
         std::printf("%d\n", 10 / zero);
     }},
    {"pure", [] { child::Derived derived; }},
    {"new", [] { std::printf("%p\n", ::operator new(static_cast<std::size_t>(-1) / 2)); }},
    {"malloc", [] { std::printf("%p\n", std::malloc(static_cast<std::size_t>(-1) / 2)); }},
    {"abort", [] { std::abort(); }},
    {"throw", [] { throw std::runtime_error("nobody catches this"); }},
    {"overflow", [] { std::printf("%d\n", Recurse(0)); }},
    {"heap", &CrashHoldingHeapBlocks},
    {"corrupt", &CorruptTheHeapThenFault},
    {"crowd", &CrashInACrowd},
    // A second fault while the crash dialog stands: another registered thread faults then.
    {"twice",
     [] {
         OnceTheDialogStands(&WriteToNowhere);
         WriteToNowhere();
     }},
    {"thread",
     [] {
         platform::UniqueHandle thread = platform::StartThread([] {
             crash::Trace("second-thread", 2u);
             WriteToNowhere();
             return 0u;
         });
         ::WaitForSingleObject(thread.Get(), INFINITE);
     }},
    {"displace",
     [] {
         crash::Trace("filter-change", ::SetUnhandledExceptionFilter(&ForeignFilter));
         WriteToNowhere();
     }},
};

std::string Narrow(const wchar_t* text) {
    char narrow[crash::kConfigTextSize] = {};
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof(narrow), nullptr, nullptr);
    return narrow;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return 2;
    crash::CrashHandlerConfig config = {};
    config.flags = crash::kCrashFlagSilent;
    crash::SetConfigText(config.supportAddress, "support@velk.example");
    crash::SetConfigText(config.applicationName, "Crash Child");
    crash::SetConfigText(config.reportCopyPath, Narrow(argv[2]).c_str());
    crash::SetConfigText(config.versionText, "v1.0 Build 10028");
    crash::SetConfigText(config.operatingSystem, "Test OS");
    crash::SetConfigText(config.machine, "Test machine");
    for (int i = 3; i < argc; ++i) {
        const std::wstring option = argv[i];
        if (option == L"dialog")
            config.flags &= ~crash::kCrashFlagSilent;
        else if (option == L"nomail")
            crash::SetConfigText(config.mailLibrary, "no_mail_library.dll");
    }
    if (!crash::InstallCrashHandler(config))
        return 3;
    crash::Trace("child-start", 0x1234u, 0x123456789ABCull);
    crash::Trace("no-values");
    for (const auto& way : kWays) {
        if (Narrow(argv[1]) == way.name)
            way.crash();
    }
    crash::UninstallCrashHandler();
    return 0; // the chosen way did not crash
}
