#pragma once
// Files of the network tests: output paths in the temporary folder, removed afterwards.

#include <string>

namespace servicetest {

// A path in the user's temporary folder that no other test uses; the file is deleted when the
// object goes.
class TempFile {
public:
    explicit TempFile(const std::wstring& name);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::wstring& Path() const { return path_; }
    std::string Contents() const;

private:
    std::wstring path_;
};

// The whole file, or empty when it cannot be read.
std::string ReadWholeFile(const std::wstring& path);

// `size` bytes of a repeating, position-dependent pattern, so a lost or moved chunk shows.
std::string PatternBytes(size_t size);

} // namespace servicetest
