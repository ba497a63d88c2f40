#include "annotation/shape_config.h"

ShapeConfigRegistry& ShapeConfigRegistry::Instance() {
    static ShapeConfigRegistry registry;
    return registry;
}

ShapeConfigRegistry::ShapeConfigRegistry() {
    entries_[RectangleConfig::kType] = std::make_unique<RectangleConfig>();
    entries_[EllipseConfig::kType] = std::make_unique<EllipseConfig>();
    entries_[ArrowConfig::kType] = std::make_unique<ArrowConfig>();
    entries_[LineConfig::kType] = std::make_unique<LineConfig>();
    entries_[FreeLineConfig::kType] = std::make_unique<FreeLineConfig>();
    entries_[MosaicConfig::kType] = std::make_unique<MosaicConfig>();
    entries_[TextConfig::kType] = std::make_unique<TextConfig>();
}

ShapeConfig& ShapeConfigRegistry::Find(int type) {
    const auto found = entries_.find(type);
    if (found == entries_.end() || !found->second) throw std::runtime_error("Unknown shape type");
    return *found->second;
}

int ShapeTypeFromName(const std::wstring& name) {
    static const std::map<std::wstring, int> kTypes = {
        {L"rectangle", 1}, {L"ellipse", 2}, {L"arrow", 3}, {L"line", 4}, {L"freeline", 5}};
    const auto found = kTypes.find(name);
    return found == kTypes.end() ? 0 : found->second;
}

const wchar_t* ShapeTypeName(int type) {
    static const wchar_t* const kNames[] = {L"rectangle", L"ellipse", L"arrow", L"line",
                                            L"freeline",  L"mosaic",  L"text"};
    return type >= 1 && type <= 7 ? kNames[type - 1] : L"";
}

int DashStyleOf(int lineStyle) {
    switch (lineStyle) {
        case 2: return 2;
        case 3: return 1;
        default: return 0;
    }
}
