#pragma once
// What the sample plug-ins share: every call they receive is appended, with its arguments, to a call
// log beside the module ("<module>.calls.log", one line a call, the name and each argument separated
// by tabs), and their settings live in the INI file "<module>.ini" (section "settings") in the folder
// the host gives with SetPrefsFolder. A sample derives from TSamplePlugin with its role interfaces and
// implements their methods; TSamplePlugin answers the base and visual interfaces.
//
// Like any plug-in, the samples link none of the program's libraries: only the SDK, Qt and the
// standard library.

#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "plugin_object.h"

namespace tv::samples {

// The state and services every sample has, whatever its interfaces.
class TSampleCore {
public:
    TSampleCore(std::string type, std::string title);

    // Appends one line to the call log; a log that cannot be written raises.
    static void Log(std::string_view call, std::initializer_list<std::string_view> args = {});

    // Reads the settings of the folder (none there: every setting has its default).
    void SetPrefsFolder(std::string_view folder);
    // Forgets what was set since the settings were read or written.
    void ReloadSettings();
    std::string Setting(std::string_view key, std::string_view defaultValue) const;
    void SetSetting(std::string_view key, std::string_view value);
    // Writes the settings into the folder.
    void SaveSettings();
    // A file of the work folder.
    std::filesystem::path InWorkFolder(std::string_view name) const;

    std::string Type, Title, PrefsFolder, WorkFolder, LogFile, LastError;
    std::vector<std::pair<std::string, std::string>> Params;

private:
    std::filesystem::path SettingsFile() const;

    std::map<std::string, std::string, std::less<>> settings_;
};

// Whether a file name matches a shell pattern ("*.xml"), letters compared without regard to case.
bool MatchesPattern(std::string_view name, std::string_view pattern);
// Moves a file over an existing target, also across file systems.
void MoveFileOver(const std::filesystem::path& source, const std::filesystem::path& target);

template <class... Roles>
class TSamplePlugin
    : public plugin::TPluginObject<plugin::IHYVisualPlugin, plugin::Iquorvel_plugin, Roles...> {
public:
    TSamplePlugin(std::string type, std::string title) : core_(std::move(type), std::move(title)) {}
    ~TSamplePlugin() override { delete panel_.data(); }

    bool TestModule() override {
        Log("TestModule");
        return Test();
    }
    void SaveSettings() override {
        Log("SaveSettings");
        TakePanelValues();
        core_.SaveSettings();
    }
    void SetPrefsFolder(const char* path) override {
        Log("SetPrefsFolder", {Arg(path)});
        core_.SetPrefsFolder(Arg(path));
    }
    void CancelSettings() override {
        Log("CancelSettings");
        core_.ReloadSettings();
    }
    const char* getLastError() override {
        Log("getLastError");
        return core_.LastError.c_str();
    }
    const char* getModuleTitle() override {
        Log("getModuleTitle");
        return core_.Title.c_str();
    }
    void setWorkFolder(const char* path) override {
        Log("setWorkFolder", {Arg(path)});
        core_.WorkFolder = Arg(path);
    }
    void setLogFile(const char* logfile) override {
        Log("setLogFile", {Arg(logfile)});
        core_.LogFile = Arg(logfile);
    }
    void addParam(const char* aKey, const char* aValue) override {
        Log("addParam", {Arg(aKey), Arg(aValue)});
        core_.Params.emplace_back(Arg(aKey), Arg(aValue));
    }
    void clearParams() override {
        Log("clearParams");
        core_.Params.clear();
    }
    const char* getType() override {
        Log("getType");
        return core_.Type.c_str();
    }

    void Init() override { Log("Init"); }
    void ShowParented(QWidget* parent) override {
        Log("ShowParented");
        delete panel_.data();
        panel_ = MakePanel(parent);
        if (panel_) panel_->show();
    }
    void BeforeStep() override { Log("BeforeStep"); }

protected:
    static void Log(std::string_view call, std::initializer_list<std::string_view> args = {}) {
        TSampleCore::Log(call, args);
    }
    static std::string_view Arg(const char* text) { return text ? text : ""; }
    TSampleCore& Core() { return core_; }
    QWidget* Panel() const { return panel_.data(); }

    virtual bool Test() { return true; }
    // The settings panel inside `parent`, or nil for a sample without one.
    virtual QWidget* MakePanel(QWidget* parent) { return nullptr; }
    // Copies what the operator entered in the panel into the settings.
    virtual void TakePanelValues() {}

private:
    TSampleCore core_;
    QPointer<QWidget> panel_;
};

}  // namespace tv::samples
