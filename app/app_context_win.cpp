#include "app/app_context.h"

#include "app/endpoints.h"
#include "telemetry/event_tracker.h"
#include "telemetry/machine_code.h"
#include "telemetry/usage_events.h"
#include "update/update_check.h"

CAppContext& CAppContext::Instance() {
    static CAppContext context;
    return context;
}

void CAppContext::Startup(const std::wstring& commandLine) {
    const Endpoints endpoints = ReadEndpoints();
    std::wstring version;
    if (!GetExeVersionText(version)) version.clear();
    CEventTracker& tracker = CEventTracker::Instance();
    tracker.Start(endpoints.logService, GetMachineCode(L"screenshot"), version);
    tracker.Report(StartEventFor(commandLine));
    JoinUpdateCheck();
    updateCheck_ = std::thread(&UpdateCheckThreadBody, endpoints.updateManifestUrl);
}

void CAppContext::JoinUpdateCheck() {
    if (updateCheck_.joinable()) updateCheck_.join();
}

HWND CAppContext::GetCaptureRequester() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return captureRequester_;
}

void CAppContext::SetCaptureRequester(HWND window) {
    std::lock_guard<std::mutex> lock(mutex_);
    captureRequester_ = window;
}

HWND CAppContext::GetMainWindow() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return mainWindow_;
}

void CAppContext::SetMainWindow(HWND window) {
    std::lock_guard<std::mutex> lock(mutex_);
    mainWindow_ = window;
}

std::wstring CAppContext::GetLastPicturePath() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lastPicturePath_;
}

void CAppContext::SetLastPicturePath(const std::wstring& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    lastPicturePath_ = path;
}

std::wstring CAppContext::GetLastColorText() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lastColorText_;
}

void CAppContext::SetLastColorText(const std::wstring& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    lastColorText_ = text;
}
