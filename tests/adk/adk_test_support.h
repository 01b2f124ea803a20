#pragma once
// What the kit-access tests share: copies of a built kit patched to claim another version, access
// to a test kit's controls, and the message of the exception a call raises.

#include <dlfcn.h>

#include <filesystem>
#include <stdexcept>
#include <string>

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
