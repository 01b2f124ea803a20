// Pictures in data cells: where a picture stands for each placement, the boxes of check-box cells
// framed in their box style (pixel tables at computed positions) and blended on a disabled grid,
// images chosen from a column's Images, pictures of graphic fields, and a paint handler that swaps
// or drops a cell's picture.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <memory>
#include <vector>

#include "controls/xdb_cell_picture.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_grid_boxes.h"
#include "controls/xdb_grid_glyphs.h"
#include "grid_test_support.h"
#include "platform/data/data_set.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/gui_exceptions.h"
#include "platform/gui/image_list.h"
#include "platform/gui/picture.h"
#include "platform/gui/qt_support.h"

namespace tv {
namespace {

TEST(CellPicturePlace, AlignmentsOppositeAndCentreWithOffsets) {
    const TRect cell = Rect(10, 20, 110, 60);  // 100 x 40, picture 13 x 13
    struct Case {
        TImageDraw draw;
        TAlignment align;
        TVAlignment valign;
        TPoint at;
    };
    const Case cases[] = {
        {idAlignment, taLeftJustify, tvTopJustify, {10 + 2, 20 + 3}},
        {idAlignment, taRightJustify, tvBottomJustify, {110 - 13 - 2, 60 - 13 - 3}},
        {idAlignment, taCenter, tvCenter, {10 + 43 + 2, 20 + 13 + 3}},
        {idOpposite, taLeftJustify, tvTopJustify, {110 - 13 - 2, 60 - 13 - 3}},
        {idOpposite, taCenter, tvBottomJustify, {10 + 43 + 2, 20 + 3}},
        {idCenter, taRightJustify, tvTopJustify, {10 + 43 + 2, 20 + 13 + 3}},
    };
    for (const Case& c : cases) {
        const TPoint at = CellPicturePlace(cell, 13, 13, c.draw, c.align, c.valign, 2, 3);
        EXPECT_EQ(at.X, c.at.X) << static_cast<int>(c.draw) << "/" << static_cast<int>(c.align);
        EXPECT_EQ(at.Y, c.at.Y) << static_cast<int>(c.draw) << "/" << static_cast<int>(c.valign);
    }
}

TEST(CellPictureRects, EachPlacementScalesStretchesOrTilesAsItSays) {
    // A cell of 100 x 40 at 10, 25; offsets 2 and 3; the tiles' grid raster runs through 0, 0.
    const TRect cell = Rect(10, 25, 110, 65);
    struct Case {
        const char* what;
        TImageDraw draw;
        int w, h;
        TAlignment align;
        TVAlignment valign;
        size_t count;
        TRect first;
        TRect last;
    };
    const Case cases[] = {
        {"own size, left top", idAlignment, 30, 20, taLeftJustify, tvTopJustify, 1, {12, 28, 42, 48}, {}},
        {"own size, right bottom", idAlignment, 30, 20, taRightJustify, tvBottomJustify, 1, {78, 42, 108, 62}, {}},
        {"own size, centred", idAlignment, 30, 20, taCenter, tvCenter, 1, {47, 38, 77, 58}, {}},
        {"opposite of left top", idOpposite, 30, 20, taLeftJustify, tvTopJustify, 1, {78, 42, 108, 62}, {}},
        {"centre whatever the alignment", idCenter, 30, 20, taRightJustify, tvBottomJustify, 1, {47, 38, 77, 58}, {}},
        // Inside 96 x 34 at 12, 28: a tall picture fills the height, a wide one the width.
        {"scaled, taller than the box", idScaled, 30, 20, taLeftJustify, tvTopJustify, 1, {34, 28, 85, 62}, {}},
        {"scaled, wider than the box", idScaled, 60, 10, taLeftJustify, tvTopJustify, 1, {12, 37, 108, 53}, {}},
        {"scaled up", idScaled, 6, 4, taLeftJustify, tvTopJustify, 1, {34, 28, 85, 62}, {}},
        {"stretched", idStretch, 30, 20, taLeftJustify, tvTopJustify, 1, {12, 28, 108, 62}, {}},
        {"tiles from the cell", idTileCell, 30, 20, taLeftJustify, tvTopJustify, 8, {10, 25, 40, 45}, {100, 45, 130, 65}},
        {"tiles on the grid", idTileGrid, 30, 20, taLeftJustify, tvTopJustify, 12, {0, 20, 30, 40}, {90, 60, 120, 80}},
        {"rows on the grid", idTileCol, 30, 20, taLeftJustify, tvTopJustify, 12, {10, 20, 40, 40}, {100, 60, 130, 80}},
        {"columns on the grid", idTileRow, 30, 20, taLeftJustify, tvTopJustify, 8, {0, 25, 30, 45}, {90, 45, 120, 65}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<TRect> rects = CellPictureRects(cell, c.w, c.h, c.draw, c.align, c.valign, 2, 3);
        ASSERT_EQ(rects.size(), c.count);
        EXPECT_EQ(rects.front(), c.first);
        EXPECT_EQ(rects.back(), c.count > 1 ? c.last : c.first);
    }
    EXPECT_TRUE(CellPictureRects(cell, 0, 20, idTileGrid, taLeftJustify, tvTopJustify, 0, 0).empty());
}

// Right to left the tiles run from the right: from the cell's right edge, and on the grid's raster
// from the right edge of a client 205 pixels wide (tiles at 205 - 30k); a placement at its own size
// is the alignment's business and stays.
TEST(CellPictureRects, MirroredTilesStartFromTheRight) {
    const TRect cell = Rect(10, 25, 110, 65);
    struct Case {
        const char* what;
        TImageDraw draw;
        size_t count;
        TRect first;
        TRect last;
    };
    const Case cases[] = {
        {"tiles from the cell", idTileCell, 8, {80, 25, 110, 45}, {-10, 45, 20, 65}},
        {"tiles on the grid", idTileGrid, 12, {85, 20, 115, 40}, {-5, 60, 25, 80}},
        {"rows on the grid", idTileCol, 12, {80, 20, 110, 40}, {-10, 60, 20, 80}},
        {"columns on the grid", idTileRow, 8, {85, 25, 115, 45}, {-5, 45, 25, 65}},
        {"own size", idAlignment, 1, {12, 28, 42, 48}, {12, 28, 42, 48}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<TRect> rects =
            CellPictureRects(cell, 30, 20, c.draw, taLeftJustify, tvTopJustify, 2, 3, 205);
        ASSERT_EQ(rects.size(), c.count);
        EXPECT_EQ(rects.front(), c.first);
        EXPECT_EQ(rects.back(), c.last);
    }
}

TEST(BoxStyles, AutomaticStylesFollowTheFixedStyle) {
    struct Case {
        TCheckBoxStyle style;
        TFixedStyle fixed;
        TCheckBoxStyle effective;
    };
    const Case cases[] = {
        {cbAuto, fsDefault, cbDefault},        {cbAutoGray, fsDefault, cbSoft},
        {cbAuto, fsFlat, cbFlat},              {cbAutoGray, fsFlat, cbGray},
        {cbAutoLowered, fsFlat, cbLoweredDark}, {cbAuto, fsFine, cbLoweredMild},
        {cbAutoGray, fsFine, cbLoweredGray},   {cbAutoLowered, fsMild, cbLoweredMild},
        {cbMild, fsDefault, cbMild},           {cbLoweredGray, fsFlat, cbLoweredGray},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EffectiveBoxStyle(c.style, c.fixed), c.effective) << c.style << " " << c.fixed;
}

// The pixels of `bitmap` as RGB colours.
TColor PixelOf(const TBitmap& bitmap, int x, int y) {
    return bitmap.Canvas()->Pixels(x, y);
}

// Bytes of a `w` x `h` picture of one colour: a bitmap, or any format Qt writes.
std::string PictureBytesOf(int w, int h, TColor colour, const char* format = "BMP") {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(ToQColor(colour));
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return std::string(out.constData(), static_cast<size_t>(out.size()));
}

class CellPictures : public test::GridTest {
protected:
    // ID, PIC (graphic) and FLAG (Boolean): one record per picture's bytes.
    TXDBGrid* Grid(const std::vector<std::string>& pictures) {
        std::vector<std::vector<std::string>> rows;
        int id = 0;
        for (const std::string& bytes : pictures) {
            ++id;
            rows.push_back({std::to_string(id), bytes, id % 2 ? "True" : "False"});
        }
        table = test::ClientTable(
            {{"ID", TFieldType::ftInteger}, {"PIC", TFieldType::ftGraphic}, {"FLAG", TFieldType::ftBoolean}}, rows);
        source.SetDataSet(table.get());
        auto* grid = AddGrid<TXDBGrid>(420, 220);
        grid->SetBorderStyle(bsNone);
        grid->SetSelectRowColor(clNone);
        return grid;
    }
    TRect CellOf(TXDBGrid& grid, int col, int row) {
        return grid.CellRect(col + grid.IndicatorOffset(), grid.TitleOffset() + row);
    }
    // The pictures drawn into a cell (clipped to it): where, and from what.
    std::vector<TCanvasRecord> PicturesIn(const TRect& cell) {
        std::vector<TCanvasRecord> found;
        for (const TCanvasRecord& r : recorder.Of(TCanvasOp::Picture))
            if (r.Clip == cell) found.push_back(r);
        return found;
    }
    bool TextIn(const TRect& cell) {
        for (const TCanvasRecord& r : recorder.Of(TCanvasOp::Text))
            if (cell.Contains(r.From) && !r.Text.empty()) return true;
        return false;
    }
    // The check-box strip with its template pixels.
    static QImage Strip() {
        QImage strip(QString::fromLatin1(GlyphStripResource(TGridGlyphStrip::CheckBoxes)));
        return strip.convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(CellPictures, CheckBoxesTakeTheEdgesOfTheirBoxStyle) {
    auto* grid = Grid({"", ""});
    TXColumn* flag = grid->Columns()->Items(2);
    flag->SetCheckBox(true);
    // The top and bottom middle pixels of the outer ring (y 0 and 12) and of the ring inside it
    // (y 1 and 11), by the box edges of each style; white where a style leaves the ring alone.
    const TColor white = clWhite, frame = ColorToRGB(clWindowFrame), shadow = ColorToRGB(clBtnShadow),
                 highlight = ColorToRGB(clBtnHighlight), dark = ColorToRGB(cl3DDkShadow),
                 light = ColorToRGB(cl3DLight);
    struct Case {
        TCheckBoxStyle style;
        TColor outerTop, outerBottom, innerTop, innerBottom;
    };
    const Case cases[] = {
        {cbDefault, shadow, highlight, frame, light}, {cbSoft, shadow, highlight, dark, light},
        {cbLoweredDark, frame, light, white, white},  {cbLoweredGray, dark, light, white, white},
        {cbLoweredMild, shadow, light, white, white}, {cbFlat, frame, frame, white, white},
        {cbGray, dark, dark, white, white},           {cbMild, shadow, shadow, white, white},
    };
    const QImage strip = Strip();
    const int ticked = 1;  // the first record's FLAG is true: the ticked ckCheck box
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.style));
        flag->SetCheckBoxStyle(c.style);
        const std::unique_ptr<TBitmap> box = flag->CheckBoxBitmap();
        ASSERT_TRUE(box);
        ASSERT_EQ(box->Width(), 13);
        EXPECT_EQ(PixelOf(*box, 6, 0), c.outerTop);
        EXPECT_EQ(PixelOf(*box, 6, 12), c.outerBottom);
        EXPECT_EQ(PixelOf(*box, 0, 6), c.outerTop);  // left goes with the top, right with the bottom
        EXPECT_EQ(PixelOf(*box, 12, 6), c.outerBottom);
        EXPECT_EQ(PixelOf(*box, 6, 1), c.innerTop);
        EXPECT_EQ(PixelOf(*box, 6, 11), c.innerBottom);
        // The mark inside stays as the strip draws it.
        for (int y = 2; y <= 10; ++y)
            for (int x = 2; x <= 10; ++x)
                ASSERT_EQ(PixelOf(*box, x, y), FromQColor(QColor(strip.pixel(ticked * 13 + x, y)))) << x << "," << y;
        EXPECT_EQ(box->TransparentColor(), clWhite);
    }

    // The automatic style follows the fixed style: cbAuto under fsFlat draws cbFlat.
    flag->SetCheckBoxStyle(cbAuto);
    grid->SetFixedStyle(fsFlat);
    EXPECT_EQ(PixelOf(*flag->CheckBoxBitmap(), 6, 12), frame);

    // A disabled grid blends the box with its fixed colour and frames it in cbMild.
    grid->SetFixedColor(clRed);
    grid->SetEnabled(false);
    const std::unique_ptr<TBitmap> disabled = flag->CheckBoxBitmap();
    EXPECT_EQ(PixelOf(*disabled, 6, 0), shadow);
    EXPECT_EQ(PixelOf(*disabled, 6, 12), shadow);
    EXPECT_EQ(PixelOf(*disabled, 6, 11), 0x7F7FFF);  // white half red
    // A black pixel of the tick (x 5, y 8 of the ticked box) becomes half red.
    ASSERT_EQ(strip.pixel(13 + 5, 8), qRgb(0, 0, 0));
    EXPECT_EQ(PixelOf(*disabled, 5, 8), 0x00007F);
}

TEST_F(CellPictures, RecolouredBoxesStandOnTheScreenWhereTheColumnPlacesThem) {
    auto* grid = Grid({"", "", ""});
    TXColumn* flag = grid->Columns()->Items(2);
    flag->SetCheckBox(true);
    flag->SetCheckBoxStyle(cbLoweredDark);
    flag->SetImageDraw(idAlignment);
    flag->SetAlignment(taRightJustify);
    flag->SetVAlignment(tvTopJustify);
    flag->SetImageOffsetX(4);
    flag->SetImageOffsetY(1);
    auto picture = test::Render(*grid);
    const QImage strip = Strip();
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        const TRect cell = CellOf(*grid, 2, row);
        const int x = cell.Right - 13 - 4, y = cell.Top + 1;
        const int glyph = row % 2 ? 0 : 1;  // records 1 and 3 are ticked
        test::ExpectPixels(picture->Canvas(), {{x + 6, y, ColorToRGB(clWindowFrame)},
                                               {x, y + 6, ColorToRGB(clWindowFrame)},
                                               {x + 6, y + 12, ColorToRGB(cl3DLight)},
                                               {x + 12, y + 6, ColorToRGB(cl3DLight)}});
        for (int py = 2; py <= 10; ++py)
            for (int px = 2; px <= 10; ++px)
                ASSERT_EQ(picture->Canvas()->Pixels(x + px, y + py),
                          FromQColor(QColor(strip.pixel(glyph * 13 + px, py))))
                    << px << "," << py;
    }
}

TEST_F(CellPictures, GraphicFieldsShowTheirPictureByTheColumnsPlacement) {
    auto* grid = Grid({PictureBytesOf(8, 6, clBlue), PictureBytesOf(8, 6, clLime)});
    TXColumn* pic = grid->Columns()->Items(1);
    pic->SetImageOffsetX(2);
    pic->SetImageOffsetY(3);
    const TRect cell = CellOf(*grid, 1, 0);
    struct Case {
        TImageDraw draw;
        TAlignment align;
        TVAlignment valign;
        std::vector<TRect> expected;
    };
    const Case cases[] = {
        {idAlignment, taRightJustify, tvBottomJustify, {Bounds(cell.Right - 8 - 2, cell.Bottom - 6 - 3, 8, 6)}},
        {idOpposite, taRightJustify, tvBottomJustify, {Bounds(cell.Left + 2, cell.Top + 3, 8, 6)}},
        {idCenter, taLeftJustify, tvTopJustify,
         {Bounds(cell.Left + (cell.Width() - 8) / 2 + 2, cell.Top + (cell.Height() - 6) / 2 + 3, 8, 6)}},
        {idStretch, taLeftJustify, tvTopJustify, {Rect(cell.Left + 2, cell.Top + 3, cell.Right - 2, cell.Bottom - 3)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.draw));
        pic->SetImageDraw(c.draw);
        pic->SetAlignment(c.align);
        pic->SetVAlignment(c.valign);
        Paint(*grid);
        std::vector<TRect> drawn;
        for (const TCanvasRecord& r : PicturesIn(cell)) drawn.push_back(r.Rect);
        EXPECT_EQ(drawn, c.expected);
        EXPECT_FALSE(TextIn(cell));
    }
    // Tiles on the grid's raster cover the cell, each clipped to it.
    pic->SetImageDraw(idTileGrid);
    Paint(*grid);
    const std::vector<TCanvasRecord> tiles = PicturesIn(cell);
    ASSERT_FALSE(tiles.empty());
    EXPECT_EQ(tiles.front().Rect, Bounds(cell.Left - cell.Left % 8, cell.Top - cell.Top % 6, 8, 6));
    EXPECT_EQ(tiles.size(), CellPictureRects(cell, 8, 6, idTileGrid, taLeftJustify, tvTopJustify, 0, 0).size());
    // Right to left the raster runs from the client's right edge.
    grid->SetBiDiMode(bdRightToLeft);
    Paint(*grid);
    const TRect mirroredCell = CellOf(*grid, 1, 0);
    const std::vector<TCanvasRecord> mirroredTiles = PicturesIn(mirroredCell);
    ASSERT_FALSE(mirroredTiles.empty());
    for (const TCanvasRecord& r : mirroredTiles) EXPECT_EQ((grid->ClientWidth() - r.Rect.Right) % 8, 0);
    grid->SetBiDiMode(bdLeftToRight);

    // On the screen: each record's own picture, centred; the cell around it in the grid's colour.
    pic->SetImageDraw(idCenter);
    pic->SetImageOffsetX(0);
    pic->SetImageOffsetY(0);
    auto picture = test::Render(*grid);
    for (int row = 0; row < 2; ++row) {
        const TRect r = CellOf(*grid, 1, row);
        const int x = r.Left + (r.Width() - 8) / 2, y = r.Top + (r.Height() - 6) / 2;
        test::ExpectPixels(picture->Canvas(), {{x, y, row ? clLime : clBlue},
                                               {x + 7, y + 5, row ? clLime : clBlue},
                                               {x - 1, y, ColorToRGB(grid->Color())},
                                               {x + 8, y + 5, ColorToRGB(grid->Color())}});
    }
}

TEST_F(CellPictures, GraphicFieldsOfOtherFormatsSkipTheHeaderAndBadBytesDrawNothing) {
    // A JPEG behind the 8-byte header of a graphic blob; bytes that claim to be a JPEG but are not.
    const std::string header("\x01\x00\x00\x01\x00\x00\x00\x00", 8);
    auto* grid = Grid({header + PictureBytesOf(12, 9, clRed, "JPG"), std::string("\xFF\xD8\xFF\xE0") + " is not a picture",
                       ""});
    TXColumn* pic = grid->Columns()->Items(1);
    const std::unique_ptr<TPicture> jpeg = pic->FieldGraphic();
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->Width(), 12);
    EXPECT_EQ(jpeg->Height(), 9);
    table->Next();
    EXPECT_THROW(pic->FieldGraphic(), EInvalidGraphic);
    table->First();
    Paint(*grid);
    ASSERT_EQ(PicturesIn(CellOf(*grid, 1, 0)).size(), 1u);
    EXPECT_EQ(PicturesIn(CellOf(*grid, 1, 0)).front().Rect.Width(), 12);
    // The unreadable picture and the empty field draw nothing, and no text either.
    for (int row = 1; row < 3; ++row) {
        EXPECT_TRUE(PicturesIn(CellOf(*grid, 1, row)).empty()) << row;
        EXPECT_FALSE(TextIn(CellOf(*grid, 1, row))) << row;
    }
    // Without ShowBlob the field is text again.
    pic->SetShowBlob(false);
    Paint(*grid);
    EXPECT_TRUE(PicturesIn(CellOf(*grid, 1, 0)).empty());
}

TEST_F(CellPictures, ImagesComeFromTheColumnsListByTheFieldsValue) {
    auto* grid = Grid({"", "", "", "", ""});
    TImageList images;
    images.SetWidth(10);
    images.SetHeight(10);
    for (TColor colour : {clRed, clLime, clBlue, clYellow}) {
        TBitmap bitmap;
        bitmap.SetImage([&] {
            QImage image(10, 10, QImage::Format_RGB32);
            image.fill(ToQColor(colour));
            return image;
        }());
        images.Add(&bitmap, nullptr);
    }
    ASSERT_EQ(images.Count(), 4);
    TXColumn* id = grid->Columns()->Items(0);
    TXColumn* flag = grid->Columns()->Items(2);
    id->SetImages(&images);
    flag->SetImages(&images);
    // The cells' own bitmaps are gone once painted: the choice shows in the index the grid asks
    // about, in where pictures stand, and in the pixels below.
    std::vector<int> asked;
    grid->OnCalcImageIndex = [&](TObject*, TXColumn* column, int32_t& index) {
        if (column == id) asked.push_back(index);
    };
    Paint(*grid);
    // IDs 1 to 3 are images 1 to 3 (4 and 5 are beyond the list and write their text).
    EXPECT_EQ(asked, (std::vector<int>{1, 2, 3, 4, 5}));
    for (int row = 0; row < 5; ++row) {
        const bool image = row + 1 < images.Count();
        EXPECT_EQ(PicturesIn(CellOf(*grid, 0, row)).size(), image ? 1u : 0u) << row;
        EXPECT_EQ(TextIn(CellOf(*grid, 0, row)), !image) << row;
    }
    // The Boolean FLAG gives image 1 when true and 0 when false.
    EXPECT_EQ(flag->CellImageIndex(), 1);
    table->Next();
    EXPECT_EQ(flag->CellImageIndex(), 0);
    table->First();

    // The handler may move the index: every ID cell shows image 2 then, and the pixels say so.
    grid->OnCalcImageIndex = [&](TObject*, TXColumn* column, int32_t& index) {
        if (column == id) index = 2;
    };
    auto picture = test::Render(*grid);
    for (int row = 0; row < 5; ++row) {
        const TRect r = CellOf(*grid, 0, row);
        EXPECT_EQ(picture->Canvas()->Pixels(r.Left + r.Width() / 2, r.Top + r.Height() / 2), clBlue) << row;
    }
    // A disabled grid blends the image with its fixed colour; TransparentColor becomes the bitmap's.
    grid->SetFixedColor(clWhite);
    grid->SetEnabled(false);
    id->SetTransparentColor(clFuchsia);
    const std::unique_ptr<TBitmap> blended = id->CellImageBitmap(0);
    ASSERT_TRUE(blended);
    EXPECT_EQ(PixelOf(*blended, 3, 3), 0x7F7FFF);
    EXPECT_EQ(blended->TransparentColor(), clFuchsia);
    EXPECT_FALSE(id->CellImageBitmap(4));
    EXPECT_FALSE(id->CellImageBitmap(-1));
}

TEST_F(CellPictures, APaintHandlerMaySwapOrDropTheCellsPicture) {
    auto* grid = Grid({PictureBytesOf(8, 6, clBlue), PictureBytesOf(8, 6, clBlue)});
    TXColumn* flag = grid->Columns()->Items(2);
    flag->SetCheckBox(true);
    TBitmap own;
    own.SetImage([] {
        QImage image(5, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        return image;
    }());
    struct Case {
        const char* what;
        int swap;  // 0 leaves the picture, 1 puts the handler's own in its place, 2 drops it
        size_t pictures;
        bool text;
    };
    const Case cases[] = {
        {"left alone", 0, 1, false},
        {"swapped for the handler's own", 1, 1, false},
        {"dropped: the cell writes its text", 2, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        grid->OnPaintColumnCell = [&](TObject*, const TRect&, int32_t, TXColumn*, bool, TSelections, TColor&,
                                      TFont*, TPersistent*& image) {
            if (c.swap == 1) image = &own;
            if (c.swap == 2) image = nullptr;
        };
        Paint(*grid);
        for (int col : {1, 2}) {
            const TRect cell = CellOf(*grid, col, 0);
            const std::vector<TCanvasRecord> drawn = PicturesIn(cell);
            ASSERT_EQ(drawn.size(), c.pictures) << col;
            if (c.swap == 1) {
                EXPECT_EQ(drawn.front().Source, static_cast<const void*>(static_cast<TGraphic*>(&own)));
                EXPECT_EQ(drawn.front().Rect.Width(), 5);
            }
            // The check-box column without its box writes the field's text, as any column.
            EXPECT_EQ(TextIn(cell), c.text) << col;
        }
    }
    // A handler that draws the cell itself and asks for the grid's own drawing gets the box too.
    grid->OnPaintColumnCell = nullptr;
    grid->SetDefaultDrawing(false);
    grid->OnDrawColumnCell = [&](TObject*, const TRect& rect, int32_t dataCol, TXColumn* column, TGridDrawState state) {
        grid->DefaultDrawColumnCell(rect, dataCol, column, state);
    };
    Paint(*grid);
    EXPECT_EQ(PicturesIn(CellOf(*grid, 2, 0)).size(), 1u);
    EXPECT_FALSE(TextIn(CellOf(*grid, 2, 0)));
}

}  // namespace
}  // namespace tv
