#include "capture/app_context.h"


CAppContext& CAppContext::Instance() {
    static CAppContext context;
    return context;
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

void CAppContext::SetPinnedPicture(std::shared_ptr<const DuiLib::UiImage> picture) {
    std::lock_guard<std::mutex> lock(mutex_);
    pinnedPicture_ = std::move(picture);
}

std::shared_ptr<const DuiLib::UiImage> CAppContext::TakePinnedPicture() {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::move(pinnedPicture_);
}
