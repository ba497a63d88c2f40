#include <gtest/gtest.h>

#include <string>

#include "json_test_util.h"

namespace {

std::string Nested(int depth, const std::string& inner) {
    return std::string(depth, '[') + inner + std::string(depth, ']');
}

bool Parses(const std::string& text) { return Parse(text) != nullptr; }

}  // namespace

TEST(JsonParse, ContainersAndTheirLaxForms) {
    EXPECT_EQ(JsonGetKind(Parse("{}").get()), kJsonObject);
    EXPECT_EQ(JsonGetKind(Parse("[]").get()), kJsonArray);
    EXPECT_EQ(JsonGetKind(Parse(" \t\r\n\v\f{ \n}").get()), kJsonObject);
    EXPECT_TRUE(Parses("{}   and then anything"));
    EXPECT_TRUE(Parses("[1] ]]]"));

    JsonPtr trailing = Parse("{\"a\": 1, \"b\": [true, false, ], }");
    ASSERT_TRUE(trailing);
    EXPECT_EQ(JsonObjectCount(trailing.get()), 2u);
    EXPECT_EQ(JsonArrayCount(JsonObjectGet(trailing.get(), "b")), 2u);

    for (const char* bad : {"{\"a\":1,\"a\":2}", "{,}", "[,]", "[1,,]", "[1 2]", "{\"a\" 1}",
                            "{\"a\":}", "{a:1}", "{\"a\":1", "[1", "[", "{", "", "   ",
                            "]", "}", "{\"a\":1]", "[1}"}) {
        EXPECT_FALSE(Parses(bad)) << bad;
    }
}

TEST(JsonParse, ParsedArraysAreShrunkToTheirLength) {
    JsonPtr array = Parse("[1,2,3]");
    ASSERT_TRUE(array);
    EXPECT_EQ(array->u.array->capacity, 3u);
    JsonPtr empty = Parse("[ ]");
    EXPECT_EQ(empty->u.array->capacity, 0u);
    EXPECT_EQ(empty->u.array->items, nullptr);
}

TEST(JsonParse, MembersPointToTheirContainer) {
    JsonPtr root = Parse("{\"a\": [ {\"b\": 1} ]}");
    ASSERT_TRUE(root);
    JsonValue* array = JsonObjectGet(root.get(), "a");
    JsonValue* inner = JsonArrayAt(array, 0);
    EXPECT_EQ(root->parent, nullptr);
    EXPECT_EQ(array->parent, root.get());
    EXPECT_EQ(inner->parent, array);
    EXPECT_EQ(JsonObjectGet(inner, "b")->parent, inner);
}

TEST(JsonParse, DepthLimitIs2048EnclosingContainers) {
    EXPECT_TRUE(Parses(Nested(2048, "1")));
    EXPECT_FALSE(Parses(Nested(2049, "1")));
    EXPECT_TRUE(Parses(Nested(2049, "")));  // the innermost array holds no value
    EXPECT_FALSE(Parses(Nested(2050, "")));
    std::string objects;
    for (int i = 0; i < 2048; ++i) objects += "{\"k\":";
    EXPECT_TRUE(Parses(objects + "0" + std::string(2048, '}')));
    EXPECT_FALSE(Parses(objects + "{\"k\":0}" + std::string(2048, '}')));
    EXPECT_FALSE(Parses(std::string(100000, '[')));  // no stack exhaustion
}

TEST(JsonParse, Words) {
    EXPECT_EQ(JsonGetBool(Parse("true").get()), 1);
    EXPECT_EQ(JsonGetBool(Parse("false").get()), 0);
    EXPECT_EQ(JsonGetKind(Parse("null").get()), kJsonNull);
    // Words are matched as prefixes; what follows the root value is not looked at.
    EXPECT_EQ(JsonGetBool(Parse("truex").get()), 1);
    EXPECT_FALSE(Parses("[truex]"));
    for (const char* bad : {"True", "tru", "nul", "fals", "NULL", "t"}) {
        EXPECT_FALSE(Parses(bad)) << bad;
    }
}

TEST(JsonParse, Numbers) {
    const std::pair<const char*, double> good[] = {
        {"0", 0.0},       {"-0", -0.0},       {"0.5", 0.5},  {"-0.5", -0.5},
        {"1e3", 1000.0},  {"12", 12.0},       {"1E+2", 100}, {"-12.5e-1", -1.25},
        {"1e-999", 0.0},  {"123456789012345678901234567890", 1.2345678901234568e29},
        {"1.", 1.0},      {"0.e1", 0.0},      {"-.5", -0.5},
    };
    for (const auto& [text, value] : good) {
        JsonPtr number = Parse(std::string("[") + text + "]");
        ASSERT_TRUE(number) << text;
        EXPECT_EQ(JsonGetNumber(JsonArrayAt(number.get(), 0)), value) << text;
    }
    for (const char* bad : {"01", "-01", "0e5", "0x10", "-0x1", "1e999", "-1e999", "00", "-",
                            "- 1", "-inf", "-nan", "-infinity", "+1", ".5", "0X1", "-0e1",
                            "1.5x"}) {
        EXPECT_FALSE(Parses(std::string("[") + bad + "]")) << bad;
    }
}

TEST(JsonParse, StringEscapes) {
    EXPECT_EQ(StringOf(Parse(R"("\" \\ \/ \b \f \n \r \t")").get()), "\" \\ / \b \f \n \r \t");
    EXPECT_EQ(StringOf(Parse(R"("\u00e9")").get()), "\xC3\xA9");
    EXPECT_EQ(StringOf(Parse(R"("\u00E9\u0041")").get()), "\xC3\xA9" "A");
    EXPECT_EQ(StringOf(Parse(R"("\u07FF\u0800\uFFFF")").get()),
              "\xDF\xBF" "\xE0\xA0\x80" "\xEF\xBF\xBF");
    EXPECT_EQ(StringOf(Parse(R"("\uD83D\uDE00")").get()), "\xF0\x9F\x98\x80");
    EXPECT_EQ(StringOf(Parse(R"("\uDBFF\uDFFF")").get()), "\xF4\x8F\xBF\xBF");
    EXPECT_EQ(StringOf(Parse(R"("a\u0000b")").get()), std::string("a\0b", 3));
    EXPECT_EQ(StringOf(Parse("\"\xE4\xBD\xA0\xE5\xA5\xBD\"").get()), "\xE4\xBD\xA0\xE5\xA5\xBD");
    EXPECT_EQ(StringOf(Parse("\"\x7F\"").get()), "\x7F");

    for (const char* bad : {
             R"("\uDE00")",          // lone low surrogate
             R"("\uD83D")",          // high surrogate alone
             R"("\uD83Dx")",         // high surrogate followed by text
             R"("\uD83D\u0041")",    // high surrogate followed by a non-surrogate
             R"("\uD83D\uD83D")",    // two high surrogates
             R"("\u12")",            // too few hex digits
             R"("\u12G4")",          // bad hex
             R"("\x41")",            // unknown escape
             R"("\a")",
             R"("\)",                // backslash swallows the closing quote
             "\"\\",                 // backslash at the very end
             "\"abc",                // no closing quote
             "\"a\tb\"",             // raw control character
             "\"a\nb\"",
             "\"\x1F\"",
         }) {
        EXPECT_FALSE(Parses(bad)) << bad;
    }
}

TEST(JsonParse, ObjectKeys) {
    JsonPtr object = Parse(R"({"\u00e9t\u00e9": 1, "": 2})");
    ASSERT_TRUE(object);
    EXPECT_EQ(JsonGetNumber(JsonObjectGet(object.get(), "\xC3\xA9t\xC3\xA9")), 1.0);
    EXPECT_EQ(JsonGetNumber(JsonObjectGet(object.get(), "")), 2.0);
    EXPECT_FALSE(Parses(R"({"a\u0000b": 1})"));  // keys cannot hold NUL
    EXPECT_FALSE(Parses(R"({"a": 1, "\u0061": 2})"));  // the same key, escaped
    EXPECT_FALSE(Parses("{1: 2}"));
}

TEST(JsonParse, ByteOrderMarkIsSkippedOnce) {
    JsonPtr value = Parse("\xEF\xBB\xBF{\"a\": true}");
    ASSERT_TRUE(value);
    EXPECT_EQ(JsonGetBool(JsonObjectGet(value.get(), "a")), 1);
    EXPECT_FALSE(Parses("\xEF\xBB\xBF\xEF\xBB\xBF{}"));
    EXPECT_FALSE(Parses("\xEF\xBB{}"));
    EXPECT_EQ(JsonParse(nullptr), nullptr);
}

TEST(JsonParse, TextEndsAtTheFirstNul) {
    const std::string withNul("[1,\0 2]", 7);
    EXPECT_EQ(JsonParse(withNul.c_str()), nullptr);
    EXPECT_EQ(JsonParse("\"abc\0\"" ), nullptr);
}
