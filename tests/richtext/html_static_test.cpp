#include "richtext/html_static.h"
#include "tests/richtext/canvas.h"

#include <gtest/gtest.h>

#include <string>

using testing_canvas::Canvas;

namespace {

constexpr UINT kLinkMessage = WM_APP + 7;
constexpr LPARAM kLinkParam = 77;

// What the parent saw of the link message.
struct LinkLog {
    int count = 0;
    std::wstring target;
    LPARAM lParam = 0;
};

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* log = reinterpret_cast<LinkLog*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message != kLinkMessage || !log)
        return ::DefWindowProcW(window, message, wParam, lParam);
    ++log->count;
    log->target = reinterpret_cast<const wchar_t*>(wParam);
    log->lParam = lParam;
    return TRUE;
}

class HtmlStaticTest : public ::testing::Test {
protected:
    // A static control of `staticStyle` on a shown parent, taken over by the control.
    void Open(DWORD staticStyle = SS_LEFT, const wchar_t* text = L"") {
        WNDCLASSW parentClass{};
        parentClass.lpfnWndProc = ParentProc;
        parentClass.lpszClassName = L"RichTextTestParent";
        ::RegisterClassW(&parentClass);
        parent_ = ::CreateWindowExW(0, L"RichTextTestParent", L"", WS_POPUP | WS_VISIBLE, 0, 0, 300,
                                    130, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent_, nullptr);
        ::SetWindowLongPtrW(parent_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&log_));
        item_ = ::CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | staticStyle, 5, 5,
                                  285, 114, parent_, nullptr, nullptr, nullptr);
        ASSERT_NE(item_, nullptr);
        ::SendMessageW(item_, WM_SETFONT,
                       reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        ASSERT_TRUE(control_.SubclassWindow(item_));
    }

    void TearDown() override {
        if (parent_)
            ::DestroyWindow(parent_);
    }

    RECT Client() const {
        RECT client{};
        ::GetClientRect(item_, &client);
        return client;
    }

    // The control painted into a memory bitmap of its client size.
    void PaintInto(Canvas& canvas) {
        canvas.Fill(RGB(1, 2, 3));
        ::SendMessageW(item_, WM_PAINT, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
    }
    // Ink (anything but the 3D face) of a fresh paint.
    int Ink() {
        const RECT client = Client();
        Canvas canvas(client.right, client.bottom);
        PaintInto(canvas);
        return canvas.CountOtherThan(::GetSysColor(COLOR_3DFACE));
    }

    POINT CentreOfLink(size_t index = 0) const {
        const RECT& rect = control_.Drawer().HotAreas().at(index).rect;
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    LRESULT SetCursorAt(POINT client) {
        POINT screen = client;
        ::ClientToScreen(item_, &screen);
        ::SetCursorPos(screen.x, screen.y);
        return ::SendMessageW(item_, WM_SETCURSOR, reinterpret_cast<WPARAM>(item_),
                              MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }

    void Click(POINT point) {
        ::SendMessageW(item_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    }

    std::wstring GetText(size_t capacity) const {
        std::wstring buffer(capacity, L'#');
        const LRESULT copied =
            ::SendMessageW(item_, WM_GETTEXT, capacity, reinterpret_cast<LPARAM>(buffer.data()));
        return buffer.substr(0, static_cast<size_t>(copied));
    }

    HWND parent_ = nullptr;
    HWND item_ = nullptr;
    LinkLog log_;
    CHtmlStatic control_;
};

TEST_F(HtmlStaticTest, TakesOverTheControlsTextAndStyleAndShowsTheMarkup) {
    Open(SS_LEFT | WS_HSCROLL, L"a <b>bold</b> word");
    EXPECT_EQ(GetText(64), L"a <b>bold</b> word");
    EXPECT_EQ(::SendMessageW(item_, WM_GETTEXTLENGTH, 0, 0), 18);
    const LONG_PTR style = ::GetWindowLongPtrW(item_, GWL_STYLE);
    EXPECT_NE(style & SS_NOTIFY, 0);
    EXPECT_EQ(style & WS_HSCROLL, 0);
    EXPECT_NE(control_.Font(), nullptr);
    // WM_GETTEXT copies what fits, with a terminator, and nothing into no buffer.
    EXPECT_EQ(GetText(4), L"a <");
    EXPECT_EQ(::SendMessageW(item_, WM_GETTEXT, 4, 0), 0);
    const int small = Ink();
    const platform::UniqueFont font(::CreateFontW(-30, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                                  DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    EXPECT_EQ(::SendMessageW(item_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE), 0);
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(item_, WM_GETFONT, 0, 0)), font.Get());
    const int bold = Ink();
    EXPECT_GT(bold, 2 * small) << "the font is the body's";
    EXPECT_GE(control_.TextSize().cy, 30);
    ::SetWindowTextW(item_, L"a bold word");
    EXPECT_GT(bold, Ink()) << "the middle word is bold";
}

TEST_F(HtmlStaticTest, LinksShowTheHandTakeTheLinkColoursAndSendTheLinkMessage) {
    Open(SS_LEFT, L"Go <a msg=\"next page\">there</a> now");
    control_.SetLinkMessage(kLinkMessage, kLinkParam);
    const RECT client = Client();
    Canvas canvas(client.right, client.bottom);
    PaintInto(canvas);
    EXPECT_GT(canvas.CountOf(RGB(0, 0, 255)), 10);
    const HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
    EXPECT_EQ(SetCursorAt(CentreOfLink()), TRUE);
    EXPECT_EQ(::GetCursor(), hand);
    SetCursorAt(POINT{client.right - 2, client.bottom - 2});
    EXPECT_NE(::GetCursor(), hand);

    Click(POINT{client.right - 2, client.bottom - 2});
    EXPECT_EQ(log_.count, 0) << "a click beside the link does nothing";
    Click(CentreOfLink());
    EXPECT_EQ(log_.count, 1);
    EXPECT_EQ(log_.target, L"next page");
    EXPECT_EQ(log_.lParam, kLinkParam);

    control_.SetLinkColours(RGB(255, 0, 0), false, RGB(255, 0, 0), true);
    PaintInto(canvas);
    EXPECT_EQ(canvas.CountOf(RGB(0, 0, 255)), 0);
    EXPECT_GT(canvas.CountOf(RGB(255, 0, 0)), 10);
}

TEST_F(HtmlStaticTest, ADisabledControlIsEmbossedAndIgnoresTheMouse) {
    Open(SS_LEFT, L"<a msg=\"go\">Press here</a>");
    control_.SetLinkMessage(kLinkMessage, kLinkParam);
    const RECT client = Client();
    Canvas enabled(client.right, client.bottom);
    PaintInto(enabled);
    const POINT link = CentreOfLink();

    ::EnableWindow(item_, FALSE);
    Canvas disabled(client.right, client.bottom);
    PaintInto(disabled);
    EXPECT_GT(disabled.CountOf(::GetSysColor(COLOR_3DHILIGHT)), 5) << "the light copy";
    EXPECT_GT(disabled.CountOf(::GetSysColor(COLOR_3DSHADOW)), 5) << "the shadow in place";
    EXPECT_EQ(disabled.CountOf(RGB(0, 0, 255)), 0) << "no link colour while disabled";
    Click(link);
    EXPECT_EQ(log_.count, 0);
    SetCursorAt(link);
    EXPECT_NE(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));

    ::EnableWindow(item_, TRUE);
    PaintInto(disabled);
    EXPECT_EQ(disabled.CountOf(RGB(0, 0, 255)), enabled.CountOf(RGB(0, 0, 255)));
    Click(CentreOfLink());
    EXPECT_EQ(log_.count, 1);
}

TEST_F(HtmlStaticTest, NoWordWrapNeverWrapsAndFillsTheWidth) {
    const std::wstring text = L"word " + std::wstring(200, L'w') + L" end";
    Open(SS_LEFTNOWORDWRAP, text.c_str());
    const RECT client = Client();
    Canvas canvas(client.right, client.bottom);
    PaintInto(canvas);
    EXPECT_EQ(control_.Drawer().Lines().size(), 1u);
    ::SetWindowTextW(item_, L"x");
    PaintInto(canvas);
    EXPECT_GE(control_.TextSize().cx, client.right - 1);
}

// Without a window the setters store their values; subclassing applies them.
TEST_F(HtmlStaticTest, SettingsMadeBeforeTheWindowTakeEffectWithIt) {
    const COLORREF green = RGB(10, 200, 30);
    control_.SetBackground(green);
    control_.SetLinkMessage(kLinkMessage, kLinkParam);
    control_.SetRoundedCorners(20, 20);
    control_.SetWordWrap(false);
    control_.SetAnimationPeriod(50);
    Open(SS_LEFT, (L"<a msg=\"early\">go</a> " + std::wstring(300, L'w')).c_str());
    EXPECT_TRUE(::KillTimer(item_, CHtmlStatic::kAnimationTimer)) << "the animation runs";
    const RECT client = Client();
    Canvas canvas(client.right, client.bottom);
    PaintInto(canvas);
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(1, 2, 3)) << "the corners are cut";
    EXPECT_EQ(canvas.Pixel(client.right / 2, client.bottom - 2), green);
    EXPECT_EQ(control_.Drawer().Lines().size(), 1u) << "no word wrap";
    Click(CentreOfLink());
    EXPECT_EQ(log_.count, 1);
    EXPECT_EQ(log_.target, L"early");
    control_.SetAnimationPeriod(0);
    EXPECT_FALSE(::KillTimer(item_, CHtmlStatic::kAnimationTimer));
    // The rounded corners follow the window's size.
    ::SetWindowPos(item_, nullptr, 0, 0, 60, 40, SWP_NOMOVE | SWP_NOZORDER);
    Canvas smaller(60, 40);
    PaintInto(smaller);
    EXPECT_EQ(smaller.Pixel(59, 39), RGB(1, 2, 3));
    EXPECT_EQ(smaller.Pixel(30, 0), green);
}

TEST_F(HtmlStaticTest, BackgroundTextColourAndFramePaintTheControl) {
    Open();
    control_.SetBackground(RGB(10, 200, 30));
    control_.SetFrame(::CreateSolidBrush(RGB(255, 0, 0)), 2, 1);
    const RECT client = Client();
    Canvas canvas(client.right, client.bottom);
    PaintInto(canvas);
    EXPECT_EQ(canvas.CountOf(RGB(10, 200, 30)), (client.right - 4) * (client.bottom - 2));
    EXPECT_EQ(canvas.Pixel(1, client.bottom / 2), RGB(255, 0, 0));
    EXPECT_EQ(canvas.Pixel(client.right / 2, 1), RGB(10, 200, 30));
    ::SetWindowTextW(item_, L"coloured words here");
    control_.SetTextColour(RGB(200, 0, 0));
    PaintInto(canvas);
    EXPECT_GT(canvas.CountOf(RGB(200, 0, 0)), 10);
    EXPECT_EQ(control_.Text(), L"coloured words here") << "the colour is not part of the text";
}

TEST_F(HtmlStaticTest, SnippetsShowTheirImageAtTheRequestedSize) {
    Open(SS_LEFT, L"words");
    const platform::UniqueBitmap red = testing_canvas::MakeSolidBitmap(20, 10, RGB(255, 0, 0));
    control_.ShowBitmap(red.Get());
    const std::wstring text = GetText(128);
    EXPECT_EQ(text.rfind(L"<bmp handle=0x", 0), 0u);
    EXPECT_EQ(text.substr(text.size() - 24), L" width=100% height=100%>");
    const RECT client = Client();
    Canvas canvas(client.right, client.bottom);
    PaintInto(canvas);
    EXPECT_EQ(canvas.CountOf(RGB(255, 0, 0)), 200);
    ::SetWindowTextW(item_, L"plain again");
    EXPECT_EQ(GetText(128), L"plain again");
}

// The second link reaches past the window of a label that does not wrap: the mouse leaves the
// window while it is still over that link's area.
TEST_F(HtmlStaticTest, TheHoverFollowsTheMouseFromLinkToLinkAndLeavesWithIt) {
    Open(SS_LEFTNOWORDWRAP,
         (L"<a msg=one>first</a> and <a msg=two>" + std::wstring(400, L'w') + L"</a>").c_str());
    const int idleInk = Ink();
    const POINT first = CentreOfLink(0);
    ::SendMessageW(item_, WM_MOUSEMOVE, 0, MAKELPARAM(first.x, first.y));
    EXPECT_EQ(control_.Drawer().HoverLink(), control_.Drawer().HotAreas()[0].linkNumber);
    EXPECT_GT(Ink(), idleInk) << "the hovered link is underlined";
    ASSERT_GT(control_.Drawer().HotAreas().at(1).rect.right, Client().right);
    const POINT second{Client().right - 5, first.y};
    ::SendMessageW(item_, WM_MOUSEMOVE, 0, MAKELPARAM(second.x, second.y));
    EXPECT_EQ(control_.Drawer().HoverLink(), control_.Drawer().HotAreas()[1].linkNumber);
    POINT beyond{Client().right + 10, second.y};
    ::ClientToScreen(item_, &beyond);
    ::SetCursorPos(beyond.x, beyond.y);
    ::SendMessageW(item_, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(control_.Drawer().HoverLink(), -2);
    EXPECT_EQ(Ink(), idleInk);
}

TEST_F(HtmlStaticTest, ATransparentControlKeepsThePictureBehindUntilResized) {
    Open();
    // Hidden, so that only the paints of the test capture a picture.
    ::ShowWindow(item_, SW_HIDE);
    control_.SetBackgroundMode(CHtmlStatic::kBackgroundTransparent);
    const RECT client = Client();
    Canvas canvas(client.right, client.bottom);
    PaintInto(canvas);
    canvas.Fill(RGB(9, 9, 9));
    ::SendMessageW(item_, WM_PAINT, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
    EXPECT_EQ(canvas.CountOf(RGB(1, 2, 3)), client.right * client.bottom)
        << "the first picture is kept";
    ::SetWindowPos(item_, nullptr, 0, 0, 50, 30, SWP_NOMOVE | SWP_NOZORDER);
    Canvas resized(50, 30, RGB(9, 9, 9));
    ::SendMessageW(item_, WM_PAINT, reinterpret_cast<WPARAM>(resized.Dc()), 0);
    EXPECT_EQ(resized.CountOf(RGB(9, 9, 9)), 50 * 30) << "a new size captures anew";
}

} // namespace
