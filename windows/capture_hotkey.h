// The system-wide hotkey that starts a region capture: registered for the main window, whose
// queue then gets WM_HOTKEY with kId wherever the focus is.
#pragma once

#include <windows.h>

#include <string>

#include "settings/hotkey.h"

class CaptureHotkey {
public:
    static constexpr int kId = 1;

    CaptureHotkey() = default;
    ~CaptureHotkey() { Release(); }
    CaptureHotkey(const CaptureHotkey&) = delete;
    CaptureHotkey& operator=(const CaptureHotkey&) = delete;

    // Holds hotkey for owner in place of the one held before. False when another program holds
    // it: the program goes on without one. No hotkey always succeeds.
    bool Hold(HWND owner, const Hotkey& hotkey);
    // Lets the hotkey go while the settings window reads a new combination (its press must
    // reach the window, not start a capture), and takes it back afterwards.
    void Pause() { Release(); }
    bool Resume() { return Hold(owner_, wanted_); }

private:
    void Release();

    HWND owner_ = nullptr;
    Hotkey wanted_;
    bool held_ = false;
};

// "快捷键 <name> 已被占用": the hotkey is taken by another program.
std::wstring HotkeyTakenText(const Hotkey& hotkey);

// Removes the presses that queued up for owner while a capture ran: one capture at a time, and
// a press during it does nothing.
void DropQueuedHotkeyPresses(HWND owner);
