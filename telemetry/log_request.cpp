#include "telemetry/log_request.h"

#include "base/utf8_codec.h"

namespace {

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

std::wstring AsciiToWide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

}  // namespace

std::string PercentEncode(const std::string& utf8) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(utf8.size());
    for (unsigned char c : utf8) {
        if (IsUnreserved(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

std::wstring BuildTrackPath(const std::wstring& logstore, const UsageRecord& record) {
    std::string path = "/logstores/" + PercentEncode(Utf16ToUtf8(logstore)) + "/track?APIVersion=0.6.0";
    for (const auto& [name, value] : record) {
        path += "&" + PercentEncode(Utf16ToUtf8(name)) + "=" + PercentEncode(Utf16ToUtf8(value));
    }
    return AsciiToWide(path);
}
