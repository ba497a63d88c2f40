#include "windows/feedback_wnd.h"

#include <string>

#include "base/app_messages.h"
#include "telemetry/event_tracker.h"
#include "telemetry/usage_events.h"
#include "windows/dialog_text.h"
#include "windows/toast_wnd.h"

using namespace DuiLib;

namespace {

constexpr UINT kEmptyToastMs = 1000;

}  // namespace

void CFeedbackWnd::InitWindow() {
    closeBtn_ = m_pm.FindControl(L"closebtn");
    cancelBtn_ = m_pm.FindControl(L"cancel_btn");
    sendBtn_ = m_pm.FindControl(L"feedback_btn");
    CControlUI* edit = m_pm.FindControl(L"feedback_edit");
    edit_ = edit ? static_cast<CEditUI*>(edit->GetInterface(L"Edit")) : nullptr;
    countLabel_ = m_pm.FindControl(L"input_count_label");
    if (edit_) edit_->SetMaxChar(static_cast<UINT>(kFeedbackMaxChars));
    // The shipped layout has no cancel button, so the label keeps its own "0/200" until the
    // first edit.
    if (closeBtn_ && cancelBtn_ && sendBtn_ && edit_ && countLabel_) UpdateCount();
}

void CFeedbackWnd::UpdateCount() {
    if (!edit_ || !countLabel_) return;
    const auto length = static_cast<std::size_t>(edit_->GetText().GetLength());
    countLabel_->SetText(FeedbackCountText(length).c_str());
}

void CFeedbackWnd::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_TEXTCHANGED && msg.pSender && msg.pSender == edit_) UpdateCount();
    CModalDialog::Notify(msg);
}

void CFeedbackWnd::Send() {
    const std::wstring text = edit_->GetText().Str();
    if (text.empty()) {
        ShowToast(L"先输入内容哈", kEmptyToastMs, m_hWnd, true);
        edit_->SetFocus();
        return;
    }
    CEventTracker::Instance().Report(kEventFeedbackMsg, text);
    if (HWND parent = GetWindow(m_hWnd, GW_OWNER)) ::PostMessageW(parent, WM_FEEDBACK_SENT, 0, 0);
    Close(0);
}

void CFeedbackWnd::OnClick(TNotifyUI& msg) {
    CControlUI* sender = msg.pSender;
    if (!sender) return;
    if (sender == closeBtn_ || sender == cancelBtn_) {
        Close(0);
    } else if (sender == sendBtn_ && edit_) {
        Send();
    }
}

void OpenFeedbackWnd(HWND parent) { RunModalDialog(std::make_unique<CFeedbackWnd>(), parent, L"用户反馈"); }
