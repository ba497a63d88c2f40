// Toasts under Wine: where they appear, that their timer closes them, that they never take the
// focus from the user's window, that Alt+F4 does not close them, and what they show.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "toolkit_test_window.h"
#include "window_test_util.h"
#include "windows/capture_hotkey.h"
#include "windows/toast_wnd.h"

namespace {

const testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new SkinEnvironment);

BOOL CALLBACK CollectToast(HWND hwnd, LPARAM list) {
    wchar_t name[32] = {0};
    GetClassNameW(hwnd, name, 32);
    if (lstrcmpW(name, L"ToastWnd") == 0) reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Toasts() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), &CollectToast, reinterpret_cast<LPARAM>(&found));
    return found;
}

RECT WorkArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

RECT WindowRect(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return rc;
}

// The window the user works in: an ordinary, active window of this thread.
class UserWindow {
public:
    UserWindow() {
        hwnd_ = CreateWindowExW(0, L"STATIC", L"user window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetForegroundWindow(hwnd_);
        SetFocus(hwnd_);
        PumpFor(50);
    }
    ~UserWindow() { DestroyWindow(hwnd_); }
    UserWindow(const UserWindow&) = delete;
    UserWindow& operator=(const UserWindow&) = delete;
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_;
};

class ToastTest : public testing::Test {
protected:
    void TearDown() override {
        // Every toast of a test has closed by its end, whatever the test checked.
        EXPECT_TRUE(PumpUntil([] { return Toasts().empty(); }, 10000)) << "a toast outlived its time";
    }
};

}  // namespace

TEST_F(ToastTest, BottomRightOfTheWorkAreaWithoutTakingTheFocusThenClosesOnItsTimer) {
    UserWindow user;
    const HWND foreground = GetForegroundWindow();
    ASSERT_EQ(foreground, user.hwnd());
    ShowToast(L"已保存到图库", 1500, nullptr, false);
    HWND toast = FindWindowW(L"ToastWnd", nullptr);
    ASSERT_NE(toast, nullptr);
    const RECT work = WorkArea();
    const RECT rc = WindowRect(toast);
    EXPECT_EQ(rc.right - rc.left, 201);
    EXPECT_EQ(rc.bottom - rc.top, 60);
    EXPECT_EQ(rc.right, work.right - 20);
    EXPECT_EQ(rc.bottom, work.bottom - 20);
    EXPECT_TRUE(IsWindowVisible(toast));
    EXPECT_EQ(GetWindowLongW(toast, GWL_STYLE) & 0x86000000, 0x86000000);
    EXPECT_EQ(GetWindowLongW(toast, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW), WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    EXPECT_STREQ(FindControlOf(toast, L"toast_label")->GetText(), L"已保存到图库");

    PumpFor(300);
    EXPECT_EQ(GetForegroundWindow(), foreground);
    EXPECT_EQ(GetFocus(), user.hwnd());
    // A click on the toast does not activate it either.
    EXPECT_EQ(SendMessageW(toast, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(toast), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_NOACTIVATE);
    EXPECT_TRUE(IsWindow(toast)) << "closed long before its 1500 ms";
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(toast); }, 10000));
    EXPECT_EQ(GetForegroundWindow(), foreground);
}

TEST_F(ToastTest, CentredInTheWorkArea) {
    ShowToast(L"感谢您的反馈", 1000, nullptr, true);
    HWND toast = FindWindowW(L"ToastWnd", nullptr);
    ASSERT_NE(toast, nullptr);
    const RECT work = WorkArea();
    const RECT rc = WindowRect(toast);
    EXPECT_EQ(rc.left, (work.right - 201 - work.left) / 2 + work.left);
    EXPECT_EQ(rc.top, (work.bottom - 60 - work.top) / 2 + work.top);
}

TEST_F(ToastTest, TwoToastsShareThePlaceAndEachClosesAfterItsOwnTime) {
    ShowToast(L"已复制到剪切板", 400, nullptr, false);
    ShowToast(L"已复制 已保存到图库", 3000, nullptr, false);
    std::vector<HWND> toasts = Toasts();
    ASSERT_EQ(toasts.size(), 2u);
    const RECT a = WindowRect(toasts[0]);
    const RECT b = WindowRect(toasts[1]);
    EXPECT_TRUE(EqualRect(&a, &b));
    ASSERT_TRUE(PumpUntil([] { return Toasts().size() == 1; }, 10000));
    EXPECT_STREQ(FindControlOf(Toasts()[0], L"toast_label")->GetText(), L"已复制 已保存到图库");
}

TEST_F(ToastTest, ALongNoticeStaysForTheWholeTimeItWasGiven) {
    // A lower bound only: a busy machine may close a toast later, never sooner. The timer's
    // own granularity is allowed for.
    const DWORD shown = GetTickCount();
    ShowToast(L"保存失败：磁盘已满，图片已复制到剪贴板", 4000, nullptr, false);
    const HWND toast = FindWindowW(L"ToastWnd", nullptr);
    ASSERT_NE(toast, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(toast); }, 30000));
    EXPECT_GE(GetTickCount() - shown, 4000u - 50u) << "closed before its time";
}

TEST_F(ToastTest, AltF4DoesNotCloseAToastButAClickNotificationDoes) {
    ShowToast(L"先输入内容哈", 5000, nullptr, true);
    HWND toast = FindWindowW(L"ToastWnd", nullptr);
    ASSERT_NE(toast, nullptr);
    EXPECT_EQ(SendMessageW(toast, WM_SYSCOMMAND, SC_CLOSE, 0), 0);
    PumpFor(200);
    EXPECT_TRUE(IsWindow(toast));
    DuiLib::WindowImplBase* window = ToolkitWindow(toast);
    ASSERT_NE(window, nullptr);
    DuiLib::TNotifyUI click;
    click.sType = L"click";
    click.pSender = FindControlOf(toast, L"toast_label");
    window->Notify(click);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(toast); }, 5000)) << "long before its 5000 ms";
}

TEST_F(ToastTest, ShowsWhiteTextOnItsDarkBackground) {
    ShowToast(L"已保存到图库", 3000, nullptr, false);
    HWND toast = FindWindowW(L"ToastWnd", nullptr);
    ASSERT_NE(toast, nullptr);
    PumpFor(200);
    const RECT rc = WindowRect(toast);
    int dark = 0;
    int white = 0;
    for (int y = rc.top + 20; y < rc.bottom - 20; ++y) {
        for (int x = rc.left + 40; x < rc.right - 40; x += 2) {
            const uint32_t c = ScreenPixel(x, y);
            const int r = c >> 16, g = (c >> 8) & 0xFF, bl = c & 0xFF;
            if (r < 90 && g < 90 && bl < 90) ++dark;
            if (r > 220 && g > 220 && bl > 220) ++white;
        }
    }
    EXPECT_GT(dark, 100) << "the dark background";
    EXPECT_GT(white, 20) << "the text";
    PostMessageW(toast, WM_TIMER, 1, 0);  // closes it now
}

TEST_F(ToastTest, ALongTextGrowsTheToastUntilEveryLineFitsAndTheTitleReadsIt) {
    const std::wstring text = HotkeyTakenText(DefaultCaptureHotkey(), HotkeyHolder::kScreenSnipping);
    ShowToast(text, 3000, nullptr, false);
    HWND toast = FindWindowW(L"ToastWnd", nullptr);
    ASSERT_NE(toast, nullptr);
    wchar_t title[256] = {0};
    GetWindowTextW(toast, title, 256);
    EXPECT_EQ(title, text);
    PumpFor(200);
    const RECT rc = WindowRect(toast);
    const RECT work = WorkArea();
    EXPECT_GT(rc.right - rc.left, 201);
    EXPECT_LE(rc.right - rc.left, work.right - work.left);
    EXPECT_GT(rc.bottom - rc.top, 60) << "room for two lines";
    // White text in both halves (both lines), and none in the outer ten pixels: nothing is cut.
    RECT ink{rc.right, rc.bottom, rc.left, rc.top};
    int upper = 0, lower = 0;
    const int middle = (rc.top + rc.bottom) / 2;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            const uint32_t c = ScreenPixel(x, y);
            if ((c >> 16) < 200 || ((c >> 8) & 0xFF) < 200 || (c & 0xFF) < 200) continue;
            (y < middle ? upper : lower)++;
            ink = RECT{std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x),
                       std::max<LONG>(ink.bottom, y)};
        }
    }
    EXPECT_GT(upper, 20);
    EXPECT_GT(lower, 20);
    EXPECT_GE(ink.left, rc.left + 10);
    EXPECT_LT(ink.right, rc.right - 10);
    EXPECT_GE(ink.top, rc.top + 6);
    EXPECT_LT(ink.bottom, rc.bottom - 6);
    PostMessageW(toast, WM_TIMER, 1, 0);
}

TEST_F(ToastTest, ALineLongerThanTheScreenIsCutToTheWorkAreaWithItsMargins) {
    ShowToast(std::wstring(400, L'\x6587'), 1000, nullptr, true);
    HWND toast = FindWindowW(L"ToastWnd", nullptr);
    ASSERT_NE(toast, nullptr);
    const RECT rc = WindowRect(toast);
    const RECT work = WorkArea();
    EXPECT_EQ(rc.right - rc.left, work.right - work.left - 48);
    PostMessageW(toast, WM_TIMER, 1, 0);
}
