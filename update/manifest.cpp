#include "update/manifest.h"

#include <stdexcept>

#include "settings/json/json_ref.h"
#include "http/http_url.h"
#include "update/update_statement.h"
#include "update/updater_signature.h"
#include "update/version_compare.h"

namespace {

// A text member of "update_info"; empty when missing or not text.
std::string OptionalText(const JsonRef& root, const char* name) {
    try {
        return root["update_info"][name].AsString();
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
        decision.signature = ParseUpdaterSignature(OptionalText(root, "signature")).value_or(std::string());
        const std::string sha256 = OptionalText(root, "sha256");
        if (const std::optional<std::string> bytes = ParseSha256Hex(sha256)) {
            decision.sha256 = *bytes;
            decision.statement = UpdateStatement(version, url, sha256).value_or(std::string());
        }
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
