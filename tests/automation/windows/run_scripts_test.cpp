// The script list: one column "Script" over the catalogue, and "Kör", which runs an existing script
// through the main window's runner and names a script whose file has gone.

#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "automation/dm_scripts.h"
#include "automation/form_run_scripts.h"
#include "controls/xdb_grid.h"
#include "platform/gui/action.h"
#include "platform/gui/button.h"
#include "tests/controls/grid_test_support.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

struct ScriptList {
    ScriptList() {
        test::EnsureGridFonts();
        dir.Write("scripts/alpha.pas", "begin end.");
        dir.Write("scripts/sub/beta.pas", "begin end.");
        form = std::make_unique<TFormRunScripts>(nullptr, scripts, [this](const std::string& file, bool fromCmd) {
            runs.push_back(file + (fromCmd ? " (command)" : " (interactive)"));
        });
        form->Show();
        QWidget* window = form->Widget();
        EXPECT_TRUE(test::WaitUntil([window] { return window->windowHandle() && window->windowHandle()->isExposed(); }));
        QApplication::processEvents();
    }
    // A click on the grid's row (0: the first).
    void ClickRow(int row) const {
        TXDBGrid& grid = *form->DBLScripts;
        ASSERT_TRUE(test::FocusOn(grid));
        test::Click(grid, test::CellPoint(grid, grid.IndicatorOffset(), grid.TitleOffset() + row));
    }
    void ClickRun() const { QTest::mouseClick(form->RunButton->Widget(), Qt::LeftButton); }

    test::TempDir dir;
    TDMScripts scripts{[this] { return dir.Path("scripts"); }};
    TScriptedDialogService dialogs;
    TDialogServiceScope dialogScope{dialogs};
    std::vector<std::string> runs;
    std::unique_ptr<TFormRunScripts> form;
};

TEST(ScriptList, ShowsTheScriptNamesInOneColumnWithoutRowDeletion) {
    ScriptList f;
    EXPECT_EQ(f.form->Caption(), "Scripts");
    EXPECT_EQ(f.form->Run->Caption(), "Kör");
    TXDBGrid& grid = *f.form->DBLScripts;
    ASSERT_EQ(grid.Columns()->Count(), 3);
    EXPECT_EQ(grid.Columns()->Items(0)->FieldName(), "SCRIPT_NAME");
    EXPECT_EQ(grid.Columns()->Items(0)->Title()->Caption(), "Script");
    EXPECT_EQ(grid.Columns()->Items(0)->Width(), 220);
    EXPECT_FALSE(grid.Columns()->Items(1)->Visible());
    EXPECT_FALSE(grid.Columns()->Items(2)->Visible());
    EXPECT_TRUE(grid.Options().Contains(dgAllowDeleteOff));

    f.scripts.FindScripts();
    ASSERT_TRUE(test::FocusOn(grid));
    test::Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(f.scripts.CDSScripts().RecordCount(), 2) << "Ctrl+Delete deletes no script row";
}

TEST(ScriptList, RunDoesNothingOnAnEmptyCatalogue) {
    ScriptList f;
    f.ClickRun();
    EXPECT_TRUE(f.runs.empty());
    EXPECT_TRUE(f.dialogs.Requests().empty());
}

TEST(ScriptList, RunHandsAnExistingScriptToTheRunnerAsAnInteractiveJob) {
    ScriptList f;
    f.scripts.FindScripts();
    f.ClickRow(0);
    f.ClickRow(1);
    f.ClickRun();
    EXPECT_EQ(f.runs, (std::vector<std::string>{f.dir.Path("scripts/sub/beta.pas") + " (interactive)"}));
    EXPECT_TRUE(f.dialogs.Requests().empty());
}

TEST(ScriptList, RunOnAScriptDeletedSinceStartUpNamesItAndRunsNothing) {
    ScriptList f;
    f.scripts.FindScripts();
    std::filesystem::remove(f.dir.Path("scripts/alpha.pas"));
    f.ClickRow(0);
    f.dialogs.QueueAnswer(TMsgAnswer::Ok);
    f.ClickRun();
    EXPECT_TRUE(f.runs.empty());
    ASSERT_EQ(f.dialogs.Requests().size(), 1u);
    const TDialogRequest& box = f.dialogs.Requests()[0];
    EXPECT_EQ(box.Text, "Filen finns inte längre: " + f.dir.Path("scripts/alpha.pas"));
    EXPECT_EQ(box.Buttons, TMsgButtons::Ok);
    EXPECT_EQ(box.Icon, TMsgIcon::Error);
}

}  // namespace
}  // namespace tv
