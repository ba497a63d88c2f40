#include <windows.h>
#include <winhttp.h>

#include <optional>
#include <vector>

#include "http/http_client.h"

namespace {

DWORD LastErrorOr(DWORD fallback) {
    const DWORD error = GetLastError();
    return error ? error : fallback;
}

// The user's proxy settings (Internet Options) as WinHTTP reads them; none when unreadable.
UserProxySettings ReadUserProxySettings() {
    UserProxySettings settings;
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config{};
    if (!WinHttpGetIEProxyConfigForCurrentUser(&config)) return settings;
    const UniqueGlobalText autoConfigUrl(config.lpszAutoConfigUrl);
    const UniqueGlobalText proxy(config.lpszProxy);
    const UniqueGlobalText bypass(config.lpszProxyBypass);
    settings.autoDetect = config.fAutoDetect != FALSE;
    if (autoConfigUrl) settings.autoConfigUrl = autoConfigUrl.Get();
    if (proxy) settings.proxy = proxy.Get();
    if (bypass) settings.bypass = bypass.Get();
    return settings;
}

std::wstring FullUrl(const HttpUrl& target) {
    return (target.secure ? L"https://" : L"http://") + target.host + L":" + std::to_wstring(target.port) +
           target.object;
}

// The address as WinHTTP itself reads it: the parts a request will really be made from.
DWORD CrackUrl(const std::wstring& url, HttpUrl& target) {
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    // Lengths without buffers: the parts are returned as pointers into url.
    parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUserNameLength = parts.dwPasswordLength =
        parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) {
        return LastErrorOr(ERROR_WINHTTP_INVALID_URL);
    }
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) {
        return ERROR_WINHTTP_UNRECOGNIZED_SCHEME;
    }
    target.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    target.host.assign(parts.lpszHostName ? parts.lpszHostName : L"", parts.dwHostNameLength);
    target.port = parts.nPort;
    target.hasCredentials = parts.dwUserNameLength > 0 || parts.dwPasswordLength > 0;
    // The query is kept: an address with one (a signed link) must reach the server whole.
    target.object.assign(parts.lpszUrlPath ? parts.lpszUrlPath : L"", parts.dwUrlPathLength);
    target.object.append(parts.lpszExtraInfo ? parts.lpszExtraInfo : L"", parts.dwExtraInfoLength);
    if (target.object.empty() || target.object[0] != L'/') target.object.insert(0, L"/");
    return 0;
}

}  // namespace

// One request on the session, used and closed by the thread that made it only: a handle closed
// from another thread could be used (or its value reused) by the next call of this one.
class HttpSession::Request {
public:
    explicit Request(HttpSession& session) : session_(session) {}
    Request(const Request&) = delete;
    Request& operator=(const Request&) = delete;

    // Connects, sends the GET and waits for the answer's headers; the status goes to status.
    DWORD Send(const HttpUrl& target, DWORD& status) {
        if (!session_.Valid()) return session_.openError_;
        connection_.Reset(WinHttpConnect(session_.session_.Get(), target.host.c_str(),
                                         static_cast<INTERNET_PORT>(target.port), 0));
        if (!connection_) return LastErrorOr(ERROR_INTERNAL_ERROR);
        WinHttpHandle request(WinHttpOpenRequest(connection_.Get(), L"GET", target.object.c_str(), nullptr,
                                                 WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                 target.secure ? WINHTTP_FLAG_SECURE : 0));
        if (!request) return LastErrorOr(ERROR_INTERNAL_ERROR);
        if (session_.userProxy_.askPerAddress) session_.ApplyUserProxy(request.Get(), target);
        if (session_.Cancelled()) return ERROR_WINHTTP_OPERATION_CANCELLED;
        handle_ = std::move(request);
        if (!WinHttpSendRequest(handle_.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
            session_.Cancelled() || !WinHttpReceiveResponse(handle_.Get(), nullptr)) {
            return Failure(ERROR_INTERNAL_ERROR);
        }
        DWORD size = sizeof status;
        // Each call on the request first tests the session: a cancelled session makes no more.
        if (session_.Cancelled() ||
            !WinHttpQueryHeaders(handle_.Get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                 WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
            return Failure(ERROR_INTERNAL_ERROR);
        }
        return 0;
    }

    // The answer's Location header; empty when it has none.
    std::wstring Location() const {
        DWORD size = 0;
        WinHttpQueryHeaders(handle_.Get(), WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &size,
                            WINHTTP_NO_HEADER_INDEX);
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0 || size > 16384) return std::wstring();
        std::wstring location(size / sizeof(wchar_t) + 1, L'\0');
        if (session_.Cancelled() || !WinHttpQueryHeaders(handle_.Get(), WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX,
                                                         &location[0], &size, WINHTTP_NO_HEADER_INDEX)) {
            return std::wstring();
        }
        location.resize(size / sizeof(wchar_t));
        return location;
    }

    // Copies the body into the file; an error when it breaks off, is longer than maxBytes, a
    // write fails or the session is cancelled.
    DWORD SaveBody(HANDLE file, unsigned long long maxBytes) {
        // Content-Length, when the server sends one, says how much must arrive.
        DWORD expected = 0;
        DWORD size = sizeof expected;
        const bool known = WinHttpQueryHeaders(handle_.Get(), WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                                               WINHTTP_HEADER_NAME_BY_INDEX, &expected, &size,
                                               WINHTTP_NO_HEADER_INDEX) != FALSE;
        if (known && expected > maxBytes) return ERROR_FILE_TOO_LARGE;
        unsigned long long received = 0;
        std::vector<char> block(8192);
        for (;;) {
            // Waiting for what has arrived, then reading only that, returns after every piece
            // of a slow body (a read of a whole block may wait for all of it); with the session
            // tested before each call, a cancel stops a slow body at the next piece.
            DWORD available = 0;
            if (session_.Cancelled() || !WinHttpQueryDataAvailable(handle_.Get(), &available)) {
                return Failure(ERROR_READ_FAULT);
            }
            if (available == 0) break;
            DWORD read = 0;
            const DWORD want = available < block.size() ? available : static_cast<DWORD>(block.size());
            if (session_.Cancelled() || !WinHttpReadData(handle_.Get(), block.data(), want, &read)) {
                return Failure(ERROR_READ_FAULT);
            }
            if (read == 0) break;
            received += read;
            if (received > maxBytes) return ERROR_FILE_TOO_LARGE;
            DWORD written = 0;
            if (!WriteFile(file, block.data(), read, &written, nullptr) || written != read) {
                return LastErrorOr(ERROR_WRITE_FAULT);
            }
        }
        // The connection ended before the whole body arrived.
        if (known && received != expected) return ERROR_READ_FAULT;
        return 0;
    }

private:
    // The error of a failed call: a cancelled session says so whatever the call reported.
    DWORD Failure(DWORD fallback) const {
        const DWORD error = LastErrorOr(fallback);
        return session_.Cancelled() ? ERROR_WINHTTP_OPERATION_CANCELLED : error;
    }

    HttpSession& session_;
    WinHttpHandle connection_;
    WinHttpHandle handle_;
};

WinHttpHandle HttpSession::Open(const HttpSessionOptions& options) {
    const wchar_t* agent = options.userAgent.c_str();
    switch (options.proxy) {
        case ProxyChoice::kNamed:
            return WinHttpHandle(WinHttpOpen(agent, WINHTTP_ACCESS_TYPE_NAMED_PROXY, options.proxyName.c_str(),
                                             WINHTTP_NO_PROXY_BYPASS, 0));
        case ProxyChoice::kAutomatic: {
            if (!options.withoutAutomaticProxy) {
                WinHttpHandle session(WinHttpOpen(agent, WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                                                  WINHTTP_NO_PROXY_BYPASS, 0));
                if (session) return session;
            }
            // Before Windows 8.1 the system's default proxy is not the user's: follow the user's
            // settings here, as the system would.
            userProxy_ = PlanUserProxy(ReadUserProxySettings());
            if (!userProxy_.named) {
                return WinHttpHandle(WinHttpOpen(agent, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                                 WINHTTP_NO_PROXY_BYPASS, 0));
            }
            return WinHttpHandle(WinHttpOpen(agent, WINHTTP_ACCESS_TYPE_NAMED_PROXY, userProxy_.proxy.c_str(),
                                             userProxy_.bypass.empty() ? WINHTTP_NO_PROXY_BYPASS
                                                                       : userProxy_.bypass.c_str(),
                                             0));
        }
        case ProxyChoice::kSystemDefault:
            break;
    }
    return WinHttpHandle(WinHttpOpen(agent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                     WINHTTP_NO_PROXY_BYPASS, 0));
}

void HttpSession::ApplyUserProxy(HINTERNET request, const HttpUrl& target) const {
    WINHTTP_AUTOPROXY_OPTIONS autoProxy{};
    if (userProxy_.autoDetect) {
        autoProxy.dwFlags |= WINHTTP_AUTOPROXY_AUTO_DETECT;
        autoProxy.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
    }
    if (!userProxy_.autoConfigUrl.empty()) {
        autoProxy.dwFlags |= WINHTTP_AUTOPROXY_CONFIG_URL;
        autoProxy.lpszAutoConfigUrl = userProxy_.autoConfigUrl.c_str();
    }
    // A script server that asks who we are gets the user's logon.
    autoProxy.fAutoLogonIfChallenged = TRUE;
    WINHTTP_PROXY_INFO found{};
    if (!WinHttpGetProxyForUrl(session_.Get(), FullUrl(target).c_str(), &autoProxy, &found)) return;
    const UniqueGlobalText proxy(found.lpszProxy);
    const UniqueGlobalText bypass(found.lpszProxyBypass);
    WinHttpSetOption(request, WINHTTP_OPTION_PROXY, &found, sizeof found);
}

HttpSession::HttpSession(const HttpSessionOptions& options) : session_(Open(options)) {
    if (!session_) {
        openError_ = LastErrorOr(ERROR_INTERNAL_ERROR);
        return;
    }
    const int t = options.timeoutMs;
    bool configured = WinHttpSetTimeouts(session_.Get(), t, t, t, t) != FALSE;
    // Redirects are followed by Download only, each hop checked like the first address.
    DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    configured = configured && WinHttpSetOption(session_.Get(), WINHTTP_OPTION_REDIRECT_POLICY, &policy,
                                                sizeof policy) != FALSE;
    if (configured && options.tls12Only) {
        DWORD protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
        configured = WinHttpSetOption(session_.Get(), WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols,
                                      sizeof protocols) != FALSE;
    }
    if (!configured) {
        // A session without its limits or protocols is not used at all.
        openError_ = LastErrorOr(ERROR_INTERNAL_ERROR);
        session_.Reset();
    }
}

HttpResponse HttpSession::Get(const HttpUrl& target) {
    HttpResponse response;
    Request request(*this);
    response.error = request.Send(target, response.status);
    return response;
}

namespace {

constexpr int kMaxRedirects = 5;

bool IsRedirect(DWORD status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The address as WinHTTP will request it, when ParseHttpUrl reads it the same way. An address
// the two split differently is not guessed at.
DWORD CrackedTarget(const std::wstring& url, HttpUrl& target) {
    if (const DWORD error = CrackUrl(url, target)) return error;
    const std::optional<HttpUrl> parsed = ParseHttpUrl(url);
    if (!parsed || !SameTarget(*parsed, target)) return ERROR_ACCESS_DENIED;
    return 0;
}

}  // namespace

DWORD HttpSession::Download(const std::wstring& url, const std::wstring& destination,
                            unsigned long long maxBytes, PlainHttp plain) {
    HttpUrl target;
    if (const DWORD error = CrackedTarget(url, target)) return error;
    if (!IsTrustedDownloadTarget(target, plain)) return ERROR_ACCESS_DENIED;
    // Redirects are followed here, a few at most, each hop's address checked like the first.
    std::optional<Request> request;
    DWORD status = 0;
    for (int hop = 0;; ++hop) {
        request.emplace(*this);
        if (const DWORD error = request->Send(target, status)) return error;
        if (!IsRedirect(status)) break;
        if (hop == kMaxRedirects) return ERROR_WINHTTP_REDIRECT_FAILED;
        const std::optional<std::wstring> next = RedirectTarget(target, request->Location());
        if (!next) return ERROR_WINHTTP_REDIRECT_FAILED;
        HttpUrl following;
        if (const DWORD error = CrackedTarget(*next, following)) return error;
        if (!MayFollowRedirect(target, following, plain)) return ERROR_ACCESS_DENIED;
        target = following;
    }
    if (status != 200) return kDownloadHttpError;

    DWORD error = 0;
    {
        UniqueHandle file(CreateFileW(destination.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) return LastErrorOr(ERROR_CANNOT_MAKE);
        error = request->SaveBody(file.Get(), maxBytes);
        if (error == 0) return 0;
    }
    // Never keep (and so never run) part of a file.
    DeleteFileW(destination.c_str());
    return error;
}

void HttpSession::Cancel() { cancelled_.store(true); }
