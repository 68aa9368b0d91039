#include "richtext/dib.h"
#include "richtext/html_link_opener.h"
#include "tests/richtext/layout_fixture.h"

#include <string>
#include <vector>

using layout_test::LayoutTest;

namespace {

// A message-only window that counts what it receives.
class MessageSink {
public:
    MessageSink() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &MessageSink::Procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"LayoutTestSink";
        ::RegisterClassW(&windowClass);
        window_ = ::CreateWindowExW(0, L"LayoutTestSink", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    windowClass.hInstance, nullptr);
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~MessageSink() { ::DestroyWindow(window_); }
    HWND Window() const { return window_; }

    int count = 0;
    LPARAM lastLParam = 0;
    std::wstring lastText;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message >= WM_APP) {
            auto* sink = reinterpret_cast<MessageSink*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
            if (sink) {
                ++sink->count;
                sink->lastLParam = lParam;
                if (wParam)
                    sink->lastText = reinterpret_cast<const wchar_t*>(wParam);
            }
            return 0;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    HWND window_ = nullptr;
};

POINT Centre(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr COLORREF kHoverColour = RGB(255, 0, 0);

} // namespace

class LinkTest : public LayoutTest {
protected:
    LinkTest() {
        drawer_.SetStyleRule(L"a:link", L"color:#0000ff; text-decoration:none");
        drawer_.SetStyleRule(L"a:hover", L"color:#ff0000; text-decoration:underline");
    }
    // "first second" as one link wrapped over two lines.
    void DrawWrappedLink() {
        const int first = WidthOf(L"WWWW ");
        MeasureAndDraw(L"<a href=\"http://127.0.0.1/x\">WWWW MMMM</a> after", first + 4);
        ASSERT_EQ(drawer_.HotAreas().size(), 2u);
    }
};

TEST_F(LinkTest, WrappedLinkHasTwoHotAreasWithOneNumber) {
    DrawWrappedLink();
    const auto& areas = drawer_.HotAreas();
    EXPECT_EQ(areas[0].linkNumber, areas[1].linkNumber);
    EXPECT_EQ(areas[0].linkKind, richtext::kLinkHref);
    EXPECT_EQ(areas[1].target, L"http://127.0.0.1/x");
    EXPECT_LT(areas[0].rect.bottom, areas[1].rect.bottom);
    EXPECT_EQ(areas[1].rect.left, 0);
}

TEST_F(LinkTest, HoveringEitherPieceHighlightsBoth) {
    for (int piece = 0; piece < 2; ++piece) {
        drawer_.TrackMouse({-100, -100});
        DrawWrappedLink();
        const RECT areas[2] = {drawer_.HotAreas()[0].rect, drawer_.HotAreas()[1].rect};
        EXPECT_GT(CountColour(areas[0], kLinkColour), 0);
        EXPECT_EQ(CountColour(areas[1], kHoverColour), 0);
        EXPECT_TRUE(drawer_.TrackMouse(Centre(areas[piece])));
        EXPECT_EQ(drawer_.HoverLink(), drawer_.HotAreas()[piece].linkNumber);
        DrawWrappedLink();
        for (const RECT& area : areas) {
            EXPECT_GT(CountColour(area, kHoverColour), 0) << piece;
            EXPECT_EQ(CountColour(area, kLinkColour), 0) << piece;
        }
    }
}

TEST_F(LinkTest, HoverNotificationOnEnteringAndLeaving) {
    MessageSink sink;
    drawer_.SetHoverNotify(sink.Window(), WM_APP + 100, 77);
    MeasureAndDraw(L"<a href=x>one</a> and <a href=y>two</a>");
    ASSERT_EQ(drawer_.HotAreas().size(), 2u);
    const POINT first = Centre(drawer_.HotAreas()[0].rect);
    const POINT second = Centre(drawer_.HotAreas()[1].rect);
    EXPECT_TRUE(drawer_.TrackMouse(first));
    EXPECT_FALSE(drawer_.TrackMouse(first)) << "same link: no new notification";
    EXPECT_TRUE(drawer_.TrackMouse(second));
    EXPECT_TRUE(drawer_.TrackMouse({390, 290}));
    EXPECT_EQ(drawer_.HoverLink(), -2);
    EXPECT_FALSE(drawer_.TrackMouse({391, 290}));
    EXPECT_EQ(sink.count, 3);
    EXPECT_EQ(sink.lastLParam, 77);
}

TEST_F(LinkTest, HitTestIncludesTheEdges) {
    MeasureAndDraw(L"ab <a msg=hello>link</a> out <b>bold</b>");
    ASSERT_EQ(drawer_.HotAreas().size(), 1u) << "text after the link has no hot area";
    const RECT rect = drawer_.HotAreas()[0].rect;
    EXPECT_EQ(drawer_.HitTest({rect.left, rect.top}), 0);
    EXPECT_EQ(drawer_.HitTest({rect.right, rect.bottom}), 0);
    EXPECT_EQ(drawer_.HitTest({rect.left - 1, rect.top}), -1);
    EXPECT_EQ(drawer_.HitTest({rect.right, rect.bottom + 1}), -1);
}

TEST_F(LinkTest, ClickSendsTheMessageOrOpensTheTarget) {
    MessageSink sink;
    drawer_.SetLinkMessage(sink.Window(), WM_APP + 7, 5);
    std::wstring opened;
    drawer_.SetLinkOpener([&](const std::wstring& target) { opened = target; });
    MeasureAndDraw(L"<a msg=\"say hi\">m</a> <a href=http://127.0.0.1/>h</a>");
    ASSERT_EQ(drawer_.HotAreas().size(), 2u);
    EXPECT_TRUE(drawer_.ClickAt(Centre(drawer_.HotAreas()[0].rect)));
    EXPECT_EQ(sink.lastText, L"say hi");
    EXPECT_EQ(sink.lastLParam, 5);
    EXPECT_TRUE(drawer_.ClickAt(Centre(drawer_.HotAreas()[1].rect)));
    EXPECT_EQ(opened, L"http://127.0.0.1/");
    EXPECT_FALSE(drawer_.ClickAt({399, 299}));
    EXPECT_EQ(sink.count, 1);
}

class ImageTest : public LayoutTest {
protected:
    static std::wstring Number(HGDIOBJ handle) {
        return std::to_wstring(static_cast<unsigned>(reinterpret_cast<UINT_PTR>(handle)));
    }
};

TEST_F(ImageTest, BitmapByHandleTakesItsSizeAndDraws) {
    const platform::UniqueBitmap bitmap = testing_canvas::MakeSolidBitmap(20, 10, RGB(0, 200, 0));
    const std::wstring tag = L"<bmp handle=" + Number(bitmap.Get()) + L">";
    const SIZE size = MeasureAndDraw(tag);
    EXPECT_EQ(size.cx, 21);
    EXPECT_EQ(size.cy, 11);
    EXPECT_GE(CountColour(RECT{0, 0, 20, 10}, RGB(0, 200, 0)), 190);
    EXPECT_EQ(Measure(L"<bmp handle=" + Number(bitmap.Get()) + L" width=50% height=30>").cx, 11);
}

TEST_F(ImageTest, BitmapFromFile) {
    CDib dib;
    ASSERT_TRUE(dib.Create(8, 6, 24));
    dib.Clear(0x40);
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"layout_test_image.bmp";
    ASSERT_TRUE(dib.WriteBitmapFile(path));
    const SIZE size = MeasureAndDraw(L"<bmp file=\"" + path + L"\">");
    ::DeleteFileW(path.c_str());
    EXPECT_EQ(size.cx, 9);
    EXPECT_EQ(size.cy, 7);
    EXPECT_GE(CountColour(RECT{0, 0, 8, 6}, RGB(0x40, 0x40, 0x40)), 40);
}

TEST_F(ImageTest, MissingImageTakesNoSpace) {
    EXPECT_EQ(Measure(L"a<bmp file=\"C:\\no\\such.bmp\">").cx, WidthOf(L"a") + 1);
    EXPECT_EQ(Measure(L"a<bmp idres=31999>").cx, WidthOf(L"a") + 1);
    EXPECT_EQ(Measure(L"a<bmp srcdll=nosuch.dll iddll=3>").cx, WidthOf(L"a") + 1);
    EXPECT_EQ(Measure(L"a<bmp>").cx, WidthOf(L"a") + 1);
}

TEST_F(ImageTest, IconHasTheStandardSizeByDefault) {
    const HICON icon = ::LoadIconW(nullptr, IDI_APPLICATION);
    ASSERT_NE(icon, nullptr);
    const SIZE size = Measure(L"<icon handle=" + Number(icon) + L">");
    EXPECT_EQ(size.cx, ::GetSystemMetrics(SM_CXICON) + 1);
    EXPECT_EQ(size.cy, ::GetSystemMetrics(SM_CYICON) + 1);
    EXPECT_EQ(Measure(L"<icon handle=" + Number(icon) + L" width=16 height=16>").cx, 17);
}

TEST_F(ImageTest, ImageTooWideForTheLineStartsANewOne) {
    const platform::UniqueBitmap bitmap = testing_canvas::MakeSolidBitmap(50, 10, RGB(0, 0, 0));
    Measure(L"abc<bmp handle=" + Number(bitmap.Get()) + L">", WidthOf(L"abc") + 20);
    ASSERT_EQ(drawer_.Lines().size(), 2u);
    EXPECT_EQ(drawer_.Lines()[1].width, 50);
    EXPECT_GE(drawer_.Lines()[1].height, 10);
}

TEST_F(ImageTest, SizeWiderThanTheMaximumIsCutToIt) {
    const platform::UniqueBitmap bitmap = testing_canvas::MakeSolidBitmap(50, 10, RGB(0, 0, 0));
    const SIZE size = Measure(L"<bmp handle=" + Number(bitmap.Get()) + L">", 30);
    EXPECT_EQ(size.cx, 30);
    EXPECT_EQ(size.cy, 10) << "only the width is cut";
}

TEST_F(ImageTest, AnimatedListAdvancesAtItsSpeedAndKeepsItsIndexOverPasses) {
    const COLORREF colours[3] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)};
    std::vector<std::uint32_t> pixels(30 * 10);
    for (int x = 0; x < 30; ++x)
        for (int y = 0; y < 10; ++y) {
            const COLORREF c = colours[x / 10];
            pixels[y * 30 + x] =
                0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    const platform::UniqueBitmap strip = testing_canvas::MakeBitmap(30, 10, pixels);
    const std::wstring tag = L"<ilst handle=" + Number(strip.Get()) + L" cx=10 speed=2>";
    const SIZE size = MeasureAndDraw(tag);
    EXPECT_EQ(size.cx, 11);
    ASSERT_EQ(drawer_.Animations().Entries().size(), 1u);
    EXPECT_EQ(drawer_.Animations().Entries()[0].count, 3);
    EXPECT_EQ(canvas_.Pixel(5, 5), colours[0]);
    EXPECT_FALSE(drawer_.Tick());
    EXPECT_TRUE(drawer_.Tick());
    MeasureAndDraw(tag);
    EXPECT_EQ(canvas_.Pixel(5, 5), colours[1]);
    drawer_.Tick();
    drawer_.Tick();
    MeasureAndDraw(tag);
    EXPECT_EQ(canvas_.Pixel(5, 5), colours[2]);
    drawer_.Tick();
    EXPECT_TRUE(drawer_.Tick()) << "wraps to the first image";
    MeasureAndDraw(tag);
    EXPECT_EQ(canvas_.Pixel(5, 5), colours[0]);
}

TEST_F(ImageTest, ListWithoutSpeedDrawsItsIndex) {
    std::vector<std::uint32_t> pixels(20 * 10, 0xFF000000u);
    for (int y = 0; y < 10; ++y)
        for (int x = 10; x < 20; ++x)
            pixels[y * 20 + x] = 0xFFFFFF00u; // yellow
    const platform::UniqueBitmap strip = testing_canvas::MakeBitmap(20, 10, pixels);
    MeasureAndDraw(L"<ilst handle=" + Number(strip.Get()) + L" cx=10 index=1>");
    EXPECT_EQ(canvas_.Pixel(5, 5), RGB(255, 255, 0));
    EXPECT_TRUE(drawer_.Animations().Entries().empty());
    EXPECT_FALSE(drawer_.Tick());
}

TEST_F(ImageTest, ImageInsideALinkIsAHotArea) {
    const platform::UniqueBitmap bitmap = testing_canvas::MakeSolidBitmap(12, 12, RGB(9, 9, 9));
    MeasureAndDraw(L"<a href=x><bmp handle=" + Number(bitmap.Get()) + L"></a>");
    ASSERT_EQ(drawer_.HotAreas().size(), 1u);
    EXPECT_EQ(drawer_.HotAreas()[0].rect.right - drawer_.HotAreas()[0].rect.left, 12);
}

TEST(LinkHandler, CommandIsCutAtTheQuotedPlaceholder) {
    using richtext::HandlerCommandLine;
    EXPECT_EQ(HandlerCommandLine(L"\"C:\\b\\web.exe\" -nohome \"%1\" -x", L"http://h/"),
              L"\"C:\\b\\web.exe\" -nohome  http://h/");
    EXPECT_EQ(HandlerCommandLine(L"web.exe %1 -x", L"http://h/"), L"web.exe  http://h/");
    EXPECT_EQ(HandlerCommandLine(L"web.exe -new", L"http://h/"), L"web.exe -new http://h/");
}

TEST(ImageHandleAttribute, HighBitHandlesSurviveTheMarkup) {
    const richtext::FixedMetrics metrics(96, 16, 8);
    const richtext::ColourTable colours;
    const richtext::ImageShadowSettings shadow;
    EXPECT_EQ(richtext::ReadImageAttributes(L"handle=4294967295", metrics, colours, shadow).handle,
              -1);
    EXPECT_EQ(richtext::ReadImageAttributes(L"handle=0x80000001", metrics, colours, shadow).handle,
              static_cast<int>(0x80000001u));
    EXPECT_EQ(richtext::ReadImageAttributes(L"handle=1234", metrics, colours, shadow).handle, 1234);
}

TEST_F(ImageTest, ImagesFromALibraryFile) {
    // The system's user library carries the classic window-part bitmaps and the stock icons.
    const SIZE bitmap = Measure(L"<bmp srcdll=user32.dll iddll=32754>");
    EXPECT_GT(bitmap.cx, 1);
    EXPECT_GT(bitmap.cy, 1);
    const SIZE icon = Measure(L"<icon srcdll=user32.dll iddll=32512 width=16 height=16>");
    EXPECT_EQ(icon.cx, 17);
    EXPECT_EQ(icon.cy, 17);
    MeasureAndDraw(L"<icon srcdll=user32.dll iddll=32512>");
    EXPECT_GT(canvas_.CountOtherThan(RGB(255, 255, 255)), 50);
}
