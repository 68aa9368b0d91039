#pragma once
// The table of threads registered with the crash handler: their ids and stack bounds, which the
// report uses to size each thread's stack dump.

#include <windows.h>

#include <cstdint>

namespace crash {

constexpr std::size_t kMaxRegisteredThreads = 256;

struct RegisteredThread {
    DWORD id = 0;
    std::uintptr_t stackBase = 0;  // highest address, exclusive
    std::uintptr_t stackLimit = 0; // lowest committed address
};

// The calling thread's id and stack bounds, read from its thread block.
RegisteredThread CurrentThreadEntry();

class ThreadRegistry {
public:
    // Records the calling thread once; false when it already was recorded or the table is full.
    static bool Add();
    // Forgets the calling thread (it is ending).
    static void Remove();
    // Looks up a thread's entry without taking the lock (for the report); false when unknown.
    static bool Find(DWORD id, RegisteredThread& entry);
    static std::size_t Count();
    // The last failure exception seen on the calling thread, kept for the signal handlers: a
    // runtime that turns the exception into a signal may not say which one it was.
    // The records are kept, not the pointers' block, which the system may hand out on a frame
    // that is gone once the handler returned.
    static void NoteFault(const EXCEPTION_POINTERS& pointers);
    static bool LastFault(EXCEPTION_POINTERS& pointers);
    static void Clear();
};

} // namespace crash
