// The data grid's glyph strips: loading them from the program's resources into image lists, and
// the sort markers' recolouring per marker style.

#include "controls/xdb_grid_glyphs.h"

#include <QImage>
#include <array>

#include "platform/gui/bitmap.h"
#include "platform/gui/image_list.h"
#include "platform/gui/qt_support.h"

// The strips live in a static library: their resources are registered by hand.
static void InitGridGlyphResources() {
    Q_INIT_RESOURCE(xdb_grid_glyphs);
}

namespace tv {
namespace {

QImage StripImage(TGridGlyphStrip strip) {
    static const bool registered = [] {
        InitGridGlyphResources();
        return true;
    }();
    (void)registered;
    QImage image(QString::fromLatin1(GlyphStripResource(strip)));
    return image.convertToFormat(QImage::Format_RGB32);
}

void LoadImage(TImageList* list, const QImage& image) {
    // Square glyphs as high as the strip.
    list->SetWidth(image.height());
    list->SetHeight(image.height());
    list->Clear();
    TBitmap bitmap;
    bitmap.SetImage(image);
    list->AddMasked(&bitmap, clOlive);
}

// The replacements of aqua, teal, blue, navy and lime per effective style, msDefault .. msMild.
// 'L' cl3DLight, 'S' clBtnShadow, 'D' cl3DDkShadow, 'B' black, 'W' white, 'O' olive, 'F' face.
constexpr std::array<const char*, 11> kMarkerColors = {
    "WOSBF",  // msDefault
    "WOSDF",  // msSoft
    "LFFBF",  // msRaisedDark
    "LFFDF",  // msRaisedGray
    "LFFSF",  // msRaisedMild
    "BFFLF",  // msLoweredDark
    "DFFLF",  // msLoweredGray
    "SFFLF",  // msLoweredMild
    "BFFBF",  // msFlat
    "DFFDF",  // msGray
    "SFFSF",  // msMild
};

// Effective styles by fixed style (fsDefault .. fsMild) for msAuto and msAutoGray.
constexpr std::array<TMarkerStyle, 8> kAutoMarker = {msDefault,    msSoft, msRaisedDark, msFlat,
                                                     msRaisedGray, msGray, msRaisedMild, msMild};
constexpr std::array<TMarkerStyle, 8> kAutoGrayMarker = {msSoft,       msSoft, msRaisedGray, msGray,
                                                         msRaisedGray, msGray, msRaisedGray, msGray};

}  // namespace

const char* GlyphStripResource(TGridGlyphStrip strip) {
    switch (strip) {
        case TGridGlyphStrip::Indicators:
            return ":/controls/xdb_indicators.xpm";
        case TGridGlyphStrip::CheckBoxes:
            return ":/controls/xdb_checkboxes.xpm";
        case TGridGlyphStrip::Markers:
            break;
    }
    return ":/controls/xdb_markers.xpm";
}

void LoadGlyphStrip(TImageList* list, TGridGlyphStrip strip) {
    LoadImage(list, StripImage(strip));
}

TColor MarkerColor(TMarkerStyle style, TMarkerTemplate part, bool transparent) {
    if (style < msDefault) style = msDefault;
    switch (kMarkerColors[style - msDefault][part]) {
        case 'L':
            return ColorToRGB(cl3DLight);
        case 'S':
            return ColorToRGB(clBtnShadow);
        case 'D':
            return ColorToRGB(cl3DDkShadow);
        case 'B':
            return clBlack;
        case 'W':
            return clWhite;
        case 'O':
            return clOlive;
        default:
            return transparent ? clOlive : clWhite;
    }
}

TMarkerStyle EffectiveMarkerStyle(TMarkerStyle style, TFixedStyle fixedStyle, bool themed) {
    if (style == msAuto) return themed ? msRaisedMild : kAutoMarker[fixedStyle];
    if (style == msAutoGray) return themed ? msRaisedGray : kAutoGrayMarker[fixedStyle];
    return style;
}

bool MarkersTransparent(TMarkerTransparent value, TMarkerStyle effective) {
    if (value == mtAuto) return effective < msLoweredDark;
    return value == mtTrue;
}

void LoadMarkerGlyphs(TImageList* list, TMarkerStyle effective, bool transparent) {
    QImage image = StripImage(TGridGlyphStrip::Markers);
    std::array<QRgb, 5> from{}, to{};
    for (int part = 0; part < 5; ++part) {
        from[part] = ToQColor(kMarkerTemplateColors[part]).rgb();
        to[part] = ToQColor(MarkerColor(effective, static_cast<TMarkerTemplate>(part), transparent)).rgb();
    }
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            for (int part = 0; part < 5; ++part)
                if (line[x] == from[part]) {
                    line[x] = to[part];
                    break;
                }
    }
    LoadImage(list, image);
}

}  // namespace tv
