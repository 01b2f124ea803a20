#include "controls/xdb_popup_calc_engine.h"

#include <cmath>

#include "platform/gui/sound.h"
#include "platform/rtl/format_settings.h"
#include "platform/rtl/number_text.h"

namespace tv {

namespace {

char DecimalSeparator() {
    return DefaultFormatSettings().DecimalSeparator;
}

}  // namespace

bool TXCalcEngine::Refuse() {
    Beep();
    return false;
}

bool TXCalcEngine::SetDisplayText(std::string_view text) {
    const std::string_view shown = text.empty() ? std::string_view("0") : text;
    double value = 0;
    if (!TryStrToFloat(shown, value)) return Refuse();
    fValue = value;
    fDisplay = shown;
    return true;
}

bool TXCalcEngine::ShowValue(double x) {
    if (!std::isfinite(x)) return Refuse();
    return SetDisplayText(FloatToStr(x));
}

void TXCalcEngine::ProcessKey(char16_t Command) {
    switch (Command) {
        case calc::kBack:
            return BackSpace();
        case calc::kMemoryClear:
        case calc::kMemoryAdd:
        case calc::kMemoryRecall:
        case calc::kMemoryStore:
            return MemoryKey(Command);
        case calc::kClear:
        case calc::kClearEntry:
            return Clear(Command == calc::kClear);
        case u'%':
        case calc::kSqrt:
        case calc::kReciprocal:
        case u'r':
            return Function(Command);
        case u'*':
        case u'+':
        case u'-':
        case u'/':
            return SetOperator(Command);
        case u'=':
            Evaluate();
            return;
        case calc::kChangeSign:
            return ChangeSign();
        case u',':
        case u'.':
            return Digit(static_cast<char16_t>(DecimalSeparator()));
        default:
            if (Command >= u'0' && Command <= u'9') Digit(Command);
            return;
    }
}

void TXCalcEngine::Digit(char16_t c) {
    if (!fInputValue && !SetDisplayText("0")) return;
    const char ch = static_cast<char>(c);
    const bool separator = ch == DecimalSeparator();
    // A second separator makes no number and is refused here.
    if (!SetDisplayText(fDisplay != "0" || separator ? fDisplay + ch : std::string(1, ch))) return;
    fInputValue = true;
}

void TXCalcEngine::BackSpace() {
    if (!fInputValue) {
        Refuse();
        return;
    }
    const std::string minusZeroPoint = std::string("-0") + DecimalSeparator();
    if (fDisplay.size() == 1 || (fDisplay.size() == 2 && fDisplay[0] == '-') || fDisplay == minusZeroPoint)
        SetDisplayText("0");
    else
        SetDisplayText(fDisplay.substr(0, fDisplay.size() - 1));
}

void TXCalcEngine::ChangeSign() {
    if (!fDisplay.empty() && fDisplay[0] == '-') {
        if (!SetDisplayText(fDisplay.substr(1))) return;
    } else if (fDisplay != "0") {
        if (!SetDisplayText("-" + fDisplay)) return;
    }
    fInputValue = true;
}

bool TXCalcEngine::Evaluate() {
    if (fInputValue || fNewOperand || fIsOperator) fOperand = fValue;
    fInputValue = fIsOperator = fNewOperand = false;
    fStorage = fTotal;
    bool done = true;
    switch (fOperator) {
        case u'*':
            done = ShowValue(fTotal * fOperand);
            break;
        case u'+':
            done = ShowValue(fTotal + fOperand);
            break;
        case u'-':
            done = ShowValue(fTotal - fOperand);
            break;
        case u'/':
            done = fOperand == 0 ? Refuse() : ShowValue(fTotal / fOperand);
            break;
        default:
            break;
    }
    if (!done) return false;
    fTotal = fValue;
    return true;
}

void TXCalcEngine::SetOperator(char16_t op) {
    if (fInputValue || fNewOperand) {
        if (!fIsOperator) fOperator = calc::kNoOperator;
        if (!Evaluate()) return;
    }
    fOperator = op;
    fIsOperator = true;
}

void TXCalcEngine::Function(char16_t f) {
    fNewOperand = true;
    fInputValue = false;
    switch (f) {
        case u'%':
            ShowValue(fTotal * fValue / 100);
            break;
        case calc::kSqrt:
            if (fValue < 0)
                Refuse();
            else
                ShowValue(std::sqrt(fValue));
            break;
        default:  // the reciprocal
            if (fValue == 0)
                Refuse();
            else
                ShowValue(1 / fValue);
            break;
    }
}

void TXCalcEngine::MemoryKey(char16_t m) {
    fInputValue = false;
    switch (m) {
        case calc::kMemoryClear:
            fMemory = 0;
            break;
        case calc::kMemoryAdd:
            fMemory += fValue;
            break;
        case calc::kMemoryRecall:
            fNewOperand = true;
            ShowValue(fMemory);
            break;
        default:
            fMemory = fValue;
            break;
    }
}

void TXCalcEngine::Clear(bool All) {
    SetDisplayText("0");
    if (!All && !fInputValue && !fNewOperand) fTotal = fStorage;
    fNewOperand = true;
    fInputValue = fIsOperator = false;
    if (All) {
        fTotal = fStorage = fOperand = 0;
        fOperator = calc::kNoOperator;
    }
}

std::string TXCalcEngine::ResultText() {
    if (fInputValue || fNewOperand || fIsOperator) Evaluate();
    return fDisplay;
}

void TXCalcEngine::SetResultText(std::string_view text) {
    Clear(true);
    SetDisplayText(text);
}

}  // namespace tv
