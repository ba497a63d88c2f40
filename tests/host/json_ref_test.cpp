#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "settings/json/json_ref.h"

namespace {

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "<no exception>";
}

}  // namespace

TEST(JsonRef, MemberAccessCopiesAndChains) {
    JsonRef root(JsonParse(R"({"update_info": {"version": "1.2.3.5", "url": "https://x/u.exe"}})"));
    JsonRef version = root["update_info"]["version"];
    EXPECT_EQ(version.AsString(), "1.2.3.5");
    EXPECT_EQ(version.Get()->parent, nullptr);  // a copy, owned by the handle
    EXPECT_TRUE(root["absent"].IsEmpty());
    EXPECT_TRUE(root["absent"]["deeper"].IsEmpty());  // an empty handle yields empty handles
    EXPECT_TRUE(JsonRef()["anything"].IsEmpty());
}

TEST(JsonRef, MisuseThrowsTheFixedMessages) {
    JsonRef text(JsonParse("\"just text\""));
    EXPECT_EQ(MessageOf([&] { (void)text["key"]; }), "Expected object type");
    EXPECT_EQ(MessageOf([] { JsonRef().Expect(kJsonString, "string"); }), "Invalid JSON value");
    JsonRef flag(JsonParse(R"({"v": true})"));
    EXPECT_EQ(MessageOf([&] { (void)flag["v"].AsString(); }), "Expected string type");
    EXPECT_EQ(MessageOf([&] { (void)flag["missing"].AsString(); }), "Invalid JSON value");
    EXPECT_EQ(MessageOf([&] { flag["v"].Expect(kJsonBoolean, "boolean"); }), "<no exception>");
}

TEST(JsonRef, OwnershipMoves) {
    JsonRef first(JsonMakeBool(true));
    JsonValue* held = first.Get();
    JsonRef second(std::move(first));
    EXPECT_TRUE(first.IsEmpty());
    EXPECT_EQ(second.Get(), held);
    JsonRef third;
    third = std::move(second);
    EXPECT_EQ(third.Get(), held);
    JsonValue* released = third.Release();
    EXPECT_TRUE(third.IsEmpty());
    JsonFree(released);
}
