#include "ui_toolkit/text_runs.h"

namespace DuiLib {

namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Code units of the supplementary character at i: 2 for a surrogate pair, 1 for a character
// stored whole (where wchar_t has 32 bits), 0 when there is none.
size_t SupplementaryLength(const std::wstring& text, size_t i) {
    const wchar_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) return 2;
    return (static_cast<unsigned long>(c) >> 16) != 0 ? 1 : 0;
}

}  // namespace

std::vector<TextRun> SplitTextRuns(const std::wstring& text) {
    std::vector<TextRun> runs;
    size_t i = 0;
    while (i < text.size()) {
        if (const size_t length = SupplementaryLength(text, i)) {
            runs.push_back(TextRun{i, length, true});
            i += length;
            continue;
        }
        const size_t start = i;
        while (i < text.size() && SupplementaryLength(text, i) == 0) ++i;
        runs.push_back(TextRun{start, i - start, false});
    }
    return runs;
}

bool HasSupplementaryCharacters(const std::wstring& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (SupplementaryLength(text, i)) return true;
    }
    return false;
}

}  // namespace DuiLib
