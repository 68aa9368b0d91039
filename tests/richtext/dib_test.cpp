#include "richtext/dib.h"

#include "tests/richtext/canvas.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using testing_canvas::Canvas;

namespace {

std::vector<BYTE> StoredBytes(const CDib& dib) {
    return std::vector<BYTE>(dib.Bits(), dib.Bits() + dib.ImageSize());
}

} // namespace

TEST(Dib, RowsArePaddedToFourBytesAndTheColourTableSitsBeforeThem) {
    struct Case {
        int bits, rowLength, colours;
    };
    for (const Case c :
         {Case{1, 4, 2}, Case{4, 8, 16}, Case{8, 12, 256}, Case{24, 32, 0}, Case{32, 40, 0}}) {
        CDib dib;
        ASSERT_TRUE(dib.Create(10, 3, c.bits)) << c.bits;
        EXPECT_EQ(dib.RowLength(), c.rowLength) << c.bits;
        EXPECT_EQ(dib.Info()->bmiHeader.biSizeImage, static_cast<DWORD>(c.rowLength * 3));
        EXPECT_EQ(dib.Bits(), reinterpret_cast<const BYTE*>(dib.Info()) + 40 + 4 * c.colours);
        // An entry past the table would be the first pixels.
        dib.SetColourTableEntry(c.colours, 9, 9, 9);
        EXPECT_EQ(dib.Bits()[0], 0) << c.bits;
    }
}

TEST(Dib, RefusesSizesThatAreEmptyOrWouldWrapAndIsEmptyAfterwards) {
    CDib dib;
    ASSERT_TRUE(dib.Create(4, 4, 8));
    for (const SIZE size : {SIZE{0, 4}, SIZE{4, -3}, SIZE{0x7FFFFFFF, 0x7FFFFFFF}})
        EXPECT_FALSE(dib.Create(size.cx, size.cy, 32));
    EXPECT_FALSE(dib.Create(4, 4, 7));
    EXPECT_TRUE(dib.IsEmpty());
    Canvas canvas(4, 4);
    EXPECT_FALSE(dib.Draw(canvas.Dc(), 0, 0));
    EXPECT_EQ(dib.PixelIndex(0, 0), -1);
}

TEST(Dib, PixelIndicesAreStoredBottomUpAndOnlyInTheirOwnBits) {
    CDib four;
    ASSERT_TRUE(four.Create(5, 2, 4));
    four.SetPixelIndex(1, 1, 0xF);
    four.SetPixelIndex(0, 1, 0x3A); // only the low four bits count
    EXPECT_EQ(four.Bits()[0], 0xAF) << "picture row 1 is the first stored row";
    EXPECT_EQ(four.PixelIndex(0, 1), 0xA);

    CDib one;
    ASSERT_TRUE(one.Create(12, 1, 1));
    one.SetPixelIndex(9, 0, 1);
    EXPECT_EQ(one.Bits()[1], 0x40);
    one.Clear(0x33);
    const std::vector<BYTE> before = StoredBytes(one);
    for (const POINT p : {POINT{-1, 0}, POINT{12, 0}, POINT{0, 1}, POINT{2, 0x7FFFFFFF}})
        one.SetPixelIndex(p.x, p.y, 0xFF);
    EXPECT_EQ(StoredBytes(one), before) << "positions outside the image write nothing";
}

TEST(Dib, DrawsItsColourTableColoursAndFollowsLaterChanges) {
    CDib dib;
    ASSERT_TRUE(dib.Create(3, 2, 8));
    dib.SetColourTableEntry(1, 255, 0, 0);
    dib.SetColourTableEntry(2, 0, 0, 255);
    dib.SetPixelIndex(0, 0, 1);
    dib.SetPixelIndex(2, 1, 2);
    Canvas canvas(8, 8);
    ASSERT_TRUE(dib.Draw(canvas.Dc(), 2, 3));
    EXPECT_EQ(canvas.Pixel(2, 3), RGB(255, 0, 0));
    EXPECT_EQ(canvas.Pixel(4, 4), RGB(0, 0, 255));
    EXPECT_EQ(canvas.CountOtherThan(RGB(255, 255, 255)), 6);

    // The second draw shows what changed since the first one.
    dib.SetColourTableEntry(1, 0, 255, 0);
    ASSERT_TRUE(dib.Draw(canvas.Dc(), 2, 3));
    EXPECT_EQ(canvas.Pixel(2, 3), RGB(0, 255, 0));
}

TEST(Dib, CapturesAnAreaAndAStretchedPartOfIt) {
    Canvas canvas(6, 6);
    ::SetPixel(canvas.Dc(), 2, 1, RGB(1, 2, 3));
    ::SetPixel(canvas.Dc(), 4, 3, RGB(200, 100, 50));
    CDib dib;
    ASSERT_TRUE(dib.Create(3, 3, 32));
    const auto pixel = [&](int x, int y) {
        return reinterpret_cast<const DWORD*>(dib.PictureRow(y))[x] & 0xFFFFFF;
    };
    ASSERT_TRUE(dib.Capture(canvas.Dc(), 2, 1));
    EXPECT_EQ(pixel(0, 0), 0x010203u);
    EXPECT_EQ(pixel(2, 2), 0xC86432u);
    // The 6 x 6 area doubled is 12 x 12; the part at (8, 6) starts with pixel (4, 3).
    ASSERT_TRUE(dib.CaptureStretchedPart(canvas.Dc(), 0, 0, 6, 6, SIZE{12, 12}, POINT{8, 6}));
    EXPECT_EQ(pixel(0, 0), 0xC86432u);
    EXPECT_EQ(pixel(1, 1), 0xC86432u);
    EXPECT_EQ(pixel(2, 2), 0xFFFFFFu);
}

TEST(Dib, WritesABitmapFileTheSystemReadsBack) {
    CDib dib;
    ASSERT_TRUE(dib.Create(5, 3, 8));
    dib.SetColourTableEntry(0, 255, 255, 255);
    dib.SetColourTableEntry(1, 255, 0, 0);
    dib.SetPixelIndex(0, 0, 1);
    dib.SetPixelIndex(4, 2, 1);
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path =
        folder + std::wstring(L"dib_test_") + std::to_wstring(::GetCurrentProcessId()) + L".bmp";
    ASSERT_TRUE(dib.WriteBitmapFile(path));
    std::ifstream in(path.c_str(), std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    in.close();
    const size_t offset = 14 + 40 + 256 * 4;
    ASSERT_EQ(bytes.size(), offset + dib.ImageSize());
    EXPECT_EQ(static_cast<BYTE>(bytes[10]) | static_cast<BYTE>(bytes[11]) << 8, offset);

    const platform::UniqueBitmap loaded(static_cast<HBITMAP>(
        ::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    ::DeleteFileW(path.c_str());
    ASSERT_TRUE(loaded);
    const platform::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    const platform::SelectedObject selected(dc.Get(), loaded.Get());
    EXPECT_EQ(::GetPixel(dc.Get(), 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(::GetPixel(dc.Get(), 4, 2), RGB(255, 0, 0));
    EXPECT_EQ(::GetPixel(dc.Get(), 2, 1), RGB(255, 255, 255));
}
