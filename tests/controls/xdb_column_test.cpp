// The grid's flat columns and their titles: defaults and assigned values, field binding, widths,
// visibility and position, the grid's own columns, rebuilding, copying and the texts of a cell.
// Widths are measured with fixed text metrics (8 pixels a character).

#include <gtest/gtest.h>

#include <string>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"

namespace tv {
namespace {

TEST(ColumnWithoutGrid, HasTheLibrarysDefaults) {
    TXDBGridColumns columns(nullptr, TXColumn::StaticClassInfo());
    TXColumn* column = columns.Add();
    EXPECT_EQ(column->Grid(), nullptr);
    EXPECT_EQ(column->DefaultWidth(), 64);
    EXPECT_EQ(column->Width(), 64);
    EXPECT_EQ(column->Color(), clWindow);
    EXPECT_EQ(column->Title()->Color(), clBtnFace);
    EXPECT_EQ(column->Title()->Font(), column->Title()->Font());
    EXPECT_EQ(column->Alignment(), taLeftJustify);
    EXPECT_FALSE(column->ReadOnly());
    EXPECT_EQ(column->CheckBoxValues(), "True;False");
    EXPECT_EQ(column->ListOptions(), kDefaultListOptions);
    EXPECT_EQ(column->PickOptions(), kDefaultPickOptions);
    EXPECT_EQ(column->DialogOptions(), (TDialogOptions{doShowColumn, doItemEnabled}));
    EXPECT_TRUE(column->Visible());
    EXPECT_TRUE(column->Showing());
    EXPECT_FALSE(column->Expanded());  // true only for a column that heads a group
    EXPECT_EQ(column->WidthMax(), -1);
    EXPECT_EQ(column->WidthMin(), -1);
    EXPECT_EQ(columns.State(), csCustomized);
    // Values that clamp.
    column->SetDropDownRows(-3);
    column->SetDropDownWidth(-1);
    column->SetExpandCols(-2);
    EXPECT_EQ(column->DropDownRows(), 0);
    EXPECT_EQ(column->DropDownWidth(), 0);
    EXPECT_EQ(column->ExpandCols(), 0);
    column->SetCheckBox(true);
    column->SetImageDraw(idTileGrid);
    EXPECT_EQ(column->ImageDraw(), idCenter);
    EXPECT_FALSE(column->CanShowEditor());
}

TEST(ColumnWithoutGrid, AssignedValuesKeepTheirOwnValue) {
    TXDBGridColumns columns(nullptr, TXColumn::StaticClassInfo());
    TXColumn* column = columns.Add();
    EXPECT_TRUE(column->AssignedValues().Empty());
    column->SetColor(clWindow);  // the default, written: assigned all the same
    EXPECT_TRUE(column->AssignedValues().Contains(cvColor));
    column->Title()->SetCaption("Pris");
    column->Title()->SetAlignment(taRightJustify);
    column->SetWidth(80);
    EXPECT_EQ(column->AssignedValues(), (TXColumnValues{cvColor, cvTitleCaption, cvTitleAlignment, cvWidth}));
    // An input method equal to the default is not recorded.
    column->SetImeMode(column->DefaultImeMode());
    EXPECT_FALSE(column->AssignedValues().Contains(cvImeMode));
    column->SetImeMode(imHira);
    EXPECT_EQ(column->ImeMode(), imHira);

    column->RestoreDefaults();
    EXPECT_TRUE(column->AssignedValues().Empty());
    EXPECT_EQ(column->Title()->Caption(), "");
    EXPECT_EQ(column->Width(), 64);
    EXPECT_EQ(column->ImeMode(), imDontCare);
}

TEST(ColumnWithoutGrid, WidthLimitsClampTheWidth) {
    TXDBGridColumns columns(nullptr, TXColumn::StaticClassInfo());
    TXColumn* column = columns.Add();
    column->SetWidth(100);
    column->SetWidthMax(80);
    EXPECT_EQ(column->Width(), 80);
    column->SetWidthMin(90);  // above the maximum: lowered to it
    EXPECT_EQ(column->WidthMin(), 80);
    column->SetWidthMax(-2);  // ignored
    EXPECT_EQ(column->WidthMax(), 80);
    column->SetWidthMax(-1);
    column->SetWidthMin(120);
    EXPECT_EQ(column->Width(), 120);
    column->SetWidthMax(100);  // below the minimum: raised to it
    EXPECT_EQ(column->WidthMax(), 120);
    column->SetWidth(500);
    EXPECT_EQ(column->Width(), 120);
}

TEST(ColumnWithoutGrid, AnAssignedWidthOf64IsStoredEvenWhenItIsTheDefault) {
    TXDBGridColumns columns(nullptr, TXColumn::StaticClassInfo());
    TXColumn* column = columns.Add();
    EXPECT_FALSE(column->WidthStored());
    column->SetWidth(64);  // the default, never assigned: nothing to keep
    EXPECT_FALSE(column->WidthStored());
    column->SetWidth(70);
    EXPECT_TRUE(column->WidthStored());
    column->SetWidth(64);
    EXPECT_TRUE(column->WidthStored());
    EXPECT_EQ(column->Width(), 64);
}

TEST(ColumnTitle, HeaderLevels) {
    TXDBGridColumns columns(nullptr, TXColumn::StaticClassInfo());
    TXColumnTitle& title = *columns.Add()->Title();
    EXPECT_EQ(title.HeaderRowCount(), 0);
    title.SetHeader("Pris|Inköp|Netto");
    title.SetHeaderHint("a|b");
    EXPECT_EQ(title.HeaderRowCount(), 3);
    EXPECT_EQ(title.HeaderText(0), "Pris");
    EXPECT_EQ(title.HeaderText(2), "Netto");
    EXPECT_EQ(title.HeaderText(3), "");
    EXPECT_EQ(title.HeaderHintText(1), "b");
    EXPECT_EQ(title.HeaderHintText(2), "");
}

class GridColumns : public test::GridTest {
protected:
    GridColumns() {
        UseNumberedTable(3);
        grid = new TXDBGrid(&form);
        grid->Canvas()->AttachRecorder(&recorder);  // 8 pixels a character
        grid->SetParent(&form);
        grid->SetBounds(10, 10, 600, 300);
        grid->SetDataSource(&source);
    }
    TXDBGridColumns& Columns() { return *grid->Columns(); }
    TXColumn* Stored(const char* field) {
        TXColumn* c = Columns().Add();
        c->SetFieldName(field);
        return c;
    }
    TXDBGrid* grid = nullptr;
};

TEST_F(GridColumns, DefaultWidthIsTheFieldsCharactersInZerosPlusFour) {
    TXColumn* name = Stored("NAME");
    EXPECT_EQ(name->DefaultWidth(), 30 * 8 + 4);
    TXColumn* id = Stored("ID");
    table->FieldByName("ID").SetDisplayWidth(1);
    EXPECT_EQ(id->DefaultWidth(), 1 * 8 + 4);
    // With titles and without dgTitleWidthOff the caption widens it.
    grid->SetOptions(grid->Options() - TXDBGridOptions{dgTitleWidthOff});
    EXPECT_EQ(id->DefaultWidth(), 2 * 8 + 4);
    id->Title()->SetCaption("Nummer");
    EXPECT_EQ(id->DefaultWidth(), 6 * 8 + 4);
    grid->SetOptions(grid->Options() - TXDBGridOptions{dgTitles});
    EXPECT_EQ(id->DefaultWidth(), 12);
    // Without a field: the grid's default column width.
    EXPECT_EQ(Columns().Add()->DefaultWidth(), grid->DefaultColWidth());
}

TEST_F(GridColumns, AHiddenColumnIsMinusTheLineWide) {
    TXColumn* name = Stored("NAME");
    name->SetWidth(90);
    name->SetVisible(false);
    EXPECT_EQ(name->Width(), -1);
    EXPECT_EQ(name->TrueWidth(), 90);
    EXPECT_FALSE(name->Showing());
    name->SetVisible(true);
    EXPECT_EQ(name->Width(), 90);
}

TEST_F(GridColumns, FieldsAreBoundLazilyByName) {
    table->Close();
    TXColumn* price = Stored("PRICE");
    // A closed dataset with fields made from its definitions binds nothing.
    EXPECT_EQ(price->Field(), nullptr);
    table->Open();
    EXPECT_EQ(price->Field(), &table->FieldByName("PRICE"));
    TXColumn* missing = Stored("NOPE");
    EXPECT_EQ(missing->Field(), nullptr);
    EXPECT_EQ(missing->FieldName(), "NOPE");
    // Binding a field names the column after it.
    missing->SetField(&table->FieldByName("ID"));
    EXPECT_EQ(missing->FieldName(), "ID");
}

TEST_F(GridColumns, ColumnLooksFollowTheGridAndTheFieldUntilAssigned) {
    TXColumn* price = Stored("PRICE");
    EXPECT_EQ(price->Alignment(), taRightJustify);
    EXPECT_EQ(price->Title()->Caption(), "PRICE");
    table->FieldByName("PRICE").SetDisplayLabel("Pris");
    EXPECT_EQ(price->Title()->Caption(), "Pris");
    grid->SetColor(clYellow);
    EXPECT_EQ(price->Color(), clYellow);
    grid->SetFixedColor(clSilver);
    EXPECT_EQ(price->Title()->Color(), clSilver);
    grid->Font()->SetSize(13);
    EXPECT_EQ(price->Font()->Size(), 13);
    EXPECT_FALSE(price->AssignedValues().Contains(cvFont));
    price->Font()->SetSize(9);
    EXPECT_TRUE(price->AssignedValues().Contains(cvFont));
    grid->Font()->SetSize(15);
    EXPECT_EQ(price->Font()->Size(), 9);
    grid->SetReadOnly(true);
    EXPECT_TRUE(price->ReadOnly());
    price->SetReadOnly(false);
    EXPECT_FALSE(price->ReadOnly());
}

TEST_F(GridColumns, DefaultColumnsKeepAlignmentReadOnlyAndCaptionInTheirField) {
    ASSERT_EQ(Columns().State(), csDefault);
    TXColumn* name = Columns()[1];
    ASSERT_EQ(name->Field(), &table->FieldByName("NAME"));
    name->SetAlignment(taCenter);
    name->SetReadOnly(true);
    name->Title()->SetCaption("Benämning");
    TField& field = table->FieldByName("NAME");
    EXPECT_EQ(field.Alignment(), taCenter);
    EXPECT_TRUE(field.ReadOnly());
    EXPECT_EQ(field.DisplayLabel(), "Benämning");
    EXPECT_TRUE(name->AssignedValues().Empty());
    EXPECT_EQ(Columns()[1]->Title()->Caption(), "Benämning");
    EXPECT_EQ(Columns()[1]->Alignment(), taCenter);
}

TEST_F(GridColumns, StoredColumnsMoveAndDefaultColumnsMoveTheirFields) {
    // Default columns: the field takes the place of the field shown at the target.
    Columns()[0]->SetIndex(2);
    EXPECT_EQ(table->Fields(2).FieldName(), "ID");
    EXPECT_EQ(Columns()[2]->FieldName(), "ID");
    // Stored columns move themselves.
    Columns().SetState(csCustomized);
    ASSERT_EQ(Columns().Count(), 4);
    TXColumn* first = Columns()[0];
    first->MoveTo(3);
    EXPECT_EQ(Columns()[3], first);
    first->MoveTo(-1);
    first->MoveTo(3);
    EXPECT_EQ(first->Index(), 3);
    first->SetIndex(99);  // beyond the end: to the last place
    EXPECT_EQ(first->Index(), 3);
    first->SetIndex(0);
    EXPECT_EQ(Columns()[0], first);
}

TEST_F(GridColumns, TheGridsOwnColumnsStandFirst) {
    Stored("NAME");
    TXColumn* number = Columns().AddAutoNumber();
    TXColumn* select = Columns().AddAutoSelect();
    ASSERT_EQ(Columns().Count(), 3);
    EXPECT_EQ(Columns()[0], select);
    EXPECT_EQ(Columns()[1], number);
    EXPECT_TRUE(number->AutoNumber());
    EXPECT_EQ(number->Alignment(), taRightJustify);
    EXPECT_EQ(number->Title()->Caption(), "No.");
    EXPECT_EQ(number->Title()->Alignment(), taRightJustify);
    EXPECT_TRUE(number->SuppressRTL());
    EXPECT_EQ(number->Width(), 48);  // the link is active
    EXPECT_TRUE(select->CheckBox());
    EXPECT_EQ(select->Alignment(), taCenter);
    EXPECT_EQ(select->Title()->Caption(), "Select");
    EXPECT_FALSE(number->CanShowEditor());
    EXPECT_FALSE(select->CanShowEditor());
    // Without active data the default width applies.
    table->Close();
    EXPECT_EQ(Columns().AddAutoNumber()->Width(), grid->DefaultColWidth());
}

TEST_F(GridColumns, RebuildingMakesAStoredColumnPerField) {
    grid->SetOptionsExt(grid->OptionsExt() + TXDBGridOptionsExt{dgAutoNumberColumn, dgAutoSelectColumn});
    Columns().RebuildColumns();
    ASSERT_EQ(Columns().Count(), 6);
    EXPECT_EQ(Columns().State(), csCustomized);
    EXPECT_TRUE(Columns()[0]->AutoNumber());
    EXPECT_TRUE(Columns()[1]->CheckBox());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Columns()[i + 2]->FieldName(), table->Fields(i).FieldName());
        EXPECT_TRUE(Columns()[i + 2]->Stored());
    }
    Columns().SetState(csDefault);
    EXPECT_EQ(Columns().State(), csDefault);
    EXPECT_EQ(Columns().Count(), 6);  // laid out again from the fields, with the auto columns
    EXPECT_FALSE(Columns()[2]->Stored());
    // Without data the collection is emptied, and the grid lays out its default columns.
    grid->SetDataSource(nullptr);
    Columns().RebuildColumns();
    EXPECT_EQ(Columns().State(), csDefault);
    for (int i = 0; i < Columns().Count(); ++i) EXPECT_EQ(Columns()[i]->FieldName(), "") << i;
}

TEST_F(GridColumns, AWidthEqualToTheDefaultIsKeptOnlyAs64) {
    TXColumn* id = Stored("ID");
    ASSERT_EQ(id->DefaultWidth(), 11 * 8 + 4);
    id->SetWidth(100);
    id->SetWidth(92);
    EXPECT_TRUE(id->AssignedValues().Contains(cvWidth));
    EXPECT_FALSE(id->WidthStored());
    id->SetWidth(64);
    EXPECT_TRUE(id->WidthStored());
}

TEST_F(GridColumns, AssignCopiesTheColumnsAndWhatWasAssigned) {
    TXColumn* a = Stored("NAME");
    a->SetWidth(77);
    a->SetColor(clAqua);
    a->Title()->SetCaption("Namn");
    a->SetCheckBoxValues("Ja;Nej");
    a->PickList()->Add("x");
    a->SetVisible(false);
    Stored("ID");
    TXDBGrid other(&form);
    other.SetParent(&form);
    other.SetDataSource(&source);
    other.SetColumns(grid->Columns());
    TXDBGridColumns& copy = *other.Columns();
    ASSERT_EQ(copy.Count(), 2);
    TXColumn* b = copy[0];
    EXPECT_EQ(b->FieldName(), "NAME");
    EXPECT_EQ(b->TrueWidth(), 77);
    EXPECT_EQ(b->Color(), clAqua);
    EXPECT_EQ(b->Title()->Caption(), "Namn");
    EXPECT_EQ(b->CheckBoxValues(), "Ja;Nej");
    EXPECT_EQ(b->PickList()->Count(), 1);
    EXPECT_FALSE(b->Visible());
    EXPECT_EQ(b->AssignedValues(), a->AssignedValues());
    EXPECT_FALSE(copy[1]->AssignedValues().Contains(cvWidth));
    EXPECT_EQ(copy.State(), csCustomized);
}

TEST_F(GridColumns, RestoreDefaultsKeepsFieldVisibilityAndPlace) {
    TXColumn* name = Stored("NAME");
    name->SetWidth(77);
    name->SetVisible(false);
    name->SetButtonStyle(cbsEllipsis);
    name->SetShowEdit(false);
    name->Title()->SetHeader("A|B");
    Columns().RestoreDefaults();
    EXPECT_EQ(name->FieldName(), "NAME");
    EXPECT_FALSE(name->Visible());
    EXPECT_EQ(name->TrueWidth(), name->DefaultWidth());
    EXPECT_EQ(name->ButtonStyle(), cbsAuto);
    EXPECT_TRUE(name->ShowEdit());
    EXPECT_EQ(name->Title()->HeaderRowCount(), 0);
}

TEST_F(GridColumns, CellTextsGoThroughTheGridsEvents) {
    TXColumn* name = Stored("NAME");
    std::vector<TTextKind> kinds;
    grid->OnColGetText = [&](TXColumn* c, std::string& text, TTextKind kind) {
        EXPECT_EQ(c, name);
        kinds.push_back(kind);
        text = "[" + text + "]";
    };
    EXPECT_EQ(name->DisplayText(), "[Artikel 1]");
    EXPECT_EQ(name->EditText(), "[Artikel 1]");
    EXPECT_EQ(kinds, (std::vector<TTextKind>{tkDisplay, tkEdit}));
    grid->OnColSetText = [](TXColumn*, std::string& text) { text = "Ny " + text; };
    table->Edit();
    name->SetEditText("vara");
    EXPECT_EQ(table->FieldByName("NAME").AsString(), "Ny vara");
    table->Cancel();
    // The same text again writes nothing.
    grid->OnColGetText = nullptr;
    grid->OnColSetText = [](TXColumn*, std::string&) { FAIL() << "an unchanged text is not written"; };
    name->SetEditText("Artikel 1");
    EXPECT_EQ(Columns().Add()->DisplayText(), "");
}

TEST_F(GridColumns, OptimalWidthIsTheWidestBufferedTextPlusFour) {
    TXColumn* name = Stored("NAME");
    table->Locate("ID", Variant(2), {});
    const int active = grid->DataLink()->ActiveRecord();
    EXPECT_EQ(name->OptimalWidth(), 9 * 8 + 4);  // "Artikel 1" .. "Artikel 3"
    EXPECT_EQ(grid->DataLink()->ActiveRecord(), active);
    table->Close();
    name->SetWidth(55);
    EXPECT_EQ(name->OptimalWidth(), 55);
}

TEST_F(GridColumns, ADefaultColumnsWidthGoesBackToItsField) {
    TXColumn* name = Columns()[1];
    name->SetWidth(8 * 12 + 4);
    EXPECT_EQ(table->FieldByName("NAME").DisplayWidth(), 12);
    EXPECT_EQ(name->Width(), 100);
    EXPECT_EQ(grid->ColWidths(2), 100);
}

}  // namespace
}  // namespace tv
