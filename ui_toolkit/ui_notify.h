// Notifications and the interfaces through which windows hear about their controls.
#pragma once

#include <windows.h>

#include "ui_toolkit/ui_string.h"

namespace DuiLib {

class CControlUI;

// Notification type names.
constexpr wchar_t DUI_MSGTYPE_CLICK[] = L"click";
constexpr wchar_t DUI_MSGTYPE_BUTTONDOWN[] = L"buttondown";
constexpr wchar_t DUI_MSGTYPE_TEXTCHANGED[] = L"textchanged";
constexpr wchar_t DUI_MSGTYPE_ITEMSELECT[] = L"itemselect";
constexpr wchar_t DUI_MSGTYPE_SELECTCHANGED[] = L"selectchanged";
constexpr wchar_t DUI_MSGTYPE_WINDOWINIT[] = L"windowinit";

struct TNotifyUI {
    CDuiString sType;
    CControlUI* pSender = nullptr;
    DWORD dwTimestamp = 0;
    POINT ptMouse{};
    WPARAM wParam = 0;  // itemselect: the new index
    LPARAM lParam = 0;  // itemselect: the previous index
};

class INotifyUI {
public:
    virtual ~INotifyUI() = default;
    virtual void Notify(TNotifyUI& msg) = 0;
};

// Sees every window message before the controls do; sets handled to stop it there.
class IMessageFilterUI {
public:
    virtual ~IMessageFilterUI() = default;
    virtual LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;
};

// Lets a window create controls for element names the toolkit does not know.
class IDialogBuilderCallback {
public:
    virtual ~IDialogBuilderCallback() = default;
    virtual CControlUI* CreateControl(LPCTSTR pstrClass) = 0;
};

}  // namespace DuiLib
