#pragma once
// The data navigator: a row of ten buttons that move through the dataset behind a data source and
// insert, delete, edit, post, cancel and refresh its records. A button is enabled only while its
// action makes sense in the dataset's state; Delete asks "Delete record?" first (ConfirmDelete);
// Prior and Next repeat while held (after 400 ms, then every 100 ms, on the timer clock). Each
// button's hint names its action.
//
// The buttons are made by CreateButton, so that a navigator of another look can bring buttons of
// its own; the data behaviour stays here.

#include <array>
#include <memory>
#include <string>

#include "platform/data/data_source.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/custom_control.h"
#include "platform/gui/data_set_operations.h"
#include "platform/gui/graphic_control.h"
#include "platform/rtl/enum_set.h"
#include "platform/rtl/string_list.h"

namespace tv {

class TTimer;

inline constexpr std::string_view kDeleteRecordQuestion = "Delete record?";

class TDBNavigator;
using TNavClick = TEvent<void(TObject* Sender, TNavigateBtn Button)>;

// One button of a navigator: pressed by the left mouse button, clicked when released over it.
class TNavButton : public TGraphicControl {
    TV_CLASS(TNavButton, TGraphicControl)
public:
    explicit TNavButton(TComponent* AOwner = nullptr);
    ~TNavButton() override;

    TNavigateBtn Index() const { return fIndex; }
    void SetIndex(TNavigateBtn value) { fIndex = value; }
    // Shown pressed: held down by the mouse.
    bool Down() const { return fDown; }
    // The button's image: its up and disabled looks side by side (NumGlyphs of them).
    TBitmap* Glyph() const { return fGlyph.get(); }
    int NumGlyphs() const { return fNumGlyphs; }
    void SetNumGlyphs(int value) { fNumGlyphs = value; }
    bool Flat() const { return fFlat; }
    void SetFlat(bool value);
    // Clicks again while held (Prior and Next).
    bool AutoRepeat() const { return fAutoRepeat; }
    void SetAutoRepeat(bool value) { fAutoRepeat = value; }

    void SetEnabled(bool value) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool ClicksOnMouseUp() const override { return false; }
    // The image of the state (0 up, 1 disabled) from the glyph.
    TRect GlyphPart(int part) const;
    // Held down by the mouse and the pointer over it.
    bool fDown = false;
    bool fDragging = false;

private:
    void RepeatTick();

    TNavigateBtn fIndex = nbFirst;
    std::unique_ptr<TBitmap> fGlyph;
    int fNumGlyphs = 2;
    bool fFlat = false;
    bool fAutoRepeat = false;
    std::unique_ptr<TTimer> fRepeat;
};

class TDBNavigator : public TCustomControl {
    TV_CLASS(TDBNavigator, TCustomControl)
public:
    explicit TDBNavigator(TComponent* AOwner = nullptr);
    ~TDBNavigator() override;

    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* value);
    // The buttons shown; the others are hidden, the shown ones share the width.
    TNavButtonSet VisibleButtons() const { return fVisibleButtons; }
    void SetVisibleButtons(TNavButtonSet value);
    bool ConfirmDelete() const { return fConfirmDelete; }
    void SetConfirmDelete(bool value) { fConfirmDelete = value; }
    bool Flat() const { return fFlat; }
    virtual void SetFlat(bool value);
    // Hint of each button in button order; an empty or missing line takes the default.
    TStrings* Hints() const { return fHints.get(); }
    void SetHints(TStrings* value);

    TNavButton* Buttons(TNavigateBtn button) const { return fButtons[button]; }
    void SetEnabled(bool value) override;
    // Does what the button stands for: BeforeAction, the action, then OnClick.
    void BtnClick(TNavigateBtn button);

    // Before an action; it may raise to stop it.
    TNavClick BeforeAction;
    TNavClick OnClick;

protected:
    // Builds the ten buttons; a derived navigator calls it from its own constructor.
    void InitButtons();
    // A new button of the kind (owned by the navigator); the default is a TNavButton.
    virtual TNavButton* CreateButton(TNavigateBtn kind);
    // The buttons' enabled states, from the dataset's state.
    void UpdateButtonStates();
    // Places the shown buttons side by side over the width.
    void LayoutButtons();
    void Resize() override;
    std::array<TNavButton*, kNavButtonCount> fButtons{};

private:
    class TNavDataLink;
    void ApplyHints();

    std::unique_ptr<TNavDataLink> fDataLink;
    std::unique_ptr<TStrings> fHints;
    TNavButtonSet fVisibleButtons = kAllNavButtons;
    bool fConfirmDelete = true;
    bool fFlat = false;
};

// The default image of a navigator button: its up and disabled looks side by side, each
// `size` pixels square, on the olive colour that stands for transparent.
std::unique_ptr<TBitmap> NavigatorGlyph(TNavigateBtn kind, int size = 16);
inline constexpr TColor kGlyphTransparentColor = 0x008080;  // olive

}  // namespace tv
