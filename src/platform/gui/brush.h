#pragma once
// The brush a canvas fills areas with: a colour and a fill pattern (solid, hatched or none).

#include "platform/gui/color.h"
#include "platform/gui/graphics_object.h"

namespace tv {

enum TBrushStyle : uint8_t {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};
TV_ENUM_INFO(TBrushStyle, "bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal",
             "bsCross", "bsDiagCross");

class TBrush : public TGraphicsObject {
    TV_CLASS(TBrush, TGraphicsObject)
public:
    TBrush() = default;

    TColor Color() const { return fColor; }
    // Choosing clNone clears the brush, as the class library does.
    void SetColor(TColor value);
    TBrushStyle Style() const { return fStyle; }
    void SetStyle(TBrushStyle value);

    void Assign(TPersistent* Source) override;

private:
    TColor fColor = clWhite;
    TBrushStyle fStyle = bsSolid;
};

}  // namespace tv
