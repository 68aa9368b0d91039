#include "richtext/palette_effects.h"

#include "richtext/dib.h"
#include "richtext/effect_codes.h"

#include <algorithm>
#include <cstdlib>

namespace richtext {
namespace {

// The runtime's generator costs a call into the C library per value, more than the rest of a
// pixel together, and effects are drawn again on every hover change. The grain comes from the
// same linear congruential formula instead, seeded once per fill from the runtime's generator.
class Random {
public:
    Random() : state_((static_cast<unsigned>(std::rand()) << 15) ^ std::rand()) {}

    // A value in 0..32767.
    int Next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }
    // A random integer in 0..2g.
    int Grain(int g) { return GrainFromRandom(Next(), g); }
    // A random integer in -g..g.
    int Noise(int g) { return Grain(g) - g; }

private:
    unsigned state_;
};

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

// The computed part of a w x h effect: the image holds the columns from x0 and the stored rows
// from y0 (stored rows run bottom-up, as in the whole image). The formulas see whole-image
// positions, so a part looks exactly like the same area of the whole; they are computed in 64
// bits, as a position times a level exceeds an int beyond about 16 million pixels.
struct Area {
    long long w;
    long long h;
    long long x0;
    long long y0;
};

// Writes every pixel of the part with the value of `shade` (whole-image x and stored row y),
// modulo 256.
template <typename Shade>
void ShadeAll(CDib& dib, const Area& area, Shade shade) {
    for (int y = 0; y < dib.Height(); ++y) {
        BYTE* row = dib.Bits() + static_cast<size_t>(y) * dib.RowLength();
        for (int x = 0; x < dib.Width(); ++x)
            row[x] = static_cast<BYTE>(shade(area.x0 + x, area.y0 + y) & 0xFF);
    }
}

// Writes one pixel given in whole-image positions, when the part holds it.
void PutStored(CDib& dib, const Area& area, long long x, long long y, int value) {
    x -= area.x0;
    y -= area.y0;
    if (x < 0 || y < 0 || x >= dib.Width() || y >= dib.Height())
        return;
    dib.Bits()[static_cast<size_t>(y) * dib.RowLength() + static_cast<size_t>(x)] =
        static_cast<BYTE>(value & 0xFF);
}

int Bump(long long t, int factor) {
    return Cube(static_cast<int>(t)) / 128 / 128 * factor / 128 + 128;
}

// Bevels both sides of a hard bump: a band whose inner edge follows a parabola over the rows,
// so that the outline looks elliptical, ramping from dark on the left and from light on the right.
void HardBumpEdges(CDib& dib, const Area& area, int g, Random& random) {
    const long long w = area.w, h = area.h;
    const int band = static_cast<int>(std::min<long long>(w / 6, 16));
    if (band < 1)
        return;
    const long long span = std::max<long long>(h - 1, 1);
    for (long long y = area.y0; y < area.y0 + dib.Height(); ++y) {
        const long long d = 2 * y - (h - 1);                // -(h-1)..(h-1), zero in the middle row
        const long long inset = band * d / span * d / span; // 0 in the middle, band at the ends
        for (int i = 0; i < band; ++i) {
            const int ramp = i * 128 / band;
            PutStored(dib, area, inset + i, y, ramp + g + random.Noise(g));
            PutStored(dib, area, w - 1 - inset - i, y, 255 - g - ramp + random.Noise(g));
        }
    }
}

void Metal(CDib& dib, const Area& area, int g, Random& random) {
    const long long w = area.w, h = area.h;
    dib.Clear(0);
    const long long maxLength = std::min(w, h) / 2;
    for (int scratch = 0; scratch < 200; ++scratch) {
        const long long x0 = random.Next() % w;
        const long long y0 = random.Next() % h;
        const long long length = random.Next() % (maxLength + 1);
        const int index = random.Next() % 41;
        for (long long i = 0; i < length; ++i) {
            PutStored(dib, area, x0 - i, y0 - i, index);
            PutStored(dib, area, w - 1 - x0 + i, y0 + i, index);
        }
    }
    const long long k = std::max((255 - 2 * g - 40) / 2, 0);
    for (int y = 0; y < dib.Height(); ++y) {
        BYTE* row = dib.Bits() + static_cast<size_t>(y) * dib.RowLength();
        const long long shadeY = k * (area.y0 + y) / h;
        for (int x = 0; x < dib.Width(); ++x)
            row[x] = static_cast<BYTE>(
                (row[x] + k * (w - area.x0 - x) / w + shadeY + random.Grain(g)) & 0xFF);
    }
}

void Shade(CDib& dib, const Area& area, int effect, int g) {
    Random random;
    const long long w = area.w, h = area.h;
    const long long range = 255 - 2 * g;
    switch (effect) {
    case kEffectNoise:
        ShadeAll(dib, area, [&](long long, long long) { return 128 + random.Noise(g); });
        break;
    case kEffectDiagShade: {
        const long long k = range / 2;
        ShadeAll(dib, area, [&](long long x, long long y) {
            return static_cast<int>(k * (w - x) / w + k * y / h) + g + random.Noise(g);
        });
        break;
    }
    case kEffectHShade:
        ShadeAll(dib, area, [&](long long, long long y) {
            return static_cast<int>(range * y / h) + g + random.Noise(g);
        });
        break;
    case kEffectVShade:
        ShadeAll(dib, area, [&](long long x, long long) {
            return static_cast<int>(range * (w - x) / w) + g + random.Noise(g);
        });
        break;
    case kEffectHBump:
        ShadeAll(dib, area, [&](long long, long long y) {
            return Bump(255 * y / h - 127, 128 - g) + random.Noise(g);
        });
        break;
    case kEffectVBump:
        ShadeAll(dib, area, [&](long long x, long long) {
            return Bump(255 * (w - x) / w - 127, 128 - g) + random.Noise(g);
        });
        break;
    case kEffectSoftBump:
        ShadeAll(dib, area, [&](long long x, long long y) {
            const int ty = static_cast<int>(255 * y / h - 127);
            const int tx = static_cast<int>(255 * (w - x) / w - 127);
            const int v = (Cube(tx) / 128 / 128 + Cube(ty) / 128 / 128) * (128 - g) / 128 + 128;
            return std::clamp(v, g, 255 - g) + random.Noise(g);
        });
        break;
    case kEffectHardBump:
        ShadeAll(dib, area, [&](long long, long long y) {
            return Bump(255 * y / h - 127, (64 - g) * 2) + random.Noise(g);
        });
        HardBumpEdges(dib, area, g, random);
        break;
    case kEffectMetal:
        Metal(dib, area, g, random);
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

bool RenderPaletteEffect(CDib& dib, int effect, SIZE whole, const RECT& part,
                         const PaletteColours& colours, int granularity, int paletteBlend) {
    if (effect < kEffectNoise || effect > kEffectMetal || whole.cx < 1 || whole.cy < 1 ||
        part.left < 0 || part.top < 0 || part.right > whole.cx || part.bottom > whole.cy)
        return false;
    if (!dib.Create(part.right - part.left, part.bottom - part.top, 8))
        return false;
    BuildColourTable(dib, colours, paletteBlend);
    const Area area{whole.cx, whole.cy, part.left, whole.cy - part.bottom};
    Shade(dib, area, effect, std::clamp(granularity, 0, kMaxGranularity));
    return true;
}

bool FillPaletteEffect(HDC dc, int effect, const RECT& rect, const PaletteColours& colours,
                       int granularity, int paletteBlend) {
    // Only what the device context shows is computed: the control redraws on every hover change
    // and animation tick, and a cell may be far larger than the window.
    RECT visible = rect;
    RECT clip{};
    const int clipKind = ::GetClipBox(dc, &clip);
    if (clipKind == NULLREGION || (clipKind != ERROR && !::IntersectRect(&visible, &rect, &clip)))
        return true;
    const SIZE whole{rect.right - rect.left, rect.bottom - rect.top};
    const RECT part{visible.left - rect.left, visible.top - rect.top, visible.right - rect.left,
                    visible.bottom - rect.top};
    CDib dib;
    if (!RenderPaletteEffect(dib, effect, whole, part, colours, granularity, paletteBlend))
        return false;
    return dib.Draw(dc, visible.left, visible.top);
}

} // namespace richtext
