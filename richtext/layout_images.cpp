#include "richtext/layout_images.h"

#include "platform/gdi.h"
#include "platform/resource_modules.h"
#include "richtext/css_length.h"

#include <algorithm>
#include <climits>

namespace richtext {
namespace {

HANDLE LoadFromModule(HMODULE module, int id, UINT type, int width, int height) {
    if (!module || id <= 0 || id > 0xFFFF)
        return nullptr;
    return ::LoadImageW(module, MAKEINTRESOURCEW(id), type, width, height,
                        type == IMAGE_BITMAP ? LR_CREATEDIBSECTION : 0);
}

HANDLE LoadFromResources(int id, UINT type, int width, int height) {
    if (id <= 0 || id > 0xFFFF)
        return nullptr;
    const LPCWSTR resourceType = type == IMAGE_BITMAP ? RT_BITMAP : RT_GROUP_ICON;
    return LoadFromModule(platform::FindResourceModule(resourceType, MAKEINTRESOURCEW(id)), id,
                          type, width, height);
}

HANDLE LoadFromFile(const std::wstring& file, UINT type, int width, int height) {
    if (file.empty())
        return nullptr;
    const UINT flags = LR_LOADFROMFILE | (type == IMAGE_BITMAP ? LR_CREATEDIBSECTION : 0);
    return ::LoadImageW(nullptr, file.c_str(), type, width, height, flags);
}

// The library is loaded only for the image and released at once; the image stays valid.
HANDLE LoadFromLibrary(const ImageAttributes& image, UINT type, int width, int height) {
    if (image.srcdll.empty() || image.iddll <= 0)
        return nullptr;
    const platform::UniqueLibrary library(::LoadLibraryExW(
        image.srcdll.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!library)
        return nullptr;
    return LoadFromModule(library.Get(), image.iddll, type, width, height);
}

HANDLE LoadOwned(const ImageAttributes& image, UINT type, int width, int height) {
    if (HANDLE loaded = LoadFromResources(image.idres, type, width, height))
        return loaded;
    if (HANDLE loaded = LoadFromFile(image.file, type, width, height))
        return loaded;
    return LoadFromLibrary(image, type, width, height);
}

// Handles in the markup are 32-bit numbers; GDI and USER handles fit them on both platforms and
// widen with their sign, as the system's own handle conversions do.
template <typename Handle>
Handle FromNumber(int number) {
    return reinterpret_cast<Handle>(static_cast<INT_PTR>(number));
}

// Images are drawn through bitmaps of their drawn size; beyond this side they would only exhaust
// memory.
constexpr int kMaxImageSide = 2048;

int Scaled(int value, bool percent, int natural) {
    const long long size = percent ? static_cast<long long>(natural) * value / 100 : value;
    return static_cast<int>(std::clamp<long long>(size, 0, kMaxImageSide));
}

} // namespace

bool LayoutImage::LoadBitmap(const ImageAttributes& image) {
    ownedBitmap_.Reset(static_cast<HBITMAP>(LoadOwned(image, IMAGE_BITMAP, 0, 0)));
    bitmap_ = ownedBitmap_ ? ownedBitmap_.Get() : nullptr;
    if (!bitmap_ && image.handle != 0) {
        const HBITMAP given = FromNumber<HBITMAP>(image.handle);
        if (::GetObjectType(given) == OBJ_BITMAP)
            bitmap_ = given;
    }
    return bitmap_ != nullptr;
}

bool LayoutImage::LoadIcon(const ImageAttributes& image, int width, int height) {
    // Icons hold no picture larger than this: a larger one would be the same picture stretched
    // by the loader, at the cost of a bitmap of the drawn size. The drawing stretches it.
    constexpr int kLargestIcon = 256;
    ownedIcon_.Reset(static_cast<HICON>(LoadOwned(image, IMAGE_ICON, std::min(width, kLargestIcon),
                                                  std::min(height, kLargestIcon))));
    icon_ = ownedIcon_ ? ownedIcon_.Get() : nullptr;
    if (!icon_ && image.handle != 0) {
        ICONINFO info{};
        const HICON given = FromNumber<HICON>(image.handle);
        if (::GetIconInfo(given, &info)) {
            platform::UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
            icon_ = given;
        }
    }
    return icon_ != nullptr;
}

SIZE LayoutImage::BitmapSize() const {
    BITMAP info{};
    if (!bitmap_ || !::GetObjectW(bitmap_, sizeof(info), &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

SIZE StandardIconSize() {
    return {::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)};
}

SIZE DrawnImageSize(const ImageAttributes& image, SIZE natural) {
    return {Scaled(image.width, image.widthPercent, natural.cx),
            Scaled(image.height, image.heightPercent, natural.cy)};
}

StripGeometry CutStrip(const ImageAttributes& image, SIZE strip) {
    StripGeometry geometry;
    geometry.cx = image.cx > 0 ? image.cx : strip.cy;
    geometry.cy = image.cy > 0 ? std::min<int>(image.cy, strip.cy) : strip.cy;
    if (geometry.cx > 0 && geometry.cy > 0)
        geometry.count = strip.cx / geometry.cx;
    return geometry;
}

platform::UniqueBitmap ExtractStripImage(HDC dc, HBITMAP strip, const StripGeometry& geometry,
                                         int index) {
    platform::UniqueBitmap image;
    if (geometry.count <= 0 || index < 0 || index >= geometry.count)
        return image;
    image.Reset(::CreateCompatibleBitmap(dc, geometry.cx, geometry.cy));
    platform::UniqueMemoryDc source(::CreateCompatibleDC(dc));
    platform::UniqueMemoryDc target(::CreateCompatibleDC(dc));
    if (!image || !source || !target)
        return {};
    const platform::SelectedObject sourceSelection(source.Get(), strip);
    const platform::SelectedObject targetSelection(target.Get(), image.Get());
    ::BitBlt(target.Get(), 0, 0, geometry.cx, geometry.cy, source.Get(), index * geometry.cx, 0,
             SRCCOPY);
    return image;
}

int AnimationList::Register(int firstIndex, int count, int speed) {
    const size_t ordinal = seen_++;
    if (ordinal < entries_.size()) {
        Entry& entry = entries_[ordinal];
        if (entry.count == count && entry.speed == speed)
            return entry.current;
        entry = Entry{};
    } else {
        entries_.emplace_back();
    }
    Entry& entry = entries_[ordinal];
    entry.count = count;
    entry.speed = speed;
    entry.current = count > 0 ? std::clamp(firstIndex, 0, count - 1) : 0;
    return entry.current;
}

int AnimationList::CurrentIndex(size_t ordinal) const {
    return ordinal < entries_.size() ? entries_[ordinal].current : 0;
}

void AnimationList::EndPass() {
    if (seen_ < entries_.size())
        entries_.resize(seen_);
}

bool AnimationList::Tick() {
    bool changed = false;
    for (Entry& entry : entries_) {
        if (++entry.ticks < entry.speed)
            continue;
        entry.ticks = 0;
        const int previous = entry.current;
        entry.current = entry.count > 0 ? (entry.current + 1) % entry.count : 0;
        changed = changed || entry.current != previous;
    }
    return changed;
}

} // namespace richtext
