// Version texts such as "1.2.3.4": formatting the executable's version and deciding whether a
// published version is newer. Pure code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// "%d.%d.%d.%d" from the high and low words of the most and least significant double words.
std::string FormatVersionText(uint32_t mostSignificant, uint32_t leastSignificant);

// The numbers of a version text: cut at each "." (a "." at the very end adds no piece), each piece
// read like std::stoi (leading space and sign allowed, trailing characters ignored, no number or
// out of range counts as 0), then padded with zeros to at least four.
std::vector<int> ParseVersionPieces(const std::string& text);

// True when local is lower than remote, comparing entry by entry over the longer list.
bool IsVersionNewer(const std::string& local, const std::string& remote);
