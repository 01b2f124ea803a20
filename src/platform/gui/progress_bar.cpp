#include "platform/gui/progress_bar.h"

#include <QProgressBar>

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
    const int next = Position() + fStep;
    SetPosition(next > Max() ? Min() : next);
}

void TProgressBar::StepBy(int Delta) {
    SetPosition(Position() + Delta);
}

void TProgressBar::SetOrientation(TProgressBarOrientation value) {
    fOrientation = value;
    Bar(this)->setOrientation(value == pbHorizontal ? Qt::Horizontal : Qt::Vertical);
}

}  // namespace tv
