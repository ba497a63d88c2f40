// Version texts such as "1.2.3.4": formatting the executable's version and deciding whether a
// published version is newer. Pure code.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// "%d.%d.%d.%d" from the high and low words of the most and least significant double words.
std::string FormatVersionText(uint32_t mostSignificant, uint32_t leastSignificant);

// A version as releases write it and a version resource holds it: four numbers joined by dots,
// each "0" or 1-5 digits without a leading zero, at most 65535. Anything else is none: a text
// such as "1.2.0.010" could be read as 10 here and as 8 (octal) by another tool.
std::optional<std::array<uint16_t, 4>> ParseVersionText(const std::string& text);

// True when both texts are versions (ParseVersionText) and remote is higher than local.
bool IsVersionNewer(const std::string& local, const std::string& remote);
