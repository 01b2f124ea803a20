// Pictures of the grid editor's pop-ups open over a grid, saved by `make screenshots` to be
// looked at by eye: the pick list, the calendar and the calculator.

#include <gtest/gtest.h>

#include <QTest>
#include <memory>
#include <string>

#include "controls/xdb_grid.h"
#include "controls/xdb_popup_calculator.h"
#include "controls/xdb_popup_calendar.h"
#include "controls/xdb_popup_pick_list.h"
#include "grid_test_support.h"
#include "platform/gui/form.h"
#include "platform/rtl/date_format.h"
#include "tests/support/screenshot.h"

namespace tv {
namespace {

// A grid of articles on a form, and a pop-up of class P of the grid's editor, placed below the
// second cell of the third row (in screen coordinates).
template <class P>
struct TPopupOverGrid {
    explicit TPopupOverGrid(const char* caption) : table(test::NumberedTable(12)) {
        test::EnsureGridFonts();
        source.SetDataSet(table.get());
        form.SetCaption(caption);
        form.SetBounds(40, 40, 480, 340);
        grid = new TXDBGrid(&form);
        grid->SetParent(&form);
        grid->SetAlign(alClient);
        grid->SetFixedStyle(fsMild);
        for (const char* name : {"ID", "NAME", "PRICE"}) grid->Columns()->Add()->SetFieldName(name);
        grid->Columns()->Items(0)->SetWidth(40);
        grid->Columns()->Items(1)->SetWidth(160);
        grid->SetDataSource(&source);
        popup = new P(&form);
        popup->SetParent(&form);
        popup->SetGrid(grid);
    }
    ~TPopupOverGrid() {
        delete popup;
        delete grid;
    }
    // Opens the pop-up under the cell at raw column 2, raw row 3.
    void Open(int width, int height) {
        form.Show();
        const TRect cell = grid->CellRect(2, 3);
        const TPoint at = grid->ClientToScreen({cell.Left - 1, cell.Bottom});
        popup->SetBounds(at.X, at.Y, width, height);
        popup->Show();
    }

    std::unique_ptr<TClientDataSet> table;
    TDataSource source;
    TForm form;
    TXDBGrid* grid = nullptr;
    P* popup = nullptr;
};

TEST(Screenshot, PopupPickList) {
    TPopupOverGrid<TXPopupPickList> f("Plocklista");
    // In the grid's style, rows of the grid's height; not all of them fit.
    f.grid->SetOptionsExt(f.grid->OptionsExt() + TXDBGridOptionsExt{dgGridStyleLists});
    f.popup->SetStyle(lbOwnerDrawFixed);
    f.popup->SetItemHeight(f.grid->RowHeight());
    f.popup->Items()->SetText("Brev\nPaket\nPall\nExpress\nHämtas\nBud\nTransportör\n");
    f.Open(170, 6 * f.grid->RowHeight() + 2);
    f.popup->SetItemIndex(2);
    test::SaveScreenshot(f.form, "popup_pick_list");
    EXPECT_EQ(f.popup->ItemIndex(), 2);
}

TEST(Screenshot, PopupCalendar) {
    TPopupOverGrid<TXPopupCalendar> f("Kalender");
    // Fridays bold.
    f.grid->OnCalcBoldDays = [](TObject*, TDateTime Date, bool& Bold) { Bold = DayOfWeek(Date) == 6; };
    f.popup->SetWeekNumbers(true);
    f.popup->SetResultText(DateTimeToStr(EncodeDateTime(2024, 3, 15, 10, 30, 0, 0)));
    f.popup->AdjustSize();
    f.Open(f.popup->Width(), f.popup->Height());
    test::SaveScreenshot(f.form, "popup_calendar");
    EXPECT_EQ(f.popup->ShownMonth(), 3);
}

TEST(Screenshot, PopupCalculator) {
    TPopupOverGrid<TXPopupCalculator> f("Miniräknare");
    f.Open(205, 155);
    f.popup->SetResultText("12.5");
    QTest::keyClicks(f.popup->Widget(), "*4+7");
    test::SaveScreenshot(f.form, "popup_calculator");
    EXPECT_EQ(f.popup->DisplayText(), "7");
}

}  // namespace
}  // namespace tv
