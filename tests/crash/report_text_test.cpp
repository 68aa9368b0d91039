#include "crash/memory_dump.h"
#include "crash/report_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Format(const char* format, auto... values) {
    char buffer[256];
    crash::ReportText text(buffer, sizeof(buffer));
    text.Append(format, values...);
    return text.Text();
}

} // namespace

TEST(ReportText, FormatsTheReportsConversions) {
    EXPECT_EQ(Format("EAX=%.8x", 0x1a2bu), "EAX=00001a2b");
    EXPECT_EQ(Format("%.16llx", 0x123456789abcdefull), "0123456789abcdef");
    EXPECT_EQ(Format("%.2X %X", 0xau, 0xdeadbeefu), "0A DEADBEEF");
    EXPECT_EQ(Format("%d|%d|%u", -42, 0, 4000000000u), "-42|0|4000000000");
    EXPECT_EQ(Format("%.4d%.2d", 2026, 7), "202607");
    EXPECT_EQ(Format("%s:%.3s:%c%%", "text", "abcdef", 'Z'), "text:abc:Z%");
    EXPECT_EQ(Format("%s", static_cast<const char*>(nullptr)), "(null)");
}

// A section may start until fewer than 257 bytes remain; text that does not fit is cut, and the
// buffer stays terminated.
TEST(ReportText, CutsAtCapacityAndStaysTerminated) {
    char buffer[266];
    crash::ReportText text(buffer, sizeof(buffer));
    EXPECT_TRUE(text.AppendBytes(std::string(8, 'x').data(), 8));
    EXPECT_TRUE(text.HasRoomForSection());
    EXPECT_FALSE(text.Append("%.260x", 0x12345678u));
    EXPECT_FALSE(text.HasRoomForSection());
    EXPECT_EQ(std::string(buffer), std::string(8, 'x') + std::string(252, '0') + "12345");
}

TEST(MemoryCopy, StopsAtMemoryThatIsNotThere) {
    SYSTEM_INFO system = {};
    ::GetSystemInfo(&system);
    const SIZE_T page = system.dwPageSize;
    auto* pages =
        static_cast<unsigned char*>(::VirtualAlloc(nullptr, 2 * page, MEM_RESERVE, PAGE_NOACCESS));
    ASSERT_NE(pages, nullptr);
    ASSERT_NE(::VirtualAlloc(pages, page, MEM_COMMIT, PAGE_READWRITE), nullptr);
    pages[page - 1] = 0x5A;
    unsigned char copy[64] = {};
    const auto start = reinterpret_cast<std::uintptr_t>(pages + page - 16);
    EXPECT_EQ(crash::CopyReadableMemory(start, copy, sizeof(copy)), 16u);
    EXPECT_EQ(copy[15], 0x5A);
    EXPECT_EQ(crash::CopyReadableMemory(start + 16, copy, sizeof(copy)), 0u);
    ::VirtualFree(pages, 0, MEM_RELEASE);
}
