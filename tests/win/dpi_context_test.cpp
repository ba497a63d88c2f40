// A thread's DPI awareness around a scope: what a pin or a full-screen capture sets for itself
// is put back, so that the windows made afterwards are scaled by the system again.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/dpi_context.h"

namespace {

// Whether a window made now, on this thread, is unaware.
bool NewWindowIsUnaware() {
    const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const bool unaware = WindowIsDpiUnaware(window);
    DestroyWindow(window);
    return unaware;
}

}  // namespace

TEST(ThreadDpiScope, PutsTheThreadsAwarenessBackAtTheEndOfEachScope) {
    ASSERT_TRUE(SetThreadDpiMode(DpiMode::kUnaware));
    ASSERT_TRUE(NewWindowIsUnaware());
    {
        ThreadDpiScope aware(DpiMode::kPerMonitor);
        EXPECT_FALSE(NewWindowIsUnaware());
        {
            ThreadDpiScope unaware(DpiMode::kUnaware);
            EXPECT_TRUE(NewWindowIsUnaware());
        }
        EXPECT_FALSE(NewWindowIsUnaware()) << "the inner scope put the outer one's awareness back";
    }
    EXPECT_TRUE(NewWindowIsUnaware()) << "a dialog after the scope is scaled by the system again";
}
