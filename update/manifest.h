// What an update manifest asks for, given the running program's version. Pure code.
#pragma once

#include <string>

struct UpdateDecision {
    bool download = false;  // false: the check ends here
    std::string url;        // the updater's address (UTF-8) when download is true
    std::string signature;  // the statement's signature as r || s; empty when missing or malformed
    std::string statement;  // the text the release signed (update_statement.h); empty without a valid sha256
    std::string sha256;     // the 32 bytes of the updater's SHA-256 the statement names
};

// The manifest's bytes (an optional UTF-8 byte-order mark allowed) hold
// {"update_info": {"version": "...", "url": "...", "sha256": "...", "signature": "..."}}; the
// signature is base64 of the DER ECDSA P-256 signature of the statement that binds the version,
// the url and the sha256 together. The url is read only when the version is newer than
// localVersion. Anything malformed, missing or of another kind ends the check, and so does an
// updater address that is not https (plain http is accepted only for this machine's own
// loopback addresses, which only tests serve), or one with a user name, password or anything
// else a URL reader could split differently (see ParseHttpUrl). Whether the signature holds is
// for the caller, who has the key.
UpdateDecision DecideUpdate(const std::string& manifest, bool localVersionKnown,
                            const std::string& localVersion);

bool IsAcceptableUpdaterUrl(const std::string& url);
