#pragma once
// Fakes of the central data module, the main window and the script host for the job commands.

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/job_runner.h"

namespace tv::test {

// Records every call as a line; `failAt` names the call that raises.
struct FakeJobDataModule : IJobDataModule {
    std::string scriptFolder;
    bool tid = false;
    std::string failAt;
    std::vector<std::string> calls;
    std::unique_ptr<TXmlCommandHelper> lastCommand;

    void Call(const std::string& name) {
        calls.push_back(name);
        if (name == failAt) throw std::runtime_error(name + " misslyckades");
    }
    std::string getScriptFolder() override { return scriptFolder; }
    void SetLastCommand(std::unique_ptr<TXmlCommandHelper> command) override {
        lastCommand = std::move(command);
    }
    bool TidActivated() override { return tid; }
    void connectSPCS() override { Call("connectSPCS"); }
    void openADK() override { Call("openADK"); }
    void connectODBC() override { Call("connectODBC"); }
    void connectVismaTid(bool ignoreDatabase) override {
        Call(ignoreDatabase ? "connectVismaTid(ignore)" : "connectVismaTid");
    }
    void closeADK() override { Call("closeADK"); }
    void disconnectODBC() override { Call("disconnectODBC"); }
    void disconnectSPCSSRC() override { Call("disconnectSPCSSRC"); }
    void MakeWritesDurable() override { Call("MakeWritesDurable"); }
};

struct FakeJobWindow : IJobWindow {
    bool interactive = false;
    std::vector<std::string> calls;
    bool Interactive() const override { return interactive; }
    void CollapseScriptList() override { calls.push_back("collapse"); }
    void ShowEventWindow() override { calls.push_back("show events"); }
    void HideEventWindow() override { calls.push_back("hide events"); }
    void CloseAndTerminate() override { calls.push_back("terminate"); }
};

// How the fake host behaves, and what it saw.
struct FakeScript {
    bool loadFails = false;
    bool compiles = true;
    std::vector<std::string> messages;
    bool executes = true;
    std::string execError = "Exception: Runtime error";
    std::function<void()> duringExecute;

    std::vector<std::string> calls;
    int hostsAlive = 0;
};

class FakeScriptHost : public IScriptHost {
public:
    explicit FakeScriptHost(FakeScript& s) : s_(s) { ++s_.hostsAlive; }
    ~FakeScriptHost() override { --s_.hostsAlive; }
    void LoadScript(const std::string& fileName) override {
        s_.calls.push_back("load " + fileName);
        if (s_.loadFails) throw std::runtime_error("Cannot open file \"" + fileName + "\"");
    }
    bool Compile() override {
        s_.calls.push_back("compile");
        compiled_ = s_.compiles;
        return compiled_;
    }
    std::vector<std::string> CompilerMessages() const override { return s_.messages; }
    bool Execute() override {
        s_.calls.push_back("execute");
        if (!compiled_) return false;
        if (s_.duringExecute) s_.duringExecute();
        return s_.executes;
    }
    std::string ExecErrorToString() const override { return s_.execError; }
    void ShowModal() override { s_.calls.push_back("editor"); }

private:
    FakeScript& s_;
    bool compiled_ = false;
};

// Answers as told and records what it was asked.
struct FakeDialogs : IDialogService {
    bool yes = false;
    std::optional<std::string> file;
    std::vector<std::string> shown;
    TMsgAnswer MessageBox(const TMessageBoxRequest& r) override {
        shown.push_back(r.Text);
        return TMsgAnswer::Ok;
    }
    bool AskYesNo(std::string_view text, std::string_view, bool) override {
        shown.push_back("? " + std::string(text));
        return yes;
    }
    void ShowInformation(std::string_view text, std::string_view) override {
        shown.push_back(std::string(text));
    }
    std::optional<std::string> OpenFile(const TOpenFileRequest&) override {
        shown.push_back("open dialog");
        return file;
    }
    std::optional<std::string> SaveFile(const TOpenFileRequest&) override { return std::nullopt; }
    std::optional<std::string> BrowseFolder(std::string_view, std::string_view) override {
        return std::nullopt;
    }
};

}  // namespace tv::test
