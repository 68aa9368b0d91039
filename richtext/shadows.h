#pragma once
// Drop shadows under images: the image's silhouette darkens the background it falls on, either
// evenly (mono) or softened by a box blur (gradient).

#include "richtext/effect_codes.h"

#include <windows.h>

#include <vector>

namespace richtext {

struct PreparedImage;

// Grey level of the shadow for a depth in percent (taken as 0..100).
int ShadowLevel(int depth);

// Per pixel 0..255: the shadow level where the image covers the background, 255 elsewhere.
std::vector<int> Silhouette(const PreparedImage& image, int depth);

// Per pixel factor (times 255) of the soft shadow: the silhouette shrunk to leave half a blur
// size free on each side, then averaged over a blur-size window (outside counts as 255).
std::vector<int> SoftSilhouette(const std::vector<int>& silhouette, int width, int height,
                                int blurX, int blurY);

// Darkens the background under the image moved by the shadow offset.
bool DrawShadow(HDC dc, int x, int y, const PreparedImage& image, bool gradient,
                const ShadowSettings& settings);

} // namespace richtext
