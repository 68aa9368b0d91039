#pragma once
// Rule lines and 3D-looking frames in the markup's border styles.

#include <windows.h>

namespace richtext {

// Pen style for a border style: dashed, dotted, dash-dot and dash-dot-dot; all others solid.
int PenStyleFor(int borderStyle);

// A line from (x1, y1) to (x2, y2), the end point excluded; the double style adds a second one
// 2 * width lower (unless vertical) and to the right (unless horizontal).
void DrawBorderLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int borderStyle,
                    int width);

// A frame inside `rect` (right and bottom exclusive): light on the left and top, dark on the
// right and bottom; the double style adds a second frame 2 * width further inside.
void DrawBorderFrame(HDC dc, const RECT& rect, COLORREF light, COLORREF dark, int borderStyle,
                     int width);

} // namespace richtext
