#include "platform/gui/scroll_bar_adapter.h"

#include <QAbstractScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

namespace tv {

TScrollBarShape ScrollBarShapeOf(const TScrollInfo& info, bool disableNoScroll) {
    // In 64 bits: the platform's ranges may span the whole integer range.
    const int64_t min = info.Min;
    const int64_t max = info.Page > 0 ? int64_t{info.Max} - info.Page + 1 : int64_t{info.Max};
    const bool canScroll = info.Page > 0 ? int64_t{info.Page} <= int64_t{info.Max} - min : info.Max > info.Min;
    TScrollBarShape s;
    s.Minimum = info.Min;
    s.Maximum = static_cast<int>(std::max(max, min));
    s.PageStep = std::max(info.Page, 0);
    s.Value = std::clamp(info.Pos, s.Minimum, s.Maximum);
    s.Enabled = canScroll;
    s.Visible = canScroll || disableNoScroll;
    return s;
}

TScrollBarAdapter::TScrollBarAdapter(QAbstractScrollArea* area, TScrollBarKind kind, TCommandHandler handler)
    : fArea(area),
      fBar(kind == sbHorizontal ? area->horizontalScrollBar() : area->verticalScrollBar()),
      fKind(kind),
      fHandler(std::move(handler)),
      fReceiver(std::make_unique<QObject>()) {
    fShape.Visible = true;  // so that the first Apply sets the policy
    Apply();
    // A handler may free the control, and the adapter with it.
    std::weak_ptr<char> alive = fAlive;
    QObject::connect(fBar, &QAbstractSlider::actionTriggered, fReceiver.get(), [this, alive](int action) {
        TScrollCode code;
        if (!ScrollCodeOfSliderAction(action, code)) return;
        QScrollBar* bar = fBar;
        const bool dragging = code == scTrack && bar->isSliderDown();
        Command(code, bar->sliderPosition());
        if (alive.expired()) return;
        // The toolkit applies the action after this returns: it applies the control's position.
        if (!dragging) bar->setSliderPosition(fShape.Value);
    });
    QObject::connect(fBar, &QAbstractSlider::sliderReleased, fReceiver.get(), [this, alive] {
        const int pos = fBar->sliderPosition();
        Command(scPosition, pos);
        if (alive.expired()) return;
        Command(scEndScroll, pos);
        if (alive.expired()) return;
        const QSignalBlocker quiet(fBar);
        fBar->setValue(fShape.Value);
    });
}

TScrollBarAdapter::~TScrollBarAdapter() = default;

void TScrollBarAdapter::Command(TScrollCode code, int pos) {
    if (!fHandler) return;
    // A copy: the handler may free the adapter.
    const TCommandHandler handler = fHandler;
    std::weak_ptr<char> alive = fAlive;
    handler(code, pos);
    // A step is over at once: the toolkit tells of no release after it.
    if (!alive.expired() && code != scTrack && code != scPosition && code != scEndScroll) handler(scEndScroll, pos);
}

bool TScrollBarAdapter::SetScrollInfo(const TScrollInfo& info) {
    fInfo = info;
    return Apply();
}

bool TScrollBarAdapter::SetHidden(bool hidden) {
    if (hidden == fHidden) return false;
    fHidden = hidden;
    return Apply();
}

void TScrollBarAdapter::SetDisableNoScroll(bool value) {
    if (value == fDisableNoScroll) return;
    fDisableNoScroll = value;
    Apply();
}

bool TScrollBarAdapter::Apply() {
    TScrollBarShape shape = ScrollBarShapeOf(fInfo, fDisableNoScroll);
    if (fHidden) shape.Visible = false;
    if (shape == fShape) return false;
    const bool visibilityChanged = shape.Visible != fShape.Visible;
    fShape = shape;
    {
        // The area would repaint on its own when the value changes; the control repaints itself.
        const QSignalBlocker quiet(fBar);
        fBar->setRange(shape.Minimum, shape.Maximum);
        fBar->setPageStep(shape.PageStep);
        fBar->setSingleStep(1);
        fBar->setValue(shape.Value);
        fBar->setEnabled(shape.Enabled);
    }
    if (visibilityChanged) {
        const Qt::ScrollBarPolicy policy = shape.Visible ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
        if (fKind == sbHorizontal)
            fArea->setHorizontalScrollBarPolicy(policy);
        else
            fArea->setVerticalScrollBarPolicy(policy);
    }
    return visibilityChanged;
}

}  // namespace tv
