// Small helpers shared by the JSON tests.
#pragma once

#include <memory>
#include <string>

#include "settings/json/json_value.h"

struct JsonDeleter {
    void operator()(JsonValue* value) const { JsonFree(value); }
};
using JsonPtr = std::unique_ptr<JsonValue, JsonDeleter>;

inline JsonPtr Parse(const std::string& text) { return JsonPtr(JsonParse(text.c_str())); }

inline std::string Serialize(const JsonValue* value) {
    char* text = JsonSerializeIndented(value);
    if (!text) return "<null>";
    std::string result(text);
    JsonFreeText(text);
    return result;
}

inline std::string StringOf(const JsonValue* value) {
    size_t length = 0;
    const char* bytes = JsonGetString(value, &length);
    return bytes ? std::string(bytes, length) : std::string("<not a string>");
}
