// The grid's glyph strips: their sizes and transparency, and the sort markers recoloured per
// marker style, built again only when the style changes.

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "controls/xdb_grid.h"
#include "controls/xdb_grid_glyphs.h"
#include "platform/gui/image_list.h"
#include "platform/gui/qt_support.h"
#include "tests/platform/gui/gui_test_support.h"

namespace tv {
namespace {

TEST(GridGlyphs, StripsAreCutIntoSquareGlyphsWithOliveTransparent) {
    EnsureQtApplication();
    struct Case {
        TGridGlyphStrip strip;
        int count;
        int side;
    };
    for (const Case& c : {Case{TGridGlyphStrip::Indicators, 20, 16}, Case{TGridGlyphStrip::CheckBoxes, 9, 13},
                          Case{TGridGlyphStrip::Markers, 20, 16}}) {
        TImageList list;
        LoadGlyphStrip(&list, c.strip);
        EXPECT_EQ(list.Count(), c.count);
        EXPECT_EQ(list.Width(), c.side);
        EXPECT_EQ(list.Height(), c.side);
        // A corner of every glyph is background: transparent, not olive.
        for (int i = 0; i < list.Count(); ++i) {
            const QImage glyph = list.Pixmap(i).toImage();
            EXPECT_EQ(qAlpha(glyph.pixel(0, 0)), c.strip == TGridGlyphStrip::CheckBoxes ? 255 : 0) << i;
        }
    }
}

TEST(GridGlyphs, MarkerStylesFollowTheFixedStyle) {
    // msAuto and msAutoGray by fixed style, fsDefault .. fsMild.
    const TMarkerStyle autoStyles[] = {msDefault,    msSoft, msRaisedDark, msFlat,
                                       msRaisedGray, msGray, msRaisedMild, msMild};
    const TMarkerStyle grayStyles[] = {msSoft,       msSoft, msRaisedGray, msGray,
                                       msRaisedGray, msGray, msRaisedGray, msGray};
    for (int f = fsDefault; f <= fsMild; ++f) {
        EXPECT_EQ(EffectiveMarkerStyle(msAuto, TFixedStyle(f), false), autoStyles[f]) << f;
        EXPECT_EQ(EffectiveMarkerStyle(msAutoGray, TFixedStyle(f), false), grayStyles[f]) << f;
    }
    EXPECT_EQ(EffectiveMarkerStyle(msAuto, fsGray, true), msRaisedMild);
    EXPECT_EQ(EffectiveMarkerStyle(msAutoGray, fsDefault, true), msRaisedGray);
    EXPECT_EQ(EffectiveMarkerStyle(msLoweredMild, fsDefault, false), msLoweredMild);
    // Transparent faces: automatic up to the raised styles.
    EXPECT_TRUE(MarkersTransparent(mtAuto, msRaisedMild));
    EXPECT_FALSE(MarkersTransparent(mtAuto, msLoweredDark));
    EXPECT_TRUE(MarkersTransparent(mtTrue, msMild));
    EXPECT_FALSE(MarkersTransparent(mtFalse, msDefault));
}

TEST(GridGlyphs, MarkersAreRecolouredForTheirStyle) {
    EnsureQtApplication();
    QImage strip(QString::fromLatin1(GlyphStripResource(TGridGlyphStrip::Markers)));
    strip = strip.convertToFormat(QImage::Format_RGB32);
    // The first pixel of each template colour in glyph 0.
    auto find = [&](TColor colour) {
        const QRgb rgb = ToQColor(colour).rgb();
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (strip.pixel(x, y) == rgb) return QPoint(x, y);
        return QPoint(-1, -1);
    };
    struct Case {
        TMarkerStyle style;
        bool transparent;
        TColor expected[5];  // aqua, teal, blue, navy, lime; clNone: transparent
    };
    const TColor L = ColorToRGB(cl3DLight), S = ColorToRGB(clBtnShadow), D = ColorToRGB(cl3DDkShadow);
    const Case cases[] = {
        {msDefault, true, {clWhite, clNone, S, clBlack, clNone}},
        {msSoft, false, {clWhite, clNone, S, D, clWhite}},
        {msRaisedMild, true, {L, clNone, clNone, S, clNone}},
        {msLoweredGray, false, {D, clWhite, clWhite, L, clWhite}},
        {msFlat, false, {clBlack, clWhite, clWhite, clBlack, clWhite}},
    };
    for (const Case& c : cases) {
        TImageList list;
        LoadMarkerGlyphs(&list, c.style, c.transparent);
        const QImage glyph = list.Pixmap(0).toImage();
        for (int part = 0; part < 5; ++part) {
            const QPoint at = find(kMarkerTemplateColors[part]);
            ASSERT_GE(at.x(), 0) << "template colour " << part << " is in the strip";
            const QRgb p = glyph.pixel(at);
            if (c.expected[part] == clNone)
                EXPECT_EQ(qAlpha(p), 0) << c.style << " part " << part;
            else
                EXPECT_EQ(FromQColor(QColor(p)), c.expected[part]) << c.style << " part " << part;
        }
    }
}

TEST(GridGlyphs, TheGridRebuildsItsMarkersOnlyWhenTheStyleChanges) {
    EnsureQtApplication();
    TXDBGrid grid;
    TImageList* markers = grid.Markers();
    int builds = 0;
    markers->OnChange = [&](TObject*) { ++builds; };
    grid.Markers();
    grid.SetFixedColor(clAqua);
    grid.Markers();
    EXPECT_EQ(builds, 0);
    grid.SetFixedStyle(fsFlat);  // msAuto now means msFlat
    EXPECT_EQ(grid.GetMarkerStyle(), msFlat);
    grid.Markers();
    EXPECT_GT(builds, 0);
    builds = 0;
    grid.SetMarkerStyle(msFlat);  // the same effective style
    grid.Markers();
    EXPECT_EQ(builds, 0);
    grid.SetMarkerTransparent(mtFalse);  // msFlat is opaque already
    grid.Markers();
    EXPECT_EQ(builds, 0);
    grid.SetMarkerTransparent(mtTrue);
    grid.Markers();
    EXPECT_GT(builds, 0);
    // Title markers of the program's own are used as they are.
    TImageList own;
    grid.SetTitleMarkers(&own);
    EXPECT_EQ(grid.Markers(), &own);
}

}  // namespace
}  // namespace tv
