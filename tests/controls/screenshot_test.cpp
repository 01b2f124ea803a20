// Pictures of the controls and grids, saved by `make screenshots` to be looked at by eye.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QWindow>
#include <memory>
#include <string>

#include "controls/db_lookup_controls_x.h"
#include "controls/db_pick_combo.h"
#include "controls/xdb_column_totals.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_inplace_edit.h"
#include "controls/xdb_navigator.h"
#include "controls_fixture.h"
#include "grid_test_support.h"
#include "platform/gui/form.h"
#include "platform/gui/grid.h"
#include "platform/gui/image_list.h"
#include "platform/gui/label.h"
#include "platform/gui/theme_services.h"
#include "tests/support/screenshot.h"

namespace tv {
namespace {

TLabel* Caption(TForm& form, const char* text, int top) {
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetBounds(12, top + 3, 120, 17);
    label->SetCaption(text);
    return label;
}

// A settings page with this library's controls: a pick-list combo, a lookup combo, a lookup list
// and a navigator over the users.
TEST(Screenshot, Controls) {
    test::ControlForm f;
    f.form.SetCaption("Kontroller");
    f.form.SetBounds(60, 60, 470, 260);
    Caption(f.form, "Urval:", 12);
    auto* pick = new TDBPickCombo(&f.form);
    pick->SetParent(&f.form);
    pick->SetBounds(140, 12, 200, 21);
    pick->Values()->SetDelimitedText("Alla,SQL");
    pick->Items()->SetDelimitedText("Samtliga,SQL");
    pick->SetDataSource(&f.source);
    pick->SetDataField("SELECTION");
    Caption(f.form, "Standardanvändare:", 42);
    auto* user = f.Bound<TDBLookupComboX>("USERID", 42);
    user->SetBounds(140, 42, 200, 21);
    user->SetListSource(&f.userSource);
    user->SetKeyField("ID");
    user->SetListField("SIGNATURE;DESCR");
    auto* users = f.Bound<TDBLookupListBoxX>("USERID", 72, 76);
    users->SetBounds(140, 72, 300, 76);
    users->SetListSource(&f.userSource);
    users->SetKeyField("ID");
    users->SetListField("SIGNATURE;DESCR");
    Caption(f.form, "Användare:", 160);
    auto* nav = new TXDBNavigator(&f.form);
    nav->SetParent(&f.form);
    nav->SetBounds(140, 160, 300, 25);
    nav->SetDataSource(&f.userSource);
    test::SaveScreenshot(f.form, "controls");
    EXPECT_EQ(pick->Text(), "Samtliga");
    EXPECT_EQ(user->Text(), "CD");
    user->DropDown();
    EXPECT_TRUE(user->ListVisible());
    test::SaveScreenshot(f.form, "controls_lookup_dropped_down");
    user->CloseUp(false);
}

// The base grid with a title per column, a number per row and a text per cell, drawn over the
// base grid's own fills.
class TLabelledGrid : public TCustomGrid {
public:
    using TCustomGrid::TCustomGrid;

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override {
        TCustomGrid::DrawCell(ACol, ARow, ARect, AState);
        std::string text;
        if (ARow == 0 && ACol > 0)
            text = "Kolumn " + std::to_string(ACol);
        else if (ACol == 0 && ARow > 0)
            text = std::to_string(ARow);
        else if (ACol > 0)
            text = std::string(1, static_cast<char>('A' + ACol - 1)) + std::to_string(ARow);
        TCanvas* c = Canvas();
        c->Font()->SetColor(AState.Contains(gdSelected) ? clHighlightText : clWindowText);
        c->Brush()->SetStyle(bsClear);
        c->TextRect(ARect, ARect.Left + 2, ARect.Top + (ARect.Height() - c->TextHeight(text)) / 2, text);
    }
};

TEST(Screenshot, BaseGrid) {
    TForm form;
    form.SetCaption("Grundrutnät");
    form.SetBounds(40, 40, 460, 300);
    auto* grid = new TLabelledGrid(&form);
    grid->SetParent(&form);
    grid->SetAlign(alClient);
    grid->SetColCount(10);
    grid->SetRowCount(50);
    grid->SetDefaultRowHeight(20);
    grid->SetColWidths(0, 36);
    grid->SetOptions(grid->Options() + TGridOptions{goColSizing, goEditing});
    grid->FocusCell(2, 3);
    test::SaveScreenshot(form, "base_grid");
    EXPECT_EQ(grid->Col(), 2);
}

// A form 480 x 320 filled by a data grid with the columns ID, NAME, PRICE and ACTIVE (ID 40 wide)
// over numbered articles; the grid is bound once the test has set it up.
struct TArticleGridForm {
    explicit TArticleGridForm(int records, const char* caption) : table(test::NumberedTable(records)) {
        test::EnsureGridFonts();
        source.SetDataSet(table.get());
        form.SetCaption(caption);
        form.SetBounds(40, 40, 480, 320);
        grid = new TXDBGrid(&form);
        grid->SetParent(&form);
        grid->SetAlign(alClient);
        for (const char* name : {"ID", "NAME", "PRICE", "ACTIVE"}) grid->Columns()->Add()->SetFieldName(name);
        grid->Columns()->Items(0)->SetWidth(40);
    }
    ~TArticleGridForm() { delete grid; }

    std::unique_ptr<TClientDataSet> table;
    TDataSource source;
    TForm form;
    TXDBGrid* grid = nullptr;
};

// The data grid's layout over articles: the indicator column, one title row, stored columns with
// their widths (one of them hidden), a fixed first column, the data rows the link buffers and a
// footer row under a blank row.
TEST(Screenshot, DataGrid) {
    TArticleGridForm f(30, "Artiklar");
    f.grid->Columns()->Items(3)->SetVisible(false);
    f.grid->SetFixedCols(1);
    f.grid->SetOptionsEx({dgTotalFooter});
    f.grid->SetDataSource(&f.source);
    f.table->MoveBy(3);
    test::SaveScreenshot(f.form, "data_grid");
    EXPECT_EQ(f.grid->DataRowCount(), f.grid->VisibleDataRowCount());
}

// The data grid painting itself: titles with their captions, the indicator with the filler
// triangle, the current record's arrow and the dots of two selected records, striped rows, a
// right-aligned price column, and the vertical bar counting the records.
TEST(Screenshot, DataGridStriped) {
    TArticleGridForm f(40, "Artiklar, randiga rader");
    TXDBGrid* grid = f.grid;
    grid->Columns()->Items(1)->SetWidth(180);
    grid->Columns()->Items(2)->SetAlignment(taRightJustify);
    grid->Columns()->Items(1)->Title()->SetCaption("Benämning");
    grid->SetStripeColor(clDefault);
    grid->SetDataSource(&f.source);
    for (int recNo : {4, 6}) {
        f.table->SetRecNo(recNo);
        grid->SelectedRows()->SetCurrentRowSelected(true);
    }
    f.table->SetRecNo(3);
    test::SaveScreenshot(f.form, "data_grid_striped");
    EXPECT_EQ(grid->VertScrollInfo().Pos, 3);
}

// Totals under the articles: a header row with captions, two value rows (the sum and the average
// of the price, the count of numbers, a date and a Boolean pattern), boxed footer cells merged
// across the column lines, and the footer caption's selected part while two rows are selected.
TEST(Screenshot, DataGridTotals) {
    TArticleGridForm f(12, "Artiklar med summor");
    TXDBGrid* grid = f.grid;
    grid->Columns()->Items(1)->SetWidth(150);
    grid->Columns()->Items(2)->SetWidth(110);
    grid->Columns()->Items(2)->SetAlignment(taRightJustify);
    grid->SetOptionsEx({dgTotalHeader, dgTotalValues, dgTotalFooter, dgTotalFooterBox, dgCalcWholeDataSet,
                        dgCalcSelectedRows});
    grid->Gradient()->SetActive(false);
    grid->Totals()->SetSelectedColor(clInfoBk);
    TXColumn* id = grid->Columns()->Items(0);
    TXColumn* name = grid->Columns()->Items(1);
    TXColumn* price = grid->Columns()->Items(2);
    name->TotalHeader()->SetCaption("Summering");
    price->TotalHeader()->SetCaption("Pris");
    price->TotalHeader()->SetAlignment(taCenter);
    auto calc = [](TXColumnTotalValue* t, TCalcValue kind, const char* format) {
        t->SetTotalResult(trCalcValue);
        t->SetCalcValue(kind);
        t->SetFormat(format);
    };
    calc(price->TotalValues()->Add(), cvSum, "Summa %.2f");
    calc(price->TotalValues()->Add(), cvAvg, "Medel %.2f");
    calc(id->TotalValues()->Add(), cvCount, "%d st");
    name->TotalValues()->Add()->SetValue(Variant::FromDate(46367));
    name->TotalValues()->Items(0)->SetFormat("Datum %yyyy-mm-dd%");
    name->TotalValues()->Add()->SetValue(Variant(true));
    name->TotalValues()->Items(1)->SetFormat("Aktiv: %ja;nej%");
    name->TotalFooter()->SetCaption("Alla artiklar|Markerade artiklar");
    grid->SetDataSource(&f.source);
    for (int recNo : {2, 5}) {
        f.table->SetRecNo(recNo);
        grid->SelectedRows()->SetCurrentRowSelected(true);
    }
    grid->Totals()->SelectedRows = true;
    grid->UpdateTotals(false);
    test::SaveScreenshot(f.form, "data_grid_totals");
    EXPECT_EQ(price->TotalValues()->Items(0)->DisplayText(), "Summa 73.50");
    EXPECT_EQ(grid->GetTotalText(name, 3, tkDisplay), "Markerade artiklar");
}

// Selected rows: the four articles from the anchor (3) to 6 (drawn in the selection colour, dots
// in the indicator), and article 9 added on its own and anchored there (the bar beside the arrow
// of the current record).
TEST(Screenshot, DataGridSelectedRows) {
    TArticleGridForm f(20, "Artiklar, markerade rader");
    TXDBGrid* grid = f.grid;
    grid->Columns()->Items(1)->SetWidth(180);
    grid->SetOptions(grid->Options() + TXDBGridOptions{dgMultiSelect, dgAlwaysShowSelection});
    grid->SetDataSource(&f.source);
    f.table->SetRecNo(3);
    grid->SetSelectionAnchor(f.table->GetBookmark());
    f.table->SetRecNo(6);
    grid->SelectRows();
    f.table->SetRecNo(9);
    grid->SetSelectionAnchor(f.table->GetBookmark());
    grid->SelectRow();
    test::SaveScreenshot(f.form, "data_grid_selected_rows");
    EXPECT_EQ(grid->SelectedRows()->Count(), 5);
}

// Two title rows: "Artikel" over the name and the price, whose header "Försäljning" is one cell
// over both; the number fills both rows; the group's open arrow at its right; a closed group
// "Lager" (over the active flag) beside it with its closed arrow; two selected records.
TEST(Screenshot, DataGridColumnGroups) {
    TArticleGridForm f(20, "Artiklar i grupper");
    TXDBGrid* grid = f.grid;
    TXDBGridColumns* columns = grid->Columns();
    TXColumn* article = columns->Add();
    article->SetIndex(1);
    article->SetExpandCols(2);
    article->Title()->SetCaption("Artikel");
    columns->Items(2)->SetWidth(150);
    columns->Items(2)->Title()->SetCaption("Benämning");
    columns->Items(2)->Title()->SetHeader("Försäljning");
    columns->Items(3)->SetAlignment(taRightJustify);
    columns->Items(3)->Title()->SetCaption("Pris");
    columns->Items(3)->Title()->SetHeader("Försäljning");
    TXColumn* stock = columns->Add();
    stock->SetIndex(4);  // heading the active flag
    stock->SetExpandCols(1);
    stock->SetWidth(70);
    stock->Title()->SetCaption("Lager");
    stock->SetExpanded(false);
    grid->SetDataSource(&f.source);
    for (int recNo : {2, 5}) {
        f.table->SetRecNo(recNo);
        grid->SelectedRows()->SetCurrentRowSelected(true);
    }
    f.table->SetRecNo(3);
    test::SaveScreenshot(f.form, "data_grid_column_groups");
    EXPECT_EQ(grid->TitleRowCount(), 2);
}

// A data grid filling a form of `width` x `height` titled `caption`.
TXDBGrid* FormGrid(TForm& form, const char* caption, int width, int height) {
    form.SetCaption(caption);
    form.SetBounds(40, 40, width, height);
    auto* grid = new TXDBGrid(&form);
    grid->SetParent(&form);
    grid->SetAlign(alClient);
    return grid;
}

// Sort markers on three columns, numbered in their order: "Benämning" first and ascending, the
// price second and descending, the number third; each marker just after its caption.
TEST(Screenshot, DataGridSortMarkers) {
    TArticleGridForm f(20, "Artiklar, sorterade");
    TXDBGrid* grid = f.grid;
    grid->Columns()->Items(0)->SetWidth(60);
    grid->Columns()->Items(1)->SetWidth(170);
    grid->Columns()->Items(1)->Title()->SetCaption("Benämning");
    grid->Columns()->Items(2)->SetWidth(110);
    grid->Columns()->Items(2)->SetAlignment(taRightJustify);
    grid->Columns()->Items(2)->Title()->SetAlignment(taCenter);
    grid->SetDataSource(&f.source);
    grid->SetOrderFields("NAME,PRICE DESC,ID");
    test::SaveScreenshot(f.form, "data_grid_sort_markers");
    EXPECT_EQ(grid->OrderFields(), "NAME,PRICE DESC,ID");
}

// The rule editor's grid of rules: the rule name titled "Regel", the description hidden, and the
// side as an "Import" check-box column with the texts "1;0"; a rule name being edited.
TEST(Screenshot, DataGridEditedWithCheckBox) {
    test::EnsureGridFonts();
    auto table = test::ClientTable({{"RULENAME", TFieldType::ftString, 40},
                                    {"RULE_DESCRIPTION", TFieldType::ftString, 80},
                                    {"RULE_IMPORT_OR_EXPORT", TFieldType::ftString, 1}},
                                   {{"Hämta order", "", "1"}, {"Skicka fakturor", "", "0"}, {"Lager", "", "1"}});
    TDataSource source;
    source.SetDataSet(table.get());
    TForm form;
    auto* grid = FormGrid(form, "Regler", 360, 200);
    grid->Columns()->Add()->SetFieldName("RULENAME");
    grid->Columns()->Items(0)->Title()->SetCaption("Regel");
    grid->Columns()->Items(0)->SetWidth(180);
    grid->Columns()->Add()->SetFieldName("RULE_DESCRIPTION");
    grid->Columns()->Items(1)->SetVisible(false);
    TXColumn* side = grid->Columns()->Add();
    side->SetFieldName("RULE_IMPORT_OR_EXPORT");
    side->Title()->SetCaption("Import");
    side->SetCheckBox(true);
    side->SetCheckBoxValues("1;0");
    side->SetWidth(50);  // as the rule editor sizes it
    grid->SetDataSource(&source);
    form.Show();
    table->Next();
    side->ToggleCheckBoxValue();  // "Skicka fakturor" goes to the import side
    table->Post();
    grid->SetSelectedIndex(0);
    grid->ShowEditor();
    test::SaveScreenshot(form, "data_grid_edited_check_box");
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_EQ(grid->InplaceEditor()->Text(), "Skicka fakturor");
    EXPECT_EQ(table->FieldByName("RULE_IMPORT_OR_EXPORT").AsString(), "1");
    delete grid;
}


// A price list with pictures: the article's picture from a graphic field scaled into two-line rows,
// a status image from the column's Images by the field's value, and two check-box columns framed
// in their box styles (flat, and lowered dark) on a grid of the flat fixed style.
TEST(Screenshot, DataGridPictures) {
    test::EnsureGridFonts();
    auto picture = [](QColor face, int shape) {
        QImage image(48, 32, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setBrush(face);
        p.setPen(Qt::black);
        if (shape == 0) p.drawEllipse(4, 2, 40, 27);
        if (shape == 1) p.drawRect(6, 4, 35, 23);
        if (shape == 2) p.drawPolygon(QPolygon({QPoint(24, 2), QPoint(45, 29), QPoint(3, 29)}));
        p.end();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "BMP");
        return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
    };
    auto table = test::ClientTable({{"NAME", TFieldType::ftString, 30},
                                    {"PIC", TFieldType::ftGraphic},
                                    {"STATUS", TFieldType::ftInteger},
                                    {"STOCKED", TFieldType::ftBoolean},
                                    {"ORDERED", TFieldType::ftString, 3}},
                                   {{"Skruv M6", picture(QColor(200, 60, 60), 0), "0", "True", "Ja"},
                                    {"Bricka 8 mm", picture(QColor(60, 140, 220), 1), "1", "False", "Nej"},
                                    {"Mutter M6", picture(QColor(80, 170, 80), 2), "2", "True", "?"},
                                    {"Plugg", picture(QColor(230, 190, 40), 0), "1", "False", "Ja"}});
    TImageList status;
    status.SetWidth(12);
    status.SetHeight(12);
    for (QColor colour : {QColor(0, 160, 0), QColor(230, 160, 0), QColor(200, 0, 0)}) {
        QImage dot(12, 12, QImage::Format_RGB32);
        dot.fill(Qt::white);
        QPainter p(&dot);
        p.setBrush(colour);
        p.setPen(Qt::NoPen);
        p.drawEllipse(1, 1, 10, 10);
        p.end();
        TBitmap bitmap;
        bitmap.SetImage(dot);
        status.AddMasked(&bitmap, clWhite);
    }
    TDataSource source;
    source.SetDataSet(table.get());
    TForm form;
    auto* grid = FormGrid(form, "Prislista", 470, 230);
    grid->SetFixedStyle(fsFlat);
    grid->SetLinesCount(2);
    grid->Columns()->Add()->SetFieldName("NAME");
    grid->Columns()->Items(0)->Title()->SetCaption("Artikel");
    grid->Columns()->Items(0)->SetWidth(120);
    TXColumn* pic = grid->Columns()->Add();
    pic->SetFieldName("PIC");
    pic->Title()->SetCaption("Bild");
    pic->SetImageDraw(idScaled);
    pic->SetImageOffsetX(2);
    pic->SetImageOffsetY(2);
    pic->SetWidth(70);
    TXColumn* state = grid->Columns()->Add();
    state->SetFieldName("STATUS");
    state->Title()->SetCaption("Status");
    state->SetImages(&status);
    state->SetWidth(60);
    TXColumn* stocked = grid->Columns()->Add();
    stocked->SetFieldName("STOCKED");
    stocked->Title()->SetCaption("I lager");
    stocked->SetCheckBox(true);
    stocked->SetCheckBoxStyle(cbAuto);  // cbFlat under fsFlat
    stocked->SetWidth(70);
    TXColumn* ordered = grid->Columns()->Add();
    ordered->SetFieldName("ORDERED");
    ordered->Title()->SetCaption("Beställd");
    ordered->SetCheckBox(true);
    ordered->SetCheckBoxValues("Ja;Nej");
    ordered->SetCheckBoxKind(ckCross);
    ordered->SetCheckBoxStyle(cbLoweredDark);
    ordered->SetWidth(80);
    grid->SetDataSource(&source);
    form.Show();
    test::SaveScreenshot(form, "data_grid_pictures");
    EXPECT_EQ(grid->GetBoxStyle(cbAuto), cbFlat);
    delete grid;
}

// The grid's editor with its pick list open below the cell: the drop-down button pressed in the
// cell, the list of the column's pick values with the cell's value chosen.
TEST(Screenshot, DataGridPickListOpen) {
    TArticleGridForm f(12, "Artiklar");
    TXColumn* name = f.grid->Columns()->Items(1);
    name->SetWidth(160);
    name->PickList()->SetCommaText("\"Artikel 1\",\"Artikel 2\",\"Artikel 3\",\"Artikel 4\",\"Artikel 5\",\"Artikel 6\"");
    f.grid->SetDataSource(&f.source);
    f.form.Show();
    QWidget* window = f.form.Widget();
    test::WaitUntil([window] { return window->windowHandle() && window->windowHandle()->isExposed(); }, 5000);
    window->activateWindow();
    f.table->MoveBy(2);
    f.grid->SetSelectedIndex(1);
    f.grid->ShowEditor();
    auto* editor = dynamic_cast<TXDBGridInplaceEdit*>(f.grid->InplaceEditor());
    ASSERT_NE(editor, nullptr);
    ASSERT_EQ(editor->EditStyle(), esPickList);
    editor->DropDown();
    ASSERT_TRUE(editor->ListVisible());
    // Slid open to its full height on the timer.
    QWidget* list = editor->ActiveList()->Widget();
    test::WaitUntil([list] { return list->windowHandle() && list->windowHandle()->isExposed(); }, 5000);
    test::WaitUntil([editor] { return editor->ActiveList()->ClientHeight() >= 6 * 10; }, 500);
    test::SaveScreenshot(f.form, "data_grid_pick_list_open");
    EXPECT_TRUE(editor->ListVisible());
    EXPECT_EQ(editor->Text(), "Artikel 3");
    editor->CloseUp(false);
}

// The themed look: the articles with their titles as the desktop style's push buttons, check boxes
// of the style, the indicator and the footer themed too; under it a navigator whose buttons are the style's push buttons.
TEST(Screenshot, DataGridThemed) {
    SetThemesEnabled(true);
    {
        TArticleGridForm f(20, "Artiklar, tema");
        TXDBGrid* grid = f.grid;
        grid->SetAlign(alNone);
        grid->SetBounds(0, 0, 480, 260);
        grid->SetFixedTheme(ftButtons);
        grid->SetOptionsEx({dgTotalFooter, dgTotalFooterBox});
        grid->Columns()->Items(1)->SetWidth(170);
        grid->Columns()->Items(3)->SetCheckBox(true);
        grid->SetDataSource(&f.source);
        grid->Columns()->Items(1)->TotalFooter()->SetCaption("Summa");
        auto* nav = new TXDBNavigator(&f.form);
        nav->SetParent(&f.form);
        nav->SetBounds(8, 268, 240, 25);
        nav->SetDataSource(&f.source);
        f.table->SetRecNo(3);
        f.form.Show();
        test::SaveScreenshot(f.form, "data_grid_themed");
        EXPECT_TRUE(grid->IsGridThemed());
    }
    SetThemesEnabled(false);
}

}  // namespace
}  // namespace tv
