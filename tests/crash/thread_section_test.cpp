// The thread section of either build, written from records that the test fills: the 32-bit lines
// are those the shipped program writes.

#include "crash/thread_section.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Twenty code bytes: a blank (below '!'), a brace (above 'z') and a zero show as '?'.
const unsigned char kCode[20] = {'0', ' ', '{', 0,   '4', '5', '6', '7', '8', '9',
                                 ':', ';', '<', '=', '>', '?', '@', 'A', 'B', 'C'};
const unsigned char kStack[4] = {0xEF, 0xBE, 0xAD, 0xDE};

crash::ThreadSnapshot Snapshot(bool wide) {
    crash::ThreadSnapshot s;
    s.threadId = 1234;
    s.stackKnown = true;
    s.stackBase = wide ? 0x140000ull : 0x130000;
    s.stackLimit = 0x12d000;
    s.registers = {wide,     1,        2,       3, 4, 5, 6, {8, 9, 10, 11, 12, 13, 14, 15},
                   0x401020, 0x12fe00, 0x12fe40};
    if (wide)
        s.registers.ip = 0x140001020ull;
    s.registers.flags = 0x246;
    s.registers.cs = 0x1b;
    s.registers.ss = s.registers.ds = s.registers.es = 0x23;
    s.registers.fs = 0x3b;
    s.codeAddress = s.registers.ip - 0x20;
    s.code = kCode;
    s.codeCount = sizeof(kCode);
    s.stack = kStack;
    s.stackCount = sizeof(kStack);
    return s;
}

const std::string kCodeRows =
    "30 20 7B 00 34 35 36 37 38 39 3A 3B 3C 3D 3E 3F 0???456789:;<=>?\r\n";
const std::string kCodeTail =
    "40 41 42 43 " + std::string(12 * 3, ' ') + "@ABC" + std::string(12, ' ') + "\r\n";
const std::string kStackRow =
    "EF BE AD DE " + std::string(12 * 3, ' ') + "????" + std::string(12, ' ') + "\r\n";

std::string Written(const crash::ThreadSnapshot& snapshot) {
    static char buffer[4096];
    crash::ReportText text(buffer, sizeof(buffer));
    EXPECT_TRUE(crash::WriteThreadSnapshot(text, snapshot));
    return text.Text();
}

} // namespace

TEST(ThreadSection, ThirtyTwoBitLines) {
    EXPECT_EQ(Written(Snapshot(false)),
              "[Thread context information, TID=1234]\r\n"
              " Stack Base=00130000  Stack Limit=0012d000\r\n"
              " [Registers]\r\n"
              "  EAX=00000001 EBX=00000002 ECX=00000003 EDX=00000004 ESI=00000005 EDI=00000006\r\n"
              "  EIP=00401020 ESP=0012fe00 EBP=0012fe40 EFlags=00000246\r\n"
              "  CS=0000001b  SS=00000023  DS=00000023  ES=00000023  FS=0000003b  GS=00000000\r\n"
              " [Bytes at CS:EIP]\r\n"
              "  00401000 " +
                  kCodeRows + "  00401010 " + kCodeTail +
                  " [Bytes at SS:ESP]\r\n"
                  "  0012FE00 " +
                  kStackRow);
}

// The same section with the registers and addresses of the 64-bit build.
TEST(ThreadSection, SixtyFourBitLines) {
    const std::string written = Written(Snapshot(true));
    EXPECT_EQ(written.substr(0, written.find(" [Bytes at SS:RSP]")),
              "[Thread context information, TID=1234]\r\n"
              " Stack Base=0000000000140000  Stack Limit=000000000012d000\r\n"
              " [Registers]\r\n"
              "  RAX=0000000000000001 RBX=0000000000000002 RCX=0000000000000003 "
              "RDX=0000000000000004 RSI=0000000000000005 RDI=0000000000000006\r\n"
              "  R8=0000000000000008 R9=0000000000000009 R10=000000000000000a "
              "R11=000000000000000b\r\n"
              "  R12=000000000000000c R13=000000000000000d R14=000000000000000e "
              "R15=000000000000000f\r\n"
              "  RIP=0000000140001020 RSP=000000000012fe00 RBP=000000000012fe40 EFlags=00000246\r\n"
              "  CS=0000001b  SS=00000023  DS=00000023  ES=00000023  FS=0000003b  GS=00000000\r\n"
              " [Bytes at CS:RIP]\r\n"
              "  0000000140001000 " +
                  kCodeRows + "  0000000140001010 " + kCodeTail);
}
