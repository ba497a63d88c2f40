// The shape configuration registry and the name and dash style tables beside it.
#include <gtest/gtest.h>

#include "annotation/shape_config.h"

namespace {

// The message of the std::runtime_error f throws; "" when none.
template <class F>
std::string ErrorOf(F f) {
    try {
        f();
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

TEST(ShapeConfigRegistry, EachToolHasItsOwnClassAndBadLookupsThrow) {
    ShapeConfigRegistry registry;
    EXPECT_EQ(&registry.Find(1), &registry.Get<RectangleConfig>());
    EXPECT_EQ(&registry.Find(2), &registry.Get<EllipseConfig>());
    EXPECT_EQ(&registry.Find(3), &registry.Get<ArrowConfig>());
    EXPECT_EQ(&registry.Find(5), &registry.Get<FreeLineConfig>());
    EXPECT_EQ(&registry.Find(7), &registry.Get<TextConfig>());
    EXPECT_EQ(dynamic_cast<EllipseConfig*>(&registry.Find(1)), nullptr);  // same base, other class
    registry.Get<RectangleConfig>().color = 0xFFFF0000;
    EXPECT_EQ(registry.Get<EllipseConfig>().color, ShapeConfig().color);

    EXPECT_EQ(ErrorOf([&] { registry.Find(0); }), "Unknown shape type");
    EXPECT_EQ(ErrorOf([&] { registry.Find(8); }), "Unknown shape type");
    registry.ReplaceForTest(1, std::make_unique<EllipseConfig>());
    EXPECT_EQ(ErrorOf([&] { registry.Get<RectangleConfig>(); }), "Invalid config type");
    registry.ReplaceForTest(3, nullptr);
    EXPECT_EQ(ErrorOf([&] { registry.Get<ArrowConfig>(); }), "Unknown shape type");
}

TEST(ShapeConfigNames, PreviewNamesSummaryNamesAndDashStyles) {
    const wchar_t* const names[] = {L"rectangle", L"ellipse", L"arrow", L"line", L"freeline", L"mosaic", L"text"};
    for (int type = 1; type <= 7; ++type) {
        EXPECT_EQ(std::wstring(ShapeTypeName(type)), names[type - 1]);
        EXPECT_EQ(ShapeTypeFromName(names[type - 1]), type <= 5 ? type : 0) << type;
    }
    for (const wchar_t* other : {L"Arrow", L"", L"arrow "}) EXPECT_EQ(ShapeTypeFromName(other), 0);
    EXPECT_EQ(std::wstring(ShapeTypeName(0)) + ShapeTypeName(8), L"");

    const int dashes[] = {0, 0, 2, 1, 0};  // styles 0..4: only dotted (2) and dashed (3) differ
    for (int style = 0; style <= 4; ++style) EXPECT_EQ(DashStyleOf(style), dashes[style]) << style;
}

}  // namespace
