// The update check: once per start, on its own thread, fetch the manifest; when it names a newer
// version, fetch the updater, run it briefly without a window, and remove the downloaded files.
#pragma once

#include <windows.h>

#include <string>

// Status code of a download answered with anything but 200.
constexpr DWORD kDownloadHttpError = 8193;

// GETs url into the file destination. 0 on success, kDownloadHttpError for a status other than
// 200 (no file is written), otherwise the system's error code. A body that breaks off, or a file
// that cannot be written completely, is a failure and leaves no partial file behind.
DWORD DownloadFile(const std::wstring& url, const std::wstring& destination);

// The program's version text ("1.0.0.1") from its version resource; false when unreadable.
bool GetExeVersionText(std::wstring& text);

struct UpdateCheckSettings {
    std::wstring manifestUrl;
    std::wstring folder;  // where update.json and update.exe go, without a trailing separator
    bool versionKnown = false;
    std::string version;  // the running program's version text
};

// A manifest larger than this is not read.
constexpr long long kMaxManifestBytes = 52428800;

// Runs the whole check synchronously.
void RunUpdateCheck(const UpdateCheckSettings& settings);

// The thread body: the check for the running program and its folder, against manifestUrl.
void UpdateCheckThreadBody(const std::wstring& manifestUrl);
