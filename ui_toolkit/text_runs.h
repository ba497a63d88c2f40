// Splits text into the runs the toolkit draws separately: stretches of ordinary text, and single
// characters outside the Basic Multilingual Plane (emoji such as U+1F4A1), which the label's
// font usually lacks and which are drawn one at a time with a font that has them. Pure code.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace DuiLib {

struct TextRun {
    size_t start = 0;
    size_t length = 0;
    bool supplementary = false;  // one character outside the BMP (a surrogate pair in UTF-16)
    bool operator==(const TextRun& o) const {
        return start == o.start && length == o.length && supplementary == o.supplementary;
    }
};

// Runs in order, covering the whole text. A lone surrogate stays in the ordinary text.
std::vector<TextRun> SplitTextRuns(const std::wstring& text);

// True when the text holds any character outside the BMP.
bool HasSupplementaryCharacters(const std::wstring& text);

}  // namespace DuiLib
