#pragma once
// One thread section of the report, written from a plain record of what was read about the
// thread, so that the lines of both architectures come from the same code.

#include "crash/report_text.h"

#include <windows.h>

#include <cstdint>

namespace crash {

struct ThreadRegisters {
    bool wide = false; // 64-bit registers: RAX to R15, RIP, RSP, RBP
    std::uint64_t ax = 0, bx = 0, cx = 0, dx = 0, si = 0, di = 0;
    std::uint64_t r8to15[8] = {}; // wide only
    std::uint64_t ip = 0, sp = 0, bp = 0;
    std::uint32_t flags = 0;
    std::uint32_t cs = 0, ss = 0, ds = 0, es = 0, fs = 0, gs = 0;
};

// The registers of a context of this build's architecture.
ThreadRegisters RegistersOf(const CONTEXT& context);

// What one thread section shows: the bytes are copies, read before the section is written.
struct ThreadSnapshot {
    DWORD threadId = 0;
    bool stackKnown = false;
    std::uint64_t stackBase = 0;
    std::uint64_t stackLimit = 0;
    ThreadRegisters registers;
    std::uint64_t codeAddress = 0; // of code[0]
    const unsigned char* code = nullptr;
    std::size_t codeCount = 0;
    const unsigned char* stack = nullptr; // from the stack pointer up
    std::size_t stackCount = 0;
};

// "[Thread context information, TID=...]", the stack bounds when known, the registers, and the
// code and stack bytes; in the width of `snapshot.registers`. False when the report is full.
bool WriteThreadSnapshot(ReportText& text, const ThreadSnapshot& snapshot);

} // namespace crash
