// The thread a capture runs on, with real threads, windows and messages: a cancel before the
// overlay shows, a wait that keeps this thread's windows answering, the end's message, and a
// quit met while waiting.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>

#include "base/message_loop.h"
#include "base/unique_handle.h"
#include "tests/win/window_test_util.h"
#include "windows/capture_thread.h"

namespace {

constexpr UINT kEnded = WM_APP + 40;
constexpr UINT kPing = WM_APP + 41;
std::atomic<int> g_ended{0};
std::atomic<int> g_chars{0};

// Stands in for the main window (counts the ends, answers pings) and for the overlay (WM_CLOSE
// ends its thread's loop).
LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kEnded) ++g_ended;
    if (message == kPing) return 42;
    if (message == WM_CHAR) ++g_chars;
    if (message == WM_CLOSE) PostQuitMessage(0);
    return message == WM_CLOSE ? 0 : DefWindowProcW(window, message, wParam, lParam);
}

HWND MessageWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"CaptureThreadTest";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

}  // namespace

TEST(CaptureThread, ACancelBeforeTheOverlayShowsEndsItWhileThisThreadKeepsAnswering) {
    g_ended = 0;
    const HWND main = MessageWindow();
    CaptureThread capture;
    UniqueHandle cancelled(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<LRESULT> answer{0};
    ASSERT_TRUE(capture.Start(main, kEnded, [&] {
        // The cancel comes while the screen is being grabbed, before there is an overlay.
        WaitForSingleObject(cancelled.Get(), 10000);
        const HWND overlay = MessageWindow();
        capture.OverlayShown(overlay);
        RunMessageLoop();
        DestroyWindow(overlay);
        // As the clipboard tells its last owner on this thread: answered only while it pumps.
        DWORD_PTR result = 0;
        if (SendMessageTimeoutW(main, kPing, 0, 0, SMTO_NORMAL, 5000, &result)) answer = static_cast<LRESULT>(result);
    }));
    EXPECT_FALSE(capture.Start(main, kEnded, [] {})) << "a second capture while one runs";
    capture.JoinIfEnded();  // still running: nothing waits here
    EXPECT_TRUE(capture.Running());
    capture.Cancel();
    SetEvent(cancelled.Get());
    capture.CancelAndWait();
    EXPECT_FALSE(capture.Running());
    EXPECT_EQ(answer.load(), 42);
    // Its end is posted; the next capture may start and is joined once it has said so.
    ASSERT_TRUE(capture.Start(main, kEnded, [] {}));
    EXPECT_TRUE(PumpUntil([] { return g_ended == 2; }, 5000));
    capture.JoinIfEnded();
    EXPECT_FALSE(capture.Running());
    DestroyWindow(main);
}

TEST(PumpMessagesUntil, KeysAreTranslatedAndAQuitMetWhileWaitingStillEndsTheLoopAfterwards) {
    const HWND window = MessageWindow();
    g_chars = 0;
    // A key typed into a dialog while the exit waits still makes its character.
    PostMessageW(window, WM_KEYDOWN, 'A', 1 | (MapVirtualKeyW('A', MAPVK_VK_TO_VSC) << 16));
    PostQuitMessage(7);
    int asked = 0;
    PumpMessagesUntil([&] { return ++asked > 2; }, 10);  // done once the queue was read
    EXPECT_EQ(g_chars, 1);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    DestroyWindow(window);
}
