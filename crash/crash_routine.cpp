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

void SaveReportCopy(const CrashHandlerConfig& config, const ReportText& text) {
    if (!config.reportCopyPath[0])
        return;
    platform::UniqueHandle file(::CreateFileA(config.reportCopyPath, GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    DWORD written = 0;
    ::WriteFile(file.Get(), text.Text(), static_cast<DWORD>(text.Length()), &written, nullptr);
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

// Stage 0 to 1 and on: the one run of the routine that reports the fault.
[[noreturn]] void HandleFault(EXCEPTION_POINTERS* pointers, DWORD faultingThread) {
    HandlerState& state = State();
    state.crashThreadId = faultingThread;
    WorkArea& area = *state.workArea.Get();
    ::ZeroMemory(area.report, sizeof(area.report));
    ReportText text(area.report, sizeof(area.report));
    WriteCrashReport(text, state.config, *pointers, faultingThread, area);
    WriteMinidumps(state, pointers, faultingThread, text);
    SaveReportCopy(state.config, text);
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
        EndProcess(); // a fault while writing the report: end with what was written
    for (;;)
        ::Sleep(INFINITE); // the owner ends the process
}

} // namespace

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
