#include "richtext/layout_paint.h"

#include "richtext/draw_manager.h"

namespace richtext {
namespace {

ShadowSettings ToShadow(const LayoutShadow& shadow) {
    ShadowSettings settings;
    settings.offsetX = shadow.offsetX;
    settings.offsetY = shadow.offsetY;
    settings.depth = shadow.depth > 100 ? 100 : shadow.depth;
    settings.gradient = shadow.gradient;
    settings.blurX = shadow.blurX;
    settings.blurY = shadow.blurY;
    return settings;
}

} // namespace

void PaintBackground(HDC dc, int effect, const RECT& rect, COLORREF begin, COLORREF middle,
                     COLORREF end, int granularity, int paletteBlend) {
    CDrawManager().FillEffect(dc, effect, rect, begin, middle, end, granularity, paletteBlend);
}

void PaintRule(HDC dc, int x1, int y, int x2, COLORREF colour, int thickness) {
    CDrawManager().DrawLine(dc, x1, y, x2, y, colour, kBorderSolid, thickness);
}

void PaintFrame(HDC dc, const RECT& rect, COLORREF light, COLORREF dark, int borderStyle,
                int width) {
    CDrawManager().DrawFrame(dc, rect, light, dark, borderStyle, width);
}

bool PaintBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, bool maskGiven,
                 COLORREF mask, unsigned style, const LayoutShadow& shadow) {
    return CDrawManager().DrawBitmap(dc, x, y, width, height, bitmap, maskGiven, mask, style,
                                     ToShadow(shadow));
}

bool PaintIcon(HDC dc, int x, int y, int width, int height, HICON icon, bool maskGiven,
               COLORREF mask, unsigned style, const LayoutShadow& shadow) {
    return CDrawManager().DrawIcon(dc, x, y, width, height, icon, maskGiven, mask, style,
                                   ToShadow(shadow));
}

} // namespace richtext
