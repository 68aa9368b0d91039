#pragma once
// The numbers by which markup names background effects, border styles and image styles.

namespace richtext {

// Background effects (`bgeffect`).
enum BackgroundEffect : int {
    kEffectTransparent = -1,
    kEffectSolid = 0,
    kEffectHGradient = 1,
    kEffectVGradient = 2,
    kEffectHCGradient = 3,
    kEffectVCGradient = 4,
    kEffect3HGradient = 5,
    kEffect3VGradient = 6,
    kEffectNoise = 7,
    kEffectDiagShade = 8,
    kEffectHShade = 9,
    kEffectVShade = 10,
    kEffectHBump = 11,
    kEffectVBump = 12,
    kEffectSoftBump = 13,
    kEffectHardBump = 14,
    kEffectMetal = 15,
};

enum BorderStyle : int {
    kBorderNone = 0,
    kBorderSolid = 1,
    kBorderDashed = 2,
    kBorderDotted = 3,
    kBorderDashDot = 4,
    kBorderDashDotDot = 5,
    kBorderDouble = 6,
};

// Image-style flags; they combine.
enum ImageStyle : unsigned {
    kImageGrey = 0x1,
    kImageDarker = 0x2,
    kImageLighter = 0x4,
    kImageFill = 0x8,
    kImageMonoShadow = 0x100,
    kImageGradientShadow = 0x200,
    kImageInvert = 0x8000,
};

// Where and how dark an image's drop shadow falls.
struct ShadowSettings {
    int offsetX = 4;
    int offsetY = 4;
    int depth = 50; // percent: 0 no darkening, 100 black
    bool gradient = true;
    int blurX = 7;
    int blurY = 7;
};

} // namespace richtext
