#include "platform/gui/qt_support.h"

#include <QApplication>
#include <QPalette>
#include <QPointer>
#include <QStyleFactory>
#include <QWidget>
#include <cstdlib>
#include <vector>

#include "platform/gui/qt_translations.h"
#include "platform/rtl/exception.h"

namespace tv {

namespace {

constexpr std::string_view kNoGuiApplication =
    "The windows need a Qt GUI application, but a console one is running";

// The palette every widget starts from: the fixed system colours.
QPalette SystemPalette() {
    QPalette p;
    auto set = [&p](QPalette::ColorRole role, TColor color) { p.setColor(role, ToQColor(color)); };
    set(QPalette::Window, clBtnFace);
    set(QPalette::WindowText, clWindowText);
    set(QPalette::Base, clWindow);
    set(QPalette::AlternateBase, clBtnFace);
    set(QPalette::Text, clWindowText);
    set(QPalette::Button, clBtnFace);
    set(QPalette::ButtonText, clBtnText);
    set(QPalette::Highlight, clHighlight);
    set(QPalette::HighlightedText, clHighlightText);
    set(QPalette::ToolTipBase, clInfoBk);
    set(QPalette::ToolTipText, clInfoText);
    set(QPalette::Light, clBtnHighlight);
    set(QPalette::Midlight, cl3DLight);
    set(QPalette::Mid, clBtnShadow);
    set(QPalette::Dark, clBtnShadow);
    set(QPalette::Shadow, cl3DDkShadow);
    set(QPalette::Link, clHotLight);
    set(QPalette::PlaceholderText, clGrayText);
    p.setColor(QPalette::Disabled, QPalette::WindowText, ToQColor(clGrayText));
    p.setColor(QPalette::Disabled, QPalette::Text, ToQColor(clGrayText));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, ToQColor(clGrayText));
    return p;
}

}  // namespace

namespace {

// The objects the toolkit is delivering events to, innermost last (each thread its own).
thread_local std::vector<const QObject*> tReceivers;

struct TPendingDelete {
    QPointer<QObject> object;
    bool afterAllEvents;
};
// Objects freed during a delivery to them, waiting for it to end (only the main thread has any).
thread_local std::vector<TPendingDelete> tPending;

void QueueDelete(QPointer<QObject> object) {
    // Queued: the toolkit may still look at the object just after its delivery returns.
    QMetaObject::invokeMethod(
        qApp, [object] { delete object.data(); }, Qt::QueuedConnection);
}

// Hands the objects whose deliveries are over to the queue.
void ReleaseDelivered() {
    if (tPending.empty()) return;
    const std::vector<TPendingDelete> pending = std::move(tPending);
    tPending.clear();
    for (const TPendingDelete& p : pending) {
        if (!p.object) continue;
        const bool waiting = p.afterAllEvents ? !tReceivers.empty() : InEventDelivery(p.object);
        if (waiting)
            tPending.push_back(p);
        else
            QueueDelete(p.object);
    }
}

// The process's application: keeps the stack of receivers that InEventDelivery reads.
class TToolkitApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* e) override {
        tReceivers.push_back(receiver);
        struct TPop {
            ~TPop() {
                tReceivers.pop_back();
                ReleaseDelivered();
            }
        } pop;
        return QApplication::notify(receiver, e);
    }
};

}  // namespace

bool InEventDelivery(const QObject* object) {
    if (!object) return false;
    for (const QObject* r : tReceivers)
        for (const QObject* o = r; o; o = o->parent())
            if (o == object) return true;
    return false;
}

void DeleteWhenDelivered(QObject* object, bool afterAllEvents) {
    if (!object) return;
    if (afterAllEvents ? tReceivers.empty() : !InEventDelivery(object)) {
        delete object;
        return;
    }
    object->blockSignals(true);
    if (auto* w = qobject_cast<QWidget*>(object)) {
        w->hide();
        w->setParent(nullptr);
    } else {
        object->setParent(nullptr);
    }
    tPending.push_back({object, afterAllEvents});
}

namespace {
bool gScreenlessRun = false;  // main thread only, like the application itself
}  // namespace

bool ScreenlessRun() {
    return gScreenlessRun;
}

void SetScreenlessRun(bool screenless) {
    gScreenlessRun = screenless;
}

void EnsureQtApplication() {
    if (auto* existing = QCoreApplication::instance()) {
        if (!qobject_cast<QApplication*>(existing)) throw Exception(std::string(kNoGuiApplication));
        return;
    }
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!platform || !*platform) && (!display || !*display) && (!wayland || !*wayland)) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        gScreenlessRun = true;
    }
    // Qt keeps references to these for the life of the application.
    static int argc = 1;
    static char name[] = "tollvane";
    static char* argv[] = {name, nullptr};
    // Held by Qt's own instance pointer for the rest of the process.
    auto* app = new TToolkitApplication(argc, argv);
    app->setQuitOnLastWindowClosed(false);
    if (QStyle* fusion = QStyleFactory::create("Fusion")) QApplication::setStyle(fusion);
    QApplication::setPalette(SystemPalette());
    InstallSwedishToolkitTexts();
}

}  // namespace tv
