// The calendar pop-up: what a click on each part of it does (only a day, or the today line with
// TodayClose, closes it up; the week numbers do not), bold days from the grid, the years menu
// and its date error, and the value as text.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QCalendarWidget>
#include <QMenu>
#include <QTest>
#include <QTextCharFormat>
#include <QToolButton>
#include <stdexcept>
#include <vector>

#include "controls/xdb_grid.h"
#include "controls/xdb_popup_calendar.h"
#include "controls/xf_gradient.h"
#include "platform/gui/qt_support.h"
#include "grid_test_support.h"
#include "platform/gui/menu.h"
#include "platform/rtl/date_format.h"

namespace tv {
namespace {

using test::GridTest;

class CalendarTest : public GridTest {
protected:
    CalendarTest() {
        grid = AddGrid<TXDBGrid>(200, 100);
        cal = new TXPopupCalendar(&form);
        cal->SetParent(&form);
        cal->SetGrid(grid);
        cal->OnCloseUp = [this](bool accept) { closeUps.push_back(accept); };
        cal->SetLeft(300);
        cal->SetTop(150);
        cal->SetWeekNumbers(true);
        cal->AdjustSize();
        cal->SetResultText(Text(EncodeDateTime(2024, 3, 15, 10, 30, 0, 0)));
        cal->Show();
    }
    static std::string Text(TDateTime value) { return DateTimeToStr(value); }
    QCalendarWidget* Calendar() const { return cal->Widget()->findChild<QCalendarWidget*>(); }
    // Presses and releases the left button at `pos` of the calendar, on the part there.
    void ClickAt(TPoint pos, TPoint releaseAt) {
        QWidget* box = cal->Widget();
        QWidget* part = box->childAt(pos.X, pos.Y);
        ASSERT_NE(part, nullptr);
        QTest::mousePress(part, Qt::LeftButton, {}, part->mapFrom(box, QPoint(pos.X, pos.Y)));
        QTest::mouseRelease(part, Qt::LeftButton, {}, part->mapFrom(box, QPoint(releaseAt.X, releaseAt.Y)));
    }
    void ClickAt(TPoint pos) { ClickAt(pos, pos); }
    // A point of `part`, searched on a raster over the calendar.
    TPoint PointOf(TCalendarPart part) const {
        for (int y = 1; y < cal->Height(); y += 3)
            for (int x = 1; x < cal->Width(); x += 3)
                if (cal->PartAt({x, y}) == part) return {x, y};
        ADD_FAILURE() << "no such part";
        return {};
    }

    TXDBGrid* grid = nullptr;
    TXPopupCalendar* cal = nullptr;
    std::vector<bool> closeUps;
};

TEST_F(CalendarTest, OnlyADayClosesItUp) {
    EXPECT_TRUE(cal->Widget()->isWindow());
    ClickAt(PointOf(TCalendarPart::WeekNumbers));
    ClickAt(PointOf(TCalendarPart::WeekDays));
    EXPECT_TRUE(closeUps.empty());
    EXPECT_EQ(cal->DateTime(), EncodeDateTime(2024, 3, 15, 10, 30, 0, 0));
    ClickAt(cal->DayPoint(EncodeDate(2024, 3, 20)));
    EXPECT_EQ(closeUps, std::vector<bool>{true});
    EXPECT_EQ(cal->DateTime(), EncodeDateTime(2024, 3, 20, 10, 30, 0, 0));
    EXPECT_EQ(cal->ResultText(), Text(EncodeDateTime(2024, 3, 20, 10, 30, 0, 0)));
    // Pressed on a day, released outside: closed up without a choice.
    ClickAt(cal->DayPoint(EncodeDate(2024, 3, 21)), {-20, 10});
    EXPECT_EQ(closeUps, (std::vector<bool>{true, false}));
}

TEST_F(CalendarTest, TheTodayLineClosesOnlyWithTodayClose) {
    ClickAt(PointOf(TCalendarPart::Today));
    EXPECT_TRUE(closeUps.empty());
    EXPECT_EQ(cal->DateTime(), ComposeDateTime(Date(), EncodeTime(10, 30, 0, 0)));
    cal->SetTodayClose(true);
    ClickAt(PointOf(TCalendarPart::Today));
    EXPECT_EQ(closeUps, std::vector<bool>{true});
}

TEST_F(CalendarTest, TheTitleStepsMonthsWithoutClosing) {
    QToolButton* previous = Calendar()->findChild<QToolButton*>("qt_calendar_prevmonth");
    ASSERT_NE(previous, nullptr);
    QTest::mouseClick(previous, Qt::LeftButton);
    EXPECT_EQ(cal->ShownMonth(), 2);
    EXPECT_TRUE(closeUps.empty());
}

TEST_F(CalendarTest, BoldDaysComeFromTheGridForEveryMonthShown) {
    std::vector<TDateTime> asked;
    grid->OnCalcBoldDays = [&](TObject* Sender, TDateTime Date, bool& Bold) {
        EXPECT_EQ(Sender, cal);
        asked.push_back(Date);
        int y = 0, m = 0, d = 0;
        DecodeDate(Date, y, m, d);
        Bold = d == 1 || d == 15;
    };
    cal->ShowMonth(2024, 1);
    // December of the year before, January and February.
    ASSERT_EQ(asked.size(), 31u + 31u + 29u);
    EXPECT_EQ(asked.front(), EncodeDate(2023, 12, 1));
    EXPECT_EQ(asked.back(), EncodeDate(2024, 2, 29));
    EXPECT_EQ(Calendar()->dateTextFormat(QDate(2024, 1, 15)).fontWeight(), QFont::Bold);
    EXPECT_EQ(Calendar()->dateTextFormat(QDate(2023, 12, 1)).fontWeight(), QFont::Bold);
    EXPECT_NE(Calendar()->dateTextFormat(QDate(2024, 1, 16)).fontWeight(), QFont::Bold);
}

TEST_F(CalendarTest, TheYearsMenuSurroundsTheShownYear) {
    ClickAt(PointOf(TCalendarPart::TitleYear));
    QMenu* shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(shown, nullptr);
    shown->close();
    TPopupMenu* menu = cal->YearsMenu();
    ASSERT_EQ(menu->Items()->Count(), 11);
    EXPECT_EQ(menu->Items()->Items(0)->Caption(), "2019");
    EXPECT_EQ(menu->Items()->Items(5)->Caption(), "2024");
    EXPECT_TRUE(menu->Items()->Items(5)->Checked());
    EXPECT_EQ(menu->Items()->Items(10)->Caption(), "2029");
    menu->Items()->Items(7)->Click();
    EXPECT_EQ(cal->DateTime(), EncodeDateTime(2026, 3, 15, 10, 30, 0, 0));
    EXPECT_EQ(cal->ShownYear(), 2026);
    EXPECT_TRUE(closeUps.empty());
}

TEST_F(CalendarTest, AYearWithoutTheDayRaisesTheDateErrorAndKeepsTheDate) {
    const TDateTime leapDay = EncodeDateTime(2024, 2, 29, 8, 0, 0, 0);
    cal->SetResultText(Text(leapDay));
    TMenuItem* item = cal->YearsMenu()->Items()->Items(0);
    item->SetCaption("2023");
    EXPECT_THROW(item->Click(), std::exception);
    EXPECT_EQ(cal->DateTime(), leapDay);
    item->SetCaption("2028");
    item->Click();
    EXPECT_EQ(cal->DateTime(), EncodeDateTime(2028, 2, 29, 8, 0, 0, 0));
}

TEST_F(CalendarTest, TextThatIsNoDateChoosesTodayWithTheBeep) {
    cal->SetResultText("");
    EXPECT_EQ(cal->DateTime(), Date());
    EXPECT_TRUE(sound.Beeps().empty());
    cal->SetResultText("2024-13-45");
    EXPECT_EQ(cal->DateTime(), Date());
    EXPECT_EQ(sound.Beeps().size(), 1u);
}

// With an active gradient the title band runs from the start colour to the title's colour
// darkened, the rest from the start colour to the month's colour darkened, each over its own
// height; only pixels that showed the band's background colour change.
TEST_F(CalendarTest, TheGradientFillsTheBackgroundOfTheTitleAndTheMonth) {
    const TColor month = RGB(200, 220, 240);
    cal->SetColor(month);
    cal->SetMonthBackColor(month);
    cal->Gradient()->SetActive(false);
    QApplication::processEvents();
    const QImage plain = cal->Widget()->grab().toImage();
    cal->Gradient()->SetStartColor(clWhite);
    cal->Gradient()->SetOptions({goGradient});
    cal->Gradient()->SetActive(true);
    QApplication::processEvents();
    const QImage painted = cal->Widget()->grab().toImage();
    ASSERT_EQ(painted.size(), plain.size());

    const int split = cal->TitleBandBottom();
    const int height = cal->Height();
    ASSERT_GT(split, 4);
    ASSERT_GT(height - split, 40);
    const QRgb titleBack = ToQColor(cal->TitleBackColor()).rgb();
    const QRgb monthBack = ToQColor(month).rgb();
    auto expected = [&](int y) {
        const bool title = y < split;
        const TColor end = GetShadowColor(title ? cal->TitleBackColor() : month, -25);
        return ToQColor(title ? GradientColorAt(clWhite, end, y, split)
                              : GradientColorAt(clWhite, end, y - split, height - split)).rgb();
    };
    // Rows at both ends of the title band, through the days and along the today line; in each the first pixel that showed
    // the band's background, and the first that showed something else (a caption, a day).
    const TPoint day = cal->DayPoint(EncodeDate(2024, 3, 15));
    const TPoint lastWeek = cal->DayPoint(EncodeDate(2024, 3, 28));
    const int rows[] = {2, split - 2, day.Y, lastWeek.Y, height - 4};
    int backs = 0, others = 0;
    for (const int y : rows) {
        SCOPED_TRACE(y);
        const QRgb back = y < split ? titleBack : monthBack;
        for (int x = 2; x < plain.width() - 2; ++x) {
            const QRgb was = plain.pixel(x, y) | 0xFF000000u;
            if (was == (back | 0xFF000000u)) {
                EXPECT_EQ(painted.pixel(x, y) | 0xFF000000u, expected(y) | 0xFF000000u) << "background at " << x;
                ++backs;
                break;
            }
        }
        for (int x = 2; x < plain.width() - 2; ++x) {
            const QRgb was = plain.pixel(x, y) | 0xFF000000u;
            if (was != (back | 0xFF000000u) && was != (expected(y) | 0xFF000000u) && qAlpha(plain.pixel(x, y)) == 255 &&
                y != height - 4) {
                EXPECT_EQ(painted.pixel(x, y) | 0xFF000000u, was) << "content at " << x;
                ++others;
                break;
            }
        }
    }
    EXPECT_EQ(backs, 5);
    EXPECT_GE(others, 2);
    // The chosen day keeps its highlight.
    EXPECT_EQ(painted.pixel(day.X, day.Y), plain.pixel(day.X, day.Y));
}

}  // namespace
}  // namespace tv
