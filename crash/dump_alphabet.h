#pragma once
// The text form of a minidump embedded in a crash report, shared by the writer and the decoder:
// compressed bytes taken five at a time and written as eight symbols of five bits, lowest bits
// first. The alphabet leaves out the symbols that read alike (0, 5, O, S).

#include <cstddef>

namespace crash {

constexpr char kDumpAlphabet[] = "1234"
                                 "6789"
                                 "ABCDEFGHIJKLMN"
                                 "PQR"
                                 "TUVWXYZ";
static_assert(sizeof(kDumpAlphabet) == 33, "32 symbols of five bits");

constexpr char kDumpBeginLine[] = "[Begin of crash minidump]";
constexpr char kDumpEndLine[] = "[End of crash minidump]";
constexpr std::size_t kDumpLineLength = 80;
constexpr std::size_t kDumpGroupBytes = 5;
constexpr std::size_t kDumpGroupSymbols = 8;

// The value of `symbol`, or -1 for a character outside the alphabet.
constexpr int DumpSymbolValue(char symbol) {
    for (int i = 0; i < 32; ++i) {
        if (kDumpAlphabet[i] == symbol)
            return i;
    }
    return -1;
}

// Symbols written for a last group of `bytes` (fewer than five) bytes: every bit, rounded up.
constexpr std::size_t ShortGroupSymbols(std::size_t bytes) {
    return (8 * bytes + 4) / 5;
}

} // namespace crash
