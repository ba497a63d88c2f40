#include "settings/json/json_ref.h"

#include <stdexcept>

JsonRef& JsonRef::operator=(JsonRef&& other) noexcept {
    if (this != &other) {
        JsonFree(value_);
        value_ = other.Release();
    }
    return *this;
}

JsonValue* JsonRef::Release() noexcept {
    JsonValue* value = value_;
    value_ = nullptr;
    return value;
}

const JsonRef& JsonRef::Expect(int32_t kind, const char* typeName) const {
    if (!value_) throw std::runtime_error("Invalid JSON value");
    if (value_->kind != kind) throw std::runtime_error(std::string("Expected ") + typeName + " type");
    return *this;
}

JsonRef JsonRef::operator[](const std::string& key) const {
    if (!value_) return JsonRef();
    Expect(kJsonObject, "object");
    return JsonRef(JsonCopy(JsonObjectGet(value_, key.c_str())));
}

std::string JsonRef::AsString() const {
    Expect(kJsonString, "string");
    return std::string(value_->u.string.bytes, value_->u.string.length);
}
