// Recursive-descent parser for the JSON tree. It differs from strict JSON on purpose in a few
// places: a comma may follow the last member of an object or array, text after the first value
// is not examined, and numbers are read by strtod with the extra rules of ParseNumber.
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "settings/json/json_value.h"
#include "base/utf8_codec.h"

namespace {

constexpr int kMaxDepth = 2048;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Four hex digits at p, not reaching end; -1 when they are not there.
long ReadHex4(const char* p, const char* end) {
    if (end - p < 4) return -1;
    long unit = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = HexDigit(p[i]);
        if (digit < 0) return -1;
        unit = unit * 16 + digit;
    }
    return unit;
}


// The byte a one-letter escape stands for, or -1.
int SimpleEscape(char letter) {
    switch (letter) {
        case '"': return '"';
        case '\\': return '\\';
        case '/': return '/';
        case 'b': return '\b';
        case 'f': return '\f';
        case 'n': return '\n';
        case 'r': return '\r';
        case 't': return '\t';
        default: return -1;
    }
}

// Decodes the escape at in (just past the backslash) into out. A \u escape of a high surrogate
// must be followed at once by a \u escape of a low one; the pair makes one code point.
bool DecodeEscape(const char*& in, const char* end, char*& out) {
    const char letter = *in++;
    if (letter != 'u') {
        const int byte = SimpleEscape(letter);
        if (byte < 0) return false;
        *out++ = static_cast<char>(byte);
        return true;
    }
    const long unit = ReadHex4(in, end);
    if (unit < 0 || (unit >= 0xDC00 && unit <= 0xDFFF)) return false;
    in += 4;
    unsigned long code = static_cast<unsigned long>(unit);
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        const bool escapeFollows = end - in >= 2 && in[0] == '\\' && in[1] == 'u';
        const long low = escapeFollows ? ReadHex4(in + 2, end) : -1;
        if (low < 0xDC00 || low > 0xDFFF) return false;
        in += 6;
        code = (((code & 0x3FF) << 10) | (static_cast<unsigned long>(low) & 0x3FF)) + 0x10000;
    }
    out += EncodeUtf8(static_cast<uint32_t>(code), out);
    return true;
}

// A string value that takes over a malloc'ed buffer.
JsonValue* AdoptString(char* bytes, size_t length) {
    auto* value = static_cast<JsonValue*>(std::calloc(1, sizeof(JsonValue)));
    if (!value) {
        std::free(bytes);
        return nullptr;
    }
    value->kind = kJsonString;
    value->u.string.bytes = bytes;
    value->u.string.length = length;
    return value;
}

class Parser {
public:
    explicit Parser(const char* text) : p_(text) {}

    JsonValue* ParseValue(int depth) {
        if (depth > kMaxDepth) return nullptr;
        SkipSpace();
        switch (*p_) {
            case '{': return ParseObject(depth);
            case '[': return ParseArray(depth);
            case '"': return ParseString();
            case 't': return ParseWord("true", JsonMakeBool(true));
            case 'f': return ParseWord("false", JsonMakeBool(false));
            case 'n': return ParseWord("null", JsonMakeNull());
            default:
                if (*p_ == '-' || (*p_ >= '0' && *p_ <= '9')) return ParseNumber();
                return nullptr;
        }
    }

private:
    void SkipSpace() {
        while (IsSpace(*p_)) ++p_;
    }

    JsonValue* ParseWord(const char* word, JsonValue* value) {
        const size_t length = std::strlen(word);
        if (std::strncmp(p_, word, length) != 0) {
            JsonFree(value);
            return nullptr;
        }
        p_ += length;
        return value;
    }

    JsonValue* ParseNumber() {
        const char* start = p_;
        char* end = nullptr;
        errno = 0;
        const double number = std::strtod(start, &end);
        const int error = errno;
        const size_t used = static_cast<size_t>(end - start);
        // strtod takes nothing from a lone "-"; that is no number at all.
        if (used == 0) return nullptr;
        if (error == ERANGE && std::isinf(number)) return nullptr;
        if (error != 0 && error != ERANGE) return nullptr;
        // No leading zeros ("01", "-01", "0e5") and no hexadecimal forms.
        if (used > 1 && start[0] == '0' && start[1] != '.') return nullptr;
        if (used >= 3 && start[0] == '-' && start[1] == '0' && start[2] != '.') return nullptr;
        if (std::memchr(start, 'x', used) || std::memchr(start, 'X', used)) return nullptr;
        if (!std::isfinite(number)) return nullptr;
        p_ = end;
        return JsonMakeNumber(number);
    }

    // Reads the string at p_ (the opening quote). The closing quote is found first, stepping
    // over each escaped character, so the decoder below never reads past it.
    bool ReadString(char** bytes, size_t* length) {
        const char* begin = p_ + 1;
        const char* end = begin;
        while (*end != '"') {
            if (*end == '\0') return false;
            if (*end == '\\' && *++end == '\0') return false;
            ++end;
        }
        // Decoding never lengthens the text, so the raw length bounds the result.
        char* buffer = static_cast<char*>(std::malloc(static_cast<size_t>(end - begin) + 1));
        if (!buffer) return false;
        char* out = buffer;
        for (const char* in = begin; in < end;) {
            const unsigned char c = static_cast<unsigned char>(*in);
            bool ok = c >= 0x20;
            if (ok && c == '\\') {
                ++in;
                ok = DecodeEscape(in, end, out);
            } else if (ok) {
                *out++ = *in++;
            }
            if (!ok) {
                std::free(buffer);
                return false;
            }
        }
        *out = '\0';
        *bytes = buffer;
        *length = static_cast<size_t>(out - buffer);
        p_ = end + 1;
        return true;
    }

    JsonValue* ParseString() {
        char* bytes = nullptr;
        size_t length = 0;
        return ReadString(&bytes, &length) ? AdoptString(bytes, length) : nullptr;
    }

    // After a member: skips a comma and the space after it. True when the container goes on
    // with another member; false when it should close (a trailing comma included).
    bool NextMember(char close) {
        SkipSpace();
        if (*p_ != ',') return false;
        ++p_;
        SkipSpace();
        return *p_ != close;
    }

    bool Close(char close) {
        SkipSpace();
        if (*p_ != close) return false;
        ++p_;
        return true;
    }

    JsonValue* ParseObject(int depth) {
        ++p_;
        JsonValue* object = JsonMakeObject();
        if (!object) return nullptr;
        SkipSpace();
        bool more = *p_ != '}';
        while (more) {
            char* key = nullptr;
            size_t keyLength = 0;
            if (*p_ != '"' || !ReadString(&key, &keyLength)) return Fail(object);
            const bool keyHasNul = std::strlen(key) != keyLength;
            JsonValue* member = nullptr;
            if (!keyHasNul) {
                SkipSpace();
                if (*p_ == ':') {
                    ++p_;
                    member = ParseValue(depth + 1);
                }
            }
            // A repeated key is an error: JsonObjectSet would replace the first value silently.
            const bool stored = member && !JsonObjectGet(object, key) &&
                                JsonObjectSet(object, key, member) == 0;
            std::free(key);
            if (!stored) {
                JsonFree(member);
                return Fail(object);
            }
            more = NextMember('}');
        }
        return Close('}') ? object : Fail(object);
    }

    JsonValue* ParseArray(int depth) {
        ++p_;
        JsonValue* array = JsonMakeArray();
        if (!array) return nullptr;
        SkipSpace();
        bool more = *p_ != ']';
        while (more) {
            JsonValue* item = ParseValue(depth + 1);
            if (!item || JsonArrayAppend(array, item) != 0) {
                JsonFree(item);
                return Fail(array);
            }
            more = NextMember(']');
        }
        if (!Close(']')) return Fail(array);
        ShrinkToFit(array->u.array);
        return array;
    }

    static void ShrinkToFit(JsonArray* array) {
        if (array->count == array->capacity) return;
        if (array->count == 0) {
            std::free(array->items);
            array->items = nullptr;
            array->capacity = 0;
            return;
        }
        auto* items = static_cast<JsonValue**>(
            std::realloc(array->items, array->count * sizeof(JsonValue*)));
        if (items) {
            array->items = items;
            array->capacity = array->count;
        }
    }

    static JsonValue* Fail(JsonValue* container) {
        JsonFree(container);
        return nullptr;
    }

    const char* p_;
};

}  // namespace

JsonValue* JsonParse(const char* text) {
    if (!text) return nullptr;
    if (std::strncmp(text, "\xEF\xBB\xBF", 3) == 0) text += 3;
    return Parser(text).ParseValue(0);
}
