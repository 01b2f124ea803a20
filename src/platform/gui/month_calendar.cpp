#include "platform/gui/month_calendar.h"

#include <QCalendarWidget>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTableView>
#include <QTextCharFormat>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/gui/qt_support.h"
#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/date_format.h"

namespace tv {

namespace {

// The calendar's widget: the toolkit's month calendar with a line for today under it.
class TCalendarBox : public QWidget {
public:
    TCalendarBox() {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(1, 1, 1, 1);
        layout->setSpacing(0);
        calendar = new QCalendarWidget(this);
        calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        calendar->setFirstDayOfWeek(Qt::Monday);
        today = new QLabel(this);
        today->setContentsMargins(6, 2, 6, 2);
        layout->addWidget(calendar);
        layout->addWidget(today);
    }
    QCalendarWidget* calendar;
    QLabel* today;
};

TCalendarBox* BoxOf(const TMonthCalendar* c) {
    return static_cast<TCalendarBox*>(c->Widget());
}

QTableView* ViewOf(const TMonthCalendar* c) {
    return BoxOf(c)->calendar->findChild<QTableView*>("qt_calendar_calendarview");
}

QDate ToQDate(TDateTime value) {
    int y = 0, m = 0, d = 0;
    DecodeDate(value, y, m, d);
    return QDate(y, m, d);
}

TDateTime FromQDate(const QDate& date) {
    return date.isValid() ? EncodeDate(date.year(), date.month(), date.day()) : 0;
}

bool Inside(const QWidget* part, const QWidget* ancestor) {
    return part && ancestor && (part == ancestor || ancestor->isAncestorOf(part));
}

}  // namespace

// Hands the mouse presses and releases of the calendar's parts to the control, after the part
// has done its own (so that a release sees the day it chose).
class TMonthCalendar::TFilter : public QObject {
public:
    explicit TFilter(TMonthCalendar& owner) : fOwner(owner) {}
    bool eventFilter(QObject* watched, QEvent* e) override {
        const auto type = e->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease) return false;
        auto* part = qobject_cast<QWidget*>(watched);
        if (!part || fBusy) return false;
        fBusy = true;
        bool eaten = false;
        try {
            eaten = fOwner.PartMouse(e, part);
        } catch (...) {
            fBusy = false;
            HandleGuiException(&fOwner);
            return true;
        }
        fBusy = false;
        return eaten;
    }

private:
    TMonthCalendar& fOwner;
    bool fBusy = false;
};

const TClassInfo& TMonthCalendar::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TMonthCalendar>("TMonthCalendar").Build();
    return info;
}

TMonthCalendar::TMonthCalendar(TComponent* AOwner) : TWinControl(AOwner, NewWidget<TCalendarBox>()) {
    TCalendarBox* box = BoxOf(this);
    fFilter = new TFilter(*this);
    fFilter->setParent(box);
    for (QWidget* part : box->findChildren<QWidget*>()) part->installEventFilter(fFilter);
    GuardedConnect(this, box->calendar, &QCalendarWidget::currentPageChanged,
                   [this](int, int) { RequestDayStates(); });
    GuardedConnect(this, box->calendar, &QCalendarWidget::selectionChanged, [this] {
        if (fSetting > 0) return;
        const TDateTime day = FromQDate(BoxOf(this)->calendar->selectedDate());
        SelectionChanged(day, day);
    });
    SetTabStop(true);
    UpdateToday();
    AdjustSize();
    RequestDayStates();
}

TMonthCalendar::~TMonthCalendar() {
    BeginDestroy();
    QObject::disconnect(BoxOf(this)->calendar, nullptr, nullptr, nullptr);
    for (QWidget* part : BoxOf(this)->findChildren<QWidget*>()) part->removeEventFilter(fFilter);
}

TDateTime TMonthCalendar::Date() const {
    return FromQDate(BoxOf(this)->calendar->selectedDate());
}

void TMonthCalendar::SetDate(TDateTime value) {
    ++fSetting;
    BoxOf(this)->calendar->setSelectedDate(ToQDate(value));
    --fSetting;
}

void TMonthCalendar::SetShowToday(bool value) {
    fShowToday = value;
    UpdateToday();
}

void TMonthCalendar::SetShowTodayCircle(bool value) {
    fShowTodayCircle = value;
    UpdateToday();
}

void TMonthCalendar::SetWeekNumbers(bool value) {
    fWeekNumbers = value;
    BoxOf(this)->calendar->setVerticalHeaderFormat(value ? QCalendarWidget::ISOWeekNumbers
                                                         : QCalendarWidget::NoVerticalHeader);
}

void TMonthCalendar::SetMonthBackColor(TColor value) {
    fMonthBackColor = value;
    ApplyColor();
}

void TMonthCalendar::ApplyColor() {
    TWinControl::ApplyColor();
    QTableView* view = ViewOf(this);
    if (!view) return;
    QPalette pal = view->palette();
    pal.setColor(QPalette::Base, ToQColor(fMonthBackColor == clDefault ? clWindow : fMonthBackColor));
    view->setPalette(pal);
}

void TMonthCalendar::AdjustSize() {
    const QSize hint = BoxOf(this)->sizeHint();
    SetBounds(Left(), Top(), hint.width(), hint.height());
}

int TMonthCalendar::ShownYear() const {
    return BoxOf(this)->calendar->yearShown();
}

int TMonthCalendar::ShownMonth() const {
    return BoxOf(this)->calendar->monthShown();
}

void TMonthCalendar::ShowMonth(int year, int month) {
    BoxOf(this)->calendar->setCurrentPage(year, month);
}

void TMonthCalendar::UpdateToday() {
    TCalendarBox* box = BoxOf(this);
    const TDateTime today = tv::Date();
    box->today->setText(QString::fromStdString("Today: " + DateToStr(today)));
    box->today->setVisible(fShowToday);
    QTextCharFormat format = box->calendar->dateTextFormat(ToQDate(today));
    format.setFontUnderline(fShowTodayCircle);
    format.setUnderlineColor(Qt::red);
    box->calendar->setDateTextFormat(ToQDate(today), format);
}

void TMonthCalendar::RequestDayStates() {
    // The shown month and the ends of the months before and after it, which its page shows too.
    int year = ShownYear();
    int month = ShownMonth() - 1;
    if (month < 1) {
        month = 12;
        --year;
    }
    DayStateRequest(year, month, 3);
}

void TMonthCalendar::DayStateRequest(int startYear, int startMonth, int count) {
    int year = startYear;
    int month = startMonth;
    for (int i = 0; i < count; ++i) {
        ShowBoldDays(year, month, GetMonthInfo(static_cast<uint32_t>(month)));
        if (++month > 12) {
            month = 1;
            ++year;
        }
    }
}

uint32_t TMonthCalendar::GetMonthInfo(uint32_t Month) {
    uint32_t mask = 0;
    if (OnGetMonthInfo) OnGetMonthInfo(this, Month, mask);
    return mask;
}

void TMonthCalendar::ShowBoldDays(int year, int month, uint32_t mask) {
    QCalendarWidget* calendar = BoxOf(this)->calendar;
    const int days = DaysInAMonth(year, month);
    for (int d = 1; d <= days; ++d) {
        const QDate date(year, month, d);
        QTextCharFormat format = calendar->dateTextFormat(date);
        const bool bold = mask & (1u << (d - 1));
        if (bold == (format.fontWeight() == QFont::Bold)) continue;
        format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
        calendar->setDateTextFormat(date, format);
    }
}

void TMonthCalendar::SelectionChanged(TDateTime, TDateTime) {
    // The widget shows the chosen day already.
    if (OnChange) OnChange(this);
}

bool TMonthCalendar::WidgetEvent(QEvent* e, bool viewport) {
    if (fPartMouse && e->type() == QEvent::MouseButtonRelease) return BaseWidgetEvent(e, viewport);
    return TWinControl::WidgetEvent(e, viewport);
}

TCalendarPart TMonthCalendar::PartAt(TPoint Pos) const {
    TCalendarBox* box = BoxOf(this);
    if (!ClientRect().Contains(Pos)) return TCalendarPart::None;
    const QPoint at(Pos.X, Pos.Y);
    const QWidget* part = box->childAt(at);
    if (!part) return TCalendarPart::None;
    if (Inside(part, box->today)) return fShowToday ? TCalendarPart::Today : TCalendarPart::None;
    if (Inside(part, box->calendar->findChild<QToolButton*>("qt_calendar_yearbutton")))
        return TCalendarPart::TitleYear;
    if (Inside(part, box->calendar->findChild<QWidget*>("qt_calendar_navigationbar")))
        return TCalendarPart::Title;
    QTableView* view = ViewOf(this);
    if (!Inside(part, view)) return TCalendarPart::None;
    const QModelIndex index = view->indexAt(view->viewport()->mapFrom(box, at));
    if (!index.isValid()) return TCalendarPart::None;
    if (index.row() == 0 && box->calendar->horizontalHeaderFormat() != QCalendarWidget::NoHorizontalHeader)
        return TCalendarPart::WeekDays;
    if (index.column() == 0 && fWeekNumbers) return TCalendarPart::WeekNumbers;
    return TCalendarPart::Days;
}

TPoint TMonthCalendar::DayPoint(TDateTime Day) const {
    TCalendarBox* box = BoxOf(this);
    QTableView* view = ViewOf(this);
    // The page starts on the week day before the first of the month, a whole week before it
    // when the month begins on the first day of the week.
    const QDate first(ShownYear(), ShownMonth(), 1);
    int offset = (first.dayOfWeek() - static_cast<int>(box->calendar->firstDayOfWeek()) + 7) % 7;
    if (offset == 0) offset = 7;
    const qint64 n = first.addDays(-offset).daysTo(ToQDate(Day));
    const int row = static_cast<int>(n / 7) +
                    (box->calendar->horizontalHeaderFormat() != QCalendarWidget::NoHorizontalHeader ? 1 : 0);
    const int column = static_cast<int>(n % 7) + (fWeekNumbers ? 1 : 0);
    const QPoint centre = view->visualRect(view->model()->index(row, column)).center();
    const QPoint at = view->viewport()->mapTo(box, centre);
    return {at.x(), at.y()};
}

bool TMonthCalendar::PartMouse(QEvent* e, QWidget* part) {
    auto* m = static_cast<QMouseEvent*>(e);
    TCalendarBox* box = BoxOf(this);
    const QPoint at = part->mapTo(box, m->position().toPoint());
    const TPoint pos{at.x(), at.y()};
    const TShiftState shift = ShiftStateOf(m->modifiers(), m->buttons() | m->button());
    TMouseButton button = mbLeft;
    if (m->button() == Qt::RightButton)
        button = mbRight;
    else if (m->button() == Qt::MiddleButton)
        button = mbMiddle;
    else if (m->button() != Qt::LeftButton)
        return false;
    auto alive = Watch();
    if (e->type() == QEvent::MouseButtonPress) {
        if (button == mbLeft && PartAt(pos) == TCalendarPart::TitleYear && YearPressed(pos)) {
            e->accept();
            return true;
        }
        if (alive.expired()) return true;
        MouseDown(button, shift, pos.X, pos.Y);
        return false;
    }
    // The part takes the release first: a day is chosen before the control hears of it.
    const bool onToday = button == mbLeft && PartAt(pos) == TCalendarPart::Today;
    fPartMouse = true;
    QCoreApplication::sendEvent(part, e);
    if (alive.expired()) return true;
    fPartMouse = false;
    // Taken here: the toolkit hands it on to no parent.
    e->accept();
    if (onToday) {
        const TDateTime today = tv::Date();
        SetDate(today);
        SelectionChanged(today, today);
        if (alive.expired()) return true;
    }
    MouseUp(button, shift, pos.X, pos.Y);
    return true;
}

}  // namespace tv
