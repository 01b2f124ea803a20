// The integration-menu installer against menu files written by hand.

#include <gtest/gtest.h>

#include "adk/menu_installer.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

constexpr const char* kSmartParameters =
    "/ftg %F /register %R /id %U /runscript export\\default_smart.pas /nevershutdown";

// The installer as the settings page sets it up for the smart export entry.
void SetUpSmartExport(TAdkMenuInstaller& installer) {
    installer.Category = "Quorvel";
    installer.Company = "Brismark";
    installer.ApplicationName = "Quorvel";
    installer.Command = "/opt/tollvane/tollvane";
    installer.Title = "Exportera dokument";
    installer.Parameters = kSmartParameters;
}

const std::string kSmartEntryLine =
    "\t\t<MenuItem Path=\"/opt/tollvane/tollvane\" Parameters=\"/ftg %F /register %R /id %U /runscript "
    "export\\default_smart.pas /nevershutdown\" meta_app=\"Quorvel\" meta_company=\"Brismark\">Exportera "
    "dokument</MenuItem>\r\n";

TEST(MenuInstaller, InstallingIntoAMissingFileCreatesTheMenuFile) {
    test::TempDir dir;
    TAdkMenuInstaller installer;
    SetUpSmartExport(installer);
    installer.InstallToVismaIntegrationMenu(dir.Path("DynamicMenu.xml"));
    EXPECT_EQ(dir.Read("DynamicMenu.xml"),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
              "<DynamicMenuSetup>\r\n"
              "\t<Menu Name=\"Quorvel\" meta_company=\"Brismark\">\r\n" +
                  kSmartEntryLine +
                  "\t</Menu>\r\n"
                  "</DynamicMenuSetup>\r\n");
}

TEST(MenuInstaller, WithoutACategoryEntriesSitUnderTheRootAndTheTitleStandsInForTheApplication) {
    test::TempDir dir;
    TAdkMenuInstaller installer;
    installer.Title = "Import";
    installer.Command = "/opt/tollvane/tollvane";
    installer.Parameters = "/import";
    installer.InstallToVismaIntegrationMenu(dir.Path("m.xml"));
    EXPECT_EQ(dir.Read("m.xml"),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
              "<DynamicMenuSetup>\r\n"
              "\t<MenuItem Path=\"/opt/tollvane/tollvane\" Parameters=\"/import\" meta_app=\"Import\">Import"
              "</MenuItem>\r\n"
              "</DynamicMenuSetup>\r\n");
    installer.RemoveFromVismaIntegrationMenu(dir.Path("m.xml"), false);
    EXPECT_EQ(dir.Read("m.xml"),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<DynamicMenuSetup/>\r\n");
}

// A menu file with another vendor's menu and our menu, its entries spelled as the business system
// may spell them.
const std::string kMenuFile =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
    "<DynamicMenuSetup>\r\n"
    "\t<Menu Name=\"L\xF6nebyr\xE5n\">\r\n"
    "\t\t<Menuitem Path=\"/opt/lon/lon\" Parameters=\"-x\" meta_app=\"L\xF6n\">Exportera "
    "dokument</Menuitem>\r\n"
    "\t</Menu>\r\n"
    "\t<Menu Name=\"Quorvel\" meta_company=\"Brismark\">\r\n"
    "\t\t<Menuitem Path=\"/old/path\" Parameters=\"/import\" meta_app=\"Quorvel\" "
    "meta_company=\"Brismark\">Import"
    "</Menuitem>\r\n"
    "\t\t<MenuItem Path=\"/old/path\" Parameters=\"old\" meta_app=\"Quorvel\" "
    "meta_company=\"Brismark\">Exportera "
    "dokument</MenuItem>\r\n"
    "\t</Menu>\r\n"
    "</DynamicMenuSetup>\r\n";

TEST(MenuInstaller, InstallingTwiceUpdatesTheOneEntryWhicheverSpellingItHas) {
    test::TempDir dir;
    std::string path = dir.Write("DynamicMenu.xml", kMenuFile);
    TAdkMenuInstaller installer;
    SetUpSmartExport(installer);
    installer.InstallToVismaIntegrationMenu(path);
    installer.InstallToVismaIntegrationMenu(path);
    installer.Title = "Import";
    installer.Parameters = "/import";
    installer.InstallToVismaIntegrationMenu(path);
    EXPECT_EQ(dir.Read("DynamicMenu.xml"),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
              "<DynamicMenuSetup>\r\n"
              "\t<Menu Name=\"L\xF6nebyr\xE5n\">\r\n"
              "\t\t<Menuitem Path=\"/opt/lon/lon\" Parameters=\"-x\" meta_app=\"L\xF6n\">Exportera dokument"
              "</Menuitem>\r\n"
              "\t</Menu>\r\n"
              "\t<Menu Name=\"Quorvel\" meta_company=\"Brismark\">\r\n"
              "\t\t<Menuitem Path=\"/opt/tollvane/tollvane\" Parameters=\"/import\" meta_app=\"Quorvel\" "
              "meta_company=\"Brismark\">Import</Menuitem>\r\n" +
                  kSmartEntryLine +
                  "\t</Menu>\r\n"
                  "</DynamicMenuSetup>\r\n");
}

TEST(MenuInstaller, RemovingAnEntryLeavesEveryOtherLineByteForByte) {
    test::TempDir dir;
    std::string path = dir.Write("DynamicMenu.xml", kMenuFile);
    TAdkMenuInstaller installer;
    SetUpSmartExport(installer);
    installer.Title = "Import";
    installer.RemoveFromVismaIntegrationMenu(path, false);
    std::string expected = kMenuFile;
    const std::string importLine =
        "\t\t<Menuitem Path=\"/old/path\" Parameters=\"/import\" meta_app=\"Quorvel\" "
        "meta_company=\"Brismark\">"
        "Import</Menuitem>\r\n";
    expected.erase(expected.find(importLine), importLine.size());
    EXPECT_EQ(dir.Read("DynamicMenu.xml"), expected);
}

struct KeptCase {
    const char* rule;
    const char* category;
    const char* title;
    const char* applicationName;
    const char* company;
    bool wholeMenu;
};
constexpr KeptCase kKeptCases[] = {
    {"another application's entry", "Quorvel", "Import", "Annan", "Brismark", false},
    {"another company's entry", "Quorvel", "Import", "Quorvel", "Annan", false},
    {"a title that is not there", "Quorvel", "Saknas", "Quorvel", "Brismark", false},
    {"a menu that is not there", "Saknas", "Import", "Quorvel", "Brismark", false},
    {"another company's menu", "Quorvel", "", "Quorvel", "Annan", true},
    {"no category: the root is never removed", "", "", "Quorvel", "", true},
};

TEST(MenuInstaller, ARemovalThatMatchesNothingLeavesTheFileUntouched) {
    test::TempDir dir;
    for (const auto& c : kKeptCases) {
        std::string path = dir.Write("DynamicMenu.xml", kMenuFile);
        TAdkMenuInstaller installer;
        installer.Category = c.category;
        installer.Title = c.title;
        installer.ApplicationName = c.applicationName;
        installer.Company = c.company;
        installer.RemoveFromVismaIntegrationMenu(path, c.wholeMenu);
        EXPECT_EQ(dir.Read("DynamicMenu.xml"), kMenuFile) << c.rule;
    }
    TAdkMenuInstaller installer;
    SetUpSmartExport(installer);
    installer.RemoveFromVismaIntegrationMenu(dir.Path("missing.xml"), false);
    EXPECT_FALSE(dir.Exists("missing.xml"));  // removing from nothing creates nothing
}

TEST(MenuInstaller, RemovingTheSubMenuRemovesOurWholeMenu) {
    test::TempDir dir;
    std::string path = dir.Write("DynamicMenu.xml", kMenuFile);
    TAdkMenuInstaller installer;
    SetUpSmartExport(installer);
    installer.RemoveFromVismaIntegrationMenu(path, true);
    EXPECT_EQ(dir.Read("DynamicMenu.xml"),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
              "<DynamicMenuSetup>\r\n"
              "\t<Menu Name=\"L\xF6nebyr\xE5n\">\r\n"
              "\t\t<Menuitem Path=\"/opt/lon/lon\" Parameters=\"-x\" meta_app=\"L\xF6n\">Exportera dokument"
              "</Menuitem>\r\n"
              "\t</Menu>\r\n"
              "</DynamicMenuSetup>\r\n");
}

struct PresentCase {
    const char* category;
    const char* title;
    bool present;
};
constexpr PresentCase kPresentCases[] = {
    {"Quorvel", "Import", true},              // spelled "Menuitem"
    {"Quorvel", "Exportera dokument", true},  // spelled "MenuItem"
    {"Quorvel", "Export", false},
    {"quorvel", "Import", false},  // the menu's name is compared exactly
    {"L\xC3\xB6nebyr\xC3\xA5n", "Exportera dokument", true},
    {"Saknas", "Import", false},
    {"", "Import", false},  // not directly under the root
};

TEST(MenuInstaller, CheckIfPresentLooksInTheMenuOfTheCategory) {
    test::TempDir dir;
    std::string path = dir.Write("DynamicMenu.xml", kMenuFile);
    TAdkMenuInstaller installer;
    installer.SetMenuFileName(path);
    for (const auto& c : kPresentCases) {
        installer.Category = c.category;
        installer.Title = c.title;
        EXPECT_EQ(installer.CheckIfPresent(), c.present) << c.category << " / " << c.title;
    }
    installer.SetMenuFileName(dir.Path("missing.xml"));  // an empty menu, not the previous file's
    installer.Category = "Quorvel";
    installer.Title = "Import";
    EXPECT_FALSE(installer.CheckIfPresent());
}

TEST(MenuInstaller, AMalformedFileRaisesAndIsNotOverwritten) {
    test::TempDir dir;
    const std::string broken =
        "<?xml version=\"1.0\"?>\r\n<DynamicMenuSetup>\r\n\t<Menu Name=\"Quorvel\">\r\n";
    std::string path = dir.Write("DynamicMenu.xml", broken);
    TAdkMenuInstaller installer;
    SetUpSmartExport(installer);
    for (bool install : {true, false}) {
        try {
            if (install)
                installer.InstallToVismaIntegrationMenu(path);
            else
                installer.RemoveFromVismaIntegrationMenu(path, false);
            ADD_FAILURE() << "no error";
        } catch (const Exception& e) {
            EXPECT_EQ(
                std::string(e.what()).rfind("Kunde inte ladda in integrationsmeny: " + path + ": line 4", 0),
                0u)
                << e.what();
        }
        EXPECT_EQ(dir.Read("DynamicMenu.xml"), broken);
    }
    EXPECT_THROW(installer.SetMenuFileName(path), Exception);
}

TEST(MenuInstaller, ASaveFailureIsReportedWithItsReason) {
    test::TempDir dir;
    TAdkMenuInstaller installer;
    SetUpSmartExport(installer);
    try {
        installer.InstallToVismaIntegrationMenu(dir.Path("no/such/folder/DynamicMenu.xml"));
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Misslyckades att spara resultat: ", 0), 0u) << e.what();
    }
}

TEST(MenuInstaller, TheMenuFileLivesInTheBusinessSystemsCommonFiles) {
    test::TempDir dir;
    test::ScopedEnv env("TOLLVANE_COMMON_APPDATA", dir.Root().c_str());
    TAdkMenuInstaller installer;
    EXPECT_EQ(installer.FindIntegrationFile(), "");
    dir.MakeFolder("SPCS/SPCS Administration/Gemensamma filer");
    EXPECT_EQ(installer.FindIntegrationFile(),
              dir.Path("SPCS/SPCS Administration/Gemensamma filer/DynamicMenu.xml"));
}

class AnsweringDialogs : public THeadlessDialogService {
public:
    std::optional<std::string> OpenFile(const TOpenFileRequest& request) override {
        filter = request.Filter;
        return answer;
    }
    std::optional<std::string> answer;
    std::string filter;
};

TEST(MenuInstaller, TheOperatorPicksAnXmlFileOrCancels) {
    AnsweringDialogs dialogs;
    TAdkMenuInstaller installer(dialogs);
    dialogs.answer = "/home/a/DynamicMenu.xml";
    EXPECT_EQ(installer.AskForFilename(), "/home/a/DynamicMenu.xml");
    EXPECT_EQ(dialogs.filter, "XML-filer (*.xml)|*.xml");
    dialogs.answer.reset();
    EXPECT_EQ(installer.AskForFilename(), "");
}

}  // namespace
}  // namespace tv
