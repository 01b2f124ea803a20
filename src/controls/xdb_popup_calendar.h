#pragma once
// The calendar the grid's editor drops down for a date: a month calendar whose days the grid may
// show bold (its OnCalcBoldDays), with a menu of years on the year of its title. A click on a
// day closes it up with that day; clicks on the title, the week days, the week numbers or (unless
// TodayClose) the today line do not. The time of day of the cell's value is kept.

#include <memory>
#include <string>

#include "controls/xdb_popup.h"
#include "platform/gui/month_calendar.h"

namespace tv {

class TPopupMenu;
class TXFGradient;

class TXPopupCalendar : public TXPopup<TMonthCalendar> {
    TV_CLASS(TXPopupCalendar, TMonthCalendar)
public:
    // The years menu shows this many years, the shown one in the middle.
    static constexpr int kYearItems = 11;

    explicit TXPopupCalendar(TComponent* AOwner = nullptr);
    ~TXPopupCalendar() override;

    // The date and time as text in the short date-time format. Writing an empty text chooses
    // today; a text that is no date chooses today with the beep.
    std::string ResultText() const;
    void SetResultText(const std::string& text);
    // The chosen day with the time of day of the value written.
    TDateTime DateTime() const { return fDateTime; }

    // A click on the today line closes up too.
    bool TodayClose() const { return fTodayClose; }
    void SetTodayClose(bool value) { fTodayClose = value; }
    // Owned; the editor gives it the grid's settings.
    TXFGradient* Gradient() const { return fGradient.get(); }
    TPopupMenu* YearsMenu() const { return fYearsMenu.get(); }

    // A year of the menu was chosen: the same month and day in that year, the time kept. A day the
    // year does not have (29 February) raises the date error and the date stays.
    void YearMenuClick(TObject* Sender);
    // Releasing the left button: outside the calendar closes up without a choice; on a day (or
    // with TodayClose on the today line) closes up with the day.
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
    void DayStateRequest(int startYear, int startMonth, int count) override;
    uint32_t GetMonthInfo(uint32_t Month) override;
    void SelectionChanged(TDateTime Start, TDateTime End) override;
    // Relabels the years menu around the shown year and pops it up at the pointer.
    bool YearPressed(TPoint Pos) override;
    // With an active gradient: the title band from the title's background colour, the rest from
    // the month's, where the calendar shows those colours.
    bool PaintBand(TCanvas* canvas, const TRect& rect, bool title) override;

private:
    // The grid's OnCalcBoldDays for each day of the month, in the year the month stands for
    // among those shown.
    uint32_t MonthBoldInfo(uint32_t Month);
    void ShowDateTime();

    std::unique_ptr<TXFGradient> fGradient;
    std::unique_ptr<TPopupMenu> fYearsMenu;
    TDateTime fDateTime = 0;
    int fStartYear = 0;
    int fStartMonth = 0;
    bool fTodayClose = false;
};

}  // namespace tv
