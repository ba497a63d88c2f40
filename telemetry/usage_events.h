// The usage events the program reports: their numbers and wire names, and the record each one
// becomes. Pure code.
#pragma once

#include <map>
#include <string>

// Event numbers raised by the program (the full table is in usage_events.cpp).
enum UsageEvent : int {
    kEventFirstRunAfterSetup = 0,
    kEventFirstRunAfterUpdate = 1,
    kEventLaunch = 2,
    kEventFeedbackMsg = 5,
    kEventMainWndBtnClose = 6,
    kEventMainWndBtnRectangular = 7,
    kEventMainWndBtnOpenPicdir = 8,
    kEventMainWndBtnSet = 9,
    kEventMainWndBtnFeedback = 10,
    kEventMainWndBtnAbout = 11,
    kEventTrayMenuRectangular = 12,
    kEventTrayMenuFullscreen = 13,
    kEventTrayMenuOpenPicdir = 14,
    kEventTrayMenuSet = 15,
    kEventTrayMenuFeedback = 16,
    kEventTrayMenuAbout = 17,
    kEventTrayMenuShowMainWnd = 18,
    kEventTrayMenuShowFloatWnd = 19,
    kEventTrayMenuExit = 20,
    kEventKeyboardCopyColorDec = 21,
    kEventKeyboardCopyColorHex = 22,
    kEventFloatWndDbClickRectangular = 23,
    kEventFloatWndMenuOpenPicdir = 24,
    kEventFloatWndMenuSet = 25,
    kEventFloatWndMenuFeedback = 26,
    kEventFloatWndMenuAbout = 27,
    kEventFloatWndMenuShowMainWnd = 28,
    kEventFloatWndMenuHideFloatWnd = 29,
    kEventToolbarBtnOk = 30,
    kEventToolbarBtnClose = 31,
    kEventToolbarBtnSaveToFile = 32,
    kEventToolbarBtnUndo = 33,
    kEventToolbarBtnCopyToClipboard = 34,
    kEventToolbarBtnShowPicTop = 35,
};

// The wire name of an event, or null for a number that is not an event.
const char* UsageEventName(int event);
// Only a few events carry their data text; for the others it is dropped.
bool UsageEventCarriesData(int event);

// The start event for the process command line: setup wins over update, else a plain launch.
int StartEventFor(const std::wstring& commandLine);

// Field name to value, iterated in ascending name order (the order on the wire).
using UsageRecord = std::map<std::wstring, std::wstring>;

// The record of one event; eventTime is seconds since 1970-01-01 UTC.
UsageRecord BuildUsageRecord(int event, const std::wstring& data, long long eventTime,
                             const std::wstring& version, const std::wstring& machineCode);
