#pragma once
// The run log for the maker's support: every run appends what it did to "Velk Update Wizard.log"
// in the user's temporary folder, one line per step, through the program's logger (level
// kLogRunRecord). The lines name products, versions, addresses, file names and results; never
// the user's name, folders or the requests' headers.

#include "platform/critical_section.h"
#include "platform/logger.h"
#include "platform/unique_resource.h"

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// The log never grows beyond this: the line that would pass it moves the log aside first.
inline constexpr uint64_t kRunLogLimit = 1u << 20;
inline constexpr wchar_t kRunLogName[] = L"Velk Update Wizard.log";
// The previous log, replaced each time the log is moved aside.
inline constexpr wchar_t kOldRunLogName[] = L"Velk Update Wizard.old.log";

// Records one step of the run (the logger's kLogRunRecord level). Any thread.
void LogRunStep(std::wstring text);
// The same with a FormatWide format.
void LogRunStepF(const wchar_t* format, ...);

// The last part of a path: the file name that the log may show instead of a whole path.
std::wstring FileNamePart(const std::wstring& path);

// Appends lines, in UTF-8 with the time and the process id, to the log in `folder` (ending in a
// backslash). Other processes may append to the same log at the same time. Any thread.
class CRunLogFile {
public:
    explicit CRunLogFile(std::wstring folder);
    CRunLogFile(const CRunLogFile&) = delete;
    CRunLogFile& operator=(const CRunLogFile&) = delete;

    void Append(const std::wstring& text);

private:
    UniqueHandle Open() const;

    std::wstring folder_;
    CriticalSection lock_;
};

// A CRunLogFile in the user's temporary folder, registered with the program's logger while this
// object lives.
class CRunLogSink {
public:
    CRunLogSink();
    ~CRunLogSink();
    CRunLogSink(const CRunLogSink&) = delete;
    CRunLogSink& operator=(const CRunLogSink&) = delete;

private:
    std::shared_ptr<CRunLogFile> file_;
    CLogger::SinkId id_ = 0;
};

} // namespace platform
