// A small JSON tree: heap-allocated values, an insertion-ordered object with a hash index,
// arrays, a parser for UTF-8 text and an indented serializer.
//
// Ownership: a container owns its members and freeing a value frees its whole subtree. A value
// can sit in at most one container; inserting a value that already has a parent fails and leaves
// the value with the caller. Every function accepts null where it takes a value and then answers
// with its "nothing" result.
#pragma once

#include <cstddef>
#include <cstdint>

// Kind codes are part of the interface: callers compare against them.
enum JsonKind : int32_t {
    kJsonError = -1,
    kJsonNull = 1,
    kJsonString = 2,
    kJsonNumber = 3,
    kJsonObject = 4,
    kJsonArray = 5,
    kJsonBoolean = 6,
};

struct JsonObject;
struct JsonArray;

struct JsonValue {
    JsonValue* parent;  // the container value holding this one; null for a root
    int32_t kind;
    union {
        struct {
            char* bytes;  // UTF-8, NUL-terminated; may hold NULs inside (from \u0000)
            size_t length;
        } string;
        double number;
        JsonObject* object;
        JsonArray* array;
        int boolean;  // 0 or 1
    } u;
};

// Object internals: items in insertion order in parallel arrays, plus an open-addressing index
// of cells holding item numbers (-1 = empty). cellCapacity is a power of two >= 16 and
// itemCapacity is always cellCapacity * 7 / 10. hashes holds each key's hash under a secret
// drawn once per process (settings/json/json_key_hash.h), not JsonHashKey, so the cells a key
// lands in differ from run to run and text cannot be made to pile its keys into one cell.
struct JsonObject {
    JsonValue* owner;
    char** keys;
    JsonValue** values;
    uint32_t* hashes;
    int32_t* cells;
    size_t cellCapacity;
    size_t count;
    size_t itemCapacity;
};

struct JsonArray {
    JsonValue* owner;
    JsonValue** items;
    size_t count;
    size_t capacity;
};

// Construction. Each returns a new root value, or null on failure.
JsonValue* JsonMakeObject();
JsonValue* JsonMakeArray();
JsonValue* JsonMakeNull();
// The bytes must be valid UTF-8 (see JsonIsValidUtf8); otherwise null.
JsonValue* JsonMakeString(const char* bytes, size_t length);
JsonValue* JsonMakeBool(bool value);
// NaN and infinities are refused (null).
JsonValue* JsonMakeNumber(double value);

// Inspection.
int32_t JsonGetKind(const JsonValue* value);  // kJsonError for null
// String bytes and length; null (and length 0) for a value of another kind.
const char* JsonGetString(const JsonValue* value, size_t* length);
int JsonGetBool(const JsonValue* value);       // 0 or 1; -1 for another kind
double JsonGetNumber(const JsonValue* value);  // 0 for another kind
size_t JsonObjectCount(const JsonValue* object);
const char* JsonObjectKeyAt(const JsonValue* object, size_t item);
JsonValue* JsonObjectValueAt(const JsonValue* object, size_t item);
size_t JsonArrayCount(const JsonValue* array);
JsonValue* JsonArrayAt(const JsonValue* array, size_t index);

// Stores value under key (copied). An existing key keeps its position and its old value is freed.
// Returns 0 on success; -1 (nothing stored, the caller still owns value) when any argument is
// null, value already has a parent, or memory runs out.
int JsonObjectSet(JsonValue* object, const char* key, JsonValue* value);
int JsonObjectSetBool(JsonValue* object, const char* key, bool value);
JsonValue* JsonObjectGet(const JsonValue* object, const char* key);
// Appends value; 0 on success, -1 with the same rules as JsonObjectSet.
int JsonArrayAppend(JsonValue* array, JsonValue* value);

// A new root holding a deep copy, or null.
JsonValue* JsonCopy(const JsonValue* value);
// Frees value and its subtree. Must be a root (no parent); a member is freed with its container.
void JsonFree(JsonValue* value);

// True when bytes[0, length) is well-formed UTF-8: no overlong forms, no surrogates, nothing above
// U+10FFFF.
bool JsonIsValidUtf8(const char* bytes, size_t length);

// Parses NUL-terminated UTF-8 text (a leading byte-order mark is skipped). Only the first value is
// read; anything after it is ignored. Returns the root or null.
JsonValue* JsonParse(const char* text);

// Indented text (four spaces a level, LF line ends, no final line feed), allocated; free it with
// JsonFreeText. Null on failure.
char* JsonSerializeIndented(const JsonValue* value);
void JsonFreeText(char* text);

// djb2 over the bytes of a NUL-terminated key. The object index does not use it.
uint32_t JsonHashKey(const char* key);
