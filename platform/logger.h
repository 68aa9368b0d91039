#pragma once
// The program's logger: messages with a level and flags, handed to the sinks registered for
// their level. A sink runs on the thread that logs.

#include "platform/critical_section.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace platform {

// Flags that the sinks of the user interface read.
inline constexpr uint32_t kLogInStatusLine = 0x1000; // with kLogForTheUser: the status line
inline constexpr uint32_t kLogForTheUser = 0x2000;   // alone: a message box
inline constexpr uint32_t kLogClearsProgress = 0x4000;

// The level of the records of what a run did (downloads and their verdicts), kept for the
// maker's support; no sink of the user interface listens to it.
inline constexpr int kLogRunRecord = 1;

struct LogMessage {
    int level = 0;
    uint32_t flags = 0;
    std::wstring text;
};

// The levels from `from` to `to`, both included.
struct LogLevelRange {
    int from = 0;
    int to = 0;
};

class CLogger {
public:
    using Sink = std::function<void(const LogMessage&)>;
    using SinkId = uint32_t;

    // Registers `sink` for the levels of `levels`; a range of (0, 0) ends the list. The id
    // removes it again.
    SinkId AddSink(Sink sink, std::span<const LogLevelRange> levels);
    void RemoveSink(SinkId id);

    // Hands the message to every sink registered for its level, outside the logger's lock, so
    // that a sink may log or register in turn.
    void Log(int level, uint32_t flags, std::wstring text);

private:
    struct Entry {
        SinkId id = 0;
        std::vector<LogLevelRange> levels;
        std::shared_ptr<const Sink> sink;

        bool Accepts(int level) const;
    };

    CriticalSection lock_;
    std::vector<Entry> entries_;
    SinkId nextId_ = 1;
};

CLogger& TheLogger();

} // namespace platform
