#pragma once
// The pen a canvas draws lines and outlines with: colour, width, dash style and the raster mode
// that combines it with what is already drawn.

#include "platform/gui/color.h"
#include "platform/gui/graphics_object.h"

namespace tv {

enum TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
TV_ENUM_INFO(TPenStyle, "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear",
             "psInsideFrame");

enum TPenMode : uint8_t {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};
TV_ENUM_INFO(TPenMode, "pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
             "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask",
             "pmXor", "pmNotXor");

class TPen : public TGraphicsObject {
    TV_CLASS(TPen, TGraphicsObject)
public:
    TPen() = default;

    TColor Color() const { return fColor; }
    void SetColor(TColor value);
    TPenMode Mode() const { return fMode; }
    void SetMode(TPenMode value);
    TPenStyle Style() const { return fStyle; }
    void SetStyle(TPenStyle value);
    int Width() const { return fWidth; }
    // Widths below 1 draw as 1.
    void SetWidth(int value);

    void Assign(TPersistent* Source) override;

private:
    TColor fColor = clBlack;
    TPenMode fMode = pmCopy;
    TPenStyle fStyle = psSolid;
    int fWidth = 1;
};

}  // namespace tv
