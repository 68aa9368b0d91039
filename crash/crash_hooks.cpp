// The hooks that lead every kind of abnormal end into the crash routine: the unhandled-exception
// filter, the runtime's handlers for pure virtual calls, failed allocations, invalid parameters
// and terminate, and the C signals.

#include "crash/crash_handler.h"
#include "crash/exception_codes.h"
#include "crash/handler_state.h"
#include "crash/thread_registry.h"

#include <csignal>
#include <exception>
#include <new>
#include <new.h>
#include <stdlib.h>

namespace crash {
namespace {

// The records of a pseudo exception: static because the raising thread's stack may be all but
// used up, and taken by the first raiser only.
CONTEXT g_pseudoContext;
EXCEPTION_RECORD g_pseudoRecord;
EXCEPTION_POINTERS g_pseudoPointers;
volatile LONG g_pseudoTaken = 0;
EXCEPTION_POINTERS g_signalPointers; // the fault behind a signal

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* pointers) {
    if (!State().armed)
        return EXCEPTION_CONTINUE_SEARCH;
    RunCrashRoutine(pointers);
}

void NewFailed() {
    RaisePseudoException(kNewFailed);
}

int __cdecl MallocFailed(size_t) {
    RaisePseudoException(kNewFailed);
}

void __cdecl PureCall() {
    RaisePseudoException(kPureVirtualCall);
}

// The runtime's checks reject a call's argument: the program is on a path nobody tested, and
// going on with the call's error result would hide the fault.
void __cdecl InvalidParameter(const wchar_t*, const wchar_t*, const wchar_t*, unsigned int,
                              uintptr_t) {
    RaisePseudoException(kInvalidParameter);
}

void Terminated() {
    RaisePseudoException(kUnhandledTypedException);
}

void __cdecl AbortSignal(int) {
    RaisePseudoException(kAbnormalTermination);
}

void __cdecl InterruptSignal(int) {
    RaisePseudoException(kControlC);
}

void __cdecl TerminationSignal(int) {
    RaisePseudoException(kTerminationRequest);
}

// The structured exception that was turned into a signal: the runtime keeps it when its own
// filter raised the signal; the exception handler that the 64-bit start-up code registers for
// the image does not, so the last failure seen on the thread stands in.
EXCEPTION_POINTERS* CurrentExceptionPointers() {
    if (auto* pointers = static_cast<EXCEPTION_POINTERS*>(_pxcptinfoptrs))
        return pointers;
    return ThreadRegistry::LastFault(g_signalPointers) ? &g_signalPointers : nullptr;
}

// Sees every exception first and notes the failures (severity error). A stack overflow is taken
// here at once: what is left of the stack may not carry the search for a handler down to the
// unhandled-exception filter, and no handler on the way could go on with a spent stack anyway.
LONG CALLBACK NoteFailure(EXCEPTION_POINTERS* pointers) {
    if (!pointers || !pointers->ExceptionRecord)
        return EXCEPTION_CONTINUE_SEARCH;
    const DWORD code = pointers->ExceptionRecord->ExceptionCode;
    if (code == EXCEPTION_STACK_OVERFLOW && State().armed)
        RunCrashRoutine(pointers);
    if ((code & 0xC0000000u) == 0xC0000000u)
        ThreadRegistry::NoteFault(*pointers);
    return EXCEPTION_CONTINUE_SEARCH;
}

void __cdecl FloatingPointSignal(int) {
    if (EXCEPTION_POINTERS* pointers = CurrentExceptionPointers())
        RunCrashRoutine(pointers);
    RaisePseudoException(kFloatingPointSignal);
}

void __cdecl IllegalInstructionSignal(int) {
    RaisePseudoException(kIllegalInstructionSignal);
}

void __cdecl StorageSignal(int) {
    if (EXCEPTION_POINTERS* pointers = CurrentExceptionPointers())
        RunCrashRoutine(pointers);
    RaisePseudoException(kIllegalStorageSignal);
}

// The runtime's optional entry points, looked up so that a runtime without one still loads.
template <typename Function>
Function RuntimeFunction(const char* name) {
    const HMODULE runtime = ::GetModuleHandleW(L"msvcrt.dll");
    if (!runtime)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(runtime, name)));
}

void SetRuntimeHandlers() {
    using InvalidParameterSetter = _invalid_parameter_handler(__cdecl*)(_invalid_parameter_handler);
    using PureCallSetter = _purecall_handler(__cdecl*)(_purecall_handler);
    using AbortBehaviorSetter = unsigned int(__cdecl*)(unsigned int, unsigned int);
    if (auto set = RuntimeFunction<InvalidParameterSetter>("_set_invalid_parameter_handler"))
        set(&InvalidParameter);
    if (auto set = RuntimeFunction<PureCallSetter>("_set_purecall_handler"))
        set(&PureCall);
    if (auto set = RuntimeFunction<AbortBehaviorSetter>("_set_abort_behavior"))
        set(_CALL_REPORTFAULT, _WRITE_ABORT_MSG | _CALL_REPORTFAULT);
}

// The runtime's own new handler, which malloc calls too once the new mode is 1. The runtime
// exports the setter under its decorated name only.
void SetRuntimeNewHandler() {
    using NewHandlerSetter = _PNH(__cdecl*)(_PNH);
    using NewModeSetter = int(__cdecl*)(int);
#ifdef _WIN64
    const char* const setterName = "?_set_new_handler@@YAP6AH_K@ZP6AH_K@Z@Z";
#else
    const char* const setterName = "?_set_new_handler@@YAP6AHI@ZP6AHI@Z@Z";
#endif
    if (auto set = RuntimeFunction<NewHandlerSetter>(setterName))
        set(&MallocFailed);
    if (auto set = RuntimeFunction<NewModeSetter>("_set_new_mode"))
        set(1);
}

} // namespace

void InstallProcessHooks() {
    SetFilterThroughGuard(&CrashFilter);
    ::AddVectoredExceptionHandler(1, &NoteFailure);
    GuardUnhandledExceptionFilter();
    SetRuntimeHandlers();
    std::set_new_handler(&NewFailed);
    SetRuntimeNewHandler();
    std::signal(SIGABRT, &AbortSignal);
    std::signal(SIGINT, &InterruptSignal);
    std::signal(SIGTERM, &TerminationSignal);
}

// Since C++17 the language has no unexpected handler; an exception that leaves a noexcept
// function goes to terminate, which the terminate handler covers.
void InstallThreadHooks() {
    std::set_terminate(&Terminated);
    std::signal(SIGFPE, &FloatingPointSignal);
    std::signal(SIGILL, &IllegalInstructionSignal);
    std::signal(SIGSEGV, &StorageSignal);
}

__attribute__((noinline)) void RaisePseudoException(DWORD code) {
    if (!State().armed) {
        // Uninstalled: end the way the system ends any unhandled fault.
        ::RaiseException(code, EXCEPTION_NONCONTINUABLE, 0, nullptr);
        ::TerminateProcess(::GetCurrentProcess(), code);
    }
    if (::InterlockedExchange(&g_pseudoTaken, 1) != 0)
        RunCrashRoutine(nullptr); // another thread is already crashing
    g_pseudoContext = {};
    g_pseudoContext.ContextFlags = CONTEXT_FULL | CONTEXT_SEGMENTS;
    ::RtlCaptureContext(&g_pseudoContext);
    g_pseudoRecord = {};
    g_pseudoRecord.ExceptionCode = code;
    g_pseudoRecord.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
    g_pseudoRecord.ExceptionAddress = __builtin_return_address(0);
    g_pseudoPointers.ExceptionRecord = &g_pseudoRecord;
    g_pseudoPointers.ContextRecord = &g_pseudoContext;
    RunCrashRoutine(&g_pseudoPointers);
}

} // namespace crash

// The C++ runtime's entry for a call of a pure virtual (or deleted) function, taken over so that
// such a call is reported rather than printed and aborted.
extern "C" void __cxa_pure_virtual() {
    crash::RaisePseudoException(crash::kPureVirtualCall);
}

extern "C" void __cxa_deleted_virtual() {
    crash::RaisePseudoException(crash::kPureVirtualCall);
}
