#pragma once
// Drop shadows under images: the image's silhouette darkens the background it falls on, either
// evenly (mono) or softened by a box blur (gradient). Only the part of the shadow that the
// device context shows is computed.

#include "richtext/effect_codes.h"

#include <windows.h>

namespace richtext {

struct ImageSource;
struct PreparedImage;

// Grey level of the shadow for a depth in percent (taken as 0..100).
int ShadowLevel(int depth);

// Darkens the background under the image (top-left corner at (x, y)) moved by the shadow offset,
// where `visible` shows it. `picture`, the part of the image prepared for its own drawing, is
// used when it holds what the shadow needs; otherwise that part is prepared from `source`.
bool DrawShadow(HDC dc, int x, int y, const ImageSource& source, const PreparedImage* picture,
                bool gradient, const ShadowSettings& settings, const RECT& visible);

} // namespace richtext
