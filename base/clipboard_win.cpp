#include "base/clipboard.h"

#include <cstring>

namespace {

// Open for the scope of one call, owned by no window.
class OpenedClipboard {
public:
    OpenedClipboard() : open_(OpenClipboard(nullptr) != FALSE) {}
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
