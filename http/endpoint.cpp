#include "http/endpoint.h"

#include <string>

std::optional<Endpoint> ParseEndpoint(const std::wstring& text) {
    Endpoint endpoint;
    std::wstring rest;
    if (text.rfind(L"https://", 0) == 0) {
        endpoint.secure = true;
        endpoint.port = 443;
        rest = text.substr(8);
    } else if (text.rfind(L"http://", 0) == 0) {
        endpoint.secure = false;
        endpoint.port = 80;
        rest = text.substr(7);
    } else {
        return std::nullopt;
    }
    while (!rest.empty() && rest.back() == L'/') rest.pop_back();
    const size_t colon = rest.rfind(L':');
    if (colon != std::wstring::npos) {
        const std::wstring port = rest.substr(colon + 1);
        if (port.empty() || port.size() > 5 || port.find_first_not_of(L"0123456789") != std::wstring::npos) {
            return std::nullopt;
        }
        endpoint.port = static_cast<unsigned>(std::stoul(port));
        if (endpoint.port == 0 || endpoint.port > 65535) return std::nullopt;
        rest = rest.substr(0, colon);
    }
    if (rest.empty() || rest.find_first_of(L"/?#@ ") != std::wstring::npos) return std::nullopt;
    endpoint.host = rest;
    return endpoint;
}

bool IsTrustedEndpoint(const Endpoint& endpoint) {
    return !endpoint.host.empty() && (endpoint.secure || IsLoopbackHost(endpoint.host));
}

bool IsLoopbackHost(const std::wstring& host) {
    if (host == L"localhost") return true;
    if (host.rfind(L"127.", 0) != 0) return false;
    // Four decimal parts, each 0-255.
    int parts = 0;
    size_t start = 0;
    while (start <= host.size()) {
        const size_t dot = host.find(L'.', start);
        const std::wstring part = host.substr(start, dot == std::wstring::npos ? std::wstring::npos : dot - start);
        if (part.empty() || part.size() > 3 || part.find_first_not_of(L"0123456789") != std::wstring::npos ||
            std::stoi(part) > 255) {
            return false;
        }
        ++parts;
        if (dot == std::wstring::npos) break;
        start = dot + 1;
    }
    return parts == 4;
}
