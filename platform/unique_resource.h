#pragma once
// Move-only owners of operating-system handles. Every handle of the program lives in one of
// these, so nothing outside this folder closes a handle by hand.

#include <windows.h>

#include <utility>

namespace platform {

// Traits: static Value Invalid(); static bool IsValid(Value); static void Close(Value).
template <typename Traits>
class UniqueResource {
public:
    using Value = decltype(Traits::Invalid());

    UniqueResource() = default;
    explicit UniqueResource(Value value) : value_(value) {}
    ~UniqueResource() { Reset(); }

    UniqueResource(UniqueResource&& other) noexcept : value_(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Value Get() const { return value_; }
    bool IsValid() const { return Traits::IsValid(value_); }
    explicit operator bool() const { return IsValid(); }

    // Gives up ownership without closing.
    Value Release() { return std::exchange(value_, Traits::Invalid()); }

    // Closes the held value (if any) and takes `value`.
    void Reset(Value value = Traits::Invalid()) {
        const Value old = std::exchange(value_, value);
        if (Traits::IsValid(old))
            Traits::Close(old);
    }

    // For APIs that return a handle through an out pointer; closes the held value first.
    Value* Put() {
        Reset();
        return &value_;
    }

private:
    Value value_ = Traits::Invalid();
};

struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};

struct FindHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::FindClose(h); }
};

struct RegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static bool IsValid(HKEY k) { return k != nullptr; }
    static void Close(HKEY k) { ::RegCloseKey(k); }
};

struct LibraryTraits {
    static HMODULE Invalid() { return nullptr; }
    static bool IsValid(HMODULE m) { return m != nullptr; }
    static void Close(HMODULE m) { ::FreeLibrary(m); }
};

struct GdiObjectTraits {
    static HGDIOBJ Invalid() { return nullptr; }
    static bool IsValid(HGDIOBJ o) { return o != nullptr; }
    static void Close(HGDIOBJ o) { ::DeleteObject(o); }
};

struct ViewTraits {
    static void* Invalid() { return nullptr; }
    static bool IsValid(void* p) { return p != nullptr; }
    static void Close(void* p) { ::UnmapViewOfFile(p); }
};

struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static bool IsValid(HICON i) { return i != nullptr; }
    static void Close(HICON i) { ::DestroyIcon(i); }
};

struct CursorTraits {
    static HCURSOR Invalid() { return nullptr; }
    static bool IsValid(HCURSOR c) { return c != nullptr; }
    static void Close(HCURSOR c) { ::DestroyCursor(c); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFindHandle = UniqueResource<FindHandleTraits>;
using UniqueRegKey = UniqueResource<RegKeyTraits>;
using UniqueLibrary = UniqueResource<LibraryTraits>;
using UniqueGdiObject = UniqueResource<GdiObjectTraits>;
using UniqueView = UniqueResource<ViewTraits>;
using UniqueIcon = UniqueResource<IconTraits>;
using UniqueCursor = UniqueResource<CursorTraits>;

// A GDI object of a known type (HFONT, HBITMAP, HBRUSH, HPEN, HRGN).
template <typename T>
class UniqueGdi {
public:
    UniqueGdi() = default;
    explicit UniqueGdi(T object) : object_(object) {}
    T Get() const { return static_cast<T>(object_.Get()); }
    explicit operator bool() const { return object_.IsValid(); }
    void Reset(T object = nullptr) { object_.Reset(object); }
    T Release() { return static_cast<T>(object_.Release()); }

private:
    UniqueGdiObject object_;
};

using UniqueFont = UniqueGdi<HFONT>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniquePen = UniqueGdi<HPEN>;
using UniqueRegion = UniqueGdi<HRGN>;

} // namespace platform
