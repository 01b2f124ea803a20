#include "controls/xdb_popup_calculator.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

#include "controls/xf_gradient.h"
#include "platform/gui/key_codes.h"
#include "platform/gui/theme_services.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {

constexpr int kWidth = 205;
constexpr int kHeight = 155;
constexpr uint16_t kF9 = VK_F1 + 8;

}  // namespace

// ---- the display ----

const TClassInfo& TXDisplay::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXDisplay>("TXDisplay").Build();
    return info;
}

TXDisplay::TXDisplay(TComponent* AOwner)
    : TGraphicControl(AOwner), fPen(std::make_unique<TPen>()), fBrush(std::make_unique<TBrush>()) {
    fPen->OnChange = [this](TObject*) { Invalidate(); };
    fBrush->OnChange = [this](TObject*) { Invalidate(); };
}

TXDisplay::~TXDisplay() = default;

void TXDisplay::Paint() {
    TCanvas* canvas = Canvas();
    canvas->SetPen(fPen.get());
    canvas->SetBrush(fBrush.get());
    const TRect client = ClientRect();
    canvas->Rectangle(client);
    TRect text = client;
    text.Left += 5;
    text.Right -= 5;
    text.Top += 2;
    text.Bottom -= 2;
    canvas->SetFont(Font());
    canvas->Brush()->SetStyle(bsClear);
    const std::string caption = Caption();
    const int x = std::max(text.Left, text.Right - canvas->TextWidth(caption));
    const int y = text.Top + (text.Height() - canvas->TextHeight(caption)) / 2;
    canvas->TextRect(text, x, y, caption);
}

// ---- the buttons ----

const TClassInfo& TXCalcButton::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXCalcButton>("TXCalcButton").Build();
    return info;
}

bool TXCalcButton::WidgetEvent(QEvent* e, bool viewport) {
    const bool result = TSpeedButton::WidgetEvent(e, viewport);
    if (e->type() == QEvent::Paint && Flat() && !ThemesEnabled())
        PaintOverWidget(
            Widget(), [](TCanvas& canvas, TRect rect) { DrawEdge(&canvas, rect, BDR_RAISEDINNER, BF_RECT); });
    return result;
}

// ---- the calculator ----

const TClassInfo& TXPopupCalculator::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXPopupCalculator>("TXPopupCalculator").Build();
    return info;
}

TXPopupCalculator::TXPopupCalculator(TComponent* AOwner)
    : TXPopup<TPanel>(AOwner), fGradient(std::make_unique<TXFGradient>(this)) {
    fGradient->OnChange = [this](TObject*) { Invalidate(); };
    SetVisible(false);
    SetTabStop(false);
    SetBevelOuter(bvNone);
    SetCtl3D(false);
    SetParentFont(true);
    SetBounds(Left(), Top(), kWidth, kHeight);
    fDisplay = new TXDisplay(this);
    fDisplay->SetParent(this);
    fDisplay->SetBounds(4, 5, 194, 21);
    fDisplay->Pen()->SetColor(RGB(157, 185, 235));
    fDisplay->Brush()->SetColor(RGB(198, 211, 239));
    for (size_t i = 0; i < kCalcButtons.size(); ++i) {
        const TXCalcButtonInfo& info = kCalcButtons[i];
        auto* button = new TXCalcButton(this);
        button->SetParent(this);
        button->SetBounds(info.left, info.top, info.width, kCalcButtonHeight);
        button->SetCaption(info.caption);
        button->SetCommand(info.command);
        button->Font()->SetColor(info.colour);
        button->SetFlat(!ThemesEnabled());
        button->OnClick = [this, button](TObject*) { ProcessKey(button->Command()); };
        fButtons[i] = button;
    }
    fFontHeight = std::abs(Font()->Height());
    Clear(true);
}

TXPopupCalculator::~TXPopupCalculator() {
    BeginDestroy();
}

void TXPopupCalculator::ShowDisplay() {
    fDisplay->SetCaption(fEngine.DisplayText());
}

void TXPopupCalculator::ProcessKey(char16_t Command) {
    if (Command == calc::kOk) {
        DoCloseUp(true);
        return;
    }
    fEngine.ProcessKey(Command);
    ShowDisplay();
}

void TXPopupCalculator::Clear(bool All) {
    fEngine.Clear(All);
    ShowDisplay();
}

std::string TXPopupCalculator::ResultText() {
    std::string result = fEngine.ResultText();
    ShowDisplay();
    return result;
}

void TXPopupCalculator::SetResultText(std::string_view text) {
    fEngine.SetResultText(text);
    ShowDisplay();
}

void TXPopupCalculator::SetDisplayText(std::string_view text) {
    fEngine.SetDisplayText(text);
    ShowDisplay();
}

void TXPopupCalculator::ShowValue(double x) {
    fEngine.ShowValue(x);
    ShowDisplay();
}

bool TXPopupCalculator::KeyDown(uint16_t& Key, TShiftState Shift) {
    auto alive = Watch();
    if (!TXPopup<TPanel>::KeyDown(Key, Shift) || alive.expired()) return false;
    if (Shift.Empty() && (Key == VK_DELETE || Key == kF9)) {
        ProcessKey(Key == VK_DELETE ? calc::kClearEntry : calc::kChangeSign);
        return false;
    }
    return true;
}

bool TXPopupCalculator::KeyPress(char16_t& Key) {
    auto alive = Watch();
    if (!TXPopup<TPanel>::KeyPress(Key) || alive.expired()) return false;
    ProcessKey(Key);
    return false;
}

void TXPopupCalculator::Paint() {
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    if (fGradient->IsActive())
        fGradient->FillRect(canvas, client, false, false, Color());
    else
        TPanel::Paint();
    // The single border of the window.
    canvas->Brush()->SetColor(clWindowFrame);
    canvas->FrameRect(client);
}

void TXPopupCalculator::DoFontChanged(bool ByParent) {
    TXPopup<TPanel>::DoFontChanged(ByParent);
    const int height = std::abs(Font()->Height());
    if (ByParent && fFontHeight > 0 && height > 0 && height != fFontHeight) {
        auto scale = [height, old = fFontHeight](int v) {
            return static_cast<int>(static_cast<int64_t>(v) * height / old);
        };
        ScaleBy(height, fFontHeight);
        SetBounds(Left(), Top(), scale(Width()), scale(Height()));
    }
    fFontHeight = height;
    // While the calculator is being built its parts may not be there yet.
    for (size_t i = 0; i < fButtons.size(); ++i) {
        if (!fButtons[i]) continue;
        fButtons[i]->SetFont(Font());
        fButtons[i]->Font()->SetColor(kCalcButtons[i].colour);
    }
    if (fDisplay) fDisplay->SetFont(Font());
}

}  // namespace tv
