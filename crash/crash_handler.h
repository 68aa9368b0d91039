#pragma once
// The process-wide last-chance handler: whatever ends the program abnormally produces a text
// report, the crash dialog that offers to mail it, and an exit with code 1067.

#include "crash/crash_config.h"
#include "crash/execution_trace.h"

#include <windows.h>

namespace crash {

constexpr UINT kCrashExitCode = 1067;

// Stages of the crash routine.
enum CrashStage : LONG {
    kStageArmed = 0,
    kStageReportWritten = 1,
    kStageDialogShown = 2,
    kStageMailing = 3,
};

// Copies `config`, reserves the crash path's storage (once), installs the process-wide hooks
// (once), registers the calling thread and makes every thread that the program's thread wrapper
// starts register itself. False when the storage could not be reserved.
bool InstallCrashHandler(const CrashHandlerConfig& config);

// Frees the module loaded for minidumps and releases the storage; the hooks then stand aside
// and let the system handle a fault.
void UninstallCrashHandler();

// Records the calling thread and installs the per-thread hooks; a second call does nothing.
void RegisterCrashThread();
// Forgets the calling thread; for threads that end while the program goes on.
void UnregisterCrashThread();

// Ends the process through the crash routine with a pseudo exception code (exception_codes.h):
// the current registers stand for the fault's context.
[[noreturn]] void RaisePseudoException(DWORD code);

// The crash routine's stage (CrashStage).
LONG CurrentCrashStage();

} // namespace crash
