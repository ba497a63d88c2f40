#include "windows/capture_thread.h"

#include <system_error>

#include "base/message_loop.h"

CaptureThread::~CaptureThread() {
    Cancel();
    if (thread_.joinable()) thread_.join();
}

bool CaptureThread::Start(HWND notify, UINT endedMessage, std::function<void()> body) {
    if (thread_.joinable()) return false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        overlay_ = nullptr;
        cancelled_ = false;
    }
    ended_ = false;
    try {
        thread_ = std::thread([this, notify, endedMessage, body = std::move(body)] {
            body();
            {
                std::lock_guard<std::mutex> lock(mutex_);
                overlay_ = nullptr;
            }
            ended_ = true;
            PostMessageW(notify, endedMessage, 0, 0);
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CaptureThread::JoinIfEnded() {
    if (ended_ && thread_.joinable()) thread_.join();
}

void CaptureThread::OverlayShown(HWND overlay) {
    std::lock_guard<std::mutex> lock(mutex_);
    overlay_ = overlay;
    if (cancelled_) PostMessageW(overlay_, WM_CLOSE, 0, 0);
}

void CaptureThread::Cancel() {
    std::lock_guard<std::mutex> lock(mutex_);
    cancelled_ = true;
    if (overlay_) PostMessageW(overlay_, WM_CLOSE, 0, 0);
}

void CaptureThread::CancelAndWait() {
    if (!thread_.joinable()) return;
    Cancel();
    // The capture may send to this thread's windows (the clipboard's last owner) as it ends.
    PumpMessagesUntil([this] { return Ended(); });
    thread_.join();
}
