#pragma once
// A temporary settings root whose "plugins" folder holds copies of the built plug-in modules, and the
// call logs the sample plug-ins write beside their modules.

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/temp_dir.h"

namespace tv::test {

class PluginRoot {
public:
    // Copies the modules (names without ".so") into "<root>/plugins/<subfolder>".
    void Install(std::initializer_list<std::string_view> names, std::string_view subfolder = {}) {
        const std::string folder = Folder(subfolder);
        std::filesystem::create_directories(folder);
        for (std::string_view name : names) {
            const std::string file = std::string(name) + ".so";
            const std::string built = std::string(name).starts_with("plugin_test_")
                                          ? std::string(TV_TEST_PLUGINS_DIR)
                                          : std::string(TV_SAMPLE_PLUGINS_DIR);
            std::filesystem::copy_file(built + "/" + file, folder + "/" + file,
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }
    std::string Folder(std::string_view subfolder = {}) const {
        return subfolder.empty() ? dir.Path("plugins") : dir.Path("plugins/" + std::string(subfolder));
    }
    std::string Module(std::string_view name, std::string_view subfolder = {}) const {
        return Folder(subfolder) + "/" + std::string(name) + ".so";
    }
    // The calls a sample module logged, one line each, the arguments after tabs.
    std::vector<std::string> Calls(std::string_view name, std::string_view subfolder = {}) const {
        std::vector<std::string> lines;
        const std::string path = Folder(subfolder) + "/" + std::string(name) + ".calls.log";
        if (!std::filesystem::exists(path)) return lines;
        std::istringstream in(dir.Read(path));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    TempDir dir;
};

}  // namespace tv::test
