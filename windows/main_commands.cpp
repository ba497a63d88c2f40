#include "windows/main_commands.h"

#include <cwctype>

#include "telemetry/usage_events.h"
#include "windows/float_commands.h"
#include "windows/tray_commands.h"

namespace {

enum class Source { kButton, kTrayMenu, kFloat };

struct Row {
    Source source;
    int id;              // menu and ball commands
    const wchar_t* name;  // buttons, lower case
    MainCommand command;
};

using A = MainAction;

const Row kRows[] = {
    {Source::kButton, 0, L"rectangular_btn", {A::kRectCapture, kEventMainWndBtnRectangular}},
    {Source::kButton, 0, L"full_screen_btn", {A::kFullScreenCapture, 0}},
    {Source::kButton, 0, L"open_dir_btn", {A::kOpenPicDir, kEventMainWndBtnOpenPicdir}},
    {Source::kButton, 0, L"set_btn", {A::kSettings, kEventMainWndBtnSet}},
    {Source::kButton, 0, L"feedback_btn", {A::kFeedback, kEventMainWndBtnFeedback}},
    {Source::kButton, 0, L"about_btn", {A::kAbout, kEventMainWndBtnAbout}},
    {Source::kButton, 0, L"to_tray_btn", {A::kToggleMainWnd, kEventMainWndBtnClose}},

    {Source::kTrayMenu, kTrayExit, nullptr, {A::kExit, kEventTrayMenuExit}},
    {Source::kTrayMenu, kTrayUnused, nullptr, {A::kNothing, 0}},
    {Source::kTrayMenu, kTrayShowMainWnd, nullptr, {A::kShowMainWnd, kEventTrayMenuShowMainWnd}},
    {Source::kTrayMenu, kTrayAbout, nullptr, {A::kAbout, kEventTrayMenuAbout}},
    {Source::kTrayMenu, kTrayFeedback, nullptr, {A::kFeedback, kEventTrayMenuFeedback}},
    {Source::kTrayMenu, kTraySettings, nullptr, {A::kSettings, kEventTrayMenuSet}},
    {Source::kTrayMenu, kTrayOpenPicDir, nullptr, {A::kOpenPicDir, kEventTrayMenuOpenPicdir}},
    {Source::kTrayMenu, kTrayFullScreen, nullptr, {A::kFullScreenCapture, kEventTrayMenuFullscreen}},
    {Source::kTrayMenu, kTrayRectCapture, nullptr, {A::kRectCapture, kEventTrayMenuRectangular}},
    {Source::kTrayMenu, kTrayShowFloatWnd, nullptr, {A::kShowFloatWnd, kEventTrayMenuShowFloatWnd}},

    {Source::kFloat, kFloatRectCapture, nullptr, {A::kRectCapture, kEventFloatWndDbClickRectangular}},
    {Source::kFloat, kFloatFullScreenCapture, nullptr, {A::kFullScreenCapture, 0}},
    {Source::kFloat, kFloatOpenPicDir, nullptr, {A::kOpenPicDir, kEventFloatWndMenuOpenPicdir}},
    {Source::kFloat, kFloatSettings, nullptr, {A::kSettings, kEventFloatWndMenuSet}},
    {Source::kFloat, kFloatFeedback, nullptr, {A::kFeedback, kEventFloatWndMenuFeedback}},
    {Source::kFloat, kFloatAbout, nullptr, {A::kAbout, kEventFloatWndMenuAbout}},
    {Source::kFloat, kFloatShowMainWnd, nullptr, {A::kShowMainWnd, kEventFloatWndMenuShowMainWnd}},
    {Source::kFloat, kFloatHideFloatWnd, nullptr, {A::kHideFloatWnd, kEventFloatWndMenuHideFloatWnd}},
};

const MainCommand* Find(Source source, int id) {
    for (const Row& row : kRows) {
        if (row.source == source && row.id == id) return &row.command;
    }
    return nullptr;
}

}  // namespace

const MainCommand* ButtonCommand(const std::wstring& name) {
    std::wstring lower = name;
    for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
    for (const Row& row : kRows) {
        if (row.source == Source::kButton && lower == row.name) return &row.command;
    }
    return nullptr;
}

bool WaitsForDialogs(MainAction action) {
    switch (action) {
        case A::kRectCapture:
        case A::kFullScreenCapture:
        case A::kSettings:
        case A::kFeedback:
        case A::kAbout: return true;
        default: return false;
    }
}

const MainCommand* TrayMenuCommand(int id) { return Find(Source::kTrayMenu, id); }

const MainCommand* FloatCommand(int id) { return Find(Source::kFloat, id); }
