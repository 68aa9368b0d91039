#include "crash/dump_alphabet.h"
#include "crash/embedded_dump.h"
#include "tools/crash_decoder/report_decoder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

std::string TempFile(const char* name) {
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

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

class EmbeddedDumpTest : public ::testing::Test {
protected:
    // The report as the crash path writes it: into the work area's report buffer.
    std::string Embed(const std::vector<unsigned char>& bytes, std::size_t capacity,
                      bool& complete) {
        const std::string path = TempFile("embedded_dump_test.dmp");
        WriteBytes(path, bytes);
        crash::ReportText text(area_->report, capacity);
        text.Append("[Execution information]\r\n");
        complete = crash::AppendEmbeddedMinidump(text, path.c_str(), *area_);
        ::DeleteFileA(path.c_str());
        return text.Text();
    }

    std::unique_ptr<crash::WorkArea> area_ = std::make_unique<crash::WorkArea>();
};

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

TEST_F(EmbeddedDumpTest, RoundTripsThroughTheDecoderOverManyPieces) {
    const std::vector<unsigned char> original = DumpLikeBytes(5 * crash::kDumpPieceSize + 1234);
    bool complete = false;
    const std::string report = Embed(original, crash::kReportSize, complete);
    ASSERT_TRUE(complete);
    EXPECT_NE(report.find("[Execution information]\r\n\r\n[Begin of crash minidump]\r\n"),
              std::string::npos);
    EXPECT_EQ(report.substr(report.size() - 27), "\r\n[End of crash minidump]\r\n");
    std::vector<unsigned char> decoded;
    ASSERT_EQ(crashdecoder::DecodeEmbeddedMinidump(report, decoded),
              crashdecoder::DecodeResult::Ok);
    EXPECT_EQ(decoded, original);
}

TEST_F(EmbeddedDumpTest, LinesHoldEightySymbolsOfTheAlphabet) {
    bool complete = false;
    const std::string report =
        Embed(DumpLikeBytes(3 * crash::kDumpPieceSize), crash::kReportSize, complete);
    ASSERT_TRUE(complete);
    const std::size_t begin = report.find("[Begin of crash minidump]\r\n") + 27;
    const std::size_t end = report.find("\r\n[End of crash minidump]");
    std::size_t lines = 0;
    for (std::size_t at = begin; at < end;) {
        std::size_t lineEnd = report.find("\r\n", at);
        if (lineEnd > end)
            lineEnd = end;
        const std::string line = report.substr(at, lineEnd - at);
        if (lineEnd < end)
            EXPECT_EQ(line.size(), crash::kDumpLineLength);
        else
            EXPECT_LE(line.size(), crash::kDumpLineLength);
        for (char c : line)
            ASSERT_GE(crash::DumpSymbolValue(c), 0) << "symbol " << c;
        ++lines;
        at = lineEnd + 2;
    }
    EXPECT_GT(lines, 10u);
}

TEST_F(EmbeddedDumpTest, SizesAtPieceAndGroupEdgesRoundTrip) {
    for (const std::size_t size : {std::size_t(0), std::size_t(1), std::size_t(2), std::size_t(3),
                                   std::size_t(4), std::size_t(5), crash::kDumpPieceSize - 1,
                                   crash::kDumpPieceSize, crash::kDumpPieceSize + 1}) {
        const std::vector<unsigned char> original = DumpLikeBytes(size);
        bool complete = false;
        const std::string report = Embed(original, crash::kReportSize, complete);
        ASSERT_TRUE(complete) << size;
        std::vector<unsigned char> decoded;
        ASSERT_EQ(crashdecoder::DecodeEmbeddedMinidump(report, decoded),
                  crashdecoder::DecodeResult::Ok)
            << size;
        EXPECT_EQ(decoded, original) << size;
    }
}

TEST_F(EmbeddedDumpTest, AReportThatRunsOutOfRoomIsCutAndTheDecoderRecoversTheStart) {
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

TEST(ReportDecoder, TellsAReportWithoutMinidumpOrWithDamage) {
    std::vector<unsigned char> decoded;
    EXPECT_EQ(crashdecoder::DecodeEmbeddedMinidump("[Environment information]\r\n", decoded),
              crashdecoder::DecodeResult::NoMinidump);
    EXPECT_EQ(crashdecoder::DecodeEmbeddedMinidump(
                  "\r\n[Begin of crash minidump]\r\nAB0D\r\n[End of crash minidump]\r\n", decoded),
              crashdecoder::DecodeResult::BadSymbol);
    EXPECT_EQ(
        crashdecoder::DecodeEmbeddedMinidump(
            "\r\n[Begin of crash minidump]\r\nZZZZZZZZ\r\n[End of crash minidump]\r\n", decoded),
        crashdecoder::DecodeResult::BadCompression);
}
