#include "toolbar/control_attributes.h"

#include <cwchar>

#include "ui_toolkit/ui_attributes.h"

uint32_t ParseControlColor(const std::wstring& text) {
    const wchar_t* digits = text.c_str();
    if (*digits == L'#') ++digits;
    // Past 32 bits the value stops at the largest one, as the Windows runtime's wcstoul does.
    const unsigned long long value = std::wcstoull(digits, nullptr, 16);
    const auto color = static_cast<uint32_t>(value > 0xFFFFFFFFull ? 0xFFFFFFFFull : value);
    return std::wcslen(digits) == 6 ? (color | 0xFF000000u) : color;
}

float ParseControlFloat(const std::wstring& text) { return static_cast<float>(std::wcstod(text.c_str(), nullptr)); }

bool ParseControlFlag(const std::wstring& text) { return text == L"true"; }

int ParseLineStyleWord(const std::wstring& text) { return text == L"dash" ? 3 : text == L"dot" ? 2 : 1; }

int ParseDashStyleWord(const std::wstring& text) { return text == L"dash" ? 1 : text == L"dot" ? 2 : 0; }

bool ParseInset(const std::wstring& text, base::Rect& inset) {
    base::Rect read;
    if (std::swscanf(text.c_str(), L"%d,%d,%d,%d", &read.left, &read.top, &read.right, &read.bottom) != 4) {
        return false;
    }
    inset = read;
    return true;
}

namespace {

using Text = const std::wstring&;
using Effect = AttributeEffect;

// One attribute of a control: its name, what it sets and which repaint it asks for.
template <class Look>
struct AttributeRule {
    const wchar_t* name;
    Effect effect;
    void (*apply)(Look&, Text);
};

template <class Look, size_t N>
Effect ApplyRule(const AttributeRule<Look> (&rules)[N], Look& look, Text name, Text value) {
    for (const AttributeRule<Look>& rule : rules) {
        if (name == rule.name) {
            rule.apply(look, value);
            return rule.effect;
        }
    }
    return Effect::kNotMine;
}

const AttributeRule<ColorBlockLook> kColorBlockRules[] = {
    {L"blockcolor", Effect::kRepaint, [](ColorBlockLook& l, Text v) { l.blockColor = ParseControlColor(v); }},
    {L"bordercolor", Effect::kRepaint, [](ColorBlockLook& l, Text v) { l.borderColor = ParseControlColor(v); }},
    {L"selectedbordercolor", Effect::kRepaintIfSelected,
     [](ColorBlockLook& l, Text v) { l.selectedBorderColor = ParseControlColor(v); }},
    {L"borderwidth", Effect::kRepaint, [](ColorBlockLook& l, Text v) { l.borderWidth = ParseControlFloat(v); }},
    {L"selectedborderwidth", Effect::kRepaintIfSelected,
     [](ColorBlockLook& l, Text v) { l.selectedBorderWidth = ParseControlFloat(v); }},
    {L"innerpadding", Effect::kRepaint,
     [](ColorBlockLook& l, Text v) { l.innerPadding = DuiLib::ParseIntAttribute(v); }},
};

const AttributeRule<ShapePreviewLook> kShapeRules[] = {
    {L"shape_type", Effect::kRepaint, [](ShapePreviewLook& l, Text v) { l.shapeType = ShapeTypeFromName(v); }},
    {L"shape_color", Effect::kRepaint, [](ShapePreviewLook& l, Text v) { l.generic.color = ParseControlColor(v); }},
    {L"shape_linewidth", Effect::kRepaint,
     [](ShapePreviewLook& l, Text v) { l.generic.lineWidth = ParseControlFloat(v); }},
    {L"shape_linestyle", Effect::kRepaint,
     [](ShapePreviewLook& l, Text v) { l.generic.lineStyle = ParseLineStyleWord(v); }},
    {L"arrow_size", Effect::kKept, [](ShapePreviewLook& l, Text v) { l.arrow.headSize = ParseControlFloat(v); }},
    {L"fill_arrow", Effect::kKept, [](ShapePreviewLook& l, Text v) { l.arrow.fillHead = ParseControlFlag(v); }},
    {L"taper_effect", Effect::kKept, [](ShapePreviewLook& l, Text v) { l.arrow.taper = ParseControlFlag(v); }},
    {L"taper_direction", Effect::kKept,
     [](ShapePreviewLook& l, Text v) { l.arrow.taperTowardsHead = ParseControlFlag(v); }},
    {L"line_color", Effect::kKept, [](ShapePreviewLook& l, Text v) { l.line.color = ParseControlColor(v); }},
    {L"line_width", Effect::kKept, [](ShapePreviewLook& l, Text v) { l.line.lineWidth = ParseControlFloat(v); }},
    {L"line_style", Effect::kKept, [](ShapePreviewLook& l, Text v) { l.line.lineStyle = ParseLineStyleWord(v); }},
    {L"freeline_color", Effect::kKept, [](ShapePreviewLook& l, Text v) { l.freeLine.color = ParseControlColor(v); }},
    {L"freeline_width", Effect::kKept,
     [](ShapePreviewLook& l, Text v) { l.freeLine.lineWidth = ParseControlFloat(v); }},
    {L"freeline_style", Effect::kKept,
     [](ShapePreviewLook& l, Text v) { l.freeLine.lineStyle = ParseLineStyleWord(v); }},
    {L"freeline_antialias", Effect::kKept,
     [](ShapePreviewLook& l, Text v) { l.freeLine.antialias = ParseControlFlag(v); }},
};

constexpr wchar_t kExamplePrefix[] = L"shape_example_";

const AttributeRule<ShapeExampleLook> kExampleRules[] = {
    {L"shape_example_bordercolor", Effect::kKept,
     [](ShapeExampleLook& l, Text v) { l.borderColor = ParseControlColor(v); }},
    {L"shape_example_borderwidth", Effect::kKept,
     [](ShapeExampleLook& l, Text v) { l.borderWidth = ParseControlFloat(v); }},
    {L"shape_example_inset", Effect::kKept, [](ShapeExampleLook& l, Text v) { ParseInset(v, l.inset); }},
    {L"shape_example_bordertype", Effect::kKept,
     [](ShapeExampleLook& l, Text v) { l.borderDash = ParseDashStyleWord(v); }},
    {L"shape_example_text", Effect::kCaption, [](ShapeExampleLook&, Text) {}},
};

}  // namespace

AttributeEffect ApplyColorBlockAttribute(ColorBlockLook& look, const std::wstring& name, const std::wstring& value) {
    return ApplyRule(kColorBlockRules, look, name, value);
}

AttributeEffect ApplyShapeAttribute(ShapePreviewLook& look, const std::wstring& name, const std::wstring& value) {
    return ApplyRule(kShapeRules, look, name, value);
}

AttributeEffect ApplyShapeExampleAttribute(ShapeExampleLook& look, const std::wstring& name,
                                           const std::wstring& value) {
    const Effect effect = ApplyRule(kExampleRules, look, name, value);
    if (effect == Effect::kNotMine && name.compare(0, std::wcslen(kExamplePrefix), kExamplePrefix) == 0) {
        return Effect::kKept;  // one of the example's names that it does not know: ignored
    }
    return effect;
}
