// The report's thread sections: registers, the code around the instruction pointer and the top
// of the stack, for the crashing thread and then for every other thread of the process.

#include "crash/crash_report.h"
#include "crash/memory_dump.h"
#include "crash/thread_registry.h"
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

std::uintptr_t InstructionPointer(const CONTEXT& context) {
#ifdef _WIN64
    return context.Rip;
#else
    return context.Eip;
#endif
}

std::uintptr_t StackPointer(const CONTEXT& context) {
#ifdef _WIN64
    return context.Rsp;
#else
    return context.Esp;
#endif
}

bool WriteRegisters(ReportText& text, const CONTEXT& c) {
#ifdef _WIN64
    using U = unsigned long long;
    return text.Append(" [Registers]\r\n") &&
           text.Append("  RAX=%.16llx RBX=%.16llx RCX=%.16llx RDX=%.16llx RSI=%.16llx "
                       "RDI=%.16llx\r\n",
                       U(c.Rax), U(c.Rbx), U(c.Rcx), U(c.Rdx), U(c.Rsi), U(c.Rdi)) &&
           text.Append("  R8=%.16llx R9=%.16llx R10=%.16llx R11=%.16llx\r\n", U(c.R8), U(c.R9),
                       U(c.R10), U(c.R11)) &&
           text.Append("  R12=%.16llx R13=%.16llx R14=%.16llx R15=%.16llx\r\n", U(c.R12), U(c.R13),
                       U(c.R14), U(c.R15)) &&
           text.Append("  RIP=%.16llx RSP=%.16llx RBP=%.16llx EFlags=%.8x\r\n", U(c.Rip), U(c.Rsp),
                       U(c.Rbp), unsigned(c.EFlags)) &&
           text.Append("  CS=%.8x  SS=%.8x  DS=%.8x  ES=%.8x  FS=%.8x  GS=%.8x\r\n",
                       unsigned(c.SegCs), unsigned(c.SegSs), unsigned(c.SegDs), unsigned(c.SegEs),
                       unsigned(c.SegFs), unsigned(c.SegGs));
#else
    using U = unsigned;
    return text.Append(" [Registers]\r\n") &&
           text.Append("  EAX=%.8x EBX=%.8x ECX=%.8x EDX=%.8x ESI=%.8x EDI=%.8x\r\n", U(c.Eax),
                       U(c.Ebx), U(c.Ecx), U(c.Edx), U(c.Esi), U(c.Edi)) &&
           text.Append("  EIP=%.8x ESP=%.8x EBP=%.8x EFlags=%.8x\r\n", U(c.Eip), U(c.Esp), U(c.Ebp),
                       U(c.EFlags)) &&
           text.Append("  CS=%.8x  SS=%.8x  DS=%.8x  ES=%.8x  FS=%.8x  GS=%.8x\r\n", U(c.SegCs),
                       U(c.SegSs), U(c.SegDs), U(c.SegEs), U(c.SegFs), U(c.SegGs));
#endif
}

bool WriteStackBounds(ReportText& text, const StackBounds& bounds) {
    if (!bounds.known)
        return true;
#ifdef _WIN64
    return text.Append(" Stack Base=%.16llx  Stack Limit=%.16llx\r\n",
                       static_cast<unsigned long long>(bounds.base),
                       static_cast<unsigned long long>(bounds.limit));
#else
    return text.Append(" Stack Base=%.8x  Stack Limit=%.8x\r\n", static_cast<unsigned>(bounds.base),
                       static_cast<unsigned>(bounds.limit));
#endif
}

bool WriteCodeBytes(ReportText& text, std::uintptr_t ip, WorkArea& area) {
#ifdef _WIN64
    if (!text.Append(" [Bytes at CS:RIP]\r\n"))
        return false;
#else
    if (!text.Append(" [Bytes at CS:EIP]\r\n"))
        return false;
#endif
    std::uintptr_t start = ip >= kCodeBefore ? ip - kCodeBefore : 0;
    std::size_t count = CopyReadableMemory(start, area.codeBytes, sizeof(area.codeBytes));
    if (count == 0) {
        // The bytes before the instruction may lie on a page that is not there.
        start = ip;
        count = CopyReadableMemory(start, area.codeBytes, sizeof(area.codeBytes) - kCodeBefore);
    }
    return WriteHexDump(text, start, area.codeBytes, count, 2);
}

void RecordStackRegion(WorkArea& area, std::uintptr_t address, std::size_t length) {
    if (length == 0 || area.stackRegionCount >= kMaxStackRegions)
        return;
    area.stackRegions[area.stackRegionCount++] = {address, length};
}

bool WriteStackBytes(ReportText& text, std::uintptr_t sp, const StackBounds& bounds,
                     std::size_t knownSizeLimit, WorkArea& area) {
#ifdef _WIN64
    if (!text.Append(" [Bytes at SS:RSP]\r\n"))
        return false;
#else
    if (!text.Append(" [Bytes at SS:ESP]\r\n"))
        return false;
#endif
    std::size_t length = bounds.known ? knownSizeLimit : kUnknownStackDump;
    if (bounds.known && sp < bounds.base && bounds.base - sp < length)
        length = static_cast<std::size_t>(bounds.base - sp);
    const std::size_t count = CopyReadableMemory(sp, area.stackCopy, length);
    RecordStackRegion(area, sp, count);
    return WriteHexDump(text, sp, area.stackCopy, count, 2);
}

bool WriteThreadSection(ReportText& text, const CONTEXT& context, DWORD threadId,
                        std::size_t stackLimit, WorkArea& area) {
    if (!text.HasRoomForSection())
        return false;
    const StackBounds bounds = BoundsOf(threadId);
    return text.Append("[Thread context information, TID=%d]\r\n", static_cast<int>(threadId)) &&
           WriteStackBounds(text, bounds) && WriteRegisters(text, context) &&
           WriteCodeBytes(text, InstructionPointer(context), area) &&
           WriteStackBytes(text, StackPointer(context), bounds, stackLimit, area);
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
