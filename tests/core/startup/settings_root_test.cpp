// The settings root, the instance and where each settings file and folder is used.

#include <gtest/gtest.h>

#include "platform/rtl/environment_info.h"
#include "platform/rtl/exception.h"
#include "tests/core/startup/startup_fixture.h"

namespace tv {
namespace {

struct PlaceCase {
    const char* rule;
    const char* name;
    bool inRoot;  // "file" or "folder" of that name in the root
    bool besideProgram;
    bool isFolder;
    bool expectProgram;
};
constexpr PlaceCase kPlaceCases[] = {
    {"a file in both places: the root's", "tollvane.ini", true, true, false, false},
    {"a file only beside the program", "tollvane.ini", false, true, false, true},
    {"a file nowhere: the root", "tollvane.ini", false, false, false, false},
    {"a folder in both places: the program's", "scripts", true, true, true, true},
    {"a folder only in the root", "scripts", true, false, true, false},
    {"a folder nowhere: the root", "scripts", false, false, true, false},
    {"an empty name: the root", "", false, false, false, false},
};

TEST(SettingsRoot, EachFileAndFolderIsTakenWhereThePartsSay) {
    for (const auto& c : kPlaceCases) {
        test::StartupFolders f;
        auto make = [&](const std::string& folder) {
            if (c.isFolder)
                f.dir.MakeFolder(folder + c.name);
            else
                f.dir.Write(folder + c.name, "x");
        };
        if (c.inRoot) make("common/Brismark/Tollvane/default/");
        if (c.besideProgram) make("prog/");
        std::string expected = c.expectProgram ? f.Program() : f.Root();
        EXPECT_EQ(GetPrefsFolder(c.name), expected) << c.rule;
        EXPECT_EQ(EnvironmentInfoValue("Prefs Folder"), expected) << c.rule;
    }
}

struct RootCase {
    const char* rule;
    std::vector<std::string> params;
    const char* instance;
    const char* root;  // below the test folder
};

TEST(SettingsRoot, InstanceAndWorkFolderSwitchesChooseTheRoot) {
    const RootCase cases[] = {
        {"no switch", {}, "default", "common/Brismark/Tollvane/default/"},
        {"an instance", {"/appinstance", "north"}, "north", "common/Brismark/Tollvane/north/"},
        {"the short switch", {"/appinst", "east"}, "east", "common/Brismark/Tollvane/east/"},
        {"the first switch with a value wins",
         {"/profile", "north", "/appinstance", "south"},
         "north",
         "common/Brismark/Tollvane/north/"},
        {"the switch is compared exactly",
         {"/APPINSTANCE", "x"},
         "default",
         "common/Brismark/Tollvane/default/"},
        {"a switch in the last place is skipped",
         {"/import", "/appinstance"},
         "default",
         "common/Brismark/Tollvane/default/"},
        {"a work folder without a delimiter", {"/workfolder", "@/wf"}, "default", "wf/"},
        {"a work folder with a delimiter", {"/workfolder", "@/wf/"}, "default", "wf/"},
        {"a work folder gets no instance", {"/appinstance", "north", "/workfolder", "@/wf"}, "north", "wf/"},
        {"the last work folder wins", {"/workfolder", "@/a", "/WORKFOLDER", "@/wf"}, "default", "wf/"},
        {"\"-workfolder\" gives no folder",
         {"-workfolder", "@/wf"},
         "default",
         "common/Brismark/Tollvane/default/"},
        {"a relative work folder is the start folder's", {"/workfolder", "rel"}, "default", "start/rel/"},
    };
    for (const auto& c : cases) {
        test::StartupFolders f;
        std::vector<std::string> params = c.params;
        for (auto& p : params)
            if (p.starts_with('@')) p = f.dir.Root() + p.substr(1);  // "@" stands for the test folder
        f.Start(params);
        EXPECT_EQ(AppInstanceName(), c.instance) << c.rule;
        EXPECT_EQ(GetPrefsRoot(), f.dir.Path(c.root)) << c.rule;
        EXPECT_EQ(GetPrefsFolder(""), f.dir.Path(c.root)) << c.rule;
    }
}

TEST(SettingsRoot, AnInstanceThatIsNoPlainFolderNameIsRefused) {
    struct BadInstance {
        const char* rule;
        const char* instance;
    };
    const BadInstance cases[] = {
        {"a way up and out of the product folder", "../../elsewhere"},
        {"the parent folder itself", ".."},
        {"the product folder itself", "."},
        {"a folder below another", "north/south"},
        {"an absolute folder", "/srv/root"},
        {"a line break", "north\nsouth"},
    };
    for (const auto& c : cases) {
        test::StartupFolders f;
        SetAppParams({"/profile", c.instance}, f.dir.Path("start"));
        try {
            UpdateApplicationInstance();
            ADD_FAILURE() << c.rule;
        } catch (const Exception& e) {
            EXPECT_EQ(std::string(e.what()), "Ogiltigt instansnamn [" + std::string(c.instance) + "]")
                << c.rule;
        }
        EXPECT_EQ(AppInstanceName(), "default") << c.rule << ": the instance stays as it was";
    }
    // Names that are one folder each are taken, dots and blanks included.
    for (const char* good : {"north.2", "Lager Syd", "..x"}) {
        test::StartupFolders f({"/profile", good});
        EXPECT_EQ(GetPrefsRoot(), f.Root(good)) << good;
    }
}

TEST(SettingsRoot, TheProductFolderFallsBackToTheTitleMadeSafe) {
    test::StartupFolders f;
    EXPECT_EQ(GetCommonAppDataAppFolder(false), f.dir.Path("common/Brismark/Tollvane/"));
    SetAppProductName("");
    SetApplicationTitle("Toll: vane/2");
    EXPECT_EQ(GetCommonAppDataAppFolder(false), f.dir.Path("common/Brismark/Toll vane2/"));
    SetAppCompanyName("");
    EXPECT_FALSE(f.dir.Exists("common/Toll vane2"));
    EXPECT_EQ(GetCommonAppDataAppFolder(true), f.dir.Path("common/Toll vane2/"));
    EXPECT_TRUE(f.dir.Exists("common/Toll vane2"));
}

struct InstanceParameterCase {
    std::vector<std::string> params;
    const char* expected;
};

TEST(SettingsRoot, TheInstanceNameFactComesFromAnInstanceParameter) {
    const InstanceParameterCase cases[] = {
        {{"/instance=north"}, "north"},
        {{"instance:north"}, "north"},
        {{"/INSTANCE=North"}, "North"},
        {{"/import", "-instance=a", "/instance=b"}, "a"},
        {{"/appinstance", "south"}, ""},  // "instance" further in
        {{"/instance"}, ""},
        {{}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(InstanceParameter(c.params), c.expected) << c.params.size();
}

struct SwitchCase {
    const char* param;
    bool found;
};
constexpr SwitchCase kSwitchCases[] = {
    {"/setup", true}, {"-SETUP", true}, {"--Setup", true}, {"setup", false}, {"/setupx", false}, {"/", false},
};

TEST(SettingsRoot, SwitchesAreFoundWithAnyPrefixAndCase) {
    for (const auto& c : kSwitchCases) {
        SetAppParams({"/import", c.param});
        EXPECT_EQ(FindCmdLineSwitch("setup"), c.found) << c.param;
    }
    SetAppParams({"/Setup"});
    EXPECT_FALSE(FindCmdLineSwitch("setup", false));
    SetAppParams({});
}

}  // namespace
}  // namespace tv
