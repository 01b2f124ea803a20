// The about box, the environment list and the font adapter, offscreen with real clicks and keys:
// title and version read from a copy of a program file patched to another version, the links and
// the licence agreement handed to a recording shell, the credit word typed with Alt held, the
// list's clipboard text read back from the clipboard, double clicks on its rows, and the font
// adapter's veto.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <string>
#include <vector>

#include "core/app_names.h"
#include "core/forms/main_form_services.h"
#include "platform/gui/application.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/scripted_dialog_service.h"
#include "platform/rtl/environment_info.h"
#include "platform/rtl/files.h"
#include "platform/rtl/version_info.h"
#include "tests/platform/gui_data/data_form_fixture.h"  // FocusOn
#include "tests/support/recording_shell.h"
#include "tests/support/temp_dir.h"
#include "ui/about_dialog.h"
#include "ui/enviroment_info_dialog.h"
#include "ui/form_font_master.h"
#include "ui/utility_windows.h"

namespace tv {
namespace {

namespace fs = std::filesystem;

// A program file of the test's own (a copy of the kit, patched to version 4.3.2.1) in a folder of
// its own, the application's title, dialogs answered by a script and a shell that only records.
struct AboutFixture {
    AboutFixture() : scope(dialogs) {
        fs::create_directories(dir.Path("prog"));
        program = dir.Path("prog/tollvane");
        fs::copy_file(TV_KIT, program);
        PatchFileVersion(program, "4.3.2.1");
        SetProgramFileName(program);
        title = Application().Title();
        Application().SetTitle("Tollvane - (test)");
    }
    ~AboutFixture() {
        SetProgramFileName({});
        Application().SetTitle(title);
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& request : dialogs.Requests()) texts.push_back(request.Text);
        return texts;
    }

    test::TempDir dir;
    std::string program;
    std::string title;
    TScriptedDialogService dialogs;
    TDialogServiceScope scope;
    test::RecordingShell shell;
};

void Click(TControl* control) {
    QTest::mouseClick(control->Widget(), Qt::LeftButton, {}, QPoint(4, 4));
}

TEST(AboutDialog, TheCaptionTitleAndVersionComeFromTheProgramFile) {
    AboutFixture f;
    TAboutDialog dialog(nullptr);
    EXPECT_EQ(dialog.Caption(), "Om Tollvane - (test)...");
    EXPECT_EQ(dialog.AppL->Caption(), "Tollvane - (test) ");
    EXPECT_EQ(dialog.AppL->Hint(), f.program);
    EXPECT_EQ(dialog.VerL->Caption(), "Version 4.3.2.1");
    EXPECT_EQ(dialog.CloseBtn->Caption(), "&Stäng");
    EXPECT_EQ(dialog.EnvInfoBtn->Caption(), "&Information");
    EXPECT_EQ(dialog.LicAgreementBtn->Caption(), "&Licensavtal");
}

TEST(AboutDialog, EachLinkOpensTheTargetItsHintKeeps) {
    AboutFixture f;
    TAboutDialog dialog(nullptr);
    dialog.Show();
    EXPECT_EQ(dialog.wwwL->Caption(), std::string(kAppMakerWebAddress));
    EXPECT_EQ(dialog.EMailL->Hint(), "mailto:" + dialog.EMailL->Caption());
    Click(dialog.wwwL);
    Click(dialog.EMailL);
    EXPECT_EQ(f.shell.executed, (std::vector<std::string>{dialog.wwwL->Hint(), dialog.EMailL->Hint()}));

    // Nothing could open it: said, not swallowed.
    f.shell.exitCode = -1;
    f.dialogs.QueueAnswer(TMsgAnswer::Ok);
    Click(dialog.wwwL);
    EXPECT_EQ(f.Messages(), (std::vector<std::string>{"Kunde inte öppna [" + dialog.wwwL->Hint() + "]"}));
}

TEST(AboutDialog, TheLicenceButtonShowsOnlyWithAnAgreementBesideTheProgram) {
    struct Case {
        std::vector<const char*> files;
        const char* opened;  // nullptr: the button is hidden
    };
    const Case cases[] = {
        {{}, nullptr},
        {{"EULA.txt"}, "EULA.txt"},
        {{"Licensavtal.txt"}, "Licensavtal.txt"},
        {{"Licensavtal.txt", "EULA.txt"}, "Licensavtal.txt"},
        {{"licensavtal.txt", "eula.txt"}, nullptr},  // the names as they stand
    };
    for (const Case& c : cases) {
        AboutFixture f;
        for (const char* file : c.files) f.dir.Write(std::string("prog/") + file, "Villkor");
        TAboutDialog dialog(nullptr);
        dialog.Show();
        EXPECT_EQ(dialog.LicAgreementBtn->Visible(), c.opened != nullptr) << testing::PrintToString(c.files);
        if (!c.opened) continue;
        Click(dialog.LicAgreementBtn);
        EXPECT_EQ(f.shell.executed, (std::vector<std::string>{f.dir.Path(std::string("prog/") + c.opened)}));
    }
}

// Keys typed on the focused button of a shown about box: a letter is pressed with Alt held (the
// letter's own release does not matter to the box and is left out), "|" releases Alt, and a
// lower-case letter is typed with Shift as well.
void TypeWithAlt(TAboutDialog& dialog, std::string_view keys) {
    ASSERT_TRUE(test::FocusOn(dialog.CloseBtn->Widget()));
    for (char c : keys) {
        QWidget* target = QApplication::focusWidget();
        if (c == '|') {
            QTest::keyRelease(target, Qt::Key_Alt);
            continue;
        }
        const bool lower = c >= 'a' && c <= 'z';
        const auto key = static_cast<Qt::Key>(Qt::Key_A + ((lower ? c - 'a' : c - 'A')));
        QTest::keyPress(target, key, lower ? Qt::AltModifier | Qt::ShiftModifier : Qt::AltModifier);
    }
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Alt);
}

TEST(AboutDialog, TheCreditWordMustBeTypedInOneAltPressFromItsFirstLetter) {
    struct Case {
        const char* keys;
        bool licence;  // an agreement lies beside the program: Alt+L is also the licence button's
        bool credit;
    };
    const Case cases[] = {
        {"NULK", false, true},    {"nulk", false, true},
        {"NuLk", false, true},    {"XNULK", false, false},  // another letter first in the same press
        {"NU|LK", false, false},                            // Alt released in between
        {"XN|NULK", false, true},                           // a new press starts a new word
        {"NUL", false, false},    {"NULK", true, true},
    };
    for (const Case& c : cases) {
        AboutFixture f;
        if (c.licence) f.dir.Write("prog/EULA.txt", "Villkor");
        if (c.credit) f.dialogs.QueueAnswer(TMsgAnswer::Ok);
        TAboutDialog dialog(nullptr);
        dialog.Show();
        TypeWithAlt(dialog, c.keys);
        EXPECT_EQ(f.Messages(),
                  c.credit ? std::vector<std::string>{std::string(kCreditText)} : std::vector<std::string>{})
            << c.keys;
    }
}

TEST(AboutDialog, TheProgramsAboutCommandShowsTheBoxAndItsInformationButtonTheList) {
    AboutFixture f;
    InstallUtilityWindows();
    ASSERT_TRUE(static_cast<bool>(MainFormServices().ShowAbout));
    std::vector<std::string> shown;
    auto activeModal = [] { return QApplication::activeModalWidget(); };
    QTimer::singleShot(0, [&] {
        QWidget* about = activeModal();
        ASSERT_NE(about, nullptr);
        shown.push_back(about->windowTitle().toStdString());
        QTimer::singleShot(0, [&, about] {
            QWidget* list = activeModal();
            ASSERT_NE(list, nullptr);
            shown.push_back(list->windowTitle().toStdString());
            QTest::keyClick(list, Qt::Key_Escape);
            QTimer::singleShot(0, [about] { QTest::keyClick(about, Qt::Key_Escape); });
        });
        for (QPushButton* b : about->findChildren<QPushButton*>())
            if (b->text() == "&Information") QTest::mouseClick(b, Qt::LeftButton);
    });
    MainFormServices().ShowAbout();
    MainFormServices().ShowAbout = nullptr;
    MainFormServices().ShowDebugFile = nullptr;
    EXPECT_EQ(shown, (std::vector<std::string>{"Om Tollvane - (test)...", "Systeminformation"}));
}

// The environment list holds exactly `entries` ("name=value") while the fixture lives.
struct EnvironmentFixture {
    explicit EnvironmentFixture(const std::vector<std::pair<std::string, std::string>>& entries) {
        for (const std::string& line : GetEnvironmentInfo()) {
            const std::string name = line.substr(0, line.find('='));
            saved.emplace_back(name, line.substr(name.size() + 1));
            SetEnvironmentInfo(name, "");
        }
        for (const auto& [name, value] : entries) SetEnvironmentInfo(name, value);
    }
    ~EnvironmentFixture() {
        for (const std::string& line : GetEnvironmentInfo())
            SetEnvironmentInfo(line.substr(0, line.find('=')), "");
        for (const auto& [name, value] : saved) SetEnvironmentInfo(name, value);
    }
    std::vector<std::pair<std::string, std::string>> saved;
};

TEST(EnviromentInfoDialog, ListsTheEntriesSortedAndCopiesThemToTheClipboard) {
    test::TempDir dir;
    EnvironmentFixture env(
        {{"Prefs Folder", dir.Root()}, {"64-bit Windows", "True"}, {"Adk.dll ver", "20.31.1.5867"}});
    TEnviromentInfoDialog dialog(nullptr);
    dialog.Show();
    EXPECT_EQ(dialog.Caption(), "Systeminformation");
    TListColumns* columns = dialog.EnvInfoList->Columns();
    ASSERT_EQ(columns->Count(), 2);
    EXPECT_EQ(columns->Items(0)->Caption(), "Info");
    EXPECT_EQ(columns->Items(0)->Width(), 150);
    EXPECT_EQ(columns->Items(1)->Caption(), "Värde");
    EXPECT_EQ(columns->Items(1)->Width(), 300);
    std::vector<std::string> rows;
    for (int i = 0; i < dialog.EnvInfoList->Items()->Count(); ++i) {
        TListItem* item = dialog.EnvInfoList->Items()->Item(i);
        rows.push_back(item->Caption() + " | " + item->SubItems()->Strings(0));
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"64-bit Windows | True", "Adk.dll ver | 20.31.1.5867",
                                              "Prefs Folder | " + dir.Root()}));
    // What shows in the list is what the tree widget draws.
    auto* tree = static_cast<QTreeWidget*>(dialog.EnvInfoList->Widget());
    EXPECT_EQ(tree->topLevelItem(2)->text(1).toStdString(), dir.Root());
    EXPECT_EQ(tree->headerItem()->text(1).toStdString(), "Värde");

    const std::string expected =
        "Systeminformation\r\n------------------------------\r\n64-bit Windows=True\r\n"
        "Adk.dll ver=20.31.1.5867\r\nPrefs Folder=" +
        dir.Root() + "\r\n";
    EXPECT_EQ(dialog.ClipText, expected);
    Clipboard().SetAsText("något annat");
    EXPECT_EQ(dialog.CopyBtn->Caption(), "&Kopiera");
    QTest::mouseClick(dialog.CopyBtn->Widget(), Qt::LeftButton);
    EXPECT_EQ(Clipboard().AsText(), expected);
}

TEST(EnviromentInfoDialog, ADoubleClickOpensAFolderOrTheFolderOfAFileAndNothingElse) {
    test::TempDir dir;
    const std::string file = dir.Write("logs/log.txt", "");
    EnvironmentFixture env({{"A Folder", dir.Path("logs")},
                            {"B File", file},
                            {"C Flag", "True"},
                            {"D Gone", dir.Path("nowhere/x.txt")},
                            {"E Empty", " "}});
    struct Case {
        int row;
        std::vector<std::string> opened;
    };
    const Case cases[] = {
        {0, {dir.Path("logs")}}, {1, {dir.Path("logs")}}, {2, {}}, {3, {}}, {4, {}},
    };
    for (const Case& c : cases) {
        test::RecordingShell shell;
        TEnviromentInfoDialog dialog(nullptr);
        dialog.Show();
        auto* tree = static_cast<QTreeWidget*>(dialog.EnvInfoList->Widget());
        const TRect r = dialog.EnvInfoList->Items()->Item(c.row)->DisplayRect();
        ASSERT_FALSE(r.IsEmpty()) << c.row;
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {},
                           QPoint(r.Left + 200, r.Top + r.Height() / 2));
        EXPECT_EQ(dialog.EnvInfoList->ItemIndex(), c.row);
        EXPECT_EQ(shell.opened, c.opened) << c.row;
        EXPECT_TRUE(shell.executed.empty());
    }
}

TEST(FormFontMaster, GivesTheFormTheDesktopFontUnlessVetoed) {
    for (bool veto : {false, true}) {
        TForm form(nullptr);
        form.Font()->SetName("Tahoma");
        form.Font()->SetSize(8);
        form.BeginLoading();
        auto* master = new TFormFontMaster(&form);
        TFont designed;
        designed.SetName("Designed");
        master->SetDesignedFont(&designed);
        int asked = 0;
        master->OnFontChange = [&](TObject* sender, bool& allow) {
            EXPECT_EQ(sender, master);
            EXPECT_TRUE(allow);
            ++asked;
            allow = !veto;
        };
        form.EndLoading();
        EXPECT_EQ(asked, 1);
        if (veto) {
            EXPECT_EQ(form.Font()->Name(), "Tahoma");
            EXPECT_EQ(form.Font()->Size(), 8);
            EXPECT_EQ(master->DesignedFont()->Name(), "Designed") << "the designed font is kept";
        } else {
            EXPECT_TRUE(SameFont(*form.Font(), *master->DesktopIconFont()));
            EXPECT_EQ(master->DesignedFont()->Name(), "Tahoma");
            EXPECT_EQ(master->DesktopIconFontSizeDiff(), master->DesktopIconFont()->Size() - 8);
        }
    }
}

TEST(FormFontMaster, TheDesktopFontIsTheToolkitsGeneralFont) {
    TFormFontMaster master(nullptr);
    const QFont general = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    EXPECT_EQ(master.DesktopIconFont()->Name(), general.family().toStdString());
    if (general.pointSize() > 0) {
        EXPECT_EQ(master.DesktopIconFont()->Size(), general.pointSize());
    }
    master.UpdateFont();  // no form to give it to: nothing happens
    EXPECT_EQ(master.DesignedFont()->Name(), TFont().Name());

    EnvironmentFixture env({});
    TEnviromentInfoDialog dialog(nullptr);
    EXPECT_EQ(dialog.FormFontMaster1->DesignedFont()->Name(), "Tahoma");
    EXPECT_EQ(dialog.FormFontMaster1->DesignedFont()->Size(), 8);
    EXPECT_TRUE(SameFont(*dialog.Font(), *dialog.FormFontMaster1->DesktopIconFont()));
}

}  // namespace
}  // namespace tv
