#pragma once
// Two small settings objects of the data grid: its row spacings and cell margins (GridStyle), set
// in one go by a visual style, and the look of its scroll bars (ScrollProp). Flat scroll bars are
// never used here, so the scroll bars' colour and style are kept without effect; AutoHidden and
// ThumbBar still shape the bars the grid feeds.

#include <cstdint>

#include "controls/xdb_grid_types.h"
#include "platform/gui/color.h"
#include "platform/rtl/persistent.h"

namespace tv {

class TXCustomDBGrid;

enum TVisualStyle : uint8_t { vsCustom, vsDefault, vsStandard, vsXPStyle };
TV_ENUM_INFO(TVisualStyle, "vsCustom", "vsDefault", "vsStandard", "vsXPStyle");

// The six spacings in the order the visual styles give them.
struct TGridSpacing {
    int DataRowSpace;
    int HeaderRowSpace;
    int TitleColMargin;
    int TitleRowSpace;
    int TotalColMargin;
    int TotalRowSpace;
    friend bool operator==(const TGridSpacing&, const TGridSpacing&) = default;
};
inline constexpr TGridSpacing kStandardSpacing{3, 4, 0, 4, 0, 4};
inline constexpr TGridSpacing kXPStyleSpacing{4, 8, 1, 8, 0, 8};

class TXGridStyle : public TPersistent {
    TV_CLASS(TXGridStyle, TPersistent)
public:
    explicit TXGridStyle(TXCustomDBGrid* AGrid);

    TXCustomDBGrid* Grid() const { return fGrid; }
    const TGridSpacing& Spacing() const { return fSpacing; }
    // Pixels added to the text height of a data, header, title and total row; the horizontal inset
    // of title and total texts. Writing one makes the style vsCustom and lays the grid out again.
    int DataRowSpace() const { return fSpacing.DataRowSpace; }
    void SetDataRowSpace(int value) { SetSpace(&TGridSpacing::DataRowSpace, value, true); }
    int HeaderRowSpace() const { return fSpacing.HeaderRowSpace; }
    void SetHeaderRowSpace(int value) { SetSpace(&TGridSpacing::HeaderRowSpace, value, true); }
    int TitleColMargin() const { return fSpacing.TitleColMargin; }
    void SetTitleColMargin(int value) { SetSpace(&TGridSpacing::TitleColMargin, value, false); }
    int TitleRowSpace() const { return fSpacing.TitleRowSpace; }
    void SetTitleRowSpace(int value) { SetSpace(&TGridSpacing::TitleRowSpace, value, true); }
    int TotalColMargin() const { return fSpacing.TotalColMargin; }
    void SetTotalColMargin(int value) { SetSpace(&TGridSpacing::TotalColMargin, value, false); }
    int TotalRowSpace() const { return fSpacing.TotalRowSpace; }
    void SetTotalRowSpace(int value) { SetSpace(&TGridSpacing::TotalRowSpace, value, true); }
    // vsStandard and vsXPStyle set the six values; vsDefault is one of them by whether the grid is
    // themed and stays vsDefault (writing it again applies it again); vsCustom keeps the values.
    TVisualStyle VisualStyle() const { return fVisualStyle; }
    void SetVisualStyle(TVisualStyle value);
    // The spacings are stored in a form description only with vsCustom.
    bool SpacingStored() const { return fVisualStyle == vsCustom; }

    void Assign(TPersistent* Source) override;

private:
    void SetSpace(int TGridSpacing::*member, int value, bool rowSpace);
    void Apply(const TGridSpacing& spacing);
    // Stores the style and sets the values it gives.
    void ApplyStyle(TVisualStyle value);

    TXCustomDBGrid* fGrid;
    TGridSpacing fSpacing = kXPStyleSpacing;
    TVisualStyle fVisualStyle = vsXPStyle;
};

enum TScrollBarStyle : uint8_t { ssRegular, ssFlat, ssHotTrack };
TV_ENUM_INFO(TScrollBarStyle, "ssRegular", "ssFlat", "ssHotTrack");

class TXScrollProp : public TPersistent {
    TV_CLASS(TXScrollProp, TPersistent)
public:
    explicit TXScrollProp(TXCustomDBGrid* AGrid);

    TXCustomDBGrid* Grid() const { return fGrid; }
    // The bars that disappear when there is nothing to scroll.
    TScrollStyle AutoHidden() const { return fAutoHidden; }
    void SetAutoHidden(TScrollStyle value);
    // While the grid stretches its columns it shows no horizontal bar.
    bool AutoStretch() const { return fAutoStretch; }
    void SetAutoStretch(bool value);
    TColor Color() const { return fColor; }
    void SetColor(TColor value);
    bool ParentColor() const { return fParentColor; }
    void SetParentColor(bool value);
    bool ParentStyle() const { return fParentStyle; }
    void SetParentStyle(bool value);
    TScrollBarStyle Style() const { return fStyle; }
    void SetStyle(TScrollBarStyle value);
    // The bars whose thumb is sized in proportion to the part shown.
    TScrollStyle ThumbBar() const { return fThumbBar; }
    void SetThumbBar(TScrollStyle value);
    bool WinXPMode() const { return fWinXPMode; }
    void SetWinXPMode(bool value);

    // The grid's FixedStyle changed: the style follows it while ParentStyle is on.
    void FixedStyleChanged();
    // The style the grid's FixedStyle gives.
    static TScrollBarStyle StyleFor(TFixedStyle fixedStyle);
    void Assign(TPersistent* Source) override;

protected:
    // Applies colour and style to the grid's flat scroll bars, which are never in use here.
    virtual void Change() {}

private:
    void ScrollBarsChanged();

    TXCustomDBGrid* fGrid;
    TScrollStyle fAutoHidden = ssHorizontal;
    bool fAutoStretch = true;
    TColor fColor = clBtnHighlight;
    bool fParentColor = true;
    bool fParentStyle = true;
    TScrollBarStyle fStyle = ssRegular;
    TScrollStyle fThumbBar = ssBoth;
    bool fWinXPMode = false;
};

}  // namespace tv
