// CAppContext: what the program's windows and the capture share across threads: the window that
// asked for the capture in progress, the main window, the last saved picture and the last copied
// colour text, and a pinned picture on its way to its window. Every access takes its lock. The code handling a user's action records here;
// helpers never do.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>

#include "ui_toolkit/ui_render.h"

class CAppContext {
public:
    static CAppContext& Instance();

    HWND GetCaptureRequester() const;
    void SetCaptureRequester(HWND window);
    HWND GetMainWindow() const;
    void SetMainWindow(HWND window);
    std::wstring GetLastPicturePath() const;
    void SetLastPicturePath(const std::wstring& path);
    // The picture a pin just saved, in memory, for the pinned window: it is taken once, so the
    // window need not read the file back.
    void SetPinnedPicture(std::shared_ptr<const DuiLib::UiImage> picture);
    std::shared_ptr<const DuiLib::UiImage> TakePinnedPicture();
    std::wstring GetLastColorText() const;
    void SetLastColorText(const std::wstring& text);

    CAppContext() = default;
    CAppContext(const CAppContext&) = delete;
    CAppContext& operator=(const CAppContext&) = delete;

private:
    mutable std::mutex mutex_;
    HWND captureRequester_ = nullptr;
    HWND mainWindow_ = nullptr;
    std::wstring lastPicturePath_;
    std::wstring lastColorText_;
    std::shared_ptr<const DuiLib::UiImage> pinnedPicture_;
};
