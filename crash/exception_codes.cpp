#include "crash/exception_codes.h"

#include <iterator>

namespace crash {
namespace {

struct NamedCode {
    DWORD code;
    const char* name;
};

constexpr NamedCode kNamedCodes[] = {
    {0xC0000005, "Access violation"},
    {0xC00000FD, "Stack overflow"},
    {0xC000001D, "Illegal instruction"},
    {0xC0000096, "Privileged instruction"},
    {0x80000002, "Datatype misalignment"},
    {0xC0000006, "In page IO error"},
    {0x80000004, "Single step exception"},
    {0x80000003, "Hardcoded breakpoint"},
    {0xC000008C, "Array bounds exceeded"},
    {0xC0000026, "Invalid disposition"},
    {0xC0000025, "Noncontinuable exception"},
    {0xC0000094, "Integer divide by zero"},
    {0xC0000095, "Integer overflow"},
    {0xC000008D, "Floating-point denormal operand"},
    {0xC000008E, "Floating-point divide by zero"},
    {0xC000008F, "Floating-point inexact result"},
    {0xC0000090, "Floating-point invalid operation"},
    {0xC0000092, "Floating-point stack check"},
    {0xC0000091, "Floating-point overflow"},
    {0xC0000093, "Floating-point underflow"},
    {0x80000001, "Guard Page Exception"},
    {0xC0000008, "Invalid Handle Exception"},
    {kPureVirtualCall, "Pure virtual function call"},
    {kNewFailed, "New operator fails to allocate memory"},
    {kInvalidParameter, "CRT detects an invalid argument"},
    {kBufferOverrun, "CRT calls when buffer overrun is detected"},
    {kAbnormalTermination, "Abnormal termination"},
    {kControlC, "CTRL+C signal"},
    {kTerminationRequest, "Termination request"},
    {kFloatingPointSignal, "Floating-point error"},
    {kIllegalInstructionSignal, "Illegal instruction"},
    {kIllegalStorageSignal, "Illegal storage access"},
    {kUnhandledTypedException, "Unhandled C++ typed exception"},
    {kUnexpectedException, "Unexpected exception"},
};

} // namespace

const char* ExceptionCodeName(DWORD code) {
    for (const NamedCode& named : kNamedCodes) {
        if (named.code == code)
            return named.name;
    }
    return nullptr;
}

int NamedExceptionCodeCount() {
    return static_cast<int>(std::size(kNamedCodes));
}

} // namespace crash
