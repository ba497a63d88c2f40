// What a release signs: one UTF-8 text that binds the product, the version, the updater's
// address, the SHA-256 of the updater's bytes and the moment the statement expires, so that a
// signature cannot be moved to another version (a downgrade or replay) or to other bytes, and an
// old manifest cannot be served for ever to hold copies on an old version. scripts/release.sh
// writes the same text. Pure code.
#pragma once

#include <optional>
#include <string>

// The statement's first line: the product and the statement's form. The first form
// ("screenshot-update-1", without an expiry) is no longer accepted: it never expired.
constexpr char kUpdateStatementTag[] = "screenshot-update-2";

// "screenshot-update-2\n<version>\n<url>\n<sha256>\n<expires>\n", sha256 as 64 lower-case
// hexadecimal digits and expires as ParseUtcTimestamp reads it (utc_timestamp.h). None when a part
// is empty or holds a line break or another control character (such a text could be read as
// another statement), or when the hash or the expiry is in another form.
std::optional<std::string> UpdateStatement(const std::string& version, const std::string& url,
                                           const std::string& sha256Hex, const std::string& expires);

// 64 lower-case hexadecimal digits as the 32 bytes of a SHA-256; none otherwise.
std::optional<std::string> ParseSha256Hex(const std::string& hex);
