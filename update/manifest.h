// What an update manifest asks for, given the running program's version. Pure code.
#pragma once

#include <string>

struct UpdateDecision {
    bool download = false;  // false: the check ends here
    std::string url;        // the updater's address (UTF-8) when download is true
    std::string signature;  // its signature as r || s; empty when missing or malformed
};

// The manifest's bytes (an optional UTF-8 byte-order mark allowed) hold
// {"update_info": {"version": "...", "url": "...", "signature": "..."}}; the signature is base64
// of the DER ECDSA P-256 signature of the updater file. The url is read only when the version is
// newer than localVersion. Anything malformed, missing or of another kind ends the check, and so
// does an updater address that is not https (plain http is accepted only for this machine's own
// loopback addresses, which only tests serve), or one with a user name, password or anything
// else a URL reader could split differently (see ParseHttpUrl).
UpdateDecision DecideUpdate(const std::string& manifest, bool localVersionKnown,
                            const std::string& localVersion);

bool IsAcceptableUpdaterUrl(const std::string& url);
