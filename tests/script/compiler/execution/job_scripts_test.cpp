// Job scripts of the kind an operator writes, compiled and run against a stand-in of the job API
// that writes each call it receives; every script prints what its hand-written .out file holds.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "platform/rtl/exception.h"
#include "platform/rtl/text_file.h"
#include "script/runtime/binding.h"
#include "tools/psrun/runner/script_runner.h"

namespace tv::script {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p) {
    return ReadFileBytes(p.string());
}

// The job API's declarations of the routines the stand-in offers, as the host declares them.
std::vector<std::string> JobApiDeclarations(const std::set<std::string>& names) {
    std::vector<std::string> found;
    std::istringstream lines(ReadFile(fs::path(TV_FIXTURES_DIR) / "script" / "hosts" / "job_api.decl"));
    for (std::string line; std::getline(lines, line);) {
        const size_t start = line.find(' ');
        const size_t end = line.find_first_of("(;: ", start + 1);
        if (start != std::string::npos && end != std::string::npos &&
            names.count(line.substr(start + 1, end - start - 1)))
            found.push_back(line);
    }
    EXPECT_EQ(found.size(), names.size());
    return found;
}

// The stand-in: each call is written as a line; LoadXML refuses a file named "trasig...",
// ImportCustomers raises for a file named "undantag...", SetCancelling and GetCancelling keep a flag.
struct JobApi {
    std::ostream& out;
    std::string current;
    bool cancelling = false;

    void Register(TPSExec& exec) {
        RegisterNativeCallable(exec, "InitiateImport", [this] { out << "InitiateImport\n"; });
        RegisterNativeCallable(exec, "FinalizeImport", [this] { out << "FinalizeImport\n"; });
        RegisterNativeCallable(exec, "LoadXML", [this](const std::string& f) {
            out << "LoadXML(" << f << ")\n";
            current = f;
            return f.rfind("trasig", 0) != 0;
        });
        RegisterNativeCallable(exec, "CheckCustomers", [this] {
            out << "CheckCustomers\n";
            return true;
        });
        RegisterNativeCallable(exec, "ImportCustomers", [this]() -> bool {
            out << "ImportCustomers\n";
            if (current.rfind("undantag", 0) == 0) throw Exception("Kunden saknar nummer");
            return true;
        });
        RegisterNativeCallable(
            exec, "ArchiveCompleteFile",
            [this](const std::string& f, const std::string& sub, int32_t flag, bool overwrite) {
                out << "ArchiveCompleteFile(" << f << "," << sub << "," << flag << ","
                    << (overwrite ? "True" : "False") << ")\n";
            });
        RegisterNativeCallable(exec, "ArchiveFailedFile",
                               [this](const std::string& f, const std::string& sub, int32_t flag) {
                                   out << "ArchiveFailedFile(" << f << "," << sub << "," << flag << ")\n";
                               });
        RegisterNativeCallable(exec, "GFXSetFileName",
                               [this](const std::string& f) { out << "GFXSetFileName(" << f << ")\n"; });
        RegisterNativeCallable(exec, "GFXCloseSection", [this] { out << "GFXCloseSection\n"; });
        RegisterNativeCallable(exec, "AddImportedItem",
                               [this](const std::string& s) { out << "AddImportedItem(" << s << ")\n"; });
        RegisterNativeCallable(exec, "GetCancelling", [this] { return cancelling; });
        RegisterNativeCallable(exec, "SetCancelling", [this](bool b) {
            out << "SetCancelling(" << (b ? "True" : "False") << ")\n";
            cancelling = b;
        });
    }
};

TEST(JobScripts, RunAndPrintWhatTheirFilesExpect) {
    const std::vector<std::string> declarations =
        JobApiDeclarations({"InitiateImport", "FinalizeImport", "LoadXML", "CheckCustomers",
                            "ImportCustomers", "ArchiveCompleteFile", "ArchiveFailedFile", "GFXSetFileName",
                            "GFXCloseSection", "AddImportedItem", "GetCancelling", "SetCancelling"});
    int count = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(TV_SOURCE_DIR) / "tests" / "script" /
                                                    "compiler" / "execution" / "jobs")) {
        if (entry.path().extension() != ".pas") continue;
        ++count;
        const std::string name = entry.path().filename().string();
        std::ostringstream out;
        JobApi api{out};
        const TScriptRun run = RunScriptText(
            ReadFile(entry.path()), out, [&api](TPSExec& exec) { api.Register(exec); }, declarations);
        EXPECT_TRUE(run.Compiled) << name << ": " << (run.Messages.empty() ? "" : run.Messages.front());
        for (const std::string& m : run.Messages)
            EXPECT_EQ(m.find("[Error]"), std::string::npos) << name << m;
        EXPECT_TRUE(run.Ran) << name << ": " << run.Error;
        fs::path expected = entry.path();
        EXPECT_EQ(out.str(), ReadFile(expected.replace_extension(".out"))) << name;
    }
    EXPECT_GE(count, 5);
}

}  // namespace
}  // namespace tv::script
