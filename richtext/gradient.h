#pragma once
// Solid and gradient background fills. A gradient is 64 solid bands, so its cost does not grow
// with the area.

#include <windows.h>

namespace richtext {

void FillSolid(HDC dc, const RECT& rect, COLORREF colour);

// Effects 1..6: horizontal, vertical, centred and three-colour gradients.
void FillGradient(HDC dc, int effect, const RECT& rect, COLORREF begin, COLORREF middle,
                  COLORREF end);

// Channel of band `band` (0..63) on a ramp from `from` to `to`.
COLORREF GradientBandColour(COLORREF from, COLORREF to, int band);

} // namespace richtext
