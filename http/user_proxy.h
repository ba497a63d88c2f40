// How requests follow the user's proxy settings (Internet Options: "automatically detect",
// a setup script address, a fixed proxy) on systems whose WinHTTP cannot do it by itself (before
// Windows 8.1). Pure code.
#pragma once

#include <string>

// The settings as WinHTTP reports them for the current user; an empty text is one not set.
struct UserProxySettings {
    bool autoDetect = false;
    std::wstring autoConfigUrl;
    std::wstring proxy;   // "host:port", or per scheme ("http=a:80;https=b:443")
    std::wstring bypass;  // hosts that go direct ("<local>;*.corp")
};

// The proxy choice: the session goes through the fixed proxy when one is set, else direct; with
// detection or a script, each request first asks for its own proxy, and the session's applies
// when that answer fails (no script found, a script that does not load).
struct UserProxyPlan {
    bool askPerAddress = false;
    bool autoDetect = false;
    std::wstring autoConfigUrl;
    bool named = false;
    std::wstring proxy;
    std::wstring bypass;
};

UserProxyPlan PlanUserProxy(const UserProxySettings& settings);
