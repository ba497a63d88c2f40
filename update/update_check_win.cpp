#include <windows.h>
#include <winhttp.h>

#include <vector>

#include "base/unique_handle.h"
#include "base/exe_directory.h"
#include "base/file_io.h"
#include "base/utf_convert.h"
#include "base/unique_handle.h"
#include "update/manifest.h"
#include "update/update_check.h"
#include "update/version_compare.h"

namespace {

DWORD LastErrorOr(DWORD fallback) {
    const DWORD error = GetLastError();
    return error ? error : fallback;
}

// A session that picks the proxy automatically where the system can (Windows 8.1 and later),
// else with the system's default proxy settings.
WinHttpHandle OpenSession() {
    WinHttpHandle session(WinHttpOpen(L"MyApp/1.0", WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY,
                                      WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) {
        session = WinHttpHandle(WinHttpOpen(L"MyApp/1.0", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                            WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    }
    return session;
}

// Copies the response body into the file; false (with the error) when the body breaks off or a
// write fails.
bool SaveBody(HINTERNET request, HANDLE file, DWORD& error) {
    // Content-Length, when the server sends one, says how much must arrive.
    DWORD expected = 0;
    DWORD size = sizeof expected;
    const bool known = WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                                           WINHTTP_HEADER_NAME_BY_INDEX, &expected, &size,
                                           WINHTTP_NO_HEADER_INDEX) != FALSE;
    unsigned long long received = 0;
    std::vector<char> block(8192);
    for (;;) {
        DWORD read = 0;
        if (!WinHttpReadData(request, block.data(), static_cast<DWORD>(block.size()), &read)) {
            error = LastErrorOr(ERROR_READ_FAULT);
            return false;
        }
        if (read == 0) break;
        DWORD written = 0;
        if (!WriteFile(file, block.data(), read, &written, nullptr) || written != read) {
            error = LastErrorOr(ERROR_WRITE_FAULT);
            return false;
        }
        received += read;
    }
    if (known && received != expected) {
        error = ERROR_READ_FAULT;  // the connection ended before the whole body arrived
        return false;
    }
    return true;
}

}  // namespace

DWORD DownloadFile(const std::wstring& url, const std::wstring& destination) {
    WinHttpHandle session = OpenSession();
    if (!session) return LastErrorOr(ERROR_INTERNAL_ERROR);
    DWORD protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
    if (!WinHttpSetOption(session.Get(), WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols)) {
        return LastErrorOr(ERROR_INTERNAL_ERROR);
    }
    wchar_t host[256] = {0};
    wchar_t path[1024] = {0};
    wchar_t query[1024] = {0};
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = 256;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = 1024;
    // The query is kept: an address with one (a signed link) must reach the server whole.
    parts.lpszExtraInfo = query;
    parts.dwExtraInfoLength = 1024;
    if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts)) return LastErrorOr(ERROR_INVALID_PARAMETER);
    const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    const std::wstring object = std::wstring(path) + query;

    WinHttpHandle connection(WinHttpConnect(session.Get(), host, parts.nPort, 0));
    if (!connection) return LastErrorOr(ERROR_INTERNAL_ERROR);
    WinHttpHandle request(WinHttpOpenRequest(connection.Get(), L"GET", object.c_str(), nullptr,
                                             WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                             secure ? WINHTTP_FLAG_SECURE : 0));
    if (!request) return LastErrorOr(ERROR_INTERNAL_ERROR);
    if (!WinHttpSendRequest(request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !WinHttpReceiveResponse(request.Get(), nullptr)) {
        return LastErrorOr(ERROR_INTERNAL_ERROR);
    }
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!WinHttpQueryHeaders(request.Get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
        return LastErrorOr(ERROR_INTERNAL_ERROR);
    }
    if (status != 200) return kDownloadHttpError;

    DWORD error = 0;
    {
        UniqueHandle file(CreateFileW(destination.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) return LastErrorOr(ERROR_CANNOT_MAKE);
        if (SaveBody(request.Get(), file.Get(), error)) return 0;
    }
    // Never keep (and so never run) half a file.
    DeleteFileW(destination.c_str());
    return error;
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

void RunUpdateCheck(const UpdateCheckSettings& settings) {
    const std::wstring manifestPath = settings.folder + L"\\update.json";
    const std::wstring updaterPath = settings.folder + L"\\update.exe";
    if (DownloadFile(settings.manifestUrl, manifestPath) != 0) return;
    std::string manifest;
    if (ReadWholeFile(manifestPath, static_cast<size_t>(kMaxManifestBytes), manifest) != FileReadResult::kOk) {
        return;  // unreadable or too large: the manifest file stays
    }
    const UpdateDecision decision = DecideUpdate(manifest, settings.versionKnown, settings.version);
    if (!decision.download) return;
    if (DownloadFile(Utf8ToWide(decision.url), updaterPath) != 0) return;

    // The path is the application name and, quoted, the command line: a folder with spaces
    // cannot make the system start another program.
    std::wstring commandLine = L"\"" + updaterPath + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(updaterPath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                       nullptr, nullptr, &startup, &process)) {
        UniqueHandle thread(process.hThread);
        UniqueHandle child(process.hProcess);
        if (WaitForSingleObject(child.Get(), 3000) == WAIT_TIMEOUT) {
            TerminateProcess(child.Get(), 1);
            WaitForSingleObject(child.Get(), 3000);  // let it go before its file is deleted
        } else {
            DWORD exitCode = 0;
            GetExitCodeProcess(child.Get(), &exitCode);
        }
    }
    DeleteFileW(manifestPath.c_str());
    DeleteFileW(updaterPath.c_str());
}

void UpdateCheckThreadBody(const std::wstring& manifestUrl) {
    UpdateCheckSettings settings;
    settings.manifestUrl = manifestUrl;
    settings.folder = GetExeDirectory();
    std::wstring version;
    settings.versionKnown = GetExeVersionText(version);
    settings.version = WideToUtf8(version);
    RunUpdateCheck(settings);
}
