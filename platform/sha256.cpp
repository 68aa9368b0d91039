#include "platform/sha256.h"

#include <algorithm>
#include <vector>

namespace platform {
namespace {

// The hash takes at most a ULONG at a time.
constexpr size_t kLargestPiece = 0x40000000;

int HexValue(char digit) {
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    if (digit >= 'A' && digit <= 'F')
        return digit - 'A' + 10;
    return -1;
}

} // namespace

CSha256::CSha256() : algorithm_(OpenCngAlgorithm(BCRYPT_SHA256_ALGORITHM)) {
    failed_ = !algorithm_ || !CngSucceeded(::BCryptCreateHash(algorithm_.Get(), hash_.Put(),
                                                              nullptr, 0, nullptr, 0, 0));
}

void CSha256::Add(const void* data, size_t size) {
    auto* bytes = static_cast<PUCHAR>(const_cast<void*>(data));
    while (size != 0 && !failed_) {
        const size_t piece = std::min(size, kLargestPiece);
        failed_ = !CngSucceeded(::BCryptHashData(hash_.Get(), bytes, static_cast<ULONG>(piece), 0));
        bytes += piece;
        size -= piece;
    }
}

std::optional<Sha256Digest> CSha256::Finish() {
    Sha256Digest digest{};
    if (failed_ || !CngSucceeded(::BCryptFinishHash(hash_.Get(), digest.data(),
                                                    static_cast<ULONG>(digest.size()), 0)))
        return std::nullopt;
    failed_ = true; // a finished hash takes nothing more
    return digest;
}

std::optional<Sha256Digest> Sha256Of(std::span<const uint8_t> bytes) {
    CSha256 hash;
    hash.Add(bytes.data(), bytes.size());
    return hash.Finish();
}

std::optional<Sha256Digest> Sha256OfFile(const std::wstring& path) {
    const UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return std::nullopt;
    CSha256 hash;
    std::vector<char> block(1 << 20);
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &read, nullptr))
            return std::nullopt;
        if (read == 0)
            return hash.Finish();
        hash.Add(block.data(), read);
    }
}

std::optional<Sha256Digest> ParseSha256Text(std::string_view text) {
    Sha256Digest digest{};
    if (text.size() != digest.size() * 2)
        return std::nullopt;
    for (size_t i = 0; i < digest.size(); ++i) {
        const int high = HexValue(text[2 * i]);
        const int low = HexValue(text[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        digest[i] = static_cast<uint8_t>(high * 16 + low);
    }
    return digest;
}

std::string Sha256Text(const Sha256Digest& digest) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const uint8_t byte : digest) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0xF];
    }
    return text;
}

} // namespace platform
