// The main window in the process, under the offscreen platform: its caption, the commands of its
// creation, the settings action, the folder actions and the update notice. Commands that close the
// program are run as a process by tests/app, because ending the application cannot be undone here.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <QApplication>
#include <QTest>

#include "core/app_names.h"
#include "core/app_startup.h"
#include "core/environment_info.h"
#include "core/forms/main_form.h"
#include "core/job_guard.h"
#include "core/settings_folders.h"
#include "platform/gui/application.h"
#include "platform/gui/main_thread_bridge.h"
#include "platform/gui/shortcut.h"
#include "platform/win/shell_service.h"
#include "tests/core/job_runner/job_fakes.h"
#include "tests/core/startup/startup_fixture.h"
#include "tests/support/captured_log.h"
#include "tests/support/main_thread_pump.h"
#include "tests/support/recording_shell.h"

namespace tv {
namespace {

namespace fs = std::filesystem;

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The program under test is this test program, which carries version 3.1.4.2 of Brismark.
        fs::copy_file("/proc/self/exe", folders.dir.Path("prog/tollvane"));
        RecordStartupEnvironment();
        SetApplicationTitle(kAppProductName);
        folders.dir.Write("common/Brismark/Tollvane/default/tables/ooi.table",
                          "atKunder;KUNDNR;0;CUSTOMER_NUMBER\r\n");
        ConnectMainThreadQueue();
        services.ScriptHosts = [this] { return std::make_unique<test::FakeScriptHost>(script); };
        dm = std::make_unique<TMainDM>(events, nullptr, false);
        pipes = std::make_unique<TDMPipes>(nullptr, startup);
    }
    void TearDown() override {
        form.reset();
        pipes.reset();
        dm.reset();
        DisconnectMainThreadQueue();
    }
    TMainForm& Make() {
        form = std::make_unique<TMainForm>(nullptr, *dm, *pipes, events, services);
        return *form;
    }

    test::StartupFolders folders;
    test::CapturedLog log;
    TEventTree events{[] {}};
    TAppStartup startup;
    test::FakeScript script;
    TMainFormServices services;
    std::unique_ptr<TMainDM> dm;
    std::unique_ptr<TDMPipes> pipes;
    std::unique_ptr<TMainForm> form;
};

TEST_F(MainFormTest, TheCaptionNamesCompanyTitleVersionAndInstance) {
    TMainForm& f = Make();
    EXPECT_EQ(f.Caption(), "Brismark Tollvane 3.1.4 - (default)");
    EXPECT_EQ(ApplicationTitle(), "Tollvane - (default)");
    EXPECT_EQ(Application().Title(), "Tollvane - (default)");
    EXPECT_EQ(MainForm(), &f);
    EXPECT_FALSE(f.Interactive()) << "hidden while it is made";
}

TEST_F(MainFormTest, TheStartUpCommandRunsItsJobWhileTheWindowIsMade) {
    startup.Params().Add("/id");
    startup.Params().Add("K-7");
    startup.Params().Add("/import");
    startup.Params().Add("/nevershutdown");
    TMainForm& f = Make();
    ASSERT_FALSE(script.calls.empty());
    EXPECT_EQ(script.calls.front(),
              "load " + GetPrefsFolder("scripts") + "scripts/import/default_import.pas");
    EXPECT_FALSE(f.TerminateRequested());
    EXPECT_EQ(startup.Params().Count(), 0);
    ASSERT_NE(dm->LastCommand(), nullptr);
    EXPECT_EQ(dm->LastCommand()->UniqueID(), "K-7");
}

TEST_F(MainFormTest, WithoutItsSettingsTheWindowIsStillMadeButRefusesJobs) {
    fs::remove(folders.Root() + "tables/ooi.table");
    startup.Params().Add("/import");
    startup.Params().Add("/nevershutdown");
    TMainForm& f = Make();
    EXPECT_TRUE(f.SettingsFailed());
    EXPECT_TRUE(script.calls.empty()) << "no job runs on missing settings";
    EXPECT_TRUE(f.Runner().LastJobFailed());
    EXPECT_NE(log.Text().find("Hittade inte definitionsfil : ooi.table"), std::string::npos) << log.Text();
    f.GFXSetFileName("still reports");
    EXPECT_EQ(events.Items().back()->Text, "still reports");
}

TEST_F(MainFormTest, SettingsOkSavesAndCancelCancelsOnlyTheTwoTables) {
    auto edit = [&](const char* table, const char* field, const char* value) {
        TClientDataSet& t = dm->Table(table);
        t.Edit();
        t.FieldByName(field).SetAsString(value);
    };
    auto text = [&](const char* table, const char* field) {
        return dm->Table(table).FieldByName(field).AsString();
    };
    int answer = mrCancel;
    TForm* owner = nullptr;
    services.ShowSettings = [&](TForm* o) {
        owner = o;
        edit("InstallningarCDS", "CompanyUsername", "ny");
        edit("CDSExportOrderPrefs", "ORDER_FILE_MANAGEMENT_TMPL", "ny_order");
        edit("CDSExportArticlesPrefs", "FILE_MANAGEMENT_TMPL", "ny_artikel");
        return answer;
    };
    TMainForm& f = Make();
    f.showSettingsExecute();
    EXPECT_EQ(owner, &f);
    EXPECT_EQ(text("InstallningarCDS", "CompanyUsername"), "");
    EXPECT_NE(text("CDSExportOrderPrefs", "ORDER_FILE_MANAGEMENT_TMPL"), "ny_order");
    EXPECT_EQ(text("CDSExportArticlesPrefs", "FILE_MANAGEMENT_TMPL"), "ny_artikel")
        << "the other tables keep their edits until the next save";
    dm->Table("CDSExportArticlesPrefs").Post();

    answer = mrOk;
    f.showSettingsExecute();
    std::string ini = folders.dir.Read(GetSettingsFile());
    EXPECT_NE(ini.find("CompanyUsername=ny"), std::string::npos) << ini;
    EXPECT_NE(ini.find("ORDER_FILE_MANAGEMENT_TMPL=ny_order"), std::string::npos);
    EXPECT_NE(ini.find("FILE_MANAGEMENT_TMPL=ny_artikel"), std::string::npos);
}

TEST_F(MainFormTest, NoSettingsWindowWhileAJobRuns) {
    int shown = 0;
    services.ShowSettings = [&](TForm*) {
        ++shown;
        return mrOk;
    };
    TMainForm& f = Make();
    {
        TJobGuard::TScope job(JobGuard());
        f.showSettingsExecute();
    }
    EXPECT_EQ(shown, 0);
    f.showSettingsExecute();
    EXPECT_EQ(shown, 1);
}

TEST_F(MainFormTest, TheFolderActionsOpenTheWorkFoldersOfEachSide) {
    test::RecordingShell shell;
    TMainForm& f = Make();
    f.ImportFolderExecute();
    f.GotoExportExecute();
    EXPECT_EQ(shell.opened, (std::vector<std::string>{dm->getWorkFolder(1, ""), dm->getWorkFolder(0, "")}));
    EXPECT_NE(shell.opened[0].find("/import"), std::string::npos);
}

TEST_F(MainFormTest, TheUpdateCheckAtCreationShowsTheUpdatersAnswer) {
    struct Case {
        const char* body;
        TUpdateNotice notice;
    };
    for (const Case& c :
         {Case{"exit 1", TUpdateNotice::UpdateAvailable}, Case{"exit 0", TUpdateNotice::LatestInstalled}}) {
        std::string updater =
            folders.dir.Write("prog/QuorvelUpdater", std::string("#!/bin/sh\n") + c.body + "\n");
        ::chmod(updater.c_str(), 0755);
        form.reset();
        TMainForm& f = Make();
        ASSERT_TRUE(test::PumpUntil([&] { return f.UpdateNotice() != TUpdateNotice::Hidden; }));
        EXPECT_EQ(f.UpdateNotice(), c.notice) << c.body;
        EXPECT_TRUE(f.Panel1->Visible());
        bool latest = c.notice == TUpdateNotice::LatestInstalled;
        EXPECT_EQ(f.Label1->Caption(), latest ? "Den senaste versionen är installerad"
                                              : "En uppdatering av applikationen  finns att hämta. ");
        EXPECT_EQ(f.Button1->Visible(), !latest);
        f.Timer2Timer();
        EXPECT_EQ(f.UpdateNotice(), TUpdateNotice::Hidden);
        EXPECT_FALSE(f.Panel1->Visible());
    }
}

TEST_F(MainFormTest, AnAnswerOfTheUpdaterAfterTheWindowWentIsDropped) {
    // The updater answers on its own thread while the window is already gone; the answer reaches
    // the main thread later and must find nothing to touch (the sanitizer sees any use of it).
    std::string answered = folders.dir.Path("answered");
    std::string updater = folders.dir.Write(
        "prog/QuorvelUpdater", "#!/bin/sh\nsleep 0.3\necho done > \"" + answered + "\"\nexit 1\n");
    ::chmod(updater.c_str(), 0755);
    Make();
    form.reset();
    ASSERT_TRUE(test::PumpUntil([&] { return folders.dir.Exists("answered"); }));
    test::PumpFor(300);
    EXPECT_EQ(MainForm(), nullptr);
}

TEST_F(MainFormTest, MenusActionsAndTheActionBarCarryTheirCaptions) {
    TMainForm& f = Make();
    auto items = [&](int menu) {
        std::vector<std::string> out;
        TMenuItem* top = f.MainMenu1->Items()->Items(menu);
        out.push_back(top->Caption());
        for (int i = 0; i < top->Count(); ++i)
            out.push_back(top->Items(i)->Caption() + (top->Items(i)->Visible() ? "" : " (hidden)"));
        return out;
    };
    EXPECT_EQ(items(0), (std::vector<std::string>{"&Arkiv", "&Inställningar", "&Avsluta"}));
    EXPECT_EQ(items(1), (std::vector<std::string>{"Hj&älp", "&Om", "Leta efter uppdatering (hidden)"}));
    std::vector<std::string> bar;
    for (int i = 0; i < f.ActionMainMenuBar1->ItemCount(); ++i)
        bar.push_back(f.ActionMainMenuBar1->ItemCaption(i));
    EXPECT_EQ(bar, (std::vector<std::string>{"&Inställningar", "", "&Export", "I&mport", "&Kör annat script",
                                             "", "&Hoppa till importmapp", "H&oppa till export"}));
    EXPECT_EQ(f.PngBitBtn1->Caption(), "Import");
    EXPECT_EQ(f.PngBitBtn2->Caption(), "Export");
    EXPECT_EQ(f.PngBitBtn3->Caption(), "Hoppa till importmapp");
    EXPECT_EQ(f.PngBitBtn4->Caption(), "Hoppa till export");
    EXPECT_EQ(ShortCutToText(f.Debug->ShortCut()), "Ctrl+Alt+D");
    EXPECT_EQ(f.Label1->Caption(), "En uppdatering av applikationen  finns att hämta. ");
    EXPECT_EQ(f.Button1->Caption(), "Hämta uppdatering");
    EXPECT_FALSE(f.Panel1->Visible());
    EXPECT_FALSE(f.showSettings->Enabled()) << "no settings window is installed here";
}

TEST_F(MainFormTest, CtrlAltDOpensTheDebugWindowAndOmTheAboutBox) {
    int debugShown = 0, aboutShown = 0;
    services.ShowDebugFile = [&] { ++debugShown; };
    services.ShowAbout = [&] { ++aboutShown; };
    TMainForm& f = Make();
    f.Show();
    f.Widget()->activateWindow();
    for (int i = 0; i < 100 && QApplication::activeWindow() != f.Widget(); ++i) QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), f.Widget());
    QTest::keyClick(f.Widget(), Qt::Key_D, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(debugShown, 1);
    f.MainMenu1->Items()->Items(1)->Items(0)->Click();
    EXPECT_EQ(aboutShown, 1);
    EXPECT_EQ(debugShown, 1);
}

TEST_F(MainFormTest, AtItsSmallestTheWindowShowsAllFourButtonsWhole) {
    TMainForm& f = Make();
    f.Panel1->SetVisible(true);
    f.SetBounds(0, 0, 100, 100);
    EXPECT_GE(f.Width(), f.Constraints()->MinWidth());
    EXPECT_LT(f.Constraints()->MinWidth(), 800) << "and is no larger than it needs";
    for (TBitBtn* b : {f.PngBitBtn1, f.PngBitBtn2, f.PngBitBtn3, f.PngBitBtn4}) {
        EXPECT_LE(b->Left() + b->Width(), f.Panel2->ClientWidth()) << b->Caption();
        EXPECT_LE(b->Top() + b->Height(), f.Panel2->ClientHeight()) << b->Caption();
    }
}

TEST_F(MainFormTest, AJobDocksTheEventWindowAndDisablesTheJobActions) {
    std::vector<bool> enabledDuringJob;
    TMainForm* f = nullptr;
    script.duringExecute = [&] {
        // The company path leads nowhere: the connection fails after the window is docked.
        EXPECT_THROW(f->InitiateImport(), Exception);
        enabledDuringJob = {f->Import->Enabled(), f->AnExport->Enabled(), f->RunNoNListedScript->Enabled(),
                            f->Action1->Enabled()};
        EXPECT_EQ(f->ProgressForm->HostDockSite(), f->DisplayPanel);
        EXPECT_FALSE(f->Panel2->Visible());
        f->FinalizeImport();
    };
    dm->Table("InstallningarCDS").Edit();
    dm->Table("InstallningarCDS").FieldByName("SPCSPathSRC").SetAsString(folders.dir.Path("nowhere"));
    dm->Table("InstallningarCDS").Post();
    f = &Make();
    f->ImportExecute();
    EXPECT_EQ(enabledDuringJob, (std::vector<bool>{false, false, false, false}));
    EXPECT_TRUE(f->Import->Enabled());
    EXPECT_TRUE(f->Action1->Enabled()) << "the update run is offered again after the job";
    EXPECT_TRUE(f->AnExport->Enabled());
    EXPECT_NE(events.Items().front()->Text.find("Start "), std::string::npos);
    f->ProgressForm->CloseButtonClick(f->ProgressForm);
    EXPECT_TRUE(f->Panel2->Visible()) << "closing the event window shows the buttons again";
}

}  // namespace
}  // namespace tv
