#include "richtext/draw_manager.h"

#include "richtext/borders.h"
#include "richtext/gradient.h"
#include "richtext/image_effects.h"
#include "richtext/palette_effects.h"
#include "richtext/shadows.h"

using namespace richtext;

namespace {

bool IsGradient(int effect) {
    return effect >= kEffectHGradient && effect <= kEffect3VGradient;
}
bool IsPaletteEffect(int effect) {
    return effect >= kEffectNoise && effect <= kEffectMetal;
}

bool DrawPrepared(HDC dc, int x, int y, const PreparedImage& image, unsigned style,
                  const ShadowSettings& shadow) {
    if (style & (kImageMonoShadow | kImageGradientShadow))
        DrawShadow(dc, x, y, image, (style & kImageGradientShadow) != 0, shadow);
    return DrawPicture(dc, x, y, image, style);
}

} // namespace

void CDrawManager::FillEffect(HDC dc, int effect, const RECT& rect, COLORREF begin, COLORREF middle,
                              COLORREF end, int granularity, int paletteBlend) {
    if (!dc || rect.right <= rect.left || rect.bottom <= rect.top || effect == kEffectTransparent)
        return;
    if (IsGradient(effect)) {
        FillGradient(dc, effect, rect, begin, middle, end);
        return;
    }
    if (IsPaletteEffect(effect) &&
        FillPaletteEffect(dc, effect, rect, PaletteColours{begin, middle, end}, granularity,
                          paletteBlend))
        return;
    // Unknown effects, and palette effects too large to compute, are solid.
    FillSolid(dc, rect, begin);
}

void CDrawManager::DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour,
                            int borderStyle, int width) {
    if (dc)
        DrawBorderLine(dc, x1, y1, x2, y2, colour, borderStyle, width);
}

void CDrawManager::DrawFrame(HDC dc, const RECT& rect, COLORREF light, COLORREF dark,
                             int borderStyle, int width) {
    if (dc)
        DrawBorderFrame(dc, rect, light, dark, borderStyle, width);
}

bool CDrawManager::DrawBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap,
                              bool maskGiven, COLORREF maskColour, unsigned style,
                              const ShadowSettings& shadow) {
    imageHadAlpha_ = false;
    PreparedImage image;
    if (!dc || !PrepareBitmap(image, bitmap, width, height, maskGiven, maskColour))
        return false;
    imageHadAlpha_ = image.hasAlpha;
    return DrawPrepared(dc, x, y, image, style, shadow);
}

bool CDrawManager::DrawIcon(HDC dc, int x, int y, int width, int height, HICON icon, bool maskGiven,
                            COLORREF maskColour, unsigned style, const ShadowSettings& shadow) {
    imageHadAlpha_ = false;
    PreparedImage image;
    if (!dc || !PrepareIcon(image, icon, width, height, maskGiven, maskColour))
        return false;
    imageHadAlpha_ = image.hasAlpha;
    return DrawPrepared(dc, x, y, image, style, shadow);
}

bool CDrawManager::AlphaCopy(HDC destination, int x, int y, int width, int height, HDC source,
                             int sourceX, int sourceY, int percent) {
    return richtext::AlphaCopy(destination, x, y, width, height, source, sourceX, sourceY, percent);
}
