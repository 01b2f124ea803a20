// Data grids set up as the program's windows set theirs, over client tables of the same fields,
// driven with real keys and mouse: the rule editor's rules (a hidden description, the "Import"
// check box over "1;0") and steps, the script list (one column, no deleting), the customer
// price-list page (rows added, edited and deleted in the grid) and the SQL query page (one
// stretched column without titles or indicator). Each browses, edits, inserts, deletes and ticks
// as its window expects.

#include <gtest/gtest.h>

#include <span>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"
#include "platform/data/data_set.h"
#include "platform/gui/application.h"
#include "platform/rtl/exception.h"

namespace tv {
namespace {

struct TColumnSetup {
    const char* Field;
    const char* Title;  // nil: hidden; "": the field's name
    int Width;          // 0: the default
};

constexpr TColumnSetup kRuleColumns[] = {
    {"RuleName", "Regel", 180}, {"RULE_DESCRIPTION", nullptr, 0}, {"RULE_IMPORT_OR_EXPORT", "Import", 50}};
constexpr TColumnSetup kStepColumns[] = {
    {"rulename", nullptr, 0},           {"RULE_ITEM_ORDER", "#", 30},
    {"RULE_ITEM_PLUGIN_NAME", "Plugin", 121}, {"RULE_ITEM_PLUGIN_TYPE", "Typ", 50},
    {"RULE_ITEM_DESCRIPTION", "Beskrivning", 194}, {"RULE_ITEM_NAME", "Namn", 103}};
constexpr TColumnSetup kScriptColumns[] = {
    {"SCRIPT_NAME", "Script", 220}, {"SCRIPT_FILENAME", nullptr, 0}, {"SCRIPT_DESCRIPTION", nullptr, 0}};
constexpr TColumnSetup kPriceListColumns[] = {{"customernumber", "Kundnr - Ean-lokaliseringsnummer", 0},
                                              {"customername", "Kundnamn", 172},
                                              {"lopnr", "Löpnr", 0},
                                              {"agreementref", "Avtalsreferens", 0}};
constexpr TColumnSetup kQueryColumns[] = {{"SQL_QUERY_NAME", "", 0}};

// The SQL page's options: the defaults without titles and indicator.
constexpr TXDBGridOptions kQueryOptions{
    dgEditing,        dgColumnResize,   dgColLines,    dgRowLines,     dgTabs,          dgConfirmDelete,
    dgCancelOnExit,   dgExtendedSelect, dgInternalSelect, dgRowResize, dgRowScroll,     dgHotButtons,
    dgTitleButtons,   dgTitleHeaders,   dgTitleWidthOff, dgMarkerAutoAlign, dgMarkerAutoToggle};

// Types `text` (any letters) one character at a time into whatever has the focus then: the first
// character opens the editor, which takes the focus for the rest.
void Type(const char* text) {
    for (const QChar ch : QString::fromUtf8(text)) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr) << "nothing has the focus";
        if (ch.unicode() < 0x80)
            QTest::keyClick(target, ch.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

class WindowGrids : public test::GridTest {
protected:
    // A grid on the form over `rows` of a table with `fields`, with the columns given, not yet
    // bound: the caller finishes the setup and binds it (Bind).
    TXDBGrid* Grid(std::initializer_list<test::TTableField> fields, const std::vector<std::vector<std::string>>& rows,
                   std::span<const TColumnSetup> columns) {
        table = test::ClientTable(fields, rows);
        auto* grid = new TXDBGrid(&form);
        grid->SetParent(&form);
        grid->SetBounds(10, 10, 480, 260);
        for (const TColumnSetup& c : columns) {
            TXColumn* column = grid->Columns()->Add();
            column->SetFieldName(c.Field);
            if (!c.Title) {
                column->SetVisible(false);
                continue;
            }
            if (*c.Title) column->Title()->SetCaption(c.Title);
            if (c.Width > 0) column->SetWidth(c.Width);
        }
        return grid;
    }
    TXDBGrid* Bind(TXDBGrid* grid) {
        source.SetDataSet(table.get());
        grid->SetDataSource(&source);
        EXPECT_TRUE(test::FocusOn(*grid));
        return grid;
    }

    // The rule editor's rules: the side column shows a check box over "1;0".
    TXDBGrid* Rules(const std::vector<std::vector<std::string>>& rows) {
        auto* grid = Grid({{"RuleName", TFieldType::ftString, 50},
                           {"RULE_DESCRIPTION", TFieldType::ftString, 1024},
                           {"RULE_IMPORT_OR_EXPORT", TFieldType::ftInteger},
                           {"RuleType", TFieldType::ftString, 50}},
                          rows, kRuleColumns);
        TXColumn* side = grid->Columns()->Items(2);
        side->SetCheckBox(true);
        side->SetCheckBoxValues("1;0");
        return Bind(grid);
    }
    TXDBGrid* Steps(const std::vector<std::vector<std::string>>& rows) {
        return Bind(Grid({{"rulename", TFieldType::ftString, 50},
                          {"RULE_ITEM_ORDER", TFieldType::ftInteger},
                          {"RULE_ITEM_PLUGIN_NAME", TFieldType::ftString, 255},
                          {"RULE_ITEM_PLUGIN_TYPE", TFieldType::ftString, 30},
                          {"RULE_ITEM_DESCRIPTION", TFieldType::ftString, 255},
                          {"RULE_ITEM_NAME", TFieldType::ftInteger}},
                         rows, kStepColumns));
    }
    // The script list: rows deleted nowhere.
    TXDBGrid* Scripts(const std::vector<std::vector<std::string>>& rows) {
        auto* grid = Grid({{"SCRIPT_NAME", TFieldType::ftString, 255},
                           {"SCRIPT_FILENAME", TFieldType::ftString, 1024},
                           {"SCRIPT_DESCRIPTION", TFieldType::ftString, 1024}},
                          rows, kScriptColumns);
        grid->SetOptions(grid->Options() + TXDBGridOptions{dgAllowDeleteOff});
        return Bind(grid);
    }
    // The customer price-list page: the grid's defaults in its own visual style.
    TXDBGrid* PriceList(const std::vector<std::vector<std::string>>& rows) {
        return Bind(Grid({{"customernumber", TFieldType::ftString, 30},
                          {"customername", TFieldType::ftString, 60},
                          {"lopnr", TFieldType::ftLargeint},
                          {"agreementref", TFieldType::ftString, 30}},
                         rows, kPriceListColumns));
    }
    // The SQL query page: one column in the standard style, stretched to the width, under a
    // vertical bar hidden while there is nothing to scroll.
    TXDBGrid* Queries(const std::vector<std::vector<std::string>>& rows) {
        auto* grid = Grid({{"SQL_QUERY_NAME", TFieldType::ftString, 50},
                           {"SQL_QUERY", TFieldType::ftMemo},
                           {"SQL_FILE_MANAGEMENT_TMPL", TFieldType::ftString, 1024},
                           {"SQL_FILE_DATE_FORMAT", TFieldType::ftString, 30}},
                          rows, kQueryColumns);
        grid->SetOptions(kQueryOptions);
        grid->GridStyle()->SetVisualStyle(vsStandard);
        grid->SetScrollBars(ssVertical);
        grid->ScrollProp()->SetAutoHidden(ssBoth);
        grid->ScrollProp()->SetWinXPMode(true);
        grid->SetStretchMode(true);
        return Bind(grid);
    }

    std::string Text(const char* field) { return table->FieldByName(field).AsString(); }
    TDataSetState State() { return table->State(); }
    std::vector<std::string> Column(const char* field) {
        std::vector<std::string> texts;
        const TBookmark place = table->GetBookmark();
        for (table->First(); !table->Eof(); table->Next()) texts.push_back(Text(field));
        table->GotoBookmark(place);
        return texts;
    }
    // The point of the data cell of `column` (its index in the collection) in data row `row`.
    static QPoint Cell(TXDBGrid& grid, int column, int row) {
        return test::CellPoint(grid, column + grid.IndicatorOffset(), grid.TitleOffset() + row);
    }
    // Selects the column of `field` by a click on its cell in the current row.
    static void ClickColumn(TXDBGrid& grid, const char* field, int row) {
        test::Click(grid, Cell(grid, grid.ColumnByName(field)->Index(), row));
    }
    std::string Selected(TXDBGrid& grid) { return grid.SelectedField() ? grid.SelectedField()->FieldName() : ""; }
};

// ---- the rule editor

TEST_F(WindowGrids, RulesAreTypedInTickedForImportAndDeletedAfterTheQuestion) {
    auto* grid = Rules({{"Hämta order", "", "1"}, {"Skicka fakturor", "", "0"}});

    // Browsing, and Tab from the name past the hidden description onto the side.
    test::Key(Qt::Key_Down);
    EXPECT_EQ(Text("RuleName"), "Skicka fakturor");
    EXPECT_EQ(Selected(*grid), "RuleName");
    test::Key(Qt::Key_Tab);
    EXPECT_EQ(Selected(*grid), "RULE_IMPORT_OR_EXPORT");

    // The side shows no editor: a typed letter opens none and ticks nothing, Space ticks, Up posts.
    Type("x");
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(Text("RULE_IMPORT_OR_EXPORT"), "0");
    test::Key(Qt::Key_Space);
    EXPECT_EQ(Text("RULE_IMPORT_OR_EXPORT"), "1");
    EXPECT_FALSE(grid->EditorMode());
    test::Key(Qt::Key_Up);
    EXPECT_EQ(State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Column("RULE_IMPORT_OR_EXPORT"), (std::vector<std::string>{"1", "1"}));

    // A click on the box of another row moves there and ticks it off.
    test::Click(*grid, Cell(*grid, 2, 1));
    EXPECT_EQ(Text("RuleName"), "Skicka fakturor");
    EXPECT_EQ(Text("RULE_IMPORT_OR_EXPORT"), "0");
    table->Post();

    // A new rule: Insert, its name typed and written by Enter, posted by the move away.
    ClickColumn(*grid, "RuleName", 1);
    test::Key(Qt::Key_Insert);
    ASSERT_EQ(State(), TDataSetState::dsInsert);
    Type("Ny regel");
    ASSERT_TRUE(grid->EditorMode());
    test::Key(Qt::Key_Return);
    EXPECT_EQ(Text("RuleName"), "Ny regel");
    test::Key(Qt::Key_Down);
    EXPECT_EQ(State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Column("RuleName"), (std::vector<std::string>{"Hämta order", "Ny regel", "Skicka fakturor"}));

    // Ctrl+Delete asks first; Cancel keeps the rule, OK deletes it.
    table->First();
    dialogs.QueueAnswer(TMsgAnswer::Cancel);
    dialogs.QueueAnswer(TMsgAnswer::Ok);
    test::Key(Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_EQ(dialogs.Requests()[0].Text, "Delete record?");
    EXPECT_EQ(table->RecordCount(), 3);
    test::Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Column("RuleName"), (std::vector<std::string>{"Ny regel", "Skicka fakturor"}));
}

// The plug-in table refuses a rule without a name when it is posted; the grid shows the error
// once and keeps the new rule, so that a name can still be typed in.
TEST_F(WindowGrids, ARuleWithoutANameIsRefusedAtThePostAndCanBeNamedThen) {
    auto* grid = Rules({{"Hämta order", "", "1"}});
    std::vector<std::string> reported;
    Application().OnException = [&](TObject*, const std::exception& e) { reported.emplace_back(e.what()); };
    table->BeforePost = [this](TDataSet*) {
        if (Text("RuleName").empty()) throw Exception("Namnet kan inte vara tomt!");
    };
    test::Key(Qt::Key_Down);
    ASSERT_EQ(State(), TDataSetState::dsInsert);
    test::Key(Qt::Key_Tab);
    test::Key(Qt::Key_Space);  // touched: the move away posts instead of cancelling
    EXPECT_EQ(Text("RULE_IMPORT_OR_EXPORT"), "1");
    // A click on the box in the new rule's own row ticks it and posts nothing yet.
    test::Click(*grid, Cell(*grid, 2, 1));
    EXPECT_EQ(Text("RULE_IMPORT_OR_EXPORT"), "0");
    EXPECT_EQ(State(), TDataSetState::dsInsert);
    EXPECT_TRUE(reported.empty());
    test::Key(Qt::Key_Space);
    test::Key(Qt::Key_Up);
    EXPECT_EQ(reported, std::vector<std::string>{"Namnet kan inte vara tomt!"});
    EXPECT_EQ(State(), TDataSetState::dsInsert);

    test::Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Selected(*grid), "RuleName");
    Type("Sälj");
    test::Key(Qt::Key_Return);
    test::Key(Qt::Key_Up);
    EXPECT_EQ(State(), TDataSetState::dsBrowse);
    EXPECT_EQ(reported.size(), 1u);
    EXPECT_EQ(Column("RuleName"), (std::vector<std::string>{"Hämta order", "Sälj"}));
    EXPECT_EQ(Column("RULE_IMPORT_OR_EXPORT"), (std::vector<std::string>{"1", "1"}));
}

TEST_F(WindowGrids, StepsTakeADescriptionAndAnOrderNumberAndAreDeletedAfterTheQuestion) {
    auto* grid = Steps({{"Hämta order", "1", "plugin_get_folder", "get", "", "4711"},
                        {"Hämta order", "2", "plugin_xform_upper", "xform", "", "815"}});
    // The hidden rule name takes no column; the order number comes first.
    EXPECT_EQ(Selected(*grid), "RULE_ITEM_ORDER");
    ClickColumn(*grid, "RULE_ITEM_DESCRIPTION", 1);
    EXPECT_EQ(Text("RULE_ITEM_NAME"), "815");
    Type("Versaler");
    test::Key(Qt::Key_Return);
    EXPECT_EQ(Text("RULE_ITEM_DESCRIPTION"), "Versaler");
    test::Key(Qt::Key_Up);
    EXPECT_EQ(State(), TDataSetState::dsBrowse);

    // The order number, typed over; Esc puts back what the editor showed.
    ClickColumn(*grid, "RULE_ITEM_ORDER", 0);
    Type("9");
    test::Key(Qt::Key_Escape);
    EXPECT_EQ(Text("RULE_ITEM_ORDER"), "1");
    test::Key(Qt::Key_Escape);
    Type("3");
    test::Key(Qt::Key_Return);
    test::Key(Qt::Key_Down);
    EXPECT_EQ(Column("RULE_ITEM_ORDER"), (std::vector<std::string>{"3", "2"}));
    EXPECT_EQ(Column("RULE_ITEM_DESCRIPTION"), (std::vector<std::string>{"", "Versaler"}));

    dialogs.QueueAnswer(TMsgAnswer::Ok);
    test::Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_EQ(Column("RULE_ITEM_NAME"), (std::vector<std::string>{"4711"}));
}

// ---- the script list

TEST_F(WindowGrids, TheScriptListBrowsesByNameAndDeletesNothing) {
    auto* grid = Scripts({{"default_export", "/s/export/default_export.pas", ""},
                          {"default_import", "/s/import/default_import.pas", ""},
                          {"kunder", "/s/kunder.pas", ""}});
    test::Key(Qt::Key_Down);
    EXPECT_EQ(Text("SCRIPT_FILENAME"), "/s/import/default_import.pas");
    // One column: Tab goes on to the next script.
    test::Key(Qt::Key_Tab);
    EXPECT_EQ(Text("SCRIPT_NAME"), "kunder");
    test::Click(*grid, Cell(*grid, 0, 0));
    EXPECT_EQ(Text("SCRIPT_NAME"), "default_export");

    test::Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_TRUE(dialogs.Requests().empty());
    EXPECT_EQ(table->RecordCount(), 3);
    EXPECT_EQ(State(), TDataSetState::dsBrowse);
}

// ---- the customer price-list page

TEST_F(WindowGrids, PriceListRowsAreTypedInCellByCellEditedAndDeleted) {
    auto* grid = PriceList({});
    EXPECT_EQ(grid->GridStyle()->VisualStyle(), vsXPStyle);
    // The first row, typed across with Tab; Tab past the last cell posts it and appends the next,
    // which Esc drops untouched.
    test::Key(Qt::Key_Insert);
    ASSERT_EQ(State(), TDataSetState::dsInsert);
    for (const char* text : {"1001", "Åsa Öberg AB", "5", "AV-1"}) {
        Type(text);
        test::Key(Qt::Key_Tab);
    }
    EXPECT_EQ(State(), TDataSetState::dsInsert);
    EXPECT_EQ(table->RecordCount(), 2);
    test::Key(Qt::Key_Escape);
    EXPECT_EQ(State(), TDataSetState::dsBrowse);
    ASSERT_EQ(table->RecordCount(), 1);
    EXPECT_EQ(Text("customernumber"), "1001");
    EXPECT_EQ(Text("customername"), "Åsa Öberg AB");
    EXPECT_EQ(table->FieldByName("lopnr").AsInteger(), 5);
    EXPECT_EQ(Text("agreementref"), "AV-1");

    // Down at the end appends the second row.
    test::Key(Qt::Key_Down);
    ASSERT_EQ(State(), TDataSetState::dsInsert);
    ClickColumn(*grid, "customernumber", 1);
    // A click in the new row keeps it.
    EXPECT_EQ(State(), TDataSetState::dsInsert);
    Type("7300009000002");
    test::Key(Qt::Key_Return);
    test::Key(Qt::Key_Up);
    EXPECT_EQ(Column("customernumber"), (std::vector<std::string>{"1001", "7300009000002"}));

    // Editing a name in place.
    ClickColumn(*grid, "customername", 1);
    Type("Bengt Berg");
    test::Key(Qt::Key_Return);
    test::Key(Qt::Key_Up);
    EXPECT_EQ(Column("customername"), (std::vector<std::string>{"Åsa Öberg AB", "Bengt Berg"}));

    dialogs.QueueAnswer(TMsgAnswer::Ok);
    test::Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_EQ(Column("customernumber"), (std::vector<std::string>{"7300009000002"}));
}

// ---- the SQL query page

TEST_F(WindowGrids, QueryNamesShowInOneStretchedColumnAndAreTypedInAndDeleted) {
    auto* grid = Queries({{"kunder", "select kundnr from kund", "", ""}, {"order", "select ordernr from order", "", ""}});
    EXPECT_EQ(grid->TitleOffset(), 0);
    EXPECT_EQ(grid->IndicatorOffset(), 0);
    EXPECT_EQ(grid->ColCount(), 1);
    // The one column fills the client width.
    EXPECT_EQ(grid->CellRect(0, 0).Right + grid->ColLineWidth(), grid->ClientWidth());

    test::Click(*grid, Cell(*grid, 0, 1));
    EXPECT_EQ(Text("SQL_QUERY"), "select ordernr from order");

    // "Lägg till" appends an empty row; its name is typed in the grid.
    table->Append();
    Type("lager");
    test::Key(Qt::Key_Return);
    test::Key(Qt::Key_Up);
    EXPECT_EQ(State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Column("SQL_QUERY_NAME"), (std::vector<std::string>{"kunder", "order", "lager"}));

    table->Last();
    dialogs.QueueAnswer(TMsgAnswer::Cancel);
    test::Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(table->RecordCount(), 3);
    dialogs.QueueAnswer(TMsgAnswer::Ok);
    test::Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Column("SQL_QUERY_NAME"), (std::vector<std::string>{"kunder", "order"}));
}

}  // namespace
}  // namespace tv
