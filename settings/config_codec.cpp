#include "settings/config_codec.h"

#include <cstring>

#include "settings/json/json_ref.h"

namespace {

constexpr char kPicSavePath[] = "pic_save_path";
constexpr char kHideMainWnd[] = "hide_main_wnd_when_capture";
constexpr char kRestoreMainWnd[] = "is_need_restore_main_wnd_after_capture";
constexpr char kPicSaveFormat[] = "pic_save_format";
constexpr char kCaptureHotkey[] = "capture_hotkey";

std::optional<bool> BoolMember(const JsonValue* root, const char* key) {
    const int flag = JsonGetBool(JsonObjectGet(root, key));
    if (flag < 0) return std::nullopt;
    return flag != 0;
}

// String bytes up to the first NUL, as the C-string based conversion to UTF-16 sees them.
std::optional<std::string> StringMember(const JsonValue* root, const char* key) {
    const char* bytes = JsonGetString(JsonObjectGet(root, key), nullptr);
    if (!bytes) return std::nullopt;
    return std::string(bytes);
}

}  // namespace

std::optional<ConfigFileValues> ParseConfigText(const std::string& bytes) {
    // JsonParse skips the byte-order mark and reads up to the first NUL byte.
    JsonRef root(JsonParse(bytes.c_str()));
    if (JsonGetKind(root.Get()) != kJsonObject) return std::nullopt;
    ConfigFileValues values;
    values.picSavePath = StringMember(root.Get(), kPicSavePath);
    values.hideMainWndWhenCapture = BoolMember(root.Get(), kHideMainWnd);
    values.restoreMainWndAfterCapture = BoolMember(root.Get(), kRestoreMainWnd);
    if (auto format = StringMember(root.Get(), kPicSaveFormat)) {
        values.picSaveFormat = *format == "PNG" ? PicSaveFormat::kPng : PicSaveFormat::kBmp;
    }
    values.captureHotkey = StringMember(root.Get(), kCaptureHotkey);
    return values;
}

std::string FormatConfigText(const std::string& picSavePathUtf8, bool hideMainWndWhenCapture,
                             bool restoreMainWndAfterCapture, PicSaveFormat picSaveFormat,
                             const std::string& captureHotkey) {
    JsonRef root(JsonMakeObject());
    const char* format = picSaveFormat == PicSaveFormat::kPng ? "PNG" : "BMP";
    // No folder means the default, which is worked out at each save: the file then names none.
    JsonValue* path = picSavePathUtf8.empty() ? nullptr : JsonMakeString(picSavePathUtf8.data(), picSavePathUtf8.size());
    JsonValue* formatValue = JsonMakeString(format, std::strlen(format));
    JsonValue* hotkey = JsonMakeString(captureHotkey.data(), captureHotkey.size());
    // Each set takes ownership only on success; the failed ones are freed here.
    const bool built = (picSavePathUtf8.empty() || JsonObjectSet(root.Get(), kPicSavePath, path) == 0) &&
                       JsonObjectSetBool(root.Get(), kHideMainWnd, hideMainWndWhenCapture) == 0 &&
                       JsonObjectSetBool(root.Get(), kRestoreMainWnd, restoreMainWndAfterCapture) == 0 &&
                       JsonObjectSet(root.Get(), kPicSaveFormat, formatValue) == 0 &&
                       JsonObjectSet(root.Get(), kCaptureHotkey, hotkey) == 0;
    if (!built) {
        JsonFree(path);
        JsonFree(formatValue);
        JsonFree(hotkey);
        return std::string();
    }
    char* text = JsonSerializeIndented(root.Get());
    if (!text) return std::string();
    std::string result = ToCrLf(text);
    JsonFreeText(text);
    return result;
}

std::string ToCrLf(const std::string& text) {
    std::string result;
    result.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') result += '\r';
        result += c;
    }
    return result;
}
