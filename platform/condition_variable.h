#pragma once
// A condition variable that waits with a CriticalSection: the lock is released and the wait
// begins in one step, so no wake-up falls between them. Unlike an event, under Wine it needs no
// call to the server for each wait and wake.

#include "platform/critical_section.h"

namespace platform {

class ConditionVariable {
public:
    ConditionVariable() { ::InitializeConditionVariable(&variable_); }
    ConditionVariable(const ConditionVariable&) = delete;
    ConditionVariable& operator=(const ConditionVariable&) = delete;

    // Releases `section`, which the caller holds, until woken or `milliseconds` passed (it may
    // also return early), and takes it again. False when the time ran out.
    bool Wait(CriticalSection& section, DWORD milliseconds) {
        return ::SleepConditionVariableCS(&variable_, &section.section_, milliseconds) != FALSE;
    }
    void WakeAll() { ::WakeAllConditionVariable(&variable_); }

private:
    CONDITION_VARIABLE variable_;
};

} // namespace platform
