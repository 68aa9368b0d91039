#pragma once
// How far a piece of work raised the process's peak working set: an upper bound, as a peak cannot
// be reset (exact in a process of its own).

#include <windows.h>
#include <psapi.h>

#include <cstddef>

namespace bench {

template <typename Work>
size_t PeakGrowth(Work&& work) {
    PROCESS_MEMORY_COUNTERS before{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &before, sizeof(before));
    work();
    PROCESS_MEMORY_COUNTERS after{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &after, sizeof(after));
    return after.PeakWorkingSetSize > before.WorkingSetSize
               ? after.PeakWorkingSetSize - before.WorkingSetSize
               : 0;
}

inline constexpr size_t kMegabyte = 1024 * 1024;

} // namespace bench
