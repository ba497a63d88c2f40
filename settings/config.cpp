#include "settings/config.h"

#include <shlobj.h>

#include "base/exe_directory.h"
#include "base/file_io.h"
#include "base/utf_convert.h"

namespace {

constexpr wchar_t kPicFolderName[] = L"screenshot_pic";

// parent's picture subfolder when it exists or could be made; empty otherwise.
std::wstring MadePicFolderIn(const std::wstring& parent) {
    if (parent.empty()) return std::wstring();
    const std::wstring separator = parent.back() == L'\\' ? L"" : L"\\";
    const std::wstring candidate = parent + separator + kPicFolderName;
    CreateDirectoryW(candidate.c_str(), nullptr);
    // A file of that name is no folder to save in.
    const DWORD attributes = GetFileAttributesW(candidate.c_str());
    const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    return folder ? candidate : std::wstring();
}

std::wstring PicturesFolder() {
    wchar_t buffer[MAX_PATH] = {0};
    const HRESULT result =
        SHGetFolderPathW(nullptr, CSIDL_MYPICTURES | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, buffer);
    return SUCCEEDED(result) ? std::wstring(buffer) : std::wstring();
}

std::wstring TemporaryFolder() {
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, buffer);
    return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

}  // namespace

std::wstring DefaultPicSaveFolder() {
    // Pictures first: Windows empties the temporary folder (Disk Cleanup, Storage Sense), so
    // it is only the fallback.
    for (const std::wstring& parent : {PicturesFolder(), TemporaryFolder()}) {
        const std::wstring folder = MadePicFolderIn(parent);
        if (!folder.empty()) return folder;
    }
    wchar_t buffer[MAX_PATH];
    const DWORD current = GetCurrentDirectoryW(MAX_PATH, buffer);
    const std::wstring folder = current > 0 && current < MAX_PATH ? std::wstring(buffer, current)
                                                                  : std::wstring();
    return folder + L"\\" + kPicFolderName;
}

CConfig& CConfig::Instance() {
    static CConfig config(SettingsFileIn(GetExeDirectory()));
    return config;
}

CConfig::CConfig(std::wstring settingsFilePath) : settingsFilePath_(std::move(settingsFilePath)) {
    InitializeCriticalSection(&lock_);
    Load();
    // The default folder is made only when the file names none: a user's own choice never
    // leaves an empty folder behind in Pictures.
    if (picSavePath_.empty()) picSavePath_ = DefaultPicSaveFolder();
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
            if (picSavePath_.empty()) picSavePath_ = DefaultPicSaveFolder();
            Save();
            return false;
        // A file that exists but cannot be read is kept: writing defaults over it would lose
        // the user's settings.
        default: fileDamaged_ = true; return false;
    }
    const std::optional<ConfigFileValues> values = ParseConfigText(bytes);
    fileDamaged_ = !values;
    if (!values) return false;
    if (values->picSavePath) picSavePath_ = Utf8ToWide(*values->picSavePath);
    if (values->hideMainWndWhenCapture) hideMainWndWhenCapture_ = *values->hideMainWndWhenCapture;
    if (values->restoreMainWndAfterCapture) {
        restoreMainWndAfterCapture_ = *values->restoreMainWndAfterCapture;
    }
    if (values->picSaveFormat) picSaveFormat_ = *values->picSaveFormat;
    // A missing or unreadable hotkey is the default, which the next save writes.
    const std::optional<Hotkey> hotkey = values->captureHotkey ? ParseHotkey(*values->captureHotkey) : std::nullopt;
    captureHotkey_ = hotkey ? *hotkey : DefaultCaptureHotkey();
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
    picSavePath_ = picSavePath;
    picSaveFormat_ = format;
    hideMainWndWhenCapture_ = hideMainWndWhenCapture;
    captureHotkey_ = captureHotkey;
    fileDamaged_ = false;
    if (Save()) return true;
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

std::wstring CConfig::GetPicSavePath() const {
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

bool CConfig::GetFloatWndHiddenByCapture() const {
    Guard guard(*this);
    return floatWndHiddenByCapture_;
}

void CConfig::SetFloatWndHiddenByCapture(bool hidden) {
    Guard guard(*this);
    floatWndHiddenByCapture_ = hidden;
}
