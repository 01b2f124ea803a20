#pragma once
// The pictures of the event window, drawn by the program itself: the state pictures of the tree
// (index = report level: 1 info, 2 error, 3 warning, 4 result, 8 excessive, 9 debug; other indexes
// blank), the 24 x 24 step pictures chosen by nextEvent, and the glyphs of the main window's buttons.

namespace tv {

class TImageList;
class TBitmap;

inline constexpr int kStepPictureCount = 16;

// Fills a 16 x 16 list with the state pictures 0 to 9.
void DrawStatePictures(TImageList& list);
// Fills a 24 x 24 list with kStepPictureCount step pictures.
void DrawStepPictures(TImageList& list);
// A `size` x `size` glyph: a rounded square of `color` with `letter` in white, on `background`.
void DrawGlyph(TBitmap& glyph, int size, int color, char letter, int background);

}  // namespace tv
