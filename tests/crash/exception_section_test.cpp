#include "crash/crash_report.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ExceptionCase {
    DWORD code;
    DWORD parameters;
    ULONG_PTR operation; // 1: write
    bool wide;
    const char* expected;
};

// The 32-bit lines are those the shipped program writes; the 64-bit ones widen the addresses.
const ExceptionCase kCases[] = {
    {EXCEPTION_ACCESS_VIOLATION, 2, 1, false,
     "[Exception information]\r\n"
     " Exception Code:      0xc0000005 (Access violation)\r\n"
     " Exception Address:   0x00401000\r\n"
     " Exception Operation: Write to address 0x00000010\r\n"},
    {EXCEPTION_ACCESS_VIOLATION, 2, 0, true,
     "[Exception information]\r\n"
     " Exception Code:      0xc0000005 (Access violation)\r\n"
     " Exception Address:   0x0000000000401000\r\n"
     " Exception Operation: Read from address 0x0000000000000010\r\n"},
    // Fewer than two parameters: no operation line.
    {EXCEPTION_ACCESS_VIOLATION, 1, 1, false,
     "[Exception information]\r\n"
     " Exception Code:      0xc0000005 (Access violation)\r\n"
     " Exception Address:   0x00401000\r\n"},
    // A code outside the table: only its number.
    {0xE0001234, 0, 0, false,
     "[Exception information]\r\n"
     " Exception Code:      0xe0001234\r\n"
     " Exception Address:   0x00401000\r\n"},
};

EXCEPTION_RECORD Record(const ExceptionCase& c) {
    EXCEPTION_RECORD record = {};
    record.ExceptionCode = c.code;
    record.ExceptionAddress = reinterpret_cast<void*>(0x401000);
    record.NumberParameters = c.parameters;
    record.ExceptionInformation[0] = c.operation;
    record.ExceptionInformation[1] = 0x10;
    return record;
}

} // namespace

TEST(ExceptionSection, LinesOfEachKindOfException) {
    for (const ExceptionCase& c : kCases) {
        char buffer[1024];
        crash::ReportText text(buffer, sizeof(buffer));
        EXPECT_TRUE(crash::WriteExceptionSection(text, Record(c), c.wide));
        EXPECT_EQ(std::string(text.Text()), c.expected);
    }
}
