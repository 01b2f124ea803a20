#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "gui_test_support.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/gui_exceptions.h"
#include "platform/gui/image_list.h"
#include "platform/gui/picture.h"
#include "platform/rtl/object_handles.h"
#include "platform/rtl/streams.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

// A white bitmap of the given size.
std::unique_ptr<TBitmap> WhiteBitmap(int w, int h) {
    auto b = std::make_unique<TBitmap>();
    b->SetSize(w, h);
    return b;
}

TEST(Color, SystemColoursComeFromTheFixedTableAndOthersStay) {
    struct Case {
        TColor in;
        TColor rgb;
    } cases[] = {
        {clWindow, clWhite},
        {clBtnHighlight, clWhite},  // the same as the window, as the controls' defaults expect
        {clBtnFace, RGB(0xF0, 0xF0, 0xF0)},
        {clWindowText, clBlack},
        {clHighlight, RGB(0x33, 0x99, 0xFF)},  // $00BBGGRR: red in the low byte
        {clInfoBk, RGB(0xFF, 0xFF, 0xE1)},
        {clRed, clRed},
        {RGB(1, 2, 3), 0x030201},
        {clNone, clNone},
        {SystemColor(200), clBlack},  // a number past the table
    };
    for (const Case& c : cases) EXPECT_EQ(ColorToRGB(c.in), c.rgb) << std::hex << c.in;
}

TEST(Font, SizeAndHeightAreOneValueAtNinetySixPixelsPerInch) {
    TFont f;
    EXPECT_EQ(f.Name(), "DejaVu Sans");
    EXPECT_EQ(f.Size(), 8);
    EXPECT_EQ(f.Height(), -11);
    struct Case {
        int size;
        int height;
    } cases[] = {{8, -11}, {9, -12}, {10, -13}, {12, -16}, {24, -32}};
    for (const Case& c : cases) {
        f.SetSize(c.size);
        EXPECT_EQ(f.Height(), c.height) << c.size;
        f.SetHeight(c.height);
        EXPECT_EQ(f.Size(), c.size) << c.height;
    }
}

TEST(Font, ChangesFireOnChangeOnceAndPixelsPerInchOnlyStoresTheNumber) {
    TFont f, other;
    int changes = 0;
    f.OnChange = [&](TObject*) { ++changes; };
    f.SetStyle({fsBold});
    f.SetStyle({fsBold});  // no change
    EXPECT_EQ(changes, 1);
    other.SetName("DejaVu Serif");
    other.SetSize(14);
    other.SetColor(clRed);
    f.Assign(&other);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(f.Name(), "DejaVu Serif");
    EXPECT_EQ(f.Color(), clRed);
    const int height = f.Height();
    f.PixelsPerInch = 120;
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(f.Height(), height);
}

TEST(Font, HandleStandsForTheFontAndSettingAnotherCopiesIt) {
    TFont a, b;
    b.SetSize(20);
    EXPECT_NE(a.Handle(), 0);
    a.SetHandle(b.Handle());
    EXPECT_EQ(a.Size(), 20);
    EXPECT_THROW(a.SetHandle(12345), EInvalidHandle);
}

TEST(Brush, ClNoneClearsTheBrushAndAColourMakesItSolidAgain) {
    TBrush b;
    b.SetColor(clNone);
    EXPECT_EQ(b.Style(), bsClear);
    b.SetColor(clRed);
    EXPECT_EQ(b.Style(), bsSolid);
}

TEST(Canvas, FillRectAndLineReadBackAsDrawnWithTheRightAndLastPointsLeftOut) {
    auto bmp = WhiteBitmap(20, 10);
    TCanvas* c = bmp->Canvas();
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(2, 2, 6, 5));
    c->Pen()->SetColor(clBlue);
    c->MoveTo(0, 8);
    c->LineTo(10, 8);
    struct Case {
        int x, y;
        TColor colour;
    } cases[] = {
        {2, 2, clRed},  {5, 4, clRed},  {6, 2, clWhite},  {2, 5, clWhite}, {1, 1, clWhite},
        {0, 8, clBlue}, {9, 8, clBlue}, {10, 8, clWhite}, {0, 7, clWhite},
    };
    for (const Case& k : cases) EXPECT_EQ(c->Pixels(k.x, k.y), k.colour) << k.x << "," << k.y;
    EXPECT_EQ(c->PenPos(), Point(10, 8));
}

TEST(Canvas, RectangleIsFilledAndOutlinedInsideItsBounds) {
    auto bmp = WhiteBitmap(12, 12);
    TCanvas* c = bmp->Canvas();
    c->Brush()->SetColor(clYellow);
    c->Pen()->SetColor(clBlack);
    c->Rectangle(1, 1, 9, 7);
    test::ExpectPixels(
        c, {{1, 1, clBlack}, {8, 6, clBlack}, {4, 4, clYellow}, {9, 4, clWhite}, {4, 7, clWhite}});
}

TEST(Canvas, PenModesCombineWithWhatIsDrawn) {
    auto bmp = WhiteBitmap(10, 3);
    TCanvas* c = bmp->Canvas();
    c->Pen()->SetColor(clRed);
    c->Pen()->SetMode(pmXor);
    c->MoveTo(0, 1);
    c->LineTo(10, 1);
    EXPECT_EQ(c->Pixels(3, 1), RGB(0, 0xFF, 0xFF));  // white xor red
    c->MoveTo(0, 1);
    c->LineTo(10, 1);
    EXPECT_EQ(c->Pixels(3, 1), clWhite);  // twice restores
    c->Pen()->SetMode(pmNot);
    c->MoveTo(0, 1);
    c->LineTo(10, 1);
    EXPECT_EQ(c->Pixels(3, 1), clBlack);
    c->Pen()->SetMode(pmNop);
    c->Pen()->SetColor(clBlue);
    c->MoveTo(0, 1);
    c->LineTo(10, 1);
    EXPECT_EQ(c->Pixels(3, 1), clBlack);
}

TEST(Canvas, TextIsMeasuredAndDrawnOnTheBrushColour) {
    auto bmp = WhiteBitmap(200, 40);
    TCanvas* c = bmp->Canvas();
    const int w1 = c->TextWidth("W");
    const int w3 = c->TextWidth("WWW");
    EXPECT_GT(w1, 0);
    EXPECT_GT(w3, w1);
    EXPECT_EQ(c->TextWidth(""), 0);
    EXPECT_GT(c->TextHeight("Wg"), 0);
    c->Font()->SetSize(16);
    EXPECT_GT(c->TextWidth("W"), w1);
    c->Brush()->SetColor(clYellow);
    c->TextOut(5, 5, "   ");
    const int spaces = c->TextWidth("   ");
    EXPECT_EQ(c->PenPos(), Point(5 + spaces, 5));
    EXPECT_EQ(c->Pixels(6, 6), clYellow);
    EXPECT_EQ(c->Pixels(5 + spaces, 6), clWhite);
    c->Brush()->SetStyle(bsClear);
    c->TextOut(100, 5, "   ");
    EXPECT_EQ(c->Pixels(101, 6), clWhite);
}

TEST(Canvas, PixelsOutsideTheImageReadMinusOneAndAreNotSet) {
    auto bmp = WhiteBitmap(4, 4);
    TCanvas* c = bmp->Canvas();
    EXPECT_EQ(c->Pixels(-1, 0), -1);
    EXPECT_EQ(c->Pixels(4, 0), -1);
    c->SetPixels(4, 4, clRed);
    c->SetPixels(3, 3, clRed);
    EXPECT_EQ(c->Pixels(3, 3), clRed);
}

TEST(Canvas, FloodFillFillsTheSurfaceOrUpToTheBorder) {
    auto bmp = WhiteBitmap(10, 10);
    TCanvas* c = bmp->Canvas();
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(2, 2, 8, 8);  // a black frame, white inside and out
    c->Brush()->SetColor(clRed);
    c->FloodFill(4, 4, clWhite, fsSurface);
    EXPECT_EQ(c->Pixels(4, 4), clRed);
    EXPECT_EQ(c->Pixels(0, 0), clWhite);  // outside the frame
    c->Brush()->SetColor(clGreen);
    c->FloodFill(0, 0, clBlack, fsBorder);
    test::ExpectPixels(c, {{0, 0, clGreen}, {9, 9, clGreen}, {2, 2, clBlack}, {4, 4, clRed}});
}

TEST(Canvas, ClippingLimitsDrawing) {
    auto bmp = WhiteBitmap(10, 10);
    TCanvas* c = bmp->Canvas();
    c->IntersectClipRect(Rect(0, 0, 5, 10));
    EXPECT_EQ(c->ClipRect(), Rect(0, 0, 5, 10));
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(c->Pixels(4, 4), clRed);
    EXPECT_EQ(c->Pixels(5, 4), clWhite);
    c->SetPixels(7, 7, clRed);
    EXPECT_EQ(c->Pixels(7, 7), clWhite);
    c->ResetClipRect();
    EXPECT_EQ(c->ClipRect(), Rect(0, 0, 10, 10));
}

TEST(Canvas, CopyRectStretchesTheSourceAndTakesOnlyWhatLiesOnItsImage) {
    auto source = WhiteBitmap(4, 4);
    source->Canvas()->Brush()->SetColor(clRed);
    source->Canvas()->FillRect({0, 0, 2, 2});
    auto dest = WhiteBitmap(20, 20);
    TCanvas& c = *dest->Canvas();
    c.Brush()->SetColor(clBlue);
    c.FillRect({0, 0, 20, 20});
    c.CopyRect({0, 0, 8, 8}, source->Canvas(), {0, 0, 4, 4});        // twice the size
    c.CopyRect({10, 10, 14, 14}, source->Canvas(), {-2, -2, 2, 2});  // half of it off the image
    test::ExpectPixels(&c, {{0, 0, clRed},
                            {3, 3, clRed},
                            {4, 4, clWhite},
                            {7, 7, clWhite},
                            {8, 8, clBlue},
                            {10, 10, clBlue},
                            {11, 13, clBlue},
                            {12, 12, clRed},
                            {13, 13, clRed}});
}

TEST(Canvas, CoordinatesAtTheLimitsOfAnIntegerDrawWhatFallsOnTheSurface) {
    // A script may pass any integer: shapes reaching past the surface fill what lies on it, and
    // outlines far outside leave it untouched.
    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kMax = std::numeric_limits<int>::max();
    const TRect everything{kMin, kMin, kMax, kMax};
    struct Case {
        const char* name;
        std::function<void(TCanvas&)> draw;
        TColor centre;
    } cases[] = {
        {"Rectangle", [&](TCanvas& c) { c.Rectangle(everything); }, clRed},
        {"FillRect", [&](TCanvas& c) { c.FillRect(everything); }, clRed},
        {"Ellipse", [&](TCanvas& c) { c.Ellipse(everything); }, clRed},
        {"RoundRect", [&](TCanvas& c) { c.RoundRect(kMin, kMin, kMax, kMax, kMax, kMax); }, clRed},
        {"Pie", [&](TCanvas& c) { c.Pie(kMin, kMin, kMax, kMax, kMax, 0, kMax, 0); }, clRed},
        {"FrameRect", [&](TCanvas& c) { c.FrameRect(everything); }, clWhite},
        {"DrawFocusRect", [&](TCanvas& c) { c.DrawFocusRect(everything); }, clWhite},
        {"TextOut", [&](TCanvas& c) { c.TextOut(kMax, kMax, "Text"); }, clWhite},
        {"TextRect", [&](TCanvas& c) { c.TextRect(everything, kMin, kMin, "Text"); }, clRed},
        {"LineTo",
         [&](TCanvas& c) {
             c.Pen()->SetStyle(psDot);  // a dotted line this long must not take for ever
             c.MoveTo(kMin, kMax);
             c.LineTo(kMax, kMin);
             c.Pen()->SetStyle(psSolid);
             c.Polyline(std::vector<TPoint>{{kMin, kMin}, {kMax, kMax}, {kMin, kMax}});
         },
         clBlack},
        {"Draw",
         [&](TCanvas& c) {
             auto small = WhiteBitmap(2, 2);
             c.Draw(kMax, kMax, small.get());
             c.StretchDraw(everything, small.get());
         },
         clWhite},
        {"CopyRect", [&](TCanvas& c) { c.CopyRect(everything, &c, everything); }, clWhite},
        {"Clip",
         [&](TCanvas& c) {
             c.IntersectClipRect(everything);
             c.FillRect(everything);
         },
         clRed},
    };
    for (const Case& k : cases) {
        auto b = WhiteBitmap(20, 20);
        TCanvas& c = *b->Canvas();
        c.Brush()->SetColor(clRed);
        c.Pen()->SetColor(clBlack);
        k.draw(c);
        EXPECT_EQ(c.Pixels(10, 10), k.centre) << k.name;
    }
}

TEST(Canvas, ACanvasWithNothingToDrawOnRefusesToDraw) {
    TCanvas c;
    try {
        c.FillRect(Rect(0, 0, 1, 1));
        ADD_FAILURE();
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message, "Canvas does not allow drawing");
    }
    EXPECT_GT(c.TextWidth("abc"), 0);  // measuring needs no surface
    EXPECT_THROW(c.SetHandle(42), EInvalidHandle);
    c.SetHandle(0);
}

TEST(Bitmap, ResizingKeepsThePixelsAndNewOnesAreWhite) {
    auto bmp = WhiteBitmap(4, 4);
    EXPECT_FALSE(bmp->Empty());
    bmp->Canvas()->SetPixels(1, 1, clRed);
    bmp->SetSize(8, 6);
    EXPECT_EQ(bmp->Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(bmp->Canvas()->Pixels(7, 5), clWhite);
    bmp->SetWidth(0);
    EXPECT_TRUE(bmp->Empty());
    EXPECT_EQ(bmp->Handle(), 0);
    bmp->Canvas()->FillRect(Rect(0, 0, 2, 2));  // drawing on nothing draws nothing
}

TEST(Bitmap, ASizeTooLargeToHoldIsRefusedAndTheBitmapStaysAsItWas) {
    struct Case {
        int w, h;
    } cases[] = {{100000, 100000}, {std::numeric_limits<int>::max(), 2}, {70000, 1000}};
    for (const Case& c : cases) {
        auto b = WhiteBitmap(3, 2);
        b->Canvas()->SetPixels(1, 1, clRed);
        try {
            b->SetSize(c.w, c.h);
            ADD_FAILURE() << c.w << " x " << c.h << " was made";
        } catch (const EOutOfResources& e) {
            EXPECT_EQ(e.Message,
                      "Bitmap too large: " + std::to_string(c.w) + " x " + std::to_string(c.h) + " pixels");
        }
        EXPECT_EQ(b->Width(), 3);
        EXPECT_EQ(b->Height(), 2);
        EXPECT_EQ(b->Canvas()->Pixels(1, 1), clRed);
    }
    // One side at a time: the first is kept while the other is 0, the second is refused.
    TBitmap b;
    b.SetWidth(100000);
    EXPECT_THROW(b.SetHeight(100000), EOutOfResources);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 100000);
}

TEST(Bitmap, FilesAndStreamsRoundTripInBmpAndPng) {
    test::TempDir dir;
    auto bmp = WhiteBitmap(5, 3);
    bmp->Canvas()->SetPixels(4, 2, RGB(10, 20, 30));
    for (const char* name : {"a.bmp", "a.PNG"}) {
        bmp->SaveToFile(dir.Path(name));
        TBitmap back;
        back.LoadFromFile(dir.Path(name));
        EXPECT_EQ(back.Width(), 5) << name;
        EXPECT_EQ(back.Canvas()->Pixels(4, 2), RGB(10, 20, 30)) << name;
    }
    EXPECT_EQ(dir.Read("a.bmp").substr(0, 2), "BM");
    EXPECT_EQ(dir.Read("a.PNG").substr(1, 3), "PNG");
    // Two images one after the other in a stream: each read takes exactly its own bytes.
    TMemoryStream stream;
    bmp->SaveToStream(stream);
    auto second = WhiteBitmap(2, 2);
    second->SaveToStream(stream);
    stream.SetPosition(0);
    TBitmap a, b;
    a.LoadFromStream(stream);
    b.LoadFromStream(stream);
    EXPECT_EQ(a.Width(), 5);
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(stream.Position(), stream.Size());
}

TEST(Bitmap, WhatIsNoImageIsRefused) {
    test::TempDir dir;
    dir.Write("junk.bmp", "BMthis is no bitmap");
    TBitmap b;
    EXPECT_THROW(b.LoadFromFile(dir.Path("junk.bmp")), EInvalidGraphic);
    EXPECT_THROW(b.LoadFromFile(dir.Path("missing.bmp")), EFOpenError);
    TMemoryStream stream;
    stream.WriteBuffer("BM\xff\xff\xff\x7f", 6);  // a length far past the end
    stream.SetPosition(0);
    EXPECT_THROW(b.LoadFromStream(stream), EInvalidGraphic);
    EXPECT_TRUE(b.Empty());
    try {
        b.LoadFromResourceName(0, "LOGO");
        ADD_FAILURE();
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message, "Resource LOGO not found");
    }
}

TEST(Bitmap, TransparentDrawingLeavesOutTheTransparentColour) {
    auto src = WhiteBitmap(2, 1);
    src->Canvas()->SetPixels(0, 0, clFuchsia);
    src->Canvas()->SetPixels(1, 0, clBlue);
    src->SetTransparentColor(clFuchsia);
    src->SetTransparent(true);
    auto dst = WhiteBitmap(4, 1);
    dst->Canvas()->Brush()->SetColor(clGreen);
    dst->Canvas()->FillRect(Rect(0, 0, 4, 1));
    dst->Canvas()->Draw(1, 0, src.get());
    EXPECT_EQ(dst->Canvas()->Pixels(1, 0), clGreen);
    EXPECT_EQ(dst->Canvas()->Pixels(2, 0), clBlue);
}

TEST(Bitmap, HandlesStandForImagesAndCopyThem) {
    auto a = WhiteBitmap(3, 3);
    TBitmap b;
    b.SetHandle(a->Handle());
    EXPECT_EQ(b.Width(), 3);
    b.SetHandle(0);
    EXPECT_TRUE(b.Empty());
    TFont notABitmap;
    EXPECT_THROW(b.SetHandle(notABitmap.Handle()), EInvalidHandle);
}

TEST(ImageList, AStripIsCutIntoImagesAndIndexesOutsideDrawNothing) {
    TImageList list;
    auto strip = WhiteBitmap(48, 16);
    strip->Canvas()->Brush()->SetColor(clRed);
    strip->Canvas()->FillRect(Rect(16, 0, 32, 16));
    EXPECT_EQ(list.Add(strip.get(), nullptr), 0);
    EXPECT_EQ(list.Count(), 3);
    auto target = WhiteBitmap(16, 16);
    list.Draw(target->Canvas(), 0, 0, 1);
    EXPECT_EQ(target->Canvas()->Pixels(8, 8), clRed);
    list.Draw(target->Canvas(), 0, 0, 7);
    TBitmap out;
    EXPECT_TRUE(list.GetBitmap(2, &out));
    EXPECT_FALSE(list.GetBitmap(3, &out));
    // A masked image leaves the mask colour out.
    auto masked = WhiteBitmap(16, 16);
    EXPECT_EQ(list.AddMasked(masked.get(), clWhite), 3);
    list.Draw(target->Canvas(), 0, 0, 3);
    EXPECT_EQ(target->Canvas()->Pixels(8, 8), clRed);
    list.SetWidth(32);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_THROW(list.Delete(0), EListError);
}

TEST(Picture, LoadsAFileIntoABitmapAndRefusesToSaveNothing) {
    test::TempDir dir;
    WhiteBitmap(7, 5)->SaveToFile(dir.Path("p.png"));
    TPicture pic;
    int changes = 0;
    pic.OnChange = [&](TObject*) { ++changes; };
    EXPECT_THROW(pic.SaveToFile(dir.Path("none.bmp")), EInvalidGraphic);
    pic.LoadFromFile(dir.Path("p.png"));
    EXPECT_EQ(pic.Width(), 7);
    EXPECT_EQ(pic.Bitmap()->Height(), 5);
    EXPECT_GE(changes, 1);
    pic.Bitmap()->Canvas()->SetPixels(0, 0, clRed);
    EXPECT_GE(changes, 2);
}

}  // namespace
}  // namespace tv
