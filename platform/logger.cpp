#include "platform/logger.h"

#include <algorithm>

namespace platform {

bool CLogger::Entry::Accepts(int level) const {
    return std::any_of(levels.begin(), levels.end(), [level](const LogLevelRange& range) {
        return range.from <= level && level <= range.to;
    });
}

CLogger::SinkId CLogger::AddSink(Sink sink, std::span<const LogLevelRange> levels) {
    Entry entry;
    for (const LogLevelRange& range : levels) {
        if (range.from == 0 && range.to == 0)
            break;
        entry.levels.push_back(range);
    }
    entry.sink = std::make_shared<const Sink>(std::move(sink));
    ScopedLock lock(lock_);
    entry.id = nextId_++;
    entries_.push_back(std::move(entry));
    return entries_.back().id;
}

void CLogger::RemoveSink(SinkId id) {
    ScopedLock lock(lock_);
    std::erase_if(entries_, [id](const Entry& entry) { return entry.id == id; });
}

void CLogger::Log(int level, uint32_t flags, std::wstring text) {
    std::vector<std::shared_ptr<const Sink>> sinks;
    {
        ScopedLock lock(lock_);
        for (const Entry& entry : entries_)
            if (entry.Accepts(level))
                sinks.push_back(entry.sink);
    }
    const LogMessage message{level, flags, std::move(text)};
    for (const auto& sink : sinks)
        (*sink)(message);
}

CLogger& TheLogger() {
    static CLogger logger;
    return logger;
}

} // namespace platform
