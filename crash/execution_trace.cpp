#include "crash/execution_trace.h"

#include "crash/report_text.h"
#include "platform/critical_section.h"

namespace crash {
namespace {

platform::CriticalSection g_lock;
TraceRecord* g_ring = nullptr;
std::size_t g_next = 0;  // slot of the next record
std::size_t g_count = 0; // records held, at most kTraceCapacity

} // namespace

void ExecutionTrace::Attach(TraceRecord* ring) {
    platform::ScopedLock lock(g_lock);
    g_ring = ring;
    g_next = 0;
    g_count = 0;
}

void ExecutionTrace::Append(const TraceRecord& record) {
    platform::ScopedLock lock(g_lock);
    if (!g_ring)
        return;
    TraceRecord& slot = g_ring[g_next];
    slot = record;
    slot.threadId = ::GetCurrentThreadId();
    slot.label[kTraceLabelSize - 1] = 0;
    g_next = (g_next + 1) % kTraceCapacity;
    if (g_count < kTraceCapacity)
        ++g_count;
}

std::size_t ExecutionTrace::Count() {
    return g_ring ? g_count : 0;
}

const TraceRecord& ExecutionTrace::Newest(std::size_t index) {
    return g_ring[(g_next + kTraceCapacity - 1 - index) % kTraceCapacity];
}

void ExecutionTrace::Clear() {
    platform::ScopedLock lock(g_lock);
    g_next = 0;
    g_count = 0;
}

TraceBuilder::TraceBuilder(const char* label) {
    std::size_t i = 0;
    for (; label && label[i] && i + 1 < kTraceLabelSize; ++i)
        record_.label[i] = label[i];
    record_.label[i] = 0;
}

TraceBuilder& TraceBuilder::Add(std::uint64_t value, bool wide) {
    if (record_.valueCount >= kTraceValueCount)
        return *this;
    if (wide)
        record_.wideValues |= static_cast<std::uint16_t>(1u << record_.valueCount);
    record_.values[record_.valueCount++] = value;
    return *this;
}

bool WriteExecutionSection(ReportText& text) {
    const std::size_t count = ExecutionTrace::Count();
    if (count == 0)
        return true;
    if (!text.HasRoomForSection())
        return false;
    text.Append("[Execution information]\r\n");
    for (std::size_t i = 0; i < count; ++i) {
        const TraceRecord& record = ExecutionTrace::Newest(i);
        // Records are terminated when appended; the ring is read as it stands, so the label's
        // length is bounded here too.
        bool fitted = text.Append(" TID%d: %.39s", static_cast<int>(record.threadId), record.label);
        const std::size_t values =
            record.valueCount < kTraceValueCount ? record.valueCount : kTraceValueCount;
        for (std::size_t v = 0; v < values && fitted; ++v) {
            const char separator = v == 0 ? '(' : ',';
            const std::uint64_t value = record.values[v];
            if (record.wideValues & (1u << v))
                fitted = text.Append("%c%X%.8X", separator, static_cast<unsigned>(value >> 32),
                                     static_cast<unsigned>(value));
            else
                fitted = text.Append("%c%X", separator, static_cast<unsigned>(value));
        }
        if (!fitted || !text.Append(values ? ")\r\n" : "\r\n"))
            return false;
    }
    return true;
}

} // namespace crash
