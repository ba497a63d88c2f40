// The main window's answers to what Windows sends it around sleep and the session's end, on the
// real window built from the program's skin (the skin comes from dialogs_test's environment).
#include <windows.h>

#include <gtest/gtest.h>

#include "base/app_messages.h"
#include "capture/app_context.h"
#include "windows/main_wnd.h"
#include "windows/toast_wnd.h"

namespace {

// A main window's end asks this thread's loop to end: the tests after it run their own loops.
void ForgetQuit() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

}  // namespace

TEST(MainWindow, AWakeFromSleepTellsItsHandlerAndALogoffWithNothingPendingIsAgreedTo) {
    {
        CMainWnd main;
        ASSERT_TRUE(main.Create(nullptr, L"main window test", WS_CAPTION | WS_SYSMENU, 0));
        int wakes = 0;
        main.SetResumeHandler([&] { ++wakes; });
        SendMessageW(main.GetHWND(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
        EXPECT_EQ(wakes, 0) << "going to sleep is no wake";
        SendMessageW(main.GetHWND(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
        EXPECT_EQ(wakes, 1);
        EXPECT_EQ(SendMessageW(main.GetHWND(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
        DestroyWindow(main.GetHWND());
    }
    CloseToasts();
    ForgetQuit();
}

TEST(MainWindow, APinWhosePictureCannotBeShownSaysItCouldNotBeOpened) {
    {
        CMainWnd main;
        ASSERT_TRUE(main.Create(nullptr, L"main window test", WS_CAPTION | WS_SYSMENU, 0));
        CAppContext::Instance().TakePinnedPicture();  // the capture left no picture to show
        SendMessageW(main.GetHWND(), WM_CAPTURE_ENDED, static_cast<WPARAM>(CaptureResult::kPin), 0);
        const HWND toast = FindWindowW(L"ToastWnd", nullptr);
        ASSERT_NE(toast, nullptr);
        wchar_t title[64] = {0};
        GetWindowTextW(toast, title, 64);
        EXPECT_STREQ(title, L"打开失败");
        DestroyWindow(main.GetHWND());
    }
    CloseToasts();
    ForgetQuit();
}
