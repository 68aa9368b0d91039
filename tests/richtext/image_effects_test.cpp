#include "richtext/draw_manager.h"

#include "tests/richtext/canvas.h"
#include "bench/support/peak_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace richtext;
using testing_canvas::Canvas;
using testing_canvas::MakeBitmap;
using testing_canvas::MakeSolidBitmap;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);

constexpr std::uint32_t kPixelRed = 0xFF0000;
constexpr std::uint32_t kPixelGreen = 0x00FF00;
constexpr std::uint32_t kPixelBlack = 0x000000;
constexpr std::uint32_t kPixelWhite = 0xFFFFFF;

ShadowSettings Shadow(int depth, int blur = 7) {
    ShadowSettings s;
    s.depth = depth;
    s.blurX = s.blurY = blur;
    return s;
}

bool Draw(Canvas& canvas, int x, int y, int w, int h, HBITMAP bitmap, unsigned style,
          bool maskGiven = false, COLORREF mask = 0, const ShadowSettings& shadow = {}) {
    CDrawManager drawer;
    return drawer.DrawBitmap(canvas.Dc(), x, y, w, h, bitmap, maskGiven, mask, style, shadow);
}

} // namespace

TEST(ImageDrawing, PixelsOfTheMaskColourShowTheBackgroundAndTheImageIsStretched) {
    const platform::UniqueBitmap bitmap =
        MakeBitmap(2, 2, {kPixelRed, kPixelGreen, kPixelBlack, kPixelWhite});
    Canvas canvas(10, 10, kYellow);
    ASSERT_TRUE(Draw(canvas, 1, 1, 8, 8, bitmap.Get(), 0, true, kGreen));
    EXPECT_EQ(canvas.Pixel(4, 4), kRed);
    EXPECT_EQ(canvas.Pixel(5, 1), kYellow) << "the mask colour";
    EXPECT_EQ(canvas.Pixel(1, 8), kBlack) << "opaque black stays";
    EXPECT_EQ(canvas.Pixel(8, 8), kWhite);
    EXPECT_EQ(canvas.CountOf(kRed), 16);
    // A mask colour that matches nothing leaves every pixel opaque.
    ASSERT_TRUE(Draw(canvas, 1, 1, 8, 8, bitmap.Get(), 0, true, kBlue));
    EXPECT_EQ(canvas.Pixel(5, 1), kGreen);
}

TEST(ImageDrawing, ColourStepsWorkPerChannelAndSpareTransparentPixels) {
    const platform::UniqueBitmap bitmap =
        MakeBitmap(4, 1, {0xC86432, kPixelWhite, 0xF0A000, kPixelGreen});
    struct Case {
        unsigned style;
        COLORREF first, second, third;
    };
    for (const Case c : {
             Case{kImageGrey, RGB(124, 124, 124), kWhite, RGB(165, 165, 165)},
             Case{kImageDarker, RGB(150, 75, 37), RGB(191, 191, 191), RGB(180, 120, 0)},
             Case{kImageLighter, RGB(250, 125, 62), kWhite, RGB(255, 200, 0)},
             Case{kImageGrey | kImageDarker, RGB(93, 93, 93), RGB(191, 191, 191),
                  RGB(123, 123, 123)},
             Case{kImageFill, kBlack, kBlack, kBlack},
             Case{kImageInvert, RGB(55, 155, 205), kBlack, RGB(15, 95, 255)},
         }) {
        Canvas canvas(4, 1, kYellow);
        ASSERT_TRUE(Draw(canvas, 0, 0, 4, 1, bitmap.Get(), c.style, true, kGreen)) << c.style;
        EXPECT_EQ(canvas.Pixel(0, 0), c.first) << std::hex << c.style;
        EXPECT_EQ(canvas.Pixel(1, 0), c.second) << std::hex << c.style;
        EXPECT_EQ(canvas.Pixel(2, 0), c.third) << std::hex << c.style;
        EXPECT_EQ(canvas.Pixel(3, 0), kYellow) << std::hex << c.style;
    }
}

TEST(ImageShadows, MonoShadowsMultiplyTheBackgroundByTheirDepthWhereTheImageIsOpaque) {
    const platform::UniqueBitmap bitmap = MakeBitmap(2, 1, {kPixelRed, kPixelGreen});
    struct Case {
        int depth;
        COLORREF shade;
    };
    for (const Case c : {Case{100, kBlack}, Case{250, kBlack}, Case{0, RGB(200, 100, 50)},
                         Case{-20, RGB(200, 100, 50)},
                         Case{50, RGB(200 * 127 / 255, 100 * 127 / 255, 50 * 127 / 255)}}) {
        Canvas canvas(16, 8, RGB(200, 100, 50));
        ASSERT_TRUE(Draw(canvas, 0, 0, 8, 4, bitmap.Get(), kImageMonoShadow, true, kGreen,
                         Shadow(c.depth)));
        EXPECT_EQ(canvas.Pixel(5, 5), c.shade) << c.depth;
        EXPECT_EQ(canvas.Pixel(9, 5), RGB(200, 100, 50)) << c.depth << ": transparent, no shadow";
        EXPECT_EQ(canvas.Pixel(2, 2), kRed) << "the picture is drawn over its shadow";
    }
}

TEST(ImageShadows, GradientShadowFadesOverHalfTheBlurSize) {
    const platform::UniqueBitmap bitmap = MakeSolidBitmap(20, 20, kRed);
    for (const int blur : {7, 6}) {
        Canvas canvas(40, 40);
        ASSERT_TRUE(Draw(canvas, 0, 0, 20, 20, bitmap.Get(), kImageGradientShadow, false, 0,
                         Shadow(100, blur)));
        // Shadow columns 16, 17 and 19 see 4, 3 and 1 of 7 shrunk columns that are dark.
        EXPECT_EQ(canvas.Pixel(20, 12), RGB(109, 109, 109)) << blur;
        EXPECT_EQ(canvas.Pixel(21, 12), RGB(145, 145, 145)) << blur;
        EXPECT_EQ(canvas.Pixel(23, 12), RGB(218, 218, 218)) << blur;
        EXPECT_EQ(canvas.Pixel(12, 20), RGB(109, 109, 109)) << blur;
        EXPECT_EQ(canvas.Pixel(24, 12), kWhite) << blur;
        EXPECT_EQ(canvas.Pixel(19, 19), kRed) << blur;
    }
    Canvas hard(20, 20);
    ASSERT_TRUE(
        Draw(hard, 0, 0, 3, 3, bitmap.Get(), kImageGradientShadow, false, 0, Shadow(100, -4)));
    EXPECT_EQ(hard.Pixel(5, 5), kBlack) << "blur sizes below 1 are 1: a hard shadow";
}

// Only what the target shows is prepared: a large image costs what the window costs, and its
// visible part, shadow included, looks exactly as when it is drawn whole.
TEST(ImageBounds, APartlyVisibleImageIsDrawnAsThePartOfTheWholeImage) {
    std::vector<std::uint32_t> pattern(10 * 10);
    for (size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = (i % 7 == 0) ? kPixelGreen : static_cast<std::uint32_t>(i * 0x020301);
    const platform::UniqueBitmap bitmap = MakeBitmap(10, 10, pattern);
    for (const unsigned style : {0u, unsigned(kImageMonoShadow), unsigned(kImageGradientShadow)}) {
        Canvas whole(80, 80), part(30, 30);
        ASSERT_TRUE(Draw(whole, 0, 0, 40, 40, bitmap.Get(), style, true, kGreen, Shadow(60)));
        ASSERT_TRUE(Draw(part, -23, -17, 40, 40, bitmap.Get(), style, true, kGreen, Shadow(60)));
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x)
                ASSERT_EQ(part.Pixel(x, y), whole.Pixel(x + 23, y + 17))
                    << style << " " << x << "," << y;
    }
}

TEST(ImageBounds, ALargeImageWithItsShadowCostsOnlyWhatShows) {
    const platform::UniqueBitmap bitmap = MakeSolidBitmap(16, 16, kRed);
    Canvas canvas(100, 100);
    const size_t growth = bench::PeakGrowth([&] {
        EXPECT_TRUE(Draw(canvas, -500, -500, 2048, 2048, bitmap.Get(),
                         kImageGradientShadow | kImageGrey, false, 0, Shadow(50)));
    });
    EXPECT_LT(growth, 8 * bench::kMegabyte);
    EXPECT_EQ(canvas.Pixel(50, 50), RGB(76, 76, 76));
}

TEST(ImageAlpha, ABitmapWithAlphaIsBlendedByItAndSoIsItsShadow) {
    const platform::UniqueBitmap bitmap = MakeBitmap(3, 1, {0x80FF0000, 0x00FF0000, 0xFF0000FF});
    Canvas canvas(12, 4);
    CDrawManager drawer;
    ShadowSettings shadow = Shadow(100);
    shadow.offsetX = 4;
    shadow.offsetY = 2;
    ASSERT_TRUE(drawer.DrawBitmap(canvas.Dc(), 0, 0, 3, 1, bitmap.Get(), false, 0, kImageMonoShadow,
                                  shadow));
    EXPECT_TRUE(drawer.ImageHadAlpha());
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(255, 127, 127));
    EXPECT_EQ(canvas.Pixel(1, 0), kWhite);
    EXPECT_EQ(canvas.Pixel(2, 0), kBlue);
    EXPECT_EQ(canvas.Pixel(5, 2), kWhite) << "no alpha, no shadow";
    EXPECT_EQ(canvas.Pixel(6, 2), kBlack);
    const platform::UniqueBitmap plain = MakeSolidBitmap(1, 1, kRed);
    ASSERT_TRUE(drawer.DrawBitmap(canvas.Dc(), 0, 0, 1, 1, plain.Get(), false, 0, 0, {}));
    EXPECT_FALSE(drawer.ImageHadAlpha());
}
