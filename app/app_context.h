// CAppContext: the process-wide application context. It holds what the windows and the capture
// share (the capture requester, the main window, the last saved picture, the last copied colour)
// and runs the start-up of telemetry and the update check.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <thread>

class CAppContext {
public:
    static CAppContext& Instance();

    // Configures the event tracker and starts its sender, reports the start event for the
    // command line, and starts the update check on its own thread. Endpoints come from the
    // build and the environment (read here, once).
    void Startup(const std::wstring& commandLine);

    HWND GetCaptureRequester() const;
    void SetCaptureRequester(HWND window);
    HWND GetMainWindow() const;
    void SetMainWindow(HWND window);
    std::wstring GetLastPicturePath() const;
    void SetLastPicturePath(const std::wstring& path);
    std::wstring GetLastColorText() const;
    void SetLastColorText(const std::wstring& text);

    // Waits for the update check to end (at exit).
    void JoinUpdateCheck();

    CAppContext() = default;
    ~CAppContext() { JoinUpdateCheck(); }
    CAppContext(const CAppContext&) = delete;
    CAppContext& operator=(const CAppContext&) = delete;

private:
    mutable std::mutex mutex_;
    HWND captureRequester_ = nullptr;
    HWND mainWindow_ = nullptr;
    std::wstring lastPicturePath_;
    std::wstring lastColorText_;
    std::thread updateCheck_;
};
