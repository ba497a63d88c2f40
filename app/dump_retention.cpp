#include "app/dump_retention.h"

#include <algorithm>
#include <cwctype>

namespace {

bool EqualsIgnoringCase(const std::wstring& text, size_t at, const wchar_t* word) {
    for (size_t i = 0; word[i] != L'\0'; ++i) {
        if (at + i >= text.size() || static_cast<wchar_t>(std::towlower(text[at + i])) != word[i]) return false;
    }
    return true;
}

}  // namespace

bool IsOwnDumpName(const std::wstring& name) {
    static const wchar_t kPrefix[] = L"crash_dump";
    static const wchar_t kExtension[] = L".dmp";
    const size_t prefix = sizeof kPrefix / sizeof kPrefix[0] - 1;
    const size_t extension = sizeof kExtension / sizeof kExtension[0] - 1;
    if (name.size() < prefix + extension || !EqualsIgnoringCase(name, 0, kPrefix) ||
        !EqualsIgnoringCase(name, name.size() - extension, kExtension)) {
        return false;
    }
    const std::wstring stamp = name.substr(prefix, name.size() - prefix - extension);
    if (stamp.empty()) return true;
    // "_" + 8 digits + "_" + 6 digits
    if (stamp.size() != 16) return false;
    for (size_t i = 0; i < stamp.size(); ++i) {
        const bool separator = i == 0 || i == 9;
        if (separator ? stamp[i] != L'_' : (stamp[i] < L'0' || stamp[i] > L'9')) return false;
    }
    return true;
}

uint64_t DumpMinFreeBytes(const std::wstring& setting) {
    constexpr uint64_t kDefault = 1ULL << 30;
    if (setting.empty() || setting.size() > 19) return kDefault;  // 19 digits always fit
    uint64_t bytes = 0;
    for (wchar_t c : setting) {
        if (c < L'0' || c > L'9') return kDefault;
        bytes = bytes * 10 + static_cast<uint64_t>(c - L'0');
    }
    return bytes;
}

std::vector<std::wstring> DumpsToDelete(std::vector<DumpFile> files, size_t keep) {
    files.erase(std::remove_if(files.begin(), files.end(), [](const DumpFile& f) { return !IsOwnDumpName(f.name); }),
                files.end());
    std::sort(files.begin(), files.end(), [](const DumpFile& a, const DumpFile& b) {
        return a.writeTime != b.writeTime ? a.writeTime > b.writeTime : a.name > b.name;
    });
    std::vector<std::wstring> older;
    for (size_t i = keep; i < files.size(); ++i) older.push_back(files[i].name);
    return older;
}
