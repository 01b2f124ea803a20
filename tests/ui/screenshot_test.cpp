// Pictures of the windows above the engines, to be looked at by eye: the "Scripter" page with the
// default import script loaded, the reference list docked beside it and the messages of a compile
// that failed; the settings window on each generated page, the order page first; the main window at
// its size and at its smallest with the update notice; the about box over it, the environment list
// and the developer's test window.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "automation/job_api_rows.h"
#include "core/app_startup.h"
#include "core/dm_pipes.h"
#include "core/forms/main_form.h"
#include "platform/db/ado_query.h"
#include "platform/gui/application.h"
#include "platform/gui/button.h"
#include "platform/gui/db_lookup_controls.h"
#include "platform/gui/main_thread_bridge.h"
#include "platform/gui/page_control.h"
#include "platform/gui/scripted_dialog_service.h"
#include "platform/rtl/environment_info.h"
#include "platform/rtl/version_info.h"
#include "settings_fixture.h"
#include "tests/automation/job_api/job_api_doubles.h"
#include "tests/support/screenshot.h"
#include "ui/about_dialog.h"
#include "ui/enviroment_info_dialog.h"
#include "ui/form_debug_file.h"
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

// The pages of the "Grundinställningar" and "Visma" nodes in the states their buttons leave them: the
// running numbers' tab, the menu entries ticked, and the time-reporting users dropped down from a
// fake server (a SQLite file; its users' names are joined as SQLite joins texts).
TEST(Screenshot, SettingsWindowOnTheConnectionPages) {
    test::SettingsFixture f;
    const std::string server = test::MakeFakeTidServer(f, "server.sqlite", test::kTidUsersSql);
    f.dm->TIDUsers().SQL().SetText(
        "select Signature, ProgramUserId, (Firstname || ' ' || Name) as Descr from ProgramUser order by "
        "Signature;");
    TDataSet& tid = f.dm->CDSTidPrefs();
    tid.Edit();
    tid.FieldByName("TIDDBServer").SetAsString(server);
    tid.FieldByName("TIDDBName").SetAsString("TID");
    tid.FieldByName("TIDDefaultUserId").SetAsString("42");
    tid.Post();
    TDataSet& numbers = f.dm->CDSLopnr();
    numbers.Edit();
    numbers.FieldByName("LOPNR_EXPORT_ORDER").SetAsString("1041");
    numbers.FieldByName("LOPNR_EXPORT_FAKTUROR").SetAsString("388");
    numbers.Post();

    TFormSettings window(nullptr, *f.dm);
    window.SetPosition(poDesigned);
    window.SetLeft(40);
    window.SetTop(40);
    window.Show();
    test::ClickNode(window, "Grundinställningar");
    test::Page(window, "Grundinställningar")->Tabs()->SetActivePageIndex(1);
    test::SaveScreenshot(window, "settings_standard_running_numbers");

    test::ClickNode(window, "Integrationsmeny");
    TSettingsPage* menu = test::Page(window, "Integrationsmeny");
    for (const char* name : {"checkPlainImport", "checkSmartExport"})
        static_cast<TCheckBox*>(menu->FindControl(name))->SetChecked(true);
    test::SaveScreenshot(window, "settings_integration_menu_ticked");

    test::ClickNode(window, "Visma Tid inställningar");
    TSettingsPage* page = test::Page(window, "Visma Tid inställningar");
    QTest::mouseClick(page->FindControl("FetchAlternatives")->Widget(), Qt::LeftButton);
    auto* users = static_cast<TDBLookupComboBox*>(page->FindControl("DBLookupComboX1"));
    EXPECT_EQ(users->Text(), "AK");
    users->DropDown();
    test::SaveScreenshot(window, "settings_tid_users");
    users->CloseUp(false);
    f.dm->disconnectVismaTid();
}

// The main window as the program shows it after start-up, at its designed size and at its
// smallest with the update notice shown; then the about box over it, the environment list it opens
// and the developer's test window.
TEST(Screenshot, MainWindowAboutBoxEnvironmentListAndDebugWindow) {
    test::SettingsFixture f;
    ConnectMainThreadQueue();
    TAppStartup startup;
    TDMPipes pipes(nullptr, startup);
    TMainFormServices services;
    services.ShowSettings = [](TForm*) { return mrCancel; };
    {
        TMainForm window(nullptr, *f.dm, pipes, f.events, services);
        window.SetPosition(poDesigned);
        window.SetLeft(40);
        window.SetTop(40);
        test::SaveScreenshot(window, "main_window");
        window.Panel1->SetVisible(true);
        window.SetBounds(40, 40, 100, 100);
        test::SaveScreenshot(window, "main_window_smallest_with_update_notice");
        window.Panel1->SetVisible(false);
        window.SetBounds(40, 40, 760, 520);

        // The program file: a copy of the kit, which carries version information.
        const std::string program = f.folders.Program() + "tollvane";
        std::filesystem::copy_file(TV_KIT, program, std::filesystem::copy_options::overwrite_existing);
        PatchFileVersion(program, "4.3.2.1");
        f.folders.dir.Write("prog/EULA.txt", "Villkor");
        SetEnvironmentInfo("Prefs Folder", f.folders.Root());
        TAboutDialog about(nullptr);
        EXPECT_EQ(about.VerL->Caption(), "Version 4.3.2.1");
        about.SetPosition(poDesigned);
        about.SetLeft(120);
        about.SetTop(120);
        EXPECT_EQ(about.Caption(), "Om " + Application().Title() + "...");
        test::SaveScreenshot(about, "about_box");
    }
    TEnviromentInfoDialog list(nullptr);
    list.SetPosition(poDesigned);
    list.SetLeft(60);
    list.SetTop(60);
    ASSERT_GT(list.EnvInfoList->Items()->Count(), 0);
    list.EnvInfoList->SetSelected(list.EnvInfoList->Items()->Item(0));
    test::SaveScreenshot(list, "environment_list");

    TFormDebugFile debug(nullptr);
    debug.SetPosition(poDesigned);
    debug.SetLeft(60);
    debug.SetTop(60);
    debug.Edit1->SetText(f.folders.Root() + "priser.xml");
    test::SaveScreenshot(debug, "debug_file_window");
    DisconnectMainThreadQueue();
}

}  // namespace
}  // namespace tv
