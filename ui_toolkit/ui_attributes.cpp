#include "ui_toolkit/ui_attributes.h"

#include <cwctype>

#include "base/utf8_codec.h"
#include <vector>

namespace DuiLib {

namespace {

// Reads comma-separated integers; absent ones are 0.
std::vector<int> ParseIntList(const std::wstring& text, size_t count) {
    std::vector<int> values(count, 0);
    size_t pos = 0;
    for (size_t i = 0; i < count && pos <= text.size(); ++i) {
        const size_t comma = text.find(L',', pos);
        const std::wstring piece = text.substr(pos, comma == std::wstring::npos ? std::wstring::npos
                                                                                 : comma - pos);
        values[i] = ParseIntAttribute(piece);
        if (comma == std::wstring::npos) break;
        pos = comma + 1;
    }
    return values;
}

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

std::wstring Trim(const std::wstring& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::iswspace(text[begin])) ++begin;
    while (end > begin && std::iswspace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

}  // namespace

int ParseIntAttribute(const std::wstring& text) {
    size_t i = 0;
    while (i < text.size() && std::iswspace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > 0x7FFFFFFF) value = 0x7FFFFFFF;
    }
    return static_cast<int>(negative ? -value : value);
}

base::Rect ParseRectAttribute(const std::wstring& text) {
    const std::vector<int> v = ParseIntList(text, 4);
    return base::Rect{v[0], v[1], v[2], v[3]};
}

base::Size ParseSizeAttribute(const std::wstring& text) {
    const std::vector<int> v = ParseIntList(text, 2);
    return base::Size{v[0], v[1]};
}

bool ParseBoolAttribute(const std::wstring& text) { return ToLowerAscii(Trim(text)) == L"true"; }

std::optional<uint32_t> ParseColorAttribute(const std::wstring& raw) {
    std::wstring text = Trim(raw);
    if (!text.empty() && text[0] == L'#') {
        text.erase(0, 1);
    } else if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        text.erase(0, 2);
    } else {
        return std::nullopt;
    }
    if (text.size() != 6 && text.size() != 8) return std::nullopt;
    uint32_t value = 0;
    for (wchar_t c : text) {
        const int digit = HexValue(c);
        if (digit < 0) return std::nullopt;
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    return text.size() == 6 ? (value | 0xFF000000u) : value;
}

ImageDescriptor ParseImageDescriptor(const std::wstring& raw) {
    ImageDescriptor image;
    const std::wstring text = Trim(raw);
    if (text.find(L'=') == std::wstring::npos) {
        image.file = text;
        return image;
    }
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t equals = text.find(L'=', pos);
        if (equals == std::wstring::npos) break;
        const std::wstring key = ToLowerAscii(Trim(text.substr(pos, equals - pos)));
        size_t valueStart = equals + 1;
        while (valueStart < text.size() && std::iswspace(text[valueStart])) ++valueStart;
        if (valueStart >= text.size() || (text[valueStart] != L'\'' && text[valueStart] != L'"')) {
            break;  // values must be quoted
        }
        const wchar_t quote = text[valueStart];
        const size_t valueEnd = text.find(quote, valueStart + 1);
        if (valueEnd == std::wstring::npos) break;
        const std::wstring value = text.substr(valueStart + 1, valueEnd - valueStart - 1);
        if (key == L"file" || key == L"res") {
            image.file = value;
        } else if (key == L"dest") {
            image.dest = ParseRectAttribute(value);
        } else if (key == L"source") {
            image.source = ParseRectAttribute(value);
        } else if (key == L"corner") {
            image.corner = ParseRectAttribute(value);
        } else if (key == L"fade") {
            const int fade = ParseIntAttribute(value);
            image.fade = fade < 0 ? 0 : (fade > 255 ? 255 : fade);
        }
        pos = valueEnd + 1;
    }
    return image;
}

std::wstring ExpandLineBreaks(const std::wstring& text) {
    std::wstring result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (i + 2 < text.size() && (text[i] == L'<' || text[i] == L'{') && text[i + 1] == L'n' &&
            text[i + 2] == (text[i] == L'<' ? L'>' : L'}')) {
            result += L"\r\n";
            i += 2;
        } else {
            result += text[i];
        }
    }
    return result;
}

std::wstring ToLowerAscii(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return text;
}

}  // namespace DuiLib

namespace DuiLib {

std::vector<std::pair<std::wstring, std::wstring>> ParseAttributeList(const std::wstring& text) {
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
    size_t pos = 0;
    while (true) {
        while (pos < text.size() && std::iswspace(text[pos])) ++pos;
        if (pos >= text.size()) break;
        const size_t equals = text.find(L'=', pos);
        if (equals == std::wstring::npos || equals + 1 >= text.size() || text[equals + 1] != L'"') {
            break;
        }
        const size_t close = text.find(L'"', equals + 2);
        if (close == std::wstring::npos) break;
        pairs.emplace_back(Trim(text.substr(pos, equals - pos)),
                           text.substr(equals + 2, close - equals - 2));
        pos = close + 1;
    }
    return pairs;
}

}  // namespace DuiLib
