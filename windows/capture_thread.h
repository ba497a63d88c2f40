// CaptureThread: the thread a capture runs on, one at a time. The main window's thread starts it
// and goes back to its messages, so pins, the ball, the tray icon and programs that broadcast
// keep getting answers while the user works in a region capture's overlay or a full-screen
// picture is saved; the thread says when it has ended by a posted message, and only then is it
// joined.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

class CaptureThread {
public:
    CaptureThread() = default;
    // Cancels and joins a capture still running (its owner should have waited for it pumping).
    ~CaptureThread();
    CaptureThread(const CaptureThread&) = delete;
    CaptureThread& operator=(const CaptureThread&) = delete;

    // Runs body on a new thread; once it has returned, endedMessage is posted to notify. False
    // when a capture is still running or no thread could be started.
    bool Start(HWND notify, UINT endedMessage, std::function<void()> body);
    // Started and not joined yet.
    bool Running() const { return thread_.joinable(); }
    // The body has returned (the thread is ending or gone).
    bool Ended() const { return ended_.load(); }
    // Joins a thread whose body has returned; does nothing while it still runs.
    void JoinIfEnded();

    // Called on the capture's thread once its overlay shows: a cancel asked for before then
    // ends the capture now.
    void OverlayShown(HWND overlay);
    // Ends the capture as Escape does, from any thread; one not shown yet ends as it shows.
    void Cancel();
    // Cancels the capture and waits for its thread, taking this thread's messages meanwhile.
    void CancelAndWait();

private:
    std::mutex mutex_;
    HWND overlay_ = nullptr;
    bool cancelled_ = false;
    std::atomic<bool> ended_{false};
    std::thread thread_;
};
