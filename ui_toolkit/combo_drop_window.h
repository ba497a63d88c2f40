// The drop-down list of a combo: a popup under the combo's face that never takes activation
// from the window the combo lives in. A click on an entry chooses it; a click elsewhere, Escape
// or losing the mouse closes the list. The window deletes itself when destroyed.
#pragma once

#include <windows.h>

namespace DuiLib {

class CComboUI;

class ComboDropWindow {
public:
    explicit ComboDropWindow(CComboUI* owner) : owner_(owner) {}
    ComboDropWindow(const ComboDropWindow&) = delete;
    ComboDropWindow& operator=(const ComboDropWindow&) = delete;

    bool Open();
    void CloseList();
    // The combo is going away: forget it and close.
    void Detach();
    HWND GetHWND() const { return hwnd_; }

private:
    ~ComboDropWindow() = default;
    friend class CComboUI;  // deletes a window that failed to open

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hdc);
    int ItemAt(int y) const;
    void Choose(int index);

    CComboUI* owner_;
    HWND hwnd_ = nullptr;
    int itemHeight_ = 24;
    int hot_ = -1;
    int scroll_ = 0;  // index of the first entry shown
    int visibleCount_ = 0;
};

}  // namespace DuiLib
