// The report's heap references: heap blocks that the dumped stacks point into, and the blocks
// those point into in turn, each stretch dumped once.

#include "crash/crash_report.h"
#include "crash/handler_state.h"
#include "crash/memory_dump.h"

#include <iterator>

namespace crash {
namespace {

constexpr int kDeepestLevel = 2;
constexpr int kDumpIndent = 4;

void AddRange(WorkArea& area, std::uintptr_t begin, std::uintptr_t end) {
    if (begin < end && area.heapRangeCount < kMaxHeapRanges)
        area.heapRanges[area.heapRangeCount++] = {begin, end};
}

void CollectHeapBlocks(WorkArea& area) {
    area.heapRangeCount = 0;
    const HANDLE own = State().workArea.Heap();
    DWORD heaps = ::GetProcessHeaps(static_cast<DWORD>(std::size(area.heaps)), area.heaps);
    if (heaps > std::size(area.heaps))
        heaps = static_cast<DWORD>(std::size(area.heaps));
    for (DWORD h = 0; h < heaps && area.heapRangeCount < kMaxHeapRanges; ++h) {
        if (area.heaps[h] == own)
            continue;
        PROCESS_HEAP_ENTRY entry = {};
        area.walkingHeap = area.heaps[h];
        while (area.heapRangeCount < kMaxHeapRanges && ::HeapWalk(area.heaps[h], &entry)) {
            if (!(entry.wFlags & PROCESS_HEAP_ENTRY_BUSY))
                continue;
            const auto begin = reinterpret_cast<std::uintptr_t>(entry.lpData);
            AddRange(area, begin, begin + entry.cbData);
        }
        area.walkingHeap = nullptr;
    }
}

// The index of the range holding `address`, or -1.
int FindRange(const WorkArea& area, std::uintptr_t address) {
    for (std::size_t i = 0; i < area.heapRangeCount; ++i) {
        if (address >= area.heapRanges[i].begin && address < area.heapRanges[i].end)
            return static_cast<int>(i);
    }
    return -1;
}

// Takes [begin, end) out of range `index`, so that no byte is dumped twice.
void CutOut(WorkArea& area, std::size_t index, std::uintptr_t begin, std::uintptr_t end) {
    HeapRange& range = area.heapRanges[index];
    const HeapRange after = {end, range.end};
    range.end = begin;
    if (range.begin >= range.end) {
        range = area.heapRanges[--area.heapRangeCount];
        AddRange(area, after.begin, after.end);
        return;
    }
    AddRange(area, after.begin, after.end);
}

bool ScanForReferences(ReportText& text, WorkArea& area, std::uintptr_t address,
                       const unsigned char* bytes, std::size_t count, int level);

bool DumpReference(ReportText& text, WorkArea& area, std::uintptr_t target, int level) {
    const int index = FindRange(area, target);
    if (index < 0)
        return true;
    const std::uintptr_t end = area.heapRanges[index].end;
    std::size_t length =
        end - target < kHeapDump ? static_cast<std::size_t>(end - target) : kHeapDump;
    unsigned char* copy = area.heapCopy[level - 1];
    length = CopyReadableMemory(target, copy, length);
    CutOut(area, static_cast<std::size_t>(index), target, target + (length ? length : 1));
    if (length == 0)
        return true;
    const auto wide = static_cast<unsigned long long>(target);
    if (!text.Append("  [Heap@%.8x%.8x]\r\n", static_cast<unsigned>(wide >> 32),
                     static_cast<unsigned>(wide)) ||
        !WriteHexDump(text, target, copy, length, kDumpIndent, kWideAddresses))
        return false;
    if (level < kDeepestLevel)
        return ScanForReferences(text, area, target, copy, length, level + 1);
    return true;
}

// Every aligned pointer-sized value of the stretch that points into a heap block.
bool ScanForReferences(ReportText& text, WorkArea& area, std::uintptr_t address,
                       const unsigned char* bytes, std::size_t count, int level) {
    constexpr std::size_t kStep = sizeof(std::uintptr_t);
    std::size_t offset = (kStep - address % kStep) % kStep;
    for (; offset + kStep <= count; offset += kStep) {
        std::uintptr_t value = 0;
        for (std::size_t i = 0; i < kStep; ++i)
            value |= static_cast<std::uintptr_t>(bytes[offset + i]) << (8 * i);
        if (value != 0 && !DumpReference(text, area, value, level))
            return false;
    }
    return true;
}

} // namespace

bool WriteHeapReferencesSection(ReportText& text, WorkArea& area) {
    if (!text.HasRoomForSection())
        return false;
    if (!text.Append("[Heap references]\r\n"))
        return false;
    CollectHeapBlocks(area);
    for (std::size_t r = 0; r < area.stackRegionCount; ++r) {
        const StackRegion region = area.stackRegions[r];
        const std::size_t count =
            CopyReadableMemory(region.address, area.stackCopy,
                               region.length < kCrashStackDump ? region.length : kCrashStackDump);
        if (!ScanForReferences(text, area, region.address, area.stackCopy, count, 1))
            return false;
    }
    return true;
}

} // namespace crash
