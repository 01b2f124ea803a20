// The grid's saved layout: the lines it writes for its columns and options, how lines are applied
// (only a matching column count moves columns; missing and non-numeric values keep the current
// ones), the section it uses, the INI and registry stores, and the automatic load at the first
// activation and save at destruction.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"
#include "platform/gui/application.h"
#include "platform/ini/registry_ini.h"
#include "platform/rtl/files.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

std::vector<std::string> Lines(TStrings* list) {
    std::vector<std::string> lines;
    for (int i = 0; i < list->Count(); ++i) lines.push_back(list->Strings(i));
    return lines;
}

class GridSettings : public test::GridTest {
protected:
    GridSettings() {
        table = test::ClientTable(
            {{"A", TFieldType::ftString, 10}, {"B", TFieldType::ftString, 10}, {"C", TFieldType::ftString, 10}},
            {{"a1", "b1", "c1"}, {"a2", "b2", "c2"}});
        source.SetDataSet(table.get());
        form.SetName("FormSettings");
    }
    ~GridSettings() override { SetRegistryFolderProvider(nullptr); }

    // A grid named Grid1 with stored columns A, B and C, 50, 60 and 70 wide.
    TXDBGrid* AddLayoutGrid() {
        auto* grid = AddGrid<TXDBGrid>(400, 200);
        grid->SetName("Grid1");
        const char* names[] = {"A", "B", "C"};
        for (int i = 0; i < 3; ++i) {
            TXColumn* column = grid->Columns()->Add();
            column->SetFieldName(names[i]);
            column->SetWidth(50 + 10 * i);
        }
        return grid;
    }
    static std::string Order(TXDBGrid& grid) {
        std::string order;
        for (int i = 0; i < grid.Columns()->Count(); ++i) order += grid.Columns()->Items(i)->FieldName();
        return order;
    }
    static std::vector<int> Widths(TXDBGrid& grid) {
        std::vector<int> widths;
        for (int i = 0; i < grid.Columns()->Count(); ++i) widths.push_back(grid.Columns()->Items(i)->WidthBase());
        return widths;
    }
    static std::string Shown(TXDBGrid& grid) {
        std::string shown;
        for (int i = 0; i < grid.Columns()->Count(); ++i) shown += grid.Columns()->Items(i)->Visible() ? "1" : "0";
        return shown;
    }
    static void Apply(TXDBGrid& grid, const std::vector<std::string>& lines) {
        TStringList list;
        for (const std::string& line : lines) list.Add(line);
        grid.Settings()->SetLayout(&list);
    }

    test::TempDir dir;
};

TEST_F(GridSettings, TheLayoutHoldsTheColumnCountAndALinePerColumn) {
    TXDBGrid* grid = AddLayoutGrid();
    EXPECT_EQ(Lines(grid->Settings()->Layout()),
              (std::vector<std::string>{"Columns=3", "Column1=A,50,1,0", "Column2=B,60,1,0", "Column3=C,70,1,0"}));

    // The options add their lines around the columns; OnLayout sees the list and may add to it.
    grid->Columns()->Items(1)->SetVisible(false);
    grid->SetOrderFields("B DESC,A");
    grid->SetLinesCount(2);
    grid->Settings()->SetOptions({soLoadLayout, soUserSettings, soOrderFields, soLinesCount, soStretchMode});
    std::vector<bool> applied;
    grid->OnLayout = [&](TObject* sender, TStrings* layout, bool apply) {
        EXPECT_EQ(sender, grid);
        applied.push_back(apply);
        if (!apply) layout->Add("Mine=1");
    };
    EXPECT_EQ(Lines(grid->Settings()->Layout()),
              (std::vector<std::string>{"AutoLoadLayout=1", "AutoSaveLayout=0", "Columns=3", "Column1=A,50,1,0",
                                        "Column2=B,60,0,0", "Column3=C,70,1,0", "OrderFields=B DESC,A",
                                        "LinesCount=2", "StretchMode=0", "Mine=1"}));
    EXPECT_EQ(applied, std::vector<bool>{false});
}

TEST_F(GridSettings, AppliedLinesMoveSizeAndHideColumnsOnlyWhenTheCountMatches) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::string order;
        std::vector<int> widths;
        std::string shown;
    };
    const std::vector<Case> cases = {
        {"C, A, B with widths", {"Columns=3", "Column1=C,80,1,0", "Column2=A,50,0,0", "Column3=B,60,1,0"},
         "CAB", {80, 50, 60}, "101"},
        {"another column count", {"Columns=4", "Column1=C,80,1,0", "Column2=A,50,0,0", "Column3=B,60,1,0"},
         "ABC", {50, 60, 70}, "111"},
        {"no count", {"Column1=C,80,1,0"}, "ABC", {50, 60, 70}, "111"},
        {"names in any case, the first line wins",
         {"COLUMNS=3", "column1=c,81,1,0", "Column1=B,99,0,0"}, "CAB", {81, 50, 60}, "111"},
        {"a field no column has keeps its place", {"Columns=3", "Column1=X,10,0,0", "Column2=C,11,1,0"},
         "ACB", {50, 11, 60}, "111"},
        {"missing and non-numeric values keep the current ones",
         {"Columns=3", "Column1=B,wide,0", "Column2=A", "Column3=C,,x,1"}, "BAC", {60, 50, 70}, "011"},
        // A column is looked for from the line's position on; Z names none, so A stays last.
        {"search from the line's position on", {"Columns=3", "Column1=C,1,1,0", "Column2=B,2,1,0", "Column3=Z,3,1,0"},
         "CBA", {1, 2, 50}, "111"},
    };
    for (const Case& c : cases) {
        TXDBGrid* grid = AddLayoutGrid();
        Apply(*grid, c.lines);
        EXPECT_EQ(Order(*grid), c.order) << c.name;
        EXPECT_EQ(Widths(*grid), c.widths) << c.name;
        EXPECT_EQ(Shown(*grid), c.shown) << c.name;
        delete grid;
    }
}

TEST_F(GridSettings, AFieldNameWithACommaDoesNotFindItsColumnAgain) {
    TXDBGrid* grid = AddLayoutGrid();
    grid->Columns()->Items(0)->SetFieldName("X,Y");
    grid->Columns()->Items(0)->MoveTo(2);
    const std::vector<std::string> lines = Lines(grid->Settings()->Layout());
    EXPECT_EQ(lines[3], "Column3=X,Y,50,1,0");
    grid->Columns()->Items(2)->MoveTo(0);
    grid->Columns()->Items(0)->SetWidth(77);
    Apply(*grid, lines);
    // B and C take places 0 and 1 again; "X" names no column, so X,Y keeps its width.
    EXPECT_EQ(Order(*grid), "BCX,Y");
    EXPECT_EQ(grid->Columns()->Items(2)->WidthBase(), 77);
}

TEST_F(GridSettings, OptionLinesApplyWhenTheirOptionIsOn) {
    TXDBGrid* grid = AddLayoutGrid();
    grid->SetOrderFields("A");
    Apply(*grid, {"OrderFields=C", "LinesCount=3", "StretchMode=1"});
    EXPECT_EQ(grid->OrderFields(), "A");
    EXPECT_EQ(grid->LinesCount(), 1);
    EXPECT_FALSE(grid->StretchMode());

    grid->Settings()->SetOptions({soOrderFields, soLinesCount, soStretchMode});
    Apply(*grid, {"OrderFields=C DESC", "LinesCount=3", "StretchMode=1"});
    EXPECT_EQ(grid->OrderFields(), "C DESC");
    EXPECT_EQ(grid->LinesCount(), 3);
    EXPECT_TRUE(grid->StretchMode());
    // Without the order line the order stays; non-numbers keep the lines and stretching.
    Apply(*grid, {"LinesCount=many", "StretchMode=yes"});
    EXPECT_EQ(grid->OrderFields(), "C DESC");
    EXPECT_EQ(grid->LinesCount(), 3);
    EXPECT_TRUE(grid->StretchMode());
    // An empty order line clears the order; any number but 1 ends stretching.
    Apply(*grid, {"OrderFields=", "StretchMode=2"});
    EXPECT_EQ(grid->OrderFields(), "");
    EXPECT_FALSE(grid->StretchMode());
}

TEST_F(GridSettings, TheSectionFollowsTheNamesUntilAnotherIsStored) {
    TXDBGrid* grid = AddLayoutGrid();
    TXDBGridSettings* settings = grid->Settings();
    EXPECT_EQ(settings->Section(), "FormSettings.Grid1");
    settings->SetSection("FormSettings.Grid1");  // the default: nothing stored
    grid->SetName("Grid2");
    EXPECT_EQ(settings->Section(), "FormSettings.Grid2");
    settings->SetSection("Saved.Layout");
    grid->SetName("Grid3");
    EXPECT_EQ(settings->Section(), "Saved.Layout");
    EXPECT_EQ(settings->DefaultSection(), "FormSettings.Grid3");
    // The form's name is remembered from the first look-up.
    form.SetName("Renamed");
    EXPECT_EQ(settings->DefaultSection(), "FormSettings.Grid3");
    // A grid on no named form uses its own name.
    TXDBGrid loose;
    loose.SetName("Loose");
    EXPECT_EQ(loose.Settings()->Section(), "Loose");
}

TEST_F(GridSettings, SavedLayoutsAreReadBackErasedAndKeptApart) {
    TXDBGrid* grid = AddLayoutGrid();
    TXDBGridSettings* settings = grid->Settings();
    settings->SetIniFile(true);
    settings->SetFileName(dir.Path("layouts.ini"));
    dir.Write("layouts.ini", "[Other]\r\nx=1\r\n[FormSettings.Grid1]\r\nStale=1\r\n");

    EXPECT_TRUE(settings->LayoutExists());
    settings->SaveLayout();
    EXPECT_EQ(Lines(settings->ReadLayout()),
              (std::vector<std::string>{"Columns=3", "Column1=A,50,1,0", "Column2=B,60,1,0", "Column3=C,70,1,0"}));
    TIniFile check(dir.Path("layouts.ini"));
    EXPECT_EQ(check.ReadString("Other", "x", ""), "1");

    grid->Columns()->Items(2)->MoveTo(0);
    grid->Columns()->Items(0)->SetWidth(99);
    settings->LoadLayout();
    EXPECT_EQ(Order(*grid), "ABC");
    EXPECT_EQ(Widths(*grid), (std::vector<int>{50, 60, 70}));

    settings->EraseLayout();
    EXPECT_FALSE(settings->LayoutExists());
    EXPECT_EQ(settings->ReadLayout()->Count(), 0);
    EXPECT_TRUE(TIniFile(dir.Path("layouts.ini")).SectionExists("Other"));

    // A store the caller opened is used as it is and written when the caller says.
    TIniFile store(dir.Path("mine.ini"));
    settings->SaveLayout(&store);
    EXPECT_TRUE(settings->LayoutExists(&store));
    EXPECT_FALSE(FileExists(dir.Path("mine.ini")));
    store.UpdateFile();
    EXPECT_TRUE(TIniFile(dir.Path("mine.ini")).SectionExists("FormSettings.Grid1"));
}

TEST_F(GridSettings, TheRegistryStoreIsAnIniFileUnderTheRegistryFolder) {
    static std::string folder;
    folder = dir.Folder();
    SetRegistryFolderProvider([] { return folder; });
    TXDBGrid* grid = AddLayoutGrid();
    TXDBGridSettings* settings = grid->Settings();
    EXPECT_EQ(settings->DefaultFileName(), "Software\\XDBGrid");
    settings->SaveLayout();
    TIniFile saved(dir.Path("Software/XDBGrid.ini"));
    EXPECT_EQ(saved.ReadString("FormSettings.Grid1", "Column2", ""), "B,60,1,0");

    // A key names a file below the folder and nothing else.
    EXPECT_EQ(RegistryKeyFileName("Software\\Firm/Grids"), dir.Path("Software/Firm/Grids.ini"));
    EXPECT_THROW(RegistryKeyFileName(""), EIniFileException);
    for (const char* key : {"Software\\..\\x", "a\\\\b", "a\\.", "a\\b\n"}) {
        settings->SetFileName(key);
        EXPECT_THROW(settings->SaveLayout(), EIniFileException) << "key [" << key << "]";
    }
    // With IniFile the default is the program's file with ".ini".
    settings->SetIniFile(true);
    EXPECT_EQ(settings->DefaultFileName(), ChangeFileExt(ProgramFileName(), ".ini"));
}

// A grid built in a loading bracket with Active settings on the INI file of `dir`, its data
// source set afterwards (the activation that loads).
class GridAutoLayout : public GridSettings {
protected:
    TXDBGrid* BuildActiveGrid(TXSettingsOptions options) {
        form.BeginLoading();
        TXDBGrid* grid = AddLayoutGrid();
        grid->Settings()->SetActive(true);
        grid->Settings()->SetIniFile(true);
        grid->Settings()->SetFileName(dir.Path("auto.ini"));
        grid->Settings()->SetOptions(options);
        grid->SetDataSource(nullptr);
        form.EndLoading();
        return grid;
    }
};

TEST_F(GridAutoLayout, TheFirstActivationLoadsAndDestructionSaves) {
    dir.Write("auto.ini", "[FormSettings.Grid1]\r\nColumns=3\r\nColumn1=C,80,1,0\r\nColumn2=B,60,1,0\r\n"
                          "Column3=A,50,0,0\r\n");
    TXDBGrid* grid = BuildActiveGrid({soLoadLayout, soSaveLayout});
    table->Last();
    grid->SetDataSource(&source);
    EXPECT_EQ(Order(*grid), "CBA");
    EXPECT_EQ(Shown(*grid), "110");
    EXPECT_EQ(table->RecNo(), 1);
    // Later activations load nothing again.
    grid->Columns()->Items(0)->MoveTo(2);
    grid->SetDataSource(nullptr);
    grid->SetDataSource(&source);
    EXPECT_EQ(Order(*grid), "BAC");
    delete grid;
    EXPECT_EQ(TIniFile(dir.Path("auto.ini")).ReadString("FormSettings.Grid1", "Column1", ""), "B,60,1,0");
}

TEST_F(GridAutoLayout, StoredUserFlagsDecideLoadingAndSaving) {
    dir.Write("auto.ini", "[FormSettings.Grid1]\r\nAutoLoadLayout=1\r\nAutoSaveLayout=0\r\nColumns=3\r\n"
                          "Column1=B,60,1,0\r\n");
    TXDBGrid* grid = BuildActiveGrid({soSaveLayout, soUserSettings});
    grid->SetDataSource(&source);
    EXPECT_EQ(grid->Settings()->Options(), (TXSettingsOptions{soLoadLayout, soUserSettings}));
    EXPECT_EQ(Order(*grid), "BAC");
    delete grid;
    // Nothing saved: the section is as it was written.
    EXPECT_EQ(TIniFile(dir.Path("auto.ini")).ReadString("FormSettings.Grid1", "Column1", ""), "B,60,1,0");
    EXPECT_EQ(TIniFile(dir.Path("auto.ini")).ReadString("FormSettings.Grid1", "Column2", "none"), "none");
}

TEST_F(GridAutoLayout, AFailedSaveAtDestructionIsReportedAndTheGridStillGoes) {
    TXDBGrid* grid = BuildActiveGrid({soSaveLayout});
    grid->Settings()->SetFileName(dir.Path("no/such/") + std::string(1, '\0'));
    std::vector<std::string> reported;
    Application().OnException = [&](TObject*, const std::exception& e) { reported.push_back(e.what()); };
    delete grid;
    Application().OnException = nullptr;
    EXPECT_EQ(reported.size(), 1u);
}

TEST_F(GridSettings, SettingsCannotBeAssigned) {
    TXDBGrid* grid = AddLayoutGrid();
    TXDBGrid other;
    EXPECT_THROW(grid->SetSettings(other.Settings()), Exception);
}

}  // namespace
}  // namespace tv
