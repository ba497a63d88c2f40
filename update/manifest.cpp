#include "update/manifest.h"

#include <optional>

#include "settings/json/json_ref.h"
#include "update/update_statement.h"
#include "update/updater_signature.h"
#include "update/utc_timestamp.h"
#include "update/version_compare.h"

namespace {

// A text member of info, read in place (a member is never copied); none when missing or not text.
std::optional<std::string> TextMember(const JsonValue* info, const char* name) {
    size_t length = 0;
    const char* bytes = JsonGetString(JsonObjectGet(info, name), &length);
    if (!bytes) return std::nullopt;
    return std::string(bytes, length);
}

}  // namespace

UpdateDecision DecideUpdate(const std::string& manifest, const UpdateContext& context) {
    UpdateDecision refused;
    if (manifest.size() > kMaxManifestBytes || !context.versionKnown) return refused;
    // The parser skips a byte-order mark itself.
    const JsonRef root(JsonParse(manifest.c_str()));
    // Read in place, once: null when the root is not an object or has no such member.
    const JsonValue* info = JsonObjectGet(root.Get(), "update_info");
    if (JsonGetKind(info) != kJsonObject) return refused;
    const std::optional<std::string> version = TextMember(info, "version");
    if (!version || !IsVersionNewer(context.version, *version)) return refused;
    refused.offered = true;
    const std::optional<std::string> url = TextMember(info, "url");
    const std::optional<std::string> sha256 = TextMember(info, "sha256");
    const std::optional<std::string> expires = TextMember(info, "expires");
    const std::optional<std::string> signature = TextMember(info, "signature");
    if (!url || !sha256 || !expires || !signature || !IsAcceptableUpdaterUrl(*url, context.plainHttp)) return refused;
    // The expiry is read before the signature is checked: expired, nothing is fetched either way.
    const std::optional<int64_t> end = ParseUtcTimestamp(*expires);
    if (!end || context.now >= *end) return refused;
    UpdateDecision decision = refused;
    decision.statement = UpdateStatement(*version, *url, *sha256, *expires).value_or(std::string());
    decision.signature = ParseUpdaterSignature(*signature).value_or(std::string());
    decision.sha256 = ParseSha256Hex(*sha256).value_or(std::string());
    if (decision.statement.empty() || decision.signature.empty() || decision.sha256.empty()) return refused;
    decision.download = true;
    decision.url = *url;
    return decision;
}

bool IsAcceptableUpdaterUrl(const std::string& url, PlainHttp plain) {
    // Bytes outside ASCII widen to characters ParseHttpUrl refuses.
    const std::optional<HttpUrl> parsed = ParseHttpUrl(std::wstring(url.begin(), url.end()));
    return parsed && IsTrustedDownloadTarget(*parsed, plain);
}
