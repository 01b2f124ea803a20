#pragma once
// The window that shows the data grid's hints and tool tips: a borderless top-level window in the
// hint colour, sized to its text. A tool tip laid over a cell carries the cell's font and
// alignment, and with a fixed width wraps its text to the cell (TXHintData).

#include <string>

#include "platform/gui/custom_control.h"
#include "platform/gui/rect.h"
#include "platform/rtl/alignment.h"

namespace tv {

class TFont;

// What a tool tip takes from the cell it is laid over.
struct TXHintData {
    TFont* Font = nullptr;                     // the column's or total's font (none: the window's)
    TAlignment Alignment = taLeftJustify;      // the cell's alignment, already mirrored
    bool FixedWidth = false;                   // the text wraps to the given width
    bool RightToLeft = false;                  // the grid reads right to left
};

class TXHintWindow : public TCustomControl {
    TV_CLASS(TXHintWindow, TCustomControl)
public:
    explicit TXHintWindow(TComponent* AOwner = nullptr);

    // The window's rectangle at 0, 0 for `AHint`: as wide as the text (wrapped to MaxWidth with a
    // fixed width), plus 6 across and 2 down for the margins. Takes the font, alignment and
    // fixed width from AData (none: the window's font, left, not fixed) for the painting after.
    TRect CalcHintRect(int MaxWidth, const std::string& AHint, const TXHintData* AData);
    // Shows `AHint` in `Rect` (screen coordinates), above every window, without taking the focus.
    void ActivateHint(const TRect& Rect, const std::string& AHint);
    void ReleaseHandle();

    const std::string& Caption() const { return fCaption; }
    TAlignment Alignment() const { return fAlignment; }
    bool FixedWidth() const { return fFixedWidth; }

protected:
    void Paint() override;
    // A top-level window: shown without a parent.
    void UpdateWidgetVisibility() override;

private:
    // The lines the text takes: wrapped to `Width` with a fixed width, else its own lines.
    std::vector<std::string> TextLines(const std::string& Text, int Width);

    std::string fCaption;
    TAlignment fAlignment = taLeftJustify;
    bool fFixedWidth = false;
    bool fRightToLeft = false;
};

}  // namespace tv
