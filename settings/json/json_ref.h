// An owning handle over one JSON root with typed access that reports misuse by exceptions.
#pragma once

#include <string>

#include "settings/json/json_value.h"

class JsonRef {
public:
    JsonRef() = default;
    // Takes ownership of root (which may be null: an empty handle).
    explicit JsonRef(JsonValue* root) noexcept : value_(root) {}
    ~JsonRef() { JsonFree(value_); }

    JsonRef(JsonRef&& other) noexcept : value_(other.Release()) {}
    JsonRef& operator=(JsonRef&& other) noexcept;
    JsonRef(const JsonRef&) = delete;
    JsonRef& operator=(const JsonRef&) = delete;

    // The member under key as a handle owning a deep copy; empty when the key is absent or this
    // handle is empty. Throws "Expected object type" when the value is not an object.
    JsonRef operator[](const std::string& key) const;

    // Throws std::runtime_error "Invalid JSON value" on an empty handle, and
    // "Expected <typeName> type" when the value is of another kind.
    const JsonRef& Expect(int32_t kind, const char* typeName) const;

    // The bytes of a string value (expecting "string").
    std::string AsString() const;

    JsonValue* Get() const { return value_; }
    bool IsEmpty() const { return value_ == nullptr; }
    JsonValue* Release() noexcept;

private:
    JsonValue* value_ = nullptr;
};
