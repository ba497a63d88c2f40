#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "json_test_util.h"

TEST(JsonValue, MakersGiveTheirKindsAndRefuseBadInput) {
    EXPECT_EQ(JsonGetKind(JsonPtr(JsonMakeObject()).get()), 4);
    EXPECT_EQ(JsonGetKind(JsonPtr(JsonMakeArray()).get()), 5);
    EXPECT_EQ(JsonGetKind(JsonPtr(JsonMakeNull()).get()), 1);
    EXPECT_EQ(JsonGetKind(JsonPtr(JsonMakeString("x", 1)).get()), 2);
    EXPECT_EQ(JsonGetKind(JsonPtr(JsonMakeNumber(1.5)).get()), 3);
    EXPECT_EQ(JsonGetKind(JsonPtr(JsonMakeBool(false)).get()), 6);
    EXPECT_EQ(JsonGetKind(nullptr), -1);

    EXPECT_EQ(JsonMakeNumber(std::numeric_limits<double>::quiet_NaN()), nullptr);
    EXPECT_EQ(JsonMakeNumber(std::numeric_limits<double>::infinity()), nullptr);
    EXPECT_EQ(JsonMakeNumber(-std::numeric_limits<double>::infinity()), nullptr);
    EXPECT_EQ(JsonMakeString("\xC0\x80", 2), nullptr);  // overlong NUL
    EXPECT_EQ(JsonMakeString(nullptr, 3), nullptr);
}

TEST(JsonValue, GettersAnswerOnlyForTheirKind) {
    JsonPtr text(JsonMakeString("a\0b", 3));
    JsonPtr flag(JsonMakeBool(true));
    JsonPtr number(JsonMakeNumber(-2.25));
    EXPECT_EQ(StringOf(text.get()), std::string("a\0b", 3));
    size_t length = 99;
    EXPECT_EQ(JsonGetString(flag.get(), &length), nullptr);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(JsonGetBool(flag.get()), 1);
    EXPECT_EQ(JsonGetBool(number.get()), -1);
    EXPECT_EQ(JsonGetNumber(number.get()), -2.25);
    EXPECT_EQ(JsonGetNumber(flag.get()), 0.0);
    EXPECT_EQ(JsonObjectCount(number.get()), 0u);
    EXPECT_EQ(JsonArrayAt(number.get(), 0), nullptr);
}

TEST(JsonObject, KeepsInsertionOrderAndReplacesInPlace) {
    JsonPtr object(JsonMakeObject());
    ASSERT_EQ(JsonObjectSet(object.get(), "b", JsonMakeNumber(1)), 0);
    ASSERT_EQ(JsonObjectSet(object.get(), "a", JsonMakeNumber(2)), 0);
    ASSERT_EQ(JsonObjectSetBool(object.get(), "c", true), 0);
    ASSERT_EQ(JsonObjectSet(object.get(), "b", JsonMakeString("new", 3)), 0);

    ASSERT_EQ(JsonObjectCount(object.get()), 3u);
    EXPECT_STREQ(JsonObjectKeyAt(object.get(), 0), "b");
    EXPECT_STREQ(JsonObjectKeyAt(object.get(), 1), "a");
    EXPECT_STREQ(JsonObjectKeyAt(object.get(), 2), "c");
    EXPECT_EQ(StringOf(JsonObjectValueAt(object.get(), 0)), "new");
    EXPECT_EQ(JsonObjectValueAt(object.get(), 0)->parent, object.get());
    EXPECT_EQ(JsonObjectKeyAt(object.get(), 3), nullptr);
    EXPECT_EQ(JsonObjectGet(object.get(), "missing"), nullptr);
}

TEST(JsonObject, SetRefusesWithoutTakingOwnership) {
    JsonPtr object(JsonMakeObject());
    JsonPtr other(JsonMakeObject());
    JsonPtr value(JsonMakeNumber(1));
    EXPECT_EQ(JsonObjectSet(nullptr, "k", value.get()), -1);
    EXPECT_EQ(JsonObjectSet(object.get(), nullptr, value.get()), -1);
    EXPECT_EQ(JsonObjectSet(object.get(), "k", nullptr), -1);
    EXPECT_EQ(JsonObjectSet(object.get(), "k", object.get()), -1);
    EXPECT_EQ(JsonObjectSet(value.get(), "k", JsonPtr(JsonMakeNull()).get()), -1);

    JsonValue* member = value.release();
    ASSERT_EQ(JsonObjectSet(object.get(), "k", member), 0);
    // Already in a container: a second insertion fails and the value stays where it is.
    EXPECT_EQ(JsonObjectSet(other.get(), "k", member), -1);
    EXPECT_EQ(JsonArrayAppend(JsonPtr(JsonMakeArray()).get(), member), -1);
    EXPECT_EQ(JsonObjectCount(other.get()), 0u);
    // Freeing a member directly is refused; its container still owns it.
    JsonFree(member);
    EXPECT_EQ(JsonGetNumber(JsonObjectGet(object.get(), "k")), 1.0);
}

TEST(JsonObject, GrowsByRebuildingTheIndexAtSevenTenths) {
    JsonPtr object(JsonMakeObject());
    const JsonObject* inner = object->u.object;
    EXPECT_EQ(inner->cellCapacity, 16u);
    EXPECT_EQ(inner->itemCapacity, 11u);
    for (int i = 0; i < 11; ++i) {
        ASSERT_EQ(JsonObjectSet(object.get(), ("k" + std::to_string(i)).c_str(),
                                JsonMakeNumber(i)), 0);
    }
    EXPECT_EQ(inner->cellCapacity, 16u);  // rebuilt only when the next insertion finds it full
    ASSERT_EQ(JsonObjectSet(object.get(), "k11", JsonMakeNumber(11)), 0);
    EXPECT_EQ(inner->cellCapacity, 32u);
    EXPECT_EQ(inner->itemCapacity, 22u);

    for (int i = 12; i < 3000; ++i) {
        ASSERT_EQ(JsonObjectSet(object.get(), ("k" + std::to_string(i)).c_str(),
                                JsonMakeNumber(i)), 0);
    }
    EXPECT_EQ(inner->cellCapacity, 8192u);
    EXPECT_EQ(inner->itemCapacity, 5734u);
    for (int i = 0; i < 3000; ++i) {
        const std::string key = "k" + std::to_string(i);
        ASSERT_EQ(JsonGetNumber(JsonObjectGet(object.get(), key.c_str())), i) << key;
        ASSERT_EQ(JsonObjectKeyAt(object.get(), i), key);
    }
}

TEST(JsonObject, KeysWithTheSameHashStayApart) {
    // Pairs of words known to share a djb2 hash.
    const std::vector<std::pair<const char*, const char*>> pairs = {
        {"hetairas", "mentioner"}, {"heliotropes", "neurospora"}, {"stylist", "subgenera"}};
    JsonPtr object(JsonMakeObject());
    for (const auto& [first, second] : pairs) {
        ASSERT_EQ(JsonHashKey(first), JsonHashKey(second)) << first << " " << second;
        ASSERT_EQ(JsonObjectSet(object.get(), first, JsonMakeString(first, strlen(first))), 0);
        ASSERT_EQ(JsonObjectSet(object.get(), second, JsonMakeString(second, strlen(second))), 0);
    }
    EXPECT_EQ(JsonObjectCount(object.get()), 6u);
    for (const auto& [first, second] : pairs) {
        EXPECT_EQ(StringOf(JsonObjectGet(object.get(), first)), first);
        EXPECT_EQ(StringOf(JsonObjectGet(object.get(), second)), second);
    }
}

TEST(JsonObject, KeysThatShareADjb2HashSpreadOverTheIndex) {
    // 'a' * 33 + 'z' == 'b' * 33 + 'Y', so keys of ten blocks, each "az" or "bY", all share one
    // djb2 hash: 1024 keys that text could use to pile into a single cell of a djb2 index.
    std::vector<std::string> keys;
    for (unsigned bits = 0; bits < 1024; ++bits) {
        std::string key;
        for (int block = 0; block < 10; ++block) key += (bits >> block) & 1 ? "bY" : "az";
        ASSERT_EQ(JsonHashKey(key.c_str()), JsonHashKey("azazazazazazazazazaz")) << key;
        keys.push_back(key);
    }
    std::string text = "{";
    for (const std::string& key : keys) text += (text.size() > 1 ? ",\"" : "\"") + key + "\":0";
    JsonPtr object = Parse(text + "}");
    ASSERT_TRUE(object);
    const JsonObject* inner = object->u.object;
    ASSERT_EQ(inner->count, keys.size());
    ASSERT_EQ(inner->cellCapacity, 2048u);

    // Cells a lookup of every key visits in all: from each key's home cell to the cell holding
    // it. Spread keys average about 1.5 at this load; keys sharing one home cell take
    // n(n+1)/2, here 524800.
    const size_t mask = inner->cellCapacity - 1;
    size_t visited = 0;
    for (size_t cell = 0; cell < inner->cellCapacity; ++cell) {
        const int32_t item = inner->cells[cell];
        if (item >= 0) visited += ((cell - inner->hashes[item]) & mask) + 1;
    }
    EXPECT_LT(visited, 4 * keys.size());
}

TEST(JsonObject, HashIsDjb2) {
    EXPECT_EQ(JsonHashKey(""), 5381u);
    EXPECT_EQ(JsonHashKey("a"), 5381u * 33 + 'a');
    EXPECT_EQ(JsonHashKey("\xFF"), 5381u * 33 + 0xFF);  // bytes count as unsigned
}

TEST(JsonArray, GrowsToSixteenThenDoubles) {
    JsonPtr array(JsonMakeArray());
    EXPECT_EQ(array->u.array->capacity, 0u);
    ASSERT_EQ(JsonArrayAppend(array.get(), JsonMakeNull()), 0);
    EXPECT_EQ(array->u.array->capacity, 16u);
    for (int i = 1; i < 17; ++i) ASSERT_EQ(JsonArrayAppend(array.get(), JsonMakeNumber(i)), 0);
    EXPECT_EQ(array->u.array->capacity, 32u);
    EXPECT_EQ(JsonArrayCount(array.get()), 17u);
    EXPECT_EQ(JsonGetNumber(JsonArrayAt(array.get(), 16)), 16.0);
    EXPECT_EQ(JsonArrayAt(array.get(), 17), nullptr);
    EXPECT_EQ(JsonArrayAt(array.get(), 3)->parent, array.get());
}

TEST(JsonValue, DeepCopyIsIndependent) {
    JsonPtr original = Parse(R"({"a": [1, {"b": "x\u0000y"}], "c": null, "d": false})");
    ASSERT_TRUE(original);
    JsonPtr copy(JsonCopy(original.get()));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->parent, nullptr);
    EXPECT_EQ(Serialize(copy.get()), Serialize(original.get()));
    JsonValue* inner = JsonArrayAt(JsonObjectGet(copy.get(), "a"), 1);
    EXPECT_EQ(StringOf(JsonObjectGet(inner, "b")), std::string("x\0y", 3));
    ASSERT_EQ(JsonObjectSet(inner, "b", JsonMakeNumber(7)), 0);
    EXPECT_EQ(StringOf(JsonObjectGet(JsonArrayAt(JsonObjectGet(original.get(), "a"), 1), "b")),
              std::string("x\0y", 3));
    // A member copied out of its container is a new root.
    JsonPtr member(JsonCopy(JsonObjectGet(original.get(), "a")));
    EXPECT_EQ(member->parent, nullptr);
    EXPECT_EQ(JsonCopy(nullptr), nullptr);
}

TEST(JsonUtf8, AcceptsWellFormedAndRefusesTheRest) {
    struct Case {
        const char* bytes;
        size_t length;
        bool valid;
    };
    const Case cases[] = {
        {"", 0, true},
        {"plain ascii", 11, true},
        {"\0", 1, true},
        {"\xC2\x80", 2, true},           // U+0080
        {"\xDF\xBF", 2, true},           // U+07FF
        {"\xE0\xA0\x80", 3, true},       // U+0800
        {"\xED\x9F\xBF", 3, true},       // U+D7FF
        {"\xEE\x80\x80", 3, true},       // U+E000
        {"\xF0\x90\x80\x80", 4, true},   // U+10000
        {"\xF4\x8F\xBF\xBF", 4, true},   // U+10FFFF
        {"\xE4\xBD\xA0\xE5\xA5\xBD", 6, true},
        {"\x80", 1, false},              // lone continuation
        {"\xC1\xBF", 2, false},          // overlong lead
        {"\xE0\x9F\xBF", 3, false},      // overlong three-byte form
        {"\xF0\x8F\xBF\xBF", 4, false},  // overlong four-byte form
        {"\xED\xA0\x80", 3, false},      // surrogate D800
        {"\xED\xBF\xBF", 3, false},      // surrogate DFFF
        {"\xF4\x90\x80\x80", 4, false},  // above U+10FFFF
        {"\xF5\x80\x80\x80", 4, false},
        {"\xFF", 1, false},
        {"\xE4\xBD", 2, false},          // cut short
        {"\xC2\x41", 2, false},          // bad continuation
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JsonIsValidUtf8(c.bytes, c.length), c.valid)
            << testing::PrintToString(std::string(c.bytes, c.length));
    }
}
