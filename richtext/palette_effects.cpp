#include "richtext/palette_effects.h"

#include "richtext/dib.h"
#include "richtext/effect_codes.h"

#include <algorithm>
#include <cstdlib>

namespace richtext {
namespace {

// Runtime's generator, in the range 0..32767 on every runtime this is built for.
int Random15() {
    return std::rand() & 0x7FFF;
}

int Grain(int g) {
    return GrainFromRandom(Random15(), g);
}

// A random integer in -g..g.
int Noise(int g) {
    return Grain(g) - g;
}

int Cube(int t) {
    return t * t * t;
}

BYTE Channel(int from, int to, int step) {
    return static_cast<BYTE>((from * (128 - step) + to * step) / 128);
}

void BuildColourTable(CDib& dib, const PaletteColours& colours, int paletteBlend) {
    const COLORREF e = colours.end, m = colours.middle, b = colours.begin;
    for (int i = 0; i <= 128; ++i)
        dib.SetColourTableEntry(i, Channel(GetRValue(e), GetRValue(m), i),
                                Channel(GetGValue(e), GetGValue(m), i),
                                Channel(GetBValue(e), GetBValue(m), i));
    for (int j = 1; j <= 128; ++j)
        dib.SetColourTableEntry(127 + j, Channel(GetRValue(m), GetRValue(b), j),
                                Channel(GetGValue(m), GetGValue(b), j),
                                Channel(GetBValue(m), GetBValue(b), j));
    dib.BlendColourTable(b, paletteBlend);
}

// Writes every stored pixel (x from the left, y the stored row from the first stored one) with
// the value of `shade`, modulo 256.
template <typename Shade>
void ShadeAll(CDib& dib, Shade shade) {
    const int w = dib.Width(), h = dib.Height();
    for (int y = 0; y < h; ++y) {
        BYTE* row = dib.Bits() + static_cast<size_t>(y) * dib.RowLength();
        for (int x = 0; x < w; ++x)
            row[x] = static_cast<BYTE>(shade(x, y) & 0xFF);
    }
}

void PutStored(CDib& dib, int x, int y, int value) {
    if (x < 0 || y < 0 || x >= dib.Width() || y >= dib.Height())
        return;
    dib.Bits()[static_cast<size_t>(y) * dib.RowLength() + x] = static_cast<BYTE>(value & 0xFF);
}

int Bump(int t, int factor) {
    return Cube(t) / 128 / 128 * factor / 128 + 128;
}

// Bevels both sides of a hard bump: a band whose inner edge follows a parabola over the rows,
// so that the outline looks elliptical, ramping from dark on the left and from light on the right.
void HardBumpEdges(CDib& dib, int g) {
    const int w = dib.Width(), h = dib.Height();
    const int band = std::min(w / 6, 16);
    if (band < 1)
        return;
    for (int y = 0; y < h; ++y) {
        const int d = 2 * y - (h - 1); // -(h-1)..(h-1), zero in the middle row
        const int span = std::max(h - 1, 1);
        const int inset = band * d / span * d / span; // 0 in the middle, band at the ends
        for (int i = 0; i < band; ++i) {
            const int ramp = i * 128 / band;
            PutStored(dib, inset + i, y, ramp + g + Noise(g));
            PutStored(dib, w - 1 - inset - i, y, 255 - g - ramp + Noise(g));
        }
    }
}

void Metal(CDib& dib, int g) {
    const int w = dib.Width(), h = dib.Height();
    dib.Clear(0);
    const int maxLength = std::min(w, h) / 2;
    for (int scratch = 0; scratch < 200; ++scratch) {
        const int x0 = Random15() % w;
        const int y0 = Random15() % h;
        const int length = Random15() % (maxLength + 1);
        const int index = Random15() % 41;
        for (int i = 0; i < length; ++i) {
            PutStored(dib, x0 - i, y0 - i, index);
            PutStored(dib, w - 1 - x0 + i, y0 + i, index);
        }
    }
    const int k = std::max((255 - 2 * g - 40) / 2, 0);
    for (int y = 0; y < h; ++y) {
        BYTE* row = dib.Bits() + static_cast<size_t>(y) * dib.RowLength();
        for (int x = 0; x < w; ++x)
            row[x] = static_cast<BYTE>((row[x] + k * (w - x) / w + k * y / h + Grain(g)) & 0xFF);
    }
}

void Shade(CDib& dib, int effect, int g) {
    const int w = dib.Width(), h = dib.Height();
    const int range = 255 - 2 * g;
    switch (effect) {
    case kEffectNoise:
        ShadeAll(dib, [&](int, int) { return 128 + Noise(g); });
        break;
    case kEffectDiagShade: {
        const int k = range / 2;
        ShadeAll(dib, [&](int x, int y) { return k * (w - x) / w + k * y / h + g + Noise(g); });
        break;
    }
    case kEffectHShade:
        ShadeAll(dib, [&](int, int y) { return range * y / h + g + Noise(g); });
        break;
    case kEffectVShade:
        ShadeAll(dib, [&](int x, int) { return range * (w - x) / w + g + Noise(g); });
        break;
    case kEffectHBump:
        ShadeAll(dib, [&](int, int y) { return Bump(255 * y / h - 127, 128 - g) + Noise(g); });
        break;
    case kEffectVBump:
        ShadeAll(dib,
                 [&](int x, int) { return Bump(255 * (w - x) / w - 127, 128 - g) + Noise(g); });
        break;
    case kEffectSoftBump:
        ShadeAll(dib, [&](int x, int y) {
            const int ty = 255 * y / h - 127;
            const int tx = 255 * (w - x) / w - 127;
            const int v = (Cube(tx) / 128 / 128 + Cube(ty) / 128 / 128) * (128 - g) / 128 + 128;
            return std::clamp(v, g, 255 - g) + Noise(g);
        });
        break;
    case kEffectHardBump:
        ShadeAll(dib, [&](int, int y) { return Bump(255 * y / h - 127, (64 - g) * 2) + Noise(g); });
        HardBumpEdges(dib, g);
        break;
    case kEffectMetal:
        Metal(dib, g);
        break;
    }
}

} // namespace

// Granularity 0 has no grain at all, and the quotient is capped: for some granularities it
// would otherwise reach 2g + 1.
int GrainFromRandom(int random15, int granularity) {
    if (granularity <= 0)
        return 0;
    const int divisor = 32767 / std::max(2 * granularity, 1);
    return std::min(random15 / divisor, 2 * granularity);
}

bool RenderPaletteEffect(CDib& dib, int effect, int width, int height,
                         const PaletteColours& colours, int granularity, int paletteBlend) {
    if (effect < kEffectNoise || effect > kEffectMetal)
        return false;
    if (!dib.Create(width, height, 8))
        return false;
    BuildColourTable(dib, colours, paletteBlend);
    Shade(dib, effect, std::clamp(granularity, 0, kMaxGranularity));
    return true;
}

bool FillPaletteEffect(HDC dc, int effect, const RECT& rect, const PaletteColours& colours,
                       int granularity, int paletteBlend) {
    CDib dib;
    if (!RenderPaletteEffect(dib, effect, rect.right - rect.left, rect.bottom - rect.top, colours,
                             granularity, paletteBlend))
        return false;
    return dib.Draw(dc, rect.left, rect.top);
}

} // namespace richtext
