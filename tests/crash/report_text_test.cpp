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
    EXPECT_EQ(Format("%5d|%05d", 42, 42), "   42|00042");
    EXPECT_EQ(Format("%s:%.3s:%c%%", "text", "abcdef", 'Z'), "text:abc:Z%");
    EXPECT_EQ(Format("%zu %llu", static_cast<std::size_t>(7), 18446744073709551615ull),
              "7 18446744073709551615");
    EXPECT_EQ(Format("%s", static_cast<const char*>(nullptr)), "(null)");
}

TEST(ReportText, CutsAtCapacityAndStaysTerminated) {
    char buffer[8];
    crash::ReportText text(buffer, sizeof(buffer));
    EXPECT_TRUE(text.Append("abc"));
    EXPECT_FALSE(text.Append("%.8x", 0x12345678u));
    EXPECT_EQ(std::string(text.Text()), "abc1234");
    EXPECT_EQ(text.Remaining(), 0u);
    EXPECT_FALSE(text.AppendChar('x'));
    EXPECT_EQ(std::string(buffer), "abc1234");
}

TEST(ReportText, ASectionNeedsRoomForItsStart) {
    char buffer[300];
    crash::ReportText text(buffer, sizeof(buffer));
    // 299 bytes of room: a section may start until fewer than 257 bytes remain.
    EXPECT_TRUE(text.HasRoomForSection());
    text.AppendBytes(std::string(42, 'x').data(), 42);
    EXPECT_EQ(text.Remaining(), 257u);
    EXPECT_TRUE(text.HasRoomForSection());
    text.AppendChar('x');
    EXPECT_FALSE(text.HasRoomForSection());
}

TEST(HexDump, RowsShowAddressBytesAndPrintableCharacters) {
    char buffer[1024];
    crash::ReportText text(buffer, sizeof(buffer));
    unsigned char bytes[20];
    for (int i = 0; i < 20; ++i)
        bytes[i] = static_cast<unsigned char>('0' + i);
    bytes[1] = ' '; // below '!': shown as '?'
    bytes[2] = '{'; // above 'z'
    bytes[3] = 0x00;
    ASSERT_TRUE(crash::WriteHexDump(text, 0x1000, bytes, sizeof(bytes), 2));
#ifdef _WIN64
    const std::string address0 = "0000000000001000 ", address1 = "0000000000001010 ";
#else
    const std::string address0 = "00001000 ", address1 = "00001010 ";
#endif
    const std::string expected =
        "  " + address0 + "30 20 7B 00 34 35 36 37 38 39 3A 3B 3C 3D 3E 3F 0???456789:;<=>?\r\n" +
        "  " + address1 + "40 41 42 43 " + std::string(12 * 3, ' ') + "@ABC" +
        std::string(12, ' ') + "\r\n";
    EXPECT_EQ(std::string(text.Text()), expected);
}

TEST(HexDump, CopyStopsAtMemoryThatIsNotThere) {
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
