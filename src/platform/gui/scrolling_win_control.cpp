#include "platform/gui/scrolling_win_control.h"

#include <QScrollBar>
#include <QStyle>
#include <QWidget>

#include "platform/gui/application.h"
#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {
int BarExtent(const QWidget* w) {
    return w->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, w);
}
}  // namespace

// ---- TControlScrollBar ----

const TClassInfo& TControlScrollBar::StaticClassInfo() {
    using C = TControlScrollBar;
    static const TClassInfo info = TClassBuilder<C>("TControlScrollBar")
                                       .Published("Margin", &C::Margin, &C::SetMargin)
                                       .Published("Increment", &C::Increment, &C::SetIncrement)
                                       .Published("Range", &C::Range, &C::SetRange)
                                       .Published("Position", &C::Position, &C::SetPosition)
                                       .Published("Tracking", &C::Tracking, &C::SetTracking)
                                       .Published("Visible", &C::Visible, &C::SetVisible)
                                       .Build();
    return info;
}

TControlScrollBar::TControlScrollBar(TScrollingWinControl* AControl, TScrollBarKind AKind)
    : fControl(AControl), fKind(AKind) {
    if (QWidget* host = AControl->Widget()) {
        fBar = new QScrollBar(AKind == sbHorizontal ? Qt::Horizontal : Qt::Vertical, host);
        fBar->hide();
        QObject::connect(fBar, &QScrollBar::valueChanged, fBar, [this](int value) {
            try {
                SetPosition(value);
            } catch (...) {
                HandleGuiException(fControl);
            }
        });
    }
}

TControlScrollBar::~TControlScrollBar() {
    if (fBar) QObject::disconnect(fBar, nullptr, nullptr, nullptr);
}

int TControlScrollBar::ClientSize() const {
    const TRect r = fControl->ClientRect();
    return fKind == sbHorizontal ? r.Width() : r.Height();
}

void TControlScrollBar::SetMargin(uint16_t value) {
    fMargin = value;
    fControl->UpdateScrollBars();
}

void TControlScrollBar::SetIncrement(TScrollBarInc value) {
    fIncrement = value;
    UpdateBar();
}

void TControlScrollBar::SetRange(int value) {
    fControl->fAutoScroll = false;
    fRange = std::max(value, 0);
    fControl->UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int value) {
    value = std::clamp(value, 0, MaxPosition());
    if (value == fPosition) return;
    const int delta = fPosition - value;
    fPosition = value;
    const bool updating = fControl->fUpdatingBars;
    fControl->fUpdatingBars = true;
    try {
        if (fKind == sbHorizontal)
            fControl->ScrollBy(delta, 0);
        else
            fControl->ScrollBy(0, delta);
    } catch (...) {
        fControl->fUpdatingBars = updating;
        throw;
    }
    fControl->fUpdatingBars = updating;
    UpdateBar();
}

void TControlScrollBar::SetTracking(bool value) {
    fTracking = value;
    if (fBar) fBar->setTracking(value);
}

void TControlScrollBar::SetVisible(bool value) {
    fVisible = value;
    fControl->UpdateScrollBars();
}

void TControlScrollBar::Assign(TPersistent* Source) {
    auto* s = dynamic_cast<TControlScrollBar*>(Source);
    if (!s) return TPersistent::Assign(Source);
    fMargin = s->fMargin;
    fIncrement = s->fIncrement;
    fTracking = s->fTracking;
    fVisible = s->fVisible;
    fRange = s->fRange;
    fControl->UpdateScrollBars();
    SetPosition(s->fPosition);
}

void TControlScrollBar::UpdateBar() {
    if (!fBar) return;
    QWidget* host = fControl->Widget();
    if (!fShown || !host) {
        fBar->hide();
        return;
    }
    const int extent = BarExtent(host);
    const TRect client = fControl->ClientRect();
    const TPoint o = fControl->ClientOrigin();
    if (fKind == sbHorizontal)
        fBar->setGeometry(o.X, o.Y + client.Height(), client.Width(), extent);
    else
        fBar->setGeometry(o.X + client.Width(), o.Y, extent, client.Height());
    const QSignalBlocker quiet(fBar);
    fBar->setRange(0, MaxPosition());
    fBar->setPageStep(std::max(ClientSize(), 1));
    fBar->setSingleStep(std::max<int>(fIncrement, 1));
    fBar->setValue(fPosition);
    fBar->setTracking(fTracking);
    fBar->show();
    fBar->raise();
}

// ---- TScrollingWinControl ----

const TClassInfo& TScrollingWinControl::StaticClassInfo() {
    using C = TScrollingWinControl;
    static const TClassInfo info = TClassBuilder<C>("TScrollingWinControl")
                                       .Published("HorzScrollBar", &C::HorzScrollBar, &C::SetHorzScrollBar)
                                       .Published("VertScrollBar", &C::VertScrollBar, &C::SetVertScrollBar)
                                       .Build();
    return info;
}

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner)
    : TScrollingWinControl(AOwner, NewWidget<QWidget>()) {}

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner, QWidget* widget)
    : TWinControl(AOwner, widget),
      fHorz(std::make_unique<TControlScrollBar>(this, sbHorizontal)),
      fVert(std::make_unique<TControlScrollBar>(this, sbVertical)) {}

TScrollingWinControl::~TScrollingWinControl() {
    BeginDestroy();
}

void TScrollingWinControl::SetAutoScroll(bool value) {
    if (value == fAutoScroll) return;
    fAutoScroll = value;
    UpdateScrollBars();
}

TRect TScrollingWinControl::ClientRect() const {
    TRect r = InnerRect();
    const int extent = Widget() ? BarExtent(Widget()) : 0;
    if (fVert && fVert->fShown) r.Right = std::max(r.Left, r.Right - extent);
    if (fHorz && fHorz->fShown) r.Bottom = std::max(r.Top, r.Bottom - extent);
    return r;
}

void TScrollingWinControl::AlignControls(TRect rect) {
    TWinControl::AlignControls(rect);
    UpdateScrollBars();
}

void TScrollingWinControl::ChildGeometryChanged(TControl* child) {
    if (fAutoScroll) UpdateScrollBars();
}

void TScrollingWinControl::UpdateScrollBars() {
    if (fUpdatingBars || !fHorz || !fVert || ComponentState().Contains(csDestroying)) return;
    fUpdatingBars = true;
    try {
        if (fAutoScroll) {
            // The contents reach as far as the farthest control that does not follow the client
            // area, counted from where it stands unscrolled.
            int right = 0, bottom = 0;
            for (int i = 0; i < ControlCount(); ++i) {
                const TControl* c = Controls(i);
                if (!c->Visible() || c->Align() != alNone) continue;
                right = std::max(right, c->Left() + c->Width() + fHorz->fPosition);
                bottom = std::max(bottom, c->Top() + c->Height() + fVert->fPosition);
            }
            fHorz->fRange = right > 0 ? right + fHorz->fMargin : 0;
            fVert->fRange = bottom > 0 ? bottom + fVert->fMargin : 0;
        }
        // Showing one bar narrows the room for the other.
        const TRect full = InnerRect();
        const int extent = Widget() ? BarExtent(Widget()) : 0;
        bool h = fHorz->fVisible && fHorz->fRange > full.Width();
        bool v = fVert->fVisible && fVert->fRange > full.Height();
        if (h && !v) v = fVert->fVisible && fVert->fRange > full.Height() - extent;
        if (v && !h) h = fHorz->fVisible && fHorz->fRange > full.Width() - extent;
        const bool barsChanged = h != fHorz->fShown || v != fVert->fShown;
        fHorz->fShown = h;
        fVert->fShown = v;
        fUpdatingBars = false;
        for (TControlScrollBar* bar : {fHorz.get(), fVert.get()}) {
            if (bar->fPosition > bar->MaxPosition() || !bar->fShown)
                bar->SetPosition(bar->fShown ? bar->MaxPosition() : 0);
            bar->UpdateBar();
        }
        // The client area grew or shrank with the bars: the aligned controls follow it.
        if (barsChanged) Realign();
    } catch (...) {
        fUpdatingBars = false;
        throw;
    }
}

void TScrollingWinControl::ScrollInView(TControl* AControl) {
    if (!AControl || !ContainsControl(AControl) || AControl == this) return;
    TPoint origin{AControl->Left(), AControl->Top()};
    for (const TControl* p = AControl->Parent(); p && p != this; p = p->Parent()) {
        origin.X += p->Left();
        origin.Y += p->Top();
    }
    const TRect client = ClientRect();
    auto scroll = [](TControlScrollBar* bar, int start, int size, int room) {
        if (start < 0)
            bar->SetPosition(bar->Position() + start);
        else if (start + size > room)
            bar->SetPosition(bar->Position() + std::min(start, start + size - room));
    };
    scroll(fHorz.get(), origin.X, AControl->Width(), client.Width());
    scroll(fVert.get(), origin.Y, AControl->Height(), client.Height());
}

}  // namespace tv
