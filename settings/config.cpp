#include "settings/config.h"

#include "base/exe_directory.h"
#include "base/file_io.h"
#include "base/known_folders.h"
#include "base/utf_convert.h"
#include "settings/default_pic_folder.h"

std::wstring SettingsFolder() { return ExeDirectoryWritable() ? GetExeDirectory() : ProgramDataFolder(); }

CConfig& CConfig::Instance() {
    static CConfig config(SettingsFileIn(SettingsFolder()));
    return config;
}

CConfig::CConfig(std::wstring settingsFilePath) : settingsFilePath_(std::move(settingsFilePath)) {
    InitializeCriticalSection(&lock_);
    Load();
}

CConfig::~CConfig() { DeleteCriticalSection(&lock_); }

std::wstring SettingsFileIn(const std::wstring& folder) {
    return folder.empty() ? std::wstring() : folder + L"\\config.json";
}

bool CConfig::Load() {
    Guard guard(*this);
    // Without a settings file (the program's folder could not be found) the defaults stay in
    // memory; a relative name would land wherever the current folder happens to be.
    if (settingsFilePath_.empty()) return false;
    std::string bytes;
    switch (ReadWholeFile(settingsFilePath_, kMaxFileBytes, bytes)) {
        case FileReadResult::kOk: break;
        case FileReadResult::kNotFound:
            fileDamaged_ = false;
            Save();
            return false;
        // A file that exists but cannot be read is kept: writing defaults over it would lose
        // the user's settings.
        default: fileDamaged_ = true; return false;
    }
    const std::optional<ConfigFileValues> values = ParseConfigText(bytes);
    fileDamaged_ = !values;
    if (!values) return false;
    oldDefaultDropped_ = false;
    if (values->picSavePath) {
        const std::wstring stored = Utf8ToWide(*values->picSavePath);
        picSavePath_ = ChosenFolderFromStored(stored, TemporaryFolder());
        oldDefaultDropped_ = picSavePath_.empty() && !stored.empty();
    }
    if (values->hideMainWndWhenCapture) hideMainWndWhenCapture_ = *values->hideMainWndWhenCapture;
    if (values->restoreMainWndAfterCapture) {
        restoreMainWndAfterCapture_ = *values->restoreMainWndAfterCapture;
    }
    if (values->picSaveFormat) picSaveFormat_ = *values->picSaveFormat;
    // A missing or refused hotkey is the default, which the next save writes; a refused one is
    // kept to tell the user at start.
    const std::optional<Hotkey> hotkey = values->captureHotkey ? ParseHotkey(*values->captureHotkey) : std::nullopt;
    captureHotkey_ = hotkey ? *hotkey : DefaultCaptureHotkey();
    refusedHotkeyText_.reset();
    if (values->captureHotkey && !hotkey) refusedHotkeyText_ = values->captureHotkey;
    // Pictures already in the old folder stay there; the file stops naming it, so the user is
    // told only once. A file that cannot be written keeps it, and tells again at the next start.
    if (oldDefaultDropped_) Save();
    return true;
}

bool CConfig::Save() {
    Guard guard(*this);
    if (settingsFilePath_.empty() || fileDamaged_) return false;
    const std::string text = FormatConfigText(WideToUtf8(picSavePath_), hideMainWndWhenCapture_,
                                              restoreMainWndAfterCapture_, picSaveFormat_,
                                              HotkeyText(captureHotkey_));
    return !text.empty() && WriteFileAtomically(settingsFilePath_, text);
}

bool CConfig::StoreChosen(const std::wstring& picSavePath, PicSaveFormat format, bool hideMainWndWhenCapture,
                          const Hotkey& captureHotkey) {
    Guard guard(*this);
    const std::wstring oldPath = picSavePath_;
    const PicSaveFormat oldFormat = picSaveFormat_;
    const bool oldHide = hideMainWndWhenCapture_;
    const Hotkey oldHotkey = captureHotkey_;
    const bool damaged = fileDamaged_;
    // The damaged file is kept, once, before it is replaced.
    if (damaged && !CopyFileW(settingsFilePath_.c_str(), (settingsFilePath_ + L".bak").c_str(), FALSE)) return false;
    picSavePath_ = ChosenFolderToStore(picSavePath, CurrentDefaultPicPlaces());
    picSaveFormat_ = format;
    hideMainWndWhenCapture_ = hideMainWndWhenCapture;
    captureHotkey_ = captureHotkey;
    fileDamaged_ = false;
    if (Save()) {
        refusedHotkeyText_.reset();
        return true;
    }
    picSavePath_ = oldPath;
    picSaveFormat_ = oldFormat;
    hideMainWndWhenCapture_ = oldHide;
    captureHotkey_ = oldHotkey;
    fileDamaged_ = damaged;
    return false;
}

bool CConfig::FileDamaged() const {
    Guard guard(*this);
    return fileDamaged_;
}

bool CConfig::OldDefaultDropped() const {
    Guard guard(*this);
    return oldDefaultDropped_;
}

std::wstring CConfig::GetPicSavePath() const {
    // The default is probed outside the lock: it touches the disk.
    const std::wstring chosen = GetChosenPicFolder();
    return chosen.empty() ? DefaultPicSaveFolder() : chosen;
}

std::wstring CConfig::GetChosenPicFolder() const {
    Guard guard(*this);
    return picSavePath_;
}

void CConfig::SetPicSavePath(const std::wstring& folder) {
    Guard guard(*this);
    picSavePath_ = folder;
}

PicSaveFormat CConfig::GetPicSaveFormat() const {
    Guard guard(*this);
    return picSaveFormat_;
}

void CConfig::SetPicSaveFormat(PicSaveFormat format) {
    Guard guard(*this);
    picSaveFormat_ = format;
}

bool CConfig::GetHideMainWndWhenCapture() const {
    Guard guard(*this);
    return hideMainWndWhenCapture_;
}

void CConfig::SetHideMainWndWhenCapture(bool hide) {
    Guard guard(*this);
    hideMainWndWhenCapture_ = hide;
}

bool CConfig::GetRestoreMainWndAfterCapture() const {
    Guard guard(*this);
    return restoreMainWndAfterCapture_;
}

void CConfig::SetRestoreMainWndAfterCapture(bool restore) {
    Guard guard(*this);
    restoreMainWndAfterCapture_ = restore;
}

Hotkey CConfig::GetCaptureHotkey() const {
    Guard guard(*this);
    return captureHotkey_;
}

std::optional<std::string> CConfig::RefusedHotkeyText() const {
    Guard guard(*this);
    return refusedHotkeyText_;
}

bool CConfig::GetFloatWndHiddenByCapture() const {
    Guard guard(*this);
    return floatWndHiddenByCapture_;
}

void CConfig::SetFloatWndHiddenByCapture(bool hidden) {
    Guard guard(*this);
    floatWndHiddenByCapture_ = hidden;
}
