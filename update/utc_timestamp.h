// The moment a signed update statement stops being valid, as text: "2027-03-08T00:00:00Z", a UTC
// date and time to the second (ISO 8601 with "T" and "Z", nothing else). Pure code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Seconds since 1970-01-01T00:00:00Z of exactly "YYYY-MM-DDTHH:MM:SSZ" (years 1970-9999, a real
// day of that month, no leap second); none for any other text, so that one moment has one text.
std::optional<int64_t> ParseUtcTimestamp(const std::string& text);
