#include "annotation/text_edit_wnd_win.h"

#include "base/app_messages.h"
#include "base/dpi_context.h"

#include <algorithm>
#include <vector>

#include "annotation/caret_blink.h"

namespace {

constexpr UINT_PTR kBlinkTimer = 2;
constexpr int kEditId = 1002;
// Room the caret and a frame need around the text, on the owner.
constexpr int kAreaMargin = 8;

// Paints the selected characters [from, to) of a line drawn at line's top left in the system's
// highlight colours, over the plain text.
void PaintSelectedPart(HDC dc, const RECT& line, const std::wstring& text, int from, int to) {
    SIZE before{}, through{};
    GetTextExtentPoint32W(dc, text.c_str(), from, &before);
    GetTextExtentPoint32W(dc, text.c_str(), to, &through);
    RECT band{line.left + before.cx, line.top, line.left + through.cx, line.bottom};
    FillRect(dc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
    const COLORREF previous = ::SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    DrawTextW(dc, text.c_str() + from, to - from, &band, DT_NOPREFIX | DT_SINGLELINE);
    ::SetTextColor(dc, previous);
}

}  // namespace

bool RegisterTextHostClass(HINSTANCE instance) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, kTextHostClass, &existing)) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &CTextEditWnd::HostProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(32512));
    wc.hIconSm = wc.hIcon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kTextHostClass;
    return RegisterClassExW(&wc) != 0;
}

CTextEditWnd::CTextEditWnd(HINSTANCE instance, HWND owner) : instance_(instance), owner_(owner) {}

CTextEditWnd::~CTextEditWnd() {
    const HWND host = host_;
    Detach();
    if (host && IsWindow(host)) DestroyWindow(host);
}

void CTextEditWnd::Detach() {
    StopBlinking();
    if (edit_ && previous_ && IsWindow(edit_)) SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    if (host_ && IsWindow(host_)) SetWindowLongPtrW(host_, GWLP_USERDATA, 0);
    host_ = edit_ = nullptr;
    previous_ = nullptr;
    focused_ = caretVisible_ = false;
}

CTextEditWnd* CTextEditWnd::FromHost(HWND host) {
    return host ? reinterpret_cast<CTextEditWnd*>(GetWindowLongPtrW(host, GWLP_USERDATA)) : nullptr;
}

bool CTextEditWnd::Build(const std::wstring& face, int points) {
    RegisterTextHostClass(instance_);
    POINT at{150, 150};
    ClientToScreen(owner_, &at);
    host_ = CreateWindowExW(WS_EX_LAYERED, kTextHostClass, L"子窗口B", WS_POPUP | WS_VISIBLE, at.x, at.y, 1, 1, owner_,
                            nullptr, instance_, nullptr);
    if (!host_) return false;
    SetLayeredWindowAttributes(host_, 0, 1, LWA_ALPHA);
    edit_ = CreateWindowExW(0, L"EDIT", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_AUTOVSCROLL | ES_MULTILINE, 0, 0,
                            1, 1, host_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), instance_, nullptr);
    if (edit_) {
        previous_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CTextEditWnd::EditProc)));
    }
    SetWindowLongPtrW(host_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetFont(face, points);
    return true;
}

void CTextEditWnd::SetFont(const std::wstring& face, int points) {
    face_ = face.substr(0, 31);
    points_ = points;
    // Points at the DPI of the monitor under the text, so text is as large as in other programs
    // there, also on an overlay that spans monitors of different scales.
    fontDpi_ = DpiAtText();
    const int height = -MulDiv(points_, fontDpi_, 72);
    font_.Reset(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, face_.c_str()));
    if (edit_ && font_) {
        SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
        AutoSize();
        if (focused_) caretVisible_ = true;
    }
    InvalidateOwner(true);
}

void CTextEditWnd::AutoSize() {
    if (!edit_) return;
    std::wstring text = Text();
    // A last line break starts a line that is still empty: it counts too.
    if (!text.empty() && text.back() == L'\n') text += L' ';
    RECT measured{0, 0, 1, 1};
    {
        WindowDc dc(edit_);
        SelectedObject font(dc.Get(), font_.Get());
        if (text.empty()) {
            DrawTextW(dc.Get(), L"  ", 2, &measured, DT_CALCRECT | DT_NOPREFIX);
            TEXTMETRICW metrics{};
            GetTextMetricsW(dc.Get(), &metrics);
            measured.right = std::max<LONG>(measured.right, 2 * metrics.tmAveCharWidth);
        } else {
            DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &measured, DT_CALCRECT | DT_NOPREFIX);
        }
    }
    RECT window, client;
    GetWindowRect(edit_, &window);
    GetClientRect(edit_, &client);
    const int width = std::max<LONG>(1, measured.right + (window.right - window.left) - client.right + 8);
    const int height = std::max<LONG>(1, measured.bottom + (window.bottom - window.top) - client.bottom + 4);
    SetWindowPos(edit_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Every line fits now: none stays scrolled out of view above.
    SendMessageW(edit_, EM_LINESCROLL, 0, -SendMessageW(edit_, EM_GETFIRSTVISIBLELINE, 0, 0));
    RECT hostWindow, hostClient;
    GetWindowRect(host_, &hostWindow);
    GetClientRect(host_, &hostClient);
    const int frame = ((hostWindow.right - hostWindow.left) - hostClient.right) / 2 * 2;
    SetWindowPos(host_, nullptr, 0, 0, width + frame, height + frame, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateOwner(false);
}

void CTextEditWnd::PlaceAt(POINT ownerClient) {
    if (!Visible()) return;
    ClientToScreen(owner_, &ownerClient);
    SetWindowPos(host_, nullptr, ownerClient.x, ownerClient.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Moved onto a monitor of another scale: the same points there.
    if (DpiAtText() != fontDpi_) SetFont(face_, points_);
}

int CTextEditWnd::DpiAtText() const {
    RECT r{};
    if (host_) GetWindowRect(host_, &r);
    return DpiAtScreenPoint(POINT{r.left, r.top});
}

void CTextEditWnd::Show(bool show) {
    if (!host_) return;
    ShowWindow(host_, show ? SW_SHOW : SW_HIDE);
    if (show && edit_) SetFocus(edit_);
}

std::wstring CTextEditWnd::Text() const {
    if (!edit_) return std::wstring();
    // However long: the whole text, not a fixed buffer's worth.
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(edit_, &text[0], static_cast<int>(text.size()))));
    return text;
}

SIZE CTextEditWnd::EditSize() const {
    RECT r{};
    if (edit_) GetWindowRect(edit_, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

SIZE CTextEditWnd::HostClientSize() const {
    RECT r{};
    if (host_) GetClientRect(host_, &r);
    return SIZE{r.right, r.bottom};
}

RECT CTextEditWnd::AreaOnOwner() const {
    RECT r{};
    if (!host_) return r;
    GetWindowRect(host_, &r);
    MapWindowPoints(nullptr, owner_, reinterpret_cast<POINT*>(&r), 2);
    InflateRect(&r, kAreaMargin, kAreaMargin);
    return r;
}

void CTextEditWnd::InvalidateOwner(bool update) {
    if (!owner_ || !IsWindow(owner_)) return;
    const RECT now = AreaOnOwner();
    InvalidateRect(owner_, &lastArea_, FALSE);
    InvalidateRect(owner_, &now, FALSE);
    lastArea_ = now;
    if (update) UpdateWindow(owner_);
}

void CTextEditWnd::PaintText(HDC dc, int x0, int y0, COLORREF color, bool caret) const {
    if (!edit_) return;
    RECT client;
    GetClientRect(edit_, &client);
    const DWORD margins = static_cast<DWORD>(SendMessageW(edit_, EM_GETMARGINS, 0, 0));
    const RECT area{x0 + LOWORD(margins), y0, x0 + client.right - HIWORD(margins), y0 + client.bottom};
    SelectedObject font(dc, font_.Get());
    const COLORREF oldColor = ::SetTextColor(dc, color);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int lineHeight = std::max<LONG>(1, metrics.tmHeight);
    RECT format{};
    SendMessageW(edit_, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    const int first = static_cast<int>(SendMessageW(edit_, EM_GETFIRSTVISIBLELINE, 0, 0));
    const int count = static_cast<int>(SendMessageW(edit_, EM_GETLINECOUNT, 0, 0));
    auto lineText = [this](int line) {
        const int start = static_cast<int>(SendMessageW(edit_, EM_LINEINDEX, line, 0));
        const int length = static_cast<int>(SendMessageW(edit_, EM_LINELENGTH, start, 0));
        std::vector<wchar_t> buffer(static_cast<size_t>(std::max(length, 1)) + 1, L'\0');
        buffer[0] = static_cast<wchar_t>(buffer.size() - 1);
        const int got = static_cast<int>(SendMessageW(edit_, EM_GETLINE, line, reinterpret_cast<LPARAM>(buffer.data())));
        return std::wstring(buffer.data(), static_cast<size_t>(std::clamp(got, 0, length)));
    };
    DWORD start = 0, end = 0;
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    // While edited, a selection shows as the edit control would show it.
    const bool selection = caret && focused_ && end > start;
    if (GetWindowTextLengthW(edit_) > 0) {
        for (int line = first, k = 0; line < count && y0 + format.top + k * lineHeight < y0 + format.bottom; ++line, ++k) {
            const std::wstring text = lineText(line);
            if (text.empty()) continue;
            RECT r{area.left + format.left, y0 + format.top + k * lineHeight, area.left + format.right,
                   y0 + format.top + (k + 1) * lineHeight};
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_NOPREFIX | DT_SINGLELINE);
            if (!selection) continue;
            const int lineStart = static_cast<int>(SendMessageW(edit_, EM_LINEINDEX, line, 0));
            const int length = static_cast<int>(text.size());
            const int from = std::clamp(static_cast<int>(start) - lineStart, 0, length);
            const int to = std::clamp(static_cast<int>(end) - lineStart, 0, length);
            if (to > from) PaintSelectedPart(dc, r, text, from, to);
        }
    }
    if (caret && focused_ && caretVisible_) {
        const int line = static_cast<int>(SendMessageW(edit_, EM_LINEFROMCHAR, start, 0));
        const int column = static_cast<int>(start) - static_cast<int>(SendMessageW(edit_, EM_LINEINDEX, line, 0));
        SIZE extent{};
        const std::wstring text = column > 0 ? lineText(line) : std::wstring();
        if (!text.empty()) GetTextExtentPoint32W(dc, text.c_str(), std::min<int>(column, static_cast<int>(text.size())), &extent);
        const int x = area.left + extent.cx, y = area.top + (line - first) * lineHeight;
        if (y >= area.top && y < area.bottom) {
            UniquePen pen(CreatePen(PS_SOLID, 2, color));
            SelectedObject selected(dc, pen.Get());
            MoveToEx(dc, x, y, nullptr);
            LineTo(dc, x, y + lineHeight);
        }
    }
    SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColor);
}

void CTextEditWnd::StartBlinking() {
    if (timer_ || !host_) return;
    // A caret the user set not to blink stays on.
    const unsigned interval = CaretBlinkInterval(GetCaretBlinkTime());
    if (interval != kSteadyCaret) timer_ = SetTimer(host_, kBlinkTimer, interval, nullptr);
}

void CTextEditWnd::StopBlinking() {
    if (timer_ && host_ && IsWindow(host_)) KillTimer(host_, kBlinkTimer);
    timer_ = 0;
}

void CTextEditWnd::ShowCaretNow() {
    if (focused_) caretVisible_ = true;
    InvalidateOwner(false);
}

LRESULT CALLBACK CTextEditWnd::HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CTextEditWnd* editor = FromHost(hwnd);
    if (!editor) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_DESTROY:
            // The owner went first: the shape keeps its editor, without windows.
            editor->Detach();
            return 0;
        case WM_MOVE: editor->InvalidateOwner(false); break;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            editor->InvalidateOwner(false);
            return 0;
        }
        case WM_NCHITTEST: {
            const LRESULT hit = DefWindowProcW(hwnd, msg, wParam, lParam);
            return hit == HTCLIENT ? HTCAPTION : hit;
        }
        case WM_TIMER:
            if (wParam == kBlinkTimer) {
                editor->caretVisible_ = !editor->caretVisible_;
                editor->InvalidateOwner(true);
            }
            break;
        default: break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK CTextEditWnd::EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CTextEditWnd* editor = FromHost(GetParent(hwnd));
    if (!editor || editor->edit_ != hwnd || !editor->previous_) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return editor->OnEditMessage(msg, wParam, lParam);
}

LRESULT CTextEditWnd::OnEditMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const WNDPROC previous = previous_;
    const HWND edit = edit_;
    switch (msg) {
        case WM_SETFOCUS:
            focused_ = caretVisible_ = true;
            StartBlinking();
            InvalidateRect(host_, nullptr, FALSE);
            InvalidateOwner(true);
            break;
        case WM_KILLFOCUS:
            focused_ = caretVisible_ = false;
            StopBlinking();
            InvalidateOwner(true);
            break;
        case WM_CONTEXTMENU: return 0;
        case WM_PAINT: {
            const LRESULT result = CallWindowProcW(previous, edit, msg, wParam, lParam);
            InvalidateOwner(false);
            return result;
        }
        case WM_KEYDOWN:
            // Escape ends the editing: the overlay commits the text and moves the keyboard on,
            // so a second Escape ends the capture.
            if (wParam == VK_ESCAPE) {
                PostMessageW(owner_, WM_CAPTURE_END_TEXT_EDIT, 0, 0);
                return 0;
            }
            [[fallthrough]];
        case WM_CHAR:
            if (msg == WM_CHAR && wParam == 0x1B) return 0;  // no beep for the Escape character
            [[fallthrough]];
        case WM_CUT:
        case WM_PASTE:
        case WM_CLEAR:
        case WM_UNDO: {
            const LRESULT result = CallWindowProcW(previous, edit, msg, wParam, lParam);
            AutoSize();
            ShowCaretNow();
            return result;
        }
        case WM_LBUTTONDOWN: {
            const LRESULT result = CallWindowProcW(previous, edit, msg, wParam, lParam);
            ShowCaretNow();
            return result;
        }
        default: break;
    }
    return CallWindowProcW(previous, edit, msg, wParam, lParam);
}
