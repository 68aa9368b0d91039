#pragma once
// The gallery's own picture, drawn at start-up so the samples need no artwork file: a rounded
// product box on a magenta mask colour.

#include "platform/unique_resource.h"

#include <windows.h>

namespace gallery {

// The colour around the box, for the markup's `mask` attribute (0x00BBGGRR).
constexpr COLORREF kPictureMask = RGB(255, 0, 255);
constexpr int kPictureSize = 48;

platform::UniqueBitmap MakeSamplePicture();

} // namespace gallery
