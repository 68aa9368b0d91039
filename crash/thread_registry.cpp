#include "crash/thread_registry.h"

#include "platform/critical_section.h"

#include <winnt.h>

namespace crash {
namespace {

platform::CriticalSection g_lock;
RegisteredThread g_threads[kMaxRegisteredThreads];
EXCEPTION_POINTERS g_lastFaults[kMaxRegisteredThreads];
volatile LONG g_count = 0;

} // namespace

RegisteredThread CurrentThreadEntry() {
// The compiler takes the segment-relative read of the thread block for an array access.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
    const auto* tib = reinterpret_cast<const NT_TIB*>(::NtCurrentTeb());
#pragma GCC diagnostic pop
    RegisteredThread entry;
    entry.id = ::GetCurrentThreadId();
    entry.stackBase = reinterpret_cast<std::uintptr_t>(tib->StackBase);
    entry.stackLimit = reinterpret_cast<std::uintptr_t>(tib->StackLimit);
    return entry;
}

bool ThreadRegistry::Add() {
    const RegisteredThread entry = CurrentThreadEntry();
    platform::ScopedLock lock(g_lock);
    for (LONG i = 0; i < g_count; ++i) {
        if (g_threads[i].id == entry.id)
            return false;
    }
    if (g_count >= static_cast<LONG>(kMaxRegisteredThreads))
        return false;
    g_threads[g_count] = entry;
    g_lastFaults[g_count] = {};
    ::InterlockedIncrement(&g_count);
    return true;
}

void ThreadRegistry::Remove() {
    const DWORD id = ::GetCurrentThreadId();
    platform::ScopedLock lock(g_lock);
    for (LONG i = 0; i < g_count; ++i) {
        if (g_threads[i].id == id) {
            g_threads[i] = g_threads[g_count - 1];
            g_lastFaults[i] = g_lastFaults[g_count - 1];
            ::InterlockedDecrement(&g_count);
            return;
        }
    }
}

bool ThreadRegistry::Find(DWORD id, RegisteredThread& entry) {
    const LONG count = g_count;
    for (LONG i = 0; i < count && i < static_cast<LONG>(kMaxRegisteredThreads); ++i) {
        if (g_threads[i].id == id) {
            entry = g_threads[i];
            return true;
        }
    }
    return false;
}

void ThreadRegistry::NoteFault(const EXCEPTION_POINTERS& pointers) {
    const DWORD id = ::GetCurrentThreadId();
    const LONG count = g_count;
    for (LONG i = 0; i < count && i < static_cast<LONG>(kMaxRegisteredThreads); ++i) {
        if (g_threads[i].id == id) {
            g_lastFaults[i] = pointers;
            return;
        }
    }
}

bool ThreadRegistry::LastFault(EXCEPTION_POINTERS& pointers) {
    const DWORD id = ::GetCurrentThreadId();
    const LONG count = g_count;
    for (LONG i = 0; i < count && i < static_cast<LONG>(kMaxRegisteredThreads); ++i) {
        if (g_threads[i].id == id) {
            pointers = g_lastFaults[i];
            return pointers.ExceptionRecord && pointers.ContextRecord;
        }
    }
    return false;
}

std::size_t ThreadRegistry::Count() {
    return static_cast<std::size_t>(g_count);
}

void ThreadRegistry::Clear() {
    platform::ScopedLock lock(g_lock);
    g_count = 0;
}

} // namespace crash
