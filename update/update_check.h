// The update check, on the update scheduler's thread: fetch the manifest; when it names a newer
// version, fetch the updater, run it without a window, wait for it to end (never ending it), and
// remove the downloaded files.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "http/http_client.h"
#include "update/manifest.h"

// The session the check downloads with: its user agent, the proxy picked per address, TLS 1.2.
HttpSessionOptions UpdateSessionOptions();

// The program's version text ("1.0.0.1") from its version resource; false when unreadable.
bool GetExeVersionText(std::wstring& text);

struct UpdateCheckSettings {
    std::wstring manifestUrl;
    // kLoopbackForTests only for a manifest address from the test environment variables.
    PlainHttp plainHttp = PlainHttp::kRefused;
    std::wstring folder;  // where update.json and update.exe go, without a trailing separator
    bool versionKnown = false;
    std::string version;  // the running program's version text
    std::string publicKey;  // X || Y of the key releases are signed with; empty: nothing is downloaded
    // How long the check waits for a started updater to end. Our setup ends as soon as its
    // private copy runs, but an antivirus may hold a new program for many seconds first.
    unsigned long updaterWaitMs = 60000;
};

// An updater download stops (and is deleted) beyond this size.
constexpr unsigned long long kMaxUpdaterBytes = 268435456;

// Runs the whole check synchronously on session. Does nothing without a folder (the program's
// folder could not be read), and starts nothing once the session is cancelled. The updater is
// downloaded only when the manifest's statement (version, address, SHA-256, expiry) has not
// expired and verifies against the public key, and started only when its bytes have that
// SHA-256; anything else ends the
// check quietly, with the manifest and any updater deleted. An update.json or update.exe left by
// an earlier check is deleted first; an update.exe that cannot be deleted (its updater still runs)
// ends the check at once. An updater still running after its wait keeps its file.
void RunUpdateCheck(const UpdateCheckSettings& settings, HttpSession& session);

// The thread body: the check for the running program and its folder, against manifestUrl, with
// the public key given as 128 hexadecimal digits (X then Y). Nothing is done when the program's
// folder cannot be written.
void UpdateCheckThreadBody(const std::wstring& manifestUrl, PlainHttp plainHttp, const std::string& publicKeyHex,
                           const std::shared_ptr<HttpSession>& session);
