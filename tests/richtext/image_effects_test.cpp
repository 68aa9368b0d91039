#include "richtext/draw_manager.h"

#include "tests/richtext/canvas.h"

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
constexpr std::uint32_t kPixelBlue = 0x0000FF;
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

// An icon of `colour` whose upper half is transparent by its own mask.
platform::UniqueIcon MakeHalfTransparentIcon(int size, COLORREF colour) {
    const platform::UniqueBitmap picture = MakeSolidBitmap(size, size, colour);
    const int rowBytes = (size + 15) / 16 * 2;
    std::vector<BYTE> maskBits(static_cast<size_t>(rowBytes) * size, 0);
    for (int y = 0; y < size / 2; ++y)
        for (int i = 0; i < rowBytes; ++i)
            maskBits[static_cast<size_t>(y) * rowBytes + i] = 0xFF;
    const platform::UniqueBitmap mask(::CreateBitmap(size, size, 1, 1, maskBits.data()));
    ICONINFO info{TRUE, 0, 0, mask.Get(), picture.Get()};
    return platform::UniqueIcon(::CreateIconIndirect(&info));
}

} // namespace

TEST(ImageDrawing, AMaskColourThatMatchesNothingLeavesTheImageOpaque) {
    Canvas canvas(6, 6, kYellow);
    const platform::UniqueBitmap bitmap =
        MakeBitmap(2, 2, {kPixelRed, kPixelGreen, kPixelBlack, kPixelWhite});
    ASSERT_TRUE(Draw(canvas, 1, 1, 2, 2, bitmap.Get(), 0, true, kBlue));
    EXPECT_EQ(canvas.Pixel(1, 1), kRed);
    EXPECT_EQ(canvas.Pixel(2, 1), kGreen);
    EXPECT_EQ(canvas.Pixel(1, 2), kBlack);
    EXPECT_EQ(canvas.Pixel(2, 2), kWhite);
    EXPECT_EQ(canvas.CountOf(kYellow), 32);
}

TEST(ImageDrawing, PixelsOfTheMaskColourShowTheBackgroundButOpaqueBlackStays) {
    Canvas canvas(4, 4, kYellow);
    const platform::UniqueBitmap bitmap =
        MakeBitmap(2, 2, {kPixelRed, kPixelGreen, kPixelBlack, kPixelGreen});
    ASSERT_TRUE(Draw(canvas, 0, 0, 2, 2, bitmap.Get(), 0, true, kGreen));
    EXPECT_EQ(canvas.Pixel(0, 0), kRed);
    EXPECT_EQ(canvas.Pixel(1, 0), kYellow);
    EXPECT_EQ(canvas.Pixel(0, 1), kBlack);
    EXPECT_EQ(canvas.Pixel(1, 1), kYellow);
}

TEST(ImageDrawing, StretchesTheBitmapToTheDrawnSize) {
    Canvas canvas(10, 10);
    const platform::UniqueBitmap bitmap =
        MakeBitmap(2, 2, {kPixelRed, kPixelGreen, kPixelBlue, kPixelBlack});
    ASSERT_TRUE(Draw(canvas, 1, 1, 8, 8, bitmap.Get(), 0));
    EXPECT_EQ(canvas.Pixel(1, 1), kRed);
    EXPECT_EQ(canvas.Pixel(4, 4), kRed);
    EXPECT_EQ(canvas.Pixel(5, 1), kGreen);
    EXPECT_EQ(canvas.Pixel(1, 8), kBlue);
    EXPECT_EQ(canvas.Pixel(8, 8), kBlack);
    EXPECT_EQ(canvas.CountOf(kRed), 16);
    EXPECT_EQ(canvas.CountOf(kWhite), 100 - 64);
}

TEST(ImageColourSteps, GreyDarkerAndLighterWorkPerChannel) {
    const platform::UniqueBitmap bitmap = MakeBitmap(3, 1, {0xC86432, kPixelWhite, 0xF0A000});
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
        Canvas canvas(3, 1, kBlue);
        ASSERT_TRUE(Draw(canvas, 0, 0, 3, 1, bitmap.Get(), c.style)) << c.style;
        EXPECT_EQ(canvas.Pixel(0, 0), c.first) << std::hex << c.style;
        EXPECT_EQ(canvas.Pixel(1, 0), c.second) << std::hex << c.style;
        EXPECT_EQ(canvas.Pixel(2, 0), c.third) << std::hex << c.style;
    }
}

TEST(ImageColourSteps, GreyLeavesEveryGreyLevelAsItIs) {
    std::vector<std::uint32_t> greys;
    for (std::uint32_t v = 0; v < 256; ++v)
        greys.push_back(v << 16 | v << 8 | v);
    const platform::UniqueBitmap bitmap = MakeBitmap(256, 1, greys);
    Canvas canvas(256, 1, kBlue);
    ASSERT_TRUE(Draw(canvas, 0, 0, 256, 1, bitmap.Get(), kImageGrey));
    for (int v = 0; v < 256; ++v)
        ASSERT_EQ(canvas.Pixel(v, 0), RGB(v, v, v)) << v;
}

TEST(ImageColourSteps, TransparentPixelsStayTransparentWhateverTheStyle) {
    const platform::UniqueBitmap bitmap = MakeBitmap(2, 1, {kPixelGreen, 0x204060});
    for (const unsigned style : {0u, unsigned(kImageGrey), unsigned(kImageFill),
                                 unsigned(kImageInvert), unsigned(kImageInvert | kImageLighter)}) {
        Canvas canvas(2, 1, kYellow);
        ASSERT_TRUE(Draw(canvas, 0, 0, 2, 1, bitmap.Get(), style, true, kGreen));
        EXPECT_EQ(canvas.Pixel(0, 0), kYellow) << std::hex << style;
        EXPECT_NE(canvas.Pixel(1, 0), kYellow) << std::hex << style;
    }
}

TEST(ImageShadows, DepthHundredIsBlackAndDepthZeroIsWhite) {
    const platform::UniqueBitmap bitmap = MakeSolidBitmap(6, 6, kRed);
    Canvas black(16, 16);
    ASSERT_TRUE(Draw(black, 2, 2, 6, 6, bitmap.Get(), kImageMonoShadow, false, 0, Shadow(100)));
    EXPECT_EQ(black.Pixel(10, 10), kBlack);
    EXPECT_EQ(black.Pixel(6, 11), kBlack);
    EXPECT_EQ(black.Pixel(7, 7), kRed) << "the picture is drawn over its shadow";
    EXPECT_EQ(black.Pixel(12, 12), kWhite);
    EXPECT_EQ(black.Pixel(1, 1), kWhite);
    EXPECT_EQ(black.CountOf(kBlack), 36 - 4);

    Canvas white(16, 16);
    ASSERT_TRUE(Draw(white, 2, 2, 6, 6, bitmap.Get(), kImageMonoShadow, false, 0, Shadow(0)));
    EXPECT_EQ(white.Pixel(10, 10), kWhite);
    EXPECT_EQ(white.CountOf(kWhite), 256 - 36);

    Canvas deeper(16, 16);
    ASSERT_TRUE(Draw(deeper, 2, 2, 6, 6, bitmap.Get(), kImageMonoShadow, false, 0, Shadow(250)));
    EXPECT_EQ(deeper.Pixel(10, 10), kBlack) << "depths above 100 are 100";
    Canvas shallower(16, 16);
    ASSERT_TRUE(Draw(shallower, 2, 2, 6, 6, bitmap.Get(), kImageMonoShadow, false, 0, Shadow(-20)));
    EXPECT_EQ(shallower.Pixel(10, 10), kWhite);
}

TEST(ImageShadows, MonoShadowMultipliesTheBackground) {
    const platform::UniqueBitmap bitmap = MakeSolidBitmap(4, 4, kRed);
    Canvas canvas(12, 12, RGB(200, 100, 50));
    ASSERT_TRUE(Draw(canvas, 0, 0, 4, 4, bitmap.Get(), kImageMonoShadow, false, 0, Shadow(50)));
    EXPECT_EQ(canvas.Pixel(6, 6), RGB(200 * 127 / 255, 100 * 127 / 255, 50 * 127 / 255));
    EXPECT_EQ(canvas.Pixel(8, 8), RGB(200, 100, 50));
}

TEST(ImageShadows, TransparentPixelsCastNoShadow) {
    const platform::UniqueBitmap bitmap =
        MakeBitmap(2, 2, {kPixelRed, kPixelGreen, kPixelGreen, kPixelGreen});
    Canvas canvas(12, 12);
    ShadowSettings shadow = Shadow(100);
    shadow.offsetX = 5;
    shadow.offsetY = 5;
    ASSERT_TRUE(Draw(canvas, 0, 0, 8, 8, bitmap.Get(), kImageMonoShadow, true, kGreen, shadow));
    EXPECT_EQ(canvas.Pixel(6, 6), kBlack);
    EXPECT_EQ(canvas.Pixel(10, 10), kWhite);
    EXPECT_EQ(canvas.Pixel(10, 6), kWhite);
    EXPECT_EQ(canvas.CountOf(kBlack), 16);
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
}

TEST(ImageShadows, BlurLargerThanTheImageStillDrawsAFaintShadow) {
    const platform::UniqueBitmap bitmap = MakeSolidBitmap(3, 3, kRed);
    Canvas canvas(20, 20);
    ASSERT_TRUE(
        Draw(canvas, 0, 0, 3, 3, bitmap.Get(), kImageGradientShadow, false, 0, Shadow(100, 15)));
    const COLORREF under = canvas.Pixel(5, 5);
    EXPECT_LT(GetRValue(under), 255);
    EXPECT_GT(GetRValue(under), 200);
    ASSERT_TRUE(
        Draw(canvas, 0, 0, 3, 3, bitmap.Get(), kImageGradientShadow, false, 0, Shadow(100, -4)));
    EXPECT_EQ(canvas.Pixel(5, 5), kBlack) << "blur sizes below 1 are 1: a hard shadow";
}

TEST(ImageAlpha, ABitmapWithAlphaIsBlendedByIt) {
    const platform::UniqueBitmap bitmap = MakeBitmap(3, 1, {0x80FF0000, 0x00FF0000, 0xFF0000FF});
    Canvas canvas(3, 1);
    CDrawManager drawer;
    ASSERT_TRUE(drawer.DrawBitmap(canvas.Dc(), 0, 0, 3, 1, bitmap.Get(), false, 0, 0, {}));
    EXPECT_TRUE(drawer.ImageHadAlpha());
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(255, 127, 127));
    EXPECT_EQ(canvas.Pixel(1, 0), kWhite);
    EXPECT_EQ(canvas.Pixel(2, 0), kBlue);

    // Stretched, the alpha channel comes along.
    ASSERT_TRUE(drawer.DrawBitmap(canvas.Dc(), 0, 0, 2, 1, bitmap.Get(), false, 0, 0, {}));
    EXPECT_TRUE(drawer.ImageHadAlpha());

    const platform::UniqueBitmap plain = MakeSolidBitmap(1, 1, kRed);
    ASSERT_TRUE(drawer.DrawBitmap(canvas.Dc(), 0, 0, 1, 1, plain.Get(), false, 0, 0, {}));
    EXPECT_FALSE(drawer.ImageHadAlpha());
}

TEST(ImageAlpha, AlphaShadowFollowsTheCoverage) {
    const platform::UniqueBitmap bitmap = MakeBitmap(2, 1, {0xFFFF0000, 0x00FF0000});
    Canvas canvas(8, 4);
    ShadowSettings shadow = Shadow(100);
    shadow.offsetX = 4;
    shadow.offsetY = 2;
    ASSERT_TRUE(Draw(canvas, 0, 0, 2, 1, bitmap.Get(), kImageMonoShadow, false, 0, shadow));
    EXPECT_EQ(canvas.Pixel(4, 2), kBlack);
    EXPECT_EQ(canvas.Pixel(5, 2), kWhite);
}

TEST(ImageIcons, AnIconsOwnMaskKeepsTheBackground) {
    const platform::UniqueIcon icon = MakeHalfTransparentIcon(8, kBlue);
    ASSERT_TRUE(icon);
    Canvas canvas(20, 20, kYellow);
    CDrawManager drawer;
    ASSERT_TRUE(drawer.DrawIcon(canvas.Dc(), 2, 2, 16, 16, icon.Get(), false, 0, 0, {}));
    EXPECT_EQ(canvas.Pixel(2, 2), kYellow);
    EXPECT_EQ(canvas.Pixel(17, 9), kYellow);
    EXPECT_EQ(canvas.Pixel(2, 10), kBlue);
    EXPECT_EQ(canvas.Pixel(17, 17), kBlue);
    EXPECT_EQ(canvas.CountOf(kBlue), 16 * 8);

    Canvas shadowed(20, 20);
    ASSERT_TRUE(drawer.DrawIcon(shadowed.Dc(), 0, 0, 8, 8, icon.Get(), false, 0, kImageMonoShadow,
                                Shadow(100)));
    EXPECT_EQ(shadowed.Pixel(10, 10), kBlack);
    EXPECT_EQ(shadowed.Pixel(10, 5), kWhite);
    EXPECT_EQ(shadowed.Pixel(1, 1), kWhite);
}

TEST(ImageIcons, AMonochromeIconDrawsItsLowerHalfThroughItsUpperHalf) {
    // 8 x 8: rows 0..3 transparent by the AND half, the XOR half white everywhere.
    std::vector<BYTE> bits(2 * 16, 0);
    for (int y = 0; y < 4; ++y)
        bits[2 * y] = 0xFF;
    for (int y = 8; y < 16; ++y)
        bits[2 * y] = 0xFF;
    const platform::UniqueBitmap mask(::CreateBitmap(8, 16, 1, 1, bits.data()));
    ICONINFO info{TRUE, 0, 0, mask.Get(), nullptr};
    const platform::UniqueIcon icon(::CreateIconIndirect(&info));
    ASSERT_TRUE(icon);
    Canvas canvas(8, 8, kYellow);
    CDrawManager drawer;
    ASSERT_TRUE(drawer.DrawIcon(canvas.Dc(), 0, 0, 8, 8, icon.Get(), false, 0, 0, {}));
    EXPECT_EQ(canvas.Pixel(3, 0), kYellow);
    EXPECT_EQ(canvas.Pixel(3, 3), kYellow);
    EXPECT_EQ(canvas.Pixel(3, 4), kWhite);
    EXPECT_EQ(canvas.Pixel(7, 7), kWhite);
}

TEST(ImageSources, PalettedTrueColourAndDeviceBitmapsAllDraw) {
    // 24-bit and 8-bit device-independent bitmaps, and a bitmap of the screen's format.
    for (const int bitCount : {24, 8}) {
        BITMAPINFO* info = static_cast<BITMAPINFO*>(
            ::operator new(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)));
        ZeroMemory(info, sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
        info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info->bmiHeader.biWidth = 2;
        info->bmiHeader.biHeight = -1;
        info->bmiHeader.biPlanes = 1;
        info->bmiHeader.biBitCount = static_cast<WORD>(bitCount);
        info->bmiColors[1] = RGBQUAD{0, 0, 255, 0};
        info->bmiColors[2] = RGBQUAD{0, 255, 0, 0};
        void* bits = nullptr;
        const platform::UniqueBitmap bitmap(
            ::CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0));
        ::operator delete(info);
        ASSERT_TRUE(bitmap && bits);
        BYTE* row = static_cast<BYTE*>(bits);
        if (bitCount == 24) {
            row[2] = 0xFF;                         // red
            row[3] = 0, row[4] = 0xFF, row[5] = 0; // green
        } else {
            row[0] = 1;
            row[1] = 2;
        }
        Canvas canvas(2, 1, kBlue);
        ASSERT_TRUE(Draw(canvas, 0, 0, 2, 1, bitmap.Get(), 0, true, kGreen)) << bitCount;
        EXPECT_EQ(canvas.Pixel(0, 0), kRed) << bitCount;
        EXPECT_EQ(canvas.Pixel(1, 0), kBlue) << bitCount;
    }

    const HDC screen = ::GetDC(nullptr);
    const platform::UniqueBitmap device(::CreateCompatibleBitmap(screen, 3, 3));
    ::ReleaseDC(nullptr, screen);
    ASSERT_TRUE(device);
    {
        const platform::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
        const platform::SelectedObject selected(dc.Get(), device.Get());
        const RECT all{0, 0, 3, 3};
        const platform::UniqueBrush red(::CreateSolidBrush(kRed));
        ::FillRect(dc.Get(), &all, red.Get());
    }
    Canvas canvas(4, 4);
    CDrawManager drawer;
    ASSERT_TRUE(drawer.DrawBitmap(canvas.Dc(), 1, 1, 3, 3, device.Get(), false, 0, 0, {}));
    EXPECT_FALSE(drawer.ImageHadAlpha());
    EXPECT_EQ(canvas.Pixel(2, 2), kRed);
    EXPECT_EQ(canvas.Pixel(0, 0), kWhite);
}

TEST(ImageBounds, EmptySizesAndMissingImagesDrawNothing) {
    Canvas canvas(10, 10);
    const platform::UniqueBitmap bitmap = MakeSolidBitmap(4, 4, kRed);
    CDrawManager drawer;
    EXPECT_FALSE(drawer.DrawBitmap(canvas.Dc(), 0, 0, 0, 4, bitmap.Get(), false, 0, 0, {}));
    EXPECT_FALSE(drawer.DrawBitmap(canvas.Dc(), 0, 0, 4, 0, bitmap.Get(), false, 0, 0, {}));
    EXPECT_FALSE(drawer.DrawBitmap(canvas.Dc(), 0, 0, -4, 4, bitmap.Get(), false, 0, 0, {}));
    EXPECT_FALSE(drawer.DrawBitmap(canvas.Dc(), 0, 0, 4, 4, nullptr, false, 0, 0, {}));
    EXPECT_FALSE(drawer.DrawBitmap(nullptr, 0, 0, 4, 4, bitmap.Get(), false, 0, 0, {}));
    EXPECT_FALSE(drawer.DrawIcon(canvas.Dc(), 0, 0, 4, 4, nullptr, false, 0, 0, {}));
    EXPECT_EQ(canvas.CountOtherThan(kWhite), 0);
}

TEST(ImageBounds, ImagesAndShadowsPartlyOutsideTheTargetStayInItsBuffer) {
    const platform::UniqueBitmap bitmap =
        MakeBitmap(2, 2, {kPixelRed, kPixelGreen, kPixelBlue, kPixelBlack});
    Canvas canvas(20, 20);
    for (const unsigned style : {0u, unsigned(kImageMonoShadow), unsigned(kImageGradientShadow)}) {
        canvas.Fill(kWhite);
        ASSERT_TRUE(Draw(canvas, -5, -5, 10, 10, bitmap.Get(), style, false, 0, Shadow(100)));
        ASSERT_TRUE(Draw(canvas, 15, 15, 10, 10, bitmap.Get(), style, false, 0, Shadow(100)));
        EXPECT_EQ(canvas.Pixel(0, 0), kBlack) << style;
        EXPECT_EQ(canvas.Pixel(15, 15), kRed) << style;
        EXPECT_EQ(canvas.Pixel(19, 19), kRed) << style;
        EXPECT_EQ(canvas.Pixel(10, 10), kWhite) << style;
        EXPECT_TRUE(canvas.GuardsIntact()) << style;
    }
    ASSERT_TRUE(Draw(canvas, -1000, -1000, 10, 10, bitmap.Get(), kImageGradientShadow));
    EXPECT_TRUE(canvas.GuardsIntact());
}

TEST(AlphaCopy, BlendsBySourcePercent) {
    Canvas source(4, 4, kRed);
    struct Case {
        int percent;
        COLORREF expected;
    };
    for (const Case c : {Case{50, RGB(255, 127, 127)}, Case{25, RGB(255, 191, 191)},
                         Case{100, kRed}, Case{180, kRed}, Case{0, kWhite}, Case{-10, kWhite}}) {
        Canvas target(6, 6);
        CDrawManager drawer;
        ASSERT_TRUE(drawer.AlphaCopy(target.Dc(), 1, 1, 4, 4, source.Dc(), 0, 0, c.percent));
        EXPECT_EQ(target.Pixel(1, 1), c.expected) << c.percent;
        EXPECT_EQ(target.Pixel(4, 4), c.expected) << c.percent;
        EXPECT_EQ(target.Pixel(0, 0), kWhite) << c.percent;
        EXPECT_EQ(target.Pixel(5, 5), kWhite) << c.percent;
    }
}

TEST(AlphaCopy, RefusesEmptyAreasAndStaysInsideTheTarget) {
    Canvas source(4, 4, kRed);
    Canvas target(6, 6);
    CDrawManager drawer;
    EXPECT_FALSE(drawer.AlphaCopy(target.Dc(), 0, 0, 0, 4, source.Dc(), 0, 0, 50));
    EXPECT_FALSE(drawer.AlphaCopy(target.Dc(), 0, 0, 4, -1, source.Dc(), 0, 0, 50));
    EXPECT_FALSE(drawer.AlphaCopy(target.Dc(), 0, 0, 4, 4, nullptr, 0, 0, 50));
    EXPECT_EQ(target.CountOtherThan(kWhite), 0);
    ASSERT_TRUE(drawer.AlphaCopy(target.Dc(), -2, -2, 4, 4, source.Dc(), 0, 0, 50));
    ASSERT_TRUE(drawer.AlphaCopy(target.Dc(), 4, 4, 4, 4, source.Dc(), 0, 0, 50));
    EXPECT_EQ(target.CountOf(RGB(255, 127, 127)), 8);
    EXPECT_TRUE(target.GuardsIntact());
}
