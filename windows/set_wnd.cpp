#include "windows/set_wnd.h"

#include <shlobj.h>

#include <memory>

#include "settings/config.h"
#include "windows/compact_path.h"
#include "windows/toast_wnd.h"

using namespace DuiLib;

namespace {

// Frees an item list the shell allocated.
struct ShellItemListFree {
    void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};
using UniqueItemList = std::unique_ptr<ITEMIDLIST, ShellItemListFree>;

constexpr UINT kSaveFailedToastMs = 1500;

}  // namespace

bool BrowseForFolder(HWND owner, std::wstring& folder) {
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = L"选择文件夹";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    UniqueItemList picked(SHBrowseForFolderW(&info));
    if (!picked) return false;
    wchar_t path[MAX_PATH] = {0};
    if (!SHGetPathFromIDListW(picked.get(), path)) return false;
    folder = path;
    return true;
}

COptionUI* CSetWnd::FindOption(const wchar_t* name) {
    CControlUI* control = m_pm.FindControl(name);
    return control ? static_cast<COptionUI*>(control->GetInterface(L"Option")) : nullptr;
}

void CSetWnd::InitWindow() {
    closeBtn_ = m_pm.FindControl(L"closebtn");
    hideOption_ = FindOption(L"hide_main_wnd_when_capture");
    notHideOption_ = FindOption(L"not_hide_main_wnd_when_capture");
    pngOption_ = FindOption(L"pic_format_png");
    bmpOption_ = FindOption(L"pic_format_bmp");
    if (CControlUI* field = m_pm.FindControl(L"label_save_path")) {
        savePath_ = static_cast<CLabelUI*>(field->GetInterface(L"Label"));
    }
    changeBtn_ = m_pm.FindControl(L"change_btn");
    okBtn_ = m_pm.FindControl(L"ok_btn");
    cancelBtn_ = m_pm.FindControl(L"cancel_btn");
    if (CControlUI* field = m_pm.FindControl(L"hotkey_field")) {
        hotkey_.Attach(static_cast<CLabelUI*>(field->GetInterface(L"Label")), CConfig::Instance().GetCaptureHotkey(),
                       hooks_.hotkeyListening, hooks_.takenHotkey);
    }
    // The path field is optional; without any of the others the layout's defaults stay.
    if (closeBtn_ && hideOption_ && notHideOption_ && pngOption_ && bmpOption_ && changeBtn_ && okBtn_ &&
        cancelBtn_) {
        FillFromSettings();
    }
}

void CSetWnd::FillFromSettings() {
    CConfig& config = CConfig::Instance();
    const bool hide = config.GetHideMainWndWhenCapture();
    (hide ? hideOption_ : notHideOption_)->Selected(true, true);
    const PicSaveFormat format = config.GetPicSaveFormat();
    if (format == PicSaveFormat::kPng) pngOption_->Selected(true, true);
    if (format == PicSaveFormat::kBmp) bmpOption_->Selected(true, true);
    ShowFolder(config.GetPicSavePath());
}

void CSetWnd::ShowFolder(const std::wstring& folder) {
    folder_ = folder;
    if (!savePath_) return;
    // Shortened in the middle by us, so the last folder's name shows whatever the system's
    // text drawing does with a line too long (Wine's cuts it off at the end); the tooltip
    // holds the whole path.
    const RECT padding = savePath_->GetTextPadding();
    const int room = savePath_->GetFixedWidth() - padding.left - padding.right;
    const int font = savePath_->GetFont();
    // A field without a width of its own (a layout that gives none) shows the path whole.
    const std::wstring shown = room <= 0 ? folder : CompactPath(folder, room, [this, font](const std::wstring& text) {
        return static_cast<int>(m_pm.MeasureText(text.c_str(), font).cx);
    });
    savePath_->SetText(shown.c_str());
    savePath_->SetToolTip(folder.c_str());
}

bool CSetWnd::StoreSettings() {
    // The choices are stored together; a damaged file is replaced (and kept as a backup)
    // because the user chose these values here.
    return CConfig::Instance().StoreChosen(folder_,
                                           IsSelected(pngOption_) ? PicSaveFormat::kPng : PicSaveFormat::kBmp,
                                           IsSelected(hideOption_), hotkey_.Value());
}

void CSetWnd::OnClick(TNotifyUI& msg) {
    CControlUI* sender = msg.pSender;
    if (!sender) return;
    if (hotkey_.Is(sender)) {
        hotkey_.Listen();
        ::SetFocus(m_hWnd);
        return;
    }
    hotkey_.StopListening();
    if (sender == closeBtn_ || sender == cancelBtn_) {
        Close(0);
    } else if (sender == okBtn_) {
        Confirm();
    } else if (sender == changeBtn_) {
        std::wstring folder;
        if (picker_ && picker_(m_hWnd, folder) && !folder.empty()) ShowFolder(folder);
    }
}

void CSetWnd::Confirm() {
    // A failed save keeps the window open with the choices, and says so.
    if (StoreSettings()) {
        if (hooks_.stored) hooks_.stored();
        Close(0);
    } else {
        ShowToast(L"\x4FDD\x5B58\x5931\x8D25", kSaveFailedToastMs, m_hWnd, true);  // 保存失败
    }
}

LRESULT CSetWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    // The field stops waiting when the window loses the keyboard.
    if (uMsg == WM_KILLFOCUS || (uMsg == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE)) hotkey_.StopListening();
    // A listening field takes every key, Escape included.
    bHandled = hotkey_.OnWindowMessage(uMsg, wParam);
    if (!bHandled && uMsg == WM_KEYDOWN && wParam == VK_RETURN) {
        // Enter presses OK, the dialog's default button.
        Confirm();
        bHandled = TRUE;
    }
    return bHandled ? 0 : CModalDialog::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
}

void OpenSetWnd(HWND parent, SetWndHooks hooks) {
    RunModalDialog(std::make_unique<CSetWnd>(BrowseForFolder, std::move(hooks)), parent, L"设置窗口");
}
