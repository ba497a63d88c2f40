#include "update/manifest.h"

#include <stdexcept>

#include "settings/json/json_ref.h"
#include "http/http_url.h"
#include "update/updater_signature.h"
#include "update/version_compare.h"

namespace {

// The manifest's updater signature as r || s; empty when missing, not text or malformed.
std::string SignatureOf(const JsonRef& root) {
    try {
        return ParseUpdaterSignature(root["update_info"]["signature"].AsString()).value_or(std::string());
    } catch (const std::runtime_error&) {
        return std::string();
    }
}

}  // namespace

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
        decision.signature = SignatureOf(root);
    } catch (const std::runtime_error&) {
        // "Invalid JSON value" or "Expected ... type": a manifest without the members we read.
    }
    return decision;
}

bool IsAcceptableUpdaterUrl(const std::string& url) {
    // Bytes outside ASCII widen to characters ParseHttpUrl refuses.
    const std::optional<HttpUrl> parsed = ParseHttpUrl(std::wstring(url.begin(), url.end()));
    return parsed && IsTrustedDownloadTarget(*parsed);
}
