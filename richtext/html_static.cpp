#include "richtext/html_static.h"

#include "platform/gdi.h"
#include "richtext/html_link_opener.h"
#include "richtext/layout_paint.h"

#include <algorithm>
#include <cwchar>

namespace {

constexpr wchar_t kObjectProperty[] = L"Zapdate.CHtmlStatic";
constexpr int kPaletteBlend = 5;

std::wstring Format(const wchar_t* format, auto... values) {
    wchar_t buffer[256];
    const int length = std::swprintf(buffer, std::size(buffer), format, values...);
    return length > 0 ? std::wstring(buffer, static_cast<size_t>(length)) : std::wstring();
}

// Colours in rules and tags are written as the COLORREF number (0xBBGGRR).
unsigned RuleColour(COLORREF colour) {
    return colour & 0xFFFFFF;
}

// Client coordinates of a mouse message; signed, as they go negative while the mouse is captured.
POINT MessagePoint(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

std::wstring LinkRule(COLORREF colour, bool underline) {
    return Format(L"color:0x%06X; text-decoration:", RuleColour(colour)) +
           (underline ? L"underline" : L"none");
}

HFONT InitialFont(HWND window) {
    if (const auto font = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)))
        return font;
    if (const auto font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)))
        return font;
    return static_cast<HFONT>(::GetStockObject(ANSI_VAR_FONT));
}

std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

// The winhlp32 hand, for systems without a hand cursor of their own.
HCURSOR CopyHelpHandCursor() {
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\winhlp32.exe";
    const platform::UniqueLibrary help(
        ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!help)
        return nullptr;
    const HCURSOR cursor = ::LoadCursorW(help.Get(), MAKEINTRESOURCEW(106));
    return cursor ? static_cast<HCURSOR>(::CopyImage(cursor, IMAGE_CURSOR, 0, 0, 0)) : nullptr;
}

} // namespace

CHtmlStatic::CHtmlStatic()
    : textColour_(::GetSysColor(COLOR_WINDOWTEXT)), backgroundBegin_(::GetSysColor(COLOR_3DFACE)),
      backgroundMiddle_(backgroundBegin_), backgroundEnd_(backgroundBegin_) {
    const COLORREF blue = RGB(0, 0, 255);
    SetLinkRules(blue, false, blue, true);
    // The hand would otherwise stay up while the browser starts.
    drawer_.SetLinkOpener([](const std::wstring& target) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        richtext::OpenLink(target);
    });
}

CHtmlStatic::~CHtmlStatic() {
    if (window_) {
        ::KillTimer(window_, kAnimationTimer);
        if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window_, GWLP_WNDPROC)) == WindowProc)
            ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
        ::RemovePropW(window_, kObjectProperty);
    }
}

bool CHtmlStatic::SubclassWindow(HWND window) {
    if (window_ || !::IsWindow(window))
        return false;
    const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR wanted = (style & ~static_cast<LONG_PTR>(WS_HSCROLL | WS_VSCROLL)) | SS_NOTIFY;
    if (wanted != style)
        ::SetWindowLongPtrW(window, GWL_STYLE, wanted);

    window_ = window;
    SetEnabledState((wanted & WS_DISABLED) == 0);
    drawer_.SetHoverNotify(window, kHoverMessage, 0);
    ApplyFont(InitialFont(window));
    imageSnippet_ = false;
    snippet_.clear();
    markup_ = WindowText(window);

    ::SetPropW(window, kObjectProperty, this);
    previousProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc)));
    if (!previousProc_)
        previousProc_ = ::DefWindowProcW;

    // What the setters could only store without a window.
    ApplyLinkMessage();
    if (wordWrap_)
        ApplyWordWrap(*wordWrap_);
    wordWrap_.reset();
    RebuildRegion();
    RestartAnimationTimer();
    Refresh();
    return true;
}

void CHtmlStatic::DestroyWindow() {
    if (window_)
        ::DestroyWindow(window_);
}

LRESULT CALLBACK CHtmlStatic::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<CHtmlStatic*>(::GetPropW(window, kObjectProperty));
    if (!self || self->window_ != window)
        return ::DefWindowProcW(window, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT CHtmlStatic::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcW(previousProc_, window_, message, wParam, lParam);
}

LRESULT CHtmlStatic::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_PRINTCLIENT:
        OnPaint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETTEXT:
        SetText(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"");
        return TRUE;
    case WM_GETTEXT:
        return OnGetText(wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(markup_.size());
    case WM_SETFONT:
        ApplyFont(reinterpret_cast<HFONT>(wParam));
        Refresh();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_SIZE: {
        const LRESULT result = CallPrevious(message, wParam, lParam);
        if (regionFollowsSize_)
            RebuildRegion();
        else
            region_.Reset();
        // A captured picture is of the old size too, so it goes as well.
        background_.Reset();
        Refresh();
        return result;
    }
    case WM_ENABLE: {
        const LRESULT result = CallPrevious(message, wParam, lParam);
        SetEnabledState(wParam != 0);
        Refresh();
        return result;
    }
    case WM_MOUSEMOVE: {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
        ::TrackMouseEvent(&track);
        if (enabled_)
            drawer_.TrackMouse(MessagePoint(lParam));
        return CallPrevious(message, wParam, lParam);
    }
    case WM_MOUSELEAVE: {
        POINT point{};
        ::GetCursorPos(&point);
        ::ScreenToClient(window_, &point);
        // Hot areas may reach past the client area (a label wider or taller than its window),
        // but a mouse that has left is over none of them.
        RECT client{};
        ::GetClientRect(window_, &client);
        if (::PtInRect(&client, point))
            drawer_.TrackMouse(point);
        else
            drawer_.LeaveLinks();
        return 0;
    }
    case WM_SETCURSOR:
        return OnSetCursor(message, wParam, lParam);
    case WM_LBUTTONDOWN: {
        const POINT point{MessagePoint(lParam)};
        if (enabled_ && ::PtInRect(&textRect_, point))
            drawer_.ClickAt(point);
        return CallPrevious(message, wParam, lParam);
    }
    case WM_TIMER:
        if (wParam == kAnimationTimer) {
            OnTimer(wParam);
            return 0;
        }
        return CallPrevious(message, wParam, lParam);
    case kHoverMessage:
        RedrawWindowFromCache();
        return 0;
    case WM_NCDESTROY: {
        const HWND window = window_;
        const LRESULT result = CallPrevious(message, wParam, lParam);
        ::KillTimer(window, kAnimationTimer);
        if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC)) == WindowProc)
            ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
        ::RemovePropW(window, kObjectProperty);
        window_ = nullptr;
        return result;
    }
    default:
        return CallPrevious(message, wParam, lParam);
    }
}

LRESULT CHtmlStatic::OnGetText(WPARAM wParam, LPARAM lParam) const {
    auto* buffer = reinterpret_cast<wchar_t*>(lParam);
    if (wParam < 1 || !buffer)
        return 0;
    const size_t count = std::min(markup_.size(), static_cast<size_t>(wParam) - 1);
    std::wmemcpy(buffer, markup_.data(), count);
    buffer[count] = L'\0';
    return static_cast<LRESULT>(count);
}

LRESULT CHtmlStatic::OnSetCursor(UINT message, WPARAM wParam, LPARAM lParam) {
    if (enabled_) {
        POINT point{};
        ::GetCursorPos(&point);
        ::ScreenToClient(window_, &point);
        drawer_.TrackMouse(point);
        const int index = drawer_.HitTest(point);
        if (index >= 0 && !drawer_.HotAreas()[static_cast<size_t>(index)].target.empty()) {
            if (const HCURSOR cursor = LinkCursor()) {
                ::SetCursor(cursor);
                return TRUE;
            }
        }
    }
    return CallPrevious(message, wParam, lParam);
}

HCURSOR CHtmlStatic::LinkCursor() {
    if (!linkCursorLoaded_) {
        linkCursorLoaded_ = true;
        linkCursor_ = ::LoadCursorW(nullptr, IDC_HAND);
        if (!linkCursor_) {
            ownLinkCursor_.Reset(CopyHelpHandCursor());
            linkCursor_ = ownLinkCursor_.Get();
        }
    }
    return linkCursor_;
}

void CHtmlStatic::OnPaint(HDC given) {
    if (given) {
        Paint(given);
        return;
    }
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(window_, &paint);
    if (dc)
        Paint(dc);
    ::EndPaint(window_, &paint);
}

void CHtmlStatic::OnTimer(WPARAM) {
    if (!enabled_)
        return;
    drawer_.Tick();
    RedrawWindowFromCache();
}

void CHtmlStatic::ApplyFont(HFONT font) {
    font_ = font;
    LOGFONTW description{};
    if (!font || ::GetObjectW(font, sizeof(description), &description) == 0)
        return;
    std::wstring rule =
        Format(L"font-size:%dlf; color:0x%06X; font-family:%ls; font-weight:%d",
               static_cast<int>(description.lfHeight), RuleColour(::GetSysColor(COLOR_WINDOWTEXT)),
               description.lfFaceName, static_cast<int>(description.lfWeight));
    if (description.lfItalic)
        rule += L"; font-style:italic";
    drawer_.SetStyleRule(L"body", rule);
}

void CHtmlStatic::SetLinkRules(COLORREF normal, bool normalUnderline, COLORREF hover,
                               bool hoverUnderline) {
    drawer_.SetStyleRule(L"a:link", LinkRule(normal, normalUnderline));
    drawer_.SetStyleRule(L"a:hover", LinkRule(hover, hoverUnderline));
}

void CHtmlStatic::SetEnabledState(bool enabled) {
    enabled_ = enabled;
    drawer_.SetEnabled(enabled);
}

void CHtmlStatic::SetText(std::wstring_view text) {
    imageSnippet_ = false;
    snippet_.clear();
    markup_.assign(text);
    Refresh();
}

void CHtmlStatic::SetMargins(int x, int y) {
    marginX_ = std::max(x, 0);
    marginY_ = std::max(y, 0);
    Refresh();
}

void CHtmlStatic::SetAlignment(unsigned flags) {
    alignment_ = flags & 0x0F;
    Refresh();
}

void CHtmlStatic::SetLinkColours(COLORREF normal, bool normalUnderline, COLORREF hover,
                                 bool hoverUnderline) {
    SetLinkRules(normal, normalUnderline, hover, hoverUnderline);
    Refresh();
}

void CHtmlStatic::SetTextColour(COLORREF colour) {
    textColour_ = colour;
    Refresh();
}

void CHtmlStatic::SetBackground(COLORREF begin, COLORREF middle, COLORREF end) {
    backgroundBegin_ = begin;
    backgroundMiddle_ = middle;
    backgroundEnd_ = end;
    background_.Reset();
    Refresh();
}

void CHtmlStatic::SetBackgroundMode(int mode) {
    backgroundMode_ = mode;
    background_.Reset();
    Refresh();
}

void CHtmlStatic::SetBackgroundEffect(int effect, int granularity) {
    backgroundEffect_ = effect;
    granularity_ = granularity;
    background_.Reset();
    Refresh();
}

void CHtmlStatic::SetFrame(HBRUSH brush, int width, int height) {
    frameBrush_.Reset(brush);
    frameWidth_ = width;
    frameHeight_ = height;
    Refresh();
}

void CHtmlStatic::SetRoundedCorners(int width, int height) {
    cornerWidth_ = std::max(width, 0);
    cornerHeight_ = std::max(height, 0);
    regionFollowsSize_ = cornerWidth_ > 0 || cornerHeight_ > 0;
    RebuildRegion();
    Refresh();
}

void CHtmlStatic::RebuildRegion() {
    region_.Reset();
    if (!window_ || !regionFollowsSize_)
        return;
    RECT client{};
    ::GetClientRect(window_, &client);
    region_.Reset(::CreateRoundRectRgn(0, 0, client.right + 1, client.bottom + 1, cornerWidth_,
                                       cornerHeight_));
}

void CHtmlStatic::SetWordWrap(bool wrap) {
    if (!window_) {
        wordWrap_ = wrap;
        return;
    }
    ApplyWordWrap(wrap);
    Refresh();
}

void CHtmlStatic::ApplyWordWrap(bool wrap) {
    const LONG_PTR style = ::GetWindowLongPtrW(window_, GWL_STYLE);
    const LONG_PTR noWrapBits = 0x0C;
    ::SetWindowLongPtrW(window_, GWL_STYLE, wrap ? (style & ~noWrapBits) : (style | noWrapBits));
}

void CHtmlStatic::SetLinkMessage(UINT message, LPARAM lParam) {
    linkMessage_ = message;
    linkLParam_ = lParam;
    ApplyLinkMessage();
}

// The message goes to the control's parent, which is known once the window is.
void CHtmlStatic::ApplyLinkMessage() {
    if (window_)
        drawer_.SetLinkMessage(::GetParent(window_), linkMessage_, linkLParam_);
}

void CHtmlStatic::ShowHyperlink(std::wstring_view text, std::wstring_view target, bool isMessage) {
    const std::wstring attribute = isMessage ? L"msg" : L"href";
    imageSnippet_ = false;
    SetText(L"<a " + attribute + L"=\"" + std::wstring(target) + L"\">" + std::wstring(text) +
            L"</a>");
}

namespace {

std::wstring HandleSource(HGDIOBJ handle) {
    // GDI handles carry their meaning in the low 32 bits on both builds.
    return Format(L"handle=0x%X", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(handle)));
}

std::wstring MaskAttribute(COLORREF mask) {
    return mask == CHtmlStatic::kNoMask ? std::wstring() : Format(L" mask=0x%06X", mask & 0xFFFFFF);
}

} // namespace

void CHtmlStatic::ShowIcon(int resourceId, int naturalWidth, int naturalHeight) {
    ShowSnippet(Format(L"<icon idres=%d>", resourceId), naturalWidth, naturalHeight, false);
}

void CHtmlStatic::ShowIcon(HICON icon) {
    ShowSnippet(L"<icon " + HandleSource(icon) + L">", -1, -1, false);
}

void CHtmlStatic::ShowBitmap(int resourceId, COLORREF mask) {
    ShowSnippet(Format(L"<bmp idres=%d", resourceId) + MaskAttribute(mask) + L">", -1, -1, false);
}

void CHtmlStatic::ShowBitmap(HBITMAP bitmap, COLORREF mask) {
    ShowSnippet(L"<bmp " + HandleSource(bitmap) + MaskAttribute(mask) + L">", -1, -1, false);
}

void CHtmlStatic::ShowAnimatedList(int resourceId, int width, int height, COLORREF mask) {
    ShowList(Format(L"idres=%d", resourceId), 0, width, height, mask, true);
}

void CHtmlStatic::ShowAnimatedList(HBITMAP strip, int width, int height, COLORREF mask) {
    ShowList(HandleSource(strip), 0, width, height, mask, true);
}

void CHtmlStatic::ShowListImage(int index, int resourceId, int width, int height, COLORREF mask) {
    ShowList(Format(L"idres=%d", resourceId), index, width, height, mask, false);
}

void CHtmlStatic::ShowListImage(int index, HBITMAP strip, int width, int height, COLORREF mask) {
    ShowList(HandleSource(strip), index, width, height, mask, false);
}

void CHtmlStatic::ShowList(const std::wstring& source, int index, int width, int height,
                           COLORREF mask, bool animated) {
    std::wstring snippet = Format(L"<ilst index=%d ", index) + source + MaskAttribute(mask);
    const bool sized = width > 0 && height > 0;
    if (sized)
        snippet += Format(L" cx=%d, cy=%d", width, height);
    if (animated)
        snippet += L" speed=1";
    snippet += L">";
    ShowSnippet(std::move(snippet), sized ? width : -1, sized ? height : -1, animated);
}

void CHtmlStatic::ShowSnippet(std::wstring snippet, int naturalWidth, int naturalHeight,
                              bool animated) {
    snippet_ = std::move(snippet);
    naturalWidth_ = naturalWidth;
    naturalHeight_ = naturalHeight;
    imageSnippet_ = true;
    if (animated) {
        RestartAnimationTimer();
    } else if (window_) {
        ::KillTimer(window_, kAnimationTimer);
    }
    markup_ = SizedSnippet();
    Refresh();
}

void CHtmlStatic::SetImageSize(int widthPercent, int heightPercent) {
    imageWidthPercent_ = std::max(widthPercent, 0);
    imageHeightPercent_ = std::max(heightPercent, 0);
    if (!imageSnippet_)
        return;
    markup_ = SizedSnippet();
    Refresh();
}

std::wstring CHtmlStatic::SizedSnippet() const {
    if (snippet_.empty())
        return {};
    RECT client{};
    if (window_)
        ::GetClientRect(window_, &client);
    const auto dimension = [](const wchar_t* name, int percent, int natural, int area) {
        if (percent == 0)
            return Format(L" %ls=%d", name, std::max(area, 0));
        if (natural >= 0)
            return Format(L" %ls=%d", name, natural * percent / 100);
        return Format(L" %ls=%d%%", name, percent);
    };
    return snippet_.substr(0, snippet_.size() - 1) +
           dimension(L"width", imageWidthPercent_, naturalWidth_, client.right - 2 * marginX_) +
           dimension(L"height", imageHeightPercent_, naturalHeight_, client.bottom - 2 * marginY_) +
           L">";
}

void CHtmlStatic::SetAnimationPeriod(UINT milliseconds) {
    animationPeriod_ = milliseconds;
    RestartAnimationTimer();
}

void CHtmlStatic::RestartAnimationTimer() {
    if (!window_)
        return;
    ::KillTimer(window_, kAnimationTimer);
    if (animationPeriod_ > 0)
        ::SetTimer(window_, kAnimationTimer, animationPeriod_, nullptr);
}

void CHtmlStatic::Refresh() {
    if (!window_)
        return;
    if (region_) {
        // The corners outside the region show the parent, which has to paint them.
        if (const HWND parent = ::GetParent(window_)) {
            RECT area{};
            ::GetWindowRect(window_, &area);
            ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
            ::InvalidateRect(parent, &area, TRUE);
            ::UpdateWindow(parent);
        }
    }
    ::InvalidateRect(window_, nullptr, FALSE);
    ::UpdateWindow(window_);
}

std::wstring CHtmlStatic::LayoutText() const {
    if (imageSnippet_ || textColour_ == kNoTextColour)
        return markup_;
    return Format(L"<font color=0x%06X>", RuleColour(textColour_)) + markup_ + L"</font>";
}

bool CHtmlStatic::PrepareBackground(HDC dc, const RECT& client) {
    if (background_)
        return true;
    background_.Reset(::CreateCompatibleBitmap(dc, client.right, client.bottom));
    if (!background_)
        return false;
    const platform::UniqueMemoryDc memory(::CreateCompatibleDC(dc));
    if (!memory) {
        background_.Reset();
        return false;
    }
    const platform::SelectedObject selected(memory.Get(), background_.Get());
    if (backgroundMode_ == kBackgroundTransparent) {
        ::BitBlt(memory.Get(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    } else {
        richtext::PaintBackground(memory.Get(), backgroundEffect_, client, backgroundBegin_,
                                  backgroundMiddle_, backgroundEnd_, granularity_, kPaletteBlend);
    }
    return true;
}

void CHtmlStatic::PlaceText(const RECT& client, SIZE size) {
    const LONG_PTR style = ::GetWindowLongPtrW(window_, GWL_STYLE);
    unsigned horizontal = alignment_ & 0x03;
    if (horizontal == 0) {
        const LONG_PTR type = style & SS_TYPEMASK;
        horizontal = type == SS_CENTER ? kAlignCenter : type == SS_RIGHT ? kAlignRight : kAlignLeft;
    }
    unsigned vertical = alignment_ & 0x0C;
    if (vertical == 0)
        vertical = (style & SS_CENTERIMAGE) ? kAlignMiddle : kAlignTop;

    int left = marginX_;
    if (horizontal == kAlignRight)
        left = client.right - marginX_ - size.cx;
    else if (horizontal == kAlignCenter)
        left = (client.right - size.cx) / 2;
    int top = marginY_;
    if (vertical == kAlignBottom)
        top = client.bottom - marginY_ - size.cy;
    else if (vertical == kAlignMiddle)
        top = (client.bottom - size.cy) / 2;
    textRect_ = RECT{left, top, left + size.cx, top + size.cy};
}

void CHtmlStatic::Paint(HDC dc) {
    RECT client{};
    ::GetClientRect(window_, &client);
    if (client.right <= 0 || client.bottom <= 0 || !PrepareBackground(dc, client))
        return;

    const LONG_PTR style = ::GetWindowLongPtrW(window_, GWL_STYLE);
    const bool wraps = (style & 0x0C) == 0;
    const int fullWidth = client.right - 2 * marginX_ - 1;
    drawer_.SetMaxWidth(wraps ? fullWidth : 0);

    SIZE size = drawer_.MeasureMarkup(dc, LayoutText());
    if (!imageSnippet_ && !wraps)
        size.cx = std::max<LONG>(size.cx, fullWidth);
    size.cx = std::min(size.cx, client.right);
    size.cy = std::min(size.cy, client.bottom);
    textSize_ = size;
    PlaceText(client, size);
    RedrawFromCache(dc);
}

void CHtmlStatic::RedrawWindowFromCache() {
    if (!window_)
        return;
    if (!background_) {
        Refresh();
        return;
    }
    const HDC dc = ::GetDC(window_);
    if (!dc)
        return;
    RedrawFromCache(dc);
    ::ReleaseDC(window_, dc);
}

void CHtmlStatic::RedrawFromCache(HDC dc) {
    RECT client{};
    ::GetClientRect(window_, &client);
    if (!background_ || client.right <= 0 || client.bottom <= 0)
        return;
    const platform::UniqueMemoryDc source(::CreateCompatibleDC(dc));
    const platform::UniqueMemoryDc canvas(::CreateCompatibleDC(dc));
    const platform::UniqueBitmap picture(::CreateCompatibleBitmap(dc, client.right, client.bottom));
    if (!source || !canvas || !picture)
        return;
    const platform::SelectedObject cached(source.Get(), background_.Get());
    const platform::SelectedObject selected(canvas.Get(), picture.Get());
    ::BitBlt(canvas.Get(), 0, 0, client.right, client.bottom, source.Get(), 0, 0, SRCCOPY);

    if (textSize_.cx > 0 && textSize_.cy > 0) {
        if (enabled_) {
            drawer_.DrawMarkup(canvas.Get(), textRect_);
        } else {
            // Embossed: a light copy one pixel down and right, then the shadow in place. The
            // last pass records the hot areas, so it is the one in place.
            RECT shifted = textRect_;
            ::OffsetRect(&shifted, 1, 1);
            drawer_.SetDisabledColour(::GetSysColor(COLOR_3DHILIGHT));
            drawer_.DrawMarkup(canvas.Get(), shifted);
            drawer_.SetDisabledColour(::GetSysColor(COLOR_3DSHADOW));
            drawer_.DrawMarkup(canvas.Get(), textRect_);
        }
    }
    BlitToWindow(dc, canvas.Get(), client);
    DrawFrame(dc, client);
}

void CHtmlStatic::BlitToWindow(HDC dc, HDC picture, const RECT& client) const {
    if (!region_) {
        ::BitBlt(dc, 0, 0, client.right, client.bottom, picture, 0, 0, SRCCOPY);
        return;
    }
    const int saved = ::SaveDC(dc);
    ::ExtSelectClipRgn(dc, region_.Get(), RGN_AND);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, picture, 0, 0, SRCCOPY);
    ::RestoreDC(dc, saved);
}

void CHtmlStatic::DrawFrame(HDC dc, const RECT& client) const {
    if (!frameBrush_ || frameWidth_ <= 0 || frameHeight_ <= 0)
        return;
    if (region_) {
        ::FrameRgn(dc, region_.Get(), frameBrush_.Get(), frameWidth_, frameHeight_);
        return;
    }
    const platform::UniqueRegion region(::CreateRectRgnIndirect(&client));
    if (region)
        ::FrameRgn(dc, region.Get(), frameBrush_.Get(), frameWidth_, frameHeight_);
}
