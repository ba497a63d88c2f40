// The attribute bar's rules: colour texts, combo entries, pages, and writing a chosen value into
// a tool's configuration.
#include <gtest/gtest.h>

#include "toolbar/attribute_values.h"

namespace {

TEST(AttributeValues, ColorTextsEntriesAndPages) {
    for (const wchar_t* text : {L"#FF00A870", L"FF00A870", L"00A870", L"#00A870", L"XFF00A870", L"#ff00a870"}) {
        EXPECT_EQ(ParseColorText(text), 0xFF00A870u) << testing::PrintToString(std::wstring(text));
    }
    EXPECT_EQ(ParseColorText(L"8000A870"), 0x8000A870u);  // a given alpha is kept
    for (const wchar_t* text : {L"#00A87", L"", L"#", L"FF00A87012"}) EXPECT_EQ(ParseColorText(text), 0xFF000000u);
    EXPECT_EQ(LineWidthEntry(2.7f), 1);
    const int styleEntries[] = {-1, 0, 1, 2, -1};  // styles 0 to 4
    for (int style = 0; style <= 4; ++style) EXPECT_EQ(LineStyleEntry(style), styleEntries[style]) << style;
    for (int tool = 1; tool <= 5; ++tool) EXPECT_EQ(std::wstring(AttributePageName(tool)), L"normal_attribute_page");
    EXPECT_EQ(std::wstring(AttributePageName(7)), L"text_attribute_page");
    for (const int none : {0, 6, 8}) EXPECT_EQ(AttributePageName(none), nullptr) << none;
    EXPECT_EQ(NormalPageWidth(3), 390);
    EXPECT_EQ(NormalPageWidth(1), 525);
}

TEST(AttributeWrite, ValuesLandInTheToolsConfiguration) {
    ShapeConfigRegistry registry;
    ShapeConfig& rect = registry.Find(1);
    EXPECT_FALSE(WriteAttribute(registry, 0, AttributeKind::kLineWidth, L"4"));
    EXPECT_FALSE(WriteAttribute(registry, 1, AttributeKind::kLineWidth, L""));
    EXPECT_FALSE(WriteAttribute(registry, 1, static_cast<AttributeKind>(9), L"4"));
    EXPECT_TRUE(WriteAttribute(registry, 1, AttributeKind::kLineWidth, L"4"));
    EXPECT_FALSE(WriteAttribute(registry, 1, AttributeKind::kLineWidth, L"abc"));
    EXPECT_EQ(rect.lineWidth, 4.0f);
    EXPECT_EQ(registry.Find(2).lineWidth, ShapeConfig().lineWidth);  // other tools untouched

    const std::pair<const wchar_t*, int> styles[] = {{L"0", 1}, {L"1", 2}, {L"2", 3}, {L"3", 0}, {L"7", 0}, {L"-1", 0}};
    for (const auto& [text, style] : styles) {
        EXPECT_TRUE(WriteAttribute(registry, 1, AttributeKind::kLineStyle, text));
        EXPECT_EQ(rect.lineStyle, style) << testing::PrintToString(std::wstring(text));
    }
    EXPECT_TRUE(WriteAttribute(registry, 2, AttributeKind::kColor, L"#00A870"));
    EXPECT_EQ(registry.Find(2).color, 0xFF00A870u);

    // Font values only mean something to the text tool; elsewhere they are accepted and dropped.
    EXPECT_TRUE(WriteAttribute(registry, 1, AttributeKind::kFontSize, L"20"));
    EXPECT_TRUE(WriteAttribute(registry, 1, AttributeKind::kFontName, L"Arial"));
    EXPECT_TRUE(WriteAttribute(registry, 7, AttributeKind::kFontSize, L"20"));
    EXPECT_TRUE(WriteAttribute(registry, 7, AttributeKind::kFontName, L"Arial"));
    EXPECT_EQ(registry.Get<TextConfig>().fontSize, 20);
    EXPECT_EQ(registry.Get<TextConfig>().fontName, L"Arial");
}
}  // namespace
