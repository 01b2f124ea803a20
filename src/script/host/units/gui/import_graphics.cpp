// The unit graphics: colours, the font, pen and brush types, and the drawing classes.

#include "platform/gui/bitmap.h"
#include "platform/gui/brush.h"
#include "platform/gui/canvas.h"
#include "platform/gui/font.h"
#include "platform/gui/graphic.h"
#include "platform/gui/graphics_object.h"
#include "platform/gui/pen.h"
#include "platform/gui/picture.h"
#include "platform/rtl/streams.h"
#include "script/host/units/gui/gui_units.h"

namespace tv::script::units {

namespace {

void DrawOf(TCanvas* self, int32_t x, int32_t y, TGraphic* graphic) {
    self->Draw(x, y, graphic);
}
void EllipseOf(TCanvas* self, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    self->Ellipse(x1, y1, x2, y2);
}
void RectangleOf(TCanvas* self, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    self->Rectangle(x1, y1, x2, y2);
}
void FloodFillOf(TCanvas* self, int32_t x, int32_t y, TColor color, uint8_t fillStyle) {
    if (fillStyle > fsBorder) throw Exception("Invalid fill style " + std::to_string(fillStyle));
    self->FloodFill(x, y, color, static_cast<TFillStyle>(fillStyle));
}
void BitmapLoadFromStream(TBitmap* self, TStream* stream) {
    self->LoadFromStream(NotNil(stream));
}
void BitmapSaveToStream(TBitmap* self, TStream* stream) {
    self->SaveToStream(NotNil(stream));
}

constexpr TImportRow kGraphics[] = {
    Constant("clScrollBar", "Integer", int32_t(0xFF000000)),
    Constant("clBackground", "Integer", int32_t(0xFF000001)),
    Constant("clActiveCaption", "Integer", int32_t(0xFF000002)),
    Constant("clInactiveCaption", "Integer", int32_t(0xFF000003)),
    Constant("clMenu", "Integer", int32_t(0xFF000004)),
    Constant("clWindow", "Integer", int32_t(0xFF000005)),
    Constant("clWindowFrame", "Integer", int32_t(0xFF000006)),
    Constant("clMenuText", "Integer", int32_t(0xFF000007)),
    Constant("clWindowText", "Integer", int32_t(0xFF000008)),
    Constant("clCaptionText", "Integer", int32_t(0xFF000009)),
    Constant("clActiveBorder", "Integer", int32_t(0xFF00000A)),
    Constant("clInactiveBorder", "Integer", int32_t(0xFF000003)),  // as clInactiveCaption, not $FF00000B
    Constant("clAppWorkSpace", "Integer", int32_t(0xFF00000C)),
    Constant("clHighlight", "Integer", int32_t(0xFF00000D)),
    Constant("clHighlightText", "Integer", int32_t(0xFF00000E)),
    Constant("clBtnFace", "Integer", int32_t(0xFF00000F)),
    Constant("clBtnShadow", "Integer", int32_t(0xFF000010)),
    Constant("clGrayText", "Integer", int32_t(0xFF000011)),
    Constant("clBtnText", "Integer", int32_t(0xFF000012)),
    Constant("clInactiveCaptionText", "Integer", int32_t(0xFF000013)),
    Constant("clBtnHighlight", "Integer", int32_t(0xFF000014)),
    Constant("cl3DDkShadow", "Integer", int32_t(0xFF000015)),
    Constant("cl3DLight", "Integer", int32_t(0xFF000016)),
    Constant("clInfoText", "Integer", int32_t(0xFF000017)),
    Constant("clInfoBk", "Integer", int32_t(0xFF000018)),
    Constant("clBlack", "Integer", 0x000000),
    Constant("clMaroon", "Integer", 0x000080),
    Constant("clGreen", "Integer", 0x008000),
    Constant("clOlive", "Integer", 0x008080),
    Constant("clNavy", "Integer", 0x800000),
    Constant("clPurple", "Integer", 0x800080),
    Constant("clTeal", "Integer", 0x808000),
    Constant("clGray", "Integer", 0x808080),
    Constant("clSilver", "Integer", 0xC0C0C0),
    Constant("clRed", "Integer", 0x0000FF),
    Constant("clLime", "Integer", 0x00FF00),
    Constant("clYellow", "Integer", 0x00FFFF),
    Constant("clBlue", "Integer", 0xFF0000),
    Constant("clFuchsia", "Integer", 0xFF00FF),
    Constant("clAqua", "Integer", 0xFFFF00),
    Constant("clLtGray", "Integer", 0xC0C0C0),
    Constant("clDkGray", "Integer", 0x808080),
    Constant("clWhite", "Integer", 0xFFFFFF),
    Constant("clNone", "Integer", 0x1FFFFFFF),
    Constant("clDefault", "Integer", 0x20000000),
    Type("TFontStyle", "(fsBold, fsItalic, fsUnderline, fsStrikeOut)"),
    Type("TFontStyles", "set of TFontStyle"),
    Type("TFontPitch", "(fpDefault, fpVariable, fpFixed)"),
    Type("TPenStyle", "(psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)"),
    Type("TPenMode",
         "(pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen, "
         "pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor)"),
    Type("TBrushStyle",
         "(bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross)"),
    Type("TColor", "Integer"),
    Type("HBITMAP", "Integer"),
    Type("HPALETTE", "Integer"),

    Class("TGraphicsObject", "TPersistent", &TGraphicsObject::StaticClassInfo),
    // Moved as a method reference: converted between script procedures and host methods.
    Property("TGraphicsObject", "OnChange", "TNotifyEvent", iptRW, TBind::EventPair,
             EventFieldGet<&TGraphicsObject::OnChange>(), EventFieldSet<&TGraphicsObject::OnChange>()),

    Class("TGraphic", "TPersistent", &TGraphic::StaticClassInfo),
    Member("TGraphic", "constructor Create", TBind::VirtualConstructor, Constructor<>()),
    Member("TGraphic", "procedure LoadFromFile(const FileName: string)", TBind::Virtual,
           Method<&TGraphic::LoadFromFile>()),
    Member("TGraphic", "procedure SaveToFile(const FileName: string)", TBind::Virtual,
           Method<&TGraphic::SaveToFile>()),
    Property("TGraphic", "Empty", "Boolean", iptR, TBind::Pair, PropGet<&TGraphic::Empty>()),
    Property("TGraphic", "Height", "Integer", iptRW, TBind::Pair, PropGet<&TGraphic::Height>(),
             PropSet<&TGraphic::SetHeight>()),
    Property("TGraphic", "Modified", "Boolean", iptRW, TBind::Pair, PropGet<&TGraphic::Modified>(),
             PropSet<&TGraphic::SetModified>()),
    Property("TGraphic", "Width", "Integer", iptRW, TBind::Pair, PropGet<&TGraphic::Width>(),
             PropSet<&TGraphic::SetWidth>()),
    Property("TGraphic", "OnChange", "TNotifyEvent", iptRW, TBind::EventPair,
             EventFieldGet<&TGraphic::OnChange>(), EventFieldSet<&TGraphic::OnChange>()),

    Class("TFont", "TGraphicsObject", &TFont::StaticClassInfo),
    Member("TFont", "constructor Create;", TBind::Constructor, Constructor<>()),
    Property("TFont", "Handle", "Integer", iptRW, TBind::Pair, PropGet<&TFont::Handle>(),
             PropSet<&TFont::SetHandle>()),
    Property("TFont", "Color", "TColor", iptRW, TBind::Published),
    Property("TFont", "Height", "Integer", iptRW, TBind::Published),
    Property("TFont", "Name", "string", iptRW, TBind::Published),
    Property("TFont", "Pitch", "Byte", iptRW, TBind::Published),
    Property("TFont", "Size", "Integer", iptRW, TBind::Published),
    // Stores the number only.
    Property("TFont", "PixelsPerInch", "Integer", iptRW, TBind::Pair, FieldGet<&TFont::PixelsPerInch>(),
             FieldSet<&TFont::PixelsPerInch>()),
    Property("TFont", "Style", "TFontStyles", iptRW, TBind::Pair, PropGet<&TFont::Style>(),
             PropSet<&TFont::SetStyle>()),

    Class("TPen", "TGraphicsObject", &TPen::StaticClassInfo),
    Member("TPen", "constructor Create", TBind::Constructor, Constructor<>()),
    Property("TPen", "Color", "TColor", iptRW, TBind::Published),
    Property("TPen", "Mode", "TPenMode", iptRW, TBind::Published),
    Property("TPen", "Style", "TPenStyle", iptRW, TBind::Published),
    Property("TPen", "Width", "Integer", iptRW, TBind::Published),

    Class("TBrush", "TGraphicsObject", &TBrush::StaticClassInfo),
    Member("TBrush", "constructor Create", TBind::Constructor, Constructor<>()),
    Property("TBrush", "Color", "TColor", iptRW, TBind::Published),
    Property("TBrush", "Style", "TBrushStyle", iptRW, TBind::Published),

    Class("TCanvas", "TPersistent", &TCanvas::StaticClassInfo),
    Member("TCanvas", "procedure Arc(X1, Y1, X2, Y2, X3, Y3, X4, Y4: Integer);", TBind::Direct,
           Method<&TCanvas::Arc>()),
    Member("TCanvas", "procedure Chord(X1, Y1, X2, Y2, X3, Y3, X4, Y4: Integer);", TBind::Direct,
           Method<&TCanvas::Chord>()),
    Member("TCanvas", "procedure Draw(X, Y: Integer; Graphic: TGraphic);", TBind::Direct, Method<&DrawOf>()),
    Member("TCanvas", "procedure Ellipse(X1, Y1, X2, Y2: Integer);", TBind::Direct, Method<&EllipseOf>()),
    Member("TCanvas", "procedure FillRect(const Rect: TRect);", TBind::Direct, Method<&TCanvas::FillRect>()),
    Member("TCanvas", "procedure FloodFill(X, Y: Integer; Color: TColor; FillStyle: Byte);", TBind::Direct,
           Method<&FloodFillOf>()),
    Member("TCanvas", "procedure LineTo(X, Y: Integer);", TBind::Direct, Method<&TCanvas::LineTo>()),
    Member("TCanvas", "procedure MoveTo(X, Y: Integer);", TBind::Direct, Method<&TCanvas::MoveTo>()),
    Member("TCanvas", "procedure Pie(X1, Y1, X2, Y2, X3, Y3, X4, Y4: Integer);", TBind::Direct,
           Method<&TCanvas::Pie>()),
    Member("TCanvas", "procedure Rectangle(X1, Y1, X2, Y2: Integer);", TBind::Direct, Method<&RectangleOf>()),
    Member("TCanvas", "procedure Refresh;", TBind::Direct, Method<&TCanvas::Refresh>()),
    Member("TCanvas", "procedure RoundRect(X1, Y1, X2, Y2, X3, Y3: Integer);", TBind::Direct,
           Method<&TCanvas::RoundRect>()),
    Member("TCanvas", "function TextHeight(Text: string): Integer;", TBind::Direct,
           Method<&TCanvas::TextHeight>()),
    Member("TCanvas", "procedure TextOut(X, Y: Integer; Text: string);", TBind::Direct,
           Method<&TCanvas::TextOut>()),
    Member("TCanvas", "function TextWidth(Text: string): Integer;", TBind::Direct,
           Method<&TCanvas::TextWidth>()),
    Property("TCanvas", "Handle", "Integer", iptRW, TBind::Pair, PropGet<&TCanvas::Handle>(),
             PropSet<&TCanvas::SetHandle>()),
    // X first, then Y (then the colour).
    Property("TCanvas", "Pixels", "Integer Integer Integer", iptRW, TBind::Pair, PropGet<&TCanvas::Pixels>(),
             PropSet<&TCanvas::SetPixels>()),
    Property("TCanvas", "Brush", "TBrush", iptR, TBind::Published),
    Property("TCanvas", "CopyMode", "Byte", iptRW, TBind::Published),
    Property("TCanvas", "Font", "TFont", iptR, TBind::Published),
    Property("TCanvas", "Pen", "TPen", iptR, TBind::Published),

    Class("TBitmap", "TGraphic", &TBitmap::StaticClassInfo),
    Streamed(Member("TBitmap", "procedure LoadFromStream(Stream: TStream)", TBind::Direct,
                    Method<&BitmapLoadFromStream>())),
    Streamed(Member("TBitmap", "procedure SaveToStream(Stream: TStream)", TBind::Direct,
                    Method<&BitmapSaveToStream>())),
    Property("TBitmap", "Canvas", "TCanvas", iptR, TBind::Pair, PropGet<&TBitmap::Canvas>()),
    Property("TBitmap", "Handle", "HBITMAP", iptRW, TBind::Pair, PropGet<&TBitmap::Handle>(),
             PropSet<&TBitmap::SetHandle>()),
    Member("TBitmap", "procedure Dormant", TBind::Direct, Method<&TBitmap::Dormant>()),
    Member("TBitmap", "procedure FreeImage", TBind::Direct, Method<&TBitmap::FreeImage>()),
    Member("TBitmap", "procedure LoadFromClipboardFormat(AFormat: Word; AData: THandle; APalette: HPALETTE)",
           TBind::Direct, Method<&TBitmap::LoadFromClipboardFormat>()),
    Member("TBitmap", "procedure LoadFromResourceName(Instance: THandle; const ResName: string)",
           TBind::Direct, Method<&TBitmap::LoadFromResourceName>()),
    Member("TBitmap", "procedure LoadFromResourceID(Instance: THandle; ResID: Integer)", TBind::Direct,
           Method<&TBitmap::LoadFromResourceID>()),
    Member("TBitmap", "function ReleaseHandle: HBITMAP", TBind::Direct, Method<&TBitmap::ReleaseHandle>()),
    Member("TBitmap", "function ReleasePalette: HPALETTE", TBind::Direct, Method<&TBitmap::ReleasePalette>()),
    Member("TBitmap",
           "procedure SaveToClipboardFormat(var Format: Word; var Data: THandle; var APalette: HPALETTE)",
           TBind::Direct, Method<&TBitmap::SaveToClipboardFormat>()),
    Property("TBitmap", "Monochrome", "Boolean", iptRW, TBind::Pair, PropGet<&TBitmap::Monochrome>(),
             PropSet<&TBitmap::SetMonochrome>()),
    Property("TBitmap", "Palette", "HPALETTE", iptRW, TBind::Pair, PropGet<&TBitmap::Palette>(),
             PropSet<&TBitmap::SetPalette>()),
    Property("TBitmap", "IgnorePalette", "Boolean", iptRW, TBind::Pair, FieldGet<&TBitmap::IgnorePalette>(),
             FieldSet<&TBitmap::IgnorePalette>()),
    Property("TBitmap", "TransparentColor", "TColor", iptR, TBind::Pair,
             PropGet<&TBitmap::TransparentColor>()),

    Class("TPicture", "TPersistent", &TPicture::StaticClassInfo),
    Property("TPicture", "Bitmap", "TBitmap", iptRW, TBind::Pair, PropGet<&TPicture::Bitmap>(),
             PropSet<&TPicture::SetBitmap>()),
};

constexpr std::string_view kGraphicsRunOrder[] = {"TGraphicsObject", "TFont",    "TCanvas", "TPen",
                                                  "TBrush",          "TGraphic", "TBitmap", "TPicture"};

}  // namespace

const TImportUnit kGraphicsUnit{"graphics", kGraphics, kGraphicsRunOrder};

}  // namespace tv::script::units

namespace tv::script {

void CompileImportGraphics(TPSPascalCompiler& c, bool streams) {
    units::CompileImport(c, units::kGraphicsUnit, streams);
}

void ExecImportGraphics(TPSRuntimeClassImporter& ri, bool streams) {
    units::ExecImport(ri, units::kGraphicsUnit, streams);
}

}  // namespace tv::script
