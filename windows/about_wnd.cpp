#include "windows/about_wnd.h"

#include <shellapi.h>

#include "base/exe_directory.h"
#include "base/unique_handle.h"
#include "update/update_check.h"
#include "windows/dialog_text.h"

using namespace DuiLib;

std::wstring ExeBuildDateText() {
    const std::wstring path = GetModulePath();
    if (path.empty()) return std::wstring();
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::wstring();
    FILETIME written{};
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    if (!GetFileTime(file.Get(), nullptr, nullptr, &written) || !FileTimeToSystemTime(&written, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        return std::wstring();
    }
    return BuildDateText(local.wYear, local.wMonth, local.wDay);
}

void CAboutWnd::InitWindow() {
    closeBtn_ = m_pm.FindControl(L"closebtn");
    versionLabel_ = m_pm.FindControl(L"version_label");
    homeUrlBtn_ = m_pm.FindControl(L"home_url_btn");
    lastUpdate_ = m_pm.FindControl(L"last_update");
    if (!closeBtn_ || !versionLabel_ || !homeUrlBtn_ || !lastUpdate_) return;
    std::wstring version;
    if (GetExeVersionText(version)) versionLabel_->SetText(version.c_str());
    lastUpdate_->SetText(ExeBuildDateText().c_str());
}

void CAboutWnd::OnClick(TNotifyUI& msg) {
    CControlUI* sender = msg.pSender;
    if (!sender) return;
    if (sender == closeBtn_) {
        Close(0);
    } else if (sender == homeUrlBtn_) {
        // The button shows the web site's address; the default browser opens it.
        ShellExecuteW(nullptr, L"open", homeUrlBtn_->GetText(), nullptr, nullptr, SW_SHOW);
    }
}

void OpenAboutWnd(HWND parent) { RunModalDialog(std::make_unique<CAboutWnd>(), parent, L"关于"); }
