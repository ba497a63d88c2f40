#include "ui_toolkit/combo_drop_window.h"

#include "base/dpi_context.h"
#include "base/unique_handle.h"

#include <objidl.h>
#include <gdiplus.h>

#include "ui_toolkit/paint_manager.h"
#include "ui_toolkit/ui_combo.h"

namespace DuiLib {

namespace {

constexpr wchar_t kClassName[] = L"DuiLibComboDrop";
constexpr DWORD kHotColor = 0xFFE8F1FF;
constexpr DWORD kSelectedColor = 0xFFD0E3FF;
constexpr DWORD kBorderColor = 0xFFD9D9D9;

bool RegisterDropClass() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DROPSHADOW;
        wc.lpfnWndProc = &DefWindowProcW;
        wc.hInstance = CPaintManagerUI::GetInstance();
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

}  // namespace

bool ComboDropWindow::Open() {
    CPaintManagerUI* manager = owner_->GetManager();
    if (!manager || !manager->GetPaintWindow() || !RegisterDropClass()) return false;
    const RECT face = owner_->GetPos();
    const int count = owner_->GetCount();
    CListLabelElementUI* first = owner_->GetEntry(0);
    itemHeight_ = first && first->GetFixedHeight() > 0 ? first->GetFixedHeight() : face.bottom - face.top;
    if (itemHeight_ <= 0) itemHeight_ = 24;
    const SIZE box = owner_->GetDropBoxSize();
    const int width = box.cx > 0 ? box.cx : face.right - face.left;
    int height = count * itemHeight_;
    if (box.cy > 0 && box.cy < height) height = box.cy;
    visibleCount_ = height / itemHeight_;

    // The list takes its window's DPI awareness (an unaware toolbar opened from a capture thread
    // that is per-monitor aware), so it lands at the face and is scaled like it.
    ThreadDpiScope sameAsOwner(WindowIsDpiUnaware(manager->GetPaintWindow()) ? DpiMode::kUnaware : DpiMode::kPerMonitor);
    POINT origin{face.left, face.bottom};
    ClientToScreen(manager->GetPaintWindow(), &origin);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint(origin, MONITOR_DEFAULTTONEAREST), &monitor);
    if (origin.y + height > monitor.rcWork.bottom) origin.y -= height + (face.bottom - face.top);

    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kClassName, L"",
                            WS_POPUP, origin.x, origin.y, width, height, manager->GetPaintWindow(),
                            nullptr, CPaintManagerUI::GetInstance(), nullptr);
    if (!hwnd_) return false;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ComboDropWindow::WindowProc));
    // Start with the chosen entry in view.
    const int selected = owner_->GetCurSel();
    if (selected >= visibleCount_) scroll_ = selected - visibleCount_ + 1;
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    SetCapture(hwnd_);
    return true;
}

void ComboDropWindow::CloseList() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void ComboDropWindow::Detach() {
    owner_ = nullptr;
    CloseList();
}

int ComboDropWindow::ItemAt(int y) const {
    if (y < 0) return -1;
    const int index = y / itemHeight_ + scroll_;
    return owner_ && index < owner_->GetCount() && index - scroll_ < visibleCount_ ? index : -1;
}

void ComboDropWindow::Choose(int index) {
    CComboUI* owner = owner_;
    DestroyWindow(hwnd_);  // deletes this
    if (owner && index >= 0) owner->SelectItem(index, false, true);
}

LRESULT CALLBACK ComboDropWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ComboDropWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (self->owner_) self->owner_->OnDropWindowClosed();
        delete self;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return self->Handle(msg, wParam, lParam);
}

LRESULT ComboDropWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT client;
    GetClientRect(hwnd_, &client);
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hdc = BeginPaint(hwnd_, &ps);
            Paint(hdc);
            EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_MOUSEMOVE: {
            const int hot = PtInRect(&client, pt) ? ItemAt(pt.y) : -1;
            if (hot != hot_) {
                hot_ = hot;
                InvalidateRect(hwnd_, nullptr, FALSE);
            }
            return 0;
        }
        case WM_LBUTTONDOWN:
            if (!PtInRect(&client, pt)) CloseList();
            return 0;
        case WM_LBUTTONUP:
            if (PtInRect(&client, pt)) Choose(ItemAt(pt.y));
            return 0;
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (!PtInRect(&client, pt)) CloseList();
            return 0;
        case WM_MOUSEWHEEL: {
            const int count = owner_ ? owner_->GetCount() : 0;
            const int step = GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -1 : 1;
            const int next = scroll_ + step;
            if (next >= 0 && next + visibleCount_ <= count) {
                scroll_ = next;
                InvalidateRect(hwnd_, nullptr, FALSE);
            }
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) CloseList();
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != hwnd_) CloseList();
            return 0;
        default: return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
}

void ComboDropWindow::Paint(HDC hdc) {
    RECT client;
    GetClientRect(hwnd_, &client);
    const int width = client.right;
    const int height = client.bottom;
    UniqueDc memory(CreateCompatibleDC(hdc));
    UniqueBitmap bitmap(CreateCompatibleBitmap(hdc, width, height));
    if (!memory || !bitmap) return;
    SelectedObject selected(memory.Get(), bitmap.Get());
    {
        Gdiplus::Graphics g(memory.Get());
        g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
        g.Clear(Gdiplus::Color(0xFFFFFFFF));
        CPaintManagerUI* manager = owner_ ? owner_->GetManager() : nullptr;
        for (int row = 0; manager && row < visibleCount_; ++row) {
            const int index = row + scroll_;
            CListLabelElementUI* entry = owner_->GetEntry(index);
            if (!entry) break;
            const RECT item{0, row * itemHeight_, width, (row + 1) * itemHeight_};
            if (index == hot_) {
                DuiLib::FillRect(g, item, kHotColor, SIZE{});
            } else if (entry->IsSelected()) {
                DuiLib::FillRect(g, item, kSelectedColor, SIZE{});
            }
            if (!CDuiString(entry->GetBkImage()).IsEmpty()) {
                const ImageDescriptor descriptor = ParseImageDescriptor(entry->GetBkImage());
                if (auto image = manager->GetImage(descriptor.file)) DuiLib::DrawImage(g, *image, item, descriptor);
            }
            const RECT pad = owner_->GetItemTextPadding();
            const RECT text{item.left + pad.left, item.top + pad.top, item.right - pad.right, item.bottom - pad.bottom};
            DuiLib::DrawText(g, entry->GetText(), text, owner_->GetItemTextColor(),
                             manager->GetFontInfo(owner_->GetItemFont())->font.get(),
                             DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
        }
        DuiLib::DrawBorder(g, client, kBorderColor, 1, SIZE{});
    }
    BitBlt(hdc, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
}

}  // namespace DuiLib
