#pragma once
// A device-independent bitmap kept in one block of memory: the 40-byte header, the colour table
// of indexed depths and the pixel rows (bottom-up). Effects compute their pixels here and draw
// the result with one blit, so colours of indexed images come from the colour table alone.

#include "platform/gdi.h"

#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>

class CDib {
public:
    CDib() = default;
    virtual ~CDib();
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    // Frees the previous image, then allocates width x height pixels of `bitCount` bits
    // (1, 4, 8, 16, 24 or 32). Pixels and colour table start as zero. Fails for sizes below 1,
    // other depths, or when the memory cannot be had; the image is empty after a failure.
    bool Create(int width, int height, int bitCount);
    void Destroy();

    bool IsEmpty() const { return !block_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitCount() const { return bitCount_; }
    int ColourCount() const { return colourCount_; }
    int RowLength() const { return rowLength_; }
    size_t ImageSize() const { return static_cast<size_t>(rowLength_) * height_; }

    // The rows as stored: row y of the picture is stored row Height() - y - 1.
    BYTE* Bits() { return bits_; }
    const BYTE* Bits() const { return bits_; }
    // Start of picture row y (counted from the top), or null outside the image.
    BYTE* PictureRow(int y);
    const BYTE* PictureRow(int y) const;

    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(block_.get()); }

    void SetColourTableEntry(int index, BYTE red, BYTE green, BYTE blue);
    RGBQUAD ColourTableEntry(int index) const;
    // Moves every colour-table entry `percent` (0..100) of the way toward `colour`.
    void BlendColourTable(COLORREF colour, int percent);

    // Sets every pixel byte, padding included, to `value`.
    void Clear(BYTE value);
    // Indexed depths only; positions outside the image are ignored.
    void SetPixelIndex(int x, int y, BYTE index);
    int PixelIndex(int x, int y) const; // -1 outside the image or for direct-colour depths

    // Copies the whole image to (x, y) of `dc` with raster operation `rop`.
    bool Draw(HDC dc, int x, int y, DWORD rop = SRCCOPY);
    // Fills the image from the area of `dc` that starts at (x, y) and has the image's size.
    bool Capture(HDC dc, int x, int y);
    // Fills the image from a width x height area of `dc`, stretched to the image's size.
    bool CaptureStretched(HDC dc, int x, int y, int width, int height);
    // The same area stretched to `whole`, of which the image takes the part whose top-left
    // corner is at `part`: only that part is computed.
    bool CaptureStretchedPart(HDC dc, int x, int y, int width, int height, SIZE whole, POINT part);

    // Writes a bitmap file: file header, then header, colour table and rows as held.
    bool WriteBitmapFile(const std::wstring& path) const;

private:
    BITMAPINFOHEADER* Header() { return reinterpret_cast<BITMAPINFOHEADER*>(block_.get()); }
    RGBQUAD* ColourTable() {
        return reinterpret_cast<RGBQUAD*>(block_.get() + sizeof(BITMAPINFOHEADER));
    }
    const RGBQUAD* ColourTable() const {
        return reinterpret_cast<const RGBQUAD*>(block_.get() + sizeof(BITMAPINFOHEADER));
    }
    size_t HeaderAndTableSize() const {
        return sizeof(BITMAPINFOHEADER) + colourCount_ * sizeof(RGBQUAD);
    }
    bool EnsureSection();
    void CopyIntoSection();
    void CopyFromSection();
    void ReleaseSection();

    std::unique_ptr<BYTE[]> block_;
    BYTE* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int bitCount_ = 0;
    int colourCount_ = 0;
    int rowLength_ = 0;

    // The blit needs a bitmap selected into a memory device context; both are made on first use
    // and kept until the image is freed.
    platform::UniqueBitmap section_;
    platform::UniqueMemoryDc sectionDc_;
    HGDIOBJ sectionDcOriginal_ = nullptr;
    BYTE* sectionBits_ = nullptr;
};
