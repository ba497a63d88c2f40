// Opens one layout of the program's skin in a window through the toolkit, so each window of the
// program can be looked at and screenshotted before its behaviour exists.
//   skin_viewer.exe LAYOUT [--at X,Y] [--show NAME,..] [--hide NAME,..] [--select NAME,..]
//                   [--text NAME=TEXT] [--width NAME=PIXELS] [--height NAME=PIXELS]
//                   [--padding NAME=L,T,R,B] [--bkimage NAME=FILE] [--combo NAME=INDEX]
//                   [--drop NAME] [--enable NAME] [--disable NAME] [--size W,H] [--dump FILE.png]
// --dump writes the window's own frame, blended over grey as a compositing desktop shows it,
// and exits: a picture of the rendering independent of the display's handling of alpha.
// The window's title is "skin viewer: LAYOUT". It closes on Escape.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "base/gdiplus_session.h"
#include "ui_toolkit/skin_loader.h"
#include "ui_toolkit/UIlib.h"

using namespace DuiLib;

namespace {

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
    return parts;
}

// Blends the premultiplied frame over a grey backdrop and saves it as PNG.
bool DumpFrame(CPaintManagerUI& manager, const std::wstring& path) {
    manager.Paint(nullptr);
    int width = 0, height = 0;
    const uint32_t* pixels = manager.GetFramePixels(width, height);
    if (!pixels || width <= 0 || height <= 0) return false;
    const uint32_t backdrop[3] = {0xA6, 0xA0, 0x9A};  // B, G, R
    std::vector<uint32_t> out(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < out.size(); ++i) {
        const uint32_t p = pixels[i];
        const uint32_t a = p >> 24;
        uint32_t result = 0xFF000000;
        for (int c = 0; c < 3; ++c) {
            const uint32_t channel = ((p >> (8 * c)) & 0xFF) + backdrop[c] * (255 - a) / 255;
            result |= (channel > 255 ? 255 : channel) << (8 * c);
        }
        out[i] = result;
    }
    Gdiplus::Bitmap bitmap(width, height, width * 4, PixelFormat32bppARGB, reinterpret_cast<BYTE*>(out.data()));
    CLSID png;
    CLSIDFromString(L"{557CF406-1A04-11D3-9A73-0000F81EF32E}", &png);
    return bitmap.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
}

class ViewerWindow : public WindowImplBase {
public:
    explicit ViewerWindow(std::wstring layout) : layout_(std::move(layout)) {}
    LPCTSTR GetWindowClassName() const override { return L"SkinViewerWnd"; }
    CDuiString GetSkinFile() override { return layout_.c_str(); }
    void OnFinalMessage(HWND hWnd) override {
        WindowImplBase::OnFinalMessage(hWnd);
        PostQuitMessage(0);
        delete this;
    }
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM, BOOL& bHandled) override {
        bHandled = uMsg == WM_KEYDOWN && wParam == VK_ESCAPE;
        if (bHandled) Close(0);
        return 0;
    }

    // Applies one command-line option to the built window.
    void Apply(const std::wstring& option, const std::wstring& value) {
        if (option == L"--show" || option == L"--hide") {
            for (const auto& name : Split(value, L',')) {
                if (CControlUI* c = m_pm.FindControl(name.c_str())) c->SetVisible(option == L"--show");
            }
        } else if (option == L"--select") {
            for (const auto& name : Split(value, L',')) {
                if (auto* o = static_cast<COptionUI*>(Interface(name, L"Option"))) o->Selected(true, false);
            }
        } else if (option == L"--size") {
            const auto wh = Split(value, L',');
            if (wh.size() == 2) m_pm.SetInitSize(_wtoi(wh[0].c_str()), _wtoi(wh[1].c_str()));
        } else if (option == L"--text" || option == L"--width" || option == L"--height" ||
                   option == L"--combo" || option == L"--padding" || option == L"--bkimage") {
            const size_t equals = value.find(L'=');
            if (equals == std::wstring::npos) return;
            const std::wstring name = value.substr(0, equals);
            const std::wstring argument = value.substr(equals + 1);
            CControlUI* c = m_pm.FindControl(name.c_str());
            if (!c) return;
            if (option == L"--text") c->SetText(argument.c_str());
            if (option == L"--width") c->SetFixedWidth(_wtoi(argument.c_str()));
            if (option == L"--height") c->SetFixedHeight(_wtoi(argument.c_str()));
            if (option == L"--bkimage") c->SetBkImage(argument.c_str());
            if (option == L"--padding") c->SetAttribute(L"padding", argument.c_str());
            if (option == L"--combo") {
                if (auto* combo = static_cast<CComboUI*>(c->GetInterface(L"Combo"))) {
                    combo->SelectItem(_wtoi(argument.c_str()), false, false);
                }
            }
        } else if (option == L"--drop") {
            if (auto* combo = static_cast<CComboUI*>(Interface(value, L"Combo"))) combo->ToggleDropDown();
        } else if (option == L"--disable" || option == L"--enable") {
            if (CControlUI* c = m_pm.FindControl(value.c_str())) c->SetEnabled(option == L"--enable");
        }
    }

private:
    void* Interface(const std::wstring& name, const wchar_t* kind) {
        CControlUI* c = m_pm.FindControl(name.c_str());
        return c ? c->GetInterface(kind) : nullptr;
    }

    std::wstring layout_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) return 2;
    GdiplusSession gdiplus;
    CoInitialize(nullptr);
    if (!LoadSkinArchive(instance)) return 3;

    const std::wstring layout = argv[1];
    int x = 40, y = 40;
    std::vector<std::pair<std::wstring, std::wstring>> options;
    std::wstring dump;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (std::wstring(argv[i]) == L"--at") {
            const auto xy = Split(argv[i + 1], L',');
            x = _wtoi(xy[0].c_str());
            y = xy.size() > 1 ? _wtoi(xy[1].c_str()) : y;
        } else if (std::wstring(argv[i]) == L"--dump") {
            dump = argv[i + 1];
        } else {
            options.emplace_back(argv[i], argv[i + 1]);
        }
    }
    LocalFree(argv);

    auto* window = new ViewerWindow(layout);
    const std::wstring title = L"skin viewer: " + layout;
    HWND hwnd = window->Create(nullptr, title.c_str(), WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, x, y, 10, 10);
    if (!hwnd) return 4;
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    for (const auto& [option, value] : options) {
        if (option != L"--drop") window->Apply(option, value);
    }
    // Lists drop under their combo's laid-out face, so they open after a layout pass.
    window->GetPaintManager()->NeedUpdate();
    window->GetPaintManager()->Paint(nullptr);
    InvalidateRect(hwnd, nullptr, FALSE);
    for (const auto& [option, value] : options) {
        if (option == L"--drop") window->Apply(option, value);
    }
    if (!dump.empty()) {
        const bool saved = DumpFrame(*window->GetPaintManager(), dump);
        DestroyWindow(hwnd);
        return saved ? 0 : 5;
    }
    CPaintManagerUI::MessageLoop();
    CoUninitialize();
    return 0;
}
