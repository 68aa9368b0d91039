#pragma once
// The crash handler's own storage, shared by its parts inside this folder.

#include "crash/crash_config.h"
#include "crash/work_area.h"

#include <windows.h>

namespace crash {

struct HandlerState {
    CrashHandlerConfig config;
    WorkAreaOwner workArea;
    HMODULE dbghelp = nullptr; // loaded at installation when a minidump type is set
    FARPROC miniDumpWriteDump = nullptr;
    volatile LONG armed = 0;       // installed and not uninstalled
    volatile LONG stage = 0;       // CrashStage
    volatile LONG ownerThread = 0; // the thread that runs the crash routine
    DWORD crashThreadId = 0;       // the thread that faulted
};

HandlerState& State();

// The crash routine: writes the report, shows the dialog, ends the process. Runs the routine on
// a helper thread when the faulting thread has no stack left.
[[noreturn]] void RunCrashRoutine(EXCEPTION_POINTERS* pointers);

// For the vectored exception handler: when `pointers` is a fault of the crash routine's own thread
// while it writes the report, points its context back into the routine, which goes on with the
// text written so far, and returns true (the fault's thread then continues).
bool ResumeAfterFaultInReport(EXCEPTION_POINTERS* pointers);

// Hooks installed once per process, and those installed for each registered thread.
void InstallProcessHooks();
void InstallThreadHooks();

// Redirects the imports of SetUnhandledExceptionFilter of every loaded module, so no other
// component displaces the handler. SetFilterThroughGuard reaches the real function.
void GuardUnhandledExceptionFilter();
LPTOP_LEVEL_EXCEPTION_FILTER SetFilterThroughGuard(LPTOP_LEVEL_EXCEPTION_FILTER filter);

} // namespace crash
