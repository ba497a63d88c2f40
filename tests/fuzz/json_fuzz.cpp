// Feeds arbitrary bytes to the JSON parser, then checks that whatever parsed serializes, parses
// again and serializes to the same text, and that a deep copy serializes identically.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "settings/json/json_value.h"

namespace {

std::string SerializeOrEmpty(const JsonValue* value) {
    char* text = JsonSerializeIndented(value);
    if (!text) return std::string();
    std::string result(text);
    JsonFreeText(text);
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    JsonValue* value = JsonParse(text.c_str());
    if (!value) return 0;
    const std::string once = SerializeOrEmpty(value);
    if (once.empty()) std::abort();
    JsonValue* copy = JsonCopy(value);
    if (!copy || SerializeOrEmpty(copy) != once) std::abort();
    JsonValue* again = JsonParse(once.c_str());
    if (!again || SerializeOrEmpty(again) != once) std::abort();
    JsonFree(again);
    JsonFree(copy);
    JsonFree(value);
    return 0;
}
