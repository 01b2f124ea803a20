#pragma once
// The harness of the grid tests: a shown form on the offscreen platform (the Fusion style and the
// fixed system colours that EnsureQtApplication sets, DejaVu faces), the fake clock, the recording
// sound service and scripted dialogs in place; a client table behind a data source; grids placed at
// a size; points taken from CellRect; real mouse and key events; and the recorders tests decide
// painting on.
//
// Painting is tested three ways, and only these: decisions (colour, glyph, text, position, clip) on
// the recording canvas (Paint); pixel probes where no text can fall (test::Render with
// test::ExpectPixels, an expected picture being a small table of pixels written by hand); and
// repaints through the recorded hook (TRepaintLog). No picture is ever taken from the program's
// output as the expected one.

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFontDatabase>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/data/client_data_set.h"
#include "platform/data/data_source.h"
#include "platform/gui/canvas_recorder.h"
#include "platform/gui/fake_clock.h"
#include "platform/gui/form.h"
#include "platform/gui/grid.h"
#include "platform/gui/qt_support.h"
#include "platform/gui/scripted_dialog_service.h"
#include "platform/gui/sound.h"
#include "platform/gui/theme_services.h"
#include "tests/platform/gui/gui_test_support.h"

namespace tv::test {

// The DejaVu faces, made known to the toolkit once (the platform's font list need not hold them).
inline void EnsureGridFonts() {
    static const bool loaded = [] {
        EnsureQtApplication();
        for (const char* face : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansMono.ttf"})
            QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/fonts/truetype/dejavu/") +
                                              QString::fromLatin1(face));
        return true;
    }();
    (void)loaded;
}

// ---- repaints ----

struct TRepaintRequest {
    TGridRepaint Kind;
    TRect Rect;
    int DX = 0;
    int DY = 0;
};

// Records the repaint requests of a grid through its OnRepaint hook.
class TRepaintLog {
public:
    void Attach(TCustomGrid& grid) {
        grid.OnRepaint = [this](TGridRepaint kind, const TRect& rect, int dx, int dy) {
            fRequests.push_back({kind, rect, dx, dy});
        };
    }
    const std::vector<TRepaintRequest>& Requests() const { return fRequests; }
    void Clear() { fRequests.clear(); }
    // Whether an invalidation since the last Clear covers all of `r`.
    bool Invalidated(const TRect& r) const {
        for (const TRepaintRequest& q : fRequests)
            if (q.Kind == TGridRepaint::Invalidate && q.Rect.Left <= r.Left && q.Rect.Top <= r.Top &&
                q.Rect.Right >= r.Right && q.Rect.Bottom >= r.Bottom)
                return true;
        return false;
    }

private:
    std::vector<TRepaintRequest> fRequests;
};

// ---- tables ----

struct TTableField {
    const char* Name;
    TFieldType Type;
    int Size = 0;
};

// A client table (of class T) with the fields given and one record per row of texts (as the
// fields read them).
template <class T = TClientDataSet>
std::unique_ptr<T> ClientTable(std::initializer_list<TTableField> fields,
                               const std::vector<std::vector<std::string>>& rows) {
    auto table = std::make_unique<T>();
    for (const TTableField& f : fields) table->FieldDefs().Add(f.Name, f.Type, f.Size);
    table->CreateDataSet();
    for (const auto& row : rows) {
        table->Append();
        for (size_t i = 0; i < row.size() && i < fields.size(); ++i) table->Fields(static_cast<int>(i)).SetAsString(row[i]);
        table->Post();
    }
    table->First();
    return table;
}

// ID integer, NAME string 30, PRICE float, ACTIVE Boolean: record n (from 1) is n, "Artikel n",
// n * 10.5 and true for odd n.
template <class T = TClientDataSet>
std::unique_ptr<T> NumberedTable(int rows) {
    std::vector<std::vector<std::string>> texts;
    for (int n = 1; n <= rows; ++n)
        texts.push_back({std::to_string(n), "Artikel " + std::to_string(n), std::to_string(n * 10.5),
                         n % 2 ? "True" : "False"});
    return ClientTable<T>({{"ID", TFieldType::ftInteger},
                           {"NAME", TFieldType::ftString, 30},
                           {"PRICE", TFieldType::ftFloat},
                           {"ACTIVE", TFieldType::ftBoolean}},
                          texts);
}

// USERS (ID, SIGNATURE: 10 AB, 20 CD, 30 EF) and, made in `orders`, ORDERS with USERID and the
// lookup field USERNAME (the SIGNATURE of the user with that ID), one order by user 20.
inline std::unique_ptr<TClientDataSet> LookupOrders(TClientDataSet& orders) {
    auto users = ClientTable({{"ID", TFieldType::ftInteger}, {"SIGNATURE", TFieldType::ftString, 10}},
                             {{"10", "AB"}, {"20", "CD"}, {"30", "EF"}});
    orders.AddField("USERID", TFieldType::ftInteger);
    orders.AddLookupField("USERNAME", TFieldType::ftString, 10, "USERID", users.get(), "ID", "SIGNATURE");
    orders.CreateDataSet();
    orders.Append();
    orders.FieldByName("USERID").SetAsInteger(20);
    orders.Post();
    return users;
}

// ---- points and events ----

// The widget that takes the grid's mouse and paints its cells: the client area.
inline QWidget* ClientWidget(const TCustomGrid& grid) {
    return static_cast<QAbstractScrollArea*>(grid.Widget())->viewport();
}

// A point of a cell, as CellRect gives it: the centre, or `dx`, `dy` from its top-left corner.
inline QPoint CellPoint(const TCustomGrid& grid, int c, int r) {
    const TRect cell = grid.CellRect(c, r);
    EXPECT_FALSE(cell.IsEmpty()) << "cell " << c << "," << r << " is not shown";
    return {cell.Left + cell.Width() / 2, cell.Top + cell.Height() / 2};
}
inline QPoint CellPoint(const TCustomGrid& grid, int c, int r, int dx, int dy) {
    const TRect cell = grid.CellRect(c, r);
    return {cell.Left + dx, cell.Top + dy};
}
// The first pixel of the line right of column c, at the middle of row r.
inline QPoint ColumnBorder(const TCustomGrid& grid, int c, int r = 0) {
    const TRect cell = grid.CellRect(c, r);
    return {cell.Right, cell.Top + cell.Height() / 2};
}
// The first pixel of the line below row r, at the middle of column c.
inline QPoint RowBorder(const TCustomGrid& grid, int r, int c = 0) {
    const TRect cell = grid.CellRect(c, r);
    return {cell.Left + cell.Width() / 2, cell.Bottom};
}

inline void Press(const TCustomGrid& grid, QPoint at, Qt::KeyboardModifiers keys = {}) {
    QTest::mousePress(ClientWidget(grid), Qt::LeftButton, keys, at);
}
inline void MoveTo(const TCustomGrid& grid, QPoint at) {
    QTest::mouseMove(ClientWidget(grid), at);
}
inline void Release(const TCustomGrid& grid, QPoint at, Qt::KeyboardModifiers keys = {}) {
    QTest::mouseRelease(ClientWidget(grid), Qt::LeftButton, keys, at);
}
inline void Click(const TCustomGrid& grid, QPoint at, Qt::KeyboardModifiers keys = {}) {
    QTest::mouseClick(ClientWidget(grid), Qt::LeftButton, keys, at);
}
// Presses at `from`, moves through `steps` points to `to` and releases there.
inline void Drag(const TCustomGrid& grid, QPoint from, QPoint to, int steps = 4) {
    Press(grid, from);
    for (int i = 1; i <= steps; ++i) MoveTo(grid, from + (to - from) * i / steps);
    Release(grid, to);
}
// Turns the wheel over a cell by `notches` (positive away from the user).
inline void Wheel(const TCustomGrid& grid, QPoint at, int notches) {
    QWidget* w = ClientWidget(grid);
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, notches * 120), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

// Gives `control` the keyboard focus and waits until it has it.
inline bool FocusOn(TWinControl& control) {
    QWidget* w = control.Widget();
    w->activateWindow();
    w->setFocus(Qt::OtherFocusReason);
    return WaitUntil([w] { return w->hasFocus(); });
}

// A key to whatever has the focus.
inline void Key(int key, Qt::KeyboardModifiers keys = {}) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr) << "nothing has the focus";
    QTest::keyClick(target, static_cast<Qt::Key>(key), keys);
}
inline void Type(const char* text) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr) << "nothing has the focus";
    QTest::keyClicks(target, QString::fromUtf8(text));
}

// ---- column groups and the theme service ----

// Stored columns on a data grid for the fields named ("" for a column without a field, captioned
// "Group"), each 80 wide with the ExpandCols given, bound to `source` and laid out once.
template <class G>
void SetGroupColumns(G& grid, TDataSource* source, const std::vector<std::pair<const char*, int>>& columns) {
    grid.BeginLayout();
    for (const auto& [field, expand] : columns) {
        auto* column = grid.Columns()->Add();
        column->SetFieldName(field);
        column->Title()->SetCaption(*field ? field : "Group");
        column->SetWidth(80);
        column->SetExpandCols(expand);
    }
    grid.SetDataSource(source);
    grid.EndLayout();
}

// The theme service on for one test.
struct ThemesOn {
    ThemesOn() { SetThemesEnabled(true); }
    ~ThemesOn() { SetThemesEnabled(false); }
};

// ---- the fixture ----

class GridTest : public ::testing::Test {
protected:
    GridTest() {
        EnsureGridFonts();
        form.SetBounds(20, 20, 520, 420);
        form.Show();
        // Shown and painted once, so that a repaint paints at once.
        QWidget* window = form.Widget();
        EXPECT_TRUE(WaitUntil([window] { return window->windowHandle() && window->windowHandle()->isExposed(); }));
        QApplication::processEvents();
    }
    ~GridTest() override {
        // Controls go before the data sources they are linked to.
        while (form.ControlCount() > 0) delete form.Controls(form.ControlCount() - 1);
    }

    // A grid of class G on the form, `width` x `height` at 10, 10; bound to the data source when
    // it takes one.
    template <class G>
    G* AddGrid(int width, int height) {
        auto* grid = new G(&form);
        grid->SetParent(&form);
        grid->SetBounds(10, 10, width, height);
        if constexpr (requires { grid->SetDataSource(&source); }) grid->SetDataSource(&source);
        return grid;
    }
    // Binds the data source to `rows` numbered records (NumberedTable).
    void UseNumberedTable(int rows) {
        table = NumberedTable(rows);
        source.SetDataSet(table.get());
    }

    // Paints the grid's client area once into a fresh record.
    TCanvasRecorder& Paint(TCustomGrid& grid) {
        recorder.Clear();
        grid.Canvas()->AttachRecorder(&recorder);
        ClientWidget(grid)->repaint();
        grid.Canvas()->AttachRecorder(nullptr);
        return recorder;
    }

    TFakeClock clock;
    TTimerClockScope clockScope{clock};
    TRecordingSound sound;
    TSoundServiceScope soundScope{sound};
    TScriptedDialogService dialogs;
    TDialogServiceScope dialogScope{dialogs};
    TCanvasRecorder recorder;
    std::unique_ptr<TClientDataSet> table;
    TDataSource source;
    TForm form;
};

}  // namespace tv::test
