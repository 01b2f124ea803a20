#pragma once
// The calculator the grid's editor drops down for a number: a display over 28 buttons, the state
// machine of xdb_popup_calc_engine.h behind them. The buttons and the keys typed give the same
// command characters; Delete is CE and F9 +/-. "OK" (or the editor's Enter) closes it up.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "controls/xdb_popup.h"
#include "controls/xdb_popup_calc_engine.h"
#include "platform/gui/bit_btn.h"
#include "platform/gui/panel.h"

namespace tv {

class TXFGradient;

// One button of the calculator: caption, place and width (all are 22 high), caption colour and
// the command character it gives.
struct TXCalcButtonInfo {
    const char* caption;
    int16_t left;
    int16_t top;
    int16_t width;
    TColor colour;
    char16_t command;
};

inline constexpr TColor kCalcBlue = RGB(0, 0, 255);
inline constexpr TColor kCalcRed = RGB(255, 0, 0);
inline constexpr TColor kCalcBlack = RGB(0, 0, 0);
inline constexpr int kCalcButtonHeight = 22;

// The buttons in creation order.
inline constexpr std::array<TXCalcButtonInfo, 28> kCalcButtons{{
    {"OK", 4, 30, 30, kCalcBlack, calc::kOk},
    {"Back", 40, 30, 50, kCalcRed, calc::kBack},
    {"CE", 94, 30, 50, kCalcRed, calc::kClearEntry},
    {"C", 148, 30, 50, kCalcRed, calc::kClear},
    {"MC", 4, 56, 30, kCalcRed, calc::kMemoryClear},
    {"7", 40, 56, 30, kCalcBlue, u'7'},
    {"8", 72, 56, 30, kCalcBlue, u'8'},
    {"9", 104, 56, 30, kCalcBlue, u'9'},
    {"/", 136, 56, 30, kCalcRed, u'/'},
    {"sqrt", 168, 56, 30, kCalcBlue, calc::kSqrt},
    {"MR", 4, 80, 30, kCalcRed, calc::kMemoryRecall},
    {"4", 40, 80, 30, kCalcBlue, u'4'},
    {"5", 72, 80, 30, kCalcBlue, u'5'},
    {"6", 104, 80, 30, kCalcBlue, u'6'},
    {"*", 136, 80, 30, kCalcRed, u'*'},
    {"%", 168, 80, 30, kCalcBlue, u'%'},
    {"MS", 4, 104, 30, kCalcRed, calc::kMemoryStore},
    {"1", 40, 104, 30, kCalcBlue, u'1'},
    {"2", 72, 104, 30, kCalcBlue, u'2'},
    {"3", 104, 104, 30, kCalcBlue, u'3'},
    {"-", 136, 104, 30, kCalcRed, u'-'},
    {"1/x", 168, 104, 30, kCalcBlue, calc::kReciprocal},
    {"M+", 4, 128, 30, kCalcRed, calc::kMemoryAdd},
    {"0", 40, 128, 30, kCalcBlue, u'0'},
    {"+/-", 72, 128, 30, kCalcBlue, calc::kChangeSign},
    {",", 104, 128, 30, kCalcBlue, u','},
    {"+", 136, 128, 30, kCalcRed, u'+'},
    {"=", 168, 128, 30, kCalcRed, u'='},
}};

// The calculator's display: a rectangle in its pen and brush colours with the text right-aligned
// inside it (never starting left of it), vertically centred.
class TXDisplay : public TGraphicControl {
    TV_CLASS(TXDisplay, TGraphicControl)
public:
    explicit TXDisplay(TComponent* AOwner = nullptr);
    ~TXDisplay() override;
    TPen* Pen() const { return fPen.get(); }
    TBrush* Brush() const { return fBrush.get(); }

protected:
    void Paint() override;
    void TextChanged() override { Invalidate(); }

private:
    std::unique_ptr<TPen> fPen;
    std::unique_ptr<TBrush> fBrush;
};

// A calculator button: flat and unthemed it shows a raised inner edge round it.
class TXCalcButton : public TSpeedButton {
    TV_CLASS(TXCalcButton, TSpeedButton)
public:
    explicit TXCalcButton(TComponent* AOwner = nullptr) : TSpeedButton(AOwner) {}
    char16_t Command() const { return fCommand; }
    void SetCommand(char16_t value) { fCommand = value; }

protected:
    bool WidgetEvent(QEvent* e, bool viewport) override;

private:
    char16_t fCommand = 0;
};

class TXPopupCalculator : public TXPopup<TPanel> {
    TV_CLASS(TXPopupCalculator, TPanel)
public:
    explicit TXPopupCalculator(TComponent* AOwner = nullptr);
    ~TXPopupCalculator() override;

    // Owned; the editor gives it the grid's settings.
    TXFGradient* Gradient() const { return fGradient.get(); }
    TXDisplay* Display() const { return fDisplay; }
    // The buttons, in the order of kCalcButtons.
    TXCalcButton* Button(int index) const { return fButtons.at(index); }
    const TXCalcEngine& Engine() const { return fEngine; }

    // kOk closes up (accepted); every other command goes to the calculator.
    virtual void ProcessKey(char16_t Command);
    void Clear(bool All);
    // The result (a pending operation evaluated first); writing clears all but the memory.
    std::string ResultText();
    void SetResultText(std::string_view text);
    std::string DisplayText() const { return fEngine.DisplayText(); }
    void SetDisplayText(std::string_view text);
    void ShowValue(double x);

    bool KeyDown(uint16_t& Key, TShiftState Shift) override;
    bool KeyPress(char16_t& Key) override;

protected:
    void Paint() override;
    // The parent's font changed: everything is scaled by the ratio of the font heights, and each
    // button takes the font with its own caption colour.
    void DoFontChanged(bool ByParent) override;

private:
    void ShowDisplay();

    std::unique_ptr<TXFGradient> fGradient;
    TXDisplay* fDisplay = nullptr;
    std::array<TXCalcButton*, kCalcButtons.size()> fButtons{};
    TXCalcEngine fEngine;
    int fFontHeight = 0;
};

}  // namespace tv
