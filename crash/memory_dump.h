#pragma once
// Reading memory that may be gone and dumping it as hex rows into the report.

#include "crash/report_text.h"

#include <cstdint>

namespace crash {

// Copies the readable start of [address, address + size) into `buffer` without faulting;
// returns the number of bytes copied.
std::size_t CopyReadableMemory(std::uintptr_t address, unsigned char* buffer, std::size_t size);

// Rows of 16 bytes: `indent` blanks, the row's address, sixteen hex bytes (blanks past the end),
// the sixteen bytes as characters ('?' outside '!'..'z', a blank past the end), CR LF.
bool WriteHexDump(ReportText& text, std::uintptr_t address, const unsigned char* bytes,
                  std::size_t count, int indent);

} // namespace crash
