#pragma once
// The data grid's built-in pictures: three glyph strips compiled into the program (indicators,
// check boxes, sort markers), cut into square glyphs as high as the strip with olive
// (RGB 128,128,0) transparent, and the recolouring of the sort markers for a marker style.

#include "controls/xdb_grid_types.h"
#include "platform/gui/color.h"

namespace tv {

class TImageList;

enum class TGridGlyphStrip : uint8_t { Indicators, CheckBoxes, Markers };

// The strip's resource path (for tests that compare pixels with it).
const char* GlyphStripResource(TGridGlyphStrip strip);

// Empties `list` and fills it with the strip's glyphs.
void LoadGlyphStrip(TImageList* list, TGridGlyphStrip strip);

// The five colours the marker strip is drawn in, and the ones each style puts in their place.
enum TMarkerTemplate : uint8_t { mkOuterLight, mkInnerLight, mkInnerShadow, mkOuterShadow, mkFace };
inline constexpr TColor kMarkerTemplateColors[5] = {clAqua, clTeal, clBlue, clNavy, clLime};
// The replacement of a template colour for an effective style (msDefault .. msMild); the face
// is olive (transparent) when `transparent`, else white.
TColor MarkerColor(TMarkerStyle style, TMarkerTemplate part, bool transparent);

// msAuto and msAutoGray resolved by the fixed style (themed grids have styles of their own).
TMarkerStyle EffectiveMarkerStyle(TMarkerStyle style, TFixedStyle fixedStyle, bool themed);
bool MarkersTransparent(TMarkerTransparent value, TMarkerStyle effective);

// Empties `list` and fills it with the marker glyphs recoloured for the effective style.
void LoadMarkerGlyphs(TImageList* list, TMarkerStyle effective, bool transparent);

}  // namespace tv
