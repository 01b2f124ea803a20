// The calendar and the calculator as the grid editor's pop-ups: which cells get them, the button
// and Alt+Down opening them under the cell, the keys typed in the editor (or in the pop-up) going
// to the editor's logic first and to the pop-up after, a chosen day or a computed value going into
// the field, Esc leaving it, the week numbers not closing, and the calculator's refusals beeping.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_popup_calculator.h"
#include "controls/xdb_popup_calendar.h"
#include "controls/xf_gradient.h"
#include "grid_test_support.h"
#include "platform/data/data_set.h"
#include "platform/rtl/date_format.h"

namespace tv {
namespace {

class InplaceDateAndNumber : public test::GridTest {
protected:
    InplaceDateAndNumber() {
        table = test::ClientTable(
            {{"NAME", TFieldType::ftString, 20}, {"DUE", TFieldType::ftDate}, {"AMOUNT", TFieldType::ftFloat}},
            {{"Abc", "2026-12-11", "12"}});
        source.SetDataSet(table.get());
        grid = AddGrid<TXDBGrid>(400, 200);
        grid->Columns()->Items(1)->SetWidth(110);
    }
    // The editor shown on column `index`, with the focus.
    TXDBGridInplaceEdit* EditColumn(int index) {
        EXPECT_TRUE(test::FocusOn(*grid));
        grid->SetSelectedIndex(index);
        grid->ShowEditor();
        auto* editor = dynamic_cast<TXDBGridInplaceEdit*>(grid->InplaceEditor());
        EXPECT_NE(editor, nullptr);
        if (editor) {
            EXPECT_TRUE(test::FocusOn(*editor));
        }
        return editor;
    }
    static QPoint ButtonMiddle(TXDBGridInplaceEdit& editor) {
        const TRect button = editor.ButtonRect();
        return {button.Left + button.Width() / 2, button.Top + button.Height() / 2};
    }
    // Pressed and released at `pos` of the calendar, on the part there.
    static void ClickCalendar(TXPopupCalendar& calendar, TPoint pos) {
        QWidget* box = calendar.Widget();
        QWidget* part = box->childAt(pos.X, pos.Y);
        ASSERT_NE(part, nullptr);
        const QPoint at = part->mapFrom(box, QPoint(pos.X, pos.Y));
        QTest::mousePress(part, Qt::LeftButton, {}, at);
        QTest::mouseRelease(part, Qt::LeftButton, {}, at);
    }
    static TPoint PointOf(const TXPopupCalendar& calendar, TCalendarPart part) {
        for (int y = 1; y < calendar.Height(); y += 3)
            for (int x = 1; x < calendar.Width(); x += 3)
                if (calendar.PartAt({x, y}) == part) return {x, y};
        ADD_FAILURE() << "no such part";
        return {};
    }
    TDateTime Due() const { return table->FieldByName("DUE").AsDateTime(); }

    TXDBGrid* grid = nullptr;
};

TEST_F(InplaceDateAndNumber, CellsGetTheirPopUpAndAnArrowThatOpensIt) {
    struct Case {
        const char* what;
        int column;
        TXColumnButtonStyle style;
        TXEditStyle editStyle;
        TXDataEditor dataEditor;
        bool calendar, calculator;
    };
    const Case cases[] = {
        {"date field", 1, cbsAuto, esPickList, deCalendar, true, false},
        {"calendar asked for", 0, cbsCalendar, esPickList, deCalendar, true, false},
        {"calculator asked for", 2, cbsCalculator, esPickList, deCalculator, false, true},
        {"number field without it", 2, cbsAuto, esSimple, dePickList, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TXColumn* column = grid->Columns()->Items(c.column);
        column->SetButtonStyle(c.style);
        TXDBGridInplaceEdit* editor = EditColumn(c.column);
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->EditStyle(), c.editStyle);
        if (c.editStyle != esPickList) continue;
        EXPECT_EQ(editor->DataEditor(), c.dataEditor);
        // The arrow is live: it has a pop-up to open.
        TWinControl* popup = c.calendar ? static_cast<TWinControl*>(editor->Calendar()) : editor->Calculator();
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(editor->ActiveList(), popup);
        EXPECT_FALSE(popup->ShowHint());
        column->SetButtonStyle(cbsAuto);
        grid->HideEditor();
    }
}

TEST_F(InplaceDateAndNumber, AltDownOpensTheCalendarUnderTheCellAndADayClickGoesIntoTheField) {
    TXDBGridInplaceEdit* editor = EditColumn(1);
    ASSERT_EQ(editor->DataEditor(), deCalendar);
    test::Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor->ListVisible());
    TXPopupCalendar* calendar = editor->Calendar();
    EXPECT_TRUE(calendar->Widget()->isVisible());
    const TPoint cell = editor->ClientToScreen({0, 0});
    EXPECT_EQ(calendar->Left(), cell.X - 1);
    EXPECT_EQ(calendar->Top(), cell.Y + editor->Height() + 1);
    EXPECT_EQ(calendar->Date(), EncodeDate(2026, 12, 11));
    // The editor kept the focus.
    EXPECT_TRUE(editor->Widget()->hasFocus());
    ClickCalendar(*calendar, calendar->DayPoint(EncodeDate(2026, 12, 22)));
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_FALSE(calendar->Widget()->isVisible());
    EXPECT_EQ(Due(), EncodeDate(2026, 12, 22));
    // loAutoCloseEditor (on by default): the choice ends editing.
    QApplication::processEvents();
    EXPECT_FALSE(grid->EditorMode());
}

TEST_F(InplaceDateAndNumber, KeysInTheEditorMoveTheCalendarsDayEnterTakesItEscLeavesIt) {
    TXDBGridInplaceEdit* editor = EditColumn(1);
    test::Key(Qt::Key_F2);
    ASSERT_TRUE(editor->ListVisible());
    TXPopupCalendar* calendar = editor->Calendar();
    test::Key(Qt::Key_Right);
    test::Key(Qt::Key_Right);
    EXPECT_EQ(calendar->Date(), EncodeDate(2026, 12, 13));
    test::Key(Qt::Key_Escape);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(Due(), EncodeDate(2026, 12, 11));
    EXPECT_TRUE(grid->EditorMode());
    // Opened again it starts from the cell; a week on and Enter.
    test::Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor->ListVisible());
    EXPECT_EQ(calendar->Date(), EncodeDate(2026, 12, 11));
    test::Key(Qt::Key_Down);
    test::Key(Qt::Key_Return);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_TRUE(grid->EditorMode());  // Enter closed the calendar only
    EXPECT_EQ(Due(), EncodeDate(2026, 12, 18));
    // Keys typed in the calendar's own window go to the editor's logic first: Esc there closes.
    test::Key(Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(calendar->Widget(), Qt::Key_Left);
    EXPECT_EQ(calendar->Date(), EncodeDate(2026, 12, 17));
    QTest::keyClick(calendar->Widget(), Qt::Key_Escape);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(Due(), EncodeDate(2026, 12, 18));
}

TEST_F(InplaceDateAndNumber, TheButtonOpensTheCalendarWhoseWeekNumbersDoNotCloseIt) {
    TXColumn* column = grid->Columns()->Items(1);
    column->SetListOptions(column->ListOptions() + TXListOptions{loShowWeekNumbers} - TXListOptions{loAutoCloseEditor});
    TXDBGridInplaceEdit* editor = EditColumn(1);
    const QPoint on = ButtonMiddle(*editor);
    QTest::mousePress(editor->Widget(), Qt::LeftButton, {}, on);
    QTest::mouseRelease(editor->Widget(), Qt::LeftButton, {}, on);
    ASSERT_TRUE(editor->ListVisible());
    TXPopupCalendar* calendar = editor->Calendar();
    EXPECT_TRUE(calendar->WeekNumbers());
    ClickCalendar(*calendar, PointOf(*calendar, TCalendarPart::WeekNumbers));
    EXPECT_TRUE(editor->ListVisible());
    EXPECT_EQ(Due(), EncodeDate(2026, 12, 11));
    ClickCalendar(*calendar, calendar->DayPoint(EncodeDate(2026, 12, 2)));
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(Due(), EncodeDate(2026, 12, 2));
    QApplication::processEvents();
    EXPECT_TRUE(grid->EditorMode());  // without loAutoCloseEditor editing goes on
    // A press on the button of an open calendar closes it without a choice.
    QTest::mousePress(editor->Widget(), Qt::LeftButton, {}, on);
    QTest::mouseRelease(editor->Widget(), Qt::LeftButton, {}, on);
    ASSERT_TRUE(editor->ListVisible());
    QTest::mousePress(editor->Widget(), Qt::LeftButton, {}, on);
    QTest::mouseRelease(editor->Widget(), Qt::LeftButton, {}, on);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(Due(), EncodeDate(2026, 12, 2));
}

TEST_F(InplaceDateAndNumber, TheCalendarTakesTheGridsColourAndTheColumnsParts) {
    TXColumn* column = grid->Columns()->Items(1);
    column->SetListOptions(column->ListOptions() + TXListOptions{loShowTodayCircle, loAutoTodayClose} -
                           TXListOptions{loShowToday});
    grid->SetFixedColor(RGB(200, 220, 240));
    grid->Gradient()->SetActive(false);
    TXDBGridInplaceEdit* editor = EditColumn(1);
    TXPopupCalendar* calendar = editor->Calendar();
    // No editor colour of its own: the grid's fixed colour.
    EXPECT_EQ(calendar->Color(), RGB(200, 220, 240));
    EXPECT_EQ(calendar->MonthBackColor(), RGB(200, 220, 240));
    EXPECT_FALSE(calendar->Gradient()->Active());
    EXPECT_FALSE(calendar->ShowToday());
    EXPECT_TRUE(calendar->ShowTodayCircle());
    EXPECT_TRUE(calendar->TodayClose());
    EXPECT_FALSE(calendar->WeekNumbers());
    grid->HideEditor();
    grid->SetEditorColor(clYellow);
    editor = EditColumn(1);
    EXPECT_EQ(calendar->Color(), clYellow);
    EXPECT_EQ(editor->Calculator(), nullptr);  // made on first need only
}

TEST_F(InplaceDateAndNumber, TheCalculatorComputesFromTheCellAndGivesTheResultBack) {
    grid->Columns()->Items(2)->SetButtonStyle(cbsCalculator);
    TXDBGridInplaceEdit* editor = EditColumn(2);
    const QPoint on = ButtonMiddle(*editor);
    QTest::mousePress(editor->Widget(), Qt::LeftButton, {}, on);
    QTest::mouseRelease(editor->Widget(), Qt::LeftButton, {}, on);
    ASSERT_TRUE(editor->ListVisible());
    TXPopupCalculator* calc = editor->Calculator();
    EXPECT_TRUE(calc->Widget()->isVisible());
    EXPECT_EQ(calc->Top(), editor->ClientToScreen({0, 0}).Y + editor->Height() + 1);
    EXPECT_EQ(calc->DisplayText(), "12");
    // Typed in the editor, handed to the calculator; Enter evaluates and takes the result.
    test::Type("*3-1");
    EXPECT_EQ(calc->DisplayText(), "1");
    EXPECT_EQ(editor->Text(), "12");
    test::Key(Qt::Key_Return);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(table->FieldByName("AMOUNT").AsFloat(), 35.0);
    EXPECT_TRUE(sound.Beeps().empty());

    // Refusals beep and leave the display: a second separator, the root of a negative number,
    // a division by zero. Esc then leaves the field as it was.
    test::Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor->ListVisible());
    EXPECT_EQ(calc->DisplayText(), "35");
    test::Type("1.5.");
    EXPECT_EQ(calc->DisplayText(), "1.5");
    EXPECT_EQ(sound.Beeps().size(), 1u);
    test::Key(Qt::Key_F9);
    test::Type("@");
    EXPECT_EQ(calc->DisplayText(), "-1.5");
    EXPECT_EQ(sound.Beeps().size(), 2u);
    test::Type("/0=");
    EXPECT_EQ(sound.Beeps().size(), 3u);
    test::Key(Qt::Key_Escape);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(table->FieldByName("AMOUNT").AsFloat(), 35.0);

    // Keys in the calculator's own window reach the editor's logic first; its OK button accepts.
    test::Key(Qt::Key_Down, Qt::AltModifier);
    QTest::keyClicks(calc->Widget(), "+5");
    QTest::mouseClick(calc->Button(0)->Widget(), Qt::LeftButton);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(table->FieldByName("AMOUNT").AsFloat(), 40.0);
}

}  // namespace
}  // namespace tv
