#include "controls/xdb_popup.h"

#include <QEvent>
#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "controls/xdb_grid.h"
#include "controls/xdb_grid_border.h"

namespace tv {

void PaintOverWidget(QWidget* widget, const std::function<void(TCanvas& canvas, TRect rect)>& draw) {
    QPainter painter(widget);
    TCanvas canvas;
    const TRect rect = Bounds(0, 0, widget->width(), widget->height());
    canvas.BeginPaint(&painter, rect);
    try {
        draw(canvas, rect);
    } catch (...) {
        canvas.EndPaint();
        throw;
    }
    canvas.EndPaint();
}

void TXPopupWindow::DoCloseUp(bool Accept) {
    if (OnCloseUp) OnCloseUp(Accept);
}

void TXPopupWindow::PlaceWindow(QWidget* widget, const TRect& bounds) {
    if (!widget->isWindow() || !(widget->windowFlags() & Qt::Popup)) {
        // Placed in its parent's window by the parent: taken out again, as a pop-up window whose
        // frame is the one-pixel line of a single border.
        const bool shown = widget->isVisible();
        widget->setWindowFlags(Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
        if (auto* frame = qobject_cast<QFrame*>(widget)) {
            frame->setFrameShape(QFrame::Box);
            frame->setFrameShadow(QFrame::Plain);
            frame->setLineWidth(1);
        }
        if (shown) widget->show();
    }
    widget->setGeometry(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
}

void TXPopupWindow::ShowWindow(QWidget* widget, bool visible) {
    if (visible == widget->isVisible()) return;
    if (visible) {
        widget->show();
        widget->raise();
    } else {
        widget->hide();
    }
}

bool TXPopupWindow::IsCloseRequest(const QEvent* e) {
    return e->type() == QEvent::Close;
}

bool TXPopupWindow::CloseOnPressOutside(QWidget* widget, const QEvent* e) const {
    if (e->type() != QEvent::MouseButtonPress && e->type() != QEvent::MouseButtonDblClick) return false;
    const QPoint at = static_cast<const QMouseEvent*>(e)->globalPosition().toPoint();
    if (widget->rect().contains(widget->mapFromGlobal(at))) return false;
    // Read by the toolkit when the press closes the window: set for this press alone.
    widget->setAttribute(Qt::WA_NoMouseReplay, fKeyTarget && fKeyTarget->PopupButtonAt({at.x(), at.y()}));
    widget->close();
    return true;
}

bool TXPopupWindow::IsPaint(const QEvent* e) {
    return e->type() == QEvent::Paint;
}

void TXPopupWindow::PaintListBorder(QWidget* widget, bool ctl3D) const {
    if (ctl3D || !fGrid) return;
    const TListBorder border = fGrid->GetListBorder();
    if (border != lbGray && border != lbMild) return;
    PaintOverWidget(widget, [border](TCanvas& canvas, TRect rect) { DrawListBorder(&canvas, rect, border); });
}

}  // namespace tv
