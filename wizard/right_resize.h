#pragma once
// Keeps chosen controls of a page stretched to the page's right edge when the page is resized.

#include <windows.h>

#include <span>

struct RightResizeEntry {
    int controlId;   // -1 is the dialog's first unnamed static; 0 ends a table
    int rightMargin; // dialog units from the page's right edge, before the fixed 7
};

// T supplies `static std::span<const RightResizeEntry> RightResizeTable()` and is a window with
// Handle(). Call StretchToRightEdge from the page's WM_SIZE; the message stays unhandled.
template <typename T>
class CRightResize {
protected:
    void StretchToRightEdge() {
        const HWND page = static_cast<T*>(this)->Handle();
        RECT client;
        ::GetClientRect(page, &client);
        for (const RightResizeEntry& entry : T::RightResizeTable()) {
            if (entry.controlId == 0)
                break;
            StretchControl(page, client, entry);
        }
    }

private:
    static HWND FindControl(HWND page, int id) {
        if (id != -1)
            return ::GetDlgItem(page, id);
        // The dialog's unnamed statics all carry -1 (0xFFFF); the first one is meant.
        for (HWND child = ::GetWindow(page, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (static_cast<WORD>(::GetDlgCtrlID(child)) == 0xFFFF)
                return child;
        }
        return nullptr;
    }

    static int MarginInPixels(HWND page, int margin) {
        RECT units = {0, 0, margin + 7, 0};
        if (::MapDialogRect(page, &units))
            return units.right;
        return margin * 11 / 7 + 11;
    }

    static void StretchControl(HWND page, const RECT& client, const RightResizeEntry& entry) {
        const HWND control = FindControl(page, entry.controlId);
        if (!control)
            return;
        RECT bounds;
        ::GetWindowRect(control, &bounds);
        ::MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&bounds), 2);
        const int width = bounds.right - bounds.left;
        const int height = bounds.bottom - bounds.top;
        if (width < 0 || width > 10000 || height < 0 || height > 1000)
            return;
        const int right = client.right - MarginInPixels(page, entry.rightMargin);
        ::MoveWindow(control, bounds.left, bounds.top, right - bounds.left, height, TRUE);
    }
};
