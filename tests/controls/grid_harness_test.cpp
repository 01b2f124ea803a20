// The grid harness itself: each service it promises is in place, and its table and points are
// what the tests take them for.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QStyle>

#include "grid_test_support.h"
#include "platform/gui/application.h"
#include "platform/gui/timer.h"
#include "recording_grid.h"

namespace tv {
namespace {

class GridHarness : public test::GridTest {};

TEST_F(GridHarness, ServicesAreInPlace) {
    // Offscreen, Fusion, DejaVu.
    EXPECT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    EXPECT_EQ(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
    EXPECT_TRUE(QFontDatabase::families().contains(QStringLiteral("DejaVu Sans")));
    // The fake clock drives timers.
    TTimer timer;
    int ticks = 0;
    timer.SetInterval(200);
    timer.OnTimer = [&](TObject*) { ++ticks; };
    clock.Advance(400);
    EXPECT_EQ(ticks, 2);
    // Beeps are recorded, dialogs answered from the script.
    Beep();
    EXPECT_EQ(sound.Beeps().size(), 1u);
    dialogs.QueueAnswer(TMsgAnswer::Cancel);
    EXPECT_EQ(Application().MessageBox("Delete record?", "", MB_OKCANCEL), 2);
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_EQ(dialogs.Requests()[0].Text, "Delete record?");
}

TEST_F(GridHarness, TablesAndPointsAreWhatTheTestsTakeThemFor) {
    UseNumberedTable(3);
    ASSERT_EQ(source.DataSet(), table.get());
    EXPECT_EQ(table->RecordCount(), 3);
    EXPECT_EQ(table->FieldByName("NAME").AsString(), "Artikel 1");
    table->Last();
    EXPECT_TRUE(table->FieldByName("ACTIVE").AsBoolean());
    EXPECT_EQ(table->FieldByName("PRICE").AsFloat(), 31.5);
    table->Prior();
    EXPECT_FALSE(table->FieldByName("ACTIVE").AsBoolean());

    auto* grid = AddGrid<test::TRecordingGrid>(200, 100);
    EXPECT_EQ(grid->Parent(), &form);
    EXPECT_EQ(grid->Width(), 200);
    const QPoint centre = test::CellPoint(*grid, 1, 1);
    EXPECT_EQ(grid->MouseCoord(centre.x(), centre.y()), (TGridCoord{1, 1}));
    const QPoint border = test::ColumnBorder(*grid, 1);
    EXPECT_EQ(border.x(), grid->CellRect(1, 1).Right);
}

}  // namespace
}  // namespace tv
