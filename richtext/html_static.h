#pragma once
// A dialog's static control turned into a rich-text label: the window text is shown as markup
// over a background of its own, with hyperlinks that follow the mouse and open on a click.

#include "platform/unique_resource.h"
#include "richtext/html_drawer.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

class CHtmlStatic {
public:
    // Sent by the drawer when the hovered link changes.
    static constexpr UINT kHoverMessage = WM_APP + 100;
    static constexpr UINT_PTR kAnimationTimer = 260;
    static constexpr COLORREF kNoTextColour = 0xFFFFFFFF;

    // Alignment flags: bits 0-1 horizontal, bits 2-3 vertical; 0 in a field takes it from the
    // window style.
    static constexpr unsigned kAlignLeft = 1;
    static constexpr unsigned kAlignRight = 2;
    static constexpr unsigned kAlignCenter = 3;
    static constexpr unsigned kAlignTop = 4;
    static constexpr unsigned kAlignBottom = 8;
    static constexpr unsigned kAlignMiddle = 12;

    static constexpr int kBackgroundTransparent = 1;
    static constexpr int kBackgroundFilled = 2;

    CHtmlStatic();
    ~CHtmlStatic();
    CHtmlStatic(const CHtmlStatic&) = delete;
    CHtmlStatic& operator=(const CHtmlStatic&) = delete;

    // Takes over an existing static control; false when `window` is not a window or another
    // window is already held. Settings made before (link message, rounded corners, word wrap,
    // animation period) take effect here; the window's text becomes the markup.
    bool SubclassWindow(HWND window);
    HWND Window() const { return window_; }
    void DestroyWindow();

    void SetText(std::wstring_view text);
    const std::wstring& Text() const { return markup_; }

    void SetMargins(int x, int y);
    void SetAlignment(unsigned flags);
    void SetLinkColours(COLORREF normal, bool normalUnderline, COLORREF hover, bool hoverUnderline);
    void SetTextColour(COLORREF colour);
    void SetBackground(COLORREF begin, COLORREF middle, COLORREF end);
    void SetBackground(COLORREF colour) { SetBackground(colour, colour, colour); }
    void SetBackgroundMode(int mode);
    void SetBackgroundEffect(int effect, int granularity);
    // The brush is owned by the control from here on.
    void SetFrame(HBRUSH brush, int width, int height);
    // A rounded rectangle that follows the window's size; (0, 0) is the plain rectangle.
    void SetRoundedCorners(int width, int height);
    void SetWordWrap(bool wrap);
    void SetLinkMessage(UINT message, LPARAM lParam);
    void ShowHyperlink(std::wstring_view text, std::wstring_view target, bool isMessage);
    // Snippet images: the text becomes one image tag. Sizes of -1 are unknown; a mask colour of
    // kNoMask draws every pixel.
    static constexpr COLORREF kNoMask = 0xFFFFFFFF;
    void ShowIcon(int resourceId, int naturalWidth = -1, int naturalHeight = -1);
    void ShowIcon(HICON icon);
    void ShowBitmap(int resourceId, COLORREF mask = kNoMask);
    void ShowBitmap(HBITMAP bitmap, COLORREF mask = kNoMask);
    void ShowAnimatedList(int resourceId, int width = 0, int height = 0, COLORREF mask = kNoMask);
    void ShowAnimatedList(HBITMAP strip, int width = 0, int height = 0, COLORREF mask = kNoMask);
    void ShowListImage(int index, int resourceId, int width = 0, int height = 0,
                       COLORREF mask = kNoMask);
    void ShowListImage(int index, HBITMAP strip, int width = 0, int height = 0,
                       COLORREF mask = kNoMask);
    // Percent of the natural size; 0 fills the text area.
    void SetImageSize(int widthPercent, int heightPercent);

    // Timer period of animated image lists in milliseconds; 0 stops them.
    void SetAnimationPeriod(UINT milliseconds);
    UINT AnimationPeriod() const { return animationPeriod_; }

    CHtmlDrawer& Drawer() { return drawer_; }
    const CHtmlDrawer& Drawer() const { return drawer_; }
    const RECT& TextRect() const { return textRect_; }
    SIZE TextSize() const { return textSize_; }
    HFONT Font() const { return font_; }

    // The hand cursor shown over links, or null when the system has none.
    HCURSOR LinkCursor();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnGetText(WPARAM wParam, LPARAM lParam) const;
    LRESULT OnSetCursor(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint(HDC given);
    void OnTimer(WPARAM id);
    void ApplyFont(HFONT font);
    void SetLinkRules(COLORREF normal, bool normalUnderline, COLORREF hover, bool hoverUnderline);
    void SetEnabledState(bool enabled);
    void ApplyWordWrap(bool wrap);
    void ApplyLinkMessage();

    void Paint(HDC dc);
    bool PrepareBackground(HDC dc, const RECT& client);
    std::wstring LayoutText() const;
    void PlaceText(const RECT& client, SIZE size);
    void RedrawFromCache(HDC dc);
    void RedrawWindowFromCache();
    void DrawFrame(HDC dc, const RECT& client) const;
    void Refresh();
    void RestartAnimationTimer();
    void RebuildRegion();
    void BlitToWindow(HDC dc, HDC picture, const RECT& client) const;
    void ShowSnippet(std::wstring snippet, int naturalWidth, int naturalHeight, bool animated);
    void ShowList(const std::wstring& source, int index, int width, int height, COLORREF mask,
                  bool animated);
    std::wstring SizedSnippet() const;

    HWND window_ = nullptr;
    WNDPROC previousProc_ = ::DefWindowProcW;
    CHtmlDrawer drawer_;
    std::wstring markup_;
    bool imageSnippet_ = false;
    bool enabled_ = true;
    int marginX_ = 0;
    int marginY_ = 0;
    unsigned alignment_ = 0;
    RECT textRect_{};
    SIZE textSize_{};
    HFONT font_ = nullptr;
    COLORREF textColour_;
    int backgroundMode_ = kBackgroundFilled;
    int backgroundEffect_ = 0;
    COLORREF backgroundBegin_;
    COLORREF backgroundMiddle_;
    COLORREF backgroundEnd_;
    int granularity_ = 5;
    platform::UniqueBitmap background_;
    platform::UniqueBrush frameBrush_;
    int frameWidth_ = 1;
    int frameHeight_ = 1;
    UINT animationPeriod_ = 0;
    UINT linkMessage_ = 0;
    LPARAM linkLParam_ = 0;
    std::optional<bool> wordWrap_; // set before the window was known
    platform::UniqueRegion region_;
    int cornerWidth_ = 0;
    int cornerHeight_ = 0;
    bool regionFollowsSize_ = false;
    std::wstring snippet_;
    int imageWidthPercent_ = 100;
    int imageHeightPercent_ = 100;
    int naturalWidth_ = -1;
    int naturalHeight_ = -1;

    bool linkCursorLoaded_ = false;
    HCURSOR linkCursor_ = nullptr;
    platform::UniqueCursor ownLinkCursor_; // a copy made when the system has no hand cursor
};
