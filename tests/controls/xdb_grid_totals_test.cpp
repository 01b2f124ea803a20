// The data grid's totals: each calculation under the three null rules, formatting (with the
// "whole|selected" parts, date and Boolean patterns, currency and formats that fail), the rows a
// total shows in, the totals' second dataset, and the delayed updates on the fake clock: the
// debounced requests, which rows a pass totals, record numbering that keeps the visible row, pick
// lists loaded from data, and every worker putting things back when its walk raises.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "controls/xdb_column_totals.h"
#include "controls/xdb_grid.h"
#include "grid_test_support.h"
#include "platform/data/data_set.h"
#include "platform/rtl/format.h"

namespace tv {
namespace {

// Opens the grid's protected workers to the tests.
class TTotalsGrid : public TXDBGrid {
public:
    using TXDBGrid::TXDBGrid;
    using TXDBGrid::DoUpdateSequence;
    using TXDBGrid::DoUpdateTotals;
    using TXDBGrid::PerformDelayed;
};

class GridTotals : public test::GridTest {
protected:
    // AMOUNT float, NAME string, NOTE memo; an empty AMOUNT text is Null.
    void UseValues(const std::vector<std::vector<std::string>>& rows) {
        table = test::ClientTable(
            {{"AMOUNT", TFieldType::ftFloat}, {"NAME", TFieldType::ftString, 20}, {"NOTE", TFieldType::ftMemo}},
            rows);
        source.SetDataSet(table.get());
    }
    TTotalsGrid* Grid(TXDBGridOptionsEx extra = {}) {
        auto* grid = AddGrid<TTotalsGrid>(420, 260);
        grid->SetBorderStyle(bsNone);
        // Only the options a test names, besides the footer.
        TXDBGridOptionsEx options{dgTotalFooter};
        for (TXDBGridOptionEx o : {dgTotalHeader, dgTotalValues, dgTotalFields, dgCalcInvisibleRows,
                                   dgCalcSelectedRows, dgCalcWholeDataSet, dgTotalHeaderSelected,
                                   dgAutoUpdateTotals, dgDelayUpdateTotals, dgTotalColLines, dgTotalFooterBox,
                                   dgTotalDataBoxOnly}) {
            if (extra.Contains(o)) options.Include(o);
        }
        grid->SetOptionsEx(options);
        return grid;
    }
    // A calculated total of `field` in the footer of column `column`.
    static TXColumnTotalValue* Footer(TXCustomDBGrid* grid, int column, TCalcValue calc,
                                      TNullValue nulls = nvExclude) {
        TXColumnTotalValue* total = grid->Columns()->Items(column)->TotalFooter();
        total->SetTotalResult(trCalcValue);
        total->SetCalcValue(calc);
        total->SetNullValue(nulls);
        return total;
    }
    int Id() { return table->FieldByName("ID").AsInteger(); }
};

TXDBGridOptionsEx Options(std::initializer_list<TXDBGridOptionEx> list) {
    TXDBGridOptionsEx set;
    for (TXDBGridOptionEx o : list) set.Include(o);
    return set;
}

// ---------------------------------------------------------------- calculation

TEST_F(GridTotals, EachCalculationFollowsItsNullRule) {
    struct Case {
        const char* what;
        std::vector<std::string> values;  // AMOUNT per record; "" is Null
        TCalcValue calc;
        TNullValue nulls;
        const char* text;  // the footer's text
    };
    const Case cases[] = {
        {"average leaves Null out", {"2", "4", ""}, cvAvg, nvExclude, "3"},
        {"average counts Null as 0", {"2", "4", ""}, cvAvg, nvAsZero, "2"},
        {"average counts Null, adds nothing", {"2", "4", ""}, cvAvg, nvInclude, "2"},
        {"sum", {"2", "4", "", "1.5"}, cvSum, nvExclude, "7.5"},
        {"count without Null", {"2", "4", ""}, cvCount, nvExclude, "2"},
        {"count with Null", {"2", "4", ""}, cvCount, nvInclude, "3"},
        {"maximum", {"2", "9", "", "4"}, cvMax, nvExclude, "9"},
        {"minimum with Null as 0", {"2", "9", "", "4"}, cvMin, nvAsZero, "0"},
        {"first", {"", "5", "6"}, cvFirst, nvExclude, "5"},
        {"last with Null", {"5", "6", ""}, cvLast, nvInclude, ""},
        {"maximum over no records", {}, cvMax, nvExclude, ""},
        {"average over no records", {}, cvAvg, nvExclude, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::vector<std::string>> rows;
        for (const std::string& v : c.values) rows.push_back({v, "x"});
        UseValues(rows);
        auto* grid = Grid(Options({dgCalcWholeDataSet}));
        grid->Columns()->Add()->SetFieldName("AMOUNT");
        TXColumnTotalValue* total = Footer(grid, 0, c.calc, c.nulls);
        grid->UpdateTotals(false);
        EXPECT_EQ(total->DisplayText(), c.text);
        if (c.values.empty()) EXPECT_TRUE(total->Value().IsEmpty());
        delete grid;
    }
}

TEST_F(GridTotals, UniqueTurnsNullOnTheFirstDifferentValue) {
    for (const auto& [names, expected] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"A", "A", "B"}, "<Null>"}, {{"A", "A"}, "A"}}) {
        std::vector<std::vector<std::string>> rows;
        for (const std::string& n : names) rows.push_back({"1", n});
        UseValues(rows);
        auto* grid = Grid(Options({dgCalcWholeDataSet}));
        grid->Columns()->Add()->SetFieldName("NAME");
        TXColumnTotalValue* total = Footer(grid, 0, cvUnique);
        grid->UpdateTotals(false);
        EXPECT_EQ(total->Value().IsNull() ? "<Null>" : total->Value().AsUtf8(), expected);
        delete grid;
    }
}

TEST_F(GridTotals, HandlersSeeEveryPassAndMayKeepTheirOwnValue) {
    UseValues({{"2", "a"}, {"3", "b"}, {"4", "c"}});
    auto* grid = Grid(Options({dgCalcWholeDataSet}));
    grid->Columns()->Add()->SetFieldName("AMOUNT");
    TXColumnTotalValue* total = Footer(grid, 0, cvCustom);
    std::vector<TCalcPass> passes;
    grid->OnTotalCalcValue = [&](TXColumnTotalValue* t, TCalcPass pass, Variant& value) {
        passes.push_back(pass);
        // A product kept in TempValue.
        if (pass == cpReset) value = Variant(1.0);
        if (pass == cpCalcRec) t->TempValue = Variant(t->TempValue.AsDouble() * value.AsDouble());
    };
    grid->UpdateTotals(false);
    EXPECT_EQ(passes, (std::vector<TCalcPass>{cpReset, cpCalcRec, cpCalcRec, cpCalcRec, cpFinal}));
    EXPECT_EQ(total->DisplayText(), "24");
    // A record the query refuses is left out of every total.
    grid->OnTotalCalcValue = nullptr;
    total->SetCalcValue(cvSum);
    grid->OnTotalCalcQuery = [&](TObject*, TDataSet* dataSet, bool& accept) {
        accept = dataSet->FieldByName("NAME").AsString() != "b";
    };
    grid->UpdateTotals(false);
    EXPECT_EQ(total->DisplayText(), "6");
}

// ---------------------------------------------------------------- formatting and captions

TEST_F(GridTotals, FormatValueByTypeAndPattern) {
    UseValues({});
    auto* grid = Grid();
    grid->Columns()->Add()->SetFieldName("AMOUNT");
    TXColumnTotalValue* total = grid->Columns()->Items(0)->TotalFooter();
    const double day = 46367;  // 2026-12-11
    struct Case {
        const char* what;
        const char* format;
        bool asFloat;
        Variant value;
        std::string text;
    };
    const Case cases[] = {
        {"two decimals", "%.2f", false, Variant(1.5), "1.50"},
        {"an integer as %d", "%d", false, Variant(int32_t{42}), "42"},
        {"a 64-bit integer", "%d", false, Variant(int64_t{5000000000}), "5000000000"},
        {"%d on a real fails: the value as text", "%d", false, Variant(1.5), "1.5"},
        {"a text as %s", "<%s>", false, Variant::FromUtf8("abc"), "<abc>"},
        {"a date by its pattern", "Datum %yyyy-mm-dd%", false, Variant::FromDate(day), "Datum 2026-12-11"},
        {"a date with one % fails", "Datum %yyyy", false, Variant::FromDate(day), Variant::FromDate(day).AsUtf8()},
        {"True by its pattern", "[%Ja;Nej%]", false, Variant(true), "[Ja]"},
        {"False by its pattern", "[%Ja;Nej%]", false, Variant(false), "[Nej]"},
        {"False without a ;", "%Ja%", false, Variant(false), ""},
        {"currency without format", "", false, Variant::FromCurrency(125000), Format("%m", {12.5})},
        {"as float first", "%.1f", true, Variant(int32_t{3}), "3.0"},
        {"as float of a text fails", "%.1f", true, Variant::FromUtf8("abc"), "abc"},
        {"Null", "%d", false, Variant::Null(), ""},
        {"Unassigned", "", false, Variant(), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        total->SetFormat(c.format);
        total->SetFormatAsFloat(c.asFloat);
        EXPECT_EQ(total->FormatValue(c.value), c.text);
    }
    // A formatting failure is no beep at run time.
    EXPECT_TRUE(sound.Beeps().empty());
}

TEST_F(GridTotals, TwoPartTextsFollowTheSelection) {
    UseValues({{"1.5", "a"}});
    auto* grid = Grid();
    grid->Columns()->Add()->SetFieldName("AMOUNT");
    TXColumnTotalValue* caption = grid->Columns()->Items(0)->TotalFooter();
    caption->SetCaption("Summa|Markerat");
    EXPECT_EQ(caption->DisplayText(), "Summa");
    EXPECT_EQ(grid->GetTotalText(grid->Columns()->Items(0), 0, tkDisplay), "Summa");
    grid->Totals()->SelectedRows = true;
    EXPECT_EQ(caption->DisplayText(), "Markerat");
    EXPECT_EQ(caption->FormatValue(Variant(2.0)), "2");
    caption->SetFormat("%.1f|(%.2f)");
    EXPECT_EQ(caption->FormatValue(Variant(2.0)), "(2.00)");
    grid->Totals()->SelectedRows = false;
    EXPECT_EQ(caption->FormatValue(Variant(2.0)), "2.0");
    // Writing a value formats it into the caption; a caption written empties the value.
    caption->SetValue(Variant(3.0));
    EXPECT_EQ(caption->DisplayText(), "3.0");
    caption->SetCaption("Total");
    EXPECT_TRUE(caption->Value().IsEmpty());
    grid->OnTotalGetText = [](TXColumn*, int, std::string& text, TTextKind) { text = "*" + text; };
    EXPECT_EQ(grid->GetTotalText(grid->Columns()->Items(0), 0, tkDisplay), "*Total");
}

TEST_F(GridTotals, DisplayNamesTellWhatATotalShows) {
    UseValues({});
    auto* grid = Grid();
    grid->Columns()->Add()->SetFieldName("AMOUNT");
    TXColumnTotalValue* total = grid->Columns()->Items(0)->TotalFooter();
    total->SetTotalResult(trNone);
    EXPECT_EQ(total->DisplayName(), "<None>");
    total->SetTotalResult(trCaption);
    EXPECT_EQ(total->DisplayName(), "<Empty>");
    total->SetTotalResult(trCalcValue);
    total->SetCalcValue(cvAvg);
    EXPECT_EQ(total->DisplayName(), "Avg(AMOUNT)");
    total->SetTotalResult(trDataField);
    EXPECT_EQ(total->DisplayName(), "ColumnData: AMOUNT");
    total->SetTotalResult(trTotalField);
    EXPECT_EQ(total->DisplayName(), "TotalField: <Unknown>");
    total->SetFieldName("QTY");
    total->SetTotalRecNo(-3);
    EXPECT_EQ(total->DisplayName(), "TotalField: QTY[1]");
}

// ---------------------------------------------------------------- rows, selection and the second dataset

TEST_F(GridTotals, TotalsShowInTheirRowsOfTheTotalArea) {
    UseValues({{"1", "a"}});
    auto totalTable = test::NumberedTable(8);
    TDataSource totalSource;
    totalSource.SetDataSet(totalTable.get());
    auto* grid = Grid(Options({dgTotalHeader, dgTotalValues, dgTotalFields}));
    grid->Totals()->SetDataSource(&totalSource);
    TXColumn* column = grid->Columns()->Add();
    column->SetFieldName("NAME");
    column->TotalValues()->Add()->SetCaption("v0");
    column->TotalValues()->Add()->SetCaption("v1");
    column->TotalFields()->SetFieldName("NAME");
    // DataMaxRow 5 buffers 5 of the 8 records; 0 all of them.
    EXPECT_EQ(grid->Totals()->DataLink()->RecordCount(), 5);
    EXPECT_EQ(grid->TotalFieldsRowCount(), 5);
    // Header 1, values 2, fields 5, footer 1, after the blank row.
    struct Case {
        int row;
        const TXColumnTotal* total;
        const char* text;
    };
    const Case cases[] = {
        {0, column->TotalHeader(), ""},      {1, column->TotalValues()->Items(0), "v0"},
        {2, column->TotalValues()->Items(1), "v1"}, {3, column->TotalFields(), "Artikel 1"},
        {7, column->TotalFields(), "Artikel 5"},    {8, column->TotalFooter(), ""},
        {9, nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(column->TotalAtRow(c.row), c.total);
        EXPECT_EQ(grid->GetTotalText(column, c.row, tkDisplay), c.text);
    }
    // A hidden total shows no text.
    column->TotalValues()->Items(1)->SetVisible(false);
    EXPECT_EQ(grid->GetTotalText(column, 2, tkDisplay), "");
    // A value total shows its record of the second dataset, the link's record kept.
    TXColumnTotalValue* header = column->TotalHeader();
    header->SetTotalResult(trTotalField);
    header->SetFieldName("ID");
    header->SetTotalRecNo(3);
    EXPECT_EQ(grid->GetTotalText(column, 0, tkDisplay), "3");
    EXPECT_EQ(header->DisplayText(), "3");
    EXPECT_EQ(grid->Totals()->DataLink()->ActiveRecord(), 0);
    grid->Totals()->SetDataMaxRow(0);
    EXPECT_EQ(grid->Totals()->DataLink()->RecordCount(), 8);
    EXPECT_EQ(grid->TotalFieldsRowCount(), 8);
    grid->Totals()->SetDataSource(nullptr);
}

TEST_F(GridTotals, PassesCoverTheRowsTheOptionsSay) {
    UseValues({{"1", "a"}, {"2", "b"}, {"4", "c"}, {"8", "d"}});
    struct Case {
        const char* what;
        TXDBGridOptionsEx options;
        std::vector<int> selected;  // records selected (1-based)
        TCalcApply apply;
        const char* footer;
        const char* header;  // a header total marked dgTotalHeaderSelected when given
    };
    const Case cases[] = {
        {"whole dataset", Options({dgCalcWholeDataSet}), {2}, caBoth, "15", nullptr},
        {"selected rows while there are any", Options({dgCalcWholeDataSet, dgCalcSelectedRows}), {2, 3}, caBoth,
         "6", nullptr},
        {"the whole dataset without a selection", Options({dgCalcWholeDataSet, dgCalcSelectedRows}), {}, caBoth,
         "15", nullptr},
        {"only selected rows, none selected: no record", Options({dgCalcSelectedRows}), {}, caBoth, "", nullptr},
        {"caSelectedRows while the whole dataset is totalled", Options({dgCalcWholeDataSet}), {}, caSelectedRows,
         "", nullptr},
        {"a selected header counts only selected rows",
         Options({dgCalcWholeDataSet, dgTotalHeader, dgTotalHeaderSelected}),
         {1, 4}, caBoth, "15", "9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* grid = Grid(c.options);
        grid->Columns()->Add()->SetFieldName("AMOUNT");
        TXColumnTotalValue* footer = Footer(grid, 0, cvSum);
        footer->SetCalcApply(c.apply);
        TXColumnTotalValue* header = grid->Columns()->Items(0)->TotalHeader();
        header->SetTotalResult(trCalcValue);
        for (int rec : c.selected) {
            table->SetRecNo(rec);
            grid->SelectedRows()->SetCurrentRowSelected(true);
        }
        table->First();
        grid->UpdateTotals(false);
        EXPECT_EQ(footer->DisplayText(), c.footer);
        if (c.header) EXPECT_EQ(header->DisplayText(), c.header);
        delete grid;
    }
}

TEST_F(GridTotals, ASelectedOnlyRunCalculatesOnlyTheSelectedParts) {
    UseValues({{"1", "a"}, {"2", "b"}, {"4", "c"}});
    auto* grid = Grid(Options({dgCalcWholeDataSet, dgTotalHeader, dgTotalHeaderSelected}));
    grid->Columns()->Add()->SetFieldName("AMOUNT");
    TXColumnTotalValue* footer = Footer(grid, 0, cvSum);
    TXColumnTotalValue* header = grid->Columns()->Items(0)->TotalHeader();
    header->SetTotalResult(trCalcValue);
    grid->UpdateTotals(false);
    EXPECT_EQ(footer->DisplayText(), "7");
    EXPECT_EQ(header->DisplayText(), "");
    table->SetRecNo(3);
    grid->SelectedRows()->SetCurrentRowSelected(true);
    grid->Totals()->SelectedRows = true;
    grid->DoUpdateTotals(true);
    EXPECT_EQ(header->DisplayText(), "4");
    EXPECT_EQ(footer->DisplayText(), "7");
}

// ---------------------------------------------------------------- requests and timers

TEST_F(GridTotals, DelayedRequestsRunOnceTheDelayAfterTheLast) {
    UseValues({{"1", "a"}, {"2", "b"}});
    auto* grid = Grid(Options({dgCalcWholeDataSet, dgAutoUpdateTotals, dgDelayUpdateTotals}));
    grid->Columns()->Add()->SetFieldName("AMOUNT");
    Footer(grid, 0, cvSum);
    int runs = 0;
    grid->OnTotalsUpdated = [&](TObject*) { ++runs; };
    clock.Advance(1000);
    runs = 0;
    for (int i = 0; i < 3; ++i) {
        grid->UpdateTotals(true);
        if (i < 2) clock.Advance(50);
    }
    EXPECT_TRUE(grid->TotalsPending());
    clock.Advance(199);
    EXPECT_EQ(runs, 0);
    clock.Advance(1);
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(grid->TotalsPending());
    clock.Advance(1000);
    EXPECT_EQ(runs, 1);
    // PerformDelayed runs a pending request at once.
    grid->UpdateTotals(true);
    grid->PerformDelayed();
    EXPECT_EQ(runs, 2);
    EXPECT_FALSE(grid->TotalsPending());
    clock.Advance(1000);
    EXPECT_EQ(runs, 2);
    // Without the automatic option a checked request does nothing; a forced one runs (here at once).
    TXDBGridOptionsEx options = grid->OptionsEx();
    options.Exclude(dgAutoUpdateTotals);
    options.Exclude(dgDelayUpdateTotals);
    grid->SetOptionsEx(options);
    runs = 0;
    grid->UpdateTotals(true);
    EXPECT_EQ(runs, 0);
    grid->UpdateTotals(false);
    EXPECT_EQ(runs, 1);
    // Hidden totals are calculated only with dgCalcInvisibleRows.
    options.Exclude(dgTotalFooter);
    grid->SetOptionsEx(options);
    runs = 0;
    grid->UpdateTotals(false);
    EXPECT_EQ(runs, 0);
    options.Include(dgCalcInvisibleRows);
    grid->SetOptionsEx(options);
    grid->UpdateTotals(false);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(grid->Columns()->Items(0)->TotalFooter()->DisplayText(), "3");
}

TEST_F(GridTotals, RecordNumberingKeepsTheVisibleRow) {
    UseNumberedTable(25);
    auto* grid = AddGrid<TTotalsGrid>(420, 200);
    TXDBGridOptions options = grid->Options();
    options.Include(dgForceSequence);
    grid->SetOptions(options);
    table->SetRecNo(7);
    const int row = grid->Row();
    // Numbering waits for its delay (dgDelayUpdateSequence by default).
    grid->UpdateSequence(false);
    EXPECT_TRUE(grid->SequencePending());
    clock.Advance(200);
    EXPECT_EQ(grid->RecNumber(), 7);
    EXPECT_EQ(grid->RecCount(), 25);
    EXPECT_EQ(Id(), 7);
    EXPECT_EQ(grid->Row(), row);
    EXPECT_FALSE(table->ControlsDisabled());
    // An empty dataset numbers nothing.
    while (!table->IsEmpty()) table->Delete();
    grid->DoUpdateSequence();
    EXPECT_EQ(grid->RecNumber(), 0);
    EXPECT_EQ(grid->RecCount(), 0);
}

// Closing frees the default fields while the grid's controls are off: the grid drops every
// reference to them, and binds its columns again once the dataset is open.
TEST_F(GridTotals, ARefreshedDataSetLeavesNoColumnOnAFreedField) {
    UseNumberedTable(12);
    auto* grid = AddGrid<TTotalsGrid>(420, 200);
    grid->FindColumn("NAME")->TotalFooter()->SetFieldName("NAME");
    table->SetRecNo(5);
    grid->RefreshDataSet();
    EXPECT_TRUE(table->Active());
    EXPECT_FALSE(table->ControlsDisabled());
    QApplication::processEvents();
    ASSERT_NE(grid->FindColumn("NAME"), nullptr);
    EXPECT_EQ(grid->FindColumn("NAME")->Field(), table->FindField("NAME"));
    Paint(*grid);
}

// A table that reads its records again when it opens, as a query does; `Reopen` filters what
// comes back, so a record may be gone after the reopening.
class TRereadTable : public TClientDataSet {
public:
    ~TRereadTable() override {
        if (!kept.empty()) Open();  // the records go with the dataset
    }
    std::string reopenFilter;

protected:
    void DoBeforeClose() override {
        TClientDataSet::DoBeforeClose();
        kept = DetachRecords();
    }
    void InternalOpenData() override {
        if (!kept.empty()) AttachRecords(std::move(kept));
        kept.clear();
        SetFilter(reopenFilter);
        SetFiltered(!reopenFilter.empty());
    }

private:
    std::vector<data_detail::Record*> kept;
};

// The grid comes back on the record of its key fields, on the row it had, with its columns bound
// to the new fields at once; without key fields, or when the key is gone, on the first record.
TEST_F(GridTotals, ARefreshedDataSetComesBackOnTheKeyedRecord) {
    struct Case {
        const char* what;
        const char* keyFields;
        const char* reopenFilter;  // what the reopened table still holds
        int id;                    // the current record afterwards
        bool sameRow;              // on the row it had before
    };
    const Case cases[] = {
        {"key present", "ID", "", 12, true},
        {"two key fields", "ID;NAME", "", 12, true},
        {"key gone", "ID", "ACTIVE='True'", 1, false},
        {"no key fields", "", "", 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto reread = test::NumberedTable<TRereadTable>(25);
        TRereadTable* data = reread.get();
        table = std::move(reread);
        source.SetDataSet(table.get());
        auto* grid = AddGrid<TTotalsGrid>(420, 200);
        grid->SetKeyFields(c.keyFields);
        grid->SetOrderFields("NAME");
        table->SetRecNo(8);
        table->SetRecNo(12);
        const int row = grid->Row();
        ASSERT_GT(row, grid->TitleOffset());
        data->reopenFilter = c.reopenFilter;
        grid->SelectedRows()->SetCurrentRowSelected(true);
        ASSERT_EQ(grid->SelectedRows()->Count(), 1);
        grid->RefreshDataSet();
        EXPECT_EQ(Id(), c.id);
        if (c.sameRow) EXPECT_EQ(grid->Row(), row);
        EXPECT_EQ(grid->SelectedRows()->Count(), 0);
        EXPECT_FALSE(table->ControlsDisabled());
        EXPECT_EQ(grid->OrderFields(), "NAME") << "the rebuilt columns keep their markers";
        // Bound without waiting for the event loop.
        for (const char* name : {"ID", "NAME"}) {
            ASSERT_NE(grid->FindColumn(name), nullptr) << name;
            EXPECT_EQ(grid->FindColumn(name)->Field(), table->FindField(name)) << name;
        }
        delete grid;
    }
}

TEST_F(GridTotals, PickListsLoadFromFieldsThatHoldTexts) {
    UseValues({{"1", "beta", "x"}, {"2", "Alfa", "y"}, {"3", "", "z"}, {"4", "ALFA", "w"}, {"5", "Gamma", "v"}});
    auto* grid = Grid();
    TXColumn* name = grid->Columns()->Add();
    name->SetFieldName("NAME");
    TXColumn* note = grid->Columns()->Add();
    note->SetFieldName("NOTE");
    for (TXColumn* c : {name, note}) c->SetPickOptions(TXPickOptions{poAutoLoadList});
    int updates = 0;
    grid->OnListItemsUpdated = [&](TObject*) { ++updates; };
    table->SetRecNo(4);
    grid->UpdateListItems(false);
    EXPECT_EQ(updates, 0);
    clock.Advance(200);
    EXPECT_EQ(updates, 1);
    // Distinct non-empty texts in sorted order, found without regard to case; memos never load.
    EXPECT_EQ(name->PickList()->Text(), "Alfa\r\nbeta\r\nGamma\r\n");
    EXPECT_EQ(note->PickList()->Count(), 0);
    EXPECT_EQ(table->FieldByName("AMOUNT").AsInteger(), 4);
    // The list is no longer kept sorted; with poAppendToList earlier entries stay.
    name->PickList()->Clear();
    name->PickList()->Add("Zeta");
    name->SetPickOptions(TXPickOptions{poAutoLoadList, poAppendToList});
    grid->UpdateListItems(false);
    grid->PerformDelayed();
    EXPECT_EQ(name->PickList()->Text(), "Alfa\r\nbeta\r\nGamma\r\nZeta\r\n");
    // A grid with only a memo column to load asks for nothing.
    name->SetPickOptions({});
    updates = 0;
    grid->UpdateListItems(false);
    clock.Advance(200);
    EXPECT_EQ(updates, 0);
}

TEST_F(GridTotals, AWalkThatRaisesPutsEverythingBack) {
    UseValues({{"1", "a"}, {"2", "b"}, {"4", "c"}});
    auto* grid = Grid(Options({dgCalcWholeDataSet}));
    grid->Columns()->Add()->SetFieldName("AMOUNT");
    Footer(grid, 0, cvSum);
    table->SetRecNo(2);
    const int row = grid->Row();
    grid->OnTotalCalcQuery = [&](TObject*, TDataSet* dataSet, bool&) {
        if (dataSet->FieldByName("NAME").AsString() == "c") throw std::runtime_error("refused");
    };
    EXPECT_THROW(grid->UpdateTotals(false), std::runtime_error);
    EXPECT_FALSE(grid->InUpdateTotals());
    EXPECT_FALSE(table->ControlsDisabled());
    EXPECT_EQ(table->FieldByName("NAME").AsString(), "b");
    EXPECT_EQ(grid->Row(), row);
    // The next request runs again.
    grid->OnTotalCalcQuery = nullptr;
    grid->UpdateTotals(false);
    EXPECT_EQ(grid->Columns()->Items(0)->TotalFooter()->DisplayText(), "7");
}

// ---------------------------------------------------------------- painting

TEST_F(GridTotals, TotalCellsMergeAcrossColumnLinesUnlessAskedFor) {
    UseValues({{"1", "a"}, {"2", "b"}});
    auto* grid = Grid(Options({dgCalcWholeDataSet}));
    grid->Gradient()->SetActive(false);
    for (const char* name : {"AMOUNT", "NAME", "NOTE"}) grid->Columns()->Add()->SetFieldName(name);
    const int footerRow = grid->RowCount() - 1;
    const TRect middle = grid->CellRect(grid->IndicatorOffset() + 1, footerRow);
    // The pixels where the column line after the middle column runs, inside the footer row.
    auto lineColour = [&] {
        auto picture = test::Render(*grid);
        return picture->Canvas()->Pixels(middle.Right, middle.Top + middle.Height() / 2);
    };
    EXPECT_EQ(lineColour(), ColorToRGB(grid->Totals()->Color()));
    TXDBGridOptionsEx options = grid->OptionsEx();
    options.Include(dgTotalColLines);
    grid->SetOptionsEx(options);
    EXPECT_NE(lineColour(), ColorToRGB(grid->Totals()->Color()));
}

TEST_F(GridTotals, BoxesFollowTheirOptionsAndSelectedTotalsTheirColour) {
    UseValues({{"1", "a"}, {"2", "b"}});
    auto* grid = Grid(Options({dgCalcWholeDataSet, dgCalcSelectedRows, dgTotalFooterBox, dgTotalDataBoxOnly}));
    grid->Gradient()->SetActive(false);
    for (const char* name : {"AMOUNT", "NAME"}) grid->Columns()->Add()->SetFieldName(name);
    TXColumn* amount = grid->Columns()->Items(0);
    TXColumn* name = grid->Columns()->Items(1);
    amount->TotalFooter()->SetCaption("Summa");
    const int footerRow = grid->RowCount() - 1;
    const TRect withText = grid->CellRect(grid->IndicatorOffset(), footerRow);
    const TRect empty = grid->CellRect(grid->IndicatorOffset() + 1, footerRow);
    auto edgesIn = [&](const TRect& cell) {
        int n = 0;
        for (const TCanvasRecord& r : recorder.Of(TCanvasOp::Edge))
            if (r.Rect.Left > cell.Left && r.Rect.Right < cell.Right && r.Rect.Top > cell.Top &&
                r.Rect.Bottom < cell.Bottom)
                ++n;
        return n;
    };
    Paint(*grid);
    // dgTotalDataBoxOnly: a box only where there is text.
    EXPECT_GT(edgesIn(withText), 0);
    EXPECT_EQ(edgesIn(empty), 0);
    name->TotalFooter()->SetTotalBox(tbTrue);
    name->TotalFooter()->SetCaption("x");
    amount->TotalFooter()->SetTotalBox(tbFalse);
    Paint(*grid);
    EXPECT_EQ(edgesIn(withText), 0);
    EXPECT_GT(edgesIn(empty), 0);
    // While rows are selected, a caption total of a selected-rows area takes the selected colour.
    grid->Totals()->SetSelectedColor(clInfoBk);
    const TPoint centre{withText.Left + 3, withText.Top + 3};
    Paint(*grid);
    EXPECT_EQ(recorder.FillColorAt(centre), grid->Totals()->Color());
    table->First();
    grid->SelectedRows()->SetCurrentRowSelected(true);
    grid->Totals()->SelectedRows = true;
    Paint(*grid);
    EXPECT_EQ(recorder.FillColorAt(centre), clInfoBk);
    ASSERT_NE(recorder.FindText("Summa"), nullptr);
}

}  // namespace
}  // namespace tv
