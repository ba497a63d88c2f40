// Values, containers, copying and freeing of the JSON tree.
#include "settings/json/json_value.h"

#include "base/utf8_codec.h"
#include "settings/json/json_key_hash.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kMinCells = 16;
constexpr size_t kMinArrayCapacity = 16;

size_t ItemCapacityFor(size_t cells) { return cells * 7 / 10; }

JsonValue* NewValue(int32_t kind) {
    auto* value = static_cast<JsonValue*>(std::calloc(1, sizeof(JsonValue)));
    if (value) value->kind = kind;
    return value;
}

void FreeTree(JsonValue* value);

void FreeObject(JsonObject* object) {
    if (!object) return;
    for (size_t i = 0; i < object->count; ++i) {
        std::free(object->keys[i]);
        FreeTree(object->values[i]);
    }
    std::free(object->keys);
    std::free(object->values);
    std::free(object->hashes);
    std::free(object->cells);
    std::free(object);
}

void FreeArray(JsonArray* array) {
    if (!array) return;
    for (size_t i = 0; i < array->count; ++i) FreeTree(array->items[i]);
    std::free(array->items);
    std::free(array);
}

void FreeTree(JsonValue* value) {
    if (!value) return;
    switch (value->kind) {
        case kJsonString: std::free(value->u.string.bytes); break;
        case kJsonObject: FreeObject(value->u.object); break;
        case kJsonArray: FreeArray(value->u.array); break;
        default: break;
    }
    std::free(value);
}

JsonObject* AsObject(const JsonValue* value) {
    return value && value->kind == kJsonObject ? value->u.object : nullptr;
}

JsonArray* AsArray(const JsonValue* value) {
    return value && value->kind == kJsonArray ? value->u.array : nullptr;
}

// Fills the cell index from the items, which keep their order. The cells must be all -1.
void IndexItems(JsonObject* object) {
    const size_t mask = object->cellCapacity - 1;
    for (size_t item = 0; item < object->count; ++item) {
        size_t cell = object->hashes[item] & mask;
        while (object->cells[cell] != -1) cell = (cell + 1) & mask;
        object->cells[cell] = static_cast<int32_t>(item);
    }
}

// Grows the object to the given cell capacity and re-indexes every member in order.
bool Rebuild(JsonObject* object, size_t cellCapacity) {
    const size_t itemCapacity = ItemCapacityFor(cellCapacity);
    auto* cells = static_cast<int32_t*>(std::malloc(cellCapacity * sizeof(int32_t)));
    auto* keys = static_cast<char**>(std::realloc(object->keys, itemCapacity * sizeof(char*)));
    if (keys) object->keys = keys;
    auto* values =
        static_cast<JsonValue**>(std::realloc(object->values, itemCapacity * sizeof(JsonValue*)));
    if (values) object->values = values;
    auto* hashes =
        static_cast<uint32_t*>(std::realloc(object->hashes, itemCapacity * sizeof(uint32_t)));
    if (hashes) object->hashes = hashes;
    if (!cells || !keys || !values || !hashes) {
        std::free(cells);
        return false;  // the arrays that did grow stay valid for the old capacity too
    }
    std::memset(cells, 0xFF, cellCapacity * sizeof(int32_t));
    std::free(object->cells);
    object->cells = cells;
    object->cellCapacity = cellCapacity;
    object->itemCapacity = itemCapacity;
    IndexItems(object);
    return true;
}

// The item number stored under key, or -1.
long FindItem(const JsonObject* object, const char* key, uint32_t hash) {
    const size_t mask = object->cellCapacity - 1;
    size_t cell = hash & mask;
    for (size_t probe = 0; probe < object->cellCapacity; ++probe) {
        const int32_t item = object->cells[cell];
        if (item == -1) return -1;
        if (object->hashes[item] == hash && std::strcmp(object->keys[item], key) == 0) return item;
        cell = (cell + 1) & mask;
    }
    return -1;
}

char* CopyBytes(const char* bytes, size_t length) {
    auto* copy = static_cast<char*>(std::malloc(length + 1));
    if (!copy) return nullptr;
    if (length) std::memcpy(copy, bytes, length);
    copy[length] = '\0';
    return copy;
}

}  // namespace

uint32_t JsonHashKey(const char* key) {
    uint32_t hash = 5381;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(key); *p; ++p) {
        hash = hash * 33 + *p;
    }
    return hash;
}

JsonValue* JsonMakeObject() {
    JsonValue* value = NewValue(kJsonObject);
    auto* object = static_cast<JsonObject*>(std::calloc(1, sizeof(JsonObject)));
    if (!value || !object || !Rebuild(object, kMinCells)) {
        FreeObject(object);
        std::free(value);
        return nullptr;
    }
    object->owner = value;
    value->u.object = object;
    return value;
}

JsonValue* JsonMakeArray() {
    JsonValue* value = NewValue(kJsonArray);
    auto* array = static_cast<JsonArray*>(std::calloc(1, sizeof(JsonArray)));
    if (!value || !array) {
        std::free(array);
        std::free(value);
        return nullptr;
    }
    array->owner = value;
    value->u.array = array;
    return value;
}

JsonValue* JsonMakeNull() { return NewValue(kJsonNull); }

JsonValue* JsonMakeString(const char* bytes, size_t length) {
    if (!bytes && length) return nullptr;
    if (!JsonIsValidUtf8(bytes, length)) return nullptr;
    JsonValue* value = NewValue(kJsonString);
    char* copy = CopyBytes(bytes, length);
    if (!value || !copy) {
        std::free(copy);
        std::free(value);
        return nullptr;
    }
    value->u.string.bytes = copy;
    value->u.string.length = length;
    return value;
}

JsonValue* JsonMakeBool(bool flag) {
    JsonValue* value = NewValue(kJsonBoolean);
    if (value) value->u.boolean = flag ? 1 : 0;
    return value;
}

JsonValue* JsonMakeNumber(double number) {
    if (!std::isfinite(number)) return nullptr;
    JsonValue* value = NewValue(kJsonNumber);
    if (value) value->u.number = number;
    return value;
}

int32_t JsonGetKind(const JsonValue* value) { return value ? value->kind : kJsonError; }

const char* JsonGetString(const JsonValue* value, size_t* length) {
    const bool isString = value && value->kind == kJsonString;
    if (length) *length = isString ? value->u.string.length : 0;
    return isString ? value->u.string.bytes : nullptr;
}

int JsonGetBool(const JsonValue* value) {
    return value && value->kind == kJsonBoolean ? value->u.boolean : -1;
}

double JsonGetNumber(const JsonValue* value) {
    return value && value->kind == kJsonNumber ? value->u.number : 0.0;
}

size_t JsonObjectCount(const JsonValue* value) {
    const JsonObject* object = AsObject(value);
    return object ? object->count : 0;
}

const char* JsonObjectKeyAt(const JsonValue* value, size_t item) {
    const JsonObject* object = AsObject(value);
    return object && item < object->count ? object->keys[item] : nullptr;
}

JsonValue* JsonObjectValueAt(const JsonValue* value, size_t item) {
    const JsonObject* object = AsObject(value);
    return object && item < object->count ? object->values[item] : nullptr;
}

size_t JsonArrayCount(const JsonValue* value) {
    const JsonArray* array = AsArray(value);
    return array ? array->count : 0;
}

JsonValue* JsonArrayAt(const JsonValue* value, size_t index) {
    const JsonArray* array = AsArray(value);
    return array && index < array->count ? array->items[index] : nullptr;
}

int JsonObjectSet(JsonValue* target, const char* key, JsonValue* value) {
    JsonObject* object = AsObject(target);
    if (!object || !key || !value || value->parent || value == target) return -1;
    const uint32_t hash = JsonIndexHash(key);
    const long existing = FindItem(object, key, hash);
    if (existing >= 0) {
        FreeTree(object->values[existing]);
        object->values[existing] = value;
        value->parent = target;
        return 0;
    }
    if (object->count == object->itemCapacity) {
        const size_t grown = object->cellCapacity * 2;
        if (!Rebuild(object, grown > kMinCells ? grown : kMinCells)) return -1;
    }
    char* keyCopy = CopyBytes(key, std::strlen(key));
    if (!keyCopy) return -1;
    const size_t item = object->count++;
    object->keys[item] = keyCopy;
    object->values[item] = value;
    object->hashes[item] = hash;
    const size_t mask = object->cellCapacity - 1;
    size_t cell = hash & mask;
    while (object->cells[cell] != -1) cell = (cell + 1) & mask;
    object->cells[cell] = static_cast<int32_t>(item);
    value->parent = target;
    return 0;
}

int JsonObjectSetBool(JsonValue* object, const char* key, bool flag) {
    JsonValue* value = JsonMakeBool(flag);
    if (JsonObjectSet(object, key, value) != 0) {
        FreeTree(value);
        return -1;
    }
    return 0;
}

JsonValue* JsonObjectGet(const JsonValue* value, const char* key) {
    const JsonObject* object = AsObject(value);
    if (!object || !key) return nullptr;
    const long item = FindItem(object, key, JsonIndexHash(key));
    return item >= 0 ? object->values[item] : nullptr;
}

int JsonArrayAppend(JsonValue* target, JsonValue* value) {
    JsonArray* array = AsArray(target);
    if (!array || !value || value->parent || value == target) return -1;
    if (array->count == array->capacity) {
        const size_t grown = array->capacity * 2 > kMinArrayCapacity ? array->capacity * 2
                                                                      : kMinArrayCapacity;
        auto* items =
            static_cast<JsonValue**>(std::realloc(array->items, grown * sizeof(JsonValue*)));
        if (!items) return -1;
        array->items = items;
        array->capacity = grown;
    }
    array->items[array->count++] = value;
    value->parent = target;
    return 0;
}

JsonValue* JsonCopy(const JsonValue* value) {
    if (!value) return nullptr;
    switch (value->kind) {
        case kJsonNull: return JsonMakeNull();
        case kJsonBoolean: return JsonMakeBool(value->u.boolean != 0);
        case kJsonNumber: return JsonMakeNumber(value->u.number);
        case kJsonString: {
            // Copied byte for byte: parsed strings may hold bytes that JsonMakeString refuses.
            JsonValue* copy = NewValue(kJsonString);
            char* bytes = copy ? CopyBytes(value->u.string.bytes, value->u.string.length) : nullptr;
            if (!bytes) {
                std::free(copy);
                return nullptr;
            }
            copy->u.string.bytes = bytes;
            copy->u.string.length = value->u.string.length;
            return copy;
        }
        case kJsonObject: {
            JsonValue* copy = JsonMakeObject();
            const JsonObject* object = value->u.object;
            for (size_t i = 0; copy && i < object->count; ++i) {
                JsonValue* member = JsonCopy(object->values[i]);
                if (JsonObjectSet(copy, object->keys[i], member) != 0) {
                    FreeTree(member);
                    FreeTree(copy);
                    copy = nullptr;
                }
            }
            return copy;
        }
        case kJsonArray: {
            JsonValue* copy = JsonMakeArray();
            const JsonArray* array = value->u.array;
            for (size_t i = 0; copy && i < array->count; ++i) {
                JsonValue* item = JsonCopy(array->items[i]);
                if (JsonArrayAppend(copy, item) != 0) {
                    FreeTree(item);
                    FreeTree(copy);
                    copy = nullptr;
                }
            }
            return copy;
        }
        default: return nullptr;
    }
}

void JsonFree(JsonValue* value) {
    // A member belongs to its container; freeing it alone would leave the container dangling.
    if (value && value->parent) return;
    FreeTree(value);
}

bool JsonIsValidUtf8(const char* text, size_t length) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (i < length) {
        uint32_t code = 0;
        const size_t used = DecodeUtf8Sequence(bytes + i, length - i, &code);
        if (used == 0) return false;
        i += used;
    }
    return true;
}
