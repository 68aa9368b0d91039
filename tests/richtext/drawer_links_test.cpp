#include "richtext/html_link_opener.h"
#include "tests/richtext/layout_fixture.h"

#include <string>
#include <vector>

using layout_test::LayoutTest;

namespace {

// What a message-only window received from WM_APP on; wParam, when given, is a text.
struct MessageSink {
    MessageSink() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            auto* sink = reinterpret_cast<MessageSink*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
            if (message < WM_APP || !sink)
                return ::DefWindowProcW(window, message, wParam, lParam);
            ++sink->count;
            sink->lastLParam = lParam;
            sink->lastText = wParam ? reinterpret_cast<const wchar_t*>(wParam) : L"";
            return LRESULT{0};
        };
        windowClass.lpszClassName = L"LayoutTestSink";
        ::RegisterClassW(&windowClass);
        window = ::CreateWindowExW(0, L"LayoutTestSink", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   nullptr, nullptr);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~MessageSink() { ::DestroyWindow(window); }

    HWND window = nullptr;
    int count = 0;
    LPARAM lastLParam = 0;
    std::wstring lastText;
};

POINT Centre(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

std::wstring Number(HGDIOBJ handle) {
    return std::to_wstring(static_cast<unsigned>(reinterpret_cast<UINT_PTR>(handle)));
}

} // namespace

class LinkTest : public LayoutTest {
protected:
    LinkTest() {
        drawer_.SetStyleRule(L"a:link", L"color:#0000ff; text-decoration:none");
        drawer_.SetStyleRule(L"a:hover", L"color:#ff0000; text-decoration:underline");
    }
};

TEST_F(LinkTest, AWrappedLinkIsTwoAreasOfOneLinkAndHoveringEitherHighlightsBoth) {
    for (int piece = 0; piece < 2; ++piece) {
        drawer_.TrackMouse({-100, -100});
        const std::wstring text = L"<a href=\"http://127.0.0.1/x\">WWWW MMMM</a> after";
        MeasureAndDraw(text, WidthOf(L"WWWW ") + 4);
        ASSERT_EQ(drawer_.HotAreas().size(), 2u);
        const HotArea first = drawer_.HotAreas()[0], second = drawer_.HotAreas()[1];
        EXPECT_EQ(first.linkNumber, second.linkNumber);
        EXPECT_EQ(second.rect.left, 0);
        EXPECT_EQ(canvas_.CountOf(RGB(255, 0, 0), &second.rect), 0);
        EXPECT_TRUE(drawer_.TrackMouse(Centre(piece ? second.rect : first.rect)));
        MeasureAndDraw(text, WidthOf(L"WWWW ") + 4);
        for (const RECT& area : {first.rect, second.rect}) {
            EXPECT_GT(canvas_.CountOf(RGB(255, 0, 0), &area), 0) << piece;
            EXPECT_EQ(canvas_.CountOf(RGB(0, 0, 255), &area), 0) << piece;
        }
    }
}

TEST_F(LinkTest, EveryPieceOfALinkSharesOneCopyOfItsTarget) {
    const std::wstring target(100000, L'h');
    std::wstring text = L"<a href='" + target + L"'>";
    for (int line = 0; line < 50; ++line)
        text += L"line <b>bold</b><br>";
    MeasureAndDraw(text + L"</a>");
    const std::vector<HotArea>& areas = drawer_.HotAreas();
    ASSERT_EQ(areas.size(), 100u);
    EXPECT_EQ(areas[0].target, target);
    for (const HotArea& area : areas)
        ASSERT_EQ(area.target.data(), areas[0].target.data());
}

TEST_F(LinkTest, TheHoverNotificationComesOnEnteringAndLeavingALink) {
    MessageSink sink;
    drawer_.SetHoverNotify(sink.window, WM_APP + 100, 77);
    MeasureAndDraw(L"<a href=x>one</a> and <a href=y>two</a>");
    const POINT first = Centre(AreaOf(L"x"));
    EXPECT_TRUE(drawer_.TrackMouse(first));
    EXPECT_FALSE(drawer_.TrackMouse(first)) << "same link: no new notification";
    EXPECT_TRUE(drawer_.TrackMouse(Centre(AreaOf(L"y"))));
    EXPECT_TRUE(drawer_.TrackMouse({390, 290}));
    EXPECT_EQ(drawer_.HoverLink(), -2);
    EXPECT_TRUE(drawer_.TrackMouse(first));
    EXPECT_TRUE(drawer_.LeaveLinks());
    EXPECT_FALSE(drawer_.LeaveLinks());
    EXPECT_EQ(sink.count, 5);
    EXPECT_EQ(sink.lastLParam, 77);
    // Edges belong to the area.
    const RECT rect = AreaOf(L"x");
    EXPECT_EQ(drawer_.HitTest({rect.right, rect.bottom}), 0);
    EXPECT_EQ(drawer_.HitTest({rect.left - 1, rect.top}), -1);
}

TEST_F(LinkTest, AClickSendsTheMessageOrOpensTheTarget) {
    MessageSink sink;
    drawer_.SetLinkMessage(sink.window, WM_APP + 7, 5);
    std::wstring opened;
    drawer_.SetLinkOpener([&](const std::wstring& target) { opened = target; });
    MeasureAndDraw(L"<a msg=\"say hi\">m</a> <a href=http://127.0.0.1/>h</a>");
    EXPECT_TRUE(drawer_.ClickAt(Centre(AreaOf(L"say hi"))));
    EXPECT_EQ(sink.lastText, L"say hi");
    EXPECT_EQ(sink.lastLParam, 5);
    EXPECT_TRUE(drawer_.ClickAt(Centre(AreaOf(L"http://127.0.0.1/"))));
    EXPECT_EQ(opened, L"http://127.0.0.1/");
    EXPECT_FALSE(drawer_.ClickAt({399, 299}));
    EXPECT_EQ(sink.count, 1);
}

TEST(LinkHandler, TheCommandIsCutAtThePlaceholder) {
    using richtext::HandlerCommandLine;
    EXPECT_EQ(HandlerCommandLine(L"\"C:\\b\\web.exe\" -nohome \"%1\" -x", L"http://h/"),
              L"\"C:\\b\\web.exe\" -nohome  http://h/");
    EXPECT_EQ(HandlerCommandLine(L"web.exe %1 -x", L"http://h/"), L"web.exe  http://h/");
    EXPECT_EQ(HandlerCommandLine(L"web.exe -new", L"http://h/"), L"web.exe -new http://h/");
}

class ImageTest : public LayoutTest {};

TEST_F(ImageTest, BitmapsTakeTheirSizeOrTheGivenOneAndALinkAroundThem) {
    const platform::UniqueBitmap bitmap = testing_canvas::MakeSolidBitmap(20, 10, RGB(0, 200, 0));
    const SIZE size = MeasureAndDraw(L"<a href=i><bmp handle=" + Number(bitmap.Get()) + L"></a>");
    EXPECT_EQ(size.cx, 21);
    EXPECT_EQ(size.cy, 11);
    const RECT image{0, 0, 20, 10};
    EXPECT_EQ(canvas_.CountOf(RGB(0, 200, 0), &image), 200);
    EXPECT_EQ(AreaOf(L"i").right, 20);
    EXPECT_EQ(Measure(L"<bmp handle=" + Number(bitmap.Get()) + L" width=50% height=30>").cx, 11);
    Measure(L"abc<bmp handle=" + Number(bitmap.Get()) + L">", WidthOf(L"abc") + 15);
    ASSERT_EQ(drawer_.Lines().size(), 2u) << "too wide for the rest of the line";
    EXPECT_EQ(drawer_.Lines()[1].width, 20);
}

TEST_F(ImageTest, ImagesFromLibrariesAndMissingOnesThatTakeNoSpace) {
    EXPECT_GT(Measure(L"<bmp srcdll=user32.dll iddll=32754>").cx, 2);
    EXPECT_EQ(Measure(L"<icon srcdll=user32.dll iddll=32512 width=16 height=16>").cx, 17);
    for (const wchar_t* missing :
         {L"a<bmp file=\"C:\\no\\such.bmp\">", L"a<bmp idres=31999>", L"a<bmp>"})
        EXPECT_EQ(Measure(missing).cx, WidthOf(L"a") + 1);
    const HICON icon = ::LoadIconW(nullptr, IDI_APPLICATION);
    EXPECT_EQ(Measure(L"<icon handle=" + Number(icon) + L">").cx,
              ::GetSystemMetrics(SM_CXICON) + 1);
}

TEST_F(ImageTest, AnimatedListsAdvanceAtTheirSpeedAndKeepTheirIndexOverPasses) {
    const COLORREF colours[3] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)};
    std::vector<std::uint32_t> pixels(30 * 10);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const COLORREF c = colours[i % 30 / 10];
        pixels[i] = 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
    const platform::UniqueBitmap strip = testing_canvas::MakeBitmap(30, 10, pixels);
    const std::wstring tag = L"<ilst handle=" + Number(strip.Get()) + L" cx=10 speed=2>";
    EXPECT_EQ(MeasureAndDraw(tag).cx, 11);
    EXPECT_EQ(canvas_.Pixel(5, 5), colours[0]);
    EXPECT_FALSE(drawer_.Tick());
    EXPECT_TRUE(drawer_.Tick());
    MeasureAndDraw(tag);
    EXPECT_EQ(canvas_.Pixel(5, 5), colours[1]);
    for (int tick = 0; tick < 4; ++tick)
        drawer_.Tick();
    MeasureAndDraw(tag);
    EXPECT_EQ(canvas_.Pixel(5, 5), colours[0]) << "wraps to the first image";
    MeasureAndDraw(L"<ilst handle=" + Number(strip.Get()) + L" cx=10 index=2>");
    EXPECT_EQ(canvas_.Pixel(5, 5), colours[2]);
    EXPECT_FALSE(drawer_.Tick()) << "without a speed nothing moves";
}
