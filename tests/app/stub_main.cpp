// The program with a script host that stands in for the script engine in tests: it reads the job
// script as lines of a small language and does what they say through the job API.
//   compile-error <message>      the script does not compile (one message per line)
//   fail <error text>            execution stops with that error
//   raise <message>              a job-API call raises
//   InitiateImport | FinalizeImport | GFXCloseSection
//   GFXSetFileName <name>
//   report <level> <text>        a line in the event tree
//   AddRuleParam <key> <value> | RunRule <name>   the plug-in host's rule parameters and runs

#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "automation/data_modules.h"
#include "core/forms/entry_routine.h"
#include "core/forms/main_form.h"
#include "core/main_dm.h"
#include "platform/rtl/exception.h"

namespace {

class TLineScriptHost : public tv::IScriptHost {
public:
    void LoadScript(const std::string& fileName) override {
        std::ifstream in(fileName);
        if (!in) throw tv::EInOutError("Cannot open file \"" + fileName + "\"");
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.rfind("compile-error ", 0) == 0)
                messages_.push_back(line.substr(14));
            else if (!line.empty())
                lines_.push_back(line);
        }
    }
    bool Compile() override { return messages_.empty(); }
    std::vector<std::string> CompilerMessages() const override { return messages_; }
    bool Execute() override {
        if (!messages_.empty()) {
            error_ = "Exception: Cannot run a script that did not compile";
            return false;
        }
        tv::TMainForm& form = *tv::MainForm();
        for (const std::string& line : lines_) {
            std::string word = line.substr(0, line.find(' '));
            std::string rest = line.size() > word.size() ? line.substr(word.size() + 1) : "";
            try {
                if (word == "fail") {
                    error_ = rest;
                    return false;
                } else if (word == "raise") {
                    throw tv::Exception(rest);
                } else if (word == "InitiateImport") {
                    form.InitiateImport();
                } else if (word == "FinalizeImport") {
                    form.FinalizeImport();
                } else if (word == "GFXSetFileName") {
                    form.GFXSetFileName(rest);
                } else if (word == "GFXCloseSection") {
                    form.GFXCloseSection();
                } else if (word == "AddRuleParam") {
                    const size_t blank = rest.find(' ');
                    tv::DMPlugins().AddRuleParam(rest.substr(0, blank),
                                                 blank == std::string::npos ? "" : rest.substr(blank + 1));
                } else if (word == "RunRule") {
                    tv::DMPlugins().RunRule(rest);
                } else if (word == "report") {
                    tv::MainDM().Events().reportError(rest.substr(rest.find(' ') + 1), std::stoi(rest));
                }
            } catch (const std::exception& e) {
                // An error a job-API call raises ends the script, as the engine does.
                error_ = std::string("Exception: ") + e.what();
                return false;
            }
        }
        return true;
    }
    std::string ExecErrorToString() const override { return error_; }
    void ShowModal() override {}

private:
    std::vector<std::string> messages_;
    std::vector<std::string> lines_;
    std::string error_;
};

}  // namespace

int main(int argc, char** argv) {
    tv::MainFormServices().ScriptHosts = [] { return std::make_unique<TLineScriptHost>(); };
    tv::MainFormServices().CreateDataModules = tv::CreateDataModules;
    return tv::RunEntryRoutine(std::vector<std::string>(argv + 1, argv + argc));
}
