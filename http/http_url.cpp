#include "http/http_url.h"

#include "http/endpoint.h"

std::optional<HttpUrl> ParseHttpUrl(const std::wstring& url) {
    for (const wchar_t c : url) {
        if (c <= L' ' || c >= 0x7F || c == L'@' || c == L'#' || c == L'\\') return std::nullopt;
    }
    const size_t schemeEnd = url.find(L"://");
    if (schemeEnd == std::wstring::npos) return std::nullopt;
    const size_t authorityEnd = url.find_first_of(L"/?", schemeEnd + 3);
    // ParseEndpoint accepts only "http" and "https" in lower case, and a host without '/', '?'.
    const std::optional<Endpoint> endpoint = ParseEndpoint(url.substr(0, authorityEnd));
    if (!endpoint) return std::nullopt;
    HttpUrl parsed;
    parsed.secure = endpoint->secure;
    parsed.host = endpoint->host;
    parsed.port = endpoint->port;
    if (authorityEnd != std::wstring::npos) {
        parsed.object = url.substr(authorityEnd);
        if (parsed.object[0] == L'?') parsed.object.insert(0, L"/");
    }
    return parsed;
}

bool SameTarget(const HttpUrl& a, const HttpUrl& b) {
    return a.secure == b.secure && a.host == b.host && a.port == b.port && a.object == b.object &&
           a.hasCredentials == b.hasCredentials;
}

bool IsTrustedDownloadTarget(const HttpUrl& url, PlainHttp plain) {
    if (url.hasCredentials || url.host.empty()) return false;
    return url.secure || (plain == PlainHttp::kLoopbackForTests && IsLoopbackHost(url.host));
}

bool MayFollowRedirect(const HttpUrl& from, const HttpUrl& to, PlainHttp plain) {
    return IsTrustedDownloadTarget(to, plain) && (to.secure || !from.secure);
}

std::optional<std::wstring> RedirectTarget(const HttpUrl& current, const std::wstring& location) {
    if (location.rfind(L"http://", 0) == 0 || location.rfind(L"https://", 0) == 0) return location;
    if (location.empty() || location[0] != L'/' || location.rfind(L"//", 0) == 0) return std::nullopt;
    const unsigned defaultPort = current.secure ? 443 : 80;
    std::wstring origin = (current.secure ? L"https://" : L"http://") + current.host;
    if (current.port != defaultPort) origin += L":" + std::to_wstring(current.port);
    return origin + location;
}
