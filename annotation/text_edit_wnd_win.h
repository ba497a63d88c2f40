// CTextEditWnd: the in-place editor of a text annotation. A layered host popup of the class
// "WindowClassB", drawn at alpha 1 (invisible, yet it takes the focus, keys and clicks), holds a
// multi-line EDIT control that supplies typing, selection, clipboard and caret positioning. The
// overlay never shows them: the text shape paints the control's lines and a caret of its own
// onto the overlay's back buffer. The editor belongs to its text shape and is freed once, by
// it; if the overlay (the host's owner) goes first, the host only lets go of the editor.
#pragma once

#include <windows.h>

#include <string>

#include "base/unique_handle.h"

constexpr wchar_t kTextHostClass[] = L"WindowClassB";

// Registers the editor host's window class for the program instance (icon 32512 of the module).
// True when it is registered (also when it already was).
bool RegisterTextHostClass(HINSTANCE instance);

class CTextEditWnd {
public:
    CTextEditWnd(HINSTANCE instance, HWND owner);
    ~CTextEditWnd();
    CTextEditWnd(const CTextEditWnd&) = delete;
    CTextEditWnd& operator=(const CTextEditWnd&) = delete;

    // Makes the host and its edit control, sized for the font. False without a host.
    bool Build(const std::wstring& face, int points);
    void SetFont(const std::wstring& face, int points);

    // Puts the host's client origin at this owner client point (only while it is visible).
    void PlaceAt(POINT ownerClient);
    // Shows the host and gives the edit control the focus; or hides it (the focus goes).
    void Show(bool show);
    bool Visible() const { return host_ && IsWindowVisible(host_); }

    // The whole text of the control.
    std::wstring Text() const;
    SIZE EditSize() const;
    SIZE HostClientSize() const;
    HWND Host() const { return host_; }
    HWND Edit() const { return edit_; }
    bool Focused() const { return focused_; }
    bool CaretVisible() const { return caretVisible_; }

    // Paints the control's visible lines at (x0, y0) in color (0x00BBGGRR), and the caret when
    // asked and due.
    void PaintText(HDC dc, int x0, int y0, COLORREF color, bool caret) const;

private:
    friend bool RegisterTextHostClass(HINSTANCE instance);
    static LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static CTextEditWnd* FromHost(HWND host);
    LRESULT OnEditMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // Lets go of the windows: the edit control's own procedure back, no timer, no back-reference.
    void Detach();
    void AutoSize();
    // After a key, an edit or a click: the caret shows at once.
    void ShowCaretNow();
    void StartBlinking();
    void StopBlinking();
    // Invalidates what the text covered on the owner before and covers now.
    void InvalidateOwner(bool update);
    RECT AreaOnOwner() const;
    int DpiAtText() const;

    HINSTANCE instance_;
    HWND owner_;
    HWND host_ = nullptr;
    HWND edit_ = nullptr;
    WNDPROC previous_ = nullptr;
    bool focused_ = false;
    bool caretVisible_ = false;
    UINT_PTR timer_ = 0;
    UniqueFont font_;
    std::wstring face_ = L"黑体";
    int points_ = 14;
    int fontDpi_ = 96;  // the DPI of the monitor under the text when the font was made
    RECT lastArea_{};
};
