#include "base/clipboard.h"

#include <cstring>

namespace {

// Tries to open the clipboard this many times, this many milliseconds apart: clipboard managers
// and other programs hold it for a moment after every change.
constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenRetryMs = 10;

bool OpenClipboardSoon(HWND owner) {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        if (attempt > 0) Sleep(kOpenRetryMs);
        if (OpenClipboard(owner)) return true;
    }
    return false;
}

// Open for the scope of one call. Windows lets SetClipboardData fail when the clipboard was
// opened without a window, so each call opens it for a message-only window of its own thread.
// The data stays on the clipboard once that window goes; it is rendered at once, never delayed.
class OpenedClipboard {
public:
    OpenedClipboard()
        : owner_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)),
          open_(owner_ && OpenClipboardSoon(owner_)) {}
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
        if (owner_) DestroyWindow(owner_);
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool Emptied() const { return open_ && EmptyClipboard(); }

private:
    HWND owner_;
    bool open_;
};

}  // namespace

bool PutBitmapOnClipboard(HBITMAP image) {
    if (!image) return false;
    OpenedClipboard clipboard;
    return clipboard.Emptied() && SetClipboardData(CF_BITMAP, image) != nullptr;
}

bool PutTextOnClipboard(const std::wstring& text) {
    OpenedClipboard clipboard;
    if (!clipboard.Emptied()) return false;
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return false;
    void* locked = GlobalLock(memory);
    if (!locked) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(locked, text.c_str(), bytes);
    GlobalUnlock(memory);
    // The clipboard owns the memory once it took it.
    if (SetClipboardData(CF_UNICODETEXT, memory)) return true;
    GlobalFree(memory);
    return false;
}
