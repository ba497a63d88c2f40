#include "telemetry/usage_events.h"

namespace {

const char* const kEventNames[] = {
    "first_run_after_setup",       "first_run_after_update",     "launch",
    "update_oper_success",         "update_oper_failed",         "feedback_msg",
    "main_wnd_btn_close",          "main_wnd_btn_rectangular",   "main_wnd_btn_open_picdir",
    "main_wnd_btn_set",            "main_wnd_btn_feedback",      "main_wnd_btn_about",
    "tray_menu_rectangular",       "tray_menu_fullscreen",       "tray_menu_open_picdir",
    "tray_menu_set",               "tray_menu_feedback",         "tray_menu_about",
    "tray_menu_showmainwnd",       "tray_menu_showfloatwnd",     "tray_menu_exit",
    "key_board_copy_clr_dec",      "key_board_copy_clr_hex",     "float_wnd_db_click_rectangular",
    "float_wnd_menu_open_picdir",  "float_wnd_menu_set",         "float_wnd_menu_feedback",
    "float_wnd_menu_about",        "float_wnd_menu_show_mainwnd", "float_wnd_menu_hide_floatwnd",
    "toolbar_btn_ok",              "toolbar_btn_close",          "toolbar_btn_save_tofile",
    "toolbar_btn_undo",            "toolbar_btn_copy_to_clipboard", "toolbar_btn_showpictop",
};
constexpr int kEventCount = sizeof kEventNames / sizeof kEventNames[0];
static_assert(kEventCount == 36, "the event table has 36 rows");

std::wstring Widen(const char* ascii) { return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii)); }

}  // namespace

const char* UsageEventName(int event) {
    return event >= 0 && event < kEventCount ? kEventNames[event] : nullptr;
}

bool UsageEventCarriesData(int event) {
    return event == kEventFeedbackMsg || event == kEventToolbarBtnOk ||
           event == kEventToolbarBtnSaveToFile || event == kEventToolbarBtnCopyToClipboard ||
           event == kEventToolbarBtnShowPicTop;
}

int StartEventFor(const std::wstring& commandLine) {
    if (commandLine.find(L"firstrun_after_setup") != std::wstring::npos) return kEventFirstRunAfterSetup;
    if (commandLine.find(L"firstrun_after_update") != std::wstring::npos) return kEventFirstRunAfterUpdate;
    return kEventLaunch;
}

UsageRecord BuildUsageRecord(int event, const std::wstring& data, long long eventTime,
                             const std::wstring& version, const std::wstring& machineCode) {
    UsageRecord record;
    record[L"machine_code"] = machineCode;
    record[L"exeCurrVersion"] = version;
    record[L"event_time"] = std::to_wstring(eventTime);
    const char* name = UsageEventName(event);
    record[L"event_name"] = name ? Widen(name) : std::wstring();
    if (UsageEventCarriesData(event)) record[L"data"] = data;
    return record;
}
