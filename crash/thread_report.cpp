// The report's thread sections: registers, the code around the instruction pointer and the top
// of the stack, for the crashing thread and then for every other thread of the process.

#include "crash/crash_report.h"
#include "crash/memory_dump.h"
#include "crash/thread_registry.h"
#include "crash/thread_section.h"
#include "platform/unique_resource.h"

#include <tlhelp32.h>

namespace crash {
namespace {

constexpr std::size_t kCodeBefore = 32;

struct StackBounds {
    bool known = false;
    std::uintptr_t base = 0;
    std::uintptr_t limit = 0;
};

StackBounds BoundsOf(DWORD threadId) {
    StackBounds bounds;
    RegisteredThread entry;
    if (threadId == ::GetCurrentThreadId())
        entry = CurrentThreadEntry();
    if (entry.id == threadId || ThreadRegistry::Find(threadId, entry)) {
        bounds.base = entry.stackBase;
        bounds.limit = entry.stackLimit;
        bounds.known = true;
    }
    return bounds;
}

void RecordStackRegion(WorkArea& area, std::uintptr_t address, std::size_t length) {
    if (length == 0 || area.stackRegionCount >= kMaxStackRegions)
        return;
    area.stackRegions[area.stackRegionCount++] = {address, length};
}

// Copies the code around the instruction pointer into the work area.
void ReadCodeBytes(ThreadSnapshot& snapshot, WorkArea& area) {
    const auto ip = static_cast<std::uintptr_t>(snapshot.registers.ip);
    std::uintptr_t start = ip >= kCodeBefore ? ip - kCodeBefore : 0;
    std::size_t count = CopyReadableMemory(start, area.codeBytes, sizeof(area.codeBytes));
    if (count == 0) {
        // The bytes before the instruction may lie on a page that is not there.
        start = ip;
        count = CopyReadableMemory(start, area.codeBytes, sizeof(area.codeBytes) - kCodeBefore);
    }
    snapshot.codeAddress = start;
    snapshot.code = area.codeBytes;
    snapshot.codeCount = count;
}

// Copies the top of the stack, at most `knownSizeLimit` bytes up to the stack's base when the
// bounds are known, into the work area; the stretch is kept for the heap references.
void ReadStackBytes(ThreadSnapshot& snapshot, const StackBounds& bounds, std::size_t knownSizeLimit,
                    WorkArea& area) {
    const auto sp = static_cast<std::uintptr_t>(snapshot.registers.sp);
    std::size_t length = bounds.known ? knownSizeLimit : kUnknownStackDump;
    if (bounds.known && sp < bounds.base && bounds.base - sp < length)
        length = static_cast<std::size_t>(bounds.base - sp);
    snapshot.stack = area.stackCopy;
    snapshot.stackCount = CopyReadableMemory(sp, area.stackCopy, length);
    RecordStackRegion(area, sp, snapshot.stackCount);
}

bool WriteThreadSection(ReportText& text, const CONTEXT& context, DWORD threadId,
                        std::size_t stackLimit, WorkArea& area) {
    if (!text.HasRoomForSection())
        return false;
    const StackBounds bounds = BoundsOf(threadId);
    ThreadSnapshot snapshot;
    snapshot.threadId = threadId;
    snapshot.stackKnown = bounds.known;
    snapshot.stackBase = bounds.base;
    snapshot.stackLimit = bounds.limit;
    snapshot.registers = RegistersOf(context);
    ReadCodeBytes(snapshot, area);
    ReadStackBytes(snapshot, bounds, stackLimit, area);
    return WriteThreadSnapshot(text, snapshot);
}

// Reads another thread's registers as they stand: stopped for the moment of the read only, so
// that a thread holding a lock the dialog needs does not stay stopped.
bool ReadThreadContext(DWORD threadId, CONTEXT& context) {
    platform::UniqueHandle thread(::OpenThread(
        THREAD_GET_CONTEXT | THREAD_SUSPEND_RESUME | THREAD_QUERY_INFORMATION, FALSE, threadId));
    if (!thread)
        return false;
    if (::SuspendThread(thread.Get()) == static_cast<DWORD>(-1))
        return false;
    context = {};
    context.ContextFlags = CONTEXT_FULL | CONTEXT_SEGMENTS;
    const bool read = ::GetThreadContext(thread.Get(), &context) != FALSE;
    ::ResumeThread(thread.Get());
    return read;
}

} // namespace

bool WriteCrashThreadSection(ReportText& text, const CONTEXT& context, DWORD threadId,
                             WorkArea& area) {
    return WriteThreadSection(text, context, threadId, kCrashStackDump, area);
}

bool WriteOtherThreadsSection(ReportText& text, DWORD crashThreadId, WorkArea& area) {
    platform::UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot)
        return true;
    const DWORD process = ::GetCurrentProcessId();
    const DWORD self = ::GetCurrentThreadId();
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Thread32First(snapshot.Get(), &entry); more;
         more = ::Thread32Next(snapshot.Get(), &entry)) {
        if (entry.th32OwnerProcessID != process || entry.th32ThreadID == crashThreadId ||
            entry.th32ThreadID == self)
            continue;
        if (!ReadThreadContext(entry.th32ThreadID, area.otherThread))
            continue;
        if (!WriteThreadSection(text, area.otherThread, entry.th32ThreadID, kOtherStackDump, area))
            return false;
    }
    return true;
}

} // namespace crash
