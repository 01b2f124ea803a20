// The scroll-bar adapter both ways (scroll information to the toolkit's bar, the bar's actions to
// the platform's commands), and the base grid's bars, which scroll by columns and rows.

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QScrollBar>
#include <climits>
#include <memory>
#include <vector>

#include "grid_test_support.h"
#include "platform/gui/scroll_bar_adapter.h"
#include "recording_grid.h"

namespace tv {
namespace {

struct ShapeCase {
    const char* name;
    TScrollInfo info;
    bool disableNoScroll;
    TScrollBarShape shape;  // Visible, Enabled, Minimum, Maximum, PageStep, Value
};

const ShapeCase kShapeCases[] = {
    {"no page: scrolls when max > min", {0, 9, 0, 4}, false, {true, true, 0, 9, 0, 4}},
    {"page within the range", {0, 100, 20, 50}, false, {true, true, 0, 81, 20, 50}},
    {"page of max - min: two positions", {0, 9, 9, 3}, false, {true, true, 0, 1, 9, 1}},
    {"page larger than the range: hidden", {0, 9, 10, 0}, false, {false, false, 0, 0, 10, 0}},
    {"... or shown disabled", {0, 9, 10, 0}, true, {true, false, 0, 0, 10, 0}},
    {"empty range: hidden", {5, 5, 0, 5}, false, {false, false, 5, 5, 0, 5}},
    {"position clamped up", {1, 10, 0, -3}, false, {true, true, 1, 10, 0, 1}},
    {"position clamped down", {1, 10, 0, 20}, false, {true, true, 1, 10, 0, 10}},
    {"the whole integer range", {INT_MIN, INT_MAX, 0, 0}, false, {true, true, INT_MIN, INT_MAX, 0, 0}},
};

TEST(ScrollBarAdapter, ScrollInformationGivesTheBarsShape) {
    for (const ShapeCase& c : kShapeCases) EXPECT_EQ(ScrollBarShapeOf(c.info, c.disableNoScroll), c.shape) << c.name;
}

struct Heard {
    TScrollCode code;
    int pos;
    friend bool operator==(const Heard&, const Heard&) = default;
};

TEST(ScrollBarAdapter, TheBarsActionsComeBackAsCommandsAndTheBarStaysPut) {
    EnsureQtApplication();
    QAbstractScrollArea area;
    area.resize(200, 200);
    std::vector<Heard> heard;
    TScrollBarAdapter adapter(&area, sbVertical, [&](TScrollCode code, int pos) { heard.push_back({code, pos}); });
    EXPECT_TRUE(adapter.SetScrollInfo({0, 20, 0, 5}));  // the bar comes
    EXPECT_FALSE(adapter.SetScrollInfo({0, 20, 0, 6}));
    QScrollBar* bar = area.verticalScrollBar();
    EXPECT_EQ(area.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(bar->value(), 6);

    const struct {
        QAbstractSlider::SliderAction action;
        TScrollCode code;
    } steps[] = {
        {QAbstractSlider::SliderSingleStepSub, scLineUp}, {QAbstractSlider::SliderSingleStepAdd, scLineDown},
        {QAbstractSlider::SliderPageStepSub, scPageUp},   {QAbstractSlider::SliderPageStepAdd, scPageDown},
        {QAbstractSlider::SliderToMinimum, scTop},        {QAbstractSlider::SliderToMaximum, scBottom},
    };
    for (const auto& s : steps) {
        heard.clear();
        bar->triggerAction(s.action);
        ASSERT_EQ(heard.size(), 2u) << s.code;
        EXPECT_EQ(heard[0].code, s.code);
        EXPECT_EQ(heard[1].code, scEndScroll);
        EXPECT_EQ(bar->value(), 6) << s.code;  // the control did not move it
    }

    // Dragging the thumb: tracks, then the position and the end on release.
    heard.clear();
    bar->setSliderDown(true);
    bar->setSliderPosition(12);
    bar->setSliderDown(false);
    EXPECT_EQ(heard, (std::vector<Heard>{{scTrack, 12}, {scPosition, 12}, {scEndScroll, 12}}));
    EXPECT_EQ(bar->value(), 6);

    // A bar that cannot scroll goes, or stays disabled when told so.
    EXPECT_TRUE(adapter.SetScrollInfo({0, 0, 0, 0}));
    EXPECT_FALSE(adapter.Shown());
    EXPECT_EQ(area.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    adapter.SetDisableNoScroll(true);
    EXPECT_EQ(area.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(bar->isEnabled());
}

TEST(ScrollBarAdapter, AControlThatSetsTheInformationMovesTheBar) {
    EnsureQtApplication();
    QAbstractScrollArea area;
    std::unique_ptr<TScrollBarAdapter> adapter;
    adapter = std::make_unique<TScrollBarAdapter>(&area, sbHorizontal, [&](TScrollCode code, int pos) {
        TScrollInfo info = adapter->ScrollInfo();
        if (code == scLineDown) ++info.Pos;
        if (code == scPosition) info.Pos = pos;
        adapter->SetScrollInfo(info);
    });
    adapter->SetScrollInfo({0, 20, 0, 6});
    QScrollBar* bar = area.horizontalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar->value(), 7);
    bar->setSliderDown(true);
    bar->setSliderPosition(30);  // beyond the range: the bar keeps it within
    bar->setSliderDown(false);
    EXPECT_EQ(bar->value(), 20);
    EXPECT_EQ(adapter->ScrollInfo().Pos, 20);
}

class GridScrollBars : public test::GridTest {};

TEST_F(GridScrollBars, BarsScrollByColumnsAndRows) {
    auto* grid = AddGrid<test::TRecordingGrid>(300, 200);
    grid->SetColCount(10);
    grid->SetRowCount(20);
    auto* area = static_cast<QAbstractScrollArea*>(grid->Widget());
    QScrollBar* horz = area->horizontalScrollBar();
    QScrollBar* vert = area->verticalScrollBar();
    ASSERT_EQ(area->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    ASSERT_EQ(area->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    // Range from the first scrolled column to the largest left column, no page.
    EXPECT_EQ(horz->minimum(), 1);
    const int maxLeft = horz->maximum();
    EXPECT_GT(maxLeft, 1);
    EXPECT_EQ(horz->pageStep(), 0);

    horz->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid->LeftCol(), 2);
    EXPECT_EQ(horz->value(), 2);
    horz->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(grid->LeftCol(), maxLeft);
    horz->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(grid->LeftCol(), std::max(1, maxLeft - grid->VisibleColCount()));
    vert->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(grid->TopRow(), 1 + grid->VisibleRowCount());

    // The thumb: tracking only with goThumbTracking; its position always.
    grid->SetTopRow(1);
    vert->setSliderDown(true);
    vert->setSliderPosition(5);
    EXPECT_EQ(grid->TopRow(), 1);
    vert->setSliderDown(false);
    EXPECT_EQ(grid->TopRow(), 5);
    grid->SetOptions(grid->Options() + TGridOptions{goThumbTracking});
    vert->setSliderDown(true);
    vert->setSliderPosition(8);
    EXPECT_EQ(grid->TopRow(), 8);
    vert->setSliderDown(false);

    // A bar that cannot scroll goes, and the client area grows.
    const int height = grid->ClientHeight();
    grid->SetColCount(3);
    EXPECT_EQ(area->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_GT(grid->ClientHeight(), height);
    // A grid that keeps no bar of its own on a side shows none there.
    grid->SetScrollBars(ssHorizontal);
    EXPECT_EQ(area->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

}  // namespace
}  // namespace tv
