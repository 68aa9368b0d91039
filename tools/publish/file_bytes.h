#pragma once
// Whole files in and out, for the publishing tool.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace publish {

// The file's bytes; nothing when it cannot be read.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::wstring& path);

// Replaces the file with `bytes` through a temporary file beside it, so that a failure never
// leaves it half written. With `mustBeNew` an existing file is never replaced.
bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes,
                    bool mustBeNew = false);

// The path made absolute (the profile functions look for a bare name in the Windows folder).
std::wstring AbsolutePath(const std::wstring& path);

} // namespace publish
