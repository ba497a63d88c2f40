#include "base/clipboard.h"

#include <cstring>

namespace {

// Tries to open the clipboard this many times, this many milliseconds apart: clipboard managers
// and other programs hold it for a moment after every change.
constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenRetryMs = 10;

bool OpenClipboardSoon() {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        if (attempt > 0) Sleep(kOpenRetryMs);
        if (OpenClipboard(nullptr)) return true;
    }
    return false;
}

// Open for the scope of one call, owned by no window.
class OpenedClipboard {
public:
    OpenedClipboard() : open_(OpenClipboardSoon()) {}
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool Emptied() const { return open_ && EmptyClipboard(); }

private:
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
