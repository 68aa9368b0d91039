#pragma once
// The pictures of the image tags: where each comes from, how big it is drawn, and the state of
// animated image lists.

#include "platform/unique_resource.h"
#include "richtext/html_image_attributes.h"

#include <windows.h>

#include <vector>

namespace richtext {

// A bitmap or icon ready to draw. Handles the markup passes in by number stay the caller's; the
// ones loaded here are destroyed with the object.
class LayoutImage {
public:
    // A bitmap from the program's resources, a file, a library's resources or a handle, in that
    // order of preference.
    bool LoadBitmap(const ImageAttributes& image);
    // The same sources for an icon, loaded at `width` x `height`.
    bool LoadIcon(const ImageAttributes& image, int width, int height);

    HBITMAP Bitmap() const { return bitmap_; }
    HICON Icon() const { return icon_; }
    SIZE BitmapSize() const;

private:
    platform::UniqueBitmap ownedBitmap_;
    platform::UniqueIcon ownedIcon_;
    HBITMAP bitmap_ = nullptr;
    HICON icon_ = nullptr;
};

// The system's standard icon size.
SIZE StandardIconSize();

// The drawn size of an image of `natural` size: `width` and `height` in pixels, or percent of
// the natural size.
SIZE DrawnImageSize(const ImageAttributes& image, SIZE natural);

// The images of a strip cut into `cx` x `cy` pieces; cx and cy default to the strip's height.
struct StripGeometry {
    int cx = 0;
    int cy = 0;
    int count = 0;
};
StripGeometry CutStrip(const ImageAttributes& image, SIZE strip);

// Image `index` of a strip as a bitmap of its own.
platform::UniqueBitmap ExtractStripImage(HDC dc, HBITMAP strip, const StripGeometry& geometry,
                                         int index);

// The animated image lists of a text, in the order they are laid out.
class AnimationList {
public:
    struct Entry {
        int current = 0;
        int count = 0;
        int ticks = 0;
        int speed = 0;
    };

    // Starts a measure pass: entries are matched again in layout order.
    void BeginPass() { seen_ = 0; }
    // The list laid out next; keeps its index when it is the same list as in the last pass.
    int Register(int firstIndex, int count, int speed);
    // The index to draw for the `ordinal`-th animated list of a pass.
    int CurrentIndex(size_t ordinal) const;
    // Drops lists the last measure pass no longer laid out.
    void EndPass();
    void Clear() { entries_.clear(); }
    // Lists registered so far in this pass.
    size_t Seen() const { return seen_; }

    // One tick: true when any list moved to another image.
    bool Tick();
    const std::vector<Entry>& Entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
    size_t seen_ = 0;
};

} // namespace richtext
