#pragma once
// Pictures of windows, to be looked at by eye. SaveScreenshot shows a window and, when the tests
// run on the X platform, saves what the X screen shows of it as build/screenshots/<name>.png. On
// any other platform (the offscreen one of `make test`) it only shows the window, so that a
// screenshot test is an ordinary test there too.
//
// `make screenshots` runs the test programs labelled "screenshot" on a virtual X screen with
// TV_SCREENSHOT_PLATFORM=xcb in the environment; the programs' own environment says offscreen, so
// this header puts the X platform back before the toolkit starts. Keep screenshot tests in a
// program of their own (tv_gui_test with SCREENSHOT), so that only they run on the X screen.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/gui/control.h"

namespace tv::test {

namespace screenshot_detail {

// Runs before main, so before the toolkit reads its platform.
inline const bool kPlatformChosen = [] {
    const char* platform = std::getenv("TV_SCREENSHOT_PLATFORM");
    if (platform && *platform) setenv("QT_QPA_PLATFORM", platform, 1);
    return true;
}();

// Handles messages until `done` holds; false when it still does not after `limitMs` (a loaded
// machine may take seconds to map a window, so the limit is only a guard against a hang).
template <class Done>
inline bool HandleMessagesUntil(Done done, int limitMs = 60000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() >= limitMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Paints every shown window now and waits until the X server has taken all it was sent: what the
// screen shows afterwards is what the program drew, however slow the machine.
inline void DrawAndSync() {
    QCoreApplication::processEvents();
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible()) top->repaint();
    QGuiApplication::sync();
    QCoreApplication::processEvents();
}

}  // namespace screenshot_detail

// The folder the pictures go to: build/screenshots.
inline QString ScreenshotFolder() {
    return QStringLiteral(TV_BINARY_DIR "/screenshots");
}

// Shows the window that holds `control` and, on the X platform, saves the part of the X screen
// it covers as <ScreenshotFolder>/<name>.png. Returns whether a picture was saved.
inline bool SaveScreenshot(QWidget* window, std::string_view name);
inline bool SaveScreenshot(TControl& control, std::string_view name) {
    control.Show();
    return SaveScreenshot(control.Widget()->window(), name);
}

// The same for a window of the toolkit's own (a standard dialog).
inline bool SaveScreenshot(QWidget* window, std::string_view name) {
    (void)screenshot_detail::kPlatformChosen;
    window->show();
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;

    const bool exposed = screenshot_detail::HandleMessagesUntil(
        [window] { return window->windowHandle() && window->windowHandle()->isExposed(); });
    if (!exposed) {
        ADD_FAILURE() << "the window of the screenshot " << name << " was never shown";
        return false;
    }
    // Activating the window would close an open pop-up (a drop-down list) that the picture is of.
    if (!QApplication::activePopupWidget()) {
        window->raise();
        window->activateWindow();
    }
    screenshot_detail::DrawAndSync();

    const QRect frame = window->frameGeometry();
    QScreen* screen = window->screen();
    const QPixmap picture = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    const QString folder = ScreenshotFolder();
    QDir().mkpath(folder);
    const QString file =
        folder + QLatin1Char('/') + QString::fromUtf8(name.data(), name.size()) + QStringLiteral(".png");
    if (picture.isNull() || !picture.save(file, "PNG")) {
        ADD_FAILURE() << "could not save the screenshot " << file.toStdString();
        return false;
    }
    return true;
}

}  // namespace tv::test
