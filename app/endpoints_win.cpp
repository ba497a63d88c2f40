#include <windows.h>

#include <vector>

#include "app/endpoints.h"

#ifndef SCREENSHOT_LOG_PROJECT
#define SCREENSHOT_LOG_PROJECT L"screenshot"
#endif
#ifndef SCREENSHOT_LOG_SERVICE_ENDPOINT
#define SCREENSHOT_LOG_SERVICE_ENDPOINT L"log-service.invalid"
#endif
#ifndef SCREENSHOT_UPDATE_PUBLIC_KEY
#define SCREENSHOT_UPDATE_PUBLIC_KEY ""
#endif
#ifndef SCREENSHOT_UPDATE_MANIFEST_URL
#define SCREENSHOT_UPDATE_MANIFEST_URL L"https://update.screenshot.invalid/update/update.json"
#endif

namespace {

std::wstring Environment(const wchar_t* name) {
    const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
    if (length == 0) return std::wstring();
    std::vector<wchar_t> value(length);
    GetEnvironmentVariableW(name, value.data(), length);
    return std::wstring(value.data());
}

}  // namespace

Endpoints ReadEndpoints() {
    Endpoints endpoints;
    // The log service's host is the project name and the service endpoint joined by a dot.
    endpoints.logService.host = std::wstring(SCREENSHOT_LOG_PROJECT) + L"." + SCREENSHOT_LOG_SERVICE_ENDPOINT;
    endpoints.logService.port = 443;
    endpoints.logService.secure = true;
    endpoints.updateManifestUrl = SCREENSHOT_UPDATE_MANIFEST_URL;
    endpoints.updatePublicKey = SCREENSHOT_UPDATE_PUBLIC_KEY;
    const auto log = ParseEndpoint(Environment(L"SCREENSHOT_LOG_ENDPOINT"));
    if (log && IsTrustedEndpoint(*log)) {
        endpoints.logService.host = log->host;
        endpoints.logService.port = log->port;
        endpoints.logService.secure = log->secure;
    }
    const std::wstring update = Environment(L"SCREENSHOT_UPDATE_URL");
    if (update.rfind(L"http://", 0) == 0 || update.rfind(L"https://", 0) == 0) {
        endpoints.updateManifestUrl = update;
        endpoints.updatePlainHttp = PlainHttp::kLoopbackForTests;
    }
    return endpoints;
}
