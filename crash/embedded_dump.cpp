#include "crash/embedded_dump.h"

#include "crash/dump_alphabet.h"
#include "platform/unique_resource.h"

#include <zlib.h>

#include <cstdint>

namespace crash {
namespace {

// zlib's allocator on the crash path: the arena of the work area, front to back; freeing is a
// no-op because the arena is reset for each dump.
voidpf ArenaAlloc(voidpf opaque, uInt items, uInt size) {
    auto* arena = static_cast<DeflateArena*>(opaque);
    const std::size_t bytes = (static_cast<std::size_t>(items) * size + 15) & ~std::size_t(15);
    if (bytes > sizeof(arena->bytes) - arena->used)
        return Z_NULL;
    void* block = arena->bytes + arena->used;
    arena->used += bytes;
    return block;
}

void ArenaFree(voidpf, voidpf) {}

// Writes compressed bytes as symbols, in lines of kDumpLineLength.
class SymbolWriter {
public:
    explicit SymbolWriter(ReportText& text) : text_(text) {}

    bool Put(const unsigned char* bytes, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            carry_[carried_++] = bytes[i];
            if (carried_ == kDumpGroupBytes && !WriteGroup(kDumpGroupSymbols))
                return false;
        }
        return true;
    }

    // The last group may be short.
    bool Finish() { return carried_ == 0 || WriteGroup(ShortGroupSymbols(carried_)); }

private:
    bool WriteGroup(std::size_t symbols) {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < carried_; ++i)
            value |= static_cast<std::uint64_t>(carry_[i]) << (8 * i);
        carried_ = 0;
        for (std::size_t s = 0; s < symbols; ++s) {
            if (!text_.AppendChar(kDumpAlphabet[(value >> (5 * s)) & 31]))
                return false;
            if (++column_ == kDumpLineLength) {
                column_ = 0;
                if (!text_.Append("\r\n"))
                    return false;
            }
        }
        return true;
    }

    ReportText& text_;
    unsigned char carry_[kDumpGroupBytes] = {};
    std::size_t carried_ = 0;
    std::size_t column_ = 0;
};

// Static: the stream's own record is part of the crash path's reserved storage.
z_stream g_stream;

bool CompressFile(HANDLE file, SymbolWriter& writer, WorkArea& area) {
    for (bool last = false; !last;) {
        DWORD read = 0;
        if (!::ReadFile(file, area.dumpPiece, static_cast<DWORD>(kDumpPieceSize), &read, nullptr))
            return false;
        last = read < kDumpPieceSize;
        g_stream.next_in = area.dumpPiece;
        g_stream.avail_in = read;
        do {
            g_stream.next_out = area.dumpWindow;
            g_stream.avail_out = static_cast<uInt>(kDumpWindowSize);
            if (deflate(&g_stream, last ? Z_FINISH : Z_NO_FLUSH) == Z_STREAM_ERROR)
                return false;
            if (!writer.Put(area.dumpWindow, kDumpWindowSize - g_stream.avail_out))
                return false;
        } while (g_stream.avail_out == 0);
    }
    return writer.Finish();
}

} // namespace

bool AppendEmbeddedMinidump(ReportText& text, const char* path, WorkArea& area) {
    platform::UniqueHandle file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    area.deflateArena.used = 0;
    g_stream = {};
    g_stream.zalloc = &ArenaAlloc;
    g_stream.zfree = &ArenaFree;
    g_stream.opaque = &area.deflateArena;
    if (deflateInit(&g_stream, Z_DEFAULT_COMPRESSION) != Z_OK)
        return false;
    SymbolWriter writer(text);
    const bool complete = text.Append("\r\n%s\r\n", kDumpBeginLine) &&
                          CompressFile(file.Get(), writer, area) &&
                          text.Append("\r\n%s\r\n", kDumpEndLine);
    deflateEnd(&g_stream);
    return complete;
}

} // namespace crash
