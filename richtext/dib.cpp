#include "richtext/dib.h"

#include "platform/unique_resource.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

namespace {

// Keeps one image well below what 32-bit offsets in the file header and GDI can describe.
constexpr std::uint64_t kMaxImageBytes = 0x40000000;

int ColourCountFor(int bitCount) {
    switch (bitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

bool IsSupportedDepth(int bitCount) {
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
           bitCount == 32;
}

BYTE BlendChannel(BYTE entry, BYTE target, int percent) {
    return static_cast<BYTE>((entry * (100 - percent) + target * percent) / 100);
}

void PutLittleEndian(BYTE* out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<BYTE>(value >> (8 * i));
}

bool WriteAll(HANDLE file, const BYTE* data, size_t size) {
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 0x10000000));
        DWORD written = 0;
        if (!::WriteFile(file, data, chunk, &written, nullptr) || written != chunk)
            return false;
        data += chunk;
        size -= chunk;
    }
    return true;
}

} // namespace

CDib::~CDib() {
    Destroy();
}

bool CDib::Create(int width, int height, int bitCount) {
    Destroy();
    if (width < 1 || height < 1 || !IsSupportedDepth(bitCount))
        return false;
    const std::uint64_t rowLength =
        (static_cast<std::uint64_t>(bitCount) * static_cast<std::uint64_t>(width) + 31) / 32 * 4;
    const std::uint64_t imageSize = rowLength * static_cast<std::uint64_t>(height);
    if (imageSize > kMaxImageBytes)
        return false;

    const int colourCount = ColourCountFor(bitCount);
    const size_t headerSize = sizeof(BITMAPINFOHEADER) + colourCount * sizeof(RGBQUAD);
    block_.reset(new (std::nothrow) BYTE[headerSize + static_cast<size_t>(imageSize)]());
    if (!block_)
        return false;

    width_ = width;
    height_ = height;
    bitCount_ = bitCount;
    colourCount_ = colourCount;
    rowLength_ = static_cast<int>(rowLength);
    bits_ = block_.get() + headerSize;

    BITMAPINFOHEADER* header = Header();
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = static_cast<WORD>(bitCount);
    header->biCompression = BI_RGB;
    header->biSizeImage = static_cast<DWORD>(imageSize);
    return true;
}

void CDib::Destroy() {
    ReleaseSection();
    block_.reset();
    bits_ = nullptr;
    width_ = height_ = bitCount_ = colourCount_ = rowLength_ = 0;
}

BYTE* CDib::PictureRow(int y) {
    if (!bits_ || y < 0 || y >= height_)
        return nullptr;
    return bits_ + static_cast<size_t>(height_ - y - 1) * rowLength_;
}

const BYTE* CDib::PictureRow(int y) const {
    return const_cast<CDib*>(this)->PictureRow(y);
}

void CDib::SetColourTableEntry(int index, BYTE red, BYTE green, BYTE blue) {
    if (index < 0 || index >= colourCount_)
        return;
    RGBQUAD& entry = ColourTable()[index];
    entry.rgbRed = red;
    entry.rgbGreen = green;
    entry.rgbBlue = blue;
    entry.rgbReserved = 0;
}

RGBQUAD CDib::ColourTableEntry(int index) const {
    if (index < 0 || index >= colourCount_)
        return RGBQUAD{};
    return ColourTable()[index];
}

void CDib::BlendColourTable(COLORREF colour, int percent) {
    percent = std::clamp(percent, 0, 100);
    RGBQUAD* table = ColourTable();
    for (int i = 0; i < colourCount_; ++i) {
        table[i].rgbRed = BlendChannel(table[i].rgbRed, GetRValue(colour), percent);
        table[i].rgbGreen = BlendChannel(table[i].rgbGreen, GetGValue(colour), percent);
        table[i].rgbBlue = BlendChannel(table[i].rgbBlue, GetBValue(colour), percent);
    }
}

void CDib::Clear(BYTE value) {
    if (bits_)
        std::memset(bits_, value, ImageSize());
}

void CDib::SetPixelIndex(int x, int y, BYTE index) {
    if (x < 0 || x >= width_ || colourCount_ == 0)
        return;
    BYTE* row = PictureRow(y);
    if (!row)
        return;
    switch (bitCount_) {
    case 8:
        row[x] = index;
        break;
    case 4: {
        BYTE& pair = row[x / 2];
        const int shift = (x % 2) ? 0 : 4;
        pair = static_cast<BYTE>((pair & ~(0x0F << shift)) | ((index & 0x0F) << shift));
        break;
    }
    case 1: {
        BYTE& octet = row[x / 8];
        const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
        octet = (index & 1) ? static_cast<BYTE>(octet | bit) : static_cast<BYTE>(octet & ~bit);
        break;
    }
    }
}

int CDib::PixelIndex(int x, int y) const {
    if (x < 0 || x >= width_ || colourCount_ == 0)
        return -1;
    const BYTE* row = PictureRow(y);
    if (!row)
        return -1;
    switch (bitCount_) {
    case 8:
        return row[x];
    case 4:
        return (x % 2) ? (row[x / 2] & 0x0F) : (row[x / 2] >> 4);
    default:
        return (row[x / 8] >> (7 - x % 8)) & 1;
    }
}

bool CDib::EnsureSection() {
    if (sectionDc_)
        return true;
    if (!block_)
        return false;
    void* sectionBits = nullptr;
    platform::UniqueBitmap section(
        ::CreateDIBSection(nullptr, Info(), DIB_RGB_COLORS, &sectionBits, nullptr, 0));
    if (!section || !sectionBits)
        return false;
    platform::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc)
        return false;
    const HGDIOBJ original = ::SelectObject(dc.Get(), section.Get());
    if (!original || original == HGDI_ERROR)
        return false;
    section_ = std::move(section);
    sectionDc_ = std::move(dc);
    sectionDcOriginal_ = original;
    sectionBits_ = static_cast<BYTE*>(sectionBits);
    return true;
}

// The section is refreshed on every use: the pixels and the colour table may have changed
// since it was made.
void CDib::CopyIntoSection() {
    ::GdiFlush();
    std::memcpy(sectionBits_, bits_, ImageSize());
    if (colourCount_ > 0)
        ::SetDIBColorTable(sectionDc_.Get(), 0, colourCount_, ColourTable());
}

void CDib::CopyFromSection() {
    ::GdiFlush();
    std::memcpy(bits_, sectionBits_, ImageSize());
}

void CDib::ReleaseSection() {
    if (sectionDc_ && sectionDcOriginal_)
        ::SelectObject(sectionDc_.Get(), sectionDcOriginal_);
    sectionDcOriginal_ = nullptr;
    sectionDc_.Reset();
    section_.Reset();
    sectionBits_ = nullptr;
}

bool CDib::Draw(HDC dc, int x, int y, DWORD rop) {
    if (!dc || !EnsureSection())
        return false;
    CopyIntoSection();
    const BOOL done = ::BitBlt(dc, x, y, width_, height_, sectionDc_.Get(), 0, 0, rop);
    ::GdiFlush();
    return done != FALSE;
}

bool CDib::Capture(HDC dc, int x, int y) {
    return CaptureStretched(dc, x, y, width_, height_);
}

bool CDib::CaptureStretched(HDC dc, int x, int y, int width, int height) {
    return CaptureStretchedPart(dc, x, y, width, height, SIZE{width_, height_}, POINT{0, 0});
}

bool CDib::CaptureStretchedPart(HDC dc, int x, int y, int width, int height, SIZE whole,
                                POINT part) {
    if (!dc || width < 1 || height < 1 || whole.cx < 1 || whole.cy < 1 || !EnsureSection())
        return false;
    CopyIntoSection();
    BOOL done;
    if (width == whole.cx && height == whole.cy) {
        done =
            ::BitBlt(sectionDc_.Get(), 0, 0, width_, height_, dc, x + part.x, y + part.y, SRCCOPY);
    } else {
        // The whole stretched picture is placed so that the part falls on the image; the blit
        // computes only the pixels the image holds.
        const int previousMode = ::SetStretchBltMode(sectionDc_.Get(), COLORONCOLOR);
        done = ::StretchBlt(sectionDc_.Get(), -part.x, -part.y, whole.cx, whole.cy, dc, x, y, width,
                            height, SRCCOPY);
        ::SetStretchBltMode(sectionDc_.Get(), previousMode);
    }
    if (!done)
        return false;
    CopyFromSection();
    return true;
}

bool CDib::WriteBitmapFile(const std::wstring& path) const {
    if (!block_)
        return false;
    constexpr size_t kFileHeaderSize = 14;
    const size_t offset = kFileHeaderSize + HeaderAndTableSize();
    const size_t fileSize = offset + ImageSize();

    BYTE fileHeader[kFileHeaderSize] = {'B', 'M'};
    PutLittleEndian(fileHeader + 2, static_cast<std::uint32_t>(fileSize), 4);
    PutLittleEndian(fileHeader + 6, 0, 2);
    PutLittleEndian(fileHeader + 8, 0, 2);
    PutLittleEndian(fileHeader + 10, static_cast<std::uint32_t>(offset), 4);

    platform::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    const bool written = WriteAll(file.Get(), fileHeader, kFileHeaderSize) &&
                         WriteAll(file.Get(), block_.get(), HeaderAndTableSize()) &&
                         WriteAll(file.Get(), bits_, ImageSize());
    file.Reset();
    if (!written)
        ::DeleteFileW(path.c_str());
    return written;
}
