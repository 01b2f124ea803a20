// The in-place editor's list under the mouse on a real X screen, where the list is a pop-up
// window that grabs the mouse: a press outside it closes it, and the toolkit then hands that press
// on to the window under the mouse. These run with the pictures (`make screenshots`), since only
// there the desktop's pop-up handling is the real one.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWindow>

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_popup_pick_list.h"
#include "grid_test_support.h"
#include "tests/support/screenshot.h"

namespace tv {
namespace {

class InplaceListMouse : public test::GridTest {
protected:
    // A focused grid over one record, its NAME column picking from three values, with the editor
    // shown on NAME.
    TXDBGrid* PickGrid() {
        table = test::ClientTable({{"NAME", TFieldType::ftString, 20}, {"DUE", TFieldType::ftDate}},
                                  {{"Abc", "2026-12-11"}});
        source.SetDataSet(table.get());
        auto* grid = AddGrid<TXDBGrid>(400, 200);
        grid->Columns()->Items(0)->PickList()->SetCommaText("Abc,Abd,Abe");
        EXPECT_TRUE(test::FocusOn(*grid));
        grid->SetSelectedIndex(0);
        grid->ShowEditor();
        editor = dynamic_cast<TXDBGridInplaceEdit*>(grid->InplaceEditor());
        EXPECT_TRUE(editor && test::FocusOn(*editor));
        return grid;
    }
    // The middle of the editor's button, in the form window's coordinates.
    QPoint OnButton() const {
        const TRect button = editor->ButtonRect();
        const QPoint on(button.Left + button.Width() / 2, button.Top + button.Height() / 2);
        return editor->Widget()->mapTo(form.Widget(), on);
    }
    // A press and a release at `at` in the form's window, as the desktop sends them: while a
    // pop-up shows, its grab takes them first.
    void ClickWindow(QPoint at) {
        QWindow* window = form.Widget()->windowHandle();
        QTest::mousePress(window, Qt::LeftButton, {}, at);
        QTest::mouseRelease(window, Qt::LeftButton, {}, at);
        // A press handed on after the pop-up closed arrives as a posted event.
        QGuiApplication::sync();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    TXDBGridInplaceEdit* editor = nullptr;
};

TEST_F(InplaceListMouse, APressOutsideTheListClosesItAndTheButtonDoesNotReopenIt) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs the X screen";
    TXDBGrid* grid = PickGrid();
    ASSERT_EQ(editor->EditStyle(), esPickList);
    QWidget* list = editor->PickList()->Widget();

    ClickWindow(OnButton());
    ASSERT_TRUE(editor->ListVisible());
    ASSERT_TRUE(test::WaitUntil([list] { return QApplication::activePopupWidget() == list; }));

    // The press on the button closes the list and is not handed back to the button.
    ClickWindow(OnButton());
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    // The next press opens it again.
    ClickWindow(OnButton());
    EXPECT_TRUE(editor->ListVisible());

    // A press on another cell closes the list too.
    const QPoint onDue = test::ClientWidget(*grid)->mapTo(form.Widget(), test::CellPoint(*grid, 2, 1));
    ClickWindow(onDue);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(table->FieldByName("NAME").AsString(), "Abc");
}

}  // namespace
}  // namespace tv
