#include "platform/gui/scroll_bar.h"

#include <QScrollBar>

#include "platform/gui/gui_exceptions.h"
#include "platform/gui/published_properties.h"
#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {

constexpr std::string_view kInvalidRange = "Scroll bar property out of range";

QScrollBar* Bar(const TScrollBar* c) {
    return static_cast<QScrollBar*>(c->Widget());
}

}  // namespace

bool ScrollCodeOfSliderAction(int action, TScrollCode& code) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            code = scLineUp;
            return true;
        case QAbstractSlider::SliderSingleStepAdd:
            code = scLineDown;
            return true;
        case QAbstractSlider::SliderPageStepSub:
            code = scPageUp;
            return true;
        case QAbstractSlider::SliderPageStepAdd:
            code = scPageDown;
            return true;
        case QAbstractSlider::SliderToMinimum:
            code = scTop;
            return true;
        case QAbstractSlider::SliderToMaximum:
            code = scBottom;
            return true;
        case QAbstractSlider::SliderMove:
            code = scTrack;
            return true;
        default:
            return false;
    }
}

const TClassInfo& TScrollBar::StaticClassInfo() {
    // The published properties, as scripts see them.
    static constexpr std::string_view kPublished[] = {
        "Anchors",   "Max",        "Min",        "Position",    "OnChange",       "OnEnter",    "OnExit",
        "CTL3D",     "DragCursor", "DragMode",   "ParentCtl3D", "ParentShowHint", "OnDragDrop", "OnDragOver",
        "OnEndDrag", "OnKeyDown",  "OnKeyPress", "OnKeyUp",     "OnScroll",       "OnStartDrag"};
    static const TClassInfo info = PublishedClass<TScrollBar>("TScrollBar", kPublished);
    return info;
}

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner, NewWidget<QScrollBar>(Qt::Horizontal)) {
    QScrollBar* bar = Bar(this);
    bar->setRange(0, 100);
    bar->setSingleStep(fSmallChange);
    bar->setPageStep(fLargeChange);
    GuardedConnect(this, bar, &QScrollBar::valueChanged, [this](int) { Change(); });
    // The user moves the bar: OnScroll may choose another place.
    GuardedConnect(this, bar, &QScrollBar::actionTriggered, [this](int action) {
        TScrollCode code;
        if (!ScrollCodeOfSliderAction(action, code)) return;
        QScrollBar* b = Bar(this);
        int32_t pos = b->sliderPosition();
        const int32_t before = pos;
        Scroll(code, pos);
        if (pos != before) b->setSliderPosition(std::clamp(pos, b->minimum(), b->maximum()));
    });
    GuardedConnect(this, bar, &QScrollBar::sliderReleased, [this] {
        int32_t pos = Position();
        Scroll(scPosition, pos);
        Scroll(scEndScroll, pos);
    });
    SetTabStop(true);
    SetBounds(0, 0, 121, 17);
}

TScrollBar::~TScrollBar() {
    BeginDestroy();
    QObject::disconnect(Bar(this), nullptr, nullptr, nullptr);
}

void TScrollBar::SetKind(TScrollBarKind value) {
    if (value == fKind) return;
    fKind = value;
    Bar(this)->setOrientation(value == sbHorizontal ? Qt::Horizontal : Qt::Vertical);
    SetBounds(Left(), Top(), Height(), Width());
}

int TScrollBar::Min() const {
    return Bar(this)->minimum();
}

int TScrollBar::Max() const {
    return Bar(this)->maximum();
}

int TScrollBar::Position() const {
    return Bar(this)->value();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
    if (AMax < AMin) throw EInvalidOperation(std::string(kInvalidRange));
    QScrollBar* bar = Bar(this);
    const int before = bar->value();
    {
        // One change at most, reported once the range and the position are both set.
        const QSignalBlocker quiet(bar);
        bar->setRange(AMin, AMax);
        bar->setValue(std::clamp(APosition, AMin, AMax));
    }
    if (bar->value() != before) Change();
}

void TScrollBar::SetSmallChange(TScrollBarInc value) {
    fSmallChange = value;
    Bar(this)->setSingleStep(value);
}

void TScrollBar::SetLargeChange(TScrollBarInc value) {
    fLargeChange = value;
    Bar(this)->setPageStep(value);
}

void TScrollBar::Change() {
    if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int32_t& ScrollPos) {
    if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

}  // namespace tv
