#pragma once
// The crash report: plain 8-bit text with CR LF line ends, written section by section into the
// reserved report area; each section needs ReportText::kSectionReserve bytes to start and the
// report ends where one does not fit.

#include "crash/crash_config.h"
#include "crash/report_text.h"
#include "crash/work_area.h"

#include <windows.h>

namespace crash {

// Writes every section. `pointers` describes the fault on thread `crashThreadId`.
void WriteCrashReport(ReportText& text, const CrashHandlerConfig& config,
                      const EXCEPTION_POINTERS& pointers, DWORD crashThreadId, WorkArea& area);

// The sections, in report order; each returns false when the report has to end.
bool WriteEnvironmentSection(ReportText& text, const CrashHandlerConfig& config);
bool WriteMemorySection(ReportText& text);
// Addresses in 16 hex digits when `wide`, else in 8.
bool WriteExceptionSection(ReportText& text, const EXCEPTION_RECORD& record, bool wide);
bool WriteCrashThreadSection(ReportText& text, const CONTEXT& context, DWORD threadId,
                             WorkArea& area);
bool WriteModulesSection(ReportText& text);
bool WriteOtherThreadsSection(ReportText& text, DWORD crashThreadId, WorkArea& area);
bool WriteHeapReferencesSection(ReportText& text, WorkArea& area);

} // namespace crash
