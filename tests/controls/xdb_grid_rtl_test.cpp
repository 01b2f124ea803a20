// A right-to-left data grid is the mirror of the left-to-right one: the indicator at the right
// edge and the columns leftwards from it (titles, data and totals), title images, sort markers
// and expand buttons mirrored inside their titles, and the mouse hitting what is drawn under it.

#include <gtest/gtest.h>

#include <QImage>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"
#include "platform/gui/image_list.h"

namespace tv {
namespace {

class RightToLeftGrid : public test::GridTest {
protected:
    // Five articles in ID, NAME, PRICE with a total header, values and footer row.
    TXDBGrid* Grid() {
        UseNumberedTable(5);
        auto* grid = AddGrid<TXDBGrid>(460, 260);
        grid->SetBorderStyle(bsNone);
        for (const char* field : {"ID", "NAME", "PRICE"}) grid->Columns()->Add()->SetFieldName(field);
        grid->FindColumn("NAME")->SetWidth(140);
        grid->SetOptionsEx({dgTotalHeader, dgTotalValues, dgTotalFooter});
        grid->Gradient()->SetActive(false);
        return grid;
    }
    static int RawOf(TXDBGrid& grid, const char* field) { return grid.ColumnToRaw(grid.FindColumn(field)); }
    static TRect Mirrored(const TRect& r, int width) {
        return r.IsEmpty() ? r : Rect(width - r.Right, r.Top, width - r.Left, r.Bottom);
    }
};

TEST_F(RightToLeftGrid, EveryCellStandsWhereTheMirrorOfTheLeftToRightGridPutsIt) {
    TXDBGrid* grid = Grid();
    const int width = grid->ClientWidth();
    std::map<std::pair<int, int>, TRect> ltr;
    for (int r = 0; r < grid->RowCount(); ++r)
        for (int c = 0; c < grid->ColCount(); ++c) ltr[{c, r}] = grid->CellRect(c, r);
    ASSERT_GT(grid->TotalOffset(), 2);
    grid->SetBiDiMode(bdRightToLeft);
    for (const auto& [cell, rect] : ltr)
        EXPECT_EQ(grid->CellRect(cell.first, cell.second), Mirrored(rect, width))
            << "cell " << cell.first << "," << cell.second;
    // The indicator stands at the right edge.
    EXPECT_EQ(grid->CellRect(0, grid->TitleOffset()).Right, width);
    // Right to left reading without mirrored alignment keeps the columns where they were.
    grid->SetBiDiMode(bdRightToLeftReadingOnly);
    EXPECT_EQ(grid->CellRect(0, 1), (ltr[{0, 1}]));
}

// A group's title over its children, scrolled partly out of view, and a header merged over two
// columns: each stands where the mirror of the left-to-right grid puts it.
TEST_F(RightToLeftGrid, GroupTitlesAndMergedHeadersStandMirrored) {
    TXDBGrid* grid = Grid();
    grid->SetWidth(300);
    grid->SetOptions(grid->Options() + TXDBGridOptions{dgTitleHeaders});
    TXDBGridColumns* columns = grid->Columns();
    TXColumn* article = columns->Add();
    article->SetIndex(1);
    article->SetExpandCols(2);
    article->Title()->SetCaption("Artikel");
    TXColumn* name = grid->FindColumn("NAME");
    TXColumn* price = grid->FindColumn("PRICE");
    name->Title()->SetHeader("Försäljning");
    price->Title()->SetHeader("Försäljning");
    ASSERT_EQ(grid->TitleRowCount(), 2);
    const int width = grid->ClientWidth();
    auto rects = [&] {
        const TRect group = grid->ColumnTitleCellRect(article, 0);
        const TRect caption = grid->ColumnTitleCellRect(name, 1);
        return std::tuple(group, caption, grid->HeaderRowRect(name, 0, caption).Full,
                          grid->HeaderRowRect(price, 0, grid->ColumnTitleCellRect(price, 1)).Full);
    };
    for (const int left : {1, 3}) {
        SCOPED_TRACE(left);
        grid->SetBiDiMode(bdLeftToRight);
        grid->SetLeftCol(left);  // from 3 on, the group's first column is scrolled out
        const auto [group, caption, nameHeader, priceHeader] = rects();
        EXPECT_EQ(nameHeader, priceHeader);
        grid->SetBiDiMode(bdRightToLeft);
        const auto [mGroup, mCaption, mNameHeader, mPriceHeader] = rects();
        EXPECT_EQ(mGroup, Mirrored(group, width));
        EXPECT_EQ(mCaption, Mirrored(caption, width));
        EXPECT_EQ(mNameHeader, Mirrored(nameHeader, width));
        EXPECT_EQ(mPriceHeader, Mirrored(priceHeader, width));
    }
    // The group's caption is drawn once, in full over both children.
    grid->SetLeftCol(1);
    int drawn = 0;
    for (const TCanvasRecord& r : Paint(*grid).Of(TCanvasOp::Text)) drawn += r.Text == "Artikel";
    EXPECT_EQ(drawn, 1);
}

// Each title glyph (image, marker) keeps its distance from the title's leading edge: from the left
// edge left to right, from the right edge right to left.
TEST_F(RightToLeftGrid, TitleImagesAndMarkersStandMirroredInTheirTitles) {
    TXDBGrid* grid = Grid();
    auto* images = new TImageList(&form);
    images->SetWidth(16);
    images->SetHeight(16);
    QImage face(16, 16, QImage::Format_RGB32);
    face.fill(Qt::blue);
    images->AddImage(face);
    grid->SetTitleImages(images);
    grid->FindColumn("NAME")->Title()->SetImageIndex(0);
    grid->FindColumn("PRICE")->Title()->SetImageIndex(0);
    grid->SetOrderFields("NAME,PRICE DESC");
    TImageList* markers = grid->Markers();
    // (list, raw column) -> distance of the glyph from the title's leading edge.
    using Distances = std::map<std::pair<const void*, int>, int>;
    auto distances = [&](bool mirrored) {
        Distances found;
        for (const TCanvasRecord& r : Paint(*grid).Of(TCanvasOp::Glyph)) {
            if (r.Source != images && r.Source != markers) continue;
            const TGridCoord cell = grid->MouseCoord(r.From.X + 8, r.From.Y + 8);
            const TRect title = grid->CellRect(cell.X, 0);
            found[{r.Source, cell.X}] = mirrored ? title.Right - (r.From.X + 16) : r.From.X - title.Left;
        }
        return found;
    };
    struct Case {
        const char* what;
        bool autoAlign;
        TAlignment alignment;
    } const cases[] = {
        {"marker after a left caption", true, taLeftJustify},
        {"marker after a centred caption", true, taCenter},
        {"marker at the end", false, taLeftJustify},
        {"right caption", true, taRightJustify},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        grid->SetBiDiMode(bdLeftToRight);
        TXDBGridOptions options = grid->Options();
        if (c.autoAlign)
            options.Include(dgMarkerAutoAlign);
        else
            options.Exclude(dgMarkerAutoAlign);
        grid->SetOptions(options);
        for (const char* field : {"NAME", "PRICE"}) grid->FindColumn(field)->Title()->SetAlignment(c.alignment);
        const Distances ltr = distances(false);
        ASSERT_EQ(ltr.size(), 4u);  // an image and a marker in each of two titles
        grid->SetBiDiMode(bdRightToLeft);
        EXPECT_EQ(distances(true), ltr);
    }
    // The caption stands between them: right of the marker, left of the image.
    const TCanvasRecord* caption = recorder.FindText("NAME");
    ASSERT_NE(caption, nullptr);
    const int raw = RawOf(*grid, "NAME");
    for (const TCanvasRecord& r : recorder.Of(TCanvasOp::Glyph)) {
        if (grid->MouseCoord(r.From.X + 8, r.From.Y + 8).X != raw) continue;
        if (r.Source == images) {
            EXPECT_GE(r.From.X, caption->From.X + 4 * recorder.CharWidth());
        } else if (r.Source == markers) {
            EXPECT_LE(r.From.X + 16, caption->From.X);
        }
    }
}

// The lines after the cells stand at their left: the column line of a data cell and the black
// line of a fixed cell in the line pixel the base grid leaves left of the cell.
TEST_F(RightToLeftGrid, LinesAfterTheCellsStandAtTheirLeft) {
    TXDBGrid* grid = Grid();
    grid->SetOptions(grid->Options() - TXDBGridOptions{dgRowLines});  // fixed cells keep their black line
    grid->SetDataColLineColor(clRed);
    grid->SetBiDiMode(bdRightToLeft);
    const TCanvasRecorder& record = Paint(*grid);
    const TRect data = grid->CellRect(RawOf(*grid, "ID"), grid->TitleOffset() + 1);
    const TRect title = grid->CellRect(RawOf(*grid, "ID"), 0);
    EXPECT_EQ(record.FillColorAt({data.Left - 1, data.Top + 5}), clRed);
    EXPECT_NE(record.FillColorAt({data.Right, data.Top + 5}), clRed);
    EXPECT_EQ(record.FillColorAt({title.Left - 1, title.Top + 5}), clBlack);
}

// Clicks, column sizing and the expand button on the mirror image.
TEST_F(RightToLeftGrid, TheMouseHitsWhatIsDrawnUnderIt) {
    TXDBGrid* grid = Grid();
    std::vector<std::string> clicks;
    grid->OnTitleClick = [&](TXColumn* c) { clicks.push_back("title " + c->FieldName()); };
    grid->OnCellClick = [&](TXColumn* c) { clicks.push_back("cell " + c->FieldName()); };
    grid->OnExpandClick = [&](TXColumn* c) { clicks.push_back("expand " + c->FieldName()); };
    grid->SetBiDiMode(bdRightToLeft);
    ASSERT_TRUE(test::FocusOn(*grid));
    const int name = RawOf(*grid, "NAME");
    const int price = RawOf(*grid, "PRICE");
    ASSERT_LT(grid->CellRect(price, 0).Right, grid->CellRect(name, 0).Left);

    test::Click(*grid, test::CellPoint(*grid, name, 0));
    test::Click(*grid, test::CellPoint(*grid, price, grid->TitleOffset() + 2));
    EXPECT_EQ(clicks, (std::vector<std::string>{"title NAME", "cell PRICE"}));
    EXPECT_EQ(grid->SelectedField(), grid->FindColumn("PRICE")->Field());
    EXPECT_EQ(grid->DataLink()->DataSet()->RecNo(), 3);

    // The border after NAME is the line left of it; dragged 20 pixels left it widens NAME.
    const TRect title = grid->CellRect(name, 0);
    const QPoint border(title.Left - 1, title.Top + title.Height() / 2);
    test::Drag(*grid, border, border - QPoint(20, 0));
    EXPECT_EQ(grid->FindColumn("NAME")->Width(), 160);

    // A drop-down title's button is at the left end of the title.
    clicks.clear();
    grid->FindColumn("PRICE")->SetExpandStyle(cesDropDown);
    const TRect priceTitle = grid->CellRect(price, 0);
    test::Click(*grid, QPoint(priceTitle.Left + 3, priceTitle.Top + priceTitle.Height() / 2));
    test::Click(*grid, QPoint(priceTitle.Right - 8, priceTitle.Top + priceTitle.Height() / 2));
    EXPECT_EQ(clicks, (std::vector<std::string>{"expand PRICE", "title PRICE"}));
}

}  // namespace
}  // namespace tv
