// Sort markers and the grid's order: title toggles under the three marker options as sequences of
// clicks, direct writes of MarkerIndex and OrderIndex, the order text both ways, and the
// order-update bracket that notices a whole change once.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/xdb_grid.h"
#include "platform/gui/qt_support.h"

namespace tv {
namespace {

// A grid (no data) with columns A, B, C, ... by field name, counting its order notices.
struct TMarkerGrid {
    explicit TMarkerGrid(int columns = 4, TXDBGridOptions options = kDefaultGridOptions) {
        EnsureQtApplication();
        grid.SetOptions(options);
        for (int i = 0; i < columns; ++i)
            grid.Columns()->Add()->SetFieldName(std::string(1, static_cast<char>('A' + i)));
        grid.OnOrderChanged = [this](TObject*) { ++notices; };
    }
    TXColumnTitle* Title(char name) { return grid.Columns()->Items(name - 'A')->Title(); }
    std::vector<int> Indexes(int count = 3) {
        std::vector<int> result;
        for (int i = 0; i < count; ++i) result.push_back(grid.Columns()->Items(i)->Title()->MarkerIndex());
        return result;
    }
    TXDBGrid grid;
    int notices = 0;
};

struct TClick {
    char Column;
    bool NewOrder;
};

struct TToggleCase {
    const char* Name;
    TXDBGridOptions Options;
    std::vector<TClick> Clicks;
    std::vector<int> Indexes;  // MarkerIndex of A, B, C afterwards
    const char* Order;
};

const TXDBGridOptions kToggle{dgMarkerAutoToggle};

const TToggleCase kToggleCases[] = {
    {"numbered in click order", kToggle, {{'A', false}, {'B', false}, {'C', false}}, {2, 4, 6}, "A,B,C"},
    {"a second click turns descending", kToggle, {{'A', false}, {'B', false}, {'C', false}, {'B', false}},
     {2, 5, 6}, "A,B DESC,C"},
    {"the last column leaves on its third click",
     kToggle,
     {{'A', false}, {'B', false}, {'C', false}, {'B', false}, {'C', false}, {'C', false}},
     {2, 5, -1},
     "A,B DESC"},
    {"the first column is never removed", kToggle, {{'A', false}, {'B', false}, {'A', false}, {'A', false}},
     {2, 4, -1}, "A,B"},
    {"a new order on an ascending column turns it descending alone", kToggle,
     {{'A', false}, {'B', false}, {'B', true}}, {-1, 3, -1}, "B DESC"},
    {"a new order on another column starts ascending", kToggle, {{'A', false}, {'B', true}}, {-1, 2, -1}, "B"},
    {"one column at a time", {dgMarkerAutoSwitch}, {{'A', false}, {'B', false}, {'B', false}}, {-1, 1, -1},
     "B DESC"},
    {"one column at a time, a second click on it turns it back",
     {dgMarkerAutoSwitch},
     {{'A', false}, {'A', false}, {'A', false}},
     {0, -1, -1},
     "A"},
    {"ascending only stays ascending", {dgMarkerAutoToggle, dgMarkerAscendOnly},
     {{'A', false}, {'B', false}, {'B', false}, {'A', false}}, {2, -1, -1}, "A"},
};

TEST(GridMarkers, TitleTogglesFollowTheMarkerOptions) {
    for (const TToggleCase& c : kToggleCases) {
        TMarkerGrid g(4, c.Options);
        for (const TClick& click : c.Clicks) g.Title(click.Column)->ToggleMarker(click.NewOrder);
        EXPECT_EQ(g.Indexes(), c.Indexes) << c.Name;
        EXPECT_EQ(g.grid.OrderFields(), c.Order) << c.Name;
    }
}

TEST(GridMarkers, AtMostNineColumnsAreOrderedAndColumnsWithoutAFieldIgnoreClicks) {
    TMarkerGrid g(11);
    for (char c = 'A'; c <= 'J'; ++c) g.Title(c)->ToggleMarker(false);
    EXPECT_EQ(g.Title('I')->MarkerIndex(), 18);
    EXPECT_EQ(g.Title('I')->OrderIndex(), 9);
    EXPECT_EQ(g.Title('J')->MarkerIndex(), -1);
    EXPECT_EQ(g.grid.Columns()->OrderList().size(), 9u);

    TMarkerGrid h;
    h.Title('A')->ToggleMarker(false);
    h.grid.Columns()->Items(1)->SetFieldName("");
    h.Title('B')->ToggleMarker(false);
    EXPECT_EQ(h.Indexes(), (std::vector<int>{2, -1, -1}));
    // A new order from it still clears the others.
    h.Title('B')->ToggleMarker(true);
    EXPECT_EQ(h.Indexes(), (std::vector<int>{-1, -1, -1}));
}

TEST(GridMarkers, DirectWritesAreNormalised) {
    // Ascending only, no numbering: 5 is stored as 4.
    TMarkerGrid plain(3, {dgMarkerAscendOnly});
    plain.Title('A')->SetMarkerIndex(5);
    EXPECT_EQ(plain.Title('A')->MarkerIndex(), 4);
    EXPECT_EQ(plain.Title('A')->Marker(), tmAscend);
    // No option: the value stands as written; the marker follows its lowest bit.
    TMarkerGrid none(3, {});
    none.Title('B')->SetMarkerIndex(7);
    EXPECT_EQ(none.Title('B')->MarkerIndex(), 7);
    EXPECT_EQ(none.Title('B')->Marker(), tmDescend);
    EXPECT_EQ(none.Title('B')->OrderIndex(), 3);

    // Numbered: the index is the position's, whatever is written.
    TMarkerGrid g;
    g.Title('C')->SetMarkerIndex(9);
    EXPECT_EQ(g.Title('C')->MarkerIndex(), 3);
    g.Title('A')->SetMarker(tmAscend);
    g.Title('B')->SetMarker(tmDescend);
    EXPECT_EQ(g.Indexes(), (std::vector<int>{4, 7, 3}));
    // OrderIndex 1 on the third ordered column makes it first and renumbers the others.
    g.Title('B')->SetOrderIndex(1);
    EXPECT_EQ(g.Indexes(), (std::vector<int>{6, 3, 5}));
    EXPECT_EQ(g.grid.OrderFields(), "B DESC,C DESC,A");
    // A position past the end puts it last; a negative one removes the marker.
    g.Title('B')->SetOrderIndex(7);
    EXPECT_EQ(g.Indexes(), (std::vector<int>{4, 7, 3}));
    g.Title('C')->SetOrderIndex(-1);
    EXPECT_EQ(g.Indexes(), (std::vector<int>{2, 5, -1}));
    EXPECT_EQ(g.Title('C')->Marker(), tmNone);

    // Setting a marker under dgMarkerAutoSwitch clears the others first.
    TMarkerGrid one(3, {dgMarkerAutoSwitch});
    one.Title('A')->SetMarker(tmDescend);
    one.Title('C')->SetMarker(tmAscend);
    EXPECT_EQ(one.Indexes(), (std::vector<int>{-1, -1, 0}));

    // A column of a collection without a grid keeps no marker.
    TXDBGridColumns loose(nullptr, TXColumn::StaticClassInfo());
    TXColumn* column = static_cast<TXColumn*>(loose.TCollection::Add());
    column->Title()->SetMarkerIndex(2);
    column->Title()->SetMarker(tmAscend);
    EXPECT_EQ(column->Title()->MarkerIndex(), -1);
    EXPECT_EQ(column->Title()->Marker(), tmNone);
}

TEST(GridMarkers, RemovedColumnsLeaveTheOrder) {
    TMarkerGrid g;
    for (char c : {'A', 'B', 'C'}) g.Title(c)->ToggleMarker(false);
    delete g.grid.Columns()->Items(1);
    EXPECT_EQ(g.grid.OrderFields(), "A,C");
    g.grid.Columns()->RemoveMarkers();
    EXPECT_EQ(g.grid.OrderFields(), "");
    EXPECT_TRUE(g.grid.Columns()->OrderList().empty());
}

TEST(GridOrder, OrderTextSetsTheMarkers) {
    TMarkerGrid g;
    g.grid.SetOrderFields(" c desc , X,a Asc,B DESC ");
    // "X" names no column; the items keep their order.
    EXPECT_EQ(g.Indexes(4), (std::vector<int>{4, 7, 3, -1}));
    EXPECT_EQ(g.grid.OrderFields(), "C DESC,A,B DESC");
    g.grid.SetOrderFields("");
    EXPECT_EQ(g.Indexes(4), (std::vector<int>{-1, -1, -1, -1}));

    TMarkerGrid one(3, {dgMarkerAutoSwitch});
    one.grid.SetOrderFields("B DESC,A");
    EXPECT_EQ(one.grid.OrderFields(), "B DESC");

    // Default columns without open data keep the text as it is.
    TXDBGrid bare;
    bare.SetOrderFields("NAME DESC,ID");
    EXPECT_EQ(bare.OrderFields(), "NAME DESC,ID");
}

TEST(GridOrder, ABracketNoticesAChangeOnce) {
    TMarkerGrid g;
    std::vector<std::string> seen;
    g.grid.OnOrderChanged = [&](TObject*) { seen.push_back(g.grid.OrderFields()); };
    g.Title('A')->ToggleMarker(false);
    EXPECT_EQ(seen, std::vector<std::string>{"A"});

    seen.clear();
    g.grid.BeginOrderUpdate();
    g.grid.BeginOrderUpdate();
    g.Title('B')->ToggleMarker(false);
    g.Title('C')->ToggleMarker(false);
    g.grid.EndOrderUpdate();
    g.Title('C')->ToggleMarker(false);
    EXPECT_TRUE(seen.empty());
    EXPECT_GT(g.grid.UpdateLock(), 0);
    g.grid.EndOrderUpdate();
    EXPECT_EQ(seen, std::vector<std::string>{"A,B,C DESC"});
    EXPECT_EQ(g.grid.UpdateLock(), 0);
    // An extra end is dropped.
    g.grid.EndOrderUpdate();
    EXPECT_EQ(g.grid.OrderUpdateLock(), 0);

    // Changes that come back to the order the bracket began with notice nothing.
    seen.clear();
    g.grid.InOrderUpdate([&] {
        g.Title('C')->SetMarker(tmAscend);
        g.Title('C')->SetMarker(tmDescend);
    });
    EXPECT_TRUE(seen.empty());

    // Markers set up from order text notice nothing, and a new order is one notice.
    g.grid.SetupOrderFields("B");
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(g.grid.OrderFields(), "B");
    g.grid.SetOrderFields("A DESC,C");
    EXPECT_EQ(seen, std::vector<std::string>{"A DESC,C"});
}

TXDBGridOptionsEx WithOption(TXDBGridOptionsEx options, TXDBGridOptionEx option, bool on) {
    if (on)
        options.Include(option);
    else
        options.Exclude(option);
    return options;
}

// A grid whose dataset ordering is told what to answer.
class TOrderingGrid : public TXDBGrid {
public:
    using TXDBGrid::TXDBGrid;
    bool ChangeDataSetOrder(const std::string& AOrderFields) override {
        requests.push_back(AOrderFields.empty() ? OrderFields() : AOrderFields);
        return applies;
    }
    std::string CurrentDataSetOrder() override { return current; }
    std::vector<std::string> requests;
    bool applies = true;
    std::string current;
};

TEST(GridOrder, AutomaticOrderingOrdersTheDataSetInsteadOfNoticing) {
    EnsureQtApplication();
    TOrderingGrid grid;
    for (const char* name : {"A", "B"}) grid.Columns()->Add()->SetFieldName(name);
    int notices = 0;
    grid.OnOrderChanged = [&](TObject*) { ++notices; };
    grid.SetOptionsEx(WithOption(grid.OptionsEx(), dgAutoUpdateOrder, true));
    grid.requests.clear();  // the option's own request
    grid.Columns()->Items(1)->Title()->ToggleMarker(true);
    EXPECT_EQ(grid.requests, std::vector<std::string>{"B"});
    EXPECT_EQ(notices, 0);
    // No way of ordering the dataset: the program hears of it.
    grid.applies = false;
    grid.Columns()->Items(0)->Title()->ToggleMarker(true);
    EXPECT_EQ(notices, 1);

    // UpdateOrder: with the check, only under the options; dgLoadCurrentOrder reads the order back.
    grid.requests.clear();
    grid.SetOptionsEx(WithOption(grid.OptionsEx(), dgAutoUpdateOrder, false));
    grid.requests.clear();
    grid.UpdateOrder(true);
    EXPECT_TRUE(grid.requests.empty());
    grid.UpdateOrder(false);
    EXPECT_EQ(grid.requests.size(), 1u);
    grid.current = "B DESC";
    notices = 0;
    grid.SetOptionsEx(WithOption(grid.OptionsEx(), dgLoadCurrentOrder, true));
    EXPECT_EQ(grid.OrderFields(), "B DESC");
    EXPECT_EQ(notices, 0);
}

}  // namespace
}  // namespace tv
