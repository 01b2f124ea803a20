// The provisioning run: "setup.ini" merged into the general settings, deleted, the settings saved.

#include <gtest/gtest.h>

#include <map>

#include "core/provisioning.h"
#include "platform/rtl/dialog_service.h"
#include "platform/rtl/exception.h"
#include "tests/core/startup/startup_fixture.h"
#include "tests/support/captured_log.h"

namespace tv {
namespace {

// The general settings as a map, and a record of what the run did.
class FakeSettings : public IProvisioningSettings {
public:
    void EmptyGeneralSettings() override { calls += "empty,"; }
    void LoadSettings() override {
        calls += "load,";
        fields = {{"SPCSPathSRC", "/old/adm"},  {"CompanyUsername", "olduser"},
                  {"CompanyPassword", "oldpw"}, {"CompanySQLAuthMode", "0"},
                  {"CompanySQLUsername", "sa"}, {"CompanySQLPassword", "sapw"}};
    }
    void SaveSettings() override {
        calls += "save,";
        if (!saveFailure.empty()) throw EInOutError(saveFailure);
    }
    std::string GeneralText(std::string_view field) const override { return fields.at(std::string(field)); }
    void SetGeneralText(std::string_view field, std::string_view value) override {
        fields[std::string(field)] = value;
    }
    void SetGeneralInteger(std::string_view field, int value) override {
        fields[std::string(field)] = std::to_string(value);
    }
    void PostGeneralSettings() override { calls += "post,"; }

    std::map<std::string, std::string> fields;
    std::string calls;
    std::string saveFailure;  // SaveSettings raises this when set
};

class Provisioning : public ::testing::Test {
protected:
    void SetUp() override {
        oldFolder_ = GetCurrentDir();
        SetCurrentDir(folders.dir.Root());
        HeadlessDialogService().SetReport([this](std::string_view, std::string_view text) { shown += text; });
    }
    void TearDown() override {
        SetCurrentDir(oldFolder_);
        HeadlessDialogService().SetReport({});
    }
    test::StartupFolders folders{{"/setup"}};
    test::CapturedLog log;
    FakeSettings settings;
    std::string shown;

private:
    std::string oldFolder_;
};

TEST_F(Provisioning, MergesSetupIniDeletesItAndSaves) {
    folders.dir.Write("setup.ini",
                      "[General]\r\nVismaPath=/srv/adm\r\nAdminSQLAuthMode=2\r\n[Other]\r\nx=1\r\n");
    ASSERT_TRUE(IsProvisioningRun());
    EXPECT_TRUE(RunProvisioning(settings));
    EXPECT_EQ(settings.calls, "empty,load,post,save,");
    EXPECT_EQ(settings.fields["SPCSPathSRC"], "/srv/adm");
    EXPECT_EQ(settings.fields["CompanySQLAuthMode"], "2");
    EXPECT_EQ(settings.fields["CompanyUsername"], "olduser");  // keys not given keep their values
    EXPECT_EQ(settings.fields["CompanySQLPassword"], "sapw");
    EXPECT_FALSE(folders.dir.Exists("setup.ini"));
    EXPECT_EQ(log.Text(), "INFO Setup initialized\n");
    EXPECT_EQ(shown, "");  // no window, no message
}

TEST_F(Provisioning, WithoutSetupIniTheSettingsAreStillLoadedAndSaved) {
    EXPECT_TRUE(RunProvisioning(settings));
    EXPECT_EQ(settings.calls, "empty,load,save,");
    EXPECT_EQ(log.Text(), "INFO Setup initialized\n");
}

struct FailedRunCase {
    const char* rule;
    const char* setupIni;
    const char* saveFailure;
    const char* calls;
    const char* logged;
};

TEST_F(Provisioning, AFailedMergeOrSaveIsLoggedAndKeepsSetupIni) {
    const FailedRunCase cases[] = {
        {"a value that does not convert: nothing is saved",
         "[General]\r\nVismaPath=/srv/adm\r\nAdminSQLAuthMode=two\r\n", "", "empty,load,",
         "ERROR Failed to perform setup: EConvertError: 'two' is not a valid integer value\n"},
        // Its values were merged but never reached the settings file: deleting it would lose them.
        {"a save that fails", "[General]\r\nIntegrationPassword=hemligt\r\n",
         "Cannot write file \"tollvane.ini\"", "empty,load,post,save,",
         "ERROR Failed to perform setup: EInOutError: Cannot write file \"tollvane.ini\"\n"},
    };
    for (const auto& c : cases) {
        test::CapturedLog rowLog;
        FakeSettings rowSettings;
        rowSettings.saveFailure = c.saveFailure;
        folders.dir.Write("setup.ini", c.setupIni);
        EXPECT_FALSE(RunProvisioning(rowSettings)) << c.rule;
        EXPECT_EQ(rowSettings.calls, c.calls) << c.rule;
        EXPECT_TRUE(folders.dir.Exists("setup.ini")) << c.rule;
        EXPECT_EQ(rowLog.Text(), std::string("INFO Setup initialized\n") + c.logged) << c.rule;
    }
}

TEST(ProvisioningSwitch, OnlyTheSetupSwitchStartsIt) {
    SetAppParams({"/import", "-SETUP"});
    EXPECT_TRUE(IsProvisioningRun());
    SetAppParams({"/import", "setup"});
    EXPECT_FALSE(IsProvisioningRun());
    SetAppParams({});
}

}  // namespace
}  // namespace tv
