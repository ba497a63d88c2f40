// The custom controls' attribute rules: reading values, and what each attribute sets.
#include <gtest/gtest.h>

#include "toolbar/control_attributes.h"

namespace {

using Effect = AttributeEffect;

TEST(ControlAttributes, ValueRules) {
    const std::pair<const wchar_t*, uint32_t> colours[] = {
        {L"#FF3141", 0xFFFF3141}, {L"000000", 0xFF000000},  // six characters: always opaque
        {L"#0000A870", 0x0000A870}, {L"#12345", 0x00012345}, {L"#1FFFFFFFF", 0xFFFFFFFF}, {L"", 0}};
    for (const auto& [text, colour] : colours) EXPECT_EQ(ParseControlColor(text), colour) << colour;
    EXPECT_EQ(ParseControlFloat(L"2.5px"), 2.5f);
    EXPECT_TRUE(ParseControlFlag(L"true"));
    for (const wchar_t* text : {L"True", L"1", L"true ", L""}) EXPECT_FALSE(ParseControlFlag(text));
    const std::pair<const wchar_t*, int> words[] = {{L"dash", 3}, {L"dot", 2}, {L"solid", 1}, {L"Dash", 1}};
    for (const auto& [word, style] : words) {
        EXPECT_EQ(ParseLineStyleWord(word), style) << style;
        EXPECT_EQ(ParseDashStyleWord(word), style == 3 ? 1 : style == 2 ? 2 : 0) << style;
    }
    base::Rect inset{1, 1, 1, 1};
    EXPECT_FALSE(ParseInset(L"5,6,7", inset));  // three numbers: unchanged
    EXPECT_EQ(inset, (base::Rect{1, 1, 1, 1}));
    EXPECT_TRUE(ParseInset(L"5,6,-7,8", inset));
    EXPECT_EQ(inset, (base::Rect{5, 6, -7, 8}));
}

struct Case {
    const wchar_t* name;
    const wchar_t* value;
    Effect effect;
};

// Applies each case in turn to look, checking the effect it reports.
template <class Look>
void ExpectEffects(Effect (*apply)(Look&, const std::wstring&, const std::wstring&), Look& look,
                   std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(apply(look, c.name, c.value), c.effect) << testing::PrintToString(std::wstring(c.name));
    }
}

TEST(ControlAttributes, ColourBlockAndRepaints) {
    ColorBlockLook look;
    // Names in another case, and other names, belong to the option.
    ExpectEffects(&ApplyColorBlockAttribute, look,
                  {{L"blockcolor", L"#00A870", Effect::kRepaint}, {L"innerpadding", L"3", Effect::kRepaint},
                   {L"selectedborderwidth", L"3.5", Effect::kRepaintIfSelected},
                   {L"selectedbordercolor", L"#FF8C00", Effect::kRepaintIfSelected},
                   {L"BlockColor", L"#FFFFFF", Effect::kNotMine}, {L"selected", L"true", Effect::kNotMine}});
    EXPECT_EQ(look.innerPadding, 3);
    EXPECT_EQ(look.selectedBorderWidth, 3.5f);
    EXPECT_EQ(look.borderColor, 0xFF000000u);
}

TEST(ControlAttributes, ShapePreviewAndExample) {
    ShapePreviewLook look;
    ExpectEffects(&ApplyShapeAttribute, look,
                  {{L"shape_type", L"arrow", Effect::kRepaint}, {L"shape_color", L"#FF3141", Effect::kRepaint},
                   {L"fill_arrow", L"yes", Effect::kKept}, {L"line_style", L"dot", Effect::kKept},
                   {L"freeline_width", L"6", Effect::kKept}, {L"Shape_Type", L"line", Effect::kNotMine}});
    EXPECT_EQ(look.shapeType, 3);
    EXPECT_EQ(look.rectangle.color, 0xFF009BFFu);  // the previews keep their own defaults
    EXPECT_FALSE(look.arrow.fillHead);
    EXPECT_EQ(look.line.lineStyle, 2);
    ApplyShapeAttribute(look, L"shape_type", L"mosaic");
    EXPECT_EQ(look.shapeType, 0);

    ShapeExampleLook example;
    // Unknown names with the example's prefix are ignored; others go to the shape preview.
    ExpectEffects(&ApplyShapeExampleAttribute, example,
                  {{L"shape_example_inset", L"4,5,6,7", Effect::kKept}, {L"shape_example_text", L"x", Effect::kCaption},
                   {L"shape_example_bordertype", L"dot", Effect::kKept},
                   {L"shape_example_colour", L"#FF0000", Effect::kKept}, {L"shape_type", L"line", Effect::kNotMine}});
    EXPECT_EQ(example.inset, (base::Rect{4, 5, 6, 7}));
    EXPECT_EQ(example.borderDash, 2);
}

}  // namespace
