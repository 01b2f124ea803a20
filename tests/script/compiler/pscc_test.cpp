#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

extern char** environ;

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
};

// Runs a tool built beside the tests with `args`, without a shell, and collects its standard output.
ToolRun Tool(const std::string& name, const std::vector<std::string>& args) {
    std::string exe = std::string(TV_BINARY_DIR) + "/tools/" + name + "/" + name;
    std::vector<char*> argv{exe.data()};
    std::vector<std::string> copies = args;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    int fds[2];
    if (pipe(fds) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    pid_t pid = 0;
    ToolRun r;
    if (posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), environ) != 0) return r;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    char buf[4096];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) r.out.append(buf, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

ToolRun Pscc(const std::vector<std::string>& args) {
    return Tool("pscc", args);
}

std::string WriteScript(const std::string& name, const std::string& text) {
    auto dir = std::filesystem::temp_directory_path() / ("tv_pscc_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::string path = (dir / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

TEST(Pscc, PrintsEveryMessageAndFailsWithStatusOne) {
    std::string path = WriteScript("bad.pas", "var x: Integer;\nbegin\n  x := 1\nend");
    ToolRun r = Pscc({path});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "[Error] (4:4): period ('.') expected\n");
}

TEST(Pscc, PlacesAnUnclosedCommentAtItsStart) {
    std::string path = WriteScript("comment.pas", "begin\n  { never closed\nend.\n");
    ToolRun r = Pscc({path});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "[Error] (2:3): Comment error\n");
}

TEST(Pscc, ListsAndVerifiesAGoodScript) {
    std::string hosts = std::string(TV_FIXTURES_DIR) + "/script/hosts/";
    std::string path =
        WriteScript("good.pas", "var n: Integer;\nbegin\n  n := 1;\n  SetCancelling(n = 1);\nend.");
    ToolRun r = Pscc({"--host", hosts + "dateutils.decl", "--host", hosts + "std.decl", "--host",
                      hosts + "classes.decl", "--host", hosts + "job_api.decl", "--list", "--verify", path});
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("proc 0: !MAIN -1\n0: ASSIGN G2, #11:1\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("host SETCANCELLING"), std::string::npos) << r.out;
    EXPECT_EQ(Pscc({}).status, 2);
    EXPECT_EQ(Pscc({"/nonexistent/script.pas"}).status, 2);
}

TEST(Pscc, CompilesWhatPsrunRuns) {
    // psrun's Print and the import units, from the declarations pscc reads when given no host.
    std::string path = WriteScript("hello.pas",
                                   "var L: TStringList;\nbegin\n  L := TStringList.Create;\n  L.Add('hej');\n"
                                   "  Print(L[0] + ' ' + DateToStr(EncodeDate(2024, 1, 2)));\n  L.Free;\nend.\n");
    ToolRun compiled = Pscc({path});
    EXPECT_EQ(compiled.status, 0) << compiled.out;
    EXPECT_EQ(compiled.out, "");
    ToolRun ran = Tool("psrun", {path});
    EXPECT_EQ(ran.status, 0);
    EXPECT_EQ(ran.out.substr(0, 4), "hej ");
    // Given hosts of its own, pscc reads psrun's only when asked.
    std::string hosts = std::string(TV_FIXTURES_DIR) + "/script/hosts/";
    std::string print = WriteScript("print.pas", "begin Print('x'); end.");
    EXPECT_EQ(Pscc({"--host", hosts + "job_api.decl", print}).status, 1);
    EXPECT_EQ(Pscc({"--host", hosts + "job_api.decl", "--psrun", print}).status, 0);
}

TEST(Tools, PrintTheirUsageWhenAskedForHelp) {
    for (const char* tool : {"pscc", "psrun"}) {
        ToolRun r = Tool(tool, {"--help"});
        EXPECT_EQ(r.status, 0) << tool;
        EXPECT_EQ(r.out.rfind(std::string("usage: ") + tool, 0), 0u) << r.out;
        EXPECT_NE(r.out.find("Exit status"), std::string::npos) << r.out;
    }
    EXPECT_EQ(Tool("psrun", {"--verbose"}).status, 2) << "an unknown switch is no file name";
}

}  // namespace
