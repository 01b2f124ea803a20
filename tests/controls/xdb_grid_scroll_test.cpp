// The data grid's scrolling with real events: the record scroll bar clicked in its arrows and
// page areas, the five-position bar of a dataset without record numbers, the wheel keeping the
// current record on its screen line, an untouched appended record under the wheel, shifting or
// repainting the rows when the data scrolls, and position keeping.

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <vector>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"
#include "platform/data/data_set.h"

namespace tv {
namespace {

// Records the commands its vertical bar sends.
class TCommandGrid : public TXDBGrid {
public:
    using TXDBGrid::TXDBGrid;
    std::vector<TScrollCode> Commands;
    void Command(TScrollCode code, int pos) { VertScrollCommand(code, pos); }

protected:
    void VertScrollCommand(TScrollCode Code, int Pos) override {
        Commands.push_back(Code);
        TXDBGrid::VertScrollCommand(Code, Pos);
    }
};

// A table that cannot tell a record's number.
class TUnsequencedTable : public TClientDataSet {
public:
    bool IsSequenced() const override { return false; }
};

class GridScroll : public test::GridTest {
protected:
    // A grid over `records` numbered records with 6 data rows and half of one more.
    TCommandGrid* Grid(int records = 100) {
        UseNumberedTable(records);
        return Sized(AddGrid<TCommandGrid>(400, 300));
    }
    static TCommandGrid* Sized(TCommandGrid* grid) {
        const int frame = grid->Height() - grid->ClientHeight();
        grid->SetBounds(grid->Left(), grid->Top(), grid->Width(),
                        frame + grid->TitleHeight() + 6 * grid->RowHeight() + grid->RowHeight() / 2);
        return grid;
    }
    static QScrollBar* VerticalBar(TCustomGrid& grid) {
        return static_cast<QAbstractScrollArea*>(grid.Widget())->verticalScrollBar();
    }
    // The centre of a part of the bar (an arrow or a page area), as the style lays it out.
    static QPoint BarPart(QScrollBar* bar, QStyle::SubControl part) {
        QStyleOptionSlider opt;
        opt.initFrom(bar);
        opt.subControls = QStyle::SC_All;
        opt.orientation = bar->orientation();
        opt.minimum = bar->minimum();
        opt.maximum = bar->maximum();
        opt.sliderPosition = bar->sliderPosition();
        opt.sliderValue = bar->value();
        opt.singleStep = bar->singleStep();
        opt.pageStep = bar->pageStep();
        return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, bar).center();
    }
    int Id() { return table->FieldByName("ID").AsInteger(); }
};

TEST_F(GridScroll, TheBarCountsRecordsAndItsClicksMoveThem) {
    auto* grid = Grid();
    ASSERT_EQ(grid->VisibleDataRowCount(), 6);
    const int page = grid->VisibleDataRowCount();
    EXPECT_EQ(grid->VertScrollInfo(), (TScrollInfo{1, 100 + page - 1, page, 1}));
    QScrollBar* bar = VerticalBar(*grid);
    ASSERT_TRUE(bar->isVisible());
    ASSERT_TRUE(bar->isEnabled());

    // The down arrow: one record below the last one shown.
    QTest::mouseClick(bar, Qt::LeftButton, {}, BarPart(bar, QStyle::SC_ScrollBarAddLine));
    EXPECT_EQ(grid->Commands, (std::vector<TScrollCode>{scLineDown, scEndScroll}));
    EXPECT_EQ(Id(), 7);
    EXPECT_EQ(grid->VertScrollInfo().Pos, 7);
    EXPECT_EQ(bar->value(), 7);
    // The page area under the thumb: a page further.
    grid->Commands.clear();
    QTest::mouseClick(bar, Qt::LeftButton, {}, BarPart(bar, QStyle::SC_ScrollBarAddPage));
    EXPECT_EQ(grid->Commands, (std::vector<TScrollCode>{scPageDown, scEndScroll}));
    EXPECT_EQ(Id(), 13);
    // The up arrow: one record above the first one shown; the page above the thumb: a page back.
    const int topShown = Id() - grid->DataLink()->ActiveRecord();
    grid->Commands.clear();
    QTest::mouseClick(bar, Qt::LeftButton, {}, BarPart(bar, QStyle::SC_ScrollBarSubLine));
    EXPECT_EQ(grid->Commands, (std::vector<TScrollCode>{scLineUp, scEndScroll}));
    EXPECT_EQ(Id(), topShown - 1);
    grid->Commands.clear();
    QTest::mouseClick(bar, Qt::LeftButton, {}, BarPart(bar, QStyle::SC_ScrollBarSubPage));
    EXPECT_EQ(grid->Commands, (std::vector<TScrollCode>{scPageUp, scEndScroll}));
    EXPECT_EQ(Id(), topShown - 1 - page);

    table->Last();
    EXPECT_EQ(grid->VertScrollInfo().Pos, 100);
    // Without a vertical bar: the empty information, and no bar.
    grid->SetScrollBars(ssHorizontal);
    EXPECT_EQ(grid->VertScrollInfo(), (TScrollInfo{1, 1, 1, 1}));
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(GridScroll, ADatasetWithoutRecordNumbersShowsFivePositions) {
    auto data = std::make_unique<TUnsequencedTable>();
    data->FieldDefs().Add("ID", TFieldType::ftInteger);
    data->CreateDataSet();
    for (int i = 1; i <= 50; ++i) {
        data->Append();
        data->Fields(0).SetAsInteger(i);
        data->Post();
    }
    data->First();
    source.SetDataSet(data.get());
    auto* grid = Sized(AddGrid<TCommandGrid>(400, 300));
    grid->ScrollProp()->SetThumbBar(ssNone);
    table.reset();
    grid->Command(scBottom, 0);
    grid->Command(scTop, 0);
    EXPECT_EQ(grid->VertScrollInfo(), (TScrollInfo{0, 4, 0, 0})) << "first record: top";
    data->MoveBy(20);
    EXPECT_EQ(grid->VertScrollInfo(), (TScrollInfo{0, 4, 0, 2})) << "elsewhere: the middle";
    // Dragging the thumb to the middle does nothing; one step from an end pages.
    grid->Command(scPosition, 2);
    EXPECT_EQ(data->Fields(0).AsInteger(), 21);
    grid->Command(scPosition, 1);
    EXPECT_EQ(data->Fields(0).AsInteger(), 21 - grid->VisibleDataRowCount());
    data->Last();
    EXPECT_EQ(grid->VertScrollInfo(), (TScrollInfo{0, 4, 0, 4})) << "last record: bottom";
    delete grid;
    source.SetDataSet(nullptr);
}

TEST_F(GridScroll, TheWheelMovesTheDataUnderACurrentRowThatKeepsItsLine) {
    auto* grid = Grid();
    struct Case {
        int wheelRows;
        int expected;
    };
    const Case cases[] = {
        {3, 3}, {-1, grid->DataLink()->BufferCount()}, {0, QApplication::wheelScrollLines()}};
    for (const Case& c : cases) {
        grid->SetWheelScrollRows(c.wheelRows);
        EXPECT_EQ(grid->MouseWheelScrollRows(), c.expected);
        table->SetRecNo(50);
        const int line = grid->Row();
        const QPoint over = test::CellPoint(*grid, 1, line);
        test::Wheel(*grid, over, -1);
        EXPECT_EQ(Id(), 50 + c.expected) << c.wheelRows;
        EXPECT_EQ(grid->Row(), line) << c.wheelRows << ": the current record stays on its screen line";
        EXPECT_EQ(grid->DataLink()->ActiveRecord(), line - grid->TitleOffset());
        test::Wheel(*grid, over, 1);
        EXPECT_EQ(Id(), 50) << c.wheelRows;
        EXPECT_EQ(grid->Row(), line) << c.wheelRows;
    }
    // At the end the dataset knows it: one more step down leaves it at EOF.
    grid->SetWheelScrollRows(3);
    table->SetRecNo(99);
    test::Wheel(*grid, test::CellPoint(*grid, 1, grid->Row()), -1);
    EXPECT_EQ(Id(), 100);
    EXPECT_TRUE(table->Eof());
    // Without data a page is one row.
    source.SetDataSet(nullptr);
    grid->SetWheelScrollRows(-1);
    EXPECT_EQ(grid->MouseWheelScrollRows(), 1);
}

TEST_F(GridScroll, TheWheelDropsAnUntouchedAppendedRecordOnlyWhenTurnedUp) {
    auto* grid = Grid(10);
    table->Last();
    table->Append();
    ASSERT_EQ(table->State(), dsInsert);
    const QPoint over = test::CellPoint(*grid, 1, grid->Row());
    test::Wheel(*grid, over, -1);
    EXPECT_EQ(table->State(), dsInsert) << "turning down does nothing";
    test::Wheel(*grid, over, 1);
    EXPECT_EQ(table->State(), dsBrowse) << "turning up cancels the append";
    EXPECT_EQ(table->RecordCount(), 10);
    // A record typed into stays: the wheel posts it and moves on.
    table->Append();
    table->FieldByName("ID").SetAsInteger(11);
    test::Wheel(*grid, over, 1);
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(table->RecordCount(), 11);
}

TEST_F(GridScroll, OneRecordShiftsTheRowsUnlessStripesMustBePaintedAgain) {
    auto* grid = Grid();
    test::TRepaintLog log;
    log.Attach(*grid);
    const int rows = grid->DataRowCount();
    const TRect dataRows = Rect(0, grid->CellRect(0, grid->TitleOffset()).Top, grid->ClientWidth(),
                                grid->CellRect(0, grid->TitleOffset() + rows - 1).Bottom);
    auto scrolls = [&] {
        int n = 0;
        for (const auto& q : log.Requests())
            if (q.Kind == TGridRepaint::Scroll) {
                ++n;
                EXPECT_EQ(q.DY, -(grid->DefaultRowHeight() + 1));
            }
        return n;
    };
    table->MoveBy(rows - 1);
    log.Clear();
    table->Next();  // one record below the last shown: the buffer scrolls by one
    EXPECT_EQ(scrolls(), 1);
    EXPECT_FALSE(log.Invalidated(dataRows));

    grid->SetStripeColor(clDefault);
    log.Clear();
    table->Next();
    EXPECT_EQ(scrolls(), 0);
    EXPECT_TRUE(log.Invalidated(dataRows));
}

TEST_F(GridScroll, ADataRowSizedToTwoMoreLinesMakesThreeLines) {
    auto* grid = Grid(20);
    const int line = grid->TextHeightOf(grid->Font());
    int resized = 0;
    grid->OnRowResize = [&](TObject*) { ++resized; };
    grid->SetRowHeights(grid->TitleOffset() + 1, grid->DefaultRowHeight() + 2 * line);
    EXPECT_EQ(grid->LinesCount(), 3);
    EXPECT_EQ(resized, 1) << "the new default row height is reported once";
}

TEST_F(GridScroll, PositionKeepingPutsTheRecordBackOnItsRow) {
    auto* grid = Grid();
    table->SetRecNo(40);
    const int line = grid->Position();
    grid->DisablePosition();
    grid->DisablePosition();
    table->MoveBy(25);
    grid->EnablePosition(false);
    EXPECT_TRUE(grid->PositionDisabled());
    grid->EnablePosition(false);
    EXPECT_FALSE(grid->PositionDisabled());
    EXPECT_EQ(Id(), 40) << "the saved record";
    EXPECT_EQ(grid->Position(), line);
    // With the current record: the record reached, on the saved row.
    grid->DisablePosition();
    table->MoveBy(-30);
    grid->EnablePosition(true);
    EXPECT_EQ(Id(), 10);
    EXPECT_EQ(grid->Position(), line);
    // An unbalanced end is dropped; a bookmark no longer valid does nothing.
    grid->EnablePosition(true);
    EXPECT_FALSE(grid->PositionDisabled());
    table->SetRecNo(60);
    const TBookmark gone = table->GetBookmark();
    table->Delete();
    EXPECT_FALSE(grid->GotoPosition(0, gone));
    EXPECT_TRUE(grid->GotoPosition(0, {}));
    EXPECT_EQ(grid->Position(), 0);
}

}  // namespace
}  // namespace tv
