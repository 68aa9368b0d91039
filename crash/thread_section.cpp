#include "crash/thread_section.h"

#include "crash/memory_dump.h"

namespace crash {
namespace {

using U = unsigned long long;

bool WriteNarrowRegisters(ReportText& text, const ThreadRegisters& r) {
    return text.Append("  EAX=%.8llx EBX=%.8llx ECX=%.8llx EDX=%.8llx ESI=%.8llx EDI=%.8llx\r\n",
                       U(r.ax), U(r.bx), U(r.cx), U(r.dx), U(r.si), U(r.di)) &&
           text.Append("  EIP=%.8llx ESP=%.8llx EBP=%.8llx EFlags=%.8x\r\n", U(r.ip), U(r.sp),
                       U(r.bp), r.flags);
}

bool WriteWideRegisters(ReportText& text, const ThreadRegisters& r) {
    const std::uint64_t* x = r.r8to15;
    return text.Append("  RAX=%.16llx RBX=%.16llx RCX=%.16llx RDX=%.16llx RSI=%.16llx "
                       "RDI=%.16llx\r\n",
                       U(r.ax), U(r.bx), U(r.cx), U(r.dx), U(r.si), U(r.di)) &&
           text.Append("  R8=%.16llx R9=%.16llx R10=%.16llx R11=%.16llx\r\n", U(x[0]), U(x[1]),
                       U(x[2]), U(x[3])) &&
           text.Append("  R12=%.16llx R13=%.16llx R14=%.16llx R15=%.16llx\r\n", U(x[4]), U(x[5]),
                       U(x[6]), U(x[7])) &&
           text.Append("  RIP=%.16llx RSP=%.16llx RBP=%.16llx EFlags=%.8x\r\n", U(r.ip), U(r.sp),
                       U(r.bp), r.flags);
}

bool WriteRegisters(ReportText& text, const ThreadRegisters& r) {
    return text.Append(" [Registers]\r\n") &&
           (r.wide ? WriteWideRegisters(text, r) : WriteNarrowRegisters(text, r)) &&
           text.Append("  CS=%.8x  SS=%.8x  DS=%.8x  ES=%.8x  FS=%.8x  GS=%.8x\r\n", r.cs, r.ss,
                       r.ds, r.es, r.fs, r.gs);
}

bool WriteStackBounds(ReportText& text, const ThreadSnapshot& s) {
    if (!s.stackKnown)
        return true;
    return text.Append(s.registers.wide ? " Stack Base=%.16llx  Stack Limit=%.16llx\r\n"
                                        : " Stack Base=%.8llx  Stack Limit=%.8llx\r\n",
                       U(s.stackBase), U(s.stackLimit));
}

} // namespace

ThreadRegisters RegistersOf(const CONTEXT& c) {
    ThreadRegisters r;
#ifdef _WIN64
    r = {true,  c.Rax, c.Rbx, c.Rcx,
         c.Rdx, c.Rsi, c.Rdi, {c.R8, c.R9, c.R10, c.R11, c.R12, c.R13, c.R14, c.R15},
         c.Rip, c.Rsp, c.Rbp};
#else
    r = {false, c.Eax, c.Ebx, c.Ecx, c.Edx, c.Esi, c.Edi, {}, c.Eip, c.Esp, c.Ebp};
#endif
    r.flags = c.EFlags;
    r.cs = c.SegCs;
    r.ss = c.SegSs;
    r.ds = c.SegDs;
    r.es = c.SegEs;
    r.fs = c.SegFs;
    r.gs = c.SegGs;
    return r;
}

bool WriteThreadSnapshot(ReportText& text, const ThreadSnapshot& s) {
    const bool wide = s.registers.wide;
    return text.Append("[Thread context information, TID=%d]\r\n", static_cast<int>(s.threadId)) &&
           WriteStackBounds(text, s) && WriteRegisters(text, s.registers) &&
           text.Append(wide ? " [Bytes at CS:RIP]\r\n" : " [Bytes at CS:EIP]\r\n") &&
           WriteHexDump(text, s.codeAddress, s.code, s.codeCount, 2, wide) &&
           text.Append(wide ? " [Bytes at SS:RSP]\r\n" : " [Bytes at SS:ESP]\r\n") &&
           WriteHexDump(text, s.registers.sp, s.stack, s.stackCount, 2, wide);
}

} // namespace crash
