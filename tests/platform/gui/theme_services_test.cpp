// The theme service: off by default (nothing drawn, nothing recorded); switched on, each element
// is recorded with its state on a recording canvas and drawn in the style's look on a bitmap.

#include <gtest/gtest.h>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/canvas_recorder.h"
#include "platform/gui/theme_services.h"

namespace tv {
namespace {

// Switches the service on for one test and off again, whatever happens.
struct ThemesOn {
    ThemesOn() { SetThemesEnabled(true); }
    ~ThemesOn() { SetThemesEnabled(false); }
};

// How many pixels of the rectangle differ from white.
int PaintedPixels(TBitmap& bitmap, const TRect& r) {
    int painted = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) painted += bitmap.Canvas()->Pixels(x, y) != clWhite;
    return painted;
}

std::vector<TColor> PixelsOf(TBitmap& bitmap, const TRect& r) {
    std::vector<TColor> pixels;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) pixels.push_back(bitmap.Canvas()->Pixels(x, y));
    return pixels;
}

TEST(ThemeServices, AreOffUntilSwitchedOnAndThenRecordEachElementWithItsState) {
    TCanvasRecorder recorder;
    TCanvas canvas;
    canvas.AttachRecorder(&recorder);
    EXPECT_FALSE(ThemesEnabled());
    DrawThemedElement(canvas, {TThemedElement::CheckBox, TThemedState::Hot, TThemedCheck::Checked}, Rect(0, 0, 13, 13));
    EXPECT_TRUE(recorder.Records().empty());

    ThemesOn on;
    EXPECT_TRUE(ThemesEnabled());
    const TThemedDetails cases[] = {
        {TThemedElement::HeaderItem, TThemedState::Pressed},
        {TThemedElement::PushButton, TThemedState::Hot},
        {TThemedElement::CheckBox, TThemedState::Disabled, TThemedCheck::Mixed},
        {TThemedElement::ScrollLeft, TThemedState::Normal},
    };
    for (const TThemedDetails& d : cases) DrawThemedElement(canvas, d, Rect(2, 3, 20, 18));
    const auto themed = recorder.Of(TCanvasOp::Themed);
    ASSERT_EQ(themed.size(), std::size(cases));
    for (size_t i = 0; i < themed.size(); ++i) {
        EXPECT_EQ(themed[i].Index, static_cast<int>(cases[i].Element)) << i;
        EXPECT_EQ(themed[i].Flags, static_cast<uint32_t>(cases[i].State)) << i;
        EXPECT_EQ(themed[i].Color, static_cast<TColor>(cases[i].Check)) << i;
        EXPECT_EQ(themed[i].Rect, Rect(2, 3, 20, 18));
    }
}

TEST(ThemeServices, DrawEveryElementInsideItsRectangleAndTellStatesApart) {
    ThemesOn on;
    const int side = ThemedCheckBoxSize();
    EXPECT_GT(side, 0);
    const TRect area = Rect(10, 10, 40, 32);
    auto draw = [&](const TThemedDetails& d) {
        TBitmap bitmap;
        bitmap.SetSize(50, 42);
        DrawThemedElement(*bitmap.Canvas(), d, area);
        EXPECT_GT(PaintedPixels(bitmap, area), 0) << static_cast<int>(d.Element);
        // Nothing outside the element's rectangle.
        EXPECT_EQ(PaintedPixels(bitmap, Rect(0, 0, 50, 10)), 0) << static_cast<int>(d.Element);
        EXPECT_EQ(PaintedPixels(bitmap, Rect(40, 0, 50, 42)), 0) << static_cast<int>(d.Element);
        return PixelsOf(bitmap, area);
    };
    for (int e = 0; e <= static_cast<int>(TThemedElement::ScrollRight); ++e)
        draw({static_cast<TThemedElement>(e), TThemedState::Normal});
    EXPECT_NE(draw({TThemedElement::CheckBox, TThemedState::Normal, TThemedCheck::Checked}),
              draw({TThemedElement::CheckBox, TThemedState::Normal, TThemedCheck::Unchecked}));
    EXPECT_NE(draw({TThemedElement::CheckBox, TThemedState::Disabled, TThemedCheck::Checked}),
              draw({TThemedElement::CheckBox, TThemedState::Normal, TThemedCheck::Checked}));
}

}  // namespace
}  // namespace tv
