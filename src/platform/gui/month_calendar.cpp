#include "platform/gui/month_calendar.h"

#include <QCalendarWidget>
#include <QCoreApplication>
#include <QGraphicsEffect>
#include <QImage>
#include <QPainter>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTableView>
#include <QTextCharFormat>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
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

protected:
    // Keys that come to the calendar itself (it shows as a pop-up without a focused part, or a
    // key handed on by an editor) move through the days as the days' table does.
    void keyPressEvent(QKeyEvent* e) override {
        QObject* days = calendar->findChild<QTableView*>("qt_calendar_calendarview");
        // Straight to the table: a key it ignores is not handed up to this box again.
        if (days) days->event(e);
        if (!days || !e->isAccepted()) QWidget::keyPressEvent(e);
    }
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
        // A press no part took ends at the month calendar, which would take the focus: a calendar
        // that takes no focus (a pop-up under an editor) leaves it where it is.
        if (type == QEvent::MouseButtonPress && part == BoxOf(&fOwner)->calendar && !fOwner.AcceptsFocus()) {
            e->accept();
            return true;
        }
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

// Paints a part of the calendar as it is, then hands the picture to the calendar to lay the band
// pictures over its background pixels.
class TMonthCalendar::TBandEffect : public QGraphicsEffect {
public:
    TBandEffect(TMonthCalendar& owner, QWidget* part) : fOwner(owner), fPart(part) {}

protected:
    void draw(QPainter* painter) override {
        QPoint offset;
        const QPixmap source = sourcePixmap(Qt::LogicalCoordinates, &offset, QGraphicsEffect::NoPad);
        QImage image = source.toImage().convertToFormat(QImage::Format_ARGB32);
        const QPoint origin = fPart->mapTo(fOwner.Widget(), offset);
        bool painted = false;
        try {
            painted = fOwner.PaintOverBands(image, {origin.x(), origin.y()});
        } catch (...) {
            HandleGuiException(&fOwner);
        }
        if (painted)
            painter->drawImage(offset, image);
        else
            painter->drawPixmap(offset, source);
    }

private:
    TMonthCalendar& fOwner;
    QWidget* fPart;
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
    // The month's parts and the today line are painted through the band effects.
    fDaysEffect = new TBandEffect(*this, box->calendar);
    box->calendar->setGraphicsEffect(fDaysEffect);
    fTodayEffect = new TBandEffect(*this, box->today);
    box->today->setGraphicsEffect(fTodayEffect);
    SetTabStop(true);
    UpdateToday();
    AdjustSize();
    RequestDayStates();
}

TMonthCalendar::~TMonthCalendar() {
    BeginDestroy();
    QObject::disconnect(BoxOf(this)->calendar, nullptr, nullptr, nullptr);
    // The effects call back into the control when they paint.
    BoxOf(this)->calendar->setGraphicsEffect(nullptr);
    BoxOf(this)->today->setGraphicsEffect(nullptr);
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

TColor TMonthCalendar::TitleBackColor() const {
    const QWidget* bar = BoxOf(this)->calendar->findChild<QWidget*>("qt_calendar_navigationbar");
    return bar ? FromQColor(bar->palette().color(bar->backgroundRole())) : clHighlight;
}

int TMonthCalendar::TitleBandBottom() const {
    TCalendarBox* box = BoxOf(this);
    const QWidget* bar = box->calendar->findChild<QWidget*>("qt_calendar_navigationbar");
    if (!bar) return 0;
    return bar->mapTo(box, QPoint(0, bar->height())).y();
}

void TMonthCalendar::InvalidateBands() {
    fDaysEffect->update();
    fTodayEffect->update();
}

bool TMonthCalendar::PaintOverBands(QImage& image, TPoint origin) {
    const int width = Width();
    const int split = std::clamp(TitleBandBottom(), 0, Height());
    const TRect titleBand{0, 0, width, split};
    const TRect restBand{0, split, width, Height()};
    TBitmap title, rest;
    title.SetSize(titleBand.Width(), titleBand.Height());
    rest.SetSize(restBand.Width(), restBand.Height());
    // Each band paints or neither does: the calendar is one look.
    if (!PaintBand(title.Canvas(), titleBand, true) || !PaintBand(rest.Canvas(), restBand, false)) return false;
    const QImage& titleImage = title.Image();
    const QImage& restImage = rest.Image();
    const QRgb titleBack = ToQColor(TitleBackColor()).rgb();
    const QRgb monthBack = ToQColor(fMonthBackColor == clDefault ? clWindow : fMonthBackColor).rgb();
    for (int y = 0; y < image.height(); ++y) {
        const int cy = origin.Y + y;
        const bool inTitle = cy < split;
        const QImage& band = inTitle ? titleImage : restImage;
        const int by = inTitle ? cy : cy - split;
        if (by < 0 || by >= band.height()) continue;
        const QRgb back = inTitle ? titleBack : monthBack;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int cx = origin.X + x;
            if (cx < 0 || cx >= band.width()) continue;
            // Where nothing is painted the calendar's own background shows.
            if (qAlpha(line[x]) == 0 || (line[x] | 0xFF000000u) == (back | 0xFF000000u)) line[x] = band.pixel(cx, by);
        }
    }
    return true;
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
