#include "update/manifest.h"

#include <stdexcept>

#include "settings/json/json_ref.h"
#include "http/endpoint.h"
#include "update/version_compare.h"

UpdateDecision DecideUpdate(const std::string& manifest, bool localVersionKnown,
                            const std::string& localVersion) {
    UpdateDecision decision;
    // The parser skips a byte-order mark itself.
    JsonRef root(JsonParse(manifest.c_str()));
    if (root.IsEmpty()) return decision;
    try {
        const std::string version = root["update_info"]["version"].AsString();
        if (!localVersionKnown || !IsVersionNewer(localVersion, version)) return decision;
        const std::string url = root["update_info"]["url"].AsString();
        if (!IsAcceptableUpdaterUrl(url)) return decision;
        decision.download = true;
        decision.url = url;
    } catch (const std::runtime_error&) {
        // "Invalid JSON value" or "Expected ... type": a manifest without the members we read.
    }
    return decision;
}

bool IsAcceptableUpdaterUrl(const std::string& url) {
    const std::wstring wide(url.begin(), url.end());
    if (url.rfind("https://", 0) == 0) return wide.size() > 8;
    if (url.rfind("http://", 0) != 0) return false;
    const size_t hostEnd = wide.find_first_of(L":/?#", 7);
    return IsLoopbackHost(wide.substr(7, hostEnd == std::wstring::npos ? std::wstring::npos : hostEnd - 7));
}
