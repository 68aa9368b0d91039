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

// Prepares and draws only the part of the image, and of its shadow, that the device context
// shows: a large image costs no more than one of the window's size.
bool DrawImage(HDC dc, int x, int y, const ImageSource& source, unsigned style,
               const ShadowSettings& shadow, bool& hadAlpha) {
    hadAlpha = false;
    if (!dc || source.width < 1 || source.height < 1 || (!source.bitmap && !source.icon))
        return false;
    const RECT visible = VisibleArea(dc);
    const RECT part = VisiblePart(RECT{x, y, x + source.width, y + source.height}, visible);
    PreparedImage picture;
    const bool shown = !::IsRectEmpty(&part);
    if (shown && !PrepareImage(picture, source, part))
        return false;
    hadAlpha = picture.hasAlpha;
    if (style & (kImageMonoShadow | kImageGradientShadow))
        DrawShadow(dc, x, y, source, shown ? &picture : nullptr,
                   (style & kImageGradientShadow) != 0, shadow, visible);
    return !shown || DrawPicture(dc, x, y, picture, style);
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
    const ImageSource source{bitmap, nullptr, width, height, maskGiven, maskColour};
    return DrawImage(dc, x, y, source, style, shadow, imageHadAlpha_);
}

bool CDrawManager::DrawIcon(HDC dc, int x, int y, int width, int height, HICON icon, bool maskGiven,
                            COLORREF maskColour, unsigned style, const ShadowSettings& shadow) {
    const ImageSource source{nullptr, icon, width, height, maskGiven, maskColour};
    return DrawImage(dc, x, y, source, style, shadow, imageHadAlpha_);
}

bool CDrawManager::AlphaCopy(HDC destination, int x, int y, int width, int height, HDC source,
                             int sourceX, int sourceY, int percent) {
    return richtext::AlphaCopy(destination, x, y, width, height, source, sourceX, sourceY, percent);
}
