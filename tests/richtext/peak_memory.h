#pragma once
// How much memory a piece of work took at its peak, from the process's peak working set. A peak
// cannot be reset, so the figure is an upper bound: exact when the work raised the peak, and too
// large when an earlier test of the same process had raised it higher (CTest runs every test in
// a process of its own).

#include <windows.h>
#include <psapi.h>

#include <cstddef>

namespace testing_memory {

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

} // namespace testing_memory
