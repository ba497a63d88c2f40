#include "toolkit_test_window.h"

#include <objidl.h>
#include <gdiplus.h>

#include "ui_toolkit/skin_loader.h"

void SkinEnvironment::SetUp() {
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
    ASSERT_TRUE(LoadSkinArchive(GetModuleHandleW(nullptr)));
}

void SkinEnvironment::TearDown() { Gdiplus::GdiplusShutdown(token_); }

void TestWindow::OnFinalMessage(HWND hWnd) {
    WindowImplBase::OnFinalMessage(hWnd);
    if (deleted_) *deleted_ = true;
    delete this;
}

void TestWindow::OnClick(DuiLib::TNotifyUI& msg) { clicks.push_back(msg.pSender->GetName().Str()); }

void TestWindow::Notify(DuiLib::TNotifyUI& msg) {
    notifications.push_back(RecordedNotify{msg.sType.Str(), msg.pSender ? msg.pSender->GetName().Str() : L"",
                                           msg.wParam, msg.lParam});
    WindowImplBase::Notify(msg);
}

HWND TestWindow::CreateAt(int x, int y) {
    HWND hwnd = Create(nullptr, L"toolkit test", WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                       WS_EX_TOPMOST, x, y, 500, 400);
    if (hwnd) {
        SetWindowPos(hwnd, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE);
        UpdateWindow(hwnd);
    }
    return hwnd;
}

int TestWindow::Count(const std::wstring& type, const std::wstring& sender) const {
    int count = 0;
    for (const RecordedNotify& n : notifications) {
        if (n.type == type && n.sender == sender) ++count;
    }
    return count;
}
