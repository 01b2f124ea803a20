#pragma once
// How a control hears what happens to its widget (for the library's own sources). Each control owns
// one widget of a class TBridged<W>; the widget hands every event to its control, which fires the
// class library's events and then lets the widget do its own part. No exception ever leaves the
// control's handling: it is reported through the application's HandleException.

#include <QAbstractScrollArea>
#include <QEvent>
#include <QWidget>
#include <utility>

#include "platform/gui/application.h"
#include "platform/gui/control.h"
#include "platform/gui/qt_support.h"

namespace tv {

class TWidgetLink {
public:
    virtual ~TWidgetLink() = default;
    // The widget's own handling of an event.
    virtual bool BaseEvent(QEvent* e) = 0;
    // For scroll areas: the own handling of an event of the viewport (mouse and paint arrive there).
    virtual bool BaseViewportEvent(QEvent* e) { return false; }
    TControl* Control = nullptr;
    // How many events of the widget are being handled right now (nested loops nest them); the
    // widget is not deleted while any is.
    int Depth = 0;
    // The control went while an event of the widget was being handled: the widget is deleted
    // once the outermost one is done.
    bool Orphaned = false;
};

// Defined with TControl; never throw.
bool DispatchWidgetEvent(TControl& control, QEvent* e, bool viewport) noexcept;
void ControlWidgetGone(TControl& control) noexcept;
// Deletes the widget of a freed control as soon as the toolkit is done with its last event.
void DeleteOrphanedWidget(QWidget* widget) noexcept;

template <class W>
class TBridged : public W, public TWidgetLink {
public:
    template <class... A>
    explicit TBridged(A&&... args) : W(std::forward<A>(args)...) {}
    ~TBridged() override {
        if (Control) ControlWidgetGone(*Control);
    }
    bool BaseEvent(QEvent* e) override { return W::event(e); }

protected:
    bool event(QEvent* e) override {
        if (!Control) return W::event(e);
        ++Depth;
        const bool result = DispatchWidgetEvent(*Control, e, false);
        if (--Depth == 0 && Orphaned) DeleteOrphanedWidget(this);
        return result;
    }
};

// Scroll areas (memos, list boxes, tree views) take mouse and paint events on their viewport.
template <class W>
class TBridgedScrollArea : public TBridged<W> {
public:
    using TBridged<W>::TBridged;
    bool BaseViewportEvent(QEvent* e) override { return W::viewportEvent(e); }

protected:
    bool viewportEvent(QEvent* e) override {
        if (!this->Control) return W::viewportEvent(e);
        ++this->Depth;
        const bool result = DispatchWidgetEvent(*this->Control, e, true);
        if (--this->Depth == 0 && this->Orphaned) DeleteOrphanedWidget(this);
        return result;
    }
};

// Connects a signal of `sender` to `action` inside the exception guard: an exception that leaves
// `action` goes to HandleException with `control` as the sender.
template <class Sender, class Signal, class F>
void GuardedConnect(TControl* control, Sender* sender, Signal signal, F action) {
    QObject::connect(sender, signal, sender, [control, action = std::move(action)](auto&&... args) {
        try {
            action(args...);
        } catch (...) {
            HandleGuiException(control);
        }
    });
}

// A new bridged widget of class W.
template <class W, class... A>
QWidget* NewWidget(A&&... args) {
    EnsureQtApplication();
    if constexpr (std::is_base_of_v<QAbstractScrollArea, W>)
        return new TBridgedScrollArea<W>(std::forward<A>(args)...);
    else
        return new TBridged<W>(std::forward<A>(args)...);
}

}  // namespace tv
