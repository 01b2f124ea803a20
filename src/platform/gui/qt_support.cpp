#include "platform/gui/qt_support.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <cstdlib>

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
    auto* app = new QApplication(argc, argv);
    app->setQuitOnLastWindowClosed(false);
    if (QStyle* fusion = QStyleFactory::create("Fusion")) QApplication::setStyle(fusion);
    QApplication::setPalette(SystemPalette());
}

}  // namespace tv
