#include "richtext/dib.h"

#include "tests/richtext/canvas.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using testing_canvas::Canvas;

namespace {

std::vector<BYTE> StoredBytes(const CDib& dib) {
    return std::vector<BYTE>(dib.Bits(), dib.Bits() + dib.ImageSize());
}

std::uint32_t ReadLittleEndian(const std::vector<char>& bytes, size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | static_cast<BYTE>(bytes[at + i]);
    return value;
}

class TemporaryFile {
public:
    explicit TemporaryFile(const wchar_t* name) {
        wchar_t folder[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, folder);
        path_ = std::wstring(folder) + name + std::to_wstring(::GetCurrentProcessId()) + L".bmp";
    }
    ~TemporaryFile() { ::DeleteFileW(path_.c_str()); }
    const std::wstring& Path() const { return path_; }
    std::vector<char> Read() const {
        std::ifstream in(path_.c_str(), std::ios::binary);
        return std::vector<char>(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::wstring path_;
};

// Loads a bitmap file through the system and reads its pixels as colours.
std::vector<COLORREF> LoadThroughSystem(const std::wstring& path, int width, int height) {
    const platform::UniqueBitmap bitmap(static_cast<HBITMAP>(::LoadImageW(
        nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (!bitmap)
        return {};
    BITMAP info{};
    ::GetObjectW(bitmap.Get(), sizeof info, &info);
    if (info.bmWidth != width || info.bmHeight != height)
        return {};
    const platform::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    const platform::SelectedObject selected(dc.Get(), bitmap.Get());
    std::vector<COLORREF> colours;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            colours.push_back(::GetPixel(dc.Get(), x, y));
    return colours;
}

} // namespace

TEST(DibLayout, RowsArePaddedToFourBytesForEveryDepth) {
    struct Case {
        int bits, rowLength, colours;
    };
    for (const Case c : {Case{1, 4, 2}, Case{4, 8, 16}, Case{8, 12, 256}, Case{16, 20, 0},
                         Case{24, 32, 0}, Case{32, 40, 0}}) {
        CDib dib;
        ASSERT_TRUE(dib.Create(10, 3, c.bits)) << c.bits;
        EXPECT_EQ(dib.RowLength(), c.rowLength) << c.bits;
        EXPECT_EQ(dib.ImageSize(), static_cast<size_t>(c.rowLength) * 3) << c.bits;
        EXPECT_EQ(dib.ColourCount(), c.colours) << c.bits;
        EXPECT_EQ(dib.Info()->bmiHeader.biSizeImage, static_cast<DWORD>(c.rowLength * 3));
        // Pixels follow the colour table in the same block.
        EXPECT_EQ(dib.Bits(), reinterpret_cast<const BYTE*>(dib.Info()) + 40 + 4 * c.colours);
    }
}

TEST(DibLayout, RefusesEmptyNegativeHugeSizesAndOddDepths) {
    CDib dib;
    ASSERT_TRUE(dib.Create(4, 4, 8));
    EXPECT_FALSE(dib.Create(0, 4, 8));
    EXPECT_TRUE(dib.IsEmpty()) << "a failed create still frees the previous image";
    EXPECT_FALSE(dib.Create(4, 0, 8));
    EXPECT_FALSE(dib.Create(-3, 4, 8));
    EXPECT_FALSE(dib.Create(4, -3, 8));
    EXPECT_FALSE(dib.Create(4, 4, 7));
    EXPECT_FALSE(dib.Create(4, 4, 0));
    EXPECT_FALSE(dib.Create(0x7FFFFFFF, 0x7FFFFFFF, 32)) << "the size must not wrap around";
    EXPECT_FALSE(dib.Create(100000, 100000, 32));
    EXPECT_TRUE(dib.IsEmpty());
    EXPECT_EQ(dib.Bits(), nullptr);
    EXPECT_EQ(dib.Width(), 0);
    // Operations on an empty image do nothing.
    dib.Clear(1);
    dib.SetPixelIndex(0, 0, 1);
    dib.SetColourTableEntry(0, 1, 2, 3);
    dib.BlendColourTable(RGB(1, 2, 3), 50);
    EXPECT_EQ(dib.PixelIndex(0, 0), -1);
    Canvas canvas(4, 4);
    EXPECT_FALSE(dib.Draw(canvas.Dc(), 0, 0));
    EXPECT_FALSE(dib.Capture(canvas.Dc(), 0, 0));
    EXPECT_EQ(canvas.CountOtherThan(RGB(255, 255, 255)), 0);
}

TEST(DibColourTable, EntriesBeyondTheTableAreIgnored) {
    CDib dib;
    ASSERT_TRUE(dib.Create(8, 1, 1));
    dib.SetColourTableEntry(1, 10, 20, 30);
    dib.SetColourTableEntry(2, 99, 99, 99);
    dib.SetColourTableEntry(-1, 99, 99, 99);
    const RGBQUAD one = dib.ColourTableEntry(1);
    EXPECT_EQ(one.rgbRed, 10);
    EXPECT_EQ(one.rgbGreen, 20);
    EXPECT_EQ(one.rgbBlue, 30);
    EXPECT_EQ(dib.ColourTableEntry(0).rgbRed, 0);
    // The entry past the table is where the pixels start: they must be untouched.
    EXPECT_EQ(dib.Bits()[0], 0);
    EXPECT_EQ(dib.ColourTableEntry(2).rgbRed, 0);
}

TEST(DibColourTable, BlendsTowardAColourByPercentCappedAtAHundred) {
    CDib dib;
    ASSERT_TRUE(dib.Create(2, 2, 8));
    dib.SetColourTableEntry(7, 200, 100, 0);
    dib.BlendColourTable(RGB(0, 0, 255), 25);
    RGBQUAD e = dib.ColourTableEntry(7);
    EXPECT_EQ(e.rgbRed, 150);
    EXPECT_EQ(e.rgbGreen, 75);
    EXPECT_EQ(e.rgbBlue, 63);
    dib.BlendColourTable(RGB(0, 0, 255), 0);
    EXPECT_EQ(dib.ColourTableEntry(7).rgbRed, 150);
    dib.BlendColourTable(RGB(9, 8, 7), 250);
    e = dib.ColourTableEntry(7);
    EXPECT_EQ(e.rgbRed, 9);
    EXPECT_EQ(e.rgbGreen, 8);
    EXPECT_EQ(e.rgbBlue, 7);
    dib.BlendColourTable(RGB(200, 200, 200), -40);
    EXPECT_EQ(dib.ColourTableEntry(7).rgbRed, 9) << "negative percentages change nothing";
}

TEST(DibPixels, ClearSetsEveryByteIncludingRowPadding) {
    CDib dib;
    ASSERT_TRUE(dib.Create(5, 3, 8));
    dib.Clear(0x5A);
    for (const BYTE b : StoredBytes(dib))
        ASSERT_EQ(b, 0x5A);
}

TEST(DibPixels, RowsAreStoredBottomUp) {
    CDib dib;
    ASSERT_TRUE(dib.Create(5, 3, 8));
    dib.SetPixelIndex(1, 0, 9);
    EXPECT_EQ(dib.Bits()[2 * dib.RowLength() + 1], 9);
    dib.SetPixelIndex(4, 2, 7);
    EXPECT_EQ(dib.Bits()[4], 7);
    EXPECT_EQ(dib.PixelIndex(1, 0), 9);
    EXPECT_EQ(dib.PictureRow(0), dib.Bits() + 2 * dib.RowLength());
    EXPECT_EQ(dib.PictureRow(3), nullptr);
    EXPECT_EQ(dib.PictureRow(-1), nullptr);
}

TEST(DibPixels, PositionsOutsideTheImageWriteNothing) {
    for (const int bits : {1, 4, 8}) {
        CDib dib;
        ASSERT_TRUE(dib.Create(5, 3, bits));
        dib.Clear(0x33);
        const std::vector<BYTE> before = StoredBytes(dib);
        for (const POINT p : {POINT{-1, 0}, POINT{5, 0}, POINT{0, 3}, POINT{0, -1}, POINT{6, 1},
                              POINT{-100000, 2}, POINT{2, 0x7FFFFFFF}})
            dib.SetPixelIndex(p.x, p.y, 0xFF);
        EXPECT_EQ(StoredBytes(dib), before) << bits << " bits per pixel";
        EXPECT_EQ(dib.PixelIndex(5, 0), -1);
    }
}

TEST(DibPixels, PackedDepthsChangeOnlyTheirOwnBits) {
    CDib four;
    ASSERT_TRUE(four.Create(5, 1, 4));
    four.SetPixelIndex(1, 0, 0xF);
    EXPECT_EQ(four.Bits()[0], 0x0F);
    four.SetPixelIndex(0, 0, 0x3A); // only the low four bits count
    EXPECT_EQ(four.Bits()[0], 0xAF);
    EXPECT_EQ(four.PixelIndex(0, 0), 0xA);
    EXPECT_EQ(four.PixelIndex(1, 0), 0xF);

    CDib one;
    ASSERT_TRUE(one.Create(12, 1, 1));
    one.SetPixelIndex(0, 0, 1);
    one.SetPixelIndex(9, 0, 1);
    EXPECT_EQ(one.Bits()[0], 0x80);
    EXPECT_EQ(one.Bits()[1], 0x40);
    one.SetPixelIndex(0, 0, 0);
    EXPECT_EQ(one.Bits()[0], 0x00);
    EXPECT_EQ(one.PixelIndex(9, 0), 1);

    // Direct-colour depths have no indices to set.
    CDib direct;
    ASSERT_TRUE(direct.Create(3, 3, 24));
    direct.SetPixelIndex(0, 0, 5);
    EXPECT_EQ(StoredBytes(direct), std::vector<BYTE>(direct.ImageSize(), 0));
    EXPECT_EQ(direct.PixelIndex(0, 0), -1);
}

TEST(DibDrawing, DrawsItsColourTableColoursAndFollowsLaterChanges) {
    CDib dib;
    ASSERT_TRUE(dib.Create(3, 2, 8));
    dib.SetColourTableEntry(1, 255, 0, 0);
    dib.SetColourTableEntry(2, 0, 0, 255);
    dib.SetPixelIndex(0, 0, 1);
    dib.SetPixelIndex(2, 1, 2);
    Canvas canvas(8, 8);
    ASSERT_TRUE(canvas.IsValid());
    ASSERT_TRUE(dib.Draw(canvas.Dc(), 2, 3));
    EXPECT_EQ(canvas.Pixel(2, 3), RGB(255, 0, 0));
    EXPECT_EQ(canvas.Pixel(4, 4), RGB(0, 0, 255));
    EXPECT_EQ(canvas.Pixel(3, 3), RGB(0, 0, 0));
    EXPECT_EQ(canvas.Pixel(1, 3), RGB(255, 255, 255));
    EXPECT_EQ(canvas.Pixel(5, 3), RGB(255, 255, 255));
    EXPECT_EQ(canvas.CountOtherThanOutside(RGB(255, 255, 255), RECT{2, 3, 5, 5}), 0);

    // A second draw shows what changed since the first one.
    dib.SetPixelIndex(0, 0, 2);
    dib.SetColourTableEntry(1, 0, 255, 0);
    dib.SetPixelIndex(1, 0, 1);
    ASSERT_TRUE(dib.Draw(canvas.Dc(), 2, 3));
    EXPECT_EQ(canvas.Pixel(2, 3), RGB(0, 0, 255));
    EXPECT_EQ(canvas.Pixel(3, 3), RGB(0, 255, 0));
}

TEST(DibDrawing, DrawingPartlyOutsideTheTargetStaysInsideItsBuffer) {
    CDib dib;
    ASSERT_TRUE(dib.Create(6, 6, 8));
    dib.SetColourTableEntry(0, 10, 20, 30);
    Canvas canvas(8, 8);
    ASSERT_TRUE(canvas.ViewSeesPixels());
    ASSERT_TRUE(dib.Draw(canvas.Dc(), -3, -3));
    ASSERT_TRUE(dib.Draw(canvas.Dc(), 5, 5));
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(canvas.Pixel(7, 7), RGB(10, 20, 30));
    EXPECT_EQ(canvas.Pixel(3, 3), RGB(255, 255, 255));
    EXPECT_TRUE(canvas.GuardsIntact());
}

TEST(DibDrawing, CapturesAnAreaOfADeviceContext) {
    Canvas canvas(6, 6);
    canvas.SetPixel(2, 1, RGB(1, 2, 3));
    canvas.SetPixel(4, 3, RGB(200, 100, 50));
    CDib dib;
    ASSERT_TRUE(dib.Create(3, 3, 32));
    ASSERT_TRUE(dib.Capture(canvas.Dc(), 2, 1));
    const auto pixel = [&](int x, int y) {
        return reinterpret_cast<const DWORD*>(dib.PictureRow(y))[x] & 0xFFFFFF;
    };
    EXPECT_EQ(pixel(0, 0), 0x010203u);
    EXPECT_EQ(pixel(2, 2), 0xC86432u);
    EXPECT_EQ(pixel(1, 1), 0xFFFFFFu);

    // Capturing partly beyond the edge leaves the inner part right.
    ASSERT_TRUE(dib.Capture(canvas.Dc(), 3, 2));
    EXPECT_EQ(pixel(1, 1), 0xC86432u);
    EXPECT_TRUE(canvas.GuardsIntact());
}

TEST(DibFile, WritesAHeaderTheSystemReadsBackWithTheSamePixels) {
    CDib dib;
    ASSERT_TRUE(dib.Create(5, 3, 8));
    dib.SetColourTableEntry(0, 255, 255, 255);
    dib.SetColourTableEntry(1, 255, 0, 0);
    dib.SetColourTableEntry(2, 0, 128, 0);
    dib.SetColourTableEntry(3, 0, 0, 255);
    dib.SetPixelIndex(0, 0, 1);
    dib.SetPixelIndex(4, 0, 2);
    dib.SetPixelIndex(2, 1, 3);
    dib.SetPixelIndex(4, 2, 1);
    const TemporaryFile file(L"zapdate_dib8_");
    ASSERT_TRUE(dib.WriteBitmapFile(file.Path()));

    const std::vector<char> bytes = file.Read();
    const size_t offset = 14 + 40 + 256 * 4;
    ASSERT_EQ(bytes.size(), offset + dib.ImageSize());
    // The system reader below does not check the recorded sizes; other readers do.
    EXPECT_EQ(ReadLittleEndian(bytes, 2, 4), bytes.size());
    EXPECT_EQ(ReadLittleEndian(bytes, 10, 4), offset);

    const std::vector<COLORREF> loaded = LoadThroughSystem(file.Path(), 5, 3);
    ASSERT_EQ(loaded.size(), 15u);
    const COLORREF w = RGB(255, 255, 255), r = RGB(255, 0, 0), g = RGB(0, 128, 0),
                   b = RGB(0, 0, 255);
    const std::vector<COLORREF> expected{r, w, w, w, g, w, w, b, w, w, w, w, w, w, r};
    EXPECT_EQ(loaded, expected);
}

TEST(DibFile, DirectColourImagesRoundTripToo) {
    CDib dib;
    ASSERT_TRUE(dib.Create(3, 2, 24));
    // 24-bit rows hold blue, green, red per pixel.
    BYTE* top = dib.PictureRow(0);
    top[0] = 0x30, top[1] = 0x20, top[2] = 0x10;
    BYTE* bottom = dib.PictureRow(1);
    bottom[6] = 0xFF, bottom[7] = 0x00, bottom[8] = 0x80;
    const TemporaryFile file(L"zapdate_dib24_");
    ASSERT_TRUE(dib.WriteBitmapFile(file.Path()));
    EXPECT_EQ(file.Read().size(), 14 + 40 + dib.ImageSize());
    const std::vector<COLORREF> loaded = LoadThroughSystem(file.Path(), 3, 2);
    ASSERT_EQ(loaded.size(), 6u);
    EXPECT_EQ(loaded[0], RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(loaded[1], RGB(0, 0, 0));
    EXPECT_EQ(loaded[5], RGB(0x80, 0x00, 0xFF));
}

TEST(DibFile, FailsForAnEmptyImageOrAnUnwritablePath) {
    CDib empty;
    const TemporaryFile file(L"zapdate_dib_empty_");
    EXPECT_FALSE(empty.WriteBitmapFile(file.Path()));
    EXPECT_EQ(::GetFileAttributesW(file.Path().c_str()), INVALID_FILE_ATTRIBUTES);
    CDib dib;
    ASSERT_TRUE(dib.Create(2, 2, 8));
    EXPECT_FALSE(dib.WriteBitmapFile(L"Z:\\no such folder\\at all\\x.bmp"));
}
