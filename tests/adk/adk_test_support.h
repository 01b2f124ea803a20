#pragma once
// What the kit-access tests share: copies of a built kit patched to claim another version, access
// to a test kit's controls, and the message of the exception a call raises.

#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "adk/adk_binding.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/version_info.h"
#include "tests/support/temp_dir.h"

namespace tv::test {

// Copies the kit file into its own folder below `dir`, patched to `version`; returns the folder.
inline std::string KitCopy(const TempDir& dir, const std::string& kitFile, const std::string& version,
                           const std::string& name) {
    std::string folder = dir.MakeFolder(name);
    std::string target = folder + "/" + std::string(kAdkFileName);
    std::filesystem::copy_file(kitFile, target, std::filesystem::copy_options::overwrite_existing);
    PatchFileVersion(target, version);
    return folder;
}

// A function of the kit loaded from `folder`, looked up beside the binder's own handle.
template <typename Fn>
Fn LoadedKitFunction(const std::string& folder, const char* name) {
    std::string path = folder + "/" + std::string(kAdkFileName);
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!module) throw std::runtime_error("kit not loaded: " + path);
    void* address = dlsym(module, name);
    dlclose(module);  // the binder keeps its own reference
    if (!address) throw std::runtime_error(std::string("no ") + name);
    return reinterpret_cast<Fn>(address);
}

// Runs a program with `args`; its output goes to the file `log`. Returns its exit status.
inline int RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::string& log) {
    std::vector<std::string> all = {program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = 0;
    int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#ifdef TV_ADKCTL
inline int RunAdkctl(const std::vector<std::string>& args, const std::string& log) {
    return RunProgram(TV_ADKCTL, args, log);
}

// A new company in `folder` (adkctl create), seeded with the SQL statements given, if any.
inline void MakeCompany(const TempDir& dir, const std::string& folder, const std::string& seedSql = "") {
    const std::string log = dir.Path("adkctl.log");
    if (RunAdkctl({"create", folder}, log) != 0)
        throw std::runtime_error("adkctl create: " + dir.Read("adkctl.log"));
    if (seedSql.empty()) return;
    const std::string fixture = dir.Write("seed.sql", seedSql);
    if (RunAdkctl({"seed", folder, fixture}, log) != 0)
        throw std::runtime_error("adkctl seed: " + dir.Read("adkctl.log"));
}

#endif

// The folder of a built file.
inline std::string FolderOf(const std::string& file) {
    return std::filesystem::path(file).parent_path().string();
}

// The message of the exception of class E that `call` raises, or "<no error>".
template <class E = Exception, class Call>
std::string MessageOf(Call&& call) {
    try {
        call();
    } catch (const E& e) {
        return e.Message;
    }
    return "<no error>";
}

}  // namespace tv::test
