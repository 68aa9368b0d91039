#include "richtext/dib.h"

#include "tests/richtext/canvas.h"

#include <gtest/gtest.h>

#include <vector>

using testing_canvas::Canvas;

namespace {

std::vector<BYTE> StoredBytes(const CDib& dib) {
    return std::vector<BYTE>(dib.Bits(), dib.Bits() + dib.ImageSize());
}

} // namespace

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
