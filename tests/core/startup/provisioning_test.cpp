// The provisioning run: "setup.ini" merged into the general settings, deleted, the settings saved.

#include <gtest/gtest.h>

#include <map>

#include "core/provisioning.h"
#include "platform/rtl/dialog_service.h"
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
    void SaveSettings() override { calls += "save,"; }
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
    RunProvisioning(settings);
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
    RunProvisioning(settings);
    EXPECT_EQ(settings.calls, "empty,load,save,");
    EXPECT_EQ(log.Text(), "INFO Setup initialized\n");
}

TEST_F(Provisioning, AFailedMergeIsLoggedAndLeavesSetupIniAndTheSettingsFile) {
    folders.dir.Write("setup.ini", "[General]\r\nVismaPath=/srv/adm\r\nAdminSQLAuthMode=two\r\n");
    RunProvisioning(settings);
    EXPECT_EQ(settings.calls, "empty,load,");
    EXPECT_TRUE(folders.dir.Exists("setup.ini"));
    EXPECT_EQ(log.Text(),
              "INFO Setup initialized\n"
              "ERROR Failed to perform setup: EConvertError: 'two' is not a valid integer value\n");
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
