// Where an HTTP request goes: a scheme, host and port given as text, and which hosts only this
// machine can answer for. Pure code.
#pragma once

#include <optional>
#include <string>

// A scheme, host and port such as "http://127.0.0.1:8081" (the port defaults to the scheme's).
struct Endpoint {
    bool secure = true;
    std::wstring host;
    unsigned port = 443;
};
std::optional<Endpoint> ParseEndpoint(const std::wstring& text);

// True for 127.0.0.0/8 and "localhost": hosts only a program on this machine can answer for.
bool IsLoopbackHost(const std::wstring& host);

// Whether requests may go there: https to any host, plain http only to this machine's loopback
// addresses (which only tests serve).
bool IsTrustedEndpoint(const Endpoint& endpoint);
