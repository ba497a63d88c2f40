// Web addresses as the downloads read them, and which of them a download may fetch. Pure code.
#pragma once

#include <optional>
#include <string>

// The parts of an address a request is made from.
struct HttpUrl {
    bool secure = true;
    std::wstring host;
    unsigned port = 443;
    std::wstring object = L"/";  // path and query, sent as they are
    bool hasCredentials = false;  // a user name or password part before the host
};

// An http:// or https:// address in its plainest form: printable ASCII without spaces, no
// user name or password ('@' anywhere is refused), no fragment ('#'), no backslash, and a host
// and port as ParseEndpoint reads them. Anything another URL reader could split differently is
// refused rather than guessed at.
std::optional<HttpUrl> ParseHttpUrl(const std::wstring& url);

// True when both name the same scheme, host, port and object.
bool SameTarget(const HttpUrl& a, const HttpUrl& b);

// Whether a download may use plain http. The program's own addresses are https; plain http to
// this machine's loopback addresses is for tests only, when the first address came from the
// test environment variables (app/endpoints.h).
enum class PlainHttp { kRefused, kLoopbackForTests };

// A download may use https to any host, or plain http to this machine's loopback addresses
// only when plain allows it; never with credentials in the address.
bool IsTrustedDownloadTarget(const HttpUrl& url, PlainHttp plain);

// Whether a redirect from one address to another may be followed: the new address must be one a
// download may use, and https never leads to plain http (a server or CDN could otherwise make
// the program send requests to services on this machine's loopback ports).
bool MayFollowRedirect(const HttpUrl& from, const HttpUrl& to, PlainHttp plain);

// The address a redirect's Location leads to from current: an absolute http:// or https://
// address as it stands, or a path from the root ("/...") on current's scheme, host and port.
// Anything else (a relative path, "//host/...", an empty text) is none: not guessed at.
std::optional<std::wstring> RedirectTarget(const HttpUrl& current, const std::wstring& location);
