#pragma once
// The four-function calculator with memory behind the grid's calculator pop-up, free of any
// window: it takes command characters (a digit, an operator, a function or memory key) and keeps
// what the display shows. A key that cannot be carried out (a text that is no number, a second
// decimal separator, division by zero, the root of a negative number, the reciprocal of 0) beeps
// through the sound service and leaves everything as it was before that step.
//
// Numbers are doubles: the display shows them in the general format of 15 significant digits,
// where an 80-bit number would show the same.

#include <string>
#include <string_view>

namespace tv {

// The command characters of the calculator's keys.
namespace calc {
inline constexpr char16_t kBack = 8;
inline constexpr char16_t kOk = 10;
inline constexpr char16_t kMemoryClear = 12;
inline constexpr char16_t kMemoryAdd = 16;
inline constexpr char16_t kMemoryRecall = 18;
inline constexpr char16_t kMemoryStore = 19;
inline constexpr char16_t kClear = 27;
inline constexpr char16_t kClearEntry = 127;
inline constexpr char16_t kSqrt = u'@';
inline constexpr char16_t kReciprocal = u'R';
inline constexpr char16_t kChangeSign = u'_';
inline constexpr char16_t kNoOperator = u'=';
}  // namespace calc

class TXCalcEngine {
public:
    TXCalcEngine() { Clear(true); }

    // Carries out one key (calc::kOk is the window's: nothing here). Unknown characters do nothing.
    void ProcessKey(char16_t Command);
    // The display becomes "0". All: the pending operation, the total and the operand go too.
    // Not all: the total goes back to what it was before the last evaluation, unless a value is
    // being typed or was given by a function. The memory stays either way.
    void Clear(bool All);
    // The result: a pending operation is evaluated first.
    std::string ResultText();
    // Clears all, then shows `text`; a text that is no number leaves "0" (with the beep).
    void SetResultText(std::string_view text);
    const std::string& DisplayText() const { return fDisplay; }
    // Shows `text` ("" counts as "0") and takes its number as the value; false, with the beep and
    // nothing changed, when it is no number.
    bool SetDisplayText(std::string_view text);
    // Shows `x` in the general format.
    bool ShowValue(double x);

    double Value() const { return fValue; }
    double Total() const { return fTotal; }
    double Memory() const { return fMemory; }
    char16_t Operator() const { return fOperator; }

private:
    void Digit(char16_t c);
    void BackSpace();
    void ChangeSign();
    bool Evaluate();
    void SetOperator(char16_t op);
    void Function(char16_t f);
    void MemoryKey(char16_t m);
    // Beeps and answers false: the key ends here.
    static bool Refuse();

    std::string fDisplay;
    double fValue = 0;  // what the display shows
    double fTotal = 0;  // the accumulator
    double fMemory = 0;
    double fStorage = 0;  // the accumulator before the last evaluation
    double fOperand = 0;  // the second operand of the pending or repeated operation
    char16_t fOperator = calc::kNoOperator;
    bool fInputValue = false;  // digits are being typed
    bool fIsOperator = false;  // an operator waits for its second operand
    bool fNewOperand = false;  // the value came from a function or memory key
};

}  // namespace tv
