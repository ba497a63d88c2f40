#include "toolbar/attribute_values.h"

#include <cwchar>
#include <stdexcept>

namespace {

constexpr uint32_t kOpaqueBlack = 0xFF000000;

// Leading decimal digits (with an optional sign); none read as 0.
int LeadingInt(const std::wstring& text) { return static_cast<int>(std::wcstol(text.c_str(), nullptr, 10)); }

}  // namespace

const wchar_t* AttributePageName(int tool) {
    if (tool >= 1 && tool <= 5) return L"normal_attribute_page";
    if (tool == 7) return L"text_attribute_page";
    return nullptr;
}

int NormalPageWidth(int tool) { return tool == 3 ? 390 : 525; }

bool ShowsLineStyle(int tool) { return tool != 3; }

uint32_t ParseColorText(const std::wstring& text) {
    std::wstring digits = !text.empty() && text[0] == L'#' ? text.substr(1) : text;
    if (digits.size() == 9) digits.erase(0, 1);
    if (digits.size() != 6 && digits.size() != 8) return kOpaqueBlack;
    const auto value = static_cast<uint32_t>(std::wcstoul(digits.c_str(), nullptr, 16));
    return digits.size() == 6 ? (value | 0xFF000000u) : value;
}

int LineWidthEntry(float lineWidth) { return static_cast<int>(lineWidth - 1); }

int LineStyleEntry(int lineStyle) { return lineStyle >= 1 && lineStyle <= 3 ? lineStyle - 1 : -1; }

bool WriteAttribute(ShapeConfigRegistry& registry, int tool, AttributeKind kind, const std::wstring& text) {
    if (tool == 0 || text.empty()) return false;
    ShapeConfig& config = registry.Find(tool);
    auto* textConfig = dynamic_cast<TextConfig*>(&config);
    switch (kind) {
        case AttributeKind::kLineWidth:
            // Only the combo's "1" to "5" arrive here; anything else changes nothing.
            try {
                config.lineWidth = std::stof(text);
            } catch (const std::logic_error&) {
                return false;
            }
            return true;
        case AttributeKind::kLineStyle: {
            const int entry = LeadingInt(text);
            config.lineStyle = entry >= 0 && entry <= 2 ? entry + 1 : 0;
            return true;
        }
        case AttributeKind::kColor: config.color = ParseColorText(text); return true;
        case AttributeKind::kFontSize:
            if (textConfig) textConfig->fontSize = LeadingInt(text);
            return true;
        case AttributeKind::kFontName:
            if (textConfig) textConfig->fontName = text;
            return true;
        default: return false;
    }
}
