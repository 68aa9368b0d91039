#pragma once
// A minidump carried inside the report as text: deflated with zlib and written as symbols of
// five bits in lines of 80, between a begin and an end line.

#include "crash/report_text.h"
#include "crash/work_area.h"

namespace crash {

// Appends the embedded form of the file at `path`. When the report runs out of room it is cut at
// the point reached; returns false then, or when the file cannot be read.
bool AppendEmbeddedMinidump(ReportText& text, const char* path, WorkArea& area);

} // namespace crash
