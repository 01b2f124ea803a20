// The calculator pop-up: its buttons from the table, clicks and keys giving their commands, OK
// closing up, the keys the editor consumes first, and scaling with the parent's font.

#include <gtest/gtest.h>

#include <QTest>
#include <QToolButton>

#include "controls/xdb_grid.h"
#include "controls/xdb_popup_calculator.h"
#include "grid_test_support.h"
#include "platform/gui/key_codes.h"

namespace tv {
namespace {

using test::GridTest;

class CalculatorTest : public GridTest {
protected:
    CalculatorTest() {
        calc = new TXPopupCalculator(&form);
        calc->SetParent(&form);
        calc->OnCloseUp = [this](bool accept) { closeUps.push_back(accept); };
        calc->SetLeft(300);
        calc->SetTop(200);
        calc->Show();
    }
    void Click(const char* caption) {
        for (size_t i = 0; i < kCalcButtons.size(); ++i)
            if (std::string(kCalcButtons[i].caption) == caption)
                return QTest::mouseClick(calc->Button(static_cast<int>(i))->Widget(), Qt::LeftButton);
        FAIL() << caption;
    }

    TXPopupCalculator* calc = nullptr;
    std::vector<bool> closeUps;
};

TEST_F(CalculatorTest, IsBuiltFromTheTable) {
    EXPECT_EQ(calc->Width(), 205);
    EXPECT_EQ(calc->Height(), 155);
    EXPECT_EQ(calc->Display()->BoundsRect(), Bounds(4, 5, 194, 21));
    for (size_t i = 0; i < kCalcButtons.size(); ++i) {
        const TXCalcButton* b = calc->Button(static_cast<int>(i));
        EXPECT_EQ(b->Caption(), kCalcButtons[i].caption);
        EXPECT_EQ(b->BoundsRect(),
                  Bounds(kCalcButtons[i].left, kCalcButtons[i].top, kCalcButtons[i].width, 22));
        EXPECT_EQ(b->Font()->Color(), kCalcButtons[i].colour);
        EXPECT_TRUE(b->Flat());
    }
    EXPECT_EQ(calc->DisplayText(), "0");
    EXPECT_TRUE(calc->Widget()->isWindow());
}

TEST_F(CalculatorTest, ButtonsAndKeysGiveTheirCommands) {
    Click("7");
    Click("+");
    QTest::keyClicks(calc->Widget(), "5=");
    EXPECT_EQ(calc->Display()->Caption(), "12");
    QTest::keyClick(calc->Widget(), Qt::Key_F9);
    EXPECT_EQ(calc->DisplayText(), "-12");
    QTest::keyClicks(calc->Widget(), "34");
    QTest::keyClick(calc->Widget(), Qt::Key_Delete);  // CE
    EXPECT_EQ(calc->DisplayText(), "0");
    Click("sqrt");
    Click("1/x");  // the reciprocal of 0
    EXPECT_EQ(sound.Beeps().size(), 1u);
    EXPECT_TRUE(closeUps.empty());
    Click("OK");
    EXPECT_EQ(closeUps, std::vector<bool>{true});
}

TEST_F(CalculatorTest, TheEditorSeesEveryKeyFirst) {
    struct Editor : IPopupKeyTarget {
        bool PopupKeyDown(uint16_t& Key, TShiftState) override { return Key != VK_DELETE; }
        bool PopupKeyPress(char16_t& Key) override { return Key != u'9'; }
    } editor;
    calc->SetKeyTarget(&editor);
    QTest::keyClicks(calc->Widget(), "193");
    EXPECT_EQ(calc->DisplayText(), "13");
    QTest::keyClick(calc->Widget(), Qt::Key_Delete);
    EXPECT_EQ(calc->DisplayText(), "13");
}

TEST_F(CalculatorTest, ResultTextAndTheMemoryAcrossOpenings) {
    calc->SetResultText("40");
    Click("MS");
    Click("/");
    Click("8");
    EXPECT_EQ(calc->ResultText(), "5");
    calc->SetResultText("2");  // the editor writes the cell's value at each opening
    Click("+");
    Click("MR");
    EXPECT_EQ(calc->ResultText(), "42");
}

TEST_F(CalculatorTest, ScalesWithTheParentsFont) {
    const int height = form.Font()->Height();
    form.Font()->SetHeight(height * 2);
    EXPECT_EQ(calc->Width(), 410);
    EXPECT_EQ(calc->Height(), 310);
    EXPECT_EQ(calc->Button(5)->BoundsRect(), Bounds(80, 112, 60, 44));
    EXPECT_EQ(calc->Button(5)->Font()->Height(), height * 2);
    EXPECT_EQ(calc->Button(5)->Font()->Color(), kCalcBlue);
}

}  // namespace
}  // namespace tv
