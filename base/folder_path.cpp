#include "base/folder_path.h"

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

wchar_t FoldedAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

// path without its trailing separators; a separator counts the same whichever way it leans.
std::wstring Comparable(const std::wstring& path) {
    size_t end = path.size();
    while (end > 0 && IsSeparator(path[end - 1])) --end;
    std::wstring folded(path, 0, end);
    for (wchar_t& c : folded) c = IsSeparator(c) ? L'\\' : FoldedAscii(c);
    return folded;
}

}  // namespace

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty()) return name;
    return IsSeparator(folder.back()) ? folder + name : folder + L"\\" + name;
}

bool SameFolder(const std::wstring& a, const std::wstring& b) {
    const std::wstring left = Comparable(a);
    return !left.empty() && left == Comparable(b);
}

bool IsInsideFolder(const std::wstring& path, const std::wstring& folder) {
    const std::wstring inner = Comparable(path);
    const std::wstring outer = Comparable(folder);
    if (outer.empty() || inner.size() < outer.size() || inner.compare(0, outer.size(), outer) != 0) return false;
    return inner.size() == outer.size() || inner[outer.size()] == L'\\';
}

std::wstring TemporaryFileBeside(const std::wstring& path, uint64_t random) {
    std::wstring digits(16, L'0');
    for (size_t i = digits.size(); i-- > 0; random >>= 4) digits[i] = L"0123456789abcdef"[random & 0xF];
    return path + L"." + digits + L".tmp";
}
