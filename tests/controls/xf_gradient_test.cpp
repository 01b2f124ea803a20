// The gradient painter, probed on the pixels of a bitmap; and pictures told apart by their bytes.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "controls/xdb_fields.h"
#include "controls/xf_gradient.h"
#include "platform/data/client_data_set.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/gui_exceptions.h"
#include "platform/gui/picture.h"

namespace tv {
namespace {

constexpr TColor kCaller = RGB(90, 140, 200);  // the colour the caller passes
constexpr TColor kStart = RGB(255, 255, 255);

// A 40 by 20 bitmap filled with `background`.
std::unique_ptr<TBitmap> Surface(TColor background = clBlack) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(40, 20);
    bitmap->Canvas()->Brush()->SetColor(background);
    bitmap->Canvas()->FillRect(TRect(0, 0, 40, 20));
    return bitmap;
}

TColor At(const TBitmap& b, int x, int y) {
    return b.Canvas()->Pixels(x, y);
}

// Switches the gradient fill off for a test.
struct NoGradientFill {
    NoGradientFill() { SetGradientFillAvailable(false); }
    ~NoGradientFill() { SetGradientFillAvailable(true); }
};

TEST(XFGradient, ByDefaultRunsFromTheStartColourToTheCallersColourDarkened) {
    TXFGradient g;
    EXPECT_TRUE(g.Active());
    EXPECT_EQ(g.Direction(), gdVertical);
    EXPECT_EQ(g.Options(), TXFGradientOptions{goGradient});
    EXPECT_EQ(g.StartColor(), clWindow);
    EXPECT_EQ(g.EndColor(), clDefault);
    EXPECT_EQ(g.DefaultHotColor(), 0xEFD3C6);
    EXPECT_EQ(TXFGradientButton().Options(), (TXFGradientOptions{goGradient, goHotButton}));
    auto b = Surface();
    const TColor brush = b->Canvas()->Brush()->Color();
    g.SetStartColor(kStart);
    g.FillRect(b->Canvas(), TRect(0, 0, 40, 20), false, false, kCaller);
    const TColor dark = GetShadowColor(kCaller, -25);
    EXPECT_NE(dark, kCaller);
    EXPECT_EQ(At(*b, 5, 0), kStart);
    EXPECT_EQ(At(*b, 5, 19), dark);
    EXPECT_EQ(At(*b, 39, 19), dark);
    EXPECT_EQ(b->Canvas()->Brush()->Color(), brush);  // the brush is put back
    // Across, when the direction says so.
    g.SetDirection(gdHorizontal);
    g.FillRect(b->Canvas(), TRect(0, 0, 40, 20), false, false, kCaller);
    EXPECT_EQ(At(*b, 0, 10), kStart);
    EXPECT_EQ(At(*b, 39, 10), dark);
}

TEST(XFGradient, HotTrackingDrawsADarkFrameAroundAFlatFillOrAGradient) {
    const TColor frame = GetShadowColor(kCaller, -50);
    const TColor dark = GetShadowColor(kCaller, -25);
    {
        TXFGradient g;
        g.SetOptions({goHotTrack});
        auto b = Surface();
        g.FillRect(b->Canvas(), TRect(0, 0, 40, 20), false, true, kCaller);
        EXPECT_EQ(At(*b, 0, 0), frame);
        EXPECT_EQ(At(*b, 39, 19), frame);
        EXPECT_EQ(At(*b, 1, 1), kCaller);
        EXPECT_EQ(At(*b, 38, 18), kCaller);
        // Pressed, the inner fill is darker.
        g.FillRect(b->Canvas(), TRect(0, 0, 40, 20), true, true, kCaller);
        EXPECT_EQ(At(*b, 0, 0), frame);
        EXPECT_EQ(At(*b, 20, 10), dark);
    }
    TXFGradient g;
    g.SetOptions({goHotTrack, goHotButton});
    g.SetStartColor(kStart);
    auto b = Surface();
    g.FillRect(b->Canvas(), TRect(0, 0, 40, 20), false, true, kCaller);
    EXPECT_EQ(At(*b, 0, 0), frame);
    EXPECT_EQ(At(*b, 0, 19), frame);
    EXPECT_EQ(At(*b, 5, 1), kStart);
    EXPECT_EQ(At(*b, 5, 18), dark);
    // Not hot: no frame, no fill (the options want no gradient).
    auto cold = Surface();
    g.FillRect(cold->Canvas(), TRect(0, 0, 40, 20), false, false, kCaller);
    EXPECT_EQ(At(*cold, 0, 0), kCaller);
}

TEST(XFGradient, TheDirectionIsReversedByAnOddNumberOfRules) {
    const TColor dark = GetShadowColor(kCaller, -25);
    const TColor hotDark = GetShadowColor(0xEFD3C6, -25);
    const struct {
        TXFGradientOptions options;
        bool swap;
        bool hot;
        TColor top;
        TColor bottom;
    } cases[] = {
        {{goGradient}, false, false, kStart, dark},
        {{goGradient}, true, false, dark, kStart},
        {{goGradient, goHotButton}, false, true, dark, kStart},       // hot button reverses
        {{goGradient, goHotButton}, true, true, kStart, dark},        // and swapping again
        {{goHotButton}, false, true, kStart, dark},                   // no goGradient reverses back
        {{goGradient, goHotButton, goHotColor}, false, true, hotDark, kStart},  // the hot colour
        {{goGradient, goHotColor}, false, false, kStart, dark},       // only while hot
    };
    for (const auto& c : cases) {
        TXFGradient g;
        g.SetOptions(c.options);
        g.SetSwapColors(c.swap);
        g.SetStartColor(kStart);
        auto b = Surface();
        g.FillRect(b->Canvas(), TRect(0, 0, 40, 20), false, c.hot, kCaller);
        EXPECT_EQ(At(*b, 5, 0), c.top) << c.swap << c.hot;
        EXPECT_EQ(At(*b, 5, 19), c.bottom) << c.swap << c.hot;
    }
}

TEST(XFGradient, FillBackKeepsWhatWasDrawnOnTopOfTheGradient) {
    TXFGradient g;
    g.SetStartColor(kStart);
    auto b = Surface(clSilver);
    b->Canvas()->Brush()->SetColor(clRed);
    b->Canvas()->FillRect(TRect(10, 5, 14, 9));  // a "glyph" on the button's colour
    g.FillBack(b->Canvas(), TRect(0, 0, 40, 20), false, false, false, 1, 0, clSilver);
    EXPECT_EQ(At(*b, 12, 7), clRed);
    EXPECT_EQ(At(*b, 30, 0), kStart);
    EXPECT_EQ(At(*b, 30, 19), GetShadowColor(clSilver, -25));
    // FillStep ends in the step colour.
    g.SetStepColor(clNavy);
    auto s = Surface(clSilver);
    g.FillStep(s->Canvas(), TRect(0, 0, 40, 20), false, false, false, 0, 0, clSilver);
    EXPECT_EQ(At(*s, 30, 19), GetShadowColor(clNavy, -25));
    EXPECT_EQ(g.EndColor(), clDefault);
}

TEST(XFGradient, WithoutTheGradientFillNothingIsActiveAndNoGradientIsDrawn) {
    TXFGradientButton g;
    EXPECT_TRUE(g.IsActive());
    EXPECT_TRUE(g.IsHotActive());
    NoGradientFill off;
    EXPECT_FALSE(TXFGradient::IsAvailable());
    EXPECT_FALSE(g.IsActive());
    EXPECT_FALSE(g.IsHotActive());
    auto b = Surface(clBlack);
    g.FillRect(b->Canvas(), TRect(0, 0, 40, 20), false, false, kCaller);
    EXPECT_EQ(At(*b, 5, 0), clBlack);
}

TEST(XFGradient, WritersNotifyOnlyOfChangesAndChangeCopiesADifferentGradient) {
    TXFGradient a;
    int changes = 0;
    a.OnChange = [&](TObject*) { ++changes; };
    a.SetActive(true);
    a.SetStartColor(clWindow);
    EXPECT_EQ(changes, 0);
    a.SetSwapColors(true);
    EXPECT_EQ(changes, 1);
    TXFGradient b;
    b.SetSwapColors(true);
    EXPECT_FALSE(a.Change(&b));
    EXPECT_FALSE(a.Change(nullptr));
    b.SetHotColor(clRed);
    EXPECT_TRUE(a.Change(&b));
    EXPECT_EQ(a.HotColor(), clRed);
    EXPECT_EQ(changes, 2);
}

// ---------------------------------------------------------------- picture bytes

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

const std::string kHeader = Bytes({1, 0, 0, 1, 0, 0, 0, 0});

TEST(XBlobField, GraphicClassIsToldByTheFirstBytes) {
    const std::string tail(8, 'z');
    const struct {
        std::string bytes;
        TXGraphicClass graphic;
    } cases[] = {
        {"BM" + tail, TXGraphicClass::Bitmap},
        {Bytes({0xD7, 0xCD, 0xC6, 0x9A}) + tail, TXGraphicClass::Metafile},
        {Bytes({0xFF, 0xD8, 0xFF, 0xE0}) + tail, TXGraphicClass::Jpeg},
        {Bytes({0xFF, 0xD8, 0xFF, 0xE1}) + tail, TXGraphicClass::Jpeg},
        {Bytes({0xFF, 0xD8, 0xFF, 0xDB}) + tail, TXGraphicClass::None},
        {Bytes({0, 0, 1, 0}) + tail, TXGraphicClass::Icon},
        {kHeader + Bytes({0xFF, 0xD8, 0xFF, 0xE0}) + tail, TXGraphicClass::Jpeg},  // header skipped
        {kHeader + "BM", TXGraphicClass::Bitmap},
        {"BM345678", TXGraphicClass::None},  // exactly 8 bytes
        {"GIF89a" + tail, TXGraphicClass::None},
        {"", TXGraphicClass::None},
    };
    for (const auto& c : cases) EXPECT_EQ(GraphicClassOf(c.bytes), c.graphic) << c.bytes;
}

TEST(XBlobField, APictureLoadsFromTheFieldWhateverItsFormat) {
    TClientDataSet ds;
    ds.FieldDefs().Add("PICTURE", TFieldType::ftGraphic);
    ds.FieldDefs().Add("NAME", TFieldType::ftString, 10);
    ds.CreateDataSet();
    TXGraphicField field(ds.FieldByName("PICTURE"));
    EXPECT_THROW(TXBlobField(ds.FieldByName("NAME")), EDatabaseError);
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 255));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "JPG"));
    ds.Append();
    ds.FieldByName("PICTURE").SetAsString(kHeader + std::string(jpeg.constData(), static_cast<size_t>(jpeg.size())));
    ds.Post();
    EXPECT_EQ(field.GraphicClass(), TXGraphicClass::Jpeg);
    TPicture picture;
    field.AssignTo(&picture);
    EXPECT_EQ(picture.Width(), 6);
    EXPECT_EQ(picture.Height(), 4);
    // A bitmap goes in as its own bytes, without a header, and comes back.
    TBitmap bitmap;
    bitmap.SetSize(3, 2);
    ds.Edit();
    field.Assign(&bitmap);
    ds.Post();
    EXPECT_EQ(field.GraphicClass(), TXGraphicClass::Bitmap);
    EXPECT_EQ(ds.FieldByName("PICTURE").AsString().substr(0, 2), "BM");
    TBitmap back;
    field.AssignTo(&back);
    EXPECT_EQ(back.Width(), 3);
    // Bytes of no format leave the picture as it was; a metafile cannot be read here.
    ds.Edit();
    ds.FieldByName("PICTURE").SetAsString("12345678");
    field.AssignTo(&picture);
    EXPECT_EQ(picture.Width(), 6);
    ds.FieldByName("PICTURE").SetAsString(Bytes({0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0}));
    EXPECT_THROW(field.AssignTo(&picture), EInvalidGraphic);
    ds.Cancel();
}

}  // namespace
}  // namespace tv
