// crash_decoder <report file> <minidump file>: writes the minidump embedded in a crash report
// back to a file that debuggers open.

#include "tools/crash_decoder/report_decoder.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

bool ReadFile(const wchar_t* path, std::string& contents) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    contents.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

bool WriteFile(const wchar_t* path, const std::vector<unsigned char>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: crash_decoder <report file> <minidump file>\n");
        return 2;
    }
    std::string report;
    if (!ReadFile(argv[1], report)) {
        std::fprintf(stderr, "crash_decoder: cannot read %ls\n", argv[1]);
        return 1;
    }
    std::vector<unsigned char> dump;
    const crashdecoder::DecodeResult result = crashdecoder::DecodeEmbeddedMinidump(report, dump);
    const bool usable =
        result == crashdecoder::DecodeResult::Ok || result == crashdecoder::DecodeResult::Truncated;
    if (!usable) {
        std::fprintf(stderr, "crash_decoder: %s\n", crashdecoder::DescribeResult(result));
        return 1;
    }
    if (!WriteFile(argv[2], dump)) {
        std::fprintf(stderr, "crash_decoder: cannot write %ls\n", argv[2]);
        return 1;
    }
    std::printf("crash_decoder: %s, %zu bytes written\n", crashdecoder::DescribeResult(result),
                dump.size());
    return result == crashdecoder::DecodeResult::Ok ? 0 : 3;
}
