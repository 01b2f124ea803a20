// Pictures of the windows above the engines, to be looked at by eye: the "Scripter" page with the
// default import script loaded, the reference list docked beside it and the messages of a compile
// that failed; and the settings window on each generated page, the order page first.

#include <gtest/gtest.h>

#include <string>

#include "automation/job_api_rows.h"
#include "platform/gui/db_lookup_controls.h"
#include "platform/gui/scripted_dialog_service.h"
#include "settings_fixture.h"
#include "tests/automation/job_api/job_api_doubles.h"
#include "tests/support/screenshot.h"
#include "ui/form_script_handler.h"

namespace tv {
namespace {

TEST(Screenshot, ScripterPage) {
    test::TApiDoubles d;
    TScriptedDialogService dialogs;
    TDialogServiceScope scope(dialogs);
    TFormScriptHandler form(nullptr, d.Api());
    form.SetBounds(60, 60, 900, 600);
    form.LoadScript(TV_SOURCE_DIR "/data/scripts/import/default_import.pas");
    TStrings& lines = *form.Memo1->Lines();
    lines.Insert(lines.IndexOf("end."), "  Foo;");
    form.CompileExecute();
    form.Memo1->SetSelStart(0);
    form.ShowSelectionLine();
    EXPECT_GE(form.MemoMessages->Lines()->Count(), 1);
    test::SaveScreenshot(form, "scripter_page");
}

TEST(Screenshot, SettingsWindowOnEveryGeneratedPage) {
    test::SettingsFixture f;
    TDataSet& rules = f.dm->RuleTables().Rules();
    rules.Append();
    rules.FieldByName("RuleName").SetAsString("Skicka följesedel");
    rules.Post();
    TFormSettings window(nullptr, *f.dm);
    window.SetPosition(poDesigned);
    window.SetLeft(40);
    window.SetTop(40);
    window.Show();
    test::ClickNode(window, "Import - Order");
    test::SaveScreenshot(window, "settings_import_order");

    int page = 0;
    for (TForm* form : window.Forms()) {
        test::ClickNode(window, form->Caption().c_str());
        EXPECT_TRUE(form->Visible());
        test::SaveScreenshot(window, "settings_page_" + std::to_string(++page));
    }
}

}  // namespace
}  // namespace tv
