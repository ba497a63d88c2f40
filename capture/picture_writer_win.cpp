#include "capture/picture_writer.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

#include "base/app_messages.h"

// Shared with the thread, which keeps it alive: a thread still writing when the writer is gone
// (a save to a hung network folder at exit) touches nothing freed.
struct PictureWriter::State {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<PictureWrite> pending;
    std::deque<PictureWritten> written;
    HWND reportTo = nullptr;
    std::wstring gate;  // tests: pictures wait while this file exists
    bool writing = false;
    bool stopping = false;
    bool running = false;

    void Run() {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            changed.wait(lock, [this] { return stopping || !pending.empty(); });
            if (pending.empty()) return;
            PictureWrite write = std::move(pending.front());
            pending.pop_front();
            writing = true;
            const std::wstring heldWhile = gate;
            lock.unlock();
            while (!heldWhile.empty() && GetFileAttributesW(heldWhile.c_str()) != INVALID_FILE_ATTRIBUTES) Sleep(20);
            PictureWritten outcome = WritePicture(write);
            write.picture.reset();  // its memory goes before the next picture is taken
            lock.lock();
            writing = false;
            written.push_back(std::move(outcome));
            if (reportTo) PostMessageW(reportTo, WM_PICTURE_WRITTEN, 0, 0);
            changed.notify_all();
        }
    }
};

PictureWritten WritePicture(const PictureWrite& write) {
    PictureWritten outcome;
    outcome.result = write.result;
    outcome.failed = write.failed;
    if (!write.picture) {
        outcome.failed |= kCaptureFileNotWritten;
        return outcome;
    }
    const SaveOutcome saved = SavePicture(write.target.folder, write.target.format, *write.picture);
    outcome.path = saved.path;
    outcome.failed |= saved.failed;
    if (saved.path.empty() && !write.onClipboard && CopyPixelsToClipboard(*write.picture)) {
        outcome.failed |= kCaptureCopiedInstead;
    }
    return outcome;
}

PictureWriter::PictureWriter(HWND reportTo) : state_(std::make_shared<State>()) { state_->reportTo = reportTo; }

PictureWriter::~PictureWriter() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->stopping = true;
    state_->reportTo = nullptr;
    state_->changed.notify_all();
}

void PictureWriter::SetReportWindow(HWND reportTo) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->reportTo = reportTo;
}

void PictureWriter::HoldWritesWhileFileExists(const std::wstring& file) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->gate = file;
}

void PictureWriter::Submit(PictureWrite write) {
    std::unique_lock<std::mutex> lock(state_->mutex);
    if (!state_->running) {
        try {
            // The thread holds the state for as long as it runs.
            std::thread([state = state_] { state->Run(); }).detach();
            state_->running = true;
        } catch (const std::system_error&) {
        }
    }
    if (!state_->running) {
        // No thread: written here, and reported as from the thread.
        const HWND reportTo = state_->reportTo;
        lock.unlock();
        PictureWritten outcome = WritePicture(write);
        lock.lock();
        state_->written.push_back(std::move(outcome));
        if (reportTo) PostMessageW(reportTo, WM_PICTURE_WRITTEN, 0, 0);
        return;
    }
    state_->pending.push_back(std::move(write));
    state_->changed.notify_all();
}

std::optional<PictureWritten> PictureWriter::TakeWritten() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    if (state_->written.empty()) return std::nullopt;
    PictureWritten outcome = std::move(state_->written.front());
    state_->written.pop_front();
    return outcome;
}

bool PictureWriter::WaitIdle(DWORD milliseconds) {
    std::unique_lock<std::mutex> lock(state_->mutex);
    return state_->changed.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                    [this] { return state_->pending.empty() && !state_->writing; });
}
