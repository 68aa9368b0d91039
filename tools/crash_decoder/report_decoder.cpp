#include "tools/crash_decoder/report_decoder.h"

#include "crash/dump_alphabet.h"

#include <zlib.h>

#include <cstdint>

namespace crashdecoder {
namespace {

bool IsLayout(char c) {
    return c == '\r' || c == '\n' || c == ' ' || c == '\t';
}

void FlushGroup(std::uint64_t value, std::size_t symbols, std::vector<unsigned char>& bytes) {
    // A short last group carries floor(5 * symbols / 8) whole bytes.
    const std::size_t count = symbols * 5 / 8;
    for (std::size_t i = 0; i < count; ++i)
        bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

DecodeResult Inflate(const std::vector<unsigned char>& compressed,
                     std::vector<unsigned char>& dump) {
    z_stream stream = {};
    if (inflateInit(&stream) != Z_OK)
        return DecodeResult::BadCompression;
    stream.next_in = const_cast<Bytef*>(compressed.data());
    stream.avail_in = static_cast<uInt>(compressed.size());
    unsigned char window[65536];
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = window;
        stream.avail_out = sizeof(window);
        status = inflate(&stream, Z_NO_FLUSH);
        dump.insert(dump.end(), window, window + (sizeof(window) - stream.avail_out));
        if (status == Z_BUF_ERROR && stream.avail_in == 0)
            break;
    }
    inflateEnd(&stream);
    if (status == Z_STREAM_END)
        return DecodeResult::Ok;
    return status == Z_BUF_ERROR ? DecodeResult::Truncated : DecodeResult::BadCompression;
}

} // namespace

bool SymbolsToBytes(std::string_view symbols, std::vector<unsigned char>& bytes) {
    std::uint64_t value = 0;
    std::size_t inGroup = 0;
    for (const char c : symbols) {
        if (IsLayout(c))
            continue;
        const int symbol = crash::DumpSymbolValue(c);
        if (symbol < 0)
            return false;
        value |= static_cast<std::uint64_t>(symbol) << (5 * inGroup);
        if (++inGroup == crash::kDumpGroupSymbols) {
            FlushGroup(value, inGroup, bytes);
            value = 0;
            inGroup = 0;
        }
    }
    FlushGroup(value, inGroup, bytes);
    return true;
}

DecodeResult DecodeEmbeddedMinidump(std::string_view report, std::vector<unsigned char>& dump) {
    dump.clear();
    const std::size_t begin = report.find(crash::kDumpBeginLine);
    if (begin == std::string_view::npos)
        return DecodeResult::NoMinidump;
    const std::size_t start = begin + std::string_view(crash::kDumpBeginLine).size();
    const std::size_t end = report.find(crash::kDumpEndLine, start);
    const std::string_view symbols =
        report.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    std::vector<unsigned char> compressed;
    if (!SymbolsToBytes(symbols, compressed))
        return DecodeResult::BadSymbol;
    const DecodeResult inflated = Inflate(compressed, dump);
    if (end == std::string_view::npos && inflated != DecodeResult::BadCompression)
        return inflated == DecodeResult::Ok ? DecodeResult::Ok : DecodeResult::Truncated;
    return inflated;
}

const char* DescribeResult(DecodeResult result) {
    switch (result) {
    case DecodeResult::Ok:
        return "decoded";
    case DecodeResult::NoMinidump:
        return "the report holds no minidump";
    case DecodeResult::BadSymbol:
        return "the minidump text holds a character outside its alphabet";
    case DecodeResult::Truncated:
        return "the minidump text ends early (the report was cut); the start was recovered";
    case DecodeResult::BadCompression:
        return "the minidump text is damaged";
    }
    return "unknown result";
}

} // namespace crashdecoder
