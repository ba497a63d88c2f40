// CMainWnd: the program's home. A small always-on-top window with buttons for a region capture,
// the picture folder, settings, feedback and about; the tray icon with its menu; the capture
// hotkey; the owner of the floating ball. It starts captures, hides and restores itself and the ball around them, and
// turns the results that come back as posted messages into toasts or a pinned picture.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "capture/picture_writer.h"
#include "capture/rectangular_selector.h"
#include "ui_toolkit/UIlib.h"
#include "windows/capture_hotkey.h"
#include "windows/float_wnd.h"
#include "windows/main_commands.h"
#include "windows/capture_thread.h"
#include "windows/tray_icon.h"

// The main window's title; a second instance finds the first one by it.
constexpr wchar_t kMainWindowTitle[] = L"Screenshot   ";

class CMainWnd : public DuiLib::WindowImplBase {
public:
    CMainWnd() = default;
    ~CMainWnd() override;

    // Starts a region capture on its own thread and returns at once.
    void StartRectCapture();
    // A capture's thread runs (until its end has been taken from this thread's messages).
    bool CaptureRunning() const { return capture_.Running(); }
    // Starts a full-screen capture on the capture's thread and returns at once.
    void StartFullScreenCapture();
    // The visible windows the settings say to hide for a capture, and hiding them.
    std::vector<HWND> WindowsToHideForCapture() const;
    // How they look on the screen now, before they are hidden.
    std::shared_ptr<const HiddenWindowsLook> LookOfWindowsToHide() const;
    void HideForCapture();
    void RestoreAfterCapture();
    // The settings, feedback and about windows.
    void ShowSetWnd();
    void ShowFeedbackWnd();
    void ShowAboutWnd();

    // Before the program ends, with the message loop over: a capture still open ends as cancel
    // does, and every picture on its way to disk is written (or, failing that, copied). The
    // windows keep answering meanwhile; after a second a toast says what the wait is for.
    void FinishBeforeExit();

    CFloatWnd& FloatWnd() { return float_; }
    // Tests only: pictures are written this much later.
    void HoldPictureWritesWhileFileExists(const std::wstring& file) { writer_.HoldWritesWhileFileExists(file); }
    // Called on the capture's thread once a region capture shows its first frame (for
    // benchmarks and tests that follow the program's own path).
    void SetCaptureStartedHandler(std::function<void(CRectangularSelector&)> handler) {
        captureStarted_ = std::move(handler);
    }
    // Called on this window's thread when the computer wakes from sleep.
    void SetResumeHandler(std::function<void()> handler) { resumed_ = std::move(handler); }

protected:
    LPCTSTR GetWindowClassName() const override { return L"UIMainWnd"; }
    DuiLib::CDuiString GetSkinFile() override { return L"main_wnd.xml"; }
    void InitWindow() override;
    void OnClick(DuiLib::TNotifyUI& msg) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    void OnFinalMessage(HWND hWnd) override;

private:
    void CreateFloatWnd();
    void ForgetPointer();
    // Before a capture's grab: no tooltip or toast of ours may be in the picture.
    void HideTipsAndToasts();
    bool IsVisible() const { return m_hWnd && IsWindowVisible(m_hWnd); }
    // A capture is on the screen (started, its outcome not posted yet). The main window and
    // the ball stay out of its way meanwhile: one asked for is shown as the capture ends.
    bool CaptureOpen() const { return capture_.Running() && !captureEnding_; }
    // Shows a hidden main window in front, or hides a visible one.
    void ToggleVisible();
    void ShowInFront();
    void ShowFloatWnd();
    void OpenPicDir();
    void OnCaptureResult(CaptureResult result, unsigned failed);
    // A capture handed its picture to the writer: the windows come back, a pin shows at once.
    void OnCaptureEnded(CaptureResult result);
    // The writer finished pictures: each saved one is the last picture; a toast tells the user.
    void OnPicturesWritten();
    void ShowPin();
    void OnFullScreenDone(unsigned failed);
    // Reports the command's usage event and carries out its action.
    void Run(const MainCommand& command);
    // The toast for a capture's outputs: longer for a failure, which takes longer to read.
    void ShowResultToast(const std::wstring& text, unsigned failed = 0);
    void ShowThanks();
    // Registers the configured capture hotkey; a taken one is said in a toast.
    void HoldCaptureHotkey();
    std::wstring HotkeyTakenNotice() const;
    // A toast shown as long as its text takes to read.
    void ShowNotice(const std::wstring& text);
    // Our setup asks the program to end for an update: it does, as the tray menu's exit, unless
    // the user is busy with it. 0: busy; 1: ending, the main window was shown; 2: ending, it was
    // hidden in the tray.
    LRESULT CloseForUpdate(DWORD askedAt);
    // Hides what the settings say, and runs body on the capture's thread with how the hidden
    // windows looked.
    void StartCapture(std::function<void(const HiddenWindowsLook&)> body);
    // A capture's thread has ended: it is joined, and a command asked for while it ended
    // runs now.
    void OnCaptureThreadEnded();
    // The session ends (logoff, shutdown): Windows is asked to wait while pictures are pending,
    // and they are finished before the program ends as its exit does.
    LRESULT OnQueryEndSession();
    void OnEndSession(bool ending);

    // The windows the capture in progress hid.
    struct HiddenWindows {
        bool main = false;
        bool ball = false;
    };

    // Writes the captures' pictures in the background; the exit waits for it.
    PictureWriter writer_;
    TrayIcon tray_;
    CaptureHotkey hotkey_;
    HiddenWindows hiddenForCapture_;
    bool thanksDue_ = false;
    bool exiting_ = false;  // the exit is under way: nothing new starts
    // The capture in progress has posted its outcome and is ending.
    bool captureEnding_ = false;
    // A capture, or a dialog, asked for while the last capture was ending.
    const MainCommand* afterCapture_ = nullptr;
    CFloatWnd float_;
    std::function<void(CRectangularSelector&)> captureStarted_;
    std::function<void()> resumed_;
    // Last: the capture's thread uses the members above, so it is joined before they go.
    CaptureThread capture_;
};
