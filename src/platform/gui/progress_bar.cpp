#include "platform/gui/progress_bar.h"

#include <QProgressBar>
#include <algorithm>
#include <cstdint>

#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {
QProgressBar* Bar(const TProgressBar* c) {
    return static_cast<QProgressBar*>(c->Widget());
}
}  // namespace

const TClassInfo& TProgressBar::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TProgressBar>("TProgressBar").Build();
    return info;
}

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner, NewWidget<QProgressBar>()) {
    QProgressBar* bar = Bar(this);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    SetBounds(0, 0, 150, 17);
}

int TProgressBar::Min() const {
    return Bar(this)->minimum();
}

void TProgressBar::SetMin(int value) {
    Bar(this)->setMinimum(value);
}

int TProgressBar::Max() const {
    return Bar(this)->maximum();
}

void TProgressBar::SetMax(int value) {
    Bar(this)->setMaximum(value);
}

int TProgressBar::Position() const {
    return Bar(this)->value();
}

void TProgressBar::SetPosition(int value) {
    Bar(this)->setValue(std::clamp(value, Min(), Max()));
}

void TProgressBar::StepIt() {
    // Summed wide: a step past the largest integer is past Max too.
    const int64_t next = int64_t{Position()} + fStep;
    SetPosition(next > Max() ? Min() : static_cast<int>(std::max<int64_t>(next, Min())));
}

void TProgressBar::StepBy(int Delta) {
    SetPosition(static_cast<int>(std::clamp<int64_t>(int64_t{Position()} + Delta, Min(), Max())));
}

void TProgressBar::SetOrientation(TProgressBarOrientation value) {
    fOrientation = value;
    Bar(this)->setOrientation(value == pbHorizontal ? Qt::Horizontal : Qt::Vertical);
}

}  // namespace tv
