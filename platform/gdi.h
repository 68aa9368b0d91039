#pragma once
// Owners for device contexts and for objects selected into them, so that every drawing routine
// leaves a device context exactly as it found it, whatever path it returns by.

#include "platform/unique_resource.h"

namespace platform {

struct MemoryDcTraits {
    static HDC Invalid() { return nullptr; }
    static bool IsValid(HDC dc) { return dc != nullptr; }
    static void Close(HDC dc) { ::DeleteDC(dc); }
};

// A device context from CreateCompatibleDC.
using UniqueMemoryDc = UniqueResource<MemoryDcTraits>;

// Selects an object into a device context and selects the previous one back on destruction.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(object ? ::SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (previous_ && previous_ != HGDI_ERROR)
            ::SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

    bool Succeeded() const { return previous_ && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Puts the current position of a device context back where it was.
class SavedPenPosition {
public:
    explicit SavedPenPosition(HDC dc) : dc_(dc) { ::GetCurrentPositionEx(dc, &position_); }
    ~SavedPenPosition() { ::MoveToEx(dc_, position_.x, position_.y, nullptr); }
    SavedPenPosition(const SavedPenPosition&) = delete;
    SavedPenPosition& operator=(const SavedPenPosition&) = delete;

private:
    HDC dc_;
    POINT position_{};
};

} // namespace platform
