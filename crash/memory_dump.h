#pragma once
// Reading memory that may be gone and dumping it as hex rows into the report.

#include "crash/report_text.h"

#include <cstdint>

namespace crash {

// The report writes addresses in 8 hex digits in the 32-bit build and in 16 in the 64-bit one.
// Its writers take the width as an argument, so that the tests of one build check both forms.
constexpr bool kWideAddresses = sizeof(void*) > 4;

// Copies the readable start of [address, address + size) into `buffer` without faulting;
// returns the number of bytes copied.
std::size_t CopyReadableMemory(std::uintptr_t address, unsigned char* buffer, std::size_t size);

// Rows of 16 bytes: `indent` blanks, the row's address (16 hex digits when `wide`, else 8), sixteen
// hex bytes (blanks past the end), the sixteen bytes as characters ('?' outside '!'..'z', a blank
// past the end), CR LF.
bool WriteHexDump(ReportText& text, std::uint64_t address, const unsigned char* bytes,
                  std::size_t count, int indent, bool wide);

} // namespace crash
