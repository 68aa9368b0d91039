#pragma once
// The execution-trace ring: the last records that any thread left before a crash, printed
// newest first at the end of the report. Appending takes a lock; the report reads without one.

#include <windows.h>

#include <cstdint>
#include <type_traits>

namespace crash {

constexpr std::size_t kTraceLabelSize = 40; // the report prints at most 39 characters
constexpr std::size_t kTraceValueCount = 12;
constexpr std::size_t kTraceCapacity = 2048;

struct TraceRecord {
    DWORD threadId = 0;
    std::uint8_t valueCount = 0;
    std::uint8_t unused = 0;
    std::uint16_t wideValues = 0; // bit i: value i is a 64-bit value
    char label[kTraceLabelSize] = {};
    std::uint64_t values[kTraceValueCount] = {};
};
static_assert(sizeof(TraceRecord) == 144);

class ReportText;

class ExecutionTrace {
public:
    // Takes the ring's storage (kTraceCapacity records), or none with null.
    static void Attach(TraceRecord* ring);
    // Appends a copy of `record` stamped with the calling thread's id; dropped when no ring.
    static void Append(const TraceRecord& record);
    static std::size_t Count();
    // The `index`-th newest record (0 is the newest); index < Count().
    static const TraceRecord& Newest(std::size_t index);
    static void Clear();
};

// Builds a record from a label and up to kTraceValueCount integers or pointers; values of more
// than 32 bits are kept as 64-bit values.
class TraceBuilder {
public:
    explicit TraceBuilder(const char* label);
    template <typename T>
    TraceBuilder& Value(T value) {
        if constexpr (std::is_pointer_v<T>)
            return Add(reinterpret_cast<std::uintptr_t>(value), sizeof(T) > 4);
        else
            return Add(static_cast<std::uint64_t>(value), sizeof(T) > 4);
    }
    const TraceRecord& Record() const { return record_; }

private:
    TraceBuilder& Add(std::uint64_t value, bool wide);
    TraceRecord record_;
};

// Traces `label` with `values...` (integers or pointers).
template <typename... T>
void Trace(const char* label, T... values) {
    TraceBuilder builder(label);
    (builder.Value(values), ...);
    ExecutionTrace::Append(builder.Record());
}

// Writes the report's execution section; false when the report has no room for it.
bool WriteExecutionSection(ReportText& text);

} // namespace crash
