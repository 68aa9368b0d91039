#include "crash/dump_alphabet.h"
#include "crash/embedded_dump.h"
#include "tools/crash_decoder/report_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// Dump-like contents: stretches of zeros and of repeated structures among noise, so that the
// compressor has work in every piece.
std::vector<unsigned char> DumpLikeBytes(std::size_t size) {
    std::vector<unsigned char> bytes(size);
    std::mt19937 random(1067);
    for (std::size_t i = 0; i < size; ++i) {
        if ((i / 4096) % 3 == 0)
            bytes[i] = static_cast<unsigned char>(random());
        else if ((i / 4096) % 3 == 1)
            bytes[i] = static_cast<unsigned char>(i % 40);
    }
    return bytes;
}

// The report as the crash path writes it, into a work area's report of `capacity` bytes, from a
// file of `bytes`; `complete` tells whether it fitted.
std::string Embed(const std::vector<unsigned char>& bytes, std::size_t capacity, bool& complete) {
    static const auto area = std::make_unique<crash::WorkArea>();
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    // Named by the process: CTest runs the tests of this file in parallel processes.
    const std::string path = folder + std::to_string(::GetCurrentProcessId()) + "_embedded.dmp";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    crash::ReportText text(area->report, capacity);
    text.Append("[Execution information]\r\n");
    complete = crash::AppendEmbeddedMinidump(text, path.c_str(), *area);
    ::DeleteFileA(path.c_str());
    return text.Text();
}

} // namespace

TEST(DumpSymbols, FiveBytesBecomeEightSymbolsLowestBitsFirst) {
    std::vector<unsigned char> bytes;
    // 0x01 is value 1 in the lowest five bits: symbol '2', then zeros ('1').
    ASSERT_TRUE(crashdecoder::SymbolsToBytes("21111111", bytes));
    EXPECT_EQ(bytes, (std::vector<unsigned char>{1, 0, 0, 0, 0}));
    bytes.clear();
    ASSERT_TRUE(crashdecoder::SymbolsToBytes("ZZZZ\r\nZZZZ", bytes));
    EXPECT_EQ(bytes, std::vector<unsigned char>(5, 0xFF));
    bytes.clear();
    EXPECT_FALSE(crashdecoder::SymbolsToBytes("2O", bytes)); // 'O' reads like zero: not used
}

// Sizes at the edges of the five-byte groups and of the pieces compressed one at a time, and one
// of many pieces: each decodes to its bytes, in lines of eighty symbols of the alphabet.
TEST(EmbeddedDump, RoundTripsThroughTheDecoderInLinesOfEightySymbols) {
    constexpr std::size_t kPiece = crash::kDumpPieceSize;
    for (const std::size_t size : {std::size_t(0), std::size_t(1), std::size_t(4), std::size_t(5),
                                   kPiece - 1, kPiece, kPiece + 1, 5 * kPiece + 1234}) {
        const std::vector<unsigned char> original = DumpLikeBytes(size);
        bool complete = false;
        const std::string report = Embed(original, crash::kReportSize, complete);
        ASSERT_TRUE(complete) << size;
        const std::size_t begin = report.find("[Execution information]\r\n\r\n"
                                              "[Begin of crash minidump]\r\n");
        ASSERT_EQ(begin, 0u) << size;
        const std::size_t end = report.size() - 27;
        ASSERT_EQ(report.substr(end), "\r\n[End of crash minidump]\r\n") << size;
        for (std::size_t at = begin + 54, lineEnd; at < end; at = lineEnd + 2) {
            lineEnd = std::min(report.find("\r\n", at), end);
            const std::string line = report.substr(at, lineEnd - at);
            EXPECT_EQ(line.size() == crash::kDumpLineLength || lineEnd == end, true) << size;
        }
        std::vector<unsigned char> decoded;
        ASSERT_EQ(crashdecoder::DecodeEmbeddedMinidump(report, decoded),
                  crashdecoder::DecodeResult::Ok)
            << size;
        EXPECT_EQ(decoded, original) << size;
    }
}

TEST(EmbeddedDump, AReportThatRunsOutOfRoomIsCutAndTheDecoderRecoversTheStart) {
    const std::vector<unsigned char> original = DumpLikeBytes(8 * crash::kDumpPieceSize);
    bool complete = true;
    const std::string report = Embed(original, 40000, complete);
    EXPECT_FALSE(complete);
    EXPECT_EQ(report.size(), 40000u - 1);
    EXPECT_EQ(report.find("[End of crash minidump]"), std::string::npos);
    std::vector<unsigned char> decoded;
    EXPECT_EQ(crashdecoder::DecodeEmbeddedMinidump(report, decoded),
              crashdecoder::DecodeResult::Truncated);
    ASSERT_GT(decoded.size(), 1000u);
    ASSERT_LT(decoded.size(), original.size());
    EXPECT_TRUE(std::equal(decoded.begin(), decoded.end(), original.begin()));
}
