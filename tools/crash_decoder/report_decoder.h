#pragma once
// Reading the minidump embedded in a crash report back into its file form.

#include <string_view>
#include <vector>

namespace crashdecoder {

enum class DecodeResult {
    Ok,
    NoMinidump,     // the report has no minidump section
    BadSymbol,      // a character outside the alphabet inside the section
    Truncated,      // the section or the compressed stream ends early (the report was cut)
    BadCompression, // the compressed stream is damaged
};

// Decodes the section between the begin and end lines of `report` into `dump`. On Truncated,
// `dump` holds what could be recovered.
DecodeResult DecodeEmbeddedMinidump(std::string_view report, std::vector<unsigned char>& dump);

// The bytes of a run of symbols (line ends and blanks are passed over); false on a bad symbol.
bool SymbolsToBytes(std::string_view symbols, std::vector<unsigned char>& bytes);

const char* DescribeResult(DecodeResult result);

} // namespace crashdecoder
