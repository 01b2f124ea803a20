#pragma once
// Helpers for the GUI tests: waiting for something while messages are handled, and a bitmap of
// what a control shows.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>
#include <initializer_list>
#include <memory>

#include "platform/gui/bitmap.h"
#include "platform/gui/win_control.h"

namespace tv::test {

// Handles messages until `done` holds or `ms` milliseconds have passed; returns whether it held.
inline bool WaitUntil(const std::function<bool()>& done, int ms = 2000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// What the control shows, drawn into a bitmap of its size.
inline std::unique_ptr<TBitmap> Render(TWinControl& control) {
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(control.Width(), control.Height());
    control.PaintTo(bmp->Canvas(), 0, 0);
    return bmp;
}

struct TPixel {
    int x, y;
    TColor colour;
};

// Each pixel of the canvas has the colour given.
inline void ExpectPixels(TCanvas* canvas, std::initializer_list<TPixel> pixels) {
    for (const TPixel& p : pixels) EXPECT_EQ(canvas->Pixels(p.x, p.y), p.colour) << p.x << "," << p.y;
}

}  // namespace tv::test
