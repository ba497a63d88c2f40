// The process-wide settings: picture folder, picture format, the main window's behaviour around
// captures and the capture hotkey, kept in config.json beside the program, or in
// %APPDATA%\screenshot when the program's folder cannot be written. Every member access takes
// the recursive lock; callers that change several members and save take it around the whole step.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "settings/config_codec.h"
#include "settings/hotkey.h"

class CConfig {
public:
    // The single instance; the first call constructs it and loads the file.
    static CConfig& Instance();

    // A store over the given settings file; loads it at once. An empty path keeps every value
    // in memory only: nothing is read or written. The program uses Instance().
    explicit CConfig(std::wstring settingsFilePath);
    ~CConfig();
    CConfig(const CConfig&) = delete;
    CConfig& operator=(const CConfig&) = delete;

    // Holds the lock for a scope.
    class Guard {
    public:
        explicit Guard(const CConfig& config) : config_(config) { config_.Lock(); }
        ~Guard() { config_.Unlock(); }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        const CConfig& config_;
    };
    void Lock() const { EnterCriticalSection(&lock_); }
    void Unlock() const { LeaveCriticalSection(&lock_); }

    // Reads the file into the members. False when the file is missing (a default file is then
    // written), unreadable, too large, not JSON or not an object; members keep their values.
    // A file that exists but did not load counts as damaged until a load succeeds. A file naming
    // the old default folder (the temporary folder's) is read as naming none, and saved so at once.
    bool Load();
    // Writes every persisted member. False when the file could not be replaced, and when the
    // file on disk is damaged: the user's file is never replaced behind their back. The old
    // file then stays as it was.
    bool Save();
    // The settings window's OK: the user chose these values, so they replace even a damaged
    // file, which is kept beside it as config.json.bak. A folder that is one of the default's
    // places is kept as "the default". False (and the members as they were) when nothing could
    // be written.
    bool StoreChosen(const std::wstring& picSavePath, PicSaveFormat format, bool hideMainWndWhenCapture,
                     const Hotkey& captureHotkey);
    // Whether the file on disk exists but did not load.
    bool FileDamaged() const;

    // Whether the last load found the old default folder and dropped it: the user is told once
    // where new pictures go.
    bool OldDefaultDropped() const;

    // The folder pictures are saved in now: the chosen one, or the default worked out at this
    // call (which makes the default folder and probes Pictures).
    std::wstring GetPicSavePath() const;
    // The folder the user chose; empty for the default.
    std::wstring GetChosenPicFolder() const;
    // Chooses folder (empty: the default).
    void SetPicSavePath(const std::wstring& folder);
    PicSaveFormat GetPicSaveFormat() const;
    void SetPicSaveFormat(PicSaveFormat format);
    bool GetHideMainWndWhenCapture() const;
    void SetHideMainWndWhenCapture(bool hide);
    bool GetRestoreMainWndAfterCapture() const;
    void SetRestoreMainWndAfterCapture(bool restore);
    // PrintScreen unless the file names another combination or none.
    Hotkey GetCaptureHotkey() const;
    // The hotkey text of the last load when the rules refused it (PrintScreen is used instead),
    // until the settings' OK stores a choice; nothing otherwise.
    std::optional<std::string> RefusedHotkeyText() const;
    // Not persisted: whether the capture in progress hid the floating window.
    bool GetFloatWndHiddenByCapture() const;
    void SetFloatWndHiddenByCapture(bool hidden);

    const std::wstring& GetSettingsFilePath() const { return settingsFilePath_; }

    // A settings file larger than this is treated as damaged and left alone.
    static constexpr size_t kMaxFileBytes = 1 << 20;

private:
    mutable CRITICAL_SECTION lock_;
    std::wstring picSavePath_;  // chosen; empty for the default
    bool oldDefaultDropped_ = false;
    bool hideMainWndWhenCapture_ = true;
    bool restoreMainWndAfterCapture_ = false;
    bool floatWndHiddenByCapture_ = false;
    bool fileDamaged_ = false;
    PicSaveFormat picSaveFormat_ = PicSaveFormat::kPng;
    Hotkey captureHotkey_ = DefaultCaptureHotkey();
    std::optional<std::string> refusedHotkeyText_;
    const std::wstring settingsFilePath_;
};

// config.json in folder; empty (no settings file) when folder is empty.
std::wstring SettingsFileIn(const std::wstring& folder);

// Where config.json lives: the program's folder when files can be made there, otherwise
// %APPDATA%\screenshot. Empty when neither is known.
std::wstring SettingsFolder();
