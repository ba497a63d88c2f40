// What a release signs: one UTF-8 text that binds the product, the version, the updater's
// address and the SHA-256 of the updater's bytes, so that a signature cannot be moved to another
// version (a downgrade or replay) or to other bytes. scripts/release.sh writes the same text.
// Pure code.
#pragma once

#include <optional>
#include <string>

// The statement's first line: the product and the statement's form.
constexpr char kUpdateStatementTag[] = "screenshot-update-1";

// "screenshot-update-1\n<version>\n<url>\n<sha256>\n", sha256 as 64 lower-case hexadecimal
// digits. None when a part holds a line break or another control character, or is empty: such a
// text could be read as another statement.
std::optional<std::string> UpdateStatement(const std::string& version, const std::string& url,
                                           const std::string& sha256Hex);

// 64 lower-case hexadecimal digits as the 32 bytes of a SHA-256; none otherwise.
std::optional<std::string> ParseSha256Hex(const std::string& hex);
