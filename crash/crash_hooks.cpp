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

// The runtime's checks reject a call's argument: the call returns its error to the caller,
// instead of the runtime ending the program.
void __cdecl InvalidParameter(const wchar_t*, const wchar_t*, const wchar_t*, unsigned int,
                              uintptr_t) {}

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

// The signal that runtimes raise for a structured exception of `code`, or 0.
int SignalOf(DWORD code) {
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
        return SIGSEGV;
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
        return SIGILL;
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
        return SIGFPE;
    default:
        return 0;
    }
}

// The structured exception that a runtime turned into `signal`, or null for a raised signal. The
// C runtime keeps the exception when its own filter raised the signal; the filter that the
// 64-bit start-up code puts around the program's entry does not, so the failure last noted on
// the thread stands in when it is of the kind that raises this signal.
EXCEPTION_POINTERS* StructuredExceptionBehind(int signal) {
    if (auto* pointers = static_cast<EXCEPTION_POINTERS*>(_pxcptinfoptrs))
        return pointers;
    if (ThreadRegistry::LastFault(g_signalPointers) &&
        SignalOf(g_signalPointers.ExceptionRecord->ExceptionCode) == signal)
        return &g_signalPointers;
    return nullptr;
}

// A fault that a runtime turned into a signal goes on to the unhandled-exception filter, the
// route that faults take where no runtime steps in (the 32-bit build, threads that the runtime
// did not start), so that every fault is reported the same way. The runtime calls the signal
// handler from its exception filter, where the system allows this call. True when a structured
// exception stood behind the signal and the filter let it go (a debugger is attached): the
// handler then returns and the fault comes back to the system.
bool PassToUnhandledExceptionFilter(int signal) {
    EXCEPTION_POINTERS* pointers = StructuredExceptionBehind(signal);
    if (!pointers)
        return false;
    ::UnhandledExceptionFilter(pointers);
    return true;
}

// Sees every exception first: resumes the crash routine when its report writers fault, takes a
// stack overflow at once, and notes the failures (severity error) for the signal handlers. What
// is left of an overflowed stack may not carry the search for a handler down to the
// unhandled-exception filter, and no handler on the way could go on with a spent stack anyway.
LONG CALLBACK SeeExceptionFirst(EXCEPTION_POINTERS* pointers) {
    if (!pointers || !pointers->ExceptionRecord || !pointers->ContextRecord)
        return EXCEPTION_CONTINUE_SEARCH;
    if (ResumeAfterFaultInReport(pointers))
        return EXCEPTION_CONTINUE_EXECUTION;
    const DWORD code = pointers->ExceptionRecord->ExceptionCode;
    if (code == EXCEPTION_STACK_OVERFLOW && State().armed)
        RunCrashRoutine(pointers);
    if ((code & 0xC0000000u) == 0xC0000000u)
        ThreadRegistry::NoteFault(*pointers);
    return EXCEPTION_CONTINUE_SEARCH;
}

void __cdecl FloatingPointSignal(int) {
    if (!PassToUnhandledExceptionFilter(SIGFPE))
        RaisePseudoException(kFloatingPointSignal);
}

void __cdecl IllegalInstructionSignal(int) {
    if (!PassToUnhandledExceptionFilter(SIGILL))
        RaisePseudoException(kIllegalInstructionSignal);
}

void __cdecl StorageSignal(int) {
    if (!PassToUnhandledExceptionFilter(SIGSEGV))
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

// The runtime's own new handler, which malloc calls too once the new mode is 1. This runtime
// exports both setters under their decorated names. (The 64-bit name refers back to the
// parameter type `_K`, size_t, with "0"; the 32-bit one repeats the one-letter `I`.)
void SetRuntimeNewHandler() {
    using NewHandlerSetter = _PNH(__cdecl*)(_PNH);
    using NewModeSetter = int(__cdecl*)(int);
    const char* const setterName = sizeof(std::size_t) == 8
                                       ? "?_set_new_handler@@YAP6AH_K@ZP6AH0@Z@Z"
                                       : "?_set_new_handler@@YAP6AHI@ZP6AHI@Z@Z";
    if (auto set = RuntimeFunction<NewHandlerSetter>(setterName))
        set(&MallocFailed);
    auto setMode = RuntimeFunction<NewModeSetter>("?_set_new_mode@@YAHH@Z");
    if (!setMode)
        setMode = RuntimeFunction<NewModeSetter>("_set_new_mode"); // other runtimes' export
    if (setMode)
        setMode(1);
}

} // namespace

void InstallProcessHooks() {
    SetFilterThroughGuard(&CrashFilter);
    ::AddVectoredExceptionHandler(1, &SeeExceptionFirst);
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
