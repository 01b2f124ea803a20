// The standard page ("Grundinställningar"), offscreen with real clicks and keys: browsing for the
// company and work folders, the connection test against a company made by the kit's tool, starting
// the business system's program on the company's folder, the default work folder, and the running
// numbers that OK writes at once.

#include <gtest/gtest.h>

#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "adk/adk_binding.h"
#include "core/settings_folders.h"
#include "platform/gui/button.h"
#include "platform/gui/db_edit.h"
#include "platform/gui/db_lookup_controls.h"
#include "platform/gui/label.h"
#include "platform/gui/page_control.h"
#include "platform/ini/ini_file.h"
#include "settings_fixture.h"
#include "tests/adk/adk_test_support.h"
#include "tests/support/recording_shell.h"
#include "ui/standard_page.h"

namespace tv {
namespace {

using test::PageWindow;
using test::SettingsFixture;

constexpr const char* kPage = "Grundinställningar";

struct StandardPageFixture : SettingsFixture {
    StandardPageFixture() {
        FreeAdkLibrary();
        dm->AdkDBSRC().AdkPath = test::FolderOf(TV_KIT);
    }
    ~StandardPageFixture() {
        dm.reset();
        FreeAdkLibrary();
    }
    void SetGeneral(const char* field, const std::string& value) {
        TDataSet& general = dm->InstallningarCDS();
        general.Edit();
        general.FieldByName(field).SetAsString(value);
        general.Post();
    }
    // The texts of the message boxes shown so far.
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& request : dialogs.Requests())
            if (request.Kind == TDialogKind::MessageBox) texts.push_back(request.Text);
        return texts;
    }
};

// Types `text` in place of what the edit named so shows.
void TypeInto(TSettingsPage& page, const char* name, const std::string& text) {
    TControl* edit = page.FindControl(name);
    ASSERT_NE(edit, nullptr) << name;
    ASSERT_TRUE(test::FocusOn(edit->Widget()));
    QTest::keyClick(edit->Widget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit->Widget(), Qt::Key_Delete);
    QTest::keyClicks(edit->Widget(), QString::fromStdString(text));
}

void Click(TControl* control) {
    ASSERT_NE(control, nullptr);
    QTest::mouseClick(control->Widget(), Qt::LeftButton);
}

TEST(StandardPage, ShowsTheGeneralSettingsOnTwoTabsWithThePasswordsMasked) {
    StandardPageFixture f;
    f.SetGeneral("CompanyPassword", "hemligt");
    PageWindow w(f, kPage);
    ASSERT_NE(w.page->Tabs(), nullptr);
    ASSERT_EQ(w.page->Tabs()->PageCount(), 2);
    EXPECT_EQ(w.page->Tabs()->Pages(0)->Caption(), "Sökvägar");
    EXPECT_EQ(w.page->Tabs()->Pages(1)->Caption(), "Löpnr");
    EXPECT_EQ(w.page->Tabs()->ActivePageIndex(), 0);
    for (const char* name : {"CompanyPasswordEdit", "DBEPASSWORD"})
        EXPECT_EQ(w.Named<TDBEdit>(name)->PasswordChar(), '*') << name;
    EXPECT_EQ(w.Named<TDBEdit>("CompanyUserNameEdit")->PasswordChar(), '\0');
    EXPECT_EQ(w.Named<TDBEdit>("CompanyPasswordEdit")->Text(), "hemligt") << "masked, not changed";
    for (const char* field : {"LOPNR_EXPORT_ORDER", "LOPNR_EXPORT_FAKTUROR", "LOPNR_EXPORT_ARTIKLAR"})
        EXPECT_EQ(w.Control<TDBEdit>(field)->DataSource()->DataSet(), &f.dm->CDSLopnr()) << field;
    // The default work folder: the settings folder used for "import".
    EXPECT_EQ(w.Named<TLabel>("Label20")->Caption(), f.folders.Root());
    EXPECT_EQ(DefaultWorkFolderText([]() -> std::string { throw Exception("Nej"); }), "Error :(");
}

TEST(StandardPage, TheAuthenticationModeIsChosenFromThePagesOwnFourNames) {
    StandardPageFixture f;
    PageWindow w(f, kPage);
    auto* modes = w.Named<TDBLookupComboBox>("SqlAuthModeCombo");
    EXPECT_EQ(modes->Text(), "Automatisk") << "the default 0";
    std::vector<std::string> names;
    TDataSet* list = modes->ListSource()->DataSet();
    for (list->First(); !list->Eof(); list->Next())
        names.push_back(list->FieldByName("Value").AsString() + " " + list->FieldByName("Name").AsString());
    EXPECT_EQ(names, (std::vector<std::string>{"0 Automatisk", "1 SQL", "2 Visma", "3 Windows"}));
    modes->LookupList().ChooseKeyValue(Variant(3));
    EXPECT_EQ(f.Text("InstallningarCDS", "CompanySQLAuthMode"), "3");
    EXPECT_EQ(modes->Text(), "Windows");
}

TEST(StandardPage, BrowsingStoresAChosenFolderAtOnceAndACancelChangesNothing) {
    struct Row {
        const char* button;
        const char* field;
        const char* stored;                 // "" leaves the field empty
        std::optional<std::string> chosen;  // nothing: the dialog is cancelled
        const char* expected;
    };
    const Row rows[] = {
        {"SelectSPCSCompany", "SPCSPathSRC", "/data/Ftg1", std::nullopt, "/data/Ftg1"},
        {"SelectSPCSCompany", "SPCSPathSRC", "", std::nullopt, ""},  // the dialog opens on its own start
        {"SelectSPCSCompany", "SPCSPathSRC", "/data/Ftg1", "/data/Ftg2/", "/data/Ftg2"},
        {"SelectForcedFolder", "FORCED_WORKFOLDER", "", "/srv/arbete", "/srv/arbete"},
    };
    for (const auto& row : rows) {
        StandardPageFixture f;
        if (*row.stored) f.SetGeneral(row.field, row.stored);
        f.dialogs.QueueFolder(row.chosen);
        PageWindow w(f, kPage);
        Click(w.Named<TButton>(row.button));
        ASSERT_EQ(f.dialogs.Requests().size(), 1u) << row.button;
        EXPECT_EQ(f.dialogs.Requests()[0].Kind, TDialogKind::BrowseFolder);
        EXPECT_EQ(f.dialogs.Requests()[0].Caption, "Välj mapp");
        EXPECT_EQ(f.dialogs.Requests()[0].Text, row.stored) << "the field's value is the first folder";
        EXPECT_EQ(f.Text("InstallningarCDS", row.field), row.expected) << row.button;
        EXPECT_EQ(f.dm->InstallningarCDS().State(), dsBrowse) << "posted at once, or never edited";
        EXPECT_EQ(w.Control<TDBEdit>(row.field)->Text(), row.expected);
    }
}

TEST(StandardPage, AFolderChosenByBrowsingOutlivesTheWindowsCancel) {
    StandardPageFixture f;
    f.dialogs.QueueFolder("/data/Ftg2");
    TFormSettings window(nullptr, *f.dm);
    QTimer::singleShot(0, [&] {
        Click(test::Page(window, kPage)->FindControl("SelectSPCSCompany"));
        QTest::mouseClick(window.CancelButton->Widget(), Qt::LeftButton);
    });
    EXPECT_EQ(window.Execute(), mrCancel);
    EXPECT_EQ(f.Text("InstallningarCDS", "SPCSPathSRC"), "/data/Ftg2");
}

TEST(StandardPage, TestingNamesTheCompanyOrTheCauseAndLeavesNothingConnected) {
    StandardPageFixture f;
    const std::string company = f.folders.dir.Path("Företag/Ftg1");
    std::filesystem::create_directories(company);
    ASSERT_EQ(
        test::RunAdkctl({"create", company, "--name", "Åkes Cykel AB"}, f.folders.dir.Path("adkctl.log")), 0)
        << f.folders.dir.Read("adkctl.log");

    struct Row {
        std::string path;
        std::string message;
    };
    const Row rows[] = {
        {company, "Det ser lovande ut! Ansluten till Åkes Cykel AB"},
        {f.folders.dir.Path("Företag/Saknas"),
         "Något gick snett: Kunde inte ansluta till SPCS: Sökvägen till SPCS är felaktig"},
        {company, "Det ser lovande ut! Ansluten till Åkes Cykel AB"},  // the first test closed all
    };
    PageWindow w(f, kPage);
    for (const auto& row : rows) {
        f.SetGeneral("SPCSPathSRC", row.path);
        f.dialogs.QueueAnswer(TMsgAnswer::Ok);
        Click(w.Named<TButton>("TestSource"));
        ASSERT_FALSE(f.Messages().empty());
        EXPECT_EQ(f.Messages().back(), row.message);
        EXPECT_FALSE(f.dm->AdkDBSRC().Connected()) << row.path;
        EXPECT_FALSE(f.dm->adminODBC().Connected()) << row.path;
    }
}

TEST(StandardPage, OpenStartsTheBusinessSystemsProgramOnTheFolderHoldingTheCompany) {
    StandardPageFixture f;
    test::RecordingShell shell;
    const std::string installation = f.folders.dir.MakeFolder("Visma/Program");
    const std::string program = f.folders.dir.Write("Visma/Program/SpcsAdm.exe", "");  // any letter case
    const std::string data = f.folders.dir.MakeFolder("Data");
    const std::string company = f.folders.dir.MakeFolder("Data/Ftg1");
    f.folders.dir.Write("Data/Ftg1/KUND.DBF", "");
    f.folders.dir.MakeFolder("Lose/Ftg3");
    f.dm->AdkDBSRC().AdkPath = installation;

    struct Row {
        std::string typed;
        std::string parameters;  // empty: nothing is started
        std::string message;     // empty: no box
    };
    const Row rows[] = {
        {company, "/f " + data + "/", ""},
        // Typed with a trailing delimiter, its folder part is the company folder, which gives its parent.
        {company + "/", "/f " + data + "/", ""},
        // A folder holding no company files is passed as it is.
        {f.folders.dir.Path("Lose/Ftg3/"), "/f " + f.folders.dir.Path("Lose/Ftg3") + "/", ""},
        {f.folders.dir.Path("Data/Saknas"), "", "Mappen finns inte"},
        {"", "", "Mappen finns inte"},
    };
    PageWindow w(f, kPage);
    for (const auto& row : rows) {
        shell.executed.clear();
        shell.executedParameters.clear();
        TypeInto(*w.page, "SPCSPathEdit", row.typed);
        if (!row.message.empty()) f.dialogs.QueueAnswer(TMsgAnswer::Ok);
        const size_t before = f.Messages().size();
        Click(w.Named<TButton>("tryOpenSPCS"));
        if (row.parameters.empty()) {
            EXPECT_TRUE(shell.executed.empty()) << row.typed;
        } else {
            ASSERT_EQ(shell.executed.size(), 1u) << row.typed;
            EXPECT_EQ(shell.executed[0], program);
            EXPECT_EQ(shell.executedParameters[0], row.parameters);
        }
        if (row.message.empty()) {
            EXPECT_EQ(f.Messages().size(), before) << row.typed;
        } else {
            ASSERT_EQ(f.Messages().size(), before + 1) << row.typed;
            EXPECT_EQ(f.Messages().back(), row.message);
        }
    }
    // A folder that is not there, given to the root look-up, raises its own text.
    EXPECT_EQ(test::MessageOf([&] { FindCompanyRoot(f.folders.dir.Path("Saknas")); }),
              "Fel uppstod när mapp skulle hämtas");

    // Without the program in the installation, its error is shown and nothing is started.
    std::filesystem::remove(program);
    shell.executed.clear();
    f.dialogs.QueueAnswer(TMsgAnswer::Ok);
    TypeInto(*w.page, "SPCSPathEdit", company);
    Click(w.Named<TButton>("tryOpenSPCS"));
    EXPECT_TRUE(shell.executed.empty());
    EXPECT_EQ(f.Messages().back(), "Programmet finns inte: " + installation + "/spcsadm.exe");
}

// Runs `steps` once the window shows modally on the running-number tab, then presses the button.
int OnRunningNumbers(SettingsFixture& f, const std::function<void(TSettingsPage&)>& steps,
                     TButton* TFormSettings::*button) {
    TFormSettings window(nullptr, *f.dm);
    QTimer::singleShot(0, [&] {
        test::ClickNode(window, kPage);
        TSettingsPage* page = test::Page(window, kPage);
        page->Tabs()->SetActivePageIndex(1);
        steps(*page);
        QTest::mouseClick((window.*button)->Widget(), Qt::LeftButton);
    });
    return window.Execute();
}

TEST(StandardPage, OkWritesAChangedRunningNumberAtOnceAndKeepsWhatAnotherRunAdvanced) {
    StandardPageFixture f;
    TClientDataSet& numbers = f.dm->CDSLopnr();
    numbers.Edit();
    numbers.FieldByName("LOPNR_EXPORT_ORDER").SetAsString("5");
    numbers.FieldByName("LOPNR_EXPORT_FAKTUROR").SetAsString("7");
    numbers.Post();
    f.dm->saveIdentities();
    const std::string file = GetSettingsFile();

    const int result = OnRunningNumbers(
        f,
        [&](TSettingsPage& page) {
            TypeInto(page, "DBEdit2", "17");
            // Meanwhile an export of another run advances the invoice number in the file.
            TIniFile ini(file);
            ini.WriteString("identities", "LOPNR_EXPORT_FAKTUROR", "99");
            ini.UpdateFile();
        },
        &TFormSettings::OkButton);
    EXPECT_EQ(result, mrOk);
    const TIniFile stored(file);
    EXPECT_EQ(stored.ReadString("identities", "LOPNR_EXPORT_ORDER", "?"), "17") << "written without a save";
    EXPECT_EQ(stored.ReadString("identities", "LOPNR_EXPORT_FAKTUROR", "?"), "99") << "not put back to 7";
    EXPECT_EQ(f.Text("CDSLopnr", "LOPNR_EXPORT_FAKTUROR"), "99");
    EXPECT_EQ(numbers.State(), dsBrowse);
}

TEST(StandardPage, RunningNumbersLeftAloneOrCancelledAreNotWritten) {
    StandardPageFixture f;
    std::ofstream(GetSettingsFile()) << "[identities]\r\nLOPNR_EXPORT_ORDER=12\r\n";
    f.dm->loadSettings();
    const std::string before = f.SettingsFile();

    // OK without a change, and a change given up with Cancel, leave the file as it was.
    EXPECT_EQ(OnRunningNumbers(
                  f, [](TSettingsPage&) {}, &TFormSettings::OkButton),
              mrOk);
    EXPECT_EQ(f.SettingsFile(), before);
    EXPECT_EQ(
        OnRunningNumbers(
            f, [](TSettingsPage& page) { TypeInto(page, "DBEdit3", "40"); }, &TFormSettings::CancelButton),
        mrCancel);
    EXPECT_EQ(f.SettingsFile(), before);
    EXPECT_EQ(f.Text("CDSLopnr", "LOPNR_EXPORT_FAKTUROR"), "");
    EXPECT_EQ(f.Text("CDSLopnr", "LOPNR_EXPORT_ORDER"), "12");
}

}  // namespace
}  // namespace tv
