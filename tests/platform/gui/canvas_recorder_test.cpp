// The recording back end of the canvas, the 3D edges, and the gradient fill.

#include <gtest/gtest.h>

#include "gui_test_support.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas_recorder.h"
#include "platform/gui/image_list.h"
#include "platform/gui/panel.h"
#include "platform/gui/qt_support.h"

namespace tv {
namespace {

TEST(CanvasRecorder, RecordsEveryDrawingWithItsClipInsteadOfDrawingIt) {
    EnsureQtApplication();
    TBitmap bitmap;
    bitmap.SetSize(50, 50);
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect(Rect(0, 0, 50, 50));
    TCanvas* canvas = bitmap.Canvas();
    TCanvasRecorder recorder(6, 12);
    canvas->AttachRecorder(&recorder);

    canvas->IntersectClipRect(Rect(5, 5, 40, 40));
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(Rect(0, 0, 20, 20));
    canvas->Pen()->SetColor(clBlue);
    canvas->Pen()->SetWidth(2);
    canvas->MoveTo(1, 2);
    canvas->LineTo(30, 2);
    canvas->Font()->SetColor(clNavy);
    canvas->Font()->SetStyle({fsBold});
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextRect(Rect(10, 10, 30, 20), 12, 11, "Namn");
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clYellow);
    canvas->TextOut(0, 30, "Åsa");
    canvas->GradientFill(Rect(0, 0, 10, 4), clBlack, clWhite, gdVertical);
    canvas->Brush()->SetColor(clGreen);
    canvas->FrameRect(Rect(1, 1, 9, 9));
    canvas->DrawFocusRect(Rect(2, 2, 8, 8));
    canvas->Rectangle(8, 8, 2, 2);
    canvas->Ellipse(0, 0, 4, 4);
    canvas->SetPixels(3, 3, clLime);
    canvas->ResetClipRect();
    canvas->StretchDraw(Rect(0, 0, 5, 5), &bitmap);
    TRect edge = Rect(20, 20, 30, 30);
    EXPECT_TRUE(DrawEdge(canvas, edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST));
    EXPECT_EQ(edge, Rect(22, 22, 28, 28));
    TRect none = Rect(0, 0, 4, 4);
    EXPECT_FALSE(DrawEdge(canvas, none, 0, BF_RECT));

    // Measured with the fixed metrics: characters, not bytes.
    EXPECT_EQ(canvas->TextWidth("Åsa"), 18);
    EXPECT_EQ(canvas->TextHeight("Åsa"), 12);

    const auto& r = recorder.Records();
    ASSERT_EQ(r.size(), 12u);
    EXPECT_EQ(r[0].Op, TCanvasOp::Fill);
    EXPECT_EQ(r[0].Color, clRed);
    EXPECT_EQ(r[0].Clip, Rect(5, 5, 40, 40));
    EXPECT_EQ(r[1].Op, TCanvasOp::Line);
    EXPECT_EQ(r[1].From, Point(1, 2));
    EXPECT_EQ(r[1].To, Point(30, 2));
    EXPECT_EQ(r[1].Color, clBlue);
    EXPECT_EQ(r[1].Index, 2);
    EXPECT_EQ(canvas->PenPos(), Point(18, 30));  // at the end of the last text
    // Text: where, in what, on what, clipped by the canvas and its own rectangle.
    EXPECT_EQ(r[2].Op, TCanvasOp::Text);
    EXPECT_EQ(r[2].Text, "Namn");
    EXPECT_EQ(r[2].From, Point(12, 11));
    EXPECT_EQ(r[2].Color, clNavy);
    EXPECT_EQ(r[2].Back, clNone);
    EXPECT_EQ(r[2].Clip, Rect(10, 10, 30, 20));
    EXPECT_EQ(r[2].FontStyle, TFontStyles{fsBold});
    EXPECT_EQ(r[3].Rect, Rect(0, 30, 18, 42));  // TextOut: its box
    EXPECT_EQ(r[3].Back, clYellow);
    EXPECT_EQ(r[3].Clip, Rect(5, 5, 40, 40));
    EXPECT_EQ(r[4].Op, TCanvasOp::Gradient);
    EXPECT_EQ(r[4].Index, 1);
    EXPECT_EQ(r[5].Op, TCanvasOp::Frame);
    EXPECT_EQ(r[6].Op, TCanvasOp::FocusRect);
    EXPECT_EQ(r[7].Op, TCanvasOp::Rectangle);
    EXPECT_EQ(r[7].Rect, Rect(2, 2, 8, 8));
    EXPECT_EQ(r[7].Back, clBlue);
    EXPECT_EQ(r[8].Op, TCanvasOp::Shape);
    EXPECT_EQ(r[8].Index, shEllipse);
    EXPECT_EQ(r[9].Op, TCanvasOp::Pixel);
    EXPECT_EQ(r[10].Op, TCanvasOp::Picture);
    EXPECT_EQ(r[10].Source, &bitmap);
    EXPECT_EQ(r[10].Clip, Rect(0, 0, 50, 50));
    EXPECT_EQ(r[11].Op, TCanvasOp::Edge);
    EXPECT_EQ(r[11].Rect, Rect(20, 20, 30, 30));
    EXPECT_EQ(r[11].Index, static_cast<int>(EDGE_SUNKEN));

    // What the fills leave at a point; the gradient's rows shade from start to end.
    EXPECT_EQ(recorder.FillColorAt({7, 7}), clGreen);  // the rectangle
    EXPECT_EQ(recorder.FillColorAt({6, 0}), clNone);   // outside the clip of the red fill
    EXPECT_EQ(recorder.FillColorAt({15, 6}), clRed);
    EXPECT_EQ(recorder.FillColorAt({6, 31}), clYellow);

    // Nothing reached the image.
    canvas->AttachRecorder(nullptr);
    EXPECT_EQ(canvas->Pixels(10, 10), clWhite);
}

TEST(CanvasRecorder, GlyphsOfAnImageListAreRecordedByIndex) {
    EnsureQtApplication();
    TImageList list;
    list.SetWidth(4);
    list.SetHeight(4);
    TBitmap strip;
    strip.SetSize(12, 4);
    list.AddMasked(&strip, clOlive);
    TBitmap target;
    target.SetSize(20, 20);
    TCanvasRecorder recorder;
    target.Canvas()->AttachRecorder(&recorder);
    list.Draw(target.Canvas(), 3, 5, 2);
    list.Draw(target.Canvas(), 3, 5, 1, false);
    list.Draw(target.Canvas(), 3, 5, 7);  // no such image: nothing
    const auto glyphs = recorder.Of(TCanvasOp::Glyph);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[0].Index, 2);
    EXPECT_EQ(glyphs[0].Source, &list);
    EXPECT_EQ(glyphs[0].Rect, Rect(3, 5, 7, 9));
    EXPECT_EQ(glyphs[1].Flags, 1u);  // disabled
}

TEST(DrawEdge, RingsInTheirColours) {
    EnsureQtApplication();
    struct {
        uint32_t edge;
        uint32_t flags;
        TColor outerTopLeft, outerBottomRight, innerTopLeft, innerBottomRight;
    } const cases[] = {
        {EDGE_SUNKEN, BF_RECT, clBtnShadow, clBtnHighlight, cl3DDkShadow, cl3DLight},
        {EDGE_RAISED, BF_RECT, cl3DLight, cl3DDkShadow, clBtnHighlight, clBtnShadow},
        {EDGE_ETCHED, BF_RECT, clBtnShadow, clBtnHighlight, clBtnHighlight, clBtnShadow},
        {EDGE_BUMP, BF_RECT, cl3DLight, cl3DDkShadow, cl3DDkShadow, cl3DLight},
        {EDGE_RAISED, BF_RECT | BF_SOFT, clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnShadow},
        {EDGE_SUNKEN, BF_RECT | BF_FLAT, clBtnShadow, clBtnShadow, clBtnFace, clBtnFace},
        {EDGE_SUNKEN, BF_RECT | BF_MONO, clWindowFrame, clWindowFrame, clWindow, clWindow},
    };
    for (const auto& c : cases) {
        TBitmap bitmap;
        bitmap.SetSize(10, 10);
        TCanvas* canvas = bitmap.Canvas();
        canvas->Brush()->SetColor(clFuchsia);
        canvas->FillRect(Rect(0, 0, 10, 10));
        TRect r = Rect(0, 0, 10, 10);
        DrawEdge(canvas, r, c.edge, c.flags);
        test::ExpectPixels(canvas, {
                                       {0, 5, ColorToRGB(c.outerTopLeft)},
                                       {5, 0, ColorToRGB(c.outerTopLeft)},
                                       {9, 5, ColorToRGB(c.outerBottomRight)},
                                       {5, 9, ColorToRGB(c.outerBottomRight)},
                                       {1, 5, ColorToRGB(c.innerTopLeft)},
                                       {8, 5, ColorToRGB(c.innerBottomRight)},
                                       {5, 5, clFuchsia},
                                   });
        EXPECT_EQ(canvas->Brush()->Color(), clFuchsia) << "the brush is put back";
    }
    // Only the sides named; the middle when asked.
    TBitmap bitmap;
    bitmap.SetSize(10, 10);
    bitmap.Canvas()->Brush()->SetColor(clFuchsia);
    bitmap.Canvas()->FillRect(Rect(0, 0, 10, 10));
    TRect r = Rect(0, 0, 10, 10);
    DrawEdge(bitmap.Canvas(), r, BDR_RAISEDINNER, BF_BOTTOMRIGHT | BF_MIDDLE);
    test::ExpectPixels(bitmap.Canvas(), {{9, 5, ColorToRGB(clBtnShadow)},
                                         {5, 9, ColorToRGB(clBtnShadow)},
                                         {0, 5, ColorToRGB(clBtnFace)},
                                         {5, 0, ColorToRGB(clBtnFace)},
                                         {5, 5, ColorToRGB(clBtnFace)}});
}

TEST(GradientFill, FirstAndLastLinesCarryTheEndColours) {
    EnsureQtApplication();
    TBitmap bitmap;
    bitmap.SetSize(8, 5);
    bitmap.Canvas()->GradientFill(Rect(0, 0, 8, 5), RGB(0, 0, 0), RGB(200, 100, 40), gdVertical);
    test::ExpectPixels(bitmap.Canvas(), {{0, 0, RGB(0, 0, 0)},
                                         {7, 0, RGB(0, 0, 0)},
                                         {3, 2, RGB(100, 50, 20)},
                                         {0, 4, RGB(200, 100, 40)}});
    bitmap.Canvas()->GradientFill(Rect(0, 0, 8, 5), clWhite, clBlack, gdHorizontal);
    test::ExpectPixels(bitmap.Canvas(), {{0, 4, clWhite}, {7, 0, clBlack}});
}

}  // namespace
}  // namespace tv
