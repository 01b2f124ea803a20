// What the grid's setters do beyond storing: the option mappings and rules, the clamps, the
// colours and fonts that follow others, the 3D border, the refused links, the selection mode, the
// deferred layout and the references dropped when components go.

#include <gtest/gtest.h>

#include <QApplication>
#include <functional>
#include <string>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"
#include "platform/data/db_error.h"
#include "platform/gui/image_list.h"
#include "platform/gui/lookup_list.h"
#include "platform/gui/menu.h"

namespace tv {
namespace {

using test::GridTest;

TEST(GridOptions, MapOntoTheBaseGridsOptions) {
    struct Case {
        TXDBGridOptions options;
        TGridOptions base;
    };
    const Case cases[] = {
        {{dgColLines}, {goVertLine}},
        {{dgRowLines}, {goHorzLine}},
        {{dgColumnResize}, {goColSizing, goColMoving}},
        {{dgRowResize}, {goRowSizing}},
        {{dgTabs}, {goTabs}},
        {{dgEditing}, {goEditing}},
        {{dgAlwaysShowEditor}, {goAlwaysShowEditor}},
        {{dgThumbTracking}, {goThumbTracking}},
        {{dgTitles, dgIndicator, dgMultiSelect}, {}},
        // Row selection takes the editor away from the stored set too.
        {{dgRowSelect, dgEditing, dgAlwaysShowEditor, dgTabs}, {goRowSelect, goTabs}},
    };
    for (const Case& c : cases) {
        TXDBGrid grid;
        grid.SetOptions(c.options);
        EXPECT_EQ(grid.TCustomGrid::Options(), c.base) << c.options.Bits();
        if (c.options.Contains(dgRowSelect)) {
            EXPECT_FALSE(grid.Options().Contains(dgEditing));
            EXPECT_FALSE(grid.Options().Contains(dgAlwaysShowEditor));
        }
    }
}

TEST(GridOptions, TotalRowsBringTheBlankRowAndSelectedRowsDropCalcSelectedRows) {
    TXDBGrid grid;
    grid.SetOptionsEx({dgTotalFooter});
    EXPECT_EQ(grid.OptionsEx(), (TXDBGridOptionsEx{dgBlankRow, dgTotalFooter}));
    EXPECT_TRUE(grid.Totals()->Visible());
    grid.SetOptionsEx({dgCalcSelectedRows, dgTotalHeaderSelected});
    EXPECT_EQ(grid.OptionsEx(), (TXDBGridOptionsEx{dgTotalHeaderSelected}));
    grid.SetOptionsEx({});
    EXPECT_FALSE(grid.Totals()->Visible());
}

TEST(GridOptions, SelectedTotalRowsAreThereOnlyWhileRowsAreSelected) {
    TXDBGrid grid;
    grid.SetOptionsEx({dgSelectedAutoHidden, dgTotalHeaderSelected, dgTotalHeader, dgTotalFooter});
    EXPECT_FALSE(grid.OptionsEx().Contains(dgTotalHeader));
    EXPECT_TRUE(grid.OptionsEx().Contains(dgTotalFooter));
    grid.Totals()->SelectedRows = true;
    grid.SetOptionsEx({dgSelectedAutoHidden, dgTotalHeaderSelected});
    EXPECT_TRUE(grid.OptionsEx().Contains(dgTotalHeader));
    EXPECT_TRUE(grid.OptionsEx().Contains(dgBlankRow));
}

TEST(GridOptions, ResizeOptionsWithoutColumnResizeLoseTheBorderActions) {
    TXDBGrid grid;
    grid.SetResizeOptions({roOptimalWidth, roDefaultWidth, roColumnMoving});
    EXPECT_EQ(grid.ResizeOptions(), (TXResizeOptions{roColumnMoving}));
}

// A setter, the value written, and what the property reads after it.
struct ClampCase {
    const char* name;
    std::function<void(TXDBGrid&)> write;
    std::function<int(const TXDBGrid&)> read;
    int expected;
};

const ClampCase kClamps[] = {
    {"IndicatorWidth 5", [](TXDBGrid& g) { g.SetIndicatorWidth(5); },
     [](auto& g) { return g.IndicatorWidth(); }, 11},
    {"IndicatorWidth 30", [](TXDBGrid& g) { g.SetIndicatorWidth(30); },
     [](auto& g) { return g.IndicatorWidth(); }, 30},
    {"WheelScrollRows -5", [](TXDBGrid& g) { g.SetWheelScrollRows(-5); },
     [](auto& g) { return g.WheelScrollRows(); }, -1},
    {"FixedCols -2", [](TXDBGrid& g) { g.SetFixedCols(-2); }, [](auto& g) { return g.FixedCols(); }, 0},
    {"TitleLinesCount 0", [](TXDBGrid& g) { g.SetTitleLinesCount(0); },
     [](auto& g) { return g.TitleLinesCount(); }, 1},
    {"HeaderLinesCount -3", [](TXDBGrid& g) { g.SetHeaderLinesCount(-3); },
     [](auto& g) { return g.HeaderLinesCount(); }, 1},
    {"LinesCount -1 ignored", [](TXDBGrid& g) { g.SetLinesCount(-1); },
     [](auto& g) { return g.LinesCount(); }, 1},
    {"LinesCount 0 is 1", [](TXDBGrid& g) { g.SetLinesCount(0); }, [](auto& g) { return g.LinesCount(); }, 1},
    {"LinesCountMin 3 raises LinesCount", [](TXDBGrid& g) { g.SetLinesCountMin(3); },
     [](auto& g) { return g.LinesCount(); }, 3},
    {"LinesCountMax 2 stays above the minimum",
     [](TXDBGrid& g) {
         g.SetLinesCountMin(3);
         g.SetLinesCountMax(2);
     },
     [](auto& g) { return g.LinesCountMax(); }, 3},
    {"LinesCount 0 rises to the minimum",
     [](TXDBGrid& g) {
         g.SetLinesCountMin(3);
         g.SetLinesCount(0);
     },
     [](auto& g) { return g.LinesCount(); }, 3},
    {"LinesCount above the maximum",
     [](TXDBGrid& g) {
         g.SetLinesCountMax(4);
         g.SetLinesCount(9);
     },
     [](auto& g) { return g.LinesCount(); }, 4},
    {"LinesCountMax lowers LinesCount",
     [](TXDBGrid& g) {
         g.SetLinesCount(6);
         g.SetLinesCountMax(2);
     },
     [](auto& g) { return g.LinesCount(); }, 2},
    {"LinesCountMax -2 ignored",
     [](TXDBGrid& g) {
         g.SetLinesCountMax(5);
         g.SetLinesCountMax(-2);
     },
     [](auto& g) { return g.LinesCountMax(); }, 5},
    {"LinesCountMin -1 ignored", [](TXDBGrid& g) { g.SetLinesCountMin(-1); },
     [](auto& g) { return g.LinesCountMin(); }, 1},
    {"LinesCountMin above the maximum",
     [](TXDBGrid& g) {
         g.SetLinesCountMax(2);
         g.SetLinesCountMin(5);
     },
     [](auto& g) { return g.LinesCountMin(); }, 2},
    {"StretchWidthMax below the minimum",
     [](TXDBGrid& g) {
         g.SetStretchWidthMin(100);
         g.SetStretchWidthMax(50);
     },
     [](auto& g) { return g.StretchWidthMax(); }, 100},
    {"StretchWidthMin above the maximum",
     [](TXDBGrid& g) {
         g.SetStretchWidthMax(80);
         g.SetStretchWidthMin(90);
     },
     [](auto& g) { return g.StretchWidthMin(); }, 80},
    {"StretchWidthMin without a maximum", [](TXDBGrid& g) { g.SetStretchWidthMin(90); },
     [](auto& g) { return g.StretchWidthMin(); }, 90},
    {"StretchWidthMax -5 ignored",
     [](TXDBGrid& g) {
         g.SetStretchWidthMax(70);
         g.SetStretchWidthMax(-5);
     },
     [](auto& g) { return g.StretchWidthMax(); }, 70},
};

TEST(GridSetters, ClampOrIgnoreOutOfRangeValues) {
    for (const ClampCase& c : kClamps) {
        TXDBGrid grid;
        c.write(grid);
        EXPECT_EQ(c.read(grid), c.expected) << c.name;
    }
}

TEST(GridSetters, TheSelectionModeIsDerivedAndRefusesWhatIsNotAllowed) {
    TXDBGrid grid;
    grid.SetMultiSelect(msNone);
    EXPECT_EQ(grid.MultiSelect(), msRows);
    grid.SetMultiSelect(msCols);  // msCols is not among the options
    EXPECT_EQ(grid.MultiSelect(), msRows);
    grid.SetMultiSelectOptions({msRows, msCols, msCells});
    grid.SetMultiSelect(msCols);
    EXPECT_EQ(grid.MultiSelect(), msCols);
    EXPECT_TRUE(grid.ColsSelection());
    EXPECT_FALSE(grid.RowsSelection());
    // Row selection forces rows, and refuses columns and cells.
    grid.SetOptions(grid.Options() + TXDBGridOptions{dgRowSelect});
    EXPECT_EQ(grid.MultiSelect(), msRows);
    grid.SetMultiSelect(msCells);
    EXPECT_EQ(grid.MultiSelect(), msRows);
    // A mode not allowed reads as none.
    grid.SetMultiSelectOptions({msCols});
    EXPECT_EQ(grid.MultiSelect(), msNone);
    grid.SetMultiSelectOptions({msFixed});
    EXPECT_EQ(grid.SelectionOffset(), 0);
}

TEST(GridSetters, ColoursFollowFixedColorUntilSetAndTheFillerRepaints) {
    TXDBGrid grid;
    grid.SetHeaderColor(clBtnFace);  // written: its own from now on
    grid.SetFixedColor(clYellow);
    EXPECT_EQ(grid.FillerColor(), clYellow);
    EXPECT_EQ(grid.HeaderColor(), clBtnFace);
    grid.SetFillerIndex(3);
    EXPECT_EQ(grid.FillerIndex(), 3);
}

TEST(GridSetters, Ctl3DAndItsAutomaticChoiceTurnEachOtherOff) {
    TXDBGrid grid;
    EXPECT_TRUE(grid.Ctl3DAuto());
    grid.SetCtl3D(false);
    EXPECT_FALSE(grid.Ctl3DAuto());
    EXPECT_FALSE(grid.Ctl3D());
    grid.SetCtl3DAuto(true);
    EXPECT_FALSE(grid.ParentCtl3D());
    EXPECT_TRUE(grid.Ctl3D());  // the automatic choice for the default fixed style
    grid.SetFixedStyle(fsGray);
    EXPECT_FALSE(grid.Ctl3D());
    EXPECT_TRUE(grid.Ctl3DAuto());
    grid.SetParentCtl3D(true);
    EXPECT_FALSE(grid.Ctl3DAuto());
}

TEST(GridSetters, HintIsAlsoTheMainHint) {
    TXDBGrid grid;
    grid.SetHint("Artiklar");
    EXPECT_EQ(grid.Hint(), "Artiklar");
    EXPECT_EQ(grid.MainHint(), "Artiklar");
}

TEST(GridSetters, RightToLeftTurnsDoubleBufferingOff) {
    TXDBGrid grid;
    grid.SetBiDiMode(bdRightToLeftNoAlign);
    EXPECT_TRUE(grid.DoubleBuffered());
    grid.SetBiDiMode(bdRightToLeft);
    EXPECT_FALSE(grid.DoubleBuffered());
}

TEST(GridSetters, MasterGridsOfTheirOwnMastersAreRefused) {
    TXDBGrid a, b, c;
    b.SetMasterGrid(&a);
    c.SetMasterGrid(&b);
    // c's chain of masters leads back to a and to b.
    for (TXDBGrid* g : {&a, &b}) {
        try {
            g->SetMasterGrid(&c);
            FAIL() << "a ring of masters must be refused";
        } catch (const EInvalidGridOperation& e) {
            EXPECT_STREQ(e.what(), "Circular datalinks are not allowed");
        }
    }
    EXPECT_EQ(a.MasterGrid(), nullptr);
    EXPECT_EQ(b.MasterGrid(), &a);
    // A master switches stretching off, and a grid with a master takes no stretching.
    c.SetMasterGrid(nullptr);
    c.SetStretchMode(true);
    c.SetMasterGrid(&a);
    EXPECT_FALSE(c.StretchMode());
    c.SetStretchMode(true);
    EXPECT_FALSE(c.StretchMode());
    // Grids that follow a grid let go of it when it goes.
    c.SetMasterGrid(nullptr);
    b.SetMasterGrid(nullptr);
    EXPECT_EQ(a.ManageGrid(), nullptr);
}

TEST_F(GridTest, TheTotalsSourceIsRefusedAsTheGridsSource) {
    UseNumberedTable(3);
    auto* grid = AddGrid<TXDBGrid>(300, 200);
    TDataSource totals;
    grid->Totals()->SetDataSource(&totals);
    try {
        grid->SetDataSource(&totals);
        FAIL() << "the totals' source must be refused";
    } catch (const EInvalidGridOperation& e) {
        EXPECT_STREQ(e.what(), "Circular datalinks are not allowed");
    }
    EXPECT_EQ(grid->DataSource(), &source);
    EXPECT_THROW(grid->Totals()->SetDataSource(&source), EInvalidGridOperation);
    // While loading the assignment is skipped silently.
    form.BeginLoading();
    grid->SetDataSource(&totals);
    form.EndLoading();
    EXPECT_EQ(grid->DataSource(), &source);
    grid->Totals()->SetDataSource(nullptr);
}

TEST_F(GridTest, TitleFontsFollowTheGridsFontUntilChanged) {
    auto* grid = AddGrid<TXDBGrid>(300, 200);
    ASSERT_TRUE(grid->ParentFont());
    form.Font()->SetName("DejaVu Sans Mono");
    form.Font()->SetSize(11);
    EXPECT_TRUE(grid->ParentFont());
    for (TFont* f : {grid->TitleFont(), grid->HeaderFont(), grid->Totals()->Font()}) {
        EXPECT_EQ(f->Name(), "DejaVu Sans Mono");
        EXPECT_EQ(f->Size(), 11);
    }
    // Changing a title font at run time makes the grid's fonts its own.
    grid->TitleFont()->SetSize(14);
    EXPECT_FALSE(grid->ParentFont());
    form.Font()->SetSize(9);
    EXPECT_EQ(grid->TitleFont()->Size(), 14);
    EXPECT_EQ(grid->HeaderFont()->Size(), 11);
}

TEST_F(GridTest, ChangingATitleFontWhileLoadingKeepsTheParentFont) {
    form.BeginLoading();
    auto* grid = AddGrid<TXDBGrid>(300, 200);
    grid->TitleFont()->SetSize(14);
    grid->HeaderFont()->SetSize(15);
    form.EndLoading();
    EXPECT_TRUE(grid->ParentFont());
    EXPECT_EQ(grid->TitleFont()->Size(), 14);
}

// ---- the deferred layout ----

// A grid that counts the private messages it receives.
class TMessageGrid : public TXDBGrid {
public:
    using TXDBGrid::TXDBGrid;
    int layoutMessages = 0;

protected:
    void GridMessage(uint32_t Msg) override {
        if (Msg == kLayoutMessage) ++layoutMessages;
        TXDBGrid::GridMessage(Msg);
    }
};

TEST_F(GridTest, ADeferredLayoutIsPostedOnceAndLaysOutWhenItArrives) {
    UseNumberedTable(5);
    auto* grid = AddGrid<TMessageGrid>(300, 200);
    ASSERT_EQ(grid->IndicatorOffset(), 1);
    grid->BeginLayout();
    grid->BeginLayout();
    // Asked while locked: covered by whoever ends the lock, here no one.
    grid->SetOptions(grid->Options() - TXDBGridOptions{dgIndicator});
    EXPECT_EQ(grid->IndicatorOffset(), 1);
    grid->DeferLayout();
    grid->DeferLayout();
    EXPECT_FALSE(grid->LayoutLocked());
    EXPECT_EQ(grid->UpdateLock(), 0);
    EXPECT_EQ(grid->IndicatorOffset(), 1);  // nothing laid out yet
    QApplication::processEvents();
    EXPECT_EQ(grid->layoutMessages, 1);
    EXPECT_EQ(grid->IndicatorOffset(), 0);
    EXPECT_EQ(grid->ColCount(), grid->Columns()->Count());
}

TEST_F(GridTest, ADeferredLayoutThatFindsALockWaitsForTheNextTurn) {
    UseNumberedTable(5);
    auto* grid = AddGrid<TMessageGrid>(300, 200);
    grid->BeginUpdate();
    grid->BeginLayout();
    grid->SetIndicatorWidth(40);
    grid->DeferLayout();
    QApplication::processEvents();
    // The update lock was still held: the message came, found it and was posted again.
    EXPECT_GE(grid->layoutMessages, 1);
    EXPECT_NE(grid->ColWidths(0), 40);
    grid->EndUpdate();
    EXPECT_TRUE(test::WaitUntil([&] {
        QApplication::processEvents();
        return grid->ColWidths(0) == 40;
    }));
}

// ---- components that go ----

TEST_F(GridTest, ComponentsThatGoAreDroppedWhereverTheGridRefersToThem) {
    UseNumberedTable(3);
    auto* grid = AddGrid<TXDBGrid>(300, 200);
    grid->Columns()->Add()->SetFieldName("ID");
    TXColumn* column = grid->Columns()->Items(0);
    auto* titleMenu = new TPopupMenu(&form);
    auto* otherMenu = new TPopupMenu(&form);
    auto* images = new TImageList(&form);
    column->Title()->SetPopupMenu(titleMenu);
    column->SetPopupMenu(otherMenu);
    grid->SetFillerPopupMenu(otherMenu);
    grid->SetIndicatorImages(images);
    grid->SetTitleImages(images);
    column->SetImages(images);
    auto* lookup = new TClientDataSet(&form);
    column->SetLookupDataSet(lookup);
    column->Title()->SetDropDownMenu(otherMenu);

    delete titleMenu;
    EXPECT_EQ(column->Title()->PopupMenu(), nullptr);
    EXPECT_EQ(column->PopupMenu(), otherMenu);  // nothing else
    EXPECT_EQ(grid->FillerPopupMenu(), otherMenu);

    delete otherMenu;
    EXPECT_EQ(column->PopupMenu(), nullptr);
    EXPECT_EQ(column->Title()->DropDownMenu(), nullptr);
    EXPECT_EQ(grid->FillerPopupMenu(), nullptr);
    delete images;
    EXPECT_EQ(grid->IndicatorImages(), nullptr);
    EXPECT_EQ(grid->TitleImages(), nullptr);
    EXPECT_EQ(column->Images(), nullptr);
    delete lookup;
    EXPECT_EQ(column->LookupDataSet(), nullptr);
}

TEST_F(GridTest, ADataSourceThatGoesLeavesTheGridWithoutData) {
    UseNumberedTable(3);
    auto* grid = new TXDBGrid(&form);
    grid->SetParent(&form);
    auto* own = new TDataSource(&form);
    own->SetDataSet(table.get());
    grid->SetDataSource(own);
    ASSERT_TRUE(grid->DataLink()->Active());
    delete own;
    EXPECT_EQ(grid->DataSource(), nullptr);
    EXPECT_FALSE(grid->DataLink()->Active());
    EXPECT_EQ(grid->DataRowCount(), 0);
}

}  // namespace
}  // namespace tv
