#include "controls/xdb_popup_calendar.h"

#include <QWidget>
#include <cmath>
#include <string>

#include "controls/xdb_grid.h"
#include "controls/xf_gradient.h"
#include "platform/gui/menu.h"
#include "platform/gui/sound.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/date_format.h"

namespace tv {

namespace {

TDateTime TimeOfDay(TDateTime value) {
    return std::fabs(value - std::trunc(value));
}

}  // namespace

const TClassInfo& TXPopupCalendar::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXPopupCalendar>("TXPopupCalendar").Build();
    return info;
}

TXPopupCalendar::TXPopupCalendar(TComponent* AOwner)
    : TXPopup<TMonthCalendar>(AOwner),
      fGradient(std::make_unique<TXFGradient>(this)),
      fYearsMenu(std::make_unique<TPopupMenu>()) {
    fGradient->OnChange = [this](TObject*) {
        Invalidate();
        InvalidateBands();
    };
    SetVisible(false);
    SetTabStop(false);
    SetCtl3D(false);
    SetParentFont(true);
    // The editor keeps the focus while the calendar is clicked; keys come to the calendar's
    // window as a whole, which hands them to its days.
    for (QWidget* part : Widget()->findChildren<QWidget*>()) part->setFocusPolicy(Qt::NoFocus);
    // Built once; relabelled before each showing.
    for (int i = 0; i < kYearItems; ++i) {
        auto* item = new TMenuItem(fYearsMenu.get());
        item->SetCaption(std::to_string(2000 + i));
        item->SetChecked(i == kYearItems / 2);
        item->OnClick = [this](TObject* Sender) { YearMenuClick(Sender); };
        fYearsMenu->Items()->Add(item);
    }
    fDateTime = tv::Date();
    ShowDateTime();
}

TXPopupCalendar::~TXPopupCalendar() {
    BeginDestroy();
}

void TXPopupCalendar::ShowDateTime() {
    SetDate(std::trunc(fDateTime));
}

std::string TXPopupCalendar::ResultText() const {
    return DateTimeToStr(fDateTime);
}

void TXPopupCalendar::SetResultText(const std::string& text) {
    TDateTime value = 0;
    if (text.empty()) {
        value = tv::Date();
    } else if (!TryStrToDateTime(text, value)) {
        value = tv::Date();
        Beep();
    }
    fDateTime = value;
    ShowDateTime();
}

void TXPopupCalendar::YearMenuClick(TObject* Sender) {
    const auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (!item) return;
    int year = 0, month = 0, day = 0;
    DecodeDate(fDateTime, year, month, day);
    const TDateTime date = EncodeDate(std::stoi(item->Caption()), month, day);
    fDateTime = ComposeDateTime(date, TimeOfDay(fDateTime));
    ShowDateTime();
}

bool TXPopupCalendar::YearPressed(TPoint Pos) {
    const int shown = ShownYear();
    for (int i = 0; i < kYearItems; ++i)
        fYearsMenu->Items()->Items(i)->SetCaption(std::to_string(shown - kYearItems / 2 + i));
    const TPoint at = ClientToScreen(Pos);
    fYearsMenu->Popup(at.X, at.Y);
    return true;
}

void TXPopupCalendar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    auto alive = Watch();
    TXPopup<TMonthCalendar>::MouseUp(Button, Shift, X, Y);
    if (alive.expired() || Button != mbLeft) return;
    if (!ClientRect().Contains({X, Y})) return DoCloseUp(false);
    switch (PartAt({X, Y})) {
        case TCalendarPart::Days:
            return DoCloseUp(true);
        case TCalendarPart::Today:
            if (fTodayClose) DoCloseUp(true);
            return;
        default:
            return;
    }
}

bool TXPopupCalendar::PaintBand(TCanvas* canvas, const TRect& rect, bool title) {
    if (!fGradient->IsActive()) return false;
    const TColor month = MonthBackColor() == clDefault ? clWindow : MonthBackColor();
    fGradient->FillRect(canvas, Bounds(0, 0, rect.Width(), rect.Height()), false, false,
                        title ? TitleBackColor() : month);
    return true;
}

void TXPopupCalendar::DayStateRequest(int startYear, int startMonth, int count) {
    fStartYear = startYear;
    fStartMonth = startMonth;
    TXPopup<TMonthCalendar>::DayStateRequest(startYear, startMonth, count);
}

uint32_t TXPopupCalendar::GetMonthInfo(uint32_t Month) {
    return MonthBoldInfo(Month);
}

uint32_t TXPopupCalendar::MonthBoldInfo(uint32_t Month) {
    if (!Grid() || !Grid()->OnCalcBoldDays) return 0;
    const int month = static_cast<int>(Month);
    const int year = fStartYear + (month < fStartMonth ? 1 : 0);
    uint32_t mask = 0;
    auto alive = Watch();
    for (int day = 1; day <= DaysInAMonth(year, month); ++day) {
        bool bold = false;
        Grid()->OnCalcBoldDays(this, EncodeDate(year, month, day), bold);
        if (alive.expired()) return 0;
        if (bold) mask |= 1u << (day - 1);
    }
    return mask;
}

void TXPopupCalendar::SelectionChanged(TDateTime Start, TDateTime End) {
    // The day replaces the date; the time of day stays. Not handed on.
    if (Start != 0) fDateTime = ComposeDateTime(Start, TimeOfDay(fDateTime));
    if (MultiSelect() && End != 0) SetEndDate(End);
}

}  // namespace tv
