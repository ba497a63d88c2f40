// PictureWriter: writes captured pictures as numbered files on a thread of its own, one after
// another in the order they came, so that a capture ends as soon as its picture is composed.
// After each picture it posts WM_PICTURE_WRITTEN to the window it reports to, which takes the
// outcome with TakeWritten and records and tells it. A picture that cannot be written goes on the
// clipboard, unless it is there already, so that it is not lost.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "base/capture_result.h"
#include "capture/capture_output.h"

// One picture to write.
struct PictureWrite {
    std::shared_ptr<const PixelPicture> picture;
    PictureTarget target;
    CaptureResult result = CaptureResult::kSave;  // the action that made it
    unsigned failed = 0;                          // what already failed (a copy)
    bool onClipboard = false;                     // the action copied it already
};

// What became of it.
struct PictureWritten {
    CaptureResult result = CaptureResult::kSave;
    std::wstring path;  // empty when it was not written
    unsigned failed = 0;
};

class PictureWriter {
public:
    // reportTo gets WM_PICTURE_WRITTEN; it may be given later.
    explicit PictureWriter(HWND reportTo = nullptr);
    // The thread ends after the pictures given so far; nothing waits for it here (its owner
    // waits with WaitIdle first).
    ~PictureWriter();
    PictureWriter(const PictureWriter&) = delete;
    PictureWriter& operator=(const PictureWriter&) = delete;

    void SetReportWindow(HWND reportTo);
    // Queues the picture. When no thread can be started it is written at once, here.
    void Submit(PictureWrite write);
    // The oldest outcome not yet taken.
    std::optional<PictureWritten> TakeWritten();
    // Waits at most milliseconds for every picture given so far; false when some are pending.
    bool WaitIdle(DWORD milliseconds);

    // Tests only: while the file exists, every picture waits before it is written, so that an
    // exit or a session's end is seen to wait for it, however slow the machine.
    void HoldWritesWhileFileExists(const std::wstring& file);

private:
    struct State;
    std::shared_ptr<State> state_;
};

// Writes one picture: saves it, and puts it on the clipboard when it could not be saved and is
// not there yet.
PictureWritten WritePicture(const PictureWrite& write);
