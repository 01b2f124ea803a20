// The ring of grids that follow a master grid: Synchronize copies the column layout around the
// ring and each grid takes it once; the left column and column moves travel the same way, and a
// grid that refuses a move keeps its columns.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"
#include "platform/rtl/class_info.h"

namespace tv {
namespace {

// Counts the widths each grid's columns are given (a column made on a collection joins it).
std::map<const TXCustomDBGrid*, int> gWidthWrites;

class TCountingColumn : public TXColumn {
    TV_CLASS(TCountingColumn, TXColumn)
public:
    explicit TCountingColumn(TCollection* Collection) : TXColumn(Collection) {}
    void SetWidth(int value) override {
        ++gWidthWrites[Grid()];
        TXColumn::SetWidth(value);
    }
};

const TClassInfo& TCountingColumn::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCountingColumn>("TCountingColumn").Build();
    return info;
}

class GridRing : public test::GridTest {
protected:
    GridRing() {
        UseNumberedTable(5);
        for (int g = 0; g < 3; ++g) {
            auto* grid = AddGrid<TXDBGrid>(160, 120);
            grid->SetTop(10 + 130 * g);
            for (const char* name : {"ID", "NAME", "PRICE", "ACTIVE"}) {
                TXColumn* column = new TCountingColumn(grid->Columns());
                column->SetFieldName(name);
                column->SetWidth(60);
            }
            grids.push_back(grid);
        }
        // b follows a, c follows b: the ring a -> b -> c -> a.
        grids[1]->SetMasterGrid(grids[0]);
        grids[2]->SetMasterGrid(grids[1]);
        gWidthWrites.clear();
    }
    ~GridRing() override { gWidthWrites.clear(); }

    static std::string Order(TXCustomDBGrid& grid) {
        std::string order;
        for (int i = 0; i < grid.Columns()->Count(); ++i)
            order += (i ? "," : "") + grid.Columns()->Items(i)->FieldName();
        return order;
    }

    std::vector<TXDBGrid*> grids;
};

TEST_F(GridRing, TheRingRunsFromTheMasterThroughItsFollowers) {
    EXPECT_EQ(grids[0]->ManageGrid(), grids[1]);
    EXPECT_EQ(grids[1]->ManageGrid(), grids[2]);
    EXPECT_EQ(grids[2]->ManageGrid(), grids[0]);
    EXPECT_EQ(grids[2]->MasterGrid(), grids[1]);
}

TEST_F(GridRing, ARingOfThreeIsSynchronisedOnceEach) {
    TXCustomDBGrid& a = *grids[0];
    a.Columns()->Items(0)->SetWidth(80);
    a.Columns()->Items(2)->SetWidth(40);
    a.Columns()->Items(1)->SetVisible(false);
    a.SetIndicatorWidth(30);
    a.SetFixedCols(1);
    gWidthWrites.clear();

    a.Synchronize();
    for (TXDBGrid* g : grids) {
        // One width per column: the copy reached each grid once and stopped where it began.
        EXPECT_EQ(gWidthWrites[g], 4) << g->Name();
        EXPECT_EQ(g->Columns()->Items(0)->TrueWidth(), 80);
        EXPECT_EQ(g->Columns()->Items(2)->TrueWidth(), 40);
        EXPECT_FALSE(g->Columns()->Items(1)->Visible());
        EXPECT_EQ(g->IndicatorWidth(), 30);
        EXPECT_EQ(g->FixedCols(), 1);
        EXPECT_FALSE(g->Mirroring());
    }

    // A setter that synchronises sends its change around once too.
    gWidthWrites.clear();
    grids[1]->SetIndicatorWidth(25);
    for (TXDBGrid* g : grids) {
        EXPECT_EQ(gWidthWrites[g], 4) << g->Name();
        EXPECT_EQ(g->IndicatorWidth(), 25);
    }
}

TEST_F(GridRing, TheLeftColumnFollowsAroundTheRing) {
    std::map<TObject*, std::vector<int>> scrolled;
    for (TXDBGrid* g : grids)
        g->OnColumnScroll = [&scrolled](TObject* sender, int left) { scrolled[sender].push_back(left); };
    grids[1]->SetLeftColumn(3);
    for (TXDBGrid* g : grids) {
        EXPECT_EQ(g->LeftCol(), 3) << g->Name();
        EXPECT_EQ(scrolled[g], std::vector<int>{2}) << g->Name();
    }
}

TEST_F(GridRing, AColumnMoveIsRepeatedAroundTheRingUnlessAGridRefusesIt) {
    std::vector<std::string> moved;
    for (TXDBGrid* g : grids)
        g->OnColumnMoved = [&moved](TObject* sender, int from, int to) {
            moved.push_back(static_cast<TComponent*>(sender)->Name() + ":" + std::to_string(from) + ">" +
                            std::to_string(to));
        };
    grids[0]->SetName("A");
    grids[1]->SetName("B");
    grids[2]->SetName("C");
    // Raw columns: the indicator is 0, so raw 1 is the first column.
    grids[0]->MoveColumn(1, 3);
    EXPECT_EQ(moved, (std::vector<std::string>{"A:0>2", "B:0>2", "C:0>2"}));
    for (TXDBGrid* g : grids) EXPECT_EQ(Order(*g), "NAME,PRICE,ID,ACTIVE") << g->Name();

    // B refuses: its base grid moves the column back, and the move goes no further.
    moved.clear();
    grids[1]->OnColumnMoving = [](TObject*, int, int, bool& accept) { accept = false; };
    grids[0]->MoveColumn(4, 1);
    EXPECT_EQ(moved, std::vector<std::string>{"A:3>0"});
    EXPECT_EQ(Order(*grids[0]), "ACTIVE,NAME,PRICE,ID");
    EXPECT_EQ(Order(*grids[1]), "NAME,PRICE,ID,ACTIVE");
    EXPECT_EQ(Order(*grids[2]), "NAME,PRICE,ID,ACTIVE");
    for (TXDBGrid* g : grids) EXPECT_FALSE(g->Mirroring());
}

TEST_F(GridRing, AMoveBeyondTheManagedGridsColumnsStaysInItsGrid) {
    grids[1]->Columns()->Delete(3);
    grids[0]->MoveColumn(4, 1);
    EXPECT_EQ(Order(*grids[0]), "ACTIVE,ID,NAME,PRICE");
    EXPECT_EQ(Order(*grids[1]), "ID,NAME,PRICE");
    EXPECT_EQ(Order(*grids[2]), "ID,NAME,PRICE,ACTIVE");
}

}  // namespace
}  // namespace tv
