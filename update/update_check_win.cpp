#include <windows.h>

#include <ctime>
#include <vector>

#include "base/exe_directory.h"
#include "base/file_io.h"
#include "base/utf_convert.h"
#include "base/unique_handle.h"
#include "update/manifest.h"
#include "update/signature_check.h"
#include "update/update_check.h"
#include "update/updater_proof.h"
#include "update/updater_signature.h"
#include "update/version_compare.h"

HttpSessionOptions UpdateSessionOptions() {
    HttpSessionOptions options;
    options.userAgent = L"MyApp/1.0";
    options.proxy = ProxyChoice::kAutomatic;
    options.tls12Only = true;
    return options;
}

bool GetExeVersionText(std::wstring& text) {
    const std::wstring module = GetModulePath(nullptr);
    if (module.empty()) return false;
    const wchar_t* path = module.c_str();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &handle);
    if (size == 0) return false;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path, 0, size, block.data())) return false;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) || !info) {
        return false;
    }
    text = Utf8ToWide(FormatVersionText(info->dwProductVersionMS, info->dwProductVersionLS));
    return true;
}

namespace {

// Runs the updater at path, with the program's proof (updater_proof.h), if its bytes have the
// SHA-256 the release signed, and waits up to wait for it to end. The file is held open with
// read-only sharing from before its hash until the updater has been started: nobody can write,
// rename or delete it in between, so the bytes checked are the bytes started. The updater is never ended from here: an antivirus may hold a
// new program for a while before it runs, and a setup cut off halfway would leave a broken copy.
// True when it was started and is still running after wait.
bool StartVerifiedUpdater(const std::wstring& path, const std::string& sha256, unsigned long wait) {
    // Our setup updates the program's folder only with this process's proof on its command line.
    const std::wstring& proof = HeldUpdaterProof();
    if (proof.empty()) return false;
    UniqueHandle held(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!held || Sha256OfOpenFile(held.Get()) != sha256) return false;
    // The path is the application name and, quoted, the command line: a folder with spaces
    // cannot make the system start another program.
    std::wstring commandLine = L"\"" + path + L"\" /PROOF=" + proof;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    held.Reset();
    UniqueHandle thread(process.hThread);
    UniqueHandle child(process.hProcess);
    return WaitForSingleObject(child.Get(), wait) == WAIT_TIMEOUT;
}

}  // namespace

void RunUpdateCheck(const UpdateCheckSettings& settings, HttpSession& session) {
    // Never the root of the current drive: without the program's folder there is no check.
    if (settings.folder.empty()) return;
    const std::wstring manifestPath = settings.folder + L"\\update.json";
    const std::wstring updaterPath = settings.folder + L"\\update.exe";
    // What an earlier check left: an updater still running after its wait cannot be deleted
    // (the system refuses while it runs), and then this check leaves it alone. An update.json
    // is left to the download, which replaces it: in a folder shared with another program it
    // may be that program's.
    if (!DeleteFileW(updaterPath.c_str()) && GetFileAttributesW(updaterPath.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return;
    }
    if (session.Download(settings.manifestUrl, manifestPath, kMaxManifestBytes, settings.plainHttp) != 0) return;
    std::string manifest;
    if (ReadWholeFile(manifestPath, static_cast<size_t>(kMaxManifestBytes), manifest) != FileReadResult::kOk) {
        return;  // unreadable or too large: the manifest file stays
    }
    UpdateContext context;
    context.versionKnown = settings.versionKnown;
    context.version = settings.version;
    context.now = static_cast<int64_t>(std::time(nullptr));
    context.plainHttp = settings.plainHttp;
    const UpdateDecision decision = DecideUpdate(manifest, context);
    if (!decision.download) {
        // A newer version offered without a valid, unexpired statement: its manifest goes too.
        if (decision.offered) DeleteFileW(manifestPath.c_str());
        return;
    }
    // Nothing is fetched unless the key's owner signed this version, this address, these bytes
    // and this expiry together: a changed server or mirror can neither start its own program, nor
    // replay an older release under a newer version, nor serve an old statement for ever.
    if (settings.publicKey.empty() || decision.statement.empty() ||
        !VerifySignedText(decision.statement, decision.signature, settings.publicKey)) {
        DeleteFileW(manifestPath.c_str());
        return;
    }
    if (session.Download(Utf8ToWide(decision.url), updaterPath, kMaxUpdaterBytes, settings.plainHttp) != 0) return;
    // Exiting: nothing is started now. An updater still running keeps its file; the next check
    // deletes it.
    const bool running = !session.Cancelled() && StartVerifiedUpdater(updaterPath, decision.sha256,
                                                                        settings.updaterWaitMs);
    DeleteFileW(manifestPath.c_str());
    if (!running) DeleteFileW(updaterPath.c_str());
}

void UpdateCheckThreadBody(const std::wstring& manifestUrl, PlainHttp plainHttp, const std::string& publicKeyHex,
                           const std::shared_ptr<HttpSession>& session) {
    UpdateCheckSettings settings;
    settings.manifestUrl = manifestUrl;
    settings.plainHttp = plainHttp;
    settings.publicKey = ParsePublicKeyHex(publicKeyHex).value_or(std::string());
    // A program folder that cannot be written (Program Files, a read-only share) cannot take
    // the download: the check is skipped, quietly.
    settings.folder = ExeDirectoryWritable() ? GetExeDirectory() : std::wstring();
    std::wstring version;
    settings.versionKnown = GetExeVersionText(version);
    settings.version = WideToUtf8(version);
    RunUpdateCheck(settings, *session);
}
