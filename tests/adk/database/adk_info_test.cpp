#include "adk/adk_info.h"

#include <gtest/gtest.h>

#include "platform/rtl/environment_info.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

// Files of one case: a path below the temporary folder ("program/Adk.ini") and its content.
struct CaseFile {
    const char* path;
    const char* content;
};
struct InfoCase {
    const char* rule;
    std::vector<CaseFile> files;
    const char* adkDll;
    const char* adminPath;
    const char* lastCompany;
    bool usesLocalIni;
};

const InfoCase kInfoCases[] = {
    {"nothing installed", {}, "", "", "", false},
    {"Adk.ini names the kit's folder",
     {{"program/Adk.ini", "[SpcsAdm.exe]\r\nAdkDll=/opt/admin/\r\nCommonFiles=/opt/gem/\r\n"}},
     "/opt/admin/",
     "/opt/admin/",
     "",
     true},
    {"a lower-case adk.ini counts",
     {{"program/adk.ini", "[SpcsAdm.exe]\r\nAdkDll=/opt/admin\r\n"}},
     "/opt/admin",
     "/opt/admin",
     "",
     true},
    {"Adk.ini without AdkDll: its [Adk] Path",
     {{"program/Adk.ini", "[SpcsAdm.exe]\r\nPath=/x\r\n[Adk]\r\nPath=/opt/adm/\r\n"}},
     "",
     "/opt/adm/",
     "",
     true},
    {"the business system's ADMPath",
     {{"current/SPCSAdm.ini", "[Prog]\r\nADMPath=/opt/spcs/\r\n[Company]\r\nPath=/srv/f/demo/\r\n"}},
     "",
     "/opt/spcs/",
     "/srv/f/demo/",
     false},
    {"the folder of the last company, trailing delimiter removed first",
     {{"current/SPCSAdm.ini", "[Company]\r\nPath=/srv/foretag/demo/\r\n"}},
     "",
     "/srv/foretag/",
     "/srv/foretag/demo/",
     false},
    {"a Windows company path",
     {{"current/SPCSAdm.ini", "[Company]\r\nPath=C:\\Foretag\\Demo\\\r\n"}},
     "",
     "C:\\Foretag\\",
     "C:\\Foretag\\Demo\\",
     false},
    {"SpcsFor.ini when SPCSAdm.ini is missing",
     {{"current/SpcsFor.ini", "[Company]\r\nPath=/srv/forening/klubb\r\n"}},
     "",
     "/srv/forening/",
     "/srv/forening/klubb",
     false},
    {"the last company from the INI folder Adk.ini names",
     {{"program/Adk.ini", "[SpcsAdm.exe]\r\nAdkDll=/opt/a/\r\nAdmIni=@/ini\r\n"},
      {"ini/SpcsFor.ini", "[Company]\r\nPath=/srv/f/last\r\n"},
      {"current/SPCSAdm.ini", "[Company]\r\nPath=/srv/f/other\r\n"}},
     "/opt/a/",
     "/opt/a/",
     "/srv/f/last",
     true},
};

TEST(AdkInfo, FindsTheInstallationFromTheLocalAndTheBusinessSystemsIniFiles) {
    for (const auto& c : kInfoCases) {
        test::TempDir dir;
        dir.MakeFolder("program");
        dir.MakeFolder("current");
        for (const auto& f : c.files) {
            std::string content = f.content;
            if (auto at = content.find('@'); at != std::string::npos) content.replace(at, 1, dir.Root());
            dir.Write(f.path, content);
        }
        TAdkInfo info(dir.Path("program"), dir.Path("current"));
        EXPECT_EQ(info.ExeName(), "SpcsAdm.exe") << c.rule;
        EXPECT_EQ(info.AdkDll(), c.adkDll) << c.rule;
        EXPECT_EQ(info.AdminPath(), c.adminPath) << c.rule;
        EXPECT_EQ(info.LastCompany(), c.lastCompany) << c.rule;
        EXPECT_EQ(info.UsesLocalIni(), c.usesLocalIni) << c.rule;
        EXPECT_FALSE(info.Is64bit()) << c.rule;
    }
}

TEST(AdkInfo, ReadsEveryValueOfTheLocalFileAndRecordsIt) {
    test::TempDir dir;
    std::string ini =
        dir.Write("Adk.ini",
                  "[SpcsAdm.exe]\r\nPath=/p\r\nInstallType=Klient\r\nAdmIni=/i\r\nInstallOS=Linux\r\n"
                  "AdkDll=/k\r\nCommonFiles=/g\r\nDefaultCompanyPath=/f\r\nCommonApp=/c\r\n");
    TAdkInfo info(dir.Root(), dir.Root());
    EXPECT_EQ(info.Path(), "/p");
    EXPECT_EQ(info.InstallType(), "Klient");
    EXPECT_EQ(info.AdmIni(), "/i");
    EXPECT_EQ(info.InstallOS(), "Linux");
    EXPECT_EQ(info.CommonFiles(), "/g");
    EXPECT_EQ(info.DefaultCompanyPath(), "/f");
    EXPECT_EQ(info.CommonApp(), "/c");
    EXPECT_EQ(EnvironmentInfoValue("Local Adk.ini"), ini);
}

TEST(AdkInfo, AdminPathOfACompanyPath) {
    struct {
        const char *path, *admin;
    } cases[] = {
        {"C:\\Foretag\\Demo\\", "C:\\Foretag\\"},
        {"/srv/foretag/demo", "/srv/foretag/"},
        {"Demo", "Demo"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(AdminPathOfCompanyPath(c.path), c.admin) << c.path;
}

}  // namespace
}  // namespace tv
