#include "crash/crash_report.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string ExceptionSection(const EXCEPTION_RECORD& record) {
    static char buffer[4096];
    crash::ReportText text(buffer, sizeof(buffer));
    EXPECT_TRUE(crash::WriteExceptionSection(text, record));
    return text.Text();
}

#ifdef _WIN64
const std::string kAddress = "0x0000000000401000";
const std::string kFault = "0x0000000000000010";
#else
const std::string kAddress = "0x00401000";
const std::string kFault = "0x00000010";
#endif

EXCEPTION_RECORD Record(DWORD code, DWORD parameters = 0, ULONG_PTR operation = 0) {
    EXCEPTION_RECORD record = {};
    record.ExceptionCode = code;
    record.ExceptionAddress = reinterpret_cast<void*>(0x401000);
    record.NumberParameters = parameters;
    record.ExceptionInformation[0] = operation;
    record.ExceptionInformation[1] = 0x10;
    return record;
}

} // namespace

TEST(ExceptionSection, WritesWhereAnAccessViolationWroteOrRead) {
    EXPECT_EQ(ExceptionSection(Record(EXCEPTION_ACCESS_VIOLATION, 2, 1)),
              "[Exception information]\r\n"
              " Exception Code:      0xc0000005 (Access violation)\r\n"
              " Exception Address:   " +
                  kAddress + "\r\n Exception Operation: Write to address " + kFault + "\r\n");
    EXPECT_NE(ExceptionSection(Record(EXCEPTION_ACCESS_VIOLATION, 2, 0))
                  .find(" Exception Operation: Read from address " + kFault + "\r\n"),
              std::string::npos);
}

TEST(ExceptionSection, AnAccessViolationWithFewParametersHasNoOperation) {
    EXPECT_EQ(ExceptionSection(Record(EXCEPTION_ACCESS_VIOLATION, 1, 1)).find("Operation"),
              std::string::npos);
}

TEST(ExceptionSection, ACodeOutsideTheTableShowsOnlyItsNumber) {
    const std::string section = ExceptionSection(Record(0xE0001234));
    EXPECT_NE(section.find(" Exception Code:      0xe0001234\r\n"), std::string::npos);
    EXPECT_EQ(section.find('('), std::string::npos);
}

TEST(ExceptionSection, IsNotStartedWithoutRoom) {
    char buffer[200];
    crash::ReportText text(buffer, sizeof(buffer));
    EXPECT_FALSE(crash::WriteExceptionSection(text, Record(EXCEPTION_ACCESS_VIOLATION)));
    EXPECT_EQ(text.Length(), 0u);
}
