// The look of each annotation tool: line width, colour, line style and what belongs to its kind.
// One process-wide registry holds the current configuration of each of the seven shape types
// (the tool numbers 1 to 7). A shape copies its type's configuration when it is made and when
// it reloads; picking a shape on the canvas copies its configuration back, so the attribute bar
// shows it. Nothing of it is stored on disk: every start begins from the defaults below.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

// Colours are 0xAARRGGBB; widths and sizes are overlay pixels.
struct ShapeConfig {
    virtual ~ShapeConfig() = default;
    float lineWidth = 2.0f;
    uint32_t color = 0xFF009BFF;
    int lineStyle = 1;  // 1 solid, 2 dotted, 3 dashed; any other value draws solid
};

// The side of the square handles of a selected rectangle, ellipse or line: they follow the line
// width. The shapes' extents and the painter both use it, so the handles never paint outside.
inline int HandleSize(const ShapeConfig& config) { return static_cast<int>(config.lineWidth + 3); }

// The rectangle's and the ellipse's fields (the two classes stay distinct types).
struct BoxConfig : ShapeConfig {
    int handleSize = 4;
    uint32_t handleFill = 0xFF009BFF;
    uint32_t handleOutline = 0xFFFFFFFF;
    float handleOutlineWidth = 1.0f;
    int hitTolerance = 8;
    int minimumSize = 5;
};

struct RectangleConfig : BoxConfig {
    static constexpr int kType = 1;
};

struct EllipseConfig : BoxConfig {
    static constexpr int kType = 2;
    EllipseConfig() {
        handleSize = 8;
        handleFill = 0xFFFFFFFF;
        handleOutline = 0xFF000000;
        minimumSize = 10;
    }
};

struct ArrowConfig : ShapeConfig {
    static constexpr int kType = 3;
    float headSize = 16.0f;
    bool fillHead = true;
    bool taper = true;
    bool taperTowardsHead = true;  // narrow at the tail, wide at the head
    int handleSize = 10;
    uint32_t handleFill = 0xFFFFFFFF;
    uint32_t handleOutline = 0xFF4169E1;
    float handleOutlineWidth = 2.0f;
    int hitTolerance = 10;
    int minimumLength = 5;
};

struct LineConfig : ShapeConfig {
    static constexpr int kType = 4;
    int handleSize = 4;
    uint32_t handleFill = 0xFF0000FF;
    uint32_t handleOutline = 0xFFFFFFFF;
    int hitTolerance = 8;
    int minimumLength = 5;
};

struct FreeLineConfig : ShapeConfig {
    static constexpr int kType = 5;
    int hitTolerance = 10;
    bool antialias = true;
};

struct MosaicConfig : ShapeConfig {
    static constexpr int kType = 6;
};

struct TextConfig : ShapeConfig {
    static constexpr int kType = 7;
    uint32_t textColor = 0xFF000000;
    std::wstring fontName = L"黑体";
    int fontSize = 14;  // points
};

class ShapeConfigRegistry {
public:
    // The process-wide registry, made on first use.
    static ShapeConfigRegistry& Instance();

    // A registry holding the seven defaults (tests make their own).
    ShapeConfigRegistry();
    ShapeConfigRegistry(const ShapeConfigRegistry&) = delete;
    ShapeConfigRegistry& operator=(const ShapeConfigRegistry&) = delete;

    // The configuration of a type number; throws std::runtime_error "Unknown shape type".
    ShapeConfig& Find(int type);

    // The configuration as its class; throws "Unknown shape type" or "Invalid config type".
    template <class Config>
    Config& Get() {
        auto* config = dynamic_cast<Config*>(&Find(Config::kType));
        if (!config) throw std::runtime_error("Invalid config type");
        return *config;
    }

    // Puts an object of another class under a type number; only for testing the lookups.
    void ReplaceForTest(int type, std::unique_ptr<ShapeConfig> config) { entries_[type] = std::move(config); }

private:
    std::map<int, std::unique_ptr<ShapeConfig>> entries_;
};

// The preview control's names: "rectangle" 1 … "freeline" 5; any other name gives 0.
int ShapeTypeFromName(const std::wstring& name);
// The summary names of all seven types ("rectangle" … "text"); empty for other numbers.
const wchar_t* ShapeTypeName(int type);

// The GDI+ dash style of a line style: 2 dotted gives DashStyleDot (2), 3 dashed gives
// DashStyleDash (1), everything else solid (0).
int DashStyleOf(int lineStyle);
