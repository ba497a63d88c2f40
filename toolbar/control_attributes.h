// The layout attributes of the toolbar's custom drawn controls (the colour block option and the
// two shape previews): how their values are read, the look each control keeps, and which repaint
// a change asks for. Whole numbers are read as the toolkit reads them (ParseIntAttribute). Pure
// code; the controls themselves are in *_control_win.h.
#pragma once

#include <cstdint>
#include <string>

#include "annotation/shape_config.h"
#include "base/geometry.h"

// Value rules of these attributes. The colour rule is not the attribute bar's: one leading "#"
// is skipped and the rest read as hexadecimal; exactly six characters are made opaque, any other
// text stands as read (so eight digits with alpha 00 give a transparent colour).
uint32_t ParseControlColor(const std::wstring& text);
float ParseControlFloat(const std::wstring& text);
// Only exactly "true" is true.
bool ParseControlFlag(const std::wstring& text);
// A line style (shape_config.h): "dash" 3, "dot" 2, any other word 1 (solid).
int ParseLineStyleWord(const std::wstring& text);
// A GDI+ dash style: "dash" 1, "dot" 2, any other word 0 (solid).
int ParseDashStyleWord(const std::wstring& text);
// "left,top,right,bottom" into inset; false, and inset unchanged, unless all four are read.
bool ParseInset(const std::wstring& text, base::Rect& inset);

// What setting an attribute asks of the control.
enum class AttributeEffect {
    kNotMine,            // not one of the control's own: its base class takes it
    kKept,               // taken; seen at the next paint
    kRepaint,            // taken; repaint now
    kRepaintIfSelected,  // taken; repaint now when the option is selected (its selected look)
    kCaption,            // the value is the example control's caption text
};

// The colour block option: a block of its colour inside a border.
struct ColorBlockLook {
    uint32_t blockColor = 0xFFFFFFFF;
    uint32_t borderColor = 0xFF000000;
    uint32_t selectedBorderColor = 0xFF0078D7;
    float borderWidth = 1.0f;
    float selectedBorderWidth = 2.0f;
    int innerPadding = 5;  // between the border's width and the block
};

// The shape preview: its type and one configuration of each kind it can draw, all starting from
// the configuration defaults.
struct ShapePreviewLook {
    int shapeType = 0;  // ShapeTypeFromName; 0 draws nothing
    // "shape_color", "shape_linewidth", "shape_linestyle": kept, but no preview draws with them;
    // the rectangle, ellipse and arrow keep their defaults.
    ShapeConfig generic;
    RectangleConfig rectangle;
    EllipseConfig ellipse;
    ArrowConfig arrow;
    LineConfig line;
    FreeLineConfig freeLine;
};

// The example control's frame around its preview.
struct ShapeExampleLook {
    uint32_t borderColor = 0xFFFFFFFF;
    float borderWidth = 1.0f;
    int borderDash = 0;  // GDI+ dash style
    base::Rect inset;    // amounts taken off each side of the control for the preview
};

// Each applies one attribute (names compared exactly, case included).
AttributeEffect ApplyColorBlockAttribute(ColorBlockLook& look, const std::wstring& name, const std::wstring& value);
AttributeEffect ApplyShapeAttribute(ShapePreviewLook& look, const std::wstring& name, const std::wstring& value);
// Names with the "shape_example_" prefix are all the example's: the unknown ones are ignored
// (kKept); names without it are kNotMine, for the shape preview's own handling.
AttributeEffect ApplyShapeExampleAttribute(ShapeExampleLook& look, const std::wstring& name,
                                           const std::wstring& value);
