// Pinned pictures under Wine: the window's size and place, its hint bar and countdown, Escape
// closing it, and a file that is no picture leaving no window behind.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/unique_handle.h"
#include "test_folder.h"
#include "toolkit_test_window.h"
#include "window_test_util.h"
#include "windows/pin_hint.h"
#include "windows/show_pic_wnd.h"

namespace {

const testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new SkinEnvironment);

constexpr uint32_t kPictureColour = 0x3080C0;

HWND PinnedWindow() { return FindWindowW(L"CShowPicWnd", L"picWnd"); }

class PinnedPictureTest : public testing::Test {
protected:
    HWND Pin(int width, int height) {
        const std::wstring path = folder_.File(L"pin_" + std::to_wstring(width) + L"x" + std::to_wstring(height) + L".png");
        EXPECT_TRUE(WriteSolidPng(path, width, height, kPictureColour));
        EXPECT_TRUE(ShowPinnedPicture(path));
        HWND hwnd = PinnedWindow();
        PumpFor(100);
        return hwnd;
    }
    void TearDown() override {
        for (HWND hwnd; (hwnd = PinnedWindow()) != nullptr;) {
            DestroyWindow(hwnd);
        }
    }
    static bool HintShown(HWND hwnd) {
        DuiLib::CControlUI* bar = FindControlOf(hwnd, L"label_layout");
        return bar && bar->IsVisible();
    }
    static std::wstring HintText(HWND hwnd) {
        DuiLib::CControlUI* hint = FindControlOf(hwnd, L"static_hint");
        return hint ? hint->GetText().Str() : std::wstring();
    }

    TestFolder folder_;
};

// The window's rectangle, after checking it is the picture's size, centred at the top.
RECT ExpectAtTopCentre(HWND hwnd, int width, int height) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    EXPECT_EQ(rc.right - rc.left, width);
    EXPECT_EQ(rc.bottom - rc.top, height);
    EXPECT_EQ(rc.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(rc.top, 3);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    return rc;
}

bool NearColour(uint32_t c, uint32_t expected) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = (c >> shift) & 0xFF;
        const int b = (expected >> shift) & 0xFF;
        if (a - b > 8 || b - a > 8) return false;
    }
    return true;
}

}  // namespace

TEST_F(PinnedPictureTest, ExactPictureSizeCentredAtTheTopWithTheCountdownHint) {
    HWND hwnd = Pin(600, 400);
    ASSERT_NE(hwnd, nullptr);
    const RECT rc = ExpectAtTopCentre(hwnd, 600, 400);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & 0x82000000u, 0x82000000u);
    const DWORD exStyle = GetWindowLongW(hwnd, GWL_EXSTYLE);
    EXPECT_EQ(exStyle & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_LAYERED), WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 255);
    EXPECT_EQ(flags & LWA_ALPHA, static_cast<DWORD>(LWA_ALPHA));
    EXPECT_EQ(GetFocus(), hwnd) << "Escape must reach it";

    // The hint bar spans the window; the hint sits at its right with the countdown.
    ASSERT_TRUE(HintShown(hwnd));
    EXPECT_EQ(FindControlOf(hwnd, L"label_layout")->GetFixedWidth(), 600);
    EXPECT_EQ(HintText(hwnd), PinHintText(3));
    const RECT hint = FindControlOf(hwnd, L"static_hint")->GetPos();
    EXPECT_EQ(hint.right, 600 - 5);
    EXPECT_EQ(hint.top, 5);
    // On screen: the dark hint over the picture, the picture below it.
    EXPECT_TRUE(NearColour(ScreenPixel(rc.left + hint.left + 2, rc.top + hint.top + 2), 0x1F1F1F));
    EXPECT_TRUE(NearColour(ScreenPixel(rc.left + 300, rc.top + 300), kPictureColour));
    EXPECT_TRUE(NearColour(ScreenPixel(rc.left + 20, rc.top + 20), kPictureColour)) << "the bar itself is clear";

    ASSERT_TRUE(PumpUntil([&] { return HintText(hwnd) == PinHintText(2); }, 5000));
    ASSERT_TRUE(PumpUntil([&] { return HintText(hwnd) == PinHintText(1); }, 3000));
    ASSERT_TRUE(PumpUntil([&] { return !HintShown(hwnd); }, 3000));
    PumpFor(100);
    EXPECT_TRUE(NearColour(ScreenPixel(rc.left + hint.left + 2, rc.top + hint.top + 2), kPictureColour))
        << "the hint is gone from the screen";
    EXPECT_TRUE(IsWindow(hwnd)) << "the picture stays";
}

TEST_F(PinnedPictureTest, APictureHandedOverInMemoryIsShownWithoutReadingTheFile) {
    // The file holds another colour: what shows is the capture's own bitmap, the hint drawn over it.
    const std::wstring path = folder_.File(L"pin_memory.png");
    ASSERT_TRUE(WriteSolidPng(path, 640, 360, 0x102030));
    WindowDc screen(nullptr);
    UniqueBitmap capture(CreateCompatibleBitmap(screen.Get(), 640, 360));
    {
        UniqueDc dc(CreateCompatibleDC(screen.Get()));
        SelectedObject selected(dc.Get(), capture.Get());
        UniqueBrush brush(CreateSolidBrush(RGB(0x30, 0x80, 0xC0)));  // kPictureColour
        RECT all{0, 0, 640, 360};
        FillRect(dc.Get(), &all, brush.Get());
    }
    ASSERT_TRUE(ShowPinnedPicture(path, DuiLib::ImageFromBitmap(capture.Get())));
    HWND hwnd = PinnedWindow();
    PumpFor(100);
    const RECT rc = ExpectAtTopCentre(hwnd, 640, 360);
    EXPECT_TRUE(NearColour(ScreenPixel(rc.left + 300, rc.top + 300), kPictureColour));
    EXPECT_TRUE(NearColour(ScreenPixel(rc.right - 1, rc.bottom - 1), kPictureColour));
    EXPECT_TRUE(NearColour(ScreenPixel(rc.left + 20, rc.top + 20), kPictureColour)) << "the bar itself is clear";
}

TEST_F(PinnedPictureTest, APictureTooSmallForTheHintShowsNone) {
    HWND hwnd = Pin(150, 30);
    ASSERT_NE(hwnd, nullptr);
    const RECT rc = ExpectAtTopCentre(hwnd, 150, 30);
    EXPECT_FALSE(HintShown(hwnd));
    EXPECT_TRUE(NearColour(ScreenPixel(rc.right - 20, rc.top + 10), kPictureColour));
}

TEST_F(PinnedPictureTest, EscapeClosesOnlyThePinnedWindowThatHasTheFocus) {
    HWND first = Pin(300, 200);
    HWND second = Pin(320, 200);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(first, second);
    ASSERT_EQ(GetFocus(), second);
    // A real key press goes to the focused window.
    keybd_event(VK_ESCAPE, 0, 0, 0);
    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(second); }, 5000));
    EXPECT_TRUE(IsWindow(first));
    PostMessageW(first, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(first); }, 5000));
    // Other keys do nothing.
    HWND third = Pin(300, 200);
    SendMessageW(third, WM_KEYDOWN, 'A', 0);
    PumpFor(100);
    EXPECT_TRUE(IsWindow(third));
}

TEST_F(PinnedPictureTest, AFileThatIsNoPictureLeavesNoWindow) {
    const std::wstring broken = folder_.File(L"broken.png");
    WriteBytes(broken, "\x89PNG but not really a picture");
    EXPECT_FALSE(ShowPinnedPicture(broken));
    EXPECT_FALSE(ShowPinnedPicture(folder_.File(L"missing.png")));
    PumpFor(100);
    EXPECT_EQ(PinnedWindow(), nullptr);
}
