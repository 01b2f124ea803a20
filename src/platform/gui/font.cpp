#include "platform/gui/font.h"

#include <QFont>
#include <cmath>

#include "platform/gui/qt_graphics.h"
#include "platform/gui/qt_support.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/object_handles.h"

namespace tv {

namespace {

// a * b / c rounded half away from zero, as the platform's MulDiv.
int MulDiv(int a, int b, int c) {
    return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}

}  // namespace

const TClassInfo& TFont::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TFont>("TFont")
                                       .Published("Color", &TFont::Color, &TFont::SetColor)
                                       .Published("Height", &TFont::Height, &TFont::SetHeight)
                                       .Published("Name", &TFont::Name, &TFont::SetName)
                                       .Published("Pitch", &TFont::Pitch, &TFont::SetPitch)
                                       .Published("Size", &TFont::Size, &TFont::SetSize)
                                       .Build();
    return info;
}

TFont::TFont() : fHeight(-MulDiv(kDefaultFontSize, kScreenPixelsPerInch, 72)) {}

void TFont::SetName(const std::string& value) {
    if (value.empty() || value == fName) return;
    fName = value;
    Changed();
}

int TFont::Size() const {
    return -MulDiv(fHeight, 72, PixelsPerInch > 0 ? PixelsPerInch : kScreenPixelsPerInch);
}

void TFont::SetSize(int value) {
    SetHeight(-MulDiv(value, PixelsPerInch > 0 ? PixelsPerInch : kScreenPixelsPerInch, 72));
}

void TFont::SetHeight(int value) {
    if (value == fHeight) return;
    fHeight = value;
    Changed();
}

void TFont::SetColor(TColor value) {
    if (value == fColor) return;
    fColor = value;
    Changed();
}

void TFont::SetStyle(TFontStyles value) {
    if (value == fStyle) return;
    fStyle = value;
    Changed();
}

void TFont::SetPitch(TFontPitch value) {
    if (value == fPitch) return;
    fPitch = value;
    Changed();
}

int32_t TFont::Handle() const {
    return TObjectHandles::HandleOf(this);
}

void TFont::SetHandle(int32_t value) {
    auto* other = dynamic_cast<TFont*>(TObjectHandles::ObjectOf(value));
    if (!other) throw EInvalidHandle("Invalid font handle " + std::to_string(value));
    Assign(other);
}

void TFont::Assign(TPersistent* Source) {
    auto* f = dynamic_cast<TFont*>(Source);
    if (!f) return TGraphicsObject::Assign(Source);
    if (f == this) return;
    ChangeOnce([&] {
        fName = f->fName;
        fHeight = f->fHeight;
        fColor = f->fColor;
        fStyle = f->fStyle;
        fPitch = f->fPitch;
        PixelsPerInch = f->PixelsPerInch;
    });
}

QFont ToQFont(const TFont& font) {
    EnsureQtApplication();
    QFont f(ToQString(font.Name()));
    const int h = std::abs(font.Height());
    f.setPixelSize(h > 0 ? h : 11);
    const TFontStyles s = font.Style();
    f.setBold(s.Contains(fsBold));
    f.setItalic(s.Contains(fsItalic));
    f.setUnderline(s.Contains(fsUnderline));
    f.setStrikeOut(s.Contains(fsStrikeOut));
    if (font.Pitch() == fpFixed) {
        f.setFixedPitch(true);
        f.setStyleHint(QFont::TypeWriter);
    }
    return f;
}

bool SameFont(const TFont& a, const TFont& b) {
    return a.fName == b.fName && a.fHeight == b.fHeight && a.fStyle == b.fStyle && a.fPitch == b.fPitch &&
           a.fColor == b.fColor;
}

}  // namespace tv
