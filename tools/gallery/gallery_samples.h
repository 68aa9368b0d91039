#pragma once
// The markup of the gallery's samples, one text per control.

#include <windows.h>

#include <string>

namespace gallery {

std::wstring BannerMarkup();
std::wstring TextMarkup();
std::wstring TableMarkup();
// `picture` is the generated bitmap, shown by its handle.
std::wstring ImagesMarkup(HBITMAP picture);
// The links and disabled samples start with a message link, so that a click near the top-left
// corner of the text lands on it.
std::wstring LinksMarkup();
std::wstring DisabledMarkup();

} // namespace gallery
