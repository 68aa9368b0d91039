#include "richtext/html_static.h"
#include "tests/richtext/canvas.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using testing_canvas::Canvas;

namespace {

constexpr int kStaticId = 1001;
constexpr UINT kLinkMessage = WM_APP + 7;
constexpr LPARAM kLinkParam = 77;
constexpr int kDialogWidth = 200;
constexpr int kDialogHeight = 80;

// What the dialog saw of the link message.
struct LinkLog {
    int count = 0;
    std::wstring target;
    LPARAM lParam = 0;
};

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return TRUE;
    }
    if (message == kLinkMessage) {
        auto* log = reinterpret_cast<LinkLog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
        ++log->count;
        log->target = reinterpret_cast<const wchar_t*>(wParam);
        log->lParam = lParam;
        return TRUE;
    }
    return FALSE;
}

void Append(std::vector<WORD>& words, const wchar_t* text) {
    for (; *text; ++text)
        words.push_back(static_cast<WORD>(*text));
    words.push_back(0);
}

void AlignToDword(std::vector<WORD>& words) {
    if (words.size() % 2)
        words.push_back(0);
}

// A dialog template with one static control filling most of it.
std::vector<WORD> DialogTemplate(DWORD staticStyle, const wchar_t* text) {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    DLGTEMPLATE header{};
    header.style = WS_POPUP | WS_VISIBLE | DS_SETFONT | DS_NOFAILCREATE;
    header.cdit = 1;
    header.cx = kDialogWidth;
    header.cy = kDialogHeight;
    std::memcpy(words.data(), &header, sizeof(header));
    words.push_back(0); // no menu
    words.push_back(0); // default class
    Append(words, L"Rich text");
    words.push_back(8);
    Append(words, L"MS Shell Dlg");
    AlignToDword(words);

    DLGITEMTEMPLATE item{};
    item.style = WS_CHILD | WS_VISIBLE | staticStyle;
    item.x = 5;
    item.y = 5;
    item.cx = kDialogWidth - 10;
    item.cy = kDialogHeight - 10;
    item.id = kStaticId;
    const size_t at = words.size();
    words.resize(at + sizeof(item) / sizeof(WORD));
    std::memcpy(words.data() + at, &item, sizeof(item));
    words.push_back(0xFFFF);
    words.push_back(0x0082); // static
    Append(words, text);
    words.push_back(0); // no creation data
    AlignToDword(words);
    return words;
}

class HtmlStaticTest : public ::testing::Test {
protected:
    void Open(DWORD staticStyle = SS_LEFT, const wchar_t* text = L"") {
        const std::vector<WORD> words = DialogTemplate(staticStyle, text);
        dialog_ = ::CreateDialogIndirectParamW(
            ::GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), nullptr,
            DialogProc, reinterpret_cast<LPARAM>(&log_));
        ASSERT_NE(dialog_, nullptr);
        item_ = ::GetDlgItem(dialog_, kStaticId);
        ASSERT_NE(item_, nullptr);
        ASSERT_TRUE(control_.SubclassWindow(item_));
    }

    void TearDown() override {
        if (dialog_)
            ::DestroyWindow(dialog_);
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
        ::SendMessageW(item_, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
    }

    std::wstring GetText(size_t capacity) const {
        std::wstring buffer(capacity, L'#');
        const LRESULT copied =
            ::SendMessageW(item_, WM_GETTEXT, capacity, reinterpret_cast<LPARAM>(buffer.data()));
        return buffer.substr(0, static_cast<size_t>(copied));
    }

    HWND dialog_ = nullptr;
    HWND item_ = nullptr;
    LinkLog log_;
    CHtmlStatic control_;
};

TEST_F(HtmlStaticTest, TakesOverTheControlsTextAndStyle) {
    Open(SS_LEFT | WS_HSCROLL, L"a <b>bold</b> word");
    EXPECT_EQ(control_.Text(), L"a <b>bold</b> word");
    EXPECT_EQ(GetText(64), L"a <b>bold</b> word");
    EXPECT_EQ(::SendMessageW(item_, WM_GETTEXTLENGTH, 0, 0), 18);
    const LONG_PTR style = ::GetWindowLongPtrW(item_, GWL_STYLE);
    EXPECT_NE(style & SS_NOTIFY, 0);
    EXPECT_EQ(style & WS_HSCROLL, 0);
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(item_, WM_GETFONT, 0, 0)), control_.Font());
    EXPECT_NE(control_.Font(), nullptr);
    // WM_GETTEXT copies what fits, with a terminator, and nothing into no buffer.
    EXPECT_EQ(GetText(4), L"a <");
    wchar_t buffer[4] = {L'#', L'#', L'#', L'#'};
    EXPECT_EQ(::SendMessageW(item_, WM_GETTEXT, 4, reinterpret_cast<LPARAM>(buffer)), 3);
    EXPECT_EQ(buffer[3], L'\0');
    EXPECT_EQ(::SendMessageW(item_, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_EQ(::SendMessageW(item_, WM_GETTEXT, 4, 0), 0);
}

TEST_F(HtmlStaticTest, SettingTheTextRepaintsAtOnce) {
    Open();
    const RECT client = Client();
    Canvas before(client.right, client.bottom);
    PaintInto(before);
    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    EXPECT_EQ(before.CountOtherThan(face), 0) << "an empty text paints only the background";

    ::InvalidateRect(item_, nullptr, FALSE);
    ::SetWindowTextW(item_, L"<b>Hello</b> there");
    RECT update{};
    EXPECT_FALSE(::GetUpdateRect(item_, &update, FALSE)) << "the change is painted at once";
    EXPECT_EQ(control_.Text(), L"<b>Hello</b> there");

    Canvas after(client.right, client.bottom);
    PaintInto(after);
    EXPECT_GT(after.CountOtherThan(face), 20);
    EXPECT_GT(control_.TextSize().cx, 0);
}

TEST_F(HtmlStaticTest, BoldMarkupInksMoreThanPlainText) {
    Open();
    const platform::UniqueFont font(::CreateFontW(-20, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                                  DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    ::SendMessageW(item_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    const RECT client = Client();
    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    Canvas plain(client.right, client.bottom);
    ::SetWindowTextW(item_, L"a bold word");
    PaintInto(plain);
    Canvas bold(client.right, client.bottom);
    ::SetWindowTextW(item_, L"a <b>bold</b> word");
    PaintInto(bold);
    EXPECT_GT(bold.CountOtherThan(face), plain.CountOtherThan(face));
}

TEST_F(HtmlStaticTest, TheSetFontBecomesTheBodyFont) {
    Open(SS_LEFT, L"Sized text");
    const platform::UniqueFont small(::CreateFontW(-10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                                   DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    const platform::UniqueFont large(::CreateFontW(-30, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                                   DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    const RECT client = Client();
    Canvas canvas(client.right, client.bottom);

    EXPECT_EQ(::SendMessageW(item_, WM_SETFONT, reinterpret_cast<WPARAM>(small.Get()), TRUE), 0);
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(item_, WM_GETFONT, 0, 0)), small.Get());
    PaintInto(canvas);
    const SIZE smallSize = control_.TextSize();
    const int smallInk = canvas.CountOtherThan(::GetSysColor(COLOR_3DFACE));

    ::SendMessageW(item_, WM_SETFONT, reinterpret_cast<WPARAM>(large.Get()), TRUE);
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(item_, WM_GETFONT, 0, 0)), large.Get());
    PaintInto(canvas);
    const SIZE largeSize = control_.TextSize();

    EXPECT_GE(smallSize.cy, 10);
    EXPECT_LT(smallSize.cy, 25);
    EXPECT_GE(largeSize.cy, 30);
    EXPECT_GT(canvas.CountOtherThan(::GetSysColor(COLOR_3DFACE)), 2 * smallInk);
}

TEST_F(HtmlStaticTest, TheCursorOverALinkIsTheHand) {
    Open(SS_LEFT, L"Go <a msg=\"next\">there</a> now");
    const RECT client = Client();
    Canvas canvas(client.right, client.bottom);
    PaintInto(canvas);
    ASSERT_FALSE(control_.Drawer().HotAreas().empty());
    const HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(control_.LinkCursor(), hand);

    EXPECT_EQ(SetCursorAt(CentreOfLink()), TRUE);
    EXPECT_EQ(::GetCursor(), hand);

    SetCursorAt(POINT{client.right - 2, client.bottom - 2});
    EXPECT_NE(::GetCursor(), hand);
}

TEST_F(HtmlStaticTest, LinksAreDrawnInTheLinkColour) {
    Open(SS_LEFT, L"<a msg=\"x\">linked words</a>");
    const RECT client = Client();
    Canvas canvas(client.right, client.bottom);
    PaintInto(canvas);
    EXPECT_GT(canvas.CountOf(RGB(0, 0, 255)), 10);

    control_.SetLinkColours(RGB(255, 0, 0), false, RGB(255, 0, 0), true);
    PaintInto(canvas);
    EXPECT_EQ(canvas.CountOf(RGB(0, 0, 255)), 0);
    EXPECT_GT(canvas.CountOf(RGB(255, 0, 0)), 10);
}

TEST_F(HtmlStaticTest, AClickOnAMessageLinkSendsTheLinkMessage) {
    Open(SS_LEFT, L"Go <a msg=\"next page\">there</a> now");
    control_.SetLinkMessage(kLinkMessage, kLinkParam);
    const RECT client = Client();
    Canvas canvas(client.right, client.bottom);
    PaintInto(canvas);
    ASSERT_FALSE(control_.Drawer().HotAreas().empty());

    Click(POINT{client.right - 2, client.bottom - 2});
    EXPECT_EQ(log_.count, 0) << "a click beside the link does nothing";

    Click(CentreOfLink());
    EXPECT_EQ(log_.count, 1);
    EXPECT_EQ(log_.target, L"next page");
    EXPECT_EQ(log_.lParam, kLinkParam);
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

    const COLORREF highlight = ::GetSysColor(COLOR_3DHILIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_3DSHADOW);
    EXPECT_GT(disabled.CountOf(highlight), 5) << "the light copy";
    EXPECT_GT(disabled.CountOf(shadow), 5) << "the shadow in place";
    EXPECT_EQ(disabled.CountOf(RGB(0, 0, 255)), 0) << "no link colour while disabled";
    EXPECT_GT(enabled.CountOf(RGB(0, 0, 255)), 5);

    Click(link);
    EXPECT_EQ(log_.count, 0);
    SetCursorAt(link);
    EXPECT_NE(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));

    ::EnableWindow(item_, TRUE);
    Canvas again(client.right, client.bottom);
    PaintInto(again);
    EXPECT_EQ(again.CountOf(shadow), enabled.CountOf(shadow));
    Click(CentreOfLink());
    EXPECT_EQ(log_.count, 1);
}

TEST_F(HtmlStaticTest, AlignmentComesFromTheWindowStyle) {
    Open(SS_RIGHT | SS_CENTERIMAGE, L"short");
    const RECT client = Client();
    Canvas canvas(client.right, client.bottom);
    PaintInto(canvas);
    const RECT right = control_.TextRect();
    EXPECT_EQ(right.right, client.right);
    EXPECT_EQ(right.top, (client.bottom - control_.TextSize().cy) / 2);

    control_.SetMargins(6, 4);
    control_.SetAlignment(CHtmlStatic::kAlignLeft | CHtmlStatic::kAlignBottom);
    PaintInto(canvas);
    EXPECT_EQ(control_.TextRect().left, 6);
    EXPECT_EQ(control_.TextRect().bottom, client.bottom - 4);

    control_.SetAlignment(CHtmlStatic::kAlignCenter | CHtmlStatic::kAlignTop);
    PaintInto(canvas);
    EXPECT_EQ(control_.TextRect().left, (client.right - control_.TextSize().cx) / 2);
    EXPECT_EQ(control_.TextRect().top, 4);
}

TEST_F(HtmlStaticTest, NoWordWrapNeverWrapsAndFillsTheWidth) {
    const std::wstring longText(200, L'w');
    Open(SS_LEFTNOWORDWRAP, (L"word " + longText + L" end").c_str());
    const RECT client = Client();
    Canvas canvas(client.right, client.bottom);
    PaintInto(canvas);
    EXPECT_EQ(control_.Drawer().Lines().size(), 1u);
    EXPECT_GE(control_.TextSize().cx, client.right - 1);

    ::SetWindowTextW(item_, L"x");
    PaintInto(canvas);
    EXPECT_GE(control_.TextSize().cx, client.right - 1);

    control_.SetWordWrap(true);
    ::SetWindowTextW(item_, (L"word " + longText + L" end").c_str());
    PaintInto(canvas);
    EXPECT_GT(control_.Drawer().Lines().size(), 1u);
}

TEST_F(HtmlStaticTest, TheBackgroundAndTextColoursPaintTheControl) {
    Open(SS_LEFT, L"");
    control_.SetBackground(RGB(10, 200, 30));
    const RECT client = Client();
    Canvas canvas(client.right, client.bottom);
    PaintInto(canvas);
    EXPECT_EQ(canvas.CountOf(RGB(10, 200, 30)), client.right * client.bottom);

    ::SetWindowTextW(item_, L"coloured words here");
    control_.SetTextColour(RGB(200, 0, 0));
    PaintInto(canvas);
    EXPECT_GT(canvas.CountOf(RGB(200, 0, 0)), 10);
    EXPECT_EQ(control_.Text(), L"coloured words here") << "the wrapping is not the text";
}

TEST_F(HtmlStaticTest, TheAnimationTimerFollowsThePeriod) {
    Open(SS_LEFT, L"still");
    EXPECT_EQ(control_.AnimationPeriod(), 0u);
    control_.SetAnimationPeriod(20);
    EXPECT_EQ(control_.AnimationPeriod(), 20u);
    const DWORD start = ::GetTickCount();
    bool ticked = false;
    MSG message{};
    while (!ticked && ::GetTickCount() - start < 2000) {
        if (::PeekMessageW(&message, item_, WM_TIMER, WM_TIMER, PM_REMOVE)) {
            ticked = message.wParam == CHtmlStatic::kAnimationTimer;
            ::DispatchMessageW(&message);
        } else {
            ::Sleep(5);
        }
    }
    EXPECT_TRUE(ticked);
    control_.SetAnimationPeriod(0);
    ::Sleep(60);
    EXPECT_FALSE(::PeekMessageW(&message, item_, WM_TIMER, WM_TIMER, PM_REMOVE));
}

TEST_F(HtmlStaticTest, ABitmapSnippetShowsTheImage) {
    Open(SS_LEFT, L"words");
    const platform::UniqueBitmap red = testing_canvas::MakeSolidBitmap(20, 10, RGB(255, 0, 0));
    control_.ShowBitmap(red.Get());
    const std::wstring text = GetText(128);
    EXPECT_EQ(text.rfind(L"<bmp handle=0x", 0), 0u) << std::string(text.begin(), text.end());
    EXPECT_EQ(text.substr(text.size() - 24), L" width=100% height=100%>");

    const RECT client = Client();
    Canvas canvas(client.right, client.bottom);
    PaintInto(canvas);
    EXPECT_EQ(canvas.CountOf(RGB(255, 0, 0)), 200);

    control_.SetImageSize(0, 0);
    EXPECT_NE(GetText(128).find(L" width=" + std::to_wstring(client.right) + L" height=" +
                                std::to_wstring(client.bottom) + L">"),
              std::wstring::npos);

    ::SetWindowTextW(item_, L"plain again");
    EXPECT_EQ(GetText(128), L"plain again");
}

TEST_F(HtmlStaticTest, ListSnippetsScaleTheirNaturalSize) {
    Open();
    control_.ShowListImage(2, 5, 16, 16, RGB(255, 0, 255));
    EXPECT_EQ(GetText(128),
              L"<ilst index=2 idres=5 mask=0xFF00FF cx=16, cy=16 width=16 height=16>");
    control_.SetImageSize(50, 200);
    EXPECT_EQ(GetText(128), L"<ilst index=2 idres=5 mask=0xFF00FF cx=16, cy=16 width=8 height=32>");

    control_.SetImageSize(100, 100);
    control_.ShowAnimatedList(7);
    EXPECT_EQ(GetText(128), L"<ilst index=0 idres=7 speed=1 width=100% height=100%>");
    control_.ShowIcon(9, 32, 32);
    EXPECT_EQ(GetText(128), L"<icon idres=9 width=32 height=32>");
}

TEST_F(HtmlStaticTest, ARoundedControlLeavesItsCornersAndFollowsItsSize) {
    Open();
    const COLORREF green = RGB(10, 200, 30);
    control_.SetBackground(green);
    control_.SetRoundedCorners(20, 20);
    RECT client = Client();
    Canvas canvas(client.right, client.bottom);
    PaintInto(canvas);
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(canvas.Pixel(client.right - 1, client.bottom - 1), RGB(1, 2, 3));
    EXPECT_EQ(canvas.Pixel(client.right / 2, client.bottom / 2), green);

    ::SetWindowPos(item_, nullptr, 0, 0, 60, 40, SWP_NOMOVE | SWP_NOZORDER);
    client = Client();
    ASSERT_EQ(client.right, 60);
    Canvas smaller(60, 40);
    PaintInto(smaller);
    EXPECT_EQ(smaller.Pixel(59, 39), RGB(1, 2, 3));
    EXPECT_EQ(smaller.Pixel(30, 20), green);
    EXPECT_EQ(smaller.Pixel(30, 0), green);
}

TEST_F(HtmlStaticTest, TheFrameIsDrawnAroundTheControl) {
    Open();
    control_.SetBackground(RGB(10, 200, 30));
    control_.SetFrame(::CreateSolidBrush(RGB(255, 0, 0)), 2, 1);
    const RECT client = Client();
    Canvas canvas(client.right, client.bottom);
    PaintInto(canvas);
    EXPECT_EQ(canvas.Pixel(1, client.bottom / 2), RGB(255, 0, 0));
    EXPECT_EQ(canvas.Pixel(2, client.bottom / 2), RGB(10, 200, 30));
    EXPECT_EQ(canvas.Pixel(client.right / 2, 0), RGB(255, 0, 0));
    EXPECT_EQ(canvas.Pixel(client.right / 2, 1), RGB(10, 200, 30));
}

TEST_F(HtmlStaticTest, TheHoverFollowsTheMouseFromLinkToLinkAndLeaves) {
    Open(SS_LEFT, L"<a msg=\"one\">first</a> and <a msg=\"two\">second</a>");
    const RECT client = Client();
    Canvas canvas(client.right, client.bottom);
    PaintInto(canvas);
    ASSERT_GE(control_.Drawer().HotAreas().size(), 2u);
    const int firstNumber = control_.Drawer().HotAreas()[0].linkNumber;
    const int secondNumber = control_.Drawer().HotAreas()[1].linkNumber;
    ASSERT_NE(firstNumber, secondNumber);
    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    const int idleInk = canvas.CountOtherThan(face);

    const POINT first = CentreOfLink(0);
    ::SendMessageW(item_, WM_MOUSEMOVE, 0, MAKELPARAM(first.x, first.y));
    EXPECT_EQ(control_.Drawer().HoverLink(), firstNumber);
    PaintInto(canvas);
    EXPECT_GT(canvas.CountOtherThan(face), idleInk) << "the hovered link is underlined";

    const POINT second = CentreOfLink(1);
    ::SendMessageW(item_, WM_MOUSEMOVE, 0, MAKELPARAM(second.x, second.y));
    EXPECT_EQ(control_.Drawer().HoverLink(), secondNumber);

    POINT outside{-50, -50};
    ::ClientToScreen(item_, &outside);
    ::SetCursorPos(outside.x, outside.y);
    ::SendMessageW(item_, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(control_.Drawer().HoverLink(), -2);
    PaintInto(canvas);
    EXPECT_EQ(canvas.CountOtherThan(face), idleInk);
}

TEST_F(HtmlStaticTest, ATransparentControlKeepsThePictureBehindUntilResized) {
    Open();
    // Hidden, so that only the paints of the test capture a picture.
    ::ShowWindow(item_, SW_HIDE);
    control_.SetBackgroundMode(CHtmlStatic::kBackgroundTransparent);
    const RECT client = Client();
    Canvas canvas(client.right, client.bottom);
    PaintInto(canvas);
    EXPECT_EQ(canvas.CountOf(RGB(1, 2, 3)), client.right * client.bottom);

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
