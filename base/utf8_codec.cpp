#include "base/utf8_codec.h"

size_t DecodeUtf8Sequence(const unsigned char* bytes, size_t size, uint32_t* code) {
    if (size == 0) return 0;
    const unsigned char lead = bytes[0];
    if (lead < 0x80) {
        *code = lead;
        return 1;
    }
    size_t extra;
    uint32_t value;
    uint32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (size <= extra) return 0;
    for (size_t k = 1; k <= extra; ++k) {
        if (bytes[k] < 0x80 || bytes[k] > 0xBF) return 0;
        value = (value << 6) | (bytes[k] & 0x3F);
    }
    if (value < minimum || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) return 0;
    *code = value;
    return extra + 1;
}

size_t EncodeUtf8(uint32_t code, char out[4]) {
    if (code < 0x80) {
        out[0] = static_cast<char>(code);
        return 1;
    }
    if (code < 0x800) {
        out[0] = static_cast<char>(0xC0 | (code >> 6));
        out[1] = static_cast<char>(0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (code >> 12));
        out[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (code & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (code >> 18));
    out[1] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (code & 0x3F));
    return 4;
}

void AppendUtf8(uint32_t code, std::string& out) {
    char bytes[4];
    out.append(bytes, EncodeUtf8(code, bytes));
}

std::string Utf16ToUtf8(const std::wstring& text) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t unit = static_cast<uint32_t>(text[i]) & 0xFFFF;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size()) {
            const uint32_t low = static_cast<uint32_t>(text[i + 1]) & 0xFFFF;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00), result);
                ++i;
                continue;
            }
        }
        AppendUtf8(unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit, result);
    }
    return result;
}

std::wstring Utf8ToUtf16(const std::string& text) {
    std::wstring result;
    result.reserve(text.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    size_t i = 0;
    while (i < size) {
        uint32_t code = 0;
        const size_t used = DecodeUtf8Sequence(bytes + i, size - i, &code);
        if (used == 0) {
            result += static_cast<wchar_t>(0xFFFD);
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            result += static_cast<wchar_t>(0xD800 + (code >> 10));
            result += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
        } else {
            result += static_cast<wchar_t>(code);
        }
        i += used;
    }
    return result;
}
