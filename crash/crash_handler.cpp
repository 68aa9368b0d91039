#include "crash/crash_handler.h"

#include "crash/handler_state.h"
#include "crash/thread_registry.h"
#include "platform/thread.h"

#include <cstring>

namespace crash {
namespace {

HandlerState g_state;
volatile LONG g_processHooksInstalled = 0;

void ThreadStarted(void*) {
    RegisterCrashThread();
}

void ThreadEnding(void*) {
    UnregisterCrashThread();
}

bool NeedsMinidumpWriter(const CrashHandlerConfig& config) {
    return config.embeddedMinidumpType != 0 || config.keptMinidumpType != 0;
}

// The debugging library is loaded now: loading it after a fault might not work.
void LoadMinidumpWriter(HandlerState& state) {
    if (state.dbghelp || !NeedsMinidumpWriter(state.config))
        return;
    state.dbghelp = ::LoadLibraryW(L"dbghelp.dll");
    if (state.dbghelp)
        state.miniDumpWriteDump = ::GetProcAddress(state.dbghelp, "MiniDumpWriteDump");
}

void TerminateTexts(CrashHandlerConfig& config) {
    for (char* field :
         {config.supportAddress, config.applicationName, config.reportCopyPath, config.mailLibrary,
          config.versionText, config.operatingSystem, config.machine, config.keptMinidumpFolder})
        field[kConfigTextSize - 1] = 0;
}

} // namespace

HandlerState& State() {
    return g_state;
}

void SetConfigText(char (&field)[kConfigTextSize], const char* text) {
    std::size_t i = 0;
    for (; text && text[i] && i + 1 < kConfigTextSize; ++i)
        field[i] = text[i];
    std::memset(field + i, 0, kConfigTextSize - i);
}

bool InstallCrashHandler(const CrashHandlerConfig& config) {
    HandlerState& state = g_state;
    if (!state.workArea.Create())
        return false;
    std::memcpy(&state.config, &config, sizeof(config));
    TerminateTexts(state.config);
    LoadMinidumpWriter(state);
    ExecutionTrace::Attach(state.workArea.Get()->trace);
    ::InterlockedExchange(&state.armed, 1);
    if (::InterlockedExchange(&g_processHooksInstalled, 1) == 0)
        InstallProcessHooks();
    RegisterCrashThread();
    platform::SetThreadObserver({&ThreadStarted, &ThreadEnding, nullptr});
    return true;
}

void UninstallCrashHandler() {
    HandlerState& state = g_state;
    platform::SetThreadObserver({});
    ::InterlockedExchange(&state.armed, 0);
    ExecutionTrace::Attach(nullptr);
    if (state.dbghelp)
        ::FreeLibrary(state.dbghelp);
    state.dbghelp = nullptr;
    state.miniDumpWriteDump = nullptr;
    state.workArea.Release();
    ThreadRegistry::Clear();
}

void RegisterCrashThread() {
    if (ThreadRegistry::Add())
        InstallThreadHooks();
}

void UnregisterCrashThread() {
    ThreadRegistry::Remove();
}

LONG CurrentCrashStage() {
    return g_state.stage;
}

} // namespace crash
