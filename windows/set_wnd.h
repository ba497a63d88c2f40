// CSetWnd: the modal settings dialog. It edits whether the main window hides during a capture,
// the picture format, the picture folder and the capture hotkey; OK stores them in the settings file (or, when that
// fails, says so and stays open), cancel and the close button keep the old values (a folder
// picked meanwhile included).
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "windows/hotkey_field.h"
#include "windows/modal_dialog.h"

// Asks the user for a folder, in a picker owned by owner. False when none was picked.
using FolderPicker = std::function<bool(HWND owner, std::wstring& folder)>;

// The system's folder picker ("选择文件夹", file-system folders only, new dialog style).
bool BrowseForFolder(HWND owner, std::wstring& folder);

// What the settings window and the window that opened it tell each other.
struct SetWndHooks {
    // The hotkey field starts (true) or stops (false) waiting for a combination.
    HotkeyField::ListeningHook hotkeyListening;
    // OK stored the choices.
    std::function<void()> stored;
    // The stored hotkey, when another program holds it.
    std::optional<TakenHotkey> takenHotkey;
};

class CSetWnd : public CModalDialog {
public:
    // picker is what "change_btn" asks; the program uses the system's picker.
    explicit CSetWnd(FolderPicker picker = BrowseForFolder, SetWndHooks hooks = {})
        : picker_(std::move(picker)), hooks_(std::move(hooks)) {}

    LPCTSTR GetWindowClassName() const override { return L"SetWnd"; }
    DuiLib::CDuiString GetSkinFile() override { return L"set_wnd.xml"; }
    void InitWindow() override;
    void OnClick(DuiLib::TNotifyUI& msg) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

private:
    DuiLib::COptionUI* FindOption(const wchar_t* name);
    void FillFromSettings();
    // Stores the choices; false when they could not be saved (nothing changed then).
    bool StoreSettings();
    // OK: stores the choices and closes, or says the save failed and stays open.
    void Confirm();
    void ShowFolder(const std::wstring& folder);
    bool IsSelected(DuiLib::COptionUI* option) const { return option && option->IsSelected(); }

    FolderPicker picker_;
    SetWndHooks hooks_;
    HotkeyField hotkey_;
    DuiLib::CControlUI* closeBtn_ = nullptr;
    DuiLib::COptionUI* hideOption_ = nullptr;
    DuiLib::COptionUI* notHideOption_ = nullptr;
    DuiLib::COptionUI* pngOption_ = nullptr;
    DuiLib::COptionUI* bmpOption_ = nullptr;
    DuiLib::CLabelUI* savePath_ = nullptr;
    // The folder shown, whole (the field may show it shortened).
    std::wstring folder_;
    DuiLib::CControlUI* changeBtn_ = nullptr;
    DuiLib::CControlUI* okBtn_ = nullptr;
    DuiLib::CControlUI* cancelBtn_ = nullptr;
};

// Creates the dialog owned by parent, centres it and runs it modally until it is closed.
void OpenSetWnd(HWND parent, SetWndHooks hooks);
