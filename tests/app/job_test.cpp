// The program with its own script host: command-line jobs whose scripts the script engine
// compiles and runs against the job API, and how their failures end the program.

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "platform/rtl/trim.h"
#include "tests/app/program_fixture.h"
#include "tests/automation/job_api/job_api_doubles.h"

namespace tv {
namespace {

// The name of the first job-API row still waiting for its operation (the program's rows and the
// doubles' are the one table); empty once every operation is there.
std::string WaitingOperation() {
    for (const TJobApiRow& row : TJobApiRows<test::TDoubleClasses>::kRows) {
        if (row.Bind) continue;
        const std::string declaration = Trim(row.Declaration);
        const size_t start = declaration.find(' ') + 1;
        return declaration.substr(start, declaration.find('(') - start);
    }
    return "";
}

class JobTest : public test::ProgramFixture {
protected:
    JobTest() : ProgramFixture(TV_TOLLVANE) {}
    // A job script outside the script folder, as "/runscript" may name one.
    std::string Script(const std::string& name, const std::string& text) {
        return dir.Write("jobs/" + name, text);
    }
};

TEST_F(JobTest, ARunscriptJobReadsTheSelectionOfItsCommandLine) {
    const std::string out = dir.Path("selection.txt");
    const std::string script =
        Script("smart.pas",
               "var l, r: TStringList;\n"
               "begin\n"
               "  r := TStringList.Create;\n"
               "  l := getCommandLineSelection(12); r.Add('12: ' + l.CommaText); l.Free;\n"
               "  l := getCommandLineSelection(-1); r.Add('-1: ' + l.CommaText); l.Free;\n"
               "  l := getCommandLineSelection(3); r.Add('3: ' + l.CommaText); l.Free;\n"
               "  r.SaveToFile('" +
                   out +
                   "');\n"
                   "  r.Free;\n"
                   "end.\n");
    EXPECT_EQ(Run({"/ftg", "/srv/ftg", "/register", "12", "/id", "K-1001", "/runscript", script}), 0)
        << Log();
    EXPECT_EQ(dir.Read(out), "12: K-1001\r\n-1: K-1001\r\n3: \r\n");
}

struct FailingJob {
    std::string rule;
    std::string script;
    std::vector<std::string> logged;
};

TEST_F(JobTest, AJobThatFailsEndsTheProgramWithStatus1AndLogsWhy) {
    std::vector<FailingJob> jobs = {
        {"a script that does not compile: its messages, then that nothing ran",
         "begin\n  Foo;\nend.\n",
         {"ERROR [Error] (2:3): Unknown identifier 'Foo'", "ERROR Script is not compiled"}},
        {"an operation's error that the script does not catch",
         "begin\n  RunProgram('/no/such/program', '', '');\nend.\n",
         {"ERROR Exception: Fel när extern applikation skulle köras: "}},
        {"a rule run of the plug-in host for a rule that is not there",
         "begin\n  RunRule('saknas');\nend.\n",
         {"ERROR Exception: Kunde inte hitta efterfrågad regel 'saknas'"}},
    };
    if (const std::string waiting = WaitingOperation(); !waiting.empty()) {
        std::string upper = waiting;
        for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        jobs.push_back({"a call of an operation that is not there yet",
                        "begin\n  " + waiting + "();\nend.\n",
                        {"ERROR Cannot Import " + upper}});
    }
    for (const FailingJob& job : jobs) {
        std::filesystem::remove_all(Root("logs"));
        EXPECT_EQ(Run({"/runscript", Script("failing.pas", job.script)}), 1) << job.rule;
        const std::string log = Log();
        for (const std::string& line : job.logged)
            EXPECT_NE(log.find(line), std::string::npos) << job.rule << ": " << line << "\n" << log;
        EXPECT_EQ(log.find("No Error"), std::string::npos) << job.rule << "\n" << log;
    }
}

}  // namespace
}  // namespace tv
