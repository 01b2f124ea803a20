// Column collections as form text: a collection saved and loaded equals the original, only values
// that were given are written, bad text is refused with the parser's error, and the grid's form
// properties "Columns" and "OrderFields" are written when they carry something and read back in a
// form's loading bracket.

#include <gtest/gtest.h>

#include <string>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"
#include "platform/rtl/parser.h"
#include "platform/rtl/streams.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

std::string Saved(TXDBGridColumns& columns) {
    TMemoryStream stream;
    columns.SaveToStream(stream);
    std::string text(static_cast<size_t>(stream.Size()), '\0');
    stream.SetPosition(0);
    stream.ReadBuffer(text.data(), stream.Size());
    return text;
}

void Load(TXDBGridColumns& columns, const std::string& text) {
    TMemoryStream stream;
    stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
    stream.SetPosition(0);
    columns.LoadFromStream(stream);
}

class GridStreams : public test::GridTest {
protected:
    GridStreams() { UseNumberedTable(3); }

    // Columns with a value of nearly every kind given.
    void FillColumns(TXDBGrid& grid) {
        TXColumn* id = grid.Columns()->Add();
        id->SetFieldName("ID");
        id->SetWidth(64);
        id->SetAlignment(taCenter);
        id->Title()->SetCaption("Nr 'ett'\r\nÅr");
        id->Title()->SetMarker(tmDescend);
        id->Title()->SetMarkerIndex(3);
        TXColumn* name = grid.Columns()->Add();
        name->SetFieldName("NAME");
        name->SetVisible(false);
        name->SetColor(clYellow);
        name->Font()->SetName("DejaVu Sans Mono");
        name->Font()->SetStyle({fsBold, fsItalic});
        name->SetWidthMax(300);
        name->SetWidthMin(-1);
        name->SetPickOptions({poStoreItemIndex, poSortedByText});
        name->PickList()->Add("1");
        name->PickList()->Add("2");
        name->PickText()->Add("ett");
        name->PickText()->Add("");
        name->SetCharCase(ecUpperCase);
        name->Title()->Font()->SetHeight(-15);
        name->Title()->SetHeader("Artikel|Namn");
        TXColumn* active = grid.Columns()->Add();
        active->SetFieldName("ACTIVE");
        active->SetCheckBox(true);
        active->SetCheckBoxValues("1;0");
        active->SetCheckBoxKind(ckCross);
        active->SetListOptions({});
        active->SetReadOnly(true);
        active->SetImageOffsetX(-3);
        grid.SetOrderFields("ID DESC");
    }
};

TEST_F(GridStreams, ACollectionSavedAndLoadedEqualsTheOriginal) {
    auto* grid = AddGrid<TXDBGrid>(400, 200);
    FillColumns(*grid);
    const std::string text = Saved(*grid->Columns());

    auto* other = AddGrid<TXDBGrid>(400, 200);
    other->Columns()->Add()->SetFieldName("PRICE");
    Load(*other->Columns(), text);
    EXPECT_EQ(Saved(*other->Columns()), text);
    EXPECT_EQ(other->OrderFields(), "ID DESC");
    ASSERT_EQ(other->Columns()->Count(), 3);
    for (int i = 0; i < 3; ++i) {
        TXColumn* a = grid->Columns()->Items(i);
        TXColumn* b = other->Columns()->Items(i);
        EXPECT_EQ(b->AssignedValues(), a->AssignedValues()) << i;
        EXPECT_EQ(b->Field(), a->Field()) << i;
        EXPECT_EQ(b->TrueWidth(), a->TrueWidth()) << i;
        EXPECT_EQ(b->Visible(), a->Visible()) << i;
        EXPECT_EQ(b->Title()->Caption(), a->Title()->Caption()) << i;
        EXPECT_TRUE(SameFont(*b->Font(), *a->Font())) << i;
        EXPECT_TRUE(SameFont(*b->Title()->Font(), *a->Title()->Font())) << i;
    }
    TXColumn* name = other->Columns()->Items(1);
    EXPECT_EQ(name->PickText()->Count(), 2);
    EXPECT_EQ(name->PickText()->Strings(1), "");
    EXPECT_EQ(name->PickOptions(), (TXPickOptions{poStoreItemIndex, poSortedByText}));
    EXPECT_EQ(name->Color(), clYellow);
    EXPECT_EQ(other->Columns()->Items(0)->Title()->Caption(), "Nr 'ett'\r\nÅr");
    EXPECT_EQ(other->Columns()->Items(2)->ListOptions(), TXListOptions{});
    EXPECT_EQ(other->Columns()->Items(2)->ImageOffsetX(), -3);

    // The same through a file.
    test::TempDir dir;
    grid->Columns()->SaveToFile(dir.Path("columns.txt"));
    TXDBGrid loose;
    loose.Columns()->LoadFromFile(dir.Path("columns.txt"));
    EXPECT_EQ(loose.Columns()->Count(), 3);
    EXPECT_EQ(loose.OrderFields(), "ID DESC");
}

TEST_F(GridStreams, OnlyTheValuesAColumnWasGivenAreWritten) {
    TXDBGrid grid;
    TXColumn* column = grid.Columns()->Add();
    column->SetFieldName("ID");
    EXPECT_EQ(Saved(*grid.Columns()), "object TXColumnsWrapper\n"
                                      "  Columns = <\n"
                                      "    item\n"
                                      "      FieldName = 'ID'\n"
                                      "    end>\n"
                                      "end\n");
    // A hidden column writes its own width, not the room it takes.
    column->SetWidth(70);
    column->SetVisible(false);
    column->Title()->SetCaption("Id");
    EXPECT_EQ(Saved(*grid.Columns()), "object TXColumnsWrapper\n"
                                      "  Columns = <\n"
                                      "    item\n"
                                      "      FieldName = 'ID'\n"
                                      "      Visible = False\n"
                                      "      Width = 70\n"
                                      "      Title.Caption = 'Id'\n"
                                      "    end>\n"
                                      "end\n");
}

TEST_F(GridStreams, BadTextIsRefusedAndTheColumnsStay) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"object TForm\nend\n", "TXColumnsWrapper expected on line 1"},
        {"object TXColumnsWrapper\n  Colors = <>\nend\n", "Property Colors does not exist on line 2"},
        {"object TXColumnsWrapper\n  Columns = <\n item\n Height = 3\n end>\nend\n",
         "Property Height does not exist on line 4"},
        {"object TXColumnsWrapper\n  Columns = <\n item\n Visible = 1\n end>\nend\n", "Identifier expected on line 4"},
        {"object TXColumnsWrapper\n  Columns = <\n item\n ImageDraw = idNowhere\n end>\nend\n",
         "Invalid property value on line 4"},
        {"object TXColumnsWrapper\n  Columns = <\n item\n FieldName = 'ID'\n", "Identifier expected on line 5"},
    };
    TXDBGrid grid;
    grid.Columns()->Add()->SetFieldName("NAME");
    for (const Case& c : cases) {
        try {
            Load(*grid.Columns(), c.text);
            ADD_FAILURE() << c.text << " was read";
        } catch (const EParserError& e) {
            EXPECT_STREQ(e.what(), c.error) << c.text;
        }
        EXPECT_EQ(grid.Columns()->Count(), 1);
        EXPECT_EQ(grid.Columns()->Items(0)->FieldName(), "NAME");
    }
}

TEST_F(GridStreams, TheFormPropertiesAreWrittenWhenTheyCarrySomething) {
    TXDBGrid grid, ancestor;
    EXPECT_EQ(grid.DefinedPropertiesText(nullptr, "  "), "");
    grid.Columns()->Add()->SetFieldName("ID");
    grid.SetOrderFields("ID");
    EXPECT_EQ(grid.DefinedPropertiesText(nullptr, "  "), "  Columns = <\n"
                                                         "    item\n"
                                                         "      FieldName = 'ID'\n"
                                                         "      Title.Marker = tmAscend\n"
                                                         "      Title.MarkerIndex = 2\n"
                                                         "    end>\n"
                                                         "  OrderFields = 'ID'\n");
    // Against an ancestor: written only when the columns differ from its columns (the order's
    // markers included).
    EXPECT_TRUE(grid.ColumnsStored(&ancestor));
    ancestor.Columns()->Add()->SetFieldName("ID");
    EXPECT_TRUE(grid.ColumnsStored(&ancestor));
    ancestor.SetOrderFields("ID");
    EXPECT_FALSE(grid.ColumnsStored(&ancestor));
    ancestor.Columns()->Items(0)->SetWidth(30);
    EXPECT_TRUE(grid.ColumnsStored(&ancestor));
}

TEST_F(GridStreams, AFormReadsTheColumnsAndTheOrderInItsLoadingBracket) {
    form.BeginLoading();
    auto* grid = new TXDBGrid(&form);
    grid->SetParent(&form);
    grid->SetBounds(10, 10, 400, 200);
    grid->SetDataSource(&source);
    TParser parser("  Columns = <\n    item\n      FieldName = 'NAME'\n    end\n    item\n"
                   "      FieldName = 'ID'\n      Width = 30\n    end>\n  OrderFields = 'NAME'\n  Left = 10\n");
    while (grid->ReadDefinedProperty(parser)) {
    }
    EXPECT_TRUE(parser.TokenSymbolIs("Left"));  // not the grid's to read
    EXPECT_EQ(grid->ColCount(), 2);             // nothing laid out while loading
    form.EndLoading();
    EXPECT_EQ(grid->ColCount(), 3);
    EXPECT_EQ(grid->Columns()->Items(0)->Field(), &table->FieldByName("NAME"));
    EXPECT_EQ(grid->Columns()->Items(1)->TrueWidth(), 30);
    EXPECT_EQ(grid->OrderFields(), "NAME");
}

}  // namespace
}  // namespace tv
