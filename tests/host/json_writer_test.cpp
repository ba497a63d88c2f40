#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "json_test_util.h"

TEST(JsonSerialize, ObjectExampleWithEscapedSlash) {
    JsonPtr object(JsonMakeObject());
    ASSERT_EQ(JsonObjectSet(object.get(), "a", JsonMakeString("x/y", 3)), 0);
    ASSERT_EQ(JsonObjectSetBool(object.get(), "b", true), 0);
    EXPECT_EQ(Serialize(object.get()), "{\n    \"a\": \"x\\/y\",\n    \"b\": true\n}");
}

TEST(JsonSerialize, NestingIndentsFourSpacesALevel) {
    JsonPtr value = Parse(R"({"a": [1, [], {}, {"b": null}], "c": "d"})");
    ASSERT_TRUE(value);
    EXPECT_EQ(Serialize(value.get()),
              "{\n"
              "    \"a\": [\n"
              "        1,\n"
              "        [],\n"
              "        {},\n"
              "        {\n"
              "            \"b\": null\n"
              "        }\n"
              "    ],\n"
              "    \"c\": \"d\"\n"
              "}");
    EXPECT_EQ(Serialize(JsonPtr(JsonMakeArray()).get()), "[]");
    EXPECT_EQ(Serialize(JsonPtr(JsonMakeObject()).get()), "{}");
    EXPECT_EQ(Serialize(JsonPtr(JsonMakeNull()).get()), "null");
}

TEST(JsonSerialize, StringBytes) {
    const char bytes[] = "a/b\"c\\d\b\t\n\f\r\x0B\x1F\x01\x7F\xC3\xA9";
    const std::string input(bytes, sizeof bytes - 1);
    JsonPtr value(JsonMakeString(input.data(), input.size()));
    ASSERT_TRUE(value);
    EXPECT_EQ(Serialize(value.get()),
              "\"a\\/b\\\"c\\\\d\\b\\t\\n\\f\\r\\u000b\\u001f\\u0001\x7F\xC3\xA9\"");
    JsonPtr nul = Parse(R"("x\u0000y")");
    EXPECT_EQ(Serialize(nul.get()), "\"x\\u0000y\"");
}

TEST(JsonSerialize, NumbersUseSeventeenSignificantDigits) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "0"},        {-0.0, "-0"},     {1.0, "1"},         {-12.0, "-12"},
        {0.5, "0.5"},      {0.1, "0.10000000000000001"},         {1e20, "1e+20"},
        {1e300, "1.0000000000000001e+300"},  {123456789.0, "123456789"},
        {5e-324, "4.9406564584124654e-324"},
    };
    for (const auto& [number, text] : cases) {
        JsonPtr value(JsonMakeNumber(number));
        EXPECT_EQ(Serialize(value.get()), text);
    }
}

TEST(JsonSerialize, RoundTripsThroughTheParser) {
    const char* text = R"({"name": "\u4f60\u597d \ud83d\ude00", "list": [1.5, -2, true, null,
        {"deep": [[[]]]}], "path": "C:\\pics\/x", "ctl": "\u0007"})";
    JsonPtr first = Parse(text);
    ASSERT_TRUE(first);
    const std::string once = Serialize(first.get());
    JsonPtr second = Parse(once);
    ASSERT_TRUE(second);
    EXPECT_EQ(Serialize(second.get()), once);
}

TEST(JsonSerialize, RefusesWhatItCannotWrite) {
    EXPECT_EQ(JsonSerializeIndented(nullptr), nullptr);
    JsonValue broken{};
    broken.kind = kJsonError;
    EXPECT_EQ(JsonSerializeIndented(&broken), nullptr);
    JsonPtr array(JsonMakeArray());
    JsonValue* loose = static_cast<JsonValue*>(calloc(1, sizeof(JsonValue)));
    loose->kind = 42;  // not a kind at all
    ASSERT_EQ(JsonArrayAppend(array.get(), loose), 0);
    EXPECT_EQ(JsonSerializeIndented(array.get()), nullptr);
}
