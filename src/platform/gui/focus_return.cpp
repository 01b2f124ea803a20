#include "platform/gui/focus_return.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "platform/gui/application.h"
#include "platform/gui/qt_support.h"
#include "platform/gui/win_control.h"

namespace tv {

void TFocusReturn::TakeBack(TWinControl& control, std::weak_ptr<char> alive) {
    if (*fReturning) return;
    *fReturning = true;
    EnsureQtApplication();
    QMetaObject::invokeMethod(
        qApp,
        [control = &control, alive = std::move(alive), returning = fReturning] {
            if (alive.expired()) return;
            try {
                if (control->CanFocus()) control->SetFocus();
            } catch (...) {
                *returning = false;
                HandleGuiException(control);
                return;
            }
            *returning = false;
        },
        Qt::QueuedConnection);
}

}  // namespace tv
