#pragma once
// Everything the crash path writes, reserved in one zero-filled block of a private heap when the
// handler is installed, so that nothing has to be allocated once the process has faulted.

#include "crash/execution_trace.h"

#include <windows.h>

#include <cstdint>

namespace crash {

constexpr std::size_t kReportSize = 262144;
constexpr std::size_t kMaxStackRegions = 256;
constexpr std::size_t kMaxHeapRanges = 4096;
constexpr std::size_t kCrashStackDump = 1024; // the crashing thread's stack, when its size is known
constexpr std::size_t kUnknownStackDump = 128; // any stack whose size was not recorded
constexpr std::size_t kOtherStackDump = 512;   // the other threads' stacks
constexpr std::size_t kHeapDump = 128;         // one referenced heap stretch
constexpr std::size_t kDumpPieceSize = 21845;  // minidump bytes read at a time
constexpr std::size_t kDumpWindowSize = 43691; // compressed bytes produced at a time
// zlib's deflate at its default window and memory level needs about 262 KiB of state.
constexpr std::size_t kDeflateArenaSize = 288 * 1024;

// A stack stretch that the report dumped; its pointers are followed into the heaps.
struct StackRegion {
    std::uintptr_t address = 0;
    std::size_t length = 0;
};

// A busy heap block, or what is left of it after parts were dumped: [begin, end).
struct HeapRange {
    std::uintptr_t begin = 0;
    std::uintptr_t end = 0;
};

// The allocator that zlib is given on the crash path: hands out the arena front to back.
struct DeflateArena {
    std::size_t used = 0;
    alignas(16) unsigned char bytes[kDeflateArenaSize];
};

struct WorkArea {
    CONTEXT otherThread;         // the context of the thread being described
    char report[kReportSize];    // the report text, zero-terminated
    char keptDumpPath[MAX_PATH]; // the kept minidump, when one was written
    char tempDumpPath[MAX_PATH]; // the minidump embedded into the report
    StackRegion stackRegions[kMaxStackRegions];
    std::size_t stackRegionCount;
    TraceRecord trace[kTraceCapacity];
    HeapRange heapRanges[kMaxHeapRanges];
    std::size_t heapRangeCount;
    HANDLE heaps[64];
    HANDLE walkingHeap;                       // the heap whose blocks are being listed
    unsigned char stackCopy[kCrashStackDump]; // one stack region as read for scanning
    unsigned char heapCopy[2][kHeapDump];     // one heap stretch per reference level
    unsigned char codeBytes[64];
    unsigned char dumpPiece[kDumpPieceSize];
    unsigned char dumpWindow[kDumpWindowSize];
    DeflateArena deflateArena;
};

// Owns the private heap and the block within it.
class WorkAreaOwner {
public:
    WorkAreaOwner() = default;
    ~WorkAreaOwner() { Release(); }
    WorkAreaOwner(const WorkAreaOwner&) = delete;
    WorkAreaOwner& operator=(const WorkAreaOwner&) = delete;

    // Creates the heap and the zero-filled block unless they exist; false when they cannot be had.
    bool Create();
    void Release();
    WorkArea* Get() const { return area_; }
    HANDLE Heap() const { return heap_; }

private:
    HANDLE heap_ = nullptr;
    WorkArea* area_ = nullptr;
};

} // namespace crash
