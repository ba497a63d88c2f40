#include "windows/compact_path.h"

namespace {

constexpr wchar_t kDots[] = L"...";

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Whether cutting the text after count characters would split a surrogate pair.
bool SplitsPair(const std::wstring& text, size_t count) {
    return count > 0 && count < text.size() && text[count - 1] >= 0xD800 && text[count - 1] <= 0xDBFF;
}

// The largest count in [0, most] for which make(count) fits, or none. make's width grows with
// count, so a binary search finds it.
bool LongestFitting(size_t most, int maxWidth, const TextWidth& width,
                    const std::function<std::wstring(size_t)>& make, size_t& found) {
    if (width(make(0)) > maxWidth) return false;
    size_t low = 0, high = most;  // make(low) fits
    while (low < high) {
        const size_t middle = low + (high - low + 1) / 2;
        if (width(make(middle)) <= maxWidth) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    found = low;
    return true;
}

}  // namespace

std::wstring CompactPath(const std::wstring& path, int maxWidth, const TextWidth& width) {
    if (path.empty() || width(path) <= maxWidth) return path;
    // The last name starts after the last separator that has a name after it.
    size_t end = path.size();
    while (end > 0 && IsSeparator(path[end - 1])) --end;
    const size_t cut = end == 0 ? std::wstring::npos : path.find_last_of(L"\\/", end - 1);
    const std::wstring last = cut == std::wstring::npos ? path : path.substr(cut + 1);
    const std::wstring head = cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
    const auto whole = [&head, &last](size_t count) {
        if (SplitsPair(head, count)) --count;
        return head.substr(0, count) + kDots + L"\\" + last;
    };
    size_t count = 0;
    if (!head.empty() && LongestFitting(head.size() - 1, maxWidth, width, whole, count)) return whole(count);
    const auto start = [&last](size_t count) {
        if (SplitsPair(last, count)) --count;
        return last.substr(0, count) + kDots;
    };
    if (LongestFitting(last.size() - 1, maxWidth, width, start, count)) return start(count);
    return kDots;
}
