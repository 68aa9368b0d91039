#pragma once
// Timing for the benchmarks: every figure is printed as a ratio against a reference measured in
// the same run, so the numbers mean the same on a fast machine and a slow one.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

// The median wall time of `runs` calls of `work`, in seconds.
template <typename Work>
double MedianSeconds(int runs, Work&& work) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        work();
        ::QueryPerformanceCounter(&end);
        times.push_back(static_cast<double>(end.QuadPart - start.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// "<figure>: <ratio>x <reference> (<measured> s against <reference> s)".
inline void PrintRatio(const char* figure, double measured, const char* reference,
                       double referenceValue) {
    const double ratio = referenceValue > 0 ? measured / referenceValue : 0;
    std::printf("%-48s %8.2fx %s  (%.6f s against %.6f s)\n", figure, ratio, reference, measured,
                referenceValue);
}

// A figure that is already a ratio, such as memory against a size.
inline void PrintPlainRatio(const char* figure, double ratio, const char* reference) {
    std::printf("%-48s %8.2fx %s\n", figure, ratio, reference);
}

} // namespace bench
