#pragma once
// The little of the registry that the installed-products scan needs, behind an interface so the
// scan can also run against an in-memory store in unit tests and benchmarks.

#include <windows.h>

#include <optional>
#include <string>

class CRegistryReader {
public:
    // An open key; null when a key could not be opened.
    using Key = void*;

    enum class EnumResult { Name, NameTooLong, End };

    virtual ~CRegistryReader() = default;

    // Opens a key below HKEY_LOCAL_MACHINE for reading.
    virtual Key Open(const std::string& path) = 0;
    // The 8-bit name of sub-key `index`, read through a buffer of `bufferChars` characters
    // (terminator included). NameTooLong when the name does not fit; End for no more items or
    // any other failure.
    virtual EnumResult EnumerateSubKey(Key key, DWORD index, DWORD bufferChars,
                                       std::string& name) = 0;
    // The value's data as 8-bit bytes, whatever its type; nothing when the value is missing or
    // does not fit `bufferBytes`.
    virtual std::optional<std::string> QueryValue(Key key, const char* name, DWORD bufferBytes) = 0;
    virtual void Close(Key key) = 0;
};

// An open key of a reader, closed when it goes out of scope.
class CReaderKey {
public:
    CReaderKey(CRegistryReader& reader, const std::string& path)
        : reader_(reader), key_(reader.Open(path)) {}
    ~CReaderKey() {
        if (key_ != nullptr)
            reader_.Close(key_);
    }
    CReaderKey(const CReaderKey&) = delete;
    CReaderKey& operator=(const CReaderKey&) = delete;

    explicit operator bool() const { return key_ != nullptr; }
    CRegistryReader::Key Get() const { return key_; }

private:
    CRegistryReader& reader_;
    CRegistryReader::Key key_;
};
