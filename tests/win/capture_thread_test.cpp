// The thread a capture runs on, with real threads, windows and messages: a cancel before
// the overlay shows, a wait that keeps this thread's windows answering, and the end's message.
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

// A message-only window of this thread that counts the capture's end and answers pings.
struct Listener {
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Listener*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == kEnded) ++self->ended;
        if (message == kPing) return 42;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    Listener() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"CaptureThreadTest";
        RegisterClassW(&wc);
        window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Listener() { DestroyWindow(window); }
    HWND window = nullptr;
    int ended = 0;
};

// Stands in for the overlay: a window of the capture's thread whose WM_CLOSE ends its loop.
LRESULT CALLBACK OverlayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeOverlay() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &OverlayProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"CaptureThreadTestOverlay";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

}  // namespace

TEST(CaptureThread, ACancelBeforeTheOverlayShowsEndsItAndTheWaitKeepsThisThreadAnswering) {
    Listener listener;
    CaptureThread capture;
    UniqueHandle cancelled(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<LRESULT> answer{0};
    const HWND main = listener.window;
    ASSERT_TRUE(capture.Start(main, kEnded, [&] {
        // The cancel comes while the screen is being grabbed, before there is an overlay.
        WaitForSingleObject(cancelled.Get(), 10000);
        const HWND overlay = MakeOverlay();
        capture.OverlayShown(overlay);
        RunMessageLoop();
        DestroyWindow(overlay);
        // As the clipboard tells its last owner on this thread: answered only while it pumps.
        DWORD_PTR result = 0;
        if (SendMessageTimeoutW(main, kPing, 0, 0, SMTO_NORMAL, 5000, &result)) answer = static_cast<LRESULT>(result);
    }));
    EXPECT_FALSE(capture.Start(main, kEnded, [] {})) << "a second capture while one runs";
    capture.Cancel();
    SetEvent(cancelled.Get());
    capture.CancelAndWait();
    EXPECT_FALSE(capture.Running());
    EXPECT_EQ(answer.load(), 42);
    PumpUntil([&] { return listener.ended == 1; }, 5000);
    EXPECT_EQ(listener.ended, 1);
}

TEST(CaptureThread, ItsEndIsPostedAndItIsJoinedOnlyThen) {
    Listener listener;
    CaptureThread capture;
    UniqueHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(capture.Start(listener.window, kEnded, [&] { WaitForSingleObject(release.Get(), 10000); }));
    capture.JoinIfEnded();  // still running: nothing waits here
    EXPECT_TRUE(capture.Running());
    SetEvent(release.Get());
    PumpUntil([&] { return listener.ended == 1; }, 5000);
    EXPECT_TRUE(capture.Ended());
    capture.JoinIfEnded();
    EXPECT_FALSE(capture.Running());
    EXPECT_TRUE(capture.Start(listener.window, kEnded, [] {})) << "the next capture may start";
    PumpUntil([&] { return listener.ended == 2; }, 5000);
    capture.JoinIfEnded();
}

TEST(PumpMessagesUntil, AQuitMetWhileWaitingStillEndsTheLoopAfterwards) {
    PostQuitMessage(7);
    int asked = 0;
    PumpMessagesUntil([&] { return ++asked > 1; }, 10);  // done once the queue was read
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}
