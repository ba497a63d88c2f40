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
    void Pause();
    bool Resume();
    // Tries again to take a hotkey that another program held, which may have let it go since;
    // nothing while paused. True when the hotkey is held now.
    bool Retry();
    // The hotkey wanted is not held because another program holds it.
    bool Unavailable() const { return owner_ && !paused_ && !held_ && !wanted_.IsNone(); }
    const Hotkey& Wanted() const { return wanted_; }

private:
    void Release();

    HWND owner_ = nullptr;
    Hotkey wanted_;
    bool held_ = false;
    bool paused_ = false;
};

// Who holds a hotkey that could not be registered.
enum class HotkeyHolder {
    kOtherProgram,
    // Windows 11's screen snipping, which takes PrintScreen while "Use the Print screen key to
    // open screen capture" is on.
    kScreenSnipping,
};
HotkeyHolder FindHotkeyHolder(const Hotkey& hotkey);

// A hotkey that could not be registered, and who holds it.
struct TakenHotkey {
    Hotkey hotkey;
    HotkeyHolder holder = HotkeyHolder::kOtherProgram;
};

// Why a combination cannot be the hotkey, in a few words, as the settings field says it.
const wchar_t* HotkeyRefusalText(HotkeyPress::Refusal refusal);

// The start-up notice when the settings file holds a hotkey text the rules refuse ("Shift+A", or
// one that names no combination): what it said (shortened when long), why, and that PrintScreen
// is used instead.
std::wstring StoredHotkeyRefusedText(const std::string& stored);

// The build number of the running Windows (19045 for Windows 10 22H2), 0 when it cannot be read.
unsigned long RunningWindowsBuild();

// The toast for a hotkey another program holds: "快捷键 <name> 已被占用", or for the screen
// snipping where this Windows turns it off and that another key can be chosen (two lines).
std::wstring HotkeyTakenText(const Hotkey& hotkey, HotkeyHolder holder);
