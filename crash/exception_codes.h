#pragma once
// Exception codes the report knows by name, including the program's own pseudo codes raised when
// the trigger of a crash is not a structured exception.

#include <windows.h>

namespace crash {

enum PseudoExceptionCode : DWORD {
    kPureVirtualCall = 0x12101201,
    kNewFailed = 0x12101202,
    kInvalidParameter = 0x12101203,
    kBufferOverrun = 0x12101204,
    kAbnormalTermination = 0x12101205,
    kControlC = 0x12101206,
    kTerminationRequest = 0x12101207,
    kFloatingPointSignal = 0x12101208,
    kIllegalInstructionSignal = 0x12101209,
    kIllegalStorageSignal = 0x1210120A,
    kUnhandledTypedException = 0x1210120B,
    kUnexpectedException = 0x1210120C,
};

// The report's name of `code`, or null when the code is not one the report names.
const char* ExceptionCodeName(DWORD code);

// The number of codes with a name (the system's and the program's own).
int NamedExceptionCodeCount();

} // namespace crash
