#pragma once
// Month calendars: one month of days to choose a date from, with a title that steps through the
// months and years, an optional column of week numbers and an optional line that shows today's
// date. Days can be shown bold: the calendar asks for the bold days of the months it shows
// (OnGetMonthInfo, one bit per day) whenever it comes to show other months.

#include <cstdint>

#include "platform/gui/win_control.h"
#include "platform/rtl/date_time.h"

class QImage;

namespace tv {

// Month: 1..12; set bit d - 1 of MonthBoldInfo to show day d bold.
using TOnGetMonthInfoEvent = TEvent<void(TObject* Sender, uint32_t Month, uint32_t& MonthBoldInfo)>;

// What is at a point of the calendar.
enum class TCalendarPart : uint8_t { None, Title, TitleYear, WeekDays, WeekNumbers, Days, Today };

class TMonthCalendar : public TWinControl {
    TV_CLASS(TMonthCalendar, TWinControl)
public:
    explicit TMonthCalendar(TComponent* AOwner = nullptr);
    ~TMonthCalendar() override;

    // The chosen date (whole days); the calendar shows its month.
    TDateTime Date() const;
    void SetDate(TDateTime value);
    // With MultiSelect, the end of the chosen range (stored: the calendar chooses one day).
    TDateTime EndDate() const { return fEndDate; }
    void SetEndDate(TDateTime value) { fEndDate = value; }
    bool MultiSelect() const { return fMultiSelect; }
    void SetMultiSelect(bool value) { fMultiSelect = value; }
    // The line under the days with today's date; clicking it chooses today.
    bool ShowToday() const { return fShowToday; }
    void SetShowToday(bool value);
    // Today's day marked in the month.
    bool ShowTodayCircle() const { return fShowTodayCircle; }
    void SetShowTodayCircle(bool value);
    bool WeekNumbers() const { return fWeekNumbers; }
    void SetWeekNumbers(bool value);
    // The colour behind the days; clDefault: the window colour.
    TColor MonthBackColor() const { return fMonthBackColor; }
    void SetMonthBackColor(TColor value);
    // The size the calendar needs for a month with its title, week numbers and today line.
    void AdjustSize();

    // The month shown.
    int ShownYear() const;
    int ShownMonth() const;
    void ShowMonth(int year, int month);
    // What is at a point of the client area; the year of the title is TitleYear.
    TCalendarPart PartAt(TPoint Pos) const;
    // The middle of a day's cell in the client area (of the shown month's page); for tests.
    TPoint DayPoint(TDateTime Day) const;

    // The colour behind the title, and where the title band ends and the rest (the week days,
    // the days and the today line) begins, in client coordinates.
    TColor TitleBackColor() const;
    int TitleBandBottom() const;

    TOnGetMonthInfoEvent OnGetMonthInfo;
    // The user chose another date.
    TNotifyEvent OnChange;

protected:
    // The calendar comes to show `count` months from startMonth of startYear (the shown month and
    // the ends of the months around it): their bold days are asked for, month by month.
    virtual void DayStateRequest(int startYear, int startMonth, int count);
    // The bold days of a month (OnGetMonthInfo).
    virtual uint32_t GetMonthInfo(uint32_t Month);
    // The user chose a day (or a range): the default takes Start as Date and fires OnChange.
    virtual void SelectionChanged(TDateTime Start, TDateTime End);
    // A left press on the year of the title: true takes it (the calendar's own year editor does
    // not open).
    virtual bool YearPressed(TPoint Pos) { return false; }
    // Paints the background of a band into `canvas`, a picture of the band's size: the title band
    // (`title`) or the rest under it; `rect` is the band in client coordinates. After the calendar
    // has painted, each of its pixels that shows the band's background colour (the title's, or the
    // month's) takes the picture's pixel there. False (the default) keeps the calendar's own look.
    virtual bool PaintBand(TCanvas* canvas, const TRect& rect, bool title) { return false; }
    // The bands are to be painted again.
    void InvalidateBands();
    void ApplyColor() override;
    bool WidgetEvent(QEvent* e, bool viewport) override;

private:
    class TFilter;
    class TBandEffect;
    // Lays the band pictures over the background pixels of `image`, a picture of a part whose
    // top-left corner is at `origin` of the client area; false when no band paints.
    bool PaintOverBands(QImage& image, TPoint origin);
    void UpdateToday();
    void RequestDayStates();
    void ShowBoldDays(int year, int month, uint32_t mask);
    // A mouse event of a part of the calendar, as the control's own at `pos`; false when a
    // handler freed the control.
    bool PartMouse(QEvent* e, QWidget* part);

    TDateTime fEndDate = 0;
    bool fMultiSelect = false;
    bool fShowToday = true;
    bool fShowTodayCircle = true;
    bool fWeekNumbers = false;
    TColor fMonthBackColor = clDefault;
    int fSetting = 0;
    // A part's mouse event is being handed on: one the part leaves reaches the calendar's own
    // widget, and is not the control's a second time.
    bool fPartMouse = false;
    TFilter* fFilter = nullptr;
    TBandEffect* fDaysEffect = nullptr;
    TBandEffect* fTodayEffect = nullptr;
};

}  // namespace tv
