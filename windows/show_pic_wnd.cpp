#include "windows/show_pic_wnd.h"

#include <memory>

#include "base/dpi_context.h"
#include "ui_toolkit/UIlib.h"
#include "windows/pin_hint.h"

namespace {

using namespace DuiLib;

// Steps the hint's countdown once a second.
constexpr UINT_PTR kHintTimer = 1001;
constexpr int kHintSeconds = 3;
// The hint's font at the pin's DPI, beside the skin's own fonts.
constexpr int kScaledHintFont = 1000;

struct FontStyle {
    CDuiString name;
    bool bold = false;
    bool underline = false;
    bool italic = false;
};

// A pinned picture: built from "show_picture.xml", sized to the picture, dragged with the left
// button, closed with Escape; it deletes itself when its window is gone.
class CShowPicWnd : public WindowImplBase {
public:
    CShowPicWnd(std::wstring picturePath, std::shared_ptr<const UiImage> picture)
        : picturePath_(std::move(picturePath)), picture_(std::move(picture)) {}

    LPCTSTR GetWindowClassName() const override { return L"CShowPicWnd"; }
    CDuiString GetSkinFile() override { return L"show_picture.xml"; }
    bool PictureLoaded() const { return loaded_; }

    void InitWindow() override {
        SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        // A picture handed over in memory is not read back from its file.
        m_pm.AddFileImage(picturePath_, std::move(picture_));
        loaded_ = FitToPicture();
        SetWindowLongW(m_hWnd, GWL_EXSTYLE, GetWindowLongW(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
        SetLayeredWindowAttributes(m_hWnd, 0, 255, LWA_ALPHA);
        // Escape reaches the window only when it has the keyboard focus.
        SetFocus(m_hWnd);
        if (CControlUI* hint = m_pm.FindControl(L"static_hint")) {
            hint->SetText(countdown_.Text().c_str());
            m_pm.NeedUpdate();
        }
        SetTimer(m_hWnd, kHintTimer, 1000, nullptr);
    }

    void OnClick(TNotifyUI& /*msg*/) override {}

    void Notify(TNotifyUI& msg) override {
        // Dragging works on the picture itself.
        if (msg.sType == L"buttondown" && msg.pSender && msg.pSender->GetName() == L"pic_label") {
            StartDrag();
        }
        WindowImplBase::Notify(msg);
    }

    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM /*lParam*/, BOOL& bHandled) override {
        bHandled = FALSE;
        if (uMsg == WM_KEYDOWN && wParam == VK_ESCAPE) {
            PostMessage(WM_CLOSE);
            bHandled = TRUE;
        } else if (uMsg == WM_TIMER && wParam == kHintTimer) {
            StepHint();
            bHandled = TRUE;
        } else if (uMsg == WM_LBUTTONDOWN) {
            StartDrag();
            bHandled = TRUE;
        } else if (uMsg == WM_DPICHANGED) {
            // Moved to a monitor of another scale: the picture keeps its pixels (the suggested
            // size is not taken), the hint follows the monitor.
            FitHint(LOWORD(wParam));
            bHandled = TRUE;
        }
        return 0;
    }

    void OnFinalMessage(HWND hWnd) override {
        KillTimer(hWnd, kHintTimer);
        WindowImplBase::OnFinalMessage(hWnd);
        delete this;
    }

private:
    // The system moves the window while the button is held, as if its caption were dragged.
    void StartDrag() { SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, 0); }

    // Sizes the window and the picture label to the picture; false when the file is no picture.
    bool FitToPicture() {
        // Decoded once: the window keeps this picture for the label's background image.
        const std::shared_ptr<const UiImage> picture = m_pm.GetImage(picturePath_.c_str());
        if (!picture || picture->width <= 0 || picture->height <= 0) return false;
        const int width = picture->width;
        const int height = picture->height;
        CControlUI* label = m_pm.FindControl(L"pic_label");
        if (!label) return true;
        label->SetFixedWidth(width);
        label->SetFixedHeight(height);
        label->SetBkImage(picturePath_.c_str());

        RECT window{};
        RECT client{};
        GetWindowRect(m_hWnd, &window);
        GetClientRect(m_hWnd, &client);
        const int windowWidth = width + (window.right - window.left) - (client.right - client.left);
        const int windowHeight = height + (window.bottom - window.top) - (client.bottom - client.top);
        SetWindowPos(m_hWnd, nullptr, 0, 0, windowWidth, windowHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

        m_pm.SetInitSize(windowWidth, windowHeight);
        ReadSkinHint();
        FitHint(WindowDpi(m_hWnd));
        return true;
    }

    // The hint's measures as the skin gives them for 96 DPI.
    void ReadSkinHint() {
        CControlUI* bar = m_pm.FindControl(L"label_layout");
        CControlUI* control = m_pm.FindControl(L"static_hint");
        auto* hint = control ? static_cast<CLabelUI*>(control->GetInterface(L"Label")) : nullptr;
        if (!bar || !hint) return;
        const RECT padding = hint->GetPadding();
        skinHint_.size = base::Size{hint->GetFixedWidth(), hint->GetFixedHeight()};
        skinHint_.padding = base::Rect{padding.left, padding.top, padding.right, padding.bottom};
        skinHint_.barHeight = bar->GetFixedHeight();
        if (const TFontInfo* font = m_pm.GetFontInfo(hint->GetFont()); font && font->iSize > 0) {
            skinHint_.fontSize = font->iSize;
            hintFont_ = FontStyle{font->sFontName, font->bBold, font->bUnderline, font->bItalic};
            hint->SetFont(kScaledHintFont);
        }
    }

    // Sizes the hint for the DPI of the pin's monitor, and shows its bar only where it fits.
    void FitHint(int dpi) {
        CControlUI* bar = m_pm.FindControl(L"label_layout");
        CControlUI* hint = m_pm.FindControl(L"static_hint");
        if (!bar || !hint || skinHint_.size.cx <= 0) return;
        const PinHintMetrics metrics = ScalePinHint(skinHint_, dpi);
        hint->SetFixedWidth(metrics.size.cx);
        hint->SetFixedHeight(metrics.size.cy);
        hint->SetPadding(RECT{metrics.padding.left, metrics.padding.top, metrics.padding.right, metrics.padding.bottom});
        bar->SetFixedHeight(metrics.barHeight);
        // The floating bar's height is its place's where the skin gives one.
        RECT place = bar->GetFloatPos();
        if (place.bottom > place.top) {
            place.bottom = place.top + metrics.barHeight;
            bar->SetFloatPos(place);
        }
        if (metrics.fontSize > 0) {
            m_pm.AddFont(kScaledHintFont, hintFont_.name, metrics.fontSize, hintFont_.bold, hintFont_.underline,
                         hintFont_.italic);
        }
        RECT client{};
        GetClientRect(m_hWnd, &client);
        const bool fits = PinHintFits(metrics.size.cx, metrics.size.cy, client.right, client.bottom);
        if (fits) bar->SetFixedWidth(client.right);
        bar->SetVisible(fits && !countdownOver_);
        m_pm.NeedUpdate();
        m_pm.Invalidate();
    }

    void StepHint() {
        const std::optional<std::wstring> text = countdown_.Step();
        if (!text) {
            countdownOver_ = true;
            KillTimer(m_hWnd, kHintTimer);
            if (CControlUI* bar = m_pm.FindControl(L"label_layout")) bar->SetVisible(false);
            m_pm.NeedUpdate();
            m_pm.Invalidate();
            return;
        }
        if (CControlUI* hint = m_pm.FindControl(L"static_hint")) hint->SetText(text->c_str());
        m_pm.NeedUpdate();
        m_pm.Invalidate();
    }

    std::wstring picturePath_;
    std::shared_ptr<const UiImage> picture_;
    PinHintCountdown countdown_{kHintSeconds};
    bool countdownOver_ = false;
    PinHintMetrics skinHint_;
    // The skin's hint font, whose name and style the scaled one keeps.
    FontStyle hintFont_;
    bool loaded_ = false;
};

std::wstring FullPath(const std::wstring& path) {
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::wstring full(needed, L'\0');
    const DWORD written = GetFullPathNameW(path.c_str(), needed, &full[0], nullptr);
    if (written == 0 || written >= needed) return path;
    full.resize(written);
    return full;
}

}  // namespace

namespace {

BOOL CALLBACK StopAtPinnedPicture(HWND hwnd, LPARAM found) {
    wchar_t name[32] = {};
    GetClassNameW(hwnd, name, 32);
    if (lstrcmpW(name, L"CShowPicWnd") != 0) return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

}  // namespace

bool AnyPinnedPictureOpen() {
    bool found = false;
    EnumThreadWindows(GetCurrentThreadId(), StopAtPinnedPicture, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool ShowPinnedPicture(const std::wstring& picturePath, std::shared_ptr<const DuiLib::UiImage> picture) {
    // Shown pixel for pixel: the window is per-monitor aware, so a picture covers as many
    // physical pixels as it had on screen. Its messages run in that context too.
    ThreadDpiScope perMonitor(DpiMode::kPerMonitor);
    // The toolkit reads an absolute path from disk and a relative one from the skin archive.
    auto* window = new CShowPicWnd(FullPath(picturePath), std::move(picture));
    HWND hwnd = window->Create(nullptr, L"picWnd", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    if (!hwnd) {
        delete window;  // no window, so no final message will delete it
        return false;
    }
    if (!window->PictureLoaded()) {
        // A window without a picture would be an invisible square that only Escape closes.
        DestroyWindow(hwnd);
        return false;
    }
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    SetWindowPos(hwnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - (rc.right - rc.left)) / 2, 3, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    window->ShowWindow(true, true);
    return true;
}
