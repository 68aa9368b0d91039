#pragma once
// Bounded text building into storage that was reserved before the crash: a small printf that
// never allocates, never writes past its buffer and keeps the text zero-terminated.

#include <cstdarg>
#include <cstddef>

namespace crash {

class ReportText {
public:
    // Each report section needs at least this much room to start.
    static constexpr std::size_t kSectionReserve = 257;

    ReportText(char* buffer, std::size_t capacity);

    // printf subset: %d %u %x %X %c %s %%, the flag 0, a width, a precision (minimum digits,
    // or maximum characters for %s) and the length modifiers l, ll and z. Text that does not
    // fit is cut; returns false when it was.
    bool Append(const char* format, ...);
    bool AppendV(const char* format, va_list args);
    bool AppendBytes(const char* bytes, std::size_t count);
    bool AppendChar(char c);

    // Whether a new section may start (the writers stop the report when not).
    bool HasRoomForSection() const { return Remaining() >= kSectionReserve; }
    std::size_t Remaining() const { return capacity_ - 1 - length_; }
    std::size_t Length() const { return length_; }
    const char* Text() const { return buffer_; }
    void Clear();

private:
    char* buffer_;
    std::size_t capacity_; // including the terminating zero
    std::size_t length_ = 0;
};

// One formatted piece into a fixed array; for file names and other short texts of the crash path.
template <std::size_t N>
bool FormatInto(char (&target)[N], const char* format, ...) {
    ReportText text(target, N);
    va_list args;
    va_start(args, format);
    const bool fitted = text.AppendV(format, args);
    va_end(args);
    return fitted;
}

} // namespace crash
