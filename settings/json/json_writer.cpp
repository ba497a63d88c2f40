// Indented serializer. It runs twice over the tree: once to measure, once to write into a buffer
// of exactly that size, so the text is allocated once and never overruns.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "settings/json/json_value.h"

namespace {

class Writer {
public:
    // With a null buffer the writer only counts.
    explicit Writer(char* buffer) : out_(buffer) {}

    size_t Length() const { return length_; }

    bool Value(const JsonValue* value, int depth) {
        switch (JsonGetKind(value)) {
            case kJsonNull: Put("null"); return true;
            case kJsonBoolean: Put(value->u.boolean ? "true" : "false"); return true;
            case kJsonNumber: return Number(value->u.number);
            case kJsonString: String(value->u.string.bytes, value->u.string.length); return true;
            case kJsonObject: return Object(value->u.object, depth);
            case kJsonArray: return Array(value->u.array, depth);
            default: return false;
        }
    }

private:
    void Put(char c) {
        if (out_) out_[length_] = c;
        ++length_;
    }

    void Put(const char* text) {
        while (*text) Put(*text++);
    }

    void Indent(int depth) {
        for (int i = 0; i < 4 * depth; ++i) Put(' ');
    }

    bool Number(double number) {
        char text[40];
        const int n = std::snprintf(text, sizeof text, "%1.17g", number);
        if (n <= 0 || static_cast<size_t>(n) >= sizeof text) return false;
        Put(text);
        return true;
    }

    void String(const char* bytes, size_t length) {
        static const char kHex[] = "0123456789abcdef";
        Put('"');
        for (size_t i = 0; i < length; ++i) {
            const unsigned char c = static_cast<unsigned char>(bytes[i]);
            switch (c) {
                case '"': Put("\\\""); break;
                case '\\': Put("\\\\"); break;
                case '/': Put("\\/"); break;
                case '\b': Put("\\b"); break;
                case '\t': Put("\\t"); break;
                case '\n': Put("\\n"); break;
                case '\f': Put("\\f"); break;
                case '\r': Put("\\r"); break;
                default:
                    if (c < 0x20) {
                        Put("\\u00");
                        Put(kHex[c >> 4]);
                        Put(kHex[c & 0xF]);
                    } else {
                        Put(static_cast<char>(c));
                    }
            }
        }
        Put('"');
    }

    // Members of an object or an array, one a line, indented one level deeper than depth.
    template <typename WriteMember>
    bool Members(size_t count, int depth, WriteMember writeMember) {
        if (count == 0) return true;
        Put('\n');
        for (size_t i = 0; i < count; ++i) {
            Indent(depth + 1);
            if (!writeMember(i)) return false;
            if (i + 1 < count) Put(',');
            Put('\n');
        }
        Indent(depth);
        return true;
    }

    bool Object(const JsonObject* object, int depth) {
        Put('{');
        const bool ok = Members(object->count, depth, [&](size_t i) {
            String(object->keys[i], std::strlen(object->keys[i]));
            Put(": ");
            return Value(object->values[i], depth + 1);
        });
        Put('}');
        return ok;
    }

    bool Array(const JsonArray* array, int depth) {
        Put('[');
        const bool ok = Members(array->count, depth,
                                [&](size_t i) { return Value(array->items[i], depth + 1); });
        Put(']');
        return ok;
    }

    char* out_;
    size_t length_ = 0;
};

}  // namespace

char* JsonSerializeIndented(const JsonValue* value) {
    Writer measure(nullptr);
    if (!value || !measure.Value(value, 0)) return nullptr;
    const size_t length = measure.Length();
    char* text = static_cast<char*>(std::malloc(length + 1));
    if (!text) return nullptr;
    // The second measurement guards against the tree changing size between the passes.
    Writer check(nullptr);
    if (!check.Value(value, 0) || check.Length() != length) {
        std::free(text);
        return nullptr;
    }
    Writer write(text);
    write.Value(value, 0);
    text[length] = '\0';
    return text;
}

void JsonFreeText(char* text) { std::free(text); }
