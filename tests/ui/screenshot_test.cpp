// A picture of the "Scripter" page for `make screenshots`: the default import script loaded, the
// reference list docked beside it, and the messages of a compile that failed.

#include <gtest/gtest.h>

#include "automation/job_api_rows.h"
#include "platform/gui/scripted_dialog_service.h"
#include "tests/automation/job_api_doubles.h"
#include "tests/support/screenshot.h"
#include "ui/form_script_handler.h"

namespace tv {
namespace {

TEST(Screenshot, ScripterPage) {
    test::TApiDoubles d;
    TScriptedDialogService dialogs;
    TDialogServiceScope scope(dialogs);
    TFormScriptHandler form(nullptr,
                            TJobApi::Over<test::TDoubleClasses>(&d.Form, &d.DM, &d.Import, &d.Export));
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

}  // namespace
}  // namespace tv
