// The program's entry point: one instance, the services, the skin, the main window and its loop.
#include <windows.h>
#include <objbase.h>

#include <cwchar>
#include <memory>
#include <string>

#include "app/app_services.h"
#include "app/crash_dump_win.h"
#include "app/single_instance.h"
#include "base/dll_search.h"
#include "base/dpi_context.h"
#include "base/gdiplus_session.h"
#include "base/message_loop.h"
#include "annotation/text_edit_wnd_win.h"
#include "ui_toolkit/skin_loader.h"
#include "windows/main_wnd.h"

namespace {

// COM for the life of a scope (the folder picker and the shell need it).
class ComScope {
public:
    ComScope() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope() {
        if (ok_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool Ok() const { return ok_; }

private:
    bool ok_;
};

void RunMainWindow(HINSTANCE instance, bool inTray, AppServices& services) {
    LoadSkinArchive(instance);
    // The in-place text editor's host windows.
    RegisterTextHostClass(instance);
    auto mainWnd = std::make_unique<CMainWnd>();
    if (!mainWnd->Create(nullptr, kMainWindowTitle,
                         (inTray ? 0 : WS_VISIBLE) | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX, 0)) {
        return;
    }
    // A wake from sleep asks for an update check.
    mainWnd->SetResumeHandler([&services] { services.OnResume(); });
    mainWnd->CenterWindow();
    // End-to-end tests hold the writer back to see that exit and logoff wait for it.
    wchar_t gate[MAX_PATH] = {};
    const DWORD gateLength = GetEnvironmentVariableW(L"SCREENSHOT_TEST_WRITE_GATE", gate, MAX_PATH);
    if (gateLength > 0 && gateLength < MAX_PATH) mainWnd->HoldPictureWritesWhileFileExists(gate);
    mainWnd->ShowModal(!inTray);
    RunMessageLoop();
    mainWnd->FinishBeforeExit();
    // The window is still there when the loop ends by the tray menu's exit: destroying it
    // removes the tray icon at once.
    if (IsWindow(mainWnd->GetHWND())) DestroyWindow(mainWnd->GetHWND());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    LoadDllsFromSystemFolderOnly();  // before anything loads a DLL
    // The windows are drawn for 96 DPI and scaled by the system. On Windows this thread is unaware
    // already; Wine makes every program aware unless a thread says otherwise. Only the capture
    // works in physical pixels.
    SetUpProcessDpi();
    InstallCrashFilter();
    GdiplusSession gdiplus;
    SingleInstance single;
    if (!single.Valid()) return 0;
    if (single.AnotherRuns()) {
        SingleInstance::ActivateExisting(kMainWindowTitle);
        return 0;
    }
    AppServices services;
    const std::wstring commandLine = GetCommandLineW();
    services.Start(commandLine);
    {
        ComScope com;
        // Our setup restarts an updated copy with "start_in_tray" when its window was hidden.
        if (com.Ok()) RunMainWindow(instance, commandLine.find(L"start_in_tray") != std::wstring::npos, services);
    }
    services.Stop();
    return 0;
}
