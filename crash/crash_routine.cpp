// The crash routine, driven by a process-wide stage counter so that a second fault during the
// handling does not start it over.

#include "crash/crash_dialog.h"
#include "crash/crash_handler.h"
#include "crash/crash_mail.h"
#include "crash/crash_report.h"
#include "crash/embedded_dump.h"
#include "crash/handler_state.h"
#include "crash/minidump.h"
#include "platform/unique_resource.h"

namespace crash {
namespace {

// The fault handed to the helper thread when the faulting thread has no stack left.
struct HelperRequest {
    EXCEPTION_POINTERS* pointers = nullptr;
    DWORD faultingThread = 0;
};
HelperRequest g_helperRequest;
constexpr SIZE_T kHelperStack = 1024 * 1024;

[[noreturn]] void EndProcess() {
    HandlerState& state = State();
    if (WorkArea* area = state.workArea.Get(); area && area->tempDumpPath[0])
        ::DeleteFileA(area->tempDumpPath);
    ::TerminateProcess(::GetCurrentProcess(), kCrashExitCode);
    ::ExitProcess(kCrashExitCode);
}

void SaveReportCopy(const CrashHandlerConfig& config, const char* report) {
    if (!config.reportCopyPath[0])
        return;
    platform::UniqueHandle file(::CreateFileA(config.reportCopyPath, GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    DWORD written = 0;
    ::WriteFile(file.Get(), report, static_cast<DWORD>(::lstrlenA(report)), &written, nullptr);
}

// A kept minidump of the embedded type already describes this crash: the embedded one is its copy,
// so that the report carries the very dump that stays on disk, and the process is dumped once.
bool CopyKeptMinidump(const CrashHandlerConfig& config, const WorkArea& area) {
    return area.keptDumpPath[0] && config.keptMinidumpType == config.embeddedMinidumpType &&
           ::CopyFileA(area.keptDumpPath, area.tempDumpPath, FALSE);
}

void WriteMinidumps(HandlerState& state, EXCEPTION_POINTERS* pointers, DWORD threadId,
                    ReportText& text) {
    WorkArea& area = *state.workArea.Get();
    const CrashHandlerConfig& config = state.config;
    if (config.keptMinidumpType != 0 &&
        PrepareKeptMinidumpPath(config.keptMinidumpFolder, area.keptDumpPath)) {
        if (!WriteMinidump(state.miniDumpWriteDump, area.keptDumpPath, config.keptMinidumpType,
                           pointers, threadId))
            area.keptDumpPath[0] = 0;
    }
    if (config.embeddedMinidumpType != 0 && TemporaryMinidumpPath(area.tempDumpPath)) {
        if (CopyKeptMinidump(config, area) ||
            WriteMinidump(state.miniDumpWriteDump, area.tempDumpPath, config.embeddedMinidumpType,
                          pointers, threadId))
            AppendEmbeddedMinidump(text, area.tempDumpPath, area);
        else
            area.tempDumpPath[0] = 0;
    }
}

// Where the crash routine goes on when a step of it faults: the step's start, and the
// structured-exception chain of the 32-bit build as it stood there (after a resume it would still
// list frames of the step).
void* g_resumePoint[5];
void* g_resumeExceptionList = nullptr;
volatile LONG g_resumeArmed = 0;

NT_TIB* ThreadBlock() {
// The compiler takes the segment-relative read of the thread block for an array access.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
    return reinterpret_cast<NT_TIB*>(::NtCurrentTeb());
#pragma GCC diagnostic pop
}

// Runs `step`; a fault inside it (a corrupt heap that the report walks, say) ends the step where
// it stands, and false is returned.
__attribute__((noinline)) bool RunResumable(void (*step)(void*), void* context) {
    g_resumeExceptionList = ThreadBlock()->ExceptionList;
    if (__builtin_setjmp(g_resumePoint) == 0) {
        ::InterlockedExchange(&g_resumeArmed, 1);
        step(context);
        ::InterlockedExchange(&g_resumeArmed, 0);
        return true;
    }
    ThreadBlock()->ExceptionList =
        static_cast<EXCEPTION_REGISTRATION_RECORD*>(g_resumeExceptionList);
    return false;
}

// The faulted thread continues here, on its own stack below the fault, and leaves the step.
[[noreturn]] __attribute__((noinline)) void LeaveFaultedStep() {
    __builtin_longjmp(g_resumePoint, 1);
}

// Makes `context` go on in `function` as if it had been called there, on the stack below where
// the context stood, with the direction flag clear as compiled code expects.
void ContinueIn(CONTEXT& context, void (*function)()) {
    constexpr DWORD kDirectionFlag = 0x400;
    context.EFlags &= ~kDirectionFlag;
#ifdef _WIN64
    context.Rsp = ((context.Rsp - 256) & ~DWORD64(15)) - sizeof(void*);
    context.Rip = reinterpret_cast<DWORD64>(function);
#else
    context.Esp = ((context.Esp - 256) & ~DWORD(15)) - sizeof(void*);
    context.Eip = reinterpret_cast<DWORD>(function);
#endif
}

struct ReportRequest {
    HandlerState* state;
    EXCEPTION_POINTERS* pointers;
    DWORD faultingThread;
};

void WriteReportAndMinidumps(void* context) {
    const ReportRequest& request = *static_cast<ReportRequest*>(context);
    HandlerState& state = *request.state;
    ReportText text(state.workArea.Get()->report, kReportSize);
    WriteCrashReport(text, state.config, *request.pointers, request.faultingThread,
                     *state.workArea.Get());
    WriteMinidumps(state, request.pointers, request.faultingThread, text);
}

// HeapWalk holds the heap's lock while it runs: after a fault inside it, the lock is released
// for the other threads (the mail's).
void ReleaseWalkedHeap(void* context) {
    WorkArea& area = *static_cast<WorkArea*>(context);
    const HANDLE heap = area.walkingHeap;
    area.walkingHeap = nullptr;
    if (heap)
        ::HeapUnlock(heap);
}

// Stage 0 to 1 and on: the one run of the routine that reports the fault.
[[noreturn]] void HandleFault(EXCEPTION_POINTERS* pointers, DWORD faultingThread) {
    HandlerState& state = State();
    state.crashThreadId = faultingThread;
    WorkArea& area = *state.workArea.Get();
    ::ZeroMemory(area.report, sizeof(area.report));
    ReportRequest request = {&state, pointers, faultingThread};
    if (!RunResumable(&WriteReportAndMinidumps, &request))
        RunResumable(&ReleaseWalkedHeap, &area);
    SaveReportCopy(state.config, area.report);
    ::InterlockedExchange(&state.stage, kStageReportWritten);
    if (!(state.config.flags & kCrashFlagSilent)) {
        ::InterlockedExchange(&state.stage, kStageDialogShown);
        ShowCrashDialog();
        WaitForMailThread();
    }
    EndProcess();
}

DWORD WINAPI HelperThread(void*) {
    ::InterlockedExchange(&State().ownerThread, static_cast<LONG>(::GetCurrentThreadId()));
    HandleFault(g_helperRequest.pointers, g_helperRequest.faultingThread);
}

// The faulting thread has run out of stack: the report is written from a fresh thread while the
// faulting one waits.
[[noreturn]] void HandleOnHelperThread(EXCEPTION_POINTERS* pointers) {
    g_helperRequest.pointers = pointers;
    g_helperRequest.faultingThread = ::GetCurrentThreadId();
    platform::UniqueHandle helper(
        ::CreateThread(nullptr, kHelperStack, &HelperThread, nullptr, 0, nullptr));
    if (helper)
        ::WaitForSingleObject(helper.Get(), INFINITE);
    EndProcess();
}

// The routine was entered while it already runs.
[[noreturn]] void EnteredAgain(bool onOwnerThread) {
    HandlerState& state = State();
    if (state.stage == kStageDialogShown && StartMailThread()) {
        WaitForMailThread();
        if (onOwnerThread)
            EndProcess();
    }
    if (onOwnerThread)
        EndProcess(); // a fault outside the resumable steps: end with what was written
    for (;;)
        ::Sleep(INFINITE); // the owner ends the process
}

} // namespace

bool ResumeAfterFaultInReport(EXCEPTION_POINTERS* pointers) {
    const DWORD code = pointers->ExceptionRecord->ExceptionCode;
    if (!g_resumeArmed || (code & 0xC0000000u) != 0xC0000000u ||
        State().ownerThread != static_cast<LONG>(::GetCurrentThreadId()))
        return false;
    ::InterlockedExchange(&g_resumeArmed, 0);
    ContinueIn(*pointers->ContextRecord, &LeaveFaultedStep);
    return true;
}

void RunCrashRoutine(EXCEPTION_POINTERS* pointers) {
    HandlerState& state = State();
    const LONG self = static_cast<LONG>(::GetCurrentThreadId());
    if (!pointers) {
        // A pseudo exception raised while another thread's is being built: that one reports.
        while (state.ownerThread == 0)
            ::Sleep(10);
    }
    const LONG owner = ::InterlockedCompareExchange(&state.ownerThread, self, 0);
    if (owner != 0)
        EnteredAgain(owner == self);
    if (!state.workArea.Get())
        EndProcess();
    if (pointers->ExceptionRecord &&
        pointers->ExceptionRecord->ExceptionCode == EXCEPTION_STACK_OVERFLOW)
        HandleOnHelperThread(pointers);
    HandleFault(pointers, static_cast<DWORD>(self));
}

} // namespace crash
