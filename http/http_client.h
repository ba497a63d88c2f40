// HTTP GETs over WinHTTP for the usage events and the update check: one session class that sets
// the user agent, the proxy choice and timeouts on every session, and that can be cancelled from
// another thread (at exit) so that nothing waits on a slow server.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "base/unique_handle.h"
#include "http/http_url.h"
#include "http/user_proxy.h"

// Error code of a download answered with anything but 200.
constexpr DWORD kDownloadHttpError = 8193;

enum class ProxyChoice {
    kSystemDefault,  // the system's default proxy settings
    kAutomatic,      // picked per address by the system (Windows 8.1 on), else by the user's settings
    kNamed,          // the proxy in HttpSessionOptions::proxyName ("host:port")
};

struct HttpSessionOptions {
    std::wstring userAgent;
    ProxyChoice proxy = ProxyChoice::kSystemDefault;
    std::wstring proxyName;
    bool tls12Only = false;
    // For tests: with kAutomatic, act as on a system without WinHTTP's automatic proxy (before
    // Windows 8.1) and follow the user's proxy settings here.
    bool withoutAutomaticProxy = false;
    // Limit for each of resolving, connecting, sending and each wait for received data.
    int timeoutMs = 10000;
};

struct HttpResponse {
    DWORD error = 0;   // 0 when the server answered; else the system's error code
    DWORD status = 0;  // the answer's status code
};

class HttpSession {
public:
    explicit HttpSession(const HttpSessionOptions& options);
    HttpSession(const HttpSession&) = delete;
    HttpSession& operator=(const HttpSession&) = delete;

    // False when WinHTTP could not open the session; every call then fails.
    bool Valid() const { return session_.Valid(); }

    // GETs target.object from target's host; the body is not read.
    HttpResponse Get(const HttpUrl& target);

    // GETs url into the file destination. The request is made from the address as WinHTTP splits
    // it, and only when that is an https address, or a plain http one on this machine when plain
    // allows it (see IsTrustedDownloadTarget), and ParseHttpUrl reads it the same way; anything
    // else gives ERROR_ACCESS_DENIED without a request. Redirects (the session never follows one
    // itself) are followed up to five hops, each new address checked the same way and never from
    // https to plain http (MayFollowRedirect); a Location that is neither absolute nor a path from
    // the root gives ERROR_WINHTTP_REDIRECT_FAILED. 0 on success, kDownloadHttpError for a final
    // status other than 200 (no file is written), ERROR_FILE_TOO_LARGE for a body longer than
    // maxBytes, otherwise the system's error code. Every failure leaves no file behind.
    DWORD Download(const std::wstring& url, const std::wstring& destination, unsigned long long maxBytes,
                   PlainHttp plain);

    // Makes every later call fail at once with ERROR_WINHTTP_OPERATION_CANCELLED; a call in
    // progress on another thread stops at its next step (a body being read, at the next piece)
    // or at its time limit. Its handles are never closed from here: only the thread using a
    // handle closes it, so no call can use a handle closed under it.
    void Cancel();
    bool Cancelled() const { return cancelled_.load(); }

private:
    class Request;

    WinHttpHandle Open(const HttpSessionOptions& options);
    // Sets the proxy the user's settings give for target on request; the session's proxy stays
    // when they give none.
    void ApplyUserProxy(HINTERNET request, const HttpUrl& target) const;

    std::atomic<bool> cancelled_{false};
    DWORD openError_ = 0;
    // The user's proxy settings, when the session follows them itself.
    UserProxyPlan userProxy_;
    WinHttpHandle session_;
};
