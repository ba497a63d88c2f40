// The capture hotkey against another holder of the same keys, who holds it, and how the
// settings field shows a held key.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>
#include <utility>
#include <thread>

#include "ui_toolkit/UIlib.h"
#include "windows/capture_hotkey.h"
#include "windows/print_screen_setting.h"
#include "windows/hotkey_field.h"

namespace {

// Ctrl+Alt+F9: a combination nothing else in the test prefix uses.
const Hotkey kKeys{kHotkeyCtrl | kHotkeyAlt, VK_F9};

// Another holder of the keys, as another program would be, until destroyed.
class OtherHolder {
public:
    explicit OtherHolder(const Hotkey& keys) : keys_(keys) { Run(true); }
    ~OtherHolder() { Run(false); }
    bool held() const { return held_; }

private:
    // Hotkeys without a window belong to the thread that registered them.
    void Run(bool hold) {
        std::thread([this, hold] {
            if (hold) held_ = RegisterHotKey(nullptr, 7, keys_.modifiers, keys_.key) != 0;
            if (!hold && held_) UnregisterHotKey(nullptr, 7);
        }).join();
    }
    Hotkey keys_;
    bool held_ = false;
};

class HotkeyOwner {
public:
    HotkeyOwner() {
        hwnd_ = CreateWindowExW(0, L"STATIC", L"hotkey owner", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    }
    ~HotkeyOwner() { DestroyWindow(hwnd_); }
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_;
};

void SetSnipping(const wchar_t* type, const std::wstring& data) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Keyboard", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    if (std::wstring(type) == L"dword") {
        const DWORD value = std::stoul(data);
        RegSetValueExW(key, L"PrintScreenKeyForSnippingEnabled", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
    } else if (std::wstring(type) == L"string") {
        RegSetValueExW(key, L"PrintScreenKeyForSnippingEnabled", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    } else {
        RegDeleteValueW(key, L"PrintScreenKeyForSnippingEnabled");
    }
    RegCloseKey(key);
}

}  // namespace

TEST(CaptureHotkey, TakenKeysAreRetriedUntilFreeButNotWhilePaused) {
    HotkeyOwner owner;
    CaptureHotkey hotkey;
    EXPECT_TRUE(hotkey.Hold(owner.hwnd(), Hotkey{})) << "no hotkey always succeeds";
    EXPECT_FALSE(hotkey.Unavailable());
    {
        OtherHolder other(kKeys);
        ASSERT_TRUE(other.held());
        EXPECT_FALSE(hotkey.Hold(owner.hwnd(), kKeys));
        EXPECT_TRUE(hotkey.Unavailable());
        EXPECT_FALSE(hotkey.Retry());
        hotkey.Pause();
        EXPECT_FALSE(hotkey.Unavailable()) << "a paused hotkey is let go on purpose";
    }
    EXPECT_FALSE(hotkey.Retry()) << "no retry while the settings field reads keys";
    EXPECT_TRUE(hotkey.Resume());
    EXPECT_FALSE(hotkey.Unavailable());
    EXPECT_EQ(hotkey.Wanted(), kKeys);
    OtherHolder late(kKeys);
    EXPECT_FALSE(late.held()) << "the program holds the keys now";
}

TEST(CaptureHotkey, ANewHotkeyLetsTheOldOneGoForOtherPrograms) {
    HotkeyOwner owner;
    CaptureHotkey hotkey;
    ASSERT_TRUE(hotkey.Hold(owner.hwnd(), kKeys));
    ASSERT_TRUE(hotkey.Hold(owner.hwnd(), Hotkey{kHotkeyCtrl | kHotkeyAlt, 'Q'}));
    OtherHolder other(kKeys);
    EXPECT_TRUE(other.held()) << "the old combination is free again";
    OtherHolder taken(Hotkey{kHotkeyCtrl | kHotkeyAlt, 'Q'});
    EXPECT_FALSE(taken.held());
}

TEST(CaptureHotkey, NoHotkeyAPauseOrTheEndLetsTheKeysGo) {
    HotkeyOwner owner;
    {
        CaptureHotkey hotkey;
        ASSERT_TRUE(hotkey.Hold(owner.hwnd(), kKeys));
        EXPECT_FALSE(OtherHolder(kKeys).held());
        ASSERT_TRUE(hotkey.Hold(owner.hwnd(), Hotkey{}));
        EXPECT_TRUE(OtherHolder(kKeys).held()) << "no hotkey chosen: the old one is free";
        ASSERT_TRUE(hotkey.Hold(owner.hwnd(), kKeys));
        hotkey.Pause();
        EXPECT_TRUE(OtherHolder(kKeys).held()) << "paused while the settings field reads keys";
        ASSERT_TRUE(hotkey.Resume());
        EXPECT_FALSE(OtherHolder(kKeys).held());
    }
    EXPECT_TRUE(OtherHolder(kKeys).held()) << "the holder is gone, its window still there";
}

TEST(CaptureHotkey, OnlyADwordOneNamesWindowsScreenSnippingAndOnlyForPrintScreen) {
    const Hotkey print = DefaultCaptureHotkey();
    SetSnipping(L"dword", L"1");
    EXPECT_EQ(FindHotkeyHolder(print), HotkeyHolder::kScreenSnipping);
    EXPECT_EQ(FindHotkeyHolder(kKeys), HotkeyHolder::kOtherProgram);
    EXPECT_EQ(FindHotkeyHolder(Hotkey{kHotkeyCtrl, VK_SNAPSHOT}), HotkeyHolder::kOtherProgram);
    SetSnipping(L"dword", L"0");
    EXPECT_EQ(FindHotkeyHolder(print), HotkeyHolder::kOtherProgram);
    SetSnipping(L"string", L"1");
    EXPECT_EQ(FindHotkeyHolder(print), HotkeyHolder::kOtherProgram);
    SetSnipping(L"none", L"");
    EXPECT_EQ(FindHotkeyHolder(print), HotkeyHolder::kOtherProgram);
    // The settings path of the Windows it runs on (Wine reports a Windows 10 build).
    ASSERT_GT(RunningWindowsBuild(), 7600u);
    EXPECT_NE(HotkeyTakenText(print, HotkeyHolder::kScreenSnipping).find(PrintScreenSettingPath(RunningWindowsBuild())),
              std::wstring::npos);
    EXPECT_EQ(HotkeyTakenText(print, HotkeyHolder::kOtherProgram), L"快捷键 PrintScreen 已被占用");
}

TEST(HotkeyField, AHeldKeyIsMarkedWithWhoHoldsItAndAnotherKeyIsNot) {
    const Hotkey print = DefaultCaptureHotkey();
    // The field's text and tooltip once attached to a fresh label.
    const auto shown = [](const Hotkey& value, std::optional<TakenHotkey> taken) {
        DuiLib::CLabelUI label;
        label.SetToolTip(L"点击后按下新的快捷键");
        HotkeyField field;
        field.Attach(&label, value, nullptr, taken);
        return std::make_pair(label.GetText().Str(), label.GetToolTip().Str());
    };
    const auto snipping = shown(print, TakenHotkey{print, HotkeyHolder::kScreenSnipping});
    EXPECT_EQ(snipping.first, L"PrintScreen（已被占用）");
    EXPECT_NE(snipping.second.find(L"Windows 屏幕截图"), std::wstring::npos);
    const auto other = shown(print, TakenHotkey{print, HotkeyHolder::kOtherProgram});
    EXPECT_EQ(other.first, L"PrintScreen（已被占用）");
    EXPECT_NE(other.second.find(L"另一个程序"), std::wstring::npos);
    // Another key, or no key at all, is shown plainly with the field's own tooltip.
    EXPECT_EQ(shown(kKeys, TakenHotkey{print, HotkeyHolder::kOtherProgram}).first, L"Ctrl+Alt+F9");
    EXPECT_EQ(shown(Hotkey{}, TakenHotkey{Hotkey{}, HotkeyHolder::kOtherProgram}).first, L"无");
    const auto free = shown(print, std::nullopt);
    EXPECT_EQ(free.first, L"PrintScreen");
    EXPECT_EQ(free.second, L"点击后按下新的快捷键");
}

TEST(HotkeyField, ReadsKeysSaysWhyOneIsRefusedAndClears) {
    DuiLib::CLabelUI label;
    HotkeyField field;
    std::vector<bool> heard;
    field.Attach(&label, Hotkey{kHotkeyCtrl, 'Q'}, [&heard](bool listening) { heard.push_back(listening); });
    // A letter alone (no modifier is held on this thread): refused, and the reason stays while
    // the key is let go, until the field's timer ends it.
    field.Listen();
    EXPECT_EQ(label.GetText().Str(), L"请按下快捷键");
    // Modifiers show as they are pressed, from the first one.
    BYTE keys[256] = {};
    ASSERT_TRUE(GetKeyboardState(keys));
    keys[VK_CONTROL] = keys[VK_SHIFT] = 0x80;
    ASSERT_TRUE(SetKeyboardState(keys));
    EXPECT_TRUE(field.OnWindowMessage(WM_KEYDOWN, VK_SHIFT));
    EXPECT_EQ(label.GetText().Str(), L"Ctrl+Shift+");
    keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
    ASSERT_TRUE(SetKeyboardState(keys));
    field.OnWindowMessage(WM_KEYUP, VK_SHIFT);
    EXPECT_EQ(label.GetText().Str(), L"请按下快捷键");
    EXPECT_TRUE(field.OnWindowMessage(WM_KEYDOWN, 'A'));
    EXPECT_EQ(label.GetText().Str(), L"需要 Ctrl 或 Alt");
    field.OnWindowMessage(WM_KEYUP, 'A');
    EXPECT_EQ(label.GetText().Str(), L"需要 Ctrl 或 Alt");
    EXPECT_TRUE(field.OnWindowMessage(WM_TIMER, HotkeyField::kRefusalTimer));
    EXPECT_EQ(label.GetText().Str(), L"请按下快捷键");
    field.OnWindowMessage(WM_KEYDOWN, VK_F12);
    EXPECT_EQ(label.GetText().Str(), L"F12 由 Windows 保留");
    // Alt+F4, as a system key with Alt held, is Windows' own.
    keys[VK_MENU] = 0x80;
    ASSERT_TRUE(SetKeyboardState(keys));
    EXPECT_TRUE(field.OnWindowMessage(WM_SYSKEYDOWN, VK_F4));
    EXPECT_EQ(label.GetText().Str(), L"此组合由 Windows 使用");
    keys[VK_MENU] = 0;
    ASSERT_TRUE(SetKeyboardState(keys));
    EXPECT_EQ(field.Value(), (Hotkey{kHotkeyCtrl, 'Q'}));
    // PrintScreen arrives as a release only, and is chosen.
    field.OnWindowMessage(WM_KEYUP, VK_SNAPSHOT);
    EXPECT_EQ(field.Value(), DefaultCaptureHotkey());
    EXPECT_EQ(label.GetText().Str(), L"PrintScreen");
    // Backspace and Delete clear it; Escape keeps what it had.
    for (const WPARAM clear : {WPARAM{VK_BACK}, WPARAM{VK_DELETE}}) {
        field.Attach(&label, DefaultCaptureHotkey(), nullptr);
        field.Listen();
        field.OnWindowMessage(WM_KEYDOWN, clear);
        EXPECT_TRUE(field.Value().IsNone()) << clear;
        EXPECT_EQ(label.GetText().Str(), L"无");
    }
    field.Listen();
    field.OnWindowMessage(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_TRUE(field.Value().IsNone());
    EXPECT_EQ(heard, (std::vector<bool>{true, false}));
    // Not listening: keys are not the field's.
    EXPECT_FALSE(field.OnWindowMessage(WM_KEYDOWN, 'B'));
}

TEST(CaptureHotkey, AStoredHotkeyTheRulesRefuseIsNamedWithItsReason) {
    EXPECT_EQ(StoredHotkeyRefusedText("Shift+A"), L"快捷键 Shift+A 不能使用（需要 Ctrl 或 Alt），已改用 PrintScreen");
    EXPECT_EQ(StoredHotkeyRefusedText("Alt+F4"), L"快捷键 Alt+F4 不能使用（此组合由 Windows 使用），已改用 PrintScreen");
    // A hand edit's long line or control characters stay one short line.
    const std::wstring cut = StoredHotkeyRefusedText(std::string(200, 'x') + "\n");
    EXPECT_NE(cut.find(std::wstring(32, L'x') + L"\x2026 不能使用（不能使用此键）"), std::wstring::npos) << cut;
    EXPECT_EQ(StoredHotkeyRefusedText("Ctrl+\tQ+"), L"快捷键 Ctrl+ Q+ 不能使用（不能使用此键），已改用 PrintScreen");
}
