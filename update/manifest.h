// What an update manifest asks for, given the running program's version. Pure code.
#pragma once

#include <cstdint>
#include <string>

#include "http/http_url.h"

// A manifest larger than this is neither kept nor read: its download stops at this size. A
// release's manifest is about 400 bytes; the parser is never given megabytes of text nobody has
// signed yet.
constexpr unsigned long long kMaxManifestBytes = 65536;

// What a manifest is read against.
struct UpdateContext {
    bool versionKnown = false;
    std::string version;  // the running program's version text
    int64_t now = 0;      // when the check runs: seconds since 1970-01-01T00:00:00Z
    PlainHttp plainHttp = PlainHttp::kRefused;  // whether the updater may come over plain http from this machine
};

struct UpdateDecision {
    bool offered = false;   // a newer version is offered: a manifest refused after this is deleted
    bool download = false;  // false: the check ends here
    std::string url;        // the updater's address (UTF-8) when download is true
    std::string signature;  // the statement's signature as r || s
    std::string statement;  // the text the release signed (update_statement.h)
    std::string sha256;     // the 32 bytes of the updater's SHA-256 the statement names
};

// The manifest's bytes (an optional UTF-8 byte-order mark allowed) hold
// {"update_info": {"version": "...", "url": "...", "sha256": "...", "expires": "...", "signature": "..."}};
// the signature is base64 of the DER ECDSA P-256 signature of the statement that binds the
// version, the url, the sha256 and the expiry together. download is true only for a version
// newer than the context's (both as ParseVersionText reads them), a statement that has not
// expired (the context's now is before "expires"), an updater address a download may use (https,
// plain http only to this machine and only when the context allows it, see ParseHttpUrl), and
// every member present and well-formed. Anything else ends the check, and so does a manifest
// longer than kMaxManifestBytes, which is not parsed. Whether the signature holds is for the
// caller, who has the key.
UpdateDecision DecideUpdate(const std::string& manifest, const UpdateContext& context);

bool IsAcceptableUpdaterUrl(const std::string& url, PlainHttp plain);
