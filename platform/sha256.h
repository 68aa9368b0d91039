#pragma once
// SHA-256 with the system's cryptography (CNG), fed piece by piece as bytes arrive, and the
// digest's text form of 64 hexadecimal digits.

#include "platform/cng_handles.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace platform {

using Sha256Digest = std::array<uint8_t, 32>;

class CSha256 {
public:
    CSha256();
    CSha256(const CSha256&) = delete;
    CSha256& operator=(const CSha256&) = delete;

    // Adds the next bytes. A failure of the system's hash is kept and makes Finish fail.
    void Add(const void* data, size_t size);
    // The digest of everything added; nothing when the system's hash failed. Once only.
    std::optional<Sha256Digest> Finish();

private:
    UniqueCngAlgorithm algorithm_;
    UniqueCngHash hash_;
    bool failed_ = false;
};

// The digest of `bytes`, or of the whole file at `path`; nothing when the system's hash failed or
// the file could not be read.
std::optional<Sha256Digest> Sha256Of(std::span<const uint8_t> bytes);
std::optional<Sha256Digest> Sha256OfFile(const std::wstring& path);

// Exactly 64 hexadecimal digits, in either case; nothing for anything else.
std::optional<Sha256Digest> ParseSha256Text(std::string_view text);
// The digest as 64 lower-case hexadecimal digits.
std::string Sha256Text(const Sha256Digest& digest);

} // namespace platform
