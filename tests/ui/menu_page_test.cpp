// The integration-menu page ("Integrationsmeny"), offscreen with real clicks, on hand-written menu
// files: choosing the file, ticking the entries the file holds, updating the menu as the check
// boxes say, and showing the file.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gui/application.h"
#include "platform/gui/button.h"
#include "platform/xml/xml_document.h"
#include "settings_fixture.h"
#include "tests/support/recording_shell.h"

namespace tv {
namespace {

using test::PageWindow;
using test::SettingsFixture;

constexpr const char* kPage = "Integrationsmeny";
constexpr const char* kMenuFolder = "common/SPCS/SPCS Administration/Gemensamma filer";
constexpr const char* kSmartParameters =
    "/ftg %F /register %R /id %U /runscript export\\default_smart.pas /nevershutdown";

// A menu file as the business system holds it: another program's menu, and ours with the import
// entry written as "Menuitem".
constexpr const char* kHandWritten =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
    "<DynamicMenuSetup>\r\n"
    "\t<Menu Name=\"Annat\"><MenuItem Path=\"annat\" Parameters=\"\" "
    "meta_app=\"Annat\">Import</MenuItem></Menu>\r\n"
    "\t<Menu Name=\"Quorvel\" meta_company=\"Brismark\">\r\n"
    "\t\t<Menuitem Path=\"gammal\" Parameters=\"/import\" meta_app=\"Quorvel\" "
    "meta_company=\"Brismark\">Import</Menuitem>\r\n"
    "\t</Menu>\r\n"
    "</DynamicMenuSetup>\r\n";

struct Entry {
    std::string menu, title, path, parameters;
    bool operator==(const Entry&) const = default;
};

// Every entry of the file, menu by menu.
std::vector<Entry> Entries(const std::string& file) {
    TXMLDocument document;
    document.LoadFromFile(file);
    std::vector<Entry> entries;
    for (TXMLNode* menu : document.DocumentElement()->ChildNodes()) {
        if (menu->NodeType() != TNodeType::ntElement) continue;
        for (TXMLNode* item : menu->ChildNodes())
            if (item->NodeType() == TNodeType::ntElement)
                entries.push_back({menu->Attribute("Name"), item->Text(), item->Attribute("Path"),
                                   item->Attribute("Parameters")});
    }
    return entries;
}

struct MenuPage {
    explicit MenuPage(SettingsFixture& f) : f(f), w(f, kPage) {}

    TCheckBox* Box(const char* name) const { return w.Named<TCheckBox>(name); }
    void Tick(std::initializer_list<const char*> names) const {
        for (const char* name : {"checkStartApp", "checkPlainImport", "checkPlainExport", "checkSmartExport"})
            Box(name)->SetChecked(std::find_if(names.begin(), names.end(), [&](const char* n) {
                                      return std::string(n) == name;
                                  }) != names.end());
    }
    void Press(const char* button) const {
        QTest::mouseClick(w.Named<TButton>(button)->Widget(), Qt::LeftButton);
    }
    std::vector<std::string> Ticked() const {
        std::vector<std::string> names;
        for (const char* name : {"checkStartApp", "checkPlainImport", "checkPlainExport", "checkSmartExport"})
            if (Box(name)->Checked()) names.push_back(name);
        return names;
    }

    SettingsFixture& f;
    PageWindow w;
};

TEST(MenuPage, TheBusinessSystemsFileIsTakenOnYesAndAnyOtherOnlyWhenPicked) {
    SettingsFixture f;
    const std::string ours = f.folders.dir.Path(kMenuFolder) + "/DynamicMenu.xml";
    const std::string picked = f.folders.dir.Write("eget/meny.xml", kHandWritten);

    {  // No folder of the business system, and no file picked: the error box, nothing written.
        MenuPage p(f);
        f.dialogs.QueueFile(std::nullopt);
        f.dialogs.QueueAnswer(TMsgAnswer::Ok);
        p.Press("Button6");
        ASSERT_EQ(f.dialogs.Requests().size(), 2u);
        EXPECT_EQ(f.dialogs.Requests()[0].Kind, TDialogKind::OpenFile);
        EXPECT_EQ(f.dialogs.Requests()[1].Text, "Installationen avbröts: ingen menyfil angavs.");
        EXPECT_EQ(f.dialogs.Requests()[1].Icon, TMsgIcon::Error);
    }
    f.folders.dir.MakeFolder(kMenuFolder);
    {  // The business system's file is offered; No, then a file picked: that file is read.
        MenuPage p(f);
        f.dialogs.QueueAnswer(TMsgAnswer::No);
        f.dialogs.QueueFile(picked);
        p.Press("Button1");
        ASSERT_EQ(f.dialogs.Requests().size(), 4u);
        EXPECT_EQ(f.dialogs.Requests()[2].Text,
                  "Hittade menyfilen\r\n\r\n" + ours + ".\r\n Vill du uppdatera denna menyfil?");
        EXPECT_EQ(f.dialogs.Requests()[2].Buttons, TMsgButtons::YesNo);
        EXPECT_EQ(p.Ticked(), (std::vector<std::string>{"checkPlainImport"})) << "found as Menuitem";
        // The file chosen stays the page's: no second question.
        p.Tick({});
        p.Press("Button1");
        EXPECT_EQ(f.dialogs.Requests().size(), 4u);
        EXPECT_EQ(p.Ticked(), (std::vector<std::string>{"checkPlainImport"}));
    }
    {  // Yes: the business system's file, created by the update.
        MenuPage p(f);
        f.dialogs.QueueAnswer(TMsgAnswer::Yes);
        f.dialogs.QueueAnswer(TMsgAnswer::Ok);
        p.Tick({"checkPlainExport"});
        p.Press("Button6");
        EXPECT_EQ(f.dialogs.Requests().back().Text,
                  "Integrationsmenyn har uppdaterats.\r\nGlöm inte att starta om Visma Administration");
        EXPECT_EQ(Entries(ours),
                  (std::vector<Entry>{{"Quorvel", "Export", Application().ExeName(), "/export"}}));
    }
}

TEST(MenuPage, UpdatingTwiceLeavesOneEntryEachWithTheProgramsPath) {
    SettingsFixture f;
    const std::string file = f.folders.dir.Write("eget/meny.xml", kHandWritten);
    MenuPage p(f);
    f.dialogs.QueueFile(file);
    for (int i = 0; i < 2; ++i) {
        f.dialogs.QueueAnswer(TMsgAnswer::Ok);
        // Updating before "Visa menyer" was ever pressed still writes the program's path.
        p.Tick({"checkStartApp", "checkPlainImport", "checkSmartExport"});
        p.Press("Button6");
    }
    const std::string exe = Application().ExeName();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(Entries(file), (std::vector<Entry>{{"Annat", "Import", "annat", ""},
                                                 {"Quorvel", "Quorvel", exe, ""},
                                                 {"Quorvel", "Import", exe, "/import"},
                                                 {"Quorvel", "Exportera dokument", exe, kSmartParameters}}));
    // Unticked entries that are ours go; one that is absent is left alone; the other program's
    // entry of the same title stays.
    f.dialogs.QueueAnswer(TMsgAnswer::Ok);
    p.Tick({"checkSmartExport"});
    p.Press("Button6");
    EXPECT_EQ(Entries(file), (std::vector<Entry>{{"Annat", "Import", "annat", ""},
                                                 {"Quorvel", "Exportera dokument", exe, kSmartParameters}}));
    p.Tick({"checkStartApp", "checkPlainImport", "checkPlainExport"});
    p.Press("Button1");
    EXPECT_EQ(p.Ticked(), (std::vector<std::string>{"checkSmartExport"}));
}

TEST(MenuPage, AFileThatCannotBeReadIsShownAsTheButtonsError) {
    SettingsFixture f;
    const std::string file = f.folders.dir.Write("eget/meny.xml", "<DynamicMenuSetup><Menu");
    MenuPage p(f);
    f.dialogs.QueueFile(file);
    f.dialogs.QueueAnswer(TMsgAnswer::Ok);
    p.Press("Button1");
    ASSERT_EQ(f.dialogs.Requests().size(), 2u);
    EXPECT_EQ(
        f.dialogs.Requests()[1].Text.rfind("Ett fel uppstod: Kunde inte ladda in integrationsmeny: ", 0), 0u)
        << f.dialogs.Requests()[1].Text;
    EXPECT_EQ(f.folders.dir.Read("eget/meny.xml"), "<DynamicMenuSetup><Menu") << "left as it was";
}

TEST(MenuPage, ShowingTheFileShowsItOrItsFolderOrNothing) {
    SettingsFixture f;
    test::RecordingShell shell;
    MenuPage p(f);
    p.Press("ShowVismaMenu");
    EXPECT_TRUE(shell.shown.empty() && shell.opened.empty()) << "neither folder nor file";
    const std::string folder = f.folders.dir.MakeFolder(kMenuFolder);
    p.Press("ShowVismaMenu");
    EXPECT_EQ(shell.opened, (std::vector<std::string>{f.folders.dir.Path(kMenuFolder)}));
    EXPECT_TRUE(shell.shown.empty());
    const std::string file = f.folders.dir.Write(std::string(kMenuFolder) + "/DynamicMenu.xml", kHandWritten);
    p.Press("ShowVismaMenu");
    EXPECT_EQ(shell.shown, (std::vector<std::string>{file}));
    EXPECT_TRUE(f.dialogs.Requests().empty());
}

}  // namespace
}  // namespace tv
