// The calculator's state machine: key sequences and what the display shows after them, and the
// keys it refuses with a beep.

#include <gtest/gtest.h>

#include <string>

#include "controls/xdb_popup_calc_engine.h"
#include "platform/gui/sound.h"

namespace tv {
namespace {

// Keys as text: "s" is sqrt, "i" 1/x, "n" +/-, "b" back-space, "c" C, "e" CE, "M" MS, "R" MR,
// "P" M+, "Z" MC; everything else is its own command.
char16_t Command(char c) {
    switch (c) {
        case 's':
            return calc::kSqrt;
        case 'i':
            return calc::kReciprocal;
        case 'n':
            return calc::kChangeSign;
        case 'b':
            return calc::kBack;
        case 'c':
            return calc::kClear;
        case 'e':
            return calc::kClearEntry;
        case 'M':
            return calc::kMemoryStore;
        case 'R':
            return calc::kMemoryRecall;
        case 'P':
            return calc::kMemoryAdd;
        case 'Z':
            return calc::kMemoryClear;
        default:
            return static_cast<char16_t>(c);
    }
}

TEST(CalcEngine, KeySequences) {
    struct Case {
        const char* keys;
        const char* display;
        int beeps;
    };
    const Case cases[] = {
        {"", "0", 0},        {"2+3=", "5", 0},    {"2+3==", "8", 0},  // "=" again repeats the last operation
        {"2+=", "4", 0},     {"2+3*4=", "20", 0},                     // operators chain left to right
        {"9-4-", "5", 0},    {"8/2=", "4", 0},    {"9si", "0.333333333333333", 0},
        {"50+10%", "5", 0},                       // percent of the total
        {"12.5", "12.5", 0}, {"1,5", "1.5", 0},   // either key types the locale's separator
        {"1.5.", "1.5", 1},                       // a second separator is refused
        {"5n", "-5", 0},     {"5nb", "0", 0},     // back-space on "-5"
        {"0.n", "-0.", 0},   {"0.nb", "0", 0},    // "-0." becomes "0"
        {"123b", "12", 0},   {"b", "0", 1},       // nothing typed: only the beep
        {"7=b", "7", 1},     {"0n", "0", 0},      // "0" gets no sign
        {"5/0=", "0", 1},                         // division by zero: refused, the display stays
        {"5/0=+1=", "6", 1},                      // ... and so does the total
        {"4ns", "-4", 1},                         // the root of a negative number
        {"0i", "0", 1},                           // the reciprocal of 0
        {"7+8c", "0", 0},    {"7+8c3=", "3", 0},  // C drops the pending operation
        {"7+8e2=", "9", 0},                       // CE only the entry
        {"6MZR", "0", 0},                         // memory cleared
        {"6M5+R=", "11", 0},                      // store, recall
        {"6P4P0R", "10", 0},                      // add to the memory twice
        {"3M4+5=c", "0", 0},
    };
    for (const Case& c : cases) {
        TRecordingSound sound;
        TSoundServiceScope scope(sound);
        TXCalcEngine calc;
        for (const char* k = c.keys; *k; ++k) calc.ProcessKey(Command(*k));
        EXPECT_EQ(calc.DisplayText(), c.display) << c.keys;
        EXPECT_EQ(static_cast<int>(sound.Beeps().size()), c.beeps) << c.keys;
    }
}

TEST(CalcEngine, ResultTextEvaluatesWhatIsPendingAndWritingKeepsTheMemory) {
    TRecordingSound sound;
    TSoundServiceScope scope(sound);
    TXCalcEngine calc;
    for (char k : std::string("4M2+3")) calc.ProcessKey(Command(k));
    EXPECT_EQ(calc.ResultText(), "5");
    calc.SetResultText("12.25");
    EXPECT_EQ(calc.DisplayText(), "12.25");
    EXPECT_EQ(calc.Operator(), calc::kNoOperator);
    EXPECT_EQ(calc.Memory(), 4);
    calc.ProcessKey(u'+');
    calc.ProcessKey(calc::kMemoryRecall);
    EXPECT_EQ(calc.ResultText(), "16.25");
    calc.SetResultText("");
    EXPECT_EQ(calc.DisplayText(), "0");
    EXPECT_TRUE(sound.Beeps().empty());
    calc.SetResultText("abc");
    EXPECT_EQ(calc.DisplayText(), "0");
    EXPECT_EQ(sound.Beeps().size(), 1u);
    // A text that is no number leaves the display as it was.
    EXPECT_FALSE(calc.SetDisplayText("1e"));
    EXPECT_EQ(calc.DisplayText(), "0");
}

}  // namespace
}  // namespace tv
